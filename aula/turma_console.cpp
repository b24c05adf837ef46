// sislin-aula turma: each student's exercise code for an assignment, from the teacher's key and
// the student's id (docs/turma.md): one student's (--aluno), or a class roster's.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "arquivos_aula.h"
#include "codigo.h"
#include "csv.h"
#include "lista_turma.h"
#include "saida_json.h"
#include "tarefa.h"
#include "turma.h"
#include "util.h"

namespace sislin::aula {

namespace {

constexpr const char* kPedido =
    "turma pede CHAVE TIPO N e a lista (LISTA.csv), ou CHAVE TIPO N --aluno ID";

// The message on standard error; with --json also the refusal's object on standard output.
int recusa_turma(const std::string& motivo, bool json) {
    escreve_erro(("sislin-aula: " + motivo + "\n").c_str());
    if (json)
        escreve((json_cabecalho("turma") + R"("erro":)" + texto_json(motivo) + "}\n").c_str());
    return 1;
}

struct Pedido {
    std::vector<std::string> args;
    Ajustes ajustes;
    std::optional<std::string> aluno;
    std::string saida = "codigos.csv";
    bool sobrescrever = false;
    bool json = false;
};

// The words and options; the message in erro for a refused option.
Pedido le_pedido(const std::vector<std::string>& palavras, std::string& erro) {
    Pedido p;
    for (const std::string& w : palavras) p.json = p.json || w == "--json";
    for (std::size_t i = 0; i < palavras.size() && erro.empty(); ++i) {
        const std::string& w = palavras[i];
        if (w == "--json" || le_opcao_da_tarefa(palavras, i, p.ajustes, erro) != Opcao::Outra)
            continue;
        if (w == "--sobrescrever") {
            p.sobrescrever = true;
        } else if (w == "--aluno" || w == "--saida") {
            if (i + 1 == palavras.size()) {
                erro = w == "--aluno" ? "--aluno pede a matricula" : "--saida pede o arquivo";
                break;
            }
            if (w == "--aluno")
                p.aluno = palavras[++i];
            else
                p.saida = palavras[++i];
        } else if (w.size() > 2 && w[0] == '-' && w[1] == '-') {
            erro = "opcao desconhecida: " + w;
        } else {
            p.args.push_back(w);
        }
    }
    return p;
}

int um_aluno(const Tarefa& t, const std::string& aluno, bool json) {
    const Normalizado m = normaliza_matricula(aluno);
    if (!m.texto) return recusa_turma(m.erro, json);
    const std::optional<Exercicio> e = exercicio_da_turma(t.chave, *m.texto, t.tipo, t.n);
    if (!e) return recusa_turma(kPedido, json);  // not reached: key, kind and n are checked
    const std::string codigo = escreve_codigo(*e);
    if (json)
        escreve((json_cabecalho("turma") + R"("tarefa":)" + json_tarefa(t) + R"(,"fragmento":)" +
                 texto_json(fragmento(t)) + R"(,"matricula":)" + texto_json(*m.texto) +
                 R"(,"codigo":)" + texto_json(codigo) + "}\n")
                    .c_str());
    else
        escreve((*m.texto + " " + codigo + "\n").c_str());
    return 0;
}

// The width of a text on the screen: its UTF-8 characters.
std::size_t largura(const std::string& s) {
    std::size_t n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
    return n;
}

// A name on one line of the table: line ends and tabs made blanks.
std::string numa_linha(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return s;
}

struct Linha {
    const AlunoDaLista* aluno;
    std::string codigo;
};

std::string tabela(const std::vector<Linha>& linhas) {
    std::size_t lm = largura("matricula");
    std::size_t ln = largura("nome");
    for (const Linha& l : linhas) {
        lm = std::max(lm, largura(l.aluno->matricula));
        ln = std::max(ln, largura(numa_linha(l.aluno->nome)));
    }
    const auto coluna = [](const std::string& s, std::size_t w) {
        return s + std::string(w - largura(s) + 2, ' ');
    };
    std::string t = coluna("matricula", lm) + coluna("nome", ln) + "codigo\n";
    for (const Linha& l : linhas)
        t += coluna(l.aluno->matricula, lm) + coluna(numa_linha(l.aluno->nome), ln) + l.codigo +
             "\n";
    return t;
}

std::string json_lista(const Tarefa& t, const std::vector<Linha>& linhas, const Lista& lista) {
    std::string r = json_cabecalho("turma") + R"("tarefa":)" + json_tarefa(t) + R"(,"fragmento":)" +
                    texto_json(fragmento(t)) + R"(,"alunos":[)";
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const AlunoDaLista& a = *linhas[i].aluno;
        if (i > 0) r += ',';
        r += R"({"linha":)" + std::to_string(a.linha) + R"(,"matricula":)" +
             texto_json(a.matricula) + R"(,"nome":)" + texto_json(a.nome) + R"(,"codigo":)" +
             texto_json(linhas[i].codigo) + "}";
    }
    r += R"(],"ignoradas":[)";
    for (std::size_t i = 0; i < lista.ignoradas.size(); ++i) {
        if (i > 0) r += ',';
        r += R"({"linha":)" + std::to_string(lista.ignoradas[i].linha) + R"(,"motivo":)" +
             texto_json(lista.ignoradas[i].motivo) + "}";
    }
    return r + "]}\n";
}

std::string plural(std::size_t n, const char* um, const char* varios) {
    return std::to_string(n) + " " + (n == 1 ? um : varios);
}

int da_lista(const Tarefa& t, const std::string& arquivo, const Pedido& p) {
    const std::optional<std::string> texto = conteudo_do_arquivo(arquivo);
    if (!texto) return recusa_turma("o arquivo " + arquivo + " nao pode ser lido", p.json);
    const Lista lista = le_lista(*texto);
    for (const LinhaIgnorada& l : lista.ignoradas)
        escreve_erro(("sislin-aula: " + arquivo + ", linha " + std::to_string(l.linha) + ": " +
                      l.motivo + "; linha ignorada\n")
                         .c_str());
    if (!lista.erro.empty())
        return recusa_turma(
            arquivo +
                (lista.erro_linha > 0 ? ", linha " + std::to_string(lista.erro_linha)
                                      : std::string()) +
                ": " + lista.erro,
            p.json);
    std::vector<Linha> linhas;
    std::string csv = linha_csv({"matricula", "nome", "codigo"});
    for (const AlunoDaLista& a : lista.alunos) {
        const std::optional<Exercicio> e = exercicio_da_turma(t.chave, a.matricula, t.tipo, t.n);
        if (!e) return recusa_turma(kPedido, p.json);  // not reached: everything is checked
        linhas.push_back({&a, escreve_codigo(*e)});
        csv += linha_csv({a.matricula, a.nome, linhas.back().codigo});
    }
    if (p.json) {
        escreve(json_lista(t, linhas, lista).c_str());
        return 0;
    }
    const std::string erro = grava_arquivos({{p.saida, csv}}, p.sobrescrever);
    if (!erro.empty()) return recusa_turma(erro, false);
    escreve((tabela(linhas) + "\nEndereco da pagina: " + fragmento(t) + "\n" + p.saida +
             " gravado: " + plural(linhas.size(), "aluno", "alunos") +
             (lista.ignoradas.empty()
                  ? std::string()
                  : ", " + plural(lista.ignoradas.size(), "linha ignorada", "linhas ignoradas")) +
             ".\n")
                .c_str());
    return 0;
}

}  // namespace

int comando_turma(const std::vector<std::string>& palavras) {
    std::string erro;
    const Pedido p = le_pedido(palavras, erro);
    if (!erro.empty()) return recusa_turma(erro, p.json);
    if (p.args.size() != (p.aluno ? 3U : 4U)) return recusa_turma(kPedido, p.json);
    const std::optional<Tarefa> t = monta_tarefa(p.args[0], p.args[1], p.args[2], p.ajustes, erro);
    if (!t) return recusa_turma(erro, p.json);
    if (p.aluno) return um_aluno(*t, *p.aluno, p.json);
    return da_lista(*t, p.args[3], p);
}

}  // namespace sislin::aula
