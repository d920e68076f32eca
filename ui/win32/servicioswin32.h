// The desktop's side of the windows on Windows: the common open-file dialog,
// MessageBoxW, Notepad started with CreateProcessW and the user's folders.
#pragma once

#include "servicios.h"

namespace win32 {

class ServiciosWin32 : public ventanas::Servicios
{
public:
    std::optional<std::string> ElegirFichero(const ventanas::DialogoAbrir &dialogo) override;
    void Mensaje(std::string_view texto) override;
    void Informacion(std::string_view texto) override;
    bool Preguntar(std::string_view texto) override;
    // Notepad stays open: a start that succeeded is not watched.
    bool Ejecutar(std::string_view orden, std::function<void()> siFallaPronto) override;
    ventanas::Carpetas CarpetasDelUsuario() override;
};

} // namespace win32
