// The straightforward loops of every kernel, each statement as the method states it: the path
// for any machine (SISLIN_ISA=referencia) and the yardstick every faster path matches bit for
// bit. Same names and signatures as methods.h.
#pragma once

#include "util.h"

namespace referencia {

void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c);
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c);
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c);

// Pivot search for step i: the first row with the strictly largest magnitude wins; row i keeps
// the pivot on ties, and a NaN never wins.
int pivo(int n, Matrix A, int i);
// Elimination: rows i and p exchanged over columns i..n only (columns 1..i-1 stay), and b[i],
// b[p]; done even when p == i.
void troca_linhas(int n, Matrix A, Vector b, int i, int p);
// LU: whole rows exchanged, so the multipliers already stored travel with their rows; and pos.
void troca_linhas(int n, Matrix A, IndexVector pos, int i, int p);

void Eliminacao(int n, Matrix A, Vector b);
void GaussPivoteamentoParcial(int n, Matrix A, Vector b);

void LU(int n, Matrix A);
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det);

void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r);
Scalar CalculaErro(int n, Vector r);

Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x);
// The change of a sweep, e, after an unknown went from antigo to novo: the change measured
// unrounded in double, stored rounded when strictly larger; the first NaN change stays.
void atualiza_mudanca(Scalar& e, Scalar novo, Scalar antigo);
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x);

void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y);

}  // namespace referencia
