// Fuzzing the console readers: on any bytes as standard input, le_inteiro, le_real,
// le_caractere and descarta_linha never crash, and the replies always come to an end: every
// read that does not report the end of input takes at least one byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../util/util.h"

using sislin::descarta_linha;
using sislin::le_caractere;
using sislin::le_inteiro;
using sislin::le_real;
using sislin::Leitura;
using sislin::Scalar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte chooses the sequence of readers, the rest is the input.
    const unsigned escolha = data[0];
    std::vector<char> entrada(data + 1, data + size);
    std::FILE* f = fmemopen(entrada.data(), entrada.size(), "r");
    if (f == nullptr) std::abort();
    std::FILE* const antigo = stdin;
    stdin = f;
    bool fim = false;
    for (std::size_t k = 0; k <= entrada.size() + 1 && !fim; ++k) {
        switch ((escolha >> (2 * (k % 4))) & 3u) {
            case 0: {
                int v = 0;
                fim = le_inteiro(v) == Leitura::Fim;
                break;
            }
            case 1: {
                Scalar v = 0.0f;
                fim = le_real(v) == Leitura::Fim;
                break;
            }
            case 2:
                fim = le_caractere() == EOF;
                break;
            default:
                descarta_linha();
                fim = std::feof(stdin) != 0;
                break;
        }
    }
    stdin = antigo;
    std::fclose(f);
    if (!fim) std::abort();
    return 0;
}
