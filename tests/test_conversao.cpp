// The decimal-to-float conversion against public vectors, on every platform (the Windows test
// program included): the reference is each line's own f32 bits, not a C library.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#if SISLIN_TESTE_FAST_FLOAT
#include <fast_float/fast_float.h>

#include <system_error>
#endif

#include "conversao.h"
#include "util.h"

namespace sislin {

namespace {

// Calls f(text, expected f32 bits, file name) for every line of the public float-parsing vectors.
template <class F>
std::size_t para_cada_vetor(F f) {
    const std::string dir = SISLIN_SOURCE_DIR "/tests/dados/conversao";
    std::size_t linhas = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() != ".txt") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::string linha;
        while (std::getline(in, linha)) {
            if (testing::Test::HasFatalFailure()) return linhas;  // the first fault is enough
            if (linha.size() <= 64) continue;
            f(linha.substr(64),
              static_cast<std::uint32_t>(std::stoul(linha.substr(5, 8), nullptr, 16)),
              e.path().filename().string());
            ++linhas;
        }
    }
    return linhas;
}

// Every line of the public float-parsing vectors: the string must read as its f32 bits.
TEST(LeNumero, VetoresPublicosDeConversao) {
    const std::size_t linhas =
        para_cada_vetor([](const std::string& t, std::uint32_t esperado, const std::string& n) {
            Scalar x;
            bool ok;
            const char* depois = le_numero_g(t.data(), t.data() + t.size(), x, ok);
            ASSERT_TRUE(ok) << n << ": " << t;
            EXPECT_EQ(depois, t.data() + t.size()) << n << ": " << t;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(x), esperado) << n << ": " << t;
        });
    EXPECT_GT(linhas, 1000u);
}

#if SISLIN_TESTE_FAST_FLOAT
// Where the standard library converts decimals and fast_float is installed too, both must give
// the same float and take the same text: the public vectors, then generated decimals with every
// shape the reader hands over (long mantissas, leading zeros, exponents far out of range, the
// borders of the float range, prefixes that end early).
TEST(ConverteDecimal, IgualAoFastFloat) {
    const auto compara = [](const std::string& t) {
        float a = -7.0f;
        float b = -7.0f;
        const char* fim = t.data() + t.size();
        const char* pa = conversao::converte_decimal(t.data(), fim, a);
        const auto rb = fast_float::from_chars(t.data(), fim, b);
        const char* pb =
            rb.ec == std::errc::invalid_argument || rb.ptr == t.data() ? nullptr : rb.ptr;
        ASSERT_EQ(pa, pb) << t;
        if (pa != nullptr) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(a), std::bit_cast<std::uint32_t>(b)) << t;
        }
    };
    para_cada_vetor([&](const std::string& t, std::uint32_t, const std::string&) { compara(t); });
    for (const char* t : {"3.40282346e38",
                          "3.40282357e38",
                          "3.4028235677973366e38",
                          "-3.4028236e38",
                          "1e39",
                          "-1e400",
                          "1e-45",
                          "7e-46",
                          "7.006492321624085e-46",
                          "-1e-50",
                          "0e999999",
                          "0.000e-99999",
                          "1e99999999999999999999",
                          "1e-99999999999999999999",
                          "00000.00001e-41",
                          "123456789012345678901234567890e-80",
                          "1e",
                          "1.5e+",
                          "-.5e-3x",
                          ".",
                          "-",
                          "e5",
                          "-0",
                          "0.0000000000000000000000000000000000000000000001"})
        compara(t);
    std::uint64_t s = 88172645463325252ULL;  // xorshift64
    const auto proximo = [&s](std::uint64_t m) {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s % m;
    };
    for (int k = 0; k < 200000 && !testing::Test::HasFatalFailure(); ++k) {
        std::string t = proximo(4) == 0 ? "-" : "";
        const std::uint64_t inteiros = proximo(25), fracao = proximo(25);
        for (std::uint64_t i = 0; i < inteiros; ++i)
            t += static_cast<char>('0' + (i == 0 ? proximo(3) : proximo(10)));
        if (fracao > 0 || proximo(3) == 0) t += '.';
        for (std::uint64_t i = 0; i < fracao; ++i) t += static_cast<char>('0' + proximo(10));
        if (proximo(3) != 0) {
            t += "eE"[proximo(2)];
            if (proximo(2) != 0) t += "+-"[proximo(2)];
            t += std::to_string(proximo(5) == 0 ? proximo(100000) : proximo(60));
        }
        compara(t);
    }
}
#endif

// The grammar's odd forms, with the bits and the length the GNU C library's fscanf gives them.
TEST(LeNumero, FormasComValoresFixos) {
    const struct {
        const char* texto;
        bool ok;
        std::uint32_t bits;
        std::size_t usados;
    } casos[] = {
        {"0x1p-130", true, 0x00080000u, 8},
        {"0x1.fffffep127", true, 0x7f7fffffu, 14},
        {"0x1.ffffffp127", true, 0x7f800000u, 14},
        {"-0x.", true, 0x80000000u, 4},
        {"0x1p-150", true, 0x00000000u, 8},
        {"0x3p-150", true, 0x00000002u, 8},
        {"0x1.000001p0", true, 0x3f800000u, 12},
        {"0x1.0000011p0", true, 0x3f800001u, 13},
        {"0X1P", true, 0x3f800000u, 4},
        {"1e+", true, 0x3f800000u, 3},
        {"1..2", true, 0x3f800000u, 2},
        {"1.5-2.5", true, 0x3fc00000u, 3},
        {"nan(12)", true, 0x7fc00000u, 3},
        {"-nan", true, 0xffc00000u, 4},
        {"+Infinity", true, 0x7f800000u, 9},
        {"infx", true, 0x7f800000u, 3},
        {"1e-46", true, 0x00000000u, 5},
        {"3.4028236e38", true, 0x7f800000u, 12},
        {"infinit", false, 0, 0},
        {"0x", false, 0, 0},
        {"0xp1", false, 0, 0},
        {".e5", false, 0, 0},
        {"+-1", false, 0, 0},
        {"na", false, 0, 0},
    };
    for (const auto& c : casos) {
        const std::string t = c.texto;
        Scalar x = 0;
        bool ok = false;
        const char* fim = le_numero_g(t.data(), t.data() + t.size(), x, ok);
        EXPECT_EQ(ok, c.ok) << t;
        if (!c.ok) continue;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(x), c.bits) << t;
        EXPECT_EQ(static_cast<std::size_t>(fim - t.data()), c.usados) << t;
    }
}

}  // namespace

}  // namespace sislin
