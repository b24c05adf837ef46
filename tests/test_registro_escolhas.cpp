// The record's description of the choices and its values: every choice of the program's table
// records fields the schema knows; the waits are the schema's; every float of every "resultado"
// is, bit for bit, what the kernels give for the same chain of choices; and the example of
// docs/registro.md is what the program writes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "dialogo.h"
#include "json_mini.h"
#include "methods.h"
#include "sistemas.h"

namespace sislin {

namespace {

using json_mini::Valor;

const std::string kA4 = "10 -1 2 0\n-1 11 -1 3\n2 -1 10 -1\n0 3 -1 8\n";
const std::string kB4 = "6 25 -11 15\n";

Valor esquema() {
    return json_mini::le(le_arquivo(SISLIN_SOURCE_DIR "/docs/registro.schema.json"));
}

std::vector<Valor> eventos(const ExecucaoRegistrada& r) {
    std::vector<Valor> e;
    for (const std::string& l : r.linhas()) e.push_back(json_mini::le(l));
    return e;
}

std::set<std::string> textos(const Valor& lista) {
    std::set<std::string> s;
    for (const Valor& v : lista.lista) s.insert(v.texto);
    return s;
}

// Each choice of the table records every member it changes, each a member the schema's
// "resultado" knows; its waits and the program's list of waits are the schema's.
TEST(RegistroEscolhas, TabelaCabeNoEsquema) {
    const ExecucaoRegistrada r = executa_registrando(kA4, kB4, "4\n0\n");
    const std::vector<Valor> e = eventos(r);
    ASSERT_FALSE(e.empty());
    const Valor& inicio = e.front();
    ASSERT_EQ(inicio.em("evento").texto, "inicio");
    EXPECT_EQ(inicio.em("formato").numero, 2);
    const Valor s = esquema();
    const Valor& defs = s.em("$defs");
    const Valor& campos = defs.em("resultado").em("properties");
    std::set<int> opcoes;
    for (const Valor& c : inicio.em("escolhas").lista) {
        const int opcao = static_cast<int>(c.em("opcao").numero);
        SCOPED_TRACE(opcao);
        opcoes.insert(opcao);
        const std::set<std::string> resultado = textos(c.em("resultado"));
        for (const std::string& m : textos(c.em("muda")))
            EXPECT_EQ(resultado.count(m), 1u) << m << " changed but not recorded";
        EXPECT_EQ(resultado.empty(), c.em("muda").lista.empty());
        for (const std::string& m : resultado)
            EXPECT_NE(campos.membro(m), nullptr) << m << " is not in the schema's resultado";
        if (const Valor* a = c.membro("A")) {
            EXPECT_NE(inicio.em("formas").membro(a->texto), nullptr);
        }
    }
    // The menu's range is the table's.
    const Valor* espera_menu = nullptr;
    for (const Valor& ev : e)
        if (espera_menu == nullptr && ev.em("evento").texto == "espera" &&
            ev.em("de").texto == "menu")
            espera_menu = &ev;
    ASSERT_NE(espera_menu, nullptr);
    EXPECT_EQ(espera_menu->em("minimo").numero, *opcoes.begin());
    EXPECT_EQ(espera_menu->em("maximo").numero, *opcoes.rbegin());
    // The waits: the program's list is the schema's.
    std::set<std::string> esperas;
    for (const Valor& w : inicio.em("esperas").lista) esperas.insert(w.em("de").texto);
    EXPECT_EQ(esperas, textos(defs.em("nome_de_espera").em("enum")));
    EXPECT_EQ(esperas.size(), inicio.em("esperas").lista.size());
}

// ---- Values bit for bit.

using kt::Modelo;

// A float of the record, read back with strtof.
Scalar le_escalar(const Valor& v) {
    if (v.tipo == Valor::Tipo::Texto)
        return v.texto == "nan" ? std::nanf("") : (v.texto == "inf" ? INFINITY : -INFINITY);
    return std::strtof(v.texto.c_str(), nullptr);
}

::testing::AssertionResult mesmo(const Valor& v, Scalar esperado) {
    const Scalar lido = le_escalar(v);
    if (kt::mesmo_valor(lido, esperado)) return ::testing::AssertionSuccess();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(esperado));
    return ::testing::AssertionFailure() << "recorded " << v.texto << ", the kernels give " << buf;
}

void compara_vetor(const Valor& v, const kt::Vec& m, int n) {
    ASSERT_EQ(v.lista.size(), static_cast<std::size_t>(n));
    for (int i = 1; i <= n; i++) EXPECT_TRUE(mesmo(v.lista[static_cast<std::size_t>(i - 1)], m[i]));
}

void compara_matriz(const Valor& v, const kt::Mat& m, int n) {
    ASSERT_EQ(v.lista.size(), static_cast<std::size_t>(n));
    for (int i = 1; i <= n; i++)
        for (int j = 1; j <= n; j++)
            EXPECT_TRUE(mesmo(
                v.lista[static_cast<std::size_t>(i - 1)].lista[static_cast<std::size_t>(j - 1)],
                m[i][j]))
                << i << "," << j;
}

void compara(const std::string& nome, const Valor& v, const Modelo& m) {
    SCOPED_TRACE(nome);
    const int n = m.n;
    const struct {
        const char* nome;
        const kt::Vec* v;
    } vetores[] = {{"b", &m.b}, {"x", &m.x}, {"y", &m.y}, {"r", &m.r}};
    const struct {
        const char* nome;
        Scalar v;
    } escalares[] = {{"det", m.det}, {"Erro", m.erro}, {"precisao", m.prec}};
    for (const auto& c : vetores)
        if (nome == c.nome) return compara_vetor(v, *c.v, n);
    for (const auto& c : escalares)
        if (nome == c.nome) {
            EXPECT_TRUE(mesmo(v, c.v));
            return;
        }
    if (nome == "A" || nome == "Inv") {
        compara_matriz(v, nome == "A" ? m.A : m.Inv, n);
    } else if (nome == "limite") {
        EXPECT_EQ(v.numero, m.maxit);
    } else if (nome == "k") {
        EXPECT_EQ(v.numero, m.k);
    } else if (nome == "convergiu") {
        EXPECT_EQ(v.booleano, m.convergiu);
    } else if (nome == "pos") {
        ASSERT_EQ(v.lista.size(), static_cast<std::size_t>(n));
        for (int i = 1; i <= n; i++)
            EXPECT_EQ(v.lista[static_cast<std::size_t>(i - 1)].numero, m.pos[i]);
    } else {
        ADD_FAILURE() << "a field the test does not know: " << nome;
    }
}

std::string texto_g9(const kt::Mat& a, int n) {
    std::string t;
    char buf[48];
    for (int i = 1; i <= n; i++) {
        for (int j = 1; j <= n; j++) {
            std::snprintf(buf, sizeof buf, "%.9g ", static_cast<double>(a[i][j]));
            t += buf;
        }
        t += "\n";
    }
    return t;
}

std::string texto_g9(const kt::Vec& v, int n) {
    std::string t;
    char buf[48];
    for (int i = 1; i <= n; i++) {
        std::snprintf(buf, sizeof buf, "%.9g\n", static_cast<double>(v[i]));
        t += buf;
    }
    return t;
}

// Every choice, chained so that each kind of A (data, eliminated, factors) meets the others.
constexpr int kSequencia[] = {1, 7, 3, 8, 5, 6, 7, 2, 4, 5, 6, 8, 7, 9, 10, 0};
constexpr const char* kPrecisao = "1e-5";
constexpr int kLimite = 40;

void confere_valores(const kt::Mat& a, const kt::Vec& b, int n) {
    std::string entrada = std::to_string(n) + "\n";
    for (const int c : kSequencia) {
        entrada += std::to_string(c) + "\n";
        if (c == 7) entrada += "\n";
        if (c == 9 || c == 10)
            entrada += std::string(kPrecisao) + "\n" + std::to_string(kLimite) + "\n";
    }
    const ExecucaoRegistrada r = executa_registrando(texto_g9(a, n), texto_g9(b, n), entrada);
    ASSERT_EQ(r.execucao.status, 0) << r.execucao.erros;
    Modelo m(a, b, n);
    int resultados = 0;
    for (const Valor& e : eventos(r)) {
        const std::string& tipo = e.em("evento").texto;
        if (tipo == "escolha")
            m.realiza(static_cast<int>(e.em("opcao").numero), std::strtof(kPrecisao, nullptr),
                      kLimite);
        if (tipo != "resultado") continue;
        ++resultados;
        SCOPED_TRACE("opcao " + e.em("opcao").texto);
        for (const auto& [nome, valor] : e.objeto)
            if (nome != "evento" && nome != "opcao") compara(nome, valor, m);
    }
    EXPECT_EQ(resultados, static_cast<int>(std::size(kSequencia)) - 1);
}

TEST(RegistroEscolhas, ValoresBitABitComOsNucleos) {
    {
        SCOPED_TRACE("o sistema do exemplo");
        const kt::Mat a{{10, -1, 2, 0}, {-1, 11, -1, 3}, {2, -1, 10, -1}, {0, 3, -1, 8}};
        const kt::Vec b{6, 25, -11, 15};
        confere_valores(a, b, 4);
    }
    const struct {
        kt::Tipo tipo;
        int n;
    } gerados[] = {{kt::Tipo::Dominante, 5},
                   {kt::Tipo::Aleatoria, 6},
                   {kt::Tipo::Inteiros, 4},
                   {kt::Tipo::InfNaN, 5},
                   {kt::Tipo::Escalas, 3}};
    for (const auto& g : gerados) {
        SCOPED_TRACE("gerado, tipo " + std::to_string(static_cast<int>(g.tipo)));
        confere_valores(kt::matriz(g.n, g.tipo, 5), kt::vetor(g.n, g.tipo, 5), g.n);
    }
}

// The example of docs/registro.md is, byte for byte, the record of that run.
TEST(RegistroEscolhas, ExemploDaDocumentacao) {
    const std::string doc = le_arquivo(SISLIN_SOURCE_DIR "/docs/registro.md");
    const std::string abre = "```json\n";
    const std::size_t inicio = doc.find(abre);
    ASSERT_NE(inicio, std::string::npos);
    const std::size_t fim = doc.find("```\n", inicio + abre.size());
    ASSERT_NE(fim, std::string::npos);
    const std::string exemplo = doc.substr(inicio + abre.size(), fim - inicio - abre.size());
    const std::string a7 = le_arquivo(SISLIN_SOURCE_DIR "/examples/a7.txt");
    const std::string b7 = le_arquivo(SISLIN_SOURCE_DIR "/examples/b7.txt");
    const ExecucaoRegistrada r = executa_registrando(a7, b7, "4\n4\n5\n6\n0\n");
    EXPECT_EQ(r.execucao.status, 0);
    EXPECT_EQ(r.registro, exemplo);
}

}  // namespace

}  // namespace sislin
