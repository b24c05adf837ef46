// The analysis of a system for the teacher, in double precision: diagonal dominance row by row,
// the spectral radii of the Jacobi and Gauss-Seidel iteration matrices, the condition number in
// the maximum norm with the digits a single-precision solution keeps, and the zero pivot that
// elimination without pivoting meets.
#pragma once

#include <optional>
#include <string>

#include "espectro.h"

namespace sislin::aula {

// log10 of x > 0 from +, -, *, / and frexp only: the same digits on every platform.
double log10_exato(double x);
// The smallest k >= 1 with raio^k <= 1e-4 (0 <= raio < 1), by repeated products; absent beyond
// a million.
std::optional<long> varreduras(double raio);
// ||A^-1|| in the maximum norm, from Gaussian elimination with partial pivoting in double;
// absent when a pivot is exactly zero.
std::optional<double> norma_inversa(const MatrizReal& a);
// The first step (1..n) at which elimination without pivoting, in single precision as the
// program computes it, meets a pivot equal to zero; 0 when it meets none.
int pivo_nulo_simples(const MatrizReal& a);

// The whole report (a the matrix as read, indexed from 0).
std::string analisa(const MatrizReal& a);

}  // namespace sislin::aula
