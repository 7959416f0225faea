// Picks under the cursor, node classes and the split of bodies into connected groups.
#include "PolygonsFixtures.h"
#include "core/PolygonsGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace polytest;

TEST(PolygonsPick, FindSubPolygonAtTakesTheLowestIndicesAndSkipsTheHost)
{
    Model m = FrameModel();
    // Body 1 holds two overlapping sub-polygons, body 2 one that overlaps both (laid out by hand).
    AddManualBody(m, PointArray({{10, 10}, {50, 10}, {50, 40}, {10, 40}, {20, 20}, {30, 20}, {30, 30}}),
                  {Ring({0, 1, 2, 3}), Ring({4, 5, 6})});
    AddManualBody(m, PointArray({{5, 5}, {60, 5}, {60, 45}}), {Ring({0, 1, 2})});

    const SubPolygonPick inBoth = FindSubPolygonAt(m.bodies, {27, 22}, m.nodes);
    EXPECT_EQ(inBoth.body, 1);
    EXPECT_EQ(inBoth.sub, 0);
    const SubPolygonPick onlyBody2 = FindSubPolygonAt(m.bodies, {55, 10}, m.nodes);
    EXPECT_EQ(onlyBody2.body, 2);
    EXPECT_EQ(onlyBody2.sub, 0);
    const SubPolygonPick none = FindSubPolygonAt(m.bodies, {90, 45}, m.nodes);
    EXPECT_EQ(none.body, -1);
    EXPECT_EQ(none.sub, -1);

    // A layer of body 0 is found.
    Model layered = FrameModel();
    Polygon layer;
    layer.ring = Ring({0, 1, 2, 3});
    layered.bodies[0].push_back(layer);
    const SubPolygonPick onLayer = FindSubPolygonAt(layered.bodies, {50, 25}, layered.nodes);
    EXPECT_EQ(onLayer.body, 0);
    EXPECT_EQ(onLayer.sub, 1);
}

TEST(PolygonsPick, NearestNodeBreaksTiesTowardTheLowerIndex)
{
    Model m = FrameModel(); // corners (0,0), (0,50), (100,50), (100,0)
    const NodePick tie = NearestNode({0, 25}, m.nodes, 1, 1);
    EXPECT_EQ(tie.node, 0);
    EXPECT_DOUBLE_EQ(tie.distance, 25.0);

    // The screen scales decide: from (3, 6), (0, 0) is nearer in model units, (10, 10) on a screen that
    // squeezes x tenfold.
    Tnodes two(2);
    two[1].x = 10;
    two[1].z = 10;
    EXPECT_EQ(NearestNode({3, 6}, two, 1, 1).node, 0);
    const NodePick scaled = NearestNode({3, 6}, two, 0.1, 1);
    EXPECT_EQ(scaled.node, 1);
    EXPECT_DOUBLE_EQ(scaled.pixelDistance, std::sqrt(0.7 * 0.7 + 16.0));
    EXPECT_DOUBLE_EQ(scaled.distance, std::sqrt(49.0 + 16.0));

    EXPECT_EQ(NearestNode({1, 1}, Tnodes(), 1, 1).node, -1);
}

TEST(PolygonsPick, NearestEdgeEndNodeRadiusAndFlag)
{
    Model m = FrameModel({0, 100, 0, 50});
    struct Case {
        const char* name;
        double sx;
        complexM p;
        int result, a, b;
        bool onEnd;
    };
    // sx = sz scales the bottom edge 1-2 (0,50)-(100,50) to 100 s pixels.
    const Case cases[] = {
        {"halfway, both ends far", 1.0, {50, 50.5}, -1, 1, 2, false},
        {"1 px from node 1 on a 30 px edge", 0.3, {1.0 / 0.3, 50}, 1, 1, 2, true},
        {"1.5 px from node 1 on a 10 px edge", 0.1, {15, 50}, 1, 1, 2, false},
        {"near node 2 end", 1.0, {99, 50.2}, 2, 1, 2, true},
    };
    for (const Case& c : cases) {
        EdgePick pick;
        const int result = NearestEdge(c.p, m.nodes, m.bodies, c.sx, c.sx, pick);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(pick.body, 0) << c.name;
        EXPECT_EQ(pick.a, c.a) << c.name;
        EXPECT_EQ(pick.b, c.b) << c.name;
        EXPECT_EQ(pick.onEndNode, c.onEnd) << c.name;
    }

    // A zero-length edge (two nodes at one place) always reports its end node, however far the point.
    Model twin = FrameModel();
    AddManualBody(twin, PointArray({{40, 20}, {40, 20}, {60, 30}}), {Ring({0, 1, 2})});
    EdgePick zero;
    EXPECT_EQ(NearestEdge({37, 20}, twin.nodes, twin.bodies, 1, 1, zero), -1); // 3 px off, ties go first
    EXPECT_EQ(zero.a, 4);
    EXPECT_EQ(zero.b, 5);
    EXPECT_TRUE(zero.onEndNode);

    // With no edge at all the caller's values stay.
    AllSpolygon none;
    EdgePick untouched{7, -1, 9, 0.0, true};
    EXPECT_EQ(NearestEdge({1, 1}, m.nodes, none, 1, 1, untouched), -1);
    EXPECT_EQ(untouched.body, 7);
    EXPECT_EQ(untouched.b, 9);
    EXPECT_FALSE(untouched.onEndNode);
    EXPECT_EQ(untouched.pixelDistance, 1e30);
}

TEST(PolygonsPick, NearestOpenEdgeSkipsInnerEdgesAndUsesSevenPixels)
{
    Model m = FrameModel();
    // Two triangles sharing the edge (30,10)-(30,30), one on either side; an inner node makes nothing
    // here class 2, so close the pair around node 6 (the shared edge's upper end) by hand.
    AddManualBody(m, PointArray({{20, 20}, {30, 10}, {30, 30}, {40, 20}}), {Ring({0, 2, 1}), Ring({1, 2, 3})});
    const int upper = 5, lower = 6;
    ASSERT_EQ(m.nodes[upper].NodeClass, 1);
    m.nodes[upper].NodeClass = 2; // treat the shared edge's end as inner
    EdgePick pick;
    NearestOpenEdge({30.5, 20}, m.nodes, m.bodies, 1, 1, pick);
    EXPECT_FALSE((pick.a == upper && pick.b == lower) || (pick.a == lower && pick.b == upper));
    EdgePick near;
    NearestEdge({30.5, 20}, m.nodes, m.bodies, 1, 1, near);
    EXPECT_TRUE((near.a == upper && near.b == lower) || (near.a == lower && near.b == upper));

    // About 3.9 pixels from node 1 of the frame, 2.5 from the 50-pixel left edge: an end pick within 7 px
    // reporting the distance to the node, none within 2 px.
    Model frame = FrameModel();
    EdgePick open;
    EXPECT_EQ(NearestOpenEdge({2.5, 47}, frame.nodes, frame.bodies, 1, 1, open), 1);
    EXPECT_EQ(open.a, 0);
    EXPECT_TRUE(open.onEndNode);
    EXPECT_DOUBLE_EQ(open.pixelDistance, std::sqrt(2.5 * 2.5 + 9.0));
    EdgePick closed;
    EXPECT_EQ(NearestEdge({2.5, 47}, frame.nodes, frame.bodies, 1, 1, closed), -1);
    EXPECT_FALSE(closed.onEndNode);
    EXPECT_DOUBLE_EQ(closed.pixelDistance, 2.5);
}

TEST(PolygonsPick, ClassifyNodeCases)
{
    Model m = FrameModel();
    // Body 1: a square 10..30 x 10..30 divided into two triangles along 4-6; body 2: a fan of four
    // triangles around the inner node 12.
    AddManualBody(m, PointArray({{10, 10}, {30, 10}, {30, 30}, {10, 30}}), {Ring({0, 1, 2}), Ring({0, 2, 3})});
    AddManualBody(m, PointArray({{50, 10}, {70, 10}, {70, 30}, {50, 30}, {58, 20}}),
                  {Ring({0, 1, 4}), Ring({1, 2, 4}), Ring({2, 3, 4}), Ring({3, 0, 4})});
    struct Case {
        const char* name;
        int node, body, expected;
    };
    const Case cases[] = {
        {"outline node of one sub-polygon", 5, 1, 0},
        {"junction of two sub-polygons on the outline", 4, 1, 1},
        {"inner node", 12, 2, 2},
        {"node the body does not use", 12, 1, 2},
        {"frame corner", 0, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyNode(c.node, c.body, m.bodies, m.nodes), c.expected) << c.name;
}

TEST(PolygonsPick, SplitConnectedGroupsMovesDetachedPartsToNewBodies)
{
    Model m = FrameModel();
    // Sub-polygons 0 and 2 touch at node 2 of the list; sub-polygon 1 stands apart.
    const int body = AddManualBody(m, PointArray({{10, 10}, {20, 10}, {20, 20}, {60, 10}, {70, 10}, {70, 20},
                                              {30, 20}, {30, 30}}),
                                   {Ring({0, 1, 2}), Ring({3, 4, 5}), Ring({2, 6, 7})});
    const Polygon apart = m.bodies[body][1];
    for (int v : apart.ring) m.nodes[v].FrameCode = 3;
    const Polygon touching = m.bodies[body][2];

    SplitConnectedGroups(body, m.bodies, m.nodes);
    ASSERT_EQ(m.bodies.Length(), 3);
    ASSERT_EQ(m.bodies[body].Length(), 2);
    EXPECT_EQ(m.bodies[body][1], touching);
    ASSERT_EQ(m.bodies[2].Length(), 1);
    EXPECT_EQ(m.bodies[2][0], apart);
    for (int v : apart.ring) EXPECT_EQ(m.nodes[v].FrameCode, 0);
    EXPECT_EQ(m.nodes[4 + 2].NodeClass, 1); // the touching node now a junction

    // Body 0 keeps its frame codes, and an index past the last body does nothing.
    SplitConnectedGroups(0, m.bodies, m.nodes);
    EXPECT_EQ(m.nodes[1].FrameCode, 2);
    EXPECT_EQ(m.nodes[3].FrameCode, 5);
    SplitConnectedGroups(9, m.bodies, m.nodes);
    EXPECT_EQ(m.bodies.Length(), 3);
}
