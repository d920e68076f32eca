#include "cuentas.h"

namespace motor {

std::string CalcularDC(std::string_view entidad, std::string_view oficina, std::string_view cuenta)
{
    const auto dc = DigitosDeControl(entidad, oficina, cuenta);
    return { dc[0], dc[1] };
}

} // namespace motor
