// The start shared by the fuzz targets that draw charts: the application object, then the chart's and
// the series library's registrations, once per process.
#pragma once

#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLibrary.h"
#include "fuzz/fuzz_app.h"

namespace fuzzapp {

// Called at every input; the registrations run at the first call only.
inline void StartChartApplication()
{
    static const bool started = [] {
        StartApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
        return true;
    }();
    (void)started;
}

} // namespace fuzzapp
