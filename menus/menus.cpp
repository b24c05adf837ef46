// The menus: print, read a choice, and ask again until it lies in the menu's range.
#include "menus.h"

#include <cstdlib>

#include "registro.h"
#include "util.h"

namespace sislin {

namespace {

struct Menu {
    const char* titulo;
    const char* const* itens;
    const char* prompt;
    int minimo;
    int maximo;
};

// Returns the accepted choice; at the end of input returns minimo - 1 after printing "\n".
int executa(const Menu& menu) {
    for (;;) {
        escreve(menu.titulo);
        for (const char* const* item = menu.itens; *item != nullptr; ++item) escreve(*item);
        escreve(menu.prompt);
        registra_espera("menu", menu.minimo, menu.maximo);
        int escolha = 0;
        switch (le_inteiro(escolha)) {
            case Leitura::Fim:
                escreve("\n");
                return menu.minimo - 1;
            case Leitura::Invalida:
                registra_rejeitada("menu", "nao e um inteiro");
                break;
            case Leitura::Ok:
                if (escolha >= menu.minimo && escolha <= menu.maximo) return escolha;
                registra_rejeitada("menu", "fora da faixa");
                break;
        }
    }
}

// A menu that the run cannot do without: at the end of input the process ends.
int executa_ou_termina(const Menu& menu) {
    const int escolha = executa(menu);
    if (escolha < menu.minimo) std::exit(1);
    return escolha;
}

}  // namespace

int menu_principal() {
    static const char* const itens[] = {"                1. Gauss \n",
                                        "                2. Gauss com pivotacao parcial \n",
                                        "                3. Fatoracao LU \n",
                                        "                4. Fatoracao LU com pivotacao parcial \n",
                                        "                5. Resolucao do sistema Ly = b \n",
                                        "                6. Resolucao do sistema Uy = y \n",
                                        "                7. Calculo do vetor residuo e erro \n",
                                        "                8. Inversa da matriz A \n",
                                        "                9. Metodo Iterativo de Jacobi \n",
                                        "               10. Metodo Iterativo de Gauss-Seidel \n",
                                        "                0. Sair \n",
                                        nullptr};
    const Menu menu{"\n*******************Menu Principal************************* \n", itens,
                    "                Escolha: ", 0, 10};
    const int escolha = executa(menu);
    return escolha < 0 ? 0 : escolha;  // the end of input ends the run like choice 0
}

int menu_solucao_inicial() {
    static const char* const itens[] = {
        "                1. Gulosa (Vizinho mais proximo) \n",
        "                2. Parcialmente gulosa (Vizinho mais proximo) \n",
        "                3. Gulosa (Insercao Mais Barata) \n",
        "                4. Parcialmente gulosa (Insercao Mais Barata) \n",
        "                5. Aleatoria \n",
        nullptr};
    return executa_ou_termina({"\n************Geracao da Solucao Inicial**************** \n", itens,
                               "                escolha: ", 1, 5});
}

int menu_GRASP() {
    static const char* const itens[] = {"                1. Vizinho Mais Proximo \n",
                                        "                2. Insercao Mais Barata \n", nullptr};
    return executa_ou_termina({"\n*******************Menu GRASP************************* \n", itens,
                               "                Escolha: ", 1, 2});
}

int menu_AG() {
    static const char* const itens[] = {"                1. Operador OX \n",
                                        "                2. Operador ERX \n", nullptr};
    return executa_ou_termina(
        {"\n****************Menu Algoritmos Geneticos********************** \n", itens,
         "                Escolha: ", 1, 2});
}

}  // namespace sislin
