// The axis panel's drawing of a whole chart: face, titles and legend, 3-D layout, axes fitted into the
// chart rectangle and widened by the series' margins, walls, series with their marks and the zoom band,
// in a fixed order with the tool stages; and the panel's part in series hover tracking.
#include "chart/engine/LumEnginePanel.h"

#include "chart/base/LumCanvasHelpers.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>

namespace {

// The Active series of a chart in list order.
std::vector<TChartSeries*> ActiveSeries(const TCustomAxisPanel& Chart)
{
    std::vector<TChartSeries*> result;
    for (int i = 0; i < Chart.CountSeries(); ++i)
        if (Chart.SeriesAt(i)->Active()) result.push_back(Chart.SeriesAt(i));
    return result;
}

TRect Intersection(const TRect& A, const TRect& B)
{
    return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
}

bool IsEmptyRect(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

} // namespace

// ---- The pipeline ----------------------------------------------------------------------------------------

void TCustomAxisPanel::DrawChartContent(const TRect& Rect)
{
    TRepaintPause pause(*this);
    TCanvas3D& canvas = ChartCanvas();
    const bool ownRenderer = canvas.HasOwnRenderer();
    ComputeBackFaced();
    if (!ownRenderer) PaintPanelFace(Rect);
    NotifyToolsStage(2);
    FireBeforeDrawChart();
    for (TChartSeries* s : ActiveSeries(*this)) s->PrepareForDraw();
    if (!ownRenderer) PaintLegendAndTitles(true);
    AssignSeriesZOrders();
    FitChartRectTo3D();
    const TRect afterTitles = ChartRect();
    FitAxesInChartRect();
    ComputeSeriesZExtents();
    ApplySeriesMargins();
    canvas.SetRotationCentre(Width3D(), PanelRect(), ChartRect());
    if (ownRenderer) {
        const TRect fitted = ChartRect();
        SetChartRect(afterTitles);
        PaintPanelFace(Rect);
        PaintLegendAndTitles(true);
        SetChartRect(fitted);
    }
    PaintWalls();
    if (AxisBehind()) {
        NotifyToolsStage(3);
        PaintAxes();
    }
    NotifyToolsStage(1);
    FireBeforeDrawSeries();
    PaintAllSeries();
    NotifyToolsStage(4);
    if (!AxisBehind()) {
        NotifyToolsStage(3);
        PaintAxes();
    }
    PaintLegendAndTitles(false);
    if (Zoom().Active) DrawZoomRectangle();
    NotifyToolsStage(0);
    canvas.ResetState();
    FireAfterDraw();
}

void TCustomAxisPanel::ComputeBackFaced()
{
    const TView3DOptions& view = View3DOptions();
    SetBackFaced(View3D() && (view.Orthogonal() ? view.OrthoAngle() > 90 : view.Rotation() < 180));
}

// Without z-ordering every series stands at depth 0.
void TCustomAxisPanel::AssignSeriesZOrders()
{
    const std::vector<TChartSeries*> active = ActiveSeries(*this);
    SetMaxZOrder(0);
    const bool zOrdering = ApplyZOrder() && View3D();
    if (!zOrdering) {
        for (TChartSeries* s : active) s->SetZOrder(0);
        return;
    }
    SetMaxZOrder(-1);
    for (TChartSeries* s : active) s->ComputeZOrder();
    if (DepthAxis().Inverted()) return;
    for (TChartSeries* s : active) s->SetZOrder(MaxZOrder() - s->ZOrder());
}

void TCustomAxisPanel::ComputeSeriesZExtents()
{
    for (TChartSeries* s : ActiveSeries(*this)) s->ComputeZExtent();
}

// ---- Axes ------------------------------------------------------------------------------------------------

void TCustomAxisPanel::PositionAllAxes()
{
    for (int i = 0; i < Axes().Count(); ++i) Axes().AxisAt(i)->CalcPixelRange();
}

void TCustomAxisPanel::FitAxesInChartRect()
{
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes().AxisAt(i);
        axis->Shown = ComputeAxisVisible(*axis);
        axis->ComputeAutoRange();
    }
    PositionAllAxes();
    TRect r = ChartRect();
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes().AxisAt(i);
        if (axis->Shown) {
            TRect t = r;
            axis->CalcLayout(t, i < 5);
            const TRect both = Intersection(t, r);
            if (!IsEmptyRect(both)) r = both;
        } else if (Axes().OnAxisSpace) {
            axis->ShrinkRect(r, Axes().OnAxisSpace(*axis, 0));
        }
    }
    if (!CustomChartRect()) SetChartRect(r);
    RecalcChartRect();
    PositionAllAxes();
}

// Series margins at automatic ends and the axis offsets widen each axis' working range; offsets also
// move the title out past the labels.
void TCustomAxisPanel::ApplySeriesMargins()
{
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis& axis = *Axes().AxisAt(i);
        axis.SetRangeFromPixels(AxisMargins(axis));
        if (axis.MinimumOffset() != 0 || axis.MaximumOffset() != 0)
            axis.TitlePosition = axis.OutwardBy(axis.LabelsPosition, axis.LabelZoneSize());
    }
}

void TCustomAxisPanel::PaintAxes()
{
    if (!AxisVisible()) return;
    FireBeforeDrawAxes();
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes().AxisAt(i);
        if (!IsAxisShown(*axis)) continue;
        if (axis == &BottomAxis() && IsPlaneSeenFromBehind(0)) continue;
        axis->PaintAxis(true);
    }
}

bool TCustomAxisPanel::IsPlaneSeenFromBehind(int Z)
{
    TCanvas3D& canvas = ChartCanvas();
    if (!View3D() || canvas.HasOwnRenderer()) return false;
    const TFourPoints p = canvas.ProjectRectCorners(ChartRect(), Z);
    return TurnSign(p[0], p[1], p[2]) >= 0;
}

// ---- Series ----------------------------------------------------------------------------------------------

bool TCustomAxisPanel::ClipToChart()
{
    if (!ClippingAllowed()) return false;
    const TRect r = ChartRect();
    ChartCanvas().ClipToBox({r.Left, r.Top, r.Right, r.Bottom + 1}, 0, Width3D());
    return true;
}

void TCustomAxisPanel::PaintAllSeries()
{
    std::vector<TChartSeries*> active = ActiveSeries(*this);
    if (DepthAxis().Inverted() != IsPlaneSeenFromBehind(Width3D())) std::reverse(active.begin(), active.end());
    for (TChartSeries* s : active) PaintSeries(*s);
}

namespace {

// The marks of a series that has points and visible marks, clipped when the marks ask for it.
void PaintSeriesMarks(TCustomAxisPanel& Chart, TChartSeries& Series, const std::function<bool()>& Clip)
{
    if (Series.PointCount() == 0 || !Series.Marks().Visible()) return;
    const bool clipped = Series.Marks().Clip() && Clip();
    Series.PaintMarks();
    if (clipped) Chart.ChartCanvas().RemoveClip();
}

} // namespace

void TCustomAxisPanel::PaintSeries(TChartSeries& Series)
{
    auto clip = [this] { return ClipToChart(); };
    if (!View3D() || !Series.SharesDepthWithOther()) {
        Series.ComputeVisibleIndexRange();
        if (Series.FirstVisible() == -1) return;
        Series.FireBeforeDrawValues();
        const bool clipped = Series.UsesAxes() && ClipPoints() && ClipToChart();
        Series.PaintAllPoints();
        if (clipped) ChartCanvas().RemoveClip();
        PaintSeriesMarks(*this, Series, clip);
        Series.FireAfterDrawValues();
        return;
    }
    if (!Series.IsFirstAtDepth()) return;
    // The depth slot: this series and the later Active series at its depth.
    std::vector<TChartSeries*> slot;
    bool reached = false;
    for (TChartSeries* s : ActiveSeries(*this)) {
        reached = reached || s == &Series;
        if (reached && s->ZOrder() == Series.ZOrder()) slot.push_back(s);
    }
    int first = -1, last = -1;
    bool clipped = false;
    for (TChartSeries* s : slot) {
        s->ComputeVisibleIndexRange();
        if (s->FirstVisible() == -1) continue;
        first = std::max(first, s->FirstVisible());
        last = std::max(last, s->LastVisible());
        s->FireBeforeDrawValues();
        if (!clipped && ClipPoints()) clipped = ClipToChart();
    }
    if (first != -1) {
        auto paintAt = [&](int i) {
            const bool inOrder = i >= Series.PointCount() || Series.DrawSeriesForward(i);
            auto visit = [&](TChartSeries* s) {
                if (s->Active() && s->ZOrder() == Series.ZOrder() && s->PointCount() > i) s->PaintPoint(i);
            };
            if (inOrder)
                std::for_each(slot.begin(), slot.end(), visit);
            else
                std::for_each(slot.rbegin(), slot.rend(), visit);
        };
        if (Series.DrawsForward())
            for (int i = first; i <= last; ++i) paintAt(i);
        else
            for (int i = last; i >= first; --i) paintAt(i);
    }
    if (clipped) ChartCanvas().RemoveClip();
    for (TChartSeries* s : slot) {
        if (s->FirstVisible() == -1) continue;
        PaintSeriesMarks(*this, *s, clip);
        s->FireAfterDrawValues();
    }
}

// ---- Hover -----------------------------------------------------------------------------------------------

bool TCustomAxisPanel::TrackSeriesHover(int X, int Y)
{
    bool over = false;
    for (int i = CountSeries() - 1; i >= 0; --i) {
        TChartSeries* s = SeriesAt(i);
        if (s->Active() && s->TrackMouseHover(X, Y)) over = true;
    }
    return over;
}
