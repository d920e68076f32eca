// The batch: each file checked as a run of the desktop program checks it, on
// one thread or on several, its report written in the order of the files.
#pragma once

#include "lista.h"
#include "opciones.h"

#include <ostream>
#include <vector>

namespace cotarel {

// Checks the files with as many workers as the options ask for and writes
// their reports to the two streams; returns the batch's exit status. A stop
// request (Ctrl+C) ends the process as the signal would, each log kept as it
// was before its run.
int ComprobarTodos(const std::vector<Entrada> &ficheros, const Opciones &opciones,
    std::ostream &salida, std::ostream &errores);

} // namespace cotarel
