// The triangulated surface: small cases as a table, the properties of triangulations of seeded random
// sets and a lattice, equality with a literal reference implementation of the steps (quadratic searches,
// selection order, rotated border list, backward triangle search), and the series' back-to-front paint
// with its click test.
#include "SeriesTestSupport.h"

#include "chart/series/LumTriSurface.h"
#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>

namespace {

// ---- A literal reference of the steps ------------------------------------------------------------------------

struct TReference {
    std::vector<int> Triangles; // numbers, three per triangle
    std::vector<int> Borders;   // first, second, triangle per line
    std::vector<int> PointOf;
};

TReference LiteralTriangulation(const std::vector<double>& X, const std::vector<double>& Z, bool Improve = true)
{
    const double ratio = 1e-6;
    int n = static_cast<int>(X.size());
    std::vector<double> x(n + 1), z(n + 1);
    std::vector<int> pointOf(n + 1);
    for (int k = 1; k <= n; ++k) {
        pointOf[k] = k < n ? k : 0;
        x[k] = X[pointOf[k]];
        z[k] = Z[pointOf[k]];
    }
    auto dist = [&](int a, int b) { return (x[a] - x[b]) * (x[a] - x[b]) + (z[a] - z[b]) * (z[a] - z[b]); };
    TReference r;
    // 1. Closest pair, duplicates dropped.
    double dmin = dist(1, 2);
    int pa = 1, pb = 2;
    for (int a = 1; a <= n - 1; ++a)
        for (int b = a + 1; b <= n;) {
            const double d = dist(a, b);
            if (d == 0) {
                x[b] = x[n];
                z[b] = z[n];
                pointOf[b] = pointOf[n];
                --n;
                continue;
            }
            if (d < dmin) {
                dmin = d;
                pa = a;
                pb = b;
            }
            ++b;
        }
    if (n < 3) return r;
    // 2. Order by distance from the pair's midpoint, selection sort.
    std::vector<int> order(n + 1);
    std::vector<double> dd(n + 1);
    order[1] = pa;
    order[2] = pb;
    const double mx = (x[pa] + x[pb]) / 2, mz = (z[pa] + z[pb]) / 2;
    for (int k = 1, p = 3; k <= n; ++k)
        if (k != pa && k != pb) {
            order[p] = k;
            dd[p] = (x[k] - mx) * (x[k] - mx) + (z[k] - mz) * (z[k] - mz);
            ++p;
        }
    for (int p = 3; p <= n - 1; ++p) {
        int m = p;
        for (int q = p + 1; q <= n; ++q)
            if (dd[q] < dd[m]) m = q;
        std::swap(order[p], order[m]);
        std::swap(dd[p], dd[m]);
    }
    // 3. Collinearity.
    {
        const int q1 = order[1];
        const double dx = x[order[2]] - x[q1], dz = z[order[2]] - z[q1], ar = ratio * dmin;
        int p = 3;
        while (p <= n && !(std::abs((z[order[p]] - z[q1]) * dx - (x[order[p]] - x[q1]) * dz) > ar)) ++p;
        if (p > n) p = n;
        if (p > 3) {
            const int moved = order[p];
            for (int k = p; k > 3; --k) order[k] = order[k - 1];
            order[3] = moved;
        }
    }
    auto side = [&](int p1, int p2, int p3) {
        return (z[p3] - z[p1]) * (x[p2] - x[p1]) - (x[p3] - x[p1]) * (z[p2] - z[p1]);
    };
    auto exchange = [&](int p1, int p2, int p3, int p4) {
        const double a[2] = {x[p1], z[p1]}, b[2] = {x[p2], z[p2]}, c[2] = {x[p3], z[p3]}, d[2] = {x[p4], z[p4]};
        return TriangleExchangeWanted(a, b, c, d);
    };
    // 4. First triangle.
    std::vector<int> tri(3); // triangle t at 3t .. 3t + 2
    std::vector<int> l1s(1), l2s(1), lts(1);
    int a = order[1], b = order[2];
    const int c = order[3];
    if (side(a, b, c) < 0) std::swap(a, b);
    tri.insert(tri.end(), {a, b, c});
    int nt = 1;
    l1s.insert(l1s.end(), {a, b, c});
    l2s.insert(l2s.end(), {b, c, a});
    lts.insert(lts.end(), {1, 1, 1});
    int count = 3;
    auto third = [&](int t, int u, int w) {
        for (int k = 0; k < 3; ++k)
            if (tri[3 * t + k] != u && tri[3 * t + k] != w) return tri[3 * t + k];
        return tri[3 * t];
    };
    // 5. Further points.
    for (int j = 4; j <= n; ++j) {
        const int p = order[j];
        int mn = 1, mxl = 1;
        double dxmn = x[l1s[1]] - x[p], dzmn = z[l1s[1]] - z[p];
        double dmn = dxmn * dxmn + dzmn * dzmn, armn = ratio * dmn;
        double dxmx = dxmn, dzmx = dzmn, dmx = dmn, armx = armn;
        for (int s = 2; s <= count; ++s) {
            const double dx = x[l1s[s]] - x[p], dz = z[l1s[s]] - z[p], d = dx * dx + dz * dz;
            double ar = dz * dxmn - dx * dzmn;
            if (!(ar > armn || (ar >= -armn && d >= dmn))) {
                mn = s;
                dxmn = dx;
                dzmn = dz;
                dmn = d;
                armn = ratio * d;
            }
            ar = dz * dxmx - dx * dzmx;
            if (!(ar < -armx || (ar <= armx && d >= dmx))) {
                mxl = s;
                dxmx = dx;
                dzmx = dz;
                dmx = d;
                armx = ratio * d;
            }
        }
        if (mxl < mn) mxl += count;
        if (mn > 1) {
            std::vector<int> n1(count + 1), n2(count + 1), nt3(count + 1);
            for (int s = 1; s <= count; ++s) {
                const int from = (s - 1 + mn - 1) % count + 1;
                n1[s] = l1s[from];
                n2[s] = l2s[from];
                nt3[s] = lts[from];
            }
            l1s = n1;
            l2s = n2;
            lts = nt3;
            mxl -= mn - 1;
        }
        l1s.resize(count + 2);
        l2s.resize(count + 2);
        lts.resize(count + 2);
        std::vector<std::pair<int, int>> flags;
        const int last = count;
        for (int s = mxl; s <= last; ++s) {
            const int l1 = l1s[s], l2 = l2s[s], t = lts[s];
            const int tn = ++nt;
            tri.insert(tri.end(), {l2, l1, p});
            if (s == mxl) {
                l2s[s] = p;
                lts[s] = tn;
            }
            if (s == last) {
                l1s[mxl + 1] = p;
                l2s[mxl + 1] = l1s[1];
                lts[mxl + 1] = tn;
            }
            const int v = third(t, l1, l2);
            if (exchange(p, v, l1, l2)) {
                tri[3 * t] = v;
                tri[3 * t + 1] = l1;
                tri[3 * t + 2] = p;
                tri[3 * tn + 1] = v;
                if (s == mxl) lts[s] = t;
                if (s == last && lts[1] == t) lts[1] = tn;
                flags.push_back({l1, v});
                flags.push_back({v, l2});
            }
        }
        count = mxl + 1;
        if (!Improve) continue;
        for (int pass = 0; pass < 100 && !flags.empty(); ++pass) {
            std::vector<std::pair<int, int>> next;
            for (const auto& [u, w] : flags) {
                int t1 = 0, t2 = 0;
                for (int t = nt; t >= 1 && !t2; --t) {
                    const int* q = &tri[3 * t];
                    const bool hu = q[0] == u || q[1] == u || q[2] == u, hw = q[0] == w || q[1] == w || q[2] == w;
                    if (hu && hw) (t1 ? t2 : t1) = t;
                }
                if (!t2) continue;
                const int o1 = third(t1, u, w), o2 = third(t2, u, w);
                if (!exchange(o1, o2, u, w)) continue;
                tri[3 * t1] = o1;
                tri[3 * t1 + 1] = o2;
                tri[3 * t1 + 2] = u;
                tri[3 * t2] = o2;
                tri[3 * t2 + 1] = o1;
                tri[3 * t2 + 2] = w;
                next.insert(next.end(), {{u, o1}, {o1, w}, {w, o2}, {o2, u}});
                for (int s = 1; s <= count; ++s) {
                    if ((l1s[s] == u && l2s[s] == o2) || (l1s[s] == o2 && l2s[s] == u)) lts[s] = t1;
                    if ((l1s[s] == w && l2s[s] == o1) || (l1s[s] == o1 && l2s[s] == w)) lts[s] = t2;
                }
            }
            flags = next;
        }
    }
    r.Triangles.assign(tri.begin() + 3, tri.end());
    for (int s = 1; s <= count; ++s) r.Borders.insert(r.Borders.end(), {l1s[s], l2s[s], lts[s]});
    pointOf.resize(n + 1);
    r.PointOf = pointOf;
    return r;
}

// ---- Geometry of a triangulation -----------------------------------------------------------------------------

struct TPoints {
    std::vector<double> X, Z;
};

TPoints RandomPoints(int Count, unsigned Seed)
{
    std::mt19937 rng(Seed);
    std::uniform_real_distribution<double> u(-100, 100);
    TPoints p;
    for (int i = 0; i < Count; ++i) {
        p.X.push_back(u(rng));
        p.Z.push_back(u(rng));
    }
    return p;
}

double SignedArea(const TPoints& P, int A, int B, int C)
{
    return 0.5 * ((P.X[B] - P.X[A]) * (P.Z[C] - P.Z[A]) - (P.Z[B] - P.Z[A]) * (P.X[C] - P.X[A]));
}

// The convex hull's vertices (counter-clockwise, no collinear ones) and area.
std::vector<int> Hull(const TPoints& P)
{
    std::vector<int> idx(P.X.size());
    for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<int>(i);
    std::sort(idx.begin(), idx.end(), [&](int a, int b) { return P.X[a] != P.X[b] ? P.X[a] < P.X[b] : P.Z[a] < P.Z[b]; });
    std::vector<int> h(2 * idx.size());
    std::size_t k = 0;
    for (int i : idx) {
        while (k >= 2 && SignedArea(P, h[k - 2], h[k - 1], i) <= 0) --k;
        h[k++] = i;
    }
    for (std::size_t i = idx.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && SignedArea(P, h[k - 2], h[k - 1], idx[i]) <= 0) --k;
        h[k++] = idx[i];
    }
    h.resize(k - 1);
    return h;
}

double HullArea(const TPoints& P)
{
    const std::vector<int> h = Hull(P);
    double a = 0;
    for (std::size_t i = 1; i + 1 < h.size(); ++i) a += SignedArea(P, h[0], h[i], h[i + 1]);
    return a;
}

// Every triangle has area, no edge lies in more than two triangles, the areas sum to the hull's; the
// border lines are the hull's edges when Hull is set.
void ExpectSoundTriangulation(const TPoints& P, const TTriangulation& T, bool BorderIsHull)
{
    std::map<std::pair<int, int>, int> edgeUse;
    double area = 0;
    int flat = 0;
    for (int t = 1; t <= T.TriangleCount(); ++t) {
        const int a = T.TrianglePoint(t, 0), b = T.TrianglePoint(t, 1), c = T.TrianglePoint(t, 2);
        const double s = SignedArea(P, a, b, c);
        flat += s == 0;
        area += std::abs(s);
        for (auto [u, w] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}}) ++edgeUse[{std::min(u, w), std::max(u, w)}];
    }
    EXPECT_EQ(flat, 0) << "triangles without area";
    int overused = 0;
    for (const auto& [edge, uses] : edgeUse) overused += uses > 2;
    EXPECT_EQ(overused, 0) << "edges in more than two triangles";
    const double hull = HullArea(P);
    EXPECT_NEAR(area, hull, 1e-9 * hull);
    if (!BorderIsHull) return;
    // Compared by position: a duplicate may stand for its twin.
    using TPos = std::pair<double, double>;
    auto edge = [&](int u, int w) {
        const TPos a{P.X[u], P.Z[u]}, b{P.X[w], P.Z[w]};
        return std::pair{std::min(a, b), std::max(a, b)};
    };
    std::set<std::pair<TPos, TPos>> border, hullEdges;
    for (int s = 0; s < T.BorderCount(); ++s) border.insert(edge(T.PointOf[T.Borders[3 * s]], T.PointOf[T.Borders[3 * s + 1]]));
    const std::vector<int> h = Hull(P);
    for (std::size_t i = 0; i < h.size(); ++i) hullEdges.insert(edge(h[i], h[(i + 1) % h.size()]));
    EXPECT_EQ(border, hullEdges);
}

} // namespace

// ---- Small cases ---------------------------------------------------------------------------------------------

TEST(Triangulation, SmallCases)
{
    {
        SCOPED_TRACE("three points");
        const TPoints p{{0, 4, 1}, {0, 1, 3}};
        const TTriangulation t = TriangulatePoints(p.X, p.Z);
        ASSERT_EQ(t.TriangleCount(), 1);
        EXPECT_GE(SignedArea(p, t.TrianglePoint(1, 0), t.TrianglePoint(1, 1), t.TrianglePoint(1, 2)), 0) << "SIDE not negative";
        ASSERT_EQ(t.BorderCount(), 3);
        const std::vector<int>& tri = t.Triangles;
        EXPECT_EQ(t.Borders, (std::vector<int>{tri[0], tri[1], 1, tri[1], tri[2], 1, tri[2], tri[0], 1}));
    }
    {
        SCOPED_TRACE("a square");
        const TPoints p{{0, 1, 1, 0}, {0, 0, 1, 1}};
        const TTriangulation t = TriangulatePoints(p.X, p.Z);
        ASSERT_EQ(t.TriangleCount(), 2);
        ExpectSoundTriangulation(p, t, true);
        // Both diagonals measure the same: the strict test keeps the one there.
        const double a[2] = {0, 0}, b[2] = {1, 0}, c[2] = {1, 1}, d[2] = {0, 1};
        EXPECT_FALSE(TriangleExchangeWanted(a, c, b, d));
        EXPECT_FALSE(TriangleExchangeWanted(b, d, a, c));
    }
    {
        SCOPED_TRACE("two of four at one position");
        const TPoints p{{0, 2, 2, 1}, {0, 0, 0, 2}};
        const TTriangulation t = TriangulatePoints(p.X, p.Z);
        ASSERT_EQ(t.TriangleCount(), 1);
        std::set<std::pair<double, double>> corners;
        for (int k = 0; k < 3; ++k) corners.insert({p.X[t.TrianglePoint(1, k)], p.Z[t.TrianglePoint(1, k)]});
        EXPECT_EQ(corners.size(), 3u);
    }
    {
        SCOPED_TRACE("two points, and three at two positions");
        EXPECT_EQ(TriangulatePoints(std::vector<double>{0, 1}, std::vector<double>{0, 1}).TriangleCount(), 0);
        EXPECT_EQ(TriangulatePoints(std::vector<double>{0, 1, 0}, std::vector<double>{0, 1, 0}).TriangleCount(), 0);
    }
    {
        SCOPED_TRACE("all on one line");
        TPoints p;
        for (int i = 0; i < 40; ++i) {
            p.X.push_back((i * 7) % 40);
            p.Z.push_back(2 * ((i * 7) % 40) + 1);
        }
        const TTriangulation t = TriangulatePoints(p.X, p.Z);
        for (int k = 1; k <= t.TriangleCount(); ++k)
            EXPECT_EQ(SignedArea(p, t.TrianglePoint(k, 0), t.TrianglePoint(k, 1), t.TrianglePoint(k, 2)), 0);
    }
    {
        SCOPED_TRACE("three on a line and one off it");
        const TPoints p{{0, 1, 2, 1}, {0, 0, 0, 1}};
        const TTriangulation t = TriangulatePoints(p.X, p.Z);
        EXPECT_EQ(t.TriangleCount(), 2);
        ExpectSoundTriangulation(p, t, false);
    }
}

TEST(Triangulation, DuplicatesMapToTheirSeriesPoints)
{
    // Every point doubled (and some tripled): the triangles still use each position once, through the
    // numbers' table, and the result equals the reference.
    TPoints p = RandomPoints(60, 7);
    for (int i = 0; i < 60; i += 2) {
        p.X.push_back(p.X[i]);
        p.Z.push_back(p.Z[i]);
    }
    for (int i = 0; i < 60; i += 5) {
        p.X.insert(p.X.begin() + i, p.X[i]);
        p.Z.insert(p.Z.begin() + i, p.Z[i]);
    }
    const TTriangulation t = TriangulatePoints(p.X, p.Z);
    std::set<std::pair<double, double>> used;
    for (int k = 1; k < static_cast<int>(t.PointOf.size()); ++k) used.insert({p.X[t.PointOf[k]], p.Z[t.PointOf[k]]});
    EXPECT_EQ(used.size(), t.PointOf.size() - 1) << "one number per position";
    EXPECT_EQ(used.size(), 60u);
    ExpectSoundTriangulation(p, t, true);
    const TReference r = LiteralTriangulation(p.X, p.Z);
    EXPECT_EQ(t.PointOf, r.PointOf);
}

TEST(Triangulation, RandomSetsAreSound)
{
    for (int n : {10, 100, 1000, 5000, 20000})
        for (unsigned seed : {1u, 2u}) {
            SCOPED_TRACE(::testing::Message() << n << " points, seed " << seed);
            const TPoints p = RandomPoints(n, seed);
            ExpectSoundTriangulation(p, TriangulatePoints(p.X, p.Z), true);
        }
}

TEST(Triangulation, LatticeCoversTheSquare)
{
    TPoints p;
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) {
            p.X.push_back(i);
            p.Z.push_back(j);
        }
    const TTriangulation t = TriangulatePoints(p.X, p.Z);
    double area = 0;
    for (int k = 1; k <= t.TriangleCount(); ++k)
        area += std::abs(SignedArea(p, t.TrianglePoint(k, 0), t.TrianglePoint(k, 1), t.TrianglePoint(k, 2)));
    EXPECT_NEAR(area, 99.0 * 99.0, 1e-6);
}

TEST(Triangulation, EqualsTheLiteralSteps)
{
    for (int n : {3, 4, 5, 8, 20, 50, 200, 700, 2000})
        for (unsigned seed : {11u, 12u, 13u}) {
            SCOPED_TRACE(::testing::Message() << n << " points, seed " << seed);
            const TPoints p = RandomPoints(n, seed);
            for (bool improve : {true, false}) {
                const TTriangulation t = TriangulatePoints(p.X, p.Z, improve);
                const TReference r = LiteralTriangulation(p.X, p.Z, improve);
                EXPECT_EQ(t.Triangles, r.Triangles) << (improve ? "improved" : "without exchange passes");
                EXPECT_EQ(t.Borders, r.Borders);
                EXPECT_EQ(t.PointOf, r.PointOf);
            }
        }
}

// ---- The series ----------------------------------------------------------------------------------------------

TEST(TriSurfaceSeries, FewerThanThreePointsDrawNothing)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TTriSurfaceSeries>();
    s.AppendXYZ(1, 1, 1);
    s.AppendXYZ(5, 5, 5);
    (void)b.Render();
    EXPECT_EQ(s.TriangleCount(), 0);
    EXPECT_EQ(s.PointAtPixel(PixelX(3), PixelY(3)), -1);
    TTriSurfaceSeries sample(nullptr);
    sample.AddRandomSampleValues(1, false);
    EXPECT_EQ(sample.PointCount(), 3);
    EXPECT_EQ(sample.EditorFormName(), "TTriSurfaceSeriesEditor");
}

TEST(TriSurfaceSeries, HiddenTrianglesNearestOnTopAndClickedFirst)
{
    TSeriesBench b;
    b.Chart.SetAxisVisible(false);
    b.Chart.SetView3D(true);
    b.Chart.View3DOptions().SetOrthogonal(true);
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TTriSurfaceSeries>();
    s.Pen().SetVisible(false);
    s.SetColorEachPoint(false);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0, 10);
    for (int i = 0; i < 40; ++i) s.AppendXYZWithLabel(u(rng), u(rng), u(rng), {}, static_cast<TColor>(0x10000 * i + 0x300 * i + 5 * i));
    const auto bitmap = b.Render();
    const std::vector<int>& order = s.DrawnOrder();
    ASSERT_EQ(static_cast<int>(order.size()), s.TriangleCount());
    const TTriangulation& t = s.Triangulation();
    auto key = [&](int tri) {
        double k = -1e300;
        for (int v = 0; v < 3; ++v) k = std::max(k, s.ZValues().ValueAt(t.TrianglePoint(tri, v)));
        return k;
    };
    for (std::size_t i = 1; i < order.size(); ++i) EXPECT_GE(key(order[i - 1]), key(order[i])) << "far to near";
    // Pixels covered by several triangles: the click answers the one drawn last, whose colour shows.
    TCanvas3D& canvas = b.Chart.ChartCanvas();
    auto projected = [&](int tri) {
        std::array<TPoint, 3> p;
        for (int v = 0; v < 3; ++v) {
            const int point = t.TrianglePoint(tri, v);
            p[v] = canvas.ProjectXYZ(s.ScreenXOf(point), s.ScreenYOf(point), s.ZScreenPosition(point));
        }
        return p;
    };
    int checked = 0;
    for (int y = 20; y < 320 && checked < 40; y += 7)
        for (int x = 40; x < 440 && checked < 40; x += 7) {
            std::vector<int> covering;
            for (int tri : order)
                if (PolygonContainsPoint({x, y}, projected(tri), 2)) covering.push_back(tri);
            if (covering.size() < 2) continue;
            ++checked;
            EXPECT_EQ(s.PointAtPixel(x, y), covering.back()) << x << ", " << y;
            EXPECT_EQ(bitmap->PixelRGB(x, y), s.PointColor(t.TrianglePoint(covering.back(), 0))) << x << ", " << y;
        }
    EXPECT_GT(checked, 5);
    // In list order the first triangle by number answers.
    s.SetHideTriangles(false);
    (void)b.Render();
    EXPECT_TRUE(s.DrawnOrder().empty());
    for (int tri = 1; tri <= s.TriangleCount(); ++tri) {
        const auto p = projected(tri);
        const TPoint c{(p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3};
        if (!PolygonContainsPoint(c, p, 2)) continue;
        const int hit = s.PointAtPixel(c.x, c.y);
        EXPECT_LE(hit, tri);
        EXPECT_GE(hit, 1);
    }
}

TEST(TriSurfaceSeries, BorderLinesRunRoundTheHull)
{
    TSeriesBench b;
    b.Chart.SetAxisVisible(false);
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TTriSurfaceSeries>();
    s.Brush().SetStyle(bsClear);
    s.Pen().SetVisible(false);
    s.Border().SetVisible(true);
    s.Border().SetColor(clRed);
    // In a flat chart X runs across and Y up; Z only triangulates.
    const double pts[][3] = {{2, 2, 0}, {8, 2, 1}, {8, 8, 2}, {2, 8, 3}, {5, 5, 1.5}};
    for (const auto& q : pts) s.AppendXYZ(q[0], q[1], q[2]);
    const auto bitmap = b.Render();
    EXPECT_EQ(s.Triangulation().BorderCount(), 4);
    EXPECT_EQ(s.TriangleCount(), 4);
    int red = 0;
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) red += bitmap->PixelRGB(x, y) == clRed;
    EXPECT_GT(red, 100);
    // A moved point triangulates again at the next paint.
    const int centre = s.XValues().FindValue(5);
    ASSERT_GE(centre, 0);
    s.ChangeXValueAt(centre, 12);
    (void)b.Render();
    EXPECT_EQ(s.Triangulation().BorderCount(), 3);
    s.SetImproveTriangles(false);
    (void)b.Render();
    EXPECT_EQ(s.Triangulation().BorderCount(), 3);
}
