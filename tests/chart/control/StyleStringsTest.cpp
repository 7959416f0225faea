// Style strings of pens, brushes, gradients, fonts and shadows: the stored fixtures byte for byte, write -
// read - write stability over tables of settings, positional reading of damaged strings, the splitting
// helpers and the real format of axis strings under both display locales.
#include "chart/control/LumEngineStyleStrings.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasStyles.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/PixelMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

template <class T>
struct TCase {
    const char* Name;
    std::function<void(T&)> Set;
};

// Writes an object set by each case, reads the string back and writes the result again.
template <class T, class Read, class Write>
void ExpectStable(const std::vector<TCase<T>>& Cases, Read&& ReadStyle, Write&& WriteStyle)
{
    for (const TCase<T>& c : Cases) {
        T object;
        c.Set(object);
        const std::string first = WriteStyle(object);
        const std::string second = WriteStyle(*ReadStyle(first));
        EXPECT_EQ(second, first) << c.Name;
    }
}

// Restores the display settings a test changes.
struct TDisplayLocale {
    explicit TDisplayLocale(char Point) { FormatSettings().DecimalSeparator = Point; }
    ~TDisplayLocale() { ResetFormatSettings(); }
};

} // namespace

TEST(StyleStrings, StoredFixturesByteForByte)
{
    TChartBrush brush;
    brush.SetColor(clWhite);
    EXPECT_EQ(WriteBrushStyle(brush), "16777215#0");
    auto readBrush = ReadBrushStyle("16777215#0");
    EXPECT_EQ(readBrush->Color(), clWhite);
    EXPECT_EQ(readBrush->Style(), bsSolid);

    const TLumGradient gradient;
    const std::string gradientText = "50$0$0$536870911$65535$0$16777215$0";
    EXPECT_EQ(WriteGradientStyle(gradient), gradientText);
    EXPECT_EQ(WriteGradientStyle(*ReadGradientStyle(gradientText)), gradientText);
    EXPECT_FALSE(ReadGradientStyle(gradientText)->HasMidColor());

    const TChartPen pen;
    EXPECT_EQ(WritePenStyle(pen), "0&0&0&1&0&4&1");
    EXPECT_EQ(WritePenStyle(*ReadPenStyle("0&0&0&1&0&4&1")), "0&0&0&1&0&4&1");

    TLumShadow shadow;
    shadow.SetHorizSize(3);
    shadow.SetVertSize(5);
    shadow.SetColor(clSilver);
    EXPECT_EQ(WriteShadowStyle(shadow), "5@12632256@3@0@5");
    auto readShadow = ReadShadowStyle("5@12632256@3@0@5");
    EXPECT_EQ(readShadow->HorizSize(), 3);
    EXPECT_EQ(readShadow->VertSize(), 5);
    EXPECT_EQ(readShadow->Color(), clSilver);

    TLumFont font;
    font.SetName("Courier New");
    font.SetSize(8);
    font.SetStyle(TFontStyles{fsBold});
    const std::string fontText = "1^0^-11^0^8^96^0^0^50$0$0$536870911$65535$0$16777215$0^1000^Courier*New";
    EXPECT_EQ(WriteFontStyle(font), fontText);
    auto readFont = ReadFontStyle(fontText);
    EXPECT_EQ(readFont->Name(), "Courier New");
    EXPECT_EQ(readFont->Size(), 8);
    EXPECT_EQ(readFont->Style(), TFontStyles{fsBold});
    EXPECT_EQ(WriteFontStyle(*readFont), fontText);
}

TEST(StyleStrings, PensBrushesGradientsAndShadowsAreStable)
{
    ExpectStable<TChartPen>(
        {
            {"system colour, first ends", [](TChartPen& p) { p.SetColor(clBtnFace); p.SetMode(pmBlack); }},
            {"no colour, last ends",
             [](TChartPen& p) {
                 p.SetColor(clNone);
                 p.SetEndStyle(esFlat);
                 p.SetStyle(psAlternate);
                 p.SetMode(pmNotXor);
             }},
            {"default colour, hidden small dots",
             [](TChartPen& p) {
                 p.SetColor(clDefault);
                 p.SetVisible(false);
                 p.SetSmallDots(true);
                 p.SetWidth(0);
             }},
            {"wide dashes", [](TChartPen& p) { p.SetStyle(psDashDotDot); p.SetWidth(2147483647); }},
        },
        ReadPenStyle, WritePenStyle);

    ExpectStable<TChartBrush>(
        {
            {"system colour, solid", [](TChartBrush& b) { b.SetColor(clBtnFace); b.SetStyle(bsSolid); }},
            {"no colour, last named style", [](TChartBrush& b) { b.SetColor(clNone); b.SetStyle(bsDiagCross); }},
            {"default colour, a pattern", [](TChartBrush& b) { b.SetStyleNumber(FirstPatternBrushStyle + 48); }},
            {"the last style number", [](TChartBrush& b) { b.SetStyleNumber(255); }},
        },
        ReadBrushStyle, WriteBrushStyle);

    ExpectStable<TLumGradient>(
        {
            {"first ends",
             [](TLumGradient& g) {
                 g.SetBalance(0);
                 g.SetDirection(gdTopBottom);
                 g.SetStartColor(clBtnFace);
                 g.SetEndColor(clDefault);
             }},
            {"last ends with a middle colour",
             [](TLumGradient& g) {
                 g.SetBalance(100);
                 g.SetDirection(gdDiagonalDown);
                 g.SetMidColor(clRed);
                 g.SetRadialX(-10);
                 g.SetRadialY(20);
                 g.SetVisible(true);
             }},
        },
        ReadGradientStyle, WriteGradientStyle);

    ExpectStable<TLumShadow>(
        {
            {"wider than high", [](TLumShadow& s) { s.SetHorizSize(7); s.SetVertSize(2); s.SetTransparency(100); }},
            {"negative sizes, no colour",
             [](TLumShadow& s) {
                 s.SetHorizSize(-4);
                 s.SetVertSize(-9);
                 s.SetColor(clNone);
             }},
            {"system colour", [](TLumShadow& s) { s.SetColor(clBtnShadow); s.SetTransparency(0); }},
        },
        ReadShadowStyle, WriteShadowStyle);
}

TEST(StyleStrings, FontsAreStable)
{
    ExpectStable<TLumFont>(
        {
            {"a name with blanks",
             [](TLumFont& f) {
                 f.SetName("MS Sans Serif");
                 f.SetSize(12);
                 f.SetCharset(0);
                 f.SetPitch(fpDefault);
             }},
            {"every style, last ends",
             [](TLumFont& f) {
                 f.SetStyle(TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut});
                 f.SetCharset(255);
                 f.SetPitch(fpFixed);
                 f.SetColor(clBtnText);
                 f.SetInterCharSize(-2);
             }},
            {"underline only, no colour", [](TLumFont& f) { f.SetStyle(TFontStyles{fsUnderline}); f.SetColor(clNone); }},
            {"a gradient of its own",
             [](TLumFont& f) {
                 f.Gradient().SetDirection(gdRadial);
                 f.Gradient().SetMidColor(clGreen);
                 f.Gradient().SetVisible(true);
                 f.Gradient().SetBalance(17);
             }},
        },
        ReadFontStyle, WriteFontStyle);

    TLumFont font;
    font.SetName("MS Sans Serif");
    EXPECT_TRUE(WriteFontStyle(font).ends_with("^MS*Sans*Serif"));
    EXPECT_EQ(ReadFontStyle(WriteFontStyle(font))->Name(), "MS Sans Serif");

    // The nested gradient keeps its own separator inside the font string.
    font.Gradient().SetStartColor(clAqua);
    font.Gradient().SetDirection(gdFromTopLeft);
    auto back = ReadFontStyle(WriteFontStyle(font));
    EXPECT_EQ(WriteGradientStyle(back->Gradient()), WriteGradientStyle(font.Gradient()));

    // A line break in a name cannot stand in a line of the settings file.
    font.SetName("Two\r\nLines");
    EXPECT_TRUE(WriteFontStyle(font).ends_with("^Two**Lines"));
    EXPECT_EQ(ReadFontStyle(WriteFontStyle(font))->Name(), "Two  Lines");
}

TEST(StyleStrings, FontHeightComesFromTheSizeAtNinetySixPixelsPerInch)
{
    TLumFont font;
    font.SetPixelsPerInch(120);
    font.SetSize(10);  // height -17 at 120 pixels per inch
    const std::string text = WriteFontStyle(font);
    EXPECT_NE(text.find("^-17^0^10^120^"), std::string::npos) << text;
    auto back = ReadFontStyle(text);
    EXPECT_EQ(back->Height(), -MulDiv(10, 96, 72)) << "the size decides the height before the pixels per inch";
    EXPECT_EQ(back->PixelsPerInch(), 120);
}

TEST(StyleStrings, UncarriedSettingsComeBackAtTheConstructorsValues)
{
    TChartPen pen;
    pen.SetSmallSpace(3);
    EXPECT_EQ(ReadPenStyle(WritePenStyle(pen))->SmallSpace(), TChartPen().SmallSpace());

    TLumShadow shadow;
    shadow.SetSmooth(false);
    EXPECT_EQ(ReadShadowStyle(WriteShadowStyle(shadow))->Smooth(), TLumShadow().Smooth());

    TChartBrush brush;
    TBitmap picture(4, 4);
    brush.Image().SetGraphic(&picture);
    ASSERT_TRUE(brush.HasImage());
    EXPECT_FALSE(ReadBrushStyle(WriteBrushStyle(brush))->HasImage());

    TLumFont font;
    font.OutLine().SetColor(clRed);
    font.Shadow().SetHorizSize(4);
    auto back = ReadFontStyle(WriteFontStyle(font));
    EXPECT_FALSE(back->HasOutLine());
    EXPECT_FALSE(back->HasShadow());
}

TEST(StyleStrings, ObjectReadersTakeEachFieldFromItsOwnPlace)
{
    const TChartPen fresh;
    struct Case {
        const char* Text;
        TColor Color;
        bool SmallDots;
        TPenEndStyle EndStyle;
        bool Visible;
        TPenStyle Style;
        TPenMode Mode;
        int Width;
    };
    const Case cases[] = {
        // A token that is no number keeps the field's default, the fields behind keep their places.
        {"255&x&2&0&3&14&5", 255, false, esFlat, false, psDashDot, pmXor, 5},
        // Ordinals outside their enumerations.
        {"255&1&3&0&9&16&5", 255, true, esRound, false, psSolid, pmCopy, 5},
        {"255&1&-1&0&-1&-1&5", 255, true, esRound, false, psSolid, pmCopy, 5},
        // A number outside 32 bits.
        {"4294967296&1&1&1&1&1&2147483648", fresh.Color(), true, esSquare, true, psDash, pmWhite, fresh.Width()},
        // Missing fields at the end; a Boolean is its low byte.
        {"255&256", 255, false, esRound, true, psSolid, pmCopy, 1},
        {"", fresh.Color(), false, esRound, true, psSolid, pmCopy, 1},
        // Decimal commas and points, halves to even.
        {"1,5&0,5&1.5&1&0&4&2,5", 2, false, esFlat, true, psSolid, pmCopy, 2},
        // Blanks and tabs between fields count as separators, runs of them as one.
        {"  7 &&\t1", 7, true, esRound, true, psSolid, pmCopy, 1},
    };
    for (const Case& c : cases) {
        auto pen = ReadPenStyle(c.Text);
        EXPECT_EQ(pen->Color(), c.Color) << c.Text;
        EXPECT_EQ(pen->SmallDots(), c.SmallDots) << c.Text;
        EXPECT_EQ(pen->EndStyle(), c.EndStyle) << c.Text;
        EXPECT_EQ(pen->Visible(), c.Visible) << c.Text;
        EXPECT_EQ(pen->Style(), c.Style) << c.Text;
        EXPECT_EQ(pen->Mode(), c.Mode) << c.Text;
        EXPECT_EQ(pen->Width(), c.Width) << c.Text;
    }

    // A damaged brush of a polygon keeps its style in place.
    auto brush = ReadBrushStyle("12x#3");
    EXPECT_EQ(brush->Color(), TChartBrush().Color());
    EXPECT_EQ(brush->Style(), bsVertical);
    EXPECT_EQ(ReadBrushStyle("255#256")->Style(), bsSolid);

    // Shadow transparency is a percent; the size field sets both sizes before they come.
    auto shadow = ReadShadowStyle("6@0@x@101");
    EXPECT_EQ(shadow->HorizSize(), 6);
    EXPECT_EQ(shadow->VertSize(), 6);
    EXPECT_EQ(shadow->Transparency(), 0);

    // A font whose gradient field is damaged keeps its style and name where they stand.
    auto font = ReadFontStyle("0^255^-11^0^x^96^0^7^junk^0101^Arial*Black");
    EXPECT_EQ(font->Charset(), 0);
    EXPECT_EQ(font->Color(), 255);
    EXPECT_EQ(font->Height(), -11);
    EXPECT_EQ(font->Pitch(), fpDefault);
    EXPECT_EQ(font->Style(), (TFontStyles{fsItalic, fsStrikeOut}));
    EXPECT_EQ(font->Name(), "Arial Black");
    EXPECT_EQ(WriteGradientStyle(font->Gradient()), WriteGradientStyle(TLumGradient()));
    EXPECT_EQ(ReadFontStyle("256^1")->Charset(), TLumFont().Charset());
}

TEST(StyleStrings, SplittingHelpers)
{
    EXPECT_EQ(ReplaceCharByBlank("1~2~~3", '~'), "1 2  3");
    EXPECT_EQ(ReplaceCharByBlank("", '~'), "");

    struct SplitCase {
        const char* Text;
        int Start;
        std::vector<std::string> Fields;
    };
    const SplitCase splits[] = {
        {"a b  c", 0, {"a", "b", "c"}},
        {"\t a\t\tb ", 0, {"a", "b"}},
        {"a b c d", 2, {"c", "d"}},
        {"a b", 5, {}},
        {"", 0, {}},
        {"   \t ", 0, {}},
        {"x\ry z", 0, {"x\ry", "z"}},
    };
    for (const SplitCase& c : splits) {
        const LUMarofstr fields = SplitBlankFields(c.Text, c.Start);
        EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()), c.Fields) << c.Text;
    }

    struct IntCase {
        const char* Text;
        int Start;
        std::vector<std::int32_t> Values;
    };
    const IntCase ints[] = {
        {"1 -2 3", 0, {1, -2, 3}},
        {"0,5 1,5 2,5 -0,5 -1,5", 0, {0, 2, 2, 0, -2}},
        {"0.5 1.5 2.5", 0, {0, 2, 2}},
        {"1e3 2E-1 -1.5e1", 0, {1000, 0, -15}},
        {"7 x 8 1,2,3 9", 0, {7, 8, 9}},
        // Tokens that are no number are counted: the start index counts them too.
        {"x 5 6", 1, {5, 6}},
        {"x 5 6", 2, {6}},
        {"\t 4\t\t5 ", 1, {5}},
        {"4294967296 -2147483648 2147483647 2147483647.6", 0, {-2147483647 - 1, 2147483647}},
        {"", 0, {}},
    };
    for (const IntCase& c : ints) {
        const LUMarofint values = ParseIntegerList(c.Text, c.Start);
        EXPECT_EQ(std::vector<std::int32_t>(values.begin(), values.end()), c.Values) << c.Text;
    }
}

TEST(StyleStrings, RealsInTheGeneralFormWithAPointUnderAnyLocale)
{
    struct Case {
        double Value;
        const char* Text;
    };
    const Case cases[] = {
        {0.01, "0.01"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1e-10, "1E-10"},
        {123456789, "123456789"},
        {1e15, "1E15"},
        {1e14, "100000000000000"},
        {-0.01, "-0.01"},
        {-0.00001, "-1E-5"},
        {-123456789, "-123456789"},
        {0, "0"},
        {-123.456, "-123.456"},
        {1.0 / 3, "0.333333333333333"},
        {-2.0 / 3, "-0.666666666666667"},
        {999999999999999.9, "1E15"},
        {123456789012345678.0, "1.23456789012346E17"},
        {0.1 + 0.2, "0.3"},
    };
    for (char point : {'.', ','}) {
        TDisplayLocale locale(point);
        for (const Case& c : cases)
            EXPECT_EQ(TStyleStringWriter('~').Real(c.Value).Text(), c.Text) << c.Value << " under " << point;
    }
}
