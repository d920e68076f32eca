// cotarel-check: checks order files from the command line, exactly as a run of
// the desktop program does, for batches and scripts.
#include "interfaz.h"
#include "modMain.h"
#include "proceso.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
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
tiene errores, no queda ningún log. Si la comprobación no llega al final (no
se puede leer o escribir, o se interrumpe con Ctrl+C), el log anterior se
conserva tal como estaba. Dos ficheros que darían el mismo log (mayo.txt y
mayo.q19) no se comprueban en la misma orden: el segundo queda sin comprobar.

Por cada fichero se escribe una línea en la salida estándar, separada por
tabuladores: el fichero, el resultado, el número de cuentas erróneas y el log
cuando lo hay. Los avisos van a la salida de errores.

Estado de salida:
  0   todos los ficheros comprobados y sin errores
  1   todos comprobados, alguno con cuentas erróneas
  2   algún fichero no se pudo comprobar (no es CSB, no se puede abrir,
      no se puede escribir su log, su log es el de otro fichero); los demás
      se comprueban igualmente
  64  uso incorrecto

Ejemplos:
  cotarel-check remesa-mayo.txt
  cotarel-check /remesas/*.q19 || echo "Revise los logs"

Opciones:
  --help     muestra esta ayuda
  --version  muestra la versión
)";

// Set by SIGINT, SIGTERM or SIGHUP; the run in progress stops at its next
// block, removes its unfinished log and keeps the old one.
volatile std::sig_atomic_t senalRecibida = 0;

// A run that waits for a pipe when the signal comes would wait for ever: an
// alarm every second interrupts the wait (no SA_RESTART), and the failed read
// ends the run.
extern "C" void AlDespertar(int)
{
    alarm(1);
}

extern "C" void AlRecibirSenal(int senal)
{
    senalRecibida = senal;
    alarm(1);
}

void InstalarSenales()
{
    struct sigaction accion
    {
    };
    sigemptyset(&accion.sa_mask);
    accion.sa_handler = AlRecibirSenal;
    for (const int senal : { SIGINT, SIGTERM, SIGHUP }) {
        sigaction(senal, &accion, nullptr);
    }
    accion.sa_handler = AlDespertar;
    sigaction(SIGALRM, &accion, nullptr);
}

// Ends the process the way the signal would have ended it, so that the
// calling shell sees an interrupted command.
[[noreturn]] void MorirPorLaSenal()
{
    const int senal = senalRecibida;
    std::cout.flush();
    std::signal(senal, SIG_DFL);
    std::raise(senal);
    std::_Exit(128 + senal);
}

// Messages of the run go to standard error, prefixed with the file's path.
class InterfazConsola final : public modMain::Interfaz
{
public:
    explicit InterfazConsola(std::string_view ruta)
        : ruta_(ruta)
    {
    }

    void MostrarMensaje(std::string_view texto) override
    {
        std::cerr << ruta_ << ": " << texto << '\n';
    }
    bool Interrumpido() override { return senalRecibida != 0; }

private:
    std::string_view ruta_;
};

int NoComprobado(const std::string &ruta, unsigned long long erroneas)
{
    std::cout << ruta << "\tNo comprobado\t" << erroneas << '\n';
    return kNoComprobado;
}

int ComprobarFichero(const std::string &ruta, const std::string &log)
{
    InterfazConsola consola(ruta);
    const modMain::Resultado resultado = modMain::Procesar(ruta, log, consola);
    if (resultado.fallo == modMain::Fallo::Interrumpido) {
        MorirPorLaSenal();
    }
    if (!resultado.Terminado()) {
        return NoComprobado(ruta, resultado.cuentasErroneas);
    }
    if (!resultado.hayErrores) {
        std::cout << ruta << "\tProceso terminado\t0\n";
        return kTodoCorrecto;
    }
    std::cout << ruta << "\tProceso terminado con errores\t" << resultado.cuentasErroneas << '\t'
              << log << '\n';
    return kConErrores;
}

// Where a log really goes: its folder resolved, its own name kept as it is
// (a link there is replaced, never followed).
std::filesystem::path DondeVaElLog(const std::string &log)
{
    const std::filesystem::path ruta(log);
    std::error_code ignorado;
    const auto carpeta = ruta.has_parent_path() ? ruta.parent_path() : ".";
    return std::filesystem::weakly_canonical(carpeta, ignorado) / ruta.filename();
}

// Checks every file; a file whose log is already another argument's is not
// checked, so that no run replaces or removes the log of an earlier one.
int ComprobarTodos(const std::vector<std::string> &ficheros)
{
    std::map<std::filesystem::path, std::string> duenos; // log -> the file it belongs to
    int estado = kTodoCorrecto;
    for (const auto &fichero : ficheros) {
        if (senalRecibida != 0) {
            MorirPorLaSenal();
        }
        const std::string log = modMain::DerivarNombreLog(fichero);
        const auto [dueno, nuevo] = duenos.emplace(DondeVaElLog(log), fichero);
        if (!nuevo) {
            std::cerr << fichero << ": El registro " << log << " ya es el de " << dueno->second
                      << '\n';
            estado = std::max(estado, NoComprobado(fichero, 0));
            continue;
        }
        estado = std::max(estado, ComprobarFichero(fichero, log));
    }
    return estado;
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
    InstalarSenales();
    return ComprobarTodos(*ficheros);
}
