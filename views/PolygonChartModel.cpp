// The model view's frame, box, relief and pixel scales, and its hand-offs: the model read with a survey
// taken over, and the solver's boundary made from the chart's own model.
#include "views/PolygonChart.h"

#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"
#include "core/BoundaryDiscretize.h"
#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <limits>

// ---- Model helpers --------------------------------------------------------------------------------------

arofcomplexM ReliefDepths(const arofcomplexM& points)
{
    arofcomplexM depths = points;
    if (depths.Length() < 2) return depths;
    double zmax = depths[0].z;
    for (const complexM& p : depths) zmax = std::max(zmax, p.z);
    for (complexM& p : depths) p.z = zmax - p.z;
    return depths;
}

TModelBox BoundedModelBox(const TPolygonModel& model, double xmin, double xmax, double zmax)
{
    const NodesExtent free = FreeNodesExtent(model.Nodes);
    TModelBox box = model.ModelBox;
    if (xmin <= free.minX) box.XMin = xmin;
    if (xmax >= free.maxX) box.XMax = xmax;
    if (zmax >= free.maxZ) box.ZMax = zmax;
    return box;
}

namespace {

// Whether body 0 passes the move check with its side and bottom frame nodes (codes 1 to 5) as the moved
// nodes; true without a body 0.
bool FrameHolds(const TPolygonModel& model)
{
    if (model.Bodies.empty()) return true;
    arofintM frame;
    for (int v = 0; v < model.Nodes.Length(); ++v) {
        const int code = model.Nodes[v].FrameCode;
        if (code >= fcLeft && code <= fcRight) frame.push_back(v);
    }
    return CheckMovedNodes(frame, 0, model.Bodies, mcFull, model.Nodes);
}

} // namespace

bool ApplyModelBox(TPolygonModel& model, bool keepFrame, const TModelBox& box)
{
    const AllSpolygon bodies = model.Bodies;
    const Tnodes nodes = model.Nodes;
    // A model that fails the check as it stands (a layer whose side edges run along the host's, which the
    // host ring does not split at the layer's side nodes) tells nothing about the move: it is taken.
    const bool heldBefore = FrameHolds(model);
    if (!keepFrame) RebuildFrame(model.Relief, model.HasRelief, model.Bodies, model.Nodes, box, model.ModelBox);
    MoveFrameNodes(model.Nodes, box);
    if (heldBefore && !FrameHolds(model)) {
        model.Bodies = bodies;
        model.Nodes = nodes;
        return false;
    }
    model.ModelBox = box;
    return true;
}

double PixelScale(int lengthPixels, double span, double magnitude)
{
    // An axis keeps at least LeastAxisSpan (1e-10) between its ends; adding it to a large end rounds.
    const double least = 1e-10 + 4 * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(magnitude));
    if (!(span > least)) return 1.0;
    const double scale = lengthPixels / span;
    return std::isfinite(scale) && scale > 0 ? scale : 1.0;
}

// ---- The chart's model operations ---------------------------------------------------------------------

void TPolygonChart::SetRelief(const arofcomplexM& points) { Model.Relief = ReliefDepths(points); }

void TPolygonChart::CreateFrameModel(const arofcomplexM& relief, bool reliefPresent, double xmin, double xmax,
                                     double /*zmin*/, double zmax)
{
    CancelPendingEdit();
    SetRelief(relief);
    WorkingBodies.clear();
    WorkingNodes.clear();
    FUndo.Clear();
    FSurfaceMask->ClearPoints();

    // The box given, whatever the discarded model held; its top stays.
    if (xmin > xmax) std::swap(xmin, xmax);
    Model.ModelBox.XMin = xmin;
    Model.ModelBox.XMax = xmax;
    Model.ModelBox.ZMax = zmax;
    Model.HasRelief = reliefPresent;
    Tnodes nodes;
    SPolygon host;
    BuildFramePolygon(nodes, host, Model.Relief, Model.HasRelief, Model.ModelBox);
    Model.Nodes = nodes;
    Model.Bodies.clear();
    Model.Bodies.push_back(host);

    FModelPresent = true;
    FixAxesToBox();
    FShapeSeries->ClearPoints();
    PushUndo();
    RebuildShapes();
    UpdatePixelScales();
    SaveWorkingCopy();
}

void TPolygonChart::SetModelBox(bool keepFrame, double xmin, double xmax, double /*zmin*/, double zmax)
{
    // An edit in progress ends first: the box changes the model as it was before it.
    EndPendingEdit();
    const TModelBox box = BoundedModelBox(Model, xmin, xmax, zmax);
    ApplyModelBox(Model, keepFrame, box);
    FixAxesToBox();
    LayOutAxes();
    ComputePixelScales();
    // Also after a refusal: a model just taken over has its first shapes here.
    RebuildShapes();
    SaveWorkingCopy();
}

void TPolygonChart::FixAxesToBox()
{
    BottomAxis().SetFixedRange(Model.ModelBox.XMin, Model.ModelBox.XMax);
    LeftAxis().SetFixedRange(Model.ModelBox.ZMin, Model.ModelBox.ZMax);
}

void TPolygonChart::UpdatePixelScales()
{
    LayOutAxes();
    if (!ZoomAllowed() && EqualScale) {
        // The depth shown changes the depth labels, whose room changes the plot's width: again until the
        // width holds (the labels' width settles within a round or two).
        for (int round = 0; round < 3; ++round) {
            const int width = BottomAxis().PixelSize;
            ApplyEqualScale();
            LayOutAxes();
            if (BottomAxis().PixelSize == width) break;
        }
    }
    ComputePixelScales();
}

void TPolygonChart::LayOutAxes()
{
    // The layout a paint runs, onto a scratch canvas of one pixel: the axes take their pixel spans from
    // the chart's size, titles and labels, and nothing shows.
    TBitmap scratch;
    scratch.SetSize(1, 1);
    DrawUnbuffered(scratch.Canvas(), ChartBounds());
}

void TPolygonChart::ApplyEqualScale()
{
    TChartAxis& bottom = BottomAxis();
    TChartAxis& left = LeftAxis();
    bottom.ComputeAutoRange();
    left.ComputeAutoRange();
    // A chart with no room inside its margins gets axes of one pixel from the layout (a collapsed pane):
    // there is no length to compare, and the axes stay as they are.
    if (bottom.PixelSize < 2 || left.PixelSize < 2) return;
    const double span = bottom.CurrentMaximum - bottom.CurrentMinimum;
    if (!(span > 0)) return;
    const double maximum = span / bottom.PixelSize * left.PixelSize + left.CurrentMinimum;
    if (!std::isfinite(maximum) || maximum < left.Minimum()) return;
    left.SetMaximum(maximum);
    left.ComputeAutoRange();
}

void TPolygonChart::ComputePixelScales()
{
    const TChartAxis& bottom = BottomAxis();
    const TChartAxis& left = LeftAxis();
    PixelsPerX = PixelScale(bottom.PixelSize, bottom.CurrentMaximum - bottom.CurrentMinimum,
                            std::max(std::fabs(bottom.CurrentMinimum), std::fabs(bottom.CurrentMaximum)));
    PixelsPerZ = PixelScale(left.PixelSize, left.CurrentMaximum - left.CurrentMinimum,
                            std::max(std::fabs(left.CurrentMinimum), std::fabs(left.CurrentMaximum)));
}

void TPolygonChart::FollowAxes()
{
    SetModelBox(false, BottomAxis().Minimum(), BottomAxis().Maximum(), LeftAxis().Minimum(), LeftAxis().Maximum());
    UpdatePixelScales();
    // The new box is a step of the undo list: undoing a later edit keeps it.
    PushUndoIfChanged();
}

// ---- Hand-offs ------------------------------------------------------------------------------------------

void TPolygonChart::LoadModelBlock(const TPolygonModel& model)
{
    CancelPendingEdit();
    Model = model;
    FModelPresent = true;
    WorkingBodies.clear();
    WorkingNodes.clear();
    FUndo.Clear();
    PushUndo();
}

void TPolygonChart::ClearModel()
{
    CancelPendingEdit();
    const TModelBox box = Model.ModelBox;
    Model = TPolygonModel{};
    Model.ModelBox = box;
    FModelPresent = false;
    WorkingBodies.clear();
    WorkingNodes.clear();
    FUndo.Clear();
    FShapeSeries->ClearPoints();
    FSurfaceMask->ClearPoints();
    Invalidate();
}

void TPolygonChart::DiscretizeBoundary(bool Exponent, AllSpolygon& bodies, double H, double FactorX,
                                       double StartStepX, double FactorZ, double StartStepZ, Tnodes& nodes)
{
    FrameOffset = ::FrameOffset(H);
    ::DiscretizeBoundary(Model, Exponent, bodies, H, FactorX, StartStepX, FactorZ, StartStepZ, nodes);
}
