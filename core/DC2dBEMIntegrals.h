// Element integrals of the double-layer kernel of the 2-D Laplace equation over straight boundary
// elements with linear potential, the mirror term of the flat ground, the near-singular rule, and the
// interior angle that the free terms are made of.
#pragma once

#include "platform/rtl/DynArray.h"

// The kernel integral over one element weighted by the shape function of its first node (A) and its
// second node (B).
struct TIntegralPair {
    double wA = 0.0;
    double wB = 0.0;
};

// What the element integration reads of the solver's settings.
struct TKernelSettings {
    int QuadratureOrder = 7;           // starting order, clamped into 2..8
    double NearSingularDistance = 0.1; // a Gauss point within 0.01 of it lowers the order
    bool ReliefPresent = false;        // no mirror image of the ground with a relief
};

// ((Q - P) . n) / (|Q - P| L).
double KernelValue(const complexM& P, const complexM& Q, const complexM& n, double L);

// A straight element A -> B prepared for integration: normal n = (A.z - B.z, B.x - A.x), its length L.
struct TElement {
    complexM A, B;
    complexM n;
    double L = 0.0;
    TElement() = default;
    TElement(const complexM& a, const complexM& b);
};

// (1/2pi) times the integral of N(s) ((Q - P) . n^) / |Q - P|^2 over the element, N the shape function
// of A or B; plus the same for the mirror point (P.x, -P.z) when there is no relief and SurfaceFlag is
// off; doubled when SurfaceFlag is on without relief. For a point (P or its mirror image) nearer to the
// element than twice its length the integral is taken in closed form, which a point on the element's
// line (P on the element itself, or at one of its ends) sees as 0; the near integrals are then exact
// however close the point comes, so the potential near a bend of the boundary stays continuous. Farther
// points are integrated by the Gauss rule of the order: a Gauss point within 0.01 NearSingularDistance of
// P restarts the element at the next lower order, down to order 4 (from order 4 or below the element is
// integrated at its order); a mirror point that close contributes nothing. A Gauss point exactly at P
// contributes 0: the kernel's numerator vanishes on the element's own line.
TIntegralPair ElementKernel(const TKernelSettings& settings, const complexM& P, const TElement& element,
                            bool SurfaceFlag);
TIntegralPair ElementKernel(const TKernelSettings& settings, const complexM& P, const complexM& A,
                            const complexM& B, bool SurfaceFlag);

// The angle in [0, 2pi] from vector A to vector B, turning from +x towards +z; pi when either is zero.
// For a ring node X with neighbours prev and next, InteriorAngle(prev - X, next - X) is the angle the
// polygon subtends at X when the ring has positive signed area in the (x, z) frame.
double InteriorAngle(const complexM& A, const complexM& B);
