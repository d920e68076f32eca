#include "modMain.h"

#include "ficheros.h"
#include "interfaz.h"

namespace modMain {

std::string FicheroEntrada;
std::string FicheroSalida;
bool HayErrores = false;
double NumLinea = 0;
std::string DCCalculado;
unsigned long long NumCuentasErroneas = 0;

namespace {

Resultado ultimoProceso;

// The one place where the run state is written after a run. A run that did
// not get as far as opening both files leaves the previous outcome standing.
void Publicar(Resultado resultado)
{
    if (resultado.comprobado) {
        HayErrores = resultado.hayErrores;
        NumLinea = static_cast<double>(resultado.numLinea);
        NumCuentasErroneas = resultado.cuentasErroneas;
        DCCalculado = resultado.dcCalculado;
    }
    ultimoProceso = std::move(resultado);
}

} // namespace

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

void ValidarAdeudos(const std::string &entrada, const std::string &salida)
{
    Publicar(Comprobar(TipoArchivo::Adeudos, entrada, salida, InterfazActual()));
}

void ValidarTransferencias(const std::string &entrada, const std::string &salida)
{
    Publicar(Comprobar(TipoArchivo::Transferencias, entrada, salida, InterfazActual()));
}

void ProcesarFichero()
{
    Publicar(Procesar(FicheroEntrada, FicheroSalida, InterfazActual()));
}

const Resultado &UltimoProceso()
{
    return ultimoProceso;
}

} // namespace modMain
