// A practice reply's number as the console reads it (aula/pratica_console.cpp), shared with the
// grading of hand-in records (aula/corrige.cpp), which replays the replies the same way.
#pragma once

#include <optional>
#include <string>

namespace sislin::aula {

// A reply's number: the "%g" grammar of the data files, a decimal comma taken for the point.
std::optional<float> numero(std::string t);

}  // namespace sislin::aula
