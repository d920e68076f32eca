// The engine's only way back into its caller: messages, the busy pointer, the
// repaint at the end of a run, and whether the run should stop. The core takes
// one as an argument; the run-state procedures of modMain use the attached one,
// or, with nothing attached, a headless one whose messages go to standard error.
#pragma once

#include "cuentas.h"

#include <string_view>

namespace motor {

// A faulty account as its log block reports it: the line it is on, whether it
// is the ordering party's (or creditor's) or an individual order's, and what failed.
struct CuentaAnotada
{
    unsigned long long linea = 0;
    bool ordenante = false;
    FalloCuenta fallo = FalloCuenta::DigitosCcc;
};

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
    // Told of each block written to the log, in the log's order.
    virtual void CuentaErronea(const CuentaAnotada &) { }
};

// Attaches the windows' side; nullptr detaches it. The engine does not own it.
void ConectarInterfaz(Interfaz *interfaz);

// The attached side, or the headless one.
Interfaz &InterfazActual();

} // namespace motor
