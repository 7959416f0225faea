// Plane geometry of the polygon model: crossing, containment, orientation, distances, angles, snapping,
// and the model-level crossing and nesting tests.
#include "PolygonsFixtures.h"
#include "core/PolygonsGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace polytest;

TEST(PolygonsGeometry, SegmentsIntersectCases)
{
    struct Case {
        const char* name;
        complexM a, b, c, d;
        bool expected;
    };
    const Case cases[] = {
        {"proper crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, true},
        {"shared end point", {0, 0}, {1, 1}, {1, 1}, {2, 0}, false},
        {"shared end point, reversed", {1, 1}, {0, 0}, {2, 0}, {1, 1}, false},
        {"end on the other, from the greater side", {0, 0}, {2, 0}, {1, 0}, {1, 1}, false},
        {"end on the other, from the smaller side", {0, 0}, {2, 0}, {1, 0}, {1, -1}, true},
        {"collinear overlap without shared end", {0, 0}, {2, 0}, {1, 0}, {3, 0}, false},
        {"collinear overlap, vertical", {0, 0}, {0, 4}, {0, 1}, {0, 2}, false},
        {"collinear apart", {0, 0}, {1, 0}, {2, 0}, {3, 0}, false},
        {"parallel", {0, 0}, {2, 0}, {0, 1}, {2, 1}, false},
        {"boxes apart", {0, 0}, {1, 1}, {5, 5}, {6, 4}, false},
        {"lines cross beyond the segments", {0, 0}, {1, 1}, {3, 0}, {2, 1}, false},
        {"zero-length segment on the other", {1, 0}, {1, 0}, {0, 0}, {2, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(SegmentsIntersect(c.a, c.b, c.c, c.d), c.expected) << c.name;
}

TEST(PolygonsGeometry, PointInPolygonFollowsTheHalfOpenRule)
{
    const arofcomplexM square = PointArray({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    struct Case {
        const char* name;
        complexM p;
        bool expected;
    };
    const Case cases[] = {
        {"centre", {5, 5}, true},
        {"outside", {15, 5}, false},
        {"on a vertex", {0, 0}, false},
        {"within 1e-10 of a vertex", {10 + 5e-11, 10}, false},
        {"on the lower-z edge", {5, 0}, true},
        {"on the higher-z edge", {5, 10}, false},
        {"on the left edge", {0, 5}, true},
        {"on the right edge", {10, 5}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(PointInPolygon(c.p, square), c.expected) << c.name;
    EXPECT_FALSE(PointInPolygon({0, 0}, arofcomplexM()));
}

TEST(PolygonsGeometry, TheDoubledHostRingHoldsNoPoint)
{
    Model m = FrameModel({0, 100, 0, 50}, PointArray({{-10, 5}, {30, 0}, {60, 9}, {120, 2}}), true);
    const arofintM& host = m.bodies[0][0].ring;
    for (const complexM p : {complexM{50, 25}, complexM{1, 49}, complexM{30, 20}, complexM{99, 10}})
        EXPECT_FALSE(PointInNodeRing(p, host, m.nodes)) << p.x << "," << p.z;
    EXPECT_EQ(FindSubPolygonAt(m.bodies, {50, 25}, m.nodes).body, -1);
}

TEST(PolygonsGeometry, RingOrientationAndOrientRing)
{
    const arofcomplexM ccw = PointArray({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const arofcomplexM cw = PointArray({{0, 10}, {10, 10}, {10, 0}, {0, 0}});
    // A concave ring: its reflex corner's centroid lies outside and must not count.
    const arofcomplexM concaveCcw = PointArray({{0, 0}, {10, 0}, {10, 10}, {9, 1}, {0, 10}});
    const arofcomplexM collinear = PointArray({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_FALSE(RingOrientation(ccw));
    EXPECT_TRUE(RingOrientation(cw));
    EXPECT_FALSE(RingOrientation(concaveCcw));
    EXPECT_TRUE(RingOrientation(collinear));
    EXPECT_TRUE(RingOrientation(arofcomplexM()));

    arofcomplexM turned = cw;
    OrientRing(turned);
    EXPECT_FALSE(RingOrientation(turned));
    EXPECT_EQ(turned, PointArray({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));

    arofcomplexM line = collinear;
    OrientRing(line);
    EXPECT_EQ(line, PointArray({{2, 0}, {1, 0}, {0, 0}}));

    arofcomplexM kept = ccw;
    OrientRing(kept);
    EXPECT_EQ(kept, ccw);

    // Either click order of a triangle ends with the same orientation.
    arofcomplexM t1 = PointArray({{0, 0}, {4, 0}, {0, 3}}), t2 = PointArray({{0, 3}, {4, 0}, {0, 0}});
    OrientRing(t1);
    OrientRing(t2);
    EXPECT_FALSE(RingOrientation(t1));
    EXPECT_FALSE(RingOrientation(t2));
}

TEST(PolygonsGeometry, ScreenDistancesAnglesAndSnapping)
{
    // sx = 2 pixels per unit along x, sz = 1 along z.
    EXPECT_DOUBLE_EQ(SegmentPixelDistance(2, 1, {0, 0}, {10, 0}, {5, 3}), 3.0);
    EXPECT_DOUBLE_EQ(SegmentPixelDistance(2, 1, {0, 0}, {10, 0}, {-2, 0}), 4.0);
    EXPECT_DOUBLE_EQ(SegmentPixelDistance(2, 1, {0, 0}, {10, 0}, {12, 1}), std::sqrt(17.0));
    EXPECT_DOUBLE_EQ(SegmentPixelDistance(2, 1, {3, 3}, {3, 3}, {6, 7}), std::sqrt(36.0 + 16.0));

    struct Angle {
        complexM u, v;
        double degrees;
    };
    const Angle angles[] = {
        {{1, 0}, {0, 1}, 90}, {{1, 0}, {1, 1}, 45},  {{2, 0}, {5, 0}, 0},
        {{1, 0}, {-3, 0}, 180}, {{0, 0}, {1, 0}, 180}, {{0, 0}, {0, 0}, 180},
    };
    for (const Angle& a : angles) EXPECT_NEAR(AngleBetween(a.u, a.v), a.degrees, 1e-9);

    complexM p{4, 100};
    SnapToSegment(p, {0, 0}, {10, 5}, 1, 1); // longer along x on screen: z moves
    EXPECT_EQ(p, (complexM{4, 2}));
    p = {100, 2};
    SnapToSegment(p, {0, 0}, {10, 5}, 1, 3); // longer along z on screen: x moves
    EXPECT_EQ(p, (complexM{4, 2}));
    p = {7, 8};
    SnapToSegment(p, {3, 0}, {3, 10}, 1, 1); // vertical
    EXPECT_EQ(p, (complexM{3, 8}));
    p = {7, 8};
    SnapToSegment(p, {3, 5}, {3, 5}, 1, 1); // a point: x of A
    EXPECT_EQ(p, (complexM{3, 8}));
}

TEST(PolygonsGeometry, NewSegmentAgainstTheDrawnPolyline)
{
    const arofcomplexM drawn = PointArray({{0, 0}, {10, 0}, {10, 10}, {5, -5}});
    EXPECT_TRUE(NewSegmentCrossesPolyline({5, -5}, drawn)); // 10,10 -> 5,-5 crosses 0,0 - 10,0
    const arofcomplexM open = PointArray({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_FALSE(NewSegmentCrossesPolyline({0, 10}, open));
    EXPECT_FALSE(NewSegmentCrossesPolyline({5, -5}, PointArray({{0, 0}, {5, -5}})));
}

// A square body 20..40 x 10..30 split into four triangles around an inner node off the diagonals.
static Model FanModel()
{
    Model m = FrameModel();
    AddManualBody(m, PointArray({{20, 10}, {40, 10}, {40, 30}, {20, 30}, {28, 20}}),
                  {Ring({0, 1, 4}), Ring({1, 2, 4}), Ring({2, 3, 4}), Ring({3, 0, 4})});
    return m;
}

TEST(PolygonsGeometry, BodyCrossingTestsSkipInnerEdges)
{
    Model m = FanModel();
    const int centre = m.nodes.High();
    ASSERT_EQ(m.nodes[centre].NodeClass, 2);

    // Inside the body the only edges crossed are inner ones.
    EXPECT_FALSE(SegmentCrossesBodyEdges({25, 19}, {35, 21}, 1, m.nodes, m.bodies));
    EXPECT_TRUE(SegmentCrossesBodyEdges({10, 20}, {25, 20}, 1, m.nodes, m.bodies));
    EXPECT_FALSE(SegmentCrossesOtherBodies({10, 20}, {25, 20}, 1, m.nodes, m.bodies));
    // The host's outline edges count: a segment leaving the box crosses body 0.
    EXPECT_TRUE(SegmentCrossesOtherBodies({50, 20}, {150, 20}, 1, m.nodes, m.bodies));

    // Node segments ignore edges that touch their own end nodes but see inner edges.
    const int corner = 4; // node (20, 10); the square's nodes are 4..7
    EXPECT_FALSE(NodeSegmentCrossesBody(corner, centre, 1, m.nodes, m.bodies));
    EXPECT_TRUE(NodeSegmentCrossesBody(corner, corner + 2, 1, m.nodes, m.bodies)); // the diagonal meets 5-8
    // Against one sub-polygon's ring: triangle 0 (4, 5, 8) holds 5-8, triangle 2 (6, 7, 8) only edges
    // that the diagonal misses or that touch its ends.
    EXPECT_TRUE(NodeSegmentCrossesSubPolygon(corner, corner + 2, 1, 0, m.nodes, m.bodies));
    EXPECT_FALSE(NodeSegmentCrossesSubPolygon(corner, corner + 2, 1, 2, m.nodes, m.bodies));
}

TEST(PolygonsGeometry, ContainmentAndNestingOfBodies)
{
    Model m = FrameModel();
    const int big = AddBody(m, PointArray({{10, 10}, {60, 10}, {60, 40}, {10, 40}}));
    const int apart = AddBody(m, PointArray({{70, 10}, {90, 10}, {90, 20}}));
    ASSERT_EQ(big, 1);
    ASSERT_EQ(apart, 2);
    // A body inside `big`, added by hand since AddPolygon refuses it.
    const int inner = AddManualBody(m, PointArray({{20, 20}, {30, 20}, {30, 30}}), {Ring({0, 1, 2})});

    EXPECT_FALSE(BodiesNested(big, big, m.bodies, m.nodes));
    EXPECT_TRUE(BodiesNested(big, inner, m.bodies, m.nodes));
    EXPECT_TRUE(BodiesNested(inner, big, m.bodies, m.nodes));
    EXPECT_FALSE(BodiesNested(big, apart, m.bodies, m.nodes));
    EXPECT_FALSE(BodiesNested(0, apart, m.bodies, m.nodes));

    EXPECT_TRUE(PointInOtherBodies({15, 15}, -1, m.bodies, m.nodes));
    EXPECT_FALSE(PointInOtherBodies({15, 15}, big, m.bodies, m.nodes));
    EXPECT_TRUE(PointInOtherBodies({25, 22}, big, m.bodies, m.nodes)); // still inside `inner`
    EXPECT_FALSE(PointInOtherBodies({95, 45}, -1, m.bodies, m.nodes));
}

TEST(PolygonsGeometry, SharedNodesAndRingPositions)
{
    Model m = FanModel();
    EXPECT_TRUE(SubPolygonsShareNode(2, 2, 1, m.bodies));
    EXPECT_TRUE(SubPolygonsShareNode(0, 2, 1, m.bodies)); // both hold the centre
    m.bodies[1][2].ring = Ring({6, 7, 100});
    EXPECT_FALSE(SubPolygonsShareNode(0, 2, 1, m.bodies));

    const arofintM ring = Ring({7, 8, 9});
    int node = -1, position = -1;
    EXPECT_EQ(NextRingPosition(2, ring, node), 0);
    EXPECT_EQ(node, 7);
    EXPECT_EQ(NextRingPosition(0, ring, node), 1);
    EXPECT_EQ(node, 8);
    EXPECT_EQ(PreviousRingPosition(0, ring, node), 2);
    EXPECT_EQ(node, 9);
    EXPECT_TRUE(FindInRing(9, ring, position));
    EXPECT_EQ(position, 2);
    EXPECT_FALSE(FindInRing(5, ring, position));
    EXPECT_EQ(position, 2);
}

TEST(PolygonsGeometry, EdgeRuleOfTheHostRing)
{
    Model m = FrameModel();
    EXPECT_EQ(ToVector(m.bodies[0][0].ring), (std::vector<int>{0, 1, 2, 3, 0, 3, 2, 1}));
    EXPECT_EQ(EdgePositionCount(m.bodies, 0, 0), 4); // edges 0-1, 1-2, 2-3, 3-0
    EXPECT_EQ(HostHalfLength(Ring({4, 5, 6})), 3);
}
