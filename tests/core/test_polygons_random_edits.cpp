// A long seeded sequence of random edits driven the way the model chart drives them: a working copy
// before each edit, picks through the pick operations and screen radii, the chart's frame-code rules,
// the move check before coupling and after moves, and a restore whenever an operation reports false.
// The model's invariants must hold after every edit.
#include "PolygonsFixtures.h"
#include "core/PolygonsChecks.h"
#include "core/PolygonsGeometry.h"
#include "core/PolygonsInvariants.h"
#include "core/PolygonsTopology.h"
#include "core/PolyModelBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <cstdio>
#include <cstdlib>

using namespace polytest;

namespace {

constexpr double PixelsX = 4.0; // screen scales of the model chart
constexpr double PixelsZ = 6.0;

class EditDriver {
public:
    EditDriver(unsigned seed, const arofcomplexM& relief, bool hasRelief)
        : FRandom(seed), FRelief(relief), FHasRelief(hasRelief)
    {
        FModel = FrameModel({0, 100, 0, 50}, relief, hasRelief);
    }

    const Model& model() const { return FModel; }
    const std::map<std::string, int>& stats() const { return FStats; }

    // One random edit; returns the checker's verdict afterwards ("" when sound).
    std::string Step()
    {
        FWorking = FModel;
        static const struct {
            int weight;
            bool (EditDriver::*run)();
            const char* name;
        } ops[] = {
            {12, &EditDriver::Create, "create"},
            {18, &EditDriver::AddSub, "add sub-polygon"},
            {8, &EditDriver::Divide, "divide"},
            {10, &EditDriver::InsertNode, "insert node"},
            {6, &EditDriver::DeleteNodeOp, "delete node"},
            {8, &EditDriver::Couple, "couple"},
            {4, &EditDriver::UncoupleNodeOp, "uncouple node"},
            {3, &EditDriver::UncoupleSub, "uncouple sub-polygon"},
            {3, &EditDriver::DeleteSub, "delete sub-polygon"},
            {10, &EditDriver::MoveNode, "move node"},
            {5, &EditDriver::MoveBodyOp, "move polygon"},
            {4, &EditDriver::MoveSubOp, "move sub-polygon"},
            {2, &EditDriver::FixNode, "fix node"},
            {2, &EditDriver::ChangeBox, "model box"},
        };
        int total = 0;
        for (const auto& op : ops) total += op.weight;
        int pick = Int(0, total - 1);
        for (const auto& op : ops) {
            if (pick >= op.weight) {
                pick -= op.weight;
                continue;
            }
            FLastOp = op.name;
            const bool done = (this->*op.run)();
            ++FStats[std::string(op.name) + (done ? " done" : " refused")];
            if (!done) Restore();
            break;
        }
        const std::string fault = ModelInvariantFault(FModel.bodies, FModel.nodes);
        return fault.empty() ? fault : FLastOp + ": " + fault;
    }

    // Set when AddSubPolygon refused without touching the model although the working copy was current.
    std::string WalkStopFault() const { return FWalkStopFault; }

private:
    // ---- randomness ----
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRandom); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(FRandom); }
    bool Chance(double p) { return Real(0, 1) < p; }
    complexM Inside() { return {Real(2, 98), Real(2, 48)}; }

    void Restore()
    {
        if (FModel.nodes.Length() > 0) FModel = FWorking;
    }

    // A random sub-polygon, the host included or not; false when there is none.
    bool RandomSub(bool withHost, int& body, int& sub)
    {
        std::vector<std::pair<int, int>> all;
        for (int b = 0; b < FModel.bodies.Length(); ++b)
            for (int s = 0; s < FModel.bodies[b].Length(); ++s)
                if (withHost || b != 0 || s != 0) all.push_back({b, s});
        if (all.empty()) return false;
        const auto& chosen = all[static_cast<size_t>(Int(0, static_cast<int>(all.size()) - 1))];
        body = chosen.first;
        sub = chosen.second;
        return true;
    }

    // A point on or near a random edge of the sub-polygon (edge rule), sometimes on a node.
    complexM NearBoundary(int body, int sub)
    {
        const arofintM& ring = FModel.bodies[body][sub].ring;
        const int count = EdgePositionCount(FModel.bodies, body, sub);
        const int k = Int(0, count - 1);
        const complexM a = NodePoint(FModel.nodes, ring[k]), b = NodePoint(FModel.nodes, ring[(k + 1) % count]);
        const double t = Chance(0.3) ? 0.0 : Real(0.05, 0.95);
        return {a.x + t * (b.x - a.x) + Real(-0.1, 0.1), a.z + t * (b.z - a.z) + Real(-0.1, 0.1)};
    }

    complexM NearNode(int v) { return {FModel.nodes[v].x + Real(-0.2, 0.2), FModel.nodes[v].z + Real(-0.2, 0.2)}; }

    // The node within `radius` pixels of P, or -1.
    int NodeWithin(complexM p, double radius)
    {
        const NodePick near = NearestNode(p, FModel.nodes, PixelsX, PixelsZ);
        return near.pixelDistance <= radius ? near.node : -1;
    }

    // The chart's pick of a node on an edge: an end node, or a new node on an edge within `radius`.
    int PickOnEdge(complexM p, double radius, bool openOnly, int requiredBody, int& body)
    {
        EdgePick edge;
        const int node = openOnly ? NearestOpenEdge(p, FModel.nodes, FModel.bodies, PixelsX, PixelsZ, edge)
                                  : NearestEdge(p, FModel.nodes, FModel.bodies, PixelsX, PixelsZ, edge);
        if (edge.a < 0 || (requiredBody >= 0 && edge.body != requiredBody)) return -1;
        body = edge.body;
        if (edge.onEndNode && node >= 0) return node;
        if (edge.pixelDistance >= radius) return -1;
        if (!InsertNodeOnEdge(edge.a, edge.b, edge.body, PixelsX, PixelsZ, FModel.nodes, FModel.bodies, p)) return -1;
        return FModel.nodes.High();
    }

    // ---- edits ----

    bool Create()
    {
        const complexM centre = Inside();
        const int corners = Int(3, 5);
        const double radius = Real(2, 8);
        arofcomplexM points;
        for (int k = 0; k < corners; ++k) {
            const double angle = (k + Real(-0.3, 0.3)) * 2 * 3.141592653589793 / corners;
            points.push_back({centre.x + radius * std::cos(angle), centre.z + radius * std::sin(angle)});
            if (!CheckNewPolygon(points, FModel.bodies, FModel.nodes, false)) points.Delete(points.High());
        }
        if (Chance(0.5)) std::reverse(points.begin(), points.end());
        if (!CheckNewPolygon(points, FModel.bodies, FModel.nodes, true)) return false;
        return AddPolygon(points, FModel.bodies, FModel.nodes, DefaultProperties());
    }

    bool AddSub()
    {
        int body = 0, sub = 0;
        if (!RandomSub(true, body, sub)) return false;
        int pickedBody = -1;
        const int a = PickOnEdge(NearBoundary(body, sub), 5, true, -1, pickedBody);
        if (a < 0) return false;
        body = pickedBody;
        arofcomplexM points;
        points.push_back(NodePoint(FModel.nodes, a));
        // A few points out from the start, each kept only when acceptable.
        complexM at = points[0];
        for (int k = Int(0, 3); k > 0; --k) {
            at = {std::clamp(at.x + Real(-15, 15), 1.0, 99.0), std::clamp(at.z + Real(-10, 10), 1.0, 49.0)};
            points.push_back(at);
            if (!CheckNewPolygon(points, FModel.bodies, FModel.nodes, false)) points.Delete(points.High());
        }
        // The end: another place on the same body's outline.
        int endSub = 0, endBody = body;
        int tries = 0;
        do {
            RandomSub(true, endBody, endSub);
        } while (endBody != body && ++tries < 20);
        if (endBody != body) return false;
        int b = PickOnEdge(NearBoundary(body, endSub), 3, true, body, pickedBody);
        if (b < 0) return false;
        points.push_back(NodePoint(FModel.nodes, b));
        if (!CheckNewPolygon(points, FModel.bodies, FModel.nodes, false)) return false;
        return ApplyAddSub(a, b, body, points);
    }

    // The chart's wrapper: on the host, variant 0 first, and variant 1 when it fails or is declined.
    bool ApplyAddSub(int a, int b, int body, const arofcomplexM& points)
    {
        const Model beforeCall = FModel;
        if (body != 0) return CheckedAddSub(a, b, body, false, points, beforeCall);
        if (CheckedAddSub(a, b, 0, false, points, beforeCall) && Chance(0.7)) return true;
        FModel = beforeCall;
        return CheckedAddSub(a, b, 0, true, points, beforeCall);
    }

    bool CheckedAddSub(int a, int b, int body, bool variant, const arofcomplexM& points, const Model& beforeCall)
    {
        const int subs = FModel.bodies[body].Length();
        const bool done = body == 0 ? AddSubPolygonInFrame(a, b, 0, variant, FModel.nodes, FModel.bodies, points,
                                                           FModel.box, DefaultProperties())
                                    : AddSubPolygon(a, b, body, variant, FModel.nodes, FModel.bodies, points, DefaultProperties());
        if (!done && FModel.bodies[body].Length() == subs) {
            // The walk found no way (or stopped after one turn): nothing may have changed.
            ++FStats["add sub-polygon refused unchanged"];
            if (!(FModel.bodies == beforeCall.bodies) || FModel.nodes.Length() != beforeCall.nodes.Length())
                FWalkStopFault = "AddSubPolygon refused after changing the model";
        }
        return done;
    }

    bool Divide()
    {
        int body = 0, sub = 0;
        if (!RandomSub(false, body, sub)) return false;
        int pickedBody = -1;
        const int a = PickOnEdge(NearBoundary(body, sub), 3, false, body, pickedBody);
        if (a < 0) return false;
        const int b = PickOnEdge(NearBoundary(body, sub), 3, false, body, pickedBody);
        if (b < 0) return false;
        int shape = 0;
        if (!DividePolygon(a, b, body, shape, FModel.nodes, FModel.bodies)) return false;
        for (int v : {a, b}) FModel.nodes[v].FrameCode = FrameSideCode(v, FModel.bodies, FModel.nodes, FModel.box);
        return true;
    }

    bool InsertNode()
    {
        int body = 0, sub = 0;
        if (!RandomSub(true, body, sub)) return false;
        const complexM p = NearBoundary(body, sub);
        EdgePick edge;
        NearestEdge(p, FModel.nodes, FModel.bodies, PixelsX, PixelsZ, edge);
        if (edge.onEndNode || edge.pixelDistance >= 4) return false;
        const bool done =
            InsertNodeOnEdge(edge.a, edge.b, edge.body, PixelsX, PixelsZ, FModel.nodes, FModel.bodies, p);
        const int last = FModel.nodes.High();
        FModel.nodes[last].FrameCode = FrameSideCode(last, FModel.bodies, FModel.nodes, FModel.box);
        return done;
    }

    int PickedNode(double radius)
    {
        const int v = Int(0, FModel.nodes.High());
        return NodeWithin(NearNode(v), radius);
    }

    bool DeleteNodeOp()
    {
        const int v = PickedNode(7);
        int body = 0;
        if (v < 0 || !FindBodyOfNode(v, body, FModel.bodies)) return false;
        return DeleteNode(v, body, FModel.bodies, FModel.nodes);
    }

    bool Couple()
    {
        int a = PickedNode(5);
        if (a < 0 || FModel.nodes[a].FixedFlag == 1 || FModel.nodes[a].FrameCode != 0) return false;
        // The target: another node nearby or anywhere, or a place on an edge.
        int b = -1;
        complexM target = Chance(0.8) ? NearNode(Int(0, FModel.nodes.High())) : Inside();
        if (Chance(0.5)) {
            // a node close to a in the model
            int best = -1;
            double bestDistance = 1e30;
            for (int v = 0; v < FModel.nodes.Length(); ++v) {
                const double d = std::hypot(FModel.nodes[v].x - FModel.nodes[a].x, FModel.nodes[v].z - FModel.nodes[a].z);
                if (v != a && d < bestDistance && Chance(0.7)) {
                    best = v;
                    bestDistance = d;
                }
            }
            if (best >= 0) target = NearNode(best);
        }
        b = NodeWithin(target, 3);
        return ApplyCouple(a, b, target);
    }

    bool ApplyCouple(int a, int b, complexM p)
    {
        if (b < 0) {
            p.x = std::clamp(p.x, FModel.box.XMin, FModel.box.XMax);
            p.z = std::clamp(p.z, FModel.box.ZMin, FModel.box.ZMax);
            EdgePick edge;
            const int end = NearestEdge(p, FModel.nodes, FModel.bodies, PixelsX, PixelsZ, edge);
            if (end >= 0 || edge.pixelDistance >= 3) return false;
            if (!InsertNodeOnEdge(edge.a, edge.b, edge.body, PixelsX, PixelsZ, FModel.nodes, FModel.bodies, p))
                return false;
            b = FModel.nodes.High();
        }
        int bodyA = 0, bodyB = 0;
        if (!FindBodyOfNode(a, bodyA, FModel.bodies) || !FindBodyOfNode(b, bodyB, FModel.bodies)) return false;
        const TNode saved = FModel.nodes[a];
        FModel.nodes[a].x = FModel.nodes[b].x;
        FModel.nodes[a].z = FModel.nodes[b].z;
        if (!CheckMovedNodes(Ring({a}), bodyA, FModel.bodies, mcFull, FModel.nodes) ||
            !CoupleNodes(a, b, bodyA, bodyB, FModel.bodies, FModel.nodes)) {
            FModel.nodes[a].x = saved.x;
            FModel.nodes[a].z = saved.z;
            return false;
        }
        if (a < b) --b;
        FModel.nodes[b].FrameCode = FrameSideCode(b, FModel.bodies, FModel.nodes, FModel.box);
        return true;
    }

    bool UncoupleNodeOp()
    {
        const int v = PickedNode(7);
        int body = 0;
        if (v < 0 || !FindBodyOfNode(v, body, FModel.bodies)) return false;
        return UncoupleNode(v, body, FModel.bodies, FModel.nodes);
    }

    bool SubUnderCursor(int& body, int& sub)
    {
        int b = 0, s = 0;
        if (!RandomSub(false, b, s)) return false;
        // A point inside the chosen sub-polygon: the centroid of one of its corners, if inside.
        const arofintM& ring = FModel.bodies[b][s].ring;
        const int k = Int(0, ring.High());
        const complexM p0 = NodePoint(FModel.nodes, ring[k]);
        const complexM p1 = NodePoint(FModel.nodes, ring[(k + 1) % ring.Length()]);
        const complexM p2 = NodePoint(FModel.nodes, ring[(k + 2) % ring.Length()]);
        const SubPolygonPick at = FindSubPolygonAt(FModel.bodies, {(p0.x + p1.x + p2.x) / 3, (p0.z + p1.z + p2.z) / 3},
                                                   FModel.nodes);
        body = at.body;
        sub = at.sub;
        return body >= 0;
    }

    bool UncoupleSub()
    {
        int body = 0, sub = 0;
        if (!SubUnderCursor(body, sub)) return false;
        return UncoupleSubPolygon(sub, body, FModel.bodies, FModel.nodes);
    }

    bool DeleteSub()
    {
        int body = 0, sub = 0;
        if (!SubUnderCursor(body, sub)) return false;
        return DeleteSubPolygon(sub, body, FModel.bodies, FModel.nodes);
    }

    bool MoveNode()
    {
        const int v = PickedNode(7);
        if (v < 0 || FModel.nodes[v].FixedFlag == 1) return false;
        double x = FModel.nodes[v].x + Real(-6, 6), z = FModel.nodes[v].z + Real(-4, 4);
        const bool frame = FModel.nodes[v].FrameCode != 0;
        if (frame && !ConstrainFrameNodeMove(v, FRelief, FHasRelief, FModel.nodes, FModel.bodies, z, x, FModel.box))
            return false;
        int body = 0;
        if (!FindBodyOfNode(v, body, FModel.bodies)) return false;
        FModel.nodes[v].x = x;
        FModel.nodes[v].z = z;
        if (FModel.nodes[v].FrameCode == fcSurface) AdjustSurfaceNode(v, FHasRelief, FModel.bodies, FModel.nodes);
        return CheckMovedNodes(Ring({v}), body, FModel.bodies, mcFull, FModel.nodes);
    }

    bool MoveNodes(const arofintM& list, int body, int mode)
    {
        const double dx = Real(-5, 5), dz = Real(-3, 3);
        for (int v : list) {
            FModel.nodes[v].x += dx;
            FModel.nodes[v].z += dz;
        }
        return CheckMovedNodes(list, body, FModel.bodies, mode, FModel.nodes);
    }

    bool MoveBodyOp()
    {
        int body = 0, sub = 0;
        if (!SubUnderCursor(body, sub)) return false;
        arofintM list;
        bool free = false;
        CollectBodyNodes(true, body, FModel.bodies, list, free, FModel.nodes);
        return MoveNodes(list, body, free ? mcOtherBodies : mcFull);
    }

    bool MoveSubOp()
    {
        int body = 0, sub = 0;
        if (!SubUnderCursor(body, sub)) return false;
        arofintM list;
        bool free = false;
        CollectSubPolygonNodes(true, body, sub, list, free, FModel.nodes, FModel.bodies);
        return MoveNodes(list, body, mcFull);
    }

    bool FixNode()
    {
        const int v = PickedNode(7);
        if (v < 0 || FModel.nodes[v].FrameCode != 0) return false;
        FModel.nodes[v].FixedFlag = FModel.nodes[v].FixedFlag == 1 ? 0 : 1;
        return true;
    }

    // The chart's model box change: the box never cuts into the free nodes; with a relief the frame is
    // rebuilt, then the side and bottom nodes move onto the box. Moving the frame can fold a layer that
    // hangs on a frame corner, so the change ends with the move check the chart runs after other moves.
    bool ChangeBox()
    {
        const NodesExtent free = FreeNodesExtent(FModel.nodes);
        TModelBox box = FModel.box;
        box.XMin = std::min(box.XMin + Real(-10, 5), free.minX);
        box.XMax = std::max(box.XMax + Real(-5, 10), free.maxX);
        box.ZMax = std::max(box.ZMax + Real(-5, 10), free.maxZ);
        if (box.XMax - box.XMin < 20 || box.ZMax < 10) return false;
        if (FHasRelief) RebuildFrame(FRelief, FHasRelief, FModel.bodies, FModel.nodes, box, FModel.box);
        MoveFrameNodes(FModel.nodes, box);
        FModel.box = box;
        arofintM frame;
        for (int v = 0; v < FModel.nodes.Length(); ++v)
            if (FModel.nodes[v].FrameCode != fcFree && FModel.nodes[v].FrameCode != fcSurface) frame.push_back(v);
        return CheckMovedNodes(frame, 0, FModel.bodies, mcFull, FModel.nodes);
    }

    std::mt19937 FRandom;
    arofcomplexM FRelief;
    bool FHasRelief;
    Model FModel;
    Model FWorking;
    std::string FLastOp;
    std::string FWalkStopFault;
    std::map<std::string, int> FStats;
};

// The model as its block would store it comes back from the block as it was: the reader refuses nothing
// the edits make, and its fresh node classes are the ones the edits kept.
std::string BlockRoundTripFault(const Model& m)
{
    TPolygonModel written;
    written.Bodies = m.bodies;
    written.Nodes = m.nodes;
    written.ModelBox = m.box;
    TPolygonModel read;
    if (ReadModelBlock(ModelBlockText(written), read) != TModelBlockResult::Loaded) return "block refused";
    if (read.Nodes.Length() != m.nodes.Length() || read.Bodies.Length() != m.bodies.Length())
        return "block read back with other counts";
    for (int b = 0; b < m.bodies.Length(); ++b) {
        if (read.Bodies[b].Length() != m.bodies[b].Length()) return "block read back with other bodies";
        for (int s = 0; s < m.bodies[b].Length(); ++s)
            if (read.Bodies[b][s].ring != m.bodies[b][s].ring) return "block read back with other rings";
    }
    for (int v = 0; v < m.nodes.Length(); ++v) {
        const TNode &a = m.nodes[v], &r = read.Nodes[v];
        if (a.NodeClass != r.NodeClass || a.FrameCode != r.FrameCode || a.FixedFlag != r.FixedFlag)
            return "node " + std::to_string(v) + " read back with other fields";
        if (std::fabs(a.x - r.x) > 1e-12 * (1 + std::fabs(a.x)) || std::fabs(a.z - r.z) > 1e-12 * (1 + std::fabs(a.z)))
            return "node " + std::to_string(v) + " read back elsewhere";
    }
    return {};
}

void RunSequence(unsigned seed, const arofcomplexM& relief, bool hasRelief, int steps)
{
    EditDriver driver(seed, relief, hasRelief);
    for (int step = 0; step < steps; ++step) {
        const std::string fault = driver.Step();
        ASSERT_EQ(fault, "") << "seed " << seed << " step " << step;
        ASSERT_EQ(driver.WalkStopFault(), "") << "seed " << seed << " step " << step;
        if (step % 20 == 0 || step + 1 == steps) {
            ASSERT_EQ(BlockRoundTripFault(driver.model()), "") << "seed " << seed << " step " << step;
        }
    }
    // The sequence must have exercised the edits, not only refused them.
    const auto& stats = driver.stats();
    if (getenv("POLY_STATS")) {
        for (const auto& [name, count] : stats) fprintf(stderr, "seed %u %-32s %d\n", seed, name.c_str(), count);
        fprintf(stderr, "seed %u ends with %d bodies, %d nodes\n", seed, driver.model().bodies.Length(),
                driver.model().nodes.Length());
    }
    for (const char* op : {"create done", "add sub-polygon done", "divide done", "insert node done",
                           "delete node done", "couple done", "uncouple node done", "delete sub-polygon done",
                           "move node done", "move polygon done", "move sub-polygon done",
                           "add sub-polygon refused unchanged"})
        EXPECT_GT(stats.count(op) ? stats.at(op) : 0, 0) << op << " (seed " << seed << ")";
}

} // namespace

// POLY_SEEDS=n runs n further seeds of each kind (a longer hunt by hand).
int ExtraSeeds() { return getenv("POLY_SEEDS") ? atoi(getenv("POLY_SEEDS")) : 0; }

// Each step copies the whole model (the working copy) and checks it whole; the unoptimised sanitizer
// build runs a shorter sequence per seed.
#ifdef NDEBUG
constexpr int Steps = 2500;
#else
constexpr int Steps = 600;
#endif

TEST(PolygonsRandomEdits, FlatModelKeepsItsInvariants)
{
    for (unsigned seed : {1u, 2u, 3u}) RunSequence(seed, arofcomplexM(), false, Steps);
    for (int k = 0; k < ExtraSeeds(); ++k) RunSequence(100 + k, arofcomplexM(), false, Steps);
}

TEST(PolygonsRandomEdits, ModelUnderAHillyReliefKeepsItsInvariants)
{
    const arofcomplexM relief = PointArray({{-60, 3}, {-20, 5}, {10, 0}, {35, 6}, {60, 2}, {85, 7}, {120, 1}, {180, 4}});
    for (unsigned seed : {11u, 12u, 13u}) RunSequence(seed, relief, true, Steps);
    for (int k = 0; k < ExtraSeeds(); ++k) RunSequence(1000 + k, relief, true, Steps);
}
