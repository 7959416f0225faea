// The pyramid series' slices from running sums, their drawing as frustums, marks at each slice's top, the
// click test, extents and registration.
#include "chart/extras/LumPyramid.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

TComponent* MakePyramid(TComponent* Owner) { return new TPyramidSeries(Owner); }

std::vector<TPropInfo> PyramidProperties()
{
    using P = TProps<TPyramidSeries>;
    std::vector<TPropInfo> props = TChartSeries::PublishedSeriesProperties();
    props.push_back(P::Object("Brush", [](const TPyramidSeries& s) -> TPersistent* { return &s.Brush(); }));
    props.push_back(P::Object("Pen", [](const TPyramidSeries& s) -> TPersistent* { return &s.Pen(); }));
    props.push_back(P::Integer("SizePercent", &TPyramidSeries::SizePercent, &TPyramidSeries::SetSizePercent).Default(50));
    return props;
}

} // namespace

const TClassInfo& TPyramidSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPyramidSeries",
                                  .Parent = &TChartSeries::StaticClassInfo(),
                                  .Properties = PyramidProperties(),
                                  .Defaults = {{"ColorEachPoint", true}},
                                  .Create = &MakePyramid});
    return info;
}

TPyramidSeries::TPyramidSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    SetOrderedRange(false);
    SetColorEachPoint(true);
}

TPyramidSeries::~TPyramidSeries() { TChartSeries::SetParentChart(nullptr); }

void TPyramidSeries::HorizMargins(int& Left, int& Right)
{
    Left = 20;
    Right = 20;
}

double TPyramidSeries::SeriesPosition() const
{
    const TCustomAxisPanel* chart = ParentChart();
    return chart ? chart->SeriesList().IndexOf(this) : 0;
}

double TPyramidSeries::HighestX() { return SeriesPosition(); }
double TPyramidSeries::LowestX() { return SeriesPosition(); }
double TPyramidSeries::HighestY() { return YValues().SumOfAbsValues(); }

bool TPyramidSeries::DrawsForward() const
{
    const TChartAxis* vert = GetVertAxis();
    return !vert || !vert->Inverted();
}

void TPyramidSeries::Sum()
{
    const int n = PointCount();
    FSums.assign(n + 1, 0);
    double s = 0;
    for (int i = 0; i < n; ++i) {
        FSums[i] = s;
        s += YValues().ValueAt(i);
    }
    FSums[n] = s;
}

bool TPyramidSeries::SliceOf(int Index, double Before, double Total, TSlice& Slice) const
{
    // Values that sum to 0 leave no pyramid to cut.
    if (Total == 0 || std::isnan(Total)) return false;
    const TChartAxis* horiz = GetHorizAxis();
    if (!horiz) return false;
    const double s1 = Before + YValues().ValueAt(Index);
    const double p0 = 100 - Before * 100 / Total, p1 = 100 - s1 * 100 / Total;
    const int w = PixelFromReal((horiz->EndPixel - horiz->StartPixel) * FSizePercent * 0.005);
    const int xc = HorizValueToPixel(SeriesPosition());
    const int half = PixelFromReal(w * p0 * 0.01);
    const int d = EndZ() - StartZ();
    Slice.Rect = {ClampedPixel(std::int64_t(xc) - half), VertValueToPixel(s1), ClampedPixel(std::int64_t(xc) + half),
                  VertValueToPixel(Before)};
    Slice.Inset = 100 - p0 > 0 ? PixelFromReal(d * (100 - p0) * 0.005) : 0;
    Slice.TopHalfDepth = p1 < 100 ? PixelFromReal(d * p1 * 0.005) : 0;
    Slice.TopHalfWidth = PixelFromReal(w * p1 * 0.01);
    return true;
}

void TPyramidSeries::PaintAllPoints()
{
    Sum();
    TChartSeries::PaintAllPoints();
}

void TPyramidSeries::PaintMarks()
{
    Sum();
    TChartSeries::PaintMarks();
}

void TPyramidSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    TSlice slice;
    if (!chart || PointIsNull(Index) || Index + 1 >= static_cast<int>(FSums.size()) ||
        !SliceOf(Index, FSums[Index], FSums.back(), slice))
        return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const TColor back = Brush().Color() == clDefault ? chart->Color() : Brush().Color();
    chart->SelectBrushContrast(PointColor(Index), Brush(), back);
    canvas.SelectPen(Pen());
    canvas.DrawFrustumShape(slice.Rect, StartZ() + slice.Inset, EndZ() - slice.Inset, slice.TopHalfWidth,
                            slice.TopHalfDepth);
}

void TPyramidSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    if (Index + 1 < static_cast<int>(FSums.size())) Position.LeftTop.y = VertValueToPixel(FSums[Index + 1]);
    TChartSeries::PaintMark(Index, Text, Position);
}

int TPyramidSeries::PointAtPixel(int X, int Y) const
{
    const int n = PointCount();
    double total = 0;
    for (int i = 0; i < n; ++i) total += YValues().ValueAt(i);
    double before = 0;
    for (int i = 0; i < n; ++i) {
        TSlice slice;
        if (!PointIsNull(i) && SliceOf(i, before, total, slice)) {
            // An inverted vertical axis puts the slice's top below its bottom.
            const TRect& r = slice.Rect;
            if (X >= r.Left && X <= r.Right && Y >= std::min(r.Top, r.Bottom) && Y <= std::max(r.Top, r.Bottom)) return i;
        }
        before += YValues().ValueAt(i);
    }
    return -1;
}

void LumPyramidInitialization()
{
    RegisterSeries(TPyramidSeries::StaticClassInfo(), LumProCo::Pyramid, LumConst::GalleryExtended, 2);
}

void LumPyramidFinalization() { UnregisterSeriesClasses({&TPyramidSeries::StaticClassInfo()}); }
