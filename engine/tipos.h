// The kinds of order file, and how a first line tells them apart.
#pragma once

#include <string_view>

namespace modMain {

// Kind of an order file, known by the first two characters of its first line.
enum class TipoArchivo {
    Adeudos, // debit orders: "01" or "51"
    Transferencias, // transfer orders: "03"
    NoCSB, // anything else
};

TipoArchivo TipoFichero(std::string_view primeraLinea);

// The kind from the first bytes of a file, which may end anywhere in its first
// line or go on past it: only the start of the first line decides.
TipoArchivo TipoDelInicio(std::string_view inicio);

} // namespace modMain
