// The basic functions the chart gallery offers: add, subtract, multiply, divide, high, low, average,
// y = f(x), median and mode. Each overrides only the value computations of TLumFunction; the period and
// source walks are the base's. LumFunciInitialization registers them on the gallery page "Standard".
#pragma once

#include "chart/engine/LumEngineFunction.h"

#include <functional>
#include <string>
#include <vector>

class TAddLumFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TLumFunction::TLumFunction;
    // The sum of the values First..Last (all: the list's total); 0 when Last < First.
    double ValueOfRange(TChartSeries& Source, int First, int Last) override;
    // The sum of value Index of every source that has it.
    double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index) override;
};

// Functions that combine value Index of several sources one after the other.
class TManySeriesLumFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TLumFunction::TLumFunction;
    // The first source that has index Index starts the result; each further one is combined into it;
    // 0 when none has it.
    double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index) override;
    // The running result combined with a further value. 0 here.
    virtual double CombineValues(double Value, double Result);
};

class TSubtractLumFunction : public TManySeriesLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TManySeriesLumFunction::TManySeriesLumFunction;
    double CombineValues(double Value, double Result) override { return Result - Value; }
};

class TMultiplyLumFunction : public TManySeriesLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TManySeriesLumFunction::TManySeriesLumFunction;
    double CombineValues(double Value, double Result) override { return Result * Value; }
};

// A zero divisor leaves the result as it is.
class TDivideLumFunction : public TManySeriesLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TManySeriesLumFunction::TManySeriesLumFunction;
    double CombineValues(double Value, double Result) override { return Value == 0 ? Result : Result / Value; }
};

class THighLumFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TLumFunction::TLumFunction;
    double ValueOfRange(TChartSeries& Source, int First, int Last) override;
    // The first source sets the start (0 when it lacks the index); later ones replace it when larger.
    double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index) override;
};

class TLowLumFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TLumFunction::TLumFunction;
    double ValueOfRange(TChartSeries& Source, int First, int Last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index) override;
};

class TAverageLumFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TLumFunction::TLumFunction;
    double ValueOfRange(TChartSeries& Source, int First, int Last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index) override;
    std::string EditorFormName() const override { return "TAverageFuncEditor"; }

    // Null points count (with value and in the point count); a change refreshes the parent.
    bool IncludeNulls() const { return FIncludeNulls; }
    void SetIncludeNulls(bool Value);

private:
    bool FIncludeNulls = true;
};

// y = f(x): asks OnCalculate for the y of NumPoints x values from StartX, Period apart.
class TCustomLumFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TCalculateEvent = std::function<void(TCustomLumFunction* Sender, double X, double& Y)>;

    // Needs no source; Period 1, 100 points.
    explicit TCustomLumFunction(TComponent* AOwner);

    // Without OnCalculate nothing; otherwise the parent's points are replaced by the computed ones.
    void CalculateFromSources(TChartSeries* Source) override;
    std::string EditorFormName() const override { return "TCustomFunctionEditor"; }

    int NumPoints() const { return FNumPoints; }
    void SetNumPoints(int Value);
    double StartX() const { return FStartX; }
    void SetStartX(double Value);
    // The x being calculated.
    double CalculatingX() const { return FX; }

    TCalculateEvent OnCalculate;

private:
    int FNumPoints = 100;
    double FStartX = 0;
    double FX = 0;
};

// Functions of the sorted values of a range or of an index across sources.
class TCustomSortedFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    using TLumFunction::TLumFunction;
    double ValueOfRange(TChartSeries& Source, int First, int Last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index) override;
    // The result from the gathered values, sorted ascending (at least one). 0 here.
    virtual double ValueOfSorted(const std::vector<double>& Sorted) const;

    bool IncludeNulls() const { return FIncludeNulls; }
    void SetIncludeNulls(bool Value);

private:
    // Each value goes before the first larger one, so equal values keep their order of arrival.
    static void InsertSorted(std::vector<double>& Sorted, double Value);

    bool FIncludeNulls = true;
};

// The middle value of an odd count, the mean of the two middle values of an even count.
class TMedianLumFunction : public TCustomSortedFunction {
    VSP_PERSISTENT_CLASS
public:
    using TCustomSortedFunction::TCustomSortedFunction;
    double ValueOfSorted(const std::vector<double>& Sorted) const override;
};

// The value with the longest run of equal neighbours; the first (smallest) of equally long runs.
class TModeLumFunction : public TCustomSortedFunction {
    VSP_PERSISTENT_CLASS
public:
    using TCustomSortedFunction::TCustomSortedFunction;
    double ValueOfSorted(const std::vector<double>& Sorted) const override;
};

// A function class and its name on the gallery page "Standard".
struct TStandardFunctionEntry {
    const TClassInfo* Class;
    const char* GalleryName;
};
// The ten basic functions in gallery order.
const std::vector<TStandardFunctionEntry>& StandardFunctions();

// Whether the basic functions were registered with the gallery.
struct TLumFunciModule {
    bool Registered = false;
};
TLumFunciModule& LumFunciModule();
void ResetLumFunciModule();
// Registers the ten functions (once) through the chart control's RegisterStandardFunction hook, when the
// control has installed it.
void LumFunciInitialization();
