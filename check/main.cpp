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

Comprueba los dígitos de control de todas las cuentas de uno o varios
ficheros de órdenes bancarias, igual que el botón Procesar de Cotarel:

  adeudos-sepa         SEPA, Norma 19.14, 19.15 y 19.44 (registros de 600
                       caracteres): el IBAN del acreedor y el de cada deudor
                       (o su CCC, si el registro lo marca con "B")
  transferencias-sepa  SEPA, Norma 34.14 (600 caracteres): el IBAN del
                       ordenante y el de cada beneficiario
  xml-pain008          adeudos ISO 20022 en XML (pain.008.001.02 y .08):
                       el IBAN del acreedor de cada pago y el de cada deudor
  xml-pain001          transferencias ISO 20022 en XML (pain.001.001.03 y
                       .09): el IBAN del ordenante y el de cada beneficiario
  adeudos              CSB 19 antiguo (primera línea "01" o "51"): el DC de
                       cada cuenta de 20 dígitos (CCC)
  transferencias       CSB 34 antiguo (primera línea "03"): el DC de cada CCC

Un IBAN se comprueba entero: país y longitud, sus dígitos de control
(MOD 97) y, si es español, el DC de la cuenta que lleva dentro.

Cada error se anota en un fichero .log junto al fichero comprobado (mayo.txt
da mayo.log); un log anterior se sustituye sin preguntar. Si un fichero no
tiene errores, no queda ningún log. Si la comprobación no llega al final (no
se puede leer o escribir, o se interrumpe con Ctrl+C), el log anterior se
conserva tal como estaba. Dos ficheros que darían el mismo log (mayo.txt y
mayo.q19) no se comprueban en la misma orden: el segundo queda sin comprobar.

Por cada fichero se escribe una línea en la salida estándar, separada por
tabuladores: el fichero, el resultado ("Proceso terminado", "Proceso
terminado con errores" o "No comprobado"), el tipo de fichero (una de las
palabras de arriba, "no-csb", "xml" si el XML terminó antes de su elemento
raíz, o "-" si no se pudo leer), el número de cuentas
erróneas y el log cuando lo hay. Los avisos van a la salida de errores.
Un fichero en el que no hay ni una cuenta que comprobar queda "No comprobado",
con el aviso "No se ha comprobado ninguna cuenta".

Estado de salida:
  0   todos los ficheros comprobados y sin errores
  1   todos comprobados, alguno con cuentas erróneas
  2   algún fichero no se pudo comprobar (no es CSB, no se puede abrir,
      XML no válido, no se puede escribir su log, su log es el de otro
      fichero, no tiene ninguna cuenta); los demás se comprueban igualmente
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

// One line for the file: path, outcome, kind, faulty accounts and, when a
// log is kept, its path.
void Informar(const std::string &ruta, std::string_view resultado, std::string_view tipo,
    unsigned long long erroneas, std::string_view log = {})
{
    std::cout << ruta << '\t' << resultado << '\t' << tipo << '\t' << erroneas;
    if (!log.empty()) {
        std::cout << '\t' << log;
    }
    std::cout << '\n';
}

constexpr std::string_view kNoComprobadoTexto = "No comprobado";
constexpr std::string_view kSinTipo = "-"; // the file could not be read

int ComprobarFichero(const std::string &ruta, const std::string &log)
{
    InterfazConsola consola(ruta);
    const modMain::Resultado resultado = modMain::Procesar(ruta, log, consola);
    if (resultado.fallo == modMain::Fallo::Interrumpido) {
        MorirPorLaSenal();
    }
    const std::string_view tipo = resultado.fallo == modMain::Fallo::NoSePuedeAbrirEntrada
        ? kSinTipo
        : modMain::NombreTipo(resultado.tipo);
    if (!resultado.Terminado() || resultado.SinCuentas()) {
        if (resultado.SinCuentas()) {
            consola.MostrarMensaje(modMain::kSinCuentas);
        }
        Informar(ruta, kNoComprobadoTexto, tipo, resultado.cuentasErroneas);
        return kNoComprobado;
    }
    if (!resultado.hayErrores) {
        Informar(ruta, modMain::kProcesoTerminado, tipo, 0);
        return kTodoCorrecto;
    }
    Informar(ruta, modMain::kProcesoConErrores, tipo, resultado.cuentasErroneas, log);
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
            Informar(fichero, kNoComprobadoTexto, kSinTipo, 0);
            estado = std::max(estado, kNoComprobado);
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
