// The picture button: the application's frame style probed ring by ring in every state, the outer rings
// of all 19 styles, the glyph count from picture sizes, layouts, captions, the popup look, glyph state
// images in the shared lists, and sounds.
#include "ui/uibtn.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Face = 0xC0C0C0, White = 0xFFFFFF, Black = 0, Shadow = 0x808080, Light = 0xDFDFDF, Grey = 0xDEDEDE;

// The colours of the rings 0..3 on the left side (x = ring) and the right side (x = W - 1 - ring) of a
// face drawn on a 40 x 20 bitmap.
struct Rings {
    TColor Left[4], Right[4];
};

Rings Probe(TuiButtonStyle style, bool down, bool hot, bool active = false, bool popup = false)
{
    TBitmap b(40, 20);
    TRect r{0, 0, 40, 20};
    DrawButtonFace(b.Canvas(), r, style, true, clBtnFace, active, down, hot, popup);
    Rings out{};
    for (int i = 0; i < 4; ++i) {
        out.Left[i] = b.PixelRGB(i, 10);
        out.Right[i] = b.PixelRGB(39 - i, 10);
    }
    return out;
}

} // namespace

TEST(uiPicBtn, RecessedBlackHighlightRingByRing)
{
    struct Case {
        const char* state;
        bool down, hot;
        std::vector<TColor> left, right;   // rings from the outside in
    };
    const Case cases[] = {
        {"idle", false, false, {Black, Face, White, Face}, {White, Face, Black, Face}},
        {"hot", false, true, {Black, Face, White, Grey}, {White, Face, Black, Shadow}},
        {"pressed", true, false, {Black, Black, Face, Face}, {White, White, Face, Face}},
        {"pressed while hot", true, true, {Black, Black, Face, Face}, {White, White, Face, Face}},
    };
    for (const Case& c : cases) {
        const Rings r = Probe(absRecessedBlackHighlight, c.down, c.hot);
        for (std::size_t i = 0; i < c.left.size(); ++i) {
            EXPECT_EQ(r.Left[i], c.left[i]) << c.state << " ring " << i << " left";
            EXPECT_EQ(r.Right[i], c.right[i]) << c.state << " ring " << i << " right";
        }
    }
}

TEST(uiPicBtn, TheApplicationsButtonOnTheScreen)
{
    THost host;
    TuiPicBtn b(nullptr);
    host.Put(b, 10, 10, 75, 25);
    b.SetStyle(absRecessedBlackHighlight);
    b.SetCaption("Apply");
    b.Font().SetName("Arial");
    b.Font().SetHeight(-13);
    b.Font().SetQuality(fqNonAntialiased);
    host.Show();
    const auto shot = [&] { return b.Widget()->grab().toImage(); };
    const auto at = [](const QImage& i, int x, int y) { return static_cast<TColor>(RGB(qRed(i.pixel(x, y)), qGreen(i.pixel(x, y)), qBlue(i.pixel(x, y)))); };
    QImage idle = shot();
    EXPECT_EQ(at(idle, 0, 12), Black);
    EXPECT_EQ(at(idle, 1, 12), Face);
    EXPECT_EQ(at(idle, 2, 12), White);
    EXPECT_EQ(at(idle, 3, 12), Face);
    // The mouse comes in: the highlight frame shows.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(b.Widget(), &enter);
    EXPECT_TRUE(b.MouseInside());
    QImage hot = shot();
    EXPECT_EQ(at(hot, 3, 12), Grey);
    EXPECT_EQ(at(hot, 71, 12), Shadow);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b.Widget(), &leave);
    EXPECT_EQ(at(shot(), 3, 12), Face);
    // Disabled: the idle frame and the caption once in the shadow colour.
    b.SetEnabled(false);
    QImage disabled = shot();
    EXPECT_EQ(at(disabled, 0, 12), Black);
    EXPECT_EQ(at(disabled, 2, 12), White);
    int shadowInk = 0, blackInk = 0, whiteInk = 0;
    for (int y = 4; y < 21; ++y)
        for (int x = 5; x < 70; ++x) {
            shadowInk += at(disabled, x, y) == Shadow;
            blackInk += at(disabled, x, y) == Black;
            whiteInk += at(disabled, x, y) == White;
        }
    EXPECT_GT(shadowInk, 10);
    EXPECT_EQ(blackInk, 0);
    EXPECT_EQ(whiteInk, 0) << "no embossed shadow without DisabledShadow";
    b.SetDisabledShadow(true);
    disabled = shot();
    whiteInk = 0;
    for (int y = 4; y < 21; ++y)
        for (int x = 5; x < 70; ++x) whiteInk += at(disabled, x, y) == White;
    EXPECT_GT(whiteInk, 10);
}

TEST(uiPicBtn, OuterRingsOfAllStyles)
{
    // Idle, hot and down (not the active button): outer ring left and right, and the second ring's left.
    struct State {
        TColor left, right, second;
    };
    struct Case {
        TuiButtonStyle style;
        State idle, hot, down;
    };
    const Case cases[] = {
        {absAutoDetect, {White, Black, Face}, {White, Black, Face}, {Shadow, White, Shadow}},
        {absNew, {White, Black, Face}, {White, Black, Face}, {Shadow, White, Shadow}},
        {absWin31, {Black, Black, White}, {Black, Black, White}, {Black, Black, Shadow}},
        {absThin, {White, Shadow, Face}, {White, Shadow, Face}, {Shadow, White, Face}},
        {absThinBlack, {White, Black, Face}, {White, Black, Face}, {Black, White, Face}},
        {absThinGray, {Grey, Shadow, Face}, {Grey, Shadow, Face}, {Shadow, Grey, Face}},
        {absThinHighlight, {White, Shadow, Face}, {White, Black, Face}, {Black, White, Face}},
        {absMidHighlight, {White, Shadow, Face}, {White, Black, Grey}, {Black, White, Shadow}},
        {absThickHighlight, {White, Shadow, Face}, {White, Black, Grey}, {Black, White, Shadow}},
        {absFramed, {Shadow, White, White}, {Shadow, White, White}, {Shadow, White, Shadow}},
        {absFramedBlack, {Black, White, White}, {Black, White, White}, {Black, White, Black}},
        {absFramedRaised, {Black, White, White}, {Black, White, White}, {Shadow, White, Shadow}},
        {absFramedHighlight, {Shadow, White, White}, {Shadow, White, White}, {Shadow, White, Shadow}},
        {absFramedBlackHighlight, {Black, White, White}, {Black, White, White}, {Black, White, Black}},
        {absRecessed, {Shadow, White, Face}, {Shadow, White, Face}, {Shadow, White, Shadow}},
        {absRecessedBlack, {Black, White, Face}, {Black, White, Face}, {Black, White, Black}},
        {absRecessedRaised, {Black, White, Face}, {Black, White, Face}, {Shadow, White, Shadow}},
        {absRecessedHighlight, {Shadow, White, Face}, {Shadow, White, Face}, {Shadow, White, Shadow}},
        {absRecessedBlackHighlight, {Black, White, Face}, {Black, White, Face}, {Black, White, Black}},
    };
    ASSERT_EQ(std::size(cases), 19u);
    for (const Case& c : cases) {
        const struct {
            const char* name;
            bool down, hot;
            State expected;
        } states[] = {{"idle", false, false, c.idle}, {"hot", false, true, c.hot}, {"down", true, false, c.down}};
        for (const auto& s : states) {
            const Rings r = Probe(c.style, s.down, s.hot);
            EXPECT_EQ(r.Left[0], s.expected.left) << uiButtonStyleNames.NameOf(c.style) << " " << s.name;
            EXPECT_EQ(r.Right[0], s.expected.right) << uiButtonStyleNames.NameOf(c.style) << " " << s.name;
            EXPECT_EQ(r.Left[1], s.expected.second) << uiButtonStyleNames.NameOf(c.style) << " " << s.name;
        }
    }
    // The active new-style button gets a black rectangle first; the old style's corners take the face.
    EXPECT_EQ(Probe(absNew, false, false, true).Left[0], Black);
    EXPECT_EQ(Probe(absNew, true, false, true).Left[1], Shadow);
    TBitmap b(40, 20);
    TRect r{0, 0, 40, 20};
    DrawButtonFace(b.Canvas(), r, absWin31, true, clBtnFace, false, false, false, false);
    EXPECT_EQ(b.PixelRGB(0, 0), Face);
    EXPECT_EQ(b.PixelRGB(1, 0), Black);
    // A popup button shows only its face until it is hot, down or active.
    EXPECT_EQ(Probe(absThin, false, false, false, true).Left[0], Face);
    EXPECT_EQ(Probe(absThinHighlight, false, true, false, true).Left[0], White);
}

TEST(uiPicBtn, GlyphCountFromThePictureAndRanges)
{
    struct Case {
        int w, h, glyphs;
    };
    for (const Case c : {Case{64, 16, 4}, Case{40, 16, 1}, Case{16, 16, 1}, Case{80, 16, 5}, Case{96, 16, 1}, Case{32, 16, 2}}) {
        TBitmap bmp(c.w, c.h);
        TPicture pic;
        pic.SetGraphic(&bmp);
        TuiPicBtn b(nullptr);
        b.SetPicture(pic);
        EXPECT_EQ(b.NumGlyphs(), c.glyphs) << c.w << "x" << c.h;
        EXPECT_EQ(b.Glyph().GlyphSize().cx, c.w / c.glyphs);
    }
    TuiPicBtn b(nullptr);
    b.SetNumGlyphs(7);
    EXPECT_EQ(b.NumGlyphs(), 5);
    b.SetMargin(-2);
    EXPECT_EQ(b.Margin(), -1);
    b.SetMargin(3);
    EXPECT_EQ(b.Margin(), 3);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_EQ(b.Glyph().TransparentColor(), 0xFF00FF) << "without a picture";
}

TEST(uiPicBtn, LayoutOfGlyphAndText)
{
    // A client rectangle of 100 x 40 at (1, 1), a 16 x 16 glyph and a 30 x 12 text.
    const TRect client{1, 1, 101, 41};
    struct Case {
        const char* name;
        TuiButtonLayout layout;
        int margin, spacing;
        TSize glyph, text;
        TPoint glyphAt;
        TPoint textAt;
    };
    const Case cases[] = {
        {"left, centred block", ablGlyphLeft, -1, 4, {16, 16}, {30, 12}, {1 + 25, 1 + 12}, {1 + 45, 1 + 14}},
        {"left, margin and spacing given", ablGlyphLeft, 5, 2, {16, 16}, {30, 12}, {6, 13}, {24, 15}},
        {"left, both spread", ablGlyphLeft, -1, -1, {16, 16}, {30, 12}, {1 + 18, 13}, {1 + 18 + 16 + 18, 15}},
        {"left, spacing spread", ablGlyphLeft, 10, -1, {16, 16}, {30, 12}, {11, 13}, {11 + 16 + 22, 15}},
        {"right", ablGlyphRight, 5, 4, {16, 16}, {30, 12}, {1 + 100 - 5 - 16, 13}, {1 + 100 - 5 - 16 - 4 - 30, 15}},
        {"top", ablGlyphTop, -1, 4, {16, 16}, {30, 12}, {1 + 42, 1 + 4}, {1 + 35, 1 + 24}},
        {"bottom", ablGlyphBottom, 2, 4, {16, 16}, {30, 12}, {43, 1 + 40 - 2 - 16}, {36, 1 + 40 - 2 - 16 - 4 - 12}},
        {"centre", ablGlyphCenter, -1, 4, {16, 16}, {30, 12}, {43, 13}, {36, 15}},
        {"tiled", ablGlyphTiled, -1, 4, {16, 16}, {30, 12}, {1, 1}, {36, 15}},
        {"text only: no spacing", ablGlyphLeft, -1, 4, {0, 0}, {30, 12}, {1 + 35, 21}, {1 + 35, 15}},
        {"glyph only", ablGlyphLeft, -1, 4, {16, 16}, {0, 0}, {1 + 42, 13}, {1 + 58, 21}},
    };
    for (const Case& c : cases) {
        const TuiGlyphLayout l = CalcGlyphLayout(client, c.glyph, c.text, c.layout, c.margin, c.spacing);
        EXPECT_EQ(l.GlyphPos, c.glyphAt) << c.name;
        EXPECT_EQ(l.TextRect.TopLeft(), c.textAt) << c.name;
        EXPECT_EQ(l.TextRect.Width(), c.text.cx) << c.name;
    }
}

TEST(uiPicBtn, GlyphStateImagesInSharedLists)
{
    // Two sub-images: up (red square) and disabled, on an olive key colour.
    TBitmap bmp(32, 16);
    bmp.Canvas().Brush().SetColor(clOlive);
    bmp.Canvas().FillRect({0, 0, 32, 16});
    bmp.Canvas().Brush().SetColor(clRed);
    bmp.Canvas().FillRect({4, 4, 12, 12});
    bmp.Canvas().Brush().SetColor(clWhite);
    bmp.Canvas().FillRect({20, 4, 28, 12});
    TPicture pic;
    pic.SetGraphic(&bmp);
    const int listsBefore = GlyphCache().ListCount();
    {
        TuiButtonGlyph a, b;
        a.SetPicture(pic);
        b.SetPicture(pic);
        EXPECT_EQ(a.NumGlyphs(), 2);
        EXPECT_EQ(a.TransparentColor(), clOlive) << "the bitmap's bottom-left pixel";
        const TBitmap& up = a.StateImage(gsUp);
        EXPECT_EQ(up.PixelRGB(0, 0), Face) << "composed on the face";
        EXPECT_EQ(up.PixelRGB(5, 5), clRed);
        const TBitmap& disabled = a.StateImage(gsDisabled);
        EXPECT_EQ(disabled.PixelRGB(5, 5), ColorToRGB(clBtnHighlight)) << "its own disabled image: white is highlight";
        EXPECT_EQ(&a.StateImage(gsHot), &a.StateImage(gsHot)) << "built once";
        b.StateImage(gsUp);
        EXPECT_EQ(GlyphCache().ListCount(), listsBefore + 1) << "one list per size, shared";
        EXPECT_EQ(GlyphCache().List(16, 16).Used(), 4);
        // One sub-image: the disabled image is embossed from the shape.
        TuiButtonGlyph c;
        TBitmap single(16, 16);
        single.Canvas().Brush().SetColor(clOlive);
        single.Canvas().FillRect({0, 0, 16, 16});
        single.Canvas().Brush().SetColor(clBlue);
        single.Canvas().FillRect({4, 4, 8, 8});
        TPicture one;
        one.SetGraphic(&single);
        c.SetPicture(one);
        const TBitmap& embossed = c.StateImage(gsDisabled);
        EXPECT_EQ(embossed.PixelRGB(4, 4), ColorToRGB(clBtnShadow));
        EXPECT_EQ(embossed.PixelRGB(8, 8), ColorToRGB(clBtnHighlight)) << "shifted by (1, 1)";
        EXPECT_EQ(embossed.PixelRGB(1, 1), Face);
        c.SetHighlight(aghGray);
        EXPECT_EQ(c.StateImage(gsUp).PixelRGB(5, 5), 0) << "blue has no red: black in grey";
    }
    EXPECT_EQ(GlyphCache().ListCount(), listsBefore) << "the lists go with the last glyph";

    TuiGlyphList list(16, 16);
    TBitmap small(8, 8), fits(16, 16);
    const int s0 = list.Add(fits), s1 = list.Add(fits);
    list.Delete(s0);
    EXPECT_EQ(list.Add(fits), s0) << "the lowest free slot first";
    EXPECT_EQ(s1, 1);
    try {
        list.Replace(s1, small);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Invalid image size");
    }
    list.Delete(s1);
    try {
        list.Replace(s1, fits);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Unable to Replace Image");
    }
}

TEST(uiPicBtn, SoundsOnEnterAndPress)
{
    THost host;
    TuiPicBtn b(nullptr);
    host.Put(b, 10, 10, 75, 25);
    host.Show();
    auto* sounds = new TuiCustomWaveList(nullptr);
    b.SetSoundList(sounds);
    b.SetSoundOver(2);
    b.SetSoundDown(5);
    int entered = 0;
    b.OnMouseEnter = [&](TPersistent*) { ++entered; };
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(b.Widget(), &enter);
    EXPECT_EQ(sounds->CurrentIndex(), 2);
    EXPECT_EQ(entered, 1);
    SendMouse(b.Widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(sounds->CurrentIndex(), 5);
    SendMouse(b.Widget(), QEvent::MouseButtonRelease, QPoint(5, 5));
    // The list going away clears the button's reference.
    sounds->Free();
    EXPECT_EQ(b.SoundList(), nullptr);
    // A wave without data plays nothing; a new mode is kept.
    TuiCustomWave wave(nullptr);
    EXPECT_FALSE(wave.Play());
    wave.SetData({1, 2, 3});
    EXPECT_TRUE(wave.Play());
    wave.SetMode(wmLoop);
    EXPECT_EQ(wave.Mode(), wmLoop);
}
