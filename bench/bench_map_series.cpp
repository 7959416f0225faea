// A map series of 10,000 polygons of 12 vertices, coloured through its palette, drawn by the chart's paint
// into a 1600 x 1000 bitmap, against a reference that draws the same polygons with one plain QPainter
// drawPolygon each (antialiasing off, pixels from the same linear mapping) on a QImage of the same size
// and format. Prints both best times, their ratio and the processor; the target is at most 2 times.
#include "bench/bench_common.h"

#include "chart/control/Chart.h"
#include "chart/series/LumMapSeries.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <QImage>
#include <QPainter>
#include <QPoint>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Width = 1600, Height = 1000;
constexpr int Columns = 100, Rows = 100, Corners = 12;

struct TScene {
    TChart Chart{nullptr};
    TMapSeries* Map = nullptr;
    std::vector<std::vector<double>> Xs, Ys;

    TScene()
    {
        EnsureQtApplication();
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        // Straight onto the target, as the reference draws: no off-screen copy in between.
        Chart.SetBufferedDisplay(false);
        Chart.BottomAxis().SetFixedRange(0, Columns);
        Chart.LeftAxis().SetFixedRange(0, Rows);
        Map = new TMapSeries(&Chart);
        Map->SetParentChart(&Chart);
        Map->SetUseColorRange(false);
        Map->SetUsePalette(true);
        // One 12-cornered ring per cell, a little irregular, with Z running over the grid.
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                TLumPolygon& p = *Map->Shapes().AddPolygon();
                std::vector<double> xs, ys;
                for (int k = 0; k < Corners; ++k) {
                    const double a = 2 * 3.14159265358979 * k / Corners;
                    const double radius = 0.45 - 0.08 * (k % 2);
                    xs.push_back(c + 0.5 + radius * std::cos(a));
                    ys.push_back(r + 0.5 + radius * std::sin(a));
                    p.AddVertex(xs.back(), ys.back());
                }
                p.SetZ(std::sin(r * 0.1) * std::cos(c * 0.13) * 100);
                Xs.push_back(std::move(xs));
                Ys.push_back(std::move(ys));
            }
    }
};

TScene& Scene()
{
    static TScene scene;
    return scene;
}

bench::TBestTimes<std::string>& Best()
{
    static bench::TBestTimes<std::string> best;
    return best;
}

// The last picture of each side, kept to check that both drew the same polygons.
std::unique_ptr<TBitmap>& ChartPicture()
{
    static std::unique_ptr<TBitmap> picture;
    return picture;
}

QImage& ReferencePicture()
{
    static QImage picture;
    return picture;
}

// Of the reference's polygon pixels (those not left white), how many the chart painted the same.
void PrintAgreement()
{
    const TBitmap* chart = ChartPicture().get();
    const QImage& reference = ReferencePicture();
    if (!chart || reference.isNull()) return;
    long inside = 0, same = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const QRgb r = reference.pixel(x, y);
            if ((r & 0xFFFFFF) == 0xFFFFFF) continue;
            ++inside;
            const TColor c = chart->PixelRGB(x, y);
            same += static_cast<TColor>(qRed(r) | qGreen(r) << 8 | qBlue(r) << 16) == c;
        }
    std::printf("  agreement    %8.2f %% of %ld polygon pixels painted alike\n", inside ? 100.0 * same / inside : 0.0, inside);
}

void BM_MapSeriesChartPaint(benchmark::State& state)
{
    TScene& s = Scene();
    ChartPicture() = std::make_unique<TBitmap>(Width, Height, pf32bit);
    TBitmap& bitmap = *ChartPicture();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.Chart.DrawOnCanvas(bitmap.Canvas(), {0, 0, Width, Height});
        Best().Record("chart", std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}

// The same polygons in the same colours, through the axes' linear mapping as the paint left it.
void BM_QPainterReference(benchmark::State& state)
{
    TScene& s = Scene();
    TBitmap warm(Width, Height, pf32bit);
    s.Chart.DrawOnCanvas(warm.Canvas(), {0, 0, Width, Height});
    const TChartAxis& h = s.Chart.BottomAxis();
    const TChartAxis& v = s.Chart.LeftAxis();
    const double x0 = h.StartPixel, xScale = h.PixelsPerUnit, y0 = v.EndPixel, yScale = v.PixelsPerUnit;
    std::vector<QColor> colors;
    for (int i = 0; i < s.Map->PointCount(); ++i) {
        const TColor c = s.Map->PointColor(i);
        colors.emplace_back(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
    QImage image(Width, Height, QImage::Format_RGB32);
    std::vector<QPoint> points(Corners);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 0));
        for (std::size_t i = 0; i < s.Xs.size(); ++i) {
            for (int k = 0; k < Corners; ++k)
                points[static_cast<std::size_t>(k)] =
                    QPoint(static_cast<int>(std::lround(x0 + (s.Xs[i][static_cast<std::size_t>(k)] - h.CurrentMinimum) * xScale)),
                           static_cast<int>(std::lround(y0 - (s.Ys[i][static_cast<std::size_t>(k)] - v.CurrentMinimum) * yScale)));
            painter.setBrush(colors[i]);
            painter.drawPolygon(points.data(), Corners);
        }
        painter.end();
        Best().Record("reference", std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    ReferencePicture() = image;
}

BENCHMARK(BM_MapSeriesChartPaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_QPainterReference)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double chart = Best().Get("chart"), reference = Best().Get("reference");
    std::printf("\nMap series, 10,000 polygons of 12 vertices in 1600 x 1000, on %s\n", bench::Machine().c_str());
    std::printf("  chart paint  %8.2f ms (best)\n  QPainter     %8.2f ms (best)\n", chart * 1e3, reference * 1e3);
    if (reference > 0) std::printf("  ratio        %8.2f (target at most 2)\n", chart / reference);
    PrintAgreement();
    benchmark::Shutdown();
    return 0;
}
