// The grid component's option objects: navigation, mouse actions, column sizing, tree nodes, bands,
// size-while-typing, background, floating footer, and the option objects of later features that the grid
// keeps and streams (sorting, control look, drag and drop, printing, HTML export, filter, grouping).
// Every writer stores; those that change the look repaint the owning grid. Qt-free.
#pragma once

#include "grid/ExtGridSort.h"
#include "grid/GridTypes.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsObjects.h"

#include <memory>
#include <string>
#include <vector>

class TExtStringGrid;

// Base of the option objects: the grid they belong to, repainted by the look-changing writers.
class TGridOptionObject : public TPersistent {
public:
    explicit TGridOptionObject(TExtStringGrid* grid) : FGrid(grid) {}
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    void RepaintGrid();
    // A writer's step: stores the value and repaints the grid if it changed and what it sets is Shown.
    template <class T>
    void Store(T& Field, const T& Value, bool Shown = true)
    {
        if (Field == Value) return;
        Field = Value;
        if (Shown) RepaintGrid();
    }
    // Pictures are taken over and repainted whatever they hold.
    void Store(TBitmap& Field, const TBitmap& Value)
    {
        Field.Assign(Value);
        RepaintGrid();
    }
    TExtStringGrid* FGrid;
};

class TNavigation : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool AllowInsertRow = false, AllowDeleteRow = false, AdvanceOnEnter = false, AdvanceInsert = false;
    bool AutoGotoWhenSorted = false, AutoGotoIncremental = false, AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false, AllowRTFClipboard = false, AllowSmartClipboard = false;
    bool AllowClipboardAlways = false, AllowClipboardColGrow = true, AllowClipboardRowGrow = true;
    bool CopyHTMLTagsToClipboard = true;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    bool AdvanceAuto = false, CursorWalkEditor = false, MoveRowOnSort = false, ImproveMaskSel = false, AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false, AllowFmtClipboard = false, TabToNextAtEnd = false, EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
    bool SkipFixedCells = true;
};

class TMouseActions : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool ColSelect = false, RowSelect = false, AllSelect = false, DirectEdit = false, DirectComboDrop = false;
    bool DirectDateDrop = false, DisjunctRowSelect = false, DisjunctColSelect = false, AllColumnSize = false;
    bool AllRowSize = false, CaretPositioning = false, SizeFixedCol = false, DisjunctCellSelect = false;
    TGridFixedCellEdit FixedRowsEdit = fceNone, FixedColsEdit = fceNone;
    bool RangeSelectAndEdit = false, NoAutoRangeScroll = false, PreciseCheckBoxCheck = false, CheckAllCheck = false;
    bool NodeAllExpandContract = false, MoveRowOnNodeClick = false, RowSelectPersistent = false;
};

class TColumnSize : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool Save = false;
    std::string Key, Section;
    bool Stretch() const { return FStretch; }
    // Stores, then stretches the grid's stretch column.
    void SetStretch(bool v);
    int StretchColumn = -1;
    bool SynchWithGrid = false;
    TColumnSizeLocation Location = clRegistry;

private:
    bool FStretch = false;
};

class TCellNode : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    TColor Color = clSilver;
    TColor NodeColor = clBlack;
    bool ExpandOne = false;
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType v);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool v);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int v);
    // The glyphs of cnGlyph nodes (used when both are set); the writers copy the bitmap.
    const TBitmap& ExpandGlyph() const { return FExpandGlyph; }
    void SetExpandGlyph(const TBitmap& v) { FExpandGlyph.Assign(v); }
    const TBitmap& ContractGlyph() const { return FContractGlyph; }
    void SetContractGlyph(const TBitmap& v) { FContractGlyph.Assign(v); }

private:
    TBitmap FExpandGlyph, FContractGlyph;
    TNodeType FNodeType = cnXP;
    bool FShowTree = true;
    int FNodeIndent = 12;
};

class TBands : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool Print = false;
    bool Active() const { return FActive; }
    void SetActive(bool v);
    int TotalLength() const { return FPrimaryLength + FSecondaryLength; }
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int v);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int v);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor v);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor v);

private:
    bool FActive = false;
    int FPrimaryLength = 1, FSecondaryLength = 1;
    TColor FPrimaryColor = clInfoBk, FSecondaryColor = clWindow;
};

class TSizeWhileTyping : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool Height = false, Width = false;
};

// A picture behind the cells: tiled continuously over the cells of its kind, or placed once at a client
// position. Every writer repaints the grid.
class TBackGround : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    int Top() const { return FTop; }
    void SetTop(int v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    const TBitmap& Bitmap() const { return FBitmap; }
    // Copies the picture.
    void SetBitmap(const TBitmap& v);

private:
    int FTop = 0, FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    TBitmap FBitmap;
};

// The strip docked at the grid's bottom: the grid's last row kept in view, or a preview of the current
// row (one column, or a template with "<#n>" tags for columns). The look writers repaint the strip.
class TFloatingFooter : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    int Height = 21;
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Column() const { return FColumn; }
    void SetColumn(int v);
    const std::string& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const std::string& v);
    bool Visible() const { return FVisible; }
    // Makes the grid's last row a footer row (fsFixedLastRow) or previews the current row.
    void SetVisible(bool v);
    TFooterStyle FooterStyle() const { return FStyle; }
    void SetFooterStyle(TFooterStyle v);

private:
    void RepaintPanel();
    TColor FColor = clBtnFace;
    int FColumn = 0;
    std::string FCustomTemplate;
    bool FVisible = false;
    TFooterStyle FStyle = fsFixedLastRow;
};

// How the grid sorts: the column and direction of a single-column sort, how header clicks sort (and
// whether they cycle back to the unsorted order), and how cells compare (detected styles, ties decided by
// the columns to the right, empty cells at one end).
class TSortSettings : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    // The header row whose cells take sort clicks: reads as an integer; a write above the grid's fixed
    // rows raises "Sort row should be smaller than number of fixed rows" and keeps the old value.
    class TSortRow {
    public:
        explicit TSortRow(TSortSettings* Owner) : FOwner(Owner) {}
        TSortRow(const TSortRow&) = delete;
        operator int() const { return FValue; }
        TSortRow& operator=(int v);

    private:
        TSortSettings* FOwner;
        int FValue = 0;
    };
    bool AutoColumnMerge = false;
    // -1 after a click has put the rows back in their unsorted order.
    int Column = 0;
    bool Show = false, IndexShow = false;
    TColor IndexColor = clYellow;
    bool Full = true, SingleColumn = false, IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;
    TSortDirection Direction = sdAscending;
    TBitmap UpGlyph, DownGlyph, IndexUpGlyph, IndexDownGlyph;
    TSortDirection InitSortDirection = sdAscending;
    bool FixedCols = false, NormalCellsOnly = false;
    TSortRow Row{this};
    bool UndoSort = false;
};

// How the small controls inside cells look: check boxes, radio buttons, buttons, progress bars and the
// combo's drop-down glyph. Every writer stores (the glyph writers copy the bitmap) and repaints.
class TControlLook : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int v);
    const TBitmap& UnCheckedGlyph() const { return FUnCheckedGlyph; }
    void SetUnCheckedGlyph(const TBitmap& v);
    const TBitmap& CheckedGlyph() const { return FCheckedGlyph; }
    void SetCheckedGlyph(const TBitmap& v);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int v);
    const TBitmap& RadioOffGlyph() const { return FRadioOffGlyph; }
    void SetRadioOffGlyph(const TBitmap& v);
    const TBitmap& RadioOnGlyph() const { return FRadioOnGlyph; }
    void SetRadioOnGlyph(const TBitmap& v);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v);
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int v);
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int v);
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool v);
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool v);

private:
    int FCheckSize = 15;
    TBitmap FUnCheckedGlyph, FCheckedGlyph;
    TControlStyle FControlStyle = csWinXP;
    TColor FColor = clBlack;
    int FRadioSize = 10;
    TBitmap FRadioOffGlyph, FRadioOnGlyph;
    bool FFlatButton = false;
    int FProgressMarginY = 2, FProgressMarginX = 2;
    bool FProgressXP = false;
    bool FDropDownAlwaysVisible = false;
};

// How the grid takes part in drag and drop with other programs and grids.
class TDragDropSettings : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool OleAcceptFiles = true, OleAcceptText = true, OleCopyAlways = false;
    bool OleDropTarget() const { return FOleDropTarget; }
    // Registers or revokes the grid as a drop target.
    void SetOleDropTarget(bool v);
    bool OleDropSource = false, OleEntireRows = false, OleInsertRows = false, OleRemoveRows = false;
    bool OleDropRTF() const { return FOleDropRTF; }
    // Also switches the process-wide rich-text awareness of drops.
    void SetOleDropRTF(bool v);
    bool OleColumnDragDrop = false;

private:
    bool FOleDropTarget = false, FOleDropRTF = false;
};

class TPrintSettings : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    enum TPrintBorders { pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom };
    TPrintBorders Borders = pbSingle;
    bool Centered = true;
    bool UseDisplayFont = true;
    TFont Font, FixedFont, HeaderFont, FooterFont;
    std::string Title, TitleText, DateFormat = "dd/mm/yyyy", PageNumSep = "/";
};

class THTMLSettings : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    bool SaveColor = true, SaveFonts = true, XHTML = false;
    int BorderSize = 1, CellSpacing = 0, CellPadding = 0, Width = 100;
    std::string FooterFile, HeaderFile, TableStyle, PrefixTag, SuffixTag;
};

// Grouping options, stored and streamed with the grid; no operation reads them.
class TGrouping : public TGridOptionObject {
public:
    using TGridOptionObject::TGridOptionObject;
    TColor HeaderColor = clNone, HeaderColorTo = clNone, HeaderTextColor = clNone;
    TColor SummaryColor = clNone, SummaryColorTo = clNone, SummaryTextColor = clNone;
    bool MergeHeader = false, MergeSummary = false, Summary = false;
};
