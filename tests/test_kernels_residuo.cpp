// Residual, error (maximum norm) and the inverse built from the factors.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kernel_helpers.h"
#include "methods.h"

namespace sislin {

using kt::bits;
using kt::IVec;
using kt::Mat;
using kt::Vec;

namespace {
constexpr Scalar kNaN = std::numeric_limits<Scalar>::quiet_NaN();
constexpr Scalar kInf = std::numeric_limits<Scalar>::infinity();
}  // namespace

TEST(KernelResiduo, ResidualOfTheRightHandSideMinusAx) {
    Mat A{{2, 1}, {4, 3}};
    Vec b{3, 7};
    Vec x{1, 1};
    Vec r(2);
    CalculaResiduo(2, b, A, x, r);
    EXPECT_EQ(r[1], 0.0f);
    EXPECT_EQ(r[2], 0.0f);
    Vec x2{1, 0};
    CalculaResiduo(2, b, A, x2, r);
    EXPECT_EQ(r[1], 1.0f);
    EXPECT_EQ(r[2], 3.0f);

    Mat B{{1, 2, 3}, {0, 1, 0}, {1, 1, 1}};
    Vec b3{0, 0, 0};
    Vec x3{1, 1, 1};
    Vec r3(3);
    CalculaResiduo(3, b3, B, x3, r3);
    EXPECT_EQ(r3[1], -6.0f);
    EXPECT_EQ(r3[2], -1.0f);
    EXPECT_EQ(r3[3], -3.0f);
}

TEST(KernelResiduo, EmptySystemLeavesTheResidualAlone) {
    Mat A{{1}};
    Vec b{1}, x{1}, r{5};
    CalculaResiduo(0, b, A, x, r);
    EXPECT_EQ(r[1], 5.0f);
    EXPECT_EQ(CalculaErro(0, r), 0.0f);
}

TEST(KernelResiduo, SumIsEvaluatedInDouble) {
    // r[1] = 0 - (0.1*0.9 + fl(0.1*0.1)); float evaluation gives 0xbdcccccc.
    Mat A{{0.1f, 0.9f}, {0, 1}};
    Vec b{0, 0};
    Vec x{0.1f, 0.1f};
    Vec r(2);
    CalculaResiduo(2, b, A, x, r);
    EXPECT_EQ(bits(r[1]), 0xbdcccccdu);
}

TEST(KernelErro, LargestMagnitudeOrNaN) {
    Vec r{0.5f, -3, 2};
    EXPECT_EQ(CalculaErro(3, r), 3.0f);
    // Any NaN entry, wherever it stands and whatever its sign, gives a NaN without sign.
    Vec nans{-kNaN, kNaN};
    EXPECT_EQ(bits(CalculaErro(2, nans)), bits(kNaN));
    Vec mixed{kNaN, 1, kNaN, -2, kNaN};
    EXPECT_TRUE(std::isnan(CalculaErro(5, mixed)));
    Vec late{1, kInf, -kNaN};
    EXPECT_EQ(bits(CalculaErro(3, late)), bits(kNaN));
    EXPECT_EQ(CalculaErro(2, late), kInf);
    Vec inf{1, -kInf, 2};
    EXPECT_EQ(CalculaErro(3, inf), kInf);
    Vec last{1, 2, 9};
    EXPECT_EQ(CalculaErro(3, last), 9.0f);
    EXPECT_EQ(CalculaErro(2, last), 2.0f);
}

TEST(KernelInversa, FromTheUnpivotedFactors) {
    Mat A{{2, 1}, {4, 3}};
    LU(2, A);
    Mat Inv(2);
    Vec b(2), x(2), y(2);
    Inversa(2, A, Inv, b, x, y);
    EXPECT_EQ(Inv[1][1], 1.5f);
    EXPECT_EQ(Inv[1][2], -0.5f);
    EXPECT_EQ(Inv[2][1], -2.0f);
    EXPECT_EQ(Inv[2][2], 1.0f);
    EXPECT_EQ(b[1], 0.0f);
    EXPECT_EQ(b[2], 1.0f);
    EXPECT_EQ(y[1], 0.0f);
    EXPECT_EQ(y[2], 1.0f);
    EXPECT_EQ(x[1], -0.5f);
    EXPECT_EQ(x[2], 1.0f);
}

TEST(KernelInversa, FromThePivotedFactorsColumnsFollowThePermutation) {
    Mat A{{2, 1}, {4, 3}};
    IVec pos(2);
    Scalar det = 0;
    LUPivoteamentoParcial(2, A, pos, det);
    Mat Inv(2);
    Vec b(2), x(2), y(2);
    Inversa(2, A, Inv, b, x, y);
    EXPECT_EQ(Inv[1][1], -0.5f);
    EXPECT_EQ(Inv[1][2], 1.5f);
    EXPECT_EQ(Inv[2][1], 1.0f);
    EXPECT_EQ(Inv[2][2], -2.0f);
    EXPECT_EQ(b[1], 0.0f);
    EXPECT_EQ(b[2], 1.0f);
    EXPECT_EQ(y[1], 0.0f);
    EXPECT_EQ(y[2], 1.0f);
    EXPECT_EQ(x[1], 1.5f);
    EXPECT_EQ(x[2], -2.0f);
}

TEST(KernelInversa, ThreeByThreeTimesTheMatrixIsTheIdentity) {
    Mat A0{{4, -2, 1}, {3, 6, -4}, {2, 1, 8}};
    Mat A = A0;
    LU(3, A);
    Mat Inv(3);
    Vec b(3), x(3), y(3);
    Inversa(3, A, Inv, b, x, y);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            double s = 0;
            for (int k = 1; k <= 3; ++k)
                s += static_cast<double>(A0[i][k]) * static_cast<double>(Inv[k][j]);
            EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-5) << i << "," << j;
        }
    EXPECT_EQ(b[1], 0.0f);
    EXPECT_EQ(b[2], 0.0f);
    EXPECT_EQ(b[3], 1.0f);
}

TEST(KernelInversa, EmptySystemTouchesNothing) {
    Mat A{{1}};
    Mat Inv{{5}};
    Vec b{5}, x{5}, y{5};
    Inversa(0, A, Inv, b, x, y);
    EXPECT_EQ(Inv[1][1], 5.0f);
    EXPECT_EQ(b[1], 5.0f);
    EXPECT_EQ(x[1], 5.0f);
    EXPECT_EQ(y[1], 5.0f);
}

}  // namespace sislin
