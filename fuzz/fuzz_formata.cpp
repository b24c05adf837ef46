// Fuzzing the number text: formata_g and formata_fixo(..., 7, 4) must write what snprintf
// writes (a NaN without its sign), for every float widened to double and for arbitrary doubles.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../util/util.h"

using sislin::formata_fixo;
using sislin::formata_g;
using sislin::kFormatoMax;

namespace {

void compara(double v) {
    if (std::isnan(v)) v = std::fabs(v);  // the program prints every NaN as "nan"
    char rapido[kFormatoMax];
    char lento[kFormatoMax];
    std::size_t n = formata_g(rapido, v);
    int m = std::snprintf(lento, sizeof lento, "%g", v);
    if (m < 0 || n != static_cast<std::size_t>(m) || std::memcmp(rapido, lento, n) != 0)
        std::abort();
    n = formata_fixo(rapido, v, 7, 4);
    m = std::snprintf(lento, sizeof lento, "%7.4f", v);
    if (m < 0 || n != static_cast<std::size_t>(m) || std::memcmp(rapido, lento, n) != 0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every 4 bytes a float, every 8 bytes a double.
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        float f;
        std::memcpy(&f, data + i, sizeof f);
        compara(static_cast<double>(f));
    }
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        double d;
        std::memcpy(&d, data + i, sizeof d);
        compara(d);
    }
    return 0;
}
