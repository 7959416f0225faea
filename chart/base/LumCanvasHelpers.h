// Free routines that every layer of the chart canvas uses: point and rectangle helpers, bounding
// rectangles, the back-face test of 3-D solids, the convex hull of a projected box, colour arithmetic, the
// pull-back of an arrow's end, the colour dialog with remembered custom colours, and the canvas module's
// state (default chart font, the pattern bitmap, custom colours), kept in one resettable struct.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/SystemColors.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

class TBitmap;
class TWinControl;

// A point of the 3-D canvas: x, y in pixels, z a depth in pixels.
struct TPoint3D {
    int x = 0;
    int y = 0;
    int z = 0;
    bool operator==(const TPoint3D&) const = default;
};

// A colour's bytes in the memory order of a 24-bit bitmap pixel.
struct TColorBytes {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    bool operator==(const TColorBytes&) const = default;
};

// Darkening amounts of box and pyramid sides, the font quality of rotated text, the step of the
// from-centre gradient, and the colour that, given as a brush's background, means "transparent".
inline constexpr int DarkerColorAmount = 128;
inline constexpr int DarkColorAmount = 64;
inline constexpr int RotatedTextQuality = 4;
inline constexpr int GradientCentreStep = 1;
inline constexpr TColor TransparentBackColor = 0xC0C0C1;

// ---- State of the canvas module ------------------------------------------------------------------------

// What the canvas module keeps for the whole process. Tests reset it with ResetLumCanvasModule.
struct TLumCanvasModule {
    // The default chart font, read by TLumFont and TLumCanvas::ResetState.
    std::string DefaultFontName;
    int DefaultFontSize = 8;
    // Wide chart pens become geometric pens with caps and joins (always on this platform).
    bool GeometricPens = true;
    // Number of sides of cones and cylinders; callers may change it around a call and restore it.
    int CylinderSideCount = 16;
    // The pattern bitmap of hatched chart brushes, made on first use, and its two-colour copy for
    // patterns on an opaque background.
    std::unique_ptr<TBitmap> PatternBitmap;
    std::unique_ptr<TBitmap> PatternColorBitmap;
    // The colour dialog's custom colours ("ColorA=HHHHHHHH" lines), made on first use.
    bool HasCustomColors = false;
    std::vector<std::string> CustomColors;

    TLumCanvasModule();
    ~TLumCanvasModule();
};

TLumCanvasModule& LumCanvasModule();
// Back to the start-up state (the default chart font from the engine texts, no pattern bitmap, no
// custom colours).
void ResetLumCanvasModule();

// ---- Points and rectangles -----------------------------------------------------------------------------

// The sign of (a - b) x (c - b): positive, negative or 0 for points on one line; exact for any int points
// (the product of two coordinate differences does not fit 64 bits).
int TurnSign(TPoint a, TPoint b, TPoint c);
// True when the triangle faces away from the viewer:
// (P0.x - P1.x)(P2.y - P1.y) - (P2.x - P1.x)(P0.y - P1.y) < 0.
bool IsTriangleCulled(TPoint p0, TPoint p1, TPoint p2);
// IsTriangleCulled of the first three points (the array holds at least three).
bool IsTrianglePointsCulled(std::span<const TPoint> points);

inline TPoint MakePoint(int x, int y) { return {x, y}; }
inline TRect MakeRect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

// Edges included, corners in either order.
bool RectContainsXY(const TRect& r, int x, int y);
inline bool RectContainsPoint(const TRect& r, TPoint p) { return RectContainsXY(r, p.x, p.y); }
// A copy with Left <= Right and Top <= Bottom.
TRect SortRectCorners(const TRect& r);
// Width Right - Left and height Bottom - Top (negative for reversed corners).
inline TSize GetRectExtent(const TRect& r) { return {r.Right - r.Left, r.Bottom - r.Top}; }
// The centre, each half truncated toward zero.
TPoint GetRectMidpoint(const TRect& r);
// Smallest rectangle holding every point, Right and Bottom inclusive; (0, 0, 0, 0) for no points.
TRect PointsBoundingRect(std::span<const TPoint> points);
// Bounding rectangle of the first n points (n >= 1) with Right and Bottom one beyond.
TRect PointsEnclosingRect(std::span<const TPoint> points, int n);
TRect TriangleEnclosingRect(TPoint p0, TPoint p1, TPoint p2);
// Replaces the points by their convex hull for clipping to a projected box; false (points untouched)
// for fewer than three points, and three points are kept as they are.
bool ReduceToConvexHull(TPointArray& points);

// ---- Colours -------------------------------------------------------------------------------------------

// The value's bytes as given (no system-colour conversion).
TColorBytes SplitColorBytes(TColor color);
// The colour (system colours resolved) with amount taken from red, green and blue, none below 0.
TColor DarkenColorBy(TColor color, int amount);
// The same with amount added, none above 255.
TColor LightenColorBy(TColor color, int amount);

// ---- Small helpers -------------------------------------------------------------------------------------

inline void SwapDoubles(double& a, double& b) { std::swap(a, b); }
inline void SwapIntegers(int& a, int& b) { std::swap(a, b); }
double VectorLength(double a, double b);
// The end point moved toward the start by distance (rounded to the nearest pixel, halves to even).
TPoint PullBackLineEnd(TPoint start, TPoint end, int distance);

// ---- Colour dialog -------------------------------------------------------------------------------------

// The standard colour dialog on color; the chosen colour, or color when cancelled. The custom colours
// chosen there come back the next time (for the process), with "ColorA" reset to the engine's
// transparent-background colour.
TColor RunColorDialog(TWinControl* owner, TColor color);
// Runs the dialog on color; stores the choice and returns true only when it differs.
bool EditColorWithDialog(TWinControl* owner, TColor& color);
