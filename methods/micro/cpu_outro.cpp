// Processors without a set of their own: the portable micro-kernels only.
#include "nucleos.h"

namespace nucleos {

std::vector<const Micronucleos*> micronucleos_do_processador() {
    return {};
}

}  // namespace nucleos
