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

#include "passos.h"
#include "passos_bloco.h"

namespace sislin {

namespace {

using nucleos::kMaxPassos;
using passos::multiplicador;

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

template <bool kPivoteia>
void elimina(const nucleos::Micronucleos& k, const nucleos::Tamanhos& t, int n, Matrix A,
             Vector b) {
    const int bloco = std::clamp(t.bloco, 1, kMaxPassos);
    for (int i0 = 1; i0 <= n - 1; i0 += bloco) {
        const int i1 = i0 + bloco - 1 < n - 1 ? i0 + bloco - 1 : n - 1;
        Trocadas trocadas;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = passos::pivo(n, A, i);
                passos::troca_linhas(n, A, b, i, p);
                if (p != i) trocadas.troca(A, i0, i, p);
            }
            passos::elimina_coluna(n, A, b, i, i1);  // the panel: columns up to i1, and b
            trocadas.anota(A, i0, i);
        }
        const auto multiplicadores = [&](int j, int c0, int num_passos, double* m) {
            const int e = trocadas.procura(j);
            for (int s = 0; s < num_passos; ++s)
                m[s] = static_cast<double>(e >= 0 ? trocadas.m[e][c0 + s - i0]
                                                  : multiplicador(A, j, c0 + s));
        };
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, k, t.faixa);
    }
}

}  // namespace

namespace nucleos {

void rapido::eliminacao(Tabela& t) {
    t.Eliminacao = [](const Ajuste& a, int n, Matrix A, Vector b) {
        elimina<false>(*a.k, a.t, n, A, b);
    };
    t.GaussPivoteamentoParcial = [](const Ajuste& a, int n, Matrix A, Vector b) {
        elimina<true>(*a.k, a.t, n, A, b);
    };
}

}  // namespace nucleos

}  // namespace sislin
