// Series helpers of the chart control unit: series and functions created by class and named, series
// cloned and replaced by another class keeping their place and links, and a series' legend symbol drawn
// on any canvas.
#include "chart/control/ChartRegistry.h"

#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartControl.h"
#include "chart/engine/LumEngineFunction.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/graphics/Canvas.h"

#include <vector>

std::string UniqueSeriesName(const TComponent* Owner) { return UniqueComponentName(Owner, "Series"); }

TChartSeries* FirstActiveSeries(const TCustomAxisPanel& Chart)
{
    for (TChartSeries* s : Chart.SeriesList().Items())
        if (s->Active()) return s;
    return nullptr;
}

TChartSeries* NewSeriesOfClass(TComponent* Owner, TCustomAxisPanel* Chart, const TClassInfo& SeriesClass,
                               const TClassInfo* FunctionClass)
{
    TComponent* owner = Owner ? Owner : Chart;
    if (Chart)
        for (const TChartSeries* s : Chart->SeriesList().Items())
            if (s->Owner() == Chart) owner = Chart;
    TComponent* component = SeriesClass.CreateComponent(owner);
    auto* series = dynamic_cast<TChartSeries*>(component);
    if (!series) {
        if (component) component->Free();
        return nullptr;
    }
    series->SetName(UniqueSeriesName(owner));
    series->SetParentChart(Chart);
    if (FunctionClass) NewFunctionOfClass(*series, *FunctionClass);
    return series;
}

TLumFunction* NewFunctionOfClass(TChartSeries& Series, const TClassInfo& FunctionClass)
{
    TComponent* owner = Series.Owner();
    TComponent* component = FunctionClass.CreateComponent(owner);
    auto* function = dynamic_cast<TLumFunction*>(component);
    if (!function) {
        if (component) component->Free();
        return nullptr;
    }
    function->SetName(UniqueComponentName(owner, "LumFunction"));
    function->AttachToSeries(&Series);
    return function;
}

TChartSeries* CloneSeries(TChartSeries& Series)
{
    const TLumFunction* function = Series.AttachedFunction();
    TChartSeries* clone = NewSeriesOfClass(Series.Owner(), Series.ParentChart(), Series.ClassInfo(),
                                           function ? &function->ClassInfo() : nullptr);
    if (clone) clone->Assign(Series);
    return clone;
}

void ChangeSeriesClass(TChartSeries*& Series, const TClassInfo& Class)
{
    if (!Series || &Series->ClassInfo() == &Class) return;
    TChartSeries* replacement = NewSeriesOfClass(Series->Owner(), Series->ParentChart(), Class, nullptr);
    if (!replacement) return;
    ReplaceSeriesObject(Series, replacement);
    Series = replacement;
}

namespace {

// The series that take their data from Old take it from New instead, in the same place of their lists.
void MoveDependents(TChartSeries& Old, TChartSeries& New)
{
    for (TChartSeries* dependent : std::vector<TChartSeries*>(Old.Dependents().Items())) {
        TDataSourcesList& sources = dependent->DataSources();
        std::vector<TComponent*> items;
        for (int i = 0; i < sources.Count(); ++i) items.push_back(sources.Items(i));
        for (TComponent* item : items) sources.Remove(item);
        bool added = false;
        for (TComponent* item : items) {
            if (item == &Old || item == &New) {
                if (added) continue;
                item = &New;
                added = true;
            }
            sources.AppendSource(item);
        }
        Old.RemoveDependent(dependent);
        New.AddDependent(dependent);
    }
}

} // namespace

void ReplaceSeriesObject(TChartSeries*& OldSeries, TChartSeries* NewSeries)
{
    TChartSeries* old = OldSeries;
    if (!old || !NewSeries || old == NewSeries) return;
    NewSeries->Assign(*old);
    NewSeries->AfterDrawValues = old->AfterDrawValues;
    NewSeries->BeforeDrawValues = old->BeforeDrawValues;
    NewSeries->OnAfterAdd = old->OnAfterAdd;
    NewSeries->OnBeforeAdd = old->OnBeforeAdd;
    NewSeries->OnClearValues = old->OnClearValues;
    NewSeries->OnClick = old->OnClick;
    NewSeries->OnDblClick = old->OnDblClick;
    NewSeries->OnGetMarkText = old->OnGetMarkText;
    const std::string name = old->Name();

    MoveDependents(*old, *NewSeries);
    TCustomAxisPanel* chart = old->ParentChart();
    if (chart) {
        for (int i = 0; i < chart->Tools().Count(); ++i)
            if (auto* tool = dynamic_cast<TLumCustomToolSeries*>(chart->Tools().GetTool(i)); tool && tool->Series() == old)
                tool->SetSeries(NewSeries);
        if (auto* custom = dynamic_cast<TCustomChart*>(chart); custom && custom->Legend().Series() == old)
            custom->Legend().SetSeries(NewSeries);
        if (NewSeries->ParentChart() != chart) NewSeries->SetParentChart(chart);
        chart->SwapSeriesObjects(old, NewSeries);
    }

    old->Free();
    OldSeries = nullptr;
    NewSeries->SetName(name);
    if (chart) chart->SendSeriesEvent(NewSeries, seTitle);
    NewSeries->RefreshFromSource();
    if (!NewSeries->DataSource()) NewSeries->AnnounceDataChanged();
}

namespace {

// The chart canvas draws on another canvas until the scope ends, also when drawing raises.
class TCanvasRedirect {
public:
    TCanvasRedirect(TLumCanvas& ChartCanvas, TCanvas& Target) : FChartCanvas(ChartCanvas), FOld(ChartCanvas.AttachedCanvas())
    {
        FChartCanvas.AttachCanvas(&Target);
    }
    ~TCanvasRedirect() { FChartCanvas.AttachCanvas(FOld); }
    TCanvasRedirect(const TCanvasRedirect&) = delete;
    TCanvasRedirect& operator=(const TCanvasRedirect&) = delete;

private:
    TLumCanvas& FChartCanvas;
    TCanvas* FOld;
};

// A series attached to a chart for a while (and the temporary chart it needed), let go on every exit.
class TSeriesVisit {
public:
    TSeriesVisit(TChartSeries& Series, TCustomChart* Chart) : FSeries(Series)
    {
        if (Series.ParentChart()) return;
        if (!Chart) {
            FTemporary = std::make_unique<TCustomChart>(nullptr);
            Chart = FTemporary.get();
        }
        Series.SetParentChart(Chart);
        FAttached = true;
    }
    ~TSeriesVisit()
    {
        if (FAttached) FSeries.SetParentChart(nullptr);
    }
    TSeriesVisit(const TSeriesVisit&) = delete;
    TSeriesVisit& operator=(const TSeriesVisit&) = delete;

private:
    TChartSeries& FSeries;
    std::unique_ptr<TCustomChart> FTemporary;
    bool FAttached = false;
};

} // namespace

void PaintSeriesLegendSymbol(TChartSeries& Series, TCanvas& Canvas, const TRect& Rect, TCustomChart* Chart)
{
    TSeriesVisit visit(Series, Chart);
    TCustomAxisPanel* chart = Series.ParentChart();
    auto* custom = dynamic_cast<TCustomChart*>(chart);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(custom ? custom->Legend().Color() : clWhite);
    if (custom) {
        const TLegendSymbol& symbol = custom->Legend().Symbol();
        custom->SetLegendSymbolPen(symbol.DefaultPen() ? nullptr : &symbol.Pen());
    }
    TCanvas3D& chartCanvas = chart->ChartCanvas();
    if (chartCanvas.HasOwnRenderer()) return;
    TCanvasRedirect redirect(chartCanvas, Canvas);
    Series.PaintLegendSymbol(-1, Rect);
}
