// The native chart store on a million points: a line series saved in a native stream with its points and
// loaded back, and its points exported as delimited text and as XML. Targets: 0.5 s per stream direction,
// 1 s per export. Prints the processor and the load, since the machine may be shared.
#include "bench/bench_common.h"
#include "chart/control/Chart.h"
#include "chart/control/ChartRegistry.h"
#include "chart/control/LumStore.h"
#include "chart/control/LumStoreData.h"
#include "chart/series/SeriesLibrary.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/Streams.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int LinePoints = 1000000;

struct TScene {
    TChart Chart{nullptr};
    TLineSeries* Series = new TLineSeries(&Chart);
    TMemoryStream Saved;

    TScene()
    {
        Chart.SetBufferedDisplay(false);
        for (int i = 0; i < LinePoints; ++i) Series->InsertPoint(i * 0.5, std::sin(i * 0.001) * 100);
        Series->SetParentChart(&Chart);
        SaveChartStream(Chart, Saved, true, false);
    }
};

TScene& Scene()
{
    static TScene* scene = new TScene;
    return *scene;
}

void BM_Save(benchmark::State& state)
{
    for (auto _ : state) {
        TMemoryStream s;
        SaveChartStream(Scene().Chart, s, true, false);
        benchmark::DoNotOptimize(s.Size());
    }
}

void BM_Load(benchmark::State& state)
{
    for (auto _ : state) {
        TChart chart(nullptr);
        chart.SetBufferedDisplay(false);
        TCustomChart* p = &chart;
        Scene().Saved.SetPosition(0);
        LoadChartStream(p, Scene().Saved);
        if (chart.SeriesAt(0)->PointCount() != LinePoints) state.SkipWithError("points lost");
    }
}

void BM_ExportText(benchmark::State& state)
{
    for (auto _ : state) {
        TSeriesDataText e(&Scene().Chart, Scene().Series);
        benchmark::DoNotOptimize(e.AsString().size());
    }
}

void BM_ExportXML(benchmark::State& state)
{
    for (auto _ : state) {
        TSeriesDataXML e(&Scene().Chart, Scene().Series);
        benchmark::DoNotOptimize(e.AsString().size());
    }
}

} // namespace

BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportXML)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    EnsureQtApplication();
    ChartInitialization();
    SeriesLibraryInitialization();
    benchmark::Initialize(&argc, argv);
    const std::string before = bench::LoadAverage();
    (void)Scene();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nA line series of %d points on %s; targets 500 ms per stream direction, 1000 ms per export\n",
                LinePoints, bench::Machine().c_str());
    std::printf("Load average (1, 5, 15 min) before: %s, after: %s\n", before.c_str(), bench::LoadAverage().c_str());
    benchmark::Shutdown();
    return 0;
}
