// Number text in: the "%g" input conversion of the data files and of the precision reply.
//
// Input follows the grammar of conversao.h. Short plain decimals are converted here exactly;
// other decimals go to converte_decimal (decimal.cpp: correctly rounded, like strtof),
// hexadecimal ones to de_binario below.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "conversao.h"
#include "numeros_comum.h"

namespace sislin {

using numeros::arredonda_par;
using numeros::kPot10;

using conversao::digito;
using conversao::espaco;

namespace {

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
    std::uint64_t q = arredonda_par(mantida, fora, std::uint64_t{1} << (corte - 1), resto);
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
    s += negativo ? 1 : 0;  // an addition, not a branch: the data's signs come at random
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
    // The sign bit set without a branch.
    out = std::bit_cast<float>(std::bit_cast<std::uint32_t>(f) |
                               (negativo ? std::uint32_t{0x80000000u} : std::uint32_t{0}));
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
            // The longest valid prefix, rounded correctly, like strtof.
            if (conversao::converte_decimal(s, end, f) == nullptr) return false;
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
    const bool menos = *q == '-';
    const char* c = q + (menos ? 1 : 0);
    if (c < end && (digito(*c) || (*c == '.' && c + 1 < end && digito(c[1])))) {
        const char* fim = nullptr;
        if (decimal_curto(q, end, menos, out, fim)) {
            ok = true;
            return fim;
        }
        // A longer decimal that ends at white space or at the end: the whole of it is a number.
        float f = 0.0f;
        const char* const fim_longo = conversao::converte_decimal(q, end, f);
        if (fim_longo != nullptr && (fim_longo == end || espaco(*fim_longo))) {
            out = f;
            ok = true;
            return fim_longo;
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

}  // namespace sislin
