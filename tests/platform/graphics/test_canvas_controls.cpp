// What controls draw with: text in a rectangle (read back from the recorder's fixed metrics: every
// character 5 pixels wide, lines 11 pixels high), the 3-D edges and frames probed at their pixels, the
// focus rectangle, the push-button frame and the copy that leaves out a key colour.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

namespace {

struct Drawn {
    int X, Y;
    std::string Text;
    bool operator==(const Drawn&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Drawn& d) { return os << "(" << d.X << "," << d.Y << " '" << d.Text << "')"; }

struct Recorder {
    std::shared_ptr<TRecordingBackend> Backend = std::make_shared<TRecordingBackend>();
    TCanvas Canvas{Backend};

    std::vector<Drawn> Texts() const
    {
        std::vector<Drawn> out;
        for (const auto* r : Backend->OfKind("TextOut")) out.push_back({r->Args[0], r->Args[1], r->Text});
        return out;
    }
};

TColor At(const TBitmap& b, int x, int y) { return b.PixelRGB(x, y); }
TColor Rgb(TColor c) { return ColorToRGB(c); }

} // namespace

TEST(CanvasDrawText, PlacesLinesByTheFlags)
{
    constexpr unsigned SV = DT_SINGLELINE | DT_VCENTER;
    struct Case {
        const char* name;
        std::string text;
        TRect rect;
        unsigned format;
        std::vector<Drawn> drawn;
        int result;
    };
    const Case cases[] = {
        {"left, centred vertically", "Hello", {0, 0, 100, 20}, SV | DT_LEFT, {{0, 4, "Hello"}}, 15},
        {"centred", "Hello", {0, 0, 100, 20}, SV | DT_CENTER, {{37, 4, "Hello"}}, 15},
        {"right", "Hello", {10, 0, 100, 20}, SV | DT_RIGHT, {{75, 4, "Hello"}}, 15},
        {"top without vertical centring", "Hello", {5, 7, 100, 40}, DT_SINGLELINE, {{5, 7, "Hello"}}, 11},
        {"bottom", "Hello", {0, 0, 100, 40}, DT_SINGLELINE | DT_BOTTOM, {{0, 29, "Hello"}}, 40},
        {"ampersand as it stands", "&File", {0, 0, 100, 11}, DT_SINGLELINE | DT_NOPREFIX, {{0, 0, "&File"}}, 11},
        {"end ellipsis", "abcdefghij", {0, 0, 30, 11}, DT_SINGLELINE | DT_END_ELLIPSIS, {{0, 0, "abc..."}}, 11},
        {"end ellipsis not needed", "abcdef", {0, 0, 30, 11}, DT_SINGLELINE | DT_END_ELLIPSIS, {{0, 0, "abcdef"}}, 11},
        {"path ellipsis keeps the file name", "/usr/local/share/file.sp2", {0, 0, 80, 11},
         DT_SINGLELINE | DT_PATH_ELLIPSIS, {{0, 0, "/usr.../file.sp2"}}, 11},
        {"path ellipsis without a folder", "abcdefghij", {0, 0, 30, 11}, DT_SINGLELINE | DT_PATH_ELLIPSIS,
         {{0, 0, "abc..."}}, 11},
        {"nothing fits but the ellipsis", "abcdefghij", {0, 0, 4, 11}, DT_SINGLELINE | DT_END_ELLIPSIS, {{0, 0, "..."}}, 11},
        {"tabs at eight average widths", "a\tbc\td", {0, 0, 200, 11}, DT_EXPANDTABS,
         {{0, 0, "a"}, {40, 0, "bc"}, {80, 0, "d"}}, 11},
        {"tab kept without expansion", "a\tb", {0, 0, 200, 11}, 0, {{0, 0, "a\tb"}}, 11},
        {"line ends", "one\r\ntwo\nthree", {0, 0, 200, 100}, DT_CENTER,
         {{92, 0, "one"}, {92, 11, "two"}, {87, 22, "three"}}, 33},
        {"single line keeps line ends", "a\nb", {0, 0, 200, 11}, DT_SINGLELINE, {{0, 0, "a\nb"}}, 11},
        {"word break", "one two three", {0, 0, 40, 100}, DT_WORDBREAK, {{0, 0, "one two"}, {0, 11, "three"}}, 22},
        {"a long word stands alone", "a verylongword b", {0, 0, 30, 100}, DT_WORDBREAK,
         {{0, 0, "a"}, {0, 11, "verylongword"}, {0, 22, "b"}}, 33},
        {"word break with tabs", "x\ty z", {0, 0, 45, 100}, DT_WORDBREAK | DT_EXPANDTABS,
         {{0, 0, "x"}, {40, 0, "y"}, {0, 11, "z"}}, 22},
    };
    for (const Case& c : cases) {
        Recorder rec;
        TRect r = c.rect;
        EXPECT_EQ(rec.Canvas.DrawText(c.text, r, c.format), c.result) << c.name;
        EXPECT_EQ(rec.Texts(), c.drawn) << c.name;
        EXPECT_EQ(r, c.rect) << c.name << ": drawing leaves the rectangle alone";
    }
}

TEST(CanvasDrawText, ClipsToTheRectangleUnlessAskedNotTo)
{
    Recorder rec;
    TRect r{3, 4, 40, 30};
    rec.Canvas.DrawText("clipped", r, DT_SINGLELINE);
    rec.Canvas.DrawText("free", r, DT_SINGLELINE | DT_NOCLIP);
    const auto texts = rec.Backend->OfKind("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0]->HasClip);
    EXPECT_EQ(texts[0]->ClipBox, r);
    EXPECT_FALSE(texts[1]->HasClip);
    // The canvas' own alignment, clip and text position are as before.
    rec.Canvas.SetTextAlign(TA_RIGHT | TA_UPDATECP);
    rec.Canvas.DrawText("x", r, 0);
    EXPECT_EQ(rec.Canvas.GetTextAlign(), unsigned(TA_RIGHT | TA_UPDATECP));
    TRegion clip;
    EXPECT_EQ(rec.Canvas.GetClipRgn(clip), 0);
}

TEST(CanvasDrawText, CalcRectMeasuresWithoutDrawing)
{
    struct Case {
        std::string text;
        unsigned format;
        TRect result;
        int height;
    };
    const Case cases[] = {
        {"Hello", DT_SINGLELINE, {10, 20, 35, 31}, 11},
        {"one two three", DT_WORDBREAK, {10, 20, 45, 42}, 22},
        {"a\r\nlonger", 0, {10, 20, 40, 42}, 22},
        {"abcdefghijkl", DT_SINGLELINE | DT_END_ELLIPSIS, {10, 20, 50, 31}, 11},
        {"", DT_WORDBREAK, {10, 20, 10, 20}, 0},
    };
    for (const Case& c : cases) {
        Recorder rec;
        TRect r{10, 20, 50, 100};
        EXPECT_EQ(rec.Canvas.DrawText(c.text, r, c.format | DT_CALCRECT), c.height) << c.text;
        EXPECT_EQ(r, c.result) << c.text;
        EXPECT_TRUE(rec.Texts().empty()) << c.text;
    }
}

TEST(CanvasDrawText, CentredTextInkSitsInTheMiddleOnAnImage)
{
    TBitmap b(120, 40);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Arial");
    c.Font().SetHeight(-12);
    c.Font().SetQuality(fqNonAntialiased);
    c.Brush().SetStyle(bsClear);
    TRect r{0, 0, 120, 40};
    c.DrawText("HHHH", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (b.PixelRGB(x, y) == 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2.0, 60, 2.5);
    EXPECT_NEAR((top + bottom) / 2.0, 20, 3.5);
}

TEST(CanvasEdges, RingsTakeTheirColoursPerLook)
{
    // Probes on a 20 x 20 edge: the outer ring's left, top, right and bottom lines, its top-left,
    // top-right and bottom-left corners, the inner ring's left and right lines, and the middle.
    struct Case {
        const char* name;
        unsigned edge, flags;
        TColor outerTL, outerBR, innerTL, innerBR, middle;
    };
    const TColor keep = clFuchsia;   // the canvas before drawing
    const Case cases[] = {
        {"raised", EDGE_RAISED, BF_RECT, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow, keep},
        {"raised soft", EDGE_RAISED, BF_RECT | BF_SOFT, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, keep},
        {"sunken", EDGE_SUNKEN, BF_RECT | BF_MIDDLE, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnFace},
        {"sunken soft", EDGE_SUNKEN, BF_RECT | BF_SOFT, cl3DDkShadow, clBtnHighlight, clBtnShadow, cl3DLight, keep},
        {"etched", EDGE_ETCHED, BF_RECT, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow, keep},
        {"bump", EDGE_BUMP, BF_RECT, cl3DLight, cl3DDkShadow, cl3DDkShadow, cl3DLight, keep},
        {"flat", EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE, clBtnShadow, clBtnShadow, clBtnFace, clBtnFace, clBtnFace},
        {"mono", EDGE_RAISED, BF_RECT | BF_MONO | BF_MIDDLE, clWindowFrame, clWindowFrame, clWindow, clWindow, clWindow},
        {"mono beats flat", BDR_RAISEDOUTER, BF_RECT | BF_MONO | BF_FLAT, clWindowFrame, clWindowFrame, keep, keep, keep},
        {"outer ring only", BDR_SUNKENOUTER, BF_RECT, clBtnShadow, clBtnHighlight, keep, keep, keep},
        {"inner ring only", BDR_RAISEDINNER, BF_RECT, clBtnHighlight, clBtnShadow, keep, keep, keep},
    };
    for (const Case& c : cases) {
        TBitmap b(30, 30);
        b.Canvas().Brush().SetColor(keep);
        b.Canvas().FillRect({0, 0, 30, 30});
        TRect r{5, 5, 25, 25};
        EXPECT_TRUE(b.Canvas().DrawEdge(r, c.edge, c.flags)) << c.name;
        EXPECT_EQ(r, (TRect{5, 5, 25, 25})) << c.name << ": no BF_ADJUST";
        EXPECT_EQ(At(b, 5, 15), Rgb(c.outerTL)) << c.name;
        EXPECT_EQ(At(b, 15, 5), Rgb(c.outerTL)) << c.name;
        EXPECT_EQ(At(b, 5, 5), Rgb(c.outerTL)) << c.name;
        EXPECT_EQ(At(b, 24, 15), Rgb(c.outerBR)) << c.name;
        EXPECT_EQ(At(b, 15, 24), Rgb(c.outerBR)) << c.name;
        EXPECT_EQ(At(b, 24, 5), Rgb(c.outerBR)) << c.name << ": top-right corner";
        EXPECT_EQ(At(b, 5, 24), Rgb(c.outerBR)) << c.name << ": bottom-left corner";
        const bool innerOnly = c.edge == BDR_RAISEDINNER;
        if (!innerOnly) {
            EXPECT_EQ(At(b, 6, 15), Rgb(c.innerTL)) << c.name;
            EXPECT_EQ(At(b, 23, 15), Rgb(c.innerBR)) << c.name;
        }
        EXPECT_EQ(At(b, 15, 15), Rgb(c.middle)) << c.name;
        EXPECT_EQ(At(b, 4, 4), Rgb(keep)) << c.name << ": nothing outside";
        EXPECT_EQ(At(b, 25, 25), Rgb(keep)) << c.name << ": right and bottom edges excluded";
    }
}

TEST(CanvasEdges, SidesAndAdjustment)
{
    struct Case {
        unsigned edge, flags;
        TRect adjusted;
    };
    const Case cases[] = {
        {EDGE_RAISED, BF_RECT | BF_ADJUST, {7, 7, 23, 23}},
        {BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST, {5, 5, 24, 24}},
        {EDGE_SUNKEN, BF_LEFT | BF_TOP | BF_ADJUST, {7, 7, 25, 25}},
        {BDR_SUNKENOUTER, BF_TOP | BF_ADJUST, {5, 6, 25, 25}},
    };
    for (const Case& c : cases) {
        TBitmap b(30, 30);
        TRect r{5, 5, 25, 25};
        b.Canvas().DrawEdge(r, c.edge, c.flags);
        EXPECT_EQ(r, c.adjusted) << c.flags;
        // Undrawn sides stay white.
        if (!(c.flags & BF_LEFT)) { EXPECT_EQ(At(b, 5, 15), clWhite) << c.flags; }
        if (!(c.flags & BF_RIGHT)) { EXPECT_EQ(At(b, 24, 15), clWhite) << c.flags; }
        if (c.flags & BF_RIGHT) { EXPECT_NE(At(b, 24, 15), clWhite) << c.flags; }
    }
}

TEST(CanvasEdges, FocusRectangleInvertsEveryOtherBorderPixelAndComesOffAgain)
{
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.DrawFocusRect({2, 3, 12, 9});
    int black = 0, white = 0;
    for (int x = 2; x < 12; ++x) (At(b, x, 3) == 0 ? black : white)++;
    EXPECT_EQ(black, 5);
    EXPECT_EQ(white, 5);
    EXPECT_NE(At(b, 2, 3), At(b, 3, 3)) << "neighbours alternate";
    EXPECT_NE(At(b, 11, 5), At(b, 11, 6));
    EXPECT_EQ(At(b, 5, 5), clWhite) << "the inside stays";
    EXPECT_EQ(At(b, 12, 3), clWhite) << "right edge excluded";
    c.DrawFocusRect({2, 3, 12, 9});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(At(b, x, y), clWhite) << x << "," << y;
    // The brush is the caller's again.
    EXPECT_EQ(c.Brush().Bitmap(), nullptr);
}

TEST(CanvasEdges, PushButtonFrame)
{
    struct Case {
        const char* name;
        unsigned state;
        TColor outerTL, outerBR, innerTL, innerBR;
    };
    const Case cases[] = {
        {"up", DFCS_BUTTONPUSH, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
        {"pushed", DFCS_BUTTONPUSH | DFCS_PUSHED, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight},
        {"inactive looks up", DFCS_BUTTONPUSH | DFCS_INACTIVE, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
        {"flat", DFCS_BUTTONPUSH | DFCS_FLAT, clBtnShadow, clBtnShadow, clBtnFace, clBtnFace},
        {"mono", DFCS_BUTTONPUSH | DFCS_MONO, clWindowFrame, clWindowFrame, clWindow, clWindow},
    };
    for (const Case& c : cases) {
        TBitmap b(30, 20);
        EXPECT_TRUE(b.Canvas().DrawFrameControl({0, 0, 30, 20}, DFC_BUTTON, c.state)) << c.name;
        EXPECT_EQ(At(b, 0, 10), Rgb(c.outerTL)) << c.name;
        EXPECT_EQ(At(b, 29, 10), Rgb(c.outerBR)) << c.name;
        EXPECT_EQ(At(b, 1, 10), Rgb(c.innerTL)) << c.name;
        EXPECT_EQ(At(b, 28, 10), Rgb(c.innerBR)) << c.name;
        EXPECT_EQ(At(b, 15, 10), Rgb(c.state & DFCS_MONO ? clWindow : clBtnFace)) << c.name << ": face filled";
    }
}

TEST(CanvasEdges, Frame3DSidesAndShrinking)
{
    struct Case {
        unsigned sides;
        int width;
        bool left, top, right, bottom;
    };
    const Case cases[] = {
        {BF_RECT, 1, true, true, true, true},
        {0, 2, false, false, false, false},
        {BF_LEFT | BF_TOP, 1, true, true, false, false},
        {BF_RIGHT | BF_BOTTOM, 1, false, false, true, true},
        {BF_BOTTOM, 3, false, false, false, true},
    };
    for (const Case& c : cases) {
        TBitmap b(20, 20);
        TRect r{2, 2, 18, 18};
        DrawFrame3D(b.Canvas(), r, clRed, clBlue, c.width, c.sides);
        EXPECT_EQ(r, (TRect{2 + c.width, 2 + c.width, 18 - c.width, 18 - c.width})) << c.sides << ": always shrinks";
        EXPECT_EQ(At(b, 2, 10), c.left ? clRed : clWhite) << c.sides;
        EXPECT_EQ(At(b, 10, 2), c.top ? clRed : clWhite) << c.sides;
        EXPECT_EQ(At(b, 17, 10), c.right ? clBlue : clWhite) << c.sides;
        EXPECT_EQ(At(b, 10, 17), c.bottom ? clBlue : clWhite) << c.sides;
        if (c.right) { EXPECT_EQ(At(b, 17, 2), clBlue) << "top-right corner in the bottom-right colour"; }
        if (c.bottom) { EXPECT_EQ(At(b, 2, 17), clBlue) << "bottom-left corner in the bottom-right colour"; }
        if (c.width == 3) { EXPECT_EQ(At(b, 10, 15), clBlue) << "three rings"; }
    }
    // Frame3D is the four-sided frame.
    TBitmap a(20, 20), f(20, 20);
    TRect ra{1, 1, 19, 19}, rf{1, 1, 19, 19};
    DrawFrame3D(a.Canvas(), ra, clRed, clBlue, 2, BF_RECT);
    Frame3D(f.Canvas(), rf, clRed, clBlue, 2);
    EXPECT_EQ(ra, rf);
    EXPECT_EQ(a.ToPixels().Pixels, f.ToPixels().Pixels);
}

TEST(CanvasBlit, BrushCopyLeavesOutTheKeyColour)
{
    TBitmap glyph(4, 3);
    glyph.Canvas().Brush().SetColor(clOlive);
    glyph.Canvas().FillRect({0, 0, 4, 3});
    glyph.SetPixelRGB(1, 1, clRed);
    glyph.SetPixelRGB(2, 1, clBlack);
    TBitmap target(10, 10);
    target.Canvas().Brush().SetColor(clBtnFace);
    target.Canvas().FillRect({0, 0, 10, 10});
    target.Canvas().BrushCopy({3, 3, 7, 6}, glyph, {0, 0, 4, 3}, clOlive);
    EXPECT_EQ(At(target, 4, 4), clRed);
    EXPECT_EQ(At(target, 5, 4), clBlack);
    EXPECT_EQ(At(target, 3, 3), Rgb(clBtnFace)) << "olive pixels keep the face";
    EXPECT_EQ(At(target, 6, 5), Rgb(clBtnFace));
    // A source rectangle one pixel short, as the colour button copies its arrow.
    TBitmap second(10, 10);
    second.Canvas().BrushCopy({0, 0, 3, 2}, glyph, {0, 0, 3, 2}, clOlive);
    EXPECT_EQ(At(second, 1, 1), clRed);
    EXPECT_EQ(At(second, 2, 1), clBlack);
    EXPECT_EQ(At(second, 3, 1), clWhite);
    // A system colour as key is resolved first.
    TBitmap faced(2, 1);
    faced.SetPixelRGB(0, 0, Rgb(clBtnFace));
    faced.SetPixelRGB(1, 0, clBlue);
    TBitmap third(2, 1);
    third.Canvas().BrushCopy({0, 0, 2, 1}, faced, {0, 0, 2, 1}, clBtnFace);
    EXPECT_EQ(At(third, 0, 0), clWhite);
    EXPECT_EQ(At(third, 1, 0), clBlue);
}
