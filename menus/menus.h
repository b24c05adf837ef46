// Menus: each prints itself, reads a choice and asks again until it lies in its range.
#pragma once

#include <optional>
#include <string_view>

namespace sislin {

// A menu as printed: its title line, its item lines and its prompt, one text; and the range of
// the choices it accepts.
struct Menu {
    std::string_view texto;
    int minimo;
    int maximo;
};
// Prints the menu and reads a choice until one lies in its range; asks again after a reply that
// is not an integer or lies outside. At the end of input prints "\n" and gives nothing.
std::optional<int> le_opcao_do_menu(const Menu& menu);

// The program's main menu, 0..10: its items are the table of choices (driver/escolhas.cpp,
// which defines it). At the end of input prints "\n" and returns 0.
int menu_principal();
// 1..5, 1..2, 1..2. At the end of input each prints "\n" and ends the process with status 1.
int menu_solucao_inicial();
int menu_GRASP();
int menu_AG();

}  // namespace sislin
