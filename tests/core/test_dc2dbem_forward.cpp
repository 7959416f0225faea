// The forward entry: what it reports and calls, what it refuses, how it fails, what it leaves alone, and
// the misfit rules.
#include "dc2dbem_fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

// A small solvable case: one electronic and one ionic body under a line of surface electrodes.
struct TCase {
    TPolygonModel Model = FrameModel(-60, 60, 50, 100.0);
    TSurveyState Survey = fixtures::Survey(Line(-40, 5, 17), 100.0);
    TCase()
    {
        AddBody(Model, Rectangle(-10, 8, 6, 16), 10.0, true);
        AddBody(Model, RegularPolygon(20, 12, 4, 16), 1000.0, false);
    }
};

TSolverCallbacks Recorder(std::vector<std::string>& events)
{
    TSolverCallbacks c;
    c.ProgressStep = [&] { events.push_back("step"); };
    c.ProgressReset = [&] { events.push_back("reset"); };
    c.ShowStatus = [&](const std::string& text) { events.push_back("status " + text); };
    c.BoundaryNodes = [&](const Tnodes& nodes) { events.push_back("nodes " + std::to_string(nodes.Length())); };
    return c;
}

bool AllMissing(const arofdoubleM& values)
{
    for (double v : values)
        if (v != MissingValue) return false;
    return !values.empty();
}

} // namespace

TEST(ForwardEntry, ReportsProgressThenMisfitAndLeavesTheModel)
{
    TCase c;
    c.Survey.DataLoaded = true;
    for (int j = 0; j < c.Survey.DataSets[0].Observed.Length(); ++j) {
        c.Survey.DataSets[0].Observed[j] = 0.01;
        c.Survey.DataSets[0].ObservedPresent[j] = true;
    }
    c.Survey.StartResistivity = 80.0;
    c.Model.SecondModelValue = 3.0;
    const TPolygonModel before = c.Model;
    std::vector<std::string> events;
    TSolverState state;
    const TForwardResult r = RunForwardProblem(c.Survey, c.Model, Recorder(events), state);
    ASSERT_TRUE(r.Succeeded) << r.Message;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].rfind("nodes ", 0), 0u);
    EXPECT_EQ(events[1], "step");
    EXPECT_EQ(events[2], "step");
    EXPECT_EQ(events[3], "reset");
    EXPECT_EQ(events[4], "status " + r.MisfitText);
    EXPECT_EQ(r.MisfitText, FormatValue(r.Misfit, 1, true));
    EXPECT_GT(r.Misfit, 0.0);
    EXPECT_EQ(state.ForwardStepCount, 2);
    EXPECT_FALSE(state.SensitivityMode);
    // Bodies and nodes as they were; the host resistivity taken over, the second value cleared.
    EXPECT_EQ(c.Model.Bodies, before.Bodies);
    ASSERT_EQ(c.Model.Nodes.Length(), before.Nodes.Length());
    for (int i = 0; i < before.Nodes.Length(); ++i) {
        EXPECT_EQ(c.Model.Nodes[i].x, before.Nodes[i].x);
        EXPECT_EQ(c.Model.Nodes[i].z, before.Nodes[i].z);
    }
    EXPECT_EQ(c.Model.Rho0, 80.0);
    EXPECT_EQ(c.Model.SecondModelValue, 0.0);
    EXPECT_TRUE(c.Survey.ModelReady);
    // The refined copy has more nodes than the model.
    EXPECT_GT(state.SolverNodes.Length(), before.Nodes.Length());
}

TEST(ForwardEntry, RefusesWithoutChange)
{
    struct Case {
        const char* name;
        void (*spoil)(TCase&);
        const char* message;
    };
    const Case cases[] = {
        {"one electrode position", [](TCase& c) { c.Survey.ScaleLength = MissingValue; }, ForwardTooFewElectrodes},
        {"relief model, flat survey",
         [](TCase& c) {
             c.Model.HasRelief = true;
             c.Model.Relief = {{0, 0}};
         },
         ForwardReliefMismatch},
        {"flat model, survey with topography",
         [](TCase& c) { c.Survey.Topography = {{-50, 0}, {0, 1}, {50, 0}}; }, ForwardReliefMismatch},
        {"too many boundary nodes",
         [](TCase& c) {
             c.Survey.Settings.StartX = c.Survey.Settings.StartZ = 0.001;
             c.Survey.Settings.FactorX = c.Survey.Settings.FactorZ = 0.001;
             AddBody(c.Model, Rectangle(-55, 20, 55, 45), 30.0, false);
         },
         ForwardTooManyNodes},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TCase c;
        k.spoil(c);
        c.Survey.DataSets[0].Calculated[0] = 42.0;
        const double rho0 = c.Model.Rho0;
        std::vector<std::string> events;
        const TForwardResult r = RunForwardProblem(c.Survey, c.Model, Recorder(events));
        EXPECT_FALSE(r.Succeeded);
        EXPECT_EQ(r.Message, k.message);
        EXPECT_TRUE(events.empty());
        EXPECT_EQ(c.Survey.DataSets[0].Calculated[0], 42.0);
        EXPECT_EQ(c.Model.Rho0, rho0);
        EXPECT_FALSE(c.Survey.ModelReady);
    }
}

TEST(ForwardEntry, UnsolvableModelsFailWithMissingResults)
{
    struct Case {
        const char* name;
        void (*spoil)(TPolygonModel&);
        std::string message;
    };
    const Case cases[] = {
        {"zero resistivity", [](TPolygonModel& m) { m.Bodies[1][0].properties[psResistivity] = Variant(0.0); },
         ForwardCannotSolve},
        {"zero-length element",
         [](TPolygonModel& m) {
             const int last = m.Bodies[1][0].ring.back();
             m.Nodes.push_back(m.Nodes[last]);
             m.Bodies[1][0].ring.push_back(m.Nodes.High());
         },
         ForwardCannotSolve},
        {"resistivity text", [](TPolygonModel& m) { m.Bodies[2][0].properties[psResistivity] = Variant("high"); },
         ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TCase c;
        k.spoil(c.Model);
        std::vector<std::string> events;
        const TForwardResult r = RunForwardProblem(c.Survey, c.Model, Recorder(events));
        EXPECT_FALSE(r.Succeeded);
        if (!k.message.empty()) {
            EXPECT_EQ(r.Message, k.message);
        } else {
            EXPECT_FALSE(r.Message.empty());
        }
        EXPECT_TRUE(AllMissing(Calculated(c.Survey)));
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "status ");
    }
}

TEST(ForwardEntry, RingOrientationAndQuadratureOrderAreNormalised)
{
    TCase reference;
    ASSERT_TRUE(RunForwardProblem(reference.Survey, reference.Model).Succeeded);
    const arofdoubleM expected = Calculated(reference.Survey);
    const double scale = MaxAbs(expected);

    // Rings stored in the other orientation give the same response.
    TCase reversed;
    for (int b = 1; b < reversed.Model.Bodies.Length(); ++b) {
        arofintM& ring = reversed.Model.Bodies[b][0].ring;
        std::reverse(ring.begin(), ring.end());
    }
    ASSERT_TRUE(RunForwardProblem(reversed.Survey, reversed.Model).Succeeded);
    for (int i = 0; i < expected.Length(); ++i) EXPECT_NEAR(Calculated(reversed.Survey)[i], expected[i], 1e-12 * scale);

    // Orders outside 2..8 run as the nearest order of the tables.
    for (auto [given, used] : {std::pair{0, 2}, std::pair{1, 2}, std::pair{9, 8}, std::pair{100, 8}}) {
        TCase odd, clamped;
        odd.Survey.Settings.numqp = given;
        clamped.Survey.Settings.numqp = used;
        ASSERT_TRUE(RunForwardProblem(odd.Survey, odd.Model).Succeeded);
        ASSERT_TRUE(RunForwardProblem(clamped.Survey, clamped.Model).Succeeded);
        EXPECT_EQ(Calculated(odd.Survey), Calculated(clamped.Survey)) << given;
    }
}

TEST(ForwardEntry, ElectrodesByRecordAndMissingEnds)
{
    // Records 0..4 on the ground, 5 buried below record 2 (same x), 6 unused.
    TCase c;
    TSurveyState s = Survey({-20, -10, 0, 10, 20, 0, 30}, 100.0, {0, 0, 0, 0, 0, 6, 0}, {}, true);
    osource& set = s.DataSets[0];
    // Potentials against no electrode, then differences between records, then a buried pair.
    set.P1 = {0, 1, 2, 3, 4, 5, 0, 2, 5, NoElectrode};
    set.P2 = {NoElectrode, NoElectrode, NoElectrode, NoElectrode, NoElectrode, NoElectrode, 1, 5, 2, 3};
    set.Observed = set.Calculated = set.Weight = arofdoubleM(10);
    set.ObservedPresent = arofboolM(10);
    TSolverState state;
    ASSERT_TRUE(RunForwardProblem(s, c.Model, {}, state).Succeeded);
    const arofdoubleM& v = Calculated(s);
    EXPECT_DOUBLE_EQ(v[6], v[0] - v[1]);
    EXPECT_DOUBLE_EQ(v[7], v[2] - v[5]);
    EXPECT_DOUBLE_EQ(v[8], v[5] - v[2]);
    EXPECT_DOUBLE_EQ(v[9], -v[3]);
    EXPECT_NE(v[2], v[5]); // one x, two depths, two potentials
    EXPECT_EQ(state.UsedElectrodes[0], (arofintM{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(state.ElectrodePotentialRow[0][6], 0.0);
    EXPECT_EQ(state.ElectrodePotentialRow[0].Length(), 7);
}

TEST(Misfit, Rules)
{
    struct Case {
        const char* name;
        bool dataLoaded;
        std::vector<double> observed, calculated;
        std::vector<bool> present;
        double misfit;
    };
    const Case cases[] = {
        {"10 against 9", true, {10}, {9}, {true}, 10.0},
        {"both zero", true, {0}, {0}, {true}, 0.0},
        {"opposite signs", true, {-5}, {5}, {true}, 200.0},
        {"mean of terms", true, {10, -5}, {9, 5}, {true, true}, 105.0},
        {"unmeasured left out", true, {10, 0}, {9, 3}, {true, false}, 10.0},
        {"nothing measured", true, {0, 0}, {1, 2}, {false, false}, MissingValue},
        {"no observed data", false, {10}, {9}, {true}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Asource sets(1);
        for (std::size_t j = 0; j < c.observed.size(); ++j) {
            sets[0].P1.push_back(0);
            sets[0].Observed.push_back(c.observed[j]);
            sets[0].Calculated.push_back(c.calculated[j]);
            sets[0].ObservedPresent.push_back(c.present[j]);
        }
        TSolverState s;
        s.DataSets = &sets;
        s.DataLoaded = c.dataLoaded;
        EXPECT_DOUBLE_EQ(CalcMisfit(s), c.misfit);
    }
    EXPECT_EQ(FormatValue(MissingValue, 1, true), "*");
    EXPECT_EQ(FormatValue(0.0, 1, true), "0");
}

TEST(ForwardEntry, SurfaceElectrodesAreEvaluatedOnTheGround)
{
    // A stored profile read back with two decimals puts the records' z a few millimetres off the model's
    // ground line; without a relief a surface record may carry a negative zraw. Neither may change dU.
    for (bool relief : {false, true}) {
        SCOPED_TRACE(relief ? "relief" : "no relief");
        std::vector<complexM> profile, topography;
        if (relief)
            for (double x = -55; x <= 55; x += 10) {
                profile.push_back({x, 3.0 + 2.0 * std::sin(x / 15.0)});
                topography.push_back({x, 5.0 - profile.back().z});
            }
        auto solve = [&](double offset) {
            TPolygonModel model = FrameModel(-60, 60, 50, 100.0, profile);
            AddBody(model, Rectangle(-10, 12, 6, 20), 10.0, true);
            TSurveyState survey = Survey(Line(-42, 5, 17), 100.0, {}, topography);
            for (TElectrode& e : survey.Electrodes) {
                if (relief) {
                    e.z += offset;
                } else {
                    e.zraw = e.z = -std::fabs(offset);
                }
            }
            EXPECT_TRUE(RunForwardProblem(survey, model).Succeeded);
            return Calculated(survey);
        };
        const arofdoubleM exact = solve(0.0), shifted = solve(0.004), other = solve(-0.004);
        const double scale = MaxAbs(exact);
        ASSERT_GT(scale, 1e-3);
        for (int i = 0; i < exact.Length(); ++i) {
            EXPECT_NEAR(shifted[i], exact[i], 1e-12 * scale) << i;
            EXPECT_NEAR(other[i], exact[i], 1e-12 * scale) << i;
        }
    }
}

TEST(ProgressGauge, StepsOfAForwardRunAndOfAnInversion)
{
    TSolverState s;
    s.ForwardStepCount = 2;
    TProgressGauge gauge;
    EXPECT_EQ(gauge.Step(s), 50);
    EXPECT_EQ(gauge.Step(s), 100);
    EXPECT_EQ(gauge.Step(s), 100); // a third step never shows more
    gauge.Reset();
    EXPECT_EQ(gauge.Position(), 0);
    s.SensitivityMode = true;
    for (int i = 1; i <= MaxIterations; ++i) EXPECT_EQ(gauge.Step(s), 5 * i);
}

TEST(ForwardEntry, TwoPointTopographyLeavesTheGroundFlat)
{
    // Two topography points make no relief: the model's ground is flat, and buried electrodes lie zraw
    // below it although their records' z carry the profile's offset.
    auto solve = [](const std::vector<complexM>& topography) {
        TPolygonModel model = FrameModel(-60, 60, 50, 100.0);
        AddBody(model, Rectangle(-10, 12, 6, 20), 10.0, true);
        const std::vector<double> xs = Line(-42, 6, 15);
        TSurveyState survey = Survey(xs, 100.0, std::vector<double>(xs.size(), 4.0), topography);
        EXPECT_TRUE(RunForwardProblem(survey, model).Succeeded);
        return Calculated(survey);
    };
    const arofdoubleM flat = solve({}), sloped = solve({{-60, 0}, {60, 12}});
    for (int i = 0; i < flat.Length(); ++i) EXPECT_EQ(sloped[i], flat[i]) << i;
}
