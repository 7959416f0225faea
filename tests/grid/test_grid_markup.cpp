// The mini-markup engine on a recording canvas with fixed metrics (characters 5 pixels wide, lines 11
// high) and on bitmaps: run widths and styles, entities and prefixes, colour forms, FONT not nesting,
// wrapping and the ellipsis, list bullets, the cut at the bottom, anchors hit-tested, inline pictures
// and embedded controls with their sizes and hits, control values rewritten; the GIF picture's frames,
// kept on their logical screen; the picture container and cache, and the files a picture's address may name.
#include "GridHosts.h"

#include "grid/EsgHTMLE.h"
#include "grid/ExtGridHint.h"
#include "platform/controls/Screen.h"
#include "grid/PictureContainer.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/StrUtils.h"
#include "tests/platform/graphics/GifBytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace gridtest;

namespace {

struct Recorder {
    std::shared_ptr<TRecordingBackend> Backend = std::make_shared<TRecordingBackend>(2000, 2000);
    TCanvas Canvas{Backend};

    THTMLResult Paint(const std::string& text, TRect r = {0, 0, 1000, 1000}, THTMLPaintParams p = {})
    {
        Backend->Clear();
        THTMLResult res;
        LastHit = PaintHTMLText(Canvas, text, r, p, res);
        return res;
    }
    // The texts drawn, in order.
    std::vector<const TTextCommand*> Texts() const
    {
        std::vector<const TTextCommand*> out;
        for (const auto* r : Backend->OfKind("TextOut"))
            if (!r->TextCmd.Chars.empty()) out.push_back(&r->TextCmd);
        return out;
    }
    std::string Joined() const
    {
        std::string s;
        for (const auto* t : Texts()) s += (s.empty() ? "" : "|") + t->Text;
        return s;
    }
    bool LastHit = false;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string Gif = std::string(VSP_TEST_DATA) + "/grid/three_frames.gif";

} // namespace

TEST(Markup, RunsStylesAndWidths)
{
    Recorder r;
    const THTMLResult res = r.Paint("a<B>b</B>c");
    ASSERT_EQ(r.Joined(), "a|b|c");
    const auto t = r.Texts();
    EXPECT_EQ(t[0]->Font.Weight, 400);
    EXPECT_EQ(t[1]->Font.Weight, 700);
    EXPECT_EQ(t[2]->Font.Weight, 400);
    EXPECT_EQ(t[0]->Origin.y, t[2]->Origin.y);   // one line
    EXPECT_EQ(res.XSize, 15);
    EXPECT_EQ(res.YSize, 11);
    // An empty text: no width, one line's height, nothing drawn.
    const THTMLResult empty = r.Paint("");
    EXPECT_EQ((std::pair{empty.XSize, empty.YSize}), (std::pair{0, 11}));
    EXPECT_TRUE(r.Texts().empty());
    // Italic, underline, strike-out and their ends.
    r.Paint("<I>i</I><U>u</U><S>s</S>x");
    const auto s = r.Texts();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_TRUE(s[0]->Font.Italic);
    EXPECT_TRUE(s[1]->Font.Underline);
    EXPECT_TRUE(s[2]->Font.StrikeOut);
    EXPECT_FALSE(s[3]->Font.Italic || s[3]->Font.Underline || s[3]->Font.StrikeOut);
}

TEST(Markup, EntitiesAndPrefixes)
{
    Recorder r;
    r.Paint("a&amp;b");
    EXPECT_EQ(r.Joined(), "a&b");
    r.Paint("&x");
    ASSERT_EQ(r.Texts().size(), 1u);
    EXPECT_EQ(r.Texts()[0]->Text, "x");
    EXPECT_FALSE(r.Backend->OfKind("Polyline").empty() && r.Backend->OfKind("LineTo").empty() &&
                 r.Backend->OfKind("FillRect").empty() && r.Backend->OfKind("Rectangle").empty());   // the underline
    r.Paint("&lt;b&gt; &quot;&copy;&euro;&TRADE;");
    std::string all;
    for (const auto* t : r.Texts()) all += t->Text;
    EXPECT_EQ(all, "<b> \"\xA9\x80\x99");
    // A "<" with one character at the end goes; without a ">" the rest goes.
    r.Paint("ab<c");
    EXPECT_EQ(r.Joined(), "ab");
}

TEST(Markup, ColourFormsAndFontSizes)
{
    Recorder r;
    for (const char* tag : {"<FONT COLOR=\"clred\">x</FONT>", "<FONT COLOR=\"#FF0000\">x</FONT>", "<font color=\"#ff0000\">x</font>"}) {
        r.Paint(tag);
        ASSERT_EQ(r.Texts().size(), 1u) << tag;
        EXPECT_EQ(r.Texts()[0]->Color, 0x0000FFu) << tag;
    }
    EXPECT_EQ(HTMLColor("#00FF80"), 0x80FF00u);
    EXPECT_EQ(HTMLColor("clBtnFace"), static_cast<TColor>(0xFF00000Fu));
    EXPECT_EQ(HTMLColor("nonsense"), 0u);
    // FONT does not nest: the closing tag restores the base size.
    r.Paint("<FONT SIZE=\"5\">a<FONT SIZE=\"1\">b</FONT>c");
    const auto t = r.Texts();
    ASSERT_EQ(t.size(), 3u);
    const int base = r.Canvas.Font().Height() < 0 ? -r.Canvas.Font().Height() : r.Canvas.Font().Height();
    EXPECT_GT(t[0]->Font.PixelHeight, t[1]->Font.PixelHeight);
    EXPECT_EQ(t[2]->Font.PixelHeight, base == 0 ? t[2]->Font.PixelHeight : t[2]->Font.PixelHeight);
    EXPECT_NE(t[2]->Font.PixelHeight, t[0]->Font.PixelHeight);
    r.Paint("c");
    EXPECT_EQ(r.Texts()[0]->Font.PixelHeight, t[2]->Font.PixelHeight);
}

TEST(Markup, WrappingAndTheEllipsis)
{
    Recorder r;
    THTMLPaintParams wrap;
    // "aaa bbb ccc" is 55 pixels; a rectangle of 42 takes "aaa bbb " on the first line.
    THTMLResult res = r.Paint("aaa bbb ccc", {0, 0, 42, 1000}, wrap);
    auto t = r.Texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0]->Origin.y, t[1]->Origin.y);
    EXPECT_EQ(t[2]->Origin.y, t[0]->Origin.y + 11);
    EXPECT_EQ(res.YSize, 22);
    // One word wider than the rectangle stays on its line and overflows.
    res = r.Paint("abcdefghijkl", {0, 0, 20, 1000}, wrap);
    EXPECT_EQ(r.Texts().size(), 1u);
    EXPECT_EQ(res.YSize, 11);
    EXPECT_EQ(res.XSize, 60);
    // Without wrapping: each line cut with an ellipsis, the rest after an overflow dropped.
    THTMLPaintParams single;
    single.WordWrap = false;
    r.Paint("aaaa<BR>bbbb", {0, 0, 16, 1000}, single);
    t = r.Texts();
    ASSERT_EQ(t.size(), 2u) << r.Joined();
    EXPECT_NE(t[0]->Text.find("..."), std::string::npos);
    EXPECT_GT(t[1]->Origin.y, t[0]->Origin.y);
    r.Paint("aa<B>aa</B>aa", {0, 0, 16, 1000}, single);
    EXPECT_EQ(r.Texts().size(), 2u) << r.Joined();
}

TEST(Markup, WrapBreaksAfterTagsButNeverInsideAWord)
{
    // The line's visible text, tags aside, decides where a line may break; a rectangle of 200 pixels
    // holds 40 characters.
    struct Case {
        const char* Piece;
        int Times, Width;
        bool Wraps;
    } cases[] = {
        {"ab ", 100, 200, true},
        {"<B>ab</B> ", 100, 200, true},
        {"<B>ab </B>", 100, 200, true},
        {"ab <B>c</B>", 100, 200, true},
        {"a<B>b</B>", 1, 6, false},
    };
    Recorder r;
    for (const Case& c : cases) {
        std::string text;
        for (int k = 0; k < c.Times; ++k) text += c.Piece;
        const THTMLResult res = r.Paint(text, {0, 0, c.Width, 100000});
        const auto runs = r.Texts();
        if (!c.Wraps) {
            EXPECT_EQ(res.YSize, 11) << text;
            EXPECT_EQ(runs.size(), 2u) << text;
            continue;
        }
        EXPECT_GT(res.YSize, 11) << c.Piece;
        EXPECT_LE(res.XSize, c.Width) << c.Piece;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            // What shows of each run lies inside (a trailing blank may pass the edge).
            const int blank = !runs[i]->Text.empty() && runs[i]->Text.back() == ' ' ? 5 : 0;
            EXPECT_LE(runs[i]->Origin.x + runs[i]->Width - blank, c.Width) << c.Piece << " run " << i;
            // "c" and the "ab " after it are one word: never split between lines.
            if (runs[i]->Text == "c" && i + 1 < runs.size()) {
                EXPECT_EQ(runs[i + 1]->Origin.y, runs[i]->Origin.y) << "run " << i;
            }
        }
    }
}

TEST(Markup, ListsTakeLinesWithBullets)
{
    Recorder r;
    const THTMLResult res = r.Paint("<UL><LI>one<LI>two</UL>");
    EXPECT_EQ(res.YSize, 33);   // an empty line, then "one" and "two"
    std::vector<const TTextCommand*> bullets, words;
    for (const auto* t : r.Texts()) (t->Font.Name == "Symbol" ? bullets : words).push_back(t);
    ASSERT_EQ(bullets.size(), 2u);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(bullets[0]->Text, std::string(1, static_cast<char>(183)));
    EXPECT_EQ(bullets[0]->Origin.x, 1);
    EXPECT_EQ(words[0]->Origin.x, 1 + 12);
    EXPECT_EQ(words[1]->Origin.y, words[0]->Origin.y + 11);
    r.Paint("<UL><UL><LI>deep</UL></UL>");
    for (const auto* t : r.Texts())
        if (t->Font.Name == "Symbol") {
            EXPECT_EQ(t->Text, "o");
            EXPECT_EQ(t->Origin.x, 1 + 12);
        }
}

TEST(Markup, TheBottomCutsTheTextButNotAMeasure)
{
    Recorder r;
    const std::string text = "1<BR>2<BR>3<BR>4<BR>5";
    THTMLResult res = r.Paint(text, {0, 0, 100, 30});
    // After line 2 the next top (22) + 11 passes 30: line 2 is the last.
    EXPECT_EQ(r.Joined(), "1|2");
    EXPECT_EQ(res.YSize, 22);
    THTMLPaintParams measure;
    measure.MeasureOnly = true;
    res = r.Paint(text, {0, 0, 100, 30}, measure);
    EXPECT_EQ(res.YSize, 55);
    EXPECT_TRUE(r.Texts().empty());
    EXPECT_FALSE(r.LastHit);
}

TEST(Markup, AnchorsAreHitTested)
{
    Recorder r;
    THTMLPaintParams p;
    p.HitTestOnly = true;
    // "see " is 20 pixels from x = 1; "link" covers 21..41.
    p.XPos = 30;
    p.YPos = 5;
    THTMLResult res = r.Paint("see <A HREF=\"x\">link</A> or <A HREF=\"y\">more</A>", {0, 0, 1000, 100}, p);
    EXPECT_TRUE(r.LastHit);
    EXPECT_EQ(res.AnchorVal, "x");
    EXPECT_EQ(res.MouseLink, 1);
    p.XPos = 10;
    res = r.Paint("see <A HREF=\"x\">link</A> or <A HREF=\"y\">more</A>", {0, 0, 1000, 100}, p);
    EXPECT_FALSE(r.LastHit);
    EXPECT_EQ(res.AnchorVal, "");
    EXPECT_EQ(res.MouseLink, -1);
    p.XPos = 1 + 20 + 20 + 20 + 5;   // inside "more"
    res = r.Paint("see <A HREF=\"x\">link</A> or <A HREF=\"y\">more</A>", {0, 0, 1000, 100}, p);
    EXPECT_EQ(res.AnchorVal, "y");
    EXPECT_EQ(res.MouseLink, 2);
    // Drawn anchors are underlined in the link colour.
    THTMLPaintParams draw;
    draw.URLColor = 0x00AA00;
    r.Paint("<A HREF=\"x\">link</A>", {0, 0, 1000, 100}, draw);
    ASSERT_EQ(r.Texts().size(), 1u);
    EXPECT_TRUE(r.Texts()[0]->Font.Underline);
    EXPECT_EQ(r.Texts()[0]->Color, 0x00AA00u);
}

TEST(Markup, InlineImagesTakeRoomAndAlign)
{
    Recorder r;
    TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip(32, 16);
    images.Add(strip);
    THTMLPaintParams p;
    p.Images = &images;
    THTMLResult res = r.Paint("ab<IMG SRC=\"IDX:1\">cd", {0, 0, 1000, 100}, p);
    EXPECT_EQ(res.XSize, 10 + 16 + 10);
    EXPECT_EQ(res.YSize, 16);
    auto t = r.Texts();
    ASSERT_EQ(t.size(), 2u);
    // The text sits on the line's bottom, level with the picture's bottom.
    const double bottomBase = t[0]->Origin.y;
    res = r.Paint("ab<IMG SRC=\"IDX:1\" ALIGN=\"TOP\">cd", {0, 0, 1000, 100}, p);
    EXPECT_LT(r.Texts()[1]->Origin.y, bottomBase);
    const double top = r.Texts()[1]->Origin.y;
    res = r.Paint("ab<IMG SRC=\"IDX:1\" ALIGN=\"MIDDLE\">cd", {0, 0, 1000, 100}, p);
    EXPECT_LT(r.Texts()[1]->Origin.y, bottomBase);
    EXPECT_GT(r.Texts()[1]->Origin.y, top);
    // An index outside the list takes no room.
    res = r.Paint("ab<IMG SRC=\"IDX:5\">cd", {0, 0, 1000, 100}, p);
    EXPECT_EQ(res.XSize, 20);
    // A picture wider than what remains moves to the next line; one wider than the line stays.
    res = r.Paint("abcd<IMG SRC=\"IDX:0\">", {0, 0, 30, 100}, p);
    EXPECT_EQ(res.YSize, 11 + 16);
    res = r.Paint("<IMG SRC=\"IDX:0\">", {0, 0, 10, 100}, p);
    EXPECT_EQ(res.YSize, 16);
}

TEST(Markup, EmbeddedControlsSizesHitsAndValues)
{
    Recorder r;
    THTMLPaintParams p;
    p.HitTestOnly = true;
    const std::string text = "x<CONTROL TYPE=\"BUTTON\" WIDTH=\"40\" ID=\"b1\" VALUE=\"Go\">y";
    THTMLResult res = r.Paint(text, {0, 0, 1000, 100}, p);
    EXPECT_EQ(res.XSize, 5 + 40 + 5);
    EXPECT_EQ(res.YSize, 24);
    p.XPos = 1 + 5 + 20;
    p.YPos = 10;
    res = r.Paint(text, {0, 0, 1000, 100}, p);
    EXPECT_TRUE(r.LastHit);
    EXPECT_EQ(res.AnchorVal, "ctrl");
    EXPECT_EQ(res.ControlType, "BUTTON");
    EXPECT_EQ(res.ControlID, "b1");
    EXPECT_EQ(res.ControlValue, "Go");
    EXPECT_EQ(res.ControlRect, (TRect{6, 0, 46, 24}));
    // Sizes by type.
    struct Case {
        const char* tag;
        int w, h;
    } cases[] = {{"<CONTROL TYPE=\"EDIT\" WIDTH=\"50\">", 50, 11 + 6}, {"<CONTROL TYPE=\"COMBO\" WIDTH=\"60\">", 60, 25},
                 {"<CONTROL TYPE=\"CHECK\">", 16, 16}, {"<CONTROL TYPE=\"RADIO\">", 16, 16}};
    THTMLPaintParams m;
    m.MeasureOnly = true;
    for (const Case& c : cases) {
        res = r.Paint(c.tag, {0, 0, 1000, 100}, m);
        EXPECT_EQ((std::pair{res.XSize, res.YSize}), (std::pair{c.w, std::max(11, c.h)})) << c.tag;
    }
    // Check boxes: "true" in any case is checked.
    auto ink = [](const std::string& value) {
        TBitmap b(40, 30);
        b.Canvas().Brush().SetColor(clWhite);
        b.Canvas().FillRect({0, 0, 40, 30});
        THTMLResult res;
        PaintHTMLText(b.Canvas(), "<CONTROL TYPE=\"CHECK\" VALUE=\"" + value + "\">", {0, 0, 40, 30}, {}, res);
        int dark = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) dark += (b.PixelRGB(x, y) & 0xFF) < 0x40;
        return dark;
    };
    EXPECT_GT(ink("true"), ink("yes"));
    EXPECT_EQ(ink("TRUE"), ink("true"));
    // Values written back into the tag with the matching ID only.
    std::string two = "a<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\" WIDTH=\"30\">b<CONTROL ID=\"e2\" TYPE=\"check\" VALUE=\"FALSE\">c";
    EXPECT_TRUE(SetHTMLControlValue(two, "e2", "<TRUE>"));
    EXPECT_EQ(two, "a<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\" WIDTH=\"30\">b<CONTROL ID=\"e2\" VALUE=\"&lt;TRUE&gt;\" WIDTH=\"\" TYPE=\"CHECK\">c");
    const std::string before = two;
    EXPECT_FALSE(SetHTMLControlValue(two, "E1", "x"));
    EXPECT_EQ(two, before);
    std::string type, width, id, value;
    ParseControlTag(" ID=\"e2\" VALUE=\"&lt;TRUE&gt;\" WIDTH=\"\" TYPE=\"CHECK\"", type, width, id, value);
    EXPECT_EQ(value, "<TRUE>");
}

TEST(Markup, GifFramesAndTheirOffsets)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(Gif);
    ASSERT_FALSE(bytes.empty()) << Gif;
    THTMLPicture pic;
    pic.LoadFromBytes(bytes.data(), bytes.size());
    EXPECT_TRUE(pic.HasGIFSignature());
    EXPECT_EQ(pic.CountFrames(), 3);
    EXPECT_EQ((std::pair{pic.FullWidth(), pic.FullHeight()}), (std::pair{30, 20}));
    EXPECT_EQ((std::pair{pic.Width(), pic.Height()}), (std::pair{10, 10}));
    int changes = 0;
    pic.OnFrameChange = [&](THTMLPicture*) { ++changes; };
    pic.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ((std::pair{pic.Width(), pic.Height()}), (std::pair{8, 6}));
    EXPECT_EQ((std::pair{pic.FrameLeft(), pic.FrameTop()}), (std::pair{12, 7}));
    // Drawn by the markup at its offset inside the full size, which is cleared first.
    TPictureContainer container(nullptr);
    TPictureItem& item = container.AddPicture("Anim");
    item.SetPicture(pic);
    item.Picture().SetFrame(2);
    EXPECT_EQ(container.PictureByName("ANIM"), &item.Picture());
    EXPECT_EQ(container.PictureByName("Anim"), nullptr);
    TBitmap b(60, 40);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect({0, 0, 60, 40});
    THTMLPaintParams p;
    p.PictureContainer = &container;
    THTMLResult res;
    PaintHTMLText(b.Canvas(), "<IMG SRC=\"anim\">", {0, 0, 60, 40}, p, res);
    EXPECT_EQ(res.XSize, 30);
    EXPECT_EQ(b.PixelRGB(1 + 12 + 4, 7 + 3), 0x00FF00u);
    EXPECT_EQ(b.PixelRGB(1 + 5, 5), 0xFFFFFFu);   // frame 1's red is not drawn
    // A picture that is no GIF has no frames and its own size as full size.
    TBitmap bmp(7, 3);
    std::vector<std::uint8_t> bmpBytes;
    bmp.SaveToBytes(bmpBytes);
    THTMLPicture still;
    still.LoadFromBytes(bmpBytes.data(), bmpBytes.size());
    EXPECT_EQ(still.CountFrames(), -1);
    EXPECT_EQ((std::pair{still.FullWidth(), still.FullHeight()}), (std::pair{7, 3}));
    const std::uint8_t junk[] = {1, 2, 3};
    EXPECT_THROW(still.LoadFromBytes(junk, 3), EInvalidGraphic);
    EXPECT_TRUE(still.Empty());
}

TEST(Markup, GifFramesStayOnTheirLogicalScreen)
{
    // Each case: a screen, its frames, the frame shown; what is shown (its offset and size) of a screen.
    struct Case {
        const char* Name;
        int ScreenWidth, ScreenHeight;
        std::vector<TRect> Frames;
        int Frame;
        TRect Shown;
        int FullWidth, FullHeight;
    };
    const Case cases[] = {
        {"inside", 10, 8, {Bounds(2, 1, 4, 3)}, 1, Bounds(2, 1, 4, 3), 10, 8},
        {"reaching below", 10, 8, {Bounds(2, 6, 4, 5)}, 1, Bounds(2, 6, 4, 2), 10, 8},
        {"right of", 10, 8, {Bounds(7, 1, 5, 3)}, 1, Bounds(7, 1, 3, 3), 10, 8},
        {"larger on both sides", 4, 3, {Bounds(0, 0, 9, 9)}, 1, Bounds(0, 0, 4, 3), 4, 3},
        {"entirely outside", 10, 8, {Bounds(20, 20, 3, 3)}, 1, Bounds(0, 0, 0, 0), 10, 8},
        {"of no pixels", 10, 8, {Bounds(2, 2, 0, 5)}, 1, Bounds(0, 0, 0, 0), 10, 8},
        // A side of 0 takes the frame's own size, at no offset.
        {"zero-sized screen", 0, 0, {Bounds(3, 2, 4, 4)}, 1, Bounds(0, 0, 4, 4), 4, 4},
        {"zero-high screen, tall frame", 5139, 0, {Bounds(0, 0, 1, 6404)}, 1, Bounds(0, 0, 1, 6404), 5139, 6404},
        // Every frame that SetFrame chooses follows the same rule.
        {"second frame below", 10, 8, {Bounds(0, 0, 2, 2), Bounds(1, 7, 3, 30000)}, 2, Bounds(1, 7, 3, 1), 10, 8},
        {"second frame outside", 10, 8, {Bounds(0, 0, 2, 2), Bounds(60000, 2, 9, 9)}, 2, Bounds(0, 0, 0, 0), 10, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<std::uint8_t> bytes = giftest::MakeGif(c.ScreenWidth, c.ScreenHeight, c.Frames);
        THTMLPicture p;
        ASSERT_NO_THROW(p.LoadFromBytes(bytes.data(), bytes.size()));
        p.SetFrame(c.Frame);
        EXPECT_FALSE(p.Empty());
        EXPECT_EQ(p.CountFrames(), static_cast<int>(c.Frames.size()));
        EXPECT_EQ((std::pair{p.FullWidth(), p.FullHeight()}), (std::pair{c.FullWidth, c.FullHeight}));
        EXPECT_EQ(Bounds(p.FrameLeft(), p.FrameTop(), p.Width(), p.Height()), c.Shown);
        EXPECT_LE(p.FrameLeft() + p.Width(), p.FullWidth());
        EXPECT_LE(p.FrameTop() + p.Height(), p.FullHeight());
        // The frame's own pixels, each row read at the frame's width.
        const TPixelBuffer px = p.ToPixels();
        for (int y = 0; y < std::min(px.Height, 4); ++y)
            for (int x = 0; x < px.Width; ++x) EXPECT_TRUE(giftest::StripeAt(px.At(x, y), x)) << x << "," << y;
    }
}

TEST(Markup, SlowPicturesFoundByFuzzingLoadSmallOrAreRefused)
{
    // Each took seconds and hundreds of megabytes: the reader grew the picture beyond the size it had
    // been checked at (1034 x 10 checked, 1034 x 2564 decoded; a frame 65,535 wide far off a 1802 x 5120
    // screen; a frame 0 wide, for which the reader claimed no size at all and gave 12574 x 255; files of
    // 119 and 241 bytes with a 5139 x 1 screen and a frame 6,403 rows below it, grown to 5139 x 6404),
    // or skipped a chunk by the gigabyte it claimed past the file's end.
    struct Case {
        const char* File;
        bool Loads;
        TRect Shown;
        int FullWidth, FullHeight;
    };
    const Case cases[] = {
        {"slow-screen-grown-by-frame.gif", true, Bounds(0, 0, 10, 10), 1034, 2564},
        // A frame 65,535 wide far right of the screen: nothing of it shows, nothing of it is decoded.
        {"slow-frame-outside-screen.gif", true, Bounds(0, 0, 0, 0), 1802, 5120},
        {"slow-zero-width-frame.gif", true, Bounds(0, 0, 0, 0), 12574, 255},
        {"slow-frame-far-below-one-row-screen.gif", true, Bounds(0, 0, 0, 0), 5139, 1},
        {"slow-frame-far-below-right-of-one-row-screen.gif", true, Bounds(0, 0, 0, 0), 5139, 1},
        {"slow-long-chunk.png", false, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        const std::vector<std::uint8_t> bytes = ReadBytes(std::string(VSP_TEST_DATA) + "/fuzz/fuzz_grid_gif/" + c.File);
        ASSERT_FALSE(bytes.empty());
        THTMLPicture p;
        if (c.Loads) {
            EXPECT_NO_THROW(p.LoadFromBytes(bytes.data(), bytes.size()));
        } else {
            EXPECT_THROW(p.LoadFromBytes(bytes.data(), bytes.size()), EInvalidGraphic);
        }
        EXPECT_EQ(p.Empty(), !c.Loads);
        EXPECT_EQ(Bounds(p.FrameLeft(), p.FrameTop(), p.Width(), p.Height()), c.Shown);
        EXPECT_EQ((std::pair{p.FullWidth(), p.FullHeight()}), (std::pair{c.FullWidth, c.FullHeight}));
        // What was decoded lies on the screen.
        const TPixelBuffer px = p.ToPixels();
        EXPECT_LE(p.FrameLeft() + px.Width, c.FullWidth);
        EXPECT_LE(p.FrameTop() + px.Height, c.FullHeight);
    }
}

TEST(Markup, PicturesByAddress)
{
    THTMLPictureCache cache;
    THTMLPicture* p = cache.NewPicture();
    p->LoadFromAddress("file://" + Gif);
    EXPECT_FALSE(p->Empty());
    EXPECT_EQ(p->SourceKey(), UpperCase("file://" + Gif));
    EXPECT_EQ(cache.LookupPicture(UpperCase("file://" + Gif)), p);
    EXPECT_EQ(cache.LookupPicture("file://" + Gif), nullptr);
    // Resources by name; a missing one leaves the picture empty; remote addresses load nothing.
    RegisterByteResource("LOGO", ReadBytes(Gif));
    THTMLPicture res, missing, remote;
    res.LoadFromAddress("res://logo");
    missing.LoadFromAddress("res://none");
    remote.LoadFromAddress("http://example.org/a.gif");
    EXPECT_FALSE(res.Empty());
    EXPECT_TRUE(missing.Empty());
    EXPECT_TRUE(remote.Empty());
    UnregisterByteResource("LOGO");
    // The markup loads an address once into the cache.
    Recorder r;
    THTMLPaintParams params;
    params.PictureCache = &cache;
    const int before = cache.Count();
    r.Paint("<IMG SRC=\"file://" + Gif + "\"><IMG SRC=\"FILE://" + Gif + "\">", {0, 0, 1000, 100}, params);
    EXPECT_EQ(cache.Count(), before);   // already there under its key
    r.Paint("<IMG SRC=\"file:///nowhere.gif\">", {0, 0, 1000, 100}, params);
    EXPECT_EQ(cache.Count(), before + 1);
}

namespace {

// Fails the test when the guarded step takes more than a few seconds; a reader waiting on the FIFO is
// then let go (a writer opens and closes it), a reader of a device ends the run at once.
class TWatchdog {
public:
    explicit TWatchdog(std::string Fifo) : FFifo(std::move(Fifo)), FThread([this] { Watch(); }) {}
    ~TWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FDone = true;
        }
        FWake.notify_all();
        FThread.join();
    }
    bool Fired() const { return FFired; }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(FMutex);
        if (FWake.wait_for(lock, std::chrono::seconds(3), [this] { return FDone; })) return;
        FFired = true;
        if (FFifo.empty()) {
            std::fprintf(stderr, "a picture load did not return: it reads a device without end\n");
            std::abort();
        }
        while (!FDone) {
            const int fd = ::open(FFifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            FWake.wait_for(lock, std::chrono::milliseconds(50), [this] { return FDone; });
        }
    }
    std::string FFifo;
    std::mutex FMutex;
    std::condition_variable FWake;
    bool FDone = false;
    std::atomic<bool> FFired{false};
    std::thread FThread;
};

} // namespace

TEST(Markup, PicturesByAddressReadOnlyRegularFilesUpTo64MB)
{
    // A FIFO, an endless device, and sparse files of 100 MB and of 64 MB and a byte that begin with a
    // picture: each paints an empty picture (it takes no room) at once, and stays in the cache under its
    // address; the picture alone in a file of its own size shows.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("vsp_markup_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string fifo = (dir / "pipe.gif").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto sparse = [&](const char* name, std::uintmax_t size) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(ReadBytes(Gif).data()),
                                                    static_cast<std::streamsize>(ReadBytes(Gif).size()));
        std::filesystem::resize_file(path, size);
        return path;
    };
    struct Case {
        std::string Path;
        bool Shown;
    } cases[] = {
        {fifo, false},
        {"/dev/zero", false},
        {sparse("big.gif", 100u << 20), false},
        {sparse("over.gif", (64u << 20) + 1), false},
        {sparse("small.gif", ReadBytes(Gif).size()), true},
    };
    for (const Case& c : cases) {
        THTMLPictureCache cache;
        THTMLPaintParams params;
        params.PictureCache = &cache;
        Recorder r;
        THTMLResult res;
        {
            const TWatchdog watch(c.Path == fifo ? fifo : std::string());
            res = r.Paint("<IMG SRC=\"file://" + c.Path + "\">x", {0, 0, 1000, 100}, params);
            EXPECT_FALSE(watch.Fired()) << c.Path;
        }
        ASSERT_EQ(cache.Count(), 1) << c.Path;
        EXPECT_EQ(!cache.PictureAt(0)->Empty(), c.Shown) << c.Path;
        EXPECT_EQ(res.XSize, c.Shown ? 5 + cache.PictureAt(0)->FullWidth() : 5) << c.Path;
        // Painted again, the address is looked up, not loaded again.
        r.Paint("<IMG SRC=\"file://" + c.Path + "\">", {0, 0, 1000, 100}, params);
        EXPECT_EQ(cache.Count(), 1) << c.Path;
    }
    std::filesystem::remove_all(dir);
}

namespace {

struct MarkupHost {
    MarkupHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 500, 300);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 500, 300);
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        Grid->SetDefaultColWidth(120);
        Grid->SetDefaultRowHeight(30);
        Window->show();
        Application->ProcessMessages();
    }
    TExtStringGrid& G() { return *Grid; }
    QWidget* W() { return Grid->Widget(); }
    // A point of the cell's markup: x pixels into its text, on its first line.
    TPoint TextPoint(int c, int r, int x)
    {
        const TRect cell = Grid->CellRect(c, r);
        return {cell.Left + Grid->XMargin + 1 + 1 + x, cell.Top + Grid->YMargin + 1 + 5};
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

} // namespace

TEST(MarkupCells, AnchorsJumpsAndCheckControlsOnTheRealControl)
{
    MarkupHost h;
    TExtStringGrid& g = h.G();
    g.Canvas().Font().Assign(g.Font());
    const int go = g.Canvas().TextWidth("go ");
    g.SetCells(1, 1, "go <A HREF=\"there\">there</A>");
    g.SetCells(2, 1, "<A HREF=\"CELL://R5C3\">jump</A>");
    g.SetCells(3, 1, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\"> <I>on</I>");   // markup needs a closing tag
    std::vector<std::string> anchors, controls;
    g.OnAnchorClick = [&](TPersistent*, int, int, const std::string& a, bool& autoHandle) {
        anchors.push_back(a);
        autoHandle = a.rfind("CELL://", 0) == 0;
    };
    g.OnControlClick = [&](TPersistent*, int, int, const std::string& id, const std::string& type, const std::string& value) {
        controls.push_back(id + " " + type + " " + value);
    };
    TPoint p = h.TextPoint(1, 1, go + 5);
    Click(h.W(), p.x, p.y);
    EXPECT_EQ(anchors, (std::vector<std::string>{"there"}));
    p = h.TextPoint(1, 1, 2);   // beside the anchor: only a click on the cell
    Click(h.W(), p.x, p.y);
    EXPECT_EQ(anchors.size(), 1u);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 1}));
    p = h.TextPoint(2, 1, 5);
    Click(h.W(), p.x, p.y);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 5}));
    // A check control toggles its value in the cell's text.
    p = h.TextPoint(3, 1, 8);
    Click(h.W(), p.x, p.y);
    EXPECT_EQ(controls, (std::vector<std::string>{"c1 CHECK FALSE"}));
    EXPECT_NE(g.Cells(3, 1).find("VALUE=\"TRUE\""), std::string::npos);
    Click(h.W(), p.x, p.y);
    EXPECT_NE(g.Cells(3, 1).find("VALUE=\"FALSE\""), std::string::npos);
}

TEST(MarkupCells, AnchorEventsAndTheLinkCursor)
{
    MarkupHost h;
    TExtStringGrid& g = h.G();
    g.SetCells(1, 1, "<A HREF=\"x\">link</A> text");
    std::vector<std::string> log;
    g.OnAnchorEnter = [&](TPersistent*, int, int, const std::string& a) { log.push_back("enter " + a); };
    g.OnAnchorExit = [&](TPersistent*, int, int, const std::string&) { log.push_back("exit"); };
    auto move = [&](TPoint p) {
        const QPointF q(p.x, p.y);
        QMouseEvent e(QEvent::MouseMove, q, h.W()->mapToGlobal(q), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(h.W(), &e);
    };
    move(h.TextPoint(1, 1, 3));
    EXPECT_EQ(g.Cursor(), crHandPoint);
    move(h.TextPoint(1, 1, 5));
    move(h.TextPoint(1, 1, 60));
    EXPECT_NE(g.Cursor(), crHandPoint);
    EXPECT_EQ(log, (std::vector<std::string>{"enter x", "exit"}));
}

TEST(MarkupCells, HintWindowSizesAndKeepsOnTheScreen)
{
    THTMLHintWindow hint(nullptr);
    const TRect m = hint.CalcHintRect(1008, "abc");
    hint.ActivateHint({100, 100, 100, 100}, "abc");
    EXPECT_EQ(hint.HintRect(), (TRect{100, 100, 100 + m.Right + 16, 100 + m.Bottom + 4}));
    EXPECT_EQ(hint.TextWidthMeasured(), m.Right);
    const int sw = Screen->Width(), sh = Screen->Height();
    hint.ActivateHint({sw - 5, sh - 5, sw - 5, sh - 5}, "<B>bold</B> text");
    const TRect r = hint.HintRect();
    EXPECT_EQ(r.Right, sw - 2);
    EXPECT_EQ(r.Bottom, sh - 2);
    EXPECT_EQ(r.Width(), hint.TextWidthMeasured() + 16);
    EXPECT_EQ(r.Height(), hint.TextHeightMeasured() + 4);
    // A hint wider than 1008 pixels is measured wrapped, and painted with the same lines.
    std::string longText;
    for (int i = 0; i < 120; ++i) longText += "word ";
    hint.ActivateHint({0, 0, 0, 0}, longText);
    EXPECT_LE(hint.TextWidthMeasured(), 1008);
    EXPECT_GT(hint.TextHeightMeasured(), hint.CalcHintRect(1008, "word").Bottom);
    hint.ReleaseHandle();
}

TEST(MarkupCells, CellHintsShowInTheGridsWindowAndSizingHintsReadTheWidth)
{
    MarkupHost h;
    TExtStringGrid& g = h.G();
    g.HintShowCells = true;
    g.HTMLHint = true;
    g.SetCells(1, 1, "<B>bold</B>");
    const TRect r = g.CellRect(1, 1);
    Application->ShowControlHint(&g, {r.Left + 5, r.Top + 5});
    ASSERT_TRUE(Application->LastHint().Shown);
    EXPECT_EQ(Application->LastHint().Text, "<B>bold</B>");
    ASSERT_NE(g.GridHintWindow(), nullptr);
    EXPECT_TRUE(g.GridHintWindow()->IsShowing());
    EXPECT_EQ(g.GridHintWindow()->Caption(), "<B>bold</B>");
    Application->CancelHint();
    EXPECT_FALSE(g.GridHintWindow()->IsShowing());
    // Sizing a column to 57 pixels shows "cw=<b>57</b>".
    g.SetOptions(g.Options() + TGridOptions{goColSizing});
    g.HintShowSizing = true;
    const TRect head = g.CellRect(1, 0);
    auto send = [&](QEvent::Type t, int x, Qt::MouseButtons held) { SendMouse(h.W(), t, x, head.Top + 5, held); };
    send(QEvent::MouseMove, head.Right - 1, Qt::NoButton);
    send(QEvent::MouseButtonPress, head.Right - 1, Qt::LeftButton);
    send(QEvent::MouseMove, head.Left + 57, Qt::LeftButton);
    EXPECT_TRUE(g.GridHintWindow()->IsShowing());
    const std::string shown = g.GridHintWindow()->Caption();
    send(QEvent::MouseButtonRelease, head.Left + 57, Qt::NoButton);
    EXPECT_FALSE(g.GridHintWindow()->IsShowing());
    // The hint read the width the release gave the column.
    EXPECT_EQ(shown, "cw=<b>" + std::to_string(g.ColWidths(1)) + "</b>");
    EXPECT_NEAR(g.ColWidths(1), 57, 1);
}
