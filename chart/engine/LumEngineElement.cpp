// The chart element and the series base: switches, pen and brush, chart link, store-and-repaint helpers,
// and the series' title, legend flag, identifier and editor flags with their stream properties.
#include "chart/engine/LumEngineElement.h"

#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

#include <variant>

// ---- TCustomChartElement -------------------------------------------------------------------------------

const TClassInfo& TCustomChartElement::StaticClassInfo()
{
    using P = TProps<TCustomChartElement>;
    static const TClassInfo info({
        .Name = "TCustomChartElement",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {
            P::Boolean("ShowInEditor", &TCustomChartElement::ShowInEditor, &TCustomChartElement::SetShowInEditor)
                .Default(true),
        },
    });
    return info;
}

TCustomChartElement::TCustomChartElement(TComponent* AOwner) : TComponent(AOwner)
{
    FBrush = std::make_unique<TChartBrush>([this](TPersistent* s) { StyleChanged(s); });
    FPen = CreateChartPen();
}

TCustomChartElement::~TCustomChartElement()
{
    FPen.reset();
    FBrush.reset();
    FParentChart = nullptr;
}

void TCustomChartElement::Assign(const TPersistent& Source)
{
    auto* other = dynamic_cast<const TCustomChartElement*>(&Source);
    if (!other) {
        TComponent::Assign(Source);
        return;
    }
    FActive = other->FActive;
    FBrush->Assign(*other->FBrush);
    FPen->Assign(*other->FPen);
    SetTag(other->Tag());
}

void TCustomChartElement::StyleChanged(TPersistent*) { InvalidateChart(); }

void TCustomChartElement::SetActive(bool Value) { SetBooleanField(FActive, Value); }

void TCustomChartElement::SetParentChart(TCustomAxisPanel* Value) { FParentChart = Value; }

void TCustomChartElement::SetPen(const TChartPen& Value) { FPen->Assign(Value); }

std::unique_ptr<TChartPen> TCustomChartElement::CreateChartPen()
{
    return std::make_unique<TChartPen>([this](TPersistent* s) { StyleChanged(s); });
}

void TCustomChartElement::InvalidateChart()
{
    if (FParentChart) FParentChart->Invalidate();
}

namespace {
template <class T>
bool StoreIfDifferent(T& field, const T& value)
{
    if (field == value) return false;
    field = value;
    return true;
}
} // namespace

void TCustomChartElement::SetBooleanField(bool& Field, bool Value)
{
    if (StoreIfDifferent(Field, Value)) InvalidateChart();
}

void TCustomChartElement::SetColorField(TColor& Field, TColor Value)
{
    if (StoreIfDifferent(Field, Value)) InvalidateChart();
}

void TCustomChartElement::SetFloatField(double& Field, double Value)
{
    if (Field != Value) {
        Field = Value;
        InvalidateChart();
    }
}

void TCustomChartElement::SetIntegerField(int& Field, int Value)
{
    if (StoreIfDifferent(Field, Value)) InvalidateChart();
}

void TCustomChartElement::SetStringField(std::string& Field, const std::string& Value)
{
    if (StoreIfDifferent(Field, Value)) InvalidateChart();
}

TComponent* TCustomChartElement::GetParentComponent() const { return FParentChart; }

void TCustomChartElement::SetParentComponent(TComponent* Value)
{
    if (auto* chart = dynamic_cast<TCustomAxisPanel*>(Value)) SetParentChart(chart);
}

std::string EditorNameOfClass(const TCustomChartElement& Element) { return Element.EditorFormName(); }

// ---- TCustomChartSeries --------------------------------------------------------------------------------

namespace {
constexpr std::uint8_t EditorFlagBits = 0x3F;

std::int64_t IntegerOf(const TPropValue& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (const auto* d = std::get_if<double>(&v)) return static_cast<std::int64_t>(*d);
    return 0;
}
} // namespace

const TClassInfo& TCustomChartSeries::StaticClassInfo()
{
    using P = TProps<TCustomChartSeries>;
    static const TClassInfo info({
        .Name = "TCustomChartSeries",
        .Parent = &TCustomChartElement::StaticClassInfo(),
        .Defined = {
            P::DefinedValue(
                "Identifier", TPropKind::Text,
                [](TCustomChartSeries& s, const TPropValue& v) {
                    if (const auto* t = std::get_if<std::string>(&v)) s.FIdentifier = *t;
                },
                [](const TCustomChartSeries& s) -> TPropValue { return s.FIdentifier; },
                [](const TCustomChartSeries& s) { return !s.FIdentifier.empty(); }),
            P::DefinedValue(
                "Style", TPropKind::Integer,
                [](TCustomChartSeries& s, const TPropValue& v) {
                    s.FEditorFlags = static_cast<std::uint8_t>(IntegerOf(v) & EditorFlagBits);
                },
                [](const TCustomChartSeries& s) -> TPropValue {
                    return static_cast<std::int64_t>(s.FEditorFlags & EditorFlagBits);
                },
                [](const TCustomChartSeries& s) { return s.FEditorFlags != 0; }),
        },
    });
    return info;
}

TCustomChartSeries::TCustomChartSeries(TComponent* AOwner) : TCustomChartElement(AOwner) {}

void TCustomChartSeries::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TCustomChartSeries*>(&Source)) {
        FShowInLegend = other->FShowInLegend;
        FTitle = other->FTitle;
        FEditorFlags = other->FEditorFlags;
        FIdentifier = other->FIdentifier;
    }
    TCustomChartElement::Assign(Source);
}

void TCustomChartSeries::SetParentView3D(bool Value)
{
    if (ParentChart()) ParentChart()->SetView3D(Value);
}

bool TCustomChartSeries::ClassesRelated(const TPersistent& Other) const
{
    const TClassInfo& mine = ClassInfo();
    const TClassInfo& theirs = Other.ClassInfo();
    return mine.InheritsFrom(theirs) || theirs.InheritsFrom(mine);
}

void TCustomChartSeries::NotifySeriesObserver()
{
    if (ParentChart() && ParentChart()->SeriesListObserver()) ParentChart()->SeriesListObserver()->SeriesListChanged();
}

void TCustomChartSeries::SendSeriesEvent(std::uint8_t Kind)
{
    if (ParentChart()) ParentChart()->SendSeriesEvent(dynamic_cast<TChartSeries*>(this), Kind);
}

void TCustomChartSeries::SetActive(bool Value)
{
    TCustomChartElement::SetActive(Value);
    SendSeriesEvent(seActive);
    NotifySeriesObserver();
}

void TCustomChartSeries::SetTitle(const std::string& Value)
{
    SetStringField(FTitle, Value);
    SendSeriesEvent(seTitle);
    NotifySeriesObserver();
}
