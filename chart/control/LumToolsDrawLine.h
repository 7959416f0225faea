// The draw-line tool of the standard tools unit: lines (or pairs of parallel lines) the user draws on a
// chart with the mouse, selects, moves whole or by either end. The lines are kept in axis values, so they
// follow zooming and scrolling, and travel with the chart as the tool's collection. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"
#include "platform/rtl/Collections.h"

#include <functional>
#include <memory>
#include <string>

enum TDrawLineStyle { dlLine, dlHorizParallel, dlVertParallel };
inline const TEnumNames DrawLineStyleNames{"dlLine", "dlHorizParallel", "dlVertParallel"};

class TDrawLineTool;

class TDrawLine : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TDrawLine(TCollection* Collection);
    // From another line: both points, the style and its own pen (or none).
    void Assign(const TPersistent& Source) override;

    TDrawLineTool* Tool() const;
    // The line's own pen, made on first use as a copy of the tool's pen.
    TChartPen& Pen() const;
    // Copies the pen into the line's own one; nullptr frees the own pen and repaints.
    void SetPen(const TChartPen* Value);
    bool HasOwnPen() const { return FPen != nullptr; }
    // The pen the line is drawn with: its own, else the tool's.
    const TChartPen& DrawingPen() const;

    TDrawLineStyle Style() const { return FStyle; }
    void SetStyle(TDrawLineStyle Value);
    double X0() const { return FX0; }
    double Y0() const { return FY0; }
    double X1() const { return FX1; }
    double Y1() const { return FY1; }
    void SetX0(double Value) { SetPointField(FX0, Value); }
    void SetY0(double Value) { SetPointField(FY0, Value); }
    void SetX1(double Value) { SetPointField(FX1, Value); }
    void SetY1(double Value) { SetPointField(FY1, Value); }
    // Both ends at once, without a repaint (the drag's release repaints once).
    void PlaceSilently(double AX0, double AY0, double AX1, double AY1);

private:
    void SetPointField(double& Field, double Value);

    mutable std::unique_ptr<TChartPen> FPen;
    TDrawLineStyle FStyle = dlLine;
    double FX1 = 0, FY1 = 0, FX0 = 0, FY0 = 0;
};

class TDrawLines : public TCollection {
    VSP_PERSISTENT_CLASS
public:
    explicit TDrawLines(TDrawLineTool* Tool);
    TDrawLineTool* Tool() const { return FTool; }
    TDrawLine* Line(int Index) const { return static_cast<TDrawLine*>(Items(Index)); }

protected:
    // A selected line that leaves clears the tool's selection.
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    TDrawLineTool* FTool;
};

using TDrawLineSelecting = std::function<void(TDrawLineTool* Sender, TDrawLine* Line, bool& AllowSelect)>;

class TDrawLineTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TDrawLineTool(TComponent* AOwner);
    ~TDrawLineTool() override;

    std::string EditorFormName() const override { return "TDrawLineEdit"; }
    std::string DescriptionText() const override;
    // The lines are drawn at the end of the chart's drawing.
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Clips the canvas to the series' axes (the plot without a series) where the chart allows clipping.
    virtual void ClipLines();

    TDrawLines& Lines() const { return *FLines; }
    void SetLines(const TDrawLines& Value) { FLines->Assign(Value); }
    bool EnableSelect() const { return FEnableSelect; }
    // Turned off, it drops the selection and repaints.
    void SetEnableSelect(bool Value);
    TDrawLine* Selected() const { return FSelected; }
    // Selects without drawing (nullptr deselects); the caller repaints.
    void SetSelected(TDrawLine* Value) { FSelected = Value; }
    // Frees the selected line, if any, and repaints.
    void DeleteSelected();

    TMouseButton Button = mbLeft;
    int ClickTolerance = 0;
    bool EnableDraw = true;
    bool SelectNewLines = true;
    TNotifyEvent OnDraggedLine;
    TNotifyEvent OnDragLine;
    TNotifyEvent OnNewLine;
    TNotifyEvent OnSelect;
    TDrawLineSelecting OnSelecting;

    bool Drawing = false;
    bool Dragged = false;
    TPoint LastDragPoint{0, 0};
    // 0 none, 1 the start point, 2 the end point, 3 the whole line.
    int DragPart = 0;
    TPoint StartPixel{0, 0};
    TPoint EndPixel{0, 0};

    // Values and pixels through the tool's axes.
    TPoint AxisPoint(double X, double Y) const;
    void PixelToValues(TPoint P, double& X, double& Y) const;
    // The part of the line at the (unprojected) point: 0 its shape, 1 its start handle, 2 its end
    // handle; Part picks which one is tested.
    bool ClickedLine(const TDrawLine& Line, int Part, TPoint P) const;
    // The selected line first, then every line in order, hit at the part; nullptr when none.
    TDrawLine* LineAtPart(int X, int Y, int Part) const;
    // The shape, then either handle, each with ClickTolerance.
    TDrawLine* LineAt(int X, int Y) const;
    // The line between StartPixel and EndPixel in not-xor mode: drawing it twice takes it away.
    void DrawRubberLine();

private:
    void DrawShape(TDrawLineStyle Style, TPoint P0, TPoint P1);
    void DrawHandles(const TDrawLine& Line);
    void Press(int X, int Y);
    void Moved(int X, int Y);
    void Released();
    void CapturePixels(const TDrawLine& Line);

    std::unique_ptr<TDrawLines> FLines;
    bool FEnableSelect = true;
    TDrawLine* FSelected = nullptr;
};
