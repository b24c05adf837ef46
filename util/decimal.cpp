// The correctly rounded decimal-to-float conversion behind the "%g" reader (numeros_entrada.cpp),
// for the decimals its own short path does not take: the standard library's std::from_chars where
// it converts floats, fast_float where it does not (libc++ 14: the libc++ and WebAssembly builds).
// Both round to nearest, ties to even, as strtof does; this file gives them strtof's answer out of
// range too (an infinity or a zero of the number's sign).
#include <cstdint>
#include <limits>
#include <system_error>

#include "conversao.h"

#if SISLIN_DECIMAL_FAST_FLOAT
#include <fast_float/fast_float.h>
#else
#include <charconv>
#endif

namespace sislin {
namespace {

#if !SISLIN_DECIMAL_FAST_FLOAT
// The decimal [s, end), known to lie outside the float range: does it lie above it (rather than
// below the smallest subnormal)? Its order of magnitude decides, far from either border.
bool acima_da_faixa(const char* s, const char* end) {
    using conversao::digito;
    if (s < end && (*s == '-' || *s == '+')) ++s;
    long long ordem = 0;  // the decimal exponent of the first nonzero digit, plus one
    bool visto = false;   // a nonzero digit seen
    bool fracao = false;
    for (; s < end && (digito(*s) || *s == '.'); ++s) {
        if (*s == '.') {
            fracao = true;
        } else if (!visto && *s == '0') {
            ordem -= fracao ? 1 : 0;
        } else {
            visto = true;
            ordem += fracao ? 0 : 1;
        }
    }
    long long e = 0;
    if (s < end && (*s == 'e' || *s == 'E')) {
        ++s;
        const bool negativo = s < end && *s == '-';
        if (s < end && (*s == '-' || *s == '+')) ++s;
        for (; s < end && digito(*s); ++s)
            if (e < 1000000) e = e * 10 + (*s - '0');
        if (negativo) e = -e;
    }
    return ordem + e > 0;
}
#endif

}  // namespace

namespace conversao {

const char* converte_decimal(const char* s, const char* end, float& f) {
#if SISLIN_DECIMAL_FAST_FLOAT
    // fast_float gives the infinity or the zero out of range itself.
    const auto r = fast_float::from_chars(s, end, f);
#else
    const auto r = std::from_chars(s, end, f);
    if (r.ec == std::errc::result_out_of_range) {
        const float m = acima_da_faixa(s, r.ptr) ? std::numeric_limits<float>::infinity() : 0.0f;
        f = *s == '-' ? -m : m;
    }
#endif
    return r.ec == std::errc::invalid_argument || r.ptr == s ? nullptr : r.ptr;
}

}  // namespace conversao
}  // namespace sislin
