// The data files of a run.
#pragma once

#include <string>

#include "vetores.h"

namespace sislin {

// What went wrong reading a data file: nothing, a file that cannot be opened (or read), or one
// that does not fit the problem (it ends, or holds text that is not a number, before every
// place is filled; or the problem has a negative count of rows).
struct FalhaDeArquivo {
    enum class Tipo { Nenhuma, NaoAbre, Desencontro };
    Tipo tipo = Tipo::Nenhuma;
    std::string arquivo;  // the path, as given
    int registros = 0;    // Desencontro: the rows (of a vector, the entries) read completely
    int linhas = 0;       // Desencontro: the rows (entries) the problem has
    explicit operator bool() const { return tipo != Tipo::Nenhuma; }
};

// Data files: whitespace-separated numbers, each converted as "%g" into a Scalar. They print
// nothing: the caller reports a failure (mensagem_de_falha gives its text).
FalhaDeArquivo le_arq_matriz(const char* path, int rows, int cols, Matrix m);
FalhaDeArquivo le_arq_vetor(const char* path, int n, Vector v);
// Creates path or cuts it to length zero. When it cannot be opened for writing, prints
// mensagem_nao_abre_para_escrita, reads one character and ends the process with status 1.
void limpa_arquivo(const char* path);

// The messages the user reads, exactly as printed.
// "O Arquivo %s nao pode ser aberto.\n"
std::string mensagem_nao_abre(const std::string& arquivo);
// "O Arquivo %s nao corresponde as especificacoes.\n" then
// "O Arquivo %s possui %d registros enquanto o problema tem %d linhas.\n"
std::string mensagem_desencontro(const std::string& arquivo, int registros, int linhas);
// "O arquivo %s nao pode ser aberto": lower-case "arquivo", no full stop, no line end.
std::string mensagem_nao_abre_para_escrita(const std::string& arquivo);
// The message of a failure (one of the two above; "" for none).
std::string mensagem_de_falha(const FalhaDeArquivo& falha);

}  // namespace sislin
