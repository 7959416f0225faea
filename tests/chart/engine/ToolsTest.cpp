// The tool base classes and the chart's tool list: joining and moving between charts, drawing stages for
// Active tools only, series and axis bindings that let go of freed series and axes, and tools freed with
// their chart.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class TWatchedTool : public TLumCustomTool {
public:
    explicit TWatchedTool(std::vector<int>* log = nullptr, bool* freed = nullptr)
        : TLumCustomTool(nullptr), FLog(log), FFreed(freed) {}
    ~TWatchedTool() override
    {
        if (FFreed) *FFreed = true;
    }
    void NotifyChartStage(int Stage) override
    {
        if (FLog) FLog->push_back(Stage);
    }

private:
    std::vector<int>* FLog;
    bool* FFreed;
};
} // namespace

TEST(Tools, JoiningMovingAndStages)
{
    TTestChart first, second;
    std::vector<int> stages;
    TWatchedTool tool(&stages);
    first.Tools().AddTool(&tool);
    EXPECT_EQ(first.Tools().Count(), 1);
    EXPECT_EQ(tool.ParentChart(), &first);

    const int before = first.Invalidations;
    tool.SetParentChart(&second);                 // moved: not repainted
    EXPECT_EQ(first.Tools().Count(), 0);
    EXPECT_EQ(second.Tools().GetTool(0), &tool);
    EXPECT_EQ(first.Invalidations, before);
    tool.SetParentChart(nullptr);                 // left alone: the old chart repaints
    EXPECT_GT(second.Invalidations, 0);
    EXPECT_EQ(second.Tools().Count(), 0);

    second.Tools().AddTool(&tool);
    second.NotifyToolsStage(2);
    tool.SetActive(false);
    second.NotifyToolsStage(3);
    EXPECT_EQ(stages, std::vector<int>{2});
    EXPECT_EQ(second.Tools().Count(), 1);         // inactive, still listed
    EXPECT_THROW(second.Tools().GetTool(1), ERangeError);
}

TEST(Tools, SeriesAndAxisBindingsLetGo)
{
    TTestChart chart;
    TLumCustomToolSeries seriesTool(nullptr);
    TLumCustomToolAxis axisTool(nullptr);
    seriesTool.SetParentChart(&chart);
    EXPECT_EQ(seriesTool.EditorFormName(), "TSeriesToolEditor");
    EXPECT_EQ(axisTool.EditorFormName(), "TAxisToolEditor");
    {
        TTestSeries s;
        s.SetParentChart(&chart);
        s.SetHorizAxis(aTopAxis);
        seriesTool.SetSeries(&s);
        EXPECT_EQ(seriesTool.GetHorizAxis(), &chart.TopAxis());
    }
    EXPECT_EQ(seriesTool.Series(), nullptr);
    EXPECT_EQ(seriesTool.GetHorizAxis(), &chart.BottomAxis());   // no series on either: the bottom axis

    TTestSeries onTop;
    onTop.SetParentChart(&chart);
    onTop.SetHorizAxis(aTopAxis);
    onTop.SetVertAxis(aRightAxis);
    EXPECT_EQ(seriesTool.GetHorizAxis(), &chart.TopAxis());      // only the top axis has series
    EXPECT_EQ(seriesTool.GetVertAxis(), &chart.RightAxis());

    TChartAxis& custom = TChartAxis::CreateForChart(chart);
    axisTool.SetAxis(&custom);
    EXPECT_EQ(axisTool.ParentChart(), &chart);
    chart.CustomAxes().Remove(&custom);
    EXPECT_EQ(axisTool.Axis(), nullptr);
    axisTool.SetAxis(&chart.LeftAxis());
    axisTool.SetAxis(nullptr);                    // no axis: no chart
    EXPECT_EQ(axisTool.ParentChart(), nullptr);
}

TEST(Tools, ToolsGoWithTheirChart)
{
    bool freed = false;
    {
        TTestChart chart;
        auto* tool = new TWatchedTool(nullptr, &freed);
        chart.Tools().AddTool(tool);
    }
    EXPECT_TRUE(freed);

    TTestChart chart;
    {
        TWatchedTool local;
        chart.Tools().AddTool(&local);
    }
    EXPECT_EQ(chart.Tools().Count(), 0);          // a freed tool leaves the list
}
