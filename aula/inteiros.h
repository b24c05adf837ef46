// Exact arithmetic on integer matrices, for the decisions of the exercise generator: the
// determinant, the leading principal minors (the pivots of elimination without pivoting are
// their quotients) and the condition number in the maximum norm as an exact fraction. Every
// product and sum is checked; a result that would leave 64 bits is reported as absent, and the
// generator then draws another matrix, so that the decision is the same on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace sislin::aula {

// Square, indexed from 0.
using MatrizInt = std::vector<std::vector<std::int64_t>>;
using VetorInt = std::vector<std::int64_t>;

MatrizInt matriz_int(int n);

std::optional<std::int64_t> determinante(MatrizInt a);
// The first k (1..n) whose leading k x k minor is zero (the step at which elimination without
// pivoting meets a zero pivot), 0 when none is.
std::optional<int> primeiro_menor_nulo(MatrizInt a);

// The condition number in the maximum norm, ||A|| ||A^-1||, as numerador / denominador:
// ||A|| times the norm of the adjugate, over |det A|. Absent when A is singular.
struct Fracao {
    std::int64_t numerador;
    std::int64_t denominador;
};
std::optional<Fracao> condicao(const MatrizInt& a);
// minimo <= f <= maximo (false when a product would leave 64 bits).
bool entre(const Fracao& f, std::int64_t minimo, std::int64_t maximo);

// |a_ii| > sum of |a_ij| over j != i, for every row.
bool estritamente_dominante(const MatrizInt& a);
// The sum of |a_ij| over row i without its diagonal (no overflow for the entries made here).
std::int64_t soma_fora(const MatrizInt& a, std::size_t i);
std::optional<VetorInt> produto(const MatrizInt& a, const VetorInt& x);
std::int64_t maior_modulo(const MatrizInt& a);

}  // namespace sislin::aula
