// The string grid at 10,000 rows by 100 columns in a 1280 x 720 control on the offscreen platform: a
// repaint of the visible page at the top, the middle and the end, scrolling page by page, and filling;
// the same at 40,000 rows, whose paint times must stay within 10 % (no paint step walks all rows) and
// whose filling must take about four times as long. Target: under 16 ms per repaint and page.
#include "bench/bench_common.h"
#include "grid/ExtGrid.h"
#include "platform/controls/Application.h"

#include <benchmark/benchmark.h>

#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

struct Sheet {
    explicit Sheet(int rows)
    {
        Window = std::make_unique<QWidget>();
        Window->setGeometry(0, 0, 1280, 720);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 1280, 720);
        Grid->SetScrollProportional(true);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goHorzLine});
        Grid->OnGetAlignment = [](TPersistent*, int, int, TAlignment& h, TVAlignment& v) {
            h = taCenter;
            v = vtaCenter;
        };
        Fill(rows);
        Window->show();
        Application->ProcessMessages();
    }
    void Fill(int rows)
    {
        Grid->SetColCount(100);
        Grid->SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r)
            for (int c = 0; c < 100; ++c) Grid->SetCellValue(c, r, std::to_string(r * 100 + c));
    }
    // One full repaint of what the control shows.
    void Paint()
    {
        Grid->Invalidate();
        Grid->Update();
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

std::map<std::string, double> Results;

double Seconds(const std::function<void()>& f, int repeat)
{
    double best = 1e9;
    for (int i = 0; i < repeat; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void BM_Repaint(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const int where = static_cast<int>(state.range(1));   // 0 top, 1 middle, 2 end
    Sheet s(rows);
    s.Grid->SetTopRow(where == 0 ? 1 : where == 1 ? rows / 2 : rows);
    for (auto _ : state) s.Paint();
    static const char* names[] = {"top", "middle", "end"};
    Results["repaint " + std::string(names[where]) + " " + std::to_string(rows)] =
        Seconds([&] { s.Paint(); }, 20);
}
BENCHMARK(BM_Repaint)->Args({10000, 0})->Args({10000, 1})->Args({10000, 2})->Args({40000, 0})->Args({40000, 1})->Args({40000, 2})->Unit(benchmark::kMillisecond);

void BM_PageByPage(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Sheet s(rows);
    auto page = [&] {
        if (s.Grid->TopRow() >= rows - s.Grid->VisibleRowCount()) s.Grid->SetTopRow(1);
        s.Grid->Scroll(SB_VERT, SB_PAGEDOWN, 0);
        s.Grid->Update();
    };
    for (auto _ : state) page();
    Results["page " + std::to_string(rows)] = Seconds(page, 50);
}
BENCHMARK(BM_PageByPage)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_Fill(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Sheet s(1);
    for (auto _ : state) s.Fill(rows);
    Results["fill " + std::to_string(rows)] = Seconds([&] { s.Fill(rows); }, 2);
}
BENCHMARK(BM_Fill)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(1);

void PrintSummary()
{
    std::printf("\nString grid, 100 columns in 1280 x 720 pixels, best times on %s:\n", bench::ProcessorName().c_str());
    for (const char* what : {"repaint top", "repaint middle", "repaint end", "page"}) {
        const double a = Results[std::string(what) + " 10000"], b = Results[std::string(what) + " 40000"];
        std::printf("  %-15s 10,000 rows %6.2f ms  40,000 rows %6.2f ms  ratio %.2f  (target < 16 ms, ratio < 1.10)\n",
                    what, a * 1e3, b * 1e3, b / a);
    }
    const double f1 = Results["fill 10000"], f4 = Results["fill 40000"];
    std::printf("  fill            10,000 rows %6.1f ms  40,000 rows %6.1f ms  ratio %.2f  (linear: about 4)\n", f1 * 1e3,
                f4 * 1e3, f4 / f1);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application->ProcessMessages();   // the process's application object, before any window
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
