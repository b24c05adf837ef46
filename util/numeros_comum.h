// Shared by number output and input (numeros_saida.cpp, numeros_entrada.cpp): powers of ten
// and the one rounding rule both use. Internal to the utility library.
#pragma once

#include <cstdint>

namespace sislin {

namespace numeros {

inline constexpr std::uint64_t kPot10[] = {
    1ULL,           10ULL,           100ULL,           1000ULL,          10000ULL,
    100000ULL,      1000000ULL,      10000000ULL,      100000000ULL,     1000000000ULL,
    10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL};

// Rounding to nearest, ties to even: q is the quotient truncated, fora the part cut off and
// meio one half of the divisor in the same unit; mais says that something nonzero lies below
// fora as well. Returns q or q + 1.
constexpr std::uint64_t arredonda_par(std::uint64_t q, std::uint64_t fora, std::uint64_t meio,
                                      bool mais = false) {
    return fora > meio || (fora == meio && (mais || (q & 1) != 0)) ? q + 1 : q;
}

}  // namespace numeros

}  // namespace sislin
