// A system in single precision as sislin holds it: A, b and x with n + 1 places each (used 1 to
// n), created with the utility library and released with it when the owner goes.
#pragma once

#include "util.h"

namespace sislin::aula {

struct SistemaEmFloat {
    int n;
    Matrix A;
    Vector b;
    Vector x;

    explicit SistemaEmFloat(int dimensao)
        : n(dimensao),
          A(cria_matriz(dimensao + 1, dimensao + 1)),
          b(cria_vetor(dimensao + 1)),
          x(cria_vetor(dimensao + 1)) {}
    SistemaEmFloat(const SistemaEmFloat&) = delete;
    SistemaEmFloat& operator=(const SistemaEmFloat&) = delete;
    SistemaEmFloat(SistemaEmFloat&&) = delete;
    SistemaEmFloat& operator=(SistemaEmFloat&&) = delete;
    ~SistemaEmFloat() {
        libera_matriz(A, n + 1);
        libera_vetor(b);
        libera_vetor(x);
    }
};

}  // namespace sislin::aula
