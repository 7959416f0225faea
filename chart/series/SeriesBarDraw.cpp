// The bar series' drawing: each bar's screen rectangle, the thirteen shapes flat and in 3-D, gradient,
// bevel and tick-line decorations, the placement of the marks beside the bar ends, and the test that
// finds the bar under a screen point.
#include "chart/series/SeriesBar.h"

#include "chart/base/RadErareUtils.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// A filled polygon: at depth Z in 3-D, flat otherwise.
void FillPolygon(TCanvas3D& Canvas, bool In3D, std::span<const TPoint> Points, int Z)
{
    if (In3D)
        Canvas.DrawPolygonAtZ(Points, Z);
    else
        Canvas.DrawPolygonPoints(Points);
}

// A cylinder with four sides: a square prism turned by 45 degrees; the side count is restored after.
void DrawSlantCube(TCanvas3D& Canvas, bool Vertical, const TRect& R, int Z0, int Z1, bool Dark)
{
    int& sides = LumCanvasModule().CylinderSideCount;
    const int saved = sides;
    sides = 4;
    try {
        Canvas.DrawCylinderShape(Vertical, R.Left, R.Top, R.Right, R.Bottom, Z0, Z1, Dark);
    } catch (...) {
        sides = saved;
        throw;
    }
    sides = saved;
}

bool IsBoxStyle(TBarStyle Style) { return Style == bsRectangle || Style == bsRectGradient || Style == bsBevel; }

} // namespace

// ---- Common steps ----------------------------------------------------------------------------------------

TBarStyle TCustomBarSeries::BarStyleOf(int Index)
{
    TBarStyle style = FBarStyle;
    if (OnGetBarStyle) OnGetBarStyle(this, Index, style);
    return style;
}

int TCustomBarSeries::PenExtra(bool AtLeastOne) const
{
    if (!BarPen().Visible()) return 0;
    return AtLeastOne ? std::max(1, BarPen().Width()) : BarPen().Width();
}

void TCustomBarSeries::PaintPoint(int Index)
{
    TChartSeries::PaintPoint(Index);
    FCurrentBarColor = PointColor(Index);
    if (FCurrentBarColor == clNone || !ParentChart()) return;
    CalcBarBounds(Index);
    const TRect& b = FBarBounds;
    if (YMandatory())
        PaintBar(Index, std::min(b.Top, b.Bottom), std::max(b.Top, b.Bottom));
    else
        PaintBar(Index, std::min(b.Left, b.Right), std::max(b.Left, b.Right));
}

void TCustomBarSeries::SelectBarBrushAndPen()
{
    TCustomAxisPanel* chart = ParentChart();
    chart->ChartCanvas().SelectPen(BarPen());
    const TColor back = BarBrush().Color() == clDefault ? chart->Color() : BarBrush().Color();
    chart->SelectBrushContrast(FCurrentBarColor, BarBrush(), back);
}

// With a solid brush a bar too thin for its pen still shows in its colour: a line for no thickness, an
// outline for less than the pen's width.
void TCustomBarSeries::DrawBarRect(int Left, int Top, int Right, int Bottom)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    if (canvas.Brush().Style() != bsSolid) {
        canvas.DrawRectangleBox(Left, Top, Right, Bottom);
        return;
    }
    const int penWidth = canvas.Pen().Width();
    auto penInBrushColour = [&canvas] {
        canvas.Pen().SetColor(canvas.Brush().Color());
        if (canvas.Pen().Style() == psClear) canvas.Pen().SetStyle(psSolid);
    };
    if (Left == Right || Top == Bottom) {
        penInBrushColour();
        canvas.DrawLineXY(Left, Top, Right, Bottom);
    } else if (std::abs(std::int64_t(Right) - Left) < penWidth || std::abs(std::int64_t(Bottom) - Top) < penWidth) {
        penInBrushColour();
        canvas.Brush().SetStyle(bsClear);
        canvas.DrawRectangleBox(Left, Top, Right, Bottom);
    } else {
        canvas.DrawRectangleBox(Left, Top, Right, Bottom);
    }
}

void TCustomBarSeries::PrepareBarGradient(int Index)
{
    TColor end = FCurrentBarColor;
    if (FGradient->Relative()) {
        const double base = FUseYOrigin ? FYOrigin : MandatoryValues().LowestValue();
        const double span = MandatoryValues().HighestValue() - base;
        const double t = span != 0 ? (MandatoryValueAt(Index) - base) / span : 1;
        const TColor start = ColorToRGB(FGradient->StartColor()), bar = ColorToRGB(FCurrentBarColor);
        end = 0;
        for (int k = 0; k < 3; ++k) {
            const int s = (start >> (8 * k)) & 0xFF, b = (bar >> (8 * k)) & 0xFF;
            const int c = std::clamp(s + PixelFromReal((b - s) * t), 0, 255);
            end |= static_cast<TColor>(c) << (8 * k);
        }
    }
    FGradient->SetEndColor(end);
}

void TCustomBarSeries::DrawGradientBar(int Index, const TRect& Rect)
{
    PrepareBarGradient(Index);
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const bool pen = BarPen().Visible();
    const int w = BarPen().Width();
    TRect r = Rect;
    if (chart->View3D() && !chart->View3DOptions().Orthogonal()) {
        TFourPoints p = canvas.ProjectRectCorners(r, StartZ());
        if (pen) {
            p[0] = {p[0].x + w, p[0].y + w};
            p[1] = {p[1].x - w, p[1].y + w};
            p[2] = {p[2].x - w, p[2].y - w};
            p[3] = {p[3].x + w, p[3].y - w};
        }
        FGradient->FillQuad(canvas, {p[0], p[1], p[2], p[3]});
        return;
    }
    if (pen) {
        const int inset = chart->View3D() ? w - 1 : w;
        r = {r.Left + 1, r.Top + 1, r.Right - inset, r.Bottom - inset};
    }
    if (chart->View3D()) r = canvas.ProjectRect(r, StartZ());
    FGradient->DrawRect(canvas, r);
}

void TCustomBarSeries::DrawBevel()
{
    TCustomAxisPanel* chart = ParentChart();
    const bool in3D = chart->View3D();
    if (in3D && !chart->View3DOptions().Orthogonal()) return;
    TRect r = SortRectCorners(FBarBounds);
    if (BarPen().Visible()) {
        const int w = BarPen().Width();
        r = {r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
        if (in3D) r = {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
    }
    TCanvas3D& canvas = chart->ChartCanvas();
    // The frame lies on the bar's front face.
    if (in3D) r = canvas.ProjectRect(r, StartZ());
    canvas.DrawBevelFrame(r, LightenColorBy(FCurrentBarColor, 128), DarkenColorBy(FCurrentBarColor, 64), FBevelSize);
}

void TCustomBarSeries::DrawTickLines(int Low, int High, TBarStyle Style)
{
    if (!FTickLines->Visible()) return;
    ParentChart()->ChartCanvas().SelectPen(*FTickLines);
    const TChartAxis* axis = MandatoryAxis();
    if (!axis) return;
    for (int p : axis->TickPositions)
        if (Low < p && p < High) DrawTickLine(p, Style);
}

// ---- Vertical bars -------------------------------------------------------------------------------------

void TBarSeries::CalcBarBounds(int Index)
{
    const int w = BarPixelWidth();
    const int left = ScreenXOf(Index);
    const int extra = PenExtra(true);
    std::int64_t right = std::int64_t(left) + w + 1;
    if (BarWidthPercent() == 100 && CustomBarWidth() == 0 && MultiBar() != mbSelfStack) {
        // Touching bars: each reaches the next one's edge; the last keeps its own width.
        const TChartAxis* axis = GetHorizAxis();
        if (axis && axis->Inverted())
            right = Index > 0 ? ScreenXOf(Index - 1) : std::int64_t(left) + w + extra;
        else if (Index < PointCount() - 1)
            right = std::int64_t(ScreenXOf(Index + 1)) + 1 - extra / 2;
        else
            right = std::int64_t(left) + w + 1 - extra / 2;
    }
    TRect r{left, ScreenYOf(Index), ClampedPixel(right), BarOriginPixel(Index)};
    if (!BarPen().Visible()) {
        (r.Top > r.Bottom ? r.Top : r.Bottom) += 1;
        r.Right += 1;
    }
    SetBarBounds(r);
}

void TBarSeries::PaintBar(int Index, int Upper, int Lower)
{
    SelectBarBrushAndPen();
    const TBarStyle style = BarStyleOf(Index);
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const bool in3D = chart->View3D();
    const TRect& b = BarBounds();
    const int L = b.Left, R = b.Right, xm = (L + R) / 2, ym = (Upper + Lower) / 2;
    const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
    const bool dark = Dark3D();
    auto triangle = [&](int Base, int Apex) {
        const std::array<TPoint, 3> p{TPoint{L, Base}, TPoint{xm, Apex}, TPoint{R, Base}};
        canvas.DrawPolygonPoints(p);
    };
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (in3D)
            canvas.DrawBoxShape(L, R, Upper, Lower, z0, z1, dark);
        else
            DrawBarRect(b);
        break;
    case bsPyramid:
    case bsCone:
    case bsInvPyramid:
    case bsInvCone: {
        // The plain kinds point up, whatever the sign of the value; the inverted ones down.
        const bool up = style == bsPyramid || style == bsCone;
        const int top = up ? Upper : Lower, bottom = up ? Lower : Upper;
        if (!in3D)
            triangle(bottom, top);
        else if (style == bsPyramid || style == bsInvPyramid)
            canvas.DrawPyramidShape(true, L, top, R, bottom, z0, z1, dark);
        else
            canvas.DrawConeShape(true, L, top, R, bottom, z0, z1, dark, 0);
        break;
    }
    case bsCilinder:
        if (in3D)
            canvas.DrawCylinderShape(true, L, Upper, R, Lower, z0, z1, dark);
        else
            DrawBarRect(b);
        break;
    case bsEllipse:
        if (in3D)
            canvas.DrawEllipseAtZ(L, b.Top, R, b.Bottom, zm);
        else
            canvas.DrawEllipseBox(L, b.Top, R, b.Bottom);
        break;
    case bsArrow: canvas.DrawArrow(true, {xm, Lower}, {xm, Upper}, R - L, (R - L) / 2, zm); break;
    case bsInvArrow: canvas.DrawArrow(true, {xm, Upper}, {xm, Lower}, R - L, (R - L) / 2, zm); break;
    case bsSlantCube:
        if (in3D) {
            DrawSlantCube(canvas, true, {L, Upper, R, Lower}, z0, z1, dark);
        } else {
            DrawBarRect(b);
            canvas.DrawVertLine(xm, b.Top, b.Bottom);
        }
        break;
    case bsDiamond: {
        const std::array<TPoint, 4> p{TPoint{xm, Upper}, TPoint{R, ym}, TPoint{xm, Lower}, TPoint{L, ym}};
        FillPolygon(canvas, in3D, p, zm);
        break;
    }
    }
    if (style == bsRectGradient) DrawGradientBar(Index, {L, Upper, R, Lower});
    if (style == bsBevel) DrawBevel();
    DrawTickLines(Upper, Lower, style);
}

void TBarSeries::DrawTickLine(int Pixel, TBarStyle Style)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TRect& b = BarBounds();
    const int L = b.Left, R = b.Right;
    if (Style == bsArrow) {
        const int q = (R - L) / 4;
        canvas.DrawHorizLineAtZ(L + q, R - q, Pixel, MiddleZ());
        return;
    }
    if (!IsBoxStyle(Style)) return;
    canvas.DrawHorizLineAtZ(L, R, Pixel, StartZ());
    if (!chart->View3D()) return;
    // The tick goes on along the side face that shows: the right one, else the left one.
    const int upper = std::min(b.Top, b.Bottom), lower = std::max(b.Top, b.Bottom);
    auto culled = [&](int X) {
        return IsTriangleCulled(canvas.ProjectXYZ(X, lower, StartZ()), canvas.ProjectXYZ(X, lower, EndZ()),
                                canvas.ProjectXYZ(X, upper, EndZ()));
    };
    if (!culled(R))
        canvas.DrawDepthLine(R, Pixel, EndZ(), StartZ());
    else if (culled(L))
        canvas.DrawDepthLine(L, Pixel, EndZ(), StartZ());
}

void TBarSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    const int h = BarPixelWidth() / 2;
    const int distance = Marks().Callout().Distance();
    const int s = Marks().Callout().Length() + distance;
    int d;
    if (BarOriginPixel(Index) < Position.ArrowFrom.y) {
        // The bar grows downward: the mark goes below its end.
        d = -s - Position.Height;
        Position.ArrowFrom.y += distance;
    } else {
        d = s;
        Position.ArrowFrom.y -= distance;
    }
    Position.LeftTop = {Position.LeftTop.x + h, Position.LeftTop.y - d};
    Position.ArrowTo = {Position.ArrowTo.x + h, Position.ArrowTo.y - d};
    Position.ArrowFrom.x += h;
    if (AutoMarkPosition()) Marks().ShiftToAvoidOverlap(FirstVisible(), Index, Position);
    TCustomBarSeries::PaintMark(Index, Text, Position);
}

bool TBarSeries::BarContains(int Index, TPoint P) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    const bool in3D = chart->View3D();
    const int x0 = ScreenXOf(Index), w = BarPixelWidth();
    const std::int64_t x1 = std::int64_t(x0) + w;
    if (!in3D && (P.x < x0 || P.x > x1)) return false;
    int a = ScreenYOf(Index), b = BarOriginPixel(Index);
    if (a > b) std::swap(a, b);
    TCanvas3D& canvas = chart->ChartCanvas();
    const TBarStyle style = const_cast<TBarSeries*>(this)->BarStyleOf(Index);
    if (style == bsPyramid || style == bsCone || style == bsInvPyramid || style == bsInvCone) {
        const bool up = style == bsPyramid || style == bsCone;
        const int base = up ? b : a, apex = up ? a : b;
        if (in3D) {
            const std::array<TPoint, 3> t{canvas.ProjectXYZ(x0, base, StartZ()),
                                          canvas.ProjectXYZ(ClampedPixel(x1), base, StartZ()),
                                          canvas.ProjectXYZ(x0 + w / 2, apex, MiddleZ())};
            return PolygonContainsPoint(P, t, 2);
        }
        return VertTriangleContainsPoint(P, x0, ClampedPixel(x1), apex, base);
    }
    if (in3D) {
        canvas.UnprojectPoint(P.x, P.y, StartZ());
        if (P.x < x0 || P.x > x1) return false;
    }
    if (style == bsEllipse) return EllipseContainsPoint(P, x0, a, ClampedPixel(x1), b);
    return a <= P.y && P.y <= b;
}

// ---- Horizontal bars -----------------------------------------------------------------------------------

void THorizBarSeries::CalcBarBounds(int Index)
{
    const int w = BarPixelWidth();
    const int top = ScreenYOf(Index);
    const int extra = PenExtra(false);
    std::int64_t bottom = std::int64_t(top) + w - 1;
    if (BarWidthPercent() == 100 && CustomBarWidth() == 0 && MultiBar() != mbSelfStack) {
        const TChartAxis* axis = GetVertAxis();
        const bool inverted = axis && axis->Inverted();
        const int neighbour = inverted ? Index + 1 : Index - 1;
        if (neighbour >= 0 && neighbour < PointCount())
            bottom = ScreenYOf(neighbour);
        else
            bottom = std::int64_t(top) + w - extra;
    }
    TRect r{BarOriginPixel(Index), top, ScreenXOf(Index), ClampedPixel(bottom)};
    if (!BarPen().Visible()) {
        if (r.Right > r.Left) {
            r.Right += 1;
        } else {
            r.Left += 1;
            r.Right -= 1;
        }
        r.Bottom += 1;
    }
    SetBarBounds(r);
}

void THorizBarSeries::PaintBar(int Index, int Left, int Right)
{
    SelectBarBrushAndPen();
    const TBarStyle style = BarStyleOf(Index);
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const bool in3D = chart->View3D();
    const TRect& b = BarBounds();
    const int T = b.Top, B = b.Bottom, ym = (T + B) / 2, xm = (Left + Right) / 2, h = B - T;
    const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
    const bool dark = Dark3D();
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (in3D)
            canvas.DrawBoxShape(Left, Right, T, B, z0, z1, dark);
        else
            DrawBarRect(b);
        break;
    case bsPyramid:
    case bsCone:
    case bsInvPyramid:
    case bsInvCone: {
        // The plain kinds point right, the inverted ones left.
        const bool right = style == bsPyramid || style == bsCone;
        const int base = right ? Left : Right, apex = right ? Right : Left;
        if (!in3D) {
            const std::array<TPoint, 3> p{TPoint{base, T}, TPoint{apex, ym}, TPoint{base, B}};
            canvas.DrawPolygonPoints(p);
        } else if (style == bsPyramid || style == bsInvPyramid) {
            canvas.DrawPyramidShape(false, base, T, apex, B, z0, z1, dark);
        } else {
            canvas.DrawConeShape(false, base, T, apex, B, z0, z1, dark, 0);
        }
        break;
    }
    case bsCilinder:
        if (in3D)
            canvas.DrawCylinderShape(false, Left, T, Right, B, z0, z1, dark);
        else
            DrawBarRect(b);
        break;
    case bsEllipse:
        if (in3D)
            canvas.DrawEllipseAtZ(b.Left, T, b.Right, B, zm);
        else
            canvas.DrawEllipseBox(b.Left, T, b.Right, B);
        break;
    case bsArrow: canvas.DrawArrow(true, {Left, ym}, {Right, ym}, h, h / 2, zm); break;
    case bsInvArrow: canvas.DrawArrow(true, {Right, ym}, {Left, ym}, h, h / 2, zm); break;
    case bsSlantCube:
        if (in3D) {
            DrawSlantCube(canvas, false, {Left, T, Right, B}, z0, z1, dark);
        } else {
            DrawBarRect(b);
            canvas.DrawHorizLine(b.Left, b.Right, ym);
        }
        break;
    case bsDiamond: {
        const std::array<TPoint, 4> p{TPoint{Left, ym}, TPoint{xm, T}, TPoint{Right, ym}, TPoint{xm, B}};
        FillPolygon(canvas, in3D, p, zm);
        break;
    }
    }
    if (style == bsRectGradient) DrawGradientBar(Index, {Left, T, Right, B});
    if (style == bsBevel) DrawBevel();
    DrawTickLines(Left, Right, style);
}

void THorizBarSeries::DrawTickLine(int Pixel, TBarStyle Style)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TRect& b = BarBounds();
    const int T = b.Top, B = b.Bottom;
    if (Style == bsArrow) {
        const int q = (B - T) / 4;
        canvas.DrawVertLineAtZ(Pixel, T + q, B - q, MiddleZ());
        return;
    }
    if (!IsBoxStyle(Style)) return;
    canvas.DrawVertLineAtZ(Pixel, T, B, StartZ());
    if (!chart->View3D()) return;
    // The tick goes on along the face that shows: the top one, else the bottom one.
    const int left = std::min(b.Left, b.Right), right = std::max(b.Left, b.Right);
    auto culled = [&](int Y) {
        return IsTriangleCulled(canvas.ProjectXYZ(left, Y, StartZ()), canvas.ProjectXYZ(left, Y, EndZ()),
                                canvas.ProjectXYZ(right, Y, EndZ()));
    };
    if (!culled(T))
        canvas.DrawDepthLine(Pixel, B, EndZ(), StartZ());
    else if (culled(B))
        canvas.DrawDepthLine(Pixel, T, EndZ(), StartZ());
}

void THorizBarSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    const int h = BarPixelWidth() / 2;
    const int distance = Marks().Callout().Distance();
    const int s = Marks().Callout().Length() + distance;
    int d;
    if (BarOriginPixel(Index) > Position.ArrowFrom.x) {
        // The bar grows leftward: the mark goes left of its end.
        d = -s - Position.Width;
        Position.ArrowFrom.x -= distance;
    } else {
        d = s;
        Position.ArrowFrom.x += distance;
    }
    Position.LeftTop = {Position.LeftTop.x + d + Position.Width / 2, Position.LeftTop.y + Position.Height / 2 + h};
    Position.ArrowTo = {Position.ArrowTo.x + d, Position.ArrowTo.y + h};
    Position.ArrowFrom.y += h;
    TCustomBarSeries::PaintMark(Index, Text, Position);
}

bool THorizBarSeries::BarContains(int Index, TPoint P) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    const bool in3D = chart->View3D();
    const int y0 = ScreenYOf(Index), w = BarPixelWidth();
    const std::int64_t y1 = std::int64_t(y0) + w;
    if (!in3D && (P.y < y0 || P.y > y1)) return false;
    int a = ScreenXOf(Index), b = BarOriginPixel(Index);
    if (a > b) std::swap(a, b);
    TCanvas3D& canvas = chart->ChartCanvas();
    const TBarStyle style = const_cast<THorizBarSeries*>(this)->BarStyleOf(Index);
    if (style == bsPyramid || style == bsCone || style == bsInvPyramid || style == bsInvCone) {
        const bool right = style == bsPyramid || style == bsCone;
        const int base = right ? a : b, apex = right ? b : a;
        if (in3D) {
            const std::array<TPoint, 3> t{canvas.ProjectXYZ(base, y0, StartZ()),
                                          canvas.ProjectXYZ(base, ClampedPixel(y1), StartZ()),
                                          canvas.ProjectXYZ(apex, y0 + w / 2, MiddleZ())};
            return PolygonContainsPoint(P, t, 2);
        }
        return HorizTriangleContainsPoint(P, y0, ClampedPixel(y1), apex, base);
    }
    if (in3D) {
        canvas.UnprojectPoint(P.x, P.y, StartZ());
        if (P.y < y0 || P.y > y1) return false;
    }
    if (style == bsEllipse) return EllipseContainsPoint(P, a, y0, b, ClampedPixel(y1));
    return a <= P.x && P.x <= b;
}

// ---- Click test ----------------------------------------------------------------------------------------

int TCustomBarSeries::PointAtPixel(int X, int Y) const
{
    if (FirstVisible() < 0 || LastVisible() < 0) return -1;
    const int last = std::min(LastVisible(), PointCount() - 1);
    for (int i = FirstVisible(); i <= last; ++i)
        if (BarContains(i, {X, Y})) return i;
    return -1;
}
