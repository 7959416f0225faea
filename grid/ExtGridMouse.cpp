// The mouse of the grid: the left press in steps (fixed cells, cell widgets, disjunct selection, links,
// fixed-area selection clicks, check boxes, direct editing, cell clicks), the release (disjunct flags, sort clicks), the double click (column sizing on a
// header edge, the cell's double-click event), the right button, the middle button's panning, and the
// move step (hover zones, the fixed column's edge, link cursors, selection changes).
#include "grid/ExtGrid.h"

#include "grid/EsgHTMLE.h"
#include "grid/ExtObj.h"
#include "platform/controls/Application.h"
#include "platform/controls/HintWindow.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Screen.h"
#include "platform/controls/ShellApi.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <cmath>

void TExtStringGrid::WMMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPanning) {
        StopPanning();
        return;
    }
    if (Button == mbMiddle) {
        if (IntelliPan != ipNone && FixedRows() < RowCount() && WheelLines > 0) StartPanning(X, Y);
        return;
    }
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        LeftDoubleClick(Shift, X, Y);
        return;
    }
    if (Button == mbLeft) {
        LeftButtonDown(Shift, X, Y);
        return;
    }
    MouseDown(Button, Shift, X, Y);
    if (Button == mbRight) {
        int c = -1, r = -1;
        MouseToCell(X, Y, c, r);
        if (OnRightClickCell) OnRightClickCell(this, r, c);
        if (FURLShow && URLEdit && c >= 0 && r >= 0 && IsLinkText(RawCellText(DisplayToRealCol(c), r))) {
            MoveColRow(c, r, true, true);
            ShowEditor();
        }
    }
}

void TExtStringGrid::WMMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) LeftButtonUp(Shift, X, Y);
    else MouseUp(Button, Shift, X, Y);
}

void TExtStringGrid::DblClick()
{
    // The double click arrives as a press with ssDouble; its event fires there.
}

// ---- The left press ----------------------------------------------------------------------------------

// A left press on the grid and the cell under it, taken step by step: each step either takes the press
// (and returns true) or passes it on to the next.
struct TExtStringGrid::TLeftPress {
    TExtStringGrid& g;
    TShiftState Shift;
    int X, Y;
    int c = -1, r = -1;  // the display cell pressed (the base cell of a merged block)
    int rc = -1;         // its real column
    TRect CellRect{};
    bool FixedClick = false;    // in the fixed rows or columns by position
    bool ReportedFixed = false; // a cell the grid treats as fixed
    bool FixedLike = false;     // treated as fixed, but outside the fixed area
    bool CanEdit = false;

    // The cell under the mouse and the reference cell of a sizing drag; false when the press lies on no
    // cell (it then goes to the base grid).
    bool Locate()
    {
        g.FSearchText.clear();
        g.FPressedButton = {-1, -1};
        g.MouseToCell(X, Y, c, r);
        g.FMouseDownPos = {X, Y};
        // The cell a sizing drag measures from: 4 pixels left on the header row, 4 up in the fixed column.
        int sc = -1, sr = -1;
        g.MouseToCell(r == 0 ? X - 4 : c == 0 ? X : X - 4, c == 0 ? Y - 4 : r == 0 ? Y : Y - 4, sc, sr);
        g.FSizeRefCell = {sc, sr};
        FixedClick = c >= 0 && r >= 0 && (c < g.FixedCols() || r < g.FixedRows());
        if (c < 0 || r < 0) {
            g.HideEditorControl();
            g.MouseDown(mbLeft, Shift, X, Y);
            return false;
        }
        const TPoint b = g.BaseCellOf(g.DisplayToRealCol(c), r);
        c = g.RealToDisplayCol(b.x);
        r = b.y;
        rc = g.DisplayToRealCol(c);
        CellRect = g.CellSpanRect(c, r);
        ReportedFixed = g.IsFixedCell(c, r);
        FixedLike = ReportedFixed && !FixedClick;
        return true;
    }

    // The fixed column's edge starts its sizing; a fixed cell closes the editor, and fixed cells drawn as
    // buttons look pressed until the release.
    void PressFixed()
    {
        if (g.MouseActions.CaretPositioning) g.FCaretAtMouse = true;
        if (g.FFixedColEdge) {
            g.FFixedColSizing = true;
            g.FFixedColSizingX = X;
            g.DrawSizingLine(X);
        }
        if (FixedClick || ReportedFixed) g.HideEditorControl();
        const TGridOptions o = g.Options();
        if ((FixedClick || FixedLike) && g.FixedAsButtons && o.Contains(goFixedVertLine) && o.Contains(goFixedHorzLine) && !g.FFlat) {
            TRect e = CellRect;
            g.Canvas().DrawEdge(e, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM);
            e = CellRect;
            g.Canvas().DrawEdge(e, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
            g.FPressedFixed = {c, r};
        }
    }

    // A node glyph, a radio group, an armed drag or a cell button takes the press.
    bool PressCellWidget()
    {
        // A press on a node glyph expands or contracts its group (a header node may work on all of them).
        if (g.PressNode(c, r, X)) return true;
        auto radio = [this] { return r >= g.FixedRows() && c >= g.FixedCols() && g.IsRadioCell(rc, r) && g.CellEditable(rc, r); };
        // Column 0 of a grid with nodes takes no other press (a radio group there still does).
        if (c == 0 && !g.MouseActions.RowSelect && g.HasNodes() && !radio()) return true;
        if (radio()) {
            g.HideEditorControl();
            g.RadioClickAt(rc, r, X - CellRect.Left, Y - CellRect.Top);
            return true;
        }
        // A press on the selection (or a header when moving is plain) arms a drag that a move starts.
        g.FOleDragPending = false;
        if ((g.IsSelectedCell(c, r) || (r < g.FixedRows() && !g.EnhRowColMove)) && !g.Options().Contains(goEditing) &&
            g.DragDropSettings.OleDropSource && !g.MouseActions.ColSelect && !g.MouseActions.AllSelect &&
            ((X - CellRect.Left >= 4 && CellRect.Right - X >= 4) || !g.Options().Contains(goColSizing))) {
            g.FOleDragPending = true;
            if (g.OnClickCell) g.OnClickCell(&g, r, c);
            return true;
        }
        if (c >= g.ColCount()) return true;
        if (!g.IsButtonCell(rc, r)) return false;
        // A cell button goes down under the mouse and comes up at the release.
        g.HideEditorControl();
        if (g.SelectCell(c, r)) g.MoveColRow(c, r, true, true);
        TRect button{0, 0, 0, 0};
        g.ButtonRect(c, r, button);
        if (X >= button.Left && X < button.Right && Y >= button.Top && Y < button.Bottom) {
            g.SetButtonPressed(c, r, true);
            g.FPressedButton = {c, r};
            g.SetMouseCapture(true);
        }
        if (g.OnClickCell) g.OnClickCell(&g, r, c);
        return true;
    }

    // Disjunct selection at the press: Ctrl toggles the row or column at the release, a plain press clears.
    void PressDisjunct()
    {
        const TMouseActions& m = g.MouseActions;
        if (m.DisjunctRowSelect && r >= g.FixedRows()) {
            const int fr = m.RowSelectPersistent ? g.DisplayToRealRow(r) : r;
            if (Shift.Contains(ssCtrl)) g.FDisjunctToggleOff = g.IsRowSelected(fr);
            else {
                g.FDisjunctCleared = true;
                g.ClearRowSelection();
            }
        }
        if (m.DisjunctColSelect && c >= g.FixedCols()) {
            if (Shift.Contains(ssCtrl)) g.FDisjunctToggleOff = g.IsColSelected(c);
            else {
                g.FDisjunctCleared = true;
                g.ClearColSelection();
            }
        }
    }

    // Selection clicks in the fixed area: the corner selects all, the fixed column a row, the header a column.
    bool PressFixedAreaSelection()
    {
        if (!g.Options().Contains(goRangeSelect)) return false;
        const TMouseActions& m = g.MouseActions;
        const int fc = g.FixedCols(), fr = g.FixedRows();
        TGridRect sel{};
        if (c < fc && r < fr && m.AllSelect && g.FHoverZone == 3) sel = {fc, fr, g.ColCount() - 1, g.RowCount() - 1};
        else if (c < fc && r >= fr && m.RowSelect && g.FHoverZone == 2) {
            sel = {fc, r, g.ColCount() - 1, r};
            g.FSelectAnchor = r;
        } else if (c >= fc && r < fr && m.ColSelect && g.FHoverZone == 1) {
            sel = {c, fr, c, g.RowCount() - 1};
            g.FSelectAnchor = c;
        } else return false;
        if (g.CanFocus()) g.SetFocus();
        g.SetSelection(sel);
        return true;
    }

    // A check box toggles when the press hits it (anywhere in the cell unless the hit is precise); a header
    // check box with CheckAllCheck sets the whole column.
    bool PressCheckBox()
    {
        if (!(c >= g.FixedCols() && c < g.ColCount() && r < g.RowCount() && (r >= g.FixedRows() || g.MouseActions.CheckAllCheck) &&
              CanEdit && g.IsCheckBoxCell(rc, r) && g.CheckBoxHit(rc, r, X, Y)))
            return false;
        g.HideEditorControl();
        if (g.CanFocus()) g.SetFocus();
        g.ToggleCellCheck(rc, r, true);
        if (!g.Navigation.AlwaysEdit && r >= g.FixedRows()) g.MoveColRow(c, r, true, true);
        bool state = false;
        g.GetCheckBoxState(rc, r, state);
        if (g.OnCheckBoxClick) g.OnCheckBoxClick(&g, c, r, state);
        if (g.HideFocusRect) g.RefreshCell(c, r);
        if (r < g.FixedRows() && g.MouseActions.CheckAllCheck)
            for (int row = g.FixedRows(); row < g.RowCount(); ++row) g.SetCheckBoxState(rc, row, state);
        g.Click();
        return true;
    }

    // The press on a cell proper: the base grid's selection, the click event, a merged block's base cell,
    // and direct editing.
    void PressCell()
    {
        auto direct = [this] { return g.MouseActions.DirectEdit && c >= g.FixedCols() && r >= g.FixedRows() && CanEdit; };
        if (direct()) {
            if (g.CanFocus()) g.SetFocus();
            g.HideEditor();
        }
        g.FSizeEdgeOffset = {0, 0};
        if (g.FSizeRefCell.x >= 0 && g.FSizeRefCell.y >= 0) {
            const TRect ref = g.CellRect(g.FSizeRefCell.x, g.FSizeRefCell.y);
            g.FSizeEdgeOffset = {X - ref.Right, Y - ref.Bottom};
        }
        const TGridRect s = g.Selection();
        const bool onSameCell = s.Left == c && s.Right == c && s.Top == r && s.Bottom == r && X >= CellRect.Left &&
                                X < CellRect.Right && Y >= CellRect.Top && Y < CellRect.Bottom;
        if (FixedLike) {
            if (g.OnClickCell) g.OnClickCell(&g, r, c);
            return;
        }
        if (!g.FSelectionHidden) {
            const bool always = g.Navigation.AlwaysEdit;
            g.Navigation.AlwaysEdit = false;
            g.MouseDown(mbLeft, Shift, X, Y);
            g.Navigation.AlwaysEdit = always;
        }
        if (g.OnClickCell) g.OnClickCell(&g, r, c);
        if (g.OnCellValidate) g.RememberEditCell(g.Col(), g.Row());
        if (g.InMergedBlock(rc, r) && !ReportedFixed && !g.Options().Contains(goRowSelect)) {
            const TPoint base = g.BaseCellOf(rc, r);
            if (g.Col() != base.x || g.Row() != base.y) g.MoveColRow(base.x, base.y, true, true);
            if (onSameCell && CanEdit) g.ShowCellEditor();
        }
        if (direct() && !g.IsCheckOrRadioCell(rc, r) && X > CellRect.Left + 3 && X < CellRect.Right - 3) g.ShowEditor();
    }
};

void TExtStringGrid::LeftButtonDown(TShiftState Shift, int X, int Y)
{
    FLeftButtonDown = true;
    if (FHoverZone == 5) {
        StartSelectionResize(Shift, X, Y);
        return;
    }
    TLeftPress press{*this, Shift, X, Y};
    if (!press.Locate()) return;
    press.PressFixed();
    if (press.PressCellWidget()) return;
    press.PressDisjunct();
    // Links: a plain address with URLShow, or an anchor or a control of mini-markup text.
    if (PressLinkOrControl(press.c, press.r, X, Y) || press.PressFixedAreaSelection()) return;
    press.CanEdit = Options().Contains(goEditing) || MouseActions.RangeSelectAndEdit;
    CanEditCell(press.rc, press.r, press.CanEdit);
    if (press.PressCheckBox()) return;
    press.PressCell();
}

void TExtStringGrid::LeftButtonUp(TShiftState Shift, int X, int Y)
{
    ReleaseMarkupButton();
    if (FSizingHintShown) {
        FHintWindow->ReleaseHandle();
        FSizingHintShown = false;
    }
    FMovedFlag = FWidthsChanged = false;
    const bool cleared = FDisjunctCleared;
    FDisjunctCleared = false;
    FHoverZone = 0;
    FLeftButtonDown = false;
    FSelectAnchor = -1;
    // A fixed cell drawn pressed comes up again.
    if (FPressedFixed.x >= 0) {
        const TRect cellRect = CellSpanRect(FPressedFixed.x, FPressedFixed.y);
        TRect e = cellRect;
        Canvas().DrawEdge(e, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        e = cellRect;
        Canvas().DrawEdge(e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        FPressedFixed = {-1, -1};
    }
    // A held cell button comes up and reports its click.
    if (FPressedButton.x >= 0) {
        const TPoint pressed = FPressedButton;
        SetButtonPressed(pressed.x, pressed.y, false);
        FPressedButton = {-1, -1};
        SetMouseCapture(false);
        if (OnButtonClick) OnButtonClick(this, pressed.x, pressed.y);
        MouseUp(mbLeft, Shift, X, Y);
        return;
    }
    {
        int bc = -1, br = -1;
        MouseToCell(X, Y, bc, br);
        if (bc >= 0 && br >= 0 && IsButtonCell(DisplayToRealCol(bc), br)) {
            TRect button{0, 0, 0, 0};
            ButtonRect(bc, br, button);
            if (X >= button.Left && X < button.Right && Y >= button.Top && Y < button.Bottom) return;
        }
    }
    if (FFixedColSizing) {
        FFixedColSizing = false;
        DrawSizingLine(FFixedColSizingX);
        int left = 0;
        for (int i = 0; i < FFixedColEdgeIndex; ++i) left += ColWidths(i);
        if (FFixedColEdgeIndex >= 0) SetColWidths(FFixedColEdgeIndex, std::max(1, X - left));
    }
    const int pressRow = MouseCoord(FMouseDownPos.x, FMouseDownPos.y).Y;
    if (MouseActions.DisjunctRowSelect) {
        SelectionToRowFlags(false);
        int c = -1, r = -1;
        MouseToCell(X, Y, c, r);
        if (FDisjunctToggleOff && r >= FixedRows() && r < RowCount() - FFixedFooters)
            SetRowSelected(MouseActions.RowSelectPersistent ? DisplayToRealRow(r) : r, false);
        FDisjunctToggleOff = false;
    }
    if (MouseActions.DisjunctColSelect) {
        SelectionToColFlags(false);
        int c = -1, r = -1;
        MouseToCell(X, Y, c, r);
        if (FDisjunctToggleOff && c >= FixedCols() && c < ColCount() - FFixedRightCols) SetColSelected(c, false);
        FDisjunctToggleOff = false;
    }
    (void)cleared;
    // A press that armed a drag but never dragged selects the cell (the row with row selection).
    if (FOleDragPending) {
        FOleDragPending = false;
        int oc = -1, orow = -1;
        MouseToCell(X, Y, oc, orow);
        if (oc >= FixedCols() && orow >= FixedRows()) {
            MoveColRow(oc, orow, true, true);
            if (Options().Contains(goRowSelect)) SetSelection({FixedCols(), orow, ColCount() - 1, orow});
        }
    }
    MouseUp(mbLeft, Shift, X, Y);
    if (FSelectionResizing) EndSelectionResize();
    if (FMovedFlag || FWidthsChanged) return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0 || (c < FixedCols() && !SortSettings.FixedCols)) return;
    {
        const int rc = DisplayToRealCol(c);
        if (IsCheckBoxCell(rc, r)) {
            bool state = false;
            GetCheckBoxState(rc, r, state);
            if (OnCheckBoxMouseUp) OnCheckBoxMouseUp(this, rc, r, state);
        } else if (IsRadioCell(rc, r)) {
            int index = -1;
            RadioIndexOf(rc, r, index);
            if (OnRadioMouseUp) OnRadioMouseUp(this, rc, r, index);
        }
    }
    if (FAutoSized) {
        FAutoSized = false;
        return;
    }
    const TRect cell = CellRect(c, r);
    if (r == 0 && Options().Contains(goColSizing) && (X - cell.Left < 3 || cell.Right - X < 3)) return;
    if (r == SortSettings.Row && pressRow == r && FixedRows() > 0 && SortSettings.Show && RowCount() > 2) {
        bool doSort = true;
        if (OnCanSort) OnCanSort(this, DisplayToRealCol(c), doSort);
        if (doSort) HeaderClickSort(DisplayToRealCol(c), Shift);
        else RefreshCell(c, SortSettings.Row);
    }
}

void TExtStringGrid::LeftDoubleClick(TShiftState Shift, int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) {
        c = ColCount() - 1;
        r = 0;
    }
    if (r < FixedRows() && Options().Contains(goColSizing)) {
        const TRect cell = CellRect(c, r);
        auto sizeColumn = [&](int col) {
            FAutoSized = true;
            bool allow = true;
            if (OnColumnSize) OnColumnSize(this, col, allow);
            if (allow) {
                AutoSizeColumn(col, false);
                if (OnEndColumnSize) OnEndColumnSize(this, col);
            }
        };
        if (X - cell.Left < 3) {
            FAutoSized = true;
            if (c - 1 >= FixedCols()) sizeColumn(c - 1);
            return;
        }
        if (cell.Right - X < 3 && c >= FixedCols()) {
            sizeColumn(c);
            return;
        }
    }
    TBaseGrid::DblClick();
    if (OnDblClickCell) OnDblClickCell(this, r, c);
    if (MouseActions.RangeSelectAndEdit && CellEditable(DisplayToRealCol(c), r)) {
        SetOptions(Options() + TGridOptions{goEditing});
        LeftButtonDown({}, X, Y);
    }
    if ((r < FixedRows() && MouseActions.FixedRowsEdit == fceDblClick) || (c < FixedCols() && MouseActions.FixedColsEdit == fceDblClick))
        EditFixedCell(c, r);
    (void)Shift;
}

// Links go to the desktop only for the web, file transfer and mail schemes; "CELL://RrCc" jumps.
void TExtStringGrid::OpenLink(const std::string& Link)
{
    const std::string up = UpperCase(Link);
    const auto cellPos = up.find("CELL://");
    if (cellPos != std::string::npos) {
        TPoint p{0, 0};
        if (ParseCellReference(Link.substr(cellPos + 7), p) && p.y >= 0 && p.x >= 0 && p.y < RowCount() && p.x < ColCount()) {
            SetRow(p.y);
            SetCol(p.x);
            GotoCell(p.x, p.y);
        }
        return;
    }
    const std::string target = DesktopLinkTarget(Link);
    if (!target.empty()) ShellOpenDocument(target);
}

std::string TExtStringGrid::DesktopLinkTarget(const std::string& Link)
{
    const std::string up = UpperCase(Link);
    if (up.find("CELL://") != std::string::npos) return "";
    for (const char* scheme : {"HTTPS://", "HTTP://", "FTP://", "MAILTO:"}) {
        const auto at = up.find(scheme);
        if (at == std::string::npos) continue;
        // The scheme must start a word: "xhttp://" is no web address.
        if (at > 0 && std::isalnum(static_cast<unsigned char>(up[at - 1]))) continue;
        return Trim(Link.substr(at));
    }
    return "";
}

void TExtStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridRect before = Selection();
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    const TGridRect after = Selection();
    if (!(before == after)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
    // Fixed cells edited by a press (left or right).
    if (Button != mbLeft && Button != mbRight) return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return;
    if ((r < FixedRows() && MouseActions.FixedRowsEdit == fceLeftClick) || (c < FixedCols() && MouseActions.FixedColsEdit == fceLeftClick))
        EditFixedCell(c, r);
}

void TExtStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridRect before = Selection();
    if (Button == mbLeft && MouseActions.DisjunctCellSelect) {
        int c = -1, r = -1;
        MouseToCell(X, Y, c, r);
        if (c >= 0 && r >= 0 && !IsFixedCell(c, r)) {
            const TPoint b = BaseCellOf(c, r);
            const std::uint32_t key = static_cast<std::uint32_t>(b.x & 0xFFFF) | (static_cast<std::uint32_t>(b.y & 0xFFFF) << 16);
            const auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), key);
            if (Shift.Contains(ssCtrl)) {
                if (it != FSelectedCells.end()) FSelectedCells.erase(it);
                else FSelectedCells.push_back(key);
            } else {
                FSelectedCells.assign(1, key);
                Invalidate();
            }
            RefreshCell(c, r);
        }
    }
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    HideMoveMarkers();
    const TGridRect after = Selection();
    if (!(before == after)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

void TExtStringGrid::Click()
{
    TBaseGrid::Click();
    RememberEditCell(Col(), Row());
}

// The enhanced move's feedback: the moved header follows the mouse and arrows mark where it would land.
void TExtStringGrid::ShowMoveMarkers(int X, int Y, int ACol, int ARow)
{
    const bool cols = GridState() == gsColMoving;
    const int idx = MoveIndex();
    if (idx < 0) return;
    if (!FMoveButton) {
        FMoveButton = new TPopupButton(this);
        for (int d = 0; d < 4; ++d) FMoveArrows[d] = new TArrowWindow(this, d);
        FMoveTarget = {-1, -1};
    }
    const TRect origin = cols ? CellRect(idx, 0) : CellRect(0, idx);
    if (FMoveTarget.x == -1 && FMoveTarget.y == -1) FGrabOffset = {FMouseDownPos.x - origin.Left, FMouseDownPos.y - origin.Top};
    FMoveButton->Caption = cols ? GetCellValue(DisplayToRealCol(idx), 0) : GetCellValue(0, idx);
    FMoveButton->GradFrom = FLook == glQuarn ? clSilver : FLook == glXP ? clWhite : clNone;
    FMoveButton->GradTo = FLook == glQuarn ? clWhite : FLook == glXP ? ColorToRGB(clBtnFace) : clNone;
    const int w = cols ? ColWidths(idx) : ColWidths(0), h = cols ? RowHeights(0) : RowHeights(idx);
    const TPoint at = ClientToScreen({X - FGrabOffset.x, Y - FGrabOffset.y});
    FMoveButton->ShowAt({at.x, at.y, at.x + w, at.y + h});
    if (cols) {
        const TRect head = ACol >= 0 ? CellRect(ACol, 0) : TRect{0, 0, 0, 0};
        const bool show = ACol >= FixedCols() && head.Right > head.Left;
        const int x = show ? (ACol < idx ? head.Left - 5 : head.Left + ColWidths(ACol) - 5) : 0;
        const TPoint below = ClientToScreen({x, head.Bottom}), above = ClientToScreen({x, head.Top - 8});
        FMoveArrows[0]->ShowAt(below.x, below.y, show);
        FMoveArrows[1]->ShowAt(above.x, above.y, show);
    } else {
        const TRect cell = ARow >= 0 ? CellRect(0, ARow) : TRect{0, 0, 0, 0};
        const bool footerRow = FloatingFooter.Visible() && FloatingFooter.FooterStyle() == fsFixedLastRow && ARow == RowCount() - 1;
        const bool show = !footerRow && ARow >= FixedRows() && cell.Bottom > cell.Top;
        const int y = show ? (ARow < idx ? cell.Top - 5 : cell.Top + RowHeights(ARow) - 5) : 0;
        const TPoint left = ClientToScreen({cell.Left - 10, y}), right = ClientToScreen({cell.Right, y});
        FMoveArrows[2]->ShowAt(left.x, left.y, show);
        FMoveArrows[3]->ShowAt(right.x, right.y, show);
    }
    FMoveTarget = {ACol, ARow};
    Update();
}

void TExtStringGrid::HideMoveMarkers()
{
    if (!FMoveButton) return;
    FMoveButton->SetVisible(false);
    for (TArrowWindow* a : FMoveArrows) a->SetVisible(false);
    FMoveTarget = {-1, -1};
}

void TExtStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    if (FPanning) return;
    if ((GridState() == gsColMoving || GridState() == gsRowMoving) && EnhRowColMove && !FFixedColSizing &&
        (X != FMouseDownPos.x || Y != FMouseDownPos.y)) {
        int mc = -1, mr = -1;
        MouseToCell(X, Y, mc, mr);
        ShowMoveMarkers(X, Y, mc, mr);
    }
    if (FLeftButtonDown && MouseActions.RangeSelectAndEdit) SetOptions(Options() - TGridOptions{goEditing});
    if (FOleDragPending && FLeftButtonDown && (std::abs(X - FMouseDownPos.x) > 3 || std::abs(Y - FMouseDownPos.y) > 3) &&
        GridState() != gsColSizing && !OverSelectionResizer(X, Y)) {
        int pc = -1, pr = -1;
        MouseToCell(FMouseDownPos.x, FMouseDownPos.y, pc, pr);
        if (pc >= 0 && pr >= 0) {
            StartOleDrag(pc, pr, X, Y);
            return;
        }
    }
    const TGridRect entry = Selection();
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (FSelectAnchor != -1 && FLeftButtonDown) {
        if (MouseActions.RowSelect && FHoverZone == 2 && r >= 0) {
            const int to = std::max(FixedRows(), r);
            SetSelection({FixedCols(), std::min(FSelectAnchor, to), ColCount() - 1, std::max(FSelectAnchor, to)});
        } else if (MouseActions.ColSelect && FHoverZone == 1 && c >= 0) {
            const int to = std::max(FixedCols(), c);
            SetSelection({std::min(FSelectAnchor, to), FixedRows(), std::max(FSelectAnchor, to), RowCount() - 1});
        }
    }
    // The right edge of a fixed column (sizable with SizeFixedCol).
    FFixedColEdge = false;
    if (!FFixedColSizing && FixedCols() > 0 && c >= 0 && r >= 0 && MouseActions.SizeFixedCol) {
        int edge = 0;
        for (int i = 0; i < FixedCols(); ++i) {
            edge += ColWidths(i) + (i > 0 ? 1 : 0);
            if (std::abs(edge - X) < 3) {
                FFixedColEdge = true;
                FFixedColEdgeIndex = i;
            }
        }
        SetCursor(FFixedColEdge ? crHSplit : crDefault);
    }
    if (FFixedColSizing) {
        DrawSizingLine(FFixedColSizingX);
        FFixedColSizingX = X;
        DrawSizingLine(X);
    }
    if (!FLeftButtonDown) {
        FHoverZone = 0;
        if (OverSelectionResizer(X, Y)) FHoverZone = 5;
        else if (c >= 0 && r >= 0) {
            if (c < FixedCols() && r < FixedRows() && MouseActions.AllSelect) FHoverZone = 3;
            else if (r < FixedRows() && c >= FixedCols() && MouseActions.ColSelect && !OverSizingEdge(X, Y)) FHoverZone = 1;
            else if (c < FixedCols() && r >= FixedRows() && MouseActions.RowSelect && !OverSizingEdge(X, Y)) FHoverZone = 2;
        }
    }
    // Link cursor and anchor events.
    const bool overLink = MoveOverLinks(c, r, X, Y);
    if (!overLink && !FFixedColEdge && FHoverZone == 0 && Cursor() == crHandPoint) SetCursor(crDefault);
    // A hint belongs to its cell: moving to another one takes it away.
    if (FHintCell.x >= 0 && (c != FHintCell.x || r != FHintCell.y)) {
        Application->CancelHint();
        FHintCell = {-1, -1};
    }
    if (GridState() == gsColSizing || GridState() == gsRowSizing) {
        if (GridState() == gsColSizing) FColSized = true;
        else FRowSized = true;
    }
    if (RowCount() == 1 || FixedCols() >= ColCount()) SetGridState(gsNormal);
    TBaseGrid::MouseMove(Shift, X, Y);
    if (HintShowSizing && (GridState() == gsColSizing || GridState() == gsRowSizing || FFixedColSizing)) ShowSizingHint(X, Y);
    const TGridRect now = Selection();
    if (!(now == entry)) SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

// The live sizing hint: the width or height the column or row would take at the mouse.
void TExtStringGrid::ShowSizingHint(int X, int Y)
{
    std::string text;
    TPoint at{0, 0};
    if (FFixedColSizing) {
        text = "cw=<b>" + std::to_string(FFixedColSizingX) + "</b>";
        const TRect r = CellRect(0, 0);
        at = {r.Left, r.Top};
    } else if (GridState() == gsColSizing) {
        const TPoint ref = FSizeRefCell.x >= 0 ? FSizeRefCell : TPoint{ColCount() - 1, 0};
        const TRect r = CellRect(ref.x, std::max(0, ref.y));
        text = "cw=<b>" + std::to_string(X - r.Left - FSizeEdgeOffset.x) + "</b>";
        at = {r.Left, r.Top};
    } else {
        const TPoint ref = FSizeRefCell.y >= 0 ? FSizeRefCell : TPoint{0, RowCount() - 1};
        const TRect r = CellRect(std::max(0, ref.x), ref.y);
        text = "rh=<b>" + std::to_string(Y - r.Top - FSizeEdgeOffset.y) + "</b>";
        at = {r.Left, r.Top};
    }
    const TPoint screen = ClientToScreen(at);
    const TRect size = FHintWindow->CalcHintRect(200, text);
    FHintWindow->SetColor(HintColor);
    FHintWindow->ActivateHint({screen.x, screen.y, screen.x + size.Right, screen.y + size.Bottom}, text);
    FSizingHintShown = true;
}

void TExtStringGrid::DrawSizingLine(int X)
{
    TCanvas& c = Canvas();
    const TPen saved = c.Pen();
    c.Pen().SetStyle(psDot);
    c.Pen().SetMode(pmXor);
    c.Pen().SetColor(clBlack);
    c.Pen().SetWidth(1);
    int bottom = 0;
    for (int r = 0; r < FixedRows(); ++r) bottom += RowHeights(r);
    for (int r = TopRow(); r < RowCount() && bottom < Height(); ++r) bottom += RowHeights(r);
    c.MoveTo(X, 0);
    c.LineTo(X, std::max(Height(), bottom));
    c.SetPen(saved);
}

// ---- Panning -----------------------------------------------------------------------------------------

namespace {

// Pan cursors, 32 x 32 with the hot spot at the top-left: a dot with four arrows (the origin), or with
// the one arrow of the direction panned.
constexpr TCursor PanOriginCursor = 8000;

TCursorImage PanCursorImage(const std::vector<TPoint>& directions)
{
    TCursorImage img;
    img.Rows.assign(32, std::string(32, ' '));
    auto inArrow = [&](int x, int y, double grow) {
        const double vx = x - 16, vy = y - 16;
        for (const TPoint d : directions) {
            const double n = std::hypot(d.x, d.y);
            const double along = (vx * d.x + vy * d.y) / n, across = std::fabs(vx * d.y - vy * d.x) / n;
            if (along >= 5 - grow && along <= 12 + grow && across <= (12 - along) * 0.7 + grow) return true;
        }
        return false;
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int r2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
            if (r2 <= 4 || inArrow(x, y, 0)) img.Rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'X';
            else if (r2 <= 9 || inArrow(x, y, 1)) img.Rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '.';
        }
    return img;
}

// The cursor of a pan direction (dx, dy in -1..1).
TCursor PanCursorOf(int dx, int dy)
{
    static constexpr TCursor cursors[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};
    return cursors[dy + 1][dx + 1];
}

void RegisterPanCursors()
{
    if (Screen->HasCursor(PanOriginCursor)) return;
    Screen->SetCursorImage(PanOriginCursor, PanCursorImage({{0, -1}, {0, 1}, {-1, 0}, {1, 0}}));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) Screen->SetCursorImage(PanCursorOf(dx, dy), PanCursorImage({{dx, dy}}));
}

} // namespace

// The 26 x 26 marker at the pan origin: a circle with a dot and the arrows of the panning mode on white.
void TExtStringGrid::DrawPanMarker()
{
    if (!FPanning || IntelliPan == ipNone) return;
    TCanvas& c = Canvas();
    const TPen pen = c.Pen();
    const TBrush brush = c.Brush();
    const int x = FPanOrigin.x, y = FPanOrigin.y;
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clWhite);
    c.FillRect({x, y, x + 26, y + 26});
    c.Pen().SetColor(0x808080);
    c.Ellipse(x + 1, y + 1, x + 25, y + 25);
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clBlack);
    c.Ellipse(x + 11, y + 11, x + 16, y + 16);
    auto arrow = [&](std::initializer_list<TPoint> pts) {
        std::vector<TPoint> p;
        for (const TPoint q : pts) p.push_back({x + q.x, y + q.y});
        c.Polygon(p);
    };
    if (IntelliPan != ipHorizontal) {
        arrow({{13, 3}, {9, 8}, {17, 8}});
        arrow({{13, 23}, {9, 18}, {17, 18}});
    }
    if (IntelliPan != ipVertical) {
        arrow({{3, 13}, {8, 9}, {8, 17}});
        arrow({{23, 13}, {18, 9}, {18, 17}});
    }
    c.SetPen(pen);
    c.SetBrush(brush);
}

void TExtStringGrid::ErasePanMarker() { InvalidateRect({FPanOrigin.x, FPanOrigin.y, FPanOrigin.x + 32, FPanOrigin.y + 32}); }

void TExtStringGrid::StartPanning(int X, int Y)
{
    RegisterPanCursors();
    FPanSavedCursor = Cursor();
    SetCursor(PanOriginCursor);
    FPanning = true;
    FPanTimer->SetEnabled(true);
    FPanOrigin = {X, Y};
    FLastMouse = {X, Y};
    SetMouseCapture(true);
    SetShowHint(false);
    DrawPanMarker();
    InvalidateRect({X, Y, X + 26, Y + 26});
}

void TExtStringGrid::StopPanning()
{
    SetMouseCapture(false);
    FPanTimer->SetEnabled(false);
    SetCursor(FPanSavedCursor);
    SetShowHint(true);
    FPanning = false;
    ErasePanMarker();
}

void TExtStringGrid::PanStep()
{
    if (!FPanning) return;
    int dx = FLastMouse.x < FPanOrigin.x - 5 ? -1 : FLastMouse.x > FPanOrigin.x + 5 ? 1 : 0;
    int dy = FLastMouse.y < FPanOrigin.y - 5 ? -1 : FLastMouse.y > FPanOrigin.y + 5 ? 1 : 0;
    if (IntelliPan == ipHorizontal) dy = 0;
    if (IntelliPan == ipVertical) dx = 0;
    int col = Col(), row = Row();
    row = std::clamp(row, FixedRows(), std::max(FixedRows(), RowCount() - FFixedFooters - 1));
    col = std::clamp(col, FixedCols(), std::max(FixedCols(), ColCount() - FFixedRightCols - 1));
    if (dx < 0 && col > FixedCols()) --col;
    if (dx > 0 && col < ColCount() - FFixedRightCols - 1) ++col;
    if (dy < 0 && row > FixedRows()) --row;
    if (dy > 0 && row < RowCount() - FFixedFooters - 1) ++row;
    if (col != Col() || row != Row()) MoveColRow(col, row, true, true);
    SetCursor(PanCursorOf(dx, dy));
}
