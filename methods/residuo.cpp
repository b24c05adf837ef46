// Residual r = b - A·x, its rows' sums taken side by side by the micro-kernel somas_linhas.
#include <algorithm>

#include "nucleos.h"

namespace sislin {

namespace nucleos {

namespace {

void CalculaResiduo(const Ajuste& a, int n, Vector b, Matrix A, Vector x, Vector r) {
    Scalar s[kMaxLinhas];
    for (int i = 1; i <= n; i += kMaxLinhas) {
        const int linhas = std::min(kMaxLinhas, n - i + 1);
        a.k->somas_linhas(A + i, linhas, x, n, 0, s);
        for (int q = 0; q < linhas; ++q)
            r[i + q] =
                static_cast<Scalar>(static_cast<double>(b[i + q]) - static_cast<double>(s[q]));
    }
}

}  // namespace

void rapido::residuo(Tabela& t) {
    t.CalculaResiduo = CalculaResiduo;
}

}  // namespace nucleos

}  // namespace sislin
