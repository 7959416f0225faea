// The axis model: sub-objects (title, pens, custom labels), construction in a chart, the published
// settings with their writers and stored tests, copying, and the depth axes.
#include "chart/engine/LumEngineAxis.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/rtl/NumberText.h"

#include <algorithm>
#include <cmath>

// ---- TChartAxisTitle -----------------------------------------------------------------------------------

const TClassInfo& TChartAxisTitle::StaticClassInfo()
{
    using P = TProps<TChartAxisTitle>;
    static const TClassInfo info({
        .Name = "TChartAxisTitle",
        .Parent = &TLumCustomShape::StaticClassInfo(),
        .Properties = {
            P::Integer("Angle", &TChartAxisTitle::Angle, &TChartAxisTitle::SetAngle)
                .StoredWhen(&TChartAxisTitle::AngleStored),
            P::Text("Caption", &TChartAxisTitle::Caption, &TChartAxisTitle::SetCaption),
            P::Object("Font", [](const TChartAxisTitle& t) -> TPersistent* { return &t.Font(); }),
            P::Boolean("Visible", &TChartAxisTitle::Visible, &TChartAxisTitle::SetVisible).Default(true),
        },
    });
    return info;
}

TChartAxisTitle::TChartAxisTitle(TCustomAxisPanel* Chart) : TLumCustomShape(Chart) {}

void TChartAxisTitle::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TChartAxisTitle*>(&Source)) {
        FAngle = other->FAngle;
        FCaption = other->FCaption;
    }
    TLumCustomShape::Assign(Source);
}

void TChartAxisTitle::SetAngle(int Value)
{
    if (ParentChart())
        ParentChart()->ChangeInteger(FAngle, Value % 360);
    else
        FAngle = Value % 360;
}

void TChartAxisTitle::SetCaption(const std::string& Value)
{
    if (ParentChart())
        ParentChart()->ChangeString(FCaption, Value);
    else
        FCaption = Value;
}

// ---- Pens ----------------------------------------------------------------------------------------------

const TClassInfo& TChartAxisPen::StaticClassInfo()
{
    using P = TProps<TChartAxisPen>;
    static const TClassInfo info({
        .Name = "TChartAxisPen",
        .Parent = &TChartPen::StaticClassInfo(),
        .Properties = {P::Enumeration("LineMode", PenLineModeNames, &TChartAxisPen::LineMode,
                                      &TChartAxisPen::SetLineMode)
                           .Default(lmLine)},
        .Defaults = {{"Width", 2}},
    });
    return info;
}

TChartAxisPen::TChartAxisPen(TNotifyEvent onChange) : TChartPen(nullptr)
{
    SetWidth(2);
    OnChange = std::move(onChange);
}

void TChartAxisPen::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TChartAxisPen*>(&Source)) FLineMode = other->FLineMode;
    TChartPen::Assign(Source);
}

void TChartAxisPen::SetLineMode(TPenLineMode Value)
{
    if (FLineMode == Value) return;
    FLineMode = Value;
    Changed();
}

const TClassInfo& TAxisGridPen::StaticClassInfo()
{
    using P = TProps<TAxisGridPen>;
    static const TClassInfo info({
        .Name = "TAxisGridPen",
        .Parent = &TDottedGrayPen::StaticClassInfo(),
        .Properties = {P::Real("ZPosition", &TAxisGridPen::ZPosition, &TAxisGridPen::SetZPosition)
                           .StoredWhen(&TAxisGridPen::ZPositionStored)},
    });
    return info;
}

TAxisGridPen::TAxisGridPen(TNotifyEvent onChange) : TDottedGrayPen(std::move(onChange)) {}

void TAxisGridPen::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TAxisGridPen*>(&Source)) {
        FZPosition = other->FZPosition;
        FCentered = other->FCentered;
    }
    TDottedGrayPen::Assign(Source);
}

void TAxisGridPen::SetZPosition(double Value)
{
    if (FZPosition == Value) return;
    FZPosition = Value;
    Changed();
}

void TAxisGridPen::SetCentered(bool Value)
{
    if (FCentered == Value) return;
    FCentered = Value;
    Changed();
}

// ---- Custom labels -------------------------------------------------------------------------------------

const TClassInfo& TAxisItem::StaticClassInfo()
{
    using P = TProps<TAxisItem>;
    static const TClassInfo info({
        .Name = "TAxisItem",
        .Parent = &TLumShape::StaticClassInfo(),
        .Properties = {
            P::Text("Text", &TAxisItem::Text, &TAxisItem::SetText),
            P::Real("Value", &TAxisItem::Value, &TAxisItem::SetValue),
        },
    });
    return info;
}

TAxisItem::TAxisItem(TChartAxis& Axis, double Value, const std::string& Text)
    : TLumShape(Axis.ParentChart()), FAxis(Axis), FValue(Value), FText(Text)
{
    SetDefaultTransparent(true);
    SetTransparent(true);
}

void TAxisItem::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TAxisItem*>(&Source)) {
        FValue = other->FValue;
        FText = other->FText;
    }
    TLumShape::Assign(Source);
}

void TAxisItem::SetValue(double Value)
{
    if (FValue == Value) return;
    FValue = Value;
    RepaintParent();
}

void TAxisItem::SetText(const std::string& Value)
{
    if (FText == Value) return;
    FText = Value;
    RepaintParent();
}

namespace {
// The value labels' frame: transparent unless the user gives it a look.
class TAxisLabelFormat : public TLumShape {
public:
    explicit TAxisLabelFormat(TCustomLumPanel* Panel) : TLumShape(Panel)
    {
        SetDefaultTransparent(true);
        SetTransparent(true);
    }
};
} // namespace

TAxisItems::TAxisItems(TChartAxis& Axis) : FAxis(Axis), FFormat(std::make_unique<TAxisLabelFormat>(Axis.ParentChart()))
{
}

TAxisItems::~TAxisItems() = default;

TAxisItem& TAxisItems::Add(double Value) { return Add(Value, {}); }

TAxisItem& TAxisItems::Add(double Value, const std::string& Text)
{
    FItems.push_back(std::make_unique<TAxisItem>(FAxis, Value, Text));
    return *FItems.back();
}

void TAxisItems::Clear()
{
    FItems.clear();
    FAxis.ParentChart()->Invalidate();
}

void TAxisItems::CopyFrom(const TAxisItems& Other)
{
    if (&Other == this) return;
    FFormat->Assign(*Other.FFormat);
    FItems.clear();
    for (const auto& item : Other.FItems) Add(item->Value(), item->Text());
}

// ---- TChartAxis: class description ---------------------------------------------------------------------

const TClassInfo& TChartAxis::StaticClassInfo()
{
    using P = TProps<TChartAxis>;
    using A = TChartAxis;
    static const TClassInfo info({
        .Name = "TChartAxis",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Boolean("Automatic", &A::Automatic, &A::SetAutomatic).Default(true),
            P::Boolean("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum).Default(true),
            P::Boolean("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum).Default(true),
            P::Object("Axis", [](const A& a) -> TPersistent* { return &a.Axis(); }),
            P::Text("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat)
                .StoredWhen([](const A& a) { return a.AxisValuesFormat() != LumConst::DefaultValueFormat; }),
            P::Text("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat),
            P::Boolean("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime).Default(true),
            P::Object("Grid", [](const A& a) -> TPersistent* { return &a.Grid(); }),
            P::Boolean("GridCentered", &A::GridCentered, &A::SetGridCentered).Default(false),
            P::Real("Increment", &A::Increment, &A::SetIncrement),
            P::Boolean("Inverted", &A::Inverted, [](A& a, bool v) { a.SetInverted(v); }).Default(false),
            P::Boolean("Horizontal", &A::Horizontal, &A::SetHorizontal).Default(false).StoredWhen(&A::IsCustom),
            P::Boolean("OtherSide", &A::OtherSide, &A::SetOtherSide).Default(false).StoredWhen(&A::IsCustom),
            P::Boolean("Labels", &A::Labels, &A::SetLabels).Default(true),
            P::Enumeration("LabelsAlign", AxisLabelAlignNames, &A::LabelsAlign, &A::SetLabelsAlign).Default(alDefault),
            P::Boolean("LabelsAlternate", &A::LabelsAlternate, &A::SetLabelsAlternate).Default(false),
            P::Integer("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle).Default(0),
            P::Boolean("LabelsExponent", &A::LabelsExponent, &A::SetLabelsExponent).Default(false),
            P::Object("LabelsFont", [](const A& a) -> TPersistent* { return &a.LabelsFont(); }),
            P::Boolean("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine).Default(false),
            P::Boolean("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis).Default(true),
            P::Integer("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation).Default(10),
            P::Integer("LabelsSize", &A::LabelsSize, &A::SetLabelsSize).Default(0),
            P::Enumeration("LabelStyle", AxisLabelStyleNames, &A::LabelStyle, &A::SetLabelStyle).Default(talAuto),
            P::Boolean("Logarithmic", &A::Logarithmic, &A::SetLogarithmic).Default(false),
            P::Real("LogarithmicBase", &A::LogarithmicBase, &A::SetLogarithmicBase)
                .StoredWhen([](const A& a) { return a.LogarithmicBase() != 10; }),
            P::Real("Maximum", &A::Maximum, &A::SetMaximum).StoredWhen(&A::MaximumStored),
            P::Integer("MaximumOffset", &A::MaximumOffset, &A::SetMaximumOffset).Default(0),
            P::Real("Minimum", &A::Minimum, &A::SetMinimum).StoredWhen(&A::MinimumStored),
            P::Integer("MinimumOffset", &A::MinimumOffset, &A::SetMinimumOffset).Default(0),
            P::Object("MinorGrid", [](const A& a) -> TPersistent* { return &a.MinorGrid(); }),
            P::Integer("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount).Default(3),
            P::Integer("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength).Default(2),
            P::Object("MinorTicks", [](const A& a) -> TPersistent* { return &a.MinorTicks(); }),
            P::Real("StartPosition", &A::StartPosition, &A::SetStartPosition)
                .StoredWhen([](const A& a) { return a.StartPosition() != 0; }),
            P::Real("EndPosition", &A::EndPosition, &A::SetEndPosition)
                .StoredWhen([](const A& a) { return a.EndPosition() != 100; }),
            P::Real("PositionPercent", &A::PositionPercent, &A::SetPositionPercent)
                .StoredWhen([](const A& a) { return a.PositionPercent() != 0; }),
            P::Enumeration("PositionUnits", LumUnitsNames, &A::PositionUnits, &A::SetPositionUnits).Default(muPercent),
            P::Boolean("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel).Default(true),
            P::Integer("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength).Default(0),
            P::Integer("TickLength", &A::TickLength, &A::SetTickLength).Default(4),
            P::Object("Ticks", [](const A& a) -> TPersistent* { return &a.Ticks(); }),
            P::Object("TicksInner", [](const A& a) -> TPersistent* { return &a.TicksInner(); }),
            P::Boolean("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly).Default(true),
            P::Object("Title", [](const A& a) -> TPersistent* { return &a.Title(); }),
            P::Integer("TitleSize", &A::TitleSize, &A::SetTitleSize).Default(0),
            P::Boolean("Visible", &A::Visible, &A::SetVisible).Default(true),
            P::Real("ZPosition", &A::ZPosition, &A::SetZPosition).StoredWhen(&A::ZPositionStored),
        },
    });
    return info;
}

// ---- TChartAxis: life ----------------------------------------------------------------------------------

TChartAxis::TChartAxis(TCustomAxisPanel& Chart, TChartCustomAxes* Collection)
    : AxisSeries(&Chart), FChart(&Chart), FCollection(Chart.Axes().Count() < 6 ? nullptr : Collection)
{
    BindPositionCalculators();
    FTitle = std::make_unique<TChartAxisTitle>(&Chart);
    FTicks = std::make_unique<TDarkGrayPen>(RepaintHandler());
    FMinorTicks = std::make_unique<TDarkGrayPen>(RepaintHandler());
    FTicksInner = std::make_unique<TDarkGrayPen>(RepaintHandler());
    FGrid = std::make_unique<TAxisGridPen>(RepaintHandler());
    FMinorGrid = std::make_unique<TChartHiddenPen>(RepaintHandler());
    FAxisPen = std::make_unique<TChartAxisPen>(RepaintHandler());
    FItems = std::make_unique<TAxisItems>(*this);
    FAxisValuesFormat = LumConst::DefaultValueFormat;
    Chart.Axes().Add(this);
}

TChartAxis::~TChartAxis()
{
    for (int i = 0; i < FChart->CountSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        if (s->CustomHorizAxis() == this) s->BindCustomHorizAxis(nullptr);
        if (s->CustomVertAxis() == this) s->BindCustomVertAxis(nullptr);
    }
    FChart->Tools().ForgetAxis(this);
    AxisSeries.Clear();
    FChart->Axes().Remove(this);
}

TChartAxis& TChartAxis::CreateForChart(TCustomAxisPanel& Chart) { return Chart.CustomAxes().Add(); }

TNotifyEvent TChartAxis::RepaintHandler()
{
    return [this](TPersistent*) { FChart->Invalidate(); };
}

// ---- Change routines -----------------------------------------------------------------------------------

void TChartAxis::ChangeBoolean(bool& Field, bool Value) { FChart->ChangeBoolean(Field, Value); }
void TChartAxis::ChangeInteger(int& Field, int Value) { FChart->ChangeInteger(Field, Value); }
void TChartAxis::ChangeString(std::string& Field, const std::string& Value) { FChart->ChangeString(Field, Value); }
void TChartAxis::ChangeDouble(double& Field, double Value) { ChangeDoubleAndRepaint(*FChart, Field, Value); }

bool TChartAxis::ChartLoading() const
{
    const TComponentState state = FChart->ComponentState();
    return state.Contains(csLoading) || state.Contains(csReading);
}

// ---- Writers -------------------------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool Value)
{
    ChangeBoolean(FAutomatic, Value);
    if (!ChartLoading()) {
        FAutomaticMinimum = Value;
        FAutomaticMaximum = Value;
    }
}

void TChartAxis::SetAutomaticMaximum(bool Value)
{
    ChangeBoolean(FAutomaticMaximum, Value);
    if (!Value)
        FAutomatic = false;
    else if (FAutomaticMinimum)
        FAutomatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool Value)
{
    ChangeBoolean(FAutomaticMinimum, Value);
    if (!Value)
        FAutomatic = false;
    else if (FAutomaticMaximum)
        FAutomatic = true;
}

void TChartAxis::SetAxisValuesFormat(const std::string& Value) { ChangeString(FAxisValuesFormat, Value); }
void TChartAxis::SetDateTimeFormat(const std::string& Value) { ChangeString(FDateTimeFormat, Value); }
void TChartAxis::SetExactDateTime(bool Value) { ChangeBoolean(FExactDateTime, Value); }

void TChartAxis::SetIncrement(double Value)
{
    if (Value < 0) throw AxisException(LumConst::AxisIncrementNegative);
    ChangeDouble(FIncrement, Value);
}

void TChartAxis::SetInverted(bool Value) { ChangeBoolean(FInverted, Value); }

void TChartAxis::SetHorizontal(bool Value)
{
    ChangeBoolean(FHorizontal, Value);
    BindPositionCalculators();
}

void TChartAxis::SetOtherSide(bool Value) { ChangeBoolean(FOtherSide, Value); }
bool TChartAxis::Labels() const { return FItems->Format().Visible(); }
void TChartAxis::SetLabels(bool Value) { FItems->Format().SetVisible(Value); }

void TChartAxis::SetLabelsAlign(TAxisLabelAlign Value)
{
    if (FLabelsAlign == Value) return;
    FLabelsAlign = Value;
    FChart->Invalidate();
}

void TChartAxis::SetLabelsAlternate(bool Value) { ChangeBoolean(FLabelsAlternate, Value); }
void TChartAxis::SetLabelsAngle(int Value) { ChangeInteger(FLabelsAngle, Value % 360); }
void TChartAxis::SetLabelsExponent(bool Value) { ChangeBoolean(FLabelsExponent, Value); }
TLumFont& TChartAxis::LabelsFont() const { return FItems->Format().Font(); }
void TChartAxis::SetLabelsFont(const TLumFont& Value) { LabelsFont().Assign(Value); }
void TChartAxis::SetLabelsMultiLine(bool Value) { ChangeBoolean(FLabelsMultiLine, Value); }
void TChartAxis::SetLabelsOnAxis(bool Value) { ChangeBoolean(FLabelsOnAxis, Value); }

void TChartAxis::SetLabelsSeparation(int Value)
{
    if (Value < 0) throw AxisException(LumConst::LabelsSeparation);
    ChangeInteger(FLabelsSeparation, Value);
}

void TChartAxis::SetLabelsSize(int Value) { ChangeInteger(FLabelsSize, Value); }

void TChartAxis::SetLabelStyle(TAxisLabelStyle Value)
{
    if (FLabelStyle == Value) return;
    FLabelStyle = Value;
    FChart->Invalidate();
}

void TChartAxis::SetLogarithmicBase(double Value)
{
    if (Value == 1 || !(Value > 0)) throw AxisException(LumConst::AxisLogarithmicBase);
    ChangeDouble(FLogarithmicBase, Value);
}

void TChartAxis::SetMaximum(double Value)
{
    if (!ChartLoading() && Value < FMinimum) throw AxisException(LumConst::AxisMaximumBelowMinimum);
    ChangeDouble(FMaximum, Value);
}

void TChartAxis::SetMinimum(double Value)
{
    if (!ChartLoading() && Value > FMaximum) throw AxisException(LumConst::AxisMinimumAboveMaximum);
    ChangeDouble(FMinimum, Value);
}

void TChartAxis::StoreMinimum(double Value) { ChangeDouble(FMinimum, Value); }
void TChartAxis::StoreMaximum(double Value) { ChangeDouble(FMaximum, Value); }
void TChartAxis::SetMaximumOffset(int Value) { ChangeInteger(FMaximumOffset, Value); }
void TChartAxis::SetMinimumOffset(int Value) { ChangeInteger(FMinimumOffset, Value); }
void TChartAxis::SetMinorTickCount(int Value) { ChangeInteger(FMinorTickCount, Value); }
void TChartAxis::SetMinorTickLength(int Value) { ChangeInteger(FMinorTickLength, Value); }
void TChartAxis::SetStartPosition(double Value) { ChangeDouble(FStartPosition, Value); }
void TChartAxis::SetEndPosition(double Value) { ChangeDouble(FEndPosition, Value); }
void TChartAxis::SetPositionPercent(double Value) { ChangeDouble(FPositionPercent, Value); }

void TChartAxis::SetPositionUnits(TLumUnits Value)
{
    if (FPositionUnits == Value) return;
    FPositionUnits = Value;
    FChart->Invalidate();
}

void TChartAxis::SetRoundFirstLabel(bool Value) { ChangeBoolean(FRoundFirstLabel, Value); }
void TChartAxis::SetTickInnerLength(int Value) { ChangeInteger(FTickInnerLength, Value); }
void TChartAxis::SetTickLength(int Value) { ChangeInteger(FTickLength, Value); }
void TChartAxis::SetTickOnLabelsOnly(bool Value) { ChangeBoolean(FTickOnLabelsOnly, Value); }
void TChartAxis::SetTitleSize(int Value) { ChangeInteger(FTitleSize, Value); }
void TChartAxis::SetVisible(bool Value) { ChangeBoolean(FVisible, Value); }

void TChartAxis::SetZPosition(double Value) { ChangeDouble(FZPosition, Value == 0 ? 0.01 : Value); }

bool TChartAxis::ZPositionStored() const
{
    if (FIsDepthAxis) return false;
    return FOtherSide ? FZPosition != 100 : FZPosition > 0.011;
}

bool TChartAxis::IsCustom() const { return FChart->Axes().IndexOf(this) >= 6; }

// ---- Copying -------------------------------------------------------------------------------------------

void TChartAxis::Assign(const TPersistent& Source)
{
    auto* other = dynamic_cast<const TChartAxis*>(&Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this) return;
    FAxisPen->Assign(*other->FAxisPen);
    FItems->CopyFrom(*other->FItems);
    FLabelsAlign = other->FLabelsAlign;
    FLabelsAlternate = other->FLabelsAlternate;
    FLabelsAngle = other->FLabelsAngle;
    FLabelsExponent = other->FLabelsExponent;
    FLabelsMultiLine = other->FLabelsMultiLine;
    FLabelsSeparation = other->FLabelsSeparation;
    FLabelsSize = other->FLabelsSize;
    FLabelStyle = other->FLabelStyle;
    FLabelsOnAxis = other->FLabelsOnAxis;
    FTicks->Assign(*other->FTicks);
    FTicksInner->Assign(*other->FTicksInner);
    FTitleSize = other->FTitleSize;
    FGrid->Assign(*other->FGrid);
    FMinorTicks->Assign(*other->FMinorTicks);
    FMinorGrid->Assign(*other->FMinorGrid);
    FTickLength = other->FTickLength;
    FMinorTickLength = other->FMinorTickLength;
    FMinorTickCount = other->FMinorTickCount;
    FTickInnerLength = other->FTickInnerLength;
    FAxisValuesFormat = other->FAxisValuesFormat;
    FIncrement = other->FIncrement;
    FMaximum = other->FMaximum;
    FMaximumOffset = other->FMaximumOffset;
    FMinimum = other->FMinimum;
    FMinimumOffset = other->FMinimumOffset;
    FAutomatic = other->FAutomatic;
    FAutomaticMinimum = other->FAutomaticMinimum;
    FAutomaticMaximum = other->FAutomaticMaximum;
    FTitle->Assign(*other->FTitle);
    FDateTimeFormat = other->FDateTimeFormat;
    FLogarithmic = other->FLogarithmic;
    FLogarithmicBase = other->FLogarithmicBase;
    FInverted = other->FInverted;
    FExactDateTime = other->FExactDateTime;
    FRoundFirstLabel = other->FRoundFirstLabel;
    FTickOnLabelsOnly = other->FTickOnLabelsOnly;
    FIsDepthAxis = other->FIsDepthAxis;
    FStartPosition = other->FStartPosition;
    FEndPosition = other->FEndPosition;
    FPositionPercent = other->FPositionPercent;
    FPositionUnits = other->FPositionUnits;
    FVisible = other->FVisible;
    FHorizontal = other->FHorizontal;
    FOtherSide = other->FOtherSide;
    BindPositionCalculators();
}

// ---- Queries -------------------------------------------------------------------------------------------

void TChartAxis::StoreDefaultStyle()
{
    const auto& write = LumEngineModule().Style.WriteAxisStyle;
    DefaultStyle = write ? write(*this) : std::string();
}

bool TChartAxis::ShowsDateTime() const
{
    for (int i = 0; i < FChart->CountSeries(); ++i) {
        const TChartSeries* s = FChart->SeriesAt(i);
        if (!s->Active()) continue;
        if (const TChartValueList* list = s->ValuesForAxis(this)) return list->DateTime();
    }
    return false;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const { return FLabelStyle == talAuto ? AutoLabelStyle() : FLabelStyle; }

TAxisLabelStyle TChartAxis::AutoLabelStyle() const
{
    TAxisLabelStyle style = talNone;
    for (int i = 0; i < FChart->CountSeries(); ++i) {
        const TChartSeries* s = FChart->SeriesAt(i);
        if (!s->Active() || !s->UsesAxis(this)) continue;
        style = talValue;
        const bool runsAlong = FHorizontal ? s->YMandatory() : !s->YMandatory();
        if (!runsAlong || s->Has3DValues()) continue;
        const TLabelsList& labels = s->Labels();
        for (int p = 0; p < labels.Count(); ++p)
            if (!labels.LabelText(p).empty()) return talText;
    }
    return style;
}

// ---- Depth axes ----------------------------------------------------------------------------------------

const TClassInfo& TChartDepthAxis::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TChartDepthAxis", .Parent = &TChartAxis::StaticClassInfo(), .Defaults = {{"Visible", false}}});
    return info;
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel& Chart) : TChartAxis(Chart) {}

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle() const
{
    TCustomAxisPanel* chart = ParentChart();
    for (int i = 0; i < chart->CountSeries(); ++i) {
        TChartSeries* s = chart->SeriesAt(i);
        if (s->Active() && (s->Has3DValues() || s->LowestZ() != s->HighestZ())) return talValue;
    }
    return talText;
}

void TChartDepthAxis::SetInverted(bool Value)
{
    TChartAxis::SetInverted(Value);
    TCustomAxisPanel* chart = ParentChart();
    TChartAxis& other = (this == &chart->DepthAxis()) ? chart->DepthTopAxis() : chart->DepthAxis();
    if (&other != this) other.StoreInverted(Value);
}

// ---- Text helpers --------------------------------------------------------------------------------------

double ParseNumberInRange(const std::string& Text, bool Inclusive, double Lower, double Upper)
{
    constexpr double Missing = 123456789.0;
    std::string text = Text;
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
    double value = 0;
    if (!TryParseNumber(text, value)) return Missing;
    if (Lower == Upper) return value;
    if (Lower != 0 && (Inclusive ? value < Lower : value <= Lower)) return Missing;
    if (Upper != 0 && (Inclusive ? value > Upper : value >= Upper)) return Missing;
    return value;
}

int LineCount(const std::string& Text)
{
    constexpr char LineSeparator = 13;
    int count = static_cast<int>(std::count(Text.begin(), Text.end(), LineSeparator));
    if (!Text.empty() && Text.back() != LineSeparator) ++count;
    return count;
}
