// Number text of the core: StrToValue, FormatValue, FormatPrecision, JoinValues, the tokeniser and the
// array helpers.
#include "core/Supermath2d.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr double M = MissingValue;

std::vector<std::string> Strings(const arofstrM& a) { return {a.begin(), a.end()}; }
std::vector<double> Doubles(const arofdoubleM& a) { return {a.begin(), a.end()}; }
std::vector<int> Ints(const arofintM& a) { return {a.begin(), a.end()}; }

} // namespace

TEST(StrToValue, TextTable)
{
    struct Case { const char* text; double value; };
    const Case cases[] = {
        {"1,5", 1.5},   {"1,5,6", M},  {"  7", 7},     {"7 ", M},      {"", M},        {".", 0},
        {"e5", 0},      {"1e", M},     {"+", M},       {"-", M},       {"2e3", 2000},  {"inf", M},
        {"nan", M},     {"0x10", M},   {"1e999", M},   {"1e-999", 0},  {"\t7", M},     {"-.5", -0.5},
        {"+3.", 3},     {"1.2.3", M},  {"1,5e2", 150}, {"1;5", M},     {"123456789", M},
    };
    for (const Case& c : cases) EXPECT_EQ(StrToValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(StrToValue, Bounds)
{
    struct Case { const char* text; bool inclusive; double low, high, value; };
    const Case cases[] = {
        {"0.5", true, 0.5, 300, 0.5},  {"0.5", false, 0.5, 300, M}, {"300", true, 0.5, 300, 300},
        {"300", false, 0.5, 300, M},   {"5", false, 3, 3, 5},        {"-5", false, 0, 10, -5},
        {"50", false, -10, 0, 50},     {"-20", true, -10, 0, M},     {"x", true, 0, 0, M},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToValue(c.text, c.inclusive, c.low, c.high), c.value)
            << c.text << " in " << c.low << ".." << c.high << (c.inclusive ? " inclusive" : "");
}

TEST(FormatValue, Table)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { double value; int decimals; bool adaptive; const char* text; };
    const Case cases[] = {
        {M, 2, true, "*"},          {2.5, 1, true, "2.50"},      {0.05, 1, true, "0.050"},
        {3.0, 1, true, "3"},        {12.3456, 2, false, "12.35"}, {-4.0, 3, true, "-4"},
        {0.5, 2, true, "0.500"},    {0.05, 2, true, "0.0500"},   {-0.0, 2, true, "0"},
        {1e20, 2, true, "100000000000000000000"},
        {inf, 2, true, "INF"},      {-inf, 2, true, "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), 2, true, "NAN"},
        {1e-5 * 1.5, 0, true, "0.00002"}, {-1234.5678, 0, false, "-1235"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatValue(c.value, c.decimals, c.adaptive), c.text) << c.value;
    // A huge value is integral and written as its plain digits, never through an integer type.
    EXPECT_EQ(FormatValue(1e300).size(), 301u);
    // Non-finite text reads back as the missing value.
    EXPECT_EQ(StrToValue(FormatValue(inf)), M);
}

TEST(FormatPrecision, UsesTheDisplayDecimalSeparator)
{
    ResetFormatSettings();
    EXPECT_EQ(FormatPrecision(5, M), "*");
    EXPECT_EQ(FormatPrecision(5, 1.2345e-6), "1.2345E-6");
    EXPECT_EQ(FormatPrecision(4, 2.5), "2.5");
    EXPECT_EQ(FormatPrecision(3, 12345), "1.23E4");
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(FormatPrecision(4, 2.5), "2,5");
    EXPECT_EQ(FormatValue(2.5, 1, true), "2.50") << "FormatValue always writes '.'";
    ResetFormatSettings();
}

TEST(JoinValues, BlankBetweenValuesNoneAfter)
{
    EXPECT_EQ(JoinValues(arofdoubleM{1, 2.5, M}, "v:", 1, true), "v:1 2.50 *");
    EXPECT_EQ(JoinValues(arofdoubleM{}, "p", 1, true), "p");
}

TEST(Tokeniser, SeparatorsAndTrailingBlanks)
{
    using V = std::vector<std::string>;
    struct Case { const char* text; int skip; V tokens; };
    const Case cases[] = {
        {"a b  ", 0, {"a", "b", ""}},   // two trailing blanks: a final empty token
        {"a b ", 0, {"a", "b"}},        // one trailing blank adds nothing
        {"   ", 0, {""}},               // separators only
        {"", 0, {}},
        {"a", 0, {"a"}},
        {"\ta \t b", 0, {"a", "b"}},    // runs of blanks and tabs count as one
        {"a\t\t", 0, {"a", ""}},
        {"x y z", 2, {"z"}},
        {"x y", 5, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Strings(SplitToStrings(c.text, c.skip)), c.tokens) << '"' << c.text << '"';
}

TEST(Tokeniser, NumbersKeepOnlyWhatConverts)
{
    EXPECT_EQ(Doubles(SplitToDoubles("1 x 3", 1)), std::vector<double>{3}) << "'x' is token 1 and is dropped";
    EXPECT_EQ(Doubles(SplitToDoubles("1,5 2e1 inf 7  ")), (std::vector<double>{1.5, 20, 7}));
    EXPECT_EQ(Ints(SplitToInts("2.5 3.5 -2.5 0.4 x 1e10 -7")), (std::vector<int>{2, 4, -2, 0, -7}))
        << "halves round to even; values beyond 32 bits are dropped";
    EXPECT_EQ(Ints(SplitToInts("2147483647 -2147483648")), (std::vector<int>{2147483647, -2147483647 - 1}));
}

TEST(ArrayHelpers, FillCopyDelete)
{
    arararofdoubleM cube(2);
    cube[1].SetLength(2);
    cube[1][1].SetLength(3);
    FillCube(cube, 4.0);
    EXPECT_EQ(cube[1][1][2], 4.0);

    arofdoubleM source{1, 2, 3};
    arofdoubleM copy = CopyDoubles(source);
    copy[0] = 9;
    EXPECT_EQ(source[0], 1);

    using D = std::vector<double>;
    EXPECT_EQ(Doubles(DeleteDoubleAt(source, 7)), (D{1, 2})) << "past the end removes the last";
    EXPECT_EQ(Doubles(DeleteDoubleAt(source, 0)), (D{2, 3}));
    EXPECT_EQ(Doubles(DeleteDoubleAt(source, 1)), (D{1, 3}));
    EXPECT_EQ(Doubles(source), (D{1, 2, 3})) << "the source stays";
    EXPECT_TRUE(DeleteDoubleAt(arofdoubleM{}, 0).empty());
    EXPECT_THROW(DeleteDoubleAt(source, -1), ERangeError);
    arofboolM flags = DeleteBoolAt(arofboolM{true, false, true}, 1);
    EXPECT_EQ(flags, (arofboolM{true, true}));
}
