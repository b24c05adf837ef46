// The choices of the main menu (escolhas.h): the handlers, each doing its choice on the work set
// and printing its results; the table that names them; the menu, the dispatch and the record's
// "resultado" events made from it.
#include "escolhas.h"

#include <algorithm>
#include <string_view>
#include <variant>

#include "methods.h"

namespace sislin {

namespace {

using T = ConjuntoDeTrabalho;

// Matrix layouts. Upper: only the upper triangle carries a result after elimination, so the
// places below the diagonal print as 0 whatever they hold. Full: every entry.
void imprime_superior(int n, Matrix A) {
    for (int i = 1; i <= n; i++) {
        for (int j = 1; j < i; j++) escreve("0\t");
        escreve_sequencia_f74(A[i] + (i - 1), n - i + 1, "\t");  // columns i..n
        escreve("\n");
    }
}

void imprime_cheia(int n, Matrix M) {
    for (int i = 1; i <= n; i++) {
        escreve_sequencia_f74(M[i], n, "\t");
        escreve("\n");
    }
}

// ---- The handlers, one for each choice.

// Choices 1 and 2: elimination, the upper triangle, back substitution, the solution.
Seguimento resolve_por_gauss(T& t, void (*elimina)(int, Matrix, Vector)) {
    elimina(t.n, t.A, t.b);
    escreve("Matriz A resultante:\n");
    imprime_superior(t.n, t.A);
    SubstituicaoRetroativa(t.n, t.A, t.x, t.b);
    escreve("\nVetor solucao:\n");
    imprime_vetor("x", t.x, t.n);
    return Seguimento::Menu;
}

Seguimento gauss(T& t, const Escolha& /*escolha*/) {
    return resolve_por_gauss(t, Eliminacao);
}

Seguimento gauss_pivoteado(T& t, const Escolha& /*escolha*/) {
    return resolve_por_gauss(t, GaussPivoteamentoParcial);
}

// Choice 3: the factors in place.
Seguimento fatora_lu(T& t, const Escolha& /*escolha*/) {
    LU(t.n, t.A);
    escreve("Matriz LU resultante:\n");
    imprime_cheia(t.n, t.A);
    return Seguimento::Menu;
}

// Choice 4: the factors, the determinant and the permutation ("pos[%2d]=%d \n"); then the
// right-hand side as read, in the order of the exchanged rows.
Seguimento fatora_lu_pivoteado(T& t, const Escolha& /*escolha*/) {
    const int n = t.n;
    LUPivoteamentoParcial(n, t.A, t.pos, t.det);
    escreve("Matriz LU resultante:\n");
    imprime_cheia(n, t.A);
    escreve("Determinante = ");
    escreve_g(t.det);
    escreve("\n");
    for (int i = 1; i <= n; i++) {
        imprime_rotulo("pos", i);
        escreve_int(t.pos[i]);
        escreve(" \n");
    }
    for (int i = 1; i <= n; i++) t.b[i] = t.b0[t.pos[i]];
    return Seguimento::Menu;
}

// Choice 5: the right-hand side about to be used, then L·y = b solved and y.
Seguimento resolve_ly(T& t, const Escolha& /*escolha*/) {
    imprime_vetor("b", t.b, t.n);
    SubstituicaoProgressivaL(t.n, t.A, t.y, t.b);
    escreve("Solucao y resultante:\n");
    escreve_sequencia_g(t.y, t.n, " \n");
    return Seguimento::Menu;
}

// Choice 6: U·x = y solved and x.
Seguimento resolve_ux(T& t, const Escolha& /*escolha*/) {
    SubstituicaoRetroativa(t.n, t.A, t.x, t.y);
    escreve("\nVetor solucao:\n");
    imprime_vetor("x", t.x, t.n);
    return Seguimento::Menu;
}

// Choice 7: r = b0 - A0·x, measured against the data as read whatever the other choices did to
// A and b, and its largest magnitude, the error (the pause follows the results).
Seguimento mostra_residuo(T& t, const Escolha& /*escolha*/) {
    CalculaResiduo(t.n, t.b0, t.A0, t.x, t.r);
    escreve("\nVetor Residuo:\n");
    imprime_vetor("r", t.r, t.n);
    t.erro = CalculaErro(t.n, t.r);
    escreve("\nErro = ");
    escreve_g(t.erro);
    escreve("\n");
    return Seguimento::Menu;
}

// Choice 8: the inverse, column by column from the factors held in A.
Seguimento inverte(T& t, const Escolha& /*escolha*/) {
    Inversa(t.n, t.A, t.Inv, t.b, t.x, t.y);
    escreve("Matriz Inversa resultante:\n");
    imprime_cheia(t.n, t.Inv);
    return Seguimento::Menu;
}

// Reads a reply with le (le_real or le_inteiro), asking again after one that is not a number.
// False at the end of input, which the record says.
template <typename V>
bool pergunta(const char* prompt, V& v, Leitura (*le)(V&), Espera de, const char* motivo) {
    for (;;) {
        escreve(prompt);
        registra_espera(de);
        const Leitura lido = le(v);
        if (lido == Leitura::Fim) registra_fim_da_entrada(de);
        if (lido != Leitura::Invalida) return lido == Leitura::Ok;
        registra_rejeitada(de, motivo);
    }
}

// One line of the iteration table without its error column: k, then the unknowns.
void imprime_iteracao(int k, int n, const Scalar* x) {
    escreve_int(k);
    escreve("\t");
    escreve_sequencia_f74(x, n, "\t");
}

// One line of the iteration table in the record: the sweep k, x after it and its change (none
// for the starting line, k = 0).
void registra_varredura(const char* metodo, int k, int n, const Scalar* x, const Scalar* erro) {
    if (!registrando()) return;
    inicia_evento("varredura");
    campo_texto("metodo", metodo);
    campo_int("k", k);
    campo_vetor("x", x, n);
    if (erro != nullptr) campo_escalar("Erro", *erro);
    fecha_evento();
}

// The error before the first sweep, 2^31: any precision below it lets the first sweep run.
constexpr Scalar kErroInicial = 2147483648.0f;

// Choices 9 and 10: the precision and the limit, then sweeps from x = 0 while the change is
// above the precision and the limit is not reached, one table line each.
Seguimento itera(T& t, const Escolha& escolha, Scalar (*varredura)(int, Matrix, Vector, Vector),
                 const char* titulo) {
    if (!pergunta("Entre com a precisao requerida = ", t.prec, le_real, Espera::Precisao,
                  "nao e um numero") ||
        !pergunta("\nEntre com o numero maximo de iteracoes = ", t.maxit, le_inteiro,
                  Espera::Limite, "nao e um inteiro")) {
        escreve("\n");
        return Seguimento::FimDaEntrada;  // the iteration never ran
    }
    const int n = t.n;
    for (int i = 1; i <= n; i++) t.x[i] = 0.0f;
    escreve(titulo);
    escreve("k\t");
    for (int i = 1; i <= n; i++) {
        escreve("x[");
        escreve_int(i);
        escreve("]\t");
    }
    escreve("Erro\n");
    t.erro = kErroInicial;
    t.k = 0;
    imprime_iteracao(t.k, n, t.x);
    escreve("\n");
    registra_varredura(escolha.metodo, t.k, n, t.x, nullptr);
    while (t.erro > t.prec && t.k < t.maxit) {
        t.k++;
        t.erro = varredura(n, t.A, t.b, t.x);
        imprime_iteracao(t.k, n, t.x);
        escreve_f74(t.erro);
        escreve("\n");
        registra_varredura(escolha.metodo, t.k, n, t.x, &t.erro);
    }
    // The limit reached, or a last change that is not within the precision (a NaN change or a
    // NaN precision): no convergence.
    t.convergiu = t.k < t.maxit && t.erro <= t.prec;
    if (!t.convergiu) {
        escreve("Nao houve convergencia em ");
        escreve_int(t.k);
        escreve(" iteracoes");
    }
    return Seguimento::Menu;
}

Seguimento itera_jacobi(T& t, const Escolha& escolha) {
    return itera(t, escolha, IteracaoJacobi, "------Metodo Iterativo de Jacobi------\n");
}

Seguimento itera_gauss_seidel(T& t, const Escolha& escolha) {
    return itera(t, escolha, IteracaoGaussSeidel, "-----Metodo Iterativo de Gauss-Seidel-----\n");
}

Seguimento sai(T& /*t*/, const Escolha& /*escolha*/) {
    return Seguimento::Sair;
}

// ---- The table.

constexpr Escolha kEscolhas[] = {
    {1, "Gauss", "A b", "A b x", FormaDeA::Eliminada, "Eliminacao SubstituicaoRetroativa", "A b x",
     Esperas(), nullptr, gauss},
    {2, "Gauss com pivotacao parcial", "A b", "A b x", FormaDeA::Eliminada,
     "GaussPivoteamentoParcial SubstituicaoRetroativa", "A b x", Esperas(), nullptr,
     gauss_pivoteado},
    {3, "Fatoracao LU", "A", "A", FormaDeA::LU, "LU", "A", Esperas(), nullptr, fatora_lu},
    {4, "Fatoracao LU com pivotacao parcial", "A b0", "A det pos b", FormaDeA::LU,
     "LUPivoteamentoParcial", "A det pos b", Esperas(), nullptr, fatora_lu_pivoteado},
    {5, "Resolucao do sistema Ly = b", "A b", "y", FormaDeA::Inalterada, "SubstituicaoProgressivaL",
     "y", Esperas(), nullptr, resolve_ly},
    {6, "Resolucao do sistema Uy = y", "A y", "x", FormaDeA::Inalterada, "SubstituicaoRetroativa",
     "x", Esperas(), nullptr, resolve_ux},
    {7, "Calculo do vetor residuo e erro", "A0 b0 x", "r", FormaDeA::Inalterada,
     "CalculaResiduo CalculaErro", "r Erro", Esperas(Espera::Pausa), nullptr, mostra_residuo},
    {8, "Inversa da matriz A", "A", "Inv b x y", FormaDeA::Inalterada, "Inversa", "Inv b x y",
     Esperas(), nullptr, inverte},
    {9, "Metodo Iterativo de Jacobi", "A b", "x", FormaDeA::Inalterada, "IteracaoJacobi",
     "precisao limite x k convergiu", Esperas(Espera::Precisao, Espera::Limite), "jacobi",
     itera_jacobi},
    {10, "Metodo Iterativo de Gauss-Seidel", "A b", "x", FormaDeA::Inalterada,
     "IteracaoGaussSeidel", "precisao limite x k convergiu",
     Esperas(Espera::Precisao, Espera::Limite), "gauss-seidel", itera_gauss_seidel},
    {0, "Sair", "", "", FormaDeA::Inalterada, "", "", Esperas(), nullptr, sai},
};

// ---- The members of the work set by their names in the record.

using Lugar =
    std::variant<Vector T::*, IndexVector T::*, Matrix T::*, Scalar T::*, int T::*, bool T::*>;
struct Membro {
    std::string_view nome;
    Lugar lugar;
};
constexpr Membro kMembros[] = {
    {"A", &T::A},          {"A0", &T::A0},     {"Inv", &T::Inv},
    {"b", &T::b},          {"b0", &T::b0},     {"x", &T::x},
    {"y", &T::y},          {"r", &T::r},       {"pos", &T::pos},
    {"det", &T::det},      {"Erro", &T::erro}, {"precisao", &T::prec},
    {"limite", &T::maxit}, {"k", &T::k},       {"convergiu", &T::convergiu},
};

constexpr const Membro* membro(std::string_view nome) {
    for (const Membro& m : kMembros)
        if (m.nome == nome) return &m;
    return nullptr;
}

// Calls f with each word of the text (words apart by blanks).
template <typename F>
constexpr void para_cada_palavra(std::string_view texto, F&& f) {
    while (!texto.empty()) {
        const std::size_t fim = std::min(texto.find(' '), texto.size());
        if (fim > 0) f(texto.substr(0, fim));
        texto.remove_prefix(std::min(fim + 1, texto.size()));
    }
}

// Every member the table names is one of the work set; the numbers are distinct.
constexpr bool tabela_coerente() {
    bool ok = true;
    for (const Escolha& e : kEscolhas) {
        for (const char* lista : {e.le, e.muda, e.resultado})
            para_cada_palavra(lista, [&](std::string_view p) { ok = ok && membro(p) != nullptr; });
        for (const Escolha& outra : kEscolhas) ok = ok && (&outra == &e || outra.opcao != e.opcao);
    }
    return ok;
}
static_assert(tabela_coerente(), "a choice names a member the work set does not have");

constexpr int kMinimo =
    std::min_element(std::begin(kEscolhas), std::end(kEscolhas),
                     [](const auto& a, const auto& b) { return a.opcao < b.opcao; }) -> opcao;
constexpr int kMaximo =
    std::max_element(std::begin(kEscolhas), std::end(kEscolhas),
                     [](const auto& a, const auto& b) { return a.opcao < b.opcao; }) -> opcao;

// One member of the work set as a field of the event under way.
void registra_membro(const T& t, std::string_view nome) {
    const Membro* m = membro(nome);
    if (m == nullptr) return;  // not met: tabela_coerente() holds
    const std::string campo(nome);
    const char* c = campo.c_str();
    std::visit(
        [&](auto lugar) {
            const auto& valor = t.*lugar;
            using V = std::decay_t<decltype(valor)>;
            if constexpr (std::is_same_v<V, Vector>)
                campo_vetor(c, valor, t.n);
            else if constexpr (std::is_same_v<V, IndexVector>)
                campo_indices(c, valor, t.n);
            else if constexpr (std::is_same_v<V, Matrix>)
                campo_matriz(c, valor, t.n);
            else if constexpr (std::is_same_v<V, Scalar>)
                campo_escalar(c, valor);
            else if constexpr (std::is_same_v<V, bool>)
                campo_bool(c, valor);
            else
                campo_int(c, valor);
        },
        m->lugar);
}

// The "resultado" event of a choice done: the members its table line lists, in that order.
void registra_resultado(const Escolha& escolha, const T& t) {
    if (!registrando() || *escolha.resultado == '\0') return;
    inicia_evento("resultado");
    campo_int("opcao", escolha.opcao);
    para_cada_palavra(escolha.resultado, [&](std::string_view nome) { registra_membro(t, nome); });
    fecha_evento();
}

// The pause after the results: the first read takes the menu reply's line end, the second
// waits.
void pausa() {
    registra_espera(Espera::Pausa);
    le_caractere();
    le_caractere();
}

const char* nome_da_forma(FormaDeA forma) {
    for (const DescricaoDeForma& d : kFormas)
        if (d.forma == forma) return d.nome;
    return nullptr;
}

}  // namespace

std::span<const Escolha> escolhas() {
    return kEscolhas;
}

const Escolha& escolha_de_opcao(int opcao) {
    return *std::find_if(std::begin(kEscolhas), std::end(kEscolhas),
                         [&](const Escolha& e) { return e.opcao == opcao; });
}

// Each item line: the number right-aligned in 17 columns, so that the numbers line up on their
// full stops ("                1." and "               10."), then the label.
std::string texto_do_menu_principal() {
    std::string texto = "\n*******************Menu Principal************************* \n";
    for (const Escolha& e : kEscolhas) {
        const std::string numero = std::to_string(e.opcao);
        texto += std::string(17 - numero.size(), ' ') + numero + ". " + e.rotulo + " \n";
    }
    return texto + "                Escolha: ";
}

Menu menu_das_escolhas(const std::string& texto) {
    return {texto, kMinimo, kMaximo};
}

int menu_principal() {
    const std::string texto = texto_do_menu_principal();
    return le_opcao_do_menu(menu_das_escolhas(texto)).value_or(0);
}

Seguimento realiza_escolha(const Escolha& escolha, ConjuntoDeTrabalho& t) {
    const Seguimento seguimento = escolha.realiza(t, escolha);
    if (seguimento == Seguimento::FimDaEntrada) return seguimento;
    registra_resultado(escolha, t);
    if (escolha.esperas.tem(Espera::Pausa)) pausa();
    return seguimento;
}

void registra_inicio() {
    if (!registrando()) return;
    inicia_evento("inicio");
    campo_texto("programa", "sislin");
    campo_int("formato", kFormatoDoRegistro);
    campo_esperas();
    abre_objeto("formas");
    for (const DescricaoDeForma& f : kFormas) campo_texto(f.nome, f.texto);
    fecha_objeto();
    abre_lista("escolhas");
    for (const Escolha& e : kEscolhas) {
        abre_item();
        campo_int("opcao", e.opcao);
        campo_texto("rotulo", e.rotulo);
        campo_palavras("le", e.le);
        campo_palavras("muda", e.muda);
        if (e.A != FormaDeA::Inalterada) campo_texto("A", nome_da_forma(e.A));
        campo_palavras("nucleos", e.nucleos);
        campo_palavras("resultado", e.resultado);
        if (!e.esperas.lista().empty()) {
            std::string nomes;
            for (const Espera w : e.esperas.lista()) nomes += std::string(nome_da_espera(w)) + " ";
            campo_palavras("esperas", nomes.c_str());
        }
        if (e.metodo != nullptr) campo_texto("metodo", e.metodo);
        fecha_objeto();
    }
    fecha_lista();
    fecha_evento();
}

}  // namespace sislin
