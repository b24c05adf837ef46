// Gaussian elimination with and without partial pivoting.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kernel_helpers.h"
#include "methods.h"

namespace sislin {

using kt::bits;
using kt::Mat;
using kt::Vec;

namespace {
constexpr Scalar kNaN = std::numeric_limits<Scalar>::quiet_NaN();
}

TEST(KernelEliminacao, TwoByTwoKeepsTheStaleLowerEntry) {
    Mat A{{2, 1}, {4, 3}};
    Vec b{3, 7};
    Eliminacao(2, A, b);
    EXPECT_EQ(A[1][1], 2.0f);
    EXPECT_EQ(A[1][2], 1.0f);
    EXPECT_EQ(A[2][1], 4.0f);  // not zeroed, not replaced by the multiplier
    EXPECT_EQ(A[2][2], 1.0f);
    EXPECT_EQ(b[1], 3.0f);
    EXPECT_EQ(b[2], 1.0f);
}

TEST(KernelEliminacao, ThreeByThreeUpperTriangle) {
    Mat A{{2, 1, 1}, {4, 3, 3}, {8, 7, 9}};
    Vec b{4, 10, 24};
    Eliminacao(3, A, b);
    // Column 1: rows 2, 3 get m = -2, -4; column 2: row 3 gets m = -3.
    EXPECT_EQ(A[2][2], 1.0f);
    EXPECT_EQ(A[2][3], 1.0f);
    EXPECT_EQ(A[3][3], 2.0f);
    EXPECT_EQ(A[3][2], 3.0f);  // stale value from after step 1
    EXPECT_EQ(b[2], 2.0f);
    EXPECT_EQ(b[3], 2.0f);
    Vec x(3);
    SubstituicaoRetroativa(3, A, x, b);
    EXPECT_EQ(x[1], 1.0f);
    EXPECT_EQ(x[2], 1.0f);
    EXPECT_EQ(x[3], 1.0f);
}

TEST(KernelEliminacao, ZeroPivotWithoutAndWithPivoting) {
    Mat A{{0, 1}, {1, 1}};
    Vec b{1, 2};
    Eliminacao(2, A, b);
    EXPECT_TRUE(std::isinf(A[2][2]) && A[2][2] < 0);
    EXPECT_TRUE(std::isinf(b[2]) && b[2] < 0);

    Mat P{{0, 1}, {1, 1}};
    Vec c{1, 2};
    GaussPivoteamentoParcial(2, P, c);
    EXPECT_EQ(P[1][1], 1.0f);
    EXPECT_EQ(P[1][2], 1.0f);
    EXPECT_EQ(P[2][2], 1.0f);
    EXPECT_EQ(P[2][1], 0.0f);  // exchanged with row 1 at step 1, then left stale
    EXPECT_EQ(c[1], 2.0f);
    EXPECT_EQ(c[2], 1.0f);
}

TEST(KernelEliminacao, PivotSearchStrictFirstLargest) {
    // Equal magnitudes: row 1 stays the pivot row.
    Mat A{{2, 1}, {-2, 5}};
    Vec b{1, 3};
    GaussPivoteamentoParcial(2, A, b);
    EXPECT_EQ(A[1][1], 2.0f);
    EXPECT_EQ(A[1][2], 1.0f);
    EXPECT_EQ(A[2][2], 6.0f);
    EXPECT_EQ(b[1], 1.0f);
    EXPECT_EQ(b[2], 4.0f);

    // Equal largest magnitudes below row i: the first of them wins.
    Mat T{{1, 0, 0}, {-3, 1, 0}, {3, 0, 1}};
    Vec t{0, 1, 2};
    GaussPivoteamentoParcial(3, T, t);
    EXPECT_EQ(T[1][1], -3.0f);
    EXPECT_EQ(t[1], 1.0f);

    // A NaN never wins, and a NaN pivot keeps its row.
    Mat N{{1, 1, 1}, {kNaN, 2, 2}, {2, 3, 3}};
    Vec nb{1, 2, 3};
    GaussPivoteamentoParcial(3, N, nb);
    EXPECT_EQ(N[1][1], 2.0f);
    EXPECT_EQ(nb[1], 3.0f);
    Mat M{{kNaN, 1}, {5, 1}};
    Vec mb{1, 2};
    GaussPivoteamentoParcial(2, M, mb);
    EXPECT_TRUE(std::isnan(M[1][1]));
    EXPECT_EQ(M[1][2], 1.0f);
    EXPECT_EQ(mb[1], 1.0f);
}

TEST(KernelEliminacao, ExchangeAtSecondStepMovesOnlyColumnsFromI) {
    Mat A{{4, 1, 1}, {1, 1, 1}, {2, 5, 1}};
    Vec b{1, 2, 3};
    GaussPivoteamentoParcial(3, A, b);
    // After step 1: row 2 = (1 | 0.75, 0.75), row 3 = (2 | 4.5, 0.5); step 2 exchanges
    // columns 2..3 of rows 2 and 3 and leaves column 1 where it was.
    EXPECT_EQ(A[2][1], 1.0f);
    EXPECT_EQ(A[3][1], 2.0f);
    EXPECT_EQ(A[2][2], 4.5f);
    EXPECT_EQ(A[2][3], 0.5f);
    EXPECT_EQ(A[3][2], 0.75f);  // stale after the final step
    const Scalar m = static_cast<Scalar>(-0.75 / 4.5);
    EXPECT_EQ(A[3][3], static_cast<Scalar>(0.5 * static_cast<double>(m) + 0.75));
    EXPECT_EQ(b[2], 2.5f);
    EXPECT_EQ(b[3], static_cast<Scalar>(2.5 * static_cast<double>(m) + 1.75));
}

TEST(KernelEliminacao, DegenerateSizesChangeNothing) {
    for (int n : {1, 0, -1}) {
        Mat A{{0, 5}, {7, 3}};
        Vec b{2, 9};
        Mat A2 = A;
        Vec b2 = b;
        Eliminacao(n, A, b);
        GaussPivoteamentoParcial(n, A2, b2);
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(b[i], i == 1 ? 2.0f : 9.0f);
            EXPECT_EQ(b2[i], b[i]);
        }
        EXPECT_EQ(A[1][1], 0.0f);
        EXPECT_EQ(A[2][1], 7.0f);
        EXPECT_EQ(A2[1][1], 0.0f);
        EXPECT_EQ(A2[2][1], 7.0f);
    }
}

TEST(KernelEliminacao, UpdateIsOneDoubleExpressionRoundedOnce) {
    // m = -3; A[2][2] = 0.1*(-3) + 0.3 is 2^-27 in double but 0 if the product is rounded.
    Mat A{{0.1f, 0.1f}, {0.3f, 0.3f}};
    Vec b{0.1f, 0.3f};
    Eliminacao(2, A, b);
    EXPECT_EQ(bits(A[2][2]), 0x32000000u);
    EXPECT_EQ(bits(b[2]), 0x32000000u);

    // No exchange here (|0.3| > |0.1|); float evaluation would give 0x3f5dddde.
    Mat P{{0.3f, 0.1f}, {0.1f, 0.9f}};
    Vec c{0.1f, 0.9f};
    GaussPivoteamentoParcial(2, P, c);
    EXPECT_EQ(bits(P[2][2]), 0x3f5dddddu);
    EXPECT_EQ(bits(c[2]), 0x3f5dddddu);
}

}  // namespace sislin
