// Fuzzing the whole dialogue: arbitrary bytes are the standard input of a complete run of the
// program (its entry function, built as sislin_main), on small fixed data files. Every run must
// end by returning 0 or 1, release everything it created (the leak check runs after each input),
// and print an amount of text bounded by the length of its input.
//
// The run happens in this process, so that coverage guides the fuzzer:
// - standard input is the bytes in memory; standard output is a fresh counting stream per run,
//   so the program's buffer set-up always meets an unused stream;
// - the data files live in a temporary directory that is the working directory only while a
//   run lasts. Crash files would then land there, so a relative -artifact_prefix (libFuzzer's
//   default "./") is made absolute at start.
//
// Two limits keep a run short:
// - Every run of decimal digits in the input is cut to its first two, so every number typed is
//   below 100: the iteration limit in particular, since a typed limit of 2e9 is a legitimate
//   two-billion-sweep run (a negative precision is never reached). Long numbers are the console
//   readers' own fuzz target.
// - The files hold a 4 x 4 system; a larger dimension ends at once in the files' mismatch
//   report, which the file reader's own tests cover, so such inputs are passed over (found by
//   the program's own dimension reader, before the run).
//
// The data: A = [[2,0,0,0],[1,4,0,0],[0,1,2,0],[1,0,1,4]], b = (2, 9, 0, 4), solution
// (1, 2, -1, 1). Lower triangular, so both iterations become exact after a few sweeps and a
// precision of 0 ends them. The smaller dimensions take the leading numbers of the same files:
// n = 3 gives [[2,0,0],[0,1,4],[0,0,0]], n = 2 gives [[2,0],[0,0]], both singular with a zero
// pivot and a zero diagonal entry, so the infinity and NaN paths of every choice run too.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../util/util.h"

using sislin::descarta_linha;
using sislin::le_inteiro;
using sislin::Leitura;

int sislin_main();

namespace {

constexpr int kDimensaoMax = 4;
constexpr const char* kA7 = "2 0 0 0\n1 4 0 0\n0 1 2 0\n1 0 1 4\n";
constexpr const char* kB7 = "2\n9\n0\n4\n";

// Text allowed per input byte: one byte can complete a reply that prints the menu, a matrix and
// a vector (under 1.5 KiB for n = 4), or 99 sweep lines (about 5 KiB for a 7-byte reply).
constexpr std::size_t kSaidaPorByte = 4096;
constexpr std::size_t kSaidaFixa = 16384;

int pasta_dados = -1;    // the temporary directory with a7.txt and b7.txt
int pasta_inicial = -1;  // the working directory of the fuzzer itself
char pasta_nome[] = "/tmp/fuzz_dialogo-XXXXXX";
std::size_t escritos = 0;

[[noreturn]] void falha(const char* msg) {
    if (pasta_inicial >= 0 && fchdir(pasta_inicial) != 0) std::perror("fchdir");
    std::fprintf(stderr, "fuzz_dialogo: %s\n", msg);
    std::abort();
}

void grava(const char* nome, const char* texto) {
    std::FILE* f = std::fopen(nome, "w");
    if (f == nullptr || std::fputs(texto, f) < 0 || std::fclose(f) != 0) falha("cannot write data");
}

void apaga_dados() {
    unlinkat(pasta_dados, "a7.txt", 0);
    unlinkat(pasta_dados, "b7.txt", 0);
    rmdir(pasta_nome);
}

ssize_t conta(void*, const char*, size_t len) {
    escritos += len;
    return static_cast<ssize_t>(len);
}

// The dimension the run will use, read from the input by the program's own readers exactly as
// the start of the run reads it; -1 when the input ends first.
int dimensao(std::vector<char>& entrada, std::size_t tamanho) {
    if (tamanho == 0) return -1;
    // The same bytes as the run, without the NUL kept at the end: a NUL right after the
    // number would make it a reply glued to other text.
    std::FILE* f = fmemopen(entrada.data(), tamanho, "r");
    if (f == nullptr) falha("fmemopen");
    std::FILE* const antigo = stdin;
    stdin = f;
    int n = -1;
    for (;;) {
        const Leitura lido = le_inteiro(n);
        if (lido == Leitura::Fim) {
            n = -1;
            break;
        }
        if (lido == Leitura::Ok) {
            if (n >= 0) break;
            descarta_linha();
        }
    }
    stdin = antigo;
    std::fclose(f);
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    pasta_inicial = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (pasta_inicial < 0 || mkdtemp(pasta_nome) == nullptr)
        falha("cannot make the data directory");
    pasta_dados = open(pasta_nome, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (pasta_dados < 0 || fchdir(pasta_dados) != 0) falha("cannot enter the data directory");
    grava("a7.txt", kA7);
    grava("b7.txt", kB7);
    if (fchdir(pasta_inicial) != 0) falha("fchdir");
    std::atexit(apaga_dados);

    // Crash files go where the fuzzer was started, not into the data directory.
    static std::vector<std::string> guardados;
    static std::vector<char*> novos;
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr) falha("getcwd");
    bool tem_prefixo = false;
    for (int i = 0; i < *argc; ++i) {
        const char* a = (*argv)[i];
        if (std::strncmp(a, "-artifact_prefix=", 17) == 0 ||
            std::strncmp(a, "-exact_artifact_path=", 21) == 0) {
            const char* valor = std::strchr(a, '=') + 1;
            if (valor[0] != '/') {
                guardados.push_back(std::string(a, valor) + cwd + "/" + valor);
                continue;
            }
            tem_prefixo = true;
        }
        guardados.emplace_back(a);
    }
    if (!tem_prefixo) guardados.push_back(std::string("-artifact_prefix=") + cwd + "/");
    std::free(cwd);
    for (std::string& s : guardados) novos.push_back(s.data());
    novos.push_back(nullptr);
    *argc = static_cast<int>(guardados.size());
    *argv = novos.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> entrada;
    entrada.reserve(size + 1);
    std::size_t digitos = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        digitos = (c >= '0' && c <= '9') ? digitos + 1 : 0;
        if (digitos <= 2) entrada.push_back(c);
    }
    entrada.push_back('\0');  // fmemopen needs a non-empty buffer; the NUL stays unread
    const std::size_t tamanho = entrada.size() - 1;
    {
        std::vector<char> copia(entrada);
        if (dimensao(copia, tamanho) > kDimensaoMax) return -1;
    }

    std::FILE* in = fmemopen(entrada.data(), tamanho == 0 ? 1 : tamanho, "r");
    if (in == nullptr) falha("fmemopen");
    if (tamanho == 0) std::fgetc(in);  // an empty input: the stream is at its end at once
    const cookie_io_functions_t funcoes{nullptr, conta, nullptr, nullptr};
    std::FILE* out = fopencookie(nullptr, "w", funcoes);
    if (out == nullptr) falha("fopencookie");

    std::FILE* const antigo_in = stdin;
    std::FILE* const antigo_out = stdout;
    stdin = in;
    stdout = out;
    escritos = 0;
    if (fchdir(pasta_dados) != 0) falha("fchdir");
    const int status = sislin_main();
    if (fchdir(pasta_inicial) != 0) falha("fchdir");
    std::fclose(out);
    stdin = antigo_in;
    stdout = antigo_out;
    std::fclose(in);

    if (status != 0 && status != 1) falha("exit status other than 0 or 1");
    if (escritos > kSaidaFixa + kSaidaPorByte * size)
        falha("output out of proportion to the input");
    return 0;
}
