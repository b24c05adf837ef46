#include "dialogo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace sislin {

namespace fs = std::filesystem;

const char* const kMenu =
    "\n*******************Menu Principal************************* \n"
    "                1. Gauss \n"
    "                2. Gauss com pivotacao parcial \n"
    "                3. Fatoracao LU \n"
    "                4. Fatoracao LU com pivotacao parcial \n"
    "                5. Resolucao do sistema Ly = b \n"
    "                6. Resolucao do sistema Uy = y \n"
    "                7. Calculo do vetor residuo e erro \n"
    "                8. Inversa da matriz A \n"
    "                9. Metodo Iterativo de Jacobi \n"
    "               10. Metodo Iterativo de Gauss-Seidel \n"
    "                0. Sair \n"
    "                Escolha: ";

void grava(const fs::path& p, const std::string& conteudo) {
    std::ofstream f(p, std::ios::binary);
    f << conteudo;
}

std::string le_arquivo(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<std::string> comando_sislin() {
    std::vector<std::string> comando;
    if (const char* l = std::getenv("SISLIN_LANCADOR")) {
        std::istringstream in(l);
        for (std::string w; in >> w;) comando.push_back(w);
    }
    const char* programa = std::getenv("SISLIN_PROGRAMA");
    comando.emplace_back(programa != nullptr && *programa != '\0' ? programa : SISLIN_EXE);
    return comando;
}

std::vector<std::string> comando_sislin_aula() {
    const char* lancador = std::getenv("SISLIN_LANCADOR");
    const char* programa = std::getenv("SISLIN_AULA_PROGRAMA");
    const char* outro_sislin = std::getenv("SISLIN_PROGRAMA");
    const bool proprio = programa == nullptr || *programa == '\0';
    std::vector<std::string> comando;
    if (lancador != nullptr && !(proprio && outro_sislin != nullptr && *outro_sislin != '\0')) {
        std::istringstream in(lancador);
        for (std::string w; in >> w;) comando.push_back(w);
    }
    comando.emplace_back(proprio ? SISLIN_AULA_EXE : programa);
    return comando;
}

std::string linha_sislin() {
    std::string linha;
    for (const std::string& w : comando_sislin()) linha += (linha.empty() ? "'" : " '") + w + "'";
    return linha;
}

fs::path pasta_temporaria(const char* nome) {
    std::string modelo = (fs::temp_directory_path() / nome).string();
    if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp");
    return modelo;
}

namespace {

// Starts the command in trabalho with standard input, output and error redirected to files of
// io (output as saida says), and waits for it at most limite_segundos.
// The signal sent once the record holds enough lines (no signal: sinal 0).
struct Interrupcao {
    int sinal = 0;
    fs::path registro;
    std::size_t linhas = 0;
};

std::size_t linhas_em(const fs::path& p) {
    const std::string t = le_arquivo(p);
    return static_cast<std::size_t>(std::count(t.begin(), t.end(), '\n'));
}

Execucao corre(std::vector<std::string> comando, const fs::path& trabalho, const fs::path& io,
               const std::string& entrada, Saida saida, int limite_segundos,
               const Interrupcao& interrupcao = {}) {
    grava(io / "entrada", entrada);
    const std::string entrada_p = (io / "entrada").string();
    const std::string saida_p = saida == Saida::Cheia ? "/dev/full" : (io / "saida").string();
    const std::string erros_p = (io / "erros").string();
    const std::string trabalho_p = trabalho.string();
    std::vector<char*> argv;
    for (std::string& w : comando) argv.push_back(w.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        const int in = open(entrada_p.c_str(), O_RDONLY);
        const int out = open(saida_p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(erros_p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || chdir(trabalho_p.c_str()) != 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (const int fd : {in, out, err})
            if (fd > 2) close(fd);
        if (saida == Saida::Fechada) close(1);
        execvp(argv[0], argv.data());
        _exit(127);
    }

    Execucao e;
    const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(limite_segundos);
    int wstatus = 0;
    bool interrompido = interrupcao.sinal == 0;
    for (;;) {
        const pid_t w = waitpid(pid, &wstatus, WNOHANG);
        if (w == pid) break;
        if (!interrompido && linhas_em(interrupcao.registro) >= interrupcao.linhas) {
            kill(pid, interrupcao.sinal);
            interrompido = true;
        }
        if (std::chrono::steady_clock::now() > fim) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            e.expirou = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!e.expirou && WIFEXITED(wstatus)) e.status = WEXITSTATUS(wstatus);
    if (!e.expirou && WIFSIGNALED(wstatus)) e.sinal = WTERMSIG(wstatus);
    if (saida == Saida::Arquivo) e.saida = le_arquivo(io / "saida");
    e.erros = le_arquivo(io / "erros");
    return e;
}

}  // namespace

Execucao executa_sislin(const std::optional<std::string>& a7, const std::optional<std::string>& b7,
                        const std::string& entrada, int limite_segundos, Saida saida) {
    const fs::path dir = pasta_temporaria("sislin-dialogo-XXXXXX");
    const fs::path trabalho = dir / "trabalho";
    fs::create_directory(trabalho);
    if (a7) grava(trabalho / "a7.txt", *a7);
    if (b7) grava(trabalho / "b7.txt", *b7);
    Execucao e = corre(comando_sislin(), trabalho, dir, entrada, saida, limite_segundos);
    fs::remove_all(dir);
    return e;
}

std::vector<std::string> palavras(const std::string& linha) {
    std::vector<std::string> r;
    bool aspas = false;
    bool palavra = false;
    for (const char c : linha) {
        if (c == '\'') {
            aspas = !aspas;
            if (!palavra) r.emplace_back();
            palavra = true;
        } else if (c == ' ' && !aspas) {
            palavra = false;
        } else {
            if (!palavra) r.emplace_back();
            palavra = true;
            r.back() += c;
        }
    }
    return r;
}

std::vector<std::string> linhas_de(const std::string& texto) {
    std::vector<std::string> r;
    std::istringstream in(texto);
    for (std::string l; std::getline(in, l);) r.push_back(l);
    return r;
}

std::vector<std::string> ExecucaoRegistrada::linhas() const {
    return linhas_de(registro);
}

ExecucaoRegistrada executa_registrando(const std::optional<std::string>& a7,
                                       const std::optional<std::string>& b7,
                                       const std::string& entrada, Saida saida, int sinal,
                                       std::size_t linhas_antes) {
    const fs::path dir = pasta_temporaria("sislin-registro-XXXXXX");
    const fs::path trabalho = dir / "trabalho";
    fs::create_directory(trabalho);
    if (a7) grava(trabalho / "a7.txt", *a7);
    if (b7) grava(trabalho / "b7.txt", *b7);
    setenv("SISLIN_REGISTRO", "registro.jsonl", 1);
    ExecucaoRegistrada r;
    r.execucao = corre(comando_sislin(), trabalho, dir, entrada, saida, 60,
                       {sinal, trabalho / "registro.jsonl", linhas_antes});
    unsetenv("SISLIN_REGISTRO");
    r.registro = le_arquivo(trabalho / "registro.jsonl");
    fs::remove_all(dir);
    return r;
}

Execucao executa_comando(std::vector<std::string> comando, const std::string& trabalho,
                         const std::string& entrada, Saida saida, int limite_segundos) {
    const fs::path io = pasta_temporaria("sislin-io-XXXXXX");
    Execucao e = corre(std::move(comando), trabalho, io, entrada, saida, limite_segundos);
    fs::remove_all(io);
    return e;
}

Execucao executa_na_pasta(const std::string& trabalho, const std::string& entrada, Saida saida,
                          int limite_segundos) {
    return executa_comando(comando_sislin(), trabalho, entrada, saida, limite_segundos);
}

Corrida executa_aula(const std::vector<std::string>& palavras,
                     const std::map<std::string, std::string>& arquivos, const std::string& entrada,
                     bool registro, const fs::path* pasta) {
    const fs::path dir = pasta != nullptr ? *pasta : pasta_temporaria("sislin-aula-XXXXXX");
    for (const auto& [nome, conteudo] : arquivos) grava(dir / nome, conteudo);
    std::vector<std::string> comando = comando_sislin_aula();
    comando.insert(comando.end(), palavras.begin(), palavras.end());
    if (registro) setenv("SISLIN_REGISTRO", "registro.jsonl", 1);
    Corrida c;
    c.e = executa_comando(comando, dir.string(), entrada);
    if (registro) unsetenv("SISLIN_REGISTRO");
    for (const auto& f : fs::directory_iterator(dir))
        if (f.is_regular_file()) c.arquivos[f.path().filename().string()] = le_arquivo(f.path());
    if (pasta == nullptr) fs::remove_all(dir);
    return c;
}

std::optional<std::vector<std::vector<std::string>>> csv_pelo_python(const std::string& csv) {
    if (std::system("python3 -c '' >/dev/null 2>&1") != 0) return std::nullopt;
    const fs::path dir = pasta_temporaria("sislin-csv-py-XXXXXX");
    grava(dir / "t.csv", csv);
    // Cells end with 0x1F, rows with 0x1E.
    const Execucao py = executa_comando(
        {"python3", "-c",
         "import csv, sys\n"
         "with open('t.csv', newline='', encoding='utf-8') as f:\n"
         "    for l in csv.reader(f):\n"
         "        sys.stdout.buffer.write(''.join(c + '\\x1f' for c in l).encode() + b'\\x1e')\n"},
        dir.string(), "");
    fs::remove_all(dir);
    if (py.status != 0) return std::vector<std::vector<std::string>>{{"python3: " + py.erros}};
    std::vector<std::vector<std::string>> r(1);
    std::string celula;
    for (const char c : py.saida) {
        if (c == '\x1f') {
            r.back().push_back(std::exchange(celula, ""));
        } else if (c == '\x1e') {
            r.emplace_back();
        } else {
            celula += c;
        }
    }
    r.pop_back();
    return r;
}

void espera(const Execucao& e, const std::string& saida, int status) {
    EXPECT_FALSE(e.expirou);
    EXPECT_EQ(e.saida, saida);
    EXPECT_EQ(e.status, status) << e.erros;
}

}  // namespace sislin
