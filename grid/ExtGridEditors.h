// The editor controls the grid lays over a cell for its control editor types: a spin edit, an 8-bit and a
// Unicode combo, a Unicode edit, a check box, a date and time picker, an edit with a button, an edit with
// a unit and a push button. Each keeps a reference to its grid and routes the keys that end an edit back
// to it: the value is written into the cell and validated, and the key goes on as the grid's own. Qt-free.
#pragma once

#include "grid/ESGEdit.h"
#include "grid/EsgUni.h"
#include "grid/GridTypes.h"
#include "grid/asgcombo.h"
#include "grid/asgspin.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/StdCtrls.h"

#include <cstdint>
#include <functional>
#include <string>

class TExtStringGrid;

// The character rules of the number editor types (edNumeric, edPositiveNumeric, edFloat) for a character
// typed into an edit: a refused character becomes 0, with a beep where the rule gives one.
void FilterNumberChar(TEditorType Type, const TCustomEdit& Edit, char& Key);

class TGridSpin : public TEsgSpinEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridSpin(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }
    void StepUp() override;
    void StepDown() override;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void KeyPress(char& Key) override;
    void DoExit() override;
    void WMSetFocus(TWinControl* OldFocus) override;

private:
    void FireSpinClick(bool Up);
    TExtStringGrid* FGrid;
};

class TGridCombo : public TESGComboBox {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridCombo(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }
    TNotifyEvent OnReturnKey;
    // The drop-down width for the items, measured on the grid's canvas.
    void FitDropWidth();

protected:
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
    void WMSetFocus(TWinControl* OldFocus) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
    TExtStringGrid* FGrid;
    bool FLookupEnabled = true;
};

class TGridUniCombo : public TESGUniComboBox {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridUniCombo(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }
    TNotifyEvent OnReturnKey;
    void FitDropWidth();

protected:
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Select() override;

private:
    TExtStringGrid* FGrid;
    bool FLookupEnabled = true;
};

class TGridUniEdit : public TEsgUniEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridUniEdit(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void KeyPress(char& Key) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
};

class TGridCheckBox : public TCheckBox {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridCheckBox(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void ClickToggle() override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
    bool FToggledAtPress = false;
};

class TGridDatePicker : public TDateTimePicker {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridDatePicker(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
    void PaintWindow(TCanvas& Canvas) override;

private:
    TExtStringGrid* FGrid;
};

class TGridEditBtn : public TEsgEditBtn {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridEditBtn(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }
    // The button asks the application through the grid's OnEllipsClick.
    void DoClickBtn(TPersistent* Sender) override;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
};

class TGridUnitEditBtn : public TEsgUnitEditBtn {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridUnitEditBtn(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
};

class TGridButton : public TButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridButton(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

private:
    void AskValue();
    TExtStringGrid* FGrid;
};
