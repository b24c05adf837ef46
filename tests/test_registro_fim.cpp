// How a run ends, as the record says it: whatever ends the run (choice 0, the end of input, a
// fatal message, a signal during a long iteration, standard output that cannot be written),
// the record is whole lines, each a valid event, and the last is "fim" with its cause.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dialogo.h"
#include "json_mini.h"

namespace sislin {

namespace {

using json_mini::Valor;

const std::string kA2 = "1 2.5\n3 4\n";
const std::string kB2 = "5 6\n";

// Every line of the record parsed and valid against the schema; the record ends in a line end.
std::vector<Valor> eventos_validos(const ExecucaoRegistrada& r) {
    const Valor esquema = json_mini::le(le_arquivo(SISLIN_SOURCE_DIR "/docs/registro.schema.json"));
    EXPECT_FALSE(r.registro.empty());
    if (!r.registro.empty()) {
        EXPECT_EQ(r.registro.back(), '\n') << "a cut last line";
    }
    std::vector<Valor> e;
    for (const std::string& l : r.linhas()) {
        try {
            e.push_back(json_mini::le(l));
        } catch (const std::exception& x) {
            ADD_FAILURE() << "not JSON (" << x.what() << "): " << l.substr(0, 200);
            continue;
        }
        EXPECT_EQ(json_mini::valida(e.back(), esquema, esquema), "") << l.substr(0, 200);
    }
    return e;
}

// The events' names, apart by blanks, from the first of that name on.
std::string nomes_desde(const std::vector<Valor>& e, const std::string& primeiro) {
    std::string t;
    bool visto = false;
    for (const Valor& v : e) {
        const std::string& nome = v.em("evento").texto;
        visto = visto || nome == primeiro;
        if (visto) t += (t.empty() ? "" : " ") + nome;
    }
    return t;
}

void espera_fim(const Valor& fim, int status, const std::string& causa) {
    EXPECT_EQ(fim.em("evento").texto, "fim");
    EXPECT_EQ(fim.em("status").numero, status);
    EXPECT_EQ(fim.em("causa").texto, causa);
}

bool sob_emulador() {
    const char* lancador = std::getenv("SISLIN_LANCADOR");
    return lancador != nullptr && *lancador != '\0';
}

TEST(RegistroFim, FimDaEntradaEErro) {
    struct Caso {
        const char* nome;
        std::optional<std::string> a7;
        const char* entrada;
        int status;
        const char* causa;
        const char* ultimos;  // the last events, from the first "espera" of de
        const char* de;
    };
    const Caso casos[] = {
        {"sair", kA2, "2\n0\n", 0, "sair", "escolha fim", nullptr},
        {"fim da entrada no menu", kA2, "2\n", 0, "fim-da-entrada", "fim-da-entrada fim", "menu"},
        {"fim da entrada na dimensao", kA2, "", 1, "fim-da-entrada", "fim-da-entrada fim",
         "dimensao"},
        {"fim da entrada na precisao", kA2, "2\n9\n", 1, "fim-da-entrada", "fim-da-entrada fim",
         "precisao"},
        {"fim da entrada no limite", kA2, "2\n10\n1e-3\n", 1, "fim-da-entrada",
         "fim-da-entrada fim", "limite"},
        {"arquivo que falta", std::nullopt, "2\n", 1, "erro", "erro espera fim", nullptr},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const ExecucaoRegistrada r = executa_registrando(c.a7, kB2, c.entrada);
        EXPECT_EQ(r.execucao.status, c.status);
        const std::vector<Valor> e = eventos_validos(r);
        ASSERT_GE(e.size(), 3u);
        espera_fim(e.back(), c.status, c.causa);
        const std::string ultimo_antes = c.de != nullptr ? "fim-da-entrada" : c.ultimos;
        EXPECT_EQ(nomes_desde(e, ultimo_antes.substr(0, ultimo_antes.find(' '))), c.ultimos);
        if (c.de != nullptr) {
            EXPECT_EQ(e[e.size() - 2].em("de").texto, c.de);
        }
        // The end of input at the menu is no choice: no "escolha" at all in that run.
        if (std::string(c.causa) == "fim-da-entrada" && c.status == 0) {
            EXPECT_EQ(nomes_desde(e, "escolha"), "");
        }
    }
}

// A full disk as standard output: the run stops at the first flush (the first wait), and the
// record says why instead of stopping there.
TEST(RegistroFim, SaidaQueNaoPodeSerEscrita) {
    if (!std::filesystem::exists("/dev/full") || sob_emulador())
        GTEST_SKIP() << "no /dev/full here";
    const struct {
        std::optional<std::string> a7;
        const char* entrada;
    } casos[] = {{kA2, "2\n4\n8\n0\n"}, {kA2, "2\n7\n"}, {std::nullopt, "2\n"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.entrada);
        const ExecucaoRegistrada r = executa_registrando(c.a7, kB2, c.entrada, Saida::Cheia);
        EXPECT_EQ(r.execucao.status, 1);
        EXPECT_EQ(r.execucao.erros, "A saida padrao nao pode ser escrita.\n");
        const std::vector<Valor> e = eventos_validos(r);
        ASSERT_GE(e.size(), 2u);
        espera_fim(e.back(), 1, "saida");
        EXPECT_EQ(e[e.size() - 2].em("evento").texto, "erro");
        EXPECT_EQ(e[e.size() - 2].em("mensagem").texto, "A saida padrao nao pode ser escrita.\n");
    }
}

// A system of order 300 whose record lines outgrow the record's buffer (the data, 90 000
// numbers, in one line), and a Jacobi iteration that would run for hours.
std::string sistema(int n, bool matriz) {
    std::string t;
    char buf[32];
    for (int i = 1; i <= n; i++) {
        for (int j = 1; j <= (matriz ? n : 1); j++) {
            const double v = matriz ? (i == j ? 1.0 : 0.001 * ((i * 31 + j * 17) % 19 - 9))
                                    : 0.5 * (i % 7) - 1.25;
            std::snprintf(buf, sizeof buf, "%.9g ", v);
            t += buf;
        }
        t += "\n";
    }
    return t;
}

TEST(RegistroFim, SinalDuranteUmaIteracaoLonga) {
    if (sob_emulador()) GTEST_SKIP() << "the signal would reach the emulator";
    const std::string a7 = sistema(300, true);
    const std::string b7 = sistema(300, false);
    const std::string entrada = "300\n9\n-1\n2000000000\n";
    for (const int sinal : {SIGTERM, SIGINT, SIGHUP})
        for (const std::size_t linhas : {3u, 6u, 40u}) {
            SCOPED_TRACE("sinal " + std::to_string(sinal) + " depois de " + std::to_string(linhas) +
                         " linhas");
            const ExecucaoRegistrada r =
                executa_registrando(a7, b7, entrada, Saida::Arquivo, sinal, linhas);
            EXPECT_FALSE(r.execucao.expirou);
            EXPECT_EQ(r.execucao.status, 128 + sinal);
            const std::vector<Valor> e = eventos_validos(r);
            ASSERT_GE(e.size(), linhas);
            espera_fim(e.back(), 128 + sinal, "sinal");
            EXPECT_EQ(e.back().em("sinal").numero, sinal);
        }
}

}  // namespace

}  // namespace sislin
