// Framed shapes: settings with their repaint rules, copying, the older stream names, and drawing the box.
#include "chart/base/RadErareShapes.h"

#include "chart/base/RadErarePanelExt.h"
#include "platform/graphics/ColorIdents.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// ---- Rotated corners ------------------------------------------------------------------------------------------

std::array<TPoint, 4> RotatedRectCorners(const TRect& Rect, double Angle)
{
    std::array<TPoint, 4> corners = {TPoint{Rect.Left, Rect.Top}, TPoint{Rect.Right, Rect.Top},
                                     TPoint{Rect.Right, Rect.Bottom}, TPoint{Rect.Left, Rect.Bottom}};
    if (Angle < 1) return corners;
    const double radians = Angle * std::numbers::pi / 180;
    const double c = std::cos(radians), s = std::sin(radians);
    const int cx = static_cast<int>((static_cast<long long>(Rect.Left) + Rect.Right) / 2);
    const int cy = static_cast<int>((static_cast<long long>(Rect.Top) + Rect.Bottom) / 2);
    for (TPoint& p : corners) {
        const double dx = p.x - cx, dy = p.y - cy;
        p = {PixelFromReal(dx * c + dy * s) + cx, PixelFromReal(-dx * s + dy * c) + cy};
    }
    return corners;
}

// ---- Brush and pen --------------------------------------------------------------------------------------------

const TClassInfo& TLumCustomShapeBrushPen::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumCustomShapeBrushPen", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

TLumCustomShapeBrushPen::TLumCustomShapeBrushPen()
    : FBrush(std::make_unique<TChartBrush>(RepaintHandler())), FPen(std::make_unique<TChartPen>(RepaintHandler()))
{
}

TLumCustomShapeBrushPen::~TLumCustomShapeBrushPen() = default;

TNotifyEvent TLumCustomShapeBrushPen::RepaintHandler()
{
    return [this](TPersistent*) { RepaintParent(); };
}

void TLumCustomShapeBrushPen::Assign(const TPersistent& Source)
{
    auto* s = dynamic_cast<const TLumCustomShapeBrushPen*>(&Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this) return;
    FBrush->Assign(*s->FBrush);
    FPen->Assign(*s->FPen);
    FVisible = s->FVisible;
}

void TLumCustomShapeBrushPen::SetVisible(bool v)
{
    if (FParentChart)
        FParentChart->ChangeBoolean(FVisible, v);
    else
        FVisible = v;
}

void TLumCustomShapeBrushPen::RepaintParent()
{
    if (FParentChart) FParentChart->Invalidate();
}

// ---- Framed box: settings -------------------------------------------------------------------------------------

const TClassInfo& TLumCustomShape::StaticClassInfo()
{
    using P = TProps<TLumCustomShape>;
    using S = TLumCustomShape;
    static const TClassInfo info({
        .Name = "TLumCustomShape",
        .Parent = &TLumCustomShapeBrushPen::StaticClassInfo(),
        .Defined = {
            P::OldName("ShadowColor", TPropKind::Colour, [](S& s, const TPropValue& v) { s.ReadShadowColor(v); }),
            P::OldName("ShadowSize", TPropKind::Integer, [](S& s, const TPropValue& v) { s.ReadShadowSize(v); }),
        },
    });
    return info;
}

const TClassInfo& TLumShape::StaticClassInfo()
{
    using P = TProps<TLumShape>;
    using S = TLumShape;
    static const TClassInfo info({
        .Name = "TLumShape",
        .Parent = &TLumCustomShape::StaticClassInfo(),
        .Properties = {
            P::Enumeration("Bevel", BevelCutNames, &S::Bevel, &S::SetBevel).Default(bvNone),
            P::Integer("BevelWidth", &S::BevelWidth, &S::SetBevelWidth).Default(2),
            P::Colour("Color", &S::Color, &S::SetColor).Default(clWhite),
            P::Object("Font", [](const S& s) -> TPersistent* { return &s.Font(); }),
            P::Object("Gradient", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Gradient(); })
                .StoredWhen(&S::HasGradient),
            P::Object("Shadow", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Shadow(); }),
            P::Enumeration("ShapeStyle", ShapeStyleNames, &S::ShapeStyle, &S::SetShapeStyle).Default(fosRectangle),
            P::Boolean("Transparent", &S::Transparent, &S::SetTransparent).StoredWhen(&S::TransparentStored),
        },
    });
    return info;
}

TLumCustomShape::TLumCustomShape(TCustomLumPanel* Panel)
{
    SetParentPanel(Panel);
    FShadow = std::make_unique<TLumShadow>(RepaintHandler());
    InitShadow(*FShadow);
    FFont = std::make_unique<TLumFont>(RepaintHandler());
}

TLumCustomShape::~TLumCustomShape() = default;

void TLumCustomShape::InitShadow(TLumShadow& Shadow)
{
    Shadow.SetColor(clBlack);
    Shadow.SetUniformSize(3);
    Shadow.SetDefaultColor(clBlack);
    Shadow.SetDefaultSize(3);
}

void TLumCustomShape::Assign(const TPersistent& Source)
{
    if (auto* s = dynamic_cast<const TLumCustomShape*>(&Source); s && s != this) {
        FBevel = s->FBevel;
        FBevelWidth = s->FBevelWidth;
        FColor = s->FColor;
        FFont->Assign(*s->FFont);
        SetGradient(s->FGradient.get());
        FShapeStyle = s->FShapeStyle;
        SetShadow(s->FShadow.get());
        FTextFormat = s->FTextFormat;
        FTransparent = s->FTransparent;
        FTransparency = s->FTransparency;
    }
    TLumCustomShapeBrushPen::Assign(Source);
}

namespace {

template <class T, class F>
void StoreAndRepaint(T& field, T v, F repaint)
{
    if (field == v) return;
    field = v;
    repaint();
}

} // namespace

void TLumCustomShape::SetBevel(TBevelCut v) { StoreAndRepaint(FBevel, v, [this] { RepaintParent(); }); }
void TLumCustomShape::SetBevelWidth(int v) { StoreAndRepaint(FBevelWidth, v, [this] { RepaintParent(); }); }
void TLumCustomShape::SetShapeStyle(TChartObjectShapeStyle v) { StoreAndRepaint(FShapeStyle, v, [this] { RepaintParent(); }); }
void TLumCustomShape::SetTextFormat(TTextFormat v) { StoreAndRepaint(FTextFormat, v, [this] { RepaintParent(); }); }
void TLumCustomShape::SetTransparency(int v) { StoreAndRepaint(FTransparency, v, [this] { RepaintParent(); }); }

void TLumCustomShape::SetColor(TColor v)
{
    if (ParentChart())
        ParentChart()->ChangeCardinal(FColor, v);
    else
        FColor = v;
}

void TLumCustomShape::SetTransparent(bool v)
{
    if (ParentChart())
        ParentChart()->ChangeBoolean(FTransparent, v);
    else
        FTransparent = v;
}

TLumShadow& TLumCustomShape::Shadow()
{
    if (!FShadow) {
        FShadow = std::make_unique<TLumShadow>(RepaintHandler());
        InitShadow(*FShadow);
    }
    return *FShadow;
}

void TLumCustomShape::SetShadow(const TLumShadow* v)
{
    if (!v) {
        if (!FShadow) return;
        FShadow.reset();
        RepaintParent();
        return;
    }
    if (v == FShadow.get()) return;
    Shadow().Assign(*v);
    RepaintParent();
}

std::unique_ptr<TLumGradient> TLumCustomShape::NewGradient(TNotifyEvent OnChange)
{
    return std::make_unique<TLumGradient>(std::move(OnChange));
}

TLumGradient& TLumCustomShape::Gradient()
{
    if (!FGradient) FGradient = NewGradient(RepaintHandler());
    return *FGradient;
}

void TLumCustomShape::SetGradient(const TCustomLumGradient* v)
{
    if (!v) {
        if (!FGradient) return;
        FGradient.reset();
        RepaintParent();
        return;
    }
    if (v == FGradient.get()) return;
    Gradient().Assign(*v);
    RepaintParent();
}

void TLumCustomShape::ReadShadowColor(const TPropValue& Value)
{
    if (auto* i = std::get_if<std::int64_t>(&Value))
        Shadow().SetColor(static_cast<TColor>(*i));
    else if (auto* text = std::get_if<std::string>(&Value))
        Shadow().SetColor(StringToColor(*text));
}

void TLumCustomShape::ReadShadowSize(const TPropValue& Value)
{
    if (auto* i = std::get_if<std::int64_t>(&Value)) Shadow().SetUniformSize(static_cast<int>(*i));
}

// ---- Framed box: drawing --------------------------------------------------------------------------------------

namespace {

TRect ShiftedRect(const TRect& r, int h, int v) { return {r.Left + h, r.Top + v, r.Right + h, r.Bottom + v}; }

// Ends a blend when the scope ends, also on an exception.
class TBlendScope {
public:
    TBlendScope(TLumCanvas& canvas, const TRect& rect, int percent) : FCanvas(canvas)
    {
        if (percent > 0) FBlend = canvas.BeginTransparency(rect, percent);
    }
    ~TBlendScope()
    {
        if (FBlend) FCanvas.EndTransparency(std::move(FBlend));
    }
    TBlendScope(const TBlendScope&) = delete;
    TBlendScope& operator=(const TBlendScope&) = delete;

private:
    TLumCanvas& FCanvas;
    std::unique_ptr<TLumBlend> FBlend;
};

} // namespace

void TLumCustomShape::DrawShapeRect(const TRect& Rect, double Angle, int Z)
{
    if (FTransparent || !ParentChart()) return;
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const bool rotated = Angle >= 1;
    const std::array<TPoint, 4> corners = RotatedRectCorners(Rect, Angle);
    const TRect blendRect = Angle != 0 ? PointsEnclosingRect(corners, 4) : Rect;
    TBlendScope blend(canvas, blendRect, FTransparency);

    if (FShadow && FShadow->MaxOffset() != 0 && Brush().Style() != bsClear) DrawShadow(canvas, Rect, Z, corners, rotated);

    if (FGradient && FGradient->Visible()) {
        if (rotated) {
            if (canvas.HasOwnRenderer())
                FGradient->FillQuadAtZ(canvas, corners, Z);
            else
                FGradient->FillQuad(canvas, corners);
        } else {
            FGradient->DrawRect(canvas, Rect, FShapeStyle == fosRoundRectangle ? ShapeRoundCorner : 0);
        }
        canvas.Brush().SetStyle(bsClear);
    } else {
        canvas.SelectBrush(Brush(), FColor);
    }
    canvas.SelectPen(Pen());
    DrawOutline(canvas, Rect, Z, corners, rotated);
    if (!rotated) {
        TRect inner = Rect;
        DrawBevelBorder(canvas, FBevel, inner, 0, FBevelWidth);
    }
}

void TLumCustomShape::DrawShadow(TCanvas3D& canvas, const TRect& rect, int z, const std::array<TPoint, 4>& corners,
                                 bool rotated)
{
    TLumShadow& shadow = *FShadow;
    if (!rotated && FShapeStyle == fosRectangle) {
        const bool flat = !canvas.HasOwnRenderer();
        if (flat) canvas.SuspendRotation();
        try {
            shadow.DrawRectAtZ(canvas, rect, z);
        } catch (...) {
            if (flat) canvas.ResumeRotation();
            throw;
        }
        if (flat) canvas.ResumeRotation();
    }
    if (FTransparency <= 0) return;
    // A translucent box lets its shadow show through: the box's own figure, shifted, in the shadow colour.
    int h = shadow.HorizSize(), v = shadow.VertSize();
    if (std::max(h, v) > 0 && Pen().Visible()) {
        h += Pen().Width();
        v += Pen().Width();
    }
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(shadow.Color());
    TBlendScope blend(canvas, ShiftedRect(rect, h, v), shadow.Transparency());
    std::array<TPoint, 4> moved = corners;
    for (TPoint& p : moved) p = {p.x + h, p.y + v};
    DrawOutline(canvas, ShiftedRect(rect, h, v), z, moved, rotated);
}

void TLumCustomShape::DrawOutline(TCanvas3D& canvas, const TRect& rect, int z, const std::array<TPoint, 4>& corners,
                                  bool rotated)
{
    if (rotated)
        canvas.DrawPolygonPoints(corners);
    else if (canvas.HasOwnRenderer())
        canvas.DrawRectAtDepth(rect, z);
    else if (FShapeStyle == fosRoundRectangle)
        canvas.RoundRectInRect(rect, ShapeRoundCorner, ShapeRoundCorner);
    else
        canvas.DrawRect(rect);
}
