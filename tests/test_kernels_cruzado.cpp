// Cross-checks on random systems (fixed seeds): the pivoted LU solve against a long-double
// Gaussian solve, and its permutation against an independent long-double replica of the pivot
// rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "methods.h"
#include "sistemas.h"

namespace sislin {

using kt::IVec;
using kt::Mat;
using kt::Vec;

namespace {

using LD = long double;

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
        b[static_cast<std::size_t>(i)] = static_cast<LD>(b0[i]);
        for (int j = 1; j <= n; ++j)
            a[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = static_cast<LD>(A0[i][j]);
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

const int kTamanhos[] = {1, 2, 3, 4, 5, 7, 10, 16, 23, 32, 41, 50};

}  // namespace

TEST(KernelCruzado, PivotedLUSolveMatchesLongDouble) {
    unsigned semente = 20240611u;
    int exchanges_seen = 0;
    for (int n : kTamanhos) {
        for (int rep = 0; rep < 4; ++rep) {
            const Mat A0 = kt::matriz(n, kt::Tipo::Dominante, semente);
            const Vec b0 = kt::vetor(n, kt::Tipo::Dominante, semente++);
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
                num = std::max(
                    num, std::fabs(static_cast<LD>(x[i]) - ref.x[static_cast<std::size_t>(i)]));
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
    unsigned semente = 7u;
    int compared = 0;
    for (int n : kTamanhos) {
        for (int rep = 0; rep < 4; ++rep) {
            const Mat A0 = kt::matriz(n, kt::Tipo::Aleatoria, semente);
            const Vec b0 = kt::vetor(n, kt::Tipo::Aleatoria, semente++);
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

}  // namespace sislin
