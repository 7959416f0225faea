// The 3-D bar series: bars that each start at their own offset value instead of the common origin. Qt-free.
#pragma once

#include "chart/series/SeriesBar.h"

class TBar3DSeries : public TBarSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TBar3DSeries(TComponent* AOwner);
    ~TBar3DSeries() override;

    TChartValueList& OffsetValues() const { return *FOffsetValues; }
    void SetOffsetValues(const TChartValueList& Value) { ReplaceValueListSettings(*FOffsetValues, Value); }

    int AddBar(double X, double Y, double Offset, const std::string& Label = {}, TColor Color = clDefault);

    // Side by side or alone, the range also covers every offset and every bar end below 0.
    double HighestY() override;
    double LowestY() override;
    // Marks and legend show the bar's end: Y + offset.
    double DisplayValueAt(int Index) const override;
    bool OffersStackVariants() const override { return false; }
    // The offset, except in the stacked modes, which keep the stack.
    double BarOriginValue(int Index, bool IncludeSelf) const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;

private:
    bool Apart() const { return MultiBar() == mbNone || MultiBar() == mbSide; }

    TChartValueList* FOffsetValues;
};

void Bar3DInitialization();
void Bar3DFinalization();
