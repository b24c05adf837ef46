// sislin-aula, the teacher's companion of sislin: makes an exercise from a kind and a dimension
// or from its code (sislin-aula exercicio), and analyses the system of a7.txt and b7.txt
// (sislin-aula analise). Reports go to standard output; a refused request gets one message on
// standard error and exit status 1.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "analise.h"
#include "arquivos_aula.h"
#include "codigo.h"
#include "corrige.h"
#include "gerador.h"
#include "pratica.h"
#include "saida_json.h"
#include "tarefa.h"
#include "util.h"

namespace sislin::aula {

namespace {

constexpr int kMaiorAnalise = 500;

const char* const kUso =
    "Uso:\n"
    "  sislin-aula exercicio TIPO N [--sobrescrever] [--json]   novo exercicio do tipo e da "
    "dimensao\n"
    "  sislin-aula exercicio CODIGO [--sobrescrever] [--json]   o exercicio de um codigo, de novo\n"
    "  sislin-aula analise N [--json]                           analise de a7.txt e b7.txt\n"
    "  sislin-aula pratica METODO N|CODIGO [--digitos D|exato]  pratica de um metodo, passo a "
    "passo\n"
    "  sislin-aula pratica METODO CODIGO --aluno ID             pratica de uma tarefa "
    "(ID-CODIGO.jsonl)\n"
    "  sislin-aula turma CHAVE TIPO N LISTA.csv                 os codigos de uma turma "
    "(codigos.csv)\n"
    "  sislin-aula turma CHAVE TIPO N --aluno ID                o codigo de um aluno\n"
    "    turma: [--metodos M,M] [--digitos D|exato] [--aprovacao P] [--saida ARQ] "
    "[--sobrescrever]\n"
    "  sislin-aula corrige CHAVE ARQUIVO...                     as notas dos registros entregues "
    "(notas.csv)\n"
    "    corrige: [--metodos M,M] [--digitos D|exato] [--aprovacao P] [--saida ARQ] "
    "[--sobrescrever]\n"
    "  --json: o resultado (ou a recusa) num objeto JSON na saida padrao\n"
    "Tipos:\n";

std::string uso() {
    std::string t = kUso;
    for (int i = 0; i < kNumeroTipos; ++i) {
        const auto tipo = static_cast<Tipo>(i);
        t += std::string("  ") + letra_tipo(tipo) + "  " + descricao_tipo(tipo) + " (n de " +
             std::to_string(n_minimo(tipo)) + " a " + std::to_string(n_maximo(tipo)) + ")\n";
    }
    return t;
}

// The command's words after its name, without the options.
struct Argumentos {
    std::vector<std::string> args;
    bool sobrescrever = false;
    bool json = false;
};

Argumentos separa(const std::vector<std::string>& palavras) {
    Argumentos p;
    for (const std::string& a : palavras) {
        if (a == "--sobrescrever")
            p.sobrescrever = true;
        else if (a == "--json")
            p.json = true;
        else
            p.args.push_back(a);
    }
    return p;
}

// The message on standard error; with --json (comando named) also the refusal's JSON object on
// standard output.
int recusa(const std::string& motivo, const char* comando = nullptr) {
    escreve_erro(("sislin-aula: " + motivo + "\n").c_str());
    if (comando != nullptr)
        escreve((json_cabecalho(comando) + R"("erro":)" + texto_json(motivo) + "}\n").c_str());
    return 1;
}

// A seed for a new exercise: the system's random device mixed with the clock.
std::uint32_t semente_nova() {
    std::random_device dispositivo;
    const auto agora =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const std::uint64_t mistura = (std::uint64_t{dispositivo()} << 32U) ^ agora;
    return static_cast<std::uint32_t>(mistura % kSementes);
}

// The kinds' letters as a sentence lists them: "D, P, G, M, S e J".
std::string lista_tipos() {
    std::string t;
    for (int i = 0; i < kNumeroTipos; ++i) {
        if (i > 0) t += i + 1 < kNumeroTipos ? ", " : " e ";
        t += kLetrasTipos[i];
    }
    return t;
}

std::optional<Exercicio> pedido(const std::vector<std::string>& args, std::string& erro) {
    if (args.size() == 1) {
        LeituraCodigo l = le_codigo(args[0]);
        if (!l.exercicio) erro = l.erro;
        return l.exercicio;
    }
    const std::optional<Tipo> tipo = args[0].size() == 1 ? tipo_da_letra(args[0][0]) : std::nullopt;
    if (!tipo) {
        erro = "tipo desconhecido: " + args[0] + " (os tipos sao " + lista_tipos() + ")";
        return std::nullopt;
    }
    const std::optional<int> n = le_inteiro(args[1], n_minimo(*tipo), n_maximo(*tipo));
    if (!n) {
        erro = std::string("para o tipo ") + letra_tipo(*tipo) + ", N vai de " +
               std::to_string(n_minimo(*tipo)) + " a " + std::to_string(n_maximo(*tipo));
        return std::nullopt;
    }
    return Exercicio{*tipo, *n, semente_nova()};
}

std::string texto_exercicio(const Exercicio& e, const Sistema& s) {
    std::string t = "Codigo: " + escreve_codigo(e) + "\nTipo " + letra_tipo(e.tipo) + ": " +
                    descricao_tipo(e.tipo) + "\nn = " + std::to_string(e.n) + "\nSolucao exata:\n";
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        const std::string k = std::to_string(i + 1);
        t += "x[" + std::string(k.size() < 2 ? " " : "") + k + "] = " + std::to_string(s.x[i]) +
             "\n";
    }
    return t + "Arquivos a7.txt e b7.txt gravados.\n";
}

std::string json_exercicio(const Exercicio& e, const Sistema& s) {
    std::string t = json_cabecalho("exercicio") + R"("codigo":)" + texto_json(escreve_codigo(e)) +
                    R"(,"tipo":)" + texto_json(std::string(1, letra_tipo(e.tipo))) +
                    R"(,"descricao":)" + texto_json(descricao_tipo(e.tipo)) + R"(,"n":)" +
                    std::to_string(e.n) + R"(,"solucao":[)";
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        if (i > 0) t += ',';
        t += std::to_string(s.x[i]);
    }
    return t + R"(],"arquivos":["a7.txt","b7.txt"]})" + "\n";
}

int exercicio(const std::vector<std::string>& palavras) {
    const Argumentos p = separa(palavras);
    const char* json = p.json ? "exercicio" : nullptr;
    if (p.args.empty() || p.args.size() > 2)
        return recusa("exercicio pede TIPO N ou um CODIGO", json);
    std::string erro;
    const std::optional<Exercicio> e = pedido(p.args, erro);
    if (!e) return recusa(erro, json);
    const Sistema s = gera(*e);
    erro = grava_arquivos({{"a7.txt", texto_matriz(s.a)}, {"b7.txt", texto_vetor(s.b)}},
                          p.sobrescrever);
    if (!erro.empty()) return recusa(erro, json);
    escreve((p.json ? json_exercicio(*e, s) : texto_exercicio(*e, s)).c_str());
    return 0;
}

int analise(const std::vector<std::string>& palavras) {
    const Argumentos p = separa(palavras);
    const char* json = p.json ? "analise" : nullptr;
    const std::optional<int> n = p.args.size() == 1 && !p.sobrescrever
                                     ? le_inteiro(p.args[0], 1, kMaiorAnalise)
                                     : std::nullopt;
    if (!n)
        return recusa("analise pede N, a dimensao, de 1 a " + std::to_string(kMaiorAnalise), json);
    const Lidos b = le_numeros("b7.txt", *n, 1);
    if (!b.erro.empty()) return recusa(b.erro.substr(0, b.erro.size() - 1), json);
    const Lidos a = le_numeros("a7.txt", *n, *n);
    if (!a.erro.empty()) return recusa(a.erro.substr(0, a.erro.size() - 1), json);
    const auto m = static_cast<std::size_t>(*n);
    MatrizReal r(m, std::vector<double>(m, 0.0));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < m; ++j) r[i][j] = static_cast<double>(a.valores[i * m + j]);
    const Analise resultado = analisa(r);
    escreve((p.json ? json_analise(resultado) + "\n" : texto_analise(resultado)).c_str());
    return 0;
}

int principal(const std::vector<std::string>& args) {
    if (args.empty()) {
        escreve_erro(uso().c_str());
        return 1;
    }
    const std::vector<std::string> resto(args.begin() + 1, args.end());
    if (args[0] == "exercicio") return exercicio(resto);
    if (args[0] == "analise") return analise(resto);
    if (args[0] == "pratica") return comando_pratica(resto);
    if (args[0] == "turma") return comando_turma(resto);
    if (args[0] == "corrige") return comando_corrige(resto);
    if (args[0] == "--ajuda" || args[0] == "-h") {
        escreve(uso().c_str());
        return 0;
    }
    return recusa("comando desconhecido: " + args[0] + "\n" + uso());
}

}  // namespace

}  // namespace sislin::aula

int main(int argc, char** argv) {
    sislin::prepara_saida();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return sislin::aula::principal(args);
}
