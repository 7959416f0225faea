// Chart events and their listeners: the event objects a chart panel sends (mouse, 3-D view switched),
// the listener interface of objects that follow a chart without being its children (navigator, data
// grid, editors, calendar series), and the panel's listener list. A listener leaves every list it joined
// when it is destroyed, and a list being destroyed lets its listeners go, so neither side ever calls
// the other once it is gone. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TCustomLumPanel;
class TLumEventListeners;

// ---- Events ------------------------------------------------------------------------------------------

class TLumEvent {
public:
    virtual ~TLumEvent() = default;
    // The panel that sends the event (set by the broadcast).
    TCustomLumPanel* Sender = nullptr;
};

// What happened to the mouse, as listeners number it (a distinct type from the tools' numbering:
// compare by name, never by number).
enum class TLumMouseEventKind : std::uint8_t { Down = 0, Up = 1, Move = 2 };

class TLumMouseEvent : public TLumEvent {
public:
    TLumMouseEventKind Event = TLumMouseEventKind::Down;
    TMouseButton Button = mbLeft;
    TShiftState Shift;
    int X = 0;
    int Y = 0;
};

// The panel's 3-D view switch changed.
class TLumView3DEvent : public TLumEvent {};

// ---- Listeners ---------------------------------------------------------------------------------------

// An object that hears a panel's events. Joining a list is explicit (ListAddOnce); leaving happens by
// Remove, or by itself when either the listener or the list is destroyed.
class IChartEventListener {
public:
    virtual void HandleChartEvent(TLumEvent& Event) = 0;

protected:
    IChartEventListener() = default;
    // A copy belongs to no list.
    IChartEventListener(const IChartEventListener&) {}
    IChartEventListener& operator=(const IChartEventListener&) { return *this; }
    // Leaves every list it is on.
    virtual ~IChartEventListener();

private:
    friend class TLumEventListeners;
    std::vector<TLumEventListeners*> FLists;
};

// The listener list of a panel: plain pointers, no ownership.
class TLumEventListeners {
public:
    TLumEventListeners() = default;
    // Lets every listener go.
    ~TLumEventListeners();
    TLumEventListeners(const TLumEventListeners&) = delete;
    TLumEventListeners& operator=(const TLumEventListeners&) = delete;

    int Count() const { return static_cast<int>(FEntries.size()); }
    // Raises EListError "List index out of bounds (<i>)" outside 0..Count-1.
    IChartEventListener* Items(int Index) const;
    // Position of the listener; -1 when absent.
    int IndexOf(const IChartEventListener* Listener) const;
    // Appends the listener (also when it is already there) and returns its index; nullptr is refused
    // with -1.
    int Add(IChartEventListener* Listener);
    // Removes the listener's first entry; its index, or -1 when absent.
    int Remove(IChartEventListener* Listener);

    // Calls HandleChartEvent of the listeners present now, in order, skipping any removed (or
    // destroyed) meanwhile; listeners added meanwhile wait for the next event. Stops early when `stop`
    // answers true after a call.
    void Dispatch(TLumEvent& Event, const std::function<bool()>& stop = nullptr);

private:
    struct TEntry {
        IChartEventListener* Listener;
        std::uint64_t Serial;    // tells a re-added listener from the entry a dispatch copied
    };
    bool HasEntry(const TEntry& entry) const;
    void Forget(IChartEventListener* listener);

    friend class IChartEventListener;
    std::vector<TEntry> FEntries;
    std::uint64_t FNextSerial = 1;
    // Cleared by the destructor, so a dispatch whose listener destroys the list stops at once.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Index of Item in List, appended first when absent.
int ListAddOnce(TLumEventListeners& List, IChartEventListener* Item);
