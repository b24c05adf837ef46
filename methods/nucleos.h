// The layer beneath the public kernels of methods.h.
//
// Every fast algorithm (blocked elimination and LU, tiled inverse, rows side by side for the
// residual and the Jacobi sweep) is written once, in portable code, over three micro-kernels.
// Each instruction set supplies the three in its own file under micro/, compiled with its own
// flags; the straightforward loops of referencia.h are the fallback for any machine. Which set
// runs is decided once per process (SISLIN_ISA=referencia|generico|avx2|avx512|simd128 overrides
// the processor's best; SISLIN_ISA_DEBUG=1 says on standard error which one and why); every set
// gives the same bits. despacho.cpp is the one place that chooses between the straightforward
// loops and the fast algorithms.
#pragma once

#include <string>
#include <vector>

#include "util.h"

namespace sislin {

namespace nucleos {

enum class Isa { referencia, generico, avx2, avx512, simd128 };
// Every set this program knows, on any processor.
inline constexpr Isa kIsas[] = {Isa::referencia, Isa::generico, Isa::avx2, Isa::avx512,
                                Isa::simd128};

// The bounds the micro-kernels rely on; their callers keep them (checked by assertions in debug
// builds).
inline constexpr int kMaxPassos = 32;  // steps per call of aplica_passos, at most
inline constexpr int kMaxLinhas = 32;  // rows per call of somas_linhas, at most
// Columns past a strip's end that aplica_passos may read in U (the caller pads U that far).
inline constexpr int kSobraFaixa = 64;
// The lane count ld of somas_colunas, and every tile width, is a multiple of this.
inline constexpr int kMultiploLargura = 16;

// The step of aplica_passos (below) on the single column k0 + c of rows L[0..linhas-1], one term
// at a time: the tail of a strip narrower than a set's vectors.
inline void passos_coluna(const double* U, int ldu, int num_passos, const double* m,
                          Scalar* const* L, int linhas, int k0, int c) {
    for (int r = 0; r < linhas; ++r) {
        Scalar x = L[r][k0 + c];
        for (int t = 0; t < num_passos; ++t)
            x = static_cast<Scalar>(U[t * ldu + c] * m[r * kMaxPassos + t] +
                                    static_cast<double>(x));
        L[r][k0 + c] = x;
    }
}

// The micro-kernels of one instruction set. Every sum starts at 0 and takes its terms in
// increasing order, each new sum rounded to a Scalar; every product is of two Scalars.
struct Micronucleos {
    Isa isa;
    int linhas;   // rows per call of aplica_passos that suit it best (it takes any number)
    int largura;  // inverse tile width that suits it best (a multiple of kMultiploLargura)
    // Rows L[0..linhas-1] over columns k0..k0+w-1 take the steps t = 0..num_passos-1 in order
    // (num_passos <= kMaxPassos): L[r][k] = Scalar(U[t * ldu + k - k0] * m[r * kMaxPassos + t] +
    // L[r][k]). U holds the pivot rows widened to double, each readable up to kSobraFaixa
    // columns past w.
    void (*aplica_passos)(const double* U, int ldu, int num_passos, const double* m,
                          Scalar* const* L, int linhas, int k0, int w);
    // s[k] for k = 0..ld-1 (ld a multiple of kMultiploLargura): the sum of coef[j] * T[j * ld + k]
    // over j = j0..j1 (T holds Scalar values widened to double).
    void (*somas_colunas)(const Scalar* coef, const double* T, int ld, int j0, int j1, Scalar* s);
    // s[r] for r = 0..linhas-1 (linhas <= kMaxLinhas): the sum of a[r][j] * v[j] over j = 1..n,
    // column pula + r skipped when pula > 0 (a row's own diagonal in a sweep).
    void (*somas_linhas)(const Scalar* const* a, int linhas, const Scalar* v, int n, int pula,
                         Scalar* s);
    // For the benchmarks: about `atualizacoes` single-lane updates of the bare step, a multiply
    // and add in double, rounding to a Scalar and widening back, on as many independent chains
    // as the set's update keeps; nothing else. The floor of any kernel that rounds every term.
    // Returns a value of the chains, so that the work is kept.
    double (*piso)(long atualizacoes);
};

// Block and tile sizes, all in one place.
struct Tamanhos {
    int bloco = 32;   // steps per block of the elimination and LU (1..kMaxPassos)
    int faixa = 256;  // columns of the pivot rows kept widened per pass
    // Columns per tile of the inverse, rounded up to a multiple of kMultiploLargura (0: the
    // set's own).
    int largura = 0;
};

// What a kernel runs with: micro-kernels (nullptr: the straightforward loops) and sizes.
struct Ajuste {
    const Micronucleos* k = nullptr;
    Tamanhos t;
};

// The sets this build has and this processor runs, best last (generico always among them).
std::vector<const Micronucleos*> conjuntos();
const char* nome(Isa isa);

// The set a value of SISLIN_ISA selects (nullptr or "": unset), and why, in words.
struct Escolha {
    Ajuste a;
    std::string motivo;
};
Escolha escolhe(const char* pedido);
// The set of this process, decided on first use from SISLIN_ISA: the one it names if available
// here, otherwise the best one. With SISLIN_ISA_DEBUG=1 the reason goes to standard error then.
const Ajuste& ajuste_padrao();

// The kernels of methods.h with an explicit setting; a.k == nullptr runs the straightforward
// loops.
void SubstituicaoProgressivaL(int n, Matrix L, Vector y, Vector c, const Ajuste& a);
void SubstituicaoProgressiva(int n, Matrix L, Vector x, Vector c, const Ajuste& a);
void Eliminacao(int n, Matrix A, Vector b, const Ajuste& a);
void GaussPivoteamentoParcial(int n, Matrix A, Vector b, const Ajuste& a);
void LU(int n, Matrix A, const Ajuste& a);
void LUPivoteamentoParcial(int n, Matrix A, IndexVector pos, Scalar& det, const Ajuste& a);
void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y, const Ajuste& a);
void CalculaResiduo(int n, Vector b, Matrix A, Vector x, Vector r, const Ajuste& a);
Scalar IteracaoJacobi(int n, Matrix A, Vector b, Vector x, const Ajuste& a);

// The fast algorithms, over the micro-kernels k, with the same results as the straightforward
// loops (progressiva.cpp, eliminacao.cpp, lu.cpp, inversa.cpp, residuo.cpp, iterativos.cpp).
namespace rapido {
void SubstituicaoProgressivaL(const Micronucleos& k, const Tamanhos& t, int n, Matrix L, Vector y,
                              Vector c);
void SubstituicaoProgressiva(const Micronucleos& k, const Tamanhos& t, int n, Matrix L, Vector x,
                             Vector c);
void Eliminacao(const Micronucleos& k, const Tamanhos& t, int n, Matrix A, Vector b);
void GaussPivoteamentoParcial(const Micronucleos& k, const Tamanhos& t, int n, Matrix A, Vector b);
void LU(const Micronucleos& k, const Tamanhos& t, int n, Matrix A);
void LUPivoteamentoParcial(const Micronucleos& k, const Tamanhos& t, int n, Matrix A,
                           IndexVector pos, Scalar& det);
void Inversa(const Micronucleos& k, const Tamanhos& t, int n, Matrix A, Matrix Inv, Vector b,
             Vector x, Vector y);
void CalculaResiduo(const Micronucleos& k, const Tamanhos& t, int n, Vector b, Matrix A, Vector x,
                    Vector r);
Scalar IteracaoJacobi(const Micronucleos& k, const Tamanhos& t, int n, Matrix A, Vector b,
                      Vector x);
}  // namespace rapido

// Provided by the files of micro/.
const Micronucleos& micronucleos_generico();
std::vector<const Micronucleos*> micronucleos_do_processador();  // beyond the generic set
// Every set this build carries, whether or not this processor runs it (the straightforward loops
// and the generic set first).
std::vector<Isa> isas_da_construcao();

}  // namespace nucleos

}  // namespace sislin
