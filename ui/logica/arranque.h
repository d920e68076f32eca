// What the desktop program's command line asks for, read before the toolkit
// starts: the help, the version, a file to take as if chosen, or a mistake.
// The toolkit's own options pass through to it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ventanas {

struct Arranque
{
    enum class Accion { Ventana, Ayuda, Version, Error };
    Accion accion = Accion::Ventana;
    std::optional<std::string> fichero;
    std::string mensaje; // why the line is refused
    std::vector<std::string> paraElToolkit; // in their order
};

// The arguments after the program's name. "--" ends the options: what
// follows is the file, whatever it starts with.
Arranque LeerArgumentos(const std::vector<std::string> &argumentos);

std::string TextoAyuda();
std::string TextoVersion(); // "cotarel 1.00"

} // namespace ventanas
