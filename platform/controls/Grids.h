// The class library's grids: TCustomGrid (geometry of columns and rows, fixed areas, current cell and
// selection, scrolling with the window's scroll bars, sizing and moving states, the key and mouse steps,
// the in-place editor protocol), TCustomDrawGrid (the drawing and selection events), TStringGrid (the
// cell store of texts and object slots) and TInplaceEdit. Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/Edit.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A rectangle of cells, all four sides inclusive.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};
struct TGridCoord {
    int X = 0, Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Scroll bars: which one, what a scroll message asks for, and a bar's state (range Min..Max, page,
// position; a page of 0 is the classic thumb).
enum { SB_HORZ = 0, SB_VERT = 1 };
enum {
    SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8
};
struct TScrollInfo {
    int Min = 0, Max = 0, Page = 0, Pos = 0, TrackPos = 0;
};

// "Grid index out of range", "Too many rows or columns deleted" and the like.
VSP_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

class TCustomGrid;
class TStringGrid;

// ---- TInplaceEdit ------------------------------------------------------------------------------------

// The editor a grid lays over its current cell. Its keys go back to the grid as the class library's
// editor sends them: Up, Down, PgUp, PgDn and Escape always; Left, Right, Home and End when the caret
// stands at the edge of the text; Enter, Tab and Escape through the grid's KeyPress.
class TInplaceEdit : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TInplaceEdit(TComponent* AOwner);

    TCustomGrid* Grid() const { return FGrid; }
    // Loads the current cell's text (GetEditText) and limit.
    virtual void UpdateContents();
    // Places the editor over the current cell.
    virtual void BoundsChanged();
    // Delivers a character as if typed (the class library posts WM_CHAR).
    void PostChar(char Ch);

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;
    void Change() override;
    // Hands a key to the grid's key-down step.
    void SendToParent(std::uint16_t& Key, TShiftState Shift);

private:
    friend class TCustomGrid;
    TCustomGrid* FGrid = nullptr;
};

// ---- TCustomGrid -------------------------------------------------------------------------------------

class TCustomGrid : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // --- Dimensions. Writes outside the class library's limits raise EInvalidGridOperation.
    int ColCount() const { return FColCount; }
    void SetColCount(int v);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int v);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int v);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int v);
    // Widths and heights; "Grid index out of range" outside the grid (a width asked beyond ColCount
    // is DefaultColWidth).
    int ColWidths(int col) const;
    void SetColWidths(int col, int w);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int h);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v) { FDefaultDrawing = v; }
    // The control's font; a change repaints.
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& f) { FFont.Assign(f); }

    // --- Current cell, selection and view. Col and Row writes go through SelectCell and Click.
    int Col() const { return FCurrent.X; }
    void SetCol(int v);
    int Row() const { return FCurrent.Y; }
    void SetRow(int v);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int v);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    // Fully visible scrollable columns and rows (at least 1 while any scrollable one exists).
    int VisibleColCount() const;
    int VisibleRowCount() const;
    TGridState GridState() const { return FGridState; }
    // The column or row being moved by the mouse (-1 when none).
    int MoveIndex() const { return FMoveIndex; }
    void SetGridState(TGridState s) { FGridState = s; }

    // --- Geometry in client pixels. A cell out of view has an empty rectangle at the origin.
    TRect CellRect(int col, int row) const;
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int& col, int& row) const;
    // The client area less the scroll bars.
    int ClientWidth() const;
    int ClientHeight() const;
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

    // --- Editing.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    void ShowEditor();
    void HideEditor();
    void ShowEditorChar(char Ch);
    void InvalidateEditor();

    // --- Repainting parts: only the cells inside the asked areas are painted again.
    void Invalidate() override;
    void InvalidateRect(const TRect& r);
    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateCol(int col);
    void InvalidateGrid() { Invalidate(); }
    // The client area the running Paint redraws (the whole client area after Invalidate).
    const TRect& UpdateRect() const { return FUpdateRect; }
    // How many cells the last paint drew (tests and benchmarks see that no paint walks all rows).
    int CellsPaintedLastTime() const { return FCellsPainted; }

    // --- Moving.
    void MoveColRow(int col, int row, bool moveAnchor, bool show);
    void MoveColumn(int fromIndex, int toIndex);
    void MoveRow(int fromIndex, int toIndex);
    void FocusCell(int col, int row, bool moveAnchor);

    // --- Scroll bars (the window's own: range, page, position, thumb tracking, flat look and width).
    TScrollInfo GetScrollInfo(int bar) const;
    void SetScrollInfo(int bar, const TScrollInfo& info);
    bool ScrollBarVisible(int bar) const;
    void ShowScrollBar(int bar, bool show);
    void SetScrollBarFlat(bool flat);
    void SetScrollBarWidth(int w);
    int ScrollBarWidth() const { return FScrollBarWidth; }
    // Delivers a scroll message as the bar sends it (tests and the scroll bar's own signals).
    void Scroll(int bar, int code, int pos);

    // Follows the size of the top-level window the grid stands on: every resize of that window reaches
    // FormResized with its new size (a platform event filter; no handler of the form is replaced).
    void SetFollowFormSize(bool v);
    bool FollowFormSize() const { return FFollowForm != nullptr; }
    // The size of the top-level window the grid stands on ((0, 0) without one).
    TPoint FormSize() const;

    // Whether the window at a screen point is the grid or one of its children (no other window covers it).
    bool WindowAt(TPoint Screen) const;

    // Captures the mouse: every mouse event goes to the grid until released.
    void SetMouseCapture(bool v);
    bool MouseCapture() const { return FCapture; }

    TNotifyEvent OnTopLeftChanged;

protected:
    // The class library's virtual steps.
    void Paint() override;
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) = 0;
    virtual bool SelectCell(int ACol, int ARow);
    virtual bool CanEditShow();
    virtual TInplaceEdit* CreateEditor();
    virtual std::string GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const std::string& Value);
    virtual int GetEditLimit() { return 0; }
    virtual bool CanEditModify() { return true; }
    virtual void TopLeftChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    // Decides the sizing or moving state of a press at (X, Y); the base tests the edges of fixed cells.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);
    virtual void WMScroll(int Bar, int Code, int Pos);
    // The window the grid stands on has a new size (with SetFollowFormSize).
    virtual void FormResized(int FormWidth, int FormHeight) { (void)FormWidth, (void)FormHeight; }
    // The editor is about to be shown or hidden (the cell's text has been stored).
    virtual void UpdateText();

    // The key-down message: OnKeyDown, then KeyDown (the class library's cursor keys).
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMChar(char& Key) override;
    // Every wheel notch of 120 units is one OnMouseWheelDown or OnMouseWheelUp step.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // Focus moves between the grid and its own editor are no entering or leaving of the grid: DoEnter and
    // DoExit are not run for them (as the class library's form sends no enter or exit to a control that
    // keeps the focus within itself).
    void WMSetFocus(TWinControl* OldFocus) override;
    void WMKillFocus(TWinControl* NewFocus) override;
    void DoEnter() override;
    void DoExit() override;
    bool FocusMoveWithinGrid() const { return FFocusWithin; }
    void SizeChanged() override;

    // The first scrollable cell, and the largest top-left cell that still fills the view.
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void UpdateScrollRange();
    void UpdateEdit();
    // Sets the current cell without asking SelectCell (after it answered).
    void MoveCurrent(int col, int row, bool moveAnchor, bool show);
    void ClampInView();
    void SetAnchor(int col, int row) { FAnchor = {col, row}; }

private:
    friend class TInplaceEdit;
    struct Bars;
    struct FormFilter;

    int SumWidths(int from, int to) const;   // columns from..to-1
    int SumHeights(int from, int to) const;
    void ChangeSize(int newColCount, int newRowCount);
    void MoveTopLeft(int col, int row);
    void MoveAndScroll(int col, int row, bool moveAnchor);
    void InvalidateSelectionChange(const TGridRect& old);
    void HideEdit();

    int FColCount = 5, FRowCount = 5, FFixedCols = 1, FFixedRows = 1;
    int FDefaultColWidth = 64, FDefaultRowHeight = 24, FGridLineWidth = 1;
    std::vector<int> FColWidths, FRowHeights;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor FFixedColor;
    TScrollStyle FScrollBars = ssBoth;
    bool FDefaultDrawing = true;
    TFont FFont;
    TGridCoord FCurrent{1, 1}, FAnchor{1, 1}, FTopLeft{1, 1};
    TGridState FGridState = gsNormal;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    bool FUpdatingEditor = false;
    // Sizing and moving by the mouse.
    int FSizingIndex = -1, FSizingPos = 0, FSizingOfs = 0, FMoveIndex = -1, FMovePos = -1;
    bool FCapture = false;
    int FScrollBarWidth = 16;
    int FWheelDelta = 0;
    bool FFocusWithin = false;
    std::unique_ptr<Bars> FBars;
    std::unique_ptr<FormFilter> FFollowForm;
    TRect FDirty{0, 0, 0, 0};
    bool FDirtyAll = true;
    TRect FUpdateRect{0, 0, 0, 0};
    int FCellsPainted = 0;
};

// ---- TCustomDrawGrid ---------------------------------------------------------------------------------

using TDrawCellEvent = std::function<void(TPersistent* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TPersistent* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TPersistent* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = std::function<void(TPersistent* Sender, int ACol, int ARow, const std::string& Value)>;
using TMovedEvent = std::function<void(TPersistent* Sender, int FromIndex, int ToIndex)>;

class TCustomDrawGrid : public TCustomGrid {
    VSP_PERSISTENT_CLASS
public:
    using TCustomGrid::TCustomGrid;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TMovedEvent OnColumnMoved, OnRowMoved;

protected:
    // Fills the cell with the brush and fires OnDrawCell (the class library's default drawing).
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
};

// ---- TStringGrid -------------------------------------------------------------------------------------

// One cell of the store: its text and its object slot (not owned).
struct TGridCell {
    std::string Text;
    TPersistent* Object = nullptr;
};

// A whole row or column of cells, as the class library's Rows[] and Cols[] hand it out.
using TGridCells = std::vector<TGridCell>;

class TStringGrid : public TCustomDrawGrid {
    VSP_PERSISTENT_CLASS
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Any cell may be read (an empty one reads as empty text and no object); writing outside the grid
    // raises "Grid index out of range".
    const std::string& Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    TPersistent* Objects(int col, int row) const;
    void SetObjects(int col, int row, TPersistent* obj);
    // Whole rows and columns with their object slots (objects are shared afterwards, not copied).
    TGridCells Rows(int row) const;
    void SetRows(int row, const TGridCells& cells);
    TGridCells Cols(int col) const;
    void SetCols(int col, const TGridCells& cells);
    // Exchanges two rows without copying any text.
    void ExchangeRows(int row1, int row2);
    // Removes one row; the rows below move up with their texts, objects and heights.
    void DeleteRow(int row);

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    // Rows are allocated on first write; a row holds ColCount cells.
    std::vector<std::unique_ptr<TGridCells>> FRows;
    TGridCells& RowStore(int row);
};
