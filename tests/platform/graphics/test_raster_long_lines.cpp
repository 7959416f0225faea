// One-pixel lines of many thousands of segments, whose pixels are painted while they are found: the
// spans handed out on the way plus those left at the end are exactly the spans of one scan, and on the
// canvas such a line paints every pixel once, also under XOR.

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <tuple>
#include <string>
#include <vector>

namespace {

using raster::TSpan;

bool SameSpans(const std::vector<TSpan>& a, const std::vector<TSpan>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].Y != b[i].Y || a[i].X0 != b[i].X0 || a[i].X1 != b[i].X1) return false;
    return true;
}

// A seeded random walk of n points with steps up to step pixels, from the middle of the 600 x 400 box
// and turned back at its sides.
std::vector<TPointF> Walk(int n, double step, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> d(-step, step);
    auto reflect = [](double v, double hi) { return v < 0 ? -v : v > hi ? 2 * hi - v : v; };
    std::vector<TPointF> pts;
    double x = 300, y = 200;
    for (int i = 0; i < n; ++i) {
        pts.push_back({x, y});
        x = reflect(x + d(random), 600);
        y = reflect(y + d(random), 400);
    }
    return pts;
}

// Back and forth along row y between x0 and x1, n times: every turn revisits the span just found.
std::vector<TPointF> BackAndForth(int n, double x0, double x1, double y)
{
    std::vector<TPointF> pts;
    for (int i = 0; i < n; ++i) pts.push_back({i % 2 ? x1 : x0, y + (i / 2) % 7});
    return pts;
}

// A pixel of a one-pixel line and whether it falls on a dash.
struct TPixel {
    int X, Y;
    bool On;
    bool operator==(const TPixel&) const = default;
};

// The pixels of a segment in the order of its steps, by their definition: pixel i of n steps lies at minor
// offset floor((2 i aMin + aMaj) / (2 aMaj)) and is on when step phase + i falls on a dash.
std::vector<TPixel> DefinedPixels(long long x0, long long y0, long long x1, long long y1, const std::vector<int>& dashes,
                                  long long phase, const TRect& b)
{
    long long total = 0;
    for (int d : dashes) total += d;
    auto on = [&](long long pos) {
        if (total == 0) return true;
        long long m = ((pos % total) + total) % total;
        for (std::size_t i = 0; i < dashes.size(); ++i) {
            if (m < dashes[i]) return i % 2 == 0;
            m -= dashes[i];
        }
        return false;
    };
    std::vector<TPixel> out;
    const long long adx = std::llabs(x1 - x0), ady = std::llabs(y1 - y0), n = std::max(adx, ady);
    const bool xMajor = adx >= ady;
    const long long aMaj = xMajor ? adx : ady, aMin = xMajor ? ady : adx;
    for (long long i = 0; i < n; ++i) {
        const long long maj = (xMajor ? x0 : y0) + i * ((xMajor ? x1 - x0 : y1 - y0) < 0 ? -1 : 1);
        const long long mi = (xMajor ? y0 : x0) + ((xMajor ? y1 - y0 : x1 - x0) < 0 ? -1 : 1) * ((2 * i * aMin + aMaj) / (2 * aMaj));
        const int x = static_cast<int>(xMajor ? maj : mi), y = static_cast<int>(xMajor ? mi : maj);
        if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) out.push_back({x, y, on(phase + i)});
    }
    return out;
}

}  // namespace

TEST(RasterLongLines, DrainedSpansAreTheSpansOfOneScan)
{
    struct Case {
        const char* name;
        std::vector<TPointF> points;
        bool closed;
        TRect bounds;
    };
    const Case cases[] = {
        {"random walk", Walk(3000, 25, 7), false, {0, 0, 600, 400}},
        {"random walk, closed", Walk(3000, 25, 8), true, {0, 0, 600, 400}},
        {"random walk, partly outside the bounds", Walk(3000, 40, 9), false, {100, 50, 400, 300}},
        {"back and forth over the same pixels", BackAndForth(12000, 10, 500, 20), false, {0, 0, 600, 400}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const TDeviceFigure figure{k.points, k.closed};
        std::vector<TSpan> whole;
        double phase = 0;
        raster::ScanCosmetic(figure, {}, phase, k.bounds, whole, nullptr);

        std::vector<TSpan> handed, found;
        int drains = 0;
        bool oneLeft = true;
        double drainedPhase = 0;
        raster::ScanCosmetic(figure, {}, drainedPhase, k.bounds, found, [&](std::vector<TSpan>& spans) {
            ++drains;
            handed.insert(handed.end(), spans.begin(), spans.end() - 1);
            spans.erase(spans.begin(), spans.end() - 1);
            oneLeft = oneLeft && spans.size() == 1;
        });
        handed.insert(handed.end(), found.begin(), found.end());
        EXPECT_GT(drains, 1) << "the case must reach the draining";
        EXPECT_TRUE(oneLeft);
        EXPECT_TRUE(SameSpans(handed, whole)) << handed.size() << " spans against " << whole.size();
        EXPECT_EQ(drainedPhase, phase);
    }
}

TEST(RasterLongLines, LongPolylinePaintsEachPixelOnceUnderXor)
{
    // A zigzag of 3000 segments straight down a tall bitmap, one pixel per row, never coming back on
    // itself: under XOR every pixel of it turns black once, exactly as the same segments drawn one by one.
    constexpr int W = 20, H = 9010;
    std::vector<TPoint> pts;
    for (int i = 0; i <= 3000; ++i) pts.push_back({8 + (i % 2) * 2, 3 * i});
    TBitmap line(W, H, pf24bit), segments(W, H, pf24bit);
    for (TBitmap* b : {&line, &segments}) {
        b->Canvas().Brush().SetColor(clWhite);
        b->Canvas().FillRect({0, 0, W, H});
        b->Canvas().Pen().SetColor(clWhite);
        b->Canvas().Pen().SetMode(pmXor);
    }
    line.Canvas().Polyline(pts);
    for (std::size_t i = 1; i < pts.size(); ++i) {
        segments.Canvas().MoveTo(pts[i - 1].x, pts[i - 1].y);
        segments.Canvas().LineTo(pts[i].x, pts[i].y);
    }
    int differing = 0, black = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            differing += line.PixelRGB(x, y) != segments.PixelRGB(x, y);
            black += line.PixelRGB(x, y) == clBlack;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(black, 9000) << "one pixel per row, the last point's left out";
}

TEST(RasterLongLines, DashedSegmentsLightThePixelsOfTheirDefinition)
{
    // The scan works out the pixels of their definition a step at a time, or a dash at a time along a row or
    // a column, which must agree for every slope, direction, cut by the bounds, phase (also negative) and
    // pattern (zero dashes too).
    auto pixels = [](const std::vector<TSpan>& spans, bool on, std::vector<TPixel>& out) {
        for (const TSpan& s : spans)
            for (int x = s.X0; x < s.X1; ++x) out.push_back({x, s.Y, on});
    };
    const std::vector<std::vector<int>> patterns = {{}, {1, 1}, {3, 1}, {6, 2, 1, 2}, {0, 2}, {2, 0, 0, 3}, {5}};
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> coord(-40, 140), phases(-50, 50), pick(0, static_cast<int>(patterns.size()) - 1);
    const TRect bounds{0, 0, 100, 80};
    for (int k = 0; k < 3000; ++k) {
        const int x0 = coord(random), y0 = coord(random);
        // Every third segment lies along a row or a column, as grid lines do.
        const int x1 = k % 3 == 1 ? x0 : coord(random), y1 = k % 3 == 2 ? y0 : coord(random);
        const std::vector<int>& dashes = patterns[static_cast<std::size_t>(pick(random))];
        const int phase = phases(random);
        SCOPED_TRACE(testing::Message() << "segment " << k << ": " << x0 << "," << y0 << " to " << x1 << "," << y1
                                        << ", phase " << phase);
        std::vector<double> pattern(dashes.begin(), dashes.end());
        std::vector<TSpan> on, gaps;
        double ph = phase;
        raster::ScanCosmetic({{{double(x0), double(y0)}, {double(x1), double(y1)}}, false}, pattern, ph, bounds, on, &gaps);
        std::vector<TPixel> found;
        pixels(on, true, found);
        pixels(gaps, false, found);
        std::vector<TPixel> wanted = DefinedPixels(x0, y0, x1, y1, dashes, phase, bounds);
        auto order = [](const TPixel& a, const TPixel& b) { return std::tie(a.Y, a.X, a.On) < std::tie(b.Y, b.X, b.On); };
        std::sort(found.begin(), found.end(), order);
        std::sort(wanted.begin(), wanted.end(), order);
        ASSERT_EQ(found, wanted);
        EXPECT_EQ(ph, phase + std::max(std::abs(x1 - x0), std::abs(y1 - y0)));
    }
}

TEST(RasterLongLines, RowsAndColumnsMakeTheSpansOfTheirPixelsInTurn)
{
    // Grid lines and frames go a dash at a time; their spans must be those the pixels make one by one,
    // each joining the last span of its kind when it touches it, since a pixel in two spans is painted
    // twice (under XOR, not at all). Polylines along rows and columns, back over themselves and across
    // the bounds' edges, dashed and solid, with gaps.
    const std::vector<std::vector<int>> patterns = {{}, {1, 1}, {3, 3}, {6, 2, 1, 2}, {0, 2}, {2, 0, 0, 3}};
    const TRect bounds{5, 5, 60, 50};
    std::mt19937 random(20261212);
    std::uniform_int_distribution<int> coord(0, 64), phases(-20, 20), coin(0, 1);
    for (int k = 0; k < 400; ++k) {
        const std::vector<int>& dashes = patterns[static_cast<std::size_t>(k) % patterns.size()];
        std::vector<TPointF> points{{double(coord(random)), double(coord(random))}};
        for (int i = 0; i < 12; ++i) {
            TPointF p = points.back();
            (coin(random) ? p.x : p.y) = coord(random);
            points.push_back(p);
        }
        const bool closed = k % 5 == 0 && (points.back().x == points[0].x || points.back().y == points[0].y);
        const int phase = phases(random);
        SCOPED_TRACE(testing::Message() << "polyline " << k << ", phase " << phase);
        std::vector<TSpan> wantedOn, wantedGaps;
        long long step = phase;
        for (std::size_t i = 0; i + 1 < points.size() + (closed ? 1 : 0); ++i) {
            const TPointF a = points[i], b = points[(i + 1) % points.size()];
            for (const TPixel& p : DefinedPixels(a.x, a.y, b.x, b.y, dashes, step, bounds)) {
                std::vector<TSpan>& out = p.On ? wantedOn : wantedGaps;
                if (!out.empty() && out.back().Y == p.Y && out.back().X1 >= p.X && out.back().X0 <= p.X + 1) {
                    out.back().X0 = std::min(out.back().X0, p.X);
                    out.back().X1 = std::max(out.back().X1, p.X + 1);
                } else {
                    out.push_back({p.Y, p.X, p.X + 1});
                }
            }
            step += static_cast<long long>(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)));
        }
        std::vector<TSpan> on, gaps;
        double ph = phase;
        const std::vector<double> pattern(dashes.begin(), dashes.end());
        raster::ScanCosmetic({points, closed}, pattern, ph, bounds, on, &gaps);
        EXPECT_TRUE(SameSpans(on, wantedOn)) << on.size() << " spans on against " << wantedOn.size();
        EXPECT_TRUE(SameSpans(gaps, wantedGaps)) << gaps.size() << " spans of gaps against " << wantedGaps.size();
        EXPECT_EQ(ph, step);
    }
}

TEST(RasterLongLines, SolidLinesPaintedAsFoundSetThePixelsOfTheirSpans)
{
    // A solid copy paints a line's pixels as the scan finds them; they must be exactly the pixels of the
    // line's spans: random walks long and short, with dashes, closed, along rows and columns, partly
    // outside the bounds.
    constexpr int W = 220, H = 160;
    const TRect bounds{10, 5, 200, 150};
    const std::vector<std::vector<double>> patterns = {{}, {3, 3}, {6, 2, 1, 2}, {1, 1}};
    std::mt19937 random(20261213);
    std::uniform_int_distribution<int> coord(-30, 250), coin(0, 2);
    int drawn = 0;
    for (int k = 0; k < 200; ++k) {
        std::vector<TPointF> points{{double(coord(random)), double(coord(random))}};
        for (int i = 0; i < 1 + k % 40; ++i) {
            TPointF p = points.back();
            switch (coin(random)) {
            case 0: p.x = coord(random); break;                          // along a row
            case 1: p.y = coord(random); break;                          // along a column
            default: p = {double(coord(random)), double(coord(random))};
            }
            points.push_back(p);
        }
        const TDeviceFigure figure{points, k % 7 == 0};
        const std::vector<double>& dashes = patterns[static_cast<std::size_t>(k) % patterns.size()];
        SCOPED_TRACE(testing::Message() << "line " << k);
        std::vector<std::uint32_t> asFound(W * H, 0), bySpans(W * H, 0);
        raster::TSurface found(TImageMemory{reinterpret_cast<std::uint8_t*>(asFound.data()), W, H, W * 4, 4});
        raster::TSurface spanned(TImageMemory{reinterpret_cast<std::uint8_t*>(bySpans.data()), W, H, W * 4, 4});
        double foundPhase = 5, spanPhase = 5;
        raster::StrokeCosmeticSolid(figure, dashes, foundPhase, bounds, found, 0xFF123456u);
        std::vector<TSpan> spans;
        raster::ScanCosmetic(figure, dashes, spanPhase, bounds, spans, nullptr);
        for (const TSpan& s : spans) spanned.FillSpan(s.Y, s.X0, s.X1, 0xFF123456u);
        EXPECT_EQ(asFound, bySpans);
        EXPECT_EQ(foundPhase, spanPhase);
        drawn += std::count(asFound.begin(), asFound.end(), 0xFF123456u) > 0;
    }
    EXPECT_GT(drawn, 150) << "most lines cross the bounds";
}
