// A device that paints through a Qt painter on a vector surface (a printer page, a PDF file): shapes
// become filled and stroked paths, text places each glyph at its advance, pictures are drawn scaled.
// Raster operations other than copying cannot work on such a surface: black, white and the inverted
// pen colour are painted as those colours, "nothing" draws nothing, and the mixing ones paint like
// copying. Internal to the platform layer: includes Qt.
#pragma once

#include "platform/graphics/CanvasBackend.h"

class QPainter;

class TPainterBackend : public TCanvasBackend {
public:
    // The painter must be active on the device while the backend is used.
    TPainterBackend(QPainter& painter, const TDeviceCaps& caps) : FPainter(painter), FCaps(caps) {}

    TDeviceCaps Caps() const override { return FCaps; }
    void DrawShape(const TShapeCommand& cmd) override;
    void DrawText(const TTextCommand& cmd) override;
    void DrawImage(const TImageCommand& cmd) override;
    void SetPixel(int x, int y, TColor rgb, const TRegion* clip) override;
    // A vector surface cannot be read.
    TColor GetPixel(int, int) const override { return CLR_INVALID; }
    bool ReadPixels(const TRect&, TPixelBuffer&) const override { return false; }
    TDeviceFontMetrics FontMetrics(const TDeviceFont& font) const override;
    void CharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances) const override;

private:
    void SetClip(const TRegion* clip);

    QPainter& FPainter;
    TDeviceCaps FCaps;
};
