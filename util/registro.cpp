// The record of a run (registro.h): JSON Lines through a buffer of its own, written out at each
// wait for input, at the end of the run and at exit.
#include "registro.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console.h"
#include "plataforma.h"

namespace sislin {

namespace {

// The record's file and its buffer. The record is made of whole lines whatever ends the run: a
// signal handler (termina_por_sinal) writes out the whole lines the buffer holds and cuts off
// what the file holds of an unfinished line, so it must see a consistent state. Bytes are only
// appended to the buffer past `inteiro`, which a line end moves forward with one store; the
// buffer is written out, and the counts of the file updated, with the signals held back.
struct Registro {
    int arquivo = -1;          // -1: no record
    const char* caminho = "";  // the variable's value, which the run does not change
    // The hand-in file of an assignment, which receives the same lines at its end.
    int entrega = -1;                  // -1: none
    const char* caminho_entrega = "";  // the caller's, which lives as long as the run
    long long antes_da_entrega = 0;    // its size when opened
    bool entrega_falhou = false;
    char buffer[1 << 16]{};
    std::size_t usado = 0;            // bytes of buffer in use
    std::atomic<int> inteiro = 0;     // bytes of buffer up to its last line end
    volatile long long escritos = 0;  // bytes written to the file
    volatile long long gravado = 0;   // bytes of the file up to its last line end
    bool falhou = false;              // a write failed: the record is cut
};

// A lock-free atomic is safe to read in a signal handler.
static_assert(std::atomic<int>::is_always_lock_free);

Registro& registro() {
    constinit static Registro r;  // made at compile time: no work for a run without a record
    return r;
}

// Writes the buffer out. A line longer than the buffer goes out in pieces: the file then ends
// in an unfinished line until the piece that ends it.
void descarrega() {
    Registro& r = registro();
    if ((r.arquivo < 0 && r.entrega < 0) || r.usado == 0) return;
    bloqueia_sinais_de_fim();
    if (r.arquivo >= 0 && !r.falhou && !escreve_arquivo(r.arquivo, r.buffer, r.usado))
        r.falhou = true;
    if (r.entrega >= 0 && !r.entrega_falhou && !escreve_arquivo(r.entrega, r.buffer, r.usado))
        r.entrega_falhou = true;
    // Both files got the same bytes since they were opened (a file whose write failed is not
    // touched again).
    const long long antes = r.escritos;
    r.escritos = antes + static_cast<long long>(r.usado);
    if (r.inteiro > 0) r.gravado = antes + r.inteiro;
    r.usado = 0;
    r.inteiro = 0;
    libera_sinais_de_fim();
}

void poe(const char* p, std::size_t n) {
    Registro& r = registro();
    while (n > 0) {
        if (r.usado == sizeof r.buffer) descarrega();
        const std::size_t parte = std::min(n, sizeof r.buffer - r.usado);
        std::memcpy(r.buffer + r.usado, p, parte);
        r.usado += parte;
        p += parte;
        n -= parte;
    }
}

void poe(const char* s) {
    poe(s, std::strlen(s));
}

// A non-negative number's digits into buf (at least 20 places); their count. Signal-safe.
std::size_t digitos(long long v, char* buf) {
    char inverso[24];
    std::size_t n = 0;
    do {
        inverso[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0 && n < sizeof inverso);
    for (std::size_t i = 0; i < n; ++i) buf[i] = inverso[n - 1 - i];
    return n;
}

// The end by a signal, from the signal handler: only async-signal-safe work. The whole lines of
// the buffer complete the file (an unfinished line of the file ends among them); without a line
// end in the buffer, the file is cut back to its last whole line. Then the "fim" line.
void termina_por_sinal(int sinal) {
    Registro& r = registro();
    const bool no_registro = r.arquivo >= 0 && !r.falhou;
    const bool na_entrega = r.entrega >= 0 && !r.entrega_falhou;
    if (!no_registro && !na_entrega) return;
    if (r.inteiro > 0) {
        if (no_registro) escreve_arquivo(r.arquivo, r.buffer, static_cast<std::size_t>(r.inteiro));
        if (na_entrega) escreve_arquivo(r.entrega, r.buffer, static_cast<std::size_t>(r.inteiro));
    } else if (r.escritos > r.gravado) {
        if (no_registro) trunca_arquivo(r.arquivo, r.gravado);
        if (na_entrega) trunca_arquivo(r.entrega, r.antes_da_entrega + r.gravado);
    }
    char linha[128];
    std::size_t n = 0;
    const auto junta = [&](const char* t) {
        while (*t != '\0') linha[n++] = *t++;
    };
    junta("{\"evento\":\"fim\",\"status\":");
    n += digitos(128 + sinal, linha + n);
    junta(",\"causa\":\"sinal\",\"sinal\":");
    n += digitos(sinal, linha + n);
    junta("}\n");
    if (no_registro) escreve_arquivo(r.arquivo, linha, n);
    if (na_entrega) escreve_arquivo(r.entrega, linha, n);
}

void poe_texto(const char* s) {
    const std::string t = texto_json(s);
    poe(t.data(), t.size());
}

// Whether the next member or item is the first of its object or list (no comma before it).
bool& primeiro() {
    static bool p = true;
    return p;
}

void separa() {
    if (!primeiro()) poe(",");
    primeiro() = false;
}

void poe_nome(const char* nome) {
    separa();
    poe_texto(nome);
    poe(":");
}

void poe_escalar(Scalar v) {
    if (std::isnan(v)) {
        poe("\"nan\"");
    } else if (std::isinf(v)) {
        poe(v > 0 ? "\"inf\"" : "\"-inf\"");
    } else {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        poe(buf, static_cast<std::size_t>(r.ptr - buf));
    }
}

void poe_sequencia(const Scalar* v, int n) {
    poe("[");
    for (int i = 1; i <= n; ++i) {
        if (i > 1) poe(",");
        poe_escalar(v[i]);
    }
    poe("]");
}

}  // namespace

std::string texto_json(std::string_view s) {
    std::string t = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            t += '\\';
            t += ch;
        } else if (c == '\n') {
            t += "\\n";
        } else if (c < 0x20) {
            t += "\\u00";
            t += static_cast<char>('0' + c / 16);
            t += "0123456789abcdef"[c % 16];
        } else {
            t += ch;
        }
    }
    return t + "\"";
}

bool acrescenta_registro_a(const char* caminho) {
    Registro& r = registro();
    long long tamanho = 0;
    r.entrega = abre_acrescimo_arquivo(caminho, tamanho);
    if (r.entrega < 0) return false;
    r.caminho_entrega = caminho;
    r.antes_da_entrega = tamanho;
    return true;
}

bool abre_registro() {
    Registro& r = registro();
    const char* caminho = std::getenv("SISLIN_REGISTRO");
    // The hand-in file named as the record too gets its lines once.
    if (caminho != nullptr && *caminho != '\0' &&
        (r.entrega < 0 || std::strcmp(caminho, r.caminho_entrega) != 0)) {
        r.arquivo = abre_escrita_arquivo(caminho);
        if (r.arquivo < 0)
            escreve_erro(
                (std::string("O registro ") + caminho + " nao pode ser aberto.\n").c_str());
        else
            r.caminho = caminho;
    }
    if (!registrando()) return false;
    // Whatever ends the run, the record ends in whole lines: written out at exit, completed
    // with its "fim" by a signal.
    static const bool ao_sair = std::atexit(descarrega) == 0;
    static_cast<void>(ao_sair);
    ao_sinal_de_fim(termina_por_sinal);
    return true;
}

bool registrando() {
    return registro().arquivo >= 0 || registro().entrega >= 0;
}

void inicia_evento(const char* evento) {
    if (!registrando()) return;
    poe("{");
    primeiro() = true;
    poe_nome("evento");
    poe_texto(evento);
}

void campo_texto(const char* nome, const char* valor) {
    if (!registrando()) return;
    poe_nome(nome);
    poe_texto(valor);
}

void campo_int(const char* nome, long long valor) {
    if (!registrando()) return;
    poe_nome(nome);
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, valor);
    poe(buf, static_cast<std::size_t>(r.ptr - buf));
}

void campo_bool(const char* nome, bool valor) {
    if (!registrando()) return;
    poe_nome(nome);
    poe(valor ? "true" : "false");
}

void campo_escalar(const char* nome, Scalar valor) {
    if (!registrando()) return;
    poe_nome(nome);
    poe_escalar(valor);
}

void campo_nulo(const char* nome) {
    if (!registrando()) return;
    poe_nome(nome);
    poe("null");
}

void campo_vetor(const char* nome, const Scalar* v, int n) {
    if (!registrando()) return;
    poe_nome(nome);
    poe_sequencia(v, n);
}

void campo_indices(const char* nome, const int* v, int n) {
    if (!registrando()) return;
    poe_nome(nome);
    poe("[");
    for (int i = 1; i <= n; ++i) {
        char buf[16];
        const auto r = std::to_chars(buf, buf + sizeof buf, v[i]);
        if (i > 1) poe(",");
        poe(buf, static_cast<std::size_t>(r.ptr - buf));
    }
    poe("]");
}

void campo_matriz(const char* nome, Matrix m, int n) {
    if (!registrando()) return;
    poe_nome(nome);
    poe("[");
    for (int i = 1; i <= n; ++i) {
        if (i > 1) poe(",");
        poe_sequencia(m[i], n);
    }
    poe("]");
}

void abre_lista(const char* nome) {
    if (!registrando()) return;
    poe_nome(nome);
    poe("[");
    primeiro() = true;
}

void abre_objeto(const char* nome) {
    if (!registrando()) return;
    poe_nome(nome);
    poe("{");
    primeiro() = true;
}

void abre_item() {
    if (!registrando()) return;
    separa();
    poe("{");
    primeiro() = true;
}

void fecha_lista() {
    if (!registrando()) return;
    poe("]");
    primeiro() = false;
}

void fecha_objeto() {
    if (!registrando()) return;
    poe("}");
    primeiro() = false;
}

void campo_palavras(const char* nome, const char* palavras) {
    if (!registrando()) return;
    abre_lista(nome);
    std::string palavra;
    for (const char* p = palavras;; ++p) {
        if (*p != ' ' && *p != '\0') {
            palavra += *p;
            continue;
        }
        if (!palavra.empty()) {
            separa();
            poe_texto(palavra.c_str());
            palavra.clear();
        }
        if (*p == '\0') break;
    }
    fecha_lista();
}

void campo_esperas() {
    if (!registrando()) return;
    abre_lista("esperas");
    for (const DescricaoDeEspera& e : kEsperas) {
        abre_item();
        campo_texto("de", e.de);
        campo_texto("texto", e.texto);
        fecha_objeto();
    }
    fecha_lista();
}

void fecha_evento() {
    if (!registrando()) return;
    poe("}\n");
    registro().inteiro = static_cast<int>(registro().usado);
    primeiro() = true;
}

void registra_espera(const char* de) {
    if (!registrando()) return;
    inicia_evento("espera");
    campo_texto("de", de);
    fecha_evento();
    descarrega();
}

void registra_espera(Espera de, int minimo, int maximo) {
    if (!registrando()) return;
    inicia_evento("espera");
    campo_texto("de", nome_da_espera(de));
    if (minimo <= maximo) {
        campo_int("minimo", minimo);
        campo_int("maximo", maximo);
    }
    fecha_evento();
    descarrega();
}

void registra_rejeitada(Espera de, const char* motivo) {
    if (!registrando()) return;
    inicia_evento("rejeitada");
    campo_texto("de", nome_da_espera(de));
    campo_texto("motivo", motivo);
    fecha_evento();
}

void registra_erro(const char* mensagem) {
    if (!registrando()) return;
    inicia_evento("erro");
    campo_texto("mensagem", mensagem);
    fecha_evento();
}

void registra_fim_da_entrada(Espera de) {
    if (!registrando()) return;
    inicia_evento("fim-da-entrada");
    campo_texto("de", nome_da_espera(de));
    fecha_evento();
}

bool registra_fim(int status, Causa causa, long long segundos) {
    if (!registrando()) return true;
    static constexpr const char* kCausas[] = {"sair",  "fim-da-entrada", "erro",
                                              "sinal", "saida",          "concluido"};
    inicia_evento("fim");
    campo_int("status", status);
    campo_texto("causa", kCausas[static_cast<int>(causa)]);
    if (segundos >= 0) campo_int("segundos", segundos);
    fecha_evento();
    // The record is closed here rather than at exit, so that a write that failed (a full disk)
    // is said instead of leaving a cut record unnoticed.
    descarrega();
    Registro& r = registro();
    const int arquivo = r.arquivo;
    const int entrega = r.entrega;
    r.arquivo = -1;  // from here on a signal finds no record
    r.entrega = -1;
    fecha_arquivo(arquivo);
    fecha_arquivo(entrega);
    if (arquivo >= 0 && r.falhou)
        escreve_erro((std::string("O registro ") + r.caminho + " nao pode ser gravado.\n").c_str());
    if (entrega >= 0 && r.entrega_falhou)
        escreve_erro(
            (std::string("O registro ") + r.caminho_entrega + " nao pode ser gravado.\n").c_str());
    return !(arquivo >= 0 && r.falhou) && !(entrega >= 0 && r.entrega_falhou);
}

}  // namespace sislin
