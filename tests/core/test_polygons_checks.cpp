// Move checks, the node sets a move drags along, the body of a node and the shape lists to redraw.
#include "PolygonsFixtures.h"
#include "core/PolygonsChecks.h"
#include "core/PolygonsGeometry.h"

#include <gtest/gtest.h>

using namespace polytest;

namespace {

// Frame, body 1 a square 10..30 x 10..30 (nodes 4..7), body 2 a square 50..70 x 10..30 (8..11).
Model TwoSquares()
{
    Model m = FrameModel();
    AddBody(m, PointArray({{10, 10}, {30, 10}, {30, 30}, {10, 30}}));
    AddBody(m, PointArray({{50, 10}, {70, 10}, {70, 30}, {50, 30}}));
    return m;
}

void MoveBody(Model& m, int body, double dx, double dz)
{
    arofintM list;
    bool free = false;
    CollectBodyNodes(true, body, m.bodies, list, free, m.nodes);
    for (int v : list) {
        m.nodes[v].x += dx;
        m.nodes[v].z += dz;
    }
}

} // namespace

TEST(PolygonsChecks, CheckMovedNodesByMode)
{
    struct Case {
        const char* name;
        int node;
        complexM to;
        bool mode0, mode1, mode2;
    };
    const Case cases[] = {
        {"small move", 5, {32, 12}, true, true, true},
        {"across the opposite edge: the ring folds", 5, {5, 35}, false, false, false},
        {"edge into the other body", 5, {60, 20}, false, false, true},
    };
    for (const Case& c : cases) {
        for (int mode = 0; mode <= 2; ++mode) {
            Model m = TwoSquares();
            m.nodes[c.node].x = c.to.x;
            m.nodes[c.node].z = c.to.z;
            const bool expected = mode == 0 ? c.mode0 : mode == 1 ? c.mode1 : c.mode2;
            EXPECT_EQ(CheckMovedNodes(Ring({c.node}), 1, m.bodies, mode, m.nodes), expected) << c.name << " mode " << mode;
        }
    }
}

TEST(PolygonsChecks, OnlyModeZeroTestsTheBodysOwnEdges)
{
    // The top of a U's left arm pulled over its right arm: an edge crosses the arm, the ring keeps its
    // orientation.
    Model m = FrameModel();
    AddBody(m, PointArray({{10, 10}, {50, 10}, {50, 40}, {40, 40}, {40, 20}, {20, 20}, {20, 40}, {10, 40}}));
    const int armTop = 10;
    ASSERT_EQ(NodePoint(m.nodes, armTop), (complexM{20, 40}));
    m.nodes[armTop].x = 45;
    m.nodes[armTop].z = 42;
    EXPECT_FALSE(CheckMovedNodes(Ring({armTop}), 1, m.bodies, 0, m.nodes));
    EXPECT_TRUE(CheckMovedNodes(Ring({armTop}), 1, m.bodies, 1, m.nodes));
    EXPECT_TRUE(CheckMovedNodes(Ring({armTop}), 1, m.bodies, 2, m.nodes));
}

TEST(PolygonsChecks, CheckMovedNodesRefusesNesting)
{
    Model m = TwoSquares();
    AddBody(m, PointArray({{85, 35}, {88, 35}, {86, 38}})); // body 3, small
    MoveBody(m, 3, -25, -15);                             // now inside body 2, no edge crossed
    const arofintM moved = Ring({12, 13, 14});
    EXPECT_FALSE(CheckMovedNodes(moved, 3, m.bodies, 0, m.nodes));
    EXPECT_FALSE(CheckMovedNodes(moved, 3, m.bodies, 2, m.nodes));
    MoveBody(m, 3, 0, 20);
    EXPECT_TRUE(CheckMovedNodes(moved, 3, m.bodies, 0, m.nodes));
}

TEST(PolygonsChecks, CollectNodesAndMoveFreedom)
{
    Model m = TwoSquares();
    int shape = 0;
    ASSERT_TRUE(DividePolygon(4, 6, 1, shape, m.nodes, m.bodies));
    m.nodes[5].FixedFlag = 1;

    arofintM list = Ring({99});
    bool free = true;
    CollectBodyNodes(true, 1, m.bodies, list, free, m.nodes);
    EXPECT_EQ(ToVector(list), (std::vector<int>{4, 6, 7}));
    EXPECT_FALSE(free);
    CollectBodyNodes(false, 1, m.bodies, list, free, m.nodes);
    EXPECT_EQ(ToVector(list), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_FALSE(free);

    CollectSubPolygonNodes(true, 1, 1, list, free, m.nodes, m.bodies);
    EXPECT_EQ(ToVector(list), (std::vector<int>{6, 7, 4}));
    EXPECT_TRUE(free);
    CollectSubPolygonNodes(true, 0, 0, list, free, m.nodes, m.bodies); // the frame: all locked
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(free);
}

TEST(PolygonsChecks, FindBodyOfNode)
{
    Model m = TwoSquares();
    int body = -7;
    EXPECT_TRUE(FindBodyOfNode(9, body, m.bodies));
    EXPECT_EQ(body, 2);
    EXPECT_TRUE(FindBodyOfNode(2, body, m.bodies));
    EXPECT_EQ(body, 0);
    TNode stray;
    m.nodes.push_back(stray);
    body = -7;
    EXPECT_FALSE(FindBodyOfNode(m.nodes.High(), body, m.bodies));
    EXPECT_EQ(body, -7);
}

TEST(PolygonsChecks, ShapeLists)
{
    Model m = TwoSquares();
    int shape = 0;
    ASSERT_TRUE(DividePolygon(4, 6, 1, shape, m.nodes, m.bodies));
    AddBody(m, PointArray({{80, 10}, {90, 10}, {85, 20}}));
    m.bodies[1][0].properties[psShapeIndex] = Variant(3);
    m.bodies[1][1].properties[psShapeIndex] = Variant(3);

    arofintM shapes = Ring({1}), bodies = Ring({1}), subs = Ring({1});
    CollectShapesOfNodes(Ring({4, 9}), 1, m.bodies, shapes, bodies, subs);
    EXPECT_EQ(ToVector(shapes), (std::vector<int>{3})); // equal slot-0 values listed once; body 2 not searched
    EXPECT_EQ(ToVector(bodies), (std::vector<int>{1}));
    EXPECT_EQ(ToVector(subs), (std::vector<int>{0}));

    m.bodies[1][1].properties[psShapeIndex] = Variant(4);
    CollectShapesOfNodes(Ring({7}), 1, m.bodies, shapes, bodies, subs);
    EXPECT_EQ(ToVector(shapes), (std::vector<int>{4}));
    EXPECT_EQ(ToVector(subs), (std::vector<int>{1}));

    ListBodyShapes(1, m.bodies, shapes, bodies, subs);
    EXPECT_EQ(ToVector(shapes), (std::vector<int>{3, 4}));
    EXPECT_EQ(ToVector(subs), (std::vector<int>{0, 1}));
    ListSubPolygonShape(3, 0, m.bodies, shapes, bodies, subs);
    EXPECT_EQ(ToVector(shapes), (std::vector<int>{-1}));
    EXPECT_EQ(ToVector(bodies), (std::vector<int>{3}));
    EXPECT_EQ(ToVector(subs), (std::vector<int>{0}));
}
