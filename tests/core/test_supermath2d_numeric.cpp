// Numeric helpers: robust mean, extremes by mode, interpolation, signed logarithm and colour ramps.
#include "core/Supermath2d.h"

#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
constexpr double M = MissingValue;

// The passes as a plain scan: every pass sums the active elements afresh and looks at every one of them.
double RobustMeanByPasses(const arofdoubleM& values)
{
    const int n = CountValues(values);
    if (n == 0) return M;
    std::vector<bool> active(values.size());
    for (int i = 0; i < values.Length(); ++i) active[i] = values[i] != M;
    for (;;) {
        long double hi = 0, lo = 0; // a sum carrying its rounding error, so that no summation order shows
        int count = 0;
        for (int i = 0; i < values.Length(); ++i)
            if (active[i]) {
                const long double s = hi + values[i], back = s - hi;
                lo += (hi - (s - back)) + (values[i] - back);
                hi = s;
                ++count;
            }
        const double mean = static_cast<double>((hi + lo) / count);
        if (count <= 1 || 2 * (count - 1) < n) return mean;
        int farthest = -1;
        double distance = 0.1 * std::fabs(mean);
        for (int i = 0; i < values.Length(); ++i)
            if (active[i] && std::fabs(values[i] - mean) > distance) {
                farthest = i;
                distance = std::fabs(values[i] - mean);
            }
        if (farthest < 0) return mean;
        active[farthest] = false;
    }
}

} // namespace

TEST(RobustMean, Table)
{
    struct Case { arofdoubleM values; double mean; };
    const Case cases[] = {
        {{5, 5, 5}, 5},                  // equal values: the first pass finds nothing to drop
        {{1, 1, 1, 2}, 1},               // the outlier goes, then all sit on the mean
        {{M, M}, M},                     // nothing to average
        {{}, M},
        {{M, 4, M, 4, 100}, 4},          // missing elements never enter a mean
        {{7}, 7},
        {{2, 2, 2, 2, 50, -40}, 2},      // two outliers on both sides
        {{1, 3}, 3},                     // equal distances: the first one leaves
        {{3, 1}, 1},
        {{1, 2, 3, 4}, 3.5},             // uneven gaps: half of them stay
        {{4, 3, 2, 1}, 1.5},             // the same gaps in the other order: each tie drops the upper end
        {{9, 10, 11}, 10},               // exactly 10 % off the mean ends the passes
        {{9, 10, 11.5}, 9.5},            // more than 10 % off: the farther end goes
        {{-9, -10, -11}, -10},           // 10 % of |mean|
        {{0, 0, 0, 1}, 0},
        {{1, M, 2, M, 3, M, 4}, 3.5},    // half of the non-missing elements, not of the array
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RobustMean(c.values), c.mean) << ::testing::PrintToString(std::vector<double>(c.values.begin(), c.values.end()));
        EXPECT_EQ(RobustMeanByPasses(c.values), c.mean);
    }
    EXPECT_EQ(CountValues(arofdoubleM{M, 1, M, 0}), 2);
    EXPECT_TRUE(std::isnan(RobustMean(arofdoubleM{1, std::nan(""), 2})));
    EXPECT_EQ(RobustMean(arofdoubleM{1, HUGE_VAL, 2}), HUGE_VAL);
}

TEST(RobustMean, EqualsThePlainPassesOnRandomSets)
{
    std::uint32_t seed = 2024;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int set = 0; set < 1000; ++set) {
        arofdoubleM values;
        const int size = 1 + static_cast<int>(next(40));
        const bool grid = set % 2 == 0; // few distinct values: many ties, at both ends and across them
        for (int i = 0; i < size; ++i) {
            if (next(8) == 0) values.push_back(M);
            else if (grid) values.push_back(static_cast<double>(next(7)) * 0.5 - 1.0);
            else values.push_back(static_cast<double>(next(1u << 20)) / 997.0 * (next(10) == 0 ? 40.0 : 1.0));
        }
        EXPECT_EQ(RobustMean(values), RobustMeanByPasses(values))
            << ::testing::PrintToString(std::vector<double>(values.begin(), values.end()));
    }
    // Long sets, sorted by the values' bits: ties, both zeros and negative values among them.
    for (int set = 0; set < 10; ++set) {
        arofdoubleM values;
        const int size = 256 + static_cast<int>(next(300));
        for (int i = 0; i < size; ++i) {
            if (next(10) == 0) {
                values.push_back(M);
            } else if (set % 2 == 0) {
                const double v = static_cast<double>(next(9)) * 0.5 - 2.0;
                values.push_back(v == 0.0 && next(2) == 0 ? -0.0 : v);
            } else {
                values.push_back((static_cast<double>(next(1u << 20)) / 997.0 - 300.0) * (next(10) == 0 ? 40.0 : 1.0));
            }
        }
        EXPECT_EQ(RobustMean(values), RobustMeanByPasses(values)) << "long set " << set;
    }
}

TEST(RobustMean, SortByValueThenIndexGivesTheOrderOfTheLibrarySort)
{
    std::uint32_t seed = 77;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int size : {0, 1, 2, 255, 256, 257, 3000}) {
        for (int kind = 0; kind < 4; ++kind) {
            std::vector<std::pair<double, int>> order;
            for (int i = 0; i < size; ++i) {
                double v = 0.0;
                if (kind == 0) v = static_cast<double>(next(5)) - 2.0; // ties everywhere, zero the middle
                else if (kind == 1) v = (static_cast<double>(next(1u << 24)) - 8e6) * std::ldexp(1.0, static_cast<int>(next(200)) - 100);
                else if (kind == 2) v = 5.0 + std::ldexp(static_cast<double>(next(1u << 22)), -50); // low bits only
                else v = (static_cast<double>(next(1u << 24)) * 16777216.0 + next(1u << 24)) / 997.0; // every bit
                if (v == 0.0 && next(2) == 0) v = -0.0;
                order.push_back({v, i});
            }
            for (int i = size - 1; i > 0; --i) std::swap(order[i], order[next(static_cast<std::uint32_t>(i) + 1)]);
            std::vector<std::pair<double, int>> expected = order;
            std::sort(expected.begin(), expected.end());
            SortByValueThenIndex(order);
            ASSERT_EQ(order.size(), expected.size());
            for (std::size_t i = 0; i < order.size(); ++i) {
                ASSERT_EQ(order[i].second, expected[i].second) << "size " << size << " kind " << kind << " at " << i;
                ASSERT_EQ(std::signbit(order[i].first), std::signbit(expected[i].first));
            }
        }
    }
}

TEST(ExtremesByMode, ModesAndFallbacks)
{
    const arofdoubleM negatives{-3, M, -7};
    const arofdoubleM mixed{-3, 0, 5, M, 2, -1};
    const arofdoubleM none{M};
    struct Case { const arofdoubleM* values; int mode; double max, min; };
    const Case cases[] = {
        {&negatives, 2, -7, -3},     {&negatives, 1, -1e20, -1e20}, {&negatives, 0, -3, -7},
        {&mixed, 0, 5, -3},          {&mixed, 1, 5, 2},             {&mixed, 2, -3, -1},
        {&none, 0, -1e20, 1e20},     {&none, 1, -1e20, -1e20},      {&none, 2, 1e20, 1e20},
        {&mixed, 9, 5, -3},          // any other mode acts as mode 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MaxByMode(*c.values, c.mode), c.max) << "mode " << c.mode;
        EXPECT_EQ(MinByMode(*c.values, c.mode), c.min) << "mode " << c.mode;
    }
}

TEST(Interpolation, TableClampsAndInterpolates)
{
    const arofdoubleM x{0, 10}, y{1, 3};
    struct Case { double at, y; };
    for (const Case& c : {Case{5, 2}, Case{-4, 1}, Case{12, 3}, Case{0, 1}, Case{10, 3}})
        EXPECT_EQ(InterpolateTable(x, y, c.at), c.y) << c.at;
    EXPECT_EQ(InterpolateLinear(7, 2, 2, 5, 9), 5) << "x1 == x2 gives y1";
    EXPECT_EQ(InterpolateTable(arofdoubleM{}, arofdoubleM{}, 3), 0);
    EXPECT_EQ(InterpolateTable(arofdoubleM{0, 10, 20}, arofdoubleM{1, 3}, 15), 3) << "only paired entries count";
    // Repeated abscissae: x at the step takes the left value, past it the right one.
    EXPECT_EQ(InterpolateTable(arofdoubleM{0, 5, 5, 10}, arofdoubleM{0, 1, 2, 3}, 5), 1);
}

TEST(Interpolation, ResampleContinuesTheSearch)
{
    const arofdoubleM x{0, 10, 20}, y{0, 10, 40};
    EXPECT_EQ(ResampleTable(arofdoubleM{-1, 5, 10, 15, 25}, x, y), (arofdoubleM{0, 5, 10, 25, 40}));
    // The index is not reset, so a position behind the previous one uses the segment already reached.
    EXPECT_EQ(ResampleTable(arofdoubleM{15, 5}, x, y), (arofdoubleM{25, -5}));
}

TEST(Interpolation, Profile)
{
    EXPECT_EQ(InterpolateProfile(arofcomplexM{}, 3), 0);
    EXPECT_EQ(InterpolateProfile(arofcomplexM{{4, 7}}, -100), 7);
    const arofcomplexM p{{0, 0}, {10, 5}, {20, 5}};
    EXPECT_EQ(InterpolateProfile(p, 5), 2.5);
    EXPECT_EQ(InterpolateProfile(p, 30), 5);
    EXPECT_EQ(MakeProfilePoint(1, 2), (complexM{1, 2}));
}

TEST(SignedLog, InversePairAndSigns)
{
    EXPECT_DOUBLE_EQ(SignedLog(-9, 1), -1);
    EXPECT_DOUBLE_EQ(SignedPow10(-1, 1), -9);
    EXPECT_EQ(SignedLog(0, 1), 0);
    EXPECT_EQ(SignForLog(0), 1);
    EXPECT_EQ(SignForPow10(-0.5), -1);
    for (double v : {-1e6, -3.5, -1e-3, 0.0, 2e-4, 42.0, 7e8})
        for (double s : {0.01, 1.0, 250.0})
            EXPECT_NEAR(SignedPow10(SignedLog(v, s), s), v, 1e-9 * (std::fabs(v) + s)) << v << " scale " << s;
}

TEST(ColorRamp, Table)
{
    const TColor grey64 = RGB(64, 64, 64), grey128 = RGB(128, 128, 128), grey191 = RGB(191, 191, 191);
    struct Case { int n; arofintM keys; arofintM ramp; };
    const Case cases[] = {
        {4, {clBlack, clWhite}, {clBlack, grey64, grey128, grey191, clWhite}}, // 63.75 steps, halves to even
        {1, {clRed, clLime, clBlue}, {clRed, clLime}},                           // n <= K-1: the keys as they are
        {1, {clBtnFace, clRed}, {clBtnFace, clRed}},                             // ... unresolved
        {2, {clBtnFace, clWhite}, {clSilver, RGB(224, 224, 224), clWhite}},     // system colour resolved
        {4, {clRed, clLime, clBlue}, {clRed, RGB(128, 128, 0), clLime, RGB(0, 128, 128), clBlue}},
        {2, {clRed}, {clRed, clRed, clRed}},
        {2, {}, {0, 0, 0}},
        {-1, {clRed}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorRamp(c.n, c.keys), c.ramp) << "n " << c.n;
    // Keys land at floor(i * n / (K - 1)).
    const arofintM ramp = ColorRamp(7, arofintM{clRed, clLime, clBlue});
    EXPECT_EQ(ramp[3], clLime);
    EXPECT_EQ(ramp[7], clBlue);
}

TEST(NumericHelpers, ExpAndExchanges)
{
    EXPECT_EQ(ExpValues(arofdoubleM{0, 1}), (arofdoubleM{1, std::exp(1.0)}));
    double a = 1, b = 2;
    ExchangeDoubles(a, b);
    EXPECT_EQ(a, 2);
    complexM p{1, 2}, q{3, 4};
    SwapPoints(p, q);
    EXPECT_EQ(p, (complexM{3, 4}));
    std::int32_t i = 5, j = 6;
    SwapInts(i, j);
    EXPECT_EQ(i, 6);
}
