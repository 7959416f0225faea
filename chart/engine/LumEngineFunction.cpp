// The function base: period settings, the walks over a source (whole, in groups of points, in ranges of
// x, across several sources, over a moving window), and the link to the parent series.
#include "chart/engine/LumEngineFunction.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>
#include <cmath>

// ---- Class descriptions ----------------------------------------------------------------------------------

const TClassInfo& TLumFunction::StaticClassInfo()
{
    using P = TProps<TLumFunction>;
    static const TClassInfo info({
        .Name = "TLumFunction",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties =
            {
                P::Real("Period", &TLumFunction::Period, &TLumFunction::SetPeriod),
                P::Enumeration("PeriodAlign", FunctionPeriodAlignNames, &TLumFunction::PeriodAlign,
                               &TLumFunction::SetPeriodAlign)
                    .Default(paCenter),
                P::Enumeration("PeriodStyle", FunctionPeriodStyleNames, &TLumFunction::PeriodStyle,
                               &TLumFunction::SetPeriodStyle)
                    .Default(psNumPoints),
            },
        .Create = &CreateComponentOf<TLumFunction>,
    });
    return info;
}

const TClassInfo& TLumMovingFunction::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumMovingFunction",
                                  .Parent = &TLumFunction::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TLumMovingFunction>});
    return info;
}

// ---- Life ------------------------------------------------------------------------------------------------

TLumFunction::TLumFunction(TComponent* AOwner) : TComponent(AOwner) {}

TLumFunction::~TLumFunction()
{
    // The parent hears of it through the free notification it asked for when it took the function.
    FParent = nullptr;
}

void TLumFunction::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TLumFunction*>(&Source)) {
        FPeriod = other->FPeriod;
        FPeriodStyle = other->FPeriodStyle;
        FPeriodAlign = other->FPeriodAlign;
    }
}

std::string TLumFunction::EditorFormName() const { return "TLumFunctionEditor"; }

// ---- Settings --------------------------------------------------------------------------------------------

void TLumFunction::SetPeriod(double Value)
{
    if (Value < 0) throw ChartException(LumConst::FunctionPeriodNegative);
    if (Value == FPeriod) return;
    FPeriod = Value;
    RefreshParentSeries();
}

void TLumFunction::SetPeriodStyle(TFunctionPeriodStyle Value)
{
    if (Value == FPeriodStyle) return;
    FPeriodStyle = Value;
    RefreshParentSeries();
}

void TLumFunction::SetPeriodAlign(TFunctionPeriodAlign Value)
{
    if (Value == FPeriodAlign) return;
    FPeriodAlign = Value;
    RefreshParentSeries();
}

// A period below one point would never move the walk on; a huge one stays within int.
int TLumFunction::PeriodPoints() const
{
    const double rounded = std::nearbyint(FPeriod);
    if (!(rounded >= 1)) return 1;
    if (rounded >= 2147483647.0) return 2147483647;
    return static_cast<int>(rounded);
}

void TLumFunction::ResumeRecalc()
{
    if (!FSuspended) return;
    FSuspended = false;
    RefreshParentSeries();
}

void TLumFunction::RefreshParentSeries()
{
    if (!FSuspended && FParent) FParent->RefreshFromSource();
}

// ---- Parent series ---------------------------------------------------------------------------------------

void TLumFunction::AttachToSeries(TChartSeries* Series)
{
    if (Series == FParent) return;
    if (FParent) FParent->ForgetFunction();
    FParent = nullptr;
    if (Series) Series->AttachFunction(this);
}

TComponent* TLumFunction::GetParentComponent() const { return FParent; }

void TLumFunction::SetParentComponent(TComponent* Value)
{
    if (auto* series = dynamic_cast<TChartSeries*>(Value)) AttachToSeries(series);
}

void TLumFunction::PrepareGalleryChart(TCustomAxisPanel& Chart)
{
    for (int i = 0; i < Chart.CountSeries(); ++i) Chart.SeriesAt(i)->PrepareForGallery(true);
}

// ---- Helpers ---------------------------------------------------------------------------------------------

TChartValueList& TLumFunction::PickSourceValues(TChartSeries& Source) const
{
    if (FParent) {
        const std::string& name = FParent->MandatoryValues().ValueSource();
        if (!name.empty()) return *Source.ValueListByName(name);
    }
    return Source.MandatoryValues();
}

void TLumFunction::AddFunctionPoint(bool SourceIsVertical, double Value, double X)
{
    if (!FParent) return;
    if (SourceIsVertical)
        FParent->InsertPoint(X, Value);
    else
        FParent->InsertPoint(Value, X);
}

std::vector<TChartSeries*> TLumFunction::SeriesSources() const
{
    std::vector<TChartSeries*> result;
    if (!FParent) return result;
    const TDataSourcesList& sources = FParent->DataSources();
    for (int i = 0; i < sources.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(sources.Items(i))) result.push_back(series);
    return result;
}

// ---- Value operations of the base ------------------------------------------------------------------------

double TLumFunction::ValueOfRange(TChartSeries&, int, int) { return 0; }

double TLumFunction::ValueAcrossSeries(const std::vector<TChartSeries*>&, int) { return 0; }

void TLumFunction::AddPointForRange(TChartSeries& Source, int First, int Last, double X)
{
    AddFunctionPoint(Source.YMandatory(), ValueOfRange(Source, First, Last), X);
}

// ---- Walks -----------------------------------------------------------------------------------------------

void TLumFunction::CalculateFromSources(TChartSeries* Source)
{
    if (FSuspended || !Source || !FParent) return;
    if (FParent->DataSources().Count() > 1)
        ComputeAcrossSources(*Source);
    else if (Source->PointCount() > 0)
        ComputeFromSeries(*Source, Source->OtherValues());
}

void TLumFunction::ComputeAcrossSources(TChartSeries& Source)
{
    const std::vector<TChartSeries*> sources = SeriesSources();
    TChartSeries* longest = &Source;
    for (TChartSeries* s : sources)
        if (s->PointCount() > longest->PointCount()) longest = s;
    const bool vertical = longest->YMandatory();
    for (int j = 0; j < longest->PointCount(); ++j) {
        const double x = longest->OtherValues().ValueAt(j);
        const double y = ValueAcrossSeries(sources, j);
        const std::string label = longest->Labels().LabelText(j);
        if (vertical)
            FParent->InsertPoint(x, y, label);
        else
            FParent->InsertPoint(y, x, label);
    }
}

void TLumFunction::ComputeFromSeries(TChartSeries& Source, TChartValueList& XList)
{
    if (FPeriod != 0)
        ComputeInPeriods(Source, XList);
    else
        ComputeWhole(Source, XList);
}

void TLumFunction::ComputeWhole(TChartSeries& Source, TChartValueList& XList)
{
    const double v = ValueOfRange(Source, -1, -1);
    if (FParent->SinglePointResults()) {
        const double middle = XList.LowestValue() + XList.ValueRange() / 2;
        if (FParent->YMandatory())
            FParent->InsertPoint(middle, v);
        else
            FParent->InsertPoint(v, middle);
    } else {
        AddFunctionPoint(Source.YMandatory(), v, XList.LowestValue());
        AddFunctionPoint(Source.YMandatory(), v, XList.HighestValue());
    }
}

void TLumFunction::ComputeInPeriods(TChartSeries& Source, TChartValueList& XList)
{
    if (FPeriodStyle == psNumPoints)
        ComputeInPointGroups(Source, XList);
    else
        ComputeInRanges(Source, XList);
}

double TLumFunction::AlignedX(double FirstX, double LastX) const
{
    switch (FPeriodAlign) {
    case paFirst: return FirstX;
    case paLast: return LastX;
    default: return (FirstX + LastX) / 2;
    }
}

// Groups of PeriodPoints() points; a trailing group shorter than that adds nothing.
void TLumFunction::ComputeInPointGroups(TChartSeries& Source, TChartValueList& XList)
{
    const int n = Source.PointCount();
    const long long size = PeriodPoints();
    for (long long i = 0; i < n; i += size) {
        const long long last = i + size - 1;
        if (last >= n) break;
        const double x = AlignedX(XList.ValueAt(static_cast<int>(i)), XList.ValueAt(static_cast<int>(last)));
        AddPointForRange(Source, static_cast<int>(i), static_cast<int>(last), x);
    }
}

double TLumFunction::NextPeriodEnd(double Start, int StepIndex) const
{
    const TChartAxis* axis = FParent ? FParent->GetHorizAxis() : nullptr;
    const bool exactDate = axis && axis->IsDateTime && axis->ExactDateTime();
    double end = Start;
    AdvanceByDateStep(exactDate, true, end, FPeriod, StepIndex);
    return end;
}

// Periods of Period x units from the first x; an empty period adds 0 at its place. The walk ends when
// the period end stops moving (a period too small for the magnitude of x, or an unbounded x).
void TLumFunction::ComputeInRanges(TChartSeries& Source, TChartValueList& XList)
{
    const int n = Source.PointCount();
    const int stepIndex = FindDateTimeStep(FPeriod);
    double end = XList.ValueAt(0);
    int i = 0;
    while (i < n) {
        const double firstX = end;
        const double next = NextPeriodEnd(end, stepIndex);
        if (!(next > end)) break;
        end = next;
        const double lastX = end - 0.001 * FPeriod;
        int last = i;
        while (last < n - 1 && XList.ValueAt(last + 1) < end) ++last;
        const double x = AlignedX(firstX, lastX);
        if (XList.ValueAt(i) < end) {
            AddPointForRange(Source, i, last, x);
            i = last + 1;
        } else {
            AddFunctionPoint(Source.YMandatory(), 0, x);
        }
    }
}

// ---- Moving function -------------------------------------------------------------------------------------

TLumMovingFunction::TLumMovingFunction(TComponent* AOwner) : TLumFunction(AOwner)
{
    InitPeriod(1);
    SetSingleSource(true);
}

void TLumMovingFunction::ComputeFromSeries(TChartSeries& Source, TChartValueList& XList)
{
    const int n = Source.PointCount();
    const int p = PeriodPoints();
    for (long long i = static_cast<long long>(p) - 1; i < n; ++i) {
        const int last = static_cast<int>(i);
        AddFunctionPoint(Source.YMandatory(), ValueOfRange(Source, last - p + 1, last), XList.ValueAt(last));
    }
}
