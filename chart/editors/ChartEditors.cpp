// Start-up and shut-down of the editor library: the form classes found by name, and the chart's hooks.
#include "chart/editors/ChartEditors.h"

#include "chart/control/ChartMouse.h"
#include "chart/control/ChartControl.h"
#include "chart/editors/LumAbout.h"
#include "chart/editors/LumCustEdit.h"
#include "chart/editors/LumEdiAxis.h"
#include "chart/editors/LumEdiLege.h"
#include "chart/editors/LumEditCha.h"
#include "chart/editors/LumGally.h"
#include "chart/editors/LumPoEdi.h"

void ChartEditorsInitialization()
{
    RegisterFormClass<TCustomSeriesEditor>("TCustomSeriesEditor");
    RegisterFormClass<TSeriesPointerEditor>("TSeriesPointerEditor");
    GalleryInitialization();
    LumAboutInitialization();
    TChartEditorHooks& hooks = ChartEditorHooks();
    hooks.ShowGraphicEditor = [](TChartSeries& Series) { ShowGraphicEditor(Series); };
    hooks.ShowAxisDialog = [](TCustomChart& Chart, TChartAxis& Axis) { ShowAxisDialog(Chart, Axis); };
    hooks.ShowLegendEditor = [](TCustomChart&, TChartLegend& Legend) {
        auto form = TFormLumLegend::CreateForLegend(nullptr, Legend);
        form->SetCaption("Legend options");
        form->ShowModal();
    };
}

void ChartEditorsFinalization()
{
    TChartEditorHooks& hooks = ChartEditorHooks();
    hooks.ShowGraphicEditor = nullptr;
    hooks.ShowAxisDialog = nullptr;
    hooks.ShowLegendEditor = nullptr;
    UnregisterFormClass("TCustomSeriesEditor");
    UnregisterFormClass("TSeriesPointerEditor");
    GalleryFinalization();
    LumAboutFinalization();
}
