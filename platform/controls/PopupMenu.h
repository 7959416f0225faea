// TPopupMenu: a context menu of the class library, a root menu item whose sub-items are shown at a screen
// position. Showing goes through the prompter (a pop-up menu prompt), so that a test script reads the
// captions and check marks and picks an item or none. Qt-free.
#pragma once

#include "platform/controls/Menus.h"

#include <memory>

// Whether the menu gives its items hot keys of its own (this layer never adds any: both keep captions).
enum TMenuAutoFlag { maAutomatic, maManual, maParent };

class TPopupMenu : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // The root item; the menu shows its sub-items. Items added to it stay owned by their own owners.
    TMenuItem& Items() const { return *FItems; }
    TMenuAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag v) { FAutoHotkeys = v; }

    // Shows the menu with its top-left corner at the screen point and returns once it is closed; the
    // chosen item (visible and enabled) has been clicked by then. OnPopup runs before it shows.
    void Popup(int X, int Y);
    TNotifyEvent OnPopup;

private:
    std::unique_ptr<TMenuItem> FItems;
    TMenuAutoFlag FAutoHotkeys = maAutomatic;
};
