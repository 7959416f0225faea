// The grid's free routines as tables of cases: limits, cell and number classification, number
// normalising, quotes and lines, cell references, dates (with the day clamped when stepping months and
// years), names, filter conditions (">=" including its bound; wildcards against a plain position walk and
// in steps that grow with pattern plus text), wide text, code page 850, gradient bands.
#include "grid/EsgHTMLE.h"
#include "grid/ExtUtil.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

struct Locale {
    Locale(char dec, char th, char date = '/', std::string fmt = "M/d/yyyy")
    {
        FormatSettings().DecimalSeparator = dec;
        FormatSettings().ThousandSeparator = th;
        FormatSettings().DateSeparator = date;
        FormatSettings().ShortDateFormat = std::move(fmt);
    }
    ~Locale() { ResetFormatSettings(); }
};

} // namespace

TEST(ExtUtil, ClampToLimits)
{
    struct Case {
        int v, lo, hi, want;
    } cases[] = {{5, 0, 0, 5}, {5, 10, 20, 10}, {25, 10, 20, 20}, {25, 0, 20, 20}, {-3, 0, 20, -3}, {7, 7, 7, 7}, {3, 5, 5, 3}};
    for (const Case& c : cases) EXPECT_EQ(ClampToLimits(c.v, c.lo, c.hi), c.want) << c.v << " " << c.lo << " " << c.hi;
}

TEST(ExtUtil, ClassifiesCellTexts)
{
    struct Case {
        const char* text;
        bool html;
        int kind;
    } cases[] = {{"", true, 0}, {"=A1", true, 3}, {"<b>x</b>", true, 1}, {"<b>x", true, 0}, {"<B>x", true, 1},
                 {"x", false, 0}, {"<b>x</b>", false, 0}, {"{\\rtf1}", true, 2}, {"|\\\x00\x41", true, 5}};
    for (const Case& c : cases) EXPECT_EQ(ClassifyCellText(c.text, c.html), c.kind) << c.text;
    EXPECT_EQ(ClassifyCellText(std::string("|\\\0A", 4), true), 5);
}

TEST(ExtUtil, ClassifiesNumberTexts)
{
    {
        Locale l('.', ',');
        struct Case {
            const char* text;
            int cls;
        } cases[] = {{"-12", 0}, {"1,234.5", 1}, {"1.2.3", 2}, {"--1", 2}, {"", 2}, {"abc", 2}, {",123", 2}, {"12.", 1}, {"1,2", 1}, {"1,23,456", 1}, {"1,,2", 2}};
        for (const Case& c : cases) EXPECT_EQ(ClassifyNumberText(c.text), c.cls) << c.text;
    }
    Locale l(',', '.');
    EXPECT_EQ(ClassifyNumberText("1,5"), 1);
    EXPECT_EQ(ClassifyNumberText("1.234,5"), 1);
    EXPECT_EQ(ClassifyNumberText("1,2,3"), 2);
    EXPECT_EQ(ClassifyNumberText("1--2"), 2);
}

TEST(ExtUtil, NormalizesNumberTexts)
{
    Locale l('.', ',');
    struct Case {
        const char* text;
        const char* want;
    } cases[] = {{"(1,234.50)", "-1234.50"}, {"EUR 12", "12"}, {"  ", ""}, {"-5", "-5"}, {"12 kg", "12"}, {"x", ""}};
    for (const Case& c : cases) EXPECT_EQ(NormalizeNumberText(c.text), c.want) << c.text;
    Locale comma(',', '.');
    EXPECT_EQ(NormalizeNumberText("1.234,5"), "1234.5");
}

TEST(ExtUtil, QuotesAndLines)
{
    EXPECT_EQ(UnquoteText('"', "a\"\"b"), "a\"b");
    EXPECT_EQ(UnquoteText('"', "\"ab\""), "ab");
    EXPECT_EQ(UnquoteText('"', ""), "");
    int pos = 0;
    EXPECT_EQ(ClosingQuotePos('"', "abc\",x", pos), 4);
    EXPECT_EQ(ClosingQuotePos('"', "a\"\"b\",", pos), 5);    // a doubled quote never ends a field
    EXPECT_EQ(ClosingQuotePos('"', "abc", pos), 0);
    EXPECT_EQ(ClosingQuotePos('"', "ab\"", pos), 3);
    EXPECT_EQ(CountClosingQuotes('"', "a\",b\",c"), 2);
    std::string text = "a\r\nb\rc", line;
    TakeFirstLine(text, true, line);
    EXPECT_EQ(line, "a");
    EXPECT_EQ(text, "b\rc");
    text = "a\r\nb";
    TakeFirstLine(text, false, line);
    EXPECT_EQ(text, "");
    EXPECT_EQ(CountTextLines("a\rb\rc", true), 3);
    EXPECT_EQ(CountTextLines("a\rb\rc", false), 1);
    text = "a\r\nb";
    QuoteMultilineText(text);
    EXPECT_EQ(text, "\"a\nb\"");
    text = "a\nb\r\n";
    LinefeedsToLineBreaks(text);
    EXPECT_EQ(text, "a\r\nb\r\r\n");
    EXPECT_EQ(ExpandLineBreakEscapes("one\\ntwo"), "one\rtwo");
}

TEST(ExtUtil, LinksAndCellReferences)
{
    EXPECT_TRUE(IsLinkText("see http://x.org"));
    EXPECT_TRUE(IsLinkText("mailto:a@b"));
    EXPECT_FALSE(IsLinkText("x.org"));
    std::string t = "http://x.org/a";
    StripLinkProtocol(t);
    EXPECT_EQ(t, "x.org/a");
    t = "mailto:a@b";
    StripLinkProtocol(t);
    EXPECT_EQ(t, "a@b");
    struct Case {
        const char* text;
        bool ok;
        TPoint p;
    } cases[] = {{"r3c2", true, {2, 3}}, {"R10C7", true, {7, 10}}, {"3,2", false, {}}, {"RC", false, {}}, {"R3CX", false, {}}, {"R1C", false, {}}};
    for (const Case& c : cases) {
        TPoint p{-9, -9};
        EXPECT_EQ(ParseCellReference(c.text, p), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(p, c.p) << c.text;
        else EXPECT_EQ(p, (TPoint{-9, -9})) << c.text;
    }
}

TEST(ExtUtil, ParsesDates)
{
    EXPECT_EQ(ParseDateDMY("31.12.99"), EncodeDate(1999, 12, 31));
    EXPECT_EQ(ParseDateMDY("12/31/05"), EncodeDate(2005, 12, 31));
    EXPECT_EQ(ParseDateMDY("12-31-26"), EncodeDate(1926, 12, 31));
    EXPECT_EQ(ParseDateMDY("12312005"), 0.0);
    EXPECT_EQ(ParseDateMDY("a/b/c"), 0.0);
    EXPECT_THROW(ParseDateMDY("13/40/05"), EConvertError);
    Locale l('.', ',', '.', "dd.mm.yyyy");
    TDateTime d = 0;
    EXPECT_TRUE(ParseLocaleDate("3.4.2020", d));
    EXPECT_EQ(d, EncodeDate(2020, 4, 3));
    EXPECT_FALSE(ParseLocaleDate("32.4.2020", d));
    EXPECT_FALSE(ParseLocaleDate("3.13.2020", d));
    EXPECT_FALSE(ParseLocaleDate("30.2.2020", d));     // the encoding fails
    EXPECT_FALSE(ParseLocaleDate("3.4", d));
}

// Months and years step by any count and the day is clamped to the month.
TEST(ExtUtil, AdvancesDatesByAnyCountAndClampsTheDay)
{
    struct Case {
        int years, months, days;
        double delta;
        TDateTime from, want;
    } cases[] = {
        {0, 0, -1, 0, EncodeDate(2020, 1, 10), EncodeDate(2020, 1, 9)},
        {0, 1, 0, 0, EncodeDate(2020, 12, 15), EncodeDate(2021, 1, 15)},
        {0, 1, 0, 0, EncodeDate(2021, 1, 31), EncodeDate(2021, 2, 28)},
        {0, -13, 0, 0, EncodeDate(2021, 1, 31), EncodeDate(2019, 12, 31)},
        {0, 25, 0, 0, EncodeDate(2020, 3, 1), EncodeDate(2022, 4, 1)},
        {1, 0, 0, 0, EncodeDate(2020, 2, 29), EncodeDate(2021, 2, 28)},
        {1, 1, 0, 7, EncodeDate(2020, 1, 1), EncodeDate(2020, 1, 8)},
    };
    for (const Case& c : cases) EXPECT_EQ(AdvanceDate(c.years, c.months, c.days, c.delta, c.from), c.want);
    EXPECT_THROW(AdvanceDate(10000, 0, 0, 0, EncodeDate(2020, 1, 1)), EConvertError);
}

TEST(ExtUtil, CapitalizesNames)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"mcdonald", "McDonald"}, {"o'neil", "O'Neil"}, {"mary-jane smith iii", "Mary-Jane Smith III"},
                 {"ronald mcdonald", "Ronald McDonald"}, {"JOHN SMITH II", "John Smith II"}, {"", ""},
                 {"ann mcbee mcfee", "Ann McBee Mcfee"}, {"mc mcx", "Mc McX"}};
    for (const Case& c : cases) EXPECT_EQ(CapitalizeName(c.in), c.out) << c.in;
}

TEST(ExtUtil, MatchesFilterConditions)
{
    struct Case {
        const char* cond;
        const char* text;
        bool cs, want;
    } cases[] = {
        {">10 & <20", "15", false, true}, {"15", "15", false, true}, {">=10", "10", false, true},
        {"<=10", "10", false, true}, {">10", "10", false, false}, {"a*", "ABC", false, true},
        {"a*", "ABC", true, false}, {"!a*", "xyz", false, true}, {"1|2", "2", false, true},
        {"1 | 2", "3", false, false}, {"?b?", "abc", false, true}, {"=abc", "abc", false, true},
        {"a**c", "abbbc", false, true}, {">b", "c", false, true}, {"\"x y\"", "x y", false, true},
        {"> 5 ; < 1", "0", false, true},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchFilterCondition(c.cond, c.text, c.cs), c.want) << c.cond << " / " << c.text;
    // Many stars on a long text stay fast (no backtracking over every split).
    EXPECT_FALSE(MatchFilterCondition("*a*a*a*a*a*a*a*a*a*a*b", std::string(2000, 'a'), false));
}

namespace {

// The filter's wildcard as a set of reachable text positions walked once per pattern character: plainly
// right, and as slow as pattern length times text length.
bool ReachableWildcard(const std::string& pattern, const std::string& text)
{
    const std::size_t n = text.size();
    std::vector<char> reach(n + 1, 0), next(n + 1, 0);
    reach[0] = 1;
    bool negate = false;
    for (char p : pattern) {
        if (p == '"') continue;
        if (p == '!') {
            if (std::find(reach.begin(), reach.end(), 1) != reach.end()) negate = true;
            continue;
        }
        std::fill(next.begin(), next.end(), 0);
        if (p == '*') {
            bool on = false;
            for (std::size_t i = 0; i <= n; ++i) next[i] = on = on || reach[i];
        } else {
            for (std::size_t i = 0; i < n; ++i)
                if (reach[i] && (p == '?' || text[i] == p)) next[i + 1] = 1;
        }
        reach.swap(next);
    }
    return (reach[n] != 0) != negate;
}

} // namespace

// Every short pattern of stars, marks, quotes and "!" answers as the position walk does.
TEST(ExtUtil, WildcardsAnswerAsThePositionWalk)
{
    std::uint32_t seed = 99;
    auto next = [&] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (int k = 0; k < 20000; ++k) {
        std::string pattern, text;
        for (std::uint32_t i = 0, n = next() % 9; i < n; ++i) pattern += "ab?*!\"aa*"[next() % 9];
        for (std::uint32_t i = 0, n = next() % 9; i < n; ++i) text += "aab"[next() % 3];
        if (k % 7 == 0) pattern = "*" + pattern + "*";
        ASSERT_EQ(MatchWildcard(pattern, text), ReachableWildcard(pattern, text)) << pattern << " / " << text;
    }
}

// The steps of a match grow with pattern plus text, not with their product: a filter of 20,000
// characters over a cell of 27,000 took 28 s under the sanitizers. The rows: the fuzzed quote-laden
// condition, a piece between stars that almost matches everywhere, pieces holding "?", and a "!".
TEST(ExtUtil, WildcardStepsGrowWithPatternPlusText)
{
    for (std::size_t n : {1000u, 10000u, 100000u}) {
        std::string quoted, almost = "*", marks = "*", text_a(n, 'a'), text_q;
        while (quoted.size() < n) quoted += ",\"a\"\"";
        while (text_q.size() < n) text_q += "\"a\"\",";
        almost += std::string(n / 2, 'a') + "b*";
        while (marks.size() < n / 2) marks += "a?a*";
        const struct {
            std::string pattern, text;
            bool want;
        } cases[] = {{" Mc" + quoted, "!!!!" + text_q, false}, {quoted, text_q, false}, {almost, text_a, false},
                     {marks, text_a, true}, {"!" + almost, text_a, true}, {"*a?" + std::string(n / 2, 'a') + "?b*", text_a, false}};
        for (const auto& c : cases) {
            std::size_t steps = 0;
            EXPECT_EQ(MatchWildcard(c.pattern, c.text, &steps), c.want) << n << " " << c.pattern.substr(0, 20);
            const std::size_t words = (c.pattern.size() + 63) / 64;
            EXPECT_LE(steps, 8 * words * (c.pattern.size() + c.text.size())) << n << " " << c.pattern.substr(0, 20);
            if (c.pattern.find('?') == std::string::npos) {
                EXPECT_LE(steps, 8 * (c.pattern.size() + c.text.size())) << n << " " << c.pattern.substr(0, 20);
            }
        }
    }
}

TEST(ExtUtil, WideTextAndCodePage850)
{
    const std::string cell = CellTextFromWide(u"A");
    EXPECT_EQ(cell, std::string("|\\\0A", 4));
    EXPECT_EQ(WideFromCellText(cell), u"A");
    EXPECT_EQ(WideFromCellText(std::string("|\\\x04\x10\x04", 5)), u"\x0410");   // odd last byte ignored
    EXPECT_EQ(WideFromCellText("caf\xE9"), u"caf\u00E9");
    std::string oem = "\x82t\x82 \x9C";
    OemTextToAnsi(oem);
    EXPECT_EQ(oem, "\xE9t\xE9 \xA3");
    std::string mask = "secret";
    MaskText(mask, '*');
    EXPECT_EQ(mask, "******");
}

TEST(ExtUtil, MarkupToPlainText)
{
    EXPECT_EQ(HTMLToPlainText("a<b>b</b><BR>c"), "ab\r\nc");
    EXPECT_EQ(HTMLToPlainText("ab<c"), "ab<c");
    EXPECT_EQ(HTMLToPlainText("x<hr>y&amp;"), "x\r\ny&amp;");
}

TEST(ExtUtil, GradientBandsAndDarkenedColour)
{
    EXPECT_EQ(DarkenedColor(0xF0F0F0), 0x787878u);
    EXPECT_EQ(DarkenedColor(0x0000FF), 0x00007Fu);
    TBitmap bmp;
    bmp.SetSize(10, 20);
    DrawGradientBands(bmp.Canvas(), 0xFFFFFF, 0x000000, false, {0, 0, 10, 20}, 10);
    // Band i from y = 2i, grey 255 - round(i * 255 / 10).
    for (int i = 0; i < 10; ++i) {
        const int g = 255 + static_cast<int>(std::nearbyint(i * -255.0 / 10));
        EXPECT_EQ(bmp.Canvas().GetPixel(5, 2 * i) & 0xFF, static_cast<unsigned>(g)) << i;
    }
    DrawGradientBands(bmp.Canvas(), 0x0000FF, 0x0000FF, true, {0, 0, 10, 20}, 0);   // 0 counts as 1
    EXPECT_EQ(bmp.Canvas().GetPixel(9, 19), 0x0000FFu);
}
