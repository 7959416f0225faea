// Dense matrices, their storage, and the Householder QR. The decomposition holds the matrix in column
// panels of a kernel's width and works on panels of PanelColumns columns: a panel is copied into a
// column-major buffer and factored by the plain reflection loops there, its reflections are gathered into
// the compact form I - V T V^T, and the rest of the matrix is updated with two matrix-matrix products
// done by the register-blocked kernels of DC2dBEMQRKernels, by column blocks on the worker pool, later
// steps starting on the blocks that earlier ones have left. Solves walk the reflections packed by rows.
#include "core/DC2dBEMLinalg.h"

#include "core/DC2dBEMQRKernels.h"
#include "platform/rtl/ThreadPool.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/mman.h>

// ---- storage ----

void* AllocateLarge(std::size_t bytes)
{
    constexpr std::size_t HugePage = std::size_t{2} << 20;
    const std::size_t alignment = bytes >= HugePage ? HugePage : 64;
    const std::size_t size = std::max<std::size_t>((bytes + alignment - 1) / alignment * alignment, alignment);
    void* p = std::aligned_alloc(alignment, size);
    if (!p) throw EOutOfResources("Out of memory");
#ifdef MADV_HUGEPAGE
    if (alignment == HugePage) madvise(p, size, MADV_HUGEPAGE); // advice only: a refusal changes nothing
#endif
    return p;
}

// ---- TDenseMatrix ----

TDenseMatrix& TDenseMatrix::operator=(TDenseMatrix&& other) noexcept
{
    if (this != &other) {
        TDenseMatrix moved(std::move(other));
        Swap(moved);
    }
    return *this;
}

void TDenseMatrix::Swap(TDenseMatrix& other) noexcept
{
    std::swap(FData, other.FData);
    std::swap(FRows, other.FRows);
    std::swap(FCols, other.FCols);
    std::swap(FStride, other.FStride);
}

void TDenseMatrix::SetSizeForOverwrite(int rows, int cols)
{
    if (rows < 0 || cols < 0) throw ERangeError();
    const std::size_t stride = (static_cast<std::size_t>(cols) + 7) / 8 * 8;
    FData.Resize(stride * static_cast<std::size_t>(rows));
    FRows = rows;
    FCols = cols;
    FStride = stride;
}

void TDenseMatrix::SetSize(int rows, int cols)
{
    SetSizeForOverwrite(rows, cols);
    if (FData.size() > 0) std::memset(FData.data(), 0, sizeof(double) * FData.size());
}

void TDenseMatrix::Fill(double value)
{
    for (int i = 0; i < FRows; ++i) std::fill(Row(i), Row(i) + FCols, value);
}

double* TDenseMatrix::Row(int i)
{
    if (i < 0 || i >= FRows) throw ERangeError();
    return FData.data() + FStride * static_cast<std::size_t>(i);
}

const double* TDenseMatrix::Row(int i) const
{
    if (i < 0 || i >= FRows) throw ERangeError();
    return FData.data() + FStride * static_cast<std::size_t>(i);
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

// Start of reflection j's vector in the packed rows of TQRReflections.
std::size_t ReflectionOffset(int j, int n)
{
    return static_cast<std::size_t>(j) * n - static_cast<std::size_t>(j) * (j - 1) / 2;
}

// Columns per panel of the blocked decomposition.
constexpr int PanelColumns = 48;
static_assert(PanelColumns % QRPanelWidth == 0, "every panel but the last starts a column panel");

// Plain reflections on a column-major block P (ncols columns of m rows, column q at P + q*m): the
// first nrefl columns get a reflection each, which is applied to every later column of the block. With
// `made`, the count of reflections made is published as each is made (column p and d[p], c[p] are then
// final), for the threads that copy the finished columns meanwhile.
void FactorPanel(double* P, int m, int ncols, int nrefl, double* d, double* c, const TQRKernels& K,
                 std::atomic<int>* made = nullptr)
{
    for (int p = 0; p < nrefl; ++p) {
        double* col = P + static_cast<std::size_t>(p) * m;
        double scale = 0.0;
        for (int i = p; i < m; ++i) scale = std::max(scale, std::fabs(col[i]));
        if (scale == 0.0) {
            c[p] = 0.0;
            d[p] = 0.0;
            if (made) made->store(p + 1, std::memory_order_release);
            continue;
        }
        const double inverse = 1.0 / scale;
        for (int i = p; i < m; ++i) col[i] *= inverse;
        const double sum = K.Dot(col + p, col + p, m - p);
        const double sigma = SignTransfer(std::sqrt(sum), col[p]);
        col[p] += sigma;
        c[p] = sigma * col[p];
        d[p] = -scale * sigma;
        if (made) made->store(p + 1, std::memory_order_release);
        // The later columns two at a time, sharing the reads of the reflection.
        int q = p + 1;
        for (; q + 1 < ncols; q += 2) {
            double* one = P + static_cast<std::size_t>(q) * m;
            double* two = one + m;
            double s1 = 0.0, s2 = 0.0;
            K.Dot2(col + p, one + p, two + p, m - p, &s1, &s2);
            K.Axpy2(s1 / c[p], s2 / c[p], col + p, one + p, two + p, m - p);
        }
        if (q < ncols) {
            double* other = P + static_cast<std::size_t>(q) * m;
            const double tau = K.Dot(col + p, other + p, m - p) / c[p];
            K.Axpy(tau, col + p, other + p, m - p);
        }
    }
}

// x := H_(kb+jb-1) ... H_kb x for the reflections kb .. kb + jb - 1 of a factored column-major block P (m
// rows from row kb, reflection kb + q in column q), each as QRSolve applies it: its sum over the rows from
// its own down, then the update. x has kb + m elements.
void ApplyPanelReflections(const double* P, int m, int kb, int jb, const double* c, double* x)
{
    for (int q = 0; q < jb; ++q) {
        const int j = kb + q;
        const double* v = P + static_cast<std::size_t>(q) * m - kb; // v[i] for kb + q <= i < kb + m
        double s = 0.0;
        for (int i = j; i < kb + m; ++i) s += v[i] * x[i];
        const double tau = s / c[j];
        x[j] -= tau * v[j];
        for (int i = j + 1; i < kb + m; ++i) x[i] -= tau * v[i];
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

// The matrix during the blocked decomposition, in column panels of QRPanelWidth columns, the layout the
// trailing-update kernels read: panel jp holds columns QRPanelWidth jp .. of every row, row i at
// Panel(jp) + i QRPanelWidth. Below the last row lie zero rows, so that a step's row block padded to
// QRPad rows stays inside its panel, and the last panel's columns beyond the order are zero. The buffer
// is kept per thread up to a size (the solver decomposes matrices of one size again and again, and a
// fresh buffer costs its page faults every time); a larger one is given back after the decomposition.
class TPanelMatrix {
public:
    explicit TPanelMatrix(int order) : FOrder(order)
    {
        FPanels = (FOrder + QRPanelWidth - 1) / QRPanelWidth;
        FRows = RoundUp(FOrder, QRPad) + QRPad;
        const std::size_t size = static_cast<std::size_t>(FPanels) * PanelStride();
        if (FBuffer.size() < size) FBuffer.Resize(size);
        FData = FBuffer.data();
    }

    // Column panel jp from A, with its zero rows and columns.
    void Load(const TDenseMatrix& A, int jp) const
    {
        double* panel = Panel(jp);
        const int j0 = jp * QRPanelWidth, cols = std::min(QRPanelWidth, FOrder - j0);
        for (int i = 0; i < FOrder; ++i) {
            double* dst = panel + static_cast<std::size_t>(i) * QRPanelWidth;
            std::copy_n(A.Row(i) + j0, cols, dst);
            std::fill(dst + cols, dst + QRPanelWidth, 0.0);
        }
        std::fill(panel + static_cast<std::size_t>(FOrder) * QRPanelWidth, panel + PanelStride(), 0.0);
    }

    ~TPanelMatrix()
    {
        if (FBuffer.size() > KeptDoubles) FBuffer = TLargeBuffer<double>();
    }
    TPanelMatrix(const TPanelMatrix&) = delete;
    TPanelMatrix& operator=(const TPanelMatrix&) = delete;

    // Rows r0 .. r1 - 1 of columns j0 .. j1 - 1 into A.
    void Store(TDenseMatrix& A, int j0, int j1, int r0, int r1) const
    {
        for (int i = r0; i < r1; ++i) {
            double* row = A.Row(i);
            for (int j = j0; j < j1;) {
                const int end = std::min(j1, (j / QRPanelWidth + 1) * QRPanelWidth);
                std::copy(Element(i, j), Element(i, j) + (end - j), row + j);
                j = end;
            }
        }
    }

    std::size_t PanelStride() const { return static_cast<std::size_t>(FRows) * QRPanelWidth; }
    double* Panel(int jp) const { return FData + jp * PanelStride(); }
    double* Element(int i, int j) const
    {
        return Panel(j / QRPanelWidth) + static_cast<std::size_t>(i) * QRPanelWidth + j % QRPanelWidth;
    }
    int Order() const { return FOrder; }

    // Zeros the padding rows of panel jp again: a step that met infinities may have left NaN there.
    void ClearPadding(int jp) const
    {
        std::fill(Panel(jp) + static_cast<std::size_t>(FOrder) * QRPanelWidth, Panel(jp) + PanelStride(), 0.0);
    }

private:
    static constexpr std::size_t KeptDoubles = std::size_t{8} << 20; // 64 MB, an order of about 2800
    static thread_local TLargeBuffer<double> FBuffer;
    int FOrder = 0, FPanels = 0, FRows = 0;
    double* FData = nullptr;
};

thread_local TLargeBuffer<double> TPanelMatrix::FBuffer;

// A factored panel of the blocked decomposition: its reflections in column-major form (P), the T of
// their compact form, and V, the row-major padded copy the trailing-update kernels read; Z holds the
// products of the reflections that T is made from.
struct TPanel {
    int Start = 0; // first row and column
    int Rows = 0;  // m, down to the last row
    int Width = 0; // jb, the reflections it holds
    std::vector<double> P, T, V, Z;
};

// Sizes `panel` for the jb columns from column (and row) kb of a matrix of order n.
void LayOutPanel(TPanel& panel, int kb, int jb, int n)
{
    const int m = n - kb;
    panel.Start = kb;
    panel.Rows = m;
    panel.Width = jb;
    panel.P.resize(static_cast<std::size_t>(m) * jb);
    panel.V.resize(static_cast<std::size_t>(RoundUp(m, QRPad)) * RoundUp(jb, QRPad));
    panel.Z.resize(static_cast<std::size_t>(jb) * jb);
    panel.T.resize(static_cast<std::size_t>(jb) * jb);
}

// The copies between M's column panels and the column-major P go by tiles of a few rows, so that both sides
// stay in a few cache lines. Element (kb + i, kb + q) of M is at M.Element(kb, kb + q) + i QRPanelWidth.
constexpr int TileRows = 8;

// Columns q0 .. q1 - 1 of the panel from M into P.
void GatherPanelColumns(const TPanelMatrix& M, TPanel& panel, int q0, int q1)
{
    const int m = panel.Rows, kb = panel.Start;
    for (int i0 = 0; i0 < m; i0 += TileRows) {
        const int rows = std::min(TileRows, m - i0);
        for (int q = q0; q < q1; ++q) {
            const double* from = M.Element(kb, kb + q) + static_cast<std::size_t>(i0) * QRPanelWidth;
            double* to = panel.P.data() + static_cast<std::size_t>(q) * m + i0;
            for (int t = 0; t < rows; ++t) to[t] = from[t * QRPanelWidth];
        }
    }
}

// Columns of a panel copied out and multiplied for T by one task, once the panel's reflections have
// reached them.
constexpr int CopyColumns = 8;

// The factorisation of a panel under way: its reflections are made by one thread, in order, while other
// threads copy the finished columns out and take their products for T.
struct TPanelProgress {
    std::atomic<int> Finished{0};   // tasks of the panel's columns that have ended their updates
    std::atomic<int> Made{0};       // reflections made
    std::atomic<int> CopiesTaken{0}, CopiesDone{0};
};

// Columns q0 .. q1 - 1 of a factored panel: into A (rows from the panel's first), into V (row i holds
// v_p[i] for p <= i, zeros elsewhere and in the padding), into the packed reflections when asked for, and
// their products with the earlier reflections into Z (row p: z[q] = v_q . v_p over rows p.., q < p).
void CopyPanelColumns(TDenseMatrix& A, double* packed, TPanel& panel, int q0, int q1, const TQRKernels& K)
{
    const int m = panel.Rows, kb = panel.Start, jb = panel.Width;
    const int mPad = RoundUp(m, QRPad), jbPad = RoundUp(jb, QRPad);
    const int vEnd = q1 == jb ? jbPad : q1; // the last columns take V's zero columns along
    const double* P = panel.P.data();
    double* V = panel.V.data();
    for (int i = 0; i < m; ++i) {
        double* to = A.Row(kb + i) + kb;
        double* v = V + static_cast<std::size_t>(i) * jbPad;
        for (int q = q0; q < q1; ++q) {
            const double value = P[static_cast<std::size_t>(q) * m + i];
            to[q] = value;
            v[q] = q <= i ? value : 0.0;
        }
        std::fill(v + q1, v + vEnd, 0.0);
    }
    for (int i = m; i < mPad; ++i) std::fill_n(V + static_cast<std::size_t>(i) * jbPad + q0, vEnd - q0, 0.0);
    if (packed)
        for (int p = q0; p < q1; ++p)
            std::copy_n(P + static_cast<std::size_t>(p) * m + p, m - p, packed + ReflectionOffset(kb + p, kb + m));
    for (int p = q0; p < q1; ++p) {
        const double* vp = P + static_cast<std::size_t>(p) * m;
        double* z = panel.Z.data() + static_cast<std::size_t>(p) * jb;
        int q = 0;
        for (; q + 1 < p; q += 2) {
            const double* one = P + static_cast<std::size_t>(q) * m + p;
            K.Dot2(vp + p, one, one + m, m - p, &z[q], &z[q + 1]);
        }
        if (q < p) z[q] = K.Dot(P + static_cast<std::size_t>(q) * m + p, vp + p, m - p);
    }
}

// T of the compact form from Z and c: H_0 ... H_(jb-1) = I - V T V^T with H_p = I - v_p v_p^T / c_p.
void MakeCompactFactor(TPanel& panel, const double* c)
{
    const int jb = panel.Width;
    std::vector<double>& T = panel.T;
    std::fill(T.begin(), T.end(), 0.0);
    for (int p = 0; p < jb; ++p) {
        const double tau = c[p] == 0.0 ? 0.0 : 1.0 / c[p];
        const double* z = panel.Z.data() + static_cast<std::size_t>(p) * jb;
        for (int q = 0; q < p; ++q) {
            double s = 0.0;
            for (int r = q; r < p; ++r) s += T[static_cast<std::size_t>(q) * jb + r] * z[r];
            T[static_cast<std::size_t>(q) * jb + p] = -tau * s;
        }
        T[static_cast<std::size_t>(p) * jb + p] = tau;
    }
}

// W := T^T W, row p of W (stride ldw) becoming sum over q <= p of T[q][p] W[q], the rows taken from the
// last so that every row still reads the old rows above it.
void ApplyCompactFactor(const TPanel& panel, double* W, int ldw)
{
    const int jb = panel.Width;
    const std::vector<double>& T = panel.T;
    for (int p = jb - 1; p >= 0; --p) {
        double* wp = W + static_cast<std::size_t>(p) * ldw;
        const double tpp = T[static_cast<std::size_t>(p) * jb + p];
        for (int jj = 0; jj < ldw; ++jj) wp[jj] *= tpp;
        for (int q = 0; q < p; ++q) {
            const double tqp = T[static_cast<std::size_t>(q) * jb + p];
            if (tqp == 0.0) continue;
            const double* wq = W + static_cast<std::size_t>(q) * ldw;
            for (int jj = 0; jj < ldw; ++jj) wp[jj] += tqp * wq[jj];
        }
    }
}

// Applies the panel's reflections, in order, to `panels` column panels of its rows whose first row is at
// B (panel stride `stride`): B := (I - V T^T V^T) B as W = V^T B, W = T^T W, B -= V W. Every column is
// computed apart from the others (the kernels keep one vector lane per column), so how columns are
// grouped into calls changes no result.
void UpdatePanels(const TPanel& panel, double* B, int panels, std::size_t stride, const TQRKernels& K)
{
    const int mPad = RoundUp(panel.Rows, QRPad);
    const int jbPad = RoundUp(panel.Width, QRPad);
    const int ldw = panels * QRPanelWidth;
    thread_local std::vector<double> W;
    W.assign(static_cast<std::size_t>(jbPad) * ldw, 0.0);
    K.VtB(panel.V.data(), mPad, jbPad, B, panels, stride, W.data(), ldw);
    ApplyCompactFactor(panel, W.data(), ldw);
    K.BMinusVW(panel.V.data(), mPad, jbPad, W.data(), ldw, B, panels, stride);
}

// The panel's update of columns j0..j1-1 of M, where j1 is a multiple of QRPanelWidth or the order. The
// column panels are updated in place; a first panel that starts left of j0 (its left columns belong to
// the panel itself) is updated in a copy of which only the columns from j0 go back.
void UpdateColumns(const TPanelMatrix& M, const TPanel& panel, int j0, int j1, const TQRKernels& K)
{
    const int row0 = panel.Start, mPad = RoundUp(panel.Rows, QRPad);
    int jp = j0 / QRPanelWidth;
    const int jpEnd = (j1 + QRPanelWidth - 1) / QRPanelWidth;
    if (j0 % QRPanelWidth != 0) {
        thread_local std::vector<double> copy;
        copy.assign(static_cast<std::size_t>(mPad) * QRPanelWidth, 0.0);
        const int first = j0 % QRPanelWidth;
        const int last = std::min(QRPanelWidth, j1 - jp * QRPanelWidth);
        const double* source = M.Panel(jp) + static_cast<std::size_t>(row0) * QRPanelWidth;
        for (int i = 0; i < panel.Rows; ++i) {
            const std::size_t row = static_cast<std::size_t>(i) * QRPanelWidth;
            std::copy(source + row + first, source + row + last, copy.data() + row + first);
        }
        UpdatePanels(panel, copy.data(), 1, 0, K);
        double* target = M.Panel(jp) + static_cast<std::size_t>(row0) * QRPanelWidth;
        for (int i = 0; i < panel.Rows; ++i) {
            const std::size_t row = static_cast<std::size_t>(i) * QRPanelWidth;
            std::copy(copy.data() + row + first, copy.data() + row + last, target + row + first);
        }
        ++jp;
    }
    if (jp >= jpEnd) return;
    for (int q = jp; q < jpEnd; ++q) M.ClearPadding(q);
    UpdatePanels(panel, M.Panel(jp) + static_cast<std::size_t>(row0) * QRPanelWidth, jpEnd - jp, M.PanelStride(), K);
}

// Panels whose buffers are in use at once: the look-ahead of the decomposition. A panel's buffers serve
// the panel PanelSlots steps later once every update with it has ended.
constexpr int PanelSlots = 4;

// An int on a cache line of its own, so that threads counting different things do not slow each other.
struct alignas(64) TCounter {
    std::atomic<int> Value{0};
};

// The blocked decomposition of an order above 2 PanelColumns, in the panel layout, as tasks that the
// threads of the worker pool take as soon as what they need is done. The columns are cut into blocks of
// PanelColumns; panel k is the leading columns of block k, and step k applies its reflections to every
// later block. A block is loaded from A, takes steps 0, 1, ... in order and, holding a panel, is factored
// once step k - 1 has reached it: its columns take that step a column panel per task, the task that ends
// last makes the panel's reflections one after another, and other threads copy out the columns already
// finished and take their products for T meanwhile. Later steps start on the blocks that an earlier step
// has left while that step still runs elsewhere, so no thread waits for a whole step to end, and no
// thread waits for another inside a task, so a thread that the system holds up delays only its own
// task. A thread takes the next panel's columns first, then its copies, the right-hand side, the loads,
// and the lowest step's next block. Every column receives the same operations in the same order as in a
// plain loop over the steps, whichever thread does them. Finished columns go back to A at once.
class TBlockedQR {
public:
    TBlockedQR(TDenseMatrix& A, double* d, double* c, const TQRKernels& K, double* x, double* packed)
        : FA(A), FD(d), FC(c), FK(K), FX(x), FPacked(packed), FOrder(A.Rows()), FM(FOrder)
    {
        const int n = FOrder;
        FPanelCount = (n - 1 + PanelColumns - 1) / PanelColumns;
        FBlockCount = (n + PanelColumns - 1) / PanelColumns;
        // The last column takes no reflection; in the last panel's block it takes the last step alone.
        FTail = FBlockCount == FPanelCount;
        FPanels = std::make_unique<TPanelProgress[]>(FPanelCount);
        FHeadsTaken = std::make_unique<TCounter[]>(FPanelCount);
        FNextBlock = std::make_unique<TCounter[]>(FPanelCount);
        FReadersDone = std::make_unique<TCounter[]>(FPanelCount);
        FSlotReady = std::make_unique<TCounter[]>(FPanelCount);
        FReaders.resize(FPanelCount);
        FStepsDone = std::make_unique<TCounter[]>(FBlockCount);
        for (int b = 0; b < FBlockCount; ++b) FStepsDone[b].Value.store(-1, std::memory_order_relaxed);
        int total = FBlockCount - 1; // loads; block 0 is loaded by its head tasks
        for (int k = 0; k < FPanelCount; ++k) {
            const int first = FirstUpdateBlock(k);
            FNextBlock[k].Value.store(first, std::memory_order_relaxed);
            const int updates = std::max(0, FBlockCount - first);
            FReaders[k] = updates + (k + 1 < FPanelCount ? Heads(k + 1) : 0) + (FX ? 1 : 0) +
                          (k == FPanelCount - 1 && FTail ? 1 : 0);
            total += updates + Heads(k) + (PanelWidth(k) + CopyColumns - 1) / CopyColumns + (FX ? 1 : 0);
        }
        FTotal = total + (FTail ? 1 : 0);
        for (int k = 0; k < std::min(PanelSlots, FPanelCount); ++k) LayOut(k);
    }

    void Run()
    {
        WorkerPool().ParallelFor(WorkerPool().ThreadCount(), [this](int) { Work(); });
    }

private:
    int BlockEnd(int b) const { return std::min(FOrder, (b + 1) * PanelColumns); }
    int PanelWidth(int k) const { return std::min(PanelColumns, FOrder - 1 - k * PanelColumns); }
    int Heads(int k) const { return (BlockEnd(k) - k * PanelColumns + QRPanelWidth - 1) / QRPanelWidth; }
    // The first block that step k updates as a block: the one after the next panel's.
    int FirstUpdateBlock(int k) const { return k + 1 < FPanelCount ? k + 2 : k + 1; }
    TPanel& Slot(int k) const { return FSlots[k % PanelSlots]; }
    static TPanel* CallersSlots()
    {
        // Kept per thread with their buffers: fresh megabytes would cost page faults at every decomposition.
        thread_local TPanel slots[PanelSlots];
        return slots;
    }

    void LayOut(int k)
    {
        LayOutPanel(Slot(k), k * PanelColumns, PanelWidth(k), FOrder);
        FSlotReady[k].Value.store(1, std::memory_order_release);
    }

    // A task that read panel k has ended; the last of them hands the panel's buffers on.
    void ReaderDone(int k)
    {
        if (FReadersDone[k].Value.fetch_add(1, std::memory_order_acq_rel) + 1 == FReaders[k] &&
            k + PanelSlots < FPanelCount)
            LayOut(k + PanelSlots);
    }

    template <class F>
    void Perform(F&& task)
    {
        FTaken.fetch_add(1, std::memory_order_relaxed);
        try {
            task();
        } catch (...) {
            FFailed.store(true, std::memory_order_release);
            throw;
        }
    }

    void Work()
    {
        for (int round = 0; FTaken.load(std::memory_order_relaxed) < FTotal;) {
            if (FFailed.load(std::memory_order_acquire)) return;
            if (TakeHead() || TakeCopy() || TakeSolve() || TakeTail() || TakeLoad() || TakeUpdate())
                round = 0;
            else
                PoolWaitRound(round++);
        }
    }

    // A column panel of the next panel's block: step k - 1 on it, rows above the panel back to A, its panel
    // columns into the panel. The task that ends last makes the panel's reflections.
    bool TakeHead()
    {
        const int k = FFactored.load(std::memory_order_acquire);
        if (k >= FPanelCount || !FSlotReady[k].Value.load(std::memory_order_acquire)) return false;
        if (k > 0 && FStepsDone[k].Value.load(std::memory_order_acquire) != k - 1) return false;
        const int tasks = Heads(k);
        std::atomic<int>& taken = FHeadsTaken[k].Value;
        if (taken.load(std::memory_order_relaxed) >= tasks) return false;
        const int h = taken.fetch_add(1, std::memory_order_acq_rel);
        if (h >= tasks) return false;
        Perform([&] {
            TPanel& panel = Slot(k);
            const int kb = k * PanelColumns, j0 = kb + h * QRPanelWidth;
            const int j1 = std::min(BlockEnd(k), j0 + QRPanelWidth), panelEnd = kb + panel.Width;
            if (k == 0) {
                FM.Load(FA, j0 / QRPanelWidth);
            } else {
                UpdateColumns(FM, Slot(k - 1), j0, j1, FK);
                ReaderDone(k - 1);
                FM.Store(FA, j0, std::min(j1, panelEnd), 0, kb);
            }
            if (j0 < panelEnd) GatherPanelColumns(FM, panel, j0 - kb, std::min(j1, panelEnd) - kb);
            TPanelProgress& progress = FPanels[k];
            if (progress.Finished.fetch_add(1, std::memory_order_acq_rel) + 1 == tasks)
                FactorPanel(panel.P.data(), panel.Rows, panel.Width, panel.Width, FD + kb, FC + kb, FK, &progress.Made);
        });
        return true;
    }

    // Columns of the panel under way whose reflections are made: copied out, their products taken; the
    // task that ends the panel's last makes T and lets the panel's step begin.
    bool TakeCopy()
    {
        const int k = FFactored.load(std::memory_order_acquire);
        if (k >= FPanelCount) return false;
        TPanelProgress& progress = FPanels[k];
        const int width = PanelWidth(k), copies = (width + CopyColumns - 1) / CopyColumns;
        int u = progress.CopiesTaken.load(std::memory_order_acquire);
        if (u >= copies) return false;
        const int q1 = std::min(width, (u + 1) * CopyColumns);
        if (progress.Made.load(std::memory_order_acquire) < q1) return false;
        if (!progress.CopiesTaken.compare_exchange_strong(u, u + 1, std::memory_order_acq_rel)) return false;
        Perform([&] {
            TPanel& panel = Slot(k);
            CopyPanelColumns(FA, FPacked, panel, u * CopyColumns, q1, FK);
            if (progress.CopiesDone.fetch_add(1, std::memory_order_acq_rel) + 1 == copies) {
                MakeCompactFactor(panel, FC + k * PanelColumns);
                FFactored.store(k + 1, std::memory_order_release);
            }
        });
        return true;
    }

    // The next panel's reflections on the right-hand side, after the earlier panels'.
    bool TakeSolve()
    {
        if (!FX) return false;
        const int k = FSolved.load(std::memory_order_acquire);
        if (k >= FFactored.load(std::memory_order_acquire)) return false;
        int expected = k;
        if (!FSolveTaken.compare_exchange_strong(expected, k + 1, std::memory_order_acq_rel)) return false;
        Perform([&] {
            const TPanel& panel = Slot(k);
            ApplyPanelReflections(panel.P.data(), panel.Rows, panel.Start, panel.Width, FC, FX);
            ReaderDone(k);
        });
        FSolved.store(k + 1, std::memory_order_release);
        return true;
    }

    // The last column's last step, once the last panel is factored.
    bool TakeTail()
    {
        if (!FTail || FFactored.load(std::memory_order_acquire) < FPanelCount) return false;
        if (FTailTaken.exchange(true, std::memory_order_acq_rel)) return false;
        Perform([&] {
            UpdateColumns(FM, Slot(FPanelCount - 1), FOrder - 1, FOrder, FK);
            ReaderDone(FPanelCount - 1);
            FM.Store(FA, FOrder - 1, FOrder, 0, FOrder);
        });
        return true;
    }

    bool TakeLoad()
    {
        if (FNextLoad.load(std::memory_order_relaxed) >= FBlockCount) return false;
        const int b = FNextLoad.fetch_add(1, std::memory_order_relaxed);
        if (b >= FBlockCount) return false;
        Perform([&] {
            for (int jp = b * PanelColumns / QRPanelWidth; jp * QRPanelWidth < BlockEnd(b); ++jp) FM.Load(FA, jp);
        });
        FStepsDone[b].Value.store(0, std::memory_order_release);
        return true;
    }

    // The lowest step's next block, when the step before has left it; a block without a panel goes back
    // to A after the last step.
    bool TakeUpdate()
    {
        const int factored = FFactored.load(std::memory_order_acquire);
        for (int k = FLowestStep.load(std::memory_order_relaxed); k < factored; ++k) {
            std::atomic<int>& next = FNextBlock[k].Value;
            int b = next.load(std::memory_order_acquire);
            while (b < FBlockCount && FStepsDone[b].Value.load(std::memory_order_acquire) == k) {
                if (!next.compare_exchange_weak(b, b + 1, std::memory_order_acq_rel)) continue;
                Perform([&] {
                    UpdateColumns(FM, Slot(k), b * PanelColumns, BlockEnd(b), FK);
                    ReaderDone(k);
                    if (b >= FPanelCount && k == FPanelCount - 1) FM.Store(FA, b * PanelColumns, BlockEnd(b), 0, FOrder);
                });
                FStepsDone[b].Value.store(k + 1, std::memory_order_release);
                return true;
            }
            if (b >= FBlockCount) {
                int lowest = k;
                FLowestStep.compare_exchange_strong(lowest, k + 1, std::memory_order_relaxed);
            }
        }
        return false;
    }

    TDenseMatrix& FA;
    double* FD;
    double* FC;
    const TQRKernels& FK;
    double* FX;
    double* FPacked;
    const int FOrder;
    const TPanelMatrix FM;
    int FPanelCount = 0, FBlockCount = 0, FTotal = 0;
    bool FTail = false;
    TPanel* const FSlots = CallersSlots();
    std::unique_ptr<TPanelProgress[]> FPanels;
    std::unique_ptr<TCounter[]> FHeadsTaken, FNextBlock, FReadersDone, FSlotReady, FStepsDone;
    std::vector<int> FReaders; // tasks that read each panel
    std::atomic<int> FTaken{0}, FFactored{0}, FSolved{0}, FSolveTaken{0}, FNextLoad{1}, FLowestStep{0};
    std::atomic<bool> FTailTaken{false}, FFailed{false};
};

} // namespace

const char* QRKernelName() { return ActiveKernels().Name; }

// Storage of packed reflections that the decomposition fills as its panels are factored.
class TQRReflectionsWriter {
public:
    static double* Prepare(TQRReflections& reflections, int order)
    {
        reflections.FRows.Resize(ReflectionOffset(order, order));
        reflections.FOrder = order;
        return reflections.FRows.data();
    }
};

namespace {

void DecomposeUsing(const TQRKernels& K, TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c, arofdoubleM* b,
                    TQRReflections* packed)
{
    const int n = SquareOrder(A);
    if (b) CheckVector(*b, n);
    d.SetLength(n);
    c.SetLength(n);
    if (n == 0) {
        if (packed) packed->Build(A);
        return;
    }
    double* x = b ? b->data() : nullptr;
    if (n <= 2 * PanelColumns) {
        // Small systems: the whole matrix is one panel.
        std::vector<double> P;
        GatherPanel(A, 0, 0, n, P);
        FactorPanel(P.data(), n, n, n - 1, d.data(), c.data(), K);
        ScatterPanel(A, 0, 0, n, P);
        if (x) ApplyPanelReflections(P.data(), n, 0, n - 1, c.data(), x);
        if (packed) packed->Build(A);
    } else {
        TBlockedQR(A, d.data(), c.data(), K, x, packed ? TQRReflectionsWriter::Prepare(*packed, n) : nullptr).Run();
    }
    d[n - 1] = A(n - 1, n - 1);
}

} // namespace

void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c)
{
    DecomposeUsing(ActiveKernels(), A, d, c, nullptr, nullptr);
}

void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c, arofdoubleM& b)
{
    DecomposeUsing(ActiveKernels(), A, d, c, &b, nullptr);
}

void QRDecompose(TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c, arofdoubleM& b, TQRReflections& packed)
{
    DecomposeUsing(ActiveKernels(), A, d, c, &b, &packed);
}

void QRDecomposeUsing(const TQRKernels& K, TDenseMatrix& A, arofdoubleM& d, arofdoubleM& c)
{
    DecomposeUsing(K, A, d, c, nullptr, nullptr);
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

namespace {

// x := Q^T x by the reflections in order, each as the plain loops down A's columns compute it: the sum
// of a reflection is taken in the pass that applies the one before it, over the values just updated.
void ApplyReflections(const TQRReflections& V, const arofdoubleM& c, double* x)
{
    const int n = V.Order();
    if (n < 2) return;
    const double* v = V.Vector(0);
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += v[i] * x[i];
    for (int j = 0; j < n - 1; ++j) {
        const double tau = s / c[j];
        x[j] -= tau * v[j];
        if (j + 1 < n - 1) {
            const double* w = V.Vector(j + 1);
            s = 0.0;
            for (int i = j + 1; i < n; ++i) {
                x[i] -= tau * v[i];
                s += w[i] * x[i];
            }
            v = w;
        } else {
            for (int i = j + 1; i < n; ++i) x[i] -= tau * v[i];
        }
    }
}

// Calls solve(reflections) with the packed reflections of A for a one-off solve. Their storage is kept
// per thread up to an order of about 4000 (64 MB), as for the decomposition's panels.
template <class F>
void WithPackedReflections(const TDenseMatrix& A, F&& solve)
{
    thread_local TQRReflections reflections;
    reflections.Build(A);
    solve(static_cast<const TQRReflections&>(reflections));
    if (A.Rows() > 4000) reflections = TQRReflections();
}

} // namespace

void TQRReflections::Build(const TDenseMatrix& A)
{
    const int n = SquareOrder(A);
    FRows.Resize(ReflectionOffset(n, n));
    FOrder = n;
    double* R = FRows.data();
    ParallelForBlocks(n - 1, 16, [&](int j0, int j1) {
        for (int i = j0; i < n; ++i) {
            const double* row = A.Row(i);
            for (int j = j0; j < std::min(j1, i + 1); ++j) R[ReflectionOffset(j, n) + (i - j)] = row[j];
        }
    });
}

const double* TQRReflections::Vector(int k) const
{
    if (k < 0 || k >= FOrder - 1) throw ERangeError();
    return FRows.data() + ReflectionOffset(k, FOrder) - k;
}

void QRSolve(const TDenseMatrix& A, const arofdoubleM& d, const arofdoubleM& c, arofdoubleM& b)
{
    WithPackedReflections(A, [&](const TQRReflections& V) { QRSolve(A, V, d, c, b); });
}

void QRSolve(const TDenseMatrix& A, const TQRReflections& V, const arofdoubleM& d, const arofdoubleM& c,
             arofdoubleM& b)
{
    const int n = SquareOrder(A);
    if (V.Order() != n) throw ERangeError();
    CheckVector(c, n);
    CheckVector(b, n);
    ApplyReflections(V, c, b.data());
    QRBackSubstitute(A, d, b);
}

void QRSolveMany(const TDenseMatrix& A, const arofdoubleM& d, const arofdoubleM& c, TDenseMatrix& B)
{
    WithPackedReflections(A, [&](const TQRReflections& V) { QRSolveMany(A, V, d, c, B); });
}

void QRSolveMany(const TDenseMatrix& A, const TQRReflections& V, const arofdoubleM& d, const arofdoubleM& c,
                 TDenseMatrix& B)
{
    const int n = SquareOrder(A);
    if (V.Order() != n) throw ERangeError();
    CheckVector(c, n);
    CheckVector(d, n);
    if (B.Rows() != n) throw ERangeError();
    const int r = B.Cols();
    if (n == 0 || r == 0) return;
    // Every column is solved apart from the others, on the worker pool.
    WorkerPool().ParallelFor(r, [&](int k) {
        std::vector<double> x(n);
        for (int i = 0; i < n; ++i) x[i] = B.Row(i)[k];
        ApplyReflections(V, c, x.data());
        for (int i = n - 1; i >= 0; --i) {
            const double* arow = A.Row(i);
            double xi = x[i];
            for (int j = i + 1; j < n; ++j) xi -= arow[j] * x[j];
            x[i] = xi / d[i];
        }
        for (int i = 0; i < n; ++i) B.Row(i)[k] = x[i];
    });
}
