// The start shared by the fuzz targets that draw charts: the application object, then the chart's and
// the series library's registrations, once per process.
#pragma once

#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLibrary.h"
#include "fuzz/fuzz_app.h"

namespace fuzzapp {

inline void StartChartApplication()
{
    StartApplication();
    ChartInitialization();
    SeriesLibraryInitialization();
}

} // namespace fuzzapp
