// Tables as text (CSV, RFC 4180), as spreadsheets and course platforms export a class roster,
// and as sislin-aula writes its own tables.
//
// Reading: UTF-8 (a byte order mark at the start is skipped); the separator is "," or ";", the
// first non-empty line's deciding (";" when it has more ";" than "," outside quotes); lines end
// in CRLF, LF or CR; a cell in double quotes may hold the separator, line ends and quotes (""
// for one). A quote inside an unquoted cell is taken as it is, and text after a cell's closing
// quote is kept, as spreadsheets read them. Rows whose cells are all blank are dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sislin::aula {

struct LinhaCsv {
    int linha = 0;  // the line of the file the row starts on, from 1
    std::vector<std::string> celulas;
};

struct TabelaCsv {
    std::vector<LinhaCsv> linhas;
    char separador = ',';
    // Why the file is not a table: not text (a zero byte, a spreadsheet's or UTF-16 bytes),
    // not UTF-8, a quote never closed; empty when it was read. erro_linha: the line it names
    // (0: none).
    std::string erro;
    int erro_linha = 0;
};

TabelaCsv le_csv(std::string_view texto);

// Writing: a cell in quotes when it holds a comma, a quote or a line end (quotes doubled); the
// cells apart by commas; each row ends in CRLF.
std::string celula_csv(const std::string& celula);
std::string linha_csv(const std::vector<std::string>& celulas);

}  // namespace sislin::aula
