// Class assignments: the key and the id as typed, and the seed derived from them, which must be
// the same on every platform (the table pins codes) and distinct across a class.
#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

#include "codigo.h"
#include "turma.h"

using namespace sislin::aula;

namespace {

struct CasoCodigo {
    const char* chave;
    const char* matricula;
    Tipo tipo;
    int n;
    const char* codigo;
};

// Codes pinned when the derivation was written; every port and the page must give them.
const CasoCodigo kCodigos[] = {
#include "turma_codigos.inc"
};

TEST(Turma, CodigosFixados) {
    for (const CasoCodigo& c : kCodigos) {
        const auto e = exercicio_da_turma(c.chave, c.matricula, c.tipo, c.n);
        ASSERT_TRUE(e.has_value()) << c.chave << " / " << c.matricula;
        EXPECT_EQ(escreve_codigo(*e), c.codigo) << c.chave << " / " << c.matricula;
    }
}

TEST(Turma, NormalizacaoDaChaveEDaMatricula) {
    const auto a = exercicio_da_turma("Calculo  Numerico 2026", " 2026A17 ", Tipo::D, 4);
    const auto b = exercicio_da_turma("  calculo numerico 2026 ", "2026a17", Tipo::D, 4);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->semente, b->semente);
    // Another kind, n or key gives another seed.
    EXPECT_NE(a->semente,
              exercicio_da_turma("calculo numerico 2026", "2026a17", Tipo::G, 4)->semente);
    EXPECT_NE(a->semente,
              exercicio_da_turma("calculo numerico 2026", "2026a17", Tipo::D, 5)->semente);
    EXPECT_NE(a->semente,
              exercicio_da_turma("calculo numerico 2027", "2026a17", Tipo::D, 4)->semente);
    // A leading zero makes another id.
    EXPECT_NE(exercicio_da_turma("chave", "007", Tipo::D, 3)->semente,
              exercicio_da_turma("chave", "7", Tipo::D, 3)->semente);
}

TEST(Turma, RecusasComMotivo) {
    const struct {
        const char* texto;
        bool chave;
        const char* motivo;
    } casos[] = {
        {"x", true, "pelo menos 4"},
        {"   ab  ", true, "pelo menos 4"},
        {"chave\x01", true, "letras sem acento"},
        {"cha\xC3\xA7"
         "ao",
         true, "letras sem acento"},
        {"", false, "vazia"},
        {"   ", false, "vazia"},
        {"20 26", false, "espaco"},
        {"jo\xC3\xA3o", false, "letras sem acento"},
        {"a,b", false, "letras sem acento"},
    };
    for (const auto& c : casos) {
        const Normalizado r = c.chave ? normaliza_chave(c.texto) : normaliza_matricula(c.texto);
        EXPECT_FALSE(r.texto.has_value()) << c.texto;
        EXPECT_NE(r.erro.find(c.motivo), std::string::npos) << c.texto << ": " << r.erro;
    }
    EXPECT_EQ(*normaliza_chave(" Turma  B\t2026 ").texto, "turma b 2026");
    EXPECT_EQ(*normaliza_matricula("Ana.Souza@Escola").texto, "ana.souza@escola");
    EXPECT_FALSE(exercicio_da_turma("chave", "123", Tipo::S, 2).has_value());  // S starts at 3
}

// 10 000 ids of one class, numeric and not, give valid codes with distinct seeds.
TEST(Turma, DezMilMatriculasDistintas) {
    for (const bool numericas : {true, false}) {
        std::unordered_set<std::uint32_t> sementes;
        for (int i = 0; i < 10000; ++i) {
            const std::string id =
                numericas ? std::to_string(2026000000 + i * 7) : "aluno." + std::to_string(i);
            const auto e = exercicio_da_turma("Turma de 2026", id, Tipo::G, 5);
            ASSERT_TRUE(e.has_value());
            EXPECT_LT(e->semente, kSementes);
            const LeituraCodigo lido = le_codigo(escreve_codigo(*e));
            ASSERT_TRUE(lido.exercicio.has_value()) << lido.erro;
            EXPECT_EQ(lido.exercicio->semente, e->semente);
            sementes.insert(e->semente);
        }
        EXPECT_EQ(sementes.size(), 10000U) << (numericas ? "numericas" : "nomes");
    }
}

}  // namespace
