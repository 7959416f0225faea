// The gantt series and the gantt drag tool: bars from their start to their end pixel, zero-length bars,
// connectors with their three legs, the bar click test, extents, samples, copying and degenerate points;
// the tool on a real chart window driven by Qt mouse events: which part a press takes, moves that shift
// and clamp, its events and cursors, the release, and a series that is not a gantt series.
#include "chart/extras/GanttCh.h"
#include "chart/extras/LumGanttTool.h"

#include "ChartMouse.h"
#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace {


// Axes 0..10: x = 40 + 40 v, y = 320 - 30 v.
struct TGanttChart : TRenderChart {
    TGanttSeries& Gantt;
    TGanttChart() : Gantt(Add<TGanttSeries>())
    {
        Gantt.SetColorEachPoint(false);
        Gantt.SetSeriesColor(clRed);
        Gantt.Pointer().Pen().SetColor(clBlue);
        Gantt.ConnectingPen().SetColor(clGreen);
    }
};

} // namespace

TEST(GanttSeries, BarRunsFromStartToEndPixelOnItsRow)
{
    for (const bool is3D : {false, true}) {
        TGanttChart c;
        c.Chart.SetView3D(is3D);
        c.Gantt.AddGantt(2, 6, 5); // (120, 170) to (280, 170)
        c.Gantt.AddGantt(8, 8, 2); // zero length at (360, 260)
        const auto b = c.Render();
        KeepShot(*b, is3D ? "gantt-3d" : "gantt-2d");
        EXPECT_EQ(b->PixelRGB(200, 170), clRed) << is3D;
        EXPECT_TRUE(AnyNear(*b, 120, 170, clBlue)) << is3D;
        EXPECT_TRUE(AnyNear(*b, 280, 170, clBlue)) << is3D;
        if (!is3D) {
            EXPECT_EQ(b->PixelRGB(285, 170), c.Back());
            EXPECT_EQ(b->PixelRGB(115, 170), c.Back());
            EXPECT_EQ(b->PixelRGB(200, 160), c.Back()) << "4 pixels above and below the row";
        }
        // The zero-length bar is a line at its start only (in 3-D with its depth).
        EXPECT_TRUE(AnyNear(*b, 360, 260, clBlue)) << is3D;
        if (!is3D) {
            EXPECT_EQ(CountColor(*b, {362, 250, 375, 270}, clBlue) + CountColor(*b, {362, 250, 375, 270}, clRed), 0);
        }
    }
}

TEST(GanttSeries, ConnectorHasThreeLegsOnlyToAnExistingTask)
{
    // Bar 0 from 1 to 3 on row 2 ends at (160, 260); bar 1 starts at (280, 140): the legs run through
    // x = 220.
    struct Case {
        double next;
        bool penVisible;
        bool drawn;
    };
    for (const Case k : {Case{1, true, true}, Case{-1, true, false}, Case{2, true, false}, Case{7, true, false},
                         Case{NaN, true, false}, Case{1, false, false}}) {
        TGanttChart c;
        c.Gantt.AddGantt(1, 3, 2);
        c.Gantt.AddGantt(6, 9, 6);
        EXPECT_EQ(c.Gantt.NextTask().ValueAt(0), -1.0) << "a new bar has no next task";
        c.Gantt.NextTask().SetValueAt(0, k.next);
        c.Gantt.ConnectingPen().SetVisible(k.penVisible);
        const auto b = c.Render();
        KeepShot(*b, "gantt-connector");
        for (const TPoint p : {TPoint{190, 260}, TPoint{220, 200}, TPoint{250, 140}})
            EXPECT_EQ(b->PixelRGB(p.x, p.y) == clGreen, k.drawn) << k.next << " at " << p.x << "," << p.y;
        EXPECT_EQ(CountColor(*b, {0, 0, 480, 340}, clGreen) > 0, k.drawn) << k.next;
    }
}

TEST(GanttSeries, ClickHitsABarBetweenItsEndsWithinThePointerHeight)
{
    // The start list keeps its order: the bar from 1 to 3 on row 2 becomes bar 0.
    TGanttChart c;
    c.Gantt.AddGantt(2, 6, 5);
    c.Gantt.AddGantt(1, 3, 2);
    c.Render();
    const std::pair<TPoint, int> cases[] = {
        {{120, 170}, 1}, {{280, 170}, 1}, {{281, 170}, -1}, {{119, 170}, -1}, {{200, 167}, 1}, {{200, 166}, -1},
        {{200, 173}, 1}, {{200, 174}, -1}, {{150, 260}, 0},  {{170, 260}, -1},
    };
    for (const auto& [p, expected] : cases) EXPECT_EQ(c.Gantt.PointAtPixel(p.x, p.y), expected) << p.x << "," << p.y;
}

TEST(GanttSeries, ListsExtentsAndSettings)
{
    TGanttSeries s(nullptr);
    EXPECT_EQ(s.StartValues().Name(), "Start");
    EXPECT_EQ(s.EndValues().Name(), "End");
    EXPECT_EQ(s.NextTask().Name(), "NextTask");
    EXPECT_TRUE(s.StartValues().DateTime());
    EXPECT_TRUE(s.EndValues().DateTime());
    EXPECT_FALSE(s.YMandatory()) << "X is the mandatory list";
    EXPECT_FALSE(s.ClickableLine());
    EXPECT_TRUE(s.ColorEachPoint());
    EXPECT_FALSE(Stored(s, "ColorEachPoint"));
    EXPECT_EQ(s.Pointer().Style(), psRectangle);
    EXPECT_EQ(&s.ConnectingPen(), &s.LinePen());
    EXPECT_EQ(s.EditorFormName(), "TGanttSeriesEditor");
    s.AddGanttColor(1, 12, 3, "a", clRed);
    s.AddGantt(-2, 4, 1);
    EXPECT_EQ(s.HighestX(), 12.0);
    EXPECT_EQ(s.LowestX(), -2.0);
    EXPECT_EQ(s.PointColor(1), clRed);
    TGanttSeries t(nullptr);
    s.ConnectingPen().SetWidth(3);
    t.Assign(s);
    EXPECT_EQ(t.ConnectingPen().Width(), 3);
    EXPECT_TRUE(t.AcceptsSource(&s));
    TChartSeries other(nullptr);
    EXPECT_FALSE(t.AcceptsSource(&other));
}

TEST(GanttSeries, SampleTasks)
{
    struct Case {
        int count, low, high;
    };
    for (const Case k : {Case{5, 5, 5}, Case{100, 11, 30}, Case{1, 1, 1}}) {
        for (unsigned seed : {1u, 7u, 12345u}) {
            RandomizeSeed(seed);
            TGanttSeries s(nullptr);
            s.FillSampleValues(k.count);
            EXPECT_GE(s.PointCount(), k.low) << k.count;
            EXPECT_LE(s.PointCount(), k.high) << k.count;
            for (int i = 0; i < s.PointCount(); ++i) {
                EXPECT_GE(s.EndValues().ValueAt(i) - s.XValueAt(i), 9.0);
                const double n = s.NextTask().ValueAt(i);
                EXPECT_TRUE(n == -1 || (n > i && n < s.PointCount())) << n;
            }
        }
    }
    TRenderChart c;
    auto& g = c.Add<TGanttSeries>();
    g.PrepareForGallery(false);
    EXPECT_FALSE(g.ColorEachPoint());
    EXPECT_EQ(g.Pointer().VertSize(), 3);
    EXPECT_TRUE(g.Pointer().Gradient().Visible());
}

TEST(GanttSeries, DegenerateBars)
{
    for (int kind = 0; kind < 4; ++kind) {
        TGanttChart c;
        if (kind == 1) c.Gantt.AddGantt(3, 3, 3);
        if (kind == 2)
            for (int i = 0; i < 3; ++i) c.Gantt.AddGantt(3, 3, 3);
        if (kind == 3) {
            c.Gantt.AddGantt(NaN, 4, 2);
            c.Gantt.AddGantt(1, NaN, NaN);
            c.Gantt.AddGantt(1, 1e300, -1e300);
            c.Gantt.NextTask().SetValueAt(0, 1e300);
        }
        EXPECT_NO_THROW(c.Render()) << kind;
        EXPECT_NO_THROW(c.Gantt.PointAtPixel(160, 230)) << kind;
    }
}

// ---- The gantt tool on a chart window ----------------------------------------------------------------------

namespace {

// Bars: 0 from 2 to 6 on row 5, 1 from 7 to 7.1 on row 2 (a short bar), pointer half height 6.
struct TGanttWindow : TMouseChart {
    TGanttSeries* Gantt = nullptr;
    TGanttTool* Tool = nullptr;
    std::vector<std::pair<int, int>> Events; // (bar, part): part 3 for a drag

    TGanttWindow()
    {
        Chart.BottomAxis().SetFixedRange(0, 10);
        Chart.LeftAxis().SetFixedRange(0, 10);
        Gantt = new TGanttSeries(&Chart);
        Gantt->Pointer().SetVertSize(6);
        Gantt->AddGantt(2, 6, 5);
        Gantt->AddGantt(7, 7.1, 2);
        Gantt->SetParentChart(&Chart);
        Tool = new TGanttTool(&Chart);
        Tool->SetSeries(Gantt);
        Tool->SetParentChart(&Chart);
        Tool->OnDragBar = [this](TGanttTool*, int bar) { Events.emplace_back(bar, 3); };
        Tool->OnResizeBar = [this](TGanttTool*, int bar, TGanttToolBarPart part) { Events.emplace_back(bar, int(part)); };
        Show();
    }
    double Start(int i) const { return Gantt->StartValues().ValueAt(i); }
    double End(int i) const { return Gantt->EndValues().ValueAt(i); }
    double ValueAt(int Pixel) const { return Chart.BottomAxis().PixelToValue(Pixel); }
    // Press at P, move by Dx pixels in Steps equal steps, release.
    void Drag(QPoint P, int Dx, int Steps = 2)
    {
        Press(P);
        for (int i = 1; i <= Steps; ++i) Move({P.x() + Dx * i / Steps, P.y()});
        Release({P.x() + Dx, P.y()});
    }
};

} // namespace

TEST(GanttTool, PressTakesTheEndWithinMinPixelsOrTheWholeBar)
{
    struct Case {
        QPoint (*at)(const TGanttWindow&);
        bool allowResize;
        int bar;
        TGanttToolBarPart part;
    };
    const Case cases[] = {
        {[](const TGanttWindow& w) { return w.At(2, 5) + QPoint(4, 2); }, true, 0, pbStart},
        {[](const TGanttWindow& w) { return w.At(6, 5) + QPoint(-4, -2); }, true, 0, pbEnd},
        {[](const TGanttWindow& w) { return w.At(6, 5) + QPoint(4, 0); }, true, 0, pbEnd},
        {[](const TGanttWindow& w) { return w.At(4, 5); }, true, 0, pbAll},
        {[](const TGanttWindow& w) { return w.At(6, 5) + QPoint(-4, 0); }, false, 0, pbAll},
        {[](const TGanttWindow& w) { return w.At(7.05, 2); }, true, 1, pbStart},
        {[](const TGanttWindow& w) { return w.At(4, 5) + QPoint(0, 5); }, true, 0, pbAll},
    };
    for (const Case& k : cases) {
        TGanttWindow w;
        w.Tool->SetAllowResize(k.allowResize);
        w.Press(k.at(w));
        EXPECT_EQ(w.Tool->DraggedBar(), k.bar) << k.part;
        EXPECT_EQ(w.Tool->DraggedPart(), k.part) << k.bar;
        w.Release(k.at(w));
        EXPECT_EQ(w.Tool->DraggedBar(), -1) << "the release ends the drag";
    }
    TGanttWindow w;
    w.Press(w.At(4, 5) + QPoint(0, 6));
    EXPECT_EQ(w.Tool->DraggedBar(), -1) << "outside the bar's height";
    w.Tool->SetAllowDrag(false);
    w.Press(w.At(4, 5));
    EXPECT_EQ(w.Tool->DraggedBar(), -1);
}

TEST(GanttTool, MovesShiftByTheAxisDeltaAndFireEachStep)
{
    TGanttWindow w;
    const QPoint p = w.At(4, 5);
    const double delta = w.ValueAt(p.x() + 40) - w.ValueAt(p.x());
    w.Drag(p, 40);
    w.Paint();
    w.KeepShot("gantt-window");
    EXPECT_NEAR(w.Start(0), 2 + delta, 1e-9);
    EXPECT_NEAR(w.End(0), 6 + delta, 1e-9);
    EXPECT_EQ(w.Events, (std::vector<std::pair<int, int>>{{0, 3}, {0, 3}}));
    // Moves after the release change nothing.
    w.Move(p + QPoint(80, 0));
    EXPECT_NEAR(w.Start(0), 2 + delta, 1e-9);

    TGanttWindow e;
    e.Drag(e.At(6, 5) + QPoint(-2, 0), 40);
    EXPECT_EQ(e.Start(0), 2.0);
    EXPECT_NEAR(e.End(0), 6 + delta, 1e-9);
    EXPECT_EQ(e.Events, (std::vector<std::pair<int, int>>{{0, pbEnd}, {0, pbEnd}}));

    TGanttWindow s;
    s.Drag(s.At(2, 5) + QPoint(2, 0), -40);
    EXPECT_NEAR(s.Start(0), 2 - delta, 1e-9);
    EXPECT_EQ(s.End(0), 6.0);
    EXPECT_EQ(s.Events, (std::vector<std::pair<int, int>>{{0, pbStart}, {0, pbStart}}));
}

TEST(GanttTool, AnEndNeverPassesTheOther)
{
    TGanttWindow e;
    e.Drag(e.At(6, 5) + QPoint(-2, 0), -300, 3);
    EXPECT_EQ(e.End(0), e.Start(0));
    EXPECT_EQ(e.Start(0), 2.0);
    TGanttWindow s;
    s.Drag(s.At(2, 5) + QPoint(2, 0), 300, 3);
    EXPECT_EQ(s.Start(0), s.End(0));
    EXPECT_EQ(s.End(0), 6.0);
}

TEST(GanttTool, MovesWithoutAButtonShowTheCursors)
{
    struct Case {
        QPoint (*at)(const TGanttWindow&);
        TCursor expected;
    };
    const Case cases[] = {
        {[](const TGanttWindow& w) { return w.At(6, 5) + QPoint(3, 0); }, crSizeWE},   // beside the end, off the bar
        {[](const TGanttWindow& w) { return w.At(6, 5) + QPoint(-3, 0); }, crHandPoint}, // near the end on the bar
        {[](const TGanttWindow& w) { return w.At(4, 5); }, crHandPoint},
    };
    for (const Case& k : cases) {
        TGanttWindow w;
        w.Tool->SetCursorDrag(crHandPoint);
        w.Move(k.at(w), Qt::NoButton);
        EXPECT_EQ(w.Chart.Cursor(), k.expected);
    }
    TGanttWindow w;
    w.Tool->SetCursorResize(crCross);
    w.Tool->SetCursorDrag(crUpArrow);
    w.Move(w.At(6, 5) + QPoint(3, 0), Qt::NoButton);
    EXPECT_EQ(w.Chart.Cursor(), crCross);
    w.Move(w.At(4, 5), Qt::NoButton);
    EXPECT_EQ(w.Chart.Cursor(), crUpArrow);
}

TEST(GanttTool, ASeriesThatIsNotAGanttSeriesChangesNothing)
{
    TGanttWindow plain;
    plain.Tool->SetActive(false);
    plain.Move(plain.At(4, 5), Qt::NoButton);
    const TCursor cursor = plain.Chart.Cursor();

    TGanttWindow w;
    auto* points = new TPointSeries(&w.Chart);
    points->InsertPoint(4, 5);
    points->SetParentChart(&w.Chart);
    w.Tool->SetSeries(points);
    w.Paint();
    w.Move(w.At(4, 5), Qt::NoButton);
    EXPECT_EQ(w.Chart.Cursor(), cursor);
    w.Drag(w.At(4, 5), 40);
    EXPECT_EQ(w.Tool->DraggedBar(), -1);
    EXPECT_EQ(points->XValueAt(0), 4.0);
    EXPECT_EQ(w.Start(0), 2.0);
    EXPECT_TRUE(w.Events.empty());
    EXPECT_EQ(w.Tool->DescriptionText(), "Gantt Drag");
    EXPECT_EQ(w.Tool->EditorFormName(), "TGanttToolEditor");
}
