// Triangular substitutions: order of the unknowns, the triangle each one reads, aliasing of the
// output with the right-hand side, and double evaluation of each statement.
#include <gtest/gtest.h>

#include <cmath>

#include "kernel_helpers.h"
#include "methods.h"

namespace sislin {

using kt::bits;
using kt::Mat;
using kt::Vec;

TEST(KernelSubstituicao, RetroativaSolvesFromTheLastUnknown) {
    Mat U{{2, 1}, {0, 4}};
    Vec c{4, 8};
    Vec x(2);
    SubstituicaoRetroativa(2, U, x, c);
    EXPECT_EQ(x[2], 2.0f);
    EXPECT_EQ(x[1], 1.0f);  // (4 - 1*2) / 2, using x[2] already computed

    Mat U3{{1, 2, 3}, {0, 1, 4}, {0, 0, 2}};
    Vec c3{6, 5, 2};
    Vec x3(3);
    SubstituicaoRetroativa(3, U3, x3, c3);
    EXPECT_EQ(x3[1], 1.0f);
    EXPECT_EQ(x3[2], 1.0f);
    EXPECT_EQ(x3[3], 1.0f);
    EXPECT_EQ(c3[1], 6.0f);  // the right-hand side is only read
}

TEST(KernelSubstituicao, ForwardSubstitutions) {
    Mat L{{9, 9, 9}, {2, 9, 9}, {3, 4, 9}};  // 9s are ignored by the unit-diagonal version
    Vec c{1, 3, 8};
    Vec y(3);
    SubstituicaoProgressivaL(3, L, y, c);
    EXPECT_EQ(y[1], 1.0f);
    EXPECT_EQ(y[2], 1.0f);
    EXPECT_EQ(y[3], 1.0f);

    Mat L2{{2, 9, 9}, {2, 4, 9}, {3, 4, 5}};  // 9s above the diagonal are ignored
    Vec c2{2, 6, 12};
    Vec x(3);
    SubstituicaoProgressiva(3, L2, x, c2);
    EXPECT_EQ(x[1], 1.0f);
    EXPECT_EQ(x[2], 1.0f);
    EXPECT_EQ(x[3], 1.0f);
}

TEST(KernelSubstituicao, EachReadsOnlyItsTriangle) {
    // One matrix holding L below the diagonal and U on and above it, as after LU in place.
    Mat A{{2, 1, -1}, {0.5f, 3, 2}, {-1, 0.25f, 4}};
    Mat Uonly{{2, 1, -1}, {0, 3, 2}, {0, 0, 4}};
    Mat Lonly{{1, 0, 0}, {0.5f, 1, 0}, {-1, 0.25f, 1}};
    Vec c{1, 2, 3};
    Vec x1(3), x2(3), y1(3), y2(3);
    SubstituicaoRetroativa(3, A, x1, c);
    SubstituicaoRetroativa(3, Uonly, x2, c);
    EXPECT_TRUE(kt::mesmos_bits(x1, x2, 3));
    SubstituicaoProgressivaL(3, A, y1, c);
    SubstituicaoProgressivaL(3, Lonly, y2, c);
    EXPECT_TRUE(kt::mesmos_bits(y1, y2, 3));
}

TEST(KernelSubstituicao, OutputMayBeTheRightHandSide) {
    Mat A{{2, 1, -1}, {0.5f, 3, 2}, {-1, 0.25f, 4}};
    Vec c{1, 2, 3};
    Vec sep(3), same = c;
    SubstituicaoRetroativa(3, A, sep, c);
    SubstituicaoRetroativa(3, A, same, same);
    EXPECT_TRUE(kt::mesmos_bits(sep, same, 3));

    Vec sameL = c, sepL(3);
    SubstituicaoProgressivaL(3, A, sepL, c);
    SubstituicaoProgressivaL(3, A, sameL, sameL);
    EXPECT_TRUE(kt::mesmos_bits(sepL, sameL, 3));

    Vec sameP = c, sepP(3);
    SubstituicaoProgressiva(3, A, sepP, c);
    SubstituicaoProgressiva(3, A, sameP, sameP);
    EXPECT_TRUE(kt::mesmos_bits(sepP, sameP, 3));
}

TEST(KernelSubstituicao, DegenerateSizes) {
    Mat U{{4}};
    Vec c{6};
    Vec x{-7};
    SubstituicaoRetroativa(1, U, x, c);
    EXPECT_EQ(x[1], 1.5f);
    SubstituicaoProgressiva(1, U, x, c);
    EXPECT_EQ(x[1], 1.5f);
    SubstituicaoProgressivaL(1, U, x, c);
    EXPECT_EQ(x[1], 6.0f);

    for (int n : {0, -1}) {
        Vec untouched{-7, -7};
        SubstituicaoRetroativa(n, U, untouched, c);
        SubstituicaoProgressivaL(n, U, untouched, c);
        SubstituicaoProgressiva(n, U, untouched, c);
        EXPECT_EQ(untouched[1], -7.0f);
        EXPECT_EQ(untouched[2], -7.0f);
    }
}

TEST(KernelSubstituicao, ZeroDiagonalGivesNonFiniteUnknowns) {
    Mat U{{1, 1}, {0, 0}};
    Vec c{1, 1};
    Vec x(2);
    SubstituicaoRetroativa(2, U, x, c);
    EXPECT_TRUE(std::isinf(x[2]) && x[2] > 0);
    EXPECT_FALSE(std::isfinite(x[1]));
}

// Values where rounding an intermediate result to float first gives a different last bit.
TEST(KernelSubstituicao, StatementsAreEvaluatedInDouble) {
    // x[2] = 3; x[1] = (0.1 - 0.3) / 0.1: the difference is exact in double and the quotient
    // is exactly -2 after rounding; a float difference would give -2.0000002.
    Mat U{{0.1f, 0.1f}, {0, 0.1f}};
    Vec c{0.1f, 0.3f};
    Vec x(2);
    SubstituicaoRetroativa(2, U, x, c);
    EXPECT_EQ(bits(x[2]), 0x40400000u);
    EXPECT_EQ(bits(x[1]), 0xc0000000u);

    // y[3] = 0 - (0.1*0.9 + fl(0.1*0.1)): the product must be added without being rounded.
    Mat L{{1, 0, 0}, {0, 1, 0}, {0.1f, 0.1f, 1}};
    Vec cl{0.1f, 0.9f, 0};
    Vec y(3);
    SubstituicaoProgressivaL(3, L, y, cl);
    EXPECT_EQ(bits(y[3]), 0xbdcccccdu);  // float evaluation gives 0xbdcccccc
    Vec z(3);
    SubstituicaoProgressiva(3, L, z, cl);
    EXPECT_EQ(bits(z[3]), 0xbdcccccdu);
}

}  // namespace sislin
