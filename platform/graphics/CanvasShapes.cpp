// TCanvas shapes: lines, polygons, curves, rectangles, ellipses and arcs turned into device figures with
// the device's pixel rules, the brush-only fills (FillRect, PatBlt, regions) and single pixels.

#include "platform/graphics/CanvasImpl.h"

#include "platform/graphics/Raster.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

TPointF F(TPoint p) { return {double(p.x), double(p.y)}; }

// The closed outline of a rectangle's border pixels [l, r) x [t, b) for a one-pixel pen, so that
// every border pixel is drawn exactly once (a one-pixel-thin rectangle is one open line).
TDevicePath CosmeticRectOutline(int l, int t, int r, int b)
{
    if (r <= l || b <= t) return {};
    if (r - l == 1) return {{{{double(l), double(t)}, {double(l), double(b)}}, false}};
    if (b - t == 1) return {{{{double(l), double(t)}, {double(r), double(t)}}, false}};
    return {{{{double(l), double(t)}, {double(r - 1), double(t)}, {double(r - 1), double(b - 1)}, {double(l), double(b - 1)}},
             true}};
}

TDeviceFigure Quad(double l, double t, double r, double b)
{
    return {{{l, t}, {r, t}, {r, b}, {l, b}}, true};
}

// Sweep from angle a0 to a1 in the arc direction: counter-clockwise on the device in (0, 2 pi],
// clockwise in [-2 pi, 0).
double Sweep(double a0, double a1, bool counterClockwise)
{
    double s = a1 - a0;
    if (!std::isfinite(s)) return 2 * Pi;
    if (counterClockwise) {
        while (s <= 1e-12) s += 2 * Pi;
        while (s > 2 * Pi + 1e-12) s -= 2 * Pi;
    } else {
        while (s >= -1e-12) s -= 2 * Pi;
        while (s < -2 * Pi - 1e-12) s += 2 * Pi;
    }
    return s;
}

}  // namespace

// An ellipse given by its logical box, as the device sees it.
struct TEllipseGeom {
    bool Aligned = true;
    // Device ellipse (aligned), or logical ellipse mapped by T (not aligned).
    double Cx = 0, Cy = 0, Rx = 0, Ry = 0;
    TRect Box;                              // device box (aligned)
    TAffine T;
    double DeviceRadius = 0;                // for choosing the number of points
    bool Empty = false;

    // Points from angle a0 sweeping by sweep (device orientation when aligned).
    std::vector<TPointF> Arc(double a0, double sweep) const
    {
        if (Aligned) return raster::ArcPoints(Cx, Cy, Rx, Ry, a0, sweep);
        std::vector<TPointF> unit = raster::ArcPoints(0, 0, DeviceRadius, DeviceRadius, a0, sweep);
        for (TPointF& p : unit) p = T.Map(Cx + Rx * p.x / DeviceRadius, Cy + Ry * p.y / DeviceRadius);
        return unit;
    }
    std::vector<TPointF> Full() const
    {
        if (Aligned) return raster::EllipsePoints(Cx, Cy, Rx, Ry);
        std::vector<TPointF> pts = Arc(0, 2 * Pi);
        pts.pop_back();
        return pts;
    }
    // The angle of the ray from the centre towards a point given in logical coordinates.
    double AngleTowards(const TCanvas::Impl& dc, int x, int y) const
    {
        TPointF p = Aligned ? F(dc.ToDeviceInt(x, y)) : TPointF{double(x), double(y)};
        const double dx = Rx != 0 ? (p.x - Cx) / Rx : p.x - Cx;
        const double dy = Ry != 0 ? (p.y - Cy) / Ry : p.y - Cy;
        if (dx == 0 && dy == 0) return 0;
        return std::atan2(-dy, dx);
    }
    TPointF Centre() const { return Aligned ? TPointF{Cx, Cy} : T.Map(Cx, Cy); }
};

namespace {

// insetForPen: how far a wide inside-frame pen moves the outline in (device pixels).
TEllipseGeom EllipseFor(const TCanvas::Impl& dc, int x1, int y1, int x2, int y2, double insetForPen)
{
    TEllipseGeom g;
    g.T = dc.Transform();
    g.Aligned = g.T.AxisAligned();
    if (g.Aligned) {
        const TPoint a = dc.ToDeviceInt(x1, y1), b = dc.ToDeviceInt(x2, y2);
        g.Box = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        g.Empty = g.Box.IsEmpty();
        // The outline runs through the centres of the box's border pixels [l, r) x [t, b).
        g.Cx = (g.Box.Left + g.Box.Right - 1) / 2.0;
        g.Cy = (g.Box.Top + g.Box.Bottom - 1) / 2.0;
        g.Rx = std::max(0.0, (g.Box.Right - 1 - g.Box.Left) / 2.0 - insetForPen);
        g.Ry = std::max(0.0, (g.Box.Bottom - 1 - g.Box.Top) / 2.0 - insetForPen);
        g.DeviceRadius = std::max(g.Rx, g.Ry);
    } else {
        g.Cx = (double(x1) + x2) / 2;
        g.Cy = (double(y1) + y2) / 2;
        g.Rx = std::fabs(double(x2) - x1) / 2;
        g.Ry = std::fabs(double(y2) - y1) / 2;
        g.Empty = g.Rx == 0 || g.Ry == 0;
        g.DeviceRadius = std::max(1.0, std::max(g.Rx * dc.ScaleX(), g.Ry * dc.ScaleY()));
    }
    return g;
}

// The inset of a wide inside-frame pen's centre line.
double InsideFrameInset(const TDevicePen& pen)
{
    return pen.InsideFrame && !pen.Cosmetic ? (pen.Width - 1) / 2.0 : 0.0;
}

}  // namespace

// ---- sending ----

void TCanvas::Impl::Emit(TShapeCommand& cmd, bool closedOutline)
{
    if (Path.Stage == TPathState::Building) {
        const TDevicePath& figs = cmd.Stroke.empty() ? cmd.Fill : cmd.Stroke;
        for (const TDeviceFigure& f : figs) PathAddFigure(f.Points, f.Closed || closedOutline);
        return;
    }
    if (!Owner.FBackend) return;
    cmd.State = DeviceState();
    Owner.FBackend->DrawShape(cmd);
}

// ---- lines ----

TPoint TCanvas::PenPos() const { return FImpl->St.Pos; }

void TCanvas::MoveTo(int x, int y)
{
    FImpl->St.Pos = {x, y};
    if (FImpl->Path.Stage == TPathState::Building) FImpl->PathMoveTo(F(FImpl->ToDeviceInt(x, y)));
}

void TCanvas::LineTo(int x, int y)
{
    Impl& dc = *FImpl;
    const TPointF a = F(dc.ToDeviceInt(dc.St.Pos.x, dc.St.Pos.y)), b = F(dc.ToDeviceInt(x, y));
    dc.St.Pos = {x, y};
    if (dc.Path.Stage == TPathState::Building) {
        dc.PathLineTo(b);
        return;
    }
    TShapeCommand c;
    c.Op = TCanvasOp::LineTo;
    c.Args = {x, y};
    c.Pen = dc.DevicePen();
    c.Stroke = {{{a, b}, false}};
    dc.Emit(c, false);
}

void TCanvas::Polyline(const TPoint* pts, int count)
{
    if (!pts || count < 2) return;
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = TCanvasOp::Polyline;
    c.Points.assign(pts, pts + count);
    TDeviceFigure f;
    f.Points.reserve(static_cast<std::size_t>(count));
    const TAffine t = dc.Transform();
    for (int i = 0; i < count; ++i) f.Points.push_back(F(Impl::ToDeviceInt(t, pts[i].x, pts[i].y)));
    c.Pen = dc.DevicePen();
    c.Stroke.push_back(std::move(f));
    dc.Emit(c, false);
}

void TCanvas::Polygon(const TPoint* pts, int count)
{
    if (!pts || count < 2) return;
    PolyPolygon(pts, &count, 1);
}

void TCanvas::PolyPolygon(const TPoint* pts, const int* counts, int polygons)
{
    if (!pts || !counts || polygons <= 0) return;
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = polygons == 1 ? TCanvasOp::Polygon : TCanvasOp::PolyPolygon;
    int at = 0;
    for (int k = 0; k < polygons; ++k) {
        if (counts[k] < 2) return;
        TDeviceFigure f;
        f.Closed = true;
        for (int i = 0; i < counts[k]; ++i, ++at) {
            c.Points.push_back(pts[at]);
            f.Points.push_back(F(dc.ToDeviceInt(pts[at].x, pts[at].y)));
        }
        c.Fill.push_back(f);
        c.Stroke.push_back(std::move(f));
        c.Args.push_back(counts[k]);
    }
    c.Pen = dc.DevicePen();
    c.Brush = dc.DeviceBrush(FBrush);
    dc.Emit(c, true);
}

void TCanvas::PolyBezier(const TPoint* pts, int count)
{
    if (!pts || count < 4 || (count - 1) % 3 != 0) return;
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = TCanvasOp::PolyBezier;
    c.Points.assign(pts, pts + count);
    TDeviceFigure f;
    f.Points.push_back(F(dc.ToDeviceInt(pts[0].x, pts[0].y)));
    for (int i = 1; i + 2 < count; i += 3)
        raster::BezierPoints(f.Points.back(), F(dc.ToDeviceInt(pts[i].x, pts[i].y)),
                             F(dc.ToDeviceInt(pts[i + 1].x, pts[i + 1].y)), F(dc.ToDeviceInt(pts[i + 2].x, pts[i + 2].y)),
                             f.Points);
    // Curve points pass through the device's integer grid, like its own flattening.
    for (TPointF& p : f.Points) p = {RoundHalfEven(p.x), RoundHalfEven(p.y)};
    c.Pen = dc.DevicePen();
    c.Stroke.push_back(std::move(f));
    dc.Emit(c, false);
}

void TCanvas::PolyBezierTo(const TPoint* pts, int count)
{
    if (!pts || count < 3 || count % 3 != 0) return;
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = TCanvasOp::PolyBezierTo;
    c.Points.assign(pts, pts + count);
    TDeviceFigure f;
    f.Points.push_back(F(dc.ToDeviceInt(dc.St.Pos.x, dc.St.Pos.y)));
    for (int i = 0; i + 2 < count; i += 3)
        raster::BezierPoints(f.Points.back(), F(dc.ToDeviceInt(pts[i].x, pts[i].y)),
                             F(dc.ToDeviceInt(pts[i + 1].x, pts[i + 1].y)), F(dc.ToDeviceInt(pts[i + 2].x, pts[i + 2].y)),
                             f.Points);
    for (TPointF& p : f.Points) p = {RoundHalfEven(p.x), RoundHalfEven(p.y)};
    dc.St.Pos = pts[count - 1];
    if (dc.Path.Stage == TPathState::Building) {
        for (std::size_t i = 1; i < f.Points.size(); ++i) dc.PathLineTo(f.Points[i]);
        return;
    }
    c.Pen = dc.DevicePen();
    c.Stroke.push_back(std::move(f));
    dc.Emit(c, false);
}

// ---- rectangles and ellipses ----

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = TCanvasOp::Rectangle;
    c.Args = {x1, y1, x2, y2};
    c.Pen = dc.DevicePen();
    c.Brush = dc.DeviceBrush(FBrush);
    const TAffine t = dc.Transform();
    if (!t.AxisAligned()) {
        TDeviceFigure q{{t.Map(x1, y1), t.Map(x2, y1), t.Map(x2, y2), t.Map(x1, y2)}, true};
        c.Fill.push_back(q);
        c.Stroke.push_back(q);
        dc.Emit(c, true);
        return;
    }
    const TPoint a = dc.ToDeviceInt(x1, y1), b = dc.ToDeviceInt(x2, y2);
    const int l = std::min(a.x, b.x), r = std::max(a.x, b.x), tp = std::min(a.y, b.y), bt = std::max(a.y, b.y);
    if (r <= l || bt <= tp) return;
    if (dc.Path.Stage == TPathState::Building) {
        dc.PathAddFigure(Quad(l, tp, r - 1, bt - 1).Points, true);
        return;
    }
    if (c.Pen.Null) {
        // Without a pen the fill loses the right column and the bottom row.
        c.Fill.push_back(Quad(l, tp, r - 1, bt - 1));
    } else if (c.Pen.Cosmetic) {
        if (r - l > 2 && bt - tp > 2) c.Fill.push_back(Quad(l + 1, tp + 1, r - 1, bt - 1));
        c.Stroke = CosmeticRectOutline(l, tp, r, bt);
    } else {
        const double in = InsideFrameInset(c.Pen);
        c.Fill.push_back(Quad(l, tp, r - 1, bt - 1));
        c.Stroke.push_back(Quad(l + in, tp + in, r - 1 - in, bt - 1 - in));
    }
    dc.Emit(c, true);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = TCanvasOp::Ellipse;
    c.Args = {x1, y1, x2, y2};
    c.Pen = dc.DevicePen();
    c.Brush = dc.DeviceBrush(FBrush);
    const TEllipseGeom g = EllipseFor(dc, x1, y1, x2, y2, InsideFrameInset(c.Pen));
    if (g.Empty) return;
    TDeviceFigure outline{g.Full(), true};
    if (dc.Path.Stage == TPathState::Building) {
        dc.PathAddFigure(outline.Points, true);
        return;
    }
    if (g.Aligned) {
        // The fill covers the box less its right column and bottom row: the ellipse of the box
        // [l, r - 1) x [t, b - 1), whose edge runs half a pixel outside its outermost pixel centres.
        const TRect& b = g.Box;
        c.Fill.push_back({raster::EllipsePoints((b.Left + b.Right - 2) / 2.0, (b.Top + b.Bottom - 2) / 2.0,
                                                (b.Right - 1 - b.Left) / 2.0, (b.Bottom - 1 - b.Top) / 2.0),
                          true});
    } else {
        c.Fill.push_back(outline);
    }
    if (!c.Pen.Null) c.Stroke.push_back(std::move(outline));
    dc.Emit(c, true);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
    Impl& dc = *FImpl;
    TShapeCommand c;
    c.Op = TCanvasOp::RoundRect;
    c.Args = {x1, y1, x2, y2, w, h};
    c.Pen = dc.DevicePen();
    c.Brush = dc.DeviceBrush(FBrush);
    const TAffine t = dc.Transform();
    TDeviceFigure f;
    f.Closed = true;
    if (t.AxisAligned()) {
        const TPoint a = dc.ToDeviceInt(x1, y1), b = dc.ToDeviceInt(x2, y2);
        const int l = std::min(a.x, b.x), r = std::max(a.x, b.x), tp = std::min(a.y, b.y), bt = std::max(a.y, b.y);
        if (r <= l || bt <= tp) return;
        // The corner sizes are the corner ellipses' widths and heights: the corners are the quadrants of
        // Ellipse(l, t, l + w, t + h) and its mirror images.
        const int dw = std::min(r - l, PixelFromReal(std::fabs(w * dc.ScaleX())));
        const int dh = std::min(bt - tp, PixelFromReal(std::fabs(h * dc.ScaleY())));
        const double in = InsideFrameInset(c.Pen);
        const double rx = std::max(0.0, (dw - 1) / 2.0), ry = std::max(0.0, (dh - 1) / 2.0);
        f.Points = raster::RoundRectPoints(l + in, tp + in, r - 1 - in, bt - 1 - in, rx, ry);
        if (dc.Path.Stage == TPathState::Building) {
            dc.PathAddFigure(f.Points, true);
            return;
        }
        // The fill, like the ellipse's, covers [l, r - 1) x [t, b - 1).
        c.Fill.push_back({raster::RoundRectPoints(l - 0.5, tp - 0.5, r - 1.5, bt - 1.5, rx, ry), true});
        if (!c.Pen.Null) c.Stroke.push_back(std::move(f));
        dc.Emit(c, true);
        return;
    } else {
        // Build in logical space and map.
        const double l = std::min(x1, x2), r = std::max(x1, x2), tp = std::min(y1, y2), bt = std::max(y1, y2);
        std::vector<TPointF> pts = raster::RoundRectPoints(l, tp, r, bt, std::fabs(w) / 2.0, std::fabs(h) / 2.0);
        for (TPointF& p : pts) p = t.Map(p.x, p.y);
        f.Points = std::move(pts);
    }
    c.Fill.push_back(f);
    if (!c.Pen.Null) c.Stroke.push_back(std::move(f));
    dc.Emit(c, true);
}

namespace {

enum class TArcKind { Arc, ArcTo, Pie, Chord };

}  // namespace

static void DrawArcShape(TCanvas& cv, TCanvas::Impl& dc, TArcKind kind, int x1, int y1, int x2, int y2, int x3, int y3,
                         int x4, int y4, const TDevicePen& pen, const TDeviceBrush& brush)
{
    TShapeCommand c;
    c.Op = kind == TArcKind::Arc ? TCanvasOp::Arc : kind == TArcKind::ArcTo ? TCanvasOp::ArcTo
           : kind == TArcKind::Pie ? TCanvasOp::Pie : TCanvasOp::Chord;
    c.Args = {x1, y1, x2, y2, x3, y3, x4, y4};
    c.Pen = pen;
    const TEllipseGeom g = EllipseFor(dc, x1, y1, x2, y2, InsideFrameInset(pen));
    // The arc direction is meant on the logical plane; a mapping that mirrors it turns it round.
    const TAffine t = dc.Transform();
    const bool mirrored = t.a * t.d - t.b * t.c < 0;
    bool ccw = dc.St.ArcDirection == AD_COUNTERCLOCKWISE;
    if (mirrored && g.Aligned) ccw = !ccw;
    const double a0 = g.AngleTowards(dc, x3, y3), a1 = g.AngleTowards(dc, x4, y4);
    const double sweep = Sweep(a0, a1, g.Aligned ? ccw : dc.St.ArcDirection == AD_COUNTERCLOCKWISE);
    std::vector<TPointF> arc = g.Empty && kind != TArcKind::ArcTo ? std::vector<TPointF>{} : g.Arc(a0, sweep);
    if (kind == TArcKind::ArcTo) {
        // A line from the current position to the arc's start, the arc, and the position at its end.
        const TPointF from = F(dc.ToDeviceInt(dc.St.Pos.x, dc.St.Pos.y));
        if (!arc.empty()) {
            const TPointF end = arc.back();
            const TPointF lend = dc.ToLogical(end.x, end.y);
            dc.St.Pos = {PixelFromReal(lend.x), PixelFromReal(lend.y)};
        }
        if (dc.Path.Stage == TPathState::Building) {
            for (const TPointF& p : arc) dc.PathLineTo(p);
            return;
        }
        arc.insert(arc.begin(), from);
        c.Stroke.push_back({std::move(arc), false});
        dc.Emit(c, false);
        return;
    }
    if (arc.empty()) return;
    (void)cv;
    if (kind == TArcKind::Arc) {
        c.Stroke.push_back({std::move(arc), false});
        dc.Emit(c, false);
        return;
    }
    if (kind == TArcKind::Pie) arc.insert(arc.begin(), g.Centre());
    c.Brush = brush;
    TDeviceFigure f{std::move(arc), true};
    c.Fill.push_back(f);
    if (!pen.Null) c.Stroke.push_back(std::move(f));
    dc.Emit(c, true);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    DrawArcShape(*this, *FImpl, TArcKind::Arc, x1, y1, x2, y2, x3, y3, x4, y4, FImpl->DevicePen(), {});
}

void TCanvas::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    DrawArcShape(*this, *FImpl, TArcKind::ArcTo, x1, y1, x2, y2, x3, y3, x4, y4, FImpl->DevicePen(), {});
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    DrawArcShape(*this, *FImpl, TArcKind::Pie, x1, y1, x2, y2, x3, y3, x4, y4, FImpl->DevicePen(),
                 FImpl->DeviceBrush(FBrush));
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    DrawArcShape(*this, *FImpl, TArcKind::Chord, x1, y1, x2, y2, x3, y3, x4, y4, FImpl->DevicePen(),
                 FImpl->DeviceBrush(FBrush));
}

// ---- brush-only fills ----

namespace {

// The device figure of a logical rectangle's pixels [l, r) x [t, b), corners put in order.
TDeviceFigure DeviceRectFigure(const TCanvas::Impl& dc, int x1, int y1, int x2, int y2, TRect* box)
{
    const TAffine t = dc.Transform();
    if (!t.AxisAligned()) {
        TDeviceFigure q{{t.Map(x1, y1), t.Map(x2, y1), t.Map(x2, y2), t.Map(x1, y2)}, true};
        if (box) *box = {};
        return q;
    }
    const TPoint a = dc.ToDeviceInt(x1, y1), b = dc.ToDeviceInt(x2, y2);
    const TRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (box) *box = r;
    return Quad(r.Left, r.Top, r.Right, r.Bottom);
}

void SendFill(TCanvas::Impl& dc, TShapeCommand& c, std::uint32_t rop3)
{
    if (dc.Path.Stage == TPathState::Building) return;   // these calls draw even while a path is built
    c.Rop3 = rop3;
    c.State = dc.DeviceState();
    if (!dc.Owner.Backend()) return;
    dc.Owner.Backend()->DrawShape(c);
}

}  // namespace

void TCanvas::FillRect(const TRect& r) { FillRect(r, FBrush); }
void TCanvas::FrameRect(const TRect& r) { FrameRect(r, FBrush); }

void TCanvas::FillRect(const TRect& r, const TBrush& brush)
{
    TShapeCommand c;
    c.Op = TCanvasOp::FillRect;
    c.Args = {r.Left, r.Top, r.Right, r.Bottom};
    c.Brush = FImpl->DeviceBrush(brush);
    c.Pen.Null = true;
    c.Fill.push_back(DeviceRectFigure(*FImpl, r.Left, r.Top, r.Right, r.Bottom, nullptr));
    if (!FBackend) return;
    c.Rop3 = PATCOPY;
    c.State = FImpl->DeviceState();
    FBackend->DrawShape(c);
}

void TCanvas::FrameRect(const TRect& r, const TBrush& brush)
{
    TShapeCommand c;
    c.Op = TCanvasOp::FrameRect;
    c.Args = {r.Left, r.Top, r.Right, r.Bottom};
    c.Brush = FImpl->DeviceBrush(brush);
    c.Pen.Null = true;
    TRect b;
    TDeviceFigure q = DeviceRectFigure(*FImpl, r.Left, r.Top, r.Right, r.Bottom, &b);
    if (b.IsEmpty()) {
        if (!FImpl->Transform().AxisAligned()) {
            // A turned frame: its outline as a one-pixel-wide band is beyond the device's own rules; the
            // pen draws it.
            TPen keep = FPen;
            FPen.SetColor(brush.Color());
            FPen.SetStyle(psSolid);
            FPen.SetWidth(0);
            TShapeCommand s;
            s.Op = TCanvasOp::FrameRect;
            s.Args = c.Args;
            s.Pen = FImpl->DevicePen();
            s.Stroke.push_back(q);
            FImpl->Emit(s, true);
            FImpl->Restoring = true;
            FPen.Assign(keep);
            FImpl->Restoring = false;
        }
        return;
    }
    // Four strips one pixel wide that do not overlap.
    c.Fill.push_back(Quad(b.Left, b.Top, b.Right, b.Top + 1));
    if (b.Height() > 1) c.Fill.push_back(Quad(b.Left, b.Bottom - 1, b.Right, b.Bottom));
    if (b.Height() > 2) {
        c.Fill.push_back(Quad(b.Left, b.Top + 1, b.Left + 1, b.Bottom - 1));
        if (b.Width() > 1) c.Fill.push_back(Quad(b.Right - 1, b.Top + 1, b.Right, b.Bottom - 1));
    }
    if (!FBackend) return;
    c.Rop3 = PATCOPY;
    c.State = FImpl->DeviceState();
    FBackend->DrawShape(c);
}

void TCanvas::InvertRect(const TRect& r)
{
    TShapeCommand c;
    c.Op = TCanvasOp::InvertRect;
    c.Args = {r.Left, r.Top, r.Right, r.Bottom};
    c.Brush.Kind = TDeviceBrush::TKind::Solid;
    c.Pen.Null = true;
    c.Fill.push_back(DeviceRectFigure(*FImpl, r.Left, r.Top, r.Right, r.Bottom, nullptr));
    SendFill(*FImpl, c, DSTINVERT);
}

void TCanvas::PatBlt(int x, int y, int w, int h, std::uint32_t rop3)
{
    TShapeCommand c;
    c.Op = TCanvasOp::PatBlt;
    c.Args = {x, y, w, h, static_cast<int>(rop3)};
    c.Brush = FImpl->DeviceBrush(FBrush);
    if (!raster::Rop3UsesPattern(rop3)) c.Brush.Kind = TDeviceBrush::TKind::Solid;
    c.Pen.Null = true;
    const long long x2 = static_cast<long long>(x) + w, y2 = static_cast<long long>(y) + h;
    c.Fill.push_back(DeviceRectFigure(*FImpl, x, y, static_cast<int>(std::clamp<long long>(x2, INT32_MIN, INT32_MAX)),
                                      static_cast<int>(std::clamp<long long>(y2, INT32_MIN, INT32_MAX)), nullptr));
    SendFill(*FImpl, c, rop3);
}

void TCanvas::FillRgn(const TRegion& rgn, const TBrush& brush)
{
    TShapeCommand c;
    c.Op = TCanvasOp::FillRgn;
    c.Brush = FImpl->DeviceBrush(brush);
    c.Pen.Null = true;
    for (const TRect& r : rgn.Rects()) c.Fill.push_back(Quad(r.Left, r.Top, r.Right, r.Bottom));
    if (c.Fill.empty()) return;
    SendFill(*FImpl, c, PATCOPY);
}

void TCanvas::FrameRgn(const TRegion& rgn, const TBrush& brush, int w, int h)
{
    // The frame is what an erosion by w and h takes away from the region.
    w = std::clamp(w, 0, 1 << 20);
    h = std::clamp(h, 0, 1 << 20);
    TRegion inner = rgn;
    for (const auto& [dx, dy] : {std::pair{w, 0}, std::pair{-w, 0}, std::pair{0, h}, std::pair{0, -h}}) {
        TRegion moved = rgn;
        moved.Offset(dx, dy);
        inner.Combine(moved, RGN_AND);
    }
    TRegion frame;
    TRegion::Combine(frame, rgn, inner, RGN_DIFF);
    TShapeCommand c;
    c.Op = TCanvasOp::FrameRgn;
    c.Args = {w, h};
    c.Brush = FImpl->DeviceBrush(brush);
    c.Pen.Null = true;
    for (const TRect& r : frame.Rects()) c.Fill.push_back(Quad(r.Left, r.Top, r.Right, r.Bottom));
    if (c.Fill.empty()) return;
    SendFill(*FImpl, c, PATCOPY);
}

// ---- pixels ----

TColor TCanvas::GetPixel(int x, int y) const
{
    if (!FBackend) return CLR_INVALID;
    const TPoint d = FImpl->ToDeviceInt(x, y);
    if (FImpl->St.HasClip && !FImpl->St.Clip.Contains(d.x, d.y)) return CLR_INVALID;
    return FBackend->GetPixel(d.x, d.y);
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    if (!FBackend) return;
    const TPoint d = FImpl->ToDeviceInt(x, y);
    FBackend->SetPixel(d.x, d.y, RgbOf(c), FImpl->ClipPtr());
}
