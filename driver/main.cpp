// sislin: solves one linear system A·x = b read from b7.txt and a7.txt by the classical direct
// and iterative methods, showing every intermediate result.
#include <climits>
#include <initializer_list>
#include <optional>
#include <string>

#include "escolhas.h"
#include "registro.h"
#include "util.h"

namespace sislin {
namespace {

// The dimension: a non-negative 32-bit integer; anything else is asked for again. False (after
// a line end) at the end of input.
bool le_dimensao(int& n) {
    for (;;) {
        escreve("Entre com a dimensao da matriz = ");
        registra_espera(Espera::Dimensao);
        const Leitura lido = le_inteiro(n);
        if (lido == Leitura::Fim) {
            registra_fim_da_entrada(Espera::Dimensao);
            escreve("\n");
            return false;
        }
        if (lido == Leitura::Invalida) registra_rejeitada(Espera::Dimensao, "nao e um inteiro");
        if (lido == Leitura::Ok) {
            if (n >= 0) return true;
            registra_rejeitada(Espera::Dimensao, "negativo");
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

// The end of the run: the vectors, the permutation and the matrices of the work set, in this
// order, each matrix with its n + 1 rows.
void libera_trabalho(const ConjuntoDeTrabalho& t) {
    for (Vector v : {t.b, t.b0, t.x, t.y, t.r}) libera_vetor(v);
    libera_vetor(t.pos);
    for (Matrix m : {t.A, t.A0, t.Inv}) libera_matriz(m, t.lugares);
}

// The whole run; its status is the process's.
int programa() {
    prepara_saida();
    if (abre_registro()) registra_inicio();
    ConjuntoDeTrabalho t;
    if (!le_dimensao(t.n)) {
        registra_fim(1, Causa::FimDaEntrada);
        return 1;
    }
    const int n = t.n;
    int status = 0;
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

    // The menu loop: until choice 0, or the end of input (at the menu the run ends as after
    // choice 0; at a choice's own question, as a failure).
    const std::string texto_do_menu = texto_do_menu_principal();
    const Menu menu = menu_das_escolhas(texto_do_menu);
    Seguimento seguimento = Seguimento::Menu;
    while (seguimento == Seguimento::Menu) {
        const std::optional<int> opcao = le_opcao_do_menu(menu);
        if (!opcao) {
            registra_fim_da_entrada(Espera::Menu);
            seguimento = Seguimento::FimDaEntrada;
            break;
        }
        inicia_evento("escolha");
        campo_int("opcao", *opcao);
        fecha_evento();
        seguimento = realiza_escolha(escolha_de_opcao(*opcao), t);
        if (seguimento == Seguimento::FimDaEntrada) status = 1;
    }

    libera_trabalho(t);
    registra_fim(status, seguimento == Seguimento::Sair ? Causa::Sair : Causa::FimDaEntrada);
    return status;
}

}  // namespace
}  // namespace sislin

int main() {
    return sislin::programa();
}
