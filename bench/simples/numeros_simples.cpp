// Number text of the plain build: the C library's own printf and scanf conversions.
#include <cstdio>
#include <string>

#include "conversao.h"
#include "util.h"

namespace sislin {

std::size_t formata_g(char* buf, double v) {
    return static_cast<std::size_t>(std::snprintf(buf, kFormatoMax, "%g", v));
}

std::size_t formata_fixo(char* buf, double v, int width, int prec) {
    return static_cast<std::size_t>(std::snprintf(buf, kFormatoMax, "%*.*f", width, prec, v));
}

// The precision reply: "%g" of the C library on the text the reply's grammar took.
bool converte_g(const char* s, std::size_t n, Forma forma, Scalar& out) {
    if (forma == Forma::Falha) return false;
    const std::string texto(s, n);
    float f = 0.0f;
    if (std::sscanf(texto.c_str(), "%g", &f) != 1) return false;
    out = f;
    return true;
}

}  // namespace sislin
