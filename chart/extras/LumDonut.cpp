// The donut series and its registration; its drawing is the pie's with the hole.
#include "chart/extras/LumDonut.h"

#include "chart/base/LumProCo.h"
#include "chart/base/LumConst.h"
#include "chart/control/ChartRegistry.h"

namespace {
TComponent* MakeDonut(TComponent* Owner) { return new TDonutSeries(Owner); }
} // namespace

const TClassInfo& TDonutSeries::StaticClassInfo()
{
    using P = TProps<TDonutSeries>;
    static const TClassInfo info(
        {.Name = "TDonutSeries",
         .Parent = &TPieSeries::StaticClassInfo(),
         .Properties = {P::Integer("DonutPercent", &TDonutSeries::DonutPercent, &TDonutSeries::SetDonutPercent).Default(50)},
         .Create = &MakeDonut});
    return info;
}

TDonutSeries::TDonutSeries(TComponent* AOwner) : TPieSeries(AOwner) { SetDonutPercent(50); }

void TDonutSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TDonutSeries*>(&Source); s && s != this) SetDonutPercent(s->DonutPercent());
    TPieSeries::Assign(Source);
    if (DonutPercent() <= 0) SetDonutPercent(50);
}

void LumDonutInitialization() { RegisterSeries(TDonutSeries::StaticClassInfo(), LumProCo::Donut, LumConst::GalleryExtended, 1); }

void LumDonutFinalization() { UnregisterSeriesClasses({&TDonutSeries::StaticClassInfo()}); }
