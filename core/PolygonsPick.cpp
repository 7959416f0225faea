// Picks under the cursor, node classes and connected groups of the polygon model.
#include "core/PolygonsPick.h"

#include "core/PolygonsGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double ScreenDistance(complexM u, complexM v, double sx, double sz)
{
    return std::sqrt(sx * sx * (u.x - v.x) * (u.x - v.x) + sz * sz * (u.z - v.z) * (u.z - v.z));
}

// Shared scan of NearestEdge and NearestOpenEdge: the nearest edge (strictly nearer replaces), then the
// end node within `radius` pixels and the end-node flag.
int NearestEdgeScan(complexM p, const Tnodes& nodes, const AllSpolygon& bodies, double sx, double sz,
                    bool openOnly, double radius, EdgePick& pick)
{
    pick.pixelDistance = 1e30;
    pick.onEndNode = false;
    bool taken = false;
    for (int body = 0; body < bodies.Length(); ++body)
        for (int s = 0; s < bodies[body].Length(); ++s) {
            const arofintM& ring = bodies[body][s].ring;
            const int count = EdgePositionCount(bodies, body, s);
            for (int k = 0; k < count; ++k) {
                const int a = ring[k], b = ring[(k + 1) % count];
                if (openOnly && (nodes[a].NodeClass >= 2 || nodes[b].NodeClass >= 2)) continue;
                const double d = SegmentPixelDistance(sx, sz, NodePoint(nodes, a), NodePoint(nodes, b), p);
                if (d < pick.pixelDistance) {
                    pick = EdgePick{body, a, b, d, false};
                    taken = true;
                }
            }
        }
    if (!taken) return -1;

    const complexM pa = NodePoint(nodes, pick.a), pb = NodePoint(nodes, pick.b);
    const double e = ScreenDistance(pa, pb, sx, sz);
    const double da = ScreenDistance(p, pa, sx, sz), db = ScreenDistance(p, pb, sx, sz);
    const double nearest = std::min(da, db);
    int result = -1;
    if (db >= da)
        result = da < radius ? pick.a : -1;
    else
        result = db < radius ? pick.b : -1;
    const bool onEnd = nearest < radius && nearest / e < 0.1;
    if (openOnly) {
        pick.onEndNode = onEnd;
        if (onEnd) pick.pixelDistance = nearest;
    } else {
        pick.onEndNode = onEnd || e == 0.0;
    }
    return result;
}

// Undirected edges at one node with a shared mark; small, so a linear list does.
struct EdgeAtNode {
    int other;
    bool shared;
};

} // namespace

SubPolygonPick FindSubPolygonAt(const AllSpolygon& bodies, complexM p, const Tnodes& nodes)
{
    for (int body = 0; body < bodies.Length(); ++body)
        for (int s = 0; s < bodies[body].Length(); ++s) {
            if (body == 0 && s == 0) continue;
            if (PointInNodeRing(p, bodies[body][s].ring, nodes)) return {body, s};
        }
    return {};
}

NodePick NearestNode(complexM p, const Tnodes& nodes, double sx, double sz)
{
    NodePick best;
    for (int k = 0; k < nodes.Length(); ++k) {
        const complexM q = NodePoint(nodes, k);
        const double d = ScreenDistance(q, p, sx, sz);
        if (k == 0 || d < best.pixelDistance) best = {k, ScreenDistance(q, p, 1.0, 1.0), d};
    }
    return best;
}

int NearestEdge(complexM p, const Tnodes& nodes, const AllSpolygon& bodies, double sx, double sz, EdgePick& pick)
{
    return NearestEdgeScan(p, nodes, bodies, sx, sz, false, 2.0, pick);
}

int NearestOpenEdge(complexM p, const Tnodes& nodes, const AllSpolygon& bodies, double sx, double sz,
                    EdgePick& pick)
{
    return NearestEdgeScan(p, nodes, bodies, sx, sz, true, 7.0, pick);
}

int ClassifyNode(int v, int body, const AllSpolygon& bodies, const Tnodes& nodes)
{
    (void)nodes;
    std::vector<EdgeAtNode> edges;
    auto record = [&](int other) {
        for (EdgeAtNode& e : edges)
            if (e.other == other) {
                e.shared = true;
                return;
            }
        edges.push_back({other, false});
    };
    int positions = 0;
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const arofintM& ring = bodies[body][s].ring;
        const int count = EdgePositionCount(bodies, body, s);
        for (int k = 0; k < count; ++k) {
            const int a = ring[k], b = ring[(k + 1) % count];
            if (a == v) ++positions;
            if (a == v) record(b);
            else if (b == v) record(a);
        }
    }
    const bool allShared = std::all_of(edges.begin(), edges.end(), [](const EdgeAtNode& e) { return e.shared; });
    if (allShared) return 2;
    return positions > 1 ? 1 : 0;
}

void ClassifyBodyNodes(int body, const AllSpolygon& bodies, Tnodes& nodes)
{
    for (const Polygon& sub : bodies[body])
        for (int v : sub.ring) nodes[v].NodeClass = ClassifyNode(v, body, bodies, nodes);
}

void SplitConnectedGroups(int body, AllSpolygon& bodies, Tnodes& nodes)
{
    if (body < 0 || body >= bodies.Length()) return;
    const int n = bodies[body].Length();

    std::vector<int> label(static_cast<std::size_t>(n), -1);
    int groups = 0;
    for (int first = 0; first < n; ++first) {
        if (label[first] >= 0) continue;
        std::vector<int> stack{first};
        label[first] = groups;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            for (int j = 0; j < n; ++j)
                if (label[j] < 0 && SubPolygonsShareNode(i, j, body, bodies)) {
                    label[j] = groups;
                    stack.push_back(j);
                }
        }
        ++groups;
    }

    const int firstNew = bodies.Length();
    if (groups > 1) {
        for (int g = 1; g < groups; ++g) {
            SPolygon group;
            for (int i = 0; i < n; ++i)
                if (label[i] == g) group.push_back(bodies[body][i]);
            bodies.push_back(group);
        }
        SPolygon kept;
        for (int i = 0; i < n; ++i)
            if (label[i] == 0) kept.push_back(bodies[body][i]);
        bodies[body] = kept;
    }

    auto renew = [&](int b) {
        for (const Polygon& sub : bodies[b])
            for (int v : sub.ring) {
                nodes[v].NodeClass = ClassifyNode(v, b, bodies, nodes);
                if (b != 0) nodes[v].FrameCode = 0;
            }
    };
    renew(body);
    for (int b = firstNew; b < bodies.Length(); ++b) renew(b);
}
