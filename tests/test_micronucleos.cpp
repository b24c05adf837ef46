// Each micro-kernel of every set of this machine against its contract written out term by term
// (nucleos.h), bit for bit, for every row count a caller may pass and widths on both sides of
// the sets' vector and group boundaries: the grouping of rows and columns around each set's
// vector code is checked directly, not only through the kernels.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "sistemas.h"

namespace sislin {

namespace {

using nucleos::kMaxLinhas;
using nucleos::kMaxPassos;
using nucleos::Micronucleos;

// Scalars in [-4, 4], each widened to double when asked: products of two are exact in double.
struct Gerador {
    std::mt19937 g{2024u};
    Scalar s() { return std::uniform_real_distribution<Scalar>(-4.0f, 4.0f)(g); }
    double d() { return static_cast<double>(s()); }
};

Scalar termo(double a, double b, Scalar soma) {
    return static_cast<Scalar>(a * b + static_cast<double>(soma));
}

void confere_passos(const Micronucleos& k, int linhas, int w, int passos, Gerador& g) {
    const int k0 = 3;
    std::vector<double> U(static_cast<std::size_t>(passos * w + nucleos::kSobraFaixa + 1));
    for (double& u : U) u = g.d();
    std::vector<double> m(static_cast<std::size_t>(linhas * kMaxPassos));
    for (double& x : m) x = g.d();
    std::vector<std::vector<Scalar>> L(static_cast<std::size_t>(linhas)), esperado;
    std::vector<Scalar*> linha;
    for (std::vector<Scalar>& l : L) {
        for (int c = 0; c < k0 + w + 2; ++c) l.push_back(g.s());
        linha.push_back(l.data());
    }
    esperado = L;
    for (int r = 0; r < linhas; ++r)
        for (int c = 0; c < w; ++c)
            for (int t = 0; t < passos; ++t) {
                Scalar& x = esperado[static_cast<std::size_t>(r)][static_cast<std::size_t>(k0 + c)];
                x = termo(U[static_cast<std::size_t>(t * w + c)],
                          m[static_cast<std::size_t>(r * kMaxPassos + t)], x);
            }
    k.aplica_passos(U.data(), w, passos, m.data(), linha.data(), linhas, k0, w);
    EXPECT_EQ(L, esperado) << "aplica_passos linhas=" << linhas << " w=" << w
                           << " passos=" << passos;
}

void confere_linhas(const Micronucleos& k, int linhas, int n, int pula, Gerador& g) {
    std::vector<std::vector<Scalar>> a(static_cast<std::size_t>(linhas));
    std::vector<const Scalar*> linha;
    for (std::vector<Scalar>& l : a) {
        for (int j = 0; j <= n; ++j) l.push_back(g.s());
        linha.push_back(l.data());
    }
    std::vector<Scalar> v(static_cast<std::size_t>(n + 1)), s(static_cast<std::size_t>(linhas));
    for (Scalar& x : v) x = g.s();
    std::vector<Scalar> esperado(static_cast<std::size_t>(linhas), 0.0f);
    for (int r = 0; r < linhas; ++r)
        for (int j = 1; j <= n; ++j)
            if (pula <= 0 || j != pula + r)
                esperado[static_cast<std::size_t>(r)] =
                    termo(static_cast<double>(
                              a[static_cast<std::size_t>(r)][static_cast<std::size_t>(j)]),
                          static_cast<double>(v[static_cast<std::size_t>(j)]),
                          esperado[static_cast<std::size_t>(r)]);
    k.somas_linhas(linha.data(), linhas, v.data(), n, pula, s.data());
    EXPECT_EQ(s, esperado) << "somas_linhas linhas=" << linhas << " n=" << n << " pula=" << pula;
}

void confere_colunas(const Micronucleos& k, int ld, int j0, int j1, Gerador& g) {
    std::vector<Scalar> coef(static_cast<std::size_t>(j1 + 2));
    for (Scalar& c : coef) c = g.s();
    std::vector<double> T(static_cast<std::size_t>((j1 + 2) * ld));
    for (double& t : T) t = g.d();
    std::vector<Scalar> s(static_cast<std::size_t>(ld)), esperado(static_cast<std::size_t>(ld));
    for (int c = 0; c < ld; ++c)
        for (int j = j0; j <= j1; ++j)
            esperado[static_cast<std::size_t>(c)] = termo(
                static_cast<double>(coef[static_cast<std::size_t>(j)]),
                T[static_cast<std::size_t>(j * ld + c)], esperado[static_cast<std::size_t>(c)]);
    k.somas_colunas(coef.data(), T.data(), ld, j0, j1, s.data());
    EXPECT_EQ(s, esperado) << "somas_colunas ld=" << ld << " j0=" << j0 << " j1=" << j1;
}

}  // namespace

TEST(Micronucleos, EverySetKeepsTheContractOfEachMicroKernel) {
    Gerador g;
    for (const Micronucleos* k : nucleos::conjuntos()) {
        SCOPED_TRACE(nucleos::nome(k->isa));
        for (int linhas = 1; linhas <= kMaxLinhas + 5; ++linhas)
            for (int w : {1, 2, 3, 4, 5, 8, 9, 17, 33, 70})
                for (int passos : {0, 1, 5, kMaxPassos}) confere_passos(*k, linhas, w, passos, g);
        for (int linhas = 1; linhas <= kMaxLinhas; ++linhas)
            for (int n : {1, 3, 4, 7, 8, 9, 16, 37, 70}) {
                confere_linhas(*k, linhas, n, 0, g);
                for (int pula = 1; pula + linhas - 1 <= n; pula += 1 + n / 5)
                    confere_linhas(*k, linhas, n, pula, g);
            }
        for (int ld : {16, 32, 48, 128, 144, 272})
            for (const auto& [j0, j1] :
                 {std::pair{1, 0}, std::pair{1, 1}, std::pair{2, 9}, std::pair{1, 40}})
                confere_colunas(*k, ld, j0, j1, g);
    }
    kt::pula_se_faltam_conjuntos();
}

}  // namespace sislin
