// The chart control's life, copying, stream properties and children, and its answers to the axis
// panel's questions about colours, walls and legend texts.
#include "chart/control/ChartControl.h"

#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/graphics/ColorIdents.h"

#include <variant>

// ---- Class descriptions ----------------------------------------------------------------------------------

const TClassInfo& TCustomChart::StaticClassInfo()
{
    using P = TProps<TCustomChart>;
    using C = TCustomChart;
    static const TClassInfo info({
        .Name = "TCustomChart",
        .Parent = &TCustomAxisPanel::StaticClassInfo(),
        .Defined = {
            // Read from older streams, never written.
            P::OldName("BackColor", TPropKind::Colour, &C::ReadBackColor),
            P::DefinedValue(
                "ColorPaletteIndex", TPropKind::Integer, &C::ReadColorPaletteIndex,
                [](const C& c) -> TPropValue { return std::int64_t{c.ColorPaletteIndex()}; },
                [](const C& c) { return c.ColorPaletteIndex() > 0; }),
        },
    });
    return info;
}

const TClassInfo& TChart::StaticClassInfo()
{
    using P = TProps<TChart>;
    using C = TChart;
    static const TClassInfo info({
        .Name = "TChart",
        .Parent = &TCustomChart::StaticClassInfo(),
        .Properties = {
            P::Object("BackWall", [](const C& c) -> TPersistent* { return &c.BackWall(); }),
            P::Object("BottomWall", [](const C& c) -> TPersistent* { return &c.BottomWall(); }),
            P::Object("Foot", [](const C& c) -> TPersistent* { return &c.Foot(); }),
            P::Object("Frame", [](const C& c) -> TPersistent* { return &c.Frame(); }),
            P::Object("Legend", [](const C& c) -> TPersistent* { return &c.Legend(); }),
            P::Object("LeftWall", [](const C& c) -> TPersistent* { return &c.LeftWall(); }),
            P::Object("RightWall", [](const C& c) -> TPersistent* { return &c.RightWall(); }),
            P::Enumeration("ScrollMouseButton", ZoomMouseButtonNames, &C::ScrollMouseButton,
                           &C::SetScrollMouseButton)
                .Default(mbRight),
            P::Object("SubFoot", [](const C& c) -> TPersistent* { return &c.SubFoot(); }),
            P::Object("SubTitle", [](const C& c) -> TPersistent* { return &c.SubTitle(); }),
            P::Object("Title", [](const C& c) -> TPersistent* { return &c.Title(); }),
        },
        .Create = &CreateComponentOf<TChart>,
    });
    return info;
}

// ---- Life ------------------------------------------------------------------------------------------------

TCustomChart::TCustomChart(TComponent* AOwner) : TCustomAxisPanel(AOwner)
{
    SetAutoRepaint(false);
    FTitle = std::make_unique<TChartTitle>(this);
    FScrollMouseButton = mbRight;
    FSubTitle = std::make_unique<TChartTitle>(this);
    FFoot = std::make_unique<TChartFootTitle>(this);
    FSubFoot = std::make_unique<TChartFootTitle>(this);
    FWalls = std::make_unique<TChartWalls>(this);
    FWalls->SetView3D(true);
    FLegend = std::make_unique<TChartLegend>(this);
    ScalesRestored = true;
    Listeners().Add(&FSeriesWatch);
    SetAutoRepaint(true);
}

TCustomChart::~TCustomChart()
{
    SavedScales.clear();
    SetAutoRepaint(false);
    SetLegendSymbolPen(nullptr);
    FSubTitle.reset();
    FTitle.reset();
    FSubFoot.reset();
    FFoot.reset();
    FWalls.reset();
    FLegend.reset();
}

void TCustomChart::Assign(const TPersistent& Source)
{
    if (auto* chart = dynamic_cast<const TCustomChart*>(&Source); chart && chart != this) {
        FColorPaletteIndex = chart->FColorPaletteIndex;
        FFoot->Assign(*chart->FFoot);
        FLegend->Assign(*chart->FLegend);
        FScrollMouseButton = chart->FScrollMouseButton;
        FSubFoot->Assign(*chart->FSubFoot);
        FSubTitle->Assign(*chart->FSubTitle);
        FTitle->Assign(*chart->FTitle);
        FWalls->Assign(*chart->FWalls);
    }
    TCustomAxisPanel::Assign(Source);
}

// ---- Stream ----------------------------------------------------------------------------------------------

void TCustomChart::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) const
{
    for (TChartSeries* s : SeriesList().Items()) Proc(s);
    for (int i = 0; i < const_cast<TCustomChart*>(this)->Tools().Count(); ++i)
        Proc(const_cast<TCustomChart*>(this)->Tools().GetTool(i));
}

void TCustomChart::ReadBackColor(const TPropValue& Value)
{
    TColor color = clDefault;
    if (const auto* number = std::get_if<std::int64_t>(&Value))
        color = static_cast<TColor>(*number);
    else if (const auto* text = std::get_if<std::string>(&Value))
        color = StringToColor(*text);
    else
        return;
    BackWall().SetColor(color);
    if (HasParent() && !ComponentState().Contains(csLoading)) BackWall().Brush().SetStyle(bsSolid);
}

void TCustomChart::ReadColorPaletteIndex(const TPropValue& Value)
{
    const auto* number = std::get_if<std::int64_t>(&Value);
    if (!number) return;
    if (*number < INT32_MIN || *number > INT32_MAX) throw ERangeError();
    FColorPaletteIndex = static_cast<int>(*number);
    if (FColorPaletteIndex > 0) ApplyColorPalette(*this, FColorPaletteIndex);
}

// ---- The legend's series ---------------------------------------------------------------------------------

void TCustomChart::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomAxisPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && FLegend && FLegend->Series() == AComponent) FLegend->SetSeries(nullptr);
}

void TCustomChart::TSeriesWatch::HandleChartEvent(TLumEvent& Event)
{
    auto* e = dynamic_cast<TLumSeriesEvent*>(&Event);
    if (e && e->Event == seRemoved && FChart.FLegend && e->Series && FChart.FLegend->Series() == e->Series)
        FChart.FLegend->SetSeries(nullptr);
}

// ---- Colours and legend texts ----------------------------------------------------------------------------

TColor TCustomChart::GetBackColor() const
{
    if (!FWalls || BackWall().Transparent()) return Color();
    return BackWall().Color();
}

bool TCustomChart::IsColorFree(TColor AColor, bool CheckBackColors, const TChartSeries* SkipSeries) const
{
    for (const TChartSeries* s : SeriesList().Items())
        if (s != SkipSeries && s->SeriesColor() == AColor) return false;
    if (CheckBackColors && (AColor == Color() || (FWalls && AColor == BackWall().Color()))) return false;
    return true;
}

void TCustomChart::PaintLegendRectangle(const TRect& Rect)
{
    if (FLegend && FLegend->Symbol().Gradient().Visible())
        FLegend->Symbol().PaintSymbolRect(ChartCanvas().Brush().Color(), Rect);
    else
        TCustomAxisPanel::PaintLegendRectangle(Rect);
}

void TCustomChart::LegendItemText(TChartSeries* Series, int Index, std::string& Text) const
{
    Text.clear();
    if (Series && FLegend) Text = FLegend->ItemText(*Series, Index);
}

int TCustomChart::WallSizeForAxis(const TChartAxis& Axis) const
{
    if (!View3D() || !View3DWalls() || !FWalls) return 0;
    const TCustomChartWall* wall = &BackWall();
    if (&Axis == &LeftAxis())
        wall = &LeftWall();
    else if (&Axis == &BottomAxis())
        wall = &BottomWall();
    else if (&Axis == &RightAxis())
        wall = &RightWall();
    return wall->Visible() ? wall->Size() : 0;
}

bool TCustomChart::WallsRelevant() const
{
    bool anyActive = false;
    for (const TChartSeries* s : SeriesList().Items()) {
        if (!s->Active()) continue;
        if (s->UsesAxes()) return true;
        anyActive = true;
    }
    return !anyActive;
}
