// JSON text: strings escaped, numbers in their shortest round-trip form.
#include "saida_json.h"

#include <charconv>
#include <cmath>

namespace sislin::aula {

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
           texto_json(comando) + ",";
}

}  // namespace sislin::aula
