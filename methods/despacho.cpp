// The one dispatch point: which micro-kernels this process runs, decided on first use, and every
// public kernel of methods.h, each either the straightforward loops or a fast algorithm.
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "methods.h"
#include "nucleos.h"
#include "referencia.h"

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

// The one choice between the straightforward loops and a fast algorithm.
template <typename R, typename... Args>
R executa(const Ajuste& a, R (*simples)(Args...),
          R (*rapido)(const Micronucleos&, const Tamanhos&, Args...),
          std::type_identity_t<Args>... args) {
    if (a.k == nullptr) return simples(args...);
    return rapido(*a.k, a.t, args...);
}

}  // namespace

const Ajuste& ajuste_padrao() {
    static const Ajuste a = decide();
    return a;
}

void Eliminacao(int n, Matrix A, Vector b, const Ajuste& a) {
    executa(a, referencia::Eliminacao, rapido::Eliminacao, n, A, b);
}
void GaussPivoteamentoParcial(int n, Matrix A, Vector b, const Ajuste& a) {
    executa(a, referencia::GaussPivoteamentoParcial, rapido::GaussPivoteamentoParcial, n, A, b);
}
void LU(int n, Matrix A, const Ajuste& a) {
    executa(a, referencia::LU, rapido::LU, n, A);
}
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det, const Ajuste& a) {
    executa(a, referencia::LUPivoteamentoParcial, rapido::LUPivoteamentoParcial, n, A, pos, det);
}
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c, const Ajuste& a) {
    executa(a, referencia::SubstituicaoProgressivaL, rapido::SubstituicaoProgressivaL, n, L, y, c);
}
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c, const Ajuste& a) {
    executa(a, referencia::SubstituicaoProgressiva, rapido::SubstituicaoProgressiva, n, L, x, c);
}
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y, const Ajuste& a) {
    executa(a, referencia::Inversa, rapido::Inversa, n, A, Inv, b, x, y);
}
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r, const Ajuste& a) {
    executa(a, referencia::CalculaResiduo, rapido::CalculaResiduo, n, b, A, x, r);
}
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x, const Ajuste& a) {
    return executa(a, referencia::IteracaoJacobi, rapido::IteracaoJacobi, n, A, b, x);
}

}  // namespace nucleos

// ---- The public kernels of methods.h: the process's own set where there is a fast algorithm,
// the straightforward loops where each unknown needs the one before it from its first term (the
// backward substitution and Gauss-Seidel) or there is nothing to gain (the error).
void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) {
    referencia::SubstituicaoRetroativa(n, U, x, c);
}
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) {
    nucleos::SubstituicaoProgressivaL(n, L, y, c, nucleos::ajuste_padrao());
}
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) {
    nucleos::SubstituicaoProgressiva(n, L, x, c, nucleos::ajuste_padrao());
}
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
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    nucleos::CalculaResiduo(n, b, A, x, r, nucleos::ajuste_padrao());
}
Scalar CalculaErro(int n, Vector r) {
    return referencia::CalculaErro(n, r);
}
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    return nucleos::IteracaoJacobi(n, A, b, x, nucleos::ajuste_padrao());
}
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    return referencia::IteracaoGaussSeidel(n, A, b, x);
}
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    nucleos::Inversa(n, A, Inv, b, x, y, nucleos::ajuste_padrao());
}

}  // namespace sislin
