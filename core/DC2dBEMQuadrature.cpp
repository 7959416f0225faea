// Gauss-Legendre rules computed once in extended precision by Newton's method on the Legendre
// polynomials, mapped from [-1, 1] to [0, 1].
#include "core/DC2dBEMQuadrature.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

int PointsOfOrder(int order) { return order == MaxQuadratureOrder ? 12 : order; }

// The m-point rule on [0, 1], nodes ascending.
TQuadRule MakeRule(int m)
{
    TQuadRule rule;
    rule.Count = m;
    for (int i = 0; i < m; ++i) {
        // Root i of P_m, from the usual cosine start (descending roots), polished by Newton steps.
        long double xi = std::cos(std::numbers::pi_v<long double> * (i + 0.75L) / (m + 0.5L));
        long double derivative = 1.0L;
        for (int iteration = 0; iteration < 100; ++iteration) {
            long double p0 = 1.0L, p1 = xi;
            for (int k = 2; k <= m; ++k) {
                const long double p2 = ((2 * k - 1) * xi * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = m * (xi * p1 - p0) / (xi * xi - 1.0L);
            const long double step = p1 / derivative;
            xi -= step;
            if (std::fabs(step) < 1e-19L) break;
        }
        const long double omega = 2.0L / ((1.0L - xi * xi) * derivative * derivative);
        // Roots come out descending; store ascending in t.
        const int k = m - 1 - i;
        rule.T[k] = static_cast<double>((1.0L + xi) / 2.0L);
        rule.W[k] = static_cast<double>(omega / 2.0L);
    }
    for (int k = 0; k < m; ++k) {
        rule.WA[k] = (1.0 - rule.T[k]) * rule.W[k];
        rule.WB[k] = rule.T[k] * rule.W[k];
    }
    return rule;
}

using TRuleTable = std::array<TQuadRule, MaxQuadratureOrder + 1>;

const TRuleTable& Rules()
{
    static const TRuleTable table = [] {
        TRuleTable t{};
        for (int order = MinQuadratureOrder; order <= MaxQuadratureOrder; ++order)
            t[order] = MakeRule(PointsOfOrder(order));
        return t;
    }();
    return table;
}

const TQuadRule& CheckedPoint(int order, int k)
{
    const TQuadRule& rule = QuadRule(order);
    if (k < 0 || k >= rule.Count) throw ERangeError();
    return rule;
}

} // namespace

int ClampQuadratureOrder(int order) { return std::clamp(order, MinQuadratureOrder, MaxQuadratureOrder); }

int GaussPointCount(int order) { return PointsOfOrder(ClampQuadratureOrder(order)); }

const TQuadRule& QuadRule(int order) { return Rules()[ClampQuadratureOrder(order)]; }

double GaussAbscissa(int order, int k) { return CheckedPoint(order, k).T[k]; }

double GaussWeight(int order, int k) { return CheckedPoint(order, k).W[k]; }

complexM GaussPointOnSegment(const complexM& A, const complexM& B, int order, int k)
{
    const double t = GaussAbscissa(order, k);
    return {A.x + t * (B.x - A.x), A.z + t * (B.z - A.z)};
}

double PointDistance(const complexM& A, const complexM& B)
{
    const double dx = A.x - B.x, dz = A.z - B.z;
    return std::sqrt(dx * dx + dz * dz);
}
