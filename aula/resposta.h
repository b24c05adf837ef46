// A practice reply (its number, undo, command) as the console reads it (aula/pratica_console.cpp),
// shared with the grading of hand-in records (aula/corrige.cpp), which replays the replies the same
// way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sislin::aula {

// A reply's number: the "%g" grammar of the data files, a decimal comma taken for the point.
std::optional<float> numero(std::string t);

// "u" or "u N": the count of steps to undo, or nothing.
std::optional<int> desfazer(const std::string& t);

// What a line typed at a step asks, as the console takes it.
enum class Acao : std::uint8_t {
    Sair,          // sair; s or S except at the decision to stop
    Decide,        // the decision to stop answered: valor 1 (sim) or 0 (nao)
    NemSimNemNao,  // at the decision to stop, neither a command nor sim/nao
    Dica,
    Mostra,
    Aceita,
    Historico,
    Desfaz,  // passos steps
    Numero,  // valor
    Recusa,  // neither a number nor a command: motivo
};
struct Resposta {
    Acao acao = Acao::Recusa;
    float valor = 0.0f;
    int passos = 0;
    std::string motivo;  // Recusa and NemSimNemNao: the record's reason
};
// The reasons recorded when a command has nothing to act on.
inline constexpr const char* kNadaAAceitar = "nada a aceitar: nenhuma resposta errada neste passo";
inline constexpr const char* kNadaADesfazer = "nada a desfazer";
// decisao: the step asked is the decision to stop.
Resposta le_resposta(const std::string& t, bool decisao);

}  // namespace sislin::aula
