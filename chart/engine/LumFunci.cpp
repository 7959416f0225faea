// The basic functions' value computations over a range of one source and over one index across
// sources, their class descriptions and their gallery registration.
#include "chart/engine/LumFunci.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>

// ---- Class descriptions ----------------------------------------------------------------------------------

namespace {

template <class T>
const TClassInfo& FunctionClass(const char* name, const TClassInfo& parent, std::vector<TPropInfo> props = {})
{
    static const TClassInfo info(
        {.Name = name, .Parent = &parent, .Properties = std::move(props), .Create = &CreateComponentOf<T>});
    return info;
}

template <class T>
TPropInfo IncludeNullsProperty()
{
    return TProps<T>::Boolean("IncludeNulls", &T::IncludeNulls, &T::SetIncludeNulls).Default(true);
}

} // namespace

const TClassInfo& TAddLumFunction::StaticClassInfo()
{
    return FunctionClass<TAddLumFunction>("TAddLumFunction", TLumFunction::StaticClassInfo());
}
const TClassInfo& TManySeriesLumFunction::StaticClassInfo()
{
    return FunctionClass<TManySeriesLumFunction>("TManySeriesLumFunction", TLumFunction::StaticClassInfo());
}
const TClassInfo& TSubtractLumFunction::StaticClassInfo()
{
    return FunctionClass<TSubtractLumFunction>("TSubtractLumFunction", TManySeriesLumFunction::StaticClassInfo());
}
const TClassInfo& TMultiplyLumFunction::StaticClassInfo()
{
    return FunctionClass<TMultiplyLumFunction>("TMultiplyLumFunction", TManySeriesLumFunction::StaticClassInfo());
}
const TClassInfo& TDivideLumFunction::StaticClassInfo()
{
    return FunctionClass<TDivideLumFunction>("TDivideLumFunction", TManySeriesLumFunction::StaticClassInfo());
}
const TClassInfo& THighLumFunction::StaticClassInfo()
{
    return FunctionClass<THighLumFunction>("THighLumFunction", TLumFunction::StaticClassInfo());
}
const TClassInfo& TLowLumFunction::StaticClassInfo()
{
    return FunctionClass<TLowLumFunction>("TLowLumFunction", TLumFunction::StaticClassInfo());
}
const TClassInfo& TAverageLumFunction::StaticClassInfo()
{
    return FunctionClass<TAverageLumFunction>("TAverageLumFunction", TLumFunction::StaticClassInfo(),
                                              {IncludeNullsProperty<TAverageLumFunction>()});
}
const TClassInfo& TCustomLumFunction::StaticClassInfo()
{
    using P = TProps<TCustomLumFunction>;
    return FunctionClass<TCustomLumFunction>(
        "TCustomLumFunction", TLumFunction::StaticClassInfo(),
        {P::Integer("NumPoints", &TCustomLumFunction::NumPoints, &TCustomLumFunction::SetNumPoints).Default(100),
         P::Real("StartX", &TCustomLumFunction::StartX, &TCustomLumFunction::SetStartX)});
}
const TClassInfo& TCustomSortedFunction::StaticClassInfo()
{
    return FunctionClass<TCustomSortedFunction>("TCustomSortedFunction", TLumFunction::StaticClassInfo());
}
const TClassInfo& TMedianLumFunction::StaticClassInfo()
{
    return FunctionClass<TMedianLumFunction>("TMedianLumFunction", TCustomSortedFunction::StaticClassInfo(),
                                             {IncludeNullsProperty<TMedianLumFunction>()});
}
const TClassInfo& TModeLumFunction::StaticClassInfo()
{
    return FunctionClass<TModeLumFunction>("TModeLumFunction", TCustomSortedFunction::StaticClassInfo(),
                                           {IncludeNullsProperty<TModeLumFunction>()});
}

// ---- Shared helpers --------------------------------------------------------------------------------------

namespace {

// The picked list of a source and whether it holds value Index.
bool HasIndex(const TChartValueList& List, int Index) { return Index >= 0 && Index < List.ValueCount(); }

// Index range First..Last of a list of Count values; First -1 means all of them.
void ResolveRange(int Count, int& First, int& Last)
{
    if (First == -1) {
        First = 0;
        Last = Count - 1;
    }
}

} // namespace

// ---- Add -------------------------------------------------------------------------------------------------

double TAddLumFunction::ValueOfRange(TChartSeries& Source, int First, int Last)
{
    TChartValueList& values = PickSourceValues(Source);
    if (First == -1) return values.SumOfValues();
    double sum = 0;
    for (int i = First; i <= Last; ++i) sum += values.ValueAt(i);
    return sum;
}

double TAddLumFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index)
{
    double sum = 0;
    for (TChartSeries* s : Sources) {
        const TChartValueList& values = PickSourceValues(*s);
        if (HasIndex(values, Index)) sum += values.ValueAt(Index);
    }
    return sum;
}

// ---- Subtract, multiply, divide --------------------------------------------------------------------------

double TManySeriesLumFunction::CombineValues(double, double) { return 0; }

double TManySeriesLumFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index)
{
    bool started = false;
    double result = 0;
    for (TChartSeries* s : Sources) {
        const TChartValueList& values = PickSourceValues(*s);
        if (!HasIndex(values, Index)) continue;
        const double v = values.ValueAt(Index);
        result = started ? CombineValues(v, result) : v;
        started = true;
    }
    return result;
}

// ---- High and low ----------------------------------------------------------------------------------------

namespace {

// The extreme of values First..Last by Better (true when the first argument should replace the second).
template <class Better>
double ExtremeOfRange(TChartValueList& Values, int First, int Last, Better better)
{
    if (Last < First) return 0;
    double result = Values.ValueAt(First);
    for (int i = First + 1; i <= Last; ++i)
        if (better(Values.ValueAt(i), result)) result = Values.ValueAt(i);
    return result;
}

// The first source sets the start (0 when it lacks the index); later ones replace it when better.
template <class Better>
double ExtremeAcross(const TLumFunction& F, const std::vector<TChartSeries*>& Sources, int Index, Better better)
{
    double result = 0;
    for (std::size_t k = 0; k < Sources.size(); ++k) {
        const TChartValueList& values = F.PickSourceValues(*Sources[k]);
        const bool has = HasIndex(values, Index);
        if (k == 0)
            result = has ? values.ValueAt(Index) : 0;
        else if (has && better(values.ValueAt(Index), result))
            result = values.ValueAt(Index);
    }
    return result;
}

} // namespace

double THighLumFunction::ValueOfRange(TChartSeries& Source, int First, int Last)
{
    TChartValueList& values = PickSourceValues(Source);
    if (First == -1) return values.HighestValue();
    return ExtremeOfRange(values, First, Last, [](double a, double b) { return a > b; });
}

double THighLumFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index)
{
    return ExtremeAcross(*this, Sources, Index, [](double a, double b) { return a > b; });
}

double TLowLumFunction::ValueOfRange(TChartSeries& Source, int First, int Last)
{
    TChartValueList& values = PickSourceValues(Source);
    if (First == -1) return values.LowestValue();
    return ExtremeOfRange(values, First, Last, [](double a, double b) { return a < b; });
}

double TLowLumFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index)
{
    return ExtremeAcross(*this, Sources, Index, [](double a, double b) { return a < b; });
}

// ---- Average ---------------------------------------------------------------------------------------------

void TAverageLumFunction::SetIncludeNulls(bool Value)
{
    if (Value == FIncludeNulls) return;
    FIncludeNulls = Value;
    RefreshParentSeries();
}

double TAverageLumFunction::ValueOfRange(TChartSeries& Source, int First, int Last)
{
    TChartValueList& values = PickSourceValues(Source);
    if (First == -1 && FIncludeNulls) {
        const int n = Source.PointCount();
        return n > 0 ? values.SumOfValues() / n : 0;
    }
    ResolveRange(Source.PointCount(), First, Last);
    double sum = 0;
    int counted = 0;
    for (int i = First; i <= Last; ++i) {
        if (!FIncludeNulls && Source.PointIsNull(i)) continue;
        sum += values.ValueAt(i);
        ++counted;
    }
    return counted > 0 ? sum / counted : 0;
}

double TAverageLumFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index)
{
    double sum = 0;
    int counted = 0;
    for (TChartSeries* s : Sources) {
        const TChartValueList& values = PickSourceValues(*s);
        if (!HasIndex(values, Index)) continue;
        if (!FIncludeNulls && Index < s->PointCount() && s->PointIsNull(Index)) continue;
        sum += values.ValueAt(Index);
        ++counted;
    }
    return counted > 0 ? sum / counted : 0;
}

// ---- y = f(x) --------------------------------------------------------------------------------------------

TCustomLumFunction::TCustomLumFunction(TComponent* AOwner) : TLumFunction(AOwner)
{
    SetNoSourceNeeded(true);
    InitPeriod(1);
}

void TCustomLumFunction::SetNumPoints(int Value)
{
    if (Value == FNumPoints) return;
    FNumPoints = Value;
    RefreshParentSeries();
}

void TCustomLumFunction::SetStartX(double Value)
{
    if (Value == FStartX) return;
    FStartX = Value;
    RefreshParentSeries();
}

void TCustomLumFunction::CalculateFromSources(TChartSeries*)
{
    TChartSeries* parent = ParentSeries();
    if (!OnCalculate || !parent || Suspended()) return;
    parent->ClearPoints();
    double x = FStartX;
    for (int i = 0; i < FNumPoints; ++i) {
        FX = x;
        double y = 0;
        OnCalculate(this, x, y);
        if (parent->YMandatory())
            parent->InsertPoint(x, y);
        else
            parent->InsertPoint(y, x);
        x += Period();
    }
}

// ---- Median and mode -------------------------------------------------------------------------------------

void TCustomSortedFunction::SetIncludeNulls(bool Value)
{
    if (Value == FIncludeNulls) return;
    FIncludeNulls = Value;
    RefreshParentSeries();
}

double TCustomSortedFunction::ValueOfSorted(const std::vector<double>&) const { return 0; }

void TCustomSortedFunction::InsertSorted(std::vector<double>& Sorted, double Value)
{
    Sorted.insert(std::upper_bound(Sorted.begin(), Sorted.end(), Value), Value);
}

double TCustomSortedFunction::ValueOfRange(TChartSeries& Source, int First, int Last)
{
    TChartValueList& values = PickSourceValues(Source);
    ResolveRange(Source.PointCount(), First, Last);
    std::vector<double> sorted;
    if (Last >= First) sorted.reserve(static_cast<std::size_t>(Last - First + 1));
    for (int i = First; i <= Last; ++i) {
        if (!FIncludeNulls && Source.PointIsNull(i)) continue;
        InsertSorted(sorted, values.ValueAt(i));
    }
    return sorted.empty() ? 0 : ValueOfSorted(sorted);
}

double TCustomSortedFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index)
{
    std::vector<double> sorted;
    sorted.reserve(Sources.size());
    for (TChartSeries* s : Sources) {
        const TChartValueList& values = PickSourceValues(*s);
        if (!HasIndex(values, Index)) continue;
        if (!FIncludeNulls && Index < s->PointCount() && s->PointIsNull(Index)) continue;
        InsertSorted(sorted, values.ValueAt(Index));
    }
    return sorted.empty() ? 0 : ValueOfSorted(sorted);
}

double TMedianLumFunction::ValueOfSorted(const std::vector<double>& Sorted) const
{
    const std::size_t n = Sorted.size();
    if (n % 2 == 1) return Sorted[n / 2];
    return (Sorted[n / 2 - 1] + Sorted[n / 2]) / 2;
}

double TModeLumFunction::ValueOfSorted(const std::vector<double>& Sorted) const
{
    double best = Sorted.front();
    std::size_t bestRun = 0;
    for (std::size_t start = 0; start < Sorted.size();) {
        std::size_t end = start + 1;
        while (end < Sorted.size() && Sorted[end] == Sorted[start]) ++end;
        if (end - start > bestRun) {
            bestRun = end - start;
            best = Sorted[start];
        }
        start = end;
    }
    return best;
}

// ---- Registration ----------------------------------------------------------------------------------------

const std::vector<TStandardFunctionEntry>& StandardFunctions()
{
    static const std::vector<TStandardFunctionEntry> entries{
        {&TAddLumFunction::StaticClassInfo(), LumConst::FunctionAdd},
        {&TSubtractLumFunction::StaticClassInfo(), LumConst::FunctionSubtract},
        {&TMultiplyLumFunction::StaticClassInfo(), LumConst::FunctionMultiply},
        {&TDivideLumFunction::StaticClassInfo(), LumConst::FunctionDivide},
        {&THighLumFunction::StaticClassInfo(), LumConst::FunctionHigh},
        {&TLowLumFunction::StaticClassInfo(), LumConst::FunctionLow},
        {&TAverageLumFunction::StaticClassInfo(), LumConst::FunctionAverage},
        {&TCustomLumFunction::StaticClassInfo(), LumConst::FunctionCustom},
        {&TMedianLumFunction::StaticClassInfo(), LumConst::FunctionMedian},
        {&TModeLumFunction::StaticClassInfo(), LumConst::FunctionMode},
    };
    return entries;
}

TLumFunciModule& LumFunciModule()
{
    static TLumFunciModule module;
    return module;
}

void ResetLumFunciModule() { LumFunciModule() = TLumFunciModule{}; }

void LumFunciInitialization()
{
    TLumFunciModule& module = LumFunciModule();
    const auto& hook = LumEngineModule().Control.RegisterStandardFunction;
    if (module.Registered || !hook) return;
    for (const TStandardFunctionEntry& entry : StandardFunctions()) hook(*entry.Class, entry.GalleryName);
    module.Registered = true;
}
