// The engine's only way back into its caller: messages, the busy pointer, the
// repaint at the end of a run, and whether the run should stop. The core takes
// one as an argument; the run-state procedures of modMain use the attached one,
// or, with nothing attached, a headless one whose messages go to standard error.
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
    // Asked once for every block read: true ends the run at once, the old log kept.
    virtual bool Interrumpido() { return false; }
};

// Attaches the windows' side; nullptr detaches it. The engine does not own it.
void ConectarInterfaz(Interfaz *interfaz);

// The attached side, or the headless one.
Interfaz &InterfazActual();

} // namespace modMain
