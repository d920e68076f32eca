#include "DerivarNombreLog.h"

#include "ascii.h"

namespace motor {
namespace {

// Where the file name starts: after the last "/" or "\".
std::size_t InicioNombre(std::string_view ruta)
{
    const std::size_t separador = ruta.find_last_of("/\\");
    return separador == std::string_view::npos ? 0 : separador + 1;
}

// Where the last four characters of the text start (UTF-8: a character is
// one lead byte and its continuation bytes).
std::size_t InicioUltimosCuatro(std::string_view texto)
{
    std::size_t inicio = texto.size();
    for (int caracteres = 0; caracteres < 4 && inicio > 0; ++caracteres) {
        do {
            --inicio;
        } while (inicio > 0 && (static_cast<unsigned char>(texto[inicio]) & 0xC0) == 0x80);
    }
    return inicio;
}

} // namespace

// Only the file name is looked at, never a folder's name; and a log name that
// differs from the input's only by letter case would name the input itself on
// a file system that ignores case, so it gets the "1" too.
std::string DerivarNombreLog(std::string_view entrada)
{
    const std::size_t inicioNombre = InicioNombre(entrada);
    const std::string_view nombre = entrada.substr(inicioNombre);
    const bool conExtension
        = nombre.find('.', InicioUltimosCuatro(nombre)) != std::string_view::npos;
    std::string log(conExtension ? entrada.substr(0, inicioNombre + nombre.find('.')) : entrada);
    log += ".log";
    if (IgualesSinMayusculas(log, entrada)) {
        log += '1';
    }
    return log;
}

} // namespace motor
