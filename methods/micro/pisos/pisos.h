// The floor of each micro-kernel set, for the benchmarks: about `atualizacoes` single-lane updates
// of the bare step, a multiply and add in double, rounding to a Scalar and widening back, on as
// many independent chains as the set's update keeps; nothing else. The floor of any kernel that
// rounds every term. Returns a value of the chains, so that the work is kept. Only for a set this
// processor runs (nucleos::conjuntos()).
#pragma once

#include "nucleos.h"

namespace sislin::bancada {

double piso(nucleos::Isa isa, long atualizacoes);

}  // namespace sislin::bancada
