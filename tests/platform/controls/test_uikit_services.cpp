// Services the UI kit stands on: menu items and the Qt menu that follows them, the hint flow (control
// preparation, the application's handler, the last hint read back), activation hooks and posted work,
// lock keys and the key hook, top-level windows (regions, caption drags, opacity), the screen's depth and
// work area, and owner-drawn buttons.
#include "platform/controls/Application.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Keyboard.h"
#include "platform/controls/MenuBinding.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Screen.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

void PumpEvents()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

void Mouse(QWidget* w, QEvent::Type t, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    const Qt::MouseButtons held = t == QEvent::MouseButtonRelease || t == QEvent::MouseMove ? Qt::MouseButtons() : b;
    QMouseEvent e(t, p, w->mapToGlobal(p), t == QEvent::MouseMove ? Qt::NoButton : b, held, {});
    QApplication::sendEvent(w, &e);
}

} // namespace

// ---- Menus -----------------------------------------------------------------------------------------------

TEST(MenuItem, TreeOfSubItems)
{
    TComponent owner(nullptr);
    auto* root = new TMenuItem(&owner);
    auto* a = new TMenuItem(&owner);
    auto* b = new TMenuItem(&owner);
    auto* c = new TMenuItem(&owner);
    root->Add(a);
    root->Add(c);
    root->Insert(1, b);
    ASSERT_EQ(root->Count(), 3);
    EXPECT_EQ(root->Items(0), a);
    EXPECT_EQ(root->Items(1), b);
    EXPECT_EQ(root->Items(2), c);
    EXPECT_EQ(b->MenuIndex(), 1);
    EXPECT_EQ(b->Parent(), root);
    EXPECT_EQ(root->MenuIndex(), -1);

    EXPECT_THROW(root->Items(3), EMenuError);
    EXPECT_THROW(root->Insert(5, new TMenuItem(&owner)), EMenuError);
    EXPECT_THROW(a->Add(root), EMenuError) << "a parent cannot become its own sub-item";
    EXPECT_THROW(root->Add(a), EMenuError);
    EXPECT_THROW(a->Remove(b), EMenuError);

    // Moving an item to another parent takes it out of the first.
    a->Add(c);
    EXPECT_EQ(root->Count(), 2);
    EXPECT_EQ(c->Parent(), a);
    // A freed item leaves its parent; a freed parent leaves its items without parent.
    b->Free();
    EXPECT_EQ(root->Count(), 1);
    a->Free();
    EXPECT_EQ(root->Count(), 0);
    EXPECT_EQ(c->Parent(), nullptr);

    int clicks = 0;
    c->OnClick = [&](TPersistent* s) { clicks += s == c; };
    c->Click();
    EXPECT_EQ(clicks, 1);
}

TEST(MenuItem, QtMenuFollowsTheItems)
{
    PumpEvents();
    TComponent owner(nullptr);
    auto* root = new TMenuItem(&owner);
    QMenu menu;
    std::vector<std::string> clicked;
    const auto add = [&](const std::string& caption) {
        auto* item = new TMenuItem(root);
        item->SetCaption(caption);
        item->OnClick = [&clicked](TPersistent* s) { clicked.push_back(static_cast<TMenuItem*>(s)->Caption()); };
        root->Add(item);
        return item;
    };
    TMenuItem* first = add("/data/one.sp2");
    BindMenu(*root, menu);
    ASSERT_EQ(menu.actions().size(), 1);
    TMenuItem* second = add("C:\\Old & New\\two.sp2");
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[1]->text(), QString("C:\\Old & New\\two.sp2"));
    second->SetChecked(true);
    first->SetEnabled(false);
    EXPECT_TRUE(menu.actions()[1]->isChecked());
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
    menu.actions()[1]->trigger();
    EXPECT_EQ(clicked, std::vector<std::string>{"C:\\Old & New\\two.sp2"});

    root->Remove(first);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), QString("C:\\Old & New\\two.sp2"));
    // Sub-menus.
    auto* sub = add("More");
    auto* inner = new TMenuItem(sub);
    inner->SetCaption("Inner");
    sub->Add(inner);
    ASSERT_EQ(menu.actions().size(), 2);
    ASSERT_NE(menu.actions()[1]->menu(), nullptr);
    EXPECT_EQ(menu.actions()[1]->menu()->actions()[0]->text(), QString("Inner"));
    // The item going first empties the menu; a menu going first leaves the item working.
    root->Free();
    EXPECT_TRUE(menu.actions().isEmpty());
    {
        TMenuItem other(nullptr);
        {
            QMenu shortLived;
            BindMenu(other, shortLived);
        }
        TMenuItem child(nullptr);
        other.Add(&child);
        other.Remove(&child);
    }
}

// ---- Hints -----------------------------------------------------------------------------------------------

namespace {

// A control whose hint depends on the half it is asked about.
class THalfHint : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool Refuse = false;

protected:
    void HintShow(THintInfo& info, bool& canShow) override
    {
        if (Refuse) canShow = false;
        if (info.CursorPos.x >= Width() / 2) {
            info.HintStr = "right half";
            info.CursorRect = {Width() / 2, 0, Width(), Height()};
        }
    }
};

struct HintHost {
    HintHost()
    {
        PumpEvents();
        Window.setGeometry(100, 100, 200, 100);
        Control.SetParentWidget(&Window);
        Control.SetBounds(10, 10, 100, 50);
        Window.show();
        PumpEvents();
    }
    ~HintHost()
    {
        Application->OnShowHint = nullptr;
        Application->SetShowHint(true);
        Application->CancelHint();
    }
    TPoint Screen(int x, int y) const { return Control.ClientToScreen({x, y}); }
    bool QtReady = (PumpEvents(), true);
    QWidget Window{nullptr};
    THalfHint Control{nullptr};
};

} // namespace

TEST(Hints, ControlPreparesThenTheApplicationDecides)
{
    HintHost h;
    h.Control.SetHint("left half");
    Application->ActivateHint(h.Screen(5, 5));
    THintRecord last = Application->LastHint();
    EXPECT_TRUE(last.Shown);
    EXPECT_EQ(last.Text, "left half");
    EXPECT_EQ(last.Control, &h.Control);
    EXPECT_EQ(last.CursorRect, (TRect{0, 0, 100, 50}));
    EXPECT_EQ(last.Pos.x, h.Screen(5, 5).x);
    EXPECT_EQ(last.Pos.y, h.Screen(5, 5).y + 20);

    // The control narrows its cursor rectangle and changes the text.
    QHelpEvent request(QEvent::ToolTip, QPoint(80, 5), h.Control.Widget()->mapToGlobal(QPoint(80, 5)));
    QApplication::sendEvent(h.Control.Widget(), &request);
    last = Application->LastHint();
    EXPECT_EQ(last.Text, "right half");
    EXPECT_EQ(last.CursorRect, (TRect{50, 0, 100, 50}));

    // The application's handler sees what the control prepared and may move, change or refuse it.
    std::string seen;
    Application->OnShowHint = [&](std::string& text, bool& canShow, THintInfo& info) {
        seen = text;
        if (text == "right half") canShow = false;
        info.HintPos = {7, 8};
        text = "[" + text + "]";
    };
    Application->ActivateHint(h.Screen(5, 5));
    EXPECT_EQ(seen, "left half");
    EXPECT_TRUE(Application->LastHint().Shown);
    EXPECT_EQ(Application->LastHint().Text, "[left half]");
    EXPECT_EQ(Application->LastHint().Pos, (TPoint{7, 8}));
    Application->ActivateHint(h.Screen(90, 5));
    EXPECT_FALSE(Application->LastHint().Shown);

    // Empty text, the control's switch, the application's switch, and the control's refusal.
    Application->OnShowHint = nullptr;
    struct Case {
        const char* hint;
        bool control, application, refuse, shown;
    };
    const Case cases[] = {
        {"x", true, true, false, true},
        {"", true, true, false, false},
        {"x", false, true, false, false},
        {"x", true, false, false, false},
        {"x", true, true, true, false},
    };
    for (const Case& c : cases) {
        h.Control.SetHint(c.hint);
        h.Control.SetShowHint(c.control);
        Application->SetShowHint(c.application);
        h.Control.Refuse = c.refuse;
        Application->ActivateHint(h.Screen(5, 5));
        EXPECT_EQ(Application->LastHint().Shown, c.shown) << c.hint << c.control << c.application << c.refuse;
    }
}

TEST(Hints, AControlThatGoesAwayLeavesNoHintBehind)
{
    {
        HintHost h;
        h.Control.SetHint("soon gone");
        Application->ActivateHint(h.Screen(5, 5));
        ASSERT_EQ(Application->LastHint().Control, &h.Control);
        ASSERT_TRUE(Application->LastHint().Shown);
    }
    EXPECT_EQ(Application->LastHint().Control, nullptr);
    EXPECT_FALSE(Application->LastHint().Shown);
    Application->CancelHint();
}

TEST(Hints, OnePauseBeforeEveryHintOfTheApplication)
{
    HintHost h;
    EXPECT_EQ(Application->HintPause(), 500);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500) << "the windows rest as long";
    Application->SetHintPause(1200);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1200);
    EXPECT_EQ(h.Control.Widget()->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1200);
    Application->SetHintPause(-5);
    EXPECT_EQ(Application->HintPause(), 0);
    Application->Reset();
    EXPECT_EQ(Application->HintPause(), 500);
}

TEST(Hints, LastMousePositionIsTheLastMouseEventOfAControl)
{
    HintHost h;
    Mouse(h.Control.Widget(), QEvent::MouseMove, {30, 12});
    EXPECT_EQ(LastMousePos(), h.Screen(30, 12));
    Mouse(h.Control.Widget(), QEvent::MouseButtonPress, {4, 40});
    Mouse(h.Control.Widget(), QEvent::MouseButtonRelease, {4, 40});
    EXPECT_EQ(LastMousePos(), h.Screen(4, 40));
}

// ---- Activation and posted work ----------------------------------------------------------------------------

TEST(ApplicationServices, ActivationHooksHearChangesOnly)
{
    std::vector<bool> heard;
    const int id = Application->HookActivation([&](bool active) { heard.push_back(active); });
    Application->ActivationChanged(true);   // no change from the start state
    Application->ActivationChanged(false);
    Application->ActivationChanged(false);
    Application->ActivationChanged(true);
    EXPECT_EQ(heard, (std::vector<bool>{false, true}));
    EXPECT_TRUE(Application->Active());
    Application->UnhookActivation(id);
    Application->ActivationChanged(false);
    Application->ActivationChanged(true);
    EXPECT_EQ(heard.size(), 2u);
}

TEST(ApplicationServices, PostedWorkRunsAtTheNextTurnBehindTheBarrier)
{
    std::vector<std::string> order;
    std::string reported;
    Application->OnException = [&](TApplication&, const std::exception& e) { reported = e.what(); };
    Application->Post([&] { order.push_back("posted"); });
    Application->Post([] { throw Exception("late failure"); });
    order.push_back("after posting");
    PumpEvents();
    Application->OnException = nullptr;
    EXPECT_EQ(order, (std::vector<std::string>{"after posting", "posted"}));
    EXPECT_EQ(reported, "late failure");
}

// ---- Keyboard ------------------------------------------------------------------------------------------------

TEST(Keyboard, LockKeysFlipWithPressesNotRepeatsAndHooksSeeEveryEventOnce)
{
    PumpEvents();
    QWidget parent;
    QWidget child(&parent);
    parent.show();
    PumpEvents();
    for (std::uint16_t k : {std::uint16_t(VK_CAPITAL), VK_NUMLOCK, VK_SCROLL}) SetKeyToggled(k, false);
    struct Seen {
        std::uint16_t key;
        bool down, repeat;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    const int id = InstallKeyHook([&](std::uint16_t k, bool d, bool r) { seen.push_back({k, d, r}); });
    const auto send = [&](QEvent::Type t, int key, bool repeat) {
        QKeyEvent e(t, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(&child, &e);   // ignored by the child, it travels on to the parent
    };
    send(QEvent::KeyPress, Qt::Key_CapsLock, false);
    EXPECT_TRUE(KeyToggled(VK_CAPITAL));
    send(QEvent::KeyPress, Qt::Key_CapsLock, true);
    send(QEvent::KeyRelease, Qt::Key_CapsLock, false);
    EXPECT_TRUE(KeyToggled(VK_CAPITAL)) << "neither the repeat nor the release flips it";
    send(QEvent::KeyPress, Qt::Key_NumLock, false);
    send(QEvent::KeyPress, Qt::Key_ScrollLock, false);
    send(QEvent::KeyPress, Qt::Key_CapsLock, false);
    EXPECT_FALSE(KeyToggled(VK_CAPITAL));
    EXPECT_TRUE(KeyToggled(VK_NUMLOCK));
    EXPECT_TRUE(KeyToggled(VK_SCROLL));
    EXPECT_FALSE(KeyToggled('A'));
    const std::vector<Seen> expected = {{VK_CAPITAL, true, false}, {VK_CAPITAL, true, true}, {VK_CAPITAL, false, false},
                                        {VK_NUMLOCK, true, false}, {VK_SCROLL, true, false}, {VK_CAPITAL, true, false}};
    EXPECT_EQ(seen, expected);
    RemoveKeyHook(id);
    send(QEvent::KeyPress, Qt::Key_A, false);
    EXPECT_EQ(seen.size(), expected.size());
    SetKeyToggled(VK_NUMLOCK, false);
    SetKeyToggled(VK_SCROLL, false);
}

// ---- Top-level windows ------------------------------------------------------------------------------------------

TEST(TopLevel, RegionsOfWindowsAndControls)
{
    PumpEvents();
    QWidget w;
    w.setGeometry(0, 0, 50, 40);
    EXPECT_FALSE(WindowHasRegion(&w));
    const TRegion r = TRegion::FromRects({{0, 0, 10, 1}, {5, 1, 20, 2}});
    SetWindowRegion(&w, &r);
    EXPECT_TRUE(WindowHasRegion(&w));
    EXPECT_EQ(WindowRegionRects(&w), (std::vector<TRect>{{0, 0, 10, 1}, {5, 1, 20, 2}}));
    const TRegion none;
    SetWindowRegion(&w, &none);
    EXPECT_TRUE(w.mask().contains(QPoint(-1, -1)) && !w.mask().contains(QPoint(0, 0))) << "no pixel of the window";
    SetWindowRegion(&w, nullptr);
    EXPECT_FALSE(WindowHasRegion(&w));
    EXPECT_TRUE(w.mask().isEmpty());

    // A control's region goes the same way.
    TCustomControl c(nullptr);
    c.SetWindowRegion(&r);
    EXPECT_TRUE(c.HasWindowRegion());
    EXPECT_EQ(WindowRegionRects(c.Widget()).size(), 2u);
}

TEST(TopLevel, CaptionHitTestDragsTheWindowAndKeepsThePressFromControls)
{
    PumpEvents();
    QWidget window;
    SetWindowFrameless(&window, true);
    SetWindowStayOnTop(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    window.setGeometry(100, 100, 200, 100);
    TCustomControl inside(nullptr);
    inside.SetParentWidget(&window);
    inside.SetBounds(0, 0, 200, 100);
    int controlPresses = 0, captionPresses = 0;
    inside.OnMouseDown = [&](TPersistent*, TMouseButton, TShiftState, int, int) { ++controlPresses; };
    window.show();
    PumpEvents();
    // Only the left half is caption.
    const int id = HookCaptionHitTest(&window, [&](TPoint p) { return window.mapFromGlobal(QPoint(p.x, p.y)).x() < 100; },
                                      [&] { ++captionPresses; });
    const QPoint start = window.pos();
    Mouse(inside.Widget(), QEvent::MouseButtonPress, {20, 20});
    Mouse(inside.Widget(), QEvent::MouseMove, {50, 35});
    Mouse(inside.Widget(), QEvent::MouseButtonRelease, {50, 35});
    EXPECT_EQ(captionPresses, 1);
    EXPECT_EQ(controlPresses, 0);
    EXPECT_EQ(window.pos(), start + QPoint(30, 15));
    Mouse(inside.Widget(), QEvent::MouseButtonPress, {150, 20});
    Mouse(inside.Widget(), QEvent::MouseButtonRelease, {150, 20});
    EXPECT_EQ(controlPresses, 1);
    EXPECT_EQ(captionPresses, 1);
    UnhookCaptionHitTest(&window, id);
    Mouse(inside.Widget(), QEvent::MouseButtonPress, {20, 20});
    Mouse(inside.Widget(), QEvent::MouseButtonRelease, {20, 20});
    EXPECT_EQ(controlPresses, 2);
}

TEST(TopLevel, OpacityAndFades)
{
    PumpEvents();
    QWidget w;
    w.setGeometry(10, 10, 40, 30);
    SetWindowOpacity(&w, 0.25);
    EXPECT_NEAR(WindowOpacity(&w), 0.25, 0.01);
    EXPECT_TRUE(FadeWindow(&w, 0, true));
    EXPECT_TRUE(w.isVisible());
    EXPECT_DOUBLE_EQ(WindowOpacity(&w), 1.0);
    EXPECT_TRUE(FadeWindow(&w, 20, false));
    EXPECT_FALSE(w.isVisible());
    EXPECT_DOUBLE_EQ(WindowOpacity(&w), 1.0);
    EXPECT_FALSE(FadeWindow(nullptr, 10, true));
}

TEST(ScreenServices, DepthAndWorkArea)
{
    EXPECT_GT(Screen->BitsPerPixel(), 8);
    const TRect work = Screen->WorkAreaRect();
    EXPECT_FALSE(work.IsEmpty());
    EXPECT_GE(work.Left, 0);
    EXPECT_LE(work.Right, Screen->Width());
    EXPECT_LE(work.Bottom, Screen->Height());
}

// ---- Owner-drawn buttons --------------------------------------------------------------------------------------------

namespace {

class TDrawnButton : public TButton {
public:
    explicit TDrawnButton(TComponent* owner) : TButton(owner) { SetOwnerDraw(true); }
    std::vector<TOwnerDrawState> States;
    using TButton::ActiveStyle;

protected:
    void DrawItem(TCanvas& c, const TRect& r, TOwnerDrawState s) override
    {
        States.push_back(s);
        c.Brush().SetColor(clRed);
        c.FillRect(r);
    }
};

} // namespace

TEST(OwnerDrawnButton, PaintsOnlyWhatDrawItemDrawsWithItsState)
{
    PumpEvents();
    QWidget host;
    host.setGeometry(0, 0, 120, 60);
    TDrawnButton b(nullptr);
    b.SetParentWidget(&host);
    b.SetCaption("never drawn");
    host.show();
    PumpEvents();
    const QImage shot = b.Widget()->grab().toImage();
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3) ASSERT_EQ(QColor(shot.pixel(x, y)), QColor(Qt::red)) << x << "," << y;

    const auto last = [&] {
        b.States.clear();
        b.Widget()->grab();
        return b.States.back();
    };
    EXPECT_FALSE(last().Contains(odSelected));
    static_cast<QPushButton*>(b.Widget())->setDown(true);
    EXPECT_TRUE(last().Contains(odSelected));
    static_cast<QPushButton*>(b.Widget())->setDown(false);
    b.SetEnabled(false);
    EXPECT_TRUE(last().Contains(odDisabled));
    b.SetEnabled(true);
    host.activateWindow();
    b.SetFocus();
    PumpEvents();
    if (b.Focused()) {
        EXPECT_TRUE(last().Contains(odFocused));
        EXPECT_TRUE(b.ActiveStyle());
    }
}
