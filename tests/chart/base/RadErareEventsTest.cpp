// Listener lists: registering once, removal and destruction during a dispatch, a listener destroyed
// before its list and a list destroyed before its listeners.
#include "chart/base/RadErareEvents.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records every event it hears in a shared log and runs an optional action on each.
class TRecorder : public IChartEventListener {
public:
    TRecorder(std::string name, std::vector<std::string>& log) : FName(std::move(name)), FLog(log) {}
    void HandleChartEvent(TLumEvent&) override
    {
        FLog.push_back(FName);
        if (OnEvent) OnEvent();
    }
    std::function<void()> OnEvent;

private:
    std::string FName;
    std::vector<std::string>& FLog;
};

} // namespace

TEST(LumEventListeners, AddOnceKeepsOneEntry)
{
    std::vector<std::string> log;
    TLumEventListeners list;
    TRecorder a("a", log), b("b", log);
    EXPECT_EQ(ListAddOnce(list, &a), 0);
    EXPECT_EQ(ListAddOnce(list, &b), 1);
    EXPECT_EQ(ListAddOnce(list, &a), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1), &b);
    EXPECT_THROW(list.Items(2), EListError);
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(list.Remove(&a), -1);
    EXPECT_EQ(list.IndexOf(&b), 0);
}

TEST(LumEventListeners, RemovalDuringDispatch)
{
    struct Case {
        const char* what;
        std::function<void(TLumEventListeners&, TRecorder&, TRecorder&, TRecorder&)> actionOfA;
        std::vector<std::string> heard;
    };
    const std::vector<Case> cases = {
        {"a removes itself", [](auto& l, auto& a, auto&, auto&) { l.Remove(&a); }, {"a", "b", "c"}},
        {"a removes b", [](auto& l, auto&, auto& b, auto&) { l.Remove(&b); }, {"a", "c"}},
        {"a removes b and adds it back", [](auto& l, auto&, auto& b, auto&) { l.Remove(&b); l.Add(&b); },
         {"a", "c"}},
        {"a adds a newcomer", [](auto& l, auto&, auto&, auto& c) { l.Remove(&c); l.Add(&c); }, {"a", "b"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        TLumEventListeners list;
        TRecorder a("a", log), b("b", log), cc("c", log);
        ListAddOnce(list, &a);
        ListAddOnce(list, &b);
        ListAddOnce(list, &cc);
        a.OnEvent = [&] { c.actionOfA(list, a, b, cc); };
        TLumEvent event;
        list.Dispatch(event);
        EXPECT_EQ(log, c.heard) << c.what;
    }
}

TEST(LumEventListeners, DestroyedListenersAreNeverCalled)
{
    std::vector<std::string> log;
    TLumEventListeners list, other;
    auto b = std::make_unique<TRecorder>("b", log);
    TRecorder a("a", log), c("c", log);
    ListAddOnce(list, &a);
    ListAddOnce(list, b.get());
    ListAddOnce(other, b.get());
    ListAddOnce(list, &c);
    a.OnEvent = [&] { b.reset(); };
    TLumEvent event;
    list.Dispatch(event);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(other.Count(), 0) << "the listener left every list it joined";
}

TEST(LumEventListeners, ListGoneBeforeItsListeners)
{
    std::vector<std::string> log;
    TRecorder a("a", log), b("b", log);
    {
        TLumEventListeners list;
        ListAddOnce(list, &a);
    }
    // a must not try to leave the list that is gone; a list destroyed mid-dispatch stops it.
    auto list = std::make_unique<TLumEventListeners>();
    ListAddOnce(*list, &a);
    ListAddOnce(*list, &b);
    a.OnEvent = [&] { list.reset(); };
    TLumEvent event;
    TLumEventListeners* raw = list.get();
    raw->Dispatch(event, [] { return false; });
    EXPECT_EQ(log, std::vector<std::string>{"a"});
}

TEST(LumEventListeners, StopEndsTheDispatch)
{
    std::vector<std::string> log;
    TLumEventListeners list;
    TRecorder a("a", log), b("b", log);
    ListAddOnce(list, &a);
    ListAddOnce(list, &b);
    TLumEvent event;
    list.Dispatch(event, [&] { return log.size() == 1; });
    EXPECT_EQ(log, std::vector<std::string>{"a"});
}
