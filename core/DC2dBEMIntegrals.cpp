// Element integrals by Gauss-Legendre quadrature with the near-singular order drop, in closed form for a
// field point near the element, and the interior angle. The common case (P far from the element) is
// recognised from P's distance to the segment and integrated without the restart loop.
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

// An element whose distance from the field point is below this many of its lengths is integrated in
// closed form. Nearer, the kernel changes along the element faster than a Gauss rule follows: a point
// beside a node where the boundary bends would see the element beyond the node wrongly, and its potential
// would jump as it passes the node. Farther, the rules are exact to far below the solution's accuracy.
constexpr double NearElementLengths = 2.0;

inline double SquaredDistanceToSegment(const complexM& P, const TElement& e)
{
    const double ex = e.B.x - e.A.x, ez = e.B.z - e.A.z;
    const double len2 = ex * ex + ez * ez;
    double t = len2 > 0.0 ? ((P.x - e.A.x) * ex + (P.z - e.A.z) * ez) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = e.A.x + t * ex - P.x, dz = e.A.z + t * ez - P.z;
    return dx * dx + dz * dz;
}

bool NearElement(double squaredDistance, const TElement& e)
{
    const double reach = NearElementLengths * e.L;
    return squaredDistance < reach * reach;
}

// The order the element is integrated at: the starting order, lowered while one of its Gauss points lies
// within the threshold of P and the order is above 4.
int EffectiveOrder(const TKernelSettings& s, const complexM& P, const TElement& e, double threshold,
                   double squaredDistance)
{
    int order = ClampQuadratureOrder(s.QuadratureOrder);
    // Gauss points are no nearer than the segment itself; the margin keeps rounding on the safe side.
    const double reach = threshold * (1.0 + 1e-9) + 1e-300;
    if (!(squaredDistance <= reach * reach)) return order;
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

// The integrals of the kernel against the two shape functions over the element, in closed form, added
// to (wA, wB) in units of length (the rule's sums times L): with h the distance of P from the element's
// line (signed along n), the integral of h / r^2 is the angle the element subtends at P, and that of
// s / L h / r^2 adds a logarithm of P's distances to the ends. A point on the element's line (to the
// rounding of the coordinates) sees the element edge-on and adds nothing, as the kernel's numerator
// vanishes there.
void AddExactIntegrals(const complexM& P, const TElement& e, double& wA, double& wB)
{
    const double ax = e.A.x - P.x, az = e.A.z - P.z, bx = e.B.x - P.x, bz = e.B.z - P.z;
    const double tx = (e.B.x - e.A.x) / e.L, tz = (e.B.z - e.A.z) / e.L;
    const double h = az * tx - ax * tz; // (A - P) . n / L, the same for every point of the element
    const double size = std::max({std::fabs(P.x), std::fabs(P.z), std::fabs(e.A.x), std::fabs(e.A.z),
                                  std::fabs(e.B.x), std::fabs(e.B.z), e.L});
    if (!(std::fabs(h) > 1e-12 * size)) return;
    const double angle = std::atan2(e.L * h, ax * bx + az * bz);
    const double along = -(ax * tx + az * tz); // P's foot on the line, from A
    const double first = (along * angle + 0.5 * h * std::log((bx * bx + bz * bz) / (ax * ax + az * az))) / e.L;
    wA += angle - first;
    wB += first;
}

// The rule's sums of the kernel over the element for P (with Direct) and its mirror image (with Image;
// a Gauss point within the threshold of the image adds nothing), in units of the element's parameter.
template <bool Direct, bool Image>
inline TIntegralPair RuleSums(const TQuadRule& rule, const TElement& e, const complexM& P, const complexM& image,
                              double threshold)
{
    double wA = 0.0, wB = 0.0;
    for (int k = 0; k < rule.Count; ++k) {
        const double qx = e.A.x + rule.T[k] * (e.B.x - e.A.x);
        const double qz = e.A.z + rule.T[k] * (e.B.z - e.A.z);
        double S = 0.0;
        if constexpr (Direct) {
            double r = 0.0;
            S = KernelOverDistance(P.x, P.z, qx, qz, e, r);
        }
        if constexpr (Image) {
            double rm = 0.0;
            const double Km = KernelOverDistance(image.x, image.z, qx, qz, e, rm);
            if (rm > threshold) S += Km;
        }
        wA += rule.WA[k] * S;
        wB += rule.WB[k] * S;
    }
    return {wA, wB};
}

// The pair, before the factor 1 / 2pi, of an element near P or near its mirror image (mirror set):
// each point by itself, a near one in closed form, a far one by the rule (then in units of length).
// Rare against the far elements, and kept out of their path.
[[gnu::noinline]] TIntegralPair NearElementSums(const TQuadRule& rule, const TElement& e, const complexM& P,
                                                bool nearP, bool mirror, const complexM& image, bool nearImage,
                                                double threshold)
{
    TIntegralPair w;
    if (!nearP) w = RuleSums<true, false>(rule, e, P, image, threshold);
    if (mirror && !nearImage) {
        const TIntegralPair m = RuleSums<false, true>(rule, e, P, image, threshold);
        w.wA += m.wA;
        w.wB += m.wB;
    }
    w.wA *= e.L;
    w.wB *= e.L;
    if (nearP) AddExactIntegrals(P, e, w.wA, w.wB);
    if (nearImage) AddExactIntegrals(image, e, w.wA, w.wB);
    return w;
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
    const double d2 = SquaredDistanceToSegment(P, e);
    const TQuadRule& rule = QuadRule(EffectiveOrder(s, P, e, threshold, d2));
    const bool mirror = !s.ReliefPresent && !SurfaceFlag;
    const complexM image{P.x, -P.z};
    const bool nearP = NearElement(d2, e);
    const bool nearImage = mirror && NearElement(SquaredDistanceToSegment(image, e), e);
    if (nearP || nearImage) {
        double F = 1.0 / (2.0 * std::numbers::pi);
        if (SurfaceFlag && !s.ReliefPresent) F *= 2.0;
        const TIntegralPair w = NearElementSums(rule, e, P, nearP, mirror, image, nearImage, threshold);
        return {w.wA * F, w.wB * F};
    }
    const TIntegralPair w = mirror ? RuleSums<true, true>(rule, e, P, image, threshold)
                                   : RuleSums<true, false>(rule, e, P, image, threshold);
    double F = e.L / (2.0 * std::numbers::pi);
    if (SurfaceFlag && !s.ReliefPresent) F *= 2.0;
    return {w.wA * F, w.wB * F};
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
