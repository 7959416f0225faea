// The section's mesh: grid nodes and their structured mesh, the incremental Delaunay triangulation of
// scattered nodes (every triangle tested against every new node, as the section has always done), the
// neighbour links and the value range.
#include "core/SectionMesh.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

constexpr double CircleTolerance = 0.0001;

// The circle test of one triangle, worked out once: a triangle is tested against every later node.
struct TCircleTest {
    enum Mode : std::uint8_t { Circle, AboveLine, LeftOfLine } Kind = Circle;
    double Xc = 0, Yc = 0, R2 = 0; // centre and squared radius; the line's y or x in the other modes

    bool Contains(double xp, double yp) const
    {
        switch (Kind) {
        case AboveLine: return R2 >= yp;
        case LeftOfLine: return R2 >= xp;
        default: return (xp - Xc) * (xp - Xc) + (yp - Yc) * (yp - Yc) <= R2;
        }
    }
};

TCircleTest CircleThrough(double x1, double y1, double x2, double y2, double x3, double y3)
{
    TCircleTest c;
    const bool h12 = std::fabs(y1 - y2) <= CircleTolerance;
    const bool h23 = std::fabs(y2 - y3) <= CircleTolerance;
    if (h12 && h23) {
        c.Kind = TCircleTest::AboveLine;
        c.R2 = y1;
        return c;
    }
    double xc, yc;
    if (!h12 && !h23) {
        const double m1 = -(x2 - x1) / (y2 - y1), m2 = -(x3 - x2) / (y3 - y2);
        const double mx1 = (x1 + x2) / 2, my1 = (y1 + y2) / 2;
        const double mx2 = (x2 + x3) / 2, my2 = (y2 + y3) / 2;
        if (std::fabs(m1 - m2) <= CircleTolerance) {
            if ((y2 > y1 && y2 < y3) || (y2 < y1 && y2 > y3)) {
                c.Kind = TCircleTest::LeftOfLine;
                c.R2 = x1;
                return c;
            }
            xc = x1;
            yc = (y1 + y3) / 2;
        } else {
            xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
            yc = m1 * (xc - mx1) + my1;
        }
    } else if (h23) {
        const double m1 = -(x2 - x1) / (y2 - y1);
        xc = (x3 + x2) / 2;
        yc = m1 * (xc - (x1 + x2) / 2) + (y1 + y2) / 2;
    } else {
        const double m2 = -(x3 - x2) / (y3 - y2);
        xc = (x2 + x1) / 2;
        yc = m2 * (xc - (x2 + x3) / 2) + (y2 + y3) / 2;
    }
    c.Xc = xc;
    c.Yc = yc;
    c.R2 = (x2 - xc) * (x2 - xc) + (y2 - yc) * (y2 - yc);
    return c;
}

struct TRangeResult {
    double DataMin, DataMax, RangeMin, RangeMax, UserMin, UserMax;
};

TRangeResult ValueRangeOf(const TSectionData& s, int N)
{
    TRangeResult r{};
    r.DataMax = r.DataMin = s.FNodes[1].Z;
    for (int i = 2; i <= N; ++i) {
        const double z = s.FNodes[i].Z;
        if (z > r.DataMax) r.DataMax = z;
        if (z < r.DataMin) r.DataMin = z;
    }
    r.UserMin = s.FUserMin;
    r.UserMax = s.FUserMax;
    const bool useUser = (s.FUserMin > 0 || !s.FLogScale) && s.FUserMax > s.FUserMin && s.FUserMin != MissingValue &&
                         s.FUseUserLimits;
    if (useUser) {
        r.RangeMax = s.FUserMax;
        r.RangeMin = s.FUserMin;
    } else {
        r.RangeMax = r.DataMax;
        r.RangeMin = r.DataMin;
        r.UserMax = r.DataMax;
        r.UserMin = r.DataMin;
    }
    if (r.RangeMin == r.RangeMax) {
        r.RangeMin = r.RangeMin / 100;
        r.RangeMax = r.RangeMax * 100;
    }
    return r;
}

void CommitRange(TSectionData& s, const TRangeResult& r)
{
    s.FDataMin = r.DataMin;
    s.FDataMax = r.DataMax;
    s.FRangeMin = r.RangeMin;
    s.FRangeMax = r.RangeMax;
    s.FUserMin = r.UserMin;
    s.FUserMax = r.UserMax;
}

void SetScales(TSectionData& s)
{
    s.FXScale = s.FPictureWidth / (s.FXMax - s.FXMin);
    s.FYScale = s.FPictureHeight / (s.FYMax - s.FYMin);
}

bool Usable(double span) { return std::isfinite(span) && span > 0; }

void CheckFinite(double v, const char* what)
{
    if (!std::isfinite(v) || v == MissingValue) throw Exception(std::string(what) + " is not a finite number.");
}

void CheckAscending(const arofdoubleM& v, const char* what)
{
    for (int i = 0; i < v.Length(); ++i) {
        CheckFinite(v[i], what);
        if (i > 0 && !(v[i] > v[i - 1])) throw Exception(std::string(what) + " must ascend.");
    }
}

} // namespace

bool InCircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3, double y3)
{
    return CircleThrough(x1, y1, x2, y2, x3, y3).Contains(xp, yp);
}

void UpdateValueRange(TSectionData& s, int N) { CommitRange(s, ValueRangeOf(s, N)); }

void UpdateGeometry(TSectionData& s)
{
    for (int i = 1; i < s.NodeEnd; ++i) {
        const dVertex3d& n = s.FNodes[i];
        if (i == 1) {
            s.FXMin = s.FXMax = n.X;
            s.FYMin = s.FYMax = n.Y;
        }
        s.FXMin = std::min(s.FXMin, n.X);
        s.FXMax = std::max(s.FXMax, n.X);
        s.FYMin = std::min(s.FYMin, n.Y);
        s.FYMax = std::max(s.FYMax, n.Y);
    }
    SetScales(s);
}

bool GeometryUsable(const TSectionData& s)
{
    return Usable(s.FXMax - s.FXMin) && Usable(s.FYMax - s.FYMin) && std::isfinite(s.FXMin) &&
           std::isfinite(s.FYMin) && std::isfinite(s.FXScale) && std::isfinite(s.FYScale);
}

bool BuildPseudoGrid(TSectionData& s, const arofdoubleM& X, const arofdoubleM& Din, bool withMesh,
                     const ararofdoubleM& V, const arofdoubleM& Rin)
{
    const int nx = X.Length();
    arofdoubleM D = Din;
    arofdoubleM R = Rin;
    if (R.Length() != nx) {
        R.SetLength(0);
        R.SetLength(nx);
    }
    bool cut = false;
    while (static_cast<long long>(nx) * D.Length() > MaxGridNodes && D.Length() >= 2) {
        D.SetLength(D.Length() - 1);
        cut = true;
    }
    const int nz = D.Length();
    const double rmax = MaxByMode(R, 0), rmin = MinByMode(R, 0);
    const double deepest = D[nz - 1];

    s.FNodes.SetLength(0);
    s.FNodes.SetLength(nx * nz + 1);
    // Without a mesh the triangles stay: a rebuild for the range alone keeps the picture's mesh.
    s.FTriangles.SetLength(2 * nx * nz + 1);
    auto node = [nz](int j, int k) { return j * nz + k + 1; };
    for (int j = 0; j < nx; ++j) {
        for (int k = 0; k < nz; ++k) {
            dVertex3d& n = s.FNodes[node(j, k)];
            n.X = n.OrigX = X[j];
            if (k == nz - 1) {
                n.Y = rmax + deepest;
            } else {
                // Under low relief the levels stretch down towards the flat bottom below the highest relief.
                const double stretch = deepest != 0 ? (rmax - R[j]) / deepest * s.FDepthStretch : 0;
                n.Y = std::min(R[j] + D[k] * (1 + stretch), rmax + D[k]);
            }
            n.OrigY = n.Y;
            n.Z = V[j][k];
            n.Border = (j == 0 || k == 0 || j == nx - 1 || k == nz - 1) ? 1 : 0;
            n.Text = FormatValue(n.Z);
        }
    }
    s.NodeEnd = nx * nz + 1;
    UpdateValueRange(s, nx * nz);
    if (!withMesh) return cut;

    s.FXMax = X[nx - 1];
    s.FXMin = X[0];
    s.FYMin = D[0] + rmin;
    s.FYMax = deepest + rmax;
    SetScales(s);
    const int m = nz - 1;
    for (int c = 0; c + 1 < nx; ++c) {
        for (int l = 0; l < m; ++l) {
            const int t = 2 * (c * m + l) + 1;
            TSectionTriangle& a = s.FTriangles[t];
            TSectionTriangle& b = s.FTriangles[t + 1];
            a = TSectionTriangle{};
            b = TSectionTriangle{};
            a.Vertex = {node(c, l), node(c, l + 1), node(c + 1, l + 1)};
            b.Vertex = {node(c, l), node(c + 1, l + 1), node(c + 1, l)};
            auto link = [](TSectionTriangle& tri, int e, bool present, int other, int edge) {
                tri.Neighbour[e] = present ? other : 0;
                tri.NeighbourEdge[e] = present ? static_cast<std::uint8_t>(edge) : 255;
                tri.BorderEdge[e] = present ? 0 : 1;
            };
            link(a, 0, c > 0, t - 2 * m + 1, 1);
            link(a, 1, l < m - 1, t + 3, 2);
            link(a, 2, true, t + 1, 0);
            link(b, 0, true, t, 2);
            link(b, 1, c < nx - 2, t + 2 * m, 0);
            link(b, 2, l > 0, t - 2, 1);
        }
    }
    s.FTriangleCount = 2 * (nx - 1) * (nz - 1);
    return cut;
}

int TriangulateNodes(TSectionData& s, int N, bool withMesh)
{
    const TRangeResult range = ValueRangeOf(s, N);
    if (!withMesh) {
        CommitRange(s, range);
        return 0;
    }
    double xmin = s.FNodes[1].X, xmax = xmin, ymin = s.FNodes[1].Y, ymax = ymin;
    for (int i = 2; i <= N; ++i) {
        xmin = std::min(xmin, s.FNodes[i].X);
        xmax = std::max(xmax, s.FNodes[i].X);
        ymin = std::min(ymin, s.FNodes[i].Y);
        ymax = std::max(ymax, s.FNodes[i].Y);
    }
    const double dx = xmax - xmin, dy = ymax - ymin;

    // Working copies: the section changes only once the triangulation has come through.
    struct TWork {
        std::int32_t V[3];
        TCircleTest Circle;
    };
    std::vector<double> px(N + 4), py(N + 4);
    std::vector<std::uint8_t> border(N + 4, 0);
    for (int i = 1; i <= N; ++i) {
        px[i] = s.FNodes[i].X;
        // Y mapped onto the X range: the circle test is isotropic in the section's aspect.
        py[i] = xmin + dx * (s.FNodes[i].Y - ymin) / dy;
        border[i] = s.FNodes[i].Border != 0;
    }
    const double xm = (xmax + xmin) / 2, ym = (ymax + ymin) / 2;
    const double auxX[3] = {xm - 2 * dx, xm, xm + 2 * dx};
    const double auxY[3] = {ym - 2 * dy, ym + 2 * dy, ym - 2 * dy};
    for (int k = 0; k < 3; ++k) {
        px[N + 1 + k] = auxX[k];
        py[N + 1 + k] = xmin + dx * (auxY[k] - ymin) / dy;
    }

    std::vector<TWork> tri(MaxWorkingTriangles + 1);
    int peak = 1;
    int count = 0;
    auto add = [&](int a, int b, int c) {
        if (count >= MaxWorkingTriangles) throw ESectionCapacity();
        TWork& w = tri[++count];
        w.V[0] = a;
        w.V[1] = b;
        w.V[2] = c;
        w.Circle = CircleThrough(px[a], py[a], px[b], py[b], px[c], py[c]);
        peak = std::max(peak, count);
    };
    // Spans that are zero or not finite leave no triangles (the section draws nothing).
    const bool spans = Usable(dx) && Usable(dy);
    if (spans) add(N + 1, N + 2, N + 3);

    std::vector<std::int32_t> edges;
    std::vector<std::uint8_t> removed;
    std::unordered_map<std::uint64_t, std::vector<int>> byEnds;
    std::unordered_map<std::uint64_t, std::size_t> cursor;
    auto key = [](std::uint32_t a, std::uint32_t b) { return (static_cast<std::uint64_t>(a) << 32) | b; };
    for (int p = 1; spans && p <= N; ++p) {
        edges.clear();
        const double xp = px[p], yp = py[p];
        for (int i = 1; i <= count;) {
            if (tri[i].Circle.Contains(xp, yp)) {
                const std::int32_t* v = tri[i].V;
                if (edges.size() / 2 + 3 > static_cast<std::size_t>(MaxInsertEdges)) throw ESectionCapacity();
                edges.insert(edges.end(), {v[0], v[1], v[1], v[2], v[2], v[0]});
                tri[i] = tri[count];
                --count;
            } else {
                ++i;
            }
        }
        // An edge listed twice in opposite directions lies between two removed triangles: both go. Each
        // edge pairs with the first later one that runs opposite to it and is still listed.
        const int ne = static_cast<int>(edges.size() / 2);
        removed.assign(ne, 0);
        if (ne <= 24) {
            for (int j = 0; j < ne; ++j) {
                for (int k = j + 1; k < ne && !removed[j]; ++k) {
                    if (!removed[k] && edges[2 * j] == edges[2 * k + 1] && edges[2 * j + 1] == edges[2 * k]) {
                        removed[j] = removed[k] = 1;
                    }
                }
            }
        } else {
            byEnds.clear();
            cursor.clear();
            for (int k = 0; k < ne; ++k) byEnds[key(edges[2 * k], edges[2 * k + 1])].push_back(k);
            for (int j = 0; j < ne; ++j) {
                if (removed[j]) continue;
                const std::uint64_t opposite = key(edges[2 * j + 1], edges[2 * j]);
                auto found = byEnds.find(opposite);
                if (found == byEnds.end()) continue;
                std::size_t& c = cursor[opposite];
                const std::vector<int>& list = found->second;
                while (c < list.size() && (list[c] <= j || removed[list[c]])) ++c;
                if (c < list.size()) {
                    removed[j] = removed[list[c]] = 1;
                    ++c;
                }
            }
        }
        for (int j = 0; j < ne; ++j) {
            if (removed[j]) continue;
            const int a = edges[2 * j], b = edges[2 * j + 1];
            if (border[a] && border[b] && border[p]) continue;
            add(a, b, p);
        }
    }
    for (int i = 1; i <= count;) {
        const std::int32_t* v = tri[i].V;
        if (v[0] > N || v[1] > N || v[2] > N) {
            tri[i] = tri[count];
            --count;
        } else {
            ++i;
        }
    }

    // Come through: the auxiliary nodes, the triangles, the range and the geometry.
    if (s.FNodes.Length() < N + 4) s.FNodes.SetLength(N + 4);
    for (int k = 0; k < 3; ++k) {
        dVertex3d& aux = s.FNodes[N + 1 + k];
        aux = dVertex3d{};
        aux.X = auxX[k];
        aux.Y = auxY[k];
    }
    if (s.FTriangles.Length() < peak + 1) s.FTriangles.SetLength(peak + 1);
    for (int i = 1; i <= count; ++i) {
        TSectionTriangle& t = s.FTriangles[i];
        t = TSectionTriangle{};
        t.Vertex = {tri[i].V[0], tri[i].V[1], tri[i].V[2]};
    }
    CommitRange(s, range);
    s.FXMin = xmin;
    s.FXMax = xmax;
    s.FYMin = ymin;
    s.FYMax = ymax;
    s.FXScale = s.FPictureWidth / dx;
    s.FYScale = s.FPictureHeight / dy;
    return count;
}

void LinkTriangles(TSectionData& s, int count)
{
    // Every edge under its two nodes, in table order; the pairwise rule's last assignment decides: an
    // edge's neighbour is the last triangle sharing it, and for that last one the one before it.
    struct TEdgeRef {
        std::uint64_t Key;
        std::int32_t Triangle;
        std::uint8_t Edge;
    };
    std::vector<TEdgeRef> refs;
    refs.reserve(3 * static_cast<std::size_t>(std::max(count, 0)));
    for (int t = 1; t <= count; ++t) {
        TSectionTriangle& tri = s.FTriangles[t];
        tri.Neighbour = {0, 0, 0};
        tri.NeighbourEdge = {255, 255, 255};
        for (int e = 0; e < 3; ++e) {
            const auto a = static_cast<std::uint32_t>(tri.Vertex[e]);
            const auto b = static_cast<std::uint32_t>(tri.Vertex[(e + 1) % 3]);
            const std::uint64_t key = (static_cast<std::uint64_t>(std::min(a, b)) << 32) | std::max(a, b);
            refs.push_back({key, t, static_cast<std::uint8_t>(e)});
        }
    }
    std::sort(refs.begin(), refs.end(), [](const TEdgeRef& x, const TEdgeRef& y) {
        return x.Key != y.Key ? x.Key < y.Key : (x.Triangle != y.Triangle ? x.Triangle < y.Triangle : x.Edge < y.Edge);
    });
    for (std::size_t i = 0; i < refs.size();) {
        std::size_t j = i;
        while (j < refs.size() && refs[j].Key == refs[i].Key) ++j;
        if (j - i >= 2) {
            const TEdgeRef& last = refs[j - 1];
            const TEdgeRef& before = refs[j - 2];
            for (std::size_t k = i; k < j; ++k) {
                const TEdgeRef& other = (k == j - 1) ? before : last;
                TSectionTriangle& tri = s.FTriangles[refs[k].Triangle];
                // A triangle listing one node pair twice would pair with itself: the pairwise rule never
                // links a triangle to itself.
                if (other.Triangle == refs[k].Triangle) continue;
                tri.Neighbour[refs[k].Edge] = other.Triangle;
                tri.NeighbourEdge[refs[k].Edge] = other.Edge;
            }
        }
        i = j;
    }
    for (int t = 1; t <= count; ++t) {
        TSectionTriangle& tri = s.FTriangles[t];
        for (int e = 0; e < 3; ++e) tri.BorderEdge[e] = tri.Neighbour[e] == 0 ? 1 : 0;
    }
}

bool RebuildSectionMesh(TSectionData& s, bool withMesh)
{
    if (s.FGridInput) return BuildPseudoGrid(s, s.FGridX, s.FGridDepths, withMesh, s.FGridValues, s.FGridRelief);
    if (s.NodeEnd > 3) {
        if (withMesh) {
            const int count = TriangulateNodes(s, s.NodeEnd - 1, true);
            s.FTriangleCount = count;
            LinkTriangles(s, count);
        } else {
            TriangulateNodes(s, s.NodeEnd - 1, false);
        }
    }
    return false;
}

void SetSectionNodes(TSectionData& s, const arofdoubleM& x, const arofdoubleM& y, const arofdoubleM& values,
                     const arofintM& border)
{
    const int n = values.Length();
    if (x.Length() != n || y.Length() != n || (border.Length() != 0 && border.Length() != n))
        throw Exception("The node arrays differ in length.");
    if (n < 3) throw Exception("A section needs at least three nodes.");
    bool sameX = true, sameY = true;
    for (int i = 0; i < n; ++i) {
        CheckFinite(x[i], "A node's x");
        CheckFinite(y[i], "A node's y");
        CheckFinite(values[i], "A node's value");
        sameX = sameX && x[i] == x[0];
        sameY = sameY && y[i] == y[0];
    }
    if (sameX || sameY) throw Exception("All nodes lie on one vertical or horizontal line.");

    s.FNodes.SetLength(0);
    s.FNodes.SetLength(n + 4);
    s.FTriangles.SetLength(0);
    s.FTriangles.SetLength(MaxWorkingTriangles + 1);
    for (int i = 0; i < n; ++i) {
        dVertex3d& node = s.FNodes[i + 1];
        node.X = node.OrigX = x[i];
        node.Y = node.OrigY = y[i];
        node.Z = values[i];
        node.Border = border.Length() != 0 && border[i] != 0 ? 1 : 0;
        node.Text = FormatValue(node.Z);
    }
    s.NodeEnd = n + 1;
    s.FTriangleCount = 0;
    s.FGridInput = false;
}

void SetSectionGrid(TSectionData& s, const arofdoubleM& columnX, const arofdoubleM& depths,
                    const ararofdoubleM& values, const arofdoubleM& relief, double depthStretch)
{
    const int nx = columnX.Length(), nz = depths.Length();
    if (nx < 2 || nz < 2) throw Exception("A grid needs at least two columns and two levels.");
    if (nx > MaxGridColumns) throw Exception("A grid has at most 10000 columns.");
    if (values.Length() != nx) throw Exception("The grid values need one row per column.");
    for (int j = 0; j < nx; ++j) {
        if (values[j].Length() != nz) throw Exception("The grid values need one value per level.");
        for (int k = 0; k < nz; ++k) CheckFinite(values[j][k], "A grid value");
    }
    if (relief.Length() != 0 && relief.Length() != nx) throw Exception("The relief needs one value per column or none.");
    for (int j = 0; j < relief.Length(); ++j) CheckFinite(relief[j], "A relief value");
    CheckAscending(columnX, "The column positions");
    CheckAscending(depths, "The depths");
    CheckFinite(depthStretch, "The depth stretch");

    s.FGridX = columnX;
    s.FGridDepths = depths;
    s.FGridValues = values;
    s.FGridRelief = relief;
    s.FDepthStretch = depthStretch;
    s.FGridInput = true;
}
