// The arrow series: one arrow per point from its start (X, Y) to its end (EndX, EndY), its head sized by
// the pointer, its extents covering both ends, and a click test along each shaft. Qt-free.
#pragma once

#include "chart/series/SeriesLine.h"

class TArrowSeries : public TPointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TArrowSeries(TComponent* AOwner);
    ~TArrowSeries() override;

    std::string EditorFormName() const override { return "TArrowSeriesEditor"; }

    TChartValueList& StartXValues() const { return XValues(); }
    TChartValueList& StartYValues() const { return YValues(); }
    TChartValueList& EndXValues() const { return *FEndXValues; }
    TChartValueList& EndYValues() const { return *FEndYValues; }
    void SetEndXValues(const TChartValueList& Value) { ReplaceValueListSettings(*FEndXValues, Value); }
    void SetEndYValues(const TChartValueList& Value) { ReplaceValueListSettings(*FEndYValues, Value); }
    // Head width and length in pixels: the pointer's half sizes.
    int ArrowWidth() const { return Pointer().HorizSize(); }
    void SetArrowWidth(int Value) { Pointer().SetHorizSize(Value); }
    int ArrowHeight() const { return Pointer().VertSize(); }
    void SetArrowHeight(int Value) { Pointer().SetVertSize(Value); }
    // Body width in percent of the head width.
    int ArrowPercent() const { return FArrowPercent; }
    void SetArrowPercent(int Value) { SetIntegerField(FArrowPercent, Value); }

    int AddArrow(double X0, double Y0, double X1, double Y1, const std::string& Label = {}, TColor Color = clDefault);

    void PaintPoint(int Index) override;
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;
    int PointAtPixel(int X, int Y) const override;
    bool OffersPointerVariants() const override { return false; }
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    bool AcceptsSource(const TChartSeries* Series) const override;

private:
    TChartValueList* FEndXValues;
    TChartValueList* FEndYValues;
    int FArrowPercent = 50;
};

void ArrowChaInitialization();
