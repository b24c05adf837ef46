// The record of a run (SISLIN_REGISTRO), end to end: the standard output is the same bytes with
// and without it, every line is valid against docs/registro.schema.json, and every number the
// program printed is the record's value printed the same way.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogo.h"
#include "json_mini.h"
#include "util.h"

namespace sislin {

namespace {

namespace fs = std::filesystem;
using json_mini::Valor;

// Runs the program in a folder of its own holding the files given, with the record on or off.
struct Corrida {
    Execucao execucao;
    std::vector<Valor> eventos;
};
Corrida corre(const std::string* a7, const std::string* b7, const std::string& entrada,
              bool registro) {
    const fs::path pasta = pasta_temporaria("sislin-registro-XXXXXX");
    if (a7 != nullptr) grava(pasta / "a7.txt", *a7);
    if (b7 != nullptr) grava(pasta / "b7.txt", *b7);
    if (registro) setenv("SISLIN_REGISTRO", "registro.jsonl", 1);
    Corrida c{executa_na_pasta(pasta.string(), entrada), {}};
    unsetenv("SISLIN_REGISTRO");
    std::istringstream linhas(le_arquivo(pasta / "registro.jsonl"));
    for (std::string l; std::getline(linhas, l);) c.eventos.push_back(json_mini::le(l));
    fs::remove_all(pasta);
    return c;
}

Scalar escalar(const Valor& v) {
    if (v.tipo == Valor::Tipo::Texto) {
        if (v.texto == "nan") return std::nanf("");
        return v.texto == "inf" ? INFINITY : -INFINITY;
    }
    // The C library's conversion (correctly rounded), since libc++ 14 has no float from_chars.
    const float f = std::strtof(v.texto.c_str(), nullptr);
    // The shortest text that reads back to the same float.
    char buf[32];
    EXPECT_EQ(std::string(buf, std::to_chars(buf, buf + sizeof buf, f).ptr), v.texto);
    return f;
}

std::string g(const Valor& v) {
    char buf[kFormatoMax];
    return {buf, formata_g(buf, static_cast<double>(escalar(v)))};
}
std::string f74(const Valor& v) {
    char buf[kFormatoMax];
    return {buf, formata_fixo(buf, static_cast<double>(escalar(v)), 7, 4)};
}
std::string rotulado(const char* nome, const Valor& v) {
    std::string t;
    for (std::size_t i = 0; i < v.lista.size(); ++i) {
        char r[32];
        std::snprintf(r, sizeof r, "%s[%2d]=", nome, static_cast<int>(i + 1));
        t += r + g(v.lista[i]) + " \n";
    }
    return t;
}
// A matrix as a layout prints it: "%7.4f\t" each (the upper one "0\t" below the diagonal), or
// "%g \t" each as echoed.
std::string matriz(const Valor& m, bool superior, bool eco = false) {
    std::string t;
    for (std::size_t i = 0; i < m.lista.size(); ++i) {
        for (std::size_t j = 0; j < m.lista[i].lista.size(); ++j)
            t += superior && j < i ? "0\t"
                 : eco             ? g(m.lista[i].lista[j]) + " \t"
                                   : f74(m.lista[i].lista[j]) + "\t";
        t += "\n";
    }
    return t;
}

// The text an event's values were printed as, in the order of the output.
std::string impresso(const Valor& e) {
    const std::string& tipo = e.em("evento").texto;
    std::string t;
    if (tipo == "dados") {
        t = "Matriz lida:\n" + matriz(e.em("A"), false, true) +
            "Vetor de termos independentes lido:\n";
        for (const Valor& v : e.em("b").lista) t += g(v) + " \n";
    } else if (tipo == "varredura") {
        t = e.em("k").texto + "\t";
        for (const Valor& v : e.em("x").lista) t += f74(v) + "\t";
        t += (e.membro("Erro") != nullptr ? f74(e.em("Erro")) : "") + "\n";
    } else if (tipo == "resultado") {
        const auto op = static_cast<int>(e.em("opcao").numero);
        if (op <= 2) t = "Matriz A resultante:\n" + matriz(e.em("A"), true);
        if (op == 3 || op == 4) t = "Matriz LU resultante:\n" + matriz(e.em("A"), false);
        if (op == 4) {
            t += "Determinante = " + g(e.em("det")) + "\n";
            for (std::size_t i = 0; i < e.em("pos").lista.size(); ++i) {
                char r[32];
                std::snprintf(r, sizeof r, "pos[%2d]=", static_cast<int>(i + 1));
                t += r + e.em("pos").lista[i].texto + " \n";
            }
        }
        if (op == 5) {
            t = "Solucao y resultante:\n";
            for (const Valor& v : e.em("y").lista) t += g(v) + " \n";
        }
        if (op <= 2 || op == 6) t += "\nVetor solucao:\n" + rotulado("x", e.em("x"));
        if (op == 7)
            t = "\nVetor Residuo:\n" + rotulado("r", e.em("r")) + "\nErro = " + g(e.em("Erro")) +
                "\n";
        if (op == 8) t = "Matriz Inversa resultante:\n" + matriz(e.em("Inv"), false);
    }
    return t;
}

const std::string kA4 = "10 -1 2 0\n-1 11 -1 3\n2 -1 10 -1\n0 3 -1 8\n";
const std::string kB4 = "6 25 -11 15\n";
const std::string kA2Zero = "0 1\n1 0\n";
const std::string kB2 = "1 2\n";
const std::string kA3 = "4 -2 1\n-2 4 -2\n1 -2 4\n";
const std::string kB3 = "11 -16 17\n";

struct Caso {
    const char* nome;
    const std::string* a7;
    const std::string* b7;
    const char* entrada;
    int status;
};
const Caso kCasos[] = {
    {"cadeia completa, respostas recusadas", &kA4, &kB4,
     "abc\n-2\n4\n11\n4\n5\n6\n7\n\n8\n9\nx\n0.001\n10\n10\n1e-4\n50\n0\n", 0},
    {"Gauss, LU e inversa", &kA3, &kB3, "3\n1\n2\n3\n8\n7\n\n0\n", 0},
    {"pivo nulo: infinitos e NaN", &kA2Zero, &kB2, "2\n1\n3\n8\n9\n1e-3\n5\n0\n", 0},
    {"Jacobi que diverge", &kA2Zero, &kB2, "2\n10\n-1\n30\n0\n", 0},
    {"fim da entrada na precisao", &kA4, &kB4, "4\n9\n", 1},
    {"arquivo que falta", nullptr, &kB4, "4\n\n", 1},
    {"arquivo curto", &kA3, &kB4, "4\n\n", 1},
};

TEST(Registro, MesmaSaidaEsquemaEValoresImpressos) {
    const Valor esquema = json_mini::le(le_arquivo(SISLIN_SOURCE_DIR "/docs/registro.schema.json"));
    for (const Caso& c : kCasos) {
        SCOPED_TRACE(c.nome);
        const Corrida sem = corre(c.a7, c.b7, c.entrada, false);
        const Corrida com = corre(c.a7, c.b7, c.entrada, true);
        EXPECT_TRUE(sem.eventos.empty());
        espera(com.execucao, sem.execucao.saida, c.status);
        ASSERT_GE(com.eventos.size(), 2u);
        EXPECT_EQ(com.eventos.front().em("evento").texto, "inicio");
        // The last event: the end with the run's status, or the key a file message waits for.
        const Valor& ultimo = com.eventos.back();
        if (ultimo.em("evento").texto == "fim")
            EXPECT_EQ(ultimo.em("status").numero, c.status);
        else
            EXPECT_EQ(ultimo.em("de").texto, "tecla");
        std::size_t pos = 0;
        for (const Valor& e : com.eventos) {
            EXPECT_EQ(json_mini::valida(e, esquema, esquema), "") << e.em("evento").texto;
            const std::string t = impresso(e);
            if (t.empty()) continue;
            const std::size_t achado = com.execucao.saida.find(t, pos);
            ASSERT_NE(achado, std::string::npos) << "not printed as recorded:\n" << t;
            pos = achado + t.size();
        }
    }
}

// What each wait and refusal of the first case says, in order.
TEST(Registro, EsperasERecusas) {
    const Corrida c = corre(&kA4, &kB4, "abc\n-2\n4\n11\n9\nx\n0.1\n2\n7\n\n0\n", true);
    std::string visto;
    for (const Valor& e : c.eventos) {
        const std::string& tipo = e.em("evento").texto;
        if (tipo == "espera") visto += "espera:" + e.em("de").texto + " ";
        if (tipo == "rejeitada") visto += "rejeitada:" + e.em("motivo").texto + " ";
    }
    EXPECT_EQ(visto,
              "espera:dimensao rejeitada:nao e um inteiro espera:dimensao rejeitada:negativo "
              "espera:dimensao espera:menu rejeitada:fora da faixa espera:menu espera:precisao "
              "rejeitada:nao e um numero espera:precisao espera:limite espera:menu espera:pausa "
              "espera:menu ");
}

// A record that cannot be opened, or whose writes fail, is said on standard error; the dialogue
// and its status stay those of a run without it.
TEST(Registro, FalhasDoArquivoDeRegistroSaoDitas) {
    const Execucao sem = executa_sislin(kA4, kB4, "4\n4\n0\n");
    struct Falha {
        const char* caminho;
        const char* erro;
    };
    std::vector<Falha> casos = {
        {"nao/existe.jsonl", "O registro nao/existe.jsonl nao pode ser aberto.\n"}};
    // A full disk, where the program runs as it is (an emulator may not reach the device).
    const char* lancador = std::getenv("SISLIN_LANCADOR");
    if ((lancador == nullptr || *lancador == '\0') && fs::exists("/dev/full"))
        casos.push_back({"/dev/full", "O registro /dev/full nao pode ser gravado.\n"});
    for (const Falha& c : casos) {
        setenv("SISLIN_REGISTRO", c.caminho, 1);
        const Execucao e = executa_sislin(kA4, kB4, "4\n4\n0\n");
        unsetenv("SISLIN_REGISTRO");
        EXPECT_EQ(e.saida, sem.saida) << c.caminho;
        EXPECT_EQ(e.status, 0) << c.caminho;
        EXPECT_EQ(e.erros, c.erro);
    }
}

}  // namespace

}  // namespace sislin
