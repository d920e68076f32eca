#include "modMain.h"

#include <array>

namespace modMain {
namespace {

// The CCC weights. Entity and office take the last eight, as if their eight
// digits were preceded by two zeros.
constexpr std::array<int, 10> kPesos = { 1, 2, 4, 8, 5, 10, 9, 7, 3, 6 };

// Adds digit times weight over the first `cuantos` characters of the text;
// false when one of them is missing or not a digit.
bool SumarPonderado(std::string_view texto, const int *pesos, std::size_t cuantos, int &suma)
{
    if (texto.size() < cuantos) {
        return false;
    }
    for (std::size_t i = 0; i < cuantos; ++i) {
        const char c = texto[i];
        if (c < '0' || c > '9') {
            return false;
        }
        suma += (c - '0') * pesos[i];
    }
    return true;
}

char DigitoDeControl(int suma)
{
    const int digito = 11 - suma % 11;
    if (digito == 11) {
        return '0';
    }
    if (digito == 10) {
        return '1';
    }
    return static_cast<char>('0' + digito);
}

} // namespace

std::string CalcularDC(std::string_view entidad, std::string_view oficina, std::string_view cuenta)
{
    int primera = 0;
    int segunda = 0;
    const bool completa = SumarPonderado(entidad, kPesos.data() + 2, 4, primera)
        && SumarPonderado(oficina, kPesos.data() + 6, 4, primera)
        && SumarPonderado(cuenta, kPesos.data(), 10, segunda);
    if (!completa) {
        return "**";
    }
    return { DigitoDeControl(primera), DigitoDeControl(segunda) };
}

} // namespace modMain
