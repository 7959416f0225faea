// The chart engine's pens and brush and the 3-D view options of a chart panel: persistent settings
// objects that stream as published properties with defaults, copy themselves with Assign and report every
// effective change (pens and brush through their change event, the view options by repainting the panel).
#pragma once

#include "chart/base/LumCanvasHelpers.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/rtl/Classes.h"

#include <memory>

class TBitmap;
class TPicture;

// What the style objects and the canvas need of the chart panel that owns them: a repaint. The chart
// panel implements it; a repaint does nothing while the panel's automatic repaint is off.
class ILumPanelRepaint {
public:
    virtual void RepaintPanel() = 0;

protected:
    ~ILumPanelRepaint() = default;
};

// End caps (and joins) of wide chart pens.
enum TPenEndStyle { esRound, esSquare, esFlat };
inline const TEnumNames PenEndStyleNames{"esRound", "esSquare", "esFlat"};

// ---- Pens ----------------------------------------------------------------------------------------------

// A chart pen: the drawing layer's pen plus visibility, small dots and end style. The stored tests of
// Visible and EndStyle compare against defaults that descendants change, so a pen that is invisible by
// default does not stream Visible=false.
class TChartPen : public TPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartPen(TNotifyEvent onChange = nullptr);
    TChartPen(const TChartPen&) = delete;
    TChartPen& operator=(const TChartPen&) = delete;

    // From a chart pen: Visible, SmallDots, SmallSpace and EndStyle first, then colour, width, style and
    // mode, with one change event. Other sources go to the inherited Assign.
    void Assign(const TPersistent& Source) override;

    TPenEndStyle EndStyle() const { return FEndStyle; }
    void SetEndStyle(TPenEndStyle v);
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool v);
    int SmallSpace() const { return FSmallSpace; }
    void SetSmallSpace(int v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void MakeVisible() { SetVisible(true); }
    void MakeInvisible() { SetVisible(false); }

    // The defaults the stored tests compare against.
    bool DefaultVisible() const { return FDefaultVisible; }
    TPenEndStyle DefaultEndStyle() const { return FDefaultEndStyle; }
    bool VisibleStored() const { return FVisible != FDefaultVisible; }
    bool EndStyleStored() const { return FEndStyle != FDefaultEndStyle; }

protected:
    bool FDefaultVisible = true;
    TPenEndStyle FDefaultEndStyle = esRound;

private:
    bool FVisible = true;
    bool FSmallDots = false;
    int FSmallSpace = 0;
    TPenEndStyle FEndStyle = esRound;
};

// Frames, side lines and font outlines: invisible unless made visible.
class TChartHiddenPen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartHiddenPen(TNotifyEvent onChange = nullptr);
};

// Grid lines: grey dots.
class TDottedGrayPen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TDottedGrayPen(TNotifyEvent onChange = nullptr);
};

// Axis ticks: grey.
class TDarkGrayPen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TDarkGrayPen(TNotifyEvent onChange = nullptr);
};

// Callout arrows: white.
class TWhitePen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TWhitePen(TNotifyEvent onChange = nullptr);
};

// ---- Brush ---------------------------------------------------------------------------------------------

// Brush styles beyond the eight standard ones select pattern bitmaps: style 8 + n draws pattern n + 1.
inline constexpr int FirstPatternBrushStyle = 8;

// A chart brush: colour clDefault until set, a style (pattern styles above the eight standard ones; only
// the low seven bits count) and an optional picture used as the fill.
class TChartBrush : public TBrush {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartBrush(TNotifyEvent onChange = nullptr);
    ~TChartBrush() override;
    TChartBrush(const TChartBrush&) = delete;
    TChartBrush& operator=(const TChartBrush&) = delete;

    // From a chart brush: its picture first (a source without one frees this brush's), then colour,
    // style and bitmap. Other sources go to the inherited Assign.
    void Assign(const TPersistent& Source) override;

    // The style number as stored (pattern styles included), and its significant low seven bits.
    int StyleNumber() const { return static_cast<int>(Style()); }
    int EffectiveStyle() const { return StyleNumber() & 0x7F; }

    // The picture, created on first read; editing it fires this brush's change event.
    TPicture& Image();
    bool HasImage() const { return FImage != nullptr; }
    // Copies a picture into the brush (nullptr frees the image); fires the change event.
    void SetImage(const TPicture* picture);
    // The picture as a bitmap for a pattern brush; nullptr without a picture or with an empty one.
    TBitmap* ImageBitmap();

private:
    void ImageChanged();

    std::unique_ptr<TPicture> FImage;
    std::unique_ptr<TBitmap> FImageBitmap;      // the picture converted, when it is no bitmap
};

// ---- 3-D view options ----------------------------------------------------------------------------------

// How a panel projects its 3-D drawing; read by the panel's canvas at every paint. Elevation and
// Rotation are held as reals (the rotate tool turns by fractions of a degree) and read as the nearest
// integer, halves to even.
class TView3DOptions : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TView3DOptions(ILumPanelRepaint* parent = nullptr);

    // From view options: every setting, without repaint. Any other source is ignored.
    void Assign(const TPersistent& Source) override;

    ILumPanelRepaint* Parent() const { return FParent; }

    int Elevation() const;
    void SetElevation(int v) { SetElevationValue(v); }
    double ElevationValue() const { return FElevation; }
    void SetElevationValue(double v);
    int Rotation() const;
    void SetRotation(int v) { SetRotationValue(v); }
    double RotationValue() const { return FRotation; }
    void SetRotationValue(double v);

    int Tilt() const { return FTilt; }
    void SetTilt(int v) { Store(FTilt, v); }
    int Perspective() const { return FPerspective; }
    void SetPerspective(int v) { Store(FPerspective, v); }
    int Zoom() const { return FZoom; }
    void SetZoom(int v) { Store(FZoom, v); }
    bool ZoomText() const { return FZoomText; }
    void SetZoomText(bool v) { Store(FZoomText, v); }
    int FontZoom() const { return FFontZoom; }
    void SetFontZoom(int v) { Store(FFontZoom, v); }
    int HorizOffset() const { return FHorizOffset; }
    void SetHorizOffset(int v) { Store(FHorizOffset, v); }
    int VertOffset() const { return FVertOffset; }
    void SetVertOffset(int v) { Store(FVertOffset, v); }
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool v) { Store(FOrthogonal, v); }
    int OrthoAngle() const { return FOrthoAngle; }
    void SetOrthoAngle(int v) { Store(FOrthoAngle, v); }

    // 1 when not orthogonal; otherwise the tangent of OrthoAngle (of 180 - OrthoAngle above 90).
    double OrthoTangent() const;

private:
    template <class T>
    void Store(T& field, T v)
    {
        if (field == v) return;
        field = v;
        Repaint();
    }
    void Repaint();

    ILumPanelRepaint* FParent;
    double FElevation = 345;
    double FRotation = 345;
    int FTilt = 0;
    int FPerspective = 15;
    int FZoom = 100;
    bool FZoomText = true;
    int FFontZoom = 100;
    int FHorizOffset = 0;
    int FVertOffset = 0;
    bool FOrthogonal = true;
    int FOrthoAngle = 45;
};
