// Why a run can stop before its end, and the one text each reason has: the
// engine shows these texts, the windows' pre-check and cotarel-check use the same.
#pragma once

#include <string_view>

namespace motor {

enum class Fallo {
    NoSePuedeAbrirEntrada,
    NoEsCSB,
    NoSePuedeCrearSalida,
    NoSePuedeLeerEntrada,
    NoSePuedeEscribirSalida,
    NoSePuedeBorrarSalida, // an old log a clean run could not remove
    Interrumpido, // SIGINT, SIGTERM or SIGHUP in cotarel-check
    XmlNoValido, // not well-formed, or with a document type declaration; its line follows
    SinMemoria, // the system refused memory that the reader's budget allowed
};

// The outcomes of a run that reached the end of its file.
inline constexpr std::string_view kProcesoTerminado = "Proceso terminado";
inline constexpr std::string_view kProcesoConErrores = "Proceso terminado con errores";
inline constexpr std::string_view kSinCuentas = "No se ha comprobado ninguna cuenta";

constexpr std::string_view Mensaje(Fallo fallo)
{
    switch (fallo) {
    case Fallo::NoSePuedeAbrirEntrada:
        return "No se puede abrir el fichero de Entrada";
    case Fallo::NoEsCSB:
        return "El fichero no es CSB";
    case Fallo::NoSePuedeCrearSalida:
        return "No se puede crear el fichero de Salida";
    case Fallo::NoSePuedeLeerEntrada:
        return "No se puede leer el fichero de Entrada";
    case Fallo::NoSePuedeEscribirSalida:
        return "No se puede escribir el fichero de Salida";
    case Fallo::NoSePuedeBorrarSalida:
        return "No se puede borrar el fichero de Salida";
    case Fallo::Interrumpido:
        return "Proceso interrumpido";
    case Fallo::XmlNoValido:
        return "El fichero XML no es v\u00E1lido";
    case Fallo::SinMemoria:
        return "No hay memoria suficiente para leer el fichero";
    }
    return {};
}

} // namespace motor
