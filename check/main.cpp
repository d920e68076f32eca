// cotarel-check: checks order files from the command line, exactly as a run of
// the desktop program does, for batches and scripts.
#include "interfaz.h"
#include "modMain.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kTodoCorrecto = 0;
constexpr int kConErrores = 1;
constexpr int kNoComprobado = 2;
constexpr int kUsoIncorrecto = 64;

constexpr std::string_view kAyuda = R"(Uso: cotarel-check FICHERO...

Comprueba los dígitos de control (DC) de todas las cuentas de uno o varios
ficheros CSB de adeudos (primera línea "01" o "51") o de transferencias
(primera línea "03"), igual que el botón Procesar de Cotarel.

Cada error se anota en un fichero .log junto al fichero comprobado (mayo.txt
da mayo.log); un log anterior se sustituye sin preguntar. Si un fichero no
tiene errores, no queda ningún log.

Por cada fichero se escribe una línea en la salida estándar, separada por
tabuladores: el fichero, el resultado, el número de cuentas erróneas y el log
cuando lo hay. Los avisos van a la salida de errores.

Estado de salida:
  0   todos los ficheros comprobados y sin errores
  1   todos comprobados, alguno con cuentas erróneas
  2   algún fichero no se pudo comprobar (no es CSB, no se puede abrir,
      no se puede escribir su log); los demás se comprueban igualmente
  64  uso incorrecto

Ejemplos:
  cotarel-check remesa-mayo.txt
  cotarel-check /remesas/*.q19 || echo "Revise los logs"

Opciones:
  --help     muestra esta ayuda
  --version  muestra la versión
)";

// Messages of the run go to standard error, prefixed with the file's path; a
// file that got any message could not be checked.
class InterfazConsola final : public modMain::Interfaz
{
public:
    explicit InterfazConsola(std::string ruta)
        : ruta_(std::move(ruta))
    {
        modMain::ConectarInterfaz(this);
    }
    ~InterfazConsola() override { modMain::ConectarInterfaz(nullptr); }
    InterfazConsola(const InterfazConsola &) = delete;
    InterfazConsola &operator=(const InterfazConsola &) = delete;

    void MostrarMensaje(std::string_view texto) override
    {
        std::cerr << ruta_ << ": " << texto << '\n';
        conMensajes_ = true;
    }
    bool ConMensajes() const { return conMensajes_; }

private:
    std::string ruta_;
    bool conMensajes_ = false;
};

int ComprobarFichero(const std::string &ruta)
{
    InterfazConsola consola(ruta);
    modMain::FicheroEntrada = ruta;
    modMain::FicheroSalida = modMain::DerivarNombreLog(ruta);
    modMain::HayErrores = false;
    modMain::NumCuentasErroneas = 0;
    modMain::ProcesarFichero();

    if (consola.ConMensajes()) {
        std::cout << ruta << "\tNo comprobado\t" << modMain::NumCuentasErroneas << '\n';
        return kNoComprobado;
    }
    if (!modMain::HayErrores) {
        std::error_code ignorado;
        std::filesystem::remove(modMain::FicheroSalida, ignorado);
        std::cout << ruta << "\tProceso terminado\t0\n";
        return kTodoCorrecto;
    }
    std::cout << ruta << "\tProceso terminado con errores\t" << modMain::NumCuentasErroneas << '\t'
              << modMain::FicheroSalida << '\n';
    return kConErrores;
}

int Uso()
{
    std::cerr << "Uso: cotarel-check FICHERO...  (cotarel-check --help para más información)\n";
    return kUsoIncorrecto;
}

// The files named on the command line, or nothing when an option is unknown.
std::optional<std::vector<std::string>> Ficheros(const std::vector<std::string> &argumentos)
{
    std::vector<std::string> ficheros;
    bool soloFicheros = false;
    for (const auto &argumento : argumentos) {
        if (!soloFicheros && argumento == "--") {
            soloFicheros = true;
        } else if (!soloFicheros && argumento.size() > 1 && argumento[0] == '-') {
            return std::nullopt;
        } else {
            ficheros.push_back(argumento);
        }
    }
    return ficheros;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> argumentos(argv + 1, argv + argc);
    if (argumentos.size() == 1 && argumentos[0] == "--help") {
        std::cout << kAyuda;
        return kTodoCorrecto;
    }
    if (argumentos.size() == 1 && argumentos[0] == "--version") {
        std::cout << "cotarel-check 1.00\n";
        return kTodoCorrecto;
    }
    const auto ficheros = Ficheros(argumentos);
    if (!ficheros || ficheros->empty()) {
        return Uso();
    }
    int estado = kTodoCorrecto;
    for (const auto &fichero : *ficheros) {
        estado = std::max(estado, ComprobarFichero(fichero));
    }
    return estado;
}
