// The core of a run: one input path, one log path and the windows' seam in,
// the whole outcome out as a value. Nothing here touches the run state that
// the legacy layer (modMain.h) keeps for the windows.
#pragma once

#include "interfaz.h"
#include "resultado.h"
#include "tipos.h"

#include <optional>
#include <string>

namespace motor {

// A whole run: busy pointer, one read of the input that decides its kind and
// goes on into the checker, the log written safely, the repaint at the end.
Resultado Procesar(const std::string &entrada, const std::string &salida, Interfaz &interfaz);

// One checker of a known kind on the file, without classifying it.
Resultado Comprobar(
    TipoArchivo tipo, const std::string &entrada, const std::string &salida, Interfaz &interfaz);

// The kind of a file from its first bytes, as a run decides it; nothing when
// it cannot be opened or read.
std::optional<TipoArchivo> ClasificarFichero(const std::string &ruta);

} // namespace motor
