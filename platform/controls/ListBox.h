// The class library's list box over a native list: items with an object each, single or multiple
// selection, a click event, and owner-drawn items painted through a TCanvas on the item's pixels.
// Qt-free.
#pragma once

#include "platform/controls/StdCtrls.h"

#include <memory>
#include <string>
#include <vector>

class TCanvas;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
inline const TEnumNames ListBoxStyleNames{"lbStandard", "lbOwnerDrawFixed"};

class TListBox : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 121 x 97 pixels, standard style, single selection.
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raise EListError "List index out of bounds (<i>)" outside 0..Count-1.
    const std::string& Item(int Index) const;
    TPersistent* ItemObject(int Index) const;
    // Appends an item with its object (not owned); returns its index.
    int AddItem(const std::string& Text, TPersistent* Object = nullptr);
    void SetItems(const std::vector<std::string>& Items);
    void Delete(int Index);
    void Clear();

    // The item with the focus; -1 when none. Setting it selects that item alone.
    int ItemIndex() const;
    void SetItemIndex(int v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool v);

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle v);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);

    // The canvas of the item being drawn, valid inside DrawItem and OnDrawItem.
    TCanvas& Canvas();
    // Paints one item as the list would (tests and callers that want an item's picture): an owner-drawn
    // list runs DrawItem on the canvas.
    void PaintItem(TCanvas& Canvas, int Index, TRect Rect, TOwnerDrawState State);

    TDrawItemEvent OnDrawItem;

    struct Native;

protected:
    // Owner-drawn items: fires OnDrawItem, or without one fills the rectangle and writes the text.
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);

private:
    void Rebuild();

    std::vector<std::string> FItems;
    std::vector<TPersistent*> FObjects;
    bool FMultiSelect = false;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 13;
    TItemCanvasSlot FItemCanvas;
};
