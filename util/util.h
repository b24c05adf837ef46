// Utility library: the shared array types, their creation and release, the data-file readers,
// console input and output.
#pragma once

#include <cstddef>

// One stored value of the system: every array element, sum, multiplier and error.
using Scalar = float;
// Arrays are indexed 1..n; every array has n + 1 places and place 0 is not used.
using Vector = Scalar*;
using IndexVector = int*;
using Matrix = Scalar**;  // n + 1 row pointers, each row a separate block of n + 1 Scalars

// ---- Creation and release. A failed creation prints its message and ends the process (1).
// Every created array is filled with zeros.
Vector cria_vetor(int count);
IndexVector cria_vetor_int(int count);
Matrix cria_matriz(int rows, int cols);
void libera_vetor(Vector v);
void libera_vetor(IndexVector v);
void libera_matriz(Matrix m, int rows);

// v[0..n] = 0 (n + 1 places, place 0 included).
void inicializa_vetor(Vector v, int n);
// dst[i] = src[i] for i = 1..n; place 0 is not touched.
void atualiza_vetor(Vector dst, const Scalar* src, int n);

// Prints "name[ i]=v[i] \n" for i = 1..n ("%s[%2d]=%g \n").
void imprime_vetor(const char* name, const Scalar* v, int n);

// A pseudo-random Scalar between a and b; a when a == b. Never seeds the generator.
Scalar randomico(Scalar a, Scalar b);

// ---- Data files: whitespace-separated numbers, each converted as "%g" into a Scalar.
// A file that cannot be opened, or that ends or holds text that is not a number before every
// place is filled, is reported; the process then reads one character and ends with status 1.
void le_arq_matriz(const char* path, int rows, int cols, Matrix m);
void le_arq_vetor(const char* path, int n, Vector v);
// Creates path or cuts it to length zero.
void limpa_arquivo(const char* path);

// ---- Number text, the program's own and the same on every platform: the text printf gives,
// except that every NaN prints as "nan", without a sign.
// Longest text formata_* can produce, terminating NUL included.
inline constexpr std::size_t kFormatoMax = 352;
// Largest precision formata_fixo takes (a larger one counts as this); widths beyond
// kFormatoMax - 1 are cut to it.
inline constexpr int kPrecisaoMax = 40;
// buf has kFormatoMax places; places after the returned length may be overwritten.
// "%g" of v: returns the length written into buf (not NUL-terminated).
std::size_t formata_g(char* buf, double v);
// "%<width>.<prec>f" of v: returns the length written into buf (not NUL-terminated).
std::size_t formata_fixo(char* buf, double v, int width, int prec);

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

// ---- Number text internals, exposed for the tests and for fuzzing.
// One "%g" conversion into a Scalar, as the GNU C library's fscanf makes it on a stream holding
// the text [p, end) and then ending (the grammar is in conversao.h), on every platform: white space
// (C locale) is skipped, then the longest number form the conversion takes is converted. On success
// ok is true, out holds the value and the result points after the number; on failure ok is false
// and out is not written.
const char* le_numero_g(const char* p, const char* end, Scalar& out, bool& ok);
// For text [p, end) without white space, held while more may follow: the end of the numbers its
// bytes already decide, each followed by a byte that cannot continue it. p when the first number
// could still go on; end once a text that cannot be a number is met (its conversion fails
// whatever follows).
const char* fim_decidido(const char* p, const char* end);
// Successive "%g" conversions of [p, end) into out[0..count); stops at the first one that fails.
// Returns how many places were filled.
std::size_t le_numeros_g(const char* p, const char* end, Scalar* out, std::size_t count);
