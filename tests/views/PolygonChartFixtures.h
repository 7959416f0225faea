// Small models on a model view for its tests: a chart of a fixed size with a frame model (with or without
// relief), bodies drawn through points, a body of four quarters round an inner node, a layer of the host
// between the box sides, and the comparison of models as undo restores them.
#pragma once

#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"
#include "core/Polygons.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "views/PolygonChart.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace pctest {

inline arofcomplexM PointList(std::initializer_list<complexM> list) { return arofcomplexM(list); }

inline std::vector<int> ToVector(const arofintM& a) { return std::vector<int>(a.begin(), a.end()); }

// A chart of that size, not on any window.
inline std::unique_ptr<TPolygonChart> NewChart(int width = 600, int height = 400)
{
    auto chart = std::make_unique<TPolygonChart>(nullptr);
    chart->SetBounds(0, 0, width, height);
    return chart;
}

// A chart holding the frame model of the box (0, 1000) x (0, 100), with the relief (elevations) when given.
inline std::unique_ptr<TPolygonChart> FrameChart(const arofcomplexM& relief = {}, int width = 600, int height = 400)
{
    auto chart = NewChart(width, height);
    chart->CreateFrameModel(relief, relief.Length() > 2, 0, 1000, 0, 100);
    return chart;
}

// A relief of elevations 100 at x 0 falling by 2 every 100 to 80 at x 1000: depths 0 .. 20.
inline arofcomplexM SlopeRelief()
{
    arofcomplexM relief;
    for (int k = 0; k <= 10; ++k) relief.push_back({100.0 * k, 100.0 - 2.0 * k});
    return relief;
}

// A new body of one sub-polygon through the points (core AddPolygon); its index, -1 when refused.
inline int AddBody(TPolygonChart& chart, const arofcomplexM& points)
{
    if (!AddPolygon(points, chart.Model.Bodies, chart.Model.Nodes)) return -1;
    return chart.Model.Bodies.High();
}

// A square body (x0, z0) .. (x0 + 2s, z0 + 2s) of four quarters meeting at its centre node, which every
// edge at it joins twice (node class 2); returns the body index and the centre node.
struct TQuartered {
    int body = -1;
    int centre = -1;
};
inline TQuartered AddQuarteredBody(TPolygonChart& chart, double x0, double z0, double s)
{
    TPolygonModel& m = chart.Model;
    const int base = m.Nodes.Length();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            TNode node;
            node.x = x0 + c * s;
            node.z = z0 + r * s;
            m.Nodes.push_back(node);
        }
    auto at = [base](int r, int c) { return base + 3 * r + c; };
    SPolygon body;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            Polygon sub;
            sub.ring = arofintM({at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r + 1, c)});
            if (!NodeRingOrientation(sub.ring, m.Nodes)) sub.ring = arofintM({at(r, c), at(r + 1, c), at(r + 1, c + 1), at(r, c + 1)});
            sub.properties = DefaultPolygonProperties();
            body.push_back(sub);
        }
    m.Bodies.push_back(body);
    ClassifyBodyNodes(m.Bodies.High(), m.Bodies, m.Nodes);
    return {m.Bodies.High(), at(1, 1)};
}

// A layer of body 0 from the left side at depth zl through (xm, zm) to the right side at depth zr; the
// variant picks the side of the line it closes on (false: towards the surface). Returns its two side
// nodes, or -1s when the core refuses.
struct TLayer {
    int left = -1;
    int right = -1;
};
inline TLayer AddHostLayer(TPolygonChart& chart, double zl, double xm, double zm, double zr, bool variant)
{
    TPolygonModel& m = chart.Model;
    const TModelBox& box = m.ModelBox;
    TLayer layer;
    if (!InsertNodeOnEdge(0, 1, 0, 1, 1, m.Nodes, m.Bodies, {box.XMin, zl})) return {};
    layer.left = m.Nodes.High();
    if (!InsertNodeOnEdge(2, 3, 0, 1, 1, m.Nodes, m.Bodies, {box.XMax, zr})) return {};
    layer.right = m.Nodes.High();
    for (int v : {layer.left, layer.right}) m.Nodes[v].FrameCode = FrameSideCode(v, m.Bodies, m.Nodes, box);
    if (!AddSubPolygonInFrame(layer.left, layer.right, 0, variant, m.Nodes, m.Bodies,
                              PointList({{box.XMin, zl}, {xm, zm}, {box.XMax, zr}}), box))
        return {};
    return layer;
}

// Expects the two models equal as undo restores them: bodies slot by slot except slot 0, nodes field by
// field (not their work fields), and the box.
inline void ExpectSameModel(const TPolygonModel& actual, const TPolygonModel& expected, const std::string& what)
{
    EXPECT_EQ(actual.ModelBox, expected.ModelBox) << what;
    ASSERT_EQ(actual.Nodes.Length(), expected.Nodes.Length()) << what;
    for (int v = 0; v < actual.Nodes.Length(); ++v) {
        const TNode& a = actual.Nodes[v];
        const TNode& e = expected.Nodes[v];
        EXPECT_EQ(a.x, e.x) << what << " node " << v;
        EXPECT_EQ(a.z, e.z) << what << " node " << v;
        EXPECT_EQ(a.FixedFlag, e.FixedFlag) << what << " node " << v;
        EXPECT_EQ(a.NodeClass, e.NodeClass) << what << " node " << v;
        EXPECT_EQ(a.FrameCode, e.FrameCode) << what << " node " << v;
    }
    ASSERT_EQ(actual.Bodies.Length(), expected.Bodies.Length()) << what;
    for (int i = 0; i < actual.Bodies.Length(); ++i) {
        ASSERT_EQ(actual.Bodies[i].Length(), expected.Bodies[i].Length()) << what << " body " << i;
        for (int j = 0; j < actual.Bodies[i].Length(); ++j) {
            const Polygon& a = actual.Bodies[i][j];
            const Polygon& e = expected.Bodies[i][j];
            EXPECT_EQ(ToVector(a.ring), ToVector(e.ring)) << what << " ring " << i << "/" << j;
            for (int slot = 1; slot < PolygonPropertyCount; ++slot)
                EXPECT_EQ(a.properties[slot], e.properties[slot])
                    << what << " slot " << slot << " of " << i << "/" << j;
        }
    }
}

// The chart drawn as on screen, and a pixel of it at model coordinates through the axes of that drawing.
struct TDrawn {
    std::unique_ptr<TBitmap> Bitmap;
    const TPolygonChart* Chart = nullptr;

    explicit TDrawn(TPolygonChart& chart) : Bitmap(chart.RenderToBitmap(clWhite, chart.ChartBounds(), pf24bit)), Chart(&chart) {}
    int X(double x) const { return Chart->BottomAxis().CalcPosValue(x); }
    int Y(double z) const { return Chart->LeftAxis().CalcPosValue(z); }
    TColor Pixel(int px, int py) const { return Bitmap->Canvas().GetPixel(px, py); }
    TColor At(double x, double z) const { return Pixel(X(x), Y(z)); }
    // Whether the nine pixels round the point of (x, z) all have that colour.
    bool BlockOf(double x, double z, TColor color) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Pixel(X(x) + dx, Y(z) + dy) != color) return false;
        return true;
    }
};

} // namespace pctest
