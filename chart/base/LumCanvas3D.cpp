// The device canvas in depth: the projection's set-up, the simple depth operations, text at depth, and
// the solids (box, cone and cylinder, pyramid, frustum, pie and donut slice, ellipse, arrow, box clip),
// each assembled from projected polygons whose visibility follows the winding of their corners.
#include "chart/base/LumCanvasGdi.h"
#include "chart/base/LumCanvasHelpers.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// ---- Projection set-up ---------------------------------------------------------------------------------

void TLumCanvas3D::SetRotationCentre(int depth, const TRect&, const TRect& chartRect)
{
    FProjection.SetCentre(depth, chartRect, View3DOptions());
    FCX = FProjection.CX;
    FCY = FProjection.CY;
    FCZ = FProjection.CZ;
}

void TLumCanvas3D::ProjectNonOrthogonal(int depth, const TRect& chartRect)
{
    if (!View3DOptions()) return;
    FProjection.Setup(View3DOptions(), true);
    FProjection.Orthogonal = false;
    FProjection.ComputeRotationTerms(View3DOptions());
    FOrthogonal = false;
    SetRotationCentre(depth, chartRect, chartRect);
}

void TLumCanvas3D::FlattenBegin()
{
    FWas3D = FProjection.View3D;
    FProjection.View3D = false;
}

void TLumCanvas3D::FlattenEnd() { FProjection.View3D = FWas3D; }

// ---- Simple depth operations ---------------------------------------------------------------------------

TColor TLumCanvas3D::ReadPixelAtZ(int x, int y, int z)
{
    const TPoint p = ProjectXYZ(x, y, z);
    return ReadPixel(p.x, p.y);
}

void TLumCanvas3D::WritePixelAtZ(int x, int y, int z, TColor color)
{
    const TPoint p = ProjectXYZ(x, y, z);
    if (Pen().Width() != 1) {
        // A wide pen marks the point with a dot of its own width.
        MoveToXY(p.x, p.y);
        LineToXY(p.x, p.y);
    } else {
        WritePixel(p.x, p.y, color);
    }
}

void TLumCanvas3D::MoveToAtZ(int x, int y, int z)
{
    const TPoint p = ProjectXYZ(x, y, z);
    MoveToXY(p.x, p.y);
}

void TLumCanvas3D::LineToAtZ(int x, int y, int z)
{
    const TPoint p = ProjectXYZ(x, y, z);
    LineToXY(p.x, p.y);
}

void TLumCanvas3D::DrawLineAtZ(int x0, int y0, int x1, int y1, int z)
{
    MoveToAtZ(x0, y0, z);
    LineToAtZ(x1, y1, z);
}

void TLumCanvas3D::DrawHorizLineAtZ(int x0, int x1, int y, int z) { DrawLineAtZ(x0, y, x1, y, z); }
void TLumCanvas3D::DrawVertLineAtZ(int x, int y0, int y1, int z) { DrawLineAtZ(x, y0, x, y1, z); }

void TLumCanvas3D::DrawDepthLine(int x, int y, int z0, int z1)
{
    MoveToAtZ(x, y, z0);
    LineToAtZ(x, y, z1);
}

namespace {
TPointArray ProjectAll(TCanvas3D& c, std::span<const TPoint> points, int z)
{
    TPointArray out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) out[i] = c.ProjectXYZ(points[i].x, points[i].y, z);
    return out;
}
} // namespace

void TLumCanvas3D::DrawPolygonAtZ(std::span<const TPoint> points, int z) { DrawPolygonPoints(ProjectAll(*this, points, z)); }
void TLumCanvas3D::DrawPolylineAtZ(std::span<const TPoint> points, int z) { DrawPolylinePoints(ProjectAll(*this, points, z)); }

void TLumCanvas3D::DrawTriangleAtZ(TPoint p1, TPoint p2, TPoint p3, int z)
{
    const TPoint pts[3] = {p1, p2, p3};
    DrawPolygonAtZ(pts, z);
}

void TLumCanvas3D::DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color0, TColor, TColor)
{
    if (Brush().Style() != bsClear) Brush().SetColor(color0);
    const TPoint pts[3] = {ProjectPoint3D(p0), ProjectPoint3D(p1), ProjectPoint3D(p2)};
    DrawPolygonPoints(pts);
}

// ---- Quads ---------------------------------------------------------------------------------------------

void TLumCanvas3D::FillStoredQuad() { DrawPolygonPoints(FStoredQuad); }

void TLumCanvas3D::StoreProjectedQuad(TPoint3D a, TPoint3D b, TPoint3D c, TPoint3D d)
{
    FStoredQuad = {ProjectPoint3D(a), ProjectPoint3D(b), ProjectPoint3D(c), ProjectPoint3D(d)};
}

void TLumCanvas3D::DrawRectAtDepth(const TRect& r, int z)
{
    StoreProjectedQuad({r.Left, r.Top, z}, {r.Right, r.Top, z}, {r.Right, r.Bottom, z}, {r.Left, r.Bottom, z});
    FillStoredQuad();
}

void TLumCanvas3D::DrawHorizPlane(int x0, int y, int x1, int z0, int z1)
{
    StoreProjectedQuad({x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1});
    FillStoredQuad();
}

void TLumCanvas3D::DrawSidePlane(int x, int y0, int y1, int z0, int z1)
{
    StoreProjectedQuad({x, y0, z0}, {x, y0, z1}, {x, y1, z1}, {x, y1, z0});
    FillStoredQuad();
}

void TLumCanvas3D::DrawPlaneBetweenDepths(TPoint p1, TPoint p2, int z0, int z1)
{
    StoreProjectedQuad({p1.x, p1.y, z0}, {p2.x, p2.y, z0}, {p2.x, p2.y, z1}, {p1.x, p1.y, z1});
    FillStoredQuad();
}

void TLumCanvas3D::DrawQuadAtZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z)
{
    StoreProjectedQuad({p1.x, p1.y, z}, {p2.x, p2.y, z}, {p3.x, p3.y, z}, {p4.x, p4.y, z});
    FillStoredQuad();
}

void TLumCanvas3D::DrawQuadTwoDepths(const std::array<TLumPointF, 4>& p, int z0, int z1)
{
    FStoredQuad = {FProjection.ProjectReal(p[0].x, p[0].y, z0), FProjection.ProjectReal(p[1].x, p[1].y, z0),
                   FProjection.ProjectReal(p[2].x, p[2].y, z1), FProjection.ProjectReal(p[3].x, p[3].y, z1)};
    FillStoredQuad();
}

// ---- Text at depth -------------------------------------------------------------------------------------

void TLumCanvas3D::WriteTextAtZ(int x, int y, int z, const std::string& text)
{
    const TPoint p = ProjectXYZ(x, y, z);
    const double zoom = FProjection.Zoom;
    TFont& font = Font();
    if (!FProjection.ZoomText || zoom == 1) {
        WriteText(p.x, p.y, text);
        return;
    }
    const int size = std::max(1, PixelFromReal(font.Size() * zoom));
    if (size == font.Size()) {
        WriteText(p.x, p.y, text);
        return;
    }
    const TFont previous = font;
    font.SetHeight(-MulDiv(size, font.PixelsPerInch(), 72));
    WriteText(p.x, p.y, text);
    font.Assign(previous);
}

void TLumCanvas3D::WriteRotatedTextAtZ(int x, int y, int z, const std::string& text, double angle)
{
    const TPoint p = ProjectXYZ(x, y, z);
    WriteRotatedText(p.x, p.y, text, angle);
}

// ---- Ellipse -------------------------------------------------------------------------------------------

void TLumCanvas3D::DrawEllipseAtZ(int left, int top, int right, int bottom, int z)
{
    if (!FProjection.View3D) {
        DrawEllipseBox(left, top, right + 1, bottom + 1);
        return;
    }
    if (FProjection.Orthogonal) {
        const TPoint a = ProjectXYZ(left, top, z), b = ProjectXYZ(right, bottom, z);
        DrawEllipseBox(a.x, a.y, b.x, b.y);
        return;
    }
    // Rotated: 64 projected points, a fan of triangles for the fill, a polyline for the outline.
    constexpr int count = 64;
    const int xc = (left + right) / 2, yc = (top + bottom) / 2;
    const int rx = (right - left) / 2, ry = (bottom - top) / 2;
    TPointArray pts(count);
    pts[0] = ProjectXYZ(xc, bottom, z);
    for (int i = 1; i < count; ++i) {
        const double theta = i * 2 * std::numbers::pi / (count - 1);
        pts[static_cast<std::size_t>(i)] =
            ProjectXYZ(xc + PixelFromReal(rx * std::sin(theta)), yc + PixelFromReal(ry * std::cos(theta)), z);
    }
    TPen& pen = Pen();
    if (Brush().Style() != bsClear) {
        const TPenStyle style = pen.Style();
        pen.SetStyle(psClear);
        const TPoint centre = ProjectXYZ(xc, yc, z);
        for (int i = 0; i + 1 < count; ++i) {
            const TPoint tri[3] = {centre, pts[static_cast<std::size_t>(i)], pts[static_cast<std::size_t>(i + 1)]};
            DrawPolygonPoints(tri);
        }
        pen.SetStyle(style);
    }
    if (pen.Style() != psClear) DrawPolylinePoints(pts);
}

// ---- Box -----------------------------------------------------------------------------------------------

namespace {
// The sign of (C - B) x (A - B) of projected points.
int Cross(TPoint a, TPoint b, TPoint c) { return -TurnSign(a, b, c); }
} // namespace

TColor TLumCanvas3D::SolidBaseColor() const
{
    return Brush().Style() == bsSolid ? Brush().Color() : ReadBackColor();
}

void TLumCanvas3D::DrawBoxShape(int left, int right, int top, int bottom, int z0, int z1, bool darkSides)
{
    const TColor c = SolidBaseColor();
    const bool clear = Brush().Style() == bsClear;
    auto face = [&](TPoint3D a, TPoint3D b, TPoint3D cc, TPoint3D d) {
        StoreProjectedQuad(a, b, cc, d);
        return FStoredQuad;
    };
    auto draw = [&](int darken) {
        if (darkSides && darken > 0) SetDarkerBrush(c, darken);
        FillStoredQuad();
    };

    // Front at z0, or else the back at z1.
    TFourPoints q = face({left, top, z0}, {right, top, z0}, {right, bottom, z0}, {left, bottom, z0});
    if (clear || Cross(q[1], q[2], q[3]) > 0) {
        draw(0);
    } else {
        face({left, top, z1}, {right, top, z1}, {right, bottom, z1}, {left, bottom, z1});
        draw(0);
    }
    q = face({right, top, z0}, {right, top, z1}, {right, bottom, z1}, {right, bottom, z0});
    if (clear || Cross(q[1], q[2], q[3]) > 0) draw(DarkerColorAmount);
    q = face({left, top, z0}, {left, top, z1}, {left, bottom, z1}, {left, bottom, z0});
    if (clear || Cross(q[1], q[0], q[3]) > 0) draw(DarkerColorAmount);
    q = face({left, top, z0}, {right, top, z0}, {right, top, z1}, {left, top, z1});
    if (clear || Cross(q[2], q[1], q[0]) > 0) draw(DarkColorAmount);
    q = face({left, bottom, z0}, {left, bottom, z1}, {right, bottom, z1}, {right, bottom, z0});
    if (clear || Cross(q[1], q[2], q[3]) < 0) draw(DarkColorAmount);
}

// ---- Cone and cylinder ---------------------------------------------------------------------------------

void TLumCanvas3D::DrawConeSides(const std::vector<TPoint>& base, const std::vector<TPoint>& top, bool darkSides, TColor c)
{
    const int n = static_cast<int>(base.size());
    const int shadeStep = std::max(1, 256 / (2 * n));
    TPoint p0 = top[0], p1 = base[0];
    for (int k = 1; k < n; ++k) {
        const TPoint bk = base[static_cast<std::size_t>(k)], tk = top[static_cast<std::size_t>(k)];
        if (!IsTriangleCulled(p0, p1, bk)) {
            if (darkSides) SetDarkerBrush(c, shadeStep * (k - 1));
            const TPoint quad[4] = {p0, p1, bk, tk};
            DrawPolygonPoints(quad);
        }
        p0 = tk;
        p1 = bk;
    }
    if (!IsTriangleCulled(top[static_cast<std::size_t>(n - 1)], base[static_cast<std::size_t>(n - 1)], base[0])) {
        const TPoint quad[4] = {top[static_cast<std::size_t>(n - 1)], base[static_cast<std::size_t>(n - 1)], base[0], top[0]};
        DrawPolygonPoints(quad);
    }
}

void TLumCanvas3D::DrawConeShape(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                 bool darkSides, int conePercent)
{
    const int n = std::max(3, LumCanvasModule().CylinderSideCount);
    const TColor c = SolidBaseColor();
    const int zr = (z1 - z0) / 2, zc = (z1 + z0) / 2;
    const int r = vertical ? (right - left) / 2 : (bottom - top) / 2;
    const int centre = vertical ? (right + left) / 2 : (bottom + top) / 2;
    const int topR = PixelFromReal(r * conePercent / 100.0), topZR = PixelFromReal(zr * conePercent / 100.0);
    // The angle offset puts point 1 where the sides start: a quarter turn, one side more for horizontal.
    const int offset = vertical ? n / 4 : n / 4 + 1;
    std::vector<TPoint> base(static_cast<std::size_t>(n)), cap(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) {
        const double theta = (k - offset) * 2 * std::numbers::pi / n;
        const double s = std::sin(theta), co = std::cos(theta);
        const int along = centre + PixelFromReal(s * r), z = zc - PixelFromReal(co * zr);
        const int alongTop = centre + PixelFromReal(s * topR), zTop = zc - PixelFromReal(co * topZR);
        const std::size_t i = static_cast<std::size_t>(k - 1);
        if (vertical) {
            base[i] = ProjectXYZ(along, bottom, z);
            cap[i] = ProjectXYZ(alongTop, top, zTop);
        } else {
            base[i] = ProjectXYZ(left, along, z);
            cap[i] = ProjectXYZ(right, alongTop, zTop);
        }
    }
    DrawConeSides(base, cap, darkSides, c);

    // The cap: the top circle, or for a horizontal solid whose left end faces the viewer the base circle.
    bool baseFaces = false;
    if (!vertical) {
        baseFaces = IsTriangleCulled(ProjectXYZ(0, 0, 0), ProjectXYZ(0, 0, 10), ProjectXYZ(0, 10, 10));
    }
    if (darkSides) SetDarkerBrush(c, DarkColorAmount);
    DrawPolygonPoints(baseFaces ? base : cap);
}

// ---- Pyramid -------------------------------------------------------------------------------------------

void TLumCanvas3D::DrawVerticalPyramid(int left, int top, int right, int bottom, int z0, int z1, bool darkSides, TColor c)
{
    const bool up = top < bottom;
    const int xc = (left + right) / 2, zc = (z0 + z1) / 2;
    const TPoint p = ProjectXYZ(xc, top, zc);
    const TPoint a = ProjectXYZ(left, bottom, z0), b = ProjectXYZ(right, bottom, z0);
    const TPoint cc = ProjectXYZ(left, bottom, z1), d = ProjectXYZ(right, bottom, z1);
    auto triangle = [this](TPoint t0, TPoint t1, TPoint t2) {
        const TPoint tri[3] = {t0, t1, t2};
        DrawPolygonPoints(tri);
    };
    if (top != bottom) {
        triangle(a, p, b);
        if (IsTriangleCulled(a, p, cc) != up) triangle(a, p, cc);
        if (darkSides) SetDarkerBrush(c, DarkerColorAmount);
        if (IsTriangleCulled(b, p, d) == up) triangle(b, p, d);
        if (up && IsTriangleCulled(p, cc, d)) triangle(p, cc, d);
    }
    if (IsTriangleCulled(a, b, cc) == up) {
        if (darkSides) SetDarkerBrush(c, DarkColorAmount);
        DrawHorizPlane(left, bottom, right, z0, z1);
    }
}

void TLumCanvas3D::DrawHorizontalPyramid(int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                                         TColor c)
{
    const bool s = left < right;
    const int yc = (top + bottom) / 2, zc = (z0 + z1) / 2;
    const TPoint p = ProjectXYZ(right, yc, zc);
    const TPoint a = ProjectXYZ(left, top, z0), b = ProjectXYZ(left, bottom, z0);
    const TPoint cc = ProjectXYZ(left, top, z1), d = ProjectXYZ(left, bottom, z1);
    auto triangle = [this](TPoint t0, TPoint t1, TPoint t2) {
        const TPoint tri[3] = {t0, t1, t2};
        DrawPolygonPoints(tri);
    };
    if (left != right) {
        triangle(a, p, b);
        if (IsTriangleCulled(cc, p, d) != s) triangle(cc, p, d);
        if (darkSides) SetDarkerBrush(c, DarkColorAmount);
        if (IsTriangleCulled(a, p, cc) != s) triangle(a, p, cc);
        if (IsTriangleCulled(d, p, b) != s) triangle(d, p, b);
    }
    if (IsTriangleCulled(a, b, cc) == s) {
        if (darkSides) SetDarkerBrush(c, DarkerColorAmount);
        DrawSidePlane(left, top, bottom, z0, z1);
    }
}

void TLumCanvas3D::DrawPyramidShape(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                    bool darkSides)
{
    const TColor c = SolidBaseColor();
    if (vertical)
        DrawVerticalPyramid(left, top, right, bottom, z0, z1, darkSides, c);
    else
        DrawHorizontalPyramid(left, top, right, bottom, z0, z1, darkSides, c);
}

// ---- Frustum -------------------------------------------------------------------------------------------

void TLumCanvas3D::DrawFrustumShape(const TRect& rect, int z0, int z1, int w, int d)
{
    const int left = rect.Left, top = rect.Top, right = rect.Right, bottom = rect.Bottom;
    const int xc = (left + right) / 2, zc = (z0 + z1) / 2;
    auto baseFace = [&] { DrawHorizPlane(left, bottom, right, z0, z1); };
    auto smallFace = [&] {
        if (w != 0) DrawHorizPlane(xc - w, top, xc + w, zc - d, zc + d);
    };
    auto depthSide = [&](int s, int b) {
        const bool cond = (s < b && s >= 1 && top < bottom) || (b < s && bottom < top);
        if (IsTriangleCulled(ProjectXYZ(xc + w, top, s), ProjectXYZ(right, bottom, b), ProjectXYZ(left, bottom, b)) == cond)
            return;
        DrawQuadTwoDepths({TLumPointF{double(xc - w), double(top)}, TLumPointF{double(xc + w), double(top)},
                           TLumPointF{double(right), double(bottom)}, TLumPointF{double(left), double(bottom)}},
                          s, b);
    };
    auto xSide = [&](int s, int b) {
        const bool cond = (s < b && top < bottom) || (b < s && bottom < top);
        if (IsTriangleCulled(ProjectXYZ(b, bottom, z0), ProjectXYZ(b, bottom, z1), ProjectXYZ(s, top, zc + d)) == cond)
            return;
        StoreProjectedQuad({s, top, zc - d}, {s, top, zc + d}, {b, bottom, z1}, {b, bottom, z0});
        FillStoredQuad();
    };

    if (top < bottom) baseFace(); else smallFace();
    depthSide(zc + d, z1);
    if (w != 0 || z0 != z1) {
        xSide(xc - w, left);
        depthSide(zc - d, z0);
        xSide(xc + w, right);
    }
    if (top < bottom) smallFace(); else baseFace();
}

// ---- Pie and donut slice -------------------------------------------------------------------------------

void TLumCanvas3D::FillFaceOrGradient(std::span<const TPoint> polygon, TCustomLumGradient* gradient)
{
    if (!gradient) {
        DrawPolygonPoints(polygon);
        return;
    }
    ClipToPolygon(polygon);
    gradient->DrawRect(*this, PointsEnclosingRect(polygon, static_cast<int>(polygon.size())), 0);
    RemoveClip();
    if (Pen().Style() != psClear) {
        const TBrushStyle style = Brush().Style();
        Brush().SetStyle(bsClear);
        DrawPolygonPoints(polygon);
        Brush().SetStyle(style);
    }
}

namespace {

// The projected points of an arc: n points from start in equal steps, at depth z.
struct TArc {
    std::vector<TPoint> AtFront;   // at the face depth
    std::vector<TPoint> AtBack;
};

// Indexes [first, last] of the runs of the arc along which the projected x increases.
std::vector<std::pair<int, int>> RisingRuns(const std::vector<TPoint>& pts)
{
    std::vector<std::pair<int, int>> runs;
    const int n = static_cast<int>(pts.size());
    if (n < 2) return runs;
    int i = 1;
    while (i < n && pts[static_cast<std::size_t>(i)].x <= pts[static_cast<std::size_t>(i - 1)].x) ++i;
    if (i >= n) return runs;
    const int first = i - 1;
    while (i < n && pts[static_cast<std::size_t>(i)].x >= pts[static_cast<std::size_t>(i - 1)].x) ++i;
    const int last = i - 1;
    runs.push_back({first, last});
    // A second run when the arc ends rising after the first run stopped: from the lowest point of the
    // tail to the end.
    if (last < n - 1 && pts[static_cast<std::size_t>(n - 1)].x > pts[static_cast<std::size_t>(n - 2)].x) {
        int j = n - 1;
        while (j - 1 > last && pts[static_cast<std::size_t>(j - 1)].x <= pts[static_cast<std::size_t>(j)].x) --j;
        runs.push_back({j, n - 1});
    }
    return runs;
}

} // namespace

void TLumCanvas3D::DrawPieSlice3D(int xc, int yc, int xr, int yr, int z0, int z1, double start, double end,
                                  bool darkSides, bool drawSides, double donutPercent, TCustomLumGradient* gradient)
{
    const double degrees = std::fabs(end - start) * 180 / std::numbers::pi;
    const int n = std::min(PixelFromReal(degrees / 2), 94) + 2;
    const double step = (end - start) / (n - 1);
    const bool donut = donutPercent > 0;
    const double ixr = donutPercent * xr / 100, iyr = donutPercent * yr / 100;
    const TColor c = SolidBaseColor();

    auto at = [&](double rx, double ry, double a, int z) {
        return FProjection.ProjectReal(xc + rx * std::cos(a), yc - ry * std::sin(a), z);
    };
    std::vector<TPoint> outerFront(static_cast<std::size_t>(n)), outerBack(static_cast<std::size_t>(n));
    std::vector<TPoint> innerFront(static_cast<std::size_t>(n)), innerBack(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = start + i * step;
        const std::size_t k = static_cast<std::size_t>(i);
        outerFront[k] = at(xr, yr, a, z1);
        outerBack[k] = at(xr, yr, a, z0);
        if (donut) {
            innerFront[k] = at(ixr, iyr, a, z1);
            innerBack[k] = at(ixr, iyr, a, z0);
        }
    }
    auto shade = [&] {
        if (darkSides) SetDarkerBrush(c, 32);
    };

    // The inner curved surface of a donut, always drawn.
    if (donut) {
        std::vector<TPoint> inner(innerFront.rbegin(), innerFront.rend());
        inner.insert(inner.end(), innerBack.begin(), innerBack.end());
        shade();
        DrawPolygonPoints(inner);
    }
    // The radial sides, each when it faces the viewer.
    if (drawSides) {
        auto side = [&](std::size_t k) {
            const TPoint hubFront = donut ? innerFront[k] : FProjection.ProjectReal(xc, yc, z1);
            const TPoint hubBack = donut ? innerBack[k] : FProjection.ProjectReal(xc, yc, z0);
            const TPoint quad[4] = {hubFront, outerFront[k], outerBack[k], hubBack};
            shade();
            DrawPolygonPoints(quad);
        };
        if (outerFront.back().x < FProjection.OX) side(outerFront.size() - 1);
        if (outerFront.front().x > FProjection.OX) side(0);
    }
    // The face at z1.
    if (Brush().Style() == bsSolid)
        Brush().SetColor(c);
    else
        WriteBackColor(c);
    std::vector<TPoint> face;
    face.push_back(donut ? innerFront.front() : FProjection.ProjectReal(xc, yc, z1));
    face.insert(face.end(), outerFront.begin(), outerFront.end());
    if (donut) face.insert(face.end(), innerFront.rbegin(), innerFront.rend());
    FillFaceOrGradient(face, gradient);

    // The outer rim where it faces the viewer: the runs along which the arc moves right on screen.
    for (const auto& [first, last] : RisingRuns(outerFront)) {
        std::vector<TPoint> rim(outerFront.begin() + first, outerFront.begin() + last + 1);
        for (int i = last; i >= first; --i) rim.push_back(outerBack[static_cast<std::size_t>(i)]);
        shade();
        FillFaceOrGradient(rim, gradient);
    }
}

// ---- Arrow ---------------------------------------------------------------------------------------------

void TLumCanvas3D::DrawArrowWithBody(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z,
                                     double bodyPercent)
{
    const double dx = double(to.x) - from.x, dy = double(from.y) - to.y;
    const double len = VectorLength(dy, dx);
    if (!(len > 0)) return;
    const double sn = dy / len, cs = dx / len;
    const int h = std::min(headHeight, PixelFromReal(len));
    // A point at distance u along the arrow and v across it, projected.
    auto point = [&](double u, double v) {
        return ProjectXYZ(PixelFromReal(u * cs + v * sn), PixelFromReal(-u * sn + v * cs), z);
    };
    const double uT = to.x * cs - to.y * sn, vT = sn * to.x + cs * to.y;
    const double halfHead = headWidth / 2.0;
    const TPoint tip = ProjectXYZ(to.x, to.y, z);
    if (!filled) {
        DrawLineAtZ(from.x, from.y, to.x, to.y, z);
        for (const TPoint corner : {point(uT - h, vT - halfHead), point(uT - h, vT + halfHead)}) {
            MoveToXY(tip.x, tip.y);
            LineToXY(corner.x, corner.y);
        }
        return;
    }
    const double b = headWidth * bodyPercent / 200;
    const double uF = from.x * cs - from.y * sn;
    const TPoint pts[7] = {point(uF, vT + b),        point(uF, vT - b),        point(uT - h, vT - b),
                           point(uT - h, vT - halfHead), tip,                  point(uT - h, vT + halfHead),
                           point(uT - h, vT + b)};
    DrawPolygonPoints(pts);
}

// ---- Box clip ------------------------------------------------------------------------------------------

void TLumCanvas3D::ClipToBox(const TRect& r, int z0, int z1)
{
    if (!FProjection.View3D) {
        ClipToRect({r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1});
        return;
    }
    TPointArray corners = {ProjectXYZ(r.Left, r.Bottom, z0),  ProjectXYZ(r.Left, r.Bottom, z1),
                           ProjectXYZ(r.Left, r.Top, z1),     ProjectXYZ(r.Right, r.Top, z1),
                           ProjectXYZ(r.Right, r.Top, z0),    ProjectXYZ(r.Right, r.Bottom, z0),
                           ProjectXYZ(r.Left, r.Top, z0),     ProjectXYZ(r.Right, r.Bottom, z1)};
    ReduceToConvexHull(corners);
    ClipToPolygon(corners);
}
