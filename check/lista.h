// The files a batch checks, in the order it reports them: those named, those
// listed by --desde, and with -r the files inside the folders among them.
#pragma once

#include "opciones.h"

#include <string>
#include <vector>

namespace cotarel {

// A file to check, or a list or folder that could not be read, reported in
// its place as a file not checked.
struct Entrada
{
    std::string ruta;
    std::string problema; // empty: a file to check
};

std::vector<Entrada> Ficheros(const Opciones &opciones);

} // namespace cotarel
