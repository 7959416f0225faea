// The colour line (its value by style, the limit to the axis, drawing in parts, the drag in not-xor
// mode), the colour band (its rectangle, painting and edge lines) and the grid bands painted from the
// axis' grid hook.
#include "chart/control/LumToolsAxisLines.h"

#include "chart/base/LumProCo.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartWalls.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"

#include <algorithm>
#include <cmath>

const TClassInfo& TColorLineTool::StaticClassInfo()
{
    using P = TProps<TColorLineTool>;
    using T = TColorLineTool;
    static const TClassInfo info({
        .Name = "TColorLineTool",
        .Parent = &TLumCustomToolAxis::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Boolean("AllowDrag", [](const T& t) { return t.AllowDrag; }, [](T& t, bool v) { t.AllowDrag = v; })
                    .Default(true),
                P::Boolean("DragRepaint", [](const T& t) { return t.DragRepaint; }, [](T& t, bool v) { t.DragRepaint = v; })
                    .Default(false),
                P::Boolean("Draw3D", &T::Draw3D, &T::SetDraw3D).Default(true),
                P::Boolean("DrawBehind", &T::DrawBehind, &T::SetDrawBehind).Default(false),
                P::Boolean("NoLimitDrag", [](const T& t) { return t.NoLimitDrag; }, [](T& t, bool v) { t.NoLimitDrag = v; })
                    .Default(false),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Enumeration("Style", ColorLineStyleNames, &T::Style, &T::SetStyle).Default(clCustom),
                P::Real("Value", &T::Value, &T::SetValue).Default(0.0),
            },
        .Create = &CreateComponentOf<TColorLineTool>,
    });
    return info;
}

const TClassInfo& TColorBandTool::StaticClassInfo()
{
    using P = TProps<TColorBandTool>;
    using T = TColorBandTool;
    static const TClassInfo info({
        .Name = "TColorBandTool",
        .Parent = &TLumCustomToolAxis::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Object("Brush", [](const T& t) -> TPersistent* { return &t.Brush(); }),
                P::Colour("Color", &T::Color, &T::SetColor).Default(clWhite),
                P::Integer("Cursor", [](const T& t) { return int(t.Cursor); }, [](T& t, int v) { t.Cursor = TCursor(v); })
                    .Default(0),
                P::Boolean("DrawBehind", &T::DrawBehind, &T::SetDrawBehind).Default(true),
                P::Boolean("DrawBehindAxes", &T::DrawBehindAxes, &T::SetDrawBehindAxes).Default(false),
                P::Object("EndLinePen", [](const T& t) -> TPersistent* { return &t.EndLinePen(); }),
                P::Real("EndValue", &T::EndValue, &T::SetEndValue).Default(0.0),
                P::Object("Gradient", [](const T& t) -> TPersistent* { return &t.Gradient(); }),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Boolean("ResizeEnd", &T::ResizeEnd, &T::SetResizeEnd).Default(false),
                P::Boolean("ResizeStart", &T::ResizeStart, &T::SetResizeStart).Default(false),
                P::Object("StartLinePen", [](const T& t) -> TPersistent* { return &t.StartLinePen(); }),
                P::Real("StartValue", &T::StartValue, &T::SetStartValue).Default(0.0),
                P::Integer("Transparency", &T::Transparency, &T::SetTransparency).Default(0),
            },
        .Create = &CreateComponentOf<TColorBandTool>,
    });
    return info;
}

const TClassInfo& TGridBandBrush::StaticClassInfo()
{
    using P = TProps<TGridBandBrush>;
    using T = TGridBandBrush;
    static const TClassInfo info({
        .Name = "TGridBandBrush",
        .Parent = &TChartBrush::StaticClassInfo(),
        .Properties =
            {
                P::Colour("BackColor", &T::BackColor, &T::SetBackColor).Default(clNone),
                P::Object("Gradient", [](const T& b) -> TPersistent* { return &b.Gradient(); }),
                P::Integer("Transparency", &T::Transparency, &T::SetTransparency).Default(0),
            },
    });
    return info;
}

const TClassInfo& TGridBandTool::StaticClassInfo()
{
    using P = TProps<TGridBandTool>;
    using T = TGridBandTool;
    static const TClassInfo info({
        .Name = "TGridBandTool",
        .Parent = &TLumCustomToolAxis::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Object("Band1", [](const T& t) -> TPersistent* { return &t.Band1(); }),
                P::Object("Band2", [](const T& t) -> TPersistent* { return &t.Band2(); }),
            },
        .Create = &CreateComponentOf<TGridBandTool>,
    });
    return info;
}

// ---- Colour line -----------------------------------------------------------------------------------------

TColorLineTool::TColorLineTool(TComponent* AOwner) : TLumCustomToolAxis(AOwner) {}

std::string TColorLineTool::DescriptionText() const { return LumProCo::ColorLineTool; }

void TColorLineTool::Assign(const TPersistent& Source)
{
    if (const auto* line = dynamic_cast<const TColorLineTool*>(&Source)) {
        AllowDrag = line->AllowDrag;
        DragRepaint = line->DragRepaint;
        FDraw3D = line->FDraw3D;
        FDrawBehind = line->FDrawBehind;
        NoLimitDrag = line->NoLimitDrag;
        FStyle = line->FStyle;
        FValue = line->FValue;
    }
    TLumCustomToolAxis::Assign(Source);
}

void TColorLineTool::SetValue(double AValue)
{
    if (!ComponentState().Contains(csReading) && !ComponentState().Contains(csLoading)) FStyle = clCustom;
    if (Dragging && !DragRepaint) FValue = AValue;
    else SetFloatField(FValue, AValue);
}

void TColorLineTool::SetStyle(TColorLineStyle AValue)
{
    if (FStyle == AValue) return;
    FStyle = AValue;
    InvalidateChart();
}

void TColorLineTool::EndDrag()
{
    if (OnEndDragHook) OnEndDragHook(this);
    if (OnEndDragLine) OnEndDragLine(this);
}

double TColorLineTool::LineValue() const
{
    const TChartAxis* axis = Axis();
    switch (FStyle) {
    case clMaximum: return axis->Maximum();
    case clCenter: return (axis->Maximum() + axis->Minimum()) * 0.5;
    case clMinimum: return axis->Minimum();
    case clCustom: break;
    }
    return FValue;
}

double TColorLineTool::LimitToAxis(double V) const
{
    const TChartAxis* axis = Axis();
    int p0 = axis->EndPixel, p1 = axis->StartPixel;
    if (axis->Horizontal()) std::swap(p0, p1);
    if (axis->Inverted()) std::swap(p0, p1);
    const double lo = axis->PixelToValue(p0), hi = axis->PixelToValue(p1);
    return V < lo ? lo : V > hi ? hi : V;
}

bool TColorLineTool::ClickedLine(int X, int Y) const
{
    const TCustomAxisPanel* chart = Chart();
    const TChartAxis* axis = Axis();
    if (!chart || !axis) return false;
    const TRect r = chart->ChartRect();
    const int a = axis->CalcPosValue(LineValue());
    if (axis->Horizontal()) return std::abs(X - a) < 3 && Y >= r.Top && Y <= r.Bottom;
    return std::abs(Y - a) < 3 && X >= r.Left && X <= r.Right;
}

void TColorLineTool::PaintLine(bool Back)
{
    TCustomAxisPanel* chart = Chart();
    TChartAxis* axis = Axis();
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.WriteBackMode(TRANSPARENT);
    if (Back && AllowDrag && !NoLimitDrag) FValue = LimitToAxis(FValue);
    const int a = axis->CalcPosValue(LineValue());
    const TRect r = chart->ChartRect();
    const int w = chart->Width3D();
    if (Back) {
        if (axis->Horizontal()) {
            if (FDraw3D) canvas.DrawDepthLine(a, r.Bottom, 0, w);
            if (FDrawBehind || FDraw3D) canvas.DrawVertLineAtZ(a, r.Top, r.Bottom, w);
        } else {
            if (FDraw3D) canvas.DrawDepthLine(r.Left, a, 0, w);
            if (FDrawBehind || FDraw3D) canvas.DrawHorizLineAtZ(r.Left, r.Right, a, w);
        }
        return;
    }
    if (!chart->View3D() && Dragging && !DragRepaint) return;
    if (axis->Horizontal()) {
        if (FDraw3D) canvas.DrawDepthLine(a, r.Top, 0, w);
        if (!FDrawBehind) canvas.DrawVertLineAtZ(a, r.Top, r.Bottom, 0);
    } else {
        if (FDraw3D) canvas.DrawDepthLine(r.Right, a, 0, w);
        if (!FDrawBehind) canvas.DrawHorizLineAtZ(r.Left, r.Right, a, 0);
    }
}

void TColorLineTool::NotifyChartStage(int Stage)
{
    if (!Axis() || !Chart() || (Stage != 1 && Stage != 0)) return;
    Chart()->ChartCanvas().SelectPen(Pen());
    PaintLine(Stage == 1);
}

void TColorLineTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = Chart();
    TChartAxis* axis = Axis();
    if (!AllowDrag || !axis || !chart) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        if (Button != mbLeft) return;
        Dragging = ClickedLine(X, Y);
        chart->SetCancelMouse(Dragging);
        if (Dragging && OnBeginDragLine) OnBeginDragLine(this);
        return;
    case TChartMouseKind::Move:
        if (Dragging) {
            double v = axis->PixelToValue(axis->Horizontal() ? X : Y);
            if (!NoLimitDrag) {
                v = LimitToAxis(v);
                if (LimitDrag) v = std::max(std::min(v, DragMaxValue), DragMinValue);
            }
            if (DragRepaint) {
                SetValue(v);
                chart->SetCancelMouse(true);
                if (OnDragLine) OnDragLine(this);
                return;
            }
            if (LineValue() == v) {
                chart->SetCancelMouse(true);
                if (OnDragLine) OnDragLine(this);
                return;
            }
            TToolRasterDrawing notXor(*chart, pmNotXor);
            notXor.SelectPen(Pen());
            PaintLine(true);
            PaintLine(false);
            FStyle = clCustom;
            FValue = v;
            chart->SetCancelMouse(true);
            if (OnDragLine) OnDragLine(this);
            notXor.SelectPen(Pen());
            PaintLine(true);
            PaintLine(false);
            return;
        }
        if (ClickedLine(X, Y)) {
            chart->SetCursor(axis->Horizontal() ? crHSplit : crVSplit);
            chart->SetCancelMouse(true);
        }
        return;
    case TChartMouseKind::Release:
        if (!Dragging) return;
        if (!DragRepaint) chart->Invalidate();
        EndDrag();
        Dragging = false;
        return;
    }
}

// ---- Colour band -----------------------------------------------------------------------------------------

TColorBandTool::TColorBandTool(TComponent* AOwner)
    : TLumCustomToolAxis(AOwner), FGradient(std::make_unique<TLumGradient>([this](TPersistent* s) { StyleChanged(s); })),
      FStartLine(std::make_unique<TColorLineTool>(nullptr)), FEndLine(std::make_unique<TColorLineTool>(nullptr))
{
    for (TColorLineTool* line : {FStartLine.get(), FEndLine.get()}) {
        line->SetActive(false);
        line->DragRepaint = true;
        line->OnDragLine = [this](TColorLineTool* l) { if (l->DragRepaint) LineDragged(l); };
        line->OnEndDragHook = [this](TColorLineTool* l) { if (!l->DragRepaint) LineDragged(l); };
        line->Pen().OnChange = [this](TPersistent* s) { StyleChanged(s); };
    }
}

TColorBandTool::~TColorBandTool()
{
    FStartLine.reset();
    FEndLine.reset();
}

std::string TColorBandTool::DescriptionText() const { return LumProCo::ColorBandTool; }

void TColorBandTool::LineDragged(TColorLineTool* Line)
{
    if (Line == FStartLine.get()) SetStartValue(Line->Value());
    else SetEndValue(Line->Value());
}

void TColorBandTool::SetStartValue(double Value)
{
    SetFloatField(FStartValue, Value);
    FEndLine->SetValue(FEndValue);
    FStartLine->SetValue(FStartValue);
}

void TColorBandTool::SetEndValue(double Value)
{
    SetFloatField(FEndValue, Value);
    FEndLine->SetValue(FEndValue);
    FStartLine->SetValue(FStartValue);
}

void TColorBandTool::Loaded()
{
    TLumCustomToolAxis::Loaded();
    FEndLine->SetValue(FEndValue);
    FStartLine->SetValue(FStartValue);
}

bool TColorBandTool::ResizeStart() const { return FStartLine->Active(); }
bool TColorBandTool::ResizeEnd() const { return FEndLine->Active(); }

void TColorBandTool::SetResizeStart(bool Value)
{
    FStartLine->SetActive(Value);
    InvalidateChart();
}

void TColorBandTool::SetResizeEnd(bool Value)
{
    FEndLine->SetActive(Value);
    InvalidateChart();
}

TChartPen& TColorBandTool::StartLinePen() const { return FStartLine->Pen(); }
TChartPen& TColorBandTool::EndLinePen() const { return FEndLine->Pen(); }

void TColorBandTool::SetTransparency(int Value)
{
    if (FTransparency == Value) return;
    FTransparency = Value;
    InvalidateChart();
}

void TColorBandTool::SetAxis(TChartAxis* Value)
{
    TLumCustomToolAxis::SetAxis(Value);
    for (TColorLineTool* line : {FStartLine.get(), FEndLine.get()}) {
        line->SetAxis(Value);
        line->SetParentChart(nullptr);
        line->OwnerChart = ParentChart();
    }
}

void TColorBandTool::SetParentChart(TCustomAxisPanel* Value)
{
    TLumCustomToolAxis::SetParentChart(Value);
    if (FStartLine) FStartLine->OwnerChart = ParentChart();
    if (FEndLine) FEndLine->OwnerChart = ParentChart();
}

int TColorBandTool::BandDepth() const
{
    return FDrawBehind && ParentChart() ? ParentChart()->Width3D() : 0;
}

TRect TColorBandTool::BandRect() const
{
    const TChartAxis* axis = Axis();
    const TCustomAxisPanel* chart = ParentChart();
    if (!axis || !chart) return {};
    double s = FStartValue, e = FEndValue;
    const bool inverted = axis->Inverted();
    if (inverted ? s < e : s > e) std::swap(s, e);
    const bool visible = inverted ? e <= axis->Maximum() && s >= axis->Minimum() : s <= axis->Maximum() && e >= axis->Minimum();
    if (!visible) return {};
    TRect r = chart->ChartRect();
    if (axis->Horizontal()) {
        r.Left = std::max(axis->StartPixel, axis->CalcPosValue(s));
        r.Right = std::min(axis->EndPixel, axis->CalcPosValue(e));
        if (Pen().Visible()) ++r.Right;
    } else {
        r.Top = std::max(axis->StartPixel, axis->CalcPosValue(e));
        r.Bottom = std::min(axis->EndPixel, axis->CalcPosValue(s));
        ++r.Left;
        ++r.Bottom;
        if (!Pen().Visible()) {
            ++r.Bottom;
            ++r.Right;
        }
    }
    return r;
}

bool TColorBandTool::ClickedBand(int X, int Y) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    const TFourPoints p = chart->ChartCanvas().ProjectRectCorners(BandRect(), BandDepth());
    return PolygonContainsPoint({X, Y}, p, 3);
}

void TColorBandTool::PaintBand()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!Axis() || !chart) return;
    const TRect r = BandRect();
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const int z = BandDepth();
    canvas.SelectBrush(Brush(), FColor);
    canvas.SelectPen(Pen());
    if (FGradient->Visible() && (!chart->View3D() || canvas.Orthogonal())) {
        FGradient->DrawRect(canvas, canvas.ProjectRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, z));
        canvas.Brush().SetStyle(bsClear);
    }
    const auto draw = [&] {
        if (chart->View3D()) canvas.DrawRectAtDepth(r, z);
        else canvas.DrawRect(r);
    };
    if (FTransparency > 0) {
        auto blend = canvas.BeginTransparency(chart->View3D() ? canvas.ProjectedRectBounds(r, z) : r, FTransparency);
        draw();
        canvas.EndTransparency(std::move(blend));
    } else {
        draw();
    }
    if (FEndLine->Active()) {
        FEndLine->SetValue(FEndValue);
        canvas.SelectPen(FEndLine->Pen());
        FEndLine->PaintLine(FDrawBehind);
    }
    if (FStartLine->Active()) {
        FStartLine->SetValue(FStartValue);
        canvas.SelectPen(FStartLine->Pen());
        FStartLine->PaintLine(FDrawBehind);
    }
}

void TColorBandTool::NotifyChartStage(int Stage)
{
    if (Stage == PaintStage()) PaintBand();
}

void TColorBandTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (FStartLine->Active()) FStartLine->HandleChartMouse(Kind, Button, Shift, X, Y);
    if (FEndLine->Active() && !chart->CancelMouse()) FEndLine->HandleChartMouse(Kind, Button, Shift, X, Y);
    switch (Kind) {
    case TChartMouseKind::Press:
        if (OnClick && ClickedBand(X, Y)) OnClick(this, Button, Shift, X, Y);
        break;
    case TChartMouseKind::Move:
        if (Cursor != crDefault && !chart->CancelMouse() && ClickedBand(X, Y)) {
            chart->SetCursor(Cursor);
            chart->SetCancelMouse(!(chart->Panning().Active || chart->Zoom().Active));
        }
        break;
    case TChartMouseKind::Release:
        if (OnBandMouseUp) OnBandMouseUp(this);
        break;
    }
}

// ---- Grid bands ------------------------------------------------------------------------------------------

TGridBandBrush::TGridBandBrush(TNotifyEvent OnChange)
    : TChartBrush(OnChange), FGradient(std::make_unique<TLumGradient>(OnChange))
{
}

void TGridBandBrush::Assign(const TPersistent& Source)
{
    if (const auto* b = dynamic_cast<const TGridBandBrush*>(&Source)) {
        FGradient->Assign(*b->FGradient);
        FBackColor = b->FBackColor;
        FTransparency = b->FTransparency;
    }
    TChartBrush::Assign(Source);
}

void TGridBandBrush::SetBackColor(TColor Value)
{
    if (FBackColor == Value) return;
    FBackColor = Value;
    Changed();
}

void TGridBandBrush::SetTransparency(int Value)
{
    if (FTransparency == Value) return;
    FTransparency = Value;
    Changed();
}

TGridBandTool::TGridBandTool(TComponent* AOwner)
    : TLumCustomToolAxis(AOwner), FBand1(std::make_unique<TGridBandBrush>([this](TPersistent* s) { StyleChanged(s); })),
      FBand2(std::make_unique<TGridBandBrush>([this](TPersistent* s) { StyleChanged(s); }))
{
}

TGridBandTool::~TGridBandTool()
{
    if (Axis()) Axis()->OnDrawGrids = nullptr;
}

std::string TGridBandTool::DescriptionText() const { return LumProCo::GridBand; }

void TGridBandTool::SetAxis(TChartAxis* Value)
{
    if (Axis()) Axis()->OnDrawGrids = nullptr;
    TLumCustomToolAxis::SetAxis(Value);
    if (Axis()) Axis()->OnDrawGrids = [this](TChartAxis* a) { PaintBands(a); };
}

TColor TGridBandTool::BandBackColor(const TGridBandBrush& Band) const
{
    if (Band.BackColor() != clNone) return Band.BackColor();
    if (const auto* chart = dynamic_cast<const TCustomChart*>(ParentChart())) return chart->BackWall().Color();
    return Band.BackColor();
}

void TGridBandTool::FillBand(const TGridBandBrush& Band, int P0, int P1, TChartAxis& Axis)
{
    if (Band.Style() == bsClear) return;
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    if (P0 > P1) std::swap(P0, P1);
    const TRect plot = chart->ChartRect();
    const TRect r = Axis.Horizontal() ? TRect{P0, plot.Top + 1, P1, plot.Bottom} : TRect{plot.Left + 1, P0, plot.Right, P1 + 1};
    const bool view3D = chart->View3D();
    const int w = chart->Width3D();
    std::unique_ptr<TLumBlend> blend;
    if (Band.Transparency() > 0) blend = std::make_unique<TLumBlend>(canvas, view3D ? canvas.ProjectedRectBounds(r, w) : r);
    if (Band.Gradient().Visible()) {
        Band.Gradient().DrawRect(canvas, view3D ? canvas.ProjectRect(r, w) : TRect{r.Left, r.Top, r.Right, r.Bottom - 1});
    } else {
        canvas.SelectBrushColors(const_cast<TGridBandBrush&>(Band), Band.Color(), BandBackColor(Band));
        canvas.Pen().SetStyle(psClear);
        if (view3D) canvas.DrawRectAtDepth(r, w);
        else canvas.DrawRect({r.Left, r.Top, r.Right + 1, r.Bottom});
    }
    if (blend) blend->BlendOver(Band.Transparency());
}

void TGridBandTool::PaintBands(TChartAxis* Sender)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!Active() || !chart || !Sender || Sender->TickPositions.size() < 2) return;
    if (FBand1->Style() == bsClear && FBand2->Style() == bsClear) return;
    TChartAxis& axis = *Sender;
    chart->ChartCanvas().Pen().SetStyle(psClear);
    const std::vector<int>& t = axis.TickPositions;
    const int n = static_cast<int>(t.size()) - 1;
    bool first = true;
    const auto band = [&](int p0, int p1) {
        FillBand(first ? *FBand1 : *FBand2, p0, p1, axis);
        first = !first;
    };
    if (axis.Horizontal()) {
        if (t[0] < axis.EndPixel) band(axis.EndPixel - 1, t[0]);
    } else if (t[0] > axis.StartPixel) {
        band(axis.StartPixel + 1, t[0]);
    }
    if (n > 1) {
        for (int i = 1; i <= n; ++i) band(t[i - 1], t[i]);
        if (axis.Horizontal()) {
            if (t[n] > axis.StartPixel) band(t[n], axis.StartPixel);
        } else if (t[n] < axis.EndPixel) {
            band(t[n], axis.EndPixel);
        }
    }
}
