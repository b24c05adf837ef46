// LU factorisation in place, with and without partial pivoting: factors, permutation, exchanges
// of whole rows and the sign of the determinant.
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

TEST(KernelLU, TwoByTwoWithoutPivoting) {
    Mat A{{2, 1}, {4, 3}};
    LU(2, A);
    EXPECT_EQ(A[1][1], 2.0f);
    EXPECT_EQ(A[1][2], 1.0f);
    EXPECT_EQ(A[2][1], 2.0f);  // the multiplier A[2][1] / A[1][1], stored positive
    EXPECT_EQ(A[2][2], 1.0f);
}

TEST(KernelLU, ThreeByThreeWithoutPivoting) {
    Mat A{{2, 1, 1}, {4, 3, 3}, {8, 7, 9}};
    LU(3, A);
    EXPECT_EQ(A[2][1], 2.0f);
    EXPECT_EQ(A[3][1], 4.0f);
    EXPECT_EQ(A[3][2], 3.0f);
    EXPECT_EQ(A[2][2], 1.0f);
    EXPECT_EQ(A[2][3], 1.0f);
    EXPECT_EQ(A[3][3], 2.0f);
}

TEST(KernelLU, TwoByTwoWithPivoting) {
    Mat A{{2, 1}, {4, 3}};
    IVec pos(2);
    Scalar det = 0;
    LUPivoteamentoParcial(2, A, pos, det);
    EXPECT_EQ(pos[1], 2);
    EXPECT_EQ(pos[2], 1);
    EXPECT_EQ(A[1][1], 4.0f);
    EXPECT_EQ(A[1][2], 3.0f);
    EXPECT_EQ(A[2][1], 0.5f);
    EXPECT_EQ(A[2][2], -0.5f);
    EXPECT_EQ(det, 2.0f);  // -(4 * -0.5)

    Mat Z{{0, 1}, {1, 1}};
    IVec pz(2);
    LUPivoteamentoParcial(2, Z, pz, det);
    EXPECT_EQ(pz[1], 2);
    EXPECT_EQ(pz[2], 1);
    EXPECT_EQ(Z[1][1], 1.0f);
    EXPECT_EQ(Z[1][2], 1.0f);
    EXPECT_EQ(bits(Z[2][1]), 0u);  // -m with m = -0: a positive zero
    EXPECT_EQ(Z[2][2], 1.0f);
    EXPECT_EQ(det, -1.0f);
}

TEST(KernelLU, ZeroPivotWithoutPivoting) {
    Mat A{{0, 1}, {1, 1}};
    LU(2, A);
    EXPECT_TRUE(std::isinf(A[2][1]));
    EXPECT_TRUE(std::isinf(A[2][2]) && A[2][2] < 0);
}

TEST(KernelLU, MultipliersTravelWithTheirRows) {
    Mat A{{4, 1, 1}, {1, 1, 1}, {2, 5, 1}};
    IVec pos(3);
    Scalar det = 0;
    LUPivoteamentoParcial(3, A, pos, det);
    EXPECT_EQ(pos[1], 1);
    EXPECT_EQ(pos[2], 3);
    EXPECT_EQ(pos[3], 2);
    // Step 1 stores 0.25 in row 2 and 0.5 in row 3; step 2 exchanges the whole rows.
    EXPECT_EQ(A[2][1], 0.5f);
    EXPECT_EQ(A[3][1], 0.25f);
    EXPECT_EQ(A[2][2], 4.5f);
    EXPECT_EQ(A[2][3], 0.5f);
    const Scalar m = static_cast<Scalar>(-0.75 / 4.5);
    EXPECT_EQ(A[3][2], -m);
    const Scalar u33 = static_cast<Scalar>(0.5 * static_cast<double>(m) + 0.75);
    EXPECT_EQ(A[3][3], u33);
    const Scalar d = static_cast<Scalar>(4.0 * 4.5);
    EXPECT_EQ(det, -static_cast<Scalar>(static_cast<double>(d) * static_cast<double>(u33)));
}

TEST(KernelLU, DeterminantSignFollowsTheExchangeCount) {
    Scalar det = 0;
    // No exchange: the determinant keeps its sign.
    Mat A{{2, 1}, {1, 3}};
    IVec p(2);
    LUPivoteamentoParcial(2, A, p, det);
    EXPECT_EQ(det, 5.0f);

    // A 3-cycle: two exchanges, det = +2*3*5.
    Mat C3{{0, 2, 0}, {0, 0, 3}, {5, 0, 0}};
    IVec p3(3);
    LUPivoteamentoParcial(3, C3, p3, det);
    EXPECT_EQ(det, 30.0f);
    EXPECT_EQ(p3[1], 3);
    EXPECT_EQ(p3[2], 1);
    EXPECT_EQ(p3[3], 2);

    // A 4-cycle: three exchanges, det = -2*3*5*7.
    Mat C4{{0, 2, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 5}, {7, 0, 0, 0}};
    IVec p4(4);
    LUPivoteamentoParcial(4, C4, p4, det);
    EXPECT_EQ(det, -210.0f);
    EXPECT_EQ(p4[1], 4);
    EXPECT_EQ(p4[2], 1);
    EXPECT_EQ(p4[3], 2);
    EXPECT_EQ(p4[4], 3);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            if (i != j) {
                EXPECT_EQ(C4[i][j], 0.0f);
            }
}

TEST(KernelLU, PivotSearchStrictFirstLargest) {
    Scalar det = 0;
    Mat T{{2, 1}, {-2, 3}};
    IVec p(2);
    LUPivoteamentoParcial(2, T, p, det);
    EXPECT_EQ(p[1], 1);
    EXPECT_EQ(T[1][1], 2.0f);
    EXPECT_EQ(det, 8.0f);  // 2 * (3 + 1), no exchange

    const Scalar nan = std::numeric_limits<Scalar>::quiet_NaN();
    Mat N{{1, 0, 0}, {nan, 1, 0}, {-3, 0, 1}};
    IVec pn(3);
    LUPivoteamentoParcial(3, N, pn, det);
    EXPECT_EQ(pn[1], 3);
    EXPECT_EQ(N[1][1], -3.0f);
}

TEST(KernelLU, DegenerateSizes) {
    Mat A{{-3, 9}, {9, 9}};
    LU(1, A);
    EXPECT_EQ(A[1][1], -3.0f);
    EXPECT_EQ(A[2][1], 9.0f);
    IVec pos(2);
    pos[1] = pos[2] = 77;
    Scalar det = 0;
    LUPivoteamentoParcial(1, A, pos, det);
    EXPECT_EQ(pos[1], 1);
    EXPECT_EQ(pos[2], 77);
    EXPECT_EQ(det, -3.0f);
    EXPECT_EQ(A[2][1], 9.0f);

    pos[1] = 77;
    LUPivoteamentoParcial(0, A, pos, det);
    EXPECT_EQ(det, 1.0f);
    EXPECT_EQ(pos[1], 77);
}

TEST(KernelLU, UpdateIsOneDoubleExpressionRoundedOnce) {
    Mat A{{0.1f, 0.1f}, {0.3f, 0.3f}};
    LU(2, A);
    EXPECT_EQ(A[2][1], 3.0f);
    EXPECT_EQ(bits(A[2][2]), 0x32000000u);  // 0 if the product were rounded first

    Mat P{{0.3f, 0.1f}, {0.1f, 0.9f}};
    IVec pos(2);
    Scalar det = 0;
    LUPivoteamentoParcial(2, P, pos, det);
    EXPECT_EQ(pos[1], 1);
    EXPECT_EQ(bits(P[2][2]), 0x3f5dddddu);  // float evaluation gives 0x3f5dddde
}

}  // namespace sislin
