// Platform services (see plataforma.h): POSIX (Linux, macOS, the BSDs) and Windows.
#include "plataforma.h"

#include <cstdio>
#include <ctime>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#if !defined(__wasi__)  // WebAssembly has no signals (its signal.h refuses to be included)
#include <csignal>
#endif
#if defined(__APPLE__)
#include <malloc/malloc.h>
#include <sys/sysctl.h>
#elif defined(__GLIBC__)
#include <malloc.h>
#endif
#endif

#if defined(__SANITIZE_ADDRESS__)
// Part of the sanitizer runtime's allocator interface.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace sislin {

#if defined(_WIN32)

int abre_leitura_arquivo(const char* path) {
    const int fd = ::_open(path, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) return -1;
    struct _stat64 st;
    if (::_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFDIR) != 0) {
        ::_close(fd);
        return -1;
    }
    return fd;
}

long long le_bloco_arquivo(int arquivo, char* buf, std::size_t n) {
    const unsigned pedido = n > (1u << 30) ? (1u << 30) : static_cast<unsigned>(n);
    return ::_read(arquivo, buf, pedido);
}

void fecha_arquivo(int arquivo) {
    if (arquivo >= 0) ::_close(arquivo);
}

int abre_escrita_arquivo(const char* path) {
    const int fd = ::_open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE);
    return fd < 0 ? -1 : fd;
}

bool escreve_arquivo(int arquivo, const char* p, std::size_t n) {
    while (n > 0) {
        const unsigned pedido = n > (1u << 30) ? (1u << 30) : static_cast<unsigned>(n);
        const int r = ::_write(arquivo, p, pedido);
        if (r <= 0) return false;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

bool trunca_arquivo(int arquivo, long long tamanho) {
    return ::_chsize_s(arquivo, tamanho) == 0 && ::_lseeki64(arquivo, tamanho, SEEK_SET) == tamanho;
}

int abre_acrescimo_arquivo(const char* path, long long& tamanho) {
    const int fd = ::_open(path, _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE);
    if (fd < 0) return -1;
    tamanho = ::_lseeki64(fd, 0, SEEK_END);
    if (tamanho < 0) {
        ::_close(fd);
        return -1;
    }
    return fd;
}

bool hora_utc(char* buf, std::size_t n) {
    const std::time_t agora = std::time(nullptr);
    std::tm partes{};
    return agora != static_cast<std::time_t>(-1) && ::gmtime_s(&partes, &agora) == 0 &&
           std::strftime(buf, n, "%Y-%m-%dT%H:%M:%SZ", &partes) > 0;
}

// The console's Ctrl+C ends the process as it always did.
void ao_sinal_de_fim(void (*)(int)) {}
void bloqueia_sinais_de_fim() {}
void libera_sinais_de_fim() {}

bool existe_caminho(const char* path) {
    struct _stat64 st;
    return ::_stat64(path, &st) == 0;
}

// The C library's remove takes only files here; a folder goes with RemoveDirectory.
bool apaga_caminho(const char* path) {
    return std::remove(path) == 0 || ::RemoveDirectoryA(path) != 0;
}

void prepara_console(char* buffer, std::size_t tamanho) {
    // Redirected input is read byte for byte, as on the other platforms. Typed input keeps the
    // console's text mode, so that Enter is one line end and Ctrl+Z ends the input, as Enter
    // and Ctrl+D do at a terminal elsewhere.
    if (!::_isatty(::_fileno(stdin))) ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    std::setvbuf(stdout, buffer, _IOFBF, tamanho);
}

// The stream lock is taken per call (the C runtime MinGW-w64 links by default has no
// lock-free fwrite); the program writes in few, large pieces.
bool escreve_console(const char* p, std::size_t n) {
    return std::fwrite(p, 1, n, stdout) == n;
}

int le_console() {
    return std::getc(stdin);
}

std::size_t memoria_fisica() {
    MEMORYSTATUSEX estado;
    estado.dwLength = sizeof estado;
    if (!::GlobalMemoryStatusEx(&estado)) return 0;
    return static_cast<std::size_t>(estado.ullTotalPhys);
}

std::size_t memoria_em_uso() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    PROCESS_MEMORY_COUNTERS_EX contadores;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&contadores),
                                sizeof contadores))
        return 0;
    return static_cast<std::size_t>(contadores.PrivateUsage);
#endif
}

#else

int abre_leitura_arquivo(const char* path) {
    int fd = -1;
    do {
        // open takes its mode as a variadic argument; none is passed here.
        fd = ::open(path, O_RDONLY | O_CLOEXEC);  // NOLINT(cppcoreguidelines-pro-type-vararg)
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

long long le_bloco_arquivo(int arquivo, char* buf, std::size_t n) {
    for (;;) {
        const ssize_t r = ::read(arquivo, buf, n);
        if (r >= 0 || errno != EINTR) return r;
    }
}

void fecha_arquivo(int arquivo) {
    if (arquivo >= 0) ::close(arquivo);
}

int abre_escrita_arquivo(const char* path) {
    int fd = -1;
    do {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): the mode of a created file
        fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? -1 : fd;
}

bool escreve_arquivo(int arquivo, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t r = ::write(arquivo, p, n);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

bool trunca_arquivo(int arquivo, long long tamanho) {
    return ::ftruncate(arquivo, static_cast<off_t>(tamanho)) == 0 &&
           ::lseek(arquivo, static_cast<off_t>(tamanho), SEEK_SET) == static_cast<off_t>(tamanho);
}

int abre_acrescimo_arquivo(const char* path, long long& tamanho) {
    int fd = -1;
    do {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): the mode of a created file
        fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    tamanho = static_cast<long long>(st.st_size);
    return fd;
}

bool hora_utc(char* buf, std::size_t n) {
    const std::time_t agora = std::time(nullptr);
    std::tm partes{};
    return agora != static_cast<std::time_t>(-1) && ::gmtime_r(&agora, &partes) != nullptr &&
           std::strftime(buf, n, "%Y-%m-%dT%H:%M:%SZ", &partes) > 0;
}

#if defined(__wasi__)
// WebAssembly has no signals: the host ends the module.
void ao_sinal_de_fim(void (*)(int)) {}
void bloqueia_sinais_de_fim() {}
void libera_sinais_de_fim() {}
#else
namespace {

constexpr int kSinaisDeFim[] = {SIGTERM, SIGINT, SIGHUP};
void (*tratador_de_fim)(int) = nullptr;

sigset_t sinais_de_fim() {
    sigset_t s;
    sigemptyset(&s);
    for (const int sinal : kSinaisDeFim) sigaddset(&s, sinal);
    return s;
}

extern "C" void ao_sinal(int sinal) {
    if (tratador_de_fim != nullptr) tratador_de_fim(sinal);
    ::_exit(128 + sinal);
}

}  // namespace

void ao_sinal_de_fim(void (*tratador)(int)) {
    tratador_de_fim = tratador;
    struct sigaction acao {};
    acao.sa_handler = ao_sinal;      // NOLINT(cppcoreguidelines-pro-type-union-access)
    acao.sa_mask = sinais_de_fim();  // one end at a time
    for (const int sinal : kSinaisDeFim) ::sigaction(sinal, &acao, nullptr);
}

void bloqueia_sinais_de_fim() {
    const sigset_t s = sinais_de_fim();
    ::sigprocmask(SIG_BLOCK, &s, nullptr);
}

void libera_sinais_de_fim() {
    const sigset_t s = sinais_de_fim();
    ::sigprocmask(SIG_UNBLOCK, &s, nullptr);
}
#endif

bool existe_caminho(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0;
}

// The C library's remove takes a file or an empty folder alike.
bool apaga_caminho(const char* path) {
    return std::remove(path) == 0;
}

void prepara_console(char* buffer, std::size_t tamanho) {
    std::setvbuf(stdout, buffer, _IOFBF, tamanho);
}

#if defined(__GLIBC__)
bool escreve_console(const char* p, std::size_t n) {
    return ::fwrite_unlocked(p, 1, n, stdout) == n;
}
#else
bool escreve_console(const char* p, std::size_t n) {
    return std::fwrite(p, 1, n, stdout) == n;
}
#endif

int le_console() {
    return ::getc_unlocked(stdin);
}

std::size_t memoria_fisica() {
#if defined(__APPLE__)
    unsigned long long bytes = 0;
    std::size_t tamanho = sizeof bytes;
    if (::sysctlbyname("hw.memsize", &bytes, &tamanho, nullptr, 0) != 0) return 0;
    return static_cast<std::size_t>(bytes);
#elif defined(__wasi__) && defined(SISLIN_MEMORIA_MAXIMA)
    // The module's memory cannot grow past the maximum it was linked with (--max-memory), which
    // the build names here too.
    return static_cast<std::size_t>(SISLIN_MEMORIA_MAXIMA);
#else
    const long paginas = ::sysconf(_SC_PHYS_PAGES);
    const long tamanho = ::sysconf(_SC_PAGESIZE);
    if (paginas <= 0 || tamanho <= 0) return 0;
    return static_cast<std::size_t>(paginas) * static_cast<std::size_t>(tamanho);
#endif
}

std::size_t memoria_em_uso() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#elif defined(__APPLE__)
    return ::mstats().bytes_used;
#elif defined(__GLIBC__)
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
#elif defined(__wasi__)
    // The linear memory only grows: its size bounds what the allocator holds.
    return __builtin_wasm_memory_size(0) * 65536;
#else
    return 0;
#endif
}

#endif

// ---- Alike on every platform.

void devolve_console(int c) {
    if (c != EOF) std::ungetc(c, stdin);
}

bool descarrega_console() {
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

void escreve_erro_console(const char* p, std::size_t n) {
    std::fwrite(p, 1, n, stderr);
    std::fflush(stderr);
}

}  // namespace sislin
