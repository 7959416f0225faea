// The device's pixel rules on the image canvas: shape edges, line ends, clear pens, round corners, and
// the raster operations on lines and fills.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// A white 24-bit bitmap of the given size.
struct Sheet {
    TBitmap Bmp;
    explicit Sheet(int w = 40, int h = 40, TPixelFormat f = pf24bit) : Bmp(w, h, f) {}
    TCanvas& C() { return Bmp.Canvas(); }
    TColor At(int x, int y) const { return Bmp.PixelRGB(x, y); }
    // The pixels that are not white.
    std::set<std::pair<int, int>> Inked() const
    {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < Bmp.Height(); ++y)
            for (int x = 0; x < Bmp.Width(); ++x)
                if (At(x, y) != clWhite) s.insert({x, y});
        return s;
    }
    TRect InkBounds() const
    {
        TRect r{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
        for (auto [x, y] : Inked()) {
            r.Left = std::min(r.Left, x);
            r.Top = std::min(r.Top, y);
            r.Right = std::max(r.Right, x + 1);
            r.Bottom = std::max(r.Bottom, y + 1);
        }
        return r;
    }
};

}  // namespace

TEST(CanvasPixels, RectangleExcludesRightAndBottomEdges)
{
    Sheet s;
    s.C().Pen().SetColor(clBlack);
    s.C().Brush().SetColor(clRed);
    s.C().Rectangle(5, 6, 15, 12);
    EXPECT_EQ(s.InkBounds(), (TRect{5, 6, 15, 12}));
    EXPECT_EQ(s.At(5, 6), clBlack);     // outline on the first column and row
    EXPECT_EQ(s.At(14, 11), clBlack);   // and on the last ones inside the rectangle
    EXPECT_EQ(s.At(6, 7), clRed);       // the inside is the brush
    EXPECT_EQ(s.At(15, 8), clWhite);
    EXPECT_EQ(s.At(8, 12), clWhite);
}

TEST(CanvasPixels, ClearPenShrinksTheFillByOnePixel)
{
    Sheet s;
    s.C().Pen().SetStyle(psClear);
    s.C().Brush().SetColor(clBlue);
    s.C().Rectangle(5, 6, 15, 12);
    EXPECT_EQ(s.InkBounds(), (TRect{5, 6, 14, 11}));
    EXPECT_EQ(s.Inked().size(), 9u * 5u);

    Sheet e;
    e.C().Pen().SetStyle(psClear);
    e.C().Brush().SetColor(clBlue);
    e.C().Ellipse(0, 0, 20, 10);
    const TRect b = e.InkBounds();
    EXPECT_EQ(b.Right - b.Left, 19);
    EXPECT_EQ(b.Bottom - b.Top, 9);
}

TEST(CanvasPixels, LineToLeavesOutItsLastPixel)
{
    struct Case { TPoint From, To; };
    const Case cases[] = {{{2, 3}, {12, 3}}, {{12, 3}, {2, 3}}, {{4, 1}, {4, 20}}, {{0, 0}, {9, 9}}, {{1, 1}, {20, 7}}};
    for (const Case& c : cases) {
        Sheet s(30, 30);
        s.C().MoveTo(c.From.x, c.From.y);
        s.C().LineTo(c.To.x, c.To.y);
        const int steps = std::max(std::abs(c.To.x - c.From.x), std::abs(c.To.y - c.From.y));
        EXPECT_EQ(s.Inked().size(), static_cast<std::size_t>(steps)) << c.To.x << "," << c.To.y;
        EXPECT_EQ(s.At(c.From.x, c.From.y), clBlack);
        EXPECT_EQ(s.At(c.To.x, c.To.y), clWhite);
        EXPECT_EQ(s.C().PenPos(), c.To);
    }
}

TEST(CanvasPixels, PolylineJointsAreDrawnOnce)
{
    // Under XOR a joint drawn twice would vanish.
    Sheet s;
    s.C().Pen().SetMode(pmXor);
    s.C().Pen().SetColor(clWhite);
    const TPoint pts[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
    s.C().Polyline(pts, 4);
    EXPECT_EQ(s.Inked().size(), 8u + 8u + 8u);
    EXPECT_EQ(s.At(10, 2), clBlack);
    EXPECT_EQ(s.At(10, 10), clBlack);
    EXPECT_EQ(s.At(2, 10), clWhite);    // the last point stays out
}

TEST(CanvasPixels, RoundRectCornersAreEllipseDiameters)
{
    // A corner of RoundRect(l, t, r, b, w, h) is the quadrant of Ellipse(l, t, l + w, t + h).
    Sheet rr(60, 60), el(60, 60);
    rr.C().Brush().SetStyle(bsClear);
    el.C().Brush().SetStyle(bsClear);
    rr.C().RoundRect(0, 0, 50, 40, 20, 16);
    el.C().Ellipse(0, 0, 20, 16);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(rr.At(x, y), el.At(x, y)) << x << "," << y;
    EXPECT_EQ(rr.At(0, 0), clWhite);
    EXPECT_EQ(rr.At(10, 0), clBlack);   // the straight top edge starts after the corner's radius
    EXPECT_EQ(rr.At(0, 8), clBlack);
    EXPECT_EQ(rr.InkBounds(), (TRect{0, 0, 50, 40}));
}

TEST(CanvasPixels, XorAndNotXorTwiceRestoreTheImage)
{
    for (TPenMode mode : {pmXor, pmNotXor}) {
        Sheet s(50, 50);
        // A background with several colours.
        s.C().Brush().SetColor(0x3366CC);
        s.C().FillRect({0, 0, 25, 50});
        s.C().Brush().SetColor(0x10F0A0);
        s.C().FillRect({25, 0, 50, 25});
        const TPixelBuffer before = s.Bmp.ToPixels();
        auto draw = [&] {
            s.C().Pen().SetMode(mode);
            s.C().Pen().SetColor(0x808080);
            s.C().Brush().SetColor(0x00FF00);
            s.C().Rectangle(5, 5, 40, 30);
            s.C().Ellipse(10, 10, 45, 45);
            s.C().Brush().SetStyle(bsClear);
            s.C().Rectangle(2, 2, 48, 48);         // the zoom band: outline only
            s.C().MoveTo(0, 49);
            s.C().LineTo(49, 0);
            s.C().Brush().SetStyle(bsSolid);
        };
        draw();
        EXPECT_NE(s.Bmp.ToPixels().Pixels, before.Pixels);
        draw();
        EXPECT_EQ(s.Bmp.ToPixels().Pixels, before.Pixels) << "mode " << mode;
    }
}

TEST(CanvasPixels, RasterOperationsOfPenAndFill)
{
    // Pen colour P = 0x0F0F0F over a destination D = 0x33CC55 (one fill pixel, one pen pixel).
    const std::uint32_t P = 0x0F0F0F, D = 0x33CC55;
    struct Case { int Rop; std::uint32_t Expect; };
    const Case cases[] = {{R2_BLACK, 0},        {R2_WHITE, 0xFFFFFF},          {R2_NOP, D},
                          {R2_NOT, ~D},         {R2_COPYPEN, P},               {R2_NOTCOPYPEN, ~P},
                          {R2_XORPEN, P ^ D},   {R2_NOTXORPEN, ~(P ^ D)},      {R2_MASKPEN, P & D},
                          {R2_NOTMASKPEN, ~(P & D)}, {R2_MERGEPEN, P | D},     {R2_NOTMERGEPEN, ~(P | D)},
                          {R2_MASKPENNOT, P & ~D}, {R2_MASKNOTPEN, ~P & D},    {R2_MERGEPENNOT, P | ~D},
                          {R2_MERGENOTPEN, ~P | D}};
    for (const Case& c : cases) {
        Sheet s(20, 20);
        s.C().Brush().SetColor(D);
        s.C().FillRect({0, 0, 20, 20});
        s.C().Pen().SetColor(P);
        s.C().Brush().SetColor(P);
        s.C().SetROP2(c.Rop);
        s.C().Rectangle(2, 2, 12, 12);
        const TColor expect = ColorToRGB(static_cast<TColor>(c.Expect & 0xFFFFFF));
        EXPECT_EQ(s.At(2, 2), expect) << "pen, rop " << c.Rop;
        EXPECT_EQ(s.At(6, 6), expect) << "fill, rop " << c.Rop;
        EXPECT_EQ(s.At(15, 15), static_cast<TColor>(D)) << "outside, rop " << c.Rop;
    }
}
