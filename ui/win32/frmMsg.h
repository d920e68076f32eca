// The modal dialog that ends every run, as a Win32 window: the outcome in blue
// or red, and the log opened in Notepad on "&Detalles".
#pragma once

#include "controles.h"
#include "logica.h"

#include <windows.h>

#include <string>

namespace win32 {

class frmMsg
{
public:
    // Created hidden over the main window, centred on it; log is the path
    // "&Detalles" opens.
    frmMsg(ventanas::Servicios &servicios, HWND principal, std::string log);
    ~frmMsg();
    frmMsg(const frmMsg &) = delete;
    frmMsg &operator=(const frmMsg &) = delete;

    // Text first, then colour, then the state of "&Detalles".
    void MostrarResultado(const ventanas::Desenlace &desenlace);
    // Shows the dialog with the main window disabled, and returns when it has
    // closed; the main window then comes to the front.
    void MostrarModal();

    HWND Ventana() const { return ventana_; }
    HWND Control(std::string_view nombre) const { return controles_.find(nombre)->second; }

    // One message of its window (through Despachar).
    LRESULT Manejar(HWND ventana, UINT mensaje, WPARAM w, LPARAM l);

private:
    void Form_Load();
    void AjustarFuente(const std::wstring &texto);
    void Command1_Click();
    void Form_Unload();

    ventanas::Servicios &servicios_;
    HWND principal_;
    std::string log_;
    HWND ventana_ = nullptr;
    int dpi_ = 96;
    Fuentes fuentes_;
    std::map<std::string_view, HWND, std::less<>> controles_;
    COLORREF color_ = 0;
    bool cerrado_ = false;
    HWND ultimoFoco_ = nullptr; // the control that had the focus when another window took it
};

} // namespace win32
