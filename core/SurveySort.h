// A stable merge sort for the survey's exchange sorts (rows, electrode records, positions, profiles).
// It gives what repeated neighbour exchanges give, in n log n, and stays within the array whatever the
// comparison answers (NaN positions make it inconsistent; the library sorts then read out of range).
#pragma once

#include "platform/rtl/DynArray.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// Sorts `items` so that no element is preceded by one that `less` puts after it; equal elements keep
// their order.
template <class T, class Less>
void StableSortBy(DynArray<T>& items, Less less)
{
    const std::size_t n = items.size();
    if (n < 2) return;
    // Most files list their rows and positions in order already: one pass finds that out.
    bool ordered = true;
    for (std::size_t i = 1; i < n && ordered; ++i) ordered = !less(items.data()[i], items.data()[i - 1]);
    if (ordered) return;
    std::vector<T> a;
    a.reserve(n);
    for (T& item : items) a.push_back(std::move(item));
    std::vector<T> b(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) b[k++] = less(a[j], a[i]) ? std::move(a[j++]) : std::move(a[i++]);
            while (i < mid) b[k++] = std::move(a[i++]);
            while (j < hi) b[k++] = std::move(a[j++]);
        }
        a.swap(b);
    }
    for (std::size_t i = 0; i < n; ++i) items.data()[i] = std::move(a[i]);
}
