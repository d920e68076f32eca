#include "modMain.h"

#include "campos.h"
#include "ficheros.h"
#include "interfaz.h"

#include <optional>

namespace modMain {

std::string FicheroEntrada;
std::string FicheroSalida;
bool HayErrores = false;
double NumLinea = 0;
std::string DCCalculado;
unsigned long long NumCuentasErroneas = 0;

TipoArchivo TipoFichero(std::string_view primeraLinea)
{
    const std::string_view codigo = primeraLinea.substr(0, 2);
    if (codigo == "01" || codigo == "51") {
        return TipoArchivo::Adeudos;
    }
    if (codigo == "03") {
        return TipoArchivo::Transferencias;
    }
    return TipoArchivo::NoCSB;
}

std::optional<std::string> LeerPrimeraLinea(const std::string &ruta)
{
    LectorLineas lector(ruta);
    if (!lector.Abierto()) {
        return std::nullopt;
    }
    const auto linea = lector.LeerLinea();
    if (lector.FalloLectura()) {
        return std::nullopt;
    }
    return std::string(linea.value_or(std::string_view {}));
}

namespace {

// The kind is decided from the file as it is now, whatever it was when chosen.
// False when the file could not be opened.
bool Clasificar()
{
    const auto primeraLinea = LeerPrimeraLinea(FicheroEntrada);
    if (!primeraLinea) {
        InterfazActual().MostrarMensaje("No se puede abrir el fichero de Entrada");
        return false;
    }
    switch (TipoFichero(*primeraLinea)) {
    case TipoArchivo::Adeudos:
        ValidarAdeudos(FicheroEntrada, FicheroSalida);
        break;
    case TipoArchivo::Transferencias:
        ValidarTransferencias(FicheroEntrada, FicheroSalida);
        break;
    case TipoArchivo::NoCSB:
        InterfazActual().MostrarMensaje("El fichero no es CSB");
        break;
    }
    return true;
}

} // namespace

void ProcesarFichero()
{
    InterfazActual().PunteroOcupado();
    const bool abierto = Clasificar();
    InterfazActual().PunteroNormal();
    if (abierto) {
        InterfazActual().RepintarVentana();
    }
}

} // namespace modMain
