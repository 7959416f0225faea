// The model view's shapes: one map-series shape per sub-polygon with the look of its property slots,
// their identifiers in the slots, the white mask above the relief, and the node marks after each paint.
#include "views/PolygonChart.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"
#include "core/Supermath2d.h"

#include <limits>

namespace {

// Slots read without raising: an unreadable slot gives the fallback.
int SlotInteger(const Variant& slot, int fallback)
{
    if (!slot.IsNumber()) return fallback;
    const double v = slot.AsDouble();
    if (!(v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()))
        return fallback;
    return slot.AsInteger();
}

double SlotReal(const Variant& slot, double fallback) { return slot.IsNumber() ? slot.AsDouble() : fallback; }

std::string SlotText(const Variant& slot) { return slot.AsString(); }

} // namespace

// ---- Look of one shape ----------------------------------------------------------------------------------

std::string ShapeLabel(const PolygonProperties& row, const std::string& current)
{
    switch (SlotInteger(row[psLabelMode], -1)) {
    case 0:
        return " ";
    case 1:
        return FormatValue(SlotReal(row[psResistivity], MissingValue), 1, true);
    case 2: {
        const Variant& type = row[psConductorType];
        const bool ionic = !(type.IsNumber() && type.AsDouble() == 0);
        return FormatValue(SlotReal(row[psResistivity], MissingValue), 1, true) + (ionic ? " I" : " E");
    }
    case 3:
        return SlotText(row[psLabelText]);
    default:
        return current;
    }
}

void ApplyPropertiesToShape(TLumPolygon& shape, const PolygonProperties& row)
{
    shape.SetParentPen(false);
    shape.SetParentBrush(false);
    shape.SetColor(static_cast<TColor>(SlotInteger(row[psFillColor], static_cast<int>(clDefault))));
    shape.SetBrush(*ReadBrushStyle(SlotText(row[psBrushText])));
    shape.SetPen(*ReadPenStyle(SlotText(row[psPenText])));
    const std::unique_ptr<TLumGradient> gradient = ReadGradientStyle(SlotText(row[psGradientText]));
    shape.SetGradient(gradient.get());
    shape.SetText(ShapeLabel(row, shape.Text()));
}

void StoreShapeInProperties(TLumPolygon& shape, PolygonProperties& row)
{
    row[psFillColor] = Variant(static_cast<std::int32_t>(shape.Color()));
    row[psBrushText] = Variant(WriteBrushStyle(shape.Brush()));
    row[psPenText] = Variant(WritePenStyle(shape.Pen()));
    row[psGradientText] = Variant(WriteGradientStyle(shape.Gradient()));
    row[psLabelText] = Variant(shape.Text());
    for (int slot : {5, 6, 9, 14, 15, 16, 17, 18}) row[slot] = Variant("*");
}

arofcomplexM SurfaceLine(const TPolygonModel& model)
{
    arofcomplexM line;
    if (!model.HasRelief || model.Bodies.empty() || model.Bodies[0].empty()) {
        line.push_back({model.ModelBox.XMin, 0});
        line.push_back({model.ModelBox.XMax, 0});
        return line;
    }
    const arofintM& ring = model.Bodies[0][0].ring;
    int k = 0;
    while (k < ring.Length() && ring[k] != 3) ++k;
    for (; k < ring.Length(); ++k) {
        const int v = ring[k];
        if (v < 0 || v >= model.Nodes.Length()) continue;
        line.push_back(NodePoint(model.Nodes, v));
        if (v == 0) break;
    }
    return line;
}

// ---- The chart's shapes --------------------------------------------------------------------------------

void TPolygonChart::RebuildShapes()
{
    {
        // One repaint for the whole rebuild.
        TRepaintPause pause(*this);
        FShapeSeries->ClearPoints();
        for (int i = 0; i < Model.Bodies.Length(); ++i)
            for (int j = 0; j < Model.Bodies[i].Length(); ++j)
                if (i != 0 || j != 0) AddShape(i, j);
        if (!Model.Bodies.empty() && !Model.Bodies[0].empty())
            Model.Bodies[0][0].properties[psShapeIndex] = Variant(std::int8_t(-1));
        FillSurfaceMask();
    }
    Invalidate();
}

void TPolygonChart::FillSurfaceMask()
{
    FSurfaceMask->ClearPoints();
    for (const complexM& p : SurfaceLine(Model)) FSurfaceMask->InsertPoint(p.x, p.z);
}

void TPolygonChart::AddShape(int body, int sub)
{
    TLumPolygon& shape = *FShapeSeries->Shapes().AddPolygon();
    Polygon& polygon = Model.Bodies[body][sub];
    for (int v : polygon.ring) shape.AddVertex(Model.Nodes[v].x, Model.Nodes[v].z);
    ApplyPropertiesToShape(shape, polygon.properties);
    polygon.properties[psShapeIndex] = Variant(static_cast<std::int32_t>(shape.ID()));
}

void TPolygonChart::ApplyShapeStyle(int body, int sub, int position)
{
    ApplyPropertiesToShape(*FShapeSeries->Shapes().GetPolygon(position), Model.Bodies[body][sub].properties);
}

void TPolygonChart::StoreShapeStyle(int body, int sub, int position)
{
    StoreShapeInProperties(*FShapeSeries->Shapes().GetPolygon(position), Model.Bodies[body][sub].properties);
}

int TPolygonChart::ShapeOfSubPolygon(int body, int sub) const
{
    const int id = SlotInteger(Model.Bodies[body][sub].properties[psShapeIndex], -1);
    if (id < 0) return -1;
    const TCollectionItem* shape = FShapeSeries->Shapes().FindItemID(id);
    return shape ? shape->Index() : -1;
}

void TPolygonChart::ResolveShapeIds(arofintM& ids, arofintM& bodies, arofintM& subs, arofintM& positions) const
{
    arofintM keptIds, keptBodies, keptSubs;
    positions.clear();
    for (int k = 0; k < ids.Length(); ++k) {
        if (ids[k] == -1) continue;
        const TCollectionItem* shape = FShapeSeries->Shapes().FindItemID(ids[k]);
        if (!shape) continue;
        keptIds.push_back(ids[k]);
        keptBodies.push_back(bodies[k]);
        keptSubs.push_back(subs[k]);
        positions.push_back(shape->Index());
    }
    ids = keptIds;
    bodies = keptBodies;
    subs = keptSubs;
}

void TPolygonChart::RefreshShapes(const arofintM& bodies, const arofintM& subs, const arofintM& positions)
{
    {
        TRepaintPause pause(*this);
        for (int k = 0; k < positions.Length(); ++k) {
            if (positions[k] == -1) continue;
            TLumPolygon& shape = *FShapeSeries->Shapes().GetPolygon(positions[k]);
            Polygon& polygon = Model.Bodies[bodies[k]][subs[k]];
            shape.VertexSeries().ClearPoints();
            for (int v : polygon.ring) shape.AddVertex(Model.Nodes[v].x, Model.Nodes[v].z);
            ApplyPropertiesToShape(shape, polygon.properties);
            polygon.properties[psShapeIndex] = Variant(static_cast<std::int32_t>(shape.ID()));
        }
    }
    Invalidate();
}

void TPolygonChart::MoveShapesToStart(arofintM& positions)
{
    TLumPolygonList& shapes = FShapeSeries->Shapes();
    arofintM ids;
    for (int p : positions) ids.push_back(shapes.GetPolygon(p)->ID());
    {
        TRepaintPause pause(*this);
        for (int k = 0; k < ids.Length(); ++k)
            for (int p = shapes.FindItemID(ids[k])->Index(); p > k; --p) FShapeSeries->SwapValueIndex(p - 1, p);
    }
    for (int k = 0; k < ids.Length(); ++k) positions[k] = shapes.FindItemID(ids[k])->Index();
    Invalidate();
}

// ---- Node marks ---------------------------------------------------------------------------------------

TColor TPolygonChart::NodeMarkColor(const TNode& node) const
{
    if (node.FrameCode >= 1) return BorderNodeColor;
    if (node.FixedFlag) return FixedNodeColor;
    return node.NodeClass == 2 ? InternalNodeColor : ExternalNodeColor;
}

void TPolygonChart::DrawNodeMarks()
{
    if (!FModelPresent) return;
    TCanvas3D& canvas = ChartCanvas();
    const TChartAxis& bottom = BottomAxis();
    const TChartAxis& left = LeftAxis();
    // The marks stay inside the plot as the series' points do: a zoomed view has nodes beyond its axes.
    // A node on the plot's edge (the frame's sides lie there) keeps its whole mark.
    const bool clipped = ClipPoints();
    const TRect plot = ChartRect();
    for (int v = 4; v < Model.Nodes.Length(); ++v) {
        const TNode& node = Model.Nodes[v];
        const int x = bottom.CalcPosValue(node.x);
        const int y = left.CalcPosValue(node.z);
        if (clipped && (x < plot.Left || x > plot.Right || y < plot.Top || y > plot.Bottom)) continue;
        const TColor color = NodeMarkColor(node);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) canvas.WritePixel(x + dx, y + dy, color);
    }
}
