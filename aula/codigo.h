// The exercise code: the kind, the dimension and the seed of an exercise in 10 characters that
// are easy to type on a phone, with a check character.
//
// Written form: K NN - SSSSSS C, e.g. "D07-4KX9M2D": the kind letter, n in two decimal digits, a
// hyphen, the seed in six base-29 digits (most significant first) and the check character. The
// alphabet has 29 characters, the ten digits and nineteen letters, leaving out those a reader can
// take for a digit or for each other (B, I, L, O, Q, U, Z). Reading ignores case, hyphens and
// blanks. The check character is the weighted sum of the nine characters before it, weights 1 to
// 9, modulo 29; as 29 is prime and the weights and their neighbours' differences are not
// multiples of it, a single wrong character and the swap of two neighbours are always caught.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sislin::aula {

enum class Tipo : std::uint8_t { D, P, G, M, S, J };

// The kinds' letters in the order of Tipo.
inline constexpr const char* kLetrasTipos = "DPGMSJ";
inline constexpr int kNumeroTipos = 6;
// Seeds are 0 .. kSementes - 1 (29^6).
inline constexpr std::uint32_t kSementes = 594823321U;

struct Exercicio {
    Tipo tipo = Tipo::D;
    int n = 0;
    std::uint32_t semente = 0;
};

char letra_tipo(Tipo t);
std::optional<Tipo> tipo_da_letra(char c);
// The smallest and the largest n of a kind.
int n_minimo(Tipo t);
int n_maximo(Tipo t);
// A short description of the kind, in Portuguese without accents.
const char* descricao_tipo(Tipo t);

// The written form of e (its n and seed within range).
std::string escreve_codigo(const Exercicio& e);

// Reading a code: the exercise, or the reason it is refused.
struct LeituraCodigo {
    std::optional<Exercicio> exercicio;
    std::string erro;  // a sentence for the user when exercicio is empty
};
LeituraCodigo le_codigo(const std::string& texto);

}  // namespace sislin::aula
