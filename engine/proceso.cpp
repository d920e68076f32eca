#include "proceso.h"

#include "comprobacion.h"
#include "ficheros.h"
#include "logseguro.h"

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

// The checker of the kind over an input that is open and not yet read past its start.
Resultado ComprobarAbierto(TipoArchivo tipo, LectorLineas &lector, const std::string &entrada,
    const std::string &salida, Interfaz &interfaz)
{
    Resultado resultado;
    resultado.tipo = tipo;
    if (tipo == TipoArchivo::NoCSB) {
        return Fallido(resultado, Fallo::NoEsCSB);
    }
    LogSeguro log;
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
Resultado ProcesarOcupado(const std::string &entrada, const std::string &salida, Interfaz &interfaz)
{
    LectorLineas lector(entrada);
    const auto tipo = Clasificar(lector);
    return tipo ? ComprobarAbierto(*tipo, lector, entrada, salida, interfaz)
                : Fallido({}, Fallo::NoSePuedeAbrirEntrada);
}

void Avisar(const Resultado &resultado, Interfaz &interfaz)
{
    if (resultado.fallo) {
        interfaz.MostrarMensaje(resultado.TextoFallo());
    }
}

} // namespace

Resultado Procesar(const std::string &entrada, const std::string &salida, Interfaz &interfaz)
{
    Resultado resultado;
    {
        PunteroOcupadoMientras ocupado(interfaz);
        resultado = ProcesarOcupado(entrada, salida, interfaz);
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
    LectorLineas lector(entrada);
    Resultado resultado = lector.Abierto()
        ? ComprobarAbierto(tipo, lector, entrada, salida, interfaz)
        : Fallido({}, Fallo::NoSePuedeAbrirEntrada);
    Avisar(resultado, interfaz);
    return resultado;
}

std::optional<TipoArchivo> ClasificarFichero(const std::string &ruta)
{
    LectorLineas lector(ruta);
    return Clasificar(lector);
}

} // namespace motor
