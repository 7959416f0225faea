// The nearest-point tool and the marks tip on a real chart window driven by Qt mouse events. Nearest
// point: the point it finds (ties, points outside the plot, no series, every series, points at depth),
// its marker and line, repainting or drawing in place and taking the drawing away, the click distance,
// and the mouse leaving the chart. Marks tip: the tip's text and style, the hint pause, moves and
// clicks, a second tip, the axes, and withdrawing the tip.
#include "ToolTestSupport.h"

#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineMarks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

// Colours of no series of the palette's first.
constexpr TColor kMarker = 0xFF00FF, kLine = 0xFFFF00;

// The tools' chart with a nearest-point tool on its series; a repaint that an event asks for stays
// pending until the test paints.
struct TNearestChart : TToolChart {
    TNearestTool* Tool = nullptr;
    int Changes = 0;

    TNearestChart()
    {
        PumpAfterEvents = false;
        Tool = new TNearestTool(&Chart);
        Tool->SetSeries(Series);
        Tool->SetParentChart(&Chart);
        Tool->OnChange = [this](TPersistent*) { ++Changes; };
        Paint();
    }
    TLineTestSeries* AddSeries(double Shift)
    {
        auto* s = new TLineTestSeries(&Chart);
        for (int i = 0; i <= 10; ++i) s->InsertPoint(i + Shift, i);
        s->SetParentChart(&Chart);
        return s;
    }
    void Send(QEvent::Type t, QPoint p, Qt::MouseButton b = Qt::NoButton) { TToolChart::Send(t, p, b); }
};

// A series with a Z value per point, drawn nowhere.
class TZTestSeries : public TLineTestSeries {
public:
    explicit TZTestSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner)
    {
        SetHas3DValues(true);
        FZ = new TChartValueList(this, "Z");
    }
    void AddXYZ(double X, double Y, double Z)
    {
        FZ->PendingValue = Z;
        InsertPoint(X, Y);
    }
    void PaintPoint(int) override {}

private:
    TChartValueList* FZ;
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
    EXPECT_EQ(n.Tool->NearestDistance, 0);
    EXPECT_EQ(clicks, 0) << "a click distance of 0 never fires, not even on the point";
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

TEST(NearestTool, Defaults)
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
}

TEST(NearestTool, APressWithoutASeriesChangesNothing)
{
    TNearestChart n;
    int clicks = 0;
    n.Tool->OnPointClick = [&](TPersistent*, TMouseButton, TShiftState, int, int) { ++clicks; };
    n.Tool->ClickDistance = 50;
    n.Chart.Zoom().SetAllow(false);
    n.Move(n.At(4, 4));
    ASSERT_EQ(n.Tool->NearestIndex, 4);
    n.Tool->SetSeries(nullptr);
    n.Send(QEvent::MouseButtonPress, n.At(8, 8), Qt::LeftButton);
    n.Send(QEvent::MouseButtonRelease, n.At(8, 8), Qt::LeftButton);
    EXPECT_EQ(n.Tool->NearestIndex, 4);
    EXPECT_EQ(n.Tool->NearestDistance, 0);
    EXPECT_EQ(clicks, 0) << "the distance of the last search is no reason to fire";
}

TEST(NearestTool, ASeriesWithZValuesIsSearchedWhereItsPointsLieInDepth)
{
    TNearestChart n;
    n.Chart.SetView3D(true);
    n.Chart.View3DOptions().SetOrthogonal(true);
    auto* deep = new TZTestSeries(&n.Chart);
    deep->AddXYZ(5, 5, 0);
    deep->AddXYZ(5, 5, 10);
    deep->SetParentChart(&n.Chart);
    n.Chart.DepthAxis().SetFixedRange(0, 10);
    n.Paint();
    const TPoint front = n.Chart.ChartCanvas().ProjectXYZ(deep->ScreenXOf(0), deep->ScreenYOf(0), n.Chart.DepthAxis().CalcPosValue(0));
    const TPoint back = n.Chart.ChartCanvas().ProjectXYZ(deep->ScreenXOf(1), deep->ScreenYOf(1), n.Chart.DepthAxis().CalcPosValue(10));
    ASSERT_NE(front, back) << "the two points lie apart on screen";
    EXPECT_EQ(n.Tool->FindNearestPoint(*deep, back.x, back.y), 1);
    EXPECT_EQ(n.Tool->NearestDistance, 0);
    EXPECT_EQ(n.Tool->FindNearestPoint(*deep, front.x, front.y), 0);
    EXPECT_EQ(n.Tool->NearestDistance, 0);
}

TEST(NearestTool, DrawnInPlaceItIsTakenAwayPixelForPixel)
{
    for (TNearestToolStyle style : {hsCircle, hsRectangle, hsDiamond}) {
        TNearestChart n;
        n.Tool->FullRepaint = false;
        n.Tool->SetStyle(style);
        n.Tool->Pen().SetStyle(psSolid);
        n.Tool->Pen().SetColor(kMarker);
        n.Tool->Brush().SetStyle(bsSolid);
        n.Tool->LinePen().SetColor(kLine);
        n.Tool->SetSize(8);
        n.Paint();
        const TPicturePixels before = n.Buffer();
        n.Move(n.At(3, 6));
        EXPECT_FALSE(n.Chart.PaintPending());
        EXPECT_GT(CountDifferences(before, n.Buffer()), 20) << style;
        n.Move(n.At(7, 2));
        EXPECT_EQ(n.Tool->NearestIndex, 5) << style;
        // Stage 5: the mouse leaves the chart, and the marker and its line go without a repaint.
        n.Leave();
        EXPECT_EQ(n.Tool->NearestIndex, -1) << style;
        EXPECT_FALSE(n.Chart.PaintPending()) << style;
        EXPECT_EQ(CountDifferences(before, n.Buffer()), 0) << style;
    }
}

namespace {

// The same points searched point by point: the series declares its screen x unrelated to its X values.
class TFullScanSeries : public TLineTestSeries {
public:
    using TLineTestSeries::TLineTestSeries;
    bool ScreenXFollowsXValues() const override { return false; }
};

// A series counting the screen x asked of it one point at a time.
class TCountingSeries : public TLineTestSeries {
public:
    using TLineTestSeries::TLineTestSeries;
    int ScreenXOf(int Index) const override
    {
        ++Calls;
        return TLineTestSeries::ScreenXOf(Index);
    }
    mutable int Calls = 0;
};

struct TSearchCase {
    const char* Name;
    bool Sorted;             // X values inserted in order (else kept as they come)
    bool Inverted;           // the bottom axis
    bool Logarithmic;        // the bottom axis
    bool EveryPointVisible;  // the visible range not cut to the axis' span
    double XLow, XHigh;      // the X values' span (the axis shows 0..10, or 1..10 when logarithmic)
    double XStep;            // X values rounded to this step: many points share one X
    bool SearchedOutward;    // the search takes the points in the order of their screen x
};

} // namespace

// The search outward from the mouse's x finds what the point-by-point search finds (index, distance, the
// lower index on a tie, nothing beyond 10000 pixels or outside the plot) at mouse positions all over the
// window and far outside it; it runs only where the screen x follows the index one way.
TEST(NearestTool, SearchOutwardFromTheMouseMatchesThePointByPointSearch)
{
    const TSearchCase cases[] = {
        {"random X", false, false, false, false, -1, 11, 0, false},
        {"sorted X with duplicates", true, false, false, false, -1, 11, 0.5, true},
        {"sorted X with duplicates, every point visible", true, false, false, true, -1, 11, 0.5, true},
        {"sorted X, inverted axis", true, true, false, false, -1, 11, 0.25, true},
        {"one X for every point", true, false, false, false, 5, 5, 0, true},
        // Values of 0 and below lie at the axis' start, left of small positive ones.
        {"logarithmic axis, every point visible", true, false, true, true, -1, 11, 0.05, false},
        {"logarithmic axis, points cut to its span", true, false, true, false, -1, 11, 0.05, true},
    };
    for (const TSearchCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TNearestChart n;
        n.Chart.BottomAxis().SetInverted(c.Inverted);
        if (c.Logarithmic) {
            n.Chart.BottomAxis().SetLogarithmic(true);
            n.Chart.BottomAxis().SetFixedRange(1, 10);
        }
        auto* outward = new TCountingSeries(&n.Chart);
        auto* pointwise = new TFullScanSeries(&n.Chart);
        std::mt19937 random(37);
        std::uniform_real_distribution<double> x(c.XLow, c.XHigh), y(-1, 11);
        for (TChartSeries* s : {static_cast<TChartSeries*>(outward), static_cast<TChartSeries*>(pointwise)}) {
            if (!c.Sorted) s->XValues().SetOrder(loNone);
            s->SetOrderedRange(!c.EveryPointVisible);
        }
        for (int i = 0; i < 300; ++i) {
            double px = x(random);
            if (c.XStep > 0) px = std::round(px / c.XStep) * c.XStep;
            const double py = std::round(y(random) * 4) / 4;
            const bool null = i % 17 == 5;
            for (TChartSeries* s : {static_cast<TChartSeries*>(outward), static_cast<TChartSeries*>(pointwise)}) {
                if (null) s->InsertNullPoint(px, py);
                else s->InsertPoint(px, py);
            }
        }
        outward->SetParentChart(&n.Chart);
        pointwise->SetParentChart(&n.Chart);
        n.Paint();
        ASSERT_EQ(outward->XValues().RunsAscending(), c.Sorted);

        std::vector<TPoint> mice;
        for (int mx = -20; mx <= 520; mx += 7)
            for (int my = -20; my <= 380; my += 9) mice.push_back({mx, my});
        for (TPoint far : {TPoint{-20000, 100}, TPoint{30000, 30000}, TPoint{250, -12000}}) mice.push_back(far);
        int found = 0;
        outward->Calls = 0;
        for (const TPoint m : mice) {
            const int expected = n.Tool->FindNearestPoint(*pointwise, m.x, m.y);
            const int distance = n.Tool->NearestDistance;
            ASSERT_EQ(n.Tool->FindNearestPoint(*outward, m.x, m.y), expected) << m.x << ", " << m.y;
            ASSERT_EQ(n.Tool->NearestDistance, distance) << m.x << ", " << m.y;
            found += expected != -1;
        }
        EXPECT_GT(found, int(mice.size()) / 2);
        EXPECT_EQ(n.Tool->FindNearestPoint(*outward, -20000, 100), -1) << "beyond 10000 pixels";
        EXPECT_EQ(n.Tool->NearestDistance, 10000);
        EXPECT_EQ(outward->Calls == 0, c.SearchedOutward);
    }
}

// ---- Marks tip ---------------------------------------------------------------------------------------------

namespace {

struct TTipChart : TToolChart {
    TMarksTipTool* Tip = nullptr;
    int Cancels = 0;

    TTipChart()
    {
        for (int i = 0; i <= 10; ++i) Series->SetPointLabel(i, "L" + std::to_string(i));
        Tip = AddTool<TMarksTipTool>();
        Tip->OnCancelHint = [this](TPersistent*) { ++Cancels; };
        Paint();
    }
    ~TTipChart()
    {
        Application->CancelHint();
        Application->SetHintPause(500);
    }
    // A place on no point and no axis.
    QPoint Empty() const { return At(2, 8); }
};

} // namespace

TEST(MarksTipTool, ShowsTheTextInItsOwnStyleWhileTheMarksKeepTheirs)
{
    TTipChart t;
    t.Series->Marks().SetStyle(smsValue);
    t.Paint();
    t.Move(t.At(3, 3));
    EXPECT_EQ(t.Chart.Hint(), "L3") << "composed with smsLabel, the tool's style";
    EXPECT_TRUE(t.Chart.ShowHint());
    EXPECT_EQ(Application->LastHint().Text, "L3");
    EXPECT_TRUE(Application->LastHint().Shown);
    EXPECT_EQ(t.Tip->HitSeries(), t.Series);
    EXPECT_EQ(t.Tip->HitIndex, 3);
    EXPECT_EQ(t.Series->Marks().Style(), smsValue) << "the marks on screen keep their style";
    EXPECT_FALSE(t.Chart.PaintPending()) << "the style went and came back without a repaint";

    t.Tip->SetStyle(smsValue);
    t.Tip->OnGetText = [](TMarksTipTool* tool, std::string& text) { text += "@" + std::to_string(tool->HitIndex); };
    t.Move(t.At(6, 6));
    EXPECT_EQ(t.Chart.Hint(), "6@6");
    EXPECT_EQ(Application->LastHint().Text, "6@6");

    // Off every point the tip is withdrawn.
    t.Move(t.Empty());
    EXPECT_EQ(t.Chart.Hint(), "");
    EXPECT_FALSE(Application->LastHint().Shown);
    EXPECT_EQ(t.Cancels, 1);
}

TEST(MarksTipTool, MouseDelayIsTheApplicationsHintPause)
{
    TTipChart t;
    EXPECT_EQ(t.Tip->MouseDelay(), 500);
    t.Tip->SetMouseDelay(900);
    EXPECT_EQ(Application->HintPause(), 900);
    TMarksTipTool other(nullptr);
    EXPECT_EQ(other.MouseDelay(), 900) << "one pause for the whole application";
}

TEST(MarksTipTool, ClicksShowTheTipWhenAskedAndNothingShowsOverAnAxis)
{
    TTipChart t;
    t.Tip->SetMouseAction(mtmClick);
    t.Chart.Zoom().SetAllow(false);
    t.Move(t.At(4, 4));
    EXPECT_EQ(t.Chart.Hint(), "") << "moves do nothing for clicks";
    t.Press(t.At(4, 4));
    t.Release(t.At(4, 4));
    EXPECT_EQ(t.Chart.Hint(), "L4");

    t.Tip->SetMouseAction(mtmMove);
    EXPECT_EQ(t.Chart.Hint(), "") << "changing the action withdraws the tip";
    // The move after one over an axis shows nothing; the one after that does.
    const TRect plot = t.Chart.ChartRect();
    t.Move({plot.Left - 3, plot.Top + 50});
    ASSERT_TRUE(t.Chart.MouseOverAxis);
    t.Move(t.At(7, 7));
    EXPECT_EQ(t.Chart.Hint(), "");
    t.Move(t.At(7, 7));
    EXPECT_EQ(t.Chart.Hint(), "L7");
}

TEST(MarksTipTool, ASecondTipWithdrawsNothingAndAFreedSeriesIsForgotten)
{
    TTipChart t;
    t.Move(t.At(5, 5));
    ASSERT_EQ(t.Chart.Hint(), "L5");
    auto* second = t.AddTool<TMarksTipTool>();
    second->SetActive(false);
    EXPECT_EQ(t.Chart.Hint(), "") << "a tip becoming inactive withdraws the chart's hint";
    t.Move(t.At(4, 4));
    t.Move(t.At(5, 5));
    ASSERT_EQ(t.Chart.Hint(), "L5");
    const int cancels = t.Cancels;
    t.Move(t.Empty());
    EXPECT_EQ(t.Chart.Hint(), "L5") << "another tip, even inactive: nothing is withdrawn";
    EXPECT_EQ(t.Cancels, cancels);
    second->Free();
    t.Move(t.Empty());
    EXPECT_EQ(t.Chart.Hint(), "");

    // Becoming inactive withdraws the tip; a freed series is no longer the hit series.
    t.Move(t.At(2, 2));
    ASSERT_EQ(t.Chart.Hint(), "L2");
    t.Tip->SetActive(false);
    EXPECT_EQ(t.Chart.Hint(), "");
    t.Tip->SetActive(true);
    t.Move(t.At(2, 2));
    ASSERT_EQ(t.Tip->HitSeries(), t.Series);
    t.Series->Free();
    EXPECT_EQ(t.Tip->HitSeries(), nullptr);
    t.Move(t.At(3, 3));
    EXPECT_EQ(t.Tip->HitSeries(), nullptr);
}

TEST(MarksTipTool, DefaultsAndNames)
{
    TMarksTipTool tool(nullptr);
    EXPECT_EQ(tool.MouseAction(), mtmMove);
    EXPECT_EQ(tool.Style(), smsLabel);
    EXPECT_EQ(tool.HitSeries(), nullptr);
    EXPECT_EQ(tool.DescriptionText(), "Mark Tips");
    EXPECT_EQ(tool.EditorFormName(), "TMarksTipToolEdit");
}
