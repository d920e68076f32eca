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
constexpr Campo kImporte { 84, 11 }; // in cents
constexpr Campo kBic { 96, 11 }; // blank: not given
constexpr Campo kNombreBeneficiario { 107, 70 };
constexpr Campo kNombreBeneficiarioOtr { 107, 35 };

// Totals of a block ("04SCT", "04OTR") and of the file ("99ORD"), in the
// same places; the records counted include the totals record itself.
Comprobacion::CamposTotales Totales(std::string_view linea)
{
    return { Extraer(linea, { 6, 17 }), Extraer(linea, { 23, 8 }), Extraer(linea, { 31, 10 }) };
}

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

// The transfer's amount and BIC; the amount as read, if it can be, for the sums.
std::optional<remesa::Centimos> ComprobarOrden(
    std::string_view linea, Campo nombre, Comprobacion &comprobacion)
{
    return comprobacion.ComprobarOrden(kEntrada, Extraer(linea, kImporte), Extraer(linea, kBic),
        { kEntrada, FalloCuenta::Ninguno, false, "Referencia: ", Extraer(linea, kReferencia),
            "Nombre del beneficiario: ", Extraer(linea, nombre) });
}

// Every line, with the running sums of the block and of the file. Cheque
// blocks ("02CHQ") carry no account; their totals, and with them the file's,
// are not checked.
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
        if (EmpiezaPor(linea, "02")) {
            bloque_ = {};
            enBloque_ = true;
            conCheques_ = conCheques_ || CampoIgual(linea, kClase, "CHQ");
        }
        ++fichero_.registros;
        bloque_.registros += enBloque_ ? 1 : 0;
        if (Es(linea, "01", "ORD", "001")) {
            ComprobarOrdenante(linea, comprobacion_);
        } else if (Es(linea, "03", "SCT", "002")) {
            ComprobarBeneficiario(linea, kNombreBeneficiario, comprobacion_);
            Orden(ComprobarOrden(linea, kNombreBeneficiario, comprobacion_));
        } else if (Es(linea, "03", "OTR", "006")) {
            if (CampoIgual(linea, kFormaDePago, "A")) {
                ComprobarBeneficiario(linea, kNombreBeneficiarioOtr, comprobacion_);
            }
            Orden(ComprobarOrden(linea, kNombreBeneficiarioOtr, comprobacion_));
        } else if (EmpiezaPor(linea, "04")) {
            if (!CampoIgual(linea, kClase, "CHQ")) {
                comprobacion_.CompararTotales(kEntrada, Totales(linea), bloque_);
            }
            enBloque_ = false;
        } else if (EmpiezaPor(linea, "99") && CampoIgual(linea, kClase, "ORD")) {
            if (!conCheques_) {
                comprobacion_.CompararTotales(kEntrada, Totales(linea), fichero_);
            }
            conTotales_ = true;
        }
    }

    // A file read to its end without its general totals.
    void Fin()
    {
        if (!conTotales_) {
            comprobacion_.FaltanTotales(kEntrada, fichero_, ultimoRegistro_);
        }
    }

private:
    void Orden(std::optional<remesa::Centimos> importe)
    {
        bloque_.Orden(importe);
        fichero_.Orden(importe);
    }

    Comprobacion &comprobacion_;
    remesa::Ambito bloque_, fichero_;
    bool enBloque_ = false;
    bool conCheques_ = false;
    bool conTotales_ = false;
    unsigned long long ultimoRegistro_ = 0;
};

} // namespace

void ComprobarTransferenciasSepa(Comprobacion &comprobacion)
{
    Remesa remesa(comprobacion);
    RecorrerFichero(comprobacion, remesa);
    remesa.Fin();
}

} // namespace motor
