// Windowed controls on the offscreen platform: the back buffer and the paint cycle (an XOR band drawn
// twice leaves the window as it was, with event-loop turns between the draws), input delivered to the
// virtual methods, the panel frame properties, window regions, parents, timers, screen and clipboard.
#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/SystemColors.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A panel that paints a known face and records what reaches it.
class TProbePanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;

    int Paints = 0;
    std::vector<std::string> Log;

protected:
    void Paint() override
    {
        ++Paints;
        TCustomPanel::Paint();
        Canvas().Pen().SetColor(clBlack);
        Canvas().MoveTo(0, 0);
        Canvas().LineTo(Width(), Height());
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log.push_back("down " + std::to_string(b) + Shift(s) + " " + std::to_string(x) + "," + std::to_string(y));
        TCustomPanel::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log.push_back("up " + std::to_string(b) + Shift(s) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        Log.push_back("move" + Shift(s) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void Click() override { Log.push_back("click"); }
    void DblClick() override { Log.push_back("dblclick"); }
    void MouseEnter() override { Log.push_back("enter"); }
    void MouseLeave() override { Log.push_back("leave"); }
    void KeyDown(std::uint16_t& key, TShiftState s) override
    {
        Log.push_back("keydown " + std::to_string(key) + Shift(s));
        if (key == VK_ESCAPE) key = 0;  // swallowed: no KeyPress follows
    }
    void KeyPress(char& key) override { Log.push_back(std::string("keypress ") + key); }
    bool DoMouseWheel(TShiftState s, int delta, TPoint pos) override
    {
        Log.push_back("wheel " + std::to_string(delta) + Shift(s) + " " + std::to_string(pos.x) + "," + std::to_string(pos.y));
        return true;
    }
    void DoEnter() override { Log.push_back("enter-focus"); }
    void DoExit() override { Log.push_back("exit-focus"); }
    void Resize() override { Log.push_back("resize " + std::to_string(Width()) + "x" + std::to_string(Height())); }

private:
    static std::string Shift(TShiftState s)
    {
        std::string out;
        const char* names[] = {"Shift", "Alt", "Ctrl", "Left", "Right", "Middle", "Double"};
        for (int i = ssShift; i <= ssDouble; ++i)
            if (s.Contains(static_cast<TShiftStateItem>(i))) out += std::string(" ") + names[i];
        return out;
    }
};

// A window of form code hosting the control, shown on the offscreen screen.
struct Host {
    Host()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(50, 50, 240, 180);
    }
    void Show()
    {
        Window->show();
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // What the screen shows of the window.
    QImage Shot() const { return Window->screen()->grabWindow(Window->winId()).toImage().convertToFormat(QImage::Format_RGB32); }
    std::unique_ptr<QWidget> Window;
};

TEST(CustomControl, XorBandDrawnTwiceLeavesTheWindowAsItWas)
{
    Host host;
    TProbePanel panel(nullptr);
    panel.SetParentWidget(host.Window.get());
    panel.SetBounds(20, 10, 160, 120);
    host.Show();
    ASSERT_EQ(panel.Paints, 1);
    const QImage before = host.Shot();
    // The panel's face is on the screen: its raised bevel's highlight at the top-left corner.
    EXPECT_EQ(QColor(before.pixel(20 + 5, 10)), QtColorOf(clBtnHighlight));
    EXPECT_EQ(QColor(before.pixel(20 + 5, 10 + 119)), QtColorOf(clBtnShadow));

    const auto band = [&] {
        TCanvas& c = panel.Canvas();
        c.Pen().SetMode(pmNotXor);
        c.Pen().SetColor(clBlack);
        c.Brush().SetStyle(bsClear);
        c.Rectangle(30, 30, 90, 70);
        c.Pen().SetMode(pmCopy);
    };
    band();
    Application->ProcessMessages();
    const QImage during = host.Shot();
    EXPECT_NE(during, before);
    EXPECT_NE(during.pixel(20 + 30, 10 + 30), before.pixel(20 + 30, 10 + 30));  // the band's corner shows
    // Another turn, an uncovered window: the buffer is shown as it is, Paint does not run again.
    host.Window->update();
    Application->ProcessMessages();
    EXPECT_EQ(host.Shot(), during);
    EXPECT_EQ(panel.Paints, 1);

    band();
    Application->ProcessMessages();
    EXPECT_EQ(host.Shot(), before);
    EXPECT_EQ(panel.Paints, 1);

    panel.Invalidate();
    Application->ProcessMessages();
    EXPECT_EQ(panel.Paints, 2);
    panel.SetBounds(20, 10, 100, 80);  // a resize repaints too
    Application->ProcessMessages();
    EXPECT_EQ(panel.Paints, 3);
}

TEST(CustomControl, InputReachesTheVirtualMethods)
{
    Host host;
    TProbePanel panel(nullptr);
    panel.SetParentWidget(host.Window.get());
    panel.SetBounds(0, 0, 100, 80);
    host.Show();
    panel.Log.clear();
    QWidget* w = panel.Widget();
    const auto mouse = [&](QEvent::Type t, Qt::MouseButton b, Qt::MouseButtons held, QPoint p, Qt::KeyboardModifiers m = {}) {
        QMouseEvent e(t, p, w->mapToGlobal(p), b, held, m);
        QApplication::sendEvent(w, &e);
    };
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 20}, Qt::ShiftModifier);
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {12, 21});
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 21});
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {12, 21});
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 21});
    mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {5, 5}, Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {5, 5});
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {150, 5});  // released outside: no click
    const std::vector<std::string> expected = {
        "down 0 Shift Left 10,20", "move Left 12,21", "click", "up 0 12,21",
        "dblclick", "down 0 Left Double 12,21", "click", "up 0 12,21",
        "down 1 Ctrl Right 5,5", "up 1 5,5",
        "down 0 Left 5,5", "up 0 150,5",
    };
    EXPECT_EQ(panel.Log, expected);

    panel.Log.clear();
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::ShiftModifier);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    for (QKeyEvent* e : {&left, &letter, &escape, &space}) QApplication::sendEvent(w, e);
    const QPoint global = w->mapToGlobal(QPoint(30, 40));
    QWheelEvent wheel(QPointF(30, 40), QPointF(global), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    EXPECT_TRUE(wheel.isAccepted());
    const std::vector<std::string> keys = {
        "keydown 37 Shift", "keydown 65", "keypress a", "keydown 27", "keydown 32", "keypress  ",
        "wheel -120 Ctrl " + std::to_string(global.x()) + "," + std::to_string(global.y()),
    };
    EXPECT_EQ(panel.Log, keys);

    panel.Log.clear();
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(w, &enter);
    QApplication::sendEvent(w, &leave);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason), out(QEvent::FocusOut, Qt::TabFocusReason),
        popup(QEvent::FocusOut, Qt::PopupFocusReason);
    for (QFocusEvent* e : {&in, &popup, &out}) QApplication::sendEvent(w, e);
    EXPECT_EQ(panel.Log, (std::vector<std::string>{"enter", "leave", "enter-focus", "exit-focus"}));
}

TEST(CustomControl, EventHandlerExceptionsReachTheDefaultHandler)
{
    Host host;
    TCustomPanel panel(nullptr);
    panel.SetParentWidget(host.Window.get());
    panel.SetBounds(0, 0, 50, 50);
    host.Show();
    panel.OnMouseDown = [](TPersistent*, TMouseButton, TShiftState, int, int) { throw ERangeError(); };
    TPromptScript script;
    script.AnswerMessage(mrOk);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), panel.Widget()->mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(panel.Widget(), &press);
    ASSERT_EQ(script.Log().size(), 1u);
    EXPECT_EQ(script.Log()[0].Text, "Range check error.");
}

TEST(CustomControl, ResizeIsReportedOncePerSize)
{
    TProbePanel panel(nullptr);
    panel.Log.clear();
    panel.SetBounds(0, 0, 70, 40);
    panel.SetBounds(5, 5, 70, 40);  // moved only
    panel.SetWidth(90);
    EXPECT_EQ(panel.Log, (std::vector<std::string>{"resize 70x40", "resize 90x40"}));
    EXPECT_EQ(panel.Canvas().GetDeviceCaps(HORZRES), 90);
}

TEST(CustomPanel, FrameDefaultsAndStoredRules)
{
    TCustomPanel panel(nullptr);
    EXPECT_EQ(panel.BorderWidth(), 0);
    EXPECT_EQ(panel.BevelInner(), bvNone);
    EXPECT_EQ(panel.BevelOuter(), bvRaised);
    EXPECT_EQ(panel.BevelWidth(), 1);
    EXPECT_EQ(panel.Color(), clBtnFace);
    EXPECT_EQ(panel.Cursor(), crDefault);
    struct Case {
        const char* property;
        const char* value;
        bool stored;
    };
    const Case cases[] = {
        {"BevelOuter", "bvRaised", false}, {"BevelOuter", "bvNone", true},   {"BevelInner", "bvNone", false},
        {"BevelInner", "bvLowered", true}, {"BevelWidth", "1", false},       {"BevelWidth", "3", true},
        {"BorderWidth", "0", false},       {"BorderWidth", "2", true},       {"Color", "-16777201", false},
        {"Color", "255", true},            {"Cursor", "2020", true},         {"Visible", "True", false},
    };
    for (const Case& c : cases) {
        TCustomPanel p(nullptr);
        SetPropText(p, c.property, c.value);
        EXPECT_EQ(GetPropText(p, c.property), c.value) << c.property;
        EXPECT_EQ(IsStoredProp(p, *p.ClassInfo().FindProperty(c.property)), c.stored) << c.property << "=" << c.value;
    }
    // A change repaints; storing the same value does not.
    panel.SetBounds(0, 0, 10, 10);
    Application->ProcessMessages();
    TProbePanel probe(nullptr);
    Host host;
    probe.SetParentWidget(host.Window.get());
    probe.SetBounds(0, 0, 40, 40);
    host.Show();
    const int paints = probe.Paints;
    probe.SetBevelOuter(bvRaised);
    Application->ProcessMessages();
    EXPECT_EQ(probe.Paints, paints);
    probe.SetBevelOuter(bvLowered);
    Application->ProcessMessages();
    EXPECT_EQ(probe.Paints, paints + 1);
    EXPECT_THROW(probe.SetBevelWidth(0), ERangeError);
}

TEST(WinControl, WindowRegionParentsAndChildren)
{
    Host host;
    TCustomPanel parent(nullptr);
    parent.SetParentWidget(host.Window.get());
    parent.SetBounds(0, 0, 200, 150);
    auto child = std::make_unique<TCustomPanel>(nullptr);
    child->SetParent(&parent);
    child->SetBounds(10, 10, 50, 40);
    EXPECT_EQ(parent.ControlCount(), 1);
    EXPECT_EQ(parent.Controls(0), child.get());
    EXPECT_TRUE(child->HasParent());
    EXPECT_THROW(parent.SetParent(child.get()), EInvalidOperation);
    host.Show();
    EXPECT_TRUE(child->Showing());

    const TRegion round = TRegion::FromRoundRect(0, 0, 50, 40, 20, 20);
    child->SetWindowRegion(&round);
    EXPECT_TRUE(child->HasWindowRegion());
    EXPECT_FALSE(child->Widget()->mask().contains(QPoint(0, 0)));   // the corner is cut
    EXPECT_TRUE(child->Widget()->mask().contains(QPoint(25, 20)));
    child->SetWindowRegion(nullptr);
    EXPECT_FALSE(child->HasWindowRegion());
    EXPECT_TRUE(child->Widget()->mask().isEmpty());

    // A child outlives its parent's window: it is only detached.
    {
        TCustomPanel temporary(nullptr);
        child->SetParent(&temporary);
    }
    EXPECT_EQ(child->Parent(), nullptr);
    EXPECT_FALSE(child->HasParent());
    EXPECT_FALSE(child->Showing());
    child->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(child->Width(), 3);
}

TEST(WinControl, OwnedControlsGoWithTheirOwner)
{
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* panel = new TCustomPanel(owner.get());
    panel->SetName("Panel1");
    EXPECT_EQ(owner->FindComponent("Panel1"), panel);
    owner.reset();  // frees the panel and its window
}

TEST(Timer, FiresWhileEnabledAndReportsExceptions)
{
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    int fired = 0;
    timer.OnTimer = [&](TPersistent* sender) {
        EXPECT_EQ(sender, &timer);
        if (++fired == 2) throw Exception("Error in data file!");
    };
    timer.SetInterval(5);
    TPromptScript script;
    script.AnswerMessage(mrOk);
    QElapsedTimer clock;
    clock.start();
    while (fired < 2 && clock.elapsed() < 5000) Application->ProcessMessages();
    EXPECT_GE(fired, 2);
    ASSERT_GE(script.Log().size(), 1u);
    EXPECT_EQ(script.Log()[0].Text, "Error in data file!");
    timer.SetEnabled(false);
    const int stopped = fired;
    clock.restart();
    while (clock.elapsed() < 50) Application->ProcessMessages();
    EXPECT_EQ(fired, stopped);
    EXPECT_THROW(timer.SetInterval(-1), ERangeError);
}

TEST(Screen, CursorTableWithTheHandCursor)
{
    Screen->Reset();
    const TCursorImage* hand = FindCursorResource("LUM_CURSOR_HAND");
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(FindCursorResource("NO_SUCH_CURSOR"), nullptr);
    EXPECT_FALSE(Screen->HasCursor(2020));
    EXPECT_TRUE(Screen->HasCursor(crHandPoint));
    Screen->SetCursorImage(2020, *hand);
    EXPECT_TRUE(Screen->HasCursor(2020));

    TCustomPanel panel(nullptr);
    panel.SetCursor(2020);
    const QCursor shown = panel.Widget()->cursor();
    EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
    EXPECT_EQ(shown.hotSpot(), QPoint(hand->HotSpotX, hand->HotSpotY));
    panel.SetCursor(crCross);
    EXPECT_EQ(panel.Widget()->cursor().shape(), Qt::CrossCursor);

    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    Screen->RemoveCursor(2020);
    EXPECT_FALSE(Screen->HasCursor(2020));
    EXPECT_GT(Screen->Width(), 0);
}

TEST(Clipboard, TextKeepsItsWindows1252Bytes)
{
    const std::string text = "Temperature 20\xB0" "C, cost 5\x80, \x93quoted\x94";
    Clipboard().SetAsText(text);
    EXPECT_TRUE(Clipboard().HasText());
    EXPECT_EQ(Clipboard().AsText(), text);
    Clipboard().Clear();
    EXPECT_EQ(Clipboard().AsText(), "");
}

TEST(Clipboard, DesktopTextGetsCRLFOutsideQuotedFields)
{
    // Quoted fields start a text, a line or a TAB-separated field and end at an odd run of quotes before a
    // TAB, an LF or the end (an even run is doubled quotes inside the field).
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a\tb", "a\tb"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"a\r\nb\nc", "a\r\nb\nc"},                         // any CR: left alone
        {"a\rb\nc", "a\rb\nc"},
        {"\"x\ny\"\tz\n", "\"x\ny\"\tz\r\n"},
        {"p\t\"x\ny\"\n\"u\nv\"", "p\t\"x\ny\"\r\n\"u\nv\""},
        {"\"say \"\"hi\"\"\nbye\"\n", "\"say \"\"hi\"\"\nbye\"\r\n"},  // doubled quotes inside
        {"\"a\"\"\nb\"\n", "\"a\"\"\nb\"\r\n"},                  // a doubled quote right before the LF
        {"\"\"\na\n", "\"\"\r\na\r\n"},                            // an empty quoted field
        {"\"\"\"\"\n", "\"\"\"\"\r\n"},                             // a quoted doubled quote
        {"\"a\nb\n", "\"a\r\nb\r\n"},                              // no quote closes it: no field
        {"\"a\"b\nc\n", "\"a\"b\r\nc\r\n"},                        // a quote inside a word closes nothing
        {"x\"a\nb\"\n", "x\"a\r\nb\"\r\n"},                        // a quote inside a field opens nothing
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(DesktopTextLineBreaks(in), out) << in;
    // Linear in the text: a hundred thousand quoted fields that never close.
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "\"a\t";
    many += "\n";
    EXPECT_EQ(DesktopTextLineBreaks(many), many.substr(0, many.size() - 1) + "\r\n");
}

TEST(AnsiText, RoundTripOfEveryByteAndReplacementOfOtherCharacters)
{
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(QStringToAnsi(AnsiToQString(all)), all);
    EXPECT_EQ(AnsiToQString("\x80\x9F\xE9"), QString::fromUtf8("\u20AC\u0178\u00E9"));
    EXPECT_EQ(QStringToAnsi(QString::fromUtf8("\u03A9 \u20AC")), "? \x80");
}

} // namespace
