// Two passes over the edges of the taking-part rings: the first, on the model's own positions, copies
// side nodes so that the inner geometry stays when the frame moves out; the second, on the moved
// positions, divides the edges. Each pass handles an edge once, whichever ring meets it first.
#include "core/BoundaryDiscretize.h"

#include "core/Supermath2d.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr double SideTolerance = 1e-7;
constexpr int ExtensionCount = 7;

struct TRingRef {
    int Body, Sub;
    bool Closed;
};

using TEdgeSet = std::set<std::pair<int, int>>;

std::pair<int, int> EdgeKey(int p, int q) { return {std::min(p, q), std::max(p, q)}; }

// The rings that are refined: every sub-polygon but the host, and the host's ground line with a relief.
std::vector<TRingRef> TakingPart(const AllSpolygon& bodies, bool relief)
{
    std::vector<TRingRef> rings;
    for (int b = 0; b < bodies.Length(); ++b)
        for (int k = 0; k < bodies[b].Length(); ++k) {
            if (b == 0 && k == 0) {
                if (relief) rings.push_back({0, 0, false});
            } else {
                rings.push_back({b, k, true});
            }
        }
    return rings;
}

// The ground line of the doubled host ring: from node 3 (first after position 0) to the next occurrence
// of the ring's first node.
void CutHostToGroundLine(AllSpolygon& bodies)
{
    if (bodies.empty() || bodies[0].empty()) return;
    const arofintM ring = bodies[0][0].ring;
    if (ring.empty()) return;
    int start = -1, end = -1;
    for (int p = 1; p < ring.Length() && start < 0; ++p)
        if (ring[p] == 3) start = p;
    for (int p = start + 1; start >= 0 && p < ring.Length() && end < 0; ++p)
        if (ring[p] == ring[0]) end = p;
    if (start < 0 || end < 0) return;
    arofintM cut;
    for (int p = start; p <= end; ++p) cut.push_back(ring[p]);
    bodies[0][0].ring = cut;
}

// Inserts `added` between p and q in every ring holding the edge (its first occurrence), in order when
// the ring runs from p to q and reversed when it runs from q to p.
void InsertIntoRings(AllSpolygon& bodies, bool relief, int p, int q, const std::vector<int>& added)
{
    if (added.empty()) return;
    for (int b = 0; b < bodies.Length(); ++b)
        for (int k = 0; k < bodies[b].Length(); ++k) {
            arofintM& ring = bodies[b][k].ring;
            const bool closed = !(relief && b == 0 && k == 0);
            const int len = ring.Length();
            const int edges = closed ? len : len - 1;
            for (int i = 0; i < edges; ++i) {
                const int a = ring[i], c = ring[i + 1 < len ? i + 1 : 0];
                if (!((a == p && c == q) || (a == q && c == p))) continue;
                std::vector<int> order = added;
                if (a == q) std::reverse(order.begin(), order.end());
                for (std::size_t j = 0; j < order.size(); ++j) ring.Insert(i + 1 + static_cast<int>(j), order[j]);
                break;
            }
        }
}

int AppendNode(Tnodes& nodes, double x, double z)
{
    TNode n;
    n.x = x;
    n.z = z;
    nodes.push_back(n);
    return nodes.High();
}

// Calls f(p, q) for every edge of the taking-part rings of a snapshot, each edge once.
template <class F>
void ForEachEdgeOnce(const AllSpolygon& snapshot, bool relief, F&& f)
{
    TEdgeSet handled;
    for (const TRingRef& r : TakingPart(snapshot, relief)) {
        const arofintM& ring = snapshot[r.Body][r.Sub].ring;
        const int len = ring.Length();
        const int edges = r.Closed ? len : len - 1;
        for (int i = 0; i < edges; ++i) {
            const int p = ring[i], q = ring[i + 1 < len ? i + 1 : 0];
            if (handled.count(EdgeKey(p, q))) continue;
            if (f(p, q)) handled.insert(EdgeKey(p, q));
        }
    }
}

struct TBoxSides {
    double XMin, XMax, ZMax;
    bool OnLeft(const TNode& n) const { return n.x - SideTolerance <= XMin; }
    bool OnRight(const TNode& n) const { return n.x + SideTolerance >= XMax; }
    bool AtBottom(const TNode& n) const { return n.z + SideTolerance >= ZMax; }
    bool Inside(const TNode& n) const { return XMin <= n.x && n.x <= XMax && n.z <= ZMax; }
};

bool BottomCorner(const TNode& n) { return n.FrameCode == 2 || n.FrameCode == 4; }

// First pass: copies of the side nodes of edges that run from a side into the box.
void CopySideNodes(const TBoxSides& box, bool relief, AllSpolygon& bodies, Tnodes& nodes)
{
    const AllSpolygon snapshot = bodies;
    ForEachEdgeOnce(snapshot, relief, [&](int p, int q) {
        const TNode P = nodes[p], Q = nodes[q];
        const bool taken = (box.OnLeft(P) && Q.x > box.XMin) || (box.OnRight(P) && Q.x < box.XMax) ||
                           (box.OnLeft(Q) && P.x > box.XMin) || (box.OnRight(Q) && P.x < box.XMax) ||
                           (box.AtBottom(Q) && P.z < box.ZMax) || (box.AtBottom(P) && Q.z < box.ZMax);
        if (!taken || BottomCorner(P) || BottomCorner(Q)) return false;
        std::vector<const TNode*> sidePoints;
        if (box.OnLeft(P) || box.OnRight(P)) sidePoints.push_back(&P);
        if (box.OnLeft(Q) || box.OnRight(Q)) sidePoints.push_back(&Q);
        if (box.AtBottom(P)) sidePoints.push_back(&P);
        if (box.AtBottom(Q)) sidePoints.push_back(&Q);
        std::vector<int> added;
        for (const TNode* n : sidePoints) added.push_back(AppendNode(nodes, n->x, n->z));
        InsertIntoRings(bodies, relief, p, q, added);
        return true;
    });
}

// Seven points from the box side towards the moved end, at the extension distances.
std::vector<complexM> ExtensionPoints(const TBoxSides& box, const TNode& P, const TNode& Q, const double* ext)
{
    std::vector<complexM> points;
    for (int i = 0; i < ExtensionCount; ++i) {
        complexM pt{Q.x, Q.z};
        if (P.x < box.XMin) pt.x = Q.x - ext[ExtensionCount - 1 - i];
        if (Q.x < box.XMin) pt.x = P.x - ext[i];
        if (P.x > box.XMax) pt.x = Q.x + ext[ExtensionCount - 1 - i];
        if (Q.x > box.XMax) pt.x = P.x + ext[i];
        if (P.z > box.ZMax) pt.z = Q.z + ext[ExtensionCount - 1 - i];
        if (Q.z > box.ZMax) pt.z = P.z + ext[i];
        points.push_back(pt);
    }
    return points;
}

bool CrossesOneSide(const TBoxSides& box, const TNode& P, const TNode& Q)
{
    return (P.x < box.XMin && Q.x >= box.XMin) || (P.x > box.XMax && Q.x <= box.XMax) ||
           (Q.x < box.XMin && P.x >= box.XMin) || (Q.x > box.XMax && P.x <= box.XMax) ||
           (P.z > box.ZMax && Q.z <= box.ZMax) || (Q.z > box.ZMax && P.z <= box.ZMax);
}

} // namespace

double FrameOffset(double H) { return 2187.0 * H; }

double FrameNodeX(const Tnodes& nodes, int index, double offset)
{
    const TNode& n = nodes[index];
    if (n.FrameCode == 1 || n.FrameCode == 2) return n.x - offset;
    if (n.FrameCode == 4 || n.FrameCode == 5) return n.x + offset;
    return n.x;
}

double FrameNodeZ(const Tnodes& nodes, int index, double offset)
{
    const TNode& n = nodes[index];
    if (n.FrameCode >= 2 && n.FrameCode <= 4) return n.z + offset;
    return n.z;
}

arofcomplexM DivideEdge(const TPolygonModel& model, bool Exponent, double x1, double z1, double x2, double z2,
                        double FactorX, double StartStepX, double FactorZ, double StartStepZ, double MinStep)
{
    arofcomplexM points;
    const double len = std::sqrt((x2 - x1) * (x2 - x1) + (z2 - z1) * (z2 - z1));
    if (!(len > 0.0) || !std::isfinite(len)) return points;
    const bool swapped = z1 > z2;
    if (swapped) {
        std::swap(x1, x2);
        std::swap(z1, z2);
    }
    const double dx = x2 - x1, dz = z2 - z1;
    const double cx = std::fabs(dx) / len, cz = std::fabs(dz) / len;
    auto depth = [&](double x, double z) { return model.HasRelief ? z - InterpolateProfile(model.Relief, x) : z; };
    auto usable = [&](double step) { return step > 0.0 && std::isfinite(step) ? step : MinStep; };
    const double d1 = depth(x1, z1), d2 = depth(x2, z2);

    if (std::fabs(d1 - d2) / std::max({std::fabs(d1), std::fabs(d2), 1e-9}) < 0.03) {
        const double parts = std::nearbyint(len / usable(FactorX * d1 + StartStepX));
        const int n = static_cast<int>(std::min(parts, static_cast<double>(MaxEdgePoints + 1)));
        for (int k = 1; k < n; ++k) points.push_back({x1 + dx * k / n, z1 + dz * k / n});
    } else {
        double x = x1, z = z1, walked = 0.0;
        while (points.Length() < MaxEdgePoints) {
            const double d = depth(x, z);
            const double hx = Exponent ? std::exp(FactorX * d) * StartStepX : FactorX * d + StartStepX;
            const double hz = FactorZ * d + StartStepZ;
            const double step = usable((hx * cx + hz * cz) / (cx + cz));
            x += step * dx / len;
            z += step * dz / len;
            walked += step;
            if (!(walked < len)) break;
            points.push_back({x, z});
        }
        if (!points.empty()) {
            const complexM& last = points.back();
            const double lastGap = (last.x - x2) * (last.x - x2) + (last.z - z2) * (last.z - z2);
            const double finalGap = (x - x2) * (x - x2) + (z - z2) * (z - z2);
            if (lastGap / finalGap < 0.1) points.Delete(points.High());
        }
    }
    if (swapped) std::reverse(points.begin(), points.end());
    return points;
}

void DiscretizeBoundary(const TPolygonModel& model, bool Exponent, AllSpolygon& bodies, double H, double FactorX,
                        double StartStepX, double FactorZ, double StartStepZ, Tnodes& nodes)
{
    const bool relief = model.HasRelief;
    const TBoxSides box{model.ModelBox.XMin, model.ModelBox.XMax, model.ModelBox.ZMax};
    double ext[ExtensionCount];
    for (int k = 0; k < ExtensionCount; ++k) ext[k] = std::pow(3.0, k) * H;
    const double offset = FrameOffset(H);
    const double minStep = 2e-3 * H;

    if (relief) CutHostToGroundLine(bodies);
    CopySideNodes(box, relief, bodies, nodes);

    for (int i = 0; i < nodes.Length(); ++i) {
        nodes[i].WorkX = nodes[i].x;
        nodes[i].WorkZ = nodes[i].z;
        const double x = FrameNodeX(nodes, i, offset), z = FrameNodeZ(nodes, i, offset);
        nodes[i].x = x;
        nodes[i].z = z;
    }

    const AllSpolygon snapshot = bodies;
    const Tnodes moved = nodes;
    ForEachEdgeOnce(snapshot, relief, [&](int p, int q) {
        const TNode& P = moved[p];
        const TNode& Q = moved[q];
        std::vector<complexM> points;
        if (box.Inside(P) && box.Inside(Q)) {
            const arofcomplexM divided =
                DivideEdge(model, Exponent, P.x, P.z, Q.x, Q.z, FactorX, StartStepX, FactorZ, StartStepZ, minStep);
            points.assign(divided.begin(), divided.end());
        } else if (CrossesOneSide(box, P, Q)) {
            points = ExtensionPoints(box, P, Q, ext);
        }
        std::vector<int> added;
        for (const complexM& pt : points) added.push_back(AppendNode(nodes, pt.x, pt.z));
        InsertIntoRings(bodies, relief, p, q, added);
        return true;
    });
}
