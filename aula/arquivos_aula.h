// The companion's data files: the text of a7.txt and b7.txt for a generated system, writing them
// without ever leaving a half-written file, and reading them back as the program does.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "inteiros.h"

namespace sislin::aula {

// a7.txt: one row a line, the entries right-aligned to the widest, one blank apart.
std::string texto_matriz(const MatrizInt& a);
// b7.txt: one value a line.
std::string texto_vetor(const VetorInt& b);

struct Arquivo {
    std::string nome;
    std::string conteudo;
};
// Writes each file (name relative to the current folder) through a temporary file renamed over
// it. A file that already holds other bytes is not touched unless sobrescrever: then nothing is
// written at all. Returns an empty text, or the message for the user.
std::string grava_arquivos(const std::vector<Arquivo>& arquivos, bool sobrescrever);

// The first count numbers of the file, each read as the program reads its data files ("%g" into
// single precision, the same text for the same failures): the values, or the message.
struct Lidos {
    std::vector<float> valores;
    std::string erro;
};
// linhas: the count the message names (the rows of the matrix, the entries of the vector);
// por_linha: the values in one of them.
Lidos le_numeros(const char* nome, int linhas, int por_linha);

}  // namespace sislin::aula
