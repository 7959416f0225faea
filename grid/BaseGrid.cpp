// The base grid: cell properties in the object slots, merged blocks, merge-aware texts, geometry, keys
// and wheel, the cell frame drawing with the grid's own lines, and the change recorder.
#include "grid/BaseGrid.h"

#include "grid/CellGraphic.h"
#include "grid/ExtUtil.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"

#include <algorithm>

// ---- TCellProperties ---------------------------------------------------------------------------------

// The published properties in their stream order; the object slot and the control are not streamed here.
const TClassInfo& TCellProperties::StaticClassInfo()
{
    using C = TCellProperties;
    using P = TProps<C>;
    static const TClassInfo info({
        .Name = "TCellProperties",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Boolean("IsBaseCell", [](const C& c) { return c.IsBaseCell; }, [](C& c, bool v) { c.IsBaseCell = v; }),
            P::Integer("CellSpanX", [](const C& c) { return c.CellSpanX; }, [](C& c, int v) { c.CellSpanX = v; }),
            P::Integer("CellSpanY", [](const C& c) { return c.CellSpanY; }, [](C& c, int v) { c.CellSpanY = v; }),
            P::Integer("OwnerCol", [](const C& c) { return c.OwnerCol; }, [](C& c, int v) { c.OwnerCol = v; }),
            P::Integer("OwnerRow", [](const C& c) { return c.OwnerRow; }, [](C& c, int v) { c.OwnerRow = v; }),
            P::Enumeration("Alignment", AlignmentNames, [](const C& c) { return c.Alignment; }, [](C& c, TAlignment v) { c.Alignment = v; }),
            P::Colour("BorderColor", [](const C& c) { return c.BorderColor; }, [](C& c, TColor v) { c.BorderColor = v; }),
            P::Integer("BorderWidth", [](const C& c) { return c.BorderWidth; }, [](C& c, int v) { c.BorderWidth = v; }),
            P::Colour("BrushColor", [](const C& c) { return c.BrushColor; }, [](C& c, TColor v) { c.BrushColor = v; }),
            P::Colour("BrushColorTo", [](const C& c) { return c.BrushColorTo; }, [](C& c, TColor v) { c.BrushColorTo = v; }),
            P::Enumeration("BrushStyle", BrushStyleNames, [](const C& c) { return c.BrushStyle; }, [](C& c, TBrushStyle v) { c.BrushStyle = v; }),
            P::Colour("FontColor", [](const C& c) { return c.FontColor; }, [](C& c, TColor v) { c.FontColor = v; }),
            P::Text("FontName", [](const C& c) { return c.FontName; }, [](C& c, const std::string& v) { c.FontName = v; }).Default(std::string()),
            P::Integer("FontSize", [](const C& c) { return c.FontSize; }, [](C& c, int v) { c.FontSize = v; }),
            P::Set("FontStyle", FontStyleNames, [](const C& c) { return c.FontStyle; }, [](C& c, TFontStyles v) { c.FontStyle = v; }),
            P::Enumeration("Editor", EditorTypeNames, [](const C& c) { return c.Editor; }, [](C& c, TEditorType v) { c.Editor = v; }),
            P::Boolean("ReadOnly", [](const C& c) { return c.ReadOnly; }, [](C& c, bool v) { c.ReadOnly = v; }),
            P::Enumeration("VAlignment", VAlignmentNames, [](const C& c) { return c.VAlignment; }, [](C& c, TVAlignment v) { c.VAlignment = v; }),
            P::Boolean("WordWrap", [](const C& c) { return c.WordWrap; }, [](C& c, bool v) { c.WordWrap = v; }),
            P::Integer("NodeLevel", [](const C& c) { return c.NodeLevel; }, [](C& c, int v) { c.NodeLevel = v; }),
        },
    });
    return info;
}

TCellProperties::~TCellProperties() { delete Graphic; }

void TCellProperties::Assign(const TPersistent& Source)
{
    const auto* s = dynamic_cast<const TCellProperties*>(&Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    IsBaseCell = s->IsBaseCell;
    CellSpanX = s->CellSpanX;
    CellSpanY = s->CellSpanY;
    OwnerRow = s->OwnerRow;
    OwnerCol = s->OwnerCol;
    Alignment = s->Alignment;
    BorderColor = s->BorderColor;
    BorderWidth = s->BorderWidth;
    BrushColor = s->BrushColor;
    BrushStyle = s->BrushStyle;
    FontColor = s->FontColor;
    FontStyle = s->FontStyle;
    FontName = s->FontName;
    FontSize = s->FontSize;
    ReadOnly = s->ReadOnly;
    Editor = s->Editor;
    VAlignment = s->VAlignment;
    SetWordWrap(s->WordWrap);
    NodeLevel = s->NodeLevel;
    Control = s->Control;
}

TPoint TCellProperties::BaseCellFrom(int ACol, int ARow) const
{
    if (!IsBaseCell && CellSpanX != -1 && CellSpanY != -1) return {ACol - CellSpanX, ARow - CellSpanY};
    return {ACol, ARow};
}

void TCellProperties::SetBrushColor(TColor v)
{
    BrushColor = v;
    if (Grid) Grid->RepaintCellArea(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    BrushColorTo = v;
    if (Grid) Grid->RepaintCellArea(OwnerCol, OwnerRow);
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    VAlignment = v;
    if (Grid) Grid->RepaintCellArea(OwnerCol, OwnerRow);
}

void TCellProperties::SetWordWrap(bool v)
{
    WordWrap = v;
    if (Grid) Grid->RepaintCellArea(OwnerCol, OwnerRow);
}

// ---- TExtGridUndoRedo --------------------------------------------------------------------------------

const TClassInfo& TExtGridUndoRedo::StaticClassInfo()
{
    using P = TProps<TExtGridUndoRedo>;
    static const TClassInfo info({
        .Name = "TExtGridUndoRedo",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Integer("MaxLevel", &TExtGridUndoRedo::MaxLevel, &TExtGridUndoRedo::SetMaxLevel).Default(0)},
        .Create = &CreateComponentOf<TExtGridUndoRedo>,
    });
    return info;
}

TExtGridUndoRedo::TExtGridUndoRedo(TComponent* AOwner) : TComponent(AOwner) {}

void TExtGridUndoRedo::RecordChange(int ACol, int ARow, const std::string& OrigValue, const std::string& NewValue)
{
    if (FMaxLevel > 0 && static_cast<int>(FChanges.size()) >= FMaxLevel) FChanges.erase(FChanges.begin());
    FChanges.push_back({ARow, ACol, NewValue, OrigValue});
    FDepth = static_cast<int>(FChanges.size());
}

void TExtGridUndoRedo::SetGrid(TBaseGrid* g)
{
    if (FGrid == g) return;
    if (FGrid) FGrid->RemoveFreeNotification(this);
    FGrid = g;
    if (FGrid) FGrid->FreeNotification(this);
}

void TExtGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid) FGrid = nullptr;
}

// ---- TBaseGrid: construction and settings -------------------------------------------------------------

const TClassInfo& TBaseGrid::StaticClassInfo()
{
    using P = TProps<TBaseGrid>;
    static const TClassInfo info({
        .Name = "TBaseGrid",
        .Parent = &TStringGrid::StaticClassInfo(),
        .Properties = {P::Integer("GridLineWidth", &TBaseGrid::GridLineWidth, &TBaseGrid::SetGridLineWidth).Default(1),
                       P::Colour("GridLineColor", &TBaseGrid::GridLineColor, &TBaseGrid::SetGridLineColor).Default(clSilver),
                       P::Boolean("DefaultDrawing", &TBaseGrid::DefaultDrawing, &TBaseGrid::SetDefaultDrawing).Default(false)},
    });
    return info;
}

TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner), FGridLineColor(clSilver)
{
    TCustomGrid::SetGridLineWidth(0);
    TStringGrid::SetDefaultDrawing(false);
    FDefaultDrawing = false;
    SetOptions(Options() + TGridOptions{goDrawFocusSelected});
}

TBaseGrid::~TBaseGrid()
{
    FreeAllCellProps();
    if (FUndoRedo) FUndoRedo->RemoveFreeNotification(this);
}

void TBaseGrid::SetDefaultDrawing(bool v)
{
    FDefaultDrawing = v;
    TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int v)
{
    FGridLineWidth = v;
    TCustomGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor v)
{
    if (v == FGridLineColor) return;
    FGridLineColor = v;
    Invalidate();
}

void TBaseGrid::SetUndoRedo(TExtGridUndoRedo* v)
{
    if (FUndoRedo) FUndoRedo->RemoveFreeNotification(this);
    FUndoRedo = v;
    if (v) {
        v->FreeNotification(this);
        v->SetGrid(this);
    }
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FUndoRedo) FUndoRedo = nullptr;
}

// ---- Cell properties ---------------------------------------------------------------------------------

TCellProperties* TBaseGrid::FindCellProps(int ACol, int ARow) const
{
    return static_cast<TCellProperties*>(Objects(ACol, ARow));
}

bool TBaseGrid::HasCellProps(int ACol, int ARow) const { return Objects(ACol, ARow) != nullptr; }

TCellProperties& TBaseGrid::CellProps(int ACol, int ARow)
{
    if (TCellProperties* p = FindCellProps(ACol, ARow)) return *p;
    auto* p = new TCellProperties(this, ACol, ARow);
    try {
        SetObjects(ACol, ARow, p);
    } catch (...) {
        delete p;
        throw;
    }
    return *p;
}

void TBaseGrid::ReplaceCellProps(int ACol, int ARow, TCellProperties* AProps)
{
    TCellProperties* old = FindCellProps(ACol, ARow);
    SetObjects(ACol, ARow, AProps);
    if (old != AProps) delete old;
}

void TBaseGrid::FreeCellPropsRange(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol2 < ACol1 || ARow2 < ARow1) return;
    for (int r = std::max(0, ARow1); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(0, ACol1); c <= ACol2 && c < ColCount(); ++c)
            if (TCellProperties* p = FindCellProps(c, r)) {
                SetObjects(c, r, nullptr);
                delete p;
            }
}

void TBaseGrid::FreeAllCellProps() { FreeCellPropsRange(0, 0, ColCount() - 1, RowCount() - 1); }

void TBaseGrid::ClearColumnCells(int ACol)
{
    for (int r = 0; r < RowCount(); ++r) {
        SetObjects(ACol, r, nullptr);
        SetCellValue(ACol, r, "");
    }
}

void TBaseGrid::ClearRowCells(int ARow)
{
    for (int c = 0; c < ColCount(); ++c) {
        SetObjects(c, ARow, nullptr);
        SetCellValue(c, ARow, "");
    }
}

void TBaseGrid::ClearCellSlot(int ACol, int ARow)
{
    SetCellValue(ACol, ARow, "");
    SetObjects(ACol, ARow, nullptr);
}

TCellGraphic* TBaseGrid::CellGraphicRef(int ACol, int ARow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    return p ? p->Graphic : nullptr;
}

void TBaseGrid::SetCellGraphicRef(int ACol, int ARow, TCellGraphic* AGraphic)
{
    const bool wasEmpty = Cells(ACol, ARow).empty();
    if (wasEmpty) SetCells(ACol, ARow, " ");
    CellProps(ACol, ARow).Graphic = AGraphic;
    if (wasEmpty) SetCells(ACol, ARow, "");
}

// ---- Merged cells ------------------------------------------------------------------------------------

void TBaseGrid::MergeCellRange(int ACol, int ARow, int SpanX, int SpanY)
{
    for (int i = 0; i < SpanX; ++i)
        for (int j = 0; j < SpanY; ++j) {
            TCellProperties& p = CellProps(ACol + i, ARow + j);
            if (i == 0 && j == 0) {
                p.IsBaseCell = true;
                p.CellSpanX = SpanX - 1;
                p.CellSpanY = SpanY - 1;
            } else {
                p.IsBaseCell = false;
                p.CellSpanX = i;
                p.CellSpanY = j;
            }
        }
    for (int i = 0; i < SpanX; ++i)
        for (int j = 0; j < SpanY; ++j) RepaintCellArea(ACol + i, ARow + j);
}

void TBaseGrid::SplitMergedCell(int ACol, int ARow)
{
    const TPoint b = CellProps(ACol, ARow).BaseCellFrom(ACol, ARow);
    const TCellProperties& base = CellProps(b.x, b.y);
    const int sx = base.CellSpanX, sy = base.CellSpanY;
    for (int i = 0; i <= sx; ++i)
        for (int j = 0; j <= sy; ++j) {
            TCellProperties& p = CellProps(b.x + i, b.y + j);
            p.IsBaseCell = true;
            p.CellSpanX = -1;
            p.CellSpanY = -1;
            RepaintCellArea(b.x + i, b.y + j);
        }
}

TPoint TBaseGrid::BaseCellOf(int ACol, int ARow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    return p ? p->BaseCellFrom(ACol, ARow) : TPoint{ACol, ARow};
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    if (!p || p->IsBaseCell) {
        BaseCol = ACol;
        BaseRow = ARow;
        return true;
    }
    const TPoint b = p->BaseCellFrom(ACol, ARow);
    BaseCol = b.x;
    BaseRow = b.y;
    return false;
}

bool TBaseGrid::IsBlockBase(int ACol, int ARow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    return !p || p->IsBaseCell;
}

bool TBaseGrid::InMergedBlock(int ACol, int ARow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    return p && (p->CellSpanX >= 1 || p->CellSpanY >= 1);
}

bool TBaseGrid::MergedAcross(int ACol, int ARow) const
{
    if (!HasCellProps(ACol, ARow)) return false;
    const TPoint b = BaseCellOf(ACol, ARow);
    const TCellProperties* p = FindCellProps(b.x, b.y);
    return p && p->CellSpanX > 0;
}

bool TBaseGrid::MergedDown(int ACol, int ARow) const
{
    if (!HasCellProps(ACol, ARow)) return false;
    const TPoint b = BaseCellOf(ACol, ARow);
    const TCellProperties* p = FindCellProps(b.x, b.y);
    return p && p->CellSpanY > 0;
}

TPoint TBaseGrid::BaseSpans(int ACol, int ARow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
    const TPoint b = p->BaseCellFrom(ACol, ARow);
    const TCellProperties* bp = FindCellProps(b.x, b.y);
    return bp ? TPoint{bp->CellSpanX, bp->CellSpanY} : TPoint{0, 0};
}

bool TBaseGrid::RowsShareMergedBlock(int ARow1, int ARow2) const
{
    bool any = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (BaseSpans(c, ARow1).y > 0 && BaseSpans(c, ARow2).y > 0) {
            if (BaseCellOf(c, ARow1).y != BaseCellOf(c, ARow2).y) return false;
            any = true;
        }
    }
    return any;
}

// ---- Cell texts --------------------------------------------------------------------------------------

std::string TBaseGrid::GetCellValue(int ACol, int ARow)
{
    TPoint b{ACol, ARow};
    if (HasCellProps(ACol, ARow)) b = BaseCellOf(ACol, ARow);
    std::string v = Cells(b.x, b.y);
    if (b.y < FDisplayRowLimit) AdjustDisplayText(ACol, ARow, v);
    return v;
}

void TBaseGrid::SetCellValue(int ACol, int ARow, const std::string& Value)
{
    if (HasCellProps(ACol, ARow)) {
        const TPoint b = BaseCellOf(ACol, ARow);
        SetCells(b.x, b.y, Value);
        if (HasParent()) RepaintCellArea(ACol, ARow);
    } else SetCells(ACol, ARow, Value);
    if (FLastRowInFooter && ARow == RowCount() - 1) LastRowChanged();
}

void TBaseGrid::AdjustDisplayText(int ACol, int ARow, std::string& Value)
{
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

// ---- Geometry ----------------------------------------------------------------------------------------

TRect TBaseGrid::RawCellRect(int ACol, int ARow) const
{
    // Sums over the columns between the view's first scrollable cell and the cell only, so that a cell
    // far away costs the distance, not its index.
    auto colX = [this](int c) {
        if (c < FixedCols()) {
            int x = 0;
            for (int i = 0; i < c; ++i) x += ColWidths(i);
            return x;
        }
        int x = FixedColsWidth();
        if (c >= LeftCol())
            for (int i = LeftCol(); i < c; ++i) x += ColWidths(i);
        else
            for (int i = c; i < LeftCol(); ++i) x -= ColWidths(i);
        return x;
    };
    auto rowY = [this](int r) {
        if (r < FixedRows()) {
            int y = 0;
            for (int i = 0; i < r; ++i) y += RowHeights(i);
            return y;
        }
        int y = FixedRowsHeight();
        if (r >= TopRow())
            for (int i = TopRow(); i < r; ++i) y += RowHeights(i);
        else
            for (int i = r; i < TopRow(); ++i) y -= RowHeights(i);
        return y;
    };
    const int x = colX(ACol), y = rowY(ARow);
    return {x, y, x + ColWidths(ACol), y + RowHeights(ARow)};
}

TRect TBaseGrid::CellSpanRect(int ACol, int ARow) const
{
    const TCellProperties* p = FindCellProps(ACol, ARow);
    if (p && (p->CellSpanX != -1 || p->CellSpanY != -1)) {
        TPoint b = p->BaseCellFrom(ACol, ARow);
        // A base outside the grid (spans pasted from elsewhere) leaves the cell on its own.
        if (b.x < 0 || b.y < 0 || b.x >= ColCount() || b.y >= RowCount()) b = {ACol, ARow};
        const TCellProperties* bp = FindCellProps(b.x, b.y);
        const int sx = bp ? std::max(0, bp->CellSpanX) : 0, sy = bp ? std::max(0, bp->CellSpanY) : 0;
        const TRect a = RawCellRect(b.x, b.y);
        const TRect e = RawCellRect(std::min(b.x + sx, ColCount() - 1), std::min(b.y + sy, RowCount() - 1));
        return {std::min(a.Left, e.Left), std::min(a.Top, e.Top), std::max(a.Right, e.Right), std::max(a.Bottom, e.Bottom)};
    }
    if (p && p->Control) return RawCellRect(ACol, ARow);
    TRect r = CellRect(ACol, ARow);
    r.Right = r.Left + ColWidths(ACol);
    r.Bottom = r.Top + RowHeights(ARow);
    return r;
}

TPoint TBaseGrid::CellExtent(int ACol, int ARow) const
{
    const TRect r = FindCellProps(ACol, ARow) ? CellSpanRect(ACol, ARow) : RawCellRect(ACol, ARow);
    return {r.Right - r.Left, r.Bottom - r.Top};
}

int TBaseGrid::FixedColsWidth() const
{
    int w = 0;
    for (int c = 0; c < FixedCols(); ++c) w += ColWidths(c);
    return w;
}

int TBaseGrid::FixedRowsHeight() const
{
    int h = 0;
    for (int r = 0; r < FixedRows(); ++r) h += RowHeights(r);
    return h;
}

void TBaseGrid::RepaintCellArea(int ACol, int ARow)
{
    TRect r = CellSpanRect(ACol, ARow);
    r.Left = std::max(0, r.Left);
    r.Top = std::max(0, r.Top);
    InvalidateRect(r);
}

// ---- Virtual operations of the base ------------------------------------------------------------------

bool TBaseGrid::IsFixedCell(int, int) { return false; }
int TBaseGrid::RowNodeIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }

void TBaseGrid::DrawCellContent(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState)
{
    ACanvas.DrawText(GetCellValue(ACol, ARow), ARect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TBaseGrid::ResolveCellAppearance(int, int, TGridDrawState&, bool, bool, bool, TBrush&, TColor&, TFont&, TAlignment&,
                                      TVAlignment&, bool&)
{
}

// ---- Painting ----------------------------------------------------------------------------------------

void TBaseGrid::Paint()
{
    TStringGrid::Paint();
    ++FPaintStamp;
}

void TBaseGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas& canvas = Canvas();
    if (ARow == RowCount() - 1 && FLastRowInFooter) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.Pen().SetColor(Color());
        canvas.Rectangle(ARect);
        return;
    }
    int bc = 0, br = 0;
    if (!ResolveBaseCell(ACol, ARow, bc, br)) {
        TCellProperties* bp = FindCellProps(bc, br);
        if (!bp || bp->PaintStamp == FPaintStamp) return;
        bp->PaintStamp = FPaintStamp;
        DrawCell(bc, br, ARect, AState);
        return;
    }
    if (IsFixedCell(ACol, ARow)) {
        AState.Include(gdFixed);
        AState.Exclude(gdSelected);
    }
    TRect r = CellSpanRect(ACol, ARow);
    const int fw = ACol >= FixedCols() ? FixedColsWidth() : 0;
    const int fh = ARow >= FixedRows() ? FixedRowsHeight() : 0;
    const bool clip = (ACol >= FixedCols() && FixedCols() > 0 && r.Left < fw) ||
                      (ARow >= FixedRows() && FixedRows() > 0 && r.Top < fh);
    TRegion saved;
    const bool hadClip = canvas.GetClipRgn(saved) == 1;
    if (clip) {
        const TRegion area = TRegion::FromRect(fw, fh, Width(), Height());
        canvas.ExtSelectClipRgn(&area, RGN_AND);
    }
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    canvas.Font().Assign(Font());
    TColor colorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = false;
    canvas.Brush().SetStyle(bsSolid);
    ResolveCellAppearance(ACol, ARow, AState, false, true, true, canvas.Brush(), colorTo, canvas.Font(), ha, va, wrap);
    // A selection without a colour of its own shows in the desktop's highlight.
    if (canvas.Brush().Color() == clNone && AState.Contains(gdSelected) && !AState.Contains(gdFocused))
        canvas.Brush().SetColor(clHighlight);
    canvas.Pen().SetColor(canvas.Brush().Color());
    if (colorTo == clNone) canvas.Rectangle(r);
    else DrawGradientBands(canvas, canvas.Brush().Color(), colorTo, true, r, 64);
    int L;
    if (AState.Contains(gdFixed)) {
        canvas.Pen().SetColor(0x808080);
        canvas.Pen().SetWidth(1);
        L = 1;
    } else {
        if (FGridLineWidth > 0) canvas.Pen().SetColor(FGridLineColor);
        canvas.Pen().SetWidth(FGridLineWidth);
        L = (FGridLineWidth + 1) / 2;
    }
    if (ACol == 0 && ARow >= FixedRows()) r.Left += RowNodeIndent(ARow);
    const bool fixed = AState.Contains(gdFixed);
    const bool horz = Options().Contains(fixed ? goFixedHorzLine : goHorzLine);
    const bool vert = Options().Contains(fixed ? goFixedVertLine : goVertLine);
    if (FGridLineWidth > 0 || fixed) {
        if (horz && (ACol != 0 || !HasNodes())) {
            canvas.MoveTo(r.Left - L + 1, r.Bottom - L);
            canvas.LineTo(r.Right - L + 1, r.Bottom - L);
            if (ARow == 0) {
                canvas.MoveTo(r.Left - L + 1, r.Top);
                canvas.LineTo(r.Right - L + 1, r.Top);
            }
        }
        if (vert) {
            canvas.MoveTo(r.Right - L, r.Bottom - L);
            canvas.LineTo(r.Right - L, r.Top - L);
            if (ACol == 0) {
                canvas.MoveTo(r.Left, r.Bottom - L);
                canvas.LineTo(r.Left, r.Top - L);
            }
        }
    }
    const int inset = fixed ? 1 : FGridLineWidth;
    r = {r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
    DrawCellContent(canvas, ACol, ARow, r, AState);
    if (clip) canvas.SelectClipRgn(hadClip ? &saved : nullptr);
}

// ---- Selection, keys, wheel, scrolling ---------------------------------------------------------------

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    RepaintCellArea(Col(), Row());
    const bool ok = TStringGrid::SelectCell(ACol, ARow);
    RepaintCellArea(ACol, ARow);
    return ok;
}

void TBaseGrid::SnapToBaseCell()
{
    if (!HasCellProps(Col(), Row())) return;
    const TPoint b = BaseCellOf(Col(), Row());
    if (b.x != Col() || b.y != Row()) MoveColRow(b.x, b.y, true, true);
}

void TBaseGrid::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    const bool has = HasCellProps(Col(), Row());
    TPoint b{Col(), Row()};
    const TCellProperties* p = nullptr;
    if (has) {
        b = BaseCellOf(Col(), Row());
        p = FindCellProps(b.x, b.y);
    }
    switch (Key) {
    case VK_NEXT:
        if (TopRow() + VisibleRowCount() - FixedRows() == RowCount() - 1 && FLastRowInFooter && RowCount() > 1)
            SetRow(RowCount() - 2);
        break;
    case VK_LEFT:
        // Never a column left of the first scrollable one (the raw rule could ask for a negative one).
        if (p && Col() > b.x && Col() > FixedCols() && b.x > 0)
            MoveColRow(std::max(FixedCols(), b.x - std::max(0, p->CellSpanX)), Row(), true, true);
        break;
    case VK_UP:
        if (p && Row() > b.y && Row() > FixedRows() && b.y > 0) MoveColRow(Col(), std::max(FixedRows(), b.y - 1), true, true);
        break;
    case VK_RIGHT:
        if (p && b.x + p->CellSpanX >= Col() && Col() < ColCount() - 1 && b.x < ColCount() - 1)
            MoveColRow(std::min(ColCount() - 1, b.x + std::max(0, p->CellSpanX)), Row(), true, true);
        break;
    case VK_DOWN:
        if (p && b.y + p->CellSpanY >= Row() && Row() < RowCount() - 1 && b.y < RowCount() - 1)
            MoveColRow(Col(), std::min(RowCount() - 1, b.y + std::max(0, p->CellSpanY)), true, true);
        break;
    default: break;
    }
    TStringGrid::KeyDown(Key, Shift);
    SnapToBaseCell();
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool r = TStringGrid::DoMouseWheelUp(Shift, MousePos);
    SnapToBaseCell();
    return r;
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool r = TStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (Row() - TopRow() > VisibleRowCount() && Row() < RowCount() - 1 && FLastRowInFooter) SetTopRow(TopRow() + 1);
    SnapToBaseCell();
    return r;
}

void TBaseGrid::TopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    if (FixedCols() > 0)
        for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
            for (int c = 0; c < FixedCols(); ++c)
                if (InMergedBlock(c, r)) RepaintCellArea(c, r);
    if (FixedRows() > 0)
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < ColCount(); ++c)
            for (int r = 0; r < FixedRows(); ++r)
                if (InMergedBlock(c, r)) RepaintCellArea(c, r);
}
