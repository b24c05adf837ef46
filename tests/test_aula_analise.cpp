// The companion's analysis on systems with known answers: whole reports of a 2 x 2 and a 3 x 3
// worked by hand, spectral radii against closed forms (complex dominant pairs included), the
// Hilbert matrices' condition numbers, the condition's edge cases, and the exact integer
// arithmetic of the generator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "analise.h"
#include "espectro.h"
#include "inteiros.h"

using namespace sislin;
using namespace sislin::aula;

namespace {

std::string relatorio(const MatrizReal& a) {
    return texto_analise(analisa(a));
}

}  // namespace

TEST(AulaAnalise, DoisPorDoisFeitoAMao) {
    // T_J has the eigenvalues +-sqrt(1/6), T_GS 0 and 1/6; A^-1 = [[3, -1], [-2, 4]] / 10.
    EXPECT_EQ(relatorio({{4, 1}, {2, 3}}),
              "Analise de A (n = 2), em precisao dupla\n\n"
              "Dominancia diagonal por linhas (|a_ii| contra a soma dos outros |a_ij|):\n"
              "linha  1: 4 contra 1: estrita\n"
              "linha  2: 3 contra 2: estrita\n"
              "A e estritamente diagonal dominante.\n\n"
              "Iteracoes (raio espectral da matriz de iteracao):\n"
              "Jacobi:       raio espectral 0.408248: converge de qualquer inicio; precisao 1e-4 "
              "em cerca de 11 iteracoes\n"
              "Gauss-Seidel: raio espectral 0.166667: converge de qualquer inicio; precisao 1e-4 "
              "em cerca de 6 iteracoes\n\n"
              "Normas do maximo e condicao:\n"
              "||A||     = 5\n"
              "||A^-1||  = 0.6\n"
              "kappa(A)  = 3\n"
              "Digitos confiaveis da solucao em precisao simples: cerca de 6.7\n\n"
              "Gauss sem pivoteamento (em precisao simples): nenhum pivo nulo.\n");
}

TEST(AulaAnalise, TresPorTresFeitoAMao) {
    // T_J: lambda^3 - 1.5 lambda, so +-sqrt(1.5); T_GS = [[0, -1, 0], [0, 1, -1], [0, -0.5,
    // 0.5]]: 0, 0 and 1.5; A^-1 = [[-1, 2, -1], [2, -2, 1], [-1, 1, 0]]; the second pivot is 0.
    EXPECT_EQ(relatorio({{1, 1, 0}, {1, 1, 1}, {0, 1, 2}}),
              "Analise de A (n = 3), em precisao dupla\n\n"
              "Dominancia diagonal por linhas (|a_ii| contra a soma dos outros |a_ij|):\n"
              "linha  1: 1 contra 1: fraca\n"
              "linha  2: 1 contra 2: nao dominante\n"
              "linha  3: 2 contra 1: estrita\n"
              "A nao e diagonal dominante.\n\n"
              "Iteracoes (raio espectral da matriz de iteracao):\n"
              "Jacobi:       raio espectral 1.22474: nao converge a partir de todo inicio\n"
              "Gauss-Seidel: raio espectral 1.5: nao converge a partir de todo inicio\n\n"
              "Normas do maximo e condicao:\n"
              "||A||     = 3\n"
              "||A^-1||  = 5\n"
              "kappa(A)  = 15\n"
              "Digitos confiaveis da solucao em precisao simples: cerca de 6.0\n\n"
              "Gauss sem pivoteamento (em precisao simples): pivo nulo na etapa 2.\n");
}

TEST(AulaAnalise, VereditosDosCasosDeBorda) {
    struct Caso {
        MatrizReal a;
        const char* trecho;
    };
    const Caso casos[] = {
        {{{2, 1, 1}, {1, 2, 1}, {0, 1, 1}}, "A e fracamente diagonal dominante.\n"},
        {{{0, 1}, {1, 1}}, "Jacobi:       nao se aplica: ha um zero na diagonal de A\n"},
        {{{0, 1}, {1, 1}}, "pivo nulo na etapa 1.\n"},
        {{{1, 2}, {2, 4}}, "A e singular: nao tem inversa, kappa infinito\n"},
        {{{1, 2}, {2, 4}}, "pivo nulo na etapa 2.\n"},
        {{{1e-6, 1}, {1, 1}}, "Digitos confiaveis da solucao em precisao simples: cerca de 6.6\n"},
        {{{1, 0.99999994}, {1, 1}}, "Digitos confiaveis da solucao em precisao simples: nenhum\n"},
        // A rotation: T_J = [[0, 2], [-2, 0]], eigenvalues +-2i; T_GS = [[0, 2], [0, -4]].
        {{{1, -2}, {2, 1}}, "Jacobi:       raio espectral 2: nao converge"},
        {{{1, -2}, {2, 1}}, "Gauss-Seidel: raio espectral 4: nao converge"},
        {{{5}},
         "Jacobi:       raio espectral 0: converge de qualquer inicio; precisao 1e-4 em "
         "cerca de 1 iteracao\n"},
    };
    for (const Caso& c : casos)
        EXPECT_NE(relatorio(c.a).find(c.trecho), std::string::npos) << c.trecho;
}

namespace {

// S B S^-1 with S unit lower triangular, every entry below the diagonal 1 (S^-1: 1 on the
// diagonal, -1 just below it): B's eigenvalues in a full matrix.
MatrizReal semelhante(const MatrizReal& b) {
    const std::size_t n = b.size();
    MatrizReal sb(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            for (std::size_t k = 0; k <= i; ++k) sb[i][j] += b[k][j];
    MatrizReal a(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) a[i][j] = sb[i][j] - (j + 1 < n ? sb[i][j + 1] : 0.0);
    return a;
}

}  // namespace

TEST(AulaEspectro, ParComplexoDominante) {
    for (const double theta : {0.3, 1.0, 2.5}) {
        const double c = 0.9 * std::cos(theta);
        const double s = 0.9 * std::sin(theta);
        const MatrizReal b = {{0.3, 1, 2, 0, 1},
                              {0, c, -s, 1, 0},
                              {0, s, c, 2, 1},
                              {0, 0, 0, -0.5, 3},
                              {0, 0, 0, 0, 0.2}};
        const std::optional<Autovalores> v = autovalores(semelhante(b));
        ASSERT_TRUE(v);
        int pares = 0;
        for (std::size_t i = 0; i < v->real.size(); ++i)
            if (std::fabs(std::fabs(v->imaginaria[i]) - s) < 1e-12 &&
                std::fabs(v->real[i] - c) < 1e-12)
                ++pares;
        EXPECT_EQ(pares, 2) << theta;
        EXPECT_NEAR(raio_espectral(semelhante(b)).value(), 0.9, 1e-12) << theta;
    }
}

TEST(AulaEspectro, MatrizDeDiferencasFinitas) {
    // tridiag(-1, 2, -1): rho(T_J) = cos(pi / (n + 1)), rho(T_GS) = its square.
    for (const int n : {3, 10, 40}) {
        MatrizReal a(static_cast<std::size_t>(n),
                     std::vector<double>(static_cast<std::size_t>(n), 0.0));
        for (std::size_t i = 0; i < a.size(); ++i) {
            a[i][i] = 2;
            if (i > 0) a[i][i - 1] = a[i - 1][i] = -1;
        }
        const double c = std::cos(std::numbers::pi / (n + 1));
        EXPECT_NEAR(raio_espectral(matriz_jacobi(a).value()).value(), c, 1e-12) << n;
        EXPECT_NEAR(raio_espectral(matriz_gauss_seidel(a).value()).value(), c * c, 1e-12) << n;
    }
}

TEST(AulaAnalise, CondicaoDasMatrizesDeHilbert) {
    // kappa in the maximum norm of the n x n Hilbert matrix.
    const double esperado[] = {748.0, 28375.0, 943656.0, 29070279.0};
    for (int n = 3; n <= 6; ++n) {
        MatrizReal h(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n)));
        double norma = 0.0;
        for (std::size_t i = 0; i < h.size(); ++i) {
            double s = 0.0;
            for (std::size_t j = 0; j < h.size(); ++j)
                s += h[i][j] = 1.0 / static_cast<double>(i + j + 1);
            norma = std::fmax(norma, s);
        }
        const double kappa = norma * norma_inversa(h).value();
        EXPECT_NEAR(kappa / esperado[n - 3], 1.0, 1e-8) << n;
    }
}

TEST(AulaAnalise, LogaritmoEVarreduras) {
    for (double x = 1e-300; x < 1e300; x *= 7.3)
        EXPECT_NEAR(log10_exato(x), std::log10(x),
                    4e-15 * std::fmax(1.0, std::fabs(std::log10(x))));
    EXPECT_EQ(varreduras(0.5), 14);  // 0.5^13 > 1e-4 >= 0.5^14
    EXPECT_EQ(varreduras(0.9), 88);  // 0.9^87 > 1e-4 >= 0.9^88
    EXPECT_EQ(varreduras(0.0), 1);
    EXPECT_FALSE(varreduras(0.9999999));
}

TEST(AulaInteiros, DeterminantesMenoresECondicao) {
    EXPECT_EQ(determinante({{1, 2}, {3, 4}}), -2);
    EXPECT_EQ(determinante({{0, 1, 0}, {1, 0, 0}, {0, 0, 5}}), -5);
    EXPECT_EQ(determinante({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}), 0);
    EXPECT_EQ(determinante({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}), 4);
    EXPECT_EQ(primeiro_menor_nulo({{1, 1, 0}, {1, 1, 1}, {0, 1, 2}}), 2);
    EXPECT_EQ(primeiro_menor_nulo({{0, 1}, {1, 0}}), 1);
    EXPECT_EQ(primeiro_menor_nulo({{2, 1}, {1, 2}}), 0);
    const std::int64_t grande = std::int64_t{1} << 40;
    EXPECT_FALSE(determinante({{grande, 1, 1}, {1, grande, 1}, {1, 1, grande}}));
    // ||A|| = 7, A^-1 = [[-2, 1], [1.5, -0.5]]: kappa = 21 = 42 / 2.
    const std::optional<Fracao> f = condicao({{1, 2}, {3, 4}});
    ASSERT_TRUE(f);
    EXPECT_TRUE(entre(*f, 21, 21));
    EXPECT_FALSE(entre(*f, 22, 100));
    EXPECT_FALSE(entre(*f, 1, 20));
    EXPECT_FALSE(condicao({{1, 2}, {2, 4}}));
    EXPECT_TRUE(estritamente_dominante({{3, 1, -1}, {0, 1, 0}, {1, 1, -3}}));
    EXPECT_FALSE(estritamente_dominante({{3, 1, -1}, {0, 1, 0}, {1, 2, -3}}));
}

// The condition's edge cases: kappa is at least 1 (a rounding of 1/49 gave 0.9999999999999999
// and lost the digits), a NaN in A shows in ||A|| in any row order, and a matrix singular in
// double precision is called singular, not given a kappa near 1e17.
TEST(AulaAnalise, CondicaoNosCasosDeBorda) {
    const double nan = std::nan("");
    const double quase = 1.0 + std::ldexp(1.0, -40);   // kappa about 4.4e12: not singular
    const double demais = 1.0 + std::ldexp(1.0, -52);  // kappa about 1.8e16: singular
    struct Caso {
        MatrizReal a;
        const char* trecho;
    };
    const Caso casos[] = {
        {{{49}},
         "kappa(A)  = 1\nDigitos confiaveis da solucao em precisao simples: cerca de 7.2\n"},
        {{{49, 0}, {0, 49}},
         "kappa(A)  = 1\nDigitos confiaveis da solucao em precisao simples: cerca de 7.2\n"},
        {{{1, nan}, {1, 2}}, "||A||     = nan\n"},
        {{{2, 1}, {1, nan}}, "||A||     = nan\n"},
        {{{nan, 1}, {1, 2}}, "||A||     = nan\n"},
        {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, "A e singular: nao tem inversa, kappa infinito\n"},
        {{{1e-200, 2e-200, 3e-200}, {4e-200, 5e-200, 6e-200}, {7e-200, 8e-200, 9e-200}},
         "A e singular: nao tem inversa, kappa infinito\n"},
        {{{1, 1}, {1, demais}}, "A e singular: nao tem inversa, kappa infinito\n"},
        {{{1, 1}, {1, quase}}, "Digitos confiaveis da solucao em precisao simples: nenhum\n"},
        {{{1e-200, 1e-200}, {1e-200, 2e-200}}, "kappa(A)  = 9\n"},
    };
    for (const Caso& c : casos) {
        const Analise r = analisa(c.a);
        EXPECT_NE(texto_analise(r).find(c.trecho), std::string::npos) << c.trecho << "\n"
                                                                      << texto_analise(r);
        EXPECT_TRUE(!(r.normas.kappa < 1.0) || r.normas.singular) << c.trecho;
    }
    // The larger of two, a NaN winning in either place (||A||, ||A^-1||, the spectral radius).
    const double pares[][3] = {{1, 2, 2}, {2, 1, 2}, {nan, 1, nan}, {1, nan, nan}, {-0.0, 0, 0}};
    for (const auto& [a, b, maior] : pares) {
        if (std::isnan(maior))
            EXPECT_TRUE(std::isnan(maior_ou_nan(a, b))) << a << " " << b;
        else
            EXPECT_EQ(maior_ou_nan(a, b), maior) << a << " " << b;
    }
}
