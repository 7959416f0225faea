// Rasterising helpers of the drawing layer (internal): spans of filled figures and one-pixel lines with
// the device's pixel rules, flattened curves, and the painting of spans into pixel memory under the
// sixteen pen raster operations and the ternary block-transfer operations. No Qt in this header.
#pragma once

#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/Region.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace raster {

// Pixels [X0, X1) of row Y.
struct TSpan {
    int Y, X0, X1;
};

// Pixels whose centres lie inside the closed figures (left and top boundaries count, right and bottom
// ones do not), fill mode ALTERNATE or WINDING, limited to bounds. Spans come row by row, left to right.
void ScanFill(const TDevicePath& path, int fillMode, const TRect& bounds, std::vector<TSpan>& out);
// The same by the edge table for every path; ScanFill takes a shortcut for a single axis-aligned
// rectangle and for figures of no width, with the same spans.
void ScanEdges(const TDevicePath& path, int fillMode, const TRect& bounds, std::vector<TSpan>& out);
// Whether the path is one axis-aligned rectangle (four corners); its fill's pixels within bounds go to
// pixels as one rectangle, empty when none: the spans ScanFill gives it, row by row.
bool ScanRectangle(const TDevicePath& path, const TRect& bounds, TRect& pixels);

// Pixels of one-pixel lines along a figure: every segment from its rounded start to its rounded end,
// leaving out the end pixel; a closed figure adds the closing segment. With dashes (pixel counts on,
// off, on, ...) the pattern runs on along the figure from phase; pixels of the gaps go to gaps when
// it is given. Limited to bounds.
void ScanCosmetic(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                  const TRect& bounds, std::vector<TSpan>& on, std::vector<TSpan>* gaps);

// The same without gaps, handing the spans found so far to drain whenever many have gathered, so that a
// line of a million segments never holds all its pixels at once. drain paints and removes every span but
// the last, which the next pixels of its row may still join; the painted pixels and their order are those
// of one call without draining.
void ScanCosmetic(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                  const TRect& bounds, std::vector<TSpan>& on, const std::function<void(std::vector<TSpan>&)>& drain);

class TSurface;

// The pixels ScanCosmetic finds without gaps, set straight to value in s: for a solid copy, where the
// order of the pixels and a pixel set twice make no difference. bounds lie within s.
void StrokeCosmeticSolid(const TDeviceFigure& fig, const std::vector<double>& dashes, double& phase,
                         const TRect& bounds, TSurface& s, std::uint32_t value);

// The outline of a wide stroke (caps, joins, dashes of the pen) as closed figures to fill with WINDING.
TDevicePath WidenStroke(const TDevicePath& path, const TDevicePen& pen);

// Flattened curves in device coordinates (pixel centres).
// The full ellipse with centre (cx, cy) and radii rx, ry, starting at angle 0, counter-clockwise on
// screen (y down).
std::vector<TPointF> EllipsePoints(double cx, double cy, double rx, double ry);
// The arc of that ellipse from angle a0 sweeping by sweep radians (positive: counter-clockwise on
// screen), ends included.
std::vector<TPointF> ArcPoints(double cx, double cy, double rx, double ry, double a0, double sweep);
// A cubic Bezier from p0 to p3 (p0 excluded), appended to out.
void BezierPoints(TPointF p0, TPointF p1, TPointF p2, TPointF p3, std::vector<TPointF>& out);
// A rectangle with elliptic corners of radii rx, ry, as one closed figure.
std::vector<TPointF> RoundRectPoints(double l, double t, double r, double b, double rx, double ry);

// Clip rectangles grouped in rows, for cutting spans to a region quickly.
class TClipper {
public:
    TClipper(const TRegion* clip, const TRect& device);
    // Calls f(y, x0, x1) for each part of the span inside the clip.
    template <class F>
    void Cut(int y, int x0, int x1, F&& f) const;
    // Calls f(top, bottom, x0, x1) for each part of the pixel rectangle inside the clip: the pixels Cut
    // gives for its rows, each once.
    template <class F>
    void CutRect(const TRect& r, F&& f) const;
    bool Everything() const { return FAll; }
    const TRect& Bounds() const { return FBounds; }

private:
    struct Band {
        int Top, Bottom;
        std::vector<std::pair<int, int>> Xs;
    };
    bool FAll = false;
    TRect FBounds;
    std::vector<Band> FBands;
};

template <class F>
void TClipper::Cut(int y, int x0, int x1, F&& f) const
{
    if (y < FBounds.Top || y >= FBounds.Bottom) return;
    if (x0 < FBounds.Left) x0 = FBounds.Left;
    if (x1 > FBounds.Right) x1 = FBounds.Right;
    if (x0 >= x1) return;
    if (FAll) {
        f(y, x0, x1);
        return;
    }
    // Binary search for the band holding y.
    std::size_t lo = 0, hi = FBands.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (FBands[mid].Bottom <= y) lo = mid + 1;
        else hi = mid;
    }
    if (lo == FBands.size() || FBands[lo].Top > y) return;
    for (const auto& [a, b] : FBands[lo].Xs) {
        int s = a > x0 ? a : x0, e = b < x1 ? b : x1;
        if (s < e) f(y, s, e);
    }
}

template <class F>
void TClipper::CutRect(const TRect& r, F&& f) const
{
    const int y0 = r.Top > FBounds.Top ? r.Top : FBounds.Top, y1 = r.Bottom < FBounds.Bottom ? r.Bottom : FBounds.Bottom;
    const int x0 = r.Left > FBounds.Left ? r.Left : FBounds.Left, x1 = r.Right < FBounds.Right ? r.Right : FBounds.Right;
    if (y0 >= y1 || x0 >= x1) return;
    if (FAll) {
        f(y0, y1, x0, x1);
        return;
    }
    // The bands lie one below the other, as Cut's search takes them.
    for (const Band& band : FBands) {
        const int top = band.Top > y0 ? band.Top : y0, bottom = band.Bottom < y1 ? band.Bottom : y1;
        if (top >= bottom) continue;
        for (const auto& [a, b] : band.Xs) {
            const int s = a > x0 ? a : x0, e = b < x1 ? b : x1;
            if (s < e) f(top, bottom, s, e);
        }
    }
}

// What a fill paints at a pixel: a solid colour, a hatch (with or without its gaps) or a pattern.
struct TPaintSource {
    enum class TKind { Solid, Hatch, Pattern } Kind = TKind::Solid;
    std::uint32_t Color = 0;              // 0x00RRGGBB
    std::uint32_t Back = 0xFFFFFF;        // hatch gaps and white pixels of monochrome patterns
    bool PaintGaps = true;                // hatch gaps, white monochrome pattern pixels drawn (opaque)
    int Hatch = 0;
    const TPixelBuffer* Pattern = nullptr;
    bool Monochrome = false;
    int OrgX = 0, OrgY = 0;
    // The colour at (x, y); false for a pixel left alone (a gap of a transparent hatch).
    bool At(int x, int y, std::uint32_t& c) const;
};

// Sets n pixels to v.
void FillPixels(std::uint32_t* p, std::size_t n, std::uint32_t v);

// Pixel memory with raster operations. Colours are 0x00RRGGBB here.
class TSurface {
public:
    explicit TSurface(const TImageMemory& m) : FMem(m) {}
    bool Valid() const { return FMem.Bits && FMem.Width > 0 && FMem.Height > 0; }
    TRect Bounds() const { return {0, 0, FMem.Width, FMem.Height}; }
    std::uint32_t Get(int x, int y) const;
    void Set(int x, int y, std::uint32_t c);
    // Pixels [x0, x1) of row y read into out (0x00RRGGBB), or written from in, whole rows at a time.
    void ReadRow(int y, int x0, int x1, std::uint32_t* out) const;
    void WriteRow(int y, int x0, int x1, const std::uint32_t* in);
    // Paints [x0, x1) of row y from src under the pen raster operation rop2 (R2_*).
    void PaintSpan(int y, int x0, int x1, const TPaintSource& src, int rop2);
    // Whether painting src under rop2 stores one four-byte pixel value, which FillSpan does without the
    // checks of PaintSpan (lines and grids paint spans of a pixel or two by the ten thousand).
    bool PlainFill(const TPaintSource& src, int rop2) const
    {
        return src.Kind == TPaintSource::TKind::Solid && rop2 == R2_COPYPEN && FMem.BytesPerPixel == 4;
    }
    void FillSpan(int y, int x0, int x1, std::uint32_t pixel)
    {
        auto* row = reinterpret_cast<std::uint32_t*>(FMem.Bits + static_cast<std::ptrdiff_t>(y) * FMem.Stride);
        if (x1 - x0 == 1) row[x0] = pixel;
        else if (x0 < x1) FillPixels(row + x0, static_cast<std::size_t>(x1 - x0), pixel);
    }
    // Blends c over the pixel with coverage a (0..255), for text.
    void Blend(int x, int y, std::uint32_t c, int a);

private:
    TImageMemory FMem;
};

// The pen raster operation rop2 (1..16) of pen colour p over destination d.
std::uint32_t Rop2(int rop2, std::uint32_t p, std::uint32_t d);
// The ternary raster operation of pattern p, source s and destination d.
std::uint32_t Rop3(std::uint32_t rop3, std::uint32_t p, std::uint32_t s, std::uint32_t d);
// True when the ternary operation reads the source, the pattern.
bool Rop3UsesSource(std::uint32_t rop3);
bool Rop3UsesPattern(std::uint32_t rop3);

// The paint source for a resolved brush under a device state.
TPaintSource SourceForBrush(const TDeviceBrush& b, const TDeviceState& st);

// RGB TColor (0x00BBGGRR) <-> pixel value (0x00RRGGBB).
inline std::uint32_t PixelFromColor(TColor c)
{
    const auto u = static_cast<std::uint32_t>(c);
    return ((u & 0xFF) << 16) | (u & 0xFF00) | ((u >> 16) & 0xFF);
}
inline TColor ColorFromPixel(std::uint32_t p)
{
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

}  // namespace raster
