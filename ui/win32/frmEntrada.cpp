#include "frmEntrada.h"

#include "dibujos.h"
#include "frmMsg.h"

namespace win32 {
namespace {

// Ctrl+O: a command of its own, neither a control's nor a dialog box's
// (IDOK would press the focused button).
constexpr int kIdBuscar = 40001;
static_assert(kIdBuscar > kUltimoIdDialogo);
constexpr int kIconoEntrada = 1; // the program's icon resource
constexpr int kIconoResultado = 2;

const ventanas::Ventana &Diseno()
{
    return ventanas::DisenoEntrada();
}

// The name in the table of the control with this identifier; empty for others.
std::string_view NombreDe(const ventanas::Ventana &diseno, int id)
{
    const auto indice = static_cast<std::size_t>(id - kPrimerId);
    return id >= kPrimerId && indice < diseno.controles.size() ? diseno.controles[indice].nombre
                                                               : std::string_view {};
}

} // namespace

void Registrar(const wchar_t *nombre, WNDPROC procedimiento, int icono)
{
    HINSTANCE programa = GetModuleHandleW(nullptr);
    WNDCLASSEXW clase {};
    clase.cbSize = sizeof clase;
    clase.lpfnWndProc = procedimiento;
    clase.hInstance = programa;
    clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    clase.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    clase.lpszClassName = nombre;
    clase.hIcon = LoadIconW(programa, MAKEINTRESOURCEW(icono));
    if (clase.hIcon == nullptr) { // a program without the second icon
        clase.hIcon = LoadIconW(programa, MAKEINTRESOURCEW(kIconoEntrada));
    }
    RegisterClassExW(&clase);
}

void RegistrarClases()
{
    static const bool registradas = [] {
        Registrar(kClaseEntrada, Despachar<frmEntrada>, kIconoEntrada);
        Registrar(kClaseMsg, Despachar<frmMsg>, kIconoResultado);
        return true;
    }();
    static_cast<void>(registradas);
}

frmEntrada::frmEntrada(ventanas::Servicios &servicios)
    : servicios_(servicios)
    , logica_(servicios, *this)
{
    RegistrarClases();
    CreateWindowExW(WS_EX_CONTROLPARENT, kClaseEntrada, Ancho(Diseno().titulo).c_str(),
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 200, nullptr, nullptr,
        GetModuleHandleW(nullptr), this);
    dpi_ = DpiDe(ventana_);
    AjustarAreaCliente(ventana_, Diseno(), dpi_);
    controles_ = CrearControles(ventana_, Diseno(), dpi_, fuentes_);
    DragAcceptFiles(ventana_, TRUE);
    ACCEL buscar { FVIRTKEY | FCONTROL, 'O', kIdBuscar };
    aceleradores_ = CreateAcceleratorTableW(&buscar, 1);
    ultimoFoco_ = Control("tbEntrada");
    // Form_Load: Top first, then Left.
    SetWindowPos(ventana_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

frmEntrada::~frmEntrada()
{
    DestroyAcceleratorTable(aceleradores_);
    if (IsWindow(ventana_)) {
        SetWindowLongPtrW(ventana_, GWLP_USERDATA, 0); // no quitting: the window just goes
        DestroyWindow(ventana_);
    }
}

void frmEntrada::Mostrar(int como)
{
    ShowWindow(ventana_, como);
    UpdateWindow(ventana_);
    SetFocus(ultimoFoco_);
}

void frmEntrada::Abrir(std::string_view ruta)
{
    logica_.Abrir(ruta);
}

bool frmEntrada::TraducirMensaje(MSG &mensaje)
{
    if (!IsWindow(ventana_)) {
        return false;
    }
    return TranslateAcceleratorW(ventana_, aceleradores_, &mensaje) != 0
        || IsDialogMessageW(ventana_, &mensaje) != 0;
}

LRESULT frmEntrada::Manejar(HWND ventana, UINT mensaje, WPARAM w, LPARAM l)
{
    ventana_ = ventana;
    switch (mensaje) {
    case WM_COMMAND:
        AlOrden(LOWORD(w), HIWORD(w));
        return 0;
    case WM_CTLCOLORSTATIC:
        return AlColorEstatico(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_DRAWITEM:
        AlDibujar(*reinterpret_cast<const DRAWITEMSTRUCT *>(l));
        return TRUE;
    case WM_SETCURSOR:
        if (AlPonerCursor(reinterpret_cast<HWND>(w))) {
            return TRUE;
        }
        break;
    case WM_DROPFILES:
        AlSoltar(reinterpret_cast<HDROP>(w));
        return 0;
    case WM_ACTIVATE:
        FocoAlActivar(ventana_, w, ultimoFoco_);
        return 0;
    case WM_DPICHANGED:
        dpi_ = HIWORD(w);
        CambiarDpi(
            ventana_, *reinterpret_cast<const RECT *>(l), Diseno(), dpi_, controles_, fuentes_);
        return 0;
    case WM_CLOSE:
        DestroyWindow(ventana_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(ventana_, mensaje, w, l);
}

void frmEntrada::AlOrden(int id, int codigo)
{
    // Enter on a focused button presses it, as Space does.
    if (id == IDOK) {
        HWND foco = GetFocus();
        if (foco == Control("cmdProcesar") || foco == Control("Command2")) {
            id = GetDlgCtrlID(foco);
            codigo = BN_CLICKED;
        }
    }
    const std::string_view nombre = NombreDe(Diseno(), id);
    if (id == kIdBuscar || (nombre == "Image1" && codigo == STN_CLICKED)) {
        logica_.Elegir();
    } else if (nombre == "cmdProcesar" && codigo == BN_CLICKED) {
        logica_.Procesar();
    } else if (nombre == "Command2" && codigo == BN_CLICKED) {
        DestroyWindow(ventana_); // ends the program at once
    }
}

// The chosen file's path on white, the log's on the button face, both in black.
LRESULT frmEntrada::AlColorEstatico(HDC dc, HWND control)
{
    const int fondo = control == Control("tbEntrada") ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(fondo));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(fondo));
}

void frmEntrada::AlDibujar(const DRAWITEMSTRUCT &dibujo)
{
    FillRect(dibujo.hDC, &dibujo.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (dibujo.hwndItem == Control("Image1")) {
        DibujarCarpeta(dibujo.hDC, dibujo.rcItem);
    } else if (dibujo.hwndItem == Control("Image2")) {
        DibujarLogo(dibujo.hDC, dibujo.rcItem, dpi_);
    }
}

bool frmEntrada::AlPonerCursor(HWND control)
{
    if (control != Control("Image1")) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

// A file dropped on the window is taken as if chosen; the first of several.
void frmEntrada::AlSoltar(HDROP soltados)
{
    const UINT largo = DragQueryFileW(soltados, 0, nullptr, 0);
    std::wstring ruta(largo + 1, L'\0');
    ruta.resize(DragQueryFileW(soltados, 0, ruta.data(), largo + 1));
    DragFinish(soltados);
    if (!ruta.empty()) {
        Abrir(Utf8(ruta));
    }
}

void frmEntrada::MostrarEntrada(std::string_view ruta)
{
    SetWindowTextW(Control("tbEntrada"), Ancho(ruta).c_str());
}

void frmEntrada::MostrarSalida(std::string_view ruta)
{
    SetWindowTextW(Control("tbSalida"), Ancho(ruta).c_str());
}

// A disabled button that had the focus hands it on, so the keyboard still works.
void frmEntrada::HabilitarProcesar(bool habilitado)
{
    HWND procesar = Control("cmdProcesar");
    if (!habilitado && GetFocus() == procesar) {
        SendMessageW(ventana_, WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(procesar, habilitado);
}

void frmEntrada::PunteroOcupado(bool ocupado)
{
    SetCursor(LoadCursorW(nullptr, ocupado ? IDC_WAIT : IDC_ARROW));
}

void frmEntrada::Repintar()
{
    RedrawWindow(ventana_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void frmEntrada::MostrarResultado(const ventanas::Desenlace &desenlace, std::string_view log)
{
    frmMsg dialogo(servicios_, ventana_, std::string(log));
    dialogo.MostrarResultado(desenlace);
    resultado_ = &dialogo;
    dialogo.MostrarModal();
    resultado_ = nullptr;
}

} // namespace win32
