// The model frame: building it with and without relief, frame codes, moving and rebuilding it for a new
// box, constraining dragged frame nodes, and keeping layers on the surface.
#include "PolygonsFixtures.h"
#include "core/PolygonsGeometry.h"
#include "core/PolygonsInvariants.h"
#include "core/PolygonsTopology.h"
#include "core/Supermath2d.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace polytest;

namespace {

const arofcomplexM& HillyRelief()
{
    static const arofcomplexM relief =
        PointArray({{-10, 4}, {20, 0}, {50, 6}, {80, 2}, {110, 8}, {130, 3}, {170, 5}});
    return relief;
}

const arofcomplexM& FlatRelief()
{
    static const arofcomplexM relief = PointArray({{-20, 0}, {50, 0}, {80, 0}, {120, 0}, {140, 0}, {200, 0}});
    return relief;
}

// Nodes of the host surface run, top-left corner to top-right corner.
std::vector<int> HostSurface(const arofintM& host)
{
    int first = 0;
    FindInRing(3, host, first);
    std::vector<int> run;
    for (int k = first; host[k] != 0; ++k) run.push_back(host[k]);
    run.push_back(0);
    std::reverse(run.begin(), run.end());
    return run;
}

// The surface run of a layer ring: its nodes on the host surface, from the one after an off-surface
// node round to the next off-surface node.
std::vector<int> LayerSurface(const arofintM& ring, const std::vector<int>& surface)
{
    auto on = [&](int v) { return std::find(surface.begin(), surface.end(), v) != surface.end(); };
    const int n = ring.Length();
    int start = 0;
    while (!(on(ring[start]) && !on(ring[(start + n - 1) % n]))) ++start;
    std::vector<int> run;
    for (int k = start; on(ring[k % n]) && static_cast<int>(run.size()) < n; ++k) run.push_back(ring[k % n]);
    return run;
}

// Frame, a top layer of body 0 from the left side (node L at z 15) to the right side (node R at z 15)
// through a node at (50, 17), and a surface node added on the host edge between x 50 and 80.
struct LayerModel {
    Model m;
    int left, right, inner, added;
};

LayerModel TopLayer(const arofcomplexM& relief)
{
    LayerModel l{FrameModel({0, 100, 0, 50}, relief, true), 0, 0, 0, 0};
    Model& m = l.m;
    InsertNodeOnEdge(0, 1, 0, 1, 1, m.nodes, m.bodies, {0, 15});
    l.left = m.nodes.High();
    InsertNodeOnEdge(2, 3, 0, 1, 1, m.nodes, m.bodies, {100, 15});
    l.right = m.nodes.High();
    for (int v : {l.left, l.right}) m.nodes[v].FrameCode = FrameSideCode(v, m.bodies, m.nodes, m.box);
    EXPECT_TRUE(AddSubPolygonInFrame(l.left, l.right, 0, false, m.nodes, m.bodies,
                                     PointArray({{0, 15}, {50, 17}, {100, 15}}), m.box, DefaultProperties()));
    l.inner = m.nodes.High();

    // The host edge between the relief nodes at x 50 and 80 (both on the layer too).
    int at50 = -1, at80 = -1;
    for (int v = 4; v < m.nodes.Length(); ++v) {
        if (m.nodes[v].FrameCode != fcSurface) continue;
        if (m.nodes[v].x == 50) at50 = v;
        if (m.nodes[v].x == 80) at80 = v;
    }
    EXPECT_TRUE(InsertNodeOnEdge(at80, at50, 0, 1, 1, m.nodes, m.bodies, {65, 0}));
    l.added = m.nodes.High();
    m.nodes[l.added].FrameCode = FrameSideCode(l.added, m.bodies, m.nodes, m.box);
    return l;
}

void ExpectLayerFollowsSurface(const Model& m, const arofcomplexM& relief, const char* what)
{
    const std::vector<int> surface = HostSurface(m.bodies[0][0].ring);
    for (size_t k = 1; k < surface.size(); ++k)
        EXPECT_LT(m.nodes[surface[k - 1]].x, m.nodes[surface[k]].x) << what;
    for (int v : surface) EXPECT_NEAR(m.nodes[v].z, InterpolateProfile(relief, m.nodes[v].x), 1e-9) << what;
    EXPECT_EQ(LayerSurface(m.bodies[0][1].ring, surface), surface) << what;
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "") << what;
}

} // namespace

TEST(PolygonsFrame, BuildFramePolygonWithoutRelief)
{
    for (const bool hasRelief : {false, true}) { // a relief flag with no relief points builds the same
        Tnodes nodes;
        SPolygon host;
        EXPECT_EQ(BuildFramePolygon(nodes, host, arofcomplexM(), hasRelief, {0, 100, 0, 50}), 4);
        const complexM corners[] = {{0, 0}, {0, 50}, {100, 50}, {100, 0}};
        const int codes[] = {1, 2, 4, 5};
        for (int v = 0; v < 4; ++v) {
            EXPECT_EQ(NodePoint(nodes, v), corners[v]);
            EXPECT_EQ(nodes[v].FrameCode, codes[v]);
            EXPECT_EQ(nodes[v].FixedFlag, 0);
            EXPECT_EQ(nodes[v].NodeClass, 0);
        }
        ASSERT_EQ(host.Length(), 1);
        EXPECT_EQ(ToVector(host[0].ring), (std::vector<int>{0, 1, 2, 3, 0, 3, 2, 1}));
        EXPECT_EQ(host[0].properties[psShapeIndex], Variant(std::int8_t(-1))) << "a one-byte integer";
        EXPECT_TRUE(host[0].properties[psResistivity].IsEmpty());
    }
}

TEST(PolygonsFrame, BuildFramePolygonOnAHillyRelief)
{
    Tnodes nodes;
    SPolygon host;
    const arofcomplexM relief = PointArray({{-10, 4}, {20, 0}, {50, 6}, {80, 2}, {110, 8}});
    ASSERT_EQ(BuildFramePolygon(nodes, host, relief, true, {0, 100, 0, 50}), 7);
    EXPECT_DOUBLE_EQ(nodes[0].z, 4.0 - 4.0 * 10.0 / 30.0);
    EXPECT_DOUBLE_EQ(nodes[3].z, 2.0 + 6.0 * 20.0 / 30.0);
    const double reliefX[] = {80, 50, 20};
    const double reliefZ[] = {2, 6, 0};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(nodes[4 + k].x, reliefX[k]);
        EXPECT_DOUBLE_EQ(nodes[4 + k].z, reliefZ[k]);
        EXPECT_EQ(nodes[4 + k].FrameCode, fcSurface);
    }
    EXPECT_EQ(ToVector(host[0].ring), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 0, 6, 5, 4, 3, 2, 1}));

    // A relief point exactly on the left side makes no relief node.
    const arofcomplexM onSide = PointArray({{0, 3}, {50, 6}, {100, 1}});
    EXPECT_EQ(BuildFramePolygon(nodes, host, onSide, true, {0, 100, 0, 50}), 5);
    EXPECT_EQ(nodes[0].z, 3.0);
    EXPECT_EQ(nodes[4].x, 50.0);
}

TEST(PolygonsFrame, FrameSideCodeCases)
{
    Model m = FrameModel({0, 100, 0, 50}, PointArray({{-10, 4}, {20, 0}, {50, 6}, {80, 2}, {110, 8}}), true);
    struct Case {
        const char* name;
        complexM p;
        int expected;
    };
    const Case cases[] = {
        {"left, within 1e-5 of the bottom", {0, 50 + 5e-6}, 2},
        {"2e-5 right of the left side, on the bottom", {2e-5, 50}, 3},
        {"left side", {0, 20}, 1},
        {"right side", {100 - 5e-6, 20}, 5},
        {"bottom right", {100, 50}, 4},
        {"on a relief node", {50 + 5e-6, 6}, 6},
        {"on the relief between nodes", {35, 3}, 0},
        {"free", {50, 25}, 0},
    };
    // Each probe node sits on a layer of body 0; the same place in another body gives 0.
    Polygon layer;
    layer.ring = Ring({1, 2, 3});
    m.bodies[0].push_back(layer);
    AddBody(m, PointArray({{40, 20}, {60, 20}, {50, 30}}));
    for (const Case& c : cases) {
        TNode node;
        node.x = c.p.x;
        node.z = c.p.z;
        m.nodes.push_back(node);
        m.bodies[0][1].ring[2] = m.nodes.High();
        EXPECT_EQ(FrameSideCode(m.nodes.High(), m.bodies, m.nodes, m.box), c.expected) << c.name;
        m.nodes[m.bodies[1][0].ring[0]].x = c.p.x;
        m.nodes[m.bodies[1][0].ring[0]].z = c.p.z;
        EXPECT_EQ(FrameSideCode(m.bodies[1][0].ring[0], m.bodies, m.nodes, m.box), 0) << c.name << " (body 1)";
    }
    // Built relief nodes are surface nodes by their place in the host ring.
    EXPECT_EQ(FrameSideCode(5, m.bodies, m.nodes, m.box), 6);
}

TEST(PolygonsFrame, MoveFrameNodesAndFreeNodesExtent)
{
    Model m = FrameModel({0, 100, 0, 50}, PointArray({{-10, 4}, {20, 0}, {50, 6}, {80, 2}, {110, 8}}), true);
    const NodesExtent none = FreeNodesExtent(m.nodes);
    EXPECT_EQ(none.minX, 1e30);
    EXPECT_EQ(none.maxX, -1e30);
    EXPECT_EQ(none.maxZ, -1e30);

    TNode bottom;
    bottom.x = 30;
    bottom.z = 50;
    bottom.FrameCode = fcBottom;
    m.nodes.push_back(bottom);
    AddBody(m, PointArray({{10, 10}, {40, 10}, {30, 35}}));
    const NodesExtent free = FreeNodesExtent(m.nodes);
    EXPECT_EQ(free.minX, 10);
    EXPECT_EQ(free.maxX, 40);
    EXPECT_EQ(free.maxZ, 35);

    const Tnodes before = m.nodes;
    MoveFrameNodes(m.nodes, {-20, 140, 0, 80});
    EXPECT_EQ(NodePoint(m.nodes, 0), (complexM{-20, before[0].z})); // only horizontally
    EXPECT_EQ(NodePoint(m.nodes, 1), (complexM{-20, 80}));
    EXPECT_EQ(NodePoint(m.nodes, 2), (complexM{140, 80}));
    EXPECT_EQ(NodePoint(m.nodes, 3), (complexM{140, before[3].z}));
    EXPECT_EQ(NodePoint(m.nodes, 4), NodePoint(before, 4)); // relief
    EXPECT_EQ(NodePoint(m.nodes, 7), (complexM{30, 80}));   // bottom node
    for (int v = 8; v < m.nodes.Length(); ++v) EXPECT_EQ(NodePoint(m.nodes, v), NodePoint(before, v));
}

TEST(PolygonsFrame, ConstrainFrameNodeMove)
{
    LayerModel l = TopLayer(HillyRelief());
    Model& m = l.m;
    const arofcomplexM& relief = HillyRelief();
    double x = 0, z = 0;
    for (int v = 0; v <= 6; ++v) // corners and relief nodes built with the frame
        EXPECT_FALSE(ConstrainFrameNodeMove(v, relief, true, m.nodes, m.bodies, z, x, m.box)) << v;

    struct Case {
        const char* name;
        int node;
        complexM proposed, expected;
        bool allowed;
    };
    const Case cases[] = {
        {"left side node keeps x", l.left, {7, 20}, {0, 20}, true},
        {"right side node clamped below the bottom", l.right, {120, 70}, {100, 50}, true},
        {"surface node onto the relief", l.added, {35, 40}, {35, 3}, true},
        {"surface node clamped into the box", l.added, {-5, 0}, {0, InterpolateProfile(relief, 0)}, true},
        {"free node", l.inner, {10, 60}, {10, 50}, false},
    };
    for (const Case& c : cases) {
        x = c.proposed.x;
        z = c.proposed.z;
        EXPECT_EQ(ConstrainFrameNodeMove(c.node, relief, true, m.nodes, m.bodies, z, x, m.box), c.allowed) << c.name;
        EXPECT_DOUBLE_EQ(x, c.expected.x) << c.name;
        EXPECT_DOUBLE_EQ(z, c.expected.z) << c.name;
    }
    // Without a relief a surface node goes to the box top.
    x = 40;
    z = 9;
    EXPECT_TRUE(ConstrainFrameNodeMove(l.added, relief, false, m.nodes, m.bodies, z, x, m.box));
    EXPECT_EQ(z, 0.0);
}

TEST(PolygonsFrame, AdjustSurfaceNodeKeepsTheLayerOnTheSurface)
{
    // The added surface node dragged past its left neighbour (x 50), past its right one (x 80), and
    // within its own span.
    for (const double targetX : {35.0, 90.0, 70.0}) {
        LayerModel l = TopLayer(HillyRelief());
        Model& m = l.m;
        ASSERT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
        double x = targetX, z = 0;
        ASSERT_TRUE(ConstrainFrameNodeMove(l.added, HillyRelief(), true, m.nodes, m.bodies, z, x, m.box));
        m.nodes[l.added].x = x;
        m.nodes[l.added].z = z;
        AdjustSurfaceNode(l.added, true, m.bodies, m.nodes);
        ExpectLayerFollowsSurface(m, HillyRelief(), "adjusted");
        EXPECT_EQ(std::count(m.bodies[0][1].ring.begin(), m.bodies[0][1].ring.end(), l.added), 1) << targetX;
    }

    // Without a relief, or for a node off the surface, nothing changes.
    LayerModel l = TopLayer(HillyRelief());
    const AllSpolygon before = l.m.bodies;
    l.m.nodes[l.added].x = 35;
    AdjustSurfaceNode(l.added, false, l.m.bodies, l.m.nodes);
    AdjustSurfaceNode(l.inner, true, l.m.bodies, l.m.nodes);
    EXPECT_EQ(l.m.bodies, before);
}

TEST(PolygonsFrame, AdjustSurfaceNodeStopsOnALayerLyingWhollyOnTheSurface)
{
    LayerModel l = TopLayer(HillyRelief());
    Model& m = l.m;
    Polygon flat;
    flat.ring = Ring({0, 6, 5}); // every node on the surface
    m.bodies[0].push_back(flat);
    m.nodes[l.added].x = 35;
    AdjustSurfaceNode(l.added, true, m.bodies, m.nodes);
    EXPECT_EQ(ToVector(m.bodies[0][2].ring), (std::vector<int>{0, 6, 5}));
}

TEST(PolygonsFrame, RebuildFrameForAWiderBox)
{
    struct Case {
        const char* name;
        const arofcomplexM* relief;
        int newFrameNodes;
    };
    const Case cases[] = {
        {"hilly", &HillyRelief(), 4 + 5}, // relief nodes at 130, 110, 80, 50, 20
        {"flat", &FlatRelief(), 4 + 4},   // at 140, 120, 80, 50
    };
    for (const Case& c : cases) {
        LayerModel l = TopLayer(*c.relief);
        Model& m = l.m;
        const int oldFrameNodes = m.bodies[0][0].ring.Length() - HostHalfLength(m.bodies[0][0].ring);
        const int shift = c.newFrameNodes - oldFrameNodes;
        const Tnodes before = m.nodes;
        const TModelBox wider{0, 150, 0, 60};

        RebuildFrame(*c.relief, true, m.bodies, m.nodes, wider, m.box);
        MoveFrameNodes(m.nodes, wider);
        m.box = wider;

        // The frame nodes are those of the new box; the added nodes follow, shifted, fields kept.
        Tnodes frame;
        SPolygon host;
        ASSERT_EQ(BuildFramePolygon(frame, host, *c.relief, true, wider), c.newFrameNodes) << c.name;
        ASSERT_EQ(m.nodes.Length(), before.Length() + shift) << c.name;
        for (int v = 0; v < c.newFrameNodes; ++v) EXPECT_EQ(NodePoint(m.nodes, v), NodePoint(frame, v)) << c.name;
        EXPECT_EQ(NodePoint(m.nodes, l.left + shift), (complexM{0, 15})) << c.name;
        EXPECT_EQ(NodePoint(m.nodes, l.right + shift), (complexM{150, 15})) << c.name;
        EXPECT_EQ(NodePoint(m.nodes, l.inner + shift), NodePoint(before, l.inner)) << c.name;
        EXPECT_EQ(m.nodes[l.added + shift].FrameCode, fcSurface) << c.name;

        // The host ring: the new frame with the added side nodes after their neighbours.
        const arofintM& ring = m.bodies[0][0].ring;
        const int half = HostHalfLength(ring);
        EXPECT_EQ(ring.Length() - half, c.newFrameNodes) << c.name;
        EXPECT_EQ(ring[1], l.left + shift) << c.name;
        int at = 0;
        ASSERT_TRUE(FindInRing(2, ring, at));
        EXPECT_EQ(ring[at + 1], l.right + shift) << c.name;
        for (int v : ring) EXPECT_EQ(m.nodes[v].FrameCode, FrameSideCode(v, m.bodies, m.nodes, wider)) << c.name << v;

        ExpectLayerFollowsSurface(m, *c.relief, c.name);
    }
}

TEST(PolygonsFrame, RebuildFrameWithoutReliefLeavesTheModel)
{
    LayerModel l = TopLayer(HillyRelief());
    const AllSpolygon bodies = l.m.bodies;
    const int count = l.m.nodes.Length();
    RebuildFrame(HillyRelief(), false, l.m.bodies, l.m.nodes, {0, 150, 0, 60}, l.m.box);
    EXPECT_EQ(l.m.bodies, bodies);
    EXPECT_EQ(l.m.nodes.Length(), count);
}

TEST(PolygonsFrame, RebuildFrameKeepsALayerEndingOnAReliefNode)
{
    // A layer from the left side along the surface to the relief node at x 50; widening the box brings
    // relief points in on the right, so the relief nodes are numbered anew.
    Model m = FrameModel({0, 100, 0, 50}, HillyRelief(), true);
    InsertNodeOnEdge(0, 1, 0, 1, 1, m.nodes, m.bodies, {0, 15});
    const int left = m.nodes.High();
    m.nodes[left].FrameCode = FrameSideCode(left, m.bodies, m.nodes, m.box);
    ASSERT_EQ(m.nodes[5].x, 50.0);
    ASSERT_TRUE(AddSubPolygonInFrame(left, 5, 0, false, m.nodes, m.bodies, PointArray({{0, 15}, {30, 20}, {50, 6}}),
                                     m.box, DefaultProperties()));
    std::vector<complexM> shape;
    for (int v : m.bodies[0][1].ring) shape.push_back(NodePoint(m.nodes, v));

    const TModelBox wider{0, 150, 0, 50};
    RebuildFrame(HillyRelief(), true, m.bodies, m.nodes, wider, m.box);
    MoveFrameNodes(m.nodes, wider);
    std::vector<complexM> after;
    for (int v : m.bodies[0][1].ring) after.push_back(NodePoint(m.nodes, v));
    EXPECT_EQ(after, shape);
    EXPECT_EQ(ModelInvariantFault(m.bodies, m.nodes), "");
}
