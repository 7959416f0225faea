// What ties a series to other components: its function, the refusal of circular sources, copying a
// series from another (Assign), the source names a stream leaves to resolve, and the point data block.
#include "chart/engine/LumEngineSeries.h"

#include "chart/engine/LumEngineFunction.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeriesStream.h"

#include <algorithm>

// ---- Function --------------------------------------------------------------------------------------------

bool TChartSeries::FunctionAcceptsSource(const TChartSeries* Source) const
{
    return !FFunction || FFunction->AcceptsSource(Source);
}

void TChartSeries::AttachFunction(TLumFunction* Function)
{
    if (Function == FFunction) return;
    FreeFunction();
    if (Function) {
        if (TChartSeries* old = Function->ParentSeries(); old && old != this) old->ForgetFunction();
        FFunction = Function;
        Function->BindParentSeries(this);
        SetDataLoaded(false);
        FreeNotification(Function);
    }
    RefreshFromSource();
}

void TChartSeries::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) const
{
    if (FFunction) Proc(FFunction);
}

void TChartSeries::ForgetFunction()
{
    if (!FFunction) return;
    RemoveFreeNotification(FFunction);
    FFunction->BindParentSeries(nullptr);
    FFunction = nullptr;
}

void TChartSeries::FreeFunction()
{
    TLumFunction* function = FFunction;
    if (!function) return;
    ForgetFunction();
    function->Free();
}

// ---- Circular sources ------------------------------------------------------------------------------------

// Whether Candidate takes its data, directly or through other series, from Target (or is it).
bool SeriesDependsOn(const TChartSeries& Candidate, const TChartSeries& Target)
{
    std::vector<const TChartSeries*> visited;
    std::vector<const TChartSeries*> pending{&Candidate};
    while (!pending.empty()) {
        const TChartSeries* s = pending.back();
        pending.pop_back();
        if (s == &Target) return true;
        if (std::find(visited.begin(), visited.end(), s) != visited.end()) continue;
        visited.push_back(s);
        for (int i = 0; i < s->DataSources().Count(); ++i)
            if (auto* source = dynamic_cast<const TChartSeries*>(s->DataSources().Items(i))) pending.push_back(source);
    }
    return false;
}

// ---- Copying from another series -------------------------------------------------------------------------

void TChartSeries::AssignSettings(const TChartSeries& Other)
{
    SetDataSource(nullptr);
    const bool exchange = Other.FYMandatory != FYMandatory;
    FXValues->Assign(exchange ? *Other.FYValues : *Other.FXValues);
    FYValues->Assign(exchange ? *Other.FXValues : *Other.FYValues);
    FXLabelsSource = Other.FXLabelsSource;
    FColorSource = Other.FColorSource;
    const int shared = std::min(FValueLists.Count(), Other.FValueLists.Count());
    for (int k = 2; k < shared; ++k) FValueLists.ListAt(k)->Assign(*Other.FValueLists.ListAt(k));
    FMarks->Assign(*Other.FMarks);
    if (Other.FColor != clDefault)
        SetSeriesColor(Other.FColor);
    else
        TakePaletteColor(Other.FPaletteColor);
    FColorEachPoint = Other.FColorEachPoint;
    FValueFormat = Other.FValueFormat;
    FPercentFormat = Other.FPercentFormat;
    FHorizAxisKind = Other.FHorizAxisKind;
    FVertAxisKind = Other.FVertAxisKind;
    FCustomHorizAxis = Other.FCustomHorizAxis;
    FCustomVertAxis = Other.FCustomVertAxis;
    FFollowFlags = Other.FFollowFlags;
    FCursor = Other.FCursor;
    FDepth = Other.FDepth;
    ResolveAxes();
}

void TChartSeries::Assign(const TPersistent& Source)
{
    TCustomChartSeries::Assign(Source);
    auto* other = dynamic_cast<const TChartSeries*>(&Source);
    if (!other || other == this) return;
    AssignSettings(*other);
    if (other->FFunction && !FFunction) other->FFunction->AttachToSeries(this);
    SetDataLoaded(other->DataLoaded());
    if (other->DataSource() && !other->DataLoaded()) {
        FDataSources->Clear();
        for (int i = 0; i < other->DataSources().Count(); ++i) AttachSource(other->DataSources().Items(i));
    } else if (other->DataLoaded() || !ComponentState().Contains(csDesigning)) {
        AssignPoints(const_cast<TChartSeries&>(*other));
    }
    RefreshFromSource();
}

// ---- Stream ----------------------------------------------------------------------------------------------

void TChartSeries::ReadDataSourceNames(const std::vector<std::string>& Names)
{
    FSourceNames = std::make_unique<std::vector<std::string>>(Names);
}

void TChartSeries::Loaded()
{
    TCustomChartSeries::Loaded();
    if (FSourceNames) {
        const std::vector<std::string> names = std::move(*FSourceNames);
        FSourceNames.reset();
        FDataSources->Clear();
        for (const std::string& name : names)
            if (TComponent* source = Owner() ? Owner()->FindComponent(name) : nullptr) AttachSource(source);
    }
    RefreshFromSource();
}

void TChartSeries::WritePointData(TStream& Stream) { WriteSeriesPointData(*this, Stream); }

void TChartSeries::LoadPointData(TStream& Stream) { LoadSeriesPointData(*this, Stream); }
