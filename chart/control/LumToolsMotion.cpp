// The rotate tool (angles from mouse steps, the outline drawn between paints while repainting waits), the
// drag-marks tool, the series animation (its passes, groups and steps, and its end when what it animates
// is freed from inside a step) and the clip-series tool (a clip around its series' drawing events).
#include "chart/control/LumToolsMotion.h"

#include "chart/base/LumCanvasGdi.h"
#include "chart/base/LumProCo.h"
#include "chart/base/RadErareZoom.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineValues.h"
#include "platform/controls/Application.h"

#include <algorithm>
#include <vector>

// ---- Rotate ----------------------------------------------------------------------------------------------

const TClassInfo& TRotateTool::StaticClassInfo()
{
    using P = TProps<TRotateTool>;
    using T = TRotateTool;
    static const TClassInfo info({
        .Name = "TRotateTool",
        .Parent = &TLumCustomTool::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Enumeration("Button", ZoomMouseButtonNames, [](const T& t) { return t.Button; },
                               [](T& t, TMouseButton v) { t.Button = v; })
                    .Default(mbLeft),
                P::Boolean("Inverted", [](const T& t) { return t.Inverted; }, [](T& t, bool v) { t.Inverted = v; })
                    .Default(false),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Enumeration("Style", RotateToolStylesNames, [](const T& t) { return t.Style; },
                               [](T& t, TRotateToolStyles v) { t.Style = v; })
                    .Default(rsAll),
            },
        .Create = &CreateComponentOf<TRotateTool>,
    });
    return info;
}

TRotateTool::TRotateTool(TComponent* AOwner) : TLumCustomTool(AOwner)
{
    ReplacePen(std::make_unique<TChartHiddenPen>([this](TPersistent* s) { StyleChanged(s); }));
    Pen().SetMode(pmXor);
    Pen().SetColor(clWhite);
}

TRotateTool::~TRotateTool() { EndRotation(); }

std::string TRotateTool::DescriptionText() const { return LumProCo::RotateTool; }

void TRotateTool::SetActive(bool Value)
{
    if (!Value) EndRotation();
    TLumCustomTool::SetActive(Value);
}

void TRotateTool::SetParentChart(TCustomAxisPanel* Value)
{
    if (Value != ParentChart()) EndRotation();
    TLumCustomTool::SetParentChart(Value);
}

void TRotateTool::EndRotation()
{
    Rotating = false;
    if (!FOutlined) return;
    FOutlined = false;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || chart->IsDestroying()) return;
    chart->SetAutoRepaint(SavedRepaint);
    chart->Invalidate();
}

void TRotateTool::DrawOutline()
{
    TCustomAxisPanel& chart = *ParentChart();
    TToolRasterDrawing xorDrawing(chart, pmXor);
    xorDrawing.SelectPen(Pen());
    TCanvas3D& c = xorDrawing.Canvas();
    c.Brush().SetStyle(bsClear);
    const TRect r = chart.ChartRect();
    const int depth = chart.Width3D();
    c.DrawRectAtDepth(r, 0);
    // A chart without depth (a 2-D chart until its first 3-D paint) has one rectangle: drawn twice in
    // exclusive-or it would take itself away.
    if (depth == 0) return;
    c.DrawRectAtDepth(r, depth);
    c.DrawDepthLine(r.Left, r.Top, 0, depth);
    c.DrawDepthLine(r.Right, r.Top, 0, depth);
    c.DrawDepthLine(r.Right, r.Bottom, 0, depth);
    c.DrawDepthLine(r.Left, r.Bottom, 0, depth);
}

void TRotateTool::Turn(int X, int Y)
{
    TCustomAxisPanel& chart = *ParentChart();
    // A plot without width (height) gives no scale for the mouse: that direction does not turn.
    double a = chart.ChartWidth() > 0 ? (X - LastMouse.x) * 90.0 / chart.ChartWidth() : 0;
    double b = chart.ChartHeight() > 0 ? (LastMouse.y - Y) * 90.0 / chart.ChartHeight() : 0;
    if (Inverted) {
        a = -a;
        b = -b;
    }
    const bool outline = Pen().Visible();
    if (outline) {
        if (!FOutlined) {
            SavedRepaint = chart.AutoRepaint();
            chart.SetAutoRepaint(false);
            FOutlined = true;
        } else {
            DrawOutline();
        }
        FirstMove = false;
    }
    chart.SetView3D(true);
    TView3DOptions& view = chart.View3DOptions();
    view.SetOrthogonal(false);
    // The device canvas keeps the elevation between 270 and 360, where its projection is sound.
    if (Style != rsElevation) {
        double rotation = view.RotationValue() + a;
        if (rotation > 360) rotation -= 360;
        else if (rotation < 0) rotation += 360;
        view.SetRotationValue(rotation);
    }
    if (Style != rsRotation) {
        const double elevation = view.ElevationValue();
        if (b > 0) view.SetElevationValue(std::min(elevation + b, 360.0));
        else if (b < 0) view.SetElevationValue(std::max(elevation + b, 270.0));
    }
    LastMouse = {X, Y};
    chart.SetCancelMouse(true);
    if (outline) {
        if (auto* device = dynamic_cast<TLumCanvas3D*>(&chart.ChartCanvas()))
            device->ProjectNonOrthogonal(chart.Width3D(), chart.ChartRect());
        DrawOutline();
    }
    if (OnRotate) OnRotate(this);
}

void TRotateTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton MouseButton, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        if (MouseButton != Button) break;
        Rotating = true;
        LastMouse = {X, Y};
        FirstMove = true;
        chart->SetCancelMouse(true);
        break;
    case TChartMouseKind::Move:
        if (Rotating) Turn(X, Y);
        break;
    case TChartMouseKind::Release:
        if (Rotating) EndRotation();
        break;
    }
}

// ---- Drag marks ------------------------------------------------------------------------------------------

const TClassInfo& TDragMarksTool::StaticClassInfo()
{
    using P = TProps<TDragMarksTool>;
    using T = TDragMarksTool;
    static const TClassInfo info({
        .Name = "TDragMarksTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties = {P::Boolean("Active", &T::Active, &T::SetActive).Default(true)},
        .Create = &CreateComponentOf<TDragMarksTool>,
    });
    return info;
}

std::string TDragMarksTool::DescriptionText() const { return LumProCo::DragMarksTool; }

void TDragMarksTool::SetSeries(TChartSeries* Value)
{
    TLumCustomToolSeries::SetSeries(Value);
    RenewSeriesLink(*this, FDragSeries);
}

void TDragMarksTool::Notification(TComponent* AComponent, TOperation Operation)
{
    TLumCustomToolSeries::Notification(AComponent, Operation);
    if (Operation == opRemove) ForgetSeriesLink(FDragSeries, AComponent);
}

TChartSeries* TDragMarksTool::MarkAt(int X, int Y, int& Index) const
{
    const auto hit = [&](TChartSeries* s) {
        if (!s->Active() || !s->Marks().Visible()) return false;
        Index = s->Marks().MarkAtPoint(X, Y);
        return Index != -1;
    };
    if (TChartSeries* s = Series()) return hit(s) ? s : nullptr;
    const TCustomAxisPanel* chart = ParentChart();
    if (!chart) return nullptr;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = list.Count() - 1; i >= 0; --i)
        if (hit(list.SeriesAt(i))) return list.SeriesAt(i);
    return nullptr;
}

void TDragMarksTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    switch (Kind) {
    case TChartMouseKind::Press: {
        int index = -1;
        if (TChartSeries* s = MarkAt(X, Y, index)) {
            LinkSeries(*this, FDragSeries, s);
            DragIndex = index;
            LastMouse = {X, Y};
            chart->SetCancelMouse(true);
        }
        break;
    }
    case TChartMouseKind::Move:
        if (DragIndex != -1 && FDragSeries) {
            if (TSeriesMarkPosition* p = FDragSeries->Marks().Positions().PositionAt(DragIndex)) {
                const int dx = X - LastMouse.x, dy = Y - LastMouse.y;
                p->Custom = true;
                p->LeftTop = {p->LeftTop.x + dx, p->LeftTop.y + dy};
                p->ArrowTo = {p->ArrowTo.x + dx, p->ArrowTo.y + dy};
            }
            LastMouse = {X, Y};
            chart->SetCancelMouse(true);
            chart->Invalidate();
        } else {
            int index = -1;
            if (MarkAt(X, Y, index)) {
                chart->SetCursor(crHandPoint);
                chart->SetCancelMouse(true);
            }
        }
        break;
    case TChartMouseKind::Release: DragIndex = -1; break;
    }
}

// ---- Series animation ------------------------------------------------------------------------------------

const TClassInfo& TSeriesAnimationTool::StaticClassInfo()
{
    using P = TProps<TSeriesAnimationTool>;
    using T = TSeriesAnimationTool;
    static const TClassInfo info({
        .Name = "TSeriesAnimationTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Integer("DrawEvery", [](const T& t) { return t.DrawEvery; }, [](T& t, int v) { t.DrawEvery = v; })
                    .Default(0),
                P::Enumeration("Loop", SeriesAnimationLoopNames, [](const T& t) { return t.Loop; },
                               [](T& t, TSeriesAnimationLoop v) { t.Loop = v; })
                    .Default(salNo),
                P::Boolean("StartAtMin", [](const T& t) { return t.StartAtMin; }, [](T& t, bool v) { t.StartAtMin = v; })
                    .Default(true),
                P::Real("StartValue", [](const T& t) { return t.StartValue; }, [](T& t, double v) { t.StartValue = v; })
                    .Default(0.0),
                P::Integer("Steps", [](const T& t) { return t.Steps; }, [](T& t, int v) { t.Steps = v; }).Default(100),
            },
        .Create = &CreateComponentOf<TSeriesAnimationTool>,
    });
    return info;
}

std::string TSeriesAnimationTool::DescriptionText() const { return LumProCo::SeriesAnimation; }

namespace {

// Told when the animated series or the tool is freed: the message loop that runs inside every stage may
// run the user's commands, which may free either.
class TAnimationWatch : public TComponent {
public:
    TAnimationWatch(TComponent* Tool, TComponent* Series) : TComponent(nullptr), FTool(Tool), FSeries(Series)
    {
        FreeNotification(Tool);
        FreeNotification(Series);
    }
    bool ToolGone = false;
    bool SeriesGone = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        if (AComponent == FTool) ToolGone = true;
        if (AComponent == FSeries) SeriesGone = true;
    }

private:
    TComponent* FTool;
    TComponent* FSeries;
};

} // namespace

void TSeriesAnimationTool::Execute()
{
    TChartSeries* series = Series();
    if (!series || !FIdle) return;
    // The real values; kept here, not in the tool, so that they outlive a tool freed in a stage.
    const TChartValueList& values = series->MandatoryValues();
    std::vector<double> real(values.Values(), values.Values() + values.ValueCount());
    const TSeriesAnimationStep step = OnStep;
    TAnimationWatch watch(this, series);
    series->BeginDataUpdate();
    FIdle = false;

    const auto put = [&](const auto& valueOf) {
        TChartValueList& list = series->MandatoryValues();
        const int n = std::min(static_cast<int>(real.size()), list.ValueCount());
        for (int j = 0; j < n; ++j) list.StoreValueAt(j, valueOf(j));
    };
    const auto putRange = [&](int first, int last, double f, double g) {
        TChartValueList& list = series->MandatoryValues();
        last = std::min(last, std::min(static_cast<int>(real.size()), list.ValueCount()));
        for (int j = first; j < last; ++j) list.StoreValueAt(j, f * real[std::size_t(j)] + g);
    };
    const auto alive = [&] { return !watch.ToolGone && !watch.SeriesGone; };
    // The chart shows the values, and the user's commands run; false when something was freed meanwhile.
    const auto refresh = [&] {
        if (TCustomAxisPanel* chart = series->ParentChart()) chart->Invalidate();
        Application->ProcessMessages();
        return alive();
    };
    const auto restore = [&] { put([&](int j) { return real[std::size_t(j)]; }); };
    // One pass; false when the series or the tool went.
    const auto pass = [&](bool forward) {
        const int count = static_cast<int>(real.size());
        double s = StartValue;
        if (StartAtMin && count > 0) s = *std::min_element(real.begin(), real.end());
        put([&](int) { return s; });
        if (!refresh()) return false;
        const int every = DrawEvery > 0 ? DrawEvery : std::max(count, 1);
        const int steps = Steps;
        for (int first = 0; first < count && steps >= 0; first += every) {
            for (int e = 0; e <= steps; ++e) {
                double f = 1, g = 0;
                if (steps > 0) {
                    const double d = 1.0 / steps;
                    f = e * d;
                    g = s - s * f;
                    if (!forward && Loop == salCircular) {
                        g = 0;
                        f = d * (steps - e);
                    }
                }
                putRange(first, first + every, f, g);
                if (step) {
                    step(this, e);
                    if (!alive()) return false;
                }
                if (!refresh()) return false;
                if (FIdle) {
                    restore();
                    return refresh();
                }
            }
        }
        restore();
        return refresh();
    };

    try {
        bool going = true;
        if (Loop == salNo) {
            going = pass(true);
        } else {
            for (bool forward = true; going && !FIdle; forward = !forward) going = pass(forward);
        }
        if (!watch.SeriesGone) {
            if (!going) restore();
            series->EndDataUpdate();
        }
        if (!watch.ToolGone) FIdle = true;
    } catch (...) {
        if (!watch.SeriesGone) {
            restore();
            series->EndDataUpdate();
        }
        if (!watch.ToolGone) FIdle = true;
        throw;
    }
}

// ---- Clip series -----------------------------------------------------------------------------------------

const TClassInfo& TClipSeriesTool::StaticClassInfo()
{
    using P = TProps<TClipSeriesTool>;
    using T = TClipSeriesTool;
    static const TClassInfo info({
        .Name = "TClipSeriesTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties = {P::Boolean("Active", &T::Active, &T::SetActive).Default(true)},
        .Create = &CreateComponentOf<TClipSeriesTool>,
    });
    return info;
}

TClipSeriesTool::~TClipSeriesTool() { Unbind(); }

std::string TClipSeriesTool::DescriptionText() const { return LumProCo::ClipSeries; }

void TClipSeriesTool::Unbind()
{
    if (TChartSeries* s = Series(); s && !FSeriesGoing) {
        s->BeforeDrawValues = nullptr;
        s->AfterDrawValues = nullptr;
    }
}

void TClipSeriesTool::SetSeries(TChartSeries* Value)
{
    Unbind();
    TLumCustomToolSeries::SetSeries(Value);
    if (TChartSeries* s = Series()) {
        s->BeforeDrawValues = [this](TPersistent*) { ClipStart(); };
        s->AfterDrawValues = [this](TPersistent*) { ClipEnd(); };
    }
}

void TClipSeriesTool::Notification(TComponent* AComponent, TOperation Operation)
{
    // The series tells its tools from the end of its destruction: its members are gone by then.
    FSeriesGoing = Operation == opRemove && AComponent && AComponent == Series();
    TLumCustomToolSeries::Notification(AComponent, Operation);
    FSeriesGoing = false;
}

void TClipSeriesTool::ClipStart()
{
    TChartSeries* s = Series();
    TCustomAxisPanel* chart = s ? s->ParentChart() : nullptr;
    if (!Active() || !chart || !chart->ClippingAllowed() || !s->GetHorizAxis() || !s->GetVertAxis()) return;
    const TChartAxis& h = *s->GetHorizAxis();
    const TChartAxis& v = *s->GetVertAxis();
    const TRect r{h.StartPixel, v.StartPixel, h.EndPixel, v.EndPixel};
    // In 3-D the series is drawn projected: the clip is the projected box of the rectangle over the
    // chart's depth, not the flat rectangle.
    if (chart->View3D()) chart->ChartCanvas().ClipToBox(r, 0, chart->Width3D());
    else chart->ChartCanvas().ClipToRect(r);
    Clipped = true;
}

// Only the tool's own clip is taken away: a drawing it did not clip keeps the clips around it.
void TClipSeriesTool::ClipEnd()
{
    TChartSeries* s = Series();
    if (!Clipped || !s || !s->ParentChart()) return;
    s->ParentChart()->ChartCanvas().RemoveClip();
    Clipped = false;
}
