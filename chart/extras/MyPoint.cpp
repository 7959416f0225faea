// The line-point series' guide lines and the bar-join series' joints, with their registration.
#include "chart/extras/MyPoint.h"

#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"

const TClassInfo& TMyPointSeries::StaticClassInfo()
{
    using P = TProps<TMyPointSeries>;
    static const TClassInfo info(
        {.Name = "TMyPointSeries",
         .Parent = &TPointSeries::StaticClassInfo(),
         .Properties = {P::Object("LinesPen", [](const TMyPointSeries& s) -> TPersistent* { return &s.LinesPen(); })},
         .Create = &CreateComponentOf<TMyPointSeries>});
    return info;
}

const TClassInfo& TBarJoinSeries::StaticClassInfo()
{
    using P = TProps<TBarJoinSeries>;
    static const TClassInfo info(
        {.Name = "TBarJoinSeries",
         .Parent = &TBarSeries::StaticClassInfo(),
         .Properties = {P::Object("JoinPen", [](const TBarJoinSeries& s) -> TPersistent* { return &s.JoinPen(); })},
         .Create = &CreateComponentOf<TBarJoinSeries>});
    return info;
}

// ---- Line point ----------------------------------------------------------------------------------------

TMyPointSeries::TMyPointSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    Pointer().SetDraw3D(false);
    Pointer().SetStyle(psDiamond);
    FLinesPen = CreateChartPen();
    FLinesPen->SetColor(TColor(0x000000FF));
}

TMyPointSeries::~TMyPointSeries() { TChartSeries::SetParentChart(nullptr); }

void TMyPointSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TMyPointSeries*>(&Source); s && s != this) FLinesPen->Assign(*s->FLinesPen);
    TPointSeries::Assign(Source);
}

void TMyPointSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* horiz = GetHorizAxis();
    const TChartAxis* vert = GetVertAxis();
    if (chart && horiz && vert) {
        TCanvas3D& canvas = chart->ChartCanvas();
        const int x = ScreenXOf(Index), y = ScreenYOf(Index), z = StartZ();
        canvas.Brush().SetStyle(bsClear);
        canvas.WriteBackMode(TRANSPARENT);
        canvas.SelectPen(*FLinesPen);
        canvas.MoveToAtZ(vert->AxisPosition, y, z);
        canvas.LineToAtZ(x, y, z);
        canvas.LineToAtZ(x, horiz->AxisPosition, z);
    }
    TPointSeries::PaintPoint(Index);
}

// ---- Bar join ------------------------------------------------------------------------------------------

TBarJoinSeries::TBarJoinSeries(TComponent* AOwner) : TBarSeries(AOwner) { FJoinPen = CreateChartPen(); }

TBarJoinSeries::~TBarJoinSeries() { TChartSeries::SetParentChart(nullptr); }

void TBarJoinSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TBarJoinSeries*>(&Source); s && s != this) FJoinPen->Assign(*s->FJoinPen);
    TBarSeries::Assign(Source);
}

void TBarJoinSeries::PrepareForDraw()
{
    TBarSeries::PrepareForDraw();
    FFirstBar = true;
}

void TBarJoinSeries::PaintBar(int Index, int Upper, int Lower)
{
    TBarSeries::PaintBar(Index, Upper, Lower);
    const TRect bar{BarBounds().Left, Upper, BarBounds().Right, Lower};
    if (!FFirstBar) {
        TCanvas3D& canvas = ParentChart()->ChartCanvas();
        canvas.SelectPen(*FJoinPen);
        const TBarStyle style = BarStyleOf(Index);
        TPoint from, to;
        if (!DrawsForward()) {
            from = {bar.Right, bar.Top};
            to = {FPrevious.Left, FPrevious.Top};
        } else if (style == bsPyramid || style == bsEllipse || style == bsArrow || style == bsCone) {
            from = {(FPrevious.Left + FPrevious.Right) / 2, FPrevious.Top};
            to = {(bar.Left + bar.Right) / 2, bar.Top};
        } else {
            from = {FPrevious.Right, FPrevious.Top};
            to = {bar.Left, bar.Top};
        }
        if (ParentChart()->View3D())
            canvas.DrawLineAtZ(from.x, from.y, to.x, to.y, MiddleZ());
        else
            canvas.DrawLineXY(from.x, from.y, to.x, to.y);
    }
    FFirstBar = false;
    FPrevious = bar;
}

void TBarJoinSeries::PrepareForGallery(bool Coloured)
{
    TBarSeries::PrepareForGallery(Coloured);
    FJoinPen->SetColor(TColor(0x00FF0000));
    FJoinPen->SetWidth(2);
    FillSampleValues(2);
}

void MyPointInitialization()
{
    RegisterSeries(TMyPointSeries::StaticClassInfo(), LumProCo::LinePoint, LumProCo::Other, 1);
    RegisterSeries(TBarJoinSeries::StaticClassInfo(), LumProCo::BarJoin, LumProCo::Other, 1);
}

void MyPointFinalization()
{
    UnregisterSeriesClasses({&TMyPointSeries::StaticClassInfo(), &TBarJoinSeries::StaticClassInfo()});
}
