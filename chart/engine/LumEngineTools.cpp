// The tool base classes and the chart's tool list.
#include "chart/engine/LumEngineTools.h"

#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>
#include <variant>

// ---- TLumCustomTool ------------------------------------------------------------------------------------

const TClassInfo& TLumCustomTool::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumCustomTool", .Parent = &TCustomChartElement::StaticClassInfo()});
    return info;
}

TLumCustomTool::TLumCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TLumCustomTool::~TLumCustomTool()
{
    if (ParentChart()) ParentChart()->Tools().Remove(this);
    ForgetParentChart();
}

void TLumCustomTool::SetParentChart(TCustomAxisPanel* Value)
{
    TCustomAxisPanel* old = ParentChart();
    if (old == Value) return;
    if (old) {
        old->Tools().Remove(this);
        if (!Value) old->Invalidate();
    }
    TCustomChartElement::SetParentChart(Value);
    if (Value) Value->Tools().Append(this);
}

// ---- TLumCustomToolSeries ------------------------------------------------------------------------------

const TClassInfo& TLumCustomToolSeries::StaticClassInfo()
{
    using P = TProps<TLumCustomToolSeries>;
    static const TClassInfo info({
        .Name = "TLumCustomToolSeries",
        .Parent = &TLumCustomTool::StaticClassInfo(),
        .Properties = {P::Reference("Series", [](const TLumCustomToolSeries& t) -> TPersistent* { return t.Series(); },
                                    &TLumCustomToolSeries::SetSeries)},
    });
    return info;
}

void TLumCustomToolSeries::SetSeries(TChartSeries* Value)
{
    if (FSeries == Value) return;
    if (FSeries) RemoveFreeNotification(FSeries);
    FSeries = Value;
    if (FSeries) FreeNotification(FSeries);
}

void TLumCustomToolSeries::Notification(TComponent* AComponent, TOperation Operation)
{
    TLumCustomTool::Notification(AComponent, Operation);
    if (Operation == opRemove && FSeries && AComponent == FSeries) SetSeries(nullptr);
}

TChartAxis* TLumCustomToolSeries::GetHorizAxis() const
{
    if (FSeries) return FSeries->GetHorizAxis();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return nullptr;
    if (!chart->AxisHasSeries(chart->BottomAxis(), false) && chart->AxisHasSeries(chart->TopAxis(), false))
        return &chart->TopAxis();
    return &chart->BottomAxis();
}

TChartAxis* TLumCustomToolSeries::GetVertAxis() const
{
    if (FSeries) return FSeries->GetVertAxis();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return nullptr;
    if (!chart->AxisHasSeries(chart->LeftAxis(), false) && chart->AxisHasSeries(chart->RightAxis(), false))
        return &chart->RightAxis();
    return &chart->LeftAxis();
}

// ---- TLumCustomToolAxis --------------------------------------------------------------------------------

const TClassInfo& TLumCustomToolAxis::StaticClassInfo()
{
    using P = TProps<TLumCustomToolAxis>;
    static const TClassInfo info({
        .Name = "TLumCustomToolAxis",
        .Parent = &TLumCustomTool::StaticClassInfo(),
        .Defined = {P::DefinedValue(
            "AxisID", TPropKind::Integer, &TLumCustomToolAxis::ReadAxisID,
            [](const TLumCustomToolAxis& t) -> TPropValue { return t.AxisID(); },
            [](const TLumCustomToolAxis& t) { return t.Axis() != nullptr; })},
    });
    return info;
}

void TLumCustomToolAxis::SetAxis(TChartAxis* Value)
{
    if (FAxis == Value) return;
    FAxis = Value;
    SetParentChart(Value ? Value->ParentChart() : nullptr);
    InvalidateChart();
}

std::int64_t TLumCustomToolAxis::AxisID() const
{
    return FAxis ? FAxis->ParentChart()->Axes().IndexOf(FAxis) : -1;
}

void TLumCustomToolAxis::ReadAxisID(const TPropValue& Value)
{
    const auto* index = std::get_if<std::int64_t>(&Value);
    TCustomAxisPanel* chart = ParentChart();
    if (!index || !chart || *index < 0 || *index >= chart->Axes().Count()) return;
    SetAxis(chart->Axes().AxisAt(static_cast<int>(*index)));
}

// ---- TChartTools ---------------------------------------------------------------------------------------

TLumCustomTool* TChartTools::GetTool(int Index) const
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    return FItems[static_cast<std::size_t>(Index)];
}

int TChartTools::IndexOf(const TLumCustomTool* Tool) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Tool);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TLumCustomTool* TChartTools::AddTool(TLumCustomTool* Tool)
{
    if (Tool) Tool->SetParentChart(FChart);
    return Tool;
}

void TChartTools::Remove(const TLumCustomTool* Tool)
{
    const int i = IndexOf(Tool);
    if (i >= 0) FItems.erase(FItems.begin() + i);
}

void TChartTools::Clear()
{
    while (!FItems.empty()) {
        TLumCustomTool* tool = FItems.front();
        const std::size_t before = FItems.size();
        tool->Free();
        if (FItems.size() == before) FItems.erase(FItems.begin());
    }
}

void TChartTools::ForgetAxis(const TChartAxis* Axis)
{
    for (TLumCustomTool* tool : FItems)
        if (auto* axisTool = dynamic_cast<TLumCustomToolAxis*>(tool); axisTool && axisTool->Axis() == Axis)
            axisTool->ForgetAxis();
}
