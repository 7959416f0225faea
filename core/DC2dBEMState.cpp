// The solver state of the program, the integral cache's flat storage, and the phase clock.
#include "core/DC2dBEMState.h"

TSolverState& SolverState()
{
    static TSolverState state;
    return state;
}

void ResetSolverState(TSolverState& state) { state = TSolverState{}; }

TPhaseTimer::TPhaseTimer(const TSolverState& s, double TSolverTimings::*field)
{
    if (!s.Timings) return;
    FSlot = &(s.Timings->*field);
    FStart = std::chrono::steady_clock::now();
}

TPhaseTimer::~TPhaseTimer()
{
    if (FSlot) *FSlot += std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
}

void TIntegralTable::Clear()
{
    FEntries = 0;
    FGroupStart.assign(1, 0);
    FPairs.Clear();
    FPresent.clear();
}

void TIntegralTable::Layout(int entries, const std::vector<int>& groupSizes)
{
    if (entries < 0) throw ERangeError();
    FEntries = entries;
    FGroupStart.assign(1, 0);
    for (int size : groupSizes) FGroupStart.push_back(FGroupStart.back() + size);
    FPairs.Resize(static_cast<std::size_t>(entries) * FGroupStart.back());
    FPresent.assign(entries, 0);
}

int TIntegralTable::GroupSize(int group) const
{
    if (group < 0 || group >= GroupCount()) throw ERangeError();
    return FGroupStart[group + 1] - FGroupStart[group];
}

bool TIntegralTable::HasEntry(int entry) const
{
    if (entry < 0 || entry >= FEntries) throw ERangeError();
    return FPresent[entry] != 0;
}

std::size_t TIntegralTable::Offset(int entry, int group) const
{
    if (entry < 0 || entry >= FEntries || group < 0 || group >= GroupCount()) throw ERangeError();
    return static_cast<std::size_t>(entry) * FGroupStart.back() + FGroupStart[group];
}

TIntegralPair* TIntegralTable::Group(int entry, int group)
{
    const std::size_t offset = Offset(entry, group);
    FPresent[entry] = 1;
    return FPairs.data() + offset;
}

const TIntegralPair* TIntegralTable::Group(int entry, int group) const
{
    if (!HasEntry(entry)) throw ERangeError();
    return FPairs.data() + Offset(entry, group);
}

const TIntegralPair& TIntegralTable::Pair(int entry, int group, int element) const
{
    if (element < 0 || element >= GroupSize(group)) throw ERangeError();
    return Group(entry, group)[element];
}
