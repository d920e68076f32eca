#include "logseguro.h"

#include "rutas.h"

#include <filesystem>
#include <random>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <system_error>

namespace motor {
namespace {

namespace fs = std::filesystem;

// What a run may replace or remove at the log path: a file or a link.
bool Reemplazable(const fs::file_status &estado)
{
    return fs::is_regular_file(estado) || fs::is_symlink(estado);
}

// A hidden name in the log's folder, so that the rename stays on one file
// system: a short prefix and a random part, never longer than a name the file
// system takes, whatever the log's own name.
std::string NombreTemporal(unsigned long long numero)
{
    static constexpr char kCifras[] = "0123456789abcdef";
    std::string nombre = ".cotarel-";
    for (int cifra = 0; cifra < 16; ++cifra, numero >>= 4) {
        nombre += kCifras[numero & 0xF];
    }
    return nombre;
}

} // namespace

bool HayLogQueReemplazar(const std::string &salida)
{
    std::error_code error;
    return Reemplazable(fs::symlink_status(RutaDeSistema(salida), error));
}

bool LogSeguro::Crear(const std::string &entrada, const std::string &salida)
{
    if (salida.empty() || !carpetaAbierta_) {
        return false;
    }
    nombreLog_ = TextoDeRuta(RutaDeSistema(salida).filename());
    return !nombreLog_.empty() && carpeta_.SePuedeReemplazar(nombreLog_, entrada)
        && carpeta_.AdmiteFicheros();
}

bool LogSeguro::CrearTemporal()
{
    if (falloCreacion_) {
        return false;
    }
    thread_local std::mt19937_64 azar { std::random_device {}() };
    constexpr int kIntentos = 16;
    for (int intento = 0; intento < kIntentos; ++intento) {
        const std::string temporal = NombreTemporal(azar());
        if (Fichero fichero = carpeta_.CrearNuevo(temporal)) {
            temporal_ = temporal;
            escritor_.emplace(std::move(fichero));
            return true;
        }
        if (!carpeta_.FicheroNormal(temporal)) {
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
    if (conErrores && escritor_) {
        // A log that replaces an old file keeps who may read it (logs hold
        // debtors' names): its permission bits, and its group where the
        // system allows. A link at the log path is no model.
        if (const auto permisos = carpeta_.FicheroNormal(nombreLog_)) {
            carpeta_.PonerPermisos(temporal_, *permisos);
        }
        if (!carpeta_.Renombrar(temporal_, nombreLog_)) {
            Descartar();
            return Fallo::NoSePuedeEscribirSalida;
        }
        temporal_.clear();
        return std::nullopt;
    }
    Descartar();
    if (!carpeta_.Borrar(nombreLog_)) {
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
        carpeta_.Borrar(temporal_);
        temporal_.clear();
    }
}

#ifdef _WIN32

// Held open without sharing delete: the folder cannot be moved or removed
// while the run goes on; the names are taken under its path.
bool LogSeguro::Carpeta::Abrir(const std::string &salida)
{
    const fs::path carpeta = RutaDeSistema(salida).parent_path();
    ruta_ = TextoDeRuta(carpeta.empty() ? fs::path(".") : carpeta);
    HANDLE manejador = CreateFileW(RutaDeSistema(ruta_).c_str(), FILE_LIST_DIRECTORY,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
        nullptr);
    if (manejador == INVALID_HANDLE_VALUE) {
        return false;
    }
    manejador_ = manejador;
    return true;
}

void LogSeguro::Carpeta::Cerrar()
{
    if (manejador_ != nullptr) {
        CloseHandle(manejador_);
        manejador_ = nullptr;
    }
}

bool LogSeguro::Carpeta::AdmiteFicheros() const
{
    return true; // no such question there: creating the file tells
}

// The input itself is never replaced: a hard link, or the same name on a
// case-blind file system.
bool LogSeguro::Carpeta::SePuedeReemplazar(
    const std::string &nombre, const std::string &entrada) const
{
    std::error_code error;
    const fs::path log = RutaDeSistema(ruta_) / RutaDeSistema(nombre);
    const fs::file_status estado = fs::symlink_status(log, error);
    if (!fs::exists(estado)) {
        return true;
    }
    return Reemplazable(estado) && !(fs::equivalent(RutaDeSistema(entrada), log, error) && !error);
}

Fichero LogSeguro::Carpeta::CrearNuevo(const std::string &nombre) const
{
    return motor::CrearNuevo(TextoDeRuta(RutaDeSistema(ruta_) / RutaDeSistema(nombre)));
}

// The system's own lists of who may read are inherited from the folder.
std::optional<LogSeguro::Carpeta::Permisos> LogSeguro::Carpeta::FicheroNormal(
    const std::string &nombre) const
{
    std::error_code error;
    if (!fs::is_regular_file(
            fs::symlink_status(RutaDeSistema(ruta_) / RutaDeSistema(nombre), error))) {
        return std::nullopt;
    }
    return Permisos {};
}

void LogSeguro::Carpeta::PonerPermisos(const std::string &, const Permisos &) const
{
}

bool LogSeguro::Carpeta::Renombrar(const std::string &desde, const std::string &hasta) const
{
    std::error_code error;
    fs::rename(RutaDeSistema(ruta_) / RutaDeSistema(desde),
        RutaDeSistema(ruta_) / RutaDeSistema(hasta), error);
    return !error;
}

bool LogSeguro::Carpeta::Borrar(const std::string &nombre) const
{
    std::error_code error;
    fs::remove(RutaDeSistema(ruta_) / RutaDeSistema(nombre), error);
    return !error;
}

#else

// The folder as its path resolves now: one reached through a link (a
// documents folder that points to a share) works as any other.
bool LogSeguro::Carpeta::Abrir(const std::string &salida)
{
    const fs::path carpeta = RutaDeSistema(salida).parent_path();
    descriptor_ = open(carpeta.empty() ? "." : carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return descriptor_ >= 0;
}

void LogSeguro::Carpeta::Cerrar()
{
    if (descriptor_ >= 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
}

// Asked before the run, so that a folder that refuses its log fails the run
// at once, clean or not.
bool LogSeguro::Carpeta::AdmiteFicheros() const
{
    return faccessat(descriptor_, ".", W_OK | X_OK, 0) == 0;
}

// The input is known by its device and inode: a hard link to it, or the
// same name reached another way, is never replaced.
bool LogSeguro::Carpeta::SePuedeReemplazar(
    const std::string &nombre, const std::string &entrada) const
{
    struct stat log
    {
    };
    if (fstatat(descriptor_, nombre.c_str(), &log, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT;
    }
    if (S_ISLNK(log.st_mode)) {
        return true;
    }
    struct stat fichero
    {
    };
    return S_ISREG(log.st_mode)
        && !(stat(entrada.c_str(), &fichero) == 0 && fichero.st_dev == log.st_dev
            && fichero.st_ino == log.st_ino);
}

// Created exclusively, so an existing file is never truncated and a link
// planted at the name is never followed.
Fichero LogSeguro::Carpeta::CrearNuevo(const std::string &nombre) const
{
    const int fichero = openat(
        descriptor_, nombre.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fichero < 0) {
        return {};
    }
    std::FILE *flujo = fdopen(fichero, "wb");
    if (flujo == nullptr) {
        close(fichero);
    }
    return SinBufferPropio(flujo);
}

std::optional<LogSeguro::Carpeta::Permisos> LogSeguro::Carpeta::FicheroNormal(
    const std::string &nombre) const
{
    struct stat estado
    {
    };
    if (fstatat(descriptor_, nombre.c_str(), &estado, AT_SYMLINK_NOFOLLOW) != 0
        || !S_ISREG(estado.st_mode)) {
        return std::nullopt;
    }
    return Permisos { static_cast<unsigned>(estado.st_mode & 07777), estado.st_gid };
}

void LogSeguro::Carpeta::PonerPermisos(const std::string &nombre, const Permisos &permisos) const
{
    const bool conGrupo = fchownat(descriptor_, nombre.c_str(), static_cast<uid_t>(-1),
                              static_cast<gid_t>(permisos.grupo), AT_SYMLINK_NOFOLLOW)
        == 0;
    static_cast<void>(conGrupo); // another group is not always ours to give
    fchmodat(descriptor_, nombre.c_str(), static_cast<mode_t>(permisos.modo), 0);
}

bool LogSeguro::Carpeta::Renombrar(const std::string &desde, const std::string &hasta) const
{
    return renameat(descriptor_, desde.c_str(), descriptor_, hasta.c_str()) == 0;
}

bool LogSeguro::Carpeta::Borrar(const std::string &nombre) const
{
    return unlinkat(descriptor_, nombre.c_str(), 0) == 0 || errno == ENOENT;
}

#endif

} // namespace motor
