// Gaussian elimination to upper-triangular form, in place on A and b. Entries below the
// diagonal are never written: they keep whatever they held, only the upper triangle (diagonal
// included) carries the result. No pivot is checked; a zero pivot yields infinities or NaNs.
#include <bit>
#include <cmath>
#include <cstdint>

#include "methods.h"

namespace {

#define SISLIN_CLONES __attribute__((target_clones("avx2", "default")))

// a·m + v rounded once. Where two NaNs meet, the straightforward update a·m + v yields the
// first operand's: a's in the product, the product's in the sum. Vector code does not promise
// an operand order, so this is spelled out: with m not NaN, the product has at most one NaN
// operand, and a NaN product is the result; a NaN m (handled by nan_do_produto) gives a's NaN
// where a is NaN and m's elsewhere.
// Both candidates are computed before the choice, which is made on the bits, so that the loops
// stay free of branches and vectorise.
[[gnu::always_inline]] inline Scalar escolhe(bool c, Scalar a, Scalar b) {
    const std::uint32_t mascara = 0u - static_cast<std::uint32_t>(c);
    return std::bit_cast<Scalar>((std::bit_cast<std::uint32_t>(a) & mascara) |
                                 (std::bit_cast<std::uint32_t>(b) & ~mascara));
}
[[gnu::always_inline]] inline Scalar soma_produto(Scalar a, double m, Scalar v) {
    const double p = static_cast<double>(a) * m;
    const Scalar soma = static_cast<Scalar>(p + static_cast<double>(v));
    return escolhe(p != p, static_cast<Scalar>(p), soma);
}
[[gnu::always_inline]] inline Scalar nan_do_produto(Scalar a, double m) {
    const double ad = static_cast<double>(a);
    return escolhe(ad != ad, static_cast<Scalar>(ad), static_cast<Scalar>(m));
}

// Step i applied to row j > i: the multiplier from the current A[j][i], then the update of the
// row over columns i+1..n and of b[j].
[[gnu::always_inline]] inline void passo(int n, Matrix A, Vector b, int i, int j) {
    const Scalar m =
        static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
    const double md = static_cast<double>(m);
    const Scalar* __restrict pi = A[i];
    Scalar* __restrict pj = A[j];
    if (md != md) {
        for (int k = i + 1; k <= n; ++k) pj[k] = nan_do_produto(pi[k], md);
    } else {
        for (int k = i + 1; k <= n; ++k) pj[k] = soma_produto(pi[k], md, pj[k]);
    }
    b[j] = md != md ? nan_do_produto(b[i], md) : soma_produto(b[i], md, b[j]);
}

// Eliminates column i below the pivot row i.
[[gnu::always_inline]] inline void elimina_coluna(int n, Matrix A, Vector b, int i) {
    for (int j = i + 1; j <= n; ++j) passo(n, A, b, i, j);
}

constexpr int kPassos = 16;  // pivot steps applied to a row while it is in cache

}  // namespace

// Every entry receives the updates of the pivot steps in increasing order, each from its pivot
// row once that row is final, so the steps can be grouped: for a group of consecutive steps,
// each row below takes the whole group's chain in one go (rows in increasing order, so a pivot
// row of the group is complete before the rows below it use it).
SISLIN_CLONES void Eliminacao(int n, Matrix A, Vector b) {
    for (int i0 = 1; i0 <= n - 1; i0 += kPassos) {
        const int i1 = i0 + kPassos - 1 < n - 1 ? i0 + kPassos - 1 : n - 1;
        for (int j = i0 + 1; j <= n; ++j) {
            const int ultimo = j - 1 < i1 ? j - 1 : i1;
            for (int i = i0; i <= ultimo; ++i) passo(n, A, b, i, j);
        }
    }
}

SISLIN_CLONES void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
    for (int i = 1; i <= n - 1; ++i) {
        // Pivot search: the first row with the strictly largest magnitude wins; row i keeps the
        // pivot on ties, and a NaN never wins.
        Scalar best = std::fabs(A[i][i]);
        int p = i;
        for (int j = i; j <= n; ++j) {
            if (std::fabs(A[j][i]) > best) {
                best = std::fabs(A[j][i]);
                p = j;
            }
        }
        // Exchange rows i and p over columns i..n only (columns 1..i-1 stay), and b[i], b[p];
        // done even when p == i.
        for (int k = i; k <= n; ++k) {
            const Scalar t = A[i][k];
            A[i][k] = A[p][k];
            A[p][k] = t;
        }
        const Scalar t = b[i];
        b[i] = b[p];
        b[p] = t;
        elimina_coluna(n, A, b, i);
    }
}
