// The standard chart tools unit: the image tool, which stretches a picture over the value range of a series
// (or of the chart's axes) behind or over the series, the other standard tools (one topic file each), and
// the unit's start-up, which registers the tool classes with the chart's tool registry in the gallery's
// order. Qt-free.
#pragma once

#include "chart/control/LumToolsAnnotation.h"
#include "chart/control/LumToolsAxisLines.h"
#include "chart/control/LumToolsAxisScroll.h"
#include "chart/control/LumToolsCursor.h"
#include "chart/control/LumToolsDrawLine.h"
#include "chart/control/LumToolsMotion.h"
#include "chart/control/LumToolsNearest.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/graphics/Bitmap.h"

#include <memory>
#include <string>

class TChartImageTool : public TLumCustomToolSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartImageTool(TComponent* AOwner);
    ~TChartImageTool() override;

    std::string EditorFormName() const override { return "TChartImageToolEditor"; }
    std::string DescriptionText() const override;
    // Draws at the before-series stage, or at the after-series stage with DrawAfterSeries.
    void NotifyChartStage(int Stage) override;
    // Events strictly inside ImageRect (edges excluded); the tool never takes the event.
    void HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The inherited setter, then a repaint.
    void SetSeries(TChartSeries* Value) override;

    // A change of the picture repaints the chart.
    TPicture& Picture() const { return *FPicture; }
    // Copies the picture.
    void SetPicture(const TPicture& Value) { FPicture->Assign(Value); }

    // The value at a pixel of the series' horizontal (vertical) axis; 0 without a series.
    double XPixelToValue(double X) const;
    double YPixelToValue(double Y) const;

    // With a series: Top at the lowest Y and Bottom at the highest (FlipY); Left at the highest X (FlipX).
    bool FlipY = false;
    bool FlipX = false;
    // A metafile picture is drawn through CacheBitmap, rendered again when the metafile or the size changed.
    bool CacheMetafile = false;
    // The picture's rectangle in the last drawing; it may be inverted.
    TRect ImageRect;
    bool UseFixedVertPixels = false;
    bool UseFixedHorizPixels = false;
    // Degrees; the picture hangs from the rectangle's top centre, turned and scaled by the series' first
    // two points (only with a series whose first two points lie apart in pixels).
    double Angle = 0;
    int FixedTop = 0, FixedBottom = 0, FixedLeft = 0, FixedRight = 0;
    TBitmap& CacheBitmap() const { return *FCacheBitmap; }
    // Percent above 0 blends the picture with what lies under it.
    int Transparency = 0;

    TNotifyEvent OnImageMouseUp;
    TNotifyEvent OnImageResized;
    TNotifyEvent OnAfterDrawResized;
    TNotifyEvent OnBeforeDrawResized;
    TNotifyEvent OnBeforeDrawImage;
    TNotifyEvent OnAfterDrawImage;
    TMouseEvent OnImageMouseDown;
    TMouseEvent OnImageMouseMove;

    // The largest picture rectangle, in pixels, that the metafile cache renders; beyond it (a deep zoom)
    // the metafile is drawn directly.
    static constexpr long long MaxCachePixels = 1LL << 25;

private:
    // The rectangle for this drawing; true when its signed width or height changed.
    bool ComputeImageRect();
    // The world transform that turns the picture; false when the series cannot give one.
    bool ApplyRotation();
    void RefreshCache(bool SizeChanged);
    void DrawPicture(bool Rotated);
    void Fire(const TNotifyEvent& Event) { if (Event) Event(this); }

    std::unique_ptr<TPicture> FPicture;
    std::unique_ptr<TBitmap> FCacheBitmap;
    bool FRotated = false;
};

// Registers the unit's sixteen tool classes in the gallery's order; the chart control's start-up calls
// it. The shut-down removes them again.
void LumToolsInitialization();
void LumToolsFinalization();
