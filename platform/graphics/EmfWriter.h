// The enhanced-metafile record writer: builds the bytes of an .emf file (little-endian records, header
// first, end-of-file record last) from drawing calls in device pixels of a reference device. It writes
// what it is told; which objects are selected and when state changes is decided by its caller.
// Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Record types written.
enum : std::uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYPOLYGON = 8, EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20,
    EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25,
    EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40,
    EMR_EXTSELECTCLIPRGN = 75, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84, EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95, EMR_TRANSPARENTBLT = 116
};

// Stock objects (selected by number, never created or deleted).
constexpr std::uint32_t STOCK_NULL_BRUSH = 0x80000005, STOCK_NULL_PEN = 0x80000008, STOCK_SYSTEM_FONT = 0x8000000D;

// Pen styles of CREATEPEN and EXTCREATEPEN.
enum : std::uint32_t {
    PS_SOLID = 0, PS_NULL = 5, PS_USERSTYLE = 7, PS_COSMETIC = 0, PS_GEOMETRIC = 0x10000,
    PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200,
    PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000
};
// Brush styles.
enum : std::uint32_t { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2 };

// A logical font as the metafile stores it.
struct TEmfFont {
    int Height = 0;             // negative: character height in pixels
    int Escapement = 0;         // tenths of a degree
    int Weight = 400;
    bool Italic = false, Underline = false, StrikeOut = false;
    int Quality = 0;
    std::u16string FaceName;    // at most 31 characters are kept
};

// 32-bit pixels 0x00RRGGBB, top row first.
struct TEmfPixels {
    int Width = 0, Height = 0;
    const std::uint32_t* Pixels = nullptr;
};

class TEmfWriter {
public:
    // A metafile for a picture of width x height pixels on a reference device of the given resolution.
    TEmfWriter(int width, int height, int dpi = 96);

    // --- State.
    void SetRop2(int mode) { Value(EMR_SETROP2, static_cast<std::uint32_t>(mode)); }
    void SetBkMode(int mode) { Value(EMR_SETBKMODE, static_cast<std::uint32_t>(mode)); }
    void SetBkColor(TColor c) { Value(EMR_SETBKCOLOR, static_cast<std::uint32_t>(c)); }
    void SetTextColor(TColor c) { Value(EMR_SETTEXTCOLOR, static_cast<std::uint32_t>(c)); }
    void SetPolyFillMode(int mode) { Value(EMR_SETPOLYFILLMODE, static_cast<std::uint32_t>(mode)); }
    void SetStretchBltMode(int mode) { Value(EMR_SETSTRETCHBLTMODE, static_cast<std::uint32_t>(mode)); }
    void SetTextAlign(unsigned flags) { Value(EMR_SETTEXTALIGN, flags); }
    void SetBrushOrg(TPoint p);
    // The clip: the union of the rectangles (device pixels), or none.
    void SelectClip(const std::vector<TRect>& rects);
    void RemoveClip();
    // What can be seen, pixels [Left, Right) x [Top, Bottom): the picture's frame (unbounded for a
    // picture without a size) within the bounds of the clip. Drawing records are bounded by their part
    // of it, and only that part counts for the header's bounds.
    TRect VisibleArea() const;

    // --- Objects: the create calls return the object's handle index (from 1), freed by DeleteObject
    // and then used again.
    std::uint32_t CreatePen(std::uint32_t style, int width, TColor color);
    std::uint32_t ExtCreatePen(std::uint32_t style, int width, TColor color, const std::vector<std::uint32_t>& dashes);
    std::uint32_t CreateBrush(std::uint32_t style, TColor color, std::uint32_t hatch);
    // A pattern brush: a monochrome one paints set bits... as the device's text and background colours.
    std::uint32_t CreatePatternBrush(const TEmfPixels& pattern, bool monochrome);
    std::uint32_t CreateFont(const TEmfFont& font);
    void SelectObject(std::uint32_t handle) { Value(EMR_SELECTOBJECT, handle); }
    void DeleteObject(std::uint32_t handle);

    // --- Drawing (device pixels).
    void Polygon(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);
    void PolyPolygon(const std::vector<std::vector<TPoint>>& polygons);
    void SetPixel(TPoint p, TColor c);
    // A line of text from the reference point, with the advance of every character; bounds is the
    // area the text covers.
    void ExtTextOut(TPoint reference, const std::u16string& text, const std::vector<int>& advances, const TRect& bounds);
    // Pixels stretched into dest under a ternary raster operation; with a transparent colour, pixels of
    // that colour are left out.
    void StretchDIBits(const TRect& dest, const TEmfPixels& pixels, std::uint32_t rop3);
    void TransparentBlt(const TRect& dest, const TEmfPixels& pixels, TColor transparent);

    // Ends the metafile: the end record, the header's totals. The writer is spent afterwards.
    std::vector<std::uint8_t> Finish();

    int RecordCount() const { return FRecords; }

private:
    void Value(std::uint32_t type, std::uint32_t value);
    std::size_t BeginRecord(std::uint32_t type);
    void EndRecord(std::size_t start);
    void PutU32(std::uint32_t v);
    void PutI32(std::int32_t v) { PutU32(static_cast<std::uint32_t>(v)); }
    void PutU16(std::uint16_t v);
    void PutF32(float v);
    void PutRect(const TRect& r);
    void PutPoints(const std::vector<TPoint>& points);
    // A polygon or polyline record: bounds, count, points.
    void PolyRecord(std::uint32_t type, const std::vector<TPoint>& points);
    void PatchU32(std::size_t at, std::uint32_t v);
    void PutDib(std::size_t recordStart, std::size_t offsetsAt, const TEmfPixels& pixels, int bitsPerPixel);
    // The part of the bounds that can be seen, added to the header's bounds; {0, 0, -1, -1} for none.
    TRect Include(const TRect& inclusiveBounds);
    std::uint32_t NewHandle();
    TRect PointBounds(const std::vector<TPoint>& points);

    std::vector<std::uint8_t> FData;
    int FWidth, FHeight, FDpi;
    int FRecords = 0;
    std::vector<bool> FHandles{true};   // index 0 is the metafile itself
    bool FHasBounds = false;
    TRect FBounds;                      // inclusive
    bool FClipped = false;
    TRect FClipBounds;                  // of the selected clip, right and bottom exclusive
};
