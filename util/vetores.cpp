// Creation and release of the shared arrays, and the small vector services.
#include <cfloat>
#include <cstdint>
#include <cstdlib>

#include "plataforma.h"
#include "registro.h"
#include "util.h"

namespace sislin {

// Each statement is evaluated in IEEE double and only the stored value is rounded to a Scalar;
// extended-precision evaluation (the x87 registers of 32-bit x86) would round twice. The whole
// program is built with the same flags, so one file checks them for all.
static_assert(FLT_EVAL_METHOD == 0,
              "evaluate in IEEE double: on 32-bit x86 build with -msse2 -mfpmath=sse");

namespace {

// Requests below this size are never refused by the memory check below.
constexpr std::uint64_t kPedidoGrande = std::uint64_t{1} << 20;

// Linux and macOS grant allocations far beyond the machine's memory and kill the process (or
// swap) only when the pages are touched. A request that, with what is already held, cannot fit in
// physical memory is refused at once instead. Sizes are counted in 64 bits, so that on a 32-bit
// target a request beyond the address space is refused rather than wrapped; where the platform
// cannot tell its memory, the address space is the limit.
bool cabe_na_memoria(std::uint64_t bytes) {
    if (bytes < kPedidoGrande) return true;
    const std::uint64_t enderecos = SIZE_MAX;
    const std::uint64_t fisica = memoria_fisica();
    const std::uint64_t limite = fisica == 0 || fisica > enderecos ? enderecos : fisica;
    const std::uint64_t em_uso = memoria_em_uso();
    return em_uso <= limite && bytes <= limite - em_uso;
}

// count zeroed elements of size bytes each, or nullptr (negative count, too large, no memory).
void* obtem(long long count, std::size_t size) {
    if (count < 0) return nullptr;
    const auto c = static_cast<std::uint64_t>(count);
    if (c > SIZE_MAX / size || !cabe_na_memoria(c * size)) return nullptr;
    // An empty array is still a valid, distinct block.
    return std::calloc(c == 0 ? 1 : static_cast<std::size_t>(c), size);
}

[[noreturn]] void sem_memoria(const char* msg) {
    escreve(msg);
    registra_erro(msg);
    registra_fim(1, Causa::Erro);
    std::exit(1);
}

}  // namespace

Vector cria_vetor(int count) {
    void* p = obtem(count, sizeof(Scalar));
    if (p == nullptr) sem_memoria("Falta memoria para alocar o vetor de ponteiros");
    return static_cast<Vector>(p);
}

IndexVector cria_vetor_int(int count) {
    void* p = obtem(count, sizeof(int));
    if (p == nullptr) sem_memoria("Falta memoria para alocar o vetor de ponteiros");
    return static_cast<IndexVector>(p);
}

Matrix cria_matriz(int rows, int cols) {
    void* p = obtem(rows, sizeof(Scalar*));
    if (p == nullptr) sem_memoria("Falta memoria para alocar a matriz de ponteiros\n");
    Matrix m = static_cast<Matrix>(p);
    // The rows are checked as a whole first: a matrix that cannot fit is refused before any of
    // its rows is obtained, instead of after the machine has started to swap.
    const std::uint64_t total = static_cast<std::uint64_t>(rows) *
                                static_cast<std::uint64_t>(cols < 0 ? 0 : cols) * sizeof(Scalar);
    if (cols < 0 || !cabe_na_memoria(total))
        sem_memoria("Falta memoria para alocar a matriz de ponteiros.\n");
    for (int i = 0; i < rows; i++) {
        void* row = obtem(cols, sizeof(Scalar));
        if (row == nullptr) sem_memoria("Falta memoria para alocar a matriz de ponteiros.\n");
        m[i] = static_cast<Vector>(row);
    }
    return m;
}

void libera_vetor(Vector v) {
    std::free(v);
}

void libera_vetor(IndexVector v) {
    std::free(v);
}

void libera_matriz(Matrix m, int rows) {
    for (int i = rows - 1; i >= 0; i--) std::free(m[i]);
    std::free(m);
}

void inicializa_vetor(Vector v, int n) {
    for (int i = 0; i <= n; i++) v[i] = 0.0f;
}

void atualiza_vetor(Vector dst, const Scalar* src, int n) {
    for (int i = 1; i <= n; i++) dst[i] = src[i];
}

void imprime_rotulo(const char* name, int i) {
    escreve(name);
    escreve("[");
    escreve_int2(i);
    escreve("]=");
}

void imprime_vetor(const char* name, const Scalar* v, int n) {
    for (int i = 1; i <= n; i++) {
        imprime_rotulo(name, i);
        escreve_g(v[i]);
        escreve(" \n");
    }
}

Scalar randomico(Scalar a, Scalar b) {
    if (a == b) return a;
    const auto t = static_cast<Scalar>(static_cast<double>(std::rand() % 10000) / 10000.0);
    return static_cast<Scalar>(static_cast<double>(t) *
                                   (static_cast<double>(b) - static_cast<double>(a)) +
                               static_cast<double>(a));
}

}  // namespace sislin
