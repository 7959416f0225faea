// The polygon model's invariant checker.
#include "core/PolygonsInvariants.h"

#include "core/PolygonsGeometry.h"
#include "core/PolygonsPick.h"

#include <string>
#include <vector>

namespace {

std::string Where(int body, int sub) { return "body " + std::to_string(body) + " sub " + std::to_string(sub); }

std::string HostFault(const arofintM& ring, const Tnodes& nodes)
{
    const std::string fault = HostRingFault(ring);
    if (!fault.empty()) return fault;
    const int corners[4] = {1, 2, 4, 5};
    for (int v = 0; v < 4; ++v)
        if (nodes[v].FrameCode != corners[v]) return "frame corner " + std::to_string(v) + " lost its code";
    return {};
}

std::string RingFault(const AllSpolygon& bodies, int body, int sub, const Tnodes& nodes)
{
    const arofintM& ring = bodies[body][sub].ring;
    for (int v : ring)
        if (v < 0 || v >= nodes.Length()) return Where(body, sub) + ": node index out of range";
    if (body == 0 && sub == 0) return HostFault(ring, nodes);
    if (ring.Length() < 3) return Where(body, sub) + ": fewer than 3 positions";
    for (int k = 0; k < ring.Length(); ++k)
        if (ring[k] == ring[(k + 1) % ring.Length()]) return Where(body, sub) + ": neighbouring positions repeat a node";
    if (NodeRingOrientation(ring, nodes)) return Where(body, sub) + ": ring turned over";
    return {};
}

bool Connected(int body, const AllSpolygon& bodies)
{
    const int n = bodies[body].Length();
    std::vector<bool> reached(static_cast<std::size_t>(n), false);
    std::vector<int> stack{0};
    reached[0] = true;
    int count = 1;
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        for (int j = 0; j < n; ++j)
            if (!reached[j] && SubPolygonsShareNode(i, j, body, bodies)) {
                reached[j] = true;
                ++count;
                stack.push_back(j);
            }
    }
    return count == n;
}

std::string BodyFault(const AllSpolygon& bodies, int body, const Tnodes& nodes, std::vector<int>& owner)
{
    if (bodies[body].Length() == 0) return "body " + std::to_string(body) + " is empty";
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const std::string fault = RingFault(bodies, body, s, nodes);
        if (!fault.empty()) return fault;
    }
    if (!Connected(body, bodies)) return "body " + std::to_string(body) + " is not connected";
    for (const Polygon& sub : bodies[body])
        for (int v : sub.ring) {
            if (owner[v] >= 0 && owner[v] != body)
                return "node " + std::to_string(v) + " shared by bodies " + std::to_string(owner[v]) + " and " +
                       std::to_string(body);
            owner[v] = body;
            if (body != 0 && nodes[v].FrameCode != 0)
                return "node " + std::to_string(v) + " of body " + std::to_string(body) + " has a frame code";
            if (nodes[v].NodeClass != ClassifyNode(v, body, bodies, nodes))
                return "node " + std::to_string(v) + " has a stale class";
        }
    return {};
}

} // namespace

std::string HostRingFault(const arofintM& ring)
{
    const int m = HostHalfLength(ring);
    if (m == ring.Length()) return "host ring is not doubled";
    const int built = ring.Length() - m; // node 0 and the frame nodes K .. 1
    if (built < 4) return "host ring has fewer than 4 frame nodes";
    if (ring[0] != 0) return "host ring does not start at node 0";
    for (int k = m + 1; k < ring.Length(); ++k)
        if (ring[k] != ring.Length() - k) return "second half of the host ring is not K .. 1";
    for (int k = 0; k < m; ++k)
        for (int j = k + 1; j < m; ++j)
            if (ring[k] == ring[j]) return "host outline lists node " + std::to_string(ring[k]) + " twice";
    int next = 1; // the frame nodes 1 .. K must appear in order along the outline
    for (int k = 1; k < m && next < built; ++k)
        if (ring[k] == next) ++next;
    if (next != built) return "host outline does not run through the frame nodes in order";
    return {};
}

std::string ModelStructureFault(const AllSpolygon& bodies, int nodeCount)
{
    if (bodies.Length() == 0 || bodies[0].Length() == 0) return "no host sub-polygon";
    for (int b = 0; b < bodies.Length(); ++b)
        for (const Polygon& sub : bodies[b])
            for (int v : sub.ring)
                if (v < 0 || v >= nodeCount) return "body " + std::to_string(b) + ": node index out of range";
    const std::string host = HostRingFault(bodies[0][0].ring);
    if (!host.empty()) return host;
    std::vector<int> owner(static_cast<std::size_t>(nodeCount), -1);
    for (int b = 0; b < bodies.Length(); ++b) {
        if (bodies[b].Length() == 0) return "body " + std::to_string(b) + " is empty";
        for (const Polygon& sub : bodies[b])
            for (int v : sub.ring) {
                if (owner[v] >= 0 && owner[v] != b)
                    return "node " + std::to_string(v) + " shared by bodies " + std::to_string(owner[v]) + " and " +
                           std::to_string(b);
                owner[v] = b;
            }
    }
    return {};
}

std::string ModelInvariantFault(const AllSpolygon& bodies, const Tnodes& nodes)
{
    if (bodies.Length() == 0 || bodies[0].Length() == 0) return "no host sub-polygon";
    std::vector<int> owner(static_cast<std::size_t>(nodes.Length()), -1);
    for (int b = 0; b < bodies.Length(); ++b) {
        const std::string fault = BodyFault(bodies, b, nodes, owner);
        if (!fault.empty()) return fault;
    }
    for (int v = 0; v < nodes.Length(); ++v)
        if (owner[v] < 0) return "node " + std::to_string(v) + " is used by no ring";
    return {};
}
