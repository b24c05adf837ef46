// Class assignments: each student's exercise code derived from the teacher's key and the
// student's id (matricula), the same on every device, with nothing stored.
//
// The key is normalised (blanks at the ends dropped, inner runs of blanks made one, ASCII
// letters folded to lower case) and must then hold 4 to 100 printable ASCII characters. The id
// is normalised (blanks at the ends dropped, ASCII letters folded to lower case) and must then
// hold 1 to 64 characters among ASCII letters, digits and . - _ @.
//
// The seed of the student's code (0 .. 29^6 - 1, kSementes) is a keyed permutation of a number
// taken from the id:
//   - an id of 1 to 18 decimal digits without a leading zero (or "0") is taken as its value
//     modulo 29^6, so two such ids whose difference is not a multiple of 29^6 always get
//     different seeds;
//   - any other id is taken as h("id", id) modulo 29^6 (h below), so two of them share a seed
//     with a chance of about 1 in 6e8.
// The permutation is a six-round Feistel network on the pair (v / 24389, v % 24389), 24389 =
// 29^3, with the round function F(r, x) = mix(K + G * (r + 1) + x) % 24389, where K =
// h("turma", key, kind letter, n in two digits) and G = 0x9E3779B97F4A7C15. Each round maps
// (a, c) to (c, (a + F(r, c)) % 24389), so it is a bijection of 0 .. 29^6 - 1 for every key.
// h(parts...) is FNV-1a 64 over the parts, each followed by a zero byte, then mix; mix is the
// SplitMix64 finaliser. All arithmetic is on unsigned 64-bit integers, so the page's
// WebAssembly build gives the same codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "codigo.h"

namespace sislin::aula {

inline constexpr int kMenorChave = 4;
inline constexpr int kMaiorChave = 100;
inline constexpr int kMaiorMatricula = 64;

// A normalised text, or the reason it is refused (a sentence in Portuguese without accents).
struct Normalizado {
    std::optional<std::string> texto;
    std::string erro;
};
Normalizado normaliza_chave(const std::string& chave);
Normalizado normaliza_matricula(const std::string& matricula);

// The seed for a normalised key and id (kind and n within range).
std::uint32_t semente_da_turma(const std::string& chave, const std::string& matricula, Tipo tipo,
                               int n);

// The student's exercise; key and id as typed (they are normalised here). nullopt when either
// is refused or n is out of the kind's range.
std::optional<Exercicio> exercicio_da_turma(const std::string& chave, const std::string& matricula,
                                            Tipo tipo, int n);

}  // namespace sislin::aula
