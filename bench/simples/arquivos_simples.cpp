// Data files of the plain build: one fscanf("%g") per number through stdio, the same failures.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "util.h"

namespace sislin {

namespace {

std::FILE* abre(const char* path) {
    struct stat st;
    return ::stat(path, &st) == 0 && !S_ISDIR(st.st_mode) ? std::fopen(path, "r") : nullptr;
}

FalhaDeArquivo desencontro(std::FILE* f, const char* path, int count, int rows) {
    std::fclose(f);
    return {FalhaDeArquivo::Tipo::Desencontro, path, count, rows};
}

}  // namespace

FalhaDeArquivo le_arq_vetor(const char* path, int n, Vector v) {
    std::FILE* f = abre(path);
    if (f == nullptr) return {FalhaDeArquivo::Tipo::NaoAbre, path, 0, 0};
    for (int i = 1; i <= n; ++i)
        if (std::fscanf(f, "%g", &v[i]) != 1) return desencontro(f, path, i - 1, n);
    std::fclose(f);
    return {};
}

FalhaDeArquivo le_arq_matriz(const char* path, int rows, int cols, Matrix m) {
    std::FILE* f = abre(path);
    if (f == nullptr) return {FalhaDeArquivo::Tipo::NaoAbre, path, 0, 0};
    if (rows < 0 || cols < 0) return desencontro(f, path, 0, rows);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            if (std::fscanf(f, "%g", &m[i][j]) != 1) return desencontro(f, path, i - 1, rows);
    std::fclose(f);
    return {};
}

void limpa_arquivo(const char* path) {
    std::FILE* f = std::fopen(path, "w");
    if (f == nullptr) {
        escreve(mensagem_nao_abre_para_escrita(path).c_str());
        le_caractere();
        std::exit(1);
    }
    std::fclose(f);
}

}  // namespace sislin
