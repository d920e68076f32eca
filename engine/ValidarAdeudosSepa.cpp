#include "campos.h"
#include "comprobacion.h"

namespace motor {
namespace {

// Positions the records share: the record code and the data number.
constexpr Campo kDato { 8, 3 }; // "001" presenter, "002" creditor header, "003" individual debit

// Presenter, "01" with "001".
constexpr Campo kIdentificadorPresentador { 11, 35 };
constexpr Campo kNombrePresentador { 46, 70 };

// Creditor header, "02" with "002": it opens a block (one creditor and
// collection date) and, after a "05" or the "01", a creditor.
constexpr Campo kIdentificadorAcreedor { 11, 35 };
constexpr Campo kNombreAcreedor { 54, 70 };
constexpr Campo kIbanAcreedor { 266, 34 };

// Individual debit, "03" with "003".
constexpr Campo kReferenciaAdeudo { 11, 35 };
constexpr Campo kImporte { 89, 11 }; // in cents
constexpr Campo kBicDeudor { 108, 11 }; // blank: not given
constexpr Campo kNombreDeudor { 119, 70 };
constexpr Campo kTipoCuentaDeudor { 403, 1 }; // "B": a CCC follows, else an IBAN
constexpr Campo kIbanDeudor { 404, 34 };
// The CCC in place of the IBAN, in one piece: entity, office, DC, account number.
constexpr std::size_t kCcc = 404;

// Totals: of a block ("04"), of a creditor ("05"), of the file ("99"). The
// records counted include the totals record itself.
Comprobacion::CamposTotales Totales(std::string_view linea, std::size_t importe)
{
    return { Extraer(linea, { importe, 17 }), Extraer(linea, { importe + 17, 8 }),
        Extraer(linea, { importe + 25, 10 }) };
}
constexpr std::size_t kTotalesBloque = 46;
constexpr std::size_t kTotalesAcreedor = 38;
constexpr std::size_t kTotalesFichero = 3;

constexpr std::string_view kEntrada = "Error en linea ";

FalloCuenta CuentaDelDeudor(std::string_view linea, Comprobacion &comprobacion)
{
    if (CampoIgual(linea, kTipoCuentaDeudor, "B")) {
        return comprobacion.CccErroneo(linea, kCcc) ? FalloCuenta::DigitosCcc
                                                    : FalloCuenta::Ninguno;
    }
    return comprobacion.IbanErroneo(Extraer(linea, kIbanDeudor));
}

void ComprobarIdentificador(std::string_view linea, Campo campo, Campo nombre,
    std::string_view etiqueta, Comprobacion &comprobacion)
{
    const std::string_view identificador = Recortar(Extraer(linea, campo));
    if (remesa::IdentificadorAcreedor(identificador) == remesa::Juicio::Erroneo) [[unlikely]] {
        comprobacion.InformarRemesa({ kEntrada, remesa::Fallo::IdentificadorAcreedor,
            "Identificador del acreedor: ", identificador, etiqueta, Extraer(linea, nombre) });
    }
}

void ComprobarAcreedor(std::string_view linea, Comprobacion &comprobacion)
{
    const FalloCuenta fallo = comprobacion.IbanErroneo(Extraer(linea, kIbanAcreedor));
    if (fallo != FalloCuenta::Ninguno) {
        comprobacion.InformarCuenta({ kEntrada, fallo, true,
            "Identificador del acreedor: ", Extraer(linea, kIdentificadorAcreedor),
            "Nombre del acreedor: ", Extraer(linea, kNombreAcreedor) });
    }
    ComprobarIdentificador(
        linea, kIdentificadorAcreedor, kNombreAcreedor, "Nombre del acreedor: ", comprobacion);
}

// The order's account, then its amount and BIC; the amount as read, if it
// can be, for the sums.
std::optional<remesa::Centimos> ComprobarDeudor(std::string_view linea, Comprobacion &comprobacion)
{
    Comprobacion::Bloque bloque { kEntrada, CuentaDelDeudor(linea, comprobacion), false,
        "Referencia del adeudo: ", Extraer(linea, kReferenciaAdeudo),
        "Nombre del deudor: ", Extraer(linea, kNombreDeudor) };
    if (bloque.fallo != FalloCuenta::Ninguno) {
        comprobacion.InformarCuenta(bloque);
    }
    return comprobacion.ComprobarOrden(
        kEntrada, Extraer(linea, kImporte), Extraer(linea, kBicDeudor), bloque);
}

// Every line, with the running sums of the block, the creditor and the file.
class Remesa
{
public:
    explicit Remesa(Comprobacion &comprobacion)
        : comprobacion_(comprobacion)
    {
        comprobacion_.ComprobarRemesa();
    }

    void Linea(std::string_view linea)
    {
        if (!EsRegistro(linea)) [[unlikely]] {
            return;
        }
        ultimoRegistro_ = comprobacion_.NumLinea();
        const bool dato = linea.size() >= 10;
        if (EmpiezaPor(linea, "02") && dato && CampoIgual(linea, kDato, "002")) {
            bloque_ = {};
            enBloque_ = true;
            if (!enAcreedor_) {
                acreedor_ = {};
                enAcreedor_ = true;
            }
            Contar();
            ComprobarAcreedor(linea, comprobacion_);
            return;
        }
        Contar();
        if (EmpiezaPor(linea, "03") && dato && CampoIgual(linea, kDato, "003")) {
            const auto importe = ComprobarDeudor(linea, comprobacion_);
            bloque_.Orden(importe);
            acreedor_.Orden(importe);
            fichero_.Orden(importe);
        } else if (EmpiezaPor(linea, "04")) {
            comprobacion_.CompararTotales(kEntrada, Totales(linea, kTotalesBloque), bloque_);
            enBloque_ = false;
        } else if (EmpiezaPor(linea, "05")) {
            comprobacion_.CompararTotales(kEntrada, Totales(linea, kTotalesAcreedor), acreedor_);
            enAcreedor_ = false;
        } else if (EmpiezaPor(linea, "99")) {
            comprobacion_.CompararTotales(kEntrada, Totales(linea, kTotalesFichero), fichero_);
            conTotales_ = true;
        } else if (EmpiezaPor(linea, "01") && dato && CampoIgual(linea, kDato, "001")) {
            ComprobarIdentificador(linea, kIdentificadorPresentador, kNombrePresentador,
                "Nombre del presentador: ", comprobacion_);
        }
    }

    // A file read to its end without its general totals; nothing more is
    // said of a run that stopped before its end.
    void Fin()
    {
        if (!conTotales_) {
            comprobacion_.FaltanTotales(kEntrada, fichero_, ultimoRegistro_);
        }
    }

private:
    void Contar()
    {
        ++fichero_.registros;
        acreedor_.registros += enAcreedor_ ? 1 : 0;
        bloque_.registros += enBloque_ ? 1 : 0;
    }

    Comprobacion &comprobacion_;
    remesa::Ambito bloque_, acreedor_, fichero_;
    bool enBloque_ = false;
    bool enAcreedor_ = false;
    bool conTotales_ = false;
    unsigned long long ultimoRegistro_ = 0;
};

} // namespace

void ComprobarAdeudosSepa(Comprobacion &comprobacion)
{
    Remesa remesa(comprobacion);
    RecorrerFichero(comprobacion, remesa);
    remesa.Fin();
}

} // namespace motor
