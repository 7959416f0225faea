// One-pixel lines of many thousands of segments, whose pixels are painted while they are found: the
// spans handed out on the way plus those left at the end are exactly the spans of one scan, and on the
// canvas such a line paints every pixel once, also under XOR.

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Raster.h"

#include <gtest/gtest.h>

#include <random>
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
