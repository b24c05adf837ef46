// The decimal-to-float conversion against public vectors, on every platform (the Windows test
// program included): the reference is each line's own f32 bits, not a C library.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "conversao.h"
#include "util.h"

namespace sislin {

namespace {

// Every line of the public float-parsing vectors: the string must read as its f32 bits.
TEST(LeNumero, VetoresPublicosDeConversao) {
    const std::string dir = SISLIN_SOURCE_DIR "/tests/dados/conversao";
    std::vector<std::string> nomes;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".txt") nomes.push_back(e.path().filename().string());
    std::size_t linhas = 0;
    for (const std::string& n : nomes) {
        std::ifstream in(dir + "/" + n, std::ios::binary);
        std::string linha;
        while (std::getline(in, linha)) {
            if (linha.size() <= 64) continue;
            const auto esperado =
                static_cast<std::uint32_t>(std::stoul(linha.substr(5, 8), nullptr, 16));
            const char* p = linha.data() + 64;
            const char* fim = linha.data() + linha.size();
            Scalar x;
            bool ok;
            const char* depois = le_numero_g(p, fim, x, ok);
            ASSERT_TRUE(ok) << n << ": " << linha;
            EXPECT_EQ(depois, fim) << n << ": " << linha;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(x), esperado) << n << ": " << linha;
            ++linhas;
        }
    }
    EXPECT_GT(linhas, 1000u);
}

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
