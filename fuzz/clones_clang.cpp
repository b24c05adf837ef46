// clang 14 names the dispatcher of a target_clones function "<mangled>.ifunc" and never emits
// the plain name that callers in other files (which see no attribute) refer to. The plain name
// is supplied here, forwarding to the dispatcher, so both clones stay in the fuzzed build.
#if defined(__clang__) && __clang_major__ < 15
#include "../methods/methods.h"

void inversa_despacho(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) __asm__(
    "_Z7InversaiPPfS0_S_S_S_.ifunc");

void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    inversa_despacho(n, A, Inv, b, x, y);
}
#endif
