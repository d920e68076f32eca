#include "logica.h"

#include "DerivarNombreLog.h"
#include "logseguro.h"
#include "rutas.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace ventanas {

std::optional<Desenlace> DesenlaceDe(const motor::Resultado &resultado)
{
    if (!resultado.Terminado()) {
        return std::nullopt;
    }
    if (resultado.hayErrores) {
        return Desenlace { motor::kProcesoConErrores, kRojo, true };
    }
    if (resultado.SinCuentas()) {
        return Desenlace { motor::kSinCuentas, kRojo, false };
    }
    return Desenlace { motor::kProcesoTerminado, kAzul, false };
}

Punto CentrarSobre(Rectangulo principal, int ancho, int alto, int dpi)
{
    const float twips = 1440.0f / static_cast<float>(dpi);
    const auto enTwips = [twips](int pixeles) { return static_cast<float>(pixeles) * twips; };
    const float top = (enTwips(principal.height) - enTwips(alto)) / 2.0f + enTwips(principal.top);
    const float left = (enTwips(principal.width) - enTwips(ancho)) / 2.0f + enTwips(principal.left);
    return { static_cast<int>(std::lround(left / twips)),
        static_cast<int>(std::lround(top / twips)) };
}

std::string CarpetaInicial(const Carpetas &carpetas)
{
    if (!carpetas.programa.empty() && carpetas.programaEscribible) {
        return carpetas.programa;
    }
    if (!carpetas.documentos.empty()) {
        return carpetas.documentos;
    }
    return carpetas.personal;
}

std::string OrdenEditor(std::string_view log)
{
    return "notepad " + std::string(log);
}

void AbrirDetalles(Servicios &servicios, std::string_view log)
{
    const std::string aviso = std::string(kSinEditor) + "\n" + std::string(log);
    Servicios *conAviso = &servicios;
    if (!servicios.Ejecutar(
            OrdenEditor(log), [conAviso, aviso] { conAviso->Informacion(aviso); })) {
        servicios.Informacion(aviso);
    }
}

LogicaEntrada::LogicaEntrada(Servicios &servicios, Vista &vista)
    : servicios_(servicios)
    , vista_(vista)
{
}

void LogicaEntrada::Elegir()
{
    dialogo_.carpetaInicial = CarpetaInicial(servicios_.CarpetasDelUsuario());
    if (auto eleccion = servicios_.ElegirFichero(dialogo_)) {
        dialogo_.fichero = std::move(*eleccion);
    }
    // A cancel goes through the last chosen file again, if there is one.
    Tomar(dialogo_.fichero);
}

void LogicaEntrada::Abrir(std::string_view ruta)
{
    if (ruta.empty()) {
        return;
    }
    std::error_code error;
    const auto absoluta = std::filesystem::absolute(motor::RutaDeSistema(ruta), error);
    dialogo_.fichero = error ? std::string(ruta) : motor::TextoDeRuta(absoluta);
    Tomar(dialogo_.fichero);
}

void LogicaEntrada::Tomar(std::string ruta)
{
    entrada_ = std::move(ruta);
    vista_.MostrarEntrada(entrada_);
    if (entrada_.empty()) {
        return;
    }
    salida_ = motor::DerivarNombreLog(entrada_);
    ConfirmarNombreLog();
    ComprobarPrimeraLinea();
}

// An existing log is replaced only when the user agrees to it.
void LogicaEntrada::ConfirmarNombreLog()
{
    if (motor::HayLogQueReemplazar(salida_) && !servicios_.Preguntar(kPreguntaSobreescribir)) {
        salida_.clear();
        vista_.MostrarSalida({});
        vista_.HabilitarProcesar(false);
        return;
    }
    vista_.MostrarSalida(salida_);
    vista_.HabilitarProcesar(true);
}

void LogicaEntrada::ComprobarPrimeraLinea()
{
    const auto tipo = motor::ClasificarFichero(entrada_);
    if (!tipo || *tipo == motor::TipoArchivo::NoCSB) {
        servicios_.Mensaje(
            motor::Mensaje(tipo ? motor::Fallo::NoEsCSB : motor::Fallo::NoSePuedeAbrirEntrada));
        vista_.HabilitarProcesar(false);
    }
}

// A run that stopped before its end has said why in its own message; it has
// no outcome to show, and the log path is as it was.
void LogicaEntrada::Procesar()
{
    const auto desenlace = DesenlaceDe(motor::Procesar(entrada_, salida_, *this));
    if (desenlace) {
        vista_.MostrarResultado(*desenlace, salida_);
    }
}

// A message waits for the user, so it is shown under the normal pointer; the
// run's busy pointer comes back while the run goes on.
void LogicaEntrada::MostrarMensaje(std::string_view texto)
{
    const bool ocupado = ocupado_;
    PunteroNormal();
    servicios_.Mensaje(texto);
    if (ocupado) {
        PunteroOcupado();
    }
}

// The pointer is a state, busy or normal, not a stack of overrides.
void LogicaEntrada::PunteroOcupado()
{
    if (!ocupado_) {
        ocupado_ = true;
        vista_.PunteroOcupado(true);
    }
}

void LogicaEntrada::PunteroNormal()
{
    if (ocupado_) {
        ocupado_ = false;
        vista_.PunteroOcupado(false);
    }
}

void LogicaEntrada::RepintarVentana()
{
    vista_.Repintar();
}

} // namespace ventanas
