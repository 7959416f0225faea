// Thinning a polyline of pixel points for a 1-pixel solid pen: where consecutive points share a pixel
// column, only the column's first, lowest, highest and last points are kept, in their order. Such a line
// lights exactly the pixels of the full one, so a million points cost a few thousand segments. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <functional>
#include <span>
#include <vector>

class TChartAxis;
class TChartPen;
class TLumCanvas;

// Thins points handed over one at a time, appending what it keeps to Out. Columns of at most four points
// stay as they are, and so does every column at FinalX: the run's last column keeps all its points, since
// the line leaves out its end pixel and whether that pixel shows depends on how the points before it came
// back to it.
class TColumnThinner {
public:
    TColumnThinner(std::vector<TPoint>& Out, int FinalX) : FOut(Out), FFinalX(FinalX) {}

    void Add(TPoint P)
    {
        if (FCount > 0 && P.x == FX) {
            if (FCount < 4) FFirst[FCount] = P;
            if (P.y < FLow.y) {
                FLow = P;
                FLowAt = FCount;
            }
            if (P.y > FHigh.y) {
                FHigh = P;
                FHighAt = FCount;
            }
            FLast = P;
            ++FCount;
            return;
        }
        Open(P);
    }
    // Closes the open column; Out then holds the whole thinned line.
    void Finish() { Close(); }

private:
    void Open(TPoint P);
    void Close();
    void Put(TPoint P);

    std::vector<TPoint>& FOut;
    int FFinalX;
    // The open column: its x, point count, first four points, lowest, highest and last points.
    int FX = 0;
    long long FCount = 0;
    TPoint FFirst[4];
    TPoint FLow, FHigh, FLast;
    long long FLowAt = 0, FHighAt = 0;
};

// Thins Run in place as above, with its last point's column as the final one. Nothing while the thinning
// is switched off.
void ReduceRunByColumns(std::vector<TPoint>& Run);

// Whether a line drawn with Pen in 2-D may be thinned: a visible, solid, 1-pixel pen that paints over
// what lies below (so a pixel drawn twice looks as drawn once).
bool PenAllowsThinning(const TChartPen& Pen);

// Whether what is drawn on Canvas lands on its pixels one to one: neither a metafile nor a printer page,
// no scaling map mode, no world transform.
bool CanvasAllowsThinning(const TLumCanvas& Canvas);

// The line through points From..To of the value arrays (backward from To to From when Backward), each
// point mapped to pixels by the axes' horizontal and vertical routines, after Lead when it is given,
// thinned by columns and handed to Draw in pieces that share their end points. With XAscending (the X
// values run ascending) and linear axes, a crowded column is read as a whole: its points' x found by
// halving, their lowest and highest y from the extremes of their values. Buffer holds the pieces and
// keeps its room for the next call. Returns the pixel of the walk's last point.
TPoint DrawThinnedLine(const TChartAxis& HorizAxis, const TChartAxis& VertAxis, const double* Xs, const double* Ys,
                       bool XAscending, int From, int To, bool Backward, const TPoint* Lead,
                       std::vector<TPoint>& Buffer, const std::function<void(std::span<const TPoint>)>& Draw);

// The unit's switch: on in the program; tests and the benchmark switch it off to draw the full line for
// comparison.
struct TSeriesColumnsSettings {
    bool Thinning = true;
};
TSeriesColumnsSettings& SeriesColumnsSettings();
