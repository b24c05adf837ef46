// Factors the 4x4 example system with partial pivoting through the installed libraries and
// prints the determinant and the solution.
#include <sislin/methods.h>
#include <sislin/util.h>

#include <cstdio>

int main() {
    const int n = 4;
    const float dados[4][4] = {{10, -1, 2, 0}, {-1, 11, -1, 3}, {2, -1, 10, -1}, {0, 3, -1, 8}};
    const float termos[4] = {6, 25, -11, 15};
    sislin::Matrix A = sislin::cria_matriz(n + 1, n + 1);
    sislin::Vector b = sislin::cria_vetor(n + 1);
    sislin::IndexVector pos = sislin::cria_vetor_int(n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) A[i][j] = dados[i - 1][j - 1];
        b[i] = termos[i - 1];
    }
    sislin::Scalar det = 0;
    sislin::LUPivoteamentoParcial(n, A, pos, det);
    sislin::Vector x = sislin::cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i) x[i] = b[pos[i]];
    sislin::SubstituicaoProgressivaL(n, A, x, x);
    sislin::SubstituicaoRetroativa(n, A, x, x);
    std::printf("det %.1f\n", static_cast<double>(det));
    for (int i = 1; i <= n; ++i) std::printf("x%d %.4f\n", i, static_cast<double>(x[i]));
    sislin::libera_vetor(x);
    sislin::libera_vetor(pos);
    sislin::libera_vetor(b);
    sislin::libera_matriz(A, n + 1);
    return 0;
}
