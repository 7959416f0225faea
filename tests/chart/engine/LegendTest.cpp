// What a series gives the legend: entry texts of every style as a table, and the symbol drawn with the
// series' pen and brush (or the legend's pen), a style a series kind chooses, and the repaint switch
// left as it was found.
#include "EngineKit.h"

#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/DateUtils.h"

#include <gtest/gtest.h>

namespace {

// A series kind that draws its legend symbol hatched and asks for a back colour.
class THatchedSeries : public TPointerSeries {
public:
    void LegendSymbolStyle(int, TColor& Back, TBrushStyle& Style) override
    {
        Back = Back == clDefault ? clDefault : clYellow;
        Style = bsDiagCross;
    }
};

} // namespace

TEST(SeriesLegend, TextOfEveryStyle)
{
    struct Case {
        TLegendTextStyle Style;
        int Index;
        std::string Text;
    };
    // Values 25, 50, -25 (absolute total 100); point 0 is labelled "A"; x = 10, 20, 30.
    const Case cases[] = {
        {ltsPlain, 0, "A"},
        {ltsPlain, 1, ""},
        {ltsLeftValue, 0, "25\x06" "A"},
        {ltsLeftValue, 1, "50"},
        {ltsRightValue, 0, "A\x06" "25"},
        {ltsRightValue, 1, "50"},
        {ltsLeftPercent, 0, "25 %\x06" "A"},
        {ltsRightPercent, 0, "A\x06" "25 %"},
        {ltsRightPercent, 1, "50 %"},
        {ltsPercent, 2, "-25 %"},
        {ltsXValue, 2, "30"},
        {ltsValue, 2, "-25"},
        {ltsXAndValue, 1, "20\x06" "50"},
        {ltsXAndPercent, 1, "20\x06" "50 %"},
    };
    TSeriesChart chart;
    TPointerSeries& s = chart.Add({25, 50, -25}, {10, 20, 30});
    s.SetPointLabel(0, "A");
    chart.Chart.BottomAxis().ComputeAutoRange();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(LegendTextStyleNames.NameOf(c.Style)) + " " + std::to_string(c.Index));
        EXPECT_EQ(s.LegendTextOf(c.Index, c.Style), c.Text);
    }
    EXPECT_EQ(s.LegendEntryCount(), 3);
    EXPECT_EQ(s.LegendColorOf(1), s.PointColor(1));

    // Date-time values are shown in the format their size calls for; an all-zero total gives 100 %.
    TPointerSeries& d = chart.Add({0});
    d.YValues().SetDateTime(true);
    d.ChangeYValueAt(0, 3.5);
    EXPECT_EQ(d.LegendTextOf(0, ltsValue), FormatDateTime(DateTimeFormatForStep(3.5), 3.5));
    d.ChangeYValueAt(0, 0);
    d.YValues().RecalcStats();
    EXPECT_EQ(d.LegendTextOf(0, ltsPercent), "100 %");
}

TEST(SeriesLegend, SymbolInTheSeriesPenAndBrush)
{
    TRecordedChart c;
    TPointerSeries s;
    s.SetParentChart(&c.Chart);
    s.SetSeriesColor(clRed);
    s.Pen().SetColor(clBlue);
    c.Chart.SetAutoRepaint(true);
    c.Recorder->Clear();
    s.PaintLegendSymbol(-1, {10, 10, 30, 20});
    ASSERT_EQ(c.Recorder->OfKind("Rectangle").size(), 1u);
    const auto& r = *c.Recorder->OfKind("Rectangle")[0];
    EXPECT_EQ(r.Args, (std::vector<int>{10, 10, 30, 20}));
    EXPECT_EQ(r.Shape.Brush.Color, clRed);
    EXPECT_EQ(r.Shape.Pen.Color, clBlue);
    EXPECT_TRUE(c.Chart.AutoRepaint());

    // The legend's symbol pen replaces the series pen; a point's colour is its own.
    TChartPen legendPen;
    legendPen.SetColor(clLime);
    c.Chart.SetLegendSymbolPen(&legendPen);
    c.Recorder->Clear();
    s.InsertPoint(0, 1);
    s.StorePointColor(0, clFuchsia);
    s.PaintLegendSymbol(0, {0, 0, 5, 5});
    EXPECT_EQ(c.Recorder->OfKind("Rectangle").back()->Shape.Pen.Color, clLime);
    EXPECT_EQ(c.Recorder->OfKind("Rectangle").back()->Shape.Brush.Color, clFuchsia);
    c.Chart.SetLegendSymbolPen(nullptr);

    // Null points and series coloured point by point draw no symbol of their own.
    s.StorePointColor(0, clNone);
    s.SetColorEachPoint(true);
    c.Recorder->Clear();
    s.PaintLegendSymbol(0, {0, 0, 5, 5});
    s.PaintLegendSymbol(-1, {0, 0, 5, 5});
    EXPECT_TRUE(c.Recorder->Records.empty());
    s.SetParentChart(nullptr);
}

TEST(SeriesLegend, SeriesKindChoosesTheSymbolStyleForTheSymbolOnly)
{
    TRecordedChart c;
    THatchedSeries s;
    s.SetParentChart(&c.Chart);
    s.SetSeriesColor(clRed);
    c.Chart.SetLegendBackColor(clWhite);
    c.Recorder->Clear();
    s.PaintLegendSymbol(-1, {10, 10, 30, 20});
    ASSERT_FALSE(c.Recorder->OfKind("Rectangle").empty());
    const auto& r = *c.Recorder->OfKind("Rectangle")[0];
    EXPECT_EQ(r.Shape.Brush.Kind, TDeviceBrush::TKind::Hatch);
    EXPECT_EQ(r.Shape.Brush.Hatch, bsDiagCross);
    EXPECT_EQ(s.Brush().Style(), bsSolid); // the series brush has its own style back
    s.SetParentChart(nullptr);
}

TEST(SeriesLegend, GalleryIconOfTheSeriesClass)
{
    RegisterBitmapResource("TTestSeries", [](TBitmap& b) {
        b.SetSize(2, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) b.SetPixelRGB(x, y, clLime);
    });
    TBitmap target(10, 10);
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect({0, 0, 10, 10});
    TPointerSeries s; // a TTestSeries kind without an icon of its own
    DrawSeriesIcon(target.Canvas(), s, 4, 5);
    EXPECT_EQ(target.PixelRGB(4, 5), clLime);
    EXPECT_EQ(target.PixelRGB(5, 6), clLime);
    EXPECT_EQ(target.PixelRGB(6, 5), clWhite);
    UnregisterBitmapResource("TTestSeries");
    TChartSeries bare(nullptr); // no icon anywhere: nothing drawn, nothing raised
    DrawSeriesIcon(target.Canvas(), bare, 0, 0);
    EXPECT_EQ(target.PixelRGB(0, 0), clWhite);
}

TEST(SeriesLegend, EditorListsShowCaptionsOrNames)
{
    TTestChart chart;
    TPointerSeries a, b, hidden;
    a.SetName("A1");
    a.SetTitle("Left\x06part");
    b.SetName("B1");
    hidden.SetShowInEditor(false);
    for (TChartSeries* s : {static_cast<TChartSeries*>(&a), static_cast<TChartSeries*>(&b),
                            static_cast<TChartSeries*>(&hidden)})
        s->SetParentChart(&chart);
    const auto captions = ListSeriesInStrings(chart.SeriesList(), true);
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0].Text, "Left part");
    EXPECT_EQ(captions[0].Series, &a);
    EXPECT_EQ(captions[1].Text, "B1");
    const auto names = ListSeriesInStrings(chart.SeriesList(), false);
    EXPECT_EQ(names[0].Text, "A1");
    for (TChartSeries* s : {static_cast<TChartSeries*>(&a), static_cast<TChartSeries*>(&b),
                            static_cast<TChartSeries*>(&hidden)})
        s->SetParentChart(nullptr);
}
