// The funnel series: sorting and geometry, slice fill polygons and colours, the outline and separators,
// marks with the slice's ratio, legend entries, the click test, samples and registration.
#include "chart/extras/LumFunnel.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "platform/rtl/FloatFormat.h"

#include <array>

namespace {

TComponent* MakeFunnel(TComponent* Owner) { return new TFunnelSeries(Owner); }

std::vector<TPropInfo> FunnelProperties()
{
    using P = TProps<TFunnelSeries>;
    using F = TFunnelSeries;
    std::vector<TPropInfo> props = TChartSeries::PublishedSeriesProperties();
    std::vector<TPropInfo> own{
        P::Colour("AboveColor", &F::AboveColor, &F::SetAboveColor).Default(TColor(0x00008000)),
        P::Boolean("AutoUpdate", &F::AutoUpdate, &F::SetAutoUpdate).Default(true),
        P::Colour("BelowColor", &F::BelowColor, &F::SetBelowColor).Default(TColor(0x000000FF)),
        P::Object("Brush", [](const F& s) -> TPersistent* { return &s.Brush(); }),
        P::Real("DifferenceLimit", &F::DifferenceLimit, &F::SetDifferenceLimit).Default(30.0),
        P::Object("LinesPen", [](const F& s) -> TPersistent* { return &s.LinesPen(); }),
        P::Object("OpportunityValues", [](const F& s) -> TPersistent* { return &s.OpportunityValues(); }),
        P::Object("Pen", [](const F& s) -> TPersistent* { return &s.Pen(); }),
        P::Object("QuoteValues", [](const F& s) -> TPersistent* { return &s.QuoteValues(); }),
        P::Boolean("QuotesSorted", &F::QuotesSorted, &F::SetQuotesSorted).Default(false),
        P::Colour("WithinColor", &F::WithinColor, &F::SetWithinColor).Default(TColor(0x0000FFFF)),
    };
    for (TPropInfo& p : own) props.push_back(std::move(p));
    return props;
}

} // namespace

const TClassInfo& TFunnelSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TFunnelSeries",
                                  .Parent = &TChartSeries::StaticClassInfo(),
                                  .Properties = FunnelProperties(),
                                  .Create = &MakeFunnel});
    return info;
}

TFunnelSeries::TFunnelSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    YValues().SetName("QuoteValues");
    YValues().SetOrder(loDescending);
    XValues().SetOrder(loNone);
    // The value list owns itself into the series' lists.
    FOpportunityValues = new TChartValueList(this, "OpportunityValues");
    FLinesPen = CreateChartPen();
    SetPercentFormat(LumProCo::FunnelPercentFormat);
    SetHasSeriesColor(false);
    // The mark shows the ratio its slice is filled to.
    OnGetMarkText = [](TChartSeries* Sender, int Index, std::string& Text) {
        const auto* f = static_cast<TFunnelSeries*>(Sender);
        Text = FormatFloat(f->PercentFormat(), 100 * f->Ratio(Index));
    };
}

TFunnelSeries::~TFunnelSeries() { TChartSeries::SetParentChart(nullptr); }

void TFunnelSeries::SetAutoUpdate(bool Value)
{
    FAutoUpdate = Value;
    if (Value) Recalc();
}

void TFunnelSeries::SetQuotesSorted(bool Value)
{
    FQuotesSorted = Value;
    FSorted = Value;
}

void TFunnelSeries::SetDifferenceLimit(double Value)
{
    if (Value == FDifferenceLimit) return;
    FDifferenceLimit = Value;
    if (FAutoUpdate) Recalc();
    InvalidateChart();
}

void TFunnelSeries::SortSegments()
{
    QuoteValues().SortByOrder();
    XValues().FillWithIndices();
    FSorted = true;
}

int TFunnelSeries::AddSegment(double Quote, double Opportunity, const std::string& Label, TColor Color)
{
    FOpportunityValues->PendingValue = Opportunity;
    const int index = AppendValue(Quote, Label, Color);
    if (!FQuotesSorted) SortSegments();
    // A funnel built by adds draws right without a separate recalculation.
    if (FAutoUpdate) Recalc();
    return index;
}

void TFunnelSeries::Recalc()
{
    if (!FSorted) SortSegments();
    const int n = PointCount();
    if (n == 0) return;
    FHighest = QuoteValues().ValueAt(0);
    FLowest = QuoteValues().ValueAt(n - 1);
    FStep = (FHighest - FLowest) * 0.5 / n;
}

double TFunnelSeries::Ratio(int Index) const
{
    const double quote = QuoteValues().ValueAt(Index);
    return quote == 0 ? 0 : FOpportunityValues->ValueAt(Index) / quote;
}

TColor TFunnelSeries::SliceColor(int Index) const
{
    const double r = Ratio(Index);
    if (r >= 1) return FAboveColor;
    if ((1 - r) * 100 > FDifferenceLimit) return FBelowColor;
    return FWithinColor;
}

std::vector<TPoint> TFunnelSeries::FillPolygon(int Index) const
{
    const double i = Index, s = FStep, q = FHighest;
    const auto x = [this](double v) { return HorizValueToPixel(v); };
    const auto y = [this](double v) { return VertValueToPixel(v); };
    const double r = Ratio(Index);
    const TPoint p0{x(i - 0.5), y(q - i * s)}, p1{x(i + 0.5), y(q - (i + 1) * s)};
    const TPoint p2{p1.x, y((i + 1) * s)}, p3{p0.x, y(i * s)};
    const int v = y((q - 2 * s * i) * r + s * i);
    if (v <= p0.y) return {p0, p1, p2, p3};
    if (v <= p1.y) return {{p0.x, v}, {x((q - 2 * s * i) * (1 - r) / s + i - 0.5), v}, p1, p2, p3};
    if (v > p2.y) return {{p0.x, v}, {x((q - 2 * s * i) * r / s + i - 0.5), v}, p3};
    return {{p0.x, v}, {p1.x, v}, p2, p3};
}

void TFunnelSeries::PrepareForDraw()
{
    TChartSeries::PrepareForDraw();
    if (Active())
        if (TChartAxis* vert = GetVertAxis()) vert->SetVisible(false);
}

void TFunnelSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectBrush(Brush(), SliceColor(Index));
    canvas.Pen().SetStyle(psClear);
    canvas.DrawPolygonAtZ(FillPolygon(Index), StartZ());
}

void TFunnelSeries::PaintAllPoints()
{
    TChartSeries::PaintAllPoints();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const auto x = [this](double v) { return HorizValueToPixel(v); };
    const auto y = [this](double v) { return VertValueToPixel(v); };
    const double n = PointCount();
    canvas.SelectPen(Pen());
    canvas.Brush().SetStyle(bsClear);
    const std::array<TPoint, 4> outline{TPoint{x(-0.5), y(FHighest)}, TPoint{x(n - 0.5), y((FHighest + FLowest) / 2)},
                                        TPoint{x(n - 0.5), y((FHighest - FLowest) / 2)}, TPoint{x(-0.5), y(0)}};
    canvas.DrawPolygonAtZ(outline, StartZ());
    if (!FLinesPen->Visible() || FirstVisible() < 0) return;
    canvas.SelectPen(*FLinesPen);
    for (int i = FirstVisible(); i < LastVisible(); ++i)
        canvas.DrawLineAtZ(x(i + 0.5), y((i + 1) * FStep), x(i + 0.5), y(FHighest - (i + 1) * FStep), StartZ());
}

void TFunnelSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Position.LeftTop = {HorizValueToPixel(Index) - Position.Width / 2, VertValueToPixel(FHighest / 2) - Position.Height / 2};
    TChartSeries::PaintMark(Index, Text, Position);
}

TColor TFunnelSeries::LegendColorOf(int Index) const
{
    return Index == 0 ? FAboveColor : Index == 1 ? FWithinColor : FBelowColor;
}

std::string TFunnelSeries::LegendTextOf(int LegendIndex, TLegendTextStyle) const
{
    if (LegendIndex == 0) return LumProCo::ExceedsQuota;
    const std::string limit = FormatFloat(PercentFormat(), FDifferenceLimit);
    return limit + (LegendIndex == 1 ? LumProCo::WithinQuota : LumProCo::BelowQuota);
}

int TFunnelSeries::PointAtPixel(int X, int Y) const
{
    const int base = TChartSeries::PointAtPixel(X, Y);
    if (base != -1 || FirstVisible() < 0) return base;
    for (int i = FirstVisible(); i <= LastVisible() && i < PointCount(); ++i) {
        const std::vector<TPoint> polygon = FillPolygon(i);
        if (PolygonContainsPoint({X, Y}, polygon, static_cast<int>(polygon.size()) - 1)) return i;
    }
    return -1;
}

void TFunnelSeries::AddRandomSampleValues(int Count, bool)
{
    for (int i = 0; i < Count; ++i)
        AddSegment(2.3 * Count * (i + 1), (2.3 - RandomBelow(2)) * Count * (i + 2), LumProCo::SegmentPrefix + std::to_string(i + 1));
    Recalc();
}

void LumFunnelInitialization() { RegisterSeries(TFunnelSeries::StaticClassInfo(), LumProCo::Funnel, LumConst::GalleryStats, 1); }

void LumFunnelFinalization() { UnregisterSeriesClasses({&TFunnelSeries::StaticClassInfo()}); }
