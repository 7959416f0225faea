// Physics of the forward solution that does not restate the code: exact zeros, a constant source, linearity
// and symmetry, row sums, convergence under refinement, relief against no relief, and the potential of a
// deep cylinder against its closed form at surface and buried electrodes.
#include "dc2dbem_fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

// V of a deep cylinder (centre x0, depth h, radius R) under a linear source of slope a, host over body
// resistivity s, at (x, z), including the solver's factor 2/pi; z = 0 on the ground.
double CylinderPotential(double x, double z, double x0, double h, double R, double a, double s)
{
    const double k = (2.0 / std::numbers::pi) * a * R * R * (1.0 - s) / (1.0 + s);
    const double dx = x - x0;
    return k * ((h - z) / (dx * dx + (z - h) * (z - h)) + (h + z) / (dx * dx + (z + h) * (z + h)));
}

TForwardResult Solve(TSurveyState& survey, TPolygonModel& model)
{
    survey.Settings.numqp = 7;
    return RunForwardProblem(survey, model);
}

} // namespace

TEST(ForwardPhysics, DeepCylinderMatchesClosedForm)
{
    const double R = 2.0, h = 30.0, rho0 = 100.0, rhoBody = 10.0, a = 1.5;
    const double s = rho0 / rhoBody;
    struct Case {
        const char* name;
        bool relief;
        double depth;
    };
    for (const Case& c : {Case{"surface", false, 0.0}, Case{"buried", false, 12.0}, Case{"flat relief", true, 0.0},
                          Case{"buried, flat relief", true, 12.0}}) {
        SCOPED_TRACE(c.name);
        std::vector<complexM> relief, topography;
        if (c.relief)
            for (double x = -140; x <= 140; x += 20) {
                relief.push_back({x, 0.0});
                topography.push_back({x, 0.0});
            }
        TPolygonModel model = FrameModel(-150, 150, 100, rho0, relief);
        AddBody(model, RegularPolygon(3.0, h, R, 96), rhoBody, true);
        const std::vector<double> xs = Line(-100, 5, 41);
        TSurveyState survey = Survey(xs, rho0, std::vector<double>(xs.size(), c.depth), topography, true);
        survey.SourceA = a;
        survey.SourceC = 0.0;
        const TForwardResult r = Solve(survey, model);
        ASSERT_TRUE(r.Succeeded) << r.Message;
        arofdoubleM expected;
        for (double x : xs) expected.push_back(CylinderPotential(x, c.depth, 3.0, h, R, a, s));
        const double scale = MaxAbs(expected);
        for (std::size_t i = 0; i < xs.size(); ++i)
            EXPECT_NEAR(Calculated(survey)[i], expected[i], 0.01 * scale) << "x = " << xs[i];
    }
}

TEST(ForwardPhysics, NoSourceOutsideElectronicBodiesGivesExactZeros)
{
    struct Case {
        const char* name;
        bool relief;
        double bodyRho;
        bool electronic;
        double tolerance; // relative to the largest imposed potential
    };
    const Case cases[] = {
        {"no bodies", false, 0.0, false, 0.0},
        {"ionic bodies", false, 20.0, false, 0.0},
        {"ionic bodies, relief", true, 20.0, false, 0.0},
        {"electronic at host resistivity", false, 100.0, true, 0.0},
        {"electronic at host resistivity, relief", true, 100.0, true, 1e-12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<complexM> relief, topography;
        if (c.relief) {
            relief = {{-60, 4}, {-20, 0}, {20, 2}, {60, 6}};
            for (const complexM& p : relief) topography.push_back({p.x, 10.0 - p.z});
        }
        TPolygonModel model = FrameModel(-80, 80, 60, 100.0, relief);
        if (c.bodyRho > 0) {
            AddBody(model, Rectangle(-30, 15, -10, 25), c.bodyRho, c.electronic);
            AddBody(model, RegularPolygon(20, 20, 5, 24), c.bodyRho, c.electronic);
        }
        TSurveyState survey = Survey(Line(-50, 5, 21), 100.0, {}, topography);
        survey.SourceA = 1.0;
        survey.SourceC = 5.0;
        const TForwardResult r = Solve(survey, model);
        ASSERT_TRUE(r.Succeeded) << r.Message;
        const double maxImposed = 1.0 * 30.0 + 5.0;
        for (double v : Calculated(survey)) EXPECT_LE(std::fabs(v), c.tolerance * maxImposed);
    }
}

TEST(ForwardPhysics, ConstantSourceGivesNoFieldOutsideTheBody)
{
    for (bool relief : {false, true}) {
        SCOPED_TRACE(relief ? "relief" : "no relief");
        std::vector<complexM> profile, topography;
        if (relief)
            for (double x = -90; x <= 90; x += 30) {
                profile.push_back({x, 0.0});
                topography.push_back({x, 0.0});
            }
        // Surface electrodes and a buried row well away from the body (elements are about 1 to 4 long).
        std::vector<double> xs = Line(-60, 6, 21), depths(21, 0.0);
        for (double x : Line(-60, 12, 6)) {
            xs.push_back(x);
            depths.push_back(40.0);
        }
        for (double c : {1.0, 100.0}) {
            TPolygonModel model = FrameModel(-100, 100, 80, 50.0, profile);
            AddBody(model, RegularPolygon(10, 25, 6, 40), 5.0, true);
            TSurveyState survey = Survey(xs, 50.0, depths, topography);
            survey.SourceA = 0.0;
            survey.SourceC = c;
            const TForwardResult r = Solve(survey, model);
            ASSERT_TRUE(r.Succeeded) << r.Message;
            for (double v : Calculated(survey)) EXPECT_LT(std::fabs(v), 1e-6 * c);
        }
    }
}

TEST(ForwardPhysics, ResponseIsLinearInTheSourceSlope)
{
    auto solve = [](double a) {
        TPolygonModel model = FrameModel(-100, 100, 80, 50.0);
        AddBody(model, RegularPolygon(-15, 20, 6, 32), 5.0, true);
        AddBody(model, Rectangle(10, 10, 30, 18), 500.0, true);
        AddBody(model, Rectangle(-50, 30, -30, 40), 5.0, false);
        TSurveyState survey = Survey(Line(-60, 5, 25), 50.0);
        survey.SourceA = a;
        survey.SourceC = 0.0;
        EXPECT_TRUE(Solve(survey, model).Succeeded);
        return Calculated(survey);
    };
    const arofdoubleM once = solve(0.7), twice = solve(1.4);
    const double scale = MaxAbs(twice);
    ASSERT_GT(scale, 1e-3);
    for (int i = 0; i < once.Length(); ++i) EXPECT_NEAR(twice[i], 2.0 * once[i], 1e-12 * scale);
}

TEST(ForwardPhysics, SymmetricModelGivesAntisymmetricDifferences)
{
    for (bool relief : {false, true}) {
        SCOPED_TRACE(relief ? "valley" : "flat");
        std::vector<complexM> profile, topography;
        if (relief)
            for (double x : {-60.0, -30.0, 0.0, 30.0, 60.0}) {
                profile.push_back({x, 8.0 - std::fabs(x) / 7.5});
                topography.push_back({x, std::fabs(x) / 7.5});
            }
        TPolygonModel model = FrameModel(-90, 90, 70, 80.0, profile);
        AddBody(model, {{-10, 20}, {10, 20}, {16, 35}, {0, 40}, {-16, 35}}, 8.0, true);
        // Mirror images point by point, so that every edge is walked from its mirrored end.
        AddBody(model, Rectangle(-50, 25, -35, 32), 400.0, false);
        AddBody(model, Rectangle(50, 25, 35, 32), 400.0, false);
        TSurveyState survey = Survey(Line(-50, 5, 21), 80.0, {}, topography);
        const TForwardResult r = Solve(survey, model);
        ASSERT_TRUE(r.Succeeded) << r.Message;
        const arofdoubleM& dU = Calculated(survey);
        const int M = dU.Length();
        const double scale = MaxAbs(dU);
        ASSERT_GT(scale, 1e-3);
        for (int i = 0; i < M; ++i) EXPECT_NEAR(dU[i], -dU[M - 1 - i], 1e-10 * scale) << i;
    }
}

TEST(ForwardPhysics, RowSumsOfTheSystemMatrixAreOne)
{
    // Elements of one size: the square keeps its four sides (large element sizes), the circle its 48.
    struct Case {
        const char* name;
        std::vector<complexM> ring;
    };
    const Case cases[] = {{"square", Rectangle(-4, 26, 4, 34)}, {"circle", RegularPolygon(0, 30, 8, 48)}};
    for (const Case& c : cases)
        for (int order : {7, 8}) {
            SCOPED_TRACE(std::string(c.name) + " order " + std::to_string(order));
            TPolygonModel model = FrameModel(-100, 100, 80, 50.0);
            AddBody(model, c.ring, 5.0, true);
            TSurveyState survey = Survey(Line(-40, 10, 9), 50.0);
            survey.Settings.numqp = order;
            survey.Settings.StartX = survey.Settings.StartZ = 10.0;
            survey.Settings.FactorX = survey.Settings.FactorZ = 0.001;
            AllSpolygon bodies;
            Tnodes nodes;
            DiscretizeModel(survey, model, bodies, nodes);
            OrientSolverRings(bodies, nodes);
            TSolverState state;
            HandOverToSolver(state, survey, bodies, nodes, {});
            PrepareSolution(state);
            AssembleMatrix(state);
            AddToDiagonal(state.SystemMatrix, state.FreeTerms);
            ASSERT_GE(state.UnknownCount, 4);
            double worst = 0.0;
            for (int r = 0; r < state.UnknownCount; ++r) {
                double sum = 0.0;
                for (int j = 0; j < state.UnknownCount; ++j) sum += state.SystemMatrix(r, j);
                worst = std::max(worst, std::fabs(sum - 1.0));
            }
            EXPECT_LT(worst, 3e-9);
        }
}

TEST(ForwardPhysics, RefiningACircleConverges)
{
    arofdoubleM previous, change;
    double lastChange = 0.0;
    for (int sides : {16, 32, 64, 128}) {
        TPolygonModel model = FrameModel(-100, 100, 80, 50.0);
        AddBody(model, RegularPolygon(0, 20, 6, sides), 5.0, true);
        TSurveyState survey = Survey(Line(-60, 10, 13), 50.0);
        survey.Settings.StartX = survey.Settings.StartZ = 10.0; // no further division of the polygon
        ASSERT_TRUE(Solve(survey, model).Succeeded);
        const arofdoubleM current = Calculated(survey);
        if (!previous.empty()) {
            double diff = 0.0;
            for (int i = 0; i < current.Length(); ++i) diff = std::max(diff, std::fabs(current[i] - previous[i]));
            if (lastChange > 0.0) {
                const double ratio = lastChange / diff;
                EXPECT_GT(ratio, 3.0) << sides;
                EXPECT_LT(ratio, 5.0) << sides;
            }
            lastChange = diff;
        }
        previous = current;
    }
}

TEST(ForwardPhysics, FlatReliefAgreesWithNoRelief)
{
    // Relief nodes every 7.5: some electrodes (every 5) sit on them, others between.
    std::vector<complexM> profile, topography;
    for (double x = -82.5; x <= 82.5; x += 7.5) {
        profile.push_back({x, 0.0});
        topography.push_back({x, 0.0});
    }
    auto solve = [&](bool relief) {
        TPolygonModel model = FrameModel(-90, 90, 70, 60.0, relief ? profile : std::vector<complexM>{});
        AddBody(model, Rectangle(-12, 4, 8, 12), 6.0, true);
        AddBody(model, RegularPolygon(25, 10, 4, 24), 600.0, false);
        TSurveyState survey = Survey(Line(-45, 5, 19), 60.0, {}, relief ? topography : std::vector<complexM>{});
        const TForwardResult r = Solve(survey, model);
        EXPECT_TRUE(r.Succeeded) << r.Message;
        return Calculated(survey);
    };
    const arofdoubleM flat = solve(false), relief = solve(true);
    const double scale = MaxAbs(flat);
    ASSERT_GT(scale, 1e-3);
    for (int i = 0; i < flat.Length(); ++i) EXPECT_NEAR(relief[i], flat[i], 0.01 * scale) << i;
}
