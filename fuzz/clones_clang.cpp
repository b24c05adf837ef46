// clang 14 names the dispatcher of an exported target_clones function "<mangled>.ifunc" and
// never emits the plain name that callers in other files (which see no attribute) refer to.
// Weak stand-ins supply the plain name, forwarding to the dispatcher; when the function has no
// clones, its own definition wins and the stand-in is never called.
#include "methods.h"

extern void inversa_despacho(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) __asm__(
    "_Z7InversaiPPfS0_S_S_S_.ifunc") __attribute__((weak));

__attribute__((weak)) void Inversa(int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    inversa_despacho(n, A, Inv, b, x, y);
}
