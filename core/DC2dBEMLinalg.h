// Dense matrices and the unpivoted Householder QR of the boundary-element system: decomposition (blocked,
// with a plain column-walking reference), solves for one or many right-hand sides, back substitution.
#pragma once

#include "platform/rtl/DynArray.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

class TQRReflections;

// Storage for the solver's large arrays (matrices, integral tables, scratch of the decomposition): 64-byte
// aligned and, from 2 MB on, aligned to 2 MB and advised to use huge pages, so that the first touch of a
// fresh array costs a few page faults instead of one per 4 KB. Released with std::free. Raises
// EOutOfResources when the memory is not there.
void* AllocateLarge(std::size_t bytes);

// A large array of a trivially copyable type whose elements its owner writes before reading them: not
// initialised (the first touch happens where the values are written, on whichever threads write them),
// its storage kept when large enough, copied whole.
template <class T>
class TLargeBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    TLargeBuffer() = default;
    TLargeBuffer(const TLargeBuffer& other)
    {
        Resize(other.FSize);
        if (FSize > 0) std::memcpy(static_cast<void*>(FData.get()), other.FData.get(), FSize * sizeof(T));
    }
    TLargeBuffer& operator=(const TLargeBuffer& other)
    {
        if (this != &other) {
            TLargeBuffer copy(other);
            Swap(copy);
        }
        return *this;
    }
    TLargeBuffer(TLargeBuffer&& other) noexcept { Swap(other); }
    TLargeBuffer& operator=(TLargeBuffer&& other) noexcept
    {
        TLargeBuffer moved(std::move(other));
        Swap(moved);
        return *this;
    }

    // `count` elements; those beyond the old size are not defined.
    void Resize(std::size_t count)
    {
        if (count > FCapacity) {
            FData.reset(static_cast<T*>(AllocateLarge(count * sizeof(T))));
            FCapacity = count;
        }
        FSize = count;
    }
    void Clear() noexcept { FSize = 0; }
    std::size_t size() const noexcept { return FSize; }
    T* data() noexcept { return FData.get(); }
    const T* data() const noexcept { return FData.get(); }

private:
    void Swap(TLargeBuffer& other) noexcept
    {
        std::swap(FData, other.FData);
        std::swap(FSize, other.FSize);
        std::swap(FCapacity, other.FCapacity);
    }
    struct TFree {
        void operator()(T* p) const noexcept { std::free(p); }
    };
    std::unique_ptr<T, TFree> FData;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
};

// A row-major matrix of doubles whose rows start on 64-byte boundaries. Row and element access check
// their indexes (ERangeError); the raw row pointers serve the inner loops.
class TDenseMatrix {
public:
    TDenseMatrix() = default;
    TDenseMatrix(int rows, int cols) { SetSize(rows, cols); }
    TDenseMatrix(const TDenseMatrix& other) = default;
    TDenseMatrix& operator=(const TDenseMatrix& other) = default;
    TDenseMatrix(TDenseMatrix&& other) noexcept { Swap(other); }
    TDenseMatrix& operator=(TDenseMatrix&& other) noexcept;

    // New size, every element 0. Negative sizes raise ERangeError.
    void SetSize(int rows, int cols);
    // New size whose elements the caller is about to write: their values are not defined, and the storage
    // is kept when it is large enough (a matrix rebuilt at every solution is not allocated again).
    void SetSizeForOverwrite(int rows, int cols);
    void Fill(double value);

    int Rows() const noexcept { return FRows; }
    int Cols() const noexcept { return FCols; }
    std::size_t Stride() const noexcept { return FStride; }

    double* Row(int i);
    const double* Row(int i) const;
    double& operator()(int i, int j);
    double operator()(int i, int j) const;

private:
    void Swap(TDenseMatrix& other) noexcept;
    TLargeBuffer<double> FData; // rows of FStride doubles
    int FRows = 0;
    int FCols = 0;
    std::size_t FStride = 0;
};

// |a| when b >= 0, else -|a|.
double SignTransfer(double a, double b);

// matrix[i][i] += vector[i] for every i of the vector.
void AddToDiagonal(TDenseMatrix& matrix, const arofdoubleM& vector);

// Householder QR of the square matrix A in place, without pivoting. Afterwards A holds the Householder
// vectors in and below the diagonal and R strictly above it, d the diagonal of R and c the reflection
// scales (reflection k is I - v v^T / c[k]); a column that is zero on and below the diagonal gets
// c[k] = d[k] = 0 and no reflection. d and c are resized to the order. Nothing happens for order 0.
// The work is blocked (level-3 trailing updates with a register-blocked kernel, an x86-64-v3 variant
// chosen at run time); the results agree with QRDecomposeReference to rounding. The trailing updates
// run on the worker pool by column blocks, each column computed alone, so the result is the same bit
// for bit whatever the thread count.
void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c);
// The same, also turning b into Q^T b as QRSolve's reflections do, bit for bit: b is then solved by
// QRBackSubstitute. Each step's reflections are applied to b while the later columns are updated, so the
// serial part of a solve runs beside the decomposition instead of after it. ERangeError when b is shorter
// than the order.
void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c, arofdoubleM& b);
// The same, also packing the reflections into `packed` as packed.Build(A) would afterwards, from the
// panels as they are factored.
void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c, arofdoubleM& b, TQRReflections& packed);

// The same decomposition by the plain loops, column by column down the rows. Kept as the reference that
// the blocked version is checked and measured against.
void QRDecomposeReference(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c);

// The reflections of a decomposed matrix packed by rows, vector k (A(k..n-1, k)) in one run of memory, so
// that a solve walks them in order instead of down A's columns. Built once per decomposition (on the
// worker pool) and read by every solve on it.
class TQRReflections {
public:
    void Build(const TDenseMatrix& A);
    int Order() const noexcept { return FOrder; }
    // Reflection k < order - 1: v with v[i] = A(i, k) for k <= i < order (the pointer is offset by k).
    const double* Vector(int k) const;

private:
    friend class TQRReflectionsWriter; // the decomposition, which packs them as it goes
    TLargeBuffer<double> FRows;
    int FOrder = 0;
};

// b becomes x with A0 x = b, A0 being the matrix before QRDecompose(A, d, c). A singular matrix gives
// infinities or NaN, never an exception.
void QRSolve(const TDenseMatrix& A, const arofdoubleM& d, const arofdoubleM& c, arofdoubleM& b);
// The same with the reflections of A already packed (ERangeError when they are of another order).
void QRSolve(const TDenseMatrix& A, const TQRReflections& V, const arofdoubleM& d, const arofdoubleM& c,
             arofdoubleM& b);

// The same for many right-hand sides at once: B holds one right-hand side per column (order rows); the
// columns are solved side by side on the worker pool, each by the same operations as alone.
void QRSolveMany(const TDenseMatrix& A, const arofdoubleM& d, const arofdoubleM& c, TDenseMatrix& B);
void QRSolveMany(const TDenseMatrix& A, const TQRReflections& V, const arofdoubleM& d, const arofdoubleM& c,
                 TDenseMatrix& B);

// Solves R x = b in place, R from the strict upper triangle of A and the diagonal d.
void QRBackSubstitute(const TDenseMatrix& A, const arofdoubleM& d, arofdoubleM& b);

// Which trailing-update kernel QRDecompose uses on this processor: "x86-64-v3" or "baseline".
const char* QRKernelName();
