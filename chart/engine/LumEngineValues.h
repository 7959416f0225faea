// Value lists: one column of numbers of a series (X, Y or an extra column), kept in storage that grows by
// a fixed step, optionally sorted on insertion, with cached maximum, minimum, total and absolute total
// that are recomputed only when read after a change. TChartValueLists is the series' list of its columns.
#pragma once

#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/Classes.h"

#include <memory>
#include <string>
#include <vector>

class TChartValueList : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    // Appends itself to the owner's value lists (an owner may be absent: a free-standing list).
    TChartValueList(TChartSeries* Owner, const std::string& Name);
    ~TChartValueList() override;
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    // From another value list copies Order, DateTime and ValueSource (neither the name nor the values).
    void Assign(const TPersistent& Source) override;

    // Stores the value as the pending value and inserts it by Order: appended for loNone and for a
    // value that keeps the order, else after every existing value that does not come after it.
    // Returns the index.
    virtual int AddInOrder(double Value);
    // Count 0, storage released.
    virtual void ClearValues();
    // Inserts at Index (0..count), shifting the rest up; ERangeError outside.
    virtual void InsertValueAt(int Index, double Value);
    // Appends the values after the last one in a single move: an empty list takes the array over as its
    // storage. The order is the caller's to keep.
    void AppendValues(std::vector<double> Values);
    // True when adding the values one by one through AddInOrder would append each of them.
    bool AppendsInOrder(const std::vector<double>& Values) const;
    // Removes the value at Index (0..count-1), shifting the rest down; ERangeError outside.
    virtual void DeleteValueAt(int Index);
    // Removes Quantity values from Start. EAssertionFailed "Quantity of data to delete must be less
    // than Count." when the run passes the end, ERangeError for a negative start or quantity; nothing
    // changes then.
    void DeleteValueRange(int Start, int Quantity);
    // The first value moves to the end, the others down by one (statistics are not marked stale).
    void RotateLeft();

    // Values at 0..count-1; ERangeError outside (also for an empty list's first and last value).
    double ValueAt(int Index) const;
    // Replaces a value and tells the owner's dependents (value changed at Index).
    void SetValueAt(int Index, double Value);
    // Overwrites a value without telling anybody; the statistics become stale.
    void StoreValueAt(int Index, double Value);
    double FirstValue() const;
    double LastValue() const;
    // The values in use, for fast reading.
    const double* Values() const { return FValues.data(); }

    // EAssertionFailed "ValueList Count (<n>) greater than array length (<m>)." when broken.
    int ValueCount() const;
    // A negative count raises EAssertionFailed "ValueList Count must be greater than zero.", a count past
    // the storage the ValueCount message; the count stays then.
    void SetValueCount(int Count);
    int StorageLength() const { return static_cast<int>(FValues.size()); }

    // The statistics, recomputed first when the list changed.
    double HighestValue();
    double LowestValue();
    double SumOfValues();
    double SumOfAbsValues();
    double ValueRange() { return HighestValue() - LowestValue(); }
    // Overrides the cached absolute total until the next change.
    void SetSumOfAbsValues(double Value);
    // Recomputes the statistics (a count beyond the storage is cut back first).
    void RecalcStats();
    bool Modified() const { return FModified; }
    void MarkModified() { Changed(); }
    // Whether the values in use run ascending: none NaN, each at least the one before. Worked out once
    // after a change; appending values that keep it costs nothing.
    bool RunsAscending() const;

    // First index in First..Last holding exactly Value; -1 when none or Last < First.
    int FindValueInRange(int First, int Last, double Value) const;
    int FindValue(double Value) const { return FindValueInRange(0, FCount - 1, Value); }
    // Exchanges two values (ERangeError outside the count) and tells the dependents.
    void SwapValues(int I, int J);
    // Every value becomes its index.
    void FillWithIndices();
    // -1, 0 or 1 as value I is below, equal to or above value J; reversed for loDescending.
    int CompareValues(int I, int J) const;
    // Sorts every point of the owner by this list (whole points swapped); nothing for loNone.
    void SortByOrder();

    // The value AddInOrder inserts; a series parks the extra values of a point here before adding it.
    double PendingValue = 0;

    TChartSeries* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    TChartListOrder Order() const { return FOrder; }
    // Does not re-sort.
    void SetOrder(TChartListOrder Value) { FOrder = Value; }
    bool DateTime() const { return FDateTime; }
    // Stores through the owner (repaint on change).
    void SetDateTime(bool Value);
    // Sets DateTime and its stored default together, without repaint.
    void InitDateTime(bool Value);
    bool DateTimeStored() const { return FDateTime != FDefaultDateTime; }
    const std::string& ValueSource() const { return FValueSource; }
    // On a change stores the name and has the owner refresh from its source.
    void SetValueSource(const std::string& Value);

private:
    void GrowFor(int count);
    void CheckIndex(int Index) const;
    void NotifyOwner(int Kind, int Index);
    void ReadMultiplier(const TPropValue& Value);

    bool FDateTime = false;
    double FMaxValue = 0;
    double FMinValue = 0;
    std::string FName;
    TChartListOrder FOrder = loNone;
    TChartSeries* FOwner;
    double FTotal = 0;
    double FTotalAbs = 0;
    std::string FValueSource;
    bool FDefaultDateTime = false;
    int FCount = 0;
    std::vector<double> FValues; // its length is the storage length
    bool FModified = true;
    enum class TAscending : unsigned char { Unknown, Yes, No };
    mutable TAscending FAscending = TAscending::Unknown;
    // The values changed: the statistics and the order are to be worked out again.
    void Changed()
    {
        FModified = true;
        FAscending = TAscending::Unknown;
    }
};

// The value lists of a series: position 0 the X list, 1 the Y list, 2 and up the extra lists in the
// order the series kind created them. Owns them.
class TChartValueLists {
public:
    int Count() const { return static_cast<int>(FLists.size()); }
    // ERangeError outside 0..Count-1.
    TChartValueList* ListAt(int Index) const;
    void Append(std::unique_ptr<TChartValueList> List) { FLists.push_back(std::move(List)); }
    // Frees every list.
    void ClearAll() { FLists.clear(); }

private:
    std::vector<std::unique_ptr<TChartValueList>> FLists;
};
