// Every kernel with a fast path, on each path of this machine (SISLIN_ISA's names: referencia,
// generico, avx2, avx512), on random diagonally dominant systems. Factorisations run once per
// size (the matrix restored outside the timing) and report the time per updated entry
// (n³/3 updates; the inverse's, 2n³/3 terms); "relogio" measures the clock, to turn those
// times into cycles, and "<set>/piso" each set's floor, its bare step on independent chains.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "nucleos.h"
#include "pisos.h"
#include "util.h"

namespace sislin {

namespace {

struct Sistema {
    explicit Sistema(int n_)
        : n(n_),
          A(cria_matriz(n + 1, n + 1)),
          M(cria_matriz(n + 1, n + 1)),
          Inv(cria_matriz(n + 1, n + 1)),
          b(cria_vetor(n + 1)),
          c(cria_vetor(n + 1)),
          x(cria_vetor(n + 1)),
          y(cria_vetor(n + 1)),
          pos(cria_vetor_int(n + 1)) {
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
        for (Vector v : {b, c, x, y}) libera_vetor(v);
        libera_vetor(pos);
        for (Matrix m : {A, M, Inv}) libera_matriz(m, n + 1);
    }
    void restaura() {
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) M[i][j] = A[i][j];
            c[i] = b[i];
        }
    }
    int n;
    Matrix A, M, Inv;
    Vector b, c, x, y;
    IndexVector pos;
};

enum class Nucleo { Eliminacao, Gauss, LU, LUPivoteado, Inversa, Residuo, Jacobi, Progressiva };

void roda(benchmark::State& st, Nucleo k, nucleos::Ajuste a) {
    const int n = static_cast<int>(st.range(0));
    Sistema s(n);
    if (k == Nucleo::Inversa) nucleos::executa({}, &nucleos::Tabela::LU, n, s.A);
    Scalar det = 0;
    if (k > Nucleo::LUPivoteado) s.restaura();
    for (auto _ : st) {
        if (k <= Nucleo::LUPivoteado) {  // the factorisations work in place
            st.PauseTiming();
            s.restaura();
            st.ResumeTiming();
        }
        switch (k) {
            case Nucleo::Eliminacao:
                nucleos::executa(a, &nucleos::Tabela::Eliminacao, n, s.M, s.c);
                break;
            case Nucleo::Gauss:
                nucleos::executa(a, &nucleos::Tabela::GaussPivoteamentoParcial, n, s.M, s.c);
                break;
            case Nucleo::LU:
                nucleos::executa(a, &nucleos::Tabela::LU, n, s.M);
                break;
            case Nucleo::LUPivoteado:
                nucleos::executa(a, &nucleos::Tabela::LUPivoteamentoParcial, n, s.M, s.pos, det);
                break;
            case Nucleo::Inversa:
                nucleos::executa(a, &nucleos::Tabela::Inversa, n, s.M, s.Inv, s.b, s.x, s.y);
                break;
            case Nucleo::Residuo:
                nucleos::executa(a, &nucleos::Tabela::CalculaResiduo, n, s.b, s.M, s.b, s.x);
                break;
            case Nucleo::Progressiva:
                nucleos::executa(a, &nucleos::Tabela::SubstituicaoProgressivaL, n, s.M, s.y, s.b);
                break;
            case Nucleo::Jacobi:
                benchmark::DoNotOptimize(
                    nucleos::executa(a, &nucleos::Tabela::IteracaoJacobi, n, s.M, s.b, s.x));
                break;
        }
        benchmark::DoNotOptimize(s.M[n][n]);
    }
    // Updated entries: n³/3 for a factorisation; for the inverse, n³/6 forward terms (the
    // unit vectors' leading zeros skipped) and n³/2 backward, per column.
    const double entradas = static_cast<double>(n) * n * n / (k == Nucleo::Inversa ? 1.5 : 3.0);
    if (k <= Nucleo::LUPivoteado || k == Nucleo::Inversa)
        st.counters["ns_por_entrada"] =
            benchmark::Counter(entradas / 1e9, benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}

// The floor of a set: its bare step on independent chains (pisos.h).
void piso(benchmark::State& st, const nucleos::Micronucleos* k) {
    constexpr long kAtualizacoes = 200000000;
    for (auto _ : st) benchmark::DoNotOptimize(bancada::piso(k->isa, kAtualizacoes));
    st.counters["ns_por_entrada"] =
        benchmark::Counter(kAtualizacoes / 1e9, benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

// A chain of dependent additions, one per cycle: iterations per second is the clock.
void relogio(benchmark::State& st) {
    for (auto _ : st) {
        unsigned long x = 0;
        for (int i = 0; i < 100000000; ++i) {
            x += 1;
            __asm__ volatile("" : "+r"(x));
        }
        benchmark::DoNotOptimize(x);
    }
    st.counters["GHz"] = benchmark::Counter(0.1, benchmark::Counter::kIsIterationInvariantRate);
}

bool registra() {
    benchmark::RegisterBenchmark("relogio", relogio)->Unit(benchmark::kMillisecond);
    std::vector<std::pair<std::string, nucleos::Ajuste>> caminhos{{"referencia", {}}};
    for (const nucleos::Micronucleos* k : nucleos::conjuntos()) {
        caminhos.push_back({nucleos::nome(k->isa), {k, {}}});
        benchmark::RegisterBenchmark((std::string(nucleos::nome(k->isa)) + "/piso").c_str(), piso,
                                     k)
            ->Unit(benchmark::kMillisecond);
    }
    const struct {
        const char* nome;
        Nucleo k;
        std::vector<int> n;
        int iteracoes;
    } nucleos_[] = {{"Eliminacao", Nucleo::Eliminacao, {2000, 4000}, 1},
                    {"GaussPivoteamentoParcial", Nucleo::Gauss, {2000, 4000}, 1},
                    {"LU", Nucleo::LU, {500, 1000, 2000, 4000}, 1},
                    {"LUPivoteamentoParcial", Nucleo::LUPivoteado, {2000, 4000}, 1},
                    {"Inversa", Nucleo::Inversa, {500, 1000, 2000}, 1},
                    {"CalculaResiduo", Nucleo::Residuo, {500, 1000, 2000}, 0},
                    {"IteracaoJacobi", Nucleo::Jacobi, {500, 1000, 2000}, 0},
                    {"SubstituicaoProgressivaL", Nucleo::Progressiva, {1000, 2000}, 0}};
    for (const auto& k : nucleos_)
        for (const auto& [nome, a] : caminhos) {
            auto* b = benchmark::RegisterBenchmark((nome + "/" + k.nome).c_str(), roda, k.k, a)
                          ->Unit(benchmark::kMillisecond);
            for (int n : k.n) b->Arg(n);
            if (k.iteracoes > 0) b->Iterations(k.iteracoes);
        }
    return true;
}

const bool registrado = registra();

}  // namespace

}  // namespace sislin
