// WebAssembly: the SIMD128 set besides the portable one. A module is validated as a whole, so an
// engine without SIMD128 would refuse the program before it starts; every engine that runs it
// runs the set.
#include "nucleos.h"

namespace sislin {

namespace nucleos {

const Micronucleos& micronucleos_simd128();

std::vector<const Micronucleos*> micronucleos_do_processador() {
    return {&micronucleos_simd128()};
}

std::vector<Isa> isas_da_construcao() {
    return {Isa::referencia, Isa::generico, Isa::simd128};
}

}  // namespace nucleos

}  // namespace sislin
