// A chart of one long line (x ascending, y a seeded random walk) in a 1600 x 1000 window, measured beside
// the peer plotting library (a reference linked by this benchmark only) on the same data and size: the
// whole redraw of 1,000,000 points with the line and the fast line series, the same zoomed to the middle
// 1 % of x, one pan step by the mouse (the move and the repaint after it), loading the points one by one
// and as one bulk add, and 10,000,000 points (redraw and memory per point). Every round runs each
// contestant once, in turn, in this one process; the medians, their ratios, the processor and the load
// are printed at the end. Targets: redraws and zoomed redraws at most 1.0 x the peer, a pan step under
// 16 ms, loading at most 2 x the peer, memory at most 2 x the values' doubles.
#include "bench/bench_common.h"

#include "chart/control/Chart.h"
#include "chart/series/Series.h"
#include "chart/series/SeriesColumns.h"
#include "platform/controls/QtApplication.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <qcustomplot.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Width = 1600, Height = 1000;
constexpr int Million = 1000000, TenMillion = 10000000;

// ---- Data, timing and memory -------------------------------------------------------------------------------

struct TData {
    std::vector<double> X, Y;
    explicit TData(int Points)
    {
        std::mt19937 random(20260610);
        std::normal_distribution<double> step(0.0, 1.0);
        X.resize(static_cast<std::size_t>(Points));
        Y.resize(static_cast<std::size_t>(Points));
        double y = 0;
        for (std::size_t i = 0; i < X.size(); ++i) {
            X[i] = static_cast<double>(i);
            y += step(random);
            Y[i] = y;
        }
    }
};

const TData& Data(int Points)
{
    static std::map<int, std::unique_ptr<TData>> data;
    auto& d = data[Points];
    if (!d) d = std::make_unique<TData>(Points);
    return *d;
}

// Seconds of every run, by case and contestant.
std::map<std::string, std::map<std::string, std::vector<double>>>& Samples()
{
    static std::map<std::string, std::map<std::string, std::vector<double>>> samples;
    return samples;
}

double Seconds(const std::function<void()>& Work)
{
    const auto t0 = std::chrono::steady_clock::now();
    Work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Record(const std::string& Case, const std::string& Who, double Seconds) { Samples()[Case][Who].push_back(Seconds); }

double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double MedianOf(const std::string& Case, const std::string& Who)
{
    const auto c = Samples().find(Case);
    if (c == Samples().end()) return 0;
    const auto w = c->second.find(Who);
    return w == c->second.end() ? 0 : Median(w->second);
}

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

std::string LoadAverage()
{
    std::ifstream load("/proc/loadavg");
    std::string one, five, fifteen;
    load >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void PumpEvents() { QApplication::processEvents(); }

// ---- Our chart -----------------------------------------------------------------------------------------

// A chart with axes, walls and legend in a window of its own, holding one series of the given kind.
template <class TKind>
struct TOurs {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};
    TKind* Series = nullptr;

    explicit TOurs(const TData& D)
    {
        EnsureQtApplication();
        Window->setGeometry(0, 0, Width, Height);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Series = new TKind(&Chart);
        Series->SetSeriesColor(clRed);
        Series->SetParentChart(&Chart);
        Series->AddArrays(D.X, D.Y);
        Window->show();
        PumpEvents();
        Redraw();
    }
    void Redraw()
    {
        Chart.Invalidate();
        Chart.Repaint();
    }
    void Mouse(QEvent::Type Type, QPoint P)
    {
        QWidget* w = Chart.Widget();
        const Qt::MouseButtons held = Type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(Qt::RightButton);
        QMouseEvent e(Type, P, w->mapToGlobal(P), Type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton, held, {});
        QApplication::sendEvent(w, &e);
    }
};

// ---- The peer ----------------------------------------------------------------------------------------------

struct TPeer {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    QCustomPlot* Plot = nullptr;
    QCPGraph* Graph = nullptr;

    explicit TPeer(const TData& D)
    {
        EnsureQtApplication();
        Window->setGeometry(0, 0, Width, Height);
        Plot = new QCustomPlot(Window.get());
        Plot->setGeometry(0, 0, Width, Height);
        // The same picture as ours: a 1-pixel red pen without antialiasing, with a legend.
        Plot->setNotAntialiasedElements(QCP::aeAll);
        Plot->legend->setVisible(true);
        Graph = Plot->addGraph();
        Graph->setPen(QPen(Qt::red, 1));
        Graph->setData(QVector<double>(D.X.begin(), D.X.end()), QVector<double>(D.Y.begin(), D.Y.end()), true);
        Graph->rescaleAxes();
        Window->show();
        PumpEvents();
        Plot->replot(QCustomPlot::rpImmediateRefresh);
    }
    void Redraw() { Plot->replot(QCustomPlot::rpImmediateRefresh); }
};

// The windows live until main lets them go, while the application still runs.
struct TScenes {
    std::unique_ptr<TOurs<TLineSeries>> Line, Line10M;
    std::unique_ptr<TOurs<TFastLineSeries>> Fast, Fast10M;
    std::unique_ptr<TPeer> Peer, Peer10M;
};

TScenes& Scenes()
{
    static TScenes scenes;
    return scenes;
}

template <class T>
T& Made(std::unique_ptr<T>& Scene, int Points)
{
    if (!Scene) Scene = std::make_unique<T>(Data(Points));
    return *Scene;
}

TOurs<TLineSeries>& LineChart() { return Made(Scenes().Line, Million); }
TOurs<TFastLineSeries>& FastChart() { return Made(Scenes().Fast, Million); }
TPeer& PeerPlot() { return Made(Scenes().Peer, Million); }

// ---- Cases -------------------------------------------------------------------------------------------------

// The whole chart redrawn; the fast line also with the thinning switched off, for scale.
void BM_Redraw(benchmark::State& state)
{
    auto& line = LineChart();
    auto& fast = FastChart();
    auto& peer = PeerPlot();
    for (auto _ : state) {
        Record("redraw", "line", Seconds([&] { line.Redraw(); }));
        Record("redraw", "fast line", Seconds([&] { fast.Redraw(); }));
        Record("redraw", "peer", Seconds([&] { peer.Redraw(); }));
        SeriesColumnsSettings().Thinning = false;
        Record("redraw", "fast line, every segment", Seconds([&] { fast.Redraw(); }));
        SeriesColumnsSettings().Thinning = true;
    }
}

// The middle 1 % of x: 10,000 points across the width.
void BM_ZoomedRedraw(benchmark::State& state)
{
    auto& line = LineChart();
    auto& fast = FastChart();
    auto& peer = PeerPlot();
    const double lo = Million * 0.495, hi = Million * 0.505;
    line.Chart.BottomAxis().SetFixedRange(lo, hi);
    fast.Chart.BottomAxis().SetFixedRange(lo, hi);
    const QCPRange whole = peer.Plot->xAxis->range();
    peer.Plot->xAxis->setRange(lo, hi);
    for (auto _ : state) {
        Record("zoomed", "line", Seconds([&] { line.Redraw(); }));
        Record("zoomed", "fast line", Seconds([&] { fast.Redraw(); }));
        Record("zoomed", "peer", Seconds([&] { peer.Redraw(); }));
    }
    line.Chart.BottomAxis().SetAutomatic(true);
    fast.Chart.BottomAxis().SetAutomatic(true);
    peer.Plot->xAxis->setRange(whole);
    line.Redraw();
    fast.Redraw();
    peer.Redraw();
}

// One step of a pan by the mouse: the move scrolls the axes, the repaint draws the chart; the steps go
// left and right by turns. The peer moves its axis by the same amount and replots.
template <class TKind>
double PanStep(TOurs<TKind>& Scene, int Step)
{
    const QPoint centre(Width / 2, Height / 2);
    const QPoint to(centre.x() + (Step % 2 ? 40 : 0), centre.y());
    const QPoint from(centre.x() + (Step % 2 ? 0 : 40), centre.y());
    Scene.Mouse(QEvent::MouseButtonPress, from);
    const double s = Seconds([&] {
        Scene.Mouse(QEvent::MouseMove, to);
        Scene.Chart.Repaint();
    });
    Scene.Mouse(QEvent::MouseButtonRelease, to);
    return s;
}

void BM_PanStep(benchmark::State& state)
{
    auto& line = LineChart();
    auto& fast = FastChart();
    auto& peer = PeerPlot();
    // From the whole view, which the steps leave by less than a tenth.
    line.Redraw();
    fast.Redraw();
    const QCPRange whole = peer.Plot->xAxis->range();
    const double shift = whole.size() * 40 / Width;
    int step = 0;
    for (auto _ : state) {
        Record("pan step", "line", PanStep(line, step));
        Record("pan step", "fast line", PanStep(fast, step));
        Record("pan step", "peer", Seconds([&] {
                   peer.Plot->xAxis->moveRange(step % 2 ? -shift : shift);
                   peer.Redraw();
               }));
        ++step;
    }
    line.Chart.UndoZoom();
    fast.Chart.UndoZoom();
    peer.Plot->xAxis->setRange(whole);
    line.Redraw();
    fast.Redraw();
    peer.Redraw();
}

// A million points into a new series of a shown chart, one by one and as one bulk add of copies of the
// arrays; the peer adds to a new graph of its shown plot the same way.
void BM_Load(benchmark::State& state)
{
    auto& line = LineChart();
    auto& peer = PeerPlot();
    const TData& d = Data(Million);
    for (auto _ : state) {
        {
            auto* s = new TLineSeries(&line.Chart);
            s->SetParentChart(&line.Chart);
            Record("load one by one", "line", Seconds([&] {
                       for (std::size_t i = 0; i < d.X.size(); ++i) s->InsertPoint(d.X[i], d.Y[i]);
                   }));
            delete s;
        }
        {
            auto* s = new TLineSeries(&line.Chart);
            s->SetParentChart(&line.Chart);
            Record("load bulk", "line", Seconds([&] { s->AddArrays(d.X, d.Y); }));
            delete s;
        }
        {
            QCPGraph* g = peer.Plot->addGraph();
            Record("load one by one", "peer", Seconds([&] {
                       for (std::size_t i = 0; i < d.X.size(); ++i) g->addData(d.X[i], d.Y[i]);
                   }));
            peer.Plot->removeGraph(g);
        }
        {
            QCPGraph* g = peer.Plot->addGraph();
            Record("load bulk", "peer", Seconds([&] {
                       g->addData(QVector<double>(d.X.begin(), d.X.end()), QVector<double>(d.Y.begin(), d.Y.end()), true);
                   }));
            peer.Plot->removeGraph(g);
        }
        PumpEvents();
    }
}

// Ten million points: the memory each series takes (its storage, and the resident growth while it loads)
// and the whole redraw.
struct TTenMillion {
    double StoredBytes = 0, ResidentOneByOne = 0, ResidentBulk = 0;
};

TTenMillion& TenMillionFigures()
{
    static TTenMillion figures;
    return figures;
}

void BM_TenMillion(benchmark::State& state)
{
    const TData& d = Data(TenMillion);
    TTenMillion& m = TenMillionFigures();
    if (m.StoredBytes == 0) {
        {
            TLineSeries s(nullptr);
            const long before = ResidentBytes();
            for (std::size_t i = 0; i < d.X.size(); ++i) s.InsertPoint(d.X[i], d.Y[i]);
            m.ResidentOneByOne = double(ResidentBytes() - before) / TenMillion;
            m.StoredBytes = double(s.XValues().StorageLength() + s.YValues().StorageLength()) * sizeof(double) / TenMillion;
        }
        {
            TLineSeries s(nullptr);
            const long before = ResidentBytes();
            s.AddArrays(d.X, d.Y);
            m.ResidentBulk = double(ResidentBytes() - before) / TenMillion;
        }
    }
    auto& line = Made(Scenes().Line10M, TenMillion);
    auto& fast = Made(Scenes().Fast10M, TenMillion);
    auto& peer = Made(Scenes().Peer10M, TenMillion);
    for (auto _ : state) {
        Record("redraw 10M", "line", Seconds([&] { line.Redraw(); }));
        Record("redraw 10M", "fast line", Seconds([&] { fast.Redraw(); }));
        Record("redraw 10M", "peer", Seconds([&] { peer.Redraw(); }));
    }
}

BENCHMARK(BM_Redraw)->Unit(benchmark::kMillisecond)->Iterations(21);
BENCHMARK(BM_ZoomedRedraw)->Unit(benchmark::kMillisecond)->Iterations(21);
BENCHMARK(BM_PanStep)->Unit(benchmark::kMillisecond)->Iterations(21);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK(BM_TenMillion)->Unit(benchmark::kMillisecond)->Iterations(9);

// ---- Report ------------------------------------------------------------------------------------------------

void PrintRow(const std::string& Case, const char* Target, double Limit)
{
    const double peer = MedianOf(Case, "peer");
    for (const char* who : {"line", "fast line", "fast line, every segment"}) {
        const double ours = MedianOf(Case, who);
        if (ours <= 0) continue;
        std::printf("  %-17s %-26s %9.2f ms", Case.c_str(), who, ours * 1e3);
        if (peer > 0) std::printf("   peer %9.2f ms   ratio %5.2f", peer * 1e3, ours / peer);
        if (Limit > 0) std::printf("   (target %s %.1f)", Target, Limit);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    EnsureQtApplication();
    benchmark::Initialize(&argc, argv);
    const std::string loadBefore = LoadAverage();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nOne line in a %d x %d chart, medians of interleaved rounds, on %s\n", Width, Height,
                bench::Machine().c_str());
    std::printf("Load average (1, 5, 15 min) before: %s, after: %s\n", loadBefore.c_str(), LoadAverage().c_str());
    PrintRow("redraw", "ratio at most", 1.0);
    PrintRow("zoomed", "ratio at most", 1.0);
    PrintRow("pan step", "", 0);
    const double pan = std::max(MedianOf("pan step", "line"), MedianOf("pan step", "fast line"));
    if (pan > 0) std::printf("  pan step: the slower series kind %.2f ms (target under 16 ms)\n", pan * 1e3);
    PrintRow("load one by one", "ratio at most", 2.0);
    PrintRow("load bulk", "ratio at most", 2.0);
    PrintRow("redraw 10M", "", 0);
    const TTenMillion& m = TenMillionFigures();
    if (m.StoredBytes > 0) {
        std::printf("  10M points, bytes per point: storage after adding one by one %.1f (%.2f x the 16 bytes of "
                    "the values; target at most 2), resident growth one by one %.1f, bulk %.1f\n",
                    m.StoredBytes, m.StoredBytes / 16, m.ResidentOneByOne, m.ResidentBulk);
    }
    Scenes() = TScenes();
    benchmark::Shutdown();
    return 0;
}
