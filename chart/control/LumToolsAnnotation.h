// The annotation tools of the standard tools unit: a multi-line text in a framed box at a corner of the
// chart or at a custom position, with an optional callout line from the box to a point; and the
// rectangle, an annotation box the user moves and resizes with the mouse. Qt-free.
#pragma once

#include "chart/control/ChartWalls.h"
#include "chart/engine/LumEnginePointer.h"
#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <memory>
#include <string>

// The annotation's box; it only publishes the positioned box's properties.
class TLumShapePosition : public TLumCustomShapePosition {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumShapePosition(TCustomLumPanel* Chart) : TLumCustomShapePosition(Chart) {}
};

// The callout of an annotation: a connector from a point in pixels to the box.
class TAnnotationCallout : public TCallout {
    VSP_PERSISTENT_CLASS
public:
    // Without a series; the arrow and the symbol start invisible.
    TAnnotationCallout();
    // The three positions, then the callout's settings.
    void Assign(const TPersistent& Source) override;

    int XPosition() const { return FXPosition; }
    int YPosition() const { return FYPosition; }
    int ZPosition() const { return FZPosition; }
    void SetXPosition(int Value) { Store(FXPosition, Value); }
    void SetYPosition(int Value) { Store(FYPosition, Value); }
    void SetZPosition(int Value) { Store(FZPosition, Value); }

private:
    void Store(int& Field, int Value);

    int FXPosition = 0, FYPosition = 0, FZPosition = 0;
};

enum TAnnotationPosition { ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom };
inline const TEnumNames AnnotationPositionNames{"ppLeftTop", "ppLeftBottom", "ppRightTop", "ppRightBottom"};

class TAnnotationTool;
using TAnnotationClick =
    std::function<void(TAnnotationTool* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

class TAnnotationTool : public TLumCustomTool {
    VSP_PERSISTENT_CLASS
public:
    explicit TAnnotationTool(TComponent* AOwner);
    ~TAnnotationTool() override;

    std::string EditorFormName() const override { return "TAnnotationToolEdit"; }
    std::string DescriptionText() const override;
    // The box and the callout draw on the tool's chart.
    void SetParentChart(TCustomAxisPanel* Value) override;
    // Paints at the end of the chart's drawing.
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The text shown: Text.
    virtual std::string GetAnnotationText() const { return FText; }

    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value) { SetStringField(FText, Value); }
    TAnnotationPosition Position() const { return FPosition; }
    // Also clears a custom position.
    void SetPosition(TAnnotationPosition Value);
    TLumUnits PositionUnits() const { return FPositionUnits; }
    void SetPositionUnits(TLumUnits Value);
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { SetBooleanField(FAutoSize, Value); }
    TLumShapePosition& Shape() const { return *FShape; }
    void SetShape(const TLumShapePosition& Value) { FShape->Assign(Value); }
    TAnnotationCallout& Callout() const { return *FCallout; }
    void SetCallout(const TAnnotationCallout& Value) { FCallout->Assign(Value); }
    // The shape's size; setting one that differs switches AutoSize off.
    int Width() const { return FShape->BoundsWidth(); }
    int Height() const { return FShape->BoundsHeight(); }
    void SetWidth(int Value);
    void SetHeight(int Value);
    // The shape's position (custom from then on), its size kept.
    int Left() const { return FShape->Left(); }
    int Top() const { return FShape->Top(); }
    void SetLeft(int Value);
    void SetTop(int Value);

    TCursor Cursor = crDefault;
    TAnnotationClick OnClick;

    // The box for the present text, position and size; TextX and TextY receive the anchor of the text,
    // LineHeight the height of a line.
    TRect CalcBoxBounds(int& TextX, int& TextY, int& LineHeight);
    TRect CalcBoxBounds();
    // The point on the box the callout joins: the side facing P, or the middle.
    static TPoint ConnectionPoint(const TRect& Box, TPoint P);
    // The box contains the point, edges included.
    bool HitTest(int X, int Y);

private:
    void Paint();

    std::unique_ptr<TLumShapePosition> FShape;
    std::unique_ptr<TAnnotationCallout> FCallout;
    std::string FText;
    TAnnotationPosition FPosition = ppLeftTop;
    TLumUnits FPositionUnits = muPixels;
    TAlignment FTextAlignment = taLeftJustify;
    bool FAutoSize = true;
};

class TRectangleTool : public TAnnotationTool {
    VSP_PERSISTENT_CLASS
public:
    // A custom box of 50 x 50 at (10, 10), 75 % transparent, without shadow, with the hand cursor.
    explicit TRectangleTool(TComponent* AOwner);

    std::string DescriptionText() const override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // -1 outside; 0 left, 1 top, 2 right, 3 bottom within 3 pixels of that edge; -1 deeper inside.
    int EdgeAt(int X, int Y) const;

    TNotifyEvent OnDragged;
    TNotifyEvent OnDragging;
    TNotifyEvent OnResized;
    TNotifyEvent OnResizing;
    TPoint GrabOffset{0, 0};
    int ResizeEdge = -1;
    bool DraggingBox = false;

private:
    void Moved(int X, int Y);
};
