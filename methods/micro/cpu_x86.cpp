// x86-64: which of the sets of this processor family the running processor can execute. This
// file is compiled without any instruction-set flag, so that it runs anywhere.
#include "nucleos.h"

namespace sislin {

namespace nucleos {

const Micronucleos& micronucleos_avx2();
const Micronucleos& micronucleos_avx512();

std::vector<const Micronucleos*> micronucleos_do_processador() {
    __builtin_cpu_init();
    std::vector<const Micronucleos*> k;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {
        k.push_back(&micronucleos_avx2());
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl"))
            k.push_back(&micronucleos_avx512());
    }
    return k;
}

std::vector<Isa> isas_da_construcao() {
    return {Isa::referencia, Isa::generico, Isa::avx2, Isa::avx512};
}

}  // namespace nucleos

}  // namespace sislin
