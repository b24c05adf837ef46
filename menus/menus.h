// Menus: each prints itself, reads a choice and asks again until it lies in its range.
#pragma once

namespace sislin {

// 0..10. At the end of input prints "\n" and returns 0.
int menu_principal();
// 1..5, 1..2, 1..2. At the end of input each prints "\n" and ends the process with status 1.
int menu_solucao_inicial();
int menu_GRASP();
int menu_AG();

}  // namespace sislin
