// Shadows, chart fonts and the pattern bitmaps: what a shadow draws for its sizes (or nothing), that
// clips used by shadows and gradient text leave the caller's clip in force, the chart font's defaults,
// stored rules and copying, and the 49 patterns.
#include "chart/base/LumBrushDlg.h"
#include "chart/base/LumCanvasGdi.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/graphics/ResourceStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

struct TShadowCanvas {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas Device{Recorder};
    TLumCanvas3D Canvas;
    explicit TShadowCanvas(bool flat = true)
    {
        Canvas.ChangeBufferedDisplay(false);
        Canvas.SetupView(&Device, nullptr, clWhite, false, {0, 0, 400, 300});
        if (flat) Canvas.SuspendRotation();
        Recorder->Clear();
    }
    std::vector<std::vector<int>> Rectangles() const
    {
        std::vector<std::vector<int>> out;
        for (const auto* r : Recorder->OfKind("Rectangle")) out.push_back(r->Args);
        return out;
    }
};

using Rects = std::vector<std::vector<int>>;

} // namespace

TEST(LumShadow, DrawsNothingWithoutColourOrSize)
{
    for (const auto& [colour, h, v] : {std::tuple{clNone, 3, 3}, std::tuple{clGray, 0, 0}}) {
        TShadowCanvas sc;
        TLumShadow s;
        s.SetColor(colour);
        s.SetHorizSize(h);
        s.SetVertSize(v);
        s.SetTransparency(50);
        s.DrawRect(sc.Canvas, {10, 10, 50, 40});
        s.DrawEllipseShadow(sc.Canvas, {10, 10, 50, 40}, 0);
        EXPECT_TRUE(sc.Recorder->Records.empty());  // no drawing and no captured background
    }
}

TEST(LumShadow, SolidBandsForSmallOrRoughShadows)
{
    struct Case {
        int H, V;
        bool Smooth;
        Rects Drawn;
    };
    const Case cases[] = {
        // An offset of 1 is solid even when smooth: a band below and one to the right.
        {1, 1, true, {{11, 40, 51, 42}, {50, 11, 52, 42}}},
        {4, 3, false, {{14, 40, 54, 44}, {50, 13, 55, 44}}},
        // Negative sizes draw above and to the left.
        {0, -3, false, {{10, 11, 50, 7}}},
        {-2, 0, false, {{11, 10, 8, 41}}},
    };
    for (const Case& c : cases) {
        TShadowCanvas sc;
        TLumShadow s;
        s.SetHorizSize(c.H);
        s.SetVertSize(c.V);
        s.SetSmooth(c.Smooth);
        s.DrawRect(sc.Canvas, {10, 10, 50, 40});
        EXPECT_EQ(sc.Rectangles(), c.Drawn) << c.H << "," << c.V;
        EXPECT_TRUE(sc.Canvas.Pen().Style() == psClear);
    }
}

TEST(LumShadow, SmoothShadowFadesLineByLine)
{
    TShadowCanvas sc;
    TLumShadow s;
    s.SetColor(RGB(100, 100, 100));
    s.SetVertSize(4);
    s.DrawRect(sc.Canvas, {10, 10, 50, 40});
    const auto lines = sc.Recorder->OfKind("LineTo");
    ASSERT_EQ(lines.size(), 4u);
    // Step round((255 - 100) / 4) = 39: each line lighter than the one before.
    for (int i = 0; i < 4; ++i) {
        const int grey = 100 + 39 * i;
        EXPECT_EQ(lines[static_cast<std::size_t>(i)]->Shape.Pen.Color, RGB(grey, grey, grey));
        EXPECT_EQ(lines[static_cast<std::size_t>(i)]->Args, (std::vector<int>{50 + i - 4, 40 + i}));
    }

    // In 3-D the shadow lies at its depth as two quads.
    TShadowCanvas deep(false);
    s.SetSmooth(false);
    s.SetHorizSize(2);
    s.DrawRectAtZ(deep.Canvas, {10, 10, 50, 40}, 7);
    EXPECT_EQ(deep.Recorder->OfKind("Polygon").size(), 2u);
}

TEST(LumShadow, EllipseShadowsAndRoundedGradientsKeepTheCallersClip)
{
    TShadowCanvas sc;
    TLumShadow s;
    s.SetUniformSize(4);
    EXPECT_EQ(s.MaxOffset(), 4);
    sc.Canvas.ClipToRect({0, 0, 30, 30});
    s.DrawEllipseShadow(sc.Canvas, {10, 10, 50, 40}, 0);
    EXPECT_FALSE(sc.Recorder->OfKind("Ellipse").empty());
    TLumGradient g;
    g.DrawRect(sc.Canvas, {5, 5, 60, 60}, 8);
    EXPECT_EQ(sc.Canvas.ClipDepth(), 1);
    sc.Canvas.FillRectWithBrush({0, 0, 100, 100});
    const auto fill = sc.Recorder->OfKind("FillRect");
    EXPECT_EQ(fill.back()->ClipBox, (TRect{0, 0, 30, 30}));
}

TEST(LumShadow, StoredRulesFollowTheOwnersDefaults)
{
    TLumShadow s;
    auto stored = [](const TPersistent& o) {
        std::vector<std::string> out;
        for (const TPropInfo& p : o.ClassInfo().Properties())
            if (IsStoredProp(o, p)) out.push_back(p.Name);
        return out;
    };
    EXPECT_TRUE(stored(s).empty());
    s.SetDefaultSize(3);  // an owner with a shadow by default
    s.SetDefaultColor(clBlack);
    EXPECT_EQ(stored(s), (std::vector<std::string>{"Color", "HorizSize", "VertSize"}));
    s.SetUniformSize(3);
    s.SetColor(clBlack);
    EXPECT_TRUE(stored(s).empty());
}

TEST(LumFont, DefaultsStoredRulesAndCopies)
{
    int changes = 0;
    TLumFont f([&](TPersistent*) { ++changes; });
    EXPECT_EQ(f.Name(), "Arial");
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Color(), clBlack);
    auto stored = [](const TPersistent& o) {
        std::vector<std::string> out;
        for (const TPropInfo& p : o.ClassInfo().Properties())
            if (p.Kind != TPropKind::Object && IsStoredProp(o, p)) out.push_back(p.Name);
        return out;
    };
    EXPECT_TRUE(stored(f).empty());
    f.SetSize(10);
    f.SetName("Courier New");
    f.SetStyle(TFontStyles{fsBold});
    EXPECT_EQ(stored(f), (std::vector<std::string>{"Height", "Name", "Style"}));

    changes = 0;
    f.SetInterCharSize(2);
    f.SetInterCharSize(2);
    f.Shadow().SetHorizSize(3);  // sub-objects report through the font
    EXPECT_EQ(changes, 2);

    // Copies take the source's sub-objects and drop those it lacks.
    TLumFont copy;
    copy.Gradient().SetVisible(true);
    copy.Assign(f);
    EXPECT_FALSE(copy.HasGradient());
    ASSERT_TRUE(copy.HasShadow());
    EXPECT_EQ(copy.Shadow().HorizSize(), 3);
    EXPECT_EQ(copy.InterCharSize(), 2);
    EXPECT_EQ(copy.Name(), "Courier New");
    EXPECT_EQ(copy.Size(), 10);
}

TEST(LumFont, GradientTextKeepsTheCallersClip)
{
    TShadowCanvas sc;
    TLumFont f;
    f.Gradient().SetVisible(true);
    sc.Canvas.SelectFont(f);
    sc.Canvas.ClipToRect({0, 0, 300, 200});
    sc.Canvas.WriteText(10, 10, "Text");
    EXPECT_EQ(sc.Canvas.ClipDepth(), 1);
    sc.Recorder->Clear();
    sc.Canvas.FillRectWithBrush({0, 0, 400, 300});
    ASSERT_EQ(sc.Recorder->Records.size(), 1u);
    EXPECT_EQ(sc.Recorder->Records[0].ClipBox, (TRect{0, 0, 300, 200}));
}

TEST(LumFont, GradientOutlineFillsOnlyTheWidenedOutline)
{
    // A bold 48-point "I": its stem is several pixels wide.
    auto draw = [](TBitmap& bmp, bool outlineOnly) {
        TLumCanvas3D c;
        c.ChangeBufferedDisplay(false);
        c.SetupView(&bmp.Canvas(), nullptr, clWhite, false, {0, 0, 60, 80});
        TLumFont f;
        f.SetSize(48);
        f.SetStyle(TFontStyles{fsBold});
        f.Gradient().SetVisible(true);
        f.Gradient().SetStartColor(clRed);
        f.Gradient().SetEndColor(clRed);
        f.Gradient().SetOutline(outlineOnly);
        c.SelectFont(f);
        c.WriteText(2, 2, "I");
    };
    TBitmap filled(60, 80, pf24bit), ring(60, 80, pf24bit);
    draw(filled, false);
    draw(ring, true);
    // The stem's extent on the row through its middle, from the filled glyph.
    int top = -1, bottom = -1;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 60; ++x)
            if (filled.PixelRGB(x, y) == clRed) {
                if (top < 0) top = y;
                bottom = y;
            }
    ASSERT_GE(top, 0);
    const int row = (top + bottom) / 2;
    int left = -1, right = -1;
    for (int x = 0; x < 60; ++x)
        if (filled.PixelRGB(x, row) == clRed) {
            if (left < 0) left = x;
            right = x;
        }
    ASSERT_GE(right - left, 4);
    EXPECT_EQ(filled.PixelRGB((left + right) / 2, row), clRed);
    EXPECT_EQ(ring.PixelRGB((left + right) / 2, row), clWhite);  // the inside stays as it was
    // The outline runs along the glyph's edges (on the boundary, so up to a pixel outside).
    EXPECT_TRUE(ring.PixelRGB(left, row) == clRed || ring.PixelRGB(left - 1, row) == clRed);
    EXPECT_TRUE(ring.PixelRGB(right, row) == clRed || ring.PixelRGB(right + 1, row) == clRed);
}

TEST(PatternBitmaps, FortyNineDistinctMonochromePatterns)
{
    std::set<std::array<std::uint8_t, 8>> seen;
    for (int n = 0; n < PatternBitmapCount; ++n) {
        TBitmap b;
        ASSERT_TRUE(LoadPatternBitmap(n, b)) << n;
        EXPECT_EQ(b.Width(), 8);
        EXPECT_EQ(b.Height(), 8);
        EXPECT_TRUE(b.Monochrome());
        EXPECT_EQ(b.TransparentColor(), clWhite);
        EXPECT_EQ(b.TransparentMode(), tmFixed);
        // The pixels are the pattern's bits: black where set.
        const auto& bits = PatternBits(n);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(b.PixelRGB(x, y), ((bits[static_cast<std::size_t>(y)] >> (7 - x)) & 1) ? clBlack : clWhite);
        seen.insert(bits);
    }
    EXPECT_EQ(seen.size(), 49u);
    EXPECT_TRUE(HasBitmapResource("BBitmap1"));
    EXPECT_TRUE(HasBitmapResource("bbitmap49"));
    EXPECT_FALSE(HasBitmapResource("BBitmap50"));

    TBitmap untouched(3, 3, pf24bit);
    EXPECT_FALSE(LoadPatternBitmap(-1, untouched));
    EXPECT_FALSE(LoadPatternBitmap(49, untouched));
    EXPECT_EQ(untouched.Width(), 3);
}
