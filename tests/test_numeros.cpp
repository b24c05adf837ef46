// Number text: output must equal the C library's printf (NaNs print "nan" without a sign), input
// its fscanf("%g") into a float. The references are the GNU C library's, whose grammar and text
// the program keeps on every platform.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "conversao.h"
#include "util.h"

namespace sislin {

namespace {

// printf's text, a NaN's sign dropped.
double sem_sinal_de_nan(double v) {
    return std::isnan(v) ? std::fabs(v) : v;
}
std::string g_lib(double v) {
    char b[512];
    std::snprintf(b, sizeof b, "%g", sem_sinal_de_nan(v));
    return b;
}
std::string fixo_lib(double v, int w, int p) {
    char b[512];
    std::snprintf(b, sizeof b, "%*.*f", w, p, sem_sinal_de_nan(v));
    return b;
}
std::string g_nosso(double v) {
    char b[kFormatoMax];
    return std::string(b, formata_g(b, v));
}
std::string fixo_nosso(double v, int w, int p) {
    char b[kFormatoMax];
    return std::string(b, formata_fixo(b, v, w, p));
}

// Checks both output forms used by the program ("%g" and "%7.4f") for v.
::testing::AssertionResult igual_printf(double v) {
    const std::string g = g_nosso(v), gl = g_lib(v);
    const std::string f = fixo_nosso(v, 7, 4), fl = fixo_lib(v, 7, 4);
    if (g == gl && f == fl) return ::testing::AssertionSuccess();
    char a[64];
    std::snprintf(a, sizeof a, "%a", v);
    return ::testing::AssertionFailure()
           << a << ": %g [" << g << "] vs [" << gl << "], %7.4f [" << f << "] vs [" << fl << "]";
}

float de_bits(std::uint32_t b) {
    return std::bit_cast<float>(b);
}

// ---------------------------------------------------------------- output

TEST(FormataNumero, ValoresEspeciais) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(g_nosso(nan), "nan");
    EXPECT_EQ(g_nosso(-nan), "nan");
    EXPECT_EQ(g_nosso(HUGE_VAL), "inf");
    EXPECT_EQ(g_nosso(-HUGE_VAL), "-inf");
    EXPECT_EQ(fixo_nosso(nan, 7, 4), "    nan");
    EXPECT_EQ(fixo_nosso(-nan, 7, 4), "    nan");
    EXPECT_EQ(fixo_nosso(-nan, 0, 4), "nan");
    EXPECT_EQ(fixo_nosso(-HUGE_VAL, 7, 4), "   -inf");
    EXPECT_EQ(g_nosso(0.0), "0");
    EXPECT_EQ(g_nosso(-0.0), "-0");
    EXPECT_EQ(fixo_nosso(-0.0, 7, 4), "-0.0000");
    EXPECT_EQ(fixo_nosso(1.0, 7, 4), " 1.0000");
    EXPECT_EQ(fixo_nosso(-0.00001, 7, 4), "-0.0000");
    for (double v : {nan, -nan, HUGE_VAL, -HUGE_VAL, 0.0, -0.0}) EXPECT_TRUE(igual_printf(v));
    // NaNs with payloads: no sign, no payload in the text.
    EXPECT_TRUE(igual_printf(static_cast<double>(de_bits(0xffc00001u))));
    EXPECT_TRUE(igual_printf(static_cast<double>(de_bits(0x7f800001u))));
}

TEST(FormataNumero, ExtremosESubnormais) {
    const double casos[] = {static_cast<double>(FLT_MAX),
                            -static_cast<double>(FLT_MAX),
                            static_cast<double>(FLT_MIN),
                            static_cast<double>(FLT_TRUE_MIN),
                            -static_cast<double>(FLT_TRUE_MIN),
                            DBL_MAX,
                            -DBL_MAX,
                            DBL_MIN,
                            DBL_TRUE_MIN,
                            3.4e38,
                            1e17,
                            9.9999949999e16,
                            1e-5,
                            9.999995e-6,
                            static_cast<double>(std::nextafter(1e17f, 0.0f))};
    for (double v : casos) EXPECT_TRUE(igual_printf(v));
    // %7.4f prints every integer digit of a large value.
    EXPECT_EQ(fixo_nosso(static_cast<double>(FLT_MAX), 7, 4),
              fixo_lib(static_cast<double>(FLT_MAX), 7, 4));
    EXPECT_EQ(fixo_nosso(DBL_MAX, 7, 4).size(), 309u + 5u);
}

TEST(FormataNumero, EmpatesArredondamParaPar) {
    // Exact binary ties: the digit kept is the even one, as printf does.
    const double casos[] = {0.125,     0.375,     0.03125,    0.00005,      2.5e-5,
                            -2.5e-5,   0.5,       1.5,        2.5,          1234565.0,
                            1234575.0, 123456.5,  123457.5,   0.0009765625, 0.00048828125,
                            999999.5,  9999995.0, 0.00015,    99999.95,     0.99999995,
                            1.00005,   -1.00015,  2047.99995, 8388607.5};
    for (double v : casos) EXPECT_TRUE(igual_printf(v));
    EXPECT_EQ(fixo_nosso(0.03125, 7, 4), " 0.0312");
    EXPECT_EQ(fixo_nosso(0.09375, 7, 4), " 0.0938");
    EXPECT_EQ(g_nosso(1234565.0), "1.23456e+06");
    EXPECT_EQ(g_nosso(0.0009765625), "0.000976562");
    EXPECT_EQ(g_nosso(999999.5), "1e+06");
}

TEST(FormataNumero, OutrasLargurasEPrecisoes) {
    std::mt19937_64 rng(7);
    const double casos[] = {0.5,      1.5,  2.5,   -0.5, 0.05, 123.456,
                            -9.99999, 1e-9, 5e-10, 1e20, 0.0,  -0.0};
    for (double v : casos)
        for (int w : {0, 1, 7, 12, 40})
            for (int p = 0; p <= 12; ++p)
                EXPECT_EQ(fixo_nosso(v, w, p), fixo_lib(v, w, p)) << v << " " << w << " " << p;
    for (int i = 0; i < 20000; ++i) {
        const double v = std::bit_cast<double>(rng());
        const int p = static_cast<int>(rng() % 10);
        EXPECT_EQ(fixo_nosso(v, 7, p), fixo_lib(v, 7, p));
    }
}

TEST(FormataNumero, CadaExpoenteDeFloat) {
    std::mt19937 rng(11);
    for (std::uint32_t exp = 0; exp < 256; ++exp)
        for (std::uint32_t sinal = 0; sinal < 2; ++sinal) {
            const std::uint32_t base = (sinal << 31) | (exp << 23);
            const std::uint32_t mantissas[] = {0,
                                               1,
                                               2,
                                               0x400000,
                                               0x7ffffe,
                                               0x7fffff,
                                               static_cast<std::uint32_t>(rng() & 0x7fffff),
                                               static_cast<std::uint32_t>(rng() & 0x7fffff),
                                               static_cast<std::uint32_t>(rng() & 0x7fffff)};
            for (std::uint32_t m : mantissas)
                ASSERT_TRUE(igual_printf(static_cast<double>(de_bits(base | m))));
        }
}

TEST(FormataNumero, PadroesDeBitsAleatorios) {
    std::mt19937 rng(2024);
    // Floats: every bit pattern is equally likely, so all magnitudes are covered.
    for (int i = 0; i < 200000; ++i)
        ASSERT_TRUE(igual_printf(static_cast<double>(de_bits(static_cast<std::uint32_t>(rng())))));
    // Floats of the usual sizes of data values, of factors and of an inverse's entries.
    for (const float r : {1000.0f, 10.0f, 0.01f}) {
        std::uniform_real_distribution<float> perto(-r, r);
        for (int i = 0; i < 100000; ++i) ASSERT_TRUE(igual_printf(static_cast<double>(perto(rng))));
    }
    // Doubles, any pattern, and doubles inside the range of the exact integer path.
    std::mt19937_64 rng64(99);
    for (int i = 0; i < 100000; ++i) ASSERT_TRUE(igual_printf(std::bit_cast<double>(rng64())));
    std::uniform_real_distribution<double> expo(-6.0, 18.0);
    for (int i = 0; i < 200000; ++i) {
        const double v = std::pow(10.0, expo(rng64));
        ASSERT_TRUE(igual_printf((i & 1) != 0 ? v : -v));
    }
}

TEST(FormataNumero, DecimaisCurtosPertoDeFronteiras) {
    // Values just around the switches between fixed and exponential %g and around rounding.
    for (int e = -8; e <= 18; ++e)
        for (double d : {1.0, 9.99999, 9.999995, 9.9999951, 9.9999949, 5.0, 1.000005}) {
            const double v = d * std::pow(10.0, e);
            EXPECT_TRUE(igual_printf(v));
            EXPECT_TRUE(igual_printf(std::nextafter(v, 0.0)));
            EXPECT_TRUE(igual_printf(std::nextafter(v, HUGE_VAL)));
            EXPECT_TRUE(igual_printf(static_cast<double>(static_cast<float>(v))));
        }
}

// ---------------------------------------------------------------- input

// The reference: fscanf("%g") on a stream holding the text, until a conversion fails.
std::vector<std::uint32_t> fscanf_todos(const std::string& texto) {
    std::vector<std::uint32_t> r;
    if (texto.empty()) return r;
    std::string copia = texto;
    std::FILE* f = fmemopen(copia.data(), copia.size(), "r");
    float x;
    while (std::fscanf(f, "%g", &x) == 1) r.push_back(std::bit_cast<std::uint32_t>(x));
    std::fclose(f);
    return r;
}

std::vector<std::uint32_t> nossos_todos(const std::string& texto) {
    std::vector<Scalar> v(texto.size() + 1);
    const std::size_t n =
        le_numeros_g(texto.data(), texto.data() + texto.size(), v.data(), v.size());
    std::vector<std::uint32_t> r;
    for (std::size_t i = 0; i < n; ++i) r.push_back(std::bit_cast<std::uint32_t>(v[i]));
    return r;
}

TEST(LeNumero, FormasDoScanf) {
    // Prefixes and odd forms: whatever the library does with them, the reader does the same.
    const char* casos[] = {"1e",
                           "1e+",
                           "1e-",
                           "1E5",
                           "0x",
                           "0x1",
                           "0x1p-130",
                           "0X1P3",
                           "0x.p1",
                           "0xg",
                           "0x1p",
                           "0x1p+",
                           "-",
                           "+",
                           ".",
                           "-.",
                           "+.5",
                           "-.5",
                           ".5",
                           "5.",
                           "1.e5",
                           ".e5",
                           "+-1",
                           "-+1",
                           "--1",
                           "inf",
                           "-inf",
                           "+inf",
                           "INF",
                           "infx",
                           "infin",
                           "infinit",
                           "infinity",
                           "Infinity",
                           "nan",
                           "-nan",
                           "NaN",
                           "nan(",
                           "nan(12)",
                           "nan(12",
                           "nan(_a1)",
                           "nanx",
                           "1.5-2.5",
                           "1,5",
                           "1e5x",
                           "1e5e5",
                           "00x1",
                           "- 1",
                           "1..2",
                           "1.2.3",
                           "e5",
                           "1e99",
                           "-1e99",
                           "1e-50",
                           "-1e-50",
                           "1e-40",
                           "3.4028235e38",
                           "3.4028236e38",
                           "1.4e-45",
                           "7e-46",
                           "7.1e-46",
                           "0",
                           "-0",
                           "000",
                           "1e-2147483649",
                           "1e2147483648",
                           "0.0e999999",
                           "12345678901234567890123",
                           "1$",
                           "\xff",
                           "1\xff",
                           "1 2 3",
                           "\t1\r\n2\v3\f4",
                           "1\n\n",
                           "  ",
                           "",
                           "0x1.fffffep127",
                           "0x1.ffffffp127",
                           "1p5",
                           "1x",
                           "0e",
                           "0e+",
                           ".0e1",
                           "+0x10"};
    for (const char* c : casos) {
        const std::string s(c);
        EXPECT_EQ(nossos_todos(s), fscanf_todos(s)) << "[" << s << "]";
        EXPECT_EQ(nossos_todos(s + " 7"), fscanf_todos(s + " 7")) << "[" << s << " 7]";
        EXPECT_EQ(nossos_todos(s + "7"), fscanf_todos(s + "7")) << "[" << s << "7]";
    }
    const std::string com_nulo("1\0 2", 4);
    EXPECT_EQ(nossos_todos(com_nulo), fscanf_todos(com_nulo));
}

TEST(LeNumero, ConversoesNaoSaoDelimitadasPorEspacos) {
    EXPECT_EQ(nossos_todos("1.5-2.5"), (std::vector<std::uint32_t>{0x3fc00000u, 0xc0200000u}));
    EXPECT_EQ(nossos_todos("1,5"), (std::vector<std::uint32_t>{0x3f800000u}));
    Scalar x = -1;
    bool ok = true;
    const std::string s = " \t\r\n x";
    le_numero_g(s.data(), s.data() + s.size(), x, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(x, -1);  // a failed conversion does not write
}

TEST(LeNumero, TextoAleatorioIgualAoFscanf) {
    std::mt19937 rng(5);
    const char alfabeto[] =
        "0123456789012345678901234567890123456789....++--eeEExXpPinfatyINFANY() \t\n,_";
    for (int i = 0; i < 40000; ++i) {
        std::string s;
        const std::size_t n = 1 + rng() % 24;
        for (std::size_t k = 0; k < n; ++k) s += alfabeto[rng() % (sizeof alfabeto - 1)];
        ASSERT_EQ(nossos_todos(s), fscanf_todos(s)) << "[" << s << "]";
    }
}

// Hexadecimal numbers: long mantissas, ties and every exponent range, subnormals included.
TEST(LeNumero, HexadecimaisIguaisAoFscanf) {
    std::mt19937_64 rng(31);
    const char* hexa = "0123456789abcdefABCDEF";
    std::string texto;
    for (int i = 0; i < 60000; ++i) {
        std::string s;
        s += rng() % 4 == 0 ? "-0x" : "0X";
        const auto n = static_cast<std::size_t>(1 + rng() % 24);
        const auto ponto = static_cast<std::size_t>(rng() % (n + 4));
        for (std::size_t k = 0; k < n; ++k) {
            if (k == ponto) s += '.';
            s += k == 0 || rng() % 3 ? hexa[rng() % 22] : '0';
        }
        s += 'p';
        s += std::to_string(static_cast<int>(rng() % 360) - 250 -
                            4 * static_cast<int>(n < ponto ? n : ponto));
        texto += s + (i % 5 ? " " : "\n");
    }
    EXPECT_EQ(nossos_todos(texto), fscanf_todos(texto));
}

TEST(LeNumero, DecimaisAleatoriosCorretamenteArredondados) {
    std::mt19937_64 rng(17);
    char buf[128];
    std::string texto;
    for (int i = 0; i < 150000; ++i) {
        const int forma = static_cast<int>(rng() % 4);
        if (forma == 0) {
            std::snprintf(buf, sizeof buf, "%.9g",
                          static_cast<double>(de_bits(static_cast<std::uint32_t>(rng()))));
        } else if (forma == 1) {
            // Halfway between two floats and a little off it: the hard cases of rounding.
            const float f = std::abs(de_bits(static_cast<std::uint32_t>(rng())));
            if (!std::isfinite(f)) continue;
            const double meio =
                (static_cast<double>(f) + static_cast<double>(std::nextafter(f, HUGE_VALF))) / 2;
            std::snprintf(buf, sizeof buf, "%.*e", static_cast<int>(rng() % 25), meio);
        } else if (forma == 2) {
            std::snprintf(buf, sizeof buf, "%.17g", std::bit_cast<double>(rng()));
        } else {
            std::snprintf(
                buf, sizeof buf, "%llu.%llue%d", static_cast<unsigned long long>(rng() % 100000),
                static_cast<unsigned long long>(rng()), static_cast<int>(rng() % 120) - 60);
        }
        texto += buf;
        texto += (i % 7 == 0) ? "\n" : " ";
    }
    EXPECT_EQ(nossos_todos(texto), fscanf_todos(texto));
}

// Short decimals (up to 8 digits, small exponents) have their own conversion path.
TEST(LeNumero, DecimaisCurtosIguaisAoStrtof) {
    std::mt19937 rng(23);
    for (int i = 0; i < 300000; ++i) {
        std::uint32_t w = 0;
        switch (rng() % 4) {
            case 0:
                w = static_cast<std::uint32_t>(rng() % 100);
                break;
            case 1:
                w = static_cast<std::uint32_t>((1u << 24) - 8 + rng() % 16);
                break;
            case 2:
                w = static_cast<std::uint32_t>(rng() % 100000000);
                break;
            default:
                w = rng() % (1u << 24);
                break;
        }
        std::string dig = std::to_string(w);
        if (rng() % 4 == 0) dig = std::string(rng() % 4, '0') + dig;  // leading zeros
        const std::size_t ponto = rng() % (dig.size() + 2);
        if (ponto <= dig.size()) dig.insert(ponto, ".");
        if (dig == ".") dig = "0.";
        const int e = static_cast<int>(rng() % 27) - 13;
        std::string s = (rng() % 3 == 0 ? "-" : "") + dig;
        if (rng() % 2 == 0) s += (rng() % 2 ? "e" : "E") + std::to_string(e);
        Scalar x;
        bool ok;
        const char* fim = le_numero_g(s.data(), s.data() + s.size(), x, ok);
        ASSERT_TRUE(ok) << s;
        ASSERT_EQ(fim, s.data() + s.size()) << s;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(x),
                  std::bit_cast<std::uint32_t>(std::strtof(s.c_str(), nullptr)))
            << s;
    }
    EXPECT_EQ(std::bit_cast<std::uint32_t>(nossos_todos("-0.0e5")[0]), 0x80000000u);
}

TEST(LeNumero, HexadecimalLongoArredondadoCorretamente) {
    // A hexadecimal number is a binary fraction: its float is the nearest one, ties to even,
    // however many digits it has (the C library's "%g" may miss this by one unit on long ones).
    const struct {
        const char* texto;
        std::uint32_t bits;
    } casos[] = {
        {"-0X.000000000000000000000000000000001451941", 0x80028a33u},
        {"0x1.000001p0", 0x3f800000u},                        // exactly half: to even, down
        {"0x1.000003p0", 0x3f800002u},                        // exactly half: to even, up
        {"0x1.0000010000000000000000000001p0", 0x3f800001u},  // just above half
        {"0x1.00000fffffffffffffffffffffffp0", 0x3f800008u},
        {"0x0.000002p-126", 0x00000001u},  // the smallest subnormal
        {"0x0.000001p-126", 0x00000000u},  // half of it: to even, zero
        {"0x0.0000010000000000000000000001p-126", 0x00000001u},
        {"0x1.fffffe8p127", 0x7f7fffffu},
        {"0x1.ffffff0000000000000000000001p127", 0x7f800000u},
    };
    for (const auto& c : casos)
        EXPECT_EQ(nossos_todos(c.texto), std::vector<std::uint32_t>{c.bits}) << c.texto;
}

}  // namespace

}  // namespace sislin
