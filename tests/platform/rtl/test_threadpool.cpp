// The worker-thread pool: every index once whatever the thread count, the lowest failure rethrown as a
// plain loop would throw it, a worker's failure in the caller, nested and concurrent calls, blocks, and
// the thread count's sources.
#include "platform/rtl/ThreadPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Restores the process's pool and VSP_THREADS after a test that changes them.
struct TPoolGuard {
    std::string Saved;
    bool HadValue = false;
    TPoolGuard()
    {
        if (const char* v = std::getenv("VSP_THREADS")) {
            HadValue = true;
            Saved = v;
        }
    }
    ~TPoolGuard()
    {
        if (HadValue)
            setenv("VSP_THREADS", Saved.c_str(), 1);
        else
            unsetenv("VSP_THREADS");
        SetWorkerThreadCount(0);
    }
};

} // namespace

TEST(ThreadPool, EveryIndexRunsOnce)
{
    for (int threads : {1, 2, 3, 8}) {
        TThreadPool pool(threads);
        EXPECT_EQ(pool.ThreadCount(), threads);
        for (int count : {0, 1, 2, 7, 1000}) {
            SCOPED_TRACE(std::to_string(threads) + " threads, " + std::to_string(count) + " indexes");
            std::vector<std::atomic<int>> calls(count);
            pool.ParallelFor(count, [&](int i) { calls[i].fetch_add(1); });
            for (int i = 0; i < count; ++i) EXPECT_EQ(calls[i].load(), 1) << "index " << i;
        }
    }
}

TEST(ThreadPool, TasksRunAtTheSameTime)
{
    // Each of the four tasks waits until all four have started: one thread alone would never finish.
    TThreadPool pool(4);
    std::atomic<int> started{0};
    pool.ParallelFor(4, [&](int) {
        started.fetch_add(1);
        while (started.load() < 4) std::this_thread::yield();
    });
    EXPECT_EQ(started.load(), 4);
}

TEST(ThreadPool, LowestFailureIsRethrownAndThePoolStaysUsable)
{
    struct Case {
        int threads;
        std::vector<int> failing;
        int expected;
    };
    const Case cases[] = {{1, {5, 17, 900}, 5}, {3, {5, 17, 900}, 5}, {8, {999}, 999}, {8, {0, 1, 2}, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.threads) + " threads");
        TThreadPool pool(c.threads);
        std::vector<std::atomic<int>> calls(1000);
        try {
            pool.ParallelFor(1000, [&](int i) {
                calls[i].fetch_add(1);
                for (int f : c.failing)
                    if (i == f) throw std::runtime_error("failed at " + std::to_string(i));
            });
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "failed at " + std::to_string(c.expected));
        }
        // Everything before the failure ran, as in a loop; nothing ran twice.
        for (int i = 0; i < 1000; ++i) {
            if (i <= c.expected) {
                EXPECT_EQ(calls[i].load(), 1) << "index " << i;
            }
            EXPECT_LE(calls[i].load(), 1) << "index " << i;
        }
        std::atomic<int> sum{0};
        pool.ParallelFor(100, [&](int i) { sum.fetch_add(i); });
        EXPECT_EQ(sum.load(), 4950);
    }
}

TEST(ThreadPool, AFailureOnAWorkerReachesTheCaller)
{
    // The calling thread holds its index until a worker has thrown, so the failure is surely a worker's.
    TThreadPool pool(4);
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> thrown{false};
    try {
        pool.ParallelFor(64, [&](int i) {
            if (std::this_thread::get_id() != caller) {
                thrown = true;
                throw std::range_error("worker failed at " + std::to_string(i));
            }
            while (!thrown) std::this_thread::yield();
        });
        ADD_FAILURE() << "no exception";
    } catch (const std::range_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("worker failed at ", 0), 0u) << e.what();
    }
    std::atomic<int> sum{0};
    pool.ParallelFor(100, [&](int i) { sum.fetch_add(i); });
    EXPECT_EQ(sum.load(), 4950);
}

TEST(ThreadPool, NestedAndConcurrentCallsComplete)
{
    TThreadPool pool(4);
    std::vector<std::atomic<int>> calls(64 * 32);
    pool.ParallelFor(64, [&](int outer) {
        pool.ParallelFor(32, [&](int inner) { calls[outer * 32 + inner].fetch_add(1); });
    });
    for (const std::atomic<int>& c : calls) EXPECT_EQ(c.load(), 1);

    // Two threads posting at once: one gets the workers, the other runs its loop itself.
    std::vector<std::atomic<int>> a(5000), b(5000);
    std::thread other([&] { pool.ParallelFor(5000, [&](int i) { b[i].fetch_add(1); }); });
    pool.ParallelFor(5000, [&](int i) { a[i].fetch_add(1); });
    other.join();
    for (int i = 0; i < 5000; ++i) {
        EXPECT_EQ(a[i].load(), 1);
        EXPECT_EQ(b[i].load(), 1);
    }
}

TEST(ThreadPool, BlocksDependOnTheCountAlone)
{
    TPoolGuard guard;
    std::vector<std::pair<int, int>> first;
    for (int threads : {1, 3, 8}) {
        SetWorkerThreadCount(threads);
        std::vector<std::pair<int, int>> blocks(5, {-1, -1});
        ParallelForBlocks(103, 25, [&](int begin, int end) { blocks[begin / 25] = {begin, end}; });
        const std::vector<std::pair<int, int>> expected{{0, 25}, {25, 50}, {50, 75}, {75, 100}, {100, 103}};
        EXPECT_EQ(blocks, expected) << threads << " threads";
    }
    std::atomic<int> calls{0}; // the blocks of one run on several threads at once
    ParallelForBlocks(0, 8, [&](int, int) { ++calls; });
    ParallelForBlocks(5, 0, [&](int begin, int end) { calls += end - begin; }); // blocks of one
    EXPECT_EQ(calls, 5);
}

TEST(ThreadPool, ThreadCountFromTheEnvironment)
{
    TPoolGuard guard;
    const int cores = AvailableProcessorCount();
    EXPECT_GE(cores, 1);
    struct Case {
        const char* value; // null: unset
        int expected;      // 0: the core count
    };
    const Case cases[] = {{nullptr, 0}, {"1", 1}, {"3", 3}, {"256", 256}, {"0", 0},  {"-2", 0},
                          {"257", 0},   {"4x", 0}, {"", 0},  {"abc", 0},   {" 2", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        if (c.value)
            setenv("VSP_THREADS", c.value, 1);
        else
            unsetenv("VSP_THREADS");
        EXPECT_EQ(DefaultWorkerThreadCount(), c.expected ? c.expected : std::min(cores, MaxWorkerThreads));
    }
    setenv("VSP_THREADS", "2", 1);
    SetWorkerThreadCount(0);
    EXPECT_EQ(WorkerPool().ThreadCount(), 2);
    SetWorkerThreadCount(5);
    EXPECT_EQ(WorkerPool().ThreadCount(), 5);
}
