// Form code's side of menu items: a Qt menu that shows a TMenuItem's sub-items and follows every change
// (captions, check marks, states, items added, moved and removed); choosing an entry clicks its item.
#pragma once

class QMenu;
class TMenuItem;

// Binds `menu` to `item` until either is destroyed: the menu's entries are rebuilt from the sub-items
// (an item with sub-items becomes a sub-menu) now and after each change.
void BindMenu(TMenuItem& item, QMenu& menu);
