// Every dialogue quoted in the user guide must be what the program prints today. A block is
// marked by a comment line giving its standard input, right before a ```text fence:
//   <!-- entrada: 4\n1\n0\n -->   the block is the whole standard output;
//   <!-- trecho: 4\n3\n8\n0\n -->  the block occurs, byte for byte, in the standard output.
// The block's last line end belongs to the closing fence. Runs use the files of examples/.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dialogo.h"

namespace sislin {

namespace {

struct Bloco {
    bool inteiro = false;  // whole output, or an excerpt
    std::string entrada;
    std::string texto;
    int linha = 0;
};

std::string desfaz_escapes(const std::string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            r += '\n';
            ++i;
        } else {
            r += s[i];
        }
    }
    return r;
}

std::vector<Bloco> blocos(const std::string& guia) {
    std::vector<Bloco> r;
    std::istringstream in(guia);
    std::string linha;
    int numero = 0;
    while (std::getline(in, linha)) {
        ++numero;
        const bool inteiro = linha.rfind("<!-- entrada: ", 0) == 0;
        const bool trecho = linha.rfind("<!-- trecho: ", 0) == 0;
        if (!inteiro && !trecho) continue;
        Bloco b;
        b.inteiro = inteiro;
        b.linha = numero;
        const std::size_t ini = linha.find(':') + 2;
        const std::size_t fim = linha.rfind(" -->");
        b.entrada = desfaz_escapes(linha.substr(ini, fim - ini));
        std::getline(in, linha);
        ++numero;
        EXPECT_EQ(linha, "```text") << "line " << numero;
        while (std::getline(in, linha) && linha != "```") {
            ++numero;
            b.texto += linha + "\n";
        }
        ++numero;
        if (!b.texto.empty()) b.texto.pop_back();
        r.push_back(b);
    }
    return r;
}

TEST(Guia, DialogosCitadosSaoOsDeHoje) {
    const std::string guia = le_arquivo(SISLIN_SOURCE_DIR "/docs/guia.md");
    const std::string a7 = le_arquivo(SISLIN_SOURCE_DIR "/examples/a7.txt");
    const std::string b7 = le_arquivo(SISLIN_SOURCE_DIR "/examples/b7.txt");
    ASSERT_FALSE(guia.empty());
    const std::vector<Bloco> bs = blocos(guia);
    EXPECT_GE(bs.size(), 10u);
    for (const Bloco& b : bs) {
        const Execucao e = executa_sislin(a7, b7, b.entrada);
        EXPECT_EQ(e.status, 0) << "guide line " << b.linha << e.erros;
        if (b.inteiro)
            EXPECT_EQ(e.saida, b.texto) << "guide line " << b.linha;
        else
            EXPECT_NE(e.saida.find(b.texto), std::string::npos)
                << "guide line " << b.linha << ", excerpt:\n"
                << b.texto << "\noutput:\n"
                << e.saida;
    }
}

}  // namespace

}  // namespace sislin
