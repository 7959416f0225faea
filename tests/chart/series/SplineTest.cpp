// The B-spline against values worked out by hand and against a dense solve of its interpolation system,
// and the smoothing function on line series: point counts, the factor's lower bound, one-point sources,
// horizontal parents and its registration.
#include "SeriesTestSupport.h"

#include "chart/control/ChartRegistry.h"
#include "chart/series/LumSpline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using TPts = std::vector<T2DPoint>;

TBSpline SplineOf(const TPts& Points, bool Interpolated, const std::vector<int>& Knuckles = {})
{
    TBSpline s;
    for (const T2DPoint& p : Points) s.AddPoint(p.X, p.Y);
    for (int k : Knuckles) s.SetKnuckle(k, true);
    s.SetInterpolated(Interpolated);
    return s;
}

void ExpectNear(const T2DPoint& Got, const T2DPoint& Want, double Tolerance, const std::string& What)
{
    EXPECT_NEAR(Got.X, Want.X, Tolerance) << What;
    EXPECT_NEAR(Got.Y, Want.Y, Tolerance) << What;
}

const TPts Wave{{0, 0}, {1, 2}, {2.5, -1}, {3, 4}, {5, 3}, {6, -2}, {8, 0.5}};

// The interpolation system as a full square matrix, filled and eliminated row by row without pivoting.
TPts DenseInterpolation(const TPts& Vertices, int N)
{
    std::vector<std::vector<double>> a(N + 1, std::vector<double>(N + 1, 0.0));
    for (int i = 2; i <= N - 1; ++i) {
        a[i][i - 1] = 1.0 / 6;
        a[i][i] = 2.0 / 3;
        a[i][i + 1] = 1.0 / 6;
    }
    a[1][1] = 1;
    a[N][N] = 1;
    for (int i = 3; i < N - 1;) {
        auto same = [&](int p, int q) {
            return std::fabs(Vertices[p].X - Vertices[q].X) < 1e-5 && std::fabs(Vertices[p].Y - Vertices[q].Y) < 1e-5;
        };
        if (same(i - 1, i) && same(i, i + 1)) {
            for (int r = i - 1; r <= i + 1; ++r) {
                std::fill(a[r].begin(), a[r].end(), 0.0);
                a[r][r] = 1;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    TPts b = Vertices;
    for (int i = 1; i <= N; ++i)
        for (int j = i + 1; j <= N; ++j) {
            const double f = a[j][i] / a[i][i];
            for (int k = i; k <= N; ++k) a[j][k] -= f * a[i][k];
            b[j].X -= f * b[i].X;
            b[j].Y -= f * b[i].Y;
        }
    TPts x(Vertices.size());
    for (int i = N; i >= 1; --i) {
        double sx = 0, sy = 0;
        for (int k = i + 1; k <= N; ++k) {
            sx += a[i][k] * x[k].X;
            sy += a[i][k] * x[k].Y;
        }
        x[i] = {(b[i].X - sx) / a[i][i], (b[i].Y - sy) / a[i][i]};
    }
    return x;
}

} // namespace

TEST(BSpline, FewerThanTwoPointsGiveTheOrigin)
{
    TBSpline none;
    EXPECT_EQ(none.VertexCount(), 0);
    TBSpline one = SplineOf({{3, 4}}, true);
    for (double t : {0.0, 0.5, 1.0}) EXPECT_EQ(one.EvaluateAt(t), (T2DPoint{0, 0})) << t;
    EXPECT_EQ(one.VertexCount(), 0);
}

TEST(BSpline, TwoPointsGiveTheStraightSegment)
{
    for (bool interpolated : {false, true}) {
        TBSpline s = SplineOf({{1, 2}, {5, -6}}, interpolated);
        EXPECT_EQ(s.VertexCount(), 2);
        for (double t : {0.0, 0.1, 0.25, 0.5, 0.8, 1.0})
            ExpectNear(s.EvaluateAt(t), {1 + 4 * t, 2 - 8 * t}, 1e-12, "t " + std::to_string(t));
    }
}

TEST(BSpline, FragmentsAreCappedAboveOnly)
{
    const struct {
        int given, kept;
    } cases[] = {{1000, 600}, {601, 600}, {600, 600}, {40, 40}, {0, 0}, {-5, -5}};
    for (const auto& c : cases) {
        TBSpline s;
        EXPECT_EQ(s.Fragments(), 100);
        s.SetFragments(c.given);
        EXPECT_EQ(s.Fragments(), c.kept) << c.given;
    }
}

TEST(BSpline, EndsAndControlPointsInBothModes)
{
    const int n = static_cast<int>(Wave.size());
    for (bool interpolated : {false, true}) {
        TBSpline s = SplineOf(Wave, interpolated);
        const std::string mode = interpolated ? "interpolating" : "approximating";
        ExpectNear(s.EvaluateAt(0), Wave.front(), 1e-12, mode + " start");
        ExpectNear(s.EvaluateAt(1), Wave.back(), 1e-12, mode + " end");
        for (int k = 1; k < n - 1; ++k) {
            const double t = static_cast<double>(k) / (n - 1);
            // Approximating: the basis weighs the vertex 2/3 and its neighbours 1/6 each.
            const T2DPoint want = interpolated ? Wave[k]
                                               : T2DPoint{(Wave[k - 1].X + 4 * Wave[k].X + Wave[k + 1].X) / 6,
                                                          (Wave[k - 1].Y + 4 * Wave[k].Y + Wave[k + 1].Y) / 6};
            ExpectNear(s.EvaluateAt(t), want, 1e-9, mode + " point " + std::to_string(k));
        }
    }
}

TEST(BSpline, KnuckleGivesThreeVerticesAndACorner)
{
    const TPts points{{0, 0}, {2, 0}, {4, 0}, {4, 3}, {4, 6}};
    for (bool interpolated : {false, true}) {
        TBSpline s = SplineOf(points, interpolated, {3});
        const std::string mode = interpolated ? "interpolating" : "approximating";
        ASSERT_EQ(s.VertexCount(), 7) << mode;
        const TPts& v = s.Vertices();
        // The tripled vertex keeps its place (identity rows when interpolating).
        for (int i = 3; i <= 5; ++i) EXPECT_EQ(v[i], points[2]) << mode << " vertex " << i;
        // The middle copy sits at u = 4: the curve passes through the corner, arriving along y = 0 and
        // leaving along x = 4.
        const double du = 0.3;
        ExpectNear(s.EvaluateAt(3.0 / 6), points[2], 1e-12, mode + " corner");
        EXPECT_NEAR(s.EvaluateAt((3.0 - du) / 6).Y, 0, 1e-12) << mode;
        EXPECT_NEAR(s.EvaluateAt((3.0 + du) / 6).X, 4, 1e-12) << mode;
    }
    // The first and the last point never count as knuckles.
    TBSpline ends = SplineOf(points, false, {1, 5});
    EXPECT_FALSE(ends.IsKnuckle(1));
    EXPECT_FALSE(ends.IsKnuckle(5));
    EXPECT_EQ(ends.VertexCount(), 5);
}

TEST(BSpline, GrowthClearsKnuckles)
{
    TBSpline s;
    for (int i = 0; i < 25; ++i) s.AddPoint(i, i % 3);
    EXPECT_EQ(s.Capacity(), 25);
    s.SetKnuckle(7, true);
    EXPECT_TRUE(s.IsKnuckle(7));
    EXPECT_EQ(s.VertexCount(), 27);
    s.AddPoint(25, 0);
    EXPECT_EQ(s.Capacity(), 50);
    EXPECT_FALSE(s.IsKnuckle(7));
    EXPECT_EQ(s.VertexCount(), 26);
    // Out-of-range indexes are ignored.
    s.SetKnuckle(-1, true);
    s.SetKnuckle(500, true);
    EXPECT_FALSE(s.IsKnuckle(500));
}

TEST(BSpline, BandSolveEqualsDenseEliminationBitForBit)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-100, 100);
    for (int n : {3, 4, 9, 40}) {
        for (bool knuckles : {false, true}) {
            TPts points;
            for (int i = 0; i < n; ++i) points.push_back({coord(rng), coord(rng)});
            std::vector<int> flags;
            if (knuckles)
                for (int k = 2; k < n; k += 3) flags.push_back(k);
            TBSpline copy = SplineOf(points, false, flags);
            TPts vertices = copy.Vertices(); // the copied (and tripled) control points
            const int count = copy.VertexCount();
            const TPts want = DenseInterpolation(vertices, count);
            TBSpline s = SplineOf(points, true, flags);
            const TPts& got = s.Vertices();
            for (int i = 1; i <= count; ++i) {
                EXPECT_EQ(got[i].X, want[i].X) << n << " " << knuckles << " vertex " << i;
                EXPECT_EQ(got[i].Y, want[i].Y) << n << " " << knuckles << " vertex " << i;
            }
        }
    }
}

// ---- Smoothing ---------------------------------------------------------------------------------------------

namespace {

struct TSmoothed {
    TSeriesBench Bench;
    TLineSeries* Source;
    TChartSeries* Parent;
    TSmoothingFunction* Function;

    template <class TParent = TLineSeries>
    static std::unique_ptr<TSmoothed> Make(int Count, int Factor = 4)
    {
        auto s = std::make_unique<TSmoothed>();
        std::vector<double> ys;
        for (int i = 0; i < Count; ++i) ys.push_back(std::sin(i * 0.7) * 10);
        s->Source = &s->Bench.Add<TLineSeries>(ys);
        s->Parent = &s->Bench.Add<TParent>();
        s->Function = new TSmoothingFunction(nullptr);
        s->Function->SetFactor(Factor);
        s->Parent->AttachFunction(s->Function);
        s->Parent->SetDataSource(s->Source);
        return s;
    }
};

} // namespace

TEST(SmoothingFunction, PointCounts)
{
    const struct {
        int sourcePoints, factor, parentPoints;
    } cases[] = {{10, 4, 41}, {200, 4, 601}, {2, 1, 3}, {1, 4, 0}, {0, 4, 0}};
    for (const auto& c : cases) {
        auto s = TSmoothed::Make(c.sourcePoints, c.factor);
        EXPECT_EQ(s->Parent->PointCount(), c.parentPoints) << c.sourcePoints << " x " << c.factor;
    }
}

TEST(SmoothingFunction, InterpolatingCurvePassesTheSourcePoints)
{
    // 4 source points, 12 fragments: source point i is curve point 4 i (t = i / 3).
    auto s = TSmoothed::Make(4, 3);
    EXPECT_TRUE(s->Function->Interpolate());
    ASSERT_EQ(s->Parent->PointCount(), 13);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(s->Parent->XValues().ValueAt(4 * i), s->Source->XValues().ValueAt(i), 1e-9) << i;
        EXPECT_NEAR(s->Parent->YValues().ValueAt(4 * i), s->Source->YValues().ValueAt(i), 1e-9) << i;
    }
    // Switching the mode recomputes: inner source points are now only approached.
    s->Function->SetInterpolate(false);
    EXPECT_EQ(s->Parent->PointCount(), 13);
    EXPECT_GT(std::fabs(s->Parent->YValues().ValueAt(4) - s->Source->YValues().ValueAt(1)), 0.1);
}

TEST(SmoothingFunction, FactorBelowOneIsStoredAsOne)
{
    auto s = TSmoothed::Make(10, 4);
    s->Function->SetFactor(0);
    EXPECT_EQ(s->Function->Factor(), 1);
    EXPECT_EQ(s->Parent->PointCount(), 11);
    s->Function->SetFactor(-3);
    EXPECT_EQ(s->Function->Factor(), 1);
    TSmoothingFunction fresh(nullptr);
    EXPECT_EQ(fresh.EditorFormName(), "TSmoothFuncEditor");
    EXPECT_FALSE(fresh.CanUsePeriod());
    EXPECT_TRUE(fresh.SingleSource());
    EXPECT_EQ(fresh.Period(), 1.0);
}

TEST(SmoothingFunction, HorizontalParentDrawsTheSameCurve)
{
    auto vertical = TSmoothed::Make(12, 3);
    auto horizontal = TSmoothed::Make<THorizLineSeries>(12, 3);
    ASSERT_EQ(horizontal->Parent->PointCount(), vertical->Parent->PointCount());
    // The spline takes (value, x) and hands the point back swapped, so both parents hold the same points;
    // the horizontal parent's mandatory X list is the ordered one.
    EXPECT_EQ(horizontal->Parent->MandatoryValues().Order(), loAscending);
    EXPECT_EQ(horizontal->Parent->OtherValues().Order(), loNone);
    EXPECT_FALSE(horizontal->Parent->OrderedRange());
    EXPECT_TRUE(vertical->Parent->OrderedRange());
    for (int i = 0; i < vertical->Parent->PointCount(); ++i) {
        EXPECT_NEAR(horizontal->Parent->XValues().ValueAt(i), vertical->Parent->XValues().ValueAt(i), 1e-9) << i;
        EXPECT_NEAR(horizontal->Parent->YValues().ValueAt(i), vertical->Parent->YValues().ValueAt(i), 1e-9) << i;
    }
}

TEST(SmoothingFunction, RegisteredOnTheExtendedPage)
{
    ASSERT_NE(LumSeriesTypes(), nullptr);
    const TLumSeriesType* entry = LumSeriesTypes()->FindEntry(nullptr, &TSmoothingFunction::StaticClassInfo());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Caption, "Smoothing");
    EXPECT_EQ(entry->Page, "Extended");
    EXPECT_EQ(entry->GallerySeriesCount, 1);
}
