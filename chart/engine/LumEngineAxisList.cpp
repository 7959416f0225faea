// The chart's list of all axes and its owned custom axes.
#include "chart/engine/LumEngineAxisList.h"

#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"

#include <algorithm>

// ---- TChartAxes ----------------------------------------------------------------------------------------

int TChartAxes::IndexOf(const TChartAxis* Axis) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Axis);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TChartAxes::Remove(const TChartAxis* Axis)
{
    const int i = IndexOf(Axis);
    if (i >= 0) FItems.erase(FItems.begin() + i);
}

void TChartAxes::Clear()
{
    if (FChart) FChart->CustomAxes().Clear();
    FItems.clear();
}

TChartAxis& TChartAxes::ChartBottomAxis() const { return FChart->BottomAxis(); }
TChartAxis& TChartAxes::ChartTopAxis() const { return FChart->TopAxis(); }
TChartAxis& TChartAxes::ChartLeftAxis() const { return FChart->LeftAxis(); }
TChartAxis& TChartAxes::ChartRightAxis() const { return FChart->RightAxis(); }
TChartAxis& TChartAxes::ChartDepthAxis() const { return FChart->DepthAxis(); }
TChartAxis& TChartAxes::ChartDepthTopAxis() const { return FChart->DepthTopAxis(); }
bool TChartAxes::ReadAxisBehind() const { return FChart->AxisBehind(); }
bool TChartAxes::ReadAxisVisible() const { return FChart->AxisVisible(); }
void TChartAxes::WriteAxisBehind(bool Value) { FChart->SetAxisBehind(Value); }
void TChartAxes::WriteAxisVisible(bool Value) { FChart->SetAxisVisible(Value); }

// ---- TChartCustomAxes ----------------------------------------------------------------------------------

TChartCustomAxes::~TChartCustomAxes() { Clear(); }

TChartAxis& TChartCustomAxes::CustomAxisAt(int Index) const
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    return *FItems[static_cast<std::size_t>(Index)];
}

int TChartCustomAxes::IndexOf(const TChartAxis* Axis) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].get() == Axis) return i;
    return -1;
}

TChartAxis& TChartCustomAxes::Add()
{
    FItems.push_back(std::make_unique<TChartAxis>(FChart, this));
    return *FItems.back();
}

void TChartCustomAxes::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    std::unique_ptr<TChartAxis> axis = std::move(FItems[static_cast<std::size_t>(Index)]);
    FItems.erase(FItems.begin() + Index);
    axis.reset();
}

void TChartCustomAxes::Remove(TChartAxis* Axis)
{
    const int i = IndexOf(Axis);
    if (i >= 0) Delete(i);
}

void TChartCustomAxes::Clear()
{
    while (!FItems.empty()) Delete(Count() - 1);
}

const TPersistent& TChartCustomAxes::StreamedItem(int Index) const { return CustomAxisAt(Index); }

TPersistent& TChartCustomAxes::AddStreamedItem() { return Add(); }

void TChartCustomAxes::Assign(const TChartCustomAxes& Other)
{
    if (&Other == this) return;
    Clear();
    for (const auto& axis : Other.FItems) Add().Assign(*axis);
}
