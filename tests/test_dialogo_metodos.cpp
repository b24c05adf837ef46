// The operations of the menu, end to end, on small systems whose results are known by hand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dialogo.h"
#include "sistemas.h"

namespace sislin {

namespace {

const std::string kPrompt = "Entre com a dimensao da matriz = ";
const std::string M = kMenu;

// A = [[2, 1], [4, 3]], b = (3, 7): solution (1, 1).
const std::string kA = "2 1\n4 3\n";
const std::string kB = "3 7\n";
const std::string kEco =
    kPrompt + "Matriz lida:\n2 \t1 \t\n4 \t3 \t\nVetor de termos independentes lido:\n3 \n7 \n" + M;

// A = [[4, 1], [2, 5]], b = (6, 12): for the iterations.
const std::string kAI = "4 1\n2 5\n";
const std::string kBI = "6 12\n";
const std::string kEcoI =
    kPrompt + "Matriz lida:\n4 \t1 \t\n2 \t5 \t\nVetor de termos independentes lido:\n6 \n12 \n" +
    M;

const std::string kLuPivotado =
    "Matriz LU resultante:\n 4.0000\t 3.0000\t\n 0.5000\t-0.5000\t\n"
    "Determinante = 2\npos[ 1]=2 \npos[ 2]=1 \n";
const std::string kSolucao11 = "\nVetor solucao:\nx[ 1]=1 \nx[ 2]=1 \n";
const std::string kPerguntas =
    "Entre com a precisao requerida = \nEntre com o numero maximo de iteracoes = ";
const std::string kJacobi = "------Metodo Iterativo de Jacobi------\n";
const std::string kSeidel = "-----Metodo Iterativo de Gauss-Seidel-----\n";
const std::string kCabecalho2 = "k\tx[1]\tx[2]\tErro\n0\t 0.0000\t 0.0000\t\n";

TEST(Gauss, SemPivoteamento) {
    espera(executa_sislin(kA, kB, "2\n1\n0\n"),
           kEco + "Matriz A resultante:\n 2.0000\t 1.0000\t\n0\t 1.0000\t\n" + kSolucao11 + M);
}

TEST(Gauss, ComPivoteamentoDuasVezesSeguidas) {
    // The second run works on the eliminated system: the stale 2 below the diagonal is the
    // candidate of column 1 again, row 1 keeps the pivot, and the system changes once more.
    espera(executa_sislin(kA, kB, "2\n2\n2\n0\n"),
           kEco + "Matriz A resultante:\n 4.0000\t 3.0000\t\n0\t-0.5000\t\n" + kSolucao11 + M +
               "Matriz A resultante:\n 4.0000\t 3.0000\t\n0\t-2.0000\t\n" +
               "\nVetor solucao:\nx[ 1]=0.25 \nx[ 2]=2 \n" + M);
}

TEST(Gauss, PivoZeroDaInfinitos) {
    espera(executa_sislin("0 1\n1 1\n", "1 2\n", "2\n1\n0\n"),
           kPrompt +
               "Matriz lida:\n0 \t1 \t\n1 \t1 \t\nVetor de termos independentes lido:\n1 \n2 \n" +
               M + "Matriz A resultante:\n 0.0000\t 1.0000\t\n0\t   -inf\t\n" +
               "\nVetor solucao:\nx[ 1]=nan \nx[ 2]=nan \n" + M);
}

TEST(LU, PivoteadoResolveEmEtapas) {
    espera(executa_sislin(kA, kB, "2\n4\n5\n6\n0\n"),
           kEco + kLuPivotado + M + "b[ 1]=7 \nb[ 2]=3 \nSolucao y resultante:\n7 \n-0.5 \n" + M +
               kSolucao11 + M);
}

TEST(LU, SemPivoteamentoDepoisDeGauss) {
    // Choice 3 factorises the eliminated matrix, stale lower entry included.
    espera(executa_sislin(kA, kB, "2\n1\n3\n0\n"),
           kEco + "Matriz A resultante:\n 2.0000\t 1.0000\t\n0\t 1.0000\t\n" + kSolucao11 + M +
               "Matriz LU resultante:\n 2.0000\t 1.0000\t\n 2.0000\t-1.0000\t\n" + M);
}

TEST(LU, PivoteadoDepoisDeGaussAindaTomaBDaCopia) {
    // After choice 1, A = [[2, 1], [4 (stale), 1]]: the stale 4 wins the pivot search, the rows
    // are exchanged, det = -(4 * 0.5), and b comes from b0 in the new order.
    espera(executa_sislin(kA, kB, "2\n1\n4\n5\n0\n"),
           kEco + "Matriz A resultante:\n 2.0000\t 1.0000\t\n0\t 1.0000\t\n" + kSolucao11 + M +
               "Matriz LU resultante:\n 4.0000\t 1.0000\t\n 0.5000\t 0.5000\t\n" +
               "Determinante = -2\npos[ 1]=2 \npos[ 2]=1 \n" + M +
               "b[ 1]=7 \nb[ 2]=3 \nSolucao y resultante:\n7 \n-0.5 \n" + M);
}

TEST(Residuo, DepoisDaSolucaoPivoteadaEPausa) {
    // The pause takes the line end after 7 and the empty line that follows.
    espera(executa_sislin(kA, kB, "2\n4\n5\n6\n7\n\n0\n"),
           kEco + kLuPivotado + M + "b[ 1]=7 \nb[ 2]=3 \nSolucao y resultante:\n7 \n-0.5 \n" + M +
               kSolucao11 + M + "\nVetor Residuo:\nr[ 1]=0 \nr[ 2]=0 \n\nErro = 0\n" + M);
}

TEST(Residuo, MedidoContraOsDadosLidos) {
    // Choice 2 twice leaves x = (0.25, 2): against A0 and b0 the residual is (0.5, 0).
    const std::string dois = "Matriz A resultante:\n 4.0000\t 3.0000\t\n0\t-0.5000\t\n" +
                             kSolucao11 + M +
                             "Matriz A resultante:\n 4.0000\t 3.0000\t\n0\t-2.0000\t\n" +
                             "\nVetor solucao:\nx[ 1]=0.25 \nx[ 2]=2 \n" + M;
    espera(executa_sislin(kA, kB, "2\n2\n2\n7\nresto da linha\n0\n"),
           kEco + dois + "\nVetor Residuo:\nr[ 1]=0.5 \nr[ 2]=0 \n\nErro = 0.5\n" +
               // "esto da linha" stays for the menu: not a number, the line is discarded.
               M + M);
}

TEST(Residuo, FimDaEntradaNaPausa) {
    espera(executa_sislin(kA, kB, "2\n7"),
           kEco + "\nVetor Residuo:\nr[ 1]=3 \nr[ 2]=7 \n\nErro = 7\n" + M + "\n");
}

TEST(Inversa, DepoisDeLU) {
    espera(executa_sislin(kA, kB, "2\n3\n8\n5\n0\n"),
           kEco + "Matriz LU resultante:\n 2.0000\t 1.0000\t\n 2.0000\t 1.0000\t\n" + M +
               "Matriz Inversa resultante:\n 1.5000\t-0.5000\t\n-2.0000\t 1.0000\t\n" + M +
               // b holds the last unit vector.
               "b[ 1]=0 \nb[ 2]=1 \nSolucao y resultante:\n0 \n1 \n" + M);
}

TEST(Inversa, DepoisDeLUPivoteadoTemAsColunasTrocadas) {
    espera(executa_sislin(kA, kB, "2\n4\n8\n0\n"),
           kEco + kLuPivotado + M +
               "Matriz Inversa resultante:\n-0.5000\t 1.5000\t\n 1.0000\t-2.0000\t\n" + M);
}

TEST(Iterativos, JacobiDuasIteracoes) {
    espera(executa_sislin(kAI, kBI, "2\n9\n0.001\n2\n0\n"),
           kEcoI + kPerguntas + kJacobi + kCabecalho2 + "1\t 1.5000\t 2.4000\t 2.4000\n" +
               "2\t 0.9000\t 1.8000\t 0.6000\n" + "Nao houve convergencia em 2 iteracoes" + M);
}

TEST(Iterativos, GaussSeidelDuasIteracoes) {
    espera(executa_sislin(kAI, kBI, "2\n10\n0.001\n2\n0\n"),
           kEcoI + kPerguntas + kSeidel + kCabecalho2 + "1\t 1.5000\t 1.8000\t 1.8000\n" +
               "2\t 1.0500\t 1.9800\t 0.4500\n" + "Nao houve convergencia em 2 iteracoes" + M);
}

TEST(Iterativos, LimiteZeroOuNegativo) {
    const std::string zero =
        kPerguntas + kJacobi + kCabecalho2 + "Nao houve convergencia em 0 iteracoes" + M;
    espera(executa_sislin(kAI, kBI, "2\n9\n0.001\n0\n9\n0.001\n-5\n0\n"), kEcoI + zero + zero);
}

TEST(Iterativos, PrecisaoInalcancavelOuJaAtingida) {
    // 2147483648 is the starting error: no sweep, no message. A negative precision is never
    // reached: the limit is used up.
    espera(executa_sislin(kAI, kBI, "2\n10\n2147483648\n5\n9\n-1\n3\n0\n"),
           kEcoI + kPerguntas + kSeidel + kCabecalho2 + M + kPerguntas + kJacobi + kCabecalho2 +
               "1\t 1.5000\t 2.4000\t 2.4000\n" + "2\t 0.9000\t 1.8000\t 0.6000\n" +
               "3\t 1.0500\t 2.0400\t 0.2400\n" + "Nao houve convergencia em 3 iteracoes" + M);
}

TEST(Iterativos, ConvergeSemMensagem) {
    // Converging to (0, 1): the fifth change, 0.0002, is within the precision.
    espera(executa_sislin(kAI, "1 5\n", "2\n10\n0.001\n100\n0\n"),
           kPrompt +
               "Matriz lida:\n4 \t1 \t\n2 \t5 \t\nVetor de termos independentes lido:\n1 \n5 \n" +
               M + kPerguntas + kSeidel + kCabecalho2 + "1\t 0.2500\t 0.9000\t 0.9000\n" +
               "2\t 0.0250\t 0.9900\t 0.2250\n" + "3\t 0.0025\t 0.9990\t 0.0225\n" +
               "4\t 0.0002\t 0.9999\t 0.0023\n" + "5\t 0.0000\t 1.0000\t 0.0002\n" + M);
}

TEST(Iterativos, JacobiDepoisDeGaussUsaOSistemaEliminado) {
    // After choice 1: A = [[4, 1], [2 (stale), 4.5]], b = (6, 9).
    const std::string gauss = "Matriz A resultante:\n 4.0000\t 1.0000\t\n0\t 4.5000\t\n" +
                              std::string("\nVetor solucao:\nx[ 1]=1 \nx[ 2]=2 \n") + M;
    espera(executa_sislin(kAI, kBI, "2\n1\n9\n0\n1\n0\n"),
           kEcoI + gauss + kPerguntas + kJacobi + kCabecalho2 + "1\t 1.5000\t 2.0000\t 2.0000\n" +
               "Nao houve convergencia em 1 iteracoes" + M);
}

TEST(Iterativos, RespostasInvalidasEFimDaEntrada) {
    espera(executa_sislin(kAI, kBI, "2\n9\nabc\n0.5\nx\n99999999999\n0\n0\n"),
           kEcoI + "Entre com a precisao requerida = " + kPerguntas +
               "\nEntre com o numero maximo de iteracoes = " +
               "\nEntre com o numero maximo de iteracoes = " + kJacobi + kCabecalho2 +
               "Nao houve convergencia em 0 iteracoes" + M);
    espera(executa_sislin(kAI, kBI, "2\n9\n"), kEcoI + "Entre com a precisao requerida = \n", 1);
    espera(executa_sislin(kAI, kBI, "2\n9\n0.1\n"), kEcoI + kPerguntas + "\n", 1);
}

TEST(Falhas, NuncaApresentadasComoSucesso) {
    // A singular system, zero diagonals: a residual holding NaN has the error nan, a sweep
    // whose change is NaN prints it and stops with the message.
    const std::string eco3 = kPrompt +
                             "Matriz lida:\n1 \t2 \t3 \t\n4 \t5 \t6 \t\n7 \t8 \t9 \t\n"
                             "Vetor de termos independentes lido:\n6 \n15 \n24 \n" +
                             M;
    const std::string eco2 = kPrompt +
                             "Matriz lida:\n0 \t1 \t\n1 \t1 \t\nVetor de termos independentes "
                             "lido:\n1 \n2 \n" +
                             M;
    const struct {
        const char *a7, *b7, *entrada;
        std::string saida;
    } casos[] = {
        {"1 2 3\n4 5 6\n7 8 9\n", "6 15 24\n", "3\n1\n7\n\n0\n",
         eco3 +
             "Matriz A resultante:\n 1.0000\t 2.0000\t 3.0000\t\n0\t-3.0000\t-6.0000\t\n"
             "0\t0\t 0.0000\t\n\nVetor solucao:\nx[ 1]=nan \nx[ 2]=nan \nx[ 3]=nan \n" +
             M + "\nVetor Residuo:\nr[ 1]=nan \nr[ 2]=nan \nr[ 3]=nan \n\nErro = nan\n" + M},
        {"0 1\n1 1\n", "1 2\n", "2\n10\n0.001\n10\n0\n",
         eco2 + kPerguntas + kSeidel + kCabecalho2 + "1\t    inf\t   -inf\t    inf\n" +
             "2\t    inf\t   -inf\t    nan\nNao houve convergencia em 2 iteracoes" + M},
        {"0 1\n1 1\n", "1 2\n", "2\n9\n0\n2\n7\n\n0\n",
         eco2 + kPerguntas + kJacobi + kCabecalho2 + "1\t    inf\t 2.0000\t    inf\n" +
             "2\t   -inf\t   -inf\t    inf\nNao houve convergencia em 2 iteracoes" + M +
             "\nVetor Residuo:\nr[ 1]=nan \nr[ 2]=inf \n\nErro = nan\n" + M},
        {"4 1\n2 5\n", "6 12\n", "2\n9\nnan\n5\n0\n",
         kEcoI + kPerguntas + kJacobi + kCabecalho2 + "Nao houve convergencia em 0 iteracoes" + M},
    };
    for (const auto& c : casos) espera(executa_sislin(c.a7, c.b7, c.entrada), c.saida);
}

TEST(DimensaoZero, CadaOperacaoSoImprimeOsTitulos) {
    const std::string eco = kPrompt + "Matriz lida:\nVetor de termos independentes lido:\n" + M;
    espera(executa_sislin("", "", "0\n1\n2\n3\n4\n5\n6\n7\n\n8\n9\n0\n5\n0\n"),
           eco + "Matriz A resultante:\n\nVetor solucao:\n" + M +
               "Matriz A resultante:\n\nVetor solucao:\n" + M + "Matriz LU resultante:\n" + M +
               "Matriz LU resultante:\nDeterminante = 1\n" + M + "Solucao y resultante:\n" + M +
               "\nVetor solucao:\n" + M + "\nVetor Residuo:\n\nErro = 0\n" + M +
               "Matriz Inversa resultante:\n" + M + kPerguntas + kJacobi + "k\tErro\n0\t\n" +
               "1\t 0.0000\n" + M);
}

// The whole program gives the same bytes whichever set SISLIN_ISA names, and a name that is
// unknown, or of a set this processor lacks, falls back to one that runs.
TEST(Caminhos, OMesmoProgramaEmTodoConjunto) {
    const int n = 40;
    const kt::Mat A = kt::matriz(n, kt::Tipo::Dominante, 9);
    const kt::Vec b = kt::vetor(n, kt::Tipo::Dominante, 9);
    std::string a7, b7;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) a7 += std::to_string(A[i][j]) + " ";
        a7 += "\n";
        b7 += std::to_string(b[i]) + "\n";
    }
    const std::string entrada = std::to_string(n) + "\n4\n5\n6\n7\n\n8\n9\n0\n50\n0\n";
    std::string primeira;
    for (const char* isa : {"referencia", "generico", "avx2", "avx512", "simd128", "neon", ""}) {
        ::setenv("SISLIN_ISA", isa, 1);
        const Execucao e = executa_sislin(a7, b7, entrada);
        EXPECT_EQ(e.status, 0) << isa;
        if (primeira.empty()) primeira = e.saida;
        EXPECT_EQ(e.saida, primeira) << isa;
    }
    ::unsetenv("SISLIN_ISA");
    kt::pula_se_faltam_conjuntos();
}

// SISLIN_ISA_DEBUG=1: one line on standard error names the set that runs and why, once however
// many kernels run (LU, then the inverse). The program may be built for another processor than
// the tests (an emulated one): its own best set is the one it names when SISLIN_ISA is unset.
TEST(Caminhos, ODepuradorDizQualConjuntoRodaEPorque) {
    ::setenv("SISLIN_ISA_DEBUG", "1", 1);
    const auto linha = [](const std::string& isa) {
        ::setenv("SISLIN_ISA", isa.c_str(), 1);
        const Execucao e = executa_sislin(kA, kB, "2\n3\n8\n0\n");
        EXPECT_EQ(e.status, 0) << isa;
        return e.erros;
    };
    const std::string melhor = linha("");
    ASSERT_TRUE(melhor.starts_with("sislin: conjunto ") &&
                melhor.ends_with(" (o melhor deste processador)\n"))
        << melhor;
    const std::string ignorado = melhor.substr(0, melhor.size() - 2) + "; SISLIN_ISA=";
    EXPECT_EQ(linha("referencia"), "sislin: conjunto referencia (SISLIN_ISA=referencia)\n");
    EXPECT_EQ(linha("generico"), "sislin: conjunto generico (SISLIN_ISA=generico)\n");
    EXPECT_EQ(linha("neon"), ignorado + "neon desconhecido, ignorado)\n");
    // A set of one processor family: taken where the program's processor runs it.
    for (const std::string isa : {"avx2", "avx512", "simd128"}) {
        const std::string l = linha(isa);
        EXPECT_TRUE(l == "sislin: conjunto " + isa + " (SISLIN_ISA=" + isa + ")\n" ||
                    l == ignorado + isa + " indisponivel neste processador, ignorado)\n")
            << l;
    }
    ::unsetenv("SISLIN_ISA");
    ::unsetenv("SISLIN_ISA_DEBUG");
}

}  // namespace

}  // namespace sislin
