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

// Debits, Norma 19.14.
const std::string kPresentador = Sepa({ { 1, "01" }, { 3, "19143" }, { 8, "001" } });

std::string Acreedor(const std::string &iban)
{
    return Sepa({ { 1, "02" }, { 3, "19143" }, { 8, "002" }, { 11, "ES12000B12345678" },
        { 54, "  ACREEDOR SL" }, { 266, iban } });
}

std::string Deudor(const std::string &cuenta, const std::string &tipo = "A")
{
    return Sepa({ { 1, "03" }, { 3, "19143" }, { 8, "003" }, { 11, "REF-0001" },
        { 119, "PEREZ GOMEZ, ANA" }, { 403, tipo }, { 404, cuenta } });
}

std::vector<std::string> BloqueAcreedor(int linea, const std::string &cola)
{
    return { kSep, "Error en linea " + std::to_string(linea) + cola,
        "Identificador del acreedor: ES12000B12345678", "Nombre del acreedor: ACREEDOR SL", kSep };
}

std::vector<std::string> BloqueDeudor(int linea, const std::string &cola)
{
    return { kSep, "Error en linea " + std::to_string(linea) + cola,
        "Referencia del adeudo: REF-0001", "Nombre del deudor: PEREZ GOMEZ, ANA", kSep };
}

std::vector<prueba::CasoComprobador> CasosAdeudos()
{
    return {
        { "all_accounts_right",
            { kPresentador, Acreedor(kIbanBueno), Deudor(kIbanExtranjero),
                Deudor("12345678010123456789", "B") },
            {} },
        { "creditor_iban_digits_wrong", { kPresentador, Acreedor(kIbanMod97Malo) },
            BloqueAcreedor(2, kDigitosIbanOrdenante) },
        { "creditor_iban_blank", { kPresentador, Acreedor("") },
            BloqueAcreedor(2, kNoValidoOrdenante) },
        { "debtor_spanish_dc_wrong", { kPresentador, Acreedor(kIbanBueno), Deudor(kIbanDcMalo) },
            BloqueDeudor(3, kDc) },
        { "debtor_iban_not_valid", { kPresentador, Deudor("ES91 2100 0418") },
            BloqueDeudor(2, kNoValido) },
        { "debtor_ccc_marked_b_wrong_dc", { kPresentador, Deudor("12345678000123456789", "B") },
            BloqueDeudor(2, kDc) },
        { "line_ends_before_the_debtor_account",
            { kPresentador, Deudor(kIbanBueno).substr(0, 300) }, BloqueDeudor(2, kNoValido) },
        { "record_longer_than_600", { kPresentador, Deudor(kIbanDcMalo) + std::string(5000, '9') },
            BloqueDeudor(2, kDc) },
        { "other_records_not_checked",
            { kPresentador, Sepa({ { 1, "03" }, { 3, "19143" }, { 8, "004" }, { 404, "X" } }),
                Sepa({ { 1, "04" }, { 266, "X" } }), Sepa({ { 1, "99" }, { 404, "X" } }) },
            {} },
    };
}

// Transfers, Norma 34.14.
std::string Ordenante(const std::string &iban)
{
    return Sepa(
        { { 1, "01ORD34145001" }, { 14, "B12345678000" }, { 43, iban }, { 78, "ORDENANTE SA" } });
}

std::string Transferencia(const std::string &clase, const std::string &dato,
    const std::string &iban, const std::string &forma = " ")
{
    return Sepa({ { 1, "03" }, { 3, clase }, { 6, "34145" }, { 11, dato }, { 14, "FACTURA 17" },
        { 49, forma }, { 50, iban }, { 107, "GARCIA LOPEZ, MARIA DEL CARMEN DE LA SIERRA" } });
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
    return {
        { "all_accounts_right",
            { Ordenante(kIbanBueno), Transferencia("SCT", "002", kIbanExtranjero),
                Transferencia("OTR", "006", kIbanBueno, "A") },
            {} },
        { "ordering_party_iban_not_valid", { Ordenante("ES91") },
            { kSep, "Error en linea: 1" + kNoValidoOrdenante, "NIF Ordenante: B12345678000",
                "Nombre Ordenante: ORDENANTE SA", kSep } },
        { "transfer_iban_digits_wrong",
            { Ordenante(kIbanBueno), Transferencia("SCT", "002", kIbanMod97Malo) },
            BloqueBeneficiario(2, kDigitosIban, false) },
        { "transfer_spanish_dc_wrong",
            { Ordenante(kIbanBueno), Transferencia("SCT", "002", kIbanDcMalo) },
            BloqueBeneficiario(2, kDc, false) },
        { "other_transfer_to_account_name_of_35",
            { Ordenante(kIbanBueno), Transferencia("OTR", "006", kIbanDcMalo, "A") },
            BloqueBeneficiario(2, kDc, true) },
        { "other_transfer_by_cheque_not_checked",
            { Ordenante(kIbanBueno), Transferencia("OTR", "006", kIbanDcMalo, "B") }, {} },
        { "cheques_and_other_data_not_checked",
            { Ordenante(kIbanBueno), Transferencia("CHQ", "003", "X"),
                Transferencia("SCT", "003", "X") },
            {} },
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
