// The windows' logic, whatever face draws them: the layout's conversion to
// pixels, the choice of a file, the run and its outcome, "&Detalles".
#include "arranque.h"
#include "ayuda.h"
#include "logica.h"
#include "servicios_guionados.h"

#include <gtest/gtest.h>

#include <set>

#include <filesystem>

namespace {

using prueba::CarpetaTemporal;
using ventanas::Desenlace;

const std::string kCuentaMala = "12345678000123456789";
const std::string kCuentaBuena = "12345678010123456789";

std::string FicheroAdeudos(const std::string &cuenta)
{
    return prueba::Unir({ "5180", prueba::Registro({ { 1, "5680" }, { 69, cuenta } }) });
}

// What the main window's face was told to show.
class VistaGrabadora final : public ventanas::Vista
{
public:
    void MostrarEntrada(std::string_view ruta) override { entrada = ruta; }
    void MostrarSalida(std::string_view ruta) override { salida = ruta; }
    void HabilitarProcesar(bool habilitado) override { procesar = habilitado; }
    void PunteroOcupado(bool ocupado) override { puntero += ocupado ? "ocupado;" : "normal;"; }
    void Repintar() override { puntero += "repintar;"; }
    void MostrarResultado(const Desenlace &desenlace, std::string_view log) override
    {
        resultados.push_back(desenlace);
        logs.emplace_back(log);
    }

    std::string entrada;
    std::string salida;
    bool procesar = false;
    std::string puntero;
    std::vector<Desenlace> resultados;
    std::vector<std::string> logs;
};

struct Ventana
{
    ServiciosGuionados servicios;
    VistaGrabadora vista;
    ventanas::LogicaEntrada logica { servicios, vista };
};

struct CasoPixeles
{
    const char *nombre;
    int twips;
    int dpi;
    int pixeles;
};

void PrintTo(const CasoPixeles &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class APixelesTest : public testing::TestWithParam<CasoPixeles>
{
};

TEST_P(APixelesTest, RedondeaAlPixelMasCercano)
{
    EXPECT_EQ(ventanas::APixeles(GetParam().twips, GetParam().dpi), GetParam().pixeles);
}

const CasoPixeles kPixeles[] = {
    { "main_window_width_96", 5520, 96, 368 },
    { "main_window_height_144", 3660, 144, 366 },
    { "label_width_144_half_rounds_up", 5175, 144, 518 },
    { "dialog_height_120", 1305, 120, 109 },
    { "frame_top_zero", 0, 144, 0 },
    { "negative_left_96", -120, 96, -8 },
    { "one_twip_192_rounds_down", 7, 192, 1 },
};

INSTANTIATE_TEST_SUITE_P(Casos, APixelesTest, testing::ValuesIn(kPixeles),
    [](const auto &info) { return std::string(info.param.nombre); });

// The desktop program's command line, read before the toolkit starts: one
// line each, "accion fichero | toolkit options" or the refusal.
struct CasoArranque
{
    const char *nombre;
    std::vector<std::string> argumentos;
    std::string esperado;
};

class ArranqueTest : public testing::TestWithParam<CasoArranque>
{
};

TEST_P(ArranqueTest, LeeLasOpciones)
{
    const auto arranque = ventanas::LeerArgumentos(GetParam().argumentos);
    std::string visto;
    switch (arranque.accion) {
    case ventanas::Arranque::Accion::Ayuda:
        visto = "help";
        break;
    case ventanas::Arranque::Accion::Version:
        visto = "version";
        break;
    case ventanas::Arranque::Accion::Error:
        visto = arranque.mensaje;
        break;
    case ventanas::Arranque::Accion::Ventana:
        visto = "window " + arranque.fichero.value_or("-") + " |";
        for (const auto &opcion : arranque.paraElToolkit) {
            visto += " " + opcion;
        }
        break;
    }
    EXPECT_EQ(visto, GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, ArranqueTest,
    testing::Values(CasoArranque { "nothing", {}, "window - |" },
        CasoArranque { "a_file", { "mayo.q19" }, "window mayo.q19 |" },
        CasoArranque { "help", { "mayo.q19", "--help" }, "help" },
        CasoArranque { "short_help", { "-h" }, "help" },
        CasoArranque { "version", { "--version" }, "version" },
        CasoArranque { "qt_style_with_its_value", { "-style", "fusion", "m.q19" },
            "window m.q19 | -style fusion" },
        CasoArranque { "qt_options_written_with_equals_and_alone",
            { "--platform=offscreen", "-reverse" }, "window - | --platform=offscreen -reverse" },
        CasoArranque {
            "file_starting_with_a_hyphen_after_two", { "--", "-mayo.q19" }, "window -mayo.q19 |" },
        CasoArranque { "unknown_option", { "--ayuda" },
            "cotarel: opci\u00F3n desconocida: --ayuda\nPruebe \u00ABcotarel --help\u00BB.\n" },
        CasoArranque { "a_lone_hyphen_is_a_file", { "-" }, "window - |" }),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(Diseno, AceleradoresDeLosTitulos)
{
    const auto &entrada = ventanas::DisenoEntrada();
    EXPECT_EQ(ventanas::Acelerador(entrada.Buscar("cmdProcesar").texto), 'P');
    EXPECT_EQ(ventanas::Acelerador(entrada.Buscar("Command2").texto), 'e');
    EXPECT_EQ(ventanas::Acelerador(ventanas::DisenoMsg().Buscar("Command1").texto), 'D');
    EXPECT_EQ(ventanas::Acelerador("Fichero Origen"), std::nullopt);
    EXPECT_EQ(ventanas::Acelerador("fin&"), std::nullopt);
    EXPECT_THROW(entrada.Buscar("Label1"), std::out_of_range);
}

// What a user sees of the layout at every scale: each control whole inside
// its frame and its window (a picture may be cut at the foot), none covering another of the same
// container, and every focusable control with its own name for a screen reader.
TEST(Diseno, ControlesDentroYSinTaparse)
{
    for (const ventanas::Ventana *ventana :
        { &ventanas::DisenoEntrada(), &ventanas::DisenoMsg() }) {
        for (const int dpi : { 96, 120, 144, 192 }) {
            SCOPED_TRACE(std::string(ventana->nombre) + " at " + std::to_string(dpi) + " dpi");
            const auto pixeles = [dpi](const ventanas::Rectangulo &r) {
                return ventanas::Rectangulo { ventanas::APixeles(r.left, dpi),
                    ventanas::APixeles(r.top, dpi), ventanas::APixeles(r.width, dpi),
                    ventanas::APixeles(r.height, dpi) };
            };
            const auto dentro = [](const ventanas::Control &control, const ventanas::Rectangulo &r,
                                    int ancho, int alto) {
                return r.left >= 0 && r.top >= 0 && r.left + r.width <= ancho
                    && (r.top + r.height <= alto || control.clase == ventanas::Clase::Imagen);
            };
            const auto solapan = [](const ventanas::Rectangulo &a, const ventanas::Rectangulo &b) {
                return a.left < b.left + b.width && b.left < a.left + a.width
                    && a.top < b.top + b.height && b.top < a.top + a.height;
            };
            std::set<std::string_view> nombres;
            for (const auto &control : ventana->controles) {
                const auto lugar = pixeles(control.lugar);
                const auto contenedor = control.contenedor.empty()
                    ? ventanas::Rectangulo { 0, 0, ventanas::APixeles(ventana->ancho, dpi),
                          ventanas::APixeles(ventana->alto, dpi) }
                    : pixeles(ventana->Buscar(control.contenedor).lugar);
                EXPECT_TRUE(dentro(control, lugar, contenedor.width, contenedor.height))
                    << control.nombre;
                for (const auto &otro : ventana->controles) {
                    if (&otro < &control && otro.contenedor == control.contenedor) {
                        EXPECT_FALSE(solapan(lugar, pixeles(otro.lugar)))
                            << control.nombre << " covers " << otro.nombre;
                    }
                }
                if (control.tabIndex) {
                    EXPECT_TRUE(nombres.insert(control.nombreAccesible).second) << control.nombre;
                    EXPECT_FALSE(control.nombreAccesible.empty()) << control.nombre;
                }
            }
        }
    }
}

struct CasoCentrado
{
    const char *nombre;
    ventanas::Rectangulo principal;
    int ancho;
    int alto;
    int dpi;
    ventanas::Punto esperado;
};

void PrintTo(const CasoCentrado &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class CentrarSobreTest : public testing::TestWithParam<CasoCentrado>
{
};

TEST_P(CentrarSobreTest, ColocaElDialogo)
{
    const auto &caso = GetParam();
    EXPECT_EQ(
        ventanas::CentrarSobre(caso.principal, caso.ancho, caso.alto, caso.dpi), caso.esperado);
}

// 5520 x 3660 over 5760 x 1305 twips: Top = 2355 / 2 = 1177.5 twips, 78.5
// pixels at 96 dpi; Left = -240 / 2 = -120 twips, applied as it is.
const CasoCentrado kCentrados[] = {
    { "at_the_origin_negative_left", { 0, 0, 368, 244 }, 384, 87, 96, { -8, 79 } },
    { "main_window_moved", { 300, 200, 368, 244 }, 384, 87, 96, { 292, 279 } },
    { "at_144_dpi", { 0, 0, 552, 366 }, 576, 131, 144, { -12, 118 } },
};

INSTANTIATE_TEST_SUITE_P(Casos, CentrarSobreTest, testing::ValuesIn(kCentrados),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(Desenlace, CadaResultadoDeUnaEjecucion)
{
    motor::Resultado resultado;
    resultado.cuentasComprobadas = 3;
    EXPECT_EQ(ventanas::DesenlaceDe(resultado),
        (Desenlace { "Proceso terminado", ventanas::Color { 0, 0, 255 }, false }));
    resultado.hayErrores = true;
    EXPECT_EQ(ventanas::DesenlaceDe(resultado),
        (Desenlace { "Proceso terminado con errores", ventanas::Color { 255, 0, 0 }, true }));
    resultado.hayErrores = false;
    resultado.cuentasComprobadas = 0;
    EXPECT_EQ(ventanas::DesenlaceDe(resultado),
        (Desenlace { "No se ha comprobado ninguna cuenta", ventanas::Color { 255, 0, 0 }, false }));
    resultado.fallo = motor::Fallo::NoSePuedeCrearSalida;
    EXPECT_EQ(ventanas::DesenlaceDe(resultado), std::nullopt);
}

TEST(CarpetaInicial, ProgramaDocumentosOPersonal)
{
    EXPECT_EQ(ventanas::CarpetaInicial(
                  { "/home/ana/cotarel", true, "/home/ana/Documentos", "/home/ana" }),
        "/home/ana/cotarel");
    EXPECT_EQ(ventanas::CarpetaInicial({ "/usr/bin", false, "/home/ana/Documentos", "/home/ana" }),
        "/home/ana/Documentos");
    EXPECT_EQ(ventanas::CarpetaInicial({ "/usr/bin", false, "", "/home/ana" }), "/home/ana");
}

// The editor gets the path whole and unquoted; when it cannot start, or gives
// up at once, the message gives the log's path.
TEST(Detalles, ArrancaElEditorOAvisaConLaRuta)
{
    const std::string aviso = "[i] No se puede mostrar el fichero log, visualicelo con un "
                              "programa editor de textos\n/tmp/mis remesas/mayo  junio.log";
    for (const auto &[arranca, fallaPronto, mensajes] : {
             std::tuple { true, false, std::vector<std::string> {} },
             std::tuple { false, false, std::vector<std::string> { aviso } },
             std::tuple { true, true, std::vector<std::string> { aviso } },
         }) {
        ServiciosGuionados servicios;
        servicios.arranca = arranca;
        servicios.fallaPronto = fallaPronto;
        ventanas::AbrirDetalles(servicios, "/tmp/mis remesas/mayo  junio.log");
        EXPECT_EQ(servicios.ordenes,
            std::vector<std::string> { "notepad /tmp/mis remesas/mayo  junio.log" });
        EXPECT_EQ(servicios.mensajes, mensajes);
    }
}

// One choice in the file dialog, from a fresh window.
struct CasoEleccion
{
    const char *nombre;
    const char *fichero; // empty: the dialog is cancelled
    std::string contenido;
    bool logExiste;
    bool respuesta;
    const char *salida; // expected log path, relative to the folder
    bool procesar;
    std::vector<std::string> mensajes;
    std::size_t preguntas;
};

void PrintTo(const CasoEleccion &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class ElegirTest : public testing::TestWithParam<CasoEleccion>
{
};

TEST_P(ElegirTest, DerivaPreguntaYComprueba)
{
    const CasoEleccion &caso = GetParam();
    CarpetaTemporal carpeta;
    Ventana ventana;
    const std::string nombre = caso.fichero;
    if (nombre == "carpeta.txt") {
        std::filesystem::create_directory(carpeta / nombre); // exists, but cannot be read
    } else if (!nombre.empty()) {
        prueba::EscribirBytes(carpeta / nombre, caso.contenido);
    }
    if (caso.logExiste) {
        prueba::EscribirBytes(carpeta / "mayo.log", "old log");
    }
    if (!nombre.empty()) {
        ventana.servicios.elecciones.push_back((carpeta / nombre).string());
    }
    ventana.servicios.respuestas.push_back(caso.respuesta);

    ventana.logica.Elegir();

    EXPECT_EQ(ventana.servicios.tituloAbrir, "Abrir fichero a filtrar");
    EXPECT_EQ(ventana.servicios.abiertoEn, std::vector<std::string> { "/opt/cotarel" });
    EXPECT_EQ(ventana.vista.entrada, nombre.empty() ? "" : (carpeta / nombre).string());
    const std::string salida = *caso.salida ? (carpeta / caso.salida).string() : "";
    EXPECT_EQ(ventana.vista.salida, salida);
    EXPECT_EQ(ventana.logica.Salida(), salida);
    EXPECT_EQ(ventana.vista.procesar, caso.procesar);
    EXPECT_EQ(ventana.servicios.mensajes, caso.mensajes);
    ASSERT_EQ(ventana.servicios.preguntas.size(), caso.preguntas);
    if (caso.preguntas > 0) {
        EXPECT_EQ(ventana.servicios.preguntas.front(),
            "El fichero de salida ya existe \u00BFDesea sobreescribirlo?");
    }
}

const std::vector<std::string> kNoCsb { "El fichero no es CSB" };

const CasoEleccion kElecciones[] = {
    { "cancel_before_any_choice", "", FicheroAdeudos(kCuentaMala), false, true, "", false, {}, 0 },
    { "debit_file_no_log", "mayo.txt", FicheroAdeudos(kCuentaMala), false, true, "mayo.log", true,
        {}, 0 },
    { "transfer_file", "mayo.txt", "0356\r\n", false, true, "mayo.log", true, {}, 0 },
    { "log_exists_yes", "mayo.txt", FicheroAdeudos(kCuentaMala), true, true, "mayo.log", true, {},
        1 },
    { "log_exists_no", "mayo.txt", "0180\r\n", true, false, "", false, {}, 1 },
    { "not_csb", "mayo.txt", "0280\r\n", false, true, "mayo.log", false, kNoCsb, 0 },
    { "log_exists_no_not_csb", "mayo.txt", "0280\r\n", true, false, "", false, kNoCsb, 1 },
    { "empty_file", "mayo.txt", "", false, true, "mayo.log", false, kNoCsb, 0 },
    { "mayo_log_gives_mayo_log1", "mayo.log", FicheroAdeudos(kCuentaMala), false, true, "mayo.log1",
        true, {}, 0 },
    { "cannot_be_opened", "carpeta.txt", "", false, true, "carpeta.log", false,
        { "No se puede abrir el fichero de Entrada" }, 0 },
};

INSTANTIATE_TEST_SUITE_P(Casos, ElegirTest, testing::ValuesIn(kElecciones),
    [](const auto &info) { return std::string(info.param.nombre); });

// A cancel after a choice goes through the same file again: the log written by
// a run in between now exists, so the question comes.
TEST(Elegir, CancelarTrasElegirRepiteLaEleccion)
{
    CarpetaTemporal carpeta;
    Ventana ventana;
    prueba::EscribirBytes(carpeta / "mayo.txt", FicheroAdeudos(kCuentaMala));
    ventana.servicios.elecciones.push_back((carpeta / "mayo.txt").string());
    ventana.logica.Elegir();
    EXPECT_TRUE(ventana.servicios.preguntas.empty());
    prueba::EscribirBytes(carpeta / "mayo.log", "log of a run");

    ventana.servicios.respuestas.push_back(false);
    ventana.logica.Elegir();
    EXPECT_EQ(ventana.servicios.abiertoEn.back(), (carpeta / "mayo.txt").string());
    EXPECT_EQ(ventana.vista.entrada, (carpeta / "mayo.txt").string());
    EXPECT_EQ(ventana.servicios.preguntas.size(), 1u);
    EXPECT_EQ(ventana.vista.salida, "");
    EXPECT_FALSE(ventana.vista.procesar);
}

// A file from the command line is taken as if chosen: relative to the current
// folder, and offered by the dialog the next time.
TEST(Abrir, RutaRelativaComoSiSeHubieraElegido)
{
    CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "mayo.txt", FicheroAdeudos(kCuentaMala));
    prueba::EscribirBytes(carpeta / "mayo.log", "old log");
    const auto antes = std::filesystem::current_path();
    std::filesystem::current_path(carpeta / "");
    Ventana ventana;
    ventana.logica.Abrir("mayo.txt");
    std::filesystem::current_path(antes);
    EXPECT_EQ(ventana.vista.entrada, (carpeta / "mayo.txt").string());
    EXPECT_EQ(ventana.servicios.preguntas.size(), 1u);
    EXPECT_TRUE(ventana.vista.procesar);
    ventana.logica.Elegir();
    EXPECT_EQ(ventana.servicios.abiertoEn.back(), ventana.vista.entrada);

    Ventana otra;
    otra.logica.Abrir((carpeta / "no-existe.q19").string());
    EXPECT_EQ(otra.servicios.mensajes,
        std::vector<std::string> { "No se puede abrir el fichero de Entrada" });
    EXPECT_FALSE(otra.vista.procesar);
}

struct CasoEjecucion
{
    const char *nombre;
    std::string contenido;
    Desenlace desenlace;
    bool logQueda;
};

void PrintTo(const CasoEjecucion &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class ProcesarTest : public testing::TestWithParam<CasoEjecucion>
{
};

TEST_P(ProcesarTest, MuestraElResultado)
{
    const CasoEjecucion &caso = GetParam();
    CarpetaTemporal carpeta;
    Ventana ventana;
    prueba::EscribirBytes(carpeta / "mayo.txt", caso.contenido);
    prueba::EscribirBytes(carpeta / "mayo.log", "old log");
    ventana.servicios.elecciones.push_back((carpeta / "mayo.txt").string());
    ventana.logica.Elegir();
    for (int vez = 0; vez < 2; ++vez) { // the second run asks nothing
        ventana.logica.Procesar();
    }
    EXPECT_EQ(ventana.servicios.preguntas.size(), 1u);
    EXPECT_EQ(ventana.vista.resultados, std::vector<Desenlace>(2, caso.desenlace));
    EXPECT_EQ(ventana.vista.logs, std::vector<std::string>(2, (carpeta / "mayo.log").string()));
    EXPECT_EQ(std::filesystem::exists(carpeta / "mayo.log"), caso.logQueda);
    EXPECT_TRUE(ventana.servicios.mensajes.empty());
    EXPECT_EQ(ventana.vista.puntero, "ocupado;normal;repintar;ocupado;normal;repintar;");
}

const CasoEjecucion kEjecuciones[] = {
    { "clean_run", FicheroAdeudos(kCuentaBuena), { "Proceso terminado", { 0, 0, 255 }, false },
        false },
    { "no_account_to_check", "5180\r\n5290\r\n",
        { "No se ha comprobado ninguna cuenta", { 255, 0, 0 }, false }, false },
    { "run_with_errors", FicheroAdeudos(kCuentaMala),
        { "Proceso terminado con errores", { 255, 0, 0 }, true }, true },
};

INSTANTIATE_TEST_SUITE_P(Casos, ProcesarTest, testing::ValuesIn(kEjecuciones),
    [](const auto &info) { return std::string(info.param.nombre); });

// A run that stops with its own message shows no result dialog, leaves what
// stands at the log path as it was, and its message goes under the normal
// pointer.
TEST(Procesar, FalloSinDialogoYConElLogAnterior)
{
    for (const char *caso : { "vanished", "folder", "not CSB" }) {
        SCOPED_TRACE(caso);
        CarpetaTemporal carpeta;
        Ventana ventana;
        prueba::EscribirBytes(carpeta / "mayo.txt", FicheroAdeudos(kCuentaMala));
        ventana.servicios.elecciones.push_back((carpeta / "mayo.txt").string());
        ventana.logica.Elegir();
        if (std::string(caso) == "folder") {
            std::filesystem::create_directory(carpeta / "mayo.log");
        } else {
            prueba::EscribirBytes(carpeta / "mayo.log", "old log");
        }
        if (std::string(caso) == "vanished") {
            std::filesystem::remove(carpeta / "mayo.txt");
        } else if (std::string(caso) == "not CSB") {
            prueba::EscribirBytes(carpeta / "mayo.txt", "0280\r\n");
        }
        ventana.logica.Procesar();
        EXPECT_TRUE(ventana.vista.resultados.empty());
        ASSERT_EQ(ventana.servicios.mensajes.size(), 1u);
        EXPECT_EQ(ventana.servicios.mensajes.front(),
            std::string(caso) == "vanished"     ? "No se puede abrir el fichero de Entrada"
                : std::string(caso) == "folder" ? "No se puede crear el fichero de Salida"
                                                : "El fichero no es CSB");
        if (std::string(caso) != "folder") {
            EXPECT_EQ(prueba::LeerBytes(carpeta / "mayo.log"), "old log");
        }
        const std::string &puntero = ventana.vista.puntero;
        EXPECT_GT(puntero.rfind("normal;"), puntero.rfind("ocupado;")) << puntero;
    }
}

} // namespace
