// Form code's side of menu items: a Qt menu that shows a TMenuItem's sub-items and follows every change
// (captions, check marks, states, items added, moved and removed); choosing an entry clicks its item.
// A Qt menu must outlive the handlers it runs, so while an item's click runs no menu is rebuilt or
// deleted: changes of captions and states are made in place, and a change of the items themselves waits
// until the outermost click has returned.
#pragma once

#include <functional>

class QMenu;
class QObject;
class TMenuItem;

// Binds `menu` to `item` until either is destroyed: the menu's entries are built from the sub-items (an
// item with sub-items becomes a sub-menu, whose opening clicks that item) now and follow each change.
// `shownOrHidden`, when set, hears every sub-menu opening or closing.
void BindMenu(TMenuItem& item, QMenu& menu, std::function<void()> shownOrHidden = {});

// Clicks the item as a user's choice or a menu's opening does: behind the exception barrier, with the
// menus it changes kept alive until it has returned.
void ClickMenuItem(TMenuItem& item);
// Whether an item's click (through ClickMenuItem) is running.
bool MenuClickRunning();
// Runs `work` now when no item's click is running, else at the next turn of the message loop after the
// outermost one has returned; nothing when `context` is gone by then.
void WhenMenuClicksEnd(QObject* context, std::function<void()> work);
