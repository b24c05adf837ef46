// The data files of a run.
#pragma once

#include "vetores.h"

namespace sislin {

// Data files: whitespace-separated numbers, each converted as "%g" into a Scalar.
// A file that cannot be opened, or that ends or holds text that is not a number before every
// place is filled, is reported; the process then reads one character and ends with status 1.
void le_arq_matriz(const char* path, int rows, int cols, Matrix m);
void le_arq_vetor(const char* path, int n, Vector v);
// Creates path or cuts it to length zero.
void limpa_arquivo(const char* path);

}  // namespace sislin
