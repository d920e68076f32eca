#include "logseguro.h"

#include "proceso.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace modMain {
namespace {

namespace fs = std::filesystem;

// An existing entry at the log path may be replaced only when it is a file or
// a link; the input itself (a hard link, or the same name on a case-blind
// file system) is never replaced.
bool SePuedeReemplazar(const std::string &entrada, const std::string &salida)
{
    std::error_code error;
    if (!fs::exists(fs::symlink_status(salida, error))) {
        return true;
    }
    return HayLogQueReemplazar(salida) && !(fs::equivalent(entrada, salida, error) && !error);
}

// A hidden name in the log's folder, so that the rename stays on one file system.
std::string NombreTemporal(const std::string &salida, unsigned numero)
{
    const fs::path ruta(salida);
    std::string nombre = ".";
    nombre += ruta.filename().string();
    nombre += ".cotarel-";
    nombre += std::to_string(numero);
    return (ruta.parent_path() / nombre).string();
}

} // namespace

bool HayLogQueReemplazar(const std::string &salida)
{
    std::error_code error;
    const fs::file_status estado = fs::symlink_status(salida, error);
    return fs::is_regular_file(estado) || fs::is_symlink(estado);
}

bool LogSeguro::Crear(const std::string &entrada, const std::string &salida)
{
    if (salida.empty() || !SePuedeReemplazar(entrada, salida)) {
        return false;
    }
    std::random_device azar;
    constexpr int kIntentos = 16;
    for (int intento = 0; intento < kIntentos; ++intento) {
        const std::string temporal = NombreTemporal(salida, azar());
        if (Fichero fichero = CrearNuevo(temporal)) {
            salida_ = salida;
            temporal_ = temporal;
            escritor_.emplace(std::move(fichero));
            return true;
        }
        std::error_code error;
        if (!fs::exists(fs::symlink_status(temporal, error))) {
            return false; // not a clash of names: the folder refuses new files
        }
    }
    return false;
}

std::optional<Fallo> LogSeguro::Confirmar(bool conErrores)
{
    if (!escritor_->Cerrar()) {
        Descartar();
        return Fallo::NoSePuedeEscribirSalida;
    }
    std::error_code error;
    if (conErrores) {
        fs::rename(temporal_, salida_, error);
        if (error) {
            Descartar();
            return Fallo::NoSePuedeEscribirSalida;
        }
        temporal_.clear();
        return std::nullopt;
    }
    Descartar();
    fs::remove(salida_, error); // the entry itself; no entry at all is no error
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
        fs::remove(temporal_, ignorado);
        temporal_.clear();
    }
}

} // namespace modMain
