// The AVX-512 micro-kernels (compiled with -mavx512f -mavx512vl). Sums and running values are
// held in double lanes but always carry a Scalar value: each new one is rounded to a Scalar and
// widened back. The product of two Scalars is exact in double, so a multiply then an add, or a
// fused multiply-add in double, rounds exactly as the statement. Round trip, add and convert
// make a chain of about 20 cycles per term, so each kernel keeps 16 to 24 sums in flight. Row
// ends are masked: every row is a separate block of n + 1 Scalars.
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

// The conversions with every lane selected (the unmasked forms trip a maybe-uninitialized
// warning of GCC 12 in their own header).
[[gnu::always_inline]] inline __m512d larga(__m256 x) {
    return _mm512_maskz_cvtps_pd(__mmask8{0xff}, x);
}
[[gnu::always_inline]] inline __m256 estreita(__m512d x) {
    return _mm512_maskz_cvtpd_ps(__mmask8{0xff}, x);
}
[[gnu::always_inline]] inline __m512d arredonda(__m512d s) {
    return larga(estreita(s));
}

__mmask8 mascara(int quantos) {
    return quantos >= 8 ? __mmask8{0xff} : static_cast<__mmask8>((1u << std::max(quantos, 0)) - 1u);
}

// ---- aplica_passos: R rows over 8·V columns at a time, V vectors of running values per row. Few
// rows (the pass's own pivot rows, the last rows) take wider chunks, to keep enough sums in flight.
template <int R, int V>
void faixa(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L, int k0,
           int w) {
    // The last chunk reads up to 8·V - 1 columns of U past w.
    static_assert(8 * V <= nucleos::kSobraFaixa);
    for (int c = 0; c < w; c += 8 * V) {
        __mmask8 mk[static_cast<unsigned>(V)];
        __m512d v[static_cast<unsigned>(R)][static_cast<unsigned>(V)];
        for (int q = 0; q < V; ++q) mk[q] = mascara(w - c - 8 * q);
        for (int r = 0; r < R; ++r)
            for (int q = 0; q < V; ++q)
                v[r][q] = larga(_mm256_maskz_loadu_ps(mk[q], L[r] + k0 + c + 8 * q));
        for (int t = 0; t < num_passos; ++t) {
            // The strip's pivot rows were widened once for the pass; lanes past w are padding.
            __m512d u[static_cast<unsigned>(V)];
            for (int q = 0; q < V; ++q) u[q] = _mm512_loadu_pd(U + t * ldu + c + 8 * q);
            for (int r = 0; r < R; ++r) {
                const __m512d mr = _mm512_set1_pd(m[r * kMaxPassos + t]);
                for (int q = 0; q < V; ++q) v[r][q] = arredonda(_mm512_fmadd_pd(u[q], mr, v[r][q]));
            }
        }
        for (int r = 0; r < R; ++r)
            for (int q = 0; q < V; ++q)
                _mm256_mask_storeu_ps(L[r] + k0 + c + 8 * q, mk[q], estreita(v[r][q]));
    }
}

using Faixa = void (*)(const double*, int, int, const double*, Scalar* const*, int, int);
constexpr int kLinhas = 12;
constexpr Faixa kFaixas[kLinhas + 1] = {
    nullptr,     faixa<1, 8>, faixa<2, 8>, faixa<3, 6>,  faixa<4, 4>,  faixa<5, 4>, faixa<6, 4>,
    faixa<7, 2>, faixa<8, 2>, faixa<9, 2>, faixa<10, 2>, faixa<11, 2>, faixa<12, 2>};

void aplica_passos(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                   int linhas, int k0, int w) {
    assert(num_passos >= 0 && num_passos <= kMaxPassos);
    for (int r = 0; r < linhas; r += kLinhas) {
        const int q = std::min(kLinhas, linhas - r);
        kFaixas[q](U, ldu, num_passos, m + r * kMaxPassos, L + r, k0, w);
    }
}

// ---- somas_colunas: eight columns to a vector.
struct Vetor {
    using Tipo = __m512d;
    static Tipo espalha(double x) { return _mm512_set1_pd(x); }
    static Tipo le(const double* p) { return _mm512_loadu_pd(p); }
    static Tipo passo(Tipo u, Tipo m, Tipo v) { return arredonda(_mm512_fmadd_pd(u, m, v)); }
    static void grava(Scalar* p, Tipo v) { _mm256_storeu_ps(p, estreita(v)); }
};

using Colunas = void (*)(const Scalar*, const double*, int, int, int, Scalar*);
constexpr Colunas kColunas[] = {nullptr,
                                nucleos::micro::colunas<Vetor, 2>,
                                nucleos::micro::colunas<Vetor, 4>,
                                nucleos::micro::colunas<Vetor, 6>,
                                nucleos::micro::colunas<Vetor, 8>,
                                nucleos::micro::colunas<Vetor, 10>,
                                nucleos::micro::colunas<Vetor, 12>,
                                nucleos::micro::colunas<Vetor, 14>,
                                nucleos::micro::colunas<Vetor, 16>};

// At most 128 columns (16 sums) at a time; kColunas[q] takes q·kMultiploLargura of them, so ld
// must be a whole multiple.
void somas_colunas(const Scalar* coef, const double* T, int ld, int j0, int j1, Scalar* s) {
    static_assert(kMultiploLargura == 16);
    assert(ld % kMultiploLargura == 0);
    for (int c = 0; c < ld; c += 128)
        kColunas[std::min(128, ld - c) / kMultiploLargura](coef, T + c, ld, j0, j1, s + c);
}

// ---- somas_linhas: eight rows side by side in the lanes of a vector. A block of eight columns
// of the eight rows is transposed, so that each lane still adds its row's terms one at a time
// in increasing column order.

constexpr int kAdiante = 64;  // how far ahead along a row cache lines are fetched, in Scalars

// The 8x8 block of rows a[0..7], columns j..j+7 (the first `quantas` only), as columns.
[[gnu::always_inline]] inline void transpoe(const Scalar* const* a, int j, __mmask8 mk,
                                            __m256 c[8]) {
    __m256 r[8];
    for (int k = 0; k < 8; ++k) r[k] = _mm256_maskz_loadu_ps(mk, a[k] + j);
    const __m256 t0 = _mm256_unpacklo_ps(r[0], r[1]);
    const __m256 t1 = _mm256_unpackhi_ps(r[0], r[1]);
    const __m256 t2 = _mm256_unpacklo_ps(r[2], r[3]);
    const __m256 t3 = _mm256_unpackhi_ps(r[2], r[3]);
    const __m256 t4 = _mm256_unpacklo_ps(r[4], r[5]);
    const __m256 t5 = _mm256_unpackhi_ps(r[4], r[5]);
    const __m256 t6 = _mm256_unpacklo_ps(r[6], r[7]);
    const __m256 t7 = _mm256_unpackhi_ps(r[6], r[7]);
    const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44);
    const __m256 u1 = _mm256_shuffle_ps(t0, t2, 0xee);
    const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44);
    const __m256 u3 = _mm256_shuffle_ps(t1, t3, 0xee);
    const __m256 u4 = _mm256_shuffle_ps(t4, t6, 0x44);
    const __m256 u5 = _mm256_shuffle_ps(t4, t6, 0xee);
    const __m256 u6 = _mm256_shuffle_ps(t5, t7, 0x44);
    const __m256 u7 = _mm256_shuffle_ps(t5, t7, 0xee);
    c[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
    c[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
    c[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
    c[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
    c[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
    c[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
    c[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
    c[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
}

// Rows a[0..8G-1] (row r's diagonal at column pula + r when pula > 0) over the columns 1..n.
template <int G>
void grupos(const Scalar* const* a, const Scalar* v, int n, int pula, Scalar* s) {
    __m512d acc[static_cast<unsigned>(G)];
    for (int g = 0; g < G; ++g) acc[g] = _mm512_setzero_pd();
    // Blocks of columns from j up to (not including) fim, with or without the rows' diagonals
    // (percorre_colunas).
    const auto blocos = [&]<bool kDiagonal>(int j, int fim) {
        for (; j < fim; j += 8) {
            const int quantas = std::min(8, n - j + 1);
            const __mmask8 mk = mascara(quantas);
            __m512d vj[8];
            for (int q = 0; q < quantas; ++q) vj[q] = _mm512_set1_pd(static_cast<double>(v[j + q]));
            // Each block of columns touches one of every two rows' next cache lines.
            for (int g = 0; g < 8 * G; g += 2)
                _mm_prefetch(reinterpret_cast<const char*>(a[g + (j / 8) % 2] + j + kAdiante),
                             _MM_HINT_T0);
            for (int g = 0; g < G; ++g) {
                __m256 c[8];
                transpoe(a + 8 * g, j, mk, c);
                const int diag = pula + 8 * g - j;  // row r's diagonal is column j + diag + r
                if (kDiagonal && diag > -8 && diag < 8) {
                    for (int q = 0; q < quantas; ++q) {
                        // Lane q - diag keeps its sum: a skipped term, not an added zero.
                        const int r = q - diag;
                        const __mmask8 novos =
                            (r >= 0 && r < 8) ? static_cast<__mmask8>(~(1u << r)) : __mmask8{0xff};
                        acc[g] = _mm512_mask_mov_pd(
                            acc[g], novos, arredonda(_mm512_fmadd_pd(larga(c[q]), vj[q], acc[g])));
                    }
                } else {
                    for (int q = 0; q < quantas; ++q)
                        acc[g] = arredonda(_mm512_fmadd_pd(larga(c[q]), vj[q], acc[g]));
                }
            }
        }
        return j;
    };
    nucleos::micro::percorre_colunas<8>(pula, 8 * G, n + 1, blocos);
    for (int g = 0; g < G; ++g) _mm256_storeu_ps(s + 8 * g, estreita(acc[g]));
}

}  // namespace

namespace nucleos {

const Micronucleos& micronucleos_avx512() {
    static const Micronucleos k =
        completa({Isa::avx512, kLinhas, 128, aplica_passos, somas_colunas,
                  nucleos::micro::somas_por_grupos<8, grupos<1>, grupos<2>, grupos<3>, grupos<4>>});
    return k;
}

}  // namespace nucleos

}  // namespace sislin
