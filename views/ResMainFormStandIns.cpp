// The stand-in model view: its look, its model and the box, relief and frame operations over the core's.
#include "views/ResMainFormStandIns.h"

#include "chart/series/Series.h"
#include "core/PolygonsFrame.h"

#include <algorithm>

TModelViewStandIn::TModelViewStandIn(TComponent* AOwner) : TChart(AOwner)
{
    SetView3D(false);
    Legend().SetVisible(false);
    SetColor(clWhite);
    Title().SetVisible(true);
    const std::string caption = "Cross-section";
    Title().SetTextLine(&caption);
    Title().Font().SetName("Small Fonts");
    Title().Font().SetHeight(-9);
    LeftAxis().SetInverted(true);
    LeftAxis().Title().SetCaption("z");
    LeftAxis().Grid().SetVisible(false);
    BottomAxis().Grid().SetVisible(false);
    RightAxis().SetVisible(false);
    TopAxis().SetVisible(false);

    // Boundary-element nodes of a run: small lime circles outlined black.
    FNodeSeries = new TPointSeries(nullptr); // the chart frees its series
    FNodeSeries->SetName("NodeSeries");
    FNodeSeries->SetSeriesColor(clLime);
    FNodeSeries->Pointer().SetStyle(psCircle);
    FNodeSeries->Pointer().SetHorizSize(2);
    FNodeSeries->Pointer().SetVertSize(2);
    FNodeSeries->Pointer().Brush().SetColor(clLime);
    FNodeSeries->Pointer().Pen().SetColor(clBlack);
    FNodeSeries->Marks().SetVisible(false);
    FNodeSeries->XValues().SetOrder(loNone);
    FNodeSeries->SetParentChart(this);
    // Electrode marks: thin red rectangles, one colour per point.
    FElectrodeSeries = new TPointSeries(nullptr);
    FElectrodeSeries->SetName("ElectrodeSeries");
    FElectrodeSeries->Pointer().SetStyle(psRectangle);
    FElectrodeSeries->Pointer().SetHorizSize(1);
    FElectrodeSeries->Pointer().SetVertSize(3);
    FElectrodeSeries->Pointer().Brush().SetColor(clRed);
    FElectrodeSeries->Pointer().Pen().SetColor(clGray);
    FElectrodeSeries->SetColorEachPoint(true);
    FElectrodeSeries->Marks().SetVisible(false);
    FElectrodeSeries->XValues().SetOrder(loNone);
    FElectrodeSeries->SetParentChart(this);
    FixAxesToBox();
}

void TModelViewStandIn::TakeOverModel(const TPolygonModel& model)
{
    Model = model;
    FixAxesToBox();
}

void TModelViewStandIn::ClearModel()
{
    const TModelBox box = Model.ModelBox;
    Model = TPolygonModel{};
    Model.ModelBox = box;
}

void TModelViewStandIn::SetRelief(const arofcomplexM& points)
{
    Model.Relief = points;
    if (points.Length() < 2) return;
    double zmax = points[0].z;
    for (const complexM& p : points) zmax = std::max(zmax, p.z);
    for (complexM& p : Model.Relief) p.z = zmax - p.z;
}

void TModelViewStandIn::SetModelBox(bool keepFrame, double xmin, double xmax, double /*zmin*/, double zmax)
{
    const TModelBox old = Model.ModelBox;
    const NodesExtent free = FreeNodesExtent(Model.Nodes);
    TModelBox box = old;
    if (xmin <= free.minX) box.XMin = xmin;
    if (xmax >= free.maxX) box.XMax = xmax;
    if (zmax >= free.maxZ) box.ZMax = zmax;
    if (!keepFrame) RebuildFrame(Model.Relief, Model.HasRelief, Model.Bodies, Model.Nodes, box, old);
    Model.ModelBox = box;
    MoveFrameNodes(Model.Nodes, box);
    FixAxesToBox();
}

void TModelViewStandIn::CreateFrameModel(const arofcomplexM& relief, bool reliefPresent, double xmin, double xmax,
                                         double zmin, double zmax)
{
    SetRelief(relief);
    Model.Bodies = AllSpolygon{};
    Model.Nodes = Tnodes{};
    Model.ModelBox = {xmin, xmax, 0.0, zmax};
    (void)zmin;
    Model.HasRelief = reliefPresent;
    SPolygon host;
    BuildFramePolygon(Model.Nodes, host, Model.Relief, Model.HasRelief, Model.ModelBox);
    Model.Bodies.SetLength(1);
    Model.Bodies[0] = host;
    FixAxesToBox();
}

void TModelViewStandIn::FixAxesToBox()
{
    BottomAxis().SetFixedRange(Model.ModelBox.XMin, Model.ModelBox.XMax);
    LeftAxis().SetFixedRange(Model.ModelBox.ZMin, Model.ModelBox.ZMax);
}
