// The drag-point tool's mouse handling and its registration.
#include "chart/extras/LumDragPoint.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

namespace {

const TEnumNames DragStyleNames{"dsX", "dsY", "dsBoth"};

} // namespace

const TClassInfo& TDragPointTool::StaticClassInfo()
{
    using P = TProps<TDragPointTool>;
    using T = TDragPointTool;
    static const TClassInfo info({
        .Name = "TDragPointTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties = {P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                       P::Enumeration("DragStyle", DragStyleNames, &T::DragStyle, &T::SetDragStyle).Default(dsBoth)},
        .Create = &CreateComponentOf<TDragPointTool>,
    });
    return info;
}

TDragPointTool::TDragPointTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

std::string TDragPointTool::DescriptionText() const { return LumProCo::DragPoint; }

double TDragPointTool::ValueAtPixel(TChartAxis& Axis, int Pixel)
{
    if (Axis.Maximum() == Axis.Minimum()) {
        Axis.SetAutomaticMaximum(false);
        Axis.SetMaximum(Axis.Maximum() + 0.1 * 1e-12);
    }
    return Axis.PixelToValue(Pixel);
}

void TDragPointTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState, int X, int Y)
{
    TChartSeries* series = Series();
    if (Button != mbLeft || !series) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        FIndex = series->PointAtPixel(X, Y);
        if (FIndex != -1 && ParentChart()) ParentChart()->SetCancelMouse(true);
        break;
    case TChartMouseKind::Move: {
        if (FIndex == -1) return;
        series->BeginDataUpdate();
        if (FDragStyle != dsY)
            if (TChartAxis* h = series->GetHorizAxis()) series->ChangeXValueAt(FIndex, ValueAtPixel(*h, X));
        if (FDragStyle != dsX)
            if (TChartAxis* v = series->GetVertAxis()) series->ChangeYValueAt(FIndex, ValueAtPixel(*v, Y));
        series->EndDataUpdate();
        if (OnDragPoint) OnDragPoint(this, FIndex);
        break;
    }
    case TChartMouseKind::Release: {
        const int released = FIndex;
        FIndex = -1;
        if (OnDragPoint) OnDragPoint(this, released);
        break;
    }
    }
}

void LumDragPointInitialization() { RegisterToolClasses({&TDragPointTool::StaticClassInfo()}); }

void LumDragPointFinalization() { UnregisterToolClasses({&TDragPointTool::StaticClassInfo()}); }
