// What the micro-kernel sets share around their own vector code: the walk of a strip in blocks
// of columns and its one-column tail, the grouping of rows for aplica_passos, the sums of
// somas_colunas over a set's vectors and the stand-in rows of somas_linhas. Each set writes only
// the part that holds its vectors.
//
// Each set's file compiles these with its own instruction-set flags, so each keeps its own copy
// (an unnamed namespace): the linker must never pick one set's copy for another's.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>

#include "nucleos.h"

namespace sislin::nucleos::micro {

namespace {

// The step of aplica_passos on the single column k0 + c of rows L[0..linhas-1], one term at a
// time: the tail of a strip narrower than a set's vectors.
inline void passos_coluna(const double* U, int ldu, int num_passos, const double* m,
                          Scalar* const* L, int linhas, int k0, int c) {
    for (int r = 0; r < linhas; ++r) {
        Scalar x = L[r][k0 + c];
        for (int t = 0; t < num_passos; ++t)
            x = static_cast<Scalar>(U[t * ldu + c] * m[r * kMaxPassos + t] +
                                    static_cast<double>(x));
        L[r][k0 + c] = x;
    }
}

// The strip kernel of a set whose Blocos::bloco<R, C>(U, ldu, num_passos, m, L, k, c) takes
// rows L[0..R-1] over the C columns from k (U from column c of the strip) through every step:
// as many blocks of the first width Cs as fit, then of the next, and so on; the columns left
// one at a time.
template <typename Blocos, int... Cs>
struct FaixaPorBlocos {
    template <int R>
    static void faixa(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                      int k0, int w) {
        int c = 0;
        blocos<R, Cs...>(U, ldu, num_passos, m, L, k0, w, c);
        for (; c < w; ++c) passos_coluna(U, ldu, num_passos, m, L, R, k0, c);
    }
    // From column c of the strip on, blocks of width C while they fit, then the next widths.
    template <int R, int C, int... Resto>
    static void blocos(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                       int k0, int w, int& c) {
        for (; c + C <= w; c += C)
            Blocos::template bloco<R, C>(U, ldu, num_passos, m, L, k0 + c, c);
        if constexpr (sizeof...(Resto) > 0) blocos<R, Resto...>(U, ldu, num_passos, m, L, k0, w, c);
    }
};

// aplica_passos over a set's strip kernel Faixas::faixa<R> (R rows over the whole strip): as
// many groups of the first size R as fit, then of the next sizes Rs; the last size is 1.
template <typename Faixas, int R, int... Rs>
void aplica_por_grupos(const double* U, int ldu, int num_passos, const double* m, Scalar* const* L,
                       int linhas, int k0, int w) {
    static_assert(R >= 1 && (sizeof...(Rs) > 0 || R == 1));
    assert(num_passos >= 0 && num_passos <= kMaxPassos);
    int r = 0;
    for (; r + R <= linhas; r += R)
        Faixas::template faixa<R>(U, ldu, num_passos, m + r * kMaxPassos, L + r, k0, w);
    if constexpr (sizeof...(Rs) > 0)
        aplica_por_grupos<Faixas, Rs...>(U, ldu, num_passos, m + r * kMaxPassos, L + r, linhas - r,
                                         k0, w);
}

// The sums of somas_colunas for the columns from T and s that V vectors of doubles of the set's
// type P hold, one column to a lane. P gives the vector type Tipo and espalha (one double in
// every lane), le (from doubles), passo(u, m, v) (u·m + v, rounded to Scalars in the lanes)
// and grava (rounded to Scalars). Each term's coefficient is widened and broadcast one term
// ahead: fetched in the same term, the broadcast waits behind the sums' conversions and the
// sums wait for it.
template <typename P, int V>
void colunas(const Scalar* coef, const double* T, int ld, int j0, int j1, Scalar* s) {
    constexpr int kLanes = static_cast<int>(sizeof(typename P::Tipo) / sizeof(double));
    typename P::Tipo a[static_cast<unsigned>(V)];
    for (int v = 0; v < V; ++v) a[v] = P::espalha(0.0);
    const double* tj = T + static_cast<std::ptrdiff_t>(j0) * ld;
    typename P::Tipo proximo = P::espalha(j0 <= j1 ? static_cast<double>(coef[j0]) : 0.0);
    for (int j = j0; j <= j1; ++j, tj += ld) {
        const typename P::Tipo l = proximo;
        proximo = P::espalha(static_cast<double>(coef[std::min(j + 1, j1)]));
        for (int v = 0; v < V; ++v) a[v] = P::passo(l, P::le(tj + kLanes * v), a[v]);
    }
    for (int v = 0; v < V; ++v) P::grava(s + kLanes * v, a[v]);
}

// The columns 1..fim-1 of rows 0..linhas-1 in somas_linhas, kLargura at a time:
// blocos.operator()<kDiagonal>(j, ate) takes the blocks from column j up to (not including) ate
// and returns where it stopped. When the rows skip their diagonals (pula > 0), the blocks that
// may hold one are taken with kDiagonal true, the others with false.
template <int kLargura, typename Blocos>
void percorre_colunas(int pula, int linhas, int fim, const Blocos& blocos) {
    int inicio = 1;
    if (pula > 0) {
        inicio = blocos.template operator()<false>(inicio, std::min(pula - (kLargura - 1), fim));
        inicio =
            blocos.template operator()<true>(inicio, std::min(pula + linhas + kLargura - 1, fim));
    }
    blocos.template operator()<false>(inicio, fim);
}

// somas_linhas over a set's kernels kGrupos, the g-th of which sums g groups of kLargura rows
// side by side: the rows past the last are stand-ins (row 0 again) whose sums are dropped.
using Grupos = void (*)(const Scalar* const* a, const Scalar* v, int n, int pula, Scalar* s);
template <int kLargura, Grupos... kGrupos>
void somas_por_grupos(const Scalar* const* a, int linhas, const Scalar* v, int n, int pula,
                      Scalar* s) {
    static_assert(sizeof...(kGrupos) * kLargura == kMaxLinhas);
    static constexpr Grupos kTabela[] = {kGrupos...};
    assert(linhas >= 1 && linhas <= kMaxLinhas);
    const Scalar* r[kMaxLinhas];
    Scalar t[kMaxLinhas];
    for (int k = 0; k < kMaxLinhas; ++k) r[k] = a[k < linhas ? k : 0];
    kTabela[(linhas + kLargura - 1) / kLargura - 1](r, v, n, pula, t);
    std::copy(t, t + linhas, s);
}

}  // namespace

}  // namespace sislin::nucleos::micro
