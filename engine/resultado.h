// The whole outcome of a run, as a value: what the checker found and why the
// run stopped, if it stopped before its end.
#pragma once

#include "mensajes.h"
#include "tipos.h"

#include <optional>
#include <string>
#include <string_view>

namespace motor {

struct Resultado
{
    TipoArchivo tipo = TipoArchivo::NoCSB;
    // Why the run stopped before its end; nothing when the checker read the
    // whole input and the log is in place (kept with errors, removed when clean).
    std::optional<Fallo> fallo;
    // A checker opened both files: the values below are this run's. A run that
    // stopped earlier leaves the outcome of the previous one standing.
    bool comprobado = false;
    bool hayErrores = false; // also true after a failure in the middle of the file
    unsigned long long numLinea = 0;
    unsigned long long cuentasComprobadas = 0;
    unsigned long long cuentasErroneas = 0;
    unsigned long long cuentasSinIban = 0; // given without an IBAN (XML "Othr"), not checked
    // Blocks of totals, counts, identifiers, amounts and BICs; nothing for a
    // file whose kind has no such checks (legacy CSB).
    std::optional<unsigned long long> erroresRemesa;
    std::string dcCalculado; // of the last account checked
    unsigned long long lineaXml = 0; // where an XML file stopped being valid
    std::string codificacion; // the encoding it declared, when that was not known

    bool Terminado() const { return !fallo; }
    // Read to its end without a single account to check: not a clean file.
    bool SinCuentas() const { return Terminado() && cuentasComprobadas == 0; }
    // The failure's message as the user sees it; empty when there was none.
    std::string TextoFallo() const
    {
        std::string texto(fallo ? Mensaje(*fallo) : std::string_view {});
        if (fallo == Fallo::XmlNoValido) {
            texto += " (linea " + std::to_string(lineaXml) + ")";
            if (!codificacion.empty()) {
                texto += ": codificaci\u00F3n " + codificacion + " desconocida";
            }
        }
        return texto;
    }
};

} // namespace motor
