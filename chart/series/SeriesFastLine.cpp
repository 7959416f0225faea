// The fast line series: its switches, margins, gallery sub-styles, legend and marks, the walk that
// collects unbroken runs of pixels into polylines, the immediate drawing of added points, and the click
// test.
#include "chart/series/SeriesFastLine.h"

#include "chart/base/LumConst.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesBar.h"
#include "chart/series/SeriesColumns.h"
#include "chart/series/SeriesPie.h"

#include <algorithm>
#include <typeinfo>

namespace {

std::vector<TPropInfo> FastLineProperties()
{
    using P = TProps<TFastLineSeries>;
    return SeriesKindProperties(
        {
            P::Boolean("AutoRepaint", &TFastLineSeries::AutoRepaint, &TFastLineSeries::SetAutoRepaint).Default(true),
            P::Boolean("DrawAllPoints", &TFastLineSeries::DrawAllPoints, &TFastLineSeries::SetDrawAllPoints).Default(true),
            P::Boolean("IgnoreNulls", &TFastLineSeries::IgnoreNulls, &TFastLineSeries::SetIgnoreNulls).Default(true),
            P::Boolean("InvertedStairs", &TFastLineSeries::InvertedStairs, &TFastLineSeries::SetInvertedStairs)
                .Default(false),
            P::Object("LinePen", [](const TFastLineSeries& s) -> TPersistent* { return &s.LinePen(); }),
            P::Boolean("Stairs", &TFastLineSeries::Stairs, &TFastLineSeries::SetStairs).Default(false),
        },
        {"ColorEachPoint", "ColorSource"});
}

TComponent* MakeFastLine(TComponent* Owner) { return new TFastLineSeries(Owner); }

} // namespace

const TClassInfo& TFastLineSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TFastLineSeries",
                                  .Parent = &TCustomLineSeries::StaticClassInfo(),
                                  .Properties = FastLineProperties(),
                                  .Create = &MakeFastLine});
    return info;
}

TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner)
{
    SetKeepOneBeyond(true);
    SetSinglePointResults(false);
}

void TFastLineSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TFastLineSeries*>(&Source); s && s != this) {
        FAutoRepaint = s->FAutoRepaint;
        FDrawAllPoints = s->FDrawAllPoints;
        FIgnoreNulls = s->FIgnoreNulls;
        FInvertedStairs = s->FInvertedStairs;
        FStairs = s->FStairs;
    }
    TCustomLineSeries::Assign(Source);
}

void TFastLineSeries::SetPen(const TChartPen& Value)
{
    TCustomLineSeries::SetPen(Value);
    SetSeriesColor(Value.Color());
}

void TFastLineSeries::SetSeriesColor(TColor Value)
{
    TCustomLineSeries::SetSeriesColor(Value);
    LinePen().SetColor(Value);
}

// ---- Margins, gallery, legend and marks ------------------------------------------------------------------

namespace {
// Half the pen's width (and a pixel) on each side: 1 for widths 0 and 1, 3 for 4, 6 for 10.
int PenRoom(int Width) { return Width - (Width - 2) / 2; }
} // namespace

void TFastLineSeries::HorizMargins(int& Left, int& Right)
{
    TCustomLineSeries::HorizMargins(Left, Right);
    const int room = PenRoom(LinePen().Width());
    Left += room;
    Right += room;
}

void TFastLineSeries::VertMargins(int& Top, int& Bottom)
{
    TCustomLineSeries::VertMargins(Top, Bottom);
    const int room = PenRoom(LinePen().Width());
    Top += room;
    Bottom += room;
}

void TFastLineSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustomLineSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumConst::Marks, LumConst::Dotted, LumConst::Stairs}) Callback(name);
}

void TFastLineSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    switch (Index) {
    case 1: Series->Marks().SetVisible(true); break;
    case 2:
        if (auto* line = dynamic_cast<TCustomLineSeries*>(Series)) line->LinePen().SetSmallDots(true);
        break;
    case 3:
        if (auto* fast = dynamic_cast<TFastLineSeries*>(Series)) fast->SetStairs(true);
        break;
    default: break;
    }
}

void TFastLineSeries::LegendSymbolStyle(int, TColor&, TBrushStyle&) { PrepareCanvas(); }

void TFastLineSeries::PaintLegendShape(int, const TRect& Rect)
{
    if (ParentChart()) ParentChart()->ChartCanvas().DrawHorizLine(Rect.Left, Rect.Right, (Rect.Top + Rect.Bottom) / 2);
}

void TFastLineSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Marks().DrawMarkCallout(Position);
    TCustomLineSeries::PaintMark(Index, Text, Position);
}

// ---- Pixels and the canvas ---------------------------------------------------------------------------------

TPoint TFastLineSeries::PointPixel(int Index) const
{
    if (Index < 0 || Index >= PointCount()) throw ERangeError();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    return {h ? h->CalcXPosValue(XValues().Values()[Index]) : 0, v ? v->CalcYPosValue(YValues().Values()[Index]) : 0};
}

void TFastLineSeries::PrepareCanvas()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    // The pen follows the series colour, also when the chart handed that colour out from its palette.
    canvas.SelectPenColor(LinePen(), SeriesColor());
    canvas.Brush().SetStyle(bsClear);
    canvas.WriteBackMode(TRANSPARENT);
}

void TFastLineSeries::MoveToPixel(TPoint P)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (chart->View3D())
        chart->ChartCanvas().MoveToAtZ(P.x, P.y, StartZ());
    else
        chart->ChartCanvas().MoveToXY(P.x, P.y);
}

bool TFastLineSeries::IsNull(int Index) const { return HasColorList() && StoredPointColor(Index) == clNone; }

// ---- Drawing ---------------------------------------------------------------------------------------------

void TFastLineSeries::AppendToRun(TPoint P)
{
    if (!FRun.empty() && FStairs) {
        const TPoint last = FRun.back();
        FRun.push_back(FInvertedStairs ? TPoint{last.x, P.y} : TPoint{P.x, last.y});
    }
    FRun.push_back(P);
}

void TFastLineSeries::FlushRun()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart && FRun.size() >= 2) {
        if (chart->View3D()) {
            chart->ChartCanvas().DrawPolylineAtZ(FRun, StartZ());
        } else {
            // A thin solid pen lights the same pixels with each pixel column thinned to four points.
            if (CanvasAllowsThinning(chart->ChartCanvas()) && PenAllowsThinning(LinePen())) ReduceRunByColumns(FRun);
            chart->ChartCanvas().DrawPolylinePoints(FRun);
        }
    }
    FRun.clear();
}

bool TFastLineSeries::PaintThinnedLine(int Start, int Last)
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    // Only where the thinned line is the full line's pixels: one unbroken run of a thin solid pen, drawn
    // in 2-D on pixels, with more points than pixel columns. A kind derived from this one may draw its
    // points its own way, so it walks them.
    if (!SeriesColumnsSettings().Thinning || typeid(*this) != typeid(TFastLineSeries) || !h || !v || chart->View3D() ||
        FStairs || Last - Start + 1 <= chart->ChartWidth() || !PenAllowsThinning(LinePen()) ||
        !CanvasAllowsThinning(chart->ChartCanvas()) || StoresColorIn(clNone, Start, Last))
        return false;
    TCanvas3D& canvas = chart->ChartCanvas();
    FLastPixel = DrawThinnedLine(*h, *v, XValues().Values(), YValues().Values(), XValues().RunsAscending(), Start, Last,
                                 false, nullptr, FRun,
                                 [&canvas](std::span<const TPoint> Piece) { canvas.DrawPolylinePoints(Piece); });
    FRun.clear();
    return true;
}

void TFastLineSeries::PaintAllPoints()
{
    const int first = FirstVisible(), last = LastVisible();
    if (!ParentChart() || first < 0 || last < first) return;
    PrepareCanvas();
    const int start = first > 0 ? first - 1 : first;
    FStartPixel = FLastPixel = PointPixel(start);
    MoveToPixel(FLastPixel);
    if (PaintThinnedLine(start, last)) return;
    FRun.clear();
    FRun.reserve(static_cast<std::size_t>(std::min(last - start + 1, 1 << 16)) * (FStairs ? 2 : 1));
    if (!IsNull(start)) FRun.push_back(FLastPixel);
    FWalking = true;
    try {
        for (int i = start + 1; i <= last; ++i) PaintPoint(i);
        FlushRun();
    } catch (...) {
        FWalking = false;
        FRun.clear();
        throw;
    }
    FWalking = false;
}

void TFastLineSeries::PaintPoint(int Index)
{
    const TPoint p = PointPixel(Index);
    if (FWalking) {
        if (IsNull(Index)) {
            if (!FIgnoreNulls) FlushRun();
            return;
        }
        if (!FDrawAllPoints && !FRun.empty() && p == FLastPixel) return;
        AppendToRun(p);
        FLastPixel = p;
        // A long run goes out in pieces that share their end points, so the buffer stays bounded.
        if (FRun.size() >= (1u << 16)) {
            const TPoint tail = FRun.back();
            FlushRun();
            FRun.push_back(tail);
        }
        return;
    }
    // Drawn point by point by the chart, or added with AutoRepaint off: the segment from the previous
    // point at once.
    if (Index > 0 && !IsNull(Index) && !IsNull(Index - 1)) {
        FRun.clear();
        FRun.push_back(PointPixel(Index - 1));
        AppendToRun(p);
        FlushRun();
    }
    FLastPixel = p;
}

void TFastLineSeries::PointAdded(TChartSeries* Sender, int Index)
{
    if (FAutoRepaint) {
        TCustomLineSeries::PointAdded(Sender, Index);
        return;
    }
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    FLastPixel = PointPixel(Index > 0 ? Index - 1 : 0);
    PrepareCanvas();
    MoveToPixel(FLastPixel);
    PaintPoint(Index);
}

int TFastLineSeries::PointAtPixel(int X, int Y) const
{
    const int first = FirstVisible(), last = LastVisible();
    if (first < 0 || last < 0) return -1;
    if (TCustomAxisPanel* chart = ParentChart()) chart->ChartCanvas().UnprojectPoint(X, Y, StartZ());
    int px = 0, py = 0;
    for (int i = first; i <= last && i < PointCount(); ++i) {
        const int x = ScreenXOf(i), y = ScreenYOf(i);
        if (x == X && y == Y) return i;
        if (i > first && IsPointOnLineXY(X, Y, x, y, px, py)) return i - 1;
        px = x;
        py = y;
    }
    return -1;
}

// ---- Registration ----------------------------------------------------------------------------------------

// In the gallery's order.
void RegisterSeriesUnitTypes()
{
    RegisterStandardSeries(TLineSeries::StaticClassInfo(), LumConst::Line);
    RegisterStandardSeries(TBarSeries::StaticClassInfo(), LumConst::Bar);
    RegisterStandardSeries(THorizBarSeries::StaticClassInfo(), LumConst::HorizontalBar);
    RegisterStandardSeries(TAreaSeries::StaticClassInfo(), LumConst::Area);
    RegisterStandardSeries(TPointSeries::StaticClassInfo(), LumConst::Point);
    RegisterSeries(TPieSeries::StaticClassInfo(), LumConst::Pie, LumConst::GalleryStandard, 1);
    RegisterStandardSeries(TFastLineSeries::StaticClassInfo(), LumConst::FastLine);
    RegisterSeries(THorizLineSeries::StaticClassInfo(), LumConst::HorizontalLine, LumConst::GalleryStandard, 1);
    RegisterSeries(THorizAreaSeries::StaticClassInfo(), LumConst::HorizontalArea, LumConst::GalleryStandard, 1);
}
