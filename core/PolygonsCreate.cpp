// Creating bodies and sub-polygons and dividing sub-polygons.
#include "core/PolygonsCreate.h"

#include "core/PolygonsGeometry.h"
#include "core/PolygonsPick.h"
#include "core/Supermath2d.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

int AppendNode(Tnodes& nodes, complexM p)
{
    TNode node;
    node.x = p.x;
    node.z = p.z;
    nodes.push_back(node);
    return nodes.High();
}

complexM PointMinus(complexM u, complexM v) { return {u.x - v.x, u.z - v.z}; }

void ReversePoints(arofcomplexM& points)
{
    for (int k = 0, j = points.High(); k < j; ++k, --j) SwapPoints(points[k], points[j]);
}

int EdgePositionsOfBody(int body, const AllSpolygon& bodies)
{
    int total = 0;
    for (int s = 0; s < bodies[body].Length(); ++s) total += EdgePositionCount(bodies, body, s);
    return total;
}

// Counter-clockwise angle in degrees (x-z frame), 0 <= angle < 360, from u to v; 180 for a zero vector.
double CounterClockwiseAngle(complexM u, complexM v)
{
    if ((u.x == 0.0 && u.z == 0.0) || (v.x == 0.0 && v.z == 0.0)) return 180.0;
    const double degrees = std::atan2(u.x * v.z - u.z * v.x, u.x * v.x + u.z * v.z) * 180.0 / std::numbers::pi;
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

// Walks the body's outline edges from a to b; `path` gets the nodes between them. The new sub-polygon
// lies on the walk's right (outside a counter-clockwise body, inside the clockwise host outline), so at
// every node the walk takes the open continuation turning furthest right: the smallest counter-clockwise
// angle from the direction it came from (the polyline's first point at the start). An unsigned angle
// would take the sharpest turn either way and run into a body's inner chords at convex junctions.
// False when no continuation exists or b is not reached after one step per edge position of the body.
bool WalkOutline(int a, int b, int body, complexM start, const AllSpolygon& bodies, const Tnodes& nodes,
                 std::vector<int>& path)
{
    std::vector<int> visited;
    complexM prev = start;
    int cur = a;
    const int limit = EdgePositionsOfBody(body, bodies);
    for (int step = 0; step < limit; ++step) {
        int best = -1, candidates = 0;
        double bestAngle = 1e30;
        const complexM here = NodePoint(nodes, cur);
        for (int s = 0; s < bodies[body].Length(); ++s) {
            const arofintM& ring = bodies[body][s].ring;
            const int count = EdgePositionCount(bodies, body, s);
            for (int k = 0; k < count; ++k) {
                if (ring[k] != cur) continue;
                const int next = ring[(k + 1) % count];
                if (nodes[next].NodeClass >= 2) continue;
                if (std::find(visited.begin(), visited.end(), next) != visited.end()) continue;
                ++candidates;
                const double angle = CounterClockwiseAngle(PointMinus(prev, here), PointMinus(NodePoint(nodes, next), here));
                if (angle < bestAngle) {
                    bestAngle = angle;
                    best = next;
                }
            }
        }
        if (candidates == 0) return false;
        prev = here;
        cur = best;
        if (candidates >= 2) visited.push_back(cur);
        if (cur == b) return true;
        path.push_back(cur);
    }
    return false;
}

} // namespace

bool CheckNewPolygon(const arofcomplexM& points, const AllSpolygon& bodies, const Tnodes& nodes, bool closing)
{
    const int n = points.High();
    if (n < 0) return true;
    if (PointInOtherBodies(points[n], -1, bodies, nodes)) return false;
    if (n == 1 && SegmentCrossesOtherBodies(points[0], points[1], -1, nodes, bodies)) return false;
    if (n < 2) return true;
    if (SegmentCrossesOtherBodies(points[n - 1], points[n], -1, nodes, bodies)) return false;
    if (NewSegmentCrossesPolyline(points[n], points)) return false;
    if (closing && SegmentCrossesOtherBodies(points[0], points[n], -1, nodes, bodies)) return false;
    return true;
}

bool PolygonOverlapsModel(const arofcomplexM& ring, const AllSpolygon& bodies, const Tnodes& nodes)
{
    if (ring.Length() == 0) return false;
    for (int b = 0; b < bodies.Length(); ++b)
        for (int s = 0; s < bodies[b].Length(); ++s)
            if (!(b == 0 && s == 0) && PointInNodeRing(ring[0], bodies[b][s].ring, nodes)) return true;
    for (int b = 0; b < bodies.Length(); ++b)
        for (int s = 0; s < bodies[b].Length(); ++s) {
            const arofintM& other = bodies[b][s].ring;
            if (!(b == 0 && s == 0) && other.Length() > 0 && PointInPolygon(NodePoint(nodes, other[0]), ring))
                return true;
        }
    return false;
}

bool AddPolygon(const arofcomplexM& ring, AllSpolygon& bodies, Tnodes& nodes, const PolygonProperties& properties)
{
    if (ring.Length() < 3) return false;
    arofcomplexM points = ring;
    OrientRing(points);
    // A ring of no area (points on one line) holds neither orientation.
    if (RingOrientation(points)) return false;
    if (PolygonOverlapsModel(points, bodies, nodes)) return false;

    Polygon sub;
    for (const complexM& p : points) sub.ring.push_back(AppendNode(nodes, p));
    sub.properties = properties;
    SPolygon body;
    body.push_back(sub);
    bodies.push_back(body);
    return true;
}

bool AddSubPolygon(int a, int b, int body, bool variant, Tnodes& nodes, AllSpolygon& bodies,
                   const arofcomplexM& polyline, const PolygonProperties& properties)
{
    if (polyline.Length() < 2) return false;
    arofcomplexM points = polyline;
    if (RingOrientation(points)) {
        SwapInts(a, b);
        ReversePoints(points);
    }
    if (variant && a != b) {
        SwapInts(a, b);
        ReversePoints(points);
    }

    // A polyline from a node back to itself encloses its own area; no outline closes it.
    std::vector<int> path;
    if (a != b && !WalkOutline(a, b, body, points[1], bodies, nodes, path)) return false;
    const int inner = points.Length() - 2;
    if (1 + inner + (a != b ? 1 : 0) + static_cast<int>(path.size()) < 3) return false;

    Polygon sub;
    sub.ring.push_back(a);
    for (int k = 1; k <= inner; ++k) sub.ring.push_back(AppendNode(nodes, points[k]));
    if (a != b) sub.ring.push_back(b);
    for (auto it = path.rbegin(); it != path.rend(); ++it) sub.ring.push_back(*it);
    bodies[body].push_back(sub);

    // A ring that closed round the far side of the body (a two-point polyline orients either way) would
    // turn over and cover the body; like a nested body it is refused after the fact.
    if (NodeRingOrientation(bodies[body][bodies[body].High()].ring, nodes)) return false;
    for (int other = 0; other < bodies.Length(); ++other)
        if (BodiesNested(body, other, bodies, nodes)) return false;
    bodies[body][bodies[body].High()].properties = properties;
    ClassifyBodyNodes(body, bodies, nodes);
    return true;
}

bool AddSubPolygonInFrame(int a, int b, int body, bool variant, Tnodes& nodes, AllSpolygon& bodies,
                          const arofcomplexM& polyline, const TModelBox& box, const PolygonProperties& properties)
{
    if (!AddSubPolygon(a, b, body, variant, nodes, bodies, polyline, properties)) return false;
    if (body == 0)
        for (int v : bodies[0][bodies[0].High()].ring) nodes[v].FrameCode = FrameSideCode(v, bodies, nodes, box);
    return true;
}

bool DividePolygon(int a, int b, int body, int& shapeIndex, Tnodes& nodes, AllSpolygon& bodies)
{
    int sub = -1, p = -1, q = -1;
    for (int s = 0; s < bodies[body].Length() && sub < 0; ++s) {
        const arofintM& ring = bodies[body][s].ring;
        std::vector<int> at;
        for (int k = 0; k < ring.Length(); ++k)
            if (ring[k] == a || ring[k] == b) at.push_back(k);
        if (at.size() == 2) {
            sub = s;
            p = at[0];
            q = at[1];
        }
    }
    if (sub < 0) return false;

    const Polygon divided = bodies[body][sub];
    shapeIndex = divided.properties[psShapeIndex].AsInteger();
    const arofintM& ring = divided.ring;
    const int n = ring.Length();
    if (q == p + 1 || (p == 0 && q == n - 1)) return false;
    if (NodeSegmentCrossesSubPolygon(a, b, body, sub, nodes, bodies)) return false;
    const complexM middle{(nodes[a].x + nodes[b].x) / 2.0, (nodes[a].z + nodes[b].z) / 2.0};
    if (!PointInNodeRing(middle, ring, nodes)) return false;

    Polygon first, second;
    for (int k = p; k <= q; ++k) first.ring.push_back(ring[k]);
    for (int k = q; k < n; ++k) second.ring.push_back(ring[k]);
    for (int k = 0; k <= p; ++k) second.ring.push_back(ring[k]);
    // A chord along the ring's own edges (a sliver) leaves a half without area, turned over.
    if (NodeRingOrientation(first.ring, nodes) || NodeRingOrientation(second.ring, nodes)) return false;
    first.properties = second.properties = divided.properties;
    first.properties[psShapeIndex] = second.properties[psShapeIndex] = Variant(-1);

    bodies[body].push_back(first);
    bodies[body].push_back(second);
    bodies[body].Delete(sub);
    ClassifyBodyNodes(body, bodies, nodes);
    return true;
}
