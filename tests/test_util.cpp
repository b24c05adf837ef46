// The utility services that the dialogue does not show, and the other menus.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "menus.h"
#include "util.h"

namespace sislin {

namespace fs = std::filesystem;

TEST(Vetores, CriadosComZeros) {
    Vector v = cria_vetor(5);
    IndexVector p = cria_vetor_int(5);
    Matrix m = cria_matriz(3, 4);
    for (int i = 0; i < 5; i++) EXPECT_EQ(v[i], 0.0f);
    for (int i = 0; i < 5; i++) EXPECT_EQ(p[i], 0);
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 4; j++) EXPECT_EQ(m[i][j], 0.0f);
    libera_vetor(v);
    libera_vetor(p);
    libera_matriz(m, 3);
    Vector vazio = cria_vetor(0);
    EXPECT_NE(vazio, nullptr);
    libera_vetor(vazio);
}

TEST(Vetores, ContagemNegativaTerminaComStatus1) {
    EXPECT_EXIT(cria_vetor(-1), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(cria_vetor_int(-5), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(cria_matriz(-1, 3), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(cria_matriz(3, -1), testing::ExitedWithCode(1), "");
}

TEST(Vetores, InicializaIncluiAPosicaoZeroEAtualizaNao) {
    Vector v = cria_vetor(4);
    for (int i = 0; i < 4; i++) v[i] = 7.0f;
    inicializa_vetor(v, 3);
    for (int i = 0; i < 4; i++) EXPECT_EQ(v[i], 0.0f) << i;

    Vector s = cria_vetor(5);
    Vector d = cria_vetor(5);
    for (int i = 0; i < 5; i++) {
        s[i] = static_cast<float>(i + 1);
        d[i] = -1.0f;
    }
    atualiza_vetor(d, s, 3);
    EXPECT_EQ(d[0], -1.0f);
    EXPECT_EQ(d[1], 2.0f);
    EXPECT_EQ(d[3], 4.0f);
    EXPECT_EQ(d[4], -1.0f);
    libera_vetor(v);
    libera_vetor(s);
    libera_vetor(d);
}

TEST(Randomico, FaixaEExtremosIguais) {
    EXPECT_EQ(randomico(2.0f, 2.0f), 2.0f);
    bool variou = false;
    for (int k = 0; k < 20000; k++) {
        const float t = randomico(0.0f, 1.0f);
        ASSERT_GE(t, 0.0f);
        ASSERT_LT(t, 1.0f);  // t is at most 0.9999
        const float u = randomico(-3.0f, 5.0f);
        ASSERT_GE(u, -3.0f);
        ASSERT_LT(u, 5.0f);
        variou = variou || t != 0.0f;
    }
    EXPECT_TRUE(variou);
}

TEST(Arquivos, LimpaArquivoCriaOuEsvazia) {
    const fs::path p = fs::temp_directory_path() /
                       ("sislin-limpa-" + std::to_string(std::random_device{}()) + ".txt");
    {
        std::ofstream f(p);
        f << "conteudo";
    }
    limpa_arquivo(p.string().c_str());
    EXPECT_EQ(fs::file_size(p), 0u);
    fs::remove(p);
    limpa_arquivo(p.string().c_str());
    EXPECT_TRUE(fs::exists(p));
    fs::remove(p);
    EXPECT_EXIT(limpa_arquivo("/nao-existe/dir/x.txt"), testing::ExitedWithCode(1), "");
}

namespace {
// Runs a menu with the given standard input and returns what it printed.
template <typename F>
std::string com_entrada(const std::string& entrada, F&& menu, int& escolha) {
    // A name of its own: test processes (and other checkouts' tests) run side by side.
    const fs::path p = fs::temp_directory_path() /
                       ("sislin-menu-entrada-" + std::to_string(std::random_device{}()) + ".txt");
    {
        std::ofstream f(p);
        f << entrada;
    }
    EXPECT_NE(std::freopen(p.string().c_str(), "r", stdin), nullptr);
    testing::internal::CaptureStdout();
    escolha = menu();
    std::fflush(stdout);
    std::string saida = testing::internal::GetCapturedStdout();
    std::error_code erro;
    fs::remove(p, erro);  // Windows keeps a file that is open (here as stdin) from going
    return saida;
}
}  // namespace

TEST(Menus, OutrosMenusComecamEm1) {
    const std::string grasp =
        "\n*******************Menu GRASP************************* \n"
        "                1. Vizinho Mais Proximo \n"
        "                2. Insercao Mais Barata \n"
        "                Escolha: ";
    int escolha = 0;
    EXPECT_EQ(com_entrada("0\n3\n2\n", menu_GRASP, escolha), grasp + grasp + grasp);
    EXPECT_EQ(escolha, 2);

    const std::string ag =
        "\n****************Menu Algoritmos Geneticos********************** \n"
        "                1. Operador OX \n"
        "                2. Operador ERX \n"
        "                Escolha: ";
    EXPECT_EQ(com_entrada("0\n1\n", menu_AG, escolha), ag + ag);
    EXPECT_EQ(escolha, 1);

    const std::string inicial =
        "\n************Geracao da Solucao Inicial**************** \n"
        "                1. Gulosa (Vizinho mais proximo) \n"
        "                2. Parcialmente gulosa (Vizinho mais proximo) \n"
        "                3. Gulosa (Insercao Mais Barata) \n"
        "                4. Parcialmente gulosa (Insercao Mais Barata) \n"
        "                5. Aleatoria \n"
        "                escolha: ";
    EXPECT_EQ(com_entrada("0\nx y\n5\n", menu_solucao_inicial, escolha),
              inicial + inicial + inicial);
    EXPECT_EQ(escolha, 5);
}

TEST(Menus, FimDaEntradaNoMenuPrincipalDevolveZero) {
    int escolha = -1;
    const std::string saida = com_entrada("", menu_principal, escolha);
    EXPECT_EQ(escolha, 0);
    EXPECT_EQ(saida.back(), '\n');
    EXPECT_EQ(com_entrada("10\n", menu_principal, escolha).size() + 1, saida.size());
    EXPECT_EQ(escolha, 10);
}

}  // namespace sislin
