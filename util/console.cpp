// Console input and output. Standard output is fully buffered; it is flushed before every read
// of standard input and at exit, never per line.
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "conversao.h"
#include "plataforma.h"
#include "registro.h"
#include "util.h"

namespace sislin {

namespace {

// Output that cannot be written (a full disk, a closed standard output) ends the run at once:
// a transcript that lost its text must not look like a run that succeeded. The record says so.
[[noreturn]] void saida_perdida() {
    constexpr const char* kMensagem = "A saida padrao nao pode ser escrita.\n";
    escreve_erro(kMensagem);
    registra_erro(kMensagem);
    registra_fim(1, Causa::Saida);
    std::_Exit(1);
}

void escreve_bytes(const char* p, std::size_t len) {
    if (!escreve_console(p, len)) saida_perdida();
}

void descarrega() {
    if (!descarrega_console()) saida_perdida();
}

}  // namespace

void prepara_saida() {
    // A large buffer keeps the echo and the matrix layouts of big systems to few writes.
    static char buffer[1 << 20];
    prepara_console(buffer, sizeof buffer);
    // Whatever ends the run (the last choice, a fatal message), the buffered rest is written
    // before the process goes, and a failure to write it makes the exit status 1.
    static const bool ao_sair = std::atexit(descarrega) == 0;
    static_cast<void>(ao_sair);
}

void escreve(const char* text) {
    escreve_bytes(text, std::strlen(text));
}

void escreve_erro(const char* text) {
    escreve_erro_console(text, std::strlen(text));
}

void escreve_g(Scalar v) {
    char buf[kFormatoMax];
    escreve_bytes(buf, formata_g(buf, static_cast<double>(v)));
}

void escreve_f74(Scalar v) {
    char buf[kFormatoMax];
    escreve_bytes(buf, formata_fixo(buf, static_cast<double>(v), 7, 4));
}

namespace {
// v[1..n], each converted by formata and followed by sep, gathered into large pieces so that
// a row of a big system costs a few writes instead of two per entry.
template <class Formata>
void escreve_sequencia(const Scalar* v, int n, const char* sep, Formata formata) {
    constexpr std::size_t kPedaco = 16384;
    char buf[kPedaco];
    const std::size_t lsep = std::strlen(sep);
    std::size_t usado = 0;
    for (int i = 1; i <= n; ++i) {
        if (kPedaco - usado < kFormatoMax + lsep) {
            escreve_bytes(buf, usado);
            usado = 0;
        }
        usado += formata(buf + usado, static_cast<double>(v[i]));
        for (std::size_t k = 0; k < lsep; ++k) buf[usado++] = sep[k];
    }
    escreve_bytes(buf, usado);
}
}  // namespace

void escreve_sequencia_g(const Scalar* v, int n, const char* sep) {
    escreve_sequencia(v, n, sep, [](char* b, double x) { return formata_g(b, x); });
}

void escreve_sequencia_f74(const Scalar* v, int n, const char* sep) {
    escreve_sequencia(v, n, sep, [](char* b, double x) { return formata_fixo(b, x, 7, 4); });
}

void escreve_int(int v) {
    char buf[16];
    escreve_bytes(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
}

void escreve_int2(int v) {
    if (v >= 0 && v < 10) escreve(" ");
    escreve_int(v);
}

int le_caractere() {
    descarrega();
    return le_console();
}

namespace {
// Discards the rest of the line that starts with c (already read); c may be the line end.
void descarta_desde(int c) {
    while (c != '\n' && c != EOF) c = le_console();
}

// A number must end at white space or at the end of input: "0,001", "3.5" at an integer prompt
// or "1abc" is not a reply. True when it does; the character after it stays unread. Otherwise
// the rest of the line is discarded.
bool termina_bem(int c) {
    if (c == EOF) return true;
    if (!conversao::espaco(c)) {
        descarta_desde(c);
        return false;
    }
    devolve_console(c);
    return true;
}
}  // namespace

namespace {
// A reply's first character: standard output is flushed, then white space (line ends included)
// skipped; EOF at the end of input.
int primeiro_da_resposta() {
    descarrega();
    int c = EOF;
    do c = le_console();
    while (c != EOF && conversao::espaco(c));
    return c;
}
}  // namespace

void descarta_linha() {
    descarta_desde(le_console());
}

Leitura le_inteiro(int& v) {
    int c = primeiro_da_resposta();
    if (c == EOF) return Leitura::Fim;
    const bool negativo = c == '-';
    if (c == '+' || c == '-') c = le_console();
    if (c == EOF || !conversao::digito(c)) {
        descarta_desde(c);
        return Leitura::Invalida;
    }
    // Accumulate in 64 bits; beyond 32 bits the value only has to be known to be too large.
    long long valor = 0;
    bool grande = false;
    for (; c != EOF && conversao::digito(c); c = le_console()) {
        if (valor <= static_cast<long long>(INT_MAX) + 1)
            valor = valor * 10 + (c - '0');
        else
            grande = true;
    }
    if (negativo) valor = -valor;
    if (grande || valor > INT_MAX || valor < INT_MIN) {
        descarta_desde(c);
        return Leitura::Invalida;
    }
    if (!termina_bem(c)) return Leitura::Invalida;
    v = static_cast<int>(valor);
    return Leitura::Ok;
}

namespace {
// Standard input as a byte source for reconhece_g; keeps the bytes taken.
struct FonteConsole {
    std::string texto;
    int proximo() {
        const int c = le_console();
        if (c != EOF) texto += static_cast<char>(c);
        return c;
    }
    void devolve(int c) {
        if (c == EOF) return;
        devolve_console(c);
        texto.pop_back();
    }
};
}  // namespace

Leitura le_real(Scalar& v) {
    int c = primeiro_da_resposta();
    if (c == EOF) return Leitura::Fim;
    devolve_console(c);
    FonteConsole fonte;
    const Forma forma = reconhece_g(fonte);
    Scalar lido = 0.0f;
    if (!converte_g(fonte.texto.data(), fonte.texto.size(), forma, lido)) {
        descarta_linha();
        return Leitura::Invalida;
    }
    if (!termina_bem(le_console())) return Leitura::Invalida;
    v = lido;
    return Leitura::Ok;
}

}  // namespace sislin
