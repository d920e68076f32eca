// Starts a program as a script would, on Linux or Windows alike: arguments
// passed whole, standard input from a file, both outputs captured.
#pragma once

#include "ayuda.h"

#include <string>
#include <vector>
#ifndef _WIN32
#include <spawn.h>
#endif

namespace prueba {

struct Ejecucion
{
    int estado; // the exit status; -1 when ended by a signal
    std::string salida;
    std::string errores;
};

struct Redirecciones
{
    std::string entrada; // a file for standard input; empty: an empty input
    std::string salida; // a file for standard output; empty: captured
};

// The outputs are captured through files in the folder.
Ejecucion EjecutarPrograma(const std::string &programa, const std::vector<std::string> &argumentos,
    const CarpetaTemporal &carpeta, const Redirecciones &redirecciones = {});

#ifndef _WIN32
// Starts the program without waiting for it; its process, or -1.
pid_t Lanzar(const std::string &programa, const std::vector<std::string> &argumentos,
    const posix_spawn_file_actions_t *acciones = nullptr);
#endif

} // namespace prueba
