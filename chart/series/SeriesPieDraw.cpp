// Drawing the pie: the pass that shrinks the pie for its most exploded slice and draws the shadow, the
// slices flat (chained wedges or ring segments) or as 3-D solids back to front, pens darkened by
// DarkPen, hatch patterns, the legend symbol, the marks around the pie and the slice under a pixel.
#include "chart/series/SeriesPie.h"

#include "chart/base/LumCanvasHelpers.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/series/SeriesLine.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

// ---- The drawing pass ----------------------------------------------------------------------------------

void TPieSeries::PaintAllPoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (FExplodeBiggest > 0) CalcExplodeBiggest();
    EnsureAngles();
    const int first = FirstVisible(), last = LastVisible();
    int most = -1;
    for (int i = std::max(0, first); i <= last && i < PointCount(); ++i)
        if (FExplodePercents.ValueAt(i) > 0 && (most < 0 || FExplodePercents.ValueAt(i) > FExplodePercents.ValueAt(most)))
            most = i;
    FRadialFaces = most >= 0;
    if (FRadialFaces) {
        // The whole pie gets smaller, so that the most exploded slice stays inside the former circle.
        const TPoint d = ExplodeOffset(most);
        TRect r = CircleRect();
        r.Left += std::abs(d.x) / 2;
        r.Right -= std::abs(d.x) / 2;
        r.Top += std::abs(d.y) / 2;
        r.Bottom -= std::abs(d.y) / 2;
        SetCircleRect(r);
        AdjustCircleRect();
        ComputeRadii();
    }
    FWedgeStart = PolarToScreen(0, XRadius(), YRadius());
    TCanvas3D& canvas = chart->ChartCanvas();
    FShadow->DrawEllipseShadow(canvas, CircleRect(), EndZ() - 10);
    if (!chart->View3D() || (!FRadialFaces && FDonutPercent <= 0)) {
        TCircledSeries::PaintAllPoints();
    } else if (first >= 0) {
        FDrawOrder.clear();
        for (int i = first; i <= last && i < PointCount(); ++i) FDrawOrder.push_back(i);
        SortByCallbacks(
            0, static_cast<int>(FDrawOrder.size()) - 1,
            [this](int A, int B) {
                return CompareSliceDepth(FDrawOrder[static_cast<std::size_t>(A)], FDrawOrder[static_cast<std::size_t>(B)]);
            },
            [this](int A, int B) { std::swap(FDrawOrder[static_cast<std::size_t>(A)], FDrawOrder[static_cast<std::size_t>(B)]); });
        // A donut ring that is not closed shows its flat faces at its two open ends.
        const bool openEnds = FDonutPercent > 0 && FAngleSize != 360 && !FRadialFaces;
        for (const int i : FDrawOrder) {
            const bool end = openEnds && (i == first || i == last);
            if (end) FRadialFaces = true;
            PaintPoint(i);
            if (end) FRadialFaces = false;
        }
        FDrawOrder.clear();
    }
    TChartLegend* legend = FOtherSlice->LegendIfAny();
    if (legend && legend->Visible() && dynamic_cast<TCustomChart*>(chart)) {
        // While it draws, the legend entries are the grouped points.
        FCurrentLegend = legend;
        try {
            legend->DrawLegend();
        } catch (...) {
            FCurrentLegend = nullptr;
            throw;
        }
        FCurrentLegend = nullptr;
    }
}

int TPieSeries::CompareSliceDepth(int A, int B) const
{
    const double full = FAngleSize * std::numbers::pi / 180;
    const double back = full * 0.25;
    auto distance = [&](int i) {
        const std::size_t k = static_cast<std::size_t>(i);
        double m = (k < FAngles.size() ? FAngles[k].MiddleAngle : 0) + RotationRadians();
        if (m > full) m -= full;
        if (m <= back) return back - m;
        const double r = m - back;
        return r > std::numbers::pi ? full - r : r;
    };
    const double a = distance(A), b = distance(B);
    return a < b ? -1 : (a > b ? 1 : 0);
}

TPoint TPieSeries::ExplodeOffset(int Index) const
{
    if (!FRadialFaces || FExplodePercents.Count() == 0) return {0, 0};
    const int e = FExplodePercents.ValueAt(Index);
    if (e <= 0 || Index < 0 || static_cast<std::size_t>(Index) >= FAngles.size()) return {0, 0};
    const double a = FAngles[static_cast<std::size_t>(Index)].MiddleAngle + RotationRadians();
    return {PixelFromReal(std::cos(a) * XRadius() * e * 0.01), PixelFromReal(std::sin(a) * YRadius() * e * 0.01)};
}

// ---- One slice -----------------------------------------------------------------------------------------

TColor TPieSeries::SliceColor(int Index) const
{
    const TCustomAxisPanel* chart = ParentChart();
    return chart && chart->Monochrome() ? clBlack : PointColor(Index);
}

void TPieSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || CircleWidth() < 5 || CircleHeight() < 5 || IsGrouped(Index)) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    Brush().SetStyle(SlicePattern(Index));
    const TColor c = SliceColor(Index);
    if (c == clNone) {
        canvas.Brush().SetStyle(bsClear);
    } else {
        chart->SelectBrushContrast(c, Brush(), EffectiveCircleBackColor());
        if (Gradient().Visible()) Gradient().SetEndColor(c);
    }
    SelectSlicePen(Index);
    PaintSlice(Index);
}

TBrushStyle TPieSeries::SlicePattern(int Index) const
{
    const TCustomAxisPanel* chart = ParentChart();
    if ((FUsePatterns || (chart && chart->Monochrome())) && Index != -1) return BrushPatternOf(Index);
    return bsSolid;
}

void TPieSeries::SelectSlicePen(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    if (FDarkPen <= 0) {
        canvas.SelectPen(PiePen());
        return;
    }
    // Above 255 the border takes the slice colour unchanged, as at 255.
    const int amount = std::max(0, 255 - FDarkPen);
    canvas.SelectPenColor(PiePen(), DarkenColorBy(PointColor(Index), amount));
}

void TPieSeries::PaintSlice(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    EnsureAngles();
    if (Index < 0 || static_cast<std::size_t>(Index) >= FAngles.size()) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const TPoint d = ExplodeOffset(Index);
    const TPieAngle& angle = FAngles[static_cast<std::size_t>(Index)];
    const double a = angle.FromAngle + RotationRadians(), b = angle.ToAngle + RotationRadians();
    const int cx = CircleXCenter() + d.x, cy = CircleYCenter() - d.y;
    if (chart->View3D()) {
        canvas.DrawPieSlice3D(cx, cy, XRadius(), YRadius(), StartZ(), EndZ(), a, b, FDark3D, FRadialFaces, FDonutPercent,
                              Gradient().Visible() ? &Gradient() : nullptr);
        return;
    }
    if (FDonutPercent > 0) {
        canvas.DrawRingSegment(cx, cy, XRadius(), YRadius(), a, b, FDonutPercent);
        return;
    }
    const TPoint e = PolarToScreen(angle.ToAngle, XRadius(), YRadius());
    // Start and end on one pixel: a whole circle, or a slice too thin to show.
    if (e == FWedgeStart && PointCount() > 1 && angle.ToAngle - angle.FromAngle <= 1) return;
    const TRect& r = CircleRect();
    canvas.DrawPieWedge(r.Left + d.x, r.Top - d.y, r.Right + d.x, r.Bottom - d.y, FWedgeStart.x + d.x, FWedgeStart.y - d.y,
                        e.x + d.x, e.y - d.y);
    FWedgeStart = e;
}

// ---- Legend symbol and marks ---------------------------------------------------------------------------

void TPieSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    TCustomAxisPanel* chart = ParentChart();
    const TColor c = SliceColor(Index);
    if (!chart || !Gradient().Visible() || c == clNone) {
        TCircledSeries::PaintLegendShape(Index, Rect);
        return;
    }
    TCanvas3D& canvas = chart->ChartCanvas();
    Gradient().SetEndColor(c);
    Gradient().DrawRect(canvas, Rect);
    SelectSlicePen(Index);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawRect(Rect);
}

void TPieSeries::ExplodedRadii(int Index, int& RX, int& RY) const
{
    const double f = FExplodePercents.ValueAt(Index) * 0.01 + 1;
    RX = PixelFromReal(XRadius() * f);
    RY = PixelFromReal(YRadius() * f);
}

void TPieSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    if (IsGrouped(Index)) return;
    int rx = 0, ry = 0;
    ExplodedRadii(Index, rx, ry);
    EnsureAngles();
    if (Index < 0 || static_cast<std::size_t>(Index) >= FAngles.size()) return;
    const double m = FAngles[static_cast<std::size_t>(Index)].MiddleAngle;
    Marks().SetZPosition(EndZ());
    // A user-placed mark keeps its arrow start on the slice.
    Position.ArrowFix = true;
    const int distance = Marks().Callout().Distance();
    const int l = Marks().Callout().Length() + distance;
    Position.ArrowTo = PolarToScreen(m, double(rx) + l, double(ry) + l);
    Position.ArrowFrom = PolarToScreen(m, double(rx) + distance, double(ry) + distance);
    Position.LeftTop.x = Position.ArrowTo.x > CircleXCenter() ? Position.ArrowTo.x : Position.ArrowTo.x - Position.Width;
    Position.LeftTop.y = Position.ArrowTo.y > CircleYCenter() ? Position.ArrowTo.y : Position.ArrowTo.y - Position.Height;
    if (FAutoMarkPosition) Marks().ShiftToAvoidOverlap(FirstVisible(), Index, Position);
    TCircledSeries::PaintMark(Index, Text, Position);
}

// ---- Click test ----------------------------------------------------------------------------------------

int TPieSeries::PointAtPixel(int X, int Y) const
{
    const int inherited = TCircledSeries::PointAtPixel(X, Y);
    return inherited != -1 ? inherited : SliceAtPoint(X, Y, true);
}

int TPieSeries::SliceAtPoint(int X, int Y, bool WithExplode) const
{
    if (FAngles.empty()) return -1;
    TCustomAxisPanel* chart = ParentChart();
    const int n = std::min(PointCount(), static_cast<int>(FAngles.size()));
    std::array<TPoint, 32> polygon;
    for (int i = 0; i < n; ++i) {
        const TPoint d = WithExplode ? ExplodeOffset(i) : TPoint{0, 0};
        const TPieAngle& a = FAngles[static_cast<std::size_t>(i)];
        polygon[0] = PolarToScreen(a.FromAngle, XRadius(), YRadius());
        polygon[1] = {CircleXCenter(), CircleYCenter()};
        for (int k = 0; k < 30; ++k)
            polygon[static_cast<std::size_t>(2 + k)] =
                PolarToScreen(a.ToAngle - k * (a.ToAngle - a.FromAngle) / 30, XRadius(), YRadius());
        for (TPoint& p : polygon) {
            p = {p.x + d.x, p.y - d.y};
            if (chart) p = chart->ChartCanvas().ProjectXYZ(p.x, p.y, EndZ());
        }
        if (PolygonContainsPoint({X, Y}, polygon, 31)) return i;
    }
    return -1;
}
