// The messages of the data files (arquivos.h), apart from the readers so that any reader of
// them reports with the same texts.
#include <string>

#include "arquivos.h"

namespace sislin {

std::string mensagem_nao_abre(const std::string& arquivo) {
    return "O Arquivo " + arquivo + " nao pode ser aberto.\n";
}

std::string mensagem_desencontro(const std::string& arquivo, int registros, int linhas) {
    return "O Arquivo " + arquivo + " nao corresponde as especificacoes.\nO Arquivo " + arquivo +
           " possui " + std::to_string(registros) + " registros enquanto o problema tem " +
           std::to_string(linhas) + " linhas.\n";
}

std::string mensagem_nao_abre_para_escrita(const std::string& arquivo) {
    return "O arquivo " + arquivo + " nao pode ser aberto";
}

std::string mensagem_de_falha(const FalhaDeArquivo& falha) {
    switch (falha.tipo) {
        case FalhaDeArquivo::Tipo::NaoAbre:
            return mensagem_nao_abre(falha.arquivo);
        case FalhaDeArquivo::Tipo::Desencontro:
            return mensagem_desencontro(falha.arquivo, falha.registros, falha.linhas);
        case FalhaDeArquivo::Tipo::Nenhuma:
            break;
    }
    return "";
}

}  // namespace sislin
