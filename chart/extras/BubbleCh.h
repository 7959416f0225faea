// The bubble series: one pointer symbol per point, sized by its radius in axis units (circles on the
// vertical axis' scale, or ellipses that follow both axes), its extents covering Y +- radius, and a click
// test per pointer style. Qt-free.
#pragma once

#include "chart/series/SeriesLine.h"

class TBubbleSeries : public TPointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TBubbleSeries(TComponent* AOwner);
    ~TBubbleSeries() override;

    // Then Squared from another bubble series.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TBubbleSeriesEditor"; }

    TChartValueList& RadiusValues() const { return *FRadiusValues; }
    void SetRadiusValues(const TChartValueList& Value) { ReplaceValueListSettings(*FRadiusValues, Value); }
    // True: both sizes follow the vertical axis; false: the horizontal size follows the horizontal axis.
    bool Squared() const { return FSquared; }
    void SetSquared(bool Value) { SetBooleanField(FSquared, Value); }

    int AddBubble(double X, double Y, double Radius, const std::string& Label = {}, TColor Color = clDefault);

    void PaintLegendShape(int Index, const TRect& Rect) override;
    void PaintPoint(int Index) override;
    double HighestY() override;
    double LowestY() override;
    double HighestZ() override;
    double LowestZ() override;
    bool PointerHit(int Index, int PointX, int PointY, int X, int Y) const override;
    TLumGradient& Gradient() const override { return Pointer().Gradient(); }
    void PreparePointer(int Index) const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    bool AcceptsSource(const TChartSeries* Series) const override;
    int DefaultSampleCount() const override { return 8; }

private:
    TChartValueList* FRadiusValues;
    bool FSquared = true;
};

// Whether (X, Y) lies in a pointer symbol of that style centred at (CX, CY) with half sizes H and V.
bool PointerStyleContains(TSeriesPointerStyle Style, int CX, int CY, int H, int V, int X, int Y);

void BubbleChInitialization();
