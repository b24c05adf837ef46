// Platform services: the few things the C++ standard library does not offer alike on Linux,
// macOS and Windows. util/plataforma.cpp is the one file of the program that looks at which
// platform it is built for; everything else uses these functions.
#pragma once

#include <cstddef>

namespace sislin {

// ---- Files.
// Opens path for reading in binary mode; a handle (>= 0), or -1 when it cannot be opened or is
// a directory.
int abre_leitura_arquivo(const char* path);
// Reads up to n bytes into buf: the count read, 0 at the end of the file, -1 on a read error.
// An interrupted read is retried.
long long le_bloco_arquivo(int arquivo, char* buf, std::size_t n);
void fecha_arquivo(int arquivo);  // a negative handle is ignored
// Whether something (a file, a folder, anything) is at path, readable or not.
bool existe_caminho(const char* path);
// Removes the file, or the empty folder, at path; false when it could not.
bool apaga_caminho(const char* path);

// ---- The record's file, written with the system's own calls (no C stream), so that the end by
// a signal can complete it. escreve_arquivo and trunca_arquivo are async-signal-safe.
// Creates path, or empties it, for writing; a handle (>= 0), or -1 when it cannot.
int abre_escrita_arquivo(const char* path);
// Writes all n bytes (an interrupted write is retried); false when they could not be written.
bool escreve_arquivo(int arquivo, const char* p, std::size_t n);
// Cuts the file to tamanho bytes; the next write goes there. False when it cannot be cut.
bool trunca_arquivo(int arquivo, long long tamanho);
// Opens path for writing at its end, every write appended (created when missing, never
// emptied); a handle (>= 0) and the file's size in tamanho, or -1 when it cannot (a folder).
int abre_acrescimo_arquivo(const char* path, long long& tamanho);

// ---- Clock: the time now in UTC as "2026-12-10T17:45:02Z" (ISO 8601), into buf (at least 21
// places); false when the clock cannot tell.
bool hora_utc(char* buf, std::size_t n);

// ---- Signals that end the run: SIGTERM, SIGINT and SIGHUP where the platform has them (not on
// Windows or WebAssembly, where nothing changes). When one arrives, tratador(its number) runs,
// and must be async-signal-safe; then the process ends at once with status 128 + the number.
void ao_sinal_de_fim(void (*tratador)(int sinal));
// Holds those signals back (bloqueia) until libera: around work that tratador must not cut.
void bloqueia_sinais_de_fim();
void libera_sinais_de_fim();

// ---- Console. Standard input, output and error in binary mode ("\n" line ends everywhere),
// output fully buffered in buffer. Every read, write and flush of the program goes through
// these. With the GNU C library reads and writes take no stream lock (the program has one
// thread); elsewhere they are the C library's own calls, which lock per call, and the program
// writes in few, large pieces.
void prepara_console(char* buffer, std::size_t tamanho);
// False when standard output could not take the bytes (a full disk, a closed descriptor).
bool escreve_console(const char* p, std::size_t n);
// Writes out what standard output holds; false when that write fails or an earlier one did.
bool descarrega_console();
int le_console();             // one byte of standard input, or EOF
void devolve_console(int c);  // c is read again next (EOF: nothing)
// Standard error, unbuffered.
void escreve_erro_console(const char* p, std::size_t n);

// ---- Memory: the machine's physical memory (on WebAssembly, the most the module's memory may
// grow to) and the bytes this process holds from the allocator; 0 where the platform cannot
// tell.
std::size_t memoria_fisica();
std::size_t memoria_em_uso();

}  // namespace sislin
