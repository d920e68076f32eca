// The desktop's side of the windows on Qt: Qt's own file dialog and message
// boxes, the editor started with QProcess, the user's folders from Qt.
#pragma once

#include "servicios.h"

namespace ventanas {

class ServiciosQt : public Servicios
{
public:
    // Loads Qt's own Spanish texts, so the file dialog speaks the program's language.
    ServiciosQt();

    std::optional<std::string> ElegirFichero(const DialogoAbrir &dialogo) override;
    void Mensaje(std::string_view texto) override;
    void Informacion(std::string_view texto) override;
    bool Preguntar(std::string_view texto) override;
    bool Ejecutar(std::string_view orden, std::function<void()> siFallaPronto) override;
    Carpetas CarpetasDelUsuario() override;
};

} // namespace ventanas
