// A practice reply's number and undo (resposta.h).
#include "resposta.h"

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

}  // namespace sislin::aula
