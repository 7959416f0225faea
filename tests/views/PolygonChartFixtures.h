// Small models on a model view for its tests: a chart of a fixed size with a frame model (with or without
// relief), bodies drawn through points, a body of four quarters round an inner node, a layer of the host
// between the box sides, the comparison of models as undo restores them, and a model view in a shown
// window driven by the mouse at the pixels of model points, checked after every event.
#pragma once

#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"
#include "core/Polygons.h"
#include "platform/controls/Application.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "views/PolygonChart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

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
    if (!AddPolygon(points, chart.Model.Bodies, chart.Model.Nodes, chart.NewPolygonProperties)) return -1;
    return chart.Model.Bodies.High();
}

// A square body (x0, z0) .. (x0 + 2s, z0 + 2s) of four quarters meeting at its centre node, which every
// edge at it joins twice (node class 2), each ring oriented as the model keeps its rings; returns the
// body index and the centre node.
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
            if (NodeRingOrientation(sub.ring, m.Nodes)) sub.ring = arofintM({at(r, c), at(r + 1, c), at(r + 1, c + 1), at(r, c + 1)});
            sub.properties = chart.NewPolygonProperties;
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
                              PointList({{box.XMin, zl}, {xm, zm}, {box.XMax, zr}}), box, chart.NewPolygonProperties))
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

// ---- A model view driven by the mouse -------------------------------------------------------------------

// Empty when every sub-polygon but the host has one shape, found by the identifier in its slot 0, whose
// vertices are its ring's node positions in ring order, and no other shape exists.
inline std::string ShapeFault(const TPolygonChart& chart)
{
    const TPolygonModel& m = chart.Model;
    const TLumPolygonList& shapes = chart.ShapeSeries().Shapes();
    int subs = 0;
    for (int i = 0; i < m.Bodies.Length(); ++i)
        for (int j = 0; j < m.Bodies[i].Length(); ++j) {
            if (i == 0 && j == 0) continue;
            ++subs;
            const std::string which = std::to_string(i) + "/" + std::to_string(j);
            const Variant& id = m.Bodies[i][j].properties[psShapeIndex];
            auto* shape = id.IsNumber() ? dynamic_cast<TLumPolygon*>(shapes.FindItemID(id.AsInteger())) : nullptr;
            if (!shape) return "no shape of sub-polygon " + which;
            const arofintM& ring = m.Bodies[i][j].ring;
            const TPolygonSeries& v = shape->VertexSeries();
            if (v.PointCount() != ring.Length()) return "the shape of " + which + " has another vertex count";
            for (int k = 0; k < ring.Length(); ++k)
                if (v.XValueAt(k) != m.Nodes[ring[k]].x || v.YValueAt(k) != m.Nodes[ring[k]].z)
                    return "vertex " + std::to_string(k) + " of the shape of " + which + " off its node";
        }
    if (shapes.Count() != subs) return std::to_string(shapes.Count()) + " shapes for " + std::to_string(subs);
    return {};
}

// The box (0, 100) x (0, 50) drawn at 4 pixels a unit across and 6 down, so that a model point at quarter
// units across and whole units down lies on a whole pixel, and a cursor there is that point. A chart in a
// shown window takes Qt's mouse events at those pixels with an event-loop turn after each; after every event
// the model (the working copy while an edit is pending) holds its invariants and the shapes match the rings.
inline constexpr double EditPixelsX = 4, EditPixelsZ = 6;

class TEditView {
public:
    explicit TEditView(const arofcomplexM& relief = {})
    {
        Application->ProcessMessages();
        Window->setGeometry(40, 40, 640, 480);
        Chart->SetParentWidget(Window.get());
        Chart->CreateFrameModel(relief, relief.Length() > 2, 0, 100, 0, 50);
        FitScales();
        Chart->onchangemodel = [this](TPersistent*) { ++Changes; };
        Window->show();
        Pump();
    }

    TPolygonChart& C() const { return *Chart; }
    TPolygonModel& M() const { return Chart->Model; }

    // After the model was built with core operations: it becomes the model taken over (one snapshot), its
    // shapes drawn.
    void Start()
    {
        const TPolygonModel model = Chart->Model;
        Chart->LoadModelBlock(model);
        Chart->SetModelBox(true, model.ModelBox.XMin, model.ModelBox.XMax, model.ModelBox.ZMin, model.ModelBox.ZMax);
        FitScales();
        Pump();
        Check("start");
    }
    void Mode(int mode)
    {
        Chart->EditMode = mode;
        Chart->ResetPendingEdit(mode);
        Check("mode " + std::to_string(mode));
    }
    void Esc()
    {
        Chart->UndoEdit();
        Pump();
        Check("Esc");
    }

    QPoint At(complexM p) const { return {Chart->BottomAxis().CalcPosValue(p.x), Chart->LeftAxis().CalcPosValue(p.z)}; }
    void Move(complexM p)
    {
        Send(QEvent::MouseMove, At(p), Qt::NoButton);
        Check("move to " + Text(p));
    }
    // A press (and its release) after a move there.
    void Press(complexM p, bool right)
    {
        Move(p);
        const Qt::MouseButton b = right ? Qt::RightButton : Qt::LeftButton;
        Send(QEvent::MouseButtonPress, At(p), b);
        Send(QEvent::MouseButtonRelease, At(p), b);
        Check(std::string(right ? "right" : "left") + " press at " + Text(p));
    }
    void Left(complexM p) { Press(p, false); }
    void Right(complexM p) { Press(p, true); }

    // The faults seen after the events so far.
    std::vector<std::string> Faults;
    // Completed edits (onchangemodel).
    int Changes = 0;

    void Check(const std::string& after)
    {
        const TPolygonChart& c = *Chart;
        const std::string model = c.EditPending ? ModelInvariantFault(c.WorkingBodies, c.WorkingNodes)
                                                : ModelInvariantFault(c.Model.Bodies, c.Model.Nodes);
        if (!model.empty()) Faults.push_back("after " + after + ": " + model);
        const std::string shapes = ShapeFault(c);
        if (!shapes.empty()) Faults.push_back("after " + after + ": " + shapes);
    }

    static std::string Text(complexM p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.z) + ")"; }

private:
    // The chart sized so that its axes are 400 and 300 pixels long.
    void FitScales()
    {
        int w = 600, h = 420;
        for (int k = 0; k < 8; ++k) {
            Chart->SetBounds(0, 0, w, h);
            Chart->UpdatePixelScales();
            const int dw = 400 - Chart->BottomAxis().PixelSize, dh = 300 - Chart->LeftAxis().PixelSize;
            if (dw == 0 && dh == 0) break;
            w += dw;
            h += dh;
        }
    }
    void Send(QEvent::Type t, QPoint q, Qt::MouseButton b)
    {
        QWidget* w = Chart->Widget();
        const Qt::MouseButtons held = t == QEvent::MouseButtonPress ? Qt::MouseButtons(b) : Qt::MouseButtons();
        QMouseEvent e(t, QPointF(q), w->mapToGlobal(QPointF(q)), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
        Pump();
    }
    static void Pump() { Application->ProcessMessages(); }

    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    std::unique_ptr<TPolygonChart> Chart = std::make_unique<TPolygonChart>(nullptr);
};

} // namespace pctest
