// Exact integer matrix arithmetic: fraction-free (Bareiss) elimination with checked products.
#include "inteiros.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace sislin::aula {

namespace {

using Indice = std::size_t;

constexpr std::int64_t kMaior = INT64_MAX;

std::int64_t modulo(std::int64_t v) {
    return v < 0 ? -v : v;
}

// Checked by division, without compiler builtins, so that every target takes the same path.
// INT64_MIN never arises: every result is kept within +-kMaior.
bool mul(std::int64_t a, std::int64_t b, std::int64_t& r) {
    if (a != 0 && modulo(b) > kMaior / modulo(a)) return false;
    r = a * b;
    return true;
}
bool soma(std::int64_t a, std::int64_t b, std::int64_t& r) {
    if ((b > 0 && a > kMaior - b) || (b < 0 && a < -kMaior - b)) return false;
    r = a + b;
    return true;
}

// One fraction-free step at pivot k: every entry (i, j) with i, j > k becomes
// (a_ij a_kk - a_ik a_kj) / anterior, an exact division. False on overflow.
bool passo_bareiss(MatrizInt& a, Indice k, std::int64_t anterior) {
    const Indice n = a.size();
    for (Indice i = k + 1; i < n; ++i)
        for (Indice j = k + 1; j < n; ++j) {
            std::int64_t p = 0;
            std::int64_t q = 0;
            if (!mul(a[i][j], a[k][k], p) || !mul(a[i][k], a[k][j], q) || !soma(p, -q, p))
                return false;
            a[i][j] = p / anterior;
        }
    return true;
}

// |x| summed over a row, checked.
std::optional<std::int64_t> soma_modulos(const VetorInt& linha) {
    std::int64_t s = 0;
    for (const std::int64_t v : linha)
        if (!soma(s, modulo(v), s)) return std::nullopt;
    return s;
}

// The matrix without row i and column j.
MatrizInt menor(const MatrizInt& a, Indice i, Indice j) {
    const Indice n = a.size();
    MatrizInt m;
    for (Indice r = 0; r < n; ++r) {
        if (r == i) continue;
        VetorInt linha;
        for (Indice c = 0; c < n; ++c)
            if (c != j) linha.push_back(a[r][c]);
        m.push_back(std::move(linha));
    }
    return m;
}

}  // namespace

MatrizInt matriz_int(int n) {
    const auto m = static_cast<Indice>(n);
    return MatrizInt(m, VetorInt(m, 0));
}

std::optional<std::int64_t> determinante(MatrizInt a) {
    const Indice n = a.size();
    if (n == 0) return 1;
    std::int64_t anterior = 1;
    std::int64_t sinal = 1;
    for (Indice k = 0; k + 1 < n; ++k) {
        if (a[k][k] == 0) {
            Indice p = k + 1;
            while (p < n && a[p][k] == 0) ++p;
            if (p == n) return 0;
            std::swap(a[k], a[p]);
            sinal = -sinal;
        }
        if (!passo_bareiss(a, k, anterior)) return std::nullopt;
        anterior = a[k][k];
    }
    return sinal * a[n - 1][n - 1];
}

std::optional<int> primeiro_menor_nulo(MatrizInt a) {
    const Indice n = a.size();
    std::int64_t anterior = 1;
    for (Indice k = 0; k < n; ++k) {
        if (a[k][k] == 0) return static_cast<int>(k + 1);
        if (!passo_bareiss(a, k, anterior)) return std::nullopt;
        anterior = a[k][k];
    }
    return 0;
}

std::optional<Fracao> condicao(const MatrizInt& a) {
    const Indice n = a.size();
    const std::optional<std::int64_t> det = determinante(a);
    if (!det || *det == 0) return std::nullopt;
    std::int64_t norma = 0;
    for (const VetorInt& linha : a) {
        const std::optional<std::int64_t> s = soma_modulos(linha);
        if (!s) return std::nullopt;
        if (*s > norma) norma = *s;
    }
    // Row r of the adjugate is column r of the cofactors: its norm is the largest sum of
    // |minor(i, r)| over i.
    std::int64_t norma_adj = n == 1 ? 1 : 0;
    for (Indice r = 0; r < n && n > 1; ++r) {
        std::int64_t s = 0;
        for (Indice i = 0; i < n; ++i) {
            const std::optional<std::int64_t> m = determinante(menor(a, i, r));
            if (!m || !soma(s, modulo(*m), s)) return std::nullopt;
        }
        if (s > norma_adj) norma_adj = s;
    }
    Fracao f{0, modulo(*det)};
    if (!mul(norma, norma_adj, f.numerador)) return std::nullopt;
    return f;
}

bool entre(const Fracao& f, std::int64_t minimo, std::int64_t maximo) {
    std::int64_t baixo = 0;
    std::int64_t alto = 0;
    return mul(minimo, f.denominador, baixo) && mul(maximo, f.denominador, alto) &&
           baixo <= f.numerador && f.numerador <= alto;
}

std::int64_t soma_fora(const MatrizInt& a, Indice i) {
    std::int64_t s = 0;
    for (Indice j = 0; j < a.size(); ++j)
        if (j != i) s += modulo(a[i][j]);
    return s;
}

bool estritamente_dominante(const MatrizInt& a) {
    for (Indice i = 0; i < a.size(); ++i)
        if (modulo(a[i][i]) <= soma_fora(a, i)) return false;
    return true;
}

std::optional<VetorInt> produto(const MatrizInt& a, const VetorInt& x) {
    VetorInt b(a.size(), 0);
    for (Indice i = 0; i < a.size(); ++i)
        for (Indice j = 0; j < x.size(); ++j) {
            std::int64_t p = 0;
            if (!mul(a[i][j], x[j], p) || !soma(b[i], p, b[i])) return std::nullopt;
        }
    return b;
}

std::int64_t maior_modulo(const MatrizInt& a) {
    std::int64_t m = 0;
    for (const VetorInt& linha : a)
        for (const std::int64_t v : linha)
            if (modulo(v) > m) m = modulo(v);
    return m;
}

}  // namespace sislin::aula
