// The extras' series kinds painted by the chart into a 1600 x 1000 bitmap: bubble and arrow series of
// 10^4, 10^5 and 10^6 points, pyramid, volume pipe and funnel (quotes added sorted) series of 10^3, 10^4
// and 10^5 values. Prints the best time of each size, the scaling exponents and the fitted exponent of
// time against n per kind, with the processor; the target is a fitted exponent of at most 1.15.
#include "bench/bench_common.h"
#include "chart/control/Chart.h"
#include "chart/control/ChartRegistry.h"
#include "chart/extras/ArrowCha.h"
#include "chart/extras/BubbleCh.h"
#include "chart/extras/LumFunnel.h"
#include "chart/extras/LumPyramid.h"
#include "chart/extras/LumVolumePipe.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int Width = 1600, Height = 1000;

enum TKind { kBubble, kArrow, kPyramid, kPipe, kFunnel };
const char* const KindNames[] = {"bubble", "arrow", "pyramid", "volume pipe", "funnel"};

std::map<int, double>& Best(TKind Kind)
{
    static std::map<int, double> best[5];
    return best[Kind];
}

// A chart of one series of the kind with N points; the axes fixed so that every kind fills the plot.
struct TScene {
    TChart Chart{nullptr};
    TScene(TKind Kind, int N)
    {
        EnsureQtApplication();
        ChartInitialization();
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.SetBufferedDisplay(false);
        RandomizeSeed(7);
        switch (Kind) {
        case kBubble: {
            auto* s = new TBubbleSeries(&Chart);
            for (int i = 0; i < N; ++i) s->AddBubble(i, RandomBelow(1000), 1 + RandomBelow(20));
            s->SetParentChart(&Chart);
            Chart.BottomAxis().SetFixedRange(0, N);
            Chart.LeftAxis().SetFixedRange(-20, 1020);
            break;
        }
        case kArrow: {
            auto* s = new TArrowSeries(&Chart);
            for (int i = 0; i < N; ++i) {
                const double x = RandomBelow(N), y = RandomBelow(1000);
                s->AddArrow(x, y, x + RandomBelow(N / 100 + 1), y + RandomBelow(50));
            }
            s->SetParentChart(&Chart);
            Chart.BottomAxis().SetFixedRange(0, 1.02 * N);
            Chart.LeftAxis().SetFixedRange(0, 1050);
            break;
        }
        case kPyramid: {
            auto* s = new TPyramidSeries(&Chart);
            for (int i = 0; i < N; ++i) s->AppendValue(1 + RandomBelow(10));
            s->SetParentChart(&Chart);
            Chart.BottomAxis().SetFixedRange(-1, 1);
            Chart.LeftAxis().SetFixedRange(0, 10.0 * N);
            break;
        }
        case kPipe: {
            auto* s = new TVolumePipeSeries(&Chart);
            for (int i = 0; i < N; ++i) s->AppendValue(1 + RandomBelow(1000));
            s->SetParentChart(&Chart);
            break;
        }
        case kFunnel: {
            auto* s = new TFunnelSeries(&Chart);
            s->SetQuotesSorted(true);
            for (int i = 0; i < N; ++i) s->AddSegment(2.0 * (N - i), 1.5 * (N - i) + RandomBelow(N));
            s->SetParentChart(&Chart);
            Chart.BottomAxis().SetFixedRange(-0.5, N - 0.5);
            Chart.LeftAxis().SetFixedRange(0, 2.0 * N);
            break;
        }
        }
    }
};

void BM_Paint(benchmark::State& state)
{
    const auto kind = static_cast<TKind>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    TScene scene(kind, n);
    TBitmap bitmap(Width, Height);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        scene.Chart.DrawOnCanvas(bitmap.Canvas(), scene.Chart.ChartBounds());
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        auto [it, added] = Best(kind).try_emplace(n, seconds);
        if (!added) it->second = std::min(it->second, seconds);
    }
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int k : {kBubble, kArrow})
        for (int n : {10000, 100000, 1000000}) b->Args({k, n});
    for (int k : {kPyramid, kPipe, kFunnel})
        for (int n : {1000, 10000, 100000}) b->Args({k, n});
}

// At least three paints a size: the best of them on a machine others share.
BENCHMARK(BM_Paint)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nPainting the extras' series into a %d x %d bitmap, best of the runs, on %s:\n", Width, Height,
                bench::ProcessorName().c_str());
    for (int k = kBubble; k <= kFunnel; ++k) {
        if (Best(static_cast<TKind>(k)).empty()) continue;
        std::printf("%s\n", KindNames[k]);
        const double fitted = bench::PrintScaling(Best(static_cast<TKind>(k)), "points");
        std::printf("  fitted exponent %.2f (target at most 1.15: %s)\n", fitted, fitted <= 1.15 ? "met" : "NOT met");
    }
    return 0;
}
