// Triangular substitution and Gauss-Seidel: each unknown needs the one before it, so these keep
// the straightforward loops.
#include "methods.h"
#include "referencia.h"

void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) {
    referencia::SubstituicaoRetroativa(n, U, x, c);
}
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) {
    referencia::SubstituicaoProgressivaL(n, L, y, c);
}
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) {
    referencia::SubstituicaoProgressiva(n, L, x, c);
}
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    return referencia::IteracaoGaussSeidel(n, A, b, x);
}
Scalar CalculaErro(int n, Vector r) {
    return referencia::CalculaErro(n, r);
}
