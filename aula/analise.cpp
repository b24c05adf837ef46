// The analysis report.
#include "analise.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "methods.h"

namespace sislin::aula {

namespace {

using Indice = std::size_t;

// Single precision keeps 24 bits: log10(2^24) decimal digits.
constexpr double kDigitosFloat = 7.224719895935548;

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

std::string dominancia(const MatrizReal& a) {
    std::string t = "Dominancia diagonal por linhas (|a_ii| contra a soma dos outros |a_ij|):\n";
    bool estrita = true;
    bool fraca = true;
    for (Indice i = 0; i < a.size(); ++i) {
        double fora = 0.0;
        for (Indice j = 0; j < a.size(); ++j)
            if (j != i) fora += std::fabs(a[i][j]);
        const double d = std::fabs(a[i][i]);
        const char* veredito = d > fora ? "estrita" : d == fora ? "fraca" : "nao dominante";
        estrita = estrita && d > fora;
        fraca = fraca && d >= fora;
        t += "linha " + numero_linha(i) + ": " + g(d) + " contra " + g(fora) + ": " + veredito +
             "\n";
    }
    t += estrita ? "A e estritamente diagonal dominante.\n"
         : fraca ? "A e fracamente diagonal dominante.\n"
                 : "A nao e diagonal dominante.\n";
    return t;
}

std::string iteracao(const char* nome, const std::optional<MatrizReal>& t) {
    std::string s = nome;
    if (!t) return s + "nao se aplica: ha um zero na diagonal de A\n";
    const std::optional<double> raio = raio_espectral(*t);
    if (!raio || std::isnan(*raio)) return s + "raio espectral nao determinado\n";
    s += "raio espectral " + g(*raio);
    if (!(*raio < 1.0)) return s + ": nao converge a partir de todo inicio\n";
    const std::optional<long> k = varreduras(*raio);
    return s + ": converge de qualquer inicio; precisao 1e-4 em cerca de " +
           (!k        ? std::string("mais de 1000000 iteracoes")
            : *k == 1 ? std::string("1 iteracao")
                      : std::to_string(*k) + " iteracoes") +
           "\n";
}

std::string condicao_texto(const MatrizReal& a) {
    double norma = 0.0;
    for (const std::vector<double>& linha : a) {
        double s = 0.0;
        for (const double v : linha) s += std::fabs(v);
        if (!(s <= norma)) norma = s;
    }
    std::string t = "Normas do maximo e condicao:\n||A||     = " + g(norma) + "\n";
    const std::optional<double> inversa = norma_inversa(a);
    if (!inversa) return t + "A e singular: nao tem inversa, kappa infinito\n";
    const double kappa = norma * *inversa;
    t += "||A^-1||  = " + g(*inversa) + "\nkappa(A)  = " + g(kappa) + "\n";
    if (!std::isfinite(kappa) || kappa < 1.0) return t;
    const double digitos = kDigitosFloat - log10_exato(kappa);
    return t + "Digitos confiaveis da solucao em precisao simples: " +
           (digitos > 0.0 ? "cerca de " + fixo(digitos, 1) : std::string("nenhum")) + "\n";
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
        if (!(s <= norma)) norma = s;
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

std::string analisa(const MatrizReal& a) {
    std::string t = "Analise de A (n = " + std::to_string(a.size()) + "), em precisao dupla\n\n";
    t += dominancia(a) + "\nIteracoes (raio espectral da matriz de iteracao):\n";
    t += iteracao("Jacobi:       ", matriz_jacobi(a));
    t += iteracao("Gauss-Seidel: ", matriz_gauss_seidel(a));
    t += '\n';
    t += condicao_texto(a);
    t += "\nGauss sem pivoteamento (em precisao simples): ";
    const int passo = pivo_nulo_simples(a);
    t += passo == 0 ? std::string("nenhum pivo nulo.\n")
                    : "pivo nulo na etapa " + std::to_string(passo) + ".\n";
    return t;
}

}  // namespace sislin::aula
