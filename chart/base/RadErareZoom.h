// State and settings of the two mouse drags of a chart (zooming with a rubber band, panning) and the
// picture drawn behind a chart: the drag corners, the zoom's pen, brush and rules, the pan directions,
// and the back image with its placement. The extended panel owns them; the chart control runs the
// drags. Qt-free.
#pragma once

#include "chart/base/LumCanvasStyles.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Classes.h"

#include <memory>

inline const TEnumNames ZoomMouseButtonNames{"mbLeft", "mbRight", "mbMiddle"};

enum TLumZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
inline const TEnumNames ZoomDirectionNames{"tzdHorizontal", "tzdVertical", "tzdBoth"};

// Directions in which dragging scrolls the axes.
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
inline const TEnumNames PanningModeNames{"pmNone", "pmHorizontal", "pmVertical", "pmBoth"};

enum TLumBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };
inline const TEnumNames BackImageModeNames{"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"};

// ---- Drag state --------------------------------------------------------------------------------------------

// A drag between the corner where it started (X0, Y0) and the current corner (X1, Y1), in client pixels.
class TZoomPanning : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    bool Active = false;
    int X0 = 0, Y0 = 0;
    int X1 = 0, Y1 = 0;

    // Both corners at (X, Y); the drag is active.
    void StartAt(int X, int Y);
    // X0 <= X1 and Y0 <= Y1 afterwards.
    void SortCorners();
};

// ---- Zoom -------------------------------------------------------------------------------------------------

// The rubber band's outline: a chart pen whose colour is stored only when it differs from its own
// default colour (0 until its owner sets another).
class TLumZoomPen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumZoomPen(TNotifyEvent onChange = nullptr) : TChartPen(std::move(onChange)) {}
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor v) { FDefaultColor = v; }
    bool ColorStored() const { return Color() != FDefaultColor; }

private:
    TColor FDefaultColor = 0;
};

// The rubber band's fill: white and clear unless changed.
class TLumZoomBrush : public TChartBrush {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumZoomBrush(TNotifyEvent onChange = nullptr);
};

// The zoom settings of a panel, with the drag state it inherits.
class TLumZoom : public TZoomPanning {
    VSP_PERSISTENT_CLASS
public:
    TLumZoom();
    ~TLumZoom() override;
    TLumZoom(const TLumZoom&) = delete;
    TLumZoom& operator=(const TLumZoom&) = delete;

    // From another zoom: Allow, Animated, AnimatedSteps, Brush, Direction, KeyShift, MouseButton, Pen
    // (not MinimumPixels nor UpLeftZooms). Other sources go to the inherited Assign.
    void Assign(const TPersistent& Source) override;

    bool Allow() const { return FAllow; }
    void SetAllow(bool v) { FAllow = v; }
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool v) { FAnimated = v; }
    int AnimatedSteps() const { return FAnimatedSteps; }
    void SetAnimatedSteps(int v) { FAnimatedSteps = v; }
    TLumZoomDirection Direction() const { return FDirection; }
    void SetDirection(TLumZoomDirection v) { FDirection = v; }
    TShiftState KeyShift() const { return FKeyShift; }
    void SetKeyShift(TShiftState v) { FKeyShift = v; }
    int MinimumPixels() const { return FMinimumPixels; }
    void SetMinimumPixels(int v) { FMinimumPixels = v; }
    TMouseButton MouseButton() const { return FMouseButton; }
    void SetMouseButton(TMouseButton v) { FMouseButton = v; }
    bool UpLeftZooms() const { return FUpLeftZooms; }
    void SetUpLeftZooms(bool v) { FUpLeftZooms = v; }

    // Made on first read (white, clear; no change handler: editing them repaints nothing by itself).
    TLumZoomBrush& Brush();
    TLumZoomPen& Pen();
    bool HasBrush() const { return FBrush != nullptr; }
    bool HasPen() const { return FPen != nullptr; }
    // A copy into the own object; nullptr frees it.
    void SetBrush(const TChartBrush* v);
    void SetPen(const TChartPen* v);

private:
    bool FAllow = true;
    bool FAnimated = false;
    int FAnimatedSteps = 8;
    TLumZoomDirection FDirection = tzdBoth;
    TShiftState FKeyShift;
    int FMinimumPixels = 16;
    TMouseButton FMouseButton = mbLeft;
    bool FUpLeftZooms = false;
    std::unique_ptr<TLumZoomBrush> FBrush;
    std::unique_ptr<TLumZoomPen> FPen;
};

// ---- Back image ---------------------------------------------------------------------------------------------

// The picture behind a chart (or inside its back wall) and where it goes. Every setting change fires the
// picture's change notification, which the owning panel turns into a repaint.
class TBackImage : public TPicture {
    VSP_PERSISTENT_CLASS
public:
    TBackImage() = default;

    // From another back image: Inside, Left, Mode, Top, then the picture.
    void Assign(const TPersistent& Source) override;
    void AssignImage(const TBackImage& Source);

    bool Inside() const { return FInside; }
    void SetInside(bool v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    TLumBackImageMode Mode() const { return FMode; }
    void SetMode(TLumBackImageMode v);
    int Top() const { return FTop; }
    void SetTop(int v);

private:
    template <class T>
    void Store(T& field, T v);

    bool FInside = false;
    int FLeft = 0;
    TLumBackImageMode FMode = pbmStretch;
    int FTop = 0;
};
