// The gantt series' lists, its bars and connectors, its mark placement, the bar click test, sample tasks
// and its registration.
#include "chart/extras/GanttCh.h"

#include "chart/base/LumConst.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineMarks.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

TComponent* MakeGantt(TComponent* Owner) { return new TGanttSeries(Owner); }

std::vector<TPropInfo> GanttProperties()
{
    using P = TProps<TGanttSeries>;
    using G = TGanttSeries;
    return SeriesKindProperties({
        P::Object("ConnectingPen", [](const G& s) -> TPersistent* { return &s.ConnectingPen(); }),
        P::Object("EndValues", [](const G& s) -> TPersistent* { return &s.EndValues(); }),
        P::Object("NextTask", [](const G& s) -> TPersistent* { return &s.NextTask(); }),
        P::Object("Pointer", [](const G& s) -> TPersistent* { return &s.Pointer(); }),
        P::Object("StartValues", [](const G& s) -> TPersistent* { return &s.StartValues(); }),
    });
}

const char* const TaskNames[] = {LumConst::GanttDesign,    LumConst::GanttPrototyping,   LumConst::GanttDevelopment,
                                 LumConst::GanttSales,     LumConst::GanttMarketing,     LumConst::GanttTesting,
                                 LumConst::GanttManufacturing, LumConst::GanttDebugging, LumConst::GanttNewVersion,
                                 LumConst::GanttBanking};

} // namespace

const TClassInfo& TGanttSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGanttSeries",
                                  .Parent = &TPointSeries::StaticClassInfo(),
                                  .Properties = GanttProperties(),
                                  .Defaults = {{"ColorEachPoint", true}},
                                  .Create = &MakeGantt});
    return info;
}

TGanttSeries::TGanttSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    // The value lists own themselves into the series' lists.
    FEndValues = new TChartValueList(this, LumConst::ValueEnd);
    FEndValues->InitDateTime(true);
    FNextTask = new TChartValueList(this, LumConst::ValueNextTask);
    MakeXMandatory();
    SetClickableLine(false);
    SetOrderedRange(false);
    XValues().SetName(LumConst::ValueStart);
    XValues().InitDateTime(true);
    SetColorEachPoint(true);
    Pointer().SetStyle(psRectangle);
}

TGanttSeries::~TGanttSeries() { TChartSeries::SetParentChart(nullptr); }

void TGanttSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TGanttSeries*>(&Source); s && s != this) ConnectingPen().Assign(s->ConnectingPen());
    TPointSeries::Assign(Source);
}

bool TGanttSeries::AcceptsSource(const TChartSeries* Series) const
{
    return dynamic_cast<const TGanttSeries*>(Series) && TPointSeries::AcceptsSource(Series);
}

int TGanttSeries::AddGanttColor(double Start, double End, double Y, const std::string& Label, TColor Color)
{
    FEndValues->PendingValue = End;
    return InsertPoint(Start, Y, Label, Color);
}

int TGanttSeries::InsertPoint(double X, double Y, const std::string& Label, TColor Color)
{
    FNextTask->PendingValue = -1;
    return TPointSeries::InsertPoint(X, Y, Label, Color);
}

double TGanttSeries::HighestX() { return std::max(TPointSeries::HighestX(), FEndValues->HighestValue()); }

void TGanttSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    const int dx = (HorizValueToPixel(FEndValues->ValueAt(Index)) - Position.ArrowFrom.x) / 2;
    const int dy = Position.Height / 2;
    Position.LeftTop.x += dx;
    Position.LeftTop.y += dy;
    Position.ArrowTo.x += dx;
    Position.ArrowTo.y += dy;
    TPointSeries::PaintMark(Index, Text, Position);
}

void TGanttSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !Pointer().Visible()) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const TColor color = PointColor(Index);
    Pointer().PrepareCanvas(canvas, color);
    const int x0 = ScreenXOf(Index), x1 = HorizValueToPixel(FEndValues->ValueAt(Index));
    const int half = static_cast<int>((std::int64_t(x1) - x0) / 2);
    const int y = ScreenYOf(Index);
    const TSeriesPointerStyle style = PointerStyleOf(Index);
    Pointer().PaintSymbol(canvas, chart->View3D(), ClampedPixel(std::int64_t(x0) + half), y, half, Pointer().VertSize(),
                          color, style);
    if (!ConnectingPen().Visible()) return;
    const double next = FNextTask->ValueAt(Index);
    if (!(next >= 0) || !(next < PointCount())) return;
    const int n = PixelFromReal(next);
    if (n >= PointCount()) return;
    canvas.SelectPen(ConnectingPen());
    canvas.Brush().SetStyle(bsClear);
    const int nx = ScreenXOf(n), ny = ScreenYOf(n);
    const int mid = static_cast<int>(x1 + (std::int64_t(nx) - x1) / 2);
    const int z = MiddleZ();
    canvas.MoveToAtZ(x1, y, z);
    canvas.LineToAtZ(mid, y, z);
    canvas.LineToAtZ(mid, ny, z);
    canvas.LineToAtZ(nx, ny, z);
}

bool TGanttSeries::PointerHit(int Index, int PointX, int PointY, int X, int Y) const
{
    return PointX <= X && X <= HorizValueToPixel(FEndValues->ValueAt(Index)) && std::abs(Y - PointY) < Pointer().VertSize();
}

void TGanttSeries::AddRandomSampleValues(int Count, bool)
{
    const int last = std::min(Count - 1, 10 + RandomBelow(20));
    const double today = std::floor(Now());
    for (int t = 0; t <= last; ++t) {
        const double start = today + 3 * t + RandomBelow(5);
        const double end = start + 9 + RandomBelow(16);
        const int k = AddGantt(start, end, t % 10, TaskNames[t % 10]);
        for (int i = 0; i < k; ++i)
            if (FNextTask->ValueAt(i) == -1 && FEndValues->ValueAt(i) < start) {
                FNextTask->StoreValueAt(i, k);
                break;
            }
    }
}

void TGanttSeries::PrepareForGallery(bool Coloured)
{
    TPointSeries::PrepareForGallery(Coloured);
    SetColorEachPoint(Coloured);
    Pointer().SetVertSize(3);
    Pointer().Gradient().SetVisible(true);
}

void GanttChInitialization() { RegisterSeries(TGanttSeries::StaticClassInfo(), LumConst::Gantt, LumConst::GalleryStandard, 1); }
