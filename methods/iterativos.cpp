// The Jacobi sweep: every unknown is computed from the values before the sweep, so rows are
// independent and their sums are taken side by side by the micro-kernel somas_linhas, each
// skipping its own diagonal column. The change of the sweep follows the straightforward rule
// (passos::atualiza_mudanca): measured unrounded in double, stored rounded when strictly
// larger, and NaN from the first unknown whose change is NaN.
#include <algorithm>

#include "nucleos.h"
#include "passos.h"

namespace sislin {

namespace nucleos {

namespace {

Scalar IteracaoJacobi(const Ajuste& a, int n, Matrix A, Vector b, Vector x) {
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    Scalar s[kMaxLinhas];
    for (int i = 1; i <= n; i += kMaxLinhas) {
        const int linhas = std::min(kMaxLinhas, n - i + 1);
        a.k->somas_linhas(A + i, linhas, antigo, n, i, s);
        for (int q = 0; q < linhas; ++q) {
            x[i + q] =
                static_cast<Scalar>((static_cast<double>(b[i + q]) - static_cast<double>(s[q])) /
                                    static_cast<double>(A[i + q][i + q]));
            passos::atualiza_mudanca(e, x[i + q], antigo[i + q]);
        }
    }
    libera_vetor(antigo);
    return e;
}

}  // namespace

void rapido::iterativos(Tabela& t) {
    t.IteracaoJacobi = IteracaoJacobi;
}

}  // namespace nucleos

}  // namespace sislin
