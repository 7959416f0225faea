// Bars drawn through a canvas that logs the shape calls: bar bounds, thin bars, the thirteen shapes flat
// and in 3-D, gradient colours, bevels, tick lines, mark positions; the click test of both kinds; and
// offscreen renders probed at pixels.
#include "SpyCanvas.h"

#include "chart/base/LumCanvasHelpers.h"
#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <memory>


TEST(BarDraw, BoundsOfVerticalBars)
{
    struct TCase {
        const char* name;
        std::function<void(TBarDrawBench&, TBarSeries&)> setUp;
        int index;
        // Right and bottom relative to the plain rule (left + w + 1, origin pixel).
        std::function<TRect(TBarSeries&, int)> expected;
    };
    const auto plain = [](TBarSeries& s, int i) {
        return TRect{s.ScreenXOf(i), s.ScreenYOf(i), s.ScreenXOf(i) + s.BarPixelWidth() + 1, s.BarOriginPixel(i)};
    };
    const TCase cases[] = {
        {"pen visible", nullptr, 1, plain},
        {"pen hidden: the lower edge and the right grow by one", [](TBarDrawBench&, TBarSeries& s) { s.BarPen().SetVisible(false); }, 1,
         [plain](TBarSeries& s, int i) {
             TRect r = plain(s, i);
             return TRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
         }},
        {"100 %: reaches the next bar's edge", [](TBarDrawBench&, TBarSeries& s) { s.SetBarWidthPercent(100); }, 1,
         [plain](TBarSeries& s, int i) {
             TRect r = plain(s, i);
             return TRect{r.Left, r.Top, s.ScreenXOf(i + 1) + 1, r.Bottom};
         }},
        {"100 %: the last bar keeps its width", [](TBarDrawBench&, TBarSeries& s) { s.SetBarWidthPercent(100); }, 2,
         plain},
        {"100 % on an inverted axis: to the previous bar's edge",
         [](TBarDrawBench& b, TBarSeries& s) {
             s.SetBarWidthPercent(100);
             b.Chart.BottomAxis().SetInverted(true);
         },
         1,
         [plain](TBarSeries& s, int i) {
             TRect r = plain(s, i);
             return TRect{r.Left, r.Top, s.ScreenXOf(i - 1), r.Bottom};
         }},
        {"100 % on an inverted axis: the first bar keeps its width",
         [](TBarDrawBench& b, TBarSeries& s) {
             s.SetBarWidthPercent(100);
             b.Chart.BottomAxis().SetInverted(true);
         },
         0, plain},
    };
    for (const TCase& c : cases) {
        TBarDrawBench b;
        auto& s = b.Add<TBarSeries>({2, 4, -3});
        if (c.setUp) c.setUp(b, s);
        b.Paint(s, c.index);
        EXPECT_EQ(s.BarBounds(), c.expected(s, c.index)) << c.name;
    }
}

TEST(BarDraw, ThinBarsStayVisibleInTheirColour)
{
    {
        TBarDrawBench b;
        auto& s = b.Add<TBarSeries>({0, 3});
        s.SetSeriesColor(clRed);
        b.Paint(s, 0);
        const auto lines = b.Spy->Named("Line");
        ASSERT_EQ(lines.size(), 1u) << "a zero-height bar is a line";
        EXPECT_EQ(lines[0].PenColor, clRed);
        EXPECT_EQ(lines[0].Args[1], lines[0].Args[3]);
        EXPECT_TRUE(b.Spy->Named("Rect").empty());
    }
    {
        TBarDrawBench b;
        auto& s = b.Add<TBarSeries>({5});
        s.SetSeriesColor(clBlue);
        s.SetCustomBarWidth(1);
        s.BarPen().SetWidth(3);
        b.Paint(s, 0);
        const auto rects = b.Spy->Named("Rect");
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0].Args[2] - rects[0].Args[0], 2);
        EXPECT_EQ(rects[0].PenColor, clBlue) << "the outline takes the bar colour";
        EXPECT_EQ(rects[0].BrushStyle, bsClear) << "and nothing is filled";
    }
}

TEST(BarDraw, EachStyleCallsItsShape)
{
    struct TCase {
        TBarStyle style;
        const char* flat;
        const char* solid;
    };
    const TCase cases[] = {
        {bsRectangle, "Rect", "Box"},       {bsPyramid, "Polygon", "Pyramid"}, {bsInvPyramid, "Polygon", "Pyramid"},
        {bsCilinder, "Rect", "Cylinder"},   {bsEllipse, "Ellipse", "EllipseAtZ"}, {bsArrow, "Arrow", "Arrow"},
        {bsRectGradient, "Rect", "Box"},    {bsCone, "Polygon", "Cone"},       {bsBevel, "Rect", "Box"},
        {bsSlantCube, "Rect", "Cylinder"},  {bsDiamond, "Polygon", "PolygonAtZ"}, {bsInvArrow, "Arrow", "Arrow"},
        {bsInvCone, "Polygon", "Cone"},
    };
    for (bool in3D : {false, true}) {
        for (const TCase& c : cases) {
            TBarDrawBench b(in3D);
            auto& s = b.Add<TBarSeries>({4, -3});
            s.SetBarStyle(c.style);
            for (int i : {0, 1}) {
                b.Paint(s, i);
                ASSERT_FALSE(b.Spy->Calls.empty());
                const TCall& first = b.Spy->Calls.front();
                const std::string what = std::string(BarStyleNames.NameOf(c.style)) + (in3D ? " 3-D" : " flat") +
                                         (i ? ", below the origin" : "");
                EXPECT_EQ(first.Name, in3D ? c.solid : c.flat) << what;
                const TRect& r = s.BarBounds();
                const int upper = std::min(r.Top, r.Bottom), lower = std::max(r.Top, r.Bottom);
                const bool upward = c.style == bsPyramid || c.style == bsCone;
                const bool downward = c.style == bsInvPyramid || c.style == bsInvCone;
                if (upward || downward) {
                    // Apex up for the plain kinds whatever the sign, down for the inverted ones.
                    const int apex = upward ? upper : lower;
                    if (in3D)
                        EXPECT_EQ(first.Args[2], apex) << what;
                    else
                        EXPECT_EQ(first.Args[3], apex) << what;
                }
                if (c.style == bsSlantCube && in3D) {
                    EXPECT_EQ(first.Sides, 4) << what;
                }
                if (c.style == bsSlantCube && !in3D) {
                    EXPECT_EQ(b.Spy->Named("VertLine").size(), 1u) << what;
                }
            }
            EXPECT_EQ(LumCanvasModule().CylinderSideCount, 16);
        }
    }
}

TEST(BarDraw, RelativeGradientBlendsFromTheStartColour)
{
    struct TCase {
        double value;
        int channel; // of each byte: white blended toward black by value / 10
    };
    for (const TCase c : {TCase{10, 0}, TCase{5, 127}, TCase{0, 255}, TCase{2, 204}}) {
        TBarDrawBench b;
        auto& s = b.Add<TBarSeries>({c.value, 10});
        s.SetSeriesColor(clBlack);
        s.SetBarStyle(bsRectGradient);
        s.Gradient().SetRelative(true);
        b.Paint(s, 0);
        const TColor expected = static_cast<TColor>(c.channel | c.channel << 8 | c.channel << 16);
        EXPECT_EQ(s.Gradient().EndColor(), expected) << c.value;
    }
    TBarDrawBench b;
    auto& s = b.Add<TBarSeries>({5, 10});
    s.SetSeriesColor(clRed);
    s.SetBarStyle(bsRectGradient);
    b.Paint(s, 0);
    EXPECT_EQ(s.Gradient().EndColor(), clRed) << "not relative: the bar colour";
}

TEST(BarDraw, BevelIsTheSameFrameAboveAndBelowTheOrigin)
{
    TBarDrawBench b;
    auto& s = b.Add<TBarSeries>({4, -3});
    s.SetBarStyle(bsBevel);
    s.SetSeriesColor(static_cast<TColor>(0x406080));
    s.BarPen().SetWidth(2);
    for (int i : {0, 1}) {
        b.Paint(s, i);
        const auto bevels = b.Spy->Named("Bevel");
        ASSERT_EQ(bevels.size(), 1u);
        const TRect r = SortRectCorners(s.BarBounds());
        EXPECT_EQ(bevels[0].Args, (std::vector<int>{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2,
                                                    int(LightenColorBy(0x406080, 128)), int(DarkenColorBy(0x406080, 64)),
                                                    1}))
            << "point " << i;
    }
}

TEST(BarDraw, TickLinesOnlyStrictlyInsideTheBar)
{
    for (bool in3D : {false, true}) {
        TBarDrawBench b(in3D);
        auto& s = b.Add<TBarSeries>({4, -3});
        s.TickLines().SetVisible(true);
        std::vector<int> depthX;
        for (int i : {0, 1}) {
            b.Paint(s, i);
            const TRect r = SortRectCorners(s.BarBounds());
            b.Chart.LeftAxis().TickPositions = {r.Top - 5, r.Top, r.Top + 3, r.Bottom - 1, r.Bottom};
            b.Spy->Calls.clear();
            s.PaintPoint(i);
            const auto ticks = b.Spy->Named("HorizLineAtZ");
            ASSERT_EQ(ticks.size(), 2u) << "ticks at the ends are skipped";
            EXPECT_EQ(ticks[0].Args, (std::vector<int>{r.Left, r.Right, r.Top + 3, s.StartZ()}));
            EXPECT_EQ(ticks[1].Args[2], r.Bottom - 1);
            const auto depth = b.Spy->Named("DepthLine");
            if (!in3D) {
                EXPECT_TRUE(depth.empty());
                continue;
            }
            ASSERT_EQ(depth.size(), 2u);
            EXPECT_EQ(depth[0].Args[1], r.Top + 3);
            depthX.push_back(depth[0].Args[0] == r.Right ? 1 : depth[0].Args[0] == r.Left ? -1 : 0);
        }
        if (in3D) {
            EXPECT_NE(depthX[0], 0);
            EXPECT_EQ(depthX[0], depthX[1]) << "bars above and below the origin show the ticks on one face";
        }
    }
}

TEST(BarDraw, MarksSitBeyondTheBarEnds)
{
    {
        TBarDrawBench b;
        auto& s = b.Add<TBarSeries>({4, -3});
        s.Marks().SetStyle(smsValue);
        b.PrepareAndLayout();
        s.PaintMarks();
        const int h = s.BarPixelWidth() / 2;
        const TSeriesMarkPosition* up = s.Marks().Positions().PositionAt(0);
        const TSeriesMarkPosition* down = s.Marks().Positions().PositionAt(1);
        ASSERT_TRUE(up && down) << s.FirstVisible() << " " << s.LastVisible() << " " << s.Marks().Positions().Count();
        EXPECT_LT(up->LeftTop.y + up->Height, s.ScreenYOf(0)) << "above a bar growing up";
        EXPECT_EQ(up->ArrowTo.x, s.ScreenXOf(0) + h);
        EXPECT_GT(down->LeftTop.y, s.ScreenYOf(1)) << "below a bar growing down";
        EXPECT_EQ(down->ArrowFrom.y, s.ScreenYOf(1) + s.Marks().Callout().Distance());
    }
    {
        TBarDrawBench b;
        auto& s = b.AddHoriz({4, -3});
        s.Marks().SetStyle(smsValue);
        b.FixAxes(-10, 10, 0, 10);
        b.PrepareAndLayout();
        s.PaintMarks();
        const TSeriesMarkPosition* right = s.Marks().Positions().PositionAt(0);
        const TSeriesMarkPosition* left = s.Marks().Positions().PositionAt(1);
        ASSERT_TRUE(right && left);
        EXPECT_GT(right->LeftTop.x, s.ScreenXOf(0)) << "right of a bar growing right";
        EXPECT_LT(left->LeftTop.x + left->Width, s.ScreenXOf(1)) << "left of a bar growing left";
        EXPECT_EQ(right->ArrowTo.y, s.ScreenYOf(0) + s.BarPixelWidth() / 2);
    }
}

TEST(BarDraw, VerticalMarksNeverOverlapAnEarlierMark)
{
    TBarDrawBench b;
    std::vector<double> values(8, 5.0);
    auto& s = b.Add<TBarSeries>(values);
    s.SetValueFormat("0.000000000");
    s.Marks().SetStyle(smsValue);
    b.PrepareAndLayout();
    s.PaintMarks();
    ASSERT_EQ(s.Marks().Positions().Count(), 8);
    for (int i = 1; i < 8; ++i)
        for (int j = 0; j < i; ++j) {
            const TRect a = s.Marks().Positions().PositionAt(i)->GetBoundsRect();
            const TRect c = s.Marks().Positions().PositionAt(j)->GetBoundsRect();
            const bool overlap = a.Left < c.Right && c.Left < a.Right && a.Top < c.Bottom && c.Top < a.Bottom;
            EXPECT_FALSE(overlap) << "marks " << j << " and " << i;
        }
}

// ---- Clicks ----------------------------------------------------------------------------------------------

namespace {

struct TBarClick {
    const char* name;
    int x, y;
    int expected;
};

} // namespace

TEST(BarClicks, VerticalBars)
{
    // One series of 4, 2 at X 0..1 (columns 40 and 80), w = 400 div 3 x 0.7 = 93.x: the width is read back.
    TBarDrawBench b;
    auto& s = b.Add<TBarSeries>({4, 2, 6});
    auto& t = b.Add<TBarSeries>({1, 1, 1});
    b.PrepareAndLayout();
    const int x0 = s.ScreenXOf(1), w = s.BarPixelWidth();
    const int top = s.ScreenYOf(1), base = s.BarOriginPixel(1);
    const TBarClick clicks[] = {
        {"inside", x0 + w / 2, (top + base) / 2, 1},
        {"on the left edge", x0, top, 1},
        {"on the right edge", x0 + w, base, 1},
        {"above the bar", x0 + 1, top - 1, -1},
        {"between the bars of two categories", s.ScreenXOf(1) - 2, (top + base) / 2, -1},
        {"in the other series' column above its bar", t.ScreenXOf(1) + 2, t.ScreenYOf(1) - 2, -1},
    };
    for (const TBarClick& c : clicks) EXPECT_EQ(s.PointAtPixel(c.x, c.y), c.expected) << c.name;
    EXPECT_EQ(t.PointAtPixel(t.ScreenXOf(1) + 2, t.ScreenYOf(1) + 2), 1);
}

TEST(BarClicks, ShapedBarsAnd3D)
{
    {
        TBarDrawBench b;
        auto& s = b.Add<TBarSeries>({6});
        s.SetBarStyle(bsPyramid);
        b.PrepareAndLayout();
        const int x0 = s.ScreenXOf(0), w = s.BarPixelWidth(), top = s.ScreenYOf(0), base = s.BarOriginPixel(0);
        EXPECT_EQ(s.PointAtPixel(x0 + w / 2, top + 2), 0) << "the apex";
        EXPECT_EQ(s.PointAtPixel(x0 + 2, top + 2), -1) << "the tip region beside the pyramid";
        EXPECT_EQ(s.PointAtPixel(x0 + 2, base - 1), 0) << "near the base corner";
        s.SetBarStyle(bsEllipse);
        EXPECT_EQ(s.PointAtPixel(x0 + 1, top + 1), -1) << "an ellipse's corner";
        EXPECT_EQ(s.PointAtPixel(x0 + w / 2, (top + base) / 2), 0);
    }
    {
        TBarDrawBench b(true);
        auto& s = b.Add<TBarSeries>({6, 3, 5, 2, 4, 6, 3, 5, 2, 4});
        b.PrepareAndLayout();
        TCanvas3D& canvas = b.Chart.ChartCanvas();
        const int xm = s.ScreenXOf(1) + s.BarPixelWidth() / 2, ym = (s.ScreenYOf(1) + s.BarOriginPixel(1)) / 2;
        const TPoint front = canvas.ProjectXYZ(xm, ym, s.StartZ());
        EXPECT_EQ(s.PointAtPixel(front.x, front.y), 1) << "the projected front face";
        const TPoint above = canvas.ProjectXYZ(xm, s.ScreenYOf(1) - 10, s.StartZ());
        EXPECT_EQ(s.PointAtPixel(above.x, above.y), -1);
    }
}

TEST(BarClicks, HorizontalBars)
{
    TBarDrawBench b;
    b.FixAxes(-10, 10, 0, 10);
    auto& s = b.AddHoriz({6, -4});
    b.PrepareAndLayout();
    const int y0 = s.ScreenYOf(1), w = s.BarPixelWidth();
    const int end = s.ScreenXOf(1), origin = s.BarOriginPixel(1);
    const TBarClick clicks[] = {
        {"inside the negative bar", (end + origin) / 2, y0 + w / 2, 1},
        {"on its far end", end, y0, 1},
        {"beyond its end", end - 2, y0 + w / 2, -1},
        {"inside the positive bar", (s.ScreenXOf(0) + s.BarOriginPixel(0)) / 2, s.ScreenYOf(0) + 1, 0},
        {"above both", origin + 1, y0 - 3, -1},
    };
    for (const TBarClick& c : clicks) EXPECT_EQ(s.PointAtPixel(c.x, c.y), c.expected) << c.name;
}

// ---- Renders -------------------------------------------------------------------------------------------

TEST(BarRender, SideBySideAndStackedBars)
{
    for (TMultiBar mode : {mbSide, mbStacked}) {
        TSeriesBench b;
        b.FixAxes(0, 10, 0, 10);
        b.Chart.SetAxisVisible(false);
        // Ten categories: bars 12 pixels wide side by side, 26 stacked; a bar covers columns L .. L + w.
        auto& red = b.Add<TBarSeries>({4, 6, 1, 1, 1, 1, 1, 1, 1, 1});
        auto& blue = b.Add<TBarSeries>({3, 2, 1, 1, 1, 1, 1, 1, 1, 1});
        red.SetSeriesColor(clRed);
        blue.SetSeriesColor(clBlue);
        red.BarPen().SetVisible(false);
        blue.BarPen().SetVisible(false);
        red.Marks().SetVisible(false);
        blue.Marks().SetVisible(false);
        red.SetMultiBar(mode);
        const auto bitmap = b.Render();
        const TColor back = bitmap->PixelRGB(5, 5);
        for (TBarSeries* s : {&red, &blue}) {
            const TColor c = s->SeriesColor();
            const int left = s->ScreenXOf(1);
            // Side by side, the later blue bar covers the red one's last column.
            const int right = left + s->BarPixelWidth() - (mode == mbSide && s == &red ? 1 : 0);
            const int y = (s->ScreenYOf(1) + s->BarOriginPixel(1)) / 2;
            EXPECT_EQ(bitmap->PixelRGB(left, y), c) << "first column, mode " << mode;
            EXPECT_EQ(bitmap->PixelRGB(right, y), c) << "last column, mode " << mode;
            if (mode == mbStacked || s == &red) {
                EXPECT_EQ(bitmap->PixelRGB(left - 1, y), back) << mode;
            }
            if (mode == mbStacked || s == &blue) {
                EXPECT_EQ(bitmap->PixelRGB(right + 1, y), back) << mode;
            }
            if (mode == mbSide || s == &blue) {
                EXPECT_EQ(bitmap->PixelRGB(left + 2, s->ScreenYOf(1) - 2), back) << "above the bar, mode " << mode;
            }
        }
        if (mode == mbStacked) {
            // Blue sits on red at point 1: red up to 6, blue from 6 to 8.
            const int x = red.ScreenXOf(1) + 3;
            EXPECT_EQ(bitmap->PixelRGB(x, PixelY(3)), clRed);
            EXPECT_EQ(bitmap->PixelRGB(x, PixelY(7)), clBlue);
            EXPECT_EQ(bitmap->PixelRGB(x, PixelY(8.5)), back);
        }
    }
}
