// The loop of a set's floor (pisos.h): kCadeias independent chains of the set's vectors of
// doubles, every update the step u·m + x rounded to Scalars in the lanes and widened back
// (passo), as the set's kernels take it. espalha puts one double in every lane; soma adds a
// vector's lanes, so that the work is kept.
#pragma once

namespace sislin::bancada {

template <int kCadeias, typename Espalha, typename Passo, typename Soma>
double cadeias(long atualizacoes, Espalha espalha, Passo passo, Soma soma) {
    using Tipo = decltype(espalha(0.0));
    // The lanes of the set's vector type (1 for a plain double).
    constexpr long kLanes = sizeof(Tipo) / sizeof(double);  // NOLINT(bugprone-sizeof-expression)
    Tipo v[static_cast<unsigned>(kCadeias)];
    for (int c = 0; c < kCadeias; ++c) v[c] = espalha(c);
    const Tipo u = espalha(0.5);
    const Tipo m = espalha(1.0 / 1024);
    for (long p = 0; p < atualizacoes / (kLanes * kCadeias); ++p)
        for (Tipo& x : v) x = passo(u, m, x);
    double s = 0;
    for (const Tipo& x : v) s += soma(x);
    return s;
}

}  // namespace sislin::bancada
