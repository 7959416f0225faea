// The lower view of the main window until the model view proper exists: a chart "Cross-section" holding
// the polygon model, with both axes fixed to the model box (depth down the left axis), the electrode marks
// and the boundary-element nodes of a run. Its model operations are the core's; it draws no shapes.
#pragma once

#include "chart/control/Chart.h"
#include "core/Polygons.h"

class TPointSeries;

class TModelViewStandIn : public TChart {
public:
    explicit TModelViewStandIn(TComponent* AOwner);

    // The model: what the open pipeline loads, the runs solve and the writer saves.
    TPolygonModel Model;
    // A model exists (a frame model was made or a model block taken over).
    bool ModelPresent() const { return !Model.Bodies.empty(); }
    // The model of a survey file, taken over whole; the caller then applies its box (SetModelBox).
    void TakeOverModel(const TPolygonModel& model);
    // No model (before the first survey, and for a survey without a model block).
    void ClearModel();

    // A copy of the points; with two or more, each z becomes the largest z less z (depth below the
    // highest point).
    void SetRelief(const arofcomplexM& points);
    // A new box: a side that would cut the free nodes keeps its value, the top stays; the frame is
    // rebuilt unless `keepFrame`, its nodes moved onto the sides, and the axes fixed to the box.
    void SetModelBox(bool keepFrame, double xmin, double xmax, double zmin, double zmax);
    // A model of the host frame alone over the relief, in the box given.
    void CreateFrameModel(const arofcomplexM& relief, bool reliefPresent, double xmin, double xmax, double zmin,
                          double zmax);

    TPointSeries& NodeSeries() const { return *FNodeSeries; }
    TPointSeries& ElectrodeSeries() const { return *FElectrodeSeries; }

private:
    void FixAxesToBox();

    TPointSeries* FNodeSeries = nullptr;
    TPointSeries* FElectrodeSeries = nullptr;
};
