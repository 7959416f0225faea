// Locale-free number formatting, the format-settings object and the system colour table.
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(NumberFormat, Real23FormAndReadBack)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {2.0, " 2.00000000000000E+0000"},
        {-1.5e-3, "-1.50000000000000E-0003"},
        {0.0, " 0.00000000000000E+0000"},
        {-0.0, " 0.00000000000000E+0000"},
        {123456789.0, " 1.23456789000000E+0008"},
        {9.999999999999999e5, " 1.00000000000000E+0006"},          // rounding carries into the exponent
        {5e-324, " 4.94065645841247E-0324"},                       // smallest subnormal
        {DBL_MAX, " 1.79769313486231E+0308"},                      // cut, not rounded past the range
        {-DBL_MAX, "-1.79769313486231E+0308"},
        {Inf, "INF"}, {-Inf, "-INF"}, {NaN, "NAN"},
    };
    for (const Case& c : cases) {
        const std::string text = FormatReal23(c.value);
        EXPECT_EQ(text, c.text) << c.value;
        if (!std::isfinite(c.value)) continue;
        EXPECT_EQ(text.size(), 23u);
        double back = 0;
        ASSERT_TRUE(TryParseNumber(text, back)) << text;
        EXPECT_NEAR(back, c.value, std::fabs(c.value) * 1e-14) << text;
    }
}

TEST(NumberFormat, Real23KeepsFifteenSignificantDigits)
{
    // Any 15-digit decimal survives double -> text -> double -> text unchanged.
    for (double v : {0.1, 1.0 / 3.0, 2.718281828459045, -6.02214076e23, 1e-300, 299792.458}) {
        const std::string text = FormatReal23(v);
        double back = 0;
        ASSERT_TRUE(TryParseNumber(text, back));
        EXPECT_EQ(FormatReal23(back), text);
        EXPECT_LE(std::fabs(back - v), std::fabs(v) * 5e-15);
    }
}

TEST(NumberFormat, FixedAndGeneral)
{
    EXPECT_EQ(FormatFixed(12.3456, 2), "12.35");
    EXPECT_EQ(FormatFixed(-0.0001, 2), "0.00") << "no sign on a zero result";
    EXPECT_EQ(FormatFixed(-2.5, 0), "-2");
    EXPECT_EQ(FormatFixed(1e20, 0), "100000000000000000000");
    EXPECT_EQ(FormatFixed(0.05, -3), "0") << "negative decimals act as 0";
    EXPECT_EQ(FormatFixed(-Inf, 3), "-INF");

    struct Case { double value; int digits; const char* text; };
    const Case cases[] = {
        {1.2345e-6, 5, "1.2345E-6"}, {1.5e12, 4, "1.5E12"},  {12345.0, 5, "12345"},
        {123456.0, 5, "1.2346E5"},   {99999.5, 5, "1E5"},    {0.00001, 3, "0.00001"},
        {0.0000099, 3, "9.9E-6"},    {-0.25, 15, "-0.25"},   {0.0, 7, "0"},
        {3.0, 0, "3"},               {NaN, 4, "NAN"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatGeneral(c.value, c.digits), c.text) << c.value;
    EXPECT_EQ(FormatGeneral(-1.25, 3, ','), "-1,25");
}

TEST(FormatSettings, DefaultsAndReset)
{
    ResetFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
    EXPECT_EQ(FormatSettings().ThousandSeparator, ',');
    EXPECT_EQ(FormatSettings().ShortDateFormat, "M/d/yyyy");
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().LongTimeFormat = "HH:mm:ss";
    ResetFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
    EXPECT_EQ(FormatSettings().LongTimeFormat, "h:mm:ss AMPM");
}

TEST(SystemColors, IndexesResolveThroughTheFixedTable)
{
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clWindow), 0xFF000005u);
    EXPECT_EQ(static_cast<std::uint32_t>(clMenuBar), 0xFF00001Eu);
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clHighlight), clNavy);
    EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack) << "an index past the table";
    // Plain colours and the two markers pass unchanged.
    for (TColor c : {clRed, clBlue, clNone, clDefault, TColor(0x00C0C0C1)}) EXPECT_EQ(ColorToRGB(c), c);
    EXPECT_FALSE(IsSystemColor(clNone));
    EXPECT_EQ(RGB(1, 2, 3), 0x030201);
    EXPECT_EQ(GetBValue(clBlue), 255);
}
