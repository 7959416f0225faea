// The panel face: shadow strip, background, back image by mode, border pen and bevels; the zoom band;
// the extended panel's settings and streaming; and the plain drawing panel.
#include "chart/base/RadErarePanelExt.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

// Suspends the canvas' rotation for a scope (the face is drawn flat even in 3-D).
class TFlatScope {
public:
    explicit TFlatScope(TCanvas3D& canvas) : FCanvas(canvas) { FCanvas.SuspendRotation(); }
    ~TFlatScope() { FCanvas.ResumeRotation(); }
    TFlatScope(const TFlatScope&) = delete;
    TFlatScope& operator=(const TFlatScope&) = delete;

private:
    TCanvas3D& FCanvas;
};

// Removes a clip the scope set, also on an exception.
class TClipScope {
public:
    explicit TClipScope(TLumCanvas& canvas) : FCanvas(canvas) {}
    ~TClipScope()
    {
        if (FSet) FCanvas.RemoveClip();
    }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;
    void Set() { FSet = true; }

private:
    TLumCanvas& FCanvas;
    bool FSet = false;
};

void ReadPrintMargins(TCustomLumPanelExtended& p, TStream& s)
{
    TRect m;
    m.Left = s.ReadInt32();
    m.Top = s.ReadInt32();
    m.Right = s.ReadInt32();
    m.Bottom = s.ReadInt32();
    p.SetPrintMargins(m);
}

void WritePrintMargins(const TCustomLumPanelExtended& p, TStream& s)
{
    const TRect& m = p.PrintMargins();
    for (int v : {m.Left, m.Top, m.Right, m.Bottom}) s.WriteInt32(v);
}

bool ReadBool(const TPropValue& v)
{
    const auto* i = std::get_if<std::int64_t>(&v);
    return i && *i != 0;
}

} // namespace

// ---- Class descriptions --------------------------------------------------------------------------------------

const TClassInfo& TCustomLumPanelExtended::StaticClassInfo()
{
    using P = TProps<TCustomLumPanelExtended>;
    using E = TCustomLumPanelExtended;
    static const TClassInfo info({
        .Name = "TCustomLumPanelExtended",
        .Parent = &TCustomLumPanel::StaticClassInfo(),
        .Properties = {
            P::Enumeration("AllowPanning", PanningModeNames, &E::AllowPanning, &E::SetAllowPanning).Default(pmBoth),
            P::Object("BackImage", [](const E& p) -> TPersistent* { return &const_cast<E&>(p).BackImage(); })
                .StoredWhen(&E::HasBackImageObject),
            P::Boolean("BackImageInside", &E::BackImageInside, &E::SetBackImageInside).NotStored(),
            P::Enumeration("BackImageMode", BackImageModeNames, &E::BackImageMode, &E::SetBackImageMode).NotStored(),
            P::Boolean("BackImageTransp", &E::BackImageTransp, &E::SetBackImageTransp).NotStored(),
            P::Object("Gradient", [](const E& p) -> TPersistent* { return &const_cast<E&>(p).Gradient(); })
                .StoredWhen(&E::HasGradient),
            P::Object("Zoom", [](const E& p) -> TPersistent* { return &p.Zoom(); }),
        },
        .Defined = {
            P::DefinedBinary("PrintMargins", &ReadPrintMargins, &WritePrintMargins, &E::PrintMarginsStored),
            // Older streams kept the zoom settings on the panel itself.
            P::OldName("AllowZoom", TPropKind::Boolean, [](E& p, const TPropValue& v) { p.Zoom().SetAllow(ReadBool(v)); }),
            P::OldName("AnimatedZoom", TPropKind::Boolean,
                       [](E& p, const TPropValue& v) { p.Zoom().SetAnimated(ReadBool(v)); }),
            P::OldName("AnimatedZoomSteps", TPropKind::Integer, [](E& p, const TPropValue& v) {
                if (auto* i = std::get_if<std::int64_t>(&v)) p.Zoom().SetAnimatedSteps(static_cast<int>(*i));
            }),
        },
    });
    return info;
}

const TClassInfo& TDraw3D::StaticClassInfo()
{
    using P = TProps<TDraw3D>;
    static const TClassInfo info({
        .Name = "TDraw3D",
        .Parent = &TCustomLumPanelExtended::StaticClassInfo(),
        .Properties = {
            P::Boolean("BufferedDisplay", &TDraw3D::BufferedDisplay, &TDraw3D::SetBufferedDisplay).Default(true),
            P::Integer("PrintResolution", &TDraw3D::PrintResolution, &TDraw3D::SetPrintResolution).Default(0),
        },
        .Create = &CreateComponentOf<TDraw3D>,
    });
    return info;
}

// ---- Extended panel -----------------------------------------------------------------------------------------

TCustomLumPanelExtended::TCustomLumPanelExtended(TComponent* AOwner)
    : TCustomLumPanel(AOwner), FZoom(std::make_unique<TLumZoom>())
{
}

TCustomLumPanelExtended::~TCustomLumPanelExtended() { SetAutoRepaint(false); }

void TCustomLumPanelExtended::Assign(const TPersistent& Source)
{
    if (auto* p = dynamic_cast<const TCustomLumPanelExtended*>(&Source); p && p != this) {
        SetBackImage(p->FBackImage.get());
        SetGradient(p->FGradient.get());
        FAllowPanning = p->FAllowPanning;
        FZoom->Assign(*p->FZoom);
    }
    TCustomLumPanel::Assign(Source);
}

TLumGradient& TCustomLumPanelExtended::Gradient()
{
    if (!FGradient) FGradient = std::make_unique<TLumGradient>([this](TPersistent* s) { NotifyChanged(s); });
    return *FGradient;
}

void TCustomLumPanelExtended::SetGradient(const TCustomLumGradient* v)
{
    if (!v) {
        if (!FGradient) return;
        FGradient.reset();
        Invalidate();
        return;
    }
    if (v == FGradient.get()) return;
    Gradient().Assign(*v);
    Invalidate();
}

TBackImage& TCustomLumPanelExtended::BackImage()
{
    if (!FBackImage) {
        FBackImage = std::make_unique<TBackImage>();
        FBackImage->OnChange = [this](TPicture*) { NotifyChanged(nullptr); };
    }
    return *FBackImage;
}

void TCustomLumPanelExtended::SetBackImage(const TBackImage* v)
{
    if (!v) {
        if (!FBackImage) return;
        FBackImage.reset();
        Invalidate();
        return;
    }
    if (v == FBackImage.get()) return;
    BackImage().AssignImage(*v);
    Invalidate();
}

bool TCustomLumPanelExtended::HasBackImage() const { return FBackImage && FBackImage->Graphic() != nullptr; }

bool TCustomLumPanelExtended::BackImageTransp() const
{
    return HasBackImage() && FBackImage->Graphic()->Transparent();
}

void TCustomLumPanelExtended::SetBackImageTransp(bool v)
{
    if (!HasBackImage()) return;
    TGraphic* g = FBackImage->Graphic();
    if (g->Transparent() == v) return;
    g->SetTransparent(v);
    Invalidate();
}

bool TCustomLumPanelExtended::PrintMarginsStored() const
{
    const TRect& m = PrintMargins();
    return m.Left != 15 || m.Top != 15 || m.Right != 15 || m.Bottom != 15;
}

void TCustomLumPanelExtended::ZoomUndone()
{
    if (OnUndoZoom) OnUndoZoom(this);
    Invalidate();
    FZoomed = false;
}

// ---- Face ---------------------------------------------------------------------------------------------------

void TCustomLumPanelExtended::PaintPanelFace(const TRect& Rect)
{
    TCanvas3D& canvas = ChartCanvas();
    TFlatScope flat(canvas);
    TRect r = Rect;
    if (Shadow().MaxOffset() > 0) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Parent() ? Parent()->Color() : Color());
        canvas.FillRectWithBrush(r);
        // The face gives the shadow room within the panel, never more than the panel has.
        const int w = ClampedPixel(std::abs(std::int64_t(r.Right) - r.Left));
        const int h = ClampedPixel(std::abs(std::int64_t(r.Bottom) - r.Top));
        r.Right = ClampedPixel(std::int64_t(r.Right) - std::clamp(Shadow().HorizSize(), -w, w));
        r.Bottom = ClampedPixel(std::int64_t(r.Bottom) - std::clamp(Shadow().VertSize(), -h, h));
        Shadow().DrawRect(canvas, r);
    }
    PaintBackground(r);
    if (HasBackImage() && !FBackImage->Inside()) DrawBackImage(r, 0);
    DrawPanelBevels(r);
}

void TCustomLumPanelExtended::PaintBackground(const TRect& Rect)
{
    TCanvas3D& canvas = ChartCanvas();
    TFlatScope flat(canvas);
    if (FGradient && FGradient->Visible()) {
        FGradient->DrawRect(canvas, Rect, 0);
    } else if (Color() != clNone && (!Printing() || PaintColorWhenPrinting)) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.ClearBackground(Rect);
    }
}

void TCustomLumPanel::DrawPanelBevels(const TRect& Rect)
{
    TCanvas3D& canvas = ChartCanvas();
    TFlatScope flat(canvas);
    TRect r = Rect;
    canvas.Brush().SetStyle(bsClear);
    TChartHiddenPen& border = Border();
    if (border.Visible()) {
        canvas.SelectPen(border);
        int s = 1;
        if (!border.SmallDots()) {
            // A wide pen is centred on its outline: move the outline in so that the line stays inside.
            s = border.Width() - 1;
            if (s > 0) {
                const int lead = s / 2 + s % 2;
                s /= 2;
                if (s % 2 == 1) --s;
                r.Left += lead;
                r.Top += lead;
                r.Right -= s;
                r.Bottom -= s;
            }
        }
        if (BorderRound() > 0) {
            --r.Right;
            --r.Bottom;
            canvas.RoundRectInRect(r, BorderRound(), BorderRound());
        } else {
            canvas.DrawRect(r);
            if (!border.SmallDots()) ++s;
        }
        r = {r.Left + s, r.Top + s, r.Right - s, r.Bottom - s};
    }
    if (Printing() && !PaintColorWhenPrinting) return;
    TPen& pen = canvas.Pen();
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    pen.SetMode(pmCopy);
    DrawBevelBorder(canvas, BevelOuter(), r, BorderRound(), BevelWidth());
    if (BorderWidth() != 0) canvas.DrawBevelFrame(r, Color(), Color(), BorderWidth());
    DrawBevelBorder(canvas, BevelInner(), r, BorderRound(), BevelWidth());
}

void DrawBevelBorder(TLumCanvas& Canvas, TBevelCut Bevel, TRect& Rect, int RoundSize, int BevelWidth)
{
    if (Bevel == bvNone) return;
    const bool lowered = Bevel == bvLowered;
    if (RoundSize < 1) {
        Canvas.DrawBevelFrame(Rect, BevelColors[lowered ? 1 : 0], BevelColors[lowered ? 0 : 1], BevelWidth);
        return;
    }
    Canvas.Pen().SetColor(lowered ? clBtnShadow : clBtnHighlight);
    Canvas.RoundRectInRect(Rect, RoundSize, RoundSize);
    Rect = {ClampedPixel(std::int64_t(Rect.Left) + BevelWidth), ClampedPixel(std::int64_t(Rect.Top) + BevelWidth),
            ClampedPixel(std::int64_t(Rect.Right) - BevelWidth), ClampedPixel(std::int64_t(Rect.Bottom) - BevelWidth)};
}

// ---- Back image -----------------------------------------------------------------------------------------------

bool TCustomLumPanelExtended::IsOrthogonalView() const { return !View3D() || View3DOptions().Orthogonal(); }

void TCustomLumPanelExtended::DrawBackImage(const TRect& Rect, int Z)
{
    if (!HasBackImage()) return;
    TCanvas3D& canvas = ChartCanvas();
    const TGraphic& graphic = *FBackImage->Graphic();
    TRect r = Rect;
    const auto projected = [&](TRect at) {
        at = canvas.ProjectRect(at, Z);
        if (!View3D()) ++at.Top;
        return at;
    };
    if (FBackImage->Mode() == pbmStretch) {
        if (Z < 1)
            canvas.StretchGraphic(r, &graphic);
        else if (IsOrthogonalView())
            canvas.StretchGraphic(projected(r), &graphic);
        else
            canvas.DrawPictureAtZ(r, &graphic, Z);
        return;
    }
    TClipScope clip(canvas);
    if (ClippingAllowed()) {
        if (Z != 0)
            canvas.ClipToBox(r, 0, Width3D());
        else
            canvas.ClipToRect(r);
        clip.Set();
    }
    if (Z > 0 && IsOrthogonalView()) r = projected(r);
    if (FBackImage->Mode() == pbmTile)
        DrawTiledImage(r, Z, graphic);
    else
        DrawPlacedImage(r, Z, graphic);
}

void TCustomLumPanelExtended::DrawTiledImage(const TRect& Rect, int Z, const TGraphic& Graphic)
{
    const int w = Graphic.Width(), h = Graphic.Height();
    if (w <= 0 || h <= 0) return;
    TCanvas3D& canvas = ChartCanvas();
    const bool atDepth = !IsOrthogonalView() && Z > 0;
    for (long long y = 0; y < Rect.Height(); y += h) {
        for (long long x = 0; x < Rect.Width(); x += w) {
            const int left = static_cast<int>(Rect.Left + x), top = static_cast<int>(Rect.Top + y);
            if (atDepth)
                canvas.DrawPictureAtZ({left, top, left + w, top + h}, &Graphic, Z);
            else
                canvas.DrawGraphicAt(left, top, &Graphic);
        }
    }
}

void TCustomLumPanelExtended::DrawPlacedImage(TRect Rect, int Z, const TGraphic& Graphic)
{
    PaintBackground(Rect);
    const int w = Graphic.Width(), h = Graphic.Height();
    if (FBackImage->Mode() == pbmCustom) {
        Rect.Left += FBackImage->Left();
        Rect.Top += FBackImage->Top();
        Rect.Right = Rect.Left + w;
        Rect.Bottom = Rect.Top + h;
    } else { // centred: grown (or shrunk) to the picture's size about the same centre
        const int dx = (w - Rect.Width()) / 2, dy = (h - Rect.Height()) / 2;
        Rect = {Rect.Left - dx, Rect.Top - dy, Rect.Right + dx, Rect.Bottom + dy};
    }
    TCanvas3D& canvas = ChartCanvas();
    if (!IsOrthogonalView() && Z >= 1)
        canvas.DrawPictureAtZ(Rect, &Graphic, Z);
    else
        canvas.DrawGraphicAt(Rect.Left, Rect.Top, &Graphic);
}

// ---- Zoom band ------------------------------------------------------------------------------------------------

void TCustomLumPanelExtended::DrawZoomRectangle()
{
    TCanvas3D& canvas = ChartCanvas();
    TLumZoomPen& zoomPen = FZoom->Pen();
    const TPenMode savedZoomPenMode = zoomPen.Mode();
    const int savedBackMode = canvas.ReadBackMode();
    const TPenMode savedPenMode = canvas.Pen().Mode();
    const TColor savedPenColor = canvas.Pen().Color();

    // The band's colours are taken against the background, so that XOR shows them as chosen.
    const TColor back = ColorToRGB(GetBackColor());
    const TColor inverse = 0xFFFFFF - back;
    if (FZoom->HasBrush())
        SelectBrushContrast(ColorToRGB(FZoom->Brush().Color()) ^ inverse, FZoom->Brush(), back);
    else
        canvas.Brush().SetStyle(bsClear);
    zoomPen.SetMode(pmNotXor);
    canvas.SelectPenColor(zoomPen, ColorToRGB(zoomPen.Color()) ^ inverse);
    if (!FZoom->HasBrush() || FZoom->Brush().Style() == bsClear) canvas.WriteBackMode(TRANSPARENT);

    canvas.DrawRectangleBox(FZoom->X0, FZoom->Y0, FZoom->X1, FZoom->Y1);

    zoomPen.SetMode(savedZoomPenMode);
    canvas.WriteBackMode(savedBackMode);
    canvas.Pen().SetMode(savedPenMode);
    canvas.Pen().SetColor(savedPenColor);
}

// ---- Plain drawing panel --------------------------------------------------------------------------------------

TDraw3D::TDraw3D(TComponent* AOwner) : TCustomLumPanelExtended(AOwner) {}

void TDraw3D::DrawChartContent(const TRect& Rect)
{
    PaintPanelFace(Rect);
    if (OnAfterDraw) OnAfterDraw(this);
}
