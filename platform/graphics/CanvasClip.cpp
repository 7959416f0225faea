// TCanvas clipping (a region in device pixels, or none) and paths (figures in device coordinates that
// are stroked, filled, widened or made the clip).

#include "platform/graphics/CanvasImpl.h"

#include "platform/graphics/Raster.h"
#include "platform/graphics/RegionImpl.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>

namespace {

TRect DeviceBox(const TCanvas::Impl& dc, int l, int t, int r, int b)
{
    const TPoint a = dc.ToDeviceInt(l, t), c = dc.ToDeviceInt(r, b);
    return {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
}

// The region of a logical rectangle; under a turning transform, of its transformed outline.
TRegion LogicalRectRegion(const TCanvas::Impl& dc, int l, int t, int r, int b)
{
    const TAffine tf = dc.Transform();
    if (tf.AxisAligned()) return TRegion::FromRect(DeviceBox(dc, l, t, r, b));
    TPoint q[4] = {dc.ToDeviceInt(l, t), dc.ToDeviceInt(r, t), dc.ToDeviceInt(r, b), dc.ToDeviceInt(l, b)};
    return TRegion::FromPolygon(q, 4, ALTERNATE);
}

}  // namespace

// Combines the clip with a region; without a clip the device's whole surface takes part.
void TCanvas::Impl::ClipCombine(const TRegion& rgn, int mode)
{
    if (mode == RGN_COPY) {
        St.Clip = rgn;
        St.HasClip = true;
        return;
    }
    TRegion current = St.HasClip ? St.Clip : TRegion::FromRect(DeviceRect());
    TRegion::Combine(St.Clip, current, rgn, mode);
    St.HasClip = true;
}

int TCanvas::SelectClipRgn(const TRegion* rgn) { return ExtSelectClipRgn(rgn, RGN_COPY); }

int TCanvas::ExtSelectClipRgn(const TRegion* rgn, int mode)
{
    Impl& dc = *FImpl;
    if (!rgn) {
        if (mode != RGN_COPY) return RGN_ERROR;
        dc.St.HasClip = false;
        dc.St.Clip = TRegion();
        return SIMPLEREGION;
    }
    if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
    dc.ClipCombine(*rgn, mode);
    return dc.St.Clip.Kind();
}

int TCanvas::IntersectClipRect(int l, int t, int r, int b)
{
    FImpl->ClipCombine(LogicalRectRegion(*FImpl, l, t, r, b), RGN_AND);
    return FImpl->St.Clip.Kind();
}

int TCanvas::ExcludeClipRect(int l, int t, int r, int b)
{
    FImpl->ClipCombine(LogicalRectRegion(*FImpl, l, t, r, b), RGN_DIFF);
    return FImpl->St.Clip.Kind();
}

int TCanvas::OffsetClipRgn(int dx, int dy)
{
    if (!FImpl->St.HasClip) return SIMPLEREGION;
    const TSize d{PixelFromReal(dx * FImpl->ScaleX()), PixelFromReal(dy * FImpl->ScaleY())};
    FImpl->St.Clip.Offset(d.cx, d.cy);
    return FImpl->St.Clip.Kind();
}

int TCanvas::GetClipRgn(TRegion& out) const
{
    if (!FImpl->St.HasClip) return 0;
    out = FImpl->St.Clip;
    return 1;
}

int TCanvas::GetClipBox(TRect& out) const
{
    const Impl& dc = *FImpl;
    TRegion visible = TRegion::FromRect(dc.DeviceRect());
    if (dc.St.HasClip) visible.Combine(dc.St.Clip, RGN_AND);
    const TRect b = visible.Bounds();
    // Back to logical coordinates: the corners of the device box, ordered.
    const TPointF p = dc.ToLogical(b.Left, b.Top), q = dc.ToLogical(b.Right, b.Bottom);
    out = {PixelFromReal(std::min(p.x, q.x)), PixelFromReal(std::min(p.y, q.y)), PixelFromReal(std::max(p.x, q.x)),
           PixelFromReal(std::max(p.y, q.y))};
    return visible.Kind();
}

bool TCanvas::PtVisible(int x, int y) const
{
    const TPoint d = FImpl->ToDeviceInt(x, y);
    const TRect dev = FImpl->DeviceRect();
    if (d.x < dev.Left || d.y < dev.Top || d.x >= dev.Right || d.y >= dev.Bottom) return false;
    return !FImpl->St.HasClip || FImpl->St.Clip.Contains(d.x, d.y);
}

bool TCanvas::RectVisible(const TRect& r) const
{
    TRegion a = LogicalRectRegion(*FImpl, r.Left, r.Top, r.Right, r.Bottom);
    a.Combine(TRegion::FromRect(FImpl->DeviceRect()), RGN_AND);
    if (FImpl->St.HasClip) a.Combine(FImpl->St.Clip, RGN_AND);
    return !a.IsEmpty();
}

// ---- paths ----

void TCanvas::Impl::PathMoveTo(TPointF p)
{
    Path.Figures.push_back({{p}, false});
    Path.FigureOpen = true;
}

void TCanvas::Impl::PathLineTo(TPointF p)
{
    if (!Path.FigureOpen || Path.Figures.empty()) {
        const TPointF from = ToDevice(St.Pos.x, St.Pos.y);
        Path.Figures.push_back({{from}, false});
        Path.FigureOpen = true;
    }
    Path.Figures.back().Points.push_back(p);
}

void TCanvas::Impl::PathAddFigure(const std::vector<TPointF>& pts, bool closed)
{
    if (pts.empty()) return;
    Path.Figures.push_back({pts, closed});
    Path.FigureOpen = !closed;
}

bool TCanvas::BeginPath()
{
    FImpl->Path = TPathState();
    FImpl->Path.Stage = TPathState::Building;
    return true;
}

bool TCanvas::EndPath()
{
    if (FImpl->Path.Stage != TPathState::Building) return false;
    FImpl->Path.Stage = TPathState::Ready;
    FImpl->Path.FigureOpen = false;
    return true;
}

bool TCanvas::AbortPath()
{
    FImpl->Path = TPathState();
    return true;
}

bool TCanvas::CloseFigure()
{
    TPathState& p = FImpl->Path;
    if (p.Stage != TPathState::Building || p.Figures.empty() || !p.FigureOpen) return false;
    p.Figures.back().Closed = true;
    p.FigureOpen = false;
    return true;
}

bool TCanvas::InPath() const { return FImpl->Path.Stage == TPathState::Building; }

namespace {

// Takes the finished path; false when there is none.
bool TakePath(TCanvas::Impl& dc, TDevicePath& out)
{
    if (dc.Path.Stage != TPathState::Ready) return false;
    out = std::move(dc.Path.Figures);
    dc.Path = TPathState();
    return true;
}

// Figures without single points (they enclose nothing and draw nothing).
TDevicePath Drawable(TDevicePath path)
{
    path.erase(std::remove_if(path.begin(), path.end(), [](const TDeviceFigure& f) { return f.Points.size() < 2; }),
               path.end());
    return path;
}

bool DrawPath(TCanvas& cv, TCanvas::Impl& dc, bool stroke, bool fill, TCanvasOp op)
{
    TDevicePath path;
    if (!TakePath(dc, path)) return false;
    path = Drawable(std::move(path));
    TShapeCommand c;
    c.Op = op;
    if (fill) {
        c.Fill = path;
        for (TDeviceFigure& f : c.Fill) f.Closed = true;
        c.Brush = dc.DeviceBrush(cv.Brush());
    } else {
        c.Brush.Kind = TDeviceBrush::TKind::Null;
    }
    c.Pen = stroke ? dc.DevicePen() : TDevicePen{};
    c.Pen.Null = c.Pen.Null || !stroke;
    if (stroke) c.Stroke = std::move(path);
    dc.Emit(c, false);
    return true;
}

}  // namespace

bool TCanvas::StrokePath() { return DrawPath(*this, *FImpl, true, false, TCanvasOp::StrokePath); }
bool TCanvas::FillPath() { return DrawPath(*this, *FImpl, false, true, TCanvasOp::FillPath); }
bool TCanvas::StrokeAndFillPath() { return DrawPath(*this, *FImpl, true, true, TCanvasOp::StrokeAndFillPath); }

bool TCanvas::WidenPath()
{
    Impl& dc = *FImpl;
    if (dc.Path.Stage != TPathState::Ready) return false;
    TDevicePen pen = dc.DevicePen();
    pen.Width = std::max(1.0, pen.Width);
    const TDevicePath outline = raster::WidenStroke(Drawable(dc.Path.Figures), pen);
    // The widened outline overlaps itself at joins; as pixel rectangles it fills right under any fill mode.
    std::vector<raster::TSpan> spans;
    raster::ScanFill(outline, WINDING, {-RegionScanLimit, -RegionScanLimit, RegionScanLimit, RegionScanLimit}, spans);
    TDevicePath figs;
    for (const TRect& r : RegionFromSpans(spans).Rects())
        figs.push_back({{{r.Left - 0.0, r.Top - 0.0}, {double(r.Right), double(r.Top)}, {double(r.Right), double(r.Bottom)},
                         {double(r.Left), double(r.Bottom)}},
                        true});
    dc.Path.Figures = std::move(figs);
    return true;
}

bool TCanvas::SelectClipPath(int mode)
{
    Impl& dc = *FImpl;
    TDevicePath path;
    if (!TakePath(dc, path)) return false;
    std::vector<raster::TSpan> spans;
    raster::ScanFill(Drawable(std::move(path)), dc.St.PolyFillMode, {-RegionScanLimit, -RegionScanLimit, RegionScanLimit, RegionScanLimit}, spans);
    const TRegion rgn = RegionFromSpans(spans);
    return ExtSelectClipRgn(&rgn, mode) != RGN_ERROR;
}
