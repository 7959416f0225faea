// A long line drawn thinned by pixel columns is the line drawn segment by segment, pixel for pixel: whole
// charts of 200,000 points at several widths, for the shapes of data that stress the thinning (walks,
// steps, spikes, flat runs, breaks at null points), in the whole view, zoomed into the middle and with
// the horizontal axis inverted, for both line kinds.
#include "SeriesTestSupport.h"

#include "chart/control/Chart.h"
#include "chart/series/SeriesColumns.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>

namespace {

constexpr int Points = 200000;
constexpr int ChartHeight = 160;

struct TLineShape {
    const char* Name;
    // The value of point i; with Nulls a NaN marks a null point, else it is the value.
    std::function<double(int i, std::mt19937& random, double& walk)> Value;
    bool Nulls = false;
};

double Step(std::mt19937& random) { return std::normal_distribution<double>(0, 1)(random); }

const TLineShape LineShapes[] = {
    {"random walk", [](int, std::mt19937& r, double& w) { return w += Step(r); }},
    {"steps", [](int i, std::mt19937&, double&) { return double((i / 997) % 7) - 3; }},
    {"spikes", [](int i, std::mt19937&, double&) { return i % 6007 == 0 ? 50.0 : (i % 3001 == 0 ? -50.0 : 0.0); }},
    {"constant runs",
     [](int i, std::mt19937& r, double& w) { return (i / 20000) % 2 ? 12.5 : (w += Step(r)); }},
    {"null points", [](int i, std::mt19937& r, double& w) { return i % 1499 == 700 ? std::nan("") : (w += Step(r)); }, true},
    // A NaN value draws at the clamped top, so a few of them cross the whole chart.
    {"NaN values", [](int i, std::mt19937& r, double& w) { return i % 49999 == 7 ? std::nan("") : (w += Step(r)); }},
};

enum class TView { Whole, Zoomed, Inverted };
const char* ViewName(TView V) { return V == TView::Whole ? "whole" : V == TView::Zoomed ? "zoomed" : "inverted"; }

// A chart of the given width with one line of the shape, set to the view.
template <class TKind>
struct TLineChart {
    TChart Chart{nullptr};
    TKind* Series = nullptr;

    TLineChart(const TLineShape& Shape, int Width, TView View)
    {
        Chart.SetBounds(0, 0, Width, ChartHeight);
        Chart.SetView3D(false);
        Chart.SetBufferedDisplay(false);
        Chart.Legend().SetVisible(false);
        Series = new TKind(&Chart);
        Series->SetSeriesColor(clBlue);
        std::mt19937 random(11);
        double walk = 0;
        for (int i = 0; i < Points; ++i) {
            const double v = Shape.Value(i, random, walk);
            if (Shape.Nulls && std::isnan(v))
                Series->InsertNullPoint(i, walk);
            else
                Series->InsertPoint(i, v);
        }
        Series->SetParentChart(&Chart);
        if (View == TView::Zoomed) Chart.BottomAxis().SetFixedRange(Points * 0.4 + 0.3, Points * 0.6 + 0.7);
        if (View == TView::Inverted) Chart.BottomAxis().SetInverted(true);
    }
    std::vector<TColor> Pixels()
    {
        TBitmap bitmap(Chart.Width(), Chart.Height(), pf32bit);
        Chart.DrawOnCanvas(bitmap.Canvas(), Chart.ChartBounds());
        std::vector<TColor> px;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) px.push_back(bitmap.PixelRGB(x, y));
        return px;
    }
};

template <class TKind>
void ExpectSamePicture(const TLineShape& Shape, int Width, TView View, const char* Kind)
{
    TLineChart<TKind> chart(Shape, Width, View);
    const std::vector<TColor> thinned = chart.Pixels();
    SeriesColumnsSettings().Thinning = false;
    const std::vector<TColor> full = chart.Pixels();
    SeriesColumnsSettings().Thinning = true;
    ASSERT_EQ(thinned.size(), full.size());
    int differ = 0, line = 0;
    for (std::size_t i = 0; i < full.size(); ++i) {
        differ += thinned[i] != full[i];
        line += full[i] == clBlue;
    }
    const std::string what = std::string(Kind) + ", " + Shape.Name + ", width " + std::to_string(Width) + ", " + ViewName(View);
    EXPECT_EQ(differ, 0) << what;
    // The picture holds a line at all.
    EXPECT_GT(line, Width / 2) << what;
}

TEST(LineIdentity, ThinnedLinesDrawTheFullLinesPixels)
{
    for (const TLineShape& shape : LineShapes)
        for (const int width : {100, 333, 1600})
            for (const TView view : {TView::Whole, TView::Zoomed, TView::Inverted}) {
                ExpectSamePicture<TLineSeries>(shape, width, view, "line");
                ExpectSamePicture<TFastLineSeries>(shape, width, view, "fast line");
            }
}

// What goes to the device: a long unbroken line costs a few points a pixel column and the points of its
// last column, however many points it has; null points break it into runs, each thinned.
template <class TKind>
std::size_t DrawnVertices(const TLineShape& Shape, TView View)
{
    TLineChart<TKind> chart(Shape, 333, View);
    auto recorder = std::make_shared<TRecordingBackend>(333, ChartHeight);
    TCanvas device(recorder);
    chart.Chart.DrawOnCanvas(device, chart.Chart.ChartBounds());
    std::size_t vertices = 0;
    for (const auto& r : recorder->Records)
        if (r.Kind == "Polyline") vertices += r.Points.size();
    return vertices;
}

TEST(LineIdentity, ALongLineCostsAFewPointsAColumn)
{
    const std::size_t perColumn = Points / 300;
    for (const TView view : {TView::Whole, TView::Zoomed, TView::Inverted}) {
        EXPECT_LT(DrawnVertices<TLineSeries>(LineShapes[0], view), 4 * 333 + perColumn) << ViewName(view);
        EXPECT_LT(DrawnVertices<TFastLineSeries>(LineShapes[0], view), 4 * 333 + perColumn) << ViewName(view);
    }
    EXPECT_LT(DrawnVertices<TFastLineSeries>(LineShapes[4], TView::Whole), std::size_t(Points / 20));
}

} // namespace
