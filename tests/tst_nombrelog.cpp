#include "DerivarNombreLog.h"

#include <gtest/gtest.h>

namespace {

struct CasoNombre
{
    const char *nombre;
    const char *entrada;
    const char *log;
};

// Test names carry the case; the parameter itself need not be printed.
void PrintTo(const CasoNombre &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class DerivarNombreLogTest : public testing::TestWithParam<CasoNombre>
{
};

TEST_P(DerivarNombreLogTest, DaLaRutaDelLog)
{
    EXPECT_EQ(motor::DerivarNombreLog(GetParam().entrada), GetParam().log);
}

const CasoNombre kCasos[] = {
    { "short_extension_replaced", R"(C:\remesas\mayo.txt)", R"(C:\remesas\mayo.log)" },
    { "no_extension", R"(C:\remesas\mayo)", R"(C:\remesas\mayo.log)" },
    { "four_character_extension_kept", R"(C:\remesas\mayo.q19x)", R"(C:\remesas\mayo.q19x.log)" },
    { "log_input_gets_1", R"(C:\remesas\mayo.log)", R"(C:\remesas\mayo.log1)" },
    { "cut_at_first_dot_of_name", R"(C:\remesas\mayo.tar.gz)", R"(C:\remesas\mayo.log)" },
    { "dot_in_folder_left_alone", R"(C:\mis.datos\mayo.txt)", R"(C:\mis.datos\mayo.log)" },
    { "dot_only_in_folder", R"(C:\mis.datos\mayo)", R"(C:\mis.datos\mayo.log)" },
    { "upper_case_log_input_gets_1", R"(C:\remesas\MAYO.LOG)", R"(C:\remesas\MAYO.log1)" },
    { "unix_path", "/home/ana/remesas/mayo.q19", "/home/ana/remesas/mayo.log" },
    { "unix_dot_in_folder", "/home/ana/v1.2/mayo.txt", "/home/ana/v1.2/mayo.log" },
    { "blanks_in_path", "/home/ana/mis remesas/mayo junio.txt",
        "/home/ana/mis remesas/mayo junio.log" },
    { "name_shorter_than_four", "/tmp/a.b", "/tmp/a.log" },
    { "accented_extension_counts_characters", "/tmp/x.ñañ", "/tmp/x.log" },
    { "accented_long_extension_kept", "/tmp/x.ñañañ", "/tmp/x.ñañañ.log" },
    { "empty_path", "", ".log" },
};

INSTANTIATE_TEST_SUITE_P(Casos, DerivarNombreLogTest, testing::ValuesIn(kCasos),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
