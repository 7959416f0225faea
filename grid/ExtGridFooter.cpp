// The floating footer's strip: its place at the bottom of the grid, and its painting by style (the
// grid's last row drawn as fixed cells that scroll with the columns, or a preview of the current row by
// one column or by a template of column tags).
#include "grid/ExtGrid.h"

#include "grid/EsgHTMLE.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/NumberText.h"

#include <algorithm>

// ---- Footer options ----------------------------------------------------------------------------------

void TFloatingFooter::RepaintPanel()
{
    if (FGrid && FGrid->FooterPanel()) FGrid->FooterPanel()->Invalidate();
}

void TFloatingFooter::SetColor(TColor v)
{
    FColor = v;
    RepaintPanel();
}

void TFloatingFooter::SetColumn(int v)
{
    FColumn = v;
    RepaintPanel();
}

void TFloatingFooter::SetCustomTemplate(const std::string& v)
{
    FCustomTemplate = v;
    RepaintPanel();
}

void TFloatingFooter::SetVisible(bool v)
{
    FVisible = v;
    if (!FGrid) return;
    FGrid->SetFixedFooters(v && FStyle == fsFixedLastRow ? 1 : 0);
    FGrid->SetLastRowInFooter(v && FStyle == fsFixedLastRow);
    FGrid->LayoutFooterPanel();
    RepaintGrid();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v)
{
    FStyle = v;
    if (!FGrid) return;
    FGrid->SetLastRowInFooter(FStyle == fsFixedLastRow && FVisible);
    RepaintGrid();
    RepaintPanel();
}

// ---- Place and template ------------------------------------------------------------------------------

void TExtStringGrid::LayoutFooterPanel()
{
    if (!FFooterPanel) return;
    const bool show = FloatingFooter.Visible();
    const int h = show ? std::max(0, FloatingFooter.Height - 1) : 0;
    FFooterPanel->SetBounds(0, std::max(0, ClientHeight() - h), ClientWidth(), h);
    FFooterPanel->SetVisible(show);
    FFooterPanel->Invalidate();
}

std::string TExtStringGrid::FooterTemplateText()
{
    const std::string& t = FloatingFooter.CustomTemplate();
    std::string out;
    std::size_t i = 0;
    while (i < t.size()) {
        const std::size_t open = t.find("<#", i);
        if (open == std::string::npos) break;
        const std::size_t close = t.find('>', open + 2);
        if (close == std::string::npos) break;
        out.append(t, i, open - i);
        int col = 0;
        if (TryStrToInt(t.substr(open + 2, close - open - 2), col) && col >= 0 && col < ColCount() && Row() < RowCount())
            out += GetCellValue(col, Row());
        i = close + 1;
    }
    out.append(t, i, std::string::npos);
    return out;
}

// ---- Painting ----------------------------------------------------------------------------------------

const TClassInfo& TFooterPanel::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TFooterPanel", .Parent = &TCustomPanel::StaticClassInfo()});
    return info;
}

TFooterPanel::TFooterPanel(TExtStringGrid* AGrid) : TCustomPanel(AGrid), FGrid(AGrid)
{
    SetBevelOuter(bvNone);
    SetBorderWidth(0);
}

void TFooterPanel::Paint()
{
    TCanvas& c = Canvas();
    TExtStringGrid& g = *FGrid;
    // The strip covers the fixed columns and the scrolled-in ones; the rest shows the grid's colour.
    int W = 0;
    for (int col = 0; col < g.FixedCols(); ++col) W += g.ColWidths(col);
    for (int col = g.LeftCol(); col < g.ColCount(); ++col) W += g.ColWidths(col);
    const int h = Height();
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(g.FloatingFooter.Color());
    c.Pen().SetColor(g.FloatingFooter.Color());
    c.Rectangle(0, 0, W, h);
    c.Brush().SetColor(g.Color());
    c.Pen().SetColor(g.Color());
    c.Rectangle(W, 0, std::max(W, Width()), h);
    switch (g.FloatingFooter.FooterStyle()) {
    case fsFixedLastRow: PaintLastRow(W); break;
    case fsColumnPreview: {
        PaintPreviewFrame(W);
        const TColor saved = g.SelectionTextColor();
        g.SetSelectionTextColor(clBlack);
        const int col = g.FloatingFooter.Column();
        if (col >= 0 && col < g.ColCount() && g.Row() < g.RowCount()) g.DrawCellContent(c, col, g.Row(), {1, 1, W - 1, h - 1}, {});
        g.SetSelectionTextColor(saved);
        break;
    }
    case fsCustomPreview: {
        PaintPreviewFrame(W);
        const TColor saved = g.SelectionTextColor();
        g.SetSelectionTextColor(clBlack);
        THTMLResult res;
        c.Font().Assign(g.Font());
        c.SetBkMode(TRANSPARENT);
        THTMLPaintParams params = g.MarkupParams(g.URLColor());
        params.YPos = 2;
        params.WordWrap = false;
        PaintHTMLText(c, g.FooterTemplateText(), {0, 2, W, h + 2}, params, res);
        g.SetSelectionTextColor(saved);
        break;
    }
    }
}

void TFooterPanel::PaintPreviewFrame(int W)
{
    TCanvas& c = Canvas();
    const int h = Height();
    c.Pen().SetColor(0x808080);
    c.MoveTo(0, h - 1);
    c.LineTo(W - 1, h - 1);
    c.LineTo(W - 1, 0);
    c.Pen().SetColor(clWhite);
    c.LineTo(0, 0);
    c.LineTo(0, h - 1);
}

void TFooterPanel::PaintLastRow(int)
{
    TCanvas& c = Canvas();
    TExtStringGrid& g = *FGrid;
    const int h = Height();
    const int last = g.RowCount() - 1;
    const int first = g.FixedCols() > 0 ? g.LeftCol() : 0;
    std::vector<int> cols;
    for (int col = 0; col < g.FixedCols(); ++col) cols.push_back(col);
    for (int col = std::max(first, g.FixedCols()); col < g.ColCount(); ++col) cols.push_back(col);
    // Separators.
    const bool soft = g.Look() == glSoft && !g.Flat();
    const TGridOptions o = g.Options();
    int x = 0;
    for (const int col : cols) {
        const int w = g.ColWidths(col);
        if (o.Contains(goFixedVertLine) && soft) {
            c.Pen().SetColor(clWhite);
            c.MoveTo(x, h);
            c.LineTo(x, 0);
        }
        if (o.Contains(goFixedHorzLine) && soft) {
            c.Pen().SetColor(clWhite);
            c.MoveTo(x, 0);
            c.LineTo(x + w - 1, 0);
        }
        if (o.Contains(goFixedVertLine)) {
            c.Pen().SetColor(0x808080);
            c.MoveTo(x + w - 1, 0);
            c.LineTo(x + w - 1, h);
        }
        x += w;
    }
    // The last row's cells, drawn as fixed cells; scrolled columns start a pixel right of the running
    // left.
    if (last < 0) return;
    int left = 0;
    for (const int col : cols) {
        const bool scrolled = col >= g.FixedCols();
        const int l = scrolled ? left + 1 : left;
        int right = left + g.ColWidths(col) - 1;
        if (g.InMergedBlock(col, last)) {
            const TRect span = g.CellSpanRect(col, last);
            if (span.Right > span.Left) right = span.Right - 1;
        }
        const TRect r{l, 0, right, h};
        if (scrolled)
            if (const TCellProperties* p = g.FindCellProps(g.DisplayToRealCol(col), last); p && p->BrushColor != clNone) {
                c.Brush().SetColor(p->BrushColor);
                c.FillRect(r);
            }
        const TPoint base = g.BaseCellOf(g.DisplayToRealCol(col), last);
        if (base.x == g.DisplayToRealCol(col) && base.y == last) g.DrawCellContent(c, col, last, r, {gdFixed});
        left = right + 1;
    }
}
