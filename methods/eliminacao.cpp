// Gaussian elimination to upper-triangular form, in place on A and b. Entries below the
// diagonal are never written: they keep whatever they held, only the upper triangle (diagonal
// included) carries the result. No pivot is checked; a zero pivot yields infinities or NaNs.
//
// The steps are taken in blocks of up to kPassos columns. Within a block the panel (the block's
// own columns, and b) gets each step at once, so the pivot search and the multipliers see
// column i up to date; the columns to the right then receive the whole block of steps in one
// pass, each entry kept in a register across the block. Every entry still gets its steps in
// increasing order, from the same pivot-row value and the same rounded multiplier, so the
// result is the one-step-at-a-time result bit for bit.

#include <algorithm>

#include "passos_bloco.h"
#include "referencia.h"

namespace {

constexpr int kPassos = nucleos::kMaxPassos;  // steps per block, at most

// m = -A[j][i] / A[i][i], rounded: the multiplier of step i for row j.
Scalar multiplicador(Matrix A, int j, int i) {
    return static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
}

// The multipliers are not kept in A, but column i of row j is never written after step i, so a
// row that has not moved during the block finds its multipliers again from its own stale
// entries. Rows that were exchanged carry theirs here instead, keyed by their current position
// (at most two new positions per step).
struct Trocadas {
    int quantas = 0;
    int linha[2 * kPassos];
    Scalar m[2 * kPassos][kPassos];

    int procura(int j) const {
        for (int e = 0; e < quantas; ++e)
            if (linha[e] == j) return e;
        return -1;
    }
    // Entry of position j, created with the multipliers of steps i0..i-1 it has had so far.
    int entrada(Matrix A, int i0, int i, int j) {
        int e = procura(j);
        if (e >= 0) return e;
        e = quantas++;
        linha[e] = j;
        for (int t = i0; t < i; ++t) m[e][t - i0] = multiplicador(A, j, t);
        return e;
    }
    // Rows i and p exchanged at step i: their pending multipliers go with them.
    void troca(Matrix A, int i0, int i, int p) {
        const int a = entrada(A, i0, i, i), b = entrada(A, i0, i, p);
        for (int t = 0; t < i - i0; ++t) {
            const Scalar x = m[a][t];
            m[a][t] = m[b][t];
            m[b][t] = x;
        }
    }
    // Step i's multipliers of the carried rows below the pivot row.
    void anota(Matrix A, int i0, int i) {
        for (int e = 0; e < quantas; ++e)
            if (linha[e] > i) m[e][i - i0] = multiplicador(A, linha[e], i);
    }
};

struct Bloco {
    Matrix A;
    int i0;
    const Trocadas* trocadas;
};

void multiplicadores(const void* dados, int j, int i0, int passos, double* m) {
    const Bloco& b = *static_cast<const Bloco*>(dados);
    const int e = b.trocadas->procura(j);
    for (int t = 0; t < passos; ++t)
        m[t] = static_cast<double>(e >= 0 ? b.trocadas->m[e][i0 + t - b.i0]
                                          : multiplicador(b.A, j, i0 + t));
}

// Step i on the panel: rows below i over columns i+1..i1, and b.
void elimina_painel(int n, Matrix A, Vector b, int i, int i1) {
    for (int j = i + 1; j <= n; ++j) {
        const double m = static_cast<double>(multiplicador(A, j, i));
        for (int k = i + 1; k <= i1; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * m +
                                          static_cast<double>(A[j][k]));
        b[j] = static_cast<Scalar>(static_cast<double>(b[i]) * m + static_cast<double>(b[j]));
    }
}

template <bool kPivoteia>
void elimina(int n, Matrix A, Vector b, const nucleos::Ajuste& a) {
    const int passos = std::clamp(a.t.passos, 1, nucleos::kMaxPassos);
    for (int i0 = 1; i0 <= n - 1; i0 += passos) {
        const int i1 = i0 + passos - 1 < n - 1 ? i0 + passos - 1 : n - 1;
        Trocadas trocadas;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = referencia::pivo(n, A, i);
                referencia::troca_linhas(n, A, b, i, p);
                if (p != i) trocadas.troca(A, i0, i, p);
            }
            elimina_painel(n, A, b, i, i1);
            trocadas.anota(A, i0, i);
        }
        const Bloco bloco{A, i0, &trocadas};
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, &bloco, a);
    }
}

}  // namespace

namespace nucleos {

void Eliminacao(int n, Matrix A, Vector b, const Ajuste& a) {
    if (a.k == nullptr) return referencia::Eliminacao(n, A, b);
    elimina<false>(n, A, b, a);
}

void GaussPivoteamentoParcial(int n, Matrix A, Vector b, const Ajuste& a) {
    if (a.k == nullptr) return referencia::GaussPivoteamentoParcial(n, A, b);
    elimina<true>(n, A, b, a);
}

}  // namespace nucleos
