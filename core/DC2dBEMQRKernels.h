// The inner kernels of the blocked Householder QR, in a baseline and an x86-64-v3 build; QRDecompose
// picks one set at run time. Shared by DC2dBEMLinalg.cpp and the two kernel units only.
#pragma once

#include <cstddef>

// Width of a packed column panel of the trailing matrix; row and parameter blocks are padded to
// multiples of QRPad.
inline constexpr int QRPanelWidth = 12;
inline constexpr int QRPad = 4;

struct TQRKernels {
    const char* Name;
    // W[p][j] = sum over i of V[i][p] * B[i][j] for p < jbPad and the column panels of B.
    // V: mPad x jbPad row-major, zero where i < p. B: `panels` panels of QRPanelWidth columns, row i of
    // panel jp at B + jp * panelStride + i * QRPanelWidth, mPad rows each. W: jbPad rows of stride ldw.
    void (*VtB)(const double* V, int mPad, int jbPad, const double* B, int panels, std::size_t panelStride,
                double* W, int ldw);
    // B[i][j] -= sum over p of V[i][p] * W[p][j], same layouts.
    void (*BMinusVW)(const double* V, int mPad, int jbPad, const double* W, int ldw, double* B, int panels,
                     std::size_t panelStride);
    // Sum of a[i] * b[i], i < n.
    double (*Dot)(const double* a, const double* b, int n);
    // y[i] -= alpha * x[i], i < n.
    void (*Axpy)(double alpha, const double* x, double* y, int n);
    // Dot(a, b1) and Dot(a, b2), each bit for bit as Dot gives it.
    void (*Dot2)(const double* a, const double* b1, const double* b2, int n, double* sum1, double* sum2);
    // Axpy(alpha1, x, y1) and Axpy(alpha2, x, y2).
    void (*Axpy2)(double alpha1, double alpha2, const double* x, double* y1, double* y2, int n);
};

const TQRKernels& QRKernelsBaseline();
// Null when the processor lacks AVX2 and FMA.
const TQRKernels* QRKernelsV3();

class TDenseMatrix;
template <class T> class DynArray;
// QRDecompose with a chosen kernel set, so that tests and benchmarks reach both builds on one machine.
void QRDecomposeUsing(const TQRKernels& kernels, TDenseMatrix& A, DynArray<double>& d, DynArray<double>& c);
