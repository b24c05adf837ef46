// sislin-aula pratica: the practice session on the console, and its record (SISLIN_REGISTRO).
// docs/pratica.md describes the dialogue, the commands, the mistakes and the record's events.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "arquivos_aula.h"
#include "codigo.h"
#include "conversao.h"
#include "gerador.h"
#include "plataforma.h"
#include "pratica.h"
#include "registro.h"
#include "resposta.h"
#include "turma.h"
#include "util.h"

namespace sislin::aula {

namespace {

constexpr const char* kComandos =
    "Comandos: d dica, m mostra o valor, a aceita a sua ultima resposta, u desfaz (u 3: tres "
    "passos), h historico, s sair\n";

constexpr std::size_t kMaiorResposta = 200;

int recusa_pratica(const std::string& motivo) {
    escreve_erro(("sislin-aula: " + motivo + "\n").c_str());
    return 1;
}

std::string g(float v) {
    char buf[kFormatoMax];
    return {buf, formata_g(buf, static_cast<double>(v))};
}

bool so_digitos(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (const char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The data of the session: from a7.txt and b7.txt, or from an exercise code.
struct Dados {
    int n = 0;
    std::vector<float> A;
    std::vector<float> b;
    std::string codigo;  // empty: from the files
    std::string erro;
};

Dados le_dados(const std::string& palavra) {
    Dados r;
    if (so_digitos(palavra)) {
        r.n = std::stoi(palavra);
        if (r.n < 1 || r.n > kMaiorPratica) {
            r.erro = "pratica pede N de 1 a " + std::to_string(kMaiorPratica);
            return r;
        }
        const Lidos b = le_numeros("b7.txt", r.n, 1);
        if (!b.erro.empty()) {
            r.erro = b.erro.substr(0, b.erro.size() - 1);
            return r;
        }
        const Lidos a = le_numeros("a7.txt", r.n, r.n);
        if (!a.erro.empty()) {
            r.erro = a.erro.substr(0, a.erro.size() - 1);
            return r;
        }
        r.A = a.valores;
        r.b = b.valores;
        return r;
    }
    const LeituraCodigo l = le_codigo(palavra);
    if (!l.exercicio) {
        r.erro = l.erro;
        return r;
    }
    if (l.exercicio->n > kMaiorPratica) {
        r.erro = "pratica pede N de 1 a " + std::to_string(kMaiorPratica) +
                 "; o codigo tem n = " + std::to_string(l.exercicio->n);
        return r;
    }
    const Sistema s = gera(*l.exercicio);
    r.n = l.exercicio->n;
    r.codigo = escreve_codigo(*l.exercicio);
    for (const auto& linha : s.a)
        for (const auto v : linha) r.A.push_back(static_cast<float>(v));
    for (const auto v : s.b) r.b.push_back(static_cast<float>(v));
    return r;
}

// One line of standard input without its line end (a final \r dropped), or nothing at the end
// of input.
std::optional<std::string> le_linha() {
    std::string t;
    int c = le_caractere();
    if (c == EOF) return std::nullopt;
    // A reply is short: past kMaiorResposta characters the rest of the line is read and dropped.
    for (; c != EOF && c != '\n'; c = le_caractere())
        if (t.size() < kMaiorResposta) t += static_cast<char>(c);
    while (!t.empty() && conversao::espaco(static_cast<unsigned char>(t.back()))) t.pop_back();
    std::size_t i = 0;
    while (i < t.size() && conversao::espaco(static_cast<unsigned char>(t[i]))) ++i;
    return t.substr(i);
}

// The working arrays as the record and the screen show them: A with 0 where eliminated.
struct Vista {
    float A[kMaiorPratica + 1][kMaiorPratica + 1] = {};
    float* linhas[kMaiorPratica + 1] = {};
    float* mlinhas[kMaiorPratica + 1] = {};
    Quadro q;
    explicit Vista(const Pratica& p) : q(p.aluno()) {
        for (int i = 0; i <= q.n; ++i) {
            for (int j = 0; j <= q.n; ++j) A[i][j] = p.eliminado(i, j) ? 0.0f : q.A[i][j];
            linhas[i] = A[i];
            mlinhas[i] = q.m[i];
        }
    }
};

void registra_estado(const Pratica& p) {
    if (!registrando()) return;
    Vista v(p);
    const int n = p.n();
    const int metodo = p.metodo();
    inicia_evento("estado");
    campo_int("passo", p.passo() - 1);
    campo_matriz("A", v.linhas, n);
    if (metodo == 1 || metodo == 2 || metodo == 5 || metodo >= 7 || (metodo == 4 && p.concluida()))
        campo_vetor("b", v.q.b, n);
    if (metodo == 1 || metodo == 2) campo_matriz("m", v.mlinhas, n);
    if (metodo == 4) {
        campo_indices("pos", v.q.pos, n);
        if (p.concluida()) campo_escalar("det", v.q.det);
    }
    if (metodo == 5 || metodo == 6 || metodo == 8) campo_vetor("y", v.q.y, n);
    if (metodo != 3 && metodo != 4 && metodo != 5 && metodo != 8) campo_vetor("x", v.q.x, n);
    if (metodo == 7) {
        campo_vetor("r", v.q.r, n);
        campo_escalar("Erro", v.q.erro);
    }
    if (metodo == 8) {
        // Only the column being computed: the others stay 0.
        float inv[kMaiorPratica + 1][kMaiorPratica + 1] = {};
        float* linhas[kMaiorPratica + 1] = {};
        for (int i = 0; i <= n; ++i) {
            inv[i][v.q.coluna] = v.q.x[i];
            linhas[i] = inv[i];
        }
        campo_matriz("Inv", linhas, n);
    }
    if (metodo >= 9) {
        campo_escalar("Erro", v.q.erro);
        campo_int("k", v.q.k);
    }
    fecha_evento();
}

void registra_pergunta(const Pratica& p, const Pergunta& q) {
    if (!registrando()) return;
    inicia_evento("pergunta");
    campo_int("passo", p.passo());
    campo_texto("nome", q.nome.c_str());
    campo_texto("onde", nome_onde(q.onde));
    campo_int("linha", q.linha);
    if (q.coluna > 0) campo_int("coluna", q.coluna);
    campo_texto("formula", q.formula.c_str());
    fecha_evento();
}

void registra_rejeitada(const char* motivo) {
    if (!registrando()) return;
    inicia_evento("rejeitada");
    campo_texto("de", "passo");
    campo_texto("motivo", motivo);
    fecha_evento();
}

void registra_valor(const char* evento, int passo, float v) {
    if (!registrando()) return;
    inicia_evento(evento);
    campo_int("passo", passo);
    campo_escalar("valor", v);
    fecha_evento();
}

// A, and beside it the right-hand side the method works on (b, or y for U x = y).
// The iterative methods show x after each sweep instead (dados: A and b all the same).
void imprime_quadro(const Pratica& p, bool dados = false) {
    const Vista v(p);
    const int metodo = p.metodo();
    std::string t;
    if (metodo >= 9 && !dados) {
        t = "x:";
        for (int i = 1; i <= p.n(); ++i) {
            t += ' ';
            t += g(v.q.x[i]);
        }
        escreve((t + "\n").c_str());
        return;
    }
    for (int i = 1; i <= p.n(); ++i) {
        for (int j = 1; j <= p.n(); ++j) t += g(v.A[i][j]) + (j < p.n() ? "\t" : "");
        if (metodo == 3 || metodo == 4)
            t += "\n";
        else
            t += "\t| " + g(metodo == 6 ? v.q.y[i] : v.q.b[i]) + "\n";
    }
    escreve(t.c_str());
}

// Where the work stands, printed when it moves to a new column or to the substitution.
std::string etapa(const Quadro& q) {
    const std::string n = std::to_string(q.n);
    switch (q.fase) {
        case Fase::Eliminacao:
            return "Coluna " + std::to_string(q.k) + ":\n";
        case Fase::Determinante:
            return "Determinante:\n";
        case Fase::Progressiva:
            return "Substituicao progressiva, de y[1] a y[" + n + "]:\n";
        case Fase::Retroativa:
            return "Substituicao retroativa, de x[" + n + "] a x[1]:\n";
        case Fase::Iteracao:
            return "Iteracao " + std::to_string(q.k) + " (xa: o x da iteracao anterior):\n";
        case Fase::Residuo:
            return "Residuo r = b - A x e o seu erro, max |r[i]|:\n";
        case Fase::Fim:
            break;
    }
    return "";
}

std::string historico(const Pratica& p) {
    if (p.historico().empty()) return "Nenhum passo feito ainda.\n";
    static constexpr const char* kComo[] = {"certo", "aceito", "mostrado"};
    std::string t;
    int k = 0;
    for (const Feito& f : p.historico()) {
        t += std::to_string(++k) + ". " + f.pergunta.nome + " = " + texto_numero(f.valor) + " (" +
             kComo[static_cast<int>(f.como)] + ")\n";
    }
    return t;
}

void resumo(const Pratica& p) {
    const Resumo r = p.resumo();
    escreve(("Resumo: " + std::to_string(r.passos) + " passos, " +
             std::to_string(r.certos_de_primeira) + " certos de primeira, " +
             std::to_string(r.dicas) + " dicas, " + std::to_string(r.mostrados) + " mostrados, " +
             std::to_string(r.aceitos) + " aceitos. Nota " + std::to_string(r.nota) + " de 100.\n")
                .c_str());
    const int metodo = p.metodo();
    if (p.concluida() && metodo != 3) {
        std::string t = "Resultado (seu / do programa):\n";
        if (metodo == 7) t += "Erro = " + g(p.aluno().erro) + " / " + g(p.programa().erro) + "\n";
        if (metodo >= 9)
            t += "k = " + std::to_string(p.aluno().k) + ", Erro = " + g(p.aluno().erro) + " / " +
                 g(p.programa().erro) + "\n";
        if (metodo == 4) {
            t += "det = " + g(p.aluno().det) + " / " + g(p.programa().det) + "\n";
        } else {
            const char* nome = metodo == 5 ? "y" : metodo == 7 ? "r" : "x";
            for (int i = 1; i <= p.n(); ++i) {
                const auto de = [&](const Quadro& q) {
                    return metodo == 5 ? q.y[i] : metodo == 7 ? q.r[i] : q.x[i];
                };
                const float a = de(p.aluno());
                const float b = de(p.programa());
                t += std::string(nome) + "[" + (i < 10 ? " " : "") + std::to_string(i) +
                     "] = " + g(a) + " / " + g(b) + "\n";
            }
        }
        escreve(t.c_str());
    }
    if (!registrando()) return;
    inicia_evento("resumo");
    campo_int("passos", r.passos);
    campo_int("certos_de_primeira", r.certos_de_primeira);
    campo_int("dicas", r.dicas);
    campo_int("mostrados", r.mostrados);
    campo_int("aceitos", r.aceitos);
    campo_int("nota", r.nota);
    fecha_evento();
}

// A session for an assignment (--aluno): its hand-in file, and when it started.
struct Entrega {
    std::string arquivo;  // empty: not for an assignment
    std::chrono::steady_clock::time_point inicio = std::chrono::steady_clock::now();
};

int termina(const Pratica& p, const Entrega& entrega, int status, Causa causa) {
    resumo(p);
    if (entrega.arquivo.empty()) {
        registra_fim(status, causa);
        return status;
    }
    const auto segundos = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::steady_clock::now() - entrega.inicio)
                              .count();
    if (registra_fim(status, causa, static_cast<long long>(segundos)))
        escreve(("Registro para entregar: " + entrega.arquivo + "\n").c_str());
    return status;
}

// The check of a reply on the screen and in the record.
void responde(const Conferencia& c, int passo, const std::string& t) {
    const bool certo = c.marca == Marca::Certo;
    if (certo)
        escreve("Certo.\n");
    else
        escreve(("Errado" + (c.engano != nullptr ? " (" + std::string(c.engano) + ")" : "") + ": " +
                 c.explicacao + ". De novo, ou d, m, a.\n")
                    .c_str());
    if (!registrando()) return;
    inicia_evento("resposta");
    campo_int("passo", passo);
    campo_texto("texto", t.c_str());
    campo_escalar("valor", c.valor);
    campo_escalar("esperado", c.esperado);
    campo_escalar("programa", c.programa);
    campo_texto("marca", certo ? "certo" : "errado");
    if (c.engano != nullptr)
        campo_texto("engano", c.engano);
    else
        campo_nulo("engano");
    campo_texto("explicacao", c.explicacao.c_str());
    campo_int("tentativa", c.tentativa);
    fecha_evento();
}

// One reply to the step asked; false when the session ends (status in status).
int sessao(Pratica& p, const Entrega& entrega) {
    std::string etapa_mostrada;
    bool perguntar = true;
    while (!p.concluida()) {
        const Pergunta q = p.pergunta();
        if (perguntar) {
            const std::string e = etapa(p.aluno());
            if (e != etapa_mostrada) {
                if (!etapa_mostrada.empty()) imprime_quadro(p);
                escreve(e.c_str());
                etapa_mostrada = e;
            }
            registra_pergunta(p, q);
            perguntar = false;
        }
        escreve((q.nome + " = " + q.formula + " = ").c_str());
        registra_espera("passo");
        const std::optional<std::string> linha = le_linha();
        if (!linha) {
            escreve("\n");
            if (registrando()) {
                inicia_evento("fim-da-entrada");
                campo_texto("de", "passo");
                fecha_evento();
            }
            return termina(p, entrega, 1, Causa::FimDaEntrada);
        }
        const std::string& t = *linha;
        const int passo = p.passo();
        // At the decision to stop, s and n answer it (sim, nao); sair still ends the session.
        const Resposta r = le_resposta(t, q.decisao);
        switch (r.acao) {
            case Acao::Sair:
                return termina(p, entrega, 0, Causa::Sair);
            case Acao::NemSimNemNao:
                escreve(("Responda sim (s) ou nao (n), ou um comando: " + t + "\n").c_str());
                registra_rejeitada(r.motivo.c_str());
                break;
            case Acao::Decide:
            case Acao::Numero: {
                const Conferencia c = p.confere(r.valor);
                responde(c, passo, t);
                if (c.marca == Marca::Certo) {
                    registra_estado(p);
                    perguntar = true;
                }
                break;
            }
            case Acao::Dica: {
                const std::string dica = p.dica();
                escreve(("Dica: " + dica + "\n").c_str());
                if (registrando()) {
                    inicia_evento("dica");
                    campo_int("passo", passo);
                    campo_texto("texto", dica.c_str());
                    fecha_evento();
                }
                break;
            }
            case Acao::Mostra: {
                const float v = p.mostra();
                escreve(
                    ("Valor: " + texto_numero(v) + " (mostrado: o passo nao conta como certo)\n")
                        .c_str());
                registra_valor("mostra", passo, v);
                registra_estado(p);
                perguntar = true;
                break;
            }
            case Acao::Aceita: {
                const std::optional<float> v = p.aceita();
                if (!v) {
                    escreve((std::string(kNadaAAceitar) + "\n").c_str());
                    registra_rejeitada(kNadaAAceitar);
                    break;
                }
                escreve(("Aceito: " + texto_numero(*v) + " (o valor segue adiante)\n").c_str());
                registra_valor("aceita", passo, *v);
                registra_estado(p);
                perguntar = true;
                break;
            }
            case Acao::Historico:
                escreve(historico(p).c_str());
                break;
            case Acao::Desfaz: {
                const int feitos = p.desfaz(r.passos);
                if (feitos == 0) {
                    escreve((std::string(kNadaADesfazer) + "\n").c_str());
                    registra_rejeitada(kNadaADesfazer);
                    break;
                }
                escreve(("Desfeito: " + std::to_string(feitos) +
                         (feitos == 1 ? " passo" : " passos") + "; de volta ao passo " +
                         std::to_string(p.passo()) + "\n")
                            .c_str());
                if (registrando()) {
                    inicia_evento("desfaz");
                    campo_int("passos", feitos);
                    campo_int("volta_a", p.passo());
                    fecha_evento();
                }
                registra_estado(p);
                etapa_mostrada.clear();
                perguntar = true;
                break;
            }
            case Acao::Recusa:
                escreve(("Responda um numero ou um comando (d, m, a, u, h, s): " + r.motivo + "\n")
                            .c_str());
                registra_rejeitada(r.motivo.c_str());
                break;
        }
    }
    imprime_quadro(p);
    return termina(p, entrega, 0, Causa::Concluido);
}

}  // namespace

int comando_pratica(const std::vector<std::string>& palavras) {
    std::vector<std::string> args;
    int digitos = 4;
    float precisao = 1e-4f;
    int limite = 25;
    int coluna = 1;
    std::optional<std::string> aluno;
    for (std::size_t i = 0; i < palavras.size(); ++i) {
        if (palavras[i] == "--aluno") {
            if (i + 1 == palavras.size()) return recusa_pratica("--aluno pede a matricula");
            aluno = palavras[++i];
            continue;
        }
        if (palavras[i] == "--precisao" || palavras[i] == "--limite") {
            const bool de_precisao = palavras[i] == "--precisao";
            const std::optional<float> v =
                i + 1 < palavras.size() ? numero(palavras[++i]) : std::nullopt;
            if (de_precisao && v && *v > 0.0f) {
                precisao = *v;
            } else if (!de_precisao && i < palavras.size() && so_digitos(palavras[i]) &&
                       std::stoi(palavras[i]) >= 1 && std::stoi(palavras[i]) <= kMaiorVarredura) {
                limite = std::stoi(palavras[i]);
            } else {
                return recusa_pratica(de_precisao ? "--precisao pede um numero maior que 0"
                                                  : "--limite pede um inteiro de 1 a " +
                                                        std::to_string(kMaiorVarredura));
            }
            continue;
        }
        if (palavras[i] == "--coluna") {
            if (i + 1 == palavras.size() || !so_digitos(palavras[i + 1]))
                return recusa_pratica("--coluna pede C, de 1 a N");
            coluna = std::stoi(palavras[++i]);
            continue;
        }
        if (palavras[i] != "--digitos") {
            args.push_back(palavras[i]);
            continue;
        }
        if (i + 1 == palavras.size()) return recusa_pratica("--digitos pede D, de 1 a 9, ou exato");
        const std::string& d = palavras[++i];
        if (d == "exato")
            digitos = 0;
        else if (d.size() == 1 && d[0] >= '1' && d[0] <= '9')
            digitos = d[0] - '0';
        else
            return recusa_pratica("--digitos pede D, de 1 a 9, ou exato");
    }
    if (args.size() != 2) return recusa_pratica("pratica pede METODO e N ou um CODIGO");
    const MetodoPratica* metodo = metodo_pratica(args[0]);
    if (metodo == nullptr)
        return recusa_pratica("metodo desconhecido: " + args[0] + " (1 a 10, ou gauss, " +
                              "gauss-pivoteado, lu, lu-pivoteado, ly, ux, residuo, inversa, " +
                              "jacobi, gauss-seidel)");
    if (aluno && so_digitos(args[1]))
        return recusa_pratica("--aluno pede o CODIGO do exercicio da tarefa, nao N");
    const Dados dados = le_dados(args[1]);
    if (!dados.erro.empty()) return recusa_pratica(dados.erro);
    Entrega entrega;
    std::string matricula;
    if (aluno) {
        const Normalizado m = normaliza_matricula(*aluno);
        if (!m.texto) return recusa_pratica(m.erro);
        matricula = *m.texto;
        entrega.arquivo = matricula + "-" + dados.codigo + ".jsonl";
    }

    Pratica p(metodo->numero, dados.n, dados.A, dados.b, digitos);
    const bool iterativo = metodo->numero >= 9;
    if (iterativo) p.parada(precisao, limite);
    if (metodo->numero == 8) {
        if (coluna < 1 || coluna > dados.n) return recusa_pratica("--coluna pede C, de 1 a N");
        p.coluna_da_inversa(coluna);
    }
    if (!entrega.arquivo.empty() && !acrescenta_registro_a(entrega.arquivo.c_str()))
        return recusa_pratica("o registro para entregar " + entrega.arquivo +
                              " nao pode ser aberto");
    if (abre_registro()) {
        inicia_evento("inicio");
        campo_texto("programa", "sislin-aula");
        campo_texto("comando", "pratica");
        campo_int("formato", 1);
        campo_int("metodo", metodo->numero);
        campo_texto("rotulo", metodo->rotulo);
        campo_int("n", dados.n);
        campo_int("digitos", digitos);
        if (dados.codigo.empty())
            campo_nulo("codigo");
        else
            campo_texto("codigo", dados.codigo.c_str());
        if (!entrega.arquivo.empty()) {
            campo_texto("aluno", matricula.c_str());
            char hora[32];
            if (hora_utc(hora, sizeof hora))
                campo_texto("hora", hora);
            else
                campo_nulo("hora");
        }
        if (iterativo) {
            campo_escalar("precisao", precisao);
            campo_int("limite", limite);
        }
        if (metodo->numero == 8) campo_int("coluna", coluna);
        // The one wait of a session, in words, as the program's record describes its own.
        abre_lista("esperas");
        abre_item();
        campo_texto("de", "passo");
        campo_texto("texto", "o valor pedido, ou d, m, a, u, h, s");
        fecha_objeto();
        fecha_lista();
        fecha_evento();
        std::vector<float*> linhas;
        std::vector<std::vector<float>> a(
            static_cast<std::size_t>(dados.n) + 1,
            std::vector<float>(static_cast<std::size_t>(dados.n) + 1));
        for (int i = 0; i <= dados.n; ++i) {
            for (int j = 1; j <= dados.n && i >= 1; ++j)
                a[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                    dados.A[(static_cast<std::size_t>(i) - 1) * static_cast<std::size_t>(dados.n) +
                            static_cast<std::size_t>(j) - 1];
            linhas.push_back(a[static_cast<std::size_t>(i)].data());
        }
        inicia_evento("dados");
        campo_int("n", dados.n);
        campo_matriz("A", linhas.data(), dados.n);
        campo_vetor("b", p.aluno().b0, dados.n);
        fecha_evento();
        registra_estado(p);
    }
    std::string cabecalho =
        "Pratica: " + std::string(metodo->rotulo) + ", n = " + std::to_string(dados.n) +
        ", respostas " +
        (digitos == 0 ? std::string("exatas (o float todo)")
                      : "a " + std::to_string(digitos) + " algarismos significativos") +
        "\n";
    if (!dados.codigo.empty()) cabecalho += "Codigo: " + dados.codigo + "\n";
    if (metodo->numero == 7) {
        cabecalho += "x (a solucao do programa, por Gauss com pivotacao parcial):";
        for (int i = 1; i <= dados.n; ++i) cabecalho += " " + texto_numero(p.aluno().x[i]);
        cabecalho += "\n";
    }
    if (metodo->numero == 8)
        cabecalho += "A fatorada por LU (como a opcao 3 a deixa); coluna " +
                     std::to_string(coluna) + " da inversa: L y = e, U x = y\n";
    if (iterativo)
        cabecalho += "De x = 0, precisao " + g(precisao) + ", ate " + std::to_string(limite) +
                     " iteracoes\n";
    escreve((cabecalho + kComandos + "A | b:\n").c_str());
    imprime_quadro(p, true);
    return sessao(p, entrega);
}

}  // namespace sislin::aula
