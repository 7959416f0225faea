// Dense matrices and the Householder QR. The decomposition works on panels of NB columns: a panel is
// copied into a column-major buffer and factored by the plain reflection loops there, its reflections
// are gathered into the compact form I - V T V^T, and the rest of the matrix is updated with two
// matrix-matrix products done by the register-blocked kernels of DC2dBEMQRKernels.
#include "core/DC2dBEMLinalg.h"

#include "core/DC2dBEMQRKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

// ---- TDenseMatrix ----

void TDenseMatrix::TFree::operator()(double* p) const noexcept { std::free(p); }

TDenseMatrix::TDenseMatrix(const TDenseMatrix& other)
{
    SetSize(other.FRows, other.FCols);
    if (FData) std::memcpy(FData.get(), other.FData.get(), sizeof(double) * FStride * FRows);
}

TDenseMatrix& TDenseMatrix::operator=(const TDenseMatrix& other)
{
    if (this != &other) {
        TDenseMatrix copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void TDenseMatrix::SetSize(int rows, int cols)
{
    if (rows < 0 || cols < 0) throw ERangeError();
    const std::size_t stride = (static_cast<std::size_t>(cols) + 7) / 8 * 8;
    const std::size_t bytes = sizeof(double) * stride * static_cast<std::size_t>(rows);
    FData.reset();
    FRows = FCols = 0;
    FStride = 0;
    if (bytes > 0) {
        auto* p = static_cast<double*>(std::aligned_alloc(64, bytes));
        if (!p) throw EOutOfResources("Out of memory");
        std::memset(p, 0, bytes);
        FData.reset(p);
    }
    FRows = rows;
    FCols = cols;
    FStride = stride;
}

void TDenseMatrix::Fill(double value)
{
    for (int i = 0; i < FRows; ++i) std::fill(Row(i), Row(i) + FCols, value);
}

double* TDenseMatrix::Row(int i)
{
    if (i < 0 || i >= FRows) throw ERangeError();
    return FData.get() + FStride * static_cast<std::size_t>(i);
}

const double* TDenseMatrix::Row(int i) const
{
    if (i < 0 || i >= FRows) throw ERangeError();
    return FData.get() + FStride * static_cast<std::size_t>(i);
}

double& TDenseMatrix::operator()(int i, int j)
{
    if (j < 0 || j >= FCols) throw ERangeError();
    return Row(i)[j];
}

double TDenseMatrix::operator()(int i, int j) const
{
    if (j < 0 || j >= FCols) throw ERangeError();
    return Row(i)[j];
}

// ---- small helpers ----

double SignTransfer(double a, double b) { return b >= 0 ? std::fabs(a) : -std::fabs(a); }

void AddToDiagonal(TDenseMatrix& matrix, const arofdoubleM& vector)
{
    for (int i = 0; i < vector.Length(); ++i) matrix(i, i) += vector[i];
}

namespace {

int SquareOrder(const TDenseMatrix& A)
{
    if (A.Rows() != A.Cols()) throw ERangeError();
    return A.Rows();
}

void CheckVector(const arofdoubleM& v, int n)
{
    if (v.Length() < n) throw ERangeError();
}

const TQRKernels& ActiveKernels()
{
    static const TQRKernels& kernels = QRKernelsV3() ? *QRKernelsV3() : QRKernelsBaseline();
    return kernels;
}

int RoundUp(int value, int multiple) { return (value + multiple - 1) / multiple * multiple; }

// Columns per panel of the blocked decomposition, and trailing columns updated per pass.
constexpr int PanelColumns = 48;
constexpr int ChunkColumns = 20 * QRPanelWidth;

// Plain reflections on a column-major block P (ncols columns of m rows, column q at P + q*m): the
// first nrefl columns get a reflection each, which is applied to every later column of the block.
void FactorPanel(double* P, int m, int ncols, int nrefl, double* d, double* c, const TQRKernels& K)
{
    for (int p = 0; p < nrefl; ++p) {
        double* col = P + static_cast<std::size_t>(p) * m;
        double scale = 0.0;
        for (int i = p; i < m; ++i) scale = std::max(scale, std::fabs(col[i]));
        if (scale == 0.0) {
            c[p] = 0.0;
            d[p] = 0.0;
            continue;
        }
        const double inverse = 1.0 / scale;
        for (int i = p; i < m; ++i) col[i] *= inverse;
        const double sum = K.Dot(col + p, col + p, m - p);
        const double sigma = SignTransfer(std::sqrt(sum), col[p]);
        col[p] += sigma;
        c[p] = sigma * col[p];
        d[p] = -scale * sigma;
        for (int q = p + 1; q < ncols; ++q) {
            double* other = P + static_cast<std::size_t>(q) * m;
            const double tau = K.Dot(col + p, other + p, m - p) / c[p];
            K.Axpy(tau, col + p, other + p, m - p);
        }
    }
}

// T of the compact form: H_0 H_1 ... H_(jb-1) = I - V T V^T with H_p = I - v_p v_p^T / c_p.
std::vector<double> CompactFactor(const double* P, int m, int jb, const double* c, const TQRKernels& K)
{
    std::vector<double> T(static_cast<std::size_t>(jb) * jb, 0.0);
    std::vector<double> z(jb);
    for (int p = 0; p < jb; ++p) {
        const double tau = c[p] == 0.0 ? 0.0 : 1.0 / c[p];
        const double* vp = P + static_cast<std::size_t>(p) * m;
        for (int q = 0; q < p; ++q) z[q] = K.Dot(P + static_cast<std::size_t>(q) * m + p, vp + p, m - p);
        for (int q = 0; q < p; ++q) {
            double s = 0.0;
            for (int r = q; r < p; ++r) s += T[static_cast<std::size_t>(q) * jb + r] * z[r];
            T[static_cast<std::size_t>(q) * jb + p] = -tau * s;
        }
        T[static_cast<std::size_t>(p) * jb + p] = tau;
    }
    return T;
}

// Start of row i of packed panel jp.
std::size_t PanelOffset(int jp, int i, int mPad)
{
    return (static_cast<std::size_t>(jp) * mPad + i) * QRPanelWidth;
}

// Applies the panel's reflections, in order, to columns col0.. of rows row0.. of A:
// A2 := (I - V T^T V^T) A2, as W = V^T A2, W = T^T W, A2 -= V W, a chunk of columns at a time.
void UpdateTrailing(TDenseMatrix& A, int row0, int col0, const double* P, int m, int jb,
                    const std::vector<double>& T, const TQRKernels& K)
{
    const int n = A.Cols();
    const int mPad = RoundUp(m, QRPad);
    const int jbPad = RoundUp(jb, QRPad);
    std::vector<double> V(static_cast<std::size_t>(mPad) * jbPad, 0.0);
    for (int i = 0; i < m; ++i)
        for (int p = 0; p <= std::min(i, jb - 1); ++p)
            V[static_cast<std::size_t>(i) * jbPad + p] = P[static_cast<std::size_t>(p) * m + i];

    std::vector<double> B, W;
    for (int j0 = col0; j0 < n; j0 += ChunkColumns) {
        const int width = std::min(ChunkColumns, n - j0);
        const int panels = (width + QRPanelWidth - 1) / QRPanelWidth;
        const int ldw = panels * QRPanelWidth;
        B.assign(static_cast<std::size_t>(panels) * mPad * QRPanelWidth, 0.0);
        W.assign(static_cast<std::size_t>(jbPad) * ldw, 0.0);
        for (int i = 0; i < m; ++i) {
            const double* row = A.Row(row0 + i) + j0;
            for (int jp = 0; jp < panels; ++jp) {
                const int cols = std::min(QRPanelWidth, width - jp * QRPanelWidth);
                std::copy_n(row + jp * QRPanelWidth, cols, B.data() + PanelOffset(jp, i, mPad));
            }
        }
        K.VtB(V.data(), mPad, jbPad, B.data(), panels, W.data(), ldw);
        for (int p = jb - 1; p >= 0; --p) {
            double* wp = W.data() + static_cast<std::size_t>(p) * ldw;
            const double tpp = T[static_cast<std::size_t>(p) * jb + p];
            for (int jj = 0; jj < ldw; ++jj) wp[jj] *= tpp;
            for (int q = 0; q < p; ++q) {
                const double tqp = T[static_cast<std::size_t>(q) * jb + p];
                if (tqp == 0.0) continue;
                const double* wq = W.data() + static_cast<std::size_t>(q) * ldw;
                for (int jj = 0; jj < ldw; ++jj) wp[jj] += tqp * wq[jj];
            }
        }
        K.BMinusVW(V.data(), mPad, jbPad, W.data(), ldw, B.data(), panels);
        for (int i = 0; i < m; ++i) {
            double* row = A.Row(row0 + i) + j0;
            for (int jp = 0; jp < panels; ++jp) {
                const int cols = std::min(QRPanelWidth, width - jp * QRPanelWidth);
                std::copy_n(B.data() + PanelOffset(jp, i, mPad), cols, row + jp * QRPanelWidth);
            }
        }
    }
}

// Copies rows row0.. of columns col0..col0+ncols-1 of A into the column-major block P, or back.
void GatherPanel(const TDenseMatrix& A, int row0, int col0, int ncols, std::vector<double>& P)
{
    const int m = A.Rows() - row0;
    P.resize(static_cast<std::size_t>(m) * ncols);
    for (int i = 0; i < m; ++i) {
        const double* row = A.Row(row0 + i) + col0;
        for (int q = 0; q < ncols; ++q) P[static_cast<std::size_t>(q) * m + i] = row[q];
    }
}

void ScatterPanel(TDenseMatrix& A, int row0, int col0, int ncols, const std::vector<double>& P)
{
    const int m = A.Rows() - row0;
    for (int i = 0; i < m; ++i) {
        double* row = A.Row(row0 + i) + col0;
        for (int q = 0; q < ncols; ++q) row[q] = P[static_cast<std::size_t>(q) * m + i];
    }
}

} // namespace

const char* QRKernelName() { return ActiveKernels().Name; }

void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c) { QRDecomposeUsing(ActiveKernels(), A, d, c); }

void QRDecomposeUsing(const TQRKernels& K, TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c)
{
    const int n = SquareOrder(A);
    d.SetLength(n);
    c.SetLength(n);
    if (n == 0) return;
    std::vector<double> P;
    if (n <= 2 * PanelColumns) {
        // Small systems: the whole matrix is one panel.
        GatherPanel(A, 0, 0, n, P);
        FactorPanel(P.data(), n, n, n - 1, d.data(), c.data(), K);
        ScatterPanel(A, 0, 0, n, P);
    } else {
        for (int kb = 0; kb < n - 1; kb += PanelColumns) {
            const int jb = std::min(PanelColumns, n - 1 - kb);
            const int m = n - kb;
            GatherPanel(A, kb, kb, jb, P);
            FactorPanel(P.data(), m, jb, jb, d.data() + kb, c.data() + kb, K);
            ScatterPanel(A, kb, kb, jb, P);
            const std::vector<double> T = CompactFactor(P.data(), m, jb, c.data() + kb, K);
            UpdateTrailing(A, kb, kb + jb, P.data(), m, jb, T, K);
        }
    }
    d[n - 1] = A(n - 1, n - 1);
}

void QRDecomposeReference(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c)
{
    const int n = SquareOrder(A);
    d.SetLength(n);
    c.SetLength(n);
    if (n == 0) return;
    for (int k = 0; k < n - 1; ++k) {
        double scale = 0.0;
        for (int i = k; i < n; ++i) scale = std::max(scale, std::fabs(A(i, k)));
        if (scale == 0.0) {
            c[k] = 0.0;
            d[k] = 0.0;
            continue;
        }
        for (int i = k; i < n; ++i) A(i, k) = A(i, k) * (1.0 / scale);
        double sum = 0.0;
        for (int i = k; i < n; ++i) sum += A(i, k) * A(i, k);
        const double sigma = SignTransfer(std::sqrt(sum), A(k, k));
        A(k, k) = A(k, k) + sigma;
        c[k] = sigma * A(k, k);
        d[k] = -scale * sigma;
        for (int j = k + 1; j < n; ++j) {
            double s = 0.0;
            for (int i = k; i < n; ++i) s += A(i, k) * A(i, j);
            const double tau = s / c[k];
            for (int i = k; i < n; ++i) A(i, j) = A(i, j) - tau * A(i, k);
        }
    }
    d[n - 1] = A(n - 1, n - 1);
}

void QRBackSubstitute(const TDenseMatrix& A, const arofdoubleM& d, arofdoubleM& b)
{
    const int n = SquareOrder(A);
    CheckVector(d, n);
    CheckVector(b, n);
    if (n == 0) return;
    b[n - 1] = b[n - 1] / d[n - 1];
    for (int i = n - 2; i >= 0; --i) {
        const double* row = A.Row(i);
        double s = 0.0;
        for (int j = i + 1; j < n; ++j) s += row[j] * b[j];
        b[i] = (b[i] - s) / d[i];
    }
}

void QRSolve(const TDenseMatrix& A, const arofdoubleM& d, const arofdoubleM& c, arofdoubleM& b)
{
    const int n = SquareOrder(A);
    CheckVector(c, n);
    CheckVector(b, n);
    double* x = b.data();
    for (int j = 0; j < n - 1; ++j) {
        double s = 0.0;
        for (int i = j; i < n; ++i) s += A.Row(i)[j] * x[i];
        const double tau = s / c[j];
        for (int i = j; i < n; ++i) x[i] -= tau * A.Row(i)[j];
    }
    QRBackSubstitute(A, d, b);
}

void QRSolveMany(const TDenseMatrix& A, const arofdoubleM& d, const arofdoubleM& c, TDenseMatrix& B)
{
    const int n = SquareOrder(A);
    CheckVector(c, n);
    CheckVector(d, n);
    if (B.Rows() != n) throw ERangeError();
    const int r = B.Cols();
    if (n == 0 || r == 0) return;
    std::vector<double> tau(r);
    for (int j = 0; j < n - 1; ++j) {
        std::fill(tau.begin(), tau.end(), 0.0);
        for (int i = j; i < n; ++i) {
            const double a = A.Row(i)[j];
            const double* brow = B.Row(i);
            for (int k = 0; k < r; ++k) tau[k] += a * brow[k];
        }
        for (int k = 0; k < r; ++k) tau[k] /= c[j];
        for (int i = j; i < n; ++i) {
            const double a = A.Row(i)[j];
            double* brow = B.Row(i);
            for (int k = 0; k < r; ++k) brow[k] -= tau[k] * a;
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        const double* arow = A.Row(i);
        double* bi = B.Row(i);
        for (int j = i + 1; j < n; ++j) {
            const double a = arow[j];
            const double* bj = B.Row(j);
            for (int k = 0; k < r; ++k) bi[k] -= a * bj[k];
        }
        for (int k = 0; k < r; ++k) bi[k] /= d[i];
    }
}
