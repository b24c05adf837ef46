// The fast kernels (column tiles of the inverse, grouped pivot steps, rows side by side in
// vector lanes) against the reference copies, bit for bit, on every size 0..70 and on sizes
// around the tile and block widths and beyond, so that each tile, group and block boundary and
// remainder is crossed; with infinities, NaNs of both signs, signed zeros, subnormals, values
// near overflow, and ties among the entries.
#include <cmath>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "kernel_helpers.h"
#include "methods.h"
#include "referencia.h"

using kt::IVec;
using kt::Mat;
using kt::Vec;

namespace {

constexpr int kMaior = 70;
constexpr Scalar kInf = std::numeric_limits<Scalar>::infinity();
constexpr Scalar kNaN = std::numeric_limits<Scalar>::quiet_NaN();

// 0..kMaior, then sizes around multiples of 32 and a few larger ones.
std::vector<int> tamanhos() {
    std::vector<int> t;
    for (int n = 0; n <= kMaior; ++n) t.push_back(n);
    for (int n : {95, 96, 97, 100, 127, 128, 129, 130, 257}) t.push_back(n);
    return t;
}

Scalar especial(std::mt19937& g) {
    switch (std::uniform_int_distribution<int>(0, 9)(g)) {
        case 0: return kInf;
        case 1: return -kInf;
        case 2: return kNaN;
        case 3: return -kNaN;
        case 4: return 0.0f;
        case 5: return -0.0f;
        case 6: return std::numeric_limits<Scalar>::denorm_min();
        case 7: return -1e-40f;  // subnormal
        case 8: return std::numeric_limits<Scalar>::max();
        default: return -3e38f;
    }
}

enum class Tipo { Uniforme, Inteiros, Escalas };

// Uniform in [-1, 1], small integers (ties), or uniform times 2^k with k spread widely so that
// sums overflow, fall into the subnormals or round to signed zeros.
Scalar entrada(std::mt19937& g, Tipo tipo) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    switch (tipo) {
        case Tipo::Uniforme: return u(g);
        case Tipo::Inteiros: return static_cast<Scalar>(std::uniform_int_distribution<int>(-2, 2)(g));
        default: return std::ldexp(u(g), std::uniform_int_distribution<int>(-140, 120)(g));
    }
}

Tipo tipo_de(std::mt19937& g) {
    return static_cast<Tipo>(std::uniform_int_distribution<int>(0, 2)(g));
}

// Random entries of one kind, a few of them made special.
Mat matriz(int n, std::mt19937& g, int especiais, Tipo tipo) {
    Mat A(n);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) A[i][j] = entrada(g, tipo);
    if (n > 0) {
        std::uniform_int_distribution<int> pos(1, n);
        for (int e = 0; e < especiais; ++e) A[pos(g)][pos(g)] = especial(g);
    }
    return A;
}
Mat matriz(int n, std::mt19937& g, int especiais) {
    return matriz(n, g, especiais, tipo_de(g));
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

using kt::iguais;
using kt::mesmo_valor;

// The inverse of the factors F and everything it leaves behind, against the reference.
void confere_inversa(int n, const Mat& F, std::mt19937& g) {
    Mat Inv = matriz(n, g, 2), RInv = Inv;  // stale contents must not matter
    Vec b = vetor(n, g, 0), rb = b, x = vetor(n, g, 0), rx = x, y = vetor(n, g, 0), ry = y;
    Inversa(n, F, Inv, b, x, y);
    referencia::Inversa(n, F, RInv, rb, rx, ry);
    EXPECT_TRUE(iguais(Inv, RInv, n));
    EXPECT_TRUE(iguais(b, rb, n));
    EXPECT_TRUE(iguais(x, rx, n));
    EXPECT_TRUE(iguais(y, ry, n));
}

// One residual and three Jacobi sweeps of A from x0, against the reference.
void confere_residuo_e_jacobi(int n, const Mat& A, const Vec& b, const Vec& x0) {
    Vec r(n), rr(n);
    for (int i = 0; i <= n; ++i) r[i] = rr[i] = 7.0f;
    CalculaResiduo(n, b, A, x0, r);
    referencia::CalculaResiduo(n, b, A, x0, rr);
    EXPECT_TRUE(iguais(r, rr, n));
    Vec x = x0, rx = x0;
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(kt::bits(IteracaoJacobi(n, A, b, x)), kt::bits(referencia::IteracaoJacobi(n, A, b, rx)))
            << "sweep " << k;
    EXPECT_TRUE(iguais(x, rx, n));
}

}  // namespace

TEST(KernelRapido, InversaMatchesReferenceWithSpecialFactors) {
    std::mt19937 g(777u);
    for (int n : tamanhos()) {
        for (int especiais : {0, 1, 3}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " especiais=" << especiais);
            // Factors of a well-behaved matrix, or raw entries standing for factors.
            Mat F = matriz(n, g, 0);
            if (especiais == 0 && (g() & 1u) != 0) referencia::LU(n, F);
            if (n > 0) {
                std::uniform_int_distribution<int> pos(1, n);
                for (int e = 0; e < especiais; ++e) F[pos(g)][pos(g)] = especial(g);
            }
            confere_inversa(n, F, g);
        }
    }
}

// An infinity or NaN at L[i][f] (f < i) meets the zeros above row f of every column after f and
// turns it entirely into NaN; the columns up to f must keep their exact bits. Placed around the
// tile boundaries.
TEST(KernelRapido, InversaWithOneNonFiniteMultiplier) {
    std::mt19937 g(31u);
    for (int n : {33, 64, 70, 100}) {
        for (int f : {1, 2, 31, 32, 33, 63, 64, 65, n - 1}) {
            if (f >= n) continue;
            for (int i : {f + 1, n}) {
                for (Scalar v : {kInf, -kInf, kNaN}) {
                    SCOPED_TRACE(testing::Message() << "n=" << n << " f=" << f << " i=" << i);
                    Mat F = matriz(n, g, 0, Tipo::Uniforme);
                    for (int k = 1; k <= n; ++k) F[k][k] = 4.0f;  // U well away from singular
                    F[i][f] = v;
                    confere_inversa(n, F, g);
                    Mat Inv(n);
                    Vec b(n), x(n), y(n);
                    Inversa(n, F, Inv, b, x, y);
                    bool nans = true;
                    for (int r = 1; r <= n; ++r)
                        for (int c = f + 1; c <= n; ++c) nans = nans && std::isnan(Inv[r][c]);
                    EXPECT_TRUE(nans);
                }
            }
        }
    }
}

TEST(KernelRapido, InversaWithZeroPivotsAndExtremeFactors) {
    std::mt19937 g(5u);
    for (int n : {1, 2, 31, 32, 33, 65, 100}) {
        for (int k : {1, n / 2 + 1, n}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " k=" << k);
            Mat F = matriz(n, g, 0, Tipo::Uniforme);
            F[k][k] = (g() & 1u) != 0 ? 0.0f : -0.0f;
            confere_inversa(n, F, g);
            // Huge multipliers: forward values overflow to infinities, the backward sums meet
            // inf - inf; tiny pivots: quotients overflow.
            Mat H = matriz(n, g, 0, Tipo::Uniforme);
            for (int r = 1; r <= n; ++r) {
                for (int c = 1; c < r; ++c) H[r][c] *= 1e30f;
                H[r][r] = 1e-30f;
            }
            confere_inversa(n, H, g);
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
                referencia::LU(n, R);
                EXPECT_TRUE(iguais(A, R, n));
            }
            {
                Mat A = A0, R = A0;
                IVec pos(n), rpos(n);
                Scalar det = 0, rdet = 0;
                LUPivoteamentoParcial(n, A, pos, det);
                referencia::LUPivoteamentoParcial(n, R, rpos, rdet);
                EXPECT_TRUE(iguais(A, R, n));
                EXPECT_TRUE(mesmo_valor(det, rdet));
                for (int i = 1; i <= n; ++i) EXPECT_EQ(pos[i], rpos[i]);
            }
            {
                Mat A = A0, R = A0;
                Vec b = b0, rb = b0;
                Eliminacao(n, A, b);
                referencia::Eliminacao(n, R, rb);
                EXPECT_TRUE(iguais(A, R, n));
                EXPECT_TRUE(iguais(b, rb, n));
            }
            {
                Mat A = A0, R = A0;
                Vec b = b0, rb = b0;
                GaussPivoteamentoParcial(n, A, b);
                referencia::GaussPivoteamentoParcial(n, R, rb);
                EXPECT_TRUE(iguais(A, R, n));
                EXPECT_TRUE(iguais(b, rb, n));
            }
        }
    }
}

TEST(KernelRapido, ResidualAndSweepsMatchReference) {
    std::mt19937 g(99u);
    for (int n : tamanhos()) {
        for (int especiais : {0, 2, 8}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " especiais=" << especiais);
            const Mat A = matriz(n, g, especiais);
            const Vec b = vetor(n, g, especiais / 2);
            const Vec x0 = vetor(n, g, especiais);
            confere_residuo_e_jacobi(n, A, b, x0);

            Vec s = x0, rs = x0;
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(kt::bits(IteracaoGaussSeidel(n, A, b, s)),
                          kt::bits(referencia::IteracaoGaussSeidel(n, A, b, rs)));
            EXPECT_TRUE(iguais(s, rs, n));
        }
    }
}

// Jacobi never reads the diagonal into the sum, whatever it holds: an infinity or NaN there
// times an old value of 0 would be NaN, and a skipped term is not an added zero: a sum of -0
// (tiny negative products) plus 0 would become +0, and b = -0 then tells the two apart.
TEST(KernelRapido, JacobiSkipsTheDiagonalWhateverItHolds) {
    std::mt19937 g(2u);
    for (int n : {1, 3, 4, 5, 31, 32, 33, 36, 63, 64, 65, 100}) {
        SCOPED_TRACE(testing::Message() << "n=" << n);
        Mat A = matriz(n, g, 0, Tipo::Uniforme);
        Vec b = vetor(n, g, 0), x0 = vetor(n, g, 0);
        const Scalar diagonais[] = {kInf, -kInf, kNaN, 0.0f, -0.0f, 1.0f};
        for (int i = 1; i <= n; ++i) {
            A[i][i] = diagonais[i % 6];
            if (i % 3 == 0) x0[i] = 0.0f;
        }
        confere_residuo_e_jacobi(n, A, b, x0);

        // Every row's first term is a tiny negative product and the others are -0, so every
        // sum but row 1's is -0, also past the diagonal, whose term would be +0.
        Mat T(n);
        Vec bz(n), xt(n);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) T[i][j] = -1e-30f;
            T[i][i] = 1.0f;
            bz[i] = -0.0f;
        }
        xt[1] = 1e-30f;
        confere_residuo_e_jacobi(n, T, bz, xt);
        Vec x = xt;
        IteracaoJacobi(n, T, bz, x);
        for (int i = 2; i <= n; ++i) EXPECT_EQ(kt::bits(x[i]), 0u) << i;  // (-0 - (-0)) / 1
    }
}
