// The floors of the micro-kernel sets (pisos.h): the portable set's and the SIMD128 set's here
// (this file compiled with -msimd128 for WebAssembly), the x86 sets' in files of their own,
// each compiled with its set's flags.
#include "pisos.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "cadeias.h"

namespace sislin::bancada {

#if defined(__x86_64__)
double piso_avx2(long atualizacoes);
double piso_avx512(long atualizacoes);
#endif

#if defined(__wasm_simd128__)
namespace {

// SIMD128, on 8 chains of two lanes: no FMA, so the step is a multiply and an add. The factors
// are hidden from the compiler, which would otherwise fold their product into a constant, and
// so is each rounded value, so that the two conversions stay two instructions.
double piso_simd128(long atualizacoes) {
    const auto espalha = [](double x) {
        v128_t v = wasm_f64x2_splat(x);
        __asm__("" : "+r"(v));
        return v;
    };
    const auto passo = [](v128_t u, v128_t m, v128_t x) {
        v128_t f = wasm_f32x4_demote_f64x2_zero(wasm_f64x2_add(wasm_f64x2_mul(u, m), x));
        __asm__("" : "+r"(f));
        return wasm_f64x2_promote_low_f32x4(f);
    };
    return cadeias<8>(atualizacoes, espalha, passo, [](v128_t x) {
        return wasm_f64x2_extract_lane(x, 0) + wasm_f64x2_extract_lane(x, 1);
    });
}

}  // namespace
#endif

double piso(nucleos::Isa isa, long atualizacoes) {
    switch (isa) {
#if defined(__x86_64__)
        case nucleos::Isa::avx2:
            return piso_avx2(atualizacoes);
        case nucleos::Isa::avx512:
            return piso_avx512(atualizacoes);
#endif
#if defined(__wasm_simd128__)
        case nucleos::Isa::simd128:
            return piso_simd128(atualizacoes);
#endif
        default:  // the portable set: one lane per chain, 16 chains
            return cadeias<16>(
                atualizacoes, [](double x) { return x; },
                [](double u, double m, double x) {
                    return static_cast<double>(static_cast<Scalar>(u * m + x));
                },
                [](double x) { return x; });
    }
}

}  // namespace sislin::bancada
