// The data view with a survey of 20,000 measurements made in code: ShowDataGraphs followed by one repaint
// at 790 x 339, in the "DU" view and in the "Potential" view (whose backward run comes in falling x).
// Prints the processor; target: under 100 ms for each, graphs and repaint together.
// The contoured section: a 200 x 100 grid through the feeder with 15 levels and its picture (target
// under 1 s), one repaint of the fed view at 790 x 339 (under 50 ms), and 7,900 scattered nodes
// triangulated and linked (under 3 s).
#include "bench/bench_common.h"

#include "chart/control/ChartRegistry.h"
#include "chart/series/Series.h"
#include "core/SectionMesh.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"

#include <cmath>
#include <cstdio>
#include <random>

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

ararofdoubleM GridValues(int nx, int nz)
{
    ararofdoubleM v(nx);
    for (int j = 0; j < nx; ++j) {
        v[j].SetLength(nz);
        for (int k = 0; k < nz; ++k) v[j][k] = std::sin(j * 0.05) * std::cos(k * 0.07) * 100 + k;
    }
    return v;
}

arofdoubleM Steps(int n, double step)
{
    arofdoubleM v(n);
    for (int i = 0; i < n; ++i) v[i] = i * step;
    return v;
}

struct TContourScene {
    TPseudoSection2d View{nullptr};
    TBitmap Target{Width, Height, pf32bit};
    ararofdoubleM Values = GridValues(200, 100);
    TContourScene() { View.SetBounds(0, 0, Width, Height); }
    void Feed() { View.SetSectionGrid(Steps(200, 2.5), Steps(100, 1), Values, arofdoubleM{}, 0); }
};

TContourScene& ContourScene()
{
    Scene();
    static TContourScene scene;
    return scene;
}

void BM_Contour_FeedGrid200x100(benchmark::State& state)
{
    TContourScene& scene = ContourScene();
    for (auto _ : state) scene.Feed();
    state.counters["triangles"] = scene.View.FTriangleCount;
}

void BM_Contour_RepaintFedView(benchmark::State& state)
{
    TContourScene& scene = ContourScene();
    scene.Feed();
    scene.View.DrawOnCanvas(scene.Target.Canvas(), TRect{0, 0, Width, Height});
    for (auto _ : state) scene.View.DrawOnCanvas(scene.Target.Canvas(), TRect{0, 0, Width, Height});
}

void BM_Contour_Triangulate7900(benchmark::State& state)
{
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> ux(0, 1000), uy(0, 300), uz(-10, 10);
    arofdoubleM x, y, z;
    for (int i = 0; i < 7900; ++i) {
        x.push_back(ux(rng));
        y.push_back(uy(rng));
        z.push_back(uz(rng));
    }
    for (auto _ : state) {
        TSectionData s;
        s.FPictureWidth = 8000;
        s.FPictureHeight = 5000;
        SetSectionNodes(s, x, y, z, arofintM{});
        RebuildSectionMesh(s, true);
        state.counters["triangles"] = s.FTriangleCount;
    }
}

BENCHMARK(BM_Contour_FeedGrid200x100)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Contour_RepaintFedView)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Contour_Triangulate7900)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

BENCHMARK_MAIN();
