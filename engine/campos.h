// Fields of a record, counted from 1 as the bank norms count them.
#pragma once

#include <cstddef>
#include <string_view>

namespace motor {

struct Campo
{
    std::size_t posicion; // first position, from 1
    std::size_t longitud;
};

// The characters of the field that the line holds, possibly none.
inline std::string_view Extraer(std::string_view linea, Campo campo)
{
    const std::size_t desde = campo.posicion - 1;
    if (desde >= linea.size()) {
        return {};
    }
    return linea.substr(desde, campo.longitud);
}

// Blanks (the space character only) removed from both ends.
inline std::string_view Recortar(std::string_view texto)
{
    const std::size_t primero = texto.find_first_not_of(' ');
    if (primero == std::string_view::npos) {
        return {};
    }
    return texto.substr(primero, texto.find_last_not_of(' ') - primero + 1);
}

// A line that holds more than blanks is a record, whatever its code.
inline bool EsRegistro(std::string_view linea)
{
    return !linea.empty() && (linea.front() != ' ' || !Recortar(linea).empty());
}

// Whether the field, as much of it as the line holds, equals the text.
inline bool CampoIgual(std::string_view linea, Campo campo, std::string_view texto)
{
    const std::string_view valor = Extraer(linea, campo);
    if (valor.size() != texto.size()) {
        return false;
    }
    for (std::size_t i = 0; i < valor.size(); ++i) {
        if (valor[i] != texto[i]) {
            return false;
        }
    }
    return true;
}

// Whether the line starts with the code. The code's length is known at compile
// time, so on the hot path of every line this is a few byte comparisons.
template <std::size_t N> inline bool EmpiezaPor(std::string_view linea, const char (&codigo)[N])
{
    return CampoIgual(linea, { 1, N - 1 }, { codigo, N - 1 });
}

} // namespace motor
