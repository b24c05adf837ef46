// The analysis of a system for the teacher, in double precision: diagonal dominance row by row,
// the spectral radii of the Jacobi and Gauss-Seidel iteration matrices, the condition number in
// the maximum norm with the digits a single-precision solution keeps, and the zero pivot that
// elimination without pivoting meets. The figures are computed once (analisa) and written two
// ways: the text report and the JSON object of --json (docs/sislin-aula.schema.json).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "espectro.h"

namespace sislin::aula {

// log10 of x > 0 from +, -, *, / and frexp only: the same digits on every platform.
double log10_exato(double x);
// The smallest k >= 1 with raio^k <= 1e-4 (0 <= raio < 1), by repeated products; absent beyond
// a million.
std::optional<long> varreduras(double raio);
// ||A^-1|| in the maximum norm, from Gauss-Jordan elimination with partial pivoting in double;
// absent when a pivot is exactly zero. A NaN entry gives NaN.
std::optional<double> norma_inversa(const MatrizReal& a);
// The first step (1..n) at which elimination without pivoting, in single precision as the
// program computes it, meets a pivot equal to zero; 0 when it meets none.
int pivo_nulo_simples(const MatrizReal& a);

enum class Dominancia : std::uint8_t { Estrita, Fraca, Nenhuma };

struct LinhaDominancia {
    double diagonal;  // |a_ii|
    double outros;    // the sum of the other |a_ij| of the row
    Dominancia tipo;
};

// One iterative method: its iteration matrix's spectral radius and what follows from it.
struct ResultadoIteracao {
    const char* metodo;  // the record's name: "jacobi" or "gauss-seidel"
    // A zero on the diagonal of A: there is no iteration matrix, the method does not converge.
    bool diagonal_nula = false;
    // Absent when the QR iteration does not settle or gives NaN ("nao determinado").
    std::optional<double> raio;
    // The sweeps for 1e-4 when raio < 1; absent beyond a million.
    std::optional<long> varreduras;

    // True (raio < 1), false (raio >= 1, or a zero diagonal), absent (not determined).
    std::optional<bool> converge() const;
};

// The maximum norms and the condition number. A is called singular when the elimination meets
// a pivot exactly zero.
struct Normas {
    double a = 0.0;  // ||A||
    bool singular = false;
    double inversa = 0.0;  // ||A^-1|| (when not singular)
    double kappa = 0.0;    // ||A|| ||A^-1|| (when not singular)
    // 7.22 - log10 kappa, when kappa is finite and at least 1 (at most 0: none is left).
    std::optional<double> digitos;
};

struct Analise {
    std::vector<LinhaDominancia> linhas;
    Dominancia conclusao = Dominancia::Estrita;
    ResultadoIteracao jacobi{"jacobi", false, std::nullopt, std::nullopt};
    ResultadoIteracao gauss_seidel{"gauss-seidel", false, std::nullopt, std::nullopt};
    Normas normas;
    int pivo_nulo = 0;  // pivo_nulo_simples
};

// Every figure of the analysis (a the matrix as read, indexed from 0).
Analise analisa(const MatrizReal& a);
// The report as sislin-aula analise prints it.
std::string texto_analise(const Analise& r);
// The JSON object of sislin-aula analise --json (one line, no line end); it holds the text too.
std::string json_analise(const Analise& r);

}  // namespace sislin::aula
