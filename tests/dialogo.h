// End-to-end dialogue harness: runs build/sislin in a fresh temporary directory holding the
// given data files, feeds it standard input, and collects standard output and the exit status.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sislin {

struct Execucao {
    std::string saida;  // standard output, byte for byte
    std::string erros;  // standard error (sanitizer reports end up here)
    int status = -1;    // exit status; -1 if killed by a signal or by the time limit
    int sinal = 0;      // the signal that killed it
    bool expirou = false;
};

// The command that starts the program: the build's own sislin, or the one named by the
// environment variable SISLIN_PROGRAMA (another build of it, say a cross-built one), preceded by
// the words of SISLIN_LANCADOR when set (an emulator: "wine", "qemu-aarch64 -L /usr/...").
std::vector<std::string> comando_sislin();
// The same command as one line for the shell, each word quoted.
std::string linha_sislin();
// The command that starts sislin-aula: the build's own, or the one named by
// SISLIN_AULA_PROGRAMA (another build of it). The words of SISLIN_LANCADOR come first, unless
// they are there for another build of sislin alone (SISLIN_PROGRAMA set, SISLIN_AULA_PROGRAMA
// not): this build's own then runs as it is.
std::vector<std::string> comando_sislin_aula();

// Where the program's standard output goes: a file read back into Execucao::saida, a full disk
// (/dev/full), or nowhere (the descriptor closed).
enum class Saida { Arquivo, Cheia, Fechada };

// a7 / b7: the files' contents, or nullopt for a missing file.
Execucao executa_sislin(const std::optional<std::string>& a7, const std::optional<std::string>& b7,
                        const std::string& entrada, int limite_segundos = 60,
                        Saida saida = Saida::Arquivo);
// The same in a working directory the caller prepared (files the harness cannot write: links,
// directories, unreadable files), left as it is.
Execucao executa_na_pasta(const std::string& trabalho, const std::string& entrada,
                          Saida saida = Saida::Arquivo, int limite_segundos = 60);

// Any command (its words, the first a path or a name looked up in PATH) run the same way in the
// folder trabalho, within limite_segundos.
Execucao executa_comando(std::vector<std::string> comando, const std::string& trabalho,
                         const std::string& entrada, Saida saida = Saida::Arquivo,
                         int limite_segundos = 60);

// A new empty folder under the system's temporary one, from a mkdtemp template ("x-XXXXXX").
std::filesystem::path pasta_temporaria(const char* modelo);
// Writes conteudo to p, byte for byte.
void grava(const std::filesystem::path& p, const std::string& conteudo);

// A run with its record (SISLIN_REGISTRO names a file of the run's folder), which is read back.
// With sinal, that signal is sent to the program once its record holds at least linhas_antes
// lines (a long iteration that the user interrupts, say).
struct ExecucaoRegistrada {
    Execucao execucao;
    std::string registro;  // the record's bytes
    std::vector<std::string> linhas() const;
};
ExecucaoRegistrada executa_registrando(const std::optional<std::string>& a7,
                                       const std::optional<std::string>& b7,
                                       const std::string& entrada, Saida saida = Saida::Arquivo,
                                       int sinal = 0, std::size_t linhas_antes = 0);

// Checks a run: it ended within its time, printed exactly saida and ended with status.
void espera(const Execucao& e, const std::string& saida, int status = 0);

// The whole of a file, byte for byte ("" when it cannot be read).
std::string le_arquivo(const std::filesystem::path& p);
// The lines of texto, without their newlines.
std::vector<std::string> linhas_de(const std::string& texto);
// The words of a command line: blanks separate them, '...' keeps blanks inside one.
std::vector<std::string> palavras(const std::string& linha);

// sislin-aula with these words in a new folder holding these files (in pasta instead, kept, when
// given), fed entrada; with registro, SISLIN_REGISTRO names registro.jsonl there.
struct Corrida {
    Execucao e;
    std::map<std::string, std::string> arquivos;  // every file of the folder afterwards
};
Corrida executa_aula(const std::vector<std::string>& palavras,
                     const std::map<std::string, std::string>& arquivos = {},
                     const std::string& entrada = "", bool registro = false,
                     const std::filesystem::path* pasta = nullptr);

// The rows of a CSV text as Python's csv module reads them; nullopt when there is no python3.
std::optional<std::vector<std::vector<std::string>>> csv_pelo_python(const std::string& csv);

// The main menu exactly as printed.
extern const char* const kMenu;

}  // namespace sislin
