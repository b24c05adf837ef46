// JSON text: strings escaped, numbers in their shortest round-trip form.
#include "saida_json.h"

#include <charconv>
#include <cmath>

namespace sislin::aula {

std::string json_texto(const std::string& s) {
    std::string t = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            t += '\\';
            t += c;
        } else if (c == '\n') {
            t += "\\n";
        } else if (c == '\t') {
            t += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr const char* kHex = "0123456789abcdef";
            t += "\\u00";
            t += kHex[static_cast<unsigned char>(c) >> 4U];
            t += kHex[static_cast<unsigned char>(c) & 15U];
        } else {
            t += c;
        }
    }
    return t + "\"";
}

std::string json_numero(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return {buf, r.ptr};
}

std::string json_numero(const std::optional<double>& v) {
    return v ? json_numero(*v) : "null";
}

std::string json_booleano(const std::optional<bool>& v) {
    return !v ? "null" : *v ? "true" : "false";
}

std::string json_cabecalho(const char* comando) {
    return std::string(R"({"programa":"sislin-aula","formato":1,"comando":)") +
           json_texto(comando) + ",";
}

}  // namespace sislin::aula
