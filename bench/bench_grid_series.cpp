// The grid and surface series: contour levels and polylines of square grids (a smooth surface and seeded
// noise), the triangulation of uniform and lattice points, the irregular grid index, and the paint of a
// 500 x 500 surface, a 1000 x 1000 colour grid and a 100,000-point triangulated surface into 1600 x 1000
// against plain QPainter references drawing the same cells, picture or triangles. Prints best times, the
// exponents fitted against cells or n log n, the ratios and the processor.
#include "bench/bench_common.h"

#include "chart/control/Chart.h"
#include "chart/series/LumSurfaColorGrid.h"
#include "chart/series/LumSurfaContour.h"
#include "chart/series/LumSurfaSurface.h"
#include "chart/series/LumTriSurface.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <QImage>
#include <QPainter>
#include <QPoint>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Width = 1600, Height = 1000;

double Seconds(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

bench::TBestTimes<std::string>& Best()
{
    static bench::TBestTimes<std::string> best;
    return best;
}

std::string Key(const char* What, long long N) { return std::string(What) + "/" + std::to_string(N); }

// ---- Contours ------------------------------------------------------------------------------------------------

double SampleHeight(int X, int Z, int N)
{
    const double cx = std::cos(X / (0.2 * N)), cz = std::cos(Z / (0.2 * N));
    return 0.5 * cx * cx + cz * cz - std::cos(Z / (0.5 * N));
}

void BM_Contour(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool noise = state.range(1) != 0;
    TContourSeries s(nullptr);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(0, 1);
    s.BeginDataUpdate();
    for (int z = 1; z <= n; ++z)
        for (int x = 1; x <= n; ++x) s.AppendXYZ(x, noise ? u(rng) : SampleHeight(x, z, n), z);
    s.EndDataUpdate();
    s.SetNumLevels(10);
    long long segments = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.RebuildGridIndex();
        s.CreateAutoLevels();
        s.ContourLevels();
        Best().Record(Key(noise ? "contour noise" : "contour sample", static_cast<long long>(n - 1) * (n - 1)), Seconds(t0));
        segments = 0;
        for (int i = 0; i < s.Levels().Count(); ++i) segments += static_cast<long long>(s.Levels().GetLevel(i).Segments().size());
    }
    state.counters["polylines"] = static_cast<double>(segments);
}

// ---- Triangulation and the irregular index -------------------------------------------------------------------

void BM_Triangulation(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool lattice = state.range(1) != 0;
    std::vector<double> xs, zs;
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(0, 1000);
    const int side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(n))));
    for (int i = 0; i < n; ++i) {
        xs.push_back(lattice ? i % side : u(rng));
        zs.push_back(lattice ? i / side : u(rng));
    }
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        TTriangulation t = TriangulatePoints(xs, zs);
        Best().Record(Key(lattice ? "triangulation lattice" : "triangulation uniform", n), Seconds(t0));
        benchmark::DoNotOptimize(t);
    }
}

void BM_IrregularIndex(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    TColorGridSeries s(nullptr);
    s.SetIrregularGrid(true);
    s.BeginDataUpdate();
    for (int z = 1; z <= n; ++z)
        for (int x = 1; x <= n; ++x) s.AppendXYZ(x * 1.37 + 0.1, 0, z * 0.73 + 0.05);
    s.EndDataUpdate();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.RebuildGridIndex();
        Best().Record(Key("irregular index", static_cast<long long>(n) * n), Seconds(t0));
    }
}

// ---- Paints against QPainter ---------------------------------------------------------------------------------

struct TPaintScene {
    TChart Chart{nullptr};
    explicit TPaintScene(bool View3D)
    {
        EnsureQtApplication();
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(View3D);
        Chart.View3DOptions().SetOrthogonal(true);
        Chart.Legend().SetVisible(false);
        Chart.SetBufferedDisplay(false);
            }
};

QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The first paint (recorded as "<name> first") prepares what repaints of unchanged data reuse (the
// triangulation); the timed runs are repaints.
void TimeChart(TPaintScene& Scene, const char* Name, benchmark::State& state)
{
    TBitmap bitmap(Width, Height, pf32bit);
    const auto first = std::chrono::steady_clock::now();
    Scene.Chart.DrawOnCanvas(bitmap.Canvas(), {0, 0, Width, Height});
    Best().Record(std::string(Name) + " first", Seconds(first));
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        Scene.Chart.DrawOnCanvas(bitmap.Canvas(), {0, 0, Width, Height});
        Best().Record(Name, Seconds(t0));
    }
}

// Polygons with their colours, as the chart projected them in its last paint.
struct TPolygons {
    std::vector<std::vector<QPoint>> Points;
    std::vector<QColor> Colors;
};

void TimePolygons(const TPolygons& P, const char* Name, benchmark::State& state)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 0));
        for (std::size_t i = 0; i < P.Points.size(); ++i) {
            painter.setBrush(P.Colors[i]);
            painter.drawPolygon(P.Points[i].data(), static_cast<int>(P.Points[i].size()));
        }
        painter.end();
        Best().Record(Name, Seconds(t0));
    }
}

constexpr int SurfaceSide = 500;

TPaintScene& SurfaceScene()
{
    static TPaintScene scene(true);
    static TSurfaceSeries* surface = [] {
        auto* s = new TSurfaceSeries(&scene.Chart);
        s->SetParentChart(&scene.Chart);
        s->BeginDataUpdate();
        for (int z = 1; z <= SurfaceSide; ++z)
            for (int x = 1; x <= SurfaceSide; ++x) s->AppendXYZ(x, SampleHeight(x, z, SurfaceSide), z);
        s->EndDataUpdate();
        return s;
    }();
    (void)surface;
    return scene;
}

void BM_SurfacePaint(benchmark::State& state) { TimeChart(SurfaceScene(), "surface chart", state); }

void BM_SurfaceReference(benchmark::State& state)
{
    TPaintScene& scene = SurfaceScene();
    TBitmap warm(Width, Height, pf32bit);
    scene.Chart.DrawOnCanvas(warm.Canvas(), {0, 0, Width, Height});
    auto& s = dynamic_cast<TSurfaceSeries&>(*scene.Chart.SeriesAt(0));
    TCanvas3D& canvas = scene.Chart.ChartCanvas();
    TPolygons p;
    auto corner = [&](int x, int z) {
        const int i = s.GridIndex(x, z);
        return canvas.ProjectXYZ(s.ScreenXOf(i), s.ScreenYOf(i), s.ZScreenPosition(i));
    };
    for (int x = 1; x < SurfaceSide; ++x)
        for (int z = 1; z < SurfaceSide; ++z) {
            const TPoint a = corner(x, z), b = corner(x + 1, z), c = corner(x + 1, z + 1), d = corner(x, z + 1);
            p.Points.push_back({QPoint(a.x, a.y), QPoint(b.x, b.y), QPoint(c.x, c.y), QPoint(d.x, d.y)});
            p.Colors.push_back(ToQColor(s.PointColor(s.GridIndex(x, z + 1))));
        }
    TimePolygons(p, "surface reference", state);
}

constexpr int GridSide = 1000;

TPaintScene& ColorGridScene()
{
    static TPaintScene scene(false);
    static TColorGridSeries* grid = [] {
        auto* g = new TColorGridSeries(&scene.Chart);
        g->SetParentChart(&scene.Chart);
        g->Pen().SetVisible(false);
        g->BeginDataUpdate();
        for (int z = 1; z <= GridSide; ++z)
            for (int x = 1; x <= GridSide; ++x) g->AppendXYZ(x, SampleHeight(x, z, GridSide), z);
        g->EndDataUpdate();
        return g;
    }();
    (void)grid;
    return scene;
}

void BM_ColorGridPaint(benchmark::State& state) { TimeChart(ColorGridScene(), "colour grid chart", state); }

// One image of the cells' colours, filled and drawn scaled over the grid's pixels.
void BM_ColorGridReference(benchmark::State& state)
{
    TPaintScene& scene = ColorGridScene();
    TBitmap warm(Width, Height, pf32bit);
    scene.Chart.DrawOnCanvas(warm.Canvas(), {0, 0, Width, Height});
    auto& g = dynamic_cast<TColorGridSeries&>(*scene.Chart.SeriesAt(0));
    std::vector<QRgb> colours;
    for (int z = GridSide; z >= 1; --z)
        for (int x = 1; x <= GridSide; ++x) {
            const TColor c = g.PointColor(g.GridIndex(x, z));
            colours.push_back(qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    const TChartAxis& h = scene.Chart.BottomAxis();
    const TChartAxis& v = scene.Chart.LeftAxis();
    const QRect target(QPoint(h.CalcXPosValue(1), v.CalcYPosValue(GridSide + 1)), QPoint(h.CalcXPosValue(GridSide + 1), v.CalcYPosValue(1)));
    QImage image(Width, Height, QImage::Format_RGB32);
    QImage cells(GridSide, GridSide, QImage::Format_RGB32);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int y = 0; y < GridSide; ++y)
            std::copy_n(colours.data() + static_cast<std::size_t>(y) * GridSide, GridSide, reinterpret_cast<QRgb*>(cells.scanLine(y)));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.drawImage(target, cells);
        painter.end();
        Best().Record("colour grid reference", Seconds(t0));
    }
}

constexpr int TrianglePoints = 100000;

TPaintScene& TriSurfaceScene()
{
    static TPaintScene scene(true);
    static TTriSurfaceSeries* tri = [] {
        auto* t = new TTriSurfaceSeries(&scene.Chart);
        t->SetParentChart(&scene.Chart);
        std::mt19937 rng(4);
        std::uniform_real_distribution<double> u(0, 100);
        t->BeginDataUpdate();
        for (int i = 0; i < TrianglePoints; ++i) {
            const double x = u(rng), z = u(rng);
            t->AppendXYZ(x, std::sin(x * 0.1) * std::cos(z * 0.1), z);
        }
        t->EndDataUpdate();
        return t;
    }();
    (void)tri;
    return scene;
}

void BM_TriSurfacePaint(benchmark::State& state) { TimeChart(TriSurfaceScene(), "triangle surface chart", state); }

void BM_TriSurfaceReference(benchmark::State& state)
{
    TPaintScene& scene = TriSurfaceScene();
    TBitmap warm(Width, Height, pf32bit);
    scene.Chart.DrawOnCanvas(warm.Canvas(), {0, 0, Width, Height});
    auto& s = dynamic_cast<TTriSurfaceSeries&>(*scene.Chart.SeriesAt(0));
    TCanvas3D& canvas = scene.Chart.ChartCanvas();
    const TTriangulation& t = s.Triangulation();
    TPolygons p;
    for (int k = 1; k <= t.TriangleCount(); ++k) {
        std::vector<QPoint> pts;
        for (int v = 0; v < 3; ++v) {
            const int i = t.TrianglePoint(k, v);
            const TPoint q = canvas.ProjectXYZ(s.ScreenXOf(i), s.ScreenYOf(i), s.ZScreenPosition(i));
            pts.emplace_back(q.x, q.y);
        }
        p.Points.push_back(std::move(pts));
        p.Colors.push_back(ToQColor(s.PointColor(t.TrianglePoint(k, 0))));
    }
    TimePolygons(p, "triangle surface reference", state);
}

// ---- Registration --------------------------------------------------------------------------------------------

void ContourSizes(benchmark::internal::Benchmark* b)
{
    for (int noise : {0, 1})
        for (int n : {250, 500, 1000, 2000}) b->Args({n, noise});
}

void TriangulationSizes(benchmark::internal::Benchmark* b)
{
    for (int lattice : {0, 1})
        for (int n : {12500, 25000, 50000, 100000, 200000}) b->Args({n, lattice});
}

BENCHMARK(BM_Contour)->Apply(ContourSizes)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Triangulation)->Apply(TriangulationSizes)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_IrregularIndex)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_SurfacePaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SurfaceReference)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ColorGridPaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ColorGridReference)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TriSurfacePaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TriSurfaceReference)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The least-squares slope of log(time) against log(size) over the recorded sizes of a family; with
// NLogN the size is n log n.
void PrintFamily(const std::string& Family, bool NLogN, double Target)
{
    std::vector<std::pair<double, double>> sizes; // size, seconds
    for (const auto& [key, seconds] : Best().All())
        if (key.rfind(Family + "/", 0) == 0) sizes.push_back({std::stod(key.substr(Family.size() + 1)), seconds});
    std::sort(sizes.begin(), sizes.end());
    std::printf("  %s\n", Family.c_str());
    std::vector<std::pair<double, double>> points;
    for (const auto& [n, seconds] : sizes) {
        std::printf("    %10.0f  %10.2f ms\n", n, seconds * 1e3);
        points.push_back({std::log(NLogN ? n * std::log(n) : n), std::log(seconds)});
    }
    if (points.size() < 2) return;
    double mx = 0, my = 0;
    for (const auto& [x, y] : points) {
        mx += x;
        my += y;
    }
    mx /= static_cast<double>(points.size());
    my /= static_cast<double>(points.size());
    double sxy = 0, sxx = 0;
    for (const auto& [x, y] : points) {
        sxy += (x - mx) * (y - my);
        sxx += (x - mx) * (x - mx);
    }
    const double slope = sxy / sxx;
    std::printf("    fitted exponent against %s: %.3f (target at most %.2f: %s)\n", NLogN ? "n log n" : "cells", slope, Target,
                slope <= Target ? "met" : "NOT met");
}

void PrintRatio(const char* What, const std::string& Chart, const std::string& Reference)
{
    const double c = Best().Get(Chart), r = Best().Get(Reference);
    std::printf("  %-32s chart %8.2f ms, QPainter %8.2f ms, ratio %6.2f (target at most 3: %s)\n", What, c * 1e3, r * 1e3,
                r > 0 ? c / r : 0.0, r > 0 && c / r <= 3 ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nGrid and surface series, best of the runs, on %s\n", bench::Machine().c_str());
    PrintFamily("contour sample", false, 1.1);
    PrintFamily("contour noise", false, 1.1);
    PrintFamily("triangulation uniform", true, 1.15);
    PrintFamily("triangulation lattice", true, 1.15);
    PrintFamily("irregular index", true, 1.15);
    std::printf("  Paints into %d x %d:\n", Width, Height);
    PrintRatio("surface 500 x 500", "surface chart", "surface reference");
    PrintRatio("colour grid 1000 x 1000", "colour grid chart", "colour grid reference");
    PrintRatio("triangle surface 100,000 points", "triangle surface chart", "triangle surface reference");
    PrintRatio("  its first paint (triangulating)", "triangle surface chart first", "triangle surface reference");
    return 0;
}
