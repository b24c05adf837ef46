// Candidates of each kind, and the draw until one keeps the kind's promise.
#include "gerador.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "aleatorio.h"
#include "espectro.h"
#include "methods.h"
#include "sistema_float.h"

namespace sislin::aula {

namespace {

using Indice = std::size_t;

MatrizInt aleatoria(Aleatorio& g, int n, int limite) {
    MatrizInt a = matriz_int(n);
    for (VetorInt& linha : a)
        for (std::int64_t& v : linha) v = g.inteiro(-limite, limite);
    return a;
}

// Each row times -1 or 1: the iteration matrices do not change.
void troca_sinais(Aleatorio& g, MatrizInt& a) {
    for (VetorInt& linha : a)
        if (g.sinal() < 0)
            for (std::int64_t& v : linha) v = -v;
}

MatrizReal em_double(const MatrizInt& a) {
    MatrizReal r(a.size(), std::vector<double>(a.size(), 0.0));
    for (Indice i = 0; i < a.size(); ++i)
        for (Indice j = 0; j < a.size(); ++j) r[i][j] = static_cast<double>(a[i][j]);
    return r;
}

// The spectral radii of the Jacobi and Gauss-Seidel iteration matrices; absent when a diagonal
// entry is zero or the QR iteration does not settle.
struct Raios {
    double jacobi;
    double gauss_seidel;
};
std::optional<Raios> raios(const MatrizInt& a) {
    const MatrizReal r = em_double(a);
    const std::optional<MatrizReal> tj = matriz_jacobi(r);
    const std::optional<MatrizReal> tg = matriz_gauss_seidel(r);
    if (!tj || !tg) return std::nullopt;
    const std::optional<double> rj = raio_espectral(*tj);
    const std::optional<double> rg = raio_espectral(*tg);
    if (!rj || !rg) return std::nullopt;
    return Raios{*rj, *rg};
}

std::optional<MatrizInt> candidato_d(Aleatorio& g, int n) {
    MatrizInt a = aleatoria(g, n, 4);
    for (Indice i = 0; i < a.size(); ++i) a[i][i] = g.sinal() * (soma_fora(a, i) + g.inteiro(1, 4));
    return a;
}

// The matrix elimination without pivoting leaves after k - 1 steps, with pivots +-1 up to
// there (so that every multiplier is an integer and the float arithmetic is exact) and a zero
// pivot at step k, taken back to A by integer multipliers.
std::optional<MatrizInt> candidato_p(Aleatorio& g, int n) {
    const auto k = static_cast<Indice>(g.inteiro(1, n - 1));
    const auto m = static_cast<Indice>(n);
    MatrizInt u = matriz_int(n);
    for (Indice i = 0; i < m; ++i)
        for (Indice j = i < k ? i : k - 1; j < m; ++j) u[i][j] = g.inteiro(-4, 4);
    for (Indice i = 0; i + 1 < k; ++i) u[i][i] = g.sinal();
    u[k - 1][k - 1] = 0;
    MatrizInt a = matriz_int(n);
    for (Indice i = 0; i < m; ++i) {
        a[i] = u[i];
        for (Indice j = 0; j + 1 < k && j < i; ++j) {
            const int l = g.inteiro(-2, 2);
            for (Indice c = 0; c < m; ++c) a[i][c] += l * u[j][c];
        }
    }
    // Past the first step the zero must come from the elimination, not be seen in A.
    if (k > 1 && a[k - 1][k - 1] == 0) return std::nullopt;
    const std::optional<int> nulo = primeiro_menor_nulo(a);
    const std::optional<Fracao> c = condicao(a);
    if (!nulo || *nulo != static_cast<int>(k) || !c || !entre(*c, 1, 1000)) return std::nullopt;
    return a;
}

std::optional<MatrizInt> candidato_g(Aleatorio& g, int n) {
    MatrizInt a = aleatoria(g, n, 9);
    const std::optional<int> nulo = primeiro_menor_nulo(a);
    const std::optional<Fracao> c = condicao(a);
    if (estritamente_dominante(a) || !nulo || *nulo != 0 || !c || !entre(*c, 1, 100))
        return std::nullopt;
    return a;
}

// A unimodular L U with its rows shuffled: an integer inverse, the condition number grows with
// the range r of the factors' entries.
std::optional<MatrizInt> candidato_m(Aleatorio& g, int n) {
    const int r = g.inteiro(1, 9);
    const auto m = static_cast<Indice>(n);
    MatrizInt l = aleatoria(g, n, r);
    MatrizInt u = aleatoria(g, n, r);
    for (Indice i = 0; i < m; ++i) {
        l[i][i] = 1;
        u[i][i] = g.sinal();
        for (Indice j = i + 1; j < m; ++j) l[i][j] = u[j][i] = 0;
    }
    MatrizInt a = matriz_int(n);
    for (Indice i = 0; i < m; ++i)
        for (Indice j = 0; j < m; ++j)
            for (Indice k = 0; k < m; ++k) a[i][j] += l[i][k] * u[k][j];
    for (Indice i = m; i > 1; --i)
        std::swap(a[i - 1], a[static_cast<Indice>(g.inteiro(0, static_cast<int>(i) - 1))]);
    if (maior_modulo(a) > 99) return std::nullopt;
    const std::optional<Fracao> c = condicao(a);
    if (!c || !entre(*c, 1000, 100000)) return std::nullopt;
    return a;
}

// Diagonal entries between half and all of the rest of their row: candidates near the border
// between the two methods' convergence.
MatrizInt candidato_iterativo(Aleatorio& g, int n, bool simetrica) {
    MatrizInt a = aleatoria(g, n, 4);
    for (Indice i = 0; i < a.size(); ++i)
        for (Indice j = 0; j < i && simetrica; ++j) a[i][j] = a[j][i];
    for (Indice i = 0; i < a.size(); ++i) {
        const std::int64_t s = soma_fora(a, i);
        a[i][i] = s < 2 ? 1 : g.inteiro(static_cast<int>(s / 2), static_cast<int>(s));
    }
    troca_sinais(g, a);
    return a;
}

std::optional<MatrizInt> candidato_s(Aleatorio& g, int n) {
    MatrizInt a = candidato_iterativo(g, n, true);
    const std::optional<Raios> r = raios(a);
    if (!r || r->gauss_seidel > kRaioConverge || r->jacobi < kRaioDiverge) return std::nullopt;
    return a;
}

bool so_jacobi_converge(const MatrizInt& a) {
    const std::optional<Raios> r = raios(a);
    return r && r->jacobi <= kRaioConverge && r->gauss_seidel >= kRaioDiverge;
}

// Such matrices are rare among large candidates: a block of at most 4 rows that has the
// property, placed at random rows (in its own order) and coupled only to itself, and strictly
// dominant rows for the rest, which the whole must still keep.
std::optional<MatrizInt> candidato_j(Aleatorio& g, int n) {
    const int k = n < 4 ? n : 4;
    const MatrizInt bloco = candidato_iterativo(g, k, false);
    if (!so_jacobi_converge(bloco)) return std::nullopt;
    if (k == n) return bloco;
    std::vector<Indice> linhas;  // the block's rows, in increasing order
    for (int i = 0, faltam = k; i < n; ++i)
        if (g.inteiro(1, n - i) <= faltam) {
            linhas.push_back(static_cast<Indice>(i));
            --faltam;
        }
    MatrizInt a = candidato_d(g, n).value();
    for (Indice i = 0; i < linhas.size(); ++i) {
        a[linhas[i]].assign(static_cast<Indice>(n), 0);
        for (Indice j = 0; j < linhas.size(); ++j) a[linhas[i]][linhas[j]] = bloco[i][j];
    }
    if (!so_jacobi_converge(a)) return std::nullopt;
    return a;
}

// The system in single precision, as sislin holds it after reading a7.txt and b7.txt (the
// entries are small integers: exact), with its unknowns x = 0, as choices 9 and 10 start.
class EmFloat : public SistemaEmFloat {
public:
    explicit EmFloat(const Sistema& s) : SistemaEmFloat(static_cast<int>(s.x.size())) {
        for (int i = 1; i <= n; ++i) {
            const auto li = static_cast<Indice>(i - 1);
            b[i] = static_cast<Scalar>(s.b[li]);
            x[i] = 0.0F;
            for (int j = 1; j <= n; ++j)
                A[i][j] = static_cast<Scalar>(s.a[li][static_cast<Indice>(j - 1)]);
        }
    }

    // One sweep of the program's own kernel: the change it returns.
    Scalar varre(bool gauss_seidel) {
        return gauss_seidel ? IteracaoGaussSeidel(n, A, b, x) : IteracaoJacobi(n, A, b, x);
    }
    // The largest |x_i - exata_i| (NaN when an unknown is NaN).
    double distancia(const VetorInt& exata) const {
        double d = 0.0;
        for (int i = 1; i <= n; ++i) {
            const double e = std::fabs(static_cast<double>(x[i]) -
                                       static_cast<double>(exata[static_cast<Indice>(i - 1)]));
            if (!(e <= d)) d = e;
        }
        return d;
    }
};

// 200 sweeps of the program's own Jacobi (or Gauss-Seidel) sweep from the zero vector, as the
// program starts them: true when they reach the exact solution to 1e-3 (converge) or end with a
// change above 1000 or not a number (diverge). The radius alone does not settle either: a
// start whose error lies in the span of the smaller eigenvalues does not diverge at first,
// whatever the radius (nunca_para below watches every sweep of the diverging method).
bool percurso(const Sistema& s, bool gauss_seidel, bool converge) {
    EmFloat f(s);
    Scalar mudanca = 0.0F;
    for (int k = 0; k < 200; ++k) mudanca = f.varre(gauss_seidel);
    return converge ? f.distancia(s.x) < 1e-3 : !(mudanca <= 1e3F);
}

// The coarsest precision a diverging method must never meet, and the sweeps it is given to
// overflow in.
constexpr Scalar kPrecisaoMaisFolgada = 1e-2F;
constexpr int kVarredurasAteEstourar = 5000;

// What a student sees of the method that must diverge: sislin, from x = 0 with its own float
// sweeps, stops as converged after the first sweep whose change is at most the precision (and
// k below the limit). True when no precision from 1e-2 down ever stops it: every sweep's
// change stays above 1e-2 until the change is no longer finite (the unknowns have overflowed,
// the table shows inf or nan). The 200 sweeps of percurso do not settle this: the error of
// x = 0 may have (almost) nothing along the dominant eigenvector, so that the changes first
// shrink below the precision, and only the rounding's part along it grows later.
// Overflowing takes at most log(FLT_MAX / 1e-8) / log(1.1), about 1130 sweeps, from a dominant
// part at the rounding's level growing by the radius, at least kRaioDiverge; a candidate still
// finite after kVarredurasAteEstourar sweeps is drawn again (none is among 32000 codes, the
// slowest overflowing in 959).
bool nunca_para(const Sistema& s, bool gauss_seidel) {
    EmFloat f(s);
    for (int k = 0; k < kVarredurasAteEstourar; ++k) {
        const Scalar mudanca = f.varre(gauss_seidel);
        if (!std::isfinite(mudanca)) return true;
        if (!(mudanca > kPrecisaoMaisFolgada)) return false;
    }
    return false;
}

bool cumpre_percursos(Tipo t, const Sistema& s) {
    switch (t) {
        case Tipo::D:
            return percurso(s, false, true) && percurso(s, true, true);
        case Tipo::S:
            return percurso(s, true, true) && percurso(s, false, false) && nunca_para(s, false);
        case Tipo::J:
            return percurso(s, false, true) && percurso(s, true, false) && nunca_para(s, true);
        default:
            return true;
    }
}

// Each kind's candidates, in the order of Tipo.
using Candidato = std::optional<MatrizInt> (*)(Aleatorio&, int);
constexpr std::array<Candidato, kNumeroTipos> kCandidatos{candidato_d, candidato_p, candidato_g,
                                                          candidato_m, candidato_s, candidato_j};

}  // namespace

Sistema gera(const Exercicio& e) {
    Aleatorio g((std::uint64_t{e.semente} << 16U) | (static_cast<std::uint64_t>(e.tipo) << 8U) |
                static_cast<std::uint64_t>(e.n));
    Sistema s;
    for (;;) {
        std::optional<MatrizInt> a = kCandidatos[static_cast<Indice>(e.tipo)](g, e.n);
        if (!a) continue;
        VetorInt x(static_cast<Indice>(e.n), 0);
        for (std::int64_t& v : x) v = g.inteiro(-5, 5);
        const std::optional<VetorInt> b = produto(*a, x);
        if (!b) continue;
        s.a = std::move(*a);
        s.x = x;
        s.b = *b;
        if (cumpre_percursos(e.tipo, s)) return s;
    }
}

}  // namespace sislin::aula
