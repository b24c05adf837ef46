// The menus: print, read a choice, and ask again until it lies in the menu's range.
#include "menus.h"

#include <cstdlib>
#include <string>

#include "registro.h"
#include "util.h"

namespace sislin {

std::optional<int> le_opcao_do_menu(const Menu& menu) {
    const std::string texto(menu.texto);
    for (;;) {
        escreve(texto.c_str());
        registra_espera(Espera::Menu, menu.minimo, menu.maximo);
        int escolha = 0;
        switch (le_inteiro(escolha)) {
            case Leitura::Fim:
                escreve("\n");
                return std::nullopt;
            case Leitura::Invalida:
                registra_rejeitada(Espera::Menu, "nao e um inteiro");
                break;
            case Leitura::Ok:
                if (escolha >= menu.minimo && escolha <= menu.maximo) return escolha;
                registra_rejeitada(Espera::Menu, "fora da faixa");
                break;
        }
    }
}

namespace {

// A menu that the run cannot do without: at the end of input the process ends.
int opcao_ou_termina(const Menu& menu) {
    const std::optional<int> escolha = le_opcao_do_menu(menu);
    if (!escolha) std::exit(1);
    return *escolha;
}

}  // namespace

int menu_solucao_inicial() {
    return opcao_ou_termina(
        {"\n************Geracao da Solucao Inicial**************** \n"
         "                1. Gulosa (Vizinho mais proximo) \n"
         "                2. Parcialmente gulosa (Vizinho mais proximo) \n"
         "                3. Gulosa (Insercao Mais Barata) \n"
         "                4. Parcialmente gulosa (Insercao Mais Barata) \n"
         "                5. Aleatoria \n"
         "                escolha: ",
         1, 5});
}

int menu_GRASP() {
    return opcao_ou_termina(
        {"\n*******************Menu GRASP************************* \n"
         "                1. Vizinho Mais Proximo \n"
         "                2. Insercao Mais Barata \n"
         "                Escolha: ",
         1, 2});
}

int menu_AG() {
    return opcao_ou_termina(
        {"\n****************Menu Algoritmos Geneticos********************** \n"
         "                1. Operador OX \n"
         "                2. Operador ERX \n"
         "                Escolha: ",
         1, 2});
}

}  // namespace sislin
