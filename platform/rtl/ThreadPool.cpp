// The worker-thread pool: workers wait for a job (spinning a moment first, since the solver posts jobs in
// quick succession), take indexes from a shared counter, and the posting thread takes part too.
#include "platform/rtl/ThreadPool.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sched.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

// Set on the workers for good and on a posting thread while it runs its share: a job posted from there
// runs as a plain loop instead of waiting for threads that are busy with the outer job.
thread_local bool tInsidePool = false;

// Rounds of waiting for the next job before a worker goes to sleep, a few hundred microseconds: the
// decomposition posts a job every step.
constexpr int SpinRounds = 10000;

// One round of waiting awake. Every 64th round offers the processor to another thread, so that waiting
// threads do not hold up working ones where there are more threads than cores.
inline void CpuRelax(int round)
{
    if ((round & 63) == 63) {
        std::this_thread::yield();
        return;
    }
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

int ThreadsFromEnvironment()
{
    const char* text = std::getenv("VSP_THREADS");
    if (!text || !*text) return 0;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 1 || value > MaxWorkerThreads) return 0;
    return static_cast<int>(value);
}

struct TPoolHolder {
    std::mutex Mutex;
    std::unique_ptr<TThreadPool> Pool;
};

TPoolHolder& Holder()
{
    static TPoolHolder holder;
    return holder;
}

} // namespace

int AvailableProcessorCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return count;
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

int DefaultWorkerThreadCount()
{
    const int fromEnvironment = ThreadsFromEnvironment();
    if (fromEnvironment > 0) return fromEnvironment;
    return std::min(AvailableProcessorCount(), MaxWorkerThreads);
}

struct TThreadPool::TJob {
    const std::function<void(int)>* Task = nullptr;
    int Count = 0;
    std::atomic<int> Next{0};
    std::atomic<int> Stop{INT_MAX}; // no index from here on is handed out
    std::mutex ErrorMutex;
    int FailedIndex = INT_MAX;
    std::exception_ptr Error;
};

TThreadPool::TThreadPool(int threads)
{
    threads = std::clamp(threads, 1, MaxWorkerThreads);
    FWorkers.reserve(threads - 1);
    try {
        for (int i = 1; i < threads; ++i) FWorkers.emplace_back([this] { WorkerLoop(); });
    } catch (...) {
        // Fewer workers than asked for still do the work; the caller takes every index left.
    }
}

TThreadPool::~TThreadPool()
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FStopping = true;
        FPosted.store(~std::uint64_t{0}, std::memory_order_release);
    }
    FWake.notify_all();
    for (std::thread& t : FWorkers) t.join();
}

void TThreadPool::RunIndexes(TJob& job)
{
    for (;;) {
        const int i = job.Next.fetch_add(1, std::memory_order_relaxed);
        if (i >= job.Count || i >= job.Stop.load(std::memory_order_acquire)) return;
        try {
            (*job.Task)(i);
        } catch (...) {
            std::lock_guard<std::mutex> lock(job.ErrorMutex);
            if (i < job.FailedIndex) {
                job.FailedIndex = i;
                job.Error = std::current_exception();
            }
            int stop = job.Stop.load(std::memory_order_relaxed);
            while (i < stop && !job.Stop.compare_exchange_weak(stop, i, std::memory_order_acq_rel)) {
            }
        }
    }
}

void TThreadPool::WorkerLoop()
{
    tInsidePool = true;
    std::uint64_t seen = 0;
    for (;;) {
        for (int k = 0; k < SpinRounds && FPosted.load(std::memory_order_acquire) == seen; ++k) CpuRelax(k);
        TJob* job = nullptr;
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FWake.wait(lock, [&] { return FStopping || FGeneration != seen; });
            if (FStopping) return;
            seen = FGeneration;
            job = FJob; // null once the poster has closed the job: nothing is left to take
            if (job) FActive.fetch_add(1, std::memory_order_relaxed);
        }
        if (!job) continue;
        RunIndexes(*job);
        std::lock_guard<std::mutex> lock(FMutex);
        if (FActive.fetch_sub(1, std::memory_order_acq_rel) == 1) FDone.notify_all();
    }
}

void TThreadPool::ParallelFor(int count, const std::function<void(int)>& task)
{
    if (count <= 0) return;
    std::unique_lock<std::mutex> call(FCallMutex, std::defer_lock);
    if (count == 1 || FWorkers.empty() || tInsidePool || !call.try_lock()) {
        for (int i = 0; i < count; ++i) task(i);
        return;
    }
    TJob job;
    job.Task = &task;
    job.Count = count;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FJob = &job;
        ++FGeneration;
        FPosted.store(FGeneration, std::memory_order_release);
    }
    FWake.notify_all();
    tInsidePool = true;
    RunIndexes(job);
    tInsidePool = false;
    {
        // Every index has been handed out; workers that come late find no job, and those inside finish.
        std::lock_guard<std::mutex> lock(FMutex);
        FJob = nullptr;
    }
    // Their last tasks are usually short: wait for them awake before going to sleep.
    for (int k = 0; k < SpinRounds && FActive.load(std::memory_order_acquire) != 0; ++k) CpuRelax(k);
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FDone.wait(lock, [&] { return FActive.load(std::memory_order_acquire) == 0; });
    }
    if (job.Error) std::rethrow_exception(job.Error);
}

void PoolWaitRound(int round) { CpuRelax(round); }

TThreadPool& WorkerPool()
{
    TPoolHolder& h = Holder();
    std::lock_guard<std::mutex> lock(h.Mutex);
    if (!h.Pool) h.Pool = std::make_unique<TThreadPool>(DefaultWorkerThreadCount());
    return *h.Pool;
}

void SetWorkerThreadCount(int threads)
{
    TPoolHolder& h = Holder();
    std::lock_guard<std::mutex> lock(h.Mutex);
    h.Pool.reset();
    h.Pool = std::make_unique<TThreadPool>(threads > 0 ? threads : DefaultWorkerThreadCount());
}
