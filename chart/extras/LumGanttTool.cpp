// The gantt drag tool's mouse handling, cursor feedback and registration.
#include "chart/extras/LumGanttTool.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/extras/GanttCh.h"

#include <cstdlib>

const TClassInfo& TGanttTool::StaticClassInfo()
{
    using P = TProps<TGanttTool>;
    using T = TGanttTool;
    static const TClassInfo info({
        .Name = "TGanttTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties = {P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                       P::Boolean("AllowDrag", &T::AllowDrag, &T::SetAllowDrag).Default(true),
                       P::Boolean("AllowResize", &T::AllowResize, &T::SetAllowResize).Default(true),
                       P::Integer("CursorDrag", &T::CursorDrag, &T::SetCursorDrag).Default(crHandPoint),
                       P::Integer("CursorResize", &T::CursorResize, &T::SetCursorResize).Default(crSizeWE),
                       P::Integer("MinPixels", &T::MinPixels, &T::SetMinPixels).Default(5)},
        .Create = &CreateComponentOf<TGanttTool>,
    });
    return info;
}

TGanttTool::TGanttTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

std::string TGanttTool::DescriptionText() const { return LumProCo::GanttDrag; }

int TGanttTool::BarEndAt(int X, int Y, TGanttToolBarPart& Part) const
{
    const auto* gantt = dynamic_cast<const TGanttSeries*>(Series());
    const TChartAxis* horiz = gantt ? gantt->GetHorizAxis() : nullptr;
    const TChartAxis* vert = gantt ? gantt->GetVertAxis() : nullptr;
    if (!horiz || !vert) return -1;
    const int h = gantt->Pointer().VertSize() / 2;
    for (int i = 0; i < gantt->PointCount(); ++i) {
        const int row = vert->CalcPosValue(gantt->YValueAt(i));
        if (Y < row - h || Y > row + h) continue;
        if (std::abs(X - horiz->CalcPosValue(gantt->XValueAt(i))) < FMinPixels) {
            Part = pbStart;
            return i;
        }
        if (std::abs(X - horiz->CalcPosValue(gantt->EndValues().ValueAt(i))) < FMinPixels) {
            Part = pbEnd;
            return i;
        }
    }
    return -1;
}

void TGanttTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int X, int Y)
{
    auto* gantt = dynamic_cast<TGanttSeries*>(Series());
    TCustomAxisPanel* chart = ParentChart();
    TChartAxis* horiz = gantt ? gantt->GetHorizAxis() : nullptr;
    if (!gantt || !chart || !horiz) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        FBar = -1;
        FLastValue = horiz->PixelToValue(X);
        if (FAllowResize) FBar = BarEndAt(X, Y, FPart);
        if (FBar == -1 && FAllowDrag) {
            FBar = gantt->PointAtPixel(X, Y);
            FPart = pbAll;
        }
        break;
    case TChartMouseKind::Move: {
        if (FBar == -1) {
            TGanttToolBarPart part;
            if (FAllowResize && BarEndAt(X, Y, part) != -1) {
                chart->SetCursor(FCursorResize);
                chart->SetCancelMouse(true);
            }
            if (FAllowDrag && gantt->PointAtPixel(X, Y) != -1) {
                chart->SetCursor(FCursorDrag);
                chart->SetCancelMouse(true);
            }
            return;
        }
        if (FBar >= gantt->PointCount()) {
            FBar = -1;
            return;
        }
        const double v = horiz->PixelToValue(X);
        const double delta = v - FLastValue;
        TChartValueList& start = gantt->StartValues();
        TChartValueList& end = gantt->EndValues();
        switch (FPart) {
        case pbAll:
            start.StoreValueAt(FBar, start.ValueAt(FBar) + delta);
            end.StoreValueAt(FBar, end.ValueAt(FBar) + delta);
            if (OnDragBar) OnDragBar(this, FBar);
            break;
        case pbEnd:
            end.StoreValueAt(FBar, end.ValueAt(FBar) + delta);
            if (start.ValueAt(FBar) > end.ValueAt(FBar)) end.SetValueAt(FBar, start.ValueAt(FBar));
            if (OnResizeBar) OnResizeBar(this, FBar, pbEnd);
            break;
        case pbStart:
            start.StoreValueAt(FBar, start.ValueAt(FBar) + delta);
            if (end.ValueAt(FBar) < start.ValueAt(FBar)) start.SetValueAt(FBar, end.ValueAt(FBar));
            if (OnResizeBar) OnResizeBar(this, FBar, pbStart);
            break;
        }
        FLastValue = v;
        if (gantt->ParentChart()) gantt->ParentChart()->Invalidate();
        break;
    }
    case TChartMouseKind::Release: FBar = -1; break;
    }
}

void LumGanttToolInitialization()
{
    RegisterToolClasses({&TGanttTool::StaticClassInfo()});
}

void LumGanttToolFinalization() { UnregisterToolClasses({&TGanttTool::StaticClassInfo()}); }
