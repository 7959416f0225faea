// Edits with a button: TEsgEditBtn, a single-line edit with a push button at its right end (F4 or a
// click fires OnClickBtn), and TEsgUnitEditBtn, which shows a unit between the text and the button and
// offers its units in a pop-up menu on the button. The button is a TExtSpeedButton in a host window
// (TEsgEditButton). Qt-free.
#pragma once

#include "platform/controls/Buttons.h"
#include "platform/controls/Edit.h"
#include "platform/rtl/StringList.h"

#include <cstdint>
#include <memory>

// A speed button that draws itself flat (a thin raised edge, sunken while pressed) or as a push button,
// with its glyph centred and its caption at (2, 2).
class TExtSpeedButton : public TSpeedButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
    // Themed drawing; never taken on this desktop.
    bool IsWinXP = false;

protected:
    void Paint() override;
};

// The host of the edit's button: the button fills it (at least 15 pixels high).
class TEsgEditButton : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 20 x 25 pixels, no glyph.
    explicit TEsgEditButton(TComponent* AOwner);
    TExtSpeedButton* Button() const { return FButton; }
    // The control the focus goes to after a click (cleared when it goes).
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    bool Flat() const { return FButton->Flat(); }
    void SetFlat(bool v) { FButton->SetFlat(v); }
    TBitmap& Glyph() { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& v) { FButton->SetGlyph(v); }
    const std::string& ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const std::string& v) { FButton->SetCaption(v); }
    int NumGlyphs = 1;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;

private:
    void ButtonReleased();
    TExtSpeedButton* FButton;
    TWinControl* FFocusControl = nullptr;
};

class TUnitLabel;

class TEsgEditBtn : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TEsgEditBtn(TComponent* AOwner);
    ~TEsgEditBtn() override;

    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool v);
    // Off: typing, cut and paste do nothing (the button still works).
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    int ButtonWidth() const { return FButton->Width(); }
    void SetButtonWidth(int v);
    bool IsWinXP() const { return FButton->Button()->IsWinXP; }
    void SetIsWinXP(bool v) { FButton->Button()->IsWinXP = v; }
    TBitmap& Glyph() { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& v) { FButton->SetGlyph(v); }
    const std::string& ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const std::string& v) { FButton->SetButtonCaption(v); }
    TEsgEditButton* ButtonHost() const { return FButton; }
    bool AutoSelect = true;
    TNotifyEvent OnClickBtn;

    // Fires OnClickBtn with the sender (the edit for F4, the button host for a click).
    virtual void DoClickBtn(TPersistent* Sender);
    // The text rectangle and the button's place for the edit's size.
    void FitTextRect();
    int MinimumHeight() const;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void DoEnter() override;
    void Resize() override;
    // Room kept for a unit between the text and the button.
    int FUnitWidth = 0;

private:
    TEsgEditButton* FButton;
    bool FRightAlign = false, FEditorEnabled = true, FFitting = false;
};

class TEsgUnitEditBtn : public TEsgEditBtn {
    VSP_PERSISTENT_CLASS
public:
    explicit TEsgUnitEditBtn(TComponent* AOwner);
    ~TEsgUnitEditBtn() override;

    TStringList& Units() { return FUnits; }
    // Copies the list; nullptr is ignored.
    void SetUnits(const TStringList* v);
    const std::string& UnitID() const { return FUnitID; }
    void SetUnitID(const std::string& v);
    // The width kept for the unit, 20 pixels at first.
    int UnitSpace() const { return FUnitWidth; }
    void SetUnitSpace(int v);

    // The units in a pop-up menu below the button; the chosen one becomes UnitID.
    void DoClickBtn(TPersistent* Sender) override;

protected:
    void Resize() override;

private:
    void PlaceUnit();
    TStringList FUnits;
    std::string FUnitID;
    TUnitLabel* FLabel;
};
