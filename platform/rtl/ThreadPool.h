// A small pool of worker threads for numeric work that splits into independent pieces. The process has
// one, made at first use and sized by the processor cores it may run on, or by VSP_THREADS.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Processor cores this process may run on (its affinity mask); at least 1.
int AvailableProcessorCount();

// The thread count of the process's pool: VSP_THREADS when it holds a whole number from 1 to
// MaxWorkerThreads, otherwise AvailableProcessorCount() (at most MaxWorkerThreads).
int DefaultWorkerThreadCount();
inline constexpr int MaxWorkerThreads = 256;

class TThreadPool {
public:
    // `threads` counts the calling thread: 1 starts no worker and runs everything on the caller.
    explicit TThreadPool(int threads);
    ~TThreadPool();
    TThreadPool(const TThreadPool&) = delete;
    TThreadPool& operator=(const TThreadPool&) = delete;

    int ThreadCount() const noexcept { return static_cast<int>(FWorkers.size()) + 1; }

    // Calls task(i) once for every i in 0 .. count - 1, on the workers and the calling thread, and returns
    // when every call has ended. Which thread takes which index is not fixed, so a caller gives each index
    // work that does not depend on the others. Indexes are handed out in ascending order; once a call
    // throws no further index is handed out, and after the running calls have ended the exception of the
    // lowest index that threw is rethrown: the one a plain loop would have thrown. A call from inside a
    // task, or while another thread uses the pool, runs as a plain loop on the calling thread.
    void ParallelFor(int count, const std::function<void(int)>& task);

private:
    struct TJob;
    void WorkerLoop();
    static void RunIndexes(TJob& job);

    std::vector<std::thread> FWorkers;
    std::mutex FCallMutex; // held by the thread whose job the workers run
    std::mutex FMutex;
    std::condition_variable FWake, FDone;
    TJob* FJob = nullptr;           // the open job; null once every index has been handed out
    std::uint64_t FGeneration = 0;  // counts the jobs posted; a worker joins each at most once
    std::atomic<std::uint64_t> FPosted{0}; // FGeneration, read by spinning workers without the lock
    std::atomic<int> FActive{0};    // workers inside the current job (changed under FMutex)
    bool FStopping = false;
};

// One round of a short wait for work that another running task of the pool is about to finish: a pause,
// and now and then the processor offered to other threads (where there are more threads than cores).
void PoolWaitRound(int round);

// The process's pool.
TThreadPool& WorkerPool();

// Replaces the process's pool by one of `threads` threads, or of DefaultWorkerThreadCount() for 0; for
// tests and benchmarks that compare thread counts. Never while the pool runs a job.
void SetWorkerThreadCount(int threads);

// Calls body(begin, end) for the blocks [0, block), [block, 2 block), ... covering 0 .. count - 1, on the
// process's pool. The blocks depend on count and block alone, never on the thread count.
template <class F>
void ParallelForBlocks(int count, int block, F&& body)
{
    if (count <= 0) return;
    if (block < 1) block = 1;
    const int blocks = (count + block - 1) / block;
    if (blocks == 1) {
        body(0, count);
        return;
    }
    WorkerPool().ParallelFor(blocks, [&](int b) {
        const int begin = b * block;
        body(begin, count - begin < block ? count : begin + block);
    });
}
