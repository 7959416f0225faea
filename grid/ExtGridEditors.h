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

// Hides the grid's open editor control.
void HideGridEditor(TExtStringGrid& Grid);

// What every editor control but the push button shares: the grid it edits for, and leaving the edit when
// the focus goes.
template <class Base>
class TGridEditorControl : public Base {
public:
    explicit TGridEditorControl(TExtStringGrid* AGrid) : Base(AGrid), FGrid(AGrid) {}
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void DoExit() override
    {
        HideGridEditor(*FGrid);
        Base::DoExit();
    }
    TExtStringGrid* FGrid;
};

// The combos' shared part: Enter told by OnReturnKey and, like Tab, kept from the edit part; the drop-down
// as wide as the items; a wheel step choosing the next or previous item.
template <class Base>
class TGridComboControl : public TGridEditorControl<Base> {
public:
    using TGridEditorControl<Base>::TGridEditorControl;
    TNotifyEvent OnReturnKey;
    // The drop-down width for the items, measured on the grid's canvas.
    void FitDropWidth();

protected:
    void KeyPress(char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool FLookupEnabled = true;
};

extern template class TGridComboControl<TESGComboBox>;
extern template class TGridComboControl<TESGUniComboBox>;

class TGridSpin : public TGridEditorControl<TEsgSpinEdit> {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridSpin(TExtStringGrid* AGrid);
    void StepUp() override;
    void StepDown() override;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void KeyPress(char& Key) override;
    void WMSetFocus(TWinControl* OldFocus) override;

private:
    void FireSpinClick(bool Up);
};

class TGridCombo : public TGridComboControl<TESGComboBox> {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridCombo(TExtStringGrid* AGrid);

protected:
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
    void WMSetFocus(TWinControl* OldFocus) override;
};

class TGridUniCombo : public TGridComboControl<TESGUniComboBox> {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridUniCombo(TExtStringGrid* AGrid);

protected:
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
    void Select() override;
};

class TGridUniEdit : public TGridEditorControl<TEsgUniEdit> {
    VSP_PERSISTENT_CLASS
public:
    using TGridEditorControl::TGridEditorControl;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void KeyPress(char& Key) override;
};

class TGridCheckBox : public TGridEditorControl<TCheckBox> {
    VSP_PERSISTENT_CLASS
public:
    using TGridEditorControl::TGridEditorControl;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void ClickToggle() override;

private:
    bool FToggledAtPress = false;
};

class TGridDatePicker : public TGridEditorControl<TDateTimePicker> {
    VSP_PERSISTENT_CLASS
public:
    using TGridEditorControl::TGridEditorControl;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void PaintWindow(TCanvas& Canvas) override;
};

class TGridEditBtn : public TGridEditorControl<TEsgEditBtn> {
    VSP_PERSISTENT_CLASS
public:
    using TGridEditorControl::TGridEditorControl;
    // The button asks the application through the grid's OnEllipsClick.
    void DoClickBtn(TPersistent* Sender) override;

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
};

class TGridUnitEditBtn : public TGridEditorControl<TEsgUnitEditBtn> {
    VSP_PERSISTENT_CLASS
public:
    using TGridEditorControl::TGridEditorControl;
    // The number of a cell's text in the edit, the rest as its unit.
    void ShowCellText(const std::string& CellText);

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
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
