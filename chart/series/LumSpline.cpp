// The B-spline's vertices (copied control points, knuckles tripled, solved for the interpolating curve)
// and its evaluation by the uniform cubic basis; the smoothing function's calculation and registration.
#include "chart/series/LumSpline.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/series/LumSurfa.h"

#include <algorithm>
#include <cmath>
#include <climits>

namespace {
constexpr int CapacityStep = 25;
constexpr int MaxFragments = 600;
constexpr double KnuckleTolerance = 1e-5;

bool SamePoint(const T2DPoint& A, const T2DPoint& B)
{
    return std::fabs(A.X - B.X) < KnuckleTolerance && std::fabs(A.Y - B.Y) < KnuckleTolerance;
}
} // namespace

// ---- TBSpline ------------------------------------------------------------------------------------------

void TBSpline::Clear()
{
    FVertices.clear();
    FNumPoints = 0;
    FNumVertices = 0;
    FCapacity = 0;
    FBuilt = false;
    FInterpolated = false;
    FFragments = 100;
}

void TBSpline::AddPoint(double X, double Y)
{
    if (FNumPoints == FCapacity) {
        FCapacity += CapacityStep;
        FPoints.resize(static_cast<std::size_t>(FCapacity) + 1);
        FKnuckles.assign(static_cast<std::size_t>(FCapacity) + 1, false);
    }
    ++FNumPoints;
    FPoints[static_cast<std::size_t>(FNumPoints)] = {X, Y};
    Invalidate();
}

void TBSpline::SetKnuckle(int Index, bool Value)
{
    if (Index < 0 || static_cast<std::size_t>(Index) >= FKnuckles.size()) return;
    FKnuckles[static_cast<std::size_t>(Index)] = Value;
    Invalidate();
}

bool TBSpline::IsKnuckle(int Index) const
{
    if (Index == 1 || Index == FNumPoints) return false;
    if (Index < 0 || static_cast<std::size_t>(Index) >= FKnuckles.size()) return false;
    return FKnuckles[static_cast<std::size_t>(Index)];
}

void TBSpline::SetInterpolated(bool Value)
{
    if (Value == FInterpolated) return;
    FInterpolated = Value;
    Invalidate();
}

void TBSpline::SetFragments(int Value)
{
    if (Value == FFragments) return;
    FFragments = std::min(Value, MaxFragments);
}

int TBSpline::VertexCount()
{
    if (!FBuilt) Build();
    return FNumVertices;
}

const std::vector<T2DPoint>& TBSpline::Vertices()
{
    if (!FBuilt) Build();
    return FVertices;
}

void TBSpline::Build()
{
    FVertices.clear();
    FNumVertices = 0;
    if (FNumPoints >= 2) {
        for (int k = 1; k <= FNumPoints; ++k) FNumVertices += IsKnuckle(k) ? 3 : 1;
        FVertices.resize(static_cast<std::size_t>(FNumVertices) + 2);
        std::size_t v = 1;
        for (int k = 1; k <= FNumPoints; ++k) {
            const T2DPoint& p = FPoints[static_cast<std::size_t>(k)];
            for (int copies = IsKnuckle(k) ? 3 : 1; copies > 0; --copies) FVertices[v++] = p;
        }
        if (FInterpolated && FNumVertices > 2) SolveInterpolation();
    }
    FBuilt = true;
    if (FNumVertices >= 2) {
        const std::size_t n = static_cast<std::size_t>(FNumVertices);
        FVertices[0] = {2 * FVertices[1].X - FVertices[2].X, 2 * FVertices[1].Y - FVertices[2].Y};
        FVertices[n + 1] = {2 * FVertices[n].X - FVertices[n - 1].X, 2 * FVertices[n].Y - FVertices[n - 1].Y};
    }
}

TSplineSystem SplineInterpolationSystem(const std::vector<T2DPoint>& Vertices, int N)
{
    const std::size_t size = static_cast<std::size_t>(N) + 1;
    TSplineSystem m{std::vector<double>(size, 0.0), std::vector<double>(size, 0.0), std::vector<double>(size, 0.0)};
    for (int i = 2; i <= N - 1; ++i) {
        m.Lower[i] = 1.0 / 6;
        m.Diagonal[i] = 2.0 / 3;
        m.Upper[i] = 1.0 / 6;
    }
    // The curve starts and ends on the end points.
    m.Diagonal[1] = 1;
    m.Diagonal[static_cast<std::size_t>(N)] = 1;
    // Three equal vertices (a knuckle) keep their place: the curve runs through the corner.
    for (int i = 3; i < N - 1;) {
        const auto at = [&](int k) { return Vertices[static_cast<std::size_t>(k)]; };
        if (SamePoint(at(i - 1), at(i)) && SamePoint(at(i), at(i + 1))) {
            for (int r = i - 1; r <= i + 1; ++r) {
                m.Lower[static_cast<std::size_t>(r)] = 0;
                m.Diagonal[static_cast<std::size_t>(r)] = 1;
                m.Upper[static_cast<std::size_t>(r)] = 0;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    return m;
}

void TBSpline::SolveInterpolation()
{
    // Elimination without pivoting, as a dense solve would do it: only the row below has a non-zero in
    // the eliminated column, and the entries it subtracts from above the band are zero, so the band alone
    // gives the same numbers.
    const int n = FNumVertices;
    TSplineSystem m = SplineInterpolationSystem(FVertices, n);
    std::vector<T2DPoint>& b = FVertices;
    for (int i = 1; i < n; ++i) {
        const std::size_t r = static_cast<std::size_t>(i);
        const double factor = m.Lower[r + 1] / m.Diagonal[r];
        m.Lower[r + 1] -= factor * m.Diagonal[r];
        m.Diagonal[r + 1] -= factor * m.Upper[r];
        b[r + 1].X -= factor * b[r].X;
        b[r + 1].Y -= factor * b[r].Y;
    }
    const std::size_t last = static_cast<std::size_t>(n);
    b[last] = {b[last].X / m.Diagonal[last], b[last].Y / m.Diagonal[last]};
    for (std::size_t r = last - 1; r >= 1; --r) {
        b[r].X = (b[r].X - m.Upper[r] * b[r + 1].X) / m.Diagonal[r];
        b[r].Y = (b[r].Y - m.Upper[r] * b[r + 1].Y) / m.Diagonal[r];
    }
}

T2DPoint TBSpline::EvaluateAt(double T)
{
    T2DPoint result;
    if (FNumPoints < 2) return result;
    if (!FBuilt) Build();
    const double u = (FNumVertices - 1) * T + 1;
    int first = std::max(0, static_cast<int>(std::trunc(u - 1)));
    const int last = first + 3;
    first = std::min(first, FNumVertices + 1);
    for (int i = first; i <= last; ++i) {
        const double d = std::fabs(i - u);
        if (d >= 2 || i < 0 || i > FNumVertices + 1) continue;
        const double weight = d < 1 ? 2.0 / 3 - d * d + d * d * d / 2 : (2 - d) * (2 - d) * (2 - d) / 6;
        const T2DPoint& v = FVertices[static_cast<std::size_t>(i)];
        result.X += weight * v.X;
        result.Y += weight * v.Y;
    }
    return result;
}

// ---- TSmoothingFunction ----------------------------------------------------------------------------------

const TClassInfo& TSmoothingFunction::StaticClassInfo()
{
    using P = TProps<TSmoothingFunction>;
    static const TClassInfo info(
        {.Name = "TSmoothingFunction",
         .Parent = &TLumFunction::StaticClassInfo(),
         .Properties = {P::Integer("Factor", &TSmoothingFunction::Factor, &TSmoothingFunction::SetFactor).Default(4),
                        P::Boolean("Interpolate", &TSmoothingFunction::Interpolate,
                                   &TSmoothingFunction::SetInterpolate)
                            .Default(true)},
         .Create = &CreateComponentOf<TSmoothingFunction>});
    return info;
}

TSmoothingFunction::TSmoothingFunction(TComponent* AOwner) : TLumFunction(AOwner)
{
    SetCanUsePeriod(false);
    SetSingleSource(true);
    InitPeriod(1.0);
}

void TSmoothingFunction::SetInterpolate(bool Value)
{
    if (Value == FInterpolate) return;
    FInterpolate = Value;
    RefreshParentSeries();
}

void TSmoothingFunction::SetFactor(int Value)
{
    Value = std::max(1, Value);
    if (Value == FFactor) return;
    FFactor = Value;
    RefreshParentSeries();
}

void TSmoothingFunction::PrepareParentOrder(TChartSeries& Parent, const TChartSeries& Source) const
{
    if (Parent.Has3DValues() && dynamic_cast<const TCustom3DSeries*>(&Parent)) return;
    if (Parent.YMandatory() == Source.YMandatory()) {
        Parent.OtherValues().SetOrder(loAscending);
        Parent.MandatoryValues().SetOrder(loNone);
        Parent.SetOrderedRange(true);
    } else {
        Parent.OtherValues().SetOrder(loNone);
        Parent.MandatoryValues().SetOrder(loAscending);
        Parent.SetOrderedRange(false);
    }
}

void TSmoothingFunction::CalculateFromSources(TChartSeries* Source)
{
    TChartSeries* parent = ParentSeries();
    if (Suspended() || !Source || !parent) return;
    parent->ClearPoints();
    PrepareParentOrder(*parent, *Source);
    const int count = Source->PointCount();
    // One point has no curve: the parent stays empty rather than holding points at (0, 0).
    if (count < 2) return;
    const TChartValueList& values = PickSourceValues(*Source);
    const bool vertical = parent->YMandatory();
    TBSpline spline;
    for (int i = 0; i < count; ++i) {
        const double x = Source->XValues().ValueAt(i);
        const double v = values.ValueAt(i);
        if (vertical)
            spline.AddPoint(x, v);
        else
            spline.AddPoint(v, x);
        spline.SetKnuckle(i, false);
    }
    spline.SetInterpolated(FInterpolate);
    spline.SetFragments(static_cast<int>(std::min<long long>(static_cast<long long>(count) * FFactor, MaxFragments)));
    const int fragments = spline.Fragments();
    for (int k = 0; k <= fragments; ++k) {
        const T2DPoint p = spline.EvaluateAt(fragments > 0 ? static_cast<double>(k) / fragments : 0.0);
        if (vertical)
            parent->InsertPoint(p.X, p.Y, {}, clDefault);
        else
            parent->InsertPoint(p.Y, p.X, {}, clDefault);
    }
}

// ---- Registration ----------------------------------------------------------------------------------------

void LumSplineInitialization()
{
    RegisterFunction(TSmoothingFunction::StaticClassInfo(), LumProCo::Smoothing, LumConst::GalleryExtended, 1);
}

void LumSplineFinalization() { UnregisterFunctionClasses({&TSmoothingFunction::StaticClassInfo()}); }
