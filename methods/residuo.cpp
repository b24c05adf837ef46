// Residual r = b - A·x and its largest absolute entry.
#include <cmath>

#include "methods.h"

namespace {

// s + a·v rounded once. Where two NaNs meet, the straightforward sum keeps a's NaN in the
// product and the sum's NaN in the addition; spelled out so that the compiler's choice of
// operand order cannot change which NaN comes out.
inline Scalar termo(Scalar a, double v, Scalar s) {
    if (s != s) return s;
    const double ad = static_cast<double>(a);
    if (ad != ad) return static_cast<Scalar>(ad);
    return static_cast<Scalar>(ad * v + static_cast<double>(s));
}

// s += M[j]·v[j] for j = j0..j1 in increasing order, each new sum rounded.
inline Scalar soma(const Scalar* M, const Scalar* v, int j0, int j1, Scalar s) {
    for (int j = j0; j <= j1; ++j) s = termo(M[j], static_cast<double>(v[j]), s);
    return s;
}

}  // namespace

// Four rows at a time, each with its own sum over the same column order, so that several
// chains of additions are in flight.
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    int i = 1;
    for (; i + 3 <= n; i += 4) {
        const Scalar* a0 = A[i];
        const Scalar* a1 = A[i + 1];
        const Scalar* a2 = A[i + 2];
        const Scalar* a3 = A[i + 3];
        Scalar s0 = 0.0f, s1 = 0.0f, s2 = 0.0f, s3 = 0.0f;
        for (int j = 1; j <= n; ++j) {
            const double xj = static_cast<double>(x[j]);
            s0 = termo(a0[j], xj, s0);
            s1 = termo(a1[j], xj, s1);
            s2 = termo(a2[j], xj, s2);
            s3 = termo(a3[j], xj, s3);
        }
        r[i] = static_cast<Scalar>(static_cast<double>(b[i]) - static_cast<double>(s0));
        r[i + 1] = static_cast<Scalar>(static_cast<double>(b[i + 1]) - static_cast<double>(s1));
        r[i + 2] = static_cast<Scalar>(static_cast<double>(b[i + 2]) - static_cast<double>(s2));
        r[i + 3] = static_cast<Scalar>(static_cast<double>(b[i + 3]) - static_cast<double>(s3));
    }
    for (; i <= n; ++i) {
        const Scalar sum = soma(A[i], x, 1, n, 0.0f);
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
