// One sweep of the Jacobi and of the Gauss-Seidel method. Each returns the largest absolute
// change of an unknown: the change is measured unrounded in double and stored rounded only when
// it is strictly larger than the current one. A change that is not a number (a NaN unknown, or
// an infinite one that keeps its infinity) makes the whole sweep's change NaN, so that the
// iteration can never read a diverged sweep as converged.
#include <cmath>

#include "methods.h"

#include "linhas_simd.h"

namespace {

void atualiza_mudanca(Scalar& e, Scalar novo, Scalar antigo) {
    if (std::isnan(e)) return;  // the first NaN change stays the sweep's result
    const double d = std::fabs(static_cast<double>(novo) - static_cast<double>(antigo));
    if (d > static_cast<double>(e) || std::isnan(d)) e = static_cast<Scalar>(d);
}

// Row i's sum continued over the columns j0..n, its diagonal skipped, then its new unknown.
void termina_linha(int n, Matrix A, Vector b, Vector x, const Scalar* antigo, int i, int j0,
                   Scalar sum, Scalar& e) {
    const Scalar* a = A[i];
    for (int j = j0; j <= n; ++j) {
        if (j == i) continue;
        sum = static_cast<Scalar>(static_cast<double>(a[j]) * static_cast<double>(antigo[j]) +
                                  static_cast<double>(sum));
    }
    x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(sum)) /
                               static_cast<double>(a[i]));
    atualiza_mudanca(e, x[i], antigo[i]);
}

#if defined(SISLIN_AVX2)
using namespace linhas_simd;

// Sums of the 4·G rows i0.. over the columns 1..m (m a multiple of 4, i0 one more than a
// multiple of 4, so that the rows' diagonals fill G whole blocks of columns), into s.
template <int G>
[[gnu::target("avx2")]] void somas_linhas(Matrix A, const Scalar* v, int i0, int m, Scalar* s) {
    const Scalar* a[static_cast<unsigned>(4 * G)];
    for (int r = 0; r < 4 * G; ++r) a[r] = A[i0 + r];
    __m256d acc[static_cast<unsigned>(G)];
    for (int g = 0; g < G; ++g) acc[g] = _mm256_setzero_pd();
    int j = 1;
    for (; j < i0; j += 4) {
        const __m256d vj = _mm256_cvtps_pd(_mm_loadu_ps(v + j));
        for (int g = 0; g < G; ++g) _mm_prefetch(a[4 * g + (j / 4) % 4] + j + kAdiante, _MM_HINT_T0);
        for (int g = 0; g < G; ++g) acc[g] = quatro_colunas<false>(a + 4 * g, j, vj, acc[g]);
    }
    for (int k = 0; k < G; ++k, j += 4) {
        const __m256d vj = _mm256_cvtps_pd(_mm_loadu_ps(v + j));
        for (int g = 0; g < G; ++g)
            acc[g] = g == k ? quatro_colunas<true>(a + 4 * g, j, vj, acc[g])
                            : quatro_colunas<false>(a + 4 * g, j, vj, acc[g]);
    }
    for (; j <= m; j += 4) {
        const __m256d vj = _mm256_cvtps_pd(_mm_loadu_ps(v + j));
        // Each block of columns touches one of every four rows' next cache lines.
        for (int g = 0; g < G; ++g) _mm_prefetch(a[4 * g + (j / 4) % 4] + j + kAdiante, _MM_HINT_T0);
        for (int g = 0; g < G; ++g) acc[g] = quatro_colunas<false>(a + 4 * g, j, vj, acc[g]);
    }
    for (int g = 0; g < G; ++g) _mm_storeu_ps(s + 4 * g, _mm256_cvtpd_ps(acc[g]));
}

// Rows i0..i0+4·G-1 of the sweep.
template <int G>
[[gnu::target("avx2")]] void bloco(int n, Matrix A, Vector b, Vector x, const Scalar* antigo,
                                   int i0, Scalar& e) {
    const int m = n - n % 4;
    Scalar s[static_cast<unsigned>(4 * G)];
    somas_linhas<G>(A, antigo, i0, m, s);
    for (int r = 0; r < 4 * G; ++r) termina_linha(n, A, b, x, antigo, i0 + r, m + 1, s[r], e);
}
#endif

}  // namespace

Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    // Every unknown of the sweep is computed from the values before it, so rows are
    // independent and may be computed side by side; each sum skips its own diagonal column.
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    int i = 1;
#if defined(SISLIN_AVX2)
    if (__builtin_cpu_supports("avx2")) {
        for (; i + 31 <= n; i += 32) bloco<8>(n, A, b, x, antigo, i, e);
        switch ((n - i + 1) / 4) {
            case 7: bloco<7>(n, A, b, x, antigo, i, e); break;
            case 6: bloco<6>(n, A, b, x, antigo, i, e); break;
            case 5: bloco<5>(n, A, b, x, antigo, i, e); break;
            case 4: bloco<4>(n, A, b, x, antigo, i, e); break;
            case 3: bloco<3>(n, A, b, x, antigo, i, e); break;
            case 2: bloco<2>(n, A, b, x, antigo, i, e); break;
            case 1: bloco<1>(n, A, b, x, antigo, i, e); break;
            default: break;
        }
        i += (n - i + 1) / 4 * 4;
    }
#endif
    for (; i <= n; ++i) termina_linha(n, A, b, x, antigo, i, 1, 0.0f, e);
    libera_vetor(antigo);
    return e;
}

Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    // Unknowns before i already hold this sweep's values, those after i the previous ones.
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        const Scalar antigo = x[i];
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j) {
            if (j == i) continue;
            sum = static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        }
        x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(A[i][i]));
        atualiza_mudanca(e, x[i], antigo);
    }
    return e;
}
