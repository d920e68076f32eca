#include "arranque.h"

#include "version.h"

#include <algorithm>
#include <array>

namespace ventanas {
namespace {

// Qt's own options (QApplication, QGuiApplication): those that take a value
// as the next argument, and those that stand alone. Each may also be given
// with "--" and, with a value, as "-option=value".
constexpr std::array<std::string_view, 16> kConValor { "style", "stylesheet", "platform",
    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowtitle",
    "qwindowicon", "display", "geometry", "session", "title", "name", "font", "qmljsdebugger" };
constexpr std::array<std::string_view, 5> kSolas { "reverse", "widgetcount", "nograb", "dograb",
    "sync" };

bool Esta(auto &lista, std::string_view nombre)
{
    return std::find(lista.begin(), lista.end(), nombre) != lista.end();
}

} // namespace

Arranque LeerArgumentos(const std::vector<std::string> &argumentos)
{
    Arranque arranque;
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string &argumento = argumentos[i];
        if (argumento == "--") {
            if (i + 1 < argumentos.size() && !arranque.fichero) {
                arranque.fichero = argumentos[i + 1];
            }
            break;
        }
        if (argumento.size() < 2 || argumento[0] != '-') {
            if (!arranque.fichero) {
                arranque.fichero = argumento; // one file: the rest are left alone, as before
            }
            continue;
        }
        if (argumento == "-h" || argumento == "--help") {
            arranque.accion = Arranque::Accion::Ayuda;
            return arranque;
        }
        if (argumento == "--version") {
            arranque.accion = Arranque::Accion::Version;
            return arranque;
        }
        std::string_view nombre(argumento);
        nombre.remove_prefix(nombre.starts_with("--") ? 2 : 1);
        const std::string_view sinValor = nombre.substr(0, nombre.find('='));
        if (Esta(kConValor, sinValor) && sinValor.size() < nombre.size()) {
            arranque.paraElToolkit.push_back(argumento);
        } else if (Esta(kConValor, nombre) && i + 1 < argumentos.size()) {
            arranque.paraElToolkit.push_back(argumento);
            arranque.paraElToolkit.push_back(argumentos[++i]);
        } else if (Esta(kSolas, nombre)) {
            arranque.paraElToolkit.push_back(argumento);
        } else {
            arranque.accion = Arranque::Accion::Error;
            arranque.mensaje = "cotarel: opci\u00F3n desconocida: " + argumento
                + "\nPruebe \u00ABcotarel --help\u00BB.\n";
            return arranque;
        }
    }
    return arranque;
}

std::string TextoAyuda()
{
    return "Uso: cotarel [OPCIONES] [[--] FICHERO]\n"
           "\n"
           "Comprueba las cuentas de un fichero de \u00F3rdenes bancarias (SEPA, ISO 20022\n"
           "en XML o CSB antiguo) y anota cada error en un fichero .log junto a \u00E9l.\n"
           "Un FICHERO dado se toma como si se hubiera elegido en la ventana.\n"
           "\n"
           "  -h, --help     muestra esta ayuda y termina\n"
           "      --version  muestra la versi\u00F3n y termina\n"
           "  --             lo que sigue es el fichero, aunque empiece por \"-\"\n"
           "\n"
           "Las opciones de Qt (-style, -platform...) tambi\u00E9n valen.\n"
           "Para comprobar muchos ficheros desde la l\u00EDnea de \u00F3rdenes: cotarel-check.\n";
}

std::string TextoVersion()
{
    return std::string("cotarel ") + COTAREL_VERSION + "\n";
}

} // namespace ventanas
