// The blocked QR's kernels compiled for x86-64-v3 (AVX2 and FMA, four doubles per vector), used only
// when the processor reports both. Every header is included before the target switch, so nothing shared
// with other units is compiled for the wider instruction set.
#include "core/DC2dBEMQRKernels.h"

#include <cstddef>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,fma"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,fma")
#endif

#define VT __m256d
#define VW 4
#define MR 4
#define VZERO() _mm256_setzero_pd()
#define VLOAD(p) _mm256_loadu_pd(p)
#define VSTORE(p, v) _mm256_storeu_pd((p), (v))
#define VSET1(x) _mm256_set1_pd(x)
#define VFMA(acc, a, b) _mm256_fmadd_pd((a), (b), (acc))
#define VFNMA(acc, a, b) _mm256_fnmadd_pd((a), (b), (acc))

namespace {
inline double HorizontalSum(__m256d v)
{
    const __m128d lo = _mm256_castpd256_pd128(v);
    const __m128d hi = _mm256_extractf128_pd(v, 1);
    const __m128d s = _mm_add_pd(lo, hi);
    return _mm_cvtsd_f64(s) + _mm_cvtsd_f64(_mm_unpackhi_pd(s, s));
}
#define VHSUM(v) HorizontalSum(v)
#include "core/DC2dBEMQRKernels.inc"
} // namespace

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

const TQRKernels* QRKernelsV3()
{
    static const TQRKernels kernels{"x86-64-v3", KernelVtB, KernelBMinusVW, KernelDot, KernelAxpy, KernelDot2,
                                    KernelAxpy2};
    static const bool supported = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return supported ? &kernels : nullptr;
}

#else

const TQRKernels* QRKernelsV3() { return nullptr; }

#endif
