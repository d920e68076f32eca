// The SEPA flat-file checkers: Norma 19.14 debits and Norma 34.14 transfers,
// 600-character records whose accounts are IBANs.
#include "ayuda.h"

#include <gtest/gtest.h>

namespace {

using prueba::Registro;

const std::string kSep = "* * * * * * * * * * * * * * * * * * *";
const std::string kIbanBueno = "ES9121000418450200051332";
const std::string kIbanExtranjero = "DE89370400440532013000";
const std::string kIbanMod97Malo = "ES9221000418450200051332";
const std::string kIbanDcMalo = "ES2921000418460200051332";
const std::string kNoValido = " - IBAN de la cuenta no v\xE1lido";
const std::string kNoValidoOrdenante = " - IBAN de la cuenta de ordenante no v\xE1lido";
const std::string kDigitosIban = " - D\xEDgitos de control del IBAN erroneos";
const std::string kDigitosIbanOrdenante = " - D\xEDgitos de control del IBAN de ordenante erroneos";
const std::string kDc = " - D\xEDgito de control de la cuenta erroneo";

std::string Sepa(std::initializer_list<std::pair<std::size_t, std::string>> campos)
{
    return Registro(campos, 600);
}

// Debits, Norma 19.14. Every order is of 123,45 euros unless a case says
// otherwise; Cerrado() ends a file with the totals of a right one.
const std::string kIdAcreedor = "ES97000B12345678"; // check digits computed outside the program
const std::string kPresentador = Sepa(
    { { 1, "01" }, { 3, "19143" }, { 8, "001" }, { 11, kIdAcreedor }, { 46, "EMPRESA SL" } });

std::string Acreedor(const std::string &iban, const std::string &id = kIdAcreedor)
{
    return Sepa({ { 1, "02" }, { 3, "19143" }, { 8, "002" }, { 11, id }, { 54, "  ACREEDOR SL" },
        { 266, iban } });
}

std::string Deudor(const std::string &cuenta, const std::string &tipo = "A",
    const std::string &importe = "00000012345", const std::string &bic = "")
{
    return Sepa({ { 1, "03" }, { 3, "19143" }, { 8, "003" }, { 11, "REF-0001" }, { 89, importe },
        { 108, bic }, { 119, "PEREZ GOMEZ, ANA" }, { 403, tipo }, { 404, cuenta } });
}

std::string Cifras(unsigned long long valor, std::size_t ancho)
{
    std::string texto = std::to_string(valor);
    return std::string(ancho - texto.size(), '0') + texto;
}

// Totals of a block ("04"), a creditor ("05") and the file ("99"), in cents.
std::string TotalesBloque(unsigned long long suma, unsigned ordenes, unsigned registros)
{
    return Sepa({ { 1, "04" }, { 3, kIdAcreedor }, { 46, Cifras(suma, 17) },
        { 63, Cifras(ordenes, 8) }, { 71, Cifras(registros, 10) } });
}
std::string TotalesAcreedor(unsigned long long suma, unsigned ordenes, unsigned registros)
{
    return Sepa({ { 1, "05" }, { 3, kIdAcreedor }, { 38, Cifras(suma, 17) },
        { 55, Cifras(ordenes, 8) }, { 63, Cifras(registros, 10) } });
}
std::string TotalesFichero(unsigned long long suma, unsigned ordenes, unsigned registros)
{
    return Sepa({ { 1, "99" }, { 3, Cifras(suma, 17) }, { 20, Cifras(ordenes, 8) },
        { 28, Cifras(registros, 10) } });
}

// The lines of a file with one creditor, one block, every order of 123,45,
// closed with their totals.
std::vector<std::string> Cerrado(std::vector<std::string> lineas)
{
    unsigned ordenes = 0;
    unsigned enBloque = 0;
    for (const auto &linea : lineas) {
        ordenes += linea.starts_with("0319143003") ? 1 : 0;
        enBloque += linea.starts_with("02") || enBloque > 0 ? 1 : 0;
    }
    if (enBloque > 0) {
        lineas.push_back(TotalesBloque(12345ULL * ordenes, ordenes, enBloque + 1));
        lineas.push_back(TotalesAcreedor(12345ULL * ordenes, ordenes, enBloque + 2));
    }
    lineas.push_back(
        TotalesFichero(12345ULL * ordenes, ordenes, static_cast<unsigned>(lineas.size()) + 1));
    return lineas;
}

std::vector<std::string> BloqueAcreedor(int linea, const std::string &cola)
{
    return { kSep, "Error en linea " + std::to_string(linea) + cola,
        "Identificador del acreedor: " + kIdAcreedor, "Nombre del acreedor: ACREEDOR SL", kSep };
}

std::vector<std::string> BloqueDeudor(int linea, const std::string &cola)
{
    return { kSep, "Error en linea " + std::to_string(linea) + cola,
        "Referencia del adeudo: REF-0001", "Nombre del deudor: PEREZ GOMEZ, ANA", kSep };
}

// A totals fault: what the record says and what was counted.
std::vector<std::string> BloqueTotal(const std::string &entrada, int linea,
    const std::string &frase, const std::string &enFichero, const std::string &calculado)
{
    return { kSep, entrada + std::to_string(linea) + " - " + frase,
        "Valor en el fichero: " + enFichero, "Valor calculado: " + calculado, kSep };
}

const std::string kTotal = "Total de importes erroneo";
const std::string kOrdenes = "N\xFAmero de \xF3rdenes erroneo";
const std::string kRegistros = "N\xFAmero de registros erroneo";
const std::string kImporte = " - Importe de la orden erroneo";
const std::string kBic = " - BIC erroneo";

std::vector<prueba::CasoComprobador> CasosAdeudos()
{
    using prueba::Juntar;
    return {
        { "all_accounts_right",
            Cerrado({ kPresentador, Acreedor(kIbanBueno), Deudor(kIbanExtranjero),
                Deudor("12345678010123456789", "B") }),
            {} },
        { "creditor_iban_digits_wrong", Cerrado({ kPresentador, Acreedor(kIbanMod97Malo) }),
            BloqueAcreedor(2, kDigitosIbanOrdenante) },
        { "creditor_iban_blank", Cerrado({ kPresentador, Acreedor("") }),
            BloqueAcreedor(2, kNoValidoOrdenante) },
        { "debtor_spanish_dc_wrong",
            Cerrado({ kPresentador, Acreedor(kIbanBueno), Deudor(kIbanDcMalo) }),
            BloqueDeudor(3, kDc) },
        { "debtor_iban_not_valid", Cerrado({ kPresentador, Deudor("ES91 2100 0418") }),
            BloqueDeudor(2, kNoValido) },
        { "debtor_ccc_marked_b_wrong_dc",
            Cerrado({ kPresentador, Deudor("12345678000123456789", "B") }), BloqueDeudor(2, kDc) },
        { "line_ends_before_the_debtor_account",
            Cerrado({ kPresentador, Deudor(kIbanBueno).substr(0, 300) }),
            BloqueDeudor(2, kNoValido) },
        { "record_longer_than_600",
            Cerrado({ kPresentador, Deudor(kIbanDcMalo) + std::string(5000, '9') }),
            BloqueDeudor(2, kDc) },
        // Records of other codes, and lines that hold only blanks, which are
        // no records.
        { "other_records_counted_blank_lines_not",
            { kPresentador, Sepa({ { 1, "03" }, { 3, "19143" }, { 8, "004" }, { 404, "X" } }),
                std::string(600, ' '), "", TotalesFichero(0, 0, 3) },
            {} },
        { "two_blocks_two_creditors_totals_right",
            { kPresentador, Acreedor(kIbanBueno), Deudor(kIbanBueno),
                Deudor(kIbanBueno, "A", "00000000010"), TotalesBloque(12355, 2, 4),
                Acreedor(kIbanBueno), Deudor(kIbanBueno), TotalesBloque(12345, 1, 3),
                TotalesAcreedor(24700, 3, 8), Acreedor(kIbanBueno), Deudor(kIbanBueno),
                TotalesBloque(12345, 1, 3), TotalesAcreedor(12345, 1, 4),
                TotalesFichero(37045, 4, 14) },
            {} },
        // At the block's first order and at its last.
        { "amount_zero_and_bic_malformed",
            Cerrado({ kPresentador, Acreedor(kIbanBueno), Deudor(kIbanBueno, "A", "00000000000"),
                Deudor(kIbanBueno, "A", "00000012345", "CAIXESB") }),
            Juntar({ BloqueDeudor(3, kImporte), BloqueDeudor(4, kBic),
                BloqueTotal("Error en linea ", 5, kTotal, "246,90", "123,45"),
                BloqueTotal("Error en linea ", 6, kTotal, "246,90", "123,45"),
                BloqueTotal("Error en linea ", 7, kTotal, "246,90", "123,45") }) },
        // The sums over an amount that cannot be read are not judged; the
        // counts still are.
        { "amount_not_a_number_sums_not_judged",
            { kPresentador, Acreedor(kIbanBueno), Deudor(kIbanDcMalo, "A", "0000001234A"),
                TotalesBloque(99, 2, 3), TotalesAcreedor(99, 1, 4), TotalesFichero(99, 1, 6) },
            Juntar({ BloqueDeudor(3, kDc), BloqueDeudor(3, kImporte),
                BloqueTotal("Error en linea ", 4, kOrdenes, "2", "1") }) },
        { "block_creditor_and_file_totals_wrong",
            { kPresentador, Acreedor(kIbanBueno), Deudor(kIbanBueno), TotalesBloque(12346, 0, 9),
                Sepa({ { 1, "05" }, { 38, "NO ES UN NUMERO" } }), TotalesFichero(12345, 1, 5) },
            Juntar({ BloqueTotal("Error en linea ", 4, kTotal, "123,46", "123,45"),
                BloqueTotal("Error en linea ", 4, kOrdenes, "0", "1"),
                BloqueTotal("Error en linea ", 4, kRegistros, "9", "3"),
                BloqueTotal("Error en linea ", 5, kTotal, "NO ES UN NUMERO", "123,45"),
                BloqueTotal("Error en linea ", 5, kOrdenes, "(en blanco)", "1"),
                BloqueTotal("Error en linea ", 5, kRegistros, "(en blanco)", "4"),
                BloqueTotal("Error en linea ", 6, kRegistros, "5", "6") }) },
        { "file_without_totals_reported_at_its_last_record",
            { kPresentador, Acreedor(kIbanBueno), Deudor(kIbanBueno), TotalesBloque(12345, 1, 3),
                TotalesAcreedor(12345, 1, 4), "" },
            { kSep, "Error en linea 5 - Falta el registro de totales", "Registros contados: 5",
                "\xD3rdenes contadas: 1", kSep } },
        { "creditor_identifiers_wrong_in_presenter_and_creditor",
            Cerrado({ Sepa({ { 1, "01" }, { 3, "19143" }, { 8, "001" }, { 11, "ES12000B12345678" },
                          { 46, "EMPRESA SL" } }),
                Acreedor(kIbanBueno, "es12000b12345678") }),
            { kSep, "Error en linea 1 - Identificador del acreedor erroneo",
                "Identificador del acreedor: ES12000B12345678",
                "Nombre del presentador: EMPRESA SL", kSep, kSep,
                "Error en linea 2 - Identificador del acreedor erroneo",
                "Identificador del acreedor: es12000b12345678", "Nombre del acreedor: ACREEDOR SL",
                kSep } },
    };
}

// Transfers, Norma 34.14.
std::string Ordenante(const std::string &iban)
{
    return Sepa(
        { { 1, "01ORD34145001" }, { 14, "B12345678000" }, { 43, iban }, { 78, "ORDENANTE SA" } });
}

std::string Transferencia(const std::string &clase, const std::string &dato,
    const std::string &iban, const std::string &forma = " ",
    const std::string &importe = "00000012345", const std::string &bic = "")
{
    return Sepa({ { 1, "03" }, { 3, clase }, { 6, "34145" }, { 11, dato }, { 14, "FACTURA 17" },
        { 49, forma }, { 50, iban }, { 84, importe }, { 96, bic },
        { 107, "GARCIA LOPEZ, MARIA DEL CARMEN DE LA SIERRA" } });
}

// Totals of a block ("04SCT"...) or of the file ("99ORD"), in cents.
std::string Totales34(
    const std::string &codigo, unsigned long long suma, unsigned ordenes, unsigned registros)
{
    return Sepa({ { 1, codigo }, { 6, Cifras(suma, 17) }, { 23, Cifras(ordenes, 8) },
        { 31, Cifras(registros, 10) } });
}

// The lines closed with the file's totals, every order of 123,45.
std::vector<std::string> Cerrado34(std::vector<std::string> lineas)
{
    unsigned ordenes = 0;
    for (const auto &linea : lineas) {
        ordenes += linea.starts_with("03SCT34145002") || linea.starts_with("03OTR34145006");
    }
    lineas.push_back(
        Totales34("99ORD", 12345ULL * ordenes, ordenes, static_cast<unsigned>(lineas.size()) + 1));
    return lineas;
}

std::vector<std::string> BloqueBeneficiario(int linea, const std::string &cola, bool otr)
{
    return { kSep, "Error en linea: " + std::to_string(linea) + cola, "Referencia: FACTURA 17",
        std::string("Nombre del beneficiario: ")
            + (otr ? "GARCIA LOPEZ, MARIA DEL CARMEN DE L"
                   : "GARCIA LOPEZ, MARIA DEL CARMEN DE LA SIERRA"),
        kSep };
}

std::vector<prueba::CasoComprobador> CasosTransferencias()
{
    using prueba::Juntar;
    const std::string bloqueSct = Sepa({ { 1, "02SCT34145" } });
    return {
        { "all_accounts_right",
            Cerrado34({ Ordenante(kIbanBueno), Transferencia("SCT", "002", kIbanExtranjero),
                Transferencia("OTR", "006", kIbanBueno, "A") }),
            {} },
        { "ordering_party_iban_not_valid", Cerrado34({ Ordenante("ES91") }),
            { kSep, "Error en linea: 1" + kNoValidoOrdenante, "NIF Ordenante: B12345678000",
                "Nombre Ordenante: ORDENANTE SA", kSep } },
        { "transfer_iban_digits_wrong",
            Cerrado34({ Ordenante(kIbanBueno), Transferencia("SCT", "002", kIbanMod97Malo) }),
            BloqueBeneficiario(2, kDigitosIban, false) },
        { "transfer_spanish_dc_wrong",
            Cerrado34({ Ordenante(kIbanBueno), Transferencia("SCT", "002", kIbanDcMalo) }),
            BloqueBeneficiario(2, kDc, false) },
        { "other_transfer_to_account_name_of_35",
            Cerrado34({ Ordenante(kIbanBueno), Transferencia("OTR", "006", kIbanDcMalo, "A") }),
            BloqueBeneficiario(2, kDc, true) },
        { "other_transfer_by_cheque_not_checked",
            Cerrado34({ Ordenante(kIbanBueno), Transferencia("OTR", "006", kIbanDcMalo, "B") }),
            {} },
        { "block_totals_right_then_wrong_at_the_last_line",
            { Ordenante(kIbanBueno), bloqueSct, Transferencia("SCT", "002", kIbanBueno),
                Totales34("04SCT", 12345, 1, 3), Totales34("99ORD", 12345, 2, 5) },
            BloqueTotal("Error en linea: ", 5, kOrdenes, "2", "1") },
        { "amount_zero_bic_malformed_and_block_sum",
            { Ordenante(kIbanBueno), bloqueSct,
                Transferencia("SCT", "002", kIbanBueno, " ", "00000000000", "CAIXESBBXX"),
                Totales34("04SCT", 12345, 1, 3), Totales34("99ORD", 0, 1, 5) },
            Juntar({ BloqueBeneficiario(3, kImporte, false), BloqueBeneficiario(3, kBic, false),
                BloqueTotal("Error en linea: ", 4, kTotal, "123,45", "0,00") }) },
        // A file with cheques: neither the cheque block's totals nor the
        // file's are checked.
        { "cheques_leave_totals_unchecked",
            { Ordenante(kIbanBueno), Sepa({ { 1, "02CHQ34145" } }),
                Transferencia("CHQ", "003", "X"), Sepa({ { 1, "04CHQ" }, { 6, "X" } }),
                Transferencia("SCT", "003", "X"), Sepa({ { 1, "99ORD" }, { 6, "X" } }) },
            {} },
        { "cheques_without_file_totals",
            { Ordenante(kIbanBueno), Sepa({ { 1, "02CHQ34145" } }),
                Transferencia("CHQ", "003", "X") },
            { kSep, "Error en linea: 3 - Falta el registro de totales", "Registros contados: 3",
                "\xD3rdenes contadas: 0", kSep } },
    };
}

class AdeudosSepaTest : public testing::TestWithParam<prueba::CasoComprobador>
{
};

TEST_P(AdeudosSepaTest, EscribeElLogEsperado)
{
    prueba::ComprobarCaso(motor::TipoArchivo::AdeudosSepa, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Casos, AdeudosSepaTest, testing::ValuesIn(CasosAdeudos()),
    [](const auto &info) { return info.param.nombre; });

class TransferenciasSepaTest : public testing::TestWithParam<prueba::CasoComprobador>
{
};

TEST_P(TransferenciasSepaTest, EscribeElLogEsperado)
{
    prueba::ComprobarCaso(motor::TipoArchivo::TransferenciasSepa, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Casos, TransferenciasSepaTest, testing::ValuesIn(CasosTransferencias()),
    [](const auto &info) { return info.param.nombre; });

} // namespace
