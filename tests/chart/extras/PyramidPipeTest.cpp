// The pyramid and volume pipe series on a real chart: pyramid slices at the pixels their sums fix, pyramids
// side by side, a pyramid whose values sum to 0; pipe segments of equal values with equal areas, the cone
// taken as at most 100, the hidden vertical axis; click tables, extents, samples, stored rules and
// degenerate values.
#include "chart/extras/LumPyramid.h"
#include "chart/extras/LumVolumePipe.h"

#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

TEST(PyramidSeries, SlicesOfOneOneTwoAtAQuarterAHalfAndTheApex)
{
    // Vertical axis 0..4: sums 1, 2 and 4 at y = 245, 170 and 20; the pyramid's centre at x = 240 with a
    // half base of 100 pixels.
    for (const bool is3D : {false, true}) {
        TRenderChart c(-1, 1, 0, 4);
        c.Chart.SetView3D(is3D);
        auto& s = c.Add<TPyramidSeries>();
        s.AppendValue(1, {}, clRed);
        s.AppendValue(1, {}, clGreen);
        s.AppendValue(2, {}, clBlue);
        const auto b = c.Render();
        KeepShot(*b, is3D ? "pyramid-3d" : "pyramid-2d");
        EXPECT_EQ(b->PixelRGB(240, 280), clRed) << is3D;
        EXPECT_EQ(b->PixelRGB(240, 210), clGreen) << is3D;
        EXPECT_EQ(b->PixelRGB(240, 100), clBlue) << is3D;
        if (is3D) continue;
        EXPECT_EQ(b->PixelRGB(240, 248), clRed);
        EXPECT_EQ(b->PixelRGB(240, 241), clGreen);
        EXPECT_EQ(b->PixelRGB(240, 173), clGreen);
        EXPECT_EQ(b->PixelRGB(240, 166), clBlue);
        // The apex: the top slice narrows to the centre at the total.
        EXPECT_EQ(b->PixelRGB(225, 30), c.Back());
        EXPECT_EQ(b->PixelRGB(255, 30), c.Back());
        // The base half width: 100 pixels at the bottom, three quarters at the first slice's top.
        EXPECT_EQ(b->PixelRGB(145, 316), clRed);
        EXPECT_EQ(b->PixelRGB(135, 316), c.Back());
        EXPECT_EQ(b->PixelRGB(170, 248), clRed);
        EXPECT_EQ(b->PixelRGB(160, 248), c.Back());
    }
}

TEST(PyramidSeries, ClickHitsTheSliceRectangle)
{
    TRenderChart c(-1, 1, 0, 4);
    auto& s = c.Add<TPyramidSeries>();
    s.AppendValue(1);
    s.AppendValue(1);
    s.AppendValue(2);
    c.Render();
    const std::pair<TPoint, int> cases[] = {{{240, 300}, 0}, {{140, 320}, 0}, {{139, 300}, -1}, {{240, 200}, 1},
                                            {{240, 100}, 2}, {{191, 100}, 2}, {{189, 100}, -1}, {{240, 10}, -1},  {{240, 330}, -1}};
    for (const auto& [p, expected] : cases) EXPECT_EQ(s.PointAtPixel(p.x, p.y), expected) << p.x << "," << p.y;
}

TEST(PyramidSeries, ValuesSummingToZeroDrawNoSliceAndHitNothing)
{
    TRenderChart c(-1, 1, -2, 2);
    auto& s = c.Add<TPyramidSeries>();
    s.AppendValue(1, {}, clRed);
    s.AppendValue(-1, {}, clGreen);
    const auto b = c.Render();
    EXPECT_EQ(CountColor(*b, {0, 0, 480, 340}, clRed) + CountColor(*b, {0, 0, 480, 340}, clGreen), 0);
    for (const TPoint p : {TPoint{240, 170}, TPoint{240, 100}, TPoint{240, 250}}) EXPECT_EQ(s.PointAtPixel(p.x, p.y), -1);
}

TEST(PyramidSeries, PyramidsStandSideBySide)
{
    TRenderChart c;
    auto& a = c.Add<TPyramidSeries>();
    auto& b = c.Add<TPyramidSeries>();
    a.AppendValue(3);
    a.AppendValue(-2);
    b.AppendValue(5);
    struct Row {
        TPyramidSeries* s;
        double lowX, highX, lowY, highY;
    };
    for (const Row r : {Row{&a, 0, 0, 0, 5}, Row{&b, 1, 1, 0, 5}}) {
        EXPECT_EQ(r.s->LowestX(), r.lowX);
        EXPECT_EQ(r.s->HighestX(), r.highX);
        EXPECT_EQ(r.s->LowestY(), r.lowY);
        EXPECT_EQ(r.s->HighestY(), r.highY) << "the sum of the absolute values";
    }
    int left = 0, right = 0;
    a.HorizMargins(left, right);
    EXPECT_EQ(left, 20);
    EXPECT_EQ(right, 20);
    EXPECT_TRUE(a.ColorEachPoint());
    EXPECT_FALSE(Stored(a, "ColorEachPoint"));
    EXPECT_FALSE(Stored(a, "SizePercent"));
    a.SetSizePercent(70);
    EXPECT_TRUE(Stored(a, "SizePercent"));
    EXPECT_EQ(a.EditorFormName(), "TPyramidSeriesEditor");
    EXPECT_TRUE(a.DrawsForward());
    c.Chart.LeftAxis().SetInverted(true);
    EXPECT_FALSE(a.DrawsForward());
}

namespace {

// A pipe with explicit colours, no lines, no outline and no gradient, so each segment is its colour.
TVolumePipeSeries& AddPipe(TRenderChart& C, const std::vector<double>& Values)
{
    auto& s = C.Add<TVolumePipeSeries>();
    s.Gradient().SetVisible(false);
    s.LinesPen().SetVisible(false);
    s.Pen().SetVisible(false);
    const TColor colors[] = {clRed, clGreen, clBlue, clYellow, clFuchsia, clAqua};
    for (std::size_t i = 0; i < Values.size(); ++i) s.AppendValue(Values[i], {}, colors[i % 6]);
    return s;
}

} // namespace

TEST(VolumePipeSeries, EqualValuesHaveEqualAreas)
{
    for (const int cone : {30, 80}) {
        TRenderChart c;
        auto& s = AddPipe(c, {10, 10, 10, 10});
        s.SetConePercent(cone);
        const auto b = c.Render();
        KeepShot(*b, "pipe-" + std::to_string(cone));
        int counts[4];
        const TColor colors[] = {clRed, clGreen, clBlue, clYellow};
        for (int i = 0; i < 4; ++i) counts[i] = CountColor(*b, {0, 0, 480, 340}, colors[i]);
        for (int i = 1; i < 4; ++i) EXPECT_NEAR(counts[i], counts[0], counts[0] * 0.02) << cone << " segment " << i;
        // The narrower right end makes the later segments longer.
        ASSERT_EQ(s.Segments().size(), 4u);
        const auto length = [&](int i) { return s.Segments()[i].Polygon[0].x - s.Segments()[i].Polygon[2].x; };
        EXPECT_LT(length(0), length(3)) << cone;
        EXPECT_EQ(s.Segments()[3].Polygon[0].x, s.Outline()[1].x) << "the last segment ends at the right end";
    }
}

TEST(VolumePipeSeries, ConeAbove100DrawsAs100AndKeepsIt)
{
    TRenderChart c;
    auto& s = AddPipe(c, {1, 2});
    s.SetConePercent(150);
    c.Render();
    EXPECT_EQ(s.ConePercent(), 100);
    // The plot rectangle (40, 20)-(440, 320): with 100 the right end closes at the middle.
    EXPECT_EQ(s.Outline()[1], (TPoint{438, 170}));
    EXPECT_EQ(s.Outline()[2], (TPoint{438, 170}));
    EXPECT_EQ(s.Outline()[0], (TPoint{42, 22}));
    EXPECT_EQ(s.Outline()[3], (TPoint{42, 318}));
}

TEST(VolumePipeSeries, VerticalAxisHiddenByAnActivePipe)
{
    for (const bool active : {true, false}) {
        TRenderChart c;
        c.Chart.SetAxisVisible(true);
        auto& s = AddPipe(c, {1, 2, 3});
        s.SetActive(active);
        c.Render();
        EXPECT_EQ(c.Chart.LeftAxis().Visible(), !active);
        EXPECT_TRUE(c.Chart.BottomAxis().Visible());
    }
}

TEST(VolumePipeSeries, ClickHitsTheSegmentPolygons)
{
    TRenderChart c;
    auto& s = AddPipe(c, {1, 0, 3});
    s.YValues().SetValueAt(1, 0);
    c.Render();
    ASSERT_EQ(s.Segments().size(), 3u);
    const int end0 = s.Segments()[0].Polygon[0].x;
    const std::pair<TPoint, int> cases[] = {{{60, 170}, 0}, {{end0 + 5, 170}, 2}, {{430, 170}, 2}, {{60, 10}, -1}, {{445, 170}, -1}};
    for (const auto& [p, expected] : cases) EXPECT_EQ(s.PointAtPixel(p.x, p.y), expected) << p.x << "," << p.y;
}

TEST(VolumePipeSeries, DistanceForAreaInEveryCase)
{
    struct Case {
        double l, h0, h1, area, expected;
    };
    const Case cases[] = {
        {100, 50, 50, 2500, 50},       // even height: the linear case a / H0
        {100, 50, 50, 5000, 100},      // the whole pipe
        {100, 50, 50, 9000, 100},      // never past the right end
        {100, 0, 20, 500, 0},          // no left height
        {100, 60, 20, 0, 0},           // no area
        {100, 60, 20, 4000, 100},      // the whole tapering pipe: 100 * (60 + 20) / 2
        {100, 60, 20, 4000.0000001, 100},
    };
    for (const Case& k : cases) EXPECT_NEAR(PipeDistanceForArea(k.l, k.h0, k.h1, k.area), k.expected, 1e-6) << k.area;
    // Half the tapering pipe's area: 60 x - 0.2 x^2 = 2000, x = 150 - sqrt(12500).
    EXPECT_NEAR(PipeDistanceForArea(100, 60, 20, 2000), 150 - std::sqrt(12500.0), 1e-9);
}

TEST(VolumePipeSeries, SettingsAndSamples)
{
    TVolumePipeSeries s(nullptr);
    EXPECT_EQ(s.ConePercent(), 30);
    EXPECT_TRUE(s.Gradient().Visible());
    EXPECT_EQ(s.Gradient().MidColor(), clWhite);
    EXPECT_FALSE(s.UsesAxes());
    EXPECT_EQ(s.DefaultSampleCount(), 5);
    EXPECT_FALSE(Stored(s, "ConePercent"));
    EXPECT_FALSE(Stored(s, "Color"));
    s.SetColor(clRed);
    EXPECT_EQ(s.SeriesColor(), clRed);
    EXPECT_EQ(s.EditorFormName(), "TVolumePipeSeriesEditor");
    s.FillSampleValues(7);
    ASSERT_EQ(s.PointCount(), 7);
    const char* names[] = {"Cars", "Phones", "Tables", "Monitors", "Lamps"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_GE(s.YValueAt(i), 1.0);
        EXPECT_LE(s.YValueAt(i), 1000.0);
        EXPECT_EQ(s.PointLabel(i), names[i % 5]);
    }
}

TEST(PyramidAndPipe, DegenerateValues)
{
    const std::vector<std::vector<double>> sets{{}, {5}, {3, 3, 3}, {0, 0}, {NaN, 1}, {1, NaN, 2}, {1e300, 1e300}, {-1, -2}};
    for (const auto& values : sets)
        for (const bool is3D : {false, true}) {
            TRenderChart c;
            c.Chart.SetView3D(is3D);
            auto& p = c.Add<TPyramidSeries>();
            auto& v = c.Add<TVolumePipeSeries>();
            for (double x : values) {
                p.AppendValue(x);
                v.AppendValue(x);
            }
            p.Marks().SetVisible(true);
            v.Marks().SetVisible(true);
            EXPECT_NO_THROW(c.Render()) << values.size();
            EXPECT_NO_THROW(p.PointAtPixel(240, 170));
            EXPECT_NO_THROW(v.PointAtPixel(240, 170));
        }
}
