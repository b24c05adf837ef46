// The kernels of methods/ against their straightforward reference copies, on random
// diagonally dominant systems of a few thousand unknowns.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "methods.h"
#include "referencia.h"
#include "util.h"

namespace {

struct Sistema {
    explicit Sistema(int n_) : n(n_), A(cria_matriz(n + 1, n + 1)), b(cria_vetor(n + 1)) {
        std::mt19937 g(2024u);
        std::uniform_real_distribution<float> u(-1.0f, 1.0f);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) A[i][j] = u(g);
            A[i][i] = static_cast<Scalar>(n);
            b[i] = u(g);
        }
    }
    Sistema(const Sistema&) = delete;
    Sistema& operator=(const Sistema&) = delete;
    ~Sistema() {
        libera_matriz(A, n + 1);
        libera_vetor(b);
    }
    int n;
    Matrix A;
    Vector b;
};

using FnInv = void (*)(int, Matrix, Matrix, Vector, Vector, Vector);
using FnRes = void (*)(int, Vector, Matrix, Vector, Vector);
using FnIt = Scalar (*)(int, Matrix, Vector, Vector);

template <FnInv F>
void BM_Inv(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    Sistema s(n);
    referencia::LU(n, s.A);
    Matrix Inv = cria_matriz(n + 1, n + 1);
    Vector b = cria_vetor(n + 1), x = cria_vetor(n + 1), y = cria_vetor(n + 1);
    for (auto _ : st) {
        F(n, s.A, Inv, b, x, y);
        benchmark::DoNotOptimize(Inv[n][n]);
    }
    libera_vetor(b);
    libera_vetor(x);
    libera_vetor(y);
    libera_matriz(Inv, n + 1);
}

template <FnRes F>
void BM_Res(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    Sistema s(n);
    Vector r = cria_vetor(n + 1);
    for (auto _ : st) {
        F(n, s.b, s.A, s.b, r);
        benchmark::DoNotOptimize(r[n]);
    }
    libera_vetor(r);
}

template <FnIt F>
void BM_It(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    Sistema s(n);
    Vector x = cria_vetor(n + 1);
    for (auto _ : st) {
        benchmark::DoNotOptimize(F(n, s.A, s.b, x));
    }
    libera_vetor(x);
}

}  // namespace

#define SISLIN_PAR(NOME, MOLDE, RAPIDA, REF, ...)                                          \
    BENCHMARK(MOLDE<RAPIDA>)->Name("rapida/" NOME)->Unit(benchmark::kMillisecond)->__VA_ARGS__; \
    BENCHMARK(MOLDE<REF>)->Name("ref/" NOME)->Unit(benchmark::kMillisecond)->__VA_ARGS__

SISLIN_PAR("Inversa", BM_Inv, Inversa, referencia::Inversa, Arg(500)->Arg(1000)->Arg(2000)->Iterations(1));
SISLIN_PAR("CalculaResiduo", BM_Res, CalculaResiduo, referencia::CalculaResiduo,
           Arg(500)->Arg(1000)->Arg(2000));
SISLIN_PAR("IteracaoJacobi", BM_It, IteracaoJacobi, referencia::IteracaoJacobi,
           Arg(500)->Arg(1000)->Arg(2000));
