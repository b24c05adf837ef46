// The one generator of test systems, a numbered table of kinds, and the paths every
// differential test runs: the straightforward loops and each micro-kernel set of this machine,
// with several block and tile sizes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "kernel_helpers.h"
#include "methods.h"
#include "nucleos.h"

namespace sislin {

namespace kt {

enum class Tipo {
    Dominante,       // diagonal ±1, the rest of each row 0.8 in all; rows shuffled
    Aleatoria,       // uniform in [-1, 1]
    DiagonalZero,    // uniform, zero diagonal
    InfNaN,          // uniform with infinities, NaNs of both signs, signed zeros, extremes
    Subnormal,       // uniform times 2^-130..2^-120: sums in the subnormals
    QuaseOverflow,   // uniform times 2^120..2^127: products and sums overflow
    Inteiros,        // -2..2: ties in the pivot search, zero pivots
    Escalas,         // uniform times 2^-140..2^120: updates absorbed or swamping their entry
    PivosDistantes,  // uniform, each column's largest entry far below, some rows picked twice
    ColunaZero,      // uniform, column n/2 zero from the diagonal down
};
constexpr int kTipos = 10;

inline Scalar especial(std::mt19937& g) {
    constexpr Scalar inf = std::numeric_limits<Scalar>::infinity();
    constexpr Scalar nan = std::numeric_limits<Scalar>::quiet_NaN();
    const Scalar v[] = {inf,
                        -inf,
                        nan,
                        -nan,
                        0.0f,
                        -0.0f,
                        std::numeric_limits<Scalar>::denorm_min(),
                        -1e-40f,
                        std::numeric_limits<Scalar>::max(),
                        -3e38f};
    return v[std::uniform_int_distribution<int>(0, 9)(g)];
}

inline Scalar entrada(Tipo t, std::mt19937& g) {
    const float u = std::uniform_real_distribution<float>(-1.0f, 1.0f)(g);
    const auto expoente = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
    switch (t) {
        case Tipo::Subnormal:
            return std::ldexp(u, expoente(-130, -120));
        case Tipo::QuaseOverflow:
            return std::ldexp(u, expoente(120, 127));
        case Tipo::Inteiros:
            return static_cast<Scalar>(expoente(-2, 2));
        case Tipo::Escalas:
            return std::ldexp(u, expoente(-140, 120));
        default:
            return u;
    }
}

// The system of kind t and size n for a seed; place 0 of every row holds noise too.
inline Mat matriz(int n, Tipo t, unsigned semente) {
    std::mt19937 g(semente * 7919u + static_cast<unsigned>(n) * 31u + static_cast<unsigned>(t));
    Mat A(n);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) A[i][j] = entrada(t, g);
    if (n == 0) return A;
    std::uniform_int_distribution<int> pos(1, n);
    switch (t) {
        case Tipo::Dominante:
            for (int i = 1; i <= n; ++i) {
                double fora = 0;
                for (int j = 1; j <= n; ++j)
                    fora += j != i ? std::fabs(static_cast<double>(A[i][j])) : 0.0;
                const double escala = 0.8 / std::max(fora, 1e-3);
                for (int j = 1; j <= n; ++j)
                    if (j != i)
                        A[i][j] = static_cast<Scalar>(static_cast<double>(A[i][j]) * escala);
                A[i][i] = (g() & 1u) != 0 ? -1.0f : 1.0f;
            }
            for (int i = n; i > 1; --i) std::swap_ranges(A[i], A[i] + n + 1, A[pos(g) % i + 1]);
            break;
        case Tipo::DiagonalZero:
            for (int i = 1; i <= n; ++i) A[i][i] = 0.0f;
            break;
        case Tipo::InfNaN:
            for (int e = 0; e < 1 + n / 10; ++e) A[pos(g)][pos(g)] = especial(g);
            break;
        case Tipo::PivosDistantes:
            for (int c = 1; c <= n && n >= 2; ++c)
                A[n - (c * 7) % (n / 2)][c] = 50.0f + static_cast<Scalar>(c);
            break;
        case Tipo::ColunaZero:
            for (int i = n / 2 + 1; i <= n; ++i) A[i][n / 2 + 1] = 0.0f;
            break;
        default:
            break;
    }
    return A;
}

// A right-hand side or starting vector to go with it: uniform in [-4, 4], with a few special
// values for the kind InfNaN.
inline Vec vetor(int n, Tipo t, unsigned semente) {
    std::mt19937 g(semente * 104729u + static_cast<unsigned>(n) + 17u * static_cast<unsigned>(t));
    Vec v(n);
    for (int i = 0; i <= n; ++i) v[i] = std::uniform_real_distribution<float>(-4.0f, 4.0f)(g);
    if (t == Tipo::InfNaN && n > 0)
        for (int e = 0; e < 1 + n / 20; ++e)
            v[std::uniform_int_distribution<int>(1, n)(g)] = especial(g);
    return v;
}

struct Caminho {
    std::string nome;
    nucleos::Ajuste a;
};

// Every path of this machine: the straightforward loops, then each set with steps per block
// 1, 2, 7 and the default, and strip and tile widths that cross their boundaries at small n.
inline std::vector<Caminho> caminhos() {
    std::vector<Caminho> c{{"referencia", {}}};
    const nucleos::Tamanhos tamanhos[] = {{1, 256, 16}, {2, 16, 0}, {7, 40, 48}, {}};
    for (const nucleos::Micronucleos* k : nucleos::conjuntos())
        for (const nucleos::Tamanhos& t : tamanhos)
            c.push_back({std::string(nucleos::nome(k->isa)) + " bloco=" + std::to_string(t.bloco) +
                             " faixa=" + std::to_string(t.faixa) +
                             " largura=" + std::to_string(t.largura),
                         {k, t}});
    return c;
}

// Whether this processor runs the set isa (the straightforward loops run anywhere).
inline bool disponivel(nucleos::Isa isa) {
    bool roda = isa == nucleos::Isa::referencia;
    for (const nucleos::Micronucleos* k : nucleos::conjuntos()) roda = roda || k->isa == isa;
    return roda;
}

// Called last by a test that ran every path of this machine: it ends as skipped, naming the sets
// of this build that this processor cannot run, so that their absence shows.
inline void pula_se_faltam_conjuntos() {
    std::string faltam;
    for (nucleos::Isa isa : nucleos::isas_da_construcao())
        if (!disponivel(isa))
            faltam += std::string(faltam.empty() ? "" : ", ") + nucleos::nome(isa);
    if (!faltam.empty()) GTEST_SKIP() << "this processor cannot run " << faltam << ", not tested";
}

// The program's work set, changed by the kernels as the menu's choice k changes it: the data as
// read stay in A0 and b0; choices 9 and 10 start from x = 0 and sweep while the change is above
// the precision and the limit is not reached.
struct Modelo {
    int n;
    Mat A, A0, Inv;
    Vec b, b0, x, y, r;
    IVec pos;
    Scalar det = 0, erro = 0, prec = 0;
    int maxit = 0, k = 0;
    bool convergiu = false;

    Modelo(const Mat& a, const Vec& bb, int dim)
        : n(dim), A(a), A0(a), Inv(dim), b(bb), b0(bb), x(dim), y(dim), r(dim), pos(dim) {}

    void realiza(int opcao, Scalar precisao, int limite) {
        switch (opcao) {
            case 1:
            case 2:
                (opcao == 1 ? Eliminacao : GaussPivoteamentoParcial)(n, A, b);
                SubstituicaoRetroativa(n, A, x, b);
                break;
            case 3:
                LU(n, A);
                break;
            case 4:
                LUPivoteamentoParcial(n, A, pos, det);
                for (int i = 1; i <= n; i++) b[i] = b0[pos[i]];
                break;
            case 5:
                SubstituicaoProgressivaL(n, A, y, b);
                break;
            case 6:
                SubstituicaoRetroativa(n, A, x, y);
                break;
            case 7:
                CalculaResiduo(n, b0, A0, x, r);
                erro = CalculaErro(n, r);
                break;
            case 8:
                Inversa(n, A, Inv, b, x, y);
                break;
            case 9:
            case 10:
                prec = precisao;
                maxit = limite;
                for (int i = 1; i <= n; i++) x[i] = 0;
                erro = 2147483648.0f;
                k = 0;
                while (erro > prec && k < maxit) {
                    k++;
                    erro = (opcao == 9 ? IteracaoJacobi : IteracaoGaussSeidel)(n, A, b, x);
                }
                convergiu = k < maxit && erro <= prec;
                break;
            default:
                break;
        }
    }
};

}  // namespace kt

}  // namespace sislin
