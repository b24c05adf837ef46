// Triangular substitution: backward for U·x = c, forward for L·y = c with a unit diagonal and
// forward for L·x = c. Each sum starts at 0 and takes its terms in increasing column order, the
// new sum rounded to a Scalar after each term; each result is rounded once when stored.
// The output vector may be the right-hand side: c[i] is read only when x[i] is computed.
#include "methods.h"

void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) {
    for (int i = n; i >= 1; --i) {
        Scalar sum = 0.0f;
        for (int j = i + 1; j <= n; ++j)
            sum = static_cast<Scalar>(static_cast<double>(U[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        x[i] = static_cast<Scalar>((static_cast<double>(c[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(U[i][i]));
    }
}

void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) {
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= i - 1; ++j)
            sum = static_cast<Scalar>(static_cast<double>(L[i][j]) * static_cast<double>(y[j]) +
                                      static_cast<double>(sum));
        // The diagonal of L is 1 and is not read.
        y[i] = static_cast<Scalar>(static_cast<double>(c[i]) - static_cast<double>(sum));
    }
}

void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) {
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= i - 1; ++j)
            sum = static_cast<Scalar>(static_cast<double>(L[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        x[i] = static_cast<Scalar>((static_cast<double>(c[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(L[i][i]));
    }
}
