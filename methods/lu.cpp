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
void multiplicadores(const void* dados, int j, int i0, int passos, double* m) {
    const Scalar* linha = static_cast<const Scalar* const*>(dados)[j];
    for (int t = 0; t < passos; ++t) m[t] = -static_cast<double>(linha[i0 + t]);
}

// Step i on the panel: rows below i over columns i+1..i1; the stored multiplier is exactly -m.
void fatora_painel(int n, Matrix A, int i, int i1) {
    for (int j = i + 1; j <= n; ++j) {
        const Scalar m =
            static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
        for (int k = i + 1; k <= i1; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * static_cast<double>(m) +
                                          static_cast<double>(A[j][k]));
        A[j][i] = -m;
    }
}

// Returns the number of exchanges; pos is only touched when pivoting.
template <bool kPivoteia>
int fatora(int n, Matrix A, IndexVector pos, const nucleos::Ajuste& a) {
    const int passos = std::clamp(a.t.passos, 1, nucleos::kMaxPassos);
    int trocas = 0;
    for (int i0 = 1; i0 <= n - 1; i0 += passos) {
        const int i1 = i0 + passos - 1 < n - 1 ? i0 + passos - 1 : n - 1;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = referencia::pivo(n, A, i);
                if (p != i) {
                    ++trocas;
                    referencia::troca_linhas(n, A, pos, i, p);
                }
            }
            fatora_painel(n, A, i, i1);
        }
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, A, a);
    }
    return trocas;
}

}  // namespace

namespace nucleos {

void LU(int n, Matrix A, const Ajuste& a) {
    if (a.k == nullptr) return referencia::LU(n, A);
    fatora<false>(n, A, nullptr, a);
}

void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det, const Ajuste& a) {
    if (a.k == nullptr) return referencia::LUPivoteamentoParcial(n, A, pos, det);
    for (int i = 1; i <= n; ++i) pos[i] = i;
    const int trocas = fatora<true>(n, A, pos, a);
    det = 1.0f;
    for (int i = 1; i <= n; ++i)
        det = static_cast<Scalar>(static_cast<double>(det) * static_cast<double>(A[i][i]));
    if (trocas % 2 != 0) det = -det;
}

}  // namespace nucleos
