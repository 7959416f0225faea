// A whole redraw of a chart (axes, walls, legend) holding one line series of 1,000,000 points (x ascending,
// y a seeded random walk) into a 1600 x 1000 bitmap through the chart canvas, once with the line series and
// once with the fast line series; beside it a plain QPainter drawPolyline of the same points and pen. Prints
// the best times, the ratios and the processor; the target is both series within 2 times the polyline.
#include "bench/bench_common.h"

#include "chart/control/Chart.h"
#include "chart/series/Series.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <QImage>
#include <QPainter>
#include <QPointF>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Width = 1600, Height = 1000;
constexpr int Points = 1000000;

struct TData {
    std::vector<double> X, Y;
    TData()
    {
        std::mt19937 random(20260610);
        std::normal_distribution<double> step(0.0, 1.0);
        X.resize(Points);
        Y.resize(Points);
        double y = 0;
        for (int i = 0; i < Points; ++i) {
            X[static_cast<std::size_t>(i)] = i;
            y += step(random);
            Y[static_cast<std::size_t>(i)] = y;
        }
    }
};

const TData& Data()
{
    static const TData data;
    return data;
}

// A chart with axes, walls and legend, holding one series of the given kind.
template <class TSeriesKind>
struct TScene {
    TChart Chart{nullptr};
    TSeriesKind* Series = nullptr;
    TScene()
    {
        EnsureQtApplication();
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Chart.SetBufferedDisplay(false);
        Series = new TSeriesKind(&Chart);
        Series->SetParentChart(&Chart);
        Series->SetSeriesColor(clRed);
        const TData& d = Data();
        for (int i = 0; i < Points; ++i) Series->InsertPoint(d.X[std::size_t(i)], d.Y[std::size_t(i)]);
    }
};

template <class TSeriesKind>
TScene<TSeriesKind>& Scene()
{
    static TScene<TSeriesKind> scene;
    return scene;
}

bench::TBestTimes<std::string>& Best()
{
    static bench::TBestTimes<std::string> best;
    return best;
}

template <class TSeriesKind>
void ChartPaint(benchmark::State& state, const char* key)
{
    TScene<TSeriesKind>& s = Scene<TSeriesKind>();
    TBitmap bitmap(Width, Height, pf32bit);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.Chart.DrawOnCanvas(bitmap.Canvas(), {0, 0, Width, Height});
        Best().Record(key, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}

void BM_LineSeries(benchmark::State& state) { ChartPaint<TLineSeries>(state, "line"); }
void BM_FastLineSeries(benchmark::State& state) { ChartPaint<TFastLineSeries>(state, "fast line"); }

// The same points through the line chart's axis mapping, as one polyline with a 1-pixel solid pen.
void BM_QPainterPolyline(benchmark::State& state)
{
    TScene<TLineSeries>& s = Scene<TLineSeries>();
    TBitmap warm(Width, Height, pf32bit);
    s.Chart.DrawOnCanvas(warm.Canvas(), {0, 0, Width, Height});
    const TChartAxis& h = s.Chart.BottomAxis();
    const TChartAxis& v = s.Chart.LeftAxis();
    const TData& d = Data();
    std::vector<QPointF> points(Points);
    QImage image(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        image.fill(Qt::white);
        for (int i = 0; i < Points; ++i)
            points[std::size_t(i)] = QPointF(h.CalcXPosValue(d.X[std::size_t(i)]), v.CalcYPosValue(d.Y[std::size_t(i)]));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::red, 1));
        painter.drawPolyline(points.data(), Points);
        painter.end();
        Best().Record("polyline", std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}

BENCHMARK(BM_LineSeries)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FastLineSeries)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_QPainterPolyline)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double line = Best().Get("line"), fast = Best().Get("fast line"), polyline = Best().Get("polyline");
    std::printf("\nOne line of 1,000,000 points, whole chart redraw in 1600 x 1000, on %s\n", bench::Machine().c_str());
    std::printf("  line series        %8.2f ms (best)\n  fast line series   %8.2f ms (best)\n", line * 1e3, fast * 1e3);
    std::printf("  QPainter polyline  %8.2f ms (best)\n", polyline * 1e3);
    if (polyline > 0) std::printf("  ratios to the polyline: line %.2f, fast line %.2f (target at most 2)\n", line / polyline, fast / polyline);
    benchmark::Shutdown();
    return 0;
}
