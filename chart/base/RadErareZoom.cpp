// Zoom and pan state, the zoom's pen and brush, and the back image, with their property descriptions.
#include "chart/base/RadErareZoom.h"

#include <utility>

// ---- Drag state --------------------------------------------------------------------------------------------

const TClassInfo& TZoomPanning::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TZoomPanning", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

void TZoomPanning::StartAt(int X, int Y)
{
    X0 = X1 = X;
    Y0 = Y1 = Y;
    Active = true;
}

void TZoomPanning::SortCorners()
{
    if (X1 < X0) std::swap(X0, X1);
    if (Y1 < Y0) std::swap(Y0, Y1);
}

// ---- Zoom pen and brush -----------------------------------------------------------------------------------

const TClassInfo& TLumZoomPen::StaticClassInfo()
{
    using P = TProps<TLumZoomPen>;
    static const TClassInfo info({
        .Name = "TLumZoomPen",
        .Parent = &TChartPen::StaticClassInfo(),
        .Properties = {P::Colour("Color", &TPen::Color, &TPen::SetColor).StoredWhen(&TLumZoomPen::ColorStored)},
    });
    return info;
}

const TClassInfo& TLumZoomBrush::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TLumZoomBrush",
        .Parent = &TChartBrush::StaticClassInfo(),
        .Defaults = {{"Color", clWhite}, {"Style", bsClear}},
    });
    return info;
}

TLumZoomBrush::TLumZoomBrush(TNotifyEvent onChange) : TChartBrush(nullptr)
{
    SetColor(clWhite);
    SetStyle(bsClear);
    OnChange = std::move(onChange);
}

// ---- Zoom -------------------------------------------------------------------------------------------------

const TClassInfo& TLumZoom::StaticClassInfo()
{
    using P = TProps<TLumZoom>;
    using Z = TLumZoom;
    static const TClassInfo info({
        .Name = "TLumZoom",
        .Parent = &TZoomPanning::StaticClassInfo(),
        .Properties = {
            P::Boolean("Allow", &Z::Allow, &Z::SetAllow).Default(true),
            P::Boolean("Animated", &Z::Animated, &Z::SetAnimated).Default(false),
            P::Integer("AnimatedSteps", &Z::AnimatedSteps, &Z::SetAnimatedSteps).Default(8),
            P::Object("Brush", [](const Z& z) -> TPersistent* { return &const_cast<Z&>(z).Brush(); })
                .StoredWhen(&Z::HasBrush),
            P::Enumeration("Direction", ZoomDirectionNames, &Z::Direction, &Z::SetDirection).Default(tzdBoth),
            P::Set("KeyShift", ShiftStateNames, &Z::KeyShift, &Z::SetKeyShift).Default(TShiftState{}),
            P::Integer("MinimumPixels", &Z::MinimumPixels, &Z::SetMinimumPixels).Default(16),
            P::Enumeration("MouseButton", ZoomMouseButtonNames, &Z::MouseButton, &Z::SetMouseButton).Default(mbLeft),
            P::Object("Pen", [](const Z& z) -> TPersistent* { return &const_cast<Z&>(z).Pen(); }).StoredWhen(&Z::HasPen),
            P::Boolean("UpLeftZooms", &Z::UpLeftZooms, &Z::SetUpLeftZooms).Default(false),
        },
    });
    return info;
}

TLumZoom::TLumZoom() = default;
TLumZoom::~TLumZoom() = default;

void TLumZoom::Assign(const TPersistent& Source)
{
    auto* z = dynamic_cast<const TLumZoom*>(&Source);
    if (!z) {
        TZoomPanning::Assign(Source);
        return;
    }
    if (z == this) return;
    FAllow = z->FAllow;
    FAnimated = z->FAnimated;
    FAnimatedSteps = z->FAnimatedSteps;
    SetBrush(z->FBrush.get());
    FDirection = z->FDirection;
    FKeyShift = z->FKeyShift;
    FMouseButton = z->FMouseButton;
    SetPen(z->FPen.get());
}

TLumZoomBrush& TLumZoom::Brush()
{
    if (!FBrush) FBrush = std::make_unique<TLumZoomBrush>();
    return *FBrush;
}

TLumZoomPen& TLumZoom::Pen()
{
    if (!FPen) {
        FPen = std::make_unique<TLumZoomPen>();
        FPen->SetColor(clWhite);
        FPen->SetDefaultColor(clWhite);
    }
    return *FPen;
}

void TLumZoom::SetBrush(const TChartBrush* v)
{
    if (!v)
        FBrush.reset();
    else if (v != FBrush.get())
        Brush().Assign(*v);
}

void TLumZoom::SetPen(const TChartPen* v)
{
    if (!v)
        FPen.reset();
    else if (v != FPen.get())
        Pen().Assign(*v);
}

// ---- Back image ---------------------------------------------------------------------------------------------

const TClassInfo& TBackImage::StaticClassInfo()
{
    using P = TProps<TBackImage>;
    using B = TBackImage;
    static const TClassInfo info({
        .Name = "TBackImage",
        .Parent = &TPicture::StaticClassInfo(),
        .Properties = {
            P::Boolean("Inside", &B::Inside, &B::SetInside).Default(false),
            P::Integer("Left", &B::Left, &B::SetLeft).Default(0),
            P::Enumeration("Mode", BackImageModeNames, &B::Mode, &B::SetMode).Default(pbmStretch),
            P::Integer("Top", &B::Top, &B::SetTop).Default(0),
        },
    });
    return info;
}

template <class T>
void TBackImage::Store(T& field, T v)
{
    if (field == v) return;
    field = v;
    if (OnChange) OnChange(this);
}

void TBackImage::SetInside(bool v) { Store(FInside, v); }
void TBackImage::SetLeft(int v) { Store(FLeft, v); }
void TBackImage::SetMode(TLumBackImageMode v) { Store(FMode, v); }
void TBackImage::SetTop(int v) { Store(FTop, v); }

void TBackImage::Assign(const TPersistent& Source)
{
    if (auto* b = dynamic_cast<const TBackImage*>(&Source)) {
        AssignImage(*b);
        return;
    }
    TPersistent::Assign(Source);
}

void TBackImage::AssignImage(const TBackImage& Source)
{
    if (&Source == this) return;
    FInside = Source.FInside;
    FLeft = Source.FLeft;
    FMode = Source.FMode;
    FTop = Source.FTop;
    TPicture::Assign(Source);
}
