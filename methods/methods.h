// Linear-system kernels: triangular substitution, Gaussian elimination, LU factorisation,
// residual and error, Jacobi and Gauss-Seidel sweeps. No console input or output.
//
// Every statement is evaluated in double and only the stored value is rounded to a Scalar.
#pragma once

#include "util.h"

namespace sislin {

// U·x = c, backwards from i = n; reads U on and above the diagonal. x may be c.
void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c);
// L·y = c with a unit diagonal; reads L strictly below the diagonal. y may be c.
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c);
// L·x = c; reads L on and below the diagonal. x may be c.
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c);

// Reduces A·x = b to upper-triangular form in place (below the diagonal stays stale).
void Eliminacao(int n, Matrix A, Vector b);
void GaussPivoteamentoParcial(int n, Matrix A, Vector b);

// In-place Doolittle factorisation: U on and above the diagonal, multipliers below.
void LU(int n, Matrix A);
// Also fills the row permutation pos (row i of the factors is row pos[i] of A) and det.
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det);

// r = b - A·x (note: b before A).
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r);
// max |r[i]|; NaN (without sign) when some r[i] is NaN.
Scalar CalculaErro(int n, Vector r);

// One sweep each; returns the largest absolute change of an unknown, or NaN when the change of
// some unknown is NaN (every unknown is updated all the same).
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x);
Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x);

// Inverse from the factors held in A (as left by LU or LUPivoteamentoParcial): column i of Inv
// solves L·y = e_i, U·x = y. Leaves b = e_n, y and x holding the last column's values.
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y);

}  // namespace sislin
