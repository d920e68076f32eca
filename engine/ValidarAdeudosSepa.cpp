#include "campos.h"
#include "comprobacion.h"

namespace motor {
namespace {

// Positions "02" and "03" records share: the record code and the data number.
constexpr Campo kDato { 8, 3 }; // "002" creditor header, "003" individual debit

// Creditor header, "02" with "002".
constexpr Campo kIdentificadorAcreedor { 11, 35 };
constexpr Campo kNombreAcreedor { 54, 70 };
constexpr Campo kIbanAcreedor { 266, 34 };

// Individual debit, "03" with "003".
constexpr Campo kReferenciaAdeudo { 11, 35 };
constexpr Campo kNombreDeudor { 119, 70 };
constexpr Campo kTipoCuentaDeudor { 403, 1 }; // "B": a CCC follows, else an IBAN
constexpr Campo kIbanDeudor { 404, 34 };
// The CCC in place of the IBAN, in one piece: entity, office, DC, account number.
constexpr std::size_t kCcc = 404;

constexpr std::string_view kEntrada = "Error en linea ";

FalloCuenta CuentaDelDeudor(std::string_view linea, Comprobacion &comprobacion)
{
    if (CampoIgual(linea, kTipoCuentaDeudor, "B")) {
        return comprobacion.CccErroneo(linea, kCcc) ? FalloCuenta::DigitosCcc
                                                    : FalloCuenta::Ninguno;
    }
    return comprobacion.IbanErroneo(Extraer(linea, kIbanDeudor));
}

void ComprobarAcreedor(std::string_view linea, Comprobacion &comprobacion)
{
    const FalloCuenta fallo = comprobacion.IbanErroneo(Extraer(linea, kIbanAcreedor));
    if (fallo != FalloCuenta::Ninguno) {
        comprobacion.InformarCuenta({ kEntrada, fallo, true,
            "Identificador del acreedor: ", Extraer(linea, kIdentificadorAcreedor),
            "Nombre del acreedor: ", Extraer(linea, kNombreAcreedor) });
    }
}

void ComprobarDeudor(std::string_view linea, Comprobacion &comprobacion)
{
    const FalloCuenta fallo = CuentaDelDeudor(linea, comprobacion);
    if (fallo != FalloCuenta::Ninguno) {
        comprobacion.InformarCuenta(
            { kEntrada, fallo, false, "Referencia del adeudo: ", Extraer(linea, kReferenciaAdeudo),
                "Nombre del deudor: ", Extraer(linea, kNombreDeudor) });
    }
}

void ComprobarLinea(std::string_view linea, Comprobacion &comprobacion)
{
    if (EmpiezaPor(linea, "02") && CampoIgual(linea, kDato, "002")) {
        ComprobarAcreedor(linea, comprobacion);
    } else if (EmpiezaPor(linea, "03") && CampoIgual(linea, kDato, "003")) {
        ComprobarDeudor(linea, comprobacion);
    }
}

} // namespace

void ComprobarAdeudosSepa(Comprobacion &comprobacion)
{
    RecorrerFichero<ComprobarLinea>(comprobacion);
}

} // namespace motor
