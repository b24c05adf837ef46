// Jacobi and Gauss-Seidel sweeps: which values each sweep reads, the change it returns, and
// how infinities and NaNs affect that change.
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
constexpr Scalar kInf = std::numeric_limits<Scalar>::infinity();
}

TEST(KernelJacobi, SweepsUseOnlyTheOldValues) {
    Mat A{{4, 1}, {2, 5}};
    Vec b{6, 12};
    Vec x{0, 0};
    EXPECT_EQ(IteracaoJacobi(2, A, b, x), 2.4f);
    EXPECT_EQ(x[1], 1.5f);
    EXPECT_EQ(x[2], 2.4f);  // (12 - 2*0) / 5: the new x[1] is not used
    // Second sweep: ((6 - 2.4)/4, (12 - 2*1.5)/5) = (0.9, 1.8).
    EXPECT_NEAR(IteracaoJacobi(2, A, b, x), 0.6f, 1e-6f);
    EXPECT_NEAR(x[1], 0.9f, 1e-6f);
    EXPECT_EQ(x[2], 1.8f);
    // A and b are only read.
    EXPECT_EQ(A[1][1], 4.0f);
    EXPECT_EQ(A[1][2], 1.0f);
    EXPECT_EQ(A[2][1], 2.0f);
    EXPECT_EQ(A[2][2], 5.0f);
    EXPECT_EQ(b[1], 6.0f);
    EXPECT_EQ(b[2], 12.0f);
}

TEST(KernelGaussSeidel, SweepsUseTheValuesAlreadyUpdated) {
    Mat A{{4, 1}, {2, 5}};
    Vec b{6, 12};
    Vec x{0, 0};
    EXPECT_EQ(IteracaoGaussSeidel(2, A, b, x), 1.8f);
    EXPECT_EQ(x[1], 1.5f);
    EXPECT_EQ(x[2], 1.8f);  // (12 - 2*1.5) / 5
    // Second sweep: x[1] = (6 - 1.8)/4 = 1.05, x[2] = (12 - 2*1.05)/5 = 1.98.
    EXPECT_NEAR(IteracaoGaussSeidel(2, A, b, x), 0.45f, 1e-6f);
    EXPECT_NEAR(x[1], 1.05f, 1e-6f);
    EXPECT_NEAR(x[2], 1.98f, 1e-6f);
    EXPECT_EQ(A[2][1], 2.0f);
    EXPECT_EQ(b[2], 12.0f);
}

TEST(KernelIterativos, ChangeIsTheLargestOverAllUnknowns) {
    // The largest change is in the last unknown, then in the first.
    Mat A{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec b{1, 2, 3};
    Vec x{0, 0, 0};
    EXPECT_EQ(IteracaoJacobi(3, A, b, x), 3.0f);
    Vec b2{-4, 2, 3};
    Vec y{0, 0, 0};
    EXPECT_EQ(IteracaoGaussSeidel(3, A, b2, y), 4.0f);
    // A sweep that changes nothing returns 0.
    EXPECT_EQ(IteracaoJacobi(3, A, b2, y), 0.0f);
    EXPECT_EQ(IteracaoGaussSeidel(3, A, b2, y), 0.0f);
}

TEST(KernelIterativos, EmptySystem) {
    Mat A{{1}};
    Vec b{1};
    Vec x{7};
    EXPECT_EQ(IteracaoJacobi(0, A, b, x), 0.0f);
    EXPECT_EQ(IteracaoGaussSeidel(0, A, b, x), 0.0f);
    EXPECT_EQ(x[1], 7.0f);
}

TEST(KernelIterativos, ZeroDiagonalInfinitiesAndNaNChanges) {
    Mat A{{0, 1}, {1, 1}};
    Vec b{1, 2};
    Vec x{0, 0};
    EXPECT_EQ(IteracaoGaussSeidel(2, A, b, x), kInf);
    EXPECT_EQ(x[1], kInf);
    EXPECT_EQ(x[2], -kInf);
    // Every change is now inf - inf: NaN, and the sweep says so.
    EXPECT_TRUE(std::isnan(IteracaoGaussSeidel(2, A, b, x)));
    EXPECT_EQ(x[1], kInf);
    EXPECT_EQ(x[2], -kInf);

    // Jacobi's second unknown still sees the old x[1] = 0.
    Vec j{0, 0};
    EXPECT_EQ(IteracaoJacobi(2, A, b, j), kInf);
    EXPECT_EQ(j[1], kInf);
    EXPECT_EQ(j[2], 2.0f);
}

TEST(KernelIterativos, NaNChangeMakesTheSweepNaN) {
    // Row 1 is 0/0; row 2 moves by 1. The NaN comes first here and last below; either way the
    // sweep's change is NaN and every unknown is still updated.
    Mat A{{0, 1}, {0, 2}};
    Vec b{0, 2};
    Vec x{0, 0};
    EXPECT_TRUE(std::isnan(IteracaoJacobi(2, A, b, x)));
    EXPECT_TRUE(std::isnan(x[1]));
    EXPECT_EQ(x[2], 1.0f);
    Vec g{0, 0};
    EXPECT_TRUE(std::isnan(IteracaoGaussSeidel(2, A, b, g)));
    EXPECT_TRUE(std::isnan(g[2]));

    Mat B{{2, 0}, {0, 0}};
    Vec c{4, 0};
    Vec y{0, 0};
    EXPECT_TRUE(std::isnan(IteracaoJacobi(2, B, c, y)));
    EXPECT_EQ(y[1], 2.0f);
    EXPECT_TRUE(std::isnan(y[2]));
    Vec z{0, 0};
    EXPECT_TRUE(std::isnan(IteracaoGaussSeidel(2, B, c, z)));

    Mat O{{0}};
    Vec o{0};
    Vec w{0};
    EXPECT_TRUE(std::isnan(IteracaoJacobi(1, O, o, w)));
    EXPECT_TRUE(std::isnan(IteracaoGaussSeidel(1, O, o, w)));
}

TEST(KernelIterativos, SumIsEvaluatedInDouble) {
    // x[1] = (0 - (0.1*0.9 + fl(0.1*0.1))) / 1; float evaluation gives 0xbdcccccc.
    Mat A{{1, 0.1f, 0.1f}, {0, 1, 0}, {0, 0, 1}};
    Vec b{0, 0.1f, 0.9f};
    Vec x{0, 0.1f, 0.9f};
    IteracaoJacobi(3, A, b, x);
    EXPECT_EQ(bits(x[1]), 0xbdcccccdu);
    Vec y{0, 0.1f, 0.9f};
    IteracaoGaussSeidel(3, A, b, y);
    EXPECT_EQ(bits(y[1]), 0xbdcccccdu);
}

TEST(KernelIterativos, TextbookSystemConverges) {
    Mat A{{10, -1, 2, 0}, {-1, 11, -1, 3}, {2, -1, 10, -1}, {0, 3, -1, 8}};
    Vec b{6, 25, -11, 15};
    Vec x{0, 0, 0, 0};
    IteracaoJacobi(4, A, b, x);
    EXPECT_NEAR(x[1], 0.6000, 5e-5);
    EXPECT_NEAR(x[2], 2.2727, 5e-5);
    EXPECT_NEAR(x[3], -1.1000, 5e-5);
    EXPECT_NEAR(x[4], 1.8750, 5e-5);

    const Scalar esperado[] = {0, 1, 2, -1, 1};
    Vec g{0, 0, 0, 0};
    Scalar ej = 1, eg = 1;
    for (int k = 0; k < 100; ++k) {
        ej = IteracaoJacobi(4, A, b, x);
        eg = IteracaoGaussSeidel(4, A, b, g);
    }
    EXPECT_LT(ej, 1e-6f);
    EXPECT_LT(eg, 1e-6f);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(x[i], esperado[i], 1e-5) << i;
        EXPECT_NEAR(g[i], esperado[i], 1e-5) << i;
    }
}

}  // namespace sislin
