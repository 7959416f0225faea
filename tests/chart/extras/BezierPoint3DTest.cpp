// The Bezier series (segments per style: none before their end point, curves through the end points, the
// device's poly-Bezier kept within the points) and the 3-D point and bubble series (symbols, a null point
// breaking the line, base lines to the axis bottom, the click test unprojected at each point's depth,
// depth extents), with gallery styles, samples, copying, stored rules and degenerate points.
#include "chart/extras/LumBezie.h"
#include "chart/extras/LumPoin3.h"

#include "ExtrasTestSupport.h"

#include "chart/engine/LumEngineAxis.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Axes 0..10: x = 40 + 40 v, y = 320 - 30 v; a blue line, no pointers.
TBezierSeries& AddBezier(TRenderChart& C, TBezierStyle Style, const std::vector<std::pair<double, double>>& Points)
{
    auto& s = C.Add<TBezierSeries>();
    s.SetBezierStyle(Style);
    s.SetSeriesColor(clBlue);
    s.SetColorEachLine(false);
    s.Pointer().SetVisible(false);
    for (const auto& [x, y] : Points) s.InsertPoint(x, y);
    return s;
}

int Blue(const TBitmap& B, const TRect& R) { return CountColor(B, R, clBlue); }

} // namespace

TEST(BezierSeries, SegmentsEndOnlyAtExistingPoints)
{
    {
        TRenderChart c;
        AddBezier(c, bsBezier3, {{1, 1}, {9, 9}});
        const auto b = c.Render();
        EXPECT_EQ(Blue(*b, {0, 0, 480, 340}), 0) << "two points: only the move to the first";
    }
    {
        TRenderChart c;
        AddBezier(c, bsBezier4, {{0, 1}, {1, 9}, {2, 9}, {3, 1}, {4, 1}, {5, 9}, {6, 1}});
        const auto b = c.Render();
        KeepShot(*b, "bezier4");
        EXPECT_TRUE(AnyNear(*b, 160, 290, clBlue)) << "through point 3";
        EXPECT_TRUE(AnyNear(*b, 280, 290, clBlue)) << "through point 6";
        EXPECT_FALSE(AnyNear(*b, 80, 50, clBlue, 3)) << "not through the control point 1";
        EXPECT_GT(Blue(*b, {100, 100, 140, 180}), 0) << "the first curve bulges up between its ends";
        EXPECT_EQ(Blue(*b, {285, 0, 480, 340}), 0);
    }
    {
        TRenderChart c;
        AddBezier(c, bsBezier4, {{0, 1}, {1, 9}, {2, 9}, {3, 1}, {4, 1}, {5, 9}});
        const auto b = c.Render();
        EXPECT_EQ(Blue(*b, {165, 0, 480, 340}), 0) << "points 4 and 5 make no curve";
    }
    for (const bool is3D : {false, true}) {
        // The default style: in 2-D the device's cubic segments through P[1..3]; the fifth point gets none.
        TRenderChart c;
        c.Chart.SetView3D(is3D);
        AddBezier(c, bsWindows, {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {9, 1}});
        const auto b = c.Render();
        KeepShot(*b, is3D ? "bezier-windows-3d" : "bezier-windows");
        if (!is3D) {
            EXPECT_TRUE(AnyNear(*b, 100, 170, clBlue));
            EXPECT_TRUE(AnyNear(*b, 160, 170, clBlue));
            EXPECT_EQ(Blue(*b, {170, 0, 480, 340}), 0);
        } else {
            // A quadratic through 0..2, no cubic ending at 5.
            EXPECT_GT(Blue(*b, {0, 0, 480, 340}), 0);
        }
    }
}

TEST(BezierSeries, PointersOfEveryPointAndNumberOfSteps)
{
    TRenderChart c;
    auto& s = AddBezier(c, bsBezier3, {{1, 1}, {5, 5}});
    s.Pointer().SetVisible(true);
    s.Pointer().Brush().SetColor(clRed);
    s.Pointer().Pen().SetColor(clRed);
    s.SetColorEachPoint(false);
    const auto b = c.Render();
    EXPECT_TRUE(AnyNear(*b, 80, 290, clRed));
    EXPECT_TRUE(AnyNear(*b, 240, 170, clRed));

    EXPECT_EQ(s.NumBezierPoints(), 32);
    try {
        s.SetNumBezierPoints(1);
        ADD_FAILURE() << "no error";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "Number of Bezier points should be > 1");
    }
    EXPECT_EQ(s.NumBezierPoints(), 32);
    s.SetNumBezierPoints(2);
    EXPECT_EQ(s.NumBezierPoints(), 2);
    EXPECT_TRUE(Stored(s, "NumBezierPoints"));
    EXPECT_TRUE(Stored(s, "BezierStyle"));
    EXPECT_FALSE(Stored(TBezierSeries(nullptr), "BezierStyle"));
    TBezierSeries t(nullptr);
    t.Assign(s);
    EXPECT_EQ(t.BezierStyle(), bsBezier3);
    EXPECT_EQ(t.NumBezierPoints(), 2);
    s.SetSeriesColor(clGreen);
    EXPECT_EQ(s.LinePen().Color(), clGreen);
    TRenderChart g;
    auto& gal = g.Add<TBezierSeries>();
    gal.PrepareForGallery(true);
    EXPECT_EQ(gal.PointCount(), 3);
    EXPECT_TRUE(gal.ColorEachPoint());
    EXPECT_FALSE(gal.Pointer().Draw3D());
    EXPECT_EQ(gal.EditorFormName(), "TCustomSeriesEditor");
}

namespace {

// 3-D points in a flat chart: depth plays no part in the pixels.
TPoint3DSeries& AddPoints3D(TRenderChart& C)
{
    auto& s = C.Add<TPoint3DSeries>();
    s.LinePen().SetColor(clBlue);
    s.Pointer().Pen().SetColor(clRed);
    s.Pointer().Brush().SetColor(clRed);
    s.Pointer().SetStyle(psRectangle);
    return s;
}

} // namespace

TEST(Point3DSeries, NullPointBreaksTheLineAndBaseLinesReachTheAxisBottom)
{
    TRenderChart c;
    auto& s = AddPoints3D(c);
    s.BaseLine().SetVisible(true);
    s.BaseLine().SetColor(clGreen);
    s.AppendXYZ(1, 2, 0);
    s.AppendXYZWithLabel(3, 6, 0, {}, clNone);
    s.AppendXYZ(5, 2, 0);
    s.AppendXYZ(7, 6, 0);
    const auto b = c.Render();
    KeepShot(*b, "point3d-null");
    // Symbols at (80, 260), (240, 260) and (320, 140), none at the null point (160, 140).
    EXPECT_EQ(b->PixelRGB(80, 260), clRed);
    EXPECT_EQ(b->PixelRGB(320, 140), clRed);
    EXPECT_NE(b->PixelRGB(160, 140), clRed);
    // No line into or out of the null point; the line from point 2 to point 3.
    EXPECT_FALSE(AnyNear(*b, 120, 200, clBlue, 2));
    EXPECT_FALSE(AnyNear(*b, 200, 200, clBlue, 2));
    EXPECT_TRUE(AnyNear(*b, 280, 200, clBlue));
    // Base lines from below each symbol to the bottom at y = 320.
    EXPECT_EQ(b->PixelRGB(80, 300), clGreen);
    EXPECT_EQ(b->PixelRGB(320, 200), clGreen);
    EXPECT_NE(b->PixelRGB(160, 200), clGreen);
}

TEST(Point3DSeries, ClickUnprojectsAtEachPointsDepth)
{
    for (const bool is3D : {false, true}) {
        TRenderChart c;
        c.Chart.SetView3D(is3D);
        auto& s = AddPoints3D(c);
        s.AppendXYZ(2, 2, 0);
        s.AppendXYZ(5, 5, 5);
        s.AppendXYZ(8, 3, 10);
        std::vector<int> clicked;
        s.OnClickPointer = [&](TPoint3DSeries*, int i, int, int) { clicked.push_back(i); };
        c.Render();
        TCanvas3D& canvas = c.Chart.ChartCanvas();
        for (int i = 0; i < 3; ++i) {
            const TPoint p = canvas.ProjectXYZ(s.ScreenXOf(i), s.ScreenYOf(i), s.ZScreenPosition(i));
            const std::pair<TPoint, int> cases[] = {{p, i}, {{p.x + 3, p.y - 3}, i}, {{p.x + 4, p.y}, -1}, {{p.x, p.y + 4}, -1}};
            for (const auto& [q, expected] : cases)
                EXPECT_EQ(s.PointAtPixel(q.x, q.y), expected) << is3D << " point " << i << " at " << q.x << "," << q.y;
        }
        EXPECT_EQ(clicked, (std::vector<int>{0, 0, 1, 1, 2, 2}));
    }
}

TEST(Point3DSeries, DepthExtents)
{
    TRenderChart c;
    c.Chart.SetView3D(true);
    auto& s = AddPoints3D(c);
    s.AppendXYZ(1, 1, 2);
    s.AppendXYZ(2, 2, 8);
    EXPECT_EQ(s.HighestZ(), 8.0);
    EXPECT_EQ(s.LowestZ(), 2.0);
    s.SetDepthSize(3);
    EXPECT_EQ(s.HighestZ(), 11.0);
    c.Render();
    // DepthSize 0 still gives one pixel each side.
    s.SetDepthSize(0);
    s.ComputePointDepth(0);
    EXPECT_EQ(s.StartZ(), s.MiddleZ() - 1);
    EXPECT_EQ(s.EndZ(), s.MiddleZ() + 1);
    EXPECT_EQ(s.MiddleZ(), s.ZScreenPosition(0));

    auto& bubbles = c.Add<TBubble3DSeries>();
    bubbles.AddBubble(1, 5, 10, 2);
    bubbles.AddBubble(2, 1, 4, 3);
    EXPECT_EQ(bubbles.HighestZ(), 12.0);
    EXPECT_EQ(bubbles.LowestZ(), 1.0);
    EXPECT_EQ(bubbles.HighestY(), 7.0);
    EXPECT_EQ(bubbles.LowestY(), -2.0);
    bubbles.SetDepthSize(5);
    EXPECT_EQ(bubbles.HighestZ(), 15.0) << "the base's highest Z + DepthSize";
}

TEST(Point3DSeries, GalleryStylesSamplesAndSettings)
{
    TPoint3DSeries s(nullptr);
    const std::vector<std::string> common{"Normal", "No Point", "Lines", "No Line", "Colors", "Marks", "Hollow", "No Border"};
    std::vector<std::string> withVariants = common;
    for (const char* n : {"Point 2D", "Triangle", "Star", "Circle", "Down Tri.", "Cross", "Diamond"}) withVariants.push_back(n);
    EXPECT_EQ(GalleryStyles(s), withVariants);
    TBubble3DSeries bubbles(nullptr);
    EXPECT_EQ(GalleryStyles(bubbles), common);

    struct Case {
        int index;
        bool (*check)(const TPoint3DSeries&);
    };
    const Case cases[] = {
        {1, [](const TPoint3DSeries& p) { return !p.Pointer().Visible(); }},
        {2, [](const TPoint3DSeries& p) { return p.BaseLine().Visible(); }},
        {3, [](const TPoint3DSeries& p) { return !p.LinePen().Visible(); }},
        {4, [](const TPoint3DSeries& p) { return p.ColorEachPoint(); }},
        {5, [](const TPoint3DSeries& p) { return p.Marks().Visible(); }},
        {6, [](const TPoint3DSeries& p) { return p.Pointer().Brush().Style() == bsClear; }},
        {7, [](const TPoint3DSeries& p) { return !p.Pointer().Pen().Visible(); }},
        {8, [](const TPoint3DSeries& p) { return !p.Pointer().Draw3D(); }},
        {9, [](const TPoint3DSeries& p) { return p.Pointer().Style() == psTriangle; }},
        {10, [](const TPoint3DSeries& p) { return p.Pointer().Style() == psStar; }},
        {11, [](const TPoint3DSeries& p) { return p.Pointer().Style() == psCircle; }},
        {12, [](const TPoint3DSeries& p) { return p.Pointer().Style() == psDownTriangle; }},
        {13, [](const TPoint3DSeries& p) { return p.Pointer().Style() == psCross; }},
        {14, [](const TPoint3DSeries& p) { return p.Pointer().Style() == psDiamond; }},
    };
    for (const Case& k : cases) {
        TPoint3DSeries p(nullptr);
        p.ApplyGalleryStyle(&p, k.index);
        EXPECT_TRUE(k.check(p)) << k.index;
    }

    s.FillSampleValues(12);
    ASSERT_EQ(s.PointCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_LT(s.ZValues().ValueAt(i), 100.0);
        EXPECT_LT(s.YValueAt(i), 100.0);
    }
    bubbles.FillSampleValues(6);
    ASSERT_EQ(bubbles.PointCount(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_GT(bubbles.RadiusValues().ValueAt(i), 0.0);

    EXPECT_FALSE(bubbles.LinePen().Visible());
    EXPECT_EQ(bubbles.Pointer().Style(), psCircle);
    EXPECT_TRUE(bubbles.ColorEachPoint());
    EXPECT_FALSE(Stored(bubbles, "ColorEachPoint"));
    EXPECT_FALSE(Stored(s, "DepthSize"));
    EXPECT_FALSE(Stored(s, "TimesZOrder"));
    s.SetDepthSize(2);
    EXPECT_TRUE(Stored(s, "DepthSize"));
    EXPECT_EQ(s.EditorFormName(), "TPoint3DSeriesEditor");
    TPoint3DSeries t(nullptr);
    s.BaseLine().SetVisible(true);
    s.Pointer().SetStyle(psStar);
    t.Assign(s);
    EXPECT_EQ(t.DepthSize(), 2.0);
    EXPECT_TRUE(t.BaseLine().Visible());
    EXPECT_EQ(t.Pointer().Style(), psStar);
    EXPECT_FALSE(bubbles.AcceptsSource(&s));

    TRenderChart c;
    auto& g = c.Add<TBubble3DSeries>();
    g.PrepareForGallery(true);
    EXPECT_EQ(g.LinePen().Color(), TColor(0x800000));
    EXPECT_EQ(c.Chart.View3DOptions().Zoom(), 60);
    EXPECT_TRUE(g.Pointer().Gradient().Visible());
}

TEST(Bubble3DSeries, SymbolsSizedByTheRadius)
{
    TRenderChart c;
    auto& s = c.Add<TBubble3DSeries>();
    s.SetColorEachPoint(false);
    s.SetSeriesColor(clRed);
    s.Pointer().Pen().SetColor(clBlue);
    s.AddBubble(5, 5, 0, 2); // (240, 170) with 60 pixels
    const auto b = c.Render();
    KeepShot(*b, "bubble3d");
    EXPECT_EQ(b->PixelRGB(240, 170), clRed);
    EXPECT_TRUE(AnyNear(*b, 240, 110, clBlue));
    EXPECT_TRUE(AnyNear(*b, 300, 170, clBlue));
    EXPECT_EQ(b->PixelRGB(240, 100), c.Back());
}

TEST(BezierAndPoint3D, DegeneratePoints)
{
    auto exercise = [](auto fill) {
        for (const bool is3D : {false, true})
            for (const TBezierStyle style : {bsWindows, bsBezier3, bsBezier4}) {
                TRenderChart c;
                c.Chart.SetView3D(is3D);
                auto& bz = c.Add<TBezierSeries>();
                bz.SetBezierStyle(style);
                auto& p3 = c.Add<TPoint3DSeries>();
                auto& b3 = c.Add<TBubble3DSeries>();
                fill(bz, p3, b3);
                EXPECT_NO_THROW(c.Render());
                EXPECT_NO_THROW(bz.PointAtPixel(240, 170));
                EXPECT_NO_THROW(p3.PointAtPixel(240, 170));
                EXPECT_NO_THROW(b3.PointAtPixel(240, 170));
            }
    };
    exercise([](TBezierSeries&, TPoint3DSeries&, TBubble3DSeries&) {});
    exercise([](TBezierSeries& bz, TPoint3DSeries& p3, TBubble3DSeries& b3) {
        bz.InsertPoint(1, 1);
        p3.AppendXYZ(1, 1, 1);
        b3.AddBubble(1, 1, 1, 0);
    });
    exercise([](TBezierSeries& bz, TPoint3DSeries& p3, TBubble3DSeries& b3) {
        for (int i = 0; i < 4; ++i) {
            bz.InsertPoint(2, 2);
            p3.AppendXYZ(2, 2, 2);
            b3.AddBubble(2, 2, 2, 2);
        }
    });
    exercise([](TBezierSeries& bz, TPoint3DSeries& p3, TBubble3DSeries& b3) {
        bz.InsertPoint(NaN, 1);
        bz.InsertPoint(1, NaN);
        bz.InsertPoint(2, 1e300);
        p3.AppendXYZ(NaN, 1, NaN);
        p3.AppendXYZ(1, 1e300, 1);
        b3.AddBubble(1, 1, 1, NaN);
        b3.AddBubble(1, 1, NaN, 1e300);
    });
}
