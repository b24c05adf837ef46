// Start-up, echo, menu loop and fatal start-up conditions, end to end.
#include <gtest/gtest.h>

#include <string>

#include "dialogo.h"

namespace sislin {

namespace {

const std::string kPrompt = "Entre com a dimensao da matriz = ";
const std::string kA2 = "1 2.5\n3 4\n";
const std::string kB2 = "5 6\n";
const std::string kEco2 =
    "Matriz lida:\n1 \t2.5 \t\n3 \t4 \t\nVetor de termos independentes lido:\n5 \n6 \n";

TEST(Inicio, EcoDaMatrizEDoVetorEMenu) {
    espera(executa_sislin(kA2, kB2, "2\n0\n"), kPrompt + kEco2 + kMenu, 0);
}

TEST(Inicio, QuebrasDeLinhaDoArquivoNaoContam) {
    espera(executa_sislin("1\n2.5\t3\r\n4", "5\n\n6", "2\n0\n"), kPrompt + kEco2 + kMenu, 0);
    espera(executa_sislin("1 2.5 3 4 99 junk", kB2 + " 7 8", "2\n0\n"), kPrompt + kEco2 + kMenu, 0);
}

TEST(Inicio, DimensaoZero) {
    espera(executa_sislin("", "", "0\n0\n"),
           kPrompt + "Matriz lida:\nVetor de termos independentes lido:\n" + kMenu, 0);
}

TEST(Inicio, DimensaoZeroAindaExigeOsArquivos) {
    espera(executa_sislin(std::nullopt, "", "0\n"),
           kPrompt + "O Arquivo a7.txt nao pode ser aberto.\n", 1);
}

TEST(Inicio, ArquivosAusentes) {
    // b7.txt is read first: with both missing only its message is shown.
    espera(executa_sislin(std::nullopt, std::nullopt, "2\n"),
           kPrompt + "O Arquivo b7.txt nao pode ser aberto.\n", 1);
    espera(executa_sislin(std::nullopt, kB2, "2\n"),
           kPrompt + "O Arquivo a7.txt nao pode ser aberto.\n", 1);
}

TEST(Inicio, ArquivoCurtoOuMalFormado) {
    espera(executa_sislin(kA2, "5\n", "2\n"),
           kPrompt +
               "O Arquivo b7.txt nao corresponde as especificacoes.\n"
               "O Arquivo b7.txt possui 1 registros enquanto o problema tem 2 linhas.\n",
           1);
    espera(executa_sislin("1 2\n3 x\n", kB2, "2\n"),
           kPrompt +
               "O Arquivo a7.txt nao corresponde as especificacoes.\n"
               "O Arquivo a7.txt possui 1 registros enquanto o problema tem 2 linhas.\n",
           1);
    espera(executa_sislin("", kB2, "2\n"),
           kPrompt +
               "O Arquivo a7.txt nao corresponde as especificacoes.\n"
               "O Arquivo a7.txt possui 0 registros enquanto o problema tem 2 linhas.\n",
           1);
    // A decimal comma is not a number: 1 is read, then ",5" fails.
    espera(executa_sislin(kA2, "1,5 6\n", "2\n"),
           kPrompt +
               "O Arquivo b7.txt nao corresponde as especificacoes.\n"
               "O Arquivo b7.txt possui 1 registros enquanto o problema tem 2 linhas.\n",
           1);
}

TEST(Inicio, MensagemDeArquivoLeUmCaractereSemEsperar) {
    // The character after the number is taken by the read that follows the message; what comes
    // later is never read.
    espera(executa_sislin(std::nullopt, std::nullopt, "2\n0\n"),
           kPrompt + "O Arquivo b7.txt nao pode ser aberto.\n", 1);
}

TEST(Inicio, DimensaoInvalidaPerguntaDeNovo) {
    espera(executa_sislin(kA2, kB2, "abc def\n-3\n99999999999\n  +2\n0\n"),
           kPrompt + kPrompt + kPrompt + kPrompt + kEco2 + kMenu, 0);
}

TEST(Inicio, FimDaEntradaNaDimensao) {
    espera(executa_sislin(kA2, kB2, ""), kPrompt + "\n", 1);
    espera(executa_sislin(kA2, kB2, "x\n \n"), kPrompt + kPrompt + "\n", 1);
}

TEST(Inicio, DimensaoGrandeDemaisParaAMemoria) {
    espera(executa_sislin(kA2, kB2, "2147483647\n"),
           kPrompt + "Falta memoria para alocar o vetor de ponteiros", 1);
    std::string b;
    for (int i = 0; i < 100000; i++) b += "1\n";
    espera(executa_sislin(kA2, b, "100000\n"),
           kPrompt + "Falta memoria para alocar a matriz de ponteiros.\n", 1);
}

TEST(Menu, RespostasInvalidasMostramOMenuDeNovo) {
    const std::string m = kMenu;
    espera(executa_sislin(kA2, kB2, "2\nsim\n11\n-1\n99999999999\n0\n"),
           kPrompt + kEco2 + m + m + m + m + m, 0);
}

TEST(Menu, AceitaOLimiteSuperior) {
    // 10 asks for a precision; the end of input there ends the run with status 1.
    espera(executa_sislin(kA2, kB2, "2\n10\n"),
           kPrompt + kEco2 + kMenu + "Entre com a precisao requerida = \n", 1);
}

TEST(Menu, FimDaEntradaNoMenuTerminaComoSair) {
    espera(executa_sislin(kA2, kB2, "2\n"), kPrompt + kEco2 + kMenu + "\n", 0);
    espera(executa_sislin(kA2, kB2, "2\n12\n"), kPrompt + kEco2 + kMenu + kMenu + "\n", 0);
}

TEST(Menu, VariasRespostasNaMesmaLinha) {
    espera(executa_sislin(kA2, kB2, "2 11 0\n"), kPrompt + kEco2 + kMenu + kMenu, 0);
}

}  // namespace

}  // namespace sislin
