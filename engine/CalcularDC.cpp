#include "cuentas.h"

#include <array>

namespace motor {
namespace {

// The CCC weights. Entity and office take the last eight, as if their eight
// digits were preceded by two zeros.
constexpr std::array<unsigned, 10> kPesos = { 1, 2, 4, 8, 5, 10, 9, 7, 3, 6 };
constexpr std::size_t kDesplazamientoEntidad = 2;
constexpr std::size_t kDesplazamientoOficina = 6;

// Adds digit times weight over the first N characters of the text, the weights
// taken from kPesos[desde]. Returns false at the first character that is not
// a digit; the caller has checked that the text is long enough.
template <std::size_t N> bool SumarPonderado(const char *texto, std::size_t desde, unsigned &suma)
{
    for (std::size_t i = 0; i < N; ++i) {
        const unsigned digito = static_cast<unsigned char>(texto[i]) - unsigned { '0' };
        if (digito > 9) {
            return false;
        }
        suma += digito * kPesos[desde + i];
    }
    return true;
}

char DigitoDeControl(unsigned suma)
{
    const unsigned digito = 11 - suma % 11;
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
    if (entidad.size() < 4 || oficina.size() < 4 || cuenta.size() < 10) {
        return "**";
    }
    unsigned primera = 0;
    unsigned segunda = 0;
    const bool soloDigitos = SumarPonderado<4>(entidad.data(), kDesplazamientoEntidad, primera)
        && SumarPonderado<4>(oficina.data(), kDesplazamientoOficina, primera)
        && SumarPonderado<10>(cuenta.data(), 0, segunda);
    if (!soloDigitos) {
        return "**";
    }
    return { DigitoDeControl(primera), DigitoDeControl(segunda) };
}

} // namespace motor
