// The grid's editor controls: their key routing back to the grid (validate, then leave by the grid's own
// key handling or Tab navigation), the spin's page keys and click events, the combos' completion, wheel
// steps and drop-down width, and the grid's side: making the controls, and the table of editor kinds that
// lays the control of the cell's editor type over the cell with its value and stores its value back.
#include "grid/ExtGridEditors.h"

#include "grid/ExtGrid.h"
#include "grid/ExtGridEditLink.h"
#include "platform/controls/ShellApi.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>

// ---- Shared steps ------------------------------------------------------------------------------------

void FilterNumberChar(TEditorType Type, const TCustomEdit& Edit, char& Key)
{
    const TFormatSettings& fs = FormatSettings();
    const bool control = Key == 8 || Key == 9 || Key == 13 || Key == 27;
    auto beep = [&] {
        MessageBeep(0);
        Key = 0;
    };
    const std::string text = Edit.Text();
    switch (Type) {
    case edNumeric:
        if (Key == '-') {
            if (text.find('-') != std::string::npos || Edit.SelStart() != 0) beep();
        } else if (!control && !(Key >= '0' && Key <= '9')) beep();
        break;
    case edPositiveNumeric:
        if (!control && !(Key >= '0' && Key <= '9')) beep();
        break;
    case edFloat: {
        const std::string sel = Edit.SelText();
        if (Key == fs.ThousandSeparator) Key = 0;
        else if (Key == fs.DecimalSeparator) {
            if (text.find(fs.DecimalSeparator) != std::string::npos && sel.find(fs.DecimalSeparator) == std::string::npos) Key = 0;
        } else if (Key == '-') {
            if ((Edit.SelStart() != 0 || text.find('-') != std::string::npos) && sel.find('-') == std::string::npos) beep();
        } else if (!control && !(Key >= '0' && Key <= '9') && Key != ',' && Key != '.') Key = 0;
        break;
    }
    default: break;
    }
}

namespace {

bool WantsTabs(TExtStringGrid& g) { return g.Options().Contains(goTabs); }

// Writes the control's text into the current cell and validates it.
bool ValidateText(TExtStringGrid& g, const std::string& Text)
{
    g.SetCurrentCellText(Text);
    return g.ValidateEditText(Text);
}

bool ValidateWide(TExtStringGrid& g, const std::u16string& Text)
{
    g.WriteWideCell(g.DisplayToRealCol(g.Col()), g.Row(), Text);
    return g.ValidateEditTextWide(Text);
}

// Leaves the control with a key the control keeps no more (Key becomes 0): Tab with goTabs by the grid's
// Tab rules, any other key through the grid.
void Leave(TExtStringGrid& g, std::uint16_t& Key, TShiftState Shift)
{
    const std::uint16_t key = Key;
    Key = 0;
    if (key == VK_TAB && WantsTabs(g)) {
        g.HideEditorControl();
        g.SetFocus();
        g.TabNavigate(Shift.Contains(ssShift));
    } else g.EditorControlKey(key, Shift);
}

// Enter, and Tab where it leaves the control, typed into an editor control are the grid's: the character
// is dropped.
bool DropLeavingChar(char& Key, bool Tab)
{
    if (Key != 13 && !(Tab && Key == 9)) return false;
    Key = 0;
    return true;
}

// A cell's date or time, or now where the text reads as none.
TDateTime DateOrNow(const std::string& t, bool time)
{
    TDateTime v = 0;
    if (!t.empty() && (time ? TryStrToTime(t, v, FormatSettings()) : TryStrToDate(t, v, FormatSettings()))) return v;
    return Now();
}

bool In(std::uint16_t Key, std::initializer_list<std::uint16_t> keys) { return std::find(keys.begin(), keys.end(), Key) != keys.end(); }

// Completes the typed prefix from the items, then from the grid's lookup list; the completed part is left
// selected, and the item that matched chosen.
template <class Combo>
void CompleteCombo(Combo& c, TExtStringGrid& g, bool enabled)
{
    if (!enabled || !g.Lookup) return;
    const std::string text = c.Text();
    const int caret = std::min(c.EditSelStart(), static_cast<int>(text.size()));
    if (caret <= 0) return;
    const std::string typed = text.substr(0, static_cast<std::size_t>(caret));
    const std::string prefix = g.LookupCaseSensitive ? typed : UpperCase(typed);
    auto fits = [&](const std::string& item) {
        const std::string cmp = g.LookupCaseSensitive ? item : UpperCase(item);
        return cmp.compare(0, prefix.size(), prefix) == 0;
    };
    auto complete = [&](const std::string& item, int index) {
        const std::string full = (typed + item.substr(std::min(item.size(), prefix.size()))).substr(0, 255);
        if (index >= 0) c.SetItemIndex(index);
        c.SetText(full);
        c.SetEditSel(caret, static_cast<int>(full.size()) - caret);
    };
    for (int i = 0; i < c.ItemCount(); ++i)
        if (fits(c.Item(i))) return complete(c.Item(i), i);
    for (const std::string& item : g.LookupItems)
        if (fits(item)) return complete(item, -1);
}

} // namespace

void HideGridEditor(TExtStringGrid& Grid) { Grid.HideEditorControl(); }

// ---- TGridSpin ---------------------------------------------------------------------------------------

const TClassInfo& TGridSpin::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridSpin", .Parent = &TEsgSpinEdit::StaticClassInfo()});
    return info;
}

TGridSpin::TGridSpin(TExtStringGrid* AGrid) : TGridEditorControl(AGrid)
{
    MinValue = 0;
    MaxValue = 100;
    Increment = 1;
}

void TGridSpin::FireSpinClick(bool Up)
{
    TExtStringGrid& g = *FGrid;
    const int c = g.DisplayToRealCol(g.Col()), r = g.Row();
    switch (SpinType()) {
    case sptNormal:
        if (g.OnSpinClick) g.OnSpinClick(&g, c, r, Value(), Up);
        break;
    case sptFloat:
        if (g.OnFloatSpinClick) g.OnFloatSpinClick(&g, c, r, FloatValue(), Up);
        break;
    case sptDate:
        if (g.OnDateSpinClick) g.OnDateSpinClick(&g, c, r, DateValue(), Up);
        break;
    case sptTime:
        if (g.OnTimeSpinClick) g.OnTimeSpinClick(&g, c, r, TimeValue(), Up);
        break;
    }
}

void TGridSpin::StepUp()
{
    TEsgSpinEdit::StepUp();
    FireSpinClick(true);
}

void TGridSpin::StepDown()
{
    TEsgSpinEdit::StepDown();
    FireSpinClick(false);
}

void TGridSpin::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    // Up and Down leave the editor here; the buttons and the page keys step.
    if (Key == VK_UP || Key == VK_DOWN) {
        KeyDown(Key, Shift);
        return;
    }
    TEsgSpinEdit::WMKeyDown(Key, Shift);
}

void TGridSpin::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (In(Key, {VK_PRIOR, VK_NEXT, VK_HOME, VK_END})) {
        const bool real = SpinType() == sptFloat;
        switch (Key) {
        case VK_PRIOR:
            if (real && FloatValue() + IncrementFloat <= MaxFloatValue) SetFloatValue(FloatValue() + IncrementFloat);
            if (!real && static_cast<std::int64_t>(Value()) + Increment <= MaxValue) SetValue(Value() + Increment);
            break;
        case VK_NEXT:
            if (real && FloatValue() - IncrementFloat >= MinFloatValue) SetFloatValue(FloatValue() - IncrementFloat);
            if (!real && static_cast<std::int64_t>(Value()) - Increment >= MinValue) SetValue(Value() - Increment);
            break;
        case VK_END:
            if (real) SetFloatValue(MinFloatValue);
            else SetValue(MinValue);
            break;
        default:
            if (real) SetFloatValue(MaxFloatValue);
            else SetValue(MaxValue);
            break;
        }
        if (g.OnSpinClick) g.OnSpinClick(&g, g.DisplayToRealCol(g.Col()), g.Row(), Value(), Key == VK_PRIOR || Key == VK_HOME);
        Key = 0;
        return;
    }
    if (!In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) {
        TEsgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) SetText(g.GetCurrentCellText());
    else if (!ValidateText(g, Text())) {
        SetText(g.GetCurrentCellText());
        SetSelStart(static_cast<int>(Text().size()));
        Invalidate();
        Key = 0;
        return;
    }
    Leave(g, Key, Shift);
}

void TGridSpin::WMChar(char& Key)
{
    if (!DropLeavingChar(Key, true)) TEsgSpinEdit::WMChar(Key);
}

void TGridSpin::KeyPress(char& Key)
{
    if (!DropLeavingChar(Key, false)) TEsgSpinEdit::KeyPress(Key);
}

void TGridSpin::WMSetFocus(TWinControl* OldFocus)
{
    TEsgSpinEdit::WMSetFocus(OldFocus);
    if (FGrid->FCaretAtMouse) {
        const TPoint p = ScreenToClient(LastMousePos());
        const int at = CharFromPos(p.x, p.y);
        if (at >= 0) SetSelStart(at);
        FGrid->FCaretAtMouse = false;
    }
}

// ---- The combos --------------------------------------------------------------------------------------

template <class Base>
void TGridComboControl<Base>::FitDropWidth()
{
    // The longest item shows, beside the scroll bar where the list scrolls.
    int width = this->Width();
    const bool scrolls = this->ItemCount() > this->DropDownCount();
    for (int i = 0; i < this->ItemCount(); ++i) {
        const int w = this->FGrid->Canvas().TextWidth(this->Item(i));
        if (scrolls && w > width - 25) width = w + 25;
        else if (!scrolls && w > width - 5) width = w + 8;
    }
    this->SetDropDownWidth(width);
}

template <class Base>
void TGridComboControl<Base>::KeyPress(char& Key)
{
    if (Key == 13 && OnReturnKey) OnReturnKey(this);
    if (!DropLeavingChar(Key, true)) Base::KeyPress(Key);
}

template <class Base>
bool TGridComboControl<Base>::DoMouseWheel(TShiftState, int WheelDelta, TPoint)
{
    // A wheel step on the open combo: the next or previous item, reported as a change.
    TExtStringGrid& g = *this->FGrid;
    int index = this->ItemIndex();
    if (WheelDelta < 0 && index + 1 < this->ItemCount()) ++index;
    else if (WheelDelta > 0 && index > 0) --index;
    if (index < 0 && this->ItemCount() > 0) index = 0;
    this->SetItemIndex(index);
    const std::string text = index >= 0 ? this->Item(index) : std::string();
    if (index >= 0) this->SetText(text);
    if (g.OnComboChange) g.OnComboChange(this, g.Col(), g.Row(), index, text);
    if (g.OnComboObjectChange)
        g.OnComboObjectChange(this, g.Col(), g.Row(), index, text, index >= 0 ? this->ItemObject(index) : nullptr);
    return true;
}

template class TGridComboControl<TESGComboBox>;
template class TGridComboControl<TESGUniComboBox>;

const TClassInfo& TGridCombo::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridCombo", .Parent = &TESGComboBox::StaticClassInfo()});
    return info;
}

TGridCombo::TGridCombo(TExtStringGrid* AGrid) : TGridComboControl(AGrid) { SetButtonWidth(16); }

void TGridCombo::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    FLookupEnabled = Key != VK_BACK && Key != VK_DELETE;
    const bool list = Style() == csDropDownList || DroppedDown();
    const bool leaves = list ? In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT})
                             : In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
    // Alt+Down opens the list of an edit-style combo.
    if (!leaves || (Key == VK_DOWN && Shift.Contains(ssAlt))) {
        if (Key == VK_DOWN && Shift.Contains(ssAlt) && !DroppedDown()) {
            SetDroppedDown(true);
            Key = 0;
            return;
        }
        TESGComboBox::WMKeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        // The item first: choosing none empties the edit part.
        SetItemIndex(FindItemExact(AnsiToWide(g.GetCurrentCellText())));
        SetText(g.GetCurrentCellText());
    } else if (In(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN})) {
        if (!ValidateText(g, Text())) {
            SetText(g.GetCurrentCellText());
            SetEditSel(static_cast<int>(Text().size()), 0);
            Invalidate();
            Key = 0;
            return;
        }
        SetText(g.GetCurrentCellText());
    }
    if (Key == VK_TAB && WantsTabs(g)) {
        Leave(g, Key, Shift);
        return;
    }
    const std::uint16_t key = Key;
    Key = 0;
    if (list && (key == VK_LEFT || key == VK_RIGHT)) {
        g.HideEditorControl();
        std::uint16_t k = key;
        g.SetFocus();
        g.KeyDown(k, Shift);
        return;
    }
    g.EditorControlKey(key, Shift);
}

void TGridCombo::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (Key != VK_RETURN) TESGComboBox::KeyUp(Key, Shift);
    if (!In(Key, {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SHIFT, VK_CONTROL, VK_MENU}))
        CompleteCombo(*this, *FGrid, FLookupEnabled);
}

void TGridCombo::DoExit()
{
    if (FGrid->LookupHistory && !Text().empty() && FindItemExact(AnsiToWide(Text())) < 0) AddItem(Text());
    TGridComboControl::DoExit();
}

void TGridCombo::WMSetFocus(TWinControl* OldFocus)
{
    TESGComboBox::WMSetFocus(OldFocus);
    if (FGrid->FCaretAtMouse) {
        const TPoint p = ScreenToClient(LastMousePos());
        const int at = EditCharFromPos(p.x, p.y);
        if (at >= 0) SetEditSel(at, 0);
        FGrid->FCaretAtMouse = false;
    }
}

const TClassInfo& TGridUniCombo::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridUniCombo", .Parent = &TESGUniComboBox::StaticClassInfo()});
    return info;
}

TGridUniCombo::TGridUniCombo(TExtStringGrid* AGrid) : TGridComboControl(AGrid) { SetButtonWidth(16); }

void TGridUniCombo::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    FLookupEnabled = Key != VK_BACK && Key != VK_DELETE;
    const bool list = Style() == csDropDownList || DroppedDown();
    const bool leaves = list ? In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT})
                             : In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
    if (!leaves) {
        TESGUniComboBox::WMKeyDown(Key, Shift);
        return;
    }
    const TPoint cell{g.DisplayToRealCol(g.Col()), g.Row()};
    if (Key == VK_ESCAPE) {
        SetItemIndex(FindItemExact(g.ReadWideCell(cell.x, cell.y)));
        SetTextWide(g.ReadWideCell(cell.x, cell.y));
    } else if (In(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN}) && !ValidateWide(g, TextWide())) {
        // The text goes through the wide validation as the 8-bit combo's through its own.
        SetTextWide(g.ReadWideCell(cell.x, cell.y));
        Invalidate();
        Key = 0;
        return;
    }
    const std::uint16_t key = Key;
    Key = 0;
    g.EditorControlKey(key, Shift);
}

void TGridUniCombo::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (Key != VK_RETURN) TESGUniComboBox::KeyUp(Key, Shift);
    if (!FLookupEnabled || !FGrid->Lookup || In(Key, {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SHIFT, VK_CONTROL}))
        return;
    // Completion among the items only.
    const std::string text = Text();
    const int caret = std::min(EditSelStart(), static_cast<int>(text.size()));
    if (caret <= 0) return;
    const std::string typed = text.substr(0, static_cast<std::size_t>(caret));
    const std::string prefix = FGrid->LookupCaseSensitive ? typed : UpperCase(typed);
    for (int i = 0; i < ItemCount(); ++i) {
        const std::string item = Item(i), cmp = FGrid->LookupCaseSensitive ? item : UpperCase(item);
        if (cmp.compare(0, prefix.size(), prefix) != 0) continue;
        SetItemIndex(i);
        SetTextWide(AnsiToWide(typed) + ItemWide(i).substr(std::min(ItemWide(i).size(), prefix.size())));
        SetEditSel(caret, static_cast<int>(TextWide().size()) - caret);
        return;
    }
}

void TGridUniCombo::DoExit()
{
    if (FGrid->LookupHistory && !TextWide().empty() && FindItemExact(TextWide()) < 0) AddItemWide(TextWide());
    TGridComboControl::DoExit();
}

void TGridUniCombo::Select()
{
    TESGUniComboBox::Select();
    if (FGrid->OnComboChange) FGrid->OnComboChange(this, FGrid->Col(), FGrid->Row(), ItemIndex(), WideToAnsi(TextWide()));
}

// ---- TGridUniEdit ------------------------------------------------------------------------------------

const TClassInfo& TGridUniEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridUniEdit", .Parent = &TEsgUniEdit::StaticClassInfo()});
    return info;
}

void TGridUniEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (!In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) {
        TEsgUniEdit::KeyDown(Key, Shift);
        return;
    }
    const TPoint cell{g.DisplayToRealCol(g.Col()), g.Row()};
    if (Key == VK_ESCAPE) SetWideText(g.ReadWideCell(cell.x, cell.y));
    else {
        const bool ok = ValidateWide(g, WideText());
        SetWideText(g.ReadWideCell(cell.x, cell.y));
        if (!ok) {
            SetSelStart(static_cast<int>(WideText().size()));
            Invalidate();
            Key = 0;
            return;
        }
    }
    Leave(g, Key, Shift);
}

void TGridUniEdit::WMChar(char& Key)
{
    if (!DropLeavingChar(Key, true)) TEsgUniEdit::WMChar(Key);
}

void TGridUniEdit::KeyPress(char& Key)
{
    if (!DropLeavingChar(Key, false)) TEsgUniEdit::KeyPress(Key);
}

// ---- TGridCheckBox -----------------------------------------------------------------------------------

const TClassInfo& TGridCheckBox::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridCheckBox", .Parent = &TCheckBox::StaticClassInfo()});
    return info;
}

void TGridCheckBox::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (Key == VK_SPACE) {
        Toggle();
        Key = 0;
        return;
    }
    if (!In(Key, {VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        TCheckBox::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) SetCaption(g.GetCurrentCellText());
    const std::uint16_t key = Key;
    Key = 0;
    g.HideEditorControl();
    g.SetFocus();
    if (key == VK_RETURN && g.Navigation.AdvanceOnEnter) g.AdvanceCell(g.Col(), g.Row(), !Shift.Contains(ssShift), false, false);
    if (key == VK_UP || key == VK_DOWN) {
        std::uint16_t k = key;
        g.KeyDown(k, Shift);
    }
}

void TGridCheckBox::WMMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A left press toggles the box at once; the click the press ends in toggles no more.
    if (Button == mbLeft) {
        Toggle();
        FToggledAtPress = true;
    }
    TCheckBox::WMMouseDown(Button, Shift, X, Y);
}

void TGridCheckBox::ClickToggle()
{
    if (FToggledAtPress) {
        FToggledAtPress = false;
        Click();
        return;
    }
    TCheckBox::ClickToggle();
}

// ---- TGridDatePicker ---------------------------------------------------------------------------------

const TClassInfo& TGridDatePicker::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridDatePicker", .Parent = &TDateTimePicker::StaticClassInfo()});
    return info;
}

void TGridDatePicker::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (!In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END})) {
        TDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    // While the calendar is down the keys are its own (Tab with goTabs still leaves).
    if (DroppedDown() && !(Key == VK_TAB && WantsTabs(g))) return;
    if (Key == VK_ESCAPE) {
        const TDateTime v = DateOrNow(g.GetCurrentCellText(), Kind() == dtkTime);
        if (Kind() == dtkTime) SetTime(v);
        else SetDate(v);
    }
    Leave(g, Key, Shift);
}

void TGridDatePicker::PaintWindow(TCanvas& Canvas)
{
    // Two frames in the window colour over the border.
    TRect r = ClientRect();
    Canvas.Brush().SetColor(clWindow);
    Canvas.FrameRect(r);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    Canvas.FrameRect(r);
}

// ---- The edits with a button -------------------------------------------------------------------------

const TClassInfo& TGridEditBtn::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridEditBtn", .Parent = &TEsgEditBtn::StaticClassInfo()});
    return info;
}

void TGridEditBtn::DoClickBtn(TPersistent*)
{
    SetText(FGrid->EllipsClick(Text()));
    SelectAll();
    Invalidate();
}

void TGridEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (Shift.Contains(ssCtrl) || !In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) {
        TEsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) SetText(g.GetCurrentCellText());
    else if (In(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN})) {
        const bool ok = ValidateText(g, Text());
        SetText(g.GetCurrentCellText());
        if (!ok) {
            SetSelStart(static_cast<int>(Text().size()));
            Invalidate();
            Key = 0;
            return;
        }
    }
    Leave(g, Key, Shift);
}

void TGridEditBtn::WMChar(char& Key)
{
    if (DropLeavingChar(Key, false)) return;
    const TEditorType t = FGrid->EditorType();
    if (t == edNumericEditBtn) FilterNumberChar(edNumeric, *this, Key);
    else if (t == edFloatEditBtn) FilterNumberChar(edFloat, *this, Key);
    if (Key != 0) TEsgEditBtn::WMChar(Key);
}

const TClassInfo& TGridUnitEditBtn::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridUnitEditBtn", .Parent = &TEsgUnitEditBtn::StaticClassInfo()});
    return info;
}

// The cell holds the number and the unit; the edit shows the number.
void TGridUnitEditBtn::ShowCellText(const std::string& CellText)
{
    std::string number, unit;
    for (char c : CellText) ((c == ',' || c == '-' || c == '.' || (c >= '0' && c <= '9')) ? number : unit) += c;
    SetText(number);
    SetUnitID(unit);
}

void TGridUnitEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (!In(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) {
        TEsgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) ShowCellText(g.GetCurrentCellText());
    else if (In(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN})) {
        const bool ok = ValidateText(g, Text() + UnitID());
        ShowCellText(g.GetCurrentCellText());
        if (!ok) {
            Key = 0;
            return;
        }
    }
    Leave(g, Key, Shift);
}

void TGridUnitEditBtn::WMChar(char& Key)
{
    if (!DropLeavingChar(Key, false)) TEsgUnitEditBtn::WMChar(Key);
}

// ---- TGridButton -------------------------------------------------------------------------------------

const TClassInfo& TGridButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridButton", .Parent = &TButton::StaticClassInfo()});
    return info;
}

TGridButton::TGridButton(TExtStringGrid* AGrid) : TButton(AGrid), FGrid(AGrid) {}

void TGridButton::AskValue() { SetCaption(FGrid->EllipsClick(Caption())); }

void TGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TButton::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) AskValue();
}

void TGridButton::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (Key == VK_ESCAPE) {
        SetVisible(false);
        SetEnabled(false);
        g.FEditorOpen = false;
        g.SetFocus();
        g.RevertCellEdit();
        std::uint16_t k = VK_ESCAPE;
        g.KeyDown(k, Shift);
        Key = 0;
        return;
    }
    TButton::KeyDown(Key, Shift);
}

void TGridButton::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FGrid;
    if (Key == VK_SPACE) {
        AskValue();
        SetFocus();
        Invalidate();
        return;
    }
    if (In(Key, {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        std::uint16_t k = Key;
        g.KeyDown(k, Shift);
        SetVisible(false);
        SetEnabled(false);
        g.FEditorOpen = false;
        g.SetFocus();
        k = Key;
        g.KeyUp(k, Shift);
        return;
    }
    TButton::KeyUp(Key, Shift);
}

// ---- The grid's side ---------------------------------------------------------------------------------

struct TExtStringGrid::TEditorSet {
    TGridSpin* Spin = nullptr;
    TGridCombo* Combo = nullptr;
    TGridUniCombo* UniCombo = nullptr;
    TGridUniEdit* UniEdit = nullptr;
    TGridCheckBox* Check = nullptr;
    TGridDatePicker* Date = nullptr;
    TGridEditBtn* EditBtn = nullptr;
    TGridUnitEditBtn* UnitEdit = nullptr;
    TGridButton* Button = nullptr;
    TExtRichEdit* Rich = nullptr;
    TExtRichEdit* Converter = nullptr;
    std::vector<TWinControl*> All() const
    {
        return {Spin, Combo, UniCombo, UniEdit, Check, Date, EditBtn, UnitEdit, Button, Rich, Converter};
    }
};

void TExtStringGrid::CreateEditorControls()
{
    FEditors = new TEditorSet;
    TEditorSet& e = *FEditors;
    e.Spin = new TGridSpin(this);
    e.Combo = new TGridCombo(this);
    e.UniCombo = new TGridUniCombo(this);
    e.UniEdit = new TGridUniEdit(this);
    e.Check = new TGridCheckBox(this);
    e.Date = new TGridDatePicker(this);
    e.EditBtn = new TGridEditBtn(this);
    e.UnitEdit = new TGridUnitEditBtn(this);
    e.Button = new TGridButton(this);
    e.Rich = new TExtRichEdit(this);
    e.Converter = new TExtRichEdit(this);
    e.Combo->OnCloseUp = [this](TPersistent*) {
        if (OnComboCloseUp) OnComboCloseUp(this, Row(), Col());
    };
    e.Combo->OnChange = [this](TPersistent* s) {
        auto* c = static_cast<TGridCombo*>(s);
        const int i = c->ItemIndex();
        if (OnComboChange) OnComboChange(c, Col(), Row(), i, c->Text());
        if (OnComboObjectChange) OnComboObjectChange(c, Col(), Row(), i, c->Text(), i >= 0 ? c->ItemObject(i) : nullptr);
    };
    e.Rich->OnSelectionChange = [this](TPersistent*) {
        if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
    };
    for (TWinControl* c : e.All()) {
        c->SetParent(this);
        c->SetVisible(false);
        c->SetEnabled(false);
    }
}

void TExtStringGrid::DestroyEditorControls()
{
    if (!FEditors) return;
    // Taking the controls away moves the focus: nothing may be committed or validated any more.
    FEditorOpen = false;
    FEditPending = false;
    if (FControlEdit) FControlEdit->SetParent(nullptr);
    if (FControlCombo) FControlCombo->SetParent(nullptr);
    for (TWinControl* c : FEditors->All()) {
        c->SetParent(nullptr);
        c->Free();
    }
    delete FEditors;
    FEditors = nullptr;
}

TGridSpin* TExtStringGrid::SpinEditor() const { return FEditors->Spin; }
TGridCombo* TExtStringGrid::ComboEditor() const { return FEditors->Combo; }
TGridUniCombo* TExtStringGrid::UniComboEditor() const { return FEditors->UniCombo; }
TGridUniEdit* TExtStringGrid::UniEditEditor() const { return FEditors->UniEdit; }
TGridCheckBox* TExtStringGrid::CheckBoxEditor() const { return FEditors->Check; }
TGridDatePicker* TExtStringGrid::DatePickerEditor() const { return FEditors->Date; }
TGridEditBtn* TExtStringGrid::EditBtnEditor() const { return FEditors->EditBtn; }
TGridUnitEditBtn* TExtStringGrid::UnitEditBtnEditor() const { return FEditors->UnitEdit; }
TGridButton* TExtStringGrid::ButtonEditor() const { return FEditors->Button; }
TExtRichEdit* TExtStringGrid::RichEditEditor() const { return FEditors->Rich; }
TExtRichEdit* TExtStringGrid::RichTextConverter() const { return FEditors->Converter; }

std::string TExtStringGrid::EllipsClick(const std::string& Text)
{
    std::string s = Text;
    if (OnEllipsClick) OnEllipsClick(this, DisplayToRealCol(Col()), Row(), s);
    return s;
}

namespace {

// The run time's whole-number reading: blanks, a sign and the digits before anything else; 0 without.
int LeadingInteger(const std::string& t)
{
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    long long v = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9' && v < 2147483648LL) v = v * 10 + (t[i++] - '0');
    v = negative ? -v : v;
    return static_cast<int>(std::clamp(v, -2147483648LL, 2147483647LL));
}

void ShowAt(TWinControl& c, int x, int y, int w, int h, TColor colour)
{
    c.SetBounds(x, y, w, h);
    c.SetColor(colour);
    c.SetEnabled(true);
    c.SetVisible(true);
}

} // namespace

// ---- The editor kinds --------------------------------------------------------------------------------

// One kind of editor control laid over a cell: the editor types it serves, how it opens on the cell and how
// its value goes back. Opening and committing read the same row of one table (Of).
struct TExtStringGrid::TEditorKind {
    // What opening a control over a cell has at hand.
    struct TPlace {
        TEditorType Type;
        TRect R;      // the cell (a merged block whole)
        int W, H;     // the size the control takes
        int RC, ARow; // the cell by real column
        TColor Colour;
        const TFont& Font;
        std::string Text; // the cell's edit text
        bool Flat;        // the soft, quarn and XP looks draw flat combos
    };
    std::vector<TEditorType> Types;
    // Shows the control on the cell; the control a pending typed character goes to, or none.
    TWinControl* (*Open)(TExtStringGrid& g, const TPlace& p);
    // Whether the editor counts as closed before the value is stored, rather than after.
    bool ClosesFirst;
    // Stores the control's value into the cell; the control to hide, or none.
    TWinControl* (*Commit)(TExtStringGrid& g, TEditorType Type, int RC, int ARow);

    static const TEditorKind* Of(TEditorType Type);

    // A combo (8-bit or Unicode) shown on the cell, the edit style with a text, the list style without;
    // Choose picks its item or text first.
    template <class Combo, class ChooseFn>
    static TWinControl* OpenCombo(TExtStringGrid& g, Combo& c, const TPlace& p, bool Edit, ChooseFn Choose)
    {
        c.SetDroppedDown(false);
        c.SetStyle(Edit ? csDropDown : csDropDownList);
        Choose();
        ShowAt(c, p.R.Left, p.R.Top, p.W, p.H, p.Colour);
        c.SetFlat(p.Flat);
        c.SetEtched(p.Flat);
        if (g.Navigation.AutoComboDropSize) c.FitDropWidth();
        c.SetFocus();
        c.SetDroppedDown(g.MouseActions.DirectComboDrop);
        return &c;
    }
};

const TExtStringGrid::TEditorKind* TExtStringGrid::TEditorKind::Of(TEditorType Type)
{
    using TPlace = TEditorKind::TPlace;
    // The date picker opens alike for dates and times; a time is written through the picker's format.
    auto openDate = [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
        TGridDatePicker& d = *g.FEditors->Date;
        const bool time = p.Type == edTimeEdit;
        d.SetKind(time ? dtkTime : dtkDate);
        d.SetDateMode(p.Type == edDateEditUpDown ? dmUpDown : dmComboBox);
        if (time) d.SetTime(DateOrNow(p.Text, true));
        else d.SetDate(DateOrNow(p.Text, false));
        ShowAt(d, p.R.Left, p.R.Top, p.W, time || p.H < d.Height() ? p.H : d.Height(), p.Colour);
        d.SetFocus();
        if (!time && g.MouseActions.DirectDateDrop) d.SetDroppedDown(true);
        return nullptr;
    };
    static const std::vector<TEditorKind> kinds = {
        {{edSpinEdit, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridSpin& s = *g.FEditors->Spin;
             ShowAt(s, p.R.Left, p.R.Top, p.W, p.H, p.Colour);
             if (p.Type == edSpinEdit) {
                 s.SetSpinType(sptNormal);
                 s.SetValue(LeadingInteger(p.Text));
             } else if (p.Type == edFloatSpinEdit) {
                 s.SetSpinType(sptFloat);
                 double v = 0;
                 if (!TryParseNumber(NormalizeNumberText(p.Text), v)) v = 0;
                 s.SetFloatValue(v);
             } else if (p.Type == edTimeSpinEdit) {
                 s.SetSpinType(sptTime);
                 s.SetText(p.Text);
             } else {
                 s.SetDateValue(DateOrNow(p.Text, false));
                 s.SetSpinType(sptDate);
             }
             s.SetFocus();
             return &s;
         },
         true,
         [](TExtStringGrid& g, TEditorType t, int RC, int ARow) -> TWinControl* {
             TGridSpin& s = *g.FEditors->Spin;
             if (t == edFloatSpinEdit) g.SetCellAsFloat(RC, ARow, s.FloatValue());
             else if (t == edDateSpinEdit) g.SetCellAsDate(RC, ARow, s.DateValue());
             else g.StoreEditorText(RC, ARow, s.Text());
             return &s;
         }},
        {{edComboEdit, edComboList},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridCombo& c = *g.FEditors->Combo;
             const bool edit = p.Type == edComboEdit;
             return OpenCombo(g, c, p, edit, [&] {
                 if (edit) {
                     c.SetText(p.Text);
                     return;
                 }
                 const auto it = std::find(c.Items().begin(), c.Items().end(), g.RawCellText(p.RC, p.ARow));
                 c.SetItemIndex(it == c.Items().end() ? (c.ItemCount() > 0 ? 0 : -1) : static_cast<int>(it - c.Items().begin()));
             });
         },
         true,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             g.StoreEditorText(RC, ARow, g.FEditors->Combo->Text());
             return g.FEditors->Combo;
         }},
        {{edEditBtn, edNumericEditBtn, edFloatEditBtn},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridEditBtn& b = *g.FEditors->EditBtn;
             b.SetText(p.Text);
             b.SetMaxLength(0);
             ShowAt(b, p.R.Left, p.R.Top, p.W, p.H, p.Colour);
             b.SetFocus();
             return &b;
         },
         false,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             g.StoreEditorText(RC, ARow, g.FEditors->EditBtn->Text());
             return g.FEditors->EditBtn;
         }},
        {{edCheckBox},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridCheckBox& c = *g.FEditors->Check;
             ShowAt(c, p.R.Left, p.R.Top, p.W, p.H, p.Colour);
             c.SetCaption(p.Text);
             c.SetState(cbUnchecked);
             c.SetFocus();
             return nullptr;
         },
         false, [](TExtStringGrid& g, TEditorType, int, int) -> TWinControl* { return g.FEditors->Check; }},
        {{edDateEdit, edDateEditUpDown}, openDate, false,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             TGridDatePicker& d = *g.FEditors->Date;
             g.StoreEditorText(RC, ARow, d.Checked() ? DateToStr(d.Date()) : std::string());
             return &d;
         }},
        {{edTimeEdit}, openDate, false,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             TGridDatePicker& d = *g.FEditors->Date;
             // The picker's format stands for the long time format while the time is written.
             const std::string saved = FormatSettings().LongTimeFormat;
             if (!d.Format().empty()) FormatSettings().LongTimeFormat = d.Format();
             std::string t;
             try {
                 t = TimeToStr(d.Time());
             } catch (...) {
                 FormatSettings().LongTimeFormat = saved;
                 throw;
             }
             FormatSettings().LongTimeFormat = saved;
             g.StoreEditorText(RC, ARow, t);
             return &d;
         }},
        {{edButton},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridButton& b = *g.FEditors->Button;
             b.SetCaption(p.Text);
             ShowAt(b, p.R.Left - 1, p.R.Top - 1, p.W + 2, p.H + 2, b.Color());
             b.SetFocus();
             return nullptr;
         },
         false, [](TExtStringGrid& g, TEditorType, int, int) -> TWinControl* { return g.FEditors->Button; }},
        {{edUnitEditBtn},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridUnitEditBtn& u = *g.FEditors->UnitEdit;
             u.SetMaxLength(0);
             u.ShowCellText(p.Text);
             ShowAt(u, p.R.Left, p.R.Top, p.W, p.H, p.Colour);
             u.SetFocus();
             return &u;
         },
         false,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             TGridUnitEditBtn& u = *g.FEditors->UnitEdit;
             g.StoreEditorText(RC, ARow, u.Text() + u.UnitID());
             return &u;
         }},
        {{edCustom},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             return g.FCustomEditLink ? g.SetUpEditLink(p.RC, p.ARow, p.R, p.Colour, p.Font) : nullptr;
         },
         false,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             if (g.FCustomEditLink) g.CommitEditLink(RC, ARow);
             return nullptr;
         }},
        {{edRichEdit},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TExtRichEdit& r = *g.FEditors->Rich;
             r.SetBorderVisible(false);
             r.SetHideSelection(false);
             ShowAt(r, p.R.Left, p.R.Top, p.W, p.H, p.Colour);
             r.SuspendAutoSize();
             g.CellToRichEdit(p.RC, p.ARow, r);
             r.SelectAll();
             r.SetFormatRect({2, 2, p.R.Width() - 2, p.R.Height() - 2});
             r.SetFocus();
             // The typed character goes in before the editor sizes itself again.
             if (g.FEditChar) r.PostChar(AnsiCharToWide(static_cast<unsigned char>(g.FEditChar)));
             r.ResumeAutoSize();
             g.FEditChar = 0;
             return nullptr;
         },
         false,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             std::string t;
             g.RichEditToText(*g.FEditors->Rich, t);
             g.StoreEditorText(RC, ARow, t);
             return g.FEditors->Rich;
         }},
        {{edUniEdit},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridUniEdit& u = *g.FEditors->UniEdit;
             ShowAt(u, p.R.Left + g.XMargin + 2, p.R.Top + g.YMargin + 2, p.W - 2 * g.XMargin - 2, p.H - 2 * g.YMargin - 2,
                    p.Colour);
             u.SetFont(g.Font());
             u.SetWideText(g.ReadWideCell(p.RC, p.ARow));
             u.SetFocus();
             return &u;
         },
         true,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             g.WriteWideCell(RC, ARow, g.FEditors->UniEdit->WideText());
             return g.FEditors->UniEdit;
         }},
        {{edUniComboEdit, edUniComboList},
         [](TExtStringGrid& g, const TPlace& p) -> TWinControl* {
             TGridUniCombo& c = *g.FEditors->UniCombo;
             const bool edit = p.Type == edUniComboEdit;
             return OpenCombo(g, c, p, edit, [&] {
                 const std::u16string wide = g.ReadWideCell(p.RC, p.ARow);
                 if (!edit) c.SetItemIndex(c.FindItemExact(wide));
                 if (c.ItemIndex() < 0 && c.ItemCount() > 0) c.SetItemIndex(0);
                 if (edit) c.SetTextWide(wide);
             });
         },
         true,
         [](TExtStringGrid& g, TEditorType, int RC, int ARow) -> TWinControl* {
             g.WriteWideCell(RC, ARow, g.FEditors->UniCombo->TextWide());
             return g.FEditors->UniCombo;
         }},
    };
    for (const TEditorKind& k : kinds)
        if (std::find(k.Types.begin(), k.Types.end(), Type) != k.Types.end()) return &k;
    return nullptr;
}

void TExtStringGrid::ShowEditorControl(int ACol, int ARow)
{
    FEditPending = true;
    const TRect R = CellSpanRect(ACol, ARow);
    const int RC = DisplayToRealCol(ACol);
    TBrush brush;
    TFont font;
    ResolveCellLook(ACol, Row(), brush, font);
    SetGridState(gsNormal);
    FEditorOpen = true;
    const TEditorKind::TPlace place{FEditorType, R, R.Width() - 1, R.Height() - 1, RC, ARow, brush.Color(), font,
                                    GetEditText(ACol, ARow), FLook == glSoft || FLook == glQuarn || FLook == glXP};
    const TEditorKind* kind = TEditorKind::Of(FEditorType);
    TWinControl* typed = kind ? kind->Open(*this, place) : nullptr;
    if (FEditChar && typed) typed->PostChar(AnsiCharToWide(static_cast<unsigned char>(FEditChar)));
    FEditChar = 0;
}

void TExtStringGrid::CommitEditorControl(int ACol, int ARow)
{
    if (FCommitting || !FEditors) return;
    FCommitting = true;
    const int RC = DisplayToRealCol(ACol);
    FEditChar = 0;
    try {
        if (const TEditorKind* kind = TEditorKind::Of(FEditorType)) {
            if (kind->ClosesFirst) FEditorOpen = false;
            if (TWinControl* c = kind->Commit(*this, FEditorType, RC, ARow)) {
                c->SetEnabled(false);
                c->SetVisible(false);
                FEditorOpen = false;
            }
        }
    } catch (...) {
        FCommitting = false;
        throw;
    }
    FCommitting = false;
    DoEditingDone();
}

void TExtStringGrid::EditorControlKey(std::uint16_t Key, TShiftState Shift)
{
    FEditorKeyRouting = true;
    try {
        HideEditorControl();
        const bool alwaysEdit = Navigation.AlwaysEdit;
        Navigation.AlwaysEdit = false;
        if (CanFocus()) SetFocus();
        Navigation.AlwaysEdit = alwaysEdit;
        if (Key == VK_TAB || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
            std::uint16_t k = Key;
            KeyDown(k, Shift);
        } else if (Key == VK_RETURN && Navigation.AdvanceOnEnter)
            AdvanceCell(Col(), Row(), true, true, false);
    } catch (...) {
        FEditorKeyRouting = false;
        throw;
    }
    FEditorKeyRouting = false;
}
