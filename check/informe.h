// What cotarel-check says of one file: a tab-separated line for people, or a
// JSON object on one line for programs.
#pragma once

#include "interfaz.h"
#include "tipos.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cotarel {

// In the order of the table of their names (informe.cpp).
enum class Desenlace { Correcto, Errores, SinCuentas, NoComprobado };

enum class Formato { Texto, Json };

struct Informe
{
    std::string ruta; // as given
    std::optional<modMain::TipoArchivo> tipo; // nothing: the file could not be read
    Desenlace desenlace = Desenlace::NoComprobado;
    std::optional<unsigned long long> comprobadas; // nothing: not checked
    unsigned long long erroneas = 0;
    unsigned long long sinIban = 0; // accounts given without an IBAN (XML "Othr")
    std::string registro; // empty: no log kept
    std::string mensaje; // the first message of the run, if any
    std::vector<modMain::CuentaAnotada> fallos; // kept for JSON only
    std::string errores; // every message, for standard error
    int estado = 0; // the exit status this file asks for
    bool interrumpido = false;
};

// The report's line, ending in a line feed.
std::string Linea(const Informe &informe, Formato formato);

// A JSON string for bytes that should be UTF-8: valid text as it is, each byte
// that is not part of valid UTF-8 as the escape \udc80-\udcff, so that the
// exact bytes can be read back.
std::string TextoJson(std::string_view texto);

} // namespace cotarel
