// The bubble series' radius list, pointer sizing per point from the axes, its extents and depth, the click
// test per pointer style, sample values and its registration.
#include "chart/extras/BubbleCh.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

TComponent* MakeBubble(TComponent* Owner) { return new TBubbleSeries(Owner); }

std::vector<TPropInfo> BubbleProperties()
{
    using P = TProps<TBubbleSeries>;
    using B = TBubbleSeries;
    return SeriesKindProperties({
        P::Object("Pointer", [](const B& s) -> TPersistent* { return &s.Pointer(); }),
        P::Object("RadiusValues", [](const B& s) -> TPersistent* { return &s.RadiusValues(); }),
        P::Boolean("Squared", &B::Squared, &B::SetSquared).Default(true),
    });
}

} // namespace

const TClassInfo& TBubbleSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TBubbleSeries",
                                  .Parent = &TPointSeries::StaticClassInfo(),
                                  .Properties = BubbleProperties(),
                                  .Defaults = {{"ColorEachPoint", true}},
                                  .Create = &MakeBubble});
    return info;
}

TBubbleSeries::TBubbleSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    // The value list owns itself into the series' lists.
    FRadiusValues = new TChartValueList(this, LumConst::ValueRadius);
    Pointer().SetInflateMargins(false);
    Pointer().SetStyle(psCircle);
    Marks().Pen().SetVisible(false);
    Marks().SetTransparent(true);
    SetColorEachPoint(true);
}

TBubbleSeries::~TBubbleSeries() { TChartSeries::SetParentChart(nullptr); }

void TBubbleSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TBubbleSeries*>(&Source); s && s != this) FSquared = s->FSquared;
    TPointSeries::Assign(Source);
}

int TBubbleSeries::AddBubble(double X, double Y, double Radius, const std::string& Label, TColor Color)
{
    FRadiusValues->PendingValue = Radius;
    return InsertPoint(X, Y, Label, Color);
}

bool TBubbleSeries::AcceptsSource(const TChartSeries* Series) const
{
    return dynamic_cast<const TBubbleSeries*>(Series) && TPointSeries::AcceptsSource(Series);
}

void TBubbleSeries::PreparePointer(int Index) const
{
    const double r = FRadiusValues->ValueAt(Index);
    const TChartAxis* vert = GetVertAxis();
    const TChartAxis* horiz = GetHorizAxis();
    const int v = vert ? vert->SpanToPixels(r) : 0;
    Pointer().StoreVertSize(v);
    Pointer().StoreHorizSize(FSquared || !horiz ? v : horiz->SpanToPixels(r));
}

void TBubbleSeries::PaintPoint(int Index)
{
    if (!ParentChart() || PointIsNull(Index)) return;
    PreparePointer(Index);
    DrawPointer(ScreenXOf(Index), ScreenYOf(Index), Index, PointColor(Index));
}

void TBubbleSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    const int size = std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    Pointer().StoreHorizSize(size);
    Pointer().StoreVertSize(size);
    TPointSeries::PaintLegendShape(Index, Rect);
}

double TBubbleSeries::HighestY()
{
    double high = TPointSeries::HighestY();
    for (int i = 0; i < PointCount(); ++i) high = std::max(high, YValues().ValueAt(i) + FRadiusValues->ValueAt(i));
    return high;
}

double TBubbleSeries::LowestY()
{
    double low = TPointSeries::LowestY();
    for (int i = 0; i < PointCount(); ++i) low = std::min(low, YValues().ValueAt(i) - FRadiusValues->ValueAt(i));
    return low;
}

double TBubbleSeries::HighestZ() { return Pointer().Draw3D() ? FRadiusValues->HighestValue() : TPointSeries::HighestZ(); }

double TBubbleSeries::LowestZ() { return Pointer().Draw3D() ? -FRadiusValues->HighestValue() : TPointSeries::LowestZ(); }

bool PointerStyleContains(TSeriesPointerStyle Style, int CX, int CY, int H, int V, int X, int Y)
{
    const TPoint p{X, Y};
    const int l = CX - H, r = CX + H, t = CY - V, b = CY + V;
    switch (Style) {
    case psCircle: return EllipseContainsPoint(p, l, t, r, b);
    case psTriangle: return VertTriangleContainsPoint(p, l, r, t, b);
    case psDownTriangle: return VertTriangleContainsPoint(p, l, r, b, t);
    case psDiamond: {
        const std::array<TPoint, 4> poly{TPoint{CX, t}, TPoint{r, CY}, TPoint{CX, b}, TPoint{l, CY}};
        return PolygonContainsPoint(p, poly, 3);
    }
    case psLeftTriangle: return HorizTriangleContainsPoint(p, t, b, l, r);
    case psRightTriangle: return HorizTriangleContainsPoint(p, t, b, r, l);
    case psNothing: return false;
    default: return std::abs(X - CX) < H && std::abs(Y - CY) < V;
    }
}

bool TBubbleSeries::PointerHit(int Index, int PointX, int PointY, int X, int Y) const
{
    PreparePointer(Index);
    return PointerStyleContains(PointerStyleOf(Index), PointX, PointY, Pointer().HorizSize(), Pointer().VertSize(), X, Y);
}

void TBubbleSeries::AddRandomSampleValues(int Count, bool)
{
    const TSampleBounds b = SampleValueBounds(Count);
    double x = b.StartX;
    for (int i = 0; i < Count; ++i) {
        const double y = RandomBelow(PixelFromReal(b.SpanY));
        const double radius = PixelFromReal(b.SpanY / (10 + RandomBelow(15))) + b.SpanY / 15;
        AddBubble(x, y, radius);
        x += b.StepX;
    }
}

void TBubbleSeries::PrepareForGallery(bool Coloured)
{
    TPointSeries::PrepareForGallery(Coloured);
    Pointer().Gradient().SetVisible(true);
}

void BubbleChInitialization() { RegisterSeries(TBubbleSeries::StaticClassInfo(), LumConst::Bubble, LumConst::GalleryStandard, 1); }
