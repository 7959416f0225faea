// The two tools of the standard tools unit that scroll an axis with the mouse: arrows at the ends of an
// axis, which shift its range by a percentage when clicked, and dragging an axis line, which pans it
// together with the axes of its orientation that share a series with it. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <string>

enum TAxisArrowToolPosition { aaStart, aaEnd, aaBoth };
inline const TEnumNames AxisArrowToolPositionNames{"aaStart", "aaEnd", "aaBoth"};

class TAxisArrowTool;
using TAxisArrowClickEvent = std::function<void(TAxisArrowTool* Sender, bool AtStart)>;

class TAxisArrowTool : public TLumCustomToolAxis {
    VSP_PERSISTENT_CLASS
public:
    explicit TAxisArrowTool(TComponent* AOwner);

    std::string EditorFormName() const override { return "TAxisArrowToolEditor"; }
    std::string DescriptionText() const override;
    // The arrows are drawn at the end of the chart's drawing.
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

    TAxisArrowToolPosition Position() const { return FPosition; }
    void SetPosition(TAxisArrowToolPosition Value);
    int HeadWidth() const { return FHeadWidth; }
    void SetHeadWidth(int Value) { SetIntegerField(FHeadWidth, Value); }
    int Length() const { return FLength; }
    void SetLength(int Value) { SetIntegerField(FLength, Value); }
    int SizePercent() const { return FSizePercent; }
    void SetSizePercent(int Value) { SetIntegerField(FSizePercent, Value); }

    bool ScrollInverted = false;
    int ScrollPercent = 10;
    TAxisArrowClickEvent OnClick;

    // 0 the start arrow, 1 the end arrow, -1 none: within 2 pixels of the axis line, strictly inside an
    // arrow's length.
    int ArrowAt(int X, int Y) const;
    // Asks the chart's OnAllowScroll, moves the axis (and the other axis of a both-axes series) by the
    // fraction of its span, then fires the chart's OnScroll.
    void ScrollAxis(double Fraction);

private:
    TAxisArrowToolPosition FPosition = aaBoth;
    int FHeadWidth = 8;
    int FLength = 16;
    int FSizePercent = 50;
};

class TAxisScrollTool : public TLumCustomToolAxis {
    VSP_PERSISTENT_CLASS
public:
    explicit TAxisScrollTool(TComponent* AOwner) : TLumCustomToolAxis(AOwner) {}

    std::string DescriptionText() const override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool ScrollInverted = false;
    TPoint LastMouse{0, 0};
    TChartAxis* DragAxis = nullptr;

    // The tool's axis, or without one the first axis of the chart, that is visible and hit at the point.
    TChartAxis* AxisUnderMouse(int X, int Y) const;

private:
    void Drag(int X, int Y);
};

// Moves the axis by Fraction of its span (of its logarithms on a logarithmic axis), automatic scaling off.
void ScrollAxisByFraction(TChartAxis& Axis, double Fraction);
