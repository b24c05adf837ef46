// Bad input end to end: odd bytes in the data files and odd replies at the console.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "dialogo.h"

namespace sislin {

namespace {

namespace fs = std::filesystem;

const std::string kPrompt = "Entre com a dimensao da matriz = ";
const std::string kA2 = "1 2.5\n3 4\n";
const std::string kB2 = "5 6\n";
const std::string kEcoA2 = "Matriz lida:\n1 \t2.5 \t\n3 \t4 \t\n";
const std::string kEcoB2 = "Vetor de termos independentes lido:\n5 \n6 \n";
const std::string kPrec = "Entre com a precisao requerida = ";
const std::string kLimite = "\nEntre com o numero maximo de iteracoes = ";

std::string desencontro(const std::string& arq, int registros, int linhas) {
    return "O Arquivo " + arq + " nao corresponde as especificacoes.\nO Arquivo " + arq +
           " possui " + std::to_string(registros) + " registros enquanto o problema tem " +
           std::to_string(linhas) + " linhas.\n";
}

// Identity matrix of order n as file text.
std::string identidade(int n) {
    std::string s;
    for (int i = 1; i <= n; i++) {
        for (int j = 1; j <= n; j++) s += i == j ? "1 " : "0 ";
        s += "\n";
    }
    return s;
}

std::string eco_identidade(int n) {
    std::string s = "Matriz lida:\n";
    for (int i = 1; i <= n; i++) {
        for (int j = 1; j <= n; j++) s += i == j ? "1 \t" : "0 \t";
        s += "\n";
    }
    return s + "Vetor de termos independentes lido:\n";
}

fs::path dir_temporario() {
    std::string modelo = (fs::temp_directory_path() / "sislin-ruins-XXXXXX").string();
    if (!mkdtemp(modelo.data())) ADD_FAILURE() << "mkdtemp";
    return modelo;
}

TEST(EntradaRuim, LinhasTerminadasEmCRLF) {
    // "%d" stops at the "\r": it is white space for the next read, like the "\n".
    espera(executa_sislin("1 2.5\r\n3 4\r\n", "5\r\n6\r\n", "2\r\n0\r\n"),
           kPrompt + kEcoA2 + kEcoB2 + kMenu, 0);
    espera(executa_sislin(kA2, kB2, "\t2\t\n\t0\r\n"), kPrompt + kEcoA2 + kEcoB2 + kMenu, 0);
}

TEST(EntradaRuim, BytesQueNaoSaoNumeros) {
    // A byte-order mark is not white space: the first number already fails.
    espera(executa_sislin("\xEF\xBB\xBF" + kA2, kB2, "2\n"), kPrompt + desencontro("a7.txt", 0, 2),
           1);
    // A NUL byte ends the text that can be read: the first row is complete.
    espera(executa_sislin(std::string("1 2\n\0 3 4\n", 10), kB2, "2\n"),
           kPrompt + desencontro("a7.txt", 1, 2), 1);
    // A header line of text.
    espera(executa_sislin("matriz A\n" + kA2, kB2, "2\n"), kPrompt + desencontro("a7.txt", 0, 2),
           1);
    // Empty vector file.
    espera(executa_sislin(kA2, "", "2\n"), kPrompt + desencontro("b7.txt", 0, 2), 1);
}

TEST(EntradaRuim, LinhaDeUmMegabyte) {
    // A megabyte of blanks between two numbers, and a number a megabyte long.
    const std::string brancos(1 << 20, ' ');
    const std::string longo = std::string(1 << 20, '0') + "4";
    espera(executa_sislin("1 2.5" + brancos + "3 " + longo + "\n", "5" + brancos + "6", "2\n0\n"),
           kPrompt + kEcoA2 + kEcoB2 + kMenu, 0);
}

TEST(EntradaRuim, NumerosEspeciais) {
    // Signed zero, subnormals (a double one rounds to zero), hexadecimal and overflow.
    espera(executa_sislin(identidade(5), "-0 4.9e-324 1e-45 0x1p-130 1e999\n", "5\n0\n"),
           kPrompt + eco_identidade(5) + "-0 \n0 \n1.4013e-45 \n7.34684e-40 \ninf \n" + kMenu, 0);
    espera(executa_sislin(identidade(3), "infinity -INF NaN\n", "3\n0\n"),
           kPrompt + eco_identidade(3) + "inf \n-inf \nnan \n" + kMenu, 0);
    // "nan" is taken, the "(1)" after it is not a number.
    espera(executa_sislin(identidade(1), "nan(1)", "1\n0\n"),
           kPrompt + eco_identidade(1) + "nan \n" + kMenu, 0);
    espera(executa_sislin(kA2, "nan(1) 6", "2\n"), kPrompt + desencontro("b7.txt", 1, 2), 1);
}

TEST(EntradaRuim, ArquivoQueEDiretorio) {
    const fs::path dir = dir_temporario();
    fs::create_directory(dir / "a7.txt");
    std::ofstream(dir / "b7.txt") << kB2;
    espera(executa_na_pasta(dir, "2\n"), kPrompt + "O Arquivo a7.txt nao pode ser aberto.\n", 1);
    fs::remove_all(dir);
}

TEST(EntradaRuim, ArquivoSemPermissaoDeLeitura) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads files whatever their mode";
    const fs::path dir = dir_temporario();
    std::ofstream(dir / "a7.txt") << kA2;
    std::ofstream(dir / "b7.txt") << kB2;
    chmod((dir / "a7.txt").c_str(), 0);
    espera(executa_na_pasta(dir, "2\n"), kPrompt + "O Arquivo a7.txt nao pode ser aberto.\n", 1);
    fs::remove_all(dir);
}

TEST(EntradaRuim, DimensoesForaDosLimites) {
    // Negative, and one past each end of 32 bits: asked again. "-0" is zero.
    espera(executa_sislin(kA2, kB2, "-1\n2147483648\n-2147483649\n-2147483648\n2\n0\n"),
           kPrompt + kPrompt + kPrompt + kPrompt + kPrompt + kEcoA2 + kEcoB2 + kMenu, 0);
    espera(executa_sislin("", "", "-0\n0\n"),
           kPrompt + "Matriz lida:\nVetor de termos independentes lido:\n" + kMenu, 0);
}

TEST(EntradaRuim, PrecisaoELimiteInvalidos) {
    // Not a number, or a limit beyond 32 bits: the line is dropped and the same question
    // comes again; the end of input at the limit ends the run as a failure.
    espera(executa_sislin(kA2, kB2, "2\n9\nabc\n1e-3\nx\n99999999999\n"),
           kPrompt + kEcoA2 + kEcoB2 + kMenu + kPrec + kPrec + kLimite + kLimite + kLimite + "\n",
           1);
}

TEST(EntradaRuim, FimDaEntradaNaPausaDoResiduo) {
    // The pause takes the menu reply's line end and then one more character; the end of input
    // there returns to the menu, where it ends the run as a normal exit.
    const Execucao completo = executa_sislin(kA2, kB2, "2\n7\n\n0\n");
    ASSERT_EQ(completo.status, 0);
    ASSERT_NE(completo.saida.find("\nErro = "), std::string::npos);
    espera(executa_sislin(kA2, kB2, "2\n7\n"), completo.saida + "\n", 0);
    // The "0" is swallowed by the pause, so it does not end the run.
    espera(executa_sislin(kA2, kB2, "2\n7\n0\n"), completo.saida + "\n", 0);
}

TEST(EntradaRuim, ArquivoQueNaoAbreNemParaORoot) {
    // A link that leads back to itself cannot be opened by anyone.
    const fs::path dir = dir_temporario();
    fs::create_symlink("a7.txt", dir / "a7.txt");
    std::ofstream(dir / "b7.txt") << kB2;
    espera(executa_na_pasta(dir, "2\n"), kPrompt + "O Arquivo a7.txt nao pode ser aberto.\n", 1);
    fs::remove_all(dir);
}

TEST(EntradaRuim, BytesEstranhosNasRespostas) {
    // A byte-order mark before the dimension is not white space: that whole line is lost.
    espera(executa_sislin(kA2, kB2,
                          "\xEF\xBB\xBF"
                          "2\n2\n0\n"),
           kPrompt + kPrompt + kEcoA2 + kEcoB2 + kMenu, 0);
    // A NUL byte at the menu is text like any other.
    espera(executa_sislin(kA2, kB2, std::string("2\n\0 0\n0\n", 8)),
           kPrompt + kEcoA2 + kEcoB2 + kMenu + kMenu, 0);
}

TEST(EntradaRuim, RespostasQueSoCabemEm64Bits) {
    // 2^32 + k is never taken as k: not as the dimension 2, nor as the choices 0 and 1.
    espera(executa_sislin(kA2, kB2, "4294967298\n2\n4294967296\n4294967297\n0\n"),
           kPrompt + kPrompt + kEcoA2 + kEcoB2 + kMenu + kMenu + kMenu, 0);
}

TEST(EntradaRuim, SaidaQueNaoPodeSerEscrita) {
    // A full disk or a closed standard output: the run stops with one line on standard error and
    // status 1, whether it would have ended well, at a pause or after a fatal message.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "this platform has no /dev/full";
    const std::string linha = "A saida padrao nao pode ser escrita.\n";
    struct Caso {
        std::optional<std::string> a7;
        std::string entrada;
    };
    const Caso casos[] = {{kA2, "2\n4\n8\n0\n"}, {kA2, "2\n7\n"}, {std::nullopt, "2\n"}};
    for (const Saida saida : {Saida::Cheia, Saida::Fechada})
        for (const Caso& c : casos) {
            const Execucao e = executa_sislin(c.a7, kB2, c.entrada, 60, saida);
            EXPECT_EQ(e.status, 1) << c.entrada;
            EXPECT_EQ(e.erros, linha) << c.entrada;
        }
}

TEST(EntradaRuim, ArquivoSemFim) {
    // A file that never ends fails as soon as its bytes show that no number can follow.
    const fs::path dir = dir_temporario();
    std::ofstream(dir / "b7.txt") << kB2;
    fs::create_symlink("/dev/zero", dir / "a7.txt");
    espera(executa_na_pasta(dir, "2\n"), kPrompt + desencontro("a7.txt", 0, 2), 1);
    fs::remove_all(dir);
}

TEST(EntradaRuim, ArquivoSemEspacos) {
    // Megabytes with no white space, likewise.
    std::string colado;
    while (colado.size() < (3u << 20)) colado += "1e1";
    espera(executa_sislin(colado, kB2, "2\n"), kPrompt + desencontro("a7.txt", 0, 2), 1);
    // Numbers glued by their signs are read across the reading blocks as if apart.
    std::string juntos;
    std::string separados;
    for (int i = 0; i < 1000 * 1000; i++) {
        juntos += i % 3 == 0 ? "+1.5" : "-2";
        separados += i % 3 == 0 ? "1.5 " : "-2 ";
    }
    std::string b7;
    for (int i = 0; i < 1000; i++) b7 += "1\n";
    espera(executa_sislin(juntos, b7, "1000\n0\n"),
           executa_sislin(separados, b7, "1000\n0\n").saida, 0);
}

const std::string kJacobi2 =
    "------Metodo Iterativo de Jacobi------\nk\tx[1]\tx[2]\tErro\n0\t 0.0000\t 0.0000\t\n";
const std::string kSeidel2 =
    "-----Metodo Iterativo de Gauss-Seidel-----\nk\tx[1]\tx[2]\tErro\n0\t 0.0000\t 0.0000\t\n";

TEST(EntradaRuim, NumeroColadoAOutroTextoNaoEResposta) {
    // A number followed directly by anything but white space is not a reply: the rest of the
    // line goes and the same question comes again. Replies apart on one line still count.
    const std::string inicio = kPrompt + kEcoA2 + kEcoB2 + kMenu;
    const struct {
        const char* entrada;
        std::string saida;
    } casos[] = {
        {"3.5\n2x\n2\n0\n", kPrompt + kPrompt + inicio},
        {"2\n1abc\n0\n", inicio + kMenu},
        {"2\n9,0\n0\n", inicio + kMenu},
        {"2\n9\n0,001\n1e-3x\n0.001 3.5\n2,5\n0\n0\n",
         inicio + kPrec + kPrec + kPrec + kLimite + kLimite + kLimite + kJacobi2 +
             "Nao houve convergencia em 0 iteracoes" + kMenu},
        {"2\t9 0.5\t0\r\n0",
         inicio + kPrec + kLimite + kJacobi2 + "Nao houve convergencia em 0 iteracoes" + kMenu},
    };
    for (const auto& c : casos) espera(executa_sislin(kA2, kB2, c.entrada), c.saida, 0);
}

TEST(EntradaRuim, LimiteNoExtremoNegativoDe32Bits) {
    // One below the smallest int is asked again; the smallest int itself behaves like 0.
    espera(executa_sislin(kA2, kB2, "2\n9\n0\n-2147483649\n-2147483648\n0\n"),
           kPrompt + kEcoA2 + kEcoB2 + kMenu + kPrec + kLimite + kLimite + kJacobi2 +
               "Nao houve convergencia em 0 iteracoes" + kMenu,
           0);
}

TEST(EntradaRuim, PrecisoesEspeciais) {
    // Infinity (typed, or by overflow) is never exceeded by the starting error: no sweep and
    // no message. NaN is never exceeded either, but no error is within it: no sweep, and the
    // message. Minus infinity is always exceeded: every allowed sweep runs.
    espera(executa_sislin(kA2, kB2, "2\n9\ninf\n5\n10\nnan\n5\n9\n1e999\n5\n9\n-inf\n1\n0\n"),
           kPrompt + kEcoA2 + kEcoB2 + kMenu + kPrec + kLimite + kJacobi2 + kMenu + kPrec +
               kLimite + kSeidel2 + "Nao houve convergencia em 0 iteracoes" + kMenu + kPrec +
               kLimite + kJacobi2 + kMenu + kPrec + kLimite + kJacobi2 +
               "1\t 5.0000\t 1.5000\t 5.0000\nNao houve convergencia em 1 iteracoes" + kMenu,
           0);
}

TEST(EntradaRuim, PrecisaoNaGramaticaDoG) {
    // The precision reply is read with the data files' "%g" grammar: hexadecimal numbers count,
    // a dangling exponent is left out, and a letter that breaks "nan" or "infinity" is taken
    // with it, even a line end, so the line after it is the one dropped.
    const std::string inicio = kPrompt + kEcoA2 + kEcoB2 + kMenu;
    const std::string uma =
        kJacobi2 + "1\t 5.0000\t 1.5000\t 5.0000\nNao houve convergencia em 1 iteracoes" + kMenu;
    espera(executa_sislin(kA2, kB2, "2\n9\nn\n0x\n0x1p-1\n1\n0\n"),
           inicio + kPrec + kPrec + kLimite + uma, 0);
    espera(executa_sislin(kA2, kB2, "2\n9\n1e+ 1\n0\n"), inicio + kPrec + kLimite + uma, 0);
    espera(executa_sislin(kA2, kB2, "2\n9\ninfin\n-.5e0\n1\n0\n"),
           inicio + kPrec + kPrec + kLimite + kJacobi2 + "Nao houve convergencia em 0 iteracoes" +
               kMenu + "\n",
           0);
}

TEST(EntradaRuim, PausaDoResiduoComRespostasCRLF) {
    // The pause takes the "\r" and the "\n" of the reply "7\r\n": it does not wait, and the
    // next line is read by the menu.
    espera(executa_sislin(kA2, kB2, "2\r\n7\r\n0\r\n"),
           kPrompt + kEcoA2 + kEcoB2 + kMenu +
               "\nVetor Residuo:\nr[ 1]=5 \nr[ 2]=6 \n\nErro = 6\n" + kMenu,
           0);
}

TEST(EntradaRuim, FimDaEntradaLogoDepoisDeUmaResposta) {
    // The last reply counts even without a line end; the end of input then meets the next read.
    const std::string inicio = kPrompt + kEcoA2 + kEcoB2 + kMenu;
    espera(executa_sislin(kA2, kB2, "2"), inicio + "\n", 0);
    espera(executa_sislin(kA2, kB2, "2\n7"),
           inicio + "\nVetor Residuo:\nr[ 1]=5 \nr[ 2]=6 \n\nErro = 6\n" + kMenu + "\n", 0);
    espera(executa_sislin(kA2, kB2, "2\n9\n"), inicio + kPrec + "\n", 1);
    espera(executa_sislin(kA2, kB2, "2\n10\n0.5"), inicio + kPrec + kLimite + "\n", 1);
    espera(executa_sislin(kA2, kB2, "2\n10\n0.5\n1"),
           inicio + kPrec + kLimite + kSeidel2 + "1\t 5.0000\t-2.2500\t 5.0000\n" +
               "Nao houve convergencia em 1 iteracoes" + kMenu + "\n",
           0);
}

}  // namespace

}  // namespace sislin
