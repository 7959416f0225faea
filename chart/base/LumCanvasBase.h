// The chart canvas interface: TLumCanvas, the 2-D drawing contract over an attached device canvas, and
// TCanvas3D, which adds depth (every 3-D operation takes pixel x, y and a depth z and projects the point
// itself). With View3D off every projection returns (x, y), so a flat chart may call the 3-D operations
// freely. TLumCanvas3D (LumCanvasGdi.h) is the implementation that draws through a TCanvas.
#pragma once

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasHelpers.h"
#include "chart/base/LumCanvasStyles.h"
#include "platform/graphics/GraphicsTypes.h"
#include "platform/graphics/Region.h"

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TCanvas;
class TGraphic;
class TPen;
class TBrush;
class TFont;

// A point with real coordinates (pie slices and quads between two depths are projected from them).
struct TLumPointF {
    double x = 0;
    double y = 0;
};

// The four corners of a quad.
using TFourPoints = std::array<TPoint, 4>;

// The cell callback of a surface handed whole to a canvas with its own renderer: grid points
// (row - 1, column) and (row, column) as 3-D screen points and, unless the caller said otherwise, their
// colours; false when either point is missing.
using TSurfaceCellCallback =
    std::function<bool(int row, int column, TPoint3D& p0, TPoint3D& p1, TColor& color0, TColor& color1)>;

// ---- TLumCanvas ----------------------------------------------------------------------------------------

class TLumCanvas {
public:
    TLumCanvas();
    virtual ~TLumCanvas();
    TLumCanvas(const TLumCanvas&) = delete;
    TLumCanvas& operator=(const TLumCanvas&) = delete;

    // -- Device state --
    virtual TColor ReadBackColor() const = 0;
    virtual int ReadBackMode() const = 0;                       // TRANSPARENT or OPAQUE
    virtual TCanvas* DeviceHandle() const = 0;
    virtual bool IsMonochrome() const = 0;
    virtual TColor ReadPixel(int X, int Y) const = 0;
    // True for a canvas that does not draw through a device canvas; callers then skip device-only work.
    virtual bool HasOwnRenderer() const = 0;
    virtual unsigned ReadTextAlign() const = 0;
    virtual bool IsBufferedDisplay() const = 0;
    virtual void WriteBackColor(TColor Color) = 0;
    virtual void WriteBackMode(int Mode) = 0;
    virtual void ChangeMonochrome(bool Value) = 0;
    virtual void WritePixel(int X, int Y, TColor Color) = 0;
    virtual void WriteTextAlign(unsigned Flags) = 0;
    virtual void ChangeBufferedDisplay(bool Value) = 0;

    // -- Pens and transparency --
    // Makes the device pen draw like pen (a chart pen or a plain one) in the given colour.
    virtual void SelectPenColor(const TPen& Pen, TColor Color);
    // Stores Percent (low seven bits) and captures the background of rect; EndTransparency mixes it back
    // with the blend's own percent and frees the blend.
    virtual std::unique_ptr<TLumBlend> BeginTransparency(const TRect& Rect, int Percent);
    virtual void EndTransparency(std::unique_ptr<TLumBlend> Blend);

    // -- 2-D drawing --
    virtual void DrawArcCurve(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) = 0;
    virtual void DrawRingSegment(int CX, int CY, int XRadius, int YRadius, double StartAngle, double EndAngle,
                                 double DonutPercent) = 0;
    virtual void DrawGraphicAt(int X, int Y, const TGraphic* Graphic) = 0;
    virtual void DrawEllipseBox(int X1, int Y1, int X2, int Y2) = 0;
    virtual void FillRectWithBrush(const TRect& Rect) = 0;
    // Width nested one-pixel frames, top and left in TopColor, bottom and right in BottomColor; Rect comes
    // back shrunk by Width.
    virtual void DrawBevelFrame(TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
    virtual void LineToXY(int X, int Y) = 0;
    virtual void MoveToXY(int X, int Y) = 0;
    virtual void DrawPieWedge(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) = 0;
    virtual void DrawRectangleBox(int X0, int Y0, int X1, int Y1) = 0;
    virtual void DrawRoundedBox(int X1, int Y1, int X2, int Y2, int CornerWidth, int CornerHeight) = 0;
    virtual void StretchGraphic(const TRect& Rect, const TGraphic* Graphic) = 0;
    // Text with the current chart font's shadow, outline and gradient.
    virtual void WriteText(int X, int Y, const std::string& Text) = 0;
    // Text extent plus the absolute shadow size of the current chart font.
    virtual int MeasureTextWidth(const std::string& Text);
    virtual int MeasureTextHeight(const std::string& Text);
    virtual int MeasureWideTextWidth(const std::u16string& Text);
    virtual int MeasureWideTextHeight(const std::u16string& Text);

    // -- Clipping: each intersecting clip pushes the clip in force; RemoveClip pops it back --
    virtual void ClipToRect(const TRect& Rect) = 0;
    virtual void ClipToRoundRect(const TRect& Rect, int Size);
    // Intersects with the ellipse, or with Inverted cuts it out of the clip.
    virtual void ClipToEllipse(const TRect& Rect, bool Inverted);
    // Intersects with the polygon (alternate fill); the caller's points are never changed.
    virtual void ClipToPolygon(std::span<const TPoint> Points);

    virtual void DrawHorizLine(int X0, int X1, int Y) = 0;
    virtual void DrawVertLine(int X, int Y0, int Y1) = 0;
    virtual void ClearBackground(const TRect& Rect) = 0;
    virtual void FillGradientRect(const TRect& Rect, TColor StartColor, TColor EndColor, TGradientDirection Direction,
                                  int Balance) = 0;
    virtual void MarkChanged() = 0;
    virtual void DrawLineXY(int X0, int Y0, int X1, int Y1) = 0;
    virtual void DrawPolylinePoints(std::span<const TPoint> Points) = 0;
    virtual void DrawPolygonPoints(std::span<const TPoint> Points) = 0;
    virtual void WriteRotatedText(int X, int Y, const std::string& Text, double Angle) = 0;
    // Back to the clip in force before the last clip; without one, no clipping.
    virtual void RemoveClip();

    // -- Helpers --
    // Draws on another device canvas from now on (its pen, brush and font become the canvas objects);
    // the clip stack is emptied.
    void AttachCanvas(TCanvas* canvas);
    TCanvas* AttachedCanvas() const { return FCanvas; }
    // Pen black, width 1, solid; brush white, solid; font black, plain, charset 1, the default chart font;
    // transparency 0; no current chart font; background white and transparent; text alignment 0.
    void ResetState();
    void SelectPen(const TPen& pen) { SelectPenColor(pen, pen.Color()); }
    // A chart brush with fill colour color and the brush's own colour as background.
    void SelectBrush(TChartBrush& brush, TColor color) { SelectBrushColors(brush, color, brush.Color()); }
    // A chart brush with explicit fill and background colours; TransparentBackColor as background leaves
    // the gaps of a pattern transparent.
    void SelectBrushColors(TChartBrush& brush, TColor fillColor, TColor backColor);
    // Makes a chart font current (scaled by the font zoom).
    void SelectFont(TLumFont& font);
    // The darker colour of a solid's side: the background colour for a hatched brush, else the brush
    // colour.
    void SetDarkerBrush(TColor color, int amount);
    int CharHeight() { return MeasureTextHeight("W"); }
    void DrawRect(const TRect& r) { DrawRectangleBox(r.Left, r.Top, r.Right, r.Bottom); }
    void EllipseInRect(const TRect& r) { DrawEllipseBox(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRectInRect(const TRect& r, int cornerWidth, int cornerHeight)
    {
        DrawRoundedBox(r.Left, r.Top, r.Right, r.Bottom, cornerWidth, cornerHeight);
    }
    void LineBetween(TPoint p0, TPoint p1) { DrawLineXY(p0.x, p0.y, p1.x, p1.y); }
    // Through the HTML-tag writer when Html, else WriteText.
    void WriteTextOrHtml(int x, int y, const std::string& text, bool html);

    // -- State --
    // The objects of the attached device canvas (those of an empty canvas when none is attached).
    TPen& Pen() const;
    TBrush& Brush() const;
    TFont& Font() const;
    bool MetafileMode() const { return FMetafileMode; }
    void SetMetafileMode(bool v) { FMetafileMode = v; }
    int Transparency() const { return FTransparency; }
    // The drawing rectangle given to SetupView.
    const TRect& Bounds() const { return FBounds; }
    void SetBounds(const TRect& r) { FBounds = r; }
    // The chart font last selected, none when it is gone.
    TLumFont* CurrentFont() const;
    double FontZoom() const { return FFontZoom; }
    void SetFontZoom(double v) { FFontZoom = v; }
    // Number of clips that RemoveClip can still undo.
    int ClipDepth() const { return static_cast<int>(FClipStack.size()); }

protected:
    // Pushes the clip in force and intersects it with region (device pixels).
    void IntersectClip(const TRegion& region);
    // Pushes the clip in force (a clip set by a path, for example, follows).
    void PushClip();
    void ClearClipStack() { FClipStack.clear(); }
    TCanvas& Device() const;

    double FFontZoom = 100;

private:
    // The clip in force before a clip operation: none, or a region in device pixels.
    struct TSavedClip {
        bool Had = false;
        TRegion Region;
    };

    TCanvas* FCanvas = nullptr;
    mutable std::unique_ptr<TCanvas> FEmptyCanvas;
    bool FMetafileMode = false;
    int FTransparency = 0;
    TRect FBounds;
    TLumFont* FCurrentFont = nullptr;
    std::weak_ptr<const void> FCurrentFontToken;
    std::vector<TSavedClip> FClipStack;
};

// ---- TCanvas3D -----------------------------------------------------------------------------------------

class TCanvas3D : public TLumCanvas {
public:
    TCanvas3D();
    ~TCanvas3D() override;

    virtual TColor ReadPixelAtZ(int X, int Y, int Z) = 0;
    // False for the device canvas: labels and marks are then written at precomputed screen points.
    virtual bool SupportsTextAtDepth() const = 0;
    virtual void WritePixelAtZ(int X, int Y, int Z, TColor Color) = 0;
    // The screen point back to the x, y that project there at depth Z.
    virtual void UnprojectPoint(int& X, int& Y, int Z) = 0;
    virtual TPoint ProjectXYZ(int X, int Y, int Z) = 0;
    // Starts a drawing: DrawRect becomes the bounds, the 3-D options are read, projection and buffer are
    // prepared. Returns the rectangle to draw in.
    virtual TRect SetupView(TCanvas* TargetCanvas, TView3DOptions* Options, TColor BackColor, bool View3D,
                            const TRect& DrawRect) = 0;
    virtual void CopyMonochromeFrom(const TLumCanvas& Canvas) { ChangeMonochrome(Canvas.IsMonochrome()); }
    // Sets the projection centre from ChartRect and Depth.
    virtual void SetRotationCentre(int Depth, const TRect& FullRect, const TRect& ChartRect) = 0;
    // Copies the off-screen bitmap to DestCanvas at Origin and attaches RestoreCanvas.
    virtual void FinishDrawing(TCanvas* DestCanvas, TCanvas* RestoreCanvas, TPoint Origin) = 0;
    // Copies the off-screen bitmap again while it is still valid; false when the chart must be drawn.
    virtual bool RepaintFromBuffer() = 0;
    // A target that keeps what is drawn on it between paints (the chart control's own back buffer) may be
    // drawn on straight, without an off-screen bitmap copied onto it afterwards.
    struct TKeepingTarget {
        TCanvas* Canvas = nullptr;
        // How many times its pixels changed: a repaint tells by it whether the picture still stands there.
        std::function<unsigned long long()> Changes;
        // Its memory from now on three bytes a pixel, as an off-screen bitmap becomes at its first blend.
        std::function<void()> UseThreeBytes;
    };
    virtual void SetKeepingTarget(TKeepingTarget Target) { (void)Target; }
    virtual void DrawArrowWithBody(bool Filled, TPoint FromPoint, TPoint ToPoint, int HeadWidth, int HeadHeight,
                                   int Z, double BodyPercent) = 0;
    virtual void ClipToBox(const TRect& Rect, int Z0, int Z1) = 0;
    virtual void DrawConeShape(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                               bool DarkSides, int ConePercent) = 0;
    virtual void DrawBoxShape(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides) = 0;
    virtual void DrawCylinderShape(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                                   bool DarkSides) = 0;
    virtual void FlattenBegin() {}
    virtual void DrawEllipseAtZ(int Left, int Top, int Right, int Bottom, int Z) = 0;
    virtual void FlattenEnd() {}
    virtual void DrawHorizLineAtZ(int X0, int X1, int Y, int Z) = 0;
    virtual void DrawVertLineAtZ(int X, int Y0, int Y1, int Z) = 0;
    virtual void DrawDepthLine(int X, int Y, int Z0, int Z1) = 0;
    // Nested: while suspended the canvas draws flat.
    virtual void SuspendRotation();
    virtual void ResumeRotation();
    virtual void DrawLineAtZ(int X0, int Y0, int X1, int Y1, int Z) = 0;
    virtual void MoveToAtZ(int X, int Y, int Z) = 0;
    virtual void LineToAtZ(int X, int Y, int Z) = 0;
    // A pie or donut slice whose face lies at depth Z1; angles in radians.
    virtual void DrawPieSlice3D(int CX, int CY, int XRadius, int YRadius, int Z0, int Z1, double StartAngle,
                                double EndAngle, bool DarkSides, bool DrawSides, double DonutPercent,
                                TCustomLumGradient* Gradient) = 0;
    virtual void DrawPlaneBetweenDepths(TPoint P1, TPoint P2, int Z0, int Z1) = 0;
    virtual void DrawQuadAtZ(TPoint P1, TPoint P2, TPoint P3, TPoint P4, int Z) = 0;
    // The first two points lie at Z0, the last two at Z1.
    virtual void DrawQuadTwoDepths(const std::array<TLumPointF, 4>& Points, int Z0, int Z1) = 0;
    virtual void DrawPolygonAtZ(std::span<const TPoint> Points, int Z) = 0;
    virtual void DrawPolylineAtZ(std::span<const TPoint> Points, int Z) = 0;
    virtual void DrawPyramidShape(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                                  bool DarkSides) = 0;
    virtual void DrawFrustumShape(const TRect& Rect, int Z0, int Z1, int TopHalfWidth, int TopHalfDepth) = 0;
    virtual void DrawRectAtDepth(const TRect& Rect, int Z) = 0;
    virtual void DrawHorizPlane(int X0, int Y, int X1, int Z0, int Z1) = 0;
    virtual void DrawSidePlane(int X, int Y0, int Y1, int Z0, int Z1) = 0;
    virtual void WriteRotatedTextAtZ(int X, int Y, int Z, const std::string& Text, double Angle) = 0;
    virtual void DrawCircleAtZ(int X, int Y, int Z, double Radius);
    // Mode 0 filled, 1 wire frame, 2 dots; the device canvas does nothing.
    virtual void DrawSurfaceGrid(int Mode, bool SameBrush, int NumX, int NumZ, const TSurfaceCellCallback& CellCallback) = 0;
    virtual void WriteTextAtZ(int X, int Y, int Z, const std::string& Text) = 0;
    virtual void DrawTriangle3D(TPoint3D P0, TPoint3D P1, TPoint3D P2, TColor Color0, TColor Color1, TColor Color2) = 0;
    virtual void DrawTriangleAtZ(TPoint P1, TPoint P2, TPoint P3, int Z) = 0;

    // -- Helpers --
    TPoint ProjectPoint3D(TPoint3D p) { return ProjectXYZ(p.x, p.y, p.z); }
    TPoint ProjectPointAtZ(TPoint p, int z) { return ProjectXYZ(p.x, p.y, z); }
    // Both corners projected.
    TRect ProjectRect(const TRect& r, int z);
    // (Left,Top), (Right,Top), (Right,Bottom), (Left,Bottom) projected.
    TFourPoints ProjectRectCorners(const TRect& r, int z);
    // The enclosing rectangle of the four projected corners, Right and Bottom one beyond.
    TRect ProjectedRectBounds(const TRect& r, int z);
    void DrawArrow(bool filled, TPoint fromPoint, TPoint toPoint, int headWidth, int headHeight, int z)
    {
        DrawArrowWithBody(filled, fromPoint, toPoint, headWidth, headHeight, z, 50);
    }
    void DrawBoxFromRect(const TRect& r, int z0, int z1, bool darkSides)
    {
        DrawBoxShape(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
    }
    void RectangleAtZ(int left, int top, int right, int bottom, int z) { DrawRectAtDepth({left, top, right, bottom}, z); }
    void DrawLineBetweenAtZ(TPoint p0, TPoint p1, int z) { DrawLineAtZ(p0.x, p0.y, p1.x, p1.y, z); }
    void MoveToPoint3D(TPoint3D p) { MoveToAtZ(p.x, p.y, p.z); }
    void LineToPoint3D(TPoint3D p) { LineToAtZ(p.x, p.y, p.z); }
    void DrawQuadRecordAtZ(const TFourPoints& p, int z) { DrawQuadAtZ(p[0], p[1], p[2], p[3], z); }
    // The picture laid into rect at depth z, one projected quad per pixel (back images of 3-D walls).
    void DrawPictureAtZ(const TRect& rect, const TGraphic* graphic, int z);

    // -- State --
    TView3DOptions* View3DOptions() const { return FView3DOptions; }
    bool IsRotationSuspended() const { return FSuspended > 0; }
    bool Orthogonal() const { return FOrthogonal; }
    int CentreX() const { return FCX; }
    int CentreY() const { return FCY; }
    int CentreZ() const { return FCZ; }

protected:
    TView3DOptions* FView3DOptions = nullptr;
    int FSuspended = 0;
    bool FOrthogonal = false;
    int FCX = 0;
    int FCY = 0;
    int FCZ = 0;
};
