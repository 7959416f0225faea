// The series library's start-up and shut-down, counted so that nested calls balance.
#include "chart/series/SeriesLibrary.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/ErrorBar.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/SeriesFastLine.h"
#include "chart/series/SeriesStyle.h"

namespace {
int& InitializationCount()
{
    static int count = 0;
    return count;
}
} // namespace

void SeriesLibraryInitialization()
{
    if (InitializationCount()++ > 0) return;
    RegisterSeriesUnitTypes();
    RegisterErrorBarUnit();
    RegisterSeries(TMapSeries::StaticClassInfo(), LumProCo::Map, LumConst::GalleryExtended, 1);
    InstallSeriesStyleHooks();
}

void SeriesLibraryFinalization()
{
    if (InitializationCount() == 0 || --InitializationCount() > 0) return;
    UnregisterErrorBarUnit();
    UnregisterSeriesClasses({&TMapSeries::StaticClassInfo()});
    RemoveSeriesStyleHooks();
}
