// Element integrals by Gauss-Legendre quadrature with the near-singular order drop, and the interior
// angle. The common case (no Gauss point near P) is recognised from P's distance to the segment and
// integrated without the restart loop.
#include "core/DC2dBEMIntegrals.h"

#include "core/DC2dBEMQuadrature.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double TinyKernel = 1e-10;
constexpr int LowestDroppedOrder = 4;

// The kernel at Gauss point Q for the field point P: K / r unless K is negligible, 0 at P itself.
inline double KernelOverDistance(double px, double pz, double qx, double qz, const TElement& e, double& r)
{
    const double dx = qx - px, dz = qz - pz;
    r = std::sqrt(dx * dx + dz * dz);
    if (r == 0.0) return 0.0;
    double K = (dx * e.n.x + dz * e.n.z) / (r * e.L);
    if (std::fabs(K) > TinyKernel) K /= r;
    return K;
}

double DistanceToSegment(const complexM& P, const TElement& e)
{
    const double ex = e.B.x - e.A.x, ez = e.B.z - e.A.z;
    const double len2 = ex * ex + ez * ez;
    double t = len2 > 0.0 ? ((P.x - e.A.x) * ex + (P.z - e.A.z) * ez) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = e.A.x + t * ex - P.x, dz = e.A.z + t * ez - P.z;
    return std::sqrt(dx * dx + dz * dz);
}

// The order the element is integrated at: the starting order, lowered while one of its Gauss points lies
// within the threshold of P and the order is above 4.
int EffectiveOrder(const TKernelSettings& s, const complexM& P, const TElement& e, double threshold)
{
    int order = ClampQuadratureOrder(s.QuadratureOrder);
    // Gauss points are no nearer than the segment itself; the margin keeps rounding on the safe side.
    if (!(DistanceToSegment(P, e) <= threshold * (1.0 + 1e-9) + 1e-300)) return order;
    while (order > LowestDroppedOrder) {
        const TQuadRule& rule = QuadRule(order);
        bool near = false;
        for (int k = 0; k < rule.Count && !near; ++k) {
            const double qx = e.A.x + rule.T[k] * (e.B.x - e.A.x);
            const double qz = e.A.z + rule.T[k] * (e.B.z - e.A.z);
            const double dx = qx - P.x, dz = qz - P.z;
            near = std::sqrt(dx * dx + dz * dz) <= threshold;
        }
        if (!near) break;
        --order;
    }
    return order;
}

} // namespace

double KernelValue(const complexM& P, const complexM& Q, const complexM& n, double L)
{
    const double dx = Q.x - P.x, dz = Q.z - P.z;
    return (dx * n.x + dz * n.z) / (std::sqrt(dx * dx + dz * dz) * L);
}

TElement::TElement(const complexM& a, const complexM& b) : A(a), B(b), n{a.z - b.z, b.x - a.x}
{
    L = std::sqrt(n.x * n.x + n.z * n.z);
}

TIntegralPair ElementKernel(const TKernelSettings& s, const complexM& P, const TElement& e, bool SurfaceFlag)
{
    const double threshold = 0.01 * s.NearSingularDistance;
    const int order = EffectiveOrder(s, P, e, threshold);
    const TQuadRule& rule = QuadRule(order);
    const bool mirror = !s.ReliefPresent && !SurfaceFlag;
    const double mz = -P.z;
    double wA = 0.0, wB = 0.0;
    for (int k = 0; k < rule.Count; ++k) {
        const double qx = e.A.x + rule.T[k] * (e.B.x - e.A.x);
        const double qz = e.A.z + rule.T[k] * (e.B.z - e.A.z);
        double r = 0.0;
        double S = KernelOverDistance(P.x, P.z, qx, qz, e, r);
        if (mirror) {
            double rm = 0.0;
            const double Km = KernelOverDistance(P.x, mz, qx, qz, e, rm);
            if (rm > threshold) S += Km;
        }
        wA += rule.WA[k] * S;
        wB += rule.WB[k] * S;
    }
    double F = e.L / (2.0 * std::numbers::pi);
    if (SurfaceFlag && !s.ReliefPresent) F *= 2.0;
    return {wA * F, wB * F};
}

TIntegralPair ElementKernel(const TKernelSettings& settings, const complexM& P, const complexM& A,
                            const complexM& B, bool SurfaceFlag)
{
    return ElementKernel(settings, P, TElement(A, B), SurfaceFlag);
}

double InteriorAngle(const complexM& A, const complexM& B)
{
    const double la = std::sqrt(A.x * A.x + A.z * A.z), lb = std::sqrt(B.x * B.x + B.z * B.z);
    if (la * lb == 0.0) return std::numbers::pi;
    const double c = std::clamp((A.x * B.x + A.z * B.z) / (la * lb), -1.0, 1.0);
    const double g = std::acos(c);
    return A.z * B.x - A.x * B.z >= 0.0 ? g : 2.0 * std::numbers::pi - g;
}
