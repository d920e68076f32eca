#include "cuentas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct CasoDC
{
    const char *nombre;
    const char *entidad;
    const char *oficina;
    const char *cuenta;
    const char *esperado;
};

// Test names carry the case; the parameter itself need not be printed.
void PrintTo(const CasoDC &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class CalcularDCTest : public testing::TestWithParam<CasoDC>
{
};

TEST_P(CalcularDCTest, DaLosDigitosDeControl)
{
    const CasoDC &caso = GetParam();
    EXPECT_EQ(motor::CalcularDC(caso.entidad, caso.oficina, caso.cuenta), caso.esperado);
    // Written in one piece, as records hold it, the account gives the same.
    const std::string ccc = std::string(caso.entidad) + caso.oficina + "**" + caso.cuenta;
    if (std::strlen(caso.entidad) == 4 && std::strlen(caso.oficina) == 4
        && std::strlen(caso.cuenta) == 10) {
        const auto dc = motor::DigitosDeControlSeguidos(ccc.c_str());
        EXPECT_EQ(std::string(dc.begin(), dc.end()), caso.esperado);
    }
}

const CasoDC kCasos[] = {
    { "worked_example", "1234", "5678", "0123456789", "01" },
    { "all_zeros_give_00", "0000", "0000", "0000000000", "00" },
    { "first_sum_one_over_multiple_of_11_gives_1", "0000", "0002", "0000000000", "10" },
    { "second_sum_one_gives_1", "0000", "0000", "1000000000", "01" },
    { "plain_digit_kept", "0000", "0000", "0000000001", "05" },
    { "real_account_45", "2100", "0418", "0200051332", "45" },
    { "real_account_06", "0049", "1500", "2810118833", "06" },
    { "characters_beyond_the_field_ignored", "12345", "56789", "01234567890", "01" },
    { "blank_in_entity", "12 4", "5678", "0123456789", "**" },
    { "blank_in_account", "1234", "5678", "01234 6789", "**" },
    { "account_of_nine_characters", "1234", "5678", "012345678", "**" },
    { "short_entity", "123", "5678", "0123456789", "**" },
    { "lower_case_letter", "1234", "5a78", "0123456789", "**" },
    { "upper_case_letter", "1234", "5678", "012345678X", "**" },
    { "sign_and_point", "+234", "5678", "01234.6789", "**" },
    { "all_empty", "", "", "", "**" },
};

INSTANTIATE_TEST_SUITE_P(Casos, CalcularDCTest, testing::ValuesIn(kCasos),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
