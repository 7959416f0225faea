// The chart element and series base: repaints only on real changes, the Active event of series, parents
// that are not charts, copying, and the default style kept through the style-string hooks.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {
class TEventCounter : public IChartEventListener {
public:
    void HandleChartEvent(TLumEvent& Event) override
    {
        if (dynamic_cast<TLumSeriesEvent*>(&Event)) ++Count;
    }
    int Count = 0;
};
} // namespace

TEST(ChartElement, RepaintsOnlyOnChangesAndSeriesAlwaysTellTheirSwitch)
{
    TTestChart chart;
    TTestSeries s;
    s.SetParentChart(&chart);
    TEventCounter events;
    ListAddOnce(chart.Listeners(), &events);
    const int repaints = chart.Invalidations;
    s.SetActive(true);                            // unchanged: no repaint, but the series event
    EXPECT_EQ(chart.Invalidations, repaints);
    EXPECT_EQ(events.Count, 1);
    s.SetActive(false);
    EXPECT_EQ(chart.Invalidations, repaints + 1);
    s.Pen().SetColor(clRed);
    s.Brush().SetColor(clBlue);
    EXPECT_EQ(chart.Invalidations, repaints + 3);

    TTestSeries alone;                            // no chart: nothing to repaint, nothing raised
    alone.Pen().SetWidth(3);
    alone.SetTitle("x");
    alone.SetParentComponent(&alone);             // not a chart: ignored
    EXPECT_EQ(alone.ParentChart(), nullptr);
    alone.SetParentComponent(&chart);
    EXPECT_EQ(alone.ParentChart(), &chart);
    EXPECT_EQ(alone.GetParentComponent(), &chart);
}

TEST(ChartElement, AssignCopiesTheSeriesBaseSettings)
{
    TTestSeries source, target;
    source.SetActive(false);
    source.Pen().SetWidth(4);
    source.SetTitle("Observed");
    source.SetIdentifier("obs");
    source.SetEditorFlags(0x21);
    source.SetShowInLegend(false);
    source.SetTag(7);
    target.TCustomChartSeries::Assign(source);
    EXPECT_FALSE(target.Active());
    EXPECT_EQ(target.Pen().Width(), 4);
    EXPECT_EQ(target.Title(), "Observed");
    EXPECT_EQ(target.Identifier(), "obs");
    EXPECT_EQ(target.EditorFlags(), 0x21);
    EXPECT_FALSE(target.ShowInLegend());
    EXPECT_EQ(target.Tag(), 7);
    EXPECT_TRUE(target.ClassesRelated(source));
}

TEST(ChartElement, DefaultStylesGoThroughTheCodecHooks)
{
    TTestChart chart;
    TTestSeries s;
    s.StoreDefaultStyle();
    EXPECT_EQ(s.DefaultStyle(), "");              // no codec installed
    s.RestoreDefaultStyle();

    std::string applied;
    LumEngineModule().Style.WriteSeriesStyle = [](TChartSeries& series) { return "style of " + series.Title(); };
    LumEngineModule().Style.ReadSeriesStyle = [&](TChartSeries&, const std::string& text) {
        applied = text;
        return true;
    };
    LumEngineModule().Style.WriteAxisStyle = [](TChartAxis&) { return std::string("axis style"); };
    s.SetTitle("T");
    s.StoreDefaultStyle();
    s.RestoreDefaultStyle();
    EXPECT_EQ(applied, "style of T");
    chart.LeftAxis().StoreDefaultStyle();
    EXPECT_EQ(chart.LeftAxis().DefaultStyle, "axis style");
    ResetLumEngineModule();
}
