// FormatFloat pictures and FloatToStr's general form, with English and with swapped separators.
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <limits>

TEST(FloatFormat, PicturesWithEnglishSeparators)
{
    struct Case { const char* format; double value; const char* text; };
    const Case cases[] = {
        {"#,##0.###", 1234.5, "1,234.5"},
        {"#,##0.###", 0, "0"},
        {"#,##0.###", -1234567.8915, "-1,234,567.892"},
        {"#,##0.###", -0.0004, "0"},              // rounds to zero: no minus
        {"#,##0.###", 999.9996, "1,000"},         // rounding carries into a new group
        {"##0.###", 12.3456, "12.346"},
        {"##0.###", 123456, "123456"},            // digits beyond the placeholders stay
        {"0.00", 1.5, "1.50"},
        {"#.##", 0.5, ".5"},
        {"000", 7, "007"},
        {"0\"0\"e-0", 1000, "10e3"},              // the logarithmic axis' label picture
        {"0\"0\"e-0", 0.01, "10e-2"},
        {"0\"0\"e-0", 0, "00e0"},
        {"0.00E+00", 1234, "1.23E+03"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"00.0E+0", 1234, "12.3E+2"},
        {"#.0 \"x10\" E+0", 2500, "2.5 x10 E+3"},
        {"##0.## %", 25, "25 %"},
        {"0.0;(0.0)", -2.5, "(2.5)"},
        {"0.0;(0.0);zero", 0, "zero"},
        {"0.0;;zero", -0.01, "zero"},             // rounds to zero: the zero section
        {"'#'0", 5, "#5"},
        {"", 1.5, "1.5"},
    };
    TFormatSettings fs;
    for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.format, c.value, fs), c.text) << c.format << " " << c.value;
}

TEST(FloatFormat, SeparatorsComeFromTheSettings)
{
    TFormatSettings fs;
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5, fs), "1.234,5");
    EXPECT_EQ(FormatFloat("0.00E+00", 1234, fs), "1,23E+03");
    EXPECT_EQ(FloatToStr(-2.5, fs), "-2,5");
    EXPECT_EQ(FloatToStr(1.5e-7, fs), "1,5E-7");
}

TEST(FloatFormat, FloatToStrGeneralForm)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {0, "0"},
        {0.01, "0.01"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1e-10, "1E-10"},
        {123456789, "123456789"},
        {1e15, "1E15"},
        {123456789012345, "123456789012345"},
        {1234567890123456, "1.23456789012346E15"},
        {0.1 + 0.2, "0.3"},                          // 15 significant digits hide the binary error
        {-2.5, "-2.5"},
        {100, "100"},
        {std::numeric_limits<double>::infinity(), "INF"},
    };
    TFormatSettings fs;
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value, fs), c.text) << c.value;
}

TEST(FloatFormat, StrToFloatReadsTheSettingsSeparator)
{
    struct Case { char separator; const char* text; bool ok; double value; };
    const Case cases[] = {
        {'.', "1.5", true, 1.5},      {'.', " -2.25 ", true, -2.25}, {'.', "1e3", true, 1000},
        {'.', "1,5", false, 0},       {'.', "", false, 0},           {'.', "abc", false, 0},
        {',', "1,5", true, 1.5},      {',', "1.5", false, 0},        {',', "12", true, 12},
    };
    for (const Case& c : cases) {
        TFormatSettings fs;
        fs.DecimalSeparator = c.separator;
        double v = -1;
        EXPECT_EQ(TryStrToFloat(c.text, v, fs), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
    try {
        StrToFloat("x1");
        ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x1' is not a valid floating point value");
    }
}
