// What the grid draws with on top of the canvas's text and frames: an edit control's word breaking and
// its hidden partly visible last line, external leading between lines, 16-bit text laid out the same way
// as 8-bit text, widths of a text's parts from one measurement, and the scroll-bar and combo-box buttons
// of DrawFrameControl.
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Fixed metrics: characters 5 pixels wide, lines 11 pixels high.
struct TextRecorder {
    std::shared_ptr<TRecordingBackend> Backend = std::make_shared<TRecordingBackend>();
    TCanvas Canvas{Backend};

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> out;
        for (const auto* r : Backend->OfKind("TextOut")) {
            std::string s;
            for (const char16_t c : r->Chars) s += c < 0x80 ? static_cast<char>(c) : '?';
            out.push_back(std::to_string(r->Args[1]) + ":" + s);
        }
        return out;
    }
};

} // namespace

TEST(CanvasTextRules, EditControlBreaksLongWordsAndHidesAPartlyVisibleLine)
{
    struct Case {
        const char* Name;
        std::string Text;
        TRect Rect;
        unsigned Format;
        std::vector<std::string> Drawn;
        int Height;   // measured with DT_CALCRECT
    };
    const unsigned WB = DT_WORDBREAK, EC = DT_EDITCONTROL | DT_WORDBREAK;
    const Case cases[] = {
        {"a long word alone without the edit rules", "abcdefghijkl", {0, 0, 25, 100}, WB, {"0:abcdefghijkl"}, 11},
        {"a long word cut at the right edge", "abcdefghijkl", {0, 0, 25, 100}, EC, {"0:abcde", "11:fghij", "22:kl"}, 33},
        {"cut between ordinary words", "a verylongword b", {0, 0, 30, 100}, EC, {"0:a", "11:verylo", "22:ngword", "33:b"}, 44},
        {"a line narrower than one character keeps one", "abc", {0, 0, 3, 100}, EC, {"0:a", "11:b", "22:c"}, 33},
        {"the partly visible last line is left out", "one\ntwo\nthree", {0, 0, 100, 25}, DT_EDITCONTROL, {"0:one", "11:two"}, 33},
        {"without the edit rules it is clipped", "one\ntwo\nthree", {0, 0, 100, 25}, 0, {"0:one", "11:two", "22:three"}, 33},
        {"the first line always shows", "one\ntwo", {0, 0, 100, 5}, DT_EDITCONTROL, {"0:one"}, 22},
    };
    for (const Case& k : cases) {
        TextRecorder rec;
        TRect r = k.Rect;
        rec.Canvas.Font().SetHeight(-11);
        rec.Canvas.DrawText(k.Text, r, k.Format);
        EXPECT_EQ(rec.Lines(), k.Drawn) << k.Name;
        TRect m = k.Rect;
        EXPECT_EQ(rec.Canvas.DrawText(k.Text, m, k.Format | DT_CALCRECT), k.Height) << k.Name;
    }
}

TEST(CanvasTextRules, WideTextTakesTheSameLayout)
{
    TextRecorder rec;
    rec.Canvas.Font().SetHeight(-11);
    TRect r{0, 0, 35, 100};
    // Greek capitals stand for characters the 8-bit code page lacks.
    const std::u16string text = u"\u03A9\u03A9 \u03A3\u03A3\u03A3 \u0394";
    EXPECT_EQ(rec.Canvas.DrawTextW(text, r, DT_WORDBREAK | DT_CENTER), 22);
    const auto drawn = rec.Backend->OfKind("TextOut");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0]->Chars, u"\u03A9\u03A9 \u03A3\u03A3\u03A3");
    EXPECT_EQ(drawn[1]->Chars, u"\u0394");
    EXPECT_EQ(drawn[0]->Args[0], (35 - 30) / 2);
    EXPECT_EQ(drawn[1]->Args[0], (35 - 5) / 2);
    EXPECT_EQ(drawn[1]->Args[1], 11);
    // Ellipses and measuring work on the wide text too.
    TextRecorder one;
    one.Canvas.Font().SetHeight(-11);
    TRect e{0, 0, 22, 11};
    one.Canvas.DrawTextW(u"\u03A9\u03A9\u03A9\u03A9\u03A9\u03A9", e, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(one.Backend->OfKind("TextOut").size(), 1u);
    EXPECT_EQ(one.Backend->OfKind("TextOut")[0]->Chars, u"\u03A9...");
    TRect m{0, 0, 100, 100};
    EXPECT_EQ(one.Canvas.DrawTextW(u"\u03A9\r\n\u03A9\u03A9", m, DT_CALCRECT), 22);
    EXPECT_EQ(m.Right, 10);
}

TEST(CanvasTextRules, OneMeasurementGivesEveryPartTheWidthTextWidthGives)
{
    // Real glyphs of different widths, on a plain device, with character extra either way and under a
    // map mode that scales logical units (where rounding could differ).
    struct Setup {
        const char* Name;
        int Extra;
        bool Scaled;
    } setups[] = {{"plain", 0, false}, {"character extra", 3, false}, {"negative extra", -1, false}, {"scaled", 0, true},
                  {"scaled with extra", 2, true}};
    const std::string text = "Wi\tl W.mm\xE9\x80 iiWW";
    const std::string tail = "...x";
    for (const Setup& s : setups) {
        TBitmap b(300, 60);
        TCanvas& c = b.Canvas();
        c.Font().SetName("Arial");
        c.Font().SetHeight(-17);
        if (s.Scaled) {
            c.SetMapMode(MM_ANISOTROPIC);
            c.SetWindowExtEx(3, 3);
            c.SetViewportExtEx(7, 5);
        }
        c.SetTextCharacterExtra(s.Extra);
        const TTextRuler ruler = c.MeasureText(text);
        const TTextRuler after = c.MeasureText(tail);
        ASSERT_EQ(ruler.Size(), text.size()) << s.Name;
        for (std::size_t from = 0; from <= text.size(); ++from)
            for (std::size_t to = from; to <= text.size(); ++to) {
                const std::string part = text.substr(from, to - from);
                ASSERT_EQ(ruler.Width(from, to), c.TextWidth(part)) << s.Name << " [" << from << ", " << to << ")";
                ASSERT_EQ(ruler.Width(from, to, after), c.TextWidth(part + tail)) << s.Name << " [" << from << ", " << to << ")";
            }
    }
}

TEST(CanvasTextRules, LayoutMeasuresEachLineABoundedNumberOfTimes)
{
    // Texts of n characters laid out in a narrow rectangle: the device is asked a bounded number of times
    // per line, and for a bounded number of characters per character of the text.
    struct Case {
        const char* Name;
        char Blank;          // every eighth character (a word break) or none
        unsigned Format;
    } cases[] = {
        {"one word cut at the edge", 'x', DT_WORDBREAK | DT_EDITCONTROL},
        {"words broken at blanks", ' ', DT_WORDBREAK | DT_EDITCONTROL},
        {"one line cut with an ellipsis", ' ', DT_SINGLELINE | DT_END_ELLIPSIS},
        {"one line cut with a path ellipsis", '/', DT_SINGLELINE | DT_PATH_ELLIPSIS},
    };
    for (const Case& k : cases)
        for (const std::size_t n : {1000u, 10000u, 100000u}) {
            std::string text(n, 'x');
            for (std::size_t i = 7; i < n; i += 8) text[i] = k.Blank;
            for (const unsigned calc : {0u, unsigned(DT_CALCRECT)}) {
                Recorder rec;
                rec.Canvas.Font().SetHeight(-11);
                TRect r{0, 0, 61, 1 << 30};
                rec.Canvas.DrawText(text, r, k.Format | calc);
                // At most 12 characters of 5 pixels to a line of 61.
                const std::size_t lines = (k.Format & DT_SINGLELINE) ? 1 : n / 12 + 1;
                const std::string what = std::string(k.Name) + (calc ? ", measured" : ", drawn") + ", n = " + std::to_string(n);
                EXPECT_LE(rec.Backend->MeasureCalls, 6 * lines + 8) << what;
                EXPECT_LE(rec.Backend->MeasuredChars, 6 * n + 100) << what;
            }
        }
}

TEST(CanvasTextRules, ExternalLeadingSpacesTheLines)
{
    TBitmap b(200, 200);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Times New Roman");
    c.Font().SetHeight(-40);
    TTextMetric tm;
    c.GetTextMetrics(tm);
    TRect plain{0, 0, 200, 200}, led{0, 0, 200, 200};
    EXPECT_EQ(c.DrawText("a\nb\nc", plain, DT_CALCRECT), 3 * tm.tmHeight);
    EXPECT_EQ(c.DrawText("a\nb\nc", led, DT_CALCRECT | DT_EXTERNALLEADING), 3 * (tm.tmHeight + tm.tmExternalLeading));
    EXPECT_EQ(led.Bottom - plain.Bottom, 3 * tm.tmExternalLeading);
}

TEST(CanvasScrollFrame, ArrowsPointTheirWayOnAPushButton)
{
    struct Case {
        unsigned Kind;
        int TipDx, TipDy;   // from the centre towards the arrow's tip
    };
    const Case cases[] = {{DFCS_SCROLLUP, 0, -1}, {DFCS_SCROLLDOWN, 0, 1}, {DFCS_SCROLLLEFT, -1, 0},
                          {DFCS_SCROLLRIGHT, 1, 0}, {DFCS_SCROLLCOMBOBOX, 0, 1}};
    const TColor text = ColorToRGB(clBtnText), face = ColorToRGB(clBtnFace);
    for (const Case& k : cases) {
        for (const bool pushed : {false, true}) {
            TBitmap b(24, 24);
            TCanvas& c = b.Canvas();
            ASSERT_TRUE(c.DrawFrameControl({2, 2, 18, 18}, DFC_SCROLL, k.Kind | (pushed ? unsigned(DFCS_PUSHED) : 0u)));
            const int s = pushed ? 1 : 0, cx = 10 + s, cy = 10 + s;
            // The arrow fills the centre and reaches towards its tip; behind its base lies the face.
            EXPECT_EQ(b.PixelRGB(cx, cy), text) << k.Kind << " " << pushed;
            EXPECT_EQ(b.PixelRGB(cx + 2 * k.TipDx, cy + 2 * k.TipDy), text) << k.Kind << " " << pushed;
            EXPECT_EQ(b.PixelRGB(cx - 4 * k.TipDx, cy - 4 * k.TipDy), face) << k.Kind << " " << pushed;
            // The base is wider than the tip.
            const int px = k.TipDy != 0 ? 1 : 0, py = k.TipDx != 0 ? 1 : 0;
            EXPECT_EQ(b.PixelRGB(cx - k.TipDx + 3 * px, cy - k.TipDy + 3 * py), text) << k.Kind << " " << pushed;
            EXPECT_NE(b.PixelRGB(cx + 2 * k.TipDx + 3 * px, cy + 2 * k.TipDy + 3 * py), text) << k.Kind << " " << pushed;
            // A raised frame outside, sunk when pushed; nothing outside the rectangle.
            EXPECT_EQ(b.PixelRGB(2, 2), pushed ? ColorToRGB(clBtnShadow) : ColorToRGB(clBtnHighlight)) << k.Kind;
            EXPECT_EQ(b.PixelRGB(17, 17), pushed ? ColorToRGB(clBtnHighlight) : ColorToRGB(cl3DDkShadow)) << k.Kind;
            EXPECT_EQ(b.PixelRGB(19, 10), 0xFFFFFFu) << k.Kind;
        }
    }
    TBitmap b(8, 8);
    EXPECT_FALSE(b.Canvas().DrawFrameControl({0, 0, 8, 8}, DFC_SCROLL, 4));
}
