// A small JSON reader for the records that sislin-aula reads back (the practice's hand-in
// files): one value from a text, or the reason it is not JSON. Numbers keep their own text (a
// record's floats are compared as written); objects keep their members in order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sislin::aula {

struct ValorJson {
    enum class Tipo { Nulo, Booleano, Numero, Texto, Lista, Objeto };
    Tipo tipo = Tipo::Nulo;
    bool booleano = false;
    std::string texto;               // a string's bytes, or a number's own text
    std::vector<ValorJson> itens;    // a list's items, or an object's values
    std::vector<std::string> nomes;  // an object's member names, in order (beside itens)

    // The member named, or nullptr (also when this is not an object).
    const ValorJson* membro(std::string_view nome) const;
    bool e_texto() const { return tipo == Tipo::Texto; }
    // A number written as an integer (no fraction, no exponent) within int's range.
    std::optional<int> inteiro() const;
};

struct LeituraJson {
    std::optional<ValorJson> valor;
    std::string erro;  // why the text is not JSON (a phrase in Portuguese without accents)
};

// The whole text must be one value (blanks around it allowed). Lists and objects nest at most
// kMaiorProfundidade deep; a string may hold any byte but the control characters, as the
// record's writer leaves them.
inline constexpr int kMaiorProfundidade = 64;
LeituraJson le_json(std::string_view texto);

// The value written back compactly as the record's writer writes it: no blanks, members in
// their order, strings escaped by texto_json, numbers as their own text.
std::string json_compacto(const ValorJson& v);

}  // namespace sislin::aula
