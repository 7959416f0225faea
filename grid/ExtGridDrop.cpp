// The grid in drag and drop: as a drop target it takes text (into its cells, with rows inserted when
// asked), rich text into one cell, another grid's column (told to the application) and one dropped file
// by its extension, with markers where the drop would land and one-row scrolling; as a drag source it
// drags the selection's text or a column and, after a move, empties or removes what was dragged.
#include "grid/ExtGrid.h"

#include "grid/EsgDD.h"
#include "grid/ExtObj.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/Screen.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <filesystem>

// ---- The grid's drop target and drag source ---------------------------------------------------------

class TGridDropTarget : public TESGDropTarget {
public:
    explicit TGridDropTarget(TExtStringGrid& AGrid) : Grid(AGrid) {}
    TExtStringGrid& Grid;

protected:
    void TrackDragOver(TPoint Screen, bool& Allow, const TOfferedFormats& Offered) override { Grid.DropTrackOver(Screen, Allow, Offered.Column); }
    void TrackDragLeave() override { Grid.DropHideMarkers(); }
    void HandleTextDrop(TPoint Screen, const std::string& Text) override { Grid.DropText(Screen, DesktopTextLineBreaks(Text)); }
    void HandleRichTextDrop(TPoint Screen, const std::string& Text) override { Grid.DropRichText(Screen, Text); }
    void HandleColumnDrop(TPoint Screen, int Column) override { Grid.DropColumn(Screen, Column); }
    void HandleFileDrop(TPoint Screen, const std::vector<std::string>& Names) override { Grid.DropFiles(Screen, Names); }
};

class TGridDropSource : public TESGDropSource {
public:
    explicit TGridDropSource(TExtStringGrid& AGrid) : Grid(AGrid) {}
    TExtStringGrid& Grid;

protected:
    // The floating header follows the pointer (unseen while it is hidden).
    void DragStep() override { Grid.DragStepMarker(); }
};

// ---- Settings ----------------------------------------------------------------------------------------

void TDragDropSettings::SetOleDropTarget(bool v)
{
    FOleDropTarget = v;
    if (FGrid) FGrid->UpdateDropTarget();
}

void TDragDropSettings::SetOleDropRTF(bool v)
{
    FOleDropRTF = v;
    SetRichTextAware(v);
}

void TExtStringGrid::UpdateDropTarget()
{
    if (DragDropSettings.OleDropTarget()) {
        if (!FDropTarget) FDropTarget = std::make_unique<TGridDropTarget>(*this);
        FDropTargetRegistered = RegisterDragDrop(*this, FDropTarget.get());
    } else if (FDropTargetRegistered) {
        RevokeDragDrop(*this);
        FDropTargetRegistered = false;
    }
}

// Finishing loading hands the accepted kinds to the target.
void TExtStringGrid::LoadedDropSettings()
{
    if (!FDropTargetRegistered || !FDropTarget) return;
    FDropTarget->TakesText = DragDropSettings.OleAcceptText;
    FDropTarget->TakesFiles = DragDropSettings.OleAcceptFiles;
}

TESGDropTarget* TExtStringGrid::GridDropTarget() const { return FDropTarget.get(); }

// ---- Markers -----------------------------------------------------------------------------------------

void TExtStringGrid::EnsureMoveMarkers()
{
    if (FMoveButton) return;
    FMoveButton = new TPopupButton(this);
    for (int d = 0; d < 4; ++d) FMoveArrows[d] = new TArrowWindow(this, d);
    FMoveTarget = {-1, -1};
}

void TExtStringGrid::DropHideMarkers()
{
    if (!FMoveButton) return;
    for (int d : {2, 1, 0}) FMoveArrows[d]->SetVisible(false);
}

TPoint TExtStringGrid::CellAtScreen(TPoint Screen)
{
    const TPoint p = ScreenToClient(Screen);
    int c = -1, r = -1;
    MouseToCell(p.x, p.y, c, r);
    return {c, r};
}

void TExtStringGrid::DropTrackOver(TPoint Screen, bool& Allow, bool Column)
{
    EnsureMoveMarkers();
    TPoint cell = CellAtScreen(Screen);
    Allow = cell.x >= 0 && cell.y >= 0;
    // One row of scrolling per call near the top or below the last whole row.
    if (Allow && !Column) {
        if (cell.y == 0 && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
        else if (cell.y == TopRow() + VisibleRowCount() && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
    }
    if (Column) Allow = Allow && cell.y < FixedRows() && cell.x >= FixedCols();
    else if (Allow && cell.y < FixedRows() && !(RowCount() == 1 && FixedRowAlways)) Allow = false;
    if (OnOleDragOver) OnOleDragOver(this, cell.y, cell.x, Allow);
    if (!Allow) {
        DropHideMarkers();
        return;
    }
    if (Column) {
        const TRect r = CellRect(cell.x, cell.y);
        const TPoint above = ClientToScreen({r.Left, r.Top - 8}), below = ClientToScreen({r.Left, r.Bottom});
        FMoveArrows[1]->ShowAt(above.x, above.y, true);
        FMoveArrows[0]->ShowAt(below.x, below.y, true);
        return;
    }
    if (cell.y == 0 && FixedRowAlways) cell.y = 1;
    const TPoint marker = DragDropSettings.OleEntireRows ? TPoint{FixedCols(), cell.y} : cell;
    const TRect r = CellRect(marker.x, marker.y);
    const TPoint at = ClientToScreen({r.Left - 10, r.Top});
    FMoveArrows[2]->ShowAt(at.x, at.y, true);
}

void TExtStringGrid::DropText(TPoint Screen, const std::string& Text)
{
    TPoint cell = CellAtScreen(Screen);
    int col = cell.x, row = cell.y;
    bool allow = true;
    const TPoint size = MeasureTabText(Text);
    const int cols = size.x, rows = size.y;
    if (Options().Contains(goRowSelect)) col = DragDropSettings.OleEntireRows ? 0 : FixedCols();
    if (OnOleDrop) OnOleDrop(this, row, col, Text, allow);
    TGridRect dropped = Selection();
    if (allow) {
        // A drop above rows being moved out of this grid keeps their remembered place right.
        if (row <= FDragOrigin.Top && DragDropSettings.OleRemoveRows) {
            FDragOrigin.Top += rows;
            FDragOrigin.Bottom += rows;
        }
        if (row == 0 && FixedRowAlways && RowCount() == 1) row = 1;
        if (DragDropSettings.OleInsertRows) {
            int top = TopRow();
            if (top > FixedRows()) ++top;
            InsertRows(row, rows);
            if (top > 0) SetTopRow(std::min(top, std::max(FixedRows(), RowCount() - 1)));
        }
        PasteText(col, row, Text);
        col = std::max(col, FixedCols());
        dropped = {col, row, Options().Contains(goRowSelect) ? col + cols - FixedCols() : col + cols - 1, row + rows - 1};
        // The selection takes what of the range the grid holds (a text wider or longer than the grid
        // is reported whole).
        const TGridRect held{dropped.Left, dropped.Top, std::min(dropped.Right, ColCount() - 1), std::min(dropped.Bottom, RowCount() - 1)};
        if (held.Left <= held.Right && held.Top <= held.Bottom) SetSelection(held);
    }
    if (FMoveButton) {
        FMoveArrows[2]->SetVisible(false);
        FMoveArrows[1]->SetVisible(false);
        FMoveButton->SetVisible(false);
    }
    if (OnOleDropped) OnOleDropped(this, dropped);
}

void TExtStringGrid::DropRichText(TPoint Screen, const std::string& Text)
{
    const TPoint cell = CellAtScreen(Screen);
    bool allow = true;
    if (OnOleDrop) OnOleDrop(this, cell.y, cell.x, Text, allow);
    if (allow && cell.x >= 0 && cell.y >= 0) TBaseGrid::SetCellValue(cell.x, cell.y, Text);
    DropHideMarkers();
}

void TExtStringGrid::DropColumn(TPoint Screen, int Column)
{
    const TPoint cell = CellAtScreen(Screen);
    if (FMoveButton) {
        FMoveArrows[1]->SetVisible(false);
        FMoveArrows[0]->SetVisible(false);
        FMoveButton->SetVisible(false);
    }
    if (OnOleDropCol) OnOleDropCol(this, cell.y, cell.x, Column);
}

// One file loads once, by its extension in any letter case.
void TExtStringGrid::DropFiles(TPoint Screen, const std::vector<std::string>& Names)
{
    if (Names.size() == 1) {
        const TPoint cell = CellAtScreen(Screen);
        const std::string& name = Names[0];
        bool allow = true;
        if (OnOleDropFile) OnOleDropFile(this, cell.y, cell.x, name, allow);
        if (allow) {
            const std::string ext = UpperCase(std::filesystem::path(name).extension().string());
            const bool text = ext == ".CSV", sheet = ext == ".XLS" || ext == ".XLSX";
            if (text || sheet) {
                if (OnOleDrop) OnOleDrop(this, -1, -1, name, allow);
                if (allow && text) LoadDelimitedFile(name);
                if (allow && sheet) LoadSpreadsheetFile(name);
            }
        }
    }
    DropHideMarkers();
}

// ---- Dragging out ------------------------------------------------------------------------------------

void TExtStringGrid::DragStepMarker()
{
    if (!FMoveButton) return;
    const TPoint p = Screen->CursorPos();
    FMoveButton->SetBounds(p.x, p.y - FMoveButton->Height(), FMoveButton->Width(), FMoveButton->Height());
}

// Starts the drag that a press armed (the mouse moved away from the press point).
void TExtStringGrid::StartOleDrag(int C, int R, int X, int Y)
{
    FOleDragPending = false;
    const int rc = DisplayToRealCol(C);
    bool allow = true;
    if (OnOleDrag) OnOleDrag(this, R, rc, GetCellValue(rc, R), allow);
    if (!allow) {
        if (GridState() == gsNormal) SetGridState(gsSelecting);
        return;
    }
    // The desktop's drag takes the button's release: the grid never hears it.
    FLeftButtonDown = false;
    TGridDropSource source(*this);
    if (OnOleDragStart) OnOleDragStart(this, R, rc);
    int effect = DROPEFFECT_NONE;
    if (R < FixedRows() && rc >= 0 && DragDropSettings.OleColumnDragDrop) {
        EnsureMoveMarkers();
        const TPoint at = ClientToScreen({X, Y});
        FMoveButton->Caption = GetCellValue(rc, 0);
        FMoveButton->GradFrom = FLook == glQuarn ? clSilver : FLook == glXP ? clWhite : clNone;
        FMoveButton->GradTo = FLook == glQuarn ? clWhite : FLook == glXP ? ColorToRGB(clBtnFace) : clNone;
        FMoveButton->ShowAt({at.x, at.y, at.x + ColWidths(C), at.y + RowHeights(0)});
        const TDragResult result = BeginColumnDrag(*this, source, rc, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        if (result != DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, effect);
        FMoveButton->SetVisible(false);
        FMoveArrows[1]->SetVisible(false);
        FMoveArrows[0]->SetVisible(false);
        return;
    }
    FDragOrigin = Selection();
    const TDragResult result = BeginTextDrag(*this, source, SelectionAsText(), GetCellValue(rc, R), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    if (result == DRAGDROP_S_CANCEL) return;
    if (effect == DROPEFFECT_MOVE) {
        if (DragDropSettings.OleRemoveRows && Options().Contains(goRowSelect)) {
            if (MouseActions.DisjunctRowSelect) DeleteSelectedRows();
            else DeleteRowRange(FDragOrigin.Top, FDragOrigin.Bottom - FDragOrigin.Top + 1);
        } else if (!DragDropSettings.OleCopyAlways)
            ClearCellRange(FDragOrigin.Left, FDragOrigin.Top, FDragOrigin.Right, FDragOrigin.Bottom);
    }
    if (OnOleDragStop) OnOleDragStop(this, effect);
}
