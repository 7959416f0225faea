// The legend's settings, stored rules and copying, its symbol and title boxes, and what the chart asks
// of it besides the drawing: item heights and texts, the effective style, the series it lists and the
// clicks on its check boxes.
#include "chart/control/ChartLegend.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumHtml.h"
#include "chart/control/ChartControl.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

// ---- Symbol ----------------------------------------------------------------------------------------------

const TClassInfo& TLegendSymbol::StaticClassInfo()
{
    using P = TProps<TLegendSymbol>;
    using S = TLegendSymbol;
    static const TClassInfo info({
        .Name = "TLegendSymbol",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Boolean("Continuous", &S::Continuous, &S::SetContinuous).Default(false),
            P::Boolean("DefaultPen", &S::DefaultPen, &S::SetDefaultPen).Default(true),
            P::Object("Gradient", [](const S& s) -> TPersistent* { return &s.Gradient(); }),
            P::Object("Pen", [](const S& s) -> TPersistent* { return &s.Pen(); }),
            P::Enumeration("Position", LegendSymbolPositionNames, &S::Position, &S::SetPosition).Default(spLeft),
            P::Boolean("Squared", &S::Squared, &S::SetSquared).Default(false),
            P::Boolean("Visible", &S::Visible, &S::SetVisible).Default(true),
            P::Integer("Width", &S::Width, &S::SetWidth).Default(20),
            P::Enumeration("WidthUnits", LegendSymbolSizeNames, &S::WidthUnits, &S::SetWidthUnits).Default(lcsPercent),
        },
    });
    return info;
}

TLegendSymbol::TLegendSymbol(TCustomLumPanel* Chart, std::function<int()> ItemHeight)
    : FChart(Chart), FItemHeight(std::move(ItemHeight)),
      FGradient(std::make_unique<TLumGradient>([this](TPersistent*) { Repaint(); })),
      FPen(std::make_unique<TChartPen>([this](TPersistent*) { Repaint(); }))
{
}

TLegendSymbol::~TLegendSymbol()
{
    FGradient->OnChange = nullptr;
    FPen->OnChange = nullptr;
}

void TLegendSymbol::Assign(const TPersistent& Source)
{
    auto* s = dynamic_cast<const TLegendSymbol*>(&Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this) return;
    FContinuous = s->FContinuous;
    FGradient->Assign(*s->FGradient);
    FPen->Assign(*s->FPen);
    FPosition = s->FPosition;
    FSquared = s->FSquared;
    FWidth = s->FWidth;
    FWidthUnits = s->FWidthUnits;
    FVisible = s->FVisible;
}

void TLegendSymbol::Repaint()
{
    if (FChart) FChart->Invalidate();
}

void TLegendSymbol::SetWidth(int Value)
{
    if (FChart)
        FChart->ChangeInteger(FWidth, Value);
    else
        FWidth = Value;
}

int TLegendSymbol::CalcWidth(int Base) const
{
    if (!FVisible) return 0;
    if (FSquared) return (FItemHeight ? FItemHeight() : 0) - 5;
    if (FWidthUnits == lcsPixels) return FWidth;
    return PixelFromReal(Base * FWidth * 0.01);
}

void TLegendSymbol::PaintSymbolRect(TColor Color, const TRect& Rect)
{
    if (!FChart) return;
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.SelectPen(*FPen);
    if (FGradient->Visible()) {
        FGradient->SetEndColor(Color);
        FGradient->DrawRect(canvas, Rect);
        canvas.Brush().SetStyle(bsClear);
    } else {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clWhite);
    }
    if (FPen->Visible()) canvas.DrawRect(Rect);
}

// ---- Title -----------------------------------------------------------------------------------------------

const TClassInfo& TLegendTitle::StaticClassInfo()
{
    using P = TProps<TLegendTitle>;
    using T = TLegendTitle;
    static const TClassInfo info({
        .Name = "TLegendTitle",
        .Parent = &TLumShape::StaticClassInfo(),
        .Properties = {
            P::Object("Text", [](const T& t) -> TPersistent* { return &t.Text(); }),
            P::Enumeration("TextAlignment", AlignmentNames, &T::TextAlignment, &T::SetTextAlignment)
                .Default(taLeftJustify),
            P::Enumeration("TextFormat", TextFormatNames, &T::TextFormat, &T::SetTextFormat).Default(ttfNormal),
        },
    });
    return info;
}

TLegendTitle::TLegendTitle(TCustomLumPanel* Chart) : TLumShape(Chart), FText(std::make_unique<TStringList>())
{
    FText->OnChange = [this](TPersistent*) { RepaintParent(); };
    SetTransparent(true);
    SetDefaultTransparent(true);
    Font().SetStyle({fsBold});
    Font().SetDefaultStyle({fsBold});
    Shadow().SetColor(clSilver);
    Shadow().SetUniformSize(2);
    Shadow().SetDefaultColor(clSilver);
    Shadow().SetDefaultSize(2);
}

TLegendTitle::~TLegendTitle() { FText->OnChange = nullptr; }

void TLegendTitle::Assign(const TPersistent& Source)
{
    if (auto* title = dynamic_cast<const TLegendTitle*>(&Source); title && title != this) {
        FText->Assign(*title->FText);
        FTextAlignment = title->FTextAlignment;
    }
    TLumShape::Assign(Source);
}

void TLegendTitle::SetTextAlignment(TAlignment Value)
{
    if (FTextAlignment == Value) return;
    FTextAlignment = Value;
    RepaintParent();
}

bool TLegendTitle::Shown() const { return Visible() && !FText->Text().empty(); }

int TLegendTitle::TitleHeight()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectFont(Font());
    int height = FText->Count() * canvas.CharHeight();
    if (!Transparent()) height += 2 + 2 * FramePenWidth();
    return height;
}

int TLegendTitle::WidestLine(TCanvas3D& Canvas) const
{
    int widest = 0;
    for (const std::string& line : FText->Items()) {
        if (TextFormat() == ttfHtml) {
            TSize size{};
            MeasureHtmlText(Canvas, line, size);
            widest = std::max(widest, static_cast<int>(size.cx));
        } else {
            widest = std::max(widest, Canvas.MeasureTextWidth(line));
        }
    }
    return widest;
}

int TLegendTitle::TitleWidth()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectFont(Font());
    int width = WidestLine(canvas) + canvas.MeasureTextWidth("W");
    if (!Transparent()) width += 2 * FramePenWidth() + (ShadowIfAny() ? ShadowIfAny()->HorizSize() : 0);
    return width;
}

void TLegendTitle::DrawTitle(const TRect& Rect)
{
    SetShapeRect(Rect);
    DrawShape();
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectFont(Font());
    canvas.WriteTextAlign(TA_LEFT);
    canvas.WriteBackMode(TRANSPARENT);
    const int w = canvas.MeasureTextWidth("W");
    // The x of a line of the given width by the alignment.
    auto lineX = [&](int width) {
        switch (FTextAlignment) {
        case taRightJustify: return Rect.Right - width - w / 2;
        case taCenter: return (Rect.Left + Rect.Right) / 2 - width / 2;
        default: return Rect.Left + w / 2;
        }
    };
    if (TextFormat() == ttfHtml) {
        std::string all;
        for (int i = 0; i < FText->Count(); ++i) all += (i ? "\r\n" : "") + FText->Strings(i);
        canvas.WriteTextOrHtml(lineX(WidestLine(canvas)), Rect.Top + 1, all, true);
        return;
    }
    const int h = canvas.CharHeight();
    for (int i = 0; i < FText->Count(); ++i) {
        const std::string& line = FText->Strings(i);
        canvas.WriteText(lineX(canvas.MeasureTextWidth(line)), Rect.Top + h * i + 1, line);
    }
}

// ---- Gradient --------------------------------------------------------------------------------------------

const TClassInfo& TChartLegendGradient::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TChartLegendGradient",
        .Parent = &TLumGradient::StaticClassInfo(),
        .Defaults = {{"Direction", std::int64_t(gdRightLeft)},
                     {"EndColor", std::int64_t(clWhite)},
                     {"StartColor", std::int64_t(clSilver)}},
    });
    return info;
}

TChartLegendGradient::TChartLegendGradient(TNotifyEvent OnChange) : TLumGradient(nullptr)
{
    // The starting values notify nobody: the handler is attached afterwards.
    SetDirection(gdRightLeft);
    SetEndColor(clWhite);
    SetStartColor(clSilver);
    this->OnChange = std::move(OnChange);
}

// ---- Legend: class and settings --------------------------------------------------------------------------

const TClassInfo& TCustomChartLegend::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TCustomChartLegend", .Parent = &TLumCustomShapePosition::StaticClassInfo()});
    return info;
}

const TClassInfo& TChartLegend::StaticClassInfo()
{
    using P = TProps<TChartLegend>;
    using L = TChartLegend;
    static const TClassInfo info({
        .Name = "TChartLegend",
        .Parent = &TCustomChartLegend::StaticClassInfo(),
        .Properties = {
            P::Enumeration("Alignment", LegendAlignmentNames, &L::Alignment, &L::SetAlignment).Default(laRight),
            P::Enumeration("Bevel", BevelCutNames, &L::Bevel, &L::SetBevel).Default(bvNone),
            P::Integer("BevelWidth", &L::BevelWidth, &L::SetBevelWidth).Default(2),
            P::Object("Brush", [](const L& l) -> TPersistent* { return &l.Brush(); }),
            P::Boolean("CheckBoxes", &L::CheckBoxes, &L::SetCheckBoxes).Default(false),
            P::Enumeration("CheckBoxesStyle", CheckBoxesStyleNames, &L::CheckBoxesStyle, &L::SetCheckBoxesStyle)
                .Default(cbsCheck),
            P::Colour("Color", &L::Color, &L::SetColor).Default(clWhite),
            P::Integer("ColorWidth", &L::ColorWidth, &L::SetColorWidth).Default(20),
            P::Boolean("CurrentPage", &L::CurrentPage, &L::SetCurrentPage).Default(true),
            P::Boolean("CustomPosition", &L::CustomPosition, &L::SetCustomPosition)
                .StoredWhen(&L::CustomPositionStored),
            P::Object("DividingLines", [](const L& l) -> TPersistent* { return &l.DividingLines(); }),
            P::Integer("FirstValue", &L::FirstValue, &L::SetFirstValue).Default(0),
            P::Object("Font", [](const L& l) -> TPersistent* { return &l.Font(); }),
            P::Boolean("FontSeriesColor", &L::FontSeriesColor, &L::SetFontSeriesColor).Default(false),
            P::Object("Frame", [](const L& l) -> TPersistent* { return &l.Pen(); }),
            P::Object("Gradient", [](const L& l) -> TPersistent* { return &const_cast<L&>(l).Gradient(); })
                .StoredWhen(&L::HasGradient),
            P::Integer("HorizMargin", &L::HorizMargin, &L::SetHorizMargin).Default(0),
            P::Boolean("Inverted", &L::Inverted, &L::SetInverted).Default(false),
            P::Integer("Left", &L::Left, &L::SetLeft).StoredWhen(&L::CustomPosition),
            P::Integer("LeftPercent", &L::LeftPercent, &L::SetLeftPercent).Default(0),
            P::Enumeration("LegendStyle", LegendStyleNames, &L::LegendStyle, &L::SetLegendStyle).Default(lsAuto),
            P::Integer("MaxNumRows", &L::MaxNumRows, &L::SetMaxNumRows).Default(10),
            P::Enumeration("PositionUnits", LumUnitsNames, &L::PositionUnits, &L::SetPositionUnits)
                .Default(muPixels),
            P::Boolean("ResizeChart", &L::ResizeChart, &L::SetResizeChart).Default(true),
            P::Object("Shadow", [](const L& l) -> TPersistent* { return &const_cast<L&>(l).Shadow(); }),
            P::Enumeration("ShapeStyle", ShapeStyleNames, &L::ShapeStyle, &L::SetShapeStyle).Default(fosRectangle),
            P::Object("Symbol", [](const L& l) -> TPersistent* { return &l.Symbol(); }),
            P::Enumeration("TextStyle", LegendTextStyleNames, &L::TextStyle, &L::SetTextStyle).Default(ltsLeftValue),
            P::Object("Title", [](const L& l) -> TPersistent* { return &l.Title(); }),
            P::Integer("Top", &L::Top, &L::SetTop).StoredWhen(&L::CustomPosition),
            P::Integer("TopPercent", &L::TopPercent, &L::SetTopPercent).Default(0),
            P::Integer("TopPos", &L::TopPos, &L::SetTopPos).Default(10),
            P::Integer("Transparency", &L::Transparency, &L::SetTransparency).Default(0),
            P::Boolean("Transparent", &L::Transparent, &L::SetTransparent).StoredWhen(&L::TransparentStored),
            P::Integer("VertMargin", &L::VertMargin, &L::SetVertMargin).Default(0),
            P::Integer("VertSpacing", &L::VertSpacing, &L::SetVertSpacing).Default(0),
            P::Boolean("Visible", &L::Visible, &L::SetVisible).Default(true),
        },
    });
    return info;
}

TCustomChartLegend::TCustomChartLegend(TCustomAxisPanel* Chart)
    : TLumCustomShapePosition(Chart),
      FDividingLines(std::make_unique<TChartHiddenPen>([this](TPersistent*) { RepaintParent(); })),
      FSymbol(std::make_unique<TLegendSymbol>(Chart, [this] { return ItemHeight(); })),
      FTitle(std::make_unique<TLegendTitle>(Chart))
{
}

TCustomChartLegend::~TCustomChartLegend() { FDividingLines->OnChange = nullptr; }

std::unique_ptr<TLumGradient> TCustomChartLegend::NewGradient(TNotifyEvent OnChange)
{
    return std::make_unique<TChartLegendGradient>(std::move(OnChange));
}

void TCustomChartLegend::Assign(const TPersistent& Source)
{
    if (auto* l = dynamic_cast<const TCustomChartLegend*>(&Source); l && l != this) {
        FAlignment = l->FAlignment;
        FCheckBoxes = l->FCheckBoxes;
        FCheckBoxesStyle = l->FCheckBoxesStyle;
        FCurrentPage = l->FCurrentPage;
        FDividingLines->Assign(*l->FDividingLines);
        FFirstValue = l->FFirstValue;
        FFontSeriesColor = l->FFontSeriesColor;
        FHorizMargin = l->FHorizMargin;
        FInverted = l->FInverted;
        FLeftPercent = l->FLeftPercent;
        FLegendStyle = l->FLegendStyle;
        FMaxNumRows = l->FMaxNumRows;
        FPositionUnits = l->FPositionUnits;
        FResizeChart = l->FResizeChart;
        FSymbol->Assign(*l->FSymbol);
        FTextStyle = l->FTextStyle;
        FTitle->Assign(*l->FTitle);
        FTopPos = l->FTopPos;
        FTopPercent = l->FTopPercent;
        FVertMargin = l->FVertMargin;
        FVertSpacing = l->FVertSpacing;
    }
    TLumCustomShapePosition::Assign(Source);
}

void TCustomChartLegend::SetAlignment(TLegendAlignment Value) { Change(FAlignment, Value); }
void TCustomChartLegend::SetPositionUnits(TLumUnits Value) { Change(FPositionUnits, Value); }
void TCustomChartLegend::SetTextStyle(TLegendTextStyle Value) { Change(FTextStyle, Value); }

void TCustomChartLegend::SetLegendStyle(TLegendStyle Value)
{
    if (FLegendStyle == Value) return;
    FLegendStyle = Value;
    if (ParentChart()) FEffectiveStyle = ComputeEffectiveStyle();
    RepaintParent();
}

void TCustomChartLegend::SetFirstValue(int Value)
{
    if (Value < 0) throw LegendException(LumConst::LegendFirstValue);
    Change(FFirstValue, Value);
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle Value)
{
    if (FCheckBoxesStyle == Value) return;
    FCheckBoxesStyle = Value;
    if (Value == cbsRadio)
        if (auto* chart = dynamic_cast<TCustomAxisPanel*>(ParentChart())) {
            bool first = true;
            for (TChartSeries* s : std::vector<TChartSeries*>(chart->SeriesList().Items())) {
                if (!s->Active() || !s->ShowInLegend()) continue;
                if (!first) s->SetActive(false);
                first = false;
            }
        }
    RepaintParent();
}

void TCustomChartLegend::AssignSeries(TChartSeries* Value)
{
    SetSeries(Value);
    RepaintParent();
}

void TCustomChartLegend::SetSeries(TChartSeries* Value)
{
    FSeries = Value;
    if (Value && ParentChart()) ParentChart()->FreeNotification(Value);
}

// ---- Legend: what the chart asks -------------------------------------------------------------------------

TCustomChart& TCustomChartLegend::Chart() const
{
    auto* chart = dynamic_cast<TCustomChart*>(ParentChart());
    if (!chart) throw EInvalidCast("Invalid class typecast");
    return *chart;
}

TLegendStyle TCustomChartLegend::ComputeEffectiveStyle() const
{
    if (FLegendStyle != lsAuto) return FLegendStyle;
    auto* chart = dynamic_cast<TCustomAxisPanel*>(ParentChart());
    return FCheckBoxes || (chart && chart->ActiveSeriesCount() > 1) ? lsSeries : lsValues;
}

bool TCustomChartLegend::ShouldDraw() const
{
    auto* chart = dynamic_cast<TCustomAxisPanel*>(ParentChart());
    return Visible() && (CheckBoxesShown() || (chart && chart->ActiveSeriesCount() > 0));
}

int TCustomChartLegend::ItemHeight()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectFont(Font());
    int h = canvas.CharHeight();
    if (CheckBoxesShown()) h = std::max(h, 17);
    h += FVertSpacing;
    if (IsSideAligned() && FDividingLines->Visible()) h += FDividingLines->Width();
    return h;
}

std::string TCustomChartLegend::ItemText(const TChartSeries& Series, int ValueIndex) const
{
    if (ValueIndex == -1) return {};
    std::string text = Series.LegendTextOf(ValueIndex, FTextStyle);
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

TChartSeries* TCustomChartLegend::LegendSeries() const
{
    if (FSeries) return FSeries;
    auto* chart = dynamic_cast<TCustomAxisPanel*>(ParentChart());
    if (!chart) return nullptr;
    TChartSeries* first = nullptr;
    for (TChartSeries* s : chart->SeriesList().Items())
        if (s->Active()) {
            first = s;
            break;
        }
    if (!first || first->ShowInLegend()) return first;
    for (TChartSeries* s : chart->SeriesList().Items())
        if (s->Active() && s->ShowInLegend()) return s;
    return first;
}

bool TCustomChartLegend::Clicked(int, int, int Item)
{
    if (!CheckBoxesShown() || Item == -1) return false;
    TCustomChart& chart = Chart();
    if (FCheckBoxesStyle == cbsRadio) {
        for (int i = 0; i < chart.CountSeries(); ++i)
            if (TChartSeries* s = chart.SeriesForLegendItem(i, false)) s->SetActive(i == Item);
        return true;
    }
    TChartSeries* s = chart.SeriesForLegendItem(Item, false);
    if (!s) return false;
    switch (chart.LegendCheckMode()) {
    case 0: s->SetActive(!s->Active()); break;
    case 1:
        s->SetExcludeFromXRange(!s->ExcludeFromXRange());
        chart.Invalidate();
        break;
    case 2:
        s->SetExcludeFromYRange(!s->ExcludeFromYRange());
        chart.Invalidate();
        break;
    default: break;
    }
    return true;
}
