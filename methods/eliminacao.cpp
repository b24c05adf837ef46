// Gaussian elimination to upper-triangular form, in place on A and b. Entries below the
// diagonal are never written: they keep whatever they held, only the upper triangle (diagonal
// included) carries the result. No pivot is checked; a zero pivot yields infinities or NaNs.
//
// The steps are taken in blocks of up to kMaxPassos columns. Within a block the panel (the block's
// own columns, and b) gets each step at once, so the pivot search and the multipliers see
// column i up to date; the columns to the right then receive the whole block of steps in one
// pass, each entry kept in a register across the block. Every entry still gets its steps in
// increasing order, from the same pivot-row value and the same rounded multiplier, so the
// result is the one-step-at-a-time result bit for bit.

#include <algorithm>

#include "passos_bloco.h"
#include "referencia.h"

namespace sislin {

namespace {

using nucleos::kMaxPassos;
using referencia::multiplicador;

// The multipliers are not kept in A, but column i of row j is never written after step i, so a
// row that has not moved during the block finds its multipliers again from its own stale
// entries. Rows that were exchanged carry theirs here instead, keyed by their current position
// (at most two new positions per step).
struct Trocadas {
    int quantas = 0;
    int linha[2 * kMaxPassos] = {};
    Scalar m[2 * kMaxPassos][kMaxPassos] = {};

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
        const int a = entrada(A, i0, i, i);
        const int b = entrada(A, i0, i, p);
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

void multiplicadores(const void* dados, int j, int i0, int num_passos, double* m) {
    const Bloco& b = *static_cast<const Bloco*>(dados);
    const int e = b.trocadas->procura(j);
    for (int t = 0; t < num_passos; ++t)
        m[t] = static_cast<double>(e >= 0 ? b.trocadas->m[e][i0 + t - b.i0]
                                          : multiplicador(b.A, j, i0 + t));
}

template <bool kPivoteia>
void elimina(const nucleos::Micronucleos& k, const nucleos::Tamanhos& t, int n, Matrix A,
             Vector b) {
    const int bloco = std::clamp(t.bloco, 1, kMaxPassos);
    for (int i0 = 1; i0 <= n - 1; i0 += bloco) {
        const int i1 = i0 + bloco - 1 < n - 1 ? i0 + bloco - 1 : n - 1;
        Trocadas trocadas;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = referencia::pivo(n, A, i);
                referencia::troca_linhas(n, A, b, i, p);
                if (p != i) trocadas.troca(A, i0, i, p);
            }
            referencia::elimina_coluna(n, A, b, i, i1);  // the panel: columns up to i1, and b
            trocadas.anota(A, i0, i);
        }
        const Bloco dados{A, i0, &trocadas};
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, &dados, k, t.faixa);
    }
}

}  // namespace

namespace nucleos::rapido {

void Eliminacao(const Micronucleos& k, const Tamanhos& t, int n, Matrix A, Vector b) {
    elimina<false>(k, t, n, A, b);
}

void GaussPivoteamentoParcial(const Micronucleos& k, const Tamanhos& t, int n, Matrix A, Vector b) {
    elimina<true>(k, t, n, A, b);
}

}  // namespace nucleos::rapido

}  // namespace sislin
