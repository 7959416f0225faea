// The standard tools that move things: turning a chart in 3-D with the mouse, dragging series marks to
// positions of the user's own, animating a series' values from a start value to the real ones, and
// clipping the drawing of one series to the rectangle of its axes. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <string>

// ---- Rotate ----------------------------------------------------------------------------------------------

enum TRotateToolStyles { rsAll, rsRotation, rsElevation };
inline const TEnumNames RotateToolStylesNames{"rsAll", "rsRotation", "rsElevation"};

class TRotateTool : public TLumCustomTool {
    VSP_PERSISTENT_CLASS
public:
    // The outline pen: invisible (so every step repaints the chart), exclusive-or, white.
    explicit TRotateTool(TComponent* AOwner);
    // A rotation still under way ends as its release would.
    ~TRotateTool() override;

    std::string EditorFormName() const override { return "TRotateToolEditor"; }
    std::string DescriptionText() const override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Made inactive or moved to another chart, a rotation under way ends as its release would.
    void SetActive(bool Value) override;
    void SetParentChart(TCustomAxisPanel* Value) override;

    TMouseButton Button = mbLeft;
    bool Inverted = false;
    TRotateToolStyles Style = rsAll;
    TNotifyEvent OnRotate;

    TPoint LastMouse{0, 0};
    bool Rotating = false;
    bool FirstMove = false;
    // The chart's repaint switch while an outline stands in for the repaints.
    bool SavedRepaint = false;

private:
    void Turn(int X, int Y);
    // The plot rectangle at the front and at the chart's depth, joined at the corners, in exclusive-or.
    void DrawOutline();
    // Back to normal repainting after a rotation with an outline.
    void EndRotation();

    // The repaint switch is off and an outline stands on the canvas.
    bool FOutlined = false;
};
