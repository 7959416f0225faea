// The volume pipe series: the points of one value list as the segments of a horizontal pipe that tapers
// from left to right, each segment's area following its value. It uses no axes and hides its vertical
// axis. Qt-free.
#pragma once

#include "chart/engine/LumEngine.h"

#include <array>
#include <memory>
#include <vector>

class TVolumePipeSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TVolumePipeSeries(TComponent* AOwner);
    ~TVolumePipeSeries() override;

    std::string EditorFormName() const override { return "TVolumePipeSeriesEditor"; }

    // How much the pipe narrows, in percent of its height; drawing takes at most 100 (and keeps it).
    int ConePercent() const { return FConePercent; }
    void SetConePercent(int Value) { SetIntegerField(FConePercent, Value); }
    TChartPen& LinesPen() const { return *FLinesPen; }
    void SetLinesPen(const TChartPen& Value) { FLinesPen->Assign(Value); }
    TCustomLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TCustomLumGradient& Value) { FGradient->Assign(Value); }
    TColor Color() const { return SeriesColor(); }
    void SetColor(TColor Value) { SetSeriesColor(Value); }

    // The segments of the last drawing: the point each shows and its four corners.
    struct TSegment {
        int Index = 0;
        std::array<TPoint, 4> Polygon;
    };
    const std::vector<TSegment>& Segments() const { return FSegments; }
    // The pipe's outline of the last drawing: left top, right top, right bottom, left bottom.
    const std::array<TPoint, 4>& Outline() const { return FCorners; }

    void PrepareForDraw() override;
    void PaintAllPoints() override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PaintPoint(int) override {}
    int PointAtPixel(int X, int Y) const override;
    bool UsesAxes() const override { return false; }
    void AddRandomSampleValues(int Count, bool AsValues) override;
    int DefaultSampleCount() const override { return 5; }

private:
    int FConePercent = 30;
    std::unique_ptr<TChartPen> FLinesPen;
    std::unique_ptr<TCustomLumGradient> FGradient;
    std::array<TPoint, 4> FCorners{};
    int FTop = 0;
    std::vector<TSegment> FSegments;
};

// The distance from the left end of a pipe of length L, left height H0 and right height H1 (a straight
// taper) at which the area from the left end reaches Area: the smaller root of
// (H0 - H1) x^2 - 2 L H0 x + 2 L Area = 0, or Area / H0 for a pipe of even height; within 0 .. L, and 0
// without left height.
double PipeDistanceForArea(double L, double H0, double H1, double Area);

void LumVolumePipeInitialization();
void LumVolumePipeFinalization();
