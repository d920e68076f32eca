// The main window as a Win32 window: the user picks an order file, sees its
// log path, runs the check and ends the program. What it decides lives in the
// shared logic; this is its Windows face.
#pragma once

#include "controles.h"
#include "logica.h"

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace win32 {

class frmMsg;

class frmEntrada : private ventanas::Vista
{
public:
    // Created hidden at the screen's top-left corner. The services are not
    // owned; they must outlive the window.
    explicit frmEntrada(ventanas::Servicios &servicios);
    ~frmEntrada() override;
    frmEntrada(const frmEntrada &) = delete;
    frmEntrada &operator=(const frmEntrada &) = delete;

    void Mostrar(int como);
    // A file given from outside (the command line), taken as if chosen.
    void Abrir(std::string_view ruta);
    // The window's keyboard: Ctrl+O, the captions' accelerators, Tab and
    // Enter. True when the message was taken.
    bool TraducirMensaje(MSG &mensaje);

    HWND Ventana() const { return ventana_; }
    HWND Control(std::string_view nombre) const { return controles_.find(nombre)->second; }
    // The result dialog while it is shown, else nullptr.
    frmMsg *Resultado() const { return resultado_; }

    // One message of its window (through Despachar).
    LRESULT Manejar(HWND ventana, UINT mensaje, WPARAM w, LPARAM l);

private:
    void AlOrden(int id, int codigo);
    LRESULT AlColorEstatico(HDC dc, HWND control);
    void AlDibujar(const DRAWITEMSTRUCT &dibujo);
    bool AlPonerCursor(HWND control);
    void AlSoltar(HDROP soltados);

    void MostrarEntrada(std::string_view ruta) override;
    void MostrarSalida(std::string_view ruta) override;
    void HabilitarProcesar(bool habilitado) override;
    void PunteroOcupado(bool ocupado) override;
    void Repintar() override;
    void MostrarResultado(const ventanas::Desenlace &desenlace, std::string_view log) override;

    ventanas::Servicios &servicios_;
    ventanas::LogicaEntrada logica_;
    HWND ventana_ = nullptr;
    int dpi_ = 96;
    Fuentes fuentes_;
    std::map<std::string_view, HWND, std::less<>> controles_;
    HACCEL aceleradores_ = nullptr;
    HWND ultimoFoco_ = nullptr;
    frmMsg *resultado_ = nullptr;
};

} // namespace win32
