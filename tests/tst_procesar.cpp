#include "ayuda.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using prueba::ConCRLF;
using prueba::Registro;

const std::string kSep = "* * * * * * * * * * * * * * * * * * *";
const std::string kCuentaMala = "12345678000123456789";

// A debit-order file with one faulty account on line 2 and its log.
const std::string kAdeudoMalo
    = Registro({ { 1, "5680" }, { 17, "REF" }, { 29, "ANA" }, { 69, kCuentaMala } });
std::string LogAdeudoMalo(int linea)
{
    return ConCRLF({ kSep,
        "Error en linea " + std::to_string(linea) + " - D\xEDgito de control de la cuenta erroneo",
        "C\xF3"
        "digo de referencia: REF         ",
        "Nombre o raz\xF3n social: ANA", kSep });
}
const std::string kLogAdeudoMalo = LogAdeudoMalo(2);

struct CasoTipo
{
    const char *nombre;
    const char *primeraLinea;
    modMain::TipoArchivo tipo;
};

// Test names carry the case; the parameter itself need not be printed.
void PrintTo(const CasoTipo &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class TipoFicheroTest : public testing::TestWithParam<CasoTipo>
{
};

TEST_P(TipoFicheroTest, ClasificaPorLosDosPrimerosCaracteres)
{
    EXPECT_EQ(modMain::TipoFichero(GetParam().primeraLinea), GetParam().tipo);
}

using modMain::TipoArchivo;
const CasoTipo kTipos[] = {
    { "debit_01", "0180B12345678", TipoArchivo::Adeudos },
    { "debit_51", "5180B12345678", TipoArchivo::Adeudos },
    { "transfer_03", "0356B12345678", TipoArchivo::Transferencias },
    { "exactly_two_characters", "03", TipoArchivo::Transferencias },
    { "other_pair_02", "0280", TipoArchivo::NoCSB },
    { "header_53_is_not_a_first_line", "5380", TipoArchivo::NoCSB },
    { "leading_blank", " 5180", TipoArchivo::NoCSB },
    { "single_character", "5", TipoArchivo::NoCSB },
    { "empty", "", TipoArchivo::NoCSB },
};

INSTANTIATE_TEST_SUITE_P(Casos, TipoFicheroTest, testing::ValuesIn(kTipos),
    [](const auto &info) { return std::string(info.param.nombre); });

class ProcesarFicheroTest : public testing::Test
{
protected:
    void SetUp() override
    {
        prueba::ReiniciarEstado();
        modMain::FicheroEntrada = carpeta / "remesa.txt";
        modMain::FicheroSalida = carpeta / "remesa.log";
        descriptores = prueba::DescriptoresAbiertos();
    }
    void TearDown() override { EXPECT_EQ(prueba::DescriptoresAbiertos(), descriptores); }

    void Entrada(const std::string &bytes)
    {
        prueba::EscribirBytes(modMain::FicheroEntrada, bytes);
    }
    bool HayLog() const { return std::filesystem::exists(modMain::FicheroSalida); }
    std::string Log() const { return prueba::LeerBytes(modMain::FicheroSalida); }

    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    int descriptores = 0;
};

using Mensajes = std::vector<std::string>;

TEST_F(ProcesarFicheroTest, DebitRunWritesLogAndShowsBusyPointer)
{
    Entrada(ConCRLF({ "5180", kAdeudoMalo }));
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), kLogAdeudoMalo);
    EXPECT_TRUE(modMain::HayErrores);
    EXPECT_EQ(interfaz.llamadas, "ocupado;normal;repintar;");
    EXPECT_EQ(interfaz.mensajes, Mensajes {});
}

TEST_F(ProcesarFicheroTest, MissingInputKeepsOutcomeAndLog)
{
    prueba::EscribirBytes(modMain::FicheroSalida, "earlier log");
    modMain::HayErrores = false;
    modMain::NumLinea = 7;
    modMain::ProcesarFichero();
    EXPECT_EQ(interfaz.mensajes, Mensajes { "No se puede abrir el fichero de Entrada" });
    EXPECT_EQ(Log(), "earlier log");
    EXPECT_FALSE(modMain::HayErrores);
    EXPECT_EQ(modMain::NumLinea, 7);
    EXPECT_EQ(interfaz.llamadas, "ocupado;normal;");
}

// Runs that stop with a message. The input is never changed, and the outcome
// is kept, except after a failure in the middle of the file, which is never clean.
struct CasoFallo
{
    const char *nombre;
    const char *entrada;
    const char *salida; // "<log>": beside the input; "<enlace>": a link to the input itself;
                        // "<sin carpeta>": in a folder that does not exist; else the path itself
    bool hayErroresAntes;
    const char *mensaje; // "": none
    bool hayErroresDespues;
};

void PrintTo(const CasoFallo &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class FalloTest : public ProcesarFicheroTest, public testing::WithParamInterface<CasoFallo>
{
};

TEST_P(FalloTest, AvisaYNoPierdeNada)
{
    const CasoFallo &caso = GetParam();
    const std::string contenido = caso.entrada;
    Entrada(contenido);
    const std::string salida = caso.salida;
    if (salida == "<enlace>") {
        std::filesystem::create_hard_link(modMain::FicheroEntrada, modMain::FicheroSalida);
    } else if (salida == "<sin carpeta>") {
        modMain::FicheroSalida = carpeta / "no-such-folder" / "remesa.log";
    } else if (salida != "<log>") {
        modMain::FicheroSalida = salida;
    }
    modMain::HayErrores = caso.hayErroresAntes;

    modMain::ProcesarFichero();

    EXPECT_EQ(interfaz.mensajes,
        std::string(caso.mensaje).empty() ? Mensajes {} : Mensajes { caso.mensaje });
    EXPECT_EQ(modMain::HayErrores, caso.hayErroresDespues);
    EXPECT_EQ(prueba::LeerBytes(modMain::FicheroEntrada), contenido);
    if (std::string(caso.mensaje) == "El fichero no es CSB") {
        EXPECT_FALSE(HayLog());
    }
}

const std::string kMalo = "5180\r\n" + kAdeudoMalo + "\r\n";
const CasoFallo kFallos[] = {
    { "not_csb", "0280\r\n", "<log>", true, "El fichero no es CSB", true },
    { "empty_file", "", "<log>", true, "El fichero no es CSB", true },
    { "log_folder_missing", kMalo.c_str(), "<sin carpeta>", true,
        "No se puede crear el fichero de Salida", true },
    { "empty_log_path", kMalo.c_str(), "", false, "No se puede crear el fichero de Salida", false },
    { "log_is_the_input_itself", kMalo.c_str(), "<enlace>", false,
        "No se puede crear el fichero de Salida", false },
    { "log_on_full_disk", kMalo.c_str(), "/dev/full", false,
        "No se puede escribir el fichero de Salida", true },
    { "clean_run_on_full_disk_writes_nothing", "5180\r\n", "/dev/full", true, "", false },
};

INSTANTIATE_TEST_SUITE_P(Casos, FalloTest, testing::ValuesIn(kFallos),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ProcesarFicheroTest, ReadFailureInTheMiddleIsReported)
{
    // A folder opens for reading but every read of it fails.
    const auto carpetaEntrada = carpeta / "entrada";
    std::filesystem::create_directory(carpetaEntrada);
    modMain::ValidarAdeudos(carpetaEntrada, modMain::FicheroSalida);
    EXPECT_EQ(interfaz.mensajes, Mensajes { "No se puede leer el fichero de Entrada" });
    EXPECT_TRUE(modMain::HayErrores);
    EXPECT_TRUE(HayLog());
}

// The same records with every kind of line end give the same log.
struct CasoFinDeLinea
{
    const char *nombre;
    const char *primero;
    const char *resto;
    const char *final;
};

// Test names carry the case; the parameter itself need not be printed.
void PrintTo(const CasoFinDeLinea &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class FinDeLineaTest : public ProcesarFicheroTest,
                       public testing::WithParamInterface<CasoFinDeLinea>
{
};

TEST_P(FinDeLineaTest, MismoLogConCualquierFinDeLinea)
{
    const auto &caso = GetParam();
    Entrada(std::string("5180") + caso.primero + "5290" + caso.resto + "" + caso.resto + kAdeudoMalo
        + caso.final);
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), LogAdeudoMalo(4));
    EXPECT_EQ(modMain::NumLinea, 4);
}

const CasoFinDeLinea kFinesDeLinea[] = {
    { "crlf", "\r\n", "\r\n", "\r\n" },
    { "cr_only", "\r", "\r", "\r" },
    { "lf_only", "\n", "\n", "\n" },
    { "mixed", "\n", "\r", "\r\n" },
    { "no_final_line_end", "\r\n", "\r\n", "" },
};

INSTANTIATE_TEST_SUITE_P(Casos, FinDeLineaTest, testing::ValuesIn(kFinesDeLinea),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ProcesarFicheroTest, LineEndAcrossReadBlocksCountsOnce)
{
    // Places the CR LF of the first line just before, across and just after the
    // boundary of the 1 MiB read blocks.
    constexpr std::size_t kBloque = 1 << 20;
    for (const std::size_t corte : { kBloque - 1, kBloque, kBloque - 2 }) {
        std::string bytes = "5180" + std::string(corte - 4, 'x') + "\r\n" + kAdeudoMalo + "\r\n";
        Entrada(bytes);
        modMain::ProcesarFichero();
        EXPECT_EQ(Log(), kLogAdeudoMalo) << "line end at " << corte;
        EXPECT_EQ(modMain::NumLinea, 2) << "line end at " << corte;
    }
}

TEST_F(ProcesarFicheroTest, VeryLongLinesAndLargeLogs)
{
    // A 3 MiB line without any line end, then enough faults for a log far larger
    // than the write buffer.
    std::string bytes = "5180" + std::string(3 << 20, '5') + "\r";
    std::string esperado;
    for (int linea = 2; linea <= 2001; ++linea) {
        bytes += kAdeudoMalo + "\r\n";
        esperado += LogAdeudoMalo(linea);
    }
    Entrada(bytes);
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), esperado);
}

// Golden files: a realistic order file of each kind and the log it must give.
struct CasoDorado
{
    const char *nombre;
    const char *entrada;
    const char *log;
};

// Test names carry the case; the parameter itself need not be printed.
void PrintTo(const CasoDorado &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class FicheroDoradoTest : public ProcesarFicheroTest, public testing::WithParamInterface<CasoDorado>
{
};

TEST_P(FicheroDoradoTest, LogIgualByteAByte)
{
    const std::filesystem::path datos = COTAREL_DATOS_PRUEBA;
    modMain::FicheroEntrada = datos / GetParam().entrada;
    modMain::FicheroSalida = carpeta / "dorado.log";
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), prueba::LeerBytes(datos / GetParam().log));
    EXPECT_TRUE(modMain::HayErrores);
}

const CasoDorado kDorados[] = {
    { "debit_orders", "adeudos.q19", "adeudos-esperado.log" },
    { "transfer_orders", "transferencias.q34", "transferencias-esperado.log" },
};

INSTANTIATE_TEST_SUITE_P(Casos, FicheroDoradoTest, testing::ValuesIn(kDorados),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
