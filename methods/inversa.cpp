// Inverse from the factors held in A: column c solves L·y = e_c, then U·x = y.
//
// The columns are solved a tile at a time. A tile of adjacent columns is solved in a contiguous
// buffer (row j of the tile is its width's worth of consecutive Scalar values, held widened to
// double so that the sums read them without a conversion) and copied into Inv. Every column keeps
// its own sums and takes their terms in increasing column order of the factor, each new sum
// rounded, exactly as a one-column substitution does; the columns of a tile are merely computed
// side by side, in vector lanes where the processor has them.
//
// The leading zeros of e_c: while the factor entries they meet are finite, the forward values
// above row c are +0 and the terms they contribute leave each later sum unchanged (+0 plus ±0
// is +0), so the forward sums of a tile start at its first column c0 and its rows above c0 are
// +0. That holds while every L[i][j] with j < c0 (and j < i) is finite. A non-finite one meets
// a zero (0·inf is NaN) and turns each column after j entirely into NaN, which only the full
// sums reproduce: tiles from there on are solved with every term.
#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <vector>

#include "nucleos.h"

namespace sislin {

namespace {

bool finito(Scalar v) {
    return (std::bit_cast<std::uint32_t>(v) & 0x7f800000u) != 0x7f800000u;
}

using nucleos::kMaxPassos;
using nucleos::kSobraFaixa;

// Rows per block of the forward sums.
constexpr int kBloco = 36;

// The forward sums of one block of rows (kBloco rows of ld Scalars) and their coefficients.
struct SomasBloco {
    explicit SomasBloco(int ld)
        : somas(static_cast<std::size_t>(kBloco * ld)),
          m(static_cast<std::size_t>(kBloco * kMaxPassos)) {
        for (int r = 0; r < kBloco; ++r) linhas[r] = somas.data() + r * ld;
    }
    std::vector<Scalar> somas;
    std::vector<double> m;
    Scalar* linhas[kBloco] = {};
};

// The first column f for which some row i > f holds a non-finite L[i][f]; n + 1 if none.
// A tile starting at or before it may skip the terms before its first column.
int primeira_coluna_suja(int n, Matrix A) {
    int f = n + 1;
    for (int i = 2; i <= n; ++i) {
        const int ate = std::min(i - 1, f - 1);
        for (int j = 1; j <= ate; ++j)
            if (!finito(A[i][j])) {
                f = j;
                break;
            }
    }
    return f;
}

// The sums S[0..nb-1] (ld Scalars each) of rows i0..i0+nb-1 take the terms of T's rows j0..j1
// in order, kMaxPassos at a time, through the micro-kernel: coefficient A[i][j] for row i and
// term j.
void termos(const nucleos::Micronucleos& k, Matrix A, const double* T, int ld, int i0, int nb,
            int j0, int j1, Scalar* const* S, double* m) {
    for (int j = j0; j <= j1; j += kMaxPassos) {
        const int passos = std::min(kMaxPassos, j1 - j + 1);
        for (int r = 0; r < nb; ++r)
            for (int t = 0; t < passos; ++t)
                m[r * kMaxPassos + t] = static_cast<double>(A[i0 + r][j + t]);
        k.aplica_passos(T + static_cast<std::ptrdiff_t>(j) * ld, ld, passos, m, S, nb, 0, ld);
    }
}

// Tile T (rows 1..n, ld lanes each; lanes beyond the last column are padding): the forward
// values of rows inicio..n are computed with sums from column inicio (rows before it hold +0),
// then all rows are solved backwards. Lane k of row i is column c0 + k.
//
// Forward, a block of kBloco rows at a time: the terms of the rows above the block, the same
// for all of its rows, are taken by every row of the block in one pass over them; then row by
// row the terms of the block's own rows above it, and its value. Each sum still starts at +0
// and takes its terms in increasing column order, each new sum rounded. Backward, each row's
// first term is the row just solved, so the rows go one at a time.
void resolve(const nucleos::Micronucleos& k, int n, Matrix A, double* T, int ld, int c0, int inicio,
             Scalar* s, SomasBloco& e) {
    for (int i0 = inicio; i0 <= n; i0 += kBloco) {
        const int nb = std::min(kBloco, n - i0 + 1);
        std::fill(e.somas.begin(), e.somas.end(), 0.0f);
        termos(k, A, T, ld, i0, nb, inicio, i0 - 1, e.linhas, e.m.data());
        for (int r = 0; r < nb; ++r) {
            const int i = i0 + r;
            termos(k, A, T, ld, i, 1, i0, i - 1, e.linhas + r, e.m.data());
            double* ti = T + static_cast<std::ptrdiff_t>(i) * ld;
            const Scalar* si = e.linhas[r];
            // 0 - s, not -s: the unit vector's zero minus a +0 sum is +0.
            for (int c = 0; c < ld; ++c)
                ti[c] = static_cast<double>(
                    static_cast<Scalar>((c0 + c == i ? 1.0 : 0.0) - static_cast<double>(si[c])));
        }
    }
    for (int i = n; i >= 1; --i) {
        k.somas_colunas(A[i], T, ld, i + 1, n, s);
        const double d = static_cast<double>(A[i][i]);
        double* ti = T + static_cast<std::ptrdiff_t>(i) * ld;
        for (int c = 0; c < ld; ++c)
            ti[c] =
                static_cast<double>(static_cast<Scalar>((ti[c] - static_cast<double>(s[c])) / d));
    }
}

}  // namespace

namespace nucleos {

namespace {

void Inversa(const Ajuste& a, int n, Matrix A, Matrix Inv, Vector b, Vector x, Vector y) {
    const Micronucleos& k = *a.k;
    const Tamanhos& t = a.t;
    if (n <= 0) return;
    const int suja = primeira_coluna_suja(n, A);
    // Whole multiples of kMultiploLargura, as somas_colunas takes them.
    const int ld = t.largura > 0
                       ? (t.largura + kMultiploLargura - 1) / kMultiploLargura * kMultiploLargura
                       : k.largura;
    assert(ld > 0 && ld % kMultiploLargura == 0);
    // Padded for the step micro-kernel's reads past a row's lanes.
    std::vector<double> T(static_cast<std::size_t>((n + 1) * ld + kSobraFaixa));
    std::vector<Scalar> s(static_cast<std::size_t>(ld));
    SomasBloco e(ld);
    for (int c0 = 1; c0 <= n; c0 += ld) {
        const int w = std::min(ld, n - c0 + 1);
        const int inicio = (c0 <= suja) ? c0 : 1;
        std::fill(T.begin(), T.begin() + inicio * ld, 0.0);
        resolve(k, n, A, T.data(), ld, c0, inicio, s.data(), e);
        for (int i = 1; i <= n; ++i) {
            const double* ti = T.data() + i * ld;
            Scalar* linha = Inv[i] + c0;
            for (int c = 0; c < w; ++c) linha[c] = static_cast<Scalar>(ti[c]);
        }
    }
    // As after solving the last column on its own: b = e_n, y its forward values (solved again
    // on their own, n² terms), x its solution.
    for (int i = 1; i <= n; ++i) y[i] = (i == n) ? 1.0f : 0.0f;
    executa(a, &Tabela::SubstituicaoProgressivaL, n, A, y, y);
    for (int j = 1; j <= n; ++j) {
        b[j] = (j == n) ? 1.0f : 0.0f;
        x[j] = Inv[j][n];
    }
}

}  // namespace

void rapido::inversa(Tabela& t) {
    t.Inversa = Inversa;
}

}  // namespace nucleos

}  // namespace sislin
