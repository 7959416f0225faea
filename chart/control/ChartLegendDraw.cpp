// The legend's layout and drawing: the items that fit, their texts in two columns, the box beside, above
// or below the plot with its title, the items with their symbols and check boxes, the space taken from
// the chart rectangle; and the item under a point of the last drawing.
#include "chart/control/ChartLegend.h"

#include "chart/base/LumHtml.h"
#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr char ColumnSeparator = '\x06';

// Whether a series counts as checked in the chart's legend check mode.
bool SeriesChecked(const TCustomAxisPanel& Chart, const TChartSeries& Series)
{
    switch (Chart.LegendCheckMode()) {
    case 0: return Series.Active();
    case 1: return !Series.ExcludeFromXRange();
    case 2: return !Series.ExcludeFromYRange();
    default: return false;
    }
}

int AbsVertShadow(const TLumCustomShape& Shape)
{
    return Shape.ShadowIfAny() ? std::abs(Shape.ShadowIfAny()->VertSize()) : 0;
}

} // namespace

// ---- Items -----------------------------------------------------------------------------------------------

int TCustomChartLegend::TotalItemCount(TLegendStyle Style) const
{
    const TCustomChart& chart = Chart();
    int n = 0;
    if (Style == lsValues) {
        const TChartSeries* s = LegendSeries();
        n = s && s->ShowInLegend() ? s->LegendEntryCount() : 0;
    } else {
        for (const TChartSeries* s : chart.SeriesList().Items())
            if (s->ShowInLegend() && (s->Active() || FCheckBoxes)) ++n;
    }
    n = std::max(0, n - FFirstValue);
    if (Style == lsValues && chart.MaxPointsPerPage() > 0) n = std::min(n, chart.MaxPointsPerPage());
    return n;
}

std::string TCustomChartLegend::LegendText(int Index) const
{
    TCustomChart& chart = Chart();
    std::string text;
    const bool onlyChecked = !CheckBoxesShown();
    switch (FEffectiveStyle) {
    case lsValues: chart.LegendItemText(LegendSeries(), Index, text); break;
    case lsLastValues:
        if (TChartSeries* s = chart.SeriesForLegendItem(Index, onlyChecked))
            chart.LegendItemText(s, s->LegendEntryCount() - 1, text);
        break;
    default: chart.LegendItemSeriesTitle(Index, onlyChecked, text); break;
    }
    if (chart.OnGetLegendText) chart.OnGetLegendText(&chart, FEffectiveStyle, Index, text);
    return text;
}

void TCustomChartLegend::FetchItemTexts(int First, int Last)
{
    FItems.assign(static_cast<std::size_t>(std::max(0, Last - First + 1)), TItemText{});
    for (int v = First; v <= Last; ++v) {
        const int slot = FInverted ? Last - v : v - First;
        const std::string text = LegendText(v);
        TItemText& item = FItems[static_cast<std::size_t>(slot)];
        const std::size_t first = text.find(ColumnSeparator);
        item[0] = text.substr(0, first);
        if (first == std::string::npos) continue;
        const std::size_t second = text.find(ColumnSeparator, first + 1);
        item[1] = text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    }
}

int TCustomChartLegend::MeasureItemTexts(TCanvas3D& Canvas, int SpaceWidth)
{
    for (int column = 0; column < 2; ++column) {
        int widest = 0;
        for (const TItemText& item : FItems) {
            const std::string& text = item[static_cast<std::size_t>(column)];
            if (text.find("font") != std::string::npos || text.find('<') != std::string::npos)
                SetTextFormat(ttfHtml);
            if (TextFormat() == ttfHtml) {
                TSize size{};
                MeasureHtmlText(Canvas, text, size);
                widest = std::max(widest, size.cx);
            } else {
                widest = std::max(widest, Canvas.MeasureTextWidth(text));
            }
        }
        FLayout.ColumnWidths[static_cast<std::size_t>(column)] = widest;
    }
    return 2 * SpaceWidth - 1 + FLayout.ColumnWidths[0] + FLayout.ColumnWidths[1];
}

// ---- Layout ----------------------------------------------------------------------------------------------

int TCustomChartLegend::FrameWidth() const
{
    if (Bevel() != bvNone) return BevelWidth();
    return Pen().Visible() ? Pen().Width() : 0;
}

// Rows that fit between the items' top and the plot's bottom, in one column.
void TCustomChartLegend::LayOutSide(TRect& R, int F, int ItemsTopOffset)
{
    TCustomChart& chart = Chart();
    if (!CustomPosition()) {
        const TRect& panel = chart.PanelRect();
        R.Top = panel.Top + PixelFromReal(FTopPos * (panel.Bottom - panel.Top) * 0.01);
    }
    FLayout.Columns = 1;
    const int itemsTop = R.Top + ItemsTopOffset;
    const int bottom = chart.ChartRect().Bottom;
    // A negative spacing can make the item height 0 or less; the rows are then counted in single pixels.
    const int h = std::max(FLayout.ItemHeight, 1);
    int rows = itemsTop >= bottom ? 0 : std::min((bottom - itemsTop - 2 * F) / h, FLayout.TotalItems);
    FLayout.Rows = std::min(rows, FMaxNumRows);
    FLayout.LastValue = std::min(FLayout.TotalItems, FLayout.Rows) + FFirstValue - 1;
    FetchItemTexts(FFirstValue, FLayout.LastValue);
}

// Columns of the chart's width and the rows they need, at most MaxNumRows.
void TCustomChartLegend::LayOutTopBottom(TRect& R, TCanvas3D& Canvas, int F)
{
    TCustomChart& chart = Chart();
    const int total = FLayout.TotalItems;
    FLayout.LastValue = FFirstValue + total - 1;
    FetchItemTexts(FFirstValue, FLayout.LastValue);
    FLayout.TextWidth = MeasureItemTexts(Canvas, FLayout.SpaceWidth);
    FLayout.SymbolWidth = FSymbol->CalcWidth(FLayout.TextWidth);
    const TRect& cr = chart.ChartRect();
    if (!CustomPosition()) {
        if (FAlignment == laBottom) {
            int o = chart.Shadow().VertSize() + F + 1;
            if (SizeHook) SizeHook(this, o);
            R.Bottom = cr.Bottom - o;
        } else {
            R.Top = cr.Top + F + 1;
        }
    }
    const int c = FLayout.SymbolWidth + FLayout.TextWidth + 8 + (CheckBoxesShown() ? 27 : 0);
    int columns = 0, rows = 0;
    if (FMaxNumRows >= 2) {
        columns = cr.Right <= 8 ? 0 : std::min((chart.ChartWidth() - 2 * F - 8) / c, total);
        if (columns > 0) rows = std::min(total / columns + (total % columns ? 1 : 0), FMaxNumRows);
    } else if (FMaxNumRows == 1) {
        columns = total;
        rows = 1;
    }
    // A frame wider than the chart leaves no column (the count would go negative); nothing is drawn.
    if (columns < 1) columns = rows = 0;
    FLayout.Columns = columns;
    FLayout.Rows = rows;
    FLayout.LastValue = std::min(total, columns * rows) + FFirstValue - 1;
}

// The item columns' x from A: symbol and text side by side in the symbol's order.
void TCustomChartLegend::PlaceItemColumns(int A)
{
    const int x0 = A + 6;
    if (FSymbol->Position() == spLeft) {
        FLayout.SymbolX = x0;
        FLayout.TextX = x0 + FLayout.SymbolWidth + 4;
    } else {
        FLayout.TextX = x0;
        FLayout.SymbolX = x0 + FLayout.TextWidth;
    }
}

void TCustomChartLegend::PlaceSide(TRect& R, int F, int TitleWidth)
{
    TCustomChart& chart = Chart();
    const TRect& cr = chart.ChartRect();
    int w = FLayout.TextWidth + 10 + FLayout.SymbolWidth;
    // The title's width first, then the hooked room (a scroll bar), so that the room never lies over
    // the end of a title wider than the items.
    if (FLayout.TitleShown) w = std::max(w, TitleWidth);
    if (SizeHook) SizeHook(this, w);
    if (CustomPosition() || FAlignment == laLeft) {
        if (!CustomPosition()) R.Left = cr.Left + F + 1;
    } else {
        const int shadow = ShadowIfAny() ? ShadowIfAny()->HorizSize() : 0;
        R.Right = cr.Right - (shadow + F + 1);
        R.Left = R.Right - w;
        if (CheckBoxesShown()) R.Left -= 15;
    }
    int a = R.Left;
    if (CheckBoxesShown()) {
        FLayout.CheckBoxX = R.Left + 4;
        a = FLayout.CheckBoxX + 11;
    }
    R.Right = a + w;
    PlaceItemColumns(a);
}

void TCustomChartLegend::PlaceTopBottom(TRect& R, int TitleWidth)
{
    TCustomChart& chart = Chart();
    const int columns = FLayout.Columns;
    int w = columns * (FLayout.TextWidth + FLayout.SymbolWidth) + 12 + 6 * (columns - 1) + 4;
    if (CheckBoxesShown()) w += 13 * columns + 8;
    if (FLayout.TitleShown) w = std::max(w, TitleWidth);
    w = std::min(w, chart.ChartWidth());
    const int half = w / 2;
    if (!CustomPosition()) {
        const TRect& panel = chart.PanelRect();
        R.Left = chart.ChartXCenter() - half + PixelFromReal(FTopPos * (panel.Right - panel.Left - 2 * half) * 0.01);
    }
    R.Right = R.Left + 2 * half;
    int a = R.Left;
    if (CheckBoxesShown()) {
        FLayout.CheckBoxX = R.Left + 4;
        a = R.Left + 15;
    }
    PlaceItemColumns(a);
}

// ---- Drawing ---------------------------------------------------------------------------------------------

void TCustomChartLegend::DrawLegend()
{
    TCustomChart& chart = Chart();
    TCanvas3D& canvas = chart.ChartCanvas();
    FEffectiveStyle = ComputeEffectiveStyle();
    const int f = FrameWidth();

    TRect r = ShapeRect();
    if (CustomPosition() && FPositionUnits == muPercent) {
        const int w = r.Right - r.Left, h = r.Bottom - r.Top;
        r.Left = PixelFromReal(FLeftPercent * chart.Width() * 0.01);
        r.Top = PixelFromReal(FTopPercent * chart.Height() * 0.01);
        r.Right = r.Left + w;
        r.Bottom = r.Top + h;
    }
    if (chart.MaxPointsPerPage() > 0) {
        if (FEffectiveStyle == lsValues && FCurrentPage)
            FFirstValue = (chart.Page() - 1) * chart.MaxPointsPerPage();
        else if (FEffectiveStyle != lsValues)
            FFirstValue = 0;
    }

    FLayout = TLayout{};
    FLayout.TotalItems = TotalItemCount(FEffectiveStyle);
    chart.SetLegendBackColor(Color());
    FLayout.ItemHeight = ItemHeight();
    canvas.SelectFont(Font());
    FLayout.SpaceWidth = canvas.MeasureTextWidth(" ");
    const int h = FLayout.ItemHeight;
    FLayout.TitleShown = FTitle->Shown();
    FTitleHeight = FLayout.TitleShown ? FTitle->TitleHeight() : 0;
    const int titleShadow = FTitle->Transparent() ? 0 : AbsVertShadow(*FTitle);
    const int itemsTopOffset = FLayout.TitleShown ? FTitleHeight + 2 + titleShadow : 0;
    canvas.SelectFont(Font());

    if (IsSideAligned()) {
        LayOutSide(r, f, itemsTopOffset);
        FLayout.TextWidth = MeasureItemTexts(canvas, FLayout.SpaceWidth);
        FLayout.SymbolWidth = FSymbol->CalcWidth(FLayout.TextWidth + 10);
    } else {
        LayOutTopBottom(r, canvas, f);
    }
    FLayout.ItemsTop = r.Top + itemsTopOffset;
    if (FLayout.LastValue < FFirstValue) return;

    const int m = PixelFromReal(h * 0.1);
    const int height = h * FLayout.Rows + 2 + (FLayout.TitleShown ? FTitleHeight + 2 * m + 2 + titleShadow : 2 * m);
    if (FAlignment == laBottom && !CustomPosition())
        r.Top = r.Bottom - height;
    else
        r.Bottom = r.Top + height;
    const int titleWidth = FLayout.TitleShown ? FTitle->TitleWidth() : 0;
    canvas.SelectFont(Font());
    if (IsSideAligned())
        PlaceSide(r, f, titleWidth);
    else
        PlaceTopBottom(r, titleWidth);
    if (chart.OnGetLegendRect) chart.OnGetLegendRect(&chart, r);
    SetShapeRect(r);
    FLayout.ItemsTop = r.Top + itemsTopOffset;
    FLayout.Margin = m;

    DrawShape();
    if (FLayout.TitleShown) DrawTitleBox(r);
    canvas.SelectFont(Font());
    DrawItems(canvas);
    GiveUpChartSpace(r);
}

void TCustomChartLegend::DrawTitleBox(const TRect& R)
{
    TRect t{R.Left + 2, R.Top + 2, R.Right - 2, R.Top + 2 + FTitleHeight};
    if (!FTitle->Transparent() && FTitle->ShadowIfAny()) {
        const TLumShadow& shadow = *FTitle->ShadowIfAny();
        // The box leaves room for its shadow on the side the shadow falls.
        if (shadow.HorizSize() < 1)
            t.Left += std::abs(shadow.HorizSize());
        else
            t.Right -= shadow.HorizSize();
        if (shadow.VertSize() < 0) t.Top += std::abs(shadow.VertSize());
    }
    FTitle->DrawTitle(t);
}

void TCustomChartLegend::DrawItems(TCanvas3D& Canvas)
{
    TCustomChart& chart = Chart();
    Canvas.Brush().SetColor(Color());
    Canvas.Brush().SetStyle(bsClear);
    chart.SetLegendSymbolPen(FSymbol->DefaultPen() ? nullptr : &FSymbol->Pen());
    TChartSeries* valuesSeries = FEffectiveStyle == lsValues ? LegendSeries() : nullptr;
    const int first = FFirstValue, last = FLayout.LastValue;
    if (FInverted)
        for (int v = last; v >= first; --v) DrawItem(Canvas, v, last - v, valuesSeries);
    else
        for (int v = first; v <= last; ++v) DrawItem(Canvas, v, v - first, valuesSeries);
}

int TCustomChartLegend::ColumnStep() const
{
    return FLayout.TextWidth + FLayout.SymbolWidth + 6 + (CheckBoxesShown() ? 15 : 0);
}

bool TCustomChartLegend::RightAlignedColumn(int Column) const
{
    if (FEffectiveStyle == lsSeries) return false;
    switch (FTextStyle) {
    case ltsLeftValue:
    case ltsLeftPercent:
    case ltsXValue:
    case ltsValue:
    case ltsPercent: return Column == 0;
    case ltsRightValue:
    case ltsRightPercent: return Column == 1;
    case ltsXAndValue:
    case ltsXAndPercent: return true;
    default: return false;
    }
}

void TCustomChartLegend::DrawItemTexts(TCanvas3D& Canvas, int X, int Y, const TItemText& Texts)
{
    for (int column = 0; column < 2; ++column) {
        const int width = FLayout.ColumnWidths[static_cast<std::size_t>(column)];
        const bool right = RightAlignedColumn(column);
        if (right) {
            X += width;
            Canvas.WriteTextAlign(TA_RIGHT);
        }
        const std::string& text = Texts[static_cast<std::size_t>(column)];
        if (!text.empty()) {
            if (text.find('<') != std::string::npos) SetTextFormat(ttfHtml);
            Canvas.WriteTextOrHtml(X, Y, text, TextFormat() == ttfHtml);
        }
        if (right)
            Canvas.WriteTextAlign(TA_LEFT);
        else
            X += width;
        X += FLayout.SpaceWidth;
    }
}

void TCustomChartLegend::DrawItem(TCanvas3D& Canvas, int ValueIndex, int Slot, TChartSeries* ValuesSeries)
{
    if (Slot >= FLayout.TotalItems) return;
    TCustomChart& chart = Chart();
    const int h = FLayout.ItemHeight;
    const bool checkBoxes = CheckBoxesShown();
    int textX = FLayout.TextX, symbolX = FLayout.SymbolX, checkX = FLayout.CheckBoxX;
    int y = FLayout.ItemsTop + FLayout.Margin + 1;
    int row = Slot, columnOffset = 0;
    if (!IsSideAligned()) {
        row = Slot / FLayout.Columns;
        columnOffset = (Slot % FLayout.Columns) * ColumnStep();
        textX += columnOffset;
        symbolX += columnOffset;
        checkX += columnOffset;
    }
    y += h * row + FVertSpacing / 2;
    if (chart.OnGetLegendPos) chart.OnGetLegendPos(&chart, ValueIndex, textX, y, symbolX);

    if (FFontSeriesColor) {
        if (FEffectiveStyle == lsValues) {
            if (ValuesSeries) Canvas.Font().SetColor(ValuesSeries->LegendColorOf(ValueIndex));
        } else if (TChartSeries* s = chart.SeriesForLegendItem(ValueIndex, !checkBoxes)) {
            Canvas.Font().SetColor(s->SeriesColor());
        }
    }
    // The symbol of the item above may have left a solid brush: texts lie on the legend's own background.
    Canvas.Brush().SetStyle(bsClear);
    if (static_cast<std::size_t>(Slot) < FItems.size())
        DrawItemTexts(Canvas, textX, checkBoxes ? y + 1 : y, FItems[static_cast<std::size_t>(Slot)]);

    const int lastSlot = FLayout.LastValue - FFirstValue;
    TRect symbol{symbolX, y, symbolX + FLayout.SymbolWidth, y + h + 1};
    if (!(FSymbol->Continuous() && Slot > 0)) symbol.Top += 2;
    if (!(FSymbol->Continuous() && Slot != lastSlot)) symbol.Bottom -= FVertSpacing + 3;

    TChartSeries* series = nullptr;
    if (FEffectiveStyle == lsValues) {
        series = ValuesSeries;
        if (FLayout.SymbolWidth > 0) {
            if (series)
                series->PaintLegendSymbol(series->LabelIndexOf(ValueIndex), symbol);
            else
                FSymbol->PaintSymbolRect(clWhite, symbol);
        }
    } else if (checkBoxes) {
        series = chart.SeriesForLegendItem(ValueIndex, false);
        const bool checked = series && SeriesChecked(chart, *series);
        if (TCanvas* device = Canvas.DeviceHandle())
            DrawCheckOrRadio(checkX, y - 1 + (h - FVertSpacing - 11) / 2, *device, FCheckBoxesStyle == cbsCheck,
                             checked);
        if (series) series->PaintLegendSymbol(-1, symbol);
    } else {
        series = chart.SeriesForLegendItem(ValueIndex, true);
        if (series) series->PaintLegendSymbol(-1, symbol);
    }
    if (FSymbol->OnDraw) FSymbol->OnDraw(FSymbol.get(), series, ValueIndex, symbol);

    if (Slot > 0 && FDividingLines->Visible()) {
        const TRect& r = ShapeRect();
        Canvas.WriteBackMode(TRANSPARENT);
        Canvas.SelectPen(*FDividingLines);
        if (IsSideAligned())
            Canvas.DrawHorizLine(r.Left, r.Right, y - FVertSpacing / 2);
        else
            Canvas.DrawVertLine(r.Left + columnOffset + 2, r.Top, r.Bottom);
    }
}

void TCustomChartLegend::GiveUpChartSpace(const TRect& R)
{
    if (!FResizeChart || CustomPosition()) return;
    TCustomChart& chart = Chart();
    TRect cr = chart.ChartRect();
    const int gap = IsSideAligned() ? (FHorizMargin != 0 ? FHorizMargin : 3 * chart.ChartWidth() / 100)
                                    : (FVertMargin != 0 ? FVertMargin : 4 * chart.ChartHeight() / 100);
    switch (FAlignment) {
    case laLeft: cr.Left = R.Right + gap; break;
    case laRight: cr.Right = R.Left - gap; break;
    case laTop: cr.Top = R.Bottom + chart.Shadow().VertSize() + gap; break;
    case laBottom: cr.Bottom = R.Top - gap; break;
    }
    chart.SetChartRect(cr);
    chart.RecalcChartRect();
}

// ---- Hit test --------------------------------------------------------------------------------------------

int TCustomChartLegend::ItemAtPoint(int X, int Y)
{
    TRect r = ShapeRect();
    if (SizeHook) {
        int size = 0;
        SizeHook(this, size);
        r.Right -= size;
    }
    if (X < std::min(r.Left, r.Right) || X > std::max(r.Left, r.Right) || Y < std::min(r.Top, r.Bottom) ||
        Y > std::max(r.Top, r.Bottom))
        return -1;
    // The rows and columns as the items were last drawn, on whatever device that was.
    const int h = FLayout.ItemHeight;
    const int rows = FLayout.Rows;
    int row = -1;
    for (int i = 0; i < rows; ++i) {
        const int top = FLayout.ItemsTop + i * h + 1;
        if (Y >= top && Y <= top + h) {
            row = FInverted ? rows - i - 1 : i;
            break;
        }
    }
    if (IsSideAligned()) return row == -1 ? -1 : FFirstValue + row;
    const int columns = FLayout.Columns;
    if (columns < 1 || row == -1) return -1;
    // Items stand one column step apart from the legend's left, where the dividing lines fall; the
    // box itself is wider than columns x step, so dividing it evenly would miss the items on the right.
    const int step = std::max(ColumnStep(), 1);
    const int c = std::clamp((X - ShapeRect().Left - 2) / step, 0, columns - 1);
    const int n = row * columns + (FInverted ? columns - c - 1 : c);
    return n > FLayout.TotalItems - 1 ? -1 : FFirstValue + n;
}
