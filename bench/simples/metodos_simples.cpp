// The kernels of the plain build: the straightforward loops of methods/referencia.cpp alone.
#include "methods.h"
#include "referencia.h"

namespace sislin {

void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) {
    referencia::SubstituicaoRetroativa(n, U, x, c);
}
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) {
    referencia::SubstituicaoProgressivaL(n, L, y, c);
}
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) {
    referencia::SubstituicaoProgressiva(n, L, x, c);
}
void Eliminacao(int n, Matrix A, Vector b) {
    referencia::Eliminacao(n, A, b);
}
void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
    referencia::GaussPivoteamentoParcial(n, A, b);
}
void LU(int n, Matrix A) {
    referencia::LU(n, A);
}
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det) {
    referencia::LUPivoteamentoParcial(n, A, pos, det);
}
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    referencia::CalculaResiduo(n, b, A, x, r);
}
Scalar CalculaErro(int n, Vector r) {
    return referencia::CalculaErro(n, r);
}
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    return referencia::IteracaoJacobi(n, A, b, x);
}
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    return referencia::IteracaoGaussSeidel(n, A, b, x);
}
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    referencia::Inversa(n, A, Inv, b, x, y);
}

}  // namespace sislin
