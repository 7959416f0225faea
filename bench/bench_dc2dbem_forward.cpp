// A whole forward run of a realistic model: 100 surface electrodes over a hill, an overburden layer, an
// electronic lens and a resistive dyke, about 1500 unknowns; on one thread and on every usable core, side
// by side. Prints the time of each phase (refinement, preparation, electrode integrals, assembly,
// factorisation, solve and potentials) and of the whole entry with the speed-up, and the processor.
// Targets on an 8-core machine: the whole entry under 100 ms, a speed-up of at least 5, and the entry
// equal to the sum of its phases within 10 %.
#include "bench/bench_common.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

namespace {

// Best time per (thread count, phase).
bench::TBestTimes<std::pair<int, std::string>>& Best()
{
    static bench::TBestTimes<std::pair<int, std::string>> best;
    return best;
}

using Clock = std::chrono::steady_clock;

// Runs f and records its time as this iteration's `phase`.
template <class F>
void Timed(int threads, const std::string& phase, F&& f)
{
    const auto t0 = Clock::now();
    f();
    Best().Record({threads, phase}, std::chrono::duration<double>(Clock::now() - t0).count());
}

int gUnknowns = 0;
const char* const WholeEntry = "whole entry";

void BM_ForwardPhases(benchmark::State& state)
{
    const int threads = bench::UseThreads(state);
    for (auto _ : state) {
        bench::TFreshRun run;
        TSolverState& s = run.State;
        AllSpolygon bodies;
        Tnodes nodes;
        Timed(threads, "1 refinement", [&] {
            DiscretizeModel(run.Survey, run.Model, bodies, nodes);
            OrientSolverRings(bodies, nodes);
            HandOverToSolver(s, run.Survey, std::move(bodies), std::move(nodes), {});
        });
        Timed(threads, "2 preparation", [&] { PrepareSolution(s); });
        Timed(threads, "3 electrode integrals", [&] { TabulateElementIntegrals(s); });
        Timed(threads, "4 assembly", [&] {
            AssembleMatrix(s);
            AddToDiagonal(s.SystemMatrix, s.FreeTerms);
        });
        Timed(threads, "5 factorisation", [&] {
            QRDecompose(s.SystemMatrix, s.HouseholderD, s.HouseholderC);
            s.HouseholderVectors.Build(s.SystemMatrix);
        });
        Timed(threads, "6 solve and potentials", [&] {
            SourceNodePotentials(s, s.Solution);
            QRSolve(s.SystemMatrix, s.HouseholderVectors, s.HouseholderD, s.HouseholderC, s.Solution);
            arofdoubleM potentials;
            ElectrodePotentials(s, s.UsedElectrodes[0], s.Solution, potentials);
            benchmark::DoNotOptimize(potentials.data());
        });
        gUnknowns = s.UnknownCount;
    }
    state.counters["unknowns"] = gUnknowns;
}

void BM_ForwardEntry(benchmark::State& state)
{
    const int threads = bench::UseThreads(state);
    for (auto _ : state) {
        bench::TFreshRun run;
        Timed(threads, WholeEntry, [&] {
            const TForwardResult r = RunForwardProblem(run.Survey, run.Model, {}, run.State);
            if (!r.Succeeded) state.SkipWithError(r.Message.c_str());
        });
    }
}

BENCHMARK(BM_ForwardPhases)->Apply(bench::OneAndAllCores)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ForwardEntry)->Apply(bench::OneAndAllCores)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void PrintTable()
{
    const int all = bench::AllCores();
    std::printf("\nForward run, %d unknowns, QR kernels %s, on %s (best of the runs):\n", gUnknowns, QRKernelName(),
                bench::Machine().c_str());
    std::printf("  %-26s %10s %10s %9s\n", "", "1 thread", (std::to_string(all) + " threads").c_str(), "speed-up");
    double sum1 = 0.0, sumAll = 0.0;
    auto line = [&](const std::string& name, double one, double many) {
        std::printf("  %-26s %7.1f ms %7.1f ms %8.2fx\n", name.c_str(), one * 1e3, many * 1e3,
                    many > 0 ? one / many : 0.0);
    };
    for (const auto& [key, seconds] : Best().All()) {
        if (key.first != 1 || key.second == WholeEntry) continue;
        const double many = Best().Get({all, key.second});
        line(key.second, seconds, many);
        sum1 += seconds;
        sumAll += many;
    }
    line("sum of the phases", sum1, sumAll);
    const double entry1 = Best().Get({1, WholeEntry}), entryAll = Best().Get({all, WholeEntry});
    line(WholeEntry, entry1, entryAll);
    std::printf("  whole entry against the sum of its phases: %+.1f %% on 1 thread, %+.1f %% on %d"
                " (target: within 10 %%)\n",
                100.0 * (entry1 / sum1 - 1.0), 100.0 * (entryAll / sumAll - 1.0), all);
    std::printf("  target on 8 cores: whole entry under 100 ms with a speed-up of at least 5\n");
}

} // namespace

int main(int argc, char** argv)
{
    bench::RealisticSample();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable();
    return 0;
}
