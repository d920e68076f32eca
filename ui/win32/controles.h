// The controls of a window, built from the shared layout table as child
// windows of the platform's own classes, so screen readers and UI automation
// see each with its text.
#pragma once

#include "diseno.h"

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <tuple>

namespace win32 {

// The window's dots per inch: its own where the system tells (per-monitor
// awareness), else the screen's.
int DpiDe(HWND ventana);

// The fonts of one window at its DPI, released with it.
class Fuentes
{
public:
    Fuentes() = default;
    Fuentes(const Fuentes &) = delete;
    Fuentes &operator=(const Fuentes &) = delete;
    ~Fuentes();
    HFONT Obtener(const ventanas::Fuente &fuente, int dpi);

private:
    std::map<std::tuple<int, int, bool, int>, HFONT> fuentes_;
};

// Every control of the table as a child of the window, named by its control
// identifier (kPrimerId + its place in the table), placed at the DPI. Frames
// go last in the z-order, so they never paint over what they hold; the rest
// follow their tab indices, which makes the tab order.
inline constexpr int kPrimerId = 100;
// No control or accelerator may take a dialog box's identifiers (IDOK to
// IDCONTINUE, 1 to 11): IsDialogMessage sends IDOK for Enter.
inline constexpr int kUltimoIdDialogo = 11;
static_assert(kPrimerId > kUltimoIdDialogo);
std::map<std::string_view, HWND, std::less<>> CrearControles(
    HWND ventana, const ventanas::Ventana &diseno, int dpi, Fuentes &fuentes);

// The client area of the table's size at the DPI, the window kept where it is.
void AjustarAreaCliente(HWND ventana, const ventanas::Ventana &diseno, int dpi);

// The window laid out again at another DPI (WM_DPICHANGED): placed in the
// rectangle the system suggests, its client area and every control at the
// new DPI, with fonts of that DPI.
void CambiarDpi(HWND ventana, const RECT &sugerido, const ventanas::Ventana &diseno, int dpi,
    const std::map<std::string_view, HWND, std::less<>> &controles, Fuentes &fuentes);

// The window procedure of a window class whose windows each have an object
// behind them: the object comes as CreateWindowExW's last argument, is kept
// at WM_NCCREATE and handles every later message; before it, and after the
// object has let its window go, the system's default handling.
template <typename Objeto>
LRESULT CALLBACK Despachar(HWND ventana, UINT mensaje, WPARAM w, LPARAM l)
{
    if (mensaje == WM_NCCREATE) {
        SetWindowLongPtrW(ventana, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW *>(l)->lpCreateParams));
    }
    auto *objeto = reinterpret_cast<Objeto *>(GetWindowLongPtrW(ventana, GWLP_USERDATA));
    return objeto != nullptr ? objeto->Manejar(ventana, mensaje, w, l)
                             : DefWindowProcW(ventana, mensaje, w, l);
}

// The two windows' classes, registered together (with their icons) once per
// process, whichever window is made first.
inline constexpr wchar_t kClaseEntrada[] = L"Cotarel.frmEntrada";
inline constexpr wchar_t kClaseMsg[] = L"Cotarel.frmMsg";
void RegistrarClases();

// WM_ACTIVATE: the control that had the focus is kept when another window
// takes it, and gets it back when the window is activated again (the default
// handling would leave the focus on the window itself).
void FocoAlActivar(HWND ventana, WPARAM w, HWND &ultimoFoco);

std::wstring Ancho(std::string_view texto);
std::string Utf8(std::wstring_view texto);
std::string TextoDe(HWND control);
COLORREF ColorDe(ventanas::Color color);

} // namespace win32
