// Cross-checks on random systems (fixed seeds): the pivoted LU solve against a long-double
// Gaussian solve, its permutation against an independent long-double replica of the pivot rule,
// and every kernel of methods/ against the straightforward reference copies, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "kernel_helpers.h"
#include "methods.h"
#include "referencia.h"

using kt::IVec;
using kt::Mat;
using kt::Vec;

namespace {

using LD = long double;

Mat aleatoria(int n, std::mt19937& g) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    Mat A(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) A[i][j] = u(g);
    return A;
}

// Row-diagonally dominant (diagonal magnitude 1 per row), rows then shuffled so that the
// pivoted factorisation has exchanges to make.
Mat dominante_embaralhada(int n, std::mt19937& g) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<std::vector<float>> rows(static_cast<std::size_t>(n + 1),
                                         std::vector<float>(static_cast<std::size_t>(n + 1)));
    for (int i = 1; i <= n; ++i) {
        auto& r = rows[static_cast<std::size_t>(i)];
        double off = 0;
        for (int j = 1; j <= n; ++j) {
            r[static_cast<std::size_t>(j)] = u(g);
            if (j != i) off += std::fabs(static_cast<double>(r[static_cast<std::size_t>(j)]));
        }
        const double escala = 0.8 / std::max(off, 1e-3);
        for (int j = 1; j <= n; ++j)
            if (j != i)
                r[static_cast<std::size_t>(j)] = static_cast<float>(
                    static_cast<double>(r[static_cast<std::size_t>(j)]) * escala);
        r[static_cast<std::size_t>(i)] = (u(g) < 0) ? -1.0f : 1.0f;
    }
    std::shuffle(rows.begin() + 1, rows.end(), g);
    Mat A(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            A[i][j] = rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    return A;
}

// Long-double Gaussian elimination with the strict first-largest pivot rule.
struct SolucaoLD {
    std::vector<LD> x;      // 1..n
    std::vector<int> perm;  // 1..n: row i of the factors is row perm[i] of A
    LD det = 1;
    LD margem = 1;  // smallest relative gap between the chosen pivot and any other candidate
};

SolucaoLD resolve_ld(const Mat& A0, const Vec& b0, int n) {
    const auto N = static_cast<std::size_t>(n + 1);
    std::vector<std::vector<LD>> a(N, std::vector<LD>(N));
    std::vector<LD> b(N);
    SolucaoLD s;
    s.perm.assign(N, 0);
    for (int i = 1; i <= n; ++i) {
        s.perm[static_cast<std::size_t>(i)] = i;
        b[static_cast<std::size_t>(i)] = b0[i];
        for (int j = 1; j <= n; ++j)
            a[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = A0[i][j];
    }
    auto at = [&](int i, int j) -> LD& {
        return a[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    };
    for (int i = 1; i < n; ++i) {
        int p = i;
        for (int j = i + 1; j <= n; ++j)
            if (std::fabs(at(j, i)) > std::fabs(at(p, i))) p = j;
        const LD best = std::fabs(at(p, i));
        for (int j = i; j <= n; ++j)
            if (j != p && best > 0)
                s.margem = std::min(s.margem, (best - std::fabs(at(j, i))) / best);
        if (p != i) {
            std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(p)]);
            std::swap(b[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(p)]);
            std::swap(s.perm[static_cast<std::size_t>(i)], s.perm[static_cast<std::size_t>(p)]);
            s.det = -s.det;
        }
        for (int j = i + 1; j <= n; ++j) {
            const LD m = at(j, i) / at(i, i);
            for (int k = i; k <= n; ++k) at(j, k) -= m * at(i, k);
            b[static_cast<std::size_t>(j)] -= m * b[static_cast<std::size_t>(i)];
        }
    }
    for (int i = 1; i <= n; ++i) s.det *= at(i, i);
    s.x.assign(N, 0);
    for (int i = n; i >= 1; --i) {
        LD sum = b[static_cast<std::size_t>(i)];
        for (int j = i + 1; j <= n; ++j) sum -= at(i, j) * s.x[static_cast<std::size_t>(j)];
        s.x[static_cast<std::size_t>(i)] = sum / at(i, i);
    }
    return s;
}

Vec vetor_aleatorio(int n, std::mt19937& g) {
    std::uniform_real_distribution<float> u(-10.0f, 10.0f);
    Vec v(n);
    for (int i = 1; i <= n; ++i) v[i] = u(g);
    return v;
}

const int kTamanhos[] = {1, 2, 3, 4, 5, 7, 10, 16, 23, 32, 41, 50};

}  // namespace

TEST(KernelCruzado, PivotedLUSolveMatchesLongDouble) {
    std::mt19937 g(20240611u);
    int exchanges_seen = 0;
    for (int n : kTamanhos) {
        for (int rep = 0; rep < 4; ++rep) {
            const Mat A0 = dominante_embaralhada(n, g);
            const Vec b0 = vetor_aleatorio(n, g);
            const SolucaoLD ref = resolve_ld(A0, b0, n);

            Mat A = A0;
            IVec pos(n);
            Scalar det = 0;
            LUPivoteamentoParcial(n, A, pos, det);
            for (int i = 1; i <= n; ++i) {
                ASSERT_EQ(pos[i], ref.perm[static_cast<std::size_t>(i)]) << "n=" << n << " i=" << i;
                if (pos[i] != i) ++exchanges_seen;
            }
            EXPECT_NEAR(static_cast<double>(det / static_cast<float>(ref.det)), 1.0, 1e-4)
                << "n=" << n;

            Vec b(n), y(n), x(n);
            for (int i = 1; i <= n; ++i) b[i] = b0[pos[i]];
            SubstituicaoProgressivaL(n, A, y, b);
            SubstituicaoRetroativa(n, A, x, y);
            LD num = 0, den = 0;
            for (int i = 1; i <= n; ++i) {
                num = std::max(num, std::fabs(x[i] - ref.x[static_cast<std::size_t>(i)]));
                den = std::max(den, std::fabs(ref.x[static_cast<std::size_t>(i)]));
            }
            EXPECT_LT(static_cast<double>(num / den), 1e-4) << "n=" << n;

            // The residual of the float solution is small compared with b.
            Vec r(n);
            CalculaResiduo(n, b0, A0, x, r);
            EXPECT_LT(CalculaErro(n, r), 1e-3f) << "n=" << n;
        }
    }
    EXPECT_GT(exchanges_seen, 100);
}

TEST(KernelCruzado, PivotRuleOnGeneralMatricesMatchesLongDoubleReplica) {
    std::mt19937 g(7u);
    int compared = 0;
    for (int n : kTamanhos) {
        for (int rep = 0; rep < 4; ++rep) {
            const Mat A0 = aleatoria(n, g);
            const Vec b0 = vetor_aleatorio(n, g);
            const SolucaoLD ref = resolve_ld(A0, b0, n);
            if (ref.margem < 1e-3L) continue;  // a near tie: rounding may decide it either way
            ++compared;
            Mat A = A0;
            IVec pos(n);
            Scalar det = 0;
            LUPivoteamentoParcial(n, A, pos, det);
            for (int i = 1; i <= n; ++i)
                ASSERT_EQ(pos[i], ref.perm[static_cast<std::size_t>(i)]) << "n=" << n << " i=" << i;
            EXPECT_EQ(std::signbit(det), std::signbit(ref.det)) << "n=" << n;
            EXPECT_NEAR(static_cast<double>(det / static_cast<float>(ref.det)), 1.0, 1e-2)
                << "n=" << n;
        }
    }
    EXPECT_GT(compared, 20);
}

namespace {

// Small integers make ties, zero pivots, infinities and NaNs; the rest are general values.
Mat mista(int n, std::mt19937& g, bool inteiros) {
    std::uniform_int_distribution<int> k(-2, 2);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    Mat A(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) A[i][j] = inteiros ? static_cast<float>(k(g)) : u(g);
    return A;
}

// Every place compared; two NaNs count as equal (see kt::mesmo_valor).
void compara_com_referencia(int n, const Mat& A0, const Vec& b0) {
    SCOPED_TRACE(testing::Message() << "n=" << n);
    {
        Mat A = A0, R = A0;
        Vec b = b0, rb = b0;
        Eliminacao(n, A, b);
        referencia::Eliminacao(n, R, rb);
        EXPECT_TRUE(kt::iguais(A, R, n));
        EXPECT_TRUE(kt::iguais(b, rb, n));
        Vec x(n), rx(n);
        SubstituicaoRetroativa(n, A, x, b);
        referencia::SubstituicaoRetroativa(n, R, rx, rb);
        EXPECT_TRUE(kt::iguais(x, rx, n));
    }
    {
        Mat A = A0, R = A0;
        Vec b = b0, rb = b0;
        GaussPivoteamentoParcial(n, A, b);
        referencia::GaussPivoteamentoParcial(n, R, rb);
        EXPECT_TRUE(kt::iguais(A, R, n));
        EXPECT_TRUE(kt::iguais(b, rb, n));
    }
    {
        Mat A = A0, R = A0;
        LU(n, A);
        referencia::LU(n, R);
        EXPECT_TRUE(kt::iguais(A, R, n));
    }
    {
        Mat A = A0, R = A0;
        IVec pos(n), rpos(n);
        Scalar det = 0, rdet = 0;
        LUPivoteamentoParcial(n, A, pos, det);
        referencia::LUPivoteamentoParcial(n, R, rpos, rdet);
        EXPECT_TRUE(kt::iguais(A, R, n));
        EXPECT_TRUE(kt::mesmo_valor(det, rdet));
        for (int i = 1; i <= n; ++i) EXPECT_EQ(pos[i], rpos[i]);

        Vec y(n), ry(n), x(n), rx(n), z(n), rz(n);
        SubstituicaoProgressivaL(n, A, y, b0);
        referencia::SubstituicaoProgressivaL(n, R, ry, b0);
        EXPECT_TRUE(kt::iguais(y, ry, n));
        SubstituicaoProgressiva(n, A, z, b0);
        referencia::SubstituicaoProgressiva(n, R, rz, b0);
        EXPECT_TRUE(kt::iguais(z, rz, n));

        Mat Inv(n), RInv(n);
        Vec b(n), rb(n);
        Inversa(n, A, Inv, b, x, y);
        referencia::Inversa(n, R, RInv, rb, rx, ry);
        EXPECT_TRUE(kt::iguais(Inv, RInv, n));
        EXPECT_TRUE(kt::iguais(x, rx, n));
        EXPECT_TRUE(kt::iguais(y, ry, n));

        Vec r(n), rr(n);
        CalculaResiduo(n, b0, A0, x, r);
        referencia::CalculaResiduo(n, b0, A0, rx, rr);
        EXPECT_TRUE(kt::iguais(r, rr, n));
        EXPECT_TRUE(kt::mesmo_valor(CalculaErro(n, r), referencia::CalculaErro(n, rr)));
    }
    {
        Vec x(n), rx(n), g(n), rg(n);
        for (int k = 0; k < 4; ++k) {
            const Scalar e = IteracaoJacobi(n, A0, b0, x);
            const Scalar re = referencia::IteracaoJacobi(n, A0, b0, rx);
            EXPECT_EQ(kt::bits(e), kt::bits(re));
            const Scalar f = IteracaoGaussSeidel(n, A0, b0, g);
            const Scalar rf = referencia::IteracaoGaussSeidel(n, A0, b0, rg);
            EXPECT_EQ(kt::bits(f), kt::bits(rf));
        }
        EXPECT_TRUE(kt::iguais(x, rx, n));
        EXPECT_TRUE(kt::iguais(g, rg, n));
    }
}

}  // namespace

TEST(KernelCruzado, ProductionKernelsMatchReferenceBitForBit) {
    std::mt19937 g(12345u);
    for (int n : {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 50, 64, 67}) {
        compara_com_referencia(n, mista(n, g, false), vetor_aleatorio(n, g));
        compara_com_referencia(n, mista(n, g, true), vetor_aleatorio(n, g));
        compara_com_referencia(n, dominante_embaralhada(n, g), vetor_aleatorio(n, g));
    }
}
