// The pop-up menu: the prompt that carries it, and its window (a Qt menu run at the screen point).
#include "platform/controls/PopupMenu.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/PrompterInternal.h"
#include "platform/controls/Prompter.h"

#include <QAction>
#include <QMenu>

const TClassInfo& TPopupMenu::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPopupMenu", .Parent = &TComponent::StaticClassInfo()});
    return info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() = default;

namespace {

// The menu as a window: one entry per visible sub-item, in order; the chosen entry's index goes back.
void RunMenuWindow(TPrompt& prompt)
{
    QMenu menu;
    std::vector<std::pair<QAction*, int>> entries;
    for (int i = 0; i < prompt.Menu->Count(); ++i) {
        TMenuItem* item = prompt.Menu->Items(i);
        if (!item->Visible()) continue;
        if (item->Caption() == "-") {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(AnsiToQString(item->Caption()));
        action->setCheckable(item->Checked());
        action->setChecked(item->Checked());
        action->setEnabled(item->Enabled());
        entries.emplace_back(action, i);
    }
    // The triggered signal also hears an entry activated without the menu's own input loop.
    QAction* chosen = nullptr;
    QObject::connect(&menu, &QMenu::triggered, &menu, [&chosen](QAction* action) { chosen = action; });
    if (QAction* returned = menu.exec(QPoint(prompt.Position.x, prompt.Position.y))) chosen = returned;
    for (const auto& [action, index] : entries)
        if (action == chosen) {
            prompt.MenuIndex = index;
            prompt.Result = mrOk;
        }
}

} // namespace

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup) OnPopup(this);
    TPrompt prompt;
    prompt.Kind = TPromptKind::PopupMenu;
    prompt.Caption = Name();
    prompt.Positioned = true;
    prompt.Position = {X, Y};
    prompt.Menu = FItems.get();
    prompt.MenuIndex = -1;
    prompt.Result = mrCancel;
    DispatchPrompt(prompt, RunMenuWindow);
    if (prompt.Result != mrOk || prompt.MenuIndex < 0 || prompt.MenuIndex >= FItems->Count()) return;
    TMenuItem* item = FItems->Items(prompt.MenuIndex);
    if (item->Visible() && item->Enabled()) item->Click();
}
