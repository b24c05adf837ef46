// Class assignments: the key and the id as typed, and the seed derived from them, which must be
// the same on every platform (the table pins codes) and distinct across a class.
#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "codigo.h"
#include "csv.h"
#include "lista_turma.h"
#include "tarefa.h"
#include "turma.h"

using namespace sislin::aula;

namespace {

struct CasoCodigo {
    const char* chave;
    const char* matricula;
    Tipo tipo;
    int n;
    const char* codigo;
};

// Codes pinned when the derivation was written; every port and the page must give them.
const CasoCodigo kCodigos[] = {
#include "turma_codigos.inc"
};

TEST(Turma, CodigosFixados) {
    for (const CasoCodigo& c : kCodigos) {
        const auto e = exercicio_da_turma(c.chave, c.matricula, c.tipo, c.n);
        ASSERT_TRUE(e.has_value()) << c.chave << " / " << c.matricula;
        EXPECT_EQ(escreve_codigo(*e), c.codigo) << c.chave << " / " << c.matricula;
    }
}

// Blanks and case do not count; another kind, n or key, or a leading zero, is another seed.
TEST(Turma, NormalizacaoDaChaveEDaMatricula) {
    const auto semente = [](const char* chave, const char* id, Tipo tipo = Tipo::D, int n = 4) {
        return exercicio_da_turma(chave, id, tipo, n)->semente;
    };
    const std::uint32_t a = semente("Calculo  Numerico 2026", " 2026A17 ");
    EXPECT_EQ(a, semente("  calculo numerico 2026 ", "2026a17"));
    for (const std::uint32_t outra : {semente("calculo numerico 2026", "2026a17", Tipo::G),
                                      semente("calculo numerico 2026", "2026a17", Tipo::D, 5),
                                      semente("calculo numerico 2027", "2026a17")})
        EXPECT_NE(a, outra);
    EXPECT_NE(semente("chave", "007"), semente("chave", "7"));
}

TEST(Turma, RecusasComMotivo) {
    const struct {
        const char* texto;
        bool chave;
        const char* motivo;
    } casos[] = {
        {"x", true, "pelo menos 4"},
        {"   ab  ", true, "pelo menos 4"},
        {"chave\x01", true, "letras sem acento"},
        {"cha\xC3\xA7"
         "ao",
         true, "letras sem acento"},
        {"", false, "vazia"},
        {"   ", false, "vazia"},
        {"20 26", false, "espaco"},
        {"jo\xC3\xA3o", false, "letras sem acento"},
        {"a,b", false, "letras sem acento"},
    };
    for (const auto& c : casos) {
        const Normalizado r = c.chave ? normaliza_chave(c.texto) : normaliza_matricula(c.texto);
        EXPECT_FALSE(r.texto.has_value()) << c.texto;
        EXPECT_NE(r.erro.find(c.motivo), std::string::npos) << c.texto << ": " << r.erro;
    }
    EXPECT_EQ(*normaliza_chave(" Turma  B\t2026 ").texto, "turma b 2026");
    EXPECT_EQ(*normaliza_matricula("Ana.Souza@Escola").texto, "ana.souza@escola");
    EXPECT_FALSE(exercicio_da_turma("chave", "123", Tipo::S, 2).has_value());  // S starts at 3
}

// 10 000 ids of one class, numeric and not, give valid codes with distinct seeds.
TEST(Turma, DezMilMatriculasDistintas) {
    for (const bool numericas : {true, false}) {
        std::unordered_set<std::uint32_t> sementes;
        for (int i = 0; i < 10000; ++i) {
            const std::string id =
                numericas ? std::to_string(2026000000 + i * 7) : "aluno." + std::to_string(i);
            const auto e = exercicio_da_turma("Turma de 2026", id, Tipo::G, 5);
            ASSERT_TRUE(e.has_value());
            EXPECT_LT(e->semente, kSementes);
            const LeituraCodigo lido = le_codigo(escreve_codigo(*e));
            ASSERT_TRUE(lido.exercicio.has_value()) << lido.erro;
            EXPECT_EQ(lido.exercicio->semente, e->semente);
            sementes.insert(e->semente);
        }
        EXPECT_EQ(sementes.size(), 10000U) << (numericas ? "numericas" : "nomes");
    }
}

}  // namespace

// ---- The assignment's settings and the roster (in process).

namespace {

TEST(Tarefa, OpcoesPadroesFragmentoEJson) {
    std::string erro;
    // Methods in any case, by name or menu number, in the order given; refused with the reason.
    EXPECT_EQ(*le_metodos("Gauss, JACOBI,10", erro),
              (std::vector<std::string>{"gauss", "jacobi", "gauss-seidel"}));
    EXPECT_FALSE(le_metodos("gauss,gauss", erro));
    EXPECT_EQ(erro, "metodo repetido em --metodos: gauss");
    EXPECT_FALSE(le_metodos("gauss,cholesky", erro));
    EXPECT_EQ(erro.rfind("metodo desconhecido: cholesky (os metodos sao gauss, ", 0), 0U) << erro;
    EXPECT_FALSE(le_metodos("gauss,", erro));
    EXPECT_FALSE(le_metodos("", erro));
    EXPECT_EQ(le_digitos("exato"), 0);
    EXPECT_EQ(le_digitos("9"), 9);
    for (const char* d : {"0", "10", "04", "", "Exato"}) EXPECT_FALSE(le_digitos(d)) << d;
    EXPECT_EQ(le_aprovacao("0"), 0);
    EXPECT_EQ(le_aprovacao("100"), 100);
    for (const char* a : {"101", "-1", "6o", ""}) EXPECT_FALSE(le_aprovacao(a)) << a;

    // Defaults by kind.
    const struct {
        const char* tipo;
        const char* metodo;
    } padroes[] = {{"D", "gauss"},           {"g", "gauss"},        {"M", "gauss"},
                   {"P", "gauss-pivoteado"}, {"S", "gauss-seidel"}, {"j", "jacobi"}};
    for (const auto& c : padroes) {
        const auto t = monta_tarefa("Turma A", c.tipo, "4", {}, erro);
        ASSERT_TRUE(t) << erro;
        EXPECT_EQ(t->metodos, std::vector<std::string>{c.metodo}) << c.tipo;
        EXPECT_EQ(t->digitos, 4);
        EXPECT_EQ(t->aprovacao, 60);
    }
    // Refusals: key, kind, n.
    EXPECT_FALSE(monta_tarefa("x", "D", "4", {}, erro));
    EXPECT_EQ(erro, "a chave precisa de pelo menos 4 caracteres");
    EXPECT_FALSE(monta_tarefa("Turma A", "X", "4", {}, erro));
    EXPECT_EQ(erro, "tipo desconhecido: X (os tipos sao D, P, G, M, S e J)");
    EXPECT_FALSE(monta_tarefa("Turma A", "S", "2", {}, erro));
    EXPECT_EQ(erro, "para o tipo S, N vai de 3 a 10");

    Ajustes a;
    a.metodos = std::vector<std::string>{"gauss", "jacobi"};
    a.digitos = 0;
    a.aprovacao = 75;
    const auto t = monta_tarefa("Calculo Numerico 2026", "D", "4", a, erro);
    ASSERT_TRUE(t);
    EXPECT_EQ(fragmento(*t), "#turma=D/4/gauss,jacobi/exato/75/Calculo%20Numerico%202026");
    EXPECT_EQ(json_tarefa(*t), R"({"formato":1,"chave":"calculo numerico 2026","tipo":"D","n":4,)"
                               R"("metodos":["gauss","jacobi"],"digitos":0,"aprovacao":75})");
}

// encodeURIComponent's results (as a browser gives them) for every printable ASCII character
// and a few keys.
TEST(Tarefa, ChaveCodificadaComoEncodeURIComponent) {
    std::string ascii;
    for (char c = ' '; c <= '~'; ++c) ascii += c;
    EXPECT_EQ(codifica_uri(ascii),
              "%20!%22%23%24%25%26'()*%2B%2C-.%2F0123456789%3A%3B%3C%3D%3E%3F%40ABCDEFGHIJKLMNOPQ"
              "RSTUVWXYZ%5B%5C%5D%5E_%60abcdefghijklmnopqrstuvwxyz%7B%7C%7D~");
    EXPECT_EQ(codifica_uri("Turma/B #2 50%"), "Turma%2FB%20%232%2050%25");
    EXPECT_EQ(codifica_uri("a\tb\xC3\xA7"), "a%09b%C3%A7");
}

// The roster's edge cases, one table: the file's bytes, the students read (line:id:name, ...),
// the rows set aside (line:reason | ...) and the file's refusal ("line: reason").
struct CasoLista {
    const char* nome;
    std::string texto;
    const char* alunos;
    const char* ignoradas;
    const char* erro;
};

std::string resumo_alunos(const Lista& l) {
    std::string r;
    for (const AlunoDaLista& a : l.alunos)
        r += (r.empty() ? "" : ", ") + std::to_string(a.linha) + ":" + a.matricula + ":" + a.nome;
    return r;
}
std::string resumo_ignoradas(const Lista& l) {
    std::string r;
    for (const LinhaIgnorada& i : l.ignoradas)
        r += (r.empty() ? "" : " | ") + std::to_string(i.linha) + ":" + i.motivo;
    return r;
}

TEST(ListaDaTurma, CasosDeBorda) {
    using namespace std::string_literals;
    const CasoLista casos[] = {
        {"sem cabecalho", "2026001,Ana\n2026002,Bruno\n", "1:2026001:Ana, 2:2026002:Bruno", "", ""},
        {"so a matricula", "2026001\n\n2026002\n", "1:2026001:, 3:2026002:", "", ""},
        {"BOM e CRLF", "\xEF\xBB\xBFmatricula,nome\r\n2026001,Ana\r\n", "2:2026001:Ana", "", ""},
        {"ponto e virgula", "Nome;Matricula\nSouza, Ana;2026001\n", "2:2026001:Souza, Ana", "", ""},
        {"virgula com ponto e virgula entre aspas", "id,nome,\"a;b;c\"\n7,Ana,x\n", "2:7:Ana", "",
         ""},
        {"aspas com virgula, aspas e linha", "id,nome\n1,\"Lima, \"\"B\"\"\nJr\"\n2,Eva\n",
         "2:1:Lima, \"B\"\nJr, 4:2:Eva", "", ""},
        {"cabecalho com acento e maiusculas",
         "  MATR\xC3\x8D"
         "CULA ; Nome Completo\n9;Ana\n",
         "2:9:Ana", "", ""},
        {"cabecalho username", "email,username,Full\nx@y,Ana.S,Ana\n", "2:ana.s:", "", ""},
        {"cabecalho RA e aluno", "Aluno,RA\nAna,123\n", "2:123:Ana", "", ""},
        {"CR sozinho", "1,Ana\r2,Eva\r", "1:1:Ana, 2:2:Eva", "", ""},
        {"linhas em branco e celulas vazias", "\n1,Ana\n,,\n , \n2,Eva", "2:1:Ana, 5:2:Eva", "",
         ""},
        {"matricula vazia", "id,nome\n,Ana\n2,Eva\n", "3:2:Eva", "2:sem matricula", ""},
        {"matricula com espaco", "1 2,Ana\n3,Eva\n", "2:3:Eva",
         "1:matricula 1 2 recusada: a matricula tem espaco", ""},
        {"matricula com acento", "jo\xC3\xA3o,Joao\n3,Eva\n", "2:3:Eva",
         "1:matricula jo\xC3\xA3o recusada: a matricula so pode ter letras sem acento, "
         "algarismos e . - _ @",
         ""},
        {"repetida depois da caixa", "Ana.S,Ana\nana.s,Outra\n ANA.S ,Mais\n", "1:ana.s:Ana",
         "2:matricula ana.s repetida (ja na linha 1) | 3:matricula ana.s repetida (ja na "
         "linha 1)",
         ""},
        {"cabecalho sem matricula", "Nome,Email\nAna,a@b\n", "", "",
         "1: o cabecalho nao tem a coluna da matricula (matricula, id, username, usuario ou ra)"},
        {"so o cabecalho", "id\n\n,\n", "", "",
         "0: nenhuma linha da lista tem uma matricula aceita"},
        {"so recusadas", "a b\n", "", "1:matricula a b recusada: a matricula tem espaco",
         "0: nenhuma linha da lista tem uma matricula aceita"},
        {"vazio", "", "", "", "0: a lista esta vazia"},
        {"byte nulo", "1,Ana\n2,E\0va\n"s, "", "",
         "2: nao e texto (tem um byte nulo); salve a lista como CSV UTF-8"},
        {"planilha", "PK\x03\x04\x14\0\0\0"s, "", "",
         "0: e uma planilha ou um arquivo compactado, nao um CSV; salve a lista como CSV UTF-8"},
        {"UTF-16", "\xFF\xFEi\0d\0"s, "", "", "0: esta em UTF-16; salve a lista como CSV UTF-8"},
        {"Latin-1", "1,Ana\n2,Jo\xE3o\n", "", "",
         "2: nao e texto UTF-8 (uma planilha salva em outra codificacao?); salve a lista como "
         "CSV UTF-8"},
        {"UTF-8 truncado no fim", "1,Ana\xC3", "", "",
         "1: nao e texto UTF-8 (uma planilha salva em outra codificacao?); salve a lista como "
         "CSV UTF-8"},
        {"aspas sem fim", "1,Ana\n2,\"Eva\n3,Bia\n", "", "", "2: aspas abertas e nunca fechadas"},
    };
    for (const CasoLista& c : casos) {
        SCOPED_TRACE(c.nome);
        const Lista l = le_lista(c.texto);
        EXPECT_EQ(resumo_alunos(l), c.alunos);
        EXPECT_EQ(resumo_ignoradas(l), c.ignoradas);
        EXPECT_EQ(l.erro.empty() ? "" : std::to_string(l.erro_linha) + ": " + l.erro, c.erro);
    }
}

// What the program writes reads back the same: cells with commas, quotes, line ends, blanks
// and accents.
TEST(ListaDaTurma, CsvEscritoVoltaIgual) {
    const std::vector<std::vector<std::string>> tabela = {
        {"matricula", "nome", "codigo"},
        {"1", "Lima, \"B\" Jr", "D04-AWYXSTS"},
        {"2", "linha\r\ne outra", ""},
        {"3", "Jo\xC3\xA3o;Souza", "x"},
        {"4", "\"", ","},
    };
    std::string texto;
    for (const auto& l : tabela) texto += linha_csv(l);
    EXPECT_EQ(linha_csv(tabela[1]), "1,\"Lima, \"\"B\"\" Jr\",D04-AWYXSTS\r\n");
    const TabelaCsv lida = le_csv(texto);
    ASSERT_EQ(lida.erro, "");
    EXPECT_EQ(lida.separador, ',');
    ASSERT_EQ(lida.linhas.size(), tabela.size());
    for (std::size_t i = 0; i < tabela.size(); ++i) EXPECT_EQ(lida.linhas[i].celulas, tabela[i]);
    EXPECT_EQ(lida.linhas[3].linha, 5);  // the line end inside the row before counts
}

}  // namespace
