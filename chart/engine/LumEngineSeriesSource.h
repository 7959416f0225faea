// Components that fill a series from elsewhere (TLumSeriesSource: opened, it loads its series; closed,
// the series' points go unless kept), and the list of source styles the series editor offers.
#pragma once

#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/Classes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TLumSeriesSource : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    // Closed.
    explicit TLumSeriesSource(TComponent* AOwner);
    // Closes first; the bound series lets it go.
    ~TLumSeriesSource() override;

    // Opening loads the series (not while loading); closing clears its points unless they are kept or
    // either side is being destroyed. Nothing when the state does not change.
    virtual void SetActiveState(bool Value);
    // Whether the source style is offered for a chart (the chart's acceptance and the series editor ask).
    virtual bool AcceptsChart(const TCustomAxisPanel&) const { return true; }
    // The caption of the source style in the series editor.
    virtual std::string StyleCaption() const { return {}; }
    // True when the series' DataSource is of this source's class.
    virtual bool FeedsSeries(const TChartSeries& Series) const;
    // SetActiveState(false), except while loading or being destroyed.
    virtual void CloseSource();
    // A concrete source fills its series here.
    virtual void LoadData() {}
    virtual void OpenSource() { SetActiveState(true); }

    bool Active() const { return FActive; }
    void SetActive(bool Value) { SetActiveState(Value); }
    // Closing keeps the series' points.
    bool KeepPoints() const { return FKeepPoints; }
    void SetKeepPoints(bool Value) { FKeepPoints = Value; }
    TChartSeries* Series() const { return FSeries; }
    // Closes, moves to the new series (whose DataSource it becomes); nil lets the old series go.
    void BindSeries(TChartSeries* Series);
    // LoadData when open and not loading.
    void RefreshIfActive();
    void Loaded() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Loading() const { return ComponentState().Contains(csLoading); }

    bool FActive = false;
    bool FKeepPoints = false;
    TChartSeries* FSeries = nullptr;
    bool FDestroying = false;
};

// A source style the series editor offers: the source class, whether it serves a chart, its caption.
struct TSourceStyle {
    const TClassInfo* Class = nullptr;
    std::function<bool(const TCustomAxisPanel&)> ServesChart;
    std::function<std::string()> Caption;
};

// The engine unit's module state beyond the value lists and axes.
struct TLumEngineSourcesModule {
    // Made on first use; nothing in this program registers a style.
    std::unique_ptr<std::vector<TSourceStyle>> SourceStyleList;
};
TLumEngineSourcesModule& LumEngineSourcesModule();
std::vector<TSourceStyle>& SourceStyleList();
// Frees the source styles (the unit's shut-down).
void FreeSourceStyleList();
