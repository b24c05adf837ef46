// A practice reply's number and undo as the console reads them (aula/pratica_console.cpp), shared
// with the grading of hand-in records (aula/corrige.cpp), which replays the replies the same way.
#pragma once

#include <optional>
#include <string>

namespace sislin::aula {

// A reply's number: the "%g" grammar of the data files, a decimal comma taken for the point.
std::optional<float> numero(std::string t);

// "u" or "u N": the count of steps to undo, or nothing.
std::optional<int> desfazer(const std::string& t);

}  // namespace sislin::aula
