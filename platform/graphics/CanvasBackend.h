// The interface between TCanvas and the device it draws on. TCanvas keeps the whole device-context state
// (objects, map mode, world transform, clipping, raster operation, paths) and turns every drawing call
// into one command in device pixels with that state resolved; a backend only executes commands and
// answers questions about the device. Backends: an image (ImageBackend.h), a recorder for tests
// (RecordingBackend.h), and, elsewhere, a control's back buffer, a printer page and a metafile.
// Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TRegion;

// ---------------------------------------------------------------------------------------------------
// Device description.

struct TDeviceCaps {
    int Width = 0, Height = 0;            // drawing surface in device pixels
    int DpiX = 96, DpiY = 96;             // pixels per inch
    int WidthMM = 0, HeightMM = 0;        // physical size in millimetres (0: computed from pixels and dpi)
    int BitsPerPixel = 32;
    int Technology = DT_RASDISPLAY;
    int PhysicalWidth = 0, PhysicalHeight = 0;   // printers: the whole sheet in pixels (0: as Width/Height)
    int PhysicalOffsetX = 0, PhysicalOffsetY = 0;
};

// ---------------------------------------------------------------------------------------------------
// Geometry. Device coordinates name pixel centres: the point (x, y) is the centre of pixel (x, y).
// A filled area covers the pixels whose centres lie inside it; a centre exactly on the boundary counts
// only on left and top edges (so a closed figure (0,0) (10,0) (10,10) (0,10) fills x and y in [0, 10)).
// A painter that works in continuous coordinates (pixel (x, y) spanning [x, x+1)) adds 0.5.

struct TPointF {
    double x = 0, y = 0;
    bool operator==(const TPointF&) const = default;
};

struct TDeviceFigure {
    std::vector<TPointF> Points;
    bool Closed = false;                  // closed figures join their last point to the first
};
using TDevicePath = std::vector<TDeviceFigure>;

// 32-bit pixels 0x00RRGGBB (or 0xAARRGGBB where Alpha says so), rows top-down, no padding.
struct TPixelBuffer {
    int Width = 0, Height = 0;
    bool Alpha = false;                   // top bytes carry alpha (otherwise ignored)
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
    std::uint32_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// ---------------------------------------------------------------------------------------------------
// Resolved drawing objects. Colours here are plain RGB values 0x00BBGGRR (system colours resolved).

struct TDevicePen {
    bool Null = false;                    // psClear: nothing is stroked
    TColor Color = 0;
    // Cosmetic: exactly one device pixel wide; each segment of a figure leaves out its last pixel, and
    // Dashes (in pixels) continue along the figure. Otherwise a wide line of Width device pixels whose
    // outline the painter builds from Cap, Join and Dashes (device pixels).
    bool Cosmetic = true;
    double Width = 1;
    std::vector<double> Dashes;           // on, off, on, ...; empty: solid
    TPenEndCap Cap = pecRound;
    TPenJoin Join = pjRound;
    bool InsideFrame = false;             // psInsideFrame (the canvas already moved shapes inside)
};

struct TDeviceBrush {
    enum class TKind { Null, Solid, Hatch, Pattern };
    TKind Kind = TKind::Solid;
    TColor Color = 0xFFFFFF;              // Solid colour and hatch line colour
    int Hatch = bsHorizontal;             // hatch style (bsHorizontal ... bsDiagCross)
    // Pattern brushes: the pattern's pixels, repeated from the brush origin. A monochrome pattern
    // paints its black pixels in the text colour and its white pixels in the background colour; with
    // a transparent background mode its white pixels are left alone, like the gaps of a hatch.
    std::shared_ptr<const TPixelBuffer> Pattern;
    bool MonochromePattern = false;
    TPoint Origin;                        // brush origin in device pixels
};

// The device-context state that every command carries.
struct TDeviceState {
    int Rop2 = R2_COPYPEN;                // applies to the pen and to the fill of the same call
    int BkMode = OPAQUE;
    TColor BkColor = 0xFFFFFF;
    TColor TextColor = 0;
    int PolyFillMode = ALTERNATE;
    int StretchMode = BLACKONWHITE;
    const TRegion* Clip = nullptr;        // device pixels; nullptr: the whole device
};

// ---------------------------------------------------------------------------------------------------
// Commands.

// The call that produced a command, for backends that record calls rather than pixels.
enum class TCanvasOp {
    Pixel, LineTo, Polyline, Polygon, PolyPolygon, Rectangle, RoundRect, Ellipse, Arc, ArcTo, Pie, Chord,
    PolyBezier, PolyBezierTo, FillRect, FrameRect, FillRgn, FrameRgn, InvertRect, PatBlt, StrokePath,
    FillPath, StrokeAndFillPath, TextOut, BitBlt, StretchBlt, Draw, StretchDraw, FrameControl
};

// Returns the call's name ("Rectangle", "TextOut", ...).
const char* CanvasOpName(TCanvasOp op);

// A shape: an area filled with the brush and lines drawn with the pen, both under State.Rop2.
// The fill is painted first, then the stroke.
struct TShapeCommand {
    TCanvasOp Op = TCanvasOp::Polyline;
    std::vector<int> Args;                // the call's integer arguments as given (logical units)
    std::vector<TPoint> Points;           // the call's points as given (logical units)
    TDevicePath Fill;                     // closed figures, filled with State.PolyFillMode; may be empty
    TDevicePath Stroke;                   // figures drawn with Pen; may be empty
    TDevicePen Pen;
    TDeviceBrush Brush;
    TDeviceState State;
    // PatBlt and the region calls: the fill's raster operation (ternary, pattern and destination only)
    // instead of State.Rop2. 0: use State.Rop2.
    std::uint32_t Rop3 = 0;
};

// A font realised for the device.
struct TDeviceFont {
    std::string Name;                     // the name asked for (8-bit)
    std::string Face;                     // the installed face that draws it
    int PixelHeight = 0;                  // character (em) height in device pixels, at least 1
    int Weight = 400;
    bool Italic = false, Underline = false, StrikeOut = false;
    bool Antialiased = true;
    bool operator==(const TDeviceFont&) const = default;
};

struct TDeviceFontMetrics {
    int Height = 0;                       // cell height = Ascent + Descent
    int Ascent = 0, Descent = 0;
    int InternalLeading = 0, ExternalLeading = 0;
    int AveCharWidth = 0, MaxCharWidth = 0;
};

// A line of text: glyphs placed along the baseline from Origin in the direction Angle.
struct TTextCommand {
    TCanvasOp Op = TCanvasOp::TextOut;
    std::vector<int> Args;                // x, y as given (logical)
    std::string Text;                     // the 8-bit text as given (empty for wide text)
    std::u16string Chars;                 // the text as Unicode, one entry per character drawn
    TDeviceFont Font;
    TPointF Origin;                       // left end of the baseline, device pixels
    double Angle = 0;                     // degrees, counter-clockwise
    std::vector<double> Offsets;          // per character: distance of its origin from Origin
    double Width = 0;                     // advance of the whole text (with character extra)
    TColor Color = 0;                     // text colour
    // With an opaque background the text cell (the rectangle Width x cell height, rotated with the
    // text) is first filled in State.BkColor; Cell holds its four corners.
    bool Opaque = false;
    TPointF Cell[4];
    TDeviceState State;
};

// A block transfer: Source pixels (already cut to SourceRect) land in the device rectangle Dest
// (stretched when sizes differ) under the ternary raster operation Rop3; pattern operations use Brush.
struct TImageCommand {
    TCanvasOp Op = TCanvasOp::BitBlt;
    std::vector<int> Args;                // the call's arguments as given
    TRect Dest;                           // device pixels, [Left, Right) x [Top, Bottom)
    bool MirrorX = false, MirrorY = false;
    // Under a rotating or shearing transform the picture lands on the parallelogram with the corners
    // Corners[0] (the source's top-left), Corners[1] (top-right) and Corners[2] (bottom-left), in
    // continuous device coordinates; Dest then bounds it.
    bool Affine = false;
    TPointF Corners[3];
    std::shared_ptr<const TPixelBuffer> Source;
    std::uint32_t Rop3 = SRCCOPY;
    bool Transparent = false;             // pixels of TransparentColor are not transferred
    TColor TransparentColor = 0;
    // A monochrome source: its black pixels take State.TextColor and its white ones State.BkColor.
    bool MonochromeSource = false;
    TDeviceBrush Brush;
    TDeviceState State;
};

// ---------------------------------------------------------------------------------------------------

// A device. A canvas calls it from the GUI thread only. All coordinates are device pixels.
class TCanvasBackend {
public:
    virtual ~TCanvasBackend() = default;

    virtual TDeviceCaps Caps() const = 0;

    virtual void DrawShape(const TShapeCommand& cmd) = 0;
    virtual void DrawText(const TTextCommand& cmd) = 0;
    virtual void DrawImage(const TImageCommand& cmd) = 0;
    // SetPixel: the colour lands as it is (no raster operation), clipped by clip.
    virtual void SetPixel(int x, int y, TColor rgb, const TRegion* clip) = 0;
    // GetPixel: the pixel's RGB colour, or -1 (CLR_INVALID) outside the device or on a device that
    // cannot be read.
    virtual TColor GetPixel(int x, int y) const = 0;
    // Copies the device pixels of rect (clipped to the device; pixels outside read as white) into
    // out. False when the device cannot be read.
    virtual bool ReadPixels(const TRect& rect, TPixelBuffer& out) const = 0;

    // Text measuring: the metrics of a font, and the advance of each character in device pixels.
    // The canvas derives every text extent and glyph position from these two, so measuring and
    // drawing agree on any device.
    virtual TDeviceFontMetrics FontMetrics(const TDeviceFont& font) const = 0;
    virtual void CharAdvances(const TDeviceFont& font, const std::u16string& text,
                              std::vector<int>& advances) const = 0;
};

// Colour value returned for an unreadable pixel.
constexpr TColor CLR_INVALID = -1;
