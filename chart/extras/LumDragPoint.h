// The drag-point tool: a left press on a point of its series picks the point, moving the mouse rewrites the
// point's X value, Y value or both from the mouse position, and the left release ends the drag. It draws
// nothing. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <string>

enum TDragPointStyle { dsX, dsY, dsBoth };

class TDragPointTool;
using TDragPointToolEvent = std::function<void(TDragPointTool* Sender, int Index)>;

class TDragPointTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TDragPointTool(TComponent* AOwner);

    std::string EditorFormName() const override { return "TDragPointToolEdit"; }
    std::string DescriptionText() const override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

    TDragPointStyle DragStyle() const { return FDragStyle; }
    void SetDragStyle(TDragPointStyle Value) { FDragStyle = Value; }
    // The point being dragged; -1 while idle.
    int DraggedIndex() const { return FIndex; }

    // After each move step and at the release (then with -1 when no point was being dragged).
    TDragPointToolEvent OnDragPoint;

private:
    // The value at a pixel of the axis; an axis without span first gets one 1e-13 wide.
    static double ValueAtPixel(TChartAxis& Axis, int Pixel);

    TDragPointStyle FDragStyle = dsBoth;
    int FIndex = -1;
};

// Registers the tool class with the chart's tool registry; the shut-down removes it.
void LumDragPointInitialization();
void LumDragPointFinalization();
