// TCanvas: the program's one drawing door, a device context with the class library's canvas methods and
// the device calls the drawing code uses (raster operations, map modes, world transforms, regions and
// clipping, paths, block transfers, text alignment and character extra). The device itself is a
// TCanvasBackend (CanvasBackend.h). Qt-free.
//
// Pixel rules, on every device: shapes exclude their right and bottom edges (Rectangle(0,0,10,10) covers
// pixels 0..9); LineTo leaves out its last pixel; with a clear pen a filled shape shrinks by one pixel on
// the right and bottom; RoundRect's corner sizes are the corner ellipses' diameters; the raster
// operation (SetROP2, or the pen's Mode) applies to the pen and to the fill of the same call.
//
// The class library's habits hold: changing the pen sets the raster operation from its Mode; changing
// the brush sets the background (a solid brush: opaque in the brush colour; any other: transparent,
// in the inverted brush colour); changing the font sets the text colour from its colour. These side
// effects run through the OnChange events of the canvas' own Pen, Brush and Font; drawing always uses
// their current values, even when someone replaced those events.
#pragma once

#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/graphics/GraphicsTypes.h"
#include "platform/graphics/Region.h"

#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TGraphic;

struct TTextMetric {
    int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
    int tmAveCharWidth = 0, tmMaxCharWidth = 0;
};

// A text measured once on a canvas: the width of any run of its characters as TextExtent measures that
// run alone, without asking the device again (long texts lay out in linear time).
class TTextRuler {
public:
    std::size_t Size() const { return FWideEnds.empty() ? FEnds.size() : FWideEnds.size(); }
    // Width of the characters [From, To) in logical units.
    int Width(std::size_t From, std::size_t To) const;
    // Width of the characters [From, To) followed by the whole text of After (measured on the same canvas).
    int Width(std::size_t From, std::size_t To, const TTextRuler& After) const;
    // No character moves back (none has a negative advance): widths grow with the parts.
    bool Monotone() const { return FMonotone; }

private:
    friend class TCanvas;
    // Device pixels from the start of the text to the end of its character I - 1 (0 for I = 0).
    double End(std::size_t I) const { return I == 0 ? 0.0 : FWideEnds.empty() ? FEnds[I - 1] : FWideEnds[I - 1]; }
    std::vector<int> FEnds;               // the ends of the characters, in device pixels
    std::vector<double> FWideEnds;        // the same for a text too wide for int (then FEnds is unused)
    double FScaleX = 1;                   // device pixels per logical unit
    bool FMonotone = true;
};

class TCanvas {
public:
    // A canvas without a device measures text with the recorder's fixed metrics and draws nothing.
    TCanvas();
    explicit TCanvas(std::shared_ptr<TCanvasBackend> backend);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Attaches another device; the device-context state (but not Pen, Brush and Font) is reset.
    void SetBackend(std::shared_ptr<TCanvasBackend> backend);
    TCanvasBackend* Backend() const { return FBackend.get(); }
    bool HasDevice() const { return FBackend != nullptr; }

    // --- Selected objects (changing them updates the device state at once) ---
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TFont& Font() { return FFont; }
    const TPen& Pen() const { return FPen; }
    const TBrush& Brush() const { return FBrush; }
    const TFont& Font() const { return FFont; }
    void SetPen(const TPen& v) { FPen.Assign(v); }
    void SetBrush(const TBrush& v) { FBrush.Assign(v); }
    void SetFont(const TFont& v) { FFont.Assign(v); }

    // --- Device state ---
    int SetROP2(int mode);                          // returns the previous mode
    int GetROP2() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    TColor SetBkColor(TColor c);                    // colours are stored resolved to RGB
    TColor GetBkColor() const;
    TColor SetTextColor(TColor c);
    TColor GetTextColor() const;
    unsigned SetTextAlign(unsigned flags);
    unsigned GetTextAlign() const;
    int SetTextCharacterExtra(int extra);           // logical units added after every character
    int GetTextCharacterExtra() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const;
    int SetArcDirection(int dir);
    int GetArcDirection() const;
    TPoint SetBrushOrg(int x, int y);
    // The class library's copy mode of CopyRect and Draw (a ternary raster operation).
    std::uint32_t CopyMode() const;
    void SetCopyMode(std::uint32_t rop3);

    // --- Coordinates: map modes, window and viewport, world transform ---
    int SetMapMode(int mode);
    int GetMapMode() const;
    TPoint SetWindowOrgEx(int x, int y);
    TPoint SetViewportOrgEx(int x, int y);
    TSize SetWindowExtEx(int cx, int cy);           // only in MM_ISOTROPIC and MM_ANISOTROPIC
    TSize SetViewportExtEx(int cx, int cy);
    TPoint GetWindowOrgEx() const;
    TPoint GetViewportOrgEx() const;
    TSize GetWindowExtEx() const;
    TSize GetViewportExtEx() const;
    TPoint OffsetViewportOrgEx(int dx, int dy);
    TPoint OffsetWindowOrgEx(int dx, int dy);
    int SetGraphicsMode(int mode);
    int GetGraphicsMode() const;
    bool SetWorldTransform(const TXForm& x);        // only in GM_ADVANCED
    bool ModifyWorldTransform(const TXForm& x, int mode);
    TXForm GetWorldTransform() const;
    void LPtoDP(TPoint* pts, int count) const;
    void DPtoLP(TPoint* pts, int count) const;
    TPoint LPtoDP(TPoint p) const { LPtoDP(&p, 1); return p; }
    TPoint DPtoLP(TPoint p) const { DPtoLP(&p, 1); return p; }

    // Saves the device-context state (objects, modes, coordinates, clip, position); returns its level.
    int SaveDC();
    // Restores the state of a level (negative: relative to the current one, -1 the last saved).
    bool RestoreDC(int level);

    // --- Lines and shapes (logical coordinates) ---
    TPoint PenPos() const;
    void SetPenPos(TPoint p) { MoveTo(p.x, p.y); }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const TPoint* pts, int count);
    void Polyline(const std::vector<TPoint>& pts) { Polyline(pts.data(), static_cast<int>(pts.size())); }
    void Polygon(const TPoint* pts, int count);
    void Polygon(const std::vector<TPoint>& pts) { Polygon(pts.data(), static_cast<int>(pts.size())); }
    void PolyPolygon(const TPoint* pts, const int* counts, int polygons);
    // Cubic Bezier curves: 1 + 3n points; PolyBezierTo starts at the current position and moves it.
    void PolyBezier(const TPoint* pts, int count);
    void PolyBezier(const std::vector<TPoint>& pts) { PolyBezier(pts.data(), static_cast<int>(pts.size())); }
    void PolyBezierTo(const TPoint* pts, int count);
    void PolyBezierTo(const std::vector<TPoint>& pts) { PolyBezierTo(pts.data(), static_cast<int>(pts.size())); }
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Elliptic arcs in the box (x1, y1, x2, y2), from the ray towards (x3, y3) to the ray towards
    // (x4, y4), in the arc direction (counter-clockwise by default).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);   // line to the start first
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Rectangles filled or framed with the canvas brush (no pen, no raster operation).
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void FillRect(const TRect& r, const TBrush& brush);
    void FrameRect(const TRect& r, const TBrush& brush);
    // Inverts the rectangle's pixels.
    void InvertRect(const TRect& r);
    // Fills with the brush under a ternary raster operation (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS,
    // WHITENESS, ...); a negative width or height extends to the left or up.
    void PatBlt(int x, int y, int w, int h, std::uint32_t rop3);
    void FillRgn(const TRegion& rgn, const TBrush& brush);    // region in device pixels
    void FrameRgn(const TRegion& rgn, const TBrush& brush, int w, int h);

    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);
    TColor Pixels(int x, int y) const { return GetPixel(x, y); }
    void SetPixels(int x, int y, TColor c) { SetPixel(x, y, c); }

    // --- Text (8-bit Windows-1252 text, or 16-bit text in the W forms) ---
    void TextOut(int x, int y, const std::string& text);
    void TextOutW(int x, int y, const std::u16string& text);
    // Text clipped to r; with a brush other than clear, r is first filled in the background colour.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text) const;
    TSize TextExtentW(const std::u16string& text) const;
    int TextWidth(const std::string& text) const { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) const { return TextExtent(text).cy; }
    bool GetTextMetrics(TTextMetric& tm) const;
    // Measures a text once for any number of widths of its parts (TTextRuler).
    TTextRuler MeasureText(const std::string& text) const;
    TTextRuler MeasureTextW(const std::u16string& text) const;

    // --- Clipping (the clip region lives in device pixels) ---
    // SelectClipRgn(nullptr) removes clipping; a region is copied.
    int SelectClipRgn(const TRegion* rgn);
    int ExtSelectClipRgn(const TRegion* rgn, int mode);
    int IntersectClipRect(int l, int t, int r, int b);      // logical coordinates
    int ExcludeClipRect(int l, int t, int r, int b);
    int OffsetClipRgn(int dx, int dy);
    // 1 and a copy of the clip region when there is one, 0 when there is none.
    int GetClipRgn(TRegion& out) const;
    // The logical rectangle bounding what can be drawn (the clip, or the device).
    int GetClipBox(TRect& out) const;
    TRect ClipRect() const { TRect r; GetClipBox(r); return r; }
    bool PtVisible(int x, int y) const;
    bool RectVisible(const TRect& r) const;

    // --- Paths ---
    bool BeginPath();
    bool EndPath();
    bool AbortPath();
    bool CloseFigure();
    bool StrokePath();
    bool FillPath();
    bool StrokeAndFillPath();
    bool WidenPath();                                // the path becomes the outline of its stroke
    bool SelectClipPath(int mode);
    bool InPath() const;

    // --- Block transfers ---
    // Copies from another canvas (its device must be readable).
    bool BitBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, std::uint32_t rop3);
    bool StretchBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, int sw, int sh,
                    std::uint32_t rop3);
    // Copies pixels (0x00RRGGBB) given by the caller.
    bool StretchPixels(int x, int y, int w, int h, const TPixelBuffer& src, int sx, int sy, int sw,
                       int sh, std::uint32_t rop3);
    // The class library's forms: CopyRect uses CopyMode; Draw and StretchDraw honour a bitmap's
    // transparency.
    void CopyRect(const TRect& dest, const TCanvas& src, const TRect& source);
    void Draw(int x, int y, const TGraphic& g);
    void StretchDraw(const TRect& r, const TGraphic& g);

    // Copies the source rectangle of the bitmap to dest (stretched when the sizes differ), leaving
    // out every pixel of the colour `color`, which keeps the canvas' pixel there.
    void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source, TColor color);

    // --- Text in a rectangle ---
    // The platform's DrawText with the DT_ flags: lines broken at line ends (unless DT_SINGLELINE) and,
    // with DT_WORDBREAK, between words that would pass the right edge; DT_LEFT, DT_CENTER, DT_RIGHT;
    // DT_VCENTER centres a single line; DT_EXPANDTABS sets tab stops every eight average character
    // widths; DT_END_ELLIPSIS and DT_PATH_ELLIPSIS shorten a line that does not fit (the path keeps
    // its last part); the text is clipped to r unless DT_NOCLIP. "&" is drawn as it stands.
    // DT_CALCRECT only measures: r.Right and r.Bottom become those of the text as it would be drawn.
    // DT_EXTERNALLEADING adds the font's external leading to every line; DT_EDITCONTROL breaks a word
    // wider than the line at its characters (with DT_WORDBREAK) and leaves out a partly visible last
    // line. Returns the text's height (with DT_VCENTER, the offset from r.Top to the bottom of the text).
    int DrawText(const std::string& text, TRect& r, unsigned format);
    // The same for 16-bit text, drawn with TextOutW.
    int DrawTextW(const std::u16string& text, TRect& r, unsigned format);

    // --- Edges and frames ---
    // The platform's DrawEdge: the outer and inner rings of `edge` (BDR_ and EDGE_ values) on the
    // sides of `flags` (BF_LEFT .. BF_BOTTOM), in the 3-D colours (BF_SOFT swaps the lighter
    // top-left colours of the two rings, BF_FLAT draws clBtnShadow and clBtnFace, BF_MONO
    // clWindowFrame and clWindow); BF_MIDDLE fills the inside with the face; BF_ADJUST shrinks r by
    // the rings on the sides drawn. Each ring's top-left colour covers its left and top lines, the
    // bottom-right colour its right and bottom lines with the top-right and bottom-left corners.
    bool DrawEdge(TRect& r, unsigned edge, unsigned flags);
    // Inverts every other pixel of the rectangle's one-pixel border (drawing it twice removes it).
    void DrawFocusRect(const TRect& r);

    // --- Controls and device ---
    // Frame controls: check boxes (DFC_BUTTON with DFCS_BUTTONCHECK, DFCS_CHECKED, DFCS_FLAT,
    // DFCS_INACTIVE, DFCS_PUSHED), radio buttons (DFCS_BUTTONRADIO) and the push-button frame
    // (DFCS_BUTTONPUSH: a raised soft edge filled with the face, sunken with DFCS_PUSHED, in the
    // flat or mono colours with DFCS_FLAT or DFCS_MONO; DFCS_ADJUSTRECT is not honoured: r is const),
    // and the scroll-bar buttons (DFC_SCROLL: DFCS_SCROLLUP .. DFCS_SCROLLRIGHT and the combo box's
    // DFCS_SCROLLCOMBOBOX, a push-button frame with a filled arrow, pushed with DFCS_PUSHED).
    bool DrawFrameControl(const TRect& r, unsigned type, unsigned state);
    int GetDeviceCaps(int index) const;

    struct Impl;

private:
    void ObjectChanged(TPersistent* sender);

    std::shared_ptr<TCanvasBackend> FBackend;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    std::unique_ptr<Impl> FImpl;
};

// The class library's 3-D frame: `width` rings, each drawing its left and top lines in topLeft and its
// right and bottom lines (with the top-right and bottom-left corners) in bottomRight, on the sides named
// in `sides` (BF_LEFT, BF_TOP, BF_RIGHT, BF_BOTTOM). r shrinks by one pixel on every side per ring,
// drawn or not, and ends as the rectangle inside the frame. Uses the canvas' pen (width 1, solid).
void DrawFrame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width, unsigned sides);
// DrawFrame3D on all four sides.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);
