// sislin: solves one linear system A·x = b read from b7.txt and a7.txt by the classical direct
// and iterative methods, showing every intermediate result.
#include <climits>

#include "menus.h"
#include "methods.h"
#include "util.h"

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

// "label[ i]=v \n" lines with a "%2d" index and a "%g" value, for b in choice 5.
void imprime_indexado(const char* label, int i) {
    escreve(label);
    escreve("[");
    escreve_int2(i);
    escreve("]=");
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

}  // namespace

int main() {
    prepara_saida();

    // The dimension: a non-negative 32-bit integer; anything else is asked for again.
    int n = 0;
    for (;;) {
        escreve("Entre com a dimensao da matriz = ");
        const Leitura lido = le_inteiro(n);
        if (lido == Leitura::Fim) {
            escreve("\n");
            return 1;
        }
        if (lido == Leitura::Ok) {
            if (n >= 0) break;
            descarta_linha();
        }
    }
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

    escreve("Matriz lida:\n");
    for (int i = 1; i <= n; i++) {
        escreve_sequencia_g(A[i], n, " \t");
        escreve("\n");
        for (int j = 1; j <= n; j++) A0[i][j] = A[i][j];
    }
    escreve("Vetor de termos independentes lido:\n");
    escreve_sequencia_g(b, n, " \n");
    for (int i = 1; i <= n; i++) b0[i] = b[i];

    Scalar det = 0.0f;
    Scalar error = 0.0f;
    Scalar prec = 0.0f;
    int maxit = 0;
    int status = 0;
    int escolha = 0;
    do {
        escolha = menu_principal();
        switch (escolha) {
            case 1:
            case 2:
                if (escolha == 1)
                    Eliminacao(n, A, b);
                else
                    GaussPivoteamentoParcial(n, A, b);
                escreve("Matriz A resultante:\n");
                imprime_superior(n, A);
                SubstituicaoRetroativa(n, A, x, b);
                escreve("\nVetor solucao:\n");
                imprime_vetor("x", x, n);
                break;
            case 3:
                LU(n, A);
                escreve("Matriz LU resultante:\n");
                imprime_cheia(n, A);
                break;
            case 4:
                LUPivoteamentoParcial(n, A, pos, det);
                escreve("Matriz LU resultante:\n");
                imprime_cheia(n, A);
                escreve("Determinante = ");
                escreve_g(det);
                escreve("\n");
                for (int i = 1; i <= n; i++) {
                    imprime_indexado("pos", i);
                    escreve_int(pos[i]);
                    escreve(" \n");
                }
                // The right-hand side as read, in the order of the exchanged rows.
                for (int i = 1; i <= n; i++) b[i] = b0[pos[i]];
                break;
            case 5:
                imprime_vetor("b", b, n);
                SubstituicaoProgressivaL(n, A, y, b);
                escreve("Solucao y resultante:\n");
                escreve_sequencia_g(y, n, " \n");
                break;
            case 6:
                SubstituicaoRetroativa(n, A, x, y);
                escreve("\nVetor solucao:\n");
                imprime_vetor("x", x, n);
                break;
            case 7:
                // Measured against the data as read, whatever the other choices did to A and b.
                CalculaResiduo(n, b0, A0, x, r);
                escreve("\nVetor Residuo:\n");
                imprime_vetor("r", r, n);
                error = CalculaErro(n, r);
                escreve("\nErro = ");
                escreve_g(error);
                escreve("\n");
                // Pause: the first read takes the menu reply's line end, the second waits.
                le_caractere();
                le_caractere();
                break;
            case 8:
                Inversa(n, A, Inv, b, x, y);
                escreve("Matriz Inversa resultante:\n");
                imprime_cheia(n, Inv);
                break;
            case 9:
            case 10: {
                if (!pergunta("Entre com a precisao requerida = ", prec, le_real) ||
                    !pergunta("\nEntre com o numero maximo de iteracoes = ", maxit, le_inteiro)) {
                    // The end of input ends the run as a failure: the iteration never ran.
                    escreve("\n");
                    status = 1;
                    escolha = 0;
                    break;
                }
                for (int i = 1; i <= n; i++) x[i] = 0.0f;
                escreve(escolha == 9 ? "------Metodo Iterativo de Jacobi------\n"
                                     : "-----Metodo Iterativo de Gauss-Seidel-----\n");
                escreve("k\t");
                for (int i = 1; i <= n; i++) {
                    escreve("x[");
                    escreve_int(i);
                    escreve("]\t");
                }
                escreve("Erro\n");
                error = 2147483648.0f;
                int k = 0;
                imprime_iteracao(k, n, x);
                escreve("\n");
                while (error > prec && k < maxit) {
                    k++;
                    error =
                        escolha == 9 ? IteracaoJacobi(n, A, b, x) : IteracaoGaussSeidel(n, A, b, x);
                    imprime_iteracao(k, n, x);
                    escreve_f74(error);
                    escreve("\n");
                }
                // The limit reached, or a last change that is not within the precision (a NaN
                // change or a NaN precision): no convergence.
                if (k >= maxit || !(error <= prec)) {
                    escreve("Nao houve convergencia em ");
                    escreve_int(k);
                    escreve(" iteracoes");
                }
                break;
            }
            default:
                break;
        }
    } while (escolha != 0);

    libera_vetor(b);
    libera_vetor(b0);
    libera_vetor(x);
    libera_vetor(y);
    libera_vetor(r);
    libera_vetor(pos);
    libera_matriz(A, lugares);
    libera_matriz(A0, lugares);
    libera_matriz(Inv, lugares);
    return status;
}
