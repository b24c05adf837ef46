// Number text: "%g" and "%<w>.<p>f" output, and the "%g" input conversion of the data files.
//
// Nothing here depends on the platform's C library, so the text is the same everywhere.
// Output is printf's text character for character, NaNs aside (always "nan"). The common cases
// (finite values of moderate size) are converted exactly with integer arithmetic on the binary
// value; the rest goes through std::to_chars with a precision, which is exact as well.
//
// Input follows the grammar of conversao.h. Short plain decimals are converted here exactly;
// other decimals go to fast_float (correctly rounded, like strtof), hexadecimal ones to
// de_binario below.
#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

#include "conversao.h"
#include "util.h"

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

constexpr std::uint64_t kPot10[] = {
    1ULL,           10ULL,           100ULL,           1000ULL,          10000ULL,
    100000ULL,      1000000ULL,      10000000ULL,      100000000ULL,     1000000000ULL,
    10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL};

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
        const std::uint64_t meio = std::uint64_t{1} << (s - 1);
        q = x.baixo >> s;
        if (resto > meio || (resto == meio && (q & 1) != 0)) ++q;
        return true;
    }
    if (s > 128) s = 128;  // x < 2^127 here, so x / 2^s < 1/2
    const U128 t = desloca(x, s);
    if (t.alto != 0) return false;
    q = t.baixo;
    if (s > 0 && bit(x, s - 1) && (algum_abaixo(x, s - 1) || (q & 1) != 0)) {
        if (q == ~std::uint64_t{0}) return false;
        ++q;
    }
    return true;
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
            if (n.alto == 0 && s > 0 && s < 64) {
                // The usual case of a Scalar: the product in 64 bits.
                q = n.baixo >> s;
                if (q >= 1000000) {
                    ++x;
                    continue;
                }
                const std::uint64_t resto = n.baixo & ((std::uint64_t{1} << s) - 1);
                const std::uint64_t meio = std::uint64_t{1} << (s - 1);
                if (resto > meio || (resto == meio && (q & 1) != 0)) ++q;
            } else {
                const U128 trunc = desloca(n, s);
                if (trunc.alto != 0 || trunc.baixo >= 1000000) {
                    ++x;
                    continue;
                }
                arredonda_shift(n, s, q);
            }
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
            q = t;
            if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
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
            const std::uint64_t meio = std::uint64_t{1} << (s - 1);
            q = t;
            if (a > meio || (a == meio && (r1 > 0 || (q & 1) != 0))) ++q;
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

}  // namespace

std::size_t formata_g(char* buf, double v) {
    if (v != v) return copia_nan(buf);
    if (!finito(v) || v == 0.0) return pelo_to_chars(buf, v, std::chars_format::general, 6);
    const Binario b = decompoe(v);
    const double a = v < 0 ? -v : v;
    if (!(a >= 1e-5 && a < 1e17)) return pelo_to_chars(buf, v, std::chars_format::general, 6);

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

std::size_t formata_fixo(char* buf, double v, int width, int prec) {
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

namespace {

bool espaco(char c) {
    return c == ' ' || static_cast<unsigned char>(c - '\t') <= 4;
}
bool digito(char c) {
    return static_cast<unsigned char>(c - '0') <= 9;
}

// A byte source over the text [p, end) for reconhece_g.
struct FonteTexto {
    const char* p;
    const char* end;
    int proximo() { return p < end ? static_cast<unsigned char>(*p++) : EOF; }
    void devolve(int c) {
        if (c != EOF) --p;
    }
};

// m * 2^e2 (plus a nonzero tail below m when resto) as a float, rounded to nearest, ties to even.
float de_binario(std::uint64_t m, long long e2, bool resto) {
    if (m == 0) return 0.0f;
    const int z = std::countl_zero(m);
    m <<= z;
    e2 -= z;
    const long long topo = e2 + 63;  // 2^topo <= value < 2^(topo + 1)
    if (topo > 127) return std::numeric_limits<float>::infinity();
    // Bits of m below the 24 kept (fewer kept for a subnormal result).
    const long long corte = topo >= -126 ? 40 : 40 + (-126 - topo);
    if (corte > 64) return 0.0f;  // below half the smallest subnormal
    const std::uint64_t mantida = corte == 64 ? 0 : m >> corte;
    const std::uint64_t fora = corte == 64 ? m : m & ((std::uint64_t{1} << corte) - 1);
    const std::uint64_t meio = std::uint64_t{1} << (corte - 1);
    std::uint64_t q = mantida;
    if (fora > meio || (fora == meio && (resto || (q & 1) != 0))) ++q;
    if (topo < -126) return std::bit_cast<float>(static_cast<std::uint32_t>(q));  // 2^23 is 2^-126
    long long expo = topo;
    if (q == (std::uint64_t{1} << 24)) {
        q >>= 1;
        ++expo;
    }
    if (expo > 127) return std::numeric_limits<float>::infinity();
    return std::bit_cast<float>(
        static_cast<std::uint32_t>(((expo + 127) << 23) | static_cast<long long>(q & 0x7fffff)));
}

int valor_hexa(char c) {
    if (digito(c)) return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// [s, end) after "0x": hex digits with at most one '.', then an optional "p[+-]digits".
float converte_hexa(const char* s, const char* end) {
    std::uint64_t m = 0;
    long long e2 = 0;
    bool resto = false;
    bool ponto = false;
    for (; s < end && (*s == '.' || conversao::digito_hexa(*s)); ++s) {
        if (*s == '.') {
            ponto = true;
            continue;
        }
        const int d = valor_hexa(*s);
        if ((m >> 60) == 0) {
            m = m * 16 + static_cast<std::uint64_t>(d);
            if (ponto) e2 -= 4;
        } else {
            resto = resto || d != 0;
            if (!ponto) e2 += 4;
        }
    }
    if (s + 1 < end && (s[1] == '+' || s[1] == '-' ? s + 2 < end && digito(s[2]) : digito(s[1]))) {
        ++s;  // the 'p'
        const bool negativo = *s == '-';
        if (*s == '+' || *s == '-') ++s;
        long long x = 0;
        for (; s < end && digito(*s); ++s)
            if (x < 100000) x = x * 10 + (*s - '0');
        e2 += negativo ? -x : x;
    }
    return de_binario(m, e2, resto);
}

// The short decimals of ordinary data files: at most 2^24 as an integer of its digits, and a
// decimal exponent within [-10, 10]. Both operands are then exact floats, and one float
// multiplication or division gives the correctly rounded result. Anything else returns false.
// The digits at s, eight bytes at a time where eight can be read (on little-endian machines;
// elsewhere one by one): w becomes w * 10^d plus their value, d their count; returns s + d.
const char* digitos_em(const char* s, const char* end, std::uint64_t& w) {
    if constexpr (std::endian::native == std::endian::little) {
        while (end - s >= 8) {
            std::uint64_t bloco = 0;
            std::memcpy(&bloco, s, 8);
            // Each byte minus '0'; a byte is a digit when that is below 10 (checked without
            // carries between bytes).
            const std::uint64_t a = bloco ^ 0x3030303030303030u;
            const std::uint64_t b = a & 0x7f7f7f7f7f7f7f7fu;
            const std::uint64_t nao = ((b + 0x7676767676767676u) | a) & 0x8080808080808080u;
            const int d = nao == 0 ? 8 : std::countr_zero(nao) / 8;
            if (d == 0) return s;
            // The d digits moved to the low end of eight (zeros before them), then combined
            // two, four and eight at a time.
            std::uint64_t v = a << (8 * (8 - d));
            v = (v * 10) + (v >> 8);
            v = (((v & 0x000000ff000000ffu) * 0x000f424000000064u) +
                 (((v >> 16) & 0x000000ff000000ffu) * 0x0000271000000001u)) >>
                32;
            w = w * kPot10[d] + v;
            s += d;
            if (d < 8) return s;
        }
    }
    for (; s < end && digito(*s); ++s) w = w * 10 + static_cast<std::uint64_t>(*s - '0');
    return s;
}

bool decimal_curto(const char* s, const char* end, bool negativo, Scalar& out, const char*& fim) {
    static constexpr float kPot10f[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                        1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    if (negativo) ++s;
    // Every digit goes into w, leading zeros too (they add nothing); past 19 digits w may have
    // wrapped, and the general path takes the number.
    std::uint64_t w = 0;
    const char* const inicio = s;
    for (; s < end && digito(*s); ++s) w = w * 10 + static_cast<std::uint64_t>(*s - '0');
    std::ptrdiff_t digitos = s - inicio;
    std::ptrdiff_t fracao = 0;
    if (s < end && *s == '.') {
        const char* const f0 = ++s;
        s = digitos_em(s, end, w);
        fracao = s - f0;
        digitos += fracao;
    }
    if (digitos == 0 || digitos > 19) return false;
    int e10 = -static_cast<int>(fracao);
    if (s < end && (*s == 'e' || *s == 'E')) {
        ++s;
        bool eneg = false;
        if (s < end && (*s == '+' || *s == '-')) eneg = *s++ == '-';
        if (s == end || !digito(*s)) return false;  // a dangling exponent is the library's case
        int x = 0;
        for (; s < end && digito(*s); ++s)
            if (x < 10000) x = x * 10 + (*s - '0');
        e10 += eneg ? -x : x;
    }
    if (s != end && !espaco(*s)) return false;
    if (w > (1u << 24) || e10 < -10 || e10 > 10) return false;
    float f = static_cast<float>(w);
    f = e10 >= 0 ? f * kPot10f[e10] : f / kPot10f[-e10];
    out = negativo ? -f : f;
    fim = s;
    return true;
}

}  // namespace

bool converte_g(const char* s, std::size_t n, Forma forma, Scalar& out) {
    const char* const end = s + n;
    const bool negativo = n > 0 && *s == '-';
    if (n > 0 && (*s == '+' || *s == '-')) ++s;
    float f = 0.0f;
    switch (forma) {
        case Forma::Falha:
            return false;
        case Forma::Nan:
            f = std::numeric_limits<float>::quiet_NaN();
            break;
        case Forma::Infinito:
            f = std::numeric_limits<float>::infinity();
            break;
        case Forma::Hexa:
            f = converte_hexa(s + 2, end);
            break;
        case Forma::Decimal: {
            // fast_float takes the longest valid prefix and rounds correctly, like strtof.
            const auto r = fast_float::from_chars(s, end, f);
            if (r.ec == std::errc::invalid_argument || r.ptr == s) return false;
            break;
        }
    }
    out = negativo ? -f : f;
    return true;
}

const char* le_numero_g(const char* p, const char* end, Scalar& out, bool& ok) {
    while (p < end && espaco(*p)) ++p;
    if (p == end) {
        ok = false;
        return p;
    }
    // Fast path: [+-](digits[.digits] | .digits)[e[+-]digits] ending at white space or the end.
    const char* q = p;
    if (*q == '+' && q + 1 < end && (digito(q[1]) || q[1] == '.')) ++q;
    const char* c = (*q == '-') ? q + 1 : q;
    if (c < end && (digito(*c) || (*c == '.' && c + 1 < end && digito(c[1])))) {
        const char* fim = nullptr;
        if (decimal_curto(q, end, *q == '-', out, fim)) {
            ok = true;
            return fim;
        }
        // A longer decimal that ends at white space or at the end: the whole of it is a number.
        float f = 0.0f;
        const auto r = fast_float::from_chars(q, end, f);
        if (r.ec != std::errc::invalid_argument && r.ptr != q && (r.ptr == end || espaco(*r.ptr))) {
            out = f;
            ok = true;
            return r.ptr;
        }
    }
    FonteTexto fonte{p, end};
    const Forma forma = reconhece_g(fonte);
    ok = forma != Forma::Falha && converte_g(p, static_cast<std::size_t>(fonte.p - p), forma, out);
    return ok ? fonte.p : p;
}

namespace {
// FonteTexto that tells whether the recogniser asked for a byte beyond the text.
struct FonteAberta {
    FonteTexto t{};
    bool alem = false;
    int proximo() {
        const int c = t.proximo();
        if (c == EOF) alem = true;
        return c;
    }
    void devolve(int c) { t.devolve(c); }
};
}  // namespace

const char* fim_decidido(const char* p, const char* end) {
    while (p < end) {
        FonteAberta f{{p, end}};
        const Forma forma = reconhece_g(f);
        if (f.alem) return p;  // the bytes that follow could still extend it
        Scalar v = 0.0f;
        if (forma == Forma::Falha || !converte_g(p, static_cast<std::size_t>(f.t.p - p), forma, v))
            return end;  // not a number, whatever follows
        p = f.t.p;
    }
    return p;
}

std::size_t le_numeros_g(const char* p, const char* end, Scalar* out, std::size_t count) {
    std::size_t k = 0;
    while (k < count) {
        bool ok = false;
        p = le_numero_g(p, end, out[k], ok);
        if (!ok) break;
        ++k;
    }
    return k;
}
