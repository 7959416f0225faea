// Editing: the in-place text editor (keys, character filter by editor type, lookup completion, paste,
// focus loss), the cell-selection gate that switches editing per cell, the editor set-up, and the
// validation of an edited text with its change notification.
#include "grid/ExtGrid.h"
#include "grid/ExtGridEditors.h"

#include "platform/controls/ShellApi.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

// ---- TExtInplaceEdit ---------------------------------------------------------------------------------

const TClassInfo& TExtInplaceEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TExtInplaceEdit", .Parent = &TInplaceEdit::StaticClassInfo()});
    return info;
}

TExtInplaceEdit::TExtInplaceEdit(TExtStringGrid* AGrid) : TInplaceEdit(AGrid), FExtGrid(AGrid) {}

// ---- The fixed-cell edit -----------------------------------------------------------------------------

const TClassInfo& TGridTransEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridTransEdit", .Parent = &TCustomEdit::StaticClassInfo()});
    return info;
}

TGridTransEdit::TGridTransEdit(TExtStringGrid* AGrid) : TCustomEdit(AGrid), FGrid(AGrid) {}

void TGridTransEdit::Finish(bool Store)
{
    if (FFinishing || !Visible()) return;
    FFinishing = true;
    if (Store && FGrid) FGrid->SetCellValue(Col, Row, Text());
    SetVisible(false);
    FFinishing = false;
}

void TGridTransEdit::WMKillFocus(TWinControl*) { Finish(true); }

void TGridTransEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key != VK_RETURN && Key != VK_ESCAPE) return;
    Finish(Key == VK_RETURN);
    Key = 0;
    if (FGrid && FGrid->CanFocus()) FGrid->SetFocus();
}

void TExtStringGrid::EditFixedCell(int ACol, int ARow)
{
    if (!FTransEdit) {
        FTransEdit = new TGridTransEdit(this);
        FTransEdit->SetParent(this);
    }
    const TRect r = CellRect(ACol, ARow);
    FTransEdit->Col = DisplayToRealCol(ACol);
    FTransEdit->Row = ARow;
    FTransEdit->SetBounds(r.Left + 1, r.Top + 1, r.Right - r.Left - 2, r.Bottom - r.Top - 2);
    FTransEdit->SetFont(FixedFont());
    FTransEdit->SetText(RawCellText(FTransEdit->Col, ARow));
    FTransEdit->SetVisible(true);
    FTransEdit->SetFocus();
}

// The window's styles follow the cell at every load: alignment, password and the length limit.
void TExtInplaceEdit::Recreate()
{
    SetAlignment(FVAlign ? taRightJustify : taLeftJustify);
    SetPasswordChar(FExtGrid->EditorType() == edPassword ? FExtGrid->PasswordChar : 0);
    if (FLengthLimit == 0) FLengthLimit = FExtGrid->MaxEditLength();
    FCompletion = true;
}

void TExtInplaceEdit::SetVAlign(bool v)
{
    FVAlign = v;
    Recreate();
}

void TExtInplaceEdit::SetWordWrap(bool v)
{
    FWordWrap = v;
    Recreate();
}

void TExtInplaceEdit::UpdateContents()
{
    FWordWrap = FExtGrid->WordWrap();
    TInplaceEdit::UpdateContents();
    Recreate();
    TCanvas& c = FExtGrid->Canvas();
    FExtGrid->ResolveCellLook(FExtGrid->Col(), FExtGrid->Row(), c.Brush(), c.Font());
    SetColor(c.Brush().Color());
    SetFont(c.Font());
}

void TExtInplaceEdit::BoundsChanged()
{
    const TRect r = FExtGrid->CellSpanRect(FExtGrid->Col(), FExtGrid->Row());
    SetBounds(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
}

void TExtInplaceEdit::ReloadAfterRefusal()
{
    SetText(FExtGrid->GetCurrentCellText());
    if (FExtGrid->Navigation.EditSelectAll) SelectAll();
    else SetSelStart(static_cast<int>(Text().size()));
}

void TExtInplaceEdit::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FExtGrid;
    if (Key == VK_ESCAPE) SetText(g.EditOriginalText());
    if (Key == VK_TAB && g.Options().Contains(goTabs)) {
        if (!g.ValidateEditText(Text())) ReloadAfterRefusal();
        g.HideEditorControl();
        g.TabNavigate(Shift.Contains(ssShift));
        Key = 0;
        return;
    }
    const bool upDown = (Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssShift);
    const bool enter = Key == VK_RETURN && !g.Navigation.LineFeedOnEnter && !Shift.Contains(ssCtrl);
    if (upDown || enter) {
        if (!g.ValidateEditText(Text())) {
            ReloadAfterRefusal();
            Key = 0;
            return;
        }
        SetText(g.GetCurrentCellText());
    }
    if (Key == VK_RETURN && Shift.Contains(ssCtrl) && g.Navigation.LineFeedOnEnter) {
        SetSelText("\r\n");
        Key = 0;
        return;
    }
    TInplaceEdit::WMKeyDown(Key, Shift);
}

void TExtInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TExtStringGrid& g = *FExtGrid;
    FCompletion = !(Key == VK_BACK || Key == VK_DELETE);
    const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const int len = static_cast<int>(Text().size());
    if (Key == VK_RIGHT && SelLength() == 0 && SelStart() == len && plain && g.Navigation.CursorWalkEditor) {
        const TAdvanceDirection saved = g.Navigation.AdvanceDirection;
        g.Navigation.AdvanceDirection = adLeftRight;
        g.AdvanceCell(g.Col(), g.Row(), true, true, true);
        g.Navigation.AdvanceDirection = saved;
        Key = 0;
        return;
    }
    if (Key == VK_LEFT && SelLength() == 0 && SelStart() == 0 && plain && g.Navigation.CursorWalkEditor) {
        const TAdvanceDirection saved = g.Navigation.AdvanceDirection;
        g.Navigation.AdvanceDirection = adLeftRight;
        g.AdvanceCell(g.Col(), g.Row(), false, true, true);
        g.Navigation.AdvanceDirection = saved;
        Key = 0;
        return;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

void TExtInplaceEdit::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_LEFT || Key == VK_RIGHT) return;
    TInplaceEdit::KeyUp(Key, Shift);
    CompleteFromLookup();
    TExtStringGrid& g = *FExtGrid;
    if (g.SizeWhileTyping.Width) g.AutoSizeColumn(g.Col(), true);
    if (g.SizeWhileTyping.Height && g.WordWrap()) {
        g.AutoSizeRow(g.Row());
        if (g.OnEndRowSize) g.OnEndRowSize(&g, g.Row());
    }
}

void TExtInplaceEdit::KeyPress(char& Key)
{
    TExtStringGrid& g = *FExtGrid;
    if (Key == 13 && !g.Navigation.LineFeedOnEnter && !g.ValidateEditText(Text())) {
        ReloadAfterRefusal();
        Key = 0;
        return;
    }
    TInplaceEdit::KeyPress(Key);
}

// The character filter of the editor types; a character that passes is typed here.
void TExtInplaceEdit::WMChar(char& Key)
{
    TExtStringGrid& g = *FExtGrid;
    const TFormatSettings& fs = FormatSettings();
    if (g.ExcelStyleDecimalSeparator && Key == '.' && CharFromKeypad()) Key = fs.DecimalSeparator;
    const int len = static_cast<int>(Text().size());
    if (FLengthLimit > 0 && len >= FLengthLimit && SelLength() == 0 && Key != 8 && Key != 27 &&
        !(Key == 13 && g.Navigation.AdvanceOnEnter)) {
        Key = 0;
        return;
    }
    const TEditorType t = g.EditorType();
    const bool control = Key == 8 || Key == 9 || Key == 13 || Key == 27;
    switch (t) {
    case edNumeric:
    case edPositiveNumeric:
    case edFloat: FilterNumberChar(t, *this, Key); break;
    case edCapital:
    case edUpperCase: Key = UpCaseChar(Key); break;
    case edLowerCase: Key = LoCaseChar(Key); break;
    default: break;
    }
    if (Key == 0) return;
    TInplaceEdit::WMChar(Key);
    if (Key == 0 || control) return;
    // Typed here rather than by the native edit, so that the mixed-case rewrite sees the new text.
    const int start = SelStart();
    SetSelText(std::string(1, Key));
    Key = 0;
    if (t == edMixedCase) {
        SetText(CapitalizeName(Text()));
        SetSelStart(start + 1);
    }
}

void TExtInplaceEdit::CompleteFromLookup()
{
    TExtStringGrid& g = *FExtGrid;
    if (!FCompletion || SelLength() != 0 || !g.Lookup || g.LookupItems.empty()) return;
    const int caret = SelStart();
    if (caret <= 0) return;
    const std::string typed = Text().substr(0, static_cast<std::size_t>(caret));
    const std::string prefix = g.LookupCaseSensitive ? typed : UpperCase(typed);
    for (const std::string& item : g.LookupItems) {
        const std::string cmp = g.LookupCaseSensitive ? item : UpperCase(item);
        if (cmp.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string text = typed + item.substr(std::min(item.size(), prefix.size()), 255);
        SetText(text);
        SetSelStart(caret);
        SetSelLength(static_cast<int>(text.size()) - caret);
        return;
    }
}

void TExtInplaceEdit::PasteText(const std::string& Clip)
{
    TExtStringGrid& g = *FExtGrid;
    std::string value = Clip;
    if (FLengthLimit > 0 && static_cast<int>(value.size()) > FLengthLimit) return;
    const int start = SelStart(), selLen = SelLength();
    std::string merged = Text();
    merged.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(selLen), value);
    if (FLengthLimit > 0 && static_cast<int>(merged.size()) > FLengthLimit) return;
    bool allow = true;
    if (g.OnClipboardPaste) g.OnClipboardPaste(this, allow);
    if (!allow) return;
    switch (g.EditorType()) {
    case edNumeric:
        if (ClassifyNumberText(merged) == 0) SetText(merged);
        break;
    case edPositiveNumeric:
        // A minus sign is no positive number.
        if (ClassifyNumberText(merged) == 0 && merged.find('-') == std::string::npos) SetText(merged);
        break;
    case edFloat:
        if (ClassifyNumberText(merged) <= 1) SetText(merged);
        break;
    case edMixedCase: SetText(CapitalizeName(merged)); break;
    case edLowerCase: SetText(LowerCase(merged)); break;
    case edUpperCase: SetText(UpperCase(merged)); break;
    default: SetText(merged); break;
    }
    SetSelStart(start);
    if (selLen > 0) SetSelLength(static_cast<int>(value.size()));
    else SetSelStart(start + static_cast<int>(value.size()));
}

// Leaving the editor for anything but the grid (another control or another window) validates.
void TExtInplaceEdit::WMKillFocus(TWinControl* NewFocus)
{
    TExtStringGrid& g = *FExtGrid;
    if (g.FDestroying) return;
    g.FEditChar = 0;
    if (g.LookupHistory && std::find(g.LookupItems.begin(), g.LookupItems.end(), Text()) == g.LookupItems.end())
        g.LookupItems.push_back(Text());
    if (NewFocus != &g && Visible()) {
        g.ValidateEditText(Text());
        g.HideEditorControl();
        g.FEditPending = false;
        g.FEditorOpen = false;
        g.SelectCell(g.Col(), g.Row());
    }
    SetText(g.GetCurrentCellText());
    g.DoEditingDone();
}

void TExtInplaceEdit::DblClick()
{
    TInplaceEdit::DblClick();
    if (FExtGrid->OnDblClickCell) FExtGrid->OnDblClickCell(FExtGrid, FExtGrid->Row(), FExtGrid->Col());
}

// With the editor focused each wheel notch moves the current row by one.
bool TExtInplaceEdit::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) { return FExtGrid->DoMouseWheelDown(Shift, MousePos); }
bool TExtInplaceEdit::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) { return FExtGrid->DoMouseWheelUp(Shift, MousePos); }

// ---- The grid's editing ------------------------------------------------------------------------------

TInplaceEdit* TExtStringGrid::CreateEditor() { return new TExtInplaceEdit(this); }

std::string TExtStringGrid::GetEditText(int ACol, int ARow)
{
    const int rc = DisplayToRealCol(ACol);
    if (auto* e = dynamic_cast<TExtInplaceEdit*>(InplaceEditor())) {
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        CellAlignmentOf(rc, ARow, ha, va);
        e->SetVAlign(ha == taRightJustify);
    }
    std::string v = TBaseGrid::GetEditText(rc, ARow);
    return EditWithTags ? v : HTMLToPlainText(v);
}

void TExtStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    TBaseGrid::SetEditText(DisplayToRealCol(ACol), ARow, Value);
}

std::string TExtStringGrid::GetCurrentCellText() { return RawCellText(DisplayToRealCol(Col()), Row()); }

void TExtStringGrid::SetCurrentCellText(const std::string& Value) { SetCellValue(DisplayToRealCol(Col()), Row(), Value); }

void TExtStringGrid::RevertCellEdit()
{
    SetCellValue(DisplayToRealCol(Col()), Row(), FEditOriginalText);
    SetCells(Col(), Row(), Cells(Col(), Row()));
    RefreshCell(Col(), Row());
}

void TExtStringGrid::StoreEditorText(int ACol, int ARow, const std::string& Value)
{
    SetEditText(RealToDisplayCol(ACol), ARow, Value);
    SetCellValue(ACol, ARow, Value);
}

void TExtStringGrid::DoEditingDone()
{
    if (OnEditingDone) OnEditingDone(this);
}

void TExtStringGrid::ShowCellEditor()
{
    if (!IsCheckOrRadioCell(DisplayToRealCol(Col()), Row())) ShowEditor();
}

void TExtStringGrid::HideEditorControl()
{
    if (!FEditorOpen) return;
    HideEditor();
    CommitEditorControl(Col(), Row());
    FEditChar = 0;
    FEditorOpen = false;
    SelectCell(Col(), Row());
}

bool TExtStringGrid::SelectCell(int ACol, int ARow)
{
    bool allow = true;
    bool answer = false;
    if (FloatingFooter.Visible() && FloatingFooter.FooterStyle() == fsFixedLastRow && ARow == RowCount() - 1) return false;
    if (ACol < 0 || ARow < 0) return false;
    if (ARow != Row() && OnRowChanging) OnRowChanging(this, Row(), ARow, allow);
    if (ACol != Col() && OnColChanging) OnColChanging(this, Col(), ACol, allow);
    if ((ARow != Row() || ACol != Col()) && !FAdvancing && OnCellChanging) OnCellChanging(this, Row(), Col(), ARow, ACol, allow);
    if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect)) return false;
    if (!allow) return false;
    const int oldCol = Col(), oldRow = Row();
    const int rc = DisplayToRealCol(ACol);
    std::string newText = GetCellValue(rc, ARow);
    const bool editorFocused = InplaceEditor() && InplaceEditor()->Focused();
    if (!IsCheckOrRadioCell(rc, ARow)) {
        bool canEdit = Options().Contains(goEditing) || FEditingSuspended;
        CanEditCell(rc, ARow, canEdit);
        if (canEdit) {
            FEditingSuspended = false;
            if (!Options().Contains(goEditing)) {
                FSkipNextInvalidate = true;
                if (!FEditPending) RememberEditCell(ACol, ARow);
                SetOptions(Options() + TGridOptions{goEditing});
            }
            if (FEditPending && !FValidating && !editorFocused) {
                HideEditorControl();
                newText = GetCellValue(rc, ARow);
            }
        } else {
            if (FEditPending && !FValidating && !editorFocused) {
                HideEditorControl();
                newText = GetCellValue(rc, ARow);
            }
            if (Options().Contains(goEditing)) {
                FEditingSuspended = true;
                FSkipNextInvalidate = true;
                SetOptions(Options() - TGridOptions{goEditing});
            }
        }
    }
    if (FEditPending && !editorFocused) {
        const bool ok = IsWideCell(DisplayToRealCol(Col()), Row()) ? ValidateEditTextWide(ReadWideCell(DisplayToRealCol(Col()), Row()))
                                                                   : ValidateEditText(GetCurrentCellText());
        if (ok) answer = TBaseGrid::SelectCell(ACol, ARow);
    } else if (IsFixedCell(ACol, ARow)) answer = false;
    else answer = TBaseGrid::SelectCell(ACol, ARow);
    if (!FRowIndicator.Empty() && FixedCols() > 0) {
        RefreshCell(0, oldRow);
        RefreshCell(0, ARow);
    }
    if (FActiveCellShow) {
        RefreshCell(oldCol, 0);
        RefreshCell(0, oldRow);
        RefreshCell(ACol, 0);
        RefreshCell(0, ARow);
    }
    FEditOriginalText = newText;
    return answer;
}

bool TExtStringGrid::CanEditShow()
{
    if (FValidating) return false;
    bool answer = TBaseGrid::CanEditShow();
    if (ComponentState().Contains(csDesigning)) return answer;
    const TPoint b = BaseCellOf(DisplayToRealCol(Col()), Row());
    if (answer && !FEditorOpen && IsCheckOrRadioCell(b.x, b.y)) return false;
    // An editor control is open on the cell: the class library's editor stays away.
    if (answer && FEditorOpen && !IsTextEditorType(FEditorType)) return false;
    if (answer && !FEditorOpen) {
        FEditOriginalText = GetCurrentCellText();
        FEditorType = edNormal;
        GetCellEditorType(b.x, b.y, FEditorType);
        FEditorOpen = true;
        if (!IsTextEditorType(FEditorType)) {
            ShowEditorControl(RealToDisplayCol(b.x), b.y);
            answer = false;
        }
    }
    if (answer) FEditPending = true;
    return answer;
}

void TExtStringGrid::RememberEditCell(int ACol, int ARow)
{
    FEditCol = ACol;
    FEditRow = ARow;
    const int rc = DisplayToRealCol(ACol);
    FEditStartText = RawCellText(rc, ARow);
    FEditStartTextWide = ReadWideCell(rc, ARow);
}

bool TExtStringGrid::ValidateEditText(const std::string& Value)
{
    bool valid = true;
    if (!FEditPending || FValidating) return true;
    FEditPending = false;
    FValidating = true;
    const int rc = DisplayToRealCol(FEditCol);
    // Hiding the editor below moves the focus, whose steps remember the cell again: keep the start text.
    const std::string startText = FEditStartText;
    if (Value != startText) {
        CellValueChanged(rc, FEditRow);
        std::string newValue = Value;
        try {
            if (FCellChecker && FCellChecker->AutoCorrect) newValue = FCellChecker->CorrectText(rc, FEditRow, newValue);
            if (OnCellValidate) OnCellValidate(this, rc, FEditRow, newValue, valid);
            if (FCellChecker && FCellChecker->AutoMarkError) newValue = FCellChecker->MarkErrorText(rc, FEditRow, newValue);
        } catch (...) {
            // The editing state is put back before the handler's exception goes on.
            FValidating = false;
            FEditPending = true;
            throw;
        }
        if (UndoRedo()) UndoRedo()->RecordChange(rc, FEditRow, FEditOriginalText, newValue);
        CellsChanged({rc, FEditRow, rc, FEditRow});
        if (valid) {
            SetCellValue(rc, FEditRow, newValue);
            // An editor control stays open until it is committed.
            if (IsTextEditorType(FEditorType)) FEditorOpen = false;
        } else {
            HideEditor();
            SetCellValue(rc, FEditRow, newValue != Value ? newValue : startText);
            if (FEditCol >= 0 && FEditRow >= 0 && FEditCol < ColCount() && FEditRow < RowCount())
                MoveColRow(FEditCol, FEditRow, true, true);
            FValidating = false;
            FEditPending = true;
            ShowCellEditor();
            if (FEditCol != Col()) InvalidateEditor();
        }
        FEditStartText = RawCellText(rc, FEditRow);
    }
    RememberEditCell(Col(), Row());
    FValidating = false;
    return valid;
}

bool TExtStringGrid::ValidateEditTextWide(const std::u16string& Value)
{
    bool valid = true;
    if (!FEditPending || FValidating) return true;
    FEditPending = false;
    FValidating = true;
    const int rc = DisplayToRealCol(FEditCol);
    if (Value != FEditStartTextWide) {
        CellValueChanged(rc, FEditRow);
        std::u16string newValue = Value;
        try {
            if (OnCellValidateWide) OnCellValidateWide(this, rc, FEditRow, newValue, valid);
        } catch (...) {
            FValidating = false;
            FEditPending = true;
            throw;
        }
        CellsChanged({rc, FEditRow, rc, FEditRow});
        if (valid) WriteWideCell(rc, FEditRow, newValue);
        else {
            HideEditor();
            if (newValue != Value) WriteWideCell(rc, FEditRow, newValue);
            else SetRawCellText(rc, FEditRow, FEditStartText);
            if (FEditCol >= 0 && FEditRow >= 0 && FEditCol < ColCount() && FEditRow < RowCount())
                MoveColRow(FEditCol, FEditRow, true, true);
            FValidating = false;
            FEditPending = true;
            ShowCellEditor();
        }
        FEditStartTextWide = ReadWideCell(rc, FEditRow);
    }
    RememberEditCell(Col(), Row());
    FValidating = false;
    return valid;
}

void TExtStringGrid::CellsChanged(const TRect& R)
{
    if (OnCellsChanged) OnCellsChanged(this, R);
    RecalcFooter(-1);
}
