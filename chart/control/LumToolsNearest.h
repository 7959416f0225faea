// The nearest-point tool of the standard tools unit: it follows the mouse over the chart, finds the point
// of its series (or of every series) nearest to the mouse, marks it with a circle, square or diamond and a
// line from the mouse, and reports it. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <memory>
#include <string>

enum TNearestToolStyle { hsNone, hsCircle, hsRectangle, hsDiamond };

class TNearestTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TNearestTool(TComponent* AOwner);
    ~TNearestTool() override;

    std::string EditorFormName() const override { return "TNearestToolEdit"; }
    std::string DescriptionText() const override;
    // Stage 0 draws the marker; stage 5 (the mouse left the chart) takes it away.
    void NotifyChartStage(int Stage) override;
    // Presses and moves; the tool never takes the event.
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // The index of the series' point nearest to (X, Y) in whole pixels, -1 when none (no points, or none
    // inside the plot rectangle nearer than 10000 pixels); NearestDistance holds its distance.
    int FindNearestPoint(const TChartSeries& Series, int X, int Y);

    int Size() const { return FSize; }
    void SetSize(int Value) { SetIntegerField(FSize, Value); }
    TNearestToolStyle Style() const { return FStyle; }
    void SetStyle(TNearestToolStyle Value);
    // The line from the mouse to the point; its visibility is DrawLine.
    TChartPen& LinePen() const { return *FLinePen; }
    void SetLinePen(const TChartPen& Value) { FLinePen->Assign(Value); }
    bool DrawLine() const;
    void SetDrawLine(bool Value);
    // True: every move repaints the chart, which draws the marker; false: the marker is drawn and taken
    // away again with a not-xor pen, without a repaint.
    bool FullRepaint = true;

    TPoint MousePoint{0, 0};
    int NearestDistance = 0;
    // A press nearer than this (in pixels) to the nearest point calls OnPointClick.
    int ClickDistance = 0;
    int NearestIndex = -1;
    // Search every active series instead of Series; the nearest one's becomes Series.
    bool AllSeries = false;

    // After every mouse move.
    TNotifyEvent OnChange;
    TNotifyEvent OnSeriesChange;
    TMouseEvent OnPointClick;

private:
    void DrawMarker();

    int FSize = 20;
    TNearestToolStyle FStyle = hsCircle;
    std::unique_ptr<TChartPen> FLinePen;
};
