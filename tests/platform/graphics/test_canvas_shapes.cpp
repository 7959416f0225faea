// Curved shapes and wide pens on the image canvas (arcs, pies and chords in both directions, Bezier
// curves, caps, joins and inside-frame pens), and coordinates far outside any device.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

int Count(const TBitmap& b, TColor c, TRect r = {0, 0, 1 << 20, 1 << 20})
{
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x) n += b.PixelRGB(x, y) == c;
    return n;
}

}  // namespace

TEST(CanvasShapes, PieAndChordFollowTheArcDirection)
{
    // From the ray towards the right to the ray upwards: a quarter counter-clockwise, three quarters
    // clockwise.
    struct Case { int Dir; bool Pie; TPoint Red, White; };
    const Case cases[] = {{AD_COUNTERCLOCKWISE, true, {70, 30}, {30, 70}},
                          {AD_CLOCKWISE, true, {30, 70}, {70, 30}},
                          {AD_COUNTERCLOCKWISE, false, {75, 25}, {55, 45}},   // the chord cuts the corner off
                          {AD_CLOCKWISE, false, {30, 70}, {75, 25}}};
    for (const Case& k : cases) {
        TBitmap b(100, 100);
        TCanvas& c = b.Canvas();
        c.SetArcDirection(k.Dir);
        c.Brush().SetColor(clRed);
        if (k.Pie) c.Pie(10, 10, 90, 90, 95, 50, 50, 5);
        else c.Chord(10, 10, 90, 90, 95, 50, 50, 5);
        EXPECT_EQ(b.PixelRGB(k.Red.x, k.Red.y), clRed) << k.Dir << k.Pie;
        EXPECT_EQ(b.PixelRGB(k.White.x, k.White.y), clWhite) << k.Dir << k.Pie;
    }
}

TEST(CanvasShapes, ArcStaysOnTheEllipseOutline)
{
    TBitmap arc(100, 100), ell(100, 100);
    arc.Canvas().Arc(10, 20, 90, 80, 0, 0, 0, 0);   // equal rays: the whole ellipse
    ell.Canvas().Brush().SetStyle(bsClear);
    ell.Canvas().Ellipse(10, 20, 90, 80);
    // Sampled from another starting angle, the arc's pixels may step differently, but each lies next to
    // one of the ellipse's and the other way round.
    auto near = [](const TBitmap& a, const TBitmap& b) {
        int far = 0;
        for (int y = 1; y < 99; ++y)
            for (int x = 1; x < 99; ++x) {
                if (a.PixelRGB(x, y) != clBlack) continue;
                bool found = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) found = found || b.PixelRGB(x + dx, y + dy) == clBlack;
                far += !found;
            }
        return far;
    };
    EXPECT_EQ(near(arc, ell), 0);
    EXPECT_EQ(near(ell, arc), 0);
    EXPECT_GT(Count(arc, clBlack), 150);
    TBitmap part(100, 100);
    part.Canvas().Arc(10, 20, 90, 80, 90, 50, 10, 50);   // the upper half
    EXPECT_EQ(Count(part, clBlack, {0, 51, 100, 100}), 0);
    EXPECT_GT(Count(part, clBlack, {0, 0, 100, 50}), 60);
}

TEST(CanvasShapes, BezierRunsThroughItsEndsAndMovesThePosition)
{
    TBitmap b(100, 100);
    TCanvas& c = b.Canvas();
    const TPoint pts[] = {{10, 80}, {10, 10}, {90, 10}, {90, 80}};
    c.PolyBezier(pts, 4);
    EXPECT_EQ(b.PixelRGB(10, 80), clBlack);
    EXPECT_EQ(b.PixelRGB(90, 80), clWhite);       // the last pixel stays out, as for lines
    EXPECT_EQ(b.PixelRGB(50, 28), clBlack);       // the curve's top: 80 - 0.75 * 70 = 27.5
    EXPECT_EQ(b.PixelRGB(50, 80), clWhite);
    c.MoveTo(10, 95);
    const TPoint to[] = {{30, 85}, {60, 85}, {80, 95}};
    c.PolyBezierTo(to, 3);
    EXPECT_EQ(c.PenPos(), (TPoint{80, 95}));
    EXPECT_EQ(b.PixelRGB(10, 95), clBlack);
    const TPoint wrong[] = {{0, 0}, {1, 1}, {2, 2}};   // not 1 + 3n points: nothing
    c.PolyBezier(wrong, 3);
    EXPECT_EQ(b.PixelRGB(0, 0), clWhite);
}

TEST(CanvasShapes, WidePensCapsJoinsAndInsideFrame)
{
    struct Case { TPenEndCap Cap; int BeyondEnd; };
    const Case cases[] = {{pecFlat, 0}, {pecSquare, 4}, {pecRound, 4}};
    for (const Case& k : cases) {
        TBitmap b(60, 30);
        TCanvas& c = b.Canvas();
        c.Pen().SetGeometric(true);
        c.Pen().SetWidth(8);
        c.Pen().SetEndCap(k.Cap);
        c.MoveTo(20, 15);
        c.LineTo(40, 15);
        // The line is 8 wide; caps reach half the width beyond the ends (round ones on the axis).
        EXPECT_EQ(b.PixelRGB(30, 12), clBlack) << k.Cap;
        EXPECT_EQ(b.PixelRGB(30, 20), clWhite) << k.Cap;
        EXPECT_EQ(b.PixelRGB(40 + k.BeyondEnd - 1, 15), clBlack) << k.Cap;
        EXPECT_EQ(b.PixelRGB(40 + k.BeyondEnd + 1, 15), clWhite) << k.Cap;
        EXPECT_EQ(b.PixelRGB(43, 18) == clBlack, k.Cap == pecSquare) << k.Cap;   // only square corners
    }
    // A simple wide pen is solid whatever its style; a geometric one keeps its dashes.
    TBitmap simple(100, 20), geometric(100, 20);
    for (TBitmap* b : {&simple, &geometric}) {
        TCanvas& c = b->Canvas();
        c.Pen().SetWidth(3);
        c.Pen().SetStyle(psDash);
        c.Pen().SetGeometric(b == &geometric);
        c.Pen().SetEndCap(pecFlat);
        c.MoveTo(0, 10);
        c.LineTo(100, 10);
    }
    EXPECT_EQ(Count(simple, clWhite, {2, 10, 98, 11}), 0);
    EXPECT_GT(Count(geometric, clWhite, {2, 10, 98, 11}), 20);
    // Inside frame: a wide outline stays within the rectangle.
    TBitmap in(40, 40);
    in.Canvas().Pen().SetWidth(6);
    in.Canvas().Pen().SetStyle(psInsideFrame);
    in.Canvas().Brush().SetStyle(bsClear);
    in.Canvas().Rectangle(10, 10, 30, 30);
    EXPECT_EQ(in.PixelRGB(11, 11), clBlack);     // corners rounded by the pen's round joins
    EXPECT_EQ(in.PixelRGB(28, 28), clBlack);
    EXPECT_EQ(in.PixelRGB(15, 20), clBlack);
    EXPECT_EQ(in.PixelRGB(16, 20), clWhite);
    EXPECT_EQ(Count(in, clBlack, {0, 0, 40, 10}) + Count(in, clBlack, {0, 30, 40, 40}), 0);
}

TEST(CanvasShapes, CoordinatesFarOutsideTheDeviceAreSafe)
{
    TBitmap b(50, 50);
    TCanvas& c = b.Canvas();
    c.MoveTo(INT_MIN, INT_MIN);
    c.LineTo(INT_MAX, INT_MAX);                              // through the device
    EXPECT_EQ(b.PixelRGB(25, 25), clBlack);
    c.Brush().SetColor(clRed);
    c.Rectangle(INT_MIN, -5, INT_MAX, 5);
    EXPECT_EQ(b.PixelRGB(30, 2), clRed);
    c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.RoundRect(-2000000000, 0, 2000000000, 10, INT_MAX, INT_MIN);
    const TPoint poly[] = {{INT_MIN, 0}, {INT_MAX, 40}, {0, INT_MAX}};
    c.Polygon(poly, 3);
    c.Pie(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 1, 1);
    c.PatBlt(INT_MAX, INT_MAX, INT_MAX, INT_MAX, PATCOPY);
    c.PatBlt(-10, -10, INT_MAX, INT_MAX, DSTINVERT);
    c.Pen().SetWidth(INT_MAX);
    c.LineTo(0, 0);
    c.Pen().SetWidth(1);
    c.Font().SetHeight(INT_MIN);
    c.TextOut(0, 0, "x");
    c.Font().SetHeight(-12);
    c.SetTextCharacterExtra(INT_MAX);
    c.TextOut(0, 0, "xyz");
    c.SetTextCharacterExtra(0);
    c.IntersectClipRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.StretchBlt(0, 0, INT_MAX, INT_MAX, c, 0, 0, 1, 1, SRCCOPY);
    c.StretchBlt(0, 0, 10, 10, c, INT_MIN, INT_MIN, INT_MAX, INT_MAX, SRCCOPY);
    c.SetMapMode(MM_ANISOTROPIC);
    c.SetWindowExtEx(1, 1);
    c.SetViewportExtEx(INT_MAX, INT_MAX);
    c.Rectangle(0, 0, 10, 10);
    c.Ellipse(-3, -3, 3, 3);
    c.TextOut(0, 0, "big");
}
