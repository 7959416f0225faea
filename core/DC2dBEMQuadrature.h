// Gauss-Legendre rules on the element parameter t in [0, 1] for the solver's element integrals: the
// per-order nodes and weights, the shape-function-weighted weights, and two small point helpers.
#pragma once

#include "platform/rtl/DynArray.h"

// Orders the element integration accepts; order n < 8 is the n-point rule, order 8 the 12-point rule.
inline constexpr int MinQuadratureOrder = 2;
inline constexpr int MaxQuadratureOrder = 8;
inline constexpr int MaxGaussPoints = 12;

// An order from a settings file brought into 2..8.
int ClampQuadratureOrder(int order);

// Number of points of an order (2..7 for orders 2..7, 12 for order 8); the order is clamped first.
int GaussPointCount(int order);

// Node t_k (ascending in k) and weight w_k of an order on [0, 1]; the weights of an order sum to 1.
// k outside 0..count-1 raises ERangeError.
double GaussAbscissa(int order, int k);
double GaussWeight(int order, int k);

// The weights multiplied by the linear shape functions of the element's first node ((1 - t_k) w_k)
// and second node (t_k w_k): what the element integration sums the kernel with.
struct TQuadRule {
    int Count = 0;
    double T[MaxGaussPoints] = {};
    double W[MaxGaussPoints] = {};
    double WA[MaxGaussPoints] = {};
    double WB[MaxGaussPoints] = {};
};
const TQuadRule& QuadRule(int order);

// A + t_k (B - A) at the given order.
complexM GaussPointOnSegment(const complexM& A, const complexM& B, int order, int k);

// Euclidean distance of two (x, z) points.
double PointDistance(const complexM& A, const complexM& B);
