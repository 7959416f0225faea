// What the benchmarks share: the processor they ran on and the load beside them, the thread counts they
// compare (one and every usable core), the realistic sample the solver's solve, the best time of each
// measured step and the median of interleaved rounds.
#pragma once

#include "platform/rtl/ThreadPool.h"
#include "tests/core/sample_survey.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace bench {

inline std::string ProcessorName()
{
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpu, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

inline int AllCores() { return AvailableProcessorCount(); }

// The thread counts a benchmark runs side by side as its argument: 1 and all usable cores.
inline void OneAndAllCores(benchmark::internal::Benchmark* b)
{
    b->Arg(1);
    if (AllCores() > 1) b->Arg(AllCores());
}

// Sizes the worker pool by the benchmark's argument; returns the thread count.
inline int UseThreads(const benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    SetWorkerThreadCount(threads);
    return threads;
}

// The realistic sample (about 1500 unknowns) and a fresh copy of it with a state of its own for a run.
struct TSample {
    TSurveyState Survey;
    TPolygonModel Model;
};

inline const TSample& RealisticSample()
{
    static const TSample sample = [] {
        TSample s;
        sample::MakeSample(sample::RealisticSpec(), s.Survey, s.Model);
        return s;
    }();
    return sample;
}

struct TFreshRun {
    TSurveyState Survey = RealisticSample().Survey;
    TPolygonModel Model = RealisticSample().Model;
    TSolverState State;
};

// "AMD ..., 8 usable cores": what the printed figures belong to.
inline std::string Machine()
{
    return ProcessorName() + ", " + std::to_string(AllCores()) + " usable cores";
}

// "0.52 0.61 0.70": the load average over 1, 5 and 15 minutes, to print beside absolute times.
inline std::string LoadAverage()
{
    std::ifstream f("/proc/loadavg");
    std::string one, five, fifteen;
    f >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// The middle value (the upper of the two middle ones), 0 for none.
inline double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Best (smallest) seconds per key over the runs of a benchmark.
template <class Key>
class TBestTimes {
public:
    void Record(const Key& key, double seconds)
    {
        auto [it, added] = FSeconds.try_emplace(key, seconds);
        if (!added) it->second = std::min(it->second, seconds);
    }
    const std::map<Key, double>& All() const { return FSeconds; }
    double Get(const Key& key) const
    {
        const auto it = FSeconds.find(key);
        return it == FSeconds.end() ? 0.0 : it->second;
    }

private:
    std::map<Key, double> FSeconds;
};

// Prints the best seconds of each size, in milliseconds, with the scaling exponent of each step against the
// size before it (and that of n log n over the step, for comparison); returns the fitted exponent of the
// whole run: the least-squares slope of log time against log n.
inline double PrintScaling(const std::map<int, double>& Best, const char* What)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (auto it = Best.begin(); it != Best.end(); ++it) {
        std::printf("  %8d %s  %9.1f ms", it->first, What, it->second * 1e3);
        if (it != Best.begin()) {
            const auto before = std::prev(it);
            const double ratio = static_cast<double>(it->first) / before->first;
            const double exponent = std::log(it->second / before->second) / std::log(ratio);
            const double nlogn = 1.0 + std::log(std::log(it->first) / std::log(before->first)) / std::log(ratio);
            std::printf("   scaling exponent %.2f (n log n: %.2f)", exponent, nlogn);
        }
        std::printf("\n");
        const double x = std::log(static_cast<double>(it->first)), y = std::log(it->second);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double n = static_cast<double>(Best.size());
    const double d = n * sxx - sx * sx;
    return n < 2 || d == 0 ? 0 : (n * sxy - sx * sy) / d;
}

} // namespace bench
