// The one dispatch point: which micro-kernels this process runs, decided on first use, and the
// public kernels of methods.h that go through it.
#include <cstdlib>
#include <cstring>

#include "methods.h"
#include "nucleos.h"

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
    }
    return "?";
}

std::vector<const Micronucleos*> conjuntos() {
    std::vector<const Micronucleos*> c{&micronucleos_generico()};
    for (const Micronucleos* k : micronucleos_do_processador()) c.push_back(k);
    return c;
}

namespace {

// SISLIN_ISA when it names a set available here; otherwise (unset, unknown, or a set this
// processor lacks) the best one, which gives the same bits as any other.
Ajuste decide() {
    Ajuste a;
    a.k = conjuntos().back();
    const char* pedido = std::getenv("SISLIN_ISA");
    if (pedido == nullptr) return a;
    if (std::strcmp(pedido, nome(Isa::referencia)) == 0) {
        a.k = nullptr;
        return a;
    }
    for (const Micronucleos* k : conjuntos())
        if (std::strcmp(pedido, nome(k->isa)) == 0) a.k = k;
    return a;
}

}  // namespace

const Ajuste& ajuste_padrao() {
    static const Ajuste a = decide();
    return a;
}

}  // namespace nucleos

void Eliminacao(int n, Matrix A, Vector b) {
    nucleos::Eliminacao(n, A, b, nucleos::ajuste_padrao());
}
void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
    nucleos::GaussPivoteamentoParcial(n, A, b, nucleos::ajuste_padrao());
}
void LU(int n, Matrix A) {
    nucleos::LU(n, A, nucleos::ajuste_padrao());
}
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det) {
    nucleos::LUPivoteamentoParcial(n, A, pos, det, nucleos::ajuste_padrao());
}
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    nucleos::Inversa(n, A, Inv, b, x, y, nucleos::ajuste_padrao());
}
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    nucleos::CalculaResiduo(n, b, A, x, r, nucleos::ajuste_padrao());
}
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    return nucleos::IteracaoJacobi(n, A, b, x, nucleos::ajuste_padrao());
}
