// What the windows ask of the desktop: the open-file dialog, message boxes,
// starting the text editor and the user's folders. Each face has a real one
// (Qt's dialogs, or the Windows common dialogs and MessageBoxW); tests hand
// the windows a scripted one. All text is UTF-8.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ventanas {

// The open-file dialog as it is shown: title, first folder and the last
// chosen path (empty until the first choice), which it offers pre-filled.
struct DialogoAbrir
{
    std::string titulo;
    std::string carpetaInicial;
    std::string fichero;
};

// Where the file dialog may start.
struct Carpetas
{
    std::string programa; // the folder of the program's executable
    bool programaEscribible = false; // a folder of the user's, not an installed one
    std::string documentos; // empty when the user has none
    std::string personal;
};

class Servicios
{
public:
    virtual ~Servicios() = default;

    // Shows the open-file dialog for existing files only: the chosen path, or
    // nothing on a cancel.
    virtual std::optional<std::string> ElegirFichero(const DialogoAbrir &dialogo) = 0;
    // "OK" only, no icon, titled "Cotarel".
    virtual void Mensaje(std::string_view texto) = 0;
    // "OK" only, with the information icon, titled "Cotarel".
    virtual void Informacion(std::string_view texto) = 0;
    // "Sí" and "No", "Sí" the default; true for "Sí".
    virtual bool Preguntar(std::string_view texto) = 0;
    // Starts the program named in a command text, detached; false when nothing
    // could be started. siFallaPronto runs later, on this thread, when the
    // program ends with a failure status within two seconds (an opener that
    // found nothing to open the file with).
    virtual bool Ejecutar(std::string_view orden, std::function<void()> siFallaPronto) = 0;
    virtual Carpetas CarpetasDelUsuario() = 0;
};

} // namespace ventanas
