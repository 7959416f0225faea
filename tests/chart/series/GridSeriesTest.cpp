// The grid series base (regular and irregular index, guarded sizes, generation and what an exception
// leaves) and the contour series' model: one-cell contours, segment ends on the level, joining against a
// literal reference joiner, closed and open lines of a cone, automatic and hand-made levels, legend.
#include "SeriesTestSupport.h"

#include "chart/control/ChartRegistry.h"
#include "chart/series/LumSurfaContour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// A grid series that cannot generate (no handler, no sample mode) to hold points as given.
struct TGridHolder {
    TContourSeries Series{nullptr};

    void Put(double X, double Y, double Z) { Series.AppendXYZ(X, Y, Z); }
};

} // namespace

// ---- Grid index ---------------------------------------------------------------------------------------------

TEST(GridIndex, RegularAndIrregularCases)
{
    struct TCase {
        const char* what;
        bool irregular;
        std::vector<std::array<double, 2>> xz; // the points' X and Z in order
        int numX, numZ;
        // Expected index entries: column, row, point (-1: missing).
        std::vector<std::array<int, 3>> entries;
    };
    const TCase cases[] = {
        {"3 x 2 regular", false, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}}, 3, 2,
         {{1, 1, 0}, {2, 1, 1}, {3, 1, 2}, {1, 2, 3}, {3, 2, 5}, {0, 1, -1}, {1, 0, -1}}},
        {"a later point replaces", false, {{1, 1}, {2, 1}, {3, 1}, {2, 1}}, 3, 1, {{2, 1, 3}, {1, 1, 0}}},
        {"halves to even leave a gap column", false, {{0.5, 1}, {2.5, 1}}, 3, 1, {{1, 1, 0}, {2, 1, -1}, {3, 1, 1}}},
        {"irregular distinct values", true, {{10, 1}, {0.5, 1}, {7, 1}, {0.5, 1}}, 3, 1,
         {{1, 1, 3}, {2, 1, 2}, {3, 1, 0}}},
        {"irregular rows", true, {{1, 0.25}, {1, -4}, {2, 0.25}}, 2, 2, {{1, 1, 1}, {1, 2, 0}, {2, 2, 2}, {2, 1, -1}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TGridHolder g;
        g.Series.SetIrregularGrid(c.irregular);
        for (const auto& p : c.xz) g.Put(p[0], 0, p[1]);
        g.Series.RebuildGridIndex();
        EXPECT_EQ(g.Series.NumXValues(), c.numX);
        EXPECT_EQ(g.Series.NumZValues(), c.numZ);
        for (const auto& e : c.entries) EXPECT_EQ(g.Series.GridIndex(e[0], e[1]), e[2]) << e[0] << ", " << e[1];
    }
}

TEST(GridIndex, IrregularHasNoLimitOnDistinctValues)
{
    TGridHolder g;
    g.Series.SetIrregularGrid(true);
    const int n = 20001;
    for (int i = 0; i < n; ++i) g.Put((n - i) * 0.37, 0, i % 2 ? 1.5 : 2.5);
    g.Series.RebuildGridIndex();
    EXPECT_EQ(g.Series.NumXValues(), n);
    EXPECT_EQ(g.Series.NumZValues(), 2);
    EXPECT_EQ(g.Series.GridIndex(n, 2), 0) << "the first point has the largest X and Z 2.5";
    EXPECT_EQ(g.Series.GridIndex(1, 2), n - 1);
    EXPECT_EQ(g.Series.GridIndex(2, 1), n - 2);
    EXPECT_EQ(g.Series.GridIndex(1, 1), -1);
}

TEST(GridIndex, StrayOrNonFiniteCoordinatesBuildNoIndex)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        bool irregular;
        double x, z;
    } cases[] = {
        {"X of 1e9, regular", false, 1e9, 1},
        {"Z of -1e9, regular", false, 2, -1e9},
        {"X of 1e300, regular", false, 1e300, 1},
        {"NaN X, regular", false, nan, 1},
        {"NaN Z, irregular", true, 2, nan},
        {"infinite X, irregular", true, std::numeric_limits<double>::infinity(), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TSeriesBench b;
        auto& s = b.Add<TContourSeries>();
        s.SetIrregularGrid(c.irregular);
        for (int z = 1; z <= 3; ++z)
            for (int x = 1; x <= 3; ++x) s.AppendXYZ(x, x * z, z);
        s.AppendXYZ(c.x, 5, c.z);
        s.RebuildGridIndex();
        EXPECT_EQ(s.IndexColumns(), 0);
        EXPECT_EQ(s.GridIndex(1, 1), -1);
        EXPECT_EQ(s.PointCount(), 10) << "the points stay";
        b.FixAxes(0, 4, 0, 4);
        s.SetNumLevels(3);
        (void)b.Render(); // draws nothing and must not fail
        for (int i = 0; i < s.Levels().Count(); ++i) EXPECT_TRUE(s.Levels().GetLevel(i).Segments().empty());
        EXPECT_EQ(s.PointAtPixel(PixelX(2), PixelY(2)), -1);
    }
}

TEST(GridGeneration, RowByRowFromTheHandler)
{
    TContourSeries s(nullptr);
    std::vector<std::pair<int, int>> asked;
    s.OnGetYValue = [&](TChartSeries*, int x, int z) {
        asked.push_back({x, z});
        return 10.0 * x + z;
    };
    s.GenerateGrid(3, 2);
    ASSERT_EQ(s.PointCount(), 6);
    const double want[6][3] = {{1, 11, 1}, {2, 21, 1}, {3, 31, 1}, {1, 12, 2}, {2, 22, 2}, {3, 32, 2}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(s.XValues().ValueAt(i), want[i][0]);
        EXPECT_EQ(s.YValues().ValueAt(i), want[i][1]);
        EXPECT_EQ(s.ZValues().ValueAt(i), want[i][2]);
    }
    EXPECT_EQ(s.NumXValues(), 3);
    EXPECT_EQ(s.NumZValues(), 2);
    EXPECT_EQ(asked.size(), 6u);
}

TEST(GridGeneration, NewSizeWithoutHandlerEmptiesTheSeries)
{
    TContourSeries s(nullptr);
    for (int i = 1; i <= 4; ++i) s.AppendXYZ(i, i, 1);
    s.SetNumXValues(7);
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.NumXValues(), 7);
    // In sample mode the sample surface fills it.
    s.AddRandomSampleValues(4, false);
    EXPECT_EQ(s.PointCount(), 16);
    EXPECT_FALSE(s.SampleMode());
    const double x = 2, z = 3, nx = 4, nz = 4;
    EXPECT_DOUBLE_EQ(s.YValues().ValueAt(9),
                     0.5 * std::pow(std::cos(x / (0.2 * nx)), 2) + std::pow(std::cos(z / (0.2 * nz)), 2) -
                         std::cos(z / (0.5 * nz)));
}

TEST(GridGeneration, AnExceptionRestoresGrowthStepAndSampleMode)
{
    TContourSeries s(nullptr);
    const int step = LumEngineModule().ValueListGrowthStep;
    int calls = 0;
    s.OnGetYValue = [&](TChartSeries*, int, int) -> double {
        if (++calls == 5) throw Exception("no height");
        return 1;
    };
    EXPECT_THROW(s.AddRandomSampleValues(6, false), Exception);
    EXPECT_EQ(LumEngineModule().ValueListGrowthStep, step);
    EXPECT_FALSE(s.SampleMode());
    EXPECT_FALSE(s.InDataUpdate());
    s.SetSampleMode(true);
    calls = 0;
    EXPECT_THROW(s.AddRandomSampleValues(6, false), Exception);
    EXPECT_TRUE(s.SampleMode());
    EXPECT_EQ(LumEngineModule().ValueListGrowthStep, step);
}

// ---- Contouring one cell -------------------------------------------------------------------------------------

namespace {

using TLine = std::vector<TContourPoint>;

// The polylines of one cell with corners (0,0), (1,0), (1,1), (0,1) of heights Y at Level.
std::vector<TLine> OneCell(const std::array<double, 4>& Y, double Level)
{
    TContourSeries s(nullptr);
    const double xz[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int k = 0; k < 4; ++k) s.AppendXYZ(xz[k][0], Y[k], xz[k][1]);
    s.SetAutomaticLevels(false);
    s.Levels().AddLevel().SetUpToValue(Level);
    s.RebuildGridIndex();
    s.ContourLevels();
    std::vector<TLine> lines;
    for (const TLevelSegment& seg : s.Levels().GetLevel(0).Segments()) lines.push_back(seg.Points);
    return lines;
}

void ExpectLines(const std::vector<TLine>& Got, const std::vector<TLine>& Want)
{
    ASSERT_EQ(Got.size(), Want.size());
    for (std::size_t i = 0; i < Want.size(); ++i) {
        ASSERT_EQ(Got[i].size(), Want[i].size()) << "polyline " << i;
        for (std::size_t k = 0; k < Want[i].size(); ++k) {
            EXPECT_NEAR(Got[i][k].X, Want[i][k].X, 1e-12) << "polyline " << i << " point " << k;
            EXPECT_NEAR(Got[i][k].Z, Want[i][k].Z, 1e-12) << "polyline " << i << " point " << k;
        }
    }
}

} // namespace

TEST(ContourCell, PolylinesOfOneCell)
{
    const double third = 1.0 / 3;
    const struct {
        std::array<double, 4> y;
        double level;
        std::vector<TLine> lines;
    } cases[] = {
        {{0, 10, 10, 0}, 5, {{{.5, 1}, {.5, .5}, {.5, 0}}}},
        {{10, 0, 0, 0}, 5, {{{.5, 0}, {third, third}, {0, .5}}}},
        {{10, 0, 10, 0}, 5, {{{1, .5}, {.5, .5}, {.5, 0}}, {{0, .5}, {.5, .5}, {.5, 1}}}},
        {{10, 0, 10, 0}, 4, {{{1, .4}, {.6, .4}, {.6, 0}}, {{0, .6}, {.4, .6}, {.4, 1}}}},
        {{5, 10, 0, 0}, 5, {{{0, 0}, {.6, .4}, {1, .5}}}},
        {{5, 0, 0, 0}, 5, {}},
        {{5, 5, 5, 5}, 5, {{{0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y[0] << ", " << c.y[1] << ", " << c.y[2] << ", " << c.y[3] << " at "
                                          << c.level);
        ExpectLines(OneCell(c.y, c.level), c.lines);
    }
}

TEST(ContourCell, SegmentEndsLieOnTheLevel)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> h(-1, 1);
    std::uniform_int_distribution<int> coarse(-1, 1); // exact zeros and shared values as well
    int segments = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        const bool exact = trial % 3 == 0;
        const double ha = exact ? coarse(rng) : h(rng), hc = exact ? coarse(rng) : h(rng), hb = exact ? coarse(rng) : h(rng);
        const TContourPoint a{h(rng), h(rng)}, c{h(rng) + 3, h(rng)}, b{h(rng), h(rng) + 3};
        TContourPoint p1, p2;
        if (!ContourTriangleSegment(a, ha, c, hc, b, hb, p1, p2)) continue;
        ++segments;
        // The height is linear on the triangle: solve for it at each end by barycentric weights.
        for (const TContourPoint& p : {p1, p2}) {
            const double det = (c.X - a.X) * (b.Z - a.Z) - (b.X - a.X) * (c.Z - a.Z);
            const double wc = ((p.X - a.X) * (b.Z - a.Z) - (b.X - a.X) * (p.Z - a.Z)) / det;
            const double wb = ((c.X - a.X) * (p.Z - a.Z) - (p.X - a.X) * (c.Z - a.Z)) / det;
            EXPECT_NEAR((1 - wc - wb) * ha + wc * hc + wb * hb, 0, 1e-12) << trial;
            EXPECT_GE(std::min({1 - wc - wb, wc, wb}), -1e-12) << "on the triangle";
        }
    }
    EXPECT_GT(segments, 5000);
}

// ---- Joining ---------------------------------------------------------------------------------------------

namespace {

// The joining as the method states it: every polyline scanned in order, every end compared.
struct TReferenceJoiner {
    std::vector<std::deque<TContourPoint>> Lines;

    static double D(const TContourPoint& a, const TContourPoint& b) { return std::fabs(a.X - b.X) + std::fabs(a.Z - b.Z); }
    static bool Same(const TContourPoint& a, const TContourPoint& b)
    {
        return std::fabs(a.X - b.X) <= 0.001 && std::fabs(a.Z - b.Z) <= 0.001;
    }

    void Add(const TContourPoint& p1, const TContourPoint& p2)
    {
        for (std::size_t i = 0; i < Lines.size(); ++i) {
            auto& l = Lines[i];
            const double d[4] = {D(p1, l.front()), D(p2, l.front()), D(p1, l.back()), D(p2, l.back())};
            int pair = -1;
            for (int k = 0; k < 4; ++k) {
                bool ok = d[k] <= 0.001;
                for (int j = 0; j < 4; ++j) ok = ok && d[k] <= d[j];
                if (ok) pair = k;
            }
            if (pair < 0) continue;
            if (pair == 0) l.push_front(p2);
            if (pair == 1) l.push_front(p1);
            if (pair == 2) l.push_back(p2);
            if (pair == 3) l.push_back(p1);
            EndJoin(i, pair >= 2);
            return;
        }
        Lines.push_back({p1, p2});
    }

    void EndJoin(std::size_t i, bool last)
    {
        if (Lines.size() < 2) return;
        const TContourPoint e = last ? Lines[i].back() : Lines[i].front();
        for (std::size_t k = 0; k < Lines.size(); ++k) {
            if (k == i) continue;
            auto& a = Lines[i];
            auto& o = Lines[k];
            std::deque<TContourPoint> joined;
            if (last && Same(e, o.front())) {
                joined = a;
                joined.insert(joined.end(), o.begin() + 1, o.end());
            } else if (!last && Same(e, o.front())) {
                joined.assign(o.rbegin(), o.rend() - 1);
                joined.insert(joined.end(), a.begin(), a.end());
            } else if (last && Same(e, o.back())) {
                joined = a;
                joined.insert(joined.end(), o.rbegin() + 1, o.rend());
            } else if (!last && Same(e, o.back())) {
                joined.assign(o.begin(), o.end() - 1);
                joined.insert(joined.end(), a.begin(), a.end());
            } else {
                continue;
            }
            a = joined;
            Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(k));
            return;
        }
    }
};

std::vector<TLine> Join(const std::vector<std::pair<TContourPoint, TContourPoint>>& Segments)
{
    TContourJoiner j;
    for (const auto& s : Segments) j.AddSegment(s.first, s.second);
    std::vector<TLine> lines;
    for (TLevelSegment& s : j.TakeSegments()) lines.push_back(s.Points);
    return lines;
}

} // namespace

TEST(ContourJoin, ToleranceAndTheFourEndJoins)
{
    const struct {
        const char* what;
        std::vector<std::pair<TContourPoint, TContourPoint>> segments;
        std::vector<TLine> lines;
    } cases[] = {
        {"0.0009 apart join", {{{0, 0}, {1, 0}}, {{1.0009, 0}, {2, 0}}}, {{{0, 0}, {1, 0}, {2, 0}}}},
        {"0.0011 apart do not", {{{0, 0}, {1, 0}}, {{1.0011, 0}, {2, 0}}}, {{{0, 0}, {1, 0}}, {{1.0011, 0}, {2, 0}}}},
        {"last to first", {{{0, 0}, {1, 0}}, {{2, 0}, {3, 0}}, {{1, 0}, {2, 0}}}, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}},
        {"first to first", {{{1, 0}, {0, 0}}, {{2, 0}, {3, 0}}, {{1, 0}, {2, 0}}}, {{{3, 0}, {2, 0}, {1, 0}, {0, 0}}}},
        {"last to last", {{{0, 0}, {1, 0}}, {{3, 0}, {2, 0}}, {{1, 0}, {2, 0}}}, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}},
        {"first to last", {{{1, 0}, {0, 0}}, {{3, 0}, {2, 0}}, {{1, 0}, {2, 0}}}, {{{3, 0}, {2, 0}, {1, 0}, {0, 0}}}},
        {"the earlier polyline takes the segment", {{{5, 5}, {1, 0}}, {{0, 9}, {1.0015, 0}}, {{1.0008, 0}, {2, 2}}},
         {{{5, 5}, {1, 0}, {2, 2}}, {{0, 9}, {1.0015, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectLines(Join(c.segments), c.lines);
    }
}

TEST(ContourJoin, EqualsTheReferenceOnRandomGrids)
{
    std::mt19937 rng(5);
    for (int trial = 0; trial < 12; ++trial) {
        const int n = 8 + trial * 3;
        TContourSeries s(nullptr);
        std::uniform_real_distribution<double> y(0, 100);
        for (int z = 1; z <= n; ++z)
            for (int x = 1; x <= n; ++x) s.AppendXYZ(x, trial % 2 ? y(rng) : std::round(y(rng) / 10) * 10, z);
        s.RebuildGridIndex();
        s.SetNumLevels(7);
        s.CreateAutoLevels();
        // The segments of each level in the paint's cell order, joined both ways.
        for (int level = 0; level < s.Levels().Count(); ++level) {
            const double v = s.Levels().GetLevel(level).UpToValue();
            std::vector<std::pair<TContourPoint, TContourPoint>> segments;
            s.SetCellSteps(1, 1);
            for (int z = 1; z < n; ++z)
                for (int x = 1; x < n; ++x) {
                    ASSERT_TRUE(s.GridCellCorners(x, z));
                    const double ys[4] = {s.YValues().ValueAt(s.Corner0()), s.YValues().ValueAt(s.Corner1()),
                                          s.YValues().ValueAt(s.Corner2()), s.YValues().ValueAt(s.Corner3())};
                    if (v < std::min({ys[0], ys[1], ys[2], ys[3]}) || v > std::max({ys[0], ys[1], ys[2], ys[3]})) continue;
                    ContourCell(x, x + 1, z, z + 1, ys, v,
                                [&](const TContourPoint& a, const TContourPoint& b) { segments.push_back({a, b}); });
                }
            TReferenceJoiner reference;
            for (const auto& seg : segments) reference.Add(seg.first, seg.second);
            std::vector<TLine> want;
            for (const auto& l : reference.Lines) want.emplace_back(l.begin(), l.end());
            SCOPED_TRACE(::testing::Message() << "trial " << trial << " level " << level);
            const std::vector<TLine> got = Join(segments);
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "polyline " << i;
            // And the series' own paint gives the same polylines.
            s.ContourLevels();
            const TLevelSegments& painted = s.Levels().GetLevel(level).Segments();
            ASSERT_EQ(painted.size(), want.size());
            for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(painted[i].Points, want[i]);
        }
    }
}

TEST(ContourJoin, ConeGivesClosedRingsAndBorderArcs)
{
    TContourSeries s(nullptr);
    // Apex between nodes, so no level runs through a node.
    const double ax = 11.3, az = 10.7;
    for (int z = 1; z <= 21; ++z)
        for (int x = 1; x <= 21; ++x) s.AppendXYZ(x, 100 - std::hypot(x - ax, z - az) * 8, z);
    s.SetAutomaticLevels(false);
    const double rings[] = {90, 60, 30};          // radius 1.25, 5, 8.75: inside the grid
    const double cut[] = {20};                    // radius 10: cut by the border
    for (double v : rings) s.Levels().AddLevel().SetUpToValue(v);
    for (double v : cut) s.Levels().AddLevel().SetUpToValue(v);
    s.RebuildGridIndex();
    s.ContourLevels();
    auto length = [](const TLevelSegment& l) {
        double d = 0;
        for (std::size_t k = 1; k < l.Points.size(); ++k)
            d += std::hypot(l.Points[k].X - l.Points[k - 1].X, l.Points[k].Z - l.Points[k - 1].Z);
        return d;
    };
    for (int i = 0; i < 4; ++i) {
        std::vector<const TLevelSegment*> long_;
        for (const TLevelSegment& l : s.Levels().GetLevel(i).Segments())
            if (length(l) >= 0.002) long_.push_back(&l);
        SCOPED_TRACE(s.Levels().GetLevel(i).UpToValue());
        if (i < 3) {
            ASSERT_EQ(long_.size(), 1u);
            const TLevelSegment& ring = *long_[0];
            EXPECT_LE(std::fabs(ring.Points.front().X - ring.Points.back().X) +
                          std::fabs(ring.Points.front().Z - ring.Points.back().Z),
                      0.002)
                << "closed";
        } else {
            ASSERT_GE(long_.size(), 1u);
            for (const TLevelSegment* arc : long_) {
                // Both ends of an open arc lie on the grid's border.
                for (const TContourPoint& e : {arc->Points.front(), arc->Points.back()})
                    EXPECT_TRUE(e.X <= 1 + 1e-9 || e.X >= 21 - 1e-9 || e.Z <= 1 + 1e-9 || e.Z >= 21 - 1e-9)
                        << e.X << ", " << e.Z;
            }
        }
    }
}

// ---- Levels ----------------------------------------------------------------------------------------------------

namespace {
std::vector<double> LevelValues(const TContourSeries& s)
{
    std::vector<double> v;
    for (int i = 0; i < s.Levels().Count(); ++i) v.push_back(s.Levels().GetLevel(i).UpToValue());
    return v;
}
} // namespace

TEST(ContourLevels, AutomaticValues)
{
    TContourSeries ramp(nullptr);
    for (int x = 1; x <= 11; ++x) ramp.AppendXYZ(x, (x - 1) * 10, 1);
    ramp.CreateAutoLevels();
    EXPECT_EQ(LevelValues(ramp), (std::vector<double>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_TRUE(ramp.AutomaticLevels());

    TContourSeries flat(nullptr);
    for (int x = 1; x <= 4; ++x) flat.AppendXYZ(x, 7, 1);
    flat.CreateAutoLevels();
    EXPECT_EQ(LevelValues(flat), std::vector<double>(10, 7));

    ramp.OnGetLevel = [](TContourSeries*, int i, double& v, TColor& c) {
        v = 1000 + i;
        c = static_cast<TColor>(i);
    };
    ramp.SetNumLevels(3);
    EXPECT_EQ(ramp.Levels().Count(), 0) << "cleared for the next paint";
    ramp.PrepareForDraw();
    EXPECT_EQ(LevelValues(ramp), (std::vector<double>{1000, 1001, 1002}));
    EXPECT_EQ(ramp.Levels().GetLevel(2).Color(), static_cast<TColor>(2));
    EXPECT_TRUE(ramp.AutomaticLevels());
}

TEST(ContourLevels, HandEditsSwitchAutomaticOff)
{
    const struct {
        const char* what;
        std::function<void(TContourSeries&)> edit;
    } cases[] = {
        {"a new level", [](TContourSeries& s) { s.Levels().AddLevel(); }},
        {"a deleted level", [](TContourSeries& s) { s.Levels().Delete(0); }},
        {"a new colour", [](TContourSeries& s) { s.Levels().GetLevel(1).SetColor(clRed); }},
        {"a new value", [](TContourSeries& s) { s.Levels().GetLevel(1).SetUpToValue(-3); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TContourSeries s(nullptr);
        for (int x = 1; x <= 5; ++x) s.AppendXYZ(x, x, 1);
        s.SetNumLevels(4);
        s.CreateAutoLevels();
        ASSERT_TRUE(s.AutomaticLevels());
        c.edit(s);
        EXPECT_FALSE(s.AutomaticLevels());
        const int count = s.Levels().Count();
        s.PrepareForDraw();
        EXPECT_EQ(s.Levels().Count(), count) << "hand-made levels stay";
        EXPECT_EQ(s.NumLevels(), count);
    }
    TContourSeries s(nullptr);
    TContourLevel& level = s.Levels().AddLevel();
    EXPECT_EQ(level.Color(), 0);
    EXPECT_TRUE(level.UsesSeriesPen());
    level.Pen().SetWidth(3);
    EXPECT_FALSE(level.UsesSeriesPen());
    s.SetAutomaticLevels(true);
    EXPECT_EQ(s.Levels().Count(), 0);
}

TEST(ContourLevels, DescendingHandLevelsKeepTheirLines)
{
    TContourSeries s(nullptr);
    // Heights 40..60 only: of the levels 90, 50, 10 only the middle one crosses.
    for (int z = 1; z <= 3; ++z)
        for (int x = 1; x <= 3; ++x) s.AppendXYZ(x, 40 + (x - 1) * 10, z);
    s.SetAutomaticLevels(false);
    for (double v : {90.0, 50.0, 10.0}) s.Levels().AddLevel().SetUpToValue(v);
    s.RebuildGridIndex();
    s.ContourLevels();
    EXPECT_TRUE(s.Levels().GetLevel(0).Segments().empty());
    ASSERT_FALSE(s.Levels().GetLevel(1).Segments().empty());
    for (const TLevelSegment& l : s.Levels().GetLevel(1).Segments())
        for (const TContourPoint& p : l.Points) EXPECT_EQ(p.X, 2);
    EXPECT_TRUE(s.Levels().GetLevel(2).Segments().empty());
}

TEST(ContourLevels, LegendHighestFirst)
{
    TSeriesBench b;
    auto& s = b.Add<TContourSeries>();
    for (int x = 1; x <= 5; ++x) s.AppendXYZ(x, x * 10, 1);
    s.SetAutomaticLevels(false);
    const double values[] = {10, 20, 30};
    for (double v : values) s.Levels().AddLevel().SetUpToValue(v);
    s.Levels().GetLevel(0).SetColor(clRed);
    s.Levels().GetLevel(2).SetColor(clDefault);
    s.SetValueFormat("0.0");
    ASSERT_EQ(s.LegendEntryCount(), 3);
    EXPECT_EQ(s.LegendTextOf(0, ltsPlain), "30.0");
    EXPECT_EQ(s.LegendTextOf(2, ltsPlain), "10.0");
    EXPECT_EQ(s.LegendColorOf(2), clRed);
    EXPECT_EQ(s.LegendColorOf(0), s.PointColor(2)) << "a default level shows the point colour of its index";
}

TEST(GridSeriesRegistry, GridKindsOnThePage3D)
{
    ASSERT_NE(LumSeriesTypes(), nullptr);
    std::vector<std::string> captions;
    for (int i = 0; i < LumSeriesTypes()->Count(); ++i) {
        const TLumSeriesType& t = LumSeriesTypes()->GetSeriesType(i);
        if (t.Page == "3D" && !t.FunctionClassRef) captions.push_back(t.Caption);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Surface", "Contour", "Water Fall", "Color Grid", "Vector 3D", "Tower", "Triangle Surf."}));
    const TLumSeriesType* contour = LumSeriesTypes()->FindSeriesType(TContourSeries::StaticClassInfo());
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->GallerySeriesCount, 1);
    TContourSeries s(nullptr);
    EXPECT_EQ(s.EditorFormName(), "TContourSeriesEditor");
    EXPECT_TRUE(s.ColorEachPoint());
}
