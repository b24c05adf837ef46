// Gaussian elimination to upper-triangular form, in place on A and b. Entries below the
// diagonal are never written: they keep whatever they held, only the upper triangle (diagonal
// included) carries the result. No pivot is checked; a zero pivot yields infinities or NaNs.
#include <cmath>

#include "methods.h"

namespace {

// Eliminates column i below the pivot row i.
void elimina_coluna(int n, Matrix A, Vector b, int i) {
    for (int j = i + 1; j <= n; ++j) {
        const Scalar m =
            static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
        for (int k = i + 1; k <= n; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * static_cast<double>(m) +
                                          static_cast<double>(A[j][k]));
        b[j] = static_cast<Scalar>(static_cast<double>(b[i]) * static_cast<double>(m) +
                                   static_cast<double>(b[j]));
    }
}

}  // namespace

void Eliminacao(int n, Matrix A, Vector b) {
    for (int i = 1; i <= n - 1; ++i) elimina_coluna(n, A, b, i);
}

void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
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
