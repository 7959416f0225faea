// The grid component: construction and loading, the option objects' writers, the look settings, the
// dimensions with fixed rows, columns, footers and right fixed columns, the column and row mapping, the
// hidden-row store, and the redraw lock.
#include "grid/ExtGrid.h"

#include "platform/controls/ExtCtrls.h"
#include "grid/ExtGridHint.h"
#include "platform/controls/HintWindow.h"
#include "platform/graphics/ImageList.h"

#include <algorithm>

// ---- Option objects ----------------------------------------------------------------------------------

void TGridOptionObject::RepaintGrid()
{
    if (FGrid) FGrid->Invalidate();
}

void TColumnSize::SetStretch(bool v)
{
    FStretch = v;
    if (FGrid) FGrid->StretchColumnTo(StretchColumn);
}

void TCellNode::SetNodeType(TNodeType v) { Store(FNodeType, v); }
void TCellNode::SetShowTree(bool v) { Store(FShowTree, v); }
void TCellNode::SetNodeIndent(int v) { Store(FNodeIndent, v); }
void TBands::SetActive(bool v) { Store(FActive, v); }

// The bands' lengths and colours show only while they are active.
void TBands::SetPrimaryLength(int v) { Store(FPrimaryLength, v, FActive); }
void TBands::SetSecondaryLength(int v) { Store(FSecondaryLength, v, FActive); }
void TBands::SetPrimaryColor(TColor v) { Store(FPrimaryColor, v, FActive); }
void TBands::SetSecondaryColor(TColor v) { Store(FSecondaryColor, v, FActive); }

void TBackGround::SetTop(int v) { Store(FTop, v); }
void TBackGround::SetLeft(int v) { Store(FLeft, v); }
void TBackGround::SetDisplay(TBackGroundDisplay v) { Store(FDisplay, v); }
void TBackGround::SetCells(TBackGroundCells v) { Store(FCells, v); }
void TBackGround::SetBitmap(const TBitmap& v) { Store(FBitmap, v); }

const TClassInfo& TGridItem::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGridItem", .Parent = &TCollectionItem::StaticClassInfo()});
    return info;
}

// ---- Construction ------------------------------------------------------------------------------------

const TClassInfo& TExtStringGrid::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TExtStringGrid", .Parent = &TBaseGrid::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TExtStringGrid>});
    return info;
}

TExtStringGrid::TExtStringGrid(TComponent* AOwner)
    : TBaseGrid(AOwner), FixedGradientTo(ColorToRGB(clBtnFace)), FPictureCache(std::make_unique<THTMLPictureCache>())
{
    FFixedFont.SetName("Tahoma");
    FFixedFont.SetHeight(-11);
    FFixedFont.SetStyle({fsBold});
    Font().SetName("Tahoma");
    FActiveCellFont.SetName("Tahoma");
    FActiveCellFont.SetHeight(-11);
    FActiveCellFont.SetStyle({fsBold});
    FFixedFont.OnChange = [this](TPersistent*) { Invalidate(); };
    FAutoMergeColumns.OnValuesChange = [this](TIntList*, int, int) { RemergeColumns(); };
    FActiveCellFont.OnChange = [this](TPersistent*) { Invalidate(); };
    FHintWindow = new THTMLHintWindow(this);
    FFooterPanel = new TFooterPanel(this);
    FFooterPanel->SetParent(this);
    FFooterPanel->SetVisible(false);
    FFooterPanel->SetBounds(0, 0, 0, 0);
    SetDefaultRowHeight(21);
    FFixedRowHeight = 21;
    FScrollWidth = 16;
    FLastSelection = Selection();
    // The grid timer: hover selection and blinking text.
    FGridTimer = new TTimer(this);
    FGridTimer->SetInterval(500);
    FGridTimer->OnTimer = [this](TPersistent*) { GridTimer(); };
    FPanTimer = new TTimer(this);
    FPanTimer->SetEnabled(false);
    FPanTimer->SetInterval(10);
    FPanTimer->OnTimer = [this](TPersistent*) { PanStep(); };
    CreateEditorControls();
}

TExtStringGrid::~TExtStringGrid()
{
    // The editor leaves while the grid is whole: taking its window away moves the focus, and the editor's
    // focus step must not reach a grid that is being taken apart.
    FDestroying = true;
    if (FDropTargetRegistered) {
        RevokeDragDrop(*this);
        FDropTargetRegistered = false;
    }
    DestroyEditorControls();
    if (InplaceEditor()) InplaceEditor()->SetParent(nullptr);
    if (FTransEdit) {
        FTransEdit->Detach();
        FTransEdit->SetParent(nullptr);
    }
    if (ColumnSize.Save) {
        try {
            SaveColumnWidths();
        } catch (...) {
            // A store that cannot be written must not stop the grid's destruction.
        }
    }
    FreeAllCellProps();
    for (int i = 0; i < HiddenRowCount(); ++i)
        for (auto& c : HiddenItem(i).Items) delete static_cast<TCellProperties*>(c.Object);
}

std::string TExtStringGrid::VersionText()
{
    const int v = VersionNumber();
    return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
           std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF) + " June, 2003";
}

void TExtStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    LoadedDropSettings();
    ApplyColumnHeaders();
    ApplyRowHeaders();
    if (FLook == glQuarn) {
        FixedGradientFrom = 0xC0C0C0;
        FixedGradientTo = 0xFFFFFF;
    }
    if (ColumnSize.Save) LoadColumnWidths();
    FDesignFixedRows = TBaseGrid::FixedRows();
    MinRowHeight = DefaultRowHeight();
    MinColWidth = 10;
    if (Options().Contains(goAlwaysShowEditor)) {
        Navigation.AlwaysEdit = true;
        SetOptions(Options() - TGridOptions{goAlwaysShowEditor});
    }
    ApplyScrollLook();
    UpdateProportionalThumb(false);
    UpdateProportionalThumb(true);
}

void TExtStringGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FCellChecker) FCellChecker = nullptr;
    if (Operation == opRemove && AComponent == FCustomEditLink) FCustomEditLink = nullptr;
    if (Operation == opRemove && AComponent == FGridImages) FGridImages = nullptr;
    if (Operation == opRemove && AComponent == FPictureContainer) FPictureContainer = nullptr;
    TBaseGrid::Notification(AComponent, Operation);
}

void TExtStringGrid::SetCellChecker(TExtStringGridCheck* v)
{
    if (FCellChecker) FCellChecker->RemoveFreeNotification(this);
    FCellChecker = v;
    if (v) v->FreeNotification(this);
}

void TExtStringGrid::Resize()
{
    TBaseGrid::Resize();
    if (FApplyingIntegral) return;
    ApplyIntegralHeight();
    LayoutFooterPanel();
    if (OnGridResize) OnGridResize(this);
}

// ---- Look settings -----------------------------------------------------------------------------------

void TExtStringGrid::SetLook(TGridLook v)
{
    if (v == FLook) return;
    FLook = v;
    Invalidate();
    if (FFooterPanel && !ComponentState().Contains(csLoading)) FFooterPanel->Invalidate();
}

void TExtStringGrid::SetRowIndicator(const TBitmap& v)
{
    FRowIndicator.Assign(v);
    RefreshCell(0, Row());
}

void TExtStringGrid::SetBorderStyle(TBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Invalidate();
}

void TExtStringGrid::SetFlat(bool v)
{
    FFlat = v;
    if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TExtStringGrid::SetSelectionColor(TColor v)
{
    FSelectionColor = v;
    Invalidate();
}

void TExtStringGrid::SetSelectionTextColor(TColor v)
{
    FSelectionTextColor = v;
    Invalidate();
}

void TExtStringGrid::SetSelectionRectangle(bool v)
{
    FSelectionRectangle = v;
    Invalidate();
}

void TExtStringGrid::SetSelectionResizer(bool v)
{
    FSelectionResizer = v;
    Invalidate();
}

void TExtStringGrid::SetShowSelection(bool v)
{
    if (v == FShowSelection) return;
    FShowSelection = v;
    Invalidate();
}

void TExtStringGrid::SetActiveCellShow(bool v)
{
    FActiveCellShow = v;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColor(TColor v)
{
    FActiveCellColor = v;
    Invalidate();
}

void TExtStringGrid::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    if (FRedrawLock == 0) Invalidate();
}

void TExtStringGrid::SetWordWrap(bool v)
{
    FWordWrap = v;
    if (auto* e = dynamic_cast<TExtInplaceEdit*>(InplaceEditor())) e->SetWordWrap(v);
    if (FRedrawLock == 0) Invalidate();
}

void TExtStringGrid::SetURLShow(bool v)
{
    if (v == FURLShow) return;
    FURLShow = v;
    Invalidate();
}

void TExtStringGrid::SetURLFull(bool v)
{
    FURLFull = v;
    if (FURLShow) Invalidate();
}

void TExtStringGrid::SetURLColor(TColor v)
{
    FURLColor = v;
    if (FURLShow) Invalidate();
}

void TExtStringGrid::SetMaxEditLength(int v)
{
    FMaxEditLength = v;
    if (auto* e = dynamic_cast<TExtInplaceEdit*>(InplaceEditor())) e->SetLengthLimit(v);
}

void TExtStringGrid::Invalidate()
{
    if (FSkipNextInvalidate) {
        FSkipNextInvalidate = false;
        return;
    }
    TBaseGrid::Invalidate();
}

void TExtStringGrid::LockRedraw()
{
    if (!Visible()) return;
    ++FRedrawLock;
}

void TExtStringGrid::UnlockRedraw()
{
    if (!Visible()) return;
    if (FRedrawLock > 0) --FRedrawLock;
    if (FRedrawLock == 0) {
        TBaseGrid::Invalidate();
        PaintControlBorder();
    }
}

// ---- Dimensions --------------------------------------------------------------------------------------

void TExtStringGrid::SetRowCount(int v)
{
    if (TBaseGrid::RowCount() == FixedRows() && FixedRowAlways) RestoreSelection();
    TBaseGrid::SetRowCount(v);
    if (FDesignFixedRows < v && FixedRowAlways) TBaseGrid::SetFixedRows(FDesignFixedRows);
    SetDisplayRowLimit(v);
    UpdateProportionalThumb(true);
    UpdateProportionalThumb(false);
}

void TExtStringGrid::SetColCount(int v)
{
    TBaseGrid::SetColCount(v);
    if (v > 1 && FixedColAlways) TBaseGrid::SetFixedCols(1);
    ApplyIntegralHeight();
    UpdateProportionalThumb(false);
    UpdateProportionalThumb(true);
}

int TExtStringGrid::FixedRows() const
{
    const int f = TBaseGrid::FixedRows();
    return f == 0 && FixedRowAlways ? 1 : f;
}

int TExtStringGrid::FixedCols() const
{
    const int f = TBaseGrid::FixedCols();
    return f == 0 && FixedColAlways ? 1 : f;
}

void TExtStringGrid::SetFixedColWidth(int v)
{
    if (!ComponentState().Contains(csDesigning) || v == DefaultColWidth()) return;
    for (int c = 0; c < TBaseGrid::FixedCols(); ++c) SetColWidths(c, v);
}

void TExtStringGrid::SetFixedRowHeight(int v)
{
    FFixedRowHeight = v;
    if (!ComponentState().Contains(csDesigning)) return;
    if (v == DefaultRowHeight()) SetDefaultRowHeight(v);
    else
        for (int r = 0; r < TBaseGrid::FixedRows(); ++r) SetRowHeights(r, v);
}

void TExtStringGrid::SetDefaultRowHeight(int v)
{
    TBaseGrid::SetDefaultRowHeight(v);
    if (ComponentState().Contains(csDesigning)) FFixedRowHeight = v;
    FloatingFooter.Height = v;
    if (FloatingFooter.Visible()) LayoutFooterPanel();
}

void TExtStringGrid::SetFixedFooters(int v)
{
    FFixedFooters = v;
    Invalidate();
}

void TExtStringGrid::SetFixedRightCols(int v)
{
    FFixedRightCols = v;
    Invalidate();
}

void TExtStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    if (ColumnSize.Stretch()) StretchColumnTo(ColumnSize.StretchColumn);
    if (FFixedFooters > 0 || FFixedRightCols > 0) Invalidate();
}

// ---- Column and row mapping --------------------------------------------------------------------------

// No operation of the grid hides a column: the mappings are the identity, and every caller goes through
// them so that a column order with hidden columns stays consistent.
int TExtStringGrid::RealToDisplayCol(int ACol) const { return ACol; }
int TExtStringGrid::DisplayToRealCol(int ADisplayCol) const { return ADisplayCol; }
bool TExtStringGrid::IsHiddenColumn(int) const { return false; }

int TExtStringGrid::RealToDisplayRow(int ARow) const
{
    int n = 0;
    for (int i = 0; i < HiddenRowCount() && HiddenItem(i).Idx < ARow; ++i) ++n;
    return ARow - n;
}

int TExtStringGrid::DisplayToRealRow(int ADisplayRow) const
{
    // The store is ordered by Idx: walk it, counting the rows in the grid before each stored one.
    int real = ADisplayRow;
    for (int i = 0; i < HiddenRowCount(); ++i) {
        if (HiddenItem(i).Idx <= real) ++real;
        else break;
    }
    return real;
}

bool TExtStringGrid::IsHiddenRow(int ARow) const
{
    for (int i = 0; i < HiddenRowCount(); ++i)
        if (HiddenItem(i).Idx == ARow) return true;
    return false;
}

void TExtStringGrid::StoreHiddenRow(int Pos, int Idx, int Height, const TGridCells& Items)
{
    auto& item = static_cast<TGridItem&>(*FHiddenRowStore.Insert(Pos));
    item.Idx = Idx;
    item.Height = Height;
    item.Items = Items;
}

void TExtStringGrid::HideRowRange(int AFromRow, int AToRow)
{
    if (IsHiddenRow(AFromRow) || AToRow < AFromRow) return;
    int p = 0;
    while (p < HiddenRowCount() && HiddenItem(p).Idx < AFromRow) ++p;
    const int d = AFromRow - p;
    const int count = AToRow - AFromRow + 1;
    if (d < 0 || d + count > RowCount()) return;
    for (int r = AFromRow; r <= AToRow; ++r) {
        const int disp = d + (r - AFromRow);
        StoreHiddenRow(p++, r, RowHeights(disp), Rows(disp));
    }
    if (TCellProperties* cp = FindCellProps(1, d); cp && cp->Control) cp->Control->SetVisible(false);
    DetachRowRange(d, count);
}

void TExtStringGrid::UnhideRowRange(int AFromRow, int AToRow)
{
    if (!IsHiddenRow(AFromRow)) return;
    int before = 0, n = 0;
    for (int i = 0; i < HiddenRowCount(); ++i) {
        const int idx = HiddenItem(i).Idx;
        if (idx < AFromRow) ++before;
        if (idx >= AFromRow && idx <= AToRow) ++n;
    }
    const int d = AFromRow - before;
    if (n == 0) return;
    // The rows come back without shifting the stored indexes of the others (they are real rows).
    struct TBack {
        int Idx, Height;
        TGridCells Items;
    };
    std::vector<TBack> back;
    for (int i = HiddenRowCount() - 1; i >= 0; --i) {
        TGridItem& h = HiddenItem(i);
        if (h.Idx < AFromRow || h.Idx > AToRow) continue;
        back.push_back({h.Idx, h.Height, std::move(h.Items)});
        FHiddenRowStore.Delete(i);
    }
    const int savedRow = Row();
    LockRedraw();
    TBaseGrid::SetRowCount(RowCount() + n);
    SetDisplayRowLimit(RowCount());
    for (int r = RowCount() - 1; r >= d + n; --r) {
        SetRows(r, Rows(r - n));
        SetRowHeights(r, RowHeights(r - n));
    }
    for (const auto& h : back) {
        const int row = d + (h.Idx - AFromRow);
        SetRows(row, h.Items);
        SetRowHeights(row, h.Height);
    }
    UnlockRedraw();
    if (savedRow >= d && savedRow + n < RowCount()) MoveColRow(Col(), savedRow + n, true, false);
}

void TExtStringGrid::HideRowList(const std::vector<int>& AList)
{
    if (AList.empty()) return;
    std::vector<int> heights(static_cast<std::size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r) heights[static_cast<std::size_t>(r)] = RowHeights(r);
    struct TAdded {
        int Idx, Height;
        TGridCells Items;
    };
    std::vector<TAdded> added;
    for (int v : AList) {
        if (v < 0 || v >= RowCount()) continue;
        added.push_back({DisplayToRealRow(v), heights[static_cast<std::size_t>(v)], Rows(v)});
    }
    // Close the gaps: the rows not in the list move up in order.
    int to = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (std::find(AList.begin(), AList.end(), r) != AList.end()) continue;
        if (to != r) {
            SetRows(to, Rows(r));
            SetRowHeights(to, heights[static_cast<std::size_t>(r)]);
        }
        ++to;
    }
    for (const TAdded& a : added) {
        int at = 0;
        while (at < HiddenRowCount() && HiddenItem(at).Idx < a.Idx) ++at;
        StoreHiddenRow(at, a.Idx, a.Height, a.Items);
    }
    // The rows past the new end only held copies: empty their slots before shrinking.
    for (int r = to; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c) SetObjects(c, r, nullptr);
    SetRowCount(to);
}

void TExtStringGrid::UnhideAllRows()
{
    if (HiddenRowCount() == 0) return;
    const int n = RowCount(), k = HiddenRowCount();
    SetRowCount(n + k);
    int s = n - 1;
    int item = k - 1;
    for (int p = n + k - 1; p >= 0; --p) {
        if (item >= 0 && HiddenItem(item).Idx == p) {
            SetRows(p, HiddenItem(item).Items);
            SetRowHeights(p, HiddenItem(item).Height);
            --item;
        } else if (s < p) {
            SetRows(p, Rows(s));
            SetRowHeights(p, RowHeights(s));
            --s;
        } else break;
    }
    FHiddenRowStore.Clear();
}

void TExtStringGrid::ShiftHiddenRows(int fromIdx, int delta)
{
    for (int i = 0; i < HiddenRowCount(); ++i)
        if (HiddenItem(i).Idx >= fromIdx) HiddenItem(i).Idx += delta;
}

void TExtStringGrid::HideSelection()
{
    FSavedSelection = Selection();
    SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
    FSelectionHidden = true;
}

void TExtStringGrid::RestoreSelection()
{
    if (!FSelectionHidden) return;
    FSelectionHidden = false;
    TGridRect r = FSavedSelection;
    r.Left = std::min(r.Left, ColCount() - 1);
    r.Right = std::min(r.Right, ColCount() - 1);
    r.Top = std::min(r.Top, RowCount() - 1);
    r.Bottom = std::min(r.Bottom, RowCount() - 1);
    SetSelection(r);
}
