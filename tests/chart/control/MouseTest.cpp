// The chart's mouse handling on a real chart window driven by synthetic Qt events: the hit test, the
// tools' share, zooming, panning, the wheel, legend clicks, the axis hint and the three pop-up menus.
#include "ChartTestSupport.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "platform/controls/Application.h"
#include "platform/controls/PopupMenu.h"
#include "platform/controls/Prompter.h"
#include "platform/rtl/TextFile.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

// A line series whose points answer clicks within 3 pixels.
class TClickSeries : public TLineTestSeries {
public:
    explicit TClickSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
    int PointAtPixel(int X, int Y) const override
    {
        for (int i = 0; i < PointCount(); ++i)
            if (std::abs(ScreenXOf(i) - X) <= 3 && std::abs(ScreenYOf(i) - Y) <= 3) return i;
        return -1;
    }
};

// A tool that records what it hears and may take the event.
class TRecordTool : public TLumCustomTool {
public:
    TRecordTool(TComponent* Owner, std::vector<std::string>& Log, std::string Name)
        : TLumCustomTool(Owner), FLog(Log), FName(std::move(Name)) {}
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int, int) override
    {
        // The flag is clear whenever a tool hears an event.
        FLog.push_back(FName + std::to_string(int(Kind)) + (ParentChart()->CancelMouse() ? "!" : ""));
        if (Takes) ParentChart()->SetCancelMouse(true);
    }
    bool Takes = false;

private:
    std::vector<std::string>& FLog;
    std::string FName;
};

void Pump(int turns = 3)
{
    for (int i = 0; i < turns; ++i) Application->ProcessMessages();
}

// A chart of 500 x 360 pixels in a shown window, 2-D, one series (0..10 on both axes) whose points
// answer clicks.
struct TMouseChart {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};
    TClickSeries* Series = nullptr;

    TMouseChart()
    {
        Pump(1);
        Window->setGeometry(50, 50, 520, 380);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, 500, 360);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Series = new TClickSeries(&Chart);
        for (int i = 0; i <= 10; ++i) Series->InsertPoint(i, i);
        Series->SetParentChart(&Chart);
        Window->show();
        Paint();
    }
    void Paint()
    {
        Chart.Invalidate();
        Chart.Repaint();
        Pump();
    }
    QWidget* W() const { return Chart.Widget(); }
    void Send(QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::KeyboardModifiers m = {})
    {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(b);
        QMouseEvent e(t, p, W()->mapToGlobal(p), t == QEvent::MouseMove ? Qt::NoButton : b, held, m);
        QApplication::sendEvent(W(), &e);
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) { Send(QEvent::MouseButtonPress, p, b, m); }
    void Move(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseMove, p, b); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, p, b); }
    void Drag(QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton)
    {
        Press(from, b);
        Move({(from.x() + to.x()) / 2, (from.y() + to.y()) / 2}, b);
        Move(to, b);
        Release(to, b);
        Paint();
    }
    void Wheel(QPoint p, int delta)
    {
        QWheelEvent e(p, W()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(W(), &e);
        Paint();
    }
    // The pixel of a value on the bottom and left axes.
    QPoint At(double x, double y) const { return {Chart.BottomAxis().CalcXPosValue(x), Chart.LeftAxis().CalcYPosValue(y)}; }
};

// ---- Hit test ---------------------------------------------------------------------------------------------

TEST(ChartMouse, FindPartAtTellsEveryKindOfPart)
{
    TMouseChart m;
    TChart& c = m.Chart;
    const std::string texts[] = {"Title", "Sub", "Foot", "SubFoot"};
    c.Title().SetTextLine(&texts[0]);
    c.SubTitle().SetTextLine(&texts[1]);
    c.Foot().SetTextLine(&texts[2]);
    c.SubFoot().SetTextLine(&texts[3]);
    c.Legend().SetVisible(true);
    c.Legend().SetLegendStyle(lsSeries);
    m.Series->SetTitle("One");
    m.Series->Marks().SetVisible(true);
    m.Paint();
    // A mark placed away from the line, where nothing else lies.
    TSeriesMarkPosition& mark = m.Series->Marks().Positions().Ensure(3);
    const QPoint onMark = m.At(8, 2);
    mark.LeftTop = {onMark.x() - 5, onMark.y() - 5};
    mark.Width = 10;
    mark.Height = 10;

    const auto centre = [](const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; };
    const TRect legend = c.Legend().ShapeRect();
    const QPoint point5 = m.At(5, 5);
    struct TCase {
        TPoint P;
        TChartPartKind Kind;
        int Index;
    };
    const TCase cases[] = {
        {{2, 2}, cpNone, -1},
        {{legend.Left + 25, c.Legend().Layout().ItemsTop + 3}, cpLegend, 0},
        {{c.ChartRect().Left - 2, c.ChartRect().Top + 40}, cpAxis, -1},
        {{point5.x(), point5.y()}, cpSeries, 5},
        {centre(c.Title().ShapeRect()), cpTitle, -1},
        {centre(c.Foot().ShapeRect()), cpFoot, -1},
        {{c.ChartRect().Left + 20, c.ChartRect().Bottom - 60}, cpChartRect, -1},
        {{onMark.x(), onMark.y()}, cpSeriesMarks, 3},
        {centre(c.SubTitle().ShapeRect()), cpSubTitle, -1},
        {centre(c.SubFoot().ShapeRect()), cpSubFoot, -1},
    };
    for (const TCase& t : cases) {
        const TChartPartHit hit = c.FindPartAt(t.P, false);
        EXPECT_EQ(hit.Part, t.Kind) << t.P.x << "," << t.P.y;
        EXPECT_EQ(hit.ItemIndex, t.Index) << int(t.Kind);
        EXPECT_EQ(hit.Series, (t.Kind == cpSeries || t.Kind == cpSeriesMarks) ? m.Series : nullptr) << int(t.Kind);
        EXPECT_EQ(hit.Axis != nullptr, t.Kind == cpAxis);
    }
    EXPECT_EQ(c.FindPartAt({c.ChartRect().Left - 2, 100}, false).Axis, &c.LeftAxis());
    // Clickable only: a series nobody listens to is not found; the plot area is.
    EXPECT_EQ(c.FindPartAt({point5.x(), point5.y()}, true).Part, cpChartRect);
    m.Series->SetActive(false);
    EXPECT_EQ(c.FindPartAt({c.ChartRect().Left + 20, c.ChartRect().Bottom - 60}, false).Part, cpNone);
}

TEST(ChartMouse, AxisNamesWithoutTitles)
{
    TMouseChart m;
    TChart& c = m.Chart;
    EXPECT_EQ(AxisTitleOrName(c.LeftAxis()), "Left Axis");
    EXPECT_EQ(AxisTitleOrName(c.RightAxis()), "Right Axis");
    EXPECT_EQ(AxisTitleOrName(c.TopAxis()), "Top Axis");
    EXPECT_EQ(AxisTitleOrName(c.BottomAxis()), "Bottom Axis");
    EXPECT_EQ(AxisTitleOrName(c.DepthAxis()), "Depth Right");
    EXPECT_EQ(AxisTitleOrName(c.DepthTopAxis()), "Depth Top");
    c.LeftAxis().Title().SetCaption("dU, mV");
    EXPECT_EQ(AxisTitleOrName(c.LeftAxis()), "dU, mV");
}

// ---- Tools -------------------------------------------------------------------------------------------------

TEST(ChartMouse, ToolsHearEventsInOrderUntilOneTakesThem)
{
    TMouseChart m;
    std::vector<std::string> log;
    auto* a = new TRecordTool(&m.Chart, log, "a");
    auto* off = new TRecordTool(&m.Chart, log, "off");
    auto* b = new TRecordTool(&m.Chart, log, "b");
    auto* c = new TRecordTool(&m.Chart, log, "c");
    for (TLumCustomTool* t : {static_cast<TLumCustomTool*>(a), static_cast<TLumCustomTool*>(off),
                              static_cast<TLumCustomTool*>(b), static_cast<TLumCustomTool*>(c)})
        t->SetParentChart(&m.Chart);
    off->SetActive(false);
    const QPoint from = m.At(2, 8), to = m.At(6, 3);
    m.Press(from);
    m.Move(to);
    m.Release(to);
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "b0", "c0", "a1", "b1", "c1", "a2", "b2", "c2"}));
    m.Paint();
    EXPECT_TRUE(m.Chart.IsZoomed());  // the same drag zoomed
    m.Chart.UndoZoom();

    // b takes the press: c never hears it and no zoom starts.
    log.clear();
    b->Takes = true;
    m.Press(from);
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "b0"}));
    EXPECT_FALSE(m.Chart.Zoom().Active);
    m.Release(to);
    EXPECT_FALSE(m.Chart.IsZoomed());
}

// ---- Zoom -------------------------------------------------------------------------------------------------

TEST(ChartMouse, ZoomDragSetsTheValuesUnderTheCornersAndBackwardsUndoes)
{
    TMouseChart m;
    TChart& c = m.Chart;
    const double left0 = c.LeftAxis().Minimum(), right0 = c.LeftAxis().Maximum();
    const QPoint from = m.At(2, 8), to = m.At(6, 3);
    const double x0 = c.BottomAxis().PixelToValue(from.x()), x1 = c.BottomAxis().PixelToValue(to.x());
    const double y0 = c.LeftAxis().PixelToValue(to.y()), y1 = c.LeftAxis().PixelToValue(from.y());
    int zooms = 0, undos = 0;
    c.OnZoom = [&](TPersistent*) { ++zooms; };
    c.OnUndoZoom = [&](TPersistent*) { ++undos; };
    const std::unique_ptr<TBitmap> before = RenderChart(c);
    m.Drag(from, to);
    EXPECT_EQ(zooms, 1);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), x0);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Maximum(), x1);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), y0);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Maximum(), y1);
    EXPECT_FALSE(c.LeftAxis().Automatic());
    EXPECT_TRUE(c.Zoomed());
    // The band was drawn twice per corner: none of its pixels stays on the control.
    c.Repaint();
    const std::unique_ptr<TBitmap> zoomed = RenderChart(c);
    for (int y = 0; y < 360; y += 3)
        for (int x = 0; x < 500; x += 3) {
            ASSERT_EQ(c.Canvas().GetPixel(x, y), zoomed->Canvas().GetPixel(x, y)) << x << "," << y;
        }

    // A second zoom inside the first; then one backwards drag restores the scales before the first.
    m.Drag(m.At(3, 6), m.At(5, 4));
    EXPECT_EQ(zooms, 2);
    m.Drag(m.At(5, 4), m.At(3, 6));
    EXPECT_EQ(undos, 1);
    EXPECT_TRUE(c.LeftAxis().Automatic());
    EXPECT_FALSE(c.Zoomed());
    EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), left0);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Maximum(), right0);
    const std::unique_ptr<TBitmap> after = RenderChart(c);
    EXPECT_EQ(after->ToPixels().Pixels, before->ToPixels().Pixels);
}

TEST(ChartMouse, ShortDragsAndDirections)
{
    struct TCase {
        TLumZoomDirection Direction;
        int Dx, Dy;
        bool ZoomsX, ZoomsY;
    };
    // 16 pixels is not enough; 17 is. Each direction tests only its own extent.
    const TCase cases[] = {
        {tzdBoth, 16, 40, false, false}, {tzdBoth, 40, 16, false, false}, {tzdBoth, 17, 17, true, true},
        {tzdHorizontal, 40, 2, true, false}, {tzdHorizontal, 16, 80, false, false},
        {tzdVertical, 2, 40, false, true}, {tzdVertical, 80, 16, false, false},
    };
    for (const TCase& t : cases) {
        TMouseChart m;
        TChart& c = m.Chart;
        c.Zoom().SetDirection(t.Direction);
        const double bx0 = c.BottomAxis().Minimum(), bx1 = c.BottomAxis().Maximum();
        const double ly0 = c.LeftAxis().Minimum(), ly1 = c.LeftAxis().Maximum();
        const QPoint from = m.At(3, 7);
        m.Drag(from, from + QPoint(t.Dx, t.Dy));
        const bool zoomedX = c.BottomAxis().Minimum() != bx0 || c.BottomAxis().Maximum() != bx1;
        const bool zoomedY = c.LeftAxis().Minimum() != ly0 || c.LeftAxis().Maximum() != ly1;
        EXPECT_EQ(zoomedX, t.ZoomsX) << t.Direction << " " << t.Dx << "," << t.Dy;
        EXPECT_EQ(zoomedY, t.ZoomsY) << t.Direction << " " << t.Dx << "," << t.Dy;
        if (t.Direction == tzdHorizontal && t.ZoomsX) {
            // The whole height stays: the vertical range is the chart rectangle's.
            EXPECT_NEAR(c.LeftAxis().Maximum(), ly1, 1e-9);
        }
    }
}

// ---- Panning ----------------------------------------------------------------------------------------------

TEST(ChartMouse, PanningMovesTheValuesUnderTheMouseWithIt)
{
    enum TKind { Linear, Log, SignedLog };
    for (TKind kind : {Linear, Log, SignedLog}) {
        TMouseChart m;
        TChart& c = m.Chart;
        if (kind != Linear) {
            c.LeftAxis().SetLogarithmic(true);
            c.LeftAxis().SetFixedRange(kind == Log ? 1 : -100, 1000);
            c.BottomAxis().SetFixedRange(0, 10);
            m.Paint();
        }
        ASSERT_EQ(c.LeftAxis().SignedLogMode, kind == SignedLog);
        // The ends move by what lies between the two points, in the axis' own scale (the plot may shift
        // sideways afterwards as the labels change width, so the ranges are compared, not the pixels).
        const QPoint from(200, 200), to(260, 150);
        TChartAxis& h = c.BottomAxis();
        TChartAxis& v = c.LeftAxis();
        const double dx = h.PixelToValue(from.x()) - h.PixelToValue(to.x());
        const double h0 = h.Minimum(), h1 = h.Maximum(), v0 = v.Minimum(), v1 = v.Maximum();
        const double c0 = v.SignedLogScale;
        const auto scale = [&](double value) {
            return kind == Linear ? value : kind == Log ? std::log(value) : SymLogTransform(c0, value);
        };
        const double dy = scale(v.PixelToValue(from.y())) - scale(v.PixelToValue(to.y()));
        int scrolls = 0;
        c.OnScroll = [&](TPersistent*) { ++scrolls; };
        m.Drag(from, to, Qt::RightButton);
        EXPECT_GE(scrolls, 1) << kind;
        EXPECT_NEAR(h.Minimum(), h0 + dx, 1e-9) << kind;
        EXPECT_NEAR(h.Maximum(), h1 + dx, 1e-9) << kind;
        EXPECT_NEAR(scale(v.Minimum()), scale(v0) + dy, 1e-9) << kind;
        EXPECT_NEAR(scale(v.Maximum()), scale(v1) + dy, 1e-9) << kind;

        // Undo returns to the ranges before the pan.
        c.UndoZoom();
        m.Paint();
        if (kind == Linear) {
            EXPECT_TRUE(c.LeftAxis().Automatic());
        } else {
            EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), kind == Log ? 1 : -100);
            EXPECT_DOUBLE_EQ(c.LeftAxis().Maximum(), 1000);
        }
    }
}

TEST(ChartMouse, AllowScrollChangesOrRefusesAndLeavingStopsThePan)
{
    TMouseChart m;
    TChart& c = m.Chart;
    c.BottomAxis().SetFixedRange(0, 10);
    c.LeftAxis().SetFixedRange(0, 10);
    m.Paint();
    c.OnAllowScroll = [&](TChartAxis* axis, double& lo, double& hi, bool& allow) {
        if (axis == &c.LeftAxis()) allow = false;
        if (axis == &c.BottomAxis()) {
            lo = 100;
            hi = 200;
        }
    };
    m.Drag({200, 200}, {260, 150}, Qt::RightButton);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Minimum(), 0);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), 100);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Maximum(), 200);

    c.OnAllowScroll = nullptr;
    m.Press({200, 200}, Qt::RightButton);
    EXPECT_TRUE(c.Panning().Active);
    m.Move({2, 2}, Qt::RightButton);  // outside the chart rectangle
    EXPECT_FALSE(c.Panning().Active);
    const double lo = c.BottomAxis().Minimum();
    m.Move({250, 200}, Qt::RightButton);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), lo);
    m.Release({250, 200}, Qt::RightButton);

    // Shift with the panning button starts nothing.
    m.Press({200, 200}, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_FALSE(c.Panning().Active);
}

// ---- Wheel ------------------------------------------------------------------------------------------------

TEST(ChartMouse, WheelScrollsTheVerticalAxesByThreePercent)
{
    TMouseChart m;
    TChart& c = m.Chart;
    c.LeftAxis().SetFixedRange(0, 10);
    c.BottomAxis().SetFixedRange(0, 10);
    c.RightAxis().SetLogarithmic(true);
    c.RightAxis().SetFixedRange(1, 10000);
    m.Paint();
    m.Wheel({200, 200}, -120);  // a turn down
    EXPECT_NEAR(c.LeftAxis().Minimum(), 0.3, 1e-12);
    EXPECT_NEAR(c.LeftAxis().Maximum(), 10.3, 1e-12);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), 0);
    // Logarithmic: both ends by 3 % of 4 decades, the minimum stays above 0.
    EXPECT_NEAR(std::log10(c.RightAxis().Minimum()), 0.12, 1e-9);
    EXPECT_NEAR(std::log10(c.RightAxis().Maximum()), 4.12, 1e-9);
    for (int i = 0; i < 3; ++i) m.Wheel({200, 200}, 120);  // three turns up
    EXPECT_NEAR(c.LeftAxis().Minimum(), 0.3 - 3 * 0.3, 1e-12);
    EXPECT_GT(c.RightAxis().Minimum(), 0);
    EXPECT_NEAR(std::log10(c.RightAxis().Minimum()), 0.12 - 3 * 0.12, 1e-9);
}

// ---- Clicks -----------------------------------------------------------------------------------------------

TEST(ChartMouse, ClickEventsAndTheBackgroundOncePerPress)
{
    TMouseChart m;
    TChart& c = m.Chart;
    std::vector<std::string> log;
    m.Series->OnClick = [&](TChartSeries*, int i, TMouseButton, TShiftState, int, int) { log.push_back("series " + std::to_string(i)); };
    c.OnClickSeries = [&](TCustomChart*, TChartSeries*, int i, TMouseButton, TShiftState, int, int) {
        log.push_back("chart series " + std::to_string(i));
    };
    c.OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) {
        log.push_back("background");
        c.SetCancelMouse(false);  // declines: a zoom may start
    };
    c.OnClickAxis = [&](TCustomChart*, TChartAxis* a, TMouseButton, TShiftState, int, int) {
        log.push_back(a == &c.LeftAxis() ? "left axis" : "axis");
    };
    c.Zoom().SetAllow(false);
    c.SetAllowPanning(pmNone);
    m.Press(m.At(4, 4));
    m.Release(m.At(4, 4));
    m.Press(m.At(8, 2));
    m.Release(m.At(8, 2));
    m.Press({c.ChartRect().Left - 2, 100});
    m.Release({c.ChartRect().Left - 2, 100});
    EXPECT_EQ(log, (std::vector<std::string>{"series 4", "chart series 4", "background", "left axis"}));
}

TEST(ChartMouse, ShiftLeftClickOnTheLegendFlipsEveryListedSeries)
{
    TMouseChart m;
    TChart& c = m.Chart;
    auto& second = AddSeries(c, {3, 2, 1}, "Two");
    auto& hidden = AddSeries(c, {1, 1, 1}, "Hidden");
    hidden.SetShowInLegend(false);
    m.Series->SetTitle("One");
    c.Legend().SetVisible(true);
    m.Paint();
    const QPoint item(c.Legend().ShapeRect().Left + 30, c.Legend().Layout().ItemsTop + 4);
    m.Press(item, Qt::LeftButton, Qt::ShiftModifier);
    m.Release(item);
    EXPECT_FALSE(m.Series->Active());
    EXPECT_FALSE(second.Active());
    EXPECT_TRUE(hidden.Active());
}

TEST(ChartMouse, LegendCheckBoxesByCheckMode)
{
    for (int mode = 0; mode < 3; ++mode) {
        TMouseChart m;
        TChart& c = m.Chart;
        AddSeries(c, {3, 2, 1}, "Two");
        c.Legend().SetVisible(true);
        c.Legend().SetCheckBoxes(true);
        c.SetLegendCheckMode(mode);
        m.Paint();
        const QPoint item(c.Legend().Layout().CheckBoxX + 5, c.Legend().Layout().ItemsTop + 4);
        m.Press(item);
        m.Release(item);
        EXPECT_EQ(m.Series->Active(), mode != 0) << mode;
        EXPECT_EQ(m.Series->ExcludeFromXRange(), mode == 1) << mode;
        EXPECT_EQ(m.Series->ExcludeFromYRange(), mode == 2) << mode;
    }
}

TEST(ChartMouse, AxisHintAtMostTenTimes)
{
    TMouseChart m;
    TChart& c = m.Chart;
    const QPoint onAxis(c.ChartRect().Left - 2, 120), inside(250, 150);
    for (int i = 0; i < 14; ++i) {
        m.Move(onAxis);
        EXPECT_EQ(c.Cursor(), crHandPoint);
        EXPECT_EQ(c.Hint(), i < 10 ? AxisSettingsHint : "") << i;
        m.Move(inside);
        EXPECT_EQ(c.Hint(), "");
    }
    EXPECT_EQ(c.AxisHintCount, 10);
    EXPECT_EQ(c.Cursor(), c.SavedCursor());

    // In 2-D the application shows the hint at once, under the mouse.
    TMouseChart fresh;
    fresh.Move(onAxis);
    const THintRecord& hint = Application->LastHint();
    EXPECT_TRUE(hint.Shown);
    EXPECT_EQ(hint.Text, AxisSettingsHint);
    EXPECT_EQ(hint.Control, &fresh.Chart);
    const TPoint screen = fresh.Chart.ClientToScreen({onAxis.x(), onAxis.y()});
    EXPECT_EQ(hint.Pos, (TPoint{screen.x, screen.y + 20}));
}

// ---- Pop-up menus -----------------------------------------------------------------------------------------

// Answers the next pop-up menu: records "caption[*]" of each item, then picks one (or none: -1).
void PickFromMenu(TPromptScript& script, std::vector<std::string>& seen, int pick)
{
    script.Expect(TPromptKind::PopupMenu, [&seen, pick](TPrompt& p) {
        for (int i = 0; i < p.Menu->Count(); ++i) {
            const TMenuItem* item = p.Menu->Items(i);
            seen.push_back(item->Caption() + (item->Checked() ? "*" : "") + (item->Enabled() ? "" : "-"));
        }
        p.MenuIndex = pick;
        p.Result = pick >= 0 ? mrOk : mrCancel;
    });
}

struct THooks {
    THooks() { ChartEditorHooks() = {}; }
    ~THooks() { ChartEditorHooks() = {}; }
};

TEST(ChartMouse, LegendMenuShowsAndSetsTheCheckMode)
{
    THooks hooks;
    TMouseChart m;
    TChart& c = m.Chart;
    AddSeries(c, {3, 2, 1}, "Two");
    c.Legend().SetVisible(true);
    m.Paint();
    int events = 0;
    c.OnSeriesMenuClick = [&](TPersistent* sender) {
        EXPECT_EQ(sender, &c);
        ++events;
    };
    const QPoint item(c.Legend().ShapeRect().Left + 30, c.Legend().Layout().ItemsTop + 4);
    for (int pick : {3, 2, 1}) {
        std::vector<std::string> seen;
        TPromptScript script;
        PickFromMenu(script, seen, pick);
        m.Press(item, Qt::RightButton, Qt::ShiftModifier);
        m.Release(item, Qt::RightButton);
        const int before = pick == 3 ? 0 : (pick == 2 ? 2 : 1);
        std::vector<std::string> expected = {"Options-", "Visible", "X auto", "Y auto"};
        expected[std::size_t(before) + 1] += "*";
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(c.LegendCheckMode(), pick - 1);
        EXPECT_TRUE(script.Failures().empty());
    }
    EXPECT_EQ(events, 3);

    // With the hook installed "Options" opens the legend editor.
    TChartLegend* edited = nullptr;
    ChartEditorHooks().ShowLegendEditor = [&](TCustomChart&, TChartLegend& legend) { edited = &legend; };
    std::vector<std::string> seen;
    TPromptScript script;
    PickFromMenu(script, seen, 0);
    m.Press(item, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(seen[0], "Options");
    EXPECT_EQ(edited, &c.Legend());
}

TEST(ChartMouse, AxisMenuFixesAndRestoresTheDefault)
{
    THooks hooks;
    TMouseChart m;
    TChart& c = m.Chart;
    c.StoreAxesDefaults();
    int events = 0;
    c.OnAxisMenuClick = [&](TPersistent* sender) {
        EXPECT_EQ(sender, &c);
        ++events;
    };
    const QPoint onAxis(c.ChartRect().Left - 2, 120);
    {
        std::vector<std::string> seen;
        TPromptScript script;
        PickFromMenu(script, seen, 2);  // "Fix"
        m.Press(onAxis, Qt::RightButton, Qt::ShiftModifier);
        EXPECT_EQ(seen, (std::vector<std::string>{"Options-", "Default", "Fix"}));
        EXPECT_EQ(c.ClickedAxis, &c.LeftAxis());
        EXPECT_FALSE(c.LeftAxis().Automatic());
    }
    // The default brings the look and the placement back.
    c.LeftAxis().SetInverted(true);
    c.LeftAxis().SetOtherSide(true);
    c.LeftAxis().Grid().SetVisible(false);
    {
        std::vector<std::string> seen;
        TPromptScript script;
        PickFromMenu(script, seen, 1);
        m.Press(onAxis, Qt::RightButton, Qt::ShiftModifier);
    }
    m.Paint();
    EXPECT_FALSE(c.LeftAxis().Inverted());
    EXPECT_FALSE(c.LeftAxis().OtherSide());
    EXPECT_TRUE(c.LeftAxis().Grid().Visible());
    EXPECT_EQ(events, 2);

    TChartAxis* dialogAxis = nullptr;
    ChartEditorHooks().ShowAxisDialog = [&](TCustomChart& chart, TChartAxis& axis) {
        EXPECT_EQ(&chart, &c);
        dialogAxis = &axis;
    };
    std::vector<std::string> seen;
    TPromptScript script;
    PickFromMenu(script, seen, 0);
    m.Press({250, c.ChartRect().Bottom + 2}, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(dialogAxis, &c.BottomAxis());
}

TEST(ChartMouse, SeriesMenuDefaultOptionsAndLock)
{
    THooks hooks;
    TMouseChart m;
    TChart& c = m.Chart;
    TChartSeries* edited = nullptr;
    ChartEditorHooks().ShowGraphicEditor = [&](TChartSeries& s) { edited = &s; };
    std::vector<TPersistent*> senders;
    c.OnSeriesMenuClick = [&](TPersistent* sender) { senders.push_back(sender); };
    const QPoint p = m.At(4, 4);
    {
        std::vector<std::string> seen;
        TPromptScript script;
        PickFromMenu(script, seen, 0);
        m.Press(p, Qt::RightButton, Qt::ShiftModifier);
        EXPECT_EQ(seen, (std::vector<std::string>{"Options", "Default", "Save"}));
        EXPECT_EQ(edited, m.Series);
    }
    EXPECT_EQ(senders, (std::vector<TPersistent*>{m.Series}));

    // "Default" gives the series back the look it stored (through the series style hooks, here a
    // colour-only style).
    {
        struct TStyleHooks {
            TLumEngineStyleHooks Saved = LumEngineModule().Style;
            ~TStyleHooks() { LumEngineModule().Style = Saved; }
        } restore;
        LumEngineModule().Style.WriteSeriesStyle = [](TChartSeries& s) { return std::to_string(s.SeriesColor()); };
        LumEngineModule().Style.ReadSeriesStyle = [](TChartSeries& s, const std::string& text) {
            s.SetSeriesColor(static_cast<TColor>(std::stoul(text)));
            return true;
        };
        m.Series->SetSeriesColor(clGreen);
        m.Series->StoreDefaultStyle();
        m.Series->SetSeriesColor(clFuchsia);
        std::vector<std::string> seen;
        TPromptScript script;
        PickFromMenu(script, seen, 1);
        m.Press(p, Qt::RightButton, Qt::ShiftModifier);
        EXPECT_TRUE(script.Failures().empty());
        EXPECT_EQ(m.Series->SeriesColor(), clGreen);
        EXPECT_EQ(c.ClickedSeries, m.Series);
    }
    EXPECT_EQ(senders, (std::vector<TPersistent*>{m.Series, m.Series}));

    // An edit-locked series gets no menu, its click event still fires.
    m.Series->SetEditLocked(true);
    int clicks = 0;
    m.Series->OnClick = [&](TChartSeries*, int, TMouseButton, TShiftState, int, int) { ++clicks; };
    TPromptScript script;
    m.Press(p, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(script.Log().empty());

    // A right-click on a legend item opens the editor of the series it lists; a values legend's item is a
    // point of the legend's series.
    m.Series->SetEditLocked(false);
    auto& second = AddSeries(c, {1, 2, 3}, "Two");
    c.Legend().SetVisible(true);
    c.Legend().SetLegendStyle(lsSeries);
    m.Paint();
    const QPoint secondItem(c.Legend().ShapeRect().Left + 30, c.Legend().Layout().ItemsTop + c.Legend().Layout().ItemHeight + 4);
    m.Press(secondItem, Qt::RightButton);
    EXPECT_EQ(edited, &second);
    c.Legend().SetLegendStyle(lsValues);
    c.Legend().SetSeries(m.Series);
    m.Paint();
    edited = nullptr;
    const QPoint secondPoint(c.Legend().ShapeRect().Left + 10, c.Legend().Layout().ItemsTop + c.Legend().Layout().ItemHeight + 4);
    ASSERT_EQ(c.FindPartAt({secondPoint.x(), secondPoint.y()}, true).ItemIndex, 1)
        << int(c.FindPartAt({secondPoint.x(), secondPoint.y()}, true).Part) << " " << secondPoint.x() << ","
        << secondPoint.y() << " " << c.Legend().ShapeRect().Left << "," << c.Legend().ShapeRect().Top << ","
        << c.Legend().ShapeRect().Right << "," << c.Legend().ShapeRect().Bottom << " " << c.Legend().Layout().ItemHeight;
    m.Press(secondPoint, Qt::RightButton);  // the legend's second point, of the legend's series
    EXPECT_EQ(edited, m.Series);
}

TEST(ChartMouse, SeriesMenuSavesThePointsAsText)
{
    TMouseChart m;
    TChart& c = m.Chart;
    m.Series->ClearPoints();
    m.Series->InsertPoint(1.5, -2);
    m.Series->InsertPoint(2.5, 1e-3);
    c.BottomAxis().LabelValueOffset = 10;
    c.LeftAxis().LabelValueScale = -2;  // the sign is kept
    m.Paint();
    const std::string dir = ::testing::TempDir() + "series_save";
    std::filesystem::create_directories(dir);
    TPromptScript script;
    std::vector<std::string> seen;
    PickFromMenu(script, seen, 2);
    script.Expect(TPromptKind::SaveDialog, [&](TPrompt& p) {
        EXPECT_EQ(p.File->Filter, "Text files|*.txt");
        p.File->FileName = dir + "/points.dat";
        p.Result = mrOk;
    });
    m.Press(m.At(1.5, -2), Qt::RightButton, Qt::ShiftModifier);
    EXPECT_TRUE(script.Failures().empty());
    std::string bytes;
    ASSERT_TRUE(LoadFileBytes(dir + "/points.txt", bytes));
    EXPECT_EQ(bytes, "X\tY\r\n"
                     " 1.15000000000000E+0001\t 4.00000000000000E+0000\r\n"
                     " 1.25000000000000E+0001\t-2.00000000000000E-0003\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "/points.dat"));
}

} // namespace
