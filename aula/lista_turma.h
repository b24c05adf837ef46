// A class roster (sislin-aula turma LISTA.csv): the students' ids and names from a CSV file as
// a spreadsheet or a course platform exports it (docs/turma.md, "A lista da turma").
//
// A header is recognised when one of the first row's cells, blanks at the ends dropped, case
// and accents folded, is matricula, id, username, usuario or ra: that is the id column, and the
// name column, when there is one, is nome, name, aluno, estudante or nome completo. Without a
// header the first column holds the id and the second the name. A row without an id, with an
// id normaliza_matricula refuses, or with an id already met (after normalisation) is set aside
// with the reason; the others are the class.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sislin::aula {

struct AlunoDaLista {
    int linha = 0;          // the file's line
    std::string matricula;  // normalised
    std::string nome;       // blanks at the ends dropped; may be empty
};

struct LinhaIgnorada {
    int linha = 0;
    std::string motivo;
};

struct Lista {
    std::vector<AlunoDaLista> alunos;
    std::vector<LinhaIgnorada> ignoradas;
    // Why the whole file is refused (not text, a header without the id column, no student at
    // all); erro_linha: the line it names (0: none).
    std::string erro;
    int erro_linha = 0;
};

Lista le_lista(std::string_view texto);

// A header cell as compared: blanks at the ends dropped, inner runs made one, ASCII letters in
// lower case, the accented Latin letters of UTF-8 without their accent ("Matrícula" ->
// "matricula").
std::string dobra(const std::string& celula);

}  // namespace sislin::aula
