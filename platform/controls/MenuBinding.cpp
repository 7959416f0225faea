// A Qt menu following a menu item: entries rebuilt on every change, clicks behind the exception barrier.
#include "platform/controls/MenuBinding.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/Menus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace {

void Fill(QMenu& menu, TMenuItem& item)
{
    menu.clear();
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem* sub = item.Items(i);
        const QString caption = AnsiToQString(sub->Caption());
        QAction* action = nullptr;
        if (sub->Count() > 0) {
            QMenu* child = menu.addMenu(caption);
            Fill(*child, *sub);
            action = child->menuAction();
        } else if (sub->Caption() == "-") {
            action = menu.addSeparator();
        } else {
            action = menu.addAction(caption);
            QObject::connect(action, &QAction::triggered, &menu, [sub] { Application->Guarded([sub] { sub->Click(); }); });
        }
        action->setCheckable(sub->Checked());
        action->setChecked(sub->Checked());
        action->setEnabled(sub->Enabled());
        action->setVisible(sub->Visible());
    }
}

} // namespace

void BindMenu(TMenuItem& item, QMenu& menu)
{
    // A menu destroyed first leaves a listener that does nothing; an item destroyed first empties the menu.
    QPointer<QMenu> target(&menu);
    item.AddListener([target](TMenuItem* sender) {
        if (!target) return;
        if (sender->Destroying())
            target->clear();
        else
            Fill(*target, *sender);
    });
    Fill(menu, item);
}
