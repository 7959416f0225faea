// The extended chart panel, base of every chart: the panel face (shadow strip, background colour or
// gradient, back image, border pen and bevels), the zoom settings with the XOR rubber band, the pan
// permission and the back image; and TDraw3D, the plain drawing panel that shows only its face.
// Qt-free.
#pragma once

#include "chart/base/RadErarePanel.h"

#include <memory>

// Bevel colours, index 0 the lit side and 1 the shaded side.
inline constexpr TColor BevelColors[2] = {clBtnHighlight, clBtnShadow};

// A bevel of BevelWidth lines inside Rect, which shrinks by them: lowered is shadow then highlight,
// any other cut highlight then shadow; with RoundSize >= 1 one rounded outline in the cut's colour.
// Nothing for bvNone.
void DrawBevelBorder(TLumCanvas& Canvas, TBevelCut Bevel, TRect& Rect, int RoundSize, int BevelWidth);

class TCustomLumPanelExtended : public TCustomLumPanel {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomLumPanelExtended(TComponent* AOwner);
    ~TCustomLumPanelExtended() override;

    // From another extended panel: back image and gradient (freed when the source has none), pan
    // permission and zoom settings, then the base panel's settings.
    void Assign(const TPersistent& Source) override;

    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode v) { FAllowPanning = v; }
    // Made on first read; its changes repaint the panel.
    TLumGradient& Gradient();
    bool HasGradient() const { return FGradient != nullptr; }
    // A copy into the own gradient; nullptr frees it.
    void SetGradient(const TCustomLumGradient* v);
    TLumZoom& Zoom() const { return *FZoom; }
    void SetZoom(const TLumZoom& v) { FZoom->Assign(v); }
    bool ZoomAllowed() const { return FZoom->Allow(); }
    void SetZoomAllowed(bool v) { FZoom->SetAllow(v); }
    // Set by the chart control when a zoom is applied; cleared by ZoomUndone.
    bool Zoomed() const { return FZoomed; }
    void SetZoomed(bool v) { FZoomed = v; }
    // Made on first read; its changes repaint the panel.
    TBackImage& BackImage();
    bool HasBackImageObject() const { return FBackImage != nullptr; }
    // A copy into the own back image; nullptr frees it.
    void SetBackImage(const TBackImage* v);
    // The back image exists and holds a graphic.
    bool HasBackImage() const;
    // Shortcuts to the back image's settings (writing makes the back image; reading a missing one gives
    // its defaults).
    TLumBackImageMode BackImageMode() const { return FBackImage ? FBackImage->Mode() : pbmStretch; }
    void SetBackImageMode(TLumBackImageMode v) { BackImage().SetMode(v); }
    bool BackImageInside() const { return FBackImage && FBackImage->Inside(); }
    void SetBackImageInside(bool v) { BackImage().SetInside(v); }
    // True only when a graphic is loaded and transparent; writing without a graphic changes nothing.
    bool BackImageTransp() const;
    void SetBackImageTransp(bool v);

    TNotifyEvent OnAfterDraw, OnScroll, OnUndoZoom, OnZoom;

    // The face: shadow strip, background, back image (unless inside the back wall) and frame, drawn flat.
    virtual void PaintPanelFace(const TRect& Rect);
    // A visible gradient, else the panel colour (not while printing), over Rect.
    virtual void PaintBackground(const TRect& Rect);
    // The back image in Rect at depth Z (Z >= 1 inside a 3-D back wall), by its mode.
    void DrawBackImage(const TRect& Rect, int Z);
    // The rubber band between the zoom's corners on the control's own canvas, in a mode that a second
    // drawing at the same corners erases.
    void DrawZoomRectangle();
    // The zoom was undone: OnUndoZoom, a repaint, Zoomed cleared. The chart control restores its axes
    // first.
    virtual void ZoomUndone();

    // The stream property "PrintMargins": the four margins, written only when they are not all 15.
    bool PrintMarginsStored() const;

private:
    bool IsOrthogonalView() const;
    void DrawTiledImage(const TRect& Rect, int Z, const TGraphic& Graphic);
    void DrawPlacedImage(TRect Rect, int Z, const TGraphic& Graphic);

    TPanningMode FAllowPanning = pmBoth;
    std::unique_ptr<TLumGradient> FGradient;
    std::unique_ptr<TLumZoom> FZoom;
    bool FZoomed = false;
    std::unique_ptr<TBackImage> FBackImage;
};

// A plain 3-D drawing panel: draws its face, then OnAfterDraw draws on ChartCanvas.
class TDraw3D : public TCustomLumPanelExtended {
    VSP_PERSISTENT_CLASS
public:
    explicit TDraw3D(TComponent* AOwner);

protected:
    void DrawChartContent(const TRect& Rect) override;
};
