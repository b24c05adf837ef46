// In-place Doolittle factorisation: U on and above the diagonal, the multipliers of the unit
// lower factor L strictly below it. No pivot is checked; a zero pivot yields infinities or NaNs.
#include <cmath>

#include "methods.h"

namespace {

// Factorises column i below the pivot row i; the stored multiplier is exactly -m.
void fatora_coluna(int n, Matrix A, int i) {
    for (int j = i + 1; j <= n; ++j) {
        const Scalar m =
            static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
        for (int k = i + 1; k <= n; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * static_cast<double>(m) +
                                          static_cast<double>(A[j][k]));
        A[j][i] = -m;
    }
}

}  // namespace

void LU(int n, Matrix A) {
    for (int i = 1; i <= n - 1; ++i) fatora_coluna(n, A, i);
}

void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det) {
    for (int i = 1; i <= n; ++i) pos[i] = i;
    int trocas = 0;
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
        // Whole rows are exchanged, so the multipliers already stored travel with their rows.
        if (p != i) {
            ++trocas;
            for (int k = 1; k <= n; ++k) {
                const Scalar t = A[i][k];
                A[i][k] = A[p][k];
                A[p][k] = t;
            }
            const int t = pos[i];
            pos[i] = pos[p];
            pos[p] = t;
        }
        fatora_coluna(n, A, i);
    }
    det = 1.0f;
    for (int i = 1; i <= n; ++i)
        det = static_cast<Scalar>(static_cast<double>(det) * static_cast<double>(A[i][i]));
    if (trocas % 2 != 0) det = -det;
}
