// The choices of the main menu: one table that gives, for each choice, its number and label
// (the menu's lines and range), what it reads and changes in the work set, what A holds after
// it, the kernels it runs, the members its "resultado" event records, the waits it asks, and the
// handler that does it and prints its results. The menu, the dispatch, the record's description
// of the choices ("inicio") and each "resultado" are all made from this table.
#pragma once

#include <span>
#include <string>

#include "menus.h"
#include "registro.h"
#include "util.h"

namespace sislin {

// The work set of the run: the working arrays, the copies of the data as read, and the values
// that persist from one choice to the next. Every array has n + 1 places.
struct ConjuntoDeTrabalho {
    int n = 0;
    int lugares = 0;  // places of each array: n + 1
    Vector r = nullptr, b = nullptr, b0 = nullptr, x = nullptr, y = nullptr;
    IndexVector pos = nullptr;
    Matrix A = nullptr, A0 = nullptr, Inv = nullptr;
    Scalar det = 0.0f;
    Scalar erro = 0.0f;  // choice 7: the residual's largest magnitude; 9, 10: the last change
    Scalar prec = 0.0f;  // 9, 10: the precision asked for
    int maxit = 0;       // 9, 10: the limit of iterations asked for
    int k = 0;           // 9, 10: the sweeps done
    bool convergiu = false;
};

// What A holds after a choice (Inalterada: the choice does not change it).
enum class FormaDeA { Inalterada, Dados, Eliminada, LU };
struct DescricaoDeForma {
    FormaDeA forma;
    const char* nome;  // in the record
    const char* texto;
};
inline constexpr DescricaoDeForma kFormas[] = {
    {FormaDeA::Dados, "dados", "como lido"},
    {FormaDeA::Eliminada, "eliminada", "multiplicadores abaixo da diagonal, U na diagonal e acima"},
    {FormaDeA::LU, "lu", "L abaixo da diagonal, U na diagonal e acima"},
};

// The waits a choice asks besides the menu's, in order (at most two).
class Esperas {
public:
    constexpr Esperas() = default;
    constexpr explicit Esperas(Espera a) : lista_{a, a}, quantas_(1) {}
    constexpr Esperas(Espera a, Espera b) : lista_{a, b}, quantas_(2) {}
    constexpr std::span<const Espera> lista() const {
        return {lista_, static_cast<std::size_t>(quantas_)};
    }
    constexpr bool tem(Espera e) const {
        for (const Espera x : lista())
            if (x == e) return true;
        return false;
    }

private:
    Espera lista_[2] = {Espera::Menu, Espera::Menu};
    int quantas_ = 0;
};

// What comes after a choice: the menu again, the end of the run (choice 0), or the end of the
// run because the input ended before the choice could be done.
enum class Seguimento { Menu, Sair, FimDaEntrada };

struct Escolha {
    int opcao;
    const char* rotulo;     // the menu line's text
    const char* le;         // members of the work set it reads, apart by blanks
    const char* muda;       // members it changes
    FormaDeA A;             // what A holds after it
    const char* nucleos;    // the kernels it runs
    const char* resultado;  // the members its "resultado" event records, in order
    Esperas esperas;        // the waits it asks (the pause is asked after its results)
    const char* metodo;     // an iterative choice: the "metodo" of its sweeps; else null
    // Does the choice on the work set and prints its results.
    Seguimento (*realiza)(ConjuntoDeTrabalho& t, const Escolha& escolha);
};

// The table, in the order of the menu's lines.
std::span<const Escolha> escolhas();
// The choice of that number (one of the table's).
const Escolha& escolha_de_opcao(int opcao);
// The main menu, from the table: its text and range.
std::string texto_do_menu_principal();
Menu menu_das_escolhas(const std::string& texto);

// Does the choice: its handler, its "resultado" event, and the pause after it when it asks one.
Seguimento realiza_escolha(const Escolha& escolha, ConjuntoDeTrabalho& t);
// The record's first line: the program, the format, the waits, the forms of A and the table.
void registra_inicio();

}  // namespace sislin
