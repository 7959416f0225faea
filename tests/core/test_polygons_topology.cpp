// Coupling and uncoupling nodes, inserting and deleting nodes and sub-polygons, pruning the frame.
#include "PolygonsFixtures.h"
#include "core/PolygonsChecks.h"
#include "core/PolygonsGeometry.h"
#include "core/PolygonsInvariants.h"
#include "core/PolygonsTopology.h"

#include <gtest/gtest.h>

using namespace polytest;

namespace {

// Frame (nodes 0..3), body 1 a square (4..7), body 2 a triangle (8..10), body 3 a triangle (11..13).
Model ThreeBodies()
{
    Model m = FrameModel();
    AddBody(m, PointArray({{10, 10}, {30, 10}, {30, 30}, {10, 30}}));
    AddBody(m, PointArray({{50, 10}, {60, 10}, {55, 20}}));
    AddBody(m, PointArray({{70, 10}, {80, 10}, {75, 20}}));
    return m;
}

// Frame and one top layer of body 0 between added side nodes 4 (0,10) and 5 (100,10) through node 6.
Model LayeredFrame()
{
    Model m = FrameModel();
    InsertNodeOnEdge(0, 1, 0, 1, 1, m.nodes, m.bodies, {0, 10});
    InsertNodeOnEdge(2, 3, 0, 1, 1, m.nodes, m.bodies, {100, 10});
    for (int v : {4, 5}) m.nodes[v].FrameCode = FrameSideCode(v, m.bodies, m.nodes, m.box);
    AddSubPolygonInFrame(4, 5, 0, false, m.nodes, m.bodies, PointArray({{0, 10}, {50, 12}, {100, 10}}), m.box, DefaultProperties());
    return m;
}

} // namespace

TEST(PolygonsTopology, CoupleNodesAcrossBodies)
{
    Model m = ThreeBodies();
    EXPECT_FALSE(CoupleNodes(5, 5, 1, 1, m.bodies, m.nodes));

    // An outline node of body 3 into one of body 1: body 3's sub-polygon follows body 1's.
    const Polygon third = m.bodies[3][0];
    ASSERT_TRUE(CoupleNodes(11, 5, 3, 1, m.bodies, m.nodes));
    ASSERT_EQ(m.bodies.Length(), 3);
    ASSERT_EQ(m.bodies[1].Length(), 2);
    EXPECT_EQ(ToVector(m.bodies[1][1].ring), (std::vector<int>{5, 11, 12})); // 12, 13 moved down
    EXPECT_EQ(m.nodes.Length(), 13);
    EXPECT_EQ(m.nodes[5].NodeClass, 1);
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");

    // A node of a layer of body 0 into a node of body 2: body 0 absorbs body 2.
    Model l = LayeredFrame();
    AddBody(l, PointArray({{40, 30}, {60, 30}, {50, 40}})); // body 1, nodes 7..9
    ASSERT_TRUE(CoupleNodes(6, 7, 0, 1, l.bodies, l.nodes));
    EXPECT_EQ(l.bodies.Length(), 1);
    EXPECT_EQ(l.bodies[0].Length(), 3);
    EXPECT_EQ(ModelInvariantFault(l.bodies, l.nodes), "");
}

TEST(PolygonsTopology, CoupleNodesRefusesInnerNodesAcrossBodies)
{
    Model m = FrameModel();
    AddManualBody(m, PointArray({{20, 10}, {40, 10}, {40, 30}, {20, 30}, {28, 20}}),
                  {Ring({0, 1, 4}), Ring({1, 2, 4}), Ring({2, 3, 4}), Ring({3, 0, 4})});
    AddBody(m, PointArray({{60, 10}, {70, 10}, {65, 20}}));
    const Model before = m;
    EXPECT_FALSE(CoupleNodes(8, 9, 1, 2, m.bodies, m.nodes)); // node 8 is inner
    EXPECT_FALSE(CoupleNodes(9, 8, 2, 1, m.bodies, m.nodes));
    EXPECT_EQ(m.bodies, before.bodies);
    EXPECT_EQ(m.nodes.Length(), before.nodes.Length());
}

TEST(PolygonsTopology, CoupleNodesWithinABody)
{
    // Ring neighbours of a triangle: the doubled position goes and the ring keeps two.
    Model m = ThreeBodies();
    ASSERT_TRUE(CoupleNodes(8, 9, 2, 2, m.bodies, m.nodes));
    EXPECT_EQ(ToVector(m.bodies[2][0].ring), (std::vector<int>{8, 9})); // 9, 10 moved down
    EXPECT_EQ(m.nodes.Length(), 13);

    // Opposite corners of the square: the ring lists the kept node twice, apart (the caller's move check
    // refuses such a fold; coupling itself does not judge it), and the classes follow the new edges.
    Model s = ThreeBodies();
    ASSERT_TRUE(CoupleNodes(4, 6, 1, 1, s.bodies, s.nodes));
    EXPECT_EQ(ToVector(s.bodies[1][0].ring), (std::vector<int>{5, 4, 5, 6}));
    for (int v : {4, 5, 6}) EXPECT_EQ(s.nodes[v].NodeClass, ClassifyNode(v, 1, s.bodies, s.nodes)) << v;

    // A square edge collapsed to a node leaves a triangle.
    Model e = ThreeBodies();
    ASSERT_TRUE(CoupleNodes(4, 5, 1, 1, e.bodies, e.nodes));
    EXPECT_EQ(ToVector(e.bodies[1][0].ring), (std::vector<int>{4, 5, 6}));
}

TEST(PolygonsTopology, UncoupleNodeSharedByThreeSubPolygons)
{
    Model m = FrameModel();
    // Three triangles around node 4 (the first new node), touching only there.
    AddManualBody(m, PointArray({{50, 20}, {40, 10}, {45, 5}, {60, 10}, {55, 5}, {50, 35}, {45, 30}}),
                  {Ring({0, 1, 2}), Ring({0, 4, 3}), Ring({0, 5, 6})});
    const int shared = 4;
    ASSERT_EQ(m.nodes[shared].NodeClass, 1);
    EXPECT_FALSE(UncoupleNode(5, 1, m.bodies, m.nodes)); // class 0

    ASSERT_TRUE(UncoupleNode(shared, 1, m.bodies, m.nodes));
    EXPECT_EQ(m.nodes.Length(), 4 + 7 + 2);
    for (int v : {11, 12}) {
        EXPECT_EQ(NodePoint(m.nodes, v), NodePoint(m.nodes, shared));
        EXPECT_EQ(m.nodes[v].FrameCode, 0);
    }
    ASSERT_EQ(m.bodies.Length(), 4); // the parts fell apart into bodies 2 and 3
    EXPECT_EQ(m.bodies[1][0].ring[0], shared);
    EXPECT_EQ(m.bodies[2][0].ring[0], 11);
    EXPECT_EQ(m.bodies[3][0].ring[0], 12);
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
}

TEST(PolygonsTopology, UncoupleSubPolygonDetachesItAndPrunesTheFrame)
{
    Model m = ThreeBodies();
    int shape = 0;
    ASSERT_TRUE(DividePolygon(4, 6, 1, shape, m.nodes, m.bodies));
    ASSERT_TRUE(UncoupleSubPolygon(1, 1, m.bodies, m.nodes));
    ASSERT_EQ(m.bodies.Length(), 5);
    EXPECT_EQ(m.bodies[1].Length(), 1);
    // The detached triangle (6, 7, 4) keeps its own node 7 and gets copies 14 and 15 of the diagonal.
    EXPECT_EQ(ToVector(m.bodies[4][0].ring), (std::vector<int>{14, 7, 15}));
    EXPECT_EQ(NodePoint(m.nodes, 14), NodePoint(m.nodes, 6));
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");

    // A layer of body 0 detached: the added side nodes stay only with it and leave the frame.
    Model l = LayeredFrame();
    ASSERT_TRUE(UncoupleSubPolygon(1, 0, l.bodies, l.nodes));
    EXPECT_EQ(ToVector(l.bodies[0][0].ring), (std::vector<int>{0, 1, 2, 3, 0, 3, 2, 1}));
    ASSERT_EQ(l.bodies.Length(), 2);
    EXPECT_EQ(ModelInvariantFault(l.bodies, l.nodes), "");

    // The host is never detached.
    Model f = LayeredFrame();
    const Model before = f;
    EXPECT_TRUE(UncoupleSubPolygon(0, 0, f.bodies, f.nodes));
    EXPECT_EQ(f.bodies, before.bodies);
}

TEST(PolygonsTopology, InsertNodeOnEdge)
{
    Model m = ThreeBodies();
    int shape = 0;
    ASSERT_TRUE(DividePolygon(4, 6, 1, shape, m.nodes, m.bodies));
    const Model before = m;
    EXPECT_FALSE(InsertNodeOnEdge(4, 6, 1, 1, 1, m.nodes, m.bodies, {10 + 5e-5, 10}));
    EXPECT_FALSE(InsertNodeOnEdge(4, 9, 1, 1, 1, m.nodes, m.bodies, {20, 10})); // no such edge
    EXPECT_EQ(m.bodies, before.bodies);
    EXPECT_EQ(m.nodes.Length(), before.nodes.Length());

    // On the shared diagonal both triangles get the node, snapped onto the edge (equal screen extents:
    // x moves).
    ASSERT_TRUE(InsertNodeOnEdge(4, 6, 1, 1, 1, m.nodes, m.bodies, {21, 19}));
    const int added = m.nodes.High();
    EXPECT_EQ(NodePoint(m.nodes, added), (complexM{19, 19}));
    EXPECT_EQ(ToVector(m.bodies[1][0].ring), (std::vector<int>{4, 5, 6, added}));
    EXPECT_EQ(ToVector(m.bodies[1][1].ring), (std::vector<int>{6, 7, 4, added}));
    EXPECT_EQ(m.nodes[added].NodeClass, 2);

    // On the host's closing edge (top, 3 to 0) the node goes before the second half.
    Model f = FrameModel();
    ASSERT_TRUE(InsertNodeOnEdge(3, 0, 0, 1, 1, f.nodes, f.bodies, {40, 0.3}));
    EXPECT_EQ(ToVector(f.bodies[0][0].ring), (std::vector<int>{0, 1, 2, 3, 4, 0, 3, 2, 1}));
    EXPECT_EQ(NodePoint(f.nodes, 4), (complexM{40, 0}));
}

TEST(PolygonsTopology, DeleteNode)
{
    Model m = ThreeBodies();
    EXPECT_FALSE(DeleteNode(8, 2, m.bodies, m.nodes)); // a triangle would keep two positions

    Model s = ThreeBodies();
    ASSERT_TRUE(DeleteNode(5, 1, s.bodies, s.nodes));
    EXPECT_EQ(ToVector(s.bodies[1][0].ring), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(s.nodes.Length(), 13);
    EXPECT_EQ(ModelInvariantFault(s.bodies, s.nodes), "");

    // A concave corner removed so that an edge would cross another body: refused.
    Model c = FrameModel();
    AddBody(c, PointArray({{10, 10}, {50, 10}, {30, 20}, {50, 30}, {10, 30}})); // notch at (30,20)
    AddBody(c, PointArray({{40, 18}, {45, 18}, {45, 22}}));                    // inside the notch
    EXPECT_FALSE(DeleteNode(6, 1, c.bodies, c.nodes));

    // An inner node: the fan's centre goes and its edges with it.
    Model f = FrameModel();
    AddManualBody(f, PointArray({{20, 10}, {40, 10}, {40, 30}, {20, 30}, {28, 20}}),
                  {Ring({0, 1, 4}), Ring({1, 2, 4}), Ring({2, 3, 4}), Ring({3, 0, 4})});
    EXPECT_FALSE(DeleteNode(8, 1, f.bodies, f.nodes)); // each triangle would keep two positions

    // Frame nodes built with the frame are never deleted; added ones are.
    Model l = LayeredFrame();
    const Model before = l;
    for (int v : {0, 1, 2, 3}) EXPECT_FALSE(DeleteNode(v, 0, l.bodies, l.nodes)) << v;
    EXPECT_EQ(l.bodies, before.bodies);
    EXPECT_EQ(l.nodes.Length(), before.nodes.Length());
}

TEST(PolygonsTopology, DeleteSubPolygonRemovesWhatOnlyItUsed)
{
    Model m = ThreeBodies();
    ASSERT_TRUE(DeleteSubPolygon(0, 2, m.bodies, m.nodes));
    EXPECT_EQ(m.bodies.Length(), 3);
    EXPECT_EQ(m.nodes.Length(), 11);
    EXPECT_EQ(ToVector(m.bodies[2][0].ring), (std::vector<int>{8, 9, 10})); // body 3 moved down
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");

    // Of a divided square, one half goes with its one own node; the diagonal stays with the other.
    Model d = ThreeBodies();
    int shape = 0;
    ASSERT_TRUE(DividePolygon(4, 6, 1, shape, d.nodes, d.bodies));
    ASSERT_TRUE(DeleteSubPolygon(0, 1, d.bodies, d.nodes));
    EXPECT_EQ(d.nodes.Length(), 13);
    EXPECT_EQ(ToVector(d.bodies[1][0].ring), (std::vector<int>{5, 6, 4}));
    EXPECT_EQ(ModelInvariantFault(d.bodies, d.nodes), "");

    // A layer deleted: the frame loses its added side nodes.
    Model l = LayeredFrame();
    ASSERT_TRUE(DeleteSubPolygon(1, 0, l.bodies, l.nodes));
    EXPECT_EQ(ToVector(l.bodies[0][0].ring), (std::vector<int>{0, 1, 2, 3, 0, 3, 2, 1}));
    EXPECT_EQ(l.nodes.Length(), 4);
    EXPECT_EQ(ModelInvariantFault(l.bodies, l.nodes), "");

    // The host stays.
    Model f = FrameModel();
    EXPECT_TRUE(DeleteSubPolygon(0, 0, f.bodies, f.nodes));
    EXPECT_EQ(f.bodies[0].Length(), 1);
}

TEST(PolygonsTopology, EditsNeverLeaveSpikesOrTurnedRings)
{
    // Deleting the tip of a dart turns the rest over without any crossing: refused.
    Model dart = FrameModel();
    AddBody(dart, PointArray({{10, 10}, {30, 20}, {10, 30}, {15, 20}})); // tip at (30, 20), node 5
    ASSERT_FALSE(NodeRingOrientation(dart.bodies[1][0].ring, dart.nodes));
    EXPECT_FALSE(DeleteNode(5, 1, dart.bodies, dart.nodes));

    // A ring that runs out and back along one edge (u, v, u) loses the whole spike with v.
    Model spike = FrameModel();
    AddManualBody(spike, PointArray({{10, 10}, {30, 10}, {40, 5}, {30, 30}, {10, 30}}), {Ring({0, 1, 2, 1, 3, 4})});
    ASSERT_TRUE(DeleteNode(6, 1, spike.bodies, spike.nodes));
    EXPECT_EQ(ToVector(spike.bodies[1][0].ring), (std::vector<int>{4, 5, 6, 7}));

    // Coupling the spike's tip into its base does the same.
    Model couple = FrameModel();
    AddManualBody(couple, PointArray({{10, 10}, {30, 10}, {40, 5}, {30, 30}, {10, 30}}), {Ring({0, 1, 2, 1, 3, 4})});
    ASSERT_TRUE(CoupleNodes(6, 5, 1, 1, couple.bodies, couple.nodes));
    EXPECT_EQ(ToVector(couple.bodies[1][0].ring), (std::vector<int>{4, 5, 6, 7}));

    // A click beyond an edge's end snaps onto the edge's line past the end node: refused.
    Model m = ThreeBodies();
    const Model before = m;
    EXPECT_FALSE(InsertNodeOnEdge(4, 5, 1, 1, 1, m.nodes, m.bodies, {31, 10.5}));
    EXPECT_FALSE(InsertNodeOnEdge(4, 5, 1, 1, 1, m.nodes, m.bodies, {30 + 5e-5, 12})); // onto node 5
    EXPECT_EQ(m.bodies, before.bodies);
    EXPECT_EQ(m.nodes.Length(), before.nodes.Length());
}
