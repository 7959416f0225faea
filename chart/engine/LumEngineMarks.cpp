// Series marks: settings, per-point items and stored positions kept in step with the series' points.
#include "chart/engine/LumEngineMarks.h"

#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>

namespace {
constexpr TColor InfoBackColor = static_cast<TColor>(0xFF000018);

template <class T>
void EraseRange(std::vector<T>& items, int start, int quantity)
{
    if (start < 0 || quantity <= 0 || start >= static_cast<int>(items.size())) return;
    const int end = std::min(static_cast<int>(items.size()), start + quantity);
    items.erase(items.begin() + start, items.begin() + end);
}
} // namespace

// ---- Positions -----------------------------------------------------------------------------------------

void TSeriesMarkPosition::CopyFrom(const TSeriesMarkPosition& Other)
{
    ArrowFrom = Other.ArrowFrom;
    ArrowTo = Other.ArrowTo;
    LeftTop = Other.LeftTop;
    Height = Other.Height;
    Width = Other.Width;
}

TSeriesMarkPosition* TSeriesMarksPositions::PositionAt(int Index) const
{
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int Index)
{
    if (Index < 0) throw ERangeError();
    if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1);
    auto& entry = FItems[static_cast<std::size_t>(Index)];
    if (!entry) entry = std::make_unique<TSeriesMarkPosition>();
    return *entry;
}

void TSeriesMarksPositions::StoreCustomPosition(int Index, const TSeriesMarkPosition& Position)
{
    TSeriesMarkPosition& p = Ensure(Index);
    p.Custom = true;
    p.CopyFrom(Position);
}

bool TSeriesMarksPositions::HasCustomPositions() const
{
    return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

void TSeriesMarksPositions::DeleteRange(int Start, int Quantity) { EraseRange(FItems, Start, Quantity); }

// ---- Items ---------------------------------------------------------------------------------------------

const TClassInfo& TMarksItem::StaticClassInfo()
{
    using P = TProps<TMarksItem>;
    using S = TMarksItem;
    static const TClassInfo info({
        .Name = "TMarksItem",
        .Parent = &TLumCustomShape::StaticClassInfo(),
        .Properties = {
            P::Enumeration("Bevel", BevelCutNames, &S::Bevel, &S::SetBevel).Default(bvNone),
            P::Integer("BevelWidth", &S::BevelWidth, &S::SetBevelWidth).Default(2),
            P::Colour("Color", &S::Color, &S::SetColor).Default(InfoBackColor),
            P::Object("Font", [](const S& s) -> TPersistent* { return &s.Font(); }),
            P::Object("Gradient", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Gradient(); })
                .StoredWhen(&S::HasGradient),
            P::Object("Shadow", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Shadow(); }),
            P::Enumeration("ShapeStyle", ShapeStyleNames, &S::ShapeStyle, &S::SetShapeStyle).Default(fosRectangle),
            P::Object("Text", [](const S& s) -> TPersistent* { return &const_cast<S&>(s).Text(); })
                .StoredWhen(&S::HasText),
            P::Integer("Transparency", &S::Transparency, &S::SetTransparency).Default(0),
            P::Boolean("Transparent", &S::Transparent, &S::SetTransparent).StoredWhen(&S::TransparentStored),
        },
    });
    return info;
}

TMarksItem::TMarksItem(TCustomLumPanel* Panel) : TLumCustomShape(Panel) {}

TStringList& TMarksItem::Text()
{
    if (!FText) FText = std::make_unique<TStringList>();
    return *FText;
}

void TMarksItem::SetText(const TStringList* Value)
{
    if (!Value) {
        FText.reset();
    } else {
        Text().Assign(*Value);
    }
    RepaintParent();
}

TMarksItem& TMarksItems::ItemAt(int Index)
{
    if (Index < 0) throw ERangeError();
    if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1);
    auto& entry = FItems[static_cast<std::size_t>(Index)];
    if (!entry) {
        entry = std::make_unique<TMarksItem>(FMarks.ParentChart());
        entry->SetColor(InfoBackColor);
        TSeriesMarks::InitItemShadow(entry->Shadow());
    }
    return *entry;
}

bool TMarksItems::HasItem(int Index) const
{
    return Index >= 0 && Index < Count() && FItems[static_cast<std::size_t>(Index)] != nullptr;
}

void TMarksItems::ClearItems()
{
    FItems.clear();
    FMarks.RepaintParent();
}

void TMarksItems::DeleteRange(int Start, int Quantity) { EraseRange(FItems, Start, Quantity); }

// ---- TSeriesMarks --------------------------------------------------------------------------------------

// ---- Marks gradient --------------------------------------------------------------------------------

TSeriesMarksGradient::TSeriesMarksGradient(TNotifyEvent OnChange) : TLumGradient(nullptr)
{
    // The starting values are set before the change handler is attached, so they notify nobody.
    SetDirection(gdRightLeft);
    SetEndColor(clWhite);
    SetStartColor(static_cast<TColor>(0xC0C0C0));
    this->OnChange = std::move(OnChange);
}

const TClassInfo& TSeriesMarksGradient::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TSeriesMarksGradient",
        .Parent = &TLumGradient::StaticClassInfo(),
        .Defaults = {{"Direction", std::int64_t(gdRightLeft)},
                     {"EndColor", std::int64_t(clWhite)},
                     {"StartColor", std::int64_t(0xC0C0C0)}},
    });
    return info;
}

std::unique_ptr<TLumGradient> TSeriesMarks::NewGradient(TNotifyEvent OnChange)
{
    return std::make_unique<TSeriesMarksGradient>(std::move(OnChange));
}

const TClassInfo& TSeriesMarks::StaticClassInfo()
{
    using P = TProps<TSeriesMarks>;
    using M = TSeriesMarks;
    static const TClassInfo info({
        .Name = "TSeriesMarks",
        .Parent = &TLumCustomShape::StaticClassInfo(),
        .Properties = {
            P::Integer("Angle", &M::Angle, &M::SetAngle).Default(0),
            P::Enumeration("Bevel", BevelCutNames, &M::Bevel, &M::SetBevel).Default(bvNone),
            P::Object("Arrow", [](const M& m) -> TPersistent* { return &const_cast<M&>(m).Arrow(); }),
            P::Integer("ArrowLength", [](const M& m) { return const_cast<M&>(m).ArrowLength(); }, &M::SetArrowLength)
                .NotStored(),
            P::Object("Callout", [](const M& m) -> TPersistent* { return &const_cast<M&>(m).Callout(); }),
            P::Integer("BevelWidth", &M::BevelWidth, &M::SetBevelWidth).Default(2),
            P::Object("Brush", [](const M& m) -> TPersistent* { return &m.Brush(); }),
            P::Boolean("Clip", &M::Clip, &M::SetClip).Default(false),
            P::Colour("Color", &M::Color, &M::SetColor).Default(InfoBackColor),
            P::Integer("DrawEvery", &M::DrawEvery, &M::SetDrawEvery).Default(1),
            P::Object("Font", [](const M& m) -> TPersistent* { return &m.Font(); }),
            P::Object("Frame", [](const M& m) -> TPersistent* { return &m.Pen(); }),
            P::Object("Gradient", [](const M& m) -> TPersistent* { return &const_cast<M&>(m).Gradient(); })
                .StoredWhen(&M::HasGradient),
            P::Boolean("MultiLine", &M::MultiLine, &M::SetMultiLine).Default(false),
            P::Object("Shadow", [](const M& m) -> TPersistent* { return &const_cast<M&>(m).Shadow(); }),
            P::Enumeration("ShapeStyle", ShapeStyleNames, &M::ShapeStyle, &M::SetShapeStyle).Default(fosRectangle),
            P::Enumeration("Style", SeriesMarksStyleNames, &M::Style, &M::SetStyle).Default(smsLabel),
            P::Object("Symbol", [](const M& m) -> TPersistent* { return &const_cast<M&>(m).Symbol(); }),
            P::Integer("Transparency", &M::Transparency, &M::SetTransparency).Default(0),
            P::Boolean("Transparent", &M::Transparent, &M::SetTransparent).StoredWhen(&M::TransparentStored),
            P::Boolean("Visible", &M::Visible, &M::SetVisible).Default(false),
        },
        .Defined = {P::DefinedBinary(
            "Items", &M::ReadItems, [](const M& m, TStream& s) { const_cast<M&>(m).WriteItems(s); },
            [](const M& m) { return const_cast<M&>(m).Items().Count() > 0; })},
    });
    return info;
}

TSeriesMarks::TSeriesMarks(TChartSeries* Series) : TLumCustomShape(nullptr), FSeries(Series), FItems(*this)
{
    SetColor(InfoBackColor);
    InitItemShadow(Shadow());
    SetVisible(false);
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::InitItemShadow(TLumShadow& Shadow)
{
    Shadow.SetColor(static_cast<TColor>(0x808080));
    Shadow.SetUniformSize(1);
    Shadow.SetDefaultColor(static_cast<TColor>(0x808080));
    Shadow.SetDefaultSize(1);
}

void TSeriesMarks::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TSeriesMarks*>(&Source); other && other != this) {
        FAngle = other->FAngle;
        FClip = other->FClip;
        FDrawEvery = other->FDrawEvery;
        FStyle = other->FStyle;
        FMultiLine = other->FMultiLine;
        SetCallout(other->FCallout.get());
        SetSymbol(other->FSymbol.get());
        FItems.ClearItems();
        auto& source = const_cast<TSeriesMarks*>(other)->FItems;
        for (int i = 0; i < source.Count(); ++i) FItems.ItemAt(i).Assign(source.ItemAt(i));
    }
    TLumCustomShape::Assign(Source);
}

void TSeriesMarks::SetAngle(int Value)
{
    if (FSeries)
        FSeries->SetIntegerField(FAngle, Value);
    else
        FAngle = Value;
}

void TSeriesMarks::SetClip(bool Value)
{
    if (FSeries)
        FSeries->SetBooleanField(FClip, Value);
    else
        FClip = Value;
}

void TSeriesMarks::SetDrawEvery(int Value)
{
    if (FSeries)
        FSeries->SetIntegerField(FDrawEvery, Value);
    else
        FDrawEvery = Value;
}

void TSeriesMarks::SetMultiLine(bool Value)
{
    if (FSeries)
        FSeries->SetBooleanField(FMultiLine, Value);
    else
        FMultiLine = Value;
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    if (FSeries) FSeries->InvalidateChart();
}

TLumCustomShape& TSeriesMarks::ShapeForPoint(int Index)
{
    if (Index >= 0 && Index < FItems.Count()) return FItems.ItemAt(Index);
    return *this;
}

void TSeriesMarks::ClearCustomPositions()
{
    for (int i = 0; i < FPositions.Count(); ++i)
        if (TSeriesMarkPosition* p = FPositions.PositionAt(i)) p->Custom = false;
    if (FSeries) FSeries->InvalidateChart();
}

void TSeriesMarks::ClearPositionsAndItems()
{
    FPositions.ClearAll();
    if (!FItems.Loading) FItems.ClearItems();
}

void TSeriesMarks::DeletePointRange(int Start, int Quantity)
{
    FPositions.DeleteRange(Start, Quantity);
    FItems.DeleteRange(Start, Quantity);
}
