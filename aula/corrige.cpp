// sislin-aula corrige (corrige.h; docs/corrige.md).
#include "corrige.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "arquivos_aula.h"
#include "codigo.h"
#include "conversao.h"
#include "csv.h"
#include "gerador.h"
#include "json_leitura.h"
#include "registro.h"
#include "resposta.h"
#include "tarefa.h"
#include "turma.h"
#include "util.h"

namespace sislin::aula {

namespace {

// The practice's own settings of an assignment: the iterative methods' precision and limit, the
// inverse's column.
constexpr float kPrecisaoPadrao = 1e-4f;
constexpr int kLimitePadrao = 25;
constexpr std::size_t kMaiorResposta = 200;  // the console keeps this much of a line

constexpr const char* kNomesAlertas[kNumeroAlertas] = {
    "nao-e-registro",
    "cortado",
    "incompleto",
    "sem-matricula",
    "codigo-de-outra-matricula",
    "sistema-diferente",
    "editado",
    "duplicado",
    "matricula-repetida",
    "digitos-diferentes",
    "parametros-diferentes",
    "metodo-fora-da-tarefa",
    "repetido",
};

// ---- The record's lines as the console writes them (registro.h's writer, into a string).

std::string escalar(float v) {
    if (std::isnan(v) || std::isinf(v)) return "\"" + texto_numero(v) + "\"";
    return texto_numero(v);
}

class Evento {
public:
    explicit Evento(const char* evento) : t_(R"({"evento":)" + texto_json(evento)) {}
    Evento& texto(const char* nome, const std::string& v) { return poe(nome, texto_json(v)); }
    Evento& inteiro(const char* nome, long long v) { return poe(nome, std::to_string(v)); }
    Evento& nulo(const char* nome) { return poe(nome, "null"); }
    Evento& numero(const char* nome, float v) { return poe(nome, escalar(v)); }
    Evento& vetor(const char* nome, const float* v, int n) { return poe(nome, sequencia(v, n)); }
    Evento& indices(const char* nome, const int* v, int n) {
        std::string s = "[";
        for (int i = 1; i <= n; ++i) {
            if (i > 1) s += ',';
            s += std::to_string(v[i]);
        }
        return poe(nome, s + "]");
    }
    template <typename Linhas>
    Evento& matriz(const char* nome, const Linhas& m, int n) {
        std::string s = "[";
        for (int i = 1; i <= n; ++i) {
            if (i > 1) s += ',';
            s += sequencia(m[static_cast<std::size_t>(i)], n);
        }
        return poe(nome, s + "]");
    }
    Evento& bruto(const char* nome, const std::string& json) { return poe(nome, json); }
    std::string fecha() const { return t_ + "}"; }

private:
    static std::string sequencia(const float* v, int n) {
        std::string s = "[";
        for (int i = 1; i <= n; ++i) {
            if (i > 1) s += ',';
            s += escalar(v[i]);
        }
        return s + "]";
    }
    Evento& poe(const char* nome, const std::string& valor) {
        t_ += "," + texto_json(nome) + ":" + valor;
        return *this;
    }
    std::string t_;
};

// The estado event, as the console's registra_estado writes it.
std::string linha_estado(const Pratica& p) {
    const Quadro& q = p.aluno();
    const int n = p.n();
    const int metodo = p.metodo();
    float A[kMaiorPratica + 1][kMaiorPratica + 1] = {};
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) A[i][j] = p.eliminado(i, j) ? 0.0f : q.A[i][j];
    Evento e("estado");
    e.inteiro("passo", p.passo() - 1).matriz("A", A, n);
    if (metodo == 1 || metodo == 2 || metodo == 5 || metodo >= 7 || (metodo == 4 && p.concluida()))
        e.vetor("b", q.b, n);
    if (metodo == 1 || metodo == 2) e.matriz("m", q.m, n);
    if (metodo == 4) {
        e.indices("pos", q.pos, n);
        if (p.concluida()) e.numero("det", q.det);
    }
    if (metodo == 5 || metodo == 6 || metodo == 8) e.vetor("y", q.y, n);
    if (metodo != 3 && metodo != 4 && metodo != 5 && metodo != 8) e.vetor("x", q.x, n);
    if (metodo == 7) e.vetor("r", q.r, n).numero("Erro", q.erro);
    if (metodo == 8) {
        float inv[kMaiorPratica + 1][kMaiorPratica + 1] = {};
        for (int i = 0; i <= n; ++i) inv[i][q.coluna] = q.x[i];
        e.matriz("Inv", inv, n);
    }
    if (metodo >= 9) e.numero("Erro", q.erro).inteiro("k", q.k);
    return e.fecha();
}

std::string linha_pergunta(const Pratica& p, const Pergunta& q) {
    Evento e("pergunta");
    e.inteiro("passo", p.passo()).texto("nome", q.nome).texto("onde", nome_onde(q.onde));
    e.inteiro("linha", q.linha);
    if (q.coluna > 0) e.inteiro("coluna", q.coluna);
    return e.texto("formula", q.formula).fecha();
}

std::string linha_resumo(const Resumo& r) {
    return Evento("resumo")
        .inteiro("passos", r.passos)
        .inteiro("certos_de_primeira", r.certos_de_primeira)
        .inteiro("dicas", r.dicas)
        .inteiro("mostrados", r.mostrados)
        .inteiro("aceitos", r.aceitos)
        .inteiro("nota", r.nota)
        .fecha();
}

std::string linha_fim(int status, const char* causa) {
    return Evento("fim").inteiro("status", status).texto("causa", causa).fecha();
}

std::string linha_rejeitada(const std::string& motivo) {
    return Evento("rejeitada").texto("de", "passo").texto("motivo", motivo).fecha();
}

// ---- A session's settings and system.

struct Parametros {
    int metodo = 0;
    int n = 0;
    int digitos = 4;
    std::optional<Exercicio> exercicio;  // nullopt: codigo null (a7.txt and b7.txt)
    float precisao = kPrecisaoPadrao;
    int limite = kLimitePadrao;
    int coluna = 1;
    std::string aluno;  // empty: no "aluno"
};

std::string linha_inicio(const Parametros& s) {
    const MetodoPratica& m = metodos_pratica()[s.metodo - 1];
    Evento e("inicio");
    e.texto("programa", "sislin-aula").texto("comando", "pratica").inteiro("formato", 1);
    e.inteiro("metodo", s.metodo).texto("rotulo", m.rotulo).inteiro("n", s.n);
    e.inteiro("digitos", s.digitos);
    if (s.exercicio)
        e.texto("codigo", escreve_codigo(*s.exercicio));
    else
        e.nulo("codigo");
    if (s.metodo >= 9) e.numero("precisao", s.precisao).inteiro("limite", s.limite);
    if (s.metodo == 8) e.inteiro("coluna", s.coluna);
    e.bruto("esperas", R"([{"de":"passo","texto":"o valor pedido, ou d, m, a, u, h, s"}])");
    return e.fecha();
}

std::string linha_dados(int n, const std::vector<float>& A, const std::vector<float>& b) {
    std::vector<std::vector<float>> a(static_cast<std::size_t>(n) + 1,
                                      std::vector<float>(static_cast<std::size_t>(n) + 1));
    std::vector<const float*> linhas(static_cast<std::size_t>(n) + 1);
    std::vector<float> v(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const auto iu = static_cast<std::size_t>(i);
        for (int j = 1; j <= n; ++j)
            a[iu][static_cast<std::size_t>(j)] =
                A[(iu - 1) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j) - 1];
        v[iu] = b[iu - 1];
    }
    for (std::size_t i = 0; i < a.size(); ++i) linhas[i] = a[i].data();
    return Evento("dados").inteiro("n", n).matriz("A", linhas, n).vetor("b", v.data(), n).fecha();
}

// ---- The replay.

// How the inputs taken from a session end.
enum class FimDasEntradas : std::uint8_t {
    Nenhum,   // the inputs run out with the method completed
    Entrada,  // the input ended (fim-da-entrada)
    Corte,    // the record stops there (cut, or a signal, an error): nothing more is known
};

struct Reproducao {
    std::vector<std::string> linhas;  // the record the console would write
    bool concluida = false;
    Resumo resumo;
    std::vector<std::string> enganos;  // the named mistakes, one per wrong reply
};

// The line as the console keeps it: at most kMaiorResposta characters, blanks at the ends
// dropped (le_linha in pratica_console.cpp).
std::string como_lida(std::string t) {
    if (t.size() > kMaiorResposta) t.resize(kMaiorResposta);
    while (!t.empty() && conversao::espaco(static_cast<unsigned char>(t.back()))) t.pop_back();
    std::size_t i = 0;
    while (i < t.size() && conversao::espaco(static_cast<unsigned char>(t[i]))) ++i;
    return t.substr(i);
}

// The console's session (sessao in pratica_console.cpp) on the inputs, writing its record.
Reproducao reproduz(Pratica& p, const std::vector<std::string>& entradas, FimDasEntradas fim) {
    Reproducao r;
    const std::string espera = R"({"evento":"espera","de":"passo"})";
    const auto termina = [&](int status, const char* causa) {
        r.resumo = p.resumo();
        r.linhas.push_back(linha_resumo(r.resumo));
        r.linhas.push_back(linha_fim(status, causa));
    };
    const auto resposta = [&](const Conferencia& c, int passo, const std::string& t) {
        Evento e("resposta");
        e.inteiro("passo", passo).texto("texto", t).numero("valor", c.valor);
        e.numero("esperado", c.esperado).numero("programa", c.programa);
        e.texto("marca", c.marca == Marca::Certo ? "certo" : "errado");
        if (c.engano != nullptr) {
            e.texto("engano", c.engano);
            r.enganos.emplace_back(c.engano);
        } else {
            e.nulo("engano");
        }
        r.linhas.push_back(
            e.texto("explicacao", c.explicacao).inteiro("tentativa", c.tentativa).fecha());
    };
    r.linhas.push_back(linha_estado(p));
    bool perguntar = true;
    std::size_t proxima = 0;
    while (!p.concluida()) {
        const Pergunta q = p.pergunta();
        if (perguntar) {
            r.linhas.push_back(linha_pergunta(p, q));
            perguntar = false;
        }
        r.linhas.push_back(espera);
        if (proxima == entradas.size()) {
            if (fim == FimDasEntradas::Corte) {
                r.resumo = p.resumo();
                return r;
            }
            r.linhas.push_back(R"({"evento":"fim-da-entrada","de":"passo"})");
            termina(1, "fim-da-entrada");
            return r;
        }
        const std::string t = como_lida(entradas[proxima++]);
        const int passo = p.passo();
        const Resposta l = le_resposta(t, q.decisao);
        switch (l.acao) {
            case Acao::Sair:
                termina(0, "sair");
                return r;
            case Acao::NemSimNemNao:
            case Acao::Recusa:
                r.linhas.push_back(linha_rejeitada(l.motivo));
                break;
            case Acao::Decide:
            case Acao::Numero: {
                const Conferencia c = p.confere(l.valor);
                resposta(c, passo, t);
                if (c.marca == Marca::Certo) {
                    r.linhas.push_back(linha_estado(p));
                    perguntar = true;
                }
                break;
            }
            case Acao::Dica:
                r.linhas.push_back(
                    Evento("dica").inteiro("passo", passo).texto("texto", p.dica()).fecha());
                break;
            case Acao::Mostra: {
                const float v = p.mostra();
                r.linhas.push_back(
                    Evento("mostra").inteiro("passo", passo).numero("valor", v).fecha());
                r.linhas.push_back(linha_estado(p));
                perguntar = true;
                break;
            }
            case Acao::Aceita: {
                const std::optional<float> v = p.aceita();
                if (!v) {
                    r.linhas.push_back(linha_rejeitada(kNadaAAceitar));
                    break;
                }
                r.linhas.push_back(
                    Evento("aceita").inteiro("passo", passo).numero("valor", *v).fecha());
                r.linhas.push_back(linha_estado(p));
                perguntar = true;
                break;
            }
            case Acao::Historico:  // the history is only printed
                break;
            case Acao::Desfaz: {
                const int feitos = p.desfaz(l.passos);
                if (feitos == 0) {
                    r.linhas.push_back(linha_rejeitada(kNadaADesfazer));
                    break;
                }
                r.linhas.push_back(Evento("desfaz")
                                       .inteiro("passos", feitos)
                                       .inteiro("volta_a", p.passo())
                                       .fecha());
                r.linhas.push_back(linha_estado(p));
                perguntar = true;
                break;
            }
        }
    }
    r.concluida = true;
    termina(0, "concluido");
    return r;
}

// The lines the student typed, read back from the events after each wait (an "espera"): the
// reply, d, m, a, "u N", the refused line, sair; "h" leaves no event of its own.
struct Entradas {
    std::vector<std::string> linhas;
    FimDasEntradas fim = FimDasEntradas::Nenhum;
    bool algum_numero = false;  // some reply with a number (for the duplicates)
};

std::string texto_de(const ValorJson* v) {
    if (v == nullptr) return "\x01";  // never typed: the replay then disagrees
    return v->e_texto() ? v->texto : json_compacto(*v);
}

Entradas entradas_de(const std::vector<ValorJson>& eventos) {
    Entradas r;
    for (std::size_t k = 0; k < eventos.size(); ++k) {
        if (texto_de(eventos[k].membro("evento")) != "espera") continue;
        if (k + 1 == eventos.size()) {
            r.fim = FimDasEntradas::Corte;
            return r;
        }
        const ValorJson& e = eventos[k + 1];
        const std::string evento = texto_de(e.membro("evento"));
        if (evento == "resposta") {
            const std::string t = texto_de(e.membro("texto"));
            r.algum_numero = r.algum_numero || numero(t).has_value();
            r.linhas.push_back(t);
        } else if (evento == "dica") {
            r.linhas.emplace_back("d");
        } else if (evento == "mostra") {
            r.linhas.emplace_back("m");
        } else if (evento == "aceita") {
            r.linhas.emplace_back("a");
        } else if (evento == "desfaz") {
            r.linhas.push_back("u " + texto_de(e.membro("passos")));
        } else if (evento == "rejeitada") {
            const std::string motivo = texto_de(e.membro("motivo"));
            static const std::string kNumero = "nao e um numero nem um comando: ";
            static const std::string kDecisao = "responda sim ou nao: ";
            if (motivo == "resposta vazia")
                r.linhas.emplace_back("");
            else if (motivo.rfind(kNumero, 0) == 0)
                r.linhas.push_back(motivo.substr(kNumero.size()));
            else if (motivo.rfind(kDecisao, 0) == 0)
                r.linhas.push_back(motivo.substr(kDecisao.size()));
            else if (motivo.rfind("nada a aceitar", 0) == 0)
                r.linhas.emplace_back("a");
            else if (motivo == "nada a desfazer")
                r.linhas.emplace_back("u");
            else
                r.linhas.push_back(motivo);
        } else if (evento == "resumo") {
            r.linhas.emplace_back("sair");
            return r;
        } else if (evento == "fim-da-entrada") {
            r.fim = FimDasEntradas::Entrada;
            return r;
        } else if (evento == "fim" || evento == "erro") {
            r.fim = FimDasEntradas::Corte;
            return r;
        } else {
            r.linhas.emplace_back("h");
        }
    }
    // No more waits: the replay ends by itself when the method was completed; otherwise the
    // record stops here.
    r.fim = FimDasEntradas::Corte;
    return r;
}

// ---- A file: its lines, its sessions.

struct Sessao {
    int linha = 0;  // the line of its inicio
    std::vector<ValorJson> eventos;
    std::vector<int> linhas;  // each event's line
    bool fechada = false;     // ends with its fim
    bool cortada = false;     // a line that is not JSON, or no fim
};

struct ResultadoSessao {
    bool valida = false;  // its inicio could be replayed
    Parametros parametros;
    bool concluida = false;
    Resumo resumo;
    std::vector<std::string> enganos;
    std::optional<long long> segundos;
    bool editado = false;
    bool sistema_diferente = false;
    bool cortada = false;
    std::string impressao;  // the method and the inputs, for the duplicates
    bool algum_numero = false;
};

class Arquivo {
public:
    Arquivo(const std::string& nome, std::size_t ordem, std::vector<Aviso>& avisos)
        : nome_(nome), ordem_(ordem), avisos_(avisos) {}
    void aviso(int linha, const std::string& texto, bool recusa = false) {
        avisos_.push_back({nome_, linha, texto, recusa, ordem_});
    }
    const std::string& nome() const { return nome_; }

private:
    std::string nome_;
    std::size_t ordem_;
    std::vector<Aviso>& avisos_;
};

bool e_inicio_de_pratica(const ValorJson& v) {
    return texto_de(v.membro("evento")) == "inicio" &&
           texto_de(v.membro("programa")) == "sislin-aula" &&
           texto_de(v.membro("comando")) == "pratica";
}

// The sessions of a file; stray lines are said and make the file edited.
std::vector<Sessao> sessoes_de(std::string_view conteudo, Arquivo& arq, bool& editado) {
    std::vector<Sessao> r;
    Sessao* aberta = nullptr;
    bool ignorando = false;  // the rest of a session cut by a line that is not JSON
    int numero_linha = 0;
    std::size_t inicio = 0;
    while (inicio < conteudo.size()) {
        std::size_t fim = conteudo.find('\n', inicio);
        if (fim == std::string::npos) fim = conteudo.size();
        std::string linha(conteudo.substr(inicio, fim - inicio));
        inicio = fim + 1;
        ++numero_linha;
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        if (linha.find_first_not_of(" \t") == std::string::npos) continue;
        LeituraJson l = le_json(linha);
        if (!l.valor || l.valor->tipo != ValorJson::Tipo::Objeto ||
            l.valor->membro("evento") == nullptr || !l.valor->membro("evento")->e_texto()) {
            // One message, then the lines up to the next inicio are passed over.
            if (ignorando) continue;
            std::string motivo = l.valor ? "nao e um evento de registro" : "nao e JSON: " + l.erro;
            if (aberta != nullptr) {
                motivo += "; a sessao da linha " + std::to_string(aberta->linha) + " para aqui";
                aberta->cortada = true;
                aberta = nullptr;
            } else {
                editado = true;
            }
            arq.aviso(numero_linha, motivo);
            ignorando = true;
            continue;
        }
        ValorJson& v = *l.valor;
        if (texto_de(v.membro("evento")) == "inicio") {
            if (aberta != nullptr) {
                aberta->cortada = true;
                arq.aviso(aberta->linha, "sessao sem o seu fim (cortada)");
            }
            ignorando = false;
            aberta = nullptr;
            if (!e_inicio_de_pratica(v)) {
                arq.aviso(numero_linha, "inicio que nao e de sislin-aula pratica");
                ignorando = true;
                continue;
            }
            r.push_back({});
            aberta = &r.back();
            aberta->linha = numero_linha;
        } else if (aberta == nullptr) {
            if (!ignorando) {
                arq.aviso(numero_linha, "linha fora de uma sessao");
                editado = true;
                ignorando = true;
            }
            continue;
        }
        aberta->eventos.push_back(std::move(v));
        aberta->linhas.push_back(numero_linha);
        if (texto_de(aberta->eventos.back().membro("evento")) == "fim") {
            aberta->fechada = true;
            aberta = nullptr;
        }
    }
    if (aberta != nullptr) {
        aberta->cortada = true;
        arq.aviso(aberta->linha, "sessao sem o seu fim (cortada)");
    }
    return r;
}

std::optional<float> numero_json(const ValorJson* v) {
    if (v == nullptr || v->tipo != ValorJson::Tipo::Numero) return std::nullopt;
    return numero(v->texto);
}

// The inicio's settings; nullopt (with the reason) when the console could not have written it.
std::optional<Parametros> parametros_de(const ValorJson& inicio, std::string& erro) {
    Parametros s;
    const auto inteiro = [&](const char* nome, int minimo, int maximo) -> std::optional<int> {
        const ValorJson* v = inicio.membro(nome);
        const std::optional<int> i = v != nullptr ? v->inteiro() : std::nullopt;
        if (!i || *i < minimo || *i > maximo) {
            erro = std::string("inicio com \"") + nome + "\" invalido";
            return std::nullopt;
        }
        return i;
    };
    const std::optional<int> metodo = inteiro("metodo", 1, kNumeroMetodos);
    const std::optional<int> n = metodo ? inteiro("n", 1, kMaiorPratica) : std::nullopt;
    const std::optional<int> digitos = n ? inteiro("digitos", 0, 9) : std::nullopt;
    if (!digitos) return std::nullopt;
    s.metodo = *metodo;
    s.n = *n;
    s.digitos = *digitos;
    const ValorJson* codigo = inicio.membro("codigo");
    if (codigo != nullptr && codigo->e_texto()) {
        const LeituraCodigo l = le_codigo(codigo->texto);
        if (!l.exercicio || l.exercicio->n > kMaiorPratica) {
            erro = "inicio com um codigo invalido: " + codigo->texto;
            return std::nullopt;
        }
        s.exercicio = l.exercicio;
        s.n = l.exercicio->n;
    }
    if (s.metodo >= 9) {
        const std::optional<float> precisao = numero_json(inicio.membro("precisao"));
        const std::optional<int> limite = inteiro("limite", 1, kMaiorVarredura);
        if (!precisao || !(*precisao > 0.0f) || !limite) {
            erro = "inicio com \"precisao\" ou \"limite\" invalido";
            return std::nullopt;
        }
        s.precisao = *precisao;
        s.limite = *limite;
    }
    if (s.metodo == 8) {
        const std::optional<int> coluna = inteiro("coluna", 1, s.n);
        if (!coluna) return std::nullopt;
        s.coluna = *coluna;
    }
    if (const ValorJson* a = inicio.membro("aluno"); a != nullptr && a->e_texto())
        s.aluno = a->texto;
    return s;
}

// The file's event as compared with the replay's: without the members of an assignment's
// session that no replay can know (the student's id and the clock's hour in inicio, the
// seconds in fim), which are read apart.
std::string como_comparada(const ValorJson& v) {
    const std::string evento = texto_de(v.membro("evento"));
    if (evento != "inicio" && evento != "fim") return json_compacto(v);
    ValorJson c = v;
    c.nomes.clear();
    c.itens.clear();
    for (std::size_t k = 0; k < v.nomes.size(); ++k) {
        const std::string& nome = v.nomes[k];
        const bool fora =
            evento == "inicio" ? nome == "aluno" || nome == "hora" : nome == "segundos";
        if (fora) continue;
        c.nomes.push_back(nome);
        c.itens.push_back(v.itens[k]);
    }
    return json_compacto(c);
}

// The system of a session: from its code, or (no code) the file's dados.
bool sistema_de(const Parametros& s, const Sessao& sessao, std::vector<float>& A,
                std::vector<float>& b) {
    if (s.exercicio) {
        const Sistema g = gera(*s.exercicio);
        for (const auto& linha : g.a)
            for (const auto v : linha) A.push_back(static_cast<float>(v));
        for (const auto v : g.b) b.push_back(static_cast<float>(v));
        return true;
    }
    if (sessao.eventos.size() < 2) return false;
    const ValorJson& d = sessao.eventos[1];
    const ValorJson* a = d.membro("A");
    const ValorJson* bb = d.membro("b");
    const auto n = static_cast<std::size_t>(s.n);
    if (a == nullptr || bb == nullptr || a->itens.size() != n || bb->itens.size() != n)
        return false;
    for (const ValorJson& linha : a->itens) {
        if (linha.itens.size() != n) return false;
        for (const ValorJson& v : linha.itens) {
            const std::optional<float> f = numero_json(&v);
            if (!f) return false;
            A.push_back(*f);
        }
    }
    for (const ValorJson& v : bb->itens) {
        const std::optional<float> f = numero_json(&v);
        if (!f) return false;
        b.push_back(*f);
    }
    return true;
}

// What the file's event has that the replay's does not: the first member that differs.
std::string curto(const std::string& t) {
    constexpr std::size_t kMaior = 40;
    return t.size() <= kMaior ? t : t.substr(0, kMaior) + "...";
}

std::string diferenca(const ValorJson& arquivo, const std::string& esperada) {
    const std::optional<ValorJson> e = le_json(esperada).valor;
    const std::string evento = texto_de(arquivo.membro("evento"));
    const std::string devido = texto_de(e->membro("evento"));
    if (evento != devido) return "o programa gravaria aqui o evento " + devido + ", nao " + evento;
    for (std::size_t k = 0; k < e->nomes.size(); ++k) {
        const ValorJson* f = arquivo.membro(e->nomes[k]);
        const std::string certo = json_compacto(e->itens[k]);
        if (f == nullptr) return evento + " sem \"" + e->nomes[k] + "\" (" + curto(certo) + ")";
        const std::string lido = json_compacto(*f);
        if (lido != certo)
            return evento + " com \"" + e->nomes[k] + "\" " + curto(lido) + "; o programa grava " +
                   curto(certo);
    }
    for (const std::string& nome : arquivo.nomes) {
        if (e->membro(nome) != nullptr) continue;
        std::string t = evento;
        t += " com \"";
        t += nome;
        t += "\", que o programa nao grava";
        return t;
    }
    return evento + " difere do que o programa gravaria";
}

ResultadoSessao corrige_sessao(const Sessao& sessao, Arquivo& arq) {
    ResultadoSessao r;
    r.cortada = sessao.cortada;
    std::string erro;
    const std::optional<Parametros> s = parametros_de(sessao.eventos[0], erro);
    std::vector<float> A;
    std::vector<float> b;
    if (!s || !sistema_de(*s, sessao, A, b)) {
        arq.aviso(sessao.linha, s ? "dados invalidos numa sessao sem codigo" : erro);
        r.editado = true;
        return r;
    }
    r.valida = true;
    r.parametros = *s;
    r.sistema_diferente = !s->exercicio;
    Pratica p(s->metodo, s->n, A, b, s->digitos);
    if (s->metodo >= 9) p.parada(s->precisao, s->limite);
    if (s->metodo == 8) p.coluna_da_inversa(s->coluna);
    const Entradas entradas = entradas_de(sessao.eventos);
    const Reproducao rep = reproduz(p, entradas.linhas, entradas.fim);
    r.resumo = rep.resumo;
    r.enganos = rep.enganos;
    r.algum_numero = entradas.algum_numero;
    r.impressao = std::to_string(s->metodo);
    for (const std::string& t : entradas.linhas) r.impressao += "\n" + t;
    if (const ValorJson* seg = sessao.eventos.back().membro("segundos"); seg != nullptr) {
        const std::optional<int> v = seg->inteiro();
        if (v && *v >= 0)
            r.segundos = *v;
        else
            r.editado = true;
    }

    // The record the console would have written against the file's.
    std::vector<std::string> esperadas = {linha_inicio(*s), linha_dados(s->n, A, b)};
    esperadas.insert(esperadas.end(), rep.linhas.begin(), rep.linhas.end());
    std::size_t comparadas = sessao.eventos.size();
    bool parcial = !sessao.fechada;  // cut: the file holds a beginning of the record
    if (sessao.fechada) {
        // A run ended by a signal or an error: its fim (and the error) stand for the rest.
        const ValorJson& ultimo = sessao.eventos.back();
        const std::string causa = texto_de(ultimo.membro("causa"));
        if (causa == "sinal" || causa == "erro" || causa == "saida") {
            parcial = true;
            --comparadas;
            if (comparadas > 0 &&
                texto_de(sessao.eventos[comparadas - 1].membro("evento")) == "erro")
                --comparadas;
        }
    }
    // Completed: the replay came to the method's end and the file holds its whole record.
    r.concluida = rep.concluida && !parcial;
    for (std::size_t k = 0; k < comparadas || (!parcial && k < esperadas.size()); ++k) {
        const bool ha_no_arquivo = k < comparadas;
        const bool ha_na_reproducao = k < esperadas.size();
        if (ha_no_arquivo && ha_na_reproducao && como_comparada(sessao.eventos[k]) == esperadas[k])
            continue;
        if (k == 1 && ha_no_arquivo && ha_na_reproducao && s->exercicio) {
            r.sistema_diferente = true;
            arq.aviso(sessao.linhas[1],
                      "os dados nao sao o sistema do codigo " + escreve_codigo(*s->exercicio));
            continue;
        }
        r.editado = true;
        const int linha = ha_no_arquivo ? sessao.linhas[k] : sessao.linhas.back();
        if (!ha_no_arquivo)
            arq.aviso(linha, "o registro termina antes do que o programa gravaria: " +
                                 esperadas[k].substr(0, 60));
        else if (!ha_na_reproducao)
            arq.aviso(linha, "linha a mais: o programa nao a gravaria");
        else
            arq.aviso(linha, diferenca(sessao.eventos[k], esperadas[k]));
        break;
    }
    return r;
}

// The student's id in a hand-in file's name, ID-CODIGO.jsonl (empty when the name is not so).
std::string matricula_do_nome(const std::string& caminho) {
    std::string nome = caminho.substr(caminho.find_last_of("/\\") + 1);
    const std::string ext = ".jsonl";
    if (nome.size() > ext.size() && nome.compare(nome.size() - ext.size(), ext.size(), ext) == 0)
        nome.resize(nome.size() - ext.size());
    constexpr std::size_t kCodigo = 11;  // "D04-AWYXSTS"
    if (nome.size() < kCodigo + 2 || nome[nome.size() - kCodigo - 1] != '-') return "";
    if (!le_codigo(nome.substr(nome.size() - kCodigo)).exercicio) return "";
    const Normalizado m = normaliza_matricula(nome.substr(0, nome.size() - kCodigo - 1));
    return m.texto.value_or("");
}

struct Arquivado {
    LinhaCorrecao linha;
    std::vector<ResultadoSessao> sessoes;
    std::string impressao;
    bool algum_numero = false;
};

void marca(LinhaCorrecao& l, Alerta a) {
    l.alertas[static_cast<std::size_t>(a)] = true;
}

Arquivado corrige_arquivo(const OpcoesCorrecao& op, const Entrega& e, std::size_t ordem,
                          std::vector<Aviso>& avisos) {
    Arquivado r;
    LinhaCorrecao& l = r.linha;
    l.arquivo = e.nome;
    Arquivo arq(e.nome, ordem, avisos);
    if (!e.conteudo) {
        arq.aviso(0, "nao pode ser lido", true);
        marca(l, Alerta::NaoERegistro);
        return r;
    }
    bool editado = false;
    std::string_view conteudo = *e.conteudo;
    // A byte order mark: the file was saved again by an editor (the program writes none).
    if (conteudo.substr(0, 3) == "\xEF\xBB\xBF") {
        arq.aviso(1, "marca de ordem de bytes (BOM) no inicio: o arquivo foi salvo por um editor");
        editado = true;
        conteudo.remove_prefix(3);
    }
    const std::vector<Sessao> sessoes = sessoes_de(conteudo, arq, editado);
    if (sessoes.empty()) {
        arq.aviso(0,
                  e.conteudo->empty()
                      ? "arquivo vazio: nao e um registro de pratica"
                      : "nao e um registro de pratica (nenhum inicio de sislin-aula pratica)",
                  true);
        marca(l, Alerta::NaoERegistro);
        return r;
    }
    l.corrigido = true;
    if (editado) marca(l, Alerta::Editado);
    for (const Sessao& s : sessoes) r.sessoes.push_back(corrige_sessao(s, arq));

    // The student: the records' id, else the one in the file's name.
    for (const ResultadoSessao& s : r.sessoes) {
        if (s.parametros.aluno.empty()) continue;
        // The console writes the id normalised.
        if (normaliza_matricula(s.parametros.aluno).texto != s.parametros.aluno) {
            arq.aviso(0, "matricula que o programa nao grava assim: " + s.parametros.aluno);
            marca(l, Alerta::Editado);
        }
        if (l.matricula.empty()) {
            l.matricula = s.parametros.aluno;
        } else if (l.matricula != s.parametros.aluno) {
            arq.aviso(
                0, "sessoes de matriculas diferentes: " + l.matricula + " e " + s.parametros.aluno);
            marca(l, Alerta::Editado);
        }
    }
    std::string matricula = l.matricula;
    if (l.matricula.empty() || std::any_of(r.sessoes.begin(), r.sessoes.end(), [](const auto& s) {
            return s.valida && s.parametros.aluno.empty();
        }))
        marca(l, Alerta::SemMatricula);
    if (matricula.empty()) matricula = l.matricula = matricula_do_nome(e.nome);

    std::map<int, std::vector<const ResultadoSessao*>> por_metodo;
    for (const ResultadoSessao& s : r.sessoes) {
        if (s.editado) marca(l, Alerta::Editado);
        if (s.cortada) marca(l, Alerta::Cortado);
        if (!s.valida) continue;
        const Parametros& p = s.parametros;
        if (s.sistema_diferente) marca(l, Alerta::SistemaDiferente);
        if (p.exercicio) {
            const std::string codigo = escreve_codigo(*p.exercicio);
            if (l.codigo.empty()) l.codigo = codigo;
            const std::optional<Exercicio> devido =
                matricula.empty()
                    ? std::nullopt
                    : exercicio_da_turma(op.chave, matricula, p.exercicio->tipo, p.exercicio->n);
            if (!matricula.empty() && (!devido || escreve_codigo(*devido) != codigo))
                marca(l, Alerta::CodigoDeOutraMatricula);
        }
        if (op.digitos && p.digitos != *op.digitos) marca(l, Alerta::DigitosDiferentes);
        if ((p.metodo >= 9 && (p.precisao != kPrecisaoPadrao || p.limite != kLimitePadrao)) ||
            (p.metodo == 8 && p.coluna != 1))
            marca(l, Alerta::ParametrosDiferentes);
        if (!op.metodos.empty() &&
            std::find(op.metodos.begin(), op.metodos.end(), p.metodo) == op.metodos.end())
            marca(l, Alerta::MetodoForaDaTarefa);
        por_metodo[p.metodo].push_back(&s);
        if (s.segundos) l.segundos = l.segundos.value_or(0) + *s.segundos;
        r.impressao += "\x1e" + s.impressao;
        r.algum_numero = r.algum_numero || s.algum_numero;
    }

    std::map<std::string, int> enganos;
    for (const auto& [metodo, lista] : por_metodo) {
        const ResultadoSessao* contada = nullptr;
        for (const ResultadoSessao* s : lista)
            if (s->concluida) {
                contada = s;
                break;
            }
        if (contada == nullptr)
            for (const ResultadoSessao* s : lista)
                if (contada == nullptr || s->resumo.passos > contada->resumo.passos) contada = s;
        if (lista.size() > 1) {
            marca(l, Alerta::Repetido);
            arq.aviso(0, std::to_string(lista.size()) + " sessoes de " +
                             metodos_pratica()[metodo - 1].nome + "; conta a " +
                             (contada->concluida ? "primeira concluida" : "de mais passos"));
        }
        NotaMetodo& m = l.metodos[static_cast<std::size_t>(metodo - 1)];
        m.presente = true;
        m.concluido = contada->concluida;
        m.resumo = contada->resumo;
        m.nota = m.concluido ? m.resumo.nota : 0;
        for (const std::string& id : contada->enganos) ++enganos[id];
    }
    for (const auto& [id, vezes] : enganos) l.enganos.emplace_back(id, vezes);
    std::stable_sort(l.enganos.begin(), l.enganos.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return r;
}

}  // namespace

const char* nome_alerta(Alerta a) {
    return kNomesAlertas[static_cast<int>(a)];
}

bool LinhaCorrecao::conferir() const {
    return std::any_of(alertas.begin(), alertas.end(), [](bool a) { return a; });
}

std::string LinhaCorrecao::situacao(int aprovacao) const {
    if (conferir()) return "conferir";
    return nota >= aprovacao ? "aprovado" : "reprovado";
}

Correcao corrige(const OpcoesCorrecao& op, const std::vector<Entrega>& entregas) {
    Correcao c;
    c.aprovacao = op.aprovacao;
    std::vector<Arquivado> arquivos;
    arquivos.reserve(entregas.size());
    for (std::size_t k = 0; k < entregas.size(); ++k)
        arquivos.push_back(corrige_arquivo(op, entregas[k], k, c.avisos));

    // The assignment's methods: the ones given, else every one a file holds.
    c.metodos = op.metodos;
    if (c.metodos.empty()) {
        for (int m = 1; m <= kNumeroMetodos; ++m)
            for (const Arquivado& a : arquivos)
                if (a.linha.metodos[static_cast<std::size_t>(m - 1)].presente) {
                    c.metodos.push_back(m);
                    break;
                }
    }
    std::sort(c.metodos.begin(), c.metodos.end());

    // The same bytes, the same inputs under another id, two files of one id.
    for (std::size_t i = 0; i < arquivos.size(); ++i) {
        LinhaCorrecao& a = arquivos[i].linha;
        if (!a.corrigido) continue;
        for (std::size_t j = 0; j < arquivos.size(); ++j) {
            const LinhaCorrecao& b = arquivos[j].linha;
            if (j == i || !b.corrigido) continue;
            const bool mesmos_bytes = *entregas[i].conteudo == *entregas[j].conteudo;
            const bool mesmas_entradas =
                arquivos[i].algum_numero && arquivos[i].impressao == arquivos[j].impressao;
            if (mesmos_bytes || mesmas_entradas) {
                marca(a, Alerta::Duplicado);
                c.avisos.push_back({a.arquivo, 0,
                                    std::string(mesmos_bytes ? "o mesmo conteudo de "
                                                             : "as mesmas respostas de ") +
                                        b.arquivo,
                                    false, i});
            }
            if (!a.matricula.empty() && a.matricula == b.matricula) {
                marca(a, Alerta::MatriculaRepetida);
                c.avisos.push_back({a.arquivo, 0,
                                    "a matricula " + a.matricula + " tambem em " + b.arquivo, false,
                                    i});
            }
        }
    }
    // The messages file by file, in the order the files were given.
    std::stable_sort(c.avisos.begin(), c.avisos.end(),
                     [](const Aviso& x, const Aviso& y) { return x.ordem < y.ordem; });

    for (Arquivado& a : arquivos) {
        LinhaCorrecao& l = a.linha;
        if (!l.corrigido) {
            c.linhas.push_back(std::move(l));
            continue;
        }
        int soma = 0;
        for (const int m : c.metodos) {
            const NotaMetodo& nm = l.metodos[static_cast<std::size_t>(m - 1)];
            if (!nm.presente || !nm.concluido) marca(l, Alerta::Incompleto);
            soma += nm.nota;
        }
        const auto k = static_cast<int>(c.metodos.size());
        l.nota = k == 0 ? 0 : (2 * soma + k) / (2 * k);  // the mean rounded, halves up
        c.linhas.push_back(std::move(l));
    }
    return c;
}

namespace {

std::string minutos(long long segundos) {
    const long long decimos = (segundos * 10 + 30) / 60;
    return std::to_string(decimos / 10) + "." + std::to_string(decimos % 10);
}

std::string texto_enganos(const LinhaCorrecao& l) {
    std::string t;
    for (const auto& [id, vezes] : l.enganos) {
        if (!t.empty()) t += "; ";
        t += id + " x" + std::to_string(vezes);
    }
    return t;
}

std::string texto_alertas(const LinhaCorrecao& l) {
    std::string t;
    for (int k = 0; k < kNumeroAlertas; ++k)
        if (l.alertas[static_cast<std::size_t>(k)]) {
            if (!t.empty()) t += ';';
            t += kNomesAlertas[k];
        }
    return t;
}

}  // namespace

std::string texto_csv(const Correcao& c) {
    std::vector<std::string> cab = {"arquivo", "matricula", "codigo"};
    for (const int m : c.metodos)
        for (const char* col : {"_passos", "_de_primeira", "_dicas", "_mostrados", "_nota"})
            cab.push_back(std::string(metodos_pratica()[m - 1].nome) + col);
    for (const char* col : {"nota", "situacao", "enganos", "minutos", "alertas"})
        cab.emplace_back(col);
    std::string t;
    const auto linha = [&t](const std::vector<std::string>& celulas) { t += linha_csv(celulas); };
    linha(cab);
    for (const LinhaCorrecao& l : c.linhas) {
        std::vector<std::string> v = {l.arquivo, l.matricula, l.codigo};
        for (const int m : c.metodos) {
            const NotaMetodo& nm = l.metodos[static_cast<std::size_t>(m - 1)];
            if (!nm.presente) {
                v.insert(v.end(), {"", "", "", "", l.corrigido ? "0" : ""});
                continue;
            }
            v.insert(v.end(),
                     {std::to_string(nm.resumo.passos),
                      std::to_string(nm.resumo.certos_de_primeira), std::to_string(nm.resumo.dicas),
                      std::to_string(nm.resumo.mostrados), std::to_string(nm.nota)});
        }
        v.push_back(l.corrigido ? std::to_string(l.nota) : "");
        v.push_back(l.situacao(c.aprovacao));
        v.push_back(texto_enganos(l));
        v.push_back(l.segundos ? minutos(*l.segundos) : "");
        v.push_back(texto_alertas(l));
        linha(v);
    }
    return t;
}

std::string texto_resumo(const Correcao& c) {
    int corrigidos = 0;
    int com_alertas = 0;
    int soma = 0;
    int aprovados = 0;
    int reprovados = 0;
    int pela_nota = 0;
    std::array<int, kNumeroAlertas> por_alerta{};
    std::map<std::string, std::pair<int, int>> enganos;  // id: times, students
    for (const LinhaCorrecao& l : c.linhas) {
        if (l.conferir()) ++com_alertas;
        for (int k = 0; k < kNumeroAlertas; ++k)
            por_alerta[static_cast<std::size_t>(k)] +=
                l.alertas[static_cast<std::size_t>(k)] ? 1 : 0;
        if (!l.corrigido) continue;
        ++corrigidos;
        soma += l.nota;
        pela_nota += l.nota >= c.aprovacao ? 1 : 0;
        const std::string s = l.situacao(c.aprovacao);
        aprovados += s == "aprovado" ? 1 : 0;
        reprovados += s == "reprovado" ? 1 : 0;
        for (const auto& [id, vezes] : l.enganos) {
            enganos[id].first += vezes;
            enganos[id].second += 1;
        }
    }
    std::string metodos;
    for (const int m : c.metodos) {
        if (!metodos.empty()) metodos += ", ";
        metodos += metodos_pratica()[m - 1].nome;
    }
    std::string t =
        "Metodos da tarefa: " + (metodos.empty() ? std::string("nenhum") : metodos) + "\n";
    t += "Arquivos lidos: " + std::to_string(c.linhas.size()) + "\n";
    t += "Corrigidos: " + std::to_string(corrigidos) + "\n";
    t += "Com alertas (situacao conferir): " + std::to_string(com_alertas) + "\n";
    for (int k = 0; k < kNumeroAlertas; ++k)
        if (por_alerta[static_cast<std::size_t>(k)] > 0)
            t += std::string("  ") + kNomesAlertas[k] + ": " +
                 std::to_string(por_alerta[static_cast<std::size_t>(k)]) + "\n";
    if (corrigidos > 0) {
        const long long decimos = (20LL * soma + corrigidos) / (2LL * corrigidos);
        t += "Nota media: " + std::to_string(decimos / 10) + "." + std::to_string(decimos % 10) +
             "\n";
    }
    t += "Aprovacao com nota " + std::to_string(c.aprovacao) + ": " + std::to_string(pela_nota) +
         " de " + std::to_string(corrigidos) + " corrigidos\n";
    t += "Situacao: " + std::to_string(aprovados) + " aprovados, " + std::to_string(reprovados) +
         " reprovados, " + std::to_string(com_alertas) + " a conferir\n";
    std::vector<std::pair<std::string, std::pair<int, int>>> lista(enganos.begin(), enganos.end());
    std::stable_sort(lista.begin(), lista.end(), [](const auto& a, const auto& b) {
        return a.second.first > b.second.first ||
               (a.second.first == b.second.first && a.second.second > b.second.second);
    });
    if (lista.empty()) {
        t += "Enganos mais frequentes: nenhum\n";
    } else {
        t += "Enganos mais frequentes:\n";
        for (std::size_t k = 0; k < lista.size() && k < 5; ++k)
            t += "  " + lista[k].first + ": " + std::to_string(lista[k].second.first) +
                 (lista[k].second.first == 1 ? " vez, " : " vezes, ") +
                 std::to_string(lista[k].second.second) +
                 (lista[k].second.second == 1 ? " aluno\n" : " alunos\n");
    }
    return t;
}

std::string texto_aviso(const Aviso& a) {
    return "sislin-aula: " + a.arquivo +
           (a.linha > 0 ? ", linha " + std::to_string(a.linha) : std::string()) + ": " + a.texto +
           "\n";
}

namespace {

int recusa_corrige(const std::string& motivo) {
    escreve_erro(("sislin-aula: " + motivo + "\n").c_str());
    return 1;
}

std::optional<std::string> le_tudo(const std::string& nome) {
    std::FILE* f = std::fopen(nome.c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    std::string t;
    char buf[1 << 14];
    std::size_t lidos = 0;
    while ((lidos = std::fread(buf, 1, sizeof buf, f)) > 0) t.append(buf, lidos);
    const bool erro = std::ferror(f) != 0;
    std::fclose(f);
    if (erro) return std::nullopt;
    return t;
}

}  // namespace

int comando_corrige(const std::vector<std::string>& palavras) {
    Ajustes ajustes;
    std::vector<std::string> args;
    std::string saida = "notas.csv";
    bool sobrescrever = false;
    for (std::size_t i = 0; i < palavras.size(); ++i) {
        std::string erro;
        switch (le_opcao_da_tarefa(palavras, i, ajustes, erro)) {
            case Opcao::Lida:
                continue;
            case Opcao::Recusada:
                return recusa_corrige(erro);
            case Opcao::Outra:
                break;
        }
        if (palavras[i] == "--sobrescrever") {
            sobrescrever = true;
        } else if (palavras[i] == "--saida") {
            if (i + 1 == palavras.size() || palavras[i + 1].empty())
                return recusa_corrige("--saida pede o nome do arquivo CSV");
            saida = palavras[++i];
        } else if (palavras[i].size() > 2 && palavras[i].rfind("--", 0) == 0) {
            return recusa_corrige("opcao desconhecida: " + palavras[i]);
        } else {
            args.push_back(palavras[i]);
        }
    }
    if (args.size() < 2) return recusa_corrige("corrige pede a CHAVE e ao menos um ARQUIVO");
    const Normalizado chave = normaliza_chave(args[0]);
    if (!chave.texto) return recusa_corrige(chave.erro);
    OpcoesCorrecao op;
    op.chave = args[0];
    op.digitos = ajustes.digitos;
    op.aprovacao = ajustes.aprovacao.value_or(kAprovacaoPadrao);
    if (ajustes.metodos)
        for (const std::string& m : *ajustes.metodos)
            op.metodos.push_back(metodo_pratica(m)->numero);
    for (std::size_t k = 1; k < args.size(); ++k)
        if (args[k] == saida)
            return recusa_corrige("o arquivo de notas " + saida + " esta entre os registros");
    // The CSV is refused before any work when it is there already.
    std::FILE* existente = std::fopen(saida.c_str(), "rb");
    if (existente != nullptr) std::fclose(existente);
    if (existente != nullptr && !sobrescrever)
        return recusa_corrige(saida + " ja existe; use --sobrescrever para substitui-lo");
    std::vector<Entrega> entregas;
    for (std::size_t k = 1; k < args.size(); ++k) entregas.push_back({args[k], le_tudo(args[k])});
    const Correcao c = corrige(op, entregas);
    bool recusado = false;
    for (const Aviso& a : c.avisos) {
        escreve_erro(texto_aviso(a).c_str());
        recusado = recusado || a.recusa;
    }
    const std::string erro = grava_arquivos({{saida, texto_csv(c)}}, sobrescrever);
    if (!erro.empty()) return recusa_corrige(erro);
    escreve((texto_resumo(c) + "Notas gravadas em " + saida + "\n").c_str());
    return recusado ? 1 : 0;
}

}  // namespace sislin::aula
