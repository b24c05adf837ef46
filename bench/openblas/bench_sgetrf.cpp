// OpenBLAS's single-precision LU with partial pivoting (sgetrf), one thread, on the systems of
// bench_caminhos.cpp: the field's yardstick, not an exact one (blocked, reordered sums, and no
// rounding to a Scalar after each step).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

extern "C" void sgetrf_(const int* m, const int* n, float* a, const int* lda, int* ipiv, int* info);
extern "C" void openblas_set_num_threads(int n);

namespace {

void sgetrf(benchmark::State& st) {
    openblas_set_num_threads(1);
    const int n = static_cast<int>(st.range(0));
    const auto N = static_cast<std::size_t>(n);
    std::vector<float> A(N * N), M(N * N);
    std::vector<int> piv(N);
    std::mt19937 g(2024u);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (std::size_t k = 0; k < N * N; ++k) A[k] = u(g);
    for (std::size_t i = 0; i < N; ++i) A[i * N + i] = static_cast<float>(n);
    for (auto _ : st) {
        st.PauseTiming();
        M = A;
        st.ResumeTiming();
        int info = 0;
        sgetrf_(&n, &n, M.data(), &n, piv.data(), &info);
        benchmark::DoNotOptimize(info);
    }
}

BENCHMARK(sgetrf)
    ->Name("openblas/sgetrf")
    ->Unit(benchmark::kMillisecond)
    ->Arg(2000)
    ->Arg(4000)
    ->Iterations(1);

}  // namespace
