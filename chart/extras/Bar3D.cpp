// The 3-D bar series' offsets: where each bar starts, the range and the marks, samples and registration.
#include "chart/extras/Bar3D.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {
TComponent* MakeBar3D(TComponent* Owner) { return new TBar3DSeries(Owner); }
} // namespace

const TClassInfo& TBar3DSeries::StaticClassInfo()
{
    using P = TProps<TBar3DSeries>;
    static const TClassInfo info(
        {.Name = "TBar3DSeries",
         .Parent = &TBarSeries::StaticClassInfo(),
         .Properties = {P::Object("OffsetValues", [](const TBar3DSeries& s) -> TPersistent* { return &s.OffsetValues(); })},
         .Create = &MakeBar3D});
    return info;
}

TBar3DSeries::TBar3DSeries(TComponent* AOwner) : TBarSeries(AOwner)
{
    // The value list owns itself into the series' lists.
    FOffsetValues = new TChartValueList(this, "Offset");
}

TBar3DSeries::~TBar3DSeries() { TChartSeries::SetParentChart(nullptr); }

int TBar3DSeries::AddBar(double X, double Y, double Offset, const std::string& Label, TColor Color)
{
    FOffsetValues->PendingValue = Offset;
    return InsertPoint(X, Y, Label, Color);
}

double TBar3DSeries::HighestY()
{
    const double high = TBarSeries::HighestY();
    if (!Apart() || PointCount() == 0) return high;
    return std::max(high, FOffsetValues->HighestValue());
}

double TBar3DSeries::LowestY()
{
    double low = TBarSeries::LowestY();
    if (!Apart() || PointCount() == 0) return low;
    low = std::min(low, FOffsetValues->LowestValue());
    for (int i = 0; i < PointCount(); ++i) {
        const double offset = FOffsetValues->ValueAt(i);
        if (offset < 0) low = std::min(low, YValues().ValueAt(i) + offset);
    }
    return low;
}

double TBar3DSeries::DisplayValueAt(int Index) const { return TBarSeries::DisplayValueAt(Index) + FOffsetValues->ValueAt(Index); }

double TBar3DSeries::BarOriginValue(int Index, bool IncludeSelf) const
{
    if (MultiBar() == mbStacked || MultiBar() == mbStacked100 || MultiBar() == mbSelfStack)
        return TBarSeries::BarOriginValue(Index, IncludeSelf);
    return FOffsetValues->ValueAt(Index);
}

void TBar3DSeries::AddRandomSampleValues(int Count, bool)
{
    const TSampleBounds b = SampleValueBounds(Count);
    double x = b.StartX;
    for (int i = 0; i < Count; ++i) {
        const int c = RandomBelow(PixelFromReal(b.SpanY));
        AddBar(x, std::abs(c) + 10, std::fabs(b.SpanY / (1 + RandomBelow(5))));
        x += b.StepX;
    }
}

void Bar3DInitialization() { RegisterSeries(TBar3DSeries::StaticClassInfo(), LumProCo::Bar3D, LumProCo::Other, 1); }

void Bar3DFinalization() { UnregisterSeriesClasses({&TBar3DSeries::StaticClassInfo()}); }
