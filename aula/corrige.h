// sislin-aula corrige: the grading of a class's hand-in files (the practice records of
// `pratica CODIGO --aluno ID`). Nothing in a file is trusted: each session's system is made
// again from its code, the student's inputs (the replies typed, the hints, the values shown or
// accepted, the undos, the decisions to stop) are replayed through the practice engine as the
// console reads them, and the record the console would have written is compared with the
// file's, line by line. docs/corrige.md describes the score, the flags and the outputs.
//
// The grading (corrige) does no input or output: from the files' names and bytes to a result,
// which texto_csv and texto_resumo write out; comando_corrige reads the files and writes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pratica.h"

namespace sislin::aula {

// The flags of a row, in the order the column `alertas` lists them.
enum class Alerta : std::uint8_t {
    NaoERegistro,
    Cortado,
    Incompleto,
    SemMatricula,
    CodigoDeOutraMatricula,
    SistemaDiferente,
    Editado,
    Duplicado,
    MatriculaRepetida,
    DigitosDiferentes,
    ParametrosDiferentes,
    MetodoForaDaTarefa,
    Repetido,
};
inline constexpr int kNumeroAlertas = 13;
const char* nome_alerta(Alerta a);

// A hand-in file: its name as given and its bytes (nullopt when it could not be read).
struct Entrega {
    std::string nome;
    std::optional<std::string> conteudo;
};

struct OpcoesCorrecao {
    std::string chave;           // the assignment's key, as typed
    std::vector<int> metodos;    // menu numbers; empty: the ones the files hold
    std::optional<int> digitos;  // --digitos (0: exact); absent: any is taken
    int aprovacao = 60;          // the pass mark, 0..100
};

// A method of a row: the session counted (the first completed, else the one with most steps).
struct NotaMetodo {
    bool presente = false;  // some session of the method
    bool concluido = false;
    Resumo resumo;  // the replay's
    int nota = 0;   // the method's score: the replay's nota when completed, else 0
};

struct LinhaCorrecao {
    std::string arquivo;
    std::string matricula;  // the records' "aluno" (or, without it, the id in the file's name)
    std::string codigo;
    bool corrigido = false;  // false: the file is not a record (or could not be read)
    std::array<NotaMetodo, kNumeroMetodos> metodos;  // by menu number - 1
    int nota = 0;
    std::vector<std::pair<std::string, int>> enganos;  // id and count, most frequent first
    std::optional<long long> segundos;                 // the sessions' "segundos" summed
    std::array<bool, kNumeroAlertas> alertas{};
    bool tem(Alerta a) const { return alertas[static_cast<std::size_t>(a)]; }
    bool conferir() const;
    std::string situacao(int aprovacao) const;  // aprovado, reprovado or conferir
};

// A message for standard error: the file, the line (0: the whole file) and what is wrong.
struct Aviso {
    std::string arquivo;
    int linha = 0;
    std::string texto;
    bool recusa = false;    // the file was refused (not a record, unreadable): exit status 1
    std::size_t ordem = 0;  // the file's place among those given
};

struct Correcao {
    std::vector<int> metodos;  // the assignment's methods, menu order
    int aprovacao = 60;
    std::vector<LinhaCorrecao> linhas;  // one per file, in the order given
    std::vector<Aviso> avisos;
};

Correcao corrige(const OpcoesCorrecao& opcoes, const std::vector<Entrega>& entregas);

// The CSV (RFC 4180, CRLF): arquivo,matricula,codigo, then per method M_passos, M_de_primeira,
// M_dicas, M_mostrados, M_nota, then nota,situacao,enganos,minutos,alertas.
std::string texto_csv(const Correcao& c);
// The summary for standard output.
std::string texto_resumo(const Correcao& c);
// "sislin-aula: a.jsonl, linha 12: nao e JSON".
std::string texto_aviso(const Aviso& a);

// sislin-aula corrige CHAVE ARQUIVO... [--metodos M,M] [--digitos D|exato] [--aprovacao P]
// [--saida notas.csv] [--sobrescrever]: the exit status.
int comando_corrige(const std::vector<std::string>& palavras);

}  // namespace sislin::aula
