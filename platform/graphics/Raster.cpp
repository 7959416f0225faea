// Scan conversion of filled figures and one-pixel lines with the device's pixel rules, curve flattening,
// and span painting under raster operations.

#include "platform/graphics/Raster.h"

#include "platform/graphics/RegionImpl.h"
#include "platform/rtl/PixelMath.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace raster {

namespace {

constexpr double Pi = 3.14159265358979323846;

struct Edge {
    double X0, Y0, X1, Y1;  // Y0 < Y1
    int Dir;                // +1 downwards in the figure's order, -1 upwards
    double Slope;           // dx/dy
};

struct Crossing {
    double X;
    int Dir;
};

bool Finite(const TPointF& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Keeps coordinates where integer arithmetic on them cannot overflow.
constexpr double CoordLimit = 1 << 28;
double ClampCoord(double v) { return std::clamp(v, -CoordLimit, CoordLimit); }

void CollectEdges(const TDevicePath& path, std::vector<Edge>& edges, double& minY, double& maxY)
{
    minY = std::numeric_limits<double>::infinity();
    maxY = -minY;
    for (const TDeviceFigure& f : path) {
        const std::size_t n = f.Points.size();
        if (n < 2) continue;
        bool ok = true;
        for (const TPointF& p : f.Points) ok = ok && Finite(p);
        if (!ok) continue;
        for (std::size_t i = 0; i < n; ++i) {
            TPointF a = f.Points[i], b = f.Points[(i + 1) % n];
            a.x = ClampCoord(a.x); a.y = ClampCoord(a.y);
            b.x = ClampCoord(b.x); b.y = ClampCoord(b.y);
            if (a.y == b.y) continue;
            Edge e;
            if (a.y < b.y) e = {a.x, a.y, b.x, b.y, +1, 0};
            else e = {b.x, b.y, a.x, a.y, -1, 0};
            e.Slope = (e.X1 - e.X0) / (e.Y1 - e.Y0);
            edges.push_back(e);
            minY = std::min(minY, e.Y0);
            maxY = std::max(maxY, e.Y1);
        }
    }
}

// Appends [x0, x1) of row y to out, merging with the previous span of the row when they touch.
void PushSpan(std::vector<TSpan>& out, int y, int x0, int x1)
{
    if (x0 >= x1) return;
    if (!out.empty()) {
        TSpan& last = out.back();
        if (last.Y == y && last.X1 >= x0 && last.X0 <= x1) {
            last.X0 = std::min(last.X0, x0);
            last.X1 = std::max(last.X1, x1);
            return;
        }
    }
    out.push_back({y, x0, x1});
}

// The first pixel column whose centre lies at or right of x (pixel centres are integers).
int FirstColumnAtOrAfter(double x, int lo, int hi)
{
    double c = std::ceil(x);
    if (c < lo) return lo;
    if (c > hi) return hi;
    return static_cast<int>(c);
}

}  // namespace

namespace {

// The rows a figure spanning minY..maxY crosses: those whose centre y lies in [minY, maxY).
void RowsBetween(double minY, double maxY, const TRect& bounds, int& yStart, int& yEnd)
{
    yStart = std::max(bounds.Top, static_cast<int>(std::max(std::ceil(minY), -CoordLimit)));
    yEnd = std::min(bounds.Bottom, static_cast<int>(std::min(std::ceil(maxY), CoordLimit)));
}

// Figures whose points all share one x: every crossing lies at that x, and every span is empty.
bool OfNoWidth(const TDevicePath& path)
{
    if (path.empty()) return false;
    const double x = path.front().Points.empty() ? 0 : path.front().Points.front().x;
    for (const TDeviceFigure& f : path)
        for (const TPointF& p : f.Points)
            if (!Finite(p) || p.x != x) return false;
    return true;
}

}  // namespace

// One axis-aligned rectangle: both of its edges cross every row it covers at their own x (their slope is
// 0), so each row gets the same span.
bool ScanRectangle(const TDevicePath& path, const TRect& bounds, TRect& pixels)
{
    if (path.size() != 1 || path.front().Points.size() != 4) return false;
    TPointF p[4];
    for (int i = 0; i < 4; ++i) {
        p[i] = path.front().Points[static_cast<std::size_t>(i)];
        if (!Finite(p[i])) return false;
        p[i] = {ClampCoord(p[i].x), ClampCoord(p[i].y)};
    }
    const bool acrossFirst = p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x;
    const bool downFirst = p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y;
    if (!acrossFirst && !downFirst) return false;
    pixels = {0, 0, 0, 0};
    if (bounds.IsEmpty() || p[0].x == p[2].x) return true;
    RowsBetween(std::min(p[0].y, p[2].y), std::max(p[0].y, p[2].y), bounds, pixels.Top, pixels.Bottom);
    pixels.Left = FirstColumnAtOrAfter(std::min(p[0].x, p[2].x), bounds.Left, bounds.Right);
    pixels.Right = FirstColumnAtOrAfter(std::max(p[0].x, p[2].x), bounds.Left, bounds.Right);
    if (pixels.IsEmpty()) pixels = {0, 0, 0, 0};
    return true;
}

void ScanFill(const TDevicePath& path, int fillMode, const TRect& bounds, std::vector<TSpan>& out)
{
    // Charts fill these two by the hundred thousand: bars and the bands between neighbouring points.
    if (OfNoWidth(path)) return;
    if (TRect pixels; ScanRectangle(path, bounds, pixels)) {
        for (int y = pixels.Top; y < pixels.Bottom; ++y) PushSpan(out, y, pixels.Left, pixels.Right);
        return;
    }
    ScanEdges(path, fillMode, bounds, out);
}

void ScanEdges(const TDevicePath& path, int fillMode, const TRect& bounds, std::vector<TSpan>& out)
{
    std::vector<Edge> edges;
    double minY, maxY;
    CollectEdges(path, edges, minY, maxY);
    if (edges.empty() || bounds.IsEmpty()) return;
    // Rows whose centre y satisfies Y0 <= y < Y1 for some edge.
    int yStart, yEnd;
    RowsBetween(minY, maxY, bounds, yStart, yEnd);
    if (yStart >= yEnd) return;

    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.Y0 < b.Y0; });
    std::vector<const Edge*> active;
    std::vector<Crossing> xs;
    std::size_t next = 0;
    for (int y = yStart; y < yEnd; ++y) {
        const double yc = y;
        while (next < edges.size() && edges[next].Y0 <= yc) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [yc](const Edge* e) { return e->Y1 <= yc; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active)
            if (e->Y0 <= yc) xs.push_back({e->X0 + (yc - e->Y0) * e->Slope, e->Dir});
        if (xs.size() < 2) continue;
        std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.X < b.X; });
        if (fillMode == WINDING) {
            int wind = 0;
            double start = 0;
            for (const Crossing& c : xs) {
                const int before = wind;
                wind += c.Dir;
                if (before == 0 && wind != 0) start = c.X;
                else if (before != 0 && wind == 0)
                    PushSpan(out, y, FirstColumnAtOrAfter(start, bounds.Left, bounds.Right),
                             FirstColumnAtOrAfter(c.X, bounds.Left, bounds.Right));
            }
        } else {
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
                PushSpan(out, y, FirstColumnAtOrAfter(xs[i].X, bounds.Left, bounds.Right),
                         FirstColumnAtOrAfter(xs[i + 1].X, bounds.Left, bounds.Right));
        }
    }
}

namespace {

// Where a figure stands in its dash pattern, advanced a step at a time (no division a pixel).
class TDashWalk {
public:
    TDashWalk(const std::vector<int>& dashes, long long total, long long pos) : FDashes(dashes), FTotal(total)
    {
        if (FTotal == 0) return;
        FPos = pos % FTotal;
        if (FPos < 0) FPos += FTotal;
        Settle();
    }
    // Whether the current step falls on a dash (every step does without a pattern).
    bool On() const { return FTotal == 0 || FIndex % 2 == 0; }
    // Steps left in the current dash or gap, at least one.
    long long Left() const { return FTotal == 0 ? std::numeric_limits<long long>::max() : FEnd - FPos; }
    void Step() { Advance(1); }
    // Goes on by steps, at most Left().
    void Advance(long long steps)
    {
        if (FTotal == 0) return;
        FPos += steps;
        if (FPos == FTotal) {
            FPos = 0;
            FIndex = 0;
            FEnd = 0;
        }
        Settle();
    }

private:
    // The dash holding FPos: the first whose end lies beyond it.
    void Settle()
    {
        if (FIndex == 0 && FEnd == 0) FEnd = FDashes.empty() ? 0 : FDashes[0];
        while (FPos >= FEnd && FIndex + 1 < FDashes.size()) FEnd += FDashes[++FIndex];
    }
    const std::vector<int>& FDashes;
    long long FTotal, FPos = 0, FEnd = 0;
    std::size_t FIndex = 0;
};

// Where the pixels of a line go: a list of spans, joined as they come (see PushSpan), or straight into
// pixel memory. Pixel(y, x) is any pixel; Join(y, x0, x1) pixels that continue, in the same row, the run
// of the pixel just put; Alone(y, x) a pixel in a row of its own, which can join nothing.
struct TSpanSink {
    std::vector<TSpan>& Out;
    void Pixel(int y, int x) { PushSpan(Out, y, x, x + 1); }
    void Join(int y, int x0, int x1) { PushSpan(Out, y, x0, x1); }
    void Alone(int y, int x) { Out.push_back({y, x, x + 1}); }
};

// Paints one pixel value straight away: a pixel set twice is the same as once.
struct TFillSink {
    TSurface& Surface;
    std::uint32_t Value;
    void Pixel(int y, int x) { Surface.FillSpan(y, x, x + 1, Value); }
    void Join(int y, int x0, int x1) { Surface.FillSpan(y, x0, x1, Value); }
    void Alone(int y, int x) { Surface.FillSpan(y, x, x + 1, Value); }
};

// Steps iFrom..iTo of a horizontal or vertical segment (see ScanSegment), a dash or gap at a time. The
// spans are those pixel by pixel: a row's pixels after the first of a run join the span that first one
// made, so the rest of a horizontal run goes in as one span.
template <class TSink>
void ScanStraightRun(bool horizontal, long long maj0, long long sMaj, long long mi, long long iFrom, long long iTo,
                     const std::vector<int>& dashes, long long total, long long phase, const TRect& bounds,
                     TSink& on, TSink* gaps)
{
    if (horizontal ? mi < bounds.Top || mi >= bounds.Bottom : mi < bounds.Left || mi >= bounds.Right) return;
    const int m = static_cast<int>(mi);
    TDashWalk dash(dashes, total, phase + iFrom);
    for (long long i = iFrom; i <= iTo;) {
        const long long k = std::min(dash.Left(), iTo - i + 1);
        TSink* out = dash.On() ? &on : gaps;
        if (out) {
            const int first = static_cast<int>(maj0 + i * sMaj), last = static_cast<int>(maj0 + (i + k - 1) * sMaj);
            if (horizontal) {
                out->Pixel(m, first);
                if (sMaj > 0) out->Join(m, first + 1, last + 1);
                else out->Join(m, last, first);
            } else {
                // Only the first pixel can join a span: the others are each in a row of their own.
                out->Pixel(first, m);
                for (int y = first; y != last;) {
                    y += static_cast<int>(sMaj);
                    out->Alone(y, m);
                }
            }
        }
        dash.Advance(k);
        i += k;
    }
}

// One segment from a to b (integers), end pixel left out; steps advance phase. Pixel i of n lies at
// minor offset floor((2 i aMin + aMaj) / (2 aMaj)), kept as a quotient and remainder from step to step.
template <class TSink>
void ScanSegment(long long x0, long long y0, long long x1, long long y1, const std::vector<int>& dashes,
                 long long total, long long& phase, const TRect& bounds, TSink& on, TSink* gaps)
{
    const long long dx = x1 - x0, dy = y1 - y0;
    const long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const long long n = std::max(adx, ady);
    if (n == 0) return;
    const bool xMajor = adx >= ady;
    const long long sMaj = xMajor ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
    const long long sMin = xMajor ? (dy < 0 ? -1 : 1) : (dx < 0 ? -1 : 1);
    const long long aMaj = xMajor ? adx : ady, aMin = xMajor ? ady : adx;
    const long long maj0 = xMajor ? x0 : y0, min0 = xMajor ? y0 : x0;
    const long long lo = xMajor ? bounds.Left : bounds.Top, hi = xMajor ? bounds.Right - 1 : bounds.Bottom - 1;
    // Steps i in [0, n) whose major coordinate lies in [lo, hi].
    long long iFrom, iTo;
    if (sMaj > 0) {
        iFrom = lo - maj0;
        iTo = hi - maj0;
    } else {
        iFrom = maj0 - hi;
        iTo = maj0 - lo;
    }
    iFrom = std::max(iFrom, 0LL);
    iTo = std::min(iTo, n - 1);
    if (iFrom <= iTo && aMin == 0)
        ScanStraightRun(xMajor, maj0, sMaj, min0, iFrom, iTo, dashes, total, phase, bounds, on, gaps);
    else if (iFrom <= iTo) {
        const long long minLo = xMajor ? bounds.Top : bounds.Left, minHi = xMajor ? bounds.Bottom - 1 : bounds.Right - 1;
        const long long den = 2 * aMaj, inc = 2 * aMin;
        const long long first = iFrom * inc + aMaj;
        long long quot = first / den, rem = first % den;
        TDashWalk dash(dashes, total, phase + iFrom);
        for (long long i = iFrom; i <= iTo; ++i) {
            const long long mi = min0 + sMin * quot;
            if (mi >= minLo && mi <= minHi) {
                const long long maj = maj0 + i * sMaj;
                const int px = static_cast<int>(xMajor ? maj : mi), py = static_cast<int>(xMajor ? mi : maj);
                if (dash.On()) on.Pixel(py, px);
                else if (gaps) gaps->Pixel(py, px);
            }
            dash.Step();
            rem += inc;
            if (rem >= den) {
                rem -= den;
                ++quot;
            }
        }
    }
    phase += n;
}

// Within the clamp the integer rounding is exact (the points are known to be finite).
inline long long RoundCoord(double v) { return RoundHalfEvenInRange(ClampCoord(v)); }

}  // namespace

namespace {

// The segments of a figure into the sinks, with between called after each.
template <class TSink, class TBetween>
void ScanFigure(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase, const TRect& bounds,
                TSink& on, TSink* gaps, TBetween&& between)
{
    const std::size_t n = fig.Points.size();
    if (n < 2 || bounds.IsEmpty()) return;
    for (const TPointF& p : fig.Points)
        if (!Finite(p)) return;
    std::vector<int> steps;
    long long total = 0;
    for (double d : dashes) {
        const int s = std::max(0, static_cast<int>(RoundHalfEven(std::min(d, 1e6))));
        steps.push_back(s);
        total += s;
    }
    long long ph = static_cast<long long>(phase);
    const std::size_t segments = fig.Closed ? n : n - 1;
    // Each point rounded once: a segment starts where the one before ended.
    long long ax = RoundCoord(fig.Points[0].x), ay = RoundCoord(fig.Points[0].y);
    for (std::size_t i = 0; i < segments; ++i) {
        const TPointF& b = fig.Points[(i + 1) % n];
        const long long bx = RoundCoord(b.x), by = RoundCoord(b.y);
        ScanSegment(ax, ay, bx, by, steps, total, ph, bounds, on, gaps);
        between();
        ax = bx;
        ay = by;
    }
    phase = static_cast<double>(ph);
}

// Both forms of ScanCosmetic: with drain given, gaps is null and the spans are drained as they grow.
void ScanCosmeticDrained(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                         const TRect& bounds, std::vector<TSpan>& on, std::vector<TSpan>* gaps,
                         const std::function<void(std::vector<TSpan>&)>* drain)
{
    // Enough spans to paint in one go, few enough to stay in the cache.
    constexpr std::size_t DrainAt = 4096;
    std::vector<TSpan> none;
    TSpanSink onSink{on}, gapSink{gaps ? *gaps : none};
    ScanFigure(fig, dashes, phase, bounds, onSink, gaps ? &gapSink : nullptr, [&] {
        if (drain && on.size() >= DrainAt) (*drain)(on);
    });
}

}  // namespace

void ScanCosmetic(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                  const TRect& bounds, std::vector<TSpan>& on, std::vector<TSpan>* gaps)
{
    ScanCosmeticDrained(fig, dashes, phase, bounds, on, gaps, nullptr);
}

void ScanCosmetic(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                  const TRect& bounds, std::vector<TSpan>& on, const std::function<void(std::vector<TSpan>&)>& drain)
{
    ScanCosmeticDrained(fig, dashes, phase, bounds, on, nullptr, &drain);
}

void StrokeCosmeticSolid(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                         const TRect& bounds, TSurface& s, std::uint32_t value)
{
    TFillSink sink{s, value};
    ScanFigure(fig, dashes, phase, bounds, sink, static_cast<TFillSink*>(nullptr), [] {});
}

TDevicePath WidenStroke(const TDevicePath& path, const TDevicePen& pen)
{
    QPainterPath qp;
    for (const TDeviceFigure& f : path) {
        if (f.Points.empty()) continue;
        bool ok = true;
        for (const TPointF& p : f.Points) ok = ok && Finite(p);
        if (!ok) continue;
        qp.moveTo(ClampCoord(f.Points[0].x), ClampCoord(f.Points[0].y));
        for (std::size_t i = 1; i < f.Points.size(); ++i)
            qp.lineTo(ClampCoord(f.Points[i].x), ClampCoord(f.Points[i].y));
        if (f.Closed) qp.closeSubpath();
    }
    QPainterPathStroker st;
    const double w = std::max(1.0, std::min(pen.Width, CoordLimit));
    st.setWidth(w);
    st.setCapStyle(pen.Cap == pecFlat ? Qt::FlatCap : pen.Cap == pecSquare ? Qt::SquareCap : Qt::RoundCap);
    st.setJoinStyle(pen.Join == pjMiter ? Qt::MiterJoin : pen.Join == pjBevel ? Qt::BevelJoin : Qt::RoundJoin);
    st.setMiterLimit(10.0);  // the device's default miter limit
    if (!pen.Dashes.empty()) {
        QList<qreal> pattern;
        bool any = false;
        for (double d : pen.Dashes) {
            // The stroker measures dashes in pen widths; a zero dash with caps still makes a dot.
            pattern.append(std::max(d / w, 1e-3));
            any = any || d > 0;
        }
        if (pattern.size() % 2) pattern.append(pattern.back());
        if (any) st.setDashPattern(pattern);
    }
    const QPainterPath outline = st.createStroke(qp);
    TDevicePath result;
    for (const QPolygonF& poly : outline.toSubpathPolygons()) {
        TDeviceFigure f;
        f.Closed = true;
        f.Points.reserve(poly.size());
        for (const QPointF& p : poly) f.Points.push_back({p.x(), p.y()});
        result.push_back(std::move(f));
    }
    return result;
}

namespace {

// Segments for a full ellipse of the larger radius r: chords deviate by at most 0.1 pixel;
// a multiple of 4 so quadrants share the points.
int EllipseSegments(double r)
{
    r = std::fabs(r);
    if (!(r > 0.5)) return 8;
    const double a = std::acos(std::max(-1.0, 1.0 - 0.1 / r));
    int n = static_cast<int>(std::ceil(Pi / a));
    n = std::clamp(n, 8, 4096);
    return (n + 3) / 4 * 4;
}

}  // namespace

std::vector<TPointF> EllipsePoints(double cx, double cy, double rx, double ry)
{
    const int n = EllipseSegments(std::max(std::fabs(rx), std::fabs(ry)));
    std::vector<TPointF> pts;
    pts.reserve(n);
    for (int k = 0; k < n; ++k) {
        const double t = 2 * Pi * k / n;
        pts.push_back({cx + rx * std::cos(t), cy - ry * std::sin(t)});
    }
    return pts;
}

std::vector<TPointF> ArcPoints(double cx, double cy, double rx, double ry, double a0, double sweep)
{
    const int full = EllipseSegments(std::max(std::fabs(rx), std::fabs(ry)));
    const int n = std::max(1, static_cast<int>(std::ceil(full * std::fabs(sweep) / (2 * Pi))));
    std::vector<TPointF> pts;
    pts.reserve(n + 1);
    for (int k = 0; k <= n; ++k) {
        const double t = a0 + sweep * k / n;
        pts.push_back({cx + rx * std::cos(t), cy - ry * std::sin(t)});
    }
    return pts;
}

void BezierPoints(TPointF p0, TPointF p1, TPointF p2, TPointF p3, std::vector<TPointF>& out)
{
    const double len = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                       std::hypot(p3.x - p2.x, p3.y - p2.y);
    const int n = std::isfinite(len) ? std::clamp(static_cast<int>(len / 2), 4, 512) : 4;
    for (int k = 1; k <= n; ++k) {
        const double t = static_cast<double>(k) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        out.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
}

std::vector<TPointF> RoundRectPoints(double l, double t, double r, double b, double rx, double ry)
{
    rx = std::clamp(rx, 0.0, (r - l) / 2);
    ry = std::clamp(ry, 0.0, (b - t) / 2);
    // The corners are the quadrants of the ellipse with these radii, sampled as a full ellipse would be.
    const std::vector<TPointF> e = EllipsePoints(0, 0, rx, ry);
    const std::size_t q = e.size() / 4;
    std::vector<TPointF> pts;
    const double cxs[4] = {r - rx, l + rx, l + rx, r - rx};
    const double cys[4] = {t + ry, t + ry, b - ry, b - ry};
    for (int quad = 0; quad < 4; ++quad)
        for (std::size_t k = 0; k <= q; ++k) {
            const TPointF& p = e[(quad * q + k) % e.size()];
            pts.push_back({cxs[quad] + p.x, cys[quad] + p.y});
        }
    return pts;
}

// ---- clipping ----

TClipper::TClipper(const TRegion* clip, const TRect& device)
{
    FBounds = device;
    if (!clip) {
        FAll = true;
        return;
    }
    const TRect b = clip->Bounds();
    FBounds = {std::max(device.Left, b.Left), std::max(device.Top, b.Top), std::min(device.Right, b.Right),
               std::min(device.Bottom, b.Bottom)};
    if (FBounds.IsEmpty()) FBounds = {0, 0, 0, 0};
    const std::vector<TRect> rects = clip->Rects();
    // One rectangle is its bounds: no search per span.
    if (rects.size() <= 1) {
        FAll = true;
        return;
    }
    for (const TRect& r : rects) {
        if (FBands.empty() || FBands.back().Top != r.Top || FBands.back().Bottom != r.Bottom)
            FBands.push_back({r.Top, r.Bottom, {}});
        FBands.back().Xs.push_back({r.Left, r.Right});
    }
}

// ---- paint sources and raster operations ----

namespace {

bool HatchBit(int hatch, int x, int y)
{
    switch (hatch) {
    case bsHorizontal: return y == 0;
    case bsVertical: return x == 0;
    case bsFDiagonal: return x == y;
    case bsBDiagonal: return x + y == 7;
    case bsCross: return x == 0 || y == 0;
    case bsDiagCross: return x == y || x + y == 7;
    default: return false;
    }
}

int Mod(int a, int m)
{
    const int r = a % m;
    return r < 0 ? r + m : r;
}

}  // namespace

bool TPaintSource::At(int x, int y, std::uint32_t& c) const
{
    switch (Kind) {
    case TKind::Solid:
        c = Color;
        return true;
    case TKind::Hatch:
        if (HatchBit(Hatch, Mod(x - OrgX, 8), Mod(y - OrgY, 8))) {
            c = Color;
            return true;
        }
        if (!PaintGaps) return false;
        c = Back;
        return true;
    case TKind::Pattern: {
        if (!Pattern || Pattern->Width <= 0 || Pattern->Height <= 0) return false;
        const std::uint32_t p = Pattern->At(Mod(x - OrgX, Pattern->Width), Mod(y - OrgY, Pattern->Height)) & 0xFFFFFF;
        if (!Monochrome) {
            c = p;
            return true;
        }
        if (p != 0xFFFFFF) {
            c = Color;
            return true;
        }
        if (!PaintGaps) return false;
        c = Back;
        return true;
    }
    }
    return false;
}

std::uint32_t Rop2(int rop2, std::uint32_t p, std::uint32_t d)
{
    const unsigned t = static_cast<unsigned>(rop2 - 1) & 0xF;
    std::uint32_t r = 0;
    if (t & 8) r |= p & d;
    if (t & 4) r |= p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 1) r |= ~p & ~d;
    return r & 0xFFFFFF;
}

std::uint32_t Rop3(std::uint32_t rop3, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    const unsigned t = (rop3 >> 16) & 0xFF;
    std::uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(t & (1u << i))) continue;
        const std::uint32_t pm = (i & 4) ? p : ~p, sm = (i & 2) ? s : ~s, dm = (i & 1) ? d : ~d;
        r |= pm & sm & dm;
    }
    return r & 0xFFFFFF;
}

bool Rop3UsesSource(std::uint32_t rop3)
{
    const unsigned t = (rop3 >> 16) & 0xFF;
    return ((t >> 2) & 0x33) != (t & 0x33);
}

bool Rop3UsesPattern(std::uint32_t rop3)
{
    const unsigned t = (rop3 >> 16) & 0xFF;
    return ((t >> 4) & 0x0F) != (t & 0x0F);
}

TPaintSource SourceForBrush(const TDeviceBrush& b, const TDeviceState& st)
{
    TPaintSource s;
    s.Back = PixelFromColor(st.BkColor);
    s.OrgX = b.Origin.x;
    s.OrgY = b.Origin.y;
    switch (b.Kind) {
    case TDeviceBrush::TKind::Null:
    case TDeviceBrush::TKind::Solid:
        s.Kind = TPaintSource::TKind::Solid;
        s.Color = PixelFromColor(b.Color);
        break;
    case TDeviceBrush::TKind::Hatch:
        s.Kind = TPaintSource::TKind::Hatch;
        s.Color = PixelFromColor(b.Color);
        s.Hatch = b.Hatch;
        s.PaintGaps = st.BkMode == OPAQUE;
        break;
    case TDeviceBrush::TKind::Pattern:
        s.Kind = TPaintSource::TKind::Pattern;
        s.Pattern = b.Pattern.get();
        s.Monochrome = b.MonochromePattern;
        s.Color = PixelFromColor(st.TextColor);
        s.PaintGaps = st.BkMode == OPAQUE;
        break;
    }
    return s;
}

// ---- surface ----

std::uint32_t TSurface::Get(int x, int y) const
{
    const std::uint8_t* p = FMem.Bits + static_cast<std::ptrdiff_t>(y) * FMem.Stride + x * FMem.BytesPerPixel;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}

void TSurface::Set(int x, int y, std::uint32_t c)
{
    std::uint8_t* p = FMem.Bits + static_cast<std::ptrdiff_t>(y) * FMem.Stride + x * FMem.BytesPerPixel;
    p[0] = static_cast<std::uint8_t>(c);
    p[1] = static_cast<std::uint8_t>(c >> 8);
    p[2] = static_cast<std::uint8_t>(c >> 16);
    if (FMem.BytesPerPixel == 4) p[3] = 0xFF;
}

void TSurface::ReadRow(int y, int x0, int x1, std::uint32_t* out) const
{
    const std::uint8_t* row = FMem.Bits + static_cast<std::ptrdiff_t>(y) * FMem.Stride;
    if (FMem.BytesPerPixel == 4) {
        const auto* px = reinterpret_cast<const std::uint32_t*>(row);
        for (int x = x0; x < x1; ++x) *out++ = px[x] & 0xFFFFFFu;
        return;
    }
    for (int x = x0; x < x1; ++x) *out++ = Get(x, y);
}

void TSurface::WriteRow(int y, int x0, int x1, const std::uint32_t* in)
{
    std::uint8_t* row = FMem.Bits + static_cast<std::ptrdiff_t>(y) * FMem.Stride;
    if (FMem.BytesPerPixel == 4) {
        auto* px = reinterpret_cast<std::uint32_t*>(row);
        for (int x = x0; x < x1; ++x) px[x] = *in++ | 0xFF000000u;
        return;
    }
    for (int x = x0; x < x1; ++x) Set(x, y, *in++);
}

// Eight pixels a step: the compiler leaves a plain fill loop storing one pixel a step, and a chart's
// background is a million pixels a frame.
void FillPixels(std::uint32_t* p, std::size_t n, std::uint32_t v)
{
    const std::uint32_t block[8] = {v, v, v, v, v, v, v, v};
    for (; n >= 8; n -= 8, p += 8) std::memcpy(p, block, sizeof block);
    for (; n > 0; --n) *p++ = v;
}

void TSurface::PaintSpan(int y, int x0, int x1, const TPaintSource& src, int rop2)
{
    if (rop2 == R2_NOP) return;
    if (PlainFill(src, rop2)) {
        FillSpan(y, x0, x1, src.Color | 0xFF000000u);
        return;
    }
    for (int x = x0; x < x1; ++x) {
        std::uint32_t c;
        if (!src.At(x, y, c)) continue;
        Set(x, y, rop2 == R2_COPYPEN ? c : Rop2(rop2, c, Get(x, y)));
    }
}

void TSurface::Blend(int x, int y, std::uint32_t c, int a)
{
    if (a <= 0) return;
    if (a >= 255) {
        Set(x, y, c);
        return;
    }
    const std::uint32_t d = Get(x, y);
    std::uint32_t r = 0;
    for (int sh = 0; sh < 24; sh += 8) {
        const int dc = (d >> sh) & 0xFF, sc = (c >> sh) & 0xFF;
        r |= static_cast<std::uint32_t>(dc + ((sc - dc) * a + 127) / 255) << sh;
    }
    Set(x, y, r);
}

}  // namespace raster
