// The "%g" input conversion, shared by the data-file reader (numeros.cpp) and the console's
// precision reply (console.cpp). Internal to the utility library.
//
// The grammar is the one the scanf family of the GNU C library reads, decided once and kept the
// same on every platform:
//  - an optional sign, then "nan" or "inf" / "infinity" (any case; a "nan(...)" stops after
//    "nan"). A letter that breaks one of these words is taken and the conversion fails ("infin"
//    fails, "infx" is "inf" followed by x);
//  - otherwise digits with at most one '.', then an exponent mark ('e', or 'p' after a "0x"
//    prefix) once some digit has been seen, an optional sign right after it and decimal digits.
//    The first character that cannot continue the number is left unread. What was taken converts
//    as its longest valid prefix ("1e+" is 1, "0x." is 0); the conversion fails when that prefix
//    is empty or when nothing but a sign (and "0x") was taken.
#pragma once

#include <cstddef>
#include <cstdio>

#include "vetores.h"

namespace sislin {

enum class Forma { Falha, Decimal, Hexa, Infinito, Nan };

namespace conversao {

inline int minuscula(int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}
inline bool digito(int c) {
    return c >= '0' && c <= '9';
}
// White space of the C locale: blank, \t, \n, \v, \f, \r.
inline bool espaco(int c) {
    return c == ' ' || static_cast<unsigned>(c - '\t') <= 4u;
}
inline bool digito_hexa(int c) {
    return digito(c) || (minuscula(c) >= 'a' && minuscula(c) <= 'f');
}

// Takes the rest of word (its first letter already taken); false at the first mismatch, which
// has been taken too.
template <class Fonte>
bool palavra(Fonte& f, const char* resto) {
    for (; *resto != '\0'; ++resto)
        if (minuscula(f.proximo()) != *resto) return false;
    return true;
}

// Converts the decimal at s (an optional '-', digits with at most one '.', an optional exponent)
// to the nearest float, as strtof does (out of range too), taking its longest valid prefix within
// [s, end). Returns the end of what was taken, or nullptr when nothing was.
const char* converte_decimal(const char* s, const char* end, float& f);

}  // namespace conversao

// Recognises one number from f, which starts at the number's first character (leading white
// space already skipped). Fonte has int proximo() (the next byte, or EOF) and void devolve(int c)
// (c is read again next; nothing happens for EOF). Returns the form taken, or Falha.
template <class Fonte>
Forma reconhece_g(Fonte& f) {
    using namespace conversao;
    int c = f.proximo();
    const bool sinal = c == '+' || c == '-';
    if (sinal) c = f.proximo();
    if (minuscula(c) == 'n') return palavra(f, "an") ? Forma::Nan : Forma::Falha;
    if (minuscula(c) == 'i') {
        if (!palavra(f, "nf")) return Forma::Falha;
        c = f.proximo();
        if (minuscula(c) == 'i') return palavra(f, "nity") ? Forma::Infinito : Forma::Falha;
        f.devolve(c);
        return Forma::Infinito;
    }
    bool hexa = false;
    bool algum_digito = false;
    bool ponto = false;
    bool expoente = false;
    std::size_t tomados = 0;  // characters of the number proper (no sign, no "0x")
    int anterior = 0;
    if (c == '0') {
        c = f.proximo();
        if (minuscula(c) == 'x') {
            hexa = true;
            c = f.proximo();
        } else {
            algum_digito = true;
            ++tomados;
        }
    }
    const int marca = hexa ? int{'p'} : int{'e'};
    for (;; anterior = c, c = f.proximo(), ++tomados) {
        if (digito(c) || (hexa && !expoente && digito_hexa(c))) {
            algum_digito = true;
        } else if (expoente && minuscula(anterior) == marca && (c == '+' || c == '-')) {
        } else if (algum_digito && !expoente && minuscula(c) == marca) {
            expoente = ponto = true;
        } else if (!ponto && c == '.') {
            ponto = true;
        } else {
            f.devolve(c);
            break;
        }
    }
    if (tomados == 0) return Forma::Falha;
    return hexa ? Forma::Hexa : Forma::Decimal;
}

// One "%g" conversion into a Scalar, as the GNU C library's fscanf makes it on a stream holding
// the text [p, end) and then ending (the grammar above), on every platform: white space
// (C locale) is skipped, then the longest number form the conversion takes is converted. On success
// ok is true, out holds the value and the result points after the number; on failure ok is false
// and out is not written.
const char* le_numero_g(const char* p, const char* end, Scalar& out, bool& ok);
// For text [p, end) without white space, held while more may follow: the end of the numbers its
// bytes already decide, each followed by a byte that cannot continue it. p when the first number
// could still go on; end once a text that cannot be a number is met (its conversion fails
// whatever follows).
const char* fim_decidido(const char* p, const char* end);
// Successive "%g" conversions of [p, end) into out[0..count); stops at the first one that fails.
// Returns how many places were filled.
std::size_t le_numeros_g(const char* p, const char* end, Scalar* out, std::size_t count);

// Converts the text [s, s + n) that reconhece_g took as forma: true with the Scalar in out, or
// false when its longest valid prefix is empty.
bool converte_g(const char* s, std::size_t n, Forma forma, Scalar& out);

}  // namespace sislin
