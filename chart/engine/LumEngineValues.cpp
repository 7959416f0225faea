// Value lists: ordered insertion, growth, statistics, sorting through the owner series, and the module
// state of the engine model.
#include "chart/engine/LumEngineValues.h"

#include "chart/base/RadErareUtils.h"
#include "chart/engine/LumEngineSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

// ---- Module state --------------------------------------------------------------------------------------

namespace {
TLumEngineModule& ModuleInstance()
{
    static TLumEngineModule module;
    return module;
}
} // namespace

TLumEngineModule& LumEngineModule() { return ModuleInstance(); }
void ResetLumEngineModule() { ModuleInstance() = TLumEngineModule(); }

// ---- TChartValueList ---------------------------------------------------------------------------------

const TClassInfo& TChartValueList::StaticClassInfo()
{
    using P = TProps<TChartValueList>;
    static const TClassInfo info({
        .Name = "TChartValueList",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Boolean("DateTime", &TChartValueList::DateTime, &TChartValueList::SetDateTime)
                .StoredWhen(&TChartValueList::DateTimeStored),
            P::Text("Name", &TChartValueList::Name, &TChartValueList::SetName),
            P::Enumeration("Order", ChartListOrderNames, &TChartValueList::Order, &TChartValueList::SetOrder),
            P::Text("ValueSource", &TChartValueList::ValueSource, &TChartValueList::SetValueSource),
        },
        .Defined = {P::OldName("Multiplier", TPropKind::Real, &TChartValueList::ReadMultiplier)},
    });
    return info;
}

TChartValueList::TChartValueList(TChartSeries* Owner, const std::string& Name) : FOwner(Owner)
{
    if (FOwner) FOwner->ValueLists().Append(std::unique_ptr<TChartValueList>(this));
    FName = Name;
    ClearValues();
}

TChartValueList::~TChartValueList() = default;

void TChartValueList::Assign(const TPersistent& Source)
{
    auto* other = dynamic_cast<const TChartValueList*>(&Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    FOrder = other->FOrder;
    FDateTime = other->FDateTime;
    FValueSource = other->FValueSource;
}

// An obsolete multiplier other than 1 cannot be honoured; the user is told once per read.
void TChartValueList::ReadMultiplier(const TPropValue& Value)
{
    const double* v = std::get_if<double>(&Value);
    const auto* i = std::get_if<std::int64_t>(&Value);
    const double m = v ? *v : (i ? static_cast<double>(*i) : 1.0);
    if (m != 1.0) ShowErrorBox("Error: Multiplier property is obsolete.\rModify DuvOdad (enable Multiplier) and recompile.");
}

// By the step at first, then by half the storage, so appending a long record costs constant time a value.
void TChartValueList::GrowFor(int count)
{
    const std::size_t length = FValues.size();
    if (length >= static_cast<std::size_t>(count)) return;
    const std::size_t step = static_cast<std::size_t>(std::max(1, LumEngineModule().ValueListGrowthStep));
    const std::size_t grown = length + std::max(step, length / 2);
    FValues.resize(std::max(grown, static_cast<std::size_t>(count)));
}

void TChartValueList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= FCount) throw ERangeError();
}

void TChartValueList::NotifyOwner(int Kind, int Index)
{
    if (FOwner) FOwner->NotifyDependents(Kind, Index);
}

int TChartValueList::AddInOrder(double Value)
{
    PendingValue = Value;
    int index = FCount;
    const double* v = FValues.data();
    if (FOrder == loAscending && FCount > 0 && Value < v[FCount - 1]) {
        int p = FCount - 1;
        while (p >= 0 && v[p] > Value) --p;
        index = p + 1;
    } else if (FOrder == loDescending && FCount > 0 && Value > v[FCount - 1]) {
        int p = FCount - 1;
        while (p >= 0 && v[p] < Value) --p;
        index = p + 1;
    }
    InsertValueAt(index, Value);
    return index;
}

void TChartValueList::ClearValues()
{
    FCount = 0;
    std::vector<double>().swap(FValues);
    Changed();
}

void TChartValueList::InsertValueAt(int Index, double Value)
{
    if (Index < 0 || Index > FCount) throw ERangeError();
    GrowFor(FCount + 1);
    double* v = FValues.data();
    std::copy_backward(v + Index, v + FCount, v + FCount + 1);
    v[Index] = Value;
    // An ascending list stays ascending when a value not below the last one is appended.
    const bool keepsAscending = Index == FCount && (FCount == 0 ? !std::isnan(Value)
                                                                : FAscending == TAscending::Yes && Value >= v[FCount - 1]);
    ++FCount;
    Changed();
    if (keepsAscending) FAscending = TAscending::Yes;
}

bool TChartValueList::RunsAscending() const
{
    if (FAscending == TAscending::Unknown) {
        const double* v = FValues.data();
        bool ascending = FCount == 0 || !std::isnan(v[0]);
        for (int i = 1; i < FCount && ascending; ++i) ascending = v[i] >= v[i - 1];
        FAscending = ascending ? TAscending::Yes : TAscending::No;
    }
    return FAscending == TAscending::Yes;
}

bool TChartValueList::AppendsInOrder(const std::vector<double>& Values) const
{
    if (FOrder == loNone || Values.empty()) return true;
    // AddInOrder appends a value unless it comes before the last one (a NaN never does).
    double last = FCount > 0 ? FValues[static_cast<std::size_t>(FCount - 1)] : Values.front();
    for (const double v : Values) {
        if (FOrder == loAscending ? v < last : v > last) return false;
        last = v;
    }
    return true;
}

void TChartValueList::AppendValues(std::vector<double> Values)
{
    if (Values.empty()) return;
    if (Values.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() - FCount)) throw ERangeError();
    const int n = static_cast<int>(Values.size());
    bool keepsAscending = FAscending == TAscending::Yes || FCount == 0;
    for (int i = 0; i < n && keepsAscending; ++i)
        keepsAscending = Values[static_cast<std::size_t>(i)] >= (i > 0 ? Values[static_cast<std::size_t>(i - 1)]
                                                                     : FCount > 0 ? FValues[static_cast<std::size_t>(FCount - 1)]
                                                                                  : -std::numeric_limits<double>::infinity());
    if (FCount == 0) {
        FValues = std::move(Values);
    } else {
        GrowFor(FCount + n);
        std::copy(Values.begin(), Values.end(), FValues.begin() + FCount);
    }
    FCount += n;
    Changed();
    if (keepsAscending) FAscending = TAscending::Yes;
}

void TChartValueList::DeleteValueAt(int Index)
{
    CheckIndex(Index);
    double* v = FValues.data();
    std::copy(v + Index + 1, v + FCount, v + Index);
    --FCount;
    Changed();
}

void TChartValueList::DeleteValueRange(int Start, int Quantity)
{
    if (Start < 0 || Quantity < 0) throw ERangeError();
    if (Quantity == 0) return;
    if (Start + Quantity - 1 >= FCount) throw EAssertionFailed("Quantity of data to delete must be less than Count.");
    double* v = FValues.data();
    std::copy(v + Start + Quantity, v + FCount, v + Start);
    FCount -= Quantity;
    Changed();
}

void TChartValueList::RotateLeft()
{
    if (FCount == 0) return;
    std::rotate(FValues.begin(), FValues.begin() + 1, FValues.begin() + FCount);
    FAscending = TAscending::Unknown;
}

double TChartValueList::ValueAt(int Index) const
{
    CheckIndex(Index);
    return FValues[static_cast<std::size_t>(Index)];
}

void TChartValueList::SetValueAt(int Index, double Value)
{
    CheckIndex(Index);
    FValues[static_cast<std::size_t>(Index)] = Value;
    Changed();
    NotifyOwner(dnValueChanged, Index);
}

void TChartValueList::StoreValueAt(int Index, double Value)
{
    CheckIndex(Index);
    FValues[static_cast<std::size_t>(Index)] = Value;
    Changed();
}

double TChartValueList::FirstValue() const { return ValueAt(0); }
double TChartValueList::LastValue() const { return ValueAt(FCount - 1); }

int TChartValueList::ValueCount() const
{
    if (FCount > StorageLength())
        throw EAssertionFailed("ValueList Count (" + std::to_string(FCount) + ") greater than array length ("
                               + std::to_string(StorageLength()) + ").");
    return FCount;
}

void TChartValueList::SetValueCount(int Count)
{
    if (Count < 0) throw EAssertionFailed("ValueList Count must be greater than zero.");
    if (Count > StorageLength())
        throw EAssertionFailed("ValueList Count (" + std::to_string(Count) + ") greater than array length ("
                               + std::to_string(StorageLength()) + ").");
    FCount = Count;
    Changed();
}

void TChartValueList::RecalcStats()
{
    FCount = std::min(FCount, StorageLength());
    if (FCount <= 0) {
        FMaxValue = FMinValue = FTotal = FTotalAbs = 0;
    } else {
        const double* v = FValues.data();
        FMaxValue = FMinValue = FTotal = v[0];
        FTotalAbs = std::fabs(v[0]);
        for (int i = 1; i < FCount; ++i) {
            const double x = v[i];
            if (x < FMinValue)
                FMinValue = x;
            else if (x > FMaxValue)
                FMaxValue = x;
            FTotal += x;
            FTotalAbs += std::fabs(x);
        }
    }
    FModified = false;
}

double TChartValueList::HighestValue()
{
    if (FModified) RecalcStats();
    return FMaxValue;
}

double TChartValueList::LowestValue()
{
    if (FModified) RecalcStats();
    return FMinValue;
}

double TChartValueList::SumOfValues()
{
    if (FModified) RecalcStats();
    return FTotal;
}

double TChartValueList::SumOfAbsValues()
{
    if (FModified) RecalcStats();
    return FTotalAbs;
}

void TChartValueList::SetSumOfAbsValues(double Value)
{
    if (FModified) RecalcStats();
    FTotalAbs = Value;
}

int TChartValueList::FindValueInRange(int First, int Last, double Value) const
{
    First = std::max(First, 0);
    Last = std::min(Last, FCount - 1);
    for (int i = First; i <= Last; ++i)
        if (FValues[static_cast<std::size_t>(i)] == Value) return i;
    return -1;
}

void TChartValueList::SwapValues(int I, int J)
{
    CheckIndex(I);
    CheckIndex(J);
    std::swap(FValues[static_cast<std::size_t>(I)], FValues[static_cast<std::size_t>(J)]);
    Changed();
    NotifyOwner(dnValueChanged, I);
}

void TChartValueList::FillWithIndices()
{
    for (int i = 0; i < FCount; ++i) FValues[static_cast<std::size_t>(i)] = i;
    Changed();
    NotifyOwner(dnValueChanged, 0);
}

int TChartValueList::CompareValues(int I, int J) const
{
    const double a = ValueAt(I);
    const double b = ValueAt(J);
    const int r = a < b ? -1 : (a == b ? 0 : 1);
    return FOrder == loDescending ? -r : r;
}

void TChartValueList::SortByOrder()
{
    if (FOrder == loNone || FCount < 2) return;
    const TSortCompare compare = [this](int a, int b) { return CompareValues(a, b); };
    TSortSwap swap;
    if (FOwner)
        swap = [this](int a, int b) { FOwner->SwapValueIndex(a, b); };
    else
        swap = [this](int a, int b) { SwapValues(a, b); };
    SortByCallbacks(0, FCount - 1, compare, swap);
}

void TChartValueList::SetDateTime(bool Value)
{
    if (FOwner)
        FOwner->SetBooleanField(FDateTime, Value);
    else
        FDateTime = Value;
}

void TChartValueList::InitDateTime(bool Value)
{
    FDateTime = Value;
    FDefaultDateTime = Value;
}

void TChartValueList::SetValueSource(const std::string& Value)
{
    if (FValueSource == Value) return;
    FValueSource = Value;
    if (FOwner) FOwner->RefreshFromSource();
}

// ---- TChartValueLists ------------------------------------------------------------------------------

TChartValueList* TChartValueLists::ListAt(int Index) const
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    return FLists[static_cast<std::size_t>(Index)].get();
}
