// Inverse from the factors held in A: column i solves L·y = e_i, then U·x = y.
#include "methods.h"

void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) Inv[j][i] = 0.0f;
        Inv[i][i] = 1.0f;
        for (int j = 1; j <= n; ++j) b[j] = Inv[j][i];
        SubstituicaoProgressivaL(n, A, y, b);
        SubstituicaoRetroativa(n, A, x, y);
        for (int j = 1; j <= n; ++j) Inv[j][i] = x[j];
    }
}
