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

// The reading state of one open data file.
struct Leitor {
    int fd;
    std::unique_ptr<char[]> buf{new char[kBloco]};
    std::size_t cap = kBloco;
    std::size_t len = 0;     // bytes held
    std::size_t pos = 0;     // next byte to parse
    std::size_t regiao = 0;  // end of the parsable region: just after white space, or the end
    bool fim = false;        // end of file seen
    bool falhou = false;     // a read error: the file counts as one that cannot be read

    explicit Leitor(int f) : fd(f) {}
    Leitor(const Leitor&) = delete;
    Leitor& operator=(const Leitor&) = delete;
    Leitor(Leitor&&) = delete;
    Leitor& operator=(Leitor&&) = delete;
    ~Leitor() { fecha_arquivo(fd); }

    // Carries the unparsed tail to the front and reads until a new region is available (or the
    // file ends). A read error ends the file, and is kept in falhou.
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
            if (r < 0) falhou = true;
            if (r <= 0) {
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

FalhaDeArquivo nao_abre(const char* path) {
    return {FalhaDeArquivo::Tipo::NaoAbre, path, 0, 0};
}

FalhaDeArquivo desencontro(const char* path, int registros, int linhas) {
    return {FalhaDeArquivo::Tipo::Desencontro, path, registros, linhas};
}

}  // namespace

FalhaDeArquivo le_arq_vetor(const char* path, int n, Vector v) {
    Leitor leitor(abre_leitura_arquivo(path));
    if (leitor.fd < 0) return nao_abre(path);
    if (n <= 0) return {};
    const std::size_t lidos = leitor.preenche(v + 1, static_cast<std::size_t>(n));
    if (leitor.falhou) return nao_abre(path);
    if (lidos < static_cast<std::size_t>(n)) return desencontro(path, static_cast<int>(lidos), n);
    return {};
}

FalhaDeArquivo le_arq_matriz(const char* path, int rows, int cols, Matrix m) {
    Leitor leitor(abre_leitura_arquivo(path));
    if (leitor.fd < 0) return nao_abre(path);
    if (rows < 0 || cols < 0) return desencontro(path, 0, rows);
    const auto c = static_cast<std::size_t>(cols);
    for (int i = 1; i <= rows && c > 0; ++i) {
        const std::size_t lidos = leitor.preenche(m[i] + 1, c);
        if (leitor.falhou) return nao_abre(path);
        if (lidos < c) return desencontro(path, i - 1, rows);
    }
    return {};
}

void limpa_arquivo(const char* path) {
    std::FILE* f = std::fopen(path, "w");
    if (f == nullptr) {
        const std::string msg = mensagem_nao_abre_para_escrita(path);
        escreve(msg.c_str());
        registra_erro(msg.c_str());
        registra_espera(Espera::Tecla);
        le_caractere();
        registra_fim(1, Causa::Erro);
        std::exit(1);
    }
    std::fclose(f);
}

}  // namespace sislin
