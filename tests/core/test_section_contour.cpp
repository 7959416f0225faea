// Contours of a section: levels and colour tables as a table of cases, the nudge, the band polygons
// tiling the picture, the isolines open at the border and closed around a peak, and the smoothing.
#include "core/SectionContour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A section of `nx` x `nz` grid nodes over 0 ... 100 by 0 ... 50 with values f(j, k), meshed.
TSectionData GridSection(int nx, int nz, const std::function<double(int, int)>& f)
{
    TSectionData s;
    s.FPictureWidth = 1000;
    s.FPictureHeight = 500;
    arofdoubleM x(nx), d(nz);
    for (int j = 0; j < nx; ++j) x[j] = 100.0 * j / (nx - 1);
    for (int k = 0; k < nz; ++k) d[k] = 50.0 * k / (nz - 1);
    ararofdoubleM v(nx);
    for (int j = 0; j < nx; ++j) {
        v[j].SetLength(nz);
        for (int k = 0; k < nz; ++k) v[j][k] = f(j, k);
    }
    SetSectionGrid(s, x, d, v, arofdoubleM{}, 0);
    RebuildSectionMesh(s, true);
    return s;
}

double Area(const std::vector<TSectionShape::TPixel>& p)
{
    double a = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const auto& u = p[i];
        const auto& w = p[(i + 1) % p.size()];
        a += double(u.X) * w.Y - double(w.X) * u.Y;
    }
    return std::fabs(a) / 2;
}

} // namespace

TEST(SectionContour, LevelsAndColours)
{
    struct Case {
        const char* name;
        double lo, hi;
        bool logScale;
        int n;
        std::vector<double> levels;
    };
    const Case cases[] = {
        {"0 ... 100, 3 levels", 0, 100, false, 3, {20, 50, 80}},
        {"-2 ... 2, 3 levels", -2, 2, false, 3, {-1, 0, 1}},
        {"-2 ... 2, 4 levels: the zero snap", -2, 2, false, 4, {-1.2, 0, 0.4, 1.2}},
        {"log 1 ... 1000, 2 levels", 1, 1000, true, 2, {10, 100}},
        {"log over a range reaching 0 counts as linear", 0, 100, true, 3, {20, 50, 80}},
        // Less than 1e-7 apart: widened to 2.5 ... 10.0000001; one level rounds by the whole range.
        {"5 ... 5.00000005, one level", 5, 5.00000005, false, 1, {6.25000005}},
        {"0 ... 0 counts as 0 ... 1", 0, 0, false, 1, {0.5}},
    };
    for (const Case& c : cases) {
        TSectionData s = GridSection(3, 3, [](int j, int k) { return double(j + k); });
        s.FRangeMin = c.lo;
        s.FRangeMax = c.hi;
        s.FLogScale = c.logScale;
        s.FLevelCount = c.n;
        UpdateLevels(s);
        ASSERT_EQ(s.FLevels.Length(), c.n) << c.name;
        for (int i = 0; i < c.n; ++i) EXPECT_DOUBLE_EQ(s.FLevels[i], c.levels[i]) << c.name << ", level " << i;
    }

    // Band colours at ramp indices 0, 67, 133, 200; isoline colours at 0, 50, 100.
    TSectionData s = GridSection(3, 3, [](int j, int k) { return double(j + k); });
    s.FRangeMin = 0;
    s.FRangeMax = 100;
    s.FLevelCount = 3;
    UpdateLevels(s);
    const arofintM bands = ColorRamp(200, arofintM{clRed, clYellow, clGreen, clBlue});
    const arofintM lines = ColorRamp(200, arofintM{clBlue, clRed});
    EXPECT_EQ(s.FBandColors, (arofintM{bands[0], bands[67], bands[133], bands[200]}));
    EXPECT_EQ(s.FLineColors, (arofintM{lines[0], lines[50], lines[100]}));
    EXPECT_EQ(s.FBandColors[0], clRed);
    EXPECT_EQ(s.FBandColors[3], clBlue);
}

TEST(SectionContour, LevelCountOutOfRangeOrTooFewTrianglesKeepTheTables)
{
    TSectionData s = GridSection(3, 3, [](int j, int k) { return double(j + k); });
    s.FLevelCount = 3;
    UpdateLevels(s);
    const arofdoubleM kept = s.FLevels;
    for (int n : {0, 101, -4}) {
        s.FLevelCount = n;
        UpdateLevels(s);
        EXPECT_EQ(s.FLevels, kept) << n;
    }
    TSectionData two = GridSection(2, 2, [](int j, int k) { return double(j + k); }); // two triangles
    two.FLevelCount = 5;
    UpdateLevels(two);
    EXPECT_EQ(two.FLevels.Length(), 0);
}

TEST(SectionContour, EqualLevelsRoundByTheirMagnitude)
{
    // A range so narrow against its values that neighbouring levels are equal in doubles.
    TSectionData s = GridSection(3, 3, [](int j, int k) { return double(j + k); });
    s.FRangeMin = 1e10;
    s.FRangeMax = 1e10 + 2e-6;
    s.FLevelCount = 100;
    UpdateLevels(s);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(std::isfinite(s.FLevels[i])) << i;
        EXPECT_EQ(LevelDecimals(s, i), 0);
    }
}

TEST(SectionContour, NodesEqualToALevelAreNudged)
{
    TSectionData s = GridSection(3, 3, [](int j, int k) { return 50.0 * j + k; }); // node 4 is 50
    s.FRangeMin = 0;
    s.FRangeMax = 100;
    s.FLevelCount = 3;
    UpdateLevels(s);
    EXPECT_EQ(s.FNodes[4].Z, 50 + 50 / 100000.0 + 1e-20);
    EXPECT_EQ(s.FNodes[5].Z, 51); // not a level: untouched
    EXPECT_EQ(s.FNodes[1].Z, 0);  // 0 is no level here
}

TEST(SectionContour, BarDecimalsFollowTheSpacing)
{
    TSectionData s = GridSection(3, 3, [](int j, int k) { return double(j + k); });
    s.FLevels = arofdoubleM{-1.2, 0, 0.4, 1.2, 150};
    EXPECT_EQ(LevelDecimals(s, 0), 0); // the lowest: spacing 1.2 to the next higher, magnitude 1.2
    EXPECT_EQ(LevelDecimals(s, 1), 0); // zero
    EXPECT_EQ(LevelDecimals(s, 2), 1); // 0.4 above 0
    EXPECT_EQ(LevelDecimals(s, 3), 1); // 0.8 above 0.4
    EXPECT_EQ(LevelDecimals(s, 4), 0);
    s.FLevels = arofdoubleM{0.25};
    s.FRangeMin = 0;
    s.FRangeMax = 0.5; // one level: the whole range is the spacing
    EXPECT_EQ(LevelDecimals(s, 0), 1);
}

TEST(SectionContour, BandsTileThePicture)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-3, 7);
    for (int round = 0; round < 4; ++round) {
        TSectionData s = GridSection(12, 7, [&](int, int) { return u(rng); });
        s.FLevelCount = 4 + 3 * round;
        UpdateLevels(s);
        const TSectionPicture picture = RenderSection(s);
        double filled = 0;
        int polygons = 0;
        for (const TSectionShape& shape : picture) {
            if (!shape.Filled) continue;
            ++polygons;
            filled += Area(shape.Points);
            bool known = false;
            for (int k = 0; k < s.FBandColors.Length(); ++k) known = known || s.FBandColors[k] == shape.Color;
            EXPECT_TRUE(known);
        }
        EXPECT_GT(polygons, s.FTriangleCount);
        EXPECT_NEAR(filled, 1000.0 * 500.0, 1000.0 * 500.0 * 0.01) << "round " << round;
    }
}

TEST(SectionContour, OneBandPerTriangleBelowAboveAndFlat)
{
    TSectionData s = GridSection(3, 3, [](int j, int) { return double(j); });
    s.FLevels = arofdoubleM{5, 6};
    s.FBandColors = arofintM{1, 2, 3};
    s.FLineColors = arofintM{7, 8};
    TSectionPicture below;
    FillTriangleBands(s, 1, below);
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(below[0].Color, 1);
    EXPECT_EQ(below[0].Points.size(), 3u);
    s.FLevels = arofdoubleM{-6, -5};
    TSectionPicture above;
    FillTriangleBands(s, 1, above);
    ASSERT_EQ(above.size(), 1u);
    EXPECT_EQ(above[0].Color, 3);
    // A flat triangle on a level goes to that level's band (values up to the level).
    TSectionData flat = GridSection(3, 3, [](int, int) { return 1.0; });
    flat.FLevels = arofdoubleM{0, 1, 2};
    flat.FBandColors = arofintM{1, 2, 3, 4};
    TSectionPicture on;
    FillTriangleBands(flat, 1, on);
    ASSERT_EQ(on.size(), 1u);
    EXPECT_EQ(on[0].Color, 2);
}

TEST(SectionContour, IsolinesOpenAtTheBorderClosedAroundAPeak)
{
    // Values rising with x: each level runs from the top border to the bottom border.
    TSectionData ramp = GridSection(9, 5, [](int j, int) { return double(j); });
    ramp.FLevels = arofdoubleM{2.5, 5.5};
    ramp.FBandColors = arofintM{1, 2, 3};
    ramp.FLineColors = arofintM{7, 8};
    TSectionPicture lines;
    DrawIsolines(ramp, lines);
    ASSERT_EQ(lines.size(), 2u);
    for (const TSectionShape& line : lines) {
        EXPECT_FALSE(line.Filled);
        ASSERT_GE(line.Points.size(), 2u);
        // Starts and ends on the border rows, at the level's column (2.5 of 8 columns over 1000 px).
        EXPECT_EQ(std::min(line.Points.front().Y, line.Points.back().Y), 0);
        EXPECT_EQ(std::max(line.Points.front().Y, line.Points.back().Y), 500);
        const int column = line.Color == 7 ? 312 : 688; // 2.5 / 8 * 1000 and 5.5 / 8 * 1000, halves to even
        EXPECT_EQ(line.Points.front().X, column);
        for (const auto& p : line.Points) EXPECT_NEAR(p.X, column, 1);
    }

    // A peak in the middle: the level around it is one closed ring.
    TSectionData peak = GridSection(9, 9, [](int j, int k) { return -std::hypot(j - 4.0, k - 4.0); });
    peak.FLevels = arofdoubleM{-2.2};
    peak.FBandColors = arofintM{1, 2};
    peak.FLineColors = arofintM{7};
    TSectionPicture ring;
    DrawIsolines(peak, ring);
    ASSERT_EQ(ring.size(), 1u);
    EXPECT_EQ(ring[0].Points.front(), ring[0].Points.back());
    EXPECT_GT(ring[0].Points.size(), 20u);
}

TEST(SectionContour, SmoothLines)
{
    // Two points: a straight line.
    const auto two = DrawSmoothLine(arofcomplexM{{0, 0}, {10, 0}}, false);
    ASSERT_EQ(two.size(), 2u);
    // Three points: straight end pieces to the ends, one six-point piece between the midpoints.
    const auto three = DrawSmoothLine(arofcomplexM{{0, 0}, {10, 10}, {20, 0}}, false);
    ASSERT_EQ(three.size(), 8u);
    EXPECT_EQ(three.front(), (complexM{0, 0}));
    EXPECT_EQ(three[1], (complexM{5, 5}));     // the first midpoint
    EXPECT_EQ(three[3], (complexM{10, 7.5})); // t = 0.5 under the control point
    EXPECT_EQ(three[6], (complexM{15, 5}));
    EXPECT_EQ(three.back(), (complexM{20, 0}));
    // A traced loop ends with its start twice: the closed curve ends where it began.
    const auto loop = DrawSmoothLine(arofcomplexM{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {0, 0}}, true);
    ASSERT_EQ(loop.size(), 24u);
    EXPECT_EQ(loop.front(), loop.back());
}

TEST(SectionContour, ZeroSpansDrawNothing)
{
    TSectionData s = GridSection(3, 3, [](int j, int k) { return double(j + k); });
    s.FLevelCount = 3;
    UpdateLevels(s);
    EXPECT_FALSE(RenderSection(s).empty());
    s.FXMax = s.FXMin;
    EXPECT_TRUE(RenderSection(s).empty());
    s.FXMax = std::nan("");
    EXPECT_TRUE(RenderSection(s).empty());
}
