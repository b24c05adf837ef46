// The practice engine's response at n = 10 (the largest system it takes), by method: a reply
// checked (right, and wrong with every named mistake tried), a hint, and an undo, each from
// the middle of the session. The console and the page add to this the record's lines and the
// screen; bench/pratica.mjs measures the page's panel end to end.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "pratica.h"

namespace sislin::aula {

namespace {

constexpr int kN = 10;

// A session of the method on a diagonally dominant 10 x 10 system, half of its steps done
// with the expected values (Jacobi and Gauss-Seidel: the first sweeps).
Pratica no_meio(int metodo) {
    std::mt19937 g(20261210U);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<float> A(static_cast<std::size_t>(kN) * kN);
    std::vector<float> b(kN);
    for (int i = 0; i < kN; ++i) {
        for (int j = 0; j < kN; ++j) A[static_cast<std::size_t>(i * kN + j)] = u(g);
        A[static_cast<std::size_t>(i * kN + i)] = 2.0f * kN;
        b[static_cast<std::size_t>(i)] = u(g);
    }
    Pratica p(metodo, kN, A, b, 4);
    if (metodo >= 9) p.parada(1e-30f, 100);
    int total = 0;
    {
        Pratica q = p;
        while (!q.concluida() && total < 400) {
            q.confere(q.esperado());
            ++total;
        }
    }
    for (int k = 0; k < total / 2; ++k) p.confere(p.esperado());
    return p;
}

void BM_ConfereErrado(benchmark::State& estado) {
    Pratica p = no_meio(static_cast<int>(estado.range(0)));
    for (auto _ : estado) benchmark::DoNotOptimize(p.confere(-12345.0f));
}

void BM_ConfereCertoEDesfaz(benchmark::State& estado) {
    Pratica p = no_meio(static_cast<int>(estado.range(0)));
    const float certo = p.esperado();
    for (auto _ : estado) {
        benchmark::DoNotOptimize(p.confere(certo));
        benchmark::DoNotOptimize(p.desfaz(1));
    }
}

void BM_Dica(benchmark::State& estado) {
    Pratica p = no_meio(static_cast<int>(estado.range(0)));
    for (auto _ : estado) benchmark::DoNotOptimize(p.dica());
}

void BM_Desfaz(benchmark::State& estado) {
    Pratica p = no_meio(static_cast<int>(estado.range(0)));
    const float certo = p.esperado();
    for (auto _ : estado) {
        estado.PauseTiming();
        p.confere(certo);
        estado.ResumeTiming();
        benchmark::DoNotOptimize(p.desfaz(1));
    }
}

// Gauss, LU with pivoting, the residual, Gauss-Seidel.
BENCHMARK(BM_ConfereErrado)->Arg(1)->Arg(4)->Arg(7)->Arg(10);
BENCHMARK(BM_ConfereCertoEDesfaz)->Arg(1)->Arg(4)->Arg(7)->Arg(10);
BENCHMARK(BM_Dica)->Arg(1)->Arg(4)->Arg(7)->Arg(10);
BENCHMARK(BM_Desfaz)->Arg(1)->Arg(4)->Arg(7)->Arg(10);

}  // namespace

}  // namespace sislin::aula
