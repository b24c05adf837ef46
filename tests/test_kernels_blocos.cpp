// Elimination and LU taken in blocks of steps, against the one-step-at-a-time reference copies,
// bit for bit (two NaNs count as equal: which one an operation passes on follows the compiler's
// operand order). Sizes cross the block, row-group, column-strip and four-column boundaries;
// the entries bring zero pivots, ties in the pivot search, infinities, NaNs, subnormals and
// values near the top of the range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "kernel_helpers.h"
#include "methods.h"
#include "referencia.h"

using kt::IVec;
using kt::Mat;
using kt::Vec;

namespace {

enum class Tipo { Uniforme, Inteiros, Escalas, Especiais };

using kt::iguais;
using kt::mesmo_valor;

Scalar especial(std::mt19937& g) {
    const Scalar inf = std::numeric_limits<Scalar>::infinity();
    const Scalar nan = std::numeric_limits<Scalar>::quiet_NaN();
    const Scalar sub = std::numeric_limits<Scalar>::denorm_min();
    switch (std::uniform_int_distribution<int>(0, 7)(g)) {
        case 0: return inf;
        case 1: return -inf;
        case 2: return nan;
        case 3: return 0.0f;
        case 4: return -0.0f;
        case 5: return 37.0f * sub;
        case 6: return std::numeric_limits<Scalar>::max();
        default: return -1e30f;
    }
}

Scalar entrada(Tipo tipo, std::mt19937& g) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    switch (tipo) {
        case Tipo::Inteiros: return static_cast<Scalar>(std::uniform_int_distribution<int>(-2, 2)(g));
        case Tipo::Escalas: {
            // Magnitudes from 1e-30 to 1e30, so that updates are absorbed or swamp their entry.
            const int e = std::uniform_int_distribution<int>(-30, 30)(g);
            return u(g) * std::pow(10.0f, static_cast<float>(e));
        }
        default: return u(g);
    }
}

Mat matriz(int n, Tipo tipo, std::mt19937& g) {
    Mat A(n);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) A[i][j] = entrada(tipo, g);
    if (tipo == Tipo::Especiais && n > 0) {
        std::uniform_int_distribution<int> pos(1, n);
        for (int e = 0; e < 1 + n / 20; ++e) A[pos(g)][pos(g)] = especial(g);
    }
    return A;
}

Vec vetor(int n, std::mt19937& g) {
    std::uniform_real_distribution<float> u(-4.0f, 4.0f);
    Vec v(n);
    for (int i = 0; i <= n; ++i) v[i] = u(g);
    return v;
}

void compara(int n, const Mat& A0, const Vec& b0) {
    {
        Mat A = A0, R = A0;
        Vec b = b0, rb = b0;
        Eliminacao(n, A, b);
        referencia::Eliminacao(n, R, rb);
        EXPECT_TRUE(iguais(A, R, n)) << "Eliminacao";
        EXPECT_TRUE(iguais(b, rb, n)) << "Eliminacao";
    }
    {
        Mat A = A0, R = A0;
        Vec b = b0, rb = b0;
        GaussPivoteamentoParcial(n, A, b);
        referencia::GaussPivoteamentoParcial(n, R, rb);
        EXPECT_TRUE(iguais(A, R, n)) << "GaussPivoteamentoParcial";
        EXPECT_TRUE(iguais(b, rb, n)) << "GaussPivoteamentoParcial";
    }
    {
        Mat A = A0, R = A0;
        LU(n, A);
        referencia::LU(n, R);
        EXPECT_TRUE(iguais(A, R, n)) << "LU";
    }
    {
        Mat A = A0, R = A0;
        IVec pos(n), rpos(n);
        Scalar det = 0, rdet = 0;
        LUPivoteamentoParcial(n, A, pos, det);
        referencia::LUPivoteamentoParcial(n, R, rpos, rdet);
        EXPECT_TRUE(iguais(A, R, n)) << "LUPivoteamentoParcial";
        EXPECT_TRUE(mesmo_valor(det, rdet));
        for (int i = 1; i <= n; ++i) EXPECT_EQ(pos[i], rpos[i]) << "i=" << i;
    }
}

}  // namespace

TEST(KernelBlocos, EverySmallSizeMatchesReference) {
    std::mt19937 g(31337u);
    for (int n = 0; n <= 70; ++n) {
        for (Tipo tipo : {Tipo::Uniforme, Tipo::Inteiros, Tipo::Escalas, Tipo::Especiais}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " tipo=" << static_cast<int>(tipo));
            compara(n, matriz(n, tipo, g), vetor(n, g));
        }
    }
}

TEST(KernelBlocos, SizesAroundBlockAndStripWidthsMatchReference) {
    std::mt19937 g(2718u);
    for (int n : {95, 96, 97, 100, 130, 257, 263, 300}) {
        for (Tipo tipo : {Tipo::Uniforme, Tipo::Inteiros, Tipo::Escalas, Tipo::Especiais}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " tipo=" << static_cast<int>(tipo));
            compara(n, matriz(n, tipo, g), vetor(n, g));
        }
    }
}

// Pivot rows found far below the block, and rows exchanged several times within one block:
// the pending updates and multipliers of exchanged rows must travel with them.
TEST(KernelBlocos, RowsExchangedWithinABlockCarryTheirPendingSteps) {
    std::mt19937 g(99u);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (int n : {40, 77, 140}) {
        SCOPED_TRACE(testing::Message() << "n=" << n);
        Mat A(n);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) A[i][j] = u(g);
        // Large entries in column c at a row from the bottom part, so each step picks a row
        // far away, some of them picked twice over the block.
        for (int c = 1; c <= n; ++c) A[n - (c * 7) % (n / 2)][c] = 50.0f + static_cast<Scalar>(c);
        compara(n, A, vetor(n, g));
    }
}

// A zero column below the diagonal inside a block: zero pivots and no exchange, then infinite
// and NaN multipliers for the steps after it.
TEST(KernelBlocos, ZeroPivotInsideABlockMatchesReference) {
    std::mt19937 g(5u);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    const int n = 90;
    Mat A(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) A[i][j] = u(g);
    for (int i = 1; i <= n; ++i) A[i][40] = i < 40 ? A[i][40] : 0.0f;
    compara(n, A, vetor(n, g));
}
