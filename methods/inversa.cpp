// Inverse from the factors held in A: column i solves L·y = e_i, then U·x = y.
//
// All n right-hand sides are solved together, a tile of adjacent columns at a time, with Inv
// itself as the work array. Each column keeps its own sums, taking their terms in increasing
// column order of the factor exactly as a one-column substitution does, so every column comes
// out with the same bits; the columns of a tile are merely computed side by side. No term is
// skipped, not even the zeros of the unit vectors (0·inf must still give NaN).
#include <algorithm>
#include <bit>
#include <cstdint>

#include "methods.h"

namespace {

constexpr int kLargura = 32;  // columns per tile

// When both operands of a product or a sum are NaN, the one-column substitutions keep the running
// sum's NaN; for the product, the backward one keeps the coefficient's NaN and the forward one
// the unknown's. The vector code does not promise an operand order, so this is spelled out: a
// NaN sum stays what it is, and the winning NaN of a product is taken first.
// Both candidates are computed before the choice, which is made on the bits, so that the
// loops stay free of branches and vectorise.
[[gnu::always_inline]] inline Scalar escolhe(bool c, Scalar a, Scalar b) {
    const std::uint32_t m = 0u - static_cast<std::uint32_t>(c);
    return std::bit_cast<Scalar>((std::bit_cast<std::uint32_t>(a) & m) |
                                 (std::bit_cast<std::uint32_t>(b) & ~m));
}
[[gnu::always_inline]] inline Scalar mais(Scalar novo, Scalar antigo) {
    return escolhe(antigo != antigo, antigo, novo);
}

// s[c] += coef[j]·X[j][c0 + c] for j = j0..j1 in increasing order, each new sum rounded.
template <int W, bool kIncognitaVence>
[[gnu::always_inline]] inline void acumula(Scalar* s, const Scalar* coef, Matrix X, int j0, int j1,
                                           int c0) {
    Scalar t[static_cast<unsigned>(W)];
    for (int c = 0; c < W; ++c) t[c] = s[c];
    for (int j = j0; j <= j1; ++j) {
        const double l = static_cast<double>(coef[j]);
        const Scalar* xj = X[j] + c0;
        if (kIncognitaVence) {
            for (int c = 0; c < W; ++c) {
                const double xc = static_cast<double>(xj[c]);
                const Scalar soma = static_cast<Scalar>(l * xc + static_cast<double>(t[c]));
                const Scalar novo = escolhe(xj[c] != xj[c], static_cast<Scalar>(xc), soma);
                t[c] = mais(novo, t[c]);
            }
        } else if (l != l) {
            for (int c = 0; c < W; ++c) t[c] = mais(static_cast<Scalar>(l), t[c]);
        } else {
            for (int c = 0; c < W; ++c)
                t[c] = mais(static_cast<Scalar>(l * static_cast<double>(xj[c]) +
                                                static_cast<double>(t[c])),
                            t[c]);
        }
    }
    for (int c = 0; c < W; ++c) s[c] = t[c];
}

template <bool kIncognitaVence>
[[gnu::always_inline]] inline void acumula_n(Scalar* s, int w, const Scalar* coef, Matrix X,
                                             int j0, int j1, int c0) {
    for (int j = j0; j <= j1; ++j) {
        const double l = static_cast<double>(coef[j]);
        const Scalar* xj = X[j] + c0;
        if (kIncognitaVence) {
            for (int c = 0; c < w; ++c) {
                const double xc = static_cast<double>(xj[c]);
                const Scalar soma = static_cast<Scalar>(l * xc + static_cast<double>(s[c]));
                const Scalar novo = escolhe(xj[c] != xj[c], static_cast<Scalar>(xc), soma);
                s[c] = mais(novo, s[c]);
            }
        } else if (l != l) {
            for (int c = 0; c < w; ++c) s[c] = mais(static_cast<Scalar>(l), s[c]);
        } else {
            for (int c = 0; c < w; ++c)
                s[c] = mais(static_cast<Scalar>(l * static_cast<double>(xj[c]) +
                                                static_cast<double>(s[c])),
                            s[c]);
        }
    }
}

// The same sums written plainly, for tiles where no NaN ever arises: without NaNs the operand
// order of a product or a sum cannot show in the result.
template <int W>
[[gnu::always_inline]] inline void acumula_simples(Scalar* s, const Scalar* coef, Matrix X, int j0,
                                                   int j1, int c0) {
    Scalar t[static_cast<unsigned>(W)];
    for (int c = 0; c < W; ++c) t[c] = s[c];
    for (int j = j0; j <= j1; ++j) {
        const double l = static_cast<double>(coef[j]);
        const Scalar* xj = X[j] + c0;
        for (int c = 0; c < W; ++c)
            t[c] = static_cast<Scalar>(l * static_cast<double>(xj[c]) + static_cast<double>(t[c]));
    }
    for (int c = 0; c < W; ++c) s[c] = t[c];
}

// Columns c0..c0+w-1 of the inverse; on the tile holding column n, y receives its forward
// values before they are overwritten. The plain sums are used only on full tiles.
template <bool kExato>
[[gnu::always_inline]] inline void resolve_bloco(int n, Matrix A, Matrix Inv, Vector y, int c0,
                                                 int w) {
    Scalar s[kLargura];
    // L·Y = E with a unit diagonal: rows in increasing order.
    for (int i = 1; i <= n; ++i) {
        for (int c = 0; c < w; ++c) s[c] = 0.0f;
        if (!kExato && w == kLargura)
            acumula_simples<kLargura>(s, A[i], Inv, 1, i - 1, c0);
        else if (w == kLargura)
            acumula<kLargura, true>(s, A[i], Inv, 1, i - 1, c0);
        else
            acumula_n<true>(s, w, A[i], Inv, 1, i - 1, c0);
        Scalar* yi = Inv[i] + c0;
        for (int c = 0; c < w; ++c) {
            const double e = (c0 + c == i) ? 1.0 : 0.0;
            yi[c] = static_cast<Scalar>(e - static_cast<double>(s[c]));
        }
    }
    if (c0 + w - 1 == n)
        for (int j = 1; j <= n; ++j) y[j] = Inv[j][n];
    // U·X = Y: rows in decreasing order, X overwriting Y row by row.
    for (int i = n; i >= 1; --i) {
        for (int c = 0; c < w; ++c) s[c] = 0.0f;
        if (!kExato && w == kLargura)
            acumula_simples<kLargura>(s, A[i], Inv, i + 1, n, c0);
        else if (w == kLargura)
            acumula<kLargura, false>(s, A[i], Inv, i + 1, n, c0);
        else
            acumula_n<false>(s, w, A[i], Inv, i + 1, n, c0);
        const double d = static_cast<double>(A[i][i]);
        Scalar* xi = Inv[i] + c0;
        for (int c = 0; c < w; ++c)
            xi[c] =
                static_cast<Scalar>((static_cast<double>(xi[c]) - static_cast<double>(s[c])) / d);
    }
}

// Whether a column of the tile came out NaN.
[[gnu::always_inline]] inline bool tem_nan(int n, Matrix Inv, int c0, int w) {
    bool nan = false;
    for (int i = 1; i <= n; ++i) {
        const Scalar* xi = Inv[i] + c0;
        for (int c = 0; c < w; ++c) nan = nan || xi[c] != xi[c];
    }
    return nan;
}

}  // namespace

// A NaN anywhere in a column's sums reaches that column's result (a NaN sum stays NaN, a NaN
// forward value makes its backward value NaN), so a tile whose results hold no NaN met none on
// the way and the plain sums gave the exact bits; otherwise the tile is solved again with the
// NaN choices spelled out.
__attribute__((target_clones("avx2", "default"))) void Inversa(int n, Matrix A, Matrix Inv,
                                                               Vector b, Vector x, Vector y) {
    if (n <= 0) return;
    for (int c0 = 1; c0 <= n; c0 += kLargura) {
        const int w = std::min(kLargura, n - c0 + 1);
        if (w == kLargura) {
            resolve_bloco<false>(n, A, Inv, y, c0, w);
            if (tem_nan(n, Inv, c0, w)) resolve_bloco<true>(n, A, Inv, y, c0, w);
        } else {
            resolve_bloco<true>(n, A, Inv, y, c0, w);
        }
    }
    // As after solving the last column on its own: b = e_n, x its solution.
    for (int j = 1; j <= n; ++j) {
        b[j] = (j == n) ? 1.0f : 0.0f;
        x[j] = Inv[j][n];
    }
}
