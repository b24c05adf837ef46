// The dispatch of the plain build: the straightforward loops of methods/referencia.cpp alone,
// behind the same public kernels (methods/metodos.cpp).
#include "nucleos.h"

namespace sislin::nucleos {

const Ajuste& ajuste_padrao() {
    static const Ajuste a;
    return a;
}

const Tabela& tabela(const Ajuste& /*a*/) {
    return tabela_referencia();
}

}  // namespace sislin::nucleos
