// The straightforward loops: one statement evaluated in double and rounded once to a Scalar when
// stored.
#include "referencia.h"

#include <cmath>
#include <utility>

namespace sislin {

namespace referencia {

// ---- substituicao
void SubstituicaoRetroativa(int n, Matrix U, Vector x, Vector c) {
    for (int i = n; i >= 1; --i) {
        Scalar sum = 0.0f;
        for (int j = i + 1; j <= n; ++j)
            sum = static_cast<Scalar>(static_cast<double>(U[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        x[i] = static_cast<Scalar>((static_cast<double>(c[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(U[i][i]));
    }
}

void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c) {
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= i - 1; ++j)
            sum = static_cast<Scalar>(static_cast<double>(L[i][j]) * static_cast<double>(y[j]) +
                                      static_cast<double>(sum));
        // The diagonal of L is 1 and is not read.
        y[i] = static_cast<Scalar>(static_cast<double>(c[i]) - static_cast<double>(sum));
    }
}

void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c) {
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= i - 1; ++j)
            sum = static_cast<Scalar>(static_cast<double>(L[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        x[i] = static_cast<Scalar>((static_cast<double>(c[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(L[i][i]));
    }
}

// ---- eliminacao
int pivo(int n, Matrix A, int i) {
    Scalar best = std::fabs(A[i][i]);
    int p = i;
    for (int j = i; j <= n; ++j) {
        if (std::fabs(A[j][i]) > best) {
            best = std::fabs(A[j][i]);
            p = j;
        }
    }
    return p;
}

void troca_linhas(int n, Matrix A, Vector b, int i, int p) {
    for (int k = i; k <= n; ++k) std::swap(A[i][k], A[p][k]);
    std::swap(b[i], b[p]);
}

void troca_linhas(int n, Matrix A, IndexVector pos, int i, int p) {
    for (int k = 1; k <= n; ++k) std::swap(A[i][k], A[p][k]);
    std::swap(pos[i], pos[p]);
}

Scalar multiplicador(Matrix A, int j, int i) {
    return static_cast<Scalar>(-static_cast<double>(A[j][i]) / static_cast<double>(A[i][i]));
}

void elimina_coluna(int n, Matrix A, Vector b, int i, int ultima) {
    for (int j = i + 1; j <= n; ++j) {
        const double m = static_cast<double>(multiplicador(A, j, i));
        for (int k = i + 1; k <= ultima; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * m +
                                          static_cast<double>(A[j][k]));
        b[j] = static_cast<Scalar>(static_cast<double>(b[i]) * m + static_cast<double>(b[j]));
    }
}

void Eliminacao(int n, Matrix A, Vector b) {
    for (int i = 1; i <= n - 1; ++i) elimina_coluna(n, A, b, i, n);
}

void GaussPivoteamentoParcial(int n, Matrix A, Vector b) {
    for (int i = 1; i <= n - 1; ++i) {
        troca_linhas(n, A, b, i, pivo(n, A, i));
        elimina_coluna(n, A, b, i, n);
    }
}

// ---- lu
void fatora_coluna(int n, Matrix A, int i, int ultima) {
    for (int j = i + 1; j <= n; ++j) {
        const Scalar m = multiplicador(A, j, i);
        for (int k = i + 1; k <= ultima; ++k)
            A[j][k] = static_cast<Scalar>(static_cast<double>(A[i][k]) * static_cast<double>(m) +
                                          static_cast<double>(A[j][k]));
        A[j][i] = -m;
    }
}

void pos_inicial(int n, IndexVector pos) {
    for (int i = 1; i <= n; ++i) pos[i] = i;
}

Scalar determinante(int n, Matrix A, int trocas) {
    Scalar det = 1.0f;
    for (int i = 1; i <= n; ++i)
        det = static_cast<Scalar>(static_cast<double>(det) * static_cast<double>(A[i][i]));
    return trocas % 2 != 0 ? -det : det;
}

void LU(int n, Matrix A) {
    for (int i = 1; i <= n - 1; ++i) fatora_coluna(n, A, i, n);
}

void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det) {
    pos_inicial(n, pos);
    int trocas = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const int p = pivo(n, A, i);
        if (p != i) {
            ++trocas;
            troca_linhas(n, A, pos, i, p);
        }
        fatora_coluna(n, A, i, n);
    }
    det = determinante(n, A, trocas);
}

// ---- residuo
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r) {
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j)
            sum = static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        r[i] = static_cast<Scalar>(static_cast<double>(b[i]) - static_cast<double>(sum));
    }
}

Scalar CalculaErro(int n, Vector r) {
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        if (std::isnan(r[i])) return std::fabs(r[i]);
        if (std::fabs(r[i]) > e) e = std::fabs(r[i]);
    }
    return e;
}

// ---- iterativos
void atualiza_mudanca(Scalar& e, Scalar novo, Scalar antigo) {
    if (std::isnan(e)) return;  // the first NaN change stays the sweep's result
    const double d = std::fabs(static_cast<double>(novo) - static_cast<double>(antigo));
    if (d > static_cast<double>(e) || std::isnan(d)) e = static_cast<Scalar>(d);
}

Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x) {
    // Every unknown of the sweep is computed from the values before it.
    Vector antigo = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) antigo[i] = x[i];
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j) {
            if (j == i) continue;
            sum =
                static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(antigo[j]) +
                                    static_cast<double>(sum));
        }
        x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(A[i][i]));
        atualiza_mudanca(e, x[i], antigo[i]);
    }
    libera_vetor(antigo);
    return e;
}

Scalar IteracaoGaussSeidel(int n, Matrix A, Vector b, Vector x) {
    // Unknowns before i already hold this sweep's values, those after i the previous ones.
    Scalar e = 0.0f;
    for (int i = 1; i <= n; ++i) {
        const Scalar antigo = x[i];
        Scalar sum = 0.0f;
        for (int j = 1; j <= n; ++j) {
            if (j == i) continue;
            sum = static_cast<Scalar>(static_cast<double>(A[i][j]) * static_cast<double>(x[j]) +
                                      static_cast<double>(sum));
        }
        x[i] = static_cast<Scalar>((static_cast<double>(b[i]) - static_cast<double>(sum)) /
                                   static_cast<double>(A[i][i]));
        atualiza_mudanca(e, x[i], antigo);
    }
    return e;
}

// ---- inversa
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) Inv[j][i] = 0.0f;
        Inv[i][i] = 1.0f;
        for (int j = 1; j <= n; ++j) b[j] = Inv[j][i];
        SubstituicaoProgressivaL(n, A, y, b);
        SubstituicaoRetroativa(n, A, x, y);
        for (int j = 1; j <= n; ++j) Inv[j][i] = x[j];
    }
}

}  // namespace referencia

}  // namespace sislin
