// The nearest-point tool: the search over the visible points, the marker and its line, and the mouse.
#include "chart/control/LumToolsNearest.h"

#include "chart/base/LumCanvas3D.h"
#include "chart/base/LumProCo.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <cmath>

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
                P::Boolean("DrawLine", &T::DrawLine, &T::SetDrawLine).Default(true),
                P::Boolean("FullRepaint", [](const T& t) { return t.FullRepaint; }, [](T& t, bool v) { t.FullRepaint = v; })
                    .Default(true),
                P::Object("LinePen", [](const T& t) -> TPersistent* { return &t.LinePen(); }),
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

int TNearestTool::FindNearestPoint(const TChartSeries& Series, int X, int Y)
{
    int best = -1;
    int distance = 10000;
    const int count = Series.PointCount();
    const TCustomAxisPanel* chart = Series.ParentChart();
    if (count > 0 && chart) {
        const int first = std::max(0, Series.FirstVisible());
        const int last = Series.LastVisible() < 0 || Series.LastVisible() >= count ? count - 1 : Series.LastVisible();
        const TRect& plot = chart->ChartRect();
        for (int i = first; i <= last; ++i) {
            if (Series.PointIsNull(i)) continue;
            const int px = Series.ScreenXOf(i), py = Series.ScreenYOf(i);
            if (px < plot.Left || px > plot.Right || py < plot.Top || py > plot.Bottom) continue;
            const double dx = double(X) - px, dy = double(Y) - py;
            const int d = static_cast<int>(std::nearbyint(std::sqrt(dy * dy + dx * dx)));
            if (d < distance) {
                distance = d;
                best = i;
            }
        }
    }
    NearestDistance = distance;
    return best;
}

void TNearestTool::DrawMarker()
{
    TChartSeries* series = Series();
    TCustomAxisPanel* chart = ParentChart();
    if (!series || !chart || NearestIndex == -1 || NearestIndex >= series->PointCount()) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    TCanvas* dc = canvas.DeviceHandle();
    const int oldMode = !FullRepaint && dc ? dc->SetROP2(R2_NOTXORPEN) : 0;
    canvas.SelectPen(Pen());
    canvas.SelectBrushColors(Brush(), clBlack, Brush().Color());
    const int px = series->ScreenXOf(NearestIndex), py = series->ScreenYOf(NearestIndex);
    const int z = series->StartZ(), s = FSize;
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
        canvas.SelectPen(*FLinePen);
        if (view3D) canvas.DrawLineAtZ(MousePoint.x, MousePoint.y, px, py, z);
        else canvas.DrawLineXY(MousePoint.x, MousePoint.y, px, py);
    }
    if (!FullRepaint && dc) dc->SetROP2(oldMode);
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
        if (Series()) NearestIndex = FindNearestPoint(*Series(), X, Y);
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
