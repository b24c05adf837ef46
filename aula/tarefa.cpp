// A class assignment's settings: the options, the link fragment and the JSON object.
#include "tarefa.h"

#include "pratica.h"
#include "registro.h"
#include "turma.h"

namespace sislin::aula {

namespace {

std::string minusculas(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string sem_espacos_nas_pontas(const std::string& s) {
    const std::size_t i = s.find_first_not_of(" \t");
    if (i == std::string::npos) return "";
    return s.substr(i, s.find_last_not_of(" \t") - i + 1);
}

std::string nomes_dos_metodos() {
    std::string t;
    for (int i = 0; i < kNumeroMetodos; ++i)
        t += std::string(i > 0 ? ", " : "") + metodos_pratica()[i].nome;
    return t;
}

}  // namespace

// A whole decimal number from minimo to maximo, or nothing.
std::optional<int> le_inteiro(const std::string& s, int minimo, int maximo) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    int v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < minimo || v > maximo) return std::nullopt;
    return v;
}

std::vector<std::string> metodos_padrao(Tipo tipo) {
    switch (tipo) {
        case Tipo::P:
            return {"gauss-pivoteado"};
        case Tipo::S:
            return {"gauss-seidel"};
        case Tipo::J:
            return {"jacobi"};
        case Tipo::D:
        case Tipo::G:
        case Tipo::M:
            break;
    }
    return {"gauss"};
}

std::optional<std::vector<std::string>> le_metodos(const std::string& lista, std::string& erro) {
    std::vector<std::string> r;
    std::size_t inicio = 0;
    for (;;) {
        const std::size_t virgula = lista.find(',', inicio);
        const std::string palavra = sem_espacos_nas_pontas(lista.substr(
            inicio, virgula == std::string::npos ? std::string::npos : virgula - inicio));
        const MetodoPratica* m = metodo_pratica(minusculas(palavra));
        if (m == nullptr) {
            erro = (palavra.empty() ? std::string("--metodos tem um nome vazio")
                                    : "metodo desconhecido: " + palavra) +
                   " (os metodos sao " + nomes_dos_metodos() + ")";
            return std::nullopt;
        }
        for (const std::string& antes : r)
            if (antes == m->nome) {
                erro = std::string("metodo repetido em --metodos: ") + m->nome;
                return std::nullopt;
            }
        r.emplace_back(m->nome);
        if (virgula == std::string::npos) break;
        inicio = virgula + 1;
    }
    return r;
}

std::optional<int> le_digitos(const std::string& texto) {
    if (texto == "exato") return 0;
    return texto.size() == 1 ? le_inteiro(texto, 1, 9) : std::nullopt;
}

std::optional<int> le_aprovacao(const std::string& texto) {
    return le_inteiro(texto, 0, 100);
}

Opcao le_opcao_da_tarefa(const std::vector<std::string>& palavras, std::size_t& i, Ajustes& ajustes,
                         std::string& erro) {
    const std::string& opcao = palavras[i];
    if (opcao != "--metodos" && opcao != "--digitos" && opcao != "--aprovacao") return Opcao::Outra;
    const bool tem_valor = i + 1 < palavras.size();
    const std::string valor = tem_valor ? palavras[++i] : "";
    if (opcao == "--metodos") {
        ajustes.metodos = tem_valor ? le_metodos(valor, erro) : std::nullopt;
        if (!tem_valor) erro = "--metodos pede os metodos, separados por virgula";
        return ajustes.metodos ? Opcao::Lida : Opcao::Recusada;
    }
    if (opcao == "--digitos") {
        ajustes.digitos = le_digitos(valor);
        if (!ajustes.digitos) erro = "--digitos pede D, de 1 a 9, ou exato";
        return ajustes.digitos ? Opcao::Lida : Opcao::Recusada;
    }
    ajustes.aprovacao = le_aprovacao(valor);
    if (!ajustes.aprovacao) erro = "--aprovacao pede a nota minima, de 0 a 100";
    return ajustes.aprovacao ? Opcao::Lida : Opcao::Recusada;
}

std::optional<Tipo> le_tipo(const std::string& palavra, std::string& erro) {
    const std::optional<Tipo> tipo = palavra.size() == 1 ? tipo_da_letra(palavra[0]) : std::nullopt;
    if (!tipo) {
        erro = "tipo desconhecido: " + palavra + " (os tipos sao ";
        for (int i = 0; i < kNumeroTipos; ++i) {
            if (i > 0) erro += i + 1 < kNumeroTipos ? ", " : " e ";
            erro += kLetrasTipos[i];
        }
        erro += ")";
    }
    return tipo;
}

std::optional<int> le_n(const std::string& palavra, Tipo tipo, std::string& erro) {
    const std::optional<int> n = le_inteiro(palavra, n_minimo(tipo), n_maximo(tipo));
    if (!n)
        erro = std::string("para o tipo ") + letra_tipo(tipo) + ", N vai de " +
               std::to_string(n_minimo(tipo)) + " a " + std::to_string(n_maximo(tipo));
    return n;
}

std::optional<Tarefa> monta_tarefa(const std::string& chave, const std::string& tipo,
                                   const std::string& n, const Ajustes& ajustes,
                                   std::string& erro) {
    const Normalizado k = normaliza_chave(chave);
    if (!k.texto) {
        erro = k.erro;
        return std::nullopt;
    }
    Tarefa t;
    t.chave = chave;
    const std::optional<Tipo> letra = le_tipo(tipo, erro);
    if (!letra) return std::nullopt;
    t.tipo = *letra;
    const std::optional<int> dimensao = le_n(n, t.tipo, erro);
    if (!dimensao) return std::nullopt;
    t.n = *dimensao;
    t.metodos = ajustes.metodos ? *ajustes.metodos : metodos_padrao(t.tipo);
    t.digitos = ajustes.digitos.value_or(kDigitosPadrao);
    t.aprovacao = ajustes.aprovacao.value_or(kAprovacaoPadrao);
    return t;
}

std::string codifica_uri(const std::string& texto) {
    static constexpr const char* kHex = "0123456789ABCDEF";
    static constexpr std::string_view kComoSao = "-_.!~*'()";
    std::string r;
    for (const char ch : texto) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            kComoSao.find(ch) != std::string_view::npos) {
            r += ch;
        } else {
            r += '%';
            r += kHex[c >> 4U];
            r += kHex[c & 15U];
        }
    }
    return r;
}

std::string fragmento(const Tarefa& t) {
    std::string metodos;
    for (const std::string& m : t.metodos) {
        if (!metodos.empty()) metodos += ',';
        metodos += m;
    }
    return std::string("#turma=") + letra_tipo(t.tipo) + "/" + std::to_string(t.n) + "/" + metodos +
           "/" + (t.digitos == 0 ? std::string("exato") : std::to_string(t.digitos)) + "/" +
           std::to_string(t.aprovacao) + "/" + codifica_uri(t.chave);
}

std::string json_tarefa(const Tarefa& t) {
    const Normalizado k = normaliza_chave(t.chave);
    std::string r = R"({"formato":1,"chave":)" + texto_json(k.texto.value_or(t.chave)) +
                    R"(,"tipo":")" + letra_tipo(t.tipo) + R"(","n":)" + std::to_string(t.n) +
                    R"(,"metodos":[)";
    for (std::size_t i = 0; i < t.metodos.size(); ++i) {
        if (i > 0) r += ',';
        r += texto_json(t.metodos[i]);
    }
    return r + R"(],"digitos":)" + std::to_string(t.digitos) + R"(,"aprovacao":)" +
           std::to_string(t.aprovacao) + "}";
}

}  // namespace sislin::aula
