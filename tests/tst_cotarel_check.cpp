// cotarel-check run as a script would run it: exit status, standard output,
// standard error and the logs it leaves.
#include "ayuda.h"
#include "ejecutar.h"
#include "version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using prueba::Ejecucion;

Ejecucion Ejecutar(const std::vector<std::string> &argumentos,
    const prueba::CarpetaTemporal &carpeta, const prueba::Redirecciones &redirecciones = {})
{
    return prueba::EjecutarPrograma(COTAREL_CHECK, argumentos, carpeta, redirecciones);
}

const prueba::RutaPrueba kDatos(COTAREL_DATOS_PRUEBA);

// Names that are not plain text come out of --formato=json whole: escaped
// as JSON, and each byte that is not valid UTF-8 as \udc80-\udcff.
struct CasoNombre
{
    const char *nombre;
    std::string fichero;
    std::string enJson;
    bool enWindows = false; // a name Windows allows
};

void PrintTo(const CasoNombre &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class NombreJsonTest : public testing::TestWithParam<CasoNombre>
{
};

TEST_P(NombreJsonTest, RutaEnJson)
{
#ifdef _WIN32
    if (!GetParam().enWindows) {
        GTEST_SKIP() << "not a name Windows allows";
    }
#endif
    prueba::CarpetaTemporal carpeta;
    const auto ruta = carpeta / (GetParam().fichero + ".q19");
    std::filesystem::copy_file(kDatos / "adeudos.q19", ruta);
    const Ejecucion salida = Ejecutar({ "--formato=json", ruta }, carpeta);
    const std::string esperado = R"({"ruta":")" + prueba::EnJson((carpeta / "").string())
        + GetParam().enJson + R"(.q19","tipo":"adeudos")";
    EXPECT_EQ(salida.salida.substr(0, esperado.size()), esperado);
    EXPECT_EQ(salida.salida.find('\n'), salida.salida.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(Nombres, NombreJsonTest,
    testing::Values(CasoNombre { "tab", "a\tb", R"(a\tb)" },
        CasoNombre { "newline", "a\nb", R"(a\nb)" },
        CasoNombre { "quote_and_backslash", "a\"b\\c", R"(a\"b\\c)" },
        CasoNombre {
            "utf8_kept", "\u20AC-\u00F1-\u65E5\u672C", "\u20AC-\u00F1-\u65E5\u672C", true },
        CasoNombre { "latin1_byte",
            "ma\xF1"
            "ana",
            R"(ma\udcf1ana)" },
        CasoNombre { "cut_sequence", "x\xE2\x82", R"(x\udce2\udc82)" },
        CasoNombre { "encoded_surrogate", "\xED\xA0\x80", R"(\udced\udca0\udc80)" },
        CasoNombre { "overlong_slash", "\xC0\xAF", R"(\udcc0\udcaf)" }),
    [](const auto &info) { return std::string(info.param.nombre); });

// Names beyond ASCII, folders with dots and upper-case extensions give the
// same log, byte for byte, on Linux and on Windows; a clean file leaves none.
struct CasoRuta
{
    const char *nombre;
    std::string fichero; // UTF-8, in the test's folder
    std::string muestra; // from the test data; empty: a clean file
    std::string log; // where the log must go; empty: none
    std::string dorado; // the log it must be, from the test data
};

void PrintTo(const CasoRuta &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class RutaTest : public testing::TestWithParam<CasoRuta>
{
};

TEST_P(RutaTest, MismoLogEnCadaSistema)
{
    const CasoRuta &caso = GetParam();
    prueba::CarpetaTemporal carpeta;
    const auto fichero = carpeta / caso.fichero;
    std::filesystem::create_directories(
        static_cast<const std::filesystem::path &>(fichero).parent_path());
    const std::string limpio
        = "5180\r\n" + prueba::Registro({ { 1, "5680" }, { 69, "12345678010123456789" } }) + "\r\n";
    prueba::EscribirBytes(
        fichero, caso.muestra.empty() ? limpio : prueba::LeerBytes(kDatos / caso.muestra));

    const Ejecucion salida = Ejecutar({ fichero }, carpeta);

    EXPECT_EQ(salida.estado, caso.log.empty() ? 0 : 1) << salida.errores;
    EXPECT_EQ(prueba::LeerBytes(fichero).size(),
        caso.muestra.empty() ? limpio.size() : prueba::LeerBytes(kDatos / caso.muestra).size());
    if (caso.log.empty()) {
        EXPECT_EQ(carpeta.Nombres(), (std::set<std::string> { caso.fichero, "stdout", "stderr" }));
    } else {
        EXPECT_EQ(prueba::LeerBytes(carpeta / caso.log), prueba::LeerBytes(kDatos / caso.dorado));
    }
}

INSTANTIATE_TEST_SUITE_P(Rutas, RutaTest,
    testing::Values(CasoRuta { "enye", "\u00F1and\u00FA.q19", "adeudos-sepa.q19",
                        "\u00F1and\u00FA.log", "adeudos-sepa-esperado.log" },
        CasoRuta { "l_stroke", "\u0141\u00F3d\u017A.q34", "transferencias-sepa.q34",
            "\u0141\u00F3d\u017A.log", "transferencias-sepa-esperado.log" },
        CasoRuta { "japanese", "\u65E5\u672C.xml", "xml/pain001-v03.xml", "\u65E5\u672C.log",
            "xml/pain001-v03.log" },
        CasoRuta { "euro_clean_leaves_no_log", "\u20AC-limpio.txt", "", "", "" },
        CasoRuta { "ordinal_in_the_extension", "Remesa.01\u00BAT", "adeudos.q19",
            "Remesa.01\u00BAT.log", "adeudos-esperado.log" },
        CasoRuta { "folder_with_dots", "v1.2/MAYO.TXT", "adeudos.q19", "v1.2/MAYO.log",
            "adeudos-esperado.log" },
        CasoRuta { "upper_case_log_extension", "MAYO.LOG", "adeudos.q19", "MAYO.log1",
            "adeudos-esperado.log" }),
    [](const auto &info) { return std::string(info.param.nombre); });

// A log path that is the input itself under another name is refused, and the
// input is left whole.
TEST(CotarelCheck, LogEnlazadoAlFicheroNoLoTrunca)
{
    prueba::CarpetaTemporal carpeta;
    const std::string bytes = prueba::LeerBytes(kDatos / "adeudos-sepa.q19");
    prueba::EscribirBytes(carpeta / "\u20AC.txt", bytes);
    std::filesystem::create_hard_link(carpeta / "\u20AC.txt", carpeta / "\u20AC.log");

    const Ejecucion salida = Ejecutar({ carpeta / "\u20AC.txt" }, carpeta);

    EXPECT_EQ(salida.estado, 2);
    EXPECT_NE(salida.errores.find("No se puede crear el fichero de Salida"), std::string::npos);
    EXPECT_EQ(prueba::LeerBytes(carpeta / "\u20AC.txt"), bytes);
}

#ifdef _WIN32
// cmd.exe leaves "*" and "?" to the program: they are expanded, in path order.
TEST(CotarelCheck, ComodinesExpandidos)
{
    prueba::CarpetaTemporal carpeta;
    const std::string limpio
        = "5180\r\n" + prueba::Registro({ { 1, "5680" }, { 69, "12345678010123456789" } }) + "\r\n";
    for (const char *nombre : { "b.q19", "a.Q19", "c.txt", "\u00F1.q19" }) {
        prueba::EscribirBytes(carpeta / nombre, limpio);
    }
    const Ejecucion salida = Ejecutar({ carpeta / "*.q19", carpeta / "?.txt" }, carpeta);
    std::string esperado;
    for (const char *nombre : { "a.Q19", "b.q19", "\u00F1.q19", "c.txt" }) {
        esperado += (carpeta / nombre).string() + "\tProceso terminado\tadeudos\t0\n";
    }
    EXPECT_EQ(salida.salida, esperado);
}

// File names differ only in case there: MAYO.txt and mayo.q19 would share one
// log, so the second is not checked.
TEST(CotarelCheck, LogCompartidoSinDistinguirMayusculas)
{
    prueba::CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "MAYO.txt", prueba::LeerBytes(kDatos / "adeudos.q19"));
    prueba::EscribirBytes(carpeta / "mayo.q19", prueba::LeerBytes(kDatos / "adeudos-sepa.q19"));
    const Ejecucion salida = Ejecutar({ carpeta / "MAYO.txt", carpeta / "mayo.q19" }, carpeta);
    EXPECT_EQ(salida.estado, 2);
    EXPECT_NE(salida.errores.find("ya es el de"), std::string::npos) << salida.errores;
    EXPECT_EQ(prueba::LeerBytes(carpeta / "MAYO.log"),
        prueba::LeerBytes(kDatos / "adeudos-esperado.log"));
}
#endif

TEST(CotarelCheck, ReemplazaUnLogAnteriorSinPreguntar)
{
    prueba::CarpetaTemporal carpeta;
    std::filesystem::copy_file(kDatos / "adeudos.q19", carpeta / "mayo.q19");
    prueba::EscribirBytes(carpeta / "mayo.log",
        "an older log, longer than the new one will be ... " + std::string(5000, 'x'));
    const Ejecucion salida = Ejecutar({ carpeta / "mayo.q19" }, carpeta);
    EXPECT_EQ(salida.estado, 1);
    EXPECT_EQ(prueba::LeerBytes(carpeta / "mayo.log"),
        prueba::LeerBytes(kDatos / "adeudos-esperado.log"));
}

TEST(CotarelCheck, LogQueNoSePuedeEscribir)
{
    prueba::CarpetaTemporal carpeta;
    std::filesystem::copy_file(kDatos / "adeudos.q19", carpeta / "mayo.q19");
    std::filesystem::create_directory(carpeta / "mayo.log"); // a folder where the log should go
    const Ejecucion salida = Ejecutar({ carpeta / "mayo.q19" }, carpeta);
    EXPECT_EQ(salida.estado, 2);
    EXPECT_NE(salida.errores.find("No se puede crear el fichero de Salida"), std::string::npos);
}

#ifndef _WIN32
// Ctrl+C or SIGTERM while a run waits for more of its input, alone or beside
// another file in parallel: the process ends by the signal, the old log stays
// byte for byte and no unfinished log is left.
struct CasoSenal
{
    const char *nombre;
    int senal;
    std::vector<std::string> opciones;
};

class SenalTest : public testing::TestWithParam<CasoSenal>
{
};

TEST_P(SenalTest, ConservaElLogAnterior)
{
    prueba::CarpetaTemporal carpeta;
    const std::string entrada = carpeta / "mayo.q19";
    ASSERT_EQ(mkfifo(entrada.c_str(), 0600), 0);
    prueba::EscribirBytes(carpeta / "mayo.log", "earlier log");
    prueba::EscribirBytes(carpeta / "otro.q19", "0280\r\n");
    std::vector<std::string> argumentos = GetParam().opciones;
    argumentos.push_back(entrada);
    argumentos.push_back(carpeta / "otro.q19");
    const pid_t hijo = prueba::Lanzar(COTAREL_CHECK, argumentos);
    ASSERT_GT(hijo, 0);

    // More than one read block of faulty records, and the pipe kept open.
    const int tuberia = open(entrada.c_str(), O_WRONLY);
    std::string bytes = "5180\r\n";
    while (bytes.size() < (3 << 19)) {
        bytes += prueba::Registro({ { 1, "5680" }, { 69, "12345678000123456789" } }) + "\r\n";
    }
    EXPECT_EQ(write(tuberia, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    // The unfinished log has its first blocks on disk.
    for (int espera = 0; espera < 1000 && carpeta.Nombres().size() < 4; ++espera) {
        usleep(10000);
    }
    ASSERT_EQ(carpeta.Nombres().size(), 4U);
    kill(hijo, GetParam().senal);
    int estado = 0;
    waitpid(hijo, &estado, 0);
    close(tuberia);

    EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == GetParam().senal);
    EXPECT_EQ(prueba::LeerBytes(carpeta / "mayo.log"), "earlier log");
    EXPECT_EQ(carpeta.Nombres(), (std::set<std::string> { "mayo.log", "mayo.q19", "otro.q19" }));
}

// Ctrl+C while the run waits for a writer to open a silent pipe: the process
// ends by the signal, not with a refused input.
TEST(SenalAlAbrir, TuberiaSilenciosa)
{
    prueba::CarpetaTemporal carpeta;
    const std::string entrada = carpeta / "mayo.q19";
    ASSERT_EQ(mkfifo(entrada.c_str(), 0600), 0);
    const pid_t hijo = prueba::Lanzar(COTAREL_CHECK, { "-j", "1", entrada });
    ASSERT_GT(hijo, 0);
    usleep(300000); // into its open of the pipe, which waits for a writer
    kill(hijo, SIGINT);
    int estado = 0;
    waitpid(hijo, &estado, 0);
    EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGINT) << estado;
}

INSTANTIATE_TEST_SUITE_P(Senales, SenalTest,
    testing::Values(CasoSenal { "sigint", SIGINT, { "-j", "1" } },
        CasoSenal { "sigterm", SIGTERM, { "-j", "1" } },
        CasoSenal { "sigint_in_parallel", SIGINT, { "-j", "2" } }),
    [](const auto &info) { return std::string(info.param.nombre); });
#endif

// What only the whole program shows: standard input and standard output
// (each command line with files as {carpeta}/name, its exit status and exact
// standard output); the options themselves are tested with the library.
struct CasoOpciones
{
    const char *nombre;
    const char *argumentos;
    int estado;
    const char *salida;
    prueba::Redirecciones redirecciones = {};
};

void PrintTo(const CasoOpciones &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class OpcionesTest : public testing::TestWithParam<CasoOpciones>
{
};

TEST_P(OpcionesTest, SalidaEnOrden)
{
    prueba::CarpetaTemporal carpeta;
    const std::string bueno
        = "5180\r\n" + prueba::Registro({ { 1, "5680" }, { 69, "12345678010123456789" } }) + "\r\n";
    for (const char *nombre : { "1.q19", "2.q19" }) {
        prueba::EscribirBytes(carpeta / nombre, bueno);
    }
    prueba::EscribirBytes(carpeta / "lista",
        (carpeta / "2.q19").string() + '\0' + (carpeta / "1.q19").string() + '\0');
    const std::string raiz = (carpeta / "").string();
    const auto sustituir = [&raiz](std::string texto) {
        for (std::size_t pos; (pos = texto.find("{carpeta}/")) != std::string::npos;) {
            texto.replace(pos, 10, raiz);
        }
#ifdef _WIN32
        std::replace(texto.begin(), texto.end(), '/', '\\');
#endif
        return texto;
    };
    const auto &redirecciones = GetParam().redirecciones;
#ifdef _WIN32
    if (redirecciones.salida.starts_with("/dev/")) {
        GTEST_SKIP() << "no /dev on Windows";
    }
#endif
    const Ejecucion salida = Ejecutar(prueba::Palabras(sustituir(GetParam().argumentos)), carpeta,
        { sustituir(redirecciones.entrada), redirecciones.salida });
    EXPECT_EQ(salida.estado, GetParam().estado) << salida.errores;
    EXPECT_EQ(salida.salida, sustituir(GetParam().salida));
}

INSTANTIATE_TEST_SUITE_P(Casos, OpcionesTest,
    testing::Values(CasoOpciones { "quiet", "-q {carpeta}/1.q19", 0, "" },
        CasoOpciones { "names_from_standard_input", "--desde=- -0 -j3", 0,
            "{carpeta}/2.q19\tProceso terminado\tadeudos\t0\n"
            "{carpeta}/1.q19\tProceso terminado\tadeudos\t0\n",
            { "{carpeta}/lista", "" } },
        CasoOpciones {
            "output_that_cannot_be_written", "{carpeta}/1.q19", 2, "", { "", "/dev/full" } }),
    [](const auto &info) { return std::string(info.param.nombre); });

struct CasoUso
{
    const char *nombre;
    const char *argumentos;
    int estado;
    const char *salidaContiene;
};

void PrintTo(const CasoUso &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class UsoTest : public testing::TestWithParam<CasoUso>
{
};

TEST_P(UsoTest, Uso)
{
    prueba::CarpetaTemporal carpeta;
    const Ejecucion salida = Ejecutar(prueba::Palabras(GetParam().argumentos), carpeta);
    EXPECT_EQ(salida.estado, GetParam().estado);
    EXPECT_NE((salida.salida + salida.errores).find(GetParam().salidaContiene), std::string::npos)
        << salida.salida << salida.errores;
}

INSTANTIATE_TEST_SUITE_P(Casos, UsoTest,
    testing::Values(
        CasoUso { "no_arguments", "", 64, "cotarel-check: uso: cotarel-check [OPCIONES] FICHERO" },
        CasoUso { "unknown_option_named", "--rapido x.q19", 64,
            "cotarel-check: opci\u00F3n desconocida: --rapido" },
        CasoUso { "help", "--help", 0, "Ejemplos:" },
        CasoUso { "version", "--version", 0, "cotarel-check " COTAREL_VERSION "\n" },
        CasoUso { "dash_dash_takes_a_name", "-- -x.q19", 2,
            "-x.q19: No se puede abrir el fichero de Entrada" }),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
