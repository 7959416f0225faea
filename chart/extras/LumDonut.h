// The donut series: a pie with a hole. Qt-free.
#pragma once

#include "chart/series/SeriesPie.h"

class TDonutSeries : public TPieSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TDonutSeries(TComponent* AOwner);

    // DonutPercent from another donut, then the pie's copy; a hole of 0 or less becomes 50.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TDonutSeriesEditor"; }
};

void LumDonutInitialization();
void LumDonutFinalization();
