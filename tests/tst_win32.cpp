// The Windows face, driven in-process as a user would through window
// messages and read back from the real controls. The DPI is the session's
// (COTAREL_DPI tells which one the run expects): 96 or 144.
#include "ayuda.h"
#include "frmEntrada.h"
#include "frmMsg.h"
#include "servicios_guionados.h"
#include "version.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <functional>

namespace {

using prueba::CarpetaTemporal;

int DpiEsperado()
{
    const char *dpi = std::getenv("COTAREL_DPI");
    return dpi != nullptr ? std::atoi(dpi) : 96;
}

struct Caja
{
    int left, top, width, height;
    friend bool operator==(const Caja &, const Caja &) = default;
    friend std::ostream &operator<<(std::ostream &salida, const Caja &caja)
    {
        return salida << caja.left << "," << caja.top << " " << caja.width << "x" << caja.height;
    }
};

// Where a control stands in its window's client area.
Caja Lugar(HWND control)
{
    RECT rectangulo {};
    GetWindowRect(control, &rectangulo);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rectangulo), 2);
    return { rectangulo.left, rectangulo.top, rectangulo.right - rectangulo.left,
        rectangulo.bottom - rectangulo.top };
}

Caja AreaCliente(HWND ventana)
{
    RECT cliente {};
    GetClientRect(ventana, &cliente);
    return { 0, 0, cliente.right, cliente.bottom };
}

std::string ClaseDe(HWND control)
{
    wchar_t clase[64] {};
    GetClassNameW(control, clase, 64);
    return win32::Utf8(clase);
}

std::string FicheroAdeudos(const std::string &cuenta)
{
    return prueba::Unir({ "5180", prueba::Registro({ { 1, "5680" }, { 69, cuenta } }) });
}

struct CasoGeometria
{
    const char *nombre;
    bool resultado; // a control of frmMsg
    Caja a96;
    Caja a144;
};

void PrintTo(const CasoGeometria &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class GeometriaTest : public testing::TestWithParam<CasoGeometria>
{
};

TEST_P(GeometriaTest, EnPixelesALosPuntosPorPulgada)
{
    const CasoGeometria &caso = GetParam();
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    ASSERT_EQ(win32::DpiDe(ventana.Ventana()), DpiEsperado());
    const Caja esperada = DpiEsperado() == 144 ? caso.a144 : caso.a96;
    // Moved to a screen of the other scale: laid out again at the DPI the
    // message brings (the system's own answer stays as it was).
    const auto otroDpi = [&](HWND ventana) {
        const int dpi = DpiEsperado() == 144 ? 96 : 144;
        RECT sugerido {};
        GetWindowRect(ventana, &sugerido);
        SendMessageW(
            ventana, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&sugerido));
        return DpiEsperado() == 144 ? caso.a96 : caso.a144;
    };
    if (!caso.resultado) {
        EXPECT_EQ(Lugar(ventana.Control(caso.nombre)), esperada);
        const Caja otra = otroDpi(ventana.Ventana());
        EXPECT_EQ(Lugar(ventana.Control(caso.nombre)), otra);
        return;
    }
    win32::frmMsg dialogo(servicios, ventana.Ventana(), "");
    EXPECT_EQ(Lugar(dialogo.Control(caso.nombre)), esperada);
    const Caja otra = otroDpi(dialogo.Ventana());
    EXPECT_EQ(Lugar(dialogo.Control(caso.nombre)), otra);
}

const CasoGeometria kGeometrias[] = {
    { "Label2", false, { 8, 8, 345, 57 }, { 12, 12, 518, 86 } },
    { "Frame1", false, { 8, 72, 353, 65 }, { 12, 108, 530, 98 } },
    { "tbEntrada", false, { 24, 96, 249, 27 }, { 36, 144, 374, 41 } },
    { "Image1", false, { 296, 96, 32, 24 }, { 444, 144, 48, 36 } },
    { "Frame2", false, { 8, 144, 353, 65 }, { 12, 216, 530, 98 } },
    { "tbSalida", false, { 24, 168, 305, 27 }, { 36, 252, 458, 41 } },
    { "cmdProcesar", false, { 200, 216, 81, 25 }, { 300, 324, 122, 38 } },
    { "Command2", false, { 288, 216, 73, 25 }, { 432, 324, 110, 38 } },
    { "Image2", false, { 0, 216, 190, 30 }, { 0, 324, 285, 45 } },
    { "Frame1", true, { 8, 0, 369, 49 }, { 12, 0, 554, 74 } },
    { "Label1", true, { 24, 16, 337, 33 }, { 36, 24, 506, 50 } },
    { "Command1", true, { 168, 56, 97, 25 }, { 252, 84, 146, 38 } },
    { "cmdAceptar", true, { 280, 56, 97, 25 }, { 420, 84, 146, 38 } },
};

INSTANTIATE_TEST_SUITE_P(
    Controles, GeometriaTest, testing::ValuesIn(kGeometrias), [](const auto &info) {
        return std::string(info.param.resultado ? "frmMsg_" : "frmEntrada_") + info.param.nombre;
    });

TEST(Ventanas, TamanoYLugar)
{
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    win32::frmMsg dialogo(servicios, ventana.Ventana(), "");
    const bool a144 = DpiEsperado() == 144;
    EXPECT_EQ(
        AreaCliente(ventana.Ventana()), (a144 ? Caja { 0, 0, 552, 366 } : Caja { 0, 0, 368, 244 }));
    EXPECT_EQ(
        AreaCliente(dialogo.Ventana()), (a144 ? Caja { 0, 0, 576, 131 } : Caja { 0, 0, 384, 87 }));
    RECT exterior {};
    GetWindowRect(ventana.Ventana(), &exterior);
    EXPECT_EQ(exterior.left, 0);
    EXPECT_EQ(exterior.top, 0);
    // Centred over the main window; its Left comes out negative and stays so.
    RECT propio {};
    GetWindowRect(dialogo.Ventana(), &propio);
    EXPECT_LT(propio.left, 0);
    EXPECT_LE(std::abs((propio.left + propio.right) - (exterior.left + exterior.right)), 1);
    EXPECT_LE(std::abs((propio.top + propio.bottom) - (exterior.top + exterior.bottom)), 1);
    const LONG estilo = GetWindowLongW(ventana.Ventana(), GWL_STYLE);
    EXPECT_FALSE(estilo & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(estilo & WS_SYSMENU);
}

// Texts, the platform's own classes and the state at start-up.
TEST(Ventanas, TextosClasesYEstadoInicial)
{
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    ventana.Mostrar(SW_SHOW);
    EXPECT_EQ(win32::TextoDe(ventana.Ventana()), "Cotarel Ver " COTAREL_VERSION_TITULO);
    EXPECT_EQ(win32::TextoDe(ventana.Control("Frame1")), "Fichero Origen");
    EXPECT_EQ(win32::TextoDe(ventana.Control("Frame2")), "Fichero Destino");
    EXPECT_EQ(win32::TextoDe(ventana.Control("cmdProcesar")), "&Procesar");
    EXPECT_EQ(win32::TextoDe(ventana.Control("Command2")), "C&errar");
    EXPECT_EQ(win32::TextoDe(ventana.Control("Image1")), "Buscar fichero");
    EXPECT_EQ(
        win32::TextoDe(ventana.Control("Label2")).size(), 218u); // 214 letters, 4 of two bytes
    EXPECT_EQ(ClaseDe(ventana.Control("Label2")), "Static");
    EXPECT_EQ(ClaseDe(ventana.Control("Frame1")), "Button");
    EXPECT_EQ(GetWindowLongW(ventana.Control("Frame1"), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(ClaseDe(ventana.Control("tbSalida")), "Edit");
    EXPECT_TRUE(GetWindowLongW(ventana.Control("tbSalida"), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(ventana.Control("Image1"), GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(win32::TextoDe(ventana.Control("tbEntrada")), "");
    EXPECT_FALSE(IsWindowEnabled(ventana.Control("cmdProcesar")));
    EXPECT_TRUE(IsWindowEnabled(ventana.Control("Command2")));
    EXPECT_EQ(GetFocus(), ventana.Control("tbEntrada"));
    // Tab order skips the disabled "&Procesar" and the picture.
    HWND siguiente = GetNextDlgTabItem(ventana.Ventana(), ventana.Control("tbEntrada"), FALSE);
    EXPECT_EQ(siguiente, ventana.Control("Command2"));
    EXPECT_EQ(GetNextDlgTabItem(ventana.Ventana(), siguiente, FALSE), ventana.Control("tbSalida"));

    win32::frmMsg dialogo(servicios, ventana.Ventana(), "");
    EXPECT_EQ(win32::TextoDe(dialogo.Ventana()), "Cotarel    Munvastor S.A.");
    EXPECT_EQ(win32::TextoDe(dialogo.Control("Label1")), "Proceso terminado");
    EXPECT_FALSE(IsWindowEnabled(dialogo.Control("Command1")));
    EXPECT_EQ(win32::TextoDe(dialogo.Control("cmdAceptar")), "&Aceptar");
}

// What the result dialog shows, read while it is up; the action then closes it.
struct Visto
{
    std::string texto;
    COLORREF color = 0;
    bool detalles = false;
    bool principalHabilitada = true;
};

Visto *visto = nullptr;
win32::frmEntrada *enCurso = nullptr;
std::function<void(win32::frmMsg &)> alMostrarse;

void CALLBACK LeerResultado(HWND, UINT, UINT_PTR temporizador, DWORD)
{
    win32::frmMsg *dialogo = enCurso->Resultado();
    if (dialogo == nullptr) {
        return;
    }
    KillTimer(nullptr, temporizador);
    HWND etiqueta = dialogo->Control("Label1");
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(dialogo->Ventana(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(etiqueta));
    *visto = { win32::TextoDe(etiqueta), GetTextColor(dc),
        IsWindowEnabled(dialogo->Control("Command1")) != 0,
        IsWindowEnabled(enCurso->Ventana()) != 0 };
    DeleteDC(dc);
    alMostrarse(*dialogo);
}

// Presses "&Procesar" and answers the dialog with `accion`; false when no
// dialog came.
bool Procesar(win32::frmEntrada &ventana, Visto &leido, std::function<void(win32::frmMsg &)> accion)
{
    visto = &leido;
    enCurso = &ventana;
    bool vino = false;
    alMostrarse = [&](win32::frmMsg &dialogo) {
        vino = true;
        accion(dialogo);
    };
    const UINT_PTR temporizador = SetTimer(nullptr, 0, 20, LeerResultado);
    SendMessageW(ventana.Control("cmdProcesar"), BM_CLICK, 0, 0);
    KillTimer(nullptr, temporizador);
    return vino;
}

void Elegir(win32::frmEntrada &ventana)
{
    SendMessageW(ventana.Control("Image1"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(ventana.Control("Image1"), WM_LBUTTONUP, 0, 0);
}

struct CasoResultado
{
    const char *nombre;
    std::string contenido;
    std::string texto;
    COLORREF color;
    bool detalles;
};

void PrintTo(const CasoResultado &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

class ResultadoTest : public testing::TestWithParam<CasoResultado>
{
};

// A click on the folder, the choice, "&Procesar" and Enter on "&Aceptar".
TEST_P(ResultadoTest, ElDialogoMuestraElDesenlace)
{
    const CasoResultado &caso = GetParam();
    CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "mayo.txt", caso.contenido);
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    ventana.Mostrar(SW_SHOW);
    servicios.elecciones.push_back((carpeta / "mayo.txt").string());
    Elegir(ventana);
    EXPECT_EQ(win32::TextoDe(ventana.Control("tbEntrada")), (carpeta / "mayo.txt").string());
    EXPECT_EQ(win32::TextoDe(ventana.Control("tbSalida")), (carpeta / "mayo.log").string());
    ASSERT_TRUE(IsWindowEnabled(ventana.Control("cmdProcesar")));

    Visto leido;
    bool cerradoConEnter = false;
    ASSERT_TRUE(Procesar(ventana, leido, [&](win32::frmMsg &dialogo) {
        EXPECT_EQ(GetFocus(), dialogo.Control("cmdAceptar"));
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(GetFocus(), WM_KEYUP, VK_RETURN, 0);
        cerradoConEnter = true;
    }));
    EXPECT_TRUE(cerradoConEnter);
    EXPECT_EQ(leido.texto, caso.texto);
    EXPECT_EQ(leido.color, caso.color);
    EXPECT_EQ(leido.detalles, caso.detalles);
    EXPECT_FALSE(leido.principalHabilitada); // modal
    EXPECT_TRUE(IsWindowEnabled(ventana.Ventana()));
    EXPECT_TRUE(servicios.mensajes.empty());
}

const CasoResultado kResultados[] = {
    { "clean_run", FicheroAdeudos("12345678010123456789"), "Proceso terminado", RGB(0, 0, 255),
        false },
    { "no_account_to_check", "5180\r\n5290\r\n", "No se ha comprobado ninguna cuenta",
        RGB(255, 0, 0), false },
    { "run_with_errors", FicheroAdeudos("12345678000123456789"), "Proceso terminado con errores",
        RGB(255, 0, 0), true },
};

INSTANTIATE_TEST_SUITE_P(Casos, ResultadoTest, testing::ValuesIn(kResultados),
    [](const auto &info) { return std::string(info.param.nombre); });

// After a run, Ctrl+O through the message loop's accelerators opens the file
// dialog whatever button has the focus: it never presses the button (the
// same run again, or the end of the program). The result dialog, left for
// another window and activated again, gives the focus back to its control.
TEST(Ventanas, CtrlOYFocoDelResultado)
{
    CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "mayo.txt", FicheroAdeudos("12345678000123456789"));
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    ventana.Mostrar(SW_SHOW);
    servicios.elecciones.push_back((carpeta / "mayo.txt").string());
    Elegir(ventana);
    Visto leido;
    ASSERT_TRUE(Procesar(ventana, leido, [&](win32::frmMsg &dialogo) {
        SetFocus(dialogo.Control("Command1"));
        SendMessageW(dialogo.Ventana(), WM_ACTIVATE, WA_INACTIVE, 0);
        SetFocus(nullptr); // as when Notepad takes the keyboard
        SendMessageW(dialogo.Ventana(), WM_ACTIVATE, WA_ACTIVE, 0);
        EXPECT_EQ(GetFocus(), dialogo.Control("Command1"));
        SetFocus(dialogo.Control("cmdAceptar"));
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(GetFocus(), WM_KEYUP, VK_RETURN, 0);
    }));
    const std::string log = prueba::LeerBytes(carpeta / "mayo.log");
    BYTE teclado[256] {};
    GetKeyboardState(teclado);
    teclado[VK_CONTROL] = 0x80;
    SetKeyboardState(teclado);
    for (const char *boton : { "cmdProcesar", "Command2" }) {
        SCOPED_TRACE(boton);
        const std::size_t antes = servicios.abiertoEn.size();
        SetFocus(ventana.Control(boton));
        MSG tecla { ventana.Control(boton), WM_KEYDOWN, 'O', 0x00180001, 0, {} };
        EXPECT_TRUE(ventana.TraducirMensaje(tecla));
        EXPECT_EQ(servicios.abiertoEn.size(), antes + 1); // the dialog, cancelled
        EXPECT_TRUE(IsWindow(ventana.Ventana()));
    }
    teclado[VK_CONTROL] = 0;
    SetKeyboardState(teclado);
    EXPECT_EQ(prueba::LeerBytes(carpeta / "mayo.log"), log);
}

// The log exists and the user answers No: no log path, "&Procesar" disabled.
TEST(Ventanas, PreguntaDeSobreescribir)
{
    CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "mayo.txt", FicheroAdeudos("12345678000123456789"));
    prueba::EscribirBytes(carpeta / "mayo.log", "old log");
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    servicios.elecciones.push_back((carpeta / "mayo.txt").string());
    servicios.respuestas.push_back(false);
    Elegir(ventana);
    EXPECT_EQ(servicios.preguntas,
        std::vector<std::string> { "El fichero de salida ya existe \u00BFDesea sobreescribirlo?" });
    EXPECT_EQ(win32::TextoDe(ventana.Control("tbSalida")), "");
    EXPECT_FALSE(IsWindowEnabled(ventana.Control("cmdProcesar")));
}

// "&Detalles" with an editor that cannot start: the message gives the path,
// and the dialog stays until "&Aceptar".
TEST(Ventanas, DetallesSinEditor)
{
    CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "mi mayo.txt", FicheroAdeudos("12345678000123456789"));
    ServiciosGuionados servicios;
    servicios.arranca = false;
    win32::frmEntrada ventana(servicios);
    ventana.Mostrar(SW_SHOW);
    servicios.elecciones.push_back((carpeta / "mi mayo.txt").string());
    Elegir(ventana);
    Visto leido;
    ASSERT_TRUE(Procesar(ventana, leido, [](win32::frmMsg &dialogo) {
        SendMessageW(dialogo.Control("Command1"), BM_CLICK, 0, 0);
        SendMessageW(dialogo.Ventana(), WM_COMMAND, IDCANCEL, 0); // Escape closes nothing
        EXPECT_TRUE(IsWindowVisible(dialogo.Ventana()));
        SendMessageW(dialogo.Control("cmdAceptar"), BM_CLICK, 0, 0);
    }));
    const std::string log = (carpeta / "mi mayo.log").string();
    EXPECT_EQ(servicios.ordenes, std::vector<std::string> { "notepad " + log });
    EXPECT_EQ(servicios.mensajes,
        std::vector<std::string> { "[i] No se puede mostrar el fichero log, visualicelo con un "
                                   "programa editor de textos\n"
            + log });
}

// A file dropped on the window is taken as if chosen.
TEST(Ventanas, SoltarUnFichero)
{
    CarpetaTemporal carpeta;
    prueba::EscribirBytes(carpeta / "ñandú.q19", FicheroAdeudos("12345678000123456789"));
    ServiciosGuionados servicios;
    win32::frmEntrada ventana(servicios);
    const std::wstring lista
        = win32::Ancho((carpeta / "ñandú.q19").string()) + std::wstring(2, L'\0');
    HGLOBAL soltados = GlobalAlloc(GHND, sizeof(DROPFILES) + lista.size() * sizeof(wchar_t));
    auto *cabecera = static_cast<DROPFILES *>(GlobalLock(soltados));
    cabecera->pFiles = sizeof(DROPFILES);
    cabecera->fWide = TRUE;
    std::copy(lista.begin(), lista.end(), reinterpret_cast<wchar_t *>(cabecera + 1));
    GlobalUnlock(soltados);
    SendMessageW(ventana.Ventana(), WM_DROPFILES, reinterpret_cast<WPARAM>(soltados), 0);
    EXPECT_EQ(win32::TextoDe(ventana.Control("tbEntrada")), (carpeta / "ñandú.q19").string());
    EXPECT_EQ(win32::TextoDe(ventana.Control("tbSalida")), (carpeta / "ñandú.log").string());
    EXPECT_TRUE(IsWindowEnabled(ventana.Control("cmdProcesar")));
}

} // namespace
