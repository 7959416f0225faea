// The cursor tool of the standard tools unit: a cross-hair (a horizontal line, a vertical line or both)
// over the plot that the user drags or that follows the mouse, optionally snapping to the nearest point
// of a series. It is drawn in exclusive-or mode between paints and never belongs to the painted picture.
// Qt-free.
#pragma once

#include "chart/engine/LumEngineTools.h"

#include <functional>
#include <string>

enum TCursorToolStyle { cssHorizontal, cssVertical, cssBoth };
inline const TEnumNames CursorToolStyleNames{"cssHorizontal", "cssVertical", "cssBoth"};

class TCursorTool;
// The cursor's pixel and value position, the tool's series and the snapped point (-1 without one).
using TCursorToolChangeEvent = std::function<void(TCursorTool* Sender, int X, int Y, double XValue, double YValue,
                                                  TChartSeries* Series, int ValueIndex)>;
using TCursorToolGetRectEvent = std::function<void(TCursorTool* Sender, TRect& Rect)>;

class TCursorTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCursorTool(TComponent* AOwner);

    std::string EditorFormName() const override { return "TCursorToolEditor"; }
    std::string DescriptionText() const override;
    // The end of every paint forgets the cursor (the painted picture holds none).
    void NotifyChartStage(int Stage) override;
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The inherited setter; a series set outside loading snaps the cursor to it and repaints.
    void SetSeries(TChartSeries* Value) override;
    // Fires OnChange with the current position.
    virtual void Changed(int ValueIndex);

    TCursorToolStyle Style() const { return FStyle; }
    // A change snaps again and repaints.
    void SetStyle(TCursorToolStyle Value);
    bool UseSeriesZ() const { return FUseSeriesZ; }
    void SetUseSeriesZ(bool Value) { SetBooleanField(FUseSeriesZ, Value); }

    int ClickTolerance = 3;
    bool FollowMouse = false;
    bool Snap = false;
    TCursorToolChangeEvent OnChange;
    TCursorToolChangeEvent OnSnapChange;

    // May change the rectangle the cursor lives in (only when it comes from the axes).
    TCursorToolGetRectEvent OnGetCursorRect;
    // The plot rectangle instead of the axes' extents.
    bool UseChartRect = false;
    // What the current press holds: 0 nothing, 1 the horizontal line, 2 the vertical line, 3 both.
    int DragPart = 0;
    int LastSnapIndex = -1;
    double XValue = 0;
    double YValue = 0;
    // Where the cursor is drawn; -1 when it is not.
    int CursorX = -1;
    int CursorY = -1;
    // A circle or a square of half size ShapeSize around the point instead of the lines.
    bool DrawAsEllipse = false;
    bool DrawAsSquare = false;
    int ShapeSize = 10;
    bool WasInside = false;

    TRect GetCursorRect();
    // The (unprojected) point in the cursor rectangle, edges included.
    bool InCursorArea(int X, int Y);
    // The part within ClickTolerance of the point: 0, 1 horizontal line, 2 vertical line, 3 both.
    int HitTest(int X, int Y);
    // The first visible point nearest to the cursor's values in the Style's sense (value units, X and Y
    // mixed as they are for cssBoth); -1 when none.
    int NearestPoint() const;
    // With Snap and a series, the cursor's values move onto the nearest point; its index or -1.
    int SnapToPoint();
    // The cursor in exclusive-or mode: drawing it twice at the same place takes it away.
    void DrawCursor();

private:
    // The series' start depth with UseSeriesZ, else 0.
    int CursorDepth() const;
    void Unproject(int& X, int& Y);
    void PositionFromPixels(int X, int Y);
    void PixelsFromPosition();
    void MouseMoved(int X, int Y);

    TCursorToolStyle FStyle = cssBoth;
    bool FUseSeriesZ = false;
    int FSizeInUse = 10;
};
