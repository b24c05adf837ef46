// The Jacobi sweep: every unknown is computed from the values before the sweep, so rows are
// independent and their sums are taken side by side by the micro-kernel somas_linhas, each
// skipping its own diagonal column. The change of the sweep follows the straightforward rule
// (see referencia::IteracaoJacobi): measured unrounded in double, stored rounded when strictly
// larger, and NaN from the first unknown whose change is NaN.
#include <algorithm>

#include "nucleos.h"
#include "referencia.h"

namespace nucleos {

Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x, const Ajuste& a) {
    if (a.k == nullptr) return referencia::IteracaoJacobi(n, A, b, x);
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    Scalar s[32];
    for (int i = 1; i <= n; i += 32) {
        const int linhas = std::min(32, n - i + 1);
        a.k->somas_linhas(A + i, linhas, antigo, n, i, s);
        for (int k = 0; k < linhas; ++k) {
            x[i + k] =
                static_cast<Scalar>((static_cast<double>(b[i + k]) - static_cast<double>(s[k])) /
                                    static_cast<double>(A[i + k][i + k]));
            referencia::atualiza_mudanca(e, x[i + k], antigo[i + k]);
        }
    }
    libera_vetor(antigo);
    return e;
}

}  // namespace nucleos
