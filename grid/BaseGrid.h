// TBaseGrid: the string grid with per-cell properties kept in the cells' object slots, merged blocks of
// cells anchored at a base cell, merge-aware cell texts and geometry, its own grid lines and cell frame
// drawing, and the recorder of validated cell changes (TExtGridUndoRedo). Qt-free.
#pragma once

#include "grid/GridTypes.h"
#include "platform/controls/Grids.h"
#include "platform/graphics/GraphicsObjects.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBaseGrid;
class TCellGraphic;
class TExtGridUndoRedo;

// ---- TCellProperties ---------------------------------------------------------------------------------

// The look, editor, read-only flag and merge data of one cell, made on first use and owned by the grid.
// A base cell of a block of W x H cells has spans (W-1, H-1); every other cell of the block holds its
// offset from the base and IsBaseCell False; an unmerged cell has spans (-1, -1).
class TCellProperties : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TCellProperties(TBaseGrid* AGrid, int ACol, int ARow) : Grid(AGrid), OwnerCol(ACol), OwnerRow(ARow) {}
    // The cell's graphic goes with its properties (a cell's graphic belongs to that cell alone).
    ~TCellProperties() override;
    TCellProperties(const TCellProperties&) = delete;
    TCellProperties& operator=(const TCellProperties&) = delete;

    // Copies the look, merge and editing fields (not the grid, object, graphic, end colour, stamp or
    // footer kind); word wrap goes through its writer, so the owning cell repaints.
    void Assign(const TPersistent& Source) override;

    // The base of the cell at (ACol, ARow) that owns these properties.
    TPoint BaseCellFrom(int ACol, int ARow) const;

    // Writers that repaint the owning cell.
    void SetBrushColor(TColor v);
    void SetBrushColorTo(TColor v);
    void SetVAlignment(TVAlignment v);
    void SetWordWrap(bool v);

    TBaseGrid* Grid;
    int OwnerCol;
    int OwnerRow;
    TPersistent* CellObject = nullptr;
    TCellGraphic* Graphic = nullptr;
    TBrushStyle BrushStyle = bsSolid;
    TColor BrushColor = clNone;
    TColor BrushColorTo = clNone;
    int FontSize = 0;
    TColor FontColor = clNone;
    TFontStyles FontStyle;
    int CellSpanY = -1;
    int CellSpanX = -1;
    int BorderWidth = 0;
    TColor BorderColor = 0;
    TAlignment Alignment = taLeftJustify;
    TVAlignment VAlignment = vtaTop;
    int PaintStamp = 0;
    bool WordWrap = false;
    bool IsBaseCell = true;
    std::uint8_t FooterCalc = 0;
    int NodeLevel = 0;
    TEditorType Editor = edNormal;
    std::string FontName;
    bool ReadOnly = false;
    TWinControl* Control = nullptr;
};

// ---- The change recorder -----------------------------------------------------------------------------

struct TUndoRedoItem {
    int Row = 0;
    int Col = 0;
    std::string Value;       // the text after the change
    std::string OrigValue;   // the text before
};

// Records validated cell edits, the oldest first; MaxLevel > 0 keeps that many. It offers no undo step.
class TExtGridUndoRedo : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtGridUndoRedo(TComponent* AOwner);

    virtual void RecordChange(int ACol, int ARow, const std::string& OrigValue, const std::string& NewValue);

    const std::vector<TUndoRedoItem>& Changes() const { return FChanges; }
    int Depth() const { return FDepth; }
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int v) { FMaxLevel = v; }
    TBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TBaseGrid* g);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TUndoRedoItem> FChanges;
    TBaseGrid* FGrid = nullptr;
    int FDepth = 0;
    int FMaxLevel = 0;
};

// ---- TBaseGrid ---------------------------------------------------------------------------------------

using TGetDisplTextEvent = std::function<void(TPersistent* Sender, int ACol, int ARow, std::string& Value)>;

class TBaseGrid : public TStringGrid {
    VSP_PERSISTENT_CLASS
public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;

    // Stored only: the grid always draws its cells itself.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v);
    // The lines this grid draws (the class library's own lines stay off).
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor v);
    int PaintStamp() const { return FPaintStamp; }
    bool LastRowInFooter() const { return FLastRowInFooter; }
    void SetLastRowInFooter(bool v) { FLastRowInFooter = v; }
    int DisplayRowLimit() const { return FDisplayRowLimit; }
    void SetDisplayRowLimit(int v) { FDisplayRowLimit = v; }
    TExtGridUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TExtGridUndoRedo* v);

    // --- Cell properties (reading never creates them).
    TCellProperties& CellProps(int ACol, int ARow);
    bool HasCellProps(int ACol, int ARow) const;
    TCellProperties* FindCellProps(int ACol, int ARow) const;
    void ReplaceCellProps(int ACol, int ARow, TCellProperties* AProps);
    TCellProperties* RawCellProps(int ACol, int ARow) const { return FindCellProps(ACol, ARow); }
    void SetRawCellProps(int ACol, int ARow, TCellProperties* AProps) { SetObjects(ACol, ARow, AProps); }
    void FreeCellPropsRange(int ACol1, int ARow1, int ACol2, int ARow2);
    void FreeAllCellProps();
    void ClearColumnCells(int ACol);
    void ClearRowCells(int ARow);
    void ClearCellSlot(int ACol, int ARow);
    TCellGraphic* CellGraphicRef(int ACol, int ARow) const;
    void SetCellGraphicRef(int ACol, int ARow, TCellGraphic* AGraphic);

    // --- Merged cells.
    virtual void MergeCellRange(int ACol, int ARow, int SpanX, int SpanY);
    virtual void SplitMergedCell(int ACol, int ARow);
    TPoint BaseCellOf(int ACol, int ARow) const;
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBlockBase(int ACol, int ARow) const;
    bool InMergedBlock(int ACol, int ARow) const;
    bool MergedAcross(int ACol, int ARow) const;
    bool MergedDown(int ACol, int ARow) const;
    TPoint BaseSpans(int ACol, int ARow) const;
    bool RowsShareMergedBlock(int ARow1, int ARow2) const;

    // --- Cell texts.
    std::string GetCellValue(int ACol, int ARow);
    void SetCellValue(int ACol, int ARow, const std::string& Value);
    const std::string& RawCellText(int ACol, int ARow) const { return Cells(ACol, ARow); }
    void SetRawCellText(int ACol, int ARow, const std::string& Value) { SetCells(ACol, ARow, Value); }

    // --- Geometry.
    TRect RawCellRect(int ACol, int ARow) const;
    TRect CellSpanRect(int ACol, int ARow) const;
    TPoint CellExtent(int ACol, int ARow) const;
    int FixedColsWidth() const;
    int FixedRowsHeight() const;
    void RepaintCellArea(int ACol, int ARow);

    TGetDisplTextEvent OnGetDisplText;

    // --- Virtual operations a descendant overrides.
    virtual bool IsFixedCell(int ACol, int ARow);
    virtual int RowNodeIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawCellContent(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void LastRowChanged() {}
    virtual void ResolveCellAppearance(int ACol, int ARow, TGridDrawState& AState, bool Print, bool ApplySelection,
                                       bool MapColumn, TBrush& Brush, TColor& ColorTo, TFont& Font, TAlignment& HAlign,
                                       TVAlignment& VAlign, bool& WordWrap);
    virtual void AdjustDisplayText(int ACol, int ARow, std::string& Value);

    // The cell's rectangle in the class library's sense (tests read it).
    using TCustomGrid::CellRect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void TopLeftChanged() override;
    void SnapToBaseCell();

private:
    bool FDefaultDrawing = true;
    int FGridLineWidth = 1;
    TColor FGridLineColor;
    int FPaintStamp = 0;
    bool FLastRowInFooter = false;
    int FDisplayRowLimit = 0;
    TExtGridUndoRedo* FUndoRedo = nullptr;
};
