// The WebAssembly SIMD128 micro-kernels (compiled with -msimd128). Sums and running values are
// held in f64x2 lanes but always carry a Scalar value: each new one is rounded to a Scalar
// (f32x4.demote_f64x2_zero) and widened back (f64x2.promote_low_f32x4). The product of two
// Scalars is exact in double, so a multiply then an add rounds exactly as the statement. The
// engine maps each lane pair onto the host's own vectors (SSE/AVX on x86-64, NEON on ARM64);
// there is no FMA in SIMD128, and no more than 16 vector registers on x86-64, so each kernel
// keeps about eight pairs of sums in flight.
#include <wasm_simd128.h>

#include <algorithm>
#include <cassert>

#include "grupos.h"

namespace sislin {

namespace {

using nucleos::kMaxLinhas;
using nucleos::kMaxPassos;
using nucleos::kMultiploLargura;

// The compiler would fold the two conversions into one of two-lane vectors of floats, which it
// then takes apart lane by lane; the empty statement between them keeps each one instruction.
[[gnu::always_inline]] inline v128_t arredonda(v128_t s) {
    v128_t f = wasm_f32x4_demote_f64x2_zero(s);
    __asm__("" : "+r"(f));
    return wasm_f64x2_promote_low_f32x4(f);
}
// Two Scalars from p, widened.
[[gnu::always_inline]] inline v128_t le2(const Scalar* p) {
    return wasm_f64x2_promote_low_f32x4(wasm_v128_load64_zero(p));
}
// Two lanes rounded to Scalars and stored at p.
[[gnu::always_inline]] inline void grava2(Scalar* p, v128_t s) {
    wasm_v128_store64_lane(p, wasm_f32x4_demote_f64x2_zero(s), 0);
}
[[gnu::always_inline]] inline v128_t passo(v128_t u, v128_t m, v128_t v) {
    return arredonda(wasm_f64x2_add(wasm_f64x2_mul(u, m), v));
}

// ---- aplica_passos: R rows over C columns at a time, each row's running values in C / 2 pairs.
struct Blocos {
    template <int R, int C>
    static void bloco(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                      int k, int c) {
        constexpr int V = C / 2;
        v128_t v[static_cast<unsigned>(R)][static_cast<unsigned>(V)];
        for (int r = 0; r < R; ++r)
            for (int q = 0; q < V; ++q) v[r][q] = le2(L[r] + k + 2 * q);
        for (int t = 0; t < num_passos; ++t) {
            const double* u = U + t * ldu + c;
            v128_t ut[static_cast<unsigned>(V)];
            for (int q = 0; q < V; ++q) ut[q] = wasm_v128_load(u + 2 * q);
            for (int r = 0; r < R; ++r) {
                const v128_t mr = wasm_v128_load64_splat(m + r * kMaxPassos + t);
                for (int q = 0; q < V; ++q) v[r][q] = passo(ut[q], mr, v[r][q]);
            }
        }
        for (int r = 0; r < R; ++r)
            for (int q = 0; q < V; ++q) grava2(L[r] + k + 2 * q, v[r][q]);
    }
};

// ---- somas_colunas: sixteen columns at a time, eight sums of two lanes each.
struct Vetor {
    using Tipo = v128_t;
    static Tipo espalha(double x) { return wasm_f64x2_splat(x); }
    static Tipo le(const double* p) { return wasm_v128_load(p); }
    static Tipo passo(Tipo u, Tipo m, Tipo v) { return sislin::passo(u, m, v); }
    static void grava(Scalar* p, Tipo v) { grava2(p, v); }
};

void somas_colunas(const Scalar* coef, const double* T, int ld, int j0, int j1, Scalar* s) {
    static_assert(kMultiploLargura == 16);
    assert(ld % kMultiploLargura == 0);
    for (int c = 0; c < ld; c += kMultiploLargura)
        nucleos::micro::colunas<Vetor, kMultiploLargura / 2>(coef, T + c, ld, j0, j1, s + c);
}

// ---- somas_linhas: two rows side by side in the lanes of a pair, G pairs at a time. Two columns
// are taken as the two rows' products transposed, so that each lane still adds its row's terms
// one at a time in increasing column order.

// Rows a[0..2G-1] (row r's diagonal at column pula + r when pula > 0) over the columns 1..n.
template <int G>
void pares(const Scalar* const* a, const Scalar* v, int n, int pula, Scalar* s) {
    v128_t acc[static_cast<unsigned>(G)];
    for (v128_t& x : acc) x = wasm_f64x2_const_splat(0.0);
    int j = 1;
    for (; j + 1 <= n; j += 2) {
        const v128_t vj = le2(v + j);
        for (int g = 0; g < G; ++g) {
            const v128_t p0 = wasm_f64x2_mul(le2(a[2 * g] + j), vj);
            const v128_t p1 = wasm_f64x2_mul(le2(a[2 * g + 1] + j), vj);
            const v128_t q0 = arredonda(wasm_f64x2_add(wasm_i64x2_shuffle(p0, p1, 0, 2), acc[g]));
            // Row 2g + l skips column j + k when that is its diagonal: l = k - diag. A skipped
            // term keeps the sum (not an added zero: -0 + 0 is +0, 0·inf is NaN).
            const int diag = pula + 2 * g - j;
            if (pula > 0 && diag >= -1 && diag <= 1) {
                const v128_t m0 = wasm_i64x2_make(diag == 0 ? -1 : 0, diag == -1 ? -1 : 0);
                acc[g] = wasm_v128_bitselect(acc[g], q0, m0);
                const v128_t q1 =
                    arredonda(wasm_f64x2_add(wasm_i64x2_shuffle(p0, p1, 1, 3), acc[g]));
                const v128_t m1 = wasm_i64x2_make(diag == 1 ? -1 : 0, diag == 0 ? -1 : 0);
                acc[g] = wasm_v128_bitselect(acc[g], q1, m1);
            } else {
                acc[g] = arredonda(wasm_f64x2_add(wasm_i64x2_shuffle(p0, p1, 1, 3), q0));
            }
        }
    }
    for (int g = 0; g < G; ++g)
        for (int l = 0; l < 2; ++l) {
            const int r = 2 * g + l;
            auto x = static_cast<Scalar>(l == 0 ? wasm_f64x2_extract_lane(acc[g], 0)
                                                : wasm_f64x2_extract_lane(acc[g], 1));
            if (j == n && (pula <= 0 || j != pula + r))
                x = static_cast<Scalar>(static_cast<double>(a[r][j]) * static_cast<double>(v[j]) +
                                        static_cast<double>(x));
            s[r] = x;
        }
}

void somas_linhas(const Scalar* const* a, int linhas, const Scalar* v, int n, int pula, Scalar* s) {
    assert(linhas >= 1 && linhas <= kMaxLinhas);
    constexpr int kGrupo = 8;  // rows per pass: four pairs
    for (int r0 = 0; r0 < linhas; r0 += kGrupo) {
        const int q = std::min(kGrupo, linhas - r0);
        // Rows past the last are stand-ins (the first row again) whose sums are dropped.
        const Scalar* r[kGrupo];
        Scalar t[kGrupo];
        for (int k = 0; k < kGrupo; ++k) r[k] = a[r0 + (k < q ? k : 0)];
        pares<kGrupo / 2>(r, v, n, pula > 0 ? pula + r0 : 0, t);
        std::copy(t, t + q, s + r0);
    }
}

}  // namespace

namespace nucleos {

const Micronucleos& micronucleos_simd128() {
    static const Micronucleos k = completa(
        {Isa::simd128, 4, 32,
         nucleos::micro::aplica_por_grupos<nucleos::micro::FaixaPorBlocos<Blocos, 4, 2>, 4, 2, 1>,
         somas_colunas, somas_linhas});
    return k;
}

}  // namespace nucleos

}  // namespace sislin
