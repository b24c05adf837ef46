// The companion's exercises: every kind keeps its promise on many codes, checked here without
// the generator's own tests (dominance by its definition, the pivots of the program's own
// elimination, 200 sweeps of the program's own iterations and its stopping test on the method
// that must diverge, the condition number from the analysis's inverse in double, not the
// generator's exact fractions); the code's check character; and the bytes of the files of
// tables of codes, which must be the same on every platform.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../driver/escolhas.h"
#include "analise.h"
#include "arquivos_aula.h"
#include "codigo.h"
#include "gerador.h"
#include "kernel_helpers.h"
#include "methods.h"
#include "pratica.h"

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

// What a student sees of the method that must diverge: sislin (choice 9 or 10) from x = 0,
// with its own float sweeps, stops as converged at the first change at most the precision.
// True when no precision from 1e-2 down stops it: every sweep's change stays above 1e-2 until
// one is inf or nan (the unknowns have overflowed). Far more sweeps are allowed than the
// generator's own limit, so that the check does not lean on it.
bool nunca_converge_no_programa(const Sistema& s, bool gauss_seidel) {
    const kt::Mat a = para_float(s.a);
    const kt::Vec b = para_float(s.b);
    kt::Vec x(static_cast<int>(s.x.size()));
    for (int k = 1; k <= 50000; ++k) {
        const Scalar mudanca =
            gauss_seidel ? IteracaoGaussSeidel(x.n(), a, b, x) : IteracaoJacobi(x.n(), a, b, x);
        if (!std::isfinite(mudanca)) return true;
        if (!(mudanca > 1e-2F)) return false;
    }
    return false;
}

// The partially pivoted elimination and back substitution of the program.
double erro_pivoteado(const Sistema& s) {
    kt::Mat a = para_float(s.a);
    kt::Vec b = para_float(s.b);
    GaussPivoteamentoParcial(a.n(), a, b);
    SubstituicaoRetroativa(a.n(), a, b, b);
    return distancia(b, s.x);
}

MatrizReal em_double(const MatrizInt& a) {
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
    return norma * norma_inversa(em_double(ai)).value_or(HUGE_VAL);
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
            EXPECT_GT(pivo_nulo_simples(em_double(s.a)), 0);
            EXPECT_LE(k, 1000 * (1 + 1e-9));
            EXPECT_LT(erro_pivoteado(s), 1e-3);
            break;
        case Tipo::G:
            EXPECT_FALSE(dominante(s.a));
            EXPECT_EQ(pivo_nulo_simples(em_double(s.a)), 0);
            EXPECT_LE(k, 100 * (1 + 1e-9));
            break;
        case Tipo::M:
            EXPECT_GE(k, 1e3 * (1 - 1e-9));
            EXPECT_LE(k, 1e5 * (1 + 1e-9));
            break;
        case Tipo::S:
            EXPECT_EQ(rumo(s, true), Rumo::Converge);
            EXPECT_EQ(rumo(s, false), Rumo::Diverge);
            EXPECT_TRUE(nunca_converge_no_programa(s, false));
            break;
        case Tipo::J:
            EXPECT_EQ(rumo(s, false), Rumo::Converge);
            EXPECT_EQ(rumo(s, true), Rumo::Diverge);
            EXPECT_TRUE(nunca_converge_no_programa(s, true));
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

// J03-XTMH1PA was made with a Gauss-Seidel that sislin (precision 0.0001, limit 1000) stopped
// as converged at k = 22, its radius 1.14: the error of x = 0 had no part along the dominant
// eigenvector. Now no code of kind J or S lets the method that must diverge stop.
TEST(AulaExercicios, OQueDeveDivergirNuncaParaComoConvergido) {
    const Sistema s = gera(le_codigo("J03-XTMH1PA").exercicio.value());
    EXPECT_TRUE(nunca_converge_no_programa(s, true));
    int vistos = 0;
    for (const Tipo tipo : {Tipo::S, Tipo::J})
        for (int n = n_minimo(tipo); n <= n_maximo(tipo); ++n)
            for (std::uint32_t k = 0; k < 500; ++k) {
                const Exercicio e{tipo, n, (k * 2654435761U + 12345U) % kSementes};
                ASSERT_TRUE(nunca_converge_no_programa(gera(e), tipo == Tipo::J))
                    << escreve_codigo(e);
                ++vistos;
            }
    EXPECT_EQ(vistos, 8000);
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

namespace {

// Codes of every kind and dimension with the FNV-1a of their a7.txt and b7.txt, written from the
// generator before the stopping test of the diverging method was added: their systems keep
// the promise, and so their bytes. Only codes whose system broke it (J03-XTMH1PA, S03-RAFTF4M,
// J03-WH4KHSY) were given another.
struct Digesto {
    const char* codigo;
    std::uint64_t digesto;
};
const Digesto kAntes[] = {
    {"D02-M4DGNNR", 0x18fe33ffda1eba8bULL}, {"D02-3HDXS9X", 0x72c1aa9763b2366bULL},
    {"D02-HYEAVX1", 0xc8f981a04d520c0fULL}, {"D03-M4DV3R6", 0x9016ea95abbb7c8cULL},
    {"D03-3HE86CJ", 0x596fcdea62bf7e42ULL}, {"D03-HYEN90R", 0x4638bd87f835528cULL},
    {"D04-M4E5GTK", 0x933f1683021d9186ULL}, {"D04-3HEJKES", 0xd233d113253000acULL},
    {"D04-HYF0P25", 0x056b76b3c132d9e4ULL}, {"D05-M4EFXWT", 0x14db1c8d3d23d574ULL},
    {"D05-3HEX1G7", 0x7e0ac51cb9a27f58ULL}, {"D05-HYFA44K", 0x0ed7971c40a059b6ULL},
    {"D06-M4ETAY8", 0xafc71c61089af7b8ULL}, {"D06-3HF7EJM", 0x838029ca4203d028ULL},
    {"D06-HYFMH6T", 0xcd3535adf84f0d7eULL}, {"D07-M4F4S1Y", 0x99af3edaeeeb3f26ULL},
    {"D07-3HFHVMV", 0x3b8bb8f2453e0e92ULL}, {"D07-HYFYY81", 0x4a8d5d52fc18eba1ULL},
    {"D08-M4FF63D", 0xb5b9aa0c587e0caeULL}, {"D08-3HFW8P9", 0xc52c35483437c9beULL},
    {"D08-HYG9CAN", 0x7aeb324a2f239d88ULL}, {"D09-M4FSK5K", 0xeebf14dc6cca9fa6ULL},
    {"D09-3HG6NSP", 0x231d723bd3be3f7aULL}, {"D09-HYGKSDW", 0x57ff118129608401ULL},
    {"D10-M4G4179", 0x3923139a5382e8f2ULL}, {"D10-3HGH3V6", 0x82eb904ac02f4c9eULL},
    {"D10-HYGY6FC", 0x8ff6d24d837abefcULL}, {"P02-98TDJ78", 0xef031311931981e2ULL},
    {"P02-RNTTMV5", 0x6b59ecee994f57b6ULL}, {"P02-73V7RFN", 0xa3638d907d10967dULL},
    {"P03-98TR09P", 0x8807d73768f507dbULL}, {"P03-RNV52XT", 0x10f0efbc33f17dd0ULL},
    {"P03-73VJ5H4", 0x4ce258bdb7cd9d8aULL}, {"P04-98V2DC4", 0x01849b6c4ccde68cULL},
    {"P04-RNVFG09", 0xd5d875664b6cce88ULL}, {"P04-73VWJKA", 0xdea7a61954de17a9ULL},
    {"P05-98VCTEA", 0x205d73ec52f3e468ULL}, {"P05-RNVSX2G", 0xfa043ed67141ec46ULL},
    {"P05-73W70N0", 0x00ff724a1bf2cb63ULL}, {"P06-98VP7GS", 0x0886829f203b4ff1ULL},
    {"P06-RNW4A45", 0x84bfabedcbca0213ULL}, {"P06-73WHDR6", 0x4c453ee963d36c92ULL},
    {"P07-98W1MJ6", 0xfb23539ce354a71bULL}, {"P07-RNWER6C", 0x315c832f62f15b5fULL},
    {"P07-73WVTTD", 0x4142fef85c735dc7ULL}, {"P08-98WC2MM", 0xca36b531b65d866cULL},
    {"P08-RNWS58T", 0x6243a66bb56c1ac4ULL}, {"P08-73X67W2", 0x91a7808ce21b21f7ULL},
    {"P09-98WNFPV", 0x737521e1192e3619ULL}, {"P09-RNX3JA7", 0xb594b4d07dc3b5adULL},
    {"P09-73XGMY8", 0x3e4f92ebdac33d24ULL}, {"P10-98X0WS9", 0xa9a8267eaeefcd10ULL},
    {"P10-RNXE0DP", 0x2807d5251a5fe037ULL}, {"P10-73XV311", 0x6c6d84ea7242c589ULL},
    {"G02-YE79ES5", 0xdfffa7ab248cdf70ULL}, {"G02-DV7PHDA", 0xe392820d4a0577c9ULL},
    {"G02-W884M1V", 0xd965e334e6692b70ULL}, {"G03-YE7KVVC", 0x6592af59a304b633ULL},
    {"G03-DV81YFR", 0x06c9cd2f7bc2ef01ULL}, {"G03-W88F239", 0x96782a2b0da52b7cULL},
    {"G04-YE7Y8XT", 0x2abae1b135adde15ULL}, {"G04-DV8CCH6", 0xa22da4b7d9701c7eULL},
    {"G04-W88SF5G", 0x081901ae7df78368ULL}, {"G05-YE88P0G", 0x84e3fde0981308d1ULL},
    {"G05-DV8NSKD", 0x3e6e370ba30bbe28ULL}, {"G05-W893W7X", 0xc4b46f2c2a7d2bf9ULL},
    {"G06-YE8K42Y", 0x1effa628aad9b5e9ULL}, {"G06-DV916N2", 0xbe99369f9aab2da3ULL},
    {"G06-W89E99C", 0xeef9d64d63d3db2aULL}, {"G07-YE8XH45", 0xd098623c7023b5f9ULL},
    {"G07-DV9AKR8", 0xc50bacbabc9281b2ULL}, {"G07-W89RPCJ", 0x748e7aab324d19eaULL},
    {"G08-YE97Y6J", 0xb69cf9ee30aac38bULL}, {"G08-DV9N1TP", 0xb31c232296fea111ULL},
    {"G08-W8A34E7", 0xe1c00726abdae78cULL}, {"G09-YE9JC81", 0xa5fe313989ce3291ULL},
    {"G09-DVA0EW4", 0xd1d900fb9668fc32ULL}, {"G09-W8ADHGE", 0x80cb7799c2579e51ULL},
    {"G10-YE9WSA8", 0x9fa061ab86ae5064ULL}, {"G10-DVA9VYC", 0x0920257f3bef3ba9ULL},
    {"G10-W8APYJN", 0x2cf925d4acd24b7aULL}, {"M02-KJM6AAG", 0x5c99941409114d1bULL},
    {"M02-30MKDYH", 0x08a4c080722b098eULL}, {"M02-HDN1GJX", 0x57a30cd2004836c8ULL},
    {"M03-KJMGRDP", 0xd7b4e2a8e0633492ULL}, {"M03-30MXV11", 0xd382681fd7478d15ULL},
    {"M03-HDNAXM4", 0xe9b2671384d87499ULL}, {"M04-KJMV5F5", 0x8c871e99f1d43becULL},
    {"M04-30N883N", 0xeadf8f9cf2c9492bULL}, {"M04-HDNNAPJ", 0xcdbb55d55ed8cfd1ULL},
    {"M05-KJN5JHJ", 0x3481639b77e6c662ULL}, {"M05-30NJN5W", 0xb4a78e0f8ee7224eULL},
    {"M05-HDP0RS0", 0xd7a8819d87cab4c9ULL}, {"M06-KJNG0K1", 0xcaaeefeedf217d33ULL},
    {"M06-30NX37A", 0xd470a74eb3960de4ULL}, {"M06-HDPA5VE", 0x3edb12003d731c99ULL},
    {"M07-KJNTDN7", 0xbb0ee1b9c356a777ULL}, {"M07-30P7G9R", 0x31f7c5d18a1a899aULL},
    {"M07-HDPMJXM", 0x2588b60a565e554eULL}, {"M08-KJP4TRM", 0x12badaf3bb689835ULL},
    {"M08-30PHXCY", 0x7a5ec0032e58dcbfULL}, {"M08-HDR010J", 0xf828a1b5ad91eb00ULL},
    {"M09-KJPF7T3", 0x07f7a018f90d2f4fULL}, {"M09-30PWAED", 0x2db0ed1553386f93ULL},
    {"M09-HDR9E2S", 0xa27ed18b5cc3a988ULL}, {"M10-KJPSMWA", 0xba0c298b8f4aa44eULL},
    {"M10-30R6RGV", 0x2044de262881a878ULL}, {"M10-HDRKV41", 0x5e9ded5504f69982ULL},
    {"S03-8R2DKYY", 0x9b32e097c3037e16ULL}, {"S03-R52TPJ8", 0x3a378b2f394c518fULL},
    {"S03-6J37T6M", 0xd3ab1da2bf35e184ULL}, {"S04-8R2R21N", 0x341dfaca64ab0e14ULL},
    {"S04-R5354MX", 0x638c534f809c912dULL}, {"S04-6J3J783", 0xc3126aa7ecae9beaULL},
    {"S05-8R32F33", 0x7d5b97278922517cULL}, {"S05-R53FHP4", 0xb3ade30f9e4fffb4ULL},
    {"S05-6J3WMA9", 0x4d9abe094de43ea2ULL}, {"S06-8R3CW59", 0x82a7342946c840f5ULL},
    {"S06-R53SYSA", 0xd7d44a399b0a524bULL}, {"S06-6J472DY", 0x276e5bcaf4744db6ULL},
    {"S07-8R3P97R", 0xe7b08d1cedcf18b9ULL}, {"S07-R544CV0", 0x56cae2f9f1281422ULL},
    {"S07-6J4HFF5", 0xfead63efe8d0dc99ULL}, {"S08-8R41P95", 0xc4bfbe1e7fe06109ULL},
    {"S08-R54ESX6", 0xe88fdc1f866c9bd8ULL}, {"S08-6J4VWHC", 0x8ae227b600cb4a92ULL},
    {"S09-8R4C4CK", 0x8d2e745aae2fa31bULL}, {"S09-R54S70X", 0x8498a7b4ee4822e8ULL},
    {"S09-6J569K1", 0x26feecd4c424617aULL}, {"S10-8R4NHEV", 0xc393dc11e6773ca6ULL},
    {"S10-R553M2C", 0x21e857c8c9063de4ULL}, {"S10-6J5GPN8", 0xf57e3518b021eaeeULL},
    {"J03-XWF9GGY", 0x44f3b4cd9cf2e6b1ULL}, {"J03-D9FPK48", 0xd8c6834a5c3b6b3fULL},
    {"J03-VPG4NRC", 0x492ced3ead78ecdcULL}, {"J04-XWFKXJ5", 0x7a55d40302e63e5eULL},
    {"J04-D9G216X", 0x240a86f0d20dd366ULL}, {"J04-VPGF3TT", 0xe8368c6e9da221ceULL},
    {"J05-XWFYAMK", 0xf14455e33503ec3eULL}, {"J05-D9GCE84", 0xac12052b0ab4edc8ULL},
    {"J05-VPGSGW1", 0x443bb5c3cc6c96b2ULL}, {"J06-XWG8RP1", 0x4d39ae4f6a6742dcULL},
    {"J06-D9GNVAA", 0x481dfca4790f2cc1ULL}, {"J06-VPH3XYE", 0x716899f6aba1042cULL},
    {"J07-XWGK5SF", 0xb218d74732214631ULL}, {"J07-D9H18D0", 0x2b2e3129088e6d99ULL},
    {"J07-VPHEC15", 0x02ec38acd81a246dULL}, {"J08-XWGXJVN", 0x09ef1c394e9b49d3ULL},
    {"J08-D9HANF6", 0x65992e06daa40bbbULL}, {"J08-VPHRS3C", 0x1a608d766d7c548cULL},
    {"J09-XWH80XA", 0x6ac9da15773b2893ULL}, {"J09-D9HN3HM", 0xdb180e2ea3e4fdbaULL},
    {"J09-VPJ3651", 0x6edc677d971f5244ULL}, {"J10-XWHJE0V", 0xd65d46392e212302ULL},
    {"J10-D9J0GK3", 0xa2208a7ec74614c6ULL}, {"J10-VPJDK78", 0xf68c3b7c196c9429ULL},
};

}  // namespace

TEST(AulaArquivos, CodigosQueCumpriamAPromessaGuardamOsBytes) {
    for (const Digesto& d : kAntes) {
        const Sistema s = gera(le_codigo(d.codigo).exercicio.value());
        EXPECT_EQ(fnv1a(texto_matriz(s.a) + texto_vetor(s.b)), d.digesto) << d.codigo;
    }
    for (const char* mudou : {"J03-XTMH1PA", "S03-RAFTF4M", "J03-WH4KHSY"}) {
        const Exercicio e = le_codigo(mudou).exercicio.value();
        EXPECT_TRUE(nunca_converge_no_programa(gera(e), e.tipo == Tipo::J)) << mudou;
    }
}

// The practice's methods are the menu's: the same numbers and the same labels as the program's
// table of choices, which sislin-aula does not link.
TEST(AulaPratica, OsMetodosSaoAsEscolhasDoMenu) {
    const MetodoPratica* m = metodos_pratica();
    int iterativos = 0;
    for (int i = 0; i < kNumeroMetodos; ++i) {
        const Escolha& e = escolha_de_opcao(m[i].numero);
        EXPECT_EQ(e.opcao, m[i].numero);
        EXPECT_STREQ(e.rotulo, m[i].rotulo) << m[i].numero;
        EXPECT_EQ(metodo_pratica(m[i].nome), &m[i]);
        EXPECT_EQ(metodo_pratica(std::to_string(m[i].numero)), &m[i]);
        if (e.metodo != nullptr) ++iterativos;
    }
    // Every choice but 0 is practised.
    EXPECT_EQ(static_cast<std::size_t>(kNumeroMetodos) + 1, escolhas().size());
    EXPECT_EQ(iterativos, 2);
}
