// The record of a run: when the environment variable SISLIN_REGISTRO names a file, every event
// of the run is also written there, one JSON object a line (docs/registro.md describes each
// event, docs/registro.schema.json is their schema). Standard output is not touched; without
// the variable every function here returns at once.
//
// The record is a stream of the process, as standard output is: opened once by abre_registro,
// written by whichever part of the program meets the event, closed at exit.
#pragma once

#include "vetores.h"

namespace sislin {

// Opens the file SISLIN_REGISTRO names (emptied first) and writes the "inicio" event. When it
// cannot be opened, a line on standard error says so and the run goes on without a record.
void abre_registro();
bool registrando();  // a record is being written

// An event is written in pieces: inicia_evento, its fields, then fecha_evento (the line end).
// Scalars are written as the shortest decimal that reads back to the same float; NaN and the
// infinities as the strings "nan", "inf" and "-inf".
void inicia_evento(const char* evento);
void campo_texto(const char* nome, const char* valor);
void campo_int(const char* nome, long long valor);
void campo_bool(const char* nome, bool valor);
void campo_escalar(const char* nome, Scalar valor);
void campo_vetor(const char* nome, const Scalar* v, int n);  // v[1..n]
void campo_indices(const char* nome, const int* v, int n);   // v[1..n]
void campo_matriz(const char* nome, Matrix m, int n);        // m[1..n][1..n], row by row
void fecha_evento();

// The common short events.
// The program is about to wait for input of this kind (with the range of the accepted integers
// when minimo <= maximo); the record is written out, so that a reader sees the event at once.
void registra_espera(const char* de, int minimo = 0, int maximo = -1);
void registra_rejeitada(const char* de, const char* motivo);  // a reply asked for again
void registra_erro(const char* mensagem);                     // a fatal message, as printed
void registra_fim(int status);                                // the run ends with this status

}  // namespace sislin
