// What the standard tools share: drawing straight on a chart's canvas between paints in an exclusive-or
// or a not-exclusive-or mode (the same figure drawn twice leaves the picture as it was), the range of a
// series' points that lie in view, and a second series reference that a freed series clears. Qt-free.
#pragma once

#include "chart/base/LumCanvas.h"

class TChartAxis;
class TChartSeries;
class TComponent;
class TCustomAxisPanel;
class TLumCustomToolSeries;

// The chart's Color as RGB, the button face for clDefault.
TColor ChartFaceRGB(const TCustomAxisPanel& Chart);

// While it lives, the pens selected through it draw on the chart's canvas in a raster mode (pmXor or
// pmNotXor); at its end the canvas pen draws in copy mode again and the canvas is marked changed, so
// that no later repaint takes the off-screen picture for the window's.
class TToolRasterDrawing {
public:
    TToolRasterDrawing(TCustomAxisPanel& Chart, TPenMode Mode);
    ~TToolRasterDrawing();
    TToolRasterDrawing(const TToolRasterDrawing&) = delete;
    TToolRasterDrawing& operator=(const TToolRasterDrawing&) = delete;

    TCanvas3D& Canvas() const { return FCanvas; }
    // Selecting a pen sets the device's raster mode from the pen's own: the mode is set again after it.
    void SelectPen(const TPen& Pen, TColor Color);
    void SelectPen(const TPen& Pen) { SelectPen(Pen, Pen.Color()); }

private:
    TCanvas3D& FCanvas;
    TPenMode FMode;
};

// The indexes from the first visible one (0 when negative) to the last visible one (the last point when
// that is negative or past the end); false when the series has no points or the range is empty.
bool VisibleIndexRange(const TChartSeries& Series, int& First, int& Last);

// A series a tool keeps besides its Series (the one under the mouse, the one dragged): Field takes Value
// and the tool's free notification moves with it, the notification of the tool's own Series staying.
// The tool's Notification calls ForgetSeriesLink for every such field.
void LinkSeries(TLumCustomToolSeries& Tool, TChartSeries*& Field, TChartSeries* Value);
// Clears Field when Component is its series.
void ForgetSeriesLink(TChartSeries*& Field, const TComponent* Component);
// The tool's own Series changed: its links keep their notifications (the base setter drops the old
// Series' notification, which a link may share).
void RenewSeriesLink(TLumCustomToolSeries& Tool, TChartSeries* Field);

// The axis' ends moved by Fraction of their span: of the values on a linear axis, of their logarithms
// (their signed transforms in the signed mode) on a logarithmic one, so that a logarithmic minimum never
// reaches 0 and the content moves as far at every scale. False for a logarithmic axis with an end <= 0.
bool ShiftedAxisRange(const TChartAxis& Axis, double Fraction, double& Lo, double& Hi);
