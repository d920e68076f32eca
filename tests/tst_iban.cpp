#include "cuentas.h"

#include <gtest/gtest.h>

#include <fstream>
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

} // namespace
