// A Qt menu following a menu item: states changed in place, entries rebuilt when the items change (never
// while an item's click runs), clicks behind the exception barrier.
#include "platform/controls/MenuBinding.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/Menus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <vector>

namespace {

// The clicks running now and the work waiting for them to end.
struct TMenuClickState {
    int Depth = 0;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> Waiting;
    bool Posted = false;
};

TMenuClickState& ClickState()
{
    static TMenuClickState state;
    return state;
}

// Runs the waiting work at a later turn of the loop: the Qt menu whose entry was chosen is still on the
// call stack when the click returns.
void PostWaitingWork()
{
    TMenuClickState& s = ClickState();
    if (s.Posted || s.Waiting.empty()) return;
    s.Posted = true;
    QMetaObject::invokeMethod(
        QApplication::instance(),
        [] {
            TMenuClickState& st = ClickState();
            st.Posted = false;
            if (st.Depth > 0) return; // a click began meanwhile; its end posts again
            auto waiting = std::move(st.Waiting);
            st.Waiting.clear();
            for (auto& [context, work] : waiting)
                if (context) Application->Guarded(work);
        },
        Qt::QueuedConnection);
}

const char* const ItemProperty = "vspMenuItem";

TMenuItem* ItemOf(const QAction& action) { return static_cast<TMenuItem*>(action.property(ItemProperty).value<void*>()); }

enum class TEntryKind { Plain, Separator, SubMenu };

TEntryKind KindOf(const TMenuItem& item)
{
    if (item.Count() > 0) return TEntryKind::SubMenu;
    return item.Caption() == "-" ? TEntryKind::Separator : TEntryKind::Plain;
}

TEntryKind KindOf(const QAction& action)
{
    if (action.menu()) return TEntryKind::SubMenu;
    return action.isSeparator() ? TEntryKind::Separator : TEntryKind::Plain;
}

// Whether the menu's entries stand for the item's sub-items, one for one and of the same kinds, down
// through the sub-menus.
bool SameEntries(const QMenu& menu, const TMenuItem& item)
{
    const QList<QAction*> actions = menu.actions();
    if (actions.size() != item.Count()) return false;
    for (int i = 0; i < item.Count(); ++i) {
        const TMenuItem* sub = item.Items(i);
        const QAction& action = *actions[i];
        if (ItemOf(action) != sub || KindOf(action) != KindOf(*sub)) return false;
        if (action.menu() && !SameEntries(*action.menu(), *sub)) return false;
    }
    return true;
}

void ApplyState(QAction& action, const TMenuItem& item)
{
    if (!action.isSeparator()) action.setText(AnsiToQString(item.Caption()));
    action.setCheckable(item.Checked());
    action.setChecked(item.Checked());
    action.setEnabled(item.Enabled());
    action.setVisible(item.Visible());
}

void UpdateStates(QMenu& menu, const TMenuItem& item)
{
    const QList<QAction*> actions = menu.actions();
    for (int i = 0; i < item.Count(); ++i) {
        ApplyState(*actions[i], *item.Items(i));
        if (QMenu* child = actions[i]->menu()) UpdateStates(*child, *item.Items(i));
    }
}

// The menu and the item it shows; a child of the menu, so it goes with it.
class TMenuBinding : public QObject {
public:
    TMenuBinding(TMenuItem& item, QMenu& menu, std::function<void()> shownOrHidden)
        : QObject(&menu), FItem(&item), FMenu(&menu), FShownOrHidden(std::move(shownOrHidden))
    {
        FListener = item.AddListener([this](TMenuItem* sender) {
            if (sender->Destroying()) {
                FItem = nullptr;
                if (FMenu && !MenuClickRunning()) Refill();
                return;
            }
            Follow();
        });
        Refill();
    }
    ~TMenuBinding() override
    {
        if (FItem) FItem->RemoveListener(FListener);
    }

    void Follow()
    {
        if (!FMenu || !FItem) return;
        if (SameEntries(*FMenu, *FItem)) {
            UpdateStates(*FMenu, *FItem);
            return;
        }
        // Rebuilding deletes entries and sub-menus, one of which may be running the click.
        if (MenuClickRunning()) {
            WhenMenuClicksEnd(this, [this] { Follow(); });
            return;
        }
        Refill();
    }

    void RefreshStates()
    {
        if (FMenu && FItem && SameEntries(*FMenu, *FItem)) UpdateStates(*FMenu, *FItem);
    }

private:
    void Refill()
    {
        for (QAction* action : FMenu->actions())
            if (QMenu* child = action->menu(); child && child->parent() == FMenu) child->deleteLater();
        FMenu->clear();
        if (FItem) Fill(*FMenu, *FItem);
    }

    void Fill(QMenu& menu, TMenuItem& item)
    {
        for (int i = 0; i < item.Count(); ++i) {
            TMenuItem* sub = item.Items(i);
            QAction* action = nullptr;
            switch (KindOf(*sub)) {
            case TEntryKind::SubMenu: {
                QMenu* child = menu.addMenu(AnsiToQString(sub->Caption()));
                // An item with sub-items hears a click when its menu opens, as the class library's do.
                connect(child, &QMenu::aboutToShow, this, [this, sub] {
                    ClickMenuItem(*sub);
                    Notify();
                });
                connect(child, &QMenu::aboutToHide, this, [this] { Notify(); });
                Fill(*child, *sub);
                action = child->menuAction();
                break;
            }
            case TEntryKind::Separator: action = menu.addSeparator(); break;
            case TEntryKind::Plain:
                action = menu.addAction(QString());
                // The entry's own check toggle is undone unless the click changed the item's. The menu
                // is still running its entry here: states only, a rebuild waits for the loop.
                connect(action, &QAction::triggered, this, [this, sub] {
                    const QPointer<TMenuBinding> self(this);
                    ClickMenuItem(*sub);
                    if (self) RefreshStates();
                });
                break;
            }
            action->setProperty(ItemProperty, QVariant::fromValue<void*>(sub));
            ApplyState(*action, *sub);
        }
    }

    void Notify()
    {
        if (FShownOrHidden) FShownOrHidden();
    }

    TMenuItem* FItem;
    QPointer<QMenu> FMenu;
    std::function<void()> FShownOrHidden;
    int FListener = 0;
};

// Ends a click on every way out.
struct TClickScope {
    TClickScope() { ++ClickState().Depth; }
    ~TClickScope()
    {
        if (--ClickState().Depth == 0) PostWaitingWork();
    }
};

} // namespace

void BindMenu(TMenuItem& item, QMenu& menu, std::function<void()> shownOrHidden)
{
    new TMenuBinding(item, menu, std::move(shownOrHidden));
}

void ClickMenuItem(TMenuItem& item)
{
    TClickScope scope;
    Application->Guarded([&item] { item.Click(); });
}

bool MenuClickRunning() { return ClickState().Depth > 0; }

void WhenMenuClicksEnd(QObject* context, std::function<void()> work)
{
    if (!MenuClickRunning()) {
        Application->Guarded(work);
        return;
    }
    ClickState().Waiting.emplace_back(QPointer<QObject>(context), std::move(work));
}
