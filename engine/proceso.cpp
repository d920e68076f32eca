#include "proceso.h"

#include "comprobacion.h"
#include "ficheros.h"
#include "logseguro.h"

#include <new>

namespace motor {
namespace {

// The busy pointer for as long as the run lasts, whichever way it ends.
class PunteroOcupadoMientras
{
public:
    explicit PunteroOcupadoMientras(Interfaz &interfaz)
        : interfaz_(interfaz)
    {
        interfaz_.PunteroOcupado();
    }
    ~PunteroOcupadoMientras() { interfaz_.PunteroNormal(); }
    PunteroOcupadoMientras(const PunteroOcupadoMientras &) = delete;
    PunteroOcupadoMientras &operator=(const PunteroOcupadoMientras &) = delete;

private:
    Interfaz &interfaz_;
};

using FuncionComprobador = void (*)(Comprobacion &);

FuncionComprobador Comprobador(TipoArchivo tipo)
{
    switch (tipo) {
    case TipoArchivo::Adeudos:
        return ComprobarAdeudos;
    case TipoArchivo::Transferencias:
        return ComprobarTransferencias;
    case TipoArchivo::AdeudosSepa:
        return ComprobarAdeudosSepa;
    case TipoArchivo::TransferenciasSepa:
        return ComprobarTransferenciasSepa;
    case TipoArchivo::Xml:
    case TipoArchivo::XmlPain008:
    case TipoArchivo::XmlPain001:
        return ComprobarXml;
    case TipoArchivo::NoCSB:
        break;
    }
    return nullptr;
}

Resultado Fallido(Resultado resultado, Fallo fallo)
{
    resultado.fallo = fallo;
    return resultado;
}

// The checker of the kind over an input that is open and not yet read past
// its start, into the log whose folder is already held.
Resultado ComprobarAbierto(TipoArchivo tipo, LectorLineas &lector, LogSeguro &log,
    const std::string &entrada, const std::string &salida, Interfaz &interfaz)
{
    Resultado resultado;
    resultado.tipo = tipo;
    if (tipo == TipoArchivo::NoCSB) {
        return Fallido(resultado, Fallo::NoEsCSB);
    }
    if (!log.Crear(entrada, salida)) {
        return Fallido(resultado, Fallo::NoSePuedeCrearSalida);
    }
    Comprobacion comprobacion(lector, log, interfaz);
    Comprobador(tipo)(comprobacion);
    lector.Cerrar();
    comprobacion.Terminar(resultado);
    return resultado;
}

// The kind from the first bytes of the reader, without taking them from it;
// nothing when it is not open or the first read fails.
std::optional<TipoArchivo> Clasificar(LectorLineas &lector)
{
    if (!lector.Abierto()) {
        return std::nullopt;
    }
    const std::string_view inicio = lector.Inicio();
    return lector.FalloLectura() ? std::nullopt : std::optional(TipoDelInicio(inicio));
}

// Classifies the input from its first bytes and runs on into the checker,
// reading the input once: a pipe gives the same run as a regular file.
// The log's folder is held before the input is opened: opening a FIFO, or
// reading its first block, may wait as long as its writer likes.
Resultado ProcesarOcupado(const std::string &entrada, const std::string &salida, Interfaz &interfaz)
{
    LogSeguro log;
    log.AbrirCarpeta(salida);
    LectorLineas lector(entrada);
    const auto tipo = Clasificar(lector);
    return tipo ? ComprobarAbierto(*tipo, lector, log, entrada, salida, interfaz)
                : Fallido({}, Fallo::NoSePuedeAbrirEntrada);
}

void Avisar(const Resultado &resultado, Interfaz &interfaz)
{
    if (resultado.fallo) {
        interfaz.MostrarMensaje(resultado.TextoFallo());
    }
}

// Memory the system refuses anywhere in a run (the read buffer, the
// parser, a value) ends that run alone: its new file is removed on the way
// out, the old log is kept, and the caller goes on with the next file.
template <typename Paso> Resultado SinMemoriaNoAborta(Paso paso)
{
    try {
        return paso();
    } catch (const std::bad_alloc &) {
        return Fallido({}, Fallo::SinMemoria);
    }
}

} // namespace

Resultado Procesar(const std::string &entrada, const std::string &salida, Interfaz &interfaz)
{
    Resultado resultado;
    {
        PunteroOcupadoMientras ocupado(interfaz);
        resultado = SinMemoriaNoAborta([&] { return ProcesarOcupado(entrada, salida, interfaz); });
        Avisar(resultado, interfaz);
    }
    if (resultado.fallo != Fallo::NoSePuedeAbrirEntrada) {
        interfaz.RepintarVentana();
    }
    return resultado;
}

Resultado Comprobar(
    TipoArchivo tipo, const std::string &entrada, const std::string &salida, Interfaz &interfaz)
{
    const Resultado resultado = SinMemoriaNoAborta([&] {
        LogSeguro log;
        log.AbrirCarpeta(salida);
        LectorLineas lector(entrada);
        return lector.Abierto() ? ComprobarAbierto(tipo, lector, log, entrada, salida, interfaz)
                                : Fallido({}, Fallo::NoSePuedeAbrirEntrada);
    });
    Avisar(resultado, interfaz);
    return resultado;
}

std::optional<TipoArchivo> ClasificarFichero(const std::string &ruta)
{
    try {
        LectorLineas lector(ruta);
        return Clasificar(lector);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

} // namespace motor
