// The companion's exercises: every kind keeps its promise on many codes, checked here without
// the generator's own tests (dominance by its definition, the pivots of the program's own
// elimination, 200 sweeps of the program's own iterations, the condition number from the
// analysis's inverse in double, not the generator's exact fractions); the code's check character;
// and the bytes of the files of a table of codes, which must be the same on every platform.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "analise.h"
#include "arquivos_aula.h"
#include "codigo.h"
#include "gerador.h"
#include "kernel_helpers.h"
#include "methods.h"

using namespace sislin;
using namespace sislin::aula;

namespace {

std::size_t u(int i) {
    return static_cast<std::size_t>(i);
}

kt::Mat para_float(const MatrizInt& a) {
    const int n = static_cast<int>(a.size());
    kt::Mat m(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) m[i][j] = static_cast<Scalar>(a[u(i - 1)][u(j - 1)]);
    return m;
}

kt::Vec para_float(const VetorInt& b) {
    const int n = static_cast<int>(b.size());
    kt::Vec v(n);
    for (int i = 1; i <= n; ++i) v[i] = static_cast<Scalar>(b[u(i - 1)]);
    return v;
}

double distancia(const kt::Vec& x, const VetorInt& exata) {
    double d = 0.0;
    for (int i = 1; i <= x.n(); ++i) {
        const double e =
            std::fabs(static_cast<double>(x[i]) - static_cast<double>(exata[u(i - 1)]));
        if (!(e <= d)) d = e;  // a NaN stays
    }
    return std::isnan(d) ? HUGE_VAL : d;
}

// What an iteration does in 200 sweeps from zero: converges to the exact solution, diverges, or
// neither.
enum class Rumo { Converge, Diverge, Outro };
Rumo rumo(const Sistema& s, bool gauss_seidel) {
    const kt::Mat a = para_float(s.a);
    const kt::Vec b = para_float(s.b);
    kt::Vec x(static_cast<int>(s.x.size()));
    Scalar mudanca = 0.0F;
    for (int k = 0; k < 200; ++k)
        mudanca =
            gauss_seidel ? IteracaoGaussSeidel(x.n(), a, b, x) : IteracaoJacobi(x.n(), a, b, x);
    if (distancia(x, s.x) < 1e-3) return Rumo::Converge;
    if (!(mudanca < 1e3F)) return Rumo::Diverge;
    return Rumo::Outro;
}

// The partially pivoted elimination and back substitution of the program.
double erro_pivoteado(const Sistema& s) {
    kt::Mat a = para_float(s.a);
    kt::Vec b = para_float(s.b);
    GaussPivoteamentoParcial(a.n(), a, b);
    SubstituicaoRetroativa(a.n(), a, b, b);
    return distancia(b, s.x);
}

MatrizReal real(const MatrizInt& a) {
    MatrizReal r(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) r[i].assign(a[i].begin(), a[i].end());
    return r;
}

// ||A|| ||A^-1|| in the maximum norm, the inverse from the analysis's elimination in double
// (itself checked against the Hilbert matrices' known condition numbers).
double kappa(const MatrizInt& ai) {
    double norma = 0.0;
    for (const VetorInt& linha : ai) {
        double soma = 0.0;
        for (const std::int64_t v : linha) soma += std::fabs(static_cast<double>(v));
        norma = std::fmax(norma, soma);
    }
    return norma * norma_inversa(real(ai)).value_or(HUGE_VAL);
}

bool dominante(const MatrizInt& a) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::int64_t fora = 0;
        for (std::size_t j = 0; j < a.size(); ++j)
            if (j != i) fora += std::llabs(a[i][j]);
        if (std::llabs(a[i][i]) <= fora) return false;
    }
    return true;
}

// Checks everything a system of kind t promises.
void confere(Tipo t, const Sistema& s, const std::string& codigo) {
    SCOPED_TRACE(codigo);
    const std::size_t n = s.a.size();
    ASSERT_EQ(s.x.size(), n);
    for (std::size_t i = 0; i < n; ++i) {
        std::int64_t soma = 0;
        for (std::size_t j = 0; j < n; ++j) {
            ASSERT_LE(std::llabs(s.a[i][j]), 999);
            soma += s.a[i][j] * s.x[j];
        }
        ASSERT_EQ(soma, s.b[i]);
        ASSERT_LT(std::llabs(s.b[i]), 1 << 24);
    }
    const double k = kappa(s.a);
    switch (t) {
        case Tipo::D:
            EXPECT_TRUE(dominante(s.a));
            EXPECT_EQ(rumo(s, false), Rumo::Converge);
            EXPECT_EQ(rumo(s, true), Rumo::Converge);
            break;
        case Tipo::P:
            EXPECT_GT(pivo_nulo_simples(real(s.a)), 0);
            EXPECT_LE(k, 1000 * (1 + 1e-9));
            EXPECT_LT(erro_pivoteado(s), 1e-3);
            break;
        case Tipo::G:
            EXPECT_FALSE(dominante(s.a));
            EXPECT_EQ(pivo_nulo_simples(real(s.a)), 0);
            EXPECT_LE(k, 100 * (1 + 1e-9));
            break;
        case Tipo::M:
            EXPECT_GE(k, 1e3 * (1 - 1e-9));
            EXPECT_LE(k, 1e5 * (1 + 1e-9));
            break;
        case Tipo::S:
            EXPECT_EQ(rumo(s, true), Rumo::Converge);
            EXPECT_EQ(rumo(s, false), Rumo::Diverge);
            break;
        case Tipo::J:
            EXPECT_EQ(rumo(s, false), Rumo::Converge);
            EXPECT_EQ(rumo(s, true), Rumo::Diverge);
            break;
    }
}

}  // namespace

TEST(AulaExercicios, CadaTipoCumpreOQuePromete) {
    for (int t = 0; t < kNumeroTipos; ++t) {
        const auto tipo = static_cast<Tipo>(t);
        for (int n = n_minimo(tipo); n <= n_maximo(tipo); ++n)
            for (std::uint32_t k = 0; k < 6; ++k) {
                const Exercicio e{tipo, n, (k * 2654435761U + 12345U) % kSementes};
                confere(tipo, gera(e), escreve_codigo(e));
            }
    }
}

TEST(AulaCodigo, IdaEVolta) {
    EXPECT_TRUE(le_codigo("D07-4KX9M2D").exercicio);  // the example of the messages and manual
    for (int t = 0; t < kNumeroTipos; ++t) {
        const auto tipo = static_cast<Tipo>(t);
        for (const std::uint32_t semente : {0U, 1U, 28U, 29U, 123456789U, kSementes - 1}) {
            const Exercicio e{tipo, n_maximo(tipo), semente};
            const std::string c = escreve_codigo(e);
            ASSERT_EQ(c.size(), 11U);
            ASSERT_EQ(c[3], '-');
            std::string minusculo = c;
            for (char& ch : minusculo) ch = static_cast<char>(std::tolower(ch));
            for (const std::string& escrito :
                 {c, minusculo, std::string(" ").append(c.substr(0, 3)).append(c.substr(4))}) {
                const LeituraCodigo l = le_codigo(escrito);
                ASSERT_TRUE(l.exercicio) << escrito << ": " << l.erro;
                EXPECT_EQ(l.exercicio->tipo, tipo);
                EXPECT_EQ(l.exercicio->n, e.n);
                EXPECT_EQ(l.exercicio->semente, semente);
            }
        }
    }
}

TEST(AulaCodigo, UmCaractereErradoOuDoisTrocadosSaoRecusados) {
    const std::string alfabeto = "0123456789ACDEFGHJKMNPRSTVWXY";
    for (const std::uint32_t semente : {7U, 99991U, 500000000U}) {
        const std::string c = escreve_codigo({Tipo::M, 7, semente});
        const std::string corpo = c.substr(0, 3) + c.substr(4);
        for (std::size_t i = 0; i < corpo.size(); ++i) {
            for (const char outro : alfabeto) {
                if (outro == corpo[i]) continue;
                std::string errado = corpo;
                errado[i] = outro;
                EXPECT_FALSE(le_codigo(errado).exercicio) << errado;
            }
            if (i + 1 < corpo.size() && corpo[i] != corpo[i + 1]) {
                std::string trocado = corpo;
                std::swap(trocado[i], trocado[i + 1]);
                EXPECT_FALSE(le_codigo(trocado).exercicio) << trocado;
            }
        }
    }
    for (const char* ruim :
         {"", "D07", "D07-4KX9M2DR", "D07-4KX9MOR", "D07-4KX9M2I", "X03-000000A"})
        EXPECT_FALSE(le_codigo(ruim).exercicio) << ruim;
    EXPECT_NE(le_codigo("D07-4KX9MOR").erro.find("'O'"), std::string::npos);
    for (const Exercicio& fora : {Exercicio{Tipo::D, 11, 5}, Exercicio{Tipo::S, 2, 5},
                                  Exercicio{Tipo::J, 0, 5}, Exercicio{Tipo::G, 99, 5}})
        EXPECT_FALSE(le_codigo(escreve_codigo(fora)).exercicio) << escreve_codigo(fora);
}

namespace {

std::uint64_t fnv1a(const std::string& texto) {
    std::uint64_t h = 14695981039346656037ULL;
    for (const char c : texto) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

struct Esperado {
    const char* codigo;
    const char* a7;  // the whole text, or nullptr: then only the digest counts
    const char* b7;
    std::uint64_t digesto;  // FNV-1a of a7 followed by b7
};

// Written once from a run and kept: any change to the generator, the random source or the file
// layout changes these bytes, and every port must give the same.
const Esperado kTabela[] = {
    {"D03-000518N", "-7  3  0\n-4  8  1\n 1 -3  6\n", "-19\n13\n25\n", 0x579794993bf60fcbULL},
    {"D10-000G3TC", nullptr, nullptr, 0xae271f63717990dcULL},
    {"P03-00002MF", " 0  0  3\n 3  4 -3\n 4 -2  4\n", "3\n20\n-2\n", 0x93861b047e52133aULL},
    {"P10-00007YD", nullptr, nullptr, 0xab1266c2f074d9ceULL},
    {"G03-00187J5", " 9 -7 -7\n 3 -5 -4\n 2  3  5\n", "46\n22\n-16\n", 0xbbd6e864ce9e3bc8ULL},
    {"G10-003TRRW", nullptr, nullptr, 0x23642e3946e146c7ULL},
    {"M03-0002CV7", " -1   4   5\n -8  31  45\n  6 -25 -24\n", "9\n71\n-55\n",
     0xf5221e95bfdd0afdULL},
    {"M10-00076JA", nullptr, nullptr, 0x9fa21d9d3399c998ULL},
    {"S03-000ANCE", "-7  3  4\n 3 -3 -1\n 4 -1 -4\n", "-6\n13\n-8\n", 0xe5d918d8f07cdcf2ULL},
    {"S10-001334V", nullptr, nullptr, 0x8090e81801d6eea1ULL},
    {"J03-0051S3E", " 3 -2 -3\n 1 -1  2\n-2  4  5\n", "5\n15\n-2\n", 0x44e6ad34e281ae62ULL},
    {"J10-00G5C9S", nullptr, nullptr, 0x16f4e718e47630e5ULL},
};

}  // namespace

TEST(AulaArquivos, TabelaDeCodigosComOsBytesEsperados) {
    for (const Esperado& e : kTabela) {
        const LeituraCodigo l = le_codigo(e.codigo);
        ASSERT_TRUE(l.exercicio) << e.codigo << ": " << l.erro;
        const Sistema s = gera(*l.exercicio);
        const std::string a7 = texto_matriz(s.a);
        const std::string b7 = texto_vetor(s.b);
        if (e.a7 != nullptr) {
            EXPECT_EQ(a7, e.a7) << e.codigo;
            EXPECT_EQ(b7, e.b7) << e.codigo;
        }
        EXPECT_EQ(fnv1a(a7 + b7), e.digesto) << e.codigo;
    }
}
