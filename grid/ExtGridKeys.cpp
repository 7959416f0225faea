// The keyboard of the grid: Home and End, Tab walking, skipping fixed cells, clipboard keys, inserting
// and deleting rows, select-all, disjunct selection by keys, typing into cells, Escape reverting, Enter
// advancing, the incremental row search, and the advance and Tab steps that the editors call too.
#include "grid/ExtGrid.h"

#include "grid/EsgHTMLE.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

int TExtStringGrid::FirstNormalCol() { return FixedCols() == 0 && HasNodes() ? 1 : FixedCols(); }

std::string TExtStringGrid::CellPlainText(int ACol, int ARow) { return HTMLToPlainText(RawCellText(ACol, ARow)); }

int TExtStringGrid::FindRowByPrefix(const std::string& Prefix)
{
    if (RowCount() <= 1) return -1;
    const int col = SortSettings.Show ? SortSettings.Column : 1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const std::string t = UpperCase(CellPlainText(col, r).substr(0, Prefix.size()));
        if (t == Prefix) return r;
    }
    return -1;
}

void TExtStringGrid::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    // A key an editor control left to itself travels on to the grid: the control keeps it.
    if (FEditorOpen && !IsTextEditorType(FEditorType) && !Focused()) {
        Key = 0;
        return;
    }
    if (FPanning) StopPanning();
    const int savedLeft = LeftCol();
    FLastSelection = Selection();
    const int rc = DisplayToRealCol(Col());
    const bool ctrl = Shift.Contains(ssCtrl), shift = Shift.Contains(ssShift), alt = Shift.Contains(ssAlt);
    const bool rowSelect = Options().Contains(goRowSelect);
    // Space on a check-box or radio cell toggles it, or moves the choice to the next button.
    if (Key == VK_SPACE && IsCheckOrRadioCell(rc, Row())) {
        const TPoint b = BaseCellOf(rc, Row());
        bool can = Options().Contains(goEditing) || MouseActions.RangeSelectAndEdit;
        CanEditCell(b.x, b.y, can);
        if (can) {
            if (IsCheckBoxCell(b.x, b.y)) {
                ToggleCellCheck(b.x, b.y, true);
                bool state = false;
                GetCheckBoxState(b.x, b.y, state);
                if (OnCheckBoxClick) OnCheckBoxClick(this, b.x, b.y, state);
            } else {
                StepRadio(b.x, b.y, true);
                int index = -1;
                RadioIndexOf(b.x, b.y, index);
                if (OnRadioClick) OnRadioClick(this, b.x, b.y, index);
            }
            RefreshCell(Col(), Row());
        }
    }
    auto toBase = [this] {
        const TPoint b = BaseCellOf(Col(), Row());
        if (b.x != Col() || b.y != Row()) MoveColRow(b.x, b.y, true, true);
    };
    if (Key == VK_HOME || Key == VK_END) {
        bool done = true;
        if (Key == VK_HOME && Navigation.HomeEndKey == heFirstLastRow) SetRow(FixedRows());
        else if (Key == VK_HOME && rowSelect) {
            SetCol(FirstNormalCol());
            SetLeftCol(FirstNormalCol());
        } else if (Key == VK_END && Navigation.HomeEndKey == heFirstLastRow)
            SetRow(FloatingFooter.Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1);
        else if (Key == VK_END && rowSelect) {
            SetCol(ColCount() - 1);
            SetLeftCol(ColCount() - VisibleColCount());
        } else done = false;
        if (done) {
            toBase();
            Key = 0;
            return;
        }
    }
    if (Key == VK_TAB && Options().Contains(goTabs)) {
        TabNavigate(shift);
        Key = 0;
        return;
    }
    if (Navigation.SkipFixedCells && !ctrl && !shift) {
        int dc = 0, dr = 0;
        bool start = false;
        switch (Key) {
        case VK_LEFT: dc = -1; start = FixedCols() < Col() && IsFixedCell(Col() - 1, Row()); break;
        case VK_UP: dr = -1; start = FixedRows() < Row() && IsFixedCell(Col(), Row() - 1); break;
        case VK_RIGHT: dc = 1; start = Col() < ColCount() - FFixedRightCols - 1 && IsFixedCell(Col() + 1, Row()); break;
        case VK_DOWN:
            dr = 1;
            start = Row() < RowCount() - FFixedFooters && Row() + 1 < RowCount() && IsFixedCell(Col(), Row() + 1);
            break;
        default: break;
        }
        if (start) {
            int c = Col() + dc, r = Row() + dr;
            auto inside = [&](int cc, int rr) {
                return cc >= FixedCols() && cc < ColCount() - FFixedRightCols && rr >= FixedRows() && rr < RowCount() - FFixedFooters;
            };
            while (inside(c, r) && IsFixedCell(c, r)) {
                c += dc;
                r += dr;
            }
            if (inside(c, r)) MoveColRow(c, r, true, true);
            Key = 0;
            return;
        }
    }
    TBaseGrid::WMKeyDown(Key, Shift);   // OnKeyDown, then the base grid's and the class library's steps
    if (rowSelect && Navigation.KeepHorizScroll && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN))
        SetLeftCol(savedLeft);
    if (FSelectionRectangle && !(Selection() == FLastSelection)) {
        Invalidate();
        FLastSelection = Selection();
    }
    const int dr = MouseActions.DisjunctRowSelect && MouseActions.RowSelectPersistent ? DisplayToRealRow(Row()) : Row();
    if (Navigation.AllowClipboardShortCuts) {
        auto clip = [&](const TAllowEvent& ev, void (TExtStringGrid::*op)()) {
            bool allow = true;
            if (ev) ev(this, allow);
            if (allow) (this->*op)();
            Key = 0;
        };
        if (ctrl && Key == 'X') return clip(OnClipboardCut, &TExtStringGrid::CutToClipboard);
        if (ctrl && Key == 'V') return clip(OnClipboardPaste, &TExtStringGrid::PasteFromClipboard);
        if (ctrl && (Key == 'C' || Key == VK_INSERT)) return clip(OnClipboardCopy, &TExtStringGrid::CopyToClipboard);
        if (shift && Key == VK_INSERT) return clip(OnClipboardPaste, &TExtStringGrid::PasteFromClipboard);
        if (shift && Key == VK_DELETE) return clip(OnClipboardCut, &TExtStringGrid::CutToClipboard);
    }
    if (Key == VK_INSERT && Navigation.AllowInsertRow && !ctrl && !shift && !alt) {
        bool can = true;
        CanInsertRow(Row(), can);
        if (!can) {
            Key = 0;
            return;
        }
        if (Navigation.InsertPosition == pInsertBefore) AutoInsertRow(Row());
        else if (FixedRowAlways && FixedRows() == RowCount()) {
            AutoInsertRow(Row());
            SetRow(1);
        } else {
            AutoInsertRow(Row() + 1);
            SetRow(Row() + 1);
        }
        RecalcFooter(-1);
    }
    if (ctrl && Key == 'A') {
        if (rowSelect || Options().Contains(goRangeSelect))
            SetSelection({FirstNormalCol(), FixedRows(), ColCount() - FFixedRightCols - 1, RowCount() - FFixedFooters - 1});
        Key = 0;
        return;
    }
    const bool nav = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_LEFT ||
                     Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
    if (nav && MouseActions.DisjunctRowSelect) {
        if (!shift && !ctrl) ClearRowSelection();
        if (shift) SelectionToRowFlags(true);
        else SetRowSelected(dr, true);
    }
    if (nav && MouseActions.DisjunctColSelect) {
        if (!shift && !ctrl) ClearColSelection();
        if (shift) SelectionToColFlags(true);
        else SetColSelected(Col(), true);
    }
    if (Key == VK_SPACE && MouseActions.DisjunctRowSelect) SetRowSelected(dr, !IsRowSelected(dr));
    if (Key == VK_SPACE && MouseActions.DisjunctColSelect) SetColSelected(Col(), !IsColSelected(Col()));
    if (Key == VK_DELETE && Navigation.AllowDeleteRow && !alt && RowCount() - FFixedFooters - FixedRows() >= 1) {
        bool can = true;
        if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), can);
        if (!can) {
            Key = 0;
            return;
        }
        AutoDeleteRow(Row());
        RecalcFooter(-1);
    }
}

void TExtStringGrid::WMChar(char& Key)
{
    if (FEditorOpen && !IsTextEditorType(FEditorType) && !Focused()) {
        Key = 0;
        return;
    }
    const int rc = DisplayToRealCol(Col());
    const bool ctrl = false;
    (void)ctrl;
    if (MouseActions.RangeSelectAndEdit && !IsCheckOrRadioCell(rc, Row()) && CellEditable(rc, Row())) {
        FEditChar = Key;
        SetOptions(Options() + TGridOptions{goEditing});
        const TRect r = CellRect(Col(), Row());
        MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
        TBaseGrid::WMChar(Key);
        return;
    }
    if (ExcelStyleDecimalSeparator && Key == '.' && CharFromKeypad()) Key = FormatSettings().DecimalSeparator;
    if (IsCheckOrRadioCell(rc, Row()) && Key != 13) Key = 0;
    if (Key == 0) return;
    if (Options().Contains(goEditing) && (Key == 8 || static_cast<unsigned char>(Key) >= 32)) {
        FEditChar = Key;
        if (!IsCheckOrRadioCell(rc, Row())) ShowEditorChar(Key);
        Key = 0;
        return;
    }
    TBaseGrid::WMChar(Key);
}

void TExtStringGrid::KeyPress(char& Key)
{
    if (Key == 27) {
        if (Options().Contains(goEditing) && FEditPending) RevertCellEdit();
        return;
    }
    const int rc = DisplayToRealCol(Col());
    if (Key == 13 && (!Focused() || IsCheckOrRadioCell(rc, Row()))) {
        AdvanceCell(Col(), Row(), true, false, false);
        if (IsCheckOrRadioCell(DisplayToRealCol(Col()), Row())) return;
    }
    if (!Options().Contains(goEditing) && Navigation.AutoGotoWhenSorted && Key != 13) {
        if (!Navigation.AutoGotoIncremental) FSearchText = std::string(1, Key);
        else if (Key == 8) {
            if (!FSearchText.empty()) FSearchText.pop_back();
        } else FSearchText += Key;
        const int r = FindRowByPrefix(UpperCase(FSearchText));
        if (r != -1) SetRow(r);
    }
    TBaseGrid::KeyPress(Key);
}

void TExtStringGrid::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: FSearchText.clear(); break;
    default: break;
    }
    const std::uint16_t key = Key;
    TBaseGrid::KeyUp(Key, Shift);
    if (Navigation.AlwaysEdit &&
        (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN || (key == VK_TAB && Options().Contains(goTabs))))
        ShowCellEditor();
}

// The next (previous) editable cell, one pass over the normal cells at most; without one the cursor stays.
void TExtStringGrid::AdvanceCell(int ACol, int ARow, bool Forward, bool OpenEditor, bool Force)
{
    if (!Navigation.AdvanceOnEnter && !Force) return;
    if (MouseActions.RangeSelectAndEdit && !Options().Contains(goEditing)) SetOptions(Options() + TGridOptions{goEditing});
    const int oldCol = ACol, oldRow = ARow;
    FEditChar = 0;
    const int lastCol = ColCount() - 1 - FFixedRightCols, lastRow = RowCount() - 1 - FFixedFooters;
    const int cells = std::max(1, (lastCol - FirstNormalCol() + 1) * (lastRow - FixedRows() + 1));
    bool found = false;
    for (int step = 0; step <= cells; ++step) {
        const TPoint span = BaseSpans(DisplayToRealCol(ACol), ARow);
        if (Forward && Navigation.AdvanceDirection == adLeftRight) {
            if (ACol + span.x >= lastCol && ARow >= lastRow) {
                // Only the first step appends: a pass that finds no editable cell adds nothing.
                if (Navigation.AdvanceInsert && step == 0) {
                    bool can = true;
                    CanAddRow(can);
                    ACol = FirstNormalCol();
                    if (can) {
                        InsertRows(FloatingFooter.Visible() ? RowCount() - 1 : RowCount(), 1);
                        ++ARow;
                        if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - 1 - FFixedFooters);
                    } else ARow = FixedRows();
                } else {
                    ACol = FirstNormalCol();
                    ARow = FixedRows();
                }
            } else if (ACol + span.x >= lastCol) {
                ACol = FirstNormalCol();
                ++ARow;
            } else ACol += span.x + 1;
        } else if (Forward) {
            if (ARow >= lastRow) {
                if (ACol >= lastCol) {
                    if (Navigation.AdvanceInsert && step == 0) {
                        SetColCount(ColCount() + 1);
                        ACol += span.x + 1;
                        ARow = FixedRows();
                        if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - 1 - FFixedRightCols);
                    } else {
                        ACol = FirstNormalCol();
                        ARow = FixedRows();
                    }
                } else {
                    ARow = FixedRows();
                    ACol += span.x + 1;
                    if (ACol >= ColCount()) ACol = FirstNormalCol();
                }
                Invalidate();
            } else ++ARow;
        } else if (Navigation.AdvanceDirection == adLeftRight) {
            if (ACol > FirstNormalCol()) --ACol;
            else if (ARow > FixedRows()) {
                ACol = lastCol;
                --ARow;
            } else {
                ACol = lastCol;
                ARow = lastRow;
            }
        } else {
            if (ARow > FixedRows()) --ARow;
            else if (ACol > FirstNormalCol()) {
                --ACol;
                ARow = lastRow;
            } else {
                ACol = lastCol;
                ARow = lastRow;
            }
        }
        ACol = std::clamp(ACol, 0, ColCount() - 1);
        ARow = std::clamp(ARow, 0, RowCount() - 1);
        if (CellEditable(DisplayToRealCol(ACol), ARow)) {
            found = true;
            break;
        }
    }
    if (!found) return;
    bool allow = true;
    if (OnCellChanging) OnCellChanging(this, oldRow, oldCol, ARow, ACol, allow);
    FAdvancing = true;
    if (allow) MoveColRow(ACol, ARow, true, true);
    else SelectCell(oldCol, oldRow);
    FAdvancing = false;
    const int rc = DisplayToRealCol(ACol);
    if ((OpenEditor || IsCheckOrRadioCell(rc, ARow)) && CellEditable(rc, ARow) && allow) ShowEditor();
}

void TExtStringGrid::TabNavigate(bool Backward)
{
    if (OnKeyDown) {
        std::uint16_t key = VK_TAB;
        OnKeyDown(this, key, Backward ? TShiftState{ssShift} : TShiftState{});
        if (key != VK_TAB) return;
    }
    const int lastCol = ColCount() - VisibleRightFixedCols() - 1, lastRow = RowCount() - FFixedFooters - 1;
    int c = Col(), r = Row();
    if (Backward && Navigation.TabAdvanceDirection == adLeftRight) {
        if (c > FirstNormalCol()) --c;
        else {
            c = lastCol;
            r = r > FixedRows() ? r - 1 : lastRow;
        }
    } else if (Backward) {
        if (r > FixedRows()) --r;
        else {
            r = lastRow;
            c = c > FirstNormalCol() ? c - 1 : lastCol;
        }
    } else if (Navigation.TabAdvanceDirection == adLeftRight) {
        const int sx = BaseSpans(DisplayToRealCol(c), r).x;
        if (c + sx + 1 < ColCount() - VisibleRightFixedCols()) c += sx + 1;
        else {
            c = FirstNormalCol();
            r = r < lastRow ? r + 1 : FixedRows();
        }
    } else {
        const int sy = BaseSpans(DisplayToRealCol(c), r).y;
        if (r + sy + 1 < RowCount() - FFixedFooters) r += sy + 1;
        else {
            r = FixedRows();
            c = c < lastCol ? c + 1 : FirstNormalCol();
        }
    }
    MoveColRow(c, r, true, true);
    if (Navigation.AlwaysEdit) SetFocus();
}

void TExtStringGrid::DoEnter()
{
    if (FEditorKeyRouting || FocusMoveWithinGrid()) return;
    try {
        TBaseGrid::DoEnter();
        SelectCell(Col(), Row());
    } catch (...) {
        RememberEditCell(Col(), Row());
        throw;
    }
    RememberEditCell(Col(), Row());
}

void TExtStringGrid::DoExit()
{
    if (FocusMoveWithinGrid()) return;
    TBaseGrid::DoExit();
}

void TExtStringGrid::WMSetFocus(TWinControl* OldFocus)
{
    TBaseGrid::WMSetFocus(OldFocus);
    if (IsCheckOrRadioCell(DisplayToRealCol(Col()), Row())) return;
    if (OldFocus != InplaceEditor() && Navigation.AlwaysEdit && FEditorType == edNormal) ShowCellEditor();
    if ((RowCount() == 1 && FixedRowAlways) || (ColCount() == 1 && FixedColAlways)) HideSelection();
}
