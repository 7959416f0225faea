// The pyramid series: the points of one value list as the stacked slices of a 3-D pyramid whose slice
// heights follow the values; several pyramids stand side by side. Qt-free.
#pragma once

#include "chart/engine/LumEngine.h"

#include <vector>

class TPyramidSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TPyramidSeries(TComponent* AOwner);
    ~TPyramidSeries() override;

    std::string EditorFormName() const override { return "TPyramidSeriesEditor"; }

    // Base width in percent of the horizontal axis length.
    int SizePercent() const { return FSizePercent; }
    void SetSizePercent(int Value) { SetIntegerField(FSizePercent, Value); }

    // The slice of point Index in pixels (bottom at the sum of the values before it, top at the sum through
    // it) and the top face's half width and half depth, and the depth inset of its bottom; false when the
    // values sum to 0 (no slice).
    struct TSlice {
        TRect Rect;
        int TopHalfWidth = 0;
        int TopHalfDepth = 0;
        int Inset = 0;
    };
    bool SliceOf(int Index, double Before, double Total, TSlice& Slice) const;

    void HorizMargins(int& Left, int& Right) override;
    void PaintAllPoints() override;
    void PaintMarks() override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PaintPoint(int Index) override;
    double HighestX() override;
    double LowestX() override;
    double HighestY() override;
    double LowestY() override { return 0; }
    bool DrawsForward() const override;
    int PointAtPixel(int X, int Y) const override;

private:
    // The running sums before each point and the total after the last (the values added in index order).
    void Sum();
    double SeriesPosition() const;

    int FSizePercent = 50;
    std::vector<double> FSums;
};

void LumPyramidInitialization();
void LumPyramidFinalization();
