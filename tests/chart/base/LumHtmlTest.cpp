// HTML-tag text on the recorder, whose fixed metrics make positions exact: at 8 points a character is
// 5 pixels wide and 11 high. Tags, entities, line breaks, pictures, the plain-text fallback of malformed
// texts and the parser's messages.
#include "chart/base/LumHtml.h"

#include "chart/base/LumCanvasGdi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct THtmlCanvas {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas Device{Recorder};
    TLumCanvas3D Canvas;
    THtmlCanvas()
    {
        Canvas.ChangeBufferedDisplay(false);
        Canvas.SetupView(&Device, nullptr, clWhite, false, {0, 0, 100, 50});
        ResetLumHtmlModule();
    }
    ~THtmlCanvas() { ResetLumHtmlModule(); }

    // Draws and returns the extent; the texts written are in Texts().
    TSize Draw(const std::string& text, int x = 0, int y = 0)
    {
        TSize extent;
        HtmlTextLayout(Canvas, x, y, extent, true, text);
        return extent;
    }
    std::vector<const TRecordingBackend::TRecord*> Texts() const { return Recorder->OfKind("TextOut"); }
};

struct TWritten {
    std::string Text;
    int X, Y;
};

void ExpectWritten(const THtmlCanvas& h, const std::vector<TWritten>& expected)
{
    const auto texts = h.Texts();
    ASSERT_EQ(texts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(texts[i]->Text, expected[i].Text) << i;
        EXPECT_EQ(texts[i]->Args, (std::vector<int>{expected[i].X, expected[i].Y})) << expected[i].Text;
    }
}

} // namespace

TEST(LumHtml, PositionsOfTextsBreaksAndSizes)
{
    struct Case {
        std::string Html;
        std::vector<TWritten> Written;
        TSize Extent;
    };
    const Case cases[] = {
        {"abc", {{"abc", 10, 20}}, {25, 11}},
        // A break moves down one line and the first text after it once more.
        {"a<BR>b", {{"a", 10, 20}, {"b", 10, 42}}, {15, 11}},
        {"a<p>b", {{"a", 10, 20}, {"b", 10, 42}}, {15, 11}},
        // A segment's own line end only starts a new line; the next text moves down.
        {"ab\r\n<b>c", {{"ab", 10, 20}, {"c", 10, 31}}, {20, 11}},
        // A larger font: 12 points is 16 pixels high and 8 wide; the smaller text after it moves down.
        {"<FONT SIZE=+4>x</>y", {{"x", 10, 20}, {"y", 18, 24}}, {23, 16}},
        {"x&lt;y", {{"x<y", 10, 20}}, {25, 11}},
        {"x&amp;lt;y", {{"x&lt;y", 10, 20}}, {40, 11}},
        {"</>", {{"</", 10, 20}}, {20, 11}},
        // Headings end with a closing FONT tag or "</>": "</H1>" is text in the heading's 48 points.
        {"<H1>T</H1>", {{"T", 10, 20}, {"</H1>", 42, 20}}, {202, 64}},
        {"<CENTER>ab", {{"ab", 45, 20}}, {55, 11}},
        {"<unknown>", {{"<unknown>", 10, 20}}, {55, 11}},
    };
    for (const Case& c : cases) {
        THtmlCanvas h;
        EXPECT_EQ(h.Draw(c.Html, 10, 20), c.Extent) << c.Html;
        ExpectWritten(h, c.Written);
        TSize measured;
        MeasureHtmlText(h.Canvas, c.Html, measured);
        EXPECT_EQ(measured.cy, c.Extent.cy) << c.Html;  // measured at (0, 0)
        EXPECT_EQ(measured.cx, c.Extent.cx - (c.Html.rfind("<CENTER>", 0) == 0 ? 0 : 10)) << c.Html;
    }
}

TEST(LumHtml, StylesAndFontsComeBackAfterClosingTags)
{
    THtmlCanvas h;
    h.Draw("<B>bold</>plain<B><I><FONT SIZE=10>big</FONT>both</I></B><STRIKE>s</STRIKE>");
    const auto t = h.Texts();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0]->TextCmd.Font.Weight, 700);
    EXPECT_EQ(t[1]->TextCmd.Font.Weight, 400);
    EXPECT_EQ(t[2]->TextCmd.Font.PixelHeight, 13);
    EXPECT_EQ(t[3]->TextCmd.Font.PixelHeight, 11);
    EXPECT_EQ(t[3]->TextCmd.Font.Weight, 700);  // the saved bold italic font is back
    EXPECT_TRUE(t[3]->TextCmd.Font.Italic);
    EXPECT_TRUE(t[4]->TextCmd.Font.StrikeOut);
    EXPECT_EQ(t[4]->TextCmd.Font.Weight, 400);

    // The canvas font is the same after the call, and the tag stacks belong to the call: an unclosed
    // bold tag is not closed by the next text's "</>".
    EXPECT_EQ(h.Canvas.Font().Size(), 8);
    EXPECT_TRUE(h.Canvas.Font().Style().Empty());
    THtmlCanvas second;
    second.Draw("<B>x");
    second.Recorder->Clear();
    second.Draw("</>");
    ExpectWritten(second, {{"</", 0, 0}});
}

TEST(LumHtml, TwoLineTextMeasuresItsTallerLine)
{
    THtmlCanvas h;
    TSize e;
    MeasureHtmlText(h.Canvas, "ab<BR>cd", e);
    EXPECT_EQ(e, (TSize{10, 11}));
    MeasureHtmlText(h.Canvas, "ab<BR><FONT SIZE=+4>cd", e);
    EXPECT_EQ(e, (TSize{16, 16}));
    EXPECT_TRUE(h.Texts().empty());  // measuring draws nothing
}

TEST(LumHtml, PicturesAndTheBrokenImageBox)
{
    // Without a loader: a 40 x 40 box, and the text after it where the picture began.
    THtmlCanvas h;
    h.Draw("<IMG SRC=\"pic.bmp\">z", 5, 6);
    const auto box = h.Recorder->OfKind("Rectangle");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0]->Args, (std::vector<int>{5, 6, 45, 46}));
    EXPECT_EQ(h.Recorder->OfKind("LineTo").size(), 2u);
    ExpectWritten(h, {{"z", 5, 6}});

    // With a loader: the picture at its own size, or stretched to WIDTH x HEIGHT; x and y move on.
    THtmlCanvas p;
    TBitmap source(3, 2, pf24bit);
    std::vector<std::uint8_t> bytes;
    source.SaveToBytes(bytes);
    std::string asked;
    LumHtmlModule().HtmlGraphicForExtension = [&](const std::string& ext) -> std::unique_ptr<TGraphic> {
        asked = ext;
        if (ext == ".BMP") return std::make_unique<TBitmap>();
        return nullptr;
    };
    LumHtmlModule().HtmlImageLoader = [&](const std::string&, std::vector<std::uint8_t>& out) {
        out = bytes;
        return 0;
    };
    p.Draw("<IMG SRC=a.bmp>q<IMG SRC=b.Bmp WIDTH=6 HEIGHT=4>r<IMG SRC=c.gif>s");
    EXPECT_EQ(asked, ".GIF");
    EXPECT_EQ(p.Recorder->OfKind("Draw").size(), 1u);
    EXPECT_EQ(p.Recorder->OfKind("StretchDraw").size(), 1u);
    EXPECT_EQ(p.Recorder->OfKind("Rectangle").size(), 1u);  // no class for ".GIF"
    ExpectWritten(p, {{"q", 3, 2}, {"r", 14, 6}, {"s", 19, 6}});
}

TEST(LumHtml, MalformedTagsFallBackToPlainText)
{
    for (const std::string text : {"a<b", "<FONT FOO=1>x", "<FONT WEIGHT=HEAVY>x", "<B><FONT SIZE=big>x",
                                   "<FONT COLOR=#12>x", "<IMG SRC=a.bmp WIDTH=w>"}) {
        THtmlCanvas h;
        const TSize drawn = h.Draw(text, 3, 4);
        ExpectWritten(h, {{text, 3, 4}});
        TSize measured;
        MeasureHtmlText(h.Canvas, text, measured);
        EXPECT_EQ(measured.cx + 3, drawn.cx) << text;
        EXPECT_EQ(measured.cy, drawn.cy) << text;
        EXPECT_EQ(h.Canvas.Font().Size(), 8) << text;
        EXPECT_TRUE(h.Canvas.Font().Style().Empty()) << text;
    }
    THtmlCanvas lines;
    lines.Draw("a<b\r\nc");
    ExpectWritten(lines, {{"a<b", 0, 0}, {"c", 0, 22}});
}

TEST(LumHtml, ParserMessages)
{
    auto message = [](auto f) {
        try {
            f();
        } catch (const HtmlParserException& e) {
            return e.Message();
        }
        return std::string("no exception");
    };
    std::string rest = "<abc def";
    EXPECT_EQ(message([&] { NextHtmlToken(rest); }), "Missing > at abc def");
    TFont font;
    EXPECT_EQ(message([&] { ApplyHtmlFontTag(font, "<FONT FOO=1>"); }), "Unknown field in FONT: FOO");
    EXPECT_EQ(message([&] { ApplyHtmlFontTag(font, "<FONT WEIGHT=HEAVY>"); }), "Unknown field in FONT WEIGHT=HEAVY");
    EXPECT_THROW(ApplyHtmlFontTag(font, "<FONT SIZE=X1>"), EConvertError);

    std::string text = "ab<B>c";
    EXPECT_EQ(NextHtmlToken(text), "ab");
    EXPECT_EQ(NextHtmlToken(text), "<B>");
    EXPECT_EQ(NextHtmlToken(text), "c");
    EXPECT_TRUE(text.empty());

    // Values run to the last blank before the next "=", quotes are dropped.
    ApplyHtmlFontTag(font, "<FONT NAME=COURIER NEW SIZE=10 COLOR=#00FF80 WEIGHT=ITALIC>");
    EXPECT_EQ(font.Name(), "COURIER NEW");
    EXPECT_EQ(font.Size(), 10);
    EXPECT_EQ(font.Color(), RGB(0, 255, 128));
    EXPECT_EQ(font.Style(), TFontStyles{fsItalic});
    ApplyHtmlFontTag(font, "<FONT FAMILY=\"TIMES NEW ROMAN\" SIZE=-3 WEIGHT=NORMAL>");
    EXPECT_EQ(font.Name(), "TIMES NEW ROMAN");
    EXPECT_EQ(font.Size(), 7);
    EXPECT_TRUE(font.Style().Empty());
}

TEST(LumHtml, ColourValues)
{
    const std::pair<const char*, TColor> cases[] = {
        {"red", 0x0000FF}, {" BLUE ", 0xFF0000}, {"lime", 0x00FF00}, {"Green", 0x008000}, {"#FF0000", 0x0000FF},
        {"#0000ff", 0xFF0000}, {"clBtnFace", clBtnFace}, {"clNavy", clNavy}, {"123", 123}, {"$FF", 255},
    };
    for (const auto& [text, colour] : cases) EXPECT_EQ(HtmlColorValue(text), colour) << text;
    for (const char* bad : {"bogus", "#12345", "#GG0000", ""}) EXPECT_THROW(HtmlColorValue(bad), EConvertError) << bad;
}
