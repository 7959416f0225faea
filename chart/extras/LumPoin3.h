// The 3-D point series: points with X, Y and Z drawn as pointer symbols in the chart's 3-D space, joined
// by a line in point order, with optional base lines down to the vertical axis; and the 3-D bubble series,
// whose symbols are sized by a radius. Qt-free.
#pragma once

#include "chart/series/LumSurfa.h"
#include "chart/series/SeriesLine.h"

#include <functional>
#include <memory>

class TPoint3DSeries;
using TSeriesClickPointer3DEvent = std::function<void(TPoint3DSeries* Sender, int ValueIndex, int X, int Y)>;

class TPoint3DSeries : public TCustom3DSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TPoint3DSeries(TComponent* AOwner);
    ~TPoint3DSeries() override;

    // Pointer, DepthSize and BaseLine from another 3-D point series; then the 3-D base's copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TPoint3DSeriesEditor"; }
    void SetParentChart(TCustomAxisPanel* Value) override;

    TSeriesPointer& Pointer() const { return *FPointer; }
    void SetPointer(const TSeriesPointer& Value) { FPointer->Assign(Value); }
    TChartPen& LinePen() const { return Pen(); }
    void SetLinePen(const TChartPen& Value) { SetPen(Value); }
    TChartHiddenPen& BaseLine() const { return *FBaseLine; }
    void SetBaseLine(const TChartPen& Value) { FBaseLine->Assign(Value); }
    // The depth extent of each point in Z units.
    double DepthSize() const { return FDepthSize; }
    void SetDepthSize(double Value) { SetFloatField(FDepthSize, Value); }

    TSeriesClickPointer3DEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    // The series' start, middle and end depth for point Index.
    virtual void ComputePointDepth(int Index);
    // Half the depth axis' pixel length of DepthSize.
    virtual int PointDepthHalfSize(int Index) const;
    // Whether the sub-gallery lists pointer styles.
    virtual bool OffersPointerVariants() const { return true; }

    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void PaintLegendShape(int Index, const TRect& Rect) override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PaintPoint(int Index) override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    double HighestZ() override;
    int PointAtPixel(int X, int Y) const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;

private:
    std::unique_ptr<TSeriesPointer> FPointer;
    std::unique_ptr<TChartHiddenPen> FBaseLine;
    double FDepthSize = 0;
    // Where the line into the next point starts.
    int FOldX = 0;
    int FOldY = 0;
    int FOldZ = 0;
};

class TBubble3DSeries : public TPoint3DSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TBubble3DSeries(TComponent* AOwner);
    ~TBubble3DSeries() override;

    TChartValueList& RadiusValues() const { return *FRadiusValues; }
    void SetRadiusValues(const TChartValueList& Value) { ReplaceValueListSettings(*FRadiusValues, Value); }

    int AddBubble(double X, double Y, double Z, double Radius, const std::string& Label = {}, TColor Color = clDefault);

    void PaintPoint(int Index) override;
    double HighestY() override;
    double LowestY() override;
    double HighestZ() override;
    double LowestZ() override;
    void ComputePointDepth(int Index) override;
    int PointDepthHalfSize(int Index) const override;
    bool OffersPointerVariants() const override { return false; }
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    bool AcceptsSource(const TChartSeries* Series) const override;

private:
    TChartValueList* FRadiusValues;
};

void LumPoin3Initialization();
void LumPoin3Finalization();
