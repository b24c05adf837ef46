// Eigenvalues by Hessenberg reduction and the Francis double-shift QR algorithm; the Jacobi and
// Gauss-Seidel iteration matrices. Indices run from 1 inside (the textbook form of the method).
#include "espectro.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace sislin::aula {

namespace {

using Indice = std::size_t;
constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr int kMaxPassos = 30;

// |a| with the sign of b.
double com_sinal(double a, double b) {
    return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

// An (n + 1) x (n + 1) copy of a, used from index 1.
class Quadrada {
public:
    explicit Quadrada(const MatrizReal& a)
        : lado_(static_cast<int>(a.size()) + 1),
          v_(static_cast<Indice>(lado_) * static_cast<Indice>(lado_), 0.0) {
        for (int i = 1; i < lado_; ++i)
            for (int j = 1; j < lado_; ++j)
                (*this)(i, j) = a[static_cast<Indice>(i - 1)][static_cast<Indice>(j - 1)];
    }
    double& operator()(int i, int j) { return v_[lugar(i, j)]; }
    double operator()(int i, int j) const { return v_[lugar(i, j)]; }

private:
    Indice lugar(int i, int j) const {
        return static_cast<Indice>(i) * static_cast<Indice>(lado_) + static_cast<Indice>(j);
    }

    int lado_;
    std::vector<double> v_;
};

// Upper Hessenberg form by elimination with the largest entry of each column as pivot; the
// entries below the subdiagonal are then set to zero.
void hessenberg(Quadrada& a, int n) {
    for (int m = 2; m < n; ++m) {
        double x = 0.0;
        int p = m;
        for (int j = m; j <= n; ++j)
            if (std::fabs(a(j, m - 1)) > std::fabs(x)) {
                x = a(j, m - 1);
                p = j;
            }
        if (p != m) {
            for (int j = m - 1; j <= n; ++j) std::swap(a(p, j), a(m, j));
            for (int j = 1; j <= n; ++j) std::swap(a(j, p), a(j, m));
        }
        if (x == 0.0) continue;
        for (int i = m + 1; i <= n; ++i) {
            const double y = a(i, m - 1) / x;
            if (y == 0.0) continue;
            for (int j = m; j <= n; ++j) a(i, j) -= y * a(m, j);
            for (int j = 1; j <= n; ++j) a(j, m) += y * a(j, i);
        }
    }
    for (int i = 3; i <= n; ++i)
        for (int j = 1; j < i - 1; ++j) a(i, j) = 0.0;
}

// The lowest l such that the subdiagonal from l + 1 to nn is nonzero (a negligible entry is set
// to zero): rows l..nn form the active block.
int inicio_bloco(Quadrada& a, int nn, double norma) {
    for (int l = nn; l >= 2; --l) {
        double s = std::fabs(a(l - 1, l - 1)) + std::fabs(a(l, l));
        if (s == 0.0) s = norma;
        if (std::fabs(a(l, l - 1)) <= kEps * s) {
            a(l, l - 1) = 0.0;
            return l;
        }
    }
    return 1;
}

// The two eigenvalues of the trailing 2 x 2 block of rows nn - 1 and nn, plus the shift t.
void par(const Quadrada& a, int nn, double t, Autovalores& r) {
    const double x = a(nn, nn);
    const double y = a(nn - 1, nn - 1);
    const double w = a(nn, nn - 1) * a(nn - 1, nn);
    const double p = 0.5 * (y - x);
    const double q = p * p + w;
    double z = std::sqrt(std::fabs(q));
    const auto i = static_cast<Indice>(nn);
    if (q >= 0.0) {
        z = p + com_sinal(z, p);
        r.real[i - 1] = r.real[i] = x + t + z;
        if (z != 0.0) r.real[i] = x + t - w / z;
        r.imaginaria[i - 1] = r.imaginaria[i] = 0.0;
    } else {
        r.real[i - 1] = r.real[i] = x + t + p;
        r.imaginaria[i - 1] = -z;
        r.imaginaria[i] = z;
    }
}

// The shifts of a double step: x, y from the trailing block (w the product of its off-diagonal
// entries). Returns the row m where the step starts, with the first column of the implicit
// double-shift matrix in p, q, r.
int inicio_passo(const Quadrada& a, int l, int nn, const double (&xyw)[3], double (&pqr)[3]) {
    const double x = xyw[0];
    const double y = xyw[1];
    const double w = xyw[2];
    int m = nn - 2;
    for (;; --m) {
        const double z = a(m, m);
        const double r0 = x - z;
        const double s0 = y - z;
        double p = (r0 * s0 - w) / a(m + 1, m) + a(m, m + 1);
        double q = a(m + 1, m + 1) - z - r0 - s0;
        double r = a(m + 2, m + 1);
        const double s = std::fabs(p) + std::fabs(q) + std::fabs(r);
        p /= s;
        q /= s;
        r /= s;
        pqr[0] = p;
        pqr[1] = q;
        pqr[2] = r;
        if (m == l) break;
        const double u = std::fabs(a(m, m - 1)) * (std::fabs(q) + std::fabs(r));
        const double v =
            std::fabs(p) * (std::fabs(a(m - 1, m - 1)) + std::fabs(z) + std::fabs(a(m + 1, m + 1)));
        if (u <= kEps * v) break;
    }
    return m;
}

// One implicit double-shift QR step on rows and columns l..nn, chasing the bulge from row m.
void passo_francis(Quadrada& a, int l, int nn, const double (&xyw)[3]) {
    double pqr[3] = {0.0, 0.0, 0.0};
    const int m = inicio_passo(a, l, nn, xyw, pqr);
    double p = pqr[0];
    double q = pqr[1];
    double r = pqr[2];
    for (int i = m + 2; i <= nn; ++i) {
        a(i, i - 2) = 0.0;
        if (i != m + 2) a(i, i - 3) = 0.0;
    }
    double x = 0.0;
    for (int k = m; k <= nn - 1; ++k) {
        const bool tres = k != nn - 1;
        if (k != m) {
            p = a(k, k - 1);
            q = a(k + 1, k - 1);
            r = tres ? a(k + 2, k - 1) : 0.0;
            x = std::fabs(p) + std::fabs(q) + std::fabs(r);
            if (x != 0.0) {
                p /= x;
                q /= x;
                r /= x;
            }
        }
        const double s = com_sinal(std::sqrt(p * p + q * q + r * r), p);
        if (s == 0.0) continue;
        if (k != m)
            a(k, k - 1) = -s * x;
        else if (l != m)
            a(k, k - 1) = -a(k, k - 1);
        p += s;
        const double hx = p / s;
        const double hy = q / s;
        const double hz = r / s;
        q /= p;
        r /= p;
        for (int j = k; j <= nn; ++j) {
            double v = a(k, j) + q * a(k + 1, j);
            if (tres) {
                v += r * a(k + 2, j);
                a(k + 2, j) -= v * hz;
            }
            a(k + 1, j) -= v * hy;
            a(k, j) -= v * hx;
        }
        const int fim = nn < k + 3 ? nn : k + 3;
        for (int i = l; i <= fim; ++i) {
            double v = hx * a(i, k) + hy * a(i, k + 1);
            if (tres) {
                v += hz * a(i, k + 2);
                a(i, k + 2) -= v * r;
            }
            a(i, k + 1) -= v * q;
            a(i, k) -= v;
        }
    }
}

}  // namespace

std::optional<Autovalores> autovalores(const MatrizReal& a) {
    const int n = static_cast<int>(a.size());
    Quadrada h(a);
    hessenberg(h, n);
    Autovalores r;
    r.real.assign(static_cast<Indice>(n) + 1, 0.0);
    r.imaginaria.assign(static_cast<Indice>(n) + 1, 0.0);
    double norma = 0.0;
    for (int i = 1; i <= n; ++i)
        for (int j = i > 1 ? i - 1 : 1; j <= n; ++j) norma += std::fabs(h(i, j));
    int nn = n;
    double t = 0.0;  // the shifts taken out of the diagonal so far
    int passos = 0;
    while (nn >= 1) {
        const int l = inicio_bloco(h, nn, norma);
        if (l == nn) {
            r.real[static_cast<Indice>(nn)] = h(nn, nn) + t;
            --nn;
            passos = 0;
        } else if (l == nn - 1) {
            par(h, nn, t, r);
            nn -= 2;
            passos = 0;
        } else {
            if (passos == kMaxPassos) return std::nullopt;
            double xyw[3] = {h(nn, nn), h(nn - 1, nn - 1), h(nn, nn - 1) * h(nn - 1, nn)};
            if (passos == 10 || passos == 20) {  // an exceptional shift breaks a cycle
                t += xyw[0];
                for (int i = 1; i <= nn; ++i) h(i, i) -= xyw[0];
                const double s = std::fabs(h(nn, nn - 1)) + std::fabs(h(nn - 1, nn - 2));
                xyw[0] = xyw[1] = 0.75 * s;
                xyw[2] = -0.4375 * s * s;
            }
            ++passos;
            passo_francis(h, l, nn, xyw);
        }
    }
    r.real.erase(r.real.begin());
    r.imaginaria.erase(r.imaginaria.begin());
    return r;
}

std::optional<double> raio_espectral(const MatrizReal& a) {
    const std::optional<Autovalores> v = autovalores(a);
    if (!v) return std::nullopt;
    double raio = 0.0;
    for (Indice i = 0; i < v->real.size(); ++i) {
        const double re = v->real[i];
        const double im = v->imaginaria[i];
        const double m = std::sqrt(re * re + im * im);
        raio = maior_ou_nan(raio, m);
    }
    return raio;
}

std::optional<MatrizReal> matriz_jacobi(const MatrizReal& a) {
    const Indice n = a.size();
    MatrizReal t(n, std::vector<double>(n, 0.0));
    for (Indice i = 0; i < n; ++i) {
        if (a[i][i] == 0.0) return std::nullopt;
        for (Indice j = 0; j < n; ++j)
            if (j != i) t[i][j] = -a[i][j] / a[i][i];
    }
    return t;
}

std::optional<MatrizReal> matriz_gauss_seidel(const MatrizReal& a) {
    const Indice n = a.size();
    for (Indice i = 0; i < n; ++i)
        if (a[i][i] == 0.0) return std::nullopt;
    // Column j solves (D + L) t = -U e_j by forward substitution.
    MatrizReal t(n, std::vector<double>(n, 0.0));
    for (Indice j = 0; j < n; ++j)
        for (Indice i = 0; i < n; ++i) {
            double s = i < j ? -a[i][j] : 0.0;
            for (Indice k = 0; k < i; ++k) s -= a[i][k] * t[k][j];
            t[i][j] = s / a[i][i];
        }
    return t;
}

}  // namespace sislin::aula
