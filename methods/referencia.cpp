// The straightforward loops of every kernel, each statement as the method states it, evaluated
// in double and rounded once to a Scalar when stored: the path for any machine
// (SISLIN_ISA=referencia) and the yardstick every faster path matches bit for bit.
#include <cmath>

#include "nucleos.h"
#include "passos.h"

namespace sislin::nucleos {

namespace {

using passos::atualiza_mudanca;
using passos::elimina_coluna;
using passos::fatora_coluna;
using passos::pivo;
using passos::troca_linhas;

// The sum of a[j]·v[j] over j = j0..j1, column pula skipped (a row's own diagonal in a sweep;
// 0: none): it starts at 0 and takes its terms in increasing order, each new sum rounded.
Scalar soma(const Scalar* a, const Scalar* v, int j0, int j1, int pula = 0) {
    Scalar sum = 0.0f;
    for (int j = j0; j <= j1; ++j)
        if (j != pula)
            sum = static_cast<Scalar>(static_cast<double>(a[j]) * static_cast<double>(v[j]) +
                                      static_cast<double>(sum));
    return sum;
}

// An unknown from its row: (c - sum) / d, rounded.
Scalar incognita(Scalar c, Scalar sum, Scalar d) {
    return static_cast<Scalar>((static_cast<double>(c) - static_cast<double>(sum)) /
                               static_cast<double>(d));
}

// ---- substituicao
void SubstituicaoRetroativa(const Ajuste& /*a*/, int n, Matrix U, Vector x, Vector c) {
    for (int i = n; i >= 1; --i) x[i] = incognita(c[i], soma(U[i], x, i + 1, n), U[i][i]);
}

void SubstituicaoProgressivaL(const Ajuste& /*a*/, int n, Matrix L, Vector y, Vector c) {
    // The diagonal of L is 1 and is not read.
    for (int i = 1; i <= n; ++i)
        y[i] = static_cast<Scalar>(static_cast<double>(c[i]) -
                                   static_cast<double>(soma(L[i], y, 1, i - 1)));
}

void SubstituicaoProgressiva(const Ajuste& /*a*/, int n, Matrix L, Vector x, Vector c) {
    for (int i = 1; i <= n; ++i) x[i] = incognita(c[i], soma(L[i], x, 1, i - 1), L[i][i]);
}

// ---- eliminacao
void Eliminacao(const Ajuste& /*a*/, int n, Matrix A, Vector b) {
    for (int i = 1; i <= n - 1; ++i) elimina_coluna(n, A, b, i, n);
}

void GaussPivoteamentoParcial(const Ajuste& /*a*/, int n, Matrix A, Vector b) {
    for (int i = 1; i <= n - 1; ++i) {
        troca_linhas(n, A, b, i, pivo(n, A, i));
        elimina_coluna(n, A, b, i, n);
    }
}

// ---- lu
void LU(const Ajuste& /*a*/, int n, Matrix A) {
    for (int i = 1; i <= n - 1; ++i) fatora_coluna(n, A, i, n);
}

void LUPivoteamentoParcial(const Ajuste& /*a*/, int n, Matrix A, IndexVector pos, Scalar& det) {
    passos::pos_inicial(n, pos);
    int trocas = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const int p = pivo(n, A, i);
        if (p != i) {
            ++trocas;
            troca_linhas(n, A, pos, i, p);
        }
        fatora_coluna(n, A, i, n);
    }
    det = passos::determinante(n, A, trocas);
}

// ---- residuo
void CalculaResiduo(const Ajuste& /*a*/, int n, Vector b, Matrix A, Vector x, Vector r) {
    for (int i = 1; i <= n; ++i)
        r[i] = static_cast<Scalar>(static_cast<double>(b[i]) -
                                   static_cast<double>(soma(A[i], x, 1, n)));
}

Scalar CalculaErro(const Ajuste& /*a*/, int n, Vector r) {
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        if (std::isnan(r[i])) return std::fabs(r[i]);
        if (std::fabs(r[i]) > e) e = std::fabs(r[i]);
    }
    return e;
}

// ---- iterativos
Scalar IteracaoJacobi(const Ajuste& /*a*/, int n, Matrix A, Vector b, Vector x) {
    // Every unknown of the sweep is computed from the values before it.
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        x[i] = incognita(b[i], soma(A[i], antigo, 1, n, i), A[i][i]);
        atualiza_mudanca(e, x[i], antigo[i]);
    }
    libera_vetor(antigo);
    return e;
}

Scalar IteracaoGaussSeidel(const Ajuste& /*a*/, int n, Matrix A, Vector b, Vector x) {
    // Unknowns before i already hold this sweep's values, those after i the previous ones.
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        const Scalar antigo = x[i];
        x[i] = incognita(b[i], soma(A[i], x, 1, n, i), A[i][i]);
        atualiza_mudanca(e, x[i], antigo);
    }
    return e;
}

// ---- inversa
void Inversa(const Ajuste& a, int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) Inv[j][i] = 0.0f;
        Inv[i][i] = 1.0f;
        for (int j = 1; j <= n; ++j) b[j] = Inv[j][i];
        SubstituicaoProgressivaL(a, n, A, y, b);
        SubstituicaoRetroativa(a, n, A, x, y);
        for (int j = 1; j <= n; ++j) Inv[j][i] = x[j];
    }
}

}  // namespace

const Tabela& tabela_referencia() {
    // In the order of the slots.
    static constexpr Tabela t{SubstituicaoRetroativa,
                              SubstituicaoProgressivaL,
                              SubstituicaoProgressiva,
                              Eliminacao,
                              GaussPivoteamentoParcial,
                              LU,
                              LUPivoteamentoParcial,
                              CalculaResiduo,
                              CalculaErro,
                              IteracaoJacobi,
                              IteracaoGaussSeidel,
                              Inversa};
    return t;
}

}  // namespace sislin::nucleos
