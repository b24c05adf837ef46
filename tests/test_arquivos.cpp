// The data-file readers end to end on real files: block boundaries, long tokens, white space of
// every kind, and the fatal reports (message, exit status 1).
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "util.h"

namespace sislin {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

class LeituraArquivos : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("sislin-arquivos-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string grava(const std::string& nome, const std::string& conteudo) const {
        const fs::path p = dir / nome;
        std::ofstream f(p, std::ios::binary);
        f << conteudo;
        return p.string();
    }

    // Runs f in a child process that must end with status 1, with standard input at
    // "x\n"; returns what the child printed on standard output.
    template <typename F>
    std::string saida_fatal(F&& f) const {
        const std::string entrada = grava("entrada.txt", "x\n");
        const std::string saida = (dir / "saida.txt").string();
        EXPECT_EXIT(
            {
                if (std::freopen(saida.c_str(), "w", stdout) == nullptr) std::abort();
                if (std::freopen(entrada.c_str(), "r", stdin) == nullptr) std::abort();
                f();
            },
            ::testing::ExitedWithCode(1), "");
        std::ifstream in(saida, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    static std::string desencontro(const std::string& p, int count, int rows) {
        return "O Arquivo " + p + " nao corresponde as especificacoes.\nO Arquivo " + p +
               " possui " + std::to_string(count) + " registros enquanto o problema tem " +
               std::to_string(rows) + " linhas.\n";
    }
};

std::uint32_t bits(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

// What a loop of fscanf("%g") makes of the file: the reference for every value.
std::vector<float> fscanf_arquivo(const std::string& path, std::size_t n) {
    std::vector<float> r;
    std::FILE* f = std::fopen(path.c_str(), "r");
    float x;
    while (r.size() < n && std::fscanf(f, "%g", &x) == 1) r.push_back(x);
    std::fclose(f);
    return r;
}

TEST_F(LeituraArquivos, LinhasNaoTemSignificado) {
    Matrix a = cria_matriz(3, 3);
    Matrix b = cria_matriz(3, 3);
    le_arq_matriz(grava("a.txt", "1 2 3 4").c_str(), 2, 2, a);
    le_arq_matriz(grava("b.txt", "1\r\n2\r\n\t3\v\f4\r\n").c_str(), 2, 2, b);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) {
            EXPECT_EQ(a[i][j], static_cast<float>(2 * (i - 1) + j));
            EXPECT_EQ(b[i][j], a[i][j]);
        }
    libera_matriz(a, 3);
    libera_matriz(b, 3);
}

TEST_F(LeituraArquivos, NumerosAlemDosNecessariosNaoSaoLidos) {
    Vector v = cria_vetor(3);
    le_arq_vetor(grava("b.txt", "1.5 -2e1 3 4 lixo ,,, \x01").c_str(), 2, v);
    EXPECT_EQ(v[1], 1.5f);
    EXPECT_EQ(v[2], -20.0f);
    Matrix m = cria_matriz(2, 2);
    le_arq_matriz(grava("a.txt", "7 8 x").c_str(), 1, 1, m);
    EXPECT_EQ(m[1][1], 7.0f);
    // Zero places: the file is opened, nothing is read, garbage or not.
    le_arq_vetor(grava("c.txt", "lixo").c_str(), 0, v);
    le_arq_matriz(grava("d.txt", "").c_str(), 0, 0, m);
    le_arq_matriz(grava("e.txt", "").c_str(), 1, 0, m);
    libera_vetor(v);
    libera_matriz(m, 2);
}

TEST_F(LeituraArquivos, FormasIncomunsComoOScanf) {
    // Hex, infinities, NaNs, conversions not delimited by white space, a dangling exponent.
    const std::string p = grava("b.txt", "+.5 0x1p-130 inf -nan 1.5-2.5 1e+ infinity\t5.");
    const auto ref = fscanf_arquivo(p, 100);
    ASSERT_EQ(ref.size(), 9u);
    Vector v = cria_vetor(10);
    le_arq_vetor(p.c_str(), 9, v);
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(bits(v[i + 1]), bits(ref[i])) << i;
    libera_vetor(v);
}

// A number cut by the end of a block, at every position inside it and just after it.
TEST_F(LeituraArquivos, NumeroCortadoNaFronteiraDoBloco) {
    const std::string numero = "-1.234567e-3";
    Vector v = cria_vetor(3);
    for (std::size_t antes = 0; antes <= numero.size() + 1; ++antes) {
        std::string texto(kMiB - antes, ' ');
        texto += numero + " 2.5\n";
        le_arq_vetor(grava("b.txt", texto).c_str(), 2, v);
        EXPECT_EQ(v[1], -1.234567e-3f) << antes;
        EXPECT_EQ(v[2], 2.5f) << antes;
    }
    libera_vetor(v);
}

// Several megabytes of numbers: every block boundary falls somewhere, every value must match.
TEST_F(LeituraArquivos, ArquivoGrandeIgualAoFscanf) {
    std::mt19937 rng(3);
    std::string texto;
    const int n = 400;
    char buf[64];
    for (int i = 0; i < n * n; ++i) {
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        std::snprintf(buf, sizeof buf, (i % 3 == 0) ? "%.9g" : "%g", static_cast<double>(f));
        texto += buf;
        texto += (i % n == n - 1) ? "\r\n" : (i % 2 ? "\t" : "  ");
    }
    ASSERT_GT(texto.size(), 2 * kMiB);
    const std::string p = grava("a.txt", texto);
    Matrix m = cria_matriz(n + 1, n + 1);
    le_arq_matriz(p.c_str(), n, n, m);
    const auto ref = fscanf_arquivo(p, static_cast<std::size_t>(n) * n);
    ASSERT_EQ(ref.size(), static_cast<std::size_t>(n) * n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            ASSERT_EQ(bits(m[i][j]), bits(ref[static_cast<std::size_t>((i - 1) * n + j - 1)]))
                << i << "," << j;
    libera_matriz(m, n + 1);
}

TEST_F(LeituraArquivos, TokensMaioresQueOBloco) {
    // 1.5 MB of digits through the fast conversion, 3 MB of zeros with an exponent, and a hex
    // number of 2 MB that only the C library converts.
    // Appended piece by piece: g++ 12 warns wrongly about "literal" + std::string here.
    std::string texto = "0.";
    texto.append(3 * kMiB / 2, '3').append("\n1").append(3 * kMiB, '0').append("e-3145728 0x");
    texto.append(2 * kMiB, '0').append("1p-3 4");
    Vector v = cria_vetor(5);
    le_arq_vetor(grava("b.txt", texto).c_str(), 4, v);
    EXPECT_EQ(v[1], 0.333333343f);
    EXPECT_EQ(v[2], 1.0f);
    EXPECT_EQ(v[3], 0.125f);
    EXPECT_EQ(v[4], 4.0f);
    libera_vetor(v);
}

// A failure is returned, not printed: which file, what kind, the counts; its message is the
// text the program prints.
TEST_F(LeituraArquivos, ArquivoCurtoOuMalformadoEReportado) {
    const std::string b = grava("b.txt", "1 2");
    Vector v4 = cria_vetor(4);
    const FalhaDeArquivo curto = le_arq_vetor(b.c_str(), 3, v4);
    EXPECT_EQ(curto.tipo, FalhaDeArquivo::Tipo::Desencontro);
    EXPECT_EQ(curto.arquivo, b);
    EXPECT_EQ(curto.registros, 2);
    EXPECT_EQ(curto.linhas, 3);
    EXPECT_EQ(mensagem_de_falha(curto), desencontro(b, 2, 3));
    // The matrix reader counts the rows read completely.
    Matrix m = cria_matriz(4, 4);
    const std::string a = grava("a.txt", "1 2 3\n4 5");
    EXPECT_EQ(mensagem_de_falha(le_arq_matriz(a.c_str(), 2, 3, m)), desencontro(a, 1, 2));
    const std::string x = grava("x.txt", "1 2 3 4 1,5 6");
    EXPECT_EQ(mensagem_de_falha(le_arq_matriz(x.c_str(), 3, 2, m)), desencontro(x, 2, 3));
    const std::string vazio = grava("vazio.txt", "  \n");
    EXPECT_EQ(mensagem_de_falha(le_arq_vetor(vazio.c_str(), 1, v4)), desencontro(vazio, 0, 1));
    libera_vetor(v4);
    libera_matriz(m, 4);
    // Text that is not a number, found megabytes into the file.
    std::string longo;
    for (int i = 0; i < 600000; ++i) longo += "1.25 ";
    longo += "abc 1";
    const std::string l = grava("longo.txt", longo);
    Vector v = cria_vetor(600002);
    EXPECT_EQ(mensagem_de_falha(le_arq_vetor(l.c_str(), 600001, v)),
              desencontro(l, 600000, 600001));
    libera_vetor(v);
}

TEST_F(LeituraArquivos, DimensaoNegativaDaMatrizEReportada) {
    const std::string a = grava("a.txt", "1 2 3 4");
    EXPECT_EQ(mensagem_de_falha(le_arq_matriz(a.c_str(), -1, 2, nullptr)), desencontro(a, 0, -1));
    EXPECT_EQ(mensagem_de_falha(le_arq_matriz(a.c_str(), 2, -3, nullptr)), desencontro(a, 0, 2));
}

TEST_F(LeituraArquivos, ArquivoQueNaoAbreEReportado) {
    const std::string falta = (dir / "falta.txt").string();
    const std::string msg = "O Arquivo " + falta + " nao pode ser aberto.\n";
    const FalhaDeArquivo nao_abre = le_arq_vetor(falta.c_str(), 0, nullptr);
    EXPECT_EQ(nao_abre.tipo, FalhaDeArquivo::Tipo::NaoAbre);
    EXPECT_EQ(nao_abre.arquivo, falta);
    EXPECT_EQ(mensagem_de_falha(nao_abre), msg);
    EXPECT_EQ(mensagem_de_falha(le_arq_matriz(falta.c_str(), 0, 0, nullptr)), msg);
    const std::string pasta = dir.string();
    Vector v = cria_vetor(2);
    EXPECT_EQ(mensagem_de_falha(le_arq_vetor(pasta.c_str(), 1, v)),
              "O Arquivo " + pasta + " nao pode ser aberto.\n");
    libera_vetor(v);
    EXPECT_FALSE(le_arq_vetor(grava("b.txt", "1").c_str(), 1, v = cria_vetor(2)));
    libera_vetor(v);
    EXPECT_EQ(mensagem_de_falha({}), "");
    // Emptying a file that cannot be written is still fatal.
    const std::string sem_dir = (dir / "nao-ha" / "x.txt").string();
    EXPECT_EQ(saida_fatal([&] { limpa_arquivo(sem_dir.c_str()); }),
              "O arquivo " + sem_dir + " nao pode ser aberto");
}

}  // namespace

}  // namespace sislin
