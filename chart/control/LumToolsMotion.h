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

// ---- Drag marks ------------------------------------------------------------------------------------------

class TDragMarksTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TDragMarksTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

    std::string EditorFormName() const override { return "TDragMarksToolEditor"; }
    std::string DescriptionText() const override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The inherited setter; the dragged series keeps its notification.
    void SetSeries(TChartSeries* Value) override;

    TPoint LastMouse{0, 0};
    // The point whose mark is dragged; -1 when none.
    int DragIndex = -1;
    // The series whose mark is dragged (forgotten when it is freed).
    TChartSeries* DragSeries() const { return FDragSeries; }

    // The tool's series, or the chart's from the last to the first: the first active one with a visible
    // mark at the point; Index receives the mark's point.
    TChartSeries* MarkAt(int X, int Y, int& Index) const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TChartSeries* FDragSeries = nullptr;
};

// ---- Series animation ------------------------------------------------------------------------------------

enum TSeriesAnimationLoop { salNo, salOneWay, salCircular };
inline const TEnumNames SeriesAnimationLoopNames{"salNo", "salOneWay", "salCircular"};

class TSeriesAnimationTool;
using TSeriesAnimationStep = std::function<void(TSeriesAnimationTool* Sender, int Step)>;

class TSeriesAnimationTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TSeriesAnimationTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

    std::string EditorFormName() const override { return "TSeriesAnimToolEditor"; }
    std::string DescriptionText() const override;

    // Runs the animation to its end, turning the message loop after every stage; nothing without a series
    // or while running. The series ends with its real values and its dependents are told once. When the
    // series or the tool is freed from inside a stage, the run ends at once without touching it again.
    virtual void Execute();
    bool IsRunning() const { return !FIdle; }
    // The running animation puts the real values back at its next stage and ends.
    void StopAnimation() { FIdle = true; }

    // Points per group (0: all at once).
    int DrawEvery = 0;
    TSeriesAnimationLoop Loop = salNo;
    bool StartAtMin = true;
    double StartValue = 0;
    // Stages 0..Steps per group; 0 is one stage at the real values, a negative count none.
    int Steps = 100;
    TSeriesAnimationStep OnStep;

private:
    bool FIdle = true;
};

// ---- Clip series -----------------------------------------------------------------------------------------

class TClipSeriesTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TClipSeriesTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}
    // Lets its series' drawing events go.
    ~TClipSeriesTool() override;

    std::string DescriptionText() const override;
    // Takes the old series' BeforeDrawValues and AfterDrawValues away and binds the new series' to the
    // clip start and end (replacing handlers the user put there).
    void SetSeries(TChartSeries* Value) override;

    // The tool's clip stands, from its series' start of drawing to its end.
    bool Clipped = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Takes the handlers off the series, unless it is being freed (its events go with it).
    void Unbind();
    void ClipStart();
    void ClipEnd();

    bool FSeriesGoing = false;
};
