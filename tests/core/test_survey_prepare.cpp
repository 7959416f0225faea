// The survey preparation: electrode records, positions, spacing and data set from small surveys; the
// line reversal and the topography conversions; the source curve; the surveys it rejects.
#include "core/SurveyPrepare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const double M = MissingValue;

// A row as the reader makes it: P1 x, P2 x, dU, then P1 z, P2 z and the weight when given.
TMeasurementRow MakeRow(double p1, double p2, double du, double z1 = 0, double z2 = 0, double w = M)
{
    return {p1, p2, 0, 0, z1, z2, du, w, M};
}

TSurveyState Survey(std::initializer_list<TMeasurementRow> rows)
{
    TSurveyState s;
    for (const TMeasurementRow& r : rows) s.SurveyRows.push_back(r);
    return s;
}

template <class T>
std::vector<T> V(const DynArray<T>& a)
{
    return std::vector<T>(a.begin(), a.end());
}

std::vector<double> Xs(const elecarray& e)
{
    std::vector<double> x;
    for (const TElectrode& r : e) x.push_back(r.x);
    return x;
}

std::vector<double> Zraws(const elecarray& e)
{
    std::vector<double> z;
    for (const TElectrode& r : e) z.push_back(r.zraw);
    return z;
}

} // namespace

TEST(SurveyPrepare, ElectrodesPositionsSpacingAndDataSet)
{
    struct Case {
        const char* name;
        TSurveyState survey;
        std::vector<double> x, zraw, positions;
        double scale;
        std::vector<int> p1, p2;
    };
    const Case cases[] = {
        {"neighbour pairs", Survey({MakeRow(0, 1, 5), MakeRow(1, 2, 6), MakeRow(2, 3, 7)}),
         {0, 1, 2, 3}, {0, 0, 0, 0}, {0, 1, 2, 3}, 1, {0, 1, 2}, {1, 2, 3}},
        {"one position within 1e-5 is one electrode", Survey({MakeRow(0, 1, 5), MakeRow(1.000004, 2, 6)}),
         {0, 1, 2}, {0, 0, 0}, {0, 1, 2}, 1, {0, 1}, {1, 2}},
        {"one x at two depths is two electrodes, sorted by depth then x",
         Survey({MakeRow(4, 2, 1, 3, 0), MakeRow(2, 4, 1)}),
         {2, 4, 4}, {0, 0, 3}, {2, 4}, 2, {0, 2}, {1, 0}},
        {"equal keys keep their order", Survey({MakeRow(0, 2, 1), MakeRow(0, 1, 1)}),
         {0, 1, 2}, {0, 0, 0}, {0, 1, 2}, 1, {0, 0}, {2, 1}},
        {"rows sorted by P1 z then P1 x, stable", Survey({MakeRow(5, 6, 1, 1), MakeRow(3, 4, 2), MakeRow(1, 2, 3)}),
         {1, 2, 3, 4, 6, 5}, {0, 0, 0, 0, 0, 1}, {1, 2, 3, 4, 5, 6}, 1, {0, 2, 5}, {1, 3, 4}},
        {"a deeper P1 sorts after a shallower one of larger x", Survey({MakeRow(1, 2, 1, 1), MakeRow(3, 4, 2)}),
         {2, 3, 4, 1}, {0, 0, 0, 1}, {1, 2, 3, 4}, 1, {1, 3}, {2, 0}},
        {"an outlying gap carries no weight", Survey({MakeRow(0, 1, 1), MakeRow(2, 3, 1), MakeRow(3, 10, 1)}),
         {0, 1, 2, 3, 10}, {0, 0, 0, 0, 0}, {0, 1, 2, 3, 10}, 1, {0, 2, 3}, {1, 3, 4}},
        {"a \"*\" position is no electrode", Survey({MakeRow(M, 1, 1), MakeRow(1, 3, 1)}),
         {1, 3}, {0, 0}, {1, 3}, 2, {0, -1}, {1, 0}},
        {"one position only: no spacing", Survey({MakeRow(5, 5, 1), MakeRow(5, M, 1)}),
         {5}, {0}, {5}, M, {0, 0}, {0, -1}},
        {"no measurements", Survey({}), {}, {}, {}, M, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSurveyState s = c.survey;
        const TPrepareResult r = PrepareSurvey(s, 100);
        ASSERT_TRUE(r.Accepted);
        EXPECT_EQ(Xs(s.Electrodes), c.x);
        EXPECT_EQ(Zraws(s.Electrodes), c.zraw);
        EXPECT_EQ(V(s.ElectrodePositions), c.positions);
        EXPECT_EQ(s.ScaleLength, c.scale);
        EXPECT_EQ(HasScaleLength(s), c.scale != M);
        ASSERT_EQ(s.DataSets.Length(), 1);
        const osource& d = s.DataSets[0];
        EXPECT_EQ(V(d.P1), c.p1);
        EXPECT_EQ(V(d.P2), c.p2);
        // Every index points at the record of the row's own position.
        for (int k = 0; k < d.P1.Length(); ++k) {
            if (d.P1[k] >= 0) {
                EXPECT_NEAR(s.Electrodes[d.P1[k]].x, d.P1x[k], 1e-5);
            }
            if (d.P2[k] >= 0) {
                EXPECT_EQ(s.Electrodes[d.P2[k]].zraw, d.P2z[k]);
            }
        }
        EXPECT_EQ(d.Calculated.Length(), d.P1.Length());
        EXPECT_EQ(d.ObservedPresent.Length(), d.P1.Length());
    }
}

TEST(SurveyPrepare, LongRandomSurveysMatchThePlainLookupsAndSort)
{
    // Positions on a coarse grid, some a hair apart, at two depths, in random order, some missing, a few
    // without a depth (sorted last, as read, then filled with 0) or a dU: the rows end sorted by P1's depth
    // then x with ties in file order, the data set holds their columns in that order with the dU flags
    // they were read with, and every reading's electrode is the first record near its position, as the
    // plain scan finds it. Every other survey comes in order already.
    std::uint32_t seed = 99;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    const auto position = [&] { return next(40) * 2.5 + (next(3) == 0 ? 4e-6 : 0.0); };
    for (int survey = 0; survey < 20; ++survey) {
        TSurveyState s;
        for (int k = 0; k < 300; ++k) {
            const double depth = next(12) == 0 ? M : next(4) == 0 ? 1.0 : 0.0;
            s.SurveyRows.push_back(MakeRow(next(15) == 0 ? M : position(), position(), next(6) == 0 ? M : k, depth,
                                           next(5) == 0 ? 2.0 : 0.0, k + 1)); // the weight names the row
        }
        const auto byDepthThenX = [](const TMeasurementRow& a, const TMeasurementRow& b) {
            return a[4] < b[4] || (a[4] == b[4] && a[0] < b[0]);
        };
        std::vector<TMeasurementRow> expected(s.SurveyRows.begin(), s.SurveyRows.end());
        std::stable_sort(expected.begin(), expected.end(), byDepthThenX);
        if (survey % 2 == 1)
            for (std::size_t k = 0; k < expected.size(); ++k) s.SurveyRows[k] = expected[k];
        ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);
        const osource& d = s.DataSets[0];
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const TMeasurementRow& row = s.SurveyRows[k];
            ASSERT_EQ(row[mcWeight], expected[k][mcWeight]) << survey << " row " << k;
            EXPECT_EQ(row[mcP1z], expected[k][mcP1z] == M ? 0.0 : expected[k][mcP1z]);
            EXPECT_EQ(d.ObservedPresent[k], expected[k][mcDU] != M);
            const double* columns[] = {&d.P1x[k], &d.P2x[k], &d.P1y[k], &d.P2y[k],
                                       &d.P1z[k], &d.P2z[k], &d.Observed[k], &d.Weight[k]};
            for (int c = mcP1x; c <= mcWeight; ++c) EXPECT_EQ(*columns[c], row[c]) << survey << " row " << k;
        }
        for (int k = 0; k < d.P1.Length(); ++k) {
            EXPECT_EQ(d.P1[k], FindElectrode(s.Electrodes, d.P1x[k], d.P1z[k], 1e-5)) << survey << " row " << k;
            EXPECT_EQ(d.P2[k], FindElectrode(s.Electrodes, d.P2x[k], d.P2z[k], 1e-5)) << survey << " row " << k;
        }
    }
}

TEST(SurveyPrepare, GapsAreFilledAndMissingDuIsFlagged)
{
    TSurveyState s = Survey({MakeRow(1, 2, M, M, 0.5), MakeRow(0, 1, 0.25, 0, 0, 2)});
    s.SurveyRows[0][mcP1y] = M;
    ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);
    // Sorted by P1 x; y, z and dU 0, weight 1, the spare column 0; positions stay as they are.
    EXPECT_EQ(V(s.SurveyRows[0]), (std::vector<double>{0, 1, 0, 0, 0, 0, 0.25, 2, 0}));
    EXPECT_EQ(V(s.SurveyRows[1]), (std::vector<double>{1, 2, 0, 0, 0, 0.5, 0, 1, 0}));
    const osource& d = s.DataSets[0];
    EXPECT_EQ(V(d.Observed), (std::vector<double>{0.25, 0}));
    EXPECT_EQ(V(d.ObservedPresent), (std::vector<bool>{true, false}));
    EXPECT_EQ(V(d.Weight), (std::vector<double>{2, 1}));
    EXPECT_EQ(V(d.P2z), (std::vector<double>{0, 0.5}));
    EXPECT_FALSE(s.Electrodes[2].surface); // the buried P2 at x 2
    EXPECT_TRUE(s.Electrodes[0].surface);
}

TEST(SurveyPrepare, ExtendedNodes)
{
    struct Case {
        bool checked;
        std::vector<double> stars, expected;
        TSurveyState survey;
    };
    const Case cases[] = {
        {true, {}, {-2, 6}, Survey({MakeRow(0, 2, 1), MakeRow(2, 4, 1)})},
        {true, {7}, {7}, Survey({MakeRow(0, 2, 1), MakeRow(2, 4, 1)})},
        {false, {}, {}, Survey({MakeRow(0, 2, 1), MakeRow(2, 4, 1)})},
        {true, {}, {}, Survey({MakeRow(3, 3, 1)})},
    };
    for (const Case& c : cases) {
        TSurveyState s = c.survey;
        s.ExtendedNodes = c.checked;
        for (double v : c.stars) s.StarValues.push_back(v);
        ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);
        EXPECT_EQ(V(s.StarValues), c.expected);
        EXPECT_EQ(s.Electrodes.Length(), c.survey.SurveyRows.Length() == 1 ? 1 : 3); // no electrodes added
    }
}

TEST(SurveyPrepare, ReverseLineAndTopographyOffsets)
{
    TSurveyState s = Survey({MakeRow(0, 10, 1)});
    s.ReverseLine = true;
    s.LineShift = 100;
    s.Topography = {{0, 95}, {5, 100}, {10, 98}};
    s.RealTopoCoordinates = true;
    const TPrepareResult r = PrepareSurvey(s, 100);
    EXPECT_EQ(s.SurveyRows[0][mcP1x], 100);
    EXPECT_EQ(s.SurveyRows[0][mcP2x], 90);
    EXPECT_EQ(V(s.Topography), (std::vector<complexM>{{90, 98}, {95, 100}, {100, 95}}));
    EXPECT_EQ(r.LabelValueOffset, -100);

    // The "***" positions and an along-ground reference turn with the line: the reversed survey is the
    // mirror image of the survey prepared without reversal.
    for (bool reversed : {false, true}) {
        TSurveyState a = Survey({MakeRow(5, 7.5, 1)});
        a.Topography = {{0, 0}, {3, 4}, {6, 8}};
        a.TopoReference = {0, 0};
        a.StarValues = {1};
        a.ReverseLine = reversed;
        a.LineShift = 10;
        ASSERT_TRUE(PrepareSurvey(a, 100).Accepted);
        EXPECT_NEAR(a.SurveyRows[0][mcP1x], reversed ? 7 : 3, 1e-12);
        EXPECT_NEAR(a.SurveyRows[0][mcP2x], reversed ? 5.5 : 4.5, 1e-12);
        EXPECT_EQ(a.StarValues[0], reversed ? 9 : 1);
    }

    struct Case {
        arofcomplexM topo;
        bool real;
        double offset;
    };
    const Case cases[] = {
        {{{0, -5}, {10, -3}}, true, 0},
        {{{0, 95}, {10, 100}}, false, 0},
        {{{0, 95}}, true, 0}, // a single point is no profile to sort or show
    };
    for (const Case& c : cases) {
        TSurveyState t = Survey({MakeRow(0, 10, 1)});
        t.Topography = c.topo;
        t.RealTopoCoordinates = c.real;
        EXPECT_EQ(PrepareSurvey(t, 100).LabelValueOffset, c.offset);
    }
}

TEST(SurveyPrepare, ElectrodeDepthsOnTheProfile)
{
    // Heights 10 at x 0 and 20 at x 10: the depth below the highest point grows to the left.
    TSurveyState s = Survey({MakeRow(0, 5, 1), MakeRow(5, 10, 1, 2, 0)});
    s.Topography = {{10, 20}, {0, 10}};
    ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);
    struct Expect {
        double x, zraw, ztopo, z;
        bool surface;
    };
    const Expect expected[] = {{0, 0, 10, 10, true}, {5, 0, 15, 5, true}, {10, 0, 20, 0, true}, {5, 2, 17, 7, false}};
    ASSERT_EQ(s.Electrodes.Length(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TElectrode& e = s.Electrodes[i];
        EXPECT_EQ(e.x, expected[i].x);
        EXPECT_EQ(e.zraw, expected[i].zraw);
        EXPECT_EQ(e.ztopo, expected[i].ztopo);
        EXPECT_EQ(e.z, expected[i].z);
        EXPECT_EQ(e.surface, expected[i].surface);
    }
    // One profile point: its height everywhere, the depth equal to the row's.
    TSurveyState one = Survey({MakeRow(0, 5, 1, 1, 0)});
    one.Topography = {{3, 50}};
    ASSERT_TRUE(PrepareSurvey(one, 100).Accepted);
    EXPECT_EQ(one.Electrodes[1].ztopo, 51);
    EXPECT_EQ(one.Electrodes[1].z, 1);
}

TEST(SurveyPrepare, AlongGroundProfileAndPositions)
{
    // Steps 5 along the ground with rises 3 and 0: horizontal runs 4 and 5.
    TSurveyState s = Survey({MakeRow(5, 10, 1)});
    s.Topography = {{0, 0}, {5, 3}, {10, 3}};
    s.SlopeTopography = true;
    ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);
    EXPECT_EQ(V(s.Topography), (std::vector<complexM>{{0, 0}, {4, 3}, {9, 3}}));
    EXPECT_EQ(s.TopoReference, (TTopoReference{0, 0}));
    EXPECT_NEAR(s.SurveyRows[0][mcP1x], 4, 1e-12);
    EXPECT_NEAR(s.SurveyRows[0][mcP2x], 9, 1e-12);

    // A reference from the file: distance 0 at x 10 of a flat profile.
    TSurveyState r = Survey({MakeRow(-5, 5, 1), MakeRow(M, 0, 1)});
    r.Topography = {{0, 0}, {100, 0}};
    r.TopoReference = {10, 0};
    ASSERT_TRUE(PrepareSurvey(r, 100).Accepted);
    EXPECT_NEAR(r.SurveyRows[0][mcP1x], 5, 1e-12);
    EXPECT_NEAR(r.SurveyRows[0][mcP2x], 15, 1e-12);
    EXPECT_EQ(r.SurveyRows[1][mcP1x], M);
    EXPECT_EQ(r.SurveyRows[1][mcP2x], 10);
}

TEST(SurveyPrepare, RejectedSurveys)
{
    struct Case {
        const char* name;
        arofcomplexM topo;
        bool slope;
        TTopoReference reference;
        double position;
    };
    const Case cases[] = {
        {"a step higher than its length along the ground", {{0, 0}, {1, 5}}, true, {}, 0},
        {"a reference without a profile", {}, false, {5, 0}, 1},
        {"a reference off the extended profile", {{0, 0}, {10, 0}}, false, {2000, 0}, 1},
        {"a walk past the extended profile", {{0, 0}, {10, 0}}, false, {0, 0}, 1011},
        {"a walk past its left end", {{0, 0}, {10, 0}}, false, {0, 0}, -1001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSurveyState s = Survey({MakeRow(c.position, 0, 1)});
        s.Topography = c.topo;
        s.SlopeTopography = c.slope;
        s.TopoReference = c.reference;
        const TPrepareResult r = PrepareSurvey(s, 100);
        EXPECT_FALSE(r.Accepted);
        EXPECT_EQ(r.Message, "Error in data file!");
    }
}

TEST(SurveyPrepare, ArcLengthToX)
{
    struct Case {
        arofcomplexM profile;
        TTopoReference reference;
        std::vector<double> distances, expected;
    };
    const Case cases[] = {
        {{{0, 0}, {100, 0}}, {10, 0}, {5, -5, 0}, {15, 5, 10}},
        {{{0, 0}, {3, 4}, {6, 8}}, {0, 0}, {5, 7.5}, {3, 4.5}},
        {{{0, 0}, {3, 4}, {6, 8}}, {3, 20}, {15, 25}, {0, 6}},
        // The flat extensions: 1000 beyond both ends.
        {{{0, 0}, {10, 0}}, {0, 0}, {-1000, 1010}, {-1000, 1010}},
        // A start between two points; results near 0 become 0.
        {{{0, 0}, {10, 0}}, {5, 5}, {0, 1e-8}, {0, 0}},
    };
    for (const Case& c : cases) {
        arofdoubleM d;
        for (double v : c.distances) d.push_back(v);
        arofdoubleM x;
        ASSERT_TRUE(ArcLengthToX(c.profile, c.reference, d, x));
        ASSERT_EQ(x.Length(), static_cast<int>(c.expected.size()));
        for (int i = 0; i < x.Length(); ++i) EXPECT_NEAR(x[i], c.expected[i], 1e-9) << i;
    }
    arofdoubleM x;
    EXPECT_FALSE(ArcLengthToX({}, {0, 0}, {1}, x));
    EXPECT_FALSE(ArcLengthToX({{0, 0}}, {0, 0}, {1001}, x));
}

TEST(SurveyPrepare, SourceCurve)
{
    struct Case {
        int type;
        double a, b, c;
        double depth49;                    // the deepest point: twice the box bottom
        double (*value)(double d);         // expected value at depth d
    };
    const Case cases[] = {
        {0, 1, 30, 0, 60, [](double d) { return -d; }},
        {0, 0.5, 30, 2, 60, [](double d) { return -0.5 * d + 2; }},
        {1, 2, 10, 1, 60, [](double d) { return 1 + 2 * std::exp(-d / 10); }},
        {2, 3, 30, 0, 60, [](double) { return 3.0; }},
    };
    for (const Case& c : cases) {
        TSurveyState s;
        s.SourceType = c.type;
        s.SourceA = c.a;
        s.SourceB = c.b;
        s.SourceC = c.c;
        MakeSourceCurve(s, 30);
        ASSERT_EQ(s.SourceDepths.Length(), 50);
        ASSERT_EQ(s.SourceValues.Length(), 50);
        for (int i = 0; i < 50; ++i) {
            EXPECT_DOUBLE_EQ(s.SourceDepths[i], 60.0 * i / 49);
            EXPECT_DOUBLE_EQ(s.SourceValues[i], c.value(s.SourceDepths[i]));
        }
    }
    // An edited arbitrary curve keeps its values; depths it lacks are made from the box.
    TSurveyState s;
    s.SourceType = 2;
    s.SourceValues.SetLength(50);
    for (int i = 0; i < 50; ++i) s.SourceValues[i] = i * i;
    const arofdoubleM edited = s.SourceValues;
    MakeSourceCurve(s, 10);
    EXPECT_EQ(s.SourceValues, edited);
    ASSERT_EQ(s.SourceDepths.Length(), 50);
    EXPECT_EQ(s.SourceDepths[49], 20);
    MakeSourceCurve(s, 99); // complete: nothing changes
    EXPECT_EQ(s.SourceDepths[49], 20);
    // A curve of another length is rebuilt.
    s.SourceValues = {1, 2};
    s.SourceA = 4;
    MakeSourceCurve(s, 10);
    EXPECT_EQ(s.SourceValues[7], 4);
}

TEST(SurveyPrepare, DiscretisationDefaultsWhenPending)
{
    for (bool pending : {true, false}) {
        TSurveyState s = Survey({MakeRow(0, 1, 1)});
        s.Settings.FactorX = s.Settings.FactorZ = 0.7;
        s.Settings.StartX = s.Settings.StartZ = 3;
        s.Settings.Exponent = true;
        s.SetupDefaultsPending = pending;
        PrepareSurvey(s, 100);
        EXPECT_EQ(s.Settings.FactorX, pending ? 0.1 : 0.7);
        EXPECT_EQ(s.Settings.FactorZ, pending ? 0.1 : 0.7);
        EXPECT_EQ(s.Settings.StartX, pending ? 2.0 : 3.0);
        EXPECT_EQ(s.Settings.StartZ, pending ? 1.0 : 3.0);
        EXPECT_EQ(s.Settings.Exponent, !pending);
    }
}

TEST(SurveyPrepare, SortDoublesAndUniqueValues)
{
    arofdoubleM list;
    for (double v : {3.0, 1.0, M, 2.0, 1.000001, 3.00002}) AddUniqueValue(list, v, 1e-5);
    EXPECT_EQ(V(list), (std::vector<double>{3, 1, 2, 3.00002}));
    SortDoubles(list);
    EXPECT_EQ(V(list), (std::vector<double>{1, 2, 3, 3.00002}));
    // NaN makes the order undefined, but the sort stays within the array and keeps every element.
    arofdoubleM odd{2, std::nan(""), 1, std::nan(""), 0};
    SortDoubles(odd);
    EXPECT_EQ(odd.Length(), 5);
}

TEST(SurveyPrepare, IndexedLookupsAgreeWithTheHelpers)
{
    // Positions on a grid finer than the merge tolerance, at a few depths, in random order: the records,
    // positions and indexes equal what the plain helpers give.
    std::uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    TSurveyState s;
    for (int i = 0; i < 400; ++i) {
        const auto pos = [&] { return next(50) * 0.5 + next(4) * 4e-6; };
        s.SurveyRows.push_back(MakeRow(pos(), next(10) == 0 ? M : pos(), 1, next(3) * 1.5, next(3) * 1e-6));
    }
    ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);

    arofdoubleM positions;
    for (const TMeasurementRow& row : s.SurveyRows) {
        AddUniqueValue(positions, row[mcP1x], 1e-5);
        AddUniqueValue(positions, row[mcP2x], 1e-5);
    }
    SortDoubles(positions);
    EXPECT_EQ(s.ElectrodePositions, positions);
    const osource& d = s.DataSets[0];
    for (int k = 0; k < d.P1.Length(); ++k) {
        EXPECT_EQ(d.P1[k], FindElectrode(s.Electrodes, d.P1x[k], d.P1z[k], 1e-5));
        EXPECT_EQ(d.P2[k], FindElectrode(s.Electrodes, d.P2x[k], d.P2z[k], 1e-5));
    }
    for (int i = 0; i < s.Electrodes.Length(); ++i)
        EXPECT_EQ(FindElectrode(s.Electrodes, s.Electrodes[i].x, s.Electrodes[i].zraw, 1e-5), i) << "records merge";
}
