// A whole forward run of a realistic model: 100 surface electrodes over a hill, an overburden layer, an
// electronic lens and a resistive dyke, about 1500 unknowns. Prints the time of each phase (refinement,
// preparation, electrode integrals, assembly, factorisation, solve and potentials) and of the whole entry,
// with the processor's name; the target is a whole run under one second on one core.
#include "tests/core/sample_survey.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace {

struct TSample {
    TSurveyState Survey;
    TPolygonModel Model;
    TSample()
    {
        const sample::TSpec spec = sample::RealisticSpec();
        sample::MakeSample(spec, Survey, Model);
    }
};

const TSample& Sample()
{
    static const TSample sample;
    return sample;
}

std::map<std::string, double>& Best()
{
    static std::map<std::string, double> best;
    return best;
}

using Clock = std::chrono::steady_clock;

// Runs f, adds its time to `phase` for this iteration's record.
template <class F>
void Timed(std::map<std::string, double>& phases, const std::string& phase, F&& f)
{
    const auto t0 = Clock::now();
    f();
    phases[phase] += std::chrono::duration<double>(Clock::now() - t0).count();
}

void Keep(const std::map<std::string, double>& phases)
{
    for (const auto& [name, seconds] : phases) {
        auto [it, added] = Best().try_emplace(name, seconds);
        if (!added) it->second = std::min(it->second, seconds);
    }
}

int gUnknowns = 0;

void BM_ForwardPhases(benchmark::State& state)
{
    for (auto _ : state) {
        TSurveyState survey = Sample().Survey;
        TPolygonModel model = Sample().Model;
        TSolverState s;
        std::map<std::string, double> phases;
        AllSpolygon bodies;
        Tnodes nodes;
        Timed(phases, "1 refinement", [&] {
            DiscretizeModel(survey, model, bodies, nodes);
            OrientSolverRings(bodies, nodes);
            HandOverToSolver(s, survey, std::move(bodies), std::move(nodes), {});
        });
        Timed(phases, "2 preparation", [&] { PrepareSolution(s); });
        Timed(phases, "3 electrode integrals", [&] { TabulateElementIntegrals(s); });
        Timed(phases, "4 assembly", [&] {
            AssembleMatrix(s);
            AddToDiagonal(s.SystemMatrix, s.FreeTerms);
        });
        Timed(phases, "5 factorisation", [&] { QRDecompose(s.SystemMatrix, s.HouseholderD, s.HouseholderC); });
        Timed(phases, "6 solve and potentials", [&] {
            SourceNodePotentials(s, s.Solution);
            QRSolve(s.SystemMatrix, s.HouseholderD, s.HouseholderC, s.Solution);
            arofdoubleM potentials;
            ElectrodePotentials(s, s.UsedElectrodes[0], s.Solution, potentials);
            benchmark::DoNotOptimize(potentials.data());
        });
        Keep(phases);
        gUnknowns = s.UnknownCount;
    }
    state.counters["unknowns"] = gUnknowns;
}

void BM_ForwardEntry(benchmark::State& state)
{
    for (auto _ : state) {
        TSurveyState survey = Sample().Survey;
        TPolygonModel model = Sample().Model;
        TSolverState s;
        std::map<std::string, double> phases;
        Timed(phases, "whole entry", [&] {
            const TForwardResult r = RunForwardProblem(survey, model, {}, s);
            if (!r.Succeeded) state.SkipWithError(r.Message.c_str());
        });
        Keep(phases);
    }
}

BENCHMARK(BM_ForwardPhases)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ForwardEntry)->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::string ProcessorName()
{
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpu, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

} // namespace

int main(int argc, char** argv)
{
    Sample();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nForward run, %d unknowns, QR kernels %s, on %s (best of the runs):\n", gUnknowns, QRKernelName(),
                ProcessorName().c_str());
    double sum = 0.0;
    for (const auto& [name, seconds] : Best()) {
        std::printf("  %-26s %8.1f ms\n", name.c_str(), seconds * 1e3);
        if (name != "whole entry") sum += seconds;
    }
    std::printf("  %-26s %8.1f ms   (target: under 1000 ms)\n", "sum of the phases", sum * 1e3);
    return 0;
}
