// Elimination and LU factorisation against their straightforward reference copies, on random
// diagonally dominant systems, one run each (the matrix is restored outside the timing).
#include <benchmark/benchmark.h>

#include <random>

#include "methods.h"
#include "referencia.h"
#include "util.h"

namespace {

struct Dados {
    explicit Dados(int n_)
        : n(n_), A(cria_matriz(n + 1, n + 1)), M(cria_matriz(n + 1, n + 1)),
          b(cria_vetor(n + 1)), c(cria_vetor(n + 1)), pos(cria_vetor_int(n + 1)) {
        std::mt19937 g(2024u);
        std::uniform_real_distribution<float> u(-1.0f, 1.0f);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) A[i][j] = u(g);
            A[i][i] = static_cast<Scalar>(n);
            b[i] = u(g);
        }
    }
    Dados(const Dados&) = delete;
    Dados& operator=(const Dados&) = delete;
    ~Dados() {
        libera_vetor(pos);
        libera_vetor(c);
        libera_vetor(b);
        libera_matriz(M, n + 1);
        libera_matriz(A, n + 1);
    }
    void restaura() {
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) M[i][j] = A[i][j];
            c[i] = b[i];
        }
    }
    int n;
    Matrix A, M;
    Vector b, c;
    IndexVector pos;
};

using FnElim = void (*)(int, Matrix, Vector);
using FnLU = void (*)(int, Matrix);
using FnLUP = void (*)(int, Matrix, IndexVector, Scalar&);

template <FnElim F>
void BM_Elim(benchmark::State& st) {
    Dados d(static_cast<int>(st.range(0)));
    for (auto _ : st) {
        st.PauseTiming();
        d.restaura();
        st.ResumeTiming();
        F(d.n, d.M, d.c);
        benchmark::DoNotOptimize(d.c[d.n]);
    }
}

template <FnLU F>
void BM_LU(benchmark::State& st) {
    Dados d(static_cast<int>(st.range(0)));
    for (auto _ : st) {
        st.PauseTiming();
        d.restaura();
        st.ResumeTiming();
        F(d.n, d.M);
        benchmark::DoNotOptimize(d.M[d.n][d.n]);
    }
}

template <FnLUP F>
void BM_LUP(benchmark::State& st) {
    Dados d(static_cast<int>(st.range(0)));
    Scalar det = 0;
    for (auto _ : st) {
        st.PauseTiming();
        d.restaura();
        st.ResumeTiming();
        F(d.n, d.M, d.pos, det);
        benchmark::DoNotOptimize(det);
    }
}

}  // namespace

#define SISLIN_FATORACAO(NOME, MOLDE, RAPIDA, REF)                                             \
    BENCHMARK(MOLDE<RAPIDA>)                                                                   \
        ->Name("rapida/" NOME)                                                                 \
        ->Unit(benchmark::kMillisecond)                                                        \
        ->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Iterations(1);                            \
    BENCHMARK(MOLDE<REF>)                                                                      \
        ->Name("ref/" NOME)                                                                    \
        ->Unit(benchmark::kMillisecond)                                                        \
        ->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Iterations(1)

SISLIN_FATORACAO("Eliminacao", BM_Elim, Eliminacao, referencia::Eliminacao);
SISLIN_FATORACAO("GaussPivoteamentoParcial", BM_Elim, GaussPivoteamentoParcial,
                 referencia::GaussPivoteamentoParcial);
SISLIN_FATORACAO("LU", BM_LU, LU, referencia::LU);
SISLIN_FATORACAO("LUPivoteamentoParcial", BM_LUP, LUPivoteamentoParcial,
                 referencia::LUPivoteamentoParcial);
