// The pieces of sislin-aula's JSON output (--json; docs/sislin-aula.schema.json).
#pragma once

#include <optional>
#include <string>

namespace sislin::aula {

// A string, quoted, with '"', '\' and the control characters escaped.
std::string json_texto(const std::string& s);
// The shortest decimal that reads back to v; null when v is not finite (not determined).
std::string json_numero(double v);
std::string json_numero(const std::optional<double>& v);
std::string json_booleano(const std::optional<bool>& v);  // null when absent

// The opening members every object of sislin-aula has, up to the comma after "comando".
std::string json_cabecalho(const char* comando);

}  // namespace sislin::aula
