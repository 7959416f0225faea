// The nearest-point tool on a real chart window driven by Qt mouse events: the point it finds (ties,
// points outside the plot, no series, every series), its marker and line, repainting or drawing in
// place, the click distance, and the mouse leaving the chart.
#include "ChartTestSupport.h"

#include "chart/control/ChartRegistry.h"
#include "chart/control/LumTools.h"
#include "platform/controls/Application.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Colours of no series of the palette's first.
constexpr TColor kMarker = 0xFF00FF, kLine = 0xFFFF00;

// A 2-D chart of 500 x 360 pixels in a shown window with the series (i, i), i = 0..10, on fixed axes
// 0..10, and a nearest-point tool on it.
struct TNearestChart {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};
    TLineTestSeries* Series = nullptr;
    TNearestTool* Tool = nullptr;
    int Changes = 0;

    TNearestChart()
    {
        Window->setGeometry(50, 50, 520, 380);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, 500, 360);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.BottomAxis().SetFixedRange(0, 10);
        Chart.LeftAxis().SetFixedRange(0, 10);
        Series = AddSeries(0);
        Tool = new TNearestTool(&Chart);
        Tool->SetSeries(Series);
        Tool->SetParentChart(&Chart);
        Tool->OnChange = [this](TPersistent*) { ++Changes; };
        Window->show();
        Paint();
    }
    TLineTestSeries* AddSeries(double Shift)
    {
        auto* s = new TLineTestSeries(&Chart);
        for (int i = 0; i <= 10; ++i) s->InsertPoint(i + Shift, i);
        s->SetParentChart(&Chart);
        return s;
    }
    void Paint()
    {
        Chart.Invalidate();
        Chart.Repaint();
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    void Send(QEvent::Type t, QPoint p, Qt::MouseButton b = Qt::NoButton)
    {
        QWidget* w = Chart.Widget();
        QMouseEvent e(t, p, w->mapToGlobal(p), b, t == QEvent::MouseButtonPress ? Qt::MouseButtons(b) : Qt::MouseButtons(),
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void Move(QPoint p) { Send(QEvent::MouseMove, p); }
    QPoint At(double x, double y) const { return {Chart.BottomAxis().CalcXPosValue(x), Chart.LeftAxis().CalcYPosValue(y)}; }
};

} // namespace

TEST(NearestTool, FindsTheNearestVisiblePointInThePlot)
{
    TNearestChart n;
    const QPoint p3 = n.At(3, 3);
    n.Move({p3.x() + 3, p3.y() - 4});
    EXPECT_EQ(n.Tool->NearestIndex, 3);
    EXPECT_EQ(n.Tool->NearestDistance, 5);
    EXPECT_EQ(n.Tool->MousePoint.x, p3.x() + 3);
    EXPECT_EQ(n.Changes, 1);
    // Two points at the same place: the lower index.
    TLineTestSeries twins(nullptr);
    for (double v : {1.0, 4.0, 4.0}) twins.InsertPoint(v, v);
    twins.SetParentChart(&n.Chart);
    n.Paint();
    EXPECT_EQ(n.Tool->FindNearestPoint(twins, p3.x() + 200, p3.y() - 200), 1);
    twins.SetParentChart(nullptr);
    // Points outside the plot rectangle are never taken, even when nearest.
    n.Chart.BottomAxis().SetFixedRange(0, 5);
    n.Chart.LeftAxis().SetFixedRange(0, 5);
    n.Paint();
    const TRect plot = n.Chart.ChartRect();
    n.Move({plot.Right + 30, plot.Top - 30});
    EXPECT_EQ(n.Tool->NearestIndex, 5) << "the corner point, on the plot's edge, is inside";
    EXPECT_EQ(n.Changes, 2);
    // No points at all: none, at 10000.
    TLineTestSeries empty(nullptr);
    empty.SetParentChart(&n.Chart);
    EXPECT_EQ(n.Tool->FindNearestPoint(empty, 10, 10), -1);
    EXPECT_EQ(n.Tool->NearestDistance, 10000);
    empty.SetParentChart(nullptr);
}

TEST(NearestTool, WithoutASeriesKeepsThePreviousIndexAndAllSeriesPicksTheNearest)
{
    TNearestChart n;
    n.Move(n.At(6, 6));
    ASSERT_EQ(n.Tool->NearestIndex, 6);
    n.Tool->SetSeries(nullptr);
    n.Move(n.At(2, 2));
    EXPECT_EQ(n.Tool->NearestIndex, 6) << "no series: the previous index stays";
    EXPECT_EQ(n.Changes, 2) << "OnChange fires at every move";

    TLineTestSeries* shifted = n.AddSeries(0.5);
    int seriesChanges = 0;
    n.Tool->OnSeriesChange = [&](TPersistent*) { ++seriesChanges; };
    n.Tool->AllSeries = true;
    n.Move(n.At(7.4, 7));
    EXPECT_EQ(n.Tool->Series(), shifted);
    EXPECT_EQ(n.Tool->NearestIndex, 7);
    EXPECT_EQ(seriesChanges, 1);
    n.Move(n.At(7.6, 7));
    EXPECT_EQ(seriesChanges, 1) << "the same series again";
    n.Move(n.At(2.1, 2));
    EXPECT_EQ(n.Tool->Series(), n.Series);
    EXPECT_EQ(n.Tool->NearestIndex, 2);
    EXPECT_EQ(seriesChanges, 2);
}

TEST(NearestTool, ClickDistanceAndTheMouseLeavingTheChart)
{
    TNearestChart n;
    int clicks = 0;
    n.Tool->OnPointClick = [&](TPersistent*, TMouseButton, TShiftState, int, int) { ++clicks; };
    n.Chart.Zoom().SetAllow(false);
    n.Send(QEvent::MouseButtonPress, n.At(5, 5), Qt::LeftButton);
    n.Send(QEvent::MouseButtonRelease, n.At(5, 5), Qt::LeftButton);
    EXPECT_EQ(n.Tool->NearestIndex, 5);
    EXPECT_EQ(clicks, 0) << "a click distance of 0 never fires";
    n.Tool->ClickDistance = 3;
    n.Send(QEvent::MouseButtonPress, n.At(5, 5) + QPoint(1, 1), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    n.Send(QEvent::MouseButtonRelease, n.At(5, 5), Qt::LeftButton);
    n.Send(QEvent::MouseButtonPress, n.At(5, 5) + QPoint(3, 0), Qt::LeftButton);
    EXPECT_EQ(clicks, 1) << "3 pixels is not nearer than 3";
    n.Send(QEvent::MouseButtonRelease, n.At(5, 5), Qt::LeftButton);

    n.Paint();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(n.Chart.Widget(), &leave);
    EXPECT_EQ(n.Tool->NearestIndex, -1);
    EXPECT_TRUE(n.Chart.PaintPending()) << "with FullRepaint the marker goes with a repaint";
}

TEST(NearestTool, MarkerAndLineRepaintedOrDrawnInPlace)
{
    TNearestChart n;
    n.Tool->Pen().SetStyle(psSolid);
    n.Tool->Pen().SetColor(kMarker);
    n.Tool->LinePen().SetColor(kLine);
    n.Tool->SetSize(10);
    const QPoint p = n.At(5, 5);
    n.Paint();
    n.Move({p.x(), p.y() + 40});
    EXPECT_TRUE(n.Chart.PaintPending()) << "FullRepaint: every move repaints";
    auto picture = RenderChart(n.Chart);
    const auto count = [&](TColor colour, int x0, int y0, int x1, int y1) {
        int found = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) found += picture->Canvas().Pixels(x, y) == colour;
        return found;
    };
    EXPECT_GT(count(kMarker, p.x() - 11, p.y() - 2, p.x() - 9, p.y() + 2), 0) << "the circle's left edge";
    EXPECT_GT(count(kMarker, p.x() + 8, p.y() - 2, p.x() + 10, p.y() + 2), 0) << "the circle's right edge";
    EXPECT_GT(count(kLine, p.x() - 1, p.y() + 25, p.x() + 1, p.y() + 35), 0) << "the line down to the mouse";

    n.Tool->SetStyle(hsNone);
    n.Tool->SetDrawLine(false);
    picture = RenderChart(n.Chart);
    EXPECT_EQ(count(kMarker, p.x() - 11, p.y() - 11, p.x() + 11, p.y() + 11), 0);
    EXPECT_EQ(count(kLine, p.x() - 1, p.y() + 25, p.x() + 1, p.y() + 35), 0);

    // Without FullRepaint a move draws in place and asks for no repaint.
    n.Tool->FullRepaint = false;
    n.Tool->SetStyle(hsDiamond);
    n.Paint();
    n.Move({p.x() + 2, p.y() + 40});
    EXPECT_FALSE(n.Chart.PaintPending());
    EXPECT_EQ(n.Tool->NearestIndex, 5);
}

TEST(NearestTool, DefaultsAndRegistration)
{
    TNearestTool tool(nullptr);
    EXPECT_EQ(tool.Size(), 20);
    EXPECT_EQ(tool.Style(), hsCircle);
    EXPECT_EQ(tool.Pen().Style(), psDot);
    EXPECT_EQ(tool.Pen().Color(), clWhite);
    EXPECT_EQ(tool.Brush().Style(), bsClear);
    EXPECT_TRUE(tool.DrawLine());
    EXPECT_TRUE(tool.FullRepaint);
    EXPECT_EQ(tool.NearestIndex, -1);
    EXPECT_EQ(tool.DescriptionText(), "Nearest Point");
    EXPECT_EQ(tool.EditorFormName(), "TNearestToolEdit");
    EXPECT_LT(LumToolTypes()->IndexOf(&TNearestTool::StaticClassInfo()),
              LumToolTypes()->IndexOf(&TChartImageTool::StaticClassInfo()))
        << "in the gallery's order";
}
