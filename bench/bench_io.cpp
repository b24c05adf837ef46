// Number text and data files: the block reader against an fscanf("%g") loop, and formata_*
// against snprintf, on n x n matrices.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "util.h"

namespace sislin {

namespace {

std::vector<float> valores(int n) {
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<float> d(-100.0f, 100.0f);
    std::vector<float> v(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    for (float& x : v) x = d(rng);
    return v;
}

// The matrix files written by this run, removed at its end.
struct Arquivos {
    std::map<int, std::string> porN;
    ~Arquivos() {
        for (const auto& [n, p] : porN) std::filesystem::remove(p);
    }
};

// A matrix file of n x n numbers, one row per line, written once per n.
const std::string& arquivo_matriz(int n) {
    static Arquivos arquivos;
    auto& feitos = arquivos.porN;
    auto it = feitos.find(n);
    if (it != feitos.end()) return it->second;
    const std::string p =
        (std::filesystem::temp_directory_path() /
         ("sislin-bench-a-" + std::to_string(::getpid()) + "-" + std::to_string(n) + ".txt"))
            .string();
    std::ofstream f(p);
    const auto v = valores(n);
    char buf[64];
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            std::snprintf(buf, sizeof buf, "%.7g ",
                          static_cast<double>(v[static_cast<std::size_t>(i * n + j)]));
            f << buf;
        }
        f << '\n';
    }
    return feitos.emplace(n, p).first->second;
}

void BM_LeMatriz_Blocos(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    const std::string& p = arquivo_matriz(n);
    Matrix m = cria_matriz(n + 1, n + 1);
    for (auto _ : st) {
        le_arq_matriz(p.c_str(), n, n, m);
        benchmark::DoNotOptimize(m[n][n]);
    }
    libera_matriz(m, n + 1);
    st.SetItemsProcessed(st.iterations() * n * n);
}

void BM_LeMatriz_Fscanf(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    const std::string& p = arquivo_matriz(n);
    Matrix m = cria_matriz(n + 1, n + 1);
    for (auto _ : st) {
        std::FILE* f = std::fopen(p.c_str(), "r");
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) {
                float t;
                if (std::fscanf(f, "%g", &t) != 1) st.SkipWithError("fscanf");
                m[i][j] = t;
            }
        std::fclose(f);
        benchmark::DoNotOptimize(m[n][n]);
    }
    libera_matriz(m, n + 1);
    st.SetItemsProcessed(st.iterations() * n * n);
}

// Printing n x n values into one buffer, as the matrix layouts and the echo do.
template <bool kFixo>
void BM_Imprime_Formata(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    const auto v = valores(n);
    std::vector<char> saida(v.size() * 24);
    for (auto _ : st) {
        char* p = saida.data();
        for (float x : v) {
            if constexpr (kFixo) {
                p += formata_fixo(p, static_cast<double>(x), 7, 4);
                *p++ = '\t';
            } else {
                p += formata_g(p, static_cast<double>(x));
                *p++ = ' ';
                *p++ = '\t';
            }
        }
        benchmark::DoNotOptimize(p);
    }
    st.SetItemsProcessed(st.iterations() * static_cast<long>(v.size()));
}

template <bool kFixo>
void BM_Imprime_Snprintf(benchmark::State& st) {
    const int n = static_cast<int>(st.range(0));
    const auto v = valores(n);
    std::vector<char> saida(v.size() * 24 + 64);
    for (auto _ : st) {
        char* p = saida.data();
        for (float x : v)
            p += std::snprintf(p, 64, kFixo ? "%7.4f\t" : "%g \t", static_cast<double>(x));
        benchmark::DoNotOptimize(p);
    }
    st.SetItemsProcessed(st.iterations() * static_cast<long>(v.size()));
}

void tamanhos(benchmark::internal::Benchmark* b) {
    b->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LeMatriz_Blocos)->Apply(tamanhos);
BENCHMARK(BM_LeMatriz_Fscanf)->Apply(tamanhos);
BENCHMARK(BM_Imprime_Formata<true>)->Name("BM_Imprime_f74_Formata")->Apply(tamanhos);
BENCHMARK(BM_Imprime_Snprintf<true>)->Name("BM_Imprime_f74_Snprintf")->Apply(tamanhos);
BENCHMARK(BM_Imprime_Formata<false>)->Name("BM_Imprime_g_Formata")->Apply(tamanhos);
BENCHMARK(BM_Imprime_Snprintf<false>)->Name("BM_Imprime_g_Snprintf")->Apply(tamanhos);

}  // namespace sislin
