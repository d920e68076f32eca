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

// The command line's arguments as UTF-8 text; on Windows the names with "*"
// or "?" expanded, in the order of their paths, as a Unix shell would.
std::vector<std::string> Argumentos(int argc, const void *argv);

// On Windows the console is told that the output is UTF-8, and the output
// keeps its line feeds as they are.
void PrepararConsola();

// The path as the system compares paths: on Windows without case, so that
// MAYO.log and mayo.log are one file.
std::filesystem::path FormaDeComparar(const std::filesystem::path &ruta);

// Whether "*" and "?" in the name match the text, letters matched without
// case where file names are (Windows).
bool CoincideComodin(std::string_view patron, std::string_view nombre);

} // namespace cotarel
