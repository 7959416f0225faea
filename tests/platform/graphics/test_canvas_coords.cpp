// Coordinate spaces of the canvas: map modes with window and viewport, saved and restored states, world
// transforms, and the device's size and resolution.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

TEST(CanvasCoords, AnisotropicMappingScalesShapesPensAndFonts)
{
    // The print mapping: a logical space of 200 x 100 stretched onto 400 x 300 device pixels.
    auto rec = std::make_shared<TRecordingBackend>(800, 600);
    TCanvas c(rec);
    c.Font().SetHeight(-10);
    const TSize plain = c.TextExtent("abcd");
    const int old = c.SetMapMode(MM_ANISOTROPIC);
    EXPECT_EQ(old, MM_TEXT);
    c.SetWindowOrgEx(0, 0);
    c.SetWindowExtEx(200, 100);
    c.SetViewportExtEx(400, 300);
    c.SetViewportOrgEx(10, 20);
    EXPECT_EQ(c.LPtoDP(TPoint{50, 50}), (TPoint{110, 170}));
    EXPECT_EQ(c.DPtoLP(TPoint{110, 170}), (TPoint{50, 50}));
    c.Pen().SetWidth(2);
    c.Rectangle(0, 0, 100, 50);
    const auto& r = rec->Records.back();
    EXPECT_EQ(r.Kind, "Rectangle");
    EXPECT_EQ(r.Args, (std::vector<int>{0, 0, 100, 50}));        // logical, as given
    EXPECT_DOUBLE_EQ(r.Shape.Pen.Width, 4.0);                      // the pen scales with x
    EXPECT_EQ(r.Shape.Fill[0].Points[0], (TPointF{10, 20}));       // device corners
    EXPECT_EQ(r.Shape.Fill[0].Points[2], (TPointF{209, 169}));
    // The font's height scales with y (three device pixels per logical unit): the text keeps its
    // logical size up to rounding.
    c.TextOut(0, 0, "abcd");
    EXPECT_EQ(rec->Records.back().TextCmd.Font.PixelHeight, 30);
    const TSize mapped = c.TextExtent("abcd");
    EXPECT_NEAR(mapped.cy, plain.cy, 1);
    // Back to text mode: one logical unit per pixel again.
    c.SetMapMode(MM_TEXT);
    c.SetViewportOrgEx(0, 0);
    EXPECT_EQ(c.LPtoDP(TPoint{50, 50}), (TPoint{50, 50}));
}

TEST(CanvasCoords, IsotropicMappingKeepsUnitsSquare)
{
    auto rec = std::make_shared<TRecordingBackend>(800, 600);
    TCanvas c(rec);
    c.SetMapMode(MM_ISOTROPIC);
    c.SetWindowExtEx(100, 100);
    c.SetViewportExtEx(400, 200);
    const TPoint p = c.LPtoDP(TPoint{100, 100});
    EXPECT_EQ(p.x, p.y);
    EXPECT_EQ(p.x, 200);
}

TEST(CanvasCoords, MetricMapModeTurnsTheYAxisUp)
{
    auto rec = std::make_shared<TRecordingBackend>(1000, 1000, 254);   // 10 pixels per millimetre
    TCanvas c(rec);
    c.SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(c.LPtoDP(TPoint{100, -100}), (TPoint{100, 100}));         // 10 mm right and down
}

TEST(CanvasCoords, SaveAndRestoreBringBackStateObjectsAndClip)
{
    TBitmap b(50, 50);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clRed);
    c.SetMapMode(MM_ANISOTROPIC);
    c.SetWindowExtEx(1, 1);
    c.SetViewportExtEx(2, 2);
    c.SetROP2(R2_XORPEN);
    c.MoveTo(3, 4);
    const int level = c.SaveDC();
    EXPECT_EQ(level, 1);
    c.Pen().SetColor(clBlue);
    c.Brush().SetStyle(bsClear);
    c.SetMapMode(MM_TEXT);
    c.SetBkMode(TRANSPARENT);
    c.IntersectClipRect(0, 0, 10, 10);
    c.MoveTo(7, 7);
    c.SaveDC();
    c.SetTextAlign(TA_BOTTOM);
    EXPECT_TRUE(c.RestoreDC(-2));                  // back two levels at once
    EXPECT_EQ(c.Pen().Color(), clRed);
    EXPECT_EQ(c.Brush().Style(), bsSolid);
    EXPECT_EQ(c.GetMapMode(), MM_ANISOTROPIC);
    EXPECT_EQ(c.GetROP2(), R2_XORPEN);             // restored as saved, not re-derived from the pen
    EXPECT_EQ(c.GetBkMode(), OPAQUE);
    EXPECT_EQ(c.GetTextAlign(), 0u);
    EXPECT_EQ(c.PenPos(), (TPoint{3, 4}));
    TRegion clip;
    EXPECT_EQ(c.GetClipRgn(clip), 0);
    EXPECT_FALSE(c.RestoreDC(-1));                 // nothing left to restore
    EXPECT_FALSE(c.RestoreDC(5));
}

TEST(CanvasCoords, WorldTransformTurnsShapesAndPictures)
{
    TBitmap b(60, 60);
    TCanvas& c = b.Canvas();
    EXPECT_FALSE(c.SetWorldTransform({0, 1, -1, 0, 40, 0}));   // only in the advanced mode
    ASSERT_EQ(c.SetGraphicsMode(GM_ADVANCED), GM_COMPATIBLE);
    // A quarter turn: x' = -y + 40, y' = x.
    ASSERT_TRUE(c.SetWorldTransform({0, 1, -1, 0, 40, 0}));
    EXPECT_EQ(c.LPtoDP(TPoint{10, 5}), (TPoint{35, 10}));
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(clRed);
    c.Rectangle(0, 0, 20, 10);                 // lands on x in [30, 40), y in [0, 20)
    EXPECT_EQ(b.PixelRGB(35, 10), clRed);
    EXPECT_EQ(b.PixelRGB(25, 10), clWhite);
    TBitmap pic(4, 2);
    pic.Canvas().Brush().SetColor(clBlue);
    pic.Canvas().FillRect({0, 0, 2, 2});
    c.Draw(0, 30, pic);                        // the picture turns with the transform
    EXPECT_EQ(b.PixelRGB(9, 0), clBlue);
    EXPECT_EQ(b.PixelRGB(9, 3), clWhite);
    EXPECT_EQ(c.SetGraphicsMode(GM_COMPATIBLE), 0);     // refused while the transform is not identity
    ASSERT_TRUE(c.ModifyWorldTransform({}, MWT_IDENTITY));
    EXPECT_EQ(c.SetGraphicsMode(GM_COMPATIBLE), GM_ADVANCED);
    // Left- and right-multiplication compose in the device's order (left: applied first).
    c.SetGraphicsMode(GM_ADVANCED);
    c.SetWorldTransform({2, 0, 0, 2, 0, 0});
    c.ModifyWorldTransform({1, 0, 0, 1, 5, 0}, MWT_LEFTMULTIPLY);
    EXPECT_EQ(c.LPtoDP(TPoint{1, 1}), (TPoint{12, 2}));
    c.SetWorldTransform({2, 0, 0, 2, 0, 0});
    c.ModifyWorldTransform({1, 0, 0, 1, 5, 0}, MWT_RIGHTMULTIPLY);
    EXPECT_EQ(c.LPtoDP(TPoint{1, 1}), (TPoint{7, 2}));
}

TEST(CanvasCoords, DeviceReportsPhysicalSizeAndResolution)
{
    TBitmap b(960, 480);
    EXPECT_EQ(b.Canvas().GetDeviceCaps(HORZRES), 960);
    EXPECT_EQ(b.Canvas().GetDeviceCaps(VERTRES), 480);
    EXPECT_EQ(b.Canvas().GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(b.Canvas().GetDeviceCaps(HORZSIZE), 254);   // 10 inches
    EXPECT_EQ(b.Canvas().GetDeviceCaps(VERTSIZE), 127);
    EXPECT_EQ(b.Canvas().GetDeviceCaps(BITSPIXEL), 24);
    auto rec = std::make_shared<TRecordingBackend>(4960, 7016, 600);
    rec->MutableCaps().WidthMM = 210;
    rec->MutableCaps().Technology = DT_RASPRINTER;
    TCanvas c(rec);
    EXPECT_EQ(c.GetDeviceCaps(HORZSIZE), 210);
    EXPECT_EQ(c.GetDeviceCaps(VERTSIZE), 297);
    EXPECT_EQ(c.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(c.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
}
