// Start-up and shut-down of the editor library: the form classes found by name, and the chart's hooks.
#include "chart/editors/ChartEditors.h"

#include "chart/control/ChartMouse.h"
#include "chart/editors/LumCustEdit.h"
#include "chart/editors/LumEditCha.h"
#include "chart/editors/LumPoEdi.h"

void ChartEditorsInitialization()
{
    RegisterFormClass<TCustomSeriesEditor>("TCustomSeriesEditor");
    RegisterFormClass<TSeriesPointerEditor>("TSeriesPointerEditor");
    TChartEditorHooks& hooks = ChartEditorHooks();
    hooks.ShowGraphicEditor = [](TChartSeries& Series) { ShowGraphicEditor(Series); };
}

void ChartEditorsFinalization()
{
    TChartEditorHooks& hooks = ChartEditorHooks();
    hooks.ShowGraphicEditor = nullptr;
    UnregisterFormClass("TCustomSeriesEditor");
    UnregisterFormClass("TSeriesPointerEditor");
}
