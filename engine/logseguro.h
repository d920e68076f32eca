// The error log, written so that no run ever destroys what stands at the log
// path: the blocks go to a new file beside it, created with the first block,
// which replaces the old log in one rename only when the run ends with errors. A clean run removes
// the entry at the log path (never what a link there points to); a run that fails or is interrupted
// removes its own file and leaves the old log as it was.
#pragma once

#include "ficheros.h"
#include "mensajes.h"

#include <optional>
#include <string>
#include <string_view>

namespace motor {

// Whether a file or a link stands at the log path: what a run replaces or
// removes. Anything else there (a folder, a device) a run refuses.
bool HayLogQueReemplazar(const std::string &salida);

class LogSeguro
{
public:
    // Holds the log's folder as its path resolves now, before the input is
    // opened or read: whatever happens to the path while the input is read
    // (a slow pipe, a FIFO), every later step goes to this folder.
    void AbrirCarpeta(const std::string &salida) { carpetaAbierta_ = carpeta_.Abrir(salida); }
    // Refuses a log path that is empty, names the input itself, holds
    // something other than a file or a link (a folder, a device, a FIFO), or
    // lies in a folder that could not be held or where no file can be
    // created. False when the run cannot write its log.
    bool Crear(const std::string &entrada, const std::string &salida);
    ~LogSeguro() { Descartar(); }

    void EscribirLinea(std::string_view texto)
    {
        if (escritor_ || CrearTemporal()) {
            escritor_->EscribirLinea(texto);
        }
    }
    // The new file could not be created.
    bool FalloCreacion() const { return falloCreacion_; }
    // It could not be created, or a write to it failed.
    bool FalloEscritura() const
    {
        return falloCreacion_ || (escritor_ && escritor_->FalloEscritura());
    }

    // Puts the run's log in place: over the log path when it holds errors,
    // or removes the log path's entry after a clean run. The failure, if any.
    std::optional<Fallo> Confirmar(bool conErrores);
    // Closes and removes the new file; the log path is left as it was.
    void Descartar();

    // The log's folder, held open from the start of the run to its end: the
    // new file is created, renamed and removed in that folder as it resolved
    // at the start, so that a folder moved and a link put in its place later
    // changes nothing elsewhere.
    class Carpeta
    {
    public:
        Carpeta() = default;
        ~Carpeta() { Cerrar(); }
        Carpeta(const Carpeta &) = delete;
        Carpeta &operator=(const Carpeta &) = delete;
        bool Abrir(const std::string &salida);
        void Cerrar();
        bool AdmiteFicheros() const;
        // Whether what stands at the name, if anything, may be replaced or
        // removed: a file that is not the input itself, or a link.
        bool SePuedeReemplazar(const std::string &nombre, const std::string &entrada) const;
        Fichero CrearNuevo(const std::string &nombre) const;
        // Who may read a regular file: its permission bits and its group.
        struct Permisos
        {
            unsigned modo = 0;
            unsigned grupo = 0;
        };
        // Nothing when no regular file, or a link, stands at the name.
        std::optional<Permisos> FicheroNormal(const std::string &nombre) const;
        void PonerPermisos(const std::string &nombre, const Permisos &permisos) const;
        bool Renombrar(const std::string &desde, const std::string &hasta) const;
        // Removes the entry itself, never what a link there points to; no
        // entry is no failure.
        bool Borrar(const std::string &nombre) const;

    private:
#ifdef _WIN32
        std::string ruta_;
        void *manejador_ = nullptr;
#else
        int descriptor_ = -1;
#endif
    };

private:
    bool CrearTemporal();

    bool falloCreacion_ = false;
    Carpeta carpeta_;
    bool carpetaAbierta_ = false;
    std::string nombreLog_; // the log's own name in its folder
    std::string temporal_; // the new file's name in the folder; empty once renamed or removed
    std::optional<EscritorLog> escritor_;
};

} // namespace motor
