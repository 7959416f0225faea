// The class library's push button and combo box over native widgets. Each paints natively first and
// then hands a canvas on the same pixels to PaintWindow, where a descendant draws its own additions
// (a style sample, a flat frame). Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/Prompter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// States of an owner-drawn item or button.
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
                           odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// ---- TButton -----------------------------------------------------------------------------------------

class TButton : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 75 x 25 pixels.
    explicit TButton(TComponent* AOwner);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& v) { SetText(v); }
    std::string Text() const override;
    void SetText(const std::string& v) override;
    // A button with a result closes the modal form it stands on with that result when clicked, after
    // its OnClick (which may clear the form's result to keep it open).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    // The default button of a form answers the Enter key.
    bool Default() const;
    void SetDefault(bool v);

    // Clicks the button as the user would (fires Click).
    void PerformClick();

    struct Native;

protected:
    // The form's result first (when the button has one), then OnClick.
    void Click() override;
    // Called after the native painting, with a canvas on the button's pixels; the base draws nothing.
    virtual void PaintWindow(TCanvas& Canvas);

    // An owner-drawn button paints nothing natively: every paint is DrawItem on the whole button, with
    // odSelected while it is held down, odFocused while it has the focus and odDisabled while disabled.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);
    // The base fills the rectangle with Color.
    virtual void DrawItem(TCanvas& Canvas, const TRect& Rect, TOwnerDrawState State);
    // Whether the button shows as the form's active button: the default one, or the focused one.
    bool ActiveStyle() const;
    // Whether the button is held down now.
    bool Down() const;
    // The room, in pixels, the button keeps clear on each side of its centred caption when it is laid
    // out at its natural size (a button that draws a sample at one end keeps the caption off it).
    virtual int CaptionSideRoom() const { return 0; }

private:
    TModalResult FModalResult = mrNone;
    bool FOwnerDraw = false;
};

// ---- TComboBox ---------------------------------------------------------------------------------------

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
inline const TEnumNames ComboBoxStyleNames{"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                           "csOwnerDrawVariable"};


using TDrawItemEvent = std::function<void(TPersistent* Control, int Index, TRect Rect, TOwnerDrawState State)>;

// The canvas an owner-drawn list hands its item painting: the device canvas of the item being painted,
// or an idle canvas between paints.
class TItemCanvasSlot {
public:
    TCanvas& Canvas();
    // Runs paint with Canvas() being `canvas`, restoring the previous one afterwards (also on throw).
    void PaintOn(TCanvas& canvas, const std::function<void()>& paint);
    // The item as a list draws it without an owner: highlighted when selected, its text 2 pixels in.
    void DrawPlainItem(const TRect& rect, TOwnerDrawState state, const std::string& text);

private:
    TCanvas* FItemCanvas = nullptr;
    std::unique_ptr<TCanvas> FIdleCanvas;
};

class TComboBox : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 145 x 21 pixels, style csDropDown.
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;

    // Items.
    int ItemCount() const;
    std::string Item(int index) const;      // raises EListError outside 0..ItemCount-1
    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& items);
    int AddItem(const std::string& item);
    void ClearItems();
    // Items in Unicode: the list shows the wide text, Item reads its 8-bit form. Insert takes 0..ItemCount.
    std::u16string ItemWide(int index) const;
    int AddItemWide(const std::u16string& item);
    void InsertItemWide(int index, const std::u16string& item);
    void DeleteItem(int index);
    // The first item equal to the text without regard to letter case, -1 when none.
    int FindItemExact(const std::u16string& item) const;
    // An object kept beside each item (not owned); nullptr until set.
    TPersistent* ItemObject(int index) const;
    void SetItemObject(int index, TPersistent* object);
    // The edit text in Unicode.
    std::u16string TextWide() const;
    void SetTextWide(const std::u16string& v);
    // The selection of the edit part, in characters.
    int EditSelStart() const;
    int EditSelLength() const;
    void SetEditSel(int start, int length);
    // The character of the edit part under a client point (-1 outside its text).
    int EditCharFromPos(int x, int y) const;

    // The selected item; -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int v);
    // The edit text (the selected item's text for a drop-down list).
    std::string Text() const override;
    void SetText(const std::string& v) override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    // Height of the items of an owner-drawn list.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    int DropDownCount() const;
    void SetDropDownCount(int v);
    // Width of the dropped-down list; the combo box's width until set.
    int DropDownWidth() const;
    void SetDropDownWidth(int v);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    // The edit area shows the control's Color (enabled or not) instead of the desktop's edit colours.
    bool ShowsColor() const { return FShowsColor; }
    void SetShowsColor(bool v);

    // The canvas of the item being drawn, valid inside DrawItem and OnDrawItem.
    TCanvas& Canvas();

    TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;
    TDrawItemEvent OnDrawItem;

    struct Native;

protected:
    // The user changed the selection or the edit text: fires OnChange.
    virtual void Change();
    virtual void Select();
    // Owner-drawn styles draw every item here (and the selected one in the edit area, with
    // odComboBoxEdit): the base fires OnDrawItem, or without one fills the rectangle and writes the text.
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    // Called after the native painting, with a canvas on the combo box's pixels; the base draws nothing.
    virtual void PaintWindow(TCanvas& Canvas);

private:
    void DrawItemOn(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state);

    std::vector<std::string> FItems;
    std::vector<TPersistent*> FObjects;
    bool FShowsColor = false;
    TComboBoxStyle FStyle = csDropDown;
    int FItemHeight = 16;
    int FDropDownWidth = 0;     // 0: as wide as the combo box
    TItemCanvasSlot FItemCanvas;
};

// ---- TCheckBox ---------------------------------------------------------------------------------------

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
inline const TEnumNames CheckBoxStateNames{"cbUnchecked", "cbChecked", "cbGrayed"};

// The class library's check box over a native one: a click toggles it (through Toggle) and fires OnClick.
class TCheckBox : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 97 x 17 pixels, unchecked.
    explicit TCheckBox(TComponent* AOwner);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& v) { SetText(v); }
    std::string Text() const override;
    void SetText(const std::string& v) override;
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    // A click cycles through the grayed state too.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    // The next state, as a click gives it.
    virtual void Toggle();

    struct Native;

protected:
    // A user's click: Toggle, then Click (OnClick).
    virtual void ClickToggle();

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

// ---- System metrics ----------------------------------------------------------------------------------

// Sizes of the classic window parts, fixed so that layouts are the same everywhere (the screen's size
// comes from the screen).
enum {
    SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
    SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
    SM_CYMENU = 15, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_CXSIZE = 30, SM_CYSIZE = 31,
    SM_CXEDGE = 45, SM_CYEDGE = 46
};
int GetSystemMetrics(int index);
