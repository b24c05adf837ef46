// Forward substitution with the rows' sums side by side. For each block of kMaxLinhas rows, the
// terms of the unknowns found before the block are summed by the micro-kernel somas_linhas (each
// row's sum in increasing column order, rounded at every term, as one row at a time gives it);
// each row of the block then adds the terms of the block's earlier rows, in order, and finds its
// unknown. c may be x itself: c[i] is read before x[i] is written.
#include <algorithm>

#include "nucleos.h"

namespace sislin {

namespace {

using nucleos::kMaxLinhas;

// kUnitaria: the diagonal of L is 1 and is not read.
template <bool kUnitaria>
void substitui(const nucleos::Micronucleos& k, int n, Matrix L, Vector x, Vector c) {
    Scalar s[kMaxLinhas];
    for (int i0 = 1; i0 <= n; i0 += kMaxLinhas) {
        const int linhas = std::min(kMaxLinhas, n - i0 + 1);
        if (i0 > 1)
            k.somas_linhas(L + i0, linhas, x, i0 - 1, 0, s);
        else
            std::fill(s, s + linhas, 0.0f);
        for (int q = 0; q < linhas; ++q) {
            const int i = i0 + q;
            Scalar sum = s[q];
            for (int j = i0; j < i; ++j)
                sum = static_cast<Scalar>(static_cast<double>(L[i][j]) * static_cast<double>(x[j]) +
                                          static_cast<double>(sum));
            const double d = static_cast<double>(c[i]) - static_cast<double>(sum);
            x[i] = static_cast<Scalar>(kUnitaria ? d : d / static_cast<double>(L[i][i]));
        }
    }
}

}  // namespace

namespace nucleos {

void rapido::progressiva(Tabela& t) {
    t.SubstituicaoProgressivaL = [](const Ajuste& a, int n, Matrix L, Vector y, Vector c) {
        substitui<true>(*a.k, n, L, y, c);
    };
    t.SubstituicaoProgressiva = [](const Ajuste& a, int n, Matrix L, Vector x, Vector c) {
        substitui<false>(*a.k, n, L, x, c);
    };
}

}  // namespace nucleos

}  // namespace sislin
