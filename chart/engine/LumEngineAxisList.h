// The axis lists of a chart: TChartAxes holds every axis in a fixed order (bottom, top, left, right,
// depth, depth-top, then the custom axes in creation order) for layout, drawing, zoom and persistence;
// TChartCustomAxes owns the custom axes, which are stored with the chart.
#pragma once

#include "chart/engine/LumEngineTypes.h"

#include <functional>
#include <memory>
#include <vector>

class TChartAxes {
public:
    explicit TChartAxes(TCustomAxisPanel* Chart = nullptr) : FChart(Chart) {}

    TCustomAxisPanel* Chart() const { return FChart; }
    void SetChart(TCustomAxisPanel* Chart) { FChart = Chart; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // No range check beyond the vector's (callers pass 0..Count-1).
    TChartAxis* AxisAt(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }
    int IndexOf(const TChartAxis* Axis) const;
    // Axes enter and leave the list themselves, when created and destroyed.
    void Add(TChartAxis* Axis) { FItems.push_back(Axis); }
    void Remove(const TChartAxis* Axis);
    // Frees every custom axis and forgets the standard ones (the chart frees those).
    void Clear();

    TChartAxis& ChartBottomAxis() const;
    TChartAxis& ChartTopAxis() const;
    TChartAxis& ChartLeftAxis() const;
    TChartAxis& ChartRightAxis() const;
    TChartAxis& ChartDepthAxis() const;
    TChartAxis& ChartDepthTopAxis() const;
    bool ReadAxisBehind() const;
    bool ReadAxisVisible() const;
    void WriteAxisBehind(bool Value);
    void WriteAxisVisible(bool Value);

    // The pixels a tool wants beside an axis that is not shown (the data table); empty: none.
    std::function<int(TChartAxis& Axis, int Size)> OnAxisSpace;

private:
    TCustomAxisPanel* FChart;
    std::vector<TChartAxis*> FItems;
};

// The chart's custom axes, owned; streams write them as the chart's collection "CustomAxes".
class TChartCustomAxes : public TStreamedItems {
public:
    explicit TChartCustomAxes(TCustomAxisPanel& Chart) : FChart(Chart) {}
    ~TChartCustomAxes();
    TChartCustomAxes(const TChartCustomAxes&) = delete;
    TChartCustomAxes& operator=(const TChartCustomAxes&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TChartAxis& CustomAxisAt(int Index) const;
    int IndexOf(const TChartAxis* Axis) const;
    // A new custom axis (joining the chart's axis list).
    TChartAxis& Add();
    // Frees the axis; it leaves both lists.
    void Delete(int Index);
    void Remove(TChartAxis* Axis);
    void Clear();
    // Replaces the axes by copies of another chart's custom axes.
    void Assign(const TChartCustomAxes& Other);

    int StreamedCount() const override { return Count(); }
    const TPersistent& StreamedItem(int Index) const override;
    void BeginStreamedRead() override {}
    void EndStreamedRead() override {}
    void ClearStreamedItems() override { Clear(); }
    TPersistent& AddStreamedItem() override;

private:
    TCustomAxisPanel& FChart;
    std::vector<std::unique_ptr<TChartAxis>> FItems;
};
