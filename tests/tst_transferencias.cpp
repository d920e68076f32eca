#include "ayuda.h"

#include <gtest/gtest.h>

namespace {

using prueba::Juntar;
using prueba::Registro;
using prueba::Unir;

const std::string kSep = "* * * * * * * * * * * * * * * * * * *";
const std::string kColaIndividual = " - D\xEDgito de control de la cuenta erroneo";
const std::string kColaOrdenante = " - D\xEDgito de control de la cuenta de ordenante erroneo";

// Entity, office and account number of an account whose DC is "01".
const std::string kCuenta18 = "123456780123456789";

std::string Cabecera(
    const std::string &dc, const std::string &cuenta18 = kCuenta18, const std::string &dato = "001")
{
    return Registro(
        { { 1, "0356" }, { 5, "B12345678 " }, { 27, dato }, { 42, cuenta18 }, { 64, dc } });
}

std::string Individual(const std::string &dc, const std::string &cuenta18 = kCuenta18,
    const std::string &codigo = "0656", const std::string &dato = "010")
{
    return Registro({ { 1, codigo }, { 5, "B12345678 " }, { 15, "A87654321X" }, { 25, "ZZ" },
        { 27, dato }, { 42, cuenta18 }, { 60, "9999" }, { 64, dc } });
}

std::string LineaNombre(const std::string &nombre)
{
    return Registro({ { 1, "0656" }, { 5, "B12345678 " }, { 27, "011" }, { 30, nombre } });
}

std::vector<std::string> BloqueIndividual(int linea, const std::string &nombre)
{
    return { kSep, "Error en linea: " + std::to_string(linea) + kColaIndividual,
        "NIF/CIF del Proveedor: A87654321X", "Nombre proveedor: " + nombre, kSep };
}

std::vector<std::string> BloqueCabecera(int linea)
{
    return { kSep, "Error en linea: " + std::to_string(linea) + kColaOrdenante,
        "NIF Ordenante: B12345678 ", kSep };
}

std::vector<prueba::CasoComprobador> Casos()
{
    const std::string nombre = LineaNombre("  SUMINISTROS ALFA SL   ");
    return {
        { "all_accounts_right", { Cabecera("01"), Individual("01"), nombre, Individual("01") },
            {} },
        { "faulty_on_7_name_on_8_then_faulty_on_9",
            { Cabecera("01"), "", "x", "", "", "", Individual("00"), nombre, Individual("00"),
                nombre },
            Juntar({ BloqueIndividual(7, "SUMINISTROS ALFA SL"),
                BloqueIndividual(9, "SUMINISTROS ALFA SL") }) },
        { "first_line_is_a_faulty_header", { Cabecera("00") }, BloqueCabecera(1) },
        { "header_53_faulty", { Cabecera("01"), "53" + Cabecera("00").substr(2) },
            BloqueCabecera(2) },
        { "other_data_numbers_not_checked",
            { Cabecera("01"), Cabecera("00", kCuenta18, "002"),
                Individual("00", kCuenta18, "0656", "011") },
            {} },
        { "codes_0659_checked_0657_not",
            { Cabecera("01"), Individual("00", kCuenta18, "0657"),
                Individual("00", kCuenta18, "0659"), nombre },
            BloqueIndividual(3, "SUMINISTROS ALFA SL") },
        { "blank_office_skipped", { Cabecera("01"), Individual("00", "1234    0123456789") }, {} },
        { "line_ending_before_50_skipped", { Cabecera("01"), Individual("00").substr(0, 49) }, {} },
        { "letter_in_account_reported",
            { Cabecera("01"), Individual("01", "1234567801234X6789"), nombre },
            BloqueIndividual(2, "SUMINISTROS ALFA SL") },
        { "letter_in_account_stars_stored",
            { Cabecera("01"), Individual("**", "1234567801234X6789") }, {} },
        { "header_blank_account_reported", { Cabecera("01"), Cabecera("01", std::string(18, ' ')) },
            BloqueCabecera(2) },
        { "header_blank_account_stars_stored", { Cabecera("**", std::string(18, ' ')) }, {} },
        { "name_line_never_checked",
            { Cabecera("01"), Individual("00"), Individual("00"), Individual("01") },
            BloqueIndividual(2, "123456780123456789999900") },
        { "short_name_line_gives_label_alone", { Cabecera("01"), Individual("00"), "0656 SHORT" },
            BloqueIndividual(2, "") },
        { "faulty_last_line_gets_empty_name", { Cabecera("01"), Individual("00") },
            BloqueIndividual(2, "") },
        { "two_faulty_in_a_row",
            { Cabecera("01"), Individual("00"), nombre, Individual("00"), nombre },
            Juntar({ BloqueIndividual(2, "SUMINISTROS ALFA SL"),
                BloqueIndividual(4, "SUMINISTROS ALFA SL") }) },
        { "windows1252_name_carried_through",
            { Cabecera("01"), Individual("00"),
                LineaNombre("CA\xD1"
                            "ERIAS G\xD3MEZ") },
            BloqueIndividual(2,
                "CA\xD1"
                "ERIAS G\xD3MEZ") },
    };
}

class ValidarTransferenciasTest : public testing::TestWithParam<prueba::CasoComprobador>
{
};

TEST_P(ValidarTransferenciasTest, EscribeElLogEsperado)
{
    prueba::ComprobarCaso(motor::TipoArchivo::Transferencias, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Casos, ValidarTransferenciasTest, testing::ValuesIn(Casos()),
    [](const auto &info) { return info.param.nombre; });

} // namespace
