// The inversion: recovery of resistivities from synthetic data and of the sample survey's lens, the
// callbacks and the fitted model's last solution, the damping and clamping rules, readings without dU,
// models that carry no field, source-curve parameters, refusals and failures.
#include "dc2dbem_fixtures.h"
#include "sample_survey.h"

#include <gtest/gtest.h>

#include <limits>

using namespace fixtures;

namespace {

double Rho(const TPolygonModel& m, int body, int sub = 0)
{
    return m.Bodies[body][sub].properties[psResistivity].AsDouble();
}

// Observed dU := the forward response of `truth`, every reading present.
void ObserveFrom(TTwoBodies& target, TTwoBodies& truth)
{
    ASSERT_TRUE(RunForwardProblem(truth.Survey, truth.Model).Succeeded);
    osource& set = target.Survey.DataSets[0];
    set.Observed = truth.Survey.DataSets[0].Calculated;
    for (int j = 0; j < set.Observed.Length(); ++j) set.ObservedPresent[j] = true;
}

struct TEvents {
    int Steps = 0, Resets = 0;
    std::vector<int> Solutions, Updates;
    std::vector<double> Misfits;
    std::vector<std::string> Status;
    TInversionCallbacks Callbacks()
    {
        TInversionCallbacks c;
        c.ProgressStep = [this] { ++Steps; };
        c.ProgressReset = [this] { ++Resets; };
        c.ShowStatus = [this](const std::string& text) { Status.push_back(text); };
        c.ShowDataGraphs = [this](int solution, double misfit) {
            Solutions.push_back(solution);
            Misfits.push_back(misfit);
        };
        c.RebuildShapes = [this](int iteration) { Updates.push_back(iteration); };
        return c;
    }
};

std::vector<int> Count(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

} // namespace

TEST(Inversion, RecoversBothResistivitiesAndReportsEveryIteration)
{
    struct Case {
        const char* name;
        std::vector<int> missing; // readings whose dU the survey did not give (Observed 0)
    };
    for (const Case& c : {Case{"every reading", {}}, Case{"three readings missing", {3, 11, 12}}}) {
        SCOPED_TRACE(c.name);
        TTwoBodies truth(10.0, 500.0), start(40.0, 150.0);
        ObserveFrom(start, truth);
        for (int j : c.missing) {
            start.Survey.DataSets[0].Observed[j] = 0.0;
            start.Survey.DataSets[0].ObservedPresent[j] = false;
        }
        TEvents events;
        TSolverState state;
        const TInversionResult r = RunInversionProblem(start.Survey, start.Model, events.Callbacks(), state);
        ASSERT_TRUE(r.Succeeded) << r.Message;
        EXPECT_NEAR(Rho(start.Model, 1), 10.0, 0.001 * 10.0);
        EXPECT_NEAR(Rho(start.Model, 2), 500.0, 0.001 * 500.0);
        EXPECT_LT(r.Misfit, 0.1);

        // 20 progress steps and one reset; graphs after the 20 iteration solutions and the fitted model's.
        EXPECT_EQ(r.Updates, MaxIterations);
        EXPECT_EQ(events.Steps, MaxIterations);
        EXPECT_EQ(events.Resets, 1);
        EXPECT_EQ(events.Solutions, Count(1, MaxIterations + 1));
        EXPECT_EQ(events.Updates, Count(1, MaxIterations));
        ASSERT_EQ(events.Status.size(), std::size_t(MaxIterations + 1));
        EXPECT_EQ(events.Status.back(), r.MisfitText);
        EXPECT_EQ(events.Misfits.back(), r.Misfit);
        EXPECT_GT(events.Misfits.front(), 1.0);
        EXPECT_FALSE(state.SensitivityMode);
        EXPECT_TRUE(start.Survey.ModelReady);

        // The calculated dU and the misfit belong to the fitted model.
        TSurveyState again = start.Survey;
        TPolygonModel fitted = start.Model;
        const TForwardResult f = RunForwardProblem(again, fitted);
        ASSERT_TRUE(f.Succeeded);
        EXPECT_EQ(f.Misfit, r.Misfit);
        EXPECT_EQ(again.DataSets[0].Calculated, start.Survey.DataSets[0].Calculated);
    }
}

TEST(Inversion, DampingRules)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<std::vector<double>> A;
        std::vector<double> b;
        bool found;
        int doublings;
        double damping; // expected lambda when found after doublings
    };
    const Case cases[] = {
        {"within the bound: undamped", {{4, 0}, {0, 1}}, {2, 1}, true, 0, 0.0},
        {"exactly at the bound: undamped", {{1}}, {-2}, true, 0, 0.0},
        {"too large: lambda = 2 x largest diagonal / 1000", {{1, 0}, {0, 1e-6}}, {1, 1e-3}, true, 1, 0.002},
        {"doubled until within the bound", {{1}}, {100}, true, 16, 0.001 * 65536},
        {"singular (not finite): damped", {{0, 0}, {0, 1}}, {0, 1}, true, 1, 0.002},
        {"all zero: the floor", {{0, 0}, {0, 0}}, {0, 0}, true, 1, 2 * MinDamping},
        {"right-hand side not finite", {{1}}, {nan}, false, MaxDampingDoublings, 0.0},
        {"beyond the doublings", {{1e-300}}, {1e300}, false, MaxDampingDoublings, 0.0},
        {"no parameters", {}, {}, true, 0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = static_cast<int>(c.b.size());
        TDenseMatrix A(n, n);
        arofdoubleM b;
        for (int i = 0; i < n; ++i) {
            b.push_back(c.b[i]);
            for (int j = 0; j < n; ++j) A(i, j) = c.A[i][j];
        }
        const TDampedStep step = DampedStep(A, b);
        EXPECT_EQ(step.Found, c.found);
        EXPECT_EQ(step.Doublings, c.doublings);
        if (!c.found) {
            EXPECT_TRUE(step.Step.empty());
            continue;
        }
        if (c.doublings > 0) {
            EXPECT_DOUBLE_EQ(step.Damping, c.damping);
        }
        ASSERT_EQ(step.Step.Length(), n);
        // Every component within the bound, and (A + lambda I) dx = b.
        for (int i = 0; i < n; ++i) {
            EXPECT_LE(std::fabs(step.Step[i]), MaxParameterStep);
            double lhs = step.Damping * step.Step[i];
            for (int j = 0; j < n; ++j) lhs += A(i, j) * step.Step[j];
            EXPECT_NEAR(lhs, b[i], 1e-12 * (1.0 + std::fabs(b[i])));
        }
    }
}

TEST(Inversion, ResistivityUpdateIsClampedInSinglePrecision)
{
    struct Case {
        double rho, dx, expected;
    };
    const Case cases[] = {
        {100.0, 0.0, 100.0},
        {100.0, std::log(2.0), 200.0},
        {200000.0, std::log(25.0), 1000000.0}, // would be 5 000 000
        {1000000.0, 2.0, 1000000.0},
        {0.01, std::log(0.1), float(0.01)}, // would be 0.001
        {33.3, 0.0, float(33.3)},           // rounded to single precision
        {0.0, 1.0, float(0.01)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rho);
        EXPECT_EQ(UpdatedResistivity(c.rho, c.dx), c.expected);
    }
    EXPECT_TRUE(std::isnan(UpdatedResistivity(-5.0, 0.5)));
}

namespace {

// The refined model handed over to a state, and one solution with sensitivities.
void SolveWithSensitivities(TSolverState& s, TSurveyState& survey, const TPolygonModel& model)
{
    HandOver(s, survey, model);
    s.IterationCounter = 1;
    ASSERT_TRUE(SolveForward(s, true));
}

// Every resistivity, Calculated value and source parameter is finite.
void ExpectAllFinite(const TSurveyState& survey, const TPolygonModel& model)
{
    for (const SPolygon& body : model.Bodies)
        for (int k = 0; k < body.Length(); ++k)
            if (body[k].properties[psResistivity].IsNumber()) {
                EXPECT_TRUE(std::isfinite(body[k].properties[psResistivity].AsDouble()));
            }
    for (double v : survey.DataSets[0].Calculated) EXPECT_TRUE(std::isfinite(v));
    EXPECT_TRUE(std::isfinite(survey.SourceA) && std::isfinite(survey.SourceB) && std::isfinite(survey.SourceC));
}

// Observed readings of a smooth made-up curve, all present.
void MadeUpReadings(TSurveyState& survey)
{
    osource& set = survey.DataSets[0];
    for (int j = 0; j < set.Observed.Length(); ++j) {
        set.Observed[j] = 3.0 * std::sin(0.4 * j);
        set.ObservedPresent[j] = true;
    }
}

} // namespace

TEST(Inversion, SampleSurveyIsFittedToItsNoise)
{
    // Relief, an overburden layer, the lens (read at 5, started at 20) and a resistive dyke; readings with
    // 1 % noise rounded to 0.01 mV.
    sample::TSpec spec;
    TSurveyState survey;
    TPolygonModel model;
    sample::MakeSample(spec, survey, model);
    TEvents events;
    const TInversionResult r = RunInversionProblem(survey, model, events.Callbacks());
    ASSERT_TRUE(r.Succeeded) << r.Message;
    EXPECT_GT(events.Misfits.front(), 20.0);
    EXPECT_LT(r.Misfit, 2.0);
    EXPECT_NEAR(Rho(model, 1), 5.0, 0.02 * 5.0);
    ExpectAllFinite(survey, model);
}

TEST(Inversion, WithoutElectronicBodiesNothingMoves)
{
    struct Case {
        const char* name;
        bool bodies;       // an ionic layer and two ionic bodies, else the host alone
        bool invertSource; // linear curve: two more rows
        int rows;
    };
    for (const Case& c : {Case{"ionic bodies", true, true, 5}, Case{"host alone, no parameters", false, false, 0}}) {
        SCOPED_TRACE(c.name);
        TPolygonModel model = FrameModel(-100, 100, 80, 100.0);
        if (c.bodies) {
            AddTopLayer(model, 4.0, 30.0, false);
            AddBody(model, RegularPolygon(-8.0, 14.0, 6.0, 16), 33.3, false);
            AddBody(model, Rectangle(2.0, 6.0, 12.0, 30.0), 500.0, false);
        }
        TSurveyState survey = Survey(Line(-60, 5, 25), 100.0);
        survey.Settings.numqp = 7;
        survey.DataLoaded = true;
        survey.InvertSource = c.invertSource;
        survey.SourceA = 2.0;
        survey.SourceC = 0.5;
        MadeUpReadings(survey);

        TSolverState s;
        SolveWithSensitivities(s, survey, model);
        ASSERT_EQ(s.Jacobian.Length(), c.rows);
        for (const arofdoubleM& row : s.Jacobian) EXPECT_EQ(MaxAbs(row), 0.0);
        for (const arofdoubleM& row : s.Sensitivities) EXPECT_EQ(MaxAbs(row), 0.0);

        const AllSpolygon before = model.Bodies;
        TEvents events;
        const TInversionResult r = RunInversionProblem(survey, model, events.Callbacks());
        ASSERT_TRUE(r.Succeeded) << r.Message;
        EXPECT_EQ(r.Updates, MaxIterations);
        EXPECT_EQ(model.Bodies, before); // the 33.3 is not even rounded to single precision
        EXPECT_EQ(survey.SourceA, 2.0);
        EXPECT_EQ(survey.SourceB, 30.0);
        EXPECT_EQ(survey.SourceC, 0.5);
        EXPECT_EQ(MaxAbs(survey.DataSets[0].Calculated), 0.0);
        EXPECT_TRUE(std::isfinite(r.Misfit));
        ExpectAllFinite(survey, model);
    }
}

TEST(Inversion, IonicBodiesBesideElectronicBodiesAtTheHostResistivityStay)
{
    struct Case {
        const char* name;
        bool relief;
        double ionicRowBound; // relative to the electronic row's largest entry
    };
    for (const Case& c : {Case{"no relief", false, 0.0}, Case{"flat relief", true, 1e-6}}) {
        SCOPED_TRACE(c.name);
        std::vector<complexM> profile;
        if (c.relief)
            for (double x = -90; x <= 90; x += 20) profile.push_back({x, 0.0});
        auto build = [&](double electronicRho) {
            TPolygonModel m = FrameModel(-100, 100, 80, 100.0, profile);
            AddBody(m, RegularPolygon(-8.0, 14.0, 6.0, 16), electronicRho, true);
            AddBody(m, Rectangle(2.0, 6.0, 12.0, 30.0), 500.0, false);
            AddBody(m, Rectangle(-40.0, 10.0, -30.0, 20.0), 20.0, false);
            return m;
        };
        auto survey = [&] {
            TSurveyState s = Survey(Line(-60, 5, 25), 100.0, {}, profile);
            s.Settings.numqp = 7;
            s.SourceA = 2.0;
            s.DataLoaded = true;
            return s;
        };
        // Readings of the electronic body at 30; the model starts with it at the host's 100.
        TSurveyState truthSurvey = survey(), fitSurvey = survey();
        TPolygonModel truth = build(30.0), model = build(100.0);
        ASSERT_TRUE(RunForwardProblem(truthSurvey, truth).Succeeded);
        fitSurvey.DataSets[0].Observed = truthSurvey.DataSets[0].Calculated;
        for (bool& present : fitSurvey.DataSets[0].ObservedPresent) present = true;

        TSolverState s;
        SolveWithSensitivities(s, fitSurvey, model);
        ASSERT_EQ(s.Jacobian.Length(), 3);
        const double electronic = MaxAbs(s.Jacobian[0]);
        EXPECT_GT(electronic, 0.0);
        EXPECT_LE(MaxAbs(s.Jacobian[1]), c.ionicRowBound * electronic);
        EXPECT_LE(MaxAbs(s.Jacobian[2]), c.ionicRowBound * electronic);
        arofdoubleM residuals, b;
        TDenseMatrix A;
        CalcResiduals(s, residuals);
        NormalEquations(s, residuals, A, b);
        const TDampedStep step = DampedStep(A, b);
        ASSERT_TRUE(step.Found);
        EXPECT_GE(step.Doublings, 1);

        const TInversionResult r = RunInversionProblem(fitSurvey, model);
        ASSERT_TRUE(r.Succeeded) << r.Message;
        EXPECT_NE(Rho(model, 1), 100.0);
        EXPECT_EQ(Rho(model, 2), 500.0);
        EXPECT_EQ(Rho(model, 3), 20.0);
        ExpectAllFinite(fitSurvey, model);
    }
}

TEST(Inversion, SourceCurveParametersByKind)
{
    // Readings of a = 2, b = 20, c = 0.5 and a body of 10; the fit starts from 1.5, 30, 0.2 and 30.
    struct Case {
        const char* name;
        int type;
        int rows; // one resistivity and the inverted curve parameters
        bool aMoves, bMoves, cMoves;
        bool recovers; // else the misfit falls below a tenth of the first
    };
    const Case cases[] = {{"linear", 0, 3, true, false, true, true},
                          {"exponential", 1, 4, true, true, true, false},
                          {"arbitrary", 2, 1, false, false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto survey = [&](double a, double b, double cc) {
            // Surface electrodes and one buried in the body, where the imposed potential is seen.
            std::vector<double> xs = Line(-60, 5, 25), depths(xs.size(), 0.0);
            xs.push_back(-7.0);
            depths.push_back(15.0);
            TSurveyState s = Survey(xs, 100.0, depths);
            s.Settings.numqp = 7;
            s.DataLoaded = s.InvertSource = true;
            s.SourceType = c.type;
            s.SourceA = a;
            s.SourceB = b;
            s.SourceC = cc;
            for (int k = 0; k < SourceCurvePoints; ++k) {
                s.SourceDepths.push_back(k);
                s.SourceValues.push_back(-0.1 * k);
            }
            return s;
        };
        auto build = [](double rho) {
            TPolygonModel m = FrameModel(-100, 100, 80, 100.0);
            AddBody(m, RegularPolygon(-8.0, 14.0, 6.0, 16), rho, true);
            return m;
        };
        TSurveyState truthSurvey = survey(2.0, 20.0, 0.5), fitSurvey = survey(1.5, 30.0, 0.2);
        TPolygonModel truth = build(10.0), model = build(30.0);
        ASSERT_TRUE(RunForwardProblem(truthSurvey, truth).Succeeded);
        fitSurvey.DataSets[0].Observed = truthSurvey.DataSets[0].Calculated;
        for (bool& present : fitSurvey.DataSets[0].ObservedPresent) present = true;

        TSolverState s;
        SolveWithSensitivities(s, fitSurvey, model);
        EXPECT_EQ(s.Jacobian.Length(), c.rows);
        TEvents events;
        const TInversionResult r = RunInversionProblem(fitSurvey, model, events.Callbacks());
        ASSERT_TRUE(r.Succeeded) << r.Message;
        EXPECT_EQ(fitSurvey.SourceA != 1.5, c.aMoves);
        EXPECT_EQ(fitSurvey.SourceB != 30.0, c.bMoves);
        EXPECT_EQ(fitSurvey.SourceC != 0.2, c.cMoves);
        EXPECT_LT(events.Misfits[1], events.Misfits[0]);
        if (c.recovers) {
            EXPECT_NEAR(Rho(model, 1), 10.0, 1e-5);
            EXPECT_NEAR(fitSurvey.SourceA, c.aMoves ? 2.0 : 1.5, 1e-6);
            EXPECT_NEAR(fitSurvey.SourceC, c.cMoves ? 0.5 : 0.2, 1e-6);
            EXPECT_LT(r.Misfit, 1e-6);
        } else {
            EXPECT_LT(r.Misfit, 0.1 * events.Misfits[0]);
        }
    }
}

TEST(Inversion, RefusesWithoutChange)
{
    struct Case {
        const char* name;
        void (*spoil)(TTwoBodies&);
        const char* message;
    };
    const Case cases[] = {
        {"no observed data", [](TTwoBodies& c) { c.Survey.DataLoaded = false; }, InversionNoObservedData},
        {"one electrode position", [](TTwoBodies& c) { c.Survey.ScaleLength = MissingValue; }, ForwardTooFewElectrodes},
        {"flat model, survey with topography",
         [](TTwoBodies& c) { c.Survey.Topography = {{-50, 0}, {0, 1}, {50, 0}}; }, ForwardReliefMismatch},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TTwoBodies c(40.0, 150.0);
        MadeUpReadings(c.Survey);
        k.spoil(c);
        c.Survey.DataSets[0].Calculated[0] = 42.0;
        const AllSpolygon bodies = c.Model.Bodies;
        TEvents events;
        const TInversionResult r = RunInversionProblem(c.Survey, c.Model, events.Callbacks());
        EXPECT_FALSE(r.Succeeded);
        EXPECT_EQ(r.Message, k.message);
        EXPECT_EQ(events.Steps + events.Resets + events.Solutions.size() + events.Status.size(), 0u);
        EXPECT_EQ(c.Model.Bodies, bodies);
        EXPECT_EQ(c.Survey.DataSets[0].Calculated[0], 42.0);
        EXPECT_FALSE(c.Survey.ModelReady);
    }
}

TEST(Inversion, StopsWithoutWritingAnythingNotFinite)
{
    struct Case {
        const char* name;
        void (*spoil)(TTwoBodies&);
        int spoilAtSolution; // the readings turn infinite when this solution is shown (0: never)
        int updates;
        bool calculatedMissing;
        bool exception; // another failure, with the run time's message
    };
    const Case cases[] = {
        {"zero-length element",
         [](TTwoBodies& c) {
             const int last = c.Model.Bodies[1][0].ring.back();
             c.Model.Nodes.push_back(c.Model.Nodes[last]);
             c.Model.Bodies[1][0].ring.push_back(c.Model.Nodes.High());
         },
         0, 0, true, false},
        {"readings not finite at the third solution", [](TTwoBodies&) {}, 3, 2, false, false},
        {"resistivity text", [](TTwoBodies& c) { c.Model.Bodies[2][0].properties[psResistivity] = Variant("high"); }, 0,
         0, true, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TTwoBodies truth(10.0, 500.0), c(40.0, 150.0);
        ObserveFrom(c, truth);
        k.spoil(c);
        TEvents events;
        TInversionCallbacks callbacks = events.Callbacks();
        callbacks.ShowDataGraphs = [&](int solution, double misfit) {
            events.Solutions.push_back(solution);
            events.Misfits.push_back(misfit);
            if (solution == k.spoilAtSolution) c.Survey.DataSets[0].Observed[4] = std::numeric_limits<double>::infinity();
        };
        AllSpolygon written = c.Model.Bodies;
        callbacks.RebuildShapes = [&](int iteration) {
            events.Updates.push_back(iteration);
            written = c.Model.Bodies;
        };
        const TInversionResult r = RunInversionProblem(c.Survey, c.Model, callbacks);
        EXPECT_FALSE(r.Succeeded);
        if (k.exception) {
            EXPECT_FALSE(r.Message.empty());
            EXPECT_NE(r.Message, InversionNoFiniteUpdate);
        } else {
            EXPECT_EQ(r.Message, InversionNoFiniteUpdate);
            EXPECT_EQ(events.Solutions, Count(1, k.updates + 1));
        }
        EXPECT_EQ(r.Updates, k.updates);
        // The model keeps the last update written; the gauge is reset once.
        EXPECT_EQ(c.Model.Bodies, written);
        EXPECT_EQ(events.Resets, 1);
        EXPECT_EQ(static_cast<int>(events.Updates.size()), k.updates);
        const arofdoubleM& calculated = c.Survey.DataSets[0].Calculated;
        for (double v : calculated) EXPECT_EQ(v == MissingValue, k.calculatedMissing);
        if (k.calculatedMissing) {
            ASSERT_FALSE(events.Status.empty());
            EXPECT_EQ(events.Status.back(), "");
        }
        for (int body = 1; body <= 2; ++body) {
            if (c.Model.Bodies[body][0].properties[psResistivity].IsNumber()) {
                EXPECT_TRUE(std::isfinite(Rho(c.Model, body)));
            }
        }
    }
}
