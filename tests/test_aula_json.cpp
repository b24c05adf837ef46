// The JSON object of sislin-aula analise --json, in process: it satisfies its schema, and every
// figure in it, printed as the text report prints it, is the text's, on systems of every kind
// of exercise and on the cases where a figure is not determined. (The schema is read from the
// sources: this runs with the dialogue tests, natively.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "analise.h"
#include "codigo.h"
#include "dialogo.h"
#include "gerador.h"
#include "json_mini.h"
#include "util.h"

using namespace sislin;
using namespace sislin::aula;

namespace {

using json_mini::Valor;

std::string g(double v) {
    char buf[kFormatoMax];
    return {buf, formata_g(buf, v)};
}

// A JSON number as the text prints it with "%g"; null stands for a value that is not finite,
// which the text prints as nan, inf or -inf (the mark kNaoFinito in an expected line).
constexpr char kNaoFinito = '\x01';
std::string g(const Valor& v) {
    return v.tipo == Valor::Tipo::Nulo ? std::string(1, kNaoFinito) : g(v.numero);
}

// linha is esperada, each kNaoFinito in it standing for nan, inf or -inf.
bool casa(const std::string& linha, const std::string& esperada) {
    const std::size_t marca = esperada.find(kNaoFinito);
    if (marca == std::string::npos) return linha == esperada;
    if (linha.compare(0, marca, esperada, 0, marca) != 0) return false;
    for (const char* v : {"nan", "inf", "-inf"})
        if (linha.compare(marca, std::strlen(v), v) == 0 &&
            casa(linha.substr(marca + std::strlen(v)), esperada.substr(marca + 1)))
            return true;
    return false;
}

const Valor& esquema() {
    static const Valor e =
        json_mini::le(le_arquivo(std::string(SISLIN_SOURCE_DIR) + "/docs/sislin-aula.schema.json"));
    return e;
}

// The object satisfies the schema, and every figure in it, printed as the text prints it,
// is the text's: the same lines, rebuilt from the JSON.
void confere_json(const std::string& json, const std::string& texto) {
    SCOPED_TRACE(json);
    const Valor v = json_mini::le(json);
    ASSERT_EQ(json_mini::valida(v, esquema(), esquema()), "");
    ASSERT_EQ(v.em("comando").texto, "analise");
    EXPECT_EQ(v.em("texto").texto, texto);
    const std::vector<std::string> l = linhas_de(texto);
    const auto tem = [&l](const std::string& esperada) {
        EXPECT_TRUE(std::any_of(l.begin(), l.end(), [&](const std::string& x) {
            return casa(x, esperada);
        })) << esperada;
    };
    const Valor& dom = v.em("dominancia");
    const std::vector<Valor>& filas = dom.em("linhas").lista;
    ASSERT_EQ(filas.size(), static_cast<std::size_t>(v.em("n").numero));
    for (std::size_t i = 0; i < filas.size(); ++i) {
        const Valor& f = filas[i];
        EXPECT_EQ(f.em("linha").numero, static_cast<double>(i + 1));
        const std::string& tipo = f.em("tipo").texto;
        std::string numero = std::to_string(i + 1);
        if (numero.size() < 2) numero.insert(0, 1, ' ');
        tem("linha " + numero + ": " + g(f.em("diagonal")) + " contra " + g(f.em("outros")) + ": " +
            (tipo == "nenhuma" ? "nao dominante" : tipo));
    }
    tem(dom.em("texto").texto);
    const std::string conclusao = dom.em("conclusao").texto;
    EXPECT_NE(dom.em("texto").texto.find(conclusao == "estrita" ? "estritamente"
                                         : conclusao == "fraca" ? "fracamente"
                                                                : "nao e"),
              std::string::npos);
    const std::vector<Valor>& it = v.em("iteracoes").lista;
    ASSERT_EQ(it.size(), 2U);
    const char* nomes[] = {"Jacobi:       ", "Gauss-Seidel: "};
    const char* metodos[] = {"jacobi", "gauss-seidel"};
    for (std::size_t i = 0; i < 2; ++i) {
        const Valor& r = it[i];
        EXPECT_EQ(r.em("metodo").texto, metodos[i]);
        const bool raio = r.em("raio").tipo == Valor::Tipo::Numero;
        tem(nomes[i] + (raio ? "raio espectral " + g(r.em("raio")) + ": " : std::string()) +
            r.em("texto").texto);
        const Valor& converge = r.em("converge");
        const Valor& k = r.em("varreduras");
        if (raio) {
            EXPECT_EQ(converge.booleano, r.em("raio").numero < 1.0);
        }
        if (k.tipo == Valor::Tipo::Numero) {
            EXPECT_TRUE(converge.booleano);
            const std::string quantas = k.numero == 1 ? "1 iteracao" : g(k.numero) + " iteracoes";
            EXPECT_NE(r.em("texto").texto.find("cerca de " + quantas), std::string::npos);
        }
    }
    const Valor& m = v.em("normas");
    tem("||A||     = " + g(m.em("A")));
    if (m.em("singular").booleano) {
        tem("A e singular: nao tem inversa, kappa infinito");
        EXPECT_EQ(m.em("inversa").tipo, Valor::Tipo::Nulo);
        EXPECT_EQ(m.em("kappa").tipo, Valor::Tipo::Nulo);
    } else {
        tem("||A^-1||  = " + g(m.em("inversa")));
        tem("kappa(A)  = " + g(m.em("kappa")));
    }
    const Valor& d = m.em("digitos");
    const std::string digitos = "Digitos confiaveis da solucao em precisao simples: ";
    if (d.tipo == Valor::Tipo::Nulo) {
        EXPECT_EQ(texto.find(digitos), std::string::npos);
    } else {
        char buf[kFormatoMax];
        tem(digitos + (d.numero > 0
                           ? "cerca de " + std::string(buf, formata_fixo(buf, d.numero, 0, 1))
                           : std::string("nenhum")));
    }
    const Valor& gauss = v.em("gauss");
    tem("Gauss sem pivoteamento (em precisao simples): " + gauss.em("texto").texto);
    const double passo = gauss.em("pivo_nulo").numero;
    EXPECT_EQ(gauss.em("texto").texto,
              passo == 0 ? "nenhum pivo nulo." : "pivo nulo na etapa " + g(passo) + ".");
}

MatrizReal em_double(const MatrizInt& a) {
    MatrizReal r(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) r[i].assign(a[i].begin(), a[i].end());
    return r;
}

}  // namespace

TEST(AulaJson, OsNumerosDoJsonSaoOsDoTextoEmCadaTipo) {
    for (int t = 0; t < kNumeroTipos; ++t) {
        const auto tipo = static_cast<Tipo>(t);
        for (int n = n_minimo(tipo); n <= n_maximo(tipo); ++n)
            for (const std::uint32_t semente : {3U, 77777U}) {
                const Analise r = analisa(em_double(gera({tipo, n, semente}).a));
                confere_json(json_analise(r), texto_analise(r));
                // Each double reads back from its JSON text to the same bits.
                const Valor v = json_mini::le(json_analise(r));
                const auto mesmo = [](const Valor& j, std::optional<double> x) {
                    if (x)
                        EXPECT_EQ(j.numero, *x);
                    else
                        EXPECT_EQ(j.tipo, Valor::Tipo::Nulo);
                };
                mesmo(v.em("iteracoes").lista[0].em("raio"), r.jacobi.raio);
                mesmo(v.em("iteracoes").lista[1].em("raio"), r.gauss_seidel.raio);
                mesmo(v.em("normas").em("kappa"), r.normas.kappa);
                mesmo(v.em("normas").em("inversa"), r.normas.inversa);
                mesmo(v.em("normas").em("digitos"), r.normas.digitos);
            }
    }
}

TEST(AulaJson, ValoresNaoDeterminadosSaoNull) {
    const double nan = std::nan("");
    const MatrizReal casos[] = {
        {{0, 1}, {1, 1}},                   // a zero on the diagonal: no radius
        {{1, 2}, {2, 4}},                   // singular
        {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},  // singular in double
        {{1, nan}, {1, 2}},                 // NaN in the norms
        {{2, 1}, {1, nan}},                 // the same, the other row
        {{1e300, 1e300}, {1, 1}},           // an overflowing norm
        {{1, 0.99999994}, {1, 1}},          // no digit left
        {{49}},                             // kappa rounds below 1
        {{5}},
    };
    for (const MatrizReal& a : casos) {
        const Analise r = analisa(a);
        confere_json(json_analise(r), texto_analise(r));
    }
    const Valor zero = json_mini::le(json_analise(analisa(casos[0])));
    const Valor& jacobi = zero.em("iteracoes").lista[0];
    EXPECT_EQ(jacobi.em("raio").tipo, Valor::Tipo::Nulo);
    EXPECT_EQ(jacobi.em("converge").tipo, Valor::Tipo::Booleano);
    EXPECT_FALSE(jacobi.em("converge").booleano);
    for (const std::size_t i : {1U, 2U}) {
        const Valor singular = json_mini::le(json_analise(analisa(casos[i])));
        EXPECT_TRUE(singular.em("normas").em("singular").booleano);
        EXPECT_EQ(singular.em("normas").em("digitos").tipo, Valor::Tipo::Nulo);
    }
    for (const std::size_t i : {3U, 4U})
        EXPECT_EQ(json_mini::le(json_analise(analisa(casos[i]))).em("normas").em("A").tipo,
                  Valor::Tipo::Nulo);
}
