// TChartSeries around its chart: joining and leaving it, binding to axes and mapping values to pixels,
// depth in 3-D charts, the visible and paged index ranges and the point loop; data updates, data
// sources and the notices to dependent series.
#include "chart/engine/LumEngineSeries.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineFunction.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineSeriesSource.h"
#include "chart/engine/LumEnginePanel.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// ---- Chart membership ----------------------------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* Value)
{
    if (Value == ParentChart()) return;
    if (ParentChart()) ParentChart()->RemoveSeries(this);
    TCustomChartElement::SetParentChart(Value);
    FMarks->SetParentPanel(Value);
    if (Value) Value->AddSeries(this);
}

void TChartSeries::AddedToChart()
{
    TCustomChartSeries::AddedToChart();
    if (FColor == clDefault && ParentChart()) {
        TakePaletteColor(ParentChart()->FreeSeriesColor(true, this));
        AnnounceColorChange();
    }
    ResolveAxes();
    RefreshFromSource();
}

void TChartSeries::RemovedFromChart()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart && FCursor != 0 && chart->Cursor() == FCursor) chart->SetCursor(chart->SavedCursor());
    ReleaseSourceSeries();
    TCustomChartSeries::RemovedFromChart();
    // A series removed but still owned by the chart is freed with it: its marks must not repaint a
    // chart being destroyed.
    FMarks->SetParentPanel(nullptr);
    FHorizAxis = nullptr;
    FVertAxis = nullptr;
}

// ---- Axes ----------------------------------------------------------------------------------------------

void TChartSeries::ResolveAxes()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) {
        FHorizAxis = FVertAxis = nullptr;
        return;
    }
    if (FHorizAxisKind == aTopAxis)
        FHorizAxis = &chart->TopAxis();
    else if (FHorizAxisKind == aCustomHorizAxis && FCustomHorizAxis)
        FHorizAxis = FCustomHorizAxis;
    else
        FHorizAxis = &chart->BottomAxis();
    if (FVertAxisKind == aRightAxis)
        FVertAxis = &chart->RightAxis();
    else if (FVertAxisKind == aCustomVertAxis && FCustomVertAxis)
        FVertAxis = FCustomVertAxis;
    else
        FVertAxis = &chart->LeftAxis();
}

void TChartSeries::SetHorizAxis(THorizAxis Value)
{
    if (Value == FHorizAxisKind) return;
    FHorizAxisKind = Value;
    if (Value != aCustomHorizAxis && !ComponentState().Contains(csLoading)) FCustomHorizAxis = nullptr;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetVertAxis(TVertAxis Value)
{
    if (Value == FVertAxisKind) return;
    FVertAxisKind = Value;
    if (Value != aCustomVertAxis && !ComponentState().Contains(csLoading)) FCustomVertAxis = nullptr;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::BindCustomHorizAxis(TChartAxis* Axis)
{
    FCustomHorizAxis = Axis;
    FHorizAxisKind = Axis ? aCustomHorizAxis : aBottomAxis;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::BindCustomVertAxis(TChartAxis* Axis)
{
    FCustomVertAxis = Axis;
    FVertAxisKind = Axis ? aCustomVertAxis : aLeftAxis;
    ResolveAxes();
    InvalidateChart();
}

// A depth axis is neither horizontal nor vertical: series bind to it only through its own rules.
bool TChartSeries::UsesAxis(const TChartAxis* Axis) const
{
    if (!Axis || !UsesAxes()) return false;
    if (Axis->IsDepthAxis()) return false;
    if (Axis->Horizontal()) return FHorizAxisKind == aBothHorizAxis || Axis == FHorizAxis;
    return FVertAxisKind == aBothVertAxis || Axis == FVertAxis;
}

TChartValueList* TChartSeries::ValuesForAxis(const TChartAxis* Axis) const
{
    if (!UsesAxis(Axis)) return nullptr;
    return Axis->Horizontal() ? FXValues : FYValues;
}

int TChartSeries::HorizValueToPixel(double Value) const { return FHorizAxis ? FHorizAxis->CalcXPosValue(Value) : 0; }
int TChartSeries::VertValueToPixel(double Value) const { return FVertAxis ? FVertAxis->CalcYPosValue(Value) : 0; }

int TChartSeries::MandatoryValueToPixel(double Value) const
{
    return FYMandatory ? VertValueToPixel(Value) : HorizValueToPixel(Value);
}

double TChartSeries::HorizPixelToValue(int Pixel) const { return FHorizAxis ? FHorizAxis->PixelToValue(Pixel) : 0; }
double TChartSeries::VertPixelToValue(int Pixel) const { return FVertAxis ? FVertAxis->PixelToValue(Pixel) : 0; }

int TChartSeries::ScreenXOf(int Index) const { return HorizValueToPixel(FXValues->ValueAt(Index)); }
int TChartSeries::ScreenYOf(int Index) const { return VertValueToPixel(FYValues->ValueAt(Index)); }

// ---- Depth ---------------------------------------------------------------------------------------------

void TChartSeries::ComputeZOrder()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->View3D()) {
        chart->SetMaxZOrder(chart->MaxZOrder() + 1);
        FZOrder = chart->MaxZOrder();
    } else {
        FZOrder = 0;
    }
}

void TChartSeries::ComputeZExtent()
{
    const int slot = ParentChart() ? ParentChart()->SeriesWidth3D() : 0;
    // In 64 bits: a stored depth of any size puts the far end at the int bound rather than around it.
    FStartZ = ClampedPixel(std::int64_t(slot) * FZOrder);
    FEndZ = ClampedPixel(std::int64_t(FStartZ) + (FDepth != -1 ? FDepth : slot));
    FMiddleZ = static_cast<int>((std::int64_t(FStartZ) + FEndZ) / 2);
    FMarks->SetZPosition(FMiddleZ);
}

bool TChartSeries::SharesDepthWithOther() const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        const TChartSeries* s = chart->SeriesAt(i);
        if (s != this && s->Active() && !s->Has3DValues() && s->ZOrder() == FZOrder) return true;
    }
    return false;
}

bool TChartSeries::IsFirstAtDepth() const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!Active() || !chart) return false;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        const TChartSeries* s = chart->SeriesAt(i);
        if (s == this) return true;
        if (s->Active() && s->ZOrder() == FZOrder) return false;
    }
    return true;
}

// ---- Visible points ------------------------------------------------------------------------------------

int TChartSeries::VisibleFirstAtOrAbove(double Value, int From) const
{
    const int n = PointCount();
    const double* v = FOther->Values();
    if (FOther->RunsAscending() && !std::isnan(Value)) {
        // Ascending values: the first one not below Value, found by halving.
        const double* at = std::lower_bound(v + std::max(From, 0), v + n, Value);
        return at == v + n ? -1 : static_cast<int>(at - v);
    }
    for (int i = std::max(From, 0); i < n; ++i)
        if (v[i] >= Value) return i;
    return -1;
}

void TChartSeries::ComputeVisibleIndexRange()
{
    FFirstVisible = FLastVisible = -1;
    const int n = PointCount();
    if (n == 0) return;
    TChartAxis* axis = FYMandatory ? FHorizAxis : FVertAxis;
    if (!FOrderedRange || FOther->Order() == loNone || !axis || !ParentChart()) {
        FFirstVisible = 0;
        FLastVisible = n - 1;
        return;
    }
    const TRect& r = ParentChart()->ChartRect();
    const bool inv = axis->Inverted();
    const int loPixel = FYMandatory ? (inv ? r.Right : r.Left) : (inv ? r.Top : r.Bottom);
    const int hiPixel = FYMandatory ? (inv ? r.Left : r.Right) : (inv ? r.Bottom : r.Top);
    const double lo = axis->PixelToValue(loPixel);
    const double hi = axis->PixelToValue(hiPixel);
    const int first = VisibleFirstAtOrAbove(lo);
    if (first < 0) return;
    const double* v = FOther->Values();
    int last = n - 1;
    if (v[n - 1] > hi) {
        // The first value from the first visible one on that reaches hi; the last value is one.
        last = VisibleFirstAtOrAbove(hi, first);
        if (last < 0) last = n - 1;
        if (!FKeepOneBeyond && v[last] > hi) --last;
    }
    FFirstVisible = first;
    FLastVisible = last;
}

void TChartSeries::PageIndexRange(int& First, int& Last) const
{
    const int n = PointCount();
    if (n == 0) {
        First = Last = -1;
        return;
    }
    const int m = ParentChart() ? ParentChart()->MaxPointsPerPage() : 0;
    if (m <= 0) {
        First = 0;
        Last = n - 1;
        return;
    }
    First = (ParentChart()->Page() - 1) * m;
    if (First >= n) First = m * std::max(0, n / m - 1);
    Last = First + m - 1;
    if (Last >= n) Last = First + (n % m) - 1;
}

bool TChartSeries::DrawsForward() const
{
    const TChartAxis* axis = FYMandatory ? FHorizAxis : FVertAxis;
    bool forward = !(axis && axis->Inverted());
    if (ParentChart() && ParentChart()->BackFaced()) forward = !forward;
    return forward;
}

bool TChartSeries::DrawSeriesForward(int) const { return !(ParentChart() && ParentChart()->BackFaced()); }

bool TChartSeries::PointDrawn(int Index) const { return !FNullFlags || FNullFlags->ValueAt(Index) == 0; }

void TChartSeries::PaintAllPoints()
{
    if (FLastVisible < FFirstVisible || FFirstVisible < 0) return;
    if (DrawsForward()) {
        for (int i = FFirstVisible; i <= FLastVisible; ++i)
            if (PointDrawn(i)) PaintPoint(i);
    } else {
        for (int i = FLastVisible; i >= FFirstVisible; --i)
            if (PointDrawn(i)) PaintPoint(i);
    }
}

void TChartSeries::FireBeforeDrawValues()
{
    if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::FireAfterDrawValues()
{
    if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::PaintLegendShape(int, const TRect& Rect)
{
    if (ParentChart()) ParentChart()->PaintLegendRectangle(Rect);
}

// ---- Data updates and dependents -----------------------------------------------------------------------

void TChartSeries::EndDataUpdate()
{
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) AnnounceDataChanged();
}

void TChartSeries::AnnounceDataChanged()
{
    NotifyDependents(dnRefresh, 0);
    if (ParentChart()) ParentChart()->SendSeriesEvent(this, seDataChanged);
}

// A range deletion (index -1) cannot be followed point by point: the dependent copies the source anew.
void TChartSeries::NotifyDependents(int Kind, int Index)
{
    if (FUpdateCount > 0 || FDependents->Count() == 0) return;
    for (TChartSeries* d : std::vector<TChartSeries*>(FDependents->Items())) {
        if (!FDependents->Contains(d)) continue;
        const std::uint8_t follow = d->FollowFlags();
        switch (Kind) {
        case dnCleared:
            if (follow & followClears) d->ClearPoints();
            break;
        case dnAdded:
            if ((follow & followAdditions) && !d->AttachedFunction()) d->AddFullPointFrom(*this, Index);
            break;
        case dnDeleted:
            if ((follow & followDeletions) && !d->AttachedFunction()) {
                if (Index < 0)
                    d->CopyPointsFrom(*this);
                else
                    d->DropPoint(*this, Index);
            }
            break;
        case dnValueChanged:
            if (follow & followValueChanges) d->CopyPointsFrom(*this);
            break;
        case dnRefresh:
            d->CopyPointsFrom(*this);
            break;
        default:
            break;
        }
    }
}

void TChartSeries::CopyPointsFrom(TChartSeries& Source)
{
    BeginDataUpdate();
    try {
        ClearPoints();
        if (FFunction) {
            FXValues->SetDateTime(Source.XValues().DateTime());
            FYValues->SetDateTime(Source.YValues().DateTime());
            FFunction->CalculateFromSources(&Source);
        } else if (AcceptsSource(&Source))
            for (int i = 0; i < Source.PointCount(); ++i) AddFullPointFrom(Source, i);
    } catch (...) {
        EndDataUpdate();
        throw;
    }
    EndDataUpdate();
}

void TChartSeries::AddDependent(TChartSeries* Series)
{
    if (Series && !FDependents->Contains(Series)) FDependents->Add(Series);
}

void TChartSeries::RemoveDependent(TChartSeries* Series) { FDependents->Remove(Series); }

TComponent* TChartSeries::DataSource() const { return FDataSources->Count() > 0 ? FDataSources->Items(0) : nullptr; }

void TChartSeries::SetDataSource(TComponent* Value)
{
    if (Value) {
        AddDataSource(Value, true);
        return;
    }
    if (ParentChart() && DataSource()) ParentChart()->ReleaseSeriesSource(*this, DataSource());
    FDataSources->Clear();
    RefreshFromSource();
}

int TChartSeries::AddDataSource(TComponent* Source, bool Replace)
{
    if (!Source) return -1;
    auto* series = dynamic_cast<TChartSeries*>(Source);
    if (ParentChart()) {
        if (!ParentChart()->AcceptsDataSource(*this, Source)) {
            char text[200];
            const std::string name = Source->Name().empty() ? Source->ClassName() : Source->Name();
            std::snprintf(text, sizeof text, LumConst::InvalidDataSource, name.c_str());
            throw ChartException(text);
        }
    } else if (!series || !AcceptsSource(series)) {
        throw ChartException(LumConst::NoParentChartForDataSource);
    }
    if (FDataSources->IndexOf(Source) >= 0) return -1;
    if (series && ParentChart()) CheckNoCircularSource(series);
    if (Replace && !ComponentState().Contains(csLoading)) FDataSources->Clear();
    const int index = AttachSource(Source);
    RefreshFromSource();
    return index;
}

int TChartSeries::AttachSource(TComponent* Source)
{
    if (!Source) return -1;
    if (auto* series = dynamic_cast<TChartSeries*>(Source)) CheckNoCircularSource(series);
    FDataSources->AppendSource(Source);
    FDataLoaded = false;
    if (auto* series = dynamic_cast<TChartSeries*>(Source)) {
        series->AddDependent(this);
    } else {
        FreeNotification(Source);
        if (auto* component = dynamic_cast<TLumSeriesSource*>(Source); component && component->Series() != this)
            TakeOverSource(*component);
    }
    return FDataSources->Count() - 1;
}

// A source bound to another series moves here with its open state (and its ownership, when the other
// series owned it).
void TChartSeries::TakeOverSource(TLumSeriesSource& Source)
{
    TChartSeries* old = Source.Series();
    const bool wasActive = Source.Active();
    Source.CloseSource();
    if (old && Source.Owner() == old) InsertComponent(&Source);
    Source.BindSeries(this);
    if (wasActive) Source.OpenSource();
}

void TChartSeries::RemoveDataSource(TComponent* Source)
{
    if (FDestroying) return;
    if (ParentChart() && DataSource()) ParentChart()->ReleaseSeriesSource(*this, Source);
    if (Source && Source == DataSource()) FDataSources->Clear();
    RefreshFromSource();
}

void TChartSeries::CheckNoCircularSource(TComponent* Candidate) const
{
    auto* series = dynamic_cast<TChartSeries*>(Candidate);
    if (series && SeriesDependsOn(*series, *this)) throw ChartException(LumConst::CircularSeriesDependence);
}

// A destroyed source must not stay in the list: the first one takes the whole list with it.
void TChartSeries::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomChartSeries::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFunction) FFunction = nullptr;
    if (Operation != opRemove || FDestroying) return;
    const int index = FDataSources->IndexOf(AComponent);
    if (index < 0) return;
    if (index == 0)
        RemoveDataSource(AComponent);
    FDataSources->Remove(AComponent);
}

void TChartSeries::RefreshFromSource()
{
    if (FUpdateCount > 0 || !ParentChart()) return;
    ParentChart()->RecomputeSeriesFromSource(*this);
}

void TChartSeries::ReleaseSourceSeries()
{
    for (int i = 0; i < FDataSources->Count(); ++i)
        if (auto* source = dynamic_cast<TChartSeries*>(FDataSources->Items(i))) source->RemoveDependent(this);
}
