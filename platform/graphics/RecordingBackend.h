// A device that records what is drawn instead of pixels, with fixed font metrics, so tests can read the
// calls, their coordinates and texts. Qt-free.
//
// Fixed metrics, for a font of character height h device pixels (TDeviceFont::PixelHeight):
//   Ascent = h - h / 5, Descent = h / 5 (integer division), Height = h, no leading;
//   every character advances by max(1, h / 2) pixels, AveCharWidth and MaxCharWidth likewise.
// So with the default 8-point font at 96 pixels per inch (height 11): "W" measures 5 x 11.
#pragma once

#include "platform/graphics/CanvasBackend.h"

#include <string>
#include <vector>

class TRecordingBackend : public TCanvasBackend {
public:
    // One recorded call. Kind is the call's name ("Rectangle", "TextOut", "BitBlt", "SetPixel", ...).
    struct TRecord {
        std::string Kind;
        TCanvasOp Op = TCanvasOp::Polyline;
        std::vector<int> Args;            // logical arguments as the caller gave them
        std::vector<TPoint> Points;       // logical points (poly calls)
        std::string Text;                 // 8-bit text (TextOut)
        std::u16string Chars;             // text as Unicode (TextOut, TextOutW)
        TShapeCommand Shape;              // the full command for shapes
        TTextCommand TextCmd;             // ... for text
        TImageCommand Image;              // ... for block transfers
        bool HasClip = false;             // a clip region was in force
        TRect ClipBox;                    // its bounds (device pixels)
    };

    explicit TRecordingBackend(int width = 1000, int height = 1000, int dpi = 96);

    std::vector<TRecord> Records;
    // The text measurements asked of the device (CharAdvances): calls and the characters they measured.
    mutable std::size_t MeasureCalls = 0, MeasuredChars = 0;
    // The records of one kind, in order.
    std::vector<const TRecord*> OfKind(const std::string& kind) const;
    void Clear()
    {
        Records.clear();
        MeasureCalls = MeasuredChars = 0;
    }

    TDeviceCaps Caps() const override { return FCaps; }
    TDeviceCaps& MutableCaps() { return FCaps; }

    void DrawShape(const TShapeCommand& cmd) override;
    void DrawText(const TTextCommand& cmd) override;
    void DrawImage(const TImageCommand& cmd) override;
    void SetPixel(int x, int y, TColor rgb, const TRegion* clip) override;
    TColor GetPixel(int x, int y) const override;
    bool ReadPixels(const TRect& rect, TPixelBuffer& out) const override;
    TDeviceFontMetrics FontMetrics(const TDeviceFont& font) const override;
    void CharAdvances(const TDeviceFont& font, const std::u16string& text,
                      std::vector<int>& advances) const override;

private:
    TRecord& Add(const std::string& kind, const TDeviceState& st);
    TDeviceCaps FCaps;
};
