// The polygon model types: independent deep copies and the default property row.
#include "core/Polygons.h"

#include <gtest/gtest.h>

namespace {

// A frame of four nodes and one inner triangle body.
TPolygonModel SmallModel()
{
    TPolygonModel m;
    m.Nodes.SetLength(7);
    const double xz[7][2] = {{0, 0}, {0, 100}, {1000, 100}, {1000, 0}, {10, 10}, {20, 10}, {15, 20}};
    for (int i = 0; i < 7; ++i) {
        m.Nodes[i].x = xz[i][0];
        m.Nodes[i].z = xz[i][1];
        m.Nodes[i].FrameCode = i < 4 ? 1 + i : 0;
        m.Nodes[i].FixedFlag = i == 6;
        m.Nodes[i].NodeClass = i == 5 ? 2 : 0;
        m.Nodes[i].WorkX = 99;
    }
    m.Bodies.SetLength(2);
    m.Bodies[0].SetLength(1);
    m.Bodies[0][0].ring = arofintM{0, 1, 2, 3, 0, 3, 2, 1};
    m.Bodies[1].SetLength(1);
    m.Bodies[1][0].ring = arofintM{4, 5, 6};
    m.Bodies[1][0].properties = MakeDefaultPolygonProperties("brush", "pen", "gradient");
    return m;
}

} // namespace

TEST(PolygonModel, DeepCopiesAreIndependent)
{
    const TPolygonModel source = SmallModel();
    AllSpolygon bodies;
    Tnodes nodes;
    CopyAllSpolygon(source.Bodies, bodies);
    CopyNodes(source.Nodes, nodes);
    ASSERT_EQ(bodies, source.Bodies);
    for (int i = 0; i < nodes.Length(); ++i) {
        EXPECT_EQ(nodes[i].x, source.Nodes[i].x);
        EXPECT_EQ(nodes[i].z, source.Nodes[i].z);
        EXPECT_EQ(nodes[i].FixedFlag, source.Nodes[i].FixedFlag);
        EXPECT_EQ(nodes[i].NodeClass, source.Nodes[i].NodeClass);
        EXPECT_EQ(nodes[i].FrameCode, source.Nodes[i].FrameCode);
    }

    bodies[1][0].ring[0] = 6;
    bodies[1][0].ring.push_back(3);
    bodies[1][0].properties[psBrushText] = Variant("changed");
    bodies[1][0].properties[psResistivity] = Variant(77.0);
    bodies[0].SetLength(3);
    nodes[2].x = -5;
    EXPECT_EQ(source.Bodies, SmallModel().Bodies) << "changes of the copy never reach the source";
    EXPECT_EQ(source.Nodes[2].x, 1000);

    // Copying over a larger destination leaves it the source's size.
    Polygon p;
    p.ring = arofintM{9, 9, 9, 9, 9};
    CopyPolygon(source.Bodies[1][0], p);
    EXPECT_EQ(p, source.Bodies[1][0]);
    SPolygon sub(4);
    CopySPolygon(source.Bodies[0], sub);
    EXPECT_EQ(sub.Length(), 1);

    AllSpolygon emptyBodies{SPolygon(1)};
    Tnodes emptyNodes(3);
    CopyAllSpolygon(AllSpolygon{}, emptyBodies);
    CopyNodes(Tnodes{}, emptyNodes);
    EXPECT_TRUE(emptyBodies.empty());
    EXPECT_TRUE(emptyNodes.empty());
}

TEST(PolygonModel, DefaultRowKindsAndValues)
{
    const PolygonProperties row = MakeDefaultPolygonProperties("B", "P", "G");
    using K = Variant::Kind;
    struct Slot { int index; K kind; Variant value; };
    const Slot slots[] = {
        {0, K::Integer, Variant(std::int32_t(-1))}, {1, K::Text, Variant("B")},  {2, K::Text, Variant("P")},
        {3, K::Text, Variant("G")},                 {4, K::Integer, Variant(std::int32_t(12632256))},
        {5, K::Text, Variant("*")},                 {6, K::Text, Variant("*")},  {7, K::Text, Variant(" ")},
        {8, K::Integer, Variant(std::int32_t(0))},  {9, K::Text, Variant("*")},  {10, K::Real, Variant(10.0)},
        {11, K::Real, Variant(0.0)},                {12, K::Real, Variant(1.0)}, {13, K::Real, Variant(1.0)},
    };
    for (const Slot& s : slots) {
        EXPECT_EQ(row[s.index].GetKind(), s.kind) << "slot " << s.index;
        EXPECT_EQ(row[s.index], s.value) << "slot " << s.index;
    }
    for (int i = 14; i < PolygonPropertyCount; ++i) EXPECT_EQ(row[i], Variant("*")) << "slot " << i;
    EXPECT_THROW(row[20], ERangeError);
}
