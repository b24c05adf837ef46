// Class assignments end to end: sislin-aula turma on a roster (its output, its messages and the
// codes file, byte for byte; the file read back by Python's csv module), on one student
// (--aluno), its refusals; and pratica --aluno, whose hand-in file receives the record's lines
// at its end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dialogo.h"
#include "json_mini.h"
#include "registro.h"

namespace fs = std::filesystem;
using namespace sislin;

namespace {

const char* const kChave = "Calculo Numerico 2026";

const json_mini::Valor& esquema(const char* nome) {
    static std::map<std::string, json_mini::Valor> lidos;
    auto [it, novo] = lidos.try_emplace(nome);
    if (novo) it->second = json_mini::le(le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / nome));
    return it->second;
}

std::string valida(const std::string& linha, const char* nome_do_esquema) {
    const json_mini::Valor& e = esquema(nome_do_esquema);
    return json_mini::valida(json_mini::le(linha), e, e);
}

// A roster with what a teacher's file holds: a byte order mark, ";", a quoted name with the
// separator and quotes, an id with a blank, one with an accent, one without, and repeats (one
// after case folding).
const std::string kLista =
    "\xEF\xBB\xBFMatr\xC3\xAD"
    "cula;Nome\r\n"
    "2026001;Ana Souza\r\n"
    "2026002;\"Lima; Bruno \"\"B\"\"\"\r\n"
    "2026 003;Carla\r\n"
    "ana.s;Ana S.\r\n"
    "2026001;Diego\r\n"
    ";Eva\r\n"
    "Jo\xC3\xA3o;Jo\xC3\xA3o\r\n"
    "ANA.S;Outra\r\n";

const char* const kTabela =
    "matricula  nome             codigo\n"
    "2026001    Ana Souza        D04-AWYXSTS\n"
    "2026002    Lima; Bruno \"B\"  D04-C9X64YP\n"
    "ana.s      Ana S.           D04-VKJFFRY\n"
    "\n"
    "Endereco da pagina: #turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026\n"
    "codigos.csv gravado: 3 alunos, 5 linhas ignoradas.\n";

const char* const kIgnoradas =
    "sislin-aula: lista.csv, linha 4: matricula 2026 003 recusada: a matricula tem espaco; "
    "linha ignorada\n"
    "sislin-aula: lista.csv, linha 6: matricula 2026001 repetida (ja na linha 2); linha "
    "ignorada\n"
    "sislin-aula: lista.csv, linha 7: sem matricula; linha ignorada\n"
    "sislin-aula: lista.csv, linha 8: matricula Jo\xC3\xA3o recusada: a matricula so pode ter "
    "letras sem acento, algarismos e . - _ @; linha ignorada\n"
    "sislin-aula: lista.csv, linha 9: matricula ana.s repetida (ja na linha 5); linha "
    "ignorada\n";

const std::vector<std::vector<std::string>> kCodigos = {
    {"matricula", "nome", "codigo"},
    {"2026001", "Ana Souza", "D04-AWYXSTS"},
    {"2026002", "Lima; Bruno \"B\"", "D04-C9X64YP"},
    {"ana.s", "Ana S.", "D04-VKJFFRY"},
};

// The whole output, messages and codes file (read back by Python's csv module too, when there is
// a Python). Then the file is not replaced without --sobrescrever (the same bytes are left
// alone); --saida names another.
TEST(TurmaConsole, ListaPequenaEArquivoDeCodigos) {
    const fs::path dir = pasta_temporaria("sislin-turma-XXXXXX");
    const std::vector<std::string> pedido = {"turma",     kChave,      "D",           "4",
                                             "lista.csv", "--metodos", "gauss,jacobi"};
    const Corrida c = executa_aula(pedido, {{"lista.csv", kLista}}, "", false, &dir);
    EXPECT_EQ(c.e.saida, kTabela);
    EXPECT_EQ(c.e.erros, kIgnoradas);
    EXPECT_EQ(c.e.status, 0);
    const std::string csv = c.arquivos.at("codigos.csv");
    EXPECT_EQ(csv,
              "matricula,nome,codigo\r\n2026001,Ana Souza,D04-AWYXSTS\r\n"
              "2026002,\"Lima; Bruno \"\"B\"\"\",D04-C9X64YP\r\nana.s,Ana S.,D04-VKJFFRY\r\n");
    EXPECT_EQ(csv_pelo_python(csv).value_or(kCodigos), kCodigos);
    EXPECT_EQ(executa_aula(pedido, {}, "", false, &dir).e.status, 0);
    const Corrida outra =
        executa_aula({"turma", "Outra chave", "D", "4", "lista.csv"}, {}, "", false, &dir);
    EXPECT_EQ(outra.e.status, 1);
    EXPECT_EQ(outra.e.saida, "");
    EXPECT_EQ(outra.e.erros,
              std::string(kIgnoradas) +
                  "sislin-aula: o arquivo codigos.csv ja existe com outro conteudo; use "
                  "--sobrescrever para substitui-lo\n");
    EXPECT_EQ(outra.arquivos.at("codigos.csv"), csv);
    const Corrida sobre = executa_aula(
        {"turma", "Outra chave", "D", "4", "lista.csv", "--sobrescrever"}, {}, "", false, &dir);
    EXPECT_EQ(sobre.e.status, 0);
    EXPECT_NE(sobre.arquivos.at("codigos.csv"), csv);
    const Corrida saida = executa_aula({"turma", kChave, "D", "4", "lista.csv", "--saida", "b.csv"},
                                       {}, "", false, &dir);
    EXPECT_EQ(saida.e.status, 0);
    EXPECT_NE(saida.e.saida.find("\nb.csv gravado: 3 alunos"), std::string::npos) << saida.e.saida;
    EXPECT_EQ(saida.arquivos.count("b.csv"), 1U);
    fs::remove_all(dir);
}

// --json writes nothing and prints the object of the schema.
// The guide's teacher section: its roster, run with its command, prints its two blocks.
TEST(TurmaConsole, OExemploDoGuia) {
    const std::string guia = le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / "guia.md");
    const std::size_t secao = guia.find("## A turma: um sistema por aluno");
    ASSERT_NE(secao, std::string::npos);
    // The section's first blocks, in order: the roster, the command, its output, its messages.
    std::vector<std::string> blocos;
    const std::string abre = "```text\n";
    for (std::size_t i = guia.find(abre, secao); i != std::string::npos && blocos.size() < 4;
         i = guia.find(abre, i + 1)) {
        const std::size_t inicio = i + abre.size();
        i = guia.find("```", inicio);
        blocos.push_back(guia.substr(inicio, i - inicio));
    }
    ASSERT_EQ(blocos.size(), 4U);
    EXPECT_EQ(blocos[1],
              "sislin-aula turma \"Calculo Numerico 2026\" D 3 turma-a.csv --metodos "
              "gauss,jacobi\n");
    const Corrida c =
        executa_aula({"turma", kChave, "D", "3", "turma-a.csv", "--metodos", "gauss,jacobi"},
                     {{"turma-a.csv", blocos[0]}});
    EXPECT_EQ(c.e.status, 0);
    EXPECT_EQ(c.e.saida, blocos[2]);
    EXPECT_EQ(c.e.erros, blocos[3]);
}

TEST(TurmaConsole, Json) {
    const Corrida json = executa_aula({"turma", kChave, "d", "4", "lista.csv", "--json",
                                       "--digitos", "exato", "--aprovacao", "70"},
                                      {{"lista.csv", kLista}});
    EXPECT_EQ(json.e.status, 0);
    EXPECT_EQ(json.e.erros, kIgnoradas);
    EXPECT_EQ(json.arquivos.size(), 1U);  // only the roster: nothing written
    EXPECT_EQ(valida(json.e.saida, "sislin-aula.schema.json"), "") << json.e.saida;
    EXPECT_EQ(
        json.e.saida,
        R"({"programa":"sislin-aula","formato":1,"comando":"turma","tarefa":{"formato":1,)"
        R"("chave":"calculo numerico 2026","tipo":"D","n":4,"metodos":["gauss"],"digitos":0,)"
        R"("aprovacao":70},"fragmento":"#turma=D/4/gauss/exato/70/Calculo%20Numerico%202026",)"
        R"("alunos":[{"linha":2,"matricula":"2026001","nome":"Ana Souza","codigo":"D04-AWYXSTS"},)"
        R"({"linha":3,"matricula":"2026002","nome":"Lima; Bruno \"B\"","codigo":"D04-C9X64YP"},)"
        R"({"linha":5,"matricula":"ana.s","nome":"Ana S.","codigo":"D04-VKJFFRY"}],)"
        R"("ignoradas":[{"linha":4,"motivo":"matricula 2026 003 recusada: a matricula tem )"
        R"(espaco"},{"linha":6,"motivo":"matricula 2026001 repetida )"
        R"x((ja na linha 2)"},)x"
        R"({"linha":7,"motivo":"sem matricula"},{"linha":8,"motivo":"matricula Jo)"
        "\xC3\xA3o"
        R"( recusada: a matricula so pode ter letras sem acento, algarismos e . - _ @"},)"
        R"x({"linha":9,"motivo":"matricula ana.s repetida (ja na linha 5)"}]})x"
        "\n");
}

// Refused requests: one message, status 1, nothing written (with --json, also the object).
TEST(TurmaConsole, Recusas) {
    const struct {
        std::vector<std::string> palavras;
        std::string lista;
        const char* erro;
    } casos[] = {
        {{"turma", kChave, "D", "11", "l.csv"}, "1\n", "para o tipo D, N vai de 2 a 10"},
        {{"turma", kChave, "D", "4", "l.csv", "--metodos", "gauss,cholesky"},
         "1\n",
         "metodo desconhecido: cholesky (os metodos sao gauss, gauss-pivoteado, lu, "
         "lu-pivoteado, ly, ux, residuo, inversa, jacobi, gauss-seidel)"},
        {{"turma", kChave, "D", "4", "l.csv", "--digitos", "0"},
         "1\n",
         "--digitos pede D, de 1 a 9, ou exato"},
        {{"turma", kChave, "D", "4", "l.csv", "--aprovacao"},
         "1\n",
         "--aprovacao pede a nota minima, de 0 a 100"},
        {{"turma", kChave, "D", "4", "l.csv", "--tudo"}, "1\n", "opcao desconhecida: --tudo"},
        {{"turma", kChave, "D", "4"},
         "1\n",
         "turma pede CHAVE TIPO N e a lista (LISTA.csv), ou CHAVE TIPO N --aluno ID"},
        {{"turma", kChave, "D", "4", "l.csv", "--aluno", "1"},
         "1\n",
         "turma pede CHAVE TIPO N e a lista (LISTA.csv), ou CHAVE TIPO N --aluno ID"},
        {{"turma", kChave, "D", "4", "nenhum.csv"},
         "1\n",
         "o arquivo nenhum.csv nao pode ser lido"},
        {{"turma", kChave, "D", "4", "l.csv"},
         "Nome,Email\nAna,a@b\n",
         "l.csv, linha 1: o cabecalho nao tem a coluna da matricula (matricula, id, username, "
         "usuario ou ra)"},
        {{"turma", kChave, "D", "4", "l.csv"}, "\xEF\xBB\xBF\r\n", "l.csv: a lista esta vazia"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.erro);
        const Corrida r = executa_aula(c.palavras, {{"l.csv", c.lista}});
        EXPECT_EQ(r.e.status, 1);
        EXPECT_EQ(r.e.saida, "");
        EXPECT_EQ(r.e.erros, std::string("sislin-aula: ") + c.erro + "\n");
        EXPECT_EQ(r.arquivos.size(), 1U);
        std::vector<std::string> com_json = c.palavras;
        com_json.emplace_back("--json");
        const Corrida j = executa_aula(com_json, {{"l.csv", c.lista}});
        EXPECT_EQ(j.e.status, 1);
        EXPECT_EQ(j.e.saida, std::string(R"({"programa":"sislin-aula","formato":1,)") +
                                 R"("comando":"turma","erro":)" + texto_json(c.erro) + "}\n");
        EXPECT_EQ(valida(j.e.saida, "sislin-aula.schema.json"), "") << j.e.saida;
    }
    // Rows without an accepted id only: each named, then the file refused.
    const Corrida r =
        executa_aula({"turma", kChave, "D", "4", "l.csv"}, {{"l.csv", "a b\n,Eva\n"}});
    EXPECT_EQ(r.e.status, 1);
    EXPECT_EQ(r.e.erros,
              "sislin-aula: l.csv, linha 1: matricula a b recusada: a matricula tem espaco; linha "
              "ignorada\n"
              "sislin-aula: l.csv, linha 2: sem matricula; linha ignorada\n"
              "sislin-aula: l.csv: nenhuma linha da lista tem uma matricula aceita\n");
    EXPECT_EQ(r.arquivos.size(), 1U);
}

TEST(TurmaConsole, UmAluno) {
    const Corrida texto = executa_aula({"turma", kChave, "D", "4", "--aluno", " 2026001 "});
    EXPECT_EQ(texto.e.saida, "2026001 D04-AWYXSTS\n");
    EXPECT_EQ(texto.e.status, 0);
    EXPECT_TRUE(texto.arquivos.empty());
    const Corrida json = executa_aula({"turma", kChave, "D", "4", "--aluno", "Ana.Souza@Escola",
                                       "--json", "--metodos", "gauss,Jacobi"});
    EXPECT_EQ(json.e.saida,
              R"({"programa":"sislin-aula","formato":1,"comando":"turma","tarefa":{"formato":1,)"
              R"("chave":"calculo numerico 2026","tipo":"D","n":4,"metodos":["gauss","jacobi"],)"
              R"("digitos":4,"aprovacao":60},)"
              R"("fragmento":"#turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026",)"
              R"("matricula":"ana.souza@escola","codigo":"D04-V03FN5A"})"
              "\n");
    EXPECT_EQ(valida(json.e.saida, "sislin-aula.schema.json"), "") << json.e.saida;
    const Corrida recusa = executa_aula({"turma", kChave, "D", "4", "--aluno", "20 26", "--json"});
    EXPECT_EQ(recusa.e.status, 1);
    EXPECT_EQ(recusa.e.erros, "sislin-aula: a matricula tem espaco\n");
    EXPECT_EQ(recusa.e.saida,
              R"({"programa":"sislin-aula","formato":1,"comando":"turma","erro":"a matricula tem )"
              R"(espaco"})"
              "\n");
}

// ---- pratica --aluno.

const char* const kEntrega = "2026001-D04-AWYXSTS.jsonl";

TEST(PraticaEntrega, OArquivoParaEntregarEORegistro) {
    const fs::path dir = pasta_temporaria("sislin-entrega-XXXXXX");
    const Corrida gauss = executa_aula({"pratica", "gauss", "D04-AWYXSTS", "--aluno", "2026001"},
                                       {}, "m\nm\nd\ns\n", true, &dir);
    EXPECT_EQ(gauss.e.status, 0) << gauss.e.erros;
    const std::string suffix = std::string("Registro para entregar: ") + kEntrega + "\n";
    ASSERT_GE(gauss.e.saida.size(), suffix.size());
    EXPECT_EQ(gauss.e.saida.substr(gauss.e.saida.size() - suffix.size()), suffix);
    const std::string registro = gauss.arquivos.at("registro.jsonl");
    EXPECT_EQ(gauss.arquivos.at(kEntrega), registro);
    const std::vector<std::string> linhas = linhas_de(registro);
    ASSERT_GE(linhas.size(), 3U);
    // The lines' values; the hour's and the seconds' form is the schema's.
    EXPECT_EQ(
        linhas.front().rfind(R"({"evento":"inicio","programa":"sislin-aula","comando":)"
                             R"("pratica","formato":1,"metodo":1,"rotulo":"Gauss","n":4,)"
                             R"("digitos":4,"codigo":"D04-AWYXSTS","aluno":"2026001","hora":")",
                             0),
        0U)
        << linhas.front();
    EXPECT_EQ(linhas.back().rfind(R"({"evento":"fim","status":0,"causa":"sair","segundos":)", 0),
              0U)
        << linhas.back();
    for (const std::string& l : linhas) EXPECT_EQ(valida(l, "pratica.schema.json"), "") << l;

    // Another method of the assignment, without SISLIN_REGISTRO: appended to the same file.
    const Corrida jacobi = executa_aula({"pratica", "jacobi", "D04-AWYXSTS", "--aluno", "2026001"},
                                        {}, "d\n", false, &dir);
    EXPECT_EQ(jacobi.e.status, 1);
    const std::string entregue = jacobi.arquivos.at(kEntrega);
    ASSERT_EQ(entregue.substr(0, registro.size()), registro);
    const std::vector<std::string> segunda = linhas_de(entregue.substr(registro.size()));
    ASSERT_GE(segunda.size(), 2U);
    EXPECT_NE(segunda.front().find(R"("metodo":9,"rotulo":"Metodo Iterativo de Jacobi")"),
              std::string::npos);
    EXPECT_EQ(segunda.back().rfind(
                  R"({"evento":"fim","status":1,"causa":"fim-da-entrada","segundos":)", 0),
              0U)
        << segunda.back();
    EXPECT_EQ(valida(segunda.back(), "pratica.schema.json"), "") << segunda.back();
    fs::remove_all(dir);

    // The hand-in file named as the record too: each line once.
    setenv("SISLIN_REGISTRO", kEntrega, 1);
    const Corrida mesmo =
        executa_aula({"pratica", "gauss", "D04-AWYXSTS", "--aluno", "2026001"}, {}, "s\n");
    unsetenv("SISLIN_REGISTRO");
    const std::vector<std::string> uma_vez = linhas_de(mesmo.arquivos.at(kEntrega));
    EXPECT_EQ(uma_vez.size(),
              linhas_de(executa_aula({"pratica", "gauss", "D04-AWYXSTS"}, {}, "s\n", true)
                            .arquivos.at("registro.jsonl"))
                  .size());

    // Without --aluno no hand-in file and no line about it (the record's bytes are pinned by
    // the practice's own tests).
    const Corrida sem = executa_aula({"pratica", "gauss", "D04-AWYXSTS"}, {}, "s\n", true);
    EXPECT_EQ(sem.arquivos.size(), 1U);
    EXPECT_EQ(sem.e.saida.find("Registro para entregar"), std::string::npos);
    EXPECT_EQ(sem.arquivos.at("registro.jsonl").find("\"aluno\""), std::string::npos);
}

TEST(PraticaEntrega, Recusas) {
    const struct {
        std::vector<std::string> palavras;
        const char* erro;
    } casos[] = {
        {{"pratica", "gauss", "3", "--aluno", "2026001"},
         "--aluno pede o CODIGO do exercicio da tarefa, nao N"},
        {{"pratica", "gauss", "D04-AWYXSTS", "--aluno", "jo\xC3\xA3o"},
         "a matricula so pode ter letras sem acento, algarismos e . - _ @"},
        {{"pratica", "gauss", "D04-AWYXSTS", "--aluno"}, "--aluno pede a matricula"},
    };
    for (const auto& c : casos) {
        const Corrida r = executa_aula(c.palavras, {}, "s\n");
        EXPECT_EQ(r.e.status, 1);
        EXPECT_EQ(r.e.saida, "");
        EXPECT_EQ(r.e.erros, std::string("sislin-aula: ") + c.erro + "\n");
        EXPECT_TRUE(r.arquivos.empty());
    }
    // The hand-in file's name taken by a folder.
    const fs::path dir = pasta_temporaria("sislin-entrega-XXXXXX");
    fs::create_directory(dir / "ana-D04-AWYXSTS.jsonl");
    const Corrida r =
        executa_aula({"pratica", "gauss", "D04-AWYXSTS", "--aluno", "ANA"}, {}, "s\n", false, &dir);
    fs::remove_all(dir);
    EXPECT_EQ(r.e.status, 1);
    EXPECT_EQ(r.e.erros,
              "sislin-aula: o registro para entregar ana-D04-AWYXSTS.jsonl nao pode ser aberto\n");
}

}  // namespace
