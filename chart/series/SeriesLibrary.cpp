// The series library's start-up and shut-down, counted so that nested calls balance.
#include "chart/series/SeriesLibrary.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/ErrorBar.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/LumSurfaColorGrid.h"
#include "chart/series/LumSurfaContour.h"
#include "chart/series/LumSurfaSurface.h"
#include "chart/series/LumSurfaTower.h"
#include "chart/series/LumSpline.h"
#include "chart/series/LumTriSurface.h"
#include "chart/series/SeriesFastLine.h"
#include "chart/series/SeriesStyle.h"

namespace {
int& InitializationCount()
{
    static int count = 0;
    return count;
}

// The grid kinds on the gallery page "3D", in the gallery's order.
struct TGridKind {
    const TClassInfo& (*Class)();
    const char* Caption;
};
const TGridKind GridKinds[] = {
    {&TSurfaceSeries::StaticClassInfo, LumProCo::Surface},
    {&TContourSeries::StaticClassInfo, LumProCo::Contour},
    {&TWaterFallSeries::StaticClassInfo, LumProCo::WaterFall},
    {&TColorGridSeries::StaticClassInfo, LumProCo::ColorGrid},
    {&TVector3DSeries::StaticClassInfo, LumProCo::Vector3D},
    {&TTowerSeries::StaticClassInfo, LumProCo::Tower},
};
} // namespace

void SeriesLibraryInitialization()
{
    if (InitializationCount()++ > 0) return;
    RegisterSeriesUnitTypes();
    RegisterErrorBarUnit();
    RegisterSeries(TMapSeries::StaticClassInfo(), LumProCo::Map, LumConst::GalleryExtended, 1);
    for (const TGridKind& kind : GridKinds) RegisterSeries(kind.Class(), kind.Caption, LumProCo::Gallery3D, 1);
    LumTriSurfaceInitialization();
    LumSplineInitialization();
    InstallSeriesStyleHooks();
}

void SeriesLibraryFinalization()
{
    if (InitializationCount() == 0 || --InitializationCount() > 0) return;
    UnregisterErrorBarUnit();
    UnregisterSeriesClasses({&TMapSeries::StaticClassInfo()});
    for (const TGridKind& kind : GridKinds) UnregisterSeriesClasses({&kind.Class()});
    LumTriSurfaceFinalization();
    LumSplineFinalization();
    RemoveSeriesStyleHooks();
}
