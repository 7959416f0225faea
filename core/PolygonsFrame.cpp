// Model frame and relief: building, coding, moving and rebuilding the frame, and the surface runs.
#include "core/PolygonsFrame.h"

#include "core/PolygonsGeometry.h"
#include "core/PolygonsPick.h"
#include "core/Supermath2d.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double FrameTolerance = 1e-5;

TNode MakeNode(double x, double z, int frameCode)
{
    TNode node;
    node.x = x;
    node.z = z;
    node.FrameCode = frameCode;
    return node;
}

bool HasHost(const AllSpolygon& bodies) { return bodies.Length() > 0 && bodies[0].Length() > 0; }

// Largest node index in the host ring's second half: the frame nodes are 0 .. this index.
int LastBuiltFrameNode(const arofintM& host)
{
    int last = -1;
    for (int k = HostHalfLength(host); k < host.Length(); ++k) last = std::max(last, host[k]);
    return last;
}

// Positions of the host ring's surface run: from the first position holding node 3 (top-right) to the
// next position holding node 0 (top-left). False when the ring has no such run.
bool FindSurfaceRun(const arofintM& host, int& first, int& last)
{
    if (!FindInRing(3, host, first)) return false;
    int node = -1;
    int k = first;
    for (int step = 0; step < host.Length(); ++step) {
        k = NextRingPosition(k, host, node);
        if (node == 0) {
            last = k;
            return last > first;
        }
    }
    return false;
}

// Sorts the host ring's surface nodes between the top corners by decreasing x (neighbour exchanges).
// Two nodes built with the frame are never exchanged: they lie in decreasing x in every model the program
// makes, and a file that places them otherwise must not get a host outline out of the frame's order.
void SortHostSurfaceRun(arofintM& host, int first, int last, const Tnodes& nodes)
{
    const int lastBuilt = LastBuiltFrameNode(host);
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int k = first + 1; k + 1 < last; ++k)
            if (nodes[host[k]].x < nodes[host[k + 1]].x && (host[k] > lastBuilt || host[k + 1] > lastBuilt)) {
                SwapInts(host[k], host[k + 1]);
                exchanged = true;
            }
    }
}

// The top boundary's nodes, top-left corner to top-right corner, in increasing x.
std::vector<int> SurfaceNodesByX(const arofintM& host, int first, int last, const Tnodes& nodes)
{
    std::vector<int> surface;
    for (int k = last; k >= first; --k) surface.push_back(host[k]);
    std::stable_sort(surface.begin(), surface.end(), [&](int a, int b) { return nodes[a].x < nodes[b].x; });
    return surface;
}

bool InSurface(const std::vector<int>& surface, int v)
{
    return std::find(surface.begin(), surface.end(), v) != surface.end();
}

// Surface nodes strictly between the x of two nodes, in increasing x.
std::vector<int> SurfaceBetween(const std::vector<int>& surface, int from, int to, const Tnodes& nodes)
{
    std::vector<int> between;
    for (int v : surface)
        if (nodes[v].x > nodes[from].x && nodes[v].x < nodes[to].x) between.push_back(v);
    return between;
}

// Rebuilds one surface run of a layer ring starting at position `start` (its previous node off the
// surface): the run's inner nodes become the surface nodes between its two ends. True when changed.
bool RebuildLayerRun(arofintM& ring, int start, const std::vector<int>& surface, const Tnodes& nodes)
{
    const int n = ring.Length();
    int end = start, length = 0;
    while (length < n - 1 && InSurface(surface, ring[(end + 1) % n])) {
        end = (end + 1) % n;
        ++length;
    }
    if (length == 0 || length >= n - 1) return false;

    std::vector<int> current;
    for (int k = (start + 1) % n; k != end; k = (k + 1) % n) current.push_back(ring[k]);
    const std::vector<int> wanted = SurfaceBetween(surface, ring[start], ring[end], nodes);
    if (current == wanted) return false;

    // The ring from the run's end round to its start, then the run's new inner nodes.
    arofintM rebuilt;
    for (int k = end;; k = (k + 1) % n) {
        rebuilt.push_back(ring[k]);
        if (k == start) break;
    }
    for (int v : wanted) rebuilt.push_back(v);
    ring = rebuilt;
    return true;
}

// Brings every surface run of a layer into line with the host surface; each change restarts the scan,
// and a ring cannot hold more runs than positions.
bool RebuildLayerRuns(arofintM& ring, const std::vector<int>& surface, const Tnodes& nodes)
{
    bool changed = false;
    for (int round = 0; round <= ring.Length(); ++round) {
        bool again = false;
        const int n = ring.Length();
        for (int k = 0; k < n && !again; ++k) {
            const bool startsRun = InSurface(surface, ring[k]) && !InSurface(surface, ring[(k + n - 1) % n]);
            if (startsRun) again = RebuildLayerRun(ring, k, surface, nodes);
        }
        if (!again) break;
        changed = true;
    }
    return changed;
}

// Index in the new frame of an old built frame node that a layer uses: the corners keep theirs; an old
// relief node goes to the new surface node of equal x, else to the nearest one in x.
int MapOldFrameNode(int old, const Tnodes& oldNodes, const Tnodes& newFrame)
{
    if (old <= 3) return old;
    const double x = oldNodes[old].x;
    for (int j = 4; j < newFrame.Length(); ++j)
        if (newFrame[j].x == x) return j;
    int best = 0;
    for (int j = 3; j < newFrame.Length(); ++j)
        if (std::fabs(newFrame[j].x - x) < std::fabs(newFrame[best].x - x)) best = j;
    return best;
}

// Drops ring positions that repeat the node before them (left where old relief nodes merged).
void DropRepeatedNeighbours(arofintM& ring)
{
    for (int k = ring.High(); k >= 0 && ring.Length() > 3; --k)
        if (ring[k] == ring[(k + ring.Length() - 1) % ring.Length()]) ring.Delete(k);
}

// Added side and bottom nodes of the current host ring go into the new ring after their predecessors.
void CarrySideNodes(const arofintM& host, int lastBuilt, int shift, const Tnodes& nodes, arofintM& ring)
{
    int corner3 = 0;
    if (!FindInRing(3, host, corner3)) return;
    for (int k = 1; k < corner3; ++k) {
        const int v = host[k];
        if (v <= lastBuilt || nodes[v].FrameCode == fcSurface) continue;
        const int before = host[k - 1] > lastBuilt ? host[k - 1] + shift : host[k - 1];
        int at = 0;
        if (FindInRing(before, ring, at)) ring.Insert(at + 1, v + shift);
    }
}

// Added surface nodes of the current host ring go into the new surface run by decreasing x; a node of
// equal x goes after the run node it equals.
void CarrySurfaceNodes(const arofintM& host, int lastBuilt, int shift, const Tnodes& nodes,
                       const Tnodes& newFrame, arofintM& ring)
{
    auto xOf = [&](int v) { return v < newFrame.Length() ? newFrame[v].x : nodes[v - shift].x; };
    const int half = HostHalfLength(host);
    for (int k = 0; k < half; ++k) {
        const int v = host[k];
        if (v <= lastBuilt || nodes[v].FrameCode != fcSurface) continue;
        int first = 0, last = 0;
        if (!FindSurfaceRun(ring, first, last)) continue;
        int at = first;
        for (int j = first; j < last; ++j)
            if (xOf(ring[j]) >= nodes[v].x) at = j;
        ring.Insert(at + 1, v + shift);
    }
}

} // namespace

int BuildFramePolygon(Tnodes& nodes, SPolygon& host, const arofcomplexM& relief, bool hasRelief,
                      const TModelBox& box)
{
    // The table reaches one relief point beyond each side of the box.
    arofdoubleM tableX, tableZ;
    if (hasRelief)
        for (int i = 0; i < relief.Length(); ++i) {
            const bool wholeLeft = i + 1 < relief.Length() && relief[i + 1].x <= box.XMin;
            const bool wholeRight = i > 0 && relief[i - 1].x >= box.XMax;
            if (wholeLeft || wholeRight) continue;
            tableX.push_back(relief[i].x);
            tableZ.push_back(relief[i].z);
        }
    const bool onRelief = tableX.Length() > 0;
    auto surface = [&](double x) { return onRelief ? InterpolateTable(tableX, tableZ, x) : box.ZMin; };

    nodes.clear();
    nodes.push_back(MakeNode(box.XMin, surface(box.XMin), fcLeft));
    nodes.push_back(MakeNode(box.XMin, box.ZMax, fcBottomLeft));
    nodes.push_back(MakeNode(box.XMax, box.ZMax, fcBottomRight));
    nodes.push_back(MakeNode(box.XMax, surface(box.XMax), fcRight));
    if (onRelief)
        for (int i = relief.High(); i >= 0; --i)
            if (relief[i].x > box.XMin && relief[i].x < box.XMax)
                nodes.push_back(MakeNode(relief[i].x, surface(relief[i].x), fcSurface));

    const int n = nodes.Length();
    Polygon frame;
    for (int k = 0; k < n; ++k) frame.ring.push_back(k);
    frame.ring.push_back(0);
    for (int k = n - 1; k >= 1; --k) frame.ring.push_back(k);
    // The host has no shape; the one-byte kind leaves its slot out of the property line.
    frame.properties[psShapeIndex] = Variant(std::int8_t(-1));
    host.clear();
    host.push_back(frame);
    return n;
}

int FrameSideCode(int node, const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box)
{
    // Frame codes belong to body 0: a node of another body that touches the box keeps 0.
    if (!HasHost(bodies)) return fcFree;
    bool inHostBody = false;
    for (const Polygon& sub : bodies[0])
        for (int u : sub.ring) inHostBody = inHostBody || u == node;
    if (!inHostBody) return fcFree;

    const TNode& v = nodes[node];
    const bool atLeft = std::fabs(v.x - box.XMin) <= FrameTolerance;
    const bool atRight = std::fabs(v.x - box.XMax) <= FrameTolerance;
    const bool atBottom = std::fabs(v.z - box.ZMax) <= FrameTolerance;
    if (atLeft) return atBottom ? fcBottomLeft : fcLeft;
    if (atRight) return atBottom ? fcBottomRight : fcRight;
    if (atBottom) return fcBottom;
    for (int u : bodies[0][0].ring)
        if (std::hypot(nodes[u].x - v.x, nodes[u].z - v.z) <= FrameTolerance) return fcSurface;
    return fcFree;
}

void MoveFrameNodes(Tnodes& nodes, const TModelBox& box)
{
    for (TNode& v : nodes) {
        switch (v.FrameCode) {
        case fcLeft: v.x = box.XMin; break;
        case fcBottomLeft: v.x = box.XMin; v.z = box.ZMax; break;
        case fcBottom: v.z = box.ZMax; break;
        case fcBottomRight: v.x = box.XMax; v.z = box.ZMax; break;
        case fcRight: v.x = box.XMax; break;
        default: break;
        }
    }
}

NodesExtent FreeNodesExtent(const Tnodes& nodes)
{
    NodesExtent extent;
    for (const TNode& v : nodes) {
        if (v.FrameCode != fcFree) continue;
        if (v.x < extent.minX) extent.minX = v.x;
        if (v.x > extent.maxX) extent.maxX = v.x;
        if (v.z > extent.maxZ) extent.maxZ = v.z;
    }
    return extent;
}

bool ConstrainFrameNodeMove(int node, const arofcomplexM& relief, bool hasRelief, const Tnodes& nodes,
                            const AllSpolygon& bodies, double& z, double& x, const TModelBox& box)
{
    if (HasHost(bodies) && node <= LastBuiltFrameNode(bodies[0][0].ring)) return false;
    x = std::clamp(x, box.XMin, box.XMax);
    z = std::min(z, box.ZMax);
    switch (nodes[node].FrameCode) {
    case fcLeft: x = box.XMin; return true;
    case fcBottom: z = box.ZMax; return true;
    case fcRight: x = box.XMax; return true;
    case fcSurface: z = hasRelief ? InterpolateProfile(relief, x) : box.ZMin; return true;
    default: return false;
    }
}

void AdjustSurfaceNode(int node, bool hasRelief, AllSpolygon& bodies, Tnodes& nodes)
{
    if (!hasRelief || nodes[node].FrameCode != fcSurface || !HasHost(bodies)) return;
    arofintM& host = bodies[0][0].ring;
    int first = 0, last = 0;
    if (!FindSurfaceRun(host, first, last)) return;

    SortHostSurfaceRun(host, first, last, nodes);
    const std::vector<int> surface = SurfaceNodesByX(host, first, last, nodes);
    for (int s = 1; s < bodies[0].Length(); ++s) RebuildLayerRuns(bodies[0][s].ring, surface, nodes);
    ClassifyBodyNodes(0, bodies, nodes);
}

void RebuildFrame(const arofcomplexM& relief, bool hasRelief, AllSpolygon& bodies, Tnodes& nodes,
                  const TModelBox& newBox, const TModelBox& oldBox)
{
    (void)oldBox; // the current host ring tells which nodes were built with the old frame
    if (!hasRelief || !HasHost(bodies)) return;
    const arofintM host = bodies[0][0].ring;
    const int lastBuilt = LastBuiltFrameNode(host);

    Tnodes frameNodes;
    SPolygon frameHost;
    const int count = BuildFramePolygon(frameNodes, frameHost, relief, hasRelief, newBox);
    const int shift = count - (lastBuilt + 1);

    arofintM ring = frameHost[0].ring;
    CarrySideNodes(host, lastBuilt, shift, nodes, ring);
    CarrySurfaceNodes(host, lastBuilt, shift, nodes, frameNodes, ring);

    for (int b = 0; b < bodies.Length(); ++b)
        for (int s = 0; s < bodies[b].Length(); ++s) {
            if (b == 0 && s == 0) continue;
            for (int& v : bodies[b][s].ring)
                v = v > lastBuilt ? v + shift : MapOldFrameNode(v, nodes, frameNodes);
            DropRepeatedNeighbours(bodies[b][s].ring);
        }
    bodies[0][0].ring = ring;

    Tnodes rebuilt = frameNodes;
    for (int v = lastBuilt + 1; v < nodes.Length(); ++v) {
        TNode kept;
        CopyNodeFields(nodes[v], kept);
        rebuilt.push_back(kept);
    }
    nodes = rebuilt;

    for (int s = 1; s < bodies[0].Length(); ++s)
        for (int v : bodies[0][s].ring)
            if (nodes[v].FrameCode == fcSurface) {
                AdjustSurfaceNode(v, hasRelief, bodies, nodes);
                break;
            }
    ClassifyBodyNodes(0, bodies, nodes);
}
