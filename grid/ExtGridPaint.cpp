// Appearance and painting of the grid's cells: the resolution order of fonts, colours and alignments,
// the disjunct selection flags, the cell renderer (fixed-cell gradient and frames of the looks, selection
// colours, links, plain text, selection rectangle, user borders, focus rectangle), the repaint helpers and
// the measurement of a cell's text.
#include "grid/ExtGrid.h"

#include "grid/EsgHTMLE.h"
#include "grid/ExtUtil.h"
#include "grid/GridResources.h"
#include "platform/graphics/RichText.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/SysFormat.h"

#include <algorithm>
#include <cmath>

// ---- Cell state queries ------------------------------------------------------------------------------

void TExtStringGrid::GetCellFixed(int ACol, int ARow, bool& IsFixed)
{
    IsFixed = IsFixed || (FixedRowAlways && ARow <= FDesignFixedRows && RowCount() == FDesignFixedRows) ||
              (FixedColAlways && ACol == 0 && ColCount() == 1) || ACol < FixedCols() || ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

bool TExtStringGrid::IsFixedCell(int ACol, int ARow)
{
    const int rc = DisplayToRealCol(ACol);
    const TPoint b = BaseCellOf(rc, ARow);
    if (b.y >= RowCount() - FFixedFooters || b.x >= ColCount() - FFixedRightCols + HiddenColCount()) return true;
    bool fixed = false;
    GetCellFixed(b.x, b.y, fixed);
    return fixed;
}

void TExtStringGrid::CanEditCell(int ACol, int ARow, bool& CanEdit)
{
    if (const TCellProperties* p = FindCellProps(ACol, ARow); p && Options().Contains(goEditing)) CanEdit = !p->ReadOnly;
    const TPoint b = BaseCellOf(ACol, ARow);
    if (OnCanEditCell) OnCanEditCell(this, b.y, b.x, CanEdit);
}

void TExtStringGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

bool TExtStringGrid::PasswordCellAt(int ACol, int ARow)
{
    bool p = false;
    IsPasswordCell(ACol, ARow, p);
    return p;
}

void TExtStringGrid::GetCheckTrue(int ACol, int ARow, std::string& Value)
{
    Value = CheckTrueText;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TExtStringGrid::GetCheckFalse(int ACol, int ARow, std::string& Value)
{
    Value = CheckFalseText;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

void TExtStringGrid::GetGridHint(int ACol, int ARow, std::string& Hint)
{
    if (OnGridHint) OnGridHint(this, ARow, ACol, Hint);
}

void TExtStringGrid::CanAddRow(bool& CanAdd)
{
    if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TExtStringGrid::CanInsertRow(int ARow, bool& CanInsert)
{
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

void TExtStringGrid::UpdateColumnSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TExtStringGrid::GetCellEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TExtStringGrid::CellEditable(int ACol, int ARow)
{
    if (!(Options().Contains(goEditing) || MouseActions.RangeSelectAndEdit || FEditingSuspended)) return false;
    if (!IsBlockBase(ACol, ARow)) return false;
    bool can = true;
    CanEditCell(ACol, ARow, can);
    bool fixed = false;
    GetCellFixed(ACol, ARow, fixed);
    return can && !fixed;
}

// ---- Appearance --------------------------------------------------------------------------------------

void TExtStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont)
{
    if (FActiveCellShow) {
        const int d = RealToDisplayCol(ACol);
        if ((d == 0 && ARow == Row() && FixedCols() > 0) || (ARow == 0 && d == Col() && FixedRows() > 0)) {
            AFont.Assign(FActiveCellFont);
            ABrush.SetColor(FActiveCellColor);
        }
    }
    if (const TCellProperties* p = FindCellProps(ACol, ARow)) {
        if (p->BrushColor != clNone) ABrush.SetColor(p->BrushColor);
        if (p->FontColor != clNone) AFont.SetColor(p->FontColor);
        if (!p->FontStyle.Empty()) AFont.SetStyle(p->FontStyle);
        if (p->FontSize != 0) AFont.SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont.SetName(p->FontName);
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TExtStringGrid::CellAlignmentOf(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    HAlign = taLeftJustify;
    VAlign = FVAlignment;
    if (AutoNumAlign) {
        std::string t = GetCellValue(ACol, ARow);
        if (!t.empty() && t[0] == '=') GetCellDrawText(ACol, ARow, t);
        if (ClassifyNumberText(t) < 2) HAlign = taRightJustify;
    }
    if (const TCellProperties* p = FindCellProps(ACol, ARow)) HAlign = p->Alignment;
    GetCellAlignment(ACol, ARow, HAlign, VAlign);
}

void TExtStringGrid::ResolveCellAppearance(int ACol, int ARow, TGridDrawState& AState, bool Print, bool ApplySelection,
                                           bool MapColumn, TBrush& Brush, TColor& ColorTo, TFont& Font,
                                           TAlignment& HAlign, TVAlignment& VAlign, bool&)
{
    // 1. Font.
    const bool fixedArea = ACol < FixedCols() || ARow < FixedRows();
    if (Print && !PrintSettings.UseDisplayFont) Font.Assign(fixedArea ? PrintSettings.FixedFont : PrintSettings.Font);
    else Font.Assign(fixedArea ? FFixedFont : TBaseGrid::Font());
    // 2. Addressing.
    const int rc = MapColumn ? DisplayToRealCol(ACol) : ACol;
    const int flagRow = MouseActions.DisjunctRowSelect && MouseActions.RowSelectPersistent ? DisplayToRealRow(ARow) : ARow;
    // 3.-4. Reset, then the cell's own colours.
    Brush.SetColor(clNone);
    ColorTo = clNone;
    const TCellProperties* p = FindCellProps(rc, ARow);
    if (p) {
        if (p->BrushColor != clNone) Brush.SetColor(p->BrushColor);
        if (p->FontColor != clNone) Font.SetColor(p->FontColor);
        if (!p->FontStyle.Empty()) Font.SetStyle(p->FontStyle);
        if (p->FontSize != 0) Font.SetSize(p->FontSize);
        if (!p->FontName.empty()) Font.SetName(p->FontName);
        ColorTo = p->BrushColorTo;
    }
    // 5. Grid colour and bands (a total below 1 colours nothing).
    const bool normal = ACol >= FixedCols() && ACol < ColCount() - FFixedRightCols + HiddenColCount() &&
                        ARow >= FixedRows() && ARow < RowCount() - FFixedFooters;
    if (Brush.Color() == clNone) {
        Brush.SetColor(Color());
        if (Bands.Active() && (!Print || Bands.Print) && normal && Bands.TotalLength() >= 1) {
            const int band = (ARow - FixedRows()) % Bands.TotalLength();
            Brush.SetColor(band < Bands.PrimaryLength() ? Bands.PrimaryColor() : Bands.SecondaryColor());
        }
    }
    // 6. Fixed look.
    const bool fixed = IsFixedCell(ACol, ARow) || fixedArea;
    if (fixed && !Print) {
        Brush.SetColor(FixedColor());
        Font.SetColor(FFixedFont.Color());
        AState.Include(gdFixed);
    }
    // 7. Colour hook.
    if (Print) {
        if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, rc, AState, Brush, Font);
    } else GetCellColor(rc, ARow, AState, Brush, Font);
    auto takeSelection = [&] {
        Brush.SetColor(FSelectionColor);
        Font.SetColor(FSelectionTextColor);
    };
    // 8.-9. Disjunct row and column selection.
    const bool canSelect = !fixed && ACol >= FixedCols() && ARow >= FixedRows() && !Print && ApplySelection && FShowSelection;
    if (canSelect && MouseActions.DisjunctRowSelect) {
        const bool flagged = flagRow < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<std::size_t>(flagRow)];
        if ((!FDisjunctCleared || ARow != Row()) && flagged) {
            AState = {gdSelected};
            takeSelection();
        } else if (FDisjunctCleared && !flagged && AState.Contains(gdSelected)) {
            AState = {gdSelected};
            takeSelection();
        }
    }
    if (canSelect && MouseActions.DisjunctColSelect) {
        const bool flagged = ACol < static_cast<int>(FColSelectFlags.size()) && FColSelectFlags[static_cast<std::size_t>(ACol)];
        if ((!FDisjunctCleared || ACol != Col()) && flagged) {
            AState = {gdSelected};
            takeSelection();
        } else if (FDisjunctCleared && !flagged && AState.Contains(gdSelected)) {
            AState = {gdSelected};
            takeSelection();
        }
    }
    // 10. Range selection.
    if ((!Print && ApplySelection && FShowSelection && !fixed && IsSelectedCell(ACol, ARow) &&
         !MouseActions.DisjunctRowSelect && !MouseActions.DisjunctColSelect) ||
        (AState.Contains(gdSelected) && FDisjunctCleared)) {
        takeSelection();
        AState.Include(gdSelected);
    }
    // 11. Disjunct cell selection.
    if (MouseActions.DisjunctCellSelect) {
        const std::uint32_t key = static_cast<std::uint32_t>(ACol & 0xFFFF) | (static_cast<std::uint32_t>(ARow & 0xFFFF) << 16);
        if (std::find(FSelectedCells.begin(), FSelectedCells.end(), key) != FSelectedCells.end()) {
            takeSelection();
            AState.Include(gdSelected);
        } else if (ACol == Col() && ARow == Row()) {
            AState.Exclude(gdSelected);
            Brush.SetColor(Color());
            Font.SetColor(TBaseGrid::Font().Color());
        }
    }
    // 12. Alignment.
    CellAlignmentOf(rc, ARow, HAlign, VAlign);
}

void TExtStringGrid::ResolveCellLook(int ACol, int ARow, TBrush& Brush, TFont& Font, bool ApplySelection)
{
    TGridDrawState state;
    TColor colorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = false;
    ResolveCellAppearance(ACol, ARow, state, false, ApplySelection, true, Brush, colorTo, Font, ha, va, wrap);
}

// ---- Disjunct selection flags ------------------------------------------------------------------------

bool TExtStringGrid::IsRowSelected(int ARow)
{
    if (ARow < 0 || ARow >= RowCount() + HiddenRowCount()) throw EExtGridError("Invalid row accessed");
    if (ARow >= static_cast<int>(FRowSelectFlags.size())) FRowSelectFlags.resize(static_cast<std::size_t>(ARow) + 1, 0);
    return FRowSelectFlags[static_cast<std::size_t>(ARow)] != 0;
}

void TExtStringGrid::SetRowSelected(int ARow, bool Value)
{
    if (IsRowSelected(ARow) == Value) return;
    FRowSelectFlags[static_cast<std::size_t>(ARow)] = Value;
    RefreshRow(RealToDisplayRow(ARow));
}

bool TExtStringGrid::IsColSelected(int ACol)
{
    if (ACol < 0 || ACol >= ColCount()) throw EExtGridError("Invalid column accessed");
    if (ACol >= static_cast<int>(FColSelectFlags.size())) FColSelectFlags.resize(static_cast<std::size_t>(ACol) + 1, 0);
    return FColSelectFlags[static_cast<std::size_t>(ACol)] != 0;
}

void TExtStringGrid::SetColSelected(int ACol, bool Value)
{
    if (IsColSelected(ACol) == Value) return;
    FColSelectFlags[static_cast<std::size_t>(ACol)] = Value;
    RefreshCol(ACol);
}

void TExtStringGrid::ClearRowSelection()
{
    for (std::size_t r = 0; r < FRowSelectFlags.size(); ++r)
        if (FRowSelectFlags[r]) RefreshRow(RealToDisplayRow(static_cast<int>(r)));
    FRowSelectFlags.clear();
}

void TExtStringGrid::ClearColSelection()
{
    for (std::size_t c = 0; c < FColSelectFlags.size(); ++c)
        if (FColSelectFlags[c]) RefreshCol(static_cast<int>(c));
    FColSelectFlags.clear();
}

void TExtStringGrid::SelectionToRowFlags(bool All)
{
    const TGridRect s = Selection();
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool inside = r >= s.Top && r <= s.Bottom;
        if (All || inside) SetRowSelected(MouseActions.RowSelectPersistent ? DisplayToRealRow(r) : r, inside);
    }
}

void TExtStringGrid::SelectionToColFlags(bool All)
{
    const TGridRect s = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= s.Left && c <= s.Right;
        if (All || inside) SetColSelected(c, inside);
    }
}

bool TExtStringGrid::IsSelectedCell(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (MouseActions.DisjunctRowSelect) {
        const int r = MouseActions.RowSelectPersistent ? DisplayToRealRow(ARow) : ARow;
        return r < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<std::size_t>(r)];
    }
    if (MouseActions.DisjunctColSelect)
        return ACol < static_cast<int>(FColSelectFlags.size()) && FColSelectFlags[static_cast<std::size_t>(ACol)];
    return CellInGridRect(Selection(), ACol, ARow);
}

// ---- Display texts -----------------------------------------------------------------------------------

void TExtStringGrid::GetCellDrawText(int ACol, int ARow, std::string& Text) { Text = GetCellValue(ACol, ARow); }

void TExtStringGrid::GetFloatFormattedText(int ACol, int ARow, std::string& Text)
{
    Text = GetCellValue(ACol, ARow);
    if (!OnGetFloatFormat || ClassifyNumberText(Text) == 2) return;
    bool isFloat = true;
    std::string fmt = FloatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (isFloat) Text = FormatFloatDirective(fmt, CellAsFloat(ACol, ARow));
}

// ---- Painting ----------------------------------------------------------------------------------------

void TExtStringGrid::Paint()
{
    if (FRedrawLock > 0) return;
    TCanvas& c = Canvas();
    c.Pen().SetStyle(psSolid);
    TBaseGrid::Paint();
    if (FEditorOpen && InplaceEditor() && InplaceEditor()->Visible()) {
        TColor pen = GridLineColor();
        if (GridLineWidth() < 1 || !(Options().Contains(goHorzLine) || Options().Contains(goVertLine))) pen = Color();
        c.Pen().SetColor(pen);
        c.Brush().SetStyle(bsClear);
        c.Rectangle(CellRect(Col(), Row()));
        c.Brush().SetStyle(bsSolid);
    }
    c.Pen().SetColor(clBlack);
    DrawPanMarker();
    PaintControlBorder();
}

void TExtStringGrid::PaintControlBorder()
{
    if (FRedrawLock > 0 || FBorderStyle != bsSingle || FFlat || !(FLook == glSoft || FLook == glQuarn || FLook == glXP)) return;
    TCanvas& c = Canvas();
    const int w = Width(), h = Height();
    const TPen saved = c.Pen();
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(0x808080);
    const TPoint inner[] = {{1, h}, {1, 1}, {w - 2, 1}, {w - 2, h - 2}, {1, h - 2}};
    c.Polyline(inner, 5);
    if (Parent()) {
        c.Pen().SetColor(Parent()->Color());
        const TPoint outer[] = {{0, h}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
        c.Polyline(outer, 5);
    }
    c.SetPen(saved);
}

void TExtStringGrid::DrawCellContent(TCanvas& C, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    const int rc = DisplayToRealCol(ACol);
    TColor colorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = false;
    ResolveCellAppearance(ACol, ARow, AState, false, false, true, C.Brush(), colorTo, C.Font(), ha, va, wrap);
    const TRect cell = ARect;
    const TGraphicLayout layout = CellGraphicLayout(rc, ARow, {cell.Left - 1, cell.Top - 1, cell.Right + 1, cell.Bottom + 1});
    if (AState.Contains(gdSelected) && !AState.Contains(gdFocused) && FSelectionColor == clNone) C.Brush().SetColor(clHighlight);
    if (FZoomOffset != 0) C.Font().SetSize(std::max(1, C.Font().Size() + FZoomOffset));
    const bool fixed = AState.Contains(gdFixed);
    // The row indicator stands at the left of column 0 in the current row; the cell's own drawing keeps
    // to its right.
    int indicator = 0;
    if (rc == 0 && ARow == Row() && FixedCols() > 0 && !FRowIndicator.Empty()) {
        DrawTransparentBitmap(C, FRowIndicator, FixedColor(), ARect);
        indicator = FRowIndicator.Width();
        ARect.Left += indicator;
    }
    const TColor savedBrush = C.Brush().Color(), savedFont = C.Font().Color();
    // Fixed cells of the quarn and XP looks: a 10-band vertical gradient.
    if (fixed && (FLook == glQuarn || FLook == glXP) && !FFlat) DrawGradientBands(C, FixedGradientFrom, FixedGradientTo, false, ARect, 10);
    // The combo's drop-down glyph on cells that are edited by a combo.
    const int right = ARect.Right;
    if (!IsFixedCell(ACol, ARow) && ControlLook.DropDownAlwaysVisible()) {
        TEditorType t = edNormal;
        GetCellEditorType(rc, ARow, t);
        if (t == edComboEdit || t == edComboList) {
            DrawComboButton(C, ARect);
            ARect.Right -= 16;
        }
    }
    const TCellText shown = DrawBackgroundAndText(C, ACol, ARow, ARect, AState, ha, va, layout);
    // Frames and borders.
    ARect.Right = right;
    C.Brush().SetColor(savedBrush);
    C.Font().SetColor(savedFont);
    TRect outer{cell.Left - 1, cell.Top - 1, cell.Right + 1, cell.Bottom + 1};
    DrawCellBorders(C, ACol, ARow, {ARect.Left - 1, outer.Top, outer.Right, outer.Bottom});
    if (fixed && !FFlat) DrawFixedFrame(C, outer);
    if (FFixedRightCols > 0 && ACol >= ColCount() - FFixedRightCols && FLook != glClassic && FFlat) {
        C.Pen().SetColor(clBlack);
        C.Pen().SetWidth(1);
        if (Options().Contains(goFixedHorzLine)) {
            C.MoveTo(outer.Left - 1, outer.Top - 1);
            C.LineTo(outer.Right + 1, outer.Top - 1);
            C.MoveTo(outer.Left - 1, outer.Bottom + 1);
            C.LineTo(outer.Right + 1, outer.Bottom + 1);
        }
        if (Options().Contains(goFixedVertLine)) {
            C.MoveTo(outer.Left - 1, outer.Top - 1);
            C.LineTo(outer.Left - 1, outer.Bottom + 1);
            C.MoveTo(outer.Right + 1, outer.Top - 1);
            C.LineTo(outer.Right + 1, outer.Bottom + 1);
        }
    }
    // The cell's graphic, placed by the text's alignment and extent.
    if (CellGraphicOf(rc, ARow)) {
        const TColor b = C.Brush().Color();
        C.Brush().SetColor(shown.Background);
        DrawCellGraphic(C, rc, ARow, outer, AState, layout, ha, shown.Extent);
        C.Brush().SetColor(b);
    }
    if (OnDrawCell) OnDrawCell(this, rc, ARow, {cell.Left + 1, cell.Top + 1, cell.Right - GridLineWidth(), cell.Bottom - GridLineWidth()}, AState);
    if (OnCustomCellDraw) OnCustomCellDraw(this, C, ACol, ARow, AState, cell, false);
    // Focus rectangle on the current cell while the grid has the focus.
    const bool focused = Focused() || (InplaceEditor() && InplaceEditor()->Focused());
    const TPoint b = BaseCellOf(rc, ARow);
    if (!HideFocusRect && b.x == DisplayToRealCol(Col()) && b.y == Row() && focused && !Options().Contains(goRowSelect)) {
        const int g = GridLineWidth() - 1;
        TRect f{outer.Left - g, outer.Top - g, outer.Right + g - 1, outer.Bottom + g - 1};
        C.Brush().SetColor(clWhite);
        C.Font().SetColor(clBlack);
        C.SetTextColor(clBlack);
        C.SetBkColor(clWhite);
        C.DrawFocusRect(f);
    }
    (void)indicator;
}

// Background and text of one cell: selection colours, the display text, the filter button, disjunct
// colours, the background picture, the selection frame, then the text by its kind beside the graphic.
TExtStringGrid::TCellText TExtStringGrid::DrawBackgroundAndText(TCanvas& C, int ACol, int ARow, TRect R, TGridDrawState AState,
                                                                TAlignment ha, TVAlignment va, const TGraphicLayout& layout)
{
    const int rc = DisplayToRealCol(ACol);
    const bool fixed = AState.Contains(gdFixed);
    TCellText shown;
    TColor link = FURLColor;
    const bool focused = Focused() || (InplaceEditor() && InplaceEditor()->Focused());
    const bool disjunctRow = MouseActions.DisjunctRowSelect && Options().Contains(goRowSelect) && ACol >= FixedCols() &&
                             IsSelectedCell(ACol, ARow);
    const bool selected = AState.Contains(gdSelected) || disjunctRow;
    const TColor savedBrush = C.Brush().Color(), savedFont = C.Font().Color();
    if (selected && (!AState.Contains(gdFocused) || Options().Contains(goDrawFocusSelected))) {
        if (FShowSelection) {
            if (FSelectionColor != clNone) C.Brush().SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone) C.Font().SetColor(FSelectionTextColor);
            link = FSelectionTextColor;
        }
    }
    if (!FShowSelection && (!focused || IsCheckBoxCell(rc, ARow))) {
        C.Brush().SetColor(savedBrush);
        C.Font().SetColor(savedFont);
        link = FURLColor;
    }
    std::string text;
    GetFloatFormattedText(rc, ARow, text);
    if (!text.empty() && text[0] == '=') GetCellDrawText(rc, ARow, text);
    int errFrom = 0, errLen = 0;
    ErrorRangeOf(rc, ARow, errFrom, errLen);
    if (PasswordCellAt(rc, ARow)) MaskText(text, PasswordChar);
    const bool filter = ARow == 0 && HasFilterButton(rc);
    if (filter) {
        TBitmap glyph;
        if (LoadGridBitmap("ESGFILT", glyph)) DrawTransparentBitmap(C, glyph, FixedColor(), {R.Right - 16, R.Top, R.Right, R.Top + 16});
    }
    if (MouseActions.DisjunctRowSelect || MouseActions.DisjunctColSelect) {
        const bool off = (MouseActions.DisjunctRowSelect && !IsSelectedCell(ACol, ARow)) ||
                         (MouseActions.DisjunctColSelect && !IsSelectedCell(ACol, ARow));
        if (!fixed && !FDisjunctCleared && off) {
            C.Brush().SetColor(Color());
            C.Font().SetColor(TBaseGrid::Font().Color());
            link = FURLColor;
            GetCellColor(rc, ARow, AState, C.Brush(), C.Font());
        }
    }
    if (!BackGround.Bitmap().Empty()) {
        const TCellProperties* own = FindCellProps(rc, ARow);
        const TBackGroundCells kinds = BackGround.Cells();
        const bool kindMatches = kinds == bcAll || (kinds == bcFixed) == AState.Contains(gdFixed);
        const bool shownSelected = AState.Contains(gdSelected) &&
                                   (!AState.Contains(gdFocused) || Options().Contains(goDrawFocusSelected));
        if ((!own || own->BrushColor == clNone) && kindMatches && (!FShowSelection || !shownSelected))
            DrawBackGround(C, ACol, ARow, R, AState);
    }
    C.SetBkMode(TRANSPARENT);
    if (FSelectionRectangle && CellInGridRect(Selection(), ACol, ARow) && !fixed) DrawSelectionFrame(C, ACol, ARow, R);
    shown.Background = C.Brush().Color();
    if (!layout.DrawsText) return shown;
    R.Left += XMargin;
    R.Right -= XMargin;
    R.Top += YMargin;
    const int lineHeight = C.TextHeight("hg");
    // Room for the graphic beside, above or below the text.
    int sortOffset = 0;
    if (layout.HAlign == haBeforeText && (ha == taLeftJustify || ha == taRightJustify)) R.Left += layout.Width;
    if (layout.HAlign == haAfterText) R.Right -= layout.Width;
    if (layout.VAlign == vaAboveText) R.Top += layout.Height;
    if (layout.VAlign == vaUnderText) R.Bottom -= layout.Height;
    if (layout.HAlign == haLeft || (layout.HAlign == haBeforeText && ha == taLeftJustify)) sortOffset = layout.Width;
    const bool sortHere = SortIndicatorShows(rc, ARow);
    const int kind = ClassifyCellText(text, EnableHTML);
    if (kind == 1) {
        if (filter) R.Right -= 18;
        if (sortHere) R.Right -= 10;
        THTMLResult res;
        THTMLPaintParams params = MarkupParams(link);
        params.XPos = R.Left;
        params.YPos = R.Top;
        params.WordWrap = !EnhTextSize;
        params.BlinkOn = FBlinkPhase;
        PaintHTMLText(C, text, R, params, res);
        shown.Extent = res.XSize + 2;
        if (sortHere) DrawSortIndicator(C, rc, va == vtaTop ? R.Top + 8 : va == vtaBottom ? R.Bottom - 8 : (R.Top + R.Bottom) / 2, R.Right + 2);
    } else if (kind == 2) {
        C.Pen().SetColor(C.Brush().Color());
        const bool clearSelected = AState.Contains(gdSelected) && !AState.Contains(gdFocused) && FSelectionColor == clNone;
        if (!clearSelected) C.FillRect(R);
        const bool selectedText = selected && !SelectionRTFKeep && !(ACol == Col() && ARow == Row() && focused && !Options().Contains(goDrawFocusSelected));
        TRect area{R.Left + XMargin - 2, R.Top, R.Right, R.Bottom};
        DrawRichText(C, ParseRichText(text), area, FWordWrap, false, selectedText ? FSelectionTextColor : clNone);
        C.Font().SetColor(clBlack);
    } else if (kind == 5) {
        static constexpr unsigned Horz[] = {0, DT_RIGHT, DT_CENTER};
        static constexpr unsigned Vert[] = {0, DT_VCENTER, DT_BOTTOM};
        TRect u = R;
        const unsigned lines = FWordWrap || Multilinecells ? unsigned(DT_WORDBREAK) : unsigned(DT_SINGLELINE | DT_END_ELLIPSIS);
        C.DrawTextW(WideFromCellText(text), u, DT_NOPREFIX | lines | Vert[va] | Horz[ha]);
    } else {
        if (ha == taCenter && ARow == SortSettings.Row && rc == SortSettings.Column && SortSettings.Show) R.Left += 10;
        if (ARow == 0 && rc == SortSettings.Column && SortSettings.Show) {
            if (ha == taLeftJustify) R.Right -= 14;
            else R.Left += 14;
        }
        if (filter) R.Right -= 16;
        shown.Extent = DrawPlainText(C, rc, ARow, R, ha, va, text, CellGraphicOf(rc, ARow) != nullptr, sortHere ? &shown.TextWidth : nullptr);
        if (sortHere) {
            const int w = std::max(0, std::min(R.Right - R.Left - 16, shown.TextWidth));
            const int x = ha == taLeftJustify ? R.Left + w + sortOffset + 10 : ha == taRightJustify ? R.Right - w - 10 : R.Left + 8;
            const int y = va == vtaTop ? R.Top + 8 : va == vtaBottom ? R.Bottom - 8 : (R.Top + R.Bottom) / 2;
            const int position = FSortIndexes.FindSortColumn(rc);
            if (position < 1 || SortSettings.IndexShow) DrawSortIndicator(C, rc, y, x);
        }
    }
    if (errLen > 0) DrawErrorMark(C, text, errLen, errFrom, lineHeight, R);
    return shown;
}

bool TExtStringGrid::SortIndicatorShows(int ACol, int ARow)
{
    return SortSettings.Show && ARow == SortSettings.Row && RowCount() > 2 &&
           (ACol == SortSettings.Column || FSortIndexes.FindSortColumn(ACol) >= 0) && FixedRows() > 0 &&
           (ACol >= FixedCols() || SortSettings.FixedCols);
}

void TExtStringGrid::DrawSortIndicator(TCanvas& C, int ACol, int Y, int X)
{
    const int k = FSortIndexes.FindSortColumn(ACol);
    const TPen savedPen = C.Pen();
    if (SortSettings.IndexShow && k >= 0) {
        const bool descending = (static_cast<std::uint32_t>(FSortIndexes.ValueAt(k)) & 0x80000000u) != 0;
        C.Brush().SetColor(SortSettings.IndexColor);
        C.Pen().SetColor(clBlack);
        const int mode = C.SetBkMode(TRANSPARENT);
        const TFont savedFont = C.Font();
        C.Font().SetColor(clBlack);
        C.Font().SetSize(6);
        const bool glyphs = !SortSettings.IndexUpGlyph.Empty() && !SortSettings.IndexDownGlyph.Empty();
        if (descending) {
            if (!glyphs) {
                const TPoint tri[] = {{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}};
                C.Polygon(tri, 3);
            } else DrawTransparentBitmap(C, SortSettings.IndexUpGlyph, C.Brush().Color(), {X - 7, Y - 7, X + 7, Y + 7});
            C.TextOut(X - 2, Y - 4, std::to_string(k + 1));
        } else {
            if (!glyphs) {
                const TPoint tri[] = {{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}};
                C.Polygon(tri, 3);
            } else DrawTransparentBitmap(C, SortSettings.IndexDownGlyph, C.Brush().Color(), {X - 7, Y - 7, X + 7, Y + 7});
            C.TextOut(X - 2, Y - 2, std::to_string(k + 1));
        }
        C.SetFont(savedFont);
        C.SetBkMode(mode);
    } else if (SortSettings.UpGlyph.Empty() || SortSettings.DownGlyph.Empty()) {
        C.Pen().SetWidth(1);
        if (SortSettings.Direction == sdDescending) {
            C.Pen().SetColor(clWhite);
            C.MoveTo(X + 4, Y - 4);
            C.LineTo(X, Y + 4);
            C.Pen().SetColor(0x808080);
            C.LineTo(X - 4, Y - 4);
            C.LineTo(X + 4, Y - 4);
        } else {
            C.Pen().SetColor(clWhite);
            C.MoveTo(X - 4, Y + 4);
            C.LineTo(X + 4, Y + 4);
            C.LineTo(X, Y - 4);
            C.Pen().SetColor(0x808080);
            C.LineTo(X - 4, Y + 4);
        }
        C.Pen().SetColor(clBlack);
        return;
    } else {
        const TBitmap& g = SortSettings.Direction == sdDescending ? SortSettings.DownGlyph : SortSettings.UpGlyph;
        DrawTransparentBitmap(C, g, FixedColor(), {X - 4, Y - 4, X - 4 + g.Width(), Y - 4 + g.Height()});
        C.SetBkColor(FixedColor());
    }
    C.SetPen(savedPen);
}

int TExtStringGrid::DrawPlainText(TCanvas& C, int ACol, int ARow, TRect& R, TAlignment HAlign, TVAlignment VAlign,
                                  const std::string& Text, bool MeasureFirst, int* TextWidth)
{
    std::string text = Text;
    const bool link = FURLShow && IsLinkText(GetCellValue(ACol, ARow));
    if (link) {
        if (!FURLFull) StripLinkProtocol(text);
        C.Font().SetStyle(C.Font().Style() + TFontStyles{fsUnderline});
        C.Font().SetColor(FURLColor);
    }
    unsigned format = DT_EDITCONTROL;
    const bool oneLine = CountTextLines(text, Multilinecells) == 1 && !FWordWrap;
    if (oneLine) {
        std::string line, rest = text;
        TakeFirstLine(rest, false, line);
        text = line;
        format = DT_SINGLELINE | (EnhTextSize ? unsigned(DT_END_ELLIPSIS) : 0u);
    }
    static constexpr unsigned Horz[] = {0, DT_RIGHT, DT_CENTER};
    static constexpr unsigned Vert[] = {0, DT_VCENTER, DT_BOTTOM};
    const unsigned wrapFlag = FWordWrap ? unsigned(DT_WORDBREAK | DT_EDITCONTROL) : (Multilinecells ? 0u : unsigned(DT_SINGLELINE));
    format |= DT_EXPANDTABS | DT_NOPREFIX | wrapFlag | Horz[HAlign] | Vert[VAlign];
    int extent = 0;
    if (TextWidth) *TextWidth = C.TextWidth(text);
    if (MeasureFirst) {
        TRect m = R;
        C.DrawText(text, m, (format | DT_CALCRECT) & ~(DT_VCENTER | DT_BOTTOM));
        extent = m.Right - m.Left + 2;
    }
    // A bottom-aligned line that wraps or spans lines sits on the bottom edge.
    if (VAlign == vtaBottom && !(format & DT_SINGLELINE)) {
        TRect m = R;
        C.DrawText(text, m, (format | DT_CALCRECT) & ~(DT_VCENTER | DT_BOTTOM));
        const int h = m.Bottom - m.Top;
        TRect at{R.Left, std::max(R.Top, R.Bottom - h), R.Right, R.Bottom};
        C.DrawText(text, at, format & ~DT_BOTTOM);
    } else {
        TRect at = R;
        C.DrawText(text, at, format);
    }
    if (link) C.Font().SetStyle(C.Font().Style() - TFontStyles{fsUnderline});
    return extent;
}

void TExtStringGrid::DrawSelectionFrame(TCanvas& C, int ACol, int ARow, const TRect& R)
{
    const TGridRect s = Selection();
    const int g = GridLineWidth();
    C.Pen().SetWidth(2);
    C.Pen().SetColor(SelectionFrameColor);
    if (ACol == s.Left) {
        C.MoveTo(R.Left - g + 1, R.Bottom);
        C.LineTo(R.Left - g + 1, R.Top - g);
    }
    if (ACol == s.Right) {
        C.MoveTo(R.Right - 1, R.Bottom);
        C.LineTo(R.Right - 1, R.Top - g);
    }
    const int right = ACol == s.Right ? R.Right - 1 : R.Right;
    if (ARow == s.Top) {
        C.MoveTo(R.Left - g, R.Top - g + 1);
        C.LineTo(right, R.Top - g + 1);
    }
    if (ARow == s.Bottom) {
        C.MoveTo(R.Left - g, R.Bottom - 1);
        C.LineTo(right, R.Bottom - 1);
    }
    if (FSelectionResizer && ACol == s.Right && ARow == s.Bottom) {
        C.Brush().SetColor(SelectionFrameColor);
        C.FillRect({R.Right - 4, R.Bottom - 4, R.Right, R.Bottom});
    }
    C.Pen().SetWidth(1);
}

void TExtStringGrid::DrawFixedFrame(TCanvas& C, TRect R)
{
    C.Pen().SetWidth(1);
    switch (FLook) {
    case glClassic: {
        TRect e = R;
        C.DrawEdge(e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        e = R;
        C.DrawEdge(e, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        C.Pen().SetColor(clBlack);
        C.MoveTo(R.Right - 1, R.Top);
        C.LineTo(R.Right - 1, R.Bottom - 1);
        C.LineTo(R.Left - 1, R.Bottom - 1);
        break;
    }
    case glQuarn:
    case glXP:
    case glSoft: {
        R = {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom};
        const bool horz = FLook != glSoft || Options().Contains(goFixedHorzLine);
        if (horz) {
            C.Pen().SetColor(DarkenedColor(FixedColor()));
            C.MoveTo(R.Left, R.Bottom - 1);
            C.LineTo(R.Right - 1, R.Bottom - 1);
            C.Pen().SetColor(clWhite);
            C.MoveTo(R.Right, R.Top + 1);
            C.LineTo(R.Left + 1, R.Top + 1);
            C.LineTo(R.Left + 1, R.Bottom - 1);
        }
        if (FLook == glSoft && Options().Contains(goFixedVertLine)) {
            C.Pen().SetColor(DarkenedColor(FixedColor()));
            C.MoveTo(R.Right - 2, R.Top);
            C.LineTo(R.Right - 2, R.Bottom - 1);
            C.Pen().SetColor(clWhite);
            C.MoveTo(R.Right - 1, R.Top);
            C.LineTo(R.Right - 1, R.Bottom - 1);
        }
        break;
    }
    case glStandard: break;
    }
}

void TExtStringGrid::DrawCellBorders(TCanvas& C, int ACol, int ARow, TRect R)
{
    if (!OnGetCellBorder) return;
    const TPen saved = C.Pen();
    TCellBorders borders;
    OnGetCellBorder(this, ARow, ACol, C.Pen(), borders);
    TPen left, top, right, bottom;
    for (TPen* p : {&left, &top, &right, &bottom}) p->Assign(C.Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, ACol, left, top, right, bottom);
    const int half = (C.Pen().Width() + 1) / 2;
    if (Options().Contains(goVertLine)) {
        R.Left += half;
        R.Right -= half;
    }
    if (Options().Contains(goHorzLine)) {
        R.Top += half;
        R.Bottom -= half;
    }
    if (borders.Contains(cbLeft)) {
        C.SetPen(left);
        C.MoveTo(R.Left - 1, R.Top);
        C.LineTo(R.Left - 1, R.Bottom);
    }
    if (borders.Contains(cbRight)) {
        C.SetPen(right);
        C.MoveTo(R.Right - 1, R.Top);
        C.LineTo(R.Right - 1, R.Bottom);
    }
    if (borders.Contains(cbTop)) {
        C.SetPen(top);
        C.MoveTo(R.Left, R.Top);
        C.LineTo(R.Right, R.Top);
    }
    if (borders.Contains(cbBottom)) {
        C.SetPen(bottom);
        C.MoveTo(R.Left, R.Bottom - 1);
        C.LineTo(R.Right, R.Bottom - 1);
    }
    C.SetPen(saved);
}

// A picture behind a cell: placed once at its client position, or tiled with a phase that runs on from
// the first tiled column and row, so the pattern continues across cells.
void TExtStringGrid::DrawBackGround(TCanvas& C, int ACol, int ARow, const TRect& R, TGridDrawState)
{
    const TBitmap& bmp = BackGround.Bitmap();
    const int bw = bmp.Width(), bh = bmp.Height();
    const int level = C.SaveDC();
    C.IntersectClipRect(R.Left, R.Top, R.Right, R.Bottom);
    if (BackGround.Display() == bdFixed) {
        C.Draw(BackGround.Left(), BackGround.Top(), bmp);
    } else {
        const bool normalOnly = BackGround.Cells() == bcNormal;
        long long sx = 0, sy = 0;
        for (int c = normalOnly ? FixedCols() : 0; c < ACol; ++c) sx += ColWidths(c);
        for (int r = normalOnly ? FixedRows() : 0; r < ARow; ++r) sy += RowHeights(r);
        const int px = static_cast<int>(sx % bw), py = static_cast<int>(sy % bh);
        for (int y = R.Top - 1 - py; y < R.Bottom; y += bh)
            for (int x = R.Left - 1 - px; x < R.Right; x += bw) C.Draw(x, y, bmp);
    }
    C.RestoreDC(level);
}

// ---- Repaint helpers ---------------------------------------------------------------------------------

void TExtStringGrid::RefreshCell(int ACol, int ARow) { InvalidateCell(ACol, ARow); }
void TExtStringGrid::RefreshRow(int ARow) { InvalidateRow(ARow); }
void TExtStringGrid::RefreshCol(int ACol) { InvalidateCol(ACol); }

void TExtStringGrid::RefreshRect(const TRect& R)
{
    if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0) return;
    const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    if (a.Right <= a.Left || b.Right <= b.Left) {
        Invalidate();
        return;
    }
    InvalidateRect({std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)});
}

void TExtStringGrid::LastRowChanged()
{
    if (FFooterPanel) FFooterPanel->Invalidate();
}

// ---- Text extent -------------------------------------------------------------------------------------

void TExtStringGrid::CellTextExtent(int ACol, int ARow, TPoint& Size, bool Wrap)
{
    TCanvas& c = Canvas();
    ResolveCellLook(RealToDisplayCol(ACol), ARow, c.Brush(), c.Font(), true);
    std::string text = GetCellValue(ACol, ARow);
    const int kind = ClassifyCellText(text, EnableHTML);
    if (kind == 1) {
        THTMLResult res;
        THTMLPaintParams params = MarkupParams(FURLColor);
        params.MeasureOnly = true;
        params.WordWrap = Wrap;
        const int width = Wrap ? ColWidths(RealToDisplayCol(ACol)) - 4 : 65535;
        PaintHTMLText(c, text, {0, 0, width, 65535}, params, res);
        Size = {res.XSize + 2 * XMargin + 2, res.YSize + 2 * YMargin + 2};
        return;
    }
    if (Wrap) {
        const TRect cell = CellRect(RealToDisplayCol(ACol), ARow);
        TRect r{cell.Left + XMargin + 2, cell.Top + YMargin + 2, cell.Right - XMargin - 2, cell.Bottom - YMargin - 2};
        if (r.Right <= r.Left) r.Right = r.Left + ColWidths(RealToDisplayCol(ACol)) - 2 * XMargin - 4;
        c.DrawText(text, r, DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
        Size = {r.Right - r.Left + 2 * XMargin, r.Bottom - r.Top + 2 * YMargin};
        return;
    }
    int widest = 0, lines = 0;
    std::string rest = text;
    do {
        std::string line;
        TakeFirstLine(rest, Multilinecells, line);
        if (FURLShow && IsLinkText(line) && !FURLFull) StripLinkProtocol(line);
        widest = std::max(widest, c.TextWidth(line));
        ++lines;
    } while (!rest.empty());
    Size = {widest + 2 * XMargin, lines * c.TextHeight("gh") + 2 * YMargin};
}
