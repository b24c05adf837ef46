// Eigenvalues of a small real matrix in double precision, and the iteration matrices of the
// Jacobi and Gauss-Seidel methods, for the spectral radius that decides their convergence.
//
// The matrix is reduced to upper Hessenberg form by stabilised elementary similarity transforms
// (Gaussian elimination with row exchanges), and the Hessenberg matrix is brought to
// quasi-triangular form by the shifted QR algorithm with Francis's implicit double shift, which
// finds a complex-conjugate pair as a 2 x 2 block in real arithmetic. Only +, -, *, / and sqrt
// are used (each correctly rounded by IEEE 754), so the results are the same on every platform.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

namespace sislin::aula {

// Square, indexed from 0.
using MatrizReal = std::vector<std::vector<double>>;

// The larger of a and b, NaN when either is: a NaN wins in any order, so that it is seen.
inline double maior_ou_nan(double a, double b) {
    if (std::isnan(a)) return a;
    return std::isnan(b) || b > a ? b : a;
}

struct Autovalores {
    std::vector<double> real;
    std::vector<double> imaginaria;
};

// Absent when the QR iteration does not settle within 30 steps for some eigenvalue.
std::optional<Autovalores> autovalores(const MatrizReal& a);
// The largest modulus of an eigenvalue of a.
std::optional<double> raio_espectral(const MatrizReal& a);

// -D^-1 (L + U) and -(D + L)^-1 U, for A = L + D + U; absent when some a_ii is zero.
std::optional<MatrizReal> matriz_jacobi(const MatrizReal& a);
std::optional<MatrizReal> matriz_gauss_seidel(const MatrizReal& a);

}  // namespace sislin::aula
