// Residual r = b - A·x and its largest absolute entry.
#include <cmath>

#include "methods.h"

#include "linhas_simd.h"

namespace {

// Row i's sum continued over the columns j0..n, then its residual.
void termina_linha(int n, Vector b, Matrix A, const Scalar* x, Vector r, int i, int j0,
                   Scalar sum) {
    const Scalar* a = A[i];
    for (int j = j0; j <= n; ++j)
        sum = static_cast<Scalar>(static_cast<double>(a[j]) * static_cast<double>(x[j]) +
                                  static_cast<double>(sum));
    r[i] = static_cast<Scalar>(static_cast<double>(b[i]) - static_cast<double>(sum));
}

#if defined(SISLIN_AVX2)
using namespace linhas_simd;

// Residuals of the 4·G rows i0..: sums over the columns 1..m in blocks of four (m the largest
// multiple of 4 up to n), then the last columns one by one.
template <int G>
[[gnu::target("avx2")]] void bloco(int n, Vector b, Matrix A, const Scalar* x, Vector r, int i0) {
    const int m = n - n % 4;
    const Scalar* a[static_cast<unsigned>(4 * G)];
    for (int k = 0; k < 4 * G; ++k) a[k] = A[i0 + k];
    __m256d acc[static_cast<unsigned>(G)];
    for (int g = 0; g < G; ++g) acc[g] = _mm256_setzero_pd();
    for (int j = 1; j <= m; j += 4) {
        const __m256d xj = _mm256_cvtps_pd(_mm_loadu_ps(x + j));
        // Each block of columns touches one of every four rows' next cache lines.
        for (int g = 0; g < G; ++g)
            _mm_prefetch(a[4 * g + (j / 4) % 4] + j + kAdiante, _MM_HINT_T0);
        for (int g = 0; g < G; ++g) acc[g] = quatro_colunas<false>(a + 4 * g, j, xj, acc[g]);
    }
    Scalar s[static_cast<unsigned>(4 * G)];
    for (int g = 0; g < G; ++g) _mm_storeu_ps(s + 4 * g, _mm256_cvtpd_ps(acc[g]));
    for (int k = 0; k < 4 * G; ++k) termina_linha(n, b, A, x, r, i0 + k, m + 1, s[k]);
}
#endif

}  // namespace

void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    int i = 1;
#if defined(SISLIN_AVX2)
    if (__builtin_cpu_supports("avx2")) {
        for (; i + 31 <= n; i += 32) bloco<8>(n, b, A, x, r, i);
        switch ((n - i + 1) / 4) {
            case 7: bloco<7>(n, b, A, x, r, i); break;
            case 6: bloco<6>(n, b, A, x, r, i); break;
            case 5: bloco<5>(n, b, A, x, r, i); break;
            case 4: bloco<4>(n, b, A, x, r, i); break;
            case 3: bloco<3>(n, b, A, x, r, i); break;
            case 2: bloco<2>(n, b, A, x, r, i); break;
            case 1: bloco<1>(n, b, A, x, r, i); break;
            default: break;
        }
        i += (n - i + 1) / 4 * 4;
    }
#endif
    for (; i <= n; ++i) termina_linha(n, b, A, x, r, i, 1, 0.0f);
}

Scalar CalculaErro(int n, Vector r) {
    Scalar e = 0.0f;
    // Strict comparison; a residual holding a NaN has no error to speak of, and says so.
    for (int i = 1; i <= n; ++i) {
        const Scalar a = std::fabs(r[i]);
        if (std::isnan(a)) return a;
        if (a > e) e = a;
    }
    return e;
}
