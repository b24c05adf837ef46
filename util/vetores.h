// The shared array types, their creation and release, and the small vector services.
#pragma once

namespace sislin {

// One stored value of the system: every array element, sum, multiplier and error.
using Scalar = float;
// Arrays are indexed 1..n; every array has n + 1 places and place 0 is not used.
using Vector = Scalar*;
using IndexVector = int*;
using Matrix = Scalar**;  // n + 1 row pointers, each row a separate block of n + 1 Scalars

// ---- Creation and release. A failed creation prints its message and ends the process (1).
// Every created array is filled with zeros.
Vector cria_vetor(int count);
IndexVector cria_vetor_int(int count);
Matrix cria_matriz(int rows, int cols);
void libera_vetor(Vector v);
void libera_vetor(IndexVector v);
void libera_matriz(Matrix m, int rows);

// v[0..n] = 0 (n + 1 places, place 0 included).
void inicializa_vetor(Vector v, int n);
// dst[i] = src[i] for i = 1..n; place 0 is not touched.
void atualiza_vetor(Vector dst, const Scalar* src, int n);

// Prints "name[ i]=v[i] \n" for i = 1..n ("%s[%2d]=%g \n").
void imprime_vetor(const char* name, const Scalar* v, int n);
// Prints the label of entry i of a printed vector: "name[ i]=" ("%s[%2d]=").
void imprime_rotulo(const char* name, int i);

// A pseudo-random Scalar between a and b; a when a == b. Never seeds the generator.
Scalar randomico(Scalar a, Scalar b);

}  // namespace sislin
