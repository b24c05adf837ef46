// The straightforward loops of every kernel, each statement as the method states it: the path
// for any machine (SISLIN_ISA=referencia) and the yardstick every faster path matches bit for
// bit. Same names and signatures as methods.h.
#pragma once

#include "util.h"

namespace sislin {

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

// m = -A[j][i] / A[i][i], rounded: the multiplier of step i for row j.
Scalar multiplicador(Matrix A, int j, int i);
// Step i on columns i+1..ultima of the rows below the pivot row i: ultima = n is the whole step,
// the last column of a block its panel (the columns to its right then get the step later).
// Elimination: and b.
void elimina_coluna(int n, Matrix A, Vector b, int i, int ultima);
// LU: the multiplier stored in place of the eliminated entry, as exactly -m.
void fatora_coluna(int n, Matrix A, int i, int ultima);
// The LU with pivoting starts from pos[i] = i and ends with det: the product of U's diagonal in
// row order, negated after an odd number of row exchanges.
void pos_inicial(int n, IndexVector pos);
Scalar determinante(int n, Matrix A, int trocas);

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

}  // namespace sislin
