// The arrow and bubble series on a real chart: arrows drawn from start to end (none for a zero length),
// bubbles sized in axis pixels (ellipses with Squared off on unequal scales), click tables for the shafts
// and each pointer style, extents, gallery styles, samples, copying, stored rules and degenerate points.
#include "chart/extras/ArrowCha.h"
#include "chart/extras/BubbleCh.h"

#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// Axes 0..10: x = 40 + 40 v, y = 320 - 30 v.

TEST(ArrowSeries, DrawsFromStartToEndAndNothingForZeroLength)
{
    for (const bool is3D : {false, true}) {
        TRenderChart c;
        c.Chart.SetView3D(is3D);
        auto& s = c.Add<TArrowSeries>();
        s.SetSeriesColor(clBlue);
        s.AddArrow(1, 1, 9, 1);
        s.AddArrow(5, 5, 5, 5, {}, clRed);
        const auto b = c.Render();
        KeepShot(*b, is3D ? "arrow-3d" : "arrow-2d");
        // The shaft along y = 290 and the head near x = 360; nothing of the zero-length arrow at (240, 170).
        EXPECT_TRUE(AnyNear(*b, 200, 290, clBlue, 3)) << is3D;
        EXPECT_TRUE(AnyNear(*b, 355, 290, clBlue, 3)) << is3D;
        EXPECT_EQ(CountColor(*b, {0, 0, 480, 340}, clRed), 0) << is3D;
    }
}

TEST(ArrowSeries, ClickHitsWithinThePenWidth)
{
    struct Case {
        int penWidth;
        TPoint pixel;
        int expected;
    };
    // Arrow 0 from (1, 1) to (9, 1): pixels (80, 290) to (400, 290); arrow 1 from (2, 8) to (2, 4): (120, 80)
    // to (120, 200).
    const Case cases[] = {
        {1, {200, 290}, 0}, {1, {200, 291}, 0}, {1, {200, 292}, -1}, {3, {200, 293}, 0}, {3, {200, 294}, -1},
        {1, {120, 150}, 1}, {1, {122, 150}, -1}, {1, {120, 205}, -1}, {1, {404, 290}, -1},
    };
    for (const Case& k : cases) {
        TRenderChart c;
        auto& s = c.Add<TArrowSeries>();
        s.AddArrow(1, 1, 9, 1);
        s.AddArrow(2, 8, 2, 4);
        s.Pen().SetWidth(k.penWidth);
        c.Render();
        EXPECT_EQ(s.PointAtPixel(k.pixel.x, k.pixel.y), k.expected) << k.pixel.x << "," << k.pixel.y << " pen " << k.penWidth;
    }
}

TEST(ArrowSeries, ExtentsCoverBothEnds)
{
    TArrowSeries s(nullptr);
    s.AddArrow(0, 0, 10, -5);
    EXPECT_EQ(s.LowestX(), 0.0);
    EXPECT_EQ(s.HighestX(), 10.0);
    EXPECT_EQ(s.LowestY(), -5.0);
    EXPECT_EQ(s.HighestY(), 0.0);
    s.AddArrow(-3, 4, 2, 1);
    EXPECT_EQ(s.LowestX(), -3.0);
    EXPECT_EQ(s.HighestY(), 4.0);
}

TEST(ArrowSeries, SettingsSamplesAndGallery)
{
    TArrowSeries s(nullptr);
    EXPECT_EQ(s.ArrowWidth(), s.Pointer().HorizSize());
    s.SetArrowWidth(9);
    s.SetArrowHeight(7);
    EXPECT_EQ(s.Pointer().HorizSize(), 9);
    EXPECT_EQ(s.Pointer().VertSize(), 7);
    EXPECT_FALSE(Stored(s, "ArrowWidth")) << "the pointer stores it";
    EXPECT_FALSE(Stored(s, "ArrowPercent"));
    s.SetArrowPercent(80);
    EXPECT_TRUE(Stored(s, "ArrowPercent"));
    EXPECT_TRUE(s.XValues().DateTime());
    EXPECT_TRUE(s.EndXValues().DateTime());
    EXPECT_FALSE(s.EndYValues().DateTime());
    EXPECT_EQ(s.EndXValues().Name(), "EndX");
    EXPECT_EQ(s.EndYValues().Name(), "EndY");
    EXPECT_FALSE(s.Pointer().InflateMargins());
    EXPECT_FALSE(s.Marks().Pen().Visible());
    EXPECT_TRUE(s.Marks().Transparent());
    EXPECT_EQ(s.EditorFormName(), "TArrowSeriesEditor");
    EXPECT_EQ(GalleryStyles(s), (std::vector<std::string>{"Normal", "Colors", "Marks", "Hollow", "No Border", "Gradient"}))
        << "no pointer variants";
    s.FillSampleValues(6);
    ASSERT_EQ(s.PointCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_GE(s.EndXValues().ValueAt(i), s.XValueAt(i));
        EXPECT_GE(s.EndYValues().ValueAt(i), s.YValueAt(i));
    }
    TRenderChart c;
    auto& g = c.Add<TArrowSeries>();
    g.PrepareForGallery(false);
    EXPECT_EQ(g.PointCount(), 3);
    EXPECT_EQ(g.ArrowWidth(), 12);
    EXPECT_EQ(g.ArrowHeight(), 12);
    EXPECT_EQ(g.SeriesColor(), TColor(0xC0C0C0));
    TBubbleSeries other(nullptr);
    EXPECT_FALSE(s.AcceptsSource(&other));
    EXPECT_TRUE(s.AcceptsSource(&g));
}

TEST(BubbleSeries, RadiusInAxisPixelsAndEllipsesWhenNotSquared)
{
    for (const bool squared : {true, false}) {
        TRenderChart c;
        auto& s = c.Add<TBubbleSeries>();
        s.SetColorEachPoint(false);
        s.SetSeriesColor(clRed);
        s.Pointer().Pen().SetColor(clBlue);
        s.SetSquared(squared);
        s.AddBubble(5, 5, 2); // centre (240, 170); vertical radius 60 pixels, horizontal 80
        const auto b = c.Render();
        KeepShot(*b, squared ? "bubble-squared" : "bubble-ellipse");
        EXPECT_EQ(b->PixelRGB(240, 170), clRed);
        EXPECT_TRUE(AnyNear(*b, 240, 110, clBlue, 1)) << squared;
        EXPECT_EQ(b->PixelRGB(240, 105), c.Back()) << squared;
        const int h = squared ? 60 : 80;
        EXPECT_TRUE(AnyNear(*b, 240 + h, 170, clBlue, 1)) << squared;
        EXPECT_EQ(b->PixelRGB(240 + h + 4, 170), c.Back()) << squared;
        EXPECT_EQ(b->PixelRGB(240 + h - 4, 170), clRed) << squared;
    }
}

TEST(BubbleSeries, ClickTestPerPointerStyle)
{
    struct Case {
        TSeriesPointerStyle style;
        TPoint pixel;
        int expected;
    };
    // One bubble at (5, 5) = (240, 170) with radius 1: 30 pixels both ways (squared); one at (8, 8) =
    // (360, 80) with radius 0. (The point series' test still takes a click on a point's very pixel.)
    const Case cases[] = {
        {psCircle, {240, 170}, 0},       {psCircle, {262, 192}, -1},      {psCircle, {269, 170}, 0},
        {psRectangle, {262, 192}, 0},    {psRectangle, {270, 170}, -1},   {psRectangle, {269, 199}, 0},
        {psTriangle, {240, 145}, 0},     {psTriangle, {215, 145}, -1},    {psDownTriangle, {240, 195}, 0},
        {psDownTriangle, {215, 195}, -1}, {psDiamond, {240, 195}, 0},     {psDiamond, {262, 192}, -1},
        {psLeftTriangle, {215, 170}, 0}, {psLeftTriangle, {215, 150}, -1}, {psRightTriangle, {265, 170}, 0},
        {psRightTriangle, {265, 150}, -1}, {psNothing, {241, 170}, -1},   {psCircle, {361, 80}, -1},
        {psRectangle, {360, 81}, -1},
    };
    for (const Case& k : cases) {
        TRenderChart c;
        auto& s = c.Add<TBubbleSeries>();
        s.AddBubble(5, 5, 1);
        s.AddBubble(8, 8, 0);
        s.Pointer().SetStyle(k.style);
        c.Render();
        EXPECT_EQ(s.PointAtPixel(k.pixel.x, k.pixel.y), k.expected) << k.style << " at " << k.pixel.x << "," << k.pixel.y;
    }
}

TEST(BubbleSeries, ExtentsCoverTheRadius)
{
    TBubbleSeries s(nullptr);
    s.AddBubble(1, 5, 2);
    s.AddBubble(2, 1, 3);
    EXPECT_EQ(s.HighestY(), 7.0);
    EXPECT_EQ(s.LowestY(), -2.0);
    EXPECT_EQ(s.HighestZ(), 3.0) << "the pointer draws in 3-D";
    EXPECT_EQ(s.LowestZ(), -3.0);
    s.Pointer().SetDraw3D(false);
    EXPECT_EQ(s.HighestZ(), s.ZOrder());
}

TEST(BubbleSeries, SettingsSamplesGalleryAndAssign)
{
    TBubbleSeries s(nullptr);
    EXPECT_TRUE(s.ColorEachPoint());
    EXPECT_FALSE(Stored(s, "ColorEachPoint"));
    EXPECT_FALSE(Stored(s, "Squared"));
    s.SetSquared(false);
    EXPECT_TRUE(Stored(s, "Squared"));
    EXPECT_EQ(s.Pointer().Style(), psCircle);
    EXPECT_EQ(&s.Gradient(), &s.Pointer().Gradient());
    EXPECT_EQ(s.RadiusValues().Name(), "Radius");
    EXPECT_EQ(s.DefaultSampleCount(), 8);
    EXPECT_EQ(s.EditorFormName(), "TBubbleSeriesEditor");
    EXPECT_EQ(GalleryStyles(s).size(), 13u) << "with the pointer variants";
    TBubbleSeries t(nullptr);
    t.Assign(s);
    EXPECT_FALSE(t.Squared());
    s.FillSampleValues(8);
    ASSERT_EQ(s.PointCount(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_GT(s.RadiusValues().ValueAt(i), 0.0);
    TRenderChart c;
    auto& g = c.Add<TBubbleSeries>();
    g.PrepareForGallery(true);
    EXPECT_TRUE(g.Pointer().Gradient().Visible());
}

TEST(ArrowAndBubble, DegeneratePointsNeitherCrashNorHit)
{
    auto exercise = [](auto fill) {
        for (const bool is3D : {false, true}) {
            TRenderChart c;
            c.Chart.SetView3D(is3D);
            auto& a = c.Add<TArrowSeries>();
            auto& b = c.Add<TBubbleSeries>();
            fill(a, b);
            EXPECT_NO_THROW(c.Render());
            EXPECT_NO_THROW(a.PointAtPixel(240, 170));
            EXPECT_NO_THROW(b.PointAtPixel(240, 170));
        }
    };
    exercise([](TArrowSeries&, TBubbleSeries&) {});
    exercise([](TArrowSeries& a, TBubbleSeries& b) {
        a.AddArrow(3, 3, 3, 3);
        b.AddBubble(3, 3, 0);
    });
    exercise([](TArrowSeries& a, TBubbleSeries& b) {
        for (int i = 0; i < 3; ++i) {
            a.AddArrow(2, 2, 2, 2);
            b.AddBubble(2, 2, 2);
        }
    });
    exercise([](TArrowSeries& a, TBubbleSeries& b) {
        a.AddArrow(NaN, 1, 2, NaN);
        b.AddBubble(1, NaN, NaN);
        b.AddBubble(2, 2, 1e300);
    });
}
