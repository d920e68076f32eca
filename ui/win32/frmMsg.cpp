#include "frmMsg.h"

namespace win32 {
namespace {

const ventanas::Ventana &Diseno()
{
    return ventanas::DisenoMsg();
}

} // namespace

frmMsg::frmMsg(ventanas::Servicios &servicios, HWND principal, std::string log)
    : servicios_(servicios)
    , principal_(principal)
    , log_(std::move(log))
{
    RegistrarClases();
    CreateWindowExW(WS_EX_CONTROLPARENT, kClaseMsg, Ancho(Diseno().titulo).c_str(),
        WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100, principal, nullptr,
        GetModuleHandleW(nullptr), this);
    dpi_ = DpiDe(principal_);
    AjustarAreaCliente(ventana_, Diseno(), dpi_);
    controles_ = CrearControles(ventana_, Diseno(), dpi_, fuentes_);
    color_ = ColorDe(Diseno().Buscar("Label1").color);
    Form_Load();
}

frmMsg::~frmMsg()
{
    SetWindowLongPtrW(ventana_, GWLP_USERDATA, 0);
    DestroyWindow(ventana_);
}

// Centred over the main window's outer rectangle, Top first, then Left.
void frmMsg::Form_Load()
{
    RECT exterior {};
    RECT propio {};
    GetWindowRect(principal_, &exterior);
    GetWindowRect(ventana_, &propio);
    const auto [left, top]
        = ventanas::CentrarSobre({ exterior.left, exterior.top, exterior.right - exterior.left,
                                     exterior.bottom - exterior.top },
            propio.right - propio.left, propio.bottom - propio.top, dpi_);
    SetWindowPos(ventana_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMsg::MostrarResultado(const ventanas::Desenlace &desenlace)
{
    const std::wstring texto = Ancho(desenlace.texto);
    SetWindowTextW(Control("Label1"), texto.c_str());
    AjustarFuente(texto);
    color_ = ColorDe(desenlace.color);
    InvalidateRect(Control("Label1"), nullptr, TRUE);
    EnableWindow(Control("Command1"), desenlace.detalles);
}

// Where Comic Sans MS is missing, a wider face stands in: the outcome then
// takes a smaller size of it rather than a second line cut off by the frame.
void frmMsg::AjustarFuente(const std::wstring &texto)
{
    HWND etiqueta = Control("Label1");
    RECT lugar {};
    GetClientRect(etiqueta, &lugar);
    ventanas::Fuente fuente = Diseno().Buscar("Label1").fuente;
    HFONT elegida = fuentes_.Obtener(fuente, dpi_);
    HDC dc = GetDC(etiqueta);
    const HGDIOBJ antes = GetCurrentObject(dc, OBJ_FONT);
    for (SIZE tamano {}; fuente.puntos > 6; fuente.puntos -= 0.75) {
        elegida = fuentes_.Obtener(fuente, dpi_);
        SelectObject(dc, elegida);
        GetTextExtentPoint32W(dc, texto.c_str(), static_cast<int>(texto.size()), &tamano);
        if (tamano.cx <= lugar.right) {
            break;
        }
    }
    SelectObject(dc, antes);
    ReleaseDC(etiqueta, dc);
    SendMessageW(etiqueta, WM_SETFONT, reinterpret_cast<WPARAM>(elegida), TRUE);
}

void frmMsg::MostrarModal()
{
    EnableWindow(principal_, FALSE);
    ShowWindow(ventana_, SW_SHOW);
    ultimoFoco_ = Control("cmdAceptar");
    SetFocus(ultimoFoco_);
    MSG mensaje {};
    while (!cerrado_) {
        const BOOL hay = GetMessageW(&mensaje, nullptr, 0, 0);
        if (hay <= 0) {
            if (hay == 0) {
                PostQuitMessage(static_cast<int>(mensaje.wParam)); // for the main loop
            }
            break;
        }
        if (!IsDialogMessageW(ventana_, &mensaje)) {
            TranslateMessage(&mensaje);
            DispatchMessageW(&mensaje);
        }
    }
    // The owner is enabled before the dialog goes, so that it takes the activation.
    EnableWindow(principal_, TRUE);
    ShowWindow(ventana_, SW_HIDE);
    Form_Unload();
}

LRESULT frmMsg::Manejar(HWND ventana, UINT mensaje, WPARAM w, LPARAM l)
{
    ventana_ = ventana;
    switch (mensaje) {
    case WM_COMMAND: {
        HWND boton = reinterpret_cast<HWND>(l);
        if (LOWORD(w) == IDOK) { // Enter presses the focused button
            boton = GetFocus();
        }
        if (boton == Control("Command1") && IsWindowEnabled(boton)) {
            Command1_Click();
        } else if (boton == Control("cmdAceptar")) {
            cerrado_ = true;
        }
        return 0; // Escape (IDCANCEL) closes nothing: there is no cancel button
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(l) == Control("Label1")) {
            HDC dc = reinterpret_cast<HDC>(w);
            SetTextColor(dc, color_);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_CLOSE: // the title bar's close button, as "&Aceptar"
        cerrado_ = true;
        return 0;
    case WM_ACTIVATE:
        FocoAlActivar(ventana_, w, ultimoFoco_);
        return 0;
    case WM_DPICHANGED:
        dpi_ = HIWORD(w);
        CambiarDpi(
            ventana_, *reinterpret_cast<const RECT *>(l), Diseno(), dpi_, controles_, fuentes_);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(ventana_, mensaje, w, l);
}

void frmMsg::Command1_Click()
{
    ventanas::AbrirDetalles(servicios_, log_);
}

void frmMsg::Form_Unload()
{
    SetForegroundWindow(principal_);
    SetActiveWindow(principal_);
}

} // namespace win32
