// Boundary numbering and electrode placement. The host is body 0, sub-polygon 0: with a relief its ring
// is the ground line alone, without one the doubled frame ring; sub-polygons 1.. of body 0 are the
// frame-attached layers, the only ones that may use frame nodes.
#include "core/DC2dBEMGeometry.h"

#include "core/DC2dBEMSource.h"

#include <algorithm>
#include <cmath>

namespace {

// A surface electrode this near a ground node, as a fraction of the near-singular distance (a few
// millionths of the electrode spacing), stands on the node and takes its solved value. Only a point that
// coincides with the node needs that: beside it the potential at the electrode's own place is continuous
// with the node's, whereas taking the node's value for an electrode up to a centimetre away would be off
// by the field times that distance (a zigzag in closely spaced electrodes that pass refined nodes).
constexpr double OnNodeFraction = 1e-4;

const arofintM& HostRing(const TSolverState& s) { return s.SolverBodies[0][0].ring; }

const TNode& NodeAt(const TSolverState& s, int index) { return s.SolverNodes[index]; }

bool UsedByFrameLayer(const TSolverState& s, int node)
{
    const SPolygon& host = s.SolverBodies[0];
    for (int k = 1; k < host.Length(); ++k)
        for (int entry : host[k].ring)
            if (entry == node) return true;
    return false;
}

// The parameter whose factor a ground electrode at x takes: the first frame-attached sub-polygon with an
// edge on the ground spanning x, or -1. Parameter index of body 0's sub-polygon k is k - 1.
int GroundLayerAt(const TSolverState& s, double x)
{
    const SPolygon& host = s.SolverBodies[0];
    for (int k = 1; k < host.Length(); ++k) {
        const arofintM& ring = host[k].ring;
        for (int p = 0; p < ring.Length(); ++p) {
            const int a = ring[p], b = ring[p + 1 < ring.Length() ? p + 1 : 0];
            const bool onGround = s.ReliefPresent ? (s.OnSurface[a] && s.OnSurface[b])
                                                  : (NodeAt(s, a).z <= 0.0 && NodeAt(s, b).z <= 0.0);
            const double xa = NodeAt(s, a).x, xb = NodeAt(s, b).x;
            if (onGround && std::min(xa, xb) <= x && x <= std::max(xa, xb)) return k - 1;
        }
    }
    return -1;
}

// The parameter of the last sub-polygon in parameter order whose ring contains P, or -1.
int ContainingParam(const TSolverState& s, const complexM& P)
{
    int found = -1;
    for (int g = 0; g < s.Params.Length(); ++g) {
        const TSolverPolygon& sp = s.Params[g];
        if (PointInSubPolygon(P, s.SolverBodies[sp.Body][sp.Sub].ring, s.SolverNodes)) found = g;
    }
    return found;
}

// Whether a host-ring node can carry a ground electrode: it has an unknown and lies on the ground.
bool GroundNode(const TSolverState& s, int node)
{
    if (s.NodeNumber[node] < 0) return false;
    return s.ReliefPresent || NodeAt(s, node).z <= 0.0;
}

// The depth of the ground at x: 0 without a relief; with one, on the ground node or edge the electrode
// was found on (`fallback` when none).
double GroundDepth(const TSolverState& s, double x, const TIntPair& place, double fallback)
{
    if (!s.ReliefPresent) return 0.0;
    if (place.first < 0) return fallback;
    const TNode& a = NodeAt(s, place.first);
    if (place.second < 0) return a.z;
    const TNode& b = NodeAt(s, place.second);
    return b.x == a.x ? a.z : a.z + (x - a.x) * (b.z - a.z) / (b.x - a.x);
}

} // namespace

void CollectSolverPolygons(TSolverState& s)
{
    s.Params.clear();
    const double rho0 = s.StartResistivity;
    for (int b = 0; b < s.SolverBodies.Length(); ++b) {
        const SPolygon& body = s.SolverBodies[b];
        for (int k = 0; k < body.Length(); ++k) {
            if (b == 0 && k == 0) continue;
            TSolverPolygon p;
            p.Body = b;
            p.Sub = k;
            p.Resistivity = body[k].properties[psResistivity].AsDouble();
            p.Contrast = (p.Resistivity - rho0) / p.Resistivity;
            p.RhoRatio = rho0 / p.Resistivity;
            p.Electronic = body[k].properties[psConductorType].AsDouble() == 0.0;
            s.Params.push_back(p);
        }
    }
    s.ParamCount = s.Params.Length();
}

void CollectSurfaceNodes(TSolverState& s)
{
    if (!s.ReliefPresent) return;
    const arofintM& ring = HostRing(s);
    std::vector<int> list(ring.begin(), ring.end());
    // Descending x keeping ring order among equals, then reversed: ascending x, equals in reverse order.
    std::stable_sort(list.begin(), list.end(),
                     [&](int a, int b) { return NodeAt(s, a).x > NodeAt(s, b).x; });
    std::reverse(list.begin(), list.end());
    s.SurfaceNodeList.SetLength(list.size());
    std::copy(list.begin(), list.end(), s.SurfaceNodeList.begin());
    s.OnSurface.SetLength(0);
    s.OnSurface.SetLength(s.SolverNodes.size());
    for (int node : s.SurfaceNodeList) s.OnSurface[node] = true;
}

int NumberBoundaryNodes(TSolverState& s)
{
    const int count = s.SolverNodes.Length();
    s.NodeNumber.SetLength(0);
    s.NodeNumber.SetLength(count);
    const int firstCorner = s.ReliefPresent ? 1 : 0;
    const int lastCorner = s.ReliefPresent ? 2 : 3;
    for (int j = firstCorner; j <= std::min(lastCorner, count - 1); ++j)
        if (!UsedByFrameLayer(s, j)) s.NodeNumber[j] = -1;
    int next = 0;
    for (int j = 0; j < count; ++j)
        if (s.NodeNumber[j] != -1) s.NodeNumber[j] = next++;
    s.UnknownCount = next;
    return next;
}

void CollectUsedElectrodes(TSolverState& s)
{
    std::vector<int> used;
    for (const osource& set : *s.DataSets) {
        for (int j = 0; j < set.P1.Length(); ++j) {
            if (set.P1[j] != NoElectrode) used.push_back(set.P1[j]);
            if (set.P2[j] != NoElectrode) used.push_back(set.P2[j]);
        }
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    s.UsedElectrodes.SetLength(1);
    s.UsedElectrodes[0].SetLength(used.size());
    std::copy(used.begin(), used.end(), s.UsedElectrodes[0].begin());
}

void LocateSurfaceElectrodes(TSolverState& s)
{
    const elecarray& electrodes = *s.Electrodes;
    const arofintM& ring = HostRing(s);
    const double onNode = OnNodeFraction * s.NearSingularDistance;
    s.ElectrodeOffNode.SetLength(electrodes.size());
    s.ElectrodeNodes.SetLength(electrodes.size());
    s.ElectrodePoint.SetLength(electrodes.size());
    for (int e = 0; e < electrodes.Length(); ++e) {
        s.ElectrodeOffNode[e] = true;
        s.ElectrodeNodes[e] = {-1, -1};
        // Without a relief the model's ground is flat at z = 0, so a buried electrode lies zraw below it
        // (its record's z also holds the offset of a two-point topography, which the model does not have).
        s.ElectrodePoint[e] = {electrodes[e].x, s.ReliefPresent ? electrodes[e].z : electrodes[e].zraw};
        if (!electrodes[e].surface) continue;
        const double x = electrodes[e].x;
        // The ground line runs from right to left in the host ring.
        for (int j = 0; j + 1 < ring.Length(); ++j) {
            if (NodeAt(s, ring[j + 1]).x < x && x < NodeAt(s, ring[j]).x) {
                s.ElectrodeNodes[e] = {ring[j], ring[j + 1]};
                break;
            }
        }
        for (int node : ring) {
            if (std::fabs(x - NodeAt(s, node).x) <= onNode && GroundNode(s, node)) {
                s.ElectrodeOffNode[e] = false;
                s.ElectrodeNodes[e] = {node, -1};
                break;
            }
        }
        s.ElectrodePoint[e].z = GroundDepth(s, x, s.ElectrodeNodes[e], s.ElectrodePoint[e].z);
    }
}

void ElectrodeFactors(TSolverState& s)
{
    const elecarray& electrodes = *s.Electrodes;
    const int count = electrodes.Length();
    s.ElectrodeFactor.SetLength(0);
    s.ElectrodeFactor.SetLength(count);
    s.ElectrodeSourcePotential.SetLength(0);
    s.ElectrodeSourcePotential.SetLength(count);
    s.ElectrodeParam.SetLength(count);
    for (int e = 0; e < count; ++e) {
        s.ElectrodeParam[e] = -1;
        const TElectrode& el = electrodes[e];
        if (el.surface && !s.ElectrodeOffNode[e]) continue; // on a ground node: factor 0
        int param;
        double factor;
        const complexM P = s.ElectrodePoint[e];
        if (!el.surface) {
            // A point inside the medium: the free term of an interior point.
            param = ContainingParam(s, P);
            factor = param >= 0 ? s.Params[param].RhoRatio : 1.0;
        } else {
            // On the ground: the mirror (no relief) or the ground line (relief) gives half the angle.
            param = GroundLayerAt(s, el.x);
            factor = param >= 0 ? s.Params[param].RhoRatio : 1.0;
            if (s.ReliefPresent) factor *= 0.5;
        }
        s.ElectrodeFactor[e] = factor;
        s.ElectrodeParam[e] = param;
        if (param >= 0 && s.Params[param].Electronic) s.ElectrodeSourcePotential[e] = SourcePotential(s, P.x, P.z);
    }
}

bool PointInSubPolygon(const complexM& P, const arofintM& ring, const Tnodes& nodes)
{
    bool inside = false;
    const int n = ring.Length();
    for (int i = 0; i < n; ++i) {
        const TNode& ni = nodes[ring[i]];
        const TNode& np = nodes[ring[i == 0 ? n - 1 : i - 1]];
        if ((ni.z > P.z) != (np.z > P.z) && P.x < (np.x - ni.x) * (P.z - ni.z) / (np.z - ni.z) + ni.x)
            inside = !inside;
    }
    return inside;
}
