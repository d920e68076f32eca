// The engine's only way back into the windows: messages, the busy pointer and
// the repaint at the end of a run. With nothing attached the engine runs
// headless: messages go to standard error, the rest does nothing.
#pragma once

#include <string_view>

namespace modMain {

class Interfaz
{
public:
    virtual ~Interfaz() = default;
    // A message box with an "OK" button under the title "Cotarel".
    virtual void MostrarMensaje(std::string_view texto) = 0;
    virtual void PunteroOcupado() = 0;
    virtual void PunteroNormal() = 0;
    virtual void RepintarVentana() = 0;
};

// Attaches the windows' side; nullptr detaches it. The engine does not own it.
void ConectarInterfaz(Interfaz *interfaz);

// The attached side, or the headless one.
Interfaz &InterfazActual();

} // namespace modMain
