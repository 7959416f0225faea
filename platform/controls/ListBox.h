// The class library's list box over a native list: items with an object each, single or multiple
// selection, sorting, a click event, owner-drawn items painted through a TCanvas on the item's pixels,
// and rows dragged onto other rows of the same list. Qt-free.
#pragma once

#include "platform/controls/StdCtrls.h"

#include <functional>
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
    // Swaps two items with their objects (their selection stays with the rows).
    void Exchange(int A, int B);
    void SetItemText(int Index, const std::string& Text);
    // Items kept in alphabetical order, case-insensitive (appends land in their place); turning it on
    // sorts the present items.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);

    // The item with the focus; -1 when none. Setting it selects that item alone.
    int ItemIndex() const;
    void SetItemIndex(int v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool v);

    // The rectangle of an item in client pixels (those of the mouse events), and the item under a point
    // (-1 when there is none).
    TRect ItemRect(int Index) const;
    int ItemAtPos(TPoint P) const;

    // Dragging a row onto another row of the list. BeginDrag starts it at once (Immediate) or once the
    // pressed mouse has moved Threshold pixels (-1: 5); a release over the list asks DragOver whether
    // the list takes it, then DragDrop. The source is the list itself.
    void BeginDrag(bool Immediate, int Threshold = -1);
    bool Dragging() const { return FDrag == TDragState::Dragging; }
    void EndDrag() { FDrag = TDragState::None; }
    std::function<void(TPersistent* Sender, TPersistent* Source, int X, int Y, bool& Accept)> OnDragOver;
    std::function<void(TPersistent* Sender, TPersistent* Source, int X, int Y)> OnDragDrop;
    // A drag released outside the list, at that screen point (another control of the window may take it).
    std::function<void(TPersistent* Sender, TPoint ScreenPos)> OnDropOutside;

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
    // Whether a drag over the list at (X, Y) would be taken (the base asks OnDragOver; false without
    // it), and the drop (the base fires OnDragDrop).
    virtual bool DragOver(TPersistent* Source, int X, int Y);
    virtual void DragDrop(TPersistent* Source, int X, int Y);

private:
    struct ViewportFilter;
    enum class TDragState { None, Pending, Dragging };
    void Rebuild();
    int SortedPlace(const std::string& Text) const;
    // The mouse on the items (the native list handles it first, then the class library's events).
    bool ViewportMouse(void* Event);

    std::vector<std::string> FItems;
    std::vector<TPersistent*> FObjects;
    bool FMultiSelect = false;
    bool FSorted = false;
    TDragState FDrag = TDragState::None;
    TPoint FDragStart;
    int FDragThreshold = 5;
    std::unique_ptr<ViewportFilter> FViewportFilter;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 13;
    TItemCanvasSlot FItemCanvas;
};
