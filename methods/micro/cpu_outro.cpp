// Processors without a set of their own: the portable micro-kernels only.
#include "nucleos.h"

namespace sislin {

namespace nucleos {

std::vector<const Micronucleos*> micronucleos_do_processador() {
    return {};
}

std::vector<Isa> isas_da_construcao() {
    return {Isa::referencia, Isa::generico};
}

}  // namespace nucleos

}  // namespace sislin
