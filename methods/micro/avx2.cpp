// The AVX2 micro-kernels (compiled with -mavx2 -mfma). Sums are held in double lanes but always
// carry a Scalar value: each new sum is rounded to a Scalar and widened back. The product of
// two Scalars is exact in double, so a multiply then an add rounds exactly as the statement.
#include <immintrin.h>

#include <algorithm>
#include <cassert>
#include <iterator>

#include "grupos.h"

namespace sislin {

namespace {

using nucleos::kMaxLinhas;
using nucleos::kMaxPassos;
using nucleos::kMultiploLargura;

[[gnu::always_inline]] inline __m256d arredonda(__m256d s) {
    return _mm256_cvtps_pd(_mm256_cvtpd_ps(s));
}

// ---- aplica_passos: R rows over four columns, each row's four running values in a register.
struct Blocos {
    template <int R, int C>
    static void bloco(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                      int k, int c) {
        static_assert(C == 4);
        __m128 v[static_cast<unsigned>(R)];
        for (int r = 0; r < R; ++r) v[r] = _mm_loadu_ps(L[r] + k);
        for (int t = 0; t < num_passos; ++t) {
            const __m256d u = _mm256_loadu_pd(U + t * ldu + c);
            for (int r = 0; r < R; ++r) {
                const __m256d mr = _mm256_broadcast_sd(m + r * kMaxPassos + t);
                v[r] = _mm256_cvtpd_ps(_mm256_add_pd(_mm256_mul_pd(u, mr), _mm256_cvtps_pd(v[r])));
            }
        }
        for (int r = 0; r < R; ++r) _mm_storeu_ps(L[r] + k, v[r]);
    }
};

// ---- somas_colunas: four columns to a vector.
struct Vetor {
    using Tipo = __m256d;
    static Tipo espalha(double x) { return _mm256_set1_pd(x); }
    static Tipo le(const double* p) { return _mm256_loadu_pd(p); }
    static Tipo passo(Tipo u, Tipo m, Tipo v) {
        return arredonda(_mm256_add_pd(_mm256_mul_pd(u, m), v));
    }
    static void grava(Scalar* p, Tipo v) { _mm_storeu_ps(p, _mm256_cvtpd_ps(v)); }
};

void somas_colunas(const Scalar* coef, const double* T, int ld, int j0, int j1, Scalar* s) {
    // Thirty-two columns at a time, then kMultiploLargura: ld must be a whole multiple.
    static_assert(kMultiploLargura == 16);
    assert(ld % kMultiploLargura == 0);
    int c = 0;
    for (; c + 32 <= ld; c += 32) nucleos::micro::colunas<Vetor, 8>(coef, T + c, ld, j0, j1, s + c);
    for (; c < ld; c += kMultiploLargura)
        nucleos::micro::colunas<Vetor, 4>(coef, T + c, ld, j0, j1, s + c);
}

// ---- somas_linhas: four rows side by side in the lanes of a vector. A block of four columns
// is taken as the four rows' products transposed, so that each lane still adds its row's terms
// one at a time in increasing column order.

// How far ahead along a row the next cache lines are fetched, in Scalars.
constexpr int kAdiante = 64;

// Columns j..j+3 for the rows a[0..3]; the lane of row k - diag (when 0..3) keeps its sum at
// column j + k, its own diagonal (a kept sum, not an added zero: -0 + 0 is +0, 0·inf is NaN).
template <bool kDiagonal>
[[gnu::always_inline]] inline __m256d quatro_colunas(const Scalar* const* a, int j, __m256d v,
                                                     __m256d s, int diag) {
    const __m256d p0 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[0] + j)), v);
    const __m256d p1 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[1] + j)), v);
    const __m256d p2 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[2] + j)), v);
    const __m256d p3 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(a[3] + j)), v);
    const __m256d t0 = _mm256_unpacklo_pd(p0, p1);
    const __m256d t1 = _mm256_unpackhi_pd(p0, p1);
    const __m256d t2 = _mm256_unpacklo_pd(p2, p3);
    const __m256d t3 = _mm256_unpackhi_pd(p2, p3);
    const __m256d q[4] = {
        _mm256_permute2f128_pd(t0, t2, 0x20), _mm256_permute2f128_pd(t1, t3, 0x20),
        _mm256_permute2f128_pd(t0, t2, 0x31), _mm256_permute2f128_pd(t1, t3, 0x31)};
    for (int k = 0; k < 4; ++k) {
        const __m256d novo = arredonda(_mm256_add_pd(q[k], s));
        if (kDiagonal && k - diag >= 0 && k - diag < 4) {
            alignas(32) static constexpr long long kLane[4][4] = {
                {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, -1}};
            s = _mm256_blendv_pd(novo, s,
                                 _mm256_load_pd(reinterpret_cast<const double*>(kLane[k - diag])));
        } else {
            s = novo;
        }
    }
    return s;
}

// Rows a[0..4G-1] (row r's diagonal at column pula + r when pula > 0) over the columns 1..n.
template <int G>
void grupos(const Scalar* const* a, const Scalar* v, int n, int pula, Scalar* s) {
    const int m = n - n % 4;
    __m256d acc[static_cast<unsigned>(G)];
    for (int g = 0; g < G; ++g) acc[g] = _mm256_setzero_pd();
    // Blocks of columns from j up to (not including) fim, with or without the rows' diagonals
    // (percorre_colunas).
    const auto blocos = [&]<bool kDiagonal>(int j, int fim) {
        for (; j < fim; j += 4) {
            const __m256d vj = _mm256_cvtps_pd(_mm_loadu_ps(v + j));
            // Each block of columns touches one of every four rows' next cache lines.
            for (int g = 0; g < G; ++g)
                _mm_prefetch(reinterpret_cast<const char*>(a[4 * g + (j / 4) % 4] + j + kAdiante),
                             _MM_HINT_T0);
            for (int g = 0; g < G; ++g) {
                const int diag = pula + 4 * g - j;  // row r's diagonal is column j + diag + r
                acc[g] = (kDiagonal && diag > -4 && diag < 4)
                             ? quatro_colunas<true>(a + 4 * g, j, vj, acc[g], diag)
                             : quatro_colunas<false>(a + 4 * g, j, vj, acc[g], 0);
            }
        }
        return j;
    };
    nucleos::micro::percorre_colunas<4>(pula, 4 * G, m + 1, blocos);
    for (int g = 0; g < G; ++g) {
        alignas(32) double t[4];
        _mm256_store_pd(t, acc[g]);
        for (int r = 0; r < 4; ++r) {
            Scalar x = static_cast<Scalar>(t[r]);
            for (int j = m + 1; j <= n; ++j)
                if (pula <= 0 || j != pula + 4 * g + r)
                    x = static_cast<Scalar>(static_cast<double>(a[4 * g + r][j]) *
                                                static_cast<double>(v[j]) +
                                            static_cast<double>(x));
            s[4 * g + r] = x;
        }
    }
}

}  // namespace

namespace nucleos {

const Micronucleos& micronucleos_avx2() {
    static const Micronucleos k = completa(
        {Isa::avx2, 12, 32,
         nucleos::micro::aplica_por_grupos<nucleos::micro::FaixaPorBlocos<Blocos, 4>, 12, 4, 1>,
         somas_colunas,
         nucleos::micro::somas_por_grupos<4, grupos<1>, grupos<2>, grupos<3>, grupos<4>, grupos<5>,
                                          grupos<6>, grupos<7>, grupos<8>>});
    return k;
}

}  // namespace nucleos

}  // namespace sislin
