// Raster-mode drawing of the tools on the chart canvas, the visible index range of a series, and the
// series links of tools.
#include "chart/control/LumToolsDraw.h"

#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/rtl/SystemColors.h"

#include <cmath>

TColor ChartFaceRGB(const TCustomAxisPanel& Chart)
{
    const TColor face = Chart.Color() == clDefault ? clBtnFace : Chart.Color();
    return ColorToRGB(face);
}

TToolRasterDrawing::TToolRasterDrawing(TCustomAxisPanel& Chart, TPenMode Mode) : FCanvas(Chart.ChartCanvas()), FMode(Mode)
{
    FCanvas.Pen().SetMode(FMode);
}

TToolRasterDrawing::~TToolRasterDrawing()
{
    FCanvas.Pen().SetMode(pmCopy);
    FCanvas.MarkChanged();
}

void TToolRasterDrawing::SelectPen(const TPen& Pen, TColor Color)
{
    FCanvas.SelectPenColor(Pen, Color);
    FCanvas.Pen().SetMode(FMode);
}

bool VisibleIndexRange(const TChartSeries& Series, int& First, int& Last)
{
    const int count = Series.PointCount();
    if (count <= 0) return false;
    First = Series.FirstVisible() < 0 ? 0 : Series.FirstVisible();
    Last = Series.LastVisible() < 0 || Series.LastVisible() >= count ? count - 1 : Series.LastVisible();
    return First <= Last;
}

void LinkSeries(TLumCustomToolSeries& Tool, TChartSeries*& Field, TChartSeries* Value)
{
    if (Field == Value) return;
    if (Field && Field != Tool.Series()) Tool.RemoveFreeNotification(Field);
    Field = Value;
    if (Field) Tool.FreeNotification(Field);
}

void ForgetSeriesLink(TChartSeries*& Field, const TComponent* Component)
{
    if (Field && Field == Component) Field = nullptr;
}

void RenewSeriesLink(TLumCustomToolSeries& Tool, TChartSeries* Field)
{
    if (Field) Tool.FreeNotification(Field);
}

bool ShiftedAxisRange(const TChartAxis& Axis, double Fraction, double& Lo, double& Hi)
{
    const double lo = Axis.Minimum(), hi = Axis.Maximum();
    if (!Axis.Logarithmic()) {
        const double d = Fraction * (hi - lo);
        Lo = lo + d;
        Hi = hi + d;
        return true;
    }
    if (Axis.SignedLogMode) {
        const double c = Axis.SignedLogScale;
        const double tlo = SymLogTransform(c, lo), thi = SymLogTransform(c, hi);
        const double d = Fraction * (thi - tlo);
        Lo = SymLogInverse(c, tlo + d);
        Hi = SymLogInverse(c, thi + d);
        return true;
    }
    if (!(lo > 0) || !(hi > 0)) return false;
    const double d = Fraction * (std::log(hi) - std::log(lo));
    Lo = std::exp(std::log(lo) + d);
    Hi = std::exp(std::log(hi) + d);
    return true;
}
