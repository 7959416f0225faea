// Shadow, gradients, chart font and blend: settings with their property descriptions, and their drawing
// through the chart canvas.
#include "chart/base/LumCanvasEffects.h"

#include "chart/base/LumCanvasBase.h"
#include "chart/base/LumCanvasGdi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {
// Stores v and runs changed() only when the value differs.
template <class T, class F>
void StoreIfDifferent(T& field, T v, F changed)
{
    if (field == v) return;
    field = v;
    changed();
}
} // namespace

// ---- Shadow --------------------------------------------------------------------------------------------

const TClassInfo& TLumShadow::StaticClassInfo()
{
    using P = TProps<TLumShadow>;
    static const TClassInfo info({
        .Name = "TLumShadow",
        .Parent = &TGraphicsObject::StaticClassInfo(),
        .Properties = {
            P::Colour("Color", &TLumShadow::Color, &TLumShadow::SetColor)
                .StoredWhen([](const TLumShadow& s) { return s.Color() != s.DefaultColor(); }),
            P::Integer("HorizSize", &TLumShadow::HorizSize, &TLumShadow::SetHorizSize)
                .StoredWhen([](const TLumShadow& s) { return s.HorizSize() != s.DefaultSize(); }),
            P::Boolean("Smooth", &TLumShadow::Smooth, &TLumShadow::SetSmooth).Default(true),
            P::Integer("Transparency", &TLumShadow::Transparency, &TLumShadow::SetTransparency).Default(0),
            P::Integer("VertSize", &TLumShadow::VertSize, &TLumShadow::SetVertSize)
                .StoredWhen([](const TLumShadow& s) { return s.VertSize() != s.DefaultSize(); }),
        },
    });
    return info;
}

TLumShadow::TLumShadow(TNotifyEvent onChange) { OnChange = std::move(onChange); }
TLumShadow::~TLumShadow() = default;

void TLumShadow::Assign(const TPersistent& Source)
{
    auto* s = dynamic_cast<const TLumShadow*>(&Source);
    if (!s) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FColor = s->FColor;
    FHorizSize = s->FHorizSize;
    FSmooth = s->FSmooth;
    FTransparency = s->FTransparency;
    FVertSize = s->FVertSize;
}

void TLumShadow::SetColor(TColor v) { StoreIfDifferent(FColor, v, [this] { Changed(); }); }
void TLumShadow::SetHorizSize(int v) { StoreIfDifferent(FHorizSize, v, [this] { Changed(); }); }
void TLumShadow::SetVertSize(int v) { StoreIfDifferent(FVertSize, v, [this] { Changed(); }); }
void TLumShadow::SetSmooth(bool v) { StoreIfDifferent(FSmooth, v, [this] { Changed(); }); }
void TLumShadow::SetTransparency(TLumTransparency v)
{
    StoreIfDifferent(FTransparency, std::min<TLumTransparency>(v, 100), [this] { Changed(); });
}

int TLumShadow::MaxOffset() const { return std::max(FHorizSize, FVertSize); }

void TLumShadow::SetUniformSize(int n)
{
    SetHorizSize(n);
    SetVertSize(n);
}

namespace {
// A stored size may be anything a file holds. A smooth fade draws a line per pixel of its size, so it is
// kept within the box it decorates; a solid band is one fill and only has to stay within the pixels.
constexpr int FarthestShadow = 32767;

int ClampedSize(int size, int limit) { return std::clamp(size, -limit, limit); }

TRect Shifted(const TRect& r, int h, int v)
{
    return {ClampedPixel(std::int64_t(r.Left) + h), ClampedPixel(std::int64_t(r.Top) + v),
            ClampedPixel(std::int64_t(r.Right) + h), ClampedPixel(std::int64_t(r.Bottom) + v)};
}
} // namespace

void TLumShadow::EffectiveSizes(const TRect& rect, bool smooth, int& h, int& v) const
{
    if (smooth) {
        h = ClampedSize(FHorizSize, ClampedPixel(std::abs(std::int64_t(rect.Right) - rect.Left)));
        v = ClampedSize(FVertSize, ClampedPixel(std::abs(std::int64_t(rect.Bottom) - rect.Top)));
    } else {
        h = ClampedSize(FHorizSize, FarthestShadow);
        v = ClampedSize(FVertSize, FarthestShadow);
    }
}

bool TLumShadow::Prepare(TCanvas3D& canvas, const TRect& rect, int z)
{
    if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return false;
    canvas.Brush().SetColor(FColor);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetStyle(psClear);
    if (FTransparency > 0) {
        int h = 0, v = 0;
        EffectiveSizes(rect, false, h, v);
        FBlend = canvas.BeginTransparency(canvas.ProjectedRectBounds(Shifted(rect, h, v), z), FTransparency);
    }
    return true;
}

void TLumShadow::Finish(TCanvas3D& canvas)
{
    if (FBlend) canvas.EndTransparency(std::move(FBlend));
}

namespace {
// The lightening step of the fade: the distance of the colour's mean from white over the shadow size.
int FadeStep(TColor color, int size)
{
    const TColorBytes b = SplitColorBytes(ColorToRGB(color));
    return PixelFromReal((255 - (b.Red + b.Green + b.Blue) / 3.0) / size);
}
} // namespace

void TLumShadow::DrawSmoothFade(TCanvas3D& canvas, const TRect& r, int z)
{
    // Flat drawing uses the 2-D operations, otherwise their forms at depth z.
    const bool flat = canvas.IsRotationSuspended();
    auto horizLine = [&](int x0, int x1, int y) {
        if (flat) canvas.DrawHorizLine(x0, x1, y); else canvas.DrawHorizLineAtZ(x0, x1, y, z);
    };
    auto vertLine = [&](int x, int y0, int y1) {
        if (flat) canvas.DrawVertLine(x, y0, y1); else canvas.DrawVertLineAtZ(x, y0, y1, z);
    };
    auto pixel = [&](int x, int y, TColor c) {
        if (flat) canvas.WritePixel(x, y, c); else canvas.WritePixelAtZ(x, y, z, c);
    };
    int h = 0, v = 0;
    EffectiveSizes(r, true, h, v);
    const std::int64_t L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    canvas.Pen().SetStyle(psSolid);
    if (v != 0) {
        TColor c = FColor;
        const int step = FadeStep(FColor, v);
        for (int i = 1; i <= v; ++i) {
            canvas.Pen().SetColor(c);
            horizLine(ClampedPixel(L + h), ClampedPixel(R + h + i - v - 1), ClampedPixel(B + i - 1));
            c = LightenColorBy(c, step);
        }
    }
    if (h != 0) {
        TColor c = FColor;
        const int step = FadeStep(FColor, h);
        for (int i = 0; i < h; ++i) {
            canvas.Pen().SetColor(c);
            vertLine(ClampedPixel(R + i), ClampedPixel(T + v), ClampedPixel(B + v + i - h));
            pixel(ClampedPixel(R + i - 1), ClampedPixel(B + v + i - h - 1), c);
            c = LightenColorBy(c, step);
        }
    }
}

void TLumShadow::DrawFlatBands(TCanvas3D& canvas, const TRect& r)
{
    int h = 0, v = 0;
    EffectiveSizes(r, false, h, v);
    const std::int64_t L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const auto box = [&canvas](std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        canvas.DrawRectangleBox(ClampedPixel(x0), ClampedPixel(y0), ClampedPixel(x1), ClampedPixel(y1));
    };
    if (v > 0)
        box(L + h, B, R + h, B + 1 + v);
    else if (v < 0)
        box(L + h, T + 1, R + h, T + v);
    if (h > 0)
        box(R, T + v, R + 1 + h, B + v + 1);
    else if (h < 0)
        box(L + 1, T + v, L + h, B + v + 1);
}

void TLumShadow::DrawRectAtZ(TCanvas3D& canvas, const TRect& rect, int z)
{
    if (!Prepare(canvas, rect, z)) return;
    if (FSmooth && MaxOffset() > 1) {
        DrawSmoothFade(canvas, rect, z);
    } else if (canvas.IsRotationSuspended()) {
        DrawFlatBands(canvas, rect);
    } else {
        int h = 0, v = 0;
        EffectiveSizes(rect, false, h, v);
        const TRect moved = Shifted(rect, h, v);
        canvas.DrawRectAtDepth({moved.Left, rect.Bottom, moved.Right, moved.Bottom}, z);
        canvas.DrawRectAtDepth({rect.Right, moved.Top, moved.Right, moved.Bottom}, z);
    }
    Finish(canvas);
}

void TLumShadow::DrawEllipseShadow(TCanvas3D& canvas, const TRect& rect, int z)
{
    if (!Prepare(canvas, rect, z)) return;
    int h = 0, v = 0;
    EffectiveSizes(rect, FSmooth, h, v);
    const TRect moved = Shifted(rect, h, v);
    if (FSmooth) {
        const TRect projected = canvas.ProjectRect(moved, z);
        canvas.ClipToEllipse(projected, false);
        TCustomLumGradient fade;
        fade.SetStartColor(DarkenColorBy(FColor, 128));
        fade.SetEndColor(LightenColorBy(FColor, 32));
        fade.DrawRadial(canvas, projected);
        canvas.RemoveClip();
    } else {
        canvas.DrawEllipseAtZ(moved.Left, moved.Top, moved.Right, moved.Bottom, z);
    }
    Finish(canvas);
}

// ---- Gradients -----------------------------------------------------------------------------------------

const TClassInfo& TCustomLumGradient::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomLumGradient", .Parent = &TGraphicsObject::StaticClassInfo()});
    return info;
}

const TClassInfo& TLumGradient::StaticClassInfo()
{
    using P = TProps<TLumGradient>;
    using G = TCustomLumGradient;
    static const TClassInfo info({
        .Name = "TLumGradient",
        .Parent = &TCustomLumGradient::StaticClassInfo(),
        .Properties = {
            P::Integer("Balance", &G::Balance, &G::SetBalance).Default(50),
            P::Enumeration("Direction", GradientDirectionNames, &G::Direction, &G::SetDirection).Default(gdTopBottom),
            P::Colour("EndColor", &G::EndColor, &G::SetEndColor).Default(clYellow),
            P::Colour("MidColor", &G::MidColor, &G::SetMidColor).Default(clNone),
            P::Integer("RadialX", &G::RadialX, &G::SetRadialX).Default(0),
            P::Integer("RadialY", &G::RadialY, &G::SetRadialY).Default(0),
            P::Colour("StartColor", &G::StartColor, &G::SetStartColor).Default(clWhite),
            P::Boolean("Visible", &G::Visible, &G::SetVisible).Default(false),
        },
    });
    return info;
}

const TClassInfo& TLumFontGradient::StaticClassInfo()
{
    using P = TProps<TLumFontGradient>;
    static const TClassInfo info({
        .Name = "TLumFontGradient",
        .Parent = &TLumGradient::StaticClassInfo(),
        .Properties = {P::Boolean("Outline", &TLumFontGradient::Outline, &TLumFontGradient::SetOutline).Default(false)},
    });
    return info;
}

TCustomLumGradient::TCustomLumGradient(TNotifyEvent onChange) { OnChange = std::move(onChange); }

void TCustomLumGradient::Assign(const TPersistent& Source)
{
    auto* g = dynamic_cast<const TCustomLumGradient*>(&Source);
    if (!g) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FBalance = g->FBalance;
    FDirection = g->FDirection;
    FEndColor = g->FEndColor;
    FMidColor = g->FMidColor;
    FRadialX = g->FRadialX;
    FRadialY = g->FRadialY;
    FStartColor = g->FStartColor;
    FVisible = g->FVisible;
    FHasMidColor = g->FHasMidColor;
}

template <class T>
void TCustomLumGradient::Store(T& field, T v)
{
    StoreIfDifferent(field, v, [this] { Changed(); });
}

void TCustomLumGradient::SetBalance(int v) { Store(FBalance, v); }
void TCustomLumGradient::SetDirection(TGradientDirection v) { Store(FDirection, v); }
void TCustomLumGradient::SetEndColor(TColor v) { Store(FEndColor, v); }
void TCustomLumGradient::SetStartColor(TColor v) { Store(FStartColor, v); }
void TCustomLumGradient::SetRadialX(int v) { Store(FRadialX, v); }
void TCustomLumGradient::SetRadialY(int v) { Store(FRadialY, v); }
void TCustomLumGradient::SetVisible(bool v) { Store(FVisible, v); }

void TCustomLumGradient::SetMidColor(TColor v)
{
    if (FHasMidColor) {
        if (v == clNone) {
            FHasMidColor = false;
            Changed();
        } else {
            Store(FMidColor, v);
        }
    } else if (v != clNone) {
        FHasMidColor = true;
        FMidColor = v;
        Changed();
    }
}

void TCustomLumGradient::TurnOnMidColor()
{
    if (FHasMidColor) return;
    FHasMidColor = true;
    Changed();
}

void TLumFontGradient::Assign(const TPersistent& Source)
{
    TCustomLumGradient::Assign(Source);
    if (auto* g = dynamic_cast<const TLumFontGradient*>(&Source)) FOutline = g->FOutline;
}

void TLumFontGradient::SetOutline(bool v) { StoreIfDifferent(FOutline, v, [this] { Changed(); }); }

namespace {

// Grey of the same mean for monochrome drawing.
TColor GreyOf(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    const int v = ((rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF)) / 3;
    return RGB(v, v, v);
}

// The two halves of a rectangle split across the direction of a linear gradient.
std::pair<TRect, TRect> SplitHalves(const TRect& r, bool vertical)
{
    TRect first = r, second = r;
    if (vertical) {
        const int mid = (r.Top + r.Bottom) / 2;
        first.Bottom = mid;
        second.Top = mid;
    } else {
        const int mid = (r.Left + r.Right) / 2;
        first.Right = mid;
        second.Left = mid;
    }
    return {first, second};
}

} // namespace

void TCustomLumGradient::DrawRect(TLumCanvas& canvas, const TRect& rect, int cornerSize)
{
    TColor start = FStartColor, end = FEndColor, mid = FMidColor;
    if (canvas.IsMonochrome()) {
        start = GreyOf(start);
        end = GreyOf(end);
        mid = GreyOf(mid);
    }
    if (cornerSize > 0) canvas.ClipToRoundRect(rect, cornerSize);

    const bool diagonal = FDirection == gdDiagonalUp || FDirection == gdDiagonalDown;
    if (FDirection == gdRadial) {
        DrawRadial(canvas, rect);
    } else if (FHasMidColor && !diagonal) {
        switch (FDirection) {
        case gdTopBottom:
        case gdBottomTop:
        case gdLeftRight:
        case gdRightLeft: {
            const bool vertical = FDirection == gdTopBottom || FDirection == gdBottomTop;
            const auto [first, second] = SplitHalves(rect, vertical);
            // The half nearer the end colour runs from the mid colour to it, the other from the start.
            const bool endFirst = FDirection == gdTopBottom || FDirection == gdLeftRight;
            canvas.FillGradientRect(first, endFirst ? mid : start, endFirst ? end : mid, FDirection, 50);
            canvas.FillGradientRect(second, endFirst ? start : mid, endFirst ? mid : end, FDirection, 50);
            break;
        }
        default:
            canvas.FillGradientRect(rect, start, end, FDirection, 50);
            break;
        }
    } else {
        canvas.FillGradientRect(rect, start, end, FDirection, FBalance);
    }

    if (cornerSize > 0) canvas.RemoveClip();
}

void TCustomLumGradient::DrawRadial(TLumCanvas& canvas, const TRect& rect)
{
    const TRect r = SortRectCorners(rect);
    canvas.ClipToRect(r);
    const int width = r.Right - r.Left, height = r.Bottom - r.Top;
    int n = std::min(255, std::max(width, height));

    TPen& pen = canvas.Pen();
    TBrush& brush = canvas.Brush();
    const TPenStyle oldPenStyle = pen.Style();
    const TColor oldBrushColor = brush.Color();
    struct TRestore {
        TPen& Pen;
        TBrush& Brush;
        TPenStyle Style;
        TColor Color;
        ~TRestore()
        {
            Pen.SetStyle(Style);
            Brush.SetColor(Color);
        }
    } restore{pen, brush, oldPenStyle, oldBrushColor};

    pen.SetStyle(psClear);
    brush.SetColor(FEndColor);
    canvas.FillRectWithBrush(r);
    if (n > 0) {
        const double d = 1.0 / n;
        if (width % 2 != 0 || height % 2 != 0) --n;
        const double cx = FRadialX + 1 + (r.Left + r.Right) / 2.0;
        const double cy = FRadialY + 1 + (r.Top + r.Bottom) / 2.0;
        const TColor s = ColorToRGB(FStartColor), e = ColorToRGB(FEndColor);
        const int sr = s & 0xFF, sg = (s >> 8) & 0xFF, sb = (s >> 16) & 0xFF;
        const int dr = (e & 0xFF) - sr, dg = ((e >> 8) & 0xFF) - sg, db = ((e >> 16) & 0xFF) - sb;
        const double exponent = FBalance * 0.015 + 0.5;
        for (int k = n; k >= 0; --k) {
            const double t = FBalance == 50 ? k * d : std::pow((k + 1.0) / (n + 1.0), exponent);
            brush.SetColor(RGB(sr + PixelFromReal(dr * t), sg + PixelFromReal(dg * t), sb + PixelFromReal(db * t)));
            const double rx = k * d * width / 2, ry = k * d * height / 2;
            canvas.DrawEllipseBox(PixelFromReal(cx - rx), PixelFromReal(cy - ry), PixelFromReal(cx + rx),
                                  PixelFromReal(cy + ry));
        }
    }
    canvas.RemoveClip();
}

void TCustomLumGradient::FillPolygon(TCanvas3D& canvas, std::span<const TPoint> points, bool project, int z)
{
    if (points.empty()) return;
    TRect fill = PointsBoundingRect(points);
    if (project) {
        TPointArray projected(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) projected[i] = canvas.ProjectPointAtZ(points[i], z);
        canvas.ClipToPolygon(projected);
        fill = canvas.ProjectRect(fill, z);
    } else {
        canvas.ClipToPolygon(points);
    }
    DrawRect(canvas, fill, 0);
    canvas.RemoveClip();
}

void TCustomLumGradient::FillQuad(TLumCanvas& canvas, const std::array<TPoint, 4>& points)
{
    canvas.ClipToPolygon(points);
    DrawRect(canvas, PointsEnclosingRect(points, 4), 0);
    canvas.RemoveClip();
}

void TCustomLumGradient::FillQuadAtZ(TCanvas3D& canvas, const std::array<TPoint, 4>& points, int z)
{
    std::array<TPoint, 4> projected;
    for (std::size_t i = 0; i < 4; ++i) projected[i] = canvas.ProjectPointAtZ(points[i], z);
    FillQuad(canvas, projected);
}

// ---- Chart font ----------------------------------------------------------------------------------------

const TClassInfo& TLumFont::StaticClassInfo()
{
    using P = TProps<TLumFont>;
    static const TClassInfo info({
        .Name = "TLumFont",
        .Parent = &TFont::StaticClassInfo(),
        .Properties = {
            P::Colour("Color", &TFont::Color, &TFont::SetColor)
                .StoredWhen([](const TLumFont& f) { return f.Color() != f.DefaultColor(); }),
            P::Integer("Height", &TFont::Height, &TFont::SetHeight)
                .StoredWhen([](const TLumFont& f) { return f.Size() != LumCanvasModule().DefaultFontSize; }),
            P::Text("Name", &TFont::Name, &TFont::SetName)
                .StoredWhen([](const TLumFont& f) { return f.Name() != LumCanvasModule().DefaultFontName; }),
            P::Set("Style", FontStyleNames, &TFont::Style, &TFont::SetStyle)
                .StoredWhen([](const TLumFont& f) { return f.Style() != f.DefaultStyle(); }),
            P::Object("Gradient", [](const TLumFont& f) -> TPersistent* { return &const_cast<TLumFont&>(f).Gradient(); }),
            P::Integer("InterCharSize", &TLumFont::InterCharSize, &TLumFont::SetInterCharSize).Default(0),
            P::Object("OutLine", [](const TLumFont& f) -> TPersistent* { return &const_cast<TLumFont&>(f).OutLine(); }),
            P::Object("Shadow", [](const TLumFont& f) -> TPersistent* { return &const_cast<TLumFont&>(f).Shadow(); }),
        },
    });
    return info;
}

TLumFont::TLumFont(TNotifyEvent onChange) : FLifeToken(std::make_shared<int>(0))
{
    const TLumCanvasModule& m = LumCanvasModule();
    SetColor(clBlack);
    if (Charset() != 1) SetCharset(1);
    SetName(m.DefaultFontName);
    SetSize(m.DefaultFontSize);
    OnChange = std::move(onChange);
}

TLumFont::~TLumFont() = default;

TNotifyEvent TLumFont::SubObjectHandler()
{
    return [this](TPersistent*) { Changed(); };
}

TLumFontGradient& TLumFont::Gradient()
{
    if (!FGradient) FGradient = std::make_unique<TLumFontGradient>(SubObjectHandler());
    return *FGradient;
}

TChartHiddenPen& TLumFont::OutLine()
{
    if (!FOutLine) FOutLine = std::make_unique<TChartHiddenPen>(SubObjectHandler());
    return *FOutLine;
}

TLumShadow& TLumFont::Shadow()
{
    if (!FShadow) FShadow = std::make_unique<TLumShadow>(SubObjectHandler());
    return *FShadow;
}

void TLumFont::SetInterCharSize(int v) { StoreIfDifferent(FInterCharSize, v, [this] { Changed(); }); }

namespace {
// A source without the sub-object frees ours; otherwise it is copied into ours (made when missing).
template <class T, class Make>
void AssignSubObject(std::unique_ptr<T>& ours, const std::unique_ptr<T>& theirs, Make make)
{
    if (!theirs) {
        ours.reset();
        return;
    }
    make().Assign(*theirs);
}
} // namespace

void TLumFont::Assign(const TPersistent& Source)
{
    auto* f = dynamic_cast<const TLumFont*>(&Source);
    if (!f) {
        TFont::Assign(Source);
        return;
    }
    if (f == this) return;
    BeginUpdate();
    AssignSubObject(FGradient, f->FGradient, [this]() -> TLumFontGradient& { return Gradient(); });
    FInterCharSize = f->FInterCharSize;
    AssignSubObject(FOutLine, f->FOutLine, [this]() -> TChartHiddenPen& { return OutLine(); });
    AssignSubObject(FShadow, f->FShadow, [this]() -> TLumShadow& { return Shadow(); });
    TFont::Assign(Source);
    EndUpdate();
}

// ---- Blend ---------------------------------------------------------------------------------------------

TLumBlend::TLumBlend(TLumCanvas& canvas, const TRect& rect, int percent) : FCanvas(canvas), FPercent(percent)
{
    CaptureBackground(rect);
}

TLumBlend::~TLumBlend() = default;

namespace {
TBitmap* OffscreenBitmapOf(TLumCanvas& canvas)
{
    auto* gdi = dynamic_cast<TLumCanvas3D*>(&canvas);
    if (!gdi || !gdi->IsBufferedDisplay() || gdi->DrawsOnKeepingTarget()) return nullptr;
    return gdi->Buffer();
}
} // namespace

void TLumBlend::CaptureBackground(const TRect& rect)
{
    TRect r = SortRectCorners(rect);
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::max(r.Right, 0);
    r.Bottom = std::max(r.Bottom, 0);
    if (r.Right - r.Left <= 0) r.Right = r.Left + 1;
    if (r.Bottom - r.Top <= 0) r.Bottom = r.Top + 1;
    const TRect& bounds = FCanvas.Bounds();
    r.Right = std::min(r.Right, bounds.Right);
    r.Bottom = std::min(r.Bottom, bounds.Bottom);
    FRect = r;
    FValid = r.Right - r.Left > 0 && r.Bottom - r.Top > 0;
    if (!FValid) return;

    FBitmap = std::make_unique<TBitmap>(r.Right - r.Left, r.Bottom - r.Top, pf24bit);
    const TCanvas* source = nullptr;
    if (TBitmap* buffer = OffscreenBitmapOf(FCanvas))
        source = &buffer->Canvas();
    else
        source = FCanvas.DeviceHandle();
    if (source) FBitmap->Canvas().BitBlt(0, 0, FBitmap->Width(), FBitmap->Height(), *source, r.Left, r.Top, SRCCOPY);
}

void TLumBlend::BlendOver(int percent)
{
    if (FCanvas.MetafileMode() || !FValid || !FBitmap) return;
    TCanvas* device = FCanvas.DeviceHandle();
    if (!device) return;

    TBitmap* buffer = OffscreenBitmapOf(FCanvas);
    std::unique_ptr<TBitmap> temporary;
    TPoint position{FRect.Left, FRect.Top};
    if (!buffer) {
        temporary = std::make_unique<TBitmap>(FBitmap->Width(), FBitmap->Height(), pf24bit);
        temporary->Canvas().BitBlt(0, 0, FBitmap->Width(), FBitmap->Height(), *device, FRect.Left, FRect.Top, SRCCOPY);
        position = {0, 0};
    }
    TBitmap& target = buffer ? *buffer : *temporary;

    const unsigned align = FCanvas.ReadTextAlign();
    MixBitmapOver(*FBitmap, target, position, 100 - percent);
    if (FCanvas.ReadTextAlign() != align) {
        if (TLumFont* font = FCanvas.CurrentFont()) FCanvas.SelectFont(*font);
        FCanvas.WriteTextAlign(align);
    }
    if (!temporary) return;
    auto* gdi = dynamic_cast<TLumCanvas3D*>(&FCanvas);
    if (gdi && gdi->DrawsOnKeepingTarget()) {
        // As into an off-screen bitmap: the mixed pixels go in whole, past any clip, and the memory keeps
        // three bytes a pixel from now on.
        gdi->KeepingTargetToThreeBytes();
        TRegion clip;
        const bool clipped = device->GetClipRgn(clip) == 1;
        device->SelectClipRgn(nullptr);
        device->BitBlt(FRect.Left, FRect.Top, temporary->Width(), temporary->Height(), temporary->Canvas(), 0, 0, SRCCOPY);
        if (clipped) device->SelectClipRgn(&clip);
    } else {
        FCanvas.DrawGraphicAt(FRect.Left, FRect.Top, temporary.get());
    }
}

void MixBitmapOver(TBitmap& source, TBitmap& destination, TPoint position, double weight)
{
    if (source.PixelFormat() != pf24bit) source.SetPixelFormat(pf24bit);
    if (destination.PixelFormat() != pf24bit) destination.SetPixelFormat(pf24bit);
    const int x0 = std::max(position.x, 0), y0 = std::max(position.y, 0);
    const int width = std::min(source.Width(), destination.Width() - x0);
    const int height = std::min(source.Height(), destination.Height() - y0);
    if (width <= 0 || height <= 0) return;
    const int alpha = std::clamp(255 - PixelFromReal(weight * 2.55), 0, 255);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = source.ScanLine(y);
        std::uint8_t* d = destination.ScanLine(y0 + y) + 3 * x0;
        for (int i = 0; i < 3 * width; ++i) d[i] = static_cast<std::uint8_t>((s[i] * alpha + d[i] * (255 - alpha) + 127) / 255);
    }
    destination.NotifyChanged();
}
