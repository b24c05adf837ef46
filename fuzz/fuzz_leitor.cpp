// Fuzzing the data-file number reader: le_numeros_g must fill exactly the places a "%g" fscanf
// loop fills on the same bytes, with the same bits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../util/conversao.h"
#include "../util/util.h"

using sislin::le_numeros_g;
using sislin::Scalar;

namespace {
constexpr std::size_t kPlaces = 64;
}

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
        while (m < kPlaces && std::fscanf(f, "%g", &lento[m]) == 1) ++m;
        std::fclose(f);
    }
    if (n != m) std::abort();
    for (std::size_t i = 0; i < n; ++i)
        if (std::memcmp(&rapido[i], &lento[i], sizeof(Scalar)) != 0) std::abort();
    return 0;
}
