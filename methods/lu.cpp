// In-place Doolittle factorisation: U on and above the diagonal, the multipliers of the unit
// lower factor L strictly below it. No pivot is checked; a zero pivot yields infinities or NaNs.
//
// The steps are taken in blocks as in the elimination: the block's columns get each step at
// once (pivot search, multipliers stored as -m), then the columns to the right receive the whole
// block in one pass. Each entry gets its steps in the same order from the same operands as one
// step at a time, so the factors are the same bit for bit.

#include <algorithm>
#include <vector>

#include "passos.h"
#include "passos_bloco.h"

namespace sislin {

namespace {

using nucleos::kMaxPassos;

// Step i inside the panel whose columns end at i1, as passos::fatora_coluna takes it: each
// row below gets its multiplier, then its columns i+1..i1 take the step through the
// micro-kernel, rows in groups. u holds the pivot row's panel columns widened (padded past them
// for the micro-kernel's over-read).
void passo_do_painel(const nucleos::Micronucleos& k, int n, Matrix A, int i, int i1,
                     std::vector<double>& u) {
    const int w = i1 - i;
    if (w <= 0) {
        passos::fatora_coluna(n, A, i, i1);
        return;
    }
    for (int c = 0; c < w; ++c)
        u[static_cast<std::size_t>(c)] = static_cast<double>(A[i][i + 1 + c]);
    double m[nucleos::kMaxLinhas * kMaxPassos];
    const int grupo = std::min(k.linhas, nucleos::kMaxLinhas);
    for (int j = i + 1; j <= n; j += grupo) {
        const int linhas = std::min(grupo, n - j + 1);
        for (int r = 0; r < linhas; ++r) {
            const Scalar mr = passos::multiplicador(A, j + r, i);
            m[r * kMaxPassos] = static_cast<double>(mr);
            A[j + r][i] = -mr;
        }
        k.aplica_passos(u.data(), kMaxPassos, 1, m, A + j, linhas, i + 1, w);
    }
}

// Returns the number of exchanges; pos is only touched when pivoting.
template <bool kPivoteia>
int fatora(const nucleos::Micronucleos& k, const nucleos::Tamanhos& t, int n, Matrix A,
           IndexVector pos) {
    const int bloco = std::clamp(t.bloco, 1, nucleos::kMaxPassos);
    int trocas = 0;
    std::vector<double> u(static_cast<std::size_t>(kMaxPassos + nucleos::kSobraFaixa));
    for (int i0 = 1; i0 <= n - 1; i0 += bloco) {
        const int i1 = i0 + bloco - 1 < n - 1 ? i0 + bloco - 1 : n - 1;
        for (int i = i0; i <= i1; ++i) {
            if constexpr (kPivoteia) {
                const int p = passos::pivo(n, A, i);
                if (p != i) {
                    ++trocas;
                    passos::troca_linhas(n, A, pos, i, p);
                }
            }
            passo_do_painel(k, n, A, i, i1, u);  // the panel: columns up to i1
        }
        // The stored -m gives back m exactly.
        const auto multiplicadores = [A](int j, int c0, int num_passos, double* m) {
            for (int s = 0; s < num_passos; ++s) m[s] = -static_cast<double>(A[j][c0 + s]);
        };
        passos_bloco::atualiza_resto(n, A, i0, i1, multiplicadores, k, t.faixa);
    }
    return trocas;
}

}  // namespace

namespace nucleos {

void rapido::lu(Tabela& t) {
    t.LU = [](const Ajuste& a, int n, Matrix A) { fatora<false>(*a.k, a.t, n, A, nullptr); };
    t.LUPivoteamentoParcial = [](const Ajuste& a, int n, Matrix A, IndexVector pos, Scalar& det) {
        passos::pos_inicial(n, pos);
        const int trocas = fatora<true>(*a.k, a.t, n, A, pos);
        det = passos::determinante(n, A, trocas);
    };
}

}  // namespace nucleos

}  // namespace sislin
