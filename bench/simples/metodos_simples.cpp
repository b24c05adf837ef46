// The kernels of the plain build: the straightforward loops kept with the tests.
#include "methods.h"
#include "referencia.h"

void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) { ref::SubstituicaoRetroativa(n, U, x, c); }
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) { ref::SubstituicaoProgressivaL(n, L, y, c); }
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) { ref::SubstituicaoProgressiva(n, L, x, c); }
void Eliminacao(int n, Matrix A, Vector b) { ref::Eliminacao(n, A, b); }
void GaussPivoteamentoParcial(int n, Matrix A, Vector b) { ref::GaussPivoteamentoParcial(n, A, b); }
void LU(int n, Matrix A) { ref::LU(n, A); }
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det) { ref::LUPivoteamentoParcial(n, A, pos, det); }
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) { ref::CalculaResiduo(n, b, A, x, r); }
Scalar CalculaErro(int n, Vector r) { return ref::CalculaErro(n, r); }
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) { return ref::IteracaoJacobi(n, A, b, x); }
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) { return ref::IteracaoGaussSeidel(n, A, b, x); }
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) { ref::Inversa(n, A, Inv, b, x, y); }
