#include "lote.h"

#include "DerivarNombreLog.h"
#include "interfaz.h"
#include "proceso.h"
#include "rutas.h"
#include "sistema.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

namespace cotarel {
namespace {

constexpr std::string_view kNoSeEscribeTemporal
    = "No se puede escribir el fichero temporal de la salida JSON";
constexpr std::string_view kNoSeLeeTemporal
    = "No se puede leer el fichero temporal de la salida JSON";

// Where the reports go.
struct Lote
{
    const Opciones &opciones;
    std::ostream &salida;
    std::ostream &errores;
};

// Messages of the run are kept for the file's report, prefixed with the
// program's name and the file's path; faulty accounts are kept when asked for.
class InterfazConsola final : public motor::Interfaz
{
public:
    InterfazConsola(Informe &informe, bool anotarFallos)
        : informe_(informe)
        , anotarFallos_(anotarFallos)
    {
    }

    void MostrarMensaje(std::string_view texto) override
    {
        if (informe_.mensaje.empty()) {
            informe_.mensaje = texto;
        }
        informe_.errores.append(kPrograma).append(informe_.ruta).append(": ").append(texto);
        informe_.errores += '\n';
    }
    bool Interrumpido() override { return SenalRecibida(); }
    void CuentaErronea(const motor::CuentaAnotada &cuenta) override
    {
        if (anotarFallos_) {
            informe_.fallos.Anadir(cuenta);
        }
    }

private:
    Informe &informe_;
    bool anotarFallos_;
};

// The report of a file whose run did not reach its end, or found no account.
void NoComprobado(Informe &informe, const motor::Resultado &resultado)
{
    informe.estado = kNoComprobado;
    informe.fallos.Vaciar();
    if (resultado.SinCuentas()) {
        informe.desenlace = Desenlace::SinCuentas;
        informe.comprobadas = 0;
        informe.sinIban = resultado.cuentasSinIban;
        informe.erroresRemesa = resultado.erroresRemesa;
    } else {
        informe.desenlace = Desenlace::NoComprobado;
        informe.erroneas = resultado.cuentasErroneas;
    }
}

Informe ComprobarFichero(const std::string &ruta, const std::string &log, Formato formato)
{
    Informe informe;
    informe.ruta = ruta;
    InterfazConsola consola(informe, formato == Formato::Json);
    const motor::Resultado resultado = motor::Procesar(ruta, log, consola);
    // A stop request while opening a silent pipe fails the open: the run was
    // interrupted, not refused.
    informe.interrumpido = resultado.fallo == motor::Fallo::Interrumpido
        || (resultado.fallo == motor::Fallo::NoSePuedeAbrirEntrada && SenalRecibida());
    // Memory refused before the file's kind was known leaves it unknown.
    if (resultado.fallo != motor::Fallo::NoSePuedeAbrirEntrada
        && (resultado.comprobado || resultado.fallo != motor::Fallo::SinMemoria)) {
        informe.tipo = resultado.tipo;
    }
    if (!resultado.Terminado() || resultado.SinCuentas()) {
        if (resultado.SinCuentas()) {
            consola.MostrarMensaje(motor::kSinCuentas);
        }
        NoComprobado(informe, resultado);
        return informe;
    }
    // Its report could not be kept whole, or read back whole: the JSON line
    // never lists fewer accounts than it counts.
    if (informe.fallos.Fallo()) {
        consola.MostrarMensaje(kNoSeEscribeTemporal);
        NoComprobado(informe, resultado);
        return informe;
    }
    if (!informe.fallos.Recorrer([](const motor::CuentaAnotada &) {})) {
        consola.MostrarMensaje(kNoSeLeeTemporal);
        NoComprobado(informe, resultado);
        return informe;
    }
    informe.comprobadas = resultado.cuentasComprobadas;
    informe.erroneas = resultado.cuentasErroneas;
    informe.sinIban = resultado.cuentasSinIban;
    informe.erroresRemesa = resultado.erroresRemesa;
    if (resultado.hayErrores) {
        informe.desenlace = Desenlace::Errores;
        informe.registro = log;
        informe.estado = kConErrores;
    } else {
        informe.desenlace = Desenlace::Correcto;
    }
    return informe;
}

// Where a log really goes: its folder resolved, its own name kept as it is
// (a link there is replaced, never followed), in the form the system compares
// names in (without case on Windows). Folders are resolved once.
std::filesystem::path DondeVaElLog(
    const std::string &log, std::map<std::filesystem::path, std::filesystem::path> &carpetas)
{
    const std::filesystem::path ruta = motor::RutaDeSistema(log);
    const auto carpeta = ruta.has_parent_path() ? ruta.parent_path() : ".";
    auto [resuelta, nueva] = carpetas.try_emplace(carpeta);
    if (nueva) {
        std::error_code ignorado;
        resuelta->second = std::filesystem::weakly_canonical(carpeta, ignorado);
    }
    return FormaDeComparar(resuelta->second / ruta.filename());
}

// Each file's log, and whether it is to be checked at all: a file refused
// before the run starts has its report ready at once, and is never taken by
// a worker, whenever that report goes out.
struct Plan
{
    std::vector<std::string> logs;
    std::vector<bool> comprobar;
    std::vector<std::optional<Informe>> informes;
};

// A file whose log is already an earlier file's is not checked, so that no
// run replaces or removes the log of another: its report is ready at once.
Informe SinComprobar(const std::string &ruta, std::string mensaje)
{
    Informe informe;
    informe.ruta = ruta;
    informe.mensaje = std::move(mensaje);
    informe.errores = std::string(kPrograma) + ruta + ": " + informe.mensaje + "\n";
    informe.estado = kNoComprobado;
    return informe;
}

// Refused: a file whose log is an earlier file's log, or is another file of
// the batch (a clean run would remove it, a faulty one replace it). Paths are
// compared as logs are, folders resolved and without case where the system
// ignores it.
Plan Planificar(const std::vector<Entrada> &entradas)
{
    std::map<std::filesystem::path, std::filesystem::path> carpetas;
    std::map<std::filesystem::path, std::string> ficheros; // an input -> its path as given
    for (const auto &entrada : entradas) {
        if (entrada.problema.empty()) {
            ficheros.emplace(DondeVaElLog(entrada.ruta, carpetas), entrada.ruta);
        }
    }
    std::map<std::filesystem::path, std::string> duenos; // log -> the file it belongs to
    Plan plan { {}, std::vector<bool>(entradas.size(), false),
        std::vector<std::optional<Informe>>(entradas.size()) };
    for (std::size_t i = 0; i < entradas.size(); ++i) {
        const std::string &ruta = entradas[i].ruta;
        if (!entradas[i].problema.empty()) {
            plan.logs.emplace_back();
            plan.informes[i] = SinComprobar(ruta, entradas[i].problema);
            continue;
        }
        const std::string &log = plan.logs.emplace_back(motor::DerivarNombreLog(ruta));
        const std::filesystem::path donde = DondeVaElLog(log, carpetas);
        const auto otro = ficheros.find(donde);
        if (otro != ficheros.end() && otro->second != ruta) {
            plan.informes[i] = SinComprobar(
                ruta, "El registro " + log + " es el fichero " + otro->second + " del lote");
            continue;
        }
        const auto [dueno, nuevo] = duenos.emplace(donde, ruta);
        if (!nuevo) {
            plan.informes[i]
                = SinComprobar(ruta, "El registro " + log + " ya es el de " + dueno->second);
            continue;
        }
        plan.comprobar[i] = true;
    }
    return plan;
}

// The file's exit status; a line whose accounts failed to read back a
// second time (the first time they did) asks for the status of a failure.
int Publicar(const Informe &informe, const Lote &lote)
{
    lote.errores << informe.errores << std::flush;
    if (!lote.opciones.silencioso) {
        const bool entera = EscribirLinea(lote.salida, informe, lote.opciones.formato);
        lote.salida << std::flush;
        if (!entera) {
            lote.errores << kPrograma << informe.ruta << ": " << kNoSeLeeTemporal << std::endl;
            return std::max(informe.estado, kNoComprobado);
        }
    }
    return informe.estado;
}

// One file after another on this thread, which also takes the signals.
int ComprobarEnOrden(const std::vector<Entrada> &ficheros, const Lote &lote)
{
    Plan plan = Planificar(ficheros);
    const std::vector<std::string> &logs = plan.logs;
    std::vector<std::optional<Informe>> &informes = plan.informes;
    int estado = kTodoCorrecto;
    for (std::size_t i = 0; i < ficheros.size(); ++i) {
        if (SenalRecibida()) {
            MorirPorLaSenal();
        }
        if (plan.comprobar[i]) {
            informes[i] = ComprobarFichero(ficheros[i].ruta, logs[i], lote.opciones.formato);
        }
        if (informes[i]->interrumpido) {
            MorirPorLaSenal();
        }
        estado = std::max(estado, Publicar(*informes[i], lote));
    }
    return estado;
}

// Several files at once; the reports come out in the order of the files, each
// as soon as it and all before it are done. The signals go to the workers,
// whose runs see them; this thread only reports.
int ComprobarEnParalelo(const std::vector<Entrada> &ficheros, const Lote &lote, std::size_t cuantos)
{
    Plan plan = Planificar(ficheros);
    const std::vector<std::string> &logs = plan.logs;
    std::vector<std::optional<Informe>> &informes = plan.informes;
    std::mutex cerrojo;
    std::condition_variable listo;
    std::condition_variable hueco; // a report went out
    std::size_t siguiente = 0;
    std::size_t publicados = 0;
    const std::size_t adelanto = 2 * cuantos;
    std::atomic<std::size_t> activos = 0;
    const auto trabajar = [&] {
        const struct Salida
        {
            std::atomic<std::size_t> &activos;
            ~Salida() { --activos; }
        } salida { activos };
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock guarda(cerrojo);
                for (;;) {
                    while (siguiente < ficheros.size() && !plan.comprobar[siguiente]) {
                        ++siguiente;
                    }
                    if (siguiente == ficheros.size() || SenalRecibida()) {
                        return;
                    }
                    // A few files ahead of the output at most, so that
                    // finished reports do not pile up behind a slow one.
                    if (siguiente < publicados + adelanto) {
                        break;
                    }
                    hueco.wait_for(guarda, std::chrono::milliseconds(100));
                }
                i = siguiente++;
            }
            Informe informe = ComprobarFichero(ficheros[i].ruta, logs[i], lote.opciones.formato);
            std::lock_guard guarda(cerrojo);
            informes[i] = std::move(informe);
            listo.notify_all();
        }
    };
    // Where the system refuses more threads (a container's process limit),
    // the files run on those it gave, or on this thread alone.
    std::vector<std::jthread> trabajadores;
    for (std::size_t t = 0; t < cuantos; ++t) {
        ++activos;
        try {
            trabajadores.emplace_back(trabajar);
        } catch (const std::system_error &) {
            --activos;
            break;
        }
    }
    if (trabajadores.empty()) {
        return ComprobarEnOrden(ficheros, lote);
    }
    DesviarSenalesDeEsteHilo();
    int estado = kTodoCorrecto;
    for (std::size_t i = 0; i < ficheros.size(); ++i) {
        std::unique_lock espera(cerrojo);
        while (!listo.wait_for(espera, std::chrono::milliseconds(100),
            [&] { return informes[i].has_value() || SenalRecibida(); })) { }
        if (!informes[i] || informes[i]->interrumpido) {
            espera.unlock();
            // Each ends its run at its next block; one that waits on a pipe
            // is woken until it has seen the stop.
            while (activos > 0) {
                for (auto &trabajador : trabajadores) {
                    Despertar(trabajador);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            trabajadores.clear();
            MorirPorLaSenal();
        }
        const Informe informe = std::move(*informes[i]);
        informes[i].reset();
        publicados = i + 1;
        espera.unlock();
        hueco.notify_all();
        estado = std::max(estado, Publicar(informe, lote));
    }
    return estado;
}

} // namespace

int ComprobarTodos(const std::vector<Entrada> &ficheros, const Opciones &opciones,
    std::ostream &salida, std::ostream &errores)
{
    const Lote lote { opciones, salida, errores };
    const std::size_t trabajos = opciones.trabajos != 0
        ? opciones.trabajos
        : std::max(1U, std::thread::hardware_concurrency());
    const std::size_t cuantos = std::min(trabajos, ficheros.size());
    const int estado = cuantos <= 1 ? ComprobarEnOrden(ficheros, lote)
                                    : ComprobarEnParalelo(ficheros, lote, cuantos);
    salida.flush();
    if (!salida) {
        errores << kPrograma << "no se puede escribir la salida est\u00E1ndar\n";
        return std::max(estado, kNoComprobado);
    }
    return estado;
}

} // namespace cotarel
