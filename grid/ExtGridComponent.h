// TExtStringGrid: the grid component on the base grid, with its published settings, option objects and
// events, and the in-place text editor TExtInplaceEdit. Qt-free. Its operations live in 19 topic files:
// ExtGridComponent.cpp (construction, settings, dimensions, hidden rows), ExtGridPaint.cpp (appearance and
// painting), ExtGridGraphics.cpp (cell graphics), ExtGridControls.cpp (check boxes, radio groups and
// buttons in cells), ExtGridFooter.cpp, ExtGridMarkup.cpp (markup cells under the mouse), ExtGridEdit.cpp
// (in-place editing, cell selection, validation), ExtGridEditors.cpp (the editor controls and the table of
// editor kinds), ExtGridEditLink.cpp (custom and rich text editors), ExtGridKeys.cpp, ExtGridMouse.cpp,
// ExtGridScroll.cpp (wheel, pan, timers, scroll bars, sizing, column widths), ExtGridRows.cpp (typed access,
// headers, row and column operations), ExtGridNodes.cpp, ExtGridSort.cpp, ExtGridFilter.cpp,
// ExtGridClipboard.cpp, ExtGridDrop.cpp and ExtGridImport.cpp. MAP.md says what each is for.
#pragma once

#include "grid/BaseGrid.h"
#include "grid/EsgHTMLE.h"
#include "grid/PictureContainer.h"
#include "grid/ExtGridClipboard.h"
#include "grid/EsgDD.h"
#include "grid/ExtGridFilter.h"
#include "grid/ExtGridOptions.h"
#include "grid/ExtObj.h"
#include "grid/asgcheck.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/DateUtils.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TExtStringGrid;
class TArrowWindow;
class TEditLink;
class TExtRichEdit;
class TRichEdit;
class TGridSpin;
class TGridCombo;
class TGridUniCombo;
class TGridUniEdit;
class TGridCheckBox;
class TGridDatePicker;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridButton;
class TControlEdit;
class TControlCombo;
class TPopupButton;
class TIniFile;
class TTimer;
class TCustomImageList;
class TESGDropTarget;
class TIcon;
class TPicture;
class TStringList;

// The column widths stored in an ini section as "Col0", "Col1", ...: a missing entry reads as
// DefaultWidth, and an entry outside 0..32767 as -1 (the column keeps its width).
std::vector<int> ReadStoredColumnWidths(const TIniFile& Ini, const std::string& Section, int Count, int DefaultWidth);
class THintWindow;

// ---- Events ------------------------------------------------------------------------------------------

using TGridColorEvent = std::function<void(TPersistent*, int ARow, int ACol, TGridDrawState AState, TBrush& ABrush, TFont& AFont)>;
using TGridAlignEvent = std::function<void(TPersistent*, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGridBorderEvent = std::function<void(TPersistent*, int ARow, int ACol, TPen& APen, TCellBorders& Borders)>;
using TGridBorderPropEvent = std::function<void(TPersistent*, int ARow, int ACol, TPen& LeftPen, TPen& TopPen, TPen& RightPen, TPen& BottomPen)>;
using TFloatFormatEvent = std::function<void(TPersistent*, int ACol, int ARow, bool& IsFloat, std::string& FloatFormat)>;
using TRowColCellEvent = std::function<void(TPersistent*, int ARow, int ACol, bool& Value)>;
using TColRowStringEvent = std::function<void(TPersistent*, int ACol, int ARow, std::string& Value)>;
using TRowColStringEvent = std::function<void(TPersistent*, int ARow, int ACol, std::string& Value)>;
using TEditorTypeEvent = std::function<void(TPersistent*, int ACol, int ARow, TEditorType& AEditor)>;
using TRowChangingEvent = std::function<void(TPersistent*, int OldRow, int NewRow, bool& Allow)>;
using TCellChangingEvent = std::function<void(TPersistent*, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TCellValidateEvent = std::function<void(TPersistent*, int ACol, int ARow, std::string& Value, bool& Valid)>;
using TCellValidateWideEvent = std::function<void(TPersistent*, int ACol, int ARow, std::u16string& Value, bool& Valid)>;
using TCellsChangedEvent = std::function<void(TPersistent*, const TRect& R)>;
using TClickCellEvent = std::function<void(TPersistent*, int ARow, int ACol)>;
using TRowEvent = std::function<void(TPersistent*, int ARow)>;
using TColEvent = std::function<void(TPersistent*, int ACol)>;
using TRowAllowEvent = std::function<void(TPersistent*, int ARow, bool& Allow)>;
using TColAllowEvent = std::function<void(TPersistent*, int ACol, bool& Allow)>;
using TAllowEvent = std::function<void(TPersistent*, bool& Allow)>;
using TSelectionChangedEvent = std::function<void(TPersistent*, int ALeft, int ATop, int ARight, int ABottom)>;
using TAnchorClickEvent = std::function<void(TPersistent*, int ARow, int ACol, const std::string& Anchor, bool& AutoHandle)>;
using TAnchorEvent = std::function<void(TPersistent*, int ARow, int ACol, const std::string& Anchor)>;
using TUpdateColumnSizeEvent = std::function<void(TPersistent*, int ACol, int& AWidth)>;
using TControlEvent = std::function<void(TPersistent*, int ARow, int ACol, const std::string& CtrlID, const std::string& CtrlType,
                                         const std::string& CtrlVal)>;
using TAnchorHintEvent = std::function<void(TPersistent*, int ARow, int ACol, std::string& Anchor)>;
using TBeforeCellPasteEvent = std::function<void(TPersistent*, int ACol, int ARow, std::string& Value, bool& Allow)>;
using TBeforeCellPasteWideEvent = std::function<void(TPersistent*, int ACol, int ARow, std::u16string& Value, bool& Allow)>;
using TSelectionResizeEvent = std::function<void(TPersistent*, const TGridRect& OrigSelection, const TGridRect& NewSelection)>;
using TOleDragDropEvent = std::function<void(TPersistent*, int ARow, int ACol, const std::string& Data, bool& Allow)>;
using TOleDragStartEvent = std::function<void(TPersistent*, int ARow, int ACol)>;
using TOleDragStopEvent = std::function<void(TPersistent*, int OLEEffect)>;
using TOleDragOverEvent = std::function<void(TPersistent*, int ARow, int ACol, bool& Allow)>;
using TOleDroppedEvent = std::function<void(TPersistent*, const TGridRect& ARect)>;
using TOleDropColEvent = std::function<void(TPersistent*, int ARow, int ACol, int DropCol)>;
using TOleDropFileEvent = std::function<void(TPersistent*, int ARow, int ACol, const std::string& FileName, bool& Allow)>;
using TScrollHintEvent = std::function<void(TPersistent*, int ARow, std::string& Hint)>;
using TCheckBoxClickEvent = std::function<void(TPersistent*, int ACol, int ARow, bool State)>;
using TRadioClickEvent = std::function<void(TPersistent*, int ACol, int ARow, int AIdx)>;
using TButtonClickEvent = std::function<void(TPersistent*, int ACol, int ARow)>;
using TDrawCellExEvent = std::function<void(TPersistent*, TCanvas& Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing)>;
using TNodeAllowEvent = std::function<void(TPersistent*, int ARow, int ARowReal, bool& Allow)>;
using TNodeEvent = std::function<void(TPersistent*, int ARow, int ARowReal)>;
using TEllipsClickEvent = std::function<void(TPersistent*, int ACol, int ARow, std::string& S)>;
using TSpinClickEvent = std::function<void(TPersistent*, int ACol, int ARow, int AValue, bool UpDown)>;
using TFloatSpinClickEvent = std::function<void(TPersistent*, int ACol, int ARow, double AValue, bool UpDown)>;
using TDateTimeSpinClickEvent = std::function<void(TPersistent*, int ACol, int ARow, TDateTime AValue, bool UpDown)>;
using TComboChangeEvent = std::function<void(TPersistent*, int ACol, int ARow, int AItemIndex, const std::string& ASelection)>;
using TComboObjectChangeEvent =
    std::function<void(TPersistent*, int ACol, int ARow, int AItemIndex, const std::string& ASelection, TPersistent* AObject)>;
using TGetEditorPropEvent = std::function<void(TPersistent*, int ACol, int ARow, TEditLink* AEditLink)>;
using TControlComboListEvent = std::function<void(TPersistent*, int ARow, int ACol, const std::string& CtrlID, const std::string& CtrlType,
                                                  const std::string& CtrlVal, TStringList& Values, bool& Edit, int& DropCount)>;

// ---- The in-place editor -----------------------------------------------------------------------------

class TExtInplaceEdit : public TInplaceEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtInplaceEdit(TExtStringGrid* AGrid);

    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int v) { FLengthLimit = v; }
    // True when the edited cell is right-aligned (the editor shows its text right-aligned).
    bool VAlign() const { return FVAlign; }
    void SetVAlign(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    void UpdateContents() override;
    void BoundsChanged() override;
    // Completes the typed prefix from the grid's lookup items.
    void CompleteFromLookup();
    // The clipboard's paste, filtered by the editor type.
    void PasteText(const std::string& Clip);

protected:
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMChar(char& Key) override;
    void WMKillFocus(TWinControl* NewFocus) override;
    void DblClick() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
    void Recreate();
    // Validation refused: the cell's text back, all selected or the caret at the end.
    void ReloadAfterRefusal();
    TExtStringGrid* FExtGrid;
    int FLengthLimit = 0;
    bool FVAlign = false;
    bool FWordWrap = false;
    bool FCompletion = true;
};

// The plain edit laid over a fixed cell when fixed cells may be edited: leaving it (the focus going
// anywhere, Enter among the ways) writes its text into the cell; Escape leaves the cell as it was.
class TGridTransEdit : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridTransEdit(TExtStringGrid* AGrid);
    // The cell it edits (real column).
    int Col = 0, Row = 0;
    // The grid is going: the edit stores nothing more.
    void Detach() { FGrid = nullptr; }

protected:
    void WMKillFocus(TWinControl* NewFocus) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

private:
    void Finish(bool Store);
    TExtStringGrid* FGrid;
    bool FFinishing = false;
};

// The floating footer's strip, a panel at the bottom of the grid's client area painted by the footer
// style.
class TFooterPanel : public TCustomPanel {
    VSP_PERSISTENT_CLASS
public:
    explicit TFooterPanel(TExtStringGrid* AGrid);

protected:
    void Paint() override;

private:
    void PaintLastRow(int W);
    void PaintPreviewFrame(int W);
    TExtStringGrid* FGrid;
};

// One hidden row in the grid's hidden-row store: its real index, its height, and its cells with their
// per-cell objects (which travel with it and come back when the row is shown).
class TGridItem : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridItem(TCollection* Collection) : TCollectionItem(Collection) {}
    int Idx = 0;
    int Height = 0;
    TGridCells Items;
};

// ---- TExtStringGrid ----------------------------------------------------------------------------------

class TExtStringGrid : public TBaseGrid {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtStringGrid(TComponent* AOwner);
    ~TExtStringGrid() override;
    void Loaded() override;

    // --- Option objects.
    TNavigation Navigation{this};
    TMouseActions MouseActions{this};
    TColumnSize ColumnSize{this};
    TCellNode CellNode{this};
    TBands Bands{this};
    TSizeWhileTyping SizeWhileTyping{this};
    TBackGround BackGround{this};
    TFloatingFooter FloatingFooter{this};
    TSortSettings SortSettings{this};
    TControlLook ControlLook{this};
    TDragDropSettings DragDropSettings{this};
    TPrintSettings PrintSettings{this};
    THTMLSettings HTMLSettings{this};
    TGrouping Grouping{this};

    // --- Look.
    TFont& FixedFont() { return FFixedFont; }
    TFont& ActiveCellFont() { return FActiveCellFont; }
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor v);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor v);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool v);
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool v);
    bool SelectionRTFKeep = false;
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool v);
    bool HideFocusRect = false;
    bool FixedAsButtons = false;
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool v);
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor v);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool Multilinecells = false;
    bool AutoNumAlign = false;
    bool EnhTextSize = false;
    bool EnableHTML = true;
    bool EnableBlink = false;
    std::string FloatFormat = "%.2f";
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool v);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool v);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v);
    bool URLEdit = false;
    bool Hovering = false;
    TColor HintColor = clInfoBk;
    bool HintShowCells = false, HintShowLargeText = false, HintShowSizing = false, HTMLHint = false, AnchorHint = false;
    TScrollHintType ScrollHints = shNone;
    bool EditWithTags = false;
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int v);
    bool Lookup = false, LookupCaseSensitive = false, LookupHistory = false;
    std::vector<std::string> LookupItems;
    bool OemConvert = false;
    bool ExcelStyleDecimalSeparator = false;
    TExtStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TExtStringGridCheck* v);
    bool EnableWheel = true;
    TIntelliPan IntelliPan = ipVertical;
    bool IntelliZoom = true;
    bool EnhRowColMove = true;
    // Scroll bars: type and look, proportional thumbs, synchronous scrolling.
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType v);
    TColor ScrollColor = clNone;
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int v);
    bool ScrollSynch = false;
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool v);
    // The grid grows and shrinks with the form it stands on (call after it has been placed on the form).
    bool SizeWithForm() const { return FSizeWithForm; }
    void SetSizeWithForm(bool v);
    // The grid's height is kept to whole rows of DefaultRowHeight (applied at once and at every resize).
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool v);
    // The height the integral-height rule gives a requested height.
    int IntegralHeightFor(int AHeight);
    // True sizes every normal column to its content, 10 pixels wider, within the width limits.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool AutoSizeGrowOnly = false;
    // Header texts written into the fixed row and column (backslash-n gives a line break).
    const std::vector<std::string>& ColumnHeaders() const { return FColumnHeaders; }
    void SetColumnHeaders(const std::vector<std::string>& v);
    const std::vector<std::string>& RowHeaders() const { return FRowHeaders; }
    void SetRowHeaders(const std::vector<std::string>& v);
    // The glyph drawn in column 0 of the current row (copied; its top-left pixel's colour is transparent).
    const TBitmap& RowIndicator() const { return FRowIndicator; }
    void SetRowIndicator(const TBitmap& v);
    // bsSingle: the soft, quarn and XP looks draw a two-pixel border round the control (unless Flat).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);

    // --- Dimensions (writers of Part-specific behaviour on top of the class library's).
    void SetRowCount(int v);
    void SetColCount(int v);
    int FixedRows() const;
    int FixedCols() const;
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int v);
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int v);
    void SetDefaultRowHeight(int v);
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int v);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int v);
    bool FixedRowAlways = false;
    bool FixedColAlways = false;
    int DesignFixedRows() const { return FDesignFixedRows; }
    void SetDesignFixedRows(int v) { FDesignFixedRows = v; }
    int HiddenColCount() const { return 0; }
    int AllColCount() const { return ColCount() + HiddenColCount(); }

    // --- Column and row mapping, hidden rows.
    int RealToDisplayCol(int ACol) const;
    int DisplayToRealCol(int ADisplayCol) const;
    bool IsHiddenColumn(int ACol) const;
    int RealToDisplayRow(int ARow) const;
    int DisplayToRealRow(int ADisplayRow) const;
    bool IsHiddenRow(int ARow) const;
    int HiddenRowCount() const { return FHiddenRowStore.Count(); }
    // The hidden rows, a collection of TGridItem in ascending order of their real indexes.
    const TCollection& HiddenRowStore() const { return FHiddenRowStore; }
    TGridItem& HiddenItem(int Index) const { return static_cast<TGridItem&>(*FHiddenRowStore.Items(Index)); }
    void HideRowRange(int AFromRow, int AToRow);
    void UnhideRowRange(int AFromRow, int AToRow);
    // Hides the listed display rows (ascending); the store keeps their real indexes.
    void HideRowList(const std::vector<int>& AList);
    void UnhideAllRows();
    void HideSelection();
    void RestoreSelection();
    bool SelectionHidden() const { return FSelectionHidden; }

    // --- Appearance.
    void ResolveCellAppearance(int ACol, int ARow, TGridDrawState& AState, bool Print, bool ApplySelection,
                               bool MapColumn, TBrush& Brush, TColor& ColorTo, TFont& Font, TAlignment& HAlign,
                               TVAlignment& VAlign, bool& WordWrap) override;
    // The brush and font a cell (display column) shows with outside painting: hit tests, measuring and
    // the controls laid over it.
    void ResolveCellLook(int ACol, int ARow, TBrush& Brush, TFont& Font, bool ApplySelection = false);
    void CellAlignmentOf(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    bool IsRowSelected(int ARow);
    void SetRowSelected(int ARow, bool Value);
    bool IsColSelected(int ACol);
    void SetColSelected(int ACol, bool Value);
    void ClearRowSelection();
    void ClearColSelection();
    void SelectionToRowFlags(bool All);
    void SelectionToColFlags(bool All);
    bool IsSelectedCell(int ACol, int ARow);

    // --- Painting helpers.
    void RefreshCell(int ACol, int ARow);
    void RefreshRow(int ARow);
    void RefreshCol(int ACol);
    void RefreshRect(const TRect& R);
    void CellTextExtent(int ACol, int ARow, TPoint& Size, bool Wrap);
    void Invalidate() override;
    int XMargin = 2, YMargin = 2;
    int ZoomOffset() const { return FZoomOffset; }
    TColor SelectionFrameColor = clBlack;
    TColor FixedGradientFrom = 0xFFFFFF;
    TColor FixedGradientTo;
    bool ThemedLook() const { return false; }
    void LockRedraw();
    void UnlockRedraw();
    void IncRedrawLock() { ++FRedrawLock; }
    void ResetRedrawLock() { FRedrawLock = 0; }
    int RedrawLockCount() const { return FRedrawLock; }

    // --- Editing.
    bool CellEditable(int ACol, int ARow);
    bool PasswordCellAt(int ACol, int ARow);
    bool ValidateEditText(const std::string& Value);
    bool ValidateEditTextWide(const std::u16string& Value);
    void RememberEditCell(int ACol, int ARow);
    void ShowCellEditor();
    // Opens the fixed-cell edit over a cell (display column) with its raw text, focused.
    void EditFixedCell(int ACol, int ARow);
    TGridTransEdit* FixedCellEditor() const { return FTransEdit; }
    void HideEditorControl();
    std::string GetCurrentCellText();
    void SetCurrentCellText(const std::string& Value);
    void RevertCellEdit();
    void StoreEditorText(int ACol, int ARow, const std::string& Value);
    bool EditPending() const { return FEditPending; }
    bool EditorOpen() const { return FEditorOpen; }
    TEditorType EditorType() const { return FEditorType; }
    const std::string& EditOriginalText() const { return FEditOriginalText; }
    char PasswordChar = '*';
    std::string CheckTrueText = "Y", CheckFalseText = "N";

    // --- Keys and navigation.
    void AdvanceCell(int ACol, int ARow, bool Forward, bool OpenEditor, bool Force);
    void TabNavigate(bool Backward);
    int FirstNormalCol();
    int VisibleRightFixedCols() const { return FFixedRightCols; }
    int FindRowByPrefix(const std::string& Prefix);
    std::string CellPlainText(int ACol, int ARow);
    void DoEditingDone();
    const std::string& SearchText() const { return FSearchText; }

    // What a link in a cell hands to the desktop: the address from its http, https, ftp or mailto scheme
    // on; empty for anything else ("CELL://" jumps stay in the grid, files and other schemes open nothing).
    static std::string DesktopLinkTarget(const std::string& Link);

    // --- Wheel, pan, zoom.
    void Zoom(int Delta);
    bool Panning() const { return FPanning; }
    // One step of panning by the mouse position relative to the press point (the pan timer's tick).
    void PanStep();
    // The marker at the pan origin (drawn over every paint while panning), and its removal.
    void DrawPanMarker();
    void ErasePanMarker();
    // The hover step of the grid timer with the mouse at a screen point: over a normal cell of the grid's
    // own window the grid takes the focus and that cell becomes current (only while Hovering).
    void HoverStep(TPoint Screen);
    // Fills a hint about to show for the cell under Info.CursorPos: the hint colour, the text (comment,
    // cell text, large text, OnGridHint) and its screen position; the hint lasts while the mouse stays in
    // that cell.
    void BuildCellHint(std::string& HintStr, THintInfo& Info);
    TPoint HintCell() const { return FHintCell; }
    int WheelLines = 3;

    // --- Scroll bars, sizing, column widths.
    void UpdateProportionalThumb(bool Vertical);
    void StretchColumnTo(int ACol);
    void SaveColumnWidths();
    void LoadColumnWidths();
    void GotoCell(int ACol, int ARow);
    bool OverSizingEdge(int X, int Y);
    void AutoSizeColumn(int ACol, bool GrowOnly);
    void AutoSizeCol(int ACol) { AutoSizeColumn(ACol, AutoSizeGrowOnly); }
    void AutoSizeColumns(bool IncludeFixed, int Extra);
    void AutoSizeRowEx(int ARow, bool GrowOnly);
    void AutoSizeRow(int ARow) { AutoSizeRowEx(ARow, AutoSizeGrowOnly); }
    void SetRowHeightLines(int ARow, int Lines, int Extra);
    int MaxLineCount(int ARow);
    void RotatedTextOrigin(TRect& R, int Angle, int HAlign, int VAlign, const std::string& Text);
    int MinColWidth = 0, MaxColWidth = 0, MinRowHeight = 0, MaxRowHeight = 0;
    THintWindow* GridHintWindow() const { return FHintWindow; }
    // The move markers of an enhanced column or row move (nullptr before the first move): the caption
    // box following the mouse and the arrows 0 up, 1 down, 2 right, 3 left at the target's edge.
    TPopupButton* MoveButton() const { return FMoveButton; }
    TArrowWindow* MoveArrow(int Direction) const { return FMoveArrows[Direction & 3]; }
    // The dotted XOR guide line of a sizing drag; drawing it twice at the same x removes it.
    void DrawSizingLine(int X);
    // The two-pixel border of the soft, quarn and XP looks over the control's outer pixels.
    void PaintControlBorder();

    // --- Typed access, headers, rows and columns.
    int CellAsInteger(int ACol, int ARow);
    double CellAsFloat(int ACol, int ARow);
    void SetCellAsFloat(int ACol, int ARow, double Value);
    void SetCellAsDate(int ACol, int ARow, TDateTime Value);
    void ApplyColumnHeaders();
    void ApplyRowHeaders();
    virtual void InsertRows(int ARow, int ACount);
    virtual void RemoveRows(int ARow, int ACount);
    virtual void InsertCols(int ACol, int ACount);
    virtual void RemoveCols(int ACol, int ACount);
    virtual void ClearCellRange(int ACol1, int ARow1, int ACol2, int ARow2);
    void DeleteRowRange(int ARow, int ACount);
    void DetachRowRange(int ARow, int ACount);
    void DeleteSelectedRows();
    void ClearRowRange(int ARow, int ACount);
    void ClearColRange(int ACol, int ACount);
    void ClearAllCells();
    void AppendRow();
    // Splits every merged block of a column (the last normal row is not examined).
    void SplitColumnMerges(int ACol);
    // Merges each run of equal texts of a column into a one-column block; with First off a run continues
    // only where its rows already share a multi-row block of another column.
    void MergeColumnRuns(int ACol, bool First);
    // Splits every column, then merges the runs of each column of AutoMergeColumns in order.
    void RemergeColumns();
    // Columns whose runs are merged; every change re-merges.
    TIntList& AutoMergeColumns() { return FAutoMergeColumns; }
    virtual void AutoInsertRow(int ARow);
    virtual void AutoDeleteRow(int ARow);
    bool IsWideCell(int ACol, int ARow);
    std::u16string ReadWideCell(int ACol, int ARow);
    void WriteWideCell(int ACol, int ARow, const std::u16string& Value);
    virtual void CalcFooterColumns(int ACol);
    virtual void RecalcFooter(int ACol) { CalcFooterColumns(ACol); }
    virtual void CellValueChanged(int ACol, int /*ARow*/) { RecalcFooter(ACol); }
    virtual void CellsChanged(const TRect& R);
    virtual void FileLoaded() { RecalcFooter(-1); }
    TFooterPanel* FooterPanel() const { return FFooterPanel; }
    // Places the footer strip at the bottom of the client area (its height by the footer's visibility)
    // and repaints it.
    void LayoutFooterPanel();
    // The custom template with every "<#n>" tag replaced by column n's text in the current row; a tag
    // whose number does not convert, or names no column, is removed.
    std::string FooterTemplateText();

    // --- Cell types and graphics (real columns). A cell without a graphic is ctEmpty.
    virtual TCellType CellTypeOf(int ACol, int ARow);
    virtual TCellGraphic* CellGraphicOf(int ACol, int ARow);
    // Replaces the cell's graphic by a new one of type ctNone.
    TCellGraphic& CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool IsCheckBoxCell(int ACol, int ARow);
    bool IsRadioCell(int ACol, int ARow);
    bool IsCheckOrRadioCell(int ACol, int ARow);
    bool IsButtonCell(int ACol, int ARow);
    // The sort key of an image cell: the list index, or the identity of its bitmap or icon; -1 otherwise.
    std::intptr_t CellImageKey(int ACol, int ARow);
    TStringList* RadioItemsOf(int ACol, int ARow);
    TIntList* ImageListOf(int ACol, int ARow);
    bool IsRotatedCell(int ACol, int ARow, int& AAngle);

    // Ways to give a cell a graphic (each replaces the one it had). Created objects belong to the cell;
    // a referenced bitmap stays the caller's.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddDataCheckBox(int ACol, int ARow, bool Virtual);
    void AddRadio(int ACol, int ARow, bool Horizontal, const std::vector<std::string>& Captions, int Index = -1);
    void AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Created, TCellHAlign HAlign, TCellVAlign VAlign, bool Transparent = false);
    void AddIcon(int ACol, int ARow, TIcon* AIcon, bool Created, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddDataImage(int ACol, int ARow, int Offset, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddMultiImage(int ACol, int ARow, const std::vector<int>& Indexes, bool Horizontal, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddPicture(int ACol, int ARow, TPicture* APicture, bool Created, int Mode, int Inset, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddFilePicture(int ACol, int ARow, const std::string& FileName, int Mode, int Inset, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddProgress(int ACol, int ARow, TColor BarColor, TColor BackColor);
    void AddProgressEx(int ACol, int ARow, TColor BarColor, TColor BackColor, TColor BarTextColor, TColor BackTextColor);
    void AddProgressPie(int ACol, int ARow, TColor Color, int Percent);
    void AddComment(int ACol, int ARow, const std::string& Comment);
    void AddButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddBitButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption, const TBitmap& Glyph, TCellHAlign HAlign, TCellVAlign VAlign);
    void AddRotated(int ACol, int ARow, int Angle, const std::string& Text);
    void SetErrorRange(int ACol, int ARow, int From, int Length);

    // The image list of image cells and "IDX:" pictures (a reference; forgotten when it goes).
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* v);
    // Colour of the comment triangle.
    TColor CommentColor = 0x0000FF;
    // Named pictures of the markup (a reference; forgotten when it goes), and the pictures the markup
    // loaded by address (the grid's own, kept for its life).
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* v);
    THTMLPictureCache& PictureCache() { return *FPictureCache; }
    // The markup's settings for this grid: its images, pictures and a link colour.
    THTMLPaintParams MarkupParams(TColor URLColor);
    // The hit test of a mini-markup cell (real column) at a client point: the anchor or "ctrl" and the
    // embedded control there; true when something was hit.
    bool MarkupHitTest(int ACol, int ARow, int X, int Y, THTMLResult& Res);
    std::string AnchorAt(int ACol, int ARow, int X, int Y, TPoint& Hit);
    // Ends an open EDIT or COMBO control of a markup cell: the value goes into its tag and the cell.
    void ControlEditDone(const std::string& Value);
    void ControlEditDone();
    bool ControlEditing() const { return FControlEditing; }
    bool MarkupButtonDown() const { return FControlButtonDown; }
    TPoint ControlCell() const { return FControlCell; }

    // Layout of a cell's graphic: its alignments, whether the cell text is drawn as text, and the drawn
    // size (pictures by their display mode in the box R less the inset).
    struct TGraphicLayout {
        TCellVAlign VAlign = vaTop;
        TCellHAlign HAlign = haLeft;
        bool DrawsText = true;
        int Width = 0, Height = 0;
    };
    TGraphicLayout CellGraphicLayout(int ACol, int ARow, const TRect& R);
    // The size a graphic needs for automatic sizing; (0, 0) without one.
    virtual void GetCellGraphicSize(int ACol, int ARow, TPoint& Size);
    // Where the graphic lies in the drawing rectangle R (the content rectangle grown by 1), with the text's
    // alignment and extent.
    TRect GraphicPlacement(int ACol, int ARow, const TGraphicLayout& L, const TRect& R, TAlignment TextAlign, int TextExtent);
    // Draws the check box of the control look with its top-left (or centring box) at R.
    void DrawCheckBox(TCanvas& C, const TRect& R, bool Checked, bool Enabled, TControlStyle Style);
    // Draws a radio group in R: item Index selected, or with -1 every item whose caption is the text.
    void DrawRadioGroup(TCanvas& C, const TRect& R, int Count, int Index, const TStringList* Captions, bool Disabled,
                        bool Horizontal, const std::string& CellText);

    // --- Cell control state (real columns unless said).
    bool GetCheckBoxState(int ACol, int ARow, bool& AState);
    bool SetCheckBoxState(int ACol, int ARow, bool AState);
    virtual bool ToggleCellCheck(int ACol, int ARow, bool CheckRights);
    void StepRadio(int ACol, int ARow, bool CheckRights);
    bool RadioIndexOf(int ACol, int ARow, int& AIndex);
    bool CommentOf(int ACol, int ARow, std::string& AText);
    void ErrorRangeOf(int ACol, int ARow, int& AFrom, int& ALength);
    void SetButtonPressed(int ADisplayCol, int ARow, bool APressed);
    void ButtonRect(int ADisplayCol, int ARow, TRect& R);
    bool CheckBoxHit(int ACol, int ARow, int X, int Y);
    // Selects the radio button under (dx, dy) from the cell's top-left.
    void RadioClickAt(int ACol, int ARow, int dx, int dy);
    TPoint PressedButton() const { return FPressedButton; }

    // The sort or sort-index indicator centred on (X, Y).
    void DrawSortIndicator(TCanvas& C, int ACol, int Y, int X);
    // The columns of a sort on several columns, the direction in bit 31.
    TSortIndexList& SortIndexes() { return FSortIndexes; }
    // A header with a filter button (row 0) shows it at its right end.
    virtual bool HasFilterButton(int /*ACol*/) { return false; }

    // --- Clipboard (ExtGridClipboard.cpp).
    void ClipboardCopy();
    void ClipboardCut();
    void ClipboardPaste();
    // Pastes the best format of the desktop's clipboard at a cell (of a source: the grid's buffer);
    // returns the cells pasted (a private block's counts, 0 for rich text, the text's fields).
    int PasteAt(int ACol, int ARow);
    int PasteFrom(const TGridClipSource& Source, int ACol, int ARow);
    // Pastes tab-separated text with CR LF rows; returns the fields processed.
    int PasteText(int ACol, int ARow, const std::string& Text);
    std::string CopyRangeAsText(const TGridRect& R, bool Disjunct);
    // The formats a copy of the range offers.
    TGridClipData CopyRange(const TGridRect& R, bool Disjunct);
    void WriteCellsStream(const TGridRect& R, TStream& Stream);
    void PasteCellsStream(TPoint Origin, TStream& Stream);
    std::string SelectionAsText();
    // (fields, lines) of a tab-separated text.
    static TPoint MeasureTabText(const std::string& Text);
    virtual void GetCellCopyText(int ACol, int ARow, std::string& Text);
    virtual void SetCellByDisplayCol(int ACol, int ARow, const std::string& Value);
    virtual void PasteDone(TPoint Origin, TGridRect Range, bool LastWasCopy);
    TPoint CopyOrigin{-1, -1};
    bool LastCopyWasCopy = false;
    TBeforeCellPasteEvent OnClipboardBeforePasteCell;
    TBeforeCellPasteWideEvent OnClipboardBeforePasteWideCell;
    TGridProgressEvent OnFileProgress;
    TSelectionResizeEvent OnSelectionResize;
    bool SelectionResizing() const { return FSelectionResizing; }
    // The grid's mark in the private format (its window handle there).
    int ClipboardID();
    void SetClipboardID(int v) { FClipboardID = v; }

    // --- Drag and drop (ExtGridDrop.cpp, EsgDD.cpp).
    TOleDragDropEvent OnOleDrag, OnOleDrop;
    TOleDragStartEvent OnOleDragStart;
    TOleDragStopEvent OnOleDragStop;
    TOleDragOverEvent OnOleDragOver;
    TOleDroppedEvent OnOleDropped;
    TOleDropColEvent OnOleDropCol;
    TOleDropFileEvent OnOleDropFile;
    // The grid's drop target while it is registered (DragDropSettings.OleDropTarget), else none.
    TESGDropTarget* GridDropTarget() const;
    bool DropTargetRegistered() const { return FDropTargetRegistered; }
    // What the drop target does with a drag at a screen point; the platform calls them through it.
    void DropTrackOver(TPoint Screen, bool& Allow, bool Column);
    void DropText(TPoint Screen, const std::string& Text);
    void DropRichText(TPoint Screen, const std::string& Text);
    void DropColumn(TPoint Screen, int Column);
    void DropFiles(TPoint Screen, const std::vector<std::string>& Names);
    void DropHideMarkers();
    void DragStepMarker();
    void UpdateDropTarget();
    TGridRect DragOrigin() const { return FDragOrigin; }
    bool OleDragPending() const { return FOleDragPending; }

    // --- Files (ExtGridImport.cpp).
    // Delimited text from row 0 (or below the rows there with Append); "Cannot open file <name>".
    void ReadDelimitedFile(const std::string& FileName, bool Append);
    void LoadDelimitedFile(const std::string& FileName);
    // The used range of a worksheet (the active one for an empty name) through the spreadsheet
    // application's automation server; "Excel OLE server not found" without one.
    void ReadSpreadsheetFile(const std::string& FileName, const std::string& SheetName);
    void LoadSpreadsheetFile(const std::string& FileName);
    // The cell write of the file readers: the raw text, no merging, no notices.
    virtual void SetCellFromFile(int ACol, int ARow, const std::string& Text);
    // The delimited reader's delimiter; '\0' finds it from the file.
    char FieldDelimiter = '\0';

    // The operations of the clipboard keys.
    virtual void CopyToClipboard() { ClipboardCopy(); }
    virtual void CutToClipboard() { ClipboardCut(); }
    virtual void PasteFromClipboard() { ClipboardPaste(); }

    // --- Row nodes (ExtGridNodes.cpp). Queries take display rows, the operations real rows.
    bool IsNodeRow(int ARow);
    bool IsSummaryRow(int ARow);
    bool NodeCollapsed(int ARow);
    int NodeLevelOf(int ARow);
    int NodeSpanOf(int ARow);
    // True for X strictly inside the 16-pixel glyph band of the node's level.
    bool NodeGlyphHit(int ARow, int X);
    // 0 for a node row, 1 for the last row of a branch, 2 for a row the branch goes on after.
    int RowNodeRole(int ARow);
    // The rows of the grid whose column-0 cell is a node.
    int NodeRowCount();
    bool HasNodes() override;
    // Makes the row a node of the given span (0: up to the next node) and level, expanded.
    void AddNode(int ARow, int ASpan, int ALevel = 1);
    void RemoveNode(int ARow);
    void ExpandNode(int ARealRow);
    void ContractNode(int ARealRow);
    void ExpandAllNodes();
    void ContractAllNodes();
    TNodeAllowEvent OnBeforeExpandNode, OnBeforeContractNode;
    TNodeEvent OnExpandNode, OnContractNode;

    // --- Sorting (ExtGridSort.cpp). A sort exchanges whole rows (only the sort column's cells with
    // SingleColumn) and keeps the order the rows had before the first sort, to be restored.
    virtual void SwapRows(int ARow1, int ARow2);
    virtual void SortOnColumn();
    // Raises EExtGridError "No indexes specified for indexed sort" when SortIndexes is empty.
    virtual void SortOnIndexes();
    // Sorts the rows of every expanded node's group.
    virtual void SortNodeGroups();
    virtual void RestoreUnsortedOrder();
    // -1, 0 or 1 by the column's sort style.
    int CompareCells(int ACol, int ARow1, int ARow2);
    int CompareRows(int ACol, int ARow1, int ARow2);
    int CompareRowsIndexed(int Depth, int ARow1, int ARow2);
    void QuickSortRows(int ACol, int ALo, int AHi);
    void QuickSortRowsIndexed(int ADepth, int ALo, int AHi);
    void ResetOriginalOrder();
    const std::vector<int>& OriginalRowOrder() const { return FOriginalRowOrder; }
    int SortSign() const { return FSortSign; }
    int SortCurrentRow() const { return FSortCurrentRow; }
    bool Sorting() const { return FSorting; }
    // Milliseconds the last header-click sort took.
    int SortTime() const { return FSortTime; }
    virtual void GetColumnFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix);
    // A sort click on the header cell of real column ACol: chooses column and direction (Shift adds to the
    // index list), or goes back to the unsorted order.
    void HeaderClickSort(int ACol, TShiftState Shift);
    TGridFormatEvent OnGetFormat;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;

    // --- Editor controls (ExtGridEditors.cpp, ExtGridEditLink.cpp): made with the grid, hidden and disabled
    // until a cell of their type is edited; the application fills the combos' items and sets the spin's
    // limits through them.
    TGridSpin* SpinEditor() const;
    TGridCombo* ComboEditor() const;
    TGridUniCombo* UniComboEditor() const;
    TGridUniEdit* UniEditEditor() const;
    TGridCheckBox* CheckBoxEditor() const;
    TGridDatePicker* DatePickerEditor() const;
    TGridEditBtn* EditBtnEditor() const;
    TGridUnitEditBtn* UnitEditBtnEditor() const;
    TGridButton* ButtonEditor() const;
    TExtRichEdit* RichEditEditor() const;
    // The hidden rich edit that converts rich cell texts.
    TExtRichEdit* RichTextConverter() const;
    // The application's editor of edCustom cells (forgotten when it goes).
    TEditLink* CustomEditLink() const { return FCustomEditLink; }
    void SetCustomEditLink(TEditLink* v);
    // Lays the control of the cell's editor type over the cell (a display column) with its value, and
    // stores its value back.
    void ShowEditorControl(int ACol, int ARow);
    void CommitEditorControl(int ACol, int ARow);
    // An editor control ends on a key: commit, then Tab and the arrows move as the grid's own keys and
    // Enter advances with AdvanceOnEnter.
    void EditorControlKey(std::uint16_t Key, TShiftState Shift);
    // The value the application gives for an edit button's text (OnEllipsClick).
    std::string EllipsClick(const std::string& Text);
    void CellToRichEdit(int ACol, int ARow, TRichEdit& RichEdit);
    void RichEditToText(TRichEdit& RichEdit, std::string& Text);
    TEllipsClickEvent OnEllipsClick;
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateTimeSpinClickEvent OnDateSpinClick, OnTimeSpinClick;
    TComboChangeEvent OnComboChange;
    TComboObjectChangeEvent OnComboObjectChange;
    TClickCellEvent OnComboCloseUp;
    TGetEditorPropEvent OnGetEditorProp;
    TControlComboListEvent OnControlComboList;
    TNotifyEvent OnRichEditSelectionChange;

    // --- Filtering (ExtGridFilter.cpp).
    TFilter& Filter() { return FFilter; }
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool v);
    virtual bool MatchFilter(int ARow);
    void ApplyFilter();
    int FilterRowMark() const { return FFilterRowMark; }
    TGridProgressEvent OnFilterProgress;

    // --- Events.
    TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
    TGridAlignEvent OnGetAlignment;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderPropEvent OnGetCellBorderProp;
    TFloatFormatEvent OnGetFloatFormat;
    TDrawCellExEvent OnCustomCellDraw;
    TRowColCellEvent OnIsFixedCell, OnCanEditCell, OnIsPasswordCell;
    TColRowStringEvent OnGetCheckTrue, OnGetCheckFalse;
    TRowColStringEvent OnGridHint;
    TEditorTypeEvent OnGetEditorType;
    TAllowEvent OnCanAddRow;
    TRowAllowEvent OnCanInsertRow, OnCanDeleteRow;
    TRowChangingEvent OnRowChanging, OnColChanging;
    TCellChangingEvent OnCellChanging;
    TCellValidateEvent OnCellValidate;
    TCellValidateWideEvent OnCellValidateWide;
    TCellsChangedEvent OnCellsChanged;
    TNotifyEvent OnEditingDone;
    TClickCellEvent OnClickCell, OnRightClickCell, OnDblClickCell;
    TRowEvent OnAutoAddRow, OnAutoInsertRow, OnAutoDeleteRow, OnEndRowSize;
    TColEvent OnAutoInsertCol, OnEndColumnSize, OnClickSort;
    TSelectionChangedEvent OnSelectionChanged;
    TAnchorClickEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TControlEvent OnControlClick, OnControlEditDone;
    TColAllowEvent OnColumnSize, OnColumnMove, OnCanSort;
    TRowAllowEvent OnRowSize, OnRowMove;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TScrollHintEvent OnScrollHint;
    TAllowEvent OnClipboardCopy, OnClipboardCut, OnClipboardPaste;
    TCheckBoxClickEvent OnCheckBoxClick, OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick, OnRadioMouseUp;
    TButtonClickEvent OnButtonClick;
    TNotifyEvent OnGridResize;

    // --- Virtual hooks (a descendant may decide without a handler).
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont);
    virtual void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetCellEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellFixed(int ACol, int ARow, bool& IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void GetCheckTrue(int ACol, int ARow, std::string& Value);
    virtual void GetCheckFalse(int ACol, int ARow, std::string& Value);
    virtual void GetCellDrawText(int ACol, int ARow, std::string& Text);
    virtual void GetFloatFormattedText(int ACol, int ARow, std::string& Text);
    virtual void GetGridHint(int ACol, int ARow, std::string& Hint);
    virtual void CanAddRow(bool& CanAdd);
    virtual void CanInsertRow(int ARow, bool& CanInsert);
    virtual void UpdateColumnSize(int ACol, int& AWidth);
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    bool IsFixedCell(int ACol, int ARow) override;
    void DrawCellContent(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void LastRowChanged() override;
    static int VersionNumber() { return 0x02050002; }
    static std::string VersionText();

    // Delivers key and mouse input as the window would (tests and the views call the same entries).
    using TCustomGrid::KeyDown;
    using TCustomGrid::KeyPress;

protected:
    friend class TExtInplaceEdit;
    friend class TColumnSize;
    friend class TGridSpin;
    friend class TGridCombo;
    friend class TGridButton;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    bool SelectCell(int ACol, int ARow) override;
    bool CanEditShow() override;
    TInplaceEdit* CreateEditor() override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) override;
    void WMScroll(int Bar, int Code, int Pos) override;
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMChar(char& Key) override;
    void KeyPress(char& Key) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void WMMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Click() override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void WMSetFocus(TWinControl* OldFocus) override;
    void Resize() override;
    void FormResized(int FormWidth, int FormHeight) override;
    void HintShow(THintInfo& Info, bool& CanShow) override;
    bool ShowOwnHint(const THintInfo& Info) override;
    void HideOwnHint() override;
    using TCustomGrid::SizeChanged;

private:
    // Node steps: the next node row below a display row (or RowCount), hiding display rows run by run,
    // and the press on a node glyph (true when the press was taken).
    int NextNodeRow(int ARow);
    // The node-row count kept with what it was counted for (rows, hidden rows, graphics made or removed).
    int FNodeRowCount = 0, FNodeCountRows = -1, FNodeCountHidden = -1, FNodeCountStamp = -1;
    int FGraphicStamp = 0;
    void HideDisplayRows(int AFrom, int ATo);
    bool PressNode(int ACol, int ARow, int X);
    // Sort state: the rows' order before the first sort, the direction sign, the current row followed
    // through the swaps, and the sort steps' scratch-row bracket.
    std::vector<int> FOriginalRowOrder;
    int FSortSign = 1, FSortCurrentRow = -1, FSortTime = 0;
    bool FSorting = false;
    void RunSort(const std::function<void()>& Sort, bool RowFollowsContent);
    // Filter state.
    TFilter FFilter{this};
    bool FFilterActive = false;
    int FFilterRowMark = 0;
    // Editor controls, and the table of editor kinds that opens and commits them (ExtGridEditors.cpp).
    struct TEditorSet;
    struct TEditorKind;
    TEditorSet* FEditors = nullptr;
    bool FCommitting = false;
    TEditLink* FCustomEditLink = nullptr;
    TControlEdit* FControlEdit = nullptr;
    TControlCombo* FControlCombo = nullptr;
    void CreateEditorControls();
    void DestroyEditorControls();
    TWinControl* SetUpEditLink(int RC, int ARow, const TRect& R, TColor Colour, const TFont& Font);
    void CommitEditLink(int RC, int ARow);
    // Painting steps.
    // What the text step leaves for the graphic: the text's extent (its width + 2 when measured), its
    // width, and the brush colour behind it.
    struct TCellText {
        int Extent = 0, TextWidth = 0;
        TColor Background = clWhite;
    };
    TCellText DrawBackgroundAndText(TCanvas& C, int ACol, int ARow, TRect R, TGridDrawState AState, TAlignment ha, TVAlignment va,
                                    const TGraphicLayout& layout);
    // Draws a plain text; with MeasureFirst returns its extent (width + 2); its width as one line goes to
    // TextWidth when asked (a long text is not measured whole for nothing).
    int DrawPlainText(TCanvas& C, int ACol, int ARow, TRect& R, TAlignment HAlign, TVAlignment VAlign, const std::string& Text,
                      bool MeasureFirst, int* TextWidth);
    bool SortIndicatorShows(int ACol, int ARow);
    void DrawSelectionFrame(TCanvas& C, int ACol, int ARow, const TRect& R);
    void DrawFixedFrame(TCanvas& C, TRect R);
    void DrawCellBorders(TCanvas& C, int ACol, int ARow, TRect R);
    void DrawBackGround(TCanvas& C, int ACol, int ARow, const TRect& R, TGridDrawState AState);
    // Mouse steps; a left press goes through the steps of TLeftPress (ExtGridMouse.cpp).
    struct TLeftPress;
    void LeftButtonDown(TShiftState Shift, int X, int Y);
    void LeftButtonUp(TShiftState Shift, int X, int Y);
    void LeftDoubleClick(TShiftState Shift, int X, int Y);
    void OpenLink(const std::string& Link);
    void StartPanning(int X, int Y);
    void StopPanning();
    void GridTimer();
    void MoveRowStore(int from, int to, std::vector<int>& heights);
    void ShiftHiddenRows(int fromIdx, int delta);
    void ApplyScrollLook();
    bool MouseInGrid(TPoint Screen) const;
    void SetRowWithoutPaint(int NewRow);
    void SelectionToFlags(std::vector<char>& flags, bool rows, bool All);

    TFont FFixedFont, FActiveCellFont;
    TBitmap FRowIndicator;
    TBorderStyle FBorderStyle = bsSingle;
    TGridLook FLook = glXP;
    bool FFlat = false;
    TColor FSelectionColor = 0xEACAB6, FSelectionTextColor = clBlack;
    bool FSelectionRectangle = false, FSelectionResizer = false, FShowSelection = true;
    bool FActiveCellShow = false;
    TColor FActiveCellColor = 0x808080;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = true;
    bool FURLShow = false, FURLFull = false;
    TColor FURLColor = clBlue;
    int FMaxEditLength = 0;
    TExtStringGridCheck* FCellChecker = nullptr;
    TScrollType FScrollType = ssNormal;
    int FScrollWidth = 16;
    bool FScrollProportional = false;
    std::vector<std::string> FColumnHeaders, FRowHeaders;
    int FFixedRowHeight = 21;
    int FFixedFooters = 0, FFixedRightCols = 0;
    int FDesignFixedRows = 1;
    int FRedrawLock = 0;
    bool FSkipNextInvalidate = false;
    int FZoomOffset = 0;
    bool FBlinkPhase = false;

    // Hidden rows: real index, height, cells with their objects.
    TCollection FHiddenRowStore{this, TGridItem::StaticClassInfo(), &CreateItemOf<TGridItem>};
    // Stores a hidden row at a position of the store.
    void StoreHiddenRow(int Pos, int Idx, int Height, const TGridCells& Items);
    TGridRect FSavedSelection;
    bool FSelectionHidden = false;
    std::vector<char> FRowSelectFlags, FColSelectFlags;
    std::vector<std::uint32_t> FSelectedCells;

    // Editing state.
    TEditorType FEditorType = edNormal;
    bool FEditorOpen = false, FEditPending = false, FValidating = false, FEditingSuspended = false;
    std::string FEditOriginalText;
    char FEditChar = 0;
    bool FCaretAtMouse = false;
    int FEditCol = -1, FEditRow = -1;
    std::string FEditStartText;
    std::u16string FEditStartTextWide;
    bool FAdvancing = false, FEditorKeyRouting = false;
    std::string FSearchText;
    TGridRect FLastSelection;

    // Mouse state.
    int FHoverZone = 0;
    TPoint FMouseDownPos{0, 0};
    bool FLeftButtonDown = false, FDisjunctCleared = false, FDisjunctToggleOff = false;
    bool FAutoSized = false, FMovedFlag = false, FWidthsChanged = false;
    int FSelectAnchor = -1;
    bool FFixedColSizing = false;
    bool FFixedColEdge = false;
    int FFixedColEdgeIndex = -1, FFixedColSizingX = 0;
    std::string FLastAnchor;
    TPoint FLastMouse{0, 0};
    int FSizingCol = -1, FSizingRow = -1, FSizingStartWidth = 0, FSizingStartHeight = 0;
    bool FColSizing = false, FRowSizing = false, FStretchAllowed = true;
    bool FColSized = false, FRowSized = false;
    int FWheelAccum = 0;

    // Pan state.
    bool FPanning = false;
    TPoint FPanOrigin{0, 0};
    TCursor FPanSavedCursor = crDefault;
    TTimer* FPanTimer = nullptr;
    TTimer* FGridTimer = nullptr;
    THintWindow* FHintWindow = nullptr;
    TGridTransEdit* FTransEdit = nullptr;
    TFooterPanel* FFooterPanel = nullptr;
    TPopupButton* FMoveButton = nullptr;
    TArrowWindow* FMoveArrows[4] = {nullptr, nullptr, nullptr, nullptr};
    TPoint FMoveTarget{-1, -1}, FGrabOffset{0, 0};
    void ShowMoveMarkers(int X, int Y, int ACol, int ARow);
    void HideMoveMarkers();
    TPoint FHintCell{-1, -1};
    int FLastWidth = 0;
    bool FDestroying = false;
    bool FSizeWithForm = false;
    bool FIntegralHeight = false, FApplyingIntegral = false, FAutoSize = false;
    void ApplyIntegralHeight();
    TPoint FFormSizeRef{0, 0};
    TIntList FAutoMergeColumns{-1, -1};
    std::unique_ptr<TESGDropTarget> FDropTarget;
    bool FDropTargetRegistered = false, FOleDragPending = false;
    TGridRect FDragOrigin{-1, -1, -1, -1};
    void EnsureMoveMarkers();
    TPoint CellAtScreen(TPoint Screen);
    void StartOleDrag(int C, int R, int X, int Y);
    void LoadedDropSettings();
    TSortIndexList FSortIndexes;
    int FClipboardID = 0;
    // The selection resizer: the selection at its press and the copy it pastes at the release.
    bool FSelectionResizing = false;
    TGridRect FResizeOrigin{};
    TGridClipData FResizeBuffer;
    bool OverSelectionResizer(int X, int Y);
    void StartSelectionResize(TShiftState Shift, int X, int Y);
    void EndSelectionResize();
    TGridRect CopiedRange(bool& Disjunct);
    void CutRange();
    void SmartPaste(int Pasted);
    void ApplyPastedBlock(TPoint Origin, TPastedBlock& Block);
    TCustomImageList* FGridImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    std::unique_ptr<THTMLPictureCache> FPictureCache;
    TPoint FPressedButton{-1, -1}, FPressedFixed{-1, -1};
    // The markup control being used: its cell (real column), ID and type, a held BUTTON, an open editor.
    TPoint FControlCell{-1, -1};
    std::string FControlID, FControlType;
    bool FControlButtonDown = false, FControlEditing = false;
    // The cell a sizing drag measures from, and the press point's distance from its bottom-right.
    TPoint FSizeRefCell{-1, -1}, FSizeEdgeOffset{0, 0};
    bool FSizingHintShown = false;
    void ShowSizingHint(int X, int Y);
    // The press on a link, an anchor or a markup control (true: taken); the link cursor and anchor
    // events of the move; a held markup button released.
    bool PressLinkOrControl(int C, int R, int X, int Y);
    bool MoveOverLinks(int C, int R, int X, int Y);
    void ReleaseMarkupButton();
    // Opens the editor of an EDIT or COMBO control over it; the editor's text comes back through
    // MarkupControlText when it ends.
    virtual void OpenMarkupControl(const THTMLResult& Hit, int ACol, int ARow);
    virtual std::string MarkupControlText();
    // Cell-graphic steps of painting.
    void DrawCellGraphic(TCanvas& C, int ACol, int ARow, const TRect& R, TGridDrawState AState, const TGraphicLayout& L,
                         TAlignment TextAlign, int TextExtent);
    void DrawNodeGlyph(TCanvas& C, int ARow, const TRect& R, const TCellGraphic& G, bool FixedColumn);
    void DrawCellButton(TCanvas& C, int ACol, int ARow, const TRect& Cell, const TRect& Place, const TCellGraphic& G);
    // Left-press and release steps of cell controls; true when the press was taken.
    bool PressCellControl(TShiftState Shift, int X, int Y, int C, int R, bool CanEdit);
    bool ReleaseCellButton(int X, int Y);
};
