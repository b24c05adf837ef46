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
#include "numeros_comum.h"

namespace sislin {

using numeros::arredonda_par;
using numeros::kPot10;

namespace {

// A 128-bit unsigned value in two halves (no compiler extension): the products m * 10^k below
// take up to 97 bits.
struct U128 {
    std::uint64_t alto;
    std::uint64_t baixo;
};

U128 multiplica(std::uint64_t a, std::uint64_t b) {
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
U128 desloca(U128 x, int s) {
    if (s == 0) return x;
    if (s >= 128) return {0, 0};
    if (s >= 64) return {0, x.alto >> (s - 64)};
    return {x.alto >> s, (x.baixo >> s) | (x.alto << (64 - s))};
}

// Bit i of x, and whether any bit below i is set.
bool bit(U128 x, int i) {
    return ((i < 64 ? x.baixo >> i : x.alto >> (i - 64)) & 1) != 0;
}
bool algum_abaixo(U128 x, int i) {
    if (i <= 64) return i > 0 && (x.baixo & (~std::uint64_t{0} >> (64 - i))) != 0;
    return x.baixo != 0 || (x.alto & (~std::uint64_t{0} >> (128 - i))) != 0;
}

// "00" to "99": two digits at a time.
constexpr auto kPares = [] {
    std::array<char, 200> t{};
    for (std::size_t i = 0; i < 100; ++i) {
        t[2 * i] = static_cast<char>('0' + i / 10);
        t[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// The six decimal digits of q < 10^6, leading zeros kept.
void seis_em_texto(char* out, std::uint64_t q) {
    const auto par = [&](char* o, std::uint64_t d) { std::memcpy(o, kPares.data() + 2 * d, 2); };
    const std::uint64_t resto = q % 10000;
    par(out, q / 10000);
    par(out + 2, resto / 100);
    par(out + 4, resto % 100);
}

// Rounds x / 2^s to an integer, ties to even, into q; false when it does not fit in 64 bits.
bool arredonda_shift(U128 x, int s, std::uint64_t& q) {
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

Binario decompoe(double v) {
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
std::size_t copia_nan(char* buf) {
    buf[0] = 'n';
    buf[1] = 'a';
    buf[2] = 'n';
    return 3;
}

bool finito(double v) {
    return ((std::bit_cast<std::uint64_t>(v) >> 52) & 0x7ff) != 0x7ff;
}

std::size_t pelo_to_chars(char* buf, double v, std::chars_format fmt, int prec) {
    // Exact, and the same text as printf's; the buffer holds every result of the precisions used.
    const auto r = std::to_chars(buf, buf + kFormatoMax - 1, v, fmt, prec);
    return r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - buf) : 0;
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
