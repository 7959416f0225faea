// The canvas module's free routines and its process-wide state.
#include "chart/base/LumCanvasHelpers.h"

#include "chart/base/LumConst.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

// ---- Module state --------------------------------------------------------------------------------------

TLumCanvasModule::TLumCanvasModule()
    : DefaultFontName(LumConst::DefaultFontName), DefaultFontSize(std::atoi(LumConst::DefaultFontSize))
{
}

TLumCanvasModule::~TLumCanvasModule() = default;

namespace {
TLumCanvasModule& ModuleInstance()
{
    static TLumCanvasModule module;
    return module;
}
} // namespace

TLumCanvasModule& LumCanvasModule() { return ModuleInstance(); }

void ResetLumCanvasModule()
{
    TLumCanvasModule& m = ModuleInstance();
    TLumCanvasModule fresh;
    m.DefaultFontName = fresh.DefaultFontName;
    m.DefaultFontSize = fresh.DefaultFontSize;
    m.GeometricPens = fresh.GeometricPens;
    m.CylinderSideCount = fresh.CylinderSideCount;
    m.PatternBitmap.reset();
    m.PatternColorBitmap.reset();
    m.HasCustomColors = false;
    m.CustomColors.clear();
}

// ---- Points and rectangles -----------------------------------------------------------------------------

int TurnSign(TPoint a, TPoint b, TPoint c)
{
    using L = __int128;
    const L turn = (L(a.x) - b.x) * (L(c.y) - b.y) - (L(c.x) - b.x) * (L(a.y) - b.y);
    return turn > 0 ? 1 : (turn < 0 ? -1 : 0);
}

bool IsTriangleCulled(TPoint p0, TPoint p1, TPoint p2) { return TurnSign(p0, p1, p2) < 0; }

bool IsTrianglePointsCulled(std::span<const TPoint> points)
{
    if (points.size() < 3) return false;
    return IsTriangleCulled(points[0], points[1], points[2]);
}

bool RectContainsXY(const TRect& r, int x, int y)
{
    return x >= std::min(r.Left, r.Right) && x <= std::max(r.Left, r.Right) && y >= std::min(r.Top, r.Bottom)
        && y <= std::max(r.Top, r.Bottom);
}

TRect SortRectCorners(const TRect& r)
{
    TRect s = r;
    if (s.Left > s.Right) std::swap(s.Left, s.Right);
    if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
    return s;
}

TPoint GetRectMidpoint(const TRect& r)
{
    // Sums in 64 bits, and C++ division truncates toward zero as the canvas expects.
    return {static_cast<int>((std::int64_t(r.Left) + r.Right) / 2),
            static_cast<int>((std::int64_t(r.Top) + r.Bottom) / 2)};
}

namespace {
// Grows r to hold p: lower Left or else raise Right, the same with Top and Bottom.
void GrowToPoint(TRect& r, TPoint p)
{
    if (p.x < r.Left)
        r.Left = p.x;
    else if (p.x > r.Right)
        r.Right = p.x;
    if (p.y < r.Top)
        r.Top = p.y;
    else if (p.y > r.Bottom)
        r.Bottom = p.y;
}
} // namespace

TRect PointsBoundingRect(std::span<const TPoint> points)
{
    if (points.empty()) return {};
    TRect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (std::size_t i = 1; i < points.size(); ++i) GrowToPoint(r, points[i]);
    return r;
}

TRect PointsEnclosingRect(std::span<const TPoint> points, int n)
{
    n = std::min<int>(n, static_cast<int>(points.size()));
    if (n < 1) return {};
    TRect r = PointsBoundingRect(points.first(static_cast<std::size_t>(n)));
    ++r.Right;
    ++r.Bottom;
    return r;
}

TRect TriangleEnclosingRect(TPoint p0, TPoint p1, TPoint p2)
{
    const TPoint pts[3] = {p0, p1, p2};
    return PointsEnclosingRect(pts, 3);
}

// ---- Convex hull ---------------------------------------------------------------------------------------

namespace {

// The pivot: smallest y, among those the largest x, the first found on a full tie.
std::size_t HullPivot(const TPointArray& p)
{
    std::size_t best = 0;
    for (std::size_t i = 1; i < p.size(); ++i)
        if (p[i].y < p[best].y || (p[i].y == p[best].y && p[i].x > p[best].x)) best = i;
    return best;
}

// Sorts points and keys together, ascending by key: middle element as pivot value, Hoare partition.
void SortByKey(TPointArray& p, std::vector<float>& key, int lo, int hi)
{
    int i = lo, j = hi;
    const float mid = key[static_cast<std::size_t>((lo + hi) / 2)];
    while (i <= j) {
        while (key[static_cast<std::size_t>(i)] < mid) ++i;
        while (key[static_cast<std::size_t>(j)] > mid) --j;
        if (i <= j) {
            std::swap(key[static_cast<std::size_t>(i)], key[static_cast<std::size_t>(j)]);
            std::swap(p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(j)]);
            ++i;
            --j;
        }
    }
    if (lo < j) SortByKey(p, key, lo, j);
    if (i < hi) SortByKey(p, key, i, hi);
}

// Drops the points where the sorted fan does not turn the hull's way; index 0 always stays.
void DropConcavePoints(TPointArray& p)
{
    std::size_t i = 1;
    while (i + 1 < p.size()) {
        if (TurnSign(p[i - 1], p[i], p[i + 1]) < 0) {
            ++i;
        } else {
            p.erase(p.begin() + static_cast<std::ptrdiff_t>(i));
            if (i > 1) --i;
        }
    }
}

} // namespace

bool ReduceToConvexHull(TPointArray& points)
{
    if (points.size() < 3) return false;
    if (points.size() == 3) return true;

    const std::size_t pivotIndex = HullPivot(points);
    const TPoint pivot = points[pivotIndex];
    points[pivotIndex] = points.back();
    points.pop_back();

    std::vector<float> key(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double dx = double(pivot.x) - points[i].x;
        const double dy = double(pivot.y) - points[i].y;
        const double h = std::hypot(dx, dy);
        key[i] = h == 0.0 ? 0.0f : static_cast<float>(dx / h);
    }
    SortByKey(points, key, 0, static_cast<int>(points.size()) - 1);
    DropConcavePoints(points);
    points.push_back(pivot);
    return true;
}

// ---- Colours -------------------------------------------------------------------------------------------

TColorBytes SplitColorBytes(TColor color)
{
    const auto v = static_cast<std::uint32_t>(color);
    return {static_cast<std::uint8_t>((v >> 16) & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
            static_cast<std::uint8_t>(v & 0xFF)};
}

namespace {
TColor ShiftChannels(TColor color, int delta)
{
    const TColor rgb = ColorToRGB(color);
    auto channel = [delta](int v) { return std::clamp(v + delta, 0, 255); };
    return channel(rgb & 0xFF) | (channel((rgb >> 8) & 0xFF) << 8) | (channel((rgb >> 16) & 0xFF) << 16);
}
} // namespace

TColor DarkenColorBy(TColor color, int amount) { return ShiftChannels(color, -amount); }
TColor LightenColorBy(TColor color, int amount) { return ShiftChannels(color, amount); }

// ---- Small helpers -------------------------------------------------------------------------------------

double VectorLength(double a, double b) { return std::sqrt(a * a + b * b); }

TPoint PullBackLineEnd(TPoint start, TPoint end, int distance)
{
    if (start.x != end.x) {
        const double angle = std::atan2(double(end.y) - start.y, double(end.x) - start.x);
        return {end.x - PixelFromReal(distance * std::cos(angle)), end.y - PixelFromReal(distance * std::sin(angle))};
    }
    return {end.x, end.y < start.y ? end.y + distance : end.y - distance};
}

// ---- Colour dialog -------------------------------------------------------------------------------------

namespace {
// Replaces (or adds) the custom-colour line of slot 0, "ColorA".
void ResetFirstCustomColor(std::vector<std::string>& lines)
{
    const std::string line = CustomColorLine(0, TransparentBackColor);
    for (std::string& l : lines) {
        int slot = -1;
        std::int32_t value = 0;
        if (ParseCustomColorLine(l, slot, value) && slot == 0) {
            l = line;
            return;
        }
    }
    lines.insert(lines.begin(), line);
}
} // namespace

TColor RunColorDialog(TWinControl* owner, TColor color)
{
    TLumCanvasModule& m = LumCanvasModule();
    if (!m.HasCustomColors) {
        m.CustomColors.clear();
        m.HasCustomColors = true;
    }
    TColorDialogData data;
    data.Color = ColorToRGB(color);  // the dialog shows plain colours
    data.CustomColors = m.CustomColors;
    ResetFirstCustomColor(data.CustomColors);
    if (!ExecuteColorDialog(owner, data)) return color;
    m.CustomColors = data.CustomColors;
    return data.Color;
}

bool EditColorWithDialog(TWinControl* owner, TColor& color)
{
    const TColor chosen = RunColorDialog(owner, color);
    if (chosen == color) return false;
    color = chosen;
    return true;
}
