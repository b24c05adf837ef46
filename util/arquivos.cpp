// Data files: reading the matrix and vector files, and emptying a file.
//
// A file is read in large blocks. Each block is parsed up to just after its last white-space
// character, so every number parsed lies wholly inside the buffer; the unfinished text after it
// is carried to the front of the buffer and completed by the next block. A buffer full of text
// with no white space is parsed as far as its bytes decide the numbers; only a single number
// longer than the buffer makes it grow.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "conversao.h"
#include "plataforma.h"
#include "registro.h"
#include "util.h"

namespace sislin {

namespace {

constexpr std::size_t kBloco = std::size_t{1} << 20;

[[noreturn]] void falha(const std::string& msg) {
    escreve(msg.c_str());
    registra_erro(msg.c_str());
    registra_espera(Espera::Tecla);
    le_caractere();
    registra_fim(1, Causa::Erro);
    std::exit(1);
}

[[noreturn]] void nao_abre(const char* path) {
    falha(std::string("O Arquivo ") + path + " nao pode ser aberto.\n");
}

[[noreturn]] void desencontro(const char* path, int count, int rows) {
    falha(std::string("O Arquivo ") + path + " nao corresponde as especificacoes.\n" +
          "O Arquivo " + path + " possui " + std::to_string(count) +
          " registros enquanto o problema tem " + std::to_string(rows) + " linhas.\n");
}

int abre_leitura(const char* path) {
    const int fd = abre_leitura_arquivo(path);
    if (fd < 0) nao_abre(path);
    return fd;
}

// The reading state of one open data file.
struct Leitor {
    int fd;
    const char* path;
    std::unique_ptr<char[]> buf{new char[kBloco]};
    std::size_t cap = kBloco;
    std::size_t len = 0;     // bytes held
    std::size_t pos = 0;     // next byte to parse
    std::size_t regiao = 0;  // end of the parsable region: just after white space, or the end
    bool fim = false;        // end of file seen

    Leitor(int f, const char* p) : fd(f), path(p) {}
    Leitor(const Leitor&) = delete;
    Leitor& operator=(const Leitor&) = delete;
    Leitor(Leitor&&) = delete;
    Leitor& operator=(Leitor&&) = delete;
    ~Leitor() { fecha_arquivo(fd); }

    // Carries the unparsed tail to the front and reads until a new region is available (or the
    // file ends). A read error counts as a file that cannot be read.
    void recarrega() {
        const std::size_t resto = len - regiao;
        std::memmove(buf.get(), buf.get() + regiao, resto);
        len = resto;
        pos = 0;
        regiao = 0;
        for (;;) {
            if (fim) {
                regiao = len;
                return;
            }
            if (len == cap) {
                // A full buffer without white space: parse what its bytes already decide (glued
                // numbers such as "1-2-3", or text that cannot be a number). It grows only while
                // one number is still being read, so memory stays within the buffer and the
                // longest number of the file.
                const std::size_t decidido =
                    static_cast<std::size_t>(fim_decidido(buf.get(), buf.get() + len) - buf.get());
                if (decidido > 0) {
                    regiao = decidido;
                    return;
                }
                std::unique_ptr<char[]> maior(new char[2 * cap]);
                std::memcpy(maior.get(), buf.get(), len);
                buf = std::move(maior);
                cap *= 2;
            }
            const long long r = le_bloco_arquivo(fd, buf.get() + len, cap - len);
            if (r < 0) {
                fecha_arquivo(fd);
                nao_abre(path);
            }
            if (r == 0) {
                fim = true;
                continue;
            }
            const std::size_t antes = len;
            len += static_cast<std::size_t>(r);
            // The carried text holds no white space, so only the new bytes need a look.
            for (std::size_t i = len; i > antes; --i)
                if (conversao::espaco(buf[i - 1])) {
                    regiao = i;
                    return;
                }
        }
    }

    // Fills out[0..count) with successive conversions; returns how many places were filled
    // (fewer than count when the file ends or holds text that is not a number).
    std::size_t preenche(Scalar* out, std::size_t count) {
        std::size_t k = 0;
        while (k < count) {
            const char* p = buf.get() + pos;
            const char* const e = buf.get() + regiao;
            while (k < count) {
                while (p < e && conversao::espaco(*p)) ++p;
                if (p == e) break;
                bool ok = false;
                p = le_numero_g(p, e, out[k], ok);
                if (!ok) return k;
                ++k;
            }
            pos = static_cast<std::size_t>(p - buf.get());
            if (k < count) {
                if (fim && regiao == len) return k;
                recarrega();
            }
        }
        return k;
    }
};

}  // namespace

void le_arq_vetor(const char* path, int n, Vector v) {
    Leitor leitor(abre_leitura(path), path);
    if (n <= 0) return;
    const std::size_t lidos = leitor.preenche(v + 1, static_cast<std::size_t>(n));
    if (lidos < static_cast<std::size_t>(n)) {
        fecha_arquivo(leitor.fd);
        leitor.fd = -1;
        desencontro(path, static_cast<int>(lidos), n);
    }
}

void le_arq_matriz(const char* path, int rows, int cols, Matrix m) {
    Leitor leitor(abre_leitura(path), path);
    if (rows < 0 || cols < 0) {
        fecha_arquivo(leitor.fd);
        leitor.fd = -1;
        desencontro(path, 0, rows);
    }
    const auto c = static_cast<std::size_t>(cols);
    for (int i = 1; i <= rows && c > 0; ++i)
        if (leitor.preenche(m[i] + 1, c) < c) {
            fecha_arquivo(leitor.fd);
            leitor.fd = -1;
            desencontro(path, i - 1, rows);
        }
}

void limpa_arquivo(const char* path) {
    std::FILE* f = std::fopen(path, "w");
    if (f == nullptr) falha(std::string("O arquivo ") + path + " nao pode ser aberto");
    std::fclose(f);
}

}  // namespace sislin
