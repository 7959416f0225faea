// The data view with a survey of 20,000 measurements made in code: ShowDataGraphs followed by one repaint
// at 790 x 339, in the "DU" view and in the "Potential" view (whose backward run comes in falling x).
// Prints the processor; target: under 100 ms for each, graphs and repaint together.
#include "bench/bench_common.h"

#include "chart/control/ChartRegistry.h"
#include "chart/series/Series.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int Width = 790, Height = 339;
constexpr int Measurements = 20000;

TSurveyState MakeSurvey()
{
    TSurveyState s;
    s.SurveyReady = s.DataLoaded = true;
    osource set;
    for (int k = 0; k < Measurements; ++k) {
        set.P1.push_back(k);
        set.P2.push_back(k + 1);
        set.P1x.push_back(k * 0.5);
        set.P2x.push_back((k + 1) * 0.5);
        for (arofdoubleM* a : {&set.P1y, &set.P2y, &set.P1z, &set.P2z}) a->push_back(0.0);
        set.Observed.push_back(std::sin(k * 0.01) + 0.1 * std::sin(k * 0.7));
        set.Calculated.push_back(std::sin(k * 0.01));
        set.Weight.push_back(k % 50 == 0 ? 2.0 : 1.0);
        set.ObservedPresent.push_back(true);
    }
    s.DataSets.push_back(set);
    return s;
}

struct TScene {
    TSurveyState Survey = MakeSurvey();
    TPseudoSection2d Data{nullptr};
    TChart Model{nullptr};
    TBitmap Target{Width, Height, pf32bit};

    TScene()
    {
        Data.CreateDataGraphs();
        Data.SetBounds(0, 0, Width, Height);
        Model.BottomAxis().SetFixedRange(0, Measurements * 0.5);
    }
};

TScene& Scene()
{
    static bool started = [] {
        EnsureQtApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
        std::printf("Processor: %s\n", bench::ProcessorName().c_str());
        return true;
    }();
    (void)started;
    static TScene scene;
    return scene;
}

void GraphsAndRepaint(benchmark::State& state, int dataType, int nullPoint)
{
    TScene& scene = Scene();
    scene.Survey.DataType = dataType;
    scene.Survey.NullPointIndex = nullPoint;
    for (auto _ : state) {
        ShowDataGraphs(scene.Survey, scene.Data, scene.Model);
        scene.Data.DrawOnCanvas(scene.Target.Canvas(), TRect{0, 0, Width, Height});
    }
    state.counters["points"] = scene.Data.Series1->PointCount() + scene.Data.Series2->PointCount();
}

void BM_DataView_DU(benchmark::State& state) { GraphsAndRepaint(state, 0, 0); }
void BM_DataView_Potential(benchmark::State& state) { GraphsAndRepaint(state, 1, Measurements / 2); }

BENCHMARK(BM_DataView_DU)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DataView_Potential)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

BENCHMARK_MAIN();
