// The gantt drag tool: a press on a bar of its gantt series takes the whole bar or, within MinPixels of
// an end, that end; moving the mouse shifts the taken part by the horizontal axis' delta (an end never
// passes the other); moving without a bar taken shows the resize or drag cursor. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <string>

enum TGanttToolBarPart { pbStart, pbAll, pbEnd };

class TGanttTool;
using TGanttDragEvent = std::function<void(TGanttTool* Sender, int GanttBar)>;
using TGanttResizeEvent = std::function<void(TGanttTool* Sender, int GanttBar, TGanttToolBarPart BarPart)>;

class TGanttTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TGanttTool(TComponent* AOwner);

    std::string EditorFormName() const override { return "TGanttToolEditor"; }
    std::string DescriptionText() const override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool AllowDrag() const { return FAllowDrag; }
    void SetAllowDrag(bool Value) { FAllowDrag = Value; }
    bool AllowResize() const { return FAllowResize; }
    void SetAllowResize(bool Value) { FAllowResize = Value; }
    TCursor CursorDrag() const { return FCursorDrag; }
    void SetCursorDrag(TCursor Value) { FCursorDrag = Value; }
    TCursor CursorResize() const { return FCursorResize; }
    void SetCursorResize(TCursor Value) { FCursorResize = Value; }
    int MinPixels() const { return FMinPixels; }
    void SetMinPixels(int Value) { FMinPixels = Value; }
    // The bar being dragged (-1 while none) and the part of it.
    int DraggedBar() const { return FBar; }
    TGanttToolBarPart DraggedPart() const { return FPart; }

    TGanttDragEvent OnDragBar;
    TGanttResizeEvent OnResizeBar;

private:
    // The first bar whose row band holds Y and one of whose ends lies within MinPixels of X; -1 when none.
    int BarEndAt(int X, int Y, TGanttToolBarPart& Part) const;

    bool FAllowDrag = true;
    bool FAllowResize = true;
    TCursor FCursorDrag = crHandPoint;
    TCursor FCursorResize = crSizeWE;
    int FMinPixels = 5;
    int FBar = -1;
    TGanttToolBarPart FPart = pbAll;
    double FLastValue = 0;
};

void LumGanttToolInitialization();
void LumGanttToolFinalization();
