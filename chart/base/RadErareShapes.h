// Framed shapes: the style objects of every boxed chart element (titles, legend, walls, marks, axis titles
// and custom labels; the series pointer takes only the brush and pen). They hold a brush, a pen, a
// visibility flag and the panel they belong to, and the framed box adds colour, font, shadow, gradient,
// bevel, round corners, transparency and a text format; DrawShapeRect draws the box on the panel's
// canvas. Qt-free.
#pragma once

#include "chart/base/RadErarePanel.h"

#include <array>
#include <memory>

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle };
inline const TEnumNames ShapeStyleNames{"fosRectangle", "fosRoundRectangle"};

enum TTextFormat { ttfNormal, ttfHtml };
inline const TEnumNames TextFormatNames{"ttfNormal", "ttfHtml"};

// Corner size of a round-rectangle box, in both directions.
inline constexpr int ShapeRoundCorner = 16;

// The corners (left, top), (right, top), (right, bottom), (left, bottom) of Rect turned by Angle degrees
// about its centre; angles below 1 leave them where they are.
std::array<TPoint, 4> RotatedRectCorners(const TRect& Rect, double Angle);

// A brush, a pen and a visibility flag belonging to a panel, which repaints on any change of them.
class TLumCustomShapeBrushPen : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TLumCustomShapeBrushPen();
    ~TLumCustomShapeBrushPen() override;
    TLumCustomShapeBrushPen(const TLumCustomShapeBrushPen&) = delete;
    TLumCustomShapeBrushPen& operator=(const TLumCustomShapeBrushPen&) = delete;

    // From another brush-pen shape: brush, pen and Visible. Other sources go to the inherited Assign.
    void Assign(const TPersistent& Source) override;

    TChartBrush& Brush() const { return *FBrush; }
    void SetBrush(const TChartBrush& v) { FBrush->Assign(v); }
    TChartPen& Pen() const { return *FPen; }
    void SetPen(const TChartPen& v) { FPen->Assign(v); }
    bool Visible() const { return FVisible; }
    // Through the panel's change routine when there is a panel, else only stored.
    void SetVisible(bool v);
    void MakeInvisible() { SetVisible(false); }

    TCustomLumPanel* ParentChart() const { return FParentChart; }
    // Stores the panel; descendants with sub-objects pass it on.
    virtual void SetParentPanel(TCustomLumPanel* Panel) { FParentChart = Panel; }
    // Invalidates the panel when there is one.
    void RepaintParent();

protected:
    TNotifyEvent RepaintHandler();

private:
    std::unique_ptr<TChartBrush> FBrush;
    TCustomLumPanel* FParentChart = nullptr;
    std::unique_ptr<TChartPen> FPen;
    bool FVisible = true;
};

// The framed box.
class TLumCustomShape : public TLumCustomShapeBrushPen {
    VSP_PERSISTENT_CLASS
public:
    // White, rectangular, no bevel (width 2), a black shadow of 3 pixels.
    explicit TLumCustomShape(TCustomLumPanel* Panel);
    ~TLumCustomShape() override;

    // From another box: bevel, colour, font, gradient (freed when the source has none), shape style,
    // shadow, text format, transparency settings, then brush, pen and Visible.
    void Assign(const TPersistent& Source) override;

    TBevelCut Bevel() const { return FBevel; }
    void SetBevel(TBevelCut v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TLumFont& Font() const { return *FFont; }
    void SetFont(const TLumFont& v) { FFont->Assign(v); }
    // None after SetShadow(nullptr): the box then casts no shadow.
    TLumShadow* ShadowIfAny() const { return FShadow.get(); }
    TLumShadow& Shadow();
    void SetShadow(const TLumShadow* v);
    TChartObjectShapeStyle ShapeStyle() const { return FShapeStyle; }
    void SetShapeStyle(TChartObjectShapeStyle v);
    TTextFormat TextFormat() const { return FTextFormat; }
    void SetTextFormat(TTextFormat v);
    // A transparent box draws nothing at all.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool DefaultTransparent() const { return FDefaultTransparent; }
    bool TransparentStored() const { return FTransparent != FDefaultTransparent; }
    // Made on first read; nullptr frees it.
    TLumGradient& Gradient();
    bool HasGradient() const { return FGradient != nullptr; }
    void SetGradient(const TCustomLumGradient* v);
    // Percent 0-100 of blending the whole box with what lies below.
    int Transparency() const { return FTransparency; }
    void SetTransparency(int v);

    const TRect& ShapeRect() const { return FShapeRect; }
    void SetShapeRect(const TRect& r) { FShapeRect = r; }
    // Width and height of ShapeRect counting both edges.
    int BoundsWidth() const { return FShapeRect.Right - FShapeRect.Left + 1; }
    int BoundsHeight() const { return FShapeRect.Bottom - FShapeRect.Top + 1; }
    void SetBoundsWidth(int W) { FShapeRect.Right = FShapeRect.Left + W - 1; }
    void SetBoundsHeight(int H) { FShapeRect.Bottom = FShapeRect.Top + H - 1; }

    // DrawShapeRect(ShapeRect, 0, 0).
    void DrawShape() { DrawShapeRect(FShapeRect, 0, 0); }
    // Draws the box on the panel's canvas: shadow, fill (gradient or colour), outline, bevel, optionally
    // translucent and turned by Angle degrees. Nothing without a panel.
    void DrawShapeRect(const TRect& Rect, double Angle, int Z);

    // The stream's older names, read and never written: a shadow colour (identifier or integer) and one
    // size for both directions.
    void ReadShadowColor(const TPropValue& Value);
    void ReadShadowSize(const TPropValue& Value);

protected:
    // Descendants that keep another transparency default set both fields.
    void SetDefaultTransparent(bool v) { FDefaultTransparent = v; }
    // The shadow's values and stream defaults: black, 3 pixels.
    virtual void InitShadow(TLumShadow& Shadow);
    // The gradient the box makes on first use; descendants with gradients of their own defaults
    // return their own class.
    virtual std::unique_ptr<TLumGradient> NewGradient(TNotifyEvent OnChange);

private:
    void DrawShadow(TCanvas3D& canvas, const TRect& rect, int z, const std::array<TPoint, 4>& corners, bool rotated);
    void DrawOutline(TCanvas3D& canvas, const TRect& rect, int z, const std::array<TPoint, 4>& corners, bool rotated);

    TBevelCut FBevel = bvNone;
    int FBevelWidth = 2;
    TColor FColor = clWhite;
    std::unique_ptr<TLumFont> FFont;
    std::unique_ptr<TLumShadow> FShadow;
    TChartObjectShapeStyle FShapeStyle = fosRectangle;
    TTextFormat FTextFormat = ttfNormal;
    bool FTransparent = false;
    bool FDefaultTransparent = false;
    std::unique_ptr<TLumGradient> FGradient;
    int FTransparency = 0;
    TRect FShapeRect;
};

// The framed box as the chart elements publish it.
class TLumShape : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    using TLumCustomShape::TLumCustomShape;
};
