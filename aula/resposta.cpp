// A practice reply as the console reads it (resposta.h).
#include "resposta.h"

#include <utility>

#include "conversao.h"

namespace sislin::aula {

std::optional<float> numero(std::string t) {
    if (t.find('.') == std::string::npos) {
        const std::size_t virgula = t.find(',');
        if (virgula != std::string::npos && t.find(',', virgula + 1) == std::string::npos)
            t[virgula] = '.';
    }
    Scalar v = 0.0f;
    bool ok = false;
    const char* fim = le_numero_g(t.data(), t.data() + t.size(), v, ok);
    if (!ok || fim != t.data() + t.size()) return std::nullopt;
    return v;
}

std::optional<int> desfazer(const std::string& t) {
    if (t == "u" || t == "U") return 1;
    if (t.size() < 3 || (t[0] != 'u' && t[0] != 'U') || t[1] != ' ') return std::nullopt;
    std::size_t i = 1;
    while (i < t.size() && t[i] == ' ') ++i;
    const std::string resto = t.substr(i);
    // At most nine digits, as the console's so_digitos takes them.
    if (resto.empty() || resto.size() > 9) return std::nullopt;
    for (const char c : resto)
        if (c < '0' || c > '9') return std::nullopt;
    const int n = std::stoi(resto);
    return n >= 1 ? std::optional<int>(n) : std::nullopt;
}

namespace {

Resposta com(Acao acao, float valor = 0.0f, int passos = 0, std::string motivo = {}) {
    Resposta r;
    r.acao = acao;
    r.valor = valor;
    r.passos = passos;
    r.motivo = std::move(motivo);
    return r;
}

}  // namespace

Resposta le_resposta(const std::string& t, bool decisao) {
    if (t == "sair" || (!decisao && (t == "s" || t == "S"))) return com(Acao::Sair);
    const std::optional<int> u = desfazer(t);
    if (decisao && t != "d" && t != "m" && t != "a" && t != "h" && !u) {
        if (t == "s" || t == "sim" || t == "S" || t == "SIM") return com(Acao::Decide, 1.0f);
        if (t == "n" || t == "nao" || t == "N" || t == "NAO") return com(Acao::Decide, 0.0f);
        return com(Acao::NemSimNemNao, 0.0f, 0, "responda sim ou nao: " + t);
    }
    if (t == "d" || t == "D") return com(Acao::Dica);
    if (t == "m" || t == "M") return com(Acao::Mostra);
    if (t == "a" || t == "A") return com(Acao::Aceita);
    if (t == "h" || t == "H") return com(Acao::Historico);
    if (u) return com(Acao::Desfaz, 0.0f, *u);
    if (const std::optional<float> v = numero(t)) return com(Acao::Numero, *v);
    return com(Acao::Recusa, 0.0f, 0,
               t.empty() ? "resposta vazia" : "nao e um numero nem um comando: " + t);
}

}  // namespace sislin::aula
