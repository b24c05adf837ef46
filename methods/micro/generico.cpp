// The portable micro-kernels: plain loops, no intrinsics, shaped so that the compiler can keep
// values in registers and use whatever vector lanes the target has. Every sum and running value
// is rounded to a Scalar after each term.
#include <algorithm>
#include <cassert>

#include "grupos.h"

namespace sislin {

namespace {

using nucleos::kMaxPassos;

// Rows L[0..R-1] over the C columns from k (U from column c of the strip) take every step.
struct Blocos {
    template <int R, int C>
    static void bloco(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                      int k, int c) {
        Scalar v[static_cast<unsigned>(R)][static_cast<unsigned>(C)];
        for (int r = 0; r < R; ++r)
            for (int q = 0; q < C; ++q) v[r][q] = L[r][k + q];
        for (int t = 0; t < num_passos; ++t) {
            const double* u = U + t * ldu + c;
            for (int r = 0; r < R; ++r) {
                const double mr = m[r * kMaxPassos + t];
                for (int q = 0; q < C; ++q)
                    v[r][q] = static_cast<Scalar>(u[q] * mr + static_cast<double>(v[r][q]));
            }
        }
        for (int r = 0; r < R; ++r)
            for (int q = 0; q < C; ++q) L[r][k + q] = v[r][q];
    }
};

// Sixteen columns at a time, sixteen independent sums.
void somas_colunas(const Scalar* coef, const double* T, int ld, int j0, int j1, Scalar* s) {
    for (int c = 0; c < ld; c += 16) {
        const int q = std::min(16, ld - c);
        double a[16] = {};
        for (int j = j0; j <= j1; ++j) {
            const double l = static_cast<double>(coef[j]);
            const double* tj = T + static_cast<std::ptrdiff_t>(j) * ld + c;
            for (int k = 0; k < q; ++k)
                a[k] = static_cast<double>(static_cast<Scalar>(l * tj[k] + a[k]));
        }
        for (int k = 0; k < q; ++k) s[c + k] = static_cast<Scalar>(a[k]);
    }
}

// Eight rows at a time, their sums side by side.
void somas_linhas(const Scalar* const* a, int linhas, const Scalar* v, int n, int pula, Scalar* s) {
    for (int r0 = 0; r0 < linhas; r0 += 8) {
        const int q = std::min(8, linhas - r0);
        double acc[8] = {};
        for (int j = 1; j <= n; ++j) {
            const double vj = static_cast<double>(v[j]);
            for (int r = 0; r < q; ++r)
                if (pula <= 0 || j != pula + r0 + r)
                    acc[r] = static_cast<double>(
                        static_cast<Scalar>(static_cast<double>(a[r0 + r][j]) * vj + acc[r]));
        }
        for (int r = 0; r < q; ++r) s[r0 + r] = static_cast<Scalar>(acc[r]);
    }
}

}  // namespace

namespace nucleos {

const Micronucleos& micronucleos_generico() {
    static constexpr Micronucleos k{
        Isa::generico,
        12,
        32,
        nucleos::micro::aplica_por_grupos<nucleos::micro::FaixaPorBlocos<Blocos, 4, 1>, 12, 4, 1>,
        somas_colunas,
        somas_linhas};
    return k;
}

Micronucleos completa(Micronucleos k) {
    const Micronucleos& g = micronucleos_generico();
    if (k.aplica_passos == nullptr) k.aplica_passos = g.aplica_passos;
    if (k.somas_colunas == nullptr) k.somas_colunas = g.somas_colunas;
    if (k.somas_linhas == nullptr) k.somas_linhas = g.somas_linhas;
    return k;
}

}  // namespace nucleos

}  // namespace sislin
