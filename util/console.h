// Console input and output of the program.
#pragma once

#include "vetores.h"

namespace sislin {

// ---- Console output: standard output is fully buffered and flushed only before a read of
// standard input and at exit. When a write fails, the run ends at once with a line on standard
// error and exit status 1.
void prepara_saida();                 // sets up the large output buffer; call once at start
void escreve_erro(const char* text);  // text to standard error, at once
void escreve(const char* text);       // text as is
void escreve_g(Scalar v);             // "%g"
void escreve_f74(Scalar v);           // "%7.4f"
// v[1..n], each "%g" (or "%7.4f") followed by sep: the same text as one escreve_g (escreve_f74)
// and one escreve(sep) per entry, in far fewer writes.
void escreve_sequencia_g(const Scalar* v, int n, const char* sep);
void escreve_sequencia_f74(const Scalar* v, int n, const char* sep);
void escreve_int(int v);   // "%d"
void escreve_int2(int v);  // "%2d"

// ---- Console input. Each read flushes standard output first.
enum class Leitura { Ok, Invalida, Fim };
// A "%d" reply: leading white space (line ends included) is skipped, then an optional sign and
// digits, which must end at white space or at the end of input. Not an integer, glued to other
// text ("3.5", "1abc") or outside 32 bits: the rest of the line is discarded (Invalida).
// End of input before a reply: Fim.
Leitura le_inteiro(int& v);
// A "%f" reply into a Scalar: the "%g" grammar of the data files (conversao.h), then the same
// rules as le_inteiro.
Leitura le_real(Scalar& v);
// One character of standard input, or EOF.
int le_caractere();
// Discards standard input through the next line end.
void descarta_linha();

}  // namespace sislin
