// Gaussian elimination to upper-triangular form, in place on A and b. Entries below the
// diagonal are never written: they keep whatever they held, only the upper triangle (diagonal
// included) carries the result. No pivot is checked; a zero pivot yields infinities or NaNs.
//
// The steps are taken in blocks of up to kPassos columns. Within a block the panel (the block's
// own columns, and b) gets each step at once, so the pivot search and the multipliers see
// column i up to date; the columns to the right then receive the whole block of steps in one
// pass, each entry kept in a register across the block. Every entry still gets its steps in
// increasing order, from the same pivot-row value and the same rounded multiplier, so the
// result is the one-step-at-a-time result bit for bit.
#include <immintrin.h>

#include <cmath>

#include "methods.h"
#include "passos_bloco.h"

namespace passos_bloco {

namespace {

constexpr int kMaxPassos = 32;  // steps applied per pass
constexpr int kLinhas = 12;     // rows updated together
constexpr int kFaixa = 256;     // columns of the pivot rows kept in cache

// Steps 0..passos-1 on R rows over kC columns from k, each entry kept in a register. The
// running values are floats: each step is evaluated in double and rounded once. (A version that
// held them as doubles lost the rounding between steps in some shapes; keep them as floats.)
template <int R, int kC>
__attribute__((noinline)) void bloco(const Scalar* const* U, int passos, const double* m,
                                     Scalar* const* L, int k) {
    Scalar v[static_cast<unsigned>(R)][static_cast<unsigned>(kC)];
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < kC; ++c) v[r][c] = L[r][k + c];
    for (int t = 0; t < passos; ++t) {
        double u[static_cast<unsigned>(kC)];
        for (int c = 0; c < kC; ++c) u[c] = static_cast<double>(U[t][k + c]);
        for (int r = 0; r < R; ++r) {
            const double mr = m[r * kMaxPassos + t];
            for (int c = 0; c < kC; ++c)
                v[r][c] = static_cast<Scalar>(u[c] * mr + static_cast<double>(v[r][c]));
        }
    }
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < kC; ++c) L[r][k + c] = v[r][c];
}

// bloco<kLinhas, 4> written out for AVX: each row's four running values stay in one register,
// widened, multiplied, added and rounded back four columns at a time, every step in order.
__attribute__((target("avx2"))) void bloco_avx2(const Scalar* const* U, int passos,
                                                const double* m, Scalar* const* L, int k) {
    __m128 v[kLinhas];
    for (int r = 0; r < kLinhas; ++r) v[r] = _mm_loadu_ps(L[r] + k);
    for (int t = 0; t < passos; ++t) {
        const __m256d u = _mm256_cvtps_pd(_mm_loadu_ps(U[t] + k));
        for (int r = 0; r < kLinhas; ++r) {
            const __m256d mr = _mm256_broadcast_sd(m + r * kMaxPassos + t);
            v[r] = _mm256_cvtpd_ps(_mm256_add_pd(_mm256_mul_pd(u, mr), _mm256_cvtps_pd(v[r])));
        }
    }
    for (int r = 0; r < kLinhas; ++r) _mm_storeu_ps(L[r] + k, v[r]);
}

// The same over columns k0..k1 of rows j..j+R-1.
template <int R>
void faixa(const Scalar* const* U, int passos, const double* m, Matrix A, int j, int k0, int k1) {
    Scalar* L[static_cast<unsigned>(R)];
    for (int r = 0; r < R; ++r) L[r] = A[j + r];
    int k = k0;
    if constexpr (R == kLinhas)
        if (__builtin_cpu_supports("avx2"))
            for (; k + 3 <= k1; k += 4) bloco_avx2(U, passos, m, L, k);
    for (; k + 3 <= k1; k += 4) bloco<R, 4>(U, passos, m, L, k);
    for (; k <= k1; ++k) bloco<R, 1>(U, passos, m, L, k);
}

template <int R>
[[gnu::always_inline]] inline void linhas(const Scalar* const* U, int i0, int passos,
                                          Multiplicadores f, const void* dados, Matrix A, int j,
                                          int k0, int k1) {
    double m[static_cast<unsigned>(R * kMaxPassos)];
    for (int r = 0; r < R; ++r) f(dados, j + r, i0, passos, m + r * kMaxPassos);
    faixa<R>(U, passos, m, A, j, k0, k1);
}

// One pass of at most kMaxPassos steps. Column strip by column strip, the block's own pivot
// rows come first (row i0+d takes steps i0..i0+d-1, so each is final before the next uses it),
// then every row below takes all the steps.
void passada(int n, Matrix A, int i0, int i1, Multiplicadores f, const void* dados) {
    const int passos = i1 - i0 + 1;
    const Scalar* U[kMaxPassos];
    for (int t = 0; t < passos; ++t) U[t] = A[i0 + t];
    for (int k0 = i1 + 1; k0 <= n; k0 += kFaixa) {
        const int k1 = k0 + kFaixa - 1 < n ? k0 + kFaixa - 1 : n;
        for (int d = 1; d < passos; ++d) linhas<1>(U, i0, d, f, dados, A, i0 + d, k0, k1);
        int j = i1 + 1;
        for (; j + kLinhas - 1 <= n; j += kLinhas)
            linhas<kLinhas>(U, i0, passos, f, dados, A, j, k0, k1);
        for (; j <= n; ++j) linhas<1>(U, i0, passos, f, dados, A, j, k0, k1);
    }
}

}  // namespace

void atualiza_resto(int n, Matrix A, int i0, int i1, Multiplicadores f, const void* dados) {
    for (int c0 = i0; c0 <= i1; c0 += kMaxPassos)
        passada(n, A, c0, c0 + kMaxPassos - 1 < i1 ? c0 + kMaxPassos - 1 : i1, f, dados);
}

}  // namespace passos_bloco

namespace {

constexpr int kPassos = 32;  // steps per block

// m = -A[j][i] / A[i][i], rounded: the multiplier of step i for row j.
Scalar multiplicador(Matrix A, int j, int i) {
    return static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
}

// Pivot search: the first row with the strictly largest magnitude wins; row i keeps the pivot
// on ties, and a NaN never wins.
int pivo(int n, Matrix A, int i) {
    Scalar best = std::fabs(A[i][i]);
    int p = i;
    for (int j = i; j <= n; ++j) {
        if (std::fabs(A[j][i]) > best) {
            best = std::fabs(A[j][i]);
            p = j;
        }
    }
    return p;
}

// The multipliers are not kept in A, but column i of row j is never written after step i, so a
// row that has not moved during the block finds its multipliers again from its own stale
// entries. Rows that were exchanged carry theirs here instead, keyed by their current position
// (at most two new positions per step).
struct Trocadas {
    int quantas = 0;
    int linha[2 * kPassos];
    Scalar m[2 * kPassos][kPassos];

    int procura(int j) const {
        for (int e = 0; e < quantas; ++e)
            if (linha[e] == j) return e;
        return -1;
    }
    // Entry of position j, created with the multipliers of steps i0..i-1 it has had so far.
    int entrada(Matrix A, int i0, int i, int j) {
        int e = procura(j);
        if (e >= 0) return e;
        e = quantas++;
        linha[e] = j;
        for (int t = i0; t < i; ++t) m[e][t - i0] = multiplicador(A, j, t);
        return e;
    }
    // Rows i and p exchanged at step i: their pending multipliers go with them.
    void troca(Matrix A, int i0, int i, int p) {
        const int a = entrada(A, i0, i, i), b = entrada(A, i0, i, p);
        for (int t = 0; t < i - i0; ++t) {
            const Scalar x = m[a][t];
            m[a][t] = m[b][t];
            m[b][t] = x;
        }
    }
    // Step i's multipliers of the carried rows below the pivot row.
    void anota(Matrix A, int i0, int i) {
        for (int e = 0; e < quantas; ++e)
            if (linha[e] > i) m[e][i - i0] = multiplicador(A, linha[e], i);
    }
};

struct Bloco {
    Matrix A;
    int i0;
    const Trocadas* trocadas;
};

void multiplicadores(const void* dados, int j, int i0, int passos, double* m) {
    const Bloco& b = *static_cast<const Bloco*>(dados);
    const int e = b.trocadas->procura(j);
    for (int t = 0; t < passos; ++t)
        m[t] = static_cast<double>(e >= 0 ? b.trocadas->m[e][i0 + t - b.i0]
                                          : multiplicador(b.A, j, i0 + t));
}

// Step i on the panel: rows below i over columns i+1..i1, and b.
void elimina_painel(int n, Matrix A, Vector b, int i, int i1) {
    for (int j = i + 1; j <= n; ++j) {
        const double m = static_cast<double>(multiplicador(A, j, i));
        for (int k = i + 1; k <= i1; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * m +
                                          static_cast<double>(A[j][k]));
        b[j] = static_cast<Scalar>(static_cast<double>(b[i]) * m + static_cast<double>(b[j]));
    }
}

// Exchange rows i and p over columns i..n only (columns 1..i-1 stay), and b[i], b[p]; done even
// when p == i.
void troca_linhas(int n, Matrix A, Vector b, int i, int p) {
    for (int k = i; k <= n; ++k) {
        const Scalar t = A[i][k];
        A[i][k] = A[p][k];
        A[p][k] = t;
    }
    const Scalar t = b[i];
    b[i] = b[p];
    b[p] = t;
}

template <bool kPivoteia>
void elimina(int n, Matrix A, Vector b) {
    for (int i0 = 1; i0 <= n - 1; i0 += kPassos) {
        const int i1 = i0 + kPassos - 1 < n - 1 ? i0 + kPassos - 1 : n - 1;
        Trocadas trocadas;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = pivo(n, A, i);
                troca_linhas(n, A, b, i, p);
                if (p != i) trocadas.troca(A, i0, i, p);
            }
            elimina_painel(n, A, b, i, i1);
            trocadas.anota(A, i0, i);
        }
        const Bloco bloco{A, i0, &trocadas};
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, &bloco);
    }
}

}  // namespace

void Eliminacao(int n, Matrix A, Vector b) {
    elimina<false>(n, A, b);
}

void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
    elimina<true>(n, A, b);
}
