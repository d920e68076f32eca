#include "sistema.h"

#include "rutas.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
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

volatile std::sig_atomic_t senalRecibida = 0;

#ifdef _WIN32
constexpr bool kNombresSinMayusculas = true;
#else
constexpr bool kNombresSinMayusculas = false;
#endif

char Plegar(char c)
{
    return kNombresSinMayusculas && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
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

bool TieneComodin(std::string_view texto)
{
    return texto.find_first_of("*?") != std::string_view::npos;
}

// The files of the argument's folder whose names match its last part, in the
// order of their paths; the argument itself when none does.
std::vector<std::string> Expandir(const std::string &argumento)
{
    const std::filesystem::path ruta = modMain::RutaDeSistema(argumento);
    const std::string patron = modMain::TextoDeRuta(ruta.filename());
    if (!TieneComodin(patron) || TieneComodin(modMain::TextoDeRuta(ruta.parent_path()))) {
        return { argumento };
    }
    std::vector<std::string> encontrados;
    std::error_code error;
    const auto carpeta = ruta.parent_path();
    for (const auto &entrada : std::filesystem::directory_iterator(
             carpeta.empty() ? std::filesystem::path(".") : carpeta, error)) {
        const std::string nombre = modMain::TextoDeRuta(entrada.path().filename());
        if (CoincideComodin(patron, nombre)) {
            encontrados.push_back(modMain::TextoDeRuta(carpeta / entrada.path().filename()));
        }
    }
    std::sort(encontrados.begin(), encontrados.end());
    return encontrados.empty() ? std::vector<std::string> { argumento } : encontrados;
}

} // namespace

void InstalarSenales()
{
    SetConsoleCtrlHandler(AlPulsarCtrlC, TRUE);
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

std::vector<std::string> Argumentos(int argc, const void *argv)
{
    const auto *const *anchos = static_cast<const wchar_t *const *>(argv);
    std::vector<std::string> argumentos;
    for (int i = 1; i < argc; ++i) {
        for (auto &nombre : Expandir(modMain::TextoDeRuta(std::filesystem::path(anchos[i])))) {
            argumentos.push_back(std::move(nombre));
        }
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

void PrepararConsola()
{
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

#else

namespace {

// A run that waits for a pipe when the signal comes would wait for ever: an
// alarm every second interrupts the wait (no SA_RESTART), and the failed read
// ends the run.
extern "C" void AlDespertar(int)
{
    alarm(1);
}

extern "C" void AlRecibirSenal(int senal)
{
    senalRecibida = senal;
    alarm(1);
}

} // namespace

void InstalarSenales()
{
    std::signal(SIGPIPE, SIG_IGN);
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

std::vector<std::string> Argumentos(int argc, const void *argv)
{
    const auto *const *estrechos = static_cast<const char *const *>(argv);
    return std::vector<std::string>(estrechos + 1, estrechos + argc);
}

void PrepararConsola()
{
}

std::filesystem::path FormaDeComparar(const std::filesystem::path &ruta)
{
    return ruta;
}

#endif

} // namespace cotarel
