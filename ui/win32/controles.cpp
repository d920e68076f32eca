#include "controles.h"

#include "rutas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace win32 {

int DpiDe(HWND ventana)
{
    using PorVentana = UINT(WINAPI *)(HWND);
    static const auto porVentana = reinterpret_cast<PorVentana>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (porVentana != nullptr && ventana != nullptr) {
        if (const UINT dpi = porVentana(ventana); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC pantalla = GetDC(nullptr);
    const int dpi = GetDeviceCaps(pantalla, LOGPIXELSY);
    ReleaseDC(nullptr, pantalla);
    return dpi > 0 ? dpi : 96;
}

Fuentes::~Fuentes()
{
    for (const auto &[clave, fuente] : fuentes_) {
        DeleteObject(fuente);
    }
}

// MS Sans Serif is a bitmap face; Microsoft Sans Serif is its scalable twin.
HFONT Fuentes::Obtener(const ventanas::Fuente &fuente, int dpi)
{
    const int alto = -static_cast<int>(std::lround(fuente.puntos * dpi / 72.0));
    const auto clave = std::make_tuple(static_cast<int>(fuente.cara), alto, fuente.negrita, dpi);
    if (const auto hallada = fuentes_.find(clave); hallada != fuentes_.end()) {
        return hallada->second;
    }
    const wchar_t *cara
        = fuente.cara == ventanas::Cara::Comic ? L"Comic Sans MS" : L"Microsoft Sans Serif";
    HFONT nueva = CreateFontW(alto, 0, 0, 0, fuente.negrita ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
        DEFAULT_PITCH | FF_SWISS, cara);
    fuentes_.emplace(clave, nueva);
    return nueva;
}

namespace {

struct Clase
{
    const wchar_t *nombre;
    DWORD estilo;
    DWORD estiloExtendido;
};

Clase ClaseDe(const ventanas::Control &control)
{
    switch (control.clase) {
    case ventanas::Clase::Etiqueta:
        return { L"STATIC", static_cast<DWORD>(control.centrado ? SS_CENTER : SS_LEFT), 0 };
    case ventanas::Clase::Marco:
        return { L"BUTTON", BS_GROUPBOX, 0 };
    case ventanas::Clase::Texto:
        return { L"EDIT", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE };
    case ventanas::Clase::Imagen:
        // Drawn by the window; a click is told to it. Its text is what a
        // screen reader says of it.
        return { L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0 };
    case ventanas::Clase::Boton:
        return { L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0 };
    }
    return { L"STATIC", 0, 0 };
}

RECT Lugar(const ventanas::Control &control, const ventanas::Ventana &diseno, int dpi)
{
    using ventanas::APixeles;
    int left = APixeles(control.lugar.left, dpi);
    int top = APixeles(control.lugar.top, dpi);
    if (!control.contenedor.empty()) {
        const auto &contenedor = diseno.Buscar(control.contenedor);
        left += APixeles(contenedor.lugar.left, dpi);
        top += APixeles(contenedor.lugar.top, dpi);
    }
    return { left, top, left + APixeles(control.lugar.width, dpi),
        top + APixeles(control.lugar.height, dpi) };
}

// Tab indices first, in their order; frames and what takes no focus after.
int Orden(const ventanas::Control &control)
{
    if (control.clase == ventanas::Clase::Marco) {
        return 2000 + control.tabIndex.value_or(0);
    }
    return control.tabIndex.value_or(1000);
}

} // namespace

std::map<std::string_view, HWND, std::less<>> CrearControles(
    HWND ventana, const ventanas::Ventana &diseno, int dpi, Fuentes &fuentes)
{
    std::vector<std::size_t> orden(diseno.controles.size());
    for (std::size_t i = 0; i < orden.size(); ++i) {
        orden[i] = i;
    }
    std::stable_sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) {
        return Orden(diseno.controles[a]) < Orden(diseno.controles[b]);
    });
    std::map<std::string_view, HWND, std::less<>> controles;
    for (const std::size_t i : orden) {
        const ventanas::Control &control = diseno.controles[i];
        const Clase clase = ClaseDe(control);
        const RECT lugar = Lugar(control, diseno, dpi);
        const std::string_view texto
            = control.clase == ventanas::Clase::Imagen ? control.nombreAccesible : control.texto;
        HWND hijo = CreateWindowExW(clase.estiloExtendido, clase.nombre, Ancho(texto).c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | clase.estilo
                | (control.habilitado ? 0 : WS_DISABLED),
            lugar.left, lugar.top, lugar.right - lugar.left, lugar.bottom - lugar.top, ventana,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPrimerId + i)), GetModuleHandleW(nullptr),
            nullptr);
        SendMessageW(hijo, WM_SETFONT,
            reinterpret_cast<WPARAM>(fuentes.Obtener(control.fuente, dpi)), FALSE);
        controles.emplace(control.nombre, hijo);
    }
    return controles;
}

void AjustarAreaCliente(HWND ventana, const ventanas::Ventana &diseno, int dpi)
{
    RECT exterior {};
    RECT cliente {};
    GetWindowRect(ventana, &exterior);
    GetClientRect(ventana, &cliente);
    const int ancho = ventanas::APixeles(diseno.ancho, dpi);
    const int alto = ventanas::APixeles(diseno.alto, dpi);
    SetWindowPos(ventana, nullptr, 0, 0,
        exterior.right - exterior.left + ancho - (cliente.right - cliente.left),
        exterior.bottom - exterior.top + alto - (cliente.bottom - cliente.top),
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CambiarDpi(HWND ventana, const RECT &sugerido, const ventanas::Ventana &diseno, int dpi,
    const std::map<std::string_view, HWND, std::less<>> &controles, Fuentes &fuentes)
{
    SetWindowPos(ventana, nullptr, sugerido.left, sugerido.top, sugerido.right - sugerido.left,
        sugerido.bottom - sugerido.top, SWP_NOZORDER | SWP_NOACTIVATE);
    AjustarAreaCliente(ventana, diseno, dpi);
    for (const auto &control : diseno.controles) {
        const auto hallado = controles.find(control.nombre);
        if (hallado == controles.end()) {
            continue;
        }
        const RECT lugar = Lugar(control, diseno, dpi);
        SetWindowPos(hallado->second, nullptr, lugar.left, lugar.top, lugar.right - lugar.left,
            lugar.bottom - lugar.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hallado->second, WM_SETFONT,
            reinterpret_cast<WPARAM>(fuentes.Obtener(control.fuente, dpi)), TRUE);
    }
    InvalidateRect(ventana, nullptr, TRUE);
}

void FocoAlActivar(HWND ventana, WPARAM w, HWND &ultimoFoco)
{
    if (LOWORD(w) == WA_INACTIVE) {
        HWND foco = GetFocus();
        ultimoFoco = foco != nullptr && IsChild(ventana, foco) ? foco : ultimoFoco;
    } else if (ultimoFoco != nullptr) {
        SetFocus(ultimoFoco);
    }
}

std::wstring Ancho(std::string_view texto)
{
    return motor::TextoAncho(texto);
}

std::string Utf8(std::wstring_view texto)
{
    return motor::TextoUtf8(texto);
}

std::string TextoDe(HWND control)
{
    std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    texto.resize(static_cast<std::size_t>(
        GetWindowTextW(control, texto.data(), static_cast<int>(texto.size()))));
    return Utf8(texto);
}

COLORREF ColorDe(ventanas::Color color)
{
    return RGB(color.rojo, color.verde, color.azul);
}

} // namespace win32
