// Drawing new bodies, attaching sub-polygons and layers, and dividing sub-polygons.
#include "PolygonsFixtures.h"
#include "core/PolygonsGeometry.h"
#include "core/PolygonsInvariants.h"
#include "core/PolygonsTopology.h"

#include <gtest/gtest.h>

using namespace polytest;

namespace {

// The frame and a square body 20..40 x 10..30 (nodes 4..7 from its top-left corner, counter-clockwise
// in x-z: (20,10), (40,10), (40,30), (20,30) after orientation).
Model SquareModel()
{
    Model m = FrameModel();
    AddBody(m, PointArray({{20, 10}, {40, 10}, {40, 30}, {20, 30}}));
    return m;
}

// Points of a sub-polygon's ring.
std::vector<complexM> RingPoints(const Model& m, int body, int sub)
{
    std::vector<complexM> points;
    for (int v : m.bodies[body][sub].ring) points.push_back(NodePoint(m.nodes, v));
    return points;
}

} // namespace

TEST(PolygonsCreate, CheckNewPolygonAfterEachClick)
{
    Model m = SquareModel();
    struct Case {
        const char* name;
        arofcomplexM points;
        bool closing, expected;
    };
    const Case cases[] = {
        {"one point outside", PointArray({{50, 20}}), false, true},
        {"one point inside a body", PointArray({{30, 20}}), false, false},
        {"first segment across a body", PointArray({{10, 20}, {50, 20}}), false, false},
        {"first segment clear", PointArray({{50, 5}, {60, 5}}), false, true},
        {"two points, closing tests nothing more", PointArray({{50, 5}, {60, 5}}), true, true},
        {"newest segment crosses the polyline", PointArray({{50, 5}, {70, 5}, {70, 15}, {60, 0.5}}), false, false},
        {"newest segment leaves the box", PointArray({{50, 5}, {70, 5}, {120, 15}}), false, false},
        {"open triangle", PointArray({{50, 5}, {70, 5}, {60, 15}}), true, true},
        {"closing segment across the body", PointArray({{10, 5}, {10, 45}, {50, 45}}), false, true},
        {"closing segment across the body, closed", PointArray({{10, 5}, {10, 45}, {50, 45}}), true, false},
        {"nothing drawn", PointArray({}), true, true},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckNewPolygon(c.points, m.bodies, m.nodes, c.closing), c.expected) << c.name;
}

TEST(PolygonsCreate, AddPolygonOrientsAndRefusesOverlaps)
{
    Model m = FrameModel();
    PolygonProperties row = DefaultProperties();
    row[psLabelText] = Variant("new");
    EXPECT_FALSE(AddPolygon(PointArray({{10, 10}, {20, 10}}), m.bodies, m.nodes, row));

    // Either click order gives an oriented ring of new nodes with the default properties.
    ASSERT_TRUE(AddPolygon(PointArray({{10, 10}, {20, 10}, {15, 20}}), m.bodies, m.nodes, row));
    ASSERT_TRUE(AddPolygon(PointArray({{60, 20}, {65, 10}, {70, 20}}), m.bodies, m.nodes, row));
    ASSERT_EQ(m.bodies.Length(), 3);
    EXPECT_EQ(m.nodes.Length(), 4 + 6);
    EXPECT_EQ(ToVector(m.bodies[1][0].ring), (std::vector<int>{4, 5, 6}));
    for (int b : {1, 2}) {
        EXPECT_FALSE(NodeRingOrientation(m.bodies[b][0].ring, m.nodes));
        EXPECT_EQ(m.bodies[b][0].properties, row);
    }
    EXPECT_EQ(m.bodies[2][0].properties[psLabelText].AsString(), "new");
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");

    // Around an existing body (its first node inside) and inside one (the first point inside).
    const Model before = m;
    EXPECT_FALSE(AddPolygon(PointArray({{5, 5}, {30, 5}, {15, 30}}), m.bodies, m.nodes, row));
    EXPECT_FALSE(AddPolygon(PointArray({{15, 15}, {16, 15}, {15.5, 16}}), m.bodies, m.nodes, row));
    // Points on one line, also clicked back and forth, enclose nothing.
    EXPECT_FALSE(AddPolygon(PointArray({{30, 30}, {35, 32}, {40, 34}}), m.bodies, m.nodes, row));
    EXPECT_FALSE(AddPolygon(PointArray({{30, 30}, {40, 34}, {35, 32}, {32, 30.8}}), m.bodies, m.nodes, row));
    EXPECT_EQ(m.bodies, before.bodies);
    EXPECT_EQ(m.nodes.Length(), before.nodes.Length());
}

TEST(PolygonsCreate, DividePolygonAlongAChord)
{
    Model m = SquareModel();
    m.bodies[1][0].properties[psShapeIndex] = Variant(7);
    m.bodies[1][0].properties[psResistivity] = Variant(42.0);
    int shape = -5;

    EXPECT_FALSE(DividePolygon(4, 5, 1, shape, m.nodes, m.bodies)); // ring neighbours
    EXPECT_FALSE(DividePolygon(7, 4, 1, shape, m.nodes, m.bodies)); // neighbours across the ring's end
    EXPECT_EQ(m.bodies[1].Length(), 1);

    ASSERT_TRUE(DividePolygon(4, 6, 1, shape, m.nodes, m.bodies));
    EXPECT_EQ(shape, 7);
    ASSERT_EQ(m.bodies[1].Length(), 2);
    EXPECT_EQ(ToVector(m.bodies[1][0].ring), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(ToVector(m.bodies[1][1].ring), (std::vector<int>{6, 7, 4}));
    for (const Polygon& half : m.bodies[1]) {
        EXPECT_EQ(half.properties[psShapeIndex].AsInteger(), -1);
        EXPECT_EQ(half.properties[psResistivity].AsDouble(), 42.0);
    }
    EXPECT_EQ(m.nodes[4].NodeClass, 1);
    EXPECT_EQ(m.nodes[6].NodeClass, 1);
    EXPECT_EQ(m.nodes[5].NodeClass, 0);
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
}

TEST(PolygonsCreate, DividePolygonRefusesChordsOutsideOrAcross)
{
    Model m = FrameModel();
    // A U shape: the chord between the tips of its arms runs outside, the one between the two bottom
    // corners crosses nothing but the inner notch's bottom.
    AddBody(m, PointArray({{10, 10}, {50, 10}, {50, 40}, {40, 40}, {40, 20}, {20, 20}, {20, 40}, {10, 40}}));
    const Model before = m;
    int shape = 0;
    const int tipLeft = 4 + 7 - 1; // (20, 40)
    const int tipRight = 4 + 3;    // (40, 40)
    ASSERT_EQ(NodePoint(m.nodes, tipLeft), (complexM{20, 40}));
    ASSERT_EQ(NodePoint(m.nodes, tipRight), (complexM{40, 40}));
    EXPECT_FALSE(DividePolygon(tipLeft, tipRight, 1, shape, m.nodes, m.bodies)); // midpoint outside
    EXPECT_FALSE(DividePolygon(4 + 7, 4 + 2, 1, shape, m.nodes, m.bodies));     // (10,40)-(50,40) across the arms
    EXPECT_EQ(m.bodies, before.bodies);

    // On the host (two added outline nodes) the chord's midpoint is never inside.
    Model frame = FrameModel();
    ASSERT_TRUE(InsertNodeOnEdge(0, 1, 0, 1, 1, frame.nodes, frame.bodies, {0, 20}));
    ASSERT_TRUE(InsertNodeOnEdge(2, 3, 0, 1, 1, frame.nodes, frame.bodies, {100, 20}));
    EXPECT_FALSE(DividePolygon(4, 5, 0, shape, frame.nodes, frame.bodies));
    EXPECT_EQ(frame.bodies[0].Length(), 1);
}

TEST(PolygonsCreate, DividePolygonRefusesAChordAlongTheRing)
{
    // (10,10), (20,10), (40,10) lie on one line: the chord from the first to the third runs along two
    // edges, and its first half would have no area.
    Model m = FrameModel();
    AddManualBody(m, PointArray({{10, 10}, {20, 10}, {40, 10}, {25, 30}}), {Ring({0, 1, 2, 3})});
    const Model before = m;
    int shape = 0;
    EXPECT_FALSE(DividePolygon(4, 6, 1, shape, m.nodes, m.bodies));
    EXPECT_EQ(m.bodies, before.bodies);
}

TEST(PolygonsCreate, AddSubPolygonOnEitherSideOfTheHost)
{
    for (const bool variant : {false, true}) {
        Model m = FrameModel();
        ASSERT_TRUE(InsertNodeOnEdge(0, 1, 0, 1, 1, m.nodes, m.bodies, {0, 10}));   // node 4
        ASSERT_TRUE(InsertNodeOnEdge(2, 3, 0, 1, 1, m.nodes, m.bodies, {100, 10})); // node 5
        for (int v : {4, 5}) m.nodes[v].FrameCode = FrameSideCode(v, m.bodies, m.nodes, m.box);

        ASSERT_TRUE(AddSubPolygonInFrame(4, 5, 0, variant, m.nodes, m.bodies, PointArray({{0, 10}, {50, 12}, {100, 10}}),
                                         m.box, DefaultProperties()));
        ASSERT_EQ(m.bodies[0].Length(), 2);
        const std::vector<int> ring = ToVector(m.bodies[0][1].ring);
        if (!variant) // the top layer: from the right end along the surface
            EXPECT_EQ(ring, (std::vector<int>{5, 6, 4, 0, 3}));
        else // the bottom layer
            EXPECT_EQ(ring, (std::vector<int>{4, 6, 5, 2, 1}));
        EXPECT_EQ(RingPoints(m, 0, 1)[1], (complexM{50, 12}));
        EXPECT_EQ(m.nodes[6].FrameCode, 0);
        EXPECT_EQ(m.nodes[4].FrameCode, 1);
        EXPECT_EQ(m.nodes[5].FrameCode, 5);
        EXPECT_EQ(m.bodies[0][1].properties, DefaultProperties());
        EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "") << variant;
    }
}

TEST(PolygonsCreate, AddSubPolygonToABodyWalksItsOutline)
{
    Model m = SquareModel();
    // From corner (40,10) round the right side to (40,30): the walk adds nothing between them.
    ASSERT_TRUE(AddSubPolygon(6, 5, 1, false, m.nodes, m.bodies, PointArray({{40, 30}, {60, 20}, {40, 10}}), DefaultProperties()));
    EXPECT_EQ(ToVector(m.bodies[1][1].ring), (std::vector<int>{5, 8, 6}));
    // Left of the square from (20,30) to (20,10): again a single step along the ring.
    ASSERT_TRUE(AddSubPolygon(7, 4, 1, false, m.nodes, m.bodies, PointArray({{20, 30}, {10, 20}, {20, 10}}), DefaultProperties()));
    EXPECT_EQ(ToVector(m.bodies[1][2].ring), (std::vector<int>{7, 9, 4}));
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
    EXPECT_EQ(m.nodes[5].NodeClass, 1);
    EXPECT_EQ(m.nodes[6].NodeClass, 1);
}

TEST(PolygonsCreate, AddSubPolygonWalkPassesJunctions)
{
    Model m = SquareModel();
    int shape = 0;
    ASSERT_TRUE(DividePolygon(5, 7, 1, shape, m.nodes, m.bodies)); // triangles (40,10)-(40,30)-(20,30) and the rest
    // A polyline round the square's right from (20,10) to (40,30): the walk passes the junction
    // (40,10), where the diagonal to (20,30) and the outline to (40,30) both go on; it keeps to the
    // outline, so the new ring never runs along the diagonal.
    ASSERT_TRUE(AddSubPolygon(4, 6, 1, false, m.nodes, m.bodies,
                              PointArray({{20, 10}, {20, 2}, {50, 2}, {50, 30}, {40, 30}}), DefaultProperties()));
    const std::vector<int> ring = ToVector(m.bodies[1].back().ring);
    EXPECT_EQ(ring, (std::vector<int>{4, 8, 9, 10, 6, 5}));
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
}

TEST(PolygonsCreate, AddSubPolygonVariantClosesRoundTheFarSide)
{
    Model m = SquareModel();
    Model other = m;
    const arofcomplexM line = PointArray({{40, 10}, {60, 20}, {40, 30}});
    ASSERT_TRUE(AddSubPolygon(5, 6, 1, false, m.nodes, m.bodies, line, DefaultProperties()));
    EXPECT_EQ(ToVector(m.bodies[1][1].ring), (std::vector<int>{5, 8, 6}));
    // Variant 1 closes round the rest of the square's outline: on a body that ring would cover the body
    // turned over, so it is refused (the model extended, for the caller to restore).
    EXPECT_FALSE(AddSubPolygon(5, 6, 1, true, other.nodes, other.bodies, line, DefaultProperties()));
    EXPECT_EQ(ToVector(other.bodies[1][1].ring), (std::vector<int>{6, 8, 5, 4, 7}));

    // A two-point polyline (a chord across a notch) orients either way: one pick order fills the notch,
    // the other would close round the body and is refused.
    Model u = FrameModel();
    AddBody(u, PointArray({{10, 10}, {50, 10}, {50, 40}, {40, 40}, {40, 20}, {20, 20}, {20, 40}, {10, 40}}));
    const int tipRight = 7, tipLeft = 10; // (40, 40) and (20, 40)
    Model reversed = u;
    const bool forward = AddSubPolygon(tipRight, tipLeft, 1, false, u.nodes, u.bodies, PointArray({{40, 40}, {20, 40}}), DefaultProperties());
    const bool backward =
        AddSubPolygon(tipLeft, tipRight, 1, false, reversed.nodes, reversed.bodies, PointArray({{20, 40}, {40, 40}}), DefaultProperties());
    EXPECT_NE(forward, backward);
    const Model& filled = forward ? u : reversed;
    EXPECT_EQ(ToVector(filled.bodies[1][1].ring), (std::vector<int>{tipRight, tipLeft, 9, 8}));
    EXPECT_EQ(ModelInvariantFault(filled.bodies, filled.nodes), "");
}

TEST(PolygonsCreate, AddSubPolygonStopsAWalkThatCannotReachB)
{
    Model m = FrameModel();
    // A fan around the inner node 8: a walk along the outline never reaches it.
    AddManualBody(m, PointArray({{20, 10}, {40, 10}, {40, 30}, {20, 30}, {28, 20}}),
                  {Ring({0, 1, 4}), Ring({1, 2, 4}), Ring({2, 3, 4}), Ring({3, 0, 4})});
    const Model before = m;
    EXPECT_FALSE(AddSubPolygon(4, 8, 1, false, m.nodes, m.bodies, PointArray({{20, 10}, {30, 0}, {28, 20}}), DefaultProperties()));
    EXPECT_EQ(m.bodies, before.bodies);
    EXPECT_EQ(m.nodes.Length(), before.nodes.Length());

    // A node with no open way on: everything past it is inner.
    Model stuck = FrameModel();
    AddManualBody(stuck, PointArray({{20, 10}, {40, 10}, {40, 30}}), {Ring({0, 1, 2})});
    stuck.nodes[5].NodeClass = 2;
    stuck.nodes[6].NodeClass = 2;
    const Model stuckBefore = stuck;
    EXPECT_FALSE(AddSubPolygon(4, 6, 1, false, stuck.nodes, stuck.bodies, PointArray({{20, 10}, {30, 0}, {40, 30}}), DefaultProperties()));
    EXPECT_EQ(stuck.bodies, stuckBefore.bodies);
}

TEST(PolygonsCreate, AddSubPolygonFromANodeBackToItself)
{
    Model m = SquareModel();
    ASSERT_TRUE(AddSubPolygon(5, 5, 1, false, m.nodes, m.bodies, PointArray({{40, 10}, {50, 5}, {55, 15}, {40, 10}}), DefaultProperties()));
    const std::vector<int> ring = ToVector(m.bodies[1][1].ring);
    ASSERT_EQ(ring.size(), 3u);
    EXPECT_EQ(ring[0], 5);
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
    // Too few points to enclose anything.
    const Model before = m;
    EXPECT_FALSE(AddSubPolygon(5, 5, 1, false, m.nodes, m.bodies, PointArray({{40, 10}, {50, 5}, {40, 10}}), DefaultProperties()));
    EXPECT_EQ(m.bodies, before.bodies);
}

TEST(PolygonsCreate, AddSubPolygonNestingAnotherBodyIsRefusedAfterTheFact)
{
    Model m = SquareModel();
    AddBody(m, PointArray({{60, 10}, {65, 10}, {62, 14}})); // body 2, inside the new sub-polygon's reach
    const int nodesBefore = m.nodes.Length();
    EXPECT_FALSE(AddSubPolygon(5, 6, 1, false, m.nodes, m.bodies,
                               PointArray({{40, 10}, {40, 2}, {80, 2}, {80, 40}, {40, 30}}), DefaultProperties()));
    EXPECT_GT(m.nodes.Length(), nodesBefore); // the caller restores its working copy
}
