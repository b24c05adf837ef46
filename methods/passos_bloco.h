// The block update shared by the elimination and the LU factorisations: after a block's own
// columns (its panel) have taken steps i0..i1, the columns to the right take all of them in one
// pass, each entry its steps in order.
#pragma once

#include "nucleos.h"

namespace sislin {

namespace passos_bloco {

// Fills m[t] with the multiplier of step i0 + t for row j, t = 0..num_passos-1.
using Multiplicadores = void (*)(const void* dados, int j, int i0, int num_passos, double* m);
// Columns i1+1..n of rows i0+1..n receive steps i0..i1, whose panel is done; the pivot rows are
// kept widened faixa columns at a time.
void atualiza_resto(int n, Matrix A, int i0, int i1, Multiplicadores f, const void* dados,
                    const nucleos::Micronucleos& k, int faixa);

}  // namespace passos_bloco

}  // namespace sislin
