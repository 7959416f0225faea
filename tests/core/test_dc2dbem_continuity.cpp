// The potential at surface electrodes along the ground line: the closely spaced survey over the sample's
// hill, electrodes stepped across nodes and bends, and one check for each place a jump could come from
// (the evaluation point and the free term, the factor, the imposed potential, the depth below the
// relief, the node an electrode is given).
#include "dc2dbem_fixtures.h"

#include "core/SurveyOpen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

using namespace fixtures;

namespace {

// A survey and its model opened from `path` below tests/data with the configuration beside it, as the
// main window opens them (the configuration question answered Yes).
TSurveyOpenResult OpenWithConfiguration(const std::string& path)
{
    return OpenSurveyFile(TSurveyState{}, std::string(VSP_TEST_DATA) + "/" + path,
                          [](const std::string&) { return true; }, 100.0);
}

// Surface electrodes at `xs` added to a prepared survey (its spacing, and so the discretisation, stay),
// with a data set that measures each against no electrode: its Calculated values are their potentials.
void AddProbes(TSurveyState& s, const std::vector<double>& xs)
{
    const double top = TopographyTop(s.Topography);
    osource set;
    for (double x : xs) {
        TElectrode e;
        e.x = x;
        const double g = s.Topography.Length() >= 2 ? InterpolateProfile(s.Topography, x) : 0.0;
        e.ztopo = g;
        e.z = s.Topography.empty() ? 0.0 : top - g;
        e.minusZtopo = -g;
        e.surface = true;
        s.Electrodes.push_back(e);
        set.P1.push_back(s.Electrodes.High());
        set.P2.push_back(NoElectrode);
        set.P1x.push_back(x);
        set.P2x.push_back(MissingValue);
        for (arofdoubleM* a : {&set.P1y, &set.P2y, &set.P1z, &set.P2z, &set.Observed, &set.Calculated})
            a->push_back(0.0);
        set.Weight.push_back(1.0);
        set.ObservedPresent.push_back(false);
    }
    s.DataSets.push_back(set);
}

// The scaled potentials at `xs` of a forward run of the model.
arofdoubleM Potentials(TSurveyState survey, TPolygonModel model, const std::vector<double>& xs)
{
    AddProbes(survey, xs);
    TSolverState state;
    const TForwardResult r = RunForwardProblem(survey, model, {}, state);
    EXPECT_TRUE(r.Succeeded) << r.Message;
    return survey.DataSets.back().Calculated;
}

// The x of the refined node on the ground nearest to x: on the ground line with a relief, among the
// nodes at z <= 0 with an unknown without one.
double NearestGroundNode(TSurveyState survey, const TPolygonModel& model, double x)
{
    TSolverState s;
    HandOver(s, survey, model);
    PrepareSolution(s);
    double best = MissingValue;
    for (int node = 0; node < s.SolverNodes.Length(); ++node) {
        const bool ground = s.ReliefPresent ? s.OnSurface[node] : s.SolverNodes[node].z <= 0.0;
        if (ground && s.NodeNumber[node] >= 0 && std::fabs(s.SolverNodes[node].x - x) < std::fabs(best - x))
            best = s.SolverNodes[node].x;
    }
    return best;
}

void MakeLayerElectronic(TPolygonModel& model)
{
    model.Bodies[0][1].properties[psConductorType] = Variant(0.0);
}

// Second differences of the calculated dU, by row (rows ascend in P1 x).
std::vector<double> SecondDifferences(const arofdoubleM& dU)
{
    std::vector<double> d2;
    for (int j = 1; j + 1 < dU.Length(); ++j) d2.push_back(std::fabs(dU[j - 1] - 2 * dU[j] + dU[j + 1]));
    return d2;
}

// The largest change of direction of the model's relief at a relief point within `reach` of x, radians.
double BendNear(const arofcomplexM& relief, double x, double reach)
{
    double bend = 0.0;
    for (int i = 1; i + 1 < relief.Length(); ++i) {
        if (std::fabs(relief[i].x - x) > reach) continue;
        const double before = std::atan2(relief[i].z - relief[i - 1].z, relief[i].x - relief[i - 1].x);
        const double after = std::atan2(relief[i + 1].z - relief[i].z, relief[i + 1].x - relief[i].x);
        bend = std::max(bend, std::fabs(after - before));
    }
    return bend;
}

// The ground edge (left node, right node) of the solver's ground line over x.
std::pair<int, int> GroundEdge(const TSolverState& s, double x)
{
    const arofintM& list = s.SurfaceNodeList;
    for (int q = 0; q + 1 < list.Length(); ++q)
        if (s.SolverNodes[list[q]].x <= x && x <= s.SolverNodes[list[q + 1]].x) return {list[q], list[q + 1]};
    return {-1, -1};
}

// The value at x of the line through (A.x, a) and (B.x, b).
double Linear(const TNode& A, double a, const TNode& B, double b, double x)
{
    return a + (x - A.x) / (B.x - A.x) * (b - a);
}

// The solution's potential (unscaled) on the ground line at x, linear between the ground nodes.
double GroundLineValue(const TSolverState& s, double x)
{
    const auto [a, b] = GroundEdge(s, x);
    if (a < 0) return MissingValue;
    return Linear(s.SolverNodes[a], s.Solution[s.NodeNumber[a]], s.SolverNodes[b], s.Solution[s.NodeNumber[b]], x);
}

// Calls f(e, P, a, b) for every used surface electrode between ground nodes: its index, its evaluation
// point and the nodes of the ground edge below it.
template <class F>
void ForElectrodesBetweenNodes(const TSolverState& s, F&& f)
{
    for (int e : s.UsedElectrodes[0]) {
        if (!(*s.Electrodes)[e].surface || !s.ElectrodeOffNode[e]) continue;
        const complexM P = s.ElectrodePoint[e];
        const auto [a, b] = GroundEdge(s, P.x);
        ASSERT_GE(a, 0) << P.x;
        f(e, P, a, b);
    }
}

} // namespace

// 800 dipoles 0.25 m apart over the sample's hill and model (tests/data/dense800.sp2 with its .cfg),
// solved once; the tests below read the solution.
class DenseSurvey : public testing::Test {
protected:
    struct TRun {
        TSurveyState Survey;
        TPolygonModel Model;
        TSolverState State;
        std::string Failure; // why the survey could not be opened and solved
    };

    static void SetUpTestSuite()
    {
        FRun = std::make_unique<TRun>();
        const TSurveyOpenResult opened = OpenWithConfiguration("dense800.sp2");
        if (opened.Kind != ReadDataWithModel) {
            FRun->Failure = "dense800.sp2 did not open with its model: " + opened.Message;
            return;
        }
        FRun->Survey = opened.Survey;
        FRun->Model = *opened.Model;
        const TForwardResult r = RunForwardProblem(FRun->Survey, FRun->Model, {}, FRun->State);
        if (!r.Succeeded) FRun->Failure = "the forward run failed: " + r.Message;
    }
    static void TearDownTestSuite() { FRun.reset(); }
    void SetUp() override { ASSERT_EQ(FRun->Failure, ""); }

    // The used surface electrodes.
    static std::vector<int> SurfaceElectrodes(const TSolverState& s)
    {
        std::vector<int> list;
        for (int e : s.UsedElectrodes[0])
            if ((*s.Electrodes)[e].surface) list.push_back(e);
        return list;
    }

    static std::unique_ptr<TRun> FRun;
};

std::unique_ptr<DenseSurvey::TRun> DenseSurvey::FRun;

TEST_F(DenseSurvey, CalculatedCurveIsSmooth)
{
    // The configuration was taken: the survey's discretisation and quadrature order.
    ASSERT_EQ(FRun->Survey.Settings.numqp, 7);
    ASSERT_DOUBLE_EQ(FRun->Survey.ScaleLength, 0.25);
    const osource& set = FRun->Survey.DataSets[0];
    ASSERT_EQ(set.Calculated.Length(), 800);
    // No second difference of dU exceeds ten times the median of those within 2.5 m of it. Where the
    // model's ground line bends by an angle b, the potential itself has the corner's kink (the field
    // grows or fades like r^(pi / (pi -+ b)) - 1 towards the corner, converged under refinement of the
    // elements), so within 1 m of a relief point the bound also allows |dU| b.
    const std::vector<double> d2 = SecondDifferences(set.Calculated);
    const int reach = 10;
    int failures = 0;
    for (int j = 0; j < static_cast<int>(d2.size()); ++j) {
        std::vector<double> around;
        for (int k = std::max(0, j - reach); k <= std::min<int>(d2.size() - 1, j + reach); ++k)
            if (k != j) around.push_back(d2[k]);
        std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
        const double x = set.P1x[j + 1], dU = set.Calculated[j + 1];
        const double bound = 10 * around[around.size() / 2] + std::fabs(dU) * BendNear(FRun->Model.Relief, x, 1.0);
        if (d2[j] > bound && ++failures <= 10)
            ADD_FAILURE() << "at x = " << x << " the second difference " << d2[j] << " exceeds " << bound;
    }
    EXPECT_EQ(failures, 0);
}

TEST_F(DenseSurvey, ElectrodeBesideANodeHasThePotentialOfItsOwnPlace)
{
    // A surface electrode's potential is that of the ground line at its x: the potential varying
    // linearly between the ground nodes, to within a quarter per cent of the largest change between
    // neighbouring electrodes (the ground line's own linear variation misses the curved potential
    // between nodes 0.16 m apart by less). An electrode a few millimetres beside a node, given the
    // node's value, would be off by the field times that distance.
    const TSolverState& s = FRun->State;
    const std::vector<int> electrodes = SurfaceElectrodes(s);
    double largestStep = 0.0;
    for (std::size_t i = 1; i < electrodes.size(); ++i)
        largestStep = std::max(largestStep, std::fabs(s.RawElectrodePotentials[0][electrodes[i]] -
                                                      s.RawElectrodePotentials[0][electrodes[i - 1]]));
    ASSERT_GT(largestStep, 0.0);
    for (int e : electrodes) {
        const double x = (*s.Electrodes)[e].x;
        EXPECT_NEAR(s.RawElectrodePotentials[0][e], GroundLineValue(s, x), 0.0025 * largestStep) << "x = " << x;
    }
}

TEST_F(DenseSurvey, ElectrodesAreEvaluatedOnTheModelsGroundLineWithItsFreeTerm)
{
    // The survey's topography lists the profile rounded to 0.01, the model's ground line holds it
    // unrounded: an electrode between nodes is evaluated on the ground line, not at the depth made from
    // the topography, and its factor is the free term of a smooth point of that line.
    const TSolverState& s = FRun->State;
    double largestOffset = 0.0;
    ForElectrodesBetweenNodes(s, [&](int e, const complexM& P, int a, int b) {
        const TNode &A = s.SolverNodes[a], &B = s.SolverNodes[b];
        EXPECT_NEAR(P.z, Linear(A, A.z, B, B.z, P.x), 1e-12) << "x = " << P.x;
        largestOffset = std::max(largestOffset, std::fabs((*s.Electrodes)[e].z - P.z));
        // Between two refined nodes on one straight stretch of the relief, the nodes' free terms are
        // that of a smooth ground point: the electrode's factor (to the 8 digits that the angle of a
        // nearly straight line keeps).
        if (A.FrameCode != 6 && B.FrameCode != 6) {
            for (int node : {a, b}) EXPECT_NEAR(s.FreeTerms[s.NodeNumber[node]], s.ElectrodeFactor[e], 1e-7) << P.x;
        }
    });
    EXPECT_GT(largestOffset, 1e-3); // the rounded topography does miss the ground line
}

TEST_F(DenseSurvey, EveryGroundElectrodeTakesTheLayersFactor)
{
    // The layer under the whole ground line (rho 30 in a host of 100) contains every surface electrode
    // between the nodes, those just beside a node included: factor rho0 / rho / 2, parameter 0, and no
    // imposed potential (the layer is ionic).
    const TSolverState& s = FRun->State;
    ASSERT_FALSE(s.Params[0].Electronic);
    ForElectrodesBetweenNodes(s, [&](int e, const complexM& P, int, int) {
        EXPECT_EQ(s.ElectrodeParam[e], 0) << P.x;
        EXPECT_DOUBLE_EQ(s.ElectrodeFactor[e], 0.5 * 100.0 / 30.0) << P.x;
        EXPECT_EQ(s.ElectrodeSourcePotential[e], 0.0);
    });
}

TEST_F(DenseSurvey, DepthBelowTheReliefVanishesAlongTheGroundLine)
{
    // The source curve counts depth from the survey's rounded topography: on the model's ground line,
    // at its nodes and at the electrodes between them alike, that depth is within the rounding (0.005)
    // of 0 and varies linearly along each ground edge, so the imposed potentials have no step at a node.
    const TSolverState& s = FRun->State;
    ForElectrodesBetweenNodes(s, [&](int, const complexM& P, int a, int b) {
        const TNode &A = s.SolverNodes[a], &B = s.SolverNodes[b];
        const double d = DepthBelowRelief(s, P.x, P.z);
        EXPECT_LE(std::fabs(d), 0.005 + 1e-9) << P.x;
        EXPECT_NEAR(d, Linear(A, DepthBelowRelief(s, A.x, A.z), B, DepthBelowRelief(s, B.x, B.z), P.x), 1e-9) << P.x;
    });
}

TEST_F(DenseSurvey, ImposedPotentialOfAnElectronicLayerMatchesItsNodes)
{
    // With the layer along the ground electronic, an electrode on its ground edge takes the imposed
    // potential of its own place: between the values its edge's nodes are given, linearly.
    TSurveyState survey = FRun->Survey;
    TPolygonModel model = FRun->Model;
    MakeLayerElectronic(model);
    TSolverState s;
    ASSERT_TRUE(RunForwardProblem(survey, model, {}, s).Succeeded);
    ASSERT_TRUE(s.Params[0].Electronic);
    ForElectrodesBetweenNodes(s, [&](int e, const complexM& P, int a, int b) {
        const TNode &A = s.SolverNodes[a], &B = s.SolverNodes[b];
        const double expected = Linear(A, SourcePotential(s, A.x, A.z), B, SourcePotential(s, B.x, B.z), P.x);
        EXPECT_NEAR(s.ElectrodeSourcePotential[e], expected, 1e-9) << P.x;
    });
}

TEST(SurfacePotential, ContinuousAcrossGroundNodesBodyNodesAndBends)
{
    // An electrode stepped in 1 mm steps over 15 mm on either side of a node: neighbouring potentials
    // differ by at most 1.5 times the field times the step, the field measured on either side 5 to 6 cm
    // from the node (at a bend the field changes towards the corner, but by a few per cent, not more).
    enum TModel { Sample, SampleElectronicLayer, FlatRelief, NoRelief };
    struct Case {
        const char* name;
        TModel model;
        double x;
        bool nearestNode; // x is moved onto the nearest refined ground node
    };
    const Case cases[] = {
        {"sample: refined ground node on a straight stretch", Sample, 43.0, true},
        {"sample: relief node shared by the layer along the ground", Sample, 50.0, false},
        {"sample: strongest bend (hill top)", Sample, 90.0, false},
        {"sample: bend into the steepest slope", Sample, 70.0, false},
        {"sample, electronic layer: refined ground node", SampleElectronicLayer, 43.0, true},
        {"sample, electronic layer: bend", SampleElectronicLayer, 90.0, false},
        {"flat relief: ground node over the layer", FlatRelief, 20.0, true},
        {"flat relief: the layer's end, where its side leaves the ground", FlatRelief, 40.0, false},
        {"no relief: node of the layer's top", NoRelief, 20.0, true},
        {"no relief: the layer's end, where its side leaves the ground", NoRelief, 40.0, false},
    };
    const TSurveyOpenResult sample = OpenWithConfiguration("../../examples/sample.sp2");
    ASSERT_EQ(sample.Kind, ReadDataWithModel) << sample.Message;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSurveyState survey;
        TPolygonModel model;
        if (c.model == Sample || c.model == SampleElectronicLayer) {
            survey = sample.Survey;
            model = *sample.Model;
            if (c.model == SampleElectronicLayer) MakeLayerElectronic(model);
        } else {
            // A layer of rho 40 along the ground from the left side to x = 40, 4 deep, and an electronic
            // body beside it in a host of 10.
            std::vector<complexM> relief, topography;
            if (c.model == FlatRelief)
                for (double x = 10; x <= 90; x += 20) {
                    relief.push_back({x, 0.0});
                    topography.push_back({x, 0.0});
                }
            model = FrameModel(0, 100, 50, 10.0, relief);
            AddTopLeftLayer(model, 40, 4, 40.0, false);
            AddBody(model, Rectangle(50, 10, 70, 30), 5.0, true);
            survey = Survey(Line(5, 5, 19), 10.0, {}, topography);
            survey.SourceA = 1.0;
            survey.SourceC = 0.0;
        }
        const double x0 = c.nearestNode ? NearestGroundNode(survey, model, c.x) : c.x;
        ASSERT_LT(std::fabs(x0 - c.x), 5.0);
        std::vector<double> xs;
        for (int k = -15; k <= 15; ++k) xs.push_back(x0 + 0.001 * k);
        for (double d : {-0.06, -0.05, 0.05, 0.06}) xs.push_back(x0 + d);
        const arofdoubleM p = Potentials(survey, model, xs);
        ASSERT_EQ(p.Length(), static_cast<int>(xs.size()));
        const int n = 31;
        const double field = std::max(std::fabs(p[n + 1] - p[n]), std::fabs(p[n + 3] - p[n + 2])) / 0.01;
        ASSERT_GT(field, 0.0);
        for (int k = 1; k < n; ++k)
            EXPECT_LE(std::fabs(p[k] - p[k - 1]), 1.5 * field * 0.001 + 1e-12)
                << "from x = " << xs[k - 1] << " to " << xs[k] << " (field " << field << ")";
    }
}
