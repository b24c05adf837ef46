// The record of a run (registro.h): JSON Lines through a C stream of its own, fully buffered,
// flushed when the process exits.
#include "registro.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console.h"

namespace sislin {

namespace {

// The record's stream: null when no record is written.
std::FILE*& fluxo() {
    static std::FILE* f = nullptr;
    return f;
}

void poe(const char* p, std::size_t n) {
    std::fwrite(p, 1, n, fluxo());
}

void poe(const char* s) {
    poe(s, std::strlen(s));
}

// A JSON string: the quote, the backslash and the control characters escaped.
void poe_texto(const char* s) {
    poe("\"");
    for (; *s != '\0'; ++s) {
        const auto c = static_cast<unsigned char>(*s);
        if (c == '"' || c == '\\') {
            const char e[2] = {'\\', static_cast<char>(c)};
            poe(e, 2);
        } else if (c == '\n') {
            poe("\\n");
        } else if (c < 0x20) {
            const char e[6] = {
                '\\', 'u', '0', '0', static_cast<char>('0' + c / 16), "0123456789abcdef"[c % 16]};
            poe(e, sizeof e);
        } else {
            poe(s, 1);
        }
    }
    poe("\"");
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

bool abre_registro() {
    const char* caminho = std::getenv("SISLIN_REGISTRO");
    if (caminho == nullptr || *caminho == '\0') return false;
    std::FILE* f = std::fopen(caminho, "wb");
    if (f == nullptr) {
        escreve_erro((std::string("O registro ") + caminho + " nao pode ser aberto.\n").c_str());
        return false;
    }
    static char buffer[1 << 16];
    std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
    fluxo() = f;  // closed at the run's end, or by exit() after a fatal message
    return true;
}

bool registrando() {
    return fluxo() != nullptr;
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
    primeiro() = true;
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
    std::fflush(fluxo());
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

void registra_fim(int status, Causa causa) {
    if (!registrando()) return;
    static constexpr const char* kCausas[] = {"sair", "fim-da-entrada", "erro", "sinal", "saida"};
    inicia_evento("fim");
    campo_int("status", status);
    campo_texto("causa", kCausas[static_cast<int>(causa)]);
    fecha_evento();
    // The record is closed here rather than by exit(), so that a write that failed (a full
    // disk) is said instead of leaving a cut record unnoticed.
    const bool falhou = std::ferror(fluxo()) != 0;
    if (std::fclose(fluxo()) != 0 || falhou)
        escreve_erro((std::string("O registro ") + std::getenv("SISLIN_REGISTRO") +
                      " nao pode ser gravado.\n")
                         .c_str());
    fluxo() = nullptr;
}

}  // namespace sislin
