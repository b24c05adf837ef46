// The layer beneath the public kernels of methods.h.
//
// Every kernel is a slot of the dispatch table Tabela. The straightforward loops of
// referencia.cpp fill every slot: the path for any machine and the yardstick every faster path
// matches bit for bit. The fast algorithms (blocked elimination and LU, tiled inverse, rows side
// by side for the substitution, the residual and the Jacobi sweep) replace the slots they have,
// each written once, in portable code, over three micro-kernels. Each instruction set supplies
// the micro-kernels it has in its own file under micro/, compiled with its own flags; a slot it
// lacks is the portable set's. Which set runs is decided once per process
// (SISLIN_ISA=referencia|generico|avx2|avx512|simd128 overrides the processor's best;
// SISLIN_ISA_DEBUG=1 says on standard error which one and why); every set gives the same bits.
// despacho.cpp is the one place that chooses between the straightforward loops and the fast
// algorithms.
#pragma once

#include <string>
#include <utility>
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

// The micro-kernels of one instruction set (a slot the set lacks is nullptr until completa fills
// it). Every sum starts at 0 and takes its terms in increasing order, each new sum rounded to a
// Scalar; every product is of two Scalars.
struct Micronucleos {
    Isa isa = Isa::generico;
    int linhas = 1;  // rows per call of aplica_passos that suit it best (it takes any number)
    // Inverse tile width that suits it best (a multiple of kMultiploLargura).
    int largura = kMultiploLargura;
    // Rows L[0..linhas-1] over columns k0..k0+w-1 take the steps t = 0..num_passos-1 in order
    // (num_passos <= kMaxPassos): L[r][k] = Scalar(U[t * ldu + k - k0] * m[r * kMaxPassos + t] +
    // L[r][k]). U holds the pivot rows widened to double, each readable up to kSobraFaixa
    // columns past w.
    void (*aplica_passos)(const double* U, int ldu, int num_passos, const double* m,
                          Scalar* const* L, int linhas, int k0, int w) = nullptr;
    // s[k] for k = 0..ld-1 (ld a multiple of kMultiploLargura): the sum of coef[j] * T[j * ld + k]
    // over j = j0..j1 (T holds Scalar values widened to double).
    void (*somas_colunas)(const Scalar* coef, const double* T, int ld, int j0, int j1,
                          Scalar* s) = nullptr;
    // s[r] for r = 0..linhas-1 (linhas <= kMaxLinhas): the sum of a[r][j] * v[j] over j = 1..n,
    // column pula + r skipped when pula > 0 (a row's own diagonal in a sweep).
    void (*somas_linhas)(const Scalar* const* a, int linhas, const Scalar* v, int n, int pula,
                         Scalar* s) = nullptr;
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

// The dispatch table: one slot per kernel of methods.h (same meaning and arguments), each taking
// the setting it runs with first.
struct Tabela {
    void (*SubstituicaoRetroativa)(const Ajuste&, int n, Matrix U, Vector x, Vector c);
    void (*SubstituicaoProgressivaL)(const Ajuste&, int n, Matrix L, Vector y, Vector c);
    void (*SubstituicaoProgressiva)(const Ajuste&, int n, Matrix L, Vector x, Vector c);
    void (*Eliminacao)(const Ajuste&, int n, Matrix A, Vector b);
    void (*GaussPivoteamentoParcial)(const Ajuste&, int n, Matrix A, Vector b);
    void (*LU)(const Ajuste&, int n, Matrix A);
    void (*LUPivoteamentoParcial)(const Ajuste&, int n, Matrix A, IndexVector pos, Scalar& det);
    void (*CalculaResiduo)(const Ajuste&, int n, Vector b, Matrix A, Vector x, Vector r);
    Scalar (*CalculaErro)(const Ajuste&, int n, Vector r);
    Scalar (*IteracaoJacobi)(const Ajuste&, int n, Matrix A, Vector b, Vector x);
    Scalar (*IteracaoGaussSeidel)(const Ajuste&, int n, Matrix A, Vector b, Vector x);
    void (*Inversa)(const Ajuste&, int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y);
};

// The straightforward loops in every slot (referencia.cpp).
const Tabela& tabela_referencia();
// The table of a setting: the straightforward loops when a.k is nullptr, otherwise the fast
// algorithms where there are some and the straightforward loops in the other slots.
const Tabela& tabela(const Ajuste& a);

// Runs the kernel of one slot with the setting a: executa(a, &Tabela::LU, n, A).
template <typename R, typename... P, typename... A>
R executa(const Ajuste& a, R (*const Tabela::*slot)(const Ajuste&, P...), A&&... args) {
    return (tabela(a).*slot)(a, std::forward<A>(args)...);
}

// The fast algorithms, each file putting its own into the slots they replace, over the
// micro-kernels a.k (never nullptr there) with the sizes a.t.
namespace rapido {
void progressiva(Tabela& t);  // SubstituicaoProgressivaL, SubstituicaoProgressiva
void eliminacao(Tabela& t);   // Eliminacao, GaussPivoteamentoParcial
void lu(Tabela& t);           // LU, LUPivoteamentoParcial
void inversa(Tabela& t);      // Inversa
void residuo(Tabela& t);      // CalculaResiduo
void iterativos(Tabela& t);   // IteracaoJacobi
}  // namespace rapido

// Provided by the files of micro/.
const Micronucleos& micronucleos_generico();
// The set k with every slot it lacks taken from the portable set, as the sets of micro/ give
// theirs.
Micronucleos completa(Micronucleos k);
std::vector<const Micronucleos*> micronucleos_do_processador();  // beyond the generic set
// Every set this build carries, whether or not this processor runs it (the straightforward loops
// and the generic set first).
std::vector<Isa> isas_da_construcao();

}  // namespace nucleos

}  // namespace sislin
