// Residual r = b - A·x and its largest absolute entry.
#include <cmath>

#include "methods.h"

void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j)
            sum = static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        r[i] = static_cast<Scalar>(static_cast<double>(b[i]) - static_cast<double>(sum));
    }
}

Scalar CalculaErro(int n, Vector r) {
    Scalar e = 0.0f;
    // Strict comparison: NaN entries are passed over.
    for (int i = 1; i <= n; ++i)
        if (std::fabs(r[i]) > e) e = std::fabs(r[i]);
    return e;
}
