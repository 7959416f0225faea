// The axis-bound tools of the standard tools unit: a colour line across the plot at one value of its
// axis, which the user drags; a colour band between two values, resizable by its two edge lines; and grid
// bands, which fill every other interval between the grid lines of an axis. Qt-free.
#pragma once

#include "chart/base/LumCanvasEffects.h"
#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <memory>
#include <string>

enum TColorLineStyle { clCustom, clMaximum, clCenter, clMinimum };
inline const TEnumNames ColorLineStyleNames{"clCustom", "clMaximum", "clCenter", "clMinimum"};

class TColorLineTool;
using TColorLineToolOnDrag = std::function<void(TColorLineTool* Sender)>;

class TColorLineTool : public TLumCustomToolAxis {
    VSP_PERSISTENT_CLASS
public:
    explicit TColorLineTool(TComponent* AOwner);

    std::string EditorFormName() const override { return "TColorLineToolEditor"; }
    std::string DescriptionText() const override;
    // From another colour line: the drag and drawing switches, Style and Value, then the element's.
    void Assign(const TPersistent& Source) override;
    // Stage 1 draws the back part, stage 0 the front part.
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // OnEndDragHook, then OnEndDragLine.
    virtual void EndDrag();

    double Value() const { return FValue; }
    // Outside loading the style becomes clCustom; a drag without DragRepaint stores silently.
    void SetValue(double AValue);
    TColorLineStyle Style() const { return FStyle; }
    void SetStyle(TColorLineStyle AValue);
    bool Draw3D() const { return FDraw3D; }
    void SetDraw3D(bool AValue) { SetBooleanField(FDraw3D, AValue); }
    bool DrawBehind() const { return FDrawBehind; }
    void SetDrawBehind(bool AValue) { SetBooleanField(FDrawBehind, AValue); }

    bool AllowDrag = true;
    bool DragRepaint = false;
    bool NoLimitDrag = false;
    TColorLineToolOnDrag OnBeginDragLine;
    TColorLineToolOnDrag OnDragLine;
    TColorLineToolOnDrag OnEndDragLine;

    bool Dragging = false;
    // The chart to draw on when the line belongs to no chart (an owning colour band sets it).
    TCustomAxisPanel* OwnerChart = nullptr;
    TColorLineToolOnDrag OnEndDragHook;
    double DragMinValue = 0;
    double DragMaxValue = 0;
    // Drags are kept within DragMinValue..DragMaxValue.
    bool LimitDrag = false;

    // OwnerChart when set, else ParentChart.
    TCustomAxisPanel* Chart() const { return OwnerChart ? OwnerChart : ParentChart(); }
    // The value the line stands at by Style.
    double LineValue() const;
    // The value kept within the values of the axis' two end pixels.
    double LimitToAxis(double V) const;
    // Within 2 pixels of the line, inside the plot rectangle's span along it.
    bool ClickedLine(int X, int Y) const;
    // The part of the line behind the series (Back) or in front of them.
    void PaintLine(bool Back);

private:
    TColorLineStyle FStyle = clCustom;
    double FValue = 0;
    bool FDraw3D = true;
    bool FDrawBehind = false;
};

class TColorBandTool : public TLumCustomToolAxis {
    VSP_PERSISTENT_CLASS
public:
    explicit TColorBandTool(TComponent* AOwner);
    ~TColorBandTool() override;

    std::string EditorFormName() const override { return "TColorBandToolEditor"; }
    std::string DescriptionText() const override;
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The inherited setter, then the edge lines take the axis and stay out of the chart's tool list.
    void SetAxis(TChartAxis* Value) override;
    // The inherited setter, then the edge lines draw on the band's chart.
    void SetParentChart(TCustomAxisPanel* Value) override;
    void Loaded() override;

    double StartValue() const { return FStartValue; }
    double EndValue() const { return FEndValue; }
    void SetStartValue(double Value);
    void SetEndValue(double Value);
    // The edge lines' Active.
    bool ResizeStart() const;
    bool ResizeEnd() const;
    void SetResizeStart(bool Value);
    void SetResizeEnd(bool Value);
    TChartPen& StartLinePen() const;
    TChartPen& EndLinePen() const;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { SetColorField(FColor, Value); }
    bool DrawBehind() const { return FDrawBehind; }
    void SetDrawBehind(bool Value) { SetBooleanField(FDrawBehind, Value); }
    bool DrawBehindAxes() const { return FDrawBehindAxes; }
    void SetDrawBehindAxes(bool Value) { SetBooleanField(FDrawBehindAxes, Value); }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value);
    TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TLumGradient& Value) { FGradient->Assign(Value); }

    TCursor Cursor = crDefault;
    TMouseEvent OnClick;
    TNotifyEvent OnBandMouseUp;

    TColorLineTool& StartLine() const { return *FStartLine; }
    TColorLineTool& EndLine() const { return *FEndLine; }

    // The band in pixels; empty without an axis or outside the axis range.
    TRect BandRect() const;
    // The stage the band is painted at: 3 (before the axes), 1 (before the series) or 0 (the end).
    int PaintStage() const { return FDrawBehindAxes ? 3 : FDrawBehind ? 1 : 0; }
    // Inside the band's rectangle projected at its depth.
    bool ClickedBand(int X, int Y) const;

private:
    int BandDepth() const;
    void PaintBand();
    void LineDragged(TColorLineTool* Line);

    TColor FColor = clWhite;
    bool FDrawBehind = true;
    bool FDrawBehindAxes = false;
    double FStartValue = 0;
    double FEndValue = 0;
    int FTransparency = 0;
    std::unique_ptr<TLumGradient> FGradient;
    std::unique_ptr<TColorLineTool> FStartLine;
    std::unique_ptr<TColorLineTool> FEndLine;
};

class TGridBandBrush : public TChartBrush {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridBandBrush(TNotifyEvent OnChange = nullptr);
    // From a grid band brush: gradient, BackColor and Transparency, then the chart brush.
    void Assign(const TPersistent& Source) override;

    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TLumGradient& Value) { FGradient->Assign(Value); }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value);

private:
    TColor FBackColor = clNone;
    std::unique_ptr<TLumGradient> FGradient;
    int FTransparency = 0;
};

class TGridBandTool : public TLumCustomToolAxis {
    VSP_PERSISTENT_CLASS
public:
    explicit TGridBandTool(TComponent* AOwner);
    // Clears the grid hook of its axis.
    ~TGridBandTool() override;

    std::string EditorFormName() const override { return "TGridBandToolEdit"; }
    std::string DescriptionText() const override;
    // Moves the grid hook from the old axis to the new one.
    void SetAxis(TChartAxis* Value) override;

    TGridBandBrush& Band1() const { return *FBand1; }
    TGridBandBrush& Band2() const { return *FBand2; }
    void SetBand1(const TGridBandBrush& Value) { FBand1->Assign(Value); }
    void SetBand2(const TGridBandBrush& Value) { FBand2->Assign(Value); }
    // The brush's BackColor, or for clNone the colour of the chart's back wall.
    TColor BandBackColor(const TGridBandBrush& Band) const;
    // Called by the axis before it paints its grid lines.
    void PaintBands(TChartAxis* Sender);

private:
    void FillBand(const TGridBandBrush& Band, int P0, int P1, TChartAxis& Axis);

    std::unique_ptr<TGridBandBrush> FBand1;
    std::unique_ptr<TGridBandBrush> FBand2;
};
