// The solver on several threads: the same bits on every thread count (forward run, inversion, Jacobian,
// decomposition), the callbacks on the calling thread in the same order, and a failure inside a worker
// reaching the caller with the pool usable afterwards.
#include "dc2dbem_fixtures.h"
#include "sample_survey.h"

#include "platform/rtl/ThreadPool.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace fixtures;

namespace {

const int ThreadCounts[] = {1, 2, 3, 8};

// Under a sanitizer the realistic model's runs take minutes; the normal build compares them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

// Back to the process's own pool after a test that sets thread counts.
struct TPoolReset {
    ~TPoolReset() { SetWorkerThreadCount(0); }
};

// Named values of one run, compared by their bits.
struct TBits {
    std::vector<std::string> Names;
    std::vector<std::vector<double>> Values;

    void Add(const std::string& name, std::vector<double> values)
    {
        Names.push_back(name);
        Values.push_back(std::move(values));
    }
    void Add(const std::string& name, std::initializer_list<double> values) { Add(name, std::vector<double>(values)); }
    void Add(const std::string& name, const arofdoubleM& values)
    {
        Add(name, std::vector<double>(values.begin(), values.end()));
    }
    void Add(const std::string& name, const TDenseMatrix& m)
    {
        std::vector<double> all;
        for (int i = 0; i < m.Rows(); ++i) all.insert(all.end(), m.Row(i), m.Row(i) + m.Cols());
        Add(name, std::move(all));
    }
    void Append(const TBits& other)
    {
        Names.insert(Names.end(), other.Names.begin(), other.Names.end());
        Values.insert(Values.end(), other.Values.begin(), other.Values.end());
    }
};

void ExpectSameBits(const TBits& expected, const TBits& actual, int threads)
{
    ASSERT_EQ(expected.Names, actual.Names);
    for (std::size_t v = 0; v < expected.Values.size(); ++v) {
        const std::vector<double>& a = expected.Values[v];
        const std::vector<double>& b = actual.Values[v];
        ASSERT_EQ(a.size(), b.size()) << expected.Names[v];
        ASSERT_FALSE(a.empty()) << expected.Names[v];
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i])) {
                ADD_FAILURE() << expected.Names[v] << "[" << i << "] on " << threads << " threads: " << b[i]
                              << " against " << a[i] << " on one";
                break;
            }
    }
}

std::vector<double> AllCalculated(const TSurveyState& survey)
{
    std::vector<double> all;
    for (const osource& set : survey.DataSets) all.insert(all.end(), set.Calculated.begin(), set.Calculated.end());
    return all;
}

std::vector<double> Resistivities(const TPolygonModel& model)
{
    std::vector<double> rho;
    for (const SPolygon& body : model.Bodies)
        for (const Polygon& p : body) rho.push_back(p.properties[psResistivity].AsDouble());
    return rho;
}

std::vector<double> Flat(const ararofdoubleM& rows)
{
    std::vector<double> all;
    for (const arofdoubleM& row : rows) all.insert(all.end(), row.begin(), row.end());
    return all;
}

// The forward run and the 20 iterations of the realistic model (about 1500 unknowns).
TBits RealisticRuns()
{
    TSurveyState survey;
    TPolygonModel model;
    sample::MakeSample(sample::RealisticSpec(), survey, model);
    TBits bits;
    {
        TSurveyState sv = survey;
        TPolygonModel m = model;
        TSolverState s;
        const TForwardResult r = RunForwardProblem(sv, m, {}, s);
        EXPECT_TRUE(r.Succeeded) << r.Message;
        EXPECT_GT(s.UnknownCount, 1400);
        bits.Add("forward dU", AllCalculated(sv));
        bits.Add("forward boundary values", s.Solution);
        bits.Add("forward R diagonal", s.HouseholderD);
        bits.Add("forward misfit", {r.Misfit});
    }
    TSolverState s;
    survey.InvertSource = true;
    const TInversionResult r = RunInversionProblem(survey, model, {}, s);
    EXPECT_TRUE(r.Succeeded) << r.Message;
    EXPECT_EQ(r.Updates, MaxIterations);
    bits.Add("inversion resistivities", Resistivities(model));
    bits.Add("inversion source curve", {survey.SourceA, survey.SourceB, survey.SourceC});
    bits.Add("inversion dU", AllCalculated(survey));
    bits.Add("inversion misfit", {r.Misfit});
    bits.Add("last Jacobian", Flat(s.Jacobian));
    return bits;
}

// The inversion tests' model refined to a blocked decomposition: about 450 unknowns (several column
// blocks) when `fine`, else about 110; with readings made from the model with other resistivities.
TTwoBodies RefinedTwoBodies(bool fine)
{
    auto refined = [fine](double electronicRho, double ionicRho) {
        TTwoBodies c(electronicRho, ionicRho);
        c.Survey.Settings.StartX = c.Survey.Settings.StartZ = fine ? 0.1 : 0.3;
        c.Survey.Settings.FactorX = c.Survey.Settings.FactorZ = fine ? 0.01 : 0.05;
        return c;
    };
    TTwoBodies truth = refined(10.0, 500.0), c = refined(40.0, 150.0);
    EXPECT_TRUE(RunForwardProblem(truth.Survey, truth.Model).Succeeded);
    osource& set = c.Survey.DataSets[0];
    set.Observed = truth.Survey.DataSets[0].Calculated;
    for (int j = 0; j < set.Observed.Length(); ++j) set.ObservedPresent[j] = true;
    return c;
}

// The Jacobian of the inversion tests' model, as it comes and refined, with the source curve's rows;
// `unknowns` gets the sizes.
TBits InversionModelJacobians(std::vector<int>& unknowns)
{
    TBits bits;
    for (bool refined : {false, true}) {
        TTwoBodies c = refined ? RefinedTwoBodies(true) : TTwoBodies(40.0, 150.0);
        c.Survey.InvertSource = true;
        TSolverState s;
        HandOver(s, c.Survey, c.Model);
        s.IterationCounter = 1;
        EXPECT_TRUE(SolveForward(s, true));
        EXPECT_EQ(s.Jacobian.Length(), 4);
        unknowns.push_back(s.UnknownCount);
        const std::string name = "Jacobian, " + std::to_string(s.UnknownCount) + " unknowns";
        bits.Add(name, Flat(s.Jacobian));
        bits.Add(name + ", derivatives of the boundary values", s.SolutionDerivatives);
    }
    return bits;
}

// Decompositions and solves of random matrices around the sizes where the work is split differently.
TBits Decompositions()
{
    TBits bits;
    for (int n : {96, 97, 98, 145, 400}) {
        std::mt19937 gen(n);
        std::uniform_real_distribution<double> dist(-1.0, 1.0);
        TDenseMatrix A(n, n), B(n, 5);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) A(i, j) = dist(gen);
            for (int k = 0; k < 5; ++k) B(i, k) = dist(gen);
        }
        arofdoubleM d, c, b(n);
        QRDecompose(A, d, c);
        for (int i = 0; i < n; ++i) b[i] = B(i, 0);
        QRSolve(A, d, c, b);
        QRSolveMany(A, d, c, B);
        const std::string name = "order " + std::to_string(n);
        bits.Add(name + " decomposition", A);
        bits.Add(name + " d and c", [&] {
            std::vector<double> v(d.begin(), d.end());
            v.insert(v.end(), c.begin(), c.end());
            return v;
        }());
        bits.Add(name + " solve", b);
        bits.Add(name + " many solves", B);
    }
    return bits;
}

} // namespace

TEST(SolverThreads, RealisticModelGivesTheSameBitsOnEveryThreadCount)
{
    if (Sanitized) GTEST_SKIP() << "minutes long under a sanitizer; the normal build runs it";
    TPoolReset reset;
    TBits one;
    for (int threads : ThreadCounts) {
        SetWorkerThreadCount(threads);
        ASSERT_EQ(WorkerPool().ThreadCount(), threads);
        const TBits bits = RealisticRuns();
        if (threads == 1)
            one = bits;
        else
            ExpectSameBits(one, bits, threads);
    }
}

TEST(SolverThreads, JacobiansAndDecompositionsGiveTheSameBitsOnEveryThreadCount)
{
    TPoolReset reset;
    TBits one;
    std::vector<int> unknowns;
    for (int threads : ThreadCounts) {
        SetWorkerThreadCount(threads);
        TBits bits = InversionModelJacobians(unknowns);
        bits.Append(Decompositions());
        if (threads == 1)
            one = bits;
        else
            ExpectSameBits(one, bits, threads);
    }
    // The refined model takes the blocked decomposition.
    ASSERT_EQ(unknowns.size(), 8u);
    EXPECT_GT(unknowns[1], 200);
}

TEST(SolverThreads, CallbacksComeOnTheCallingThreadInTheSameOrder)
{
    TPoolReset reset;
    std::vector<std::string> first;
    for (int threads : {1, 8}) {
        SetWorkerThreadCount(threads);
        TTwoBodies c = RefinedTwoBodies(false);
        std::vector<std::string> calls;
        bool elsewhere = false;
        const std::thread::id caller = std::this_thread::get_id();
        auto note = [&](std::string what) {
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
            calls.push_back(std::move(what));
        };
        TInversionCallbacks callbacks;
        callbacks.ProgressStep = [&] { note("step"); };
        callbacks.ProgressReset = [&] { note("reset"); };
        callbacks.ShowStatus = [&](const std::string& text) { note("status " + text); };
        callbacks.BoundaryNodes = [&](const Tnodes& nodes) { note("nodes " + std::to_string(nodes.Length())); };
        callbacks.ShowDataGraphs = [&](int solution, double) { note("graphs " + std::to_string(solution)); };
        callbacks.RebuildShapes = [&](int iteration) { note("shapes " + std::to_string(iteration)); };
        ASSERT_TRUE(RunForwardProblem(c.Survey, c.Model, callbacks).Succeeded);
        ASSERT_TRUE(RunInversionProblem(c.Survey, c.Model, callbacks).Succeeded);
        EXPECT_FALSE(elsewhere) << threads << " threads";
        if (threads == 1)
            first = calls;
        else
            EXPECT_EQ(calls, first);
    }
    // Nodes (enough for a blocked decomposition), two steps, reset and status of the forward run; then
    // per iteration graphs and shapes.
    ASSERT_GT(first.size(), 5u);
    EXPECT_GT(std::stoi(first[0].substr(6)), 100) << first[0];
    EXPECT_EQ(first[1], "step");
    EXPECT_EQ(first[3], "reset");
}

TEST(SolverThreads, FailureInAWorkerReachesTheCallerAndTheNextRunSucceeds)
{
    TPoolReset reset;
    SetWorkerThreadCount(8);
    for (bool inversion : {false, true}) {
        SCOPED_TRACE(inversion ? "inversion" : "forward run");
        TTwoBodies c(40.0, 150.0);
        // Readings against electrodes the survey does not hold: their places are looked up in the
        // electrode integrals, which the threads take blocks of.
        osource& set = c.Survey.DataSets[0];
        const arofintM p2 = set.P2;
        const int electrodes = c.Survey.Electrodes.Length();
        for (int j = 0; j < set.P2.Length(); ++j) set.P2[j] = electrodes + j;
        auto run = [&] {
            if (inversion) {
                const TInversionResult r = RunInversionProblem(c.Survey, c.Model);
                return std::make_pair(r.Succeeded, r.Message);
            }
            const TForwardResult r = RunForwardProblem(c.Survey, c.Model);
            return std::make_pair(r.Succeeded, r.Message);
        };
        const auto failed = run();
        EXPECT_FALSE(failed.first);
        EXPECT_EQ(failed.second, "Range check error");
        for (double v : set.Calculated) EXPECT_EQ(v, MissingValue);

        set.P2 = p2;
        const auto again = run();
        EXPECT_TRUE(again.first) << again.second;
        EXPECT_NE(set.Calculated[0], MissingValue);
    }
}
