// Boundary discretisation: the frame pushed out with graded extensions, copies of side nodes, the ground
// line with a relief, shared edges, the division of single edges, and termination on degenerate input.
#include "dc2dbem_fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

constexpr double SL = 4.0; // ScaleLength of these cases
constexpr double H = SL / 2.0;

struct TRefined {
    AllSpolygon Bodies;
    Tnodes Nodes;
};

TRefined Refine(const TPolygonModel& model, double sx = 2.0 * SL / 3.0, double sz = SL / 10.0, double fx = 0.2,
                double fz = 0.2, bool exponent = false)
{
    TRefined r{model.Bodies, model.Nodes};
    DiscretizeBoundary(model, exponent, r.Bodies, H, fx, sx, fz, sz, r.Nodes);
    return r;
}

std::vector<complexM> RingPoints(const TRefined& r, int body, int sub)
{
    std::vector<complexM> pts;
    for (int i : r.Bodies[body][sub].ring) pts.push_back({r.Nodes[i].x, r.Nodes[i].z});
    return pts;
}

} // namespace

TEST(DiscretizeBoundary, FrameAloneGetsNoBoundaryAndMovesOut)
{
    const TPolygonModel model = FrameModel(0, 100, 50, 10.0);
    const TRefined r = Refine(model);
    const double D = 1093.5 * SL;
    EXPECT_EQ(FrameOffset(H), D);
    ASSERT_EQ(r.Nodes.Length(), 4);
    EXPECT_EQ(r.Bodies[0][0].ring, model.Bodies[0][0].ring);
    const complexM expected[] = {{-D, 0}, {-D, 50 + D}, {100 + D, 50 + D}, {100 + D, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(r.Nodes[i].x, expected[i].x);
        EXPECT_DOUBLE_EQ(r.Nodes[i].z, expected[i].z);
        EXPECT_EQ(r.Nodes[i].WorkX, model.Nodes[i].x);
        EXPECT_EQ(r.Nodes[i].WorkZ, model.Nodes[i].z);
    }
}

TEST(DiscretizeBoundary, ReliefBecomesAnOpenGroundLineWithExtensions)
{
    const TPolygonModel model = FrameModel(0, 100, 50, 10.0, {{30, 2}, {60, 6}});
    const TRefined r = Refine(model);
    const std::vector<complexM> line = RingPoints(r, 0, 0);
    const arofintM& ring = r.Bodies[0][0].ring;
    const double D = 1093.5 * SL;
    ASSERT_GE(line.size(), 20u);
    EXPECT_EQ(ring[0], 3);
    EXPECT_EQ(ring.back(), 0);
    EXPECT_DOUBLE_EQ(line.back().x, -D);
    EXPECT_DOUBLE_EQ(line.front().x, 100 + D);
    // From the right: node 3, seven extension nodes, the copy of node 3 on the box side.
    const double steps[] = {364.5, 121.5, 40.5, 13.5, 4.5, 1.5, 0.5};
    for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(line[1 + i].x, 100 + steps[i] * SL) << i;
    EXPECT_EQ(line[8].x, 100.0);
    // To the left: the copy of node 0 at the box side, then outwards.
    const std::size_t n = line.size();
    EXPECT_EQ(line[n - 9].x, 0.0);
    for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(line[n - 8 + i].x, -steps[6 - i] * SL) << i;
    // Every node once, x strictly falling, and the bottom corners absent.
    for (std::size_t i = 1; i < n; ++i) EXPECT_LT(line[i].x, line[i - 1].x);
    for (int node : ring) EXPECT_TRUE(node != 1 && node != 2);
    // Relief nodes keep their place on the ground.
    for (const complexM& p : line) {
        if (p.x >= 0 && p.x <= 100) {
            EXPECT_NEAR(p.z, InterpolateProfile(model.Relief, p.x), 1e-12);
        }
    }
}

TEST(DiscretizeBoundary, BodyTouchingASideAtOneNodeGetsTwoCopiesAndExtensions)
{
    TPolygonModel model = FrameModel(0, 100, 50, 10.0);
    // A triangle of body 0 whose node 4 lies on the left side (frame code 1).
    model.Nodes.push_back(Node(0, 20, 1));
    model.Nodes.push_back(Node(10, 15));
    model.Nodes.push_back(Node(10, 25));
    Polygon tri;
    tri.ring = {4, 5, 6};
    tri.properties = Properties(5.0, true);
    model.Bodies[0].push_back(tri);
    const TRefined r = Refine(model, 100.0, 100.0); // no division inside the box
    const arofintM& ring = r.Bodies[0][1].ring;
    // 4, seven points, copy, 5, 6, copy, seven points (ring closes back at 4).
    ASSERT_EQ(ring.Length(), 1 + 7 + 1 + 2 + 1 + 7);
    EXPECT_EQ(ring[0], 4);
    EXPECT_EQ(ring[8], 7);   // first copy, appended first
    EXPECT_EQ(ring[11], 8);  // second copy
    EXPECT_EQ(r.Nodes[7].x, 0.0);
    EXPECT_EQ(r.Nodes[8].x, 0.0);
    EXPECT_EQ(r.Nodes[4].x, -FrameOffset(H));
    const double steps[] = {0.5, 1.5, 4.5, 13.5, 40.5, 121.5, 364.5};
    for (int i = 0; i < 7; ++i) {
        EXPECT_DOUBLE_EQ(r.Nodes[ring[7 - i]].x, -steps[i] * SL);  // from the first copy outwards
        EXPECT_DOUBLE_EQ(r.Nodes[ring[12 + i]].x, -steps[i] * SL); // from the second copy outwards
        EXPECT_EQ(r.Nodes[ring[7 - i]].z, 20.0);
    }
}

TEST(DiscretizeBoundary, SharedEdgeIsDividedOnceForBothRings)
{
    TPolygonModel model = FrameModel(0, 100, 50, 10.0);
    // Two squares of one body sharing the edge (50,10)-(50,30).
    for (const complexM& p : std::vector<complexM>{{30, 10}, {50, 10}, {50, 30}, {30, 30}, {70, 10}, {70, 30}})
        model.Nodes.push_back(Node(p.x, p.z));
    Polygon left, right;
    left.ring = {4, 5, 6, 7};
    right.ring = {5, 8, 9, 6};
    left.properties = right.properties = Properties(5.0, true);
    model.Bodies.push_back(SPolygon{left, right});
    const TRefined r = Refine(model);
    const arofintM& a = r.Bodies[1][0].ring;
    const arofintM& b = r.Bodies[1][1].ring;
    auto between = [](const arofintM& ring, int from, int to) {
        std::vector<int> out;
        int i = 0;
        while (ring[i] != from) ++i;
        for (int k = (i + 1) % ring.Length(); ring[k] != to; k = (k + 1) % ring.Length()) out.push_back(ring[k]);
        return out;
    };
    const std::vector<int> down = between(a, 5, 6), up = between(b, 6, 5);
    ASSERT_FALSE(down.empty());
    EXPECT_EQ(down, std::vector<int>(up.rbegin(), up.rend()));
    for (int node : down) EXPECT_EQ(r.Nodes[node].x, 50.0);
}

TEST(DivideEdge, CasesOfTheTwoRules)
{
    const TPolygonModel flat = FrameModel(0, 100, 50, 10.0);
    // Constant depth 10 with fx d + sx = 2: length 10 gives 4 equal interior points.
    const arofcomplexM even = DivideEdge(flat, false, 20, 10, 30, 10, 0.1, 1.0, 0.1, 1.0, 0.001);
    ASSERT_EQ(even.Length(), 4);
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(even[k].x, 20 + 2.0 * (k + 1));
    // A vertical edge walks from its shallow end whatever the given order; points come back in order.
    const arofcomplexM down = DivideEdge(flat, false, 50, 10, 50, 30, 0.1, 1.0, 0.1, 1.0, 0.001);
    const arofcomplexM up = DivideEdge(flat, false, 50, 30, 50, 10, 0.1, 1.0, 0.1, 1.0, 0.001);
    ASSERT_EQ(down.Length(), up.Length());
    for (int k = 0; k < down.Length(); ++k) EXPECT_EQ(down[k].z, up[up.High() - k].z);
    EXPECT_DOUBLE_EQ(down[0].z, 10 + 0.1 * 10 + 1.0); // the first step is hz at depth 10
    // Exponent: a steep edge's horizontal term grows as exp(fx d) sx, so a diagonal edge gets fewer points.
    const arofcomplexM linear = DivideEdge(flat, false, 10, 5, 40, 45, 0.1, 1.0, 0.1, 1.0, 0.001);
    const arofcomplexM grown = DivideEdge(flat, true, 10, 5, 40, 45, 0.1, 1.0, 0.1, 1.0, 0.001);
    EXPECT_LT(grown.Length(), linear.Length());
}

TEST(DivideEdge, EndsOnDegenerateInput)
{
    const TPolygonModel flat = FrameModel(0, 100, 50, 10.0);
    const double nan = std::nan("");
    EXPECT_EQ(DivideEdge(flat, false, 5, 5, 5, 5, 0.2, 1, 0.2, 1, 0.01).Length(), 0);   // zero length
    EXPECT_EQ(DivideEdge(flat, false, nan, 5, 5, 9, 0.2, 1, 0.2, 1, 0.01).Length(), 0); // NaN
    // Far above the ground the size formulas turn negative: the minimum step takes over.
    const arofcomplexM above = DivideEdge(flat, false, 0, -40, 0, -20, 0.2, 1, 0.2, 1, 0.5);
    EXPECT_GT(above.Length(), 10);
    EXPECT_LE(above.Length(), 40);
    const arofcomplexM flatAbove = DivideEdge(flat, false, 0, -40, 20, -40, 0.2, 1, 0.2, 1, 0.5);
    EXPECT_EQ(flatAbove.Length(), 39);
    // However small the minimum, no edge gets more than the cap.
    EXPECT_EQ(DivideEdge(flat, false, 0, -40, 0, -20, 0.2, 1, 0.2, 1, 1e-300).Length(), MaxEdgePoints);
}
