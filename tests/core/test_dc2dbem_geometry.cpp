// Numbering of the unknowns, the ground line, electrode placement and factors, the used electrodes, and
// the element integral and angle primitives.
#include "dc2dbem_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace fixtures;

namespace {

// The state after the preparation of a solution, as a forward run makes it.
TSolverState Prepared(TSurveyState& survey, const TPolygonModel& model)
{
    AllSpolygon bodies;
    Tnodes nodes;
    DiscretizeModel(survey, model, bodies, nodes);
    OrientSolverRings(bodies, nodes);
    TSolverState state;
    HandOverToSolver(state, survey, bodies, nodes, {});
    PrepareSolution(state);
    return state;
}

// Adaptive Simpson rule on [a, b] to an absolute tolerance.
template <class F>
double Simpson(const F& f, double a, double b, double fa, double fm, double fb, double whole, double tol, int depth)
{
    const double m = (a + b) / 2, lm = (a + m) / 2, rm = (m + b) / 2;
    const double flm = f(lm), frm = f(rm);
    const double left = (m - a) / 6 * (fa + 4 * flm + fm), right = (b - m) / 6 * (fm + 4 * frm + fb);
    if (depth <= 0 || std::fabs(left + right - whole) <= 15 * tol) return left + right + (left + right - whole) / 15;
    return Simpson(f, a, m, fa, flm, fm, left, tol / 2, depth - 1) +
           Simpson(f, m, b, fm, frm, fb, right, tol / 2, depth - 1);
}

template <class F>
double Integral(const F& f, double a, double b, double tol)
{
    if (b <= a) return 0.0;
    const double fa = f(a), fm = f((a + b) / 2), fb = f(b);
    return Simpson(f, a, b, fa, fm, fb, (b - a) / 6 * (fa + 4 * fm + fb), tol, 60);
}

// The pair of the element for P from its definition, (1/2pi) int N(s) ((Q - P) . n^) / |Q - P|^2 ds,
// integrated numerically on both sides of P's foot on the element.
TIntegralPair ReferencePair(const complexM& P, const complexM& A, const complexM& B)
{
    const double L = std::hypot(B.x - A.x, B.z - A.z);
    const double tx = (B.x - A.x) / L, tz = (B.z - A.z) / L;
    const double nx = -tz, nz = tx;
    auto kernel = [&](double s) {
        const double qx = A.x + s * tx - P.x, qz = A.z + s * tz - P.z;
        return (qx * nx + qz * nz) / (qx * qx + qz * qz) / (2 * std::numbers::pi);
    };
    const double foot = std::clamp((P.x - A.x) * tx + (P.z - A.z) * tz, 0.0, L);
    auto both = [&](auto&& f) { return Integral(f, 0.0, foot, 1e-14) + Integral(f, foot, L, 1e-14); };
    return {both([&](double s) { return (1 - s / L) * kernel(s); }), both([&](double s) { return s / L * kernel(s); })};
}

std::vector<complexM> FlatProfile(double x0, double x1, double step)
{
    std::vector<complexM> p;
    for (double x = x0; x <= x1; x += step) p.push_back({x, 0.0});
    return p;
}

} // namespace

TEST(BoundaryNumbering, CornersAndFrameLayers)
{
    {
        TPolygonModel model = FrameModel(0, 100, 50, 10.0);
        AddBody(model, Rectangle(40, 10, 60, 20), 5.0, true);
        TSurveyState survey = Survey(Line(10, 10, 9), 10.0);
        const TSolverState s = Prepared(survey, model);
        for (int corner = 0; corner < 4; ++corner) EXPECT_EQ(s.NodeNumber[corner], -1) << corner;
        EXPECT_EQ(s.UnknownCount, s.SolverNodes.Length() - 4);
    }
    {
        // A top layer uses the top corners 0 and 3, which get their unknowns back.
        TPolygonModel model = FrameModel(0, 100, 50, 10.0);
        AddTopLayer(model, 5.0, 3.0, false);
        TSurveyState survey = Survey(Line(10, 10, 9), 10.0);
        const TSolverState s = Prepared(survey, model);
        EXPECT_GE(s.NodeNumber[0], 0);
        EXPECT_GE(s.NodeNumber[3], 0);
        EXPECT_EQ(s.NodeNumber[1], -1);
        EXPECT_EQ(s.NodeNumber[2], -1);
    }
    {
        // With a relief only the bottom corners lose theirs; the ground line ascends from node 0 to node 3.
        const std::vector<complexM> relief = {{20, 3}, {50, 0}, {80, 5}};
        TPolygonModel model = FrameModel(0, 100, 50, 10.0, relief);
        std::vector<complexM> topo;
        for (const complexM& p : relief) topo.push_back({p.x, 5.0 - p.z});
        TSurveyState survey = Survey(Line(10, 10, 9), 10.0, {}, topo);
        const TSolverState s = Prepared(survey, model);
        EXPECT_EQ(s.NodeNumber[1], -1);
        EXPECT_EQ(s.NodeNumber[2], -1);
        EXPECT_GE(s.NodeNumber[0], 0);
        EXPECT_EQ(s.SurfaceNodeList[0], 0);
        EXPECT_EQ(s.SurfaceNodeList.back(), 3);
        EXPECT_EQ(s.SurfaceNodeList.Length(), s.SolverBodies[0][0].ring.Length());
        for (int q = 1; q < s.SurfaceNodeList.Length(); ++q)
            EXPECT_LT(s.SolverNodes[s.SurfaceNodeList[q - 1]].x, s.SolverNodes[s.SurfaceNodeList[q]].x);
    }
}

TEST(ElectrodePlacement, OnAGroundNodeOnlyWhereItStandsOnIt)
{
    // Relief nodes at multiples of 10 after refinement (element size 10 / 3 * 3 = 10 at the ground). An
    // electrode stands on a node within 1e-4 NearSingularDistance (3e-5 here); 5 mm beside one it keeps
    // its own place on the edge, so its potential is not the node's.
    const std::vector<complexM> profile = FlatProfile(10, 90, 10);
    TPolygonModel model = FrameModel(0, 100, 50, 10.0, profile);
    TSurveyState survey = Survey({30.005, 50.02, 70.0, 75.0, 40.00001}, 10.0, {}, profile);
    survey.ScaleLength = 10.0;
    survey.Settings.StartX = 3.0;
    const TSolverState s = Prepared(survey, model);
    EXPECT_TRUE(s.ElectrodeOffNode[0]);
    EXPECT_TRUE(s.ElectrodeOffNode[1]);
    EXPECT_FALSE(s.ElectrodeOffNode[2]);
    EXPECT_TRUE(s.ElectrodeOffNode[3]);
    EXPECT_FALSE(s.ElectrodeOffNode[4]);
    EXPECT_EQ(s.SolverNodes[s.ElectrodeNodes[2].first].x, 70.0);
    EXPECT_EQ(s.ElectrodeNodes[2].second, -1);
    EXPECT_EQ(s.SolverNodes[s.ElectrodeNodes[4].first].x, 40.0);
    // Off a node the electrode lies on the ground edge spanning it, right end first.
    EXPECT_EQ(s.SolverNodes[s.ElectrodeNodes[0].first].x, 40.0);
    EXPECT_EQ(s.SolverNodes[s.ElectrodeNodes[0].second].x, 30.0);
    EXPECT_EQ(s.SolverNodes[s.ElectrodeNodes[3].first].x, 80.0);
    EXPECT_EQ(s.SolverNodes[s.ElectrodeNodes[3].second].x, 70.0);
}

TEST(ElectrodePlacement, SurfaceElectrodeIsNeverPutOnAFrameNodeBelowTheGround)
{
    // A node on the bottom side of the frame at x = 37, in the host ring; without a relief the host ring
    // is only searched for ground nodes, so the electrode above it stays off every node.
    TPolygonModel model = FrameModel(0, 100, 50, 10.0);
    model.Nodes.push_back(Node(37, 50, 3));
    model.Bodies[0][0].ring = {0, 1, 4, 2, 3, 0, 3, 2, 4, 1};
    AddBody(model, Rectangle(30, 10, 44, 20), 5.0, true);
    TSurveyState survey = Survey({27.0, 37.0, 47.0}, 10.0);
    const TSolverState s = Prepared(survey, model);
    EXPECT_TRUE(s.ElectrodeOffNode[1]);
    EXPECT_EQ(s.ElectrodeFactor[1], 1.0);
}

TEST(ElectrodeFactors, ByPlaceAndResistivity)
{
    const double rho0 = 10.0;
    struct Case {
        const char* name;
        bool relief;
        double x, depth;
        double factor;
        int param;
        bool imposed;
    };
    // Parameters: 0 the top layer (rho 40, ionic, from 0 to 40 along x on the ground, 4 thick),
    // 1 an outer ionic box (rho 20), 2 an inner electronic box inside it (rho 5).
    const Case cases[] = {
        {"buried in the host", false, 90, 10, 1.0, -1, false},
        {"buried in the host, relief", true, 90, 10, 1.0, -1, false},
        {"buried in the inner of two nested boxes", false, 60, 20, rho0 / 5.0, 2, true},
        {"buried in the inner box, relief", true, 60, 20, rho0 / 5.0, 2, true},
        {"buried in the outer box only", false, 52, 12, rho0 / 20.0, 1, false},
        {"buried in the top layer", false, 20, 2, rho0 / 40.0, 0, false},
        {"ground on the top layer", false, 15, 0, rho0 / 40.0, 0, false},
        {"ground on the top layer, relief", true, 15, 0, 0.5 * rho0 / 40.0, 0, false},
        {"ground beside the layer", false, 75, 0, 1.0, -1, false},
        {"ground beside the layer, relief", true, 75, 0, 0.5, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<complexM> profile = c.relief ? FlatProfile(10, 90, 20) : std::vector<complexM>{};
        TPolygonModel model = FrameModel(0, 100, 50, rho0, profile);
        AddTopLeftLayer(model, 40, 4, 40.0, false);
        AddBody(model, Rectangle(50, 10, 70, 30), 20.0, false);
        AddBody(model, Rectangle(55, 15, 65, 25), 5.0, true);
        TSurveyState survey = Survey({5.0, c.x, 95.0}, rho0, {0.0, c.depth, 0.0}, profile);
        survey.SourceA = 2.0;
        survey.SourceC = 1.0;
        const TSolverState s = Prepared(survey, model);
        ASSERT_TRUE(s.ElectrodeOffNode[1]);
        EXPECT_DOUBLE_EQ(s.ElectrodeFactor[1], c.factor);
        EXPECT_EQ(s.ElectrodeParam[1], c.param);
        const double expected = c.imposed ? SourcePotential(s, c.x, c.depth) : 0.0;
        EXPECT_DOUBLE_EQ(s.ElectrodeSourcePotential[1], expected);
        if (c.imposed) {
            EXPECT_DOUBLE_EQ(expected, -2.0 * c.depth + 1.0);
        }
    }
}

TEST(ElectrodeFactors, VeryResistiveLayerKeepsAFactorAboveZero)
{
    // rho0 / rho_S = 1e-5, halved with the relief: a factor rounded to four decimals would be 0.
    TPolygonModel model = FrameModel(0, 100, 50, 10.0, FlatProfile(10, 90, 20));
    AddTopLeftLayer(model, 40, 4, 1e6, false);
    TSurveyState survey = Survey({15.0, 25.0}, 10.0, {}, FlatProfile(10, 90, 20));
    const TSolverState s = Prepared(survey, model);
    EXPECT_DOUBLE_EQ(s.ElectrodeFactor[0], 0.5e-5);
}

TEST(UsedElectrodes, DistinctAscendingWithoutMissingOrUnused)
{
    TSurveyState survey = Survey(Line(0, 10, 6), 10.0);
    // Measurements 3 -> 1, 1 -> -1, 2 -> 3; electrodes 0, 4 and 5 unused; a second data set uses 4.
    osource& set = survey.DataSets[0];
    set.P1 = {3, 1, 2};
    set.P2 = {1, NoElectrode, 3};
    set.Observed = set.Calculated = set.Weight = {0.0, 0.0, 0.0};
    set.ObservedPresent = {true, true, true};
    osource second = set;
    second.P1 = {4, 4, 4};
    survey.DataSets.push_back(second);
    TSolverState s;
    s.DataSets = &survey.DataSets;
    CollectUsedElectrodes(s);
    EXPECT_EQ(s.UsedElectrodes[0], (arofintM{1, 2, 3, 4}));
}

TEST(PointInSubPolygon, CrossingNumber)
{
    const Tnodes nodes = {Node(0, 0), Node(10, 0), Node(10, 10), Node(5, 4), Node(0, 10)};
    const arofintM ring{0, 1, 2, 3, 4};
    EXPECT_TRUE(PointInSubPolygon({2, 5}, ring, nodes));
    EXPECT_TRUE(PointInSubPolygon({5, 2}, ring, nodes));
    EXPECT_FALSE(PointInSubPolygon({5, 8}, ring, nodes)); // in the notch
    EXPECT_FALSE(PointInSubPolygon({-1, 5}, ring, nodes));
    EXPECT_FALSE(PointInSubPolygon({5, 12}, ring, nodes));
}

TEST(InteriorAngle, Table)
{
    const double pi = std::numbers::pi;
    struct Case {
        complexM A, B;
        double angle;
    };
    const Case cases[] = {
        {{-1, 0}, {1, 0}, pi},             // straight ground line
        {{0, 1}, {1, 0}, pi / 2},          // corner of a square of positive area
        {{1, 0}, {0, 1}, 3 * pi / 2},      // the same corner seen from outside
        {{-1, -1}, {1, -1}, 3 * pi / 2},   // ground below a valley node
        {{-1, 1}, {1, 1}, pi / 2},         // ground below a hill top
        {{0, 0}, {1, 0}, pi},              // a zero vector
    };
    for (const Case& c : cases) EXPECT_NEAR(InteriorAngle(c.A, c.B), c.angle, 1e-14);
}

TEST(ElementKernel, MirrorNearSingularAndOnTheElement)
{
    const TKernelSettings noRelief{7, 1.0, false}, relief{7, 1.0, true};
    const complexM A{0, 5}, B{4, 8};
    // A collocation point at an end of the element sees it edge-on: nothing.
    const TIntegralPair atEnd = ElementKernel(relief, A, A, B, false);
    EXPECT_NEAR(atEnd.wA, 0.0, 1e-15);
    // Without a relief, SurfaceFlag doubles the pair and drops the mirror term.
    const complexM P{-3, 0};
    const TIntegralPair flagged = ElementKernel(noRelief, P, A, B, true);
    const TIntegralPair plain = ElementKernel(relief, P, A, B, false);
    EXPECT_DOUBLE_EQ(flagged.wA, 2 * plain.wA);
    EXPECT_DOUBLE_EQ(flagged.wB, 2 * plain.wB);
    // The mirror term adds the image point's integral.
    const TIntegralPair mirrored = ElementKernel(noRelief, {-3, 2}, A, B, false);
    const TIntegralPair direct = ElementKernel(relief, {-3, 2}, A, B, false);
    const TIntegralPair image = ElementKernel(relief, {-3, -2}, A, B, false);
    EXPECT_NEAR(mirrored.wA, direct.wA + image.wA, 1e-15);

    // A point within 0.01 NearSingularDistance of an order-7 Gauss point: the element is integrated at
    // order 6, where no Gauss point is that near.
    const complexM Q = GaussPointOnSegment(A, B, 7, 2);
    const complexM nearQ{Q.x + 0.003 * 0.6, Q.z - 0.003 * 0.8};
    const TIntegralPair dropped = ElementKernel({7, 1.0, true}, nearQ, A, B, false);
    const TIntegralPair order6 = ElementKernel({6, 1.0, true}, nearQ, A, B, false);
    EXPECT_EQ(dropped.wA, order6.wA);
    EXPECT_EQ(dropped.wB, order6.wB);
    // Starting at orders 2 and 3 (or outside the tables) the element keeps its order.
    for (int order : {0, 2, 3}) {
        const complexM G = GaussPointOnSegment(A, B, order, 0);
        const TIntegralPair kept = ElementKernel({order, 1.0, true}, {G.x + 1e-4, G.z}, A, B, false);
        EXPECT_TRUE(std::isfinite(kept.wA) && std::isfinite(kept.wB));
    }
    // A point exactly at a Gauss point of its own element (the midpoint at order 3) gets a finite pair,
    // zero: the kernel vanishes along the element's own line.
    const complexM mid{(A.x + B.x) / 2, (A.z + B.z) / 2};
    const TIntegralPair onElement = ElementKernel({3, 1.0, true}, mid, A, B, false);
    EXPECT_NEAR(onElement.wA, 0.0, 1e-12);
    EXPECT_NEAR(onElement.wB, 0.0, 1e-12);
}

TEST(ElementKernel, NearAnElementAgreesWithItsDefinition)
{
    // Points near the element see the kernel change along it faster than a Gauss rule can follow; the
    // pair must still be the integral itself, however close the point comes, or the potential of an
    // electrode beside a node where the boundary bends jumps as it passes the node.
    const complexM A{0, 5}, B{4, 8};
    const double tx = 0.8, tz = 0.6, nx = -0.6, nz = 0.8; // along and across the element (length 5)
    auto at = [&](double along, double across) {
        return complexM{A.x + along * tx + across * nx, A.z + along * tz + across * nz};
    };
    // Beyond B on a line bent 20 degrees off the element's: the point d from B.
    const double bend = 0.35;
    auto beyond = [&](double d) {
        return complexM{B.x + d * (std::cos(bend) * tx - std::sin(bend) * nx),
                        B.z + d * (std::cos(bend) * tz - std::sin(bend) * nz)};
    };
    struct Case {
        const char* name;
        complexM P;
        double tolerance; // relative; the Gauss tables hold their nodes and weights to about 7 digits
    };
    const Case cases[] = {
        {"1 mm beyond its end on a bent continuation", beyond(0.001), 1e-9},
        {"5 cm beyond its end on a bent continuation", beyond(0.05), 1e-9},
        {"a tenth of its length off its middle", at(2.5, 0.5), 1e-9},
        {"a thousandth of its length off its first quarter, other side", at(1.25, -0.005), 1e-9},
        {"beside its start, off its line", at(-0.02, 0.01), 1e-9},
        {"one and a half lengths away", at(2.0, 7.5), 1e-9},
        {"three lengths away (the Gauss rule)", at(-6.0, 13.0), 1e-7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TIntegralPair ref = ReferencePair(c.P, A, B);
        for (int order : {4, 7, 8}) {
            const TIntegralPair w = ElementKernel({order, 1.0, true}, c.P, A, B, false);
            EXPECT_NEAR(w.wA, ref.wA, 1e-12 + c.tolerance * std::fabs(ref.wA)) << "order " << order;
            EXPECT_NEAR(w.wB, ref.wB, 1e-12 + c.tolerance * std::fabs(ref.wB)) << "order " << order;
        }
    }
    // Without a relief the mirror image near the element counts in full as well.
    const complexM a{0, 0.5}, b{3, 2}, P{0.2, 0.05};
    const TIntegralPair mirrored = ElementKernel({7, 1.0, false}, P, a, b, false);
    const TIntegralPair direct = ReferencePair(P, a, b), image = ReferencePair({P.x, -P.z}, a, b);
    EXPECT_NEAR(mirrored.wA, direct.wA + image.wA, 1e-10);
    EXPECT_NEAR(mirrored.wB, direct.wB + image.wB, 1e-10);
    // On the element's line, within the element or beyond its end, it is seen edge-on: nothing.
    for (const complexM& onLine : {at(3.0, 0.0), at(7.0, 0.0), at(-0.001, 0.0)}) {
        const TIntegralPair w = ElementKernel({7, 1.0, true}, onLine, A, B, false);
        EXPECT_NEAR(w.wA, 0.0, 1e-15);
        EXPECT_NEAR(w.wB, 0.0, 1e-15);
    }
}
