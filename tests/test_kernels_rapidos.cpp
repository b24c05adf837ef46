// The fast kernels (column tiles of the inverse, grouped pivot steps, interleaved row sums)
// against the reference copies, bit for bit, on every size 0..70 so that each tile, group and
// interleave boundary and remainder is crossed, with infinities, NaNs of both signs, zeros and
// ties among the entries.
#include <cmath>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

#include "kernel_helpers.h"
#include "methods.h"
#include "referencia.h"

using kt::IVec;
using kt::Mat;
using kt::Vec;

namespace {

constexpr int kMaior = 70;

Scalar especial(std::mt19937& g) {
    const Scalar inf = std::numeric_limits<Scalar>::infinity();
    const Scalar nan = std::numeric_limits<Scalar>::quiet_NaN();
    switch (std::uniform_int_distribution<int>(0, 5)(g)) {
        case 0: return inf;
        case 1: return -inf;
        case 2: return nan;
        case 3: return -nan;
        case 4: return 0.0f;
        default: return -0.0f;
    }
}

// Random entries in [-1, 1] or small integers (ties), a few of them made special.
Mat matriz(int n, std::mt19937& g, int especiais) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::uniform_int_distribution<int> k(-2, 2);
    const bool inteiros = (g() & 1u) != 0;
    Mat A(n);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) A[i][j] = inteiros ? static_cast<Scalar>(k(g)) : u(g);
    if (n > 0) {
        std::uniform_int_distribution<int> pos(1, n);
        for (int e = 0; e < especiais; ++e) A[pos(g)][pos(g)] = especial(g);
    }
    return A;
}

Vec vetor(int n, std::mt19937& g, int especiais) {
    std::uniform_real_distribution<float> u(-4.0f, 4.0f);
    Vec v(n);
    for (int i = 0; i <= n; ++i) v[i] = u(g);
    if (n > 0) {
        std::uniform_int_distribution<int> pos(1, n);
        for (int e = 0; e < especiais; ++e) v[pos(g)] = especial(g);
    }
    return v;
}

// Same bits, or both NaN: when two NaNs meet, which one an operation passes on is not fixed by
// the arithmetic and follows the compiler's operand order, even in the straightforward kernels.
bool mesmo_valor(Scalar a, Scalar b) {
    return kt::bits(a) == kt::bits(b) || (std::isnan(a) && std::isnan(b));
}

// All places, 0 included (what the kernels must leave alone stays equal too).
bool iguais(const Mat& a, const Mat& b, int n) {
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            if (!mesmo_valor(a[i][j], b[i][j])) return false;
    return true;
}
bool iguais(const Vec& a, const Vec& b, int n) {
    for (int i = 0; i <= n; ++i)
        if (!mesmo_valor(a[i], b[i])) return false;
    return true;
}

}  // namespace

TEST(KernelRapido, InversaMatchesReferenceWithSpecialFactors) {
    std::mt19937 g(777u);
    for (int n = 0; n <= kMaior; ++n) {
        for (int especiais : {0, 1, 3}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " especiais=" << especiais);
            // Factors of a well-behaved matrix, or raw entries standing for factors.
            Mat F = matriz(n, g, 0);
            if (especiais == 0) ref::LU(n, F);
            if (n > 0) {
                std::uniform_int_distribution<int> pos(1, n);
                for (int e = 0; e < especiais; ++e) F[pos(g)][pos(g)] = especial(g);
            }
            Mat Inv = matriz(n, g, 2), RInv = Inv;  // stale contents must not matter
            Vec b = vetor(n, g, 0), rb = b, x = vetor(n, g, 0), rx = x, y = vetor(n, g, 0),
                ry = y;
            Inversa(n, F, Inv, b, x, y);
            ref::Inversa(n, F, RInv, rb, rx, ry);
            EXPECT_TRUE(iguais(Inv, RInv, n));
            EXPECT_TRUE(iguais(b, rb, n));
            EXPECT_TRUE(iguais(x, rx, n));
            EXPECT_TRUE(iguais(y, ry, n));
        }
    }
}

TEST(KernelRapido, FactorisationsAndEliminationsMatchReference) {
    std::mt19937 g(4242u);
    for (int n = 0; n <= kMaior; ++n) {
        for (int especiais : {0, 2}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " especiais=" << especiais);
            const Mat A0 = matriz(n, g, especiais);
            const Vec b0 = vetor(n, g, especiais);
            {
                Mat A = A0, R = A0;
                LU(n, A);
                ref::LU(n, R);
                EXPECT_TRUE(iguais(A, R, n));
            }
            {
                Mat A = A0, R = A0;
                IVec pos(n), rpos(n);
                Scalar det = 0, rdet = 0;
                LUPivoteamentoParcial(n, A, pos, det);
                ref::LUPivoteamentoParcial(n, R, rpos, rdet);
                EXPECT_TRUE(iguais(A, R, n));
                EXPECT_TRUE(mesmo_valor(det, rdet));
                for (int i = 1; i <= n; ++i) EXPECT_EQ(pos[i], rpos[i]);
            }
            {
                Mat A = A0, R = A0;
                Vec b = b0, rb = b0;
                Eliminacao(n, A, b);
                ref::Eliminacao(n, R, rb);
                EXPECT_TRUE(iguais(A, R, n));
                EXPECT_TRUE(iguais(b, rb, n));
            }
            {
                Mat A = A0, R = A0;
                Vec b = b0, rb = b0;
                GaussPivoteamentoParcial(n, A, b);
                ref::GaussPivoteamentoParcial(n, R, rb);
                EXPECT_TRUE(iguais(A, R, n));
                EXPECT_TRUE(iguais(b, rb, n));
            }
        }
    }
}

TEST(KernelRapido, ResidualAndSweepsMatchReference) {
    std::mt19937 g(99u);
    for (int n = 0; n <= kMaior; ++n) {
        for (int especiais : {0, 2}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " especiais=" << especiais);
            const Mat A = matriz(n, g, especiais);
            const Vec b = vetor(n, g, 0);
            const Vec x0 = vetor(n, g, especiais);
            Vec r = vetor(n, g, 0), rr = r;
            CalculaResiduo(n, b, A, x0, r);
            ref::CalculaResiduo(n, b, A, x0, rr);
            EXPECT_TRUE(iguais(r, rr, n));

            Vec x = x0, rx = x0, s = x0, rs = x0;
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(kt::bits(IteracaoJacobi(n, A, b, x)),
                          kt::bits(ref::IteracaoJacobi(n, A, b, rx)));
                EXPECT_EQ(kt::bits(IteracaoGaussSeidel(n, A, b, s)),
                          kt::bits(ref::IteracaoGaussSeidel(n, A, b, rs)));
            }
            EXPECT_TRUE(iguais(x, rx, n));
            EXPECT_TRUE(iguais(s, rs, n));
        }
    }
}
