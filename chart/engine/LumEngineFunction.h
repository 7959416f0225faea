// The function base: a function computes the points of its parent series from the points of its
// sources, over the whole source, in periods of points or of x units, across several sources, or over a
// moving window. Concrete functions override only the value computations (LumFunci.h).
#pragma once

#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/Classes.h"

#include <string>
#include <vector>

enum TFunctionPeriodStyle { psNumPoints, psRange };
inline const TEnumNames FunctionPeriodStyleNames{"psNumPoints", "psRange"};

// Where a group's point stands on x.
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };
inline const TEnumNames FunctionPeriodAlignNames{"paFirst", "paCenter", "paLast"};

class TLumFunction : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    // Period 0 (the whole source), in points, centred.
    explicit TLumFunction(TComponent* AOwner);
    // The parent series forgets the function (it hears of it through its free notification).
    ~TLumFunction() override;

    // From another function copies Period, PeriodStyle and PeriodAlign (plain stores); from anything
    // else nothing.
    void Assign(const TPersistent& Source) override;

    // ---- What a concrete function overrides ----
    // The value of points First..Last of the source (First -1: all points). 0 here.
    virtual double ValueOfRange(TChartSeries& Source, int First, int Last);
    // The value of point Index across the sources. 0 here.
    virtual double ValueAcrossSeries(const std::vector<TChartSeries*>& Sources, int Index);
    // Adds the value of points First..Last at X.
    virtual void AddPointForRange(TChartSeries& Source, int First, int Last, double X);
    // One point over the whole source (or a level line for parents that take no single points).
    virtual void ComputeWhole(TChartSeries& Source, TChartValueList& XList);
    // One point per period.
    virtual void ComputeInPeriods(TChartSeries& Source, TChartValueList& XList);
    // ComputeInPeriods when Period is not 0, else ComputeWhole.
    virtual void ComputeFromSeries(TChartSeries& Source, TChartValueList& XList);
    // "TLumFunctionEditor" here.
    virtual std::string EditorFormName() const;
    // Readies every series of a gallery miniature chart (coloured sample values).
    virtual void PrepareGalleryChart(TCustomAxisPanel& Chart);

    // The parent series cleared its points. Nothing here.
    virtual void SeriesCleared() {}
    virtual bool AcceptsSource(const TChartSeries*) const { return true; }
    // Computes the parent's points from Source (nil for functions that need none): across the parent's
    // data sources when it has more than one, else from Source when it has points. Nothing while
    // suspended.
    virtual void CalculateFromSources(TChartSeries* Source);

    // ---- Settings ----
    double Period() const { return FPeriod; }
    // ChartException "Function Period should be >= 0" for a negative value; a change refreshes the parent.
    void SetPeriod(double Value);
    // Stores the period without a refresh (constructors).
    void InitPeriod(double Value) { FPeriod = Value; }
    TFunctionPeriodStyle PeriodStyle() const { return FPeriodStyle; }
    void SetPeriodStyle(TFunctionPeriodStyle Value);
    TFunctionPeriodAlign PeriodAlign() const { return FPeriodAlign; }
    void SetPeriodAlign(TFunctionPeriodAlign Value);
    // Points counted by a period of points: max(1, Round(Period)).
    int PeriodPoints() const;

    bool Suspended() const { return FSuspended; }
    void SuspendRecalc() { FSuspended = true; }
    // Clears Suspended and, when it was set, refreshes the parent.
    void ResumeRecalc();
    // Unless suspended, the parent series recomputes from its sources.
    void RefreshParentSeries();

    // The function editor offers the period settings.
    bool CanUsePeriod() const { return FCanUsePeriod; }
    // The function computes without sources.
    bool NoSourceNeeded() const { return FNoSourceNeeded; }
    // The function takes one source.
    bool SingleSource() const { return FSingleSource; }

    // ---- Parent series ----
    TChartSeries* ParentSeries() const { return FParent; }
    // The old parent forgets the function; then Series takes it (its AttachFunction). Nil only detaches.
    void AttachToSeries(TChartSeries* Series);
    // The link the parent's AttachFunction sets and clears; nothing else changes.
    void BindParentSeries(TChartSeries* Series) { FParent = Series; }

    // Streamed as a child of its series.
    bool HasParent() const { return true; }
    TComponent* GetParentComponent() const;
    void SetParentComponent(TComponent* Value) override;

    // ---- Helpers of the computations ----
    // The source's list named by the parent's mandatory list's ValueSource, else its mandatory list.
    TChartValueList& PickSourceValues(TChartSeries& Source) const;
    // Adds (X, Value) to the parent for a vertical source, (Value, X) otherwise; no label, default colour.
    void AddFunctionPoint(bool SourceIsVertical, double Value, double X);

protected:
    void SetCanUsePeriod(bool Value) { FCanUsePeriod = Value; }
    void SetNoSourceNeeded(bool Value) { FNoSourceNeeded = Value; }
    void SetSingleSource(bool Value) { FSingleSource = Value; }
    // Point Index of the longest of the parent's series sources, valued across all of them.
    void ComputeAcrossSources(TChartSeries& Source);
    // The parent's data sources that are series.
    std::vector<TChartSeries*> SeriesSources() const;

private:
    void ComputeInPointGroups(TChartSeries& Source, TChartValueList& XList);
    void ComputeInRanges(TChartSeries& Source, TChartValueList& XList);
    double AlignedX(double FirstX, double LastX) const;
    // The end of the period that starts at Start, calendar-aware on an exact date-time axis.
    double NextPeriodEnd(double Start, int StepIndex) const;

    double FPeriod = 0;
    TFunctionPeriodStyle FPeriodStyle = psNumPoints;
    TFunctionPeriodAlign FPeriodAlign = paCenter;
    TChartSeries* FParent = nullptr;
    bool FSuspended = false;
    bool FCanUsePeriod = true;
    bool FNoSourceNeeded = false;
    bool FSingleSource = false;
};

// The base of functions over a moving window of Period points (at least one).
class TLumMovingFunction : public TLumFunction {
    VSP_PERSISTENT_CLASS
public:
    // Period 1, single source.
    explicit TLumMovingFunction(TComponent* AOwner);

    // For every point from the window's length on, the value of the window that ends at it, at its x.
    void ComputeFromSeries(TChartSeries& Source, TChartValueList& XList) override;
};
