// Practice mode (sislin-aula pratica): the student does each step of a method and the engine
// checks it and names the mistake. No console input or output here: aula/pratica_console.cpp
// asks, prints and writes the record.
//
// Each expected value is the float the kernel's own statement gives from the student's accepted
// values (evaluated in double, the stored value rounded once to a Scalar, in the kernel's order),
// so a wrong value the student accepts is carried forward. Beside it runs the program's own
// course (the same statements from the program's own values), which is the kernel's run on the
// data as read, step by step.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sislin::aula {

// Practice takes systems of dimension 1 to kMaiorPratica.
inline constexpr int kMaiorPratica = 10;

struct MetodoPratica {
    const char* nome;    // its name on the command line
    const char* rotulo;  // the menu line's text
    int numero;          // the menu's number, 1..10
};
// The ten methods, in the menu's order.
const MetodoPratica* metodos_pratica();
inline constexpr int kNumeroMetodos = 10;
// The method a command-line word names (its number or its name), or nullptr.
const MetodoPratica* metodo_pratica(const std::string& palavra);

// Where the value of a step goes (the record's "onde").
enum class Onde : std::uint8_t { A, b, m, pos, det, y, x, r, Erro, Inv, pivo, para };
const char* nome_onde(Onde o);

struct Pergunta {
    Onde onde = Onde::A;
    int linha = 0;         // 1-based
    int coluna = 0;        // 1-based; 0 for a vector's entry and for the pivot row
    std::string nome;      // "m[3][1]"
    std::string formula;   // "a[3][1] / a[1][1]"
    bool inteiro = false;  // the reply is a row number (the pivot row)
    bool decisao = false;  // the reply is sim (1) or nao (0): whether to stop
};

enum class Fase : std::uint8_t {
    Eliminacao,
    Determinante,
    Progressiva,
    Retroativa,
    Iteracao,
    Residuo,
    Fim
};

// A session of the iterative methods stops after this many sweeps whatever the student decides.
inline constexpr int kMaiorVarredura = 100;

// The student's working arrays (or the program's), indexed 1..n, and where the work stands.
struct Quadro {
    int n = 0;
    float A[kMaiorPratica + 1][kMaiorPratica + 1] = {};
    float b[kMaiorPratica + 1] = {};
    float m[kMaiorPratica + 1][kMaiorPratica + 1] = {};  // the multipliers a[i][k] / a[k][k]
    float x[kMaiorPratica + 1] = {};
    float b0[kMaiorPratica + 1] = {};  // b as read, its rows exchanged with b's
    float y[kMaiorPratica + 1] = {};
    int pos[kMaiorPratica + 1] = {};  // the factorisation's permutation
    int trocas = 0;                   // its row exchanges
    float det = 0.0f;
    // The iterative methods: x of the previous sweep, the change of this one, the stopping rule.
    float xa[kMaiorPratica + 1] = {};
    float erro = 0.0f;
    float precisao = 1e-4f;
    int limite = 25;
    bool parar = false;               // the decision taken after the sweep
    float r[kMaiorPratica + 1] = {};  // the residual (method 7; erro then holds its error)
    int coluna = 1;                   // the column of the inverse (method 8)
    // The cursor (in the iterative methods k is the sweep and i = n + 1 asks the change,
    // i = n + 2 the decision to stop): the phase, the pivot column k, the row i (0: the pivot row
    // is asked) and the column j of row i (k: the multiplier; k+1..n: an entry; n+1: b[i]).
    Fase fase = Fase::Eliminacao;
    int k = 1;
    int i = 0;
    int j = 0;
};

enum class Marca : std::uint8_t { Certo, Errado };

// The check of one reply.
struct Conferencia {
    Marca marca = Marca::Errado;
    float valor = 0.0f;
    float esperado = 0.0f;         // from the student's own accepted values
    float programa = 0.0f;         // the program's own value of the same step
    const char* engano = nullptr;  // the mistake's id, or nullptr (right, or not on the list)
    std::string explicacao;
    int tentativa = 0;  // 1 for the first reply to this step
};

// How a step was left behind.
enum class Como : std::uint8_t { Certo, Aceito, Mostrado };

struct Feito {
    Pergunta pergunta;
    float valor = 0.0f;
    float esperado = 0.0f;
    float programa = 0.0f;
    Como como = Como::Certo;
    bool de_primeira = false;  // right at the first reply, with no hint
};

struct Resumo {
    int passos = 0;
    int certos_de_primeira = 0;
    int dicas = 0;
    int mostrados = 0;
    int aceitos = 0;
    int nota = 0;  // 0..100: the share of steps right at the first reply
};

class Pratica {
public:
    // A and b as read (A row by row, n * n values); digitos: the significant digits a reply
    // must agree to (1..9), 0 for the exact float. The residual (7) takes as x the program's
    // solution by Gauss with partial pivoting; the inverse (8) starts from A factorised by LU,
    // as choice 3 leaves it.
    Pratica(int metodo, int n, const std::vector<float>& A, const std::vector<float>& b,
            int digitos);
    // The iterative methods' precision and iteration limit (before the first step).
    void parada(float precisao, int limite);
    // The column of the inverse the student computes (method 8, before the first step).
    void coluna_da_inversa(int c);

    int metodo() const { return metodo_; }
    int n() const { return aluno_.n; }
    int digitos() const { return digitos_; }
    bool concluida() const { return aluno_.fase == Fase::Fim; }
    int passo() const { return static_cast<int>(feitos_.size()) + 1; }  // the step asked now
    Pergunta pergunta() const;
    // This step's expected value (from the student's arrays) and the program's own.
    float esperado() const;
    float do_programa() const;

    Conferencia confere(float valor);
    std::string dica();             // the formula with the student's numbers
    float mostra();                 // the expected value, taken as this step's value
    std::optional<float> aceita();  // the last wrong reply taken as it is (none: nullopt)
    int desfaz(int passos);         // undoes up to passos steps; how many were undone

    const std::vector<Feito>& historico() const { return feitos_; }
    const Quadro& aluno() const { return aluno_; }
    const Quadro& programa() const { return programa_; }
    Resumo resumo() const;
    // Whether the student's a[r][c] below the diagonal has been eliminated (a record shows 0).
    bool eliminado(int r, int c) const;

private:
    void avanca(float valor, Como como);

    int metodo_;
    int digitos_;
    Quadro aluno_;
    Quadro programa_;
    // The arrays before each step taken, for undo.
    struct Antes {
        Quadro aluno;
        Quadro programa;
    };
    std::deque<Antes> antes_;  // a deque: a new step never moves the ones before
    std::vector<Feito> feitos_;
    // The step being asked.
    int tentativas_ = 0;
    bool dica_no_passo_ = false;
    std::optional<float> errado_;
    int dicas_ = 0;
};

// Whether reply v agrees with the expected e: to digitos significant digits (within half a unit
// of the last of them), or, with digitos 0, the same float (the sign of a zero aside). NaN
// agrees with NaN, an infinity with itself, and 0 only with 0.
bool concorda(float v, float e, int digitos);

// sislin-aula pratica METODO N|CODIGO [--digitos D|exato]: the session on the console; the exit
// status (aula/pratica_console.cpp).
int comando_pratica(const std::vector<std::string>& palavras);

// The shortest text that reads back to v ("nan", "inf", "-inf" for those).
std::string texto_numero(float v);

}  // namespace sislin::aula
