// One mouse move over a line series of 1,000,000 points in a 1600 x 1000 chart window, sent as a Qt event
// and answered by a mouse-following tool: the nearest-point tool drawing its marker in place (FullRepaint
// off) and a cursor that follows the mouse and snaps to the nearest point. The two run in turn, round by
// round; the medians are printed with the processor and the load. Target: 16 ms per move (one frame).
#include "bench/bench_common.h"

#include "chart/control/Chart.h"
#include "chart/control/LumTools.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/QtApplication.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Width = 1600, Height = 1000, LinePoints = 1000000;

// A shown chart window with one line series of a seeded random walk.
struct TScene {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};
    TLineSeries* Series = nullptr;
    int Step = 0;

    TScene()
    {
        EnsureQtApplication();
        Window->setGeometry(0, 0, Width, Height);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Series = new TLineSeries(&Chart);
        Series->SetParentChart(&Chart);
        std::mt19937 random(20261211);
        std::normal_distribution<double> step(0.0, 1.0);
        std::vector<double> x(LinePoints), y(LinePoints);
        double v = 0;
        for (int i = 0; i < LinePoints; ++i) {
            x[std::size_t(i)] = i;
            v += step(random);
            y[std::size_t(i)] = v;
        }
        Series->AddArrays(std::move(x), std::move(y));
        Window->show();
        Chart.Invalidate();
        Chart.Repaint();
        QApplication::processEvents();
    }
    // A move to the next of a walk of points across the plot, with the events it leaves.
    void Move()
    {
        const TRect r = Chart.ChartRect();
        const int x = r.Left + 20 + (Step * 37) % std::max(1, r.Right - r.Left - 40);
        const int y = r.Top + 20 + (Step * 23) % std::max(1, r.Bottom - r.Top - 40);
        ++Step;
        QWidget* w = Chart.Widget();
        const QPointF p(x, y);
        QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(w, &e);
        QApplication::processEvents();
    }
};

struct TScenes {
    std::unique_ptr<TScene> Nearest, Cursor;
};

TScenes& Scenes()
{
    static TScenes scenes;
    if (!scenes.Nearest) {
        scenes.Nearest = std::make_unique<TScene>();
        auto* nearest = new TNearestTool(&scenes.Nearest->Chart);
        nearest->SetParentChart(&scenes.Nearest->Chart);
        nearest->SetSeries(scenes.Nearest->Series);
        nearest->FullRepaint = false;
        scenes.Cursor = std::make_unique<TScene>();
        auto* cursor = new TCursorTool(&scenes.Cursor->Chart);
        cursor->SetParentChart(&scenes.Cursor->Chart);
        cursor->SetSeries(scenes.Cursor->Series);
        cursor->FollowMouse = true;
        cursor->Snap = true;
        for (int i = 0; i < 3; ++i) {
            scenes.Nearest->Move();
            scenes.Cursor->Move();
        }
    }
    return scenes;
}

const char* const NearestCase = "nearest point, drawn in place";
const char* const CursorCase = "snapping cursor";

std::map<std::string, std::vector<double>>& Samples()
{
    static std::map<std::string, std::vector<double>> samples;
    return samples;
}

double TimedMove(TScene& Scene, const char* Case)
{
    const auto t0 = std::chrono::steady_clock::now();
    Scene.Move();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    Samples()[Case].push_back(s);
    return s;
}

// One round: a move of each tool in turn, so that both see the same load.
void BM_MoveRound(benchmark::State& state)
{
    TScenes& scenes = Scenes();
    for (auto _ : state) {
        double s = TimedMove(*scenes.Nearest, NearestCase);
        s += TimedMove(*scenes.Cursor, CursorCase);
        state.SetIterationTime(s);
    }
}

} // namespace

BENCHMARK(BM_MoveRound)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(41);

int main(int argc, char** argv)
{
    EnsureQtApplication();
    benchmark::Initialize(&argc, argv);
    const std::string loadBefore = bench::LoadAverage();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nOne mouse move over %d points in a %d x %d chart, medians of interleaved rounds, on %s\n", LinePoints,
                Width, Height, bench::Machine().c_str());
    std::printf("Load average (1, 5, 15 min) before: %s, after: %s\n", loadBefore.c_str(), bench::LoadAverage().c_str());
    for (const char* c : {NearestCase, CursorCase}) {
        const double ms = bench::Median(Samples()[c]) * 1000;
        std::printf("  %-32s median %8.2f ms per move over %zu moves (target 16 ms: %s)\n", c, ms, Samples()[c].size(),
                    ms <= 16 ? "met" : "MISSED");
    }
    Scenes() = TScenes();
    benchmark::Shutdown();
    return 0;
}
