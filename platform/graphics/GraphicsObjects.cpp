// Pens, brushes and fonts: setters that store a changed value and fire the change event once.

#include "platform/graphics/GraphicsObjects.h"

#include "platform/rtl/PixelMath.h"

#include <utility>

const TClassInfo& TGraphicsObject::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGraphicsObject", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

const TClassInfo& TPen::StaticClassInfo()
{
    using P = TProps<TPen>;
    static const TClassInfo info({
        .Name = "TPen",
        .Parent = &TGraphicsObject::StaticClassInfo(),
        .Properties = {P::Colour("Color", &TPen::Color, &TPen::SetColor).Default(clBlack),
                       P::Enumeration("Mode", PenModeNames, &TPen::Mode, &TPen::SetMode).Default(pmCopy),
                       P::Enumeration("Style", PenStyleNames, &TPen::Style, &TPen::SetStyle).Default(psSolid),
                       P::Integer("Width", &TPen::Width, &TPen::SetWidth).Default(1)},
    });
    return info;
}

const TClassInfo& TBrush::StaticClassInfo()
{
    using P = TProps<TBrush>;
    static const TClassInfo info({
        .Name = "TBrush",
        .Parent = &TGraphicsObject::StaticClassInfo(),
        .Properties = {P::Colour("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite),
                       P::Enumeration("Style", BrushStyleNames, &TBrush::Style, &TBrush::SetStyle).Default(bsSolid)},
    });
    return info;
}

const TClassInfo& TFont::StaticClassInfo()
{
    using P = TProps<TFont>;
    // Size is derived from Height and not streamed; Height carries the size.
    static const TClassInfo info({
        .Name = "TFont",
        .Parent = &TGraphicsObject::StaticClassInfo(),
        .Properties = {P::Integer("Charset", &TFont::Charset, &TFont::SetCharset).Default(1),
                       P::Colour("Color", &TFont::Color, &TFont::SetColor),
                       P::Integer("Height", &TFont::Height, &TFont::SetHeight),
                       P::Text("Name", &TFont::Name, &TFont::SetName),
                       P::Enumeration("Pitch", FontPitchNames, &TFont::Pitch, &TFont::SetPitch).Default(fpDefault),
                       P::Integer("Size", &TFont::Size, &TFont::SetSize).NotStored(),
                       P::Set("Style", FontStyleNames, &TFont::Style, &TFont::SetStyle).Default(TFontStyles{})},
    });
    return info;
}

void TGraphicsObject::Changed()
{
    if (FUpdating > 0) {
        FPending = true;
        return;
    }
    if (OnChange) OnChange(this);
}

void TGraphicsObject::EndUpdate()
{
    if (--FUpdating == 0 && FPending) {
        FPending = false;
        Changed();
    }
}

namespace {
// Stores v into field and reports whether it changed.
template <class T>
bool Store(T& field, const T& v)
{
    if (field == v) return false;
    field = v;
    return true;
}
}  // namespace

// ---- TPen ----

void TPen::CopyValues(const TPen& o)
{
    FColor = o.FColor;
    FWidth = o.FWidth;
    FStyle = o.FStyle;
    FMode = o.FMode;
    FGeometric = o.FGeometric;
    FEndCap = o.FEndCap;
    FJoin = o.FJoin;
    FUserStyle = o.FUserStyle;
}

void TPen::Assign(const TPersistent& source)
{
    const auto* p = dynamic_cast<const TPen*>(&source);
    if (!p) {
        TGraphicsObject::Assign(source);
        return;
    }
    const TPen& o = *p;
    if (&o == this) return;
    const bool same = FColor == o.FColor && FWidth == o.FWidth && FStyle == o.FStyle && FMode == o.FMode &&
                      FGeometric == o.FGeometric && FEndCap == o.FEndCap && FJoin == o.FJoin &&
                      FUserStyle == o.FUserStyle;
    CopyValues(o);
    if (!same) Changed();
}

void TPen::SetColor(TColor v) { if (Store(FColor, v)) Changed(); }
void TPen::SetWidth(int v) { if (Store(FWidth, v < 0 ? 0 : v)) Changed(); }
void TPen::SetStyle(TPenStyle v) { if (Store(FStyle, v)) Changed(); }
void TPen::SetMode(TPenMode v) { if (Store(FMode, v)) Changed(); }
void TPen::SetGeometric(bool v) { if (Store(FGeometric, v)) Changed(); }
void TPen::SetEndCap(TPenEndCap v) { if (Store(FEndCap, v)) Changed(); }
void TPen::SetJoin(TPenJoin v) { if (Store(FJoin, v)) Changed(); }
void TPen::SetUserStyle(std::vector<std::uint32_t> dashes) { if (Store(FUserStyle, dashes)) Changed(); }

void TPen::ResetGeometry()
{
    BeginUpdate();
    SetGeometric(false);
    SetEndCap(pecRound);
    SetJoin(pjRound);
    SetUserStyle({});
    EndUpdate();
}

// ---- TBrush ----

void TBrush::CopyValues(const TBrush& o)
{
    FColor = o.FColor;
    FStyle = o.FStyle;
    FBitmap = o.FBitmap;
}

void TBrush::Assign(const TPersistent& source)
{
    const auto* p = dynamic_cast<const TBrush*>(&source);
    if (!p) {
        TGraphicsObject::Assign(source);
        return;
    }
    const TBrush& o = *p;
    if (&o == this) return;
    const bool same = FColor == o.FColor && FStyle == o.FStyle && FBitmap == o.FBitmap;
    CopyValues(o);
    if (!same) Changed();
}

void TBrush::SetColor(TColor v) { if (Store(FColor, v)) Changed(); }
void TBrush::SetStyle(TBrushStyle v) { if (Store(FStyle, v)) Changed(); }
void TBrush::SetBitmap(TBitmap* v) { if (Store(FBitmap, v)) Changed(); }

// ---- TFont ----

void TFont::CopyValues(const TFont& o)
{
    FName = o.FName;
    FHeight = o.FHeight;
    FPixelsPerInch = o.FPixelsPerInch;
    FColor = o.FColor;
    FStyle = o.FStyle;
    FCharset = o.FCharset;
    FPitch = o.FPitch;
    FOrientation = o.FOrientation;
    FQuality = o.FQuality;
}

void TFont::Assign(const TPersistent& source)
{
    const auto* p = dynamic_cast<const TFont*>(&source);
    if (!p) {
        TGraphicsObject::Assign(source);
        return;
    }
    const TFont& o = *p;
    if (&o == this) return;
    const bool same = FName == o.FName && FHeight == o.FHeight && FPixelsPerInch == o.FPixelsPerInch &&
                      FColor == o.FColor && FStyle == o.FStyle && FCharset == o.FCharset &&
                      FPitch == o.FPitch && FOrientation == o.FOrientation && FQuality == o.FQuality;
    CopyValues(o);
    if (!same) Changed();
}

void TFont::SetName(const std::string& v) { if (Store(FName, v)) Changed(); }
void TFont::SetHeight(int v) { if (Store(FHeight, v)) Changed(); }
int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, FPixelsPerInch, 72)); }
void TFont::SetPixelsPerInch(int v) { if (v > 0) FPixelsPerInch = v; }
void TFont::SetColor(TColor v) { if (Store(FColor, v)) Changed(); }
void TFont::SetStyle(TFontStyles v) { if (Store(FStyle, v)) Changed(); }
void TFont::SetCharset(int v) { if (Store(FCharset, v)) Changed(); }
void TFont::SetPitch(TFontPitch v) { if (Store(FPitch, v)) Changed(); }
void TFont::SetOrientation(int v) { if (Store(FOrientation, v)) Changed(); }
void TFont::SetQuality(TFontQuality v) { if (Store(FQuality, v)) Changed(); }
