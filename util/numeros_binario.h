// The binary value of a double and 128-bit products, shared by the two kinds of number text out
// (numeros_saida.cpp: "%g"; numeros_fixo.cpp: "%<w>.<p>f"). Internal to the utility library.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "numeros.h"
#include "numeros_comum.h"

namespace sislin::numeros {

// A 128-bit unsigned value in two halves (no compiler extension): the products m * 10^k below
// take up to 97 bits.
struct U128 {
    std::uint64_t alto;
    std::uint64_t baixo;
};

inline U128 multiplica(std::uint64_t a, std::uint64_t b) {
    if (((a | b) >> 32) == 0) return {0, a * b};
    const std::uint64_t a0 = a & 0xffffffffu;
    const std::uint64_t a1 = a >> 32;
    const std::uint64_t b0 = b & 0xffffffffu;
    const std::uint64_t b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0;
    const std::uint64_t p01 = a0 * b1;
    const std::uint64_t p10 = a1 * b0;
    const std::uint64_t p11 = a1 * b1;
    const std::uint64_t meio = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (meio >> 32), (meio << 32) | (p00 & 0xffffffffu)};
}

// x / 2^s, truncated.
inline U128 desloca(U128 x, int s) {
    if (s == 0) return x;
    if (s >= 128) return {0, 0};
    if (s >= 64) return {0, x.alto >> (s - 64)};
    return {x.alto >> s, (x.baixo >> s) | (x.alto << (64 - s))};
}

// Bit i of x, and whether any bit below i is set.
inline bool bit(U128 x, int i) {
    return ((i < 64 ? x.baixo >> i : x.alto >> (i - 64)) & 1) != 0;
}
inline bool algum_abaixo(U128 x, int i) {
    if (i <= 64) return i > 0 && (x.baixo & (~std::uint64_t{0} >> (64 - i))) != 0;
    return x.baixo != 0 || (x.alto & (~std::uint64_t{0} >> (128 - i))) != 0;
}

// "00" to "99": two digits at a time.
inline constexpr auto kPares = [] {
    std::array<char, 200> t{};
    for (std::size_t i = 0; i < 100; ++i) {
        t[2 * i] = static_cast<char>('0' + i / 10);
        t[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// Rounds x / 2^s to an integer, ties to even, into q; false when it does not fit in 64 bits.
inline bool arredonda_shift(U128 x, int s, std::uint64_t& q) {
    if (x.alto == 0 && s > 0 && s < 64) {
        const std::uint64_t resto = x.baixo & ((std::uint64_t{1} << s) - 1);
        q = arredonda_par(x.baixo >> s, resto, std::uint64_t{1} << (s - 1));
        return true;
    }
    if (s > 128) s = 128;  // x < 2^127 here, so x / 2^s < 1/2
    const U128 t = desloca(x, s);
    if (t.alto != 0) return false;
    if (s <= 0) {
        q = t.baixo;
        return true;
    }
    // The bit below the quotient is one half; the bits below it, what lies beyond.
    q = arredonda_par(t.baixo, bit(x, s - 1) ? 1 : 0, 1, algum_abaixo(x, s - 1));
    return q != 0 || t.baixo == 0;  // q wrapped past 2^64 - 1
}

// The binary value of a finite double: |v| = m * 2^e.
struct Binario {
    std::uint64_t m;
    int e;
    bool negativo;
};

inline Binario decompoe(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const int campo = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t m = bits & ((1ULL << 52) - 1);
    int e = 0;
    if (campo == 0) {
        e = 1 - 1075;
    } else {
        m |= 1ULL << 52;
        e = campo - 1075;
    }
    // Trailing zero bits dropped while e < 0 (a Scalar widened to double has at least 29): the
    // same value, and the products with powers of ten below then mostly fit in 64 bits.
    if (m != 0 && e < 0) {
        const int z = std::min(std::countr_zero(m), -e);
        m >>= z;
        e += z;
    }
    return {m, e, (bits >> 63) != 0};
}

// Every NaN prints as "nan", without a sign: which NaN an operation yields differs between
// processors and builds, and the output must not.
inline std::size_t copia_nan(char* buf) {
    buf[0] = 'n';
    buf[1] = 'a';
    buf[2] = 'n';
    return 3;
}

inline bool finito(double v) {
    return ((std::bit_cast<std::uint64_t>(v) >> 52) & 0x7ff) != 0x7ff;
}

inline std::size_t pelo_to_chars(char* buf, double v, std::chars_format fmt, int prec) {
    // Exact, and the same text as printf's; the buffer holds every result of the precisions used.
    const auto r = std::to_chars(buf, buf + kFormatoMax - 1, v, fmt, prec);
    return r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - buf) : 0;
}

}  // namespace sislin::numeros
