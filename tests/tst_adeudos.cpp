#include "ayuda.h"

#include <gtest/gtest.h>

namespace {

using prueba::Juntar;
using prueba::Registro;
using prueba::Unir;

const std::string kSep = "* * * * * * * * * * * * * * * * * * *";
const std::string kCuentaBuena = "12345678010123456789"; // computed DC "01"
const std::string kCuentaMala = "12345678000123456789";
const std::string kColaIndividual = " - D\xEDgito de control de la cuenta erroneo";
const std::string kColaOrdenante = " - D\xEDgito de control de la cuenta de ordenante erroneo";
const std::string kReferencia = "C\xF3"
                                "digo de referencia: ";
const std::string kRazon = "Nombre o raz\xF3n social: ";

std::string Presentador()
{
    return Registro({ { 1, "5180" }, { 5, "B12345678000" }, { 29, "PRESENTADOR SA" } });
}

std::string Cabecera(const std::string &codigo, const std::string &cuenta)
{
    return Registro(
        { { 1, codigo }, { 5, "B1234567 000" }, { 29, "  ORDENANTE SL  " }, { 69, cuenta } });
}

std::string Individual(const std::string &codigo, const std::string &cuenta,
    const std::string &nombre = "  PEREZ GOMEZ, ANA")
{
    return Registro({ { 1, codigo }, { 5, "B1234567 000" }, { 17, "REF 0001    " }, { 29, nombre },
        { 69, cuenta } });
}

std::vector<std::string> BloqueIndividual(int linea, const std::string &nombre = "PEREZ GOMEZ, ANA")
{
    return { kSep, "Error en linea " + std::to_string(linea) + kColaIndividual,
        kReferencia + "REF 0001    ", kRazon + nombre, kSep };
}

std::vector<prueba::CasoComprobador> Casos()
{
    const std::string blancos40(40, ' ');
    return {
        { "all_accounts_right",
            { Presentador(), Cabecera("5380", kCuentaBuena), Individual("5680", kCuentaBuena),
                Individual("5670", kCuentaBuena) },
            {} },
        { "individual_5680_wrong_dc_on_line_3",
            { Presentador(), Cabecera("5380", kCuentaBuena), Individual("5680", kCuentaMala) },
            BloqueIndividual(3) },
        { "individual_5670_wrong_dc", { Presentador(), Individual("5670", kCuentaMala) },
            BloqueIndividual(2) },
        { "header_53_wrong_dc",
            { Presentador(), Cabecera("5380", kCuentaMala), Individual("5680", kCuentaBuena) },
            { kSep, "Error en linea 2" + kColaOrdenante, "NIF Ordenante: B1234567 000",
                "Nombre Ordenante: ORDENANTE SL", kSep } },
        { "header_03_in_file_starting_51", { Presentador(), Cabecera("0380", kCuentaMala) },
            { kSep, "Error en linea 2" + kColaOrdenante, "NIF Ordenante: B1234567 000",
                "Nombre Ordenante: ORDENANTE SL", kSep } },
        { "faulty_header_does_not_stop_individuals",
            { Presentador(), Cabecera("5380", kCuentaMala), Individual("5680", kCuentaMala) },
            Juntar({ { kSep, "Error en linea 2" + kColaOrdenante, "NIF Ordenante: B1234567 000",
                         "Nombre Ordenante: ORDENANTE SL", kSep },
                BloqueIndividual(3) }) },
        { "unrecognised_codes_never_checked",
            { Presentador(), Individual("5681", kCuentaMala), Individual("5690", kCuentaMala),
                " " + Individual("5680", kCuentaMala), Individual("0180", kCuentaMala) },
            {} },
        { "first_line_never_checked", { Registro({ { 1, "5180" }, { 69, kCuentaMala } }) }, {} },
        { "blank_name_gives_label_alone",
            { Presentador(), Individual("5680", kCuentaMala, blancos40) },
            BloqueIndividual(2, "") },
        { "line_ends_before_29", { Presentador(), "5680    B1234567" },
            { kSep, "Error en linea 2" + kColaIndividual, kReferencia, kRazon, kSep } },
        { "line_ends_before_88_stored_stars_match",
            { Presentador(), Registro({ { 1, "5680" }, { 69, "12345678**01234" } }, 83) }, {} },
        { "line_ends_before_88_reported",
            { Presentador(),
                Registro({ { 1, "5680" }, { 17, "REF 0001" }, { 69, "12345678010123" } }, 82) },
            { kSep, "Error en linea 2" + kColaIndividual, kReferencia + "REF 0001    ", kRazon,
                kSep } },
        { "blank_in_account_is_faulty",
            { Presentador(), Individual("5680", "1234 678010123456789") }, BloqueIndividual(2) },
        { "tab_kept_by_trim", { Presentador(), Individual("5680", kCuentaMala, " \tANA\t ") },
            BloqueIndividual(2, "\tANA\t") },
        { "two_faulty_in_a_row",
            { Presentador(), Individual("5680", kCuentaMala), Individual("5680", kCuentaMala) },
            Juntar({ BloqueIndividual(2), BloqueIndividual(3) }) },
        { "line_number_counts_empty_and_unknown_lines",
            { Presentador(), "", "xx", "", "5681", "", "", "", "",
                Individual("5680", kCuentaMala) },
            BloqueIndividual(10) },
        { "windows1252_bytes_carried_through",
            { Presentador(),
                Individual("5680", kCuentaMala,
                    "MU\xD1OZ CASTA\xD1"
                    "EDA, JOS\xC9") },
            BloqueIndividual(2,
                "MU\xD1OZ CASTA\xD1"
                "EDA, JOS\xC9") },
    };
}

class ValidarAdeudosTest : public testing::TestWithParam<prueba::CasoComprobador>
{
};

TEST_P(ValidarAdeudosTest, EscribeElLogEsperado)
{
    prueba::ComprobarCaso(motor::TipoArchivo::Adeudos, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Casos, ValidarAdeudosTest, testing::ValuesIn(Casos()),
    [](const auto &info) { return info.param.nombre; });

TEST(ValidarAdeudos, SegundaLlamadaDaElMismoLog)
{
    prueba::CarpetaTemporal carpeta;
    const auto entrada = carpeta / "remesa.q19";
    const auto salida = carpeta / "remesa.log";
    prueba::EscribirBytes(entrada, Unir({ Presentador(), Individual("5680", kCuentaMala) }));
    modMain::ValidarAdeudos(entrada, salida);
    const std::string primero = prueba::LeerBytes(salida);
    modMain::ValidarAdeudos(entrada, salida);
    EXPECT_EQ(prueba::LeerBytes(salida), primero);
    EXPECT_EQ(modMain::NumLinea, 2);
}

} // namespace
