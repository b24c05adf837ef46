// Row sums side by side in AVX lanes, shared by the Jacobi sweep and the residual.
#pragma once

#include "util.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define SISLIN_AVX2 1

namespace linhas_simd {

// Rows side by side in vector lanes: a vector holds the sums of four consecutive rows, and a
// block of four columns is taken as four rows' products transposed, so that each lane still
// adds its row's terms one at a time in increasing column order. Each sum is held in double but
// always carries a Scalar value: it is rounded and widened back after every term.

// How far ahead along a row the next cache lines are fetched, in Scalars.
constexpr int kAdiante = 64;

[[gnu::always_inline, gnu::target("avx2")]] inline __m256d arredonda(__m256d s) {
    return _mm256_cvtps_pd(_mm256_cvtpd_ps(s));
}

// Columns j..j+3 for the four rows a[0..3]. With kDiagonal, column j + m is row m's own
// diagonal: lane m keeps its sum for that term (a blend, not an added zero: -0 + 0 is +0 and
// 0·inf is NaN).
template <bool kDiagonal>
[[gnu::always_inline, gnu::target("avx2")]] inline __m256d quatro_colunas(const Scalar* const* a,
                                                                          int j, __m256d v,
                                                                          __m256d s) {
    const __m256d p0 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[0] + j)), v);
    const __m256d p1 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[1] + j)), v);
    const __m256d p2 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[2] + j)), v);
    const __m256d p3 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[3] + j)), v);
    const __m256d t0 = _mm256_unpacklo_pd(p0, p1);
    const __m256d t1 = _mm256_unpackhi_pd(p0, p1);
    const __m256d t2 = _mm256_unpacklo_pd(p2, p3);
    const __m256d t3 = _mm256_unpackhi_pd(p2, p3);
    const __m256d q0 = _mm256_permute2f128_pd(t0, t2, 0x20);
    const __m256d q1 = _mm256_permute2f128_pd(t1, t3, 0x20);
    const __m256d q2 = _mm256_permute2f128_pd(t0, t2, 0x31);
    const __m256d q3 = _mm256_permute2f128_pd(t1, t3, 0x31);
    if (kDiagonal) {
        s = _mm256_blend_pd(arredonda(_mm256_add_pd(q0, s)), s, 1);
        s = _mm256_blend_pd(arredonda(_mm256_add_pd(q1, s)), s, 2);
        s = _mm256_blend_pd(arredonda(_mm256_add_pd(q2, s)), s, 4);
        s = _mm256_blend_pd(arredonda(_mm256_add_pd(q3, s)), s, 8);
    } else {
        s = arredonda(_mm256_add_pd(q0, s));
        s = arredonda(_mm256_add_pd(q1, s));
        s = arredonda(_mm256_add_pd(q2, s));
        s = arredonda(_mm256_add_pd(q3, s));
    }
    return s;
}

}  // namespace linhas_simd

#endif
