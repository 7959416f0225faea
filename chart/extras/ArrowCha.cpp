// The arrow series' lists and settings, its drawing through the canvas' arrow, extents over both ends,
// the click test along the shafts, sample values and its registration.
#include "chart/extras/ArrowCha.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>

namespace {

TComponent* MakeArrow(TComponent* Owner) { return new TArrowSeries(Owner); }

std::vector<TPropInfo> ArrowProperties()
{
    using P = TProps<TArrowSeries>;
    using A = TArrowSeries;
    return SeriesKindProperties({
        P::Integer("ArrowHeight", &A::ArrowHeight, &A::SetArrowHeight).NotStored(),
        P::Integer("ArrowPercent", &A::ArrowPercent, &A::SetArrowPercent).Default(50),
        P::Integer("ArrowWidth", &A::ArrowWidth, &A::SetArrowWidth).NotStored(),
        P::Object("EndXValues", [](const A& s) -> TPersistent* { return &s.EndXValues(); }),
        P::Object("EndYValues", [](const A& s) -> TPersistent* { return &s.EndYValues(); }),
        P::Object("Pointer", [](const A& s) -> TPersistent* { return &s.Pointer(); }),
        P::Object("StartXValues", [](const A& s) -> TPersistent* { return &s.StartXValues(); }),
        P::Object("StartYValues", [](const A& s) -> TPersistent* { return &s.StartYValues(); }),
    });
}

} // namespace

const TClassInfo& TArrowSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TArrowSeries",
                                  .Parent = &TPointSeries::StaticClassInfo(),
                                  .Properties = ArrowProperties(),
                                  .Create = &MakeArrow});
    return info;
}

TArrowSeries::TArrowSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    XValues().InitDateTime(true);
    // The value lists own themselves into the series' lists.
    FEndXValues = new TChartValueList(this, LumConst::ValueEndX);
    FEndXValues->InitDateTime(true);
    FEndYValues = new TChartValueList(this, LumConst::ValueEndY);
    SetOrderedRange(false);
    Pointer().SetInflateMargins(false);
    Marks().Pen().SetVisible(false);
    Marks().SetTransparent(true);
}

TArrowSeries::~TArrowSeries() { TChartSeries::SetParentChart(nullptr); }

int TArrowSeries::AddArrow(double X0, double Y0, double X1, double Y1, const std::string& Label, TColor Color)
{
    FEndXValues->PendingValue = X1;
    FEndYValues->PendingValue = Y1;
    return InsertPoint(X0, Y0, Label, Color);
}

bool TArrowSeries::AcceptsSource(const TChartSeries* Series) const
{
    return dynamic_cast<const TArrowSeries*>(Series) && TPointSeries::AcceptsSource(Series);
}

void TArrowSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const TColor c = PointColor(Index);
    const bool is3D = chart->View3D();
    if (is3D)
        Pointer().PrepareCanvas(canvas, c);
    else
        canvas.SelectPenColor(Pointer().Pen(), c);
    const TPoint from{ScreenXOf(Index), ScreenYOf(Index)};
    const TPoint to{HorizValueToPixel(FEndXValues->ValueAt(Index)), VertValueToPixel(FEndYValues->ValueAt(Index))};
    canvas.DrawArrowWithBody(is3D, from, to, ArrowWidth(), ArrowHeight(), MiddleZ(), FArrowPercent);
}

double TArrowSeries::HighestX() { return std::max(TPointSeries::HighestX(), FEndXValues->HighestValue()); }
double TArrowSeries::HighestY() { return std::max(TPointSeries::HighestY(), FEndYValues->HighestValue()); }
double TArrowSeries::LowestX() { return std::min(TPointSeries::LowestX(), FEndXValues->LowestValue()); }
double TArrowSeries::LowestY() { return std::min(TPointSeries::LowestY(), FEndYValues->LowestValue()); }

int TArrowSeries::PointAtPixel(int X, int Y) const
{
    const double reach = Pen().Width();
    for (int i = 0; i < PointCount(); ++i) {
        const TPoint from{ScreenXOf(i), ScreenYOf(i)};
        const TPoint to{HorizValueToPixel(FEndXValues->ValueAt(i)), VertValueToPixel(FEndYValues->ValueAt(i))};
        if (PointSegmentDistance({X, Y}, from, to) <= reach) return i;
    }
    return -1;
}

void TArrowSeries::AddRandomSampleValues(int Count, bool)
{
    const TSampleBounds b = SampleValueBounds(Count);
    const int ys = PixelFromReal(b.SpanY), xs = PixelFromReal(Count * b.StepX);
    for (int i = 0; i < Count; ++i) {
        const double x0 = b.StartX + RandomBelow(xs), y0 = b.MinY + RandomBelow(ys);
        AddArrow(x0, y0, x0 + RandomBelow(xs), y0 + RandomBelow(ys));
    }
}

void TArrowSeries::PrepareForGallery(bool Coloured)
{
    TPointSeries::PrepareForGallery(Coloured);
    FillSampleValues(3);
    SetArrowWidth(12);
    SetArrowHeight(12);
    if (!Coloured) SetSeriesColor(TColor(0xC0C0C0));
}

void ArrowChaInitialization() { RegisterSeries(TArrowSeries::StaticClassInfo(), LumConst::Arrow, LumConst::GalleryExtended, 2); }
