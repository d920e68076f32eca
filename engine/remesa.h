// What a bank checks in an order file beyond its accounts: totals that add up
// to the orders they cover, counts of orders and records, creditor
// identifiers, amounts and BIC codes. The flat and the XML readers hand their
// values here; nothing is kept per order, only running sums per scope.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace motor::remesa {

using Centimos = unsigned long long;

// 999.999.999,99 euros: the largest amount of an order.
inline constexpr Centimos kMaxImporte = 99999999999ULL;

enum class Fallo {
    TotalImportes,
    NumeroOrdenes,
    NumeroRegistros,
    IdentificadorAcreedor,
    Importe,
    Bic,
    FaltaTotales,
};

// The phrase of the error line, in Windows-1252 as the log is written.
std::string_view Frase(Fallo fallo);

// A decimal of XML: digits, optionally a point and one or two digits; in
// cents, nothing when it is not of that form or does not fit.
std::optional<Centimos> DecimalXml(std::string_view valor);
// A field of a flat record that holds only digits: its value; nothing for
// any other character, a blank included, or an empty field.
std::optional<unsigned long long> Cifras(std::string_view campo);
// Whether a readable amount is one an order may have: above 0, at most
// kMaxImporte.
constexpr bool ImporteValido(Centimos centimos)
{
    return centimos > 0 && centimos <= kMaxImporte;
}

// Whether a creditor identifier (AT-02) is of the form judged, and right: two
// letters, two check digits, a business code of three characters, the
// national identifier; the check digits as an IBAN's over the national
// identifier, the country and the digits. Any other value is not judged.
enum class Juicio { NoJuzgado, Correcto, Erroneo };
Juicio IdentificadorAcreedor(std::string_view valor);

// A BIC given but not of the form: four letters, two letters for the
// country, two letters or digits, then optionally three letters or digits,
// upper case. Blank is not given.
bool BicMalFormado(std::string_view valor);

// Amounts as a person reads them: euros with a thousands point and a decimal
// comma, "1.234,56".
std::string Euros(Centimos centimos);

// The running sums of one scope (a block, a creditor, a payment, the file).
struct Ambito
{
    unsigned long long ordenes = 0;
    unsigned long long registros = 0;
    Centimos total = 0;
    bool totalIlegible = false; // an order whose amount could not be read

    void Orden(std::optional<Centimos> importe)
    {
        ++ordenes;
        if (importe) {
            total += *importe;
        } else {
            totalIlegible = true;
        }
    }
};

// A value of a totals field as the log shows it: the amount or number it
// reads as, else the text as it stands ("(en blanco)" for none).
std::string TalCual(std::string_view valor);

// The counts (NbOfTxs) and control sums (CtrlSum) of an ISO 20022 file: the
// group header's over every transaction of the file, each payment's over its
// own. Each is judged when its scope ends.
class TotalesXml
{
public:
    struct Falta
    {
        Fallo fallo;
        unsigned long long linea; // where the count or sum starts
        std::string enFichero, calculado;
    };

    void Pago() { pago_ = {}; }
    void Transaccion();
    // The transaction's amount as written; false when it is not one an
    // order may have (not a number, zero, too large, more than two decimals).
    bool Importe(std::string_view valor);
    void FinTransaccion();
    // A count or a control sum of the group header or of the payment.
    enum class Dato { Numero, Suma };
    void Declarado(bool deGrupo, Dato dato, std::string_view valor, unsigned long long linea);
    std::vector<Falta> FinPago() { return Juzgar(pago_); }
    std::vector<Falta> FinDocumento() { return Juzgar(grupo_); }

private:
    struct Declaracion
    {
        std::optional<std::string> valor; // nothing: not given
        unsigned long long linea = 0;
    };
    struct Alcance
    {
        Ambito sumas;
        Declaracion numero, suma;
    };
    static std::vector<Falta> Juzgar(const Alcance &alcance);

    Alcance grupo_, pago_;
    bool enTransaccion_ = false;
    std::optional<Centimos> importe_; // the open transaction's, once read
};

} // namespace motor::remesa
