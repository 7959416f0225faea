// Sensitivities against central finite differences of forward solutions, with and without a flat relief,
// for the linear and the exponential source curve; and the zero rows of bodies that carry no field.
#include "dc2dbem_fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

constexpr double Step = 1e-4;

// Without relief or with a flat one at z = 0: a top-left frame layer (electronic) reaching x = -45, a
// free electronic polygon and an ionic rectangle; surface electrodes every 10 m (one exactly on the
// layer's ground corner at x = -45), and one electrode buried in the free body. The first measurement
// has no P2 electrode.
struct TJacobianCase {
    TPolygonModel Model;
    TSurveyState Survey;

    TJacobianCase(bool relief, int sourceType)
    {
        std::vector<complexM> profile, topography;
        if (relief)
            for (double x = -130; x <= 130; x += 20) {
                profile.push_back({x, 0.0});
                topography.push_back({x, 0.0});
            }
        Model = FrameModel(-150, 150, 100, 100.0, profile);
        AddTopLeftLayer(Model, -45.0, 6.0, 20.0, true);
        AddBody(Model, RegularPolygon(20.0, 15.0, 6.0, 12), 10.0, true);
        AddBody(Model, Rectangle(45.0, 8.0, 60.0, 30.0), 400.0, false);
        std::vector<double> xs = Line(-105, 10, 21), depths(xs.size(), 0.0);
        xs.push_back(22.0);
        depths.push_back(14.0);
        Survey = fixtures::Survey(xs, 100.0, depths, topography);
        Survey.DataSets[0].P2[0] = NoElectrode;
        Survey.Settings.numqp = 7;
        Survey.SourceType = sourceType;
        Survey.SourceA = sourceType == 0 ? 1.5 : 2.0;
        Survey.SourceB = 20.0;
        Survey.SourceC = 0.3;
        Survey.InvertSource = true;
    }
};

arofdoubleM SolveFor(TSolverState& s)
{
    EXPECT_TRUE(SolveForward(s, false));
    arofdoubleM all;
    for (const osource& set : *s.DataSets)
        for (double v : set.Calculated) all.push_back(v);
    return all;
}

// The central difference of every calculated dU by the variable `set` writes (value + h, value - h).
template <class F>
arofdoubleM CentralDifference(TSolverState& s, F&& set)
{
    set(Step);
    const arofdoubleM plus = SolveFor(s);
    set(-Step);
    const arofdoubleM minus = SolveFor(s);
    set(0.0);
    arofdoubleM d;
    for (int k = 0; k < plus.Length(); ++k) d.push_back((plus[k] - minus[k]) / (2.0 * Step));
    return d;
}

// The Jacobian rows of the state's last sensitivity solution against finite differences of forward
// solutions: ln rho of every parameter, then the source parameters.
void ExpectJacobianMatchesDifferences(TSolverState& s)
{
    const ararofdoubleM J = s.Jacobian;
    const DynArray<TSolverPolygon> params = s.Params;
    const arofintM sourceParams = s.SourceParams;
    ASSERT_EQ(J.Length(), params.Length() + sourceParams.Length());
    for (int row = 0; row < J.Length(); ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        arofdoubleM fd;
        if (row < params.Length()) {
            const TSolverPolygon p = params[row];
            Variant& slot = s.SolverBodies[p.Body][p.Sub].properties[psResistivity];
            fd = CentralDifference(s, [&](double h) { slot = Variant(std::exp(std::log(p.Resistivity) + h)); });
            slot = Variant(p.Resistivity);
        } else {
            const int which = sourceParams[row - params.Length()];
            TSourceCurve& c = s.Source;
            double& value = which == 0 ? c.SourceA : which == 1 ? c.SourceB : c.SourceC;
            const double base = value;
            fd = CentralDifference(s, [&](double h) { value = base + h; });
        }
        const double largest = MaxAbs(J[row]);
        ASSERT_GT(largest, 0.0);
        ASSERT_EQ(fd.Length(), J[row].Length());
        for (int k = 0; k < fd.Length(); ++k) EXPECT_NEAR(J[row][k], fd[k], 1e-4 * largest) << "measurement " << k;
    }
}

} // namespace

TEST(Sensitivities, JacobianMatchesCentralDifferences)
{
    struct Case {
        const char* name;
        bool relief;
        int sourceType;
        int rows; // 3 resistivities and the curve's parameters
    };
    const Case cases[] = {{"linear", false, 0, 5},
                          {"exponential", false, 1, 6},
                          {"linear, flat relief", true, 0, 5},
                          {"exponential, flat relief", true, 1, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TJacobianCase k(c.relief, c.sourceType);
        TSolverState s;
        HandOver(s, k.Survey, k.Model);
        s.IterationCounter = 1;
        ASSERT_TRUE(SolveForward(s, true));
        ASSERT_EQ(s.Jacobian.Length(), c.rows);
        // The buried electrode lies in the free body and takes its factor and imposed potential; the
        // electrode at x = -45 sits on the layer's ground node, one left of it on the layer's ground edge.
        const int buried = k.Survey.Electrodes.High();
        EXPECT_EQ(s.ElectrodeParam[buried], 1);
        EXPECT_NE(s.ElectrodeSourcePotential[buried], 0.0);
        EXPECT_FALSE(s.ElectrodeOffNode[6]);
        bool onLayer = false;
        for (int e = 0; e < 6; ++e) onLayer = onLayer || (s.ElectrodeOffNode[e] && s.ElectrodeParam[e] == 0);
        EXPECT_TRUE(onLayer);
        // The measurement without P2 is that of its P1 alone.
        for (int row = 0; row < s.ParamCount; ++row)
            EXPECT_DOUBLE_EQ(s.Jacobian[row][0], -s.Sensitivities[row][0] / s.Params[row].Resistivity);
        ExpectJacobianMatchesDifferences(s);
    }
}
