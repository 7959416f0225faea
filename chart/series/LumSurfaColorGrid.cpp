// The colour grid series: the visible window of cells, the regular picture (optionally smoothed), the
// irregular cells, grid lines, frame, marks, click test and loading a picture.
#include "chart/series/LumSurfaColorGrid.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/base/LumSmoothStretch.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<TPropInfo> ColorGridProperties()
{
    using P = TProps<TColorGridSeries>;
    std::vector<TPropInfo> own{
        P::Object("Brush", [](const TColorGridSeries& s) -> TPersistent* { return &s.Brush(); }),
        P::Boolean("CenteredPoints", &TColorGridSeries::CenteredPoints, &TColorGridSeries::SetCenteredPoints).Default(false),
        P::Object("Frame", [](const TColorGridSeries& s) -> TPersistent* { return &s.Frame(); }),
        P::Object("Pen", [](const TColorGridSeries& s) -> TPersistent* { return &s.Pen(); }),
        P::Boolean("SmoothBitmap", &TColorGridSeries::SmoothBitmap, &TColorGridSeries::SetSmoothBitmap).Default(false),
        P::Integer("XGridEvery", &TColorGridSeries::XGridEvery, &TColorGridSeries::SetXGridEvery).Default(1),
        P::Integer("ZGridEvery", &TColorGridSeries::ZGridEvery, &TColorGridSeries::SetZGridEvery).Default(1),
    };
    return TCustom3DGridSeries::GridKindProperties(std::move(own), true);
}

// The first and last of Count cells (1-based) whose span overlaps the open range (Low, High).
template <class Span>
void OverlappingCells(int Count, double Low, double High, const Span& SpanOf, int& First, int& Last)
{
    First = 1;
    Last = 0;
    for (int c = 1; c <= Count; ++c) {
        double lo, hi;
        SpanOf(c, lo, hi);
        if (hi > Low && lo < High) {
            if (Last < First) First = c;
            Last = c;
        }
    }
}

void WriteCell(std::uint8_t* Pixel, TColor Colour)
{
    Pixel[0] = static_cast<std::uint8_t>((Colour >> 16) & 0xFF);
    Pixel[1] = static_cast<std::uint8_t>((Colour >> 8) & 0xFF);
    Pixel[2] = static_cast<std::uint8_t>(Colour & 0xFF);
}

} // namespace

const TClassInfo& TColorGridSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TColorGridSeries",
                                  .Parent = &TCustom3DGridSeries::StaticClassInfo(),
                                  .Properties = ColorGridProperties(),
                                  .Create = &CreateComponentOf<TColorGridSeries>});
    return info;
}

TColorGridSeries::TColorGridSeries(TComponent* AOwner)
    : TCustom3DGridSeries(AOwner), FBitmap(std::make_unique<TBitmap>(0, 0, pf24bit)),
      FFrame(std::make_unique<TChartHiddenPen>([this](TPersistent* p) { StyleChanged(p); }))
{
    FBitmap->SetTransparentColor(clWhite);
    FBitmap->SetTransparent(false);
    Marks().SetArrowLength(0);
}

TColorGridSeries::~TColorGridSeries() = default;

void TColorGridSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TColorGridSeries*>(&Source); s && s != this) {
        FCenteredPoints = s->FCenteredPoints;
        FSmoothBitmap = s->FSmoothBitmap;
        FFrame->Assign(*s->FFrame);
    }
    TCustom3DGridSeries::Assign(Source);
}

// ---- The visible window --------------------------------------------------------------------------------

double TColorGridSeries::ColumnValue(int Column) const
{
    if (IrregularGrid()) return IrregularXs()[static_cast<std::size_t>(Column)];
    return std::nearbyint(XValues().LowestValue()) - 1 + Column;
}

double TColorGridSeries::RowValue(int Row) const
{
    if (IrregularGrid()) return IrregularZs()[static_cast<std::size_t>(Row)];
    return std::nearbyint(ZValues().LowestValue()) - 1 + Row;
}

void TColorGridSeries::CellSpan(bool Columns, int Index, double& Low, double& High) const
{
    const int count = Columns ? NumXValues() : NumZValues();
    const double v = Columns ? ColumnValue(Index) : RowValue(Index);
    Low = CellLow(v);
    // An irregular cell runs from its point to the next one; the last column or row is only an edge.
    if (IrregularGrid() && !FCenteredPoints)
        High = Index < count ? (Columns ? ColumnValue(Index + 1) : RowValue(Index + 1)) : v;
    else
        High = CellHigh(v);
}

TColorGridSeries::TWindow TColorGridSeries::VisibleWindow() const
{
    TWindow w;
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (!h || !v || IndexColumns() == 0) return w;
    const bool irregular = IrregularGrid();
    if (irregular && (IrregularXs().size() < 2 || IrregularZs().size() < 2)) return w;
    OverlappingCells(
        NumXValues(), h->Minimum(), h->Maximum(), [&](int c, double& lo, double& hi) { CellSpan(true, c, lo, hi); },
        w.Left, w.Right);
    OverlappingCells(
        NumZValues(), v->Minimum(), v->Maximum(), [&](int r, double& lo, double& hi) { CellSpan(false, r, lo, hi); },
        w.Top, w.Bottom);
    if (w.Empty()) return w;
    double lo, hi, unused;
    CellSpan(true, w.Left, lo, unused);
    CellSpan(true, w.Right, unused, hi);
    const int x0 = h->CalcXPosValue(lo), x1 = h->CalcXPosValue(hi);
    CellSpan(false, w.Top, lo, unused);
    CellSpan(false, w.Bottom, unused, hi);
    const int y0 = v->CalcYPosValue(lo), y1 = v->CalcYPosValue(hi);
    w.Pixels = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    return w;
}

// ---- Painting ----------------------------------------------------------------------------------------------

void TColorGridSeries::PaintAllPoints()
{
    if (PointCount() == 0 || !ParentChart()) return;
    const TWindow window = VisibleWindow();
    if (IrregularGrid())
        DrawIrregularCells();
    else if (!window.Empty())
        DrawRegularPicture(window);
    if (window.Empty()) return;
    DrawGridLines(window);
    DrawFrame(window);
}

void TColorGridSeries::DrawRegularPicture(const TWindow& Window)
{
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    const int width = Window.Right - Window.Left + 1, height = Window.Bottom - Window.Top + 1;
    FBitmap->SetSize(0, 0);
    FBitmap->SetSize(width, height);
    // The bitmap is laid out as the screen shows it: its first column is the leftmost cell on screen and
    // its first row the topmost, whichever way the axes run.
    const bool xFlipped = h->CalcXPosValue(ColumnValue(Window.Left)) > h->CalcXPosValue(ColumnValue(Window.Right));
    const bool zFlipped = v->CalcYPosValue(RowValue(Window.Top)) <= v->CalcYPosValue(RowValue(Window.Bottom));
    bool holes = Brush().Style() == bsClear;
    if (!holes)
        for (int r = 0; r < height; ++r) {
            std::uint8_t* line = FBitmap->ScanLine(r);
            const int row = zFlipped ? Window.Top + r : Window.Bottom - r;
            for (int k = 0; k < width; ++k) {
                const int column = xFlipped ? Window.Right - k : Window.Left + k;
                const int p = GridIndex(column, row);
                const TColor c = p < 0 ? clNone : PointColor(p);
                if (c == clNone) holes = true;
                WriteCell(line + 3 * k, c == clNone ? clWhite : c);
            }
        }
    else
        for (int r = 0; r < height; ++r) std::fill_n(FBitmap->ScanLine(r), 3 * width, std::uint8_t{0xFF});
    // Once holes are seen, white stays transparent for the later paints.
    if (holes) FBitmap->SetTransparent(true);

    const TRect& rect = Window.Pixels;
    const long long pixels = static_cast<long long>(rect.Right - rect.Left) * (rect.Bottom - rect.Top);
    if (FSmoothBitmap && width >= 2 && height >= 2 && rect.Right - rect.Left > 1 && rect.Bottom - rect.Top > 1 &&
        pixels <= MaxSmoothPixels) {
        TBitmap smooth(rect.Right - rect.Left, rect.Bottom - rect.Top, pf24bit);
        SmoothStretch(FBitmap.get(), &smooth);
        smooth.SetTransparentColor(clWhite);
        smooth.SetTransparent(FBitmap->Transparent());
        DrawPicture(smooth, rect);
    } else {
        DrawPicture(*FBitmap, rect);
    }
}

void TColorGridSeries::DrawPicture(const TBitmap& Picture, const TRect& Rect)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    if (chart->View3D() && !chart->View3DOptions().Orthogonal())
        canvas.DrawPictureAtZ(Rect, &Picture, StartZ());
    else
        canvas.StretchGraphic(canvas.ProjectRect(Rect, StartZ()), &Picture);
}

void TColorGridSeries::DrawIrregularCells()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetStyle(bsSolid);
    for (int z = 1; z <= NumZValues() - 1; ++z)
        for (int x = 1; x <= NumXValues() - 1; ++x) {
            const int p = GridIndex(x, z);
            if (p < 0) continue;
            const TColor c = PointColor(p);
            if (c == clNone) continue;
            const int right = GridIndex(x + 1, z), below = GridIndex(x, z + 1);
            if (right < 0 || below < 0) continue;
            canvas.Brush().SetColor(c);
            canvas.DrawRectAtDepth({h->CalcXPosValue(XValues().ValueAt(p)), v->CalcYPosValue(ZValues().ValueAt(p)),
                                    h->CalcXPosValue(XValues().ValueAt(right)), v->CalcYPosValue(ZValues().ValueAt(below))},
                                   StartZ());
        }
}

void TColorGridSeries::DrawGridLines(const TWindow& Window)
{
    if (!Pen().Visible()) return;
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    canvas.WriteBackMode(TRANSPARENT);
    canvas.SelectPen(Pen());
    const double d = FCenteredPoints ? 0.5 : 0;
    const int offset = IrregularGrid() && !FCenteredPoints ? 1 : 0;
    const TRect& r = Window.Pixels;
    const bool in3D = chart->View3D();
    const int zEvery = std::max(1, FZGridEvery), xEvery = std::max(1, FXGridEvery);
    for (int i = 1; i <= (NumZValues() - offset - 1) / zEvery; ++i) {
        const int p = GridIndex(1, i * zEvery + 1);
        if (p < 0) continue;
        const int y = v->CalcYPosValue(ZValues().ValueAt(p) - d);
        if (in3D)
            canvas.DrawHorizLineAtZ(r.Left, r.Right, y, StartZ());
        else
            canvas.DrawHorizLine(r.Left, r.Right, y);
    }
    for (int j = 1; j <= (NumXValues() - offset - 1) / xEvery; ++j) {
        const int p = GridIndex(j * xEvery + 1, 1);
        if (p < 0) continue;
        const int x = h->CalcXPosValue(XValues().ValueAt(p) - d);
        if (in3D)
            canvas.DrawVertLineAtZ(x, r.Top, r.Bottom, StartZ());
        else
            canvas.DrawVertLine(x, r.Top, r.Bottom);
    }
}

void TColorGridSeries::DrawFrame(const TWindow& Window)
{
    if (!FFrame->Visible()) return;
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.WriteBackMode(TRANSPARENT);
    canvas.SelectPen(*FFrame);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawRectAtDepth(Window.Pixels, StartZ());
}

void TColorGridSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    const double d = FCenteredPoints || IrregularGrid() ? 0 : 0.5;
    if (GetHorizAxis() && GetVertAxis()) {
        const TPoint centre{GetHorizAxis()->CalcXPosValue(XValues().ValueAt(Index) + d),
                            GetVertAxis()->CalcYPosValue(ZValues().ValueAt(Index) + d)};
        Position.LeftTop = {centre.x - Position.Width / 2, centre.y - Position.Height / 2};
        Position.ArrowFrom = Position.ArrowTo = centre;
    }
    TCustom3DGridSeries::PaintMark(Index, Text, Position);
}

// ---- Click test --------------------------------------------------------------------------------------------

int TColorGridSeries::PointAtPixel(int X, int Y) const
{
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (!h || !v || PointCount() == 0 || IndexColumns() == 0) return -1;
    const double xv = h->PixelToValue(X), zv = v->PixelToValue(Y);
    if (!IrregularGrid()) {
        // Floored, so that a click just before the first cell is not taken for it.
        const double d = FCenteredPoints ? 0.5 : 0;
        const double row = std::floor(zv + d - ZValues().LowestValue());
        const double column = std::floor(xv + d - XValues().LowestValue());
        if (!(row >= 0 && row < NumZValues() && column >= 0 && column < NumXValues())) return -1;
        return GridIndex(static_cast<int>(column) + 1, static_cast<int>(row) + 1);
    }
    // As the irregular cells are drawn: from a point to the next column's X and the next row's Z.
    const std::vector<double>& xs = IrregularXs();
    const std::vector<double>& zs = IrregularZs();
    if (xs.size() < 3 || zs.size() < 3) return -1;
    const auto column = std::upper_bound(xs.begin() + 1, xs.end(), xv) - xs.begin() - 1;
    const auto row = std::upper_bound(zs.begin() + 1, zs.end(), zv) - zs.begin() - 1;
    if (column < 1 || row < 1 || column >= NumXValues() || row >= NumZValues()) return -1;
    const int c = static_cast<int>(column), r = static_cast<int>(row);
    if (GridIndex(c + 1, r) < 0 || GridIndex(c, r + 1) < 0) return -1;
    return GridIndex(c, r);
}

// ---- Picture, gallery ------------------------------------------------------------------------------------

void TColorGridSeries::LoadFromGraphic(const TGraphic& Graphic)
{
    const TPixelBuffer pixels = Graphic.ToPixels();
    FBitmap->SetSize(0, 0);
    BeginDataUpdate();
    try {
        ClearPoints();
        SetCenteredPoints(true);
        SetNumXValues(pixels.Width);
        SetNumZValues(pixels.Height);
        for (int i = 0; i < pixels.Width; ++i)
            for (int j = 0; j < pixels.Height; ++j) {
                // 0x00RRGGBB to a colour value 0x00BBGGRR.
                const std::uint32_t rgb = pixels.At(i, j) & 0xFFFFFF;
                const TColor c = static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
                AppendXYZWithLabel(i + 1, c, j + 1, {}, c);
            }
    } catch (...) {
        EndDataUpdate();
        throw;
    }
    EndDataUpdate();
}

void TColorGridSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DGridSeries::ListGalleryStyles(Callback);
    Callback(LumProCo::NoGrid);
}

void TColorGridSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    if (Index == 2)
        Series->Pen().SetVisible(false);
    else
        TCustom3DGridSeries::ApplyGalleryStyle(Series, Index);
}

void TColorGridSeries::PrepareForGallery(bool Coloured)
{
    TCustom3DGridSeries::PrepareForGallery(Coloured);
    SetSampleMode(true);
    GenerateGrid(8, 4);
}

void TColorGridSeries::SetParentView3D(bool Value)
{
    TCustom3DGridSeries::SetParentView3D(Value);
    if (TCustomAxisPanel* chart = ParentChart()) {
        chart->SetView3D(Value);
        chart->SetClipPoints(true);
    }
}
