// The section mesh: the grid's structured mesh and its cut, the scattered triangulation (Delaunay, no
// overlaps, border flags, capacity), the neighbour links against the pairwise rule, and the value range.
#include "core/SectionMesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

TSectionData NewSection()
{
    TSectionData s;
    s.FPictureWidth = 1000;
    s.FPictureHeight = 500;
    return s;
}

ararofdoubleM GridValues(int nx, int nz, double (*f)(int, int))
{
    ararofdoubleM v(nx);
    for (int j = 0; j < nx; ++j) {
        v[j].SetLength(nz);
        for (int k = 0; k < nz; ++k) v[j][k] = f(j, k);
    }
    return v;
}

arofdoubleM Range(int n, double start, double step)
{
    arofdoubleM v(n);
    for (int i = 0; i < n; ++i) v[i] = start + i * step;
    return v;
}

void Scatter(TSectionData& s, const std::vector<std::array<double, 3>>& xyz, const std::vector<int>& border = {})
{
    arofdoubleM x, y, z;
    arofintM b;
    for (std::size_t i = 0; i < xyz.size(); ++i) {
        x.push_back(xyz[i][0]);
        y.push_back(xyz[i][1]);
        z.push_back(xyz[i][2]);
        if (!border.empty()) b.push_back(border[i]);
    }
    SetSectionNodes(s, x, y, z, b);
    RebuildSectionMesh(s, true);
}

std::vector<std::array<double, 3>> RandomNodes(std::mt19937& rng, int n, double w, double h)
{
    std::uniform_real_distribution<double> ux(0, w), uy(0, h);
    std::vector<std::array<double, 3>> nodes;
    for (int i = 0; i < n; ++i) nodes.push_back({ux(rng), uy(rng), ux(rng)});
    return nodes;
}

// Every link is mutual through NeighbourEdge, and the border edges are exactly those without neighbour.
void ExpectMutualLinks(const TSectionData& s)
{
    for (int t = 1; t <= s.FTriangleCount; ++t) {
        const TSectionTriangle& tri = s.FTriangles[t];
        for (int e = 0; e < 3; ++e) {
            const int n = tri.Neighbour[e];
            EXPECT_EQ(tri.BorderEdge[e], n == 0 ? 1 : 0) << "triangle " << t << " edge " << e;
            if (n == 0) {
                EXPECT_EQ(tri.NeighbourEdge[e], 255);
                continue;
            }
            const int f = tri.NeighbourEdge[e];
            ASSERT_LT(f, 3);
            const TSectionTriangle& other = s.FTriangles[n];
            EXPECT_EQ(other.Neighbour[f], t) << "triangle " << t << " edge " << e;
            EXPECT_EQ(other.NeighbourEdge[f], e);
            // The same two nodes, in the opposite direction.
            EXPECT_EQ(other.Vertex[f], tri.Vertex[(e + 1) % 3]);
            EXPECT_EQ(other.Vertex[(f + 1) % 3], tri.Vertex[e]);
        }
    }
}

// The pairwise rule as the section has always linked: every pair j < a, every edge of each.
void LinkPairwise(TSectionData& s, int count)
{
    for (int t = 1; t <= count; ++t) {
        s.FTriangles[t].Neighbour = {0, 0, 0};
        s.FTriangles[t].NeighbourEdge = {255, 255, 255};
    }
    for (int j = 1; j <= count; ++j)
        for (int a = j + 1; a <= count; ++a)
            for (int e = 0; e < 3; ++e)
                for (int f = 0; f < 3; ++f) {
                    TSectionTriangle& tj = s.FTriangles[j];
                    TSectionTriangle& ta = s.FTriangles[a];
                    const int j1 = tj.Vertex[e], j2 = tj.Vertex[(e + 1) % 3];
                    const int a1 = ta.Vertex[f], a2 = ta.Vertex[(f + 1) % 3];
                    if ((j1 == a1 && j2 == a2) || (j1 == a2 && j2 == a1)) {
                        tj.Neighbour[e] = a;
                        tj.NeighbourEdge[e] = static_cast<std::uint8_t>(f);
                        ta.Neighbour[f] = j;
                        ta.NeighbourEdge[f] = static_cast<std::uint8_t>(e);
                    }
                }
    for (int t = 1; t <= count; ++t)
        for (int e = 0; e < 3; ++e) s.FTriangles[t].BorderEdge[e] = s.FTriangles[t].Neighbour[e] == 0 ? 1 : 0;
}

double Cross(const dVertex3d& a, const dVertex3d& b, double x, double y)
{
    return (b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X);
}

} // namespace

TEST(SectionMesh, ThreeByThreeGridNodesBorderAndLinks)
{
    TSectionData s = NewSection();
    const ararofdoubleM v = GridValues(3, 3, [](int j, int k) { return 10.0 * j + k; });
    EXPECT_FALSE(BuildPseudoGrid(s, Range(3, 0, 10), Range(3, 1, 1), true, v, arofdoubleM{}));
    EXPECT_EQ(s.NodeEnd, 10);
    EXPECT_EQ(s.FTriangleCount, 8);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(s.FNodes[i].Border, i == 5 ? 0 : 1) << "node " << i;
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(s.FNodes[i].X, 0); // column 0
    EXPECT_EQ(s.FNodes[5].Z, 11);
    EXPECT_EQ(s.FNodes[5].Text, "11");
    EXPECT_EQ(s.FTriangles[1].Vertex, (std::array<std::int32_t, 3>{1, 2, 5}));
    EXPECT_EQ(s.FTriangles[1].Neighbour, (std::array<std::int32_t, 3>{0, 4, 2}));
    EXPECT_EQ(s.FTriangles[2].Vertex, (std::array<std::int32_t, 3>{1, 5, 4}));
    EXPECT_EQ(s.FTriangles[2].Neighbour, (std::array<std::int32_t, 3>{1, 5, 0}));
    ExpectMutualLinks(s);
    // The structured mesh's links are those the scattered linker would find.
    TSectionData linked = s;
    LinkTriangles(linked, linked.FTriangleCount);
    for (int t = 1; t <= 8; ++t) {
        EXPECT_EQ(linked.FTriangles[t].Neighbour, s.FTriangles[t].Neighbour) << t;
        EXPECT_EQ(linked.FTriangles[t].NeighbourEdge, s.FTriangles[t].NeighbourEdge) << t;
    }
}

TEST(SectionMesh, ARebuildWithoutMeshKeepsTheTrianglesAndRefreshesTheRange)
{
    TSectionData s = NewSection();
    SetSectionGrid(s, Range(4, 0, 1), Range(3, 0, 1), GridValues(4, 3, [](int j, int k) { return double(j * k); }),
                   arofdoubleM{}, 0);
    RebuildSectionMesh(s, true);
    const TSectionData meshed = s;
    s.FUseUserLimits = true;
    s.FUserMin = 1;
    s.FUserMax = 4;
    RebuildSectionMesh(s, false);
    EXPECT_EQ(s.FTriangleCount, meshed.FTriangleCount);
    for (int t = 1; t <= s.FTriangleCount; ++t) {
        EXPECT_EQ(s.FTriangles[t].Vertex, meshed.FTriangles[t].Vertex) << t;
        EXPECT_EQ(s.FTriangles[t].Neighbour, meshed.FTriangles[t].Neighbour) << t;
    }
    EXPECT_EQ(s.FRangeMin, 1);
    EXPECT_EQ(s.FRangeMax, 4);
}

TEST(SectionMesh, GridReliefAndDepthStretch)
{
    TSectionData s = NewSection();
    const ararofdoubleM v = GridValues(3, 3, [](int, int) { return 1.0; });
    const arofdoubleM relief{0, 2, 4};
    BuildPseudoGrid(s, Range(3, 0, 1), arofdoubleM{1, 2, 4}, true, v, relief);
    EXPECT_EQ(s.FNodes[1].Y, 1); // relief 0 + depth 1
    EXPECT_EQ(s.FNodes[3].Y, 8); // deepest level: highest relief + deepest depth
    EXPECT_EQ(s.FNodes[8].Y, 6); // relief 4 + depth 2
    EXPECT_EQ(s.FNodes[9].Y, 8); // the deepest level again
    EXPECT_EQ(s.FYMin, 1);
    EXPECT_EQ(s.FYMax, 8);
    s.FDepthStretch = 1;
    BuildPseudoGrid(s, Range(3, 0, 1), arofdoubleM{1, 2, 4}, true, v, relief);
    // Column 0 under relief 0: depth 2 stretched by 1 + 4 / 4, capped by rmax + depth.
    EXPECT_EQ(s.FNodes[2].Y, 4);
    EXPECT_EQ(s.FNodes[5].Y, 2 + 2 * 1.5);
}

TEST(SectionMesh, LargeGridLosesItsDeepestLevels)
{
    TSectionData s = NewSection();
    const ararofdoubleM v = GridValues(300, 100, [](int j, int k) { return double(j + k); });
    EXPECT_TRUE(BuildPseudoGrid(s, Range(300, 0, 1), Range(100, 1, 1), true, v, arofdoubleM{}));
    EXPECT_EQ(s.NodeEnd, 300 * 66 + 1);
    EXPECT_EQ(s.FTriangleCount, 2 * 299 * 65);
    EXPECT_EQ(s.FNodes[66].Y, 66); // the deepest kept level of column 0
    EXPECT_EQ(s.FNodes[66].Border, 1);
    ExpectMutualLinks(s);
}

TEST(SectionMesh, ThreeNodesGiveOneTriangleUnlessAllOnTheBorder)
{
    TSectionData s = NewSection();
    Scatter(s, {{{0, 0, 1}, {10, 0, 2}, {5, 8, 3}}});
    ASSERT_EQ(s.FTriangleCount, 1);
    EXPECT_EQ(s.FTriangles[1].BorderEdge, (std::array<std::int32_t, 3>{1, 1, 1}));
    // The auxiliary nodes are written whole after the last node.
    for (int i = 4; i <= 6; ++i) {
        EXPECT_EQ(s.FNodes[i].Border, 0);
        EXPECT_EQ(s.FNodes[i].Z, 0);
        EXPECT_EQ(s.FNodes[i].Text, "");
    }
    TSectionData b = NewSection();
    Scatter(b, {{{0, 0, 1}, {10, 0, 2}, {5, 8, 3}}}, {1, 1, 1});
    EXPECT_EQ(b.FTriangleCount, 0);
}

TEST(SectionMesh, ScatteredSetsAreDelaunayWithoutOverlapsAndMutuallyLinked)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 6; ++round) {
        TSectionData s = NewSection();
        // Wide sections as surveys have them: the circle test works in the scaled metric.
        const double w = 1000, h = round % 2 ? 50 : 400;
        const auto nodes = RandomNodes(rng, 60 + 40 * round, w, h);
        Scatter(s, nodes);
        ASSERT_GT(s.FTriangleCount, static_cast<int>(nodes.size()));
        ExpectMutualLinks(s);
        const int N = s.NodeEnd - 1;
        auto scaled = [&](const dVertex3d& n) { return s.FXMin + (s.FXMax - s.FXMin) * (n.Y - s.FYMin) / (s.FYMax - s.FYMin); };
        for (int t = 1; t <= s.FTriangleCount; ++t) {
            const auto& v = s.FTriangles[t].Vertex;
            const dVertex3d &a = s.FNodes[v[0]], &b = s.FNodes[v[1]], &c = s.FNodes[v[2]];
            // Circumcircle in the scaled metric.
            const double ax = a.X, ay = scaled(a), bx = b.X, by = scaled(b), cx = c.X, cy = scaled(c);
            const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
            ASSERT_NE(d, 0);
            const double ux = ((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay) + (cx * cx + cy * cy) * (ay - by)) / d;
            const double uy = ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx) + (cx * cx + cy * cy) * (bx - ax)) / d;
            const double r2 = (ax - ux) * (ax - ux) + (ay - uy) * (ay - uy);
            for (int p = 1; p <= N; ++p) {
                if (p == v[0] || p == v[1] || p == v[2]) continue;
                const double px = s.FNodes[p].X, py = scaled(s.FNodes[p]);
                EXPECT_GE((px - ux) * (px - ux) + (py - uy) * (py - uy), r2 * (1 - 1e-9))
                    << "node " << p << " inside triangle " << t << " (round " << round << ")";
            }
        }
        // No point lies strictly inside two triangles.
        std::uniform_real_distribution<double> ux(0, w), uy(0, h);
        for (int probe = 0; probe < 800; ++probe) {
            const double x = ux(rng), y = uy(rng);
            int inside = 0;
            for (int t = 1; t <= s.FTriangleCount; ++t) {
                const auto& v = s.FTriangles[t].Vertex;
                const double c0 = Cross(s.FNodes[v[0]], s.FNodes[v[1]], x, y);
                const double c1 = Cross(s.FNodes[v[1]], s.FNodes[v[2]], x, y);
                const double c2 = Cross(s.FNodes[v[2]], s.FNodes[v[0]], x, y);
                if ((c0 > 0 && c1 > 0 && c2 > 0) || (c0 < 0 && c1 < 0 && c2 < 0)) ++inside;
            }
            ASSERT_LE(inside, 1) << "at " << x << ", " << y;
        }
    }
}

TEST(SectionMesh, LinksEqualThePairwiseRuleOnSetsWithDuplicates)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 8; ++round) {
        TSectionData s = NewSection();
        auto nodes = RandomNodes(rng, 40, 100, 30);
        // Duplicate nodes and a few on the border.
        for (int i = 0; i < 10; ++i) nodes.push_back(nodes[rng() % nodes.size()]);
        std::vector<int> border(nodes.size());
        for (int& b : border) b = rng() % 4 == 0;
        Scatter(s, nodes, border);
        TSectionData reference = s;
        LinkPairwise(reference, s.FTriangleCount);
        // Also a table where more than two triangles share edges.
        TSectionData crowded = NewSection();
        crowded.FTriangles.SetLength(61);
        for (int t = 1; t <= 60; ++t) {
            int a = 1 + rng() % 6, b = 1 + rng() % 6, c = 1 + rng() % 6;
            while (b == a) b = 1 + rng() % 6;
            while (c == a || c == b) c = 1 + rng() % 6;
            crowded.FTriangles[t].Vertex = {a, b, c};
        }
        TSectionData crowdedReference = crowded;
        LinkTriangles(crowded, 60);
        LinkPairwise(crowdedReference, 60);
        for (auto [mine, theirs, count] : {std::tuple{&s, &reference, s.FTriangleCount},
                                           std::tuple{&crowded, &crowdedReference, 60}}) {
            for (int t = 1; t <= count; ++t) {
                EXPECT_EQ(mine->FTriangles[t].Neighbour, theirs->FTriangles[t].Neighbour) << t;
                EXPECT_EQ(mine->FTriangles[t].NeighbourEdge, theirs->FTriangles[t].NeighbourEdge) << t;
                EXPECT_EQ(mine->FTriangles[t].BorderEdge, theirs->FTriangles[t].BorderEdge) << t;
            }
        }
    }
}

TEST(SectionMesh, InCircleDegenerateCorners)
{
    // A circle through (0,0), (2,0), (0,2): centre (1,1).
    EXPECT_TRUE(InCircle(1, 1, 0, 0, 2, 0, 0, 2));
    EXPECT_TRUE(InCircle(2, 2, 0, 0, 2, 0, 0, 2)); // on the circle
    EXPECT_FALSE(InCircle(2.1, 2.1, 0, 0, 2, 0, 0, 2));
    // Three corners on one horizontal line: in when the line is at or below p's y... as the section does.
    EXPECT_TRUE(InCircle(5, 1, 0, 1, 1, 1, 2, 1));
    EXPECT_FALSE(InCircle(5, 1.5, 0, 1, 1, 1, 2, 1));
    // Three corners on one slanted line with the middle one between: left of the first corner is in.
    EXPECT_TRUE(InCircle(-1, 9, 0, 0, 1, 1, 2, 2));
    EXPECT_FALSE(InCircle(1, 9, 0, 0, 1, 1, 2, 2));
}

TEST(SectionMesh, ValueRange)
{
    struct Case {
        const char* name;
        std::vector<double> values;
        bool useUser, logScale;
        double userMin, userMax;
        double rangeMin, rangeMax, shownMin, shownMax;
    };
    const double M = MissingValue;
    const Case cases[] = {
        {"data range, user limits off", {3, -2, 7}, false, false, 0, 10, -2, 7, -2, 7},
        {"user limits on", {3, -2, 7}, true, false, 0, 10, 0, 10, 0, 10},
        {"user limits reversed", {3, -2, 7}, true, false, 10, 5, -2, 7, -2, 7},
        {"user limits missing", {3, -2, 7}, true, false, M, M, -2, 7, -2, 7},
        {"log scale with user minimum 0", {3, 1, 7}, true, true, 0, 10, 1, 7, 1, 7},
        {"log scale with positive user limits", {3, 1, 7}, true, true, 2, 10, 2, 10, 2, 10},
        {"all values 5", {5, 5, 5}, false, false, M, M, 0.05, 500, 5, 5},
    };
    for (const Case& c : cases) {
        TSectionData s = NewSection();
        s.FNodes.SetLength(c.values.size() + 1);
        for (std::size_t i = 0; i < c.values.size(); ++i) s.FNodes[i + 1].Z = c.values[i];
        s.FUseUserLimits = c.useUser;
        s.FLogScale = c.logScale;
        s.FUserMin = c.userMin;
        s.FUserMax = c.userMax;
        UpdateValueRange(s, static_cast<int>(c.values.size()));
        EXPECT_EQ(s.FRangeMin, c.rangeMin) << c.name;
        EXPECT_EQ(s.FRangeMax, c.rangeMax) << c.name;
        EXPECT_EQ(s.FUserMin, c.shownMin) << c.name;
        EXPECT_EQ(s.FUserMax, c.shownMax) << c.name;
    }
}

TEST(SectionMesh, PastTheCapacityTheSectionStaysAsItWas)
{
    std::mt19937 rng(3);
    TSectionData s = NewSection();
    Scatter(s, RandomNodes(rng, 30, 100, 50));
    const TSectionData before = s;
    // About two triangles per node: 8,500 nodes need more than the working table holds.
    TSectionData big = s;
    const auto many = RandomNodes(rng, 8500, 1000, 500);
    arofdoubleM x, y, z;
    for (const auto& n : many) {
        x.push_back(n[0]);
        y.push_back(n[1]);
        z.push_back(n[2]);
    }
    SetSectionNodes(big, x, y, z, arofintM{});
    const TSectionData fed = big;
    EXPECT_THROW(RebuildSectionMesh(big, true), ESectionCapacity);
    EXPECT_EQ(big.FTriangleCount, fed.FTriangleCount);
    EXPECT_EQ(big.FRangeMax, fed.FRangeMax);
    EXPECT_EQ(big.FXScale, fed.FXScale);
    EXPECT_EQ(big.FNodes[8501].X, fed.FNodes[8501].X);
    EXPECT_EQ(big.FTriangles[1].Vertex, fed.FTriangles[1].Vertex);
    try {
        RebuildSectionMesh(big, true);
    } catch (const ESectionCapacity& e) {
        EXPECT_EQ(e.Message(), "Too many nodes for the section mesh.");
    }
    EXPECT_EQ(s.FTriangleCount, before.FTriangleCount);
}
