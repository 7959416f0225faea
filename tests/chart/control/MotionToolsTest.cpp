// The rotate, drag-marks, series-animation and clip-series tools on a real chart window driven by Qt
// mouse events: the angles and the outline of a rotation and when the chart repaints; a dragged mark;
// the animation's stages, groups, stop and end when what it animates goes; the clip and its handlers;
// and the four on one chart, which can be saved for a person to look at.
#include "ToolTestSupport.h"

#include "chart/engine/LumEngineMarks.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The tools' chart with a rotate tool and a count of the chart's paints.
struct TRotateChart : TToolChart {
    TRotateTool* Tool = nullptr;
    int Paints = 0;
    int Rotations = 0;

    TRotateChart()
    {
        Tool = AddTool<TRotateTool>();
        Tool->OnRotate = [this](TPersistent*) { ++Rotations; };
        Chart.OnAfterDraw = [this](TPersistent*) { ++Paints; };
        Paint();
    }
    QPoint Centre() const
    {
        const TRect r = Chart.ChartRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
};

} // namespace

TEST(RotateTool, ATwoDimensionalChartTurnsThreeDimensionalAtTheFirstStep)
{
    TRotateChart t;
    ASSERT_FALSE(t.Chart.View3D());
    const double rotation = t.Chart.View3DOptions().RotationValue();
    const double elevation = t.Chart.View3DOptions().ElevationValue();
    t.Press(t.Centre());
    EXPECT_TRUE(t.Tool->Rotating);
    EXPECT_FALSE(t.Chart.View3D()) << "a press turns nothing";
    t.Move(t.Centre() + QPoint(20, -10), Qt::LeftButton);
    EXPECT_TRUE(t.Chart.View3D());
    EXPECT_FALSE(t.Chart.View3DOptions().Orthogonal());
    EXPECT_EQ(t.Rotations, 1);
    const double a = 20 * 90.0 / t.Chart.ChartWidth(), b = 10 * 90.0 / t.Chart.ChartHeight();
    EXPECT_DOUBLE_EQ(t.Chart.View3DOptions().RotationValue(), rotation + a);
    EXPECT_DOUBLE_EQ(t.Chart.View3DOptions().ElevationValue(), std::min(elevation + b, 360.0));
    t.Release(t.Centre() + QPoint(20, -10));
    EXPECT_FALSE(t.Tool->Rotating);
}

TEST(RotateTool, StylesAndInversionChooseTheAnglesAndTheirSigns)
{
    struct TCase {
        TRotateToolStyles Style;
        bool Inverted;
        int RotationSign, ElevationSign;
    };
    const TCase cases[] = {
        {rsAll, false, 1, -1}, {rsAll, true, -1, 1}, {rsRotation, false, 1, 0}, {rsElevation, false, 0, -1}};
    for (const TCase& c : cases) {
        TRotateChart t;
        t.Tool->Style = c.Style;
        t.Tool->Inverted = c.Inverted;
        t.Chart.View3DOptions().SetRotationValue(300);
        t.Chart.View3DOptions().SetElevationValue(300);
        t.Press(t.Centre());
        t.Move(t.Centre() + QPoint(30, 30), Qt::LeftButton);
        t.Release(t.Centre() + QPoint(30, 30));
        const double dr = t.Chart.View3DOptions().RotationValue() - 300;
        const double de = t.Chart.View3DOptions().ElevationValue() - 300;
        EXPECT_EQ((dr > 0) - (dr < 0), c.RotationSign) << c.Style << " " << c.Inverted;
        EXPECT_EQ((de > 0) - (de < 0), c.ElevationSign) << c.Style << " " << c.Inverted;
    }
}

TEST(RotateTool, TheElevationStaysWithin270And360OverALongDragAndTheRotationWraps)
{
    TRotateChart t;
    TView3DOptions& view = t.Chart.View3DOptions();
    QPoint p = t.Centre();
    t.Press(p);
    double highest = 0, lowest = 1000;
    for (int i = 0; i < 40; ++i) {
        p += QPoint(97, -53);
        t.Move(p, Qt::LeftButton);
        highest = std::max(highest, view.ElevationValue());
        lowest = std::min(lowest, view.ElevationValue());
        EXPECT_GE(view.RotationValue(), 0);
        EXPECT_LE(view.RotationValue(), 360);
    }
    EXPECT_EQ(highest, 360) << "upward the elevation stops at 360";
    for (int i = 0; i < 80; ++i) {
        p += QPoint(-101, 61);
        t.Move(p, Qt::LeftButton);
        highest = std::max(highest, view.ElevationValue());
        lowest = std::min(lowest, view.ElevationValue());
        EXPECT_GE(view.RotationValue(), 0);
        EXPECT_LE(view.RotationValue(), 360);
    }
    t.Release(p);
    EXPECT_EQ(lowest, 270) << "downward it stops at 270";
    EXPECT_LE(highest, 360);
}

TEST(RotateTool, WithoutAPenEveryStepRepaints)
{
    TRotateChart t;
    t.Press(t.Centre());
    const int before = t.Paints;
    for (int i = 1; i <= 3; ++i) {
        t.Move(t.Centre() + QPoint(10 * i, -5 * i), Qt::LeftButton);
        PumpMessages();
        EXPECT_EQ(t.Paints, before + i);
    }
    t.Release(t.Centre() + QPoint(30, -15));
}

TEST(RotateTool, WithAVisiblePenOnlyTheOutlineMovesUntilTheRelease)
{
    for (const bool view3D : {false, true}) {
    SCOPED_TRACE(view3D ? "3-D" : "2-D");
    TRotateChart t;
    t.Tool->Pen().SetVisible(true);
    t.Chart.SetView3D(view3D);
    t.Paint();
    const bool repaintSwitch = t.Chart.AutoRepaint();
    const TPicturePixels before = t.Buffer();
    const int paints = t.Paints;
    const QPoint c = t.Centre();
    t.Press(c);
    t.Move(c + QPoint(15, -8), Qt::LeftButton);
    EXPECT_FALSE(t.Chart.AutoRepaint()) << "repainting waits for the release";
    const TPicturePixels first = t.Buffer();
    EXPECT_GT(CountDifferences(before, first), 100) << "the outline is drawn";
    t.Move(c + QPoint(60, -40), Qt::LeftButton);
    const TPicturePixels second = t.Buffer();
    EXPECT_GT(CountDifferences(first, second), 100) << "the outline moved";
    // Back at the first step's angles: the second outline is erased and the first drawn again.
    t.Move(c + QPoint(15, -8), Qt::LeftButton);
    EXPECT_EQ(CountDifferences(first, t.Buffer()), 0);
    PumpMessages();
    EXPECT_EQ(t.Paints, paints) << "no repaint while rotating";
    EXPECT_TRUE(t.Chart.View3D());
    t.Release(c + QPoint(15, -8));
    EXPECT_EQ(t.Chart.AutoRepaint(), repaintSwitch);
    PumpMessages();
    EXPECT_EQ(t.Paints, paints + 1) << "the release repaints";
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
    }
}

TEST(RotateTool, ARotationEndedWithoutItsReleaseStillRestoresRepainting)
{
    for (int how = 0; how < 3; ++how) {
        TRotateChart t;
        t.Tool->Pen().SetVisible(true);
        t.Paint();
        const bool repaintSwitch = t.Chart.AutoRepaint();
        t.Press(t.Centre());
        t.Move(t.Centre() + QPoint(25, 25), Qt::LeftButton);
        ASSERT_FALSE(t.Chart.AutoRepaint());
        const int paints = t.Paints;
        if (how == 0) t.Tool->SetActive(false);
        if (how == 1) t.Tool->SetParentChart(nullptr);
        if (how == 2) delete t.Tool;
        EXPECT_EQ(t.Chart.AutoRepaint(), repaintSwitch) << how;
        PumpMessages();
        EXPECT_EQ(t.Paints, paints + 1) << how;
        if (how == 1) delete t.Tool;
    }
}

TEST(RotateTool, APlotWithoutSizeTurnsNothing)
{
    // Never painted, the chart has a plot rectangle of no size.
    TChart chart(nullptr);
    auto* tool = new TRotateTool(&chart);
    tool->SetParentChart(&chart);
    ASSERT_EQ(chart.ChartWidth(), 0);
    const double rotation = chart.View3DOptions().RotationValue();
    const double elevation = chart.View3DOptions().ElevationValue();
    tool->HandleChartMouse(TChartMouseKind::Press, mbLeft, {}, 10, 10);
    tool->HandleChartMouse(TChartMouseKind::Move, mbLeft, {}, 50, 0);
    EXPECT_EQ(chart.View3DOptions().RotationValue(), rotation);
    EXPECT_EQ(chart.View3DOptions().ElevationValue(), elevation);
    tool->HandleChartMouse(TChartMouseKind::Release, mbLeft, {}, 50, 0);
}

TEST(RotateTool, OnlyItsButtonStartsARotation)
{
    TRotateChart t;
    t.Tool->Button = mbRight;
    t.Press(t.Centre(), Qt::LeftButton);
    EXPECT_FALSE(t.Tool->Rotating);
    t.Release(t.Centre(), Qt::LeftButton);
    t.Press(t.Centre(), Qt::RightButton);
    EXPECT_TRUE(t.Tool->Rotating);
    t.Release(t.Centre(), Qt::RightButton);
}

// ---- Drag marks ------------------------------------------------------------------------------------------

namespace {

void ShowValueMarks(TChartSeries& Series)
{
    Series.Marks().SetStyle(smsValue);
    Series.Marks().SetVisible(true);
}

} // namespace

TEST(DragMarksTool, ADraggedMarkTurnsCustomAndMovesByTheMouse)
{
    TToolChart t;
    ShowValueMarks(*t.Series);
    auto* tool = t.AddTool<TDragMarksTool>();
    t.Paint();
    TSeriesMarksPositions& positions = t.Series->Marks().Positions();
    ASSERT_NE(positions.PositionAt(5), nullptr);
    const TSeriesMarkPosition before = *positions.PositionAt(5);
    const TSeriesMarkPosition other = *positions.PositionAt(6);
    EXPECT_FALSE(before.Custom);
    const TRect box = before.GetBoundsRect();
    const QPoint grab((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    t.Chart.SetCursor(crDefault);
    t.Move(grab);
    EXPECT_EQ(t.Chart.Cursor(), crHandPoint) << "a mark under the mouse";
    t.Press(grab);
    EXPECT_EQ(tool->DragIndex, 5);
    EXPECT_EQ(tool->DragSeries(), t.Series);
    t.Move(grab + QPoint(30, 10), Qt::LeftButton);
    t.Move(grab + QPoint(40, -20), Qt::LeftButton);
    t.Release(grab + QPoint(40, -20));
    EXPECT_EQ(tool->DragIndex, -1);
    t.Paint();
    const TSeriesMarkPosition& after = *positions.PositionAt(5);
    EXPECT_TRUE(after.Custom);
    EXPECT_EQ(after.LeftTop.x, before.LeftTop.x + 40);
    EXPECT_EQ(after.LeftTop.y, before.LeftTop.y - 20);
    EXPECT_EQ(after.ArrowTo.x, before.ArrowTo.x + 40);
    EXPECT_EQ(after.ArrowTo.y, before.ArrowTo.y - 20);
    EXPECT_EQ(after.ArrowFrom.x, before.ArrowFrom.x) << "the arrow's start stays at the point";
    EXPECT_EQ(after.ArrowFrom.y, before.ArrowFrom.y);
    EXPECT_EQ(positions.PositionAt(6)->LeftTop.x, other.LeftTop.x) << "the other marks stay";
    EXPECT_EQ(positions.PositionAt(6)->LeftTop.y, other.LeftTop.y);
    EXPECT_FALSE(positions.PositionAt(6)->Custom);
    // The dragged mark is drawn where it was put.
    EXPECT_EQ(t.Series->Marks().MarkAtPoint(grab.x() + 40, grab.y() - 20), 5);
}

TEST(DragMarksTool, OnlyMarksOfActiveSeriesAndOfTheToolsSeriesAreTaken)
{
    TToolChart t;
    ShowValueMarks(*t.Series);
    auto* tool = t.AddTool<TDragMarksTool>();
    t.Paint();
    const TRect box = t.Series->Marks().Positions().PositionAt(3)->GetBoundsRect();
    const QPoint grab((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    auto& other = AddSeries<TClickTestSeries>(t.Chart, {5, 5, 5});
    tool->SetSeries(&other);
    t.Press(grab);
    EXPECT_EQ(tool->DragIndex, -1) << "the tool's series has no mark there";
    t.Release(grab);
    tool->SetSeries(nullptr);
    t.Series->SetActive(false);
    t.Press(grab);
    EXPECT_EQ(tool->DragIndex, -1) << "an inactive series' marks are not taken";
    t.Release(grab);
}

TEST(DragMarksTool, AFreedSeriesIsForgottenMidDrag)
{
    TToolChart t;
    ShowValueMarks(*t.Series);
    auto* tool = t.AddTool<TDragMarksTool>();
    t.Paint();
    const TRect box = t.Series->Marks().Positions().PositionAt(4)->GetBoundsRect();
    t.Press({box.Left + 2, box.Top + 2});
    ASSERT_EQ(tool->DragSeries(), t.Series);
    delete t.Series;
    t.Series = nullptr;
    EXPECT_EQ(tool->DragSeries(), nullptr);
    t.Move({10, 10}, Qt::LeftButton);
    t.Release({10, 10});
}

// ---- Series animation ------------------------------------------------------------------------------------

namespace {

// A series that counts how often it copies its source's points (a dependent being told).
class TCountingSeries : public TLineTestSeries {
public:
    explicit TCountingSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
    void CopyPointsFrom(TChartSeries& Source) override
    {
        ++Copies;
        TLineTestSeries::CopyPointsFrom(Source);
    }
    int Copies = 0;
};

// A chart of its own (so that a test may free it) with a series of the values 1..Count and an animation
// tool on it.
struct TAnimatedChart {
    std::unique_ptr<TChart> Chart = std::make_unique<TChart>(nullptr);
    TChartSeries* Series = nullptr;
    TSeriesAnimationTool* Tool = nullptr;
    std::vector<double> Real;

    explicit TAnimatedChart(int Count = 10)
    {
        for (int i = 1; i <= Count; ++i) Real.push_back(i);
        Series = &AddSeries(*Chart, Real);
        Tool = new TSeriesAnimationTool(Chart.get());
        Tool->SetParentChart(Chart.get());
        Tool->SetSeries(Series);
    }
    std::vector<double> Values() const
    {
        std::vector<double> v;
        for (int i = 0; i < Series->PointCount(); ++i) v.push_back(Series->YValueAt(i));
        return v;
    }
    // The points now at their real values.
    int AtReal() const
    {
        int n = 0;
        for (int i = 0; i < Series->PointCount(); ++i) n += Series->YValueAt(i) == Real[std::size_t(i)];
        return n;
    }
};

} // namespace

TEST(SeriesAnimationTool, StepsGiveOneMoreStagePerGroupTheFirstAtTheStartValue)
{
    for (const bool atMin : {true, false}) {
        TAnimatedChart a;
        a.Tool->StartAtMin = atMin;
        a.Tool->StartValue = -4;
        const double start = atMin ? 1 : -4;
        std::vector<int> stages;
        bool firstAtStart = true, running = true;
        a.Tool->OnStep = [&](TSeriesAnimationTool* Sender, int Step) {
            stages.push_back(Step);
            running = running && Sender->IsRunning();
            if (Step == 0) {
                for (double v : a.Values()) firstAtStart = firstAtStart && v == start;
            }
            if (Step == 50) {
                EXPECT_DOUBLE_EQ(a.Series->YValueAt(9), 0.5 * 10 + start - start * 0.5);
            }
        };
        a.Tool->Execute();
        ASSERT_EQ(stages.size(), 101u);
        EXPECT_EQ(stages.front(), 0);
        EXPECT_EQ(stages.back(), 100);
        EXPECT_TRUE(firstAtStart);
        EXPECT_TRUE(running);
        EXPECT_FALSE(a.Tool->IsRunning());
        EXPECT_EQ(a.Values(), a.Real) << "ends at the real values";
        EXPECT_FALSE(a.Series->InDataUpdate());
    }
}

TEST(SeriesAnimationTool, DrawEveryAnimatesGroupsEarlierOnesStayingAtTheirFinalValues)
{
    TAnimatedChart a;
    a.Tool->DrawEvery = 3;
    a.Tool->Steps = 4;
    a.Tool->StartAtMin = false;
    std::vector<int> atStart, atEnd;
    a.Tool->OnStep = [&](TSeriesAnimationTool*, int Step) {
        if (Step == 0) atStart.push_back(a.AtReal());
        if (Step == 4) atEnd.push_back(a.AtReal());
    };
    a.Tool->Execute();
    EXPECT_EQ(atStart, (std::vector<int>{0, 3, 6, 9})) << "four groups";
    EXPECT_EQ(atEnd, (std::vector<int>{3, 6, 9, 10})) << "of 3, 3, 3 and 1 points";
}

TEST(SeriesAnimationTool, StoppingFromAStepRestoresTheRealValuesAtOnce)
{
    TAnimatedChart a;
    int calls = 0;
    a.Tool->OnStep = [&](TSeriesAnimationTool* Sender, int Step) {
        ++calls;
        if (Step == 50) Sender->StopAnimation();
    };
    a.Tool->Execute();
    EXPECT_EQ(calls, 51);
    EXPECT_EQ(a.Values(), a.Real);
    EXPECT_FALSE(a.Tool->IsRunning());
}

TEST(SeriesAnimationTool, DependentsAreToldOnceAtTheEnd)
{
    TAnimatedChart a;
    auto* dependent = new TCountingSeries(a.Chart.get());
    dependent->SetParentChart(a.Chart.get());
    dependent->SetDataSource(a.Series);
    dependent->Copies = 0;
    int copiesDuring = 0;
    a.Tool->Steps = 10;
    a.Tool->OnStep = [&](TSeriesAnimationTool*, int) { copiesDuring = std::max(copiesDuring, dependent->Copies); };
    a.Tool->Execute();
    EXPECT_EQ(copiesDuring, 0);
    EXPECT_EQ(dependent->Copies, 1);
    EXPECT_EQ(dependent->YValueAt(9), 10);
}

TEST(SeriesAnimationTool, NoStepsNegativeStepsAndARunWhileRunning)
{
    struct TCase {
        int Steps;
        std::vector<int> Stages;
    };
    const TCase cases[] = {{0, {0}}, {-1, {}}, {2, {0, 1, 2}}};
    for (const TCase& c : cases) {
        TAnimatedChart a(4);
        a.Tool->Steps = c.Steps;
        std::vector<int> stages;
        a.Tool->OnStep = [&](TSeriesAnimationTool* Sender, int Step) {
            stages.push_back(Step);
            if (c.Steps == 0) {
                EXPECT_EQ(a.Values(), a.Real) << "one stage at the real values";
            }
            Sender->Execute(); // does nothing while running
        };
        a.Tool->Execute();
        EXPECT_EQ(stages, c.Stages) << c.Steps;
        EXPECT_EQ(a.Values(), a.Real) << c.Steps;
    }
    TSeriesAnimationTool lonely(nullptr);
    lonely.Execute();
    EXPECT_FALSE(lonely.IsRunning());
}

TEST(SeriesAnimationTool, CircularLoopsRunBackwardEveryOtherPass)
{
    TAnimatedChart a(2);
    a.Tool->Loop = salCircular;
    a.Tool->Steps = 4;
    a.Tool->StartAtMin = false;
    a.Tool->StartValue = 2;
    std::vector<double> last;
    int passes = 0;
    a.Tool->OnStep = [&](TSeriesAnimationTool* Sender, int Step) {
        if (Step == 0) ++passes;
        last.push_back(a.Series->YValueAt(1));
        if (passes == 3 && Step == 1) Sender->StopAnimation();
    };
    a.Tool->Execute();
    // Forward: f O + s (1 - f); backward: (Steps - e) / Steps x O; forward again.
    const std::vector<double> expected{2, 2, 2, 2, 2, 2, 1.5, 1, 0.5, 0, 2, 2};
    EXPECT_EQ(last, expected);
    EXPECT_EQ(a.Values(), a.Real);
}

TEST(SeriesAnimationTool, FreeingWhatItAnimatesFromAStepEndsTheRunAtOnce)
{
    for (int what = 0; what < 3; ++what) {
        SCOPED_TRACE(what == 0 ? "series" : what == 1 ? "tool" : "chart");
        TAnimatedChart a;
        int calls = 0;
        a.Tool->OnStep = [&](TSeriesAnimationTool*, int Step) {
            ++calls;
            if (Step != 3) return;
            if (what == 0) delete a.Series;
            if (what == 1) delete a.Tool;
            if (what == 2) a.Chart.reset();
        };
        TSeriesAnimationTool* tool = a.Tool;
        TChartSeries* series = a.Series;
        tool->Execute();
        EXPECT_EQ(calls, 4);
        if (what == 0) {
            EXPECT_EQ(tool->Series(), nullptr);
            EXPECT_FALSE(tool->IsRunning());
        }
        if (what == 1) {
            EXPECT_EQ(a.Values(), a.Real) << "the series keeps its real values";
            EXPECT_FALSE(series->InDataUpdate());
        }
    }
}

// ---- Clip series -----------------------------------------------------------------------------------------

TEST(ClipSeriesTool, AClippedSeriesLeavesNoPixelOutsideItsAxes)
{
    TToolChart t;
    // Axes shorter than the plot, over the middle of the series' values: the line runs past their ends.
    for (TChartAxis* axis : {&t.Chart.BottomAxis(), &t.Chart.LeftAxis()}) {
        axis->SetStartPosition(20);
        axis->SetEndPosition(80);
        axis->SetFixedRange(2, 8);
    }
    t.Series->SetSeriesColor(clRed);
    const auto redOutside = [&] {
        t.Paint();
        const TChartAxis& h = t.Chart.BottomAxis();
        const TChartAxis& v = t.Chart.LeftAxis();
        int outside = 0, inside = 0;
        for (int y = 0; y < t.Chart.Height(); ++y)
            for (int x = 0; x < t.Chart.Width(); ++x) {
                if (t.BufferPixel(x, y) != clRed) continue;
                const bool in = x >= h.StartPixel && x < h.EndPixel && y >= v.StartPixel && y < v.EndPixel;
                (in ? inside : outside) += 1;
            }
        EXPECT_GT(inside, 0);
        return outside;
    };
    EXPECT_GT(redOutside(), 0) << "unclipped, the line runs past the axes";
    auto* tool = t.AddTool<TClipSeriesTool>();
    tool->SetSeries(t.Series);
    EXPECT_EQ(redOutside(), 0);
    EXPECT_FALSE(tool->Clipped) << "the clip ends with the series' drawing";
    tool->SetActive(false);
    EXPECT_GT(redOutside(), 0) << "an inactive tool does not clip";
    EXPECT_TRUE(bool(t.Series->BeforeDrawValues)) << "its handlers stay bound";
}

TEST(ClipSeriesTool, ItsHandlersReplaceTheUsersAndAreClearedWhenItLetsTheSeriesGo)
{
    TToolChart t;
    int mine = 0;
    t.Series->BeforeDrawValues = [&](TPersistent*) { ++mine; };
    t.Series->AfterDrawValues = [&](TPersistent*) { ++mine; };
    auto* tool = t.AddTool<TClipSeriesTool>();
    tool->SetSeries(t.Series);
    t.Paint();
    EXPECT_EQ(mine, 0) << "replaced";
    auto& other = AddSeries<TClickTestSeries>(t.Chart, {1, 2});
    tool->SetSeries(&other);
    EXPECT_FALSE(bool(t.Series->BeforeDrawValues));
    EXPECT_FALSE(bool(t.Series->AfterDrawValues));
    EXPECT_TRUE(bool(other.BeforeDrawValues));
    tool->SetSeries(nullptr);
    EXPECT_FALSE(bool(other.BeforeDrawValues));
    tool->SetSeries(t.Series);
    delete tool;
    EXPECT_FALSE(bool(t.Series->BeforeDrawValues)) << "cleared when the tool goes";
    EXPECT_FALSE(bool(t.Series->AfterDrawValues));
    // A freed series leaves the tool without touching it.
    auto* again = t.AddTool<TClipSeriesTool>();
    again->SetSeries(t.Series);
    delete t.Series;
    t.Series = nullptr;
    EXPECT_EQ(again->Series(), nullptr);
    t.Paint();
}

// ---- The four on one chart -------------------------------------------------------------------------------

// A chart turned by the rotate tool with a visible outline, a mark dragged aside, a second series clipped
// to short axes, and an animation run to its end. With VSP_MOTION_SHOT set, the window is also saved to
// that file for a person to look at.
TEST(MotionTools, TheFourOnOneChartInAShownWindow)
{
    TToolChart t;
    t.Window->setGeometry(50, 50, 920, 620);
    t.Chart.SetBounds(0, 0, 900, 600);
    t.Chart.Title().Text().SetText("Motion tools");
    t.Series->SetSeriesColor(clNavy);
    ShowValueMarks(*t.Series);
    auto& clipped = AddSeries<TClickTestSeries>(t.Chart, {9, 7, 8, 2, 1, 3, 9, 10, 4, 2, 6});
    clipped.SetSeriesColor(clRed);
    clipped.SetHorizAxis(aTopAxis);
    clipped.SetVertAxis(aRightAxis);
    t.Chart.TopAxis().SetStartPosition(25);
    t.Chart.TopAxis().SetEndPosition(75);
    t.Chart.TopAxis().SetFixedRange(2, 8);
    t.Chart.RightAxis().SetStartPosition(25);
    t.Chart.RightAxis().SetEndPosition(75);
    t.Chart.RightAxis().SetFixedRange(2, 8);
    auto* clip = t.AddTool<TClipSeriesTool>();
    clip->SetSeries(&clipped);
    auto* animation = t.AddTool<TSeriesAnimationTool>();
    animation->SetSeries(t.Series);
    animation->Steps = 10;
    animation->Execute();
    t.Paint();

    // A mark dragged aside in the flat chart.
    auto* drag = t.AddTool<TDragMarksTool>();
    const TRect box = t.Series->Marks().Positions().PositionAt(7)->GetBoundsRect();
    const QPoint grab((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    t.Press(grab);
    ASSERT_EQ(drag->DragIndex, 7);
    t.Move(grab + QPoint(-90, -40), Qt::LeftButton);
    t.Release(grab + QPoint(-90, -40));
    drag->SetActive(false);
    EXPECT_TRUE(t.Series->Marks().Positions().PositionAt(7)->Custom);
    // The rotate tool takes every press of its button: it comes last.
    auto* rotate = t.AddTool<TRotateTool>();
    rotate->Pen().SetVisible(true);
    t.Paint();

    // Turned by the mouse, the outline drawn between paints until the release.
    const TRect r = t.Chart.ChartRect();
    const QPoint c((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    t.Press(c);
    t.Move(c + QPoint(150, 40), Qt::LeftButton);
    t.Move(c + QPoint(300, 80), Qt::LeftButton);
    EXPECT_TRUE(t.Chart.View3D());
    if (const char* file = std::getenv("VSP_MOTION_SHOT")) {
        const std::string outline = std::string(file) + ".outline.png";
        EXPECT_TRUE(t.Window->grab().save(QString::fromUtf8(outline.c_str())));
    }
    t.Release(c + QPoint(300, 80));
    PumpMessages();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
    EXPECT_EQ(t.Series->YValueAt(10), 10) << "the animation ended at the real values";

    if (const char* file = std::getenv("VSP_MOTION_SHOT")) {
        EXPECT_TRUE(t.Window->grab().save(QString::fromUtf8(file)));
    }
}
