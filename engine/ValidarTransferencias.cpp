#include "campos.h"
#include "comprobacion.h"

namespace motor {
namespace {

// Both records: the data number, and the account with its DC set apart.
constexpr Campo kDato { 27, 3 }; // "001" header, "010" individual
constexpr Campo kEntidad { 42, 4 };
constexpr Campo kOficina { 46, 4 };
constexpr Campo kCuenta { 50, 10 };
constexpr Campo kDC { 64, 2 }; // 60 to 63 are never read

// Ordering-party header, "03" or "53" with "001".
constexpr Campo kNifOrdenante { 5, 10 };
// Individual transfer order, "0656" or "0659" with "010".
constexpr Campo kNifProveedor { 15, 10 };
// The line after a faulty individual record.
constexpr Campo kNombreProveedor { 30, 36 };

constexpr std::string_view kEntrada = "Error en linea: ";

bool EsCabecera(std::string_view linea)
{
    return (EmpiezaPor(linea, "03") || EmpiezaPor(linea, "53")) && CampoIgual(linea, kDato, "001");
}

bool EsIndividual(std::string_view linea)
{
    return (EmpiezaPor(linea, "0656") || EmpiezaPor(linea, "0659"))
        && CampoIgual(linea, kDato, "010");
}

// An individual record without one of its three account fields names no account.
bool TieneCuenta(std::string_view linea)
{
    return !Recortar(Extraer(linea, kEntidad)).empty()
        && !Recortar(Extraer(linea, kOficina)).empty()
        && !Recortar(Extraer(linea, kCuenta)).empty();
}

bool CuentaErronea(std::string_view linea, Comprobacion &comprobacion)
{
    return comprobacion.CuentaErronea(Extraer(linea, kEntidad), Extraer(linea, kOficina),
        Extraer(linea, kCuenta), Extraer(linea, kDC));
}

void InformarCabecera(std::string_view linea, Comprobacion &comprobacion)
{
    comprobacion.InformarCuenta({ .entrada = kEntrada,
        .fallo = FalloCuenta::DigitosCcc,
        .ordenante = true,
        .etiqueta1 = "NIF Ordenante: ",
        .campo1 = Extraer(linea, kNifOrdenante),
        .camposTalCual = true });
}

// The supplier's name is on the line after the faulty record; that line is
// consumed here and never checked itself. A faulty record at the very end
// of the file gets the label alone.
void InformarIndividual(std::string_view linea, Comprobacion &comprobacion)
{
    const std::string nifProveedor(Extraer(linea, kNifProveedor));
    const unsigned long long numLinea = comprobacion.NumLinea();
    const auto lineaNombre = comprobacion.SiguienteLinea();
    if (comprobacion.Detenida()) {
        return;
    }
    comprobacion.InformarCuenta({ .entrada = kEntrada,
        .fallo = FalloCuenta::DigitosCcc,
        .ordenante = false,
        .etiqueta1 = "NIF/CIF del Proveedor: ",
        .campo1 = nifProveedor,
        .etiqueta2 = "Nombre proveedor: ",
        .campo2
        = lineaNombre ? Recortar(Extraer(*lineaNombre, kNombreProveedor)) : std::string_view {},
        .linea = numLinea,
        .camposTalCual = true });
}

void ComprobarLinea(std::string_view linea, Comprobacion &comprobacion)
{
    if (EsCabecera(linea) && CuentaErronea(linea, comprobacion)) {
        InformarCabecera(linea, comprobacion);
    }
    if (EsIndividual(linea) && TieneCuenta(linea) && CuentaErronea(linea, comprobacion)) {
        InformarIndividual(linea, comprobacion);
    }
}

} // namespace

void ComprobarTransferencias(Comprobacion &comprobacion)
{
    RecorrerFichero<ComprobarLinea>(comprobacion);
}

} // namespace motor
