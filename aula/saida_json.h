// The pieces of sislin-aula's JSON output (--json; docs/sislin-aula.schema.json).
#pragma once

#include <optional>
#include <string>

#include "registro.h"

namespace sislin::aula {

// A string is written with the record's texto_json (registro.h).
// The shortest decimal that reads back to v; null when v is not finite (not determined).
std::string json_numero(double v);
std::string json_numero(const std::optional<double>& v);
std::string json_booleano(const std::optional<bool>& v);  // null when absent

// The opening members every object of sislin-aula has, up to the comma after "comando".
std::string json_cabecalho(const char* comando);

}  // namespace sislin::aula
