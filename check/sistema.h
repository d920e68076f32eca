// What cotarel-check asks of the system it runs on: the stop signals, the
// arguments as UTF-8 text, and the console.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace cotarel {

// Ctrl+C and the other stop requests (SIGINT, SIGTERM and SIGHUP; on Windows
// the console's Ctrl+C, Ctrl+Break and close) only raise a flag, which the
// run checks at every block. A closed standard output is a failed write, not
// a death.
void InstalarSenales();
bool SenalRecibida();
// Ends the process the way the stop request would have ended it, so that the
// calling shell sees an interrupted command.
[[noreturn]] void MorirPorLaSenal();
// The stop requests go to the other threads, not to the calling one.
void DesviarSenalesDeEsteHilo();
// Breaks a wait of the thread on a pipe, so that its run sees the stop.
void Despertar(std::jthread &hilo);

// The command line's arguments as UTF-8 text. On Windows the names with "*"
// or "?" are expanded by the system, folder parts included, the matches of
// each in the order of their paths; a pattern that matches nothing is kept
// apart.
struct Argumentos
{
    std::vector<std::string> valores;
    std::vector<std::string> sinCoincidencias;
};
Argumentos LeerArgumentos(int argc, const void *argv);

// On Windows a console gets each line whole as text (WriteConsoleW); a
// redirected output gets UTF-8 bytes with line feeds, as on other systems.
void PrepararConsola();

// On Windows the program is marked as running for as long as it runs (a
// named mutex the installer looks for); nothing elsewhere.
void MarcarEnUso();

// The path as the system compares paths: on Windows without case, so that
// MAYO.log and mayo.log are one file.
std::filesystem::path FormaDeComparar(const std::filesystem::path &ruta);

// Whether a folder's entry is a symbolic link; on Windows also a junction
// (not other reparse points, such as files kept in the cloud).
bool EsEnlace(const std::filesystem::directory_entry &entrada);

// Whether "*" and "?" in the name match the text, letters matched without
// case where file names are (Windows).
bool CoincideComodin(std::string_view patron, std::string_view nombre);

} // namespace cotarel
