#include "campos.h"
#include "comprobacion.h"

namespace motor {
namespace {

// Every record: its code at 1-2, its kind at 3-5 and the data number at 11-13.
constexpr Campo kClase { 3, 3 };
constexpr Campo kDato { 11, 3 };

// Ordering party, "01" "ORD" with "001".
constexpr Campo kNifOrdenante { 14, 12 };
constexpr Campo kIbanOrdenante { 43, 34 };
constexpr Campo kNombreOrdenante { 78, 70 };

// A transfer, "03" "SCT" with "002", or "03" "OTR" with "006".
constexpr Campo kReferencia { 14, 35 };
constexpr Campo kFormaDePago { 49, 1 }; // in "OTR" records, "A": to an account
constexpr Campo kIbanBeneficiario { 50, 34 };
constexpr Campo kNombreBeneficiario { 107, 70 };
constexpr Campo kNombreBeneficiarioOtr { 107, 35 };

constexpr std::string_view kEntrada = "Error en linea: ";

bool Es(
    std::string_view linea, const char (&codigo)[3], std::string_view clase, std::string_view dato)
{
    return EmpiezaPor(linea, codigo) && CampoIgual(linea, kClase, clase)
        && CampoIgual(linea, kDato, dato);
}

void ComprobarOrdenante(std::string_view linea, Comprobacion &comprobacion)
{
    const FalloCuenta fallo = comprobacion.IbanErroneo(Extraer(linea, kIbanOrdenante));
    if (fallo != FalloCuenta::Ninguno) {
        comprobacion.InformarCuenta(
            { kEntrada, fallo, true, "NIF Ordenante: ", Extraer(linea, kNifOrdenante),
                "Nombre Ordenante: ", Extraer(linea, kNombreOrdenante) });
    }
}

void ComprobarBeneficiario(std::string_view linea, Campo nombre, Comprobacion &comprobacion)
{
    const FalloCuenta fallo = comprobacion.IbanErroneo(Extraer(linea, kIbanBeneficiario));
    if (fallo != FalloCuenta::Ninguno) {
        comprobacion.InformarCuenta({ kEntrada, fallo, false, "Referencia: ",
            Extraer(linea, kReferencia), "Nombre del beneficiario: ", Extraer(linea, nombre) });
    }
}

// Cheque transfers ("CHQ") carry no account.
void ComprobarLinea(std::string_view linea, Comprobacion &comprobacion)
{
    if (Es(linea, "01", "ORD", "001")) {
        ComprobarOrdenante(linea, comprobacion);
    } else if (Es(linea, "03", "SCT", "002")) {
        ComprobarBeneficiario(linea, kNombreBeneficiario, comprobacion);
    } else if (Es(linea, "03", "OTR", "006") && CampoIgual(linea, kFormaDePago, "A")) {
        ComprobarBeneficiario(linea, kNombreBeneficiarioOtr, comprobacion);
    }
}

} // namespace

void ComprobarTransferenciasSepa(Comprobacion &comprobacion)
{
    RecorrerFichero<ComprobarLinea>(comprobacion);
}

} // namespace motor
