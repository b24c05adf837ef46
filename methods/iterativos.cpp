// One sweep of the Jacobi and of the Gauss-Seidel method. Each returns the largest absolute
// change of an unknown: the change is measured unrounded in double and stored rounded only when
// it is strictly larger than the current one, so a NaN change never raises it.
#include <cmath>

#include "methods.h"

namespace {

void atualiza_mudanca(Scalar& e, Scalar novo, Scalar antigo) {
    const double d = std::fabs(static_cast<double>(novo) - static_cast<double>(antigo));
    if (d > static_cast<double>(e)) e = static_cast<Scalar>(d);
}

}  // namespace

Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    // Every unknown of the sweep is computed from the values before it.
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j) {
            if (j == i) continue;
            sum =
                static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(antigo[j]) +
                                    static_cast<double>(sum));
        }
        x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(A[i][i]));
        atualiza_mudanca(e, x[i], antigo[i]);
    }
    libera_vetor(antigo);
    return e;
}

Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    // Unknowns before i already hold this sweep's values, those after i the previous ones.
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        const Scalar antigo = x[i];
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j) {
            if (j == i) continue;
            sum = static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        }
        x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(A[i][i]));
        atualiza_mudanca(e, x[i], antigo);
    }
    return e;
}
