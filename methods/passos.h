// The rules of one step of the elimination and the LU factorisation, and of the change of a
// sweep: the straightforward loops (referencia.cpp) and the fast algorithms (eliminacao.cpp,
// lu.cpp, iterativos.cpp) take them from here, so that both paths follow the same rules.
#pragma once

#include <cmath>
#include <utility>

#include "vetores.h"

namespace sislin::passos {

// Pivot search for step i: the first row with the strictly largest magnitude wins; row i keeps
// the pivot on ties, and a NaN never wins.
inline int pivo(int n, Matrix A, int i) {
    Scalar best = std::fabs(A[i][i]);
    int p = i;
    for (int j = i; j <= n; ++j) {
        if (std::fabs(A[j][i]) > best) {
            best = std::fabs(A[j][i]);
            p = j;
        }
    }
    return p;
}

// Elimination: rows i and p exchanged over columns i..n only (columns 1..i-1 stay), and b[i],
// b[p]; done even when p == i.
inline void troca_linhas(int n, Matrix A, Vector b, int i, int p) {
    for (int k = i; k <= n; ++k) std::swap(A[i][k], A[p][k]);
    std::swap(b[i], b[p]);
}

// LU: whole rows exchanged, so the multipliers already stored travel with their rows; and pos.
inline void troca_linhas(int n, Matrix A, IndexVector pos, int i, int p) {
    for (int k = 1; k <= n; ++k) std::swap(A[i][k], A[p][k]);
    std::swap(pos[i], pos[p]);
}

// m = -A[j][i] / A[i][i], rounded: the multiplier of step i for row j.
inline Scalar multiplicador(Matrix A, int j, int i) {
    return static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
}

// Step i on columns i+1..ultima of the rows below the pivot row i: ultima = n is the whole step,
// the last column of a block its panel (the columns to its right then get the step later).
// Elimination: and b.
inline void elimina_coluna(int n, Matrix A, Vector b, int i, int ultima) {
    for (int j = i + 1; j <= n; ++j) {
        const double m = static_cast<double>(multiplicador(A, j, i));
        for (int k = i + 1; k <= ultima; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * m +
                                          static_cast<double>(A[j][k]));
        b[j] = static_cast<Scalar>(static_cast<double>(b[i]) * m + static_cast<double>(b[j]));
    }
}

// LU: the multiplier stored in place of the eliminated entry, as exactly -m.
inline void fatora_coluna(int n, Matrix A, int i, int ultima) {
    for (int j = i + 1; j <= n; ++j) {
        const Scalar m = multiplicador(A, j, i);
        for (int k = i + 1; k <= ultima; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * static_cast<double>(m) +
                                          static_cast<double>(A[j][k]));
        A[j][i] = -m;
    }
}

// The LU with pivoting starts from pos[i] = i and ends with det: the product of U's diagonal in
// row order, negated after an odd number of row exchanges.
inline void pos_inicial(int n, IndexVector pos) {
    for (int i = 1; i <= n; ++i) pos[i] = i;
}

inline Scalar determinante(int n, Matrix A, int trocas) {
    Scalar det = 1.0f;
    for (int i = 1; i <= n; ++i)
        det = static_cast<Scalar>(static_cast<double>(det) * static_cast<double>(A[i][i]));
    return trocas % 2 != 0 ? -det : det;
}

// The change of a sweep, e, after an unknown went from antigo to novo: the change measured
// unrounded in double, stored rounded when strictly larger; the first NaN change stays.
inline void atualiza_mudanca(Scalar& e, Scalar novo, Scalar antigo) {
    if (std::isnan(e)) return;
    const double d = std::fabs(static_cast<double>(novo) - static_cast<double>(antigo));
    if (d > static_cast<double>(e) || std::isnan(d)) e = static_cast<Scalar>(d);
}

}  // namespace sislin::passos
