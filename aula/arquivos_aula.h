// The companion's data files: the text of a7.txt and b7.txt for a generated system, writing the
// pair without ever leaving a half-written file or half a pair, and reading them back as the
// program does.
#pragma once

#include <functional>
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
// How a file is renamed (de over para): std::rename, or in the tests one that fails on purpose.
using Renomeia = std::function<bool(const std::string& de, const std::string& para)>;
bool renomeia_arquivo(const std::string& de, const std::string& para);
// Writes the files (names relative to the current folder) whole or not at all: each into a
// temporary file (nome.novo), the old entries moved aside (nome.antigo), the new files renamed
// into place, then the old entries removed; any failure puts every old entry back and leaves
// no temporary file. A file that already holds the same bytes is left alone; one that holds
// other bytes, or cannot be read, is not touched unless sobrescrever (a folder is then replaced
// only when empty); without it nothing is written at all. A dangling symbolic link holds no
// data and is replaced. A file already under a temporary or backup name stops it all. Returns
// an empty text, or the message for the user.
std::string grava_arquivos(const std::vector<Arquivo>& arquivos, bool sobrescrever,
                           const Renomeia& renomeia = renomeia_arquivo);

// The whole of a file, byte for byte; nothing when it cannot be opened or read (a folder, say).
std::optional<std::string> conteudo_do_arquivo(const std::string& nome);

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
