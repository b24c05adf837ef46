// A class assignment's settings (the "tarefa"): the teacher's key, the kind and n of the
// students' systems, the methods each student practises, in order, the significant digits a
// reply must agree to, and the pass mark. The same settings travel as command-line options,
// as JSON and as the page's link fragment:
//   #turma=TIPO/N/METODOS/DIGITOS/APROVACAO/CHAVE
// METODOS joined by ",", DIGITOS a number or "exato", CHAVE last, escaped as the page's
// encodeURIComponent escapes it (everything after the fifth "/" is the key).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "codigo.h"

namespace sislin::aula {

inline constexpr int kDigitosPadrao = 4;
inline constexpr int kAprovacaoPadrao = 60;

struct Tarefa {
    std::string chave;  // as typed
    Tipo tipo = Tipo::D;
    int n = 0;
    std::vector<std::string> metodos;  // the practice's names, in order
    int digitos = kDigitosPadrao;      // 1..9, 0: exact
    int aprovacao = kAprovacaoPadrao;  // 0..100
};

// The methods of a kind when none are named: D, G, M gauss; P gauss-pivoteado; S gauss-seidel;
// J jacobi.
std::vector<std::string> metodos_padrao(Tipo tipo);

// The options the assignment's commands share, as given (absent: the default).
struct Ajustes {
    std::optional<std::vector<std::string>> metodos;
    std::optional<int> digitos;
    std::optional<int> aprovacao;
};

// "gauss,Jacobi" or "1,10": the practice's names, in the order given (names are taken in any
// case, numbers as the menu numbers them); nullopt with the reason in erro for an unknown or
// repeated method or an empty list.
std::optional<std::vector<std::string>> le_metodos(const std::string& lista, std::string& erro);
// "1".."9", or "exato" (0).
// A whole decimal number (at most nine digits) from minimo to maximo, or nothing.
std::optional<int> le_inteiro(const std::string& s, int minimo, int maximo);
std::optional<int> le_digitos(const std::string& texto);
// "0".."100".
std::optional<int> le_aprovacao(const std::string& texto);

// What le_opcao_da_tarefa made of palavras[i].
enum class Opcao { Outra, Lida, Recusada };
// When palavras[i] is --metodos, --digitos or --aprovacao, reads it and its value (i then
// points at the value) into ajustes: Lida, or Recusada with the message in erro. Any other word
// is left alone (Outra).
Opcao le_opcao_da_tarefa(const std::vector<std::string>& palavras, std::size_t& i, Ajustes& ajustes,
                         std::string& erro);

// The kind's letter (either case) and n within the kind's range; the message in erro otherwise.
std::optional<Tipo> le_tipo(const std::string& palavra, std::string& erro);
std::optional<int> le_n(const std::string& palavra, Tipo tipo, std::string& erro);

// The settings from the key, kind and n as typed and the options: the key checked (the
// message of normaliza_chave), the kind's default methods when none are named.
std::optional<Tarefa> monta_tarefa(const std::string& chave, const std::string& tipo,
                                   const std::string& n, const Ajustes& ajustes, std::string& erro);

// The text as encodeURIComponent writes it: ASCII letters, digits and - _ . ! ~ * ' ( ) as
// they are, every other byte as %XX (upper-case hexadecimal).
std::string codifica_uri(const std::string& texto);
// "#turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026".
std::string fragmento(const Tarefa& t);
// {"formato":1,"chave":...,"tipo":"D","n":4,"metodos":[...],"digitos":4,"aprovacao":60}, the
// key normalised.
std::string json_tarefa(const Tarefa& t);

// sislin-aula turma (docs/turma.md): the codes of a class, or of one student.
int comando_turma(const std::vector<std::string>& palavras);

}  // namespace sislin::aula
