// sislin: solves one linear system A·x = b read from b7.txt and a7.txt by the classical direct
// and iterative methods, showing every intermediate result.
#include <climits>
#include <initializer_list>

#include "menus.h"
#include "methods.h"
#include "registro.h"
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
// False at the end of input. de names the reply in the record, motivo why one was refused.
template <typename T>
bool pergunta(const char* prompt, T& v, Leitura (*le)(T&), const char* de, const char* motivo) {
    for (;;) {
        escreve(prompt);
        registra_espera(de);
        const Leitura lido = le(v);
        if (lido != Leitura::Invalida) return lido == Leitura::Ok;
        registra_rejeitada(de, motivo);
    }
}

// The dimension: a non-negative 32-bit integer; anything else is asked for again. False (after
// a line end) at the end of input.
bool le_dimensao(int& n) {
    for (;;) {
        escreve("Entre com a dimensao da matriz = ");
        registra_espera("dimensao");
        const Leitura lido = le_inteiro(n);
        if (lido == Leitura::Fim) {
            escreve("\n");
            return false;
        }
        if (lido == Leitura::Invalida) registra_rejeitada("dimensao", "nao e um inteiro");
        if (lido == Leitura::Ok) {
            if (n >= 0) return true;
            registra_rejeitada("dimensao", "negativo");
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
    if (registrando()) {
        inicia_evento("dados");
        campo_int("n", n);
        campo_matriz("A", A, n);
        campo_vetor("b", b, n);
        fecha_evento();
    }
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
    if (registrando()) {
        inicia_evento("resultado");
        campo_int("opcao", 7);
        campo_vetor("r", r, n);
        campo_escalar("Erro", error);
        fecha_evento();
    }
    // Pause: the first read takes the menu reply's line end, the second waits.
    registra_espera("pausa");
    le_caractere();
    le_caractere();
}

// Choices 9 and 10: the precision and the limit of iterations. False (after a line end) at the
// end of input.
bool pergunta_parametros(Scalar& prec, int& maxit) {
    if (pergunta("Entre com a precisao requerida = ", prec, le_real, "precisao",
                 "nao e um numero") &&
        pergunta("\nEntre com o numero maximo de iteracoes = ", maxit, le_inteiro, "limite",
                 "nao e um inteiro"))
        return true;
    escreve("\n");
    return false;
}

// One line of the iteration table in the record: the sweep k, x after it and its change (none
// for the starting line, k = 0).
void registra_varredura(bool jacobi, int k, int n, const Scalar* x, const Scalar* erro) {
    if (!registrando()) return;
    inicia_evento("varredura");
    campo_texto("metodo", jacobi ? "jacobi" : "gauss-seidel");
    campo_int("k", k);
    campo_vetor("x", x, n);
    if (erro != nullptr) campo_escalar("Erro", *erro);
    fecha_evento();
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
    registra_varredura(jacobi, k, n, x, nullptr);
    while (error > prec && k < maxit) {
        k++;
        error = varredura(n, A, b, x);
        imprime_iteracao(k, n, x);
        escreve_f74(error);
        escreve("\n");
        registra_varredura(jacobi, k, n, x, &error);
    }
    // The limit reached, or a last change that is not within the precision (a NaN change or a
    // NaN precision): no convergence.
    const bool convergiu = k < maxit && error <= prec;
    if (!convergiu) {
        escreve("Nao houve convergencia em ");
        escreve_int(k);
        escreve(" iteracoes");
    }
    if (registrando()) {
        inicia_evento("resultado");
        campo_int("opcao", jacobi ? 9 : 10);
        campo_escalar("precisao", prec);
        campo_int("limite", maxit);
        campo_vetor("x", x, n);
        campo_int("k", k);
        campo_bool("convergiu", convergiu);
        fecha_evento();
    }
}

// The work set of the run: the working arrays, the copies of the data as read, and the values
// that persist from one choice to the next.
struct Trabalho {
    int n = 0;
    int lugares = 0;  // places of each array: n + 1
    Vector r = nullptr, b = nullptr, b0 = nullptr, x = nullptr, y = nullptr;
    IndexVector pos = nullptr;
    Matrix A = nullptr, A0 = nullptr, Inv = nullptr;
    Scalar det = 0.0f;
    Scalar prec = 0.0f;
    int maxit = 0;
};

// The end of the run: the vectors, the permutation and the matrices of the work set, in this
// order, each matrix with its n + 1 rows.
void libera_trabalho(const Trabalho& t) {
    for (Vector v : {t.b, t.b0, t.x, t.y, t.r}) libera_vetor(v);
    libera_vetor(t.pos);
    for (Matrix m : {t.A, t.A0, t.Inv}) libera_matriz(m, t.lugares);
}

// The record of what choices 1 to 6 and 8 changed, with the values they left.
void registra_resultado(int escolha, const Trabalho& t) {
    if (!registrando() || escolha < 1 || escolha == 7 || escolha > 8) return;
    inicia_evento("resultado");
    campo_int("opcao", escolha);
    if (escolha <= 4) campo_matriz("A", t.A, t.n);
    if (escolha == 4) {
        campo_escalar("det", t.det);
        campo_indices("pos", t.pos, t.n);
    }
    if (escolha == 8) campo_matriz("Inv", t.Inv, t.n);
    if (escolha <= 2 || escolha == 4 || escolha == 8) campo_vetor("b", t.b, t.n);
    if (escolha == 5 || escolha == 8) campo_vetor("y", t.y, t.n);
    if (escolha <= 2 || escolha == 6 || escolha == 8) campo_vetor("x", t.x, t.n);
    fecha_evento();
}

// Runs one choice of the menu on the work set. False when the run must end as a failure (the
// end of input before an iteration's questions were answered).
bool executa(int escolha, Trabalho& t) {
    const int n = t.n;
    switch (escolha) {
        case 1:
        case 2:
            resolve_por_gauss(n, t.A, t.b, t.x,
                              escolha == 1 ? Eliminacao : GaussPivoteamentoParcial);
            break;
        case 3:
            LU(n, t.A);
            escreve("Matriz LU resultante:\n");
            imprime_cheia(n, t.A);
            break;
        case 4:
            LUPivoteamentoParcial(n, t.A, t.pos, t.det);
            imprime_lu_pivoteado(n, t.A, t.det, t.pos);
            // The right-hand side as read, in the order of the exchanged rows.
            for (int i = 1; i <= n; i++) t.b[i] = t.b0[t.pos[i]];
            break;
        case 5:
            resolve_ly(n, t.A, t.y, t.b);
            break;
        case 6:
            SubstituicaoRetroativa(n, t.A, t.x, t.y);
            escreve("\nVetor solucao:\n");
            imprime_vetor("x", t.x, n);
            break;
        case 7:
            // Measured against the data as read, whatever the other choices did to A and b.
            mostra_residuo(n, t.b0, t.A0, t.x, t.r);
            break;
        case 8:
            Inversa(n, t.A, t.Inv, t.b, t.x, t.y);
            escreve("Matriz Inversa resultante:\n");
            imprime_cheia(n, t.Inv);
            break;
        case 9:
        case 10:
            // The end of input ends the run as a failure: the iteration never ran.
            if (!pergunta_parametros(t.prec, t.maxit)) return false;
            itera(n, t.A, t.b, t.x, t.prec, t.maxit, escolha == 9);
            break;
        default:
            break;
    }
    registra_resultado(escolha, t);
    return true;
}

// The whole run; its status is the process's.
int programa() {
    prepara_saida();
    abre_registro();
    Trabalho t;
    if (!le_dimensao(t.n)) {
        registra_fim(1);
        return 1;
    }
    const int n = t.n;
    // n + 1 places per array; for the largest int that count does not exist, and the first
    // creation reports the lack of memory.
    t.lugares = n < INT_MAX ? n + 1 : -1;
    inicia_evento("dimensao");
    campo_int("n", n);
    fecha_evento();

    t.r = cria_vetor(t.lugares);
    t.b = cria_vetor(t.lugares);
    t.b0 = cria_vetor(t.lugares);
    t.x = cria_vetor(t.lugares);
    t.y = cria_vetor(t.lugares);
    t.pos = cria_vetor_int(t.lugares);
    le_arq_vetor("b7.txt", n, t.b);
    t.A = cria_matriz(t.lugares, t.lugares);
    t.A0 = cria_matriz(t.lugares, t.lugares);
    t.Inv = cria_matriz(t.lugares, t.lugares);
    le_arq_matriz("a7.txt", n, n, t.A);
    ecoa_e_guarda(n, t.A, t.A0, t.b, t.b0);

    int status = 0;
    int escolha = 0;
    do {
        escolha = menu_principal();
        inicia_evento("escolha");
        campo_int("opcao", escolha);
        fecha_evento();
        if (!executa(escolha, t)) {
            status = 1;
            escolha = 0;
        }
    } while (escolha != 0);

    libera_trabalho(t);
    registra_fim(status);
    return status;
}

}  // namespace
}  // namespace sislin

int main() {
    return sislin::programa();
}
