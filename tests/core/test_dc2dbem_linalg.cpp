// Householder QR of the solver: the blocked decomposition against the plain loops, solves, the
// degenerate cases (order 0 and 1, a zero column), and the matrix's storage.
#include "core/DC2dBEMLinalg.h"
#include "core/DC2dBEMQRKernels.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

namespace {

TDenseMatrix RandomMatrix(int n, unsigned seed, double diagonal = 0.0)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    TDenseMatrix A(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) A(i, j) = dist(gen) + (i == j ? diagonal : 0.0);
    return A;
}

double MatrixMaxAbs(const TDenseMatrix& A)
{
    double m = 0.0;
    for (int i = 0; i < A.Rows(); ++i)
        for (int j = 0; j < A.Cols(); ++j) m = std::max(m, std::fabs(A(i, j)));
    return m;
}

// Sizes around the panel width (48) and the one-panel limit (96), with last columns on and off the
// boundaries of the 12-column kernel panels.
const int kSizes[] = {2, 3, 7, 47, 48, 49, 96, 97, 130, 250, 301};

} // namespace

TEST(QRDecompose, BlockedAgreesWithPlainLoops)
{
    for (int n : kSizes) {
        SCOPED_TRACE(n);
        const TDenseMatrix A0 = RandomMatrix(n, 100 + n);
        TDenseMatrix blocked = A0, plain = A0;
        arofdoubleM d1, c1, d2, c2;
        QRDecompose(blocked, d1, c1);
        QRDecomposeReference(plain, d2, c2);
        const double tol = 1e-12 * n * MatrixMaxAbs(A0);
        for (int i = 0; i < n; ++i) {
            EXPECT_NEAR(d1[i], d2[i], tol);
            EXPECT_NEAR(c1[i], c2[i], tol * 10);
            for (int j = 0; j < n; ++j) ASSERT_NEAR(blocked(i, j), plain(i, j), tol) << i << "," << j;
        }
    }
}

TEST(QRDecompose, BaselineAndWideKernelsAgree)
{
    if (!QRKernelsV3()) GTEST_SKIP() << "no AVX2 and FMA here";
    for (int n : {130, 301}) {
        const TDenseMatrix A0 = RandomMatrix(n, 3 * n);
        TDenseMatrix a = A0, b = A0;
        arofdoubleM d1, c1, d2, c2;
        QRDecomposeUsing(QRKernelsBaseline(), a, d1, c1);
        QRDecomposeUsing(*QRKernelsV3(), b, d2, c2);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) ASSERT_NEAR(a(i, j), b(i, j), 1e-12 * n);
    }
}

TEST(QRDecompose, ColumnsOfRKeepTheNormsOfA)
{
    // Q is orthogonal, so column j of R = Q^T A has the Euclidean norm of column j of A.
    for (int n : kSizes) {
        SCOPED_TRACE(n);
        const TDenseMatrix A0 = RandomMatrix(n, 7 * n);
        TDenseMatrix A = A0;
        arofdoubleM d, c;
        QRDecompose(A, d, c);
        for (int j = 0; j < n; ++j) {
            double a2 = 0.0, r2 = d[j] * d[j];
            for (int i = 0; i < n; ++i) a2 += A0(i, j) * A0(i, j);
            for (int i = 0; i < j; ++i) r2 += A(i, j) * A(i, j);
            ASSERT_NEAR(std::sqrt(r2), std::sqrt(a2), 1e-12 * n);
        }
    }
}

TEST(QRSolve, SolvesAndManyRightHandSidesMatchSeparateSolves)
{
    for (int n : {1, 5, 97, 260}) {
        SCOPED_TRACE(n);
        const TDenseMatrix A0 = RandomMatrix(n, 31 + n, 2.0);
        TDenseMatrix A = A0;
        arofdoubleM d, c;
        QRDecompose(A, d, c);

        // The matrix itself as right-hand sides: the solution is the identity.
        TDenseMatrix B = A0;
        QRSolveMany(A, d, c, B);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) ASSERT_NEAR(B(i, j), i == j ? 1.0 : 0.0, 1e-10);

        // Three right-hand sides at once equal three single solves, and solve A0 x = b.
        std::mt19937 gen(n);
        std::uniform_real_distribution<double> dist(-5.0, 5.0);
        TDenseMatrix many(n, 3);
        arofdoubleM single[3];
        for (int k = 0; k < 3; ++k) {
            single[k].SetLength(n);
            for (int i = 0; i < n; ++i) many(i, k) = single[k][i] = dist(gen);
        }
        const TDenseMatrix rhs = many;
        // Reflections packed once serve every solve on the decomposition, with the same results.
        TQRReflections packed;
        packed.Build(A);
        TDenseMatrix shared = many;
        QRSolveMany(A, packed, d, c, shared);
        arofdoubleM sharedSingle = single[1];
        QRSolve(A, packed, d, c, sharedSingle);
        QRSolveMany(A, d, c, many);
        for (int k = 0; k < 3; ++k) {
            QRSolve(A, d, c, single[k]);
            if (k == 1) {
                EXPECT_EQ(sharedSingle, single[k]);
            }
            for (int i = 0; i < n; ++i) EXPECT_EQ(shared(i, k), many(i, k));
            for (int i = 0; i < n; ++i) {
                ASSERT_NEAR(many(i, k), single[k][i], 1e-11);
                double r = -rhs(i, k);
                for (int j = 0; j < n; ++j) r += A0(i, j) * single[k][j];
                ASSERT_NEAR(r, 0.0, 1e-10);
            }
        }
    }
}

TEST(QRDecompose, RightHandSideTurnedOnTheWayGivesTheSolveBitForBit)
{
    // The decomposition that applies its reflections to b as it goes, then the back substitution, gives
    // the same bits as decomposing and then solving, for one panel and for the blocked steps alike.
    for (int n : kSizes) {
        SCOPED_TRACE(n);
        const TDenseMatrix A0 = RandomMatrix(n, 11 * n, 2.0);
        std::mt19937 gen(n);
        std::uniform_real_distribution<double> dist(-5.0, 5.0);
        arofdoubleM b0(n);
        for (int i = 0; i < n; ++i) b0[i] = dist(gen);

        TDenseMatrix A1 = A0, A2 = A0;
        arofdoubleM d1, c1, d2, c2, x1 = b0, x2 = b0;
        QRDecompose(A1, d1, c1);
        QRSolve(A1, d1, c1, x1);
        QRDecompose(A2, d2, c2, x2);
        QRBackSubstitute(A2, d2, x2);
        EXPECT_EQ(d1, d2);
        EXPECT_EQ(c1, c2);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(std::bit_cast<std::uint64_t>(x1[i]), std::bit_cast<std::uint64_t>(x2[i])) << i;
    }
    TDenseMatrix A = RandomMatrix(5, 1);
    arofdoubleM d, c, shortB(4);
    EXPECT_THROW(QRDecompose(A, d, c, shortB), ERangeError);
}

TEST(QRDecompose, ReflectionsPackedOnTheWayAreThosePackedAfterwards)
{
    // Orders whose last column lies in the last panel's block, alone in a block (97, 145), at the start
    // of a kernel panel (133), and with more panels than are in flight at once (250 on).
    for (int n : {2, 47, 96, 97, 130, 133, 145, 250, 301}) {
        SCOPED_TRACE(n);
        const TDenseMatrix A0 = RandomMatrix(n, 7 * n, 2.0);
        arofdoubleM b0(n);
        for (int i = 0; i < n; ++i) b0[i] = std::sin(i + 1.0);
        TDenseMatrix A1 = A0, A2 = A0;
        arofdoubleM d1, c1, d2, c2, x1 = b0, x2 = b0;
        QRDecompose(A1, d1, c1, x1);
        TQRReflections afterwards, onTheWay;
        afterwards.Build(A1);
        QRDecompose(A2, d2, c2, x2, onTheWay);
        ASSERT_EQ(onTheWay.Order(), n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(A1(i, j)), std::bit_cast<std::uint64_t>(A2(i, j))) << i << "," << j;
        EXPECT_EQ(d1, d2);
        EXPECT_EQ(c1, c2);
        EXPECT_EQ(x1, x2);
        for (int k = 0; k + 1 < n; ++k)
            for (int i = k; i < n; ++i)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(afterwards.Vector(k)[i]),
                          std::bit_cast<std::uint64_t>(onTheWay.Vector(k)[i]))
                    << k << "," << i;
    }
}

TEST(QRSolve, ReflectionsOfAnotherOrderAreRefused)
{
    TDenseMatrix A = RandomMatrix(6, 5, 2.0), other = RandomMatrix(7, 5, 2.0);
    arofdoubleM d, c, b(6);
    QRDecompose(A, d, c);
    TQRReflections packed;
    packed.Build(other);
    EXPECT_THROW(QRSolve(A, packed, d, c, b), ERangeError);
    TDenseMatrix B(6, 2);
    EXPECT_THROW(QRSolveMany(A, packed, d, c, B), ERangeError);
    EXPECT_THROW(packed.Vector(6), ERangeError); // order 7 has reflections 0 to 5
    EXPECT_NO_THROW(packed.Vector(5));
}

TEST(QRDecompose, DegenerateOrders)
{
    TDenseMatrix empty;
    arofdoubleM d, c;
    QRDecompose(empty, d, c);
    EXPECT_EQ(d.Length(), 0);

    // 1 x 1: no reflection, d[0] = a, the solution b / a.
    TDenseMatrix one(1, 1);
    one(0, 0) = 4.0;
    QRDecompose(one, d, c);
    EXPECT_EQ(d[0], 4.0);
    arofdoubleM b{10.0};
    QRSolve(one, d, c, b);
    EXPECT_EQ(b[0], 2.5);

    // A zero first column: no reflection, c[0] = d[0] = 0, and the solution is not finite.
    for (int n : {3, 120}) {
        TDenseMatrix A = RandomMatrix(n, 5);
        for (int i = 0; i < n; ++i) A(i, 0) = 0.0;
        QRDecompose(A, d, c);
        EXPECT_EQ(c[0], 0.0);
        EXPECT_EQ(d[0], 0.0);
        arofdoubleM x(n);
        for (int i = 0; i < n; ++i) x[i] = 1.0;
        QRSolve(A, d, c, x);
        bool finite = true;
        for (int i = 0; i < n; ++i) finite = finite && std::isfinite(x[i]);
        EXPECT_FALSE(finite);
    }

    TDenseMatrix notSquare(2, 3);
    EXPECT_THROW(QRDecompose(notSquare, d, c), ERangeError);
}

TEST(TDenseMatrix, KeepsItsStorageAndMovesWhole)
{
    TDenseMatrix m(3, 5);
    m.Fill(7.0);
    const double* storage = m.Row(0);
    m.SetSizeForOverwrite(2, 4); // smaller: the same storage, values left as they were
    EXPECT_EQ(m.Row(0), storage);
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Cols(), 4);
    EXPECT_EQ(m(1, 3), 7.0);
    m.SetSize(2, 4);
    EXPECT_EQ(m(1, 3), 0.0);
    EXPECT_THROW(m(2, 0), ERangeError);
    EXPECT_THROW(m.SetSizeForOverwrite(-1, 2), ERangeError);

    // Rows start on 64-byte boundaries; a matrix of megabytes on a 2 MB boundary (huge pages).
    auto address = [](const double* p) { return reinterpret_cast<std::uintptr_t>(p); };
    EXPECT_EQ(address(m.Row(1)) % 64, 0u);
    TDenseMatrix big(600, 600);
    EXPECT_EQ(address(big.Row(0)) % (2u << 20), 0u);
    big(599, 599) = 1.0;

    // A moved-from matrix is empty and takes a new size like a fresh one.
    const TDenseMatrix copy = big;
    TDenseMatrix moved = std::move(big);
    EXPECT_EQ(moved(599, 599), 1.0);
    EXPECT_EQ(copy(599, 599), 1.0);
    EXPECT_EQ(big.Rows(), 0);
    big.SetSizeForOverwrite(700, 700);
    big(699, 699) = 2.0;
    EXPECT_EQ(big(699, 699), 2.0);
}
