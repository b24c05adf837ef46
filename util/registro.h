// The record of a run: when the environment variable SISLIN_REGISTRO names a file, every event
// of the run is also written there, one JSON object a line (docs/registro.md describes each
// event, docs/registro.schema.json is their schema). Standard output is not touched; without
// the variable every function here returns at once.
//
// The record is a stream of the process, as standard output is: opened once by abre_registro,
// written by whichever part of the program meets the event, closed by registra_fim.
#pragma once

#include <string>
#include <string_view>

#include "vetores.h"

namespace sislin {

// The layout of the record's lines (the "formato" of its "inicio" event).
inline constexpr int kFormatoDoRegistro = 2;

// Every wait for input of the program: the record names each by its "de".
enum class Espera { Dimensao, Menu, Precisao, Limite, Pausa, Tecla };
struct DescricaoDeEspera {
    Espera espera;
    const char* de;     // its name in the record
    const char* texto;  // what the user is asked; {minimo} and {maximo} stand for the range
};
inline constexpr DescricaoDeEspera kEsperas[] = {
    {Espera::Dimensao, "dimensao", "dimensao n (inteiro)"},
    {Espera::Menu, "menu", "opcao {minimo} a {maximo}"},
    {Espera::Precisao, "precisao", "precisao, ex.: 0.0001"},
    {Espera::Limite, "limite", "numero maximo de iteracoes"},
    {Espera::Pausa, "pausa", "Enter para continuar"},
    {Espera::Tecla, "tecla", "Enter para continuar"},
};
constexpr const char* nome_da_espera(Espera e) {
    for (const DescricaoDeEspera& d : kEsperas)
        if (d.espera == e) return d.de;
    return "";
}

// How a run ended (the "causa" of the "fim" event).
// Concluido: a practice session of sislin-aula came to its end (the program never ends so).
enum class Causa { Sair, FimDaEntrada, Erro, Sinal, Saida, Concluido };

// Opens the file SISLIN_REGISTRO names (emptied first); the caller then writes the "inicio"
// event. False without a record: when the variable is not set, or when the file cannot be
// opened (a line on standard error says so, and the run goes on without a record).
bool abre_registro();
// Before abre_registro: the record's lines also go to the end of the file at caminho (created
// when missing, never emptied), the hand-in file of an assignment, with or without
// SISLIN_REGISTRO. caminho must live as long as the run. False when it cannot be opened.
bool acrescenta_registro_a(const char* caminho);
bool registrando();  // a record is being written

// An event is written in pieces: inicia_evento, its fields, then fecha_evento (the line end).
// Scalars are written as the shortest decimal that reads back to the same float; NaN and the
// infinities as the strings "nan", "inf" and "-inf".
// A JSON string: quoted, the quote, the backslash and the control characters escaped.
std::string texto_json(std::string_view s);
void inicia_evento(const char* evento);
void campo_texto(const char* nome, const char* valor);
void campo_int(const char* nome, long long valor);
void campo_bool(const char* nome, bool valor);
void campo_escalar(const char* nome, Scalar valor);
void campo_nulo(const char* nome);                           // null
void campo_vetor(const char* nome, const Scalar* v, int n);  // v[1..n]
void campo_indices(const char* nome, const int* v, int n);   // v[1..n]
void campo_matriz(const char* nome, Matrix m, int n);        // m[1..n][1..n], row by row
// Members that hold lists and objects (the descriptions of the "inicio" event): a list or an
// object opened under a name, objects as items of the open list, closed in reverse order.
void abre_lista(const char* nome);
void abre_objeto(const char* nome);
void abre_item();  // an object, the next item of the open list
void fecha_lista();
void fecha_objeto();  // closes an object opened by abre_objeto or abre_item
// A list of strings from words apart by blanks: "A b x" -> ["A","b","x"].
void campo_palavras(const char* nome, const char* palavras);
// The member "esperas": every wait of kEsperas with its text.
void campo_esperas();
void fecha_evento();

// The common short events.
// The program is about to wait for input of this kind (with the range of the accepted integers
// when minimo <= maximo); the record is written out, so that a reader sees the event at once.
void registra_espera(Espera de, int minimo = 0, int maximo = -1);
// The same for a wait of sislin-aula, named by its "de".
void registra_espera(const char* de);
void registra_rejeitada(Espera de, const char* motivo);  // a reply asked for again
void registra_fim_da_entrada(Espera de);                 // the input ended at this wait
void registra_erro(const char* mensagem);                // a fatal message, as printed
// The run ends with this status, for this cause: the last line ("segundos" in it when not
// negative); the record is closed. False when a file of the record could not be written whole
// (a line on standard error says which).
bool registra_fim(int status, Causa causa, long long segundos = -1);

}  // namespace sislin
