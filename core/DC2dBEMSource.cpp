// The primary source curve evaluated at model-frame points. Model-frame depths count from the highest
// topography point, so the depth below the relief at x is z minus the relief's own depth there.
#include "core/DC2dBEMSource.h"

#include "core/Supermath2d.h"

#include <algorithm>
#include <cmath>

namespace {

// Calls f(node) for every node of every electronic sub-polygon's ring.
template <class F>
void ForElectronicNodes(const TSolverState& s, F&& f)
{
    for (const TSolverPolygon& p : s.Params) {
        if (!p.Electronic) continue;
        for (int node : s.SolverBodies[p.Body][p.Sub].ring) f(node);
    }
}

} // namespace

double TopographyTop(const arofcomplexM& topography)
{
    if (topography.empty()) return 0.0;
    double top = topography[0].z;
    for (const complexM& p : topography) top = std::max(top, p.z);
    return top;
}

double DepthBelowRelief(const TSolverState& s, double x, double z)
{
    if (!s.ReliefPresent) return z;
    return z - (TopographyTop(s.Topography) - InterpolateProfile(s.Topography, x));
}

double SourcePotential(const TSolverState& s, double x, double z)
{
    const double d = DepthBelowRelief(s, x, z);
    const TSourceCurve& c = s.Source;
    switch (c.SourceType) {
    case 1:
        return c.SourceC + c.SourceA * std::exp(-d / c.SourceB);
    case 2:
        return InterpolateTable(c.SourceDepths, c.SourceValues, d);
    default:
        return -c.SourceA * d + c.SourceC;
    }
}

void SourceNodePotentials(const TSolverState& s, arofdoubleM& rhs)
{
    rhs.SetLength(0);
    rhs.SetLength(s.UnknownCount);
    ForElectronicNodes(s, [&](int node) {
        const TNode& X = s.SolverNodes[node];
        rhs[s.NodeNumber[node]] = SourcePotential(s, X.x, X.z);
    });
}

double SourcePotentialDerivative(const TSolverState& s, int parameter, double x, double z)
{
    const TSourceCurve& c = s.Source;
    if (c.SourceType == 2) return 0.0;
    if (parameter == 2) return 1.0;
    const double d = DepthBelowRelief(s, x, z);
    if (c.SourceType == 1) {
        const double e = std::exp(-d / c.SourceB);
        return parameter == 0 ? e : c.SourceA * d / (c.SourceB * c.SourceB) * e;
    }
    return parameter == 0 ? -d : 0.0;
}

void BuildSourceRHS(const TSolverState& s, int parameter, arofdoubleM& rhs)
{
    rhs.SetLength(0);
    rhs.SetLength(s.UnknownCount);
    ForElectronicNodes(s, [&](int node) {
        const TNode& X = s.SolverNodes[node];
        rhs[s.NodeNumber[node]] = SourcePotentialDerivative(s, parameter, X.x, X.z);
    });
}
