// Coupling, uncoupling, insertion and deletion of nodes and sub-polygons in the polygon model.
#include "core/PolygonsTopology.h"

#include "core/PolygonsGeometry.h"
#include "core/PolygonsPick.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

bool RingHolds(const arofintM& ring, int v) { return std::find(ring.begin(), ring.end(), v) != ring.end(); }

// Nodes made with the frame: the nodes the host ring lists in its second half.
bool IsBuiltFrameNode(int v, const AllSpolygon& bodies)
{
    if (bodies.Length() == 0 || bodies[0].Length() == 0) return false;
    const arofintM& host = bodies[0][0].ring;
    for (int k = HostHalfLength(host); k < host.Length(); ++k)
        if (host[k] == v) return true;
    return false;
}

bool CloseToEnd(complexM p, complexM a, complexM b)
{
    return std::hypot(p.x - a.x, p.z - a.z) < 1e-4 || std::hypot(p.x - b.x, p.z - b.z) < 1e-4;
}

// True when the projection of P falls strictly between A and B.
bool WithinSegment(complexM p, complexM a, complexM b)
{
    const double along = (p.x - a.x) * (b.x - a.x) + (p.z - a.z) * (b.z - a.z);
    const double length2 = (b.x - a.x) * (b.x - a.x) + (b.z - a.z) * (b.z - a.z);
    return along > 0.0 && along < length2;
}

// Removes ring position k; when its two neighbours then meet holding the same node (k sat on a spike
// u, v, u), one of them goes as well.
void DropRingPosition(arofintM& ring, int k)
{
    ring.Delete(k);
    const int n = ring.Length();
    if (n > 1 && ring[(k + n - 1) % n] == ring[k % n]) ring.Delete(k % n);
}

TNode CopyOfNode(const TNode& source)
{
    TNode copy;
    CopyNodeFields(source, copy);
    return copy;
}

// Merges a into b across two bodies: a's places take b, a leaves, and one body absorbs the other.
void CoupleAcrossBodies(int a, int b, int bodyOfA, int bodyOfB, AllSpolygon& bodies, Tnodes& nodes)
{
    for (Polygon& sub : bodies[bodyOfA])
        for (int& v : sub.ring)
            if (v == a) v = b;
    RemoveNodeAndRenumber(a, bodies, nodes);

    int absorbing = bodyOfB, absorbed = bodyOfA;
    if (bodyOfA == 0) std::swap(absorbing, absorbed);
    for (const Polygon& sub : bodies[absorbed]) {
        Polygon copy;
        CopyPolygon(sub, copy);
        bodies[absorbing].push_back(copy);
    }
    bodies.Delete(absorbed);
    if (absorbed < absorbing) --absorbing;
    ClassifyBodyNodes(absorbing, bodies, nodes);
}

// Puts b in a's places of one body; a place that lands next to b is dropped and the scan starts over.
void CoupleWithinBody(int a, int b, int body, AllSpolygon& bodies, Tnodes& nodes)
{
    bool restart = true;
    while (restart) {
        restart = false;
        for (Polygon& sub : bodies[body]) {
            arofintM& ring = sub.ring;
            for (int k = 0; k < ring.Length() && !restart; ++k) {
                if (ring[k] != a) continue;
                ring[k] = b;
                const int n = ring.Length();
                if (ring[(k + n - 1) % n] == b && (k + n - 1) % n != k) restart = true;
                if (ring[(k + 1) % n] == b && (k + 1) % n != k) restart = true;
                if (restart) DropRingPosition(ring, k);
            }
            if (restart) break;
        }
    }
    RemoveNodeAndRenumber(a, bodies, nodes);
    ClassifyBodyNodes(body, bodies, nodes);
}

// The rings left after a deletion keep their orientation (removing the tip of a dart-shaped ring turns
// it over without any crossing), and their edges must not cross what the deleted node's class demands.
bool EdgesValidAfterDeletion(int deletedClass, int body, const AllSpolygon& bodies, const Tnodes& nodes)
{
    for (int s = body == 0 ? 1 : 0; s < bodies[body].Length(); ++s)
        if (NodeRingOrientation(bodies[body][s].ring, nodes)) return false;
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const arofintM& ring = bodies[body][s].ring;
        const int count = EdgePositionCount(bodies, body, s);
        for (int k = 0; k < count; ++k) {
            const int a = ring[k], b = ring[(k + 1) % count];
            if (deletedClass == 2) {
                if (NodeSegmentCrossesBody(a, b, body, nodes, bodies)) return false;
            } else {
                const complexM pa = NodePoint(nodes, a), pb = NodePoint(nodes, b);
                if (SegmentCrossesOtherBodies(pa, pb, body, nodes, bodies) ||
                    SegmentCrossesBodyEdges(pa, pb, body, nodes, bodies))
                    return false;
            }
        }
    }
    if (deletedClass != 2)
        for (int other = 0; other < bodies.Length(); ++other)
            if (BodiesNested(body, other, bodies, nodes)) return false;
    return true;
}

// A node of the host outline's first half that the frame does not need and no layer uses; -1 when none.
int PrunableHostNode(const AllSpolygon& bodies)
{
    const arofintM& host = bodies[0][0].ring;
    const int m = HostHalfLength(host);
    for (int k = 0; k < m; ++k) {
        const int v = host[k];
        bool needed = false;
        for (int j = m; j < host.Length() && !needed; ++j) needed = host[j] == v;
        for (int s = 1; s < bodies[0].Length() && !needed; ++s) needed = RingHolds(bodies[0][s].ring, v);
        if (!needed) return v;
    }
    return -1;
}

} // namespace

void RemoveNodeAndRenumber(int v, AllSpolygon& bodies, Tnodes& nodes)
{
    nodes.Delete(v);
    for (SPolygon& body : bodies)
        for (Polygon& sub : body)
            for (int& entry : sub.ring)
                if (entry > v) --entry;
}

bool CoupleNodes(int a, int b, int bodyOfA, int bodyOfB, AllSpolygon& bodies, Tnodes& nodes)
{
    if (a == b) return false;
    if (bodyOfA != bodyOfB) {
        if (nodes[a].NodeClass == 2 || nodes[b].NodeClass == 2) return false;
        CoupleAcrossBodies(a, b, bodyOfA, bodyOfB, bodies, nodes);
    } else {
        CoupleWithinBody(a, b, bodyOfA, bodies, nodes);
    }
    return true;
}

bool UncoupleNode(int v, int body, AllSpolygon& bodies, Tnodes& nodes)
{
    if (nodes[v].NodeClass == 0) return false;
    bool first = true;
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const int count = EdgePositionCount(bodies, body, s);
        for (int k = 0; k < count; ++k) {
            if (bodies[body][s].ring[k] != v) continue;
            if (first) {
                first = false;
                continue;
            }
            TNode copy = CopyOfNode(nodes[v]);
            copy.FrameCode = 0;
            nodes.push_back(copy);
            bodies[body][s].ring[k] = nodes.High();
        }
    }
    SplitConnectedGroups(body, bodies, nodes);
    PruneHostRing(bodies, nodes);
    return true;
}

bool UncoupleNodeFromSubPolygon(int v, int sub, int body, Tnodes& nodes, AllSpolygon& bodies)
{
    if (nodes[v].NodeClass == 0) return false;
    int lastPosition = -1;
    bool shared = false;
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const int count = EdgePositionCount(bodies, body, s);
        for (int k = 0; k < count; ++k) {
            if (bodies[body][s].ring[k] != v) continue;
            if (s == sub) lastPosition = k;
            else shared = true;
        }
    }
    if (!shared || lastPosition < 0) return false;
    nodes.push_back(CopyOfNode(nodes[v]));
    bodies[body][sub].ring[lastPosition] = nodes.High();
    return true;
}

bool UncoupleSubPolygon(int sub, int body, AllSpolygon& bodies, Tnodes& nodes)
{
    if (body == 0 && sub == 0) return true;
    for (int k = 0; k < bodies[body][sub].ring.Length(); ++k)
        UncoupleNodeFromSubPolygon(bodies[body][sub].ring[k], sub, body, nodes, bodies);
    SplitConnectedGroups(body, bodies, nodes);
    PruneHostRing(bodies, nodes);
    return true;
}

bool InsertNodeOnEdge(int a, int b, int body, double sx, double sz, Tnodes& nodes, AllSpolygon& bodies,
                      complexM p)
{
    const complexM pa = NodePoint(nodes, a), pb = NodePoint(nodes, b);
    if (CloseToEnd(p, pa, pb)) return false;

    // Where the edge sits in each ring (first occurrence by the edge rule), -1 when absent.
    std::vector<int> at(static_cast<std::size_t>(bodies[body].Length()), -1);
    bool any = false;
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const arofintM& ring = bodies[body][s].ring;
        const int count = EdgePositionCount(bodies, body, s);
        for (int k = 0; k < count && at[s] < 0; ++k) {
            const int c = ring[k], d = ring[(k + 1) % count];
            if ((c == a && d == b) || (c == b && d == a)) at[s] = k;
        }
        any = any || at[s] >= 0;
    }
    if (!any) return false;

    // Snapping goes onto the edge's line: a point past either end would fold the ring back on itself.
    SnapToSegment(p, pa, pb, sx, sz);
    if (CloseToEnd(p, pa, pb) || !WithinSegment(p, pa, pb)) return false;
    TNode node;
    node.x = p.x;
    node.z = p.z;
    nodes.push_back(node);
    const SPolygon before = bodies[body];
    for (int s = 0; s < bodies[body].Length(); ++s)
        if (at[s] >= 0) bodies[body][s].ring.Insert(at[s] + 1, nodes.High());
    // On a sliver of next to no area the new node, on the edge but for rounding, can turn the ring over.
    for (int s = 0; s < bodies[body].Length(); ++s)
        if (at[s] >= 0 && !(body == 0 && s == 0) && NodeRingOrientation(bodies[body][s].ring, nodes)) {
            bodies[body] = before;
            nodes.Delete(nodes.High());
            return false;
        }
    ClassifyBodyNodes(body, bodies, nodes);
    return true;
}

bool DeleteNode(int v, int body, AllSpolygon& bodies, Tnodes& nodes)
{
    if (IsBuiltFrameNode(v, bodies)) return false;
    const int deletedClass = nodes[v].NodeClass;
    for (Polygon& sub : bodies[body]) {
        arofintM& ring = sub.ring;
        int k = 0;
        while (FindInRing(v, ring, k)) {
            DropRingPosition(ring, k);
            if (ring.Length() < 3) return false;
        }
    }
    RemoveNodeAndRenumber(v, bodies, nodes);
    if (!EdgesValidAfterDeletion(deletedClass, body, bodies, nodes)) return false;
    SplitConnectedGroups(body, bodies, nodes);
    return true;
}

bool DeleteSubPolygon(int sub, int body, AllSpolygon& bodies, Tnodes& nodes)
{
    if (body == 0 && sub == 0) return true;

    // Nodes of the sub-polygon that no other ring of the body holds.
    std::vector<int> own;
    for (int v : bodies[body][sub].ring) {
        if (std::find(own.begin(), own.end(), v) != own.end()) continue;
        bool elsewhere = false;
        for (int s = 0; s < bodies[body].Length() && !elsewhere; ++s) {
            if (s == sub) continue;
            const arofintM& ring = bodies[body][s].ring;
            const int count = EdgePositionCount(bodies, body, s);
            for (int k = 0; k < count && !elsewhere; ++k) elsewhere = ring[k] == v;
        }
        if (!elsewhere) own.push_back(v);
    }

    bodies[body].Delete(sub);
    std::sort(own.begin(), own.end(), std::greater<int>());
    for (int v : own) RemoveNodeAndRenumber(v, bodies, nodes);
    for (int b = bodies.High(); b >= 0; --b)
        if (bodies[b].Length() == 0) bodies.Delete(b);

    SplitConnectedGroups(body, bodies, nodes);
    PruneHostRing(bodies, nodes);
    return true;
}

void PruneHostRing(AllSpolygon& bodies, Tnodes& nodes)
{
    if (bodies.Length() == 0 || bodies[0].Length() == 0) return;
    bool pruned = false;
    // Every round removes one node of the host ring, so the ring's length bounds the rounds.
    for (int round = bodies[0][0].ring.Length(); round > 0; --round) {
        const int v = PrunableHostNode(bodies);
        if (v < 0) break;
        DeleteNode(v, 0, bodies, nodes);
        pruned = true;
    }
    // A deletion whose checks failed skipped the regrouping; the classes must still follow the rings.
    if (pruned) ClassifyBodyNodes(0, bodies, nodes);
}
