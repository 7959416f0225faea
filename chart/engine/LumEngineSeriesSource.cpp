// Series sources: their open and closed states, binding to a series, and the engine's start-up.
#include "chart/engine/LumEngineSeriesSource.h"

#include "chart/engine/LumEngineSeries.h"

const TClassInfo& TLumSeriesSource::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumSeriesSource", .Parent = &TComponent::StaticClassInfo()});
    return info;
}

TLumSeriesSource::TLumSeriesSource(TComponent* AOwner) : TComponent(AOwner) {}

TLumSeriesSource::~TLumSeriesSource()
{
    FDestroying = true;
    CloseSource();
    if (FSeries) {
        TChartSeries* series = FSeries;
        FSeries = nullptr;
        RemoveFreeNotification(series);
        if (series->DataSource() == this) series->SetDataSource(nullptr);
    }
}

void TLumSeriesSource::SetActiveState(bool Value)
{
    if (Value == FActive) return;
    if (FSeries) {
        if (Value) {
            if (!Loading()) LoadData();
        } else if (!FDestroying && !FSeries->ComponentState().Contains(csDestroying) && !FKeepPoints) {
            FSeries->ClearPoints();
        }
    }
    FActive = Value;
}

bool TLumSeriesSource::FeedsSeries(const TChartSeries& Series) const
{
    const TComponent* source = Series.DataSource();
    return source && source->ClassName() == ClassName();
}

void TLumSeriesSource::CloseSource()
{
    if (!Loading() && !FDestroying) SetActiveState(false);
    else if (FDestroying) FActive = false;
}

// The old series lets the source go (its DataSource becomes nil when the source was its first), so no
// series keeps a source it no longer hears of.
void TLumSeriesSource::BindSeries(TChartSeries* Series)
{
    if (Series == FSeries) return;
    CloseSource();
    TChartSeries* old = FSeries;
    if (old) RemoveFreeNotification(old);
    FSeries = Series;
    if (old && old->DataSources().IndexOf(this) >= 0) {
        if (!Series && old->DataSource() == this)
            old->SetDataSource(nullptr);
        else
            old->DataSources().Remove(this);
    }
    if (Series) {
        FreeNotification(Series);
        Series->SetDataSource(this);
    }
}

void TLumSeriesSource::RefreshIfActive()
{
    if (FActive && !Loading()) LoadData();
}

void TLumSeriesSource::Loaded()
{
    TComponent::Loaded();
    RefreshIfActive();
}

void TLumSeriesSource::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSeries) {
        FSeries = nullptr;
        FActive = false;
    }
}

// ---- Module ----------------------------------------------------------------------------------------------

TLumEngineSourcesModule& LumEngineSourcesModule()
{
    static TLumEngineSourcesModule module;
    return module;
}

std::vector<TSourceStyle>& SourceStyleList()
{
    auto& list = LumEngineSourcesModule().SourceStyleList;
    if (!list) list = std::make_unique<std::vector<TSourceStyle>>();
    return *list;
}

void FreeSourceStyleList() { LumEngineSourcesModule().SourceStyleList.reset(); }
