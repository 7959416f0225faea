// The grid's auxiliary editors: TEditLink, through which an application plugs its own editor control
// into cells of type edCustom (in the cell or in a borderless pop-up below it); TExtRichEdit, the rich
// text editor of edRichEdit cells and the hidden converter of rich cell texts; and the edit and combo
// that take the input of the mini-markup EDIT and COMBO controls. Qt-free.
#pragma once

#include "grid/asgcombo.h"
#include "platform/controls/Edit.h"
#include "platform/controls/RichEdit.h"

#include <cstdint>
#include <string>

class TExtStringGrid;
class TPopupForm;

enum TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TEditLink(TComponent* AOwner);
    ~TEditLink() override;

    // The grid using the link (set each time its editor opens) and the cell edited (real column).
    TExtStringGrid* Grid = nullptr;
    TPoint EditCell{-1, -1};
    // Keys whose flag is set stay with the editor control.
    bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false;
    bool WantKeyReturn = false, WantKeyEscape = false;
    TEditStyle EditStyle = esInplace;
    // The pop-up window of esPopup, made per edit and freed when the edit ends.
    TPopupForm* PopupForm = nullptr;
    int PopupWidth = 100, PopupHeight = 100;
    // The pop-up takes the cell's width.
    bool AutoPopupWidth = false;
    // Set while the link hands the focus back to the grid.
    bool ForcedExit = false;
    int Tag = 0;

    // Key handling for a descendant's control: a key that leaves ends the edit and goes on to the grid.
    virtual void HandleEditKey(TPersistent* Sender, std::uint16_t& Key, TShiftState Shift);
    // The descendant's control (the base has none).
    virtual TWinControl* EditorControl() { return nullptr; }
    virtual void BuildEditor(TWinControl* AParent) { (void)AParent; }
    virtual void FreeEditor() {}
    // Hooks the control to the grid, then focuses it (or the grid).
    virtual void ActivateEditor(bool Focus);
    // The control over R less the grid lines.
    virtual void PlaceEditor(const TRect& R);
    virtual void SetEditorVisible(bool Value);
    virtual void EditorReady() {}
    virtual void SetEditorLook(TColor AColor, const TFont& AFont) { (void)AColor, (void)AFont; }
    virtual std::string EditorValue() { return ""; }
    virtual void LoadEditorValue(const std::string& Value) { (void)Value; }

    void LeaveEditor(TPersistent* Sender);
    // The pop-up lost the activation: the value is stored and (unless the grid is taking the focus back)
    // the edit ends.
    void PopupDeactivated(TPersistent* Sender);
    void UnhookEditor();
    void CloseEditor();
    void StoreValue(const std::string& Value);
    bool Hooked() const { return FHooked; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FHooked = false;
};

// The rich edit of the grid: the edRichEdit editor leaves the cell with Up or Down when the grid has no
// word wrap, stores its text when the focus goes to the grid and grows the row while typing; the hidden
// converter keeps the size its contents ask for.
class TExtRichEdit : public TRichEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtRichEdit(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }
    void SuspendAutoSize() { FSuspended = true; }
    void ResumeAutoSize() { FSuspended = false; }
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMKillFocus(TWinControl* NewFocus) override;
    void RequestSize(const TRect& Requested) override;

private:
    TExtStringGrid* FGrid;
    bool FSuspended = false;
    int FReqWidth = 0, FReqHeight = 0;
};

// The edit of a mini-markup EDIT control: Enter ends its input as leaving it does.
class TControlEdit : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TControlEdit(TExtStringGrid* AGrid);

protected:
    void KeyPress(char& Key) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
};

// The combo of a mini-markup COMBO control: Enter, leaving it or choosing an item ends its input.
class TControlCombo : public TESGComboBox {
    VSP_PERSISTENT_CLASS
public:
    explicit TControlCombo(TExtStringGrid* AGrid);

protected:
    void KeyPress(char& Key) override;
    void DoExit() override;
    void Select() override;

private:
    TExtStringGrid* FGrid;
};
