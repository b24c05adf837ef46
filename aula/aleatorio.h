// The exercises' random source: SplitMix64, integer arithmetic only, so that a seed gives the
// same numbers on every platform and with every standard library.
#pragma once

#include <cstdint>

namespace sislin::aula {

class Aleatorio {
public:
    explicit Aleatorio(std::uint64_t semente) : estado_(semente) {}

    std::uint64_t proximo() {
        estado_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = estado_;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

    // Uniform in [a, b] (a <= b), by rejection: no value is favoured.
    int inteiro(int a, int b) {
        const auto faixa = static_cast<std::uint64_t>(static_cast<std::int64_t>(b) - a + 1);
        const std::uint64_t limite = UINT64_MAX - UINT64_MAX % faixa;
        std::uint64_t x = proximo();
        while (x >= limite) x = proximo();
        return static_cast<int>(a + static_cast<std::int64_t>(x % faixa));
    }

    // -1 or 1.
    int sinal() { return inteiro(0, 1) == 0 ? -1 : 1; }

private:
    std::uint64_t estado_;
};

}  // namespace sislin::aula
