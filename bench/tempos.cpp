// The kernels' times per updated entry on each set of this build, with the standard library's
// clock alone, for builds that have no Google Benchmark (the WebAssembly one, under Node.js:
// make bench-wasm): LU with and without pivoting (n³/3 updates), the inverse (2n³/3 terms) and
// each set's floor, its bare step on independent chains. The straightforward loops run the LU
// only. Usage: sislin_tempos [n]   (default 1000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "nucleos.h"
#include "pisos.h"
#include "util.h"

namespace sislin {
namespace {

double segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

int mede(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (n < 2) return 1;
    Matrix A = cria_matriz(n + 1, n + 1);
    Matrix M = cria_matriz(n + 1, n + 1);
    Matrix Inv = cria_matriz(n + 1, n + 1);
    Vector b = cria_vetor(n + 1);
    Vector x = cria_vetor(n + 1);
    Vector y = cria_vetor(n + 1);
    IndexVector pos = cria_vetor_int(n + 1);
    std::mt19937 g(2024u);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) A[i][j] = u(g);
        A[i][i] = static_cast<Scalar>(n);
    }
    const auto restaura = [&] {
        for (int i = 0; i <= n; ++i)
            for (int j = 0; j <= n; ++j) M[i][j] = A[i][j];
    };
    const double atualizacoes = static_cast<double>(n) * n * n / 3;
    std::vector<const nucleos::Micronucleos*> sets{nullptr};
    for (const nucleos::Micronucleos* k : nucleos::conjuntos()) sets.push_back(k);
    std::printf("n = %d, ns per updated entry\n%-11s %8s %8s %8s %8s\n", n, "set", "LU", "LUpiv",
                "inverse", "floor");
    for (const nucleos::Micronucleos* k : sets) {
        const nucleos::Ajuste a{k, {}};
        restaura();
        auto t = std::chrono::steady_clock::now();
        nucleos::executa(a, &nucleos::Tabela::LU, n, M);
        const double lu = segundos(t) * 1e9 / atualizacoes;
        restaura();
        Scalar det = 0;
        t = std::chrono::steady_clock::now();
        nucleos::executa(a, &nucleos::Tabela::LUPivoteamentoParcial, n, M, pos, det);
        const double lup = segundos(t) * 1e9 / atualizacoes;
        if (k == nullptr) {
            std::printf("%-11s %8.3f %8.3f\n", "referencia", lu, lup);
            continue;
        }
        t = std::chrono::steady_clock::now();
        nucleos::executa(a, &nucleos::Tabela::Inversa, n, M, Inv, b, x, y);
        const double inv = segundos(t) * 1e9 / (2 * atualizacoes);
        // In pieces, after one to warm up: an engine that compiles a function again, optimised,
        // once it has run often (WebAssembly's) runs the optimised code from its next call.
        constexpr long kPedaco = 1000000;
        constexpr int kPedacos = 100;
        static_cast<void>(bancada::piso(k->isa, kPedaco));
        t = std::chrono::steady_clock::now();
        for (int p = 0; p < kPedacos; ++p) static_cast<void>(bancada::piso(k->isa, kPedaco));
        const double piso = segundos(t) * 1e9 / (kPedaco * kPedacos);
        std::printf("%-11s %8.3f %8.3f %8.3f %8.3f\n", nucleos::nome(k->isa), lu, lup, inv, piso);
    }
    for (Vector v : {b, x, y}) libera_vetor(v);
    libera_vetor(pos);
    for (Matrix m : {A, M, Inv}) libera_matriz(m, n + 1);
    return 0;
}

}  // namespace
}  // namespace sislin

int main(int argc, char** argv) {
    return sislin::mede(argc, argv);
}
