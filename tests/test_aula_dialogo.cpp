// sislin-aula run as a user runs it, in a fresh folder: the whole standard output and error and
// the exit status of each command, byte for byte, and the files left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "arquivos_aula.h"
#include "dialogo.h"
#include "json_mini.h"

namespace fs = std::filesystem;
using namespace sislin;

namespace {

// A fresh folder for one test, removed at its end.
class Pasta {
public:
    Pasta() : raiz_(pasta_temporaria("sislin-aula-XXXXXX")) {
        fs::create_directory(raiz_ / "trabalho");
    }
    Pasta(const Pasta&) = delete;
    Pasta& operator=(const Pasta&) = delete;
    ~Pasta() { fs::remove_all(raiz_); }

    fs::path trabalho() const { return raiz_ / "trabalho"; }
    std::string arquivo(const char* nome) const { return le_arquivo(trabalho() / nome); }
    // The names in the working folder, sorted, one blank apart.
    std::string nomes() const {
        std::vector<std::string> v;
        for (const auto& e : fs::directory_iterator(trabalho())) v.push_back(e.path().filename());
        std::sort(v.begin(), v.end());
        std::string t;
        for (const std::string& s : v) t += (t.empty() ? "" : " ") + s;
        return t;
    }

    // Runs sislin-aula (comando_sislin_aula) with the arguments (see palavras) in the working
    // folder, with no input.
    Execucao corre(const std::string& argumentos) const {
        std::vector<std::string> comando = comando_sislin_aula();
        for (std::string& w : palavras(argumentos)) comando.push_back(std::move(w));
        return executa_comando(comando, trabalho().string(), "");
    }

private:
    fs::path raiz_;
};

const char* const kA7 = "-7  3  4\n 3 -3 -1\n 4 -1 -4\n";
const char* const kB7 = "-6\n13\n-8\n";
const char* const kSaidaS3 =
    "Codigo: S03-000ANCE\n"
    "Tipo S: Gauss-Seidel converge e Jacobi diverge\n"
    "n = 3\n"
    "Solucao exata:\n"
    "x[ 1] = 2\n"
    "x[ 2] = -4\n"
    "x[ 3] = 5\n"
    "Arquivos a7.txt e b7.txt gravados.\n";

const char* const kAnaliseS3 =
    "Analise de A (n = 3), em precisao dupla\n\n"
    "Dominancia diagonal por linhas (|a_ii| contra a soma dos outros |a_ij|):\n"
    "linha  1: 7 contra 7: fraca\n"
    "linha  2: 3 contra 4: nao dominante\n"
    "linha  3: 4 contra 5: nao dominante\n"
    "A nao e diagonal dominante.\n\n"
    "Iteracoes (raio espectral da matriz de iteracao):\n"
    "Jacobi:       raio espectral 1.15368: nao converge a partir de todo inicio\n"
    "Gauss-Seidel: raio espectral 0.75: converge de qualquer inicio; precisao 1e-4 em "
    "cerca de 33 iteracoes\n\n"
    "Normas do maximo e condicao:\n"
    "||A||     = 14\n"
    "||A^-1||  = 1.64706\n"
    "kappa(A)  = 23.0588\n"
    "Digitos confiaveis da solucao em precisao simples: cerca de 5.9\n\n"
    "Gauss sem pivoteamento (em precisao simples): nenhum pivo nulo.\n";

void espera(const Execucao& c, const std::string& saida, const std::string& erros, int status) {
    EXPECT_FALSE(c.expirou);
    EXPECT_EQ(c.saida, saida);
    EXPECT_EQ(c.erros, erros);
    EXPECT_EQ(c.status, status);
}

}  // namespace

TEST(AulaDialogo, ExercicioDeUmCodigoEASuaAnalise) {
    const Pasta p;
    espera(p.corre("exercicio s03-000ance"), kSaidaS3, "", 0);
    EXPECT_EQ(p.nomes(), "a7.txt b7.txt");
    EXPECT_EQ(p.arquivo("a7.txt"), kA7);
    EXPECT_EQ(p.arquivo("b7.txt"), kB7);
    // Again with the files it wrote: the same bytes, nothing to refuse.
    espera(p.corre("exercicio 'S03 000ANCE'"), kSaidaS3, "", 0);
    espera(p.corre("analise 3"), kAnaliseS3, "", 0);
}

TEST(AulaDialogo, NaoSobrescreveOutroArquivoSemPedido) {
    const Pasta p;
    grava(p.trabalho() / "a7.txt", "1 2\n3 4\n");
    espera(p.corre("exercicio S03-000ANCE"), "",
           "sislin-aula: o arquivo a7.txt ja existe com outro conteudo; use --sobrescrever para "
           "substitui-lo\n",
           1);
    EXPECT_EQ(p.nomes(), "a7.txt");
    EXPECT_EQ(p.arquivo("a7.txt"), "1 2\n3 4\n");
    espera(p.corre("exercicio --sobrescrever S03-000ANCE"), kSaidaS3, "", 0);
    EXPECT_EQ(p.nomes(), "a7.txt b7.txt");
    EXPECT_EQ(p.arquivo("a7.txt"), kA7);
    // What cannot be read is not taken for absent: a folder named b7.txt stays.
    const Pasta q;
    fs::create_directory(q.trabalho() / "b7.txt");
    espera(q.corre("exercicio S03-000ANCE"), "",
           "sislin-aula: o arquivo b7.txt ja existe e nao pode ser lido; use --sobrescrever para "
           "substitui-lo\n",
           1);
    EXPECT_EQ(q.nomes(), "b7.txt");
    EXPECT_TRUE(fs::is_directory(q.trabalho() / "b7.txt"));
}

TEST(AulaDialogo, UmExercicioNovoSeRefazPeloSeuCodigo) {
    const Pasta p;
    const Execucao c = p.corre("exercicio M 6");
    ASSERT_EQ(c.status, 0) << c.erros;
    ASSERT_EQ(c.saida.rfind("Codigo: M06-", 0), 0U) << c.saida;
    const std::string codigo = c.saida.substr(8, 11);
    const std::string a7 = p.arquivo("a7.txt");
    const std::string b7 = p.arquivo("b7.txt");
    fs::remove(p.trabalho() / "a7.txt");
    fs::remove(p.trabalho() / "b7.txt");
    espera(p.corre("exercicio " + codigo), c.saida, "", 0);
    EXPECT_EQ(p.arquivo("a7.txt"), a7);
    EXPECT_EQ(p.arquivo("b7.txt"), b7);
}

TEST(AulaDialogo, PedidosRuinsSaoRecusadosSemDeixarArquivos) {
    struct Caso {
        const char* argumentos;
        const char* erros;
    };
    const Caso casos[] = {
        {"exercicio X 4", "sislin-aula: tipo desconhecido: X (os tipos sao D, P, G, M, S e J)\n"},
        {"exercicio D 11", "sislin-aula: para o tipo D, N vai de 2 a 10\n"},
        {"exercicio J 2", "sislin-aula: para o tipo J, N vai de 3 a 10\n"},
        {"exercicio S 3x", "sislin-aula: para o tipo S, N vai de 3 a 10\n"},
        {"exercicio S03-000ANCF",
         "sislin-aula: codigo com erro de digitacao (o caractere de controle nao confere)\n"},
        {"exercicio S03-0O0ANCE",
         "sislin-aula: o caractere 'O' nao existe nos codigos (nao ha B, I, L, O, Q, U nem Z)\n"},
        {"exercicio S03-ANCE",
         "sislin-aula: o codigo tem 10 caracteres (fora hifens e espacos), como D07-4KX9M2D\n"},
        {"exercicio", "sislin-aula: exercicio pede TIPO N ou um CODIGO\n"},
        {"analise", "sislin-aula: analise pede N, a dimensao, de 1 a 500\n"},
        {"analise 0", "sislin-aula: analise pede N, a dimensao, de 1 a 500\n"},
        {"analise 3", "sislin-aula: O Arquivo b7.txt nao pode ser aberto.\n"},
    };
    for (const Caso& c : casos) {
        const Pasta p;
        espera(p.corre(c.argumentos), "", c.erros, 1);
        EXPECT_EQ(p.nomes(), "") << c.argumentos;
    }
    const Pasta p;
    const Execucao sem = p.corre("");
    EXPECT_EQ(sem.status, 1);
    EXPECT_EQ(sem.erros.rfind("Uso:\n", 0), 0U);
    const Execucao ajuda = p.corre("--ajuda");
    EXPECT_EQ(ajuda.status, 0);
    EXPECT_EQ(ajuda.saida, sem.erros);
    EXPECT_EQ(ajuda.saida.substr(0, ajuda.saida.find("Tipos:\n")),
              "Uso:\n"
              "  sislin-aula exercicio TIPO N [--sobrescrever] [--json]   novo exercicio do tipo e "
              "da dimensao\n"
              "  sislin-aula exercicio CODIGO [--sobrescrever] [--json]   o exercicio de um "
              "codigo, de novo\n"
              "  sislin-aula analise N [--json]                           analise de a7.txt e "
              "b7.txt\n"
              "  sislin-aula pratica METODO N|CODIGO [--digitos D|exato]  pratica de um metodo, "
              "passo a passo\n"
              "  sislin-aula pratica METODO CODIGO --aluno ID             pratica de uma tarefa "
              "(ID-CODIGO.jsonl)\n"
              "  sislin-aula turma CHAVE TIPO N LISTA.csv                 os codigos de uma turma "
              "(codigos.csv)\n"
              "  sislin-aula turma CHAVE TIPO N --aluno ID                o codigo de um aluno\n"
              "    turma: [--metodos M,M] [--digitos D|exato] [--aprovacao P] [--saida ARQ] "
              "[--sobrescrever]\n"
              "  --json: o resultado (ou a recusa) num objeto JSON na saida padrao\n");
}

TEST(AulaDialogo, AnaliseLeOsArquivosComoOPrograma) {
    const Pasta p;
    grava(p.trabalho() / "b7.txt", "1 2 3\n");
    espera(p.corre("analise 3"), "", "sislin-aula: O Arquivo a7.txt nao pode ser aberto.\n", 1);
    grava(p.trabalho() / "a7.txt", "1 0 0\n0 1 0\n0 0\n");
    espera(p.corre("analise 3"), "",
           "sislin-aula: O Arquivo a7.txt nao corresponde as especificacoes.\n"
           "O Arquivo a7.txt possui 2 registros enquanto o problema tem 3 linhas.\n",
           1);
    espera(p.corre("analise 4"), "",
           "sislin-aula: O Arquivo b7.txt nao corresponde as especificacoes.\n"
           "O Arquivo b7.txt possui 3 registros enquanto o problema tem 4 linhas.\n",
           1);
    // The "%g" reader of the data files: hexadecimal, exponents, a glued sign.
    grava(p.trabalho() / "a7.txt", "0x1p1 0 0\n0 2e0 0\n0 0 +2.\n");
    const Execucao c = p.corre("analise 3");
    EXPECT_EQ(c.status, 0) << c.erros;
    EXPECT_NE(c.saida.find("kappa(A)  = 1\n"), std::string::npos) << c.saida;
}

TEST(AulaDialogo, OExemploDoGuiaEOQueOsProgramasImprimem) {
    const std::string guia = le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / "guia.md");
    const std::size_t secao = guia.find("## Exercicios para a turma");
    ASSERT_NE(secao, std::string::npos);
    for (const std::string& bloco :
         {std::string(kSaidaS3), std::string(kA7), std::string(kAnaliseS3)})
        EXPECT_NE(guia.find("```text\n" + bloco + "```", secao), std::string::npos) << bloco;
    // The student's run: every block of the section that shows sislin's iterations.
    const Execucao e = executa_sislin(kA7, kB7, "3\n10\n0.0001\n50\n9\n0.0001\n8\n0\n");
    ASSERT_EQ(e.status, 0);
    int blocos = 0;
    const std::string abre = "```text\nEntre com o numero maximo";
    for (std::size_t i = guia.find(abre, secao); i != std::string::npos;
         i = guia.find(abre, i + 1)) {
        const std::size_t inicio = i + 8;
        const std::size_t fim = guia.find("```", inicio);
        EXPECT_NE(e.saida.find(guia.substr(inicio, fim - inicio)), std::string::npos)
            << guia.substr(inicio, fim - inicio);
        ++blocos;
    }
    EXPECT_EQ(blocos, 2);
}

// The guide's grading script, run as a teacher would on two students' records of the exercise:
// it prints the guide's own text block after it.
TEST(AulaDialogo, OScriptDeNotaDoGuia) {
    const Pasta p;
    if (executa_comando({"python3", "--version"}, p.trabalho().string(), "").status != 0)
        GTEST_SKIP() << "sem python3";
    const std::string guia = le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / "guia.md");
    const std::size_t script = guia.find("```python\n");
    ASSERT_NE(script, std::string::npos);
    const std::size_t fim = guia.find("```", script + 10);
    const std::size_t saida = guia.find("```text\n", fim + 3);
    ASSERT_NE(saida, std::string::npos);
    const std::string esperada = guia.substr(saida + 8, guia.find("```", saida + 8) - saida - 8);
    grava(p.trabalho() / "a7.txt", kA7);
    grava(p.trabalho() / "b7.txt", kB7);
    grava(p.trabalho() / "nota.py", guia.substr(script + 10, fim - script - 10));
    const std::pair<const char*, const char*> alunos[] = {
        {"registro-ana.jsonl", "3\n10\n0.0001\n50\n9\n0.0001\n8\n4\n5\n6\n0\n"},
        {"registro-beto.jsonl", "3\n9\n0.0001\n8\n0\n"}};
    for (const auto& [registro, respostas] : alunos) {
        setenv("SISLIN_REGISTRO", registro, 1);
        const Execucao e = executa_na_pasta(p.trabalho().string(), respostas);
        unsetenv("SISLIN_REGISTRO");
        ASSERT_EQ(e.status, 0) << e.erros;
    }
    const Execucao nota =
        executa_comando({"python3", "nota.py", "2 -4 5", alunos[0].first, alunos[1].first},
                        p.trabalho().string(), "");
    ASSERT_EQ(nota.status, 0) << nota.erros;
    EXPECT_EQ(nota.saida, esperada);
}

namespace {

// The reasons the object breaks docs/sislin-aula.schema.json (empty: none).
std::string fora_do_esquema(const std::string& json) {
    const json_mini::Valor esquema =
        json_mini::le(le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / "sislin-aula.schema.json"));
    return json_mini::valida(json_mini::le(json), esquema, esquema);
}

}  // namespace

TEST(AulaDialogo, ComJsonUmObjetoNaSaida) {
    const Pasta p;
    espera(p.corre("exercicio S03-000ANCE --json"),
           R"({"programa":"sislin-aula","formato":1,"comando":"exercicio","codigo":"S03-000ANCE",)"
           R"("tipo":"S","descricao":"Gauss-Seidel converge e Jacobi diverge","n":3,)"
           R"("solucao":[2,-4,5],"arquivos":["a7.txt","b7.txt"]})"
           "\n",
           "", 0);
    EXPECT_EQ(p.arquivo("a7.txt"), kA7);
    EXPECT_EQ(p.arquivo("b7.txt"), kB7);
    EXPECT_EQ(fora_do_esquema(p.corre("exercicio --json S03-000ANCE").saida), "");
    const Execucao a = p.corre("analise --json 3");
    ASSERT_EQ(a.status, 0) << a.erros;
    EXPECT_EQ(a.erros, "");
    ASSERT_EQ(a.saida.back(), '\n');
    EXPECT_EQ(a.saida.find('\n'), a.saida.size() - 1);
    EXPECT_EQ(fora_do_esquema(a.saida), "");
    EXPECT_EQ(json_mini::le(a.saida).em("texto").texto, kAnaliseS3);
    // A new exercise of every kind: the JSON and the text say the same.
    for (const char* tipo : {"D 2", "P 10", "G 4", "M 3", "S 5", "J 3"}) {
        const Pasta q;
        const Execucao j = q.corre(std::string("exercicio --json ") + tipo);
        ASSERT_EQ(j.status, 0) << j.erros;
        EXPECT_EQ(fora_do_esquema(j.saida), "") << j.saida;
        const json_mini::Valor v = json_mini::le(j.saida);
        std::string texto = "Codigo: " + v.em("codigo").texto + "\nTipo " + v.em("tipo").texto +
                            ": " + v.em("descricao").texto + "\nn = " + v.em("n").texto +
                            "\nSolucao exata:\n";
        for (std::size_t i = 0; i < v.em("solucao").lista.size(); ++i)
            texto += "x[" + std::string(i < 9 ? " " : "") + std::to_string(i + 1) +
                     "] = " + v.em("solucao").lista[i].texto + "\n";
        espera(q.corre("exercicio " + v.em("codigo").texto),
               texto + "Arquivos a7.txt e b7.txt gravados.\n", "", 0);
    }
}

TEST(AulaDialogo, ComJsonARecusaTambemEUmObjeto) {
    struct Caso {
        const char* argumentos;
        const char* comando;
    };
    const Caso casos[] = {{"exercicio X 4 --json", "exercicio"},
                          {"exercicio --json S03-000ANCF", "exercicio"},
                          {"analise --json", "analise"},
                          {"analise 3 --json", "analise"},
                          {"analise 501 --json", "analise"}};
    for (const Caso& c : casos) {
        const Pasta p;
        const Execucao e = p.corre(c.argumentos);
        EXPECT_EQ(e.status, 1) << c.argumentos;
        EXPECT_EQ(fora_do_esquema(e.saida), "") << e.saida;
        const json_mini::Valor v = json_mini::le(e.saida);
        EXPECT_EQ(v.em("comando").texto, c.comando);
        EXPECT_EQ("sislin-aula: " + v.em("erro").texto + "\n", e.erros);
        EXPECT_EQ(p.nomes(), "") << c.argumentos;
    }
    // A message of two lines stays one JSON string.
    const Pasta p;
    grava(p.trabalho() / "b7.txt", "1\n2\n");
    const Execucao e = p.corre("analise 3 --json");
    EXPECT_EQ(e.saida,
              R"({"programa":"sislin-aula","formato":1,"comando":"analise","erro":"O Arquivo )"
              R"(b7.txt nao corresponde as especificacoes.\nO Arquivo b7.txt possui 2 registros )"
              R"(enquanto o problema tem 3 linhas."})"
              "\n");
}

namespace {

// What a folder holds: each name with its bytes (a folder's as "<pasta>", a link's target).
std::string retrato(const fs::path& pasta) {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(pasta)) {
        const fs::path& c = e.path();
        const std::string o = fs::is_symlink(fs::symlink_status(c))
                                  ? "-> " + fs::read_symlink(c).string()
                              : fs::is_directory(c) ? std::string("<pasta>")
                                                    : le_arquivo(c);
        v.push_back(c.filename().string() + ": " + o);
    }
    std::sort(v.begin(), v.end());
    std::string t;
    for (const std::string& s : v) t += s + "\n";
    return t;
}

}  // namespace

TEST(AulaDialogo, OParSubstituidoInteiroOuNada) {
    // b7.txt is a folder with a file in it: asked to replace the pair, nothing changes.
    const Pasta p;
    grava(p.trabalho() / "a7.txt", "1 2\n3 4\n");
    fs::create_directory(p.trabalho() / "b7.txt");
    grava(p.trabalho() / "b7.txt" / "nota", "minha");
    const std::string antes = retrato(p.trabalho());
    espera(p.corre("exercicio --sobrescrever S03-000ANCE"), "",
           "sislin-aula: nao foi possivel substituir b7.txt; nada foi gravado\n", 1);
    EXPECT_EQ(retrato(p.trabalho()), antes);
    EXPECT_EQ(le_arquivo(p.trabalho() / "b7.txt" / "nota"), "minha");
    // An empty folder holds nothing: it is replaced.
    fs::remove(p.trabalho() / "b7.txt" / "nota");
    espera(p.corre("exercicio --sobrescrever S03-000ANCE"), kSaidaS3, "", 0);
    EXPECT_EQ(retrato(p.trabalho()), std::string("a7.txt: ") + kA7 + "\nb7.txt: " + kB7 + "\n");
    // A file of the user's under the name of a backup is not taken over.
    grava(p.trabalho() / "a7.txt", "1 2\n3 4\n");
    grava(p.trabalho() / "a7.txt.antigo", "meu\n");
    const std::string com_reserva = retrato(p.trabalho());
    espera(p.corre("exercicio --sobrescrever S03-000ANCE"), "",
           "sislin-aula: o arquivo a7.txt.antigo ja existe; apague-o ou renomeie-o antes\n", 1);
    EXPECT_EQ(retrato(p.trabalho()), com_reserva);
    // A dangling symbolic link holds no data: replaced without --sobrescrever.
    const Pasta q;
    fs::create_symlink("nao-existe", q.trabalho() / "a7.txt");
    espera(q.corre("exercicio S03-000ANCE"), kSaidaS3, "", 0);
    EXPECT_EQ(retrato(q.trabalho()), std::string("a7.txt: ") + kA7 + "\nb7.txt: " + kB7 + "\n");
}

// Every rename of the replacement fails in turn: each time the folder is left exactly as it
// was, whatever was there before.
TEST(AulaDialogo, UmaFalhaEmQualquerPassoDeixaTudoComoEstava) {
    const std::vector<std::pair<const char*, const char*>> inicios[] = {
        {{"a7.txt", "1 2\n3 4\n"}, {"b7.txt", "5\n6\n"}},
        {{"b7.txt", "5\n6\n"}},
        {{"a7.txt", "1 2\n3 4\n"}},
        {},
    };
    for (const auto& inicio : inicios) {
        for (int falha = 1;; ++falha) {
            const Pasta p;
            for (const auto& [nome, conteudo] : inicio) grava(p.trabalho() / nome, conteudo);
            fs::create_symlink("nao-existe", p.trabalho() / "b7.txt.link");
            const std::string antes = retrato(p.trabalho());
            const std::string a7 = (p.trabalho() / "a7.txt").string();
            const std::string b7 = (p.trabalho() / "b7.txt").string();
            int chamadas = 0;
            const std::string erro = aula::grava_arquivos(
                {{a7, "novo a\n"}, {b7, "novo b\n"}}, true,
                [&](const std::string& de, const std::string& para) {
                    return ++chamadas != falha && aula::renomeia_arquivo(de, para);
                });
            if (chamadas < falha) {  // every rename done: the pair is in
                EXPECT_EQ(erro, "");
                EXPECT_EQ(p.arquivo("a7.txt") + p.arquivo("b7.txt"), "novo a\nnovo b\n");
                EXPECT_GE(falha, 3);
                break;
            }
            EXPECT_NE(erro, "") << falha;
            EXPECT_EQ(retrato(p.trabalho()), antes) << "falha no passo " << falha << "\n" << erro;
        }
    }
}
