// The analysis report.
#include "analise.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "methods.h"
#include "saida_json.h"

namespace sislin::aula {

namespace {

using Indice = std::size_t;

// Single precision keeps 24 bits: log10(2^24) decimal digits.
constexpr double kDigitosFloat = 7.224719895935548;
// Double's unit roundoff times 2: with kappa at 1 / kEpsilon the inverse keeps no digit.
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

std::string g(double v) {
    char buf[kFormatoMax];
    return {buf, formata_g(buf, v)};
}

std::string fixo(double v, int casas) {
    char buf[kFormatoMax];
    return {buf, formata_fixo(buf, v, 0, casas)};
}

std::string numero_linha(Indice i) {
    std::string s = std::to_string(i + 1);
    if (s.size() < 2) s.insert(0, 1, ' ');
    return s;
}

const char* nome_dominancia(Dominancia d) {
    return d == Dominancia::Estrita ? "estrita" : d == Dominancia::Fraca ? "fraca" : "nenhuma";
}

const char* veredito_linha(Dominancia d) {
    return d == Dominancia::Estrita ? "estrita"
           : d == Dominancia::Fraca ? "fraca"
                                    : "nao dominante";
}

const char* frase_dominancia(Dominancia d) {
    return d == Dominancia::Estrita ? "A e estritamente diagonal dominante."
           : d == Dominancia::Fraca ? "A e fracamente diagonal dominante."
                                    : "A nao e diagonal dominante.";
}

void dominancia(const MatrizReal& a, Analise& r) {
    bool estrita = true;
    bool fraca = true;
    for (Indice i = 0; i < a.size(); ++i) {
        double fora = 0.0;
        for (Indice j = 0; j < a.size(); ++j)
            if (j != i) fora += std::fabs(a[i][j]);
        const double d = std::fabs(a[i][i]);
        r.linhas.push_back({d, fora,
                            d > fora    ? Dominancia::Estrita
                            : d == fora ? Dominancia::Fraca
                                        : Dominancia::Nenhuma});
        estrita = estrita && d > fora;
        fraca = fraca && d >= fora;
    }
    r.conclusao = estrita ? Dominancia::Estrita : fraca ? Dominancia::Fraca : Dominancia::Nenhuma;
}

void iteracao(const std::optional<MatrizReal>& t, ResultadoIteracao& r) {
    if (!t) {
        r.diagonal_nula = true;
        return;
    }
    const std::optional<double> raio = raio_espectral(*t);
    if (!raio || std::isnan(*raio)) return;
    r.raio = raio;
    if (*raio < 1.0) r.varreduras = varreduras(*raio);
}

// What the report says of a method after its radius.
std::string veredito(const ResultadoIteracao& r) {
    if (r.diagonal_nula) return "nao se aplica: ha um zero na diagonal de A";
    if (!r.raio) return "raio espectral nao determinado";
    if (!(*r.raio < 1.0)) return "nao converge a partir de todo inicio";
    const std::optional<long> k = r.varreduras;
    return "converge de qualquer inicio; precisao 1e-4 em cerca de " +
           (!k        ? std::string("mais de 1000000 iteracoes")
            : *k == 1 ? std::string("1 iteracao")
                      : std::to_string(*k) + " iteracoes");
}

std::string linha_iteracao(const char* nome, const ResultadoIteracao& r) {
    std::string s = nome;
    if (r.raio) s += "raio espectral " + g(*r.raio) + ": ";
    return s + veredito(r) + "\n";
}

Normas normas(const MatrizReal& a) {
    Normas r;
    for (const std::vector<double>& linha : a) {
        double s = 0.0;
        for (const double v : linha) s += std::fabs(v);
        r.a = maior_ou_nan(r.a, s);
    }
    const std::optional<double> inversa = norma_inversa(a);
    // kappa >= 1 always; the rounding of a well-conditioned inverse may give a hair less.
    double kappa = inversa ? r.a * *inversa : 0.0;
    if (kappa < 1.0) kappa = 1.0;
    r.singular = !inversa || (std::isfinite(r.a) && kappa * kEpsilon >= 1.0);
    if (r.singular) return r;
    r.inversa = *inversa;
    r.kappa = kappa;
    if (std::isfinite(r.kappa)) r.digitos = kDigitosFloat - log10_exato(r.kappa);
    return r;
}

std::string texto_normas(const Normas& r) {
    std::string t = "Normas do maximo e condicao:\n||A||     = " + g(r.a) + "\n";
    if (r.singular) return t + "A e singular: nao tem inversa, kappa infinito\n";
    t += "||A^-1||  = " + g(r.inversa) + "\nkappa(A)  = " + g(r.kappa) + "\n";
    if (!r.digitos) return t;
    return t + "Digitos confiaveis da solucao em precisao simples: " +
           (*r.digitos > 0.0 ? "cerca de " + fixo(*r.digitos, 1) : std::string("nenhum")) + "\n";
}

std::string texto_pivo(int passo) {
    return passo == 0 ? std::string("nenhum pivo nulo.")
                      : "pivo nulo na etapa " + std::to_string(passo) + ".";
}

std::string json_iteracao(const ResultadoIteracao& r) {
    return std::string(R"({"metodo":)") + texto_json(r.metodo) + R"(,"raio":)" +
           json_numero(r.raio) + R"(,"converge":)" + json_booleano(r.converge()) +
           R"(,"varreduras":)" +
           (r.varreduras ? std::to_string(*r.varreduras) : std::string("null")) + R"(,"texto":)" +
           texto_json(veredito(r)) + "}";
}

}  // namespace

double log10_exato(double x) {
    constexpr double kLn2 = 0.6931471805599453;
    constexpr double kLn10 = 2.302585092994046;
    constexpr double kRaizMeio = 0.7071067811865476;
    int e = 0;
    double m = std::frexp(x, &e);  // x = m 2^e, 0.5 <= m < 1
    if (m < kRaizMeio) {
        m *= 2.0;
        --e;
    }
    // ln m = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.18.
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double termo = s;
    double soma = 0.0;
    for (int k = 1; k <= 41; k += 2) {
        soma += termo / k;
        termo *= s2;
    }
    return (2.0 * soma + e * kLn2) / kLn10;
}

std::optional<long> varreduras(double raio) {
    double p = raio;
    for (long k = 1; k <= 1000000; ++k) {
        if (p <= 1e-4) return k;
        p *= raio;
    }
    return std::nullopt;
}

std::optional<double> norma_inversa(const MatrizReal& a0) {
    MatrizReal a = a0;
    const Indice n = a.size();
    MatrizReal inv(n, std::vector<double>(n, 0.0));
    for (Indice i = 0; i < n; ++i) inv[i][i] = 1.0;
    for (Indice k = 0; k < n; ++k) {
        Indice p = k;
        for (Indice i = k + 1; i < n; ++i)
            if (std::fabs(a[i][k]) > std::fabs(a[p][k])) p = i;
        if (!(a[p][k] != 0.0)) return std::nullopt;
        std::swap(a[k], a[p]);
        std::swap(inv[k], inv[p]);
        for (Indice i = 0; i < n; ++i) {
            if (i == k) continue;
            const double m = a[i][k] / a[k][k];
            for (Indice j = k; j < n; ++j) a[i][j] -= m * a[k][j];
            for (Indice j = 0; j < n; ++j) inv[i][j] -= m * inv[k][j];
        }
    }
    double norma = 0.0;
    for (Indice i = 0; i < n; ++i) {
        double s = 0.0;
        for (Indice j = 0; j < n; ++j) s += std::fabs(inv[i][j] / a[i][i]);
        norma = maior_ou_nan(norma, s);
    }
    return norma;
}

int pivo_nulo_simples(const MatrizReal& a) {
    const int n = static_cast<int>(a.size());
    Matrix m = cria_matriz(n + 1, n + 1);
    Vector b = cria_vetor(n + 1);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            m[i][j] =
                static_cast<Scalar>(a[static_cast<Indice>(i - 1)][static_cast<Indice>(j - 1)]);
    Eliminacao(n, m, b);
    int passo = 0;
    for (int i = 1; i <= n && passo == 0; ++i)
        if (m[i][i] == 0.0F) passo = i;
    libera_matriz(m, n + 1);
    libera_vetor(b);
    return passo;
}

std::optional<bool> ResultadoIteracao::converge() const {
    if (diagonal_nula) return false;
    if (!raio) return std::nullopt;
    return *raio < 1.0;
}

Analise analisa(const MatrizReal& a) {
    Analise r;
    dominancia(a, r);
    iteracao(matriz_jacobi(a), r.jacobi);
    iteracao(matriz_gauss_seidel(a), r.gauss_seidel);
    r.normas = normas(a);
    r.pivo_nulo = pivo_nulo_simples(a);
    return r;
}

std::string texto_analise(const Analise& r) {
    std::string t = "Analise de A (n = " + std::to_string(r.linhas.size()) +
                    "), em precisao dupla\n\n"
                    "Dominancia diagonal por linhas (|a_ii| contra a soma dos outros |a_ij|):\n";
    for (Indice i = 0; i < r.linhas.size(); ++i) {
        const LinhaDominancia& l = r.linhas[i];
        t += "linha " + numero_linha(i) + ": " + g(l.diagonal) + " contra " + g(l.outros) + ": " +
             veredito_linha(l.dominancia) + "\n";
    }
    t += std::string(frase_dominancia(r.conclusao)) +
         "\n\nIteracoes (raio espectral da matriz de iteracao):\n";
    t += linha_iteracao("Jacobi:       ", r.jacobi);
    t += linha_iteracao("Gauss-Seidel: ", r.gauss_seidel);
    t += '\n';
    t += texto_normas(r.normas);
    return t + "\nGauss sem pivoteamento (em precisao simples): " + texto_pivo(r.pivo_nulo) + "\n";
}

std::string json_analise(const Analise& r) {
    const Normas& m = r.normas;
    std::string t = json_cabecalho("analise") + R"("n":)" + std::to_string(r.linhas.size()) +
                    R"(,"dominancia":{"linhas":[)";
    for (Indice i = 0; i < r.linhas.size(); ++i) {
        const LinhaDominancia& l = r.linhas[i];
        if (i > 0) t += ',';
        t += R"({"linha":)" + std::to_string(i + 1) + R"(,"diagonal":)" + json_numero(l.diagonal) +
             R"(,"outros":)" + json_numero(l.outros) + R"(,"tipo":")" +
             nome_dominancia(l.dominancia) + "\"}";
    }
    t += R"(],"conclusao":")" + std::string(nome_dominancia(r.conclusao)) + R"(","texto":)" +
         texto_json(frase_dominancia(r.conclusao)) + R"(},"iteracoes":[)" +
         json_iteracao(r.jacobi) + "," + json_iteracao(r.gauss_seidel) + R"(],"normas":{"A":)" +
         json_numero(m.a) + R"(,"inversa":)" +
         (m.singular ? std::string("null") : json_numero(m.inversa)) + R"(,"kappa":)" +
         (m.singular ? std::string("null") : json_numero(m.kappa)) + R"(,"singular":)" +
         (m.singular ? "true" : "false") + R"(,"digitos":)" + json_numero(m.digitos) +
         R"(},"gauss":{"pivo_nulo":)" + std::to_string(r.pivo_nulo) + R"(,"texto":)" +
         texto_json(texto_pivo(r.pivo_nulo)) + R"(},"texto":)" + texto_json(texto_analise(r)) + "}";
    return t;
}

}  // namespace sislin::aula
