// The drag-point tool on a real chart window driven by Qt mouse events: which value follows the mouse, a
// press beside the points left to the chart's zoom, the handler's calls at moves and releases, a right
// release during a drag, an axis without span, and a tool that is inactive or has no series.
#include "chart/extras/LumDragPoint.h"

#include "ChartMouse.h"

#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/series/SeriesLine.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A 2-D chart of 500 x 360 pixels in a shown window with a line series of the points (i, 2 i), i = 0..10,
// circle pointers of 4 pixels, and a drag-point tool on it.
struct TDragChart : TMouseChart {
    TLineSeries* Series = nullptr;
    TDragPointTool* Tool = nullptr;
    std::vector<int> Calls;

    TDragChart()
    {
        Series = new TLineSeries(&Chart);
        Series->Pointer().SetVisible(true);
        Series->Pointer().SetStyle(psCircle);
        Series->Pointer().SetHorizSize(4);
        Series->Pointer().SetVertSize(4);
        for (int i = 0; i <= 10; ++i) Series->InsertPoint(i, 2.0 * i);
        Series->SetParentChart(&Chart);
        Tool = new TDragPointTool(&Chart);
        Tool->SetSeries(Series);
        Tool->SetParentChart(&Chart);
        Tool->OnDragPoint = [this](TDragPointTool* sender, int index) {
            EXPECT_EQ(sender, Tool);
            Calls.push_back(index);
        };
        Show();
    }
};

} // namespace

TEST(DragPointTool, EachStyleMovesOnlyItsValues)
{
    struct Case {
        TDragPointStyle Style;
        bool XFollows, YFollows;
    };
    for (const Case c : {Case{dsX, true, false}, Case{dsY, false, true}, Case{dsBoth, true, true}}) {
        TDragChart d;
        d.Tool->SetDragStyle(c.Style);
        const double y5 = d.Series->YValueAt(5);
        const QPoint to = d.At(7.3, 4.1);
        d.Press(d.At(5, 10));
        EXPECT_EQ(d.Tool->DraggedIndex(), 5);
        d.Move({to.x() - 9, to.y() + 13});
        d.Move(to);
        d.Release(to);
        EXPECT_EQ(d.Tool->DraggedIndex(), -1);
        const double x = d.Chart.BottomAxis().PixelToValue(to.x());
        const double y = d.Chart.LeftAxis().PixelToValue(to.y());
        EXPECT_EQ(d.Series->XValueAt(5), c.XFollows ? x : 5.0) << c.Style;
        EXPECT_EQ(d.Series->YValueAt(5), c.YFollows ? y : y5) << c.Style << ": the other value stays exactly";
        EXPECT_EQ(d.Series->PointCount(), 11) << "the point keeps its place in the series";
        EXPECT_EQ(d.Calls, (std::vector<int>{5, 5, 5})) << c.Style << ": two moves and the release";
    }
}

TEST(DragPointTool, PressAndReleaseWithoutAMoveCallsTheHandlerOnce)
{
    TDragChart d;
    d.Press(d.At(3, 6));
    d.Release(d.At(3, 6));
    EXPECT_EQ(d.Calls, (std::vector<int>{3}));
    EXPECT_EQ(d.Series->XValueAt(3), 3.0);
    EXPECT_EQ(d.Series->YValueAt(3), 6.0);
    // A release without a pick still tells the handler, with -1.
    d.Calls.clear();
    d.Release(d.At(8, 1));
    EXPECT_EQ(d.Calls, (std::vector<int>{-1}));
}

TEST(DragPointTool, APressBesideThePointsLeavesZoomingToTheChart)
{
    // The same drag beside the points on a chart with the tool and on one without gives the same zoom.
    double zoomed[2][2] = {};
    for (int withTool = 0; withTool < 2; ++withTool) {
        TDragChart d;
        if (!withTool) {
            delete d.Tool;
            d.Tool = nullptr;
        }
        const QPoint from = d.At(1, 15), to = d.At(4, 9);
        d.Press(from);
        if (d.Tool) {
            EXPECT_EQ(d.Tool->DraggedIndex(), -1);
        }
        d.Move({(from.x() + to.x()) / 2, (from.y() + to.y()) / 2});
        d.Move(to);
        d.Release(to);
        d.Paint();
        zoomed[withTool][0] = d.Chart.BottomAxis().Minimum();
        zoomed[withTool][1] = d.Chart.BottomAxis().Maximum();
        EXPECT_EQ(d.Series->XValueAt(1), 1.0);
    }
    EXPECT_NE(zoomed[0][0], 0.0) << "the drag zoomed";
    EXPECT_EQ(zoomed[1][0], zoomed[0][0]);
    EXPECT_EQ(zoomed[1][1], zoomed[0][1]);
}

TEST(DragPointTool, ARightReleaseDoesNotEndTheDrag)
{
    TDragChart d;
    d.Tool->SetDragStyle(dsX);
    d.Press(d.At(4, 8));
    d.Send(QEvent::MouseButtonPress, d.At(4, 8), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    d.Send(QEvent::MouseButtonRelease, d.At(4, 8), Qt::RightButton, Qt::LeftButton);
    EXPECT_EQ(d.Tool->DraggedIndex(), 4);
    const QPoint to = d.At(6.5, 8);
    d.Move(to);
    EXPECT_EQ(d.Series->XValueAt(4), d.Chart.BottomAxis().PixelToValue(to.x()));
    d.Release(to);
    EXPECT_EQ(d.Tool->DraggedIndex(), -1);
    d.Move(d.At(2, 8));
    EXPECT_EQ(d.Series->XValueAt(4), d.Chart.BottomAxis().PixelToValue(to.x())) << "no drag after the release";
}

TEST(DragPointTool, AnAxisWithoutSpanGetsOne)
{
    TDragChart d;
    TChartAxis& left = d.Chart.LeftAxis();
    left.SetAutomatic(false);
    left.SetMinimum(6);
    left.SetMaximum(6);
    d.Paint();
    ASSERT_EQ(left.Maximum(), left.Minimum());
    d.Tool->SetDragStyle(dsY);
    const QPoint p = d.At(3, 6);
    d.Press(p);
    ASSERT_EQ(d.Tool->DraggedIndex(), 3);
    left.SetAutomaticMaximum(true);
    d.Move({p.x(), p.y() + 5});
    EXPECT_FALSE(left.AutomaticMaximum());
    EXPECT_EQ(left.Maximum(), 6 + 0.1 * 1e-12);
    EXPECT_EQ(left.Minimum(), 6);
    d.Release(p);
}

TEST(DragPointTool, InactiveOrWithoutSeriesChangesNothing)
{
    for (int kind = 0; kind < 2; ++kind) {
        TDragChart d;
        if (kind == 0) {
            d.Tool->SetActive(false);
        } else {
            d.Tool->SetSeries(nullptr);
        }
        d.Chart.Zoom().SetAllow(false);
        d.Press(d.At(5, 10));
        d.Move(d.At(7, 3));
        d.Release(d.At(7, 3));
        EXPECT_EQ(d.Series->XValueAt(5), 5.0) << kind;
        EXPECT_EQ(d.Series->YValueAt(5), 10.0) << kind;
        EXPECT_EQ(d.Calls, (std::vector<int>{})) << kind;
    }
    // A series freed during a drag is forgotten; later events are ignored.
    TDragChart d;
    d.Press(d.At(5, 10));
    delete d.Series;
    EXPECT_EQ(d.Tool->Series(), nullptr);
    d.Move(d.At(7, 3));
    d.Release(d.At(7, 3));
}

TEST(DragPointTool, IsRegisteredWithItsTextAndEditorName)
{
    TDragPointTool tool(nullptr);
    EXPECT_EQ(tool.DescriptionText(), "Drag Point");
    EXPECT_EQ(tool.EditorFormName(), "TDragPointToolEdit");
    EXPECT_EQ(tool.DragStyle(), dsBoth);
    EXPECT_EQ(tool.DraggedIndex(), -1);
    EXPECT_GE(LumToolTypes()->IndexOf(&TDragPointTool::StaticClassInfo()), 0);
}
