// Levels, colour tables, band polygons and isolines of a triangulated section. Bands and isolines share one
// smoothing (quadratic pieces through the midpoints between crossings), so fills and lines meet.
#include "core/SectionContour.h"

#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

// Weights (1 - t)^2 and t^2 of the isolines' six points (t = 0, 0.2, 0.5, 0.7, 0.8, 1) and of the band
// boundaries' two half pieces (t = 0.5, 0.7, 0.8, 1 and t = 0, 0.2, 0.3, 0.5).
constexpr double LineFrom[6] = {1, 0.64, 0.25, 0.09, 0.04, 0};
constexpr double LineTo[6] = {0, 0.04, 0.25, 0.49, 0.64, 1};
constexpr double FirstHalfFrom[4] = {0.25, 0.09, 0.04, 0};
constexpr double FirstHalfTo[4] = {0.25, 0.49, 0.64, 1};
constexpr double SecondHalfFrom[4] = {1, 0.64, 0.49, 0.25};
constexpr double SecondHalfTo[4] = {0, 0.04, 0.09, 0.25};

complexM Piece(const complexM& m, const complexM& p, const complexM& m2, double wa, double wb)
{
    return {p.x + wa * (m.x - p.x) + wb * (m2.x - p.x), p.z + wa * (m.z - p.z) + wb * (m2.z - p.z)};
}

complexM Mid(const complexM& a, const complexM& b) { return {(a.x + b.x) / 2, (a.z + b.z) / 2}; }

bool StrictlyBetween(double level, double a, double b) { return (a < level && level < b) || (b < level && level < a); }

// A node's place in the picture (not yet rounded).
complexM PictureOf(const TSectionData& s, double x, double y)
{
    return {(x - s.FXMin) * s.FXScale, (y - s.FYMin) * s.FYScale};
}

const dVertex3d& Corner(const TSectionData& s, const TSectionTriangle& tri, int e)
{
    return s.FNodes[tri.Vertex[e % 3]];
}

// Where `level` crosses edge e, in the picture. Interpolated from the lower-numbered node, so that the two
// triangles sharing the edge find the same point.
complexM CrossingCoordinate(const TSectionData& s, const TSectionTriangle& tri, int e, double level)
{
    int a = tri.Vertex[e], b = tri.Vertex[(e + 1) % 3];
    if (a > b) std::swap(a, b);
    const dVertex3d& na = s.FNodes[a];
    const dVertex3d& nb = s.FNodes[b];
    const double f = (level - na.Z) / (nb.Z - na.Z);
    return PictureOf(s, na.X + f * (nb.X - na.X), na.Y + f * (nb.Y - na.Y));
}

bool Crosses(const TSectionData& s, const TSectionTriangle& tri, int e, double level)
{
    return StrictlyBetween(level, Corner(s, tri, e).Z, Corner(s, tri, e + 1).Z);
}

// The neighbour across edge e exists and names a real edge of a real triangle.
bool HasNeighbour(const TSectionData& s, const TSectionTriangle& tri, int e)
{
    return tri.Neighbour[e] > 0 && tri.Neighbour[e] <= s.FTriangleCount && tri.NeighbourEdge[e] < 3;
}

// The crossing of `level` on the neighbour's side beyond edge e of triangle t, when there is one.
bool NeighbourCrossing(const TSectionData& s, const TSectionTriangle& tri, int e, double level, complexM& p)
{
    if (!HasNeighbour(s, tri, e)) return false;
    const TSectionTriangle& n = s.FTriangles[tri.Neighbour[e]];
    const int shared = tri.NeighbourEdge[e];
    const int o1 = shared == 0 ? 1 : 0, o2 = shared == 2 ? 1 : 2;
    if (Crosses(s, n, o1, level)) p = CrossingCoordinate(s, n, o1, level);
    else if (Crosses(s, n, o2, level)) p = CrossingCoordinate(s, n, o2, level);
    else return false;
    return true;
}

void Emit(std::vector<TSectionShape::TPixel>& out, const complexM& p)
{
    const TSectionShape::TPixel px{PixelFromReal(p.x), PixelFromReal(p.z)};
    if (out.empty() || !(out.back() == px)) out.push_back(px);
}

double Spacing(const TSectionData& s, const arofdoubleM& levels, int i)
{
    const int n = levels.Length();
    if (n == 1) return std::fabs(s.FRangeMax - s.FRangeMin);
    return i + 1 < n ? std::fabs(levels[i + 1] - levels[i]) : std::fabs(levels[i] - levels[i - 1]);
}

// floor(min(log10 spacing, log10 |value|)); log10 |value| alone when the spacing is 0.
double DecadeOf(double spacing, double value)
{
    const double m = std::log10(std::fabs(value));
    return std::floor(spacing > 0 ? std::min(std::log10(spacing), m) : m);
}

} // namespace

void UpdateLevels(TSectionData& s)
{
    const int N = s.FLevelCount;
    if (N < 1 || N > 100 || s.FTriangleCount < 3 || s.NodeEnd < 3) return;
    double lo = s.FRangeMin, hi = s.FRangeMax;
    const bool logScale = s.FLogScale && lo > 0;
    if (logScale) {
        lo = std::log(lo);
        hi = std::log(hi);
    }
    if (std::fabs(lo - hi) < 1e-7) {
        if (logScale) {
            hi = std::log(std::exp(hi) * 10);
            lo = std::log(std::exp(lo) / 10);
        } else {
            hi = hi * 2;
            lo = lo / 2;
        }
        if (lo == hi) hi = 1;
    }
    arofdoubleM L(N);
    for (int i = 0; i < N; ++i) {
        L[i] = lo + (hi - lo) * (i + 1) / (N + 1);
        if (logScale) L[i] = std::exp(L[i]);
    }
    // Rounded to the decade of the spacing or of the level, whichever is finer, halves to even.
    const arofdoubleM U = L;
    for (int i = 0; i < N; ++i) {
        if (L[i] == 0) continue;
        const double a = DecadeOf(Spacing(s, U, i), U[i]);
        if (!std::isfinite(a)) continue;
        if (a < 0) {
            const double p = std::pow(10.0, -a);
            L[i] = RoundHalfEven(L[i] * p) / p;
        } else {
            const double p = std::pow(10.0, a);
            L[i] = RoundHalfEven(L[i] / p) * p;
        }
    }
    for (int i = 1; i + 1 < N; ++i)
        if (L[i - 1] < 0 && L[i + 1] > 0) L[i] = 0;
    s.FLevels = L;

    const arofintM bandRamp =
        ColorRamp(200, arofintM{s.FMinBandColor, s.FMidBandColors[0], s.FMidBandColors[1], s.FMaxBandColor});
    s.FBandColors.SetLength(N + 1);
    for (int j = 0; j <= N; ++j) s.FBandColors[j] = bandRamp[PixelFromReal(200.0 * j / N)];
    const arofintM lineRamp = ColorRamp(200, arofintM{s.FMinLineColor, s.FMaxLineColor});
    s.FLineColors.SetLength(N);
    for (int j = 0; j < N; ++j) s.FLineColors[j] = lineRamp[PixelFromReal(200.0 * j / (N + 1))];

    // No level may pass through a node: a crossing would then lie on a corner.
    for (int i = 1; i < s.NodeEnd; ++i) {
        double& z = s.FNodes[i].Z;
        if (std::find(L.begin(), L.end(), z) != L.end()) z = z + z / 100000 + 1e-20;
    }
}

int LevelDecimals(const TSectionData& s, int i)
{
    const arofdoubleM& L = s.FLevels;
    if (L[i] == 0) return 0;
    // The spacing below the level; the lowest takes the one above it.
    const int n = L.Length();
    const double spacing = n == 1 ? std::fabs(s.FRangeMax - s.FRangeMin)
                                  : std::fabs(i > 0 ? L[i] - L[i - 1] : L[1] - L[0]);
    const double a = DecadeOf(spacing, L[i]);
    if (!(a < 0)) return 0;
    return a < -30 ? 30 : static_cast<int>(-a);
}

std::array<complexM, 8> BandBoundaryCurve(const TSectionData& s, int t, int a, int b, double level)
{
    const TSectionTriangle& tri = s.FTriangles[t];
    const complexM p1 = CrossingCoordinate(s, tri, a, level);
    const complexM p2 = CrossingCoordinate(s, tri, b, level);
    complexM p0, p3;
    const bool has0 = NeighbourCrossing(s, tri, a, level, p0);
    const bool has3 = NeighbourCrossing(s, tri, b, level, p3);
    const complexM m0 = has0 ? Mid(p0, p1) : p1;
    const complexM m1 = Mid(p1, p2);
    const complexM m2 = has3 ? Mid(p2, p3) : p2;
    std::array<complexM, 8> curve;
    for (int i = 0; i < 4; ++i) {
        curve[i] = Piece(m0, p1, m1, FirstHalfFrom[i], FirstHalfTo[i]);
        curve[4 + i] = Piece(m1, p2, m2, SecondHalfFrom[i], SecondHalfTo[i]);
    }
    if (!has0) curve[0] = p1;
    if (!has3) curve[7] = p2;
    return curve;
}

void FillTriangleBands(const TSectionData& s, int t, TSectionPicture& out)
{
    const arofdoubleM& L = s.FLevels;
    const int N = L.Length();
    if (N == 0 || s.FBandColors.Length() < N + 1) return;
    const TSectionTriangle& tri = s.FTriangles[t];
    double z[3];
    complexM corner[3];
    for (int e = 0; e < 3; ++e) {
        const dVertex3d& n = Corner(s, tri, e);
        z[e] = n.Z;
        corner[e] = PictureOf(s, n.X, n.Y);
    }
    const double zmin = std::min({z[0], z[1], z[2]}), zmax = std::max({z[0], z[1], z[2]});

    // The band's region walked around the triangle: its corners and the crossings of its two levels in
    // boundary order. Two crossings of one level that follow each other are joined by that level's curve.
    struct TItem {
        int Corner = -1; // or a crossing:
        int Level = 0, Edge = 0;
    };
    TItem items[9];
    for (int k = 0; k <= N; ++k) {
        const double lo = k > 0 ? L[k - 1] : -Inf, hi = k < N ? L[k] : Inf;
        if (!(lo < zmax && hi >= zmin)) continue;
        int n = 0;
        for (int e = 0; e < 3; ++e) {
            const double za = z[e], zb = z[(e + 1) % 3];
            if (lo < za && za <= hi) items[n++] = {e, 0, 0};
            const bool crossLo = k > 0 && StrictlyBetween(lo, za, zb);
            const bool crossHi = k < N && StrictlyBetween(hi, za, zb);
            // Along the edge from its first corner: the level nearer that corner's value comes first.
            const bool loFirst = za < zb;
            if (crossLo && crossHi) {
                items[n++] = {-1, loFirst ? k - 1 : k, e};
                items[n++] = {-1, loFirst ? k : k - 1, e};
            } else if (crossLo) {
                items[n++] = {-1, k - 1, e};
            } else if (crossHi) {
                items[n++] = {-1, k, e};
            }
        }
        if (n == 0) continue;
        auto pairs = [&](int i, int j) {
            return items[i].Corner < 0 && items[j].Corner < 0 && items[i].Level == items[j].Level &&
                   items[i].Edge != items[j].Edge;
        };
        const int start = (n > 1 && pairs(n - 1, 0)) ? n - 1 : 0;
        TSectionShape shape;
        shape.Filled = true;
        shape.Color = s.FBandColors[k];
        for (int j = 0; j < n; ++j) {
            const int i = (start + j) % n;
            const TItem& it = items[i];
            if (it.Corner >= 0) {
                Emit(shape.Points, corner[it.Corner]);
            } else if (j + 1 < n && pairs(i, (i + 1) % n)) {
                for (const complexM& p : BandBoundaryCurve(s, t, it.Edge, items[(i + 1) % n].Edge, L[it.Level]))
                    Emit(shape.Points, p);
                ++j;
            } else {
                Emit(shape.Points, CrossingCoordinate(s, tri, it.Edge, L[it.Level]));
            }
        }
        if (shape.Points.size() >= 3) out.push_back(std::move(shape));
    }
}

bool TraceIsolineStep(TSectionData& s, int& t, int& entry, double level, arofcomplexM& points)
{
    TSectionTriangle& tri = s.FTriangles[t];
    tri.Visited[entry] = 1;
    const int o1 = entry == 0 ? 1 : 0, o2 = entry == 2 ? 1 : 2;
    int exit = -1;
    if (!tri.Visited[o1] && Crosses(s, tri, o1, level)) {
        exit = o1;
    } else {
        tri.Visited[o1] = 1;
        if (!tri.Visited[o2] && Crosses(s, tri, o2, level)) exit = o2;
    }
    if (exit < 0) return false;
    points.push_back(CrossingCoordinate(s, tri, exit, level));
    tri.Visited[exit] = 1;
    if (!HasNeighbour(s, tri, exit)) return false;
    entry = tri.NeighbourEdge[exit];
    t = tri.Neighbour[exit];
    return true;
}

std::vector<complexM> DrawSmoothLine(const arofcomplexM& input, bool closed)
{
    arofcomplexM P = input;
    const int n = P.Length();
    std::vector<complexM> line;
    if (n < 3) {
        line.assign(P.begin(), P.end());
        return line;
    }
    if (closed) P[n - 1] = P[1];
    std::vector<complexM> M(n - 1);
    for (int i = 0; i + 1 < n; ++i) M[i] = Mid(P[i], P[i + 1]);
    if (!closed) line.push_back(P[0]);
    for (int i = 0; i + 2 < n; ++i)
        for (int k = 0; k < 6; ++k) line.push_back(Piece(M[i], P[i + 1], M[i + 1], LineFrom[k], LineTo[k]));
    if (!closed) line.push_back(P[n - 1]);
    return line;
}

void DrawIsolines(TSectionData& s, TSectionPicture& out)
{
    const int N = s.FLevels.Length();
    if (s.FLineColors.Length() < N) return;
    const int count = s.FTriangleCount;
    arofcomplexM points;
    for (int k = 0; k < N; ++k) {
        const double level = s.FLevels[k];
        for (int t = 1; t <= count; ++t) s.FTriangles[t].Visited = {0, 0, 0};
        // Lines that enter from the border first (drawn open), then the rings inside (drawn closed).
        for (const bool open : {true, false}) {
            for (int t = 1; t <= count; ++t) {
                for (int e = 0; e < 3; ++e) {
                    const TSectionTriangle& tri = s.FTriangles[t];
                    if ((tri.BorderEdge[e] == 1) != open || tri.Visited[e] || !Crosses(s, tri, e, level)) continue;
                    points.SetLength(0);
                    points.push_back(CrossingCoordinate(s, tri, e, level));
                    s.FTriangles[t].Visited[e] = 1;
                    int cur = t, entry = e;
                    for (;;) {
                        const int before = points.Length();
                        const bool on = TraceIsolineStep(s, cur, entry, level, points);
                        if (points.Length() == before) points.push_back(points.back());
                        if (!on) break;
                    }
                    TSectionShape shape;
                    shape.Color = s.FLineColors[k];
                    for (const complexM& p : DrawSmoothLine(points, !open)) Emit(shape.Points, p);
                    out.push_back(std::move(shape));
                }
            }
        }
    }
}

TSectionPicture RenderSection(TSectionData& s)
{
    TSectionPicture picture;
    if (s.FLevels.Length() == 0 || s.FTriangleCount < 3 || !GeometryUsable(s)) return picture;
    if (s.FTriangles.Length() <= s.FTriangleCount) return picture;
    for (int t = 1; t <= s.FTriangleCount; ++t) FillTriangleBands(s, t, picture);
    if (s.FShowIsolines) DrawIsolines(s, picture);
    return picture;
}
