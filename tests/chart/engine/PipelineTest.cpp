// The chart's drawing pipeline: the tool stages in order for axes behind and in front, an offscreen render
// of two series with marks probed at the pixels the layout fixes, the room the pointer asks beside the
// axis ends, the repaint switch after a failed drawing, planes seen from behind, depth slots, and the
// hover tracking of series.
#include "EngineKit.h"

#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Fails while painting its points.
class TFailingSeries : public TPointerSeries {
public:
    void PaintPoint(int) override { throw std::runtime_error("paint failed"); }
};

// Two series of three points, red and blue; the first shows its values as marks.
struct TTwoSeries : TSeriesChart {
    TPointerSeries* Red;
    TPointerSeries* Blue;
    TStageTool* Tool;
    TTwoSeries()
    {
        Red = &Add({3, 7, 5});
        Blue = &Add({1, 9, 4});
        Red->SetSeriesColor(clRed);
        Blue->SetSeriesColor(clBlue);
        Red->Marks().SetVisible(true);
        Red->Marks().SetStyle(smsValue);
        Tool = new TStageTool(nullptr);
        Chart.Tools().AddTool(Tool);
    }
};

} // namespace

TEST(ChartPipeline, ToolStagesInOrder)
{
    TTwoSeries c;
    c.Render();
    EXPECT_EQ(c.Tool->Stages, (std::vector<int>{2, 3, 1, 4, 0}));
    c.Tool->Stages.clear();
    c.Chart.SetAxisBehind(false);
    c.Render();
    EXPECT_EQ(c.Tool->Stages, (std::vector<int>{2, 1, 4, 3, 0}));
    c.Tool->Stages.clear();
    c.Tool->SetActive(false);
    c.Render();
    EXPECT_TRUE(c.Tool->Stages.empty());
}

TEST(ChartPipeline, TwoSeriesWithMarksAtTheirPixels)
{
    TTwoSeries c;
    const auto bitmap = c.Render();
    const TChartAxis& bottom = c.Chart.BottomAxis();
    const TChartAxis& left = c.Chart.LeftAxis();
    // The pointer (half size 4) asks 5 pixels beside each automatic end.
    EXPECT_EQ(c.Red->ScreenXOf(0), bottom.StartPixel + 5);
    EXPECT_EQ(c.Red->ScreenXOf(2), bottom.EndPixel - 5);
    EXPECT_EQ(c.Blue->ScreenYOf(1), left.StartPixel + 5); // 9, the top
    EXPECT_EQ(c.Blue->ScreenYOf(0), left.EndPixel - 5);   // 1, the bottom
    for (auto* s : {c.Red, c.Blue}) {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(std::to_string(i));
            const int x = s->ScreenXOf(i), y = s->ScreenYOf(i);
            // Below the mark that sits on the point: the symbol's fill, framed by its black pen.
            EXPECT_EQ(bitmap->PixelRGB(x, y + 2), s->SeriesColor());
            EXPECT_EQ(bitmap->PixelRGB(x - 4, y + 2), clBlack);
            const int outside = i < 2 ? x + 6 : x - 6;
            EXPECT_EQ(bitmap->PixelRGB(outside, y + 2), ColorToRGB(c.Chart.Color())) << "outside the symbol";
        }
    }
    // The red series' marks: boxes in the info colour resting on their points, with the value inside.
    for (int i = 0; i < 3; ++i) {
        const TSeriesMarkPosition* p = c.Red->Marks().Positions().PositionAt(i);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->ArrowTo, (TPoint{c.Red->ScreenXOf(i), c.Red->ScreenYOf(i)}));
        EXPECT_EQ(p->LeftTop.y + p->Height - 1, p->ArrowTo.y);
        EXPECT_EQ(bitmap->PixelRGB(p->LeftTop.x + 1, p->LeftTop.y + 1), ColorToRGB(static_cast<TColor>(0xFF000018)));
        EXPECT_EQ(bitmap->PixelRGB(p->LeftTop.x, p->LeftTop.y + 1), clBlack) << "the frame";
        EXPECT_EQ(c.Red->Marks().MarkAtPoint(p->LeftTop.x + 2, p->LeftTop.y + 2), i);
    }
    EXPECT_EQ(c.Blue->Marks().Positions().Count(), 0);
    EXPECT_EQ(c.Red->Painted, (std::vector<int>{0, 1, 2}));
}

TEST(ChartPipeline, SeriesDrawInTheirDepthOrderAndClipToTheChart)
{
    TTwoSeries c;
    c.Render();
    EXPECT_EQ(c.Red->ZOrder(), 0);
    EXPECT_EQ(c.Red->StartZ(), 0);
    EXPECT_EQ(c.Chart.Width3D(), 0);
    EXPECT_FALSE(c.Chart.IsPlaneSeenFromBehind(0)); // never in 2-D

    c.Chart.SetView3D(true);
    c.Chart.View3DOptions().SetOrthogonal(true);
    c.Chart.View3DOptions().SetOrthoAngle(45);
    c.Red->Painted.clear();
    c.Blue->Painted.clear();
    c.Render();
    EXPECT_EQ(c.Red->ZOrder(), 1); // the first series stands at the back
    EXPECT_EQ(c.Blue->ZOrder(), 0);
    EXPECT_EQ(c.Blue->StartZ(), 0);
    EXPECT_EQ(c.Red->StartZ(), c.Chart.SeriesWidth3D());
    EXPECT_FALSE(c.Chart.IsPlaneSeenFromBehind(0));
    c.Chart.View3DOptions().SetOrthoAngle(135);
    c.Render();
    EXPECT_TRUE(c.Chart.BackFaced());

    // Two series sharing a depth slot are drawn point by point.
    TSeriesChart shared;
    shared.Chart.SetView3D(true);
    shared.Chart.SetApplyZOrder(false);
    std::vector<std::string> order;
    class TLogged : public TPointerSeries {
    public:
        std::vector<std::string>* Log = nullptr;
        std::string Name;
        void PaintPoint(int i) override { Log->push_back(Name + std::to_string(i)); }
    };
    auto& a = shared.Add<TLogged>({1, 2});
    auto& b = shared.Add<TLogged>({3, 4});
    a.Log = b.Log = &order;
    a.Name = "a";
    b.Name = "b";
    shared.Render();
    EXPECT_EQ(order, (std::vector<std::string>{"a0", "b0", "a1", "b1"}));
}

TEST(ChartPipeline, FailedDrawingLeavesTheRepaintSwitchOn)
{
    TSeriesChart c;
    c.Add<TFailingSeries>({1, 2});
    c.Chart.SetAutoRepaint(true);
    EXPECT_THROW(c.Render(), std::runtime_error);
    EXPECT_TRUE(c.Chart.AutoRepaint());
    c.Chart.SetAutoRepaint(false);
    EXPECT_THROW(c.Render(), std::runtime_error);
    EXPECT_FALSE(c.Chart.AutoRepaint());
}

TEST(ChartPipeline, EmptyChartStillDrawsItsAxes)
{
    TSeriesChart c;
    TStageTool* tool = new TStageTool(nullptr);
    c.Chart.Tools().AddTool(tool);
    const auto bitmap = c.Render();
    // Without series every axis may show, except the depth axes of a flat chart.
    for (TChartAxis* axis : {&c.Chart.BottomAxis(), &c.Chart.TopAxis(), &c.Chart.LeftAxis(), &c.Chart.RightAxis()})
        EXPECT_TRUE(axis->Shown);
    EXPECT_FALSE(c.Chart.DepthAxis().Shown);
    EXPECT_EQ(tool->Stages, (std::vector<int>{2, 3, 1, 4, 0}));
    // The axis line along the chart rectangle's bottom.
    const TRect r = c.Chart.ChartRect();
    EXPECT_EQ(bitmap->PixelRGB((r.Left + r.Right) / 2, c.Chart.BottomAxis().AxisPosition), clBlack);
}

TEST(ChartPipeline, HoverTrackingEntersAndLeaves)
{
    TTwoSeries c;
    c.Render();
    int enters = 0, leaves = 0;
    c.Red->OnMouseEnter = [&](TPersistent*) { ++enters; };
    c.Red->OnMouseLeave = [&](TPersistent*) { ++leaves; };
    c.Blue->SetCursor(crHandPoint);
    const int x = c.Red->ScreenXOf(1), y = c.Red->ScreenYOf(1);
    EXPECT_TRUE(c.Chart.TrackSeriesHover(x, y));
    EXPECT_TRUE(c.Chart.TrackSeriesHover(x + 1, y));
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(c.Red->Hovered());
    EXPECT_FALSE(c.Chart.TrackSeriesHover(x + 30, y + 60));
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(c.Red->Hovered());
    // Over a point of the series with a cursor, the chart takes its cursor.
    EXPECT_TRUE(c.Chart.TrackSeriesHover(c.Blue->ScreenXOf(2), c.Blue->ScreenYOf(2)));
    EXPECT_EQ(c.Chart.Cursor(), crHandPoint);
    // A series with neither cursor nor events is not tracked.
    c.Blue->SetCursor(0);
    EXPECT_FALSE(c.Chart.TrackSeriesHover(c.Blue->ScreenXOf(2), c.Blue->ScreenYOf(2)));
}

TEST(ChartPipeline, PointersStandAtTheirProjectedPointsIn3D)
{
    TTwoSeries c;
    c.Red->Marks().SetVisible(false);
    c.Chart.SetView3D(true);
    c.Chart.View3DOptions().SetOrthogonal(true);
    c.Chart.View3DOptions().SetOrthoAngle(45);
    const auto bitmap = c.Render();
    for (auto* s : {c.Red, c.Blue}) {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(std::to_string(i));
            // The solid's front face lies at the series' start depth.
            const TPoint p = c.Chart.ChartCanvas().ProjectXYZ(s->ScreenXOf(i), s->ScreenYOf(i), s->StartZ());
            EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), s->SeriesColor());
        }
    }
    EXPECT_NE(c.Chart.ChartCanvas().ProjectXYZ(0, 0, c.Red->StartZ()), (TPoint{0, 0}));
}
