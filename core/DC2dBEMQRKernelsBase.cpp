// The blocked QR's kernels for any x86-64 processor (SSE2, two doubles per vector) or, elsewhere, plain C++.
#include "core/DC2dBEMQRKernels.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#define VT __m128d
#define VW 2
#define MR 2
#define VZERO() _mm_setzero_pd()
#define VLOAD(p) _mm_loadu_pd(p)
#define VSTORE(p, v) _mm_storeu_pd((p), (v))
#define VSET1(x) _mm_set1_pd(x)
#define VFMA(acc, a, b) _mm_add_pd((acc), _mm_mul_pd((a), (b)))
#define VFNMA(acc, a, b) _mm_sub_pd((acc), _mm_mul_pd((a), (b)))
static inline double HorizontalSum(__m128d v) { return _mm_cvtsd_f64(v) + _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
#define VHSUM(v) HorizontalSum(v)
#else
#define VT double
#define VW 1
#define MR 2
#define VZERO() 0.0
#define VLOAD(p) (*(p))
#define VSTORE(p, v) (*(p) = (v))
#define VSET1(x) (x)
#define VFMA(acc, a, b) ((acc) + (a) * (b))
#define VFNMA(acc, a, b) ((acc) - (a) * (b))
#define VHSUM(v) (v)
#endif

namespace {
#include "core/DC2dBEMQRKernels.inc"
} // namespace

const TQRKernels& QRKernelsBaseline()
{
    static const TQRKernels kernels{"baseline", KernelVtB, KernelBMinusVW, KernelDot, KernelAxpy, KernelDot2,
                                    KernelAxpy2};
    return kernels;
}
