// Number text out: "%<w>.<p>f" as printf writes it, the same on every platform (see
// numeros_saida.cpp for "%g").
#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "numeros.h"
#include "numeros_binario.h"

namespace sislin {

using numeros::arredonda_shift;
using numeros::Binario;
using numeros::copia_nan;
using numeros::decompoe;
using numeros::finito;
using numeros::kPares;
using numeros::kPot10;
using numeros::multiplica;
using numeros::pelo_to_chars;

namespace {

// "%7.4f" of a Scalar value below 2^23 in magnitude (the inverse and the factors print millions
// of them): 0 when v is none. Such a value is m * 2^e with m < 2^24 and e < 0, so m * 10^4 < 2^38
// and its rounding to an integer takes one shift; the text is at least six characters
// ("0.0000"), so the width adds one blank at most. buf has room for eight characters.
std::size_t fixo_7_4(char* buf, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const int campo = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fracao = bits & ((1ULL << 52) - 1);
    constexpr std::uint64_t kAlemDoScalar = (1ULL << 29) - 1;  // bits a Scalar does not have
    if (campo == 0 || campo >= 1075 - 29 || (fracao & kAlemDoScalar) != 0) return 0;
    const std::uint64_t m = (fracao | (1ULL << 52)) >> 29;
    // v = m / 2^s with s > 0; past 63 the product below is still under one half of 2^s, so a
    // shift of 63 rounds it to 0 as well.
    const int s = std::min(1075 - 29 - campo, 63);
    // Ties to even without a branch (its direction would be taken at random): adding one half
    // less one, plus the quotient's last bit, carries into the quotient exactly when it must
    // round up (x < 2^38, so the sum cannot overflow).
    const std::uint64_t x = m * 10000;
    const std::uint64_t q = (x + ((1ULL << (s - 1)) - 1) + ((x >> s) & 1)) >> s;
    const std::uint64_t negativo = bits >> 63;  // printf keeps the sign of values that round to 0
    const std::uint64_t inteiro = q / 10000;
    const std::uint64_t resto = q % 10000;
    const auto par = [](std::uint64_t d) {
        std::uint16_t p = 0;
        std::memcpy(&p, kPares.data() + 2 * d, 2);
        return std::uint64_t{p};
    };
    if (inteiro < 10) {
        // The usual case, always seven characters: the sign or a blank, one digit, the point
        // and four digits, put together in one word and stored at once (character by character,
        // the sign's branch would be taken at random).
        const std::uint64_t texto = (std::uint64_t{' '} + negativo * std::uint64_t{'-' - ' '}) |
                                    (std::uint64_t{'0'} + inteiro) << 8 | std::uint64_t{'.'} << 16 |
                                    par(resto / 100) << 24 | par(resto % 100) << 40;
        std::memcpy(buf, &texto, 8);
        return 7;
    }
    std::size_t digitos = 2;
    for (std::uint64_t d = inteiro; d >= 100; d /= 10) ++digitos;
    const std::size_t total = (negativo != 0 ? 1 : 0) + digitos + 5;  // seven or more
    // Each character goes straight to its place in buf (gathered in a buffer of its own and
    // copied, the copy would wait for the stores of the single characters).
    char* p = buf + total;
    std::memcpy(p - 4, kPares.data() + 2 * (resto / 100), 2);
    std::memcpy(p - 2, kPares.data() + 2 * (resto % 100), 2);
    p -= 5;
    *p = '.';
    std::uint64_t d = inteiro;
    do {
        *--p = static_cast<char>('0' + d % 10);
        d /= 10;
    } while (d != 0);
    if (negativo != 0) *--p = '-';
    return total;
}

// Any width and precision. Kept out of line, so that the short path does not set up its frame.
[[gnu::noinline]] std::size_t fixo_geral(char* buf, double v, int width, int prec) {
    if (width < 0) width = 0;
    if (prec < 0) prec = 6;  // as printf treats a negative precision
    if (prec > kPrecisaoMax) prec = kPrecisaoMax;
    char tmp[kFormatoMax];
    std::size_t len = 0;
    const Binario b = decompoe(v);
    // |v| < 2^53: |v| * 10^prec < 2^83, rounded exactly from the binary value; the digits are
    // written from 64 bits, so larger results take the general path.
    std::uint64_t q = 0;
    const bool exato = finito(v) && b.e <= 0 && prec <= 9 &&
                       arredonda_shift(multiplica(b.m, kPot10[prec]), -b.e, q);
    // The text is built from its end backwards in tmp, then padded on the left into buf; the
    // pieces are a few characters long, copied one by one rather than through the C library.
    char* const fim = tmp + sizeof tmp;
    const char* texto = tmp;
    if (v != v) {
        len = copia_nan(tmp);
    } else if (exato) {
        char* p = fim;
        for (int i = 0; i < prec; ++i) {  // the fraction's digits straight from q
            *--p = static_cast<char>('0' + q % 10);
            q /= 10;
        }
        if (prec > 0) *--p = '.';
        do {
            *--p = static_cast<char>('0' + q % 10);
            q /= 10;
        } while (q != 0);
        if (b.negativo) *--p = '-';  // printf keeps the sign of values that round to zero
        texto = p;
        len = static_cast<std::size_t>(fim - p);
    } else {
        len = pelo_to_chars(tmp, v, std::chars_format::fixed, prec);
    }
    const std::size_t w = static_cast<std::size_t>(width);
    std::size_t pad = len < w ? w - len : 0;
    if (pad + len > kFormatoMax - 1) pad = kFormatoMax - 1 - len;
    for (std::size_t i = 0; i < pad; ++i) buf[i] = ' ';
    for (std::size_t i = 0; i < len; ++i) buf[pad + i] = texto[i];
    return pad + len;
}

}  // namespace

std::size_t formata_fixo(char* buf, double v, int width, int prec) {
    if (width == 7 && prec == 4)
        if (const std::size_t len = fixo_7_4(buf, v); len != 0) return len;
    return fixo_geral(buf, v, width, prec);
}

}  // namespace sislin
