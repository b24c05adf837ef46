// Practice mode (sislin-aula pratica): the engine in process (a student who types the program's
// own values ends with the kernels' result bit for bit; each named mistake, scripted, gets its
// name; a wrong value accepted is carried forward; undo restores the arrays), and the command
// end to end with its record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "dialogo.h"
#include "json_mini.h"
#include "methods.h"
#include "pratica.h"
#include "sistemas.h"

namespace fs = std::filesystem;
using namespace sislin;
using namespace sislin::aula;

namespace {

struct Caso {
    const char* nome;
    int n;
    std::vector<float> A;
    std::vector<float> b;
};

// The value as a student copies it from the program's printout: 9 significant digits.
std::string nove_algarismos(float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    return buf;
}

bool mesmos_bits(float a, float b) {
    return kt::bits(a) == kt::bits(b);
}

// Systems of every size, random (seeded) and by hand: a zero pivot, ties, an exchange.
std::vector<Caso> casos() {
    std::vector<Caso> r = {
        {"pivo nulo", 2, {0, 1, 1, 1}, {1, 2}},
        {"empate", 2, {2, 1, -2, 3}, {3, 1}},
        {"troca", 3, {1, 2, 3, 4, 5, 6, 7, 8, 10}, {1, 2, 3}},
        {"um", 1, {4}, {3}},
        {"singular", 2, {1, 2, 2, 4}, {1, 3}},  // infinities, then NaN in the residual
    };
    std::mt19937 gerador(20261210U);
    std::uniform_real_distribution<float> u(-10.0f, 10.0f);
    for (int n = 2; n <= kMaiorPratica; ++n) {
        Caso c{"aleatorio", n, {}, {}};
        for (int k = 0; k < n * n; ++k) c.A.push_back(u(gerador));
        for (int k = 0; k < n; ++k) c.b.push_back(u(gerador));
        r.push_back(c);
    }
    return r;
}

// The program's work set on the case's data after the practice's method: choice 6 reads y from
// b7.txt, the residual (7) follows Gauss with partial pivoting, the inverse (8) LU; the sweeps
// stop at the precision 1e-4 or after 25.
void realiza(kt::Modelo& m, int metodo) {
    for (int i = 1; i <= m.n && metodo == 6; ++i) m.y[i] = m.b[i];
    if (metodo == 7 || metodo == 8) m.realiza(metodo == 7 ? 2 : 3, 0, 0);
    m.realiza(metodo, 1e-4f, 25);
}
kt::Mat matriz(const Caso& c) {
    kt::Mat A(c.n);
    for (int i = 1; i <= c.n; ++i)
        for (int j = 1; j <= c.n; ++j)
            A[i][j] = c.A[static_cast<std::size_t>((i - 1) * c.n + j - 1)];
    return A;
}
kt::Vec vetor(const Caso& c) {
    kt::Vec b(c.n);
    for (int i = 1; i <= c.n; ++i) b[i] = c.b[static_cast<std::size_t>(i - 1)];
    return b;
}

// The steps of a method on a system of dimension n.
int passos_de(int metodo, int n) {
    if (metodo >= 9) return -1;  // as many sweeps as it takes
    if (metodo == 7) return n + 1;
    if (metodo == 8) return 2 * n;
    if (metodo >= 5) return n;
    int total = metodo <= 2 ? n : 0;
    for (int k = 1; k < n; ++k) {
        if (metodo == 2 || metodo == 4) ++total;
        total += (n - k) * (n - k + (metodo <= 2 ? 2 : 1));
    }
    return total + (metodo == 4 ? 1 : 0);
}

TEST(PraticaDiferencial, QuemDigitaOsValoresDoProgramaAcertaTudoETerminaComOKernel) {
    for (const int metodo : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) {
        for (const Caso& c : casos()) {
            SCOPED_TRACE(std::string(c.nome) + " n=" + std::to_string(c.n) + " metodo " +
                         std::to_string(metodo));
            kt::Modelo k(matriz(c), vetor(c), c.n);
            realiza(k, metodo);
            for (const int digitos : {0, 4}) {
                Pratica p(metodo, c.n, c.A, c.b, digitos);
                int passos = 0;
                while (!p.concluida()) {
                    const Conferencia r =
                        p.confere(std::strtof(nove_algarismos(p.do_programa()).c_str(), nullptr));
                    ASSERT_EQ(r.marca, Marca::Certo) << p.pergunta().nome;
                    ++passos;
                }
                EXPECT_TRUE(metodo >= 9 || passos == passos_de(metodo, c.n)) << passos;
                const Quadro& q = p.aluno();
                for (int i = 1; i <= c.n; ++i) {
                    // The inverse's column 1 stands in x.
                    EXPECT_TRUE(mesmos_bits(q.x[i], metodo == 8 ? k.Inv[i][1] : k.x[i])) << i;
                    EXPECT_TRUE(metodo != 5 || mesmos_bits(q.y[i], k.y[i])) << i;
                    EXPECT_TRUE(metodo > 2 || mesmos_bits(q.b[i], k.b[i])) << i;
                    EXPECT_TRUE(metodo != 7 || mesmos_bits(q.r[i], k.r[i])) << i;
                    EXPECT_TRUE(metodo != 4 || q.pos[i] == k.pos[i]) << i;
                    // Elimination: the upper triangle; the factorisation: both factors.
                    for (int j = metodo <= 2 ? i : 1; j <= c.n && metodo <= 4; ++j)
                        EXPECT_TRUE(mesmos_bits(q.A[i][j], k.A[i][j])) << i << "," << j;
                }
                EXPECT_TRUE(metodo != 4 || mesmos_bits(q.det, k.det));
                // The last change of the sweeps, the residual's error.
                EXPECT_TRUE((metodo < 9 && metodo != 7) || mesmos_bits(q.erro, k.erro));
                EXPECT_EQ(p.resumo().nota, 100);
            }
        }
    }
}

// Takes the expected value (shown) until the step named.
void ate(Pratica& p, const std::string& nome) {
    while (!p.concluida() && p.pergunta().nome != nome) p.mostra();
    ASSERT_FALSE(p.concluida()) << nome;
}

struct Engano {
    int metodo;
    std::vector<float> A;  // 3 x 3
    std::vector<float> b;
    const char* passo;   // the step where the slip is typed
    float valor;         // the slip
    const char* engano;  // nullptr: errado without a name
};

TEST(PraticaEnganos, CadaDeslizeRoteirizadoRecebeOSeuNome) {
    const std::vector<float> A = {2, 1, 1, 4, 3, 3, 8, 7, 9};
    const std::vector<float> b = {4, 10, 24};
    // a[2][2] = 3 - 2*1 = 1; b[2] = 10 - 2*4 = 2; m[3][1] = 4.
    const std::vector<float> R = {3, 1000, 1, 1, 333, 3, 2, 1, 5};  // m[2][1] = 1/3
    const std::vector<float> I = {4, 1, 2, 5};
    const std::vector<float> bi = {6, 12};
    const std::vector<float> T = {2, 1, 1, -2, 3, 3, 1, 7, 9};  // a tie in column 1
    const Engano casos[] = {
        {1, A, b, "m[2][1]", -2.0f, "sinal-do-multiplicador"},
        {1, A, b, "m[2][1]", 0.5f, "multiplicador-invertido"},
        {1, A, b, "m[3][1]", 2.0f, "linha-errada"},                          // a[2][1] / a[1][1]
        {1, {2, 3, 1, 4, 3, 3, 8, 7, 9}, b, "m[2][1]", 1.5f, "transposto"},  // a[1][2] / a[1][1]
        {1, A, b, "a[2][2]", 5.0f, "sinal-do-multiplicador"},                // 3 + 2*1
        {1, A, b, "a[2][2]", 2.5f, "multiplicador-invertido"},               // 3 - 1/2
        {1, A, b, "b[2]", 1.0f, "copiado-do-passo-anterior"},                // a[2][3]'s value
        {1, A, b, "b[2]", 10.0f, "b-nao-atualizado"},
        {1, A, b, "b[2]", 18.0f, "sinal-do-multiplicador"},
        {1, R, b, "a[2][2]", -0.3f, "arredondado-a-quatro-casas"},
        {1, A, b, "a[3][3]", -3.0f, "linha-errada"},  // a[2][3] - m[3][1] * a[1][3]
        {1, A, b, "m[2][1]", 7.0f, nullptr},
        // Sweep 1 from x = 0: Jacobi (1.5, 2.4), change 2.4; Gauss-Seidel (1.5, 1.8).
        {9, I, bi, "x[2]", 1.8f, "gauss-seidel-no-lugar-de-jacobi"},
        {10, I, bi, "x[2]", 2.4f, "jacobi-no-lugar-de-gauss-seidel"},
        {9, I, bi, "Erro", 3.9f, "outra-norma"},     // |1.5| + |2.4|
        {9, I, bi, "Erro", 2.8302f, "outra-norma"},  // the square root of 1.5^2 + 2.4^2
        {9, I, bi, "para", 1.0f, nullptr},           // 2.4 > 0.0001: it goes on
        {4, A, b, "det", -4.0f, "sem-troca"},        // two exchanges: det = +4
        // L y = b: y[2] = 3 - a[2][1] * y[1] = 1; with a[1][2] for a[2][1], 3 - 5 * 1.
        {5, {1, 5, 0, 2, 1, 0, 3, 4, 1}, {1, 3, 5}, "y[2]", -2.0f, "transposto"},
        {2, A, b, "p[1]", 1.0f, "sem-troca"},
        {2, A, b, "p[1]", 2.0f, "pivo-nao-maior"},
        {2, T, b, "p[1]", 2.0f, "pivo-nao-maior"},  // |−2| = |2|: the first row stays
        {2, A, b, "p[1]", 4.0f, nullptr},           // not a row of the column
    };
    for (const Engano& e : casos) {
        SCOPED_TRACE(std::string(e.passo) + " " + std::to_string(e.valor));
        Pratica p(e.metodo, static_cast<int>(e.b.size()), e.A, e.b, 4);
        ate(p, e.passo);
        const Conferencia c = p.confere(e.valor);
        EXPECT_EQ(c.marca, Marca::Errado);
        if (e.engano == nullptr) {
            EXPECT_EQ(c.engano, nullptr) << c.engano;
        } else {
            ASSERT_NE(c.engano, nullptr) << c.explicacao;
            EXPECT_STREQ(c.engano, e.engano) << c.explicacao;
        }
        EXPECT_FALSE(c.explicacao.empty());
    }
}

TEST(PraticaEnganos, NoModoExatoQuatroAlgarismosNaoSaoUmEngano) {
    // m[2][1] = 1/3: 0.3333 agrees to 4 digits, and so does the value with every input rounded
    // to four decimals (the right value itself): no mistake is named.
    Pratica p(1, 3, {3, 1000, 1, 1, 333, 3, 2, 1, 5}, {4, 10, 24}, 0);
    const Conferencia c = p.confere(0.3333f);
    EXPECT_EQ(c.marca, Marca::Errado);
    EXPECT_EQ(c.engano, nullptr) << c.engano;
    EXPECT_NE(c.explicacao.find("4 algarismos"), std::string::npos) << c.explicacao;
    EXPECT_EQ(p.confere(0.333333343f).marca, Marca::Certo);
}

TEST(PraticaEnganos, ValorErradoAceitoSegueAdianteEOProgramaNao) {
    Pratica p(1, 3, {2, 1, 1, 4, 3, 3, 8, 7, 9}, {4, 10, 24}, 4);
    EXPECT_FALSE(p.aceita());  // nothing wrong yet
    EXPECT_EQ(p.confere(3.0f).marca, Marca::Errado);
    ASSERT_EQ(p.aceita(), 3.0f);
    EXPECT_EQ(p.historico().back().como, Como::Aceito);
    // a[2][2] = 3 - 3*1 with the accepted multiplier; the program keeps its own 2.
    EXPECT_EQ(p.esperado(), 0.0f);
    EXPECT_EQ(p.do_programa(), 1.0f);
    const Conferencia c = p.confere(0.0f);
    EXPECT_EQ(c.marca, Marca::Certo);
    EXPECT_EQ(c.programa, 1.0f);
}

TEST(PraticaEnganos, DesfazerVoltaOsArraysDeAntes) {
    Pratica p(2, 3, {2, 1, 1, 4, 3, 3, 8, 7, 9}, {4, 10, 24}, 4);
    const Quadro antes = p.aluno();
    ASSERT_EQ(p.confere(3.0f).marca, Marca::Certo);  // the exchange of rows 1 and 3
    for (int k = 0; k < 4; ++k) p.mostra();
    EXPECT_EQ(p.desfaz(10), 5);
    EXPECT_EQ(std::memcmp(&antes, &p.aluno(), sizeof antes), 0);
    EXPECT_EQ(p.passo(), 1);
    EXPECT_EQ(p.desfaz(1), 0);
    p.mostra();
    p.mostra();
    const Quadro dois = p.aluno();
    p.mostra();
    EXPECT_EQ(p.desfaz(1), 1);
    EXPECT_EQ(std::memcmp(&dois, &p.aluno(), sizeof dois), 0);
}

TEST(PraticaConcorda, AlgarismosSignificativosEModoExato) {
    EXPECT_TRUE(concorda(0.3333f, 1.0f / 3.0f, 4));
    EXPECT_FALSE(concorda(0.333f, 1.0f / 3.0f, 4));
    EXPECT_TRUE(concorda(0.333f, 1.0f / 3.0f, 3));
    EXPECT_TRUE(concorda(1.0f, 0.99996f, 4));
    EXPECT_FALSE(concorda(0.3333f, 1.0f / 3.0f, 0));
    EXPECT_TRUE(concorda(0.333333343f, 1.0f / 3.0f, 0));
    EXPECT_TRUE(concorda(NAN, NAN, 4));
    EXPECT_FALSE(concorda(0.0f, NAN, 4));
    EXPECT_TRUE(concorda(-INFINITY, -INFINITY, 0));
    EXPECT_FALSE(concorda(1e-7f, 0.0f, 4));
}

// ---- End to end.

struct Sessao {
    Execucao e;
    std::vector<std::string> registro;
};

Sessao corre(const std::string& argumentos, const std::string& entrada, bool com_arquivos = true,
             const char* a7 = "2 1 1\n4 3 3\n8 7 9\n", const char* b7 = "4\n10\n24\n") {
    const fs::path dir = pasta_temporaria("sislin-pratica-XXXXXX");
    if (com_arquivos) {
        grava(dir / "a7.txt", a7);
        grava(dir / "b7.txt", b7);
    }
    std::vector<std::string> comando = comando_sislin_aula();
    comando.emplace_back("pratica");
    for (std::string& w : palavras(argumentos)) comando.push_back(std::move(w));
    setenv("SISLIN_REGISTRO", "registro.jsonl", 1);
    Sessao s;
    s.e = executa_comando(comando, dir.string(), entrada);
    unsetenv("SISLIN_REGISTRO");
    s.registro = linhas_de(le_arquivo(dir / "registro.jsonl"));
    fs::remove_all(dir);
    return s;
}

std::vector<std::string> eventos(const Sessao& s, const char* evento) {
    std::vector<std::string> r;
    const std::string prefixo = std::string(R"({"evento":")") + evento + "\"";
    for (const std::string& l : s.registro)
        if (l.rfind(prefixo, 0) == 0) r.push_back(l);
    return r;
}

TEST(PraticaConsole, SessaoCompletaComDicaErroEDesfazer) {
    // Gauss on 2 1 1 / 4 3 3 / 8 7 9: m21 2, a22 1, a23 1, b2 2, m31 4, a32 3, a33 5, b3 8,
    // m32 3, a33 2, b3 2; x3 1, x2 1, x1 1.
    const Sessao s = corre("gauss 3", "d\n-2\n2\n1\nu\n1\n1\n2\n4\n3\n5\n8\n3\n2\n2\n1\n1\n1\n");
    EXPECT_EQ(s.e.status, 0) << s.e.erros;
    EXPECT_NE(s.e.saida.find("m[2][1] = a[2][1] / a[1][1] = Dica: m[2][1] = a[2][1] / a[1][1] = "
                             "4 / 2\n"),
              std::string::npos)
        << s.e.saida;
    EXPECT_NE(s.e.saida.find("Errado (sinal-do-multiplicador)"), std::string::npos);
    EXPECT_NE(s.e.saida.find("Desfeito: 1 passo; de volta ao passo 2\n"), std::string::npos);
    EXPECT_NE(s.e.saida.find("Resumo: 14 passos, 13 certos de primeira, 1 dicas, 0 mostrados, 0 "
                             "aceitos. Nota 93 de 100.\n"),
              std::string::npos)
        << s.e.saida;
    ASSERT_GE(s.registro.size(), 3U);
    EXPECT_EQ(s.registro[0],
              R"({"evento":"inicio","programa":"sislin-aula","comando":"pratica","formato":1,)"
              R"("metodo":1,"rotulo":"Gauss","n":3,"digitos":4,"codigo":null,)"
              R"("esperas":[{"de":"passo","texto":"o valor pedido, ou d, m, a, u, h, s"}]})");
    EXPECT_EQ(s.registro[1],
              R"({"evento":"dados","n":3,"A":[[2,1,1],[4,3,3],[8,7,9]],"b":[4,10,24]})");
    EXPECT_EQ(s.registro.back(), R"({"evento":"fim","status":0,"causa":"concluido"})");
    EXPECT_EQ(eventos(s, "resumo").at(0),
              R"({"evento":"resumo","passos":14,"certos_de_primeira":13,"dicas":1,"mostrados":0,)"
              R"("aceitos":0,"nota":93})");
    const std::vector<std::string> respostas = eventos(s, "resposta");
    EXPECT_EQ(
        respostas.at(0),
        R"({"evento":"resposta","passo":1,"texto":"-2","valor":-2,"esperado":2,"programa":2,)"
        R"("marca":"errado","engano":"sinal-do-multiplicador","explicacao":"o multiplicador e )"
        R"x(a[2][1] / a[1][1], sem o sinal de menos (a linha recebe a - m * pivo)","tentativa":1})x");
    // Undo: the state written after it is the one before the undone step.
    const std::vector<std::string> estados = eventos(s, "estado");
    EXPECT_EQ(estados.at(3), estados.at(1));
    EXPECT_EQ(eventos(s, "desfaz").at(0), R"({"evento":"desfaz","passos":1,"volta_a":2})");
    // Every read is announced.
    EXPECT_EQ(eventos(s, "espera").size(), 18U);
}

TEST(PraticaConsole, FimDaEntradaSairERecusas) {
    const Sessao fim = corre("1 3", "2\nh\nxyz\n");
    EXPECT_NE(fim.e.saida.find(" = 1. m[2][1] = 2 (certo)\n"), std::string::npos) << fim.e.saida;
    EXPECT_EQ(fim.e.status, 1);
    EXPECT_EQ(fim.registro.back(), R"({"evento":"fim","status":1,"causa":"fim-da-entrada"})");
    EXPECT_EQ(
        eventos(fim, "rejeitada").at(0),
        R"({"evento":"rejeitada","de":"passo","motivo":"nao e um numero nem um comando: xyz"})");
    EXPECT_EQ(eventos(fim, "fim-da-entrada").at(0), R"({"evento":"fim-da-entrada","de":"passo"})");

    const Sessao sair = corre("gauss-pivoteado 3 --digitos exato", "3\ns\n");
    EXPECT_EQ(sair.e.status, 0);
    EXPECT_EQ(sair.registro.back(), R"({"evento":"fim","status":0,"causa":"sair"})");
    EXPECT_NE(sair.registro[0].find(R"("digitos":0)"), std::string::npos);
    EXPECT_NE(sair.e.saida.find("p[1] = a linha de maior |a[i][1]|, i de 1 a 3 = Certo.\n"),
              std::string::npos)
        << sair.e.saida;

    const struct {
        const char* args;
        const char* erro;
    } recusas[] = {
        {"gauss 11", "sislin-aula: pratica pede N de 1 a 10\n"},
        {"cholesky 3",
         "sislin-aula: metodo desconhecido: cholesky (1 a 10, ou gauss, gauss-pivoteado, lu, "
         "lu-pivoteado, ly, ux, residuo, inversa, jacobi, gauss-seidel)\n"},
        {"inversa 3 --coluna 4", "sislin-aula: --coluna pede C, de 1 a N\n"},
        {"jacobi 3 --limite 0", "sislin-aula: --limite pede um inteiro de 1 a 100\n"},
        {"gauss 3 --digitos 12", "sislin-aula: --digitos pede D, de 1 a 9, ou exato\n"},
        {"gauss", "sislin-aula: pratica pede METODO e N ou um CODIGO\n"},
    };
    for (const auto& r : recusas) {
        const Sessao s = corre(r.args, "");
        EXPECT_EQ(s.e.status, 1) << r.args;
        EXPECT_EQ(s.e.erros, r.erro);
        EXPECT_EQ(s.e.saida, "");
    }
    const Sessao sem = corre("gauss 3", "", false);
    EXPECT_EQ(sem.e.status, 1);
    EXPECT_NE(sem.e.erros.find("b7.txt"), std::string::npos) << sem.e.erros;
}

TEST(PraticaConsole, IteracaoComDecisaoDeParar) {
    // One sweep of Jacobi from x = 0 with the limit 1: x = (1.5, 2.4), change 2.4, then stop.
    const Sessao s =
        corre("jacobi 2 --limite 1", "1,5\n2.4\n2.4\nx\nn\ns\n", true, "4 1\n2 5\n", "6\n12\n");
    EXPECT_EQ(s.e.status, 0) << s.e.erros;
    EXPECT_NE(s.e.saida.find("para = Erro <= 0.0001 ou k = 1 (sim ou nao) = Responda sim (s) ou "
                             "nao (n), ou um comando: x\n"),
              std::string::npos)
        << s.e.saida;
    EXPECT_EQ(s.registro.back(), R"({"evento":"fim","status":0,"causa":"concluido"})");
    EXPECT_NE(s.registro.at(0).find(R"("precisao":1e-04,"limite":1)"), std::string::npos);
    const std::vector<std::string> estados = eventos(s, "estado");
    EXPECT_EQ(estados.back(),
              R"({"evento":"estado","passo":4,"A":[[4,1],[2,5]],"b":[6,12],"x":[1.5,2.4],)"
              R"("Erro":2.4,"k":1})");
    const Sessao sair =
        corre("gauss-seidel 2", "1.5\n1.8\n1.8\nsair\n", true, "4 1\n2 5\n", "6\n12\n");
    EXPECT_EQ(sair.e.status, 0);
    EXPECT_EQ(sair.registro.back(), R"({"evento":"fim","status":0,"causa":"sair"})");
}

TEST(PraticaConsole, CodigoDeExercicio) {
    const Sessao s = corre("2 S03-000ANCE", "m\nm\nm\nm\nm\ns\n", false);
    EXPECT_EQ(s.e.status, 0) << s.e.erros;
    EXPECT_NE(s.registro.at(0).find(R"("codigo":"S03-000ANCE")"), std::string::npos)
        << s.registro.at(0);
    EXPECT_EQ(eventos(s, "mostra").size(), 5U);
}

// Every line of real sessions of every method satisfies docs/pratica.schema.json (read from the
// sources): a session of "m" only (every value shown), one that asks a hint, replies wrong,
// accepts, is shown a value, undoes both, is refused, asks the history and then types the values
// shown (right to the end), one that quits and one whose input ends.
TEST(PraticaRegistro, CadaLinhaDeCadaMetodoSatisfazOEsquema) {
    const json_mini::Valor esquema =
        json_mini::le(le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / "pratica.schema.json"));
    for (int metodo = 1; metodo <= 10; ++metodo) {
        SCOPED_TRACE("metodo " + std::to_string(metodo));
        const std::string args = std::to_string(metodo) + " 3";
        std::string mostra;
        for (int k = 0; k < 400; ++k) mostra += "m\n";
        const Sessao todos = corre(args, mostra);
        // The values shown, typed back as the student's replies (9 digits; s/n to stop).
        std::string certos;
        std::string onde;
        for (const std::string& l : todos.registro) {
            const json_mini::Valor e = json_mini::le(l);
            if (e.em("evento").texto == "pergunta") onde = e.em("onde").texto;
            if (e.em("evento").texto != "mostra") continue;
            const float v = static_cast<float>(e.em("valor").numero);
            certos += onde == "para" ? (v != 0.0f ? "s\n" : "n\n") : nove_algarismos(v) + "\n";
        }
        const Sessao sessoes[] = {
            todos,
            corre(args, "d\n999\na\nm\nu 2\nxyz\nh\n" + certos),
            corre(args, "m\n999\ns\n"),
            corre(args, "d\n"),
        };
        EXPECT_EQ(sessoes[0].registro.back(), R"({"evento":"fim","status":0,"causa":"concluido"})");
        EXPECT_EQ(sessoes[1].registro.back(), R"({"evento":"fim","status":0,"causa":"concluido"})");
        EXPECT_NE(eventos(sessoes[1], "resumo").at(0).find(R"("aceitos":)"), std::string::npos);
        EXPECT_EQ(sessoes[2].registro.back(), R"({"evento":"fim","status":0,"causa":"sair"})");
        EXPECT_EQ(sessoes[3].registro.back(),
                  R"({"evento":"fim","status":1,"causa":"fim-da-entrada"})");
        int linhas = 0;
        for (const Sessao& s : sessoes)
            for (const std::string& l : s.registro) {
                EXPECT_EQ(json_mini::valida(json_mini::le(l), esquema, esquema), "") << l;
                ++linhas;
            }
        // Each kind of event of the session appears at least once in these four.
        for (const char* evento :
             {"inicio", "dados", "estado", "pergunta", "espera", "resposta", "dica", "mostra",
              "desfaz", "rejeitada", "resumo", "fim-da-entrada", "fim"}) {
            std::size_t vistos = 0;
            for (const Sessao& s : sessoes) vistos += eventos(s, evento).size();
            EXPECT_GT(vistos, 0U) << evento;
        }
        EXPECT_GT(linhas, 40);
    }
}

// The guide's practice sessions: each block after a line "<!-- pratica ARGS: INPUT -->" is the
// whole output of sislin-aula pratica ARGS with that input, on the guide's 3 x 3 system.
TEST(PraticaGuia, ASessaoDoGuiaEOQueOProgramaImprime) {
    const std::string guia = le_arquivo(fs::path(SISLIN_SOURCE_DIR) / "docs" / "guia.md");
    const std::string marca = "<!-- pratica ";
    int blocos = 0;
    for (std::size_t i = guia.find(marca); i != std::string::npos; i = guia.find(marca, i + 1)) {
        const std::size_t dois_pontos = guia.find(": ", i);
        const std::size_t fim = guia.find(" -->\n```text\n", i);
        ASSERT_NE(fim, std::string::npos);
        const std::string args = guia.substr(i + marca.size(), dois_pontos - i - marca.size());
        std::string entrada;
        for (std::size_t k = dois_pontos + 2; k < fim; ++k) {
            if (guia.compare(k, 2, "\\n") == 0) {
                entrada += '\n';
                ++k;
            } else {
                entrada += guia[k];
            }
        }
        const std::size_t inicio = fim + 13;
        const std::string bloco = guia.substr(inicio, guia.find("```", inicio) - inicio);
        const Sessao s = corre(args, entrada, true);
        EXPECT_EQ(s.e.saida, bloco) << args;
        ++blocos;
    }
    EXPECT_EQ(blocos, 1);
}

}  // namespace
