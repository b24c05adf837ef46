// Inverse from the factors held in A: column c solves L·y = e_c, then U·x = y.
//
// The columns are solved kLargura at a time. A tile of adjacent columns is copied into a
// contiguous buffer (row j of the tile is kLargura consecutive Scalars), solved there, and
// copied back into Inv. Every column keeps its own sums and takes their terms in increasing
// column order of the factor, each new sum rounded, exactly as a one-column substitution does;
// the columns of a tile are merely computed side by side, in vector lanes where the processor
// has them.
//
// The leading zeros of e_c: while the factor entries they meet are finite, the forward values
// above row c are +0 and the terms they contribute leave each later sum unchanged (+0 plus ±0
// is +0), so the forward sums of a tile start at its first column c0 and its rows above c0 are
// +0. That holds while every L[i][j] with j < c0 (and j < i) is finite. A non-finite one meets
// a zero (0·inf is NaN) and turns each column after j entirely into NaN, which only the full
// sums reproduce: tiles from there on are solved with every term.
#include <algorithm>
#include <bit>
#include <cstdint>

#include "methods.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define SISLIN_AVX2 1
#endif

namespace {

constexpr int kLargura = 32;  // columns per tile

bool finito(Scalar v) {
    return (std::bit_cast<std::uint32_t>(v) & 0x7f800000u) != 0x7f800000u;
}

// The first column f for which some row i > f holds a non-finite L[i][f]; n + 1 if none.
// A tile starting at or before it may skip the terms before its first column.
int primeira_coluna_suja(int n, Matrix A) {
    int f = n + 1;
    for (int i = 2; i <= n; ++i) {
        const int ate = std::min(i - 1, f - 1);
        for (int j = 1; j <= ate; ++j)
            if (!finito(A[i][j])) {
                f = j;
                break;
            }
    }
    return f;
}

// Tile T (rows 1..n, kLargura lanes each; lanes beyond the last column are padding): the
// forward values of rows inicio..n are computed with sums from column inicio (rows before it
// hold +0), then all rows are solved backwards. Lane k of row i is column c0 + k.
__attribute__((target_clones("avx2", "default"))) void resolve_generico(int n, Matrix A, Scalar* T,
                                                                       int c0, int inicio) {
    double s[kLargura];
    for (int i = inicio; i <= n; ++i) {
        for (int k = 0; k < kLargura; ++k) s[k] = 0.0;
        const Scalar* li = A[i];
        for (int j = inicio; j < i; ++j) {
            const double l = static_cast<double>(li[j]);
            const Scalar* tj = T + static_cast<std::ptrdiff_t>(j) * kLargura;
            for (int k = 0; k < kLargura; ++k)
                s[k] = static_cast<double>(
                    static_cast<Scalar>(l * static_cast<double>(tj[k]) + s[k]));
        }
        Scalar* ti = T + static_cast<std::ptrdiff_t>(i) * kLargura;
        for (int k = 0; k < kLargura; ++k)
            ti[k] = static_cast<Scalar>((c0 + k == i ? 1.0 : 0.0) - s[k]);
    }
    for (int i = n; i >= 1; --i) {
        for (int k = 0; k < kLargura; ++k) s[k] = 0.0;
        const Scalar* ui = A[i];
        for (int j = i + 1; j <= n; ++j) {
            const double u = static_cast<double>(ui[j]);
            const Scalar* tj = T + static_cast<std::ptrdiff_t>(j) * kLargura;
            for (int k = 0; k < kLargura; ++k)
                s[k] = static_cast<double>(
                    static_cast<Scalar>(u * static_cast<double>(tj[k]) + s[k]));
        }
        const double d = static_cast<double>(ui[i]);
        Scalar* ti = T + static_cast<std::ptrdiff_t>(i) * kLargura;
        for (int k = 0; k < kLargura; ++k)
            ti[k] = static_cast<Scalar>((static_cast<double>(ti[k]) - s[k]) / d);
    }
}

#if defined(SISLIN_AVX2)
// The same with the 32 lanes as eight vectors of four doubles. Each sum is held in double but
// always carries a Scalar value: it is rounded to a Scalar and widened back after every term.
constexpr int kVetores = kLargura / 4;

// s[v] += coef[j]·T[j] for j = j0..j1 in increasing order.
[[gnu::always_inline, gnu::target("avx2")]] inline void soma_avx2(const Scalar* coef,
                                                                 const Scalar* T, int j0, int j1,
                                                                 __m256d* s) {
    __m256d a0 = _mm256_setzero_pd(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0,
            a7 = a0;
    const Scalar* tj = T + static_cast<std::ptrdiff_t>(j0) * kLargura;
    for (int j = j0; j <= j1; ++j, tj += kLargura) {
        const __m256d l = _mm256_set1_pd(static_cast<double>(coef[j]));
#define SISLIN_TERMO(a, v)                                                                     \
    a = _mm256_cvtps_pd(_mm256_cvtpd_ps(                                                       \
        _mm256_add_pd(_mm256_mul_pd(l, _mm256_cvtps_pd(_mm_loadu_ps(tj + 4 * (v)))), a)))
        SISLIN_TERMO(a0, 0);
        SISLIN_TERMO(a1, 1);
        SISLIN_TERMO(a2, 2);
        SISLIN_TERMO(a3, 3);
        SISLIN_TERMO(a4, 4);
        SISLIN_TERMO(a5, 5);
        SISLIN_TERMO(a6, 6);
        SISLIN_TERMO(a7, 7);
#undef SISLIN_TERMO
    }
    s[0] = a0;
    s[1] = a1;
    s[2] = a2;
    s[3] = a3;
    s[4] = a4;
    s[5] = a5;
    s[6] = a6;
    s[7] = a7;
}

[[gnu::target("avx2")]] void resolve_avx2(int n, Matrix A, Scalar* T, int c0, int inicio) {
    __m256d s[kVetores];
    for (int i = inicio; i <= n; ++i) {
        soma_avx2(A[i], T, inicio, i - 1, s);
        Scalar* ti = T + static_cast<std::ptrdiff_t>(i) * kLargura;
        const __m256d zero = _mm256_setzero_pd();
        for (int v = 0; v < kVetores; ++v)
            _mm_storeu_ps(ti + 4 * v, _mm256_cvtpd_ps(_mm256_sub_pd(zero, s[v])));
        // The one lane where the unit vector holds 1.
        const int k = i - c0;
        if (k >= 0 && k < kLargura) {
            double sk[4];
            _mm256_storeu_pd(sk, s[k / 4]);
            ti[k] = static_cast<Scalar>(1.0 - sk[k % 4]);
        }
    }
    for (int i = n; i >= 1; --i) {
        soma_avx2(A[i], T, i + 1, n, s);
        const __m256d d = _mm256_set1_pd(static_cast<double>(A[i][i]));
        Scalar* ti = T + static_cast<std::ptrdiff_t>(i) * kLargura;
        for (int v = 0; v < kVetores; ++v) {
            const __m256d y = _mm256_cvtps_pd(_mm_loadu_ps(ti + 4 * v));
            _mm_storeu_ps(ti + 4 * v, _mm256_cvtpd_ps(_mm256_div_pd(_mm256_sub_pd(y, s[v]), d)));
        }
    }
}
#endif

}  // namespace

void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    if (n <= 0) return;
    const int suja = primeira_coluna_suja(n, A);
#if defined(SISLIN_AVX2)
    const bool avx2 = __builtin_cpu_supports("avx2");
#endif
    Vector T = cria_vetor((n + 1) * kLargura);
    for (int c0 = 1; c0 <= n; c0 += kLargura) {
        const int w = std::min(kLargura, n - c0 + 1);
        const int inicio = (c0 <= suja) ? c0 : 1;
        for (int i = 1; i < inicio; ++i)
            for (int k = 0; k < kLargura; ++k) T[i * kLargura + k] = 0.0f;
#if defined(SISLIN_AVX2)
        // The narrower last tile goes through the portable code.
        if (avx2 && w == kLargura)
            resolve_avx2(n, A, T, c0, inicio);
        else
#endif
            resolve_generico(n, A, T, c0, inicio);
        for (int i = 1; i <= n; ++i) {
            const Scalar* ti = T + i * kLargura;
            Scalar* linha = Inv[i] + c0;
            for (int k = 0; k < w; ++k) linha[k] = ti[k];
        }
    }
    libera_vetor(T);
    // As after solving the last column on its own: b = e_n, y its forward values (solved again
    // on their own, n² terms), x its solution.
    for (int i = 1; i <= n; ++i) y[i] = (i == n) ? 1.0f : 0.0f;
    SubstituicaoProgressivaL(n, A, y, y);
    for (int j = 1; j <= n; ++j) {
        b[j] = (j == n) ? 1.0f : 0.0f;
        x[j] = Inv[j][n];
    }
}
