// In-place Doolittle factorisation: U on and above the diagonal, the multipliers of the unit
// lower factor L strictly below it. No pivot is checked; a zero pivot yields infinities or NaNs.
//
// The steps are taken in blocks as in the elimination: the block's columns get each step at
// once (pivot search, multipliers stored as -m), then the columns to the right receive the whole
// block in one pass. Each entry gets its steps in the same order from the same operands as one
// step at a time, so the factors are the same bit for bit.

#include <algorithm>

#include "passos_bloco.h"
#include "referencia.h"

namespace {

// The stored -m gives back m exactly.
void multiplicadores(const void* dados, int j, int i0, int num_passos, double* m) {
    const Scalar* linha = static_cast<const Scalar* const*>(dados)[j];
    for (int t = 0; t < num_passos; ++t) m[t] = -static_cast<double>(linha[i0 + t]);
}

// Returns the number of exchanges; pos is only touched when pivoting.
template <bool kPivoteia>
int fatora(const nucleos::Micronucleos& k, const nucleos::Tamanhos& t, int n, Matrix A,
           IndexVector pos) {
    const int bloco = std::clamp(t.bloco, 1, nucleos::kMaxPassos);
    int trocas = 0;
    for (int i0 = 1; i0 <= n - 1; i0 += bloco) {
        const int i1 = i0 + bloco - 1 < n - 1 ? i0 + bloco - 1 : n - 1;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = referencia::pivo(n, A, i);
                if (p != i) {
                    ++trocas;
                    referencia::troca_linhas(n, A, pos, i, p);
                }
            }
            referencia::fatora_coluna(n, A, i, i1);  // the panel: columns up to i1
        }
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, A, k, t.faixa);
    }
    return trocas;
}

}  // namespace

namespace nucleos::rapido {

void LU(const Micronucleos& k, const Tamanhos& t, int n, Matrix A) {
    fatora<false>(k, t, n, A, nullptr);
}

void LUPivoteamentoParcial(const Micronucleos& k, const Tamanhos& t, int n, Matrix A,
                           IndexVector pos, Scalar& det) {
    referencia::pos_inicial(n, pos);
    const int trocas = fatora<true>(k, t, n, A, pos);
    det = referencia::determinante(n, A, trocas);
}

}  // namespace nucleos::rapido
