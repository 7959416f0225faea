// The funnel series: a horizontal sales funnel of one slice per segment, sorted by quota, each slice
// filled to the share of its quota that its opportunity reaches and coloured above, within or below
// quota. It hides its vertical axis. Qt-free.
#pragma once

#include "chart/engine/LumEngine.h"

#include <memory>
#include <vector>

class TFunnelSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TFunnelSeries(TComponent* AOwner);
    ~TFunnelSeries() override;

    std::string EditorFormName() const override { return "TFunnelSeriesEditor"; }

    virtual TChartValueList& QuoteValues() const { return MandatoryValues(); }
    virtual void SetQuoteValues(const TChartValueList& Value) { SetYValues(Value); }
    TChartValueList& OpportunityValues() const { return *FOpportunityValues; }
    void SetOpportunityValues(const TChartValueList& Value) { ReplaceValueListSettings(*FOpportunityValues, Value); }
    bool AutoUpdate() const { return FAutoUpdate; }
    void SetAutoUpdate(bool Value);
    bool QuotesSorted() const { return FQuotesSorted; }
    void SetQuotesSorted(bool Value);
    double DifferenceLimit() const { return FDifferenceLimit; }
    void SetDifferenceLimit(double Value);
    TColor AboveColor() const { return FAboveColor; }
    void SetAboveColor(TColor Value) { SetColorField(FAboveColor, Value); }
    TColor WithinColor() const { return FWithinColor; }
    void SetWithinColor(TColor Value) { SetColorField(FWithinColor, Value); }
    TColor BelowColor() const { return FBelowColor; }
    void SetBelowColor(TColor Value) { SetColorField(FBelowColor, Value); }
    TChartPen& LinesPen() const { return *FLinesPen; }
    void SetLinesPen(const TChartPen& Value) { FLinesPen->Assign(Value); }

    // Opportunity pending, then the quote appended; sorted by quote unless QuotesSorted; recalculated
    // when AutoUpdate.
    int AddSegment(double Quote, double Opportunity, const std::string& Label = {}, TColor Color = clDefault);
    // Sorts when not sorted, then takes the highest and lowest quota and the slice step.
    void Recalc();

    // Opportunity / quote, 0 for a quote of 0.
    double Ratio(int Index) const;
    TColor SliceColor(int Index) const;
    // The part of slice Index that its ratio fills, in pixels.
    std::vector<TPoint> FillPolygon(int Index) const;

    void PrepareForDraw() override;
    void PaintAllPoints() override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PaintPoint(int Index) override;
    int LegendEntryCount() const override { return 3; }
    TColor LegendColorOf(int Index) const override;
    std::string LegendTextOf(int LegendIndex, TLegendTextStyle Style) const override;
    double HighestX() override { return PointCount() - 0.5; }
    double LowestX() override { return -0.5; }
    double LowestY() override { return 0; }
    int PointAtPixel(int X, int Y) const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;

private:
    void SortSegments();

    TChartValueList* FOpportunityValues;
    bool FAutoUpdate = true;
    bool FQuotesSorted = false;
    bool FSorted = false;
    double FDifferenceLimit = 30;
    TColor FAboveColor = TColor(0x00008000);
    TColor FWithinColor = TColor(0x0000FFFF);
    TColor FBelowColor = TColor(0x000000FF);
    std::unique_ptr<TChartPen> FLinesPen;
    double FHighest = 0;
    double FLowest = 0;
    double FStep = 0;
};

void LumFunnelInitialization();
void LumFunnelFinalization();
