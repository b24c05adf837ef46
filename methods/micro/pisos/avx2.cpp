// The AVX2 set's floor (compiled with -mavx2 -mfma): its update's instructions alone, on 12
// chains of four lanes.
#include <immintrin.h>

#include "cadeias.h"

namespace sislin::bancada {

double piso_avx2(long atualizacoes) {
    const auto passo = [](__m256d u, __m256d m, __m256d x) {
        return _mm256_cvtps_pd(_mm256_cvtpd_ps(_mm256_fmadd_pd(u, m, x)));
    };
    const auto soma = [](__m256d x) {
        alignas(32) double l[4];
        _mm256_store_pd(l, x);
        return l[0] + l[1] + l[2] + l[3];
    };
    return cadeias<12>(
        atualizacoes, [](double x) { return _mm256_set1_pd(x); }, passo, soma);
}

}  // namespace sislin::bancada
