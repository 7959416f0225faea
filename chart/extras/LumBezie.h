// The Bezier series: a line series whose line is drawn as quadratic or cubic Bezier curves through its
// points taken as control points, with the usual point symbols. Qt-free.
#pragma once

#include "chart/series/SeriesLine.h"

enum TBezierStyle { bsWindows, bsBezier3, bsBezier4 };
inline const TEnumNames BezierStyleNames{"bsWindows", "bsBezier3", "bsBezier4"};

class TBezierSeries : public TCustomSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TBezierSeries(TComponent* AOwner);
    ~TBezierSeries() override;

    // Then the line family's copy; BezierStyle and NumBezierPoints from another Bezier series.
    void Assign(const TPersistent& Source) override;

    TBezierStyle BezierStyle() const { return FBezierStyle; }
    void SetBezierStyle(TBezierStyle Value);
    // Curve steps per segment; ChartException "Number of Bezier points should be > 1" below 2 (the old
    // value stays).
    int NumBezierPoints() const { return FNumBezierPoints; }
    void SetNumBezierPoints(int Value);

    void PaintAllPoints() override;
    void SetSeriesColor(TColor Value) override;
    void PrepareForGallery(bool Coloured) override;

private:
    // The quadratic (Kind 3) or cubic (Kind 4) segment ending at point End of P, as NumBezierPoints lines;
    // nothing when End is past the points.
    void DrawSegment(const std::vector<TPoint>& P, int Kind, int End, bool Is3D);

    TBezierStyle FBezierStyle = bsWindows;
    int FNumBezierPoints = 32;
};

void LumBezieInitialization();
void LumBezieFinalization();
