// The public kernels of methods.h, each through its slot of the dispatch table with the process's
// own setting.
#include <utility>

#include "methods.h"
#include "nucleos.h"

namespace sislin {

namespace {

// By reference: det is an output.
template <auto kSlot, typename... A>
auto padrao(A&&... args) {
    return nucleos::executa(nucleos::ajuste_padrao(), kSlot, std::forward<A>(args)...);
}

}  // namespace

// The backward substitution and Gauss-Seidel (each unknown needs the one before it from its
// first term) and the error (nothing to gain) have the straightforward loops in every table.
void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) {
    padrao<&nucleos::Tabela::SubstituicaoRetroativa>(n, U, x, c);
}
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) {
    padrao<&nucleos::Tabela::SubstituicaoProgressivaL>(n, L, y, c);
}
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) {
    padrao<&nucleos::Tabela::SubstituicaoProgressiva>(n, L, x, c);
}
void Eliminacao(int n, Matrix A, Vector b) {
    padrao<&nucleos::Tabela::Eliminacao>(n, A, b);
}
void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
    padrao<&nucleos::Tabela::GaussPivoteamentoParcial>(n, A, b);
}
void LU(int n, Matrix A) {
    padrao<&nucleos::Tabela::LU>(n, A);
}
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det) {
    padrao<&nucleos::Tabela::LUPivoteamentoParcial>(n, A, pos, det);
}
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    padrao<&nucleos::Tabela::CalculaResiduo>(n, b, A, x, r);
}
Scalar CalculaErro(int n, Vector r) {
    return padrao<&nucleos::Tabela::CalculaErro>(n, r);
}
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    return padrao<&nucleos::Tabela::IteracaoJacobi>(n, A, b, x);
}
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    return padrao<&nucleos::Tabela::IteracaoGaussSeidel>(n, A, b, x);
}
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    padrao<&nucleos::Tabela::Inversa>(n, A, Inv, b, x, y);
}

}  // namespace sislin
