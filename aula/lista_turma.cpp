// A class roster: its header, its rows, the rows set aside (lista_turma.h).
#include "lista_turma.h"

#include <cstddef>
#include <map>
#include <optional>

#include "csv.h"
#include "turma.h"

namespace sislin::aula {

namespace {

constexpr const char* kColunasDeMatricula[] = {"matricula", "id", "username", "usuario", "ra"};
constexpr const char* kColunasDeNome[] = {"nome", "name", "aluno", "estudante", "nome completo"};

// The letter an accented Latin letter (the second byte of its UTF-8 form, after 0xC3) stands
// for, or 0.
char sem_acento(unsigned char segundo) {
    const unsigned c = segundo < 0xA0U ? segundo + 0x20U : segundo;  // upper case to lower
    if (c >= 0xA0U && c <= 0xA5U) return 'a';
    if (c == 0xA7U) return 'c';
    if (c >= 0xA8U && c <= 0xABU) return 'e';
    if (c >= 0xACU && c <= 0xAFU) return 'i';
    if (c == 0xB1U) return 'n';
    if ((c >= 0xB2U && c <= 0xB6U) || c == 0xB8U) return 'o';
    if (c >= 0xB9U && c <= 0xBCU) return 'u';
    if (c == 0xBDU || c == 0xBFU) return 'y';
    return 0;
}

std::optional<std::size_t> coluna(const std::vector<std::string>& celulas, const auto& nomes) {
    for (std::size_t i = 0; i < celulas.size(); ++i)
        for (const char* nome : nomes)
            if (dobra(celulas[i]) == nome) return i;
    return std::nullopt;
}

std::string sem_brancos_nas_pontas(const std::string& s) {
    const std::size_t i = s.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return "";
    return s.substr(i, s.find_last_not_of(" \t\r\n") - i + 1);
}

}  // namespace

std::string dobra(const std::string& celula) {
    std::string r;
    bool branco = false;
    for (std::size_t i = 0; i < celula.size(); ++i) {
        const auto c = static_cast<unsigned char>(celula[i]);
        char letra = static_cast<char>(c);
        if (c == 0xC3U && i + 1 < celula.size()) {
            const char base = sem_acento(static_cast<unsigned char>(celula[i + 1]));
            if (base != 0) {
                letra = base;
                ++i;
            }
        } else if (c >= 'A' && c <= 'Z') {
            letra = static_cast<char>(c - 'A' + 'a');
        }
        if (letra == ' ' || letra == '\t' || letra == '_' || letra == '\r' || letra == '\n') {
            branco = !r.empty();
            continue;
        }
        if (branco) r += ' ';
        branco = false;
        r += letra;
    }
    return r;
}

Lista le_lista(std::string_view texto) {
    Lista r;
    const TabelaCsv tabela = le_csv(texto);
    if (!tabela.erro.empty()) {
        r.erro = tabela.erro;
        r.erro_linha = tabela.erro_linha;
        return r;
    }
    if (tabela.linhas.empty()) {
        r.erro = "a lista esta vazia";
        return r;
    }
    std::size_t col_matricula = 0;
    std::optional<std::size_t> col_nome = 1;
    std::size_t primeira = 0;
    const LinhaCsv& cabecalho = tabela.linhas.front();
    if (const auto c = coluna(cabecalho.celulas, kColunasDeMatricula)) {
        col_matricula = *c;
        col_nome = coluna(cabecalho.celulas, kColunasDeNome);
        primeira = 1;
    } else if (coluna(cabecalho.celulas, kColunasDeNome)) {
        r.erro =
            "o cabecalho nao tem a coluna da matricula (matricula, id, username, usuario ou "
            "ra)";
        r.erro_linha = cabecalho.linha;
        return r;
    }
    std::map<std::string, int> vistas;  // id -> the line it was first met on
    for (std::size_t k = primeira; k < tabela.linhas.size(); ++k) {
        const LinhaCsv& l = tabela.linhas[k];
        const std::string id = col_matricula < l.celulas.size()
                                   ? sem_brancos_nas_pontas(l.celulas[col_matricula])
                                   : "";
        if (id.empty()) {
            r.ignoradas.push_back({l.linha, "sem matricula"});
            continue;
        }
        const Normalizado m = normaliza_matricula(id);
        if (!m.texto) {
            r.ignoradas.push_back({l.linha, "matricula " + id + " recusada: " + m.erro});
            continue;
        }
        const auto [antes, nova] = vistas.emplace(*m.texto, l.linha);
        if (!nova) {
            r.ignoradas.push_back({l.linha, "matricula " + *m.texto + " repetida (ja na linha " +
                                                std::to_string(antes->second) + ")"});
            continue;
        }
        const std::string nome = col_nome && *col_nome < l.celulas.size()
                                     ? sem_brancos_nas_pontas(l.celulas[*col_nome])
                                     : "";
        r.alunos.push_back({l.linha, *m.texto, nome});
    }
    if (r.alunos.empty()) r.erro = "nenhuma linha da lista tem uma matricula aceita";
    return r;
}

}  // namespace sislin::aula
