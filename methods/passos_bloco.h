// The block update shared by the elimination and the LU factorisations: after a block's own
// columns (its panel) have taken steps i0..i1, the columns to the right take all of them in one
// pass, each entry its steps in order.
#pragma once

#include <algorithm>
#include <vector>

#include "nucleos.h"

namespace sislin::passos_bloco {

// One pass of steps i0..i1 (at most kMaxPassos), their panel done, over columns i1+1..n of rows
// i0+1..n: M holds the multipliers of row i0+1+r at M[r * kMaxPassos + t] (row i0+d has only
// its first d); U is the room for the pivot rows, kept widened faixa columns at a time.
void passada(int n, Matrix A, int i0, int i1, const double* M, const nucleos::Micronucleos& k,
             int faixa, std::vector<double>& U);

// Columns i1+1..n of rows i0+1..n receive steps i0..i1, whose panel is done. multiplicadores(j,
// i0, num_passos, m) fills m[t] with the multiplier of step i0 + t for row j, t < num_passos.
template <typename Multiplicadores>
void atualiza_resto(int n, Matrix A, int i0, int i1, const Multiplicadores& multiplicadores,
                    const nucleos::Micronucleos& k, int faixa) {
    using nucleos::kMaxPassos;
    faixa = std::max(faixa, 1);
    // Padded so that the micro-kernel may read kSobraFaixa columns past a strip's end.
    std::vector<double> U(static_cast<std::size_t>(kMaxPassos * faixa + nucleos::kSobraFaixa));
    std::vector<double> M(static_cast<std::size_t>((n - i0 + 1) * kMaxPassos));
    for (int c0 = i0; c0 <= i1; c0 += kMaxPassos) {
        const int c1 = std::min(c0 + kMaxPassos - 1, i1);
        // The multipliers of every row, found once for the pass.
        for (int j = c0 + 1; j <= n; ++j)
            multiplicadores(j, c0, std::min(c1 - c0 + 1, j - c0),
                            M.data() + (j - c0 - 1) * kMaxPassos);
        passada(n, A, c0, c1, M.data(), k, faixa, U);
    }
}

}  // namespace sislin::passos_bloco
