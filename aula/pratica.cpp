// The practice engine (pratica.h). The statements of each step are the kernels' own
// (methods/passos.h, methods/referencia.cpp), written once more here over the student's arrays:
// the tests hold the program's course to the kernels bit for bit.
#include "pratica.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "methods.h"
#include "numeros.h"
#include "sistema_float.h"

namespace sislin::aula {

namespace {

constexpr MetodoPratica kMetodos[kNumeroMetodos] = {
    {"gauss", "Gauss", 1},
    {"gauss-pivoteado", "Gauss com pivotacao parcial", 2},
    {"lu", "Fatoracao LU", 3},
    {"lu-pivoteado", "Fatoracao LU com pivotacao parcial", 4},
    {"ly", "Resolucao do sistema Ly = b", 5},
    {"ux", "Resolucao do sistema Uy = y", 6},
    {"residuo", "Calculo do vetor residuo e erro", 7},
    {"inversa", "Inversa da matriz A", 8},
    {"jacobi", "Metodo Iterativo de Jacobi", 9},
    {"gauss-seidel", "Metodo Iterativo de Gauss-Seidel", 10},
};

double d(float v) {
    return static_cast<double>(v);
}

std::string g(float v) {
    char buf[kFormatoMax];
    return {buf, formata_g(buf, d(v))};
}

std::string s(int v) {
    return std::to_string(v);
}

std::string ij(const char* nome, int i, int j) {
    return std::string(nome) + "[" + s(i) + "][" + s(j) + "]";
}

std::string iv(const char* nome, int i) {
    return std::string(nome) + "[" + s(i) + "]";
}

// ---- The kernels' statements over a Quadro.

// The pivot row of column k: passos::pivo (the first row of strictly largest magnitude wins).
int pivo_de(const Quadro& q) {
    const int k = q.k;
    float best = std::fabs(q.A[k][k]);
    int p = k;
    for (int r = k; r <= q.n; ++r) {
        if (std::fabs(q.A[r][k]) > best) {
            best = std::fabs(q.A[r][k]);
            p = r;
        }
    }
    return p;
}

// The kernel's m = -a[i][k] / a[k][k], rounded (passos::multiplicador); the student writes it
// without the minus, which is the same float negated.
float multiplicador(const Quadro& q, int i, int k) {
    const auto m = static_cast<float>(-d(q.A[i][k]) / d(q.A[k][k]));
    return -m;
}

// An entry of row i after the step: a[k][j]·m + a[i][j] with the kernel's m (the negated
// multiplier), rounded (passos::elimina_coluna).
float atualizado(float da_linha_pivo, float mult, float velho) {
    return static_cast<float>(d(da_linha_pivo) * d(-mult) + d(velho));
}

// x[i] = (c[i] - sum) / a[i][i], the sum of a[i][j]·x[j] over j = i+1..n taken in increasing
// order, each new sum rounded (SubstituicaoRetroativa).
float incognita(const Quadro& q, int i, const float* c) {
    float sum = 0.0f;
    for (int j = i + 1; j <= q.n; ++j) sum = static_cast<float>(d(q.A[i][j]) * d(q.x[j]) + d(sum));
    return static_cast<float>((d(c[i]) - d(sum)) / d(q.A[i][i]));
}

bool pivoteia(int metodo) {
    return metodo == 2 || metodo == 4;
}

bool fatora(int metodo) {
    return metodo == 3 || metodo == 4;
}

// y[i] = c[i] - sum, the sum of a[i][j]·y[j] over j = 1..i-1 in increasing order, each new sum
// rounded (SubstituicaoProgressivaL: the diagonal of L is 1 and is not read).
float progressiva(const Quadro& q, int i) {
    float sum = 0.0f;
    for (int j = 1; j <= i - 1; ++j) sum = static_cast<float>(d(q.A[i][j]) * d(q.y[j]) + d(sum));
    return static_cast<float>(d(q.b[i]) - d(sum));
}

// The product of the diagonal in row order, each product rounded, negated after an odd number
// of row exchanges (passos::determinante).
float determinante(const Quadro& q) {
    float det = 1.0f;
    for (int i = 1; i <= q.n; ++i) det = static_cast<float>(d(det) * d(q.A[i][i]));
    return q.trocas % 2 != 0 ? -det : det;
}

bool iterativo(int metodo) {
    return metodo == 9 || metodo == 10;
}

// An unknown of a sweep: (b[i] - sum) / a[i][i], the sum over j != i in increasing order, each new
// sum rounded; Jacobi reads the previous sweep's x (xa) throughout, Gauss-Seidel this sweep's x
// for j < i (IteracaoJacobi, IteracaoGaussSeidel).
float da_varredura(const Quadro& q, int i, bool novos) {
    float sum = 0.0f;
    for (int j = 1; j <= q.n; ++j)
        if (j != i)
            sum = static_cast<float>(d(q.A[i][j]) * d(novos && j < i ? q.x[j] : q.xa[j]) + d(sum));
    return static_cast<float>((d(q.b[i]) - d(sum)) / d(q.A[i][i]));
}

// The change of the sweep: the largest |x[i] - xa[i]|, measured in double and stored rounded
// when strictly larger, the first NaN change kept (passos::atualiza_mudanca).
float mudanca(const Quadro& q) {
    float e = 0.0f;
    for (int i = 1; i <= q.n; ++i) {
        if (std::isnan(e)) break;
        const double dif = std::fabs(d(q.x[i]) - d(q.xa[i]));
        if (dif > d(e) || std::isnan(dif)) e = static_cast<float>(dif);
    }
    return e;
}

// Whether the driver stops after this sweep: it goes on while the change is above the
// precision and the limit is not reached.
float para(const Quadro& q) {
    return q.erro > q.precisao && q.k < q.limite ? 0.0f : 1.0f;
}

// The right-hand side of the back substitution: b after elimination, or y (method 6).
const float* lado_direito(const Quadro& q, int metodo) {
    return metodo == 6 || metodo == 8 ? q.y : q.b;
}

// r[i] = b[i] - sum, the sum of a[i][j]·x[j] over j = 1..n in increasing order, each new sum
// rounded (CalculaResiduo).
float residuo(const Quadro& q, int i) {
    float sum = 0.0f;
    for (int j = 1; j <= q.n; ++j) sum = static_cast<float>(d(q.A[i][j]) * d(q.x[j]) + d(sum));
    return static_cast<float>(d(q.b[i]) - d(sum));
}

// The largest |r[i]|; the first NaN's magnitude when one is NaN (CalculaErro).
float erro_do_residuo(const Quadro& q) {
    float e = 0.0f;
    for (int i = 1; i <= q.n; ++i) {
        if (std::isnan(q.r[i])) return std::fabs(q.r[i]);
        if (std::fabs(q.r[i]) > e) e = std::fabs(q.r[i]);
    }
    return e;
}

// The phase after the elimination.
void depois_da_eliminacao(Quadro& q, int metodo) {
    if (metodo == 3) {
        q.fase = Fase::Fim;
    } else if (metodo == 4) {
        q.fase = Fase::Determinante;
    } else {
        q.fase = Fase::Retroativa;
        q.i = q.n;
    }
}

void inicia(Quadro& q, int metodo) {
    q.k = 1;
    q.j = 1;
    for (int i = 1; i <= q.n; ++i) q.pos[i] = i;
    if (iterativo(metodo)) {
        q.fase = Fase::Iteracao;
        q.i = 1;
    } else if (metodo == 7) {
        q.fase = Fase::Residuo;
        q.i = 1;
    } else if (metodo == 5 || metodo == 8) {
        q.fase = Fase::Progressiva;
        q.i = 1;
    } else if (metodo == 6) {
        q.fase = Fase::Retroativa;
        q.i = q.n;
    } else if (q.n >= 2) {
        q.fase = Fase::Eliminacao;
        q.i = pivoteia(metodo) ? 0 : 2;
    } else {
        depois_da_eliminacao(q, metodo);
    }
}

// The last column j of a row's step: n + 1 (b[i]) in elimination, n in the factorisation.
int ultima_coluna(const Quadro& q, int metodo) {
    return fatora(metodo) ? q.n : q.n + 1;
}

// The cursor moves to the next step in the kernels' order.
void adiante(Quadro& q, int metodo) {
    switch (q.fase) {
        case Fase::Retroativa:
            if (--q.i == 0) q.fase = Fase::Fim;
            return;
        case Fase::Progressiva:
            if (++q.i <= q.n) return;
            // The inverse's column: L y = e_c, then U x = y.
            q.fase = metodo == 8 ? Fase::Retroativa : Fase::Fim;
            q.i = q.n;
            return;
        case Fase::Residuo:
            if (++q.i > q.n + 1) q.fase = Fase::Fim;
            return;
        case Fase::Determinante:
            q.fase = Fase::Fim;
            return;
        case Fase::Iteracao:
            if (++q.i <= q.n + 2) return;
            if (q.parar || q.k >= kMaiorVarredura) {
                q.fase = Fase::Fim;
                return;
            }
            ++q.k;
            q.i = 1;
            for (int j = 1; j <= q.n; ++j) q.xa[j] = q.x[j];
            return;
        case Fase::Fim:
            return;
        case Fase::Eliminacao:
            break;
    }
    if (q.i == 0) {
        q.i = q.k + 1;
        q.j = q.k;
        return;
    }
    if (++q.j <= ultima_coluna(q, metodo)) return;
    q.j = q.k;
    if (++q.i <= q.n) return;
    if (++q.k <= q.n - 1) {
        q.i = pivoteia(metodo) ? 0 : q.k + 1;
        q.j = q.k;
        return;
    }
    depois_da_eliminacao(q, metodo);
}

float esperado_em(const Quadro& q, int metodo) {
    switch (q.fase) {
        case Fase::Retroativa:
            return incognita(q, q.i, lado_direito(q, metodo));
        case Fase::Progressiva:
            return progressiva(q, q.i);
        case Fase::Determinante:
            return determinante(q);
        case Fase::Residuo:
            return q.i <= q.n ? residuo(q, q.i) : erro_do_residuo(q);
        case Fase::Iteracao:
            if (q.i <= q.n) return da_varredura(q, q.i, metodo == 10);
            return q.i == q.n + 1 ? mudanca(q) : para(q);
        case Fase::Fim:
            return 0.0f;
        case Fase::Eliminacao:
            break;
    }
    if (q.i == 0) return static_cast<float>(pivo_de(q));
    if (q.j == q.k) return multiplicador(q, q.i, q.k);
    if (q.j <= q.n) return atualizado(q.A[q.k][q.j], q.m[q.i][q.k], q.A[q.i][q.j]);
    return atualizado(q.b[q.k], q.m[q.i][q.k], q.b[q.i]);
}

// Rows k and p exchanged: over columns k..n and in b as GaussPivoteamentoParcial does (even
// when p == k), or whole rows and pos, counted, only when p != k, as LUPivoteamentoParcial does.
void troca(Quadro& q, int p, int metodo) {
    const int k = q.k;
    if (fatora(metodo)) {
        if (p == k) return;
        ++q.trocas;
        for (int c = 1; c <= q.n; ++c) std::swap(q.A[k][c], q.A[p][c]);
        std::swap(q.pos[k], q.pos[p]);
        return;
    }
    for (int c = k; c <= q.n; ++c) std::swap(q.A[k][c], q.A[p][c]);
    std::swap(q.b[k], q.b[p]);
    std::swap(q.b0[k], q.b0[p]);
}

// The value v goes to the step's place, and the cursor moves on.
void guarda(Quadro& q, float v, int metodo) {
    if (q.fase == Fase::Retroativa) {
        q.x[q.i] = v;
    } else if (q.fase == Fase::Progressiva) {
        q.y[q.i] = v;
    } else if (q.fase == Fase::Residuo) {
        if (q.i <= q.n)
            q.r[q.i] = v;
        else
            q.erro = v;
    } else if (q.fase == Fase::Iteracao) {
        if (q.i <= q.n) {
            q.x[q.i] = v;
        } else if (q.i == q.n + 1) {
            q.erro = v;
        } else {
            // The decision goes into the cursor: stop now, or one more sweep.
            q.parar = v != 0.0f;
        }
    } else if (q.fase == Fase::Determinante) {
        // The choice then sets b from b as read in the order of the exchanged rows.
        q.det = v;
        for (int i = 1; i <= q.n; ++i) q.b[i] = q.b0[q.pos[i]];
    } else if (q.i == 0) {
        troca(q, static_cast<int>(v), metodo);
    } else if (q.j == q.k) {
        q.m[q.i][q.k] = v;
        // The factorisation keeps the multiplier in place of the eliminated entry.
        if (fatora(metodo)) q.A[q.i][q.k] = v;
    } else if (q.j <= q.n) {
        q.A[q.i][q.j] = v;
    } else {
        q.b[q.i] = v;
    }
    adiante(q, metodo);
}

// ---- The named mistakes: the value each gives at this step, from the student's arrays.

struct Candidato {
    const char* engano;
    double valor;
    std::string explicacao;
};

double quatro_casas(double v) {
    return std::round(v * 1e4) / 1e4;
}

void candidatos_multiplicador(const Quadro& q, std::vector<Candidato>& c) {
    const int i = q.i;
    const int k = q.k;
    const double a = d(q.A[i][k]);
    const double p = d(q.A[k][k]);
    const std::string f = ij("a", i, k) + " / " + ij("a", k, k);
    c.push_back(
        {"sinal-do-multiplicador", -a / p,
         "o multiplicador e " + f + ", sem o sinal de menos (a linha recebe " + "a - m * pivo)"});
    c.push_back({"multiplicador-invertido", p / a,
                 "o multiplicador e " + f + ": o pivo " + ij("a", k, k) + " vai embaixo"});
    if (k != i)
        c.push_back(
            {"transposto", d(q.A[k][i]) / p, ij("a", k, i) + " no lugar de " + ij("a", i, k)});
    for (int r = k + 1; r <= q.n; ++r)
        if (r != i)
            c.push_back({"linha-errada", d(q.A[r][k]) / p,
                         "a linha " + s(r) + " no lugar da linha " + s(i) + ": " + f});
    c.push_back({"arredondado-a-quatro-casas", quatro_casas(a) / quatro_casas(p),
                 "valores arredondados a quatro casas antes da conta; use-os inteiros"});
}

// An entry of row i (j <= n) or b[i] (j = n + 1).
void candidatos_atualizacao(const Quadro& q, std::vector<Candidato>& c) {
    const int i = q.i;
    const int k = q.k;
    const int j = q.j;
    const bool no_b = j == q.n + 1;
    const auto em = [&](int r) { return d(no_b ? q.b[r] : q.A[r][j]); };
    const std::string lugar = no_b ? iv("b", i) : ij("a", i, j);
    const std::string do_pivo = no_b ? iv("b", k) : ij("a", k, j);
    const double m = d(q.m[i][k]);
    const double velho = em(i);
    const double pivo = em(k);
    if (no_b)
        c.push_back(
            {"b-nao-atualizado", velho,
             "b[" + s(i) + "] tambem muda: " + lugar + " - " + ij("m", i, k) + " * " + do_pivo});
    c.push_back({"sinal-do-multiplicador", velho + m * pivo,
                 "subtraia: " + lugar + " - " + ij("m", i, k) + " * " + do_pivo});
    if (m != 0.0)
        c.push_back({"multiplicador-invertido", velho - pivo / m,
                     "o multiplicador " + ij("m", i, k) + " multiplica, nao divide"});
    if (!no_b && j != i)
        c.push_back({"transposto", d(q.A[j][i]) - m * pivo,
                     ij("a", j, i) + " no lugar de " + ij("a", i, j)});
    for (int r = k + 1; r <= q.n; ++r)
        if (r != i)
            c.push_back({"linha-errada", em(r) - m * pivo,
                         "a linha " + s(r) + " no lugar da linha " + s(i)});
    for (int r = 1; r <= q.n; ++r)
        if (r != k && r != i)
            c.push_back({"linha-errada", velho - m * em(r),
                         "a linha " + s(r) + " no lugar da linha do pivo, " + s(k)});
    c.push_back({"arredondado-a-quatro-casas",
                 quatro_casas(velho) - quatro_casas(m) * quatro_casas(pivo),
                 "valores arredondados a quatro casas antes da conta; use-os inteiros"});
}

void candidatos_incognita(const Quadro& q, int metodo, std::vector<Candidato>& c) {
    const int i = q.i;
    const float* lado = lado_direito(q, metodo);
    if (metodo == 1 || metodo == 2)
        c.push_back(
            {"b-nao-atualizado", d(incognita(q, i, q.b0)), "use b ja eliminado, nao o b lido"});
    double sum = 0.0;
    for (int j = i + 1; j <= q.n; ++j) sum += quatro_casas(d(q.A[i][j])) * quatro_casas(d(q.x[j]));
    c.push_back({"arredondado-a-quatro-casas",
                 (quatro_casas(d(lado[i])) - sum) / quatro_casas(d(q.A[i][i])),
                 "valores arredondados a quatro casas antes da conta; use-os inteiros"});
    double t = 0.0;
    for (int j = i + 1; j <= q.n; ++j) t += d(q.A[j][i]) * d(q.x[j]);
    c.push_back({"transposto", (d(lado[i]) - t) / d(q.A[i][i]),
                 "a[j][" + s(i) + "] no lugar de a[" + s(i) + "][j]: use a linha " + s(i)});
}

void candidatos_progressiva(const Quadro& q, std::vector<Candidato>& c) {
    const int i = q.i;
    double sum = 0.0;
    double t = 0.0;
    for (int j = 1; j <= i - 1; ++j) {
        sum += quatro_casas(d(q.A[i][j])) * quatro_casas(d(q.y[j]));
        t += d(q.A[j][i]) * d(q.y[j]);
    }
    c.push_back({"arredondado-a-quatro-casas", quatro_casas(d(q.b[i])) - sum,
                 "valores arredondados a quatro casas antes da conta; use-os inteiros"});
    c.push_back({"transposto", d(q.b[i]) - t,
                 "a[j][" + s(i) + "] no lugar de a[" + s(i) + "][j]: use a linha " + s(i)});
}

void candidatos_residuo(const Quadro& q, std::vector<Candidato>& c) {
    const int i = q.i;
    if (i > q.n) {
        double um = 0.0;
        double dois = 0.0;
        for (int j = 1; j <= q.n; ++j) {
            um += std::fabs(d(q.r[j]));
            dois += d(q.r[j]) * d(q.r[j]);
        }
        c.push_back({"outra-norma", um, "a soma dos |r[i]| e a norma 1; o erro e o maior |r[i]|"});
        c.push_back({"outra-norma", std::sqrt(dois),
                     "a raiz da soma dos quadrados e a norma 2; o erro e o maior |r[i]|"});
        return;
    }
    double sum = 0.0;
    double t = 0.0;
    double r4 = 0.0;
    for (int j = 1; j <= q.n; ++j) {
        sum += d(q.A[i][j]) * d(q.x[j]);
        t += d(q.A[j][i]) * d(q.x[j]);
        r4 += quatro_casas(d(q.A[i][j])) * quatro_casas(d(q.x[j]));
    }
    c.push_back({"sinal-do-multiplicador", sum - d(q.b[i]), "o residuo e b - A x, nao A x - b"});
    c.push_back({"transposto", d(q.b[i]) - t,
                 "a[j][" + s(i) + "] no lugar de a[" + s(i) + "][j]: use a linha " + s(i)});
    c.push_back({"arredondado-a-quatro-casas", quatro_casas(d(q.b[i])) - r4,
                 "valores arredondados a quatro casas antes da conta; use-os inteiros"});
}

void candidatos_determinante(const Quadro& q, std::vector<Candidato>& c) {
    c.push_back({"sem-troca", -d(determinante(q)),
                 "cada troca de linhas muda o sinal do determinante; houve " + s(q.trocas)});
}

// The reply to the pivot row: sem-troca, pivo-nao-maior, or a row outside the column.
void confere_pivo(const Quadro& q, int r, Conferencia& c) {
    const int k = q.k;
    const int p = pivo_de(q);
    if (r < k || r > q.n) {
        c.explicacao = "a linha do pivo vai de " + s(k) + " a " + s(q.n);
        return;
    }
    const std::string maior =
        "a linha " + s(p) + " tem o maior |a[i][" + s(k) + "]|, " + g(std::fabs(q.A[p][k]));
    if (r == k) {
        c.engano = "sem-troca";
        c.explicacao = maior + ": troque as linhas " + s(k) + " e " + s(p);
    } else if (std::fabs(q.A[r][k]) == std::fabs(q.A[p][k])) {
        c.engano = "pivo-nao-maior";
        c.explicacao = "empate em |a[i][" + s(k) + "]|: fica a primeira linha, " + s(p);
    } else {
        c.engano = "pivo-nao-maior";
        c.explicacao =
            "|" + ij("a", r, k) + "| = " + g(std::fabs(q.A[r][k])) + " nao e o maior: " + maior;
    }
}

// The kernels on a copy of q's A (and b): the residual's x, the inverse's factors.
struct Copia : SistemaEmFloat {
    explicit Copia(const Quadro& q) : SistemaEmFloat(q.n) {
        for (int i = 1; i <= n; ++i) {
            b[i] = q.b[i];
            for (int j = 1; j <= n; ++j) A[i][j] = q.A[i][j];
        }
    }
};

void solucao_do_programa(Quadro& q) {
    const Copia c(q);
    GaussPivoteamentoParcial(c.n, c.A, c.b);
    SubstituicaoRetroativa(c.n, c.A, c.x, c.b);
    for (int i = 1; i <= q.n; ++i) q.x[i] = c.x[i];
}

void fatorado_pelo_programa(Quadro& q) {
    const Copia c(q);
    LU(c.n, c.A);
    for (int i = 1; i <= q.n; ++i)
        for (int j = 1; j <= q.n; ++j) q.A[i][j] = c.A[i][j];
}

}  // namespace

const MetodoPratica* metodos_pratica() {
    return kMetodos;
}

const MetodoPratica* metodo_pratica(const std::string& palavra) {
    for (const MetodoPratica& m : kMetodos)
        if (palavra == m.nome || palavra == s(m.numero)) return &m;
    return nullptr;
}

const char* nome_onde(Onde o) {
    static constexpr const char* kNomes[] = {"A", "b", "m",    "pos", "det",  "y",
                                             "x", "r", "Erro", "Inv", "pivo", "para"};
    return kNomes[static_cast<int>(o)];
}

bool concorda(float v, float e, int digitos) {
    if (std::isnan(e) || std::isnan(v)) return std::isnan(e) && std::isnan(v);
    if (std::isinf(e) || std::isinf(v)) return v == e;
    if (digitos == 0 || e == 0.0f) return v == e;
    const double expoente = std::floor(std::log10(std::fabs(d(e))));
    const double meia = 0.5 * std::pow(10.0, expoente - digitos + 1);
    return std::fabs(d(v) - d(e)) <= meia * (1.0 + 1e-9);
}

std::string texto_numero(float v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

Pratica::Pratica(int metodo, int n, const std::vector<float>& A, const std::vector<float>& b,
                 int digitos)
    : metodo_(metodo), digitos_(digitos) {
    aluno_.n = n;
    for (int i = 1; i <= n; ++i) {
        aluno_.b[i] = b[static_cast<std::size_t>(i - 1)];
        aluno_.b0[i] = aluno_.b[i];
        if (metodo == 6) aluno_.y[i] = aluno_.b[i];  // b7.txt holds y
        for (int j = 1; j <= n; ++j)
            aluno_.A[i][j] = A[(static_cast<std::size_t>(i) - 1) * static_cast<std::size_t>(n) +
                               static_cast<std::size_t>(j) - 1];
    }
    if (metodo == 7) solucao_do_programa(aluno_);
    if (metodo == 8) fatorado_pelo_programa(aluno_);
    inicia(aluno_, metodo);
    programa_ = aluno_;
    if (metodo == 8) coluna_da_inversa(1);
}

void Pratica::coluna_da_inversa(int c) {
    for (Quadro* q : {&aluno_, &programa_}) {
        q->coluna = c;
        for (int i = 1; i <= q->n; ++i) q->b[i] = i == c ? 1.0f : 0.0f;
    }
}

namespace {

// x[j] of this sweep or of the previous one (xa) as the method reads it for unknown i.
const char* nome_x(bool novos, int j, int i) {
    return novos && j < i ? "x" : "xa";
}

Pergunta pergunta_iteracao(const Quadro& q, bool novos) {
    Pergunta p;
    const int i = q.i;
    if (i == q.n + 1) {
        p.onde = Onde::Erro;
        p.nome = "Erro";
        p.formula = "max |x[i] - xa[i]|, i de 1 a " + s(q.n);
        return p;
    }
    if (i == q.n + 2) {
        p.onde = Onde::para;
        p.nome = "para";
        p.decisao = true;
        p.formula = "Erro <= " + g(q.precisao) + " ou k = " + s(q.limite) + " (sim ou nao)";
        return p;
    }
    p.onde = Onde::x;
    p.linha = i;
    p.nome = iv("x", i);
    std::string sum;
    int termos = 0;
    for (int j = 1; j <= q.n; ++j) {
        if (j == i) continue;
        sum += (sum.empty() ? "" : " + ") + ij("a", i, j) + " * " + iv(nome_x(novos, j, i), j);
        ++termos;
    }
    if (termos == 0)
        p.formula = iv("b", i) + " / " + ij("a", i, i);
    else if (termos == 1)
        p.formula = "(" + iv("b", i) + " - " + sum + ") / " + ij("a", i, i);
    else
        p.formula = "(" + iv("b", i) + " - (" + sum + ")) / " + ij("a", i, i);
    return p;
}

std::string dica_iteracao(const Quadro& q, bool novos) {
    const int i = q.i;
    if (i == q.n + 1) {
        std::string t = "max(";
        for (int j = 1; j <= q.n; ++j)
            t += (j > 1 ? ", " : "") + ("|" + g(q.x[j]) + " - " + g(q.xa[j]) + "|");
        return t + ")";
    }
    if (i == q.n + 2) return "Erro = " + g(q.erro) + ", k = " + s(q.k);
    std::string sum;
    int termos = 0;
    for (int j = 1; j <= q.n; ++j) {
        if (j == i) continue;
        sum += (sum.empty() ? "" : " + ") + g(q.A[i][j]) + " * " +
               g(novos && j < i ? q.x[j] : q.xa[j]);
        ++termos;
    }
    if (termos == 0) return g(q.b[i]) + " / " + g(q.A[i][i]);
    if (termos == 1) return "(" + g(q.b[i]) + " - " + sum + ") / " + g(q.A[i][i]);
    return "(" + g(q.b[i]) + " - (" + sum + ")) / " + g(q.A[i][i]);
}

void candidatos_iteracao(const Quadro& q, int metodo, std::vector<Candidato>& c) {
    const int i = q.i;
    if (i == q.n + 1) {
        double um = 0.0;
        double dois = 0.0;
        for (int j = 1; j <= q.n; ++j) {
            const double dif = std::fabs(d(q.x[j]) - d(q.xa[j]));
            um += dif;
            dois += dif * dif;
        }
        c.push_back(
            {"outra-norma", um, "a soma dos |x[i] - xa[i]| e a norma 1; o programa usa o maior"});
        c.push_back(
            {"outra-norma", std::sqrt(dois),
             "a raiz da soma dos quadrados e a norma 2; o programa usa o maior |x[i] - xa[i]|"});
        return;
    }
    if (metodo == 9)
        c.push_back(
            {"gauss-seidel-no-lugar-de-jacobi", d(da_varredura(q, i, true)),
             "Jacobi usa so os valores da iteracao anterior (xa), mesmo os ja recalculados"});
    else
        c.push_back({"jacobi-no-lugar-de-gauss-seidel", d(da_varredura(q, i, false)),
                     "Gauss-Seidel usa os x[j] ja recalculados nesta iteracao, para j < " + s(i)});
    double sum = 0.0;
    for (int j = 1; j <= q.n; ++j)
        if (j != i)
            sum += quatro_casas(d(q.A[i][j])) *
                   quatro_casas(d(metodo == 10 && j < i ? q.x[j] : q.xa[j]));
    c.push_back({"arredondado-a-quatro-casas",
                 (quatro_casas(d(q.b[i])) - sum) / quatro_casas(d(q.A[i][i])),
                 "valores arredondados a quatro casas antes da conta; use-os inteiros"});
}

}  // namespace

void Pratica::parada(float precisao, int limite) {
    for (Quadro* q : {&aluno_, &programa_}) {
        q->precisao = precisao;
        q->limite = limite;
    }
}

Pergunta Pratica::pergunta() const {
    const Quadro& q = aluno_;
    Pergunta p;
    const int i = q.i;
    const int k = q.k;
    const char* mult = fatora(metodo_) ? "l" : "m";
    switch (q.fase) {
        case Fase::Fim:
            return p;
        case Fase::Retroativa: {
            // The inverse: x is column c of Inv.
            const bool inv = metodo_ == 8;
            const auto x = [&](int j) { return inv ? ij("Inv", j, q.coluna) : iv("x", j); };
            const std::string c = iv(metodo_ == 6 || inv ? "y" : "b", i);
            p.onde = inv ? Onde::Inv : Onde::x;
            p.linha = i;
            p.coluna = inv ? q.coluna : 0;
            p.nome = x(i);
            std::string sum;
            for (int j = i + 1; j <= q.n; ++j)
                sum += (sum.empty() ? "" : " + ") + ij("a", i, j) + " * " + x(j);
            if (sum.empty())
                p.formula = c + " / " + ij("a", i, i);
            else if (i + 1 == q.n)
                p.formula = "(" + c + " - " + sum + ") / " + ij("a", i, i);
            else
                p.formula = "(" + c + " - (" + sum + ")) / " + ij("a", i, i);
            return p;
        }
        case Fase::Progressiva: {
            // The inverse: the right-hand side is column c of the identity, e.
            const std::string c = iv(metodo_ == 8 ? "e" : "b", i);
            p.onde = Onde::y;
            p.linha = i;
            p.nome = iv("y", i);
            std::string sum;
            for (int j = 1; j <= i - 1; ++j)
                sum += (sum.empty() ? "" : " + ") + ij("a", i, j) + " * " + iv("y", j);
            if (sum.empty())
                p.formula = c;
            else if (i == 2)
                p.formula = c + " - " + sum;
            else
                p.formula = c + " - (" + sum + ")";
            return p;
        }
        case Fase::Residuo: {
            if (i > q.n) {
                p.onde = Onde::Erro;
                p.nome = "Erro";
                p.formula = "max |r[i]|, i de 1 a " + s(q.n);
                return p;
            }
            p.onde = Onde::r;
            p.linha = i;
            p.nome = iv("r", i);
            std::string sum;
            for (int j = 1; j <= q.n; ++j)
                sum += (j > 1 ? " + " : "") + ij("a", i, j) + " * " + iv("x", j);
            p.formula = iv("b", i) + (q.n > 1 ? " - (" + sum + ")" : " - " + sum);
            return p;
        }
        case Fase::Iteracao:
            return pergunta_iteracao(q, metodo_ == 10);
        case Fase::Determinante: {
            p.onde = Onde::det;
            p.nome = "det";
            std::string prod;
            for (int r = 1; r <= q.n; ++r) prod += (r > 1 ? " * " : "") + ij("a", r, r);
            p.formula = q.trocas % 2 != 0 ? "-(" + prod + ")" : prod;
            return p;
        }
        case Fase::Eliminacao:
            break;
    }
    if (i == 0) {
        p.onde = Onde::pivo;
        p.linha = k;
        p.coluna = k;
        p.inteiro = true;
        p.nome = iv("p", k);
        p.formula = "a linha de maior |a[i][" + s(k) + "]|, i de " + s(k) + " a " + s(q.n);
    } else if (q.j == k) {
        p.onde = fatora(metodo_) ? Onde::A : Onde::m;
        p.linha = i;
        p.coluna = k;
        p.nome = ij(mult, i, k);
        p.formula = ij("a", i, k) + " / " + ij("a", k, k);
    } else if (q.j <= q.n) {
        p.onde = Onde::A;
        p.linha = i;
        p.coluna = q.j;
        p.nome = ij("a", i, q.j);
        p.formula = p.nome + " - " + ij(mult, i, k) + " * " + ij("a", k, q.j);
    } else {
        p.onde = Onde::b;
        p.linha = i;
        p.nome = iv("b", i);
        p.formula = p.nome + " - " + ij(mult, i, k) + " * " + iv("b", k);
    }
    return p;
}

float Pratica::esperado() const {
    return esperado_em(aluno_, metodo_);
}

float Pratica::do_programa() const {
    return esperado_em(programa_, metodo_);
}

Conferencia Pratica::confere(float valor) {
    Conferencia c;
    c.valor = valor;
    c.esperado = esperado_em(aluno_, metodo_);
    c.programa = esperado_em(programa_, metodo_);
    c.tentativa = ++tentativas_;
    const Pergunta p = pergunta();
    if (p.decisao) {
        if (valor == c.esperado) {
            c.marca = Marca::Certo;
            avanca(valor, Como::Certo);
            return c;
        }
        errado_ = valor;
        const Quadro& q = aluno_;
        c.explicacao = "Erro = " + g(q.erro) + (q.erro > q.precisao ? " > " : " <= ") +
                       g(q.precisao) + " e k = " + s(q.k) + " de " + s(q.limite) + ": " +
                       (c.esperado != 0.0f ? "para" : "continua");
        return c;
    }
    if (p.inteiro) {
        const bool linha =
            valor == std::floor(valor) && valor >= 1.0f && valor <= static_cast<float>(aluno_.n);
        if (linha && valor == c.esperado) {
            c.marca = Marca::Certo;
            avanca(valor, Como::Certo);
            return c;
        }
        if (linha) {
            confere_pivo(aluno_, static_cast<int>(valor), c);
            if (static_cast<int>(valor) >= aluno_.k) errado_ = valor;
        } else {
            c.explicacao = "responda o numero da linha, de " + s(aluno_.k) + " a " + s(aluno_.n);
        }
        return c;
    }
    if (concorda(valor, c.esperado, digitos_)) {
        c.marca = Marca::Certo;
        avanca(valor, Como::Certo);
        return c;
    }
    errado_ = valor;
    std::vector<Candidato> lista;
    if (aluno_.fase == Fase::Retroativa)
        candidatos_incognita(aluno_, metodo_, lista);
    else if (aluno_.fase == Fase::Progressiva)
        candidatos_progressiva(aluno_, lista);
    else if (aluno_.fase == Fase::Determinante)
        candidatos_determinante(aluno_, lista);
    else if (aluno_.fase == Fase::Iteracao)
        candidatos_iteracao(aluno_, metodo_, lista);
    else if (aluno_.fase == Fase::Residuo)
        candidatos_residuo(aluno_, lista);
    else if (aluno_.j == aluno_.k)
        candidatos_multiplicador(aluno_, lista);
    else
        candidatos_atualizacao(aluno_, lista);
    // The value of the step before, typed again.
    for (auto f = feitos_.rbegin(); f != feitos_.rend(); ++f) {
        if (f->pergunta.inteiro || f->pergunta.decisao) continue;
        lista.push_back({"copiado-do-passo-anterior", d(f->valor),
                         "este e o valor de " + f->pergunta.nome + ", o passo anterior"});
        break;
    }
    const int casas = digitos_ == 0 ? 4 : digitos_;
    for (const Candidato& k : lista) {
        const auto f = static_cast<float>(k.valor);
        if (concorda(f, c.esperado, casas) || !concorda(valor, f, casas)) continue;
        c.engano = k.engano;
        c.explicacao = k.explicacao;
        return c;
    }
    if (digitos_ == 0 && concorda(valor, c.esperado, 4))
        c.explicacao = "confere a 4 algarismos, mas o modo exato pede o float todo (9 algarismos)";
    else
        c.explicacao = "o valor esperado e outro; d mostra a formula com os seus numeros";
    return c;
}

std::string Pratica::dica() {
    ++dicas_;
    dica_no_passo_ = true;
    const Quadro& q = aluno_;
    const Pergunta p = pergunta();
    std::string t = p.nome + " = " + p.formula + " = ";
    const int i = q.i;
    const int k = q.k;
    switch (q.fase) {
        case Fase::Fim:
            return t;
        case Fase::Retroativa: {
            const float c = lado_direito(q, metodo_)[i];
            std::string sum;
            for (int j = i + 1; j <= q.n; ++j)
                sum += (sum.empty() ? "" : " + ") + g(q.A[i][j]) + " * " + g(q.x[j]);
            if (sum.empty()) return t + g(c) + " / " + g(q.A[i][i]);
            if (i + 1 == q.n) return t + "(" + g(c) + " - " + sum + ") / " + g(q.A[i][i]);
            return t + "(" + g(c) + " - (" + sum + ")) / " + g(q.A[i][i]);
        }
        case Fase::Progressiva: {
            std::string sum;
            for (int j = 1; j <= i - 1; ++j)
                sum += (sum.empty() ? "" : " + ") + g(q.A[i][j]) + " * " + g(q.y[j]);
            if (sum.empty()) return t + g(q.b[i]);
            if (i == 2) return t + g(q.b[i]) + " - " + sum;
            return t + g(q.b[i]) + " - (" + sum + ")";
        }
        case Fase::Iteracao:
            return t + dica_iteracao(q, metodo_ == 10);
        case Fase::Residuo: {
            if (i > q.n) {
                std::string v = "max(";
                for (int j = 1; j <= q.n; ++j) {
                    if (j > 1) v += ", ";
                    v += '|';
                    v += g(q.r[j]);
                    v += '|';
                }
                return t + v + ")";
            }
            std::string sum;
            for (int j = 1; j <= q.n; ++j)
                sum += (j > 1 ? " + " : "") + g(q.A[i][j]) + " * " + g(q.x[j]);
            return t + g(q.b[i]) + (q.n > 1 ? " - (" + sum + ")" : " - " + sum);
        }
        case Fase::Determinante: {
            std::string prod;
            for (int r = 1; r <= q.n; ++r) {
                if (r > 1) prod += " * ";
                prod += g(q.A[r][r]);
            }
            return t + (q.trocas % 2 != 0 ? "-(" + prod + ")" : prod);
        }
        case Fase::Eliminacao:
            break;
    }
    if (i == 0) {
        std::string v;
        for (int r = k; r <= q.n; ++r) {
            if (r > k) v += ", ";
            v += '|';
            v += g(q.A[r][k]);
            v += '|';
        }
        return t + v;
    }
    if (q.j == k) return t + g(q.A[i][k]) + " / " + g(q.A[k][k]);
    if (q.j <= q.n) return t + g(q.A[i][q.j]) + " - " + g(q.m[i][k]) + " * " + g(q.A[k][q.j]);
    return t + g(q.b[i]) + " - " + g(q.m[i][k]) + " * " + g(q.b[k]);
}

float Pratica::mostra() {
    const float e = esperado_em(aluno_, metodo_);
    avanca(e, Como::Mostrado);
    return e;
}

std::optional<float> Pratica::aceita() {
    if (!errado_) return std::nullopt;
    const float v = *errado_;
    avanca(v, Como::Aceito);
    return v;
}

void Pratica::avanca(float valor, Como como) {
    Feito f;
    f.pergunta = pergunta();
    f.valor = valor;
    f.esperado = esperado_em(aluno_, metodo_);
    f.programa = esperado_em(programa_, metodo_);
    f.como = como;
    f.de_primeira = como == Como::Certo && tentativas_ == 1 && !dica_no_passo_;
    antes_.push_back({aluno_, programa_});
    feitos_.push_back(std::move(f));
    guarda(aluno_, valor, metodo_);
    // At the decision to stop the program's course follows the student's, so both stay in step.
    const bool decisao = feitos_.back().pergunta.decisao;
    guarda(programa_, decisao ? valor : esperado_em(programa_, metodo_), metodo_);
    tentativas_ = 0;
    dica_no_passo_ = false;
    errado_.reset();
}

int Pratica::desfaz(int passos) {
    int feitos = 0;
    for (; feitos < passos && !antes_.empty(); ++feitos) {
        aluno_ = antes_.back().aluno;
        programa_ = antes_.back().programa;
        antes_.pop_back();
        feitos_.pop_back();
    }
    tentativas_ = 0;
    dica_no_passo_ = false;
    errado_.reset();
    return feitos;
}

Resumo Pratica::resumo() const {
    Resumo r;
    r.passos = static_cast<int>(feitos_.size());
    r.dicas = dicas_;
    for (const Feito& f : feitos_) {
        if (f.de_primeira) ++r.certos_de_primeira;
        if (f.como == Como::Mostrado) ++r.mostrados;
        if (f.como == Como::Aceito) ++r.aceitos;
    }
    // Rounded to the nearest; a method with no step to take (n = 1 in LU) is all right.
    if (r.passos == 0)
        r.nota = concluida() ? 100 : 0;
    else
        r.nota = (200 * r.certos_de_primeira + r.passos) / (2 * r.passos);
    return r;
}

bool Pratica::eliminado(int r, int c) const {
    const Quadro& q = aluno_;
    if (c >= r) return false;
    if (fatora(metodo_)) return false;  // the factors keep their multipliers there
    if (metodo_ > 4) return false;
    if (q.fase != Fase::Eliminacao) return true;
    if (c < q.k) return true;
    return c == q.k && q.i != 0 && (r < q.i || (r == q.i && q.j > q.k));
}

}  // namespace sislin::aula
