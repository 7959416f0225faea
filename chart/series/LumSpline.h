// A uniform cubic B-spline through or near a list of control points (TBSpline), and the chart function
// that replaces its parent's points by such a curve through one source series (TSmoothingFunction,
// "Smoothing" on the gallery page "Extended").
#pragma once

#include "chart/engine/LumEngineFunction.h"

#include <vector>

struct T2DPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const T2DPoint&) const = default;
};

// Control points are numbered from 1 in the order added. A knuckle (an inner point flagged as one) is
// repeated as three vertices, which gives the curve a sharp corner there.
class TBSpline {
public:
    TBSpline() { Clear(); }

    // No points, approximating, 100 fragments; the arrays keep their storage.
    void Clear();
    void AddPoint(double X, double Y);
    // Indexes outside the arrays are ignored.
    void SetKnuckle(int Index, bool Value);
    // Never for the first or the last point.
    bool IsKnuckle(int Index) const;
    int PointCount() const { return FNumPoints; }
    int Capacity() const { return FCapacity; }

    bool Interpolated() const { return FInterpolated; }
    // True: the curve passes through every control point.
    void SetInterpolated(bool Value);
    // The number of curve steps a caller samples; values above 600 become 600 (no lower bound).
    int Fragments() const { return FFragments; }
    void SetFragments(int Value);

    int VertexCount();
    // The vertices 0 .. VertexCount() + 1 (built when needed).
    const std::vector<T2DPoint>& Vertices();
    // The curve point at T in 0..1: the first control point at 0, the last at 1; (0, 0) below two points.
    T2DPoint EvaluateAt(double T);

private:
    void Invalidate() { FBuilt = false; }
    void Build();
    // The interpolating vertices: the tridiagonal system of the basis at the knots, solved in place.
    void SolveInterpolation();

    std::vector<T2DPoint> FPoints;
    std::vector<bool> FKnuckles;
    std::vector<T2DPoint> FVertices;
    int FNumPoints = 0;
    int FCapacity = 0;
    int FNumVertices = 0;
    bool FBuilt = false;
    bool FInterpolated = false;
    int FFragments = 100;
};

// The rows of the interpolation system of N vertices (1-based; entry 0 unused): Lower[i], Diagonal[i] and
// Upper[i] are the coefficients of vertices i - 1, i and i + 1 in row i. Knuckle triples of equal vertices
// become identity rows.
struct TSplineSystem {
    std::vector<double> Lower, Diagonal, Upper;
};
TSplineSystem SplineInterpolationSystem(const std::vector<T2DPoint>& Vertices, int N);

class TSmoothingFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    explicit TSmoothingFunction(TComponent* AOwner);

    std::string EditorFormName() const override { return "TSmoothFuncEditor"; }
    void CalculateFromSources(TChartSeries* Source) override;

    bool Interpolate() const { return FInterpolate; }
    void SetInterpolate(bool Value);
    // Curve points per source point; below 1 is stored as 1.
    int Factor() const { return FFactor; }
    void SetFactor(int Value);

private:
    // Orders the parent's lists along the axis its curve runs on.
    void PrepareParentOrder(TChartSeries& Parent, const TChartSeries& Source) const;

    bool FInterpolate = true;
    int FFactor = 4;
};

// The "Smoothing" function joins the function registry (page "Extended") and leaves it.
void LumSplineInitialization();
void LumSplineFinalization();
