// The fill's shortcuts against the edge scan: an axis-aligned rectangle (any corner first, either way
// round, fractional, reversed, cut by the bounds or beyond them, flat, of huge coordinates) and figures
// whose points share one x give exactly the spans the edge table gives, in both fill modes, also when
// the output already ends with a span of the first row; on the image device a rectangle painted row by
// row through a clip of many bands, under XOR with a hatch, leaves the pixels of the span by span way.

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Raster.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using raster::TSpan;

std::string Spans(const std::vector<TSpan>& spans)
{
    std::string s;
    for (const TSpan& sp : spans) s += std::to_string(sp.Y) + ":" + std::to_string(sp.X0) + "-" + std::to_string(sp.X1) + " ";
    return s;
}

// The rectangle l..r x t..b as four corners from corner First on, clockwise or not.
TDeviceFigure Rectangle(double l, double t, double r, double b, int First, bool Clockwise)
{
    const TPointF corners[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
    TDeviceFigure f;
    f.Closed = true;
    for (int k = 0; k < 4; ++k) f.Points.push_back(corners[(First + (Clockwise ? k : 4 - k)) % 4]);
    return f;
}

void ExpectSameAsEdgeScan(const TDevicePath& Path, const TRect& Bounds, const std::vector<TSpan>& Before = {})
{
    for (int mode : {ALTERNATE, WINDING}) {
        std::vector<TSpan> fast = Before, edges = Before;
        raster::ScanFill(Path, mode, Bounds, fast);
        raster::ScanEdges(Path, mode, Bounds, edges);
        EXPECT_EQ(Spans(fast), Spans(edges)) << "fill mode " << mode;
    }
}

} // namespace

TEST(RasterFillShortcuts, RectanglesGiveTheEdgeScansSpans)
{
    const TRect bounds{0, 0, 600, 400};
    struct TCase {
        const char* Name;
        double L, T, R, B;
        TRect Bounds;
    } cases[] = {
        {"whole pixels", 10, 20, 30, 60, bounds},
        {"fractions", 10.5, 20.25, 30.75, 59.5, bounds},
        {"right of left, below top swapped", 30, 60, 10, 20, bounds},
        {"one pixel wide", 10, 20, 11, 300, bounds},
        {"less than a pixel wide", 10.2, 20, 10.8, 300, bounds},
        {"flat", 10, 20, 30, 20, bounds},
        {"cut by the bounds", -50, -30, 620, 450, bounds},
        {"beyond the bounds", 700, 20, 800, 60, bounds},
        {"negative bounds", -40, -40, -10, -5, TRect{-100, -100, 0, 0}},
        {"empty bounds", 10, 20, 30, 60, TRect{5, 5, 5, 90}},
        {"huge coordinates", -1e12, -1e12, 1e12, 1e12, bounds},
    };
    for (const TCase& c : cases)
        for (int first = 0; first < 4; ++first)
            for (bool clockwise : {true, false}) {
                SCOPED_TRACE(std::string(c.Name) + ", corner " + std::to_string(first) + (clockwise ? ", clockwise" : ""));
                ExpectSameAsEdgeScan({Rectangle(c.L, c.T, c.R, c.B, first, clockwise)}, c.Bounds);
            }
    // A span of the rectangle's first row already waiting in the output is joined as by the edge scan.
    ExpectSameAsEdgeScan({Rectangle(10, 20, 30, 60, 0, true)}, bounds, {{20, 25, 40}});
    ExpectSameAsEdgeScan({Rectangle(10, 20, 30, 60, 0, true)}, bounds, {{20, 0, 5}});
    // Many small rectangles on a quarter-pixel grid.
    std::mt19937 random(38);
    std::uniform_int_distribution<int> quarter(-40, 2440), corner(0, 3);
    for (int i = 0; i < 2000; ++i) {
        const double l = quarter(random) / 4.0, r = l + quarter(random) % 40 / 4.0;
        const double t = quarter(random) / 6.0, b = t + quarter(random) % 300 / 4.0;
        SCOPED_TRACE(i);
        ExpectSameAsEdgeScan({Rectangle(l, t, r, b, corner(random), i % 2 == 0)}, bounds);
    }
}

TEST(RasterFillShortcuts, FiguresOfNoWidthAndOtherPaths)
{
    const TRect bounds{0, 0, 600, 400};
    const TDeviceFigure column{{{7, 10}, {7, 200}, {7, 150}, {7, 40}}, true};
    const TDeviceFigure halfColumn{{{7.5, 10}, {7.5, 200}, {7.5, 40}}, true};
    ExpectSameAsEdgeScan({column}, bounds);
    ExpectSameAsEdgeScan({column, halfColumn}, bounds);
    std::vector<TSpan> spans;
    raster::ScanFill({column, halfColumn}, WINDING, bounds, spans);
    EXPECT_TRUE(spans.empty());
    // Not shortcuts: a slanted four-cornered band, a nearly flat one, a rectangle and a second figure,
    // five corners, a corner not finite.
    const TDeviceFigure band{{{7, 10}, {7, 50}, {8, 60}, {8, 15}}, true};
    const TDeviceFigure sliver{{{7, 10}, {7, 50}, {7.000001, 60}, {7.000001, 15}}, true};
    const TDeviceFigure five{{{10, 10}, {20, 10}, {20, 30}, {15, 30}, {10, 30}}, true};
    const TDeviceFigure broken{{{10, 10}, {20, 10}, {20, std::numeric_limits<double>::infinity()}, {10, 30}}, true};
    ExpectSameAsEdgeScan({band}, bounds);
    ExpectSameAsEdgeScan({sliver}, bounds);
    ExpectSameAsEdgeScan({Rectangle(10, 20, 30, 60, 0, true), Rectangle(20, 30, 50, 70, 1, false)}, bounds);
    ExpectSameAsEdgeScan({five}, bounds);
    ExpectSameAsEdgeScan({broken}, bounds);
    ExpectSameAsEdgeScan({}, bounds);
}

TEST(RasterFillShortcuts, ARectanglePaintedRowByRowThroughABandedClip)
{
    // Four corners take the rectangle's way; a fifth on the left edge, the same figure, the spans' way.
    const auto paint = [](bool FiveCorners, int L, int T, int R, int B) {
        auto bitmap = std::make_unique<TBitmap>(120, 90);
        TCanvas& c = bitmap->Canvas();
        c.Brush().SetColor(clYellow);
        c.FillRect({0, 0, 120, 90});
        const TRegion ellipse = TRegion::FromEllipse(10, 5, 110, 85);
        c.SelectClipRgn(&ellipse);
        c.ExcludeClipRect(40, 30, 60, 50);
        c.Pen().SetStyle(psClear);
        c.Pen().SetMode(pmXor);
        c.Brush().SetColor(clBlue);
        c.Brush().SetStyle(bsDiagCross);
        std::vector<TPoint> corners{{L, T}, {R, T}, {R, B}, {L, B}};
        if (FiveCorners) corners.push_back({L, (T + B) / 2});
        c.Polygon(corners);
        c.Polygon(corners);
        c.Brush().SetStyle(bsSolid);
        c.Polygon(corners);
        return bitmap;
    };
    const TRect cases[] = {{0, 0, 120, 90}, {20, 10, 90, 70}, {35, 25, 55, 45}, {-30, 40, 200, 41}, {100, -10, 101, 200}};
    for (const TRect& r : cases) {
        SCOPED_TRACE(std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", " +
                     std::to_string(r.Bottom));
        const auto fast = paint(false, r.Left, r.Top, r.Right, r.Bottom);
        const auto edges = paint(true, r.Left, r.Top, r.Right, r.Bottom);
        int differing = 0, painted = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) {
                differing += fast->PixelRGB(x, y) != edges->PixelRGB(x, y);
                painted += fast->PixelRGB(x, y) != clYellow;
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(painted, 0);
    }
}
