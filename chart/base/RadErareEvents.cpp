// Chart events and listener lists: membership kept on both sides, and a dispatch over a snapshot.
#include "chart/base/RadErareEvents.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <string>

IChartEventListener::~IChartEventListener()
{
    // Each list drops every entry of this listener; a list appears here once per entry it holds.
    const std::vector<TLumEventListeners*> lists = FLists;
    for (TLumEventListeners* list : lists) {
        auto& entries = list->FEntries;
        std::erase_if(entries, [this](const TLumEventListeners::TEntry& e) { return e.Listener == this; });
    }
}

TLumEventListeners::~TLumEventListeners()
{
    *FAlive = false;
    for (const TEntry& e : FEntries) Forget(e.Listener);
}

IChartEventListener* TLumEventListeners::Items(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FEntries[static_cast<std::size_t>(Index)].Listener;
}

int TLumEventListeners::IndexOf(const IChartEventListener* Listener) const
{
    for (int i = 0; i < Count(); ++i)
        if (FEntries[static_cast<std::size_t>(i)].Listener == Listener) return i;
    return -1;
}

int TLumEventListeners::Add(IChartEventListener* Listener)
{
    if (!Listener) return -1;
    FEntries.push_back({Listener, FNextSerial++});
    Listener->FLists.push_back(this);
    return Count() - 1;
}

int TLumEventListeners::Remove(IChartEventListener* Listener)
{
    const int index = IndexOf(Listener);
    if (index < 0) return -1;
    FEntries.erase(FEntries.begin() + index);
    Forget(Listener);
    return index;
}

void TLumEventListeners::Forget(IChartEventListener* listener)
{
    auto& lists = listener->FLists;
    const auto it = std::find(lists.begin(), lists.end(), this);
    if (it != lists.end()) lists.erase(it);
}

bool TLumEventListeners::HasEntry(const TEntry& entry) const
{
    return std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& e) { return e.Serial == entry.Serial; });
}

void TLumEventListeners::Dispatch(TLumEvent& Event, const std::function<bool()>& stop)
{
    const std::vector<TEntry> snapshot = FEntries;
    const std::shared_ptr<bool> alive = FAlive;
    for (const TEntry& entry : snapshot) {
        // A listener removed by an earlier one (or destroyed with its entry) is not called.
        if (!HasEntry(entry)) continue;
        entry.Listener->HandleChartEvent(Event);
        if (!*alive) return;
        if (stop && stop()) break;
    }
}

int ListAddOnce(TLumEventListeners& List, IChartEventListener* Item)
{
    const int index = List.IndexOf(Item);
    return index >= 0 ? index : List.Add(Item);
}
