// The 3-D series base (the Z list, depth reservation, depth of marks) and the palette series base (colour
// range, stepped palettes of five styles, point colours by value and the palette legend).
#include "chart/series/LumSurfa.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartControl.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

const TColor RainbowPaletteColors[25] = {
    0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF, 0x00CBFF, 0x00F7FF,
    0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063, 0x38B342, 0x42A622, 0x4B9A02, 0x6A870C,
    0x8A751A, 0xAA6328, 0xCB5036, 0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC,
};

// ---- TCustom3DSeries ---------------------------------------------------------------------------------------

const TClassInfo& TCustom3DSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustom3DSeries", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}

TCustom3DSeries::TCustom3DSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    SetOrderedRange(false);
    SetHas3DValues(true);
    // The value lists own themselves into the series' lists.
    FZValues = new TChartValueList(this, "Z");
    XValues().SetOrder(loNone);
}

void TCustom3DSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCustom3DSeries*>(&Source); s && s != this) {
        FZValues->Assign(*s->FZValues);
        FTimesZOrder = s->FTimesZOrder;
    }
    TChartSeries::Assign(Source);
}

int TCustom3DSeries::AppendXYZWithLabel(double X, double Y, double Z, const std::string& Label, TColor Color)
{
    FZValues->PendingValue = Z;
    return InsertPoint(X, Y, Label, Color);
}

int TCustom3DSeries::ZScreenPosition(int Index) const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (!chart) return 0;
    return chart->DepthAxis().CalcPosValue(FZValues->ValueAt(Index));
}

void TCustom3DSeries::ComputeZOrder()
{
    TChartSeries::ComputeZOrder();
    if (TCustomAxisPanel* chart = ParentChart()) chart->SetMaxZOrder(FTimesZOrder);
}

void TCustom3DSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Marks().SetZPosition(ZScreenPosition(Index));
    TChartSeries::PaintMark(Index, Text, Position);
}

void TCustom3DSeries::LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style)
{
    TChartSeries::LegendSymbolStyle(Index, BackColor, Style);
    // Symbols that touch need no frames between them.
    const auto* chart = dynamic_cast<const TCustomChart*>(ParentChart());
    if (chart && chart->Legend().Symbol().Continuous()) chart->ChartCanvas().Pen().SetStyle(psClear);
}

TChartValueList* TCustom3DSeries::ValuesForAxis(const TChartAxis* Axis) const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (chart && Axis == &chart->DepthAxis()) return FZValues;
    return TChartSeries::ValuesForAxis(Axis);
}

bool TCustom3DSeries::UsesAxis(const TChartAxis* Axis) const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (chart && Axis == &chart->DepthAxis()) return true;
    return TChartSeries::UsesAxis(Axis);
}

bool TCustom3DSeries::AcceptsSource(const TChartSeries* Series) const
{
    return dynamic_cast<const TCustom3DSeries*>(Series) != nullptr && TChartSeries::AcceptsSource(Series);
}

bool DepthAxisDrawnReversed(const TChartSeries& Series)
{
    const TCustomAxisPanel* chart = Series.ParentChart();
    if (!chart) return false;
    const int rotation = chart->View3DOptions().Rotation();
    const bool inverted = chart->DepthAxis().Inverted();
    return rotation > 90 && rotation < 270 ? !inverted : inverted;
}

// ---- TCustom3DPaletteSeries: settings ----------------------------------------------------------------------

const TClassInfo& TCustom3DPaletteSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustom3DPaletteSeries", .Parent = &TCustom3DSeries::StaticClassInfo()});
    return info;
}

std::vector<TPropInfo> TCustom3DPaletteSeries::PaletteProperties(bool WithPaletteStyle)
{
    using P = TProps<TCustom3DPaletteSeries>;
    std::vector<TPropInfo> props{
        P::Colour("EndColor", &TCustom3DPaletteSeries::EndColor, &TCustom3DPaletteSeries::SetEndColor).Default(0xFFFFFF),
        P::Colour("MidColor", &TCustom3DPaletteSeries::MidColor, &TCustom3DPaletteSeries::SetMidColor).Default(clNone),
        P::Integer("LegendEvery", &TCustom3DPaletteSeries::LegendEvery, &TCustom3DPaletteSeries::SetLegendEvery).Default(1),
        P::Real("PaletteMin", &TCustom3DPaletteSeries::PaletteMin, &TCustom3DPaletteSeries::SetPaletteMin),
        P::Real("PaletteStep", &TCustom3DPaletteSeries::PaletteStep, &TCustom3DPaletteSeries::SetPaletteStep),
        P::Integer("PaletteSteps", &TCustom3DPaletteSeries::PaletteSteps, &TCustom3DPaletteSeries::SetPaletteSteps)
            .Default(32),
    };
    if (WithPaletteStyle)
        props.push_back(P::Enumeration("PaletteStyle", LumPaletteStyleNames, &TCustom3DPaletteSeries::PaletteStyle,
                                       &TCustom3DPaletteSeries::SetPaletteStyle)
                            .Default(psPale));
    props.push_back(
        P::Colour("StartColor", &TCustom3DPaletteSeries::StartColor, &TCustom3DPaletteSeries::SetStartColor).Default(0x800000));
    props.push_back(P::Boolean("UseColorRange", &TCustom3DPaletteSeries::UseColorRange, &TCustom3DPaletteSeries::SetUseColorRange)
                        .Default(true));
    props.push_back(
        P::Boolean("UsePalette", &TCustom3DPaletteSeries::UsePalette, &TCustom3DPaletteSeries::SetUsePalette).Default(false));
    props.push_back(P::Boolean("UsePaletteMin", &TCustom3DPaletteSeries::UsePaletteMin, &TCustom3DPaletteSeries::SetUsePaletteMin)
                        .Default(false));
    props.push_back(
        P::Integer("TimesZOrder", &TCustom3DPaletteSeries::TimesZOrder, &TCustom3DPaletteSeries::SetTimesZOrder).Default(3));
    props.push_back(P::Object("ZValues", [](const TCustom3DPaletteSeries& s) -> TPersistent* { return &s.ZValues(); }));
    return props;
}

TCustom3DPaletteSeries::TCustom3DPaletteSeries(TComponent* AOwner) : TCustom3DSeries(AOwner) { ComputeColorDeltas(); }

TCustom3DPaletteSeries::~TCustom3DPaletteSeries() { FPalette.clear(); }

void TCustom3DPaletteSeries::Assign(const TPersistent& Source)
{
    const auto* s = dynamic_cast<const TCustom3DPaletteSeries*>(&Source);
    if (s && s != this) {
        FUsePalette = s->FUsePalette;
        FUseColorRange = s->FUseColorRange;
        FStartColor = s->FStartColor;
        FEndColor = s->FEndColor;
        FMidColor = s->FMidColor;
        FLegendEvery = s->FLegendEvery;
        FPaletteSteps = s->FPaletteSteps;
        FUsePaletteMin = s->FUsePaletteMin;
        FPaletteStep = s->FPaletteStep;
        FPaletteMin = s->FPaletteMin;
        FPaletteStyle = s->FPaletteStyle;
        ComputeColorDeltas();
    }
    TCustom3DSeries::Assign(Source);
    // Copying the points cleared the palette (a palette goes with the points it was built for): the
    // source's entries come last.
    if (s && s != this) FPalette = s->FPalette;
}

void TCustom3DPaletteSeries::SetStartColor(TColor Value)
{
    SetColorField(FStartColor, Value);
    ComputeColorDeltas();
}

void TCustom3DPaletteSeries::SetMidColor(TColor Value)
{
    SetColorField(FMidColor, Value);
    ComputeColorDeltas();
}

void TCustom3DPaletteSeries::SetEndColor(TColor Value)
{
    SetColorField(FEndColor, Value);
    ComputeColorDeltas();
}

void TCustom3DPaletteSeries::SetUseColorRange(bool Value)
{
    SetBooleanField(FUseColorRange, Value);
    if (Value) SetColorEachPoint(false);
}

void TCustom3DPaletteSeries::SetUsePalette(bool Value)
{
    SetBooleanField(FUsePalette, Value);
    if (!Value) return;
    SetColorEachPoint(false);
    EnsurePalette();
}

void TCustom3DPaletteSeries::SetPaletteSteps(int Value)
{
    FPaletteSteps = Value;
    CreateDefaultPalette(FPaletteSteps);
}

void TCustom3DPaletteSeries::SetPaletteStyle(TLumPaletteStyle Value)
{
    if (Value == FPaletteStyle) return;
    FPaletteStyle = Value;
    ClearPalette();
    InvalidateChart();
}

void TCustom3DPaletteSeries::SetPaletteMin(double Value)
{
    FPaletteMin = Value;
    CreateDefaultPalette(FPaletteSteps);
}

void TCustom3DPaletteSeries::SetPaletteStep(double Value)
{
    FPaletteStep = Value;
    CreateDefaultPalette(FPaletteSteps);
}

void TCustom3DPaletteSeries::SetUsePaletteMin(bool Value)
{
    FUsePaletteMin = Value;
    CreateDefaultPalette(FPaletteSteps);
}

// ---- Colours -----------------------------------------------------------------------------------------------

namespace {
int Channel(TColor Color, int C) { return static_cast<int>((static_cast<std::uint32_t>(ColorToRGB(Color)) >> (8 * C)) & 0xFF); }
TColor FromChannels(const int (&C)[3])
{
    auto clamp = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return static_cast<TColor>(clamp(C[0]) | clamp(C[1]) << 8 | clamp(C[2]) << 16);
}
} // namespace

void TCustom3DPaletteSeries::ComputeColorDeltas()
{
    for (int c = 0; c < 3; ++c) {
        FEnd[c] = Channel(FEndColor, c);
        if (FMidColor == clNone) {
            FLow[c] = Channel(FStartColor, c) - FEnd[c];
        } else {
            FMid[c] = Channel(FMidColor, c);
            FHigh[c] = Channel(FStartColor, c) - FMid[c];
            FLow[c] = FMid[c] - FEnd[c];
        }
    }
    UpdateRangeFactor();
}

void TCustom3DPaletteSeries::UpdateRangeFactor()
{
    const double range = MandatoryValues().ValueRange();
    FRangeFactor = range != 0 ? 1 / range : 0;
}

TColor TCustom3DPaletteSeries::RangeColorAt(double T) const
{
    int channels[3];
    for (int c = 0; c < 3; ++c) {
        if (FMidColor == clNone)
            channels[c] = static_cast<int>(RoundHalfEven(T * FLow[c])) + FEnd[c];
        else if (T >= 0.5)
            channels[c] = static_cast<int>(RoundHalfEven((T - 0.5) * 2 * FHigh[c])) + FMid[c];
        else
            channels[c] = static_cast<int>(RoundHalfEven(2 * T * FLow[c])) + FEnd[c];
    }
    return FromChannels(channels);
}

TColor TCustom3DPaletteSeries::PaletteColorOf(double Value) const
{
    if (FPalette.empty()) return SeriesColor();
    for (const TCustom3DPaletteEntry& e : FPalette)
        if (e.UpToValue > Value) return e.Color;
    return FPalette.back().Color;
}

TColor TCustom3DPaletteSeries::ValueColor(double Value) const
{
    if (FUseColorRange) {
        if (FRangeFactor == 0) return FEndColor;
        const double d = Value - MandatoryValues().LowestValue();
        if (d < 0) return FEndColor;
        if (Value > MandatoryValues().HighestValue()) return FStartColor;
        return RangeColorAt(std::min(d * FRangeFactor, 1.0));
    }
    if (FUsePalette && !FPalette.empty()) return PaletteColorOf(Value);
    return SeriesColor();
}

TColor TCustom3DPaletteSeries::PointColor(int Index) const
{
    TColor c = StoredPointColor(Index);
    if (c == clDefault) {
        if (ColorEachPoint() || (!FUseColorRange && !FUsePalette))
            c = TCustom3DSeries::PointColor(Index);
        else
            c = ValueColor(MandatoryValues().ValueAt(Index));
    }
    if (OnGetColor) OnGetColor(const_cast<TCustom3DPaletteSeries*>(this), Index, c);
    return c;
}

// ---- Palette -----------------------------------------------------------------------------------------------

int TCustom3DPaletteSeries::AddPaletteEntry(TColor Color, double Value)
{
    const auto at = std::find_if(FPalette.begin(), FPalette.end(), [&](const auto& e) { return e.UpToValue > Value; });
    const auto index = at - FPalette.begin();
    FPalette.insert(at, {Value, Color});
    return static_cast<int>(index);
}

void TCustom3DPaletteSeries::ClearPalette() { FPalette.clear(); }

void TCustom3DPaletteSeries::EnsurePalette()
{
    if (PointCount() > 0 && FPalette.empty()) CreateDefaultPalette(FPaletteSteps);
}

void TCustom3DPaletteSeries::CreateDefaultPalette(int Steps)
{
    ClearPalette();
    TChartValueList& values = MandatoryValues();
    const double step = FPaletteStep != 0 ? FPaletteStep : values.ValueRange() / std::max(1, Steps - 1);
    const double start = FUsePaletteMin ? FPaletteMin : values.LowestValue();
    double angleStep = 0;
    switch (FPaletteStyle) {
    case psPale: angleStep = std::numbers::pi / Steps; break;
    case psStrong: angleStep = 2 * std::numbers::pi / Steps; break;
    case psGrayScale:
    case psInvGray: angleStep = 255.0 / Steps; break;
    case psRainbow: break;
    }
    for (int i = 0; i < Steps; ++i) {
        TColor color;
        const double d = i * angleStep;
        switch (FPaletteStyle) {
        case psRainbow: color = RainbowPaletteColors[i % 25]; break;
        case psGrayScale:
        case psInvGray: {
            int g = static_cast<int>(RoundHalfEven(d));
            if (FPaletteStyle == psInvGray) g = 255 - g;
            const int channels[3] = {g, g, g};
            color = FromChannels(channels);
            break;
        }
        default: {
            const int channels[3] = {static_cast<int>((std::sin(d / FWave[0]) + 1) * 127),
                                     static_cast<int>((std::sin(d / FWave[1]) + 1) * 127),
                                     static_cast<int>((std::cos(d / FWave[2]) + 1) * 127)};
            color = FromChannels(channels);
            break;
        }
        }
        AddPaletteEntry(color, start + i * step);
    }
    InvalidateChart();
}

// ---- Series overrides --------------------------------------------------------------------------------------

void TCustom3DPaletteSeries::PrepareForDraw()
{
    TCustom3DSeries::PrepareForDraw();
    EnsurePalette();
    UpdateRangeFactor();
}

void TCustom3DPaletteSeries::ClearPoints()
{
    TCustom3DSeries::ClearPoints();
    if (FUsePalette) ClearPalette();
}

bool TCustom3DPaletteSeries::PaletteLegend() const { return PointCount() > 0 && (FUseColorRange || FUsePalette); }

int TCustom3DPaletteSeries::LegendEntryCount() const
{
    if (!PaletteLegend()) return TCustom3DSeries::LegendEntryCount();
    const int n = static_cast<int>(FPalette.size());
    const int every = LegendStep();
    return every <= 1 ? n : n / every + (n % every != 0 ? 1 : 0);
}

int TCustom3DPaletteSeries::LegendPaletteIndex(int A) const
{
    return static_cast<int>(FPalette.size()) - 1 - A * LegendStep();
}

TColor TCustom3DPaletteSeries::LegendColorOf(int Index) const
{
    const int p = LegendPaletteIndex(Index);
    const bool inside = p >= 0 && p < static_cast<int>(FPalette.size());
    if (FUseColorRange && inside) return ValueColor(FPalette[static_cast<std::size_t>(p)].UpToValue);
    if (FUsePalette && inside) return FPalette[static_cast<std::size_t>(p)].Color;
    return TCustom3DSeries::LegendColorOf(Index);
}

std::string TCustom3DPaletteSeries::LegendTextOf(int LegendIndex, TLegendTextStyle Style) const
{
    if (!FUseColorRange && !FUsePalette) return TCustom3DSeries::LegendTextOf(LegendIndex, Style);
    if (LegendIndex < 0 || LegendIndex >= LegendEntryCount()) return {};
    const int p = LegendPaletteIndex(LegendIndex);
    if (p < 0 || p >= static_cast<int>(FPalette.size())) return {};
    return FormatFloat(ValueFormat(), FPalette[static_cast<std::size_t>(p)].UpToValue);
}

void TCustom3DPaletteSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    TCustomAxisPanel* chart = ParentChart();
    if (Index != -1 || !FUseColorRange || !chart) {
        TCustom3DSeries::PaintLegendShape(Index, Rect);
        return;
    }
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawRect(Rect);
    TLumGradient gradient;
    gradient.SetStartColor(FEndColor);
    gradient.SetMidColor(FMidColor);
    gradient.SetEndColor(FStartColor);
    gradient.DrawRect(canvas, {Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1});
}

void TCustom3DPaletteSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DSeries::ListGalleryStyles(Callback);
    Callback(LumProCo::ColorRange);
}

void TCustom3DPaletteSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<TCustom3DPaletteSeries*>(Series);
    if (Index == 1 && s) {
        s->SetUseColorRange(true);
        s->SetUsePalette(false);
        return;
    }
    TCustom3DSeries::ApplyGalleryStyle(Series, Index);
}

void TCustom3DPaletteSeries::PrepareForGallery(bool Enabled)
{
    TCustom3DSeries::PrepareForGallery(Enabled);
    SetUseColorRange(false);
    Pen().SetColor(Enabled ? clBlack : static_cast<TColor>(0x808080));
    SetUsePalette(Enabled);
    SetPaletteStyle(psRainbow);
}

void TCustom3DPaletteSeries::SetParentView3D(bool Value)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    chart->SetView3D(true);
    TView3DOptions& view = chart->View3DOptions();
    view.SetZoom(60);
    view.SetVertOffset(-2);
    view.SetRotation(Value ? 335 : 0);
    view.SetElevation(Value ? 340 : 270);
    view.SetPerspective(Value ? 160 : 0);
}
