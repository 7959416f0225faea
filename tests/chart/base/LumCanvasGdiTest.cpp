// The device canvas drawing into bitmaps and onto the recorder: gradient colours at the edges for every
// direction, the clip stack, pattern brushes, chart pens, text, the off-screen buffer and the bevel frame.
#include "chart/base/LumCanvasGdi.h"

#include "chart/base/LumBrushDlg.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

namespace {

// A canvas drawing straight into a white bitmap.
struct TBitmapCanvas {
    TBitmap Bitmap;
    TLumCanvas3D Canvas;
    explicit TBitmapCanvas(int w = 60, int h = 40, TColor background = clWhite) : Bitmap(w, h, pf24bit)
    {
        Bitmap.Canvas().Brush().SetColor(background);
        Bitmap.Canvas().FillRect({0, 0, w, h});
        Canvas.ChangeBufferedDisplay(false);
        Canvas.SetupView(&Bitmap.Canvas(), nullptr, clWhite, false, {0, 0, w, h});
    }
    TColor At(int x, int y) const { return Bitmap.PixelRGB(x, y); }
    int Count(TColor c) const
    {
        int n = 0;
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x) n += At(x, y) == c;
        return n;
    }
};

// A canvas drawing onto the recorder.
struct TRecordedCanvas {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas Device{Recorder};
    TLumCanvas3D Canvas;
    TRecordedCanvas()
    {
        Canvas.ChangeBufferedDisplay(false);
        Canvas.SetupView(&Device, nullptr, clWhite, false, {0, 0, 400, 300});
    }
};

constexpr TColor Start = RGB(255, 0, 0), End = RGB(0, 0, 255);

} // namespace

TEST(LumCanvasGdi, GradientColoursAtTheEdgesOfEveryDirection)
{
    // Where the start and end colours land: two probe pixels of a 41 x 31 rectangle at (5, 4).
    struct Case {
        TGradientDirection Direction;
        TPoint StartAt, EndAt;
    };
    const int l = 5, t = 4, r = 45, b = 34;  // last pixels: r, b
    const Case cases[] = {
        {gdTopBottom, {20, b}, {20, t}},
        {gdBottomTop, {20, t}, {20, b}},
        {gdLeftRight, {r, 15}, {l, 15}},
        {gdRightLeft, {l, 15}, {r, 15}},
        {gdFromCenter, {25, 19}, {l, 15}},
        {gdFromTopLeft, {r, b}, {l, t}},
        {gdFromBottomLeft, {r, t}, {l, b}},
        {gdDiagonalUp, {l, b}, {r, t}},
        {gdDiagonalDown, {l, t}, {r, b}},
        {gdRadial, {25, 19}, {l, t}},
    };
    for (const Case& c : cases) {
        TBitmapCanvas bc(60, 40, clLime);
        bc.Canvas.FillGradientRect({l, t, r + 1, b + 1}, Start, End, c.Direction, 50);
        const TColor s = bc.At(c.StartAt.x, c.StartAt.y), e = bc.At(c.EndAt.x, c.EndAt.y);
        // Start: mostly red; end: mostly blue (a band may sit one step inside).
        EXPECT_GT(GetRValue(s), 230) << c.Direction << std::hex << " " << s;
        EXPECT_LT(GetBValue(s), 25) << c.Direction;
        EXPECT_GT(GetBValue(e), 230) << c.Direction << std::hex << " " << e;
        EXPECT_LT(GetRValue(e), 25) << c.Direction;
        // Every pixel of the rectangle painted, none outside.
        EXPECT_EQ(bc.Count(clLime), 60 * 40 - 41 * 31) << c.Direction;
        EXPECT_EQ(bc.At(l - 1, t), clLime);
        EXPECT_EQ(bc.At(r + 1, b), clLime);
    }
}

TEST(LumCanvasGdi, GradientExactEndsAndEmptyStrips)
{
    TBitmapCanvas bc(20, 20, clLime);
    bc.Canvas.FillGradientRect({0, 0, 10, 10}, Start, End, gdTopBottom, 50);
    EXPECT_EQ(bc.At(3, 9), Start);  // band 0 at the bottom
    EXPECT_EQ(bc.At(3, 0), End);

    // One pixel high: nothing at all; reversed corners are sorted first.
    TBitmapCanvas thin(20, 20, clLime);
    thin.Canvas.FillGradientRect({0, 5, 10, 6}, Start, End, gdTopBottom, 50);
    thin.Canvas.FillGradientRect({0, 5, 1, 15}, Start, End, gdLeftRight, 50);
    EXPECT_EQ(thin.Count(clLime), 400);
    thin.Canvas.FillGradientRect({10, 10, 0, 0}, Start, End, gdBottomTop, 50);
    EXPECT_EQ(thin.At(4, 0), Start);

    // The caller's brush survives the fill.
    thin.Canvas.Brush().SetColor(clAqua);
    thin.Canvas.FillGradientRect({0, 0, 10, 10}, Start, End, gdFromCenter, 50);
    EXPECT_EQ(thin.Canvas.Brush().Color(), clAqua);
}

TEST(LumCanvasGdi, GradientObjectPlacesMidColourAndIgnoresItFromCentre)
{
    TCustomLumGradient g;
    g.SetStartColor(Start);
    g.SetEndColor(End);
    g.SetMidColor(clLime);
    g.SetBalance(70);

    TBitmapCanvas a(30, 30);
    g.DrawRect(a.Canvas, {0, 0, 30, 30});
    EXPECT_EQ(a.At(10, 0), End);       // top: end colour
    EXPECT_EQ(a.At(10, 29), Start);    // bottom: start colour
    EXPECT_EQ(a.At(10, 14), clLime);   // the mid colour where the halves meet
    EXPECT_EQ(a.At(10, 15), clLime);

    // From the centre the mid colour is not drawn and the balance is 50 whatever Balance says.
    g.SetDirection(gdFromCenter);
    TBitmapCanvas b(30, 30), c(30, 30);
    g.DrawRect(b.Canvas, {0, 0, 30, 30});
    c.Canvas.FillGradientRect({0, 0, 30, 30}, Start, End, gdFromCenter, 50);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(b.At(x, y), c.At(x, y)) << x << "," << y;

    // A monochrome canvas draws the gradient's colours as greys of the same mean.
    TBitmapCanvas mono(30, 30);
    mono.Canvas.ChangeMonochrome(true);
    g.SetDirection(gdTopBottom);
    g.DrawRect(mono.Canvas, {0, 0, 30, 30});
    EXPECT_EQ(mono.At(10, 0), RGB(85, 85, 85));
    EXPECT_EQ(mono.At(10, 15), RGB(85, 85, 85));  // lime and blue have the same mean

    // Setting the mid colour to none twice reports once.
    int changes = 0;
    g.OnChange = [&](TPersistent*) { ++changes; };
    g.SetMidColor(clNone);
    g.SetMidColor(clNone);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.MidColor(), clNone);
    g.TurnOnMidColor();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(g.MidColor(), clLime);  // the stored colour comes back
}

TEST(LumCanvasGdi, RadialGradientRingCount)
{
    // 101 x 50: n = 101 lowered to 100 for the odd width, so k runs 100 .. 0: 101 ellipses (the radius
    // step stays 1/101), the last a point at the centre.
    struct TCountingCanvas : TLumCanvas3D {
        std::vector<TRect> Boxes;
        void DrawEllipseBox(int x1, int y1, int x2, int y2) override
        {
            Boxes.push_back({x1, y1, x2, y2});
            TLumCanvas3D::DrawEllipseBox(x1, y1, x2, y2);
        }
    };
    TRecordedCanvas rc;
    TCountingCanvas c;
    c.AttachCanvas(&rc.Device);
    TCustomLumGradient g;
    g.SetDirection(gdRadial);
    g.DrawRect(c, {0, 0, 101, 50});
    ASSERT_EQ(c.Boxes.size(), 101u);
    // Centre (1 + 50.5, 1 + 25); k = 100: half sizes 50 and 24.75, halves rounding to even.
    EXPECT_EQ(c.Boxes.front(), (TRect{2, 1, 102, 51}));
    EXPECT_EQ(c.Boxes.back(), (TRect{52, 26, 52, 26}));
    EXPECT_EQ(c.ClipDepth(), 0);
    EXPECT_EQ(c.Pen().Style(), psSolid);  // restored
}

TEST(LumCanvasGdi, ClipStackReturnsToEachEnclosingClip)
{
    TBitmapCanvas bc(40, 40);
    TLumCanvas3D& c = bc.Canvas;
    auto fillAll = [&](TColor color) {
        c.Brush().SetColor(color);
        c.FillRectWithBrush({0, 0, 40, 40});
    };
    c.ClipToRect({10, 10, 30, 30});
    c.ClipToRect({0, 0, 20, 20});
    fillAll(clRed);
    EXPECT_EQ(bc.Count(clRed), 100);  // the intersection 10..19
    c.RemoveClip();
    fillAll(clBlue);
    EXPECT_EQ(bc.Count(clBlue), 400);  // two clips, one removal: the first clip stays
    EXPECT_EQ(bc.At(5, 5), clWhite);
    c.RemoveClip();
    c.RemoveClip();  // on an empty stack: no clipping
    fillAll(clGreen);
    EXPECT_EQ(bc.Count(clGreen), 1600);

    // A clip set outside the canvas (as when printing) comes back after a clip and its removal.
    const TRegion outside = TRegion::FromRect(0, 0, 10, 40);
    bc.Bitmap.Canvas().SelectClipRgn(&outside);
    c.ClipToEllipse({0, 0, 40, 40}, false);
    c.RemoveClip();
    fillAll(clYellow);
    EXPECT_EQ(bc.Count(clYellow), 400);
    // The inverted ellipse cuts a hole and is undone like the others.
    bc.Bitmap.Canvas().SelectClipRgn(nullptr);
    fillAll(clWhite);
    c.ClipToEllipse({10, 10, 30, 30}, true);
    fillAll(clRed);
    EXPECT_EQ(bc.At(20, 20), clWhite);
    EXPECT_EQ(bc.At(2, 2), clRed);
    c.RemoveClip();
    fillAll(clBlue);
    EXPECT_EQ(bc.Count(clBlue), 1600);
}

TEST(LumCanvasGdi, PolygonClipKeepsCallersPointsAndFollowsTheMapping)
{
    TBitmapCanvas bc(40, 40);
    TLumCanvas3D& c = bc.Canvas;
    bc.Bitmap.Canvas().SetViewportOrgEx(10, 5);  // logical (0, 0) lands on pixel (10, 5)
    const TPointArray square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const TPointArray copy = square;
    c.ClipToPolygon(square);
    EXPECT_EQ(square, copy);
    c.Brush().SetColor(clRed);
    c.FillRectWithBrush({-10, -5, 30, 35});
    EXPECT_EQ(bc.Count(clRed), 100);
    EXPECT_EQ(bc.At(10, 5), clRed);
    EXPECT_EQ(bc.At(19, 14), clRed);
    EXPECT_EQ(bc.At(9, 5), clWhite);
    c.RemoveClip();

    // Attaching a device or starting a drawing forgets the clips of the last one.
    c.ClipToRect({0, 0, 5, 5});
    c.SetupView(&bc.Bitmap.Canvas(), nullptr, clWhite, false, {0, 0, 40, 40});
    EXPECT_EQ(c.ClipDepth(), 0);
}

TEST(LumCanvasGdi, PatternBrushes)
{
    // A transparent background leaves what lies beneath the pattern's gaps.
    TBitmapCanvas bc(16, 16, clRed);
    TChartBrush brush;
    brush.SetStyleNumber(FirstPatternBrushStyle + 3);  // pattern 4: the checker
    bc.Canvas.SelectBrushColors(brush, clBlack, TransparentBackColor);
    bc.Canvas.Pen().SetStyle(psClear);
    bc.Canvas.FillRectWithBrush({0, 0, 16, 16});
    EXPECT_EQ(bc.Count(clBlack), 128);
    EXPECT_EQ(bc.Count(clRed), 128);

    // An opaque background paints the gaps.
    TBitmapCanvas opaque(16, 16, clRed);
    opaque.Canvas.SelectBrushColors(brush, clBlue, clYellow);
    opaque.Canvas.FillRectWithBrush({0, 0, 16, 16});
    EXPECT_EQ(opaque.Count(clBlue), 128);
    EXPECT_EQ(opaque.Count(clYellow), 128);

    // Styles beyond the 49 patterns (they arrive from stored files) draw as a clear brush.
    for (int style : {FirstPatternBrushStyle + PatternBitmapCount, 127}) {
        TBitmapCanvas none(16, 16, clRed);
        brush.SetStyleNumber(style);
        none.Canvas.SelectBrushColors(brush, clBlack, clWhite);
        none.Canvas.FillRectWithBrush({0, 0, 16, 16});
        EXPECT_EQ(none.Count(clRed), 256) << style;
    }

    // Monochrome canvases fill white.
    TBitmapCanvas mono(8, 8, clRed);
    mono.Canvas.ChangeMonochrome(true);
    brush.SetStyleNumber(bsSolid);
    mono.Canvas.SelectBrush(brush, clBlue);
    mono.Canvas.FillRectWithBrush({0, 0, 8, 8});
    EXPECT_EQ(mono.Count(clWhite), 64);
}

TEST(LumCanvasGdi, ChartPensBecomeDevicePens)
{
    TBitmapCanvas bc(30, 10);
    TLumCanvas3D& c = bc.Canvas;
    TChartPen pen;
    pen.SetColor(clRed);

    pen.MakeInvisible();
    c.SelectPen(pen);
    c.DrawHorizLine(0, 30, 2);
    EXPECT_EQ(bc.Count(clRed), 0);

    // Small dots: every other pixel.
    pen.MakeVisible();
    pen.SetSmallDots(true);
    c.SelectPen(pen);
    c.DrawHorizLine(0, 20, 4);
    EXPECT_EQ(bc.Count(clRed), 10);
    // With a space: one dot every SmallSpace + 1 pixels.
    pen.SetSmallSpace(3);
    c.SelectPenColor(pen, clBlue);
    c.DrawHorizLine(0, 20, 6);
    EXPECT_EQ(bc.Count(clBlue), 5);
    EXPECT_EQ(bc.At(4, 6), clBlue);
    EXPECT_EQ(bc.At(5, 6), clWhite);
    pen.SetSmallSpace(0);

    // Monochrome: black whatever the colour.
    c.ChangeMonochrome(true);
    pen.SetSmallDots(false);
    c.SelectPenColor(pen, clBlue);
    EXPECT_EQ(c.Pen().Color(), clBlack);
    c.ChangeMonochrome(false);

    // Wide pens are geometric with the caps and joins of their end style.
    pen.SetWidth(3);
    const struct {
        TPenEndStyle Style;
        TPenEndCap Cap;
        TPenJoin Join;
    } ends[] = {{esRound, pecRound, pjRound}, {esSquare, pecSquare, pjBevel}, {esFlat, pecFlat, pjMiter}};
    for (const auto& e : ends) {
        pen.SetEndStyle(e.Style);
        c.SelectPenColor(pen, clGreen);
        EXPECT_TRUE(c.Pen().Geometric());
        EXPECT_EQ(c.Pen().EndCap(), e.Cap);
        EXPECT_EQ(c.Pen().Join(), e.Join);
        EXPECT_EQ(c.Pen().Color(), clGreen);
    }
    // A thin pen afterwards is plain again.
    pen.SetWidth(1);
    c.SelectPen(pen);
    EXPECT_FALSE(c.Pen().Geometric());
}

TEST(LumCanvasGdi, RotatedTextRunsUpwardAt90Degrees)
{
    TBitmapCanvas bc(60, 80);
    bc.Canvas.Font().SetColor(clBlack);
    bc.Canvas.Font().SetSize(12);
    bc.Canvas.WriteRotatedText(20, 70, "WWWW", 90);
    int top = 80, bottom = -1, left = 60, right = -1;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 60; ++x)
            if (bc.At(x, y) != clWhite) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_LE(bottom, 70);                      // above the origin
    EXPECT_GT(bottom - top, 2 * (right - left));  // tall, not wide
    EXPECT_GE(left, 20 - 1);                    // the top of the glyphs faces left, toward x >= origin - ascent
}

TEST(LumCanvasGdi, RotatedTextAngles)
{
    TRecordedCanvas rc;
    for (const auto& [angle, written] : {std::pair{450.0, 90.0}, std::pair{-30.0, -30.0}, std::pair{720.0, 360.0}}) {
        rc.Recorder->Clear();
        rc.Canvas.WriteRotatedText(10, 10, "A", angle);
        const auto text = rc.Recorder->OfKind("TextOut");
        ASSERT_EQ(text.size(), 1u);
        EXPECT_NEAR(std::fmod(text[0]->TextCmd.Angle - written + 720, 360), 0, 1e-9) << angle;
    }
    EXPECT_EQ(rc.Canvas.Font().Orientation(), 0);  // the font comes back unrotated
    EXPECT_EQ(rc.Canvas.Brush().Style(), bsClear);
}

TEST(LumCanvasGdi, ChartFontShadowAndZoom)
{
    TRecordedCanvas rc;
    TLumFont font;
    font.Shadow().SetHorizSize(-2);
    font.Shadow().SetVertSize(3);
    font.Shadow().SetColor(clGray);
    rc.Canvas.SelectFont(font);
    rc.Canvas.WriteText(10, 10, "Ab");
    const auto text = rc.Recorder->OfKind("TextOut");
    ASSERT_EQ(text.size(), 2u);
    // Negative sizes move the text, positive ones the shadow.
    EXPECT_EQ(text[0]->Args, (std::vector<int>{10, 13}));
    EXPECT_EQ(text[0]->TextCmd.Color, clGray);
    EXPECT_EQ(text[1]->Args, (std::vector<int>{12, 10}));
    EXPECT_EQ(text[1]->TextCmd.Color, clBlack);
    // Measuring adds the shadow's size: "W" is 5 x 11 with the recorder's metrics at 8 points.
    EXPECT_EQ(rc.Canvas.MeasureTextWidth("W"), 5 + 2);
    EXPECT_EQ(rc.Canvas.CharHeight(), 11 + 3);

    // The font zoom scales every selected chart font; a gone font is no longer current.
    auto temporary = std::make_unique<TLumFont>();
    rc.Canvas.SetFontZoom(200);
    rc.Canvas.SelectFont(*temporary);
    EXPECT_EQ(rc.Canvas.Font().Size(), 16);
    EXPECT_EQ(rc.Canvas.CurrentFont(), temporary.get());
    temporary.reset();
    EXPECT_EQ(rc.Canvas.CurrentFont(), nullptr);
    EXPECT_EQ(rc.Canvas.MeasureTextWidth("W"), 10);
}

TEST(LumCanvasGdi, OffscreenBufferAndRepaints)
{
    TBitmap screen(50, 30, pf24bit);
    TLumCanvas3D c;
    ASSERT_TRUE(c.IsBufferedDisplay());
    EXPECT_EQ(c.SetupView(&screen.Canvas(), nullptr, clWhite, false, {10, 5, 50, 30}), (TRect{0, 0, 40, 25}));
    ASSERT_NE(c.Buffer(), nullptr);
    EXPECT_EQ(c.DeviceHandle(), &c.Buffer()->Canvas());
    c.Brush().SetColor(clRed);
    c.FillRectWithBrush({0, 0, 40, 25});
    EXPECT_FALSE(c.RepaintFromBuffer());  // not finished yet
    c.FinishDrawing(&screen.Canvas(), &screen.Canvas(), {10, 5});
    EXPECT_EQ(screen.PixelRGB(10, 5), clRed);
    EXPECT_EQ(screen.PixelRGB(9, 5), clWhite);

    // Unchanged: the next paint is a copy at (0, 0) of the attached canvas.
    EXPECT_TRUE(c.RepaintFromBuffer());
    EXPECT_EQ(screen.PixelRGB(0, 0), clRed);
    c.MarkChanged();
    EXPECT_FALSE(c.RepaintFromBuffer());

    // Switching the buffer off keeps it while KeepBitmap is on, frees it otherwise.
    c.FinishDrawing(&screen.Canvas(), &screen.Canvas(), {0, 0});
    c.SetKeepBitmap(true);
    c.ChangeBufferedDisplay(false);
    EXPECT_NE(c.Buffer(), nullptr);
    EXPECT_FALSE(c.NeedsRedraw());
    c.ChangeBufferedDisplay(true);
    c.SetKeepBitmap(false);
    c.ChangeBufferedDisplay(false);
    EXPECT_EQ(c.Buffer(), nullptr);
    EXPECT_TRUE(c.NeedsRedraw());
}

TEST(LumCanvasGdi, MonochromeSwitchRepaintsThePanel)
{
    struct TPanel : ILumPanelRepaint {
        int Repaints = 0;
        void RepaintPanel() override { ++Repaints; }
    } panel;
    TView3DOptions options(&panel);
    TBitmap bmp(10, 10, pf24bit);
    TLumCanvas3D c;
    c.SetupView(&bmp.Canvas(), &options, clWhite, false, {0, 0, 10, 10});
    c.FinishDrawing(&bmp.Canvas(), &bmp.Canvas(), {0, 0});
    ASSERT_FALSE(c.NeedsRedraw());
    c.ChangeMonochrome(true);
    c.ChangeMonochrome(true);
    EXPECT_EQ(panel.Repaints, 1);
    EXPECT_TRUE(c.NeedsRedraw());
    TLumCanvas3D other;
    other.CopyMonochromeFrom(c);
    EXPECT_TRUE(other.IsMonochrome());
}

TEST(LumCanvasGdi, BevelFrameShrinksTheRectangle)
{
    TBitmapCanvas bc(20, 20);
    TRect r{2, 2, 12, 12};
    bc.Canvas.DrawBevelFrame(r, clRed, clBlue, 2);
    EXPECT_EQ(r, (TRect{4, 4, 10, 10}));
    EXPECT_EQ(bc.At(2, 2), clRed);
    EXPECT_EQ(bc.At(2, 10), clRed);
    EXPECT_EQ(bc.At(2, 11), clBlue);  // the bottom line, drawn last, runs to the left edge
    EXPECT_EQ(bc.At(11, 2), clBlue);  // the right line starts at the top-right corner
    EXPECT_EQ(bc.At(11, 11), clBlue);
    EXPECT_EQ(bc.At(3, 3), clRed);    // second frame
    EXPECT_EQ(bc.At(10, 10), clBlue);
    EXPECT_EQ(bc.At(4, 4), clWhite);
    EXPECT_EQ(bc.At(12, 12), clWhite);
}

TEST(LumCanvasGdi, BlendRestoresTheBackgroundByPercent)
{
    for (const auto& [percent, expected] : {std::pair{0, clBlue}, std::pair{100, clRed}}) {
        TBitmapCanvas bc(20, 20, clRed);
        auto blend = bc.Canvas.BeginTransparency({0, 0, 10, 10}, percent);
        bc.Canvas.Brush().SetColor(clBlue);
        bc.Canvas.FillRectWithBrush({0, 0, 20, 20});
        bc.Canvas.EndTransparency(std::move(blend));
        EXPECT_EQ(bc.At(5, 5), expected) << percent;
        EXPECT_EQ(bc.At(15, 15), clBlue);
    }
    // Half way: each channel mixed.
    TBitmapCanvas half(20, 20, clBlack);
    auto blend = half.Canvas.BeginTransparency({0, 0, 10, 10}, 50);
    half.Canvas.Brush().SetColor(clWhite);
    half.Canvas.FillRectWithBrush({0, 0, 10, 10});
    half.Canvas.EndTransparency(std::move(blend));
    EXPECT_NEAR(GetRValue(half.At(5, 5)), 128, 2);

    // Nested blends keep their own percent.
    TBitmapCanvas nested(20, 20, clRed);
    auto outer = nested.Canvas.BeginTransparency({0, 0, 10, 10}, 100);
    auto inner = nested.Canvas.BeginTransparency({10, 10, 20, 20}, 0);
    nested.Canvas.Brush().SetColor(clBlue);
    nested.Canvas.FillRectWithBrush({0, 0, 20, 20});
    nested.Canvas.EndTransparency(std::move(inner));
    nested.Canvas.EndTransparency(std::move(outer));
    EXPECT_EQ(nested.At(5, 5), clRed);
    EXPECT_EQ(nested.At(15, 15), clBlue);

    // A blend wholly left of the canvas is clamped to one pixel column at x = 0.
    TLumBlend left(nested.Canvas, {-20, 5, -10, 15});
    EXPECT_EQ(left.BlendRect(), (TRect{0, 5, 1, 15}));
    EXPECT_TRUE(left.Valid());
}
