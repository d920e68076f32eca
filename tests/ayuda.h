// Helpers for the engine's tests: order records built field by field, files
// in a temporary folder, and a recording stand-in for the windows.
#pragma once

#include "ficheros_prueba.h"
#include "interfaz.h"
#include "modMain.h"
#include "rutas.h"

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace prueba {

// A record of 162 blanks with each text placed at its 1-based position.
std::string Registro(
    std::initializer_list<std::pair<std::size_t, std::string>> campos, std::size_t longitud = 162);

void EscribirBytes(const std::filesystem::path &ruta, const std::string &bytes);

// A path in a test's folder, taken both as the engine takes paths (text, UTF-8
// on Windows) and as a system path.
class RutaPrueba
{
public:
    explicit RutaPrueba(std::filesystem::path ruta)
        : ruta_(std::move(ruta))
    {
    }
    operator std::string() const { return motor::TextoDeRuta(ruta_); }
    operator const std::filesystem::path &() const { return ruta_; }
    std::string string() const { return *this; }
    RutaPrueba operator/(const std::string &nombre) const
    {
        return RutaPrueba(ruta_ / motor::RutaDeSistema(nombre));
    }

private:
    std::filesystem::path ruta_;
};

// A folder of its own for each test, removed afterwards.
class CarpetaTemporal
{
public:
    CarpetaTemporal();
    ~CarpetaTemporal();
    CarpetaTemporal(const CarpetaTemporal &) = delete;
    CarpetaTemporal &operator=(const CarpetaTemporal &) = delete;
    // The name is UTF-8 text.
    RutaPrueba operator/(const std::string &nombre) const { return RutaPrueba(ruta_) / nombre; }
    // The names of the folder's entries.
    std::set<std::string> Nombres() const;

private:
    std::filesystem::path ruta_;
};

// Records what the engine asks of the windows; attached for its lifetime.
class InterfazGrabadora final : public motor::Interfaz
{
public:
    InterfazGrabadora() { motor::ConectarInterfaz(this); }
    ~InterfazGrabadora() override { motor::ConectarInterfaz(nullptr); }
    void MostrarMensaje(std::string_view texto) override { mensajes.emplace_back(texto); }
    void PunteroOcupado() override { llamadas += "ocupado;"; }
    void PunteroNormal() override { llamadas += "normal;"; }
    void RepintarVentana() override { llamadas += "repintar;"; }
    bool Interrumpido() override { return interrumpir; }

    std::vector<std::string> mensajes;
    std::string llamadas;
    bool interrumpir = false;
};

// The run state as at start-up.
void ReiniciarEstado();

// A real limit on the size of files this process writes (a write past it fails
// with EFBIG, as on a full disk); nothing restores the limit as it was. False
// where the system has no such limit (Windows).
bool LimitarEscritura(std::optional<std::size_t> bytes);

// A test folder's path (plain ASCII) as a JSON string holds it: Windows'
// backslashes doubled.
std::string EnJson(const std::string &ruta);

// The words of a command line written with single blanks between them.
std::vector<std::string> Palabras(const std::string &texto);

// The lines joined with CR LF, the way the log is written.
std::string Unir(const std::vector<std::string> &lineas);
std::vector<std::string> Juntar(std::initializer_list<std::vector<std::string>> partes);

// One checker case: input lines and the log lines they must give (none: a clean run).
struct CasoComprobador
{
    std::string nombre;
    std::vector<std::string> lineas;
    std::vector<std::string> log;
};
void PrintTo(const CasoComprobador &caso, std::ostream *salida);

// Writes the case's input, runs the checker of the kind on it, and compares
// the log byte for byte, the outcome and the line count.
void ComprobarCaso(motor::TipoArchivo tipo, const CasoComprobador &caso);

} // namespace prueba
