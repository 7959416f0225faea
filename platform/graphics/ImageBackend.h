// A device that draws into pixel memory: 32-bit (blue, green, red, 255 per pixel, the layout of a 32-bit
// device-independent bitmap and of an RGB32 image) or 24-bit (blue, green, red) rows. Shapes, lines and
// raster operations are rasterised here with antialiasing off, so every raster operation works pixel for
// pixel; text goes through the font engine. TBitmap's canvas and a control's back buffer draw with it.
// Qt-free.
#pragma once

#include "platform/graphics/CanvasBackend.h"

#include <cstdint>

// Memory to draw into; owned by the caller, which keeps it alive and valid while the backend uses it.
struct TImageMemory {
    std::uint8_t* Bits = nullptr;         // row 0 (the top row)
    int Width = 0, Height = 0;
    int Stride = 0;                       // bytes from one row to the next
    int BytesPerPixel = 4;                // 4 or 3
};

class TImageBackend : public TCanvasBackend {
public:
    TImageBackend() = default;
    explicit TImageBackend(const TImageMemory& memory, int dpi = 96);

    // Points the backend at other memory (after the owner reallocated it).
    void SetMemory(const TImageMemory& memory) { FMemory = memory; }
    void SetDpi(int dpi) { FDpi = dpi; }

    TDeviceCaps Caps() const override;
    void DrawShape(const TShapeCommand& cmd) override;
    void DrawText(const TTextCommand& cmd) override;
    void DrawImage(const TImageCommand& cmd) override;
    void SetPixel(int x, int y, TColor rgb, const TRegion* clip) override;
    TColor GetPixel(int x, int y) const override;
    bool ReadPixels(const TRect& rect, TPixelBuffer& out) const override;
    TDeviceFontMetrics FontMetrics(const TDeviceFont& font) const override;
    void CharAdvances(const TDeviceFont& font, const std::u16string& text,
                      std::vector<int>& advances) const override;

protected:
    // The memory drawn into; a subclass may produce it on demand.
    virtual TImageMemory Memory() const { return FMemory; }
    // Called after every command that changed pixels.
    virtual void PixelsChanged() {}

private:
    TImageMemory FMemory;
    int FDpi = 96;
};

// Font measuring through the installed fonts, shared by every device that draws real text (image,
// back buffer, printer page, metafile), so they all measure alike.
TDeviceFontMetrics SystemFontMetrics(const TDeviceFont& font);
void SystemCharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances);
// The installed face that draws a font name: "Arial" -> "Liberation Sans", "Times New Roman" ->
// "Liberation Serif", "Courier New" -> "Liberation Mono" (case-insensitive), other installed faces
// themselves, anything else "Liberation Sans".
std::string FaceForFontName(const std::string& name);
