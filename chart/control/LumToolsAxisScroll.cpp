// The axis arrows (drawing, hit test, scrolling by a percentage with the chart's permission) and the
// axis scroll tool (the axis under the mouse and the drag that pans it and its partners).
#include "chart/control/LumToolsAxisScroll.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartControl.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>
#include <cstdlib>

const TClassInfo& TAxisArrowTool::StaticClassInfo()
{
    using P = TProps<TAxisArrowTool>;
    using T = TAxisArrowTool;
    static const TClassInfo info({
        .Name = "TAxisArrowTool",
        .Parent = &TLumCustomToolAxis::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Enumeration("Position", AxisArrowToolPositionNames, &T::Position, &T::SetPosition).Default(aaBoth),
                P::Object("Brush", [](const T& t) -> TPersistent* { return &t.Brush(); }),
                P::Integer("HeadWidth", &T::HeadWidth, &T::SetHeadWidth).Default(8),
                P::Integer("Length", &T::Length, &T::SetLength).Default(16),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Boolean("ScrollInverted", [](const T& t) { return t.ScrollInverted; },
                           [](T& t, bool v) { t.ScrollInverted = v; })
                    .Default(false),
                P::Integer("ScrollPercent", [](const T& t) { return t.ScrollPercent; }, [](T& t, int v) { t.ScrollPercent = v; })
                    .Default(10),
                P::Integer("SizePercent", &T::SizePercent, &T::SetSizePercent).Default(50),
            },
        .Create = &CreateComponentOf<TAxisArrowTool>,
    });
    return info;
}

const TClassInfo& TAxisScrollTool::StaticClassInfo()
{
    using P = TProps<TAxisScrollTool>;
    using T = TAxisScrollTool;
    static const TClassInfo info({
        .Name = "TAxisScrollTool",
        .Parent = &TLumCustomToolAxis::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Boolean("ScrollInverted", [](const T& t) { return t.ScrollInverted; },
                           [](T& t, bool v) { t.ScrollInverted = v; })
                    .Default(false),
            },
        .Create = &CreateComponentOf<TAxisScrollTool>,
    });
    return info;
}

void ScrollAxisByFraction(TChartAxis& Axis, double Fraction)
{
    if (!Axis.Logarithmic()) {
        Axis.ScrollBy(false, Fraction * (Axis.Maximum() - Axis.Minimum()));
        return;
    }
    double lo = 0, hi = 0;
    if (ShiftedAxisRange(Axis, Fraction, lo, hi)) Axis.SetFixedRange(lo, hi);
}

namespace {

// Whether a series of the chart uses both axes.
bool ShareASeries(const TCustomAxisPanel& Chart, const TChartAxis& A, const TChartAxis& B)
{
    const TChartSeriesList& list = Chart.SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (list.SeriesAt(i)->UsesAxis(&A) && list.SeriesAt(i)->UsesAxis(&B)) return true;
    return false;
}

} // namespace

// ---- Axis arrows -----------------------------------------------------------------------------------------

TAxisArrowTool::TAxisArrowTool(TComponent* AOwner) : TLumCustomToolAxis(AOwner) {}

std::string TAxisArrowTool::DescriptionText() const { return LumProCo::AxisArrowsTool; }

void TAxisArrowTool::SetPosition(TAxisArrowToolPosition Value)
{
    if (FPosition == Value) return;
    FPosition = Value;
    InvalidateChart();
}

void TAxisArrowTool::NotifyChartStage(int Stage)
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* axis = Axis();
    if (Stage != 0 || !chart || !axis) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectBrush(Brush(), Brush().Color());
    canvas.SelectPen(Pen());
    const int z = chart->View3D() && axis->OtherSide() ? chart->Width3D() : 0;
    const int p = axis->AxisPosition;
    const auto point = [&](int along) { return axis->Horizontal() ? TPoint{along, p} : TPoint{p, along}; };
    const int head = std::min(FHeadWidth, std::abs(FLength));
    if (FPosition != aaEnd)
        canvas.DrawArrowWithBody(true, point(axis->StartPixel + FLength), point(axis->StartPixel), FHeadWidth, head, z, FSizePercent);
    if (FPosition != aaStart)
        canvas.DrawArrowWithBody(true, point(axis->EndPixel - FLength), point(axis->EndPixel), FHeadWidth, head, z, FSizePercent);
}

int TAxisArrowTool::ArrowAt(int X, int Y) const
{
    const TChartAxis* axis = Axis();
    if (!axis) return -1;
    const int a = axis->Horizontal() ? Y : X, b = axis->Horizontal() ? X : Y;
    if (std::abs(a - axis->AxisPosition) > 2) return -1;
    if (FPosition != aaEnd && b > axis->StartPixel && b < axis->StartPixel + FLength) return 0;
    if (FPosition != aaStart && b > axis->EndPixel - FLength && b < axis->EndPixel) return 1;
    return -1;
}

void TAxisArrowTool::ScrollAxis(double Fraction)
{
    TChartAxis* axis = Axis();
    auto* chart = dynamic_cast<TCustomChart*>(ParentChart());
    if (!axis || !chart) return;
    double lo = 0, hi = 0;
    if (!ShiftedAxisRange(*axis, Fraction, lo, hi)) return;
    bool allow = true;
    if (chart->OnAllowScroll) chart->OnAllowScroll(axis, lo, hi, allow);
    if (!allow) return;
    ScrollAxisByFraction(*axis, Fraction);
    const bool horizontal = axis->Horizontal();
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        const TChartSeries* s = list.SeriesAt(i);
        const bool both = horizontal ? s->HorizAxis() == aBothHorizAxis : s->VertAxis() == aBothVertAxis;
        if (!both || !s->UsesAxis(axis)) continue;
        TChartAxis* other = horizontal ? (axis == &chart->TopAxis() ? &chart->BottomAxis() : &chart->TopAxis())
                                       : (axis == &chart->RightAxis() ? &chart->LeftAxis() : &chart->RightAxis());
        if (other != axis) ScrollAxisByFraction(*other, Fraction);
        break;
    }
    if (chart->OnScroll) chart->OnScroll(chart);
}

void TAxisArrowTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* axis = Axis();
    if (!chart || !axis || !axis->Visible()) return;
    const int arrow = ArrowAt(X, Y);
    if (Kind == TChartMouseKind::Press) {
        if (ScrollPercent == 0 || arrow == -1) return;
        double fraction = ScrollPercent / 100.0;
        if (ScrollInverted) fraction = -fraction;
        ScrollAxis(arrow == 0 ? fraction : -fraction);
        chart->SetCancelMouse(true);
        if (OnClick) OnClick(this, arrow == 0);
    } else if (Kind == TChartMouseKind::Move && arrow != -1) {
        chart->SetCursor(crHandPoint);
        chart->SetCancelMouse(true);
    }
}

// ---- Axis scroll -----------------------------------------------------------------------------------------

std::string TAxisScrollTool::DescriptionText() const { return LumProCo::AxisScroll; }

TChartAxis* TAxisScrollTool::AxisUnderMouse(int X, int Y) const
{
    if (TChartAxis* axis = Axis()) return axis->Visible() && axis->HitTest(X, Y) ? axis : nullptr;
    const TCustomAxisPanel* chart = ParentChart();
    if (!chart) return nullptr;
    for (int i = 0; i < chart->Axes().Count(); ++i) {
        TChartAxis* axis = chart->Axes().AxisAt(i);
        if (axis->Visible() && axis->HitTest(X, Y)) return axis;
    }
    return nullptr;
}

void TAxisScrollTool::Drag(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    TChartAxis& axis = *DragAxis;
    const bool horizontal = axis.Horizontal();
    double d = horizontal ? LastMouse.x - X : LastMouse.y - Y;
    if (axis.Inverted()) d = -d;
    if (horizontal == ScrollInverted) d = -d;
    const auto scroll = [d](TChartAxis& a) {
        const int length = a.EndPixel - a.StartPixel;
        if (length != 0) ScrollAxisByFraction(a, d / length);
    };
    scroll(axis);
    for (int i = 0; i < chart->Axes().Count(); ++i) {
        TChartAxis* other = chart->Axes().AxisAt(i);
        if (other != &axis && other->Horizontal() == horizontal && !other->IsDepthAxis() && ShareASeries(*chart, axis, *other))
            scroll(*other);
    }
    LastMouse = {X, Y};
    chart->SetCancelMouse(true);
}

void TAxisScrollTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !Active()) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        DragAxis = AxisUnderMouse(X, Y);
        LastMouse = {X, Y};
        break;
    case TChartMouseKind::Move:
        if (DragAxis) {
            Drag(X, Y);
        } else if (AxisUnderMouse(X, Y)) {
            chart->SetCursor(crHandPoint);
            chart->SetCancelMouse(true);
        }
        break;
    case TChartMouseKind::Release: DragAxis = nullptr; break;
    }
}
