// Residual r = b - A·x, its rows' sums taken side by side by the micro-kernel somas_linhas.
#include <algorithm>

#include "nucleos.h"
#include "referencia.h"

namespace nucleos {

void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r, const Ajuste& a) {
    if (a.k == nullptr) return referencia::CalculaResiduo(n, b, A, x, r);
    Scalar s[32];
    for (int i = 1; i <= n; i += 32) {
        const int linhas = std::min(32, n - i + 1);
        a.k->somas_linhas(A + i, linhas, x, n, 0, s);
        for (int k = 0; k < linhas; ++k)
            r[i + k] =
                static_cast<Scalar>(static_cast<double>(b[i + k]) - static_cast<double>(s[k]));
    }
}

}  // namespace nucleos
