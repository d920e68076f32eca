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
    // Only a side with windows has a pointer and a window to repaint.
    virtual void PunteroOcupado() { }
    virtual void PunteroNormal() { }
    virtual void RepintarVentana() { }
};

// Attaches the windows' side; nullptr detaches it. The engine does not own it.
void ConectarInterfaz(Interfaz *interfaz);

// The attached side, or the headless one.
Interfaz &InterfazActual();

} // namespace modMain
