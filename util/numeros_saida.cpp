// Number text out: "%g" and "%<w>.<p>f" as printf writes them.
//
// Nothing here depends on the platform's C library, so the text is the same everywhere: printf's
// text character for character, NaNs aside (always "nan"). The common cases (finite values of
// moderate size) are converted exactly with integer arithmetic on the binary value; the rest goes
// through std::to_chars with a precision, which is exact as well.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "numeros.h"
#include "numeros_binario.h"
#include "numeros_comum.h"

namespace sislin {

using numeros::arredonda_par;
using numeros::arredonda_shift;
using numeros::Binario;
using numeros::copia_nan;
using numeros::decompoe;
using numeros::desloca;
using numeros::finito;
using numeros::kPares;
using numeros::kPot10;
using numeros::multiplica;
using numeros::pelo_to_chars;
using numeros::U128;

namespace {

// The six decimal digits of q < 10^6, leading zeros kept.
void seis_em_texto(char* out, std::uint64_t q) {
    const auto par = [&](char* o, std::uint64_t d) { std::memcpy(o, kPares.data() + 2 * d, 2); };
    const std::uint64_t resto = q % 10000;
    par(out, q / 10000);
    par(out + 2, resto / 100);
    par(out + 4, resto % 100);
}

// The six significant digits of |v| for 1e-5 <= |v| < 1e17, rounded exactly (ties to even):
// |v| ~ q * 10^(x - 5) with 100000 <= q <= 999999.
void seis_digitos(const Binario& b, std::uint64_t& q_out, int& x_out) {
    // Bit length of m (normal: 53) gives the binary magnitude; x is the estimate or one more.
    const int topo = b.e + 63 - std::countl_zero(b.m);  // 2^topo <= |v| < 2^(topo + 1)
    int x = (topo * 78913) >> 18;                       // floor(topo * log10(2))
    for (;;) {
        const int k = 5 - x;  // q = |v| * 10^k
        std::uint64_t q = 0;
        if (k >= 0) {
            // |v| * 10^k = m * 10^k / 2^-e; here e <= 0 since |v| < 10^6.
            const U128 n = multiplica(b.m, kPot10[k]);
            const int s = -b.e;
            // The usual case of a Scalar has the product in 64 bits.
            const bool acima = n.alto == 0 && s > 0 && s < 64 ? (n.baixo >> s) >= 1000000 : [&] {
                const U128 trunc = desloca(n, s);
                return trunc.alto != 0 || trunc.baixo >= 1000000;
            }();
            if (acima) {
                ++x;
                continue;
            }
            arredonda_shift(n, s, q);
        } else if (b.e >= 0) {
            // |v| / 10^-k with |v| = m * 2^e < 2^57: in 64 bits, the quotient small.
            const std::uint64_t n = b.m << b.e;
            const std::uint64_t d = kPot10[-k];
            const std::uint64_t t = n / d;
            const std::uint64_t r = n % d;
            if (t >= 1000000) {
                ++x;
                continue;
            }
            q = arredonda_par(t, 2 * r, d);
        } else {
            // m / (10^-k * 2^s) with s = -e <= 33 (|v| >= 10^6): t1 = m / 10^-k first, then
            // the quotient t1 / 2^s; the rest a * 10^-k + r1 (a = t1 mod 2^s) against one half
            // of the divisor, 2^(s-1) * 10^-k, is decided by a against 2^(s-1) and then r1.
            const int s = -b.e;
            const std::uint64_t d = kPot10[-k];
            const std::uint64_t t1 = b.m / d;
            const std::uint64_t r1 = b.m % d;
            const std::uint64_t t = t1 >> s;
            if (t >= 1000000) {
                ++x;
                continue;
            }
            const std::uint64_t a = t1 & ((std::uint64_t{1} << s) - 1);
            q = arredonda_par(t, a, std::uint64_t{1} << (s - 1), r1 > 0);
        }
        if (q == 1000000) {
            q = 100000;
            ++x;
        }
        q_out = q;
        x_out = x;
        return;
    }
}

// The six digits of q < 10^6 as the low six bytes of a word, the first digit lowest.
std::uint64_t seis_em_palavra(std::uint64_t q) {
    const auto par = [](std::uint64_t d) {
        std::uint16_t p = 0;
        std::memcpy(&p, kPares.data() + 2 * d, 2);
        return std::uint64_t{p};
    };
    const std::uint64_t resto = q % 10000;
    return par(q / 10000) | par(resto / 100) << 16 | par(resto % 100) << 32;
}

// "%g" of a Scalar's value with 1e-5 <= |v| < 1e6 and a fraction (|v| = m * 2^e, m < 2^24,
// e < 0), the values of the data files and the echo: 0 for any other. Without a branch that
// depends on the digits (the data's digits would take it at random): both candidate scalings
// are computed and one is chosen, the rounding carries, and the text is put together in words.
std::size_t g_curto(char* buf, const Binario& b) {
    if (b.m >= (1ULL << 24) || b.e >= 0) return 0;
    const int topo = b.e + 63 - std::countl_zero(b.m);  // 2^topo <= |v| < 2^(topo + 1)
    const int estimado = (topo * 78913) >> 18;          // the exponent x, or x - 1
    const int k = 5 - estimado;                         // 0 <= k <= 11: m * 10^k < 2^61
    const int s = -b.e;                                 // 1 <= s <= 41
    const std::uint64_t maior = b.m * kPot10[k];
    const std::uint64_t menor = b.m * kPot10[k > 0 ? k - 1 : 0];
    const bool acima = (maior >> s) >= 1000000;  // the exponent is estimado + 1
    const std::uint64_t n = acima ? menor : maior;
    // Ties to even: one half less one plus the quotient's last bit carries exactly when the
    // quotient must round up.
    std::uint64_t q = (n + ((1ULL << (s - 1)) - 1) + ((n >> s) & 1)) >> s;
    int x = estimado + (acima ? 1 : 0);
    if (q == 1000000) {
        q = 100000;
        ++x;
    }
    if (x < -4 || x > 5) return 0;  // exponential form
    const std::uint64_t digitos = seis_em_palavra(q);
    // Trailing zeros dropped: the digits' bytes that are '0', counted from the sixth down (the
    // first digit is never 0).
    const int zeros = std::countl_zero((digitos ^ 0x303030303030ULL) << 16) / 8;
    const int sig = 6 - zeros;
    buf[0] = '-';
    char* p = buf + (b.negativo ? 1 : 0);
    std::size_t len = 0;
    if (x >= 0) {
        // x + 1 integer digits, then the point and the rest of the kept digits.
        const int inteiros = x + 1;
        const std::uint64_t baixos =
            inteiros >= 6 ? digitos : digitos & ((1ULL << (8 * inteiros)) - 1);
        const std::uint64_t texto =
            baixos | std::uint64_t{'.'} << (8 * inteiros) | (digitos ^ baixos) << 8;
        std::memcpy(p, &texto, 8);
        const int caracteres = sig > inteiros ? sig + 1 : inteiros;
        len = static_cast<std::size_t>(caracteres);
    } else {
        // "0.", then -x - 1 zeros (at most three), then the kept digits.
        const std::uint64_t zeros_a_esquerda = 0x303030302e30ULL;  // "0.0000"
        std::memcpy(p, &zeros_a_esquerda, 8);
        std::memcpy(p + 1 - x, &digitos, 8);
        const int caracteres = 1 - x + sig;
        len = static_cast<std::size_t>(caracteres);
    }
    return static_cast<std::size_t>(p - buf) + len;
}

}  // namespace

std::size_t formata_g(char* buf, double v) {
    if (v != v) return copia_nan(buf);
    if (!finito(v) || v == 0.0) return pelo_to_chars(buf, v, std::chars_format::general, 6);
    const Binario b = decompoe(v);
    const double a = v < 0 ? -v : v;
    if (!(a >= 1e-5 && a < 1e17)) return pelo_to_chars(buf, v, std::chars_format::general, 6);
    if (a < 1e6)
        if (const std::size_t len = g_curto(buf, b); len != 0) return len;

    std::uint64_t q = 0;
    int x = 0;
    seis_digitos(b, q, x);
    char* p = buf;
    if (b.negativo) *p++ = '-';
    // The digits, then pieces of fixed length copied from them: whatever a piece carries past
    // the text's end lies inside buf (kFormatoMax places) and is overwritten or ignored.
    char dig[16] = {};
    seis_em_texto(dig, q);
    int sig = 6;  // significant digits kept after dropping trailing zeros
    while (sig > 1 && dig[sig - 1] == '0') --sig;

    if (x < -4 || x >= 6) {
        p[0] = dig[0];
        if (sig > 1) {
            p[1] = '.';
            std::memcpy(p + 2, dig + 1, 8);
            p += sig + 1;
        } else {
            p += 1;
        }
        *p++ = 'e';
        *p++ = x < 0 ? '-' : '+';
        const int ax = x < 0 ? -x : x;
        *p++ = static_cast<char>('0' + ax / 10);
        *p++ = static_cast<char>('0' + ax % 10);
    } else if (x >= 0) {
        // x + 1 integer digits, then the rest of the kept digits as the fraction.
        std::memcpy(p, dig, 8);
        p += x + 1;
        if (sig > x + 1) {
            std::memcpy(p + 1, dig + x + 1, 8);
            *p = '.';
            p += sig - x;
        }
    } else {
        p[0] = '0';  // "0." and up to three zeros
        p[1] = '.';
        p[2] = '0';
        p[3] = '0';
        p[4] = '0';
        p += 2 + (-x - 1);
        std::memcpy(p, dig, 8);
        p += sig;
    }
    return static_cast<std::size_t>(p - buf);
}

}  // namespace sislin
