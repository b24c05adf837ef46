// The exercise generator: from a code's kind, n and seed, a system A x = b with small integer
// entries and an integer solution, so that b = A x is exact in single precision. Each kind's
// promise is checked on every candidate (exactly where it can be, in integers; the spectral
// radii in double with a margin; the iterations with sislin's own sweeps and stopping test)
// and a candidate that fails it is drawn again.
#pragma once

#include "codigo.h"
#include "inteiros.h"

namespace sislin::aula {

struct Sistema {
    MatrizInt a;
    VetorInt x;
    VetorInt b;
};

// The spectral-radius margins of the kinds S and J: a radius counts as converging at most
// kRaioConverge and as diverging at least kRaioDiverge.
inline constexpr double kRaioConverge = 0.9;
inline constexpr double kRaioDiverge = 1.1;

Sistema gera(const Exercicio& e);

}  // namespace sislin::aula
