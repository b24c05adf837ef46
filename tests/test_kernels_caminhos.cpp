// Every path of the fast kernels (each micro-kernel set of this machine, several block, strip
// and tile sizes) against the straightforward loops, bit for bit (two NaNs count as equal: which
// one an operation passes on follows the compiler's operand order), on every kind of system of
// the shared generator, sizes 0..70 and a few beyond the block and tile widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sistemas.h"

namespace sislin {

using kt::Caminho;
using kt::IVec;
using kt::Mat;
using kt::Tipo;
using kt::Vec;

namespace {

// What every fast kernel leaves behind for one system: eliminations, factorisations, the
// inverse from the factors and from the raw entries (standing for factors with infinities,
// NaNs and zero pivots), the residual of x0 and three Jacobi sweeps from x0.
struct Saidas {
    Saidas(int n, const Mat& A0, const Vec& b0, const Vec& x0, const nucleos::Ajuste& a)
        : elim(A0),
          gauss(A0),
          lu(A0),
          lup(A0),
          inv(n),
          invb(n),
          be(b0),
          bg(b0),
          r(n),
          xj(x0),
          yl(n),
          xp(n),
          ib(n),
          ix(n),
          iy(n),
          bb(n),
          bx(n),
          by(n),
          pos(n) {
        nucleos::executa(a, &nucleos::Tabela::Eliminacao, n, elim, be);
        nucleos::executa(a, &nucleos::Tabela::GaussPivoteamentoParcial, n, gauss, bg);
        nucleos::executa(a, &nucleos::Tabela::LU, n, lu);
        nucleos::executa(a, &nucleos::Tabela::LUPivoteamentoParcial, n, lup, pos, det);
        for (int i = 0; i <= n; ++i) std::fill(inv[i], inv[i] + n + 1, 7.0f);  // stale contents
        nucleos::executa(a, &nucleos::Tabela::Inversa, n, lup, inv, ib, ix, iy);
        nucleos::executa(a, &nucleos::Tabela::Inversa, n, A0, invb, bb, bx, by);
        nucleos::executa(a, &nucleos::Tabela::CalculaResiduo, n, b0, A0, x0, r);
        for (Scalar& e : ej)
            e = nucleos::executa(a, &nucleos::Tabela::IteracaoJacobi, n, A0, b0, xj);
        nucleos::executa(a, &nucleos::Tabela::SubstituicaoProgressivaL, n, lup, yl, b0);
        nucleos::executa(a, &nucleos::Tabela::SubstituicaoProgressiva, n, A0, xp, b0);
    }
    Mat elim, gauss, lu, lup, inv, invb;
    Vec be, bg, r, xj, yl, xp, ib, ix, iy, bb, bx, by;
    IVec pos;
    Scalar det = 0, ej[3] = {};
};

void compara(int n, const Saidas& s, const Saidas& ref) {
    using kt::iguais;
    EXPECT_TRUE(iguais(s.elim, ref.elim, n) && iguais(s.be, ref.be, n)) << "Eliminacao";
    EXPECT_TRUE(iguais(s.gauss, ref.gauss, n) && iguais(s.bg, ref.bg, n))
        << "GaussPivoteamentoParcial";
    EXPECT_TRUE(iguais(s.lu, ref.lu, n)) << "LU";
    EXPECT_TRUE(iguais(s.lup, ref.lup, n) && kt::mesmo_valor(s.det, ref.det))
        << "LUPivoteamentoParcial";
    for (int i = 1; i <= n; ++i) EXPECT_EQ(s.pos[i], ref.pos[i]) << "pos " << i;
    EXPECT_TRUE(iguais(s.inv, ref.inv, n) && iguais(s.ib, ref.ib, n) && iguais(s.ix, ref.ix, n) &&
                iguais(s.iy, ref.iy, n))
        << "Inversa";
    EXPECT_TRUE(iguais(s.invb, ref.invb, n) && iguais(s.bx, ref.bx, n) && iguais(s.by, ref.by, n))
        << "Inversa of raw entries";
    EXPECT_TRUE(iguais(s.r, ref.r, n)) << "CalculaResiduo";
    EXPECT_TRUE(iguais(s.xj, ref.xj, n)) << "IteracaoJacobi";
    EXPECT_TRUE(iguais(s.yl, ref.yl, n) && iguais(s.xp, ref.xp, n)) << "forward substitutions";
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(kt::mesmo_valor(s.ej[k], ref.ej[k])) << "sweep " << k;
}

// One system through every path.
void confere(int n, const Mat& A, const Vec& b, const Vec& x0) {
    const Saidas ref(n, A, b, x0, {});
    for (const Caminho& c : kt::caminhos()) {
        SCOPED_TRACE(c.nome);
        compara(n, Saidas(n, A, b, x0, c.a), ref);
    }
}

}  // namespace

TEST(KernelCaminhos, EveryKindAndSmallSizeMatchesReference) {
    for (int n = 0; n <= 70; ++n)
        for (int t = 0; t < kt::kTipos; ++t) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " tipo=" << t);
            const Tipo tipo = static_cast<Tipo>(t);
            confere(n, kt::matriz(n, tipo, 1), kt::vetor(n, tipo, 1), kt::vetor(n, tipo, 2));
        }
    kt::pula_se_faltam_conjuntos();
}

// Sizes around the widths of blocks (32 steps), row groups, strips (256) and tiles (32, 128).
TEST(KernelCaminhos, LargerSizesMatchReference) {
    int k = 0;
    for (int n : {95, 97, 128, 129, 257, 300})
        for (Tipo tipo :
             {static_cast<Tipo>(k++ % kt::kTipos), Tipo::InfNaN, Tipo::PivosDistantes}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " tipo=" << static_cast<int>(tipo));
            confere(n, kt::matriz(n, tipo, 3), kt::vetor(n, tipo, 3), kt::vetor(n, tipo, 4));
        }
    kt::pula_se_faltam_conjuntos();
}

// An infinity or NaN at L[i][f] (f < i) meets the zeros above row f of every column after f and
// turns it entirely into NaN; the columns up to f keep their exact bits. Around tile boundaries.
TEST(KernelCaminhos, InverseWithOneNonFiniteMultiplier) {
    const Scalar inf = std::numeric_limits<Scalar>::infinity();
    for (int n : {33, 70, 140})
        for (int f : {1, 16, 31, 32, 33, 64, 127, 128, n - 1}) {
            if (f >= n) continue;
            for (Scalar v : {inf, -inf, std::numeric_limits<Scalar>::quiet_NaN()}) {
                SCOPED_TRACE(testing::Message() << "n=" << n << " f=" << f);
                Mat F = kt::matriz(n, Tipo::Aleatoria, static_cast<unsigned>(f));
                for (int i = 1; i <= n; ++i) F[i][i] = 4.0f;  // U well away from singular
                F[f + 1 + (f * 5) % (n - f)][f] = v;
                for (const Caminho& c : kt::caminhos()) {
                    Mat Inv(n), R(n);
                    Vec b(n), x(n), y(n);
                    nucleos::executa(c.a, &nucleos::Tabela::Inversa, n, F, Inv, b, x, y);
                    nucleos::executa({}, &nucleos::Tabela::Inversa, n, F, R, b, x, y);
                    EXPECT_TRUE(kt::iguais(Inv, R, n)) << c.nome;
                    bool nans = true;
                    for (int r = 1; r <= n; ++r)
                        for (int q = f + 1; q <= n; ++q) nans = nans && std::isnan(Inv[r][q]);
                    EXPECT_TRUE(nans) << c.nome;
                }
            }
        }
    kt::pula_se_faltam_conjuntos();
}

// Jacobi never reads the diagonal into the sum, whatever it holds: an infinity or NaN there
// times an old value of 0 would be NaN, and a skipped term is not an added zero: a sum of -0
// (tiny negative products) plus 0 would become +0, and b = -0 then tells the two apart.
TEST(KernelCaminhos, JacobiSkipsTheDiagonalWhateverItHolds) {
    const Scalar diagonais[] = {std::numeric_limits<Scalar>::infinity(),
                                -std::numeric_limits<Scalar>::infinity(),
                                std::numeric_limits<Scalar>::quiet_NaN(),
                                0.0f,
                                -0.0f,
                                1.0f};
    for (int n : {1, 3, 5, 8, 9, 31, 33, 36, 65, 100}) {
        SCOPED_TRACE(testing::Message() << "n=" << n);
        Mat A = kt::matriz(n, Tipo::Aleatoria, 5);
        Vec b = kt::vetor(n, Tipo::Aleatoria, 5), x0 = kt::vetor(n, Tipo::Aleatoria, 6);
        for (int i = 1; i <= n; ++i) {
            A[i][i] = diagonais[i % 6];
            if (i % 3 == 0) x0[i] = 0.0f;
        }
        confere(n, A, b, x0);
        // Every row's first term is a tiny negative product and the others are -0, so every
        // sum but row 1's is -0, also past the diagonal, whose term would be +0.
        Mat T(n);
        Vec bz(n), xt(n);
        for (int i = 1; i <= n; ++i) {
            std::fill(T[i] + 1, T[i] + n + 1, -1e-30f);
            T[i][i] = 1.0f;
            bz[i] = -0.0f;
        }
        xt[1] = 1e-30f;
        for (const Caminho& c : kt::caminhos()) {
            Vec x = xt;
            nucleos::executa(c.a, &nucleos::Tabela::IteracaoJacobi, n, T, bz, x);
            for (int i = 2; i <= n; ++i) EXPECT_EQ(kt::bits(x[i]), 0u) << c.nome << " " << i;
        }
    }
    kt::pula_se_faltam_conjuntos();
}

// SISLIN_ISA's choice: each set by its own name, referencia the straightforward loops, and an
// unset, empty or unknown name the best set of this processor.
TEST(KernelCaminhos, SislinIsaPicksTheSetByItsName) {
    EXPECT_EQ(nucleos::escolhe("referencia").a.k, nullptr);
    const std::vector<nucleos::Isa> da_construcao = nucleos::isas_da_construcao();
    for (const nucleos::Micronucleos* k : nucleos::conjuntos()) {
        EXPECT_EQ(nucleos::escolhe(nucleos::nome(k->isa)).a.k, k) << nucleos::nome(k->isa);
        // A set that runs is one the build says it carries, or its absence would go unreported.
        EXPECT_NE(std::find(da_construcao.begin(), da_construcao.end(), k->isa),
                  da_construcao.end())
            << nucleos::nome(k->isa);
    }
    for (const char* outro : {static_cast<const char*>(nullptr), "", "neon", "AVX2"})
        EXPECT_EQ(nucleos::escolhe(outro).a.k, nucleos::conjuntos().back());
}

// A set may carry only some micro-kernels: completa gives it the portable set's in the slots it
// lacks and keeps its own. Every mix of one set's slots with the portable ones is a set of its
// own that gives the straightforward loops' bits, since each slot keeps its contract alone.
TEST(KernelCaminhos, SetsMixedSlotBySlotMatchReference) {
    const nucleos::Micronucleos& g = nucleos::micronucleos_generico();
    for (const nucleos::Micronucleos* k : nucleos::conjuntos())
        for (unsigned mascara = 0; mascara < 8 && k != &g; ++mascara) {  // g mixed is g
            SCOPED_TRACE(testing::Message() << nucleos::nome(k->isa) << " slots " << mascara);
            const bool proprio[3] = {(mascara & 1u) != 0, (mascara & 2u) != 0, (mascara & 4u) != 0};
            const nucleos::Micronucleos m = nucleos::completa(
                {k->isa, k->linhas, k->largura, proprio[0] ? k->aplica_passos : nullptr,
                 proprio[1] ? k->somas_colunas : nullptr, proprio[2] ? k->somas_linhas : nullptr});
            EXPECT_EQ(m.isa, k->isa);
            EXPECT_EQ(m.linhas, k->linhas);
            EXPECT_EQ(m.largura, k->largura);
            EXPECT_EQ(m.aplica_passos, proprio[0] ? k->aplica_passos : g.aplica_passos);
            EXPECT_EQ(m.somas_colunas, proprio[1] ? k->somas_colunas : g.somas_colunas);
            EXPECT_EQ(m.somas_linhas, proprio[2] ? k->somas_linhas : g.somas_linhas);
            for (int n : {13, 70}) {
                const Tipo tipo = static_cast<Tipo>(n % kt::kTipos);
                const Mat A = kt::matriz(n, tipo, 5);
                const Vec b = kt::vetor(n, tipo, 5);
                const Vec x0 = kt::vetor(n, tipo, 6);
                compara(n, Saidas(n, A, b, x0, {&m, {7, 40, 0}}), Saidas(n, A, b, x0, {}));
            }
        }
}

// The dispatch table of a set holds a fast algorithm in every slot that has one (a slot left
// with the straightforward loops would pass every comparison unnoticed) and the straightforward
// loops in the others; without a set, the straightforward loops everywhere.
TEST(KernelCaminhos, FastTableReplacesExactlyTheSlotsWithAFastAlgorithm) {
    using T = nucleos::Tabela;
    const T& ref = nucleos::tabela_referencia();
    EXPECT_EQ(&nucleos::tabela({}), &ref);
    const T& rapida = nucleos::tabela({&nucleos::micronucleos_generico(), {}});
    const auto mesmo = [&](auto slot) { return rapida.*slot == ref.*slot; };
    EXPECT_FALSE(mesmo(&T::SubstituicaoProgressivaL));
    EXPECT_FALSE(mesmo(&T::SubstituicaoProgressiva));
    EXPECT_FALSE(mesmo(&T::Eliminacao));
    EXPECT_FALSE(mesmo(&T::GaussPivoteamentoParcial));
    EXPECT_FALSE(mesmo(&T::LU));
    EXPECT_FALSE(mesmo(&T::LUPivoteamentoParcial));
    EXPECT_FALSE(mesmo(&T::CalculaResiduo));
    EXPECT_FALSE(mesmo(&T::IteracaoJacobi));
    EXPECT_FALSE(mesmo(&T::Inversa));
    // Each unknown needs the one before it from its first term, or there is nothing to gain.
    EXPECT_TRUE(mesmo(&T::SubstituicaoRetroativa));
    EXPECT_TRUE(mesmo(&T::IteracaoGaussSeidel));
    EXPECT_TRUE(mesmo(&T::CalculaErro));
}

}  // namespace sislin
