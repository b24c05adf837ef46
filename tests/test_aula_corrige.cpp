// sislin-aula corrige: a class's hand-in files made by the real `sislin-aula pratica CODIGO
// --aluno ID` on scripted input (one generator of sessions), graded in process and end to end.
// A session right to the end scores 100 and the replay agrees with the console's own summary
// for every kind of input; each tampering is flagged in its own row while the others are still
// graded; the CSV reads back; the whole output of a small class is pinned byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "corrige.h"
#include "csv.h"
#include "dialogo.h"
#include "json_leitura.h"
#include "turma.h"

namespace fs = std::filesystem;
using namespace sislin;
using namespace sislin::aula;

namespace {

const char* const kChave = "Calculo Numerico 2026";

std::string codigo_de(const std::string& aluno) {
    return escreve_codigo(*exercicio_da_turma(kChave, aluno, Tipo::D, 3));
}

// One run of the practice: the record it leaves (the hand-in file with --aluno, the
// SISLIN_REGISTRO file without).
struct Rodada {
    Execucao e;
    std::string registro;
};

Rodada pratica(const std::string& args, const std::string& aluno, const std::string& entrada) {
    std::vector<std::string> p = palavras("pratica " + args);
    if (!aluno.empty()) p.insert(p.end(), {"--aluno", aluno});
    const Corrida c = executa_aula(p, {}, entrada, aluno.empty());
    Rodada r{c.e, ""};
    for (const auto& [nome, conteudo] : c.arquivos)
        if (fs::path(nome).extension() == ".jsonl") r.registro = conteudo;
    return r;
}

// The replies that are right at every step, as a student copies the program's values (9
// significant digits; s or n at the decision to stop): read from a session of "m" only.
std::vector<std::string> certos(const std::string& args) {
    std::string todos;
    for (int k = 0; k < 3000; ++k) todos += "m\n";
    const Rodada r = pratica(args, "", todos);
    std::vector<std::string> v;
    std::string onde;
    for (const std::string& l : linhas_de(r.registro)) {
        const ValorJson e = *le_json(l).valor;
        const std::string evento = e.membro("evento")->texto;
        if (evento == "pergunta") onde = e.membro("onde")->texto;
        if (evento != "mostra") continue;
        const std::string& t = e.membro("valor")->texto;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.9g", std::strtod(t.c_str(), nullptr));
        v.emplace_back(onde == "para" ? (t != "0" ? "s" : "n") : buf);
    }
    return v;
}

// How a scripted student goes through a method.
enum class Jeito {
    Certo,   // every value right at the first reply
    Misto,   // accepts nothing, undoes nothing, asks a hint, replies wrong, accepts it, undoes,
             // is shown a value, undoes, asks the history, types nonsense and an empty line,
             // then asks a hint, is right, is wrong once, and right to the end
    Engano,  // the first value with its sign changed (a named mistake), then every value right
    Sai,     // the first value, then s
    Acaba,   // the first value, then the input ends
};

std::string entrada(Jeito jeito, const std::vector<std::string>& v) {
    std::string t;
    switch (jeito) {
        case Jeito::Certo:
            break;
        case Jeito::Misto:
            // Undone steps leave no trace in the marks: then a hint on the first step and a
            // wrong reply on the second.
            t = "a\nu\nd\n999\na\nu\nm\nu 5\nh\nxyz\n\nd\n" + v.at(0) + "\n999\n";
            for (std::size_t k = 1; k < v.size(); ++k) t += v[k] + "\n";
            return t;
        case Jeito::Engano:
            t = (v.at(0)[0] == '-' ? v[0].substr(1) : "-" + v[0]) + "\n";
            break;
        case Jeito::Sai:
            return v.at(0) + "\ns\n";
        case Jeito::Acaba:
            return v.at(0) + "\n";
    }
    for (const std::string& s : v) t += s + "\n";
    return t;
}

// The hand-in file of a student who practised these methods so (options after each method).
std::string entrega(const std::string& aluno, const std::vector<std::pair<std::string, Jeito>>& m,
                    const std::string& opcoes = "") {
    std::string r;
    for (const auto& [metodo, jeito] : m) {
        const std::string args = metodo + " " + codigo_de(aluno) + " " + opcoes;
        const Rodada rodada = pratica(args, aluno, entrada(jeito, certos(args)));
        EXPECT_EQ(rodada.e.erros, "") << args;
        r += rodada.registro;
    }
    return r;
}

// The console's own resumo events of a file, in order.
std::vector<ValorJson> resumos(const std::string& arquivo) {
    std::vector<ValorJson> r;
    for (const std::string& l : linhas_de(arquivo)) {
        ValorJson e = *le_json(l).valor;
        if (e.membro("evento")->texto == "resumo") r.push_back(std::move(e));
    }
    return r;
}

int membro_int(const ValorJson& e, const char* nome) {
    return *e.membro(nome)->inteiro();
}

std::string alertas(const LinhaCorrecao& l) {
    std::string t;
    for (int k = 0; k < kNumeroAlertas; ++k)
        if (l.tem(static_cast<Alerta>(k)))
            t += std::string(t.empty() ? "" : ";") + nome_alerta(static_cast<Alerta>(k));
    return t;
}

TEST(CorrigeJson, LeOQueORegistroEscreveERecusaOResto) {
    const ValorJson v =
        *le_json(R"( {"a":[1,-2.5e-3,"x\"\\\u0041\n"],"b":{"c":null,"d":true}} )").valor;
    EXPECT_EQ(json_compacto(v), R"({"a":[1,-2.5e-3,"x\"\\A\n"],"b":{"c":null,"d":true}})");
    EXPECT_EQ(v.membro("a")->itens[1].texto, "-2.5e-3");
    EXPECT_EQ(le_json(R"("\ud83d\ude00")").valor->texto, "\xF0\x9F\x98\x80");
    for (const char* ruim : {"", "{", R"({"a":1,"a":2})", "[1,]", "01", "1.", "tru", R"("a)",
                             "\"\x01\"", R"("\ud83d")", "[1] 2", "{'a':1}"})
        EXPECT_FALSE(le_json(ruim).valor) << ruim;
    EXPECT_FALSE(le_json(std::string(kMaiorProfundidade + 1, '[')).valor);
    EXPECT_TRUE(
        le_json(std::string(kMaiorProfundidade, '[') + std::string(kMaiorProfundidade, ']')).valor);
}

// Every kind of session of three methods (one iterative): the replay agrees with what the
// console printed in the record's resumo, nothing is flagged, a right session scores 100.
TEST(CorrigeTurma, AReproducaoConcordaComOConsoleEmCadaTipoDeSessao) {
    const std::pair<const char*, Jeito> casos[] = {
        {"gauss", Jeito::Certo},         {"gauss", Jeito::Misto},   {"lu-pivoteado", Jeito::Certo},
        {"lu-pivoteado", Jeito::Misto},  {"jacobi", Jeito::Certo},  {"jacobi", Jeito::Misto},
        {"gauss-seidel", Jeito::Engano}, {"inversa", Jeito::Misto}, {"gauss", Jeito::Sai},
        {"jacobi", Jeito::Acaba},
    };
    int k = 0;
    for (const auto& [metodo, jeito] : casos) {
        const std::string aluno = "2026" + std::to_string(100 + k++);
        SCOPED_TRACE(std::string(metodo) + " " + aluno);
        const std::string arquivo = entrega(aluno, {{metodo, jeito}});
        OpcoesCorrecao op;
        op.chave = kChave;
        const Correcao r = corrige(op, {{aluno + "-" + codigo_de(aluno) + ".jsonl", arquivo}});
        ASSERT_EQ(r.linhas.size(), 1U);
        const LinhaCorrecao& l = r.linhas[0];
        const bool concluida = jeito != Jeito::Sai && jeito != Jeito::Acaba;
        EXPECT_EQ(alertas(l), concluida ? "" : "incompleto");
        for (const Aviso& a : r.avisos) ADD_FAILURE() << texto_aviso(a);
        EXPECT_EQ(l.matricula, aluno);
        EXPECT_EQ(l.codigo, codigo_de(aluno));
        const NotaMetodo& m =
            l.metodos[static_cast<std::size_t>(metodo_pratica(metodo)->numero - 1)];
        const ValorJson console = resumos(arquivo).at(0);
        EXPECT_EQ(m.resumo.passos, membro_int(console, "passos"));
        EXPECT_EQ(m.resumo.certos_de_primeira, membro_int(console, "certos_de_primeira"));
        EXPECT_EQ(m.resumo.dicas, membro_int(console, "dicas"));
        EXPECT_EQ(m.resumo.mostrados, membro_int(console, "mostrados"));
        EXPECT_EQ(m.resumo.aceitos, membro_int(console, "aceitos"));
        EXPECT_EQ(m.concluido, concluida);
        EXPECT_EQ(l.nota, concluida ? membro_int(console, "nota") : 0);
        EXPECT_EQ(l.nota == 100, jeito == Jeito::Certo);
        EXPECT_EQ(l.situacao(60),
                  concluida ? (l.nota >= 60 ? "aprovado" : "reprovado") : "conferir");
    }
}

std::string troca(std::string t, const std::string& de, const std::string& para) {
    const std::size_t i = t.find(de);
    EXPECT_NE(i, std::string::npos) << de;
    if (i != std::string::npos) t.replace(i, de.size(), para);
    return t;
}

// Every number after the member named made valor.
std::string todos_os_numeros(std::string t, const std::string& membro, const std::string& valor) {
    for (std::size_t i = t.find(membro); i != std::string::npos; i = t.find(membro, i + 1)) {
        const std::size_t inicio = i + membro.size();
        const std::size_t fim = t.find_first_not_of("0123456789", inicio);
        t.replace(inicio, fim - inicio, valor);
    }
    return t;
}

// The first entry of the dados line's A made 77.
std::string outro_sistema(const std::string& t) {
    const std::size_t dados = t.find(R"({"evento":"dados")");
    const std::size_t a = t.find("[[", dados) + 2;
    return t.substr(0, a) + "77" + t.substr(t.find(',', a));
}

// A class where every tampering has a row of its own beside two honest students: each row
// carries its flag, and every row that is a record is still graded from the replay.
TEST(CorrigeTurma, CadaAdulteracaoESinalizadaNaSuaLinhaEAsOutrasSaoCorrigidas) {
    const std::vector<std::pair<std::string, Jeito>> ambos = {{"gauss", Jeito::Misto},
                                                              {"jacobi", Jeito::Certo}};
    const auto nome = [](const std::string& aluno) {
        return aluno + "-" + codigo_de(aluno) + ".jsonl";
    };
    struct Caso {
        std::string aluno;
        std::string arquivo;
        std::string alertas;  // exactly these
        int nota = -1;        // -1: as the untouched file's
    };
    std::vector<Caso> casos;
    std::map<std::string, std::string> honestos;
    for (const char* aluno : {"2026001", "2026002", "marca", "valor", "resumo", "sistema",
                              "duas-vezes", "original", "cortado", "repete", "bom"})
        honestos[aluno] = entrega(aluno, ambos);
    honestos["repete"] = entrega("repete", {{"gauss", Jeito::Sai}}) + honestos["repete"];
    casos.push_back({"2026001", honestos["2026001"], ""});
    casos.push_back({"2026002", honestos["2026002"], ""});
    casos.push_back({"marca", troca(honestos["marca"], R"("marca":"errado")", R"("marca":"certo")"),
                     "editado"});
    casos.push_back(
        {"valor",
         troca(honestos["valor"], R"("texto":"999","valor":999)", R"("texto":"999","valor":998)"),
         "editado"});
    casos.push_back({"resumo", todos_os_numeros(honestos["resumo"], R"("nota":)", "1"), "editado"});
    casos.push_back({"sistema", outro_sistema(honestos["sistema"]), "sistema-diferente"});
    casos.push_back({"duas-vezes", honestos["duas-vezes"], "duplicado;matricula-repetida"});
    casos.push_back({"duas-vezes", honestos["duas-vezes"], "duplicado;matricula-repetida"});
    casos.push_back({"original", honestos["original"], "duplicado"});
    casos.push_back(
        {"copia",
         troca(troca(honestos["original"], R"("aluno":"original")", R"("aluno":"copia")"),
               R"("aluno":"original")", R"("aluno":"copia")"),
         "codigo-de-outra-matricula;duplicado"});
    const std::string& c = honestos["cortado"];
    casos.push_back(
        {"cortado", c.substr(0, c.find(R"("evento":"resposta")") + 20), "cortado;incompleto", 0});
    casos.push_back({"repete", honestos["repete"], "repetido"});
    casos.push_back({"bom", "\xEF\xBB\xBF" + honestos["bom"], "editado"});
    casos.push_back({"lista", "matricula,nome\r\n2026003,Ana\r\n", "nao-e-registro", 0});
    casos.push_back({"vazio", "", "nao-e-registro", 0});

    std::vector<Entrega> entregas;
    for (const Caso& k : casos) entregas.push_back({nome(k.aluno), k.arquivo});
    OpcoesCorrecao op;
    op.chave = kChave;
    const Correcao r = corrige(op, entregas);
    ASSERT_EQ(r.linhas.size(), casos.size());
    EXPECT_EQ(r.metodos, (std::vector<int>{1, 9}));
    // The untouched files' scores, by student.
    std::map<std::string, int> notas;
    for (const auto& [aluno, arquivo] : honestos) {
        const std::vector<ValorJson> rs = resumos(arquivo);
        notas[aluno] =
            (membro_int(rs.at(rs.size() - 2), "nota") + membro_int(rs.back(), "nota") + 1) / 2;
    }
    for (std::size_t k = 0; k < casos.size(); ++k) {
        const LinhaCorrecao& l = r.linhas[k];
        SCOPED_TRACE(l.arquivo);
        EXPECT_EQ(alertas(l), casos[k].alertas);
        EXPECT_EQ(l.corrigido, casos[k].alertas != "nao-e-registro");
        const std::string original = casos[k].aluno == "copia" ? "original" : casos[k].aluno;
        EXPECT_EQ(l.nota, casos[k].nota >= 0 ? casos[k].nota : notas[original]);
        EXPECT_EQ(l.situacao(60), casos[k].alertas.empty()
                                      ? (l.nota >= 60 ? "aprovado" : "reprovado")
                                      : "conferir");
    }
    // The flags the options bring: another number of digits, another stopping rule, a method
    // outside the assignment.
    op.digitos = 4;
    op.metodos = {1};
    const Correcao d = corrige(
        op, {{"d.jsonl", entrega("2026009", {{"gauss", Jeito::Certo}}, "--digitos exato")},
             {"p.jsonl", entrega("2026010", {{"gauss", Jeito::Certo}, {"jacobi", Jeito::Certo}},
                                 "--limite 3")}});
    EXPECT_EQ(alertas(d.linhas[0]), "digitos-diferentes");
    EXPECT_EQ(d.linhas[0].nota, 100);
    EXPECT_EQ(alertas(d.linhas[1]), "parametros-diferentes;metodo-fora-da-tarefa");
    // Without --aluno: the id from the file's name, the row flagged.
    const Rodada sem = pratica("gauss " + codigo_de("2026011"), "",
                               entrada(Jeito::Certo, certos("gauss " + codigo_de("2026011"))));
    op.digitos.reset();
    const Correcao s = corrige(op, {{nome("2026011"), sem.registro}});
    EXPECT_EQ(alertas(s.linhas[0]), "sem-matricula");
    EXPECT_EQ(s.linhas[0].matricula, "2026011");
    EXPECT_EQ(s.linhas[0].nota, 100);
}

// Every byte of a record counts: a record cut anywhere (but its last line end), or with any one
// byte changed, is flagged, and never crashes the grading. Outside the check: the hour and the
// seconds, which no replay can know, and the text of a refused line, which is itself the input
// (another refused text replays the same).
TEST(CorrigeTurma, QualquerCorteOuByteTrocadoESinalizado) {
    const std::string arquivo = entrega("2026020", {{"lu", Jeito::Misto}});
    const std::string nome = "2026020-" + codigo_de("2026020") + ".jsonl";
    OpcoesCorrecao op;
    op.chave = kChave;
    ASSERT_EQ(alertas(corrige(op, {{nome, arquivo}}).linhas[0]), "");
    const std::size_t hora = arquivo.find(R"("hora":)");
    const std::size_t segundos = arquivo.rfind(R"("segundos":)");
    const std::size_t recusada = arquivo.find("nao e um numero nem um comando: ");
    ASSERT_NE(hora, std::string::npos);
    ASSERT_NE(segundos, std::string::npos);
    ASSERT_NE(recusada, std::string::npos);
    int trocas = 0;
    for (std::size_t k = 0; k < arquivo.size(); k += 3) {
        const bool sem_conferencia = (k >= hora && k < arquivo.find(',', hora)) ||
                                     (k >= segundos && k < arquivo.find('}', segundos)) ||
                                     (k >= recusada + 32 && k < arquivo.find('"', recusada));
        std::string trocado = arquivo;
        trocado[k] = trocado[k] == 'x' ? 'y' : 'x';
        const LinhaCorrecao l = corrige(op, {{nome, trocado}}).linhas[0];
        if (!sem_conferencia) {
            EXPECT_TRUE(l.conferir()) << k << ": " << arquivo.substr(k, 30);
            ++trocas;
        }
        if (k + 1 == arquivo.size()) continue;
        const LinhaCorrecao cortado = corrige(op, {{nome, arquivo.substr(0, k)}}).linhas[0];
        EXPECT_TRUE(cortado.conferir()) << k;
        EXPECT_EQ(cortado.nota, 0) << k;
    }
    EXPECT_GT(trocas, 1000);
}

// A small class in a folder: a right student, one with a named mistake on each method, one
// whose mark was changed, an empty file and a roster handed in by mistake. The seconds are set,
// so that the minutes are known.
fs::path turma(std::vector<std::string>& nomes) {
    const fs::path dir = pasta_temporaria("sislin-corrige-turma-XXXXXX");
    const std::vector<std::pair<std::string, Jeito>> certo = {{"gauss", Jeito::Certo},
                                                              {"jacobi", Jeito::Certo}};
    const std::vector<std::pair<std::string, Jeito>> engano = {{"gauss", Jeito::Engano},
                                                               {"jacobi", Jeito::Engano}};
    const auto segundos = [](const std::string& texto, const char* s) {
        return todos_os_numeros(texto, R"("segundos":)", s);
    };
    const std::string arquivos[][2] = {
        {"2026001", segundos(entrega("2026001", certo), "95")},
        {"2026002", segundos(entrega("2026002", engano), "400")},
        {"2026003", troca(segundos(entrega("2026003", engano), "61"), R"("marca":"errado")",
                          R"("marca":"certo")")},
    };
    for (const auto& [aluno, conteudo] : arquivos) {
        nomes.push_back(aluno + "-" + codigo_de(aluno) + ".jsonl");
        grava(dir / nomes.back(), conteudo);
    }
    nomes.emplace_back("vazio.jsonl");
    grava(dir / "vazio.jsonl", "");
    nomes.emplace_back("lista.csv");
    grava(dir / "lista.csv", "matricula,nome\n2026004,Bia\n");
    return dir;
}

Execucao corrige_na_pasta(const fs::path& dir, std::vector<std::string> args) {
    args.insert(args.begin(), "corrige");
    return executa_aula(args, {}, "", false, &dir).e;
}

const char* const kNotas =
    "arquivo,matricula,codigo,gauss_passos,gauss_de_primeira,gauss_dicas,gauss_mostrados,"
    "gauss_nota,jacobi_passos,jacobi_de_primeira,jacobi_dicas,jacobi_mostrados,jacobi_nota,nota,"
    "situacao,enganos,minutos,alertas\r\n"
    "2026001-D03-3W4K0GE.jsonl,2026001,D03-3W4K0GE,14,14,0,0,100,95,95,0,0,100,100,aprovado,,3.2,"
    "\r\n"
    "2026002-D03-F3PPGWS.jsonl,2026002,D03-F3PPGWS,14,13,0,0,93,110,109,0,0,99,96,aprovado,"
    "sinal-do-multiplicador x1,13.3,\r\n"
    "2026003-D03-AJYA8WG.jsonl,2026003,D03-AJYA8WG,14,13,0,0,93,70,69,0,0,99,96,conferir,"
    "sinal-do-multiplicador x1,2.0,editado\r\n"
    "vazio.jsonl,,,,,,,,,,,,,,conferir,,,nao-e-registro\r\n"
    "lista.csv,,,,,,,,,,,,,,conferir,,,nao-e-registro\r\n";

// The whole output of the small class: the summary, a message for each file that is not right
// (the edited mark named with its line), status 1 for the files that are not records, the CSV.
TEST(CorrigeConsole, UmaTurmaPequenaSaidaErrosEStatus) {
    std::vector<std::string> args = {kChave};
    const fs::path dir = turma(args);
    const Execucao e = corrige_na_pasta(dir, args);
    EXPECT_EQ(e.saida,
              "Metodos da tarefa: gauss, jacobi\n"
              "Arquivos lidos: 5\n"
              "Corrigidos: 3\n"
              "Com alertas (situacao conferir): 3\n"
              "  nao-e-registro: 2\n"
              "  editado: 1\n"
              "Nota media: 97.3\n"
              "Aprovacao com nota 60: 3 de 3 corrigidos\n"
              "Situacao: 2 aprovados, 0 reprovados, 3 a conferir\n"
              "Enganos mais frequentes:\n"
              "  sinal-do-multiplicador: 2 vezes, 2 alunos\n"
              "Notas gravadas em notas.csv\n");
    EXPECT_EQ(e.erros,
              "sislin-aula: 2026003-D03-AJYA8WG.jsonl, linha 6: resposta com \"marca\" \"certo\"; "
              "o programa grava \"errado\"\n"
              "sislin-aula: vazio.jsonl: arquivo vazio: nao e um registro de pratica\n"
              "sislin-aula: lista.csv, linha 1: nao e JSON: nao e um valor JSON (coluna 1)\n"
              "sislin-aula: lista.csv: nao e um registro de pratica (nenhum inicio de sislin-aula "
              "pratica)\n");
    EXPECT_EQ(e.status, 1);
    const std::string csv = le_arquivo(dir / "notas.csv");
    EXPECT_EQ(csv, kNotas);
    // Read back the same by this program's reader and by Python's csv module.
    const TabelaCsv lida = le_csv(csv);
    EXPECT_EQ(lida.erro, "");
    std::vector<std::vector<std::string>> celulas;
    for (const LinhaCsv& l : lida.linhas) celulas.push_back(l.celulas);
    EXPECT_EQ(csv_pelo_python(csv).value_or(celulas), celulas);

    // Again: refused without --sobrescrever, nothing touched; with it, the same bytes.
    const Execucao de_novo = corrige_na_pasta(dir, args);
    EXPECT_EQ(de_novo.status, 1);
    EXPECT_EQ(de_novo.saida, "");
    EXPECT_EQ(de_novo.erros,
              "sislin-aula: notas.csv ja existe; use --sobrescrever para substitui-lo\n");
    args.emplace_back("--sobrescrever");
    args.emplace_back("--aprovacao");
    args.emplace_back("97");
    const Execucao sobre = corrige_na_pasta(dir, args);
    EXPECT_EQ(sobre.status, 1);
    EXPECT_NE(sobre.saida.find("Situacao: 1 aprovados, 1 reprovados, 3 a conferir\n"),
              std::string::npos)
        << sobre.saida;
    fs::remove_all(dir);
}

// Refusals: one message, status 1, nothing written.
TEST(CorrigeConsole, RecusasDoPedido) {
    const fs::path dir = pasta_temporaria("sislin-corrige-recusa-XXXXXX");
    grava(dir / "a.jsonl", "");
    const struct {
        std::vector<std::string> args;
        const char* erro;
    } casos[] = {
        {{kChave}, "sislin-aula: corrige pede a CHAVE e ao menos um ARQUIVO\n"},
        {{"abc", "a.jsonl"}, ""},
        {{kChave, "a.jsonl", "--metodos", "cholesky"}, ""},
        {{kChave, "a.jsonl", "--digitos", "12"}, ""},
        {{kChave, "a.jsonl", "--aprovacao", "101"}, ""},
        {{kChave, "a.jsonl", "--saida"}, "sislin-aula: --saida pede o nome do arquivo CSV\n"},
        {{kChave, "a.jsonl", "--json"}, "sislin-aula: opcao desconhecida: --json\n"},
        {{kChave, "a.jsonl", "--saida", "a.jsonl"},
         "sislin-aula: o arquivo de notas a.jsonl esta entre os registros\n"},
    };
    for (const auto& c : casos) {
        const Execucao e = corrige_na_pasta(dir, c.args);
        EXPECT_EQ(e.status, 1) << c.args.back();
        EXPECT_EQ(e.saida, "");
        if (*c.erro != '\0') {
            EXPECT_EQ(e.erros, c.erro);
        } else {
            EXPECT_EQ(e.erros.rfind("sislin-aula: ", 0), 0U) << e.erros;
            EXPECT_EQ(std::count(e.erros.begin(), e.erros.end(), '\n'), 1) << e.erros;
        }
    }
    EXPECT_FALSE(fs::exists(dir / "notas.csv"));
    fs::remove_all(dir);
}

}  // namespace
