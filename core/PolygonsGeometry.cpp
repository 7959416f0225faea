// Plane geometry of the polygon model and the crossing, containment and nesting tests built on it.
#include "core/PolygonsGeometry.h"

#include "core/Supermath2d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double Dot(complexM u, complexM v) { return u.x * v.x + u.z * v.z; }
double Length(complexM u) { return std::sqrt(Dot(u, u)); }
complexM Minus(complexM u, complexM v) { return {u.x - v.x, u.z - v.z}; }
double Distance(complexM u, complexM v) { return Length(Minus(u, v)); }

// Even-odd containment over n points given by `at(i)`.
template <class At>
bool PointInPoints(complexM p, int n, At at)
{
    for (int i = 0; i < n; ++i) {
        const complexM v = at(i);
        if (std::fabs(p.x - v.x) < 1e-10 && std::fabs(p.z - v.z) < 1e-10) return false;
    }
    bool inside = false;
    for (int i = 0; i < n; ++i) {
        const complexM vi = at(i);
        const complexM vj = at(i == 0 ? n - 1 : i - 1);
        if ((vi.z <= p.z && p.z < vj.z) || (vj.z <= p.z && p.z < vi.z)) {
            const double xc = vi.x + (vj.x - vi.x) * (p.z - vi.z) / (vj.z - vi.z);
            if (xc > p.x) inside = !inside;
        }
    }
    return inside;
}

// Sums the halved signed areas of the corner triangles whose centroids lie inside the ring.
template <class At>
bool OrientationOfPoints(int n, At at)
{
    double s = 0.0;
    for (int i = 0; i < n; ++i) {
        const complexM p0 = at(i), p1 = at((i + 1) % n), p2 = at((i + 2) % n);
        const complexM centroid{(p0.x + p1.x + p2.x) / 3.0, (p0.z + p1.z + p2.z) / 3.0};
        if (!PointInPoints(centroid, n, at)) continue;
        const double twiceArea = p0.x * (p1.z - p2.z) + p1.x * (p2.z - p0.z) + p2.x * (p0.z - p1.z);
        s -= 0.5 * twiceArea;
    }
    return s >= 0.0;
}

// Calls visit(a, b) for every edge of the sub-polygon by the edge rule; stops when it returns true.
template <class Visit>
bool AnyRuleEdge(const AllSpolygon& bodies, int body, int sub, Visit visit)
{
    const arofintM& ring = bodies[body][sub].ring;
    const int count = EdgePositionCount(bodies, body, sub);
    for (int k = 0; k < count; ++k)
        if (visit(ring[k], ring[(k + 1) % count])) return true;
    return false;
}

bool IsOpenEdge(int a, int b, const Tnodes& nodes) { return nodes[a].NodeClass < 2 && nodes[b].NodeClass < 2; }

complexM FirstNodeOfBody(const AllSpolygon& bodies, int body, const Tnodes& nodes, bool& present)
{
    present = bodies[body].Length() > 0 && bodies[body][0].ring.Length() > 0;
    return present ? NodePoint(nodes, bodies[body][0].ring[0]) : complexM{};
}

bool PointInBody(complexM p, int body, const AllSpolygon& bodies, const Tnodes& nodes)
{
    for (const Polygon& sub : bodies[body])
        if (PointInNodeRing(p, sub.ring, nodes)) return true;
    return false;
}

} // namespace

complexM NodePoint(const Tnodes& nodes, int index) { return {nodes[index].x, nodes[index].z}; }

int HostHalfLength(const arofintM& ring)
{
    for (int k = 1; k < ring.Length(); ++k)
        if (ring[k] == ring[0]) return k;
    return ring.Length();
}

int EdgePositionCount(const AllSpolygon& bodies, int body, int sub)
{
    const arofintM& ring = bodies[body][sub].ring;
    return body == 0 && sub == 0 ? HostHalfLength(ring) : ring.Length();
}

bool SegmentsIntersect(complexM a, complexM b, complexM c, complexM d)
{
    if (a == c || a == d || b == c || b == d) return false;
    if (std::max(a.x, b.x) < c.x && std::max(a.x, b.x) < d.x) return false;
    if (std::min(a.x, b.x) > c.x && std::min(a.x, b.x) > d.x) return false;
    if (std::max(a.z, b.z) < c.z && std::max(a.z, b.z) < d.z) return false;
    if (std::min(a.z, b.z) > c.z && std::min(a.z, b.z) > d.z) return false;

    const double dx = b.x - a.x, dz = b.z - a.z;
    const double w = dx * a.z - a.x * dz;
    const double sC = dx * c.z - dz * c.x;
    const double sD = dx * d.z - dz * d.x;
    if ((sC >= w) == (sD >= w)) return false;

    const double ex = d.x - c.x, ez = d.z - c.z;
    const double t = ex * c.z - c.x * ez;
    const double sA = ex * a.z - ez * a.x;
    const double sB = ex * b.z - ez * b.x;
    return (sA >= t) != (sB >= t);
}

bool NodeSegmentsIntersect(int a, int b, int c, int d, const Tnodes& nodes)
{
    return SegmentsIntersect(NodePoint(nodes, a), NodePoint(nodes, b), NodePoint(nodes, c), NodePoint(nodes, d));
}

bool PointInPolygon(complexM p, const arofcomplexM& ring)
{
    return PointInPoints(p, ring.Length(), [&](int i) { return ring[i]; });
}

bool PointInNodeRing(complexM p, const arofintM& ring, const Tnodes& nodes)
{
    return PointInPoints(p, ring.Length(), [&](int i) { return NodePoint(nodes, ring[i]); });
}

bool RingOrientation(const arofcomplexM& ring)
{
    return OrientationOfPoints(ring.Length(), [&](int i) { return ring[i]; });
}

bool NodeRingOrientation(const arofintM& ring, const Tnodes& nodes)
{
    return OrientationOfPoints(ring.Length(), [&](int i) { return NodePoint(nodes, ring[i]); });
}

void OrientRing(arofcomplexM& ring)
{
    if (!RingOrientation(ring)) return;
    const int n = ring.Length();
    for (int k = 0; k <= (n - 1) / 2; ++k) SwapPoints(ring[k], ring[n - 1 - k]);
}

double SegmentPixelDistance(double sx, double sz, complexM a, complexM b, complexM p)
{
    const complexM as{sx * a.x, sz * a.z}, bs{sx * b.x, sz * b.z}, ps{sx * p.x, sz * p.z};
    const complexM ab = Minus(bs, as);
    const double t = Dot(Minus(ps, as), ab);
    const double len2 = Dot(ab, ab);
    if (t <= 0.0) return Distance(ps, as);
    if (t >= len2) return Distance(ps, bs);
    const double f = t / len2;
    return Distance(ps, {as.x + f * ab.x, as.z + f * ab.z});
}

double AngleBetween(complexM u, complexM v)
{
    double c = Dot(u, v) / (Length(u) * Length(v));
    if (!(c >= -1.0)) c = -1.0;
    if (c > 1.0) c = 1.0;
    return std::fabs(std::acos(c) * 180.0 / std::numbers::pi);
}

void SnapToSegment(complexM& p, complexM a, complexM b, double sx, double sz)
{
    if (std::fabs(a.x - b.x) * sx > std::fabs(a.z - b.z) * sz)
        p.z = InterpolateLinear(p.x, a.x, b.x, a.z, b.z);
    else
        p.x = InterpolateLinear(p.z, a.z, b.z, a.x, b.x);
}

bool NewSegmentCrossesPolyline(complexM p, const arofcomplexM& points)
{
    const int n = points.High();
    if (n < 2) return false;
    for (int i = 0; i <= n - 2; ++i)
        if (SegmentsIntersect(points[n - 1], p, points[i], points[i + 1])) return true;
    return false;
}

bool SegmentCrossesBodyEdges(complexM a, complexM b, int body, const Tnodes& nodes, const AllSpolygon& bodies)
{
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const bool hit = AnyRuleEdge(bodies, body, s, [&](int c, int d) {
            return IsOpenEdge(c, d, nodes) && SegmentsIntersect(a, b, NodePoint(nodes, c), NodePoint(nodes, d));
        });
        if (hit) return true;
    }
    return false;
}

bool SegmentCrossesOtherBodies(complexM a, complexM b, int skippedBody, const Tnodes& nodes,
                               const AllSpolygon& bodies)
{
    for (int body = 0; body < bodies.Length(); ++body)
        if (body != skippedBody && SegmentCrossesBodyEdges(a, b, body, nodes, bodies)) return true;
    return false;
}

bool PointInOtherBodies(complexM p, int skippedBody, const AllSpolygon& bodies, const Tnodes& nodes)
{
    for (int body = 0; body < bodies.Length(); ++body)
        if (body != skippedBody && PointInBody(p, body, bodies, nodes)) return true;
    return false;
}

bool BodiesNested(int a, int b, const AllSpolygon& bodies, const Tnodes& nodes)
{
    if (a == b) return false;
    bool present = false;
    const complexM firstA = FirstNodeOfBody(bodies, a, nodes, present);
    if (present && PointInBody(firstA, b, bodies, nodes)) return true;
    const complexM firstB = FirstNodeOfBody(bodies, b, nodes, present);
    return present && PointInBody(firstB, a, bodies, nodes);
}

bool NodeSegmentCrossesBody(int a, int b, int body, const Tnodes& nodes, const AllSpolygon& bodies)
{
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const bool hit = AnyRuleEdge(bodies, body, s, [&](int c, int d) {
            return c != a && c != b && d != a && d != b && NodeSegmentsIntersect(a, b, c, d, nodes);
        });
        if (hit) return true;
    }
    return false;
}

bool NodeSegmentCrossesSubPolygon(int a, int b, int body, int sub, const Tnodes& nodes, const AllSpolygon& bodies)
{
    const arofintM& ring = bodies[body][sub].ring;
    const int n = ring.Length();
    for (int k = 0; k < n; ++k) {
        const int c = ring[k], d = ring[(k + 1) % n];
        if (c != a && c != b && d != a && d != b && NodeSegmentsIntersect(a, b, c, d, nodes)) return true;
    }
    return false;
}

bool SubPolygonsShareNode(int i, int j, int body, const AllSpolygon& bodies)
{
    if (i == j) return true;
    const arofintM& ri = bodies[body][i].ring;
    const arofintM& rj = bodies[body][j].ring;
    for (int a : ri)
        for (int b : rj)
            if (a == b) return true;
    return false;
}

int NextRingPosition(int k, const arofintM& ring, int& node)
{
    const int next = k >= ring.High() ? 0 : k + 1;
    node = ring[next];
    return next;
}

int PreviousRingPosition(int k, const arofintM& ring, int& node)
{
    const int previous = k <= 0 ? ring.High() : k - 1;
    node = ring[previous];
    return previous;
}

bool FindInRing(int node, const arofintM& ring, int& position)
{
    for (int k = 0; k < ring.Length(); ++k)
        if (ring[k] == node) {
            position = k;
            return true;
        }
    return false;
}
