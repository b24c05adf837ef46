// The exercise code: writing, reading and the check character.
#include "codigo.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace sislin::aula {

namespace {

constexpr const char* kAlfabeto = "0123456789ACDEFGHJKMNPRSTVWXY";
constexpr int kBase = 29;
constexpr int kDigitosSemente = 6;
// Kind, two digits of n, the seed: the characters the check character covers.
constexpr int kCorpo = 3 + kDigitosSemente;

// The value of c in the alphabet (either case), or -1.
int valor(char c) {
    const char maiuscula = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    const char* p = std::strchr(kAlfabeto, maiuscula);
    return maiuscula != '\0' && p != nullptr ? static_cast<int>(p - kAlfabeto) : -1;
}

int verificador(const std::array<int, kCorpo>& v) {
    int soma = 0;
    for (int i = 0; i < kCorpo; ++i) soma += (i + 1) * v[static_cast<std::size_t>(i)];
    return soma % kBase;
}

struct DadosDoTipo {
    int minimo;
    int maximo;
    const char* descricao;
};

constexpr std::array<DadosDoTipo, kNumeroTipos> kTipos{{
    {2, 10, "estritamente diagonal dominante: Jacobi e Gauss-Seidel convergem"},
    {2, 10, "Gauss sem pivoteamento encontra um pivo nulo; com pivoteamento, bem condicionado"},
    {2, 10, "geral e bem condicionado, sem pivo nulo e sem dominancia estrita"},
    {2, 10, "mal condicionado: a solucao em precisao simples perde digitos"},
    {3, 10, "Gauss-Seidel converge e Jacobi diverge"},
    {3, 10, "Jacobi converge e Gauss-Seidel diverge"},
}};

const DadosDoTipo& dados(Tipo t) {
    return kTipos[static_cast<std::size_t>(t)];
}

}  // namespace

char letra_tipo(Tipo t) {
    return kLetrasTipos[static_cast<int>(t)];
}

std::optional<Tipo> tipo_da_letra(char c) {
    const char maiuscula = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    for (int i = 0; i < kNumeroTipos; ++i)
        if (kLetrasTipos[i] == maiuscula) return static_cast<Tipo>(i);
    return std::nullopt;
}

int n_minimo(Tipo t) {
    return dados(t).minimo;
}
int n_maximo(Tipo t) {
    return dados(t).maximo;
}
const char* descricao_tipo(Tipo t) {
    return dados(t).descricao;
}

std::string escreve_codigo(const Exercicio& e) {
    std::array<int, kCorpo> v{};
    v[0] = valor(letra_tipo(e.tipo));
    v[1] = e.n / 10;
    v[2] = e.n % 10;
    std::uint32_t s = e.semente;
    for (int i = kCorpo - 1; i >= 3; --i) {
        v[static_cast<std::size_t>(i)] = static_cast<int>(s % kBase);
        s /= kBase;
    }
    std::string texto;
    for (int i = 0; i < kCorpo; ++i) {
        if (i == 3) texto += '-';
        texto += kAlfabeto[v[static_cast<std::size_t>(i)]];
    }
    texto += kAlfabeto[verificador(v)];
    return texto;
}

LeituraCodigo le_codigo(const std::string& texto) {
    std::string limpo;
    for (const char c : texto)
        if (c != '-' && c != ' ' && c != '\t') limpo += c;
    if (limpo.size() != kCorpo + 1)
        return {std::nullopt,
                "o codigo tem 10 caracteres (fora hifens e espacos), como D07-4KX9M2D"};
    std::array<int, kCorpo> v{};
    for (std::size_t i = 0; i < limpo.size(); ++i) {
        const int x = valor(limpo[i]);
        if (x < 0)
            return {std::nullopt, std::string("o caractere '") + limpo[i] +
                                      "' nao existe nos codigos (nao ha B, I, L, O, Q, U nem Z)"};
        if (i < kCorpo) v[i] = x;
    }
    if (valor(limpo[kCorpo]) != verificador(v))
        return {std::nullopt, "codigo com erro de digitacao (o caractere de controle nao confere)"};
    const std::optional<Tipo> tipo = tipo_da_letra(limpo[0]);
    if (!tipo || v[1] > 9 || v[2] > 9)
        return {std::nullopt, "codigo invalido: nao corresponde a nenhum exercicio"};
    Exercicio e{*tipo, v[1] * 10 + v[2], 0};
    for (int i = 3; i < kCorpo; ++i)
        e.semente = e.semente * kBase + static_cast<std::uint32_t>(v[static_cast<std::size_t>(i)]);
    if (e.n < n_minimo(e.tipo) || e.n > n_maximo(e.tipo))
        return {std::nullopt, "codigo invalido: nao corresponde a nenhum exercicio"};
    return {e, ""};
}

}  // namespace sislin::aula
