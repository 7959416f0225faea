// Regions built with the same scan rules as filled shapes, so a region of a shape covers exactly the
// pixels the shape fills.

#include "platform/graphics/Region.h"

#include "platform/graphics/Raster.h"
#include "platform/graphics/RegionImpl.h"

#include <algorithm>
#include <limits>

namespace {

// Region coordinates stay well inside the int range so offsets and extents cannot overflow.
constexpr int Limit = 1 << 28;
int Clamp(int v) { return std::clamp(v, -Limit, Limit); }

// Spans come row by row, left to right, disjoint and not touching; rows with the same spans as the
// row above are merged into it, which gives the banded form the region keeps. A span is a scan
// converter's TSpan or a one-pixel-high TRect.
int SpanY(const raster::TSpan& s) { return s.Y; }
int SpanX0(const raster::TSpan& s) { return s.X0; }
int SpanX1(const raster::TSpan& s) { return s.X1; }
int SpanY(const TRect& r) { return r.Top; }
int SpanX0(const TRect& r) { return r.Left; }
int SpanX1(const TRect& r) { return r.Right; }

template <class TSpanList>
QRegion FromSpans(const TSpanList& spans)
{
    std::vector<QRect> rects;
    rects.reserve(spans.size());
    std::size_t prevBand = 0, prevCount = 0;   // the previous row's rectangles in rects
    std::size_t i = 0;
    while (i < spans.size()) {
        const int y = SpanY(spans[i]);
        std::size_t j = i;
        while (j < spans.size() && SpanY(spans[j]) == y) ++j;
        bool same = prevCount == j - i && prevCount > 0 && rects[prevBand].bottom() + 1 == y;
        for (std::size_t k = 0; same && k < prevCount; ++k)
            same = rects[prevBand + k].left() == SpanX0(spans[i + k]) &&
                   rects[prevBand + k].left() + rects[prevBand + k].width() == SpanX1(spans[i + k]);
        if (same) {
            for (std::size_t k = 0; k < prevCount; ++k) rects[prevBand + k].setBottom(y);
        } else {
            prevBand = rects.size();
            prevCount = j - i;
            for (std::size_t k = i; k < j; ++k)
                rects.emplace_back(SpanX0(spans[k]), y, SpanX1(spans[k]) - SpanX0(spans[k]), 1);
        }
        i = j;
    }
    QRegion r;
    if (!rects.empty()) r.setRects(rects.data(), static_cast<int>(rects.size()));
    return r;
}

// The union of many regions, merged pairwise so the work stays near n log n.
QRegion UniteAll(std::vector<QRegion> parts)
{
    if (parts.empty()) return {};
    while (parts.size() > 1) {
        std::vector<QRegion> next;
        next.reserve((parts.size() + 1) / 2);
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) next.push_back(parts[i].united(parts[i + 1]));
        if (parts.size() % 2) next.push_back(parts.back());
        parts.swap(next);
    }
    return parts[0];
}

QRegion FromFigure(const std::vector<TPointF>& pts, int fillMode)
{
    TDevicePath path{{pts, true}};
    std::vector<raster::TSpan> spans;
    raster::ScanFill(path, fillMode, {-RegionScanLimit, -RegionScanLimit, RegionScanLimit, RegionScanLimit}, spans);
    return FromSpans(spans);
}

TRect Ordered(int l, int t, int r, int b)
{
    l = Clamp(l); t = Clamp(t); r = Clamp(r); b = Clamp(b);
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

}  // namespace

TRegion RegionFromSpans(const std::vector<raster::TSpan>& spans)
{
    TRegion g;
    g.GetImpl()->R = FromSpans(spans);
    return g;
}

TRegion::TRegion() : FImpl(std::make_unique<Impl>()) {}
TRegion::~TRegion() = default;
TRegion::TRegion(const TRegion& o) : FImpl(std::make_unique<Impl>(*o.FImpl)) {}
TRegion& TRegion::operator=(const TRegion& o)
{
    if (this != &o) *FImpl = *o.FImpl;
    return *this;
}
TRegion::TRegion(TRegion&& o) noexcept : FImpl(std::make_unique<Impl>())
{
    std::swap(FImpl, o.FImpl);
}
TRegion& TRegion::operator=(TRegion&& o) noexcept
{
    std::swap(FImpl, o.FImpl);
    return *this;
}

TRegion TRegion::FromRect(int left, int top, int right, int bottom)
{
    const TRect r = Ordered(left, top, right, bottom);
    TRegion g;
    if (!r.IsEmpty()) g.FImpl->R = QRegion(r.Left, r.Top, r.Width(), r.Height());
    return g;
}

TRegion TRegion::FromEllipse(int left, int top, int right, int bottom)
{
    const TRect r = Ordered(left, top, right, bottom);
    TRegion g;
    if (r.IsEmpty()) return g;
    // The ellipse through the outermost pixel centres' neighbourhood: radius half the box, centred on
    // the box's middle pixel position, so its pixels fill [Left, Right) x [Top, Bottom).
    const double cx = (r.Left + r.Right - 1) / 2.0, cy = (r.Top + r.Bottom - 1) / 2.0;
    g.FImpl->R = FromFigure(raster::EllipsePoints(cx, cy, r.Width() / 2.0, r.Height() / 2.0), ALTERNATE);
    return g;
}

TRegion TRegion::FromRoundRect(int left, int top, int right, int bottom, int w, int h)
{
    const TRect r = Ordered(left, top, right, bottom);
    TRegion g;
    if (r.IsEmpty()) return g;
    const double rx = std::min(std::abs(w), r.Width()) / 2.0, ry = std::min(std::abs(h), r.Height()) / 2.0;
    g.FImpl->R = FromFigure(raster::RoundRectPoints(r.Left - 0.5, r.Top - 0.5, r.Right - 0.5, r.Bottom - 0.5, rx, ry),
                            ALTERNATE);
    return g;
}

TRegion TRegion::FromPolygon(const TPoint* points, int count, int fillMode)
{
    TRegion g;
    if (!points || count < 3) return g;
    std::vector<TPointF> pts;
    pts.reserve(count);
    for (int i = 0; i < count; ++i) pts.push_back({double(Clamp(points[i].x)), double(Clamp(points[i].y))});
    g.FImpl->R = FromFigure(pts, fillMode == WINDING ? WINDING : ALTERNATE);
    return g;
}

TRegion TRegion::FromRects(const std::vector<TRect>& rects)
{
    std::vector<QRegion> parts;
    parts.reserve(rects.size());
    for (const TRect& r0 : rects) {
        const TRect r = Ordered(r0.Left, r0.Top, r0.Right, r0.Bottom);
        if (!r.IsEmpty()) parts.emplace_back(r.Left, r.Top, r.Width(), r.Height());
    }
    TRegion g;
    g.FImpl->R = UniteAll(std::move(parts));
    return g;
}

TRegion TRegion::FromRowRuns(const std::vector<TRect>& runs)
{
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const TRect& r = runs[i];
        const bool inOrder = i == 0 || r.Top > runs[i - 1].Top || (r.Top == runs[i - 1].Top && r.Left > runs[i - 1].Right);
        if (r.Bottom != r.Top + 1 || r.Right <= r.Left || !inOrder || r.Top != Clamp(r.Top) || r.Left != Clamp(r.Left) ||
            r.Right != Clamp(r.Right))
            return FromRects(runs);
    }
    TRegion g;
    g.FImpl->R = FromSpans(runs);
    return g;
}

int TRegion::Combine(TRegion& dest, const TRegion& a, const TRegion& b, int mode)
{
    QRegion r;
    switch (mode) {
    case RGN_AND: r = a.FImpl->R.intersected(b.FImpl->R); break;
    case RGN_OR: r = a.FImpl->R.united(b.FImpl->R); break;
    case RGN_XOR: r = a.FImpl->R.xored(b.FImpl->R); break;
    case RGN_DIFF: r = a.FImpl->R.subtracted(b.FImpl->R); break;
    case RGN_COPY: r = a.FImpl->R; break;
    default: return RGN_ERROR;
    }
    dest.FImpl->R = r;
    return dest.Kind();
}

void TRegion::Offset(int dx, int dy)
{
    FImpl->R.translate(std::clamp(dx, -Limit, Limit), std::clamp(dy, -Limit, Limit));
}

bool TRegion::IsEmpty() const { return FImpl->R.isEmpty(); }
bool TRegion::Contains(int x, int y) const { return FImpl->R.contains(QPoint(x, y)); }

bool TRegion::IntersectsRect(const TRect& r0) const
{
    const TRect r = Ordered(r0.Left, r0.Top, r0.Right, r0.Bottom);
    return !r.IsEmpty() && FImpl->R.intersects(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

TRect TRegion::Bounds() const
{
    if (FImpl->R.isEmpty()) return {};
    const QRect b = FImpl->R.boundingRect();
    return {b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

int TRegion::Kind() const
{
    if (FImpl->R.isEmpty()) return NULLREGION;
    return FImpl->R.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::vector<TRect> TRegion::Rects() const
{
    std::vector<TRect> out;
    out.reserve(FImpl->R.rectCount());
    for (const QRect& q : FImpl->R) out.push_back({q.left(), q.top(), q.left() + q.width(), q.top() + q.height()});
    return out;
}

bool TRegion::operator==(const TRegion& o) const { return FImpl->R.xored(o.FImpl->R).isEmpty(); }
