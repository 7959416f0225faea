// TToolBar: a strip of buttons and separators laid out from left to right, every button sized to the
// bar's button size. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <vector>

class TToolBar : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TToolBar(TComponent* AOwner);

    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int v);

    // Puts the control on the bar after the last item, sized to the button size.
    void AddButton(TWinControl* control);
    // A gap of `width` pixels after the last item.
    void AddSeparator(int width = 8);
    // Places the items again (after a size or an item changed).
    void ArrangeButtons();
    // The width the visible items and the separators take: the least width that shows them whole.
    int ItemsWidth() const;

protected:
    void Paint() override;
    void Resize() override;

private:
    struct TItem {
        TWinControl* Control = nullptr; // nullptr: a separator
        int Width = 0;
    };
    std::vector<TItem> FItems;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
};
