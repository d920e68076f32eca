#include "comprobacion.h"

#include "interfaz.h"
#include "modMain.h"

#include <filesystem>
#include <system_error>

namespace modMain {
namespace {

void Avisar(std::string_view mensaje)
{
    InterfazActual().MostrarMensaje(mensaje);
    InterfazActual().PunteroNormal();
}

// An existing log that is the input itself (a link, or a name that the file
// system takes for the same) must not be truncated.
bool EsLaEntrada(const std::string &entrada, const std::string &salida)
{
    std::error_code error;
    return std::filesystem::equivalent(entrada, salida, error) && !error;
}

std::string NumeroDeLinea()
{
    return std::to_string(static_cast<unsigned long long>(NumLinea));
}

} // namespace

bool Comprobacion::Abrir(const std::string &entrada, const std::string &salida)
{
    entrada_.emplace(entrada);
    if (!entrada_->Abierto()) {
        Avisar("No se puede abrir el fichero de Entrada");
        return false;
    }
    if (salida.empty() || EsLaEntrada(entrada, salida) || !log_.emplace(salida).Abierto()) {
        entrada_->Cerrar();
        Avisar("No se puede crear el fichero de Salida");
        return false;
    }
    NumLinea = 0;
    HayErrores = false;
    NumCuentasErroneas = 0;
    return true;
}

void Comprobacion::EscribirLineaDeError(std::string_view entrada, std::string_view cola)
{
    linea_.assign(entrada);
    linea_ += NumeroDeLinea();
    linea_ += cola;
    Escribir(linea_);
}

void Comprobacion::EscribirCampo(std::string_view etiqueta, std::string_view campo)
{
    linea_.assign(etiqueta);
    linea_ += campo;
    Escribir(linea_);
}

void Comprobacion::FinDeBloque()
{
    Escribir(kSeparador);
    HayErrores = true;
    ++NumCuentasErroneas;
}

bool Comprobacion::HuboFallo() const
{
    return entrada_->FalloLectura() || log_->FalloEscritura();
}

// A failure in the middle of the file keeps the log and never looks clean:
// HayErrores is set, so the windows show the run as failed.
void Comprobacion::Terminar()
{
    entrada_->Cerrar();
    const bool logEscrito = log_->Cerrar();
    if (entrada_->FalloLectura()) {
        HayErrores = true;
        Avisar("No se puede leer el fichero de Entrada");
    } else if (!logEscrito) {
        HayErrores = true;
        Avisar("No se puede escribir el fichero de Salida");
    }
}

} // namespace modMain
