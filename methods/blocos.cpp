// The block update of the elimination and the LU factorisations over the micro-kernel
// aplica_passos. Column strip by column strip, the pivot rows of the pass are widened to double
// once; the pass's own pivot rows come first (row i0+d takes steps i0..i0+d-1, so each is final
// before the next uses it), then every row below takes all the steps, rows in groups. Every
// entry gets its steps in increasing order, from the same pivot-row value and the same rounded
// multiplier, so the result is the one-step-at-a-time result bit for bit.
#include <algorithm>
#include <cassert>
#include <vector>

#include "passos_bloco.h"

namespace sislin {

namespace passos_bloco {

namespace {

using nucleos::kMaxPassos;

// Rows j..j+quantas-1 take the first num_passos steps of the pass over columns k0..k0+w-1; M
// holds the multipliers of row i0+1+r at M[r * kMaxPassos + t].
void aplica(const nucleos::Micronucleos& k, const double* U, int ldu, int i0, int num_passos,
            const double* M, Matrix A, int j, int quantas, int k0, int w) {
    k.aplica_passos(U, ldu, num_passos, M + (j - i0 - 1) * kMaxPassos, A + j, quantas, k0, w);
}

}  // namespace

void passada(int n, Matrix A, int i0, int i1, const double* M, const nucleos::Micronucleos& k,
             int faixa, std::vector<double>& U) {
    const int num_passos = i1 - i0 + 1;
    assert(num_passos >= 1 && num_passos <= kMaxPassos);
    for (int k0 = i1 + 1; k0 <= n; k0 += faixa) {
        const int w = std::min(faixa, n - k0 + 1);
        // Each pivot row is widened once it is final.
        for (int d = 0; d < num_passos; ++d) {
            if (d > 0) aplica(k, U.data(), faixa, i0, d, M, A, i0 + d, 1, k0, w);
            for (int c = 0; c < w; ++c)
                U[static_cast<std::size_t>(d) * static_cast<std::size_t>(faixa) +
                  static_cast<std::size_t>(c)] = static_cast<double>(A[i0 + d][k0 + c]);
        }
        for (int j = i1 + 1; j <= n; j += k.linhas)
            aplica(k, U.data(), faixa, i0, num_passos, M, A, j, std::min(k.linhas, n - j + 1), k0,
                   w);
    }
}

}  // namespace passos_bloco

}  // namespace sislin
