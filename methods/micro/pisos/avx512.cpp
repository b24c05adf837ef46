// The AVX-512 set's floor (compiled with -mavx512f -mavx512vl): its update's three instructions
// alone, on 24 chains of eight lanes. The conversions with every lane selected, as the set's
// kernels write them.
#include <immintrin.h>

#include "cadeias.h"

namespace sislin::bancada {

double piso_avx512(long atualizacoes) {
    constexpr __mmask8 kTodas{0xff};
    return cadeias<24>(
        atualizacoes, [](double x) { return _mm512_set1_pd(x); },
        [](__m512d u, __m512d m, __m512d x) {
            return _mm512_maskz_cvtps_pd(kTodas,
                                         _mm512_maskz_cvtpd_ps(kTodas, _mm512_fmadd_pd(u, m, x)));
        },
        [](__m512d x) {
            double l[8];
            _mm512_storeu_pd(l, x);
            double s = 0;
            for (const double d : l) s += d;
            return s;
        });
}

}  // namespace sislin::bancada
