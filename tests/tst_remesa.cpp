// The rules a bank applies beyond the accounts, one table each: amounts,
// creditor identifiers, BICs, and amounts as the log shows them.
#include "remesa.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using motor::remesa::Centimos;
using motor::remesa::Juicio;

struct CasoImporte
{
    const char *nombre;
    const char *valor;
    std::optional<Centimos> leido; // as a decimal of XML
    bool valido; // an amount an order may have
};

void PrintTo(const CasoImporte &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class ImporteTest : public testing::TestWithParam<CasoImporte>
{
};

TEST_P(ImporteTest, LeidoYJuzgado)
{
    const auto leido = motor::remesa::DecimalXml(GetParam().valor);
    EXPECT_EQ(leido, GetParam().leido);
    EXPECT_EQ(leido && motor::remesa::ImporteValido(*leido), GetParam().valido);
}

const CasoImporte kImportes[] = {
    { "ten_cents", "0.10", 10, true },
    { "whole_euros", "10", 1000, true },
    { "one_decimal", "1.5", 150, true },
    { "three_decimals", "1.005", std::nullopt, false },
    { "decimal_comma", "37,08", std::nullopt, false },
    { "point_without_decimals", "1.", std::nullopt, false },
    { "point_first", ".5", std::nullopt, false },
    { "zero", "0.00", 0, false },
    { "largest", "999999999.99", 99999999999ULL, true },
    { "one_cent_too_many", "1000000000.00", 100000000000ULL, false },
    { "sign", "+5", std::nullopt, false },
    { "exponent", "1e3", std::nullopt, false },
    { "empty", "", std::nullopt, false },
    { "sixteen_whole_digits_for_a_total", "9999999999999999.99", 999999999999999999ULL, false },
    { "seventeen_whole_digits", "99999999999999999", std::nullopt, false },
};

INSTANTIATE_TEST_SUITE_P(Casos, ImporteTest, testing::ValuesIn(kImportes),
    [](const auto &info) { return std::string(info.param.nombre); });

struct CasoIdentificador
{
    const char *nombre;
    const char *valor;
    Juicio juicio;
};

void PrintTo(const CasoIdentificador &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class IdentificadorTest : public testing::TestWithParam<CasoIdentificador>
{
};

TEST_P(IdentificadorTest, Juzgado)
{
    EXPECT_EQ(motor::remesa::IdentificadorAcreedor(GetParam().valor), GetParam().juicio);
}

// Check digits computed outside the program.
const CasoIdentificador kIdentificadores[] = {
    { "spanish_right", "ES97000B12345678", Juicio::Correcto },
    { "german_right", "DE98ZZZ09999999999", Juicio::Correcto },
    { "lower_case_right", "es97000b12345678", Juicio::Correcto },
    { "business_code_not_in_the_check", "ES97XYZB12345678", Juicio::Correcto },
    { "wrong_check_digits", "ES12000B12345678", Juicio::Erroneo },
    { "wrong_national_part", "ES97000B12345679", Juicio::Erroneo },
    { "hyphen_in_national_part", "ES97000B-2345678", Juicio::Erroneo },
    { "seven_characters_not_judged", "ES97000", Juicio::NoJuzgado },
    { "no_country_not_judged", "1297000B12345678", Juicio::NoJuzgado },
    { "letter_in_check_digits_not_judged", "ES9X000B12345678", Juicio::NoJuzgado },
    { "free_text_not_judged", "ACREEDOR 1", Juicio::NoJuzgado },
};

INSTANTIATE_TEST_SUITE_P(Casos, IdentificadorTest, testing::ValuesIn(kIdentificadores),
    [](const auto &info) { return std::string(info.param.nombre); });

struct CasoBic
{
    const char *nombre;
    const char *valor;
    bool malFormado;
};

void PrintTo(const CasoBic &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class BicTest : public testing::TestWithParam<CasoBic>
{
};

TEST_P(BicTest, Juzgado)
{
    EXPECT_EQ(motor::remesa::BicMalFormado(GetParam().valor), GetParam().malFormado);
}

const CasoBic kBics[] = {
    { "eight", "CAIXESBB", false },
    { "eleven", "CAIXESBBXXX", false },
    { "digits_in_location_and_branch", "BSCHESM1234", false },
    { "padded_field", "CAIXESBB   ", false },
    { "blank_field_not_given", "           ", false },
    { "empty_not_given", "", false },
    { "lower_case", "caixesbb", true },
    { "nine", "CAIXESBBX", true },
    { "digit_in_bank_code", "CA1XESBB", true },
    { "digit_in_country", "CAIXE5BB", true },
    { "placeholder", "NOTPROVIDED", false },
    { "placeholder_with_blank", "NOT PROVID", true },
};

INSTANTIATE_TEST_SUITE_P(Casos, BicTest, testing::ValuesIn(kBics),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(Euros, ConPuntoDeMilesYComaDecimal)
{
    EXPECT_EQ(motor::remesa::Euros(0), "0,00");
    EXPECT_EQ(motor::remesa::Euros(5), "0,05");
    EXPECT_EQ(motor::remesa::Euros(123456), "1.234,56");
    EXPECT_EQ(motor::remesa::Euros(99999999999ULL), "999.999.999,99");
}

} // namespace
