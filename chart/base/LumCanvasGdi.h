// TLumCanvas3D, the chart engine's one canvas implementation: it draws through a TCanvas, directly on the
// target or first into an off-screen bitmap that is copied to the target at the end of a paint. Its 2-D
// operations, text, gradients and clipping are in LumCanvasGdi.cpp, the projection and the solids in
// LumCanvas3D.cpp.
#pragma once

#include "chart/base/LumCanvas3D.h"
#include "chart/base/LumCanvasBase.h"

#include <array>
#include <memory>

class TBitmap;

class TLumCanvas3D : public TCanvas3D {
public:
    TLumCanvas3D();
    ~TLumCanvas3D() override;

    // -- Device state --
    TColor ReadBackColor() const override;
    int ReadBackMode() const override;
    TCanvas* DeviceHandle() const override { return AttachedCanvas(); }
    bool IsMonochrome() const override { return FMonochrome; }
    TColor ReadPixel(int X, int Y) const override;
    bool HasOwnRenderer() const override { return false; }
    unsigned ReadTextAlign() const override;
    bool IsBufferedDisplay() const override { return FBufferedDisplay; }
    void WriteBackColor(TColor Color) override;
    void WriteBackMode(int Mode) override;
    // Stores a change, marks the buffer out of date and repaints the options' panel.
    void ChangeMonochrome(bool Value) override;
    void WritePixel(int X, int Y, TColor Color) override;
    void WriteTextAlign(unsigned Flags) override;
    void ChangeBufferedDisplay(bool Value) override;

    // -- 2-D drawing --
    void DrawArcCurve(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void DrawRingSegment(int CX, int CY, int XRadius, int YRadius, double StartAngle, double EndAngle,
                         double DonutPercent) override;
    void DrawGraphicAt(int X, int Y, const TGraphic* Graphic) override;
    void DrawEllipseBox(int X1, int Y1, int X2, int Y2) override;
    void FillRectWithBrush(const TRect& Rect) override;
    void LineToXY(int X, int Y) override;
    void MoveToXY(int X, int Y) override;
    void DrawPieWedge(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void DrawRectangleBox(int X0, int Y0, int X1, int Y1) override;
    void DrawRoundedBox(int X1, int Y1, int X2, int Y2, int CornerWidth, int CornerHeight) override;
    void StretchGraphic(const TRect& Rect, const TGraphic* Graphic) override;
    void WriteText(int X, int Y, const std::string& Text) override;
    void ClipToRect(const TRect& Rect) override;
    void DrawHorizLine(int X0, int X1, int Y) override;
    void DrawVertLine(int X, int Y0, int Y1) override;
    void ClearBackground(const TRect& Rect) override { FillRectWithBrush(Rect); }
    void FillGradientRect(const TRect& Rect, TColor StartColor, TColor EndColor, TGradientDirection Direction,
                          int Balance) override;
    void MarkChanged() override { FNeedsRedraw = true; }
    void DrawLineXY(int X0, int Y0, int X1, int Y1) override;
    void DrawPolylinePoints(std::span<const TPoint> Points) override;
    void DrawPolygonPoints(std::span<const TPoint> Points) override;
    void WriteRotatedText(int X, int Y, const std::string& Text, double Angle) override;

    // -- 3-D --
    TColor ReadPixelAtZ(int X, int Y, int Z) override;
    bool SupportsTextAtDepth() const override { return false; }
    void WritePixelAtZ(int X, int Y, int Z, TColor Color) override;
    void UnprojectPoint(int& X, int& Y, int Z) override { FProjection.Unproject(X, Y, Z); }
    TPoint ProjectXYZ(int X, int Y, int Z) override { return FProjection.Project(X, Y, Z); }
    TRect SetupView(TCanvas* TargetCanvas, TView3DOptions* Options, TColor BackColor, bool View3D,
                    const TRect& DrawRect) override;
    void SetRotationCentre(int Depth, const TRect& FullRect, const TRect& ChartRect) override;
    void FinishDrawing(TCanvas* DestCanvas, TCanvas* RestoreCanvas, TPoint Origin) override;
    bool RepaintFromBuffer() override;
    void SetKeepingTarget(TKeepingTarget Target) override;
    // Whether the drawing under way goes straight onto the keeping target; a blend then makes the
    // target's memory three bytes a pixel, as it would the off-screen bitmap's.
    bool DrawsOnKeepingTarget() const { return FDrawnOnTarget && AttachedCanvas() == FKeepingTarget.Canvas; }
    void KeepingTargetToThreeBytes()
    {
        if (FKeepingTarget.UseThreeBytes) FKeepingTarget.UseThreeBytes();
    }
    void DrawArrowWithBody(bool Filled, TPoint FromPoint, TPoint ToPoint, int HeadWidth, int HeadHeight, int Z,
                           double BodyPercent) override;
    void ClipToBox(const TRect& Rect, int Z0, int Z1) override;
    void DrawConeShape(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool DarkSides,
                       int ConePercent) override;
    void DrawBoxShape(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides) override;
    void DrawCylinderShape(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                           bool DarkSides) override
    {
        DrawConeShape(Vertical, Left, Top, Right, Bottom, Z0, Z1, DarkSides, 100);
    }
    void FlattenBegin() override;
    void DrawEllipseAtZ(int Left, int Top, int Right, int Bottom, int Z) override;
    void FlattenEnd() override;
    void DrawHorizLineAtZ(int X0, int X1, int Y, int Z) override;
    void DrawVertLineAtZ(int X, int Y0, int Y1, int Z) override;
    void DrawDepthLine(int X, int Y, int Z0, int Z1) override;
    void DrawLineAtZ(int X0, int Y0, int X1, int Y1, int Z) override;
    void MoveToAtZ(int X, int Y, int Z) override;
    void LineToAtZ(int X, int Y, int Z) override;
    void DrawPieSlice3D(int CX, int CY, int XRadius, int YRadius, int Z0, int Z1, double StartAngle, double EndAngle,
                        bool DarkSides, bool DrawSides, double DonutPercent, TCustomLumGradient* Gradient) override;
    void DrawPlaneBetweenDepths(TPoint P1, TPoint P2, int Z0, int Z1) override;
    void DrawQuadAtZ(TPoint P1, TPoint P2, TPoint P3, TPoint P4, int Z) override;
    void DrawQuadTwoDepths(const std::array<TLumPointF, 4>& Points, int Z0, int Z1) override;
    void DrawPolygonAtZ(std::span<const TPoint> Points, int Z) override;
    void DrawPolylineAtZ(std::span<const TPoint> Points, int Z) override;
    void DrawPyramidShape(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                          bool DarkSides) override;
    void DrawFrustumShape(const TRect& Rect, int Z0, int Z1, int TopHalfWidth, int TopHalfDepth) override;
    void DrawRectAtDepth(const TRect& Rect, int Z) override;
    void DrawHorizPlane(int X0, int Y, int X1, int Z0, int Z1) override;
    void DrawSidePlane(int X, int Y0, int Y1, int Z0, int Z1) override;
    void WriteRotatedTextAtZ(int X, int Y, int Z, const std::string& Text, double Angle) override;
    void DrawSurfaceGrid(int, bool, int, int, const TSurfaceCellCallback&) override {}
    void WriteTextAtZ(int X, int Y, int Z, const std::string& Text) override;
    void DrawTriangle3D(TPoint3D P0, TPoint3D P1, TPoint3D P2, TColor Color0, TColor Color1, TColor Color2) override;
    void DrawTriangleAtZ(TPoint P1, TPoint P2, TPoint P3, int Z) override;

    // -- Own operations --
    // Filled polygon of the four stored corners.
    virtual void FillStoredQuad();
    virtual void FreeBuffer();
    // Copies the whole off-screen bitmap to DestCanvas at (X, Y).
    virtual void BlitBuffer(int X, int Y, TCanvas& DestCanvas);
    void ComputeRotationTerms() { FProjection.ComputeRotationTerms(View3DOptions()); }
    // A non-orthogonal 3-D projection with the view options' present angles, centred on ChartRect at
    // Depth: figures drawn between paints while the angles change (the rotate tool's outline).
    void ProjectNonOrthogonal(int Depth, const TRect& ChartRect);
    void ComputePerspectiveFactor(const TRect& chartRect) { FProjection.ComputePerspectiveFactor(View3DOptions(), chartRect); }

    // -- State --
    const TLumProjection& Projection() const { return FProjection; }
    bool View3D() const { return FProjection.View3D; }
    TBitmap* Buffer() const { return FBuffer.get(); }
    bool NeedsRedraw() const { return FNeedsRedraw; }
    bool KeepBitmap() const { return FKeepBitmap; }
    void SetKeepBitmap(bool v) { FKeepBitmap = v; }
    void SetStoredQuad(const TFourPoints& corners) { FStoredQuad = corners; }
    const TFourPoints& StoredQuad() const { return FStoredQuad; }

private:
    // Text with shadow, outline and gradient (WriteText's steps).
    void WriteTextShadow(int& x, int& y, const std::string& text, TLumFont& font);
    void WriteTextThroughPath(int x, int y, const std::string& text, TLumFont& font);
    TRect TextRectAt(int x, int y, const std::string& text);
    // 3-D helpers.
    void StoreProjectedQuad(TPoint3D a, TPoint3D b, TPoint3D c, TPoint3D d);
    TColor SolidBaseColor() const;
    void DrawConeSides(const std::vector<TPoint>& base, const std::vector<TPoint>& top, bool darkSides, TColor c);
    void DrawVerticalPyramid(int left, int top, int right, int bottom, int z0, int z1, bool darkSides, TColor c);
    void DrawHorizontalPyramid(int left, int top, int right, int bottom, int z0, int z1, bool darkSides, TColor c);
    void FillFaceOrGradient(std::span<const TPoint> polygon, TCustomLumGradient* gradient);

    TLumProjection FProjection;
    std::unique_ptr<TBitmap> FBuffer;
    bool FBufferedDisplay = true;
    bool FNeedsRedraw = true;
    bool FKeepBitmap = false;
    // The keeping target, its change count, whether the last drawing went onto it and the count then.
    TKeepingTarget FKeepingTarget;
    bool FDrawnOnTarget = false;
    unsigned long long FTargetChangesDrawn = 0;
    bool FMonochrome = false;
    bool FWas3D = false;
    TFourPoints FStoredQuad{};
};
