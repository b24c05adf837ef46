// Class assignments: the key, the id and the derived seed.
#include "turma.h"

#include <cstddef>

namespace sislin::aula {

namespace {

constexpr std::uint64_t kMetade = 24389U;  // 29^3: the seeds are the pairs of 0 .. kMetade - 1
constexpr std::uint64_t kOuro = 0x9E3779B97F4A7C15ULL;
constexpr int kRodadas = 6;
constexpr int kMaioresAlgarismos = 18;

std::uint64_t mistura(std::uint64_t z) {
    z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31U);
}

class Fnv {
public:
    Fnv& parte(const std::string& s) {
        for (const char c : s) byte(static_cast<unsigned char>(c));
        byte(0);
        return *this;
    }
    std::uint64_t valor() const { return mistura(h_); }

private:
    void byte(unsigned char c) {
        h_ ^= c;
        h_ *= 0x100000001B3ULL;
    }
    std::uint64_t h_ = 0xCBF29CE484222325ULL;
};

char minuscula(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool branco(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string sem_brancos_nas_pontas(const std::string& s) {
    std::size_t i = 0;
    std::size_t f = s.size();
    while (i < f && branco(s[i])) ++i;
    while (f > i && branco(s[f - 1])) --f;
    return s.substr(i, f - i);
}

bool algarismo(char c) {
    return c >= '0' && c <= '9';
}

// The number an id is taken as, before the permutation.
std::uint64_t numero_da_matricula(const std::string& m) {
    bool decimal = !m.empty() && m.size() <= kMaioresAlgarismos && (m[0] != '0' || m.size() == 1);
    for (const char c : m) decimal = decimal && algarismo(c);
    if (!decimal) return Fnv().parte("id").parte(m).valor() % kSementes;
    std::uint64_t v = 0;
    for (const char c : m) v = v * 10U + static_cast<std::uint64_t>(c - '0');
    return v % kSementes;
}

}  // namespace

Normalizado normaliza_chave(const std::string& chave) {
    std::string t;
    for (const char c : sem_brancos_nas_pontas(chave)) {
        const auto u = static_cast<unsigned char>(c);
        if (branco(c)) {
            if (t.back() != ' ') t += ' ';  // t is not empty: the ends have no blanks
        } else if (u < 0x20U || u > 0x7EU) {
            return {std::nullopt,
                    "a chave so pode ter letras sem acento, algarismos, sinais e espacos"};
        } else {
            t += minuscula(c);
        }
    }
    if (t.size() < static_cast<std::size_t>(kMenorChave))
        return {std::nullopt,
                "a chave precisa de pelo menos " + std::to_string(kMenorChave) + " caracteres"};
    if (t.size() > static_cast<std::size_t>(kMaiorChave))
        return {std::nullopt,
                "a chave pode ter no maximo " + std::to_string(kMaiorChave) + " caracteres"};
    return {t, ""};
}

Normalizado normaliza_matricula(const std::string& matricula) {
    std::string t = sem_brancos_nas_pontas(matricula);
    if (t.empty()) return {std::nullopt, "a matricula esta vazia"};
    for (char& c : t) {
        const bool permitido = algarismo(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                               c == '.' || c == '-' || c == '_' || c == '@';
        if (branco(c)) return {std::nullopt, "a matricula tem espaco"};
        if (!permitido)
            return {std::nullopt,
                    "a matricula so pode ter letras sem acento, algarismos e . - _ @"};
        c = minuscula(c);
    }
    if (t.size() > static_cast<std::size_t>(kMaiorMatricula))
        return {std::nullopt, "a matricula pode ter no maximo " + std::to_string(kMaiorMatricula) +
                                  " caracteres"};
    return {t, ""};
}

std::uint32_t semente_da_turma(const std::string& chave, const std::string& matricula, Tipo tipo,
                               int n) {
    const std::string sufixo{letra_tipo(tipo), static_cast<char>('0' + n / 10),
                             static_cast<char>('0' + n % 10)};
    const std::uint64_t k = Fnv().parte("turma").parte(chave).parte(sufixo).valor();
    const std::uint64_t v = numero_da_matricula(matricula);
    std::uint64_t a = v / kMetade;
    std::uint64_t c = v % kMetade;
    for (int r = 0; r < kRodadas; ++r) {
        const std::uint64_t f =
            mistura(k + kOuro * static_cast<std::uint64_t>(r + 1) + c) % kMetade;
        const std::uint64_t novo = (a + f) % kMetade;
        a = c;
        c = novo;
    }
    return static_cast<std::uint32_t>(a * kMetade + c);
}

std::optional<Exercicio> exercicio_da_turma(const std::string& chave, const std::string& matricula,
                                            Tipo tipo, int n) {
    const Normalizado k = normaliza_chave(chave);
    const Normalizado m = normaliza_matricula(matricula);
    if (!k.texto || !m.texto || n < n_minimo(tipo) || n > n_maximo(tipo)) return std::nullopt;
    return Exercicio{tipo, n, semente_da_turma(*k.texto, *m.texto, tipo, n)};
}

}  // namespace sislin::aula
