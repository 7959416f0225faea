// The fast line series, which draws long curves cheaply (no pointer, area, stacking or 3-D band; pixels
// read straight from the value arrays through the axes' conversions, one polyline per unbroken run),
// and the registration of the standard series kinds with the chart's series registry.
#pragma once

#include "chart/series/SeriesLine.h"

#include <vector>

class TFastLineSeries : public TCustomLineSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TFastLineSeries(TComponent* AOwner);

    // From another fast line its five switches; then the series base's copy from any series.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TFastLineSeriesEditor"; }
    // The pen is copied in, then the series colour follows its colour.
    void SetPen(const TChartPen& Value) override;
    // The line pen's colour follows.
    void SetSeriesColor(TColor Value) override;

    // True: adding a point goes through the series base (events, dependents, repaint); False: the new
    // segment is drawn on the chart's canvas at once (nothing without a chart). No repaint on change.
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
    // Off: a point on the pixel of the last drawn one is skipped.
    bool DrawAllPoints() const { return FDrawAllPoints; }
    void SetDrawAllPoints(bool Value) { SetBooleanField(FDrawAllPoints, Value); }
    // On: a null point is left out and its neighbours joined; off: the line breaks there.
    bool IgnoreNulls() const { return FIgnoreNulls; }
    void SetIgnoreNulls(bool Value) { SetBooleanField(FIgnoreNulls, Value); }
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool Value) { SetBooleanField(FInvertedStairs, Value); }
    bool Stairs() const { return FStairs; }
    void SetStairs(bool Value) { SetBooleanField(FStairs, Value); }

    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PaintAllPoints() override;
    void PaintPoint(int Index) override;
    void PaintLegendShape(int Index, const TRect& Rect) override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PointAdded(TChartSeries* Sender, int Index) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    // The exact point first, then the segment that ends at it; -1 with an empty visible range.
    int PointAtPixel(int X, int Y) const override;

    // The pixel of point Index through the axes' stored conversions; ERangeError outside the points.
    TPoint PointPixel(int Index) const;
    // The line pen, a clear brush, transparent text background.
    void PrepareCanvas();
    // The current position at the series' start depth in 3-D.
    void MoveToPixel(TPoint P);
    // The point handled last, and where the last walk began.
    TPoint LastPixel() const { return FLastPixel; }
    TPoint StartPixel() const { return FStartPixel; }

private:
    bool IsNull(int Index) const;
    // Adds the step corner (with stairs) and P to the run being collected.
    void AppendToRun(TPoint P);
    // Draws the collected run and starts an empty one.
    void FlushRun();
    // Draws points Start..Last straight from the value arrays, thinned by pixel columns, when that draws
    // the very pixels of the full line; false (nothing drawn) otherwise.
    bool PaintThinnedLine(int Start, int Last);

    bool FAutoRepaint = true;
    bool FDrawAllPoints = true;
    bool FIgnoreNulls = true;
    bool FInvertedStairs = false;
    bool FStairs = false;
    TPoint FLastPixel;
    TPoint FStartPixel;
    // Inside PaintAllPoints: points go into the run; outside it (a chart drawing point by point) each
    // point draws its segment at once.
    bool FWalking = false;
    std::vector<TPoint> FRun;
};

// Registers the standard series kinds with the chart's series registry (page "Standard"), in the gallery's
// order; kinds already registered are not added again.
void RegisterSeriesUnitTypes();
