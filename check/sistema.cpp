#include "sistema.h"

#include "ascii.h"
#include "rutas.h"
#include "version.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace cotarel {
namespace {

// Written by the handlers, read by every worker thread.
std::atomic<int> senalRecibida = 0;
static_assert(std::atomic<int>::is_always_lock_free);

#ifdef _WIN32
constexpr bool kNombresSinMayusculas = true;
#else
constexpr bool kNombresSinMayusculas = false;
#endif

char Plegar(char c)
{
    return kNombresSinMayusculas ? motor::MinusculaAscii(c) : c;
}

} // namespace

bool SenalRecibida()
{
    return senalRecibida != 0;
}

bool CoincideComodin(std::string_view patron, std::string_view nombre)
{
    // Greedy matching with one point to go back to: the last "*" seen.
    std::size_t p = 0, n = 0, estrella = std::string_view::npos, desde = 0;
    while (n < nombre.size()) {
        if (p < patron.size() && (patron[p] == '?' || Plegar(patron[p]) == Plegar(nombre[n]))) {
            ++p;
            ++n;
        } else if (p < patron.size() && patron[p] == '*') {
            estrella = p++;
            desde = n;
        } else if (estrella != std::string_view::npos) {
            p = estrella + 1;
            n = ++desde;
        } else {
            return false;
        }
    }
    while (p < patron.size() && patron[p] == '*') {
        ++p;
    }
    return p == patron.size();
}

#ifdef _WIN32

namespace {

BOOL WINAPI AlPulsarCtrlC(DWORD)
{
    senalRecibida = SIGINT;
    return TRUE; // the run ends at its next block and removes its new file
}

bool TieneComodin(std::wstring_view texto)
{
    return texto.find_first_of(L"*?") != std::wstring_view::npos;
}

bool EsSeparador(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The names in the folder (ending in a separator, or empty for the current
// one) that match the pattern as the system matches it: "?" one character,
// case folded as the file system folds it, short 8.3 names included.
std::vector<std::wstring> Coincidencias(
    const std::wstring &carpeta, const std::wstring &patron, bool soloCarpetas)
{
    std::vector<std::wstring> nombres;
    WIN32_FIND_DATAW datos {};
    HANDLE busqueda = FindFirstFileExW((carpeta + patron).c_str(), FindExInfoBasic, &datos,
        soloCarpetas ? FindExSearchLimitToDirectories : FindExSearchNameMatch, nullptr, 0);
    if (busqueda == INVALID_HANDLE_VALUE) {
        return nombres;
    }
    do {
        const std::wstring_view nombre = datos.cFileName;
        const bool esCarpeta = datos.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (nombre != L"." && nombre != L".." && (esCarpeta || !soloCarpetas)) {
            nombres.emplace_back(nombre);
        }
    } while (FindNextFileW(busqueda, &datos));
    FindClose(busqueda);
    return nombres;
}

// The paths that match a name whose parts, folders included, may hold "*"
// and "?"; each part is expanded by the system. Nothing when none does.
std::vector<std::string> Expandir(const std::wstring &argumento)
{
    std::size_t inicio = 0; // what comes before the first part: a drive, a share, the root
    if (argumento.size() >= 2 && argumento[1] == L':') {
        inicio = 2;
    }
    while (inicio < argumento.size() && EsSeparador(argumento[inicio])) {
        ++inicio;
    }
    std::vector<std::wstring> caminos { argumento.substr(0, inicio) };
    while (inicio < argumento.size()) {
        std::size_t fin = inicio;
        while (fin < argumento.size() && !EsSeparador(argumento[fin])) {
            ++fin;
        }
        const std::wstring parte = argumento.substr(inicio, fin - inicio);
        const bool ultima = fin >= argumento.size();
        std::vector<std::wstring> siguientes;
        for (const auto &camino : caminos) {
            if (!TieneComodin(parte)) {
                siguientes.push_back(camino + parte);
                continue;
            }
            for (const auto &nombre : Coincidencias(camino, parte, !ultima)) {
                siguientes.push_back(camino + nombre);
            }
        }
        if (!ultima) {
            for (auto &camino : siguientes) {
                camino += argumento[fin];
            }
        }
        caminos = std::move(siguientes);
        inicio = ultima ? fin : fin + 1;
    }
    std::vector<std::string> encontrados;
    for (const auto &camino : caminos) {
        encontrados.push_back(motor::TextoUtf8(camino));
    }
    std::sort(encontrados.begin(), encontrados.end());
    return encontrados;
}

// A console takes text, not bytes: each whole line goes out in one
// WriteConsoleW, so every character arrives whole, whatever the code page.
class SalidaConsola final : public std::streambuf
{
public:
    explicit SalidaConsola(HANDLE consola)
        : consola_(consola)
    {
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        pendiente_.push_back(traits_type::to_char_type(c));
        if (c == '\n') {
            return Escribir(pendiente_.size()) ? c : traits_type::eof();
        }
        return c;
    }
    std::streamsize xsputn(const char *texto, std::streamsize largo) override
    {
        for (std::streamsize i = 0; i < largo; ++i) {
            if (traits_type::eq_int_type(
                    overflow(traits_type::to_int_type(texto[i])), traits_type::eof())) {
                return i;
            }
        }
        return largo;
    }
    // A flush in the middle of a line (standard error flushes at every
    // insertion) waits for the line's end; every text of the program ends in one.
    int sync() override { return Escribir(pendiente_.rfind('\n') + 1) ? 0 : -1; }

private:
    bool Escribir(std::size_t largo)
    {
        if (largo == 0) {
            return true;
        }
        const std::wstring texto = motor::TextoAncho(std::string_view(pendiente_).substr(0, largo));
        pendiente_.erase(0, largo);
        DWORD escritos = 0;
        return WriteConsoleW(
                   consola_, texto.data(), static_cast<DWORD>(texto.size()), &escritos, nullptr)
            && escritos == texto.size();
    }

    HANDLE consola_;
    std::string pendiente_;
};

// Standard output or error, when it is a console, written through the console.
void HablarConConsola(std::ostream &flujo, DWORD cual)
{
    HANDLE manejador = GetStdHandle(cual);
    DWORD modo = 0;
    if (manejador != INVALID_HANDLE_VALUE && manejador != nullptr
        && GetConsoleMode(manejador, &modo)) {
        // Never destroyed: the streams are flushed at exit, after every static.
        flujo.rdbuf(new SalidaConsola(manejador));
    }
}

} // namespace

void InstalarSenales()
{
    SetConsoleCtrlHandler(AlPulsarCtrlC, TRUE);
}

bool EsEnlace(const std::filesystem::directory_entry &entrada)
{
    const DWORD atributos = GetFileAttributesW(entrada.path().c_str());
    if (atributos == INVALID_FILE_ATTRIBUTES || !(atributos & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return false;
    }
    WIN32_FIND_DATAW datos {};
    HANDLE busqueda = FindFirstFileExW(
        entrada.path().c_str(), FindExInfoBasic, &datos, FindExSearchNameMatch, nullptr, 0);
    if (busqueda == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(busqueda);
    return datos.dwReserved0 == IO_REPARSE_TAG_SYMLINK
        || datos.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT;
}

[[noreturn]] void MorirPorLaSenal()
{
    std::cout.flush();
    std::_Exit(static_cast<int>(STATUS_CONTROL_C_EXIT));
}

void DesviarSenalesDeEsteHilo()
{
}

// A read that waits on a pipe is not broken here; the run stops after it.
void Despertar(std::jthread &)
{
}

Argumentos LeerArgumentos(int argc, const void *argv)
{
    const auto *const *anchos = static_cast<const wchar_t *const *>(argv);
    Argumentos argumentos;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argumento = anchos[i];
        if (!TieneComodin(argumento)) {
            argumentos.valores.push_back(motor::TextoUtf8(argumento));
            continue;
        }
        auto encontrados = Expandir(argumento);
        if (encontrados.empty()) {
            argumentos.sinCoincidencias.push_back(motor::TextoUtf8(argumento));
        }
        argumentos.valores.insert(argumentos.valores.end(), encontrados.begin(), encontrados.end());
    }
    return argumentos;
}

// The output is the same bytes as on other systems: UTF-8, lines ending in a
// line feed alone (JSON Lines), which the console shows as it should.
std::filesystem::path FormaDeComparar(const std::filesystem::path &ruta)
{
    std::wstring nombre = ruta.native();
    CharLowerBuffW(nombre.data(), static_cast<DWORD>(nombre.size()));
    return nombre;
}

// Redirected, the output is UTF-8 bytes with line feeds, as on other systems.
void PrepararConsola()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    HablarConConsola(std::cout, STD_OUTPUT_HANDLE);
    HablarConConsola(std::cerr, STD_ERROR_HANDLE);
}

// Never closed: the system lets it go when the process ends.
void MarcarEnUso()
{
    CreateMutexW(nullptr, FALSE, L"" COTAREL_MUTEX);
}

#else

namespace {

// A run that waits for a pipe when the signal comes would wait for ever: an
// alarm every second interrupts the wait (no SA_RESTART), and the failed read
// ends the run.
// alarm() may set errno; the interrupted code must find it as it was.
extern "C" void AlDespertar(int)
{
    const int error = errno;
    alarm(1);
    errno = error;
}

extern "C" void AlRecibirSenal(int senal)
{
    const int error = errno;
    senalRecibida = senal;
    alarm(1);
    errno = error;
}

} // namespace

void InstalarSenales()
{
    std::signal(SIGPIPE, SIG_IGN);
    // A write past the file-size limit fails as a write, and the run says so.
    std::signal(SIGXFSZ, SIG_IGN);
    struct sigaction accion
    {
    };
    sigemptyset(&accion.sa_mask);
    accion.sa_handler = AlRecibirSenal;
    for (const int senal : { SIGINT, SIGTERM, SIGHUP }) {
        sigaction(senal, &accion, nullptr);
    }
    accion.sa_handler = AlDespertar;
    sigaction(SIGALRM, &accion, nullptr);
}

[[noreturn]] void MorirPorLaSenal()
{
    const int senal = senalRecibida;
    std::cout.flush();
    std::signal(senal, SIG_DFL);
    sigset_t esta;
    sigemptyset(&esta);
    sigaddset(&esta, senal);
    pthread_sigmask(SIG_UNBLOCK, &esta, nullptr);
    std::raise(senal);
    std::_Exit(128 + senal);
}

void DesviarSenalesDeEsteHilo()
{
    sigset_t senales;
    sigemptyset(&senales);
    for (const int senal : { SIGINT, SIGTERM, SIGHUP, SIGALRM }) {
        sigaddset(&senales, senal);
    }
    pthread_sigmask(SIG_BLOCK, &senales, nullptr);
}

void Despertar(std::jthread &hilo)
{
    pthread_kill(hilo.native_handle(), SIGALRM);
}

Argumentos LeerArgumentos(int argc, const void *argv)
{
    const auto *const *estrechos = static_cast<const char *const *>(argv);
    return { std::vector<std::string>(estrechos + 1, estrechos + argc), {} };
}

void PrepararConsola()
{
}

void MarcarEnUso()
{
}

bool EsEnlace(const std::filesystem::directory_entry &entrada)
{
    std::error_code error;
    return entrada.is_symlink(error);
}

std::filesystem::path FormaDeComparar(const std::filesystem::path &ruta)
{
    return ruta;
}

#endif

} // namespace cotarel
