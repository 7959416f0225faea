// The primary source: depth below the relief in the model frame, the three curve kinds, and the
// derivatives of the right-hand side by the curve parameters.
#include "dc2dbem_fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

TEST(PrimarySource, DepthBelowTheReliefInTheModelFrame)
{
    TSolverState s;
    struct Case {
        const char* name;
        std::vector<complexM> topography; // (x, elevation)
        bool relief;
        double x, z, depth;
    };
    const Case cases[] = {
        // Highest point 110: at x = 0 the ground lies 10 below it, so model depth 12 is 2 below ground.
        {"relief", {{0, 100}, {50, 110}, {100, 104}}, true, 0, 12, 2},
        {"relief, on the hill top", {{0, 100}, {50, 110}, {100, 104}}, true, 50, 7, 7},
        {"relief, beyond the profile", {{0, 100}, {50, 110}, {100, 104}}, true, 130, 9, 3},
        {"two points: no relief", {{0, 100}, {100, 110}}, false, 0, 12, 12},
        {"one point", {{0, 100}}, false, 40, 5, 5},
        {"none", {}, false, 40, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.Topography.clear();
        for (const complexM& p : c.topography) s.Topography.push_back(p);
        s.ReliefPresent = c.relief;
        EXPECT_DOUBLE_EQ(DepthBelowRelief(s, c.x, c.z), c.depth);
    }
}

TEST(PrimarySource, CurveKinds)
{
    TSolverState s;
    s.Source.SourceA = 3.0;
    s.Source.SourceB = 20.0;
    s.Source.SourceC = -1.0;
    s.Source.SourceDepths = {0.0, 10.0, 20.0};
    s.Source.SourceValues = {5.0, 1.0, -3.0};
    struct Case {
        int kind;
        double d, U;
    };
    const Case cases[] = {
        {0, 4.0, -3.0 * 4.0 - 1.0},
        {0, 0.0, -1.0},
        {1, 0.0, -1.0 + 3.0},                  // c + a at the ground
        {1, 20.0, -1.0 + 3.0 * std::exp(-1.0)},
        {2, 15.0, -1.0},                       // between curve points
        {2, 99.0, -3.0},                       // beyond the last depth: the last value
        {7, 4.0, -13.0},                       // an unknown kind counts as linear
    };
    for (const Case& c : cases) {
        s.Source.SourceType = c.kind;
        EXPECT_DOUBLE_EQ(SourcePotential(s, 0.0, c.d), c.U) << c.kind << " at " << c.d;
    }
}

TEST(PrimarySource, RightHandSideAndItsDerivatives)
{
    // Electronic square (nodes 4..7 after the frame) and an ionic one; with a = 0 every electronic node
    // gets c, every other entry 0.
    TPolygonModel model = FrameModel(0, 100, 50, 10.0);
    AddBody(model, Rectangle(20, 10, 30, 20), 5.0, true);
    AddBody(model, Rectangle(60, 10, 70, 20), 5.0, false);
    TSurveyState survey = Survey(Line(10, 10, 9), 10.0);
    survey.Settings.StartX = survey.Settings.StartZ = 10.0;
    survey.Settings.FactorX = survey.Settings.FactorZ = 0.001;
    AllSpolygon bodies;
    Tnodes nodes;
    DiscretizeModel(survey, model, bodies, nodes);
    TSolverState s;
    HandOverToSolver(s, survey, bodies, nodes, {});
    PrepareSolution(s);
    ASSERT_EQ(s.UnknownCount, 8);
    s.Source = {1, 2.0, 10.0, 4.0, {}, {}};
    arofdoubleM rhs, da, db, dc;
    SourceNodePotentials(s, rhs);
    BuildSourceRHS(s, 0, da);
    BuildSourceRHS(s, 1, db);
    BuildSourceRHS(s, 2, dc);
    for (int node = 4; node < 12; ++node) {
        const int u = s.NodeNumber[node];
        const double z = s.SolverNodes[node].z;
        const bool electronic = node < 8;
        const double e = std::exp(-z / 10.0);
        EXPECT_DOUBLE_EQ(rhs[u], electronic ? 4.0 + 2.0 * e : 0.0);
        EXPECT_DOUBLE_EQ(da[u], electronic ? e : 0.0);
        EXPECT_DOUBLE_EQ(db[u], electronic ? 2.0 * z / 100.0 * e : 0.0);
        EXPECT_DOUBLE_EQ(dc[u], electronic ? 1.0 : 0.0);
    }
    // Linear: d/da = -d, d/db = 0; arbitrary: all 0.
    s.Source.SourceType = 0;
    BuildSourceRHS(s, 0, da);
    BuildSourceRHS(s, 1, db);
    EXPECT_DOUBLE_EQ(da[s.NodeNumber[4]], -s.SolverNodes[4].z);
    EXPECT_EQ(MaxAbs(db), 0.0);
    s.Source.SourceType = 2;
    BuildSourceRHS(s, 2, dc);
    EXPECT_EQ(MaxAbs(dc), 0.0);
}
