// Fuzzing the data-file number reader: le_numeros_g must fill exactly the places a "%g" fscanf
// loop fills on the same bytes, with the correctly rounded bits.
//
// fscanf decides the grammar (which bytes make each number, where reading stops). Its values are
// the oracle for decimal numbers, which the C library rounds correctly. For hexadecimal numbers
// it is not: glibc 2.36 rounds some long hexadecimal mantissas one unit off (for example
// -0X.000000000000000000000000000000001451941, exactly between two floats after its first bits,
// gives 0x80028A32 where correct rounding gives 0x80028A33). A hexadecimal number's exact value is
// a binary fraction, so the target rounds it itself (hex_correto) and compares with that.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../util/conversao.h"
#include "../util/util.h"

using sislin::le_numeros_g;
using sislin::Scalar;

namespace {
constexpr std::size_t kPlaces = 64;

bool hex_digito(char c, unsigned& v) {
    if (c >= '0' && c <= '9')
        v = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f')
        v = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
        v = static_cast<unsigned>(c - 'A' + 10);
    else
        return false;
    return true;
}

// The float nearest (ties to even) the hexadecimal number that token starts with
// ([+-]0x[digits][.digits][p[+-]digits]), computed from its exact value: the first 60
// significant bits, a sticky bit for any non-zero digit after them, and the binary exponent.
Scalar hex_correto(const std::string& token) {
    std::size_t i = 0;
    const bool negativo = i < token.size() && token[i] == '-';
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) ++i;
    i += 2;  // "0x" or "0X"
    std::uint64_t m = 0;
    bool sticky = false;
    long long expoente = 0;  // value = m * 2^expoente (plus the sticky part)
    bool ponto = false;
    for (; i < token.size(); ++i) {
        unsigned d = 0;
        if (token[i] == '.' && !ponto) {
            ponto = true;
            continue;
        }
        if (!hex_digito(token[i], d)) break;
        if (m >> 56 == 0) {
            m = m * 16 + d;
            if (ponto) expoente -= 4;
        } else {
            sticky = sticky || d != 0;
            if (!ponto) expoente += 4;
        }
    }
    if (i + 1 < token.size() && (token[i] == 'p' || token[i] == 'P')) {
        std::size_t j = i + 1;
        const bool menos = token[j] == '-';
        if (token[j] == '-' || token[j] == '+') ++j;
        if (j < token.size() && token[j] >= '0' && token[j] <= '9') {
            long long p = 0;
            for (; j < token.size() && token[j] >= '0' && token[j] <= '9'; ++j)
                if (p < 100000000) p = p * 10 + (token[j] - '0');
            expoente += menos ? -p : p;
        }
    }
    std::uint32_t bits = negativo ? 0x80000000U : 0U;
    if (m == 0) {
        Scalar r = 0;
        std::memcpy(&r, &bits, sizeof r);
        return r;
    }
    // Normalise: the leading bit at position 63.
    int topo = 63;
    while ((m >> topo) == 0) --topo;
    m <<= (63 - topo);
    expoente -= (63 - topo);
    // The value is 1.f * 2^e with e = expoente + 63.
    const long long e = expoente + 63;
    // Bits kept: 24 for a normal float; fewer below 2^-126 (subnormal), none beyond.
    long long guardados = 24;
    if (e < -126) guardados = 24 - (-126 - e);
    if (guardados < 0) guardados = 0;
    std::uint64_t mantissa = 0;
    bool arredonda_para_cima = false;
    if (guardados == 0) {
        // Below half the smallest subnormal, or exactly at it only with sticky bits beyond.
        const bool metade = e == -150;
        const bool acima = (m << 1) != 0 || sticky;
        arredonda_para_cima = metade && acima;
    } else {
        mantissa = m >> (64 - guardados);
        const std::uint64_t resto = m << guardados;  // the discarded bits, left aligned
        const std::uint64_t meio = std::uint64_t{1} << 63;
        if (resto > meio || (resto == meio && sticky))
            arredonda_para_cima = true;
        else if (resto == meio && !sticky)
            arredonda_para_cima = (mantissa & 1U) != 0;
    }
    if (arredonda_para_cima) ++mantissa;
    // Compose: a subnormal mantissa that rounds up to 2^23 becomes the smallest normal, and a
    // normal one that rounds up to 2^24 moves to the next exponent.
    long long expo = e;
    if (guardados == 24 && mantissa == (std::uint64_t{1} << 24)) {
        mantissa >>= 1;
        ++expo;
    }
    if (expo > 127) {
        bits |= 0x7F800000U;
    } else if (e < -126) {
        bits |= static_cast<std::uint32_t>(mantissa);  // 2^23 here is the smallest normal's bits
    } else {
        bits |= static_cast<std::uint32_t>(expo + 127) << 23;
        bits |= static_cast<std::uint32_t>(mantissa) & 0x7FFFFFU;
    }
    Scalar r = 0;
    std::memcpy(&r, &bits, sizeof r);
    return r;
}

bool hexadecimal(const std::string& token) {
    std::size_t i = (!token.empty() && (token[0] == '-' || token[0] == '+')) ? 1 : 0;
    return token.size() > i + 1 && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* texto = reinterpret_cast<const char*>(data);
    Scalar rapido[kPlaces];
    const std::size_t n = le_numeros_g(texto, texto + size, rapido, kPlaces);

    Scalar lento[kPlaces];
    std::size_t m = 0;
    if (size > 0) {
        std::vector<char> copia(texto, texto + size);
        std::FILE* f = fmemopen(copia.data(), size, "r");
        if (f == nullptr) std::abort();
        std::size_t lugar = 0;  // bytes of the input consumed so far
        for (;;) {
            int antes = -1;
            int depois = -1;
            if (m == kPlaces || std::fscanf(f, " %n%g%n", &antes, &lento[m], &depois) != 1) break;
            const std::string token(copia.data() + lugar + static_cast<std::size_t>(antes),
                                    static_cast<std::size_t>(depois - antes));
            if (hexadecimal(token)) lento[m] = hex_correto(token);
            lugar += static_cast<std::size_t>(depois);
            ++m;
        }
        std::fclose(f);
    }
    if (n != m) std::abort();
    for (std::size_t i = 0; i < n; ++i)
        if (std::memcmp(&rapido[i], &lento[i], sizeof(Scalar)) != 0) std::abort();
    return 0;
}
