// The two mouse-following tools of the standard tools unit: the nearest-point tool, which finds the point
// of its series (or of every series) nearest to the mouse, marks it with a circle, square or diamond and a
// line from the mouse, and reports it; and the marks tip, which shows the mark text of the point under
// the mouse as the chart's hint. Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"
#include "chart/engine/LumEngineTypes.h"

#include <functional>

#include <memory>
#include <string>
#include <vector>

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
    // The visible points' screen x of the last search, kept for the next one's storage.
    std::vector<int> FScreenX;
};

enum TMarkToolMouseAction { mtmMove, mtmClick };
inline const TEnumNames MarkToolMouseActionNames{"mtmMove", "mtmClick"};

class TMarksTipTool;
using TMarksTipGetText = std::function<void(TMarksTipTool* Sender, std::string& Text)>;

class TMarksTipTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TMarksTipTool(TComponent* AOwner);

    std::string EditorFormName() const override { return "TMarksTipToolEdit"; }
    std::string DescriptionText() const override;
    // Moves (mtmMove) or presses (mtmClick) over a point show its mark text as the chart's hint.
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Becoming inactive withdraws the tip.
    void SetActive(bool Value) override;
    void SetSeries(TChartSeries* Value) override;

    TMarkToolMouseAction MouseAction() const { return FMouseAction; }
    // Stores the action and withdraws the tip.
    void SetMouseAction(TMarkToolMouseAction Value);
    // The application's hint pause: one for every control of the application.
    int MouseDelay() const;
    void SetMouseDelay(int Value);
    // The marks style the tip's text is composed with; the marks on screen keep their own.
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle Value) { FStyle = Value; }

    TNotifyEvent OnCancelHint;
    TMarksTipGetText OnGetText;

    // The series whose point is under the mouse (forgotten when it is freed), and that point.
    TChartSeries* HitSeries() const { return FHitSeries; }
    int HitIndex = -1;

    // The series' chart when a series is set, else the tool's.
    TCustomAxisPanel* TipChart() const;
    // OnCancelHint, the chart's hint emptied, and the application's hint cancelled when there was one.
    void CancelTip();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The point under the mouse: its index in HitSeries, -1 when none.
    int FindPoint(TCustomAxisPanel& Chart, int X, int Y);
    std::string TipText(int Index);

    TMarkToolMouseAction FMouseAction = mtmMove;
    TSeriesMarksStyle FStyle = smsLabel;
    TChartSeries* FHitSeries = nullptr;
};
