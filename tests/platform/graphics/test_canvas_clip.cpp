// Clipping (rectangles, polygons, ellipses, paths; select, intersect, exclude, combine; reading the clip
// back) and paths (arcs in both directions, stroking and filling, widening).

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

namespace {

int CountColour(const TBitmap& b, TColor c, TRect r = {0, 0, 1 << 20, 1 << 20})
{
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x) n += b.PixelRGB(x, y) == c;
    return n;
}

void Flood(TCanvas& c, TColor colour)
{
    c.Brush().SetColor(colour);
    c.FillRect({-1000, -1000, 1000, 1000});
}

}  // namespace

TEST(CanvasClip, RectangleClipsAreIntersectedExcludedAndRemoved)
{
    TBitmap b(40, 40);
    TCanvas& c = b.Canvas();
    TRegion none;
    EXPECT_EQ(c.GetClipRgn(none), 0);
    c.IntersectClipRect(5, 5, 30, 30);
    c.IntersectClipRect(10, 0, 40, 20);
    c.ExcludeClipRect(12, 12, 14, 14);
    Flood(c, clRed);
    EXPECT_EQ(CountColour(b, clRed), 20 * 15 - 4);
    EXPECT_EQ(b.PixelRGB(10, 5), clRed);
    EXPECT_EQ(b.PixelRGB(9, 5), clWhite);
    EXPECT_EQ(b.PixelRGB(12, 12), clWhite);
    TRegion got;
    ASSERT_EQ(c.GetClipRgn(got), 1);
    EXPECT_EQ(got.Bounds(), (TRect{10, 5, 30, 20}));
    TRect box;
    EXPECT_EQ(c.GetClipBox(box), COMPLEXREGION);
    EXPECT_EQ(box, (TRect{10, 5, 30, 20}));
    EXPECT_TRUE(c.PtVisible(11, 6));
    EXPECT_FALSE(c.PtVisible(13, 13));
    EXPECT_FALSE(c.RectVisible({0, 0, 9, 40}));
    c.SelectClipRgn(nullptr);
    EXPECT_EQ(c.GetClipRgn(got), 0);
    Flood(c, clBlue);
    EXPECT_EQ(CountColour(b, clBlue), 40 * 40);
}

TEST(CanvasClip, ClipRegionsLiveInDevicePixels)
{
    // A selected region ignores the mapping; IntersectClipRect takes logical coordinates.
    TBitmap b(40, 40);
    TCanvas& c = b.Canvas();
    c.SetViewportOrgEx(10, 10);
    const TRegion r = TRegion::FromRect(0, 0, 5, 5);
    c.SelectClipRgn(&r);
    Flood(c, clRed);
    EXPECT_EQ(CountColour(b, clRed), 25);
    EXPECT_EQ(b.PixelRGB(4, 4), clRed);
    c.SelectClipRgn(nullptr);
    c.IntersectClipRect(0, 0, 5, 5);
    TRegion got;
    c.GetClipRgn(got);
    EXPECT_EQ(got.Bounds(), (TRect{10, 10, 15, 15}));
}

TEST(CanvasClip, PolygonAndEllipseRegionsFollowTheFillRules)
{
    // A region of a shape covers exactly the pixels a pen-less fill of the same polygon covers.
    const TPoint tri[] = {{2, 2}, {30, 8}, {10, 28}};
    TBitmap filled(40, 40), clipped(40, 40);
    filled.Canvas().Pen().SetStyle(psClear);
    filled.Canvas().Brush().SetColor(clRed);
    filled.Canvas().Polygon(tri, 3);
    const TRegion r = TRegion::FromPolygon(tri, 3);
    clipped.Canvas().SelectClipRgn(&r);
    Flood(clipped.Canvas(), clRed);
    EXPECT_EQ(filled.ToPixels().Pixels, clipped.ToPixels().Pixels);

    const TRegion e = TRegion::FromEllipse(0, 0, 10, 6);
    EXPECT_EQ(e.Bounds(), (TRect{0, 0, 10, 6}));
    EXPECT_FALSE(e.Contains(0, 0));
    EXPECT_TRUE(e.Contains(5, 3));
    EXPECT_TRUE(e.Contains(0, 3));
    EXPECT_TRUE(e.Contains(9, 2));
    const TRegion rr = TRegion::FromRoundRect(0, 0, 20, 20, 8, 8);
    EXPECT_FALSE(rr.Contains(0, 0));
    EXPECT_TRUE(rr.Contains(10, 0));
    EXPECT_TRUE(rr.Contains(19, 10));
    EXPECT_EQ(rr.Bounds(), (TRect{0, 0, 20, 20}));
}

TEST(CanvasClip, CombiningRegions)
{
    const TRegion a = TRegion::FromRect(0, 0, 10, 10), b = TRegion::FromRect(5, 5, 15, 15);
    struct Case { int Mode; int Pixels; int Kind; };
    const Case cases[] = {{RGN_AND, 25, SIMPLEREGION}, {RGN_OR, 175, COMPLEXREGION}, {RGN_XOR, 150, COMPLEXREGION},
                          {RGN_DIFF, 75, COMPLEXREGION}, {RGN_COPY, 100, SIMPLEREGION}};
    for (const Case& k : cases) {
        TRegion d;
        EXPECT_EQ(TRegion::Combine(d, a, b, k.Mode), k.Kind) << k.Mode;
        int n = 0;
        for (const TRect& r : d.Rects()) n += r.Width() * r.Height();
        EXPECT_EQ(n, k.Pixels) << k.Mode;
    }
    TRegion empty;
    EXPECT_EQ(TRegion::Combine(empty, a, TRegion::FromRect(20, 20, 30, 30), RGN_AND), NULLREGION);
    EXPECT_TRUE(TRegion::FromRects({{0, 0, 5, 5}, {5, 0, 10, 5}}) == TRegion::FromRect(0, 0, 10, 5));
}

TEST(CanvasClip, EllipseCutOutWithExclusiveOr)
{
    // Combining an ellipse region by exclusive or with the clip cuts it out of the drawing.
    TBitmap b(30, 30);
    TCanvas& c = b.Canvas();
    c.IntersectClipRect(0, 0, 30, 30);
    const TRegion e = TRegion::FromEllipse(10, 10, 20, 20);
    c.ExtSelectClipRgn(&e, RGN_XOR);
    Flood(c, clRed);
    EXPECT_EQ(b.PixelRGB(15, 15), clWhite);
    EXPECT_EQ(b.PixelRGB(2, 2), clRed);
}

TEST(CanvasClip, PathArcDirectionAndStrokeAndFill)
{
    // A donut slice the way the chart draws it: outer arc, line in, inner arc clockwise, line out.
    for (int dir : {AD_COUNTERCLOCKWISE, AD_CLOCKWISE}) {
        TBitmap b(100, 100);
        TCanvas& c = b.Canvas();
        c.Brush().SetColor(clRed);
        c.Pen().SetColor(clBlack);
        c.BeginPath();
        c.SetArcDirection(dir);
        c.MoveTo(90, 50);
        c.ArcTo(10, 10, 90, 90, 90, 50, 50, 10);   // from angle 0 to 90 degrees in the direction
        c.LineTo(50, 50);
        c.CloseFigure();
        c.EndPath();
        ASSERT_TRUE(c.StrokeAndFillPath());
        // Counter-clockwise the slice is the upper right quarter, clockwise the other three quarters.
        const bool ccw = dir == AD_COUNTERCLOCKWISE;
        EXPECT_EQ(b.PixelRGB(65, 35), ccw ? clRed : clWhite) << dir;
        EXPECT_EQ(b.PixelRGB(35, 65), ccw ? clWhite : clRed) << dir;
        EXPECT_EQ(b.PixelRGB(35, 35), ccw ? clWhite : clRed) << dir;
        EXPECT_FALSE(c.StrokePath());   // the path was used up
    }
}

TEST(CanvasClip, PathBecomesTheClipAndCanBeWidened)
{
    TBitmap b(60, 60);
    TCanvas& c = b.Canvas();
    c.BeginPath();
    c.Rectangle(10, 10, 50, 50);
    c.EndPath();
    c.SelectClipPath(RGN_COPY);
    Flood(c, clRed);
    EXPECT_EQ(b.PixelRGB(20, 20), clRed);
    EXPECT_EQ(b.PixelRGB(5, 20), clWhite);
    c.SelectClipRgn(nullptr);

    TBitmap w(60, 60);
    TCanvas& d = w.Canvas();
    d.Pen().SetWidth(6);
    d.BeginPath();
    d.MoveTo(10, 30);
    d.LineTo(50, 30);
    d.EndPath();
    ASSERT_TRUE(d.WidenPath());
    d.Brush().SetColor(clBlue);
    ASSERT_TRUE(d.FillPath());
    EXPECT_EQ(w.PixelRGB(30, 28), clBlue);
    EXPECT_EQ(w.PixelRGB(30, 32), clBlue);
    EXPECT_EQ(w.PixelRGB(30, 36), clWhite);
}

TEST(CanvasClip, TextIntoAPathOutlinesTheGlyphs)
{
    TBitmap b(120, 50);
    TCanvas& c = b.Canvas();
    c.Font().SetHeight(-30);
    c.BeginPath();
    c.TextOut(5, 5, "IO");
    c.EndPath();
    c.Brush().SetColor(clGreen);
    ASSERT_TRUE(c.FillPath());
    const int green = CountColour(b, clGreen);
    EXPECT_GT(green, 100);
    const TSize ext = c.TextExtent("IO");
    EXPECT_EQ(CountColour(b, clGreen, {5, 5, 5 + ext.cx, 5 + ext.cy}), green);   // all inside the cell
}

TEST(CanvasClip, EveryFillFollowsTheClipInForce)
{
    // The image device keeps the clipping of the last region; each change of the clip must still count,
    // also one that leaves the bounds alone.
    TBitmap b(40, 40);
    TCanvas& c = b.Canvas();
    const TPoint triangle[3] = {{0, 0}, {40, 0}, {0, 40}};
    const TRegion upper = TRegion::FromPolygon(triangle, 3);
    c.SelectClipRgn(&upper);
    Flood(c, clRed);
    const int red = CountColour(b, clRed);
    EXPECT_GT(red, 700);
    EXPECT_EQ(b.PixelRGB(35, 35), clWhite);
    c.ExcludeClipRect(2, 2, 6, 6);
    Flood(c, clBlue);
    EXPECT_EQ(CountColour(b, clBlue), red - 16);
    const TPoint other[3] = {{40, 0}, {40, 40}, {0, 40}};
    const TRegion lower = TRegion::FromPolygon(other, 3);
    c.SelectClipRgn(&lower);
    Flood(c, clLime);
    EXPECT_EQ(b.PixelRGB(35, 35), clLime);
    EXPECT_EQ(b.PixelRGB(3, 3), clRed);
    EXPECT_EQ(b.PixelRGB(10, 2), clBlue);
    c.SelectClipRgn(nullptr);
    Flood(c, clBlack);
    EXPECT_EQ(CountColour(b, clBlack), 40 * 40);
}
