// The pop-up menu: what a script sees of it and how its pick reaches the items, and the real window.
#include "platform/controls/Application.h"
#include "platform/controls/PopupMenu.h"
#include "platform/controls/PrompterInternal.h"
#include "platform/controls/QtApplication.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A menu of four items owned by `owner`, recording the captions clicked.
struct TMenuFixture {
    TComponent Owner{nullptr};
    TPopupMenu Menu{&Owner};
    std::vector<std::string> Clicked;

    TMenuFixture()
    {
        for (const char* caption : {"Options", "Visible", "X auto", "Y auto"}) {
            auto* item = new TMenuItem(&Owner);
            item->SetCaption(caption);
            item->OnClick = [this, item](TPersistent*) { Clicked.push_back(item->Caption()); };
            Menu.Items().Add(item);
        }
        Menu.Items().Items(1)->SetChecked(true);
    }
};

TEST(PopupMenu, ScriptReadsCaptionsAndChecksAndPicks)
{
    TMenuFixture f;
    TPromptScript script;
    std::vector<std::string> seen;
    script.Expect(TPromptKind::PopupMenu, [&](TPrompt& p) {
        ASSERT_NE(p.Menu, nullptr);
        for (int i = 0; i < p.Menu->Count(); ++i)
            seen.push_back(p.Menu->Items(i)->Caption() + (p.Menu->Items(i)->Checked() ? "*" : ""));
        EXPECT_TRUE(p.Positioned);
        EXPECT_EQ(p.Position, (TPoint{120, 80}));
        p.MenuIndex = 2;
        p.Result = mrOk;
    });
    f.Menu.Popup(120, 80);
    EXPECT_EQ(seen, (std::vector<std::string>{"Options", "Visible*", "X auto", "Y auto"}));
    EXPECT_EQ(f.Clicked, (std::vector<std::string>{"X auto"}));
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PopupMenu, NothingIsClickedWithoutAFitPick)
{
    // Dismissed, an index outside the items, a disabled item, a hidden item: no click.
    struct TCase {
        int Index;
        TModalResult Result;
    };
    for (const TCase c : {TCase{1, mrCancel}, TCase{7, mrOk}, TCase{-1, mrOk}, TCase{0, mrOk}, TCase{3, mrOk}}) {
        TMenuFixture f;
        f.Menu.Items().Items(0)->SetEnabled(false);
        f.Menu.Items().Items(3)->SetVisible(false);
        TPromptScript script;
        script.Expect(TPromptKind::PopupMenu, [c](TPrompt& p) {
            p.MenuIndex = c.Index;
            p.Result = c.Result;
        });
        f.Menu.Popup(0, 0);
        EXPECT_TRUE(f.Clicked.empty()) << c.Index;
    }
}

TEST(PopupMenu, UnattendedMenuClicksNothingAndOnPopupRunsFirst)
{
    TMenuFixture f;
    int popups = 0;
    f.Menu.OnPopup = [&](TPersistent* sender) {
        EXPECT_EQ(sender, &f.Menu);
        ++popups;
    };
    f.Menu.Popup(5, 5);  // offscreen, no script: nobody answers
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(f.Clicked.empty());
}

TEST(PopupMenu, RealWindowShowsTheItemsAndGivesTheChosenOne)
{
    EnsureQtApplication();
    SetShowWindowsUnattended(true);
    TMenuFixture f;
    f.Menu.Items().Items(0)->SetEnabled(false);
    QStringList texts;
    bool checkedSecond = false, firstEnabled = true;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> actions = menu->actions();
        for (QAction* a : actions) texts << a->text();
        firstEnabled = actions[0]->isEnabled();
        checkedSecond = actions[1]->isChecked();
        actions[3]->trigger();
        menu->close();
    });
    f.Menu.Popup(100, 100);
    SetShowWindowsUnattended(false);
    EXPECT_EQ(texts, (QStringList{"Options", "Visible", "X auto", "Y auto"}));
    EXPECT_FALSE(firstEnabled);
    EXPECT_TRUE(checkedSecond);
    EXPECT_EQ(f.Clicked, (std::vector<std::string>{"Y auto"}));
}

} // namespace
