#include "interfaz.h"

#include <iostream>

namespace motor {
namespace {

class InterfazSinVentanas final : public Interfaz
{
public:
    void MostrarMensaje(std::string_view texto) override { std::cerr << texto << '\n'; }
};

InterfazSinVentanas sinVentanas;
Interfaz *conectada = nullptr;

} // namespace

void ConectarInterfaz(Interfaz *interfaz)
{
    conectada = interfaz;
}

Interfaz &InterfazActual()
{
    return conectada ? *conectada : sinVentanas;
}

} // namespace motor
