// A device that draws into pixel memory: 32-bit (blue, green, red, 255 per pixel, the layout of a 32-bit
// device-independent bitmap and of an RGB32 image) or 24-bit (blue, green, red) rows. Shapes, lines and
// raster operations are rasterised here with antialiasing off, so every raster operation works pixel for
// pixel; text goes through the font engine. TBitmap's canvas and a control's back buffer draw with it.
// Qt-free.
#pragma once

#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/Region.h"

#include <cstdint>
#include <memory>

namespace raster {
class TClipper;
}

// Memory to draw into; owned by the caller, which keeps it alive and valid while the backend uses it.
struct TImageMemory {
    std::uint8_t* Bits = nullptr;         // row 0 (the top row)
    int Width = 0, Height = 0;
    int Stride = 0;                       // bytes from one row to the next
    int BytesPerPixel = 4;                // 4 or 3
};

class TImageBackend : public TCanvasBackend {
public:
    TImageBackend();
    explicit TImageBackend(const TImageMemory& memory, int dpi = 96);
    ~TImageBackend() override;

    // With keep on, text is painted through one painter kept from one text to the next while the memory
    // stays the same, instead of a painter made for every text (a chart's axes draw a hundred labels a
    // frame). The owner of the memory releases it before the memory goes away and when a frame is done.
    void SetKeepTextPainter(bool keep);
    void ReleaseTextPainter();

    // Points the backend at other memory (after the owner reallocated it).
    void SetMemory(const TImageMemory& memory) { FMemory = memory; }
    void SetDpi(int dpi) { FDpi = dpi; }

    TDeviceCaps Caps() const override;
    void DrawShape(const TShapeCommand& cmd) override;
    void DrawText(const TTextCommand& cmd) override;
    void DrawImage(const TImageCommand& cmd) override;
    // The transfer cmd (a plain copy, Dest no larger than the source) of the pixels of source from
    // SourceTopLeft on, row by row straight from memory to memory, as DrawImage would land them from a
    // pixel buffer of that rectangle. False, with nothing done, when a side does not draw into the memory
    // it keeps, both are one memory or the rectangle leaves the source: the caller then transfers pixels.
    virtual bool CopyFrom(const TImageBackend& source, TPoint SourceTopLeft, const TImageCommand& cmd);
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
    // Whether Memory() holds the device's pixels between commands, not only while one draws.
    virtual bool MemoryHoldsPixels() const { return true; }

    // The clipping of a command to its region on the device, kept while commands come with the same
    // region: a chart paint clips thousands of shapes to one polygon of many rows.
    std::shared_ptr<const raster::TClipper> ClipperFor(const TRegion* clip, const TRect& device);

private:
    struct TTextPainter;
    TImageMemory FMemory;
    int FDpi = 96;
    bool FKeepTextPainter = false;
    std::unique_ptr<TTextPainter> FTextPainter;
    std::shared_ptr<const raster::TClipper> FClipper;
    TRegion FClipRegion;
    TRect FClipDevice;
    bool FClipped = false;
};

// Font measuring through the installed fonts, shared by every device that draws real text (image,
// back buffer, printer page, metafile), so they all measure alike.
TDeviceFontMetrics SystemFontMetrics(const TDeviceFont& font);
void SystemCharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances);
// The installed face that draws a font name: "Arial" -> "Liberation Sans", "Times New Roman" ->
// "Liberation Serif", "Courier New" -> "Liberation Mono" (case-insensitive), other installed faces
// themselves, anything else "Liberation Sans".
std::string FaceForFontName(const std::string& name);
