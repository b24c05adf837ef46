// Number text of the plain build: the C library's own printf conversions.
#include <cstdio>

#include "util.h"

std::size_t formata_g(char* buf, double v) {
    return static_cast<std::size_t>(std::snprintf(buf, kFormatoMax, "%g", v));
}

std::size_t formata_fixo(char* buf, double v, int width, int prec) {
    return static_cast<std::size_t>(std::snprintf(buf, kFormatoMax, "%*.*f", width, prec, v));
}
