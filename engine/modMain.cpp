#include "modMain.h"

#include "campos.h"
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

// The presenter's header of a SEPA debit file: "01", the norm's version, "001".
constexpr Campo kVersionSepa { 3, 5 };
constexpr Campo kDatoSepa { 8, 3 };

bool EsCabeceraSepa(std::string_view primeraLinea)
{
    return EmpiezaPor(primeraLinea, "01") && CampoIgual(primeraLinea, kDatoSepa, "001")
        && (CampoIgual(primeraLinea, kVersionSepa, "19143")
            || CampoIgual(primeraLinea, kVersionSepa, "19154")
            || CampoIgual(primeraLinea, kVersionSepa, "19445"));
}

} // namespace

// XML after blanks or after a UTF-16 byte-order mark; a UTF-8 one (Notepad's
// "UTF-8 with BOM") is dropped first. The SEPA files are told apart before
// the legacy ones, their first line starts "01" too.
TipoArchivo TipoFichero(std::string_view primeraLinea)
{
    if (primeraLinea.starts_with("\xFF\xFE") || primeraLinea.starts_with("\xFE\xFF")) {
        return TipoArchivo::Xml;
    }
    if (primeraLinea.starts_with("\xEF\xBB\xBF")) {
        primeraLinea.remove_prefix(3);
    }
    const std::size_t primero = primeraLinea.find_first_not_of(" \t");
    if (primero != std::string_view::npos && primeraLinea[primero] == '<') {
        return TipoArchivo::Xml;
    }
    if (EsCabeceraSepa(primeraLinea)) {
        return TipoArchivo::AdeudosSepa;
    }
    if (primeraLinea.starts_with("01ORD34145001")) {
        return TipoArchivo::TransferenciasSepa;
    }
    const std::string_view codigo = primeraLinea.substr(0, 2);
    if (codigo == "01" || codigo == "51") {
        return TipoArchivo::Adeudos;
    }
    if (codigo == "03") {
        return TipoArchivo::Transferencias;
    }
    return TipoArchivo::NoCSB;
}

TipoArchivo TipoDelInicio(std::string_view inicio)
{
    return TipoFichero(inicio.substr(0, inicio.find_first_of("\r\n")));
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
