// Screen arithmetic shared by the drawing code: rounding halves to even, the one helper that turns a real
// into a pixel integer without undefined behaviour, and MulDiv with the platform routine's rule.
// Header only and Qt-free, so the chart engine's model units can use it too.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Nearest integer as a double, halves to even ("banker's" rounding of the screen arithmetic).
// Independent of the floating-point environment's rounding mode.
inline double RoundHalfEven(double v)
{
    if (!std::isfinite(v)) return v;
    double r = std::round(v);                       // halves away from zero
    if (std::fabs(v - std::trunc(v)) == 0.5)        // exactly half: pick the even neighbour
        r = 2.0 * std::round(v / 2.0);
    return r;
}

// The nearest int with halves to even, for a real strictly inside the int range (the caller has made
// sure of that). Works on the truncated integer and the exact remainder, so it needs neither the library's
// rounding nor the floating-point environment's rounding mode, and loops over many values stay tight.
inline int RoundHalfEvenInRange(double v)
{
    const int t = static_cast<int>(v);       // toward zero
    const double d = v - t;                   // exact: |v| < 2^31
    const int odd = t & 1;
    return t + ((d > 0.5) | ((d == 0.5) & odd)) - ((d < -0.5) | ((d == -0.5) & odd));
}

// A real turned into a pixel integer: rounded halves to even, NaN gives 0, values outside the int range
// give the nearest int bound. The only road from double to int in the drawing code.
inline int PixelFromReal(double v)
{
    if (std::isnan(v)) return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<int>::max());
    if (v <= lo) return std::numeric_limits<int>::min();
    if (v >= hi) return std::numeric_limits<int>::max();
    return RoundHalfEvenInRange(v);
}

// A real truncated toward zero into an int, with the same NaN and range guards as PixelFromReal.
inline int TruncFromReal(double v)
{
    if (std::isnan(v)) return 0;
    double r = std::trunc(v);
    constexpr double lo = static_cast<double>(std::numeric_limits<int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<int>::max());
    if (r <= lo) return std::numeric_limits<int>::min();
    if (r >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

// A pixel sum worked out in 64 bits and brought into the int range: the nearest int bound when it does
// not fit. For coordinates that only need to lie beyond every device when a stored size is absurd.
inline int ClampedPixel(std::int64_t v)
{
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// A pixel sum worked out in 64 bits as an int, raising EIntOverflow ("Integer overflow") when it does not
// fit: for sizes that later sums depend on and that no clamp would keep meaningful.
inline int CheckedPixel(std::int64_t v)
{
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) throw EIntOverflow();
    return static_cast<int>(v);
}

// a * b / c with a 64-bit product, the quotient rounded to the nearest integer with halves away from
// zero; -1 when c is 0 or when the result does not fit into an int (the platform routine's rule).
inline int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    // Work on magnitudes; |p| <= 2^62 and |c| <= 2^31, so nothing overflows.
    const std::uint64_t up = p < 0 ? static_cast<std::uint64_t>(-(p + 1)) + 1 : static_cast<std::uint64_t>(p);
    const std::uint64_t uc = c < 0 ? static_cast<std::uint64_t>(-(static_cast<std::int64_t>(c))) : static_cast<std::uint64_t>(c);
    std::uint64_t q = up / uc;
    const std::uint64_t rem = up % uc;
    if (rem * 2 >= uc) ++q;
    if (negative) {
        if (q > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1) return -1;
        return static_cast<int>(-static_cast<std::int64_t>(q));
    }
    if (q > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) return -1;
    return static_cast<int>(q);
}
