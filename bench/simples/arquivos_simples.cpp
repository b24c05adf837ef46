// Data files of the plain build: one fscanf("%g") per number through stdio, same messages.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "util.h"

namespace sislin {

namespace {

[[noreturn]] void falha(const std::string& msg) {
    escreve(msg.c_str());
    le_caractere();
    std::exit(1);
}

std::FILE* abre(const char* path) {
    struct stat st;
    std::FILE* f = ::stat(path, &st) == 0 && !S_ISDIR(st.st_mode) ? std::fopen(path, "r") : nullptr;
    if (f == nullptr) falha(std::string("O Arquivo ") + path + " nao pode ser aberto.\n");
    return f;
}

[[noreturn]] void desencontro(std::FILE* f, const char* path, int count, int rows) {
    std::fclose(f);
    falha(std::string("O Arquivo ") + path + " nao corresponde as especificacoes.\n" +
          "O Arquivo " + path + " possui " + std::to_string(count) +
          " registros enquanto o problema tem " + std::to_string(rows) + " linhas.\n");
}

}  // namespace

void le_arq_vetor(const char* path, int n, Vector v) {
    std::FILE* f = abre(path);
    for (int i = 1; i <= n; ++i)
        if (std::fscanf(f, "%g", &v[i]) != 1) desencontro(f, path, i - 1, n);
    std::fclose(f);
}

void le_arq_matriz(const char* path, int rows, int cols, Matrix m) {
    std::FILE* f = abre(path);
    if (rows < 0 || cols < 0) desencontro(f, path, 0, rows);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            if (std::fscanf(f, "%g", &m[i][j]) != 1) desencontro(f, path, i - 1, rows);
    std::fclose(f);
}

void limpa_arquivo(const char* path) {
    std::FILE* f = std::fopen(path, "w");
    if (f == nullptr) falha(std::string("O arquivo ") + path + " nao pode ser aberto");
    std::fclose(f);
}

}  // namespace sislin
