// The main-form base with its tool bars and speed buttons on the offscreen platform: layout by alignment,
// the menu bar following its items, key preview, closing, enabling, the layout report; speed buttons' down
// state in groups, clicks by the mouse, hover frames and glyphs.
#include "platform/controls/Application.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/MainForm.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/SystemColors.h"
#include "platform/rtl/TextFile.h"
#include "tests/platform/rtl/TempFolder.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class TProbeForm : public TMainFormBase {
public:
    using TMainFormBase::TMainFormBase;
    std::vector<std::string> Keys;

protected:
    void KeyDown(std::uint16_t& key, TShiftState shift) override
    {
        Keys.push_back("down " + std::to_string(key));
        TMainFormBase::KeyDown(key, shift);
        if (key == VK_SPACE) key = 0;
    }
    void KeyPress(char& key) override { Keys.push_back(std::string("press ") + key); }
};

// A control that records the keys it gets.
class TKeyPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> Keys;

protected:
    void KeyDown(std::uint16_t& key, TShiftState) override { Keys.push_back("down " + std::to_string(key)); }
    void KeyPress(char& key) override { Keys.push_back(std::string("press ") + key); }
};

void Pump()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

void Mouse(TWinControl& c, QEvent::Type type, int x, int y)
{
    QWidget* w = c.Widget();
    const QPointF p(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void ClickAt(TWinControl& c, int x, int y)
{
    Mouse(c, QEvent::MouseButtonPress, x, y);
    Mouse(c, QEvent::MouseButtonRelease, x, y);
}

void Key(QWidget* target, int qtKey, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

TEST(MainForm, AlignedControlsShareTheClientAreaBelowTheMenuBar)
{
    TMainFormBase form(nullptr);
    TMenuItem* file = new TMenuItem(&form);
    file->SetCaption("File");
    form.Menu().Add(file);
    auto* top = new TToolBar(&form);
    auto* status = new TCustomControl(&form);
    auto* bottomBar = new TToolBar(&form);
    auto* client = new TCustomControl(&form);
    for (TWinControl* c : {static_cast<TWinControl*>(top), static_cast<TWinControl*>(status),
                           static_cast<TWinControl*>(bottomBar), static_cast<TWinControl*>(client)})
        c->SetParent(&form);
    top->SetHeight(29);
    status->SetHeight(19);
    bottomBar->SetHeight(38);
    form.SetAlign(top, alTop);
    form.SetAlign(status, alBottom);
    form.SetAlign(bottomBar, alBottom);
    form.SetAlign(client, alClient);
    form.SetClientSize(792, 431);
    form.Show();
    Pump();

    const TRect area = form.ClientArea();
    ASSERT_GT(area.Top, 0) << "the menu bar takes the top";
    EXPECT_EQ(area.Width(), 792);
    EXPECT_EQ(area.Height(), 431);
    EXPECT_EQ(top->Top(), area.Top);
    EXPECT_EQ(top->Width(), 792);
    EXPECT_EQ(status->Top(), area.Bottom - 19);
    EXPECT_EQ(bottomBar->Top(), area.Bottom - 19 - 38);
    EXPECT_EQ(client->Top(), area.Top + 29);
    EXPECT_EQ(client->Height(), 431 - 29 - 19 - 38);

    // A hidden control gives its room to the client.
    bottomBar->Hide();
    form.Realign();
    EXPECT_EQ(client->Height(), 431 - 29 - 19);
    bottomBar->Show();
    form.Realign();
    EXPECT_EQ(client->Height(), 431 - 29 - 19 - 38);

    // Height limits hold for the window.
    form.SetHeightConstraints(200, 1000);
    form.Widget()->resize(792, 100);
    EXPECT_EQ(form.Height(), 200);
    form.Widget()->resize(792, 2000);
    EXPECT_EQ(form.Height(), 1000);
    EXPECT_EQ(client->Height(), form.ClientArea().Height() - 29 - 19 - 38);
}

TEST(MainForm, MenuBarFollowsItsItemsAndOpeningAMenuClicksItsItem)
{
    TMainFormBase form(nullptr);
    auto* file = new TMenuItem(&form);
    file->SetName("File1");
    file->SetCaption("File");
    auto* open = new TMenuItem(&form);
    open->SetName("Openfile1");
    open->SetCaption("Open file");
    auto* check = new TMenuItem(&form);
    check->SetCaption("Modelling");
    check->SetChecked(true);
    file->Add(open);
    file->Add(check);
    form.Menu().Add(file);
    int fileClicks = 0, openClicks = 0;
    file->OnClick = [&](TPersistent*) { ++fileClicks; };
    open->OnClick = [&](TPersistent*) { ++openClicks; };
    form.Show();
    Pump();

    auto* bar = form.Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    QMenu* menu = bar->actions()[0]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(bar->actions()[0]->text(), "File");
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_TRUE(menu->actions()[1]->isChecked());

    file->SetCaption("Data");
    file->SetEnabled(false);
    EXPECT_EQ(bar->actions()[0]->text(), "Data");
    EXPECT_FALSE(bar->actions()[0]->isEnabled());
    file->SetEnabled(true);

    emit menu->aboutToShow();
    EXPECT_EQ(fileClicks, 1);
    menu->actions()[0]->trigger();
    EXPECT_EQ(openClicks, 1);

    auto* help = new TMenuItem(&form);
    help->SetCaption("Help");
    form.Menu().Add(help);
    Pump();
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(bar->actions()[1]->text(), "Help");
}

// A handler that changes its menus and then waits in a loop of its own (as a message box does) finds the
// Qt menu that runs it alive: states change in place, and new items reach the menus after it returns.
TEST(MainForm, MenusStayWhileAHandlerRunsAndFollowAfterIt)
{
    TMainFormBase form(nullptr);
    auto* options = new TMenuItem(&form);
    options->SetCaption("Options");
    auto* advanced = new TMenuItem(&form);
    advanced->SetCaption("Advanced");
    auto* reverse = new TMenuItem(&form);
    reverse->SetCaption("Reverse line");
    auto* other = new TMenuItem(&form);
    other->SetCaption("Model constructor");
    options->Add(other);
    options->Add(advanced);
    advanced->Add(reverse);
    form.Menu().Add(options);
    form.Show();
    Pump();

    auto* bar = form.Widget()->findChild<QMenuBar*>();
    QPointer<QMenu> top = bar->actions()[0]->menu();
    ASSERT_TRUE(top);
    ASSERT_EQ(top->actions().size(), 2);
    QPointer<QMenu> sub = top->actions()[1]->menu();
    ASSERT_TRUE(sub);
    QPointer<QAction> entry = sub->actions()[0];

    int advancedClicks = 0;
    advanced->OnClick = [&](TPersistent*) {
        ++advancedClicks;
        reverse->SetCaption("Reverse line   0");
    };
    bool aliveAfterLoop = false, sameEntryAfterLoop = false;
    reverse->OnClick = [&](TPersistent*) {
        reverse->SetChecked(!reverse->Checked());
        auto* added = new TMenuItem(&form);
        added->SetCaption("Added");
        form.Menu().Add(added);
        auto* extra = new TMenuItem(&form);
        extra->SetCaption("Extended nodes");
        advanced->Add(extra);
        QEventLoop loop;
        QTimer::singleShot(30, &loop, &QEventLoop::quit);
        loop.exec();
        aliveAfterLoop = top && sub && entry;
        sameEntryAfterLoop = aliveAfterLoop && sub->actions().size() == 1 && sub->actions()[0] == entry;
    };

    // Opening the sub-menu clicks its item; the caption it sets changes the entry in place.
    emit sub->aboutToShow();
    EXPECT_EQ(advancedClicks, 1);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text(), "Reverse line   0");

    entry->trigger();
    EXPECT_TRUE(aliveAfterLoop) << "a menu was deleted under the running handler";
    EXPECT_TRUE(sameEntryAfterLoop) << "the entry was rebuilt under the running handler";
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->isChecked());

    // After the handler the bar and the sub-menu show the new items.
    Pump();
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(bar->actions()[1]->text(), "Added");
    QMenu* rebuilt = bar->actions()[0]->menu()->actions()[1]->menu();
    ASSERT_EQ(rebuilt->actions().size(), 2);
    EXPECT_EQ(rebuilt->actions()[1]->text(), "Extended nodes");
    EXPECT_TRUE(rebuilt->actions()[0]->isChecked());
}

TEST(MainForm, KeyPreviewSeesKeysBeforeTheFocusedControl)
{
    TProbeForm form(nullptr);
    auto* panel = new TKeyPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 30, 100, 100);
    form.Show();
    Pump();

    Key(panel->Widget(), Qt::Key_A, "a");
    EXPECT_TRUE(form.Keys.empty()) << "without key preview the form hears nothing";
    EXPECT_EQ(panel->Keys, (std::vector<std::string>{"down 65", "press a"}));

    form.SetKeyPreview(true);
    panel->Keys.clear();
    Key(panel->Widget(), Qt::Key_A, "a");
    Key(panel->Widget(), Qt::Key_Space, " ");
    EXPECT_EQ(form.Keys, (std::vector<std::string>{"down 65", "press a", "down 32"}));
    EXPECT_EQ(panel->Keys, (std::vector<std::string>{"down 65", "press a"})) << "a key the form cleared goes no further";

    // Keys sent to the form's own window reach it once.
    form.Keys.clear();
    Key(form.Widget(), Qt::Key_B, "b");
    EXPECT_EQ(form.Keys, (std::vector<std::string>{"down 66", "press b"}));
    form.SetKeyPreview(false);
}

TEST(MainForm, CloseAsksFirstAndEndsTheLoop)
{
    Application->Reset();
    TMainFormBase form(nullptr);
    bool allow = false;
    int queries = 0, closes = 0;
    form.OnCloseQuery = [&](TPersistent*, bool& canClose) {
        ++queries;
        canClose = allow;
    };
    form.OnClose = [&](TPersistent*, TCloseAction&) { ++closes; };
    form.Show();
    Pump();

    form.Close();
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(form.Widget()->isVisible());
    EXPECT_FALSE(Application->Terminated());

    // A handler that raises keeps the window open.
    form.OnCloseQuery = [&](TPersistent*, bool&) { throw Exception("busy"); };
    Application->OnException = [](TApplication&, const std::exception&) {};
    form.Close();
    EXPECT_TRUE(form.Widget()->isVisible());
    Application->OnException = nullptr;

    form.OnCloseQuery = [&](TPersistent*, bool& canClose) {
        ++queries;
        canClose = true;
    };
    allow = true;
    form.Close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.Widget()->isVisible());
    EXPECT_TRUE(Application->Terminated());
    Application->Reset();
}

TEST(MainForm, CentredOnTheDesktopAndFirstPaintNoticed)
{
    TMainFormBase form(nullptr);
    form.SetPosition(poDesktopCenter);
    form.SetClientSize(400, 300);
    int paints = 0;
    form.OnFirstPaint = [&](TPersistent*) { ++paints; };
    form.Show();
    EXPECT_FALSE(form.FirstPainted());
    for (int i = 0; i < 20 && paints == 0; ++i) Pump();
    EXPECT_EQ(paints, 1);
    EXPECT_TRUE(form.FirstPainted());
    form.Widget()->update();
    Pump();
    EXPECT_EQ(paints, 1) << "once only";
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = form.Widget()->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 1);
}

TEST(MainForm, LayoutReportListsNamedControlsMenusAndTheEnabledState)
{
    TTempFolder temp;
    TMainFormBase form(nullptr);
    auto* file = new TMenuItem(&form);
    file->SetName("File1");
    file->SetCaption("File");
    auto* open = new TMenuItem(&form);
    open->SetName("Openfile1");
    open->SetCaption("Open file");
    file->Add(open);
    form.Menu().Add(file);
    auto* bar = new TToolBar(&form);
    bar->SetName("ToolBar1");
    bar->SetParent(&form);
    auto* button = new TSpeedButton(&form);
    button->SetName("SpeedButton1");
    bar->AddButton(button);
    auto* unnamed = new TCustomControl(&form);
    unnamed->SetParent(&form);
    form.SetAlign(bar, alTop);
    form.SetClientSize(300, 200);
    form.Show();
    Pump();

    const std::string path = temp.File("layout.txt");
    form.SetLayoutReportFile(path);
    std::string text;
    ASSERT_TRUE(LoadFileBytes(path, text));
    EXPECT_EQ(text, form.LayoutReport());
    EXPECT_EQ(text.rfind("window ", 0), 0u);
    EXPECT_NE(text.find(" 1 0\n"), std::string::npos) << "enabled, never disabled";
    const QPoint b = button->Widget()->mapToGlobal(QPoint(0, 0));
    EXPECT_NE(text.find("control SpeedButton1 " + std::to_string(b.x()) + " " + std::to_string(b.y()) + " 23 22 1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("control ToolBar1 "), std::string::npos);
    EXPECT_NE(text.find("menu File1 "), std::string::npos);
    EXPECT_EQ(text.find("item "), std::string::npos) << "no menu is open";

    form.SetEnabled(false);
    LoadFileBytes(path, text);
    EXPECT_EQ(text.substr(0, text.find('\n')).substr(text.find('\n') - 4), " 0 1") << text;
    form.SetEnabled(true);
    LoadFileBytes(path, text);
    EXPECT_EQ(text.substr(0, text.find('\n')).substr(text.find('\n') - 4), " 1 1");

    QMenu* menu = form.Widget()->findChild<QMenuBar*>()->actions()[0]->menu();
    menu->popup(QPoint(10, 10));
    Pump();
    LoadFileBytes(path, text);
    EXPECT_NE(text.find("item Openfile1 "), std::string::npos) << text;
    menu->hide();
    Pump();
}

TEST(SpeedButton, GroupsKeepAtMostOneButtonDown)
{
    TToolBar bar(nullptr);
    TSpeedButton a(nullptr), b(nullptr), c(nullptr), lone(nullptr);
    for (TSpeedButton* s : {&a, &b, &c, &lone}) bar.AddButton(s);
    a.SetGroupIndex(1);
    b.SetGroupIndex(1);
    c.SetGroupIndex(2);
    a.SetAllowAllUp(true);
    b.SetAllowAllUp(true);

    lone.SetDown(true);
    EXPECT_FALSE(lone.Down()) << "a button of no group is never down";
    a.SetDown(true);
    c.SetDown(true);
    b.SetDown(true);
    EXPECT_FALSE(a.Down());
    EXPECT_TRUE(b.Down());
    EXPECT_TRUE(c.Down()) << "another group";
    b.SetDown(false);
    EXPECT_FALSE(b.Down()) << "AllowAllUp lets the last one up";
    c.SetDown(false);
    EXPECT_TRUE(c.Down()) << "without AllowAllUp the down button stays down";
}

TEST(SpeedButton, MouseClicksToggleDownAndFireOnClick)
{
    TToolBar bar(nullptr);
    bar.SetBounds(0, 0, 200, 29);
    TSpeedButton tool(nullptr), other(nullptr), plain(nullptr);
    for (TSpeedButton* s : {&tool, &other, &plain}) bar.AddButton(s);
    tool.SetGroupIndex(3);
    tool.SetAllowAllUp(true);
    other.SetGroupIndex(4);
    other.SetAllowAllUp(true);
    std::vector<std::string> log;
    tool.OnClick = [&](TPersistent*) { log.push_back(std::string("tool ") + (tool.Down() ? "down" : "up")); };
    plain.OnClick = [&](TPersistent*) { log.push_back("plain"); };

    ClickAt(tool, 5, 5);
    ClickAt(tool, 5, 5);
    ClickAt(plain, 5, 5);
    // Released outside: no click, no change.
    Mouse(tool, QEvent::MouseButtonPress, 5, 5);
    Mouse(tool, QEvent::MouseButtonRelease, 50, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"tool down", "tool up", "plain"}));
    EXPECT_FALSE(tool.Down());

    tool.SetEnabled(false);
    ClickAt(tool, 5, 5);
    EXPECT_EQ(log.size(), 3u) << "a disabled button takes no clicks";
}

TEST(SpeedButton, FlatFrameUnderTheMouseAndGlyphs)
{
    TMainFormBase form(nullptr);
    form.SetClientSize(200, 100);
    TToolBar bar(nullptr);
    bar.SetParent(&form);
    bar.SetBounds(0, 0, 100, 29);
    form.Show();
    TSpeedButton button(nullptr);
    button.SetFlat(true);
    bar.AddButton(&button);
    TBitmap glyph(4, 4);
    glyph.Canvas().Brush().SetColor(clOlive);  // the bottom-left pixel's colour is transparent
    glyph.Canvas().FillRect({0, 0, 4, 4});
    glyph.Canvas().SetPixel(1, 1, clRed);
    button.SetGlyph(glyph);
    Pump();
    QEvent leave(QEvent::Leave);  // wherever the platform's pointer rests
    QApplication::sendEvent(button.Widget(), &leave);
    Pump();
    ASSERT_FALSE(button.MouseInControl());

    const TColor face = ColorToRGB(clBtnFace);
    auto pixel = [&](int x, int y) { return ColorToRGB(button.Canvas().Pixels(x, y)); };
    const int gx = (23 - 4) / 2, gy = (22 - 4) / 2;
    EXPECT_EQ(pixel(0, 0), face) << "no frame while the mouse is away";
    EXPECT_EQ(pixel(gx, gy), face) << "the glyph's transparent colour is left out";
    EXPECT_EQ(pixel(gx + 1, gy + 1), ColorToRGB(clRed));

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(button.Widget(), &enter);
    Pump();
    EXPECT_TRUE(button.MouseInControl());
    EXPECT_EQ(pixel(0, 0), ColorToRGB(clBtnHighlight)) << "raised frame under the mouse";
    EXPECT_EQ(pixel(22, 21), ColorToRGB(clBtnShadow));

    button.SetEnabled(false);
    Pump();
    EXPECT_FALSE(button.MouseInControl());
    EXPECT_EQ(pixel(gx + 1, gy + 1), ColorToRGB(clBtnShadow)) << "disabled glyph in the shadow colour";
    EXPECT_EQ(pixel(gx + 2, gy + 2), ColorToRGB(clBtnHighlight)) << "with its highlight below right";
}

TEST(ToolBar, ButtonsLeftToRightWithSeparators)
{
    TToolBar bar(nullptr);
    bar.SetBounds(0, 0, 300, 38);
    bar.SetButtonHeight(33);
    bar.SetButtonWidth(33);
    TSpeedButton a(nullptr), b(nullptr), c(nullptr);
    bar.AddButton(&a);
    bar.AddSeparator();
    bar.AddButton(&b);
    bar.AddButton(&c);
    EXPECT_EQ(a.Left(), 0);
    EXPECT_EQ(b.Left(), 33 + 8);
    EXPECT_EQ(c.Left(), 33 + 8 + 33);
    EXPECT_EQ(c.Width(), 33);
    EXPECT_EQ(c.Height(), 33);
    b.Hide();
    bar.ArrangeButtons();
    EXPECT_EQ(c.Left(), 33 + 8);
}
