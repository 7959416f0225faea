// Chart pens, the chart brush and the 3-D view options, with their property descriptions.
#include "chart/base/LumCanvasStyles.h"

#include "platform/graphics/Bitmap.h"
#include "platform/rtl/PixelMath.h"

#include <cmath>

// ---- Pens ----------------------------------------------------------------------------------------------

const TClassInfo& TChartPen::StaticClassInfo()
{
    using P = TProps<TChartPen>;
    static const TClassInfo info({
        .Name = "TChartPen",
        .Parent = &TPen::StaticClassInfo(),
        .Properties = {
            P::Enumeration("EndStyle", PenEndStyleNames, &TChartPen::EndStyle, &TChartPen::SetEndStyle)
                .StoredWhen(&TChartPen::EndStyleStored),
            P::Boolean("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots).Default(false),
            P::Integer("SmallSpace", &TChartPen::SmallSpace, &TChartPen::SetSmallSpace).Default(0),
            P::Boolean("Visible", &TChartPen::Visible, &TChartPen::SetVisible).StoredWhen(&TChartPen::VisibleStored),
        },
    });
    return info;
}

TChartPen::TChartPen(TNotifyEvent onChange) { OnChange = std::move(onChange); }

void TChartPen::Assign(const TPersistent& Source)
{
    auto* chartPen = dynamic_cast<const TChartPen*>(&Source);
    if (!chartPen) {
        TPen::Assign(Source);
        return;
    }
    if (chartPen == this) return;
    const TChartPen& source = *chartPen;
    // One change event for the whole copy, also when only the chart pen's own settings differed.
    BeginUpdate();
    const bool differs = FVisible != source.FVisible || FSmallDots != source.FSmallDots
        || FSmallSpace != source.FSmallSpace || FEndStyle != source.FEndStyle;
    FVisible = source.FVisible;
    FSmallDots = source.FSmallDots;
    FSmallSpace = source.FSmallSpace;
    FEndStyle = source.FEndStyle;
    if (differs) Changed();
    TPen::Assign(Source);
    EndUpdate();
}

namespace {
// Stores a value and reports the change, only when it differs.
template <class T, class F>
void StoreAndNotify(T& field, T v, F changed)
{
    if (field == v) return;
    field = v;
    changed();
}
} // namespace

void TChartPen::SetEndStyle(TPenEndStyle v) { StoreAndNotify(FEndStyle, v, [this] { Changed(); }); }
void TChartPen::SetSmallDots(bool v) { StoreAndNotify(FSmallDots, v, [this] { Changed(); }); }
void TChartPen::SetSmallSpace(int v) { StoreAndNotify(FSmallSpace, v, [this] { Changed(); }); }
void TChartPen::SetVisible(bool v) { StoreAndNotify(FVisible, v, [this] { Changed(); }); }

const TClassInfo& TChartHiddenPen::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartHiddenPen", .Parent = &TChartPen::StaticClassInfo()});
    return info;
}

TChartHiddenPen::TChartHiddenPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    FDefaultVisible = false;
    SetVisible(false);
    OnChange = std::move(onChange);
}

const TClassInfo& TDottedGrayPen::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TDottedGrayPen",
                                  .Parent = &TChartPen::StaticClassInfo(),
                                  .Defaults = {{"Color", clGray}, {"Style", psDot}}});
    return info;
}

TDottedGrayPen::TDottedGrayPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetColor(clGray);
    SetStyle(psDot);
    OnChange = std::move(onChange);
}

const TClassInfo& TDarkGrayPen::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TDarkGrayPen", .Parent = &TChartPen::StaticClassInfo(), .Defaults = {{"Color", clGray}}});
    return info;
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetColor(clGray);
    OnChange = std::move(onChange);
}

const TClassInfo& TWhitePen::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TWhitePen", .Parent = &TChartPen::StaticClassInfo(), .Defaults = {{"Color", clWhite}}});
    return info;
}

TWhitePen::TWhitePen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetColor(clWhite);
    OnChange = std::move(onChange);
}

// ---- Brush ---------------------------------------------------------------------------------------------

const TClassInfo& TChartBrush::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TChartBrush",
        .Parent = &TBrush::StaticClassInfo(),
        .Defaults = {{"Color", clDefault}},
    });
    return info;
}

TChartBrush::TChartBrush(TNotifyEvent onChange)
{
    SetColor(clDefault);
    OnChange = std::move(onChange);
}

TChartBrush::~TChartBrush() = default;

void TChartBrush::Assign(const TPersistent& Source)
{
    auto* source = dynamic_cast<const TChartBrush*>(&Source);
    if (!source) {
        TBrush::Assign(Source);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    SetImage(source->FImage.get());
    TBrush::Assign(Source);
    EndUpdate();
}

TPicture& TChartBrush::Image()
{
    if (!FImage) {
        FImage = std::make_unique<TPicture>();
        FImage->OnChange = [this](TPicture*) { ImageChanged(); };
    }
    return *FImage;
}

void TChartBrush::SetImage(const TPicture* picture)
{
    if (!picture) {
        if (!FImage) return;
        FImage.reset();
        FImageBitmap.reset();
        Changed();
        return;
    }
    // Assign fires the picture's change event, which reports to this brush's owner.
    Image().Assign(*picture);
}

void TChartBrush::ImageChanged()
{
    FImageBitmap.reset();
    Changed();
}

TBitmap* TChartBrush::ImageBitmap()
{
    if (!FImage || !FImage->HasGraphic()) return nullptr;
    TGraphic* g = FImage->Graphic();
    if (g->Empty()) return nullptr;
    if (auto* bitmap = dynamic_cast<TBitmap*>(g)) return bitmap;
    if (!FImageBitmap) {
        FImageBitmap = std::make_unique<TBitmap>();
        FImageBitmap->Assign(*g);
    }
    return FImageBitmap.get();
}

// ---- 3-D view options ----------------------------------------------------------------------------------

const TClassInfo& TView3DOptions::StaticClassInfo()
{
    using P = TProps<TView3DOptions>;
    using O = TView3DOptions;
    static const TClassInfo info({
        .Name = "TView3DOptions",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Integer("Elevation", &O::Elevation, &O::SetElevation).Default(345),
            P::Integer("Rotation", &O::Rotation, &O::SetRotation).Default(345),
            P::Integer("Tilt", &O::Tilt, &O::SetTilt).Default(0),
            P::Integer("Perspective", &O::Perspective, &O::SetPerspective).Default(15),
            P::Integer("Zoom", &O::Zoom, &O::SetZoom).Default(100),
            P::Boolean("ZoomText", &O::ZoomText, &O::SetZoomText).Default(true),
            P::Integer("FontZoom", &O::FontZoom, &O::SetFontZoom).Default(100),
            P::Integer("HorizOffset", &O::HorizOffset, &O::SetHorizOffset).Default(0),
            P::Integer("VertOffset", &O::VertOffset, &O::SetVertOffset).Default(0),
            P::Boolean("Orthogonal", &O::Orthogonal, &O::SetOrthogonal).Default(true),
            P::Integer("OrthoAngle", &O::OrthoAngle, &O::SetOrthoAngle).Default(45),
        },
    });
    return info;
}

TView3DOptions::TView3DOptions(ILumPanelRepaint* parent) : FParent(parent) {}

void TView3DOptions::Assign(const TPersistent& Source)
{
    auto* o = dynamic_cast<const TView3DOptions*>(&Source);
    if (!o || o == this) return;
    FElevation = o->FElevation;
    FRotation = o->FRotation;
    FFontZoom = o->FFontZoom;
    FHorizOffset = o->FHorizOffset;
    FVertOffset = o->FVertOffset;
    FOrthoAngle = o->FOrthoAngle;
    FOrthogonal = o->FOrthogonal;
    FPerspective = o->FPerspective;
    FTilt = o->FTilt;
    FZoom = o->FZoom;
    FZoomText = o->FZoomText;
}

int TView3DOptions::Elevation() const { return PixelFromReal(FElevation); }
int TView3DOptions::Rotation() const { return PixelFromReal(FRotation); }

void TView3DOptions::SetElevationValue(double v) { Store(FElevation, v); }
void TView3DOptions::SetRotationValue(double v) { Store(FRotation, v); }

void TView3DOptions::Repaint()
{
    if (FParent) FParent->RepaintPanel();
}

double TView3DOptions::OrthoTangent() const
{
    if (!FOrthogonal) return 1.0;
    const double a = FOrthoAngle > 90 ? 180 - FOrthoAngle : FOrthoAngle;
    return std::tan(a * 0.017453292519943295);
}
