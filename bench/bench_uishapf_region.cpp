// BitmapToRegion of a 2000 x 2000 picture with a ragged outline and holes, side by side with Qt's region
// from a mask of the same opaque pixels (the reference). Prints the ratio and the processor.
#include "ui/uishapf.h"

#include "platform/controls/Application.h"

#include <QBitmap>
#include <QImage>
#include <QRegion>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <vector>
#include <memory>
#include <string>

namespace {

constexpr int Size = 2000;

std::string ProcessorName()
{
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpu, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

// Whether a pixel belongs to the shape: a body between two wavy edges with a jittered outline and
// scattered round holes, on a green key colour.
bool Opaque(int x, int y)
{
    std::uint32_t h = static_cast<std::uint32_t>(y) * 2654435761u;
    h ^= h >> 13;
    const int jitter = static_cast<int>(h % 9);
    const int left = 250 + static_cast<int>(180 * std::sin(y / 37.0)) + jitter;
    const int right = 1750 - static_cast<int>(160 * std::cos(y / 53.0)) - jitter;
    if (x < left || x >= right || y < 20 || y >= Size - 20) return false;
    const int cx = (x / 100) * 100 + 50, cy = (y / 100) * 100 + 50;
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy > 18 * 18;
}

struct TPictures {
    TBitmap Bitmap{Size, Size, pf32bit};
    QImage Mask{Size, Size, QImage::Format_Mono};
    TPictures()
    {
        Application->ProcessMessages();
        // Index 1 black: a bitmap's set pixels, which its region covers.
        Mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        Mask.fill(0);
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x) {
                const bool o = Opaque(x, y);
                Bitmap.SetPixelRGB(x, y, o ? RGB(200, 40 + (x & 63), 30) : clGreen);
                Mask.setPixel(x, y, o ? 1 : 0);
            }
    }
};

TPictures& Pictures()
{
    static TPictures p;
    return p;
}

void BM_BitmapToRegion(benchmark::State& state)
{
    TPictures& p = Pictures();
    std::size_t rects = 0;
    for (auto _ : state) {
        const auto region = BitmapToRegion(&p.Bitmap, clGreen, {0, 0});
        rects = region ? region->Rects().size() : 0;
        benchmark::DoNotOptimize(region.get());
    }
    state.counters["rects"] = static_cast<double>(rects);
}

void BM_QtRegionFromMask(benchmark::State& state)
{
    TPictures& p = Pictures();
    for (auto _ : state) {
        const QRegion region(QBitmap::fromImage(p.Mask));
        benchmark::DoNotOptimize(region.rectCount());
    }
}

} // namespace

BENCHMARK(BM_BitmapToRegion)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_QtRegionFromMask)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Runs both and prints the ratio against the reference measured in the same run.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    struct TKeep : benchmark::ConsoleReporter {
        double Own = 0, Qt = 0;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            for (const Run& r : runs) {
                const std::string name = r.benchmark_name();
                if (name.rfind("BM_BitmapToRegion", 0) == 0) Own = r.GetAdjustedRealTime();
                if (name.rfind("BM_QtRegionFromMask", 0) == 0) Qt = r.GetAdjustedRealTime();
            }
            ConsoleReporter::ReportRuns(runs);
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double own = reporter.Own, qt = reporter.Qt;
    std::printf("Processor: %s\n", ProcessorName().c_str());
    {
        // Both cover the same pixels, or the comparison means nothing.
        TPictures& p = Pictures();
        const auto region = BitmapToRegion(&p.Bitmap, clGreen, {0, 0});
        QRegion mine;
        for (const TRect& r : region->Rects()) mine += QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        const QRegion reference(QBitmap::fromImage(p.Mask));
        std::printf("Same pixels as the reference: %s\n", mine.xored(reference).isEmpty() ? "yes" : "NO");
    }
    if (own > 0 && qt > 0)
        std::printf("BitmapToRegion / Qt region from mask (mean times): %.2f (target: at most 2)\n", own / qt);
    // On a shared machine the load changes between the two runs above: the two are also timed in turns,
    // the best time of each kept.
    double bestOwn = 1e9, bestQt = 1e9;
    TPictures& p = Pictures();
    for (int round = 0; round < 25; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        const auto region = BitmapToRegion(&p.Bitmap, clGreen, {0, 0});
        auto t1 = std::chrono::steady_clock::now();
        const QRegion reference(QBitmap::fromImage(p.Mask));
        auto t2 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(region.get());
        benchmark::DoNotOptimize(reference.rectCount());
        bestOwn = std::min(bestOwn, std::chrono::duration<double, std::milli>(t1 - t0).count());
        bestQt = std::min(bestQt, std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    std::printf("In turns, best of 25: BitmapToRegion %.2f ms, Qt region from mask %.2f ms, ratio %.2f\n", bestOwn, bestQt,
                bestOwn / bestQt);
    benchmark::Shutdown();
    return 0;
}
