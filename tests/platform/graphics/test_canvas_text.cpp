// Text on the canvas: extents agree with the ink drawn, alignment flags, background mode, character
// extra, rotation, the font substitutes, and the recorder's fixed metrics.

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Ink {
    int Count = 0;
    TRect Box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
};

// Pixels darker than mid-grey in a rectangle.
Ink DarkInk(const TBitmap& b, TRect r = {0, 0, 1 << 20, 1 << 20})
{
    Ink ink;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x) {
            const TColor c = b.PixelRGB(x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
                ++ink.Count;
                ink.Box.Left = std::min(ink.Box.Left, x);
                ink.Box.Top = std::min(ink.Box.Top, y);
                ink.Box.Right = std::max(ink.Box.Right, x + 1);
                ink.Box.Bottom = std::max(ink.Box.Bottom, y + 1);
            }
        }
    return ink;
}

void UseFont(TCanvas& c, const char* name, int height)
{
    c.Font().SetName(name);
    c.Font().SetHeight(height);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);   // transparent text background, as the class library does
}

}  // namespace

TEST(CanvasText, ExtentBoundsTheInkDrawn)
{
    for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
        TBitmap b(300, 60);
        TCanvas& c = b.Canvas();
        UseFont(c, face, -20);
        const std::string text = "Wavy Hjq 123";
        const TSize ext = c.TextExtent(text);
        c.TextOut(10, 10, text);
        const Ink ink = DarkInk(b);
        ASSERT_GT(ink.Count, 0) << face;
        EXPECT_GE(ink.Box.Left, 10) << face;
        EXPECT_LE(ink.Box.Right, 10 + ext.cx + 1) << face;     // italics aside, glyphs stay in their advance
        EXPECT_GE(ink.Box.Right, 10 + ext.cx - 4) << face;
        EXPECT_GE(ink.Box.Top, 10) << face;
        EXPECT_LE(ink.Box.Bottom, 10 + ext.cy) << face;
        EXPECT_GE(ext.cy, 20) << face;                         // the cell holds the character height
        EXPECT_LE(ext.cy, 26) << face;
    }
}

TEST(CanvasText, WidthIsTheSumOfCharacterWidthsPlusCharacterExtra)
{
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    UseFont(c, "Arial", -15);
    const int whole = c.TextWidth("Axis label");
    int sum = 0;
    for (char ch : std::string("Axis label")) sum += c.TextWidth(std::string(1, ch));
    EXPECT_EQ(whole, sum);
    c.SetTextCharacterExtra(3);
    EXPECT_EQ(c.TextWidth("Axis label"), whole + 10 * 3);
    EXPECT_EQ(c.TextExtentW(u"Axis label").cx, c.TextWidth("Axis label"));
}

TEST(CanvasText, AlignmentFlagsPlaceTheCell)
{
    struct Case { unsigned Align; int DX, DY; };   // the cell's top-left relative to the point, in extents
    TBitmap probe(10, 10);
    UseFont(probe.Canvas(), "Arial", -16);
    TTextMetric tm;
    probe.Canvas().GetTextMetrics(tm);
    const TSize e = probe.Canvas().TextExtent("MMMM");
    const Case cases[] = {{TA_LEFT | TA_TOP, 0, 0},
                          {TA_RIGHT | TA_TOP, -e.cx, 0},
                          {TA_CENTER | TA_TOP, -e.cx / 2, 0},
                          {TA_LEFT | TA_BOTTOM, 0, -e.cy},
                          {TA_LEFT | TA_BASELINE, 0, -tm.tmAscent}};
    for (const Case& k : cases) {
        TBitmap b(200, 100);
        TCanvas& c = b.Canvas();
        UseFont(c, "Arial", -16);
        c.SetBkMode(OPAQUE);
        c.SetBkColor(clBlack);        // the opaque cell shows exactly where the text sits
        c.SetTextAlign(k.Align);
        c.TextOut(100, 50, "MMMM");
        const Ink ink = DarkInk(b);
        EXPECT_EQ(ink.Box, (TRect{100 + k.DX, 50 + k.DY, 100 + k.DX + e.cx, 50 + k.DY + e.cy})) << "align " << k.Align;
    }
}

TEST(CanvasText, UpdateCurrentPositionMovesAlongTheText)
{
    TBitmap b(200, 50);
    TCanvas& c = b.Canvas();
    UseFont(c, "Arial", -12);
    c.SetTextAlign(TA_UPDATECP);
    c.MoveTo(5, 5);
    c.TextOut(0, 0, "abc");
    EXPECT_EQ(c.PenPos(), (TPoint{5 + c.TextWidth("abc"), 5}));
}

TEST(CanvasText, TransparentBackgroundLeavesTheCell)
{
    TBitmap b(200, 50);
    TCanvas& c = b.Canvas();
    UseFont(c, "Arial", -16);
    c.SetBkColor(clRed);
    c.SetBkMode(TRANSPARENT);
    c.TextOut(5, 5, "Hi");
    int red = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 200; ++x) red += b.PixelRGB(x, y) == clRed;
    EXPECT_EQ(red, 0);
    c.SetBkMode(OPAQUE);
    c.TextOut(5, 5, "Hi");
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 200; ++x) red += b.PixelRGB(x, y) == clRed;
    EXPECT_GT(red, 0);
}

TEST(CanvasText, NinetyDegreesRunsUpward)
{
    TBitmap b(100, 200);
    TCanvas& c = b.Canvas();
    UseFont(c, "Arial", -16);
    const int width = c.TextWidth("Upward text");
    c.Font().SetOrientation(900);
    c.TextOut(40, 170, "Upward text");
    const Ink ink = DarkInk(b);
    // The text stands on its left end at the point and rises from it, its cell to the right of x.
    EXPECT_LE(ink.Box.Bottom, 171);
    EXPECT_GE(ink.Box.Top, 170 - width - 1);
    EXPECT_LE(ink.Box.Top, 170 - width + 6);
    EXPECT_GE(ink.Box.Left, 40);
    EXPECT_LE(ink.Box.Right, 40 + 20);
    EXPECT_GT(ink.Box.Height(), 3 * ink.Box.Width());
    // The first letter is at the bottom: ink near the starting point, none above the text's end.
    EXPECT_GT(DarkInk(b, {40, 150, 60, 171}).Count, 0);
    EXPECT_EQ(DarkInk(b, {0, 0, 100, 170 - width - 1}).Count, 0);
}

TEST(CanvasText, RecorderGivesFixedMetricsAndKeepsTheText)
{
    auto rec = std::make_shared<TRecordingBackend>();
    TCanvas c(rec);
    c.Font().SetHeight(-11);                 // 8 points at 96 pixels per inch
    EXPECT_EQ(c.TextExtent("W"), (TSize{5, 11}));
    EXPECT_EQ(c.TextExtent("Hello"), (TSize{25, 11}));
    c.Font().SetHeight(-20);
    TTextMetric tm;
    ASSERT_TRUE(c.GetTextMetrics(tm));
    EXPECT_EQ(tm.tmAscent, 16);
    EXPECT_EQ(tm.tmDescent, 4);
    c.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    c.TextOut(100, 50, "x\xB0y");            // the degree sign is byte 0xB0
    ASSERT_EQ(rec->OfKind("TextOut").size(), 1u);
    const auto& r = *rec->OfKind("TextOut")[0];
    EXPECT_EQ(r.Text, "x\xB0y");
    EXPECT_EQ(r.Chars, u"x\u00B0y");
    EXPECT_EQ(r.Args, (std::vector<int>{100, 50}));
    EXPECT_DOUBLE_EQ(r.TextCmd.Origin.x, 100 - 30);
    EXPECT_DOUBLE_EQ(r.TextCmd.Origin.y, 50 - 4);
}

TEST(CanvasText, WindowsCodePageBytesDrawTheirCharacters)
{
    // 0x80 is the euro sign in the program's code page, not a control character.
    auto rec = std::make_shared<TRecordingBackend>();
    TCanvas c(rec);
    c.TextOut(0, 0, "\x80\xE9");
    EXPECT_EQ(rec->Records.back().Chars, u"\u20AC\u00E9");
}

TEST(CanvasText, FontNamesMapToTheirSubstitutes)
{
    EXPECT_EQ(FaceForFontName("Arial"), "Liberation Sans");
    EXPECT_EQ(FaceForFontName("TIMES NEW ROMAN"), "Liberation Serif");
    EXPECT_EQ(FaceForFontName("Courier New"), "Liberation Mono");
    EXPECT_EQ(FaceForFontName("No Such Face 42"), "Liberation Sans");
}

TEST(CanvasText, AKeptPainterDrawsAsAPainterPerText)
{
    // The same texts through a painter kept from text to text and through a painter per text: clipped
    // then unclipped, opaque, turned and bold, on four- and three-byte rows; then the kept painter's
    // memory is swapped, and the texts land in the new memory only.
    constexpr int W = 160, H = 60;
    for (int bytes : {4, 3}) {
        SCOPED_TRACE(bytes);
        auto memoryOf = [&](std::vector<std::uint8_t>& v) {
            v.assign(static_cast<std::size_t>(W * bytes * H), 0xFF);
            return TImageMemory{v.data(), W, H, W * bytes, bytes};
        };
        std::vector<std::uint8_t> kept, once, other;
        auto keptDevice = std::make_shared<TImageBackend>(memoryOf(kept));
        keptDevice->SetKeepTextPainter(true);
        TCanvas keptCanvas(keptDevice), onceCanvas(std::make_shared<TImageBackend>(memoryOf(once)));
        auto write = [](TCanvas& c) {
            c.Font().SetColor(clBlack);
            c.Font().SetStyle({});
            c.Font().SetOrientation(0);
            c.IntersectClipRect(0, 0, 40, H);
            c.TextOut(2, 2, "Clipped at forty");
            c.SelectClipRgn(nullptr);
            c.TextOut(2, 20, "Whole again");
            c.SetBkMode(OPAQUE);
            c.SetBkColor(clYellow);
            c.Font().SetColor(clRed);
            c.Font().SetStyle({fsBold});
            c.TextOut(90, 20, "Bold");
            c.SetBkMode(TRANSPARENT);
            c.Font().SetOrientation(900);
            c.TextOut(140, 58, "Up");
        };
        write(keptCanvas);
        write(onceCanvas);
        EXPECT_EQ(kept, once);
        EXPECT_LT(std::count(kept.begin(), kept.end(), 0xFF), static_cast<long>(kept.size())) << "text was drawn";

        const std::vector<std::uint8_t> keptBefore = kept;
        keptDevice->SetMemory(memoryOf(other));
        std::vector<std::uint8_t> fresh;
        TCanvas freshCanvas(std::make_shared<TImageBackend>(memoryOf(fresh)));
        write(keptCanvas);
        write(freshCanvas);
        EXPECT_EQ(kept, keptBefore);
        EXPECT_EQ(other, fresh);
    }
}
