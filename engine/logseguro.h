// The error log, written so that no run ever destroys what stands at the log
// path: the blocks go to a new file beside it, which replaces the old log in
// one rename only when the run ends with errors. A clean run removes the entry
// at the log path (never what a link there points to); a run that fails or is
// interrupted removes its own file and leaves the old log as it was.
#pragma once

#include "ficheros.h"
#include "mensajes.h"

#include <optional>
#include <string>
#include <string_view>

namespace modMain {

class LogSeguro
{
public:
    // Refuses a log path that is empty, names the input itself, or holds
    // something other than a file or a link (a folder, a device, a FIFO);
    // otherwise creates the new file. False when the run cannot write its log.
    bool Crear(const std::string &entrada, const std::string &salida);
    ~LogSeguro() { Descartar(); }

    void EscribirLinea(std::string_view texto) { escritor_->EscribirLinea(texto); }
    bool FalloEscritura() const { return escritor_->FalloEscritura(); }

    // Puts the run's log in place: over the log path when it holds errors,
    // or removes the log path's entry after a clean run. The failure, if any.
    std::optional<Fallo> Confirmar(bool conErrores);
    // Closes and removes the new file; the log path is left as it was.
    void Descartar();

private:
    std::string salida_;
    std::string temporal_; // empty once renamed or removed
    std::optional<EscritorLog> escritor_;
};

} // namespace modMain
