// cotarel-check's library in-process: the command line read, the list of
// files made, and the batch run on one worker and on two.
#include "ayuda.h"
#include "disco_fallido.h"
#include "informe.h"
#include "lista.h"
#include "lote.h"
#include "opciones.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <tuple>

namespace {

const prueba::RutaPrueba kDatos(COTAREL_DATOS_PRUEBA);

// The options read, in one line: flags, format, list, jobs, then the files.
std::string Describir(const cotarel::Opciones &opciones)
{
    std::string texto;
    texto += opciones.silencioso ? "q " : "";
    texto += opciones.recursivo ? "r " : "";
    texto += opciones.separadorNulo ? "0 " : "";
    texto += opciones.formato == cotarel::Formato::Json ? "json " : "";
    texto += opciones.desde ? "desde=" + *opciones.desde + " " : "";
    texto += opciones.trabajos != 0 ? "j" + std::to_string(opciones.trabajos) + " " : "";
    texto += "[";
    for (const auto &fichero : opciones.ficheros) {
        texto += (texto.back() == '[' ? "" : ",") + fichero;
    }
    return texto + "]";
}

struct CasoOpciones
{
    const char *nombre;
    std::vector<std::string> argumentos;
    std::string esperado; // Describir's line, or the reason the line is refused
};

void PrintTo(const CasoOpciones &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class OpcionesTest : public testing::TestWithParam<CasoOpciones>
{
};

TEST_P(OpcionesTest, LeidasORechazadas)
{
    const auto leidas = cotarel::LeerOpciones(GetParam().argumentos);
    const auto *opciones = std::get_if<cotarel::Opciones>(&leidas);
    EXPECT_EQ(opciones ? Describir(*opciones) : std::get<std::string>(leidas), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, OpcionesTest,
    testing::Values(CasoOpciones { "files_only", { "a.q19", "-", "b" }, "[a.q19,-,b]" },
        CasoOpciones { "flags", { "-q", "x", "--recursivo", "-0" }, "q r 0 [x]" },
        CasoOpciones { "json_with_equals", { "--formato=json", "x" }, "json [x]" },
        CasoOpciones { "json_as_next_word", { "--formato", "json", "x" }, "json [x]" },
        CasoOpciones { "text_format", { "--formato=texto", "x" }, "[x]" },
        CasoOpciones { "jobs_joined", { "-j3", "x" }, "j3 [x]" },
        CasoOpciones { "jobs_apart", { "-j", "12", "x" }, "j12 [x]" },
        CasoOpciones { "jobs_long", { "--trabajos=2", "x" }, "j2 [x]" },
        CasoOpciones { "list", { "--desde", "l.txt" }, "desde=l.txt []" },
        CasoOpciones { "list_from_stdin", { "--desde=-", "-0" }, "0 desde=- []" },
        CasoOpciones { "dash_dash_ends_options", { "--", "-x", "--help" }, "[-x,--help]" },
        CasoOpciones { "unknown_option", { "--rapido", "x" }, "opci\u00F3n desconocida: --rapido" },
        CasoOpciones {
            "unknown_format", { "--formato=xml" }, "formato desconocido: xml (json o texto)" },
        CasoOpciones { "format_missing", { "--formato" }, "formato desconocido:  (json o texto)" },
        CasoOpciones {
            "no_jobs", { "-j", "0", "x" }, "el n\u00FAmero de trabajos no es v\u00E1lido: 0" },
        CasoOpciones {
            "jobs_not_a_number", { "-j2x" }, "el n\u00FAmero de trabajos no es v\u00E1lido: 2x" },
        CasoOpciones { "jobs_missing", { "-j" }, "el n\u00FAmero de trabajos no es v\u00E1lido: " },
        CasoOpciones { "list_missing", { "--desde" }, "falta el fichero de --desde" }),
    [](const auto &info) { return std::string(info.param.nombre); });

// A folder for the list tests: a tree with a log, links and a NUL-separated list.
class ListaTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(carpeta / "arbol" / "b");
        for (const char *nombre : { "arbol/b/2.q19", "arbol/a.q19", "arbol/c.txt", "1.q19" }) {
            prueba::EscribirBytes(carpeta / nombre, "");
        }
        prueba::EscribirBytes(carpeta / "arbol" / "viejo.log", "a log");
        prueba::EscribirBytes(carpeta / "arbol" / "viejo.log1", "a log");
        prueba::EscribirBytes(
            carpeta / "lista", Ruta("arbol/c.txt") + '\0' + Ruta("1.q19") + '\0' + Ruta("arbol"));
        prueba::EscribirBytes(carpeta / "lineas", Ruta("1.q19") + "\r\n\n" + Ruta("arbol/a.q19"));
#ifndef _WIN32
        std::filesystem::create_symlink("../1.q19", carpeta / "arbol" / "enlace.q19");
        std::filesystem::create_directory_symlink("b", carpeta / "arbol" / "enlazada");
#endif
    }
    std::string Ruta(const std::string &nombre) const
    {
        return carpeta / nombre;
    }
    // Each entry as "path" or "path: problem", paths relative to the folder.
    std::string Lista(const std::string &argumentos) const
    {
        std::vector<std::string> palabras;
        for (auto palabra : prueba::Palabras(argumentos)) {
            if (const auto marca = palabra.find("{}"); marca != std::string::npos) {
                palabra.replace(marca, 2, Ruta(""));
            }
            palabras.push_back(palabra);
        }
        const auto opciones = std::get<cotarel::Opciones>(cotarel::LeerOpciones(palabras));
        std::string texto;
        for (const auto &entrada : cotarel::Ficheros(opciones)) {
            std::string ruta
                = entrada.ruta.substr(entrada.ruta.starts_with(Ruta("")) ? Ruta("").size() : 0);
            std::replace(ruta.begin(), ruta.end(), '\\', '/');
            texto += ruta + (entrada.problema.empty() ? "" : ": " + entrada.problema) + "\n";
        }
        return texto;
    }
    prueba::CarpetaTemporal carpeta;
};

TEST_F(ListaTest, ArbolEnOrdenDeRutaSinLogsNiEnlaces)
{
    EXPECT_EQ(Lista("-r {}arbol {}1.q19"), "arbol/a.q19\narbol/b/2.q19\narbol/c.txt\n1.q19\n");
    // Without -r a folder is a name like any other.
    EXPECT_EQ(Lista("{}arbol"), "arbol\n");
}

#ifndef _WIN32
TEST_F(ListaTest, EnlaceNombradoSeComprueba)
{
    EXPECT_EQ(Lista("-r {}arbol/enlace.q19"), "arbol/enlace.q19\n");
}
#endif

TEST_F(ListaTest, NombresDeUnaLista)
{
    EXPECT_EQ(Lista("{}1.q19 --desde {}lista -0"), "1.q19\narbol/c.txt\n1.q19\narbol\n");
    EXPECT_EQ(Lista("-r --desde {}lista -0"),
        "arbol/c.txt\n1.q19\narbol/a.q19\narbol/b/2.q19\narbol/c.txt\n");
    // One name a line; CR LF line ends and blank lines taken as they come.
    EXPECT_EQ(Lista("--desde={}lineas"), "1.q19\narbol/a.q19\n");
}

TEST_F(ListaTest, ListaQueNoSePuedeLeer)
{
    EXPECT_EQ(
        Lista("{}1.q19 --desde={}arbol"), "1.q19\narbol: No se puede leer la lista de nombres\n");
    EXPECT_EQ(Lista("--desde={}falta"), "falta: No se puede leer la lista de nombres\n");
}

// The batch as a script sees it, on one worker and on two: the reports in the
// order of the files, the exit status, the messages and the logs left.
struct CasoLote
{
    std::string nombre;
    std::vector<std::string> ficheros; // "malo", "bueno", "nocsb", "vacio", "falta"
    int estado;
    std::vector<std::string> resultados; // one line per file, paths as "{malo}"...
    std::string errores;
    std::string opciones = {};
};

class LoteTest : public testing::TestWithParam<std::tuple<CasoLote, unsigned>>
{
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(kDatos / "adeudos.q19", carpeta / "malo.q19");
        prueba::EscribirBytes(carpeta / "bueno.q19",
            "5180\r\n" + prueba::Registro({ { 1, "5680" }, { 69, "12345678010123456789" } })
                + "\r\n");
        prueba::EscribirBytes(carpeta / "nocsb.q19", "0280\r\n");
        prueba::EscribirBytes(carpeta / "vacio.q19", "0180\r\n0290\r\n");
        std::filesystem::copy_file(kDatos / "xml" / "pain001-remesa.xml", carpeta / "remesa.q19");
    }
    std::string Sustituir(std::string texto, bool json = false) const
    {
        for (const char *nombre : { "malo", "bueno", "nocsb", "vacio", "falta", "p", "remesa" }) {
            const std::string marca = std::string("{") + nombre + "}";
            const std::string enCarpeta = carpeta / nombre;
            const std::string ruta = json ? prueba::EnJson(enCarpeta) : enCarpeta;
            for (std::size_t pos; (pos = texto.find(marca)) != std::string::npos;) {
                texto.replace(pos, marca.size(), ruta);
            }
        }
        return texto;
    }
    prueba::CarpetaTemporal carpeta;
};

TEST_P(LoteTest, EstadoSalidaYLogs)
{
    const auto &[caso, trabajos] = GetParam();
    std::vector<std::string> argumentos = prueba::Palabras(caso.opciones);
    for (const auto &fichero : caso.ficheros) {
        argumentos.push_back(carpeta / (fichero + ".q19"));
    }
    auto opciones = std::get<cotarel::Opciones>(cotarel::LeerOpciones(argumentos));
    opciones.trabajos = trabajos;
    std::ostringstream salida;
    std::ostringstream errores;

    const int estado
        = cotarel::ComprobarTodos(cotarel::Ficheros(opciones), opciones, salida, errores);

    std::string esperado;
    for (const auto &linea : caso.resultados) {
        esperado += Sustituir(linea, caso.opciones.find("json") != std::string::npos) + "\n";
    }
    EXPECT_EQ(estado, caso.estado);
    EXPECT_EQ(salida.str(), esperado);
    EXPECT_EQ(errores.str(), Sustituir(caso.errores));
    // The faulty file's log is the one a desktop run writes; a clean run leaves none.
    if (std::filesystem::exists(carpeta / "malo.log")) {
        EXPECT_EQ(prueba::LeerBytes(carpeta / "malo.log"),
            prueba::LeerBytes(kDatos / "adeudos-esperado.log"));
    }
    EXPECT_FALSE(std::filesystem::exists(carpeta / "bueno.log"));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "nocsb.log"));
}

// A batch whose plan refuses files before it starts: the refused ones are
// never checked, whichever worker is free when their report goes out. Run
// many times, since a worker that takes a refused file does so only when the
// reporting thread gets there first.
TEST_F(LoteTest, RechazadosNuncaSeComprueban)
{
    std::filesystem::copy_file(carpeta / "bueno.q19", carpeta / "malo.txt");
    std::filesystem::copy_file(carpeta / "bueno.q19", carpeta / "p.q19");
    std::filesystem::copy_file(carpeta / "malo.q19", carpeta / "p.log"); // an order file so named
    const std::vector<std::string> ficheros { carpeta / "malo.q19", carpeta / "malo.txt",
        carpeta / "p.q19", carpeta / "p.log" };
    const std::string esperado
        = Sustituir("{malo}.q19\tProceso terminado con errores\tadeudos\t3\t{malo}.log\n"
                    "{malo}.txt\tNo comprobado\t-\t0\n"
                    "{p}.q19\tNo comprobado\t-\t0\n"
                    "{p}.log\tProceso terminado con errores\tadeudos\t3\t{p}.log1\n");
    for (int vuelta = 0; vuelta < 300; ++vuelta) {
        auto opciones = std::get<cotarel::Opciones>(cotarel::LeerOpciones(ficheros));
        opciones.trabajos = 2;
        std::ostringstream salida;
        std::ostringstream errores;
        const int estado
            = cotarel::ComprobarTodos(cotarel::Ficheros(opciones), opciones, salida, errores);
        ASSERT_EQ(estado, 2);
        ASSERT_EQ(salida.str(), esperado);
        ASSERT_EQ(prueba::LeerBytes(carpeta / "malo.log"),
            prueba::LeerBytes(kDatos / "adeudos-esperado.log"))
            << "in round " << vuelta;
        ASSERT_EQ(prueba::LeerBytes(carpeta / "p.log"), prueba::LeerBytes(carpeta / "malo.q19"));
        ASSERT_EQ(errores.str(),
            Sustituir("cotarel-check: {malo}.txt: El registro {malo}.log ya es el de {malo}.q19\n"
                      "cotarel-check: {p}.q19: El registro {p}.log es el "
                      "fichero {p}.log del lote\n"));
    }
}

// Past the accounts kept in memory, those of a JSON line wait in a temporary
// file. Whichever read or write fails (the input, the log, the temporary file
// as a full temporary folder fails it), the line never lists fewer accounts
// than it counts without saying so.
TEST_F(LoteTest, JsonNuncaIncompletoSinAviso)
{
    constexpr std::size_t kErroneas = cotarel::ListaFallos::kEnMemoria + 111;
    std::string remesa = "5180\r\n";
    for (std::size_t i = 0; i < kErroneas; ++i) {
        remesa += prueba::Registro({ { 1, "5680" }, { 69, "12345678000123456789" } }) + "\r\n";
    }
    prueba::EscribirBytes(carpeta / "muchos.q19", remesa);
    std::set<std::string> mensajes;
    for (const bool lectura : { true, false }) {
        for (int numero = 1; numero <= 20; ++numero) {
            SCOPED_TRACE((lectura ? "read " : "write ") + std::to_string(numero));
            auto opciones = std::get<cotarel::Opciones>(
                cotarel::LeerOpciones({ "--formato=json", carpeta / "muchos.q19" }));
            std::ostringstream salida;
            std::ostringstream errores;
            lectura ? prueba::FallarLecturaNumero(numero) : prueba::FallarEscrituraNumero(numero);
            const int estado
                = cotarel::ComprobarTodos(cotarel::Ficheros(opciones), opciones, salida, errores);
            prueba::FallarLecturaNumero(-1);
            prueba::FallarEscrituraNumero(-1);
            const auto linea = nlohmann::json::parse(salida.str());
            if (linea["mensaje"].is_string()) {
                mensajes.insert(linea["mensaje"].get<std::string>());
            }
            if (linea["resultado"] == "errores" && linea["fallos"].size() == kErroneas) {
                EXPECT_EQ(estado, 1);
            } else if (linea["resultado"] == "errores") {
                // Read back whole once, then not: said on standard error.
                EXPECT_EQ(estado, 2);
                EXPECT_NE(
                    errores.str().find("No se puede leer el fichero temporal"), std::string::npos);
            } else {
                EXPECT_EQ(linea["resultado"], "no-comprobado");
                EXPECT_TRUE(linea["fallos"].empty());
                EXPECT_TRUE(linea["mensaje"].is_string());
                EXPECT_EQ(estado, 2);
            }
        }
    }
    EXPECT_EQ(mensajes.count("No se puede leer el fichero temporal de la salida JSON"), 1U);
    EXPECT_EQ(mensajes.count("No se puede escribir el fichero temporal de la salida JSON"), 1U);
}

INSTANTIATE_TEST_SUITE_P(Casos, LoteTest,
    testing::Combine(
        testing::Values(CasoLote { "clean_file", { "bueno" }, 0,
                            { "{bueno}.q19\tProceso terminado\tadeudos\t0" }, "" },
            CasoLote { "faulty_file", { "malo" }, 1,
                { "{malo}.q19\tProceso terminado con errores\tadeudos\t3\t{malo}.log" }, "" },
            CasoLote { "not_csb", { "nocsb" }, 2, { "{nocsb}.q19\tNo comprobado\tno-csb\t0" },
                "cotarel-check: {nocsb}.q19: El fichero no es CSB\n" },
            CasoLote { "no_account_to_check", { "vacio" }, 2,
                { "{vacio}.q19\tNo comprobado\tadeudos\t0" },
                "cotarel-check: {vacio}.q19: No se ha comprobado ninguna cuenta\n" },
            CasoLote { "several_files", { "bueno", "malo" }, 1,
                { "{bueno}.q19\tProceso terminado\tadeudos\t0",
                    "{malo}.q19\tProceso terminado con errores\tadeudos\t3\t{malo}.log" },
                "" },
            CasoLote { "two_files_one_log", { "malo", "malo" }, 2,
                { "{malo}.q19\tProceso terminado con errores\tadeudos\t3\t{malo}.log",
                    "{malo}.q19\tNo comprobado\t-\t0" },
                "cotarel-check: {malo}.q19: El registro {malo}.log ya es el de {malo}.q19\n" },
            CasoLote { "missing_file_among_good_ones", { "malo", "falta", "bueno" }, 2,
                { "{malo}.q19\tProceso terminado con errores\tadeudos\t3\t{malo}.log",
                    "{falta}.q19\tNo comprobado\t-\t0",
                    "{bueno}.q19\tProceso terminado\tadeudos\t0" },
                "cotarel-check: {falta}.q19: No se puede abrir el fichero de Entrada\n" },
            CasoLote { "json_faulty_file", { "malo" }, 1,
                { R"({"ruta":"{malo}.q19","tipo":"adeudos","resultado":"errores",)"
                  R"("cuentas_comprobadas":5,"cuentas_erroneas":3,"cuentas_sin_iban":0,"errores_remesa":null,"registro":"{malo}.log",)"
                  R"("mensaje":null,"fallos":[{"linea":4,"papel":"individual","comprobacion":"dc"},)"
                  R"({"linea":6,"papel":"ordenante","comprobacion":"dc"},)"
                  R"({"linea":7,"papel":"individual","comprobacion":"dc"}]})" },
                "", "--formato=json" },
            CasoLote { "json_faults_of_the_order_file_beside_its_accounts", { "remesa" }, 1,
                { R"({"ruta":"{remesa}.q19","tipo":"xml-pain001","resultado":"errores",)"
                  R"("cuentas_comprobadas":3,"cuentas_erroneas":0,"cuentas_sin_iban":0,"errores_remesa":3,)"
                  R"("registro":"{remesa}.log","mensaje":null,"fallos":[]})" },
                "", "--formato=json" },
            CasoLote { "json_clean_and_no_account", { "bueno", "vacio" }, 2,
                { R"({"ruta":"{bueno}.q19","tipo":"adeudos","resultado":"correcto",)"
                  R"("cuentas_comprobadas":1,"cuentas_erroneas":0,"cuentas_sin_iban":0,"errores_remesa":null,"registro":null,)"
                  R"("mensaje":null,"fallos":[]})",
                    R"({"ruta":"{vacio}.q19","tipo":"adeudos","resultado":"sin-cuentas",)"
                    R"("cuentas_comprobadas":0,"cuentas_erroneas":0,"cuentas_sin_iban":0,"errores_remesa":null,"registro":null,)"
                    R"("mensaje":"No se ha comprobado ninguna cuenta","fallos":[]})" },
                "cotarel-check: {vacio}.q19: No se ha comprobado ninguna cuenta\n",
                "--formato json" },
            CasoLote { "json_not_checked", { "nocsb", "falta" }, 2,
                { R"({"ruta":"{nocsb}.q19","tipo":"no-csb","resultado":"no-comprobado",)"
                  R"("cuentas_comprobadas":null,"cuentas_erroneas":null,"cuentas_sin_iban":null,"errores_remesa":null,"registro":null,)"
                  R"("mensaje":"El fichero no es CSB","fallos":[]})",
                    R"({"ruta":"{falta}.q19","tipo":null,"resultado":"no-comprobado",)"
                    R"("cuentas_comprobadas":null,"cuentas_erroneas":null,"cuentas_sin_iban":null,"errores_remesa":null,"registro":null,)"
                    R"("mensaje":"No se puede abrir el fichero de Entrada","fallos":[]})" },
                "cotarel-check: {nocsb}.q19: El fichero no es CSB\n"
                "cotarel-check: {falta}.q19: No se puede abrir el fichero de Entrada\n",
                "--formato=json" }),
        testing::Values(1U, 2U)),
    [](const auto &info) {
        return std::get<0>(info.param).nombre + "_j" + std::to_string(std::get<1>(info.param));
    });

} // namespace
