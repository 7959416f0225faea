// Screen arithmetic: halves to even, the guarded real-to-pixel conversion, MulDiv's rounding and its
// -1 results; and the code-page conversion of 8-bit text.

#include "platform/rtl/AnsiText.h"
#include "platform/rtl/PixelMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

TEST(PixelMath, RoundsHalvesToEven)
{
    struct Case { double In; int Out; };
    const Case cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                          {345.5, 346}, {344.5, 344}, {2.4999999, 2}, {2.5000001, 3}, {-7.0, -7}};
    for (const Case& c : cases) {
        EXPECT_EQ(PixelFromReal(c.In), c.Out) << c.In;
        EXPECT_EQ(RoundHalfEven(c.In), static_cast<double>(c.Out)) << c.In;
    }
}

// Rounding without the library: the nearest integer, halves to the even neighbour, over halves, values
// a hair beside them and reals across the whole int range.
TEST(PixelMath, RoundsInRangeAsTheNearestEvenInteger)
{
    std::vector<double> values{0.0, -0.0, 0.49999999999999994, -0.49999999999999994, 1e-300, 2147483646.5,
                               -2147483647.5, 2147483646.4999998, 8388607.5, -8388606.5};
    for (int i = -40; i <= 40; ++i) {
        values.push_back(i + 0.5);
        values.push_back(std::nextafter(i + 0.5, 1e9));
        values.push_back(std::nextafter(i + 0.5, -1e9));
    }
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> wide(-2.1e9, 2.1e9);
    for (int i = 0; i < 10000; ++i) values.push_back(wide(random));
    for (const double v : values) EXPECT_EQ(RoundHalfEvenInRange(v), static_cast<int>(std::nearbyint(v))) << v;
}

TEST(PixelMath, NoRealReachesACastUnguarded)
{
    const double inf = std::numeric_limits<double>::infinity();
    const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    struct Case { double In; int Round, Trunc; };
    const Case cases[] = {{std::nan(""), 0, 0}, {inf, hi, hi}, {-inf, lo, lo}, {1e300, hi, hi}, {-1e300, lo, lo},
                          {2147483647.4, hi, hi}, {2147483648.0, hi, hi}, {-2147483648.9, lo, lo},
                          {-3.7, -4, -3}, {3.7, 4, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(PixelFromReal(c.In), c.Round) << c.In;
        EXPECT_EQ(TruncFromReal(c.In), c.Trunc) << c.In;
    }
}

TEST(PixelMath, MulDivRoundsHalvesAwayFromZero)
{
    struct Case { int A, B, C, Out; };
    const Case cases[] = {
        {8, 96, 72, 11},            // 10.67
        {-11, 72, 96, -8},          // -8.25
        {5, 1, 2, 3},               // 2.5 away from zero
        {-5, 1, 2, -3},
        {5, -1, 2, -3},
        {5, 1, -2, -3},
        {-5, -1, -2, -3},
        {7, 3, 0, -1},              // zero divisor
        {0, 0, 0, -1},
        {2147483647, 2, 2, 2147483647},        // the 64-bit product does not overflow
        {2147483647, 2147483647, 2147483647, 2147483647},
        {2147483647, 4, 2, -1},                // the result does not fit
        {-2147483647 - 1, 1, 1, -2147483647 - 1},
        {-2147483647 - 1, -1, 1, -1},          // 2^31 does not fit
    };
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Out) << c.A << " " << c.B << " " << c.C;
}

TEST(AnsiText, WindowsCodePageAndBack)
{
    const std::string bytes = "A\x80\x92\xB0\xE9\x81\xFF";
    const std::u16string wide = AnsiToWide(bytes);
    EXPECT_EQ(wide, (std::u16string{u'A', 0x20AC, 0x2019, 0x00B0, 0x00E9, 0x0081, 0x00FF}));
    EXPECT_EQ(WideToAnsi(wide), bytes);
    EXPECT_EQ(WideToAnsi(u"\u4E2D\u00E9"), "?\xE9");
    // Every byte comes back, the five undefined ones included: the table holds no character twice.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
}
