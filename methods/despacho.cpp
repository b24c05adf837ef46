// The one dispatch point: which micro-kernels this process runs, decided on first use, and which
// table of kernels a setting runs with.
#include <cstdlib>
#include <cstring>
#include <string>

#include "nucleos.h"

namespace sislin {

namespace nucleos {

const char* nome(Isa isa) {
    switch (isa) {
        case Isa::referencia:
            return "referencia";
        case Isa::generico:
            return "generico";
        case Isa::avx2:
            return "avx2";
        case Isa::avx512:
            return "avx512";
        case Isa::simd128:
            return "simd128";
    }
    return "?";
}

std::vector<const Micronucleos*> conjuntos() {
    std::vector<const Micronucleos*> c{&micronucleos_generico()};
    for (const Micronucleos* k : micronucleos_do_processador()) c.push_back(k);
    return c;
}

// SISLIN_ISA when it names a set available here; otherwise (unset, unknown, or a set this
// processor lacks) the best one, which gives the same bits as any other.
Escolha escolhe(const char* pedido) {
    Escolha e;
    e.a.k = conjuntos().back();
    e.motivo = "o melhor deste processador";
    if (pedido == nullptr || *pedido == '\0') return e;
    const std::string sislin_isa = std::string("SISLIN_ISA=") + pedido;
    if (std::strcmp(pedido, nome(Isa::referencia)) == 0) {
        e.a.k = nullptr;
        e.motivo = sislin_isa;
        return e;
    }
    for (const Micronucleos* k : conjuntos())
        if (std::strcmp(pedido, nome(k->isa)) == 0) {
            e.a.k = k;
            e.motivo = sislin_isa;
            return e;
        }
    bool conhecido = false;
    for (Isa isa : kIsas) conhecido = conhecido || std::strcmp(pedido, nome(isa)) == 0;
    e.motivo += "; " + sislin_isa +
                (conhecido ? " indisponivel neste processador" : " desconhecido") + ", ignorado";
    return e;
}

namespace {

// The line names the set kept for the process, and why.
Ajuste decide() {
    const Escolha e = escolhe(std::getenv("SISLIN_ISA"));
    const char* depura = std::getenv("SISLIN_ISA_DEBUG");
    if (depura != nullptr && *depura != '\0' && std::strcmp(depura, "0") != 0) {
        const char* conjunto = e.a.k == nullptr ? nome(Isa::referencia) : nome(e.a.k->isa);
        escreve_erro(
            ("sislin: conjunto " + std::string(conjunto) + " (" + e.motivo + ")\n").c_str());
    }
    return e.a;
}

}  // namespace

const Ajuste& ajuste_padrao() {
    static const Ajuste a = decide();
    return a;
}

// The one choice between the straightforward loops and the fast algorithms: the fast table
// starts from the straightforward loops and takes each fast algorithm in its slot.
const Tabela& tabela(const Ajuste& a) {
    static const Tabela rapida = [] {
        Tabela t = tabela_referencia();
        for (void (*poe)(Tabela&) : {rapido::progressiva, rapido::eliminacao, rapido::lu,
                                     rapido::inversa, rapido::residuo, rapido::iterativos})
            poe(t);
        return t;
    }();
    return a.k == nullptr ? tabela_referencia() : rapida;
}

}  // namespace nucleos

}  // namespace sislin
