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

// s + a·v rounded once. Where two NaNs meet, the straightforward Jacobi sum keeps a's NaN in
// the product and the product's NaN in the addition; spelled out so that the compiler's choice
// of operand order cannot change which NaN comes out.
inline Scalar termo(Scalar a, double v, Scalar s) {
    const double ad = static_cast<double>(a);
    const double p = ad != ad ? ad : ad * v;
    return static_cast<Scalar>(p != p ? p : p + static_cast<double>(s));
}

// s += M[j]·v[j] for j = j0..j1 in increasing order, each new sum rounded.
Scalar soma(const Scalar* M, const Scalar* v, int j0, int j1, Scalar s) {
    for (int j = j0; j <= j1; ++j) s = termo(M[j], static_cast<double>(v[j]), s);
    return s;
}

// Four rows' sums over the columns j0..j1, side by side, each in increasing column order.
void soma4(const Scalar* const* a, const Scalar* v, int j0, int j1, Scalar* s) {
    Scalar s0 = s[0], s1 = s[1], s2 = s[2], s3 = s[3];
    for (int j = j0; j <= j1; ++j) {
        const double vj = static_cast<double>(v[j]);
        s0 = termo(a[0][j], vj, s0);
        s1 = termo(a[1][j], vj, s1);
        s2 = termo(a[2][j], vj, s2);
        s3 = termo(a[3][j], vj, s3);
    }
    s[0] = s0;
    s[1] = s1;
    s[2] = s2;
    s[3] = s3;
}

}  // namespace

Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    // Every unknown of the sweep is computed from the values before it, so rows are
    // independent: four at a time, each sum skipping its own diagonal column.
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    int i0 = 1;
    for (; i0 + 3 <= n; i0 += 4) {
        const Scalar* a[4] = {A[i0], A[i0 + 1], A[i0 + 2], A[i0 + 3]};
        Scalar s[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        soma4(a, antigo, 1, i0 - 1, s);
        // Columns i0..i0+3 hold the four diagonals: each row takes them apart, skipping its own.
        for (int r = 0; r < 4; ++r)
            for (int j = i0; j <= i0 + 3; ++j)
                if (j != i0 + r) s[r] = soma(a[r], antigo, j, j, s[r]);
        soma4(a, antigo, i0 + 4, n, s);
        for (int r = 0; r < 4; ++r) {
            const int i = i0 + r;
            x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(s[r])) /
                                       static_cast<double>(A[i][i]));
            atualiza_mudanca(e, x[i], antigo[i]);
        }
    }
    for (int i = i0; i <= n; ++i) {
        Scalar sum = soma(A[i], antigo, 1, i - 1, 0.0f);
        sum = soma(A[i], antigo, i + 1, n, sum);
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
