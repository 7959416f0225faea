// What the axis panel computes about its series for the axes: the extreme values that give each axis its
// automatic range (paging, depth axes, range exclusions), whether an axis is shown, and which series
// belong to an axis.
#include "chart/engine/LumEnginePanel.h"

#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <utility>
#include <limits>

bool TCustomAxisPanel::SeriesOnAxis(const TChartSeries& Series, const TChartAxis& Axis, bool Horizontal) const
{
    if (Horizontal) return Series.HorizAxis() == aBothHorizAxis || Series.GetHorizAxis() == &Axis;
    return Series.VertAxis() == aBothVertAxis || Series.GetVertAxis() == &Axis;
}

double TCustomAxisPanel::DepthAxisLimit(const TChartAxis& Axis, bool IsMinimum) const
{
    if (Axis.CalcLabelStyle() != talValue) return IsMinimum ? -0.5 : FMaxZOrder + 0.5;
    bool any = false;
    double result = 0;
    for (TChartSeries* s : FSeriesList.Items()) {
        if (!s->Active()) continue;
        const double v = IsMinimum ? s->LowestZ() : s->HighestZ();
        result = !any ? v : (IsMinimum ? std::min(result, v) : std::max(result, v));
        any = true;
    }
    return result;
}

// The limit of the paged axis: the values of the largest series' current page, a short last page
// stretched to a full page's scale unless ScaleLastPage.
bool TCustomAxisPanel::PagedLimit(const TChartAxis& Axis, bool IsMinimum, bool Horizontal, double& Result) const
{
    if (FMaxPointsPerPage <= 0) return false;
    const TChartSeries* first = FirstSeriesForAxis(Axis);
    const bool paged = (first == nullptr || first->YMandatory()) == Horizontal;
    if (!paged) return false;
    Result = 0;
    const TChartSeries* largest = LargestSeriesForAxis(Axis);
    if (!largest || largest->PointCount() == 0) return true;
    int from = 0, to = 0;
    largest->PageIndexRange(from, to);
    const TChartValueList& v = Horizontal ? largest->XValues() : largest->YValues();
    if (IsMinimum) {
        Result = v.ValueAt(from);
        return true;
    }
    Result = v.ValueAt(to);
    const int n = to - from + 1;
    if (!FScaleLastPage && n < FMaxPointsPerPage) {
        const double f = v.ValueAt(from);
        Result = Result != f ? f + (Result - f) * FMaxPointsPerPage / n : f + static_cast<double>(FMaxPointsPerPage) / n;
    }
    return true;
}

double TCustomAxisPanel::SeriesValueLimit(const TChartAxis& Axis, bool IsMinimum, bool Horizontal) const
{
    if (Axis.IsDepthAxis()) return DepthAxisLimit(Axis, IsMinimum);
    double paged = 0;
    if (PagedLimit(Axis, IsMinimum, Horizontal, paged)) return paged;
    const bool all = AxisWithoutActiveSeries(Axis);
    bool any = false;
    double result = 0;
    for (TChartSeries* s : FSeriesList.Items()) {
        if (!(s->Active() || all) || s->PointCount() == 0) continue;
        if (Horizontal ? s->ExcludeFromXRange() : s->ExcludeFromYRange()) continue;
        if (!SeriesOnAxis(*s, Axis, Horizontal)) continue;
        const double v = Horizontal ? (IsMinimum ? s->LowestX() : s->HighestX())
                                    : (IsMinimum ? s->LowestY() : s->HighestY());
        result = !any ? v : (IsMinimum ? std::min(result, v) : std::max(result, v));
        any = true;
    }
    return result;
}

bool TCustomAxisPanel::AxisHasSeries(const TChartAxis& Axis, bool WhenNone) const
{
    bool anyActive = false;
    for (const TChartSeries* s : FSeriesList.Items()) {
        if (!s->Active()) continue;
        anyActive = true;
        if (!s->UsesAxes()) return false;
        if (s->UsesAxis(&Axis)) return true;
    }
    return anyActive ? false : WhenNone;
}

bool TCustomAxisPanel::ComputeAxisVisible(const TChartAxis& Axis) const
{
    if (!FAxisVisible || !Axis.Visible()) return false;
    if (Axis.IsDepthAxis()) return View3D();
    return AxisHasSeries(Axis, true);
}

bool TCustomAxisPanel::AxisWithoutActiveSeries(const TChartAxis& Axis) const
{
    return std::none_of(FSeriesList.Items().begin(), FSeriesList.Items().end(),
                        [&](const TChartSeries* s) { return s->Active() && s->UsesAxis(&Axis); });
}

TRect TCustomAxisPanel::AxisMargins(const TChartAxis& Axis) const
{
    // Gathered by ends: the side of the minimum and the side of the maximum.
    int atMin = 0, atMax = 0;
    for (TChartSeries* s : FSeriesList.Items()) {
        if (!s->Active() || !s->UsesAxis(&Axis)) continue;
        int a = 0, b = 0;
        if (Axis.Horizontal()) {
            s->HorizMargins(a, b);     // left, right
            if (Axis.AutomaticMinimum()) atMin = std::max(atMin, a);
            if (Axis.AutomaticMaximum()) atMax = std::max(atMax, b);
        } else {
            s->VertMargins(a, b);      // top, bottom
            if (Axis.AutomaticMaximum()) atMax = std::max(atMax, a);
            if (Axis.AutomaticMinimum()) atMin = std::max(atMin, b);
        }
    }
    // A margin beyond the int range is no narrower a span than one at its bound.
    atMin = ClampedPixel(std::int64_t(atMin) + Axis.MinimumOffset());
    atMax = ClampedPixel(std::int64_t(atMax) + Axis.MaximumOffset());
    if (Axis.Inverted()) std::swap(atMin, atMax);
    TRect m;
    if (Axis.Horizontal()) {
        m.Left = atMin;
        m.Right = atMax;
    } else {
        m.Bottom = atMin;
        m.Top = atMax;
    }
    return m;
}

TChartSeries* TCustomAxisPanel::FirstSeriesForAxis(const TChartAxis& Axis) const
{
    const bool all = AxisWithoutActiveSeries(Axis);
    for (TChartSeries* s : FSeriesList.Items())
        if ((s->Active() || all) && s->UsesAxis(&Axis)) return s;
    return nullptr;
}

TChartSeries* TCustomAxisPanel::LargestSeriesForAxis(const TChartAxis& Axis) const
{
    const bool all = AxisWithoutActiveSeries(Axis);
    TChartSeries* largest = nullptr;
    for (TChartSeries* s : FSeriesList.Items())
        if ((s->Active() || all) && s->UsesAxis(&Axis) && (!largest || s->PointCount() > largest->PointCount()))
            largest = s;
    return largest;
}
