#include "logseguro.h"

#include "proceso.h"
#include "rutas.h"

#include <filesystem>
#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <system_error>

namespace modMain {
namespace {

namespace fs = std::filesystem;

// What a run may replace or remove at the log path: a file or a link.
bool Reemplazable(const fs::file_status &estado)
{
    return fs::is_regular_file(estado) || fs::is_symlink(estado);
}

// An existing entry at the log path may be replaced only when it is a file or
// a link; the input itself (a hard link, or the same name on a case-blind
// file system) is never replaced.
bool SePuedeReemplazar(const std::string &entrada, const std::string &salida)
{
    std::error_code error;
    const fs::path log = RutaDeSistema(salida);
    const fs::file_status estado = fs::symlink_status(log, error);
    if (!fs::exists(estado)) {
        return true;
    }
    return Reemplazable(estado) && !(fs::equivalent(RutaDeSistema(entrada), log, error) && !error);
}

// A hidden name in the log's folder, so that the rename stays on one file
// system: a short prefix and a random part, never longer than a name the file
// system takes, whatever the log's own name.
std::string NombreTemporal(const std::string &salida, unsigned long long numero)
{
    static constexpr char kCifras[] = "0123456789abcdef";
    std::string nombre = ".cotarel-";
    for (int cifra = 0; cifra < 16; ++cifra, numero >>= 4) {
        nombre += kCifras[numero & 0xF];
    }
    return TextoDeRuta(RutaDeSistema(salida).parent_path() / RutaDeSistema(nombre));
}

// A log that replaces an old file keeps who may read it (logs hold debtors'
// names): the old file's permission bits, and its group where the system
// allows. A link at the log path is no model.
void HeredarPermisos(const std::string &temporal, const std::string &salida)
{
#ifdef _WIN32
    (void)temporal;
    (void)salida;
#else
    struct stat viejo
    {
    };
    if (lstat(RutaDeSistema(salida).c_str(), &viejo) != 0 || !S_ISREG(viejo.st_mode)) {
        return;
    }
    const fs::path nuevo = RutaDeSistema(temporal);
    const bool grupo = chown(nuevo.c_str(), static_cast<uid_t>(-1), viejo.st_gid) == 0;
    static_cast<void>(grupo); // another group is not always ours to give
    chmod(nuevo.c_str(), viejo.st_mode & 07777);
#endif
}

// Whether a new file could be created in the log's folder now, asked before the
// run so that a folder that refuses its log fails the run at once, clean or not.
bool CarpetaAdmiteFicheros(const std::string &salida)
{
#ifdef _WIN32
    (void)salida;
    return true; // no such question there: creating the file tells
#else
    const fs::path carpeta = RutaDeSistema(salida).parent_path();
    return access(carpeta.empty() ? "." : carpeta.c_str(), W_OK | X_OK) == 0;
#endif
}

} // namespace

bool HayLogQueReemplazar(const std::string &salida)
{
    std::error_code error;
    return Reemplazable(fs::symlink_status(RutaDeSistema(salida), error));
}

bool LogSeguro::Crear(const std::string &entrada, const std::string &salida)
{
    if (salida.empty() || !SePuedeReemplazar(entrada, salida) || !CarpetaAdmiteFicheros(salida)) {
        return false;
    }
    salida_ = salida;
    return true;
}

bool LogSeguro::CrearTemporal()
{
    if (falloCreacion_) {
        return false;
    }
    thread_local std::mt19937_64 azar { std::random_device {}() };
    constexpr int kIntentos = 16;
    for (int intento = 0; intento < kIntentos; ++intento) {
        const std::string temporal = NombreTemporal(salida_, azar());
        if (Fichero fichero = CrearNuevo(temporal)) {
            temporal_ = temporal;
            escritor_.emplace(std::move(fichero));
            return true;
        }
        std::error_code error;
        if (!fs::exists(fs::symlink_status(RutaDeSistema(temporal), error))) {
            break; // not a clash of names: the folder refuses new files
        }
    }
    falloCreacion_ = true;
    return false;
}

std::optional<Fallo> LogSeguro::Confirmar(bool conErrores)
{
    if (escritor_ && !escritor_->Cerrar()) {
        Descartar();
        return Fallo::NoSePuedeEscribirSalida;
    }
    std::error_code error;
    if (conErrores && escritor_) {
        HeredarPermisos(temporal_, salida_);
        fs::rename(RutaDeSistema(temporal_), RutaDeSistema(salida_), error);
        if (error) {
            Descartar();
            return Fallo::NoSePuedeEscribirSalida;
        }
        temporal_.clear();
        return std::nullopt;
    }
    Descartar();
    fs::remove(RutaDeSistema(salida_), error); // the entry itself; no entry at all is no error
    if (error) {
        return Fallo::NoSePuedeBorrarSalida;
    }
    return std::nullopt;
}

void LogSeguro::Descartar()
{
    if (escritor_) {
        escritor_->Cerrar();
    }
    if (!temporal_.empty()) {
        std::error_code ignorado;
        fs::remove(RutaDeSistema(temporal_), ignorado);
        temporal_.clear();
    }
}

} // namespace modMain
