// Householder QR of the solver at n = 400, 800 and 1600: the blocked decomposition (both kernel builds)
// and the plain column-walking loops, against LAPACK's dgeqrf from OpenBLAS on one thread when present.
// Prints GFLOP/s (4/3 n^3 flops) and the ratio to dgeqrf measured in the same run.
#include "core/DC2dBEMLinalg.h"
#include "core/DC2dBEMQRKernels.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#ifdef VSP_HAVE_OPENBLAS
extern "C" {
void dgeqrf_(const int* m, const int* n, double* a, const int* lda, double* tau, double* work, const int* lwork,
             int* info);
void openblas_set_num_threads(int n);
}
#endif

namespace {

struct TBest {
    std::map<std::pair<std::string, int>, double> Seconds;
    void Record(const std::string& name, int n, double s)
    {
        auto [it, added] = Seconds.try_emplace({name, n}, s);
        if (!added && s < it->second) it->second = s;
    }
};
TBest& Best()
{
    static TBest best;
    return best;
}

double Flops(int n) { return 4.0 / 3.0 * n * double(n) * n; }

TDenseMatrix RandomMatrix(int n)
{
    std::mt19937 gen(n);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    TDenseMatrix A(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) A(i, j) = dist(gen);
    return A;
}

template <class F>
void Run(benchmark::State& state, const std::string& name, F&& decompose)
{
    const int n = static_cast<int>(state.range(0));
    const TDenseMatrix A0 = RandomMatrix(n);
    for (auto _ : state) {
        TDenseMatrix A = A0;
        const auto t0 = std::chrono::steady_clock::now();
        decompose(A);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        Best().Record(name, n, s);
        benchmark::DoNotOptimize(A.Row(0));
    }
    state.counters["GFLOP/s"] = benchmark::Counter(Flops(n) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_QRBlocked(benchmark::State& state)
{
    arofdoubleM d, c;
    Run(state, std::string("blocked ") + QRKernelName(), [&](TDenseMatrix& A) { QRDecompose(A, d, c); });
}

void BM_QRBlockedBaseline(benchmark::State& state)
{
    arofdoubleM d, c;
    Run(state, "blocked baseline", [&](TDenseMatrix& A) { QRDecomposeUsing(QRKernelsBaseline(), A, d, c); });
}

void BM_QRPlainLoops(benchmark::State& state)
{
    arofdoubleM d, c;
    Run(state, "plain loops", [&](TDenseMatrix& A) { QRDecomposeReference(A, d, c); });
}

#ifdef VSP_HAVE_OPENBLAS
void BM_dgeqrf(benchmark::State& state)
{
    openblas_set_num_threads(1);
    const int n = static_cast<int>(state.range(0));
    std::vector<double> tau(n), work(1);
    int lwork = -1, info = 0;
    std::vector<double> a(static_cast<std::size_t>(n) * n);
    dgeqrf_(&n, &n, a.data(), &n, tau.data(), work.data(), &lwork, &info);
    lwork = static_cast<int>(work[0]);
    work.resize(lwork);
    Run(state, "dgeqrf", [&](TDenseMatrix& A) {
        // Column-major copy, as LAPACK wants it; the copy is outside the timed call's work but inside
        // the timing, a cost of O(n^2) against O(n^3).
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) a[static_cast<std::size_t>(j) * n + i] = A(i, j);
        dgeqrf_(&n, &n, a.data(), &n, tau.data(), work.data(), &lwork, &info);
    });
}
BENCHMARK(BM_dgeqrf)->Arg(400)->Arg(800)->Arg(1600)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_QRBlocked)->Arg(400)->Arg(800)->Arg(1600)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QRBlockedBaseline)->Arg(400)->Arg(800)->Arg(1600)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QRPlainLoops)->Arg(400)->Arg(800)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// Twenty right-hand sides on one stored decomposition (one solve per inversion parameter): all at once
// against twenty single solves.
constexpr int kRightHandSides = 20;

void SolveBench(benchmark::State& state, bool many)
{
    const int n = static_cast<int>(state.range(0));
    TDenseMatrix A = RandomMatrix(n);
    arofdoubleM d, c;
    QRDecompose(A, d, c);
    TDenseMatrix B0(n, kRightHandSides);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < kRightHandSides; ++k) B0(i, k) = std::sin(i + 7.0 * k);
    const std::string name = many ? "solve 20 at once" : "solve 20 singly";
    for (auto _ : state) {
        TDenseMatrix B = B0;
        arofdoubleM b(n);
        const auto t0 = std::chrono::steady_clock::now();
        if (many) {
            QRSolveMany(A, d, c, B);
        } else {
            for (int k = 0; k < kRightHandSides; ++k) {
                for (int i = 0; i < n; ++i) b[i] = B0(i, k);
                QRSolve(A, d, c, b);
            }
        }
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        Best().Record(name, n, s);
        benchmark::DoNotOptimize(B.Row(0));
    }
}

void BM_SolveMany(benchmark::State& state) { SolveBench(state, true); }
void BM_SolveSingly(benchmark::State& state) { SolveBench(state, false); }
BENCHMARK(BM_SolveMany)->Arg(1600)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveSingly)->Arg(1600)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintRatios()
{
    std::printf("\nBest times, GFLOP/s and ratio to dgeqrf (one thread):\n");
    for (const auto& [key, seconds] : Best().Seconds) {
        if (key.first.rfind("solve", 0) == 0) continue;
        const auto ref = Best().Seconds.find({"dgeqrf", key.second});
        std::printf("  %-22s n=%5d %9.2f ms %7.2f GFLOP/s", key.first.c_str(), key.second, seconds * 1e3,
                    Flops(key.second) / seconds * 1e-9);
        if (ref != Best().Seconds.end()) std::printf("   ratio %.3f", ref->second / seconds);
        std::printf("\n");
    }
    const auto many = Best().Seconds.find({"solve 20 at once", 1600});
    const auto single = Best().Seconds.find({"solve 20 singly", 1600});
    if (many != Best().Seconds.end() && single != Best().Seconds.end())
        std::printf("  %d right-hand sides, n=1600: at once %.2f ms, singly %.2f ms, ratio %.2f\n", kRightHandSides,
                    many->second * 1e3, single->second * 1e3, single->second / many->second);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatios();
    return 0;
}
