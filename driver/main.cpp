// sislin: solves one linear system A·x = b read from b7.txt and a7.txt by the classical direct
// and iterative methods, showing every intermediate result.
#include <climits>
#include <initializer_list>

#include "menus.h"
#include "methods.h"
#include "util.h"

namespace sislin {
namespace {

// Matrix layouts. Upper: only the upper triangle carries a result after elimination, so the
// places below the diagonal print as 0 whatever they hold. Full: every entry.
void imprime_superior(int n, Matrix A) {
    for (int i = 1; i <= n; i++) {
        for (int j = 1; j < i; j++) escreve("0\t");
        escreve_sequencia_f74(A[i] + (i - 1), n - i + 1, "\t");  // columns i..n
        escreve("\n");
    }
}

void imprime_cheia(int n, Matrix M) {
    for (int i = 1; i <= n; i++) {
        escreve_sequencia_f74(M[i], n, "\t");
        escreve("\n");
    }
}

// One line of the iteration table without its error column: k, then the unknowns.
void imprime_iteracao(int k, int n, const Scalar* x) {
    escreve_int(k);
    escreve("\t");
    escreve_sequencia_f74(x, n, "\t");
}

// Reads a reply with le (le_real or le_inteiro), asking again after one that is not a number.
// False at the end of input.
template <typename T>
bool pergunta(const char* prompt, T& v, Leitura (*le)(T&)) {
    for (;;) {
        escreve(prompt);
        const Leitura lido = le(v);
        if (lido != Leitura::Invalida) return lido == Leitura::Ok;
    }
}

// The dimension: a non-negative 32-bit integer; anything else is asked for again. False (after
// a line end) at the end of input.
bool le_dimensao(int& n) {
    for (;;) {
        escreve("Entre com a dimensao da matriz = ");
        const Leitura lido = le_inteiro(n);
        if (lido == Leitura::Fim) {
            escreve("\n");
            return false;
        }
        if (lido == Leitura::Ok) {
            if (n >= 0) return true;
            descarta_linha();
        }
    }
}

// The data as read, echoed, and kept in A0 and b0.
void ecoa_e_guarda(int n, Matrix A, Matrix A0, Vector b, Vector b0) {
    escreve("Matriz lida:\n");
    for (int i = 1; i <= n; i++) {
        escreve_sequencia_g(A[i], n, " \t");
        escreve("\n");
        for (int j = 1; j <= n; j++) A0[i][j] = A[i][j];
    }
    escreve("Vetor de termos independentes lido:\n");
    escreve_sequencia_g(b, n, " \n");
    for (int i = 1; i <= n; i++) b0[i] = b[i];
}

// Choices 1 and 2: elimination, the upper triangle, back substitution, the solution.
void resolve_por_gauss(int n, Matrix A, Vector b, Vector x, void (*elimina)(int, Matrix, Vector)) {
    elimina(n, A, b);
    escreve("Matriz A resultante:\n");
    imprime_superior(n, A);
    SubstituicaoRetroativa(n, A, x, b);
    escreve("\nVetor solucao:\n");
    imprime_vetor("x", x, n);
}

// Choice 4's results: the factors, the determinant and the permutation ("pos[%2d]=%d \n").
void imprime_lu_pivoteado(int n, Matrix A, Scalar det, const int* pos) {
    escreve("Matriz LU resultante:\n");
    imprime_cheia(n, A);
    escreve("Determinante = ");
    escreve_g(det);
    escreve("\n");
    for (int i = 1; i <= n; i++) {
        imprime_rotulo("pos", i);
        escreve_int(pos[i]);
        escreve(" \n");
    }
}

// Choice 5: the right-hand side about to be used, then L·y = b solved and y.
void resolve_ly(int n, Matrix A, Vector y, Vector b) {
    imprime_vetor("b", b, n);
    SubstituicaoProgressivaL(n, A, y, b);
    escreve("Solucao y resultante:\n");
    escreve_sequencia_g(y, n, " \n");
}

// Choice 7: r = b0 - A0·x and its largest magnitude, the error, printed; then the pause.
void mostra_residuo(int n, Vector b0, Matrix A0, Vector x, Vector r) {
    CalculaResiduo(n, b0, A0, x, r);
    escreve("\nVetor Residuo:\n");
    imprime_vetor("r", r, n);
    const Scalar error = CalculaErro(n, r);
    escreve("\nErro = ");
    escreve_g(error);
    escreve("\n");
    // Pause: the first read takes the menu reply's line end, the second waits.
    le_caractere();
    le_caractere();
}

// Choices 9 and 10: the precision and the limit of iterations. False (after a line end) at the
// end of input.
bool pergunta_parametros(Scalar& prec, int& maxit) {
    if (pergunta("Entre com a precisao requerida = ", prec, le_real) &&
        pergunta("\nEntre com o numero maximo de iteracoes = ", maxit, le_inteiro))
        return true;
    escreve("\n");
    return false;
}

// The error before the first sweep, 2^31: any precision below it lets the first sweep run.
constexpr Scalar kErroInicial = 2147483648.0f;

// Choice 9 (Jacobi) or 10 (Gauss-Seidel) after its two questions: sweeps from x = 0 while the
// change is above the precision and the limit is not reached, one table line each.
void itera(int n, Matrix A, Vector b, Vector x, Scalar prec, int maxit, bool jacobi) {
    Scalar (*const varredura)(int, Matrix, Vector, Vector) =
        jacobi ? IteracaoJacobi : IteracaoGaussSeidel;
    for (int i = 1; i <= n; i++) x[i] = 0.0f;
    escreve(jacobi ? "------Metodo Iterativo de Jacobi------\n"
                   : "-----Metodo Iterativo de Gauss-Seidel-----\n");
    escreve("k\t");
    for (int i = 1; i <= n; i++) {
        escreve("x[");
        escreve_int(i);
        escreve("]\t");
    }
    escreve("Erro\n");
    Scalar error = kErroInicial;
    int k = 0;
    imprime_iteracao(k, n, x);
    escreve("\n");
    while (error > prec && k < maxit) {
        k++;
        error = varredura(n, A, b, x);
        imprime_iteracao(k, n, x);
        escreve_f74(error);
        escreve("\n");
    }
    // The limit reached, or a last change that is not within the precision (a NaN change or a
    // NaN precision): no convergence.
    if (k >= maxit || !(error <= prec)) {
        escreve("Nao houve convergencia em ");
        escreve_int(k);
        escreve(" iteracoes");
    }
}

// The end of the run: the vectors, the permutation and the matrices of the work set, in this
// order, each matrix with its n + 1 rows.
void libera_trabalho(Vector b, Vector b0, Vector x, Vector y, Vector r, IndexVector pos, Matrix A,
                     Matrix A0, Matrix Inv, int lugares) {
    for (Vector v : {b, b0, x, y, r}) libera_vetor(v);
    libera_vetor(pos);
    for (Matrix m : {A, A0, Inv}) libera_matriz(m, lugares);
}

// The whole run; its status is the process's.
int programa() {
    prepara_saida();
    int n = 0;
    if (!le_dimensao(n)) return 1;
    // n + 1 places per array; for the largest int that count does not exist, and the first
    // creation reports the lack of memory.
    const int lugares = n < INT_MAX ? n + 1 : -1;

    Vector r = cria_vetor(lugares);
    Vector b = cria_vetor(lugares);
    Vector b0 = cria_vetor(lugares);
    Vector x = cria_vetor(lugares);
    Vector y = cria_vetor(lugares);
    IndexVector pos = cria_vetor_int(lugares);
    le_arq_vetor("b7.txt", n, b);
    Matrix A = cria_matriz(lugares, lugares);
    Matrix A0 = cria_matriz(lugares, lugares);
    Matrix Inv = cria_matriz(lugares, lugares);
    le_arq_matriz("a7.txt", n, n, A);
    ecoa_e_guarda(n, A, A0, b, b0);

    Scalar det = 0.0f;
    Scalar prec = 0.0f;
    int maxit = 0;
    int status = 0;
    int escolha = 0;
    do {
        escolha = menu_principal();
        switch (escolha) {
            case 1:
            case 2:
                resolve_por_gauss(n, A, b, x, escolha == 1 ? Eliminacao : GaussPivoteamentoParcial);
                break;
            case 3:
                LU(n, A);
                escreve("Matriz LU resultante:\n");
                imprime_cheia(n, A);
                break;
            case 4:
                LUPivoteamentoParcial(n, A, pos, det);
                imprime_lu_pivoteado(n, A, det, pos);
                // The right-hand side as read, in the order of the exchanged rows.
                for (int i = 1; i <= n; i++) b[i] = b0[pos[i]];
                break;
            case 5:
                resolve_ly(n, A, y, b);
                break;
            case 6:
                SubstituicaoRetroativa(n, A, x, y);
                escreve("\nVetor solucao:\n");
                imprime_vetor("x", x, n);
                break;
            case 7:
                // Measured against the data as read, whatever the other choices did to A and b.
                mostra_residuo(n, b0, A0, x, r);
                break;
            case 8:
                Inversa(n, A, Inv, b, x, y);
                escreve("Matriz Inversa resultante:\n");
                imprime_cheia(n, Inv);
                break;
            case 9:
            case 10:
                if (pergunta_parametros(prec, maxit)) {
                    itera(n, A, b, x, prec, maxit, escolha == 9);
                } else {
                    // The end of input ends the run as a failure: the iteration never ran.
                    status = 1;
                    escolha = 0;
                }
                break;
            default:
                break;
        }
    } while (escolha != 0);

    libera_trabalho(b, b0, x, y, r, pos, A, A0, Inv, lugares);
    return status;
}

}  // namespace
}  // namespace sislin

int main() {
    return sislin::programa();
}
