// Brushes and brush-only fills on the image canvas: pattern brushes with an opaque or transparent
// background, hatch gaps, styled pen gaps, PatBlt and the rectangle fills that ignore the pen's raster
// operation.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

namespace {

// An 8 x 8 monochrome pattern with its main diagonal set (black) and the rest white.
std::unique_ptr<TBitmap> DiagonalPattern()
{
    auto p = std::make_unique<TBitmap>(8, 8, pf1bit);
    for (int i = 0; i < 8; ++i) p->SetPixelRGB(i, i, clBlack);
    return p;
}

std::unique_ptr<TBitmap> Background(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixelRGB(x, y, RGB(40 + x * 3, 200 - y * 3, 90));
    return b;
}

}  // namespace

TEST(CanvasFills, PatternBrushWithTransparentBackgroundLeavesTheBackground)
{
    auto patternPtr = DiagonalPattern(), bPtr = Background(32, 32), beforePtr = Background(32, 32);
    TBitmap &pattern = *patternPtr, &b = *bPtr, &before = *beforePtr;
    TCanvas& c = b.Canvas();
    // The chart engine's recipe: pattern bitmap, text colour = fill colour, transparent background,
    // mask-pen raster operation.
    c.Brush().SetStyle(bsClear);
    c.Brush().SetBitmap(&pattern);
    c.SetTextColor(clRed);
    c.SetBkMode(TRANSPARENT);
    c.SetROP2(R2_MASKPEN);
    c.Pen().SetStyle(psClear);
    c.SetROP2(R2_MASKPEN);
    c.Rectangle(0, 0, 33, 33);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const TColor was = before.PixelRGB(x, y);
            if (x % 8 == y % 8)
                EXPECT_EQ(b.PixelRGB(x, y), was & clRed) << x << "," << y;   // set pixel: fill masked in
            else
                EXPECT_EQ(b.PixelRGB(x, y), was) << x << "," << y;           // elsewhere untouched
        }
}

TEST(CanvasFills, PatternBrushWithOpaqueBackgroundPaintsBothColours)
{
    auto patternPtr = DiagonalPattern(), bPtr = Background(16, 16);
    TBitmap &pattern = *patternPtr, &b = *bPtr;
    TCanvas& c = b.Canvas();
    c.Brush().SetBitmap(&pattern);
    c.SetTextColor(clNavy);
    c.SetBkColor(clYellow);
    c.SetBkMode(OPAQUE);
    c.FillRect({0, 0, 16, 16});
    EXPECT_EQ(b.PixelRGB(3, 3), clNavy);
    EXPECT_EQ(b.PixelRGB(12, 3), clYellow);
    // A colour pattern paints its own pixels.
    TBitmap colour(2, 2);
    colour.SetPixelRGB(0, 0, clGreen);
    c.Brush().SetBitmap(&colour);
    c.FillRect({0, 0, 16, 16});
    EXPECT_EQ(b.PixelRGB(4, 4), clGreen);
    EXPECT_EQ(b.PixelRGB(5, 4), clWhite);
}

TEST(CanvasFills, HatchGapsFollowTheBackgroundMode)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        TBitmap b(16, 16);
        TCanvas& c = b.Canvas();
        c.Brush().SetColor(clBlue);
        c.Brush().SetStyle(bsCross);
        c.SetBkMode(mode);
        c.SetBkColor(clLime);
        c.FillRect({0, 0, 16, 16});
        int blue = 0, lime = 0, white = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const TColor p = b.PixelRGB(x, y);
                blue += p == clBlue;
                lime += p == clLime;
                white += p == clWhite;
            }
        EXPECT_EQ(blue, 4 * 15);                          // one row and one column of each 8 x 8 cell
        EXPECT_EQ(lime, mode == OPAQUE ? 256 - 60 : 0);
        EXPECT_EQ(white, mode == OPAQUE ? 0 : 256 - 60);
    }
}

TEST(CanvasFills, BrushStyleSetsTheBackgroundModeAsTheClassLibraryDoes)
{
    TBitmap b(4, 4);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clRed);
    EXPECT_EQ(c.GetBkMode(), OPAQUE);
    EXPECT_EQ(c.GetBkColor(), clRed);
    c.Brush().SetStyle(bsClear);
    EXPECT_EQ(c.GetBkMode(), TRANSPARENT);
    c.Pen().SetMode(pmNotXor);
    EXPECT_EQ(c.GetROP2(), R2_NOTXORPEN);
    c.Font().SetColor(clGreen);
    EXPECT_EQ(c.GetTextColor(), clGreen);
    c.Font().SetColor(clBtnFace);                         // system colours resolve through the table
    EXPECT_EQ(c.GetTextColor(), ColorToRGB(clBtnFace));
}

TEST(CanvasFills, DashedPenGapsTakeTheBackgroundWhenOpaque)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        TBitmap b(60, 3);
        TCanvas& c = b.Canvas();
        c.Pen().SetStyle(psDash);
        c.SetBkMode(mode);
        c.SetBkColor(clYellow);
        c.MoveTo(0, 1);
        c.LineTo(48, 1);
        EXPECT_EQ(b.PixelRGB(0, 1), clBlack);
        EXPECT_EQ(b.PixelRGB(17, 1), clBlack);
        EXPECT_EQ(b.PixelRGB(18, 1), mode == OPAQUE ? clYellow : clWhite);   // dash 18 on, 6 off
        EXPECT_EQ(b.PixelRGB(24, 1), clBlack);
        EXPECT_EQ(b.PixelRGB(50, 1), clWhite);
    }
}

TEST(CanvasFills, PatBltOperations)
{
    auto bPtr = Background(20, 20), beforePtr = Background(20, 20);
    TBitmap &b = *bPtr, &before = *beforePtr;
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(0x123456);
    c.PatBlt(2, 2, 10, 10, PATINVERT);
    EXPECT_EQ(b.PixelRGB(5, 5), before.PixelRGB(5, 5) ^ 0x123456);
    c.PatBlt(12, 12, -10, -10, PATINVERT);               // the same rectangle given from its other corner
    EXPECT_EQ(b.ToPixels().Pixels, before.ToPixels().Pixels);
    c.PatBlt(0, 0, 5, 5, DSTINVERT);
    EXPECT_EQ(b.PixelRGB(1, 1), ~before.PixelRGB(1, 1) & 0xFFFFFF);
    c.PatBlt(0, 0, 2, 2, BLACKNESS);
    c.PatBlt(2, 0, 2, 2, WHITENESS);
    EXPECT_EQ(b.PixelRGB(1, 1), clBlack);
    EXPECT_EQ(b.PixelRGB(3, 1), clWhite);
    c.PatBlt(5, 5, 3, 3, PATCOPY);
    EXPECT_EQ(b.PixelRGB(7, 7), 0x123456);
    EXPECT_EQ(b.PixelRGB(8, 8), before.PixelRGB(8, 8));   // [5, 8) only
}

TEST(CanvasFills, RectangleFillsIgnoreThePenRasterOperation)
{
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    c.SetROP2(R2_XORPEN);
    c.Brush().SetColor(clRed);
    c.FillRect({0, 0, 10, 10});
    c.FillRect({0, 0, 10, 10});
    EXPECT_EQ(b.PixelRGB(5, 5), clRed);
    c.Brush().SetColor(clBlue);
    c.FrameRect({2, 2, 8, 8});
    EXPECT_EQ(b.PixelRGB(2, 2), clBlue);
    EXPECT_EQ(b.PixelRGB(7, 7), clBlue);
    EXPECT_EQ(b.PixelRGB(3, 3), clRed);
    EXPECT_EQ(b.PixelRGB(8, 8), clRed);
    c.InvertRect({0, 0, 1, 1});
    EXPECT_EQ(b.PixelRGB(0, 0), ~clRed & 0xFFFFFF);
}
