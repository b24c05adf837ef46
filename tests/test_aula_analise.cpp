// The companion's analysis on systems with known answers: whole reports of a 2 x 2 and a 3 x 3
// worked by hand, spectral radii against closed forms (complex dominant pairs included), the
// Hilbert matrices' condition numbers, the exact integer arithmetic of the generator, and the
// JSON object of --json against its schema and against the text report's figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "analise.h"
#include "codigo.h"
#include "espectro.h"
#include "gerador.h"
#include "inteiros.h"
#include "json_mini.h"
#include "util.h"

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

namespace {

using json_mini::Valor;

std::string g(double v) {
    char buf[kFormatoMax];
    return {buf, formata_g(buf, v)};
}

// A JSON number as the text prints it with "%g"; null stands for a value that is not finite,
// which the text prints as nan, inf or -inf (the mark kNaoFinito in an expected line).
constexpr char kNaoFinito = '\x01';
std::string g(const Valor& v) {
    return v.tipo == Valor::Tipo::Nulo ? std::string(1, kNaoFinito) : g(v.numero);
}

// linha is esperada, each kNaoFinito in it standing for nan, inf or -inf.
bool casa(const std::string& linha, const std::string& esperada) {
    const std::size_t marca = esperada.find(kNaoFinito);
    if (marca == std::string::npos) return linha == esperada;
    if (linha.compare(0, marca, esperada, 0, marca) != 0) return false;
    for (const char* v : {"nan", "inf", "-inf"})
        if (linha.compare(marca, std::strlen(v), v) == 0 &&
            casa(linha.substr(marca + std::strlen(v)), esperada.substr(marca + 1)))
            return true;
    return false;
}

std::vector<std::string> linhas(const std::string& t) {
    std::vector<std::string> r;
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t f = t.find('\n', i);
        r.push_back(t.substr(i, f - i));
        i = f + 1;
    }
    return r;
}

const Valor& esquema() {
    static const Valor e = [] {
        std::ifstream f(std::string(SISLIN_SOURCE_DIR) + "/docs/sislin-aula.schema.json");
        std::stringstream t;
        t << f.rdbuf();
        return json_mini::le(t.str());
    }();
    return e;
}

// The object satisfies the schema, and every figure in it, printed as the text prints it,
// is the text's: the same lines, rebuilt from the JSON.
void confere_json(const std::string& json, const std::string& texto) {
    SCOPED_TRACE(json);
    const Valor v = json_mini::le(json);
    ASSERT_EQ(json_mini::valida(v, esquema(), esquema()), "");
    ASSERT_EQ(v.em("comando").texto, "analise");
    EXPECT_EQ(v.em("texto").texto, texto);
    const std::vector<std::string> l = linhas(texto);
    const auto tem = [&l](const std::string& esperada) {
        EXPECT_TRUE(std::any_of(l.begin(), l.end(), [&](const std::string& x) {
            return casa(x, esperada);
        })) << esperada;
    };
    const Valor& dom = v.em("dominancia");
    const std::vector<Valor>& filas = dom.em("linhas").lista;
    ASSERT_EQ(filas.size(), static_cast<std::size_t>(v.em("n").numero));
    for (std::size_t i = 0; i < filas.size(); ++i) {
        const Valor& f = filas[i];
        EXPECT_EQ(f.em("linha").numero, static_cast<double>(i + 1));
        const std::string& tipo = f.em("tipo").texto;
        std::string numero = std::to_string(i + 1);
        if (numero.size() < 2) numero.insert(0, 1, ' ');
        tem("linha " + numero + ": " + g(f.em("diagonal")) + " contra " + g(f.em("outros")) + ": " +
            (tipo == "nenhuma" ? "nao dominante" : tipo));
    }
    tem(dom.em("texto").texto);
    const std::string conclusao = dom.em("conclusao").texto;
    EXPECT_NE(dom.em("texto").texto.find(conclusao == "estrita" ? "estritamente"
                                         : conclusao == "fraca" ? "fracamente"
                                                                : "nao e"),
              std::string::npos);
    const std::vector<Valor>& it = v.em("iteracoes").lista;
    ASSERT_EQ(it.size(), 2U);
    const char* nomes[] = {"Jacobi:       ", "Gauss-Seidel: "};
    const char* metodos[] = {"jacobi", "gauss-seidel"};
    for (std::size_t i = 0; i < 2; ++i) {
        const Valor& r = it[i];
        EXPECT_EQ(r.em("metodo").texto, metodos[i]);
        const bool raio = r.em("raio").tipo == Valor::Tipo::Numero;
        tem(nomes[i] + (raio ? "raio espectral " + g(r.em("raio")) + ": " : std::string()) +
            r.em("texto").texto);
        const Valor& converge = r.em("converge");
        const Valor& k = r.em("varreduras");
        if (raio) {
            EXPECT_EQ(converge.booleano, r.em("raio").numero < 1.0);
        }
        if (k.tipo == Valor::Tipo::Numero) {
            EXPECT_TRUE(converge.booleano);
            const std::string quantas = k.numero == 1 ? "1 iteracao" : g(k.numero) + " iteracoes";
            EXPECT_NE(r.em("texto").texto.find("cerca de " + quantas), std::string::npos);
        }
    }
    const Valor& m = v.em("normas");
    tem("||A||     = " + g(m.em("A")));
    if (m.em("singular").booleano) {
        tem("A e singular: nao tem inversa, kappa infinito");
        EXPECT_EQ(m.em("inversa").tipo, Valor::Tipo::Nulo);
        EXPECT_EQ(m.em("kappa").tipo, Valor::Tipo::Nulo);
    } else {
        tem("||A^-1||  = " + g(m.em("inversa")));
        tem("kappa(A)  = " + g(m.em("kappa")));
    }
    const Valor& d = m.em("digitos");
    const std::string digitos = "Digitos confiaveis da solucao em precisao simples: ";
    if (d.tipo == Valor::Tipo::Nulo) {
        EXPECT_EQ(texto.find(digitos), std::string::npos);
    } else {
        char buf[kFormatoMax];
        tem(digitos + (d.numero > 0
                           ? "cerca de " + std::string(buf, formata_fixo(buf, d.numero, 0, 1))
                           : std::string("nenhum")));
    }
    const Valor& gauss = v.em("gauss");
    tem("Gauss sem pivoteamento (em precisao simples): " + gauss.em("texto").texto);
    const double passo = gauss.em("pivo_nulo").numero;
    EXPECT_EQ(gauss.em("texto").texto,
              passo == 0 ? "nenhum pivo nulo." : "pivo nulo na etapa " + g(passo) + ".");
}

MatrizReal real(const MatrizInt& a) {
    MatrizReal r(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) r[i].assign(a[i].begin(), a[i].end());
    return r;
}

}  // namespace

TEST(AulaJson, OsNumerosDoJsonSaoOsDoTextoEmCadaTipo) {
    for (int t = 0; t < kNumeroTipos; ++t) {
        const auto tipo = static_cast<Tipo>(t);
        for (int n = n_minimo(tipo); n <= n_maximo(tipo); ++n)
            for (const std::uint32_t semente : {3U, 77777U}) {
                const Analise r = analisa(real(gera({tipo, n, semente}).a));
                confere_json(json_analise(r), texto_analise(r));
                // Each double reads back from its JSON text to the same bits.
                const Valor v = json_mini::le(json_analise(r));
                const auto mesmo = [](const Valor& j, std::optional<double> x) {
                    if (x)
                        EXPECT_EQ(j.numero, *x);
                    else
                        EXPECT_EQ(j.tipo, Valor::Tipo::Nulo);
                };
                mesmo(v.em("iteracoes").lista[0].em("raio"), r.jacobi.raio);
                mesmo(v.em("iteracoes").lista[1].em("raio"), r.gauss_seidel.raio);
                mesmo(v.em("normas").em("kappa"), r.normas.kappa);
                mesmo(v.em("normas").em("inversa"), r.normas.inversa);
                mesmo(v.em("normas").em("digitos"), r.normas.digitos);
            }
    }
}

TEST(AulaJson, ValoresNaoDeterminadosSaoNull) {
    const double nan = std::nan("");
    const MatrizReal casos[] = {
        {{0, 1}, {1, 1}},           // a zero on the diagonal: no radius, no convergence
        {{1, 2}, {2, 4}},           // singular
        {{1, nan}, {1, 2}},         // NaN in the norms
        {{1e300, 1e300}, {1, 1}},   // an overflowing norm
        {{1, 0.99999994}, {1, 1}},  // no digit left
        {{5}},
    };
    for (const MatrizReal& a : casos) {
        const Analise r = analisa(a);
        confere_json(json_analise(r), texto_analise(r));
    }
    const Valor zero = json_mini::le(json_analise(analisa(casos[0])));
    const Valor& jacobi = zero.em("iteracoes").lista[0];
    EXPECT_EQ(jacobi.em("raio").tipo, Valor::Tipo::Nulo);
    EXPECT_FALSE(jacobi.em("converge").booleano);
    EXPECT_EQ(jacobi.em("converge").tipo, Valor::Tipo::Booleano);
    const Valor singular = json_mini::le(json_analise(analisa(casos[1])));
    EXPECT_TRUE(singular.em("normas").em("singular").booleano);
    EXPECT_EQ(singular.em("normas").em("digitos").tipo, Valor::Tipo::Nulo);
}
