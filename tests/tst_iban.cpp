#include "ayuda.h"
#include "cuentas.h"
#include "proceso.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>

namespace {

using motor::FalloCuenta;

struct CasoIban
{
    const char *nombre;
    const char *campo;
    FalloCuenta fallo;
};

void PrintTo(const CasoIban &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class IbanTest : public testing::TestWithParam<CasoIban>
{
};

TEST_P(IbanTest, Comprueba)
{
    EXPECT_EQ(motor::ComprobarIBAN(GetParam().campo), GetParam().fallo);
    EXPECT_EQ(motor::ComprobarIBANGeneral(GetParam().campo), GetParam().fallo);
}

const CasoIban kCasos[] = {
    { "valid_spain", "ES9121000418450200051332", FalloCuenta::Ninguno },
    { "valid_germany", "DE89370400440532013000", FalloCuenta::Ninguno },
    { "valid_france_letter_in_account", "FR1420041010050500013M02606", FalloCuenta::Ninguno },
    { "valid_netherlands_letters", "NL91ABNA0417164300", FalloCuenta::Ninguno },
    { "valid_norway_shortest", "NO9386011117947", FalloCuenta::Ninguno },
    { "valid_portugal", "PT50000201231234567890154", FalloCuenta::Ninguno },
    { "lower_case_and_blanks_at_ends", "  es9121000418450200051332   ", FalloCuenta::Ninguno },
    { "wrong_mod_97", "DE88370400440532013000", FalloCuenta::DigitosIban },
    { "wrong_mod_97_spain", "ES9221000418450200051332", FalloCuenta::DigitosIban },
    { "wrong_spanish_dc_under_right_mod_97", "ES2921000418460200051332", FalloCuenta::DigitosCcc },
    { "one_character_short", "DE8937040044053201300", FalloCuenta::IbanNoValido },
    { "one_character_long", "NL91ABNA04171643001", FalloCuenta::IbanNoValido },
    { "unknown_country", "XX89370400440532013000", FalloCuenta::IbanNoValido },
    { "letter_in_check_digits", "DE8A370400440532013000", FalloCuenta::IbanNoValido },
    { "blank_inside", "DE89 3704 0044 0532 0130 00", FalloCuenta::IbanNoValido },
    { "hyphen_inside", "DE89-370400440532013000", FalloCuenta::IbanNoValido },
    { "windows_1252_letter",
        "ES91210004184502000513\xD1"
        "2",
        FalloCuenta::IbanNoValido },
    { "blank_field", "                                  ", FalloCuenta::IbanNoValido },
    { "empty_field", "", FalloCuenta::IbanNoValido },
    { "longer_than_any_iban", "ES9121000418450200051332000000000000000",
        FalloCuenta::IbanNoValido },
};

INSTANTIATE_TEST_SUITE_P(Casos, IbanTest, testing::ValuesIn(kCasos),
    [](const auto &info) { return std::string(info.param.nombre); });

// One valid IBAN for each country of the registry, its check digits computed
// outside the program (scripts/iban_paises.py): each is valid, and one
// character more or less makes it not valid. The longest (Russia, Saint
// Lucia, Malta, Seychelles) take MOD 97 past what 64 bits hold at once.
TEST(IbanPaises, CadaPaisDelRegistro)
{
    std::ifstream tabla(COTAREL_DATOS_PRUEBA "/iban_paises.txt");
    std::set<std::string> paises;
    for (std::string iban; std::getline(tabla, iban);) {
        SCOPED_TRACE(iban);
        paises.insert(iban.substr(0, 2));
        EXPECT_EQ(motor::ComprobarIBAN(iban), FalloCuenta::Ninguno);
        EXPECT_EQ(motor::ComprobarIBAN(iban + "7"), FalloCuenta::IbanNoValido);
        EXPECT_EQ(motor::ComprobarIBAN(iban.substr(0, iban.size() - 1)), FalloCuenta::IbanNoValido);
    }
    EXPECT_EQ(paises.size(), 89U);
}

// Every place of a Spanish IBAN and of a foreign one, with a character no
// IBAN holds, a letter where another character stood, in either case: the
// quick way for Spanish IBANs of digits gives the general rule's verdict,
// and so do the flat and the XML checkers in the faults they report.
struct Variante
{
    std::string iban;
    FalloCuenta general;
};

std::vector<Variante> Variantes()
{
    std::vector<Variante> variantes;
    for (const std::string base : { "ES9121000418450200051332", "DE89370400440532013000" }) {
        variantes.push_back({ base, FalloCuenta::Ninguno });
        std::string minusculas = base;
        minusculas[0] = static_cast<char>(minusculas[0] - 'A' + 'a');
        minusculas[1] = static_cast<char>(minusculas[1] - 'A' + 'a');
        variantes.push_back({ minusculas, FalloCuenta::Ninguno });
        for (std::size_t lugar = 0; lugar < base.size(); ++lugar) {
            for (const char otro : { '.', '-', '/', ' ', 'K', 'k' }) {
                std::string iban = base;
                iban[lugar] = otro;
                variantes.push_back({ iban, motor::ComprobarIBANGeneral(iban) });
            }
        }
    }
    return variantes;
}

TEST(IbanVariantes, MismoVeredictoPorCualquierCamino)
{
    const auto variantes = Variantes();
    for (const auto &[iban, general] : variantes) {
        SCOPED_TRACE(iban);
        EXPECT_EQ(motor::ComprobarIBAN(iban), general);
        if (iban.find_first_of(".-/") != std::string::npos || iban.find(' ', 1) < iban.size() - 1) {
            EXPECT_EQ(general, FalloCuenta::IbanNoValido);
        }
    }

    // Each variant in a record of a SEPA debit file and in a transaction of a
    // pain.008 file, on a line of its own: the faults the checkers report,
    // by line, are the general rule's.
    const auto sepa = [](std::initializer_list<std::pair<std::size_t, std::string>> campos) {
        return prueba::Registro(campos, 600);
    };
    std::vector<std::string> plano { sepa({ { 1, "01" }, { 3, "19143" }, { 8, "001" } }) };
    std::string xml = "<?xml version=\"1.0\"?>\n"
                      "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.001.02\">\n"
                      "<CstmrDrctDbtInitn><PmtInf>\n";
    std::map<unsigned long long, FalloCuenta> esperadoPlano, esperadoXml;
    for (std::size_t i = 0; i < variantes.size(); ++i) {
        plano.push_back(
            sepa({ { 1, "03" }, { 3, "19143" }, { 8, "003" }, { 404, variantes[i].iban } }));
        xml += "<DrctDbtTxInf><DbtrAcct><Id><IBAN>" + variantes[i].iban
            + "</IBAN></Id></DbtrAcct></DrctDbtTxInf>\n";
        if (variantes[i].general != FalloCuenta::Ninguno) {
            esperadoPlano[i + 2] = variantes[i].general;
            esperadoXml[i + 4] = variantes[i].general;
        }
    }
    xml += "</PmtInf></CstmrDrctDbtInitn></Document>\n";

    struct Anotadora final : motor::Interfaz
    {
        void MostrarMensaje(std::string_view) override { }
        void CuentaErronea(const motor::CuentaAnotada &cuenta) override
        {
            vistas[cuenta.linea] = cuenta.fallo;
        }
        std::map<unsigned long long, FalloCuenta> vistas;
    };
    prueba::CarpetaTemporal carpeta;
    for (const auto &[nombre, contenido, esperado] :
        { std::tuple { "sepa.q19", prueba::Unir(plano), esperadoPlano },
            std::tuple { "pain008.xml", xml, esperadoXml } }) {
        SCOPED_TRACE(nombre);
        prueba::EscribirBytes(carpeta / nombre, contenido);
        Anotadora interfaz;
        const auto resultado = motor::Procesar(carpeta / nombre, carpeta / "remesa.log", interfaz);
        EXPECT_EQ(resultado.cuentasComprobadas, variantes.size());
        EXPECT_EQ(interfaz.vistas, esperado);
    }
}

} // namespace
