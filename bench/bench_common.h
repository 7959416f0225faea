// What the solver's benchmarks share: the processor they ran on, the thread counts they compare (one and
// every usable core), and the best time of each measured step.
#pragma once

#include "platform/rtl/ThreadPool.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace bench {

inline std::string ProcessorName()
{
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpu, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

// The thread counts a benchmark runs side by side: 1 and all usable cores (once on a single core).
inline int AllCores() { return AvailableProcessorCount(); }

// "AMD ..., 8 usable cores": what the printed figures belong to.
inline std::string Machine()
{
    return ProcessorName() + ", " + std::to_string(AllCores()) + " usable cores";
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

} // namespace bench
