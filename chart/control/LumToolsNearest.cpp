// The nearest-point tool (the search over the visible points, the marker and its line, the mouse) and
// the marks tip (the point under the mouse, the tip text, showing and withdrawing the hint).
#include "chart/control/LumToolsNearest.h"

#include "chart/base/LumCanvas3D.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartControl.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/controls/Application.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>

namespace {

const TEnumNames NearestStyleNames{"hsNone", "hsCircle", "hsRectangle", "hsDiamond"};

} // namespace

const TClassInfo& TNearestTool::StaticClassInfo()
{
    using P = TProps<TNearestTool>;
    using T = TNearestTool;
    static const TClassInfo info({
        .Name = "TNearestTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Object("Brush", [](const T& t) -> TPersistent* { return &t.Brush(); }),
                // Travels as LinePen.Visible.
                P::Boolean("DrawLine", &T::DrawLine, &T::SetDrawLine).NotStored(),
                P::Boolean("FullRepaint", [](const T& t) { return t.FullRepaint; }, [](T& t, bool v) { t.FullRepaint = v; })
                    .Default(true),
                P::Object("LinePen", [](const T& t) -> TPersistent* { return &t.LinePen(); }),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Integer("Size", &T::Size, &T::SetSize).Default(20),
                P::Enumeration("Style", NearestStyleNames, &T::Style, &T::SetStyle).Default(hsCircle),
            },
        .Create = &CreateComponentOf<TNearestTool>,
    });
    return info;
}

TNearestTool::TNearestTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner), FLinePen(CreateChartPen())
{
    Pen().SetStyle(psDot);
    Pen().SetColor(clWhite);
    Brush().SetStyle(bsClear);
}

TNearestTool::~TNearestTool() = default;

std::string TNearestTool::DescriptionText() const { return LumProCo::NearestPointTool; }

void TNearestTool::SetStyle(TNearestToolStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    InvalidateChart();
}

bool TNearestTool::DrawLine() const { return FLinePen->Visible(); }

void TNearestTool::SetDrawLine(bool Value) { FLinePen->SetVisible(Value); }

namespace {

// A point's screen position and depth: a series with Z values lies at the depth axis' pixel of the
// point's Z, any other at its start depth.
TPoint3D PointPosition(const TChartSeries& Series, int Index)
{
    const TCustomAxisPanel* chart = Series.ParentChart();
    const int z = Series.Has3DValues() && chart ? chart->DepthAxis().CalcPosValue(Series.ValueListByName("Z")->ValueAt(Index))
                                                : Series.StartZ();
    return {Series.ScreenXOf(Index), Series.ScreenYOf(Index), z};
}

// The best point so far: the smallest whole-pixel distance below 10000, the lower index on a tie, so
// that the points may be looked at in any order.
struct TNearestSearch {
    const TChartSeries& Series;
    const TCustomAxisPanel& Chart;
    const TRect Plot;
    const int X, Y;
    int Best = -1;
    int Distance = 10000;

    void Consider(int Index, TPoint Screen)
    {
        if (Screen.x < Plot.Left || Screen.x > Plot.Right || Screen.y < Plot.Top || Screen.y > Plot.Bottom) return;
        const double dx = double(X) - Screen.x, dy = double(Y) - Screen.y;
        const int d = static_cast<int>(std::nearbyint(std::sqrt(dy * dy + dx * dx)));
        if (d < Distance || (d == Distance && Best != -1 && Index < Best)) {
            Distance = d;
            Best = Index;
        }
    }
    // Every point of First..Last.
    void Scan(int First, int Last)
    {
        for (int i = First; i <= Last; ++i) {
            if (Series.PointIsNull(i)) continue;
            const TPoint3D p = PointPosition(Series, i);
            Consider(i, Series.Has3DValues() ? Chart.ChartCanvas().ProjectXYZ(p.x, p.y, p.z) : TPoint{p.x, p.y});
        }
    }
    // Outward from X over First..Last, whose screen x ScreenX[i - First] runs one way (Rising or not):
    // the points are taken in the order of their horizontal distance from X, a lower bound of their
    // distance, and each side stops once that bound passes the best distance (an equal one may still win
    // by its lower index) or its screen x leaves the plot in the direction it moves.
    void Outward(int First, int Last, const int* ScreenX, bool Rising)
    {
        const int count = Last - First + 1;
        // The first position whose screen x lies beyond X in the direction of the run.
        const int split = static_cast<int>(Rising ? std::upper_bound(ScreenX, ScreenX + count, X) - ScreenX
                                                  : std::upper_bound(ScreenX, ScreenX + count, X, std::greater<int>()) - ScreenX);
        int left = split - 1, right = split;
        const auto gap = [&](int k) { return std::abs(std::int64_t(ScreenX[k]) - X); };
        // Leftwards the screen x falls on a rising run, rightwards it rises.
        const auto leftDone = [&] {
            return left < 0 || gap(left) > Distance || (Rising ? ScreenX[left] < Plot.Left : ScreenX[left] > Plot.Right);
        };
        const auto rightDone = [&] {
            return right >= count || gap(right) > Distance || (Rising ? ScreenX[right] > Plot.Right : ScreenX[right] < Plot.Left);
        };
        for (;;) {
            const bool canLeft = !leftDone(), canRight = !rightDone();
            if (!canLeft && !canRight) break;
            const int k = canLeft && (!canRight || gap(left) <= gap(right)) ? left-- : right++;
            const int i = First + k;
            if (!Series.PointIsNull(i)) Consider(i, {ScreenX[k], Series.ScreenYOf(i)});
        }
    }
};

// The screen x of First..Last into Pixels and whether it runs one way with the index: only for a series
// that places its points at the horizontal axis' pixel of their X, in one plane.
bool ScreenXOfRange(const TChartSeries& Series, int First, int Last, std::vector<int>& Pixels, bool& Rising)
{
    if (Series.Has3DValues() || !Series.ScreenXFollowsXValues()) return false;
    const int count = Last - First + 1;
    Pixels.resize(static_cast<std::size_t>(count));
    if (const TChartAxis* axis = Series.GetHorizAxis())
        axis->CalcPosValues(true, Series.XValues().Values() + First, count, Pixels.data());
    else
        std::fill(Pixels.begin(), Pixels.end(), 0);
    Rising = Pixels.back() >= Pixels.front();
    if (Rising) return std::is_sorted(Pixels.begin(), Pixels.end());
    return std::is_sorted(Pixels.begin(), Pixels.end(), std::greater<int>());
}

} // namespace

int TNearestTool::FindNearestPoint(const TChartSeries& Series, int X, int Y)
{
    TCustomAxisPanel* chart = Series.ParentChart();
    int first = 0, last = -1;
    if (!chart || !VisibleIndexRange(Series, first, last)) {
        NearestDistance = 10000;
        return -1;
    }
    TNearestSearch search{Series, *chart, chart->ChartRect(), X, Y};
    bool rising = true;
    if (ScreenXOfRange(Series, first, last, FScreenX, rising)) search.Outward(first, last, FScreenX.data(), rising);
    else search.Scan(first, last);
    NearestDistance = search.Distance;
    return search.Best;
}

void TNearestTool::DrawMarker()
{
    TChartSeries* series = Series();
    TCustomAxisPanel* chart = ParentChart();
    if (!series || !chart || NearestIndex == -1 || NearestIndex >= series->PointCount()) return;
    // Without FullRepaint the marker is drawn and taken away in not-xor mode between paints.
    std::optional<TToolRasterDrawing> notXor;
    if (!FullRepaint) notXor.emplace(*chart, pmNotXor);
    TCanvas3D& canvas = chart->ChartCanvas();
    const auto selectPen = [&](const TPen& pen) {
        if (notXor) notXor->SelectPen(pen);
        else canvas.SelectPen(pen);
    };
    selectPen(Pen());
    canvas.SelectBrushColors(Brush(), clBlack, Brush().Color());
    const TPoint3D p = PointPosition(*series, NearestIndex);
    const int px = p.x, py = p.y, z = p.z, s = FSize;
    const bool view3D = chart->View3D();
    switch (FStyle) {
    case hsCircle:
        if (view3D) canvas.DrawEllipseAtZ(px - s, py - s, px + s, py + s, z);
        else canvas.DrawEllipseBox(px - s, py - s, px + s, py + s);
        break;
    case hsRectangle:
        if (view3D) canvas.RectangleAtZ(px - s, py - s, px + s, py + s, z);
        else canvas.DrawRectangleBox(px - s, py - s, px + s, py + s);
        break;
    case hsDiamond: {
        const TPoint diamond[4] = {{px, py - s}, {px + s, py}, {px, py + s}, {px - s, py}};
        if (view3D) canvas.DrawPolygonAtZ(diamond, z);
        else canvas.DrawPolygonPoints(diamond);
        break;
    }
    case hsNone: break;
    }
    if (DrawLine()) {
        selectPen(*FLinePen);
        if (view3D) canvas.DrawLineAtZ(MousePoint.x, MousePoint.y, px, py, z);
        else canvas.DrawLineXY(MousePoint.x, MousePoint.y, px, py);
    }
}

void TNearestTool::NotifyChartStage(int Stage)
{
    if (Stage == 0) {
        DrawMarker();
    } else if (Stage == 5) {
        if (!FullRepaint) DrawMarker();
        NearestIndex = -1;
        if (FullRepaint) InvalidateChart();
    }
}

void TNearestTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Kind == TChartMouseKind::Press) {
        // Without a series a press changes nothing, as a move does not.
        if (!Series()) return;
        NearestIndex = FindNearestPoint(*Series(), X, Y);
        if (NearestDistance < ClickDistance && OnPointClick) OnPointClick(this, Button, Shift, X, Y);
        return;
    }
    if (Kind != TChartMouseKind::Move) return;
    if (!FullRepaint) DrawMarker();
    if (!AllSeries) {
        if (Series()) NearestIndex = FindNearestPoint(*Series(), X, Y);
    } else if (TCustomAxisPanel* chart = ParentChart()) {
        TChartSeries* nearest = nullptr;
        int index = -1, distance = 10000;
        for (int i = 0; i < chart->CountSeries(); ++i) {
            TChartSeries* s = chart->SeriesAt(i);
            if (!s->Active() || s->PointCount() == 0) continue;
            const int found = FindNearestPoint(*s, X, Y);
            if (found != -1 && NearestDistance < distance) {
                distance = NearestDistance;
                index = found;
                nearest = s;
            }
        }
        NearestDistance = distance;
        NearestIndex = index;
        if (nearest != Series()) {
            SetSeries(nearest);
            if (OnSeriesChange) OnSeriesChange(this);
        }
    }
    MousePoint = {X, Y};
    if (!FullRepaint) DrawMarker();
    if (OnChange) OnChange(this);
    if (FullRepaint) InvalidateChart();
}

// ---- TMarksTipTool ---------------------------------------------------------------------------------------

const TClassInfo& TMarksTipTool::StaticClassInfo()
{
    using P = TProps<TMarksTipTool>;
    using T = TMarksTipTool;
    static const TClassInfo info({
        .Name = "TMarksTipTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Enumeration("MouseAction", MarkToolMouseActionNames, &T::MouseAction, &T::SetMouseAction).Default(mtmMove),
                P::Integer("MouseDelay", &T::MouseDelay, &T::SetMouseDelay).Default(500),
                P::Enumeration("Style", SeriesMarksStyleNames, &T::Style, &T::SetStyle).Default(smsLabel),
            },
        .Create = &CreateComponentOf<TMarksTipTool>,
    });
    return info;
}

TMarksTipTool::TMarksTipTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

std::string TMarksTipTool::DescriptionText() const { return LumProCo::MarkTipsTool; }

int TMarksTipTool::MouseDelay() const { return Application->HintPause(); }

void TMarksTipTool::SetMouseDelay(int Value) { Application->SetHintPause(Value); }

void TMarksTipTool::SetActive(bool Value)
{
    TLumCustomToolSeries::SetActive(Value);
    if (!Active()) CancelTip();
}

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction Value)
{
    FMouseAction = Value;
    CancelTip();
}

void TMarksTipTool::SetSeries(TChartSeries* Value)
{
    TLumCustomToolSeries::SetSeries(Value);
    RenewSeriesLink(*this, FHitSeries);
}

void TMarksTipTool::Notification(TComponent* AComponent, TOperation Operation)
{
    TLumCustomToolSeries::Notification(AComponent, Operation);
    if (Operation == opRemove) ForgetSeriesLink(FHitSeries, AComponent);
}

TCustomAxisPanel* TMarksTipTool::TipChart() const { return Series() ? Series()->ParentChart() : ParentChart(); }

void TMarksTipTool::CancelTip()
{
    TCustomAxisPanel* chart = TipChart();
    if (!chart) return;
    if (OnCancelHint) OnCancelHint(this);
    const bool had = !chart->Hint().empty();
    chart->SetHint("");
    if (had) Application->CancelHint();
}

int TMarksTipTool::FindPoint(TCustomAxisPanel& Chart, int X, int Y)
{
    if (Series()) {
        LinkSeries(*this, FHitSeries, Series());
        return Series()->PointAtPixel(X, Y);
    }
    LinkSeries(*this, FHitSeries, nullptr);
    for (int i = Chart.CountSeries() - 1; i >= 0; --i) {
        TChartSeries* s = Chart.SeriesAt(i);
        if (!s->Active()) continue;
        const int index = s->PointAtPixel(X, Y);
        if (index != -1) {
            LinkSeries(*this, FHitSeries, s);
            return index;
        }
    }
    return -1;
}

std::string TMarksTipTool::TipText(int Index)
{
    TSeriesMarks& marks = FHitSeries->Marks();
    const TSeriesMarksStyle own = marks.Style();
    // The marks take the tip's style for the text alone: the chart must not repaint meanwhile.
    TRepaintPause pause(FHitSeries->ParentChart());
    struct TRestore {
        TSeriesMarks& Marks;
        TSeriesMarksStyle Style;
        ~TRestore() { Marks.SetStyle(Style); }
    } restore{marks, own};
    marks.SetStyle(FStyle);
    return FHitSeries->ComposeMarkText(Index);
}

void TMarksTipTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = TipChart();
    if (!chart) return;
    // The chart sets the flag after the tools have heard a move: it tells of the previous move.
    if (auto* c = dynamic_cast<TCustomChart*>(chart); c && c->MouseOverAxis) return;
    const bool wanted = (Kind == TChartMouseKind::Move && FMouseAction == mtmMove) ||
                        (Kind == TChartMouseKind::Press && FMouseAction == mtmClick);
    if (!wanted) return;
    const int index = FindPoint(*chart, X, Y);
    if (index == -1) {
        // Another tip of the chart may be showing its own hint.
        for (int i = 0; i < chart->Tools().Count(); ++i) {
            TLumCustomTool* t = chart->Tools().GetTool(i);
            if (t != this && dynamic_cast<TMarksTipTool*>(t)) return;
        }
        CancelTip();
        return;
    }
    std::string text = TipText(index);
    HitIndex = index;
    if (OnGetText) OnGetText(this, text);
    if (text == chart->Hint()) return;
    Application->CancelHint();
    chart->SetShowHint(true);
    chart->SetHint(text);
    Application->ActivateHint(chart->ClientToScreen({X, Y}));
}
