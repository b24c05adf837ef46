// sislin-aula turma: each student's exercise code for an assignment, from the teacher's key and
// the student's id (docs/turma.md): one student's (--aluno), or a class roster's.
#include <optional>
#include <string>
#include <vector>

#include "codigo.h"
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
        if (le_opcao_da_tarefa(palavras, i, p.ajustes, erro) != Opcao::Outra) continue;
        if (w == "--json") {
            continue;
        } else if (w == "--sobrescrever") {
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

}  // namespace

int comando_turma(const std::vector<std::string>& palavras) {
    std::string erro;
    const Pedido p = le_pedido(palavras, erro);
    if (!erro.empty()) return recusa_turma(erro, p.json);
    if (p.args.size() != (p.aluno ? 3U : 4U)) return recusa_turma(kPedido, p.json);
    const std::optional<Tarefa> t = monta_tarefa(p.args[0], p.args[1], p.args[2], p.ajustes, erro);
    if (!t) return recusa_turma(erro, p.json);
    if (p.aluno) return um_aluno(*t, *p.aluno, p.json);
    return recusa_turma("a lista da turma ainda nao e lida", p.json);
}

}  // namespace sislin::aula
