#include "ayuda.h"
#include "disco_fallido.h"
#include "ficheros.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using prueba::Registro;
using prueba::Unir;

const std::string kSep = "* * * * * * * * * * * * * * * * * * *";
const std::string kCuentaMala = "12345678000123456789";

// A debit-order file with one faulty account on line 2 and its log.
const std::string kAdeudoMalo
    = Registro({ { 1, "5680" }, { 17, "REF" }, { 29, "ANA" }, { 69, kCuentaMala } });
std::string LogAdeudoMalo(int linea)
{
    return Unir({ kSep,
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
    motor::TipoArchivo tipo;
};

// Test names carry the case; the parameter itself need not be printed.
void PrintTo(const CasoTipo &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class TipoFicheroTest : public testing::TestWithParam<CasoTipo>
{
};

TEST_P(TipoFicheroTest, ClasificaPorElInicioDeLaPrimeraLinea)
{
    EXPECT_EQ(motor::TipoFichero(GetParam().primeraLinea), GetParam().tipo);
}

using motor::TipoArchivo;
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
    { "sepa_debit_19143", "0119143001ES12000B12345678", TipoArchivo::AdeudosSepa },
    { "sepa_debit_19154", "0119154001", TipoArchivo::AdeudosSepa },
    { "sepa_debit_b2b_19445", "0119445001", TipoArchivo::AdeudosSepa },
    { "other_version_is_legacy_debit", "0119142001", TipoArchivo::Adeudos },
    { "sepa_debit_other_data_number", "0119143002", TipoArchivo::Adeudos },
    { "sepa_transfer", "01ORD34145001B12345678000", TipoArchivo::TransferenciasSepa },
    { "sepa_transfer_cut_short", "01ORD34145", TipoArchivo::Adeudos },
    { "xml", "<?xml version=\"1.0\"?>", TipoArchivo::Xml },
    { "xml_after_blanks_and_utf8_byte_order_mark", "\xEF\xBB\xBF \t<Document>", TipoArchivo::Xml },
    { "utf16_byte_order_mark", "\xFF\xFE<", TipoArchivo::Xml },
    { "utf8_byte_order_mark_before_a_debit",
        "\xEF\xBB\xBF"
        "5180",
        TipoArchivo::Adeudos },
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
    // A run leaves nothing of its own behind but the log.
    void SinTemporales(const std::set<std::string> &esperadas) const
    {
        EXPECT_EQ(carpeta.Nombres(), esperadas);
    }

    prueba::CarpetaTemporal carpeta;
    prueba::InterfazGrabadora interfaz;
    int descriptores = 0;
};

using Mensajes = std::vector<std::string>;

TEST_F(ProcesarFicheroTest, DebitRunWritesLogAndShowsBusyPointer)
{
    Entrada(Unir({ "5180", kAdeudoMalo }));
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), kLogAdeudoMalo);
    EXPECT_TRUE(modMain::HayErrores);
    EXPECT_EQ(interfaz.llamadas, "ocupado;normal;repintar;");
    EXPECT_EQ(interfaz.mensajes, Mensajes {});
    EXPECT_TRUE(modMain::UltimoProceso().Terminado());
    EXPECT_EQ(modMain::UltimoProceso().cuentasComprobadas, 1U);
}

// The new log of a file whose name is as long as a name may be, and one that
// replaces an old log keeps who may read it: the old file's permission bits.
TEST_F(ProcesarFicheroTest, NombreLargoYPermisosDelLogAnterior)
{
    const std::string nombre(251, 'n'); // with ".log", 255 bytes
    prueba::EscribirBytes(carpeta / (nombre + ".q19"), Unir({ "5180", kAdeudoMalo }));
    prueba::EscribirBytes(carpeta / (nombre + ".log"), "earlier log");
    EXPECT_EQ(
        motor::Procesar(carpeta / (nombre + ".q19"), carpeta / (nombre + ".log"), interfaz).fallo,
        std::nullopt);
    EXPECT_EQ(prueba::LeerBytes(carpeta / (nombre + ".log")), kLogAdeudoMalo);
#ifndef _WIN32
    namespace fs = std::filesystem;
    Entrada(Unir({ "5180", kAdeudoMalo }));
    prueba::EscribirBytes(modMain::FicheroSalida, "earlier log");
    fs::permissions(modMain::FicheroSalida, fs::perms::owner_read | fs::perms::owner_write);
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), kLogAdeudoMalo);
    EXPECT_EQ(fs::status(modMain::FicheroSalida).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write);
#endif
}

#ifndef _WIN32
// The log's folder is moved and a link to another folder put in its place
// while the run reads: the run ends in the folder it started in, and the
// other folder's log stays as it was, clean run or not. The input is a file
// (the swap made at the first block) or a FIFO fed slowly (made while the
// run waits for its first block).
void CambiarCarpeta(const std::filesystem::path &carpeta, const std::filesystem::path &otra)
{
    std::filesystem::rename(carpeta, carpeta.string() + "-movida");
    std::filesystem::create_directory_symlink(otra, carpeta);
}

class CarpetaCambiada final : public motor::Interfaz
{
public:
    CarpetaCambiada(std::filesystem::path carpeta, std::filesystem::path otra)
        : carpeta_(std::move(carpeta))
        , otra_(std::move(otra))
    {
    }
    void MostrarMensaje(std::string_view) override { }
    bool Interrumpido() override
    {
        if (!carpeta_.empty()) {
            CambiarCarpeta(std::exchange(carpeta_, {}), otra_);
        }
        return false;
    }

private:
    std::filesystem::path carpeta_, otra_;
};

TEST(CarpetaDelLog, SeQuedaEnLaCarpetaDelInicio)
{
    for (const bool fifo : { false, true }) {
        for (const bool conErrores : { false, true }) {
            SCOPED_TRACE(std::string(fifo ? "FIFO, " : "file, ")
                + (conErrores ? "run with errors" : "clean run"));
            prueba::CarpetaTemporal carpeta;
            const std::filesystem::path a = carpeta / "a", b = carpeta / "b";
            std::filesystem::create_directory(a);
            std::filesystem::create_directory(b);
            const std::string primera = Unir({ "5180" });
            const std::string resto = Unir(
                { conErrores ? kAdeudoMalo
                             : Registro({ { 1, "5680" }, { 69, "12345678010123456789" } }) });
            prueba::EscribirBytes(a / "m.log", "old log");
            prueba::EscribirBytes(b / "m.log", "another folder's log");
            std::jthread escritor;
            if (fifo) {
                ASSERT_EQ(mkfifo((a / "m.q19").c_str(), 0600), 0);
                // Opening the FIFO waits for the run to open it, after its
                // log's folder: the swap comes while the run waits for more.
                escritor = std::jthread([&, ruta = a / "m.q19"] {
                    std::ofstream fifo(ruta, std::ios::binary);
                    fifo << primera << std::flush;
                    CambiarCarpeta(a, b);
                    fifo << resto;
                });
            } else {
                prueba::EscribirBytes(a / "m.q19", primera + resto);
            }
            CarpetaCambiada interfaz(fifo ? std::filesystem::path() : a, b);
            const auto resultado = motor::Procesar(a / "m.q19", a / "m.log", interfaz);
            if (escritor.joinable()) {
                escritor.join();
            }
            EXPECT_EQ(resultado.fallo, std::nullopt);
            EXPECT_EQ(prueba::LeerBytes(b / "m.log"), "another folder's log");
            std::set<std::string> esperadas { "m.q19" };
            if (conErrores) {
                esperadas.insert("m.log");
            }
            std::set<std::string> vistas;
            for (const auto &entrada :
                std::filesystem::directory_iterator(a.string() + "-movida")) {
                vistas.insert(entrada.path().filename().string());
            }
            EXPECT_EQ(vistas, esperadas);
        }
    }
}
#endif

// A line longer than a read block (an endless line from a pipe) is no place
// to hide from a stop request: the run is asked at every block of it.
TEST(LineaSinFin, PreguntaSiPararEnCadaBloque)
{
    struct Contadora final : motor::Interfaz
    {
        void MostrarMensaje(std::string_view) override { }
        bool Interrumpido() override { return ++preguntas == 3; }
        int preguntas = 0;
    } interfaz;
    prueba::CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "m.q19", "01" + std::string(5 << 20, '0') + "\r\n");
    const auto resultado = motor::Procesar(carpeta / "m.q19", carpeta / "m.log", interfaz);
    EXPECT_EQ(resultado.fallo, motor::Fallo::Interrumpido);
    EXPECT_EQ(interfaz.preguntas, 3);
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
    EXPECT_FALSE(modMain::UltimoProceso().Terminado());
}

// Runs refused before any checking: a message, the previous outcome kept, and
// nothing at the log path touched.
struct CasoRechazo
{
    const char *nombre;
    std::string entrada;
    std::string salida; // "<log>": an old log beside the input; "<enlace>": a hard link to
                        // the input; "<carpeta>", "<fifo>": such an entry at the log path;
                        // "<sin carpeta>": in a folder that does not exist; "": no log path;
                        // else an input from outside the folder
    const char *mensaje;
};

void PrintTo(const CasoRechazo &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class RechazoTest : public ProcesarFicheroTest, public testing::WithParamInterface<CasoRechazo>
{
};

TEST_P(RechazoTest, AvisaYNoTocaNada)
{
    const CasoRechazo &caso = GetParam();
#ifdef _WIN32
    if (caso.salida == "<fifo>" || caso.salida.starts_with("/dev/")) {
        GTEST_SKIP() << "no FIFOs and no /dev on Windows";
    }
#endif
    Entrada(caso.entrada);
    if (caso.salida == "<log>") {
        prueba::EscribirBytes(modMain::FicheroSalida, "earlier log");
    } else if (caso.salida == "<enlace>") {
        std::filesystem::create_hard_link(modMain::FicheroEntrada, modMain::FicheroSalida);
    } else if (caso.salida == "<carpeta>") {
        std::filesystem::create_directory(modMain::FicheroSalida);
    } else if (caso.salida == "<fifo>") {
#ifndef _WIN32
        ASSERT_EQ(mkfifo(modMain::FicheroSalida.c_str(), 0600), 0);
#endif
    } else if (caso.salida == "<sin carpeta>") {
        modMain::FicheroSalida = carpeta / "no-such-folder" / "remesa.log";
    } else if (caso.salida.empty()) {
        modMain::FicheroSalida.clear();
    } else {
        modMain::FicheroEntrada = caso.salida;
    }
    const std::set<std::string> antes = carpeta.Nombres();
    const bool logNormal = std::filesystem::is_regular_file(carpeta / "remesa.log");
    const std::string logAntes = logNormal ? prueba::LeerBytes(carpeta / "remesa.log") : "";
    modMain::HayErrores = true;

    modMain::ProcesarFichero();

    EXPECT_EQ(interfaz.mensajes, Mensajes { caso.mensaje });
    EXPECT_TRUE(modMain::HayErrores);
    EXPECT_FALSE(modMain::UltimoProceso().Terminado());
    EXPECT_EQ(prueba::LeerBytes(carpeta / "remesa.txt"), caso.entrada);
    SinTemporales(antes);
    if (logNormal) {
        EXPECT_EQ(prueba::LeerBytes(carpeta / "remesa.log"), logAntes);
    }
}

const std::string kMalo = "5180\r\n" + kAdeudoMalo + "\r\n";
const CasoRechazo kRechazos[] = {
    { "not_csb", "0280\r\n", "<log>", "El fichero no es CSB" },
    { "empty_file", "", "<log>", "El fichero no es CSB" },
    { "dev_zero_at_once", "", "/dev/zero", "El fichero no es CSB" },
    { "log_folder_missing", kMalo, "<sin carpeta>", "No se puede crear el fichero de Salida" },
    { "empty_log_path", kMalo, "", "No se puede crear el fichero de Salida" },
    { "log_is_the_input_itself", kMalo, "<enlace>", "No se puede crear el fichero de Salida" },
    { "folder_at_log_path", kMalo, "<carpeta>", "No se puede crear el fichero de Salida" },
    { "fifo_at_log_path", kMalo, "<fifo>", "No se puede crear el fichero de Salida" },
};

INSTANTIATE_TEST_SUITE_P(Casos, RechazoTest, testing::ValuesIn(kRechazos),
    [](const auto &info) { return std::string(info.param.nombre); });

// A link at the log path: the run replaces or removes the link itself, and the
// file it points to stays as it was.
struct CasoEnlace
{
    const char *nombre;
    bool simbolico;
    bool conErrores;
};

void PrintTo(const CasoEnlace &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class EnlaceTest : public ProcesarFicheroTest, public testing::WithParamInterface<CasoEnlace>
{
};

TEST_P(EnlaceTest, ElOtroFicheroQuedaIntacto)
{
    const auto otro = carpeta / "informe.ods";
    prueba::EscribirBytes(otro, "a spreadsheet");
    std::error_code error;
    if (GetParam().simbolico) {
        std::filesystem::create_symlink(otro, carpeta / "remesa.log", error);
        if (error) {
            GTEST_SKIP() << "no symbolic links here: " << error.message();
        }
    } else {
        std::filesystem::create_hard_link(otro, carpeta / "remesa.log");
    }
    Entrada(GetParam().conErrores ? kMalo : "5180\r\n");

    modMain::ProcesarFichero();

    EXPECT_EQ(prueba::LeerBytes(otro), "a spreadsheet");
    EXPECT_TRUE(modMain::UltimoProceso().Terminado());
    if (GetParam().conErrores) {
        EXPECT_TRUE(std::filesystem::is_regular_file(
            std::filesystem::symlink_status(modMain::FicheroSalida)));
        EXPECT_EQ(Log(), kLogAdeudoMalo);
        SinTemporales({ "informe.ods", "remesa.log", "remesa.txt" });
    } else {
        SinTemporales({ "informe.ods", "remesa.txt" });
    }
}

const CasoEnlace kEnlaces[] = {
    { "symlink_clean_run", true, false },
    { "symlink_run_with_errors", true, true },
    { "hard_link_clean_run", false, false },
    { "hard_link_run_with_errors", false, true },
};

INSTANTIATE_TEST_SUITE_P(Casos, EnlaceTest, testing::ValuesIn(kEnlaces),
    [](const auto &info) { return std::string(info.param.nombre); });

// Failures in the middle of a file stop the run at once; the old log stays
// byte for byte, and the outcome is never clean.
struct CasoInterrumpido
{
    const char *nombre;
    const char *primeraLinea;
    const char *mensaje;
    unsigned long long cuentasErroneas; // blocks finished before the failure
};

void PrintTo(const CasoInterrumpido &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class InterrumpidoTest : public ProcesarFicheroTest,
                         public testing::WithParamInterface<CasoInterrumpido>
{
protected:
    void TearDown() override
    {
        prueba::FallarLecturaNumero(-1);
        prueba::FallarEscrituraNumero(-1);
        prueba::LimitarEscritura(std::nullopt);
        ProcesarFicheroTest::TearDown();
    }
};

// The first read block ends right after a faulty record; the
// transfer checker would take the next line as its supplier's name.
std::string PrimerBloqueTerminaEnCuentaMala(const std::string &primeraLinea)
{
    const std::string registro = primeraLinea == "5180"
        ? kAdeudoMalo
        : Registro({ { 1, "0656" }, { 27, "010" }, { 42, "123456780123456789" }, { 64, "00" } });
    const std::size_t relleno
        = motor::LectorLineas::kTamBloque - primeraLinea.size() - registro.size() - 6;
    return primeraLinea + "\r\n" + std::string(relleno, 'x') + "\r\n" + registro + "\r\n" + kMalo;
}

TEST_P(InterrumpidoTest, ConservaElLogAnterior)
{
    const CasoInterrumpido &caso = GetParam();
    const std::string nombre = caso.nombre;
    Entrada(PrimerBloqueTerminaEnCuentaMala(caso.primeraLinea));
    prueba::EscribirBytes(modMain::FicheroSalida, "earlier log");
    if (nombre.find("read_failure") != std::string::npos) {
        prueba::FallarLecturaNumero(2);
    } else if (nombre == "write_failure") {
        prueba::FallarEscrituraNumero(1);
    } else if (nombre == "disk_full") {
        if (!prueba::LimitarEscritura(100)) { // a real EFBIG when the log is flushed
            GTEST_SKIP() << "no limit on the size of files a process writes here";
        }
    } else {
        interfaz.interrumpir = true;
    }

    modMain::ProcesarFichero();

    EXPECT_EQ(interfaz.mensajes, Mensajes { caso.mensaje });
    EXPECT_EQ(Log(), "earlier log");
    SinTemporales({ "remesa.log", "remesa.txt" });
    EXPECT_TRUE(modMain::HayErrores);
    EXPECT_FALSE(modMain::UltimoProceso().Terminado());
    EXPECT_EQ(modMain::UltimoProceso().cuentasErroneas, caso.cuentasErroneas);
}

const CasoInterrumpido kInterrumpidos[] = {
    { "debit_read_failure", "5180", "No se puede leer el fichero de Entrada", 1 },
    { "transfer_read_failure", "0356", "No se puede leer el fichero de Entrada", 0 },
    { "write_failure", "5180", "No se puede escribir el fichero de Salida", 2 },
    { "disk_full", "5180", "No se puede escribir el fichero de Salida", 2 },
    { "interrupted", "5180", "Proceso interrumpido", 0 },
};

INSTANTIATE_TEST_SUITE_P(Casos, InterrumpidoTest, testing::ValuesIn(kInterrumpidos),
    [](const auto &info) { return std::string(info.param.nombre); });

// A pipe or a FIFO is read once, as a regular file is: the same log.
class TuberiaTest : public ProcesarFicheroTest, public testing::WithParamInterface<bool>
{
};

TEST_P(TuberiaTest, MismoLogQueElFicheroNormal)
{
#ifdef _WIN32
    GTEST_SKIP() << "no FIFOs and no /dev/fd on Windows";
#else
    const prueba::RutaPrueba datos(COTAREL_DATOS_PRUEBA);
    const std::string bytes = prueba::LeerBytes(datos / "adeudos.q19");
    const bool fifo = GetParam();
    int extremos[2] = { -1, -1 };
    if (fifo) {
        ASSERT_EQ(mkfifo(modMain::FicheroEntrada.c_str(), 0600), 0);
    } else {
        ASSERT_EQ(pipe(extremos), 0);
        modMain::FicheroEntrada = "/dev/fd/" + std::to_string(extremos[0]);
    }
    std::thread escritor([&] {
        if (fifo) {
            prueba::EscribirBytes(modMain::FicheroEntrada, bytes);
        } else {
            EXPECT_EQ(
                write(extremos[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
            close(extremos[1]);
        }
    });
    modMain::ProcesarFichero();
    escritor.join();
    if (!fifo) {
        close(extremos[0]);
    }
    EXPECT_EQ(Log(), prueba::LeerBytes(datos / "adeudos-esperado.log"));
#endif
}

INSTANTIATE_TEST_SUITE_P(Casos, TuberiaTest, testing::Values(false, true),
    [](const auto &info) { return std::string(info.param ? "fifo" : "pipe"); });

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

// A file of many read blocks, every block different (a counter in each
// record, pseudo-random accounts, paddings and line ends), with faulty
// accounts planted at random and in the line that each block edge falls in:
// the edge inside a CR LF, just after it, or on a LF; one line longer than a
// block. Read from a regular file (blocks read ahead on another thread) and
// from a FIFO (read plainly, block after block), the same faults at the same
// lines, and the same log.
struct Anotadora final : motor::Interfaz
{
    void MostrarMensaje(std::string_view texto) override { mensajes.emplace_back(texto); }
    void CuentaErronea(const motor::CuentaAnotada &cuenta) override
    {
        lineas.push_back(cuenta.linea);
    }
    std::vector<std::string> mensajes;
    std::vector<unsigned long long> lineas;
};

TEST(BloquesDistintos, MismasCuentasLeidasConYSinAdelanto)
{
    constexpr std::size_t kBloque = motor::LectorLineas::kTamBloque;
    std::mt19937 azar(20261209);
    const auto cifras = [&azar](std::size_t cuantas) {
        std::string texto;
        for (std::size_t i = 0; i < cuantas; ++i) {
            texto += static_cast<char>('0' + azar() % 10);
        }
        return texto;
    };
    std::string bytes = "5180\r\n";
    std::vector<unsigned long long> plantadas;
    std::size_t frontera = kBloque;
    int forma = 0;
    for (unsigned long long linea = 2; bytes.size() < 13 * kBloque; ++linea) {
        if (linea == 9000) { // longer than a block, and no record
            bytes += "99" + std::string(kBloque + kBloque / 2, 'x') + "\r\n";
            while (frontera < bytes.size()) {
                frontera += kBloque;
            }
            continue;
        }
        const std::string entidad = cifras(4), oficina = cifras(4), cuenta = cifras(10);
        std::string dc = motor::CalcularDC(entidad, oficina, cuenta);
        std::string registro = Registro({ { 1, "5680" }, { 17, "R" + std::to_string(linea) },
            { 29, "NOMBRE " + std::to_string(linea) }, { 69, entidad + oficina + "00" + cuenta } });
        static constexpr const char *kFines[] = { "\r\n", "\n", "\r" };
        std::string fin = kFines[azar() % 3];
        std::size_t relleno = azar() % 300;
        bool mala = azar() % 10 == 0;
        // The edge: inside the CR LF, right after it, or on the LF, in the
        // first line that can reach it with a padding of up to 600.
        const std::size_t finEn = frontera - 1 - (forma % 3 == 1 ? 1 : 0) + (forma % 3 == 2);
        const std::size_t inicio = bytes.size() + registro.size();
        if (finEn >= inicio && finEn - inicio <= 600) {
            relleno = finEn - inicio;
            fin = forma % 3 == 2 ? "\n" : "\r\n";
            mala = true;
            ++forma;
            frontera += kBloque;
        }
        if (mala) {
            dc[1] = dc[1] == '9' ? '0' : static_cast<char>(dc[1] + 1);
            plantadas.push_back(linea);
        }
        registro.replace(76, 2, dc);
        registro.append(relleno, static_cast<char>('a' + linea % 26));
        bytes += registro + fin;
    }
    ASSERT_EQ(forma, 12) << "every block edge placed in a line end";

    prueba::CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "grande.q19", bytes);
    Anotadora adelantada;
    const auto resultado
        = motor::Procesar(carpeta / "grande.q19", carpeta / "grande.log", adelantada);
    EXPECT_EQ(resultado.fallo, std::nullopt);
    EXPECT_EQ(adelantada.lineas, plantadas);
#ifndef _WIN32
    const std::string log = prueba::LeerBytes(carpeta / "grande.log");
    ASSERT_EQ(mkfifo((carpeta / "fifo.q19").string().c_str(), 0600), 0);
    std::jthread escritor([&] { prueba::EscribirBytes(carpeta / "fifo.q19", bytes); });
    Anotadora seguida;
    EXPECT_EQ(
        motor::Procesar(carpeta / "fifo.q19", carpeta / "fifo.log", seguida).fallo, std::nullopt);
    escritor.join();
    EXPECT_EQ(seguida.lineas, plantadas);
    EXPECT_EQ(prueba::LeerBytes(carpeta / "fifo.log"), log);
#endif
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
    const prueba::RutaPrueba datos(COTAREL_DATOS_PRUEBA);
    modMain::FicheroEntrada = datos / GetParam().entrada;
    modMain::FicheroSalida = carpeta / "dorado.log";
    modMain::ProcesarFichero();
    EXPECT_EQ(Log(), prueba::LeerBytes(datos / GetParam().log));
    EXPECT_TRUE(modMain::HayErrores);
}

const CasoDorado kDorados[] = {
    { "debit_orders", "adeudos.q19", "adeudos-esperado.log" },
    { "transfer_orders", "transferencias.q34", "transferencias-esperado.log" },
    { "sepa_debit_orders", "adeudos-sepa.q19", "adeudos-sepa-esperado.log" },
    // Saved by Notepad as "UTF-8" and as "UTF-8 with BOM": the same log.
    { "sepa_debit_orders_in_utf8", "adeudos-sepa-utf8.q19", "adeudos-sepa-esperado.log" },
    { "sepa_debit_orders_in_utf8_with_bom", "adeudos-sepa-utf8-bom.q19",
        "adeudos-sepa-esperado.log" },
    { "sepa_transfer_orders", "transferencias-sepa.q34", "transferencias-sepa-esperado.log" },
};

INSTANTIATE_TEST_SUITE_P(Casos, FicheroDoradoTest, testing::ValuesIn(kDorados),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
